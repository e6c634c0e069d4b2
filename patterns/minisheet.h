#pragma once

// Mini-ribs: the partial ribs sewn halfway between two ribs, a front one
// over the nose region and a rear one over the trailing-edge region with a
// free cavity edge across the cell. The front and the rear mini-ribs of the
// half wing are laid out on one sheet each ("frontmini.dxf",
// "rearmini.dxf") with their cut lines, seam lines (with wide spacing),
// control marks, the vent holes of their hole group that fall inside them
// and their labels ("frontf.<i>.<i+1>", "Rear.<i>.<i+1>"). The panel sheet
// draws on every panel piece where the mini-ribs of its cell are sewn on.

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QString>

class ParaStruct;
class PieceSheet;
struct HoleLayout;
struct MiniRibFlat;
struct PatternSheet;

// The flat outline and control marks of the cell's front (rear) mini-rib,
// as the airfoil library unfolds them. Nothing while no design is loaded
// (the output keeps what it held); false then.
bool Setup_FrontFoilPattern(const ParaStruct& design, int cell, MiniRibFlat* front);
bool Setup_RearFoilPattern(const ParaStruct& design, int cell, MiniRibFlat* rear);

// The two sheets of a current design; empty while no design is loaded.
// Cells 1 .. lastRib - 1 may carry a front mini-rib, cells 1 .. lastRib - 2 a
// rear one. A mini-rib that cannot be built is left out, the others are
// drawn, and the sheet's notes say so.
PieceSheet FrontMiniRib_Sheet(const PatternSheet& sheet);
PieceSheet RearMiniRib_Sheet(const PatternSheet& sheet);

// The vent holes of the front (hole group 2) or rear (group 3) mini-rib: laid
// out on the flat outline of the cell's left rib, moved onto the mini-rib at
// its nose (front) or its trailing edge (rear), kept where they lie wholly
// inside it and drawn moved by (x, y). The layout is worked out in *layout
// (hole layout of the sheet, crossports.h). The holes drawn, as drawn.
QList<QPolygonF> Acad_Front_FoilHoles(PieceSheet* out, const ParaStruct& design, HoleLayout* layout,
                                      const QPolygonF& ribOutline, const QPolygonF& frontFoil, int x, int y,
                                      const QString& label);
QList<QPolygonF> Acad_Rear_FoilHoles(PieceSheet* out, const ParaStruct& design, HoleLayout* layout,
                                     const QPolygonF& ribOutline, const QPolygonF& rearFoil, int x, int y,
                                     const QString& label);

// x of the leading edge (the point of smallest x) of mini less that of rib.
double deltaNose(const QPolygonF* rib, const QPolygonF* mini);
// x of the trailing edge (the first point) of rib less that of mini (the
// other order than deltaNose).
double deltaTail(const QPolygonF& rib, const QPolygonF& mini);
