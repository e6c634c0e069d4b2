#include "patterns/polygoninside.h"

#include <QtNumeric>

#include <algorithm>
#include <cmath>

namespace {

// Copies of an edge the bands may hold, per edge: a polygon of long edges
// across its whole height gets fewer, wider bands.
constexpr std::size_t kCopiesPerEdge = 8;

} // namespace

inline int PolygonInside::bandOf(double y) const
{
    const double b = (y - yLow) * bandsPerUnit;
    return b < bandCount ? std::max(0, int(b)) : bandCount - 1;
}

PolygonInside::PolygonInside(const QPolygonF& polygon)
{
    if (polygon.size() < 2)
        return;
    // The edges QPolygonF::containsPoint counts, as it orients them.
    std::vector<Edge> all;
    all.reserve(std::size_t(polygon.size()));
    auto add = [&all](QPointF p1, QPointF p2) {
        double x1 = p1.x(), y1 = p1.y(), x2 = p2.x(), y2 = p2.y();
        // Nearly horizontal edges never count.
        if (qFuzzyCompare(y1, y2))
            return;
        int dir = 1;
        if (y2 < y1) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            dir = -1;
        }
        // An edge with a NaN height counts for no point.
        if (!(y1 < y2))
            return;
        all.push_back({x1, y1, y2, (x2 - x1) / (y2 - y1), dir});
    };
    for (int i = 1; i < polygon.size(); ++i)
        add(polygon.at(i - 1), polygon.at(i));
    // The closing edge, unless the last point is (nearly) the first.
    if (polygon.last() != polygon.first())
        add(polygon.last(), polygon.first());
    if (all.empty())
        return;

    yLow = all.front().y1;
    yHigh = all.front().y2;
    for (const Edge& e : all) {
        yLow = std::min(yLow, e.y1);
        yHigh = std::max(yHigh, e.y2);
    }
    // About one band per edge, fewer while the copies would be too many.
    bandCount = std::isfinite(yHigh - yLow) ? int(std::min<std::size_t>(all.size(), 1 << 16)) : 1;
    std::size_t copies = 0;
    for (;;) {
        bandsPerUnit = bandCount / (yHigh - yLow);
        copies = 0;
        for (const Edge& e : all)
            copies += std::size_t(bandOf(e.y2) - bandOf(e.y1) + 1);
        if (bandCount == 1 || copies <= kCopiesPerEdge * all.size())
            break;
        bandCount = std::max(1, bandCount / 2);
    }
    if (bandCount == 1)
        bandsPerUnit = 0;

    // An edge goes into every band between those of its two ends: bandOf
    // never decreases with y, so a point that the edge spans is in one of
    // them.
    bandStart.assign(std::size_t(bandCount) + 1, 0);
    for (const Edge& e : all)
        for (int b = bandOf(e.y1), last = bandOf(e.y2); b <= last; ++b)
            ++bandStart[std::size_t(b) + 1];
    for (int b = 0; b < bandCount; ++b)
        bandStart[std::size_t(b) + 1] += bandStart[std::size_t(b)];
    // Every place is filled below: no need to clear them first.
    edges.reset(new Edge[copies]);
    std::vector<int> next(bandStart.begin(), bandStart.end() - 1);
    for (const Edge& e : all)
        for (int b = bandOf(e.y1), last = bandOf(e.y2); b <= last; ++b)
            edges[std::size_t(next[std::size_t(b)]++)] = e;
}

int PolygonInside::winding(QPointF p) const
{
    const double y = p.y();
    // No edge spans a height outside [yLow, yHigh).
    if (!(y >= yLow && y < yHigh))
        return 0;
    const int b = bandOf(y);
    int winding = 0;
    for (int i = bandStart[std::size_t(b)], end = bandStart[std::size_t(b) + 1]; i < end; ++i) {
        const Edge& e = edges[std::size_t(i)];
        if (y >= e.y1 && y < e.y2) {
            // As QPolygonF::containsPoint crosses it: the slope is the
            // quotient it computes first.
            const double x = e.x1 + e.slope * (y - e.y1);
            if (x <= p.x())
                winding += e.dir;
        }
    }
    return winding;
}
