#pragma once

// Shared pieces of the structure tests: the default design (built once, with
// the recompute's diagonal step installed) and polygon checks written here,
// independently of the code under test.

#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "tools/template/defaultdesign.h"
#include "structure/diagonals.h"

#include <QPointF>
#include <QPolygonF>

#include "shell/model/installhooks.h"

#include <cmath>
#include <memory>

namespace fixture {

// The default design, recomputed with the diagonal step installed.
inline const ParaStruct& defaultDesign()
{
    static std::unique_ptr<ParaStruct> design = [] {
        Install_Recompute_Hooks();
        auto d = Build_Default_Design(34);
        Refresh_Calculations(d.get());
        return d;
    }();
    return *design;
}

inline std::unique_ptr<ParaStruct> copyOfDefault()
{
    return std::make_unique<ParaStruct>(defaultDesign());
}

// Crossing-number test; points on the boundary count as inside.
inline bool inside(const QPolygonF& poly, QPointF p, double tol = 1e-9)
{
    const int n = int(poly.size());
    bool in = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const QPointF a = poly[i], b = poly[j];
        // on the edge
        const double cross = (b.x() - a.x()) * (p.y() - a.y()) - (b.y() - a.y()) * (p.x() - a.x());
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        if (len > 0 && std::fabs(cross) / len <= tol && std::min(a.x(), b.x()) - tol <= p.x()
            && p.x() <= std::max(a.x(), b.x()) + tol && std::min(a.y(), b.y()) - tol <= p.y()
            && p.y() <= std::max(a.y(), b.y()) + tol)
            return true;
        if ((a.y() > p.y()) != (b.y() > p.y())) {
            const double x = a.x() + (p.y() - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
            if (p.x() < x)
                in = !in;
        }
    }
    return in;
}

inline bool allInside(const QPolygonF& outer, const QPolygonF& inner, double tol = 1e-9)
{
    for (const QPointF& p : inner)
        if (!inside(outer, p, tol))
            return false;
    return true;
}

inline double orient(QPointF a, QPointF b, QPointF c)
{
    return (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
}

// Proper crossing of two closed polygons' edges.
inline bool edgesCross(const QPolygonF& A, const QPolygonF& B)
{
    for (int i = 0; i < A.size(); ++i) {
        const QPointF a1 = A[i], a2 = A[(i + 1) % A.size()];
        for (int j = 0; j < B.size(); ++j) {
            const QPointF b1 = B[j], b2 = B[(j + 1) % B.size()];
            const double d1 = orient(a1, a2, b1), d2 = orient(a1, a2, b2);
            const double d3 = orient(b1, b2, a1), d4 = orient(b1, b2, a2);
            if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
                return true;
        }
    }
    return false;
}

// Two closed polygons share area: their edges cross or one holds the other.
inline bool overlap(const QPolygonF& A, const QPolygonF& B)
{
    if (A.isEmpty() || B.isEmpty())
        return false;
    return edgesCross(A, B) || inside(A, B[0], 0) || inside(B, A[0], 0);
}

// Twice the signed area by the shoelace formula.
inline double shoelace(const QPolygonF& p)
{
    double a = 0;
    for (int i = 0; i < p.size(); ++i) {
        const QPointF u = p[i], v = p[(i + 1) % p.size()];
        a += u.x() * v.y() - v.x() * u.y();
    }
    return a;
}

// Signed distance of p from the line a -> b (positive to its left).
inline double sideOf(QPointF a, QPointF b, QPointF p)
{
    return orient(a, b, p) / std::hypot(b.x() - a.x(), b.y() - a.y());
}

} // namespace fixture
