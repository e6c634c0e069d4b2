#pragma once

// Hole geometry of the internal structure: the cross-port holes cut from one
// base shape (divided, pulled in by the web width, corners rounded), the
// polygon tools the hole makers and the pattern writers share, and the
// airfoil look-up the shapes are placed with.
//
// Every hole outline returned here runs clockwise (twice its signed area is
// <= 0), except the raw corners of a shape too degenerate to round.

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

#include "geom/upindex.h"

class ParaStruct;
struct Triang;
struct Trap;

// A web width in millimetres in plan units of the design (half span 1000);
// 0 for a design without span.
double Hole_Screen_Offset(const ParaStruct* design, int mm);
// The fraction of each edge a rounded corner replaces: 1 / rounding, taken
// as 1 for a rounding below 1.
double Hole_Corner_Factor(int rounding);

// The holes of one base triangle: its base edge p0 -> p1 cut into
// min(holeCount, 3) parts, each pulled in by half the web width on its two
// slanted edges, then rounded (rounding >= 2) or replaced by a 50-point
// circle (rounding <= 1). With `check`, rounded holes of twice-area below 10
// are dropped.
QList<QPolygonF> Create_div_Triangles(const ParaStruct* design, Triang base, bool check);
// The same holes with the check always on.
QList<QPolygonF> Create_div_Triangles_opened(const ParaStruct* design, Triang base);

// The holes of one base trapezoid (chordwise band c0 c1 c2 c3): the band
// shrunk, cut into holeCount parts along c0 -> c1, each shrunk again and
// rounded. Empty for holeCount < 1.
QList<QPolygonF> Create_div_Trapez(const ParaStruct* design, const Trap& base, bool check);

// One rounded closed hole from n = 3 or 4 corners with corner factor c. The
// corners unchanged when two consecutive ones (the closing pair aside) lie
// within 0.01 of each other; empty for another n.
QPolygonF polygon_Around(int n, const QPointF* corners, double c, bool check);

// The rounded inner corners of an open chain of n points (the ends are not
// part of the result): 3m points per corner in 2-D, m in 3-D. Empty for n < 3.
QPolygonF Around_Open_Trap(int n, int m, const QPointF* points, double c);
QList<QVector3D> Around_3D_Trap(int n, int m, const QVector3D* points, double c);

// Every segment of P moved by d along its left normal (no joints):
// 2 (n - 1) points; empty for fewer than 2.
QPolygonF Poly_Off(double d, QPolygonF P);
// An offset airfoil outline without the two crossed tails near the trailing
// edge (see holefun.cpp); at least the last point is dropped.
QPolygonF Poly_Uncross(QPolygonF P);

// Whether every point of `inner` lies inside `outer` (odd-even rule); true
// for an empty inner polygon.
bool testContain(const QPolygonF& outer, const QPolygonF& inner);

// Twice the signed area of the first n points (0 for n < 3).
double poly_area(int n, const QPolygonF& P);
// Twice the signed area of a trapezoid's corners.
double OriTrap4(const Trap& t);

// Steps of the division, open for the editors and tests.
void divide_Triang(const ParaStruct* design, const Triang& base, Triang* out);
Triang Offset_Triang(const ParaStruct* design, Triang T);
bool modifyTriangle(double d, const QPointF* corners, QPointF* out);
void divide_Trapez(const ParaStruct* design, const Trap& base, Trap* out);
Trap Offset_Trapez(const ParaStruct* design, Trap* base);
