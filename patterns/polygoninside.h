#pragma once

// The inside of one polygon, asked for many points.
//
// The panel sheet asks of every piece outline (a thousand or more vertices)
// whether each point of a cell's mid-line or of a design-line segment lies
// inside it. QPolygonF::containsPoint walks every edge for every point; this
// value sorts the edges once into horizontal bands, so a point meets only
// the edges of its band. The answers are those of
// QPolygonF::containsPoint, to the last bit: the same edges count (nearly
// horizontal ones never do, the closing edge only when the last point is not
// the first), crossed by the same arithmetic.

#include <QPointF>
#include <QPolygonF>

#include <memory>
#include <vector>

class PolygonInside
{
public:
    explicit PolygonInside(const QPolygonF& polygon);

    // The winding number QPolygonF::containsPoint counts for the point.
    int winding(QPointF p) const;
    // containsPoint(p, Qt::OddEvenFill) and containsPoint(p, Qt::WindingFill).
    bool containsOddEven(QPointF p) const { return winding(p) % 2 != 0; }
    bool containsWinding(QPointF p) const { return winding(p) != 0; }

private:
    // An edge from its lower end (x1, y1) up to y2, crossed at
    // x1 + slope * (y - y1) by the line of height y; dir is +1 for an edge
    // drawn upwards, -1 for one drawn downwards.
    struct Edge {
        double x1, y1, y2, slope;
        int dir;
    };
    int bandOf(double y) const;

    double yLow = 0, yHigh = 0, bandsPerUnit = 0;
    int bandCount = 0;
    std::vector<int> bandStart; // edges of band b: [bandStart[b], bandStart[b + 1])
    std::unique_ptr<Edge[]> edges;
};
