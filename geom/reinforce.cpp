#include "geom/reinforce.h"

#include <QLineF>

QPointF fun_T(QPointF P0, QPointF P1, QPointF P2, double lambda, double mu)
{
    return mu * ((1 - lambda) * P0 + lambda * P2) + (1 - mu) * P1;
}

double f_lam(QPointF P0, QPointF P1, QPointF P2, QPointF Q)
{
    QPointF X;
    if (QLineF(P0, P2).intersects(QLineF(P1, Q), &X) == QLineF::NoIntersection)
        return 0.0;
    if (P2.x() != P0.x())
        return (X.x() - P0.x()) / (P2.x() - P0.x());
    if (P2.y() != P0.y())
        return (X.y() - P0.y()) / (P2.y() - P0.y());
    return 0.0;
}

double f_mi(QPointF P0, QPointF P1, QPointF P2, QPointF Q, double lambda)
{
    const QPointF M = (1 - lambda) * P0 + lambda * P2;
    if (M.x() != P1.x())
        return (Q.x() - P1.x()) / (M.x() - P1.x());
    if (M.y() != P1.y())
        return (Q.y() - P1.y()) / (M.y() - P1.y());
    return 1.0;
}

QPolygonF Spline3pnt(QPointF a, QPointF b, QPointF c, double n)
{
    QPolygonF out;
    if (!(n > 1))
        return out;
    const QPointF m = 2 * b - 0.5 * (a + c);
    const double s = 1.0 / (n - 1);
    // The running sum is what decides the count (see the header).
    for (double t = 0; t < 1; t += s)
        out.append((1 - t) * (1 - t) * a + 2 * t * (1 - t) * m + t * t * c);
    return out;
}
