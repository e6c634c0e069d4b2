#pragma once

// Geometry checks of pattern outlines for the tests: distance of a point to
// a polyline and self-intersection of a closed polyline.

#include <QLineF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace outlinecheck {

inline double pointSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    double t = len2 > 0 ? QPointF::dotProduct(p - a, ab) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return QLineF(p, a + t * ab).length();
}

// Distance from p to the closed polyline poly.
inline double distanceToOutline(QPointF p, const QPolygonF& poly)
{
    double best = std::numeric_limits<double>::max();
    const int n = poly.size();
    for (int i = 0; i < n; ++i)
        best = std::min(best, pointSegment(p, poly.at(i), poly.at((i + 1) % n)));
    return best;
}

// Distance along the ray from p in direction dir (a unit vector) to the first
// crossing with the closed polyline; -1 when the ray meets it nowhere.
inline double rayDistance(QPointF p, QPointF dir, const QPolygonF& poly)
{
    double best = -1;
    const int n = poly.size();
    for (int i = 0; i < n; ++i) {
        const QPointF a = poly.at(i), b = poly.at((i + 1) % n);
        const QPointF e = b - a;
        const double den = dir.x() * e.y() - dir.y() * e.x();
        if (std::abs(den) < 1e-15)
            continue;
        const QPointF w = a - p;
        const double t = (w.x() * e.y() - w.y() * e.x()) / den;
        const double u = (w.x() * dir.y() - w.y() * dir.x()) / den;
        // a ray through a vertex meets both segments there, within rounding
        if (t > 1e-9 && u >= -1e-9 && u <= 1 + 1e-9 && (best < 0 || t < best))
            best = t;
    }
    return best;
}

inline double cross(QPointF o, QPointF a, QPointF b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

// Whether two segments cross at a point inside both (touching ends or
// collinear overlaps do not count).
inline bool properCrossing(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    const double eps = 1e-12;
    return ((d1 > eps && d2 < -eps) || (d1 < -eps && d2 > eps)) && ((d3 > eps && d4 < -eps) || (d3 < -eps && d4 > eps));
}

// Index pairs of crossing edges of the closed polyline; (-1, -1) when none.
inline QPair<int, int> selfCrossing(const QPolygonF& poly)
{
    const int n = poly.size();
    for (int i = 0; i < n; ++i) {
        const QPointF a = poly.at(i), b = poly.at((i + 1) % n);
        if (a == b)
            continue;
        for (int j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;
            const QPointF c = poly.at(j), d = poly.at((j + 1) % n);
            if (properCrossing(a, b, c, d))
                return {i, j};
        }
    }
    return {-1, -1};
}

} // namespace outlinecheck
