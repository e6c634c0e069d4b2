#pragma once

// Curves of the design lines: the control points of a line (Spline) turned
// into its B-spline, the curve sampled in the design plane and the same
// curve in the integer UV space of its surface side. Works on any Spline,
// whatever its side: the mylar edge of the rib reinforcements is computed
// the same way.
//
// The design plane: x is the span-wise position (rib k at ribSpanPos[k]), y
// the chord-wise position, the trailing edge of rib k at trailingEdgeX[k]
// less the length along the surface. UV: U runs 256 per cell from rib 0, V
// is the airfoil point index (0 upper trailing edge, 999 lower one), reached
// linearly in the length along the surface between the trailing edge and the
// edge row of the side (row O1 on top, O2 below).

#include <QPoint>
#include <QPointF>

#include "core/designspline.h"

class ParaStruct;

// Parameter step of the sampling: 2 pi over the length of the control
// polygon in millimetres, about one curve point per 2 pi mm; 1/256 for a
// polygon of no length.
double dt_SplineT(const ParaStruct* design, const Spline* line);

// Clamped uniform knots of a cubic B-spline of m control points:
// knotCount := m + 4, knots 0, 0, 0, 0, 1/(m - 3), .., (m - 4)/(m - 3), 1,
// 1, 1, 1. Fewer than 4 points: knotCount := 0, the knots stay.
void SetKnotVector(Spline* line, int m);

// Cox-de Boor basis function N(i, p) at t over the line's knots; a fraction
// with a zero denominator counts 1 over a zero numerator, else 0.
double N_B(const Spline* line, int i, int p, double t);

// Point of the cubic B-spline at t; the last B-spline point at t = 1.
QPointF B_spline_value(const Spline* line, double t);

// The three curve kinds: a straight line (2 points), a quadratic curve
// through the middle point (3 points), the interpolating cubic B-spline
// (4 points and more).
void Calc1Spline(const ParaStruct* design, Spline* line);
void Calc2Spline(const ParaStruct* design, Spline* line);
void Calc3Spline(const ParaStruct* design, Spline* line);

// Recomputes the line's B-spline points, knots, curve and UV curve from its
// control points. A line of fewer than 2 points is left as it is, and so is
// one with more points than its B-spline table holds (kSplinePoints - 2).
void Calculate_Spline_Poly(ParaStruct* design, Spline* line);

// uvCurve := the UV image of curve; points without one are left out.
void CalculateUVSpline(ParaStruct* design, Spline* line);

// UV of one design-plane point of cell k on side s; (-1, -1) when it has
// none (no cell, a point left of rib 0, a cell of no width or height).
QPoint SplineSidePntToUV(const ParaStruct* design, int side, int k, QPointF p);

// U of the point's span-wise position: 256 per cell from rib 0, rounded half
// away from zero; -1 where there is none.
int U_X_fun(const ParaStruct* design, QPointF p);

// Height of the design area of side s at rib k, along the surface: from the
// trailing edge to row O1 (top, 0) or O2 (bottom, 1); 1 for another side.
double f_glob(const ParaStruct* design, int side, int k);

// The cell whose span-wise interval holds x: the first k in 0 .. lastRib - 1
// with ribSpanPos[k] <= x < ribSpanPos[k + 1]; the last cell for x on or
// beyond the tip rib, 0 for x left of rib 0.
int Spline_Cell_Of(const ParaStruct* design, double x);
