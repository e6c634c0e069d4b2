#pragma once

// Sewing checks on a written pattern file: the pieces' cutting lines and
// control marks as ezdxf reads them back (tests/common/dxfcheck.h), and the
// sewing lines recovered from them.
//
// A cutting line lies outside the piece's developed outline by what the
// design prescribes for each edge: the seam allowance, and along the rib
// edges also the cloth oversize of the cell. Along one edge at distance a, a
// stretch of the cutting line of length L that turns by the signed angle t
// (counter-clockwise positive) lies outside a stretch of outline of length
// L - a t s, s = +1 for a counter-clockwise outline (the cutting line on the
// right of the way) and -1 for a clockwise one. The corner of two edges of
// the outline is where the two cutting-line edges, each moved inward by its
// distance, meet.

#include <QJsonArray>
#include <QJsonObject>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace sewingcheck {

struct Line {
    QPointF a, b;
    int colour = 0;
};

struct Layer {
    QList<Line> lines;
    QStringList texts;
};

inline QMap<QString, Layer> layersOf(const QJsonObject& dxf)
{
    QMap<QString, Layer> layers;
    for (const QJsonValue& v : dxf.value(QStringLiteral("lines")).toArray()) {
        const QJsonArray l = v.toArray();
        Line line;
        line.colour = l.at(1).toInt();
        line.a = QPointF(l.at(2).toDouble(), l.at(3).toDouble());
        line.b = QPointF(l.at(5).toDouble(), l.at(6).toDouble());
        layers[l.at(0).toString()].lines << line;
    }
    for (const QJsonValue& v : dxf.value(QStringLiteral("texts")).toArray()) {
        const QJsonArray t = v.toArray();
        layers[t.at(0).toString()].texts << t.at(1).toString();
    }
    return layers;
}

// The LINEs of one colour as one polyline in the order written; empty when
// one LINE does not start where the one before ended (within tol).
inline QPolygonF chain(const Layer& layer, int colour, double tol = 1e-3)
{
    QPolygonF p;
    for (const Line& l : layer.lines) {
        if (l.colour != colour)
            continue;
        if (p.isEmpty())
            p << l.a;
        else if (QLineF(p.last(), l.a).length() > tol)
            return QPolygonF();
        p << l.b;
    }
    return p;
}

struct Mark {
    QPointF centre;
    int sides = 0;
};

// The control marks (colour 4) of a layer: each a run of LINEs round a
// small circle, the last of them ending where the first began.
inline QList<Mark> marksOf(const Layer& layer)
{
    QList<Mark> marks;
    QPointF sum, first;
    int sides = 0;
    for (const Line& l : layer.lines) {
        if (l.colour != 4)
            continue;
        if (sides == 0)
            first = l.a;
        sum += l.a;
        ++sides;
        if (QLineF(l.b, first).length() < 1e-3) {
            marks << Mark{sum / sides, sides};
            sum = QPointF();
            sides = 0;
        }
    }
    return marks;
}

// Twice the signed area: positive for a counter-clockwise outline.
inline double orientation(const QPolygonF& p)
{
    double a = 0;
    for (int i = 0; i + 1 < p.size(); ++i)
        a += p.at(i).x() * p.at(i + 1).y() - p.at(i + 1).x() * p.at(i).y();
    return a >= 0 ? 1.0 : -1.0;
}

inline double lengthOf(const QPolygonF& p)
{
    double L = 0;
    for (int i = 1; i < p.size(); ++i)
        L += QLineF(p.at(i - 1), p.at(i)).length();
    return L;
}

// Signed turning angle of a polyline (counter-clockwise positive), steps of
// no length skipped.
inline double turning(const QPolygonF& p)
{
    double t = 0;
    QPointF prev;
    bool have = false;
    for (int i = 1; i < p.size(); ++i) {
        const QPointF d = p.at(i) - p.at(i - 1);
        if (std::hypot(d.x(), d.y()) < 1e-9)
            continue;
        if (have)
            t += std::atan2(prev.x() * d.y() - prev.y() * d.x(), prev.x() * d.x() + prev.y() * d.y());
        prev = d;
        have = true;
    }
    return t;
}

inline int nearestVertex(const QPolygonF& p, QPointF q, double* distance = nullptr)
{
    int best = -1;
    double d = std::numeric_limits<double>::max();
    for (int i = 0; i < p.size(); ++i) {
        const double e = QLineF(p.at(i), q).length();
        if (e < d) {
            d = e;
            best = i;
        }
    }
    if (distance)
        *distance = d;
    return best;
}

// Vertices i .. j of a closed outline (last point on the first), going
// forward, round the end when j < i.
inline QPolygonF stretch(const QPolygonF& closed, int i, int j)
{
    const int n = closed.size() - 1;
    QPolygonF p;
    for (int k = i;; k = (k + 1) % n) {
        p << closed.at(k);
        if (k == j)
            break;
    }
    return p;
}

