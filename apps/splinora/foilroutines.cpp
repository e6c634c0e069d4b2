#include "foilroutines.h"

#include "shared_links.h"

namespace splinora {

QPolygonF airfoil_Read(const QString& fileName)
{
    const QPolygonF poly = airfoil_Read_All(fileName);
    return Normalize_airfoil2(Normalize_airfoil2(poly, 1), 1);
}

QPolygonF Normalize_airfoil2(const QPolygonF& poly, int rot)
{
    QPolygonF result;
    if (poly.isEmpty())
        return result;
    double xmin = 10000.0;
    double xmax = -10000.0;
    for (const QPointF& pt : poly) {
        if (pt.x() < xmin)
            xmin = pt.x();
        if (pt.x() > xmax)
            xmax = pt.x();
    }
    const double dx = xmax - xmin;
    if (!(dx > 0.0))
        return result;
    const QPointF first(poly[0].x() / dx, rot * poly[0].y() / dx);
    for (const QPointF& pt : poly) {
        const QPointF q(pt.x() / dx - first.x() + 1.0, rot * pt.y() / dx - first.y());
        if (is_dbetween(0.0, 1.0, q.x()))
            result.append(q);
    }
    return result;
}

void FindThickness(const QPolygonF* foilpoly, QString* St)
{
    double ymin = 10000.0;
    double ymax = -10000.0;
    int imin = 0;
    int imax = 0;
    for (int i = 0; i < foilpoly->size(); ++i) {
        const double y = foilpoly->at(i).y();
        if (y < ymin) {
            ymin = y;
            imin = i;
        }
        if (y > ymax) {
            ymax = y;
            imax = i;
        }
    }
    if (foilpoly->isEmpty()) {
        St[0] = St[1] = QString();
        return;
    }
    const double thickness = ymax - ymin;
    const double xTop = foilpoly->at(imax).x();
    const double xBottom = foilpoly->at(imin).x();
    St[0] = QString(" Thickness: %1  at  %2 %")
                .arg(100.0 * thickness, 0, 'f', 2)
                .arg(50.0 * (xTop + xBottom), 0, 'f', 2);
    St[1] = QString(" Top: at %1   Bottom: at: %2 ")
                .arg(100.0 * xTop, 0, 'f', 2)
                .arg(100.0 * xBottom, 0, 'f', 2);
}

} // namespace splinora
