#include "structure/structfun.h"

#include "core/parastruct.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>

namespace {

// The circle is laid out with this value of pi, so that the stored hole
// shapes stay what they have always been.
constexpr double kCirclePi = 3.141592653;

template <class P>
P quadraticPoint(const P& a, const P& b, const P& c, double t)
{
    const double u = 1 - t;
    return (a * u + b * t) * u + (b * u + c * t) * t;
}

} // namespace

QPolygonF make_bezier_3(int m, const QPointF* P)
{
    QPolygonF out;
    if (!P || m < 1)
        return out;
    const double h = 0.999 / (3 * m - 1);
    out.reserve(3 * m);
    // t = k h rather than a running sum: the same samples without the drift.
    for (int k = 0; k * h <= 1.0; ++k)
        out.append(quadraticPoint(P[0], P[1], P[2], k * h));
    return out;
}

QList<QVector3D> make_3Dbezier_3(int m, const QVector3D* P)
{
    QList<QVector3D> out;
    if (!P || m < 1)
        return out;
    if (m == 1) {
        out.append(P[0]);
        return out;
    }
    const double h = 0.999 / (m - 1);
    out.reserve(m);
    for (int k = 0; k * h <= 1.0; ++k) {
        const float t = float(k * h);
        const float u = 1.0f - t;
        out.append((P[0] * u + P[1] * t) * u + (P[1] * u + P[2] * t) * t);
    }
    return out;
}

QPolygonF create_Ellipse_Tri(int n, const Triang& tri)
{
    QPolygonF out;
    if (n < 1)
        return out;
    const double o = tri.offset;
    const QPointF c = Center3pnt(tri.corner[0], tri.corner[1], tri.corner[2]) - QPointF(0, 0.5 * o);
    const double nearest = std::min({Dist2(c, tri.corner[0]), Dist2(c, tri.corner[1]), Dist2(c, tri.corner[2])});
    // An offset larger than the triangle allows leaves no hole rather than a
    // circle turned inside out (a negative radius draws a full circle again).
    const double r = std::max(0.0, 0.45 * nearest - o);
    const double step = n > 1 ? 2 * kCirclePi / (n - 1) : 0.0;
    out.reserve(n);
    for (int k = 0; k < n; ++k)
        out.append(QPointF(c.x() + r * std::cos(k * step), c.y() + r * std::sin(k * step)));
    return out;
}

int middleTopPoint(const QPolygonF& foil, int n, int a, int b)
{
    const int size = int(foil.size());
    if (a < 0 || b < 0 || a >= size || b >= size)
        return 0;
    const double xm = 0.5 * (foil[a].x() + foil[b].x());
    int lo = 10;
    int hi = n - 5;
    int result = 0;
    for (int pass = 0; pass < 31; ++pass) {
        if (hi - lo < 3)
            return result;
        const int m = (lo + hi) / 2;
        if (m < 0 || m >= size)
            return result;
        result = m;
        if (foil[m].x() >= xm)
            lo = m;
        else
            hi = m;
        if (std::fabs(foil[m].x() - xm) < 1e-6)
            return m;
    }
    return result;
}

int getLineIndex(const ParaStruct* design, int k, int rib)
{
    if (!design || k < 1 || rib < 0 || rib >= kRibSlots)
        return -1;
    for (int row = 0; row < kLineRows; ++row)
        if (design->lineIndex[row][rib] == k)
            return row;
    return -1;
}

int f_LineRibID(int row, int rib)
{
    return row * kRibSlots + rib;
}

int f_LineID(int id)
{
    return id < 0 ? -1 : id / kRibSlots;
}

int f_RibID(int id)
{
    return id < 0 ? -1 : id % kRibSlots;
}
