#pragma once

// The computations behind the two editors of the line attachment points:
// the per-rib points of a line row in the plan view, the winflex shift of a
// row toward the tip, snapping a dragged point to the lower surface, the cell
// under the pointer, and the rules of the centre-airfoil row markers.
//
// Plan view: plan units, half span = 1000, y growing from the leading edge
// toward the trailing edge. Centre-airfoil drawing: 560 units per chord, an
// airfoil point (x, y) at (560 x + 40, -560 y).

#include <QPointF>
#include <QPolygonF>

class ParaStruct;

constexpr int kNoLinePoint = 999;  // line index of a row without a point on the rib

// Plan-view point of airfoil point `index` of rib `rib`: (span position,
// leading edge + chord x). False, and *out untouched, when the rib has no
// such point.
bool Line_Point_Plan(const ParaStruct* design, int rib, int index, QPointF* out);

// Winflex of line row `row` with weight `percent`: every rib j of the half
// wing starts from the row's centre index b and is shifted toward the
// trailing edge by percent/100 of f_delta_line_index(j); the value is taken
// by its absolute value, limited to 999 and then to at least the point after
// the nose. The rounded index goes to dynRow[j] (halves away from zero), the
// unrounded one to the design's resLineIndex[row][j]. Nothing happens while
// rib 0 has no airfoil or for a row outside 0..8.
void Winflex_Row(ParaStruct* design, int row, double percent, int* dynRow);

// The lower-surface index of rib `rib` whose plan-view y lies nearest to y
// (searched from the nose to 998, the lowest index of equal distances);
// 999 when the nose lies above 998.
int Snap_Line_Index(const ParaStruct* design, int rib, double y);

// The cell (firstRib + 1 .. lastRib) whose two rib span positions, truncated
// to integers, enclose x (both ends count); -1 when none does.
int Cell_At(const ParaStruct* design, double x);

// Centre-airfoil markers ------------------------------------------------------

// True when the nine row indexes rise strictly: O1 < O2 < A < ... < G.
bool testABCDE(const int* indexes);

// The rib airfoil of the centre (firstRib) in drawing units.
QPolygonF Centre_Foil_Drawing(const ParaStruct* design);

// The point on the lower surface of `foil` (drawing units) below or above p:
// (p.x, y of point i) of the first segment i, i + 1 from start + 5 to 994
// whose x range (ends truncated, both counting) holds p.x; p itself when
// none does.
QPointF pointOnDwFoil(const QPolygonF& foil, int start, QPointF p);
