#pragma once

// Small point and polygon functions shared by the pattern writers and the
// two pattern views: the y flip of the sheets, line intersection, doubled
// area, fit scale of a view, label anchors, arc-length resampling with its
// interval look-up, fold-back repair and the nearest outline vertex. No
// state; coordinates are plan units unless a caller says otherwise.

#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QRectF>

// The y flip of the sheets (turn_Y, turn_F_Y_point) lives with the rib
// unfolding, which the flat-shape drawing uses as well.
#include "geom/patternfun.h"

// Intersection of the infinite lines a1 a2 and b1 b2; a1 when they are
// parallel.
QPointF Lines_Intesection(QPointF a1, QPointF a2, QPointF b1, QPointF b2);

// |sum of x_k y_(k+1) - x_(k+1) y_k| over k = 0 .. n - 2, in single precision:
// twice the enclosed area of a closed outline (last point on the first); the
// pair from the last point back to the first is not counted. 0 for fewer than
// two points.
double Poly_B_Square(const QPolygonF& poly);

// Scale at which the drawing fits the view (integer edges of the view, so
// its width - 1 and height - 1), times 0.9; a fit at or below `floor` is
// replaced by 1.2 x floor first.
double myScale(double floor, const QRect* view, const QRectF* drawing);

// Label anchors of the mini-rib sheets: the point with the smallest x, and
// the point with the largest x moved 10 units to the left. A polygon of one
// point gives that point; an empty one gives (0, 0).
QPointF Txt_minx_center(const QPolygonF& poly);
QPointF Txt_maxx_center(const QPolygonF& poly);

// n points equally spaced by arc length along the polyline, from its first
// point to (up to rounding) its last. Just the first point for n <= 1; empty
// for an empty polyline. A stretch of zero length contributes its start point.
QPolygonF Natur_Param(int n, const QPolygonF* poly);

// Interval index of x in an ascending table of n >= 2 values: the first i in
// 1 .. n - 2 with t[i] <= x < t[i + 1]; otherwise n - 1 when x > t[n - 2],
// else 0.
int f_indx(double x, const double* table, int n);

// Removes local fold-backs: for i = 3 .. n - 4, where point i + 1 lies
// farther from point i than point i + 2 does, points i + 1 and i + 2 move to
// the midpoints (i, i + 1) and (i + 2, i + 3). Works in place and returns a
// copy of the result.
QPolygonF repair_Poly(QPolygonF* poly);

// Index of the vertex nearest to the point (of equally near vertices the
// last); -1 for an empty polygon.
int Nearest_poly_pnt_index(const QPolygonF* polygon, QPointF point);
