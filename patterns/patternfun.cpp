#include "patternfun.h"

QPolygonF turn_Y(QPolygonF poly)
{
    for (QPointF& p : poly)
        p = turn_F_Y_point(p);
    return poly;
}

QPointF turn_F_Y_point(QPointF p)
{
    return QPointF(p.x(), 500.0 - p.y());
}
