#include "geom/ribunfold.h"

#include "core/designspline.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "geom/designcurves.h"
#include "geom/reinforce.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLastPoint = kAirfoilPoints - 1;
constexpr int kHookPoints = 50;

bool unfoldable(const ParaStruct* d, int i)
{
    return d && i >= 0 && i < kRibSlots && d->noseIndex[i] > 0 && d->noseIndex[i] < kAirfoilPoints;
}

// Flat image of point k of rib i against its trailing edge; the index is kept
// on the airfoil.
QPointF flatPoint(const ParaStruct* d, int i, int k)
{
    const QVector3D* curve = d->ribCurves3D[i];
    return mapfoilPnt_3D_2D(0, curve[std::clamp(k, 0, kLastPoint)], curve[0]);
}

// Mylar extents in airfoil points (the editor's 0..90 and 0..70 over 300).
int mylarUpPoints(const ParaStruct* d)
{
    return d->minirib.mylarStart * 1000 / 300;
}

int mylarDownPoints(const ParaStruct* d)
{
    return d->minirib.mylarEnd * 1000 / 300;
}

// Centre of the lower rod: halfway between the attachments of rows O2 and A.
int lowerRodCentre(const ParaStruct* d, int i)
{
    return int(std::trunc((d->lineIndex[1][i] + d->lineIndex[2][i]) * 0.5));
}

// A hook: the quadratic curve from a through b (at its middle) to c in 50
// points, both ends included. The curve helper adds its steps up and stops
// short of c; the hook ends on c.
QPolygonF hook(QPointF a, QPointF b, QPointF c)
{
    QPolygonF h = Spline3pnt(a, b, c, kHookPoints);
    if (h.size() >= kHookPoints)
        h.resize(kHookPoints - 1);
    while (h.size() < kHookPoints)
        h.append(c);
    return h;
}

QPointF clampedShape(QPointF pair)
{
    return QPointF(std::clamp(pair.x(), 0.001, 0.999), std::clamp(pair.y(), 0.1, 3.0));
}

} // namespace

QPointF Rod_Shape_Pair(const NoseRod& rod, int k)
{
    switch (k) {
    case 0:
        return rod.controlA[0];
    case 1:
        return rod.controlB[0];
    case 2:
        return rod.controlA[1];
    case 3:
        return rod.controlB[1];
    default:
        return QPointF();
    }
}

void Set_Rod_Shape_Pair(NoseRod* rod, int k, QPointF pair)
{
    switch (k) {
    case 0:
        rod->controlA[0] = pair;
        break;
    case 1:
        rod->controlB[0] = pair;
        break;
    case 2:
        rod->controlA[1] = pair;
        break;
    case 3:
        rod->controlB[1] = pair;
        break;
    default:
        break;
    }
}

bool is_rodUP(const ParaStruct* design)
{
    return design->rod1.index[0] > 0 || design->rod1.index[1] > 0;
}

bool is_rodDW(const ParaStruct* design)
{
    return design->rod2.index[0] > 0 || design->rod2.index[1] > 0;
}

bool is_rodUPSection(const ParaStruct* design, int k, int i)
{
    if (!is_rodUP(design) || i < 0 || i >= kRibSlots)
        return false;
    const int n = design->noseIndex[i];
    const int lo = std::min(std::max(n - design->rod1.index[0], 1), n);
    const int hi = std::min(std::max(n, n + design->rod1.index[1]), kLastPoint);
    return lo < k && k < hi;
}

bool is_rodDWSection(const ParaStruct* design, int k, int i)
{
    if (i < 0 || i >= kRibSlots)
        return false;
    const int n = design->noseIndex[i];
    const int m = lowerRodCentre(design, i);
    const int lo = std::max(n - 1, m - design->rod2.index[0]);
    const int hi = std::min(m + design->rod2.index[1], kLastPoint);
    return lo < k && k < hi;
}

QPolygonF Insert_MilarSpline(const ParaStruct* design, int i)
{
    if (!unfoldable(design, i))
        return QPolygonF();
    const int n = design->noseIndex[i];
    const QPointF Pu = flatPoint(design, i, n - mylarUpPoints(design));
    const QPointF Pd = flatPoint(design, i, n + mylarDownPoints(design));
    const QPointF Pn = flatPoint(design, i, n);
    Spline edge;
    edge.pointCount = 7;
    edge.degree = 3;
    edge.order = 4;
    edge.knotCount = 0;
    edge.side = 0;
    edge.points[0] = Pu;
    for (int j = 0; j < 5; ++j) {
        const double t = std::clamp(design->minirib.mylarSplineA[j], 0.001, 0.999);
        const double w = std::clamp(design->minirib.mylarSplineB[j], 0.1, 3.0);
        edge.points[j + 1] = fun_T(Pu, Pn, Pd, t, w);
    }
    edge.points[6] = Pd;
    Calculate_Spline_Poly(design, &edge);
    return edge.curve;
}

