#pragma once

// The default design of the main program: a mid-size paraglider built from
// generated airfoils, recomputed and checked, ready to be written as
// "template.ini" (the start-up design and the seed of every new project).

#include <QList>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <memory>

class ParaStruct;
struct Spline;

// The default design with the given number of cells (34 for the shipped
// design), fully recomputed, its design lines (Default_Design_Lines) in
// designSplines.
std::unique_ptr<ParaStruct> Build_Default_Design(int cells = 34);

// The design lines of the default design (they travel beside the design, in
// "template.dsg"): a band across the upper surface and an accent behind it,
// laid on the recomputed ribs of `design`, curves computed.
QList<Spline> Default_Design_Lines(const ParaStruct& design);

// Gives the design its suspension (four line groups on rows A..D, the brakes
// and the risers), placed and loaded; the design must be recomputed.
void Build_Default_Lines(ParaStruct* design);

// What is wrong with the suspension of a design meant to be shipped: lines
// without ends or of no realistic length, loads that are not numbers or do
// not add up to the flying weight, free nodes the editors cannot tell
// apart, lines the bridle manager's OK would move, ribs marked loaded that
// carry no line or carrying lines while marked intermediate. Empty when all
// is well.
QStringList Check_Default_Lines(const ParaStruct& design);

// What is wrong with a design that is meant to be shipped, of any cell
// count: indexes outside the airfoil or the rib tables, values that are not
// numbers, a recompute that changes the design again, settings an editor
// would show other than stored, mini-ribs, straps or design lines missing
// (the design lines are those of designSplines; a wing too narrow for the
// band has none), ribs marked loaded other than the lines hang from them,
// diagonals that are not the arms of a V under a loaded rib, and the
// suspension's problems (Check_Default_Lines). Empty when all is well.
QStringList Check_Default_Design(const ParaStruct& design);

// The figures of the shipped mid-size wing (34 cells, and its 35-cell
// neighbour) outside the ranges of a realistic one: flat area, aspect
// ratios, flattening, total line length, and the billow editor's inflated
// nose folding over. The same outline cut into 2 or 120 cells is no such
// wing (coarse outline, wide billowed cells, lines by the hundred): these
// are the shipped design's promise, not rules for every count. Empty when
// all is within.
QStringList Check_Default_Figures(const ParaStruct& design);

// The cell count of the shipped design.
constexpr int kShippedCells = 34;

// The design's figures, one per line, as the generator prints them.
QString Default_Design_Figures(const ParaStruct& design);

// Standard airfoil of 1000 points by formula: a 4-digit-series thickness law
// of `thickness` (fraction of chord) over a mean line of height `camber` at
// `camberPos`; point 0 the upper trailing edge (1, 0), the nose (0, 0) at
// point 500, point 999 the lower trailing edge (1, 0); the points crowd
// towards both edges about as much as in an imported airfoil.
QPolygonF Default_Design_Airfoil(double thickness, double camber, double camberPos);
