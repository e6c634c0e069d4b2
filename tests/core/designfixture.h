#pragma once

// Designs for the recompute tests, built by formula on the heap: four distinct
// standard airfoils, a reference planform and a base line.

#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "shell/model/installhooks.h"

#include <QPolygonF>

#include <cmath>
#include <memory>

namespace fixture {

constexpr double kPi = 3.14159265358979323846;

// A standard airfoil of 1000 points: point 0 the upper trailing edge (1, 0),
// the upper side to the nose (0, 0) at index `nose`, the lower side back to
// the trailing edge at point 999. Half thickness about `thickness` / 2, a
// parabolic mean line of height `camber`.
inline QPolygonF standardAirfoil(double thickness, double camber, int nose = 500)
{
    auto half = [thickness](double x) { return 1.3 * thickness * std::sqrt(x) * (1 - x); };
    auto mean = [camber](double x) { return 4 * camber * x * (1 - x); };
    QPolygonF p;
    for (int i = 0; i <= nose; ++i) {
        const double x = 0.5 * (1 + std::cos(kPi * i / nose));
        p.append(QPointF(x, mean(x) + half(x)));
    }
    const int lower = 999 - nose;
    for (int j = 1; j <= lower; ++j) {
        const double x = 0.5 * (1 - std::cos(kPi * j / lower));
        p.append(QPointF(x, mean(x) - half(x)));
    }
    p.first() = QPointF(1, 0);
    p.last() = QPointF(1, 0);
    return p;
}

// The four design airfoils of the test wing: 17 % to 14 % thick.
inline void setDesignAirfoils(ParaStruct* d)
{
    d->designAirfoils[0] = standardAirfoil(0.17, 0.030);
    d->designAirfoils[1] = standardAirfoil(0.16, 0.025);
    d->designAirfoils[2] = standardAirfoil(0.15, 0.020);
    d->designAirfoils[3] = standardAirfoil(0.14, 0.015);
    for (int k = 0; k < 4; ++k)
        d->positionAirfoilIndex[k] = k;
}

// Planform with P0.x = 0 and P3.x = 1000.6 (half span 1000 plan units), a
// swept leading edge and a tapered trailing edge.
inline void setReferencePlanform(ParaStruct* d)
{
    const QPointF P[8] = {{0, 100},   {400, 100}, {800, 130}, {1000.6, 250},
                          {0, 400},   {400, 400}, {800, 380}, {1000.6, 320}};
    d->SaveCanopyPos(P);
}

// Rectangular planform of the given chord (plan units), half span 1000.
inline void setRectangularPlanform(ParaStruct* d, double chord)
{
    const QPointF P[8] = {{0, 100},         {333.5, 100},         {667, 100},         {1000.5, 100},
                          {0, 100 + chord}, {333.5, 100 + chord}, {667, 100 + chord}, {1000.5, 100 + chord}};
    d->SaveCanopyPos(P);
}

// A curved base line (its arc is longer than the half span).
inline void setCurvedBaseLine(ParaStruct* d)
{
    const QPointF F[4] = {{0, 100}, {400, 100}, {750, 200}, {900, 600}};
    d->SetFNodePos(F);
}

// A straight, flat base line.
inline void setStraightBaseLine(ParaStruct* d)
{
    const QPointF F[4] = {{0, 100}, {400, 100}, {800, 100}, {1200, 100}};
    d->SetFNodePos(F);
}

// A complete test wing of the given cell count, recomputed twice (the first
// run makes the rib airfoils the outline steps look for).
inline std::unique_ptr<ParaStruct> makeWing(int cells, bool recompute = true)
{
    Install_Recompute_Hooks();
    auto d = std::make_unique<ParaStruct>();
    d->span = 10.0;
    d->hangHeight = 7.0;
    d->cells = cells;
    d->Reset_CellsNumber();
    d->Setup_TransitionRibs();
    d->edgeTipFactor = 0.7;
    setDesignAirfoils(d.get());
    setReferencePlanform(d.get());
    setCurvedBaseLine(d.get());
    const double rows[kLineRows] = {2, 9, 13, 33, 55, 75, 85, 92, 97};
    for (int r = 0; r < kLineRows; ++r)
        d->rowPercent[r] = rows[r];
    if (recompute) {
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());
        d->Reset_Dyn_LineInd();
    }
    return d;
}

} // namespace fixture
