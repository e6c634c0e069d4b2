#include "shape/patternlimits.h"

#include "core/designinputs.h"
#include "core/parastruct.h"

#include <algorithm>

void Apply_PatternLimits(ParaStruct* design)
{
    if (!design)
        return;
    design->controlPointDiameter = std::max(design->controlPointDiameter, designinput::kControlPointDiameterLeast);
    design->edgeTipFactor = std::clamp(design->edgeTipFactor, designinput::kEdgeTipFactorLeast, designinput::kEdgeTipFactor.range.hi);
    const ValueRange cavity = designinput::kRearRibCavity.range;
    design->minirib.rearRibCavity = std::clamp(design->minirib.rearRibCavity, cavity.lo, cavity.hi);
}
