#pragma once

// Small curve and index helpers shared by the hole geometry and the editors
// of the internal structure. No state.

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

class ParaStruct;
struct Triang;

// Quadratic Bezier of P[0..2] sampled at t = k h, h = 0.999 / (3m - 1), while
// t <= 1: 3m points, the last at t = 0.999 (just short of P[2]). Empty for m < 1.
QPolygonF make_bezier_3(int m, const QPointF* P);

// The same curve in 3-D with h = 0.999 / (m - 1): m points, the last at
// t = 0.999, single-precision coordinates. P[0] alone for m = 1.
QList<QVector3D> make_3Dbezier_3(int m, const QVector3D* P);

// The round hole of a triangular cross-port shape: n points on a circle about
// the centroid moved by -offset/2 in y, radius 0.45 x the shortest distance to
// a corner less the offset (never below 0); the first and last point
// coincide. Empty for n < 1.
QPolygonF create_Ellipse_Tri(int n, const Triang& tri);

// Index of the upper-surface point of `foil` (searched between 10 and n - 5,
// n the nose index given) whose x is nearest the mean x of points a and b.
// 0 when a or b is not a point of the foil or the range is too short.
int middleTopPoint(const QPolygonF& foil, int n, int a, int b);

// The lowest line row 0..8 whose attachment index on the rib is k; -1 when
// none is, for k < 1 and for a rib outside the tables.
int getLineIndex(const ParaStruct* design, int k, int rib);

// One number for a (line row, rib) cell and back; -1 for a negative id.
int f_LineRibID(int row, int rib);
int f_LineID(int id);
int f_RibID(int id);
