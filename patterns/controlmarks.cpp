#include "patterns/controlmarks.h"

#include "patterns/acad.h"
#include "core/geomconst.h"
#include "core/parastruct.h"

#include <cmath>

namespace {

double markDiameter(const ParaStruct* design)
{
    return design->ToScreen(0.001 * design->controlPointDiameter);
}

// The polygon writers' marks are too small to see on screen at their cutting
// size: the preview draws them six times larger.
double polyMarkRadius(const ParaStruct* design)
{
    const double r = 0.6 * markDiameter(design);
    return GetGlobClass()->writeDxf ? r : 6 * r;
}

} // namespace

QPolygonF cntrCirc(QPointF c, double r, int n)
{
    QPolygonF mark;
    if (n < 1)
        return mark;
    // n corners and the first once more: closed by its last side, without
    // a side of no length (a corner at 2 pi would be the first one again).
    mark.reserve(n + 1);
    for (int k = 0; k < n; ++k) {
        const double phi = (2 * k) * wl::Pi / n;
        mark.append(c + r * QPointF(std::cos(phi), std::sin(phi)));
    }
    mark.append(mark.first());
    return mark;
}

void WriteDXF_cntrPoly(ParaStruct* design, const QPolygonF& points, int n, const QString& layer)
{
    const double r = polyMarkRadius(design);
    for (const QPointF& p : points)
        WriteDxFPolyline(design, cntrCirc(p, r, n), layer, 4);
}

void WriteDXF_cntrPoly2(ParaStruct* design, const QPolygonF& points, const QPolygon& sides, const QString& layer)
{
    const double r = polyMarkRadius(design);
    for (int k = 0; k < points.size(); ++k) {
        const bool lower = k < sides.size() && sides.at(k).y() != 0;
        WriteDxFPolyline(design, cntrCirc(points.at(k), r, lower ? 3 : 16), layer, 4);
    }
}

void WriteDXF_cntrPoint(ParaStruct* design, QPointF point, int n, const QString& layer)
{
    WriteDxFPolyline(design, cntrCirc(point, 0.65 * markDiameter(design), n), layer, 4);
}
