#include "core/canopy.h"

#include "core/calcul3d.h"
#include "core/geomconst.h"
#include "core/parastruct.h"
#include "core/skintension.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>

double Wing_Attack(double twistDeg, double ribAngle)
{
    const double T = twistDeg * wl::Degree;
    return std::acos(std::sin(T) * std::sin(ribAngle)) - wl::HalfPi;
}

QPolygonF RotatePoly(ParaStruct* d, double angle, QPolygonF* poly)
{
    QPolygonF out;
    if (!d || !poly)
        return out;
    const double cx = 0.01 * d->profileAlignment;
    out.reserve(poly->size());
    for (const QPointF& p : *poly)
        out.append(RotFix(angle, cx, 0.0, p));
    return out;
}

QVector3D SpacePnt3(ParaStruct* d, int r, double s, double a, double theta, double X, double Y)
{
    if (!d || r >= kRibSlots)
        return QVector3D(0, 0, 0);
    const int slot = std::max(r, 0);
    const double x = s * (X + d->leadingEdgeX[slot] - d->leadingEdgeX[0]);
    double yo = 0.0, zo = 0.0;
    if (r <= 0) {
        yo = Y * std::sin(theta);
        zo = Y * std::cos(theta);
    } else {
        if (r == d->firstRib)
            a *= 0.5;
        const double u = a + wl::HalfPi - theta;
        yo = Y * std::cos(u) / std::cos(a);
        zo = Y * std::sin(u) / std::cos(a);
    }
    const double y = s * (yo + d->frontY[slot] - d->frontY[0]);
    const double z = s * (zo + d->frontZ[slot] - d->frontZ[0]);
    return QVector3D(float(x), float(y), float(z));
}

double f_uberNull(ParaStruct* d, int rib, int point)
{
    return f_skin_norma_tension(d, rib, point);
}

double f_uberPatt(ParaStruct* d, int rib, int point)
{
    if (!d)
        return 0.0;
    return d->ToScreen(0.001 * d->seamAllowance[0]) + f_skin_norma_tension(d, rib, point);
}

void Create_Space_Canopy(ParaStruct* d)
{
    if (!d)
        return;
    d->dxfScale = d->span / 1000.0 * 500.0;
    if (d->ribAirfoils[0].isEmpty())
        return;
    const int last = d->lastRib;
    if (last < 1 || last > kMaxLastRib || d->firstRib < 0 || d->firstRib >= last)
        return;

    for (int r = 0; r <= last; ++r) {
        const double slash = f_slashangle(d, r);
        const double angle = r == d->firstRib ? 0.0 : d->ribAngle[r];
        const double twist = Wing_Attack(d->maxTwistAngle, angle);
        QPolygonF copy = d->ribAirfoils[r];
        const QPolygonF foil = RotatePoly(d, twist, &copy);
        const double theta = wl::Pi - angle;
        QVector3D* curve = d->ribCurves3D[r];
        // A rib airfoil holds 1000 points; anything shorter cannot be placed.
        if (foil.size() < kAirfoilPoints) {
            std::fill(curve, curve + kAirfoilPoints, QVector3D(0, 0, 0));
            continue;
        }
        const double c = d->chord[r];
        for (int j = 0; j < kAirfoilPoints; ++j) {
            const QPointF& p = foil.at(j);
            curve[j] = SpacePnt3(d, r, 1.0, slash, theta, c * p.x(), c * p.y());
        }
    }

    // The reduction factors depend only on the curves just built: compute
    // them first, so that the oversize tables belong to this shape.
    Calculate_BillowComp_Reduction(d);

    const double seam = d->ToScreen(0.001 * d->seamAllowance[0]);
    double tension[kAirfoilPoints];
    for (int r = 0; r <= last; ++r) {
        const int c = std::min(r, last - 1);
        if (r == c)
            Skin_Norma_Tension_Row(d, c, tension);
        for (int j = 0; j < kAirfoilPoints; ++j) {
            const double v = r == c ? tension[j] : d->clothHalfOversize[c][j];
            d->clothHalfOversize[r][j] = v;
            d->patternOversize[r][j] = r == last ? 0.0 : seam + v;
        }
    }
}
