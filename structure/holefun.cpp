#include "structure/holefun.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/structfun.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTriangleParts = 3;    // a triangle is never cut into more holes
constexpr int kCirclePoints = 50;    // points of a round hole
constexpr double kMinHoleArea = 10;  // twice-area below which a checked hole is dropped
// A trapezoid part shrunk by half its length or more from each end turns
// over and grows again with the web width; the shrink stops short of that.
constexpr double kMaxTrapShrink = 0.49;
// The manager offers up to 20 bands; a count read from a damaged file is
// held at a number that still makes sense.
constexpr int kMaxTrapParts = 50;

QPointF lerp(const QPointF& a, const QPointF& b, double t)
{
    return a + t * (b - a);
}

// The corner of two lines, only where it lies within both segments.
bool boundedCorner(const QLineF& a, const QLineF& b, QPointF* out)
{
    QPointF x;
    if (a.intersects(b, &x) != QLineF::BoundedIntersection)
        return false;
    *out = x;
    return true;
}

// A hole comes out clockwise.
QPolygonF clockwise(QPolygonF hole)
{
    if (poly_area(int(hole.size()), hole) > 0)
        std::reverse(hole.begin(), hole.end());
    return hole;
}

void refreshTriangle(const ParaStruct* design, Triang* t)
{
    t->offset = Hole_Screen_Offset(design, t->offsetMm);
    t->cornerStep = Hole_Corner_Factor(t->cornerCount);
}

QList<QPolygonF> triangleHoles(const ParaStruct* design, const Triang& base, bool check)
{
    QList<QPolygonF> holes;
    Triang parts[kTriangleParts];
    divide_Triang(design, base, parts);
    const int m = std::min(base.holeCount, kTriangleParts);
    for (int j = 0; j < m; ++j) {
        Triang part = parts[j];
        part.holeCount = base.holeCount;
        part.offsetMm = base.offsetMm;
        part.cornerCount = base.cornerCount;
        refreshTriangle(design, &part);
        QPolygonF hole;
        if (part.cornerCount <= 1)
            hole = clockwise(create_Ellipse_Tri(kCirclePoints, part));
        else
            hole = polygon_Around(3, part.corner, Hole_Corner_Factor(part.cornerCount), check);
        if (!hole.isEmpty())
            holes.append(hole);
    }
    return holes;
}

} // namespace

double Hole_Screen_Offset(const ParaStruct* design, int mm)
{
    if (!design || !(design->span > 0))
        return 0.0;
    return design->ToScreen(mm * 0.001);
}

double Hole_Corner_Factor(int rounding)
{
    return 1.0 / std::max(rounding, 1);
}

double poly_area(int n, const QPolygonF& P)
{
    n = std::min(n, int(P.size()));
    if (n < 3)
        return 0.0;
    double a = 0;
    for (int i = 1; i < n - 1; ++i)
        a += Otriangle(P[0], P[i], P[i + 1]);
    return a;
}

double OriTrap4(const Trap& t)
{
    return Otriangle(t.corner[0], t.corner[1], t.corner[2]) + Otriangle(t.corner[2], t.corner[3], t.corner[0]);
}

bool testContain(const QPolygonF& outer, const QPolygonF& inner)
{
    for (const QPointF& p : inner)
        if (!outer.containsPoint(p, Qt::OddEvenFill))
            return false;
    return true;
}

QPolygonF polygon_Around(int n, const QPointF* V, double c, bool check)
{
    QPolygonF out;
    if (!V || n < 1)
        return out;
    for (int i = 0; i < n; ++i)
        out.append(V[i]);
    for (int i = 0; i + 1 < n; ++i)
        if ((V[i + 1] - V[i]).manhattanLength() <= 0.01)
            return out;
    out.clear();
    if (n != 3 && n != 4)
        return out;
    for (int i = 0; i < n; ++i) {
        const QPointF& P = V[(i + n - 1) % n];
        const QPointF& N = V[(i + 1) % n];
        QPointF arc[3] = {c * P + (1 - c) * V[i], V[i], (1 - c) * V[i] + c * N};
        if (n == 3) {
            // Triangle corners are pulled toward their own middle, so that
            // the rounded hole keeps clear of the shrunk edges.
            const QPointF G = (arc[0] + arc[1] + arc[2]) / 3.0;
            for (QPointF& p : arc)
                p = G + 0.8 * (p - G);
            out += make_bezier_3(8, arc);
        } else {
            out += make_bezier_3(6, arc);
        }
    }
    const double a = poly_area(int(out.size()), out);
    if (a > 0)
        std::reverse(out.begin(), out.end());
    if (check && std::fabs(a) < kMinHoleArea)
        out.clear();
    return out;
}

