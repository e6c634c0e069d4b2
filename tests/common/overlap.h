#pragma once

// Whether a line drawn in a chart runs through a text's box: the check of
// the tests that keep labels off what they explain. Header only.

#include <QLineF>
#include <QPolygonF>
#include <QRectF>

// True when the polyline has a vertex inside the box or a segment that
// crosses one of its sides.
inline bool Polyline_Crosses(const QPolygonF& line, const QRectF& box)
{
    const QLineF sides[4] = {{box.topLeft(), box.topRight()}, {box.topRight(), box.bottomRight()},
                             {box.bottomRight(), box.bottomLeft()}, {box.bottomLeft(), box.topLeft()}};
    for (int i = 0; i < line.size(); ++i) {
        if (box.contains(line[i]))
            return true;
        if (i == 0)
            continue;
        const QLineF segment(line[i - 1], line[i]);
        for (const QLineF& side : sides)
            if (segment.intersects(side) == QLineF::BoundedIntersection)
                return true;
    }
    return false;
}
