#include "geom/patternfun.h"

#include "core/calcul3d.h"
#include "core/parastruct.h"

#include <cmath>

namespace {
constexpr double kRightAngle = 1.5707963265;
}

double Psi_angle(const ParaStruct* design, int i)
{
    if (!design || i <= 0 || i >= kRibSlots)
        return kRightAngle;
    double tilt = f_slashangle(design, i);
    double angle = design->ribAngle[i];
    // The canopy stands the first rib of a wing with a centre cell upright
    // and leans it by half its tilt only: its plane is the one to map into.
    if (i == design->firstRib) {
        angle = 0.0;
        tilt *= 0.5;
    }
    // The tilt goes through degrees and back, as the rib patterns always had it.
    return (kRightAngle - angle) + tilt * (-57.29577952383886) * 0.017453292516666667;
}

QPointF mapfoilPnt_3D_2D(double /*psi*/, QVector3D P, QVector3D R)
{
    const double dz = double(P.z()) - double(R.z());
    const double dy = double(P.y()) - double(R.y());
    const double s = dz < 0 ? -1.0 : 1.0;
    return QPointF(P.x(), s * std::sqrt(dz * dz + dy * dy));
}

QVector3D mapfoil_minirib_T_2D_3D(const ParaStruct* design, int i, QPointF Q, QVector3D R)
{
    const double psi = Psi_angle(design, i);
    const float z = float(double(R.z()) + Q.y() * std::sin(psi));
    const float y = float(double(R.y()) - (double(z) - double(R.z())) / std::tan(psi));
    return QVector3D(float(Q.x()), y, z);
}

QVector3D mapfoilT_2D_3D(const ParaStruct* design, int i, QPointF Q)
{
    const bool known = design && i >= 0 && i < kRibSlots;
    return mapfoil_minirib_T_2D_3D(design, i, Q, known ? design->ribCurves3D[i][0] : QVector3D());
}

void Quick_Unfold_AirFoil(const ParaStruct* design, int i, QPolygonF* out)
{
    if (!design || !out || i < 0 || i >= kRibSlots || design->noseIndex[i] == 0)
        return;
    const QVector3D* curve = design->ribCurves3D[i];
    out->clear();
    out->reserve(kAirfoilPoints);
    for (int k = 0; k < kAirfoilPoints; ++k)
        out->append(mapfoilPnt_3D_2D(0, curve[k], curve[0]));
}

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