QPolygonF Insert_Rod1_Splines(const ParaStruct* design, int i, const QPolygonF& section)
{
    if (!unfoldable(design, i))
        return section;
    const int n = design->noseIndex[i];
    const QPointF Pa = flatPoint(design, i, n - design->rod1.index[0]);
    const QPointF Pb = flatPoint(design, i, n + design->rod1.index[1]);
    const QPointF Pp = flatPoint(design, i, n);
    QPointF C[5];
    for (int k = 1; k <= 4; ++k) {
        const QPointF s = clampedShape(Rod_Shape_Pair(design->rod1, k - 1));
        C[k] = fun_T(Pa, Pp, Pb, s.x(), s.y());
    }
    return hook(C[2], C[1], Pa) + section + hook(Pb, C[3], C[4]);
}

QPolygonF Insert_Rod2_Splines(const ParaStruct* design, int i, const QPolygonF& section)
{
    if (!unfoldable(design, i))
        return section;
    const int n = design->noseIndex[i];
    const int m = lowerRodCentre(design, i);
    const QPointF Pa = flatPoint(design, i, std::max(n, m - design->rod2.index[0]));
    const QPointF Pb = flatPoint(design, i, std::min(m + design->rod2.index[1], kLastPoint));
    const QPointF Pp = flatPoint(design, i, design->Find_i1up_index(i, std::clamp(m, 0, kLastPoint)));
    QPointF C[5];
    // The lower rod's pairs are taken as stored.
    for (int k = 1; k <= 4; ++k) {
        const QPointF s = Rod_Shape_Pair(design->rod2, k - 1);
        C[k] = fun_T(Pa, Pp, Pb, s.x(), s.y());
    }
    return hook(C[1], C[2], Pa) + section + hook(Pb, C[4], C[3]);
}

void Unfold_AirFoil(const ParaStruct* design, int i, QPolygonF* outline, QPolygonF* controls, QPolygon* controlSides,
                    QPolygonF* mylar, QPolygonF* rod1, QPolygonF* rod1Controls, QPolygonF* rod2,
                    QPolygonF* rod2Controls)
{
    if (!unfoldable(design, i))
        return;
    const int n = design->noseIndex[i];
    for (QPolygonF* p : {outline, controls, mylar, rod1, rod1Controls, rod2, rod2Controls})
        p->clear();
    *controlSides = QPolygon();
    outline->reserve(kAirfoilPoints);
    const int up = mylarUpPoints(design);
    const int down = mylarDownPoints(design);
    const QVector3D* curve = design->ribCurves3D[i];
    for (int k = 0; k < kAirfoilPoints; ++k) {
        const QPointF F = mapfoilPnt_3D_2D(0, curve[k], curve[0]);
        outline->append(F);
        if (design->is_Control(k, i)) {
            controls->append(F);
            controlSides->append(QPoint(k, k >= n ? 1 : 0));
        }
        if (n - up < k && k < n + down)
            mylar->append(F);
        if (is_rodUPSection(design, k, i)) {
            rod1->append(F);
            if (design->is_UpDwControl(k, i))
                rod1Controls->append(F);
        }
        if (is_rodDWSection(design, k, i)) {
            rod2->append(F);
            if (design->is_UpDwControl(k, i))
                rod2Controls->append(F);
        }
    }
    // A rod is its path traced there and back, which the rod band surrounds
    // on both sides.
    auto thereAndBack = [](QPolygonF path) {
        QPolygonF back = path;
        std::reverse(back.begin(), back.end());
        return path + back;
    };
    *rod1 = thereAndBack(Insert_Rod1_Splines(design, i, *rod1));
    *rod2 = thereAndBack(Insert_Rod2_Splines(design, i, *rod2));
    QPolygonF edge = Insert_MilarSpline(design, i);
    std::reverse(edge.begin(), edge.end());
    *mylar += edge;
}

void Unfold_AirFoil(const ParaStruct* design, int i, RibUnfolding* out)
{
    Unfold_AirFoil(design, i, &out->outline, &out->controls, &out->controlSides, &out->mylar, &out->rod1,
                   &out->rod1Controls, &out->rod2, &out->rod2Controls);
}

QPolygonF Rotate_Poly(double angle, QPointF centre, const QPolygonF& poly)
{
    QPolygonF out;
    out.reserve(poly.size());
    for (const QPointF& q : poly)
        out.append(RotFix(angle, centre.x(), centre.y(), q));
    return out;
}

QPolygon turn_I_Y(const QPolygon& poly)
{
    QPolygon out;
    out.reserve(poly.size());
    for (const QPoint& p : poly)
        out.append(QPoint(p.x(), 1000 - p.y()));
    return out;
}
