#pragma once

// Control points of the nose reinforcements (mylar and rods), kept as a pair
// (lambda, mu) relative to three base points of the rib outline so that they
// follow the rib, and the three-point curve that smooths them.

#include <QPointF>
#include <QPolygonF>

// mu ((1 - lambda) P0 + lambda P2) + (1 - mu) P1: lambda slides along the
// chord P0 -> P2, mu moves from P1 (0) to that chord point (1) and beyond.
QPointF fun_T(QPointF P0, QPointF P1, QPointF P2, double lambda, double mu);

// The inverse pair of fun_T: lambda of the point where the line P0-P2 meets
// the line P1-Q (0 for parallel lines), then mu of Q for that lambda. Each
// is taken from the x differences, from the y differences only when those are
// exactly 0; 0 (lambda) and 1 (mu) when both are.
double f_lam(QPointF P0, QPointF P1, QPointF P2, QPointF Q);
double f_mi(QPointF P0, QPointF P1, QPointF P2, QPointF Q, double lambda);

// Quadratic Bezier from a to c through b (at t = 0.5), sampled from t = 0 in
// steps of 1 / (n - 1) added up while t stays below 1: n = 3 gives a and b
// only; n = 11 ends next to c.
QPolygonF Spline3pnt(QPointF a, QPointF b, QPointF c, double n);
