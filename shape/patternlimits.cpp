#include "shape/patternlimits.h"

#include "core/designinputs.h"
#include "core/parastruct.h"

#include <algorithm>

void Apply_PatternLimits(ParaStruct* design)
{
    if (!design)
        return;
    design->controlPointDiameter = std::max(design->controlPointDiameter, 1.0);
    design->edgeTipFactor = std::clamp(design->edgeTipFactor, 0.0025, designinput::kEdgeTipFactor.range.hi);
    const ValueRange cavity = designinput::kRearRibCavity.range;
    design->minirib.rearRibCavity = std::clamp(design->minirib.rearRibCavity, cavity.lo, cavity.hi);
}