QPolygonF Around_Open_Trap(int n, int m, const QPointF* P, double c)
{
    QPolygonF out;
    if (!P || n < 3)
        return out;
    for (int i = 1; i + 1 < n; ++i) {
        const QPointF arc[3] = {c * P[i - 1] + (1 - c) * P[i], P[i], (1 - c) * P[i] + c * P[i + 1]};
        out += make_bezier_3(m, arc);
    }
    return out;
}

QList<QVector3D> Around_3D_Trap(int n, int m, const QVector3D* P, double c)
{
    QList<QVector3D> out;
    if (!P || n < 3)
        return out;
    const float cf = float(c);
    for (int i = 1; i + 1 < n; ++i) {
        const QVector3D arc[3] = {cf * P[i - 1] + (1 - cf) * P[i], P[i], (1 - cf) * P[i] + cf * P[i + 1]};
        out += make_3Dbezier_3(m, arc);
    }
    return out;
}

QPolygonF Poly_Off(double d, QPolygonF P)
{
    QPolygonF out;
    if (P.size() < 2)
        return out;
    out.reserve(2 * (P.size() - 1));
    for (int i = 0; i + 1 < P.size(); ++i) {
        out.append(uberLeft(d, P[i], P[i + 1]));
        out.append(uberRight(d, P[i], P[i + 1]));
    }
    return out;
}

QPolygonF Poly_Uncross(QPolygonF P)
{
    // An outline offset into the airfoil crosses itself near the trailing
    // edge, where the upper and lower surfaces come closer than the offset:
    // the two tails are cut where the surfaces pass nearest to each other.
    const int n = int(P.size());
    const int m = n / 5;
    int j = 0;
    if (m > 1) {
        double best = 0;
        int bestJ = -1;
        for (int k = 2; k <= m; ++k) {
            const double d = Dist2(P[k - 1], P[n - k]);
            if (bestJ < 0 || d < best) {
                best = d;
                bestJ = k;
            }
        }
        if (bestJ >= 0 && best < 1000)
            j = bestJ;
    }
    QPolygonF out;
    if (n - 1 - j <= j)
        return out;
    for (int i = j; i <= n - 2 - j; ++i)
        out.append(P[i]);
    return out;
}

bool modifyTriangle(double d, const QPointF* p, QPointF* out)
{
    // The base edge p0 -> p1 stays on the rib outline; the slanted edges move
    // in by d. A corner whose lines do not meet within both segments (a
    // triangle too small for the web) keeps its place.
    const QLineF base(p[0], p[1]);
    const QLineF right(uberLeft(d, p[1], p[2]), uberRight(d, p[1], p[2]));
    const QLineF left(uberLeft(d, p[2], p[0]), uberRight(d, p[2], p[0]));
    for (int k = 0; k < 3; ++k)
        out[k] = p[k];
    boundedCorner(right, left, &out[2]);
    boundedCorner(base, right, &out[1]);
    boundedCorner(base, left, &out[0]);
    return true;
}

Triang Offset_Triang(const ParaStruct* design, Triang T)
{
    refreshTriangle(design, &T);
    double d = 0.5 * T.offset;
    if (Otriangle(T.corner[0], T.corner[1], T.corner[2]) < 0)
        d = -d;
    QPointF moved[3];
    modifyTriangle(d, T.corner, moved);
    Triang out = T;
    for (int k = 0; k < 3; ++k)
        out.corner[k] = moved[k];
    out.outline.clear();
    out.expanded = true;
    return out;
}

