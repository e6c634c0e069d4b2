#pragma once

// The panel pieces of one cell in the order the panel sheet numbers them:
// from the upper trailing edge over the nose to the lower trailing edge.

#include "patterns/pieces.h"

#include <QList>
#include <QPolygon>
#include <QStringList>

#include "core/designspline.h"

class ParaStruct;

// The cell's panels: its strip developed and divided into its start pieces,
// these cut along every design-line segment of the cell in turn, keyed,
// cleaned of pieces without area and ordered. `lines` are the design lines
// with fresh UV curves (RecreateSplineList); none (nullptr or empty) gives
// the start pieces. A line crossing the cell is cut straight across it with
// lineSegments set, else along its curve. With slopeWarnings given, the
// slope check of every segment adds its warnings there. Replaces *pieces;
// the developed strip, with the cell's mid-line and label line, goes to
// *strip when given.
void Longpattern_Manager(const ParaStruct& design, int cell, const QList<Spline>* lines, bool lineSegments,
                         QList<WholePoly>* pieces, QStringList* slopeWarnings = nullptr, UnFolder* strip = nullptr);

// The panels of cells 0 .. count - 1, each as Longpattern_Manager makes
// it, with the warnings of the slope check of each cell when `slopeCheck`
// is set. The cells are worked out side by side on the machine's
// processors; each comes out in its place.
struct CellPanels {
    QList<WholePoly> pieces;
    QStringList slopeWarnings;
};
QList<CellPanels> Longpattern_Cells(const ParaStruct& design, int count, const QList<Spline>* lines, bool lineSegments,
                                    bool slopeCheck);

// Adds a warning where a design-line segment of more than 30 points meets a
// rib at more than 85 degrees from the span-wise direction, measured over
// its first and its last 20 UV steps. Only with somewhere to put warnings
// and outside the centre cell; the cut is made all the same.
void check_segments_slope(const ParaStruct& design, int cell, const QPolygon& uvSegment, QStringList* warnings);

// Key of every piece with an outline: 500 - the mean V (airfoil index) of its
// outline points (duplicates included), rounded half away from zero; the
// greater key lies nearer the upper trailing edge.
void Set_Order_Keys(QList<WholePoly>* pieces);

// Drops the pieces without area, keeping the order of the others.
void Clean_List(QList<WholePoly>* pieces);

// The sort order: greater key first, that is from the upper trailing edge
// over the nose to the lower trailing edge.
bool toAscending(const WholePoly& a, const WholePoly& b);

// Keys, drops the pieces without area and sorts the rest. Pieces of equal
// key keep their order.
void Order_Pieces(QList<WholePoly>* pieces);
