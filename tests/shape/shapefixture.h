#pragma once

// The live design of the editor tests: a realistic test wing built by
// formula and recomputed, copied into the one live record.

#include "tests/core/designfixture.h"
#include "core/calcul3d.h"
#include "tests/common/scripteduser.h"
#include "core/parastruct.h"

#include <QPainterPath>

namespace shapefixture {

inline ParaStruct* liveWing(int cells)
{
    auto wing = fixture::makeWing(cells);
    ParaStruct* live = GetDataStruct();
    *live = *wing;
    // skin-tension markers inside their zones on rib 1
    const int nose = live->noseIndex[1];
    const int top = live->topIndex[1];
    const int bottom = live->bottomIndex[1];
    live->skinControlIndex[1] = (top + nose) / 2;
    live->skinControlIndex[2] = (live->lineIndex[1][1] + bottom) / 2;
    live->skinControlIndex[3] = nose - 40;
    live->skinControlIndex[4] = top / 2;
    live->skinControlIndex[5] = (bottom + 999) / 2;
    Refresh_Calculations(live);
    return live;
}

} // namespace shapefixture
