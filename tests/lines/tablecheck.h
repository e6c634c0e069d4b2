#pragma once

// Checks of a line table's drawing that do not trust its layout: which lines
// cross although the ribs their branches lead to do not interleave.

#include <QList>
#include <QPair>
#include <QPointF>
#include <QSet>

#include <algorithm>

#include "lines/bridlelists.h"

namespace tablecheck {

// Whether the segments a-b and c-d cross, touching ends not counted.
inline bool segmentsCross(QPointF a, QPointF b, QPointF c, QPointF d)
{
    auto side = [](QPointF p, QPointF q, QPointF r) {
        return (q.x() - p.x()) * (r.y() - p.y()) - (q.y() - p.y()) * (r.x() - p.x());
    };
    const double d1 = side(a, b, c), d2 = side(a, b, d), d3 = side(c, d, a), d4 = side(c, d, b);
    return ((d1 > 1e-9 && d2 < -1e-9) || (d1 < -1e-9 && d2 > 1e-9))
        && ((d3 > 1e-9 && d4 < -1e-9) || (d3 < -1e-9 && d4 > 1e-9));
}

// Two sets of ribs interleave when neither lies wholly beside the other and
// neither holds the other.
inline bool interleave(const QList<int>& s, const QList<int>& t)
{
    if (s.isEmpty() || t.isEmpty())
        return false;
    const auto [sLo, sHi] = std::minmax_element(s.begin(), s.end());
    const auto [tLo, tHi] = std::minmax_element(t.begin(), t.end());
    if (*sHi < *tLo || *tHi < *sLo)
        return false;
    auto holds = [](const QList<int>& big, const QList<int>& small) {
        return std::all_of(small.begin(), small.end(), [&big](int x) { return big.contains(x); });
    };
    return !holds(s, t) && !holds(t, s);
}

// The lines (indexes into the table's graph) that cross another line whose
// ribs do not interleave with theirs. A line's ribs are the frame points
// below its child end, taken by their place along the frame: the ends of
// lines no deeper than `frameBottom` from which no line goes on.
inline QList<QPair<int, int>> crossingLines(const BridleTable& t, double frameBottom)
{
    QList<QList<int>> children(t.nodes.size());
    for (const GraphRec& rec : t.graph)
        children[rec.start].append(rec.end);
    auto ribsBelow = [&](int node) {
        QList<int> ribs;
        QList<int> open{node};
        QSet<int> seen;
        while (!open.isEmpty()) {
            const int n = open.takeLast();
            if (seen.contains(n))
                continue;
            seen.insert(n);
            if (children[n].isEmpty() && t.nodes[n].y() <= frameBottom)
                ribs.append(t.nodes[n].x());
            open += children[n];
        }
        return ribs;
    };
    QList<QPair<int, int>> crossing;
    for (int i = 0; i < t.graph.size(); ++i) {
        for (int j = i + 1; j < t.graph.size(); ++j) {
            const GraphRec& a = t.graph[i];
            const GraphRec& b = t.graph[j];
            if (a.start == b.start || a.start == b.end || a.end == b.start || a.end == b.end)
                continue;
            if (interleave(ribsBelow(a.end), ribsBelow(b.end)))
                continue;
            if (segmentsCross(t.nodes[a.start], t.nodes[a.end], t.nodes[b.start], t.nodes[b.end]))
                crossing.append({i, j});
        }
    }
    return crossing;
}

} // namespace tablecheck