void divide_Triang(const ParaStruct* design, const Triang& base, Triang* out)
{
    const int m = std::min(base.holeCount, kTriangleParts);
    for (int j = 0; j < m; ++j) {
        Triang part = base;
        part.corner[0] = lerp(base.corner[0], base.corner[1], double(j) / m);
        part.corner[1] = lerp(base.corner[0], base.corner[1], double(j + 1) / m);
        part.corner[2] = base.corner[2];
        out[j] = Offset_Triang(design, part);
    }
}

QList<QPolygonF> Create_div_Triangles(const ParaStruct* design, Triang base, bool check)
{
    refreshTriangle(design, &base);
    return triangleHoles(design, base, check);
}

QList<QPolygonF> Create_div_Triangles_opened(const ParaStruct* design, Triang base)
{
    refreshTriangle(design, &base);
    return triangleHoles(design, base, true);
}

Trap Offset_Trapez(const ParaStruct* design, Trap* base)
{
    base->offset = Hole_Screen_Offset(design, base->offsetMm);
    base->cornerStep = Hole_Corner_Factor(base->cornerCount);
    base->outline = QPolygonF({base->corner[0], base->corner[1], base->corner[2], base->corner[3]});
    const double f = std::clamp(base->offsetMm * 0.004, -kMaxTrapShrink, kMaxTrapShrink);
    const QPointF* c = base->corner;
    Trap out = *base;
    if (OriTrap4(*base) < 0) {
        out.corner[0] = c[0] + f * (c[1] - c[0]);
        out.corner[1] = c[1] + f * (c[0] - c[1]);
        out.corner[2] = c[2] + f * (c[3] - c[2]);
        out.corner[3] = c[3] + f * (c[2] - c[3]);
    } else {
        // The same points with the ends exchanged: the result runs clockwise.
        out.corner[0] = c[1] + f * (c[0] - c[1]);
        out.corner[1] = c[0] + f * (c[1] - c[0]);
        out.corner[2] = c[3] + f * (c[2] - c[3]);
        out.corner[3] = c[2] + f * (c[3] - c[2]);
    }
    out.offset = Hole_Screen_Offset(design, out.offsetMm);
    out.cornerStep = Hole_Corner_Factor(out.cornerCount);
    out.outline = QPolygonF({out.corner[0], out.corner[1], out.corner[2], out.corner[3]});
    out.expanded = true;
    return out;
}

void divide_Trapez(const ParaStruct* design, const Trap& base, Trap* out)
{
    const int N = std::min(base.holeCount, kMaxTrapParts);
    if (N < 1)
        return;
    // Scaled about its middle: never by a negative factor, which would turn
    // the band over.
    const double k = std::max(0.0, 1 - 0.01 * base.offsetMm);
    QPointF c[4];
    const QPointF C = Center4pnt(base.corner[0], base.corner[1], base.corner[2], base.corner[3]);
    for (int i = 0; i < 4; ++i)
        c[i] = C + k * (base.corner[i] - C);
    for (int j = 0; j < N; ++j) {
        Trap part = base;
        part.corner[0] = lerp(c[0], c[1], double(j) / N);
        part.corner[1] = lerp(c[0], c[1], double(j + 1) / N);
        part.corner[2] = lerp(c[3], c[2], double(j + 1) / N);
        part.corner[3] = lerp(c[3], c[2], double(j) / N);
        part.offsetMm = 3 * base.offsetMm;
        out[j] = Offset_Trapez(design, &part);
    }
}

QList<QPolygonF> Create_div_Trapez(const ParaStruct* design, const Trap& base, bool check)
{
    QList<QPolygonF> holes;
    if (base.holeCount < 1)
        return holes;
    Trap band = base;
    const Trap shrunk = Offset_Trapez(design, &band);
    QList<Trap> parts(std::min(shrunk.holeCount, kMaxTrapParts));
    divide_Trapez(design, shrunk, parts.data());
    for (Trap& part : parts) {
        part.holeCount = base.holeCount;
        part.offsetMm = base.offsetMm;
        part.cornerCount = base.cornerCount;
        const QPolygonF hole = polygon_Around(4, part.corner, Hole_Corner_Factor(part.cornerCount), check);
        if (!hole.isEmpty())
            holes.append(hole);
    }
    return holes;
}
