#pragma once

// The glide-polar fixture: a rectangular wing of 10 cells with the chord
// 2.5 m and synthetic results of its 13 solver cases whose moment puts the
// centre of pressure at a chosen fraction of the chord.

#include "aero/apameres.h"

#include "core/parastruct.h"

#include <cmath>
#include <memory>

namespace polarfixture {

constexpr double kS = 25;      // flat area, m2
constexpr double kSpan = 10;   // m
constexpr double kMac = 2.5;   // mean chord = centre chord, m
constexpr double kAspect = 4;  // span^2 / area
constexpr double kPi = 3.141592653;
constexpr double kDeg = kPi / 180;

// A rectangular wing of 10 cells, chord 2.5 m, aerodynamic centre at a
// quarter of the chord (as the recompute finds it).
inline std::unique_ptr<ParaStruct> rectangularWing()
{
    auto d = std::make_unique<ParaStruct>();
    d->span = kSpan;
    d->cells = 10;
    d->Reset_CellsNumber();
    d->flatArea = kS;
    d->meanChord = kMac;
    d->flatAspectRatio = kAspect;
    d->projectedArea = 22;
    for (int r = 0; r <= d->lastRib; ++r) {
        d->chord[r] = 500; // drawing units: 2.5 m
        d->leadingEdgeX[r] = 100;
        d->trailingEdgeX[r] = 600;
        d->cellWidth[r] = 200;
    }
    d->hangHeight = 7;
    d->totalWeight = 100;
    d->towForce = 0;
    d->pilotArea = 0.45;
    d->pilotCd = 0.78;
    d->ropesCd = 1.0;
    d->oswaldFactor = 1.0;
    d->Calculate_meta_Center(0.25);
    return d;
}

// Lift and profile drag rising with the case; the moment of the whole wing
// force (induced drag included) acting at xcp (fraction of the chord) on the
// chord line, about the leading edge, nose-up positive.
inline ApameRes syntheticResults(double xcp = 0.25)
{
    ApameRes r;
    r.caseNum = 13;
    for (int k = 0; k < 13; ++k) {
        r.alpha[k] = k;
        r.clift[k] = 0.25 + 0.075 * k;
        r.cdrag[k] = 0.012 + 0.0004 * k * k;
        const double cdTotal = r.clift[k] * r.clift[k] / kPi / kAspect + 0.95 * r.cdrag[k];
        const double a = k * kDeg;
        r.cm[k] = -xcp * (r.clift[k] * std::cos(a) + cdTotal * std::sin(a));
    }
    return r;
}

} // namespace polarfixture
