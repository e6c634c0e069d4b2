#include "patterns/patterngeom.h"

#include "core/transf.h"

#include <QLineF>
#include <QList>
#include <QVector3D>

#include <algorithm>
#include <vector>

QPointF Lines_Intesection(QPointF a1, QPointF a2, QPointF b1, QPointF b2)
{
    QPointF p;
    if (QLineF(a1, a2).intersects(QLineF(b1, b2), &p) == QLineF::NoIntersection)
        return a1;
    return p;
}

double Poly_B_Square(const QPolygonF& poly)
{
    QVector3D sum;
    for (int k = 0; k + 1 < poly.size(); ++k) {
        const QVector3D a(float(poly.at(k).x()), float(poly.at(k).y()), 0.0f);
        const QVector3D b(float(poly.at(k + 1).x()), float(poly.at(k + 1).y()), 0.0f);
        sum += QVector3D::crossProduct(a, b);
    }
    return double(sum.length());
}

double myScale(double floor, const QRect* view, const QRectF* drawing)
{
    const double sy = double(view->bottom() - view->top()) / drawing->height();
    const double sx = double(view->right() - view->left()) / drawing->width();
    double s = std::min(sy, sx);
    if (floor >= s)
        s = 1.2 * floor;
    return 0.9 * s;
}

QPointF Txt_minx_center(const QPolygonF& poly)
{
    if (poly.isEmpty())
        return QPointF();
    if (poly.size() < 2)
        return poly.first();
    double best = 1000000.0;
    int at = -1;
    for (int i = 0; i < poly.size(); ++i) {
        if (poly.at(i).x() < best) {
            best = poly.at(i).x();
            at = i;
        }
    }
    return at < 0 ? poly.first() : poly.at(at);
}

QPointF Txt_maxx_center(const QPolygonF& poly)
{
    if (poly.isEmpty())
        return QPointF();
    if (poly.size() < 2)
        return poly.first();
    double best = -1000000.0;
    int at = -1;
    for (int i = 0; i < poly.size(); ++i) {
        if (poly.at(i).x() > best) {
            best = poly.at(i).x();
            at = i;
        }
    }
    return at < 0 ? poly.first() : poly.at(at) - QPointF(10, 0);
}

int f_indx(double x, const double* t, int n)
{
    for (int i = 1; i <= n - 2; ++i)
        if (t[i] <= x && x < t[i + 1])
            return i;
    return x > t[n - 2] ? n - 1 : 0;
}

QPolygonF Natur_Param(int n, const QPolygonF* poly)
{
    QPolygonF out;
    if (!poly || poly->isEmpty())
        return out;
    const QPolygonF& p = *poly;
    out.append(p.first());
    const int m = p.size();
    if (n <= 1 || m < 2)
        return out;
    std::vector<double> c(m, 0.0);
    for (int j = 1; j < m; ++j)
        c[j] = c[j - 1] + Dist2(p.at(j), p.at(j - 1));
    const double step = c[m - 1] / (n - 1);
    out.reserve(n);
    for (int i = 1; i < n; ++i) {
        const double s = i * step;
        const int k = std::min(f_indx(s, c.data(), m), m - 2);
        const double len = c[k + 1] - c[k];
        // Coincident points would divide by zero: such a stretch has no
        // interior, its start point stands for it.
        if (len <= 0) {
            out.append(p.at(k));
            continue;
        }
        out.append(p.at(k) + (s - c[k]) / len * (p.at(k + 1) - p.at(k)));
    }
    return out;
}

QPolygonF repair_Poly(QPolygonF* poly)
{
    if (!poly)
        return QPolygonF();
    QPolygonF& p = *poly;
    const int n = p.size();
    for (int i = 3; i < n - 3; ++i) {
        const QPointF a = p.at(i), b = p.at(i + 1), c = p.at(i + 2), d = p.at(i + 3);
        if (Dist2(a, b) > Dist2(a, c)) {
            p[i + 1] = (a + b) / 2;
            p[i + 2] = (c + d) / 2;
        }
    }
    return p;
}

int Nearest_poly_pnt_index(const QPolygonF* polygon, QPointF point)
{
    if (!polygon || polygon->isEmpty())
        return -1;
    double best = 1e9;
    int at = -1;
    for (int i = 0; i < polygon->size(); ++i) {
        const double d = Dist2(polygon->at(i), point);
        if (d <= best) {
            best = d;
            at = i;
        }
    }
    return at;
}
