#pragma once

// The live design of the editor tests: a realistic test wing built by
// formula and recomputed, copied into the one live record.

#include "../core/designfixture.h"
#include "calcul3d.h"
#include "modalhooks.h"
#include "parastruct.h"

#include <QPainterPath>

namespace shapefixture {

// The millimetres per plan unit come with the 3-D canopy step; while no
// canopy code is installed the tests set them the same way.
inline void canopyScaleOnly(ParaStruct* d)
{
    d->dxfScale = d->span / 1000 * 500;
}

inline ParaStruct* liveWing(int cells)
{
    if (!Recompute_Hook(RecomputeHook::SpaceCanopy))
        Set_Recompute_Hook(RecomputeHook::SpaceCanopy, canopyScaleOnly);
    auto wing = fixture::makeWing(cells);
    ParaStruct* live = GetDataStruct();
    *live = *wing;
    Refresh_Calculations(live);
    return live;
}

} // namespace shapefixture
