#pragma once

// The plane view of the diagonal shapes: rib 1's airfoil at the view's scale
// with the four shapes of the diagonals, each joining two lower points around
// a line attachment (rows A .. D) to two upper points. The user moves the
// upper points along the upper surface; the indexes are the design's
// diagRowIndexA (upper) and diagRowIndexB (lower), two per shape.

#include <QPointF>
#include <QPolygonF>

class ParaStruct;

constexpr int kPlaneScale = 921;   // drawing units per chord
constexpr int kPlaneHeight = 768;

// Rib 1's airfoil as (S x, -S y): the upper surface at negative y. Empty
// without a design.
QPolygonF Plane_Work_Airfoil(const ParaStruct* design);

// The indexes the view starts from: the start and end indexes renewed, the
// upper indexes held within them (10 .. nose - 10 on rib 1) and the lower
// ones within nose + 10 .. 990. Without an airfoil on rib 1 they are copied
// unchecked.
void Plane_Read_Indexes(ParaStruct* design, int* lower, int* upper);

// The index an upper point dragged to p lands on: the airfoil vertex nearest
// to the upper surface below (or above) p, found on the segment that holds
// p.x between point 5 and nose - 5; the vertex nearest p itself when none
// does.
int Plane_Move_Upper(const ParaStruct* design, const QPolygonF& foil, QPointF p);

// The lower indexes from the bottom width: per bottom row j the attachment
// of row A + j on rib 1 less and plus the row's band half-width there.
void Plane_Bottom_Width(const ParaStruct* design, int* lower);