// The length of the line inside a cutting-line stretch at the distance
// a(point) from it (the allowance at each vertex), on an outline of
// orientation s: each turn of the stretch made a longer (or shorter) by its
// allowance times the angle.
inline double insideLength(const QPolygonF& cut, const std::function<double(QPointF)>& a, double s)
{
    double L = lengthOf(cut);
    for (int k = 1; k + 1 < cut.size(); ++k) {
        const QPointF u = cut.at(k) - cut.at(k - 1), v = cut.at(k + 1) - cut.at(k);
        if (std::hypot(u.x(), u.y()) < 1e-9 || std::hypot(v.x(), v.y()) < 1e-9)
            continue;
        L -= a(cut.at(k)) * std::atan2(u.x() * v.y() - u.y() * v.x(), u.x() * v.x() + u.y() * v.y()) * s;
    }
    return L;
}

// Unit normal pointing into the outline from the step p -> q.
inline QPointF inward(QPointF p, QPointF q, double s)
{
    const QPointF d = q - p;
    const double len = std::hypot(d.x(), d.y());
    return QPointF(-d.y(), d.x()) * (s / len);
}

// Where two lines meet: a1 a2 and b1 b2.
inline QPointF meet(QPointF a1, QPointF a2, QPointF b1, QPointF b2)
{
    QPointF x;
    QLineF(a1, a2).intersects(QLineF(b1, b2), &x);
    return x;
}

// Turn of the outline at vertex k, between its nearest distinct neighbours.
inline double angleAt(const QPolygonF& closed, int k)
{
    const int n = closed.size() - 1;
    auto at = [&](int i) { return closed.at(((i % n) + n) % n); };
    int before = 1, after = 1;
    while (before < n && QLineF(at(k - before), at(k)).length() < 1e-9)
        ++before;
    while (after < n && QLineF(at(k + after), at(k)).length() < 1e-9)
        ++after;
    const QPointF u = at(k) - at(k - before), v = at(k + after) - at(k);
    return std::abs(std::atan2(u.x() * v.y() - u.y() * v.x(), u.x() * v.x() + u.y() * v.y()));
}

// The sewing edge of a closed cutting outline along the stretch whose
// vertices lie at distance `apart` from `other` (the cutting line of the
// piece across the seam): the stretch taken from corner to corner (a turn of
// more than 5 degrees at one vertex), moved inward by a, and ended at the
// sewing-line corners with the edges beside it (allowance b at the corner
// vertex), found from the two points next to each corner but one (the
// corner's own neighbours may be trimmed). Empty when there is no such
// stretch.
inline QPolygonF sewingEdgeFacing(const QPolygonF& closed, const QPolygonF& other, double apart, double a,
                                  const std::function<double(QPointF)>& b, double tol = 0.3)
{
    const int n = closed.size() - 1;
    if (n < 20)
        return QPolygonF();
    const double s = orientation(closed);
    QList<bool> facing(n);
    for (int k = 0; k < n; ++k) {
        double d = std::numeric_limits<double>::max();
        for (int j = 0; j + 1 < other.size(); ++j) {
            const QPointF p = closed.at(k), u = other.at(j), v = other.at(j + 1);
            const QPointF e = v - u;
            const double len2 = QPointF::dotProduct(e, e);
            double t = len2 > 0 ? QPointF::dotProduct(p - u, e) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            d = std::min(d, QLineF(p, u + t * e).length());
        }
        facing[k] = std::abs(d - apart) < tol;
    }
    // the longest run of facing vertices, round the end
    int bestStart = -1, bestLength = 0;
    for (int k = 0; k < n; ++k) {
        if (!facing.at(k) || facing.at((k + n - 1) % n))
            continue;
        int len = 0;
        while (len < n && facing.at((k + len) % n))
            ++len;
        if (len > bestLength) {
            bestLength = len;
            bestStart = k;
        }
    }
    if (bestStart < 0)
        return QPolygonF();
    const double corner = 5 * M_PI / 180;
    int i0 = bestStart, i1 = (bestStart + bestLength - 1) % n;
    for (int guard = 0; guard < n && angleAt(closed, i0) < corner; ++guard)
        i0 = (i0 + n - 1) % n;
    for (int guard = 0; guard < n && angleAt(closed, i1) < corner; ++guard)
        i1 = (i1 + 1) % n;
    auto at = [&](int k) { return closed.at(((k % n) + n) % n); };
    auto moved = [&](int k, int dir, double by) {
        int t = 1;
        while (t < n && QLineF(at(k), at(k + dir * t)).length() < 1e-9)
            ++t;
        return at(k) + by * inward(at(k), at(k + dir * t), dir > 0 ? s : -s);
    };
    // The sewing-line corners: the stretch and its neighbours moved inward,
    // taken a few points away from the trimmed corner vertices.
    const double b0 = b(at(i0)), b1 = b(at(i1));
    const QPointF e0 = meet(moved(i0 + 2, 1, a), moved(i0 + 4, 1, a), moved(i0 - 2, -1, b0), moved(i0 - 4, -1, b0));
    const QPointF e1 = meet(moved(i1 - 2, -1, a), moved(i1 - 4, -1, a), moved(i1 + 2, 1, b1), moved(i1 + 4, 1, b1));
    QPolygonF edge;
    edge << e0;
    const int m = (i1 - i0 + n) % n;
    for (int k = 2; k <= m - 2; ++k)
        edge << moved(i0 + k, 1, a);
    edge << e1;
    return edge;
}

} // namespace sewingcheck
