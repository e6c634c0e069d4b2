#pragma once

// Carries a point of one quadrilateral to the matching point of another: the
// cross-port holes of a diagonal rib are drawn once in the model trapeze and
// placed into every attachment tab, flat and in 3-D.
//
// A quadrilateral is q0 q1 q2 q3 in order around it; its bilinear parameters
// are lambda (along q0 -> q1 and q3 -> q2) and mu (along q0 -> q3 and
// q1 -> q2): (1-l)(1-m) q0 + l(1-m) q1 + l m q2 + (1-l) m q3.

#include <QPointF>
#include <QVector3D>

// lambda and mu of P in q, found by bisection (to 1e-5) on the strips of
// constant parameter with a containment test; 0 for a point outside q.
double lam4_fun(const QPointF* q, QPointF P);
double mi4_fun(const QPointF* q, QPointF P);

// Where P lies in src: the corner it sits on (within 0.0001), else its four
// bilinear weights (all 0 outside src). Found once, it places P into any
// number of destinations: the holes of the one model go into every tab.
struct TrapWeights {
    int corner = -1;
    double w[4] = {0, 0, 0, 0};
};
TrapWeights Trap_Weights(QPointF P, const QPointF* src);
QPointF mapTrapPnt(const TrapWeights& at, const QPointF* dst);
QVector3D mapTrap3DPnt(const TrapWeights& at, const QVector3D* dst);

// P mapped from src to dst. A point within 0.0001 of a source corner lands
// on the matching destination corner; a point outside src on dst[0].
QPointF mapTrapPnt(QPointF P, const QPointF* src, const QPointF* dst);
// The same into a 3-D destination, in single precision.
QVector3D mapTrap3DPnt(QPointF P, const QPointF* src, const QVector3D* dst);
