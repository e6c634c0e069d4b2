#pragma once

// Straps: strips of cloth sewn across a cell on the lower surface at a line
// attachment, from rib i to rib i + 1 along one line row, as wide as the
// row's strap width (fixed, or scaled by each rib's chord against the
// first rib's), centred on the row's attachment point on each rib. The strap
// list in 3-D (the 3-D view draws it too), the flat strap, its seam
// allowance, and the strap sheet ("straps.dxf"), one strap per line row and
// rib on a grid, each on the layer "Strap.<rib>.<row letter>".

#include <QList>
#include <QPolygonF>
#include <QVector3D>

class ParaStruct;
class PieceSheet;
struct PatternSheet;

// One strap in 3-D, plan units; a plain value record.
struct Strap3D {
    int ribA = 0;        // rib i, the side toward the wing centre
    int ribB = 0;        // rib i + 1
    int row = 0;         // line row 2 .. 8 ("A" .. "G")
    double widthA = 0.0; // strap width at rib i, metres
    double widthB = 0.0; // at rib i + 1
    QVector3D attachA;   // the row's attachment point on rib i
    QVector3D attachB;   // on rib i + 1
    int indexA[3]{};     // point index of each end point; -1 for the two edge points
    int indexB[3]{};
    // Each end: edge point toward the nose, attachment point, edge point
    // toward the trailing edge. The strap of a centre cell runs from the
    // mirror image of rib 1 (sideA) to rib 1 (sideB).
    QVector3D sideA[3];
    QVector3D sideB[3];
};

// Points 0 .. 998 of the rib's 3-D curve (the closing point 999 left out).
QList<QVector3D> fill_3DFoil(const ParaStruct* design, int rib);

// Every marked strap of the strap grid (line rows 2 .. 8, ribs 0 .. lastRib -
// 1), row by row, within a row rib by rib.
QList<Strap3D> Create_Strap_list(const ParaStruct* design);

// One end of a strap around point `index` of `curve` (the curve of `rib`):
// mode 0 writes sideA, mode 1 sideB, mode 2 sideB and its mirror image into
// sideA; any other mode nothing.
void walk_Strap_over_line(const ParaStruct* design, int rib, int index, double width, const QList<QVector3D>& curve,
                          Strap3D* strap, int mode);

// The three points of one strap end into out[0..2] and their indexes into
// indexes[0..2]: the points on either side of `point` half the width (metres)
// away from it along the curve, on the lower side (from the first rib's nose
// on) toward the nose and toward the trailing edge. Side 2 mirrors them in y.
void FindStrapSegment(const ParaStruct* design, double width, int rib, int index, QVector3D point,
                      const QList<QVector3D>& curve, QVector3D* out, int* indexes, int side);

// A strap laid flat: its end on rib i from (0, 0) up the y axis, its
// nose-side edge along the x axis to the end on rib i + 1.
// The sheet takes the four by name (strapOutline, strapSideA, strapSideB,
// strapAttach), in this order.
struct FlatStrap {
    QPolygonF outline; // closed: a0, a1, a2, b2, b1, b0, a0
    QPolygonF sideA;   // a0, a1, a2
    QPolygonF sideB;   // b2, b1, b0
    QPolygonF attach;  // a1, b1
};
FlatStrap Unfold_Strap(const Strap3D& strap);

// The four corners of the cut line: the two ends moved out by the allowance,
// the two long edges only extended to meet them.
QPolygonF Straps_ubermuss(double allowance, const QPolygonF& sideA, const QPolygonF& sideB);

// The strap sheet of a current design.
PieceSheet Strap_Sheet(const PatternSheet& sheet);
