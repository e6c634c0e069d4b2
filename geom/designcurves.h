#pragma once

// The curves of a design line and their place in the UV space of the
// surface, with the geometric services of the design-line editor.
//
// A design line (core/designspline.h) is edited as a few control points in
// the design plane: a flat picture of one surface side unrolled from the
// trailing edge, in plan units. x is the span-wise position (rib k on
// x = ribSpanPos[k]); y starts at the rib's trailing edge (trailingEdgeX[k])
// and decreases by the length along the surface: from the upper trailing
// edge on the top side, from the lower trailing edge on the bottom side.
// The design area of a side reaches from the trailing edge to the side's
// edge row (O1 on top, O2 below).
//
// UV space is integer: U runs 256 per cell from rib 0, V is the airfoil
// point index (0 the upper trailing edge, 999 the lower): the point at the
// same length along the surface as the design-plane point, found on each rib
// of the cell and taken across it as U is (the airfoil points are not evenly
// spaced, so V is not in proportion to that length). The panel cutter and
// the textured preview work in it, so they place a line where it is drawn.
//
// A service of the graphic design that earlier parts call too (the mylar
// edge of the rib reinforcements is a Spline): free functions, no state.

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>

#include "core/designspline.h"

class ParaStruct;

// Parameter step of the curve sampling: 2 pi divided by the control polygon's
// length in millimetres, so about one curve point per 2 pi mm; 1/256 for a
// polygon of no length. Never below 1/65536, however long the polygon.
double dt_SplineT(const ParaStruct* design, const Spline* line);

// Clamped uniform knots of a cubic B-spline of m control points: knotCount
// m + 4, knots 0, 0, 0, 0, 1/(m - 3), .., (m - 4)/(m - 3), 1, 1, 1, 1. For
// m < 4 (or beyond the knot table) knotCount 0, the knots left as they are.
void SetKnotVector(Spline* line, int m);

// Cox-de Boor basis function i of degree p at t over the line's knots
// (half-open spans; a fraction 0/0 counts 1, x/0 counts 0).
double N_B(const Spline* line, int i, int p, double t);

// Point of the cubic B-spline at t; from t = 1 on its last control point.
QPointF B_spline_value(const Spline* line, double t);

// The three curve kinds: a straight line of two points, the quadratic arc
// through three points (passing the middle one at t = 0.5), the cubic
// B-spline through four or more.
void Calc1Spline(const ParaStruct* design, Spline* line);
void Calc2Spline(const ParaStruct* design, Spline* line);
void Calc3Spline(const ParaStruct* design, Spline* line);

// Recomputes the line's B-spline points, knots, curve and UV curve from its
// control points and side. A line of fewer than 2 control points, or of more
// than the record holds with its B-spline points (kMaxSplineControlPoints),
// is left unchanged. Works on any Spline, whatever its side.
void Calculate_Spline_Poly(const ParaStruct* design, Spline* line);

// Replaces uvCurve by the UV image of curve: points without one (U or V
// below 0) are left out.
void CalculateUVSpline(const ParaStruct* design, Spline* line);

// The cell whose span holds x: rib k <= x < rib k + 1. Left of rib 0 cell 0;
// on or beyond the tip rib the last cell, so that a point on the tip rib
// maps onto the outer edge of the last cell.
int Design_Cell_Of(const ParaStruct* design, double x);

// UV of one design-plane point of side `side` mapped with cell k; (-1, -1)
// when it has none (k < 0, U < 0, or a design without area there).
QPoint SplineSidePntToUV(const ParaStruct* design, int side, int k, QPointF p);

// U of the point's x (rounded half away from zero).
int U_X_fun(const ParaStruct* design, QPointF p);

// Height of the design area of the side at rib k: the arc length from the
// trailing edge to the edge row; 1 for any other side. Ribs short of
// firstRib (the symmetry plane of a centre cell) take firstRib's height.
double f_glob(const ParaStruct* design, int side, int k);

// out := a copy of the design's lines, every line recomputed; lines of 3 or
// more control points first get their ends moved onto the nearest rib.
void RecreateSplineList(const ParaStruct* design, QList<Spline>* out);

// p with x moved onto the nearer of the two ribs around it (the outer one
// on a tie); left of rib 0 onto rib 0, right of the tip rib onto the tip rib.
QPointF Adjust_to_Near_Rib(const ParaStruct* design, QPointF p);

// Point of the billow line at rib k: where airfoil index `index` of the rib
// lies in the design plane of the top side. (0, 0) for an index outside
// 250 .. 750.
QPointF getBillowPoint(const ParaStruct* design, int k, int index);

// Snap markers of a side: the ends of its lines of 3 or more points, the
// billow line's points (top side, billow line on), then one unit inside the
// area above every rib's trailing edge.
QPolygonF fill_snap_points(const ParaStruct* design, const QList<Spline>& list, int side);

// The first line end (first, then last control point of each line in list
// order, either side) at a distance d from p with 0 < d < 20; (0, 0) when
// none is in reach.
QPointF Find_Snap_Point(const QList<Spline>& list, QPointF p);

// Index of the line of the side whose curve passes nearest (by vertex) to
// pos - offset, when nearer than 10; -1 otherwise.
int Select_Spline(const QList<Spline>& list, int side, QPoint pos, QPointF offset);

// Index of the first control point within 8 of pos, the points drawn at
// point + offset; -1 when none.
int SelectPoint(const Spline& line, QPoint pos, QPointF offset);

// Smallest distance from p to a vertex; 1e18 for an empty polygon.
double Dist_Spline_Pnt(const QPolygonF* poly, QPointF p);

// Whether the polygon holds p by the winding rule or by the odd-even rule.
bool is_InRegionPoly(const QPolygonF& poly, QPointF p);

// Whether the editor may add a control point to the line: at most
// kMaxSplineControlPoints fit.
bool Spline_Can_Take_Point(const Spline& line);
