#include "core/canopy.h"

#include "core/calcul3d.h"
#include "core/geomconst.h"
#include "core/parastruct.h"
#include "core/skintension.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>
#include <utility>

double Wing_Attack(double twistDeg, double ribAngle)
{
    const double T = twistDeg * wl::Degree;
    return std::acos(std::sin(T) * std::sin(ribAngle)) - wl::HalfPi;
}

QPolygonF RotatePoly(const ParaStruct* d, double angle, QPolygonF* poly)
{
    QPolygonF out;
    if (!d || !poly)
        return out;
    // RotFix about (cx, 0), its cosine and sine taken once for all points.
    const double cx = 0.01 * d->profileAlignment;
    const double cy = 0.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    out.resize(poly->size());
    QPointF* o = out.data();
    for (const QPointF& p : std::as_const(*poly)) {
        const double dx = p.x() - cx;
        const double dy = p.y() - cy;
        *o++ = QPointF(dx * c - dy * s + cx, dx * s + dy * c + cy);
    }
    return out;
}

namespace {

// SpacePnt3 of one rib: the sines and cosines of its tilt and front-view
// angle are worked out once for all its points.
class RibPlacement
{
public:
    RibPlacement(const ParaStruct* d, int r, double s, double a, double theta)
        : s(s), centre(r <= 0), slot(std::max(r, 0)), leadingEdge(d->leadingEdgeX[slot]),
          leadingEdge0(d->leadingEdgeX[0]), frontY(d->frontY[slot]), frontY0(d->frontY[0]),
          frontZ(d->frontZ[slot]), frontZ0(d->frontZ[0])
    {
        if (centre) {
            up = std::sin(theta);
            out = std::cos(theta);
        } else {
            if (r == d->firstRib)
                a *= 0.5;
            const double u = a + wl::HalfPi - theta;
            up = std::cos(u);
            out = std::sin(u);
            slant = std::cos(a);
        }
    }

    QVector3D at(double X, double Y) const
    {
        const double x = s * (X + leadingEdge - leadingEdge0);
        double yo = 0.0, zo = 0.0;
        if (centre) {
            yo = Y * up;
            zo = Y * out;
        } else {
            yo = Y * up / slant;
            zo = Y * out / slant;
        }
        const double y = s * (yo + frontY - frontY0);
        const double z = s * (zo + frontZ - frontZ0);
        return QVector3D(float(x), float(y), float(z));
    }

private:
    double s;
    bool centre;
    int slot;
    double leadingEdge, leadingEdge0, frontY, frontY0, frontZ, frontZ0;
    double up = 0.0, out = 0.0, slant = 1.0;
};

} // namespace

QVector3D SpacePnt3(const ParaStruct* d, int r, double s, double a, double theta, double X, double Y)
{
    if (!d || r >= kRibSlots)
        return QVector3D(0, 0, 0);
    return RibPlacement(d, r, s, a, theta).at(X, Y);
}

double f_uberNull(const ParaStruct* d, int rib, int point)
{
    return f_skin_norma_tension(d, rib, point);
}

double f_uberPatt(const ParaStruct* d, int rib, int point)
{
    if (!d)
        return 0.0;
    return d->ToScreen(0.001 * d->seamAllowance[0]) + f_skin_norma_tension(d, rib, point);
}

void Create_Space_Canopy(ParaStruct* d)
{
    if (d)
        Create_Space_Canopy(d, d->maxTwistAngle);
}

void Create_Space_Canopy(ParaStruct* d, double twistDegrees)
{
    if (!d)
        return;
    d->dxfScale = d->span / 1000.0 * 500.0;
    if (d->ribAirfoils[0].isEmpty())
        return;
    const int last = d->lastRib;
    if (last < 1 || last > kMaxLastRib || d->firstRib < 0 || d->firstRib >= last)
        return;

    auto& curves = d->ribCurves3D.values();
    for (int r = 0; r <= last; ++r) {
        const double slash = f_slashangle(d, r);
        const double angle = r == d->firstRib ? 0.0 : d->ribAngle[r];
        const double twist = Wing_Attack(twistDegrees, angle);
        const QPolygonF foil = RotatePoly(d, twist, &d->ribAirfoils[r]);
        const double theta = wl::Pi - angle;
        QVector3D* curve = curves[r];
        // A rib airfoil holds 1000 points; anything shorter cannot be placed.
        if (foil.size() < kAirfoilPoints) {
            std::fill(curve, curve + kAirfoilPoints, QVector3D(0, 0, 0));
            continue;
        }
        const RibPlacement place(d, r, 1.0, slash, theta);
        const double c = d->chord[r];
        const QPointF* p = foil.constData();
        for (int j = 0; j < kAirfoilPoints; ++j)
            curve[j] = place.at(c * p[j].x(), c * p[j].y());
    }

    // The reduction factors depend only on the curves just built: compute
    // them first, so that the oversize tables belong to this shape.
    Calculate_BillowComp_Reduction(d);

    // Every cell's half-oversize; the tip rib takes that of the last cell.
    auto& cloth = d->clothHalfOversize.values();
    auto& pattern = d->patternOversize.values();
    Skin_Norma_Tension_Rows(d, last, cloth);
    std::copy(cloth[last - 1], cloth[last - 1] + kAirfoilPoints, cloth[last]);
    const double seam = d->ToScreen(0.001 * d->seamAllowance[0]);
    for (int r = 0; r < last; ++r) {
        for (int j = 0; j < kAirfoilPoints; ++j)
            pattern[r][j] = seam + cloth[r][j];
    }
    std::fill(pattern[last], pattern[last] + kAirfoilPoints, 0.0);
}
