#include "structure/trapmap.h"

#include "core/transf.h"

#include <QPolygonF>

#include <cmath>

namespace {

// Bisection of one parameter: the strip between parameters lo and m of the
// edges a0 -> a1 and b0 -> b1 is tested for P, halving until the interval is
// shorter than 1e-5. A point outside the whole quadrilateral (the first
// strip) gives 0; otherwise the middle of the last interval, which keeps the
// parameter within 1e-5 (the lower end of the last strip tested may lag by
// up to twice that).
double bisect(QPointF a0, QPointF a1, QPointF b0, QPointF b1, QPointF P)
{
    double lo = 0, hi = 1, m = 1;
    bool first = true;
    QPolygonF strip(5); // one allocation for all passes
    do {
        strip[0] = strip[4] = a0 + lo * (a1 - a0);
        strip[1] = a0 + m * (a1 - a0);
        strip[2] = b0 + m * (b1 - b0);
        strip[3] = b0 + lo * (b1 - b0);
        const bool in = strip.containsPoint(P, Qt::OddEvenFill);
        if (first && !in)
            return 0.0;
        first = false;
        if (in)
            hi = m;
        else
            lo = m;
        m = 0.5 * (lo + hi);
    } while (std::fabs(hi - lo) >= 1e-5);
    return m;
}

void weights(QPointF P, const QPointF* src, double w[4])
{
    const double l = lam4_fun(src, P);
    const double m = mi4_fun(src, P);
    w[0] = (1 - l) * (1 - m);
    w[1] = l * (1 - m);
    w[2] = l * m;
    w[3] = (1 - l) * m;
}

int snappedCorner(QPointF P, const QPointF* src)
{
    for (int k = 0; k < 4; ++k)
        if (Dist2(P, src[k]) < 0.0001)
            return k;
    return -1;
}

} // namespace

double lam4_fun(const QPointF* q, QPointF P)
{
    return bisect(q[0], q[1], q[3], q[2], P);
}

double mi4_fun(const QPointF* q, QPointF P)
{
    return bisect(q[0], q[3], q[1], q[2], P);
}

TrapWeights Trap_Weights(QPointF P, const QPointF* src)
{
    TrapWeights at;
    at.corner = snappedCorner(P, src);
    if (at.corner < 0)
        weights(P, src, at.w);
    return at;
}

QPointF mapTrapPnt(const TrapWeights& at, const QPointF* dst)
{
    if (at.corner >= 0)
        return dst[at.corner];
    const double* w = at.w;
    return w[0] * dst[0] + w[1] * dst[1] + w[2] * dst[2] + w[3] * dst[3];
}

QVector3D mapTrap3DPnt(const TrapWeights& at, const QVector3D* dst)
{
    if (at.corner >= 0)
        return dst[at.corner];
    float c[3] = {0, 0, 0};
    for (int axis = 0; axis < 3; ++axis)
        for (int i = 0; i < 4; ++i)
            c[axis] += float(at.w[i] * dst[i][axis]);
    return QVector3D(c[0], c[1], c[2]);
}

QPointF mapTrapPnt(QPointF P, const QPointF* src, const QPointF* dst)
{
    return mapTrapPnt(Trap_Weights(P, src), dst);
}

QVector3D mapTrap3DPnt(QPointF P, const QPointF* src, const QVector3D* dst)
{
    return mapTrap3DPnt(Trap_Weights(P, src), dst);
}
