#include "structure/untwistedwing.h"

#include "core/calcul3d.h"
#include "core/parastruct.h"

#include <utility>

UntwistedWing::UntwistedWing() = default;
UntwistedWing::~UntwistedWing() = default;

ParaStruct* UntwistedWing::view(const ParaStruct& design)
{
    if (!record) {
        record = std::make_unique<ParaStruct>(design);
        RecomputeParams flat;
        flat.twist = 0.0;
        Refresh_Calculations(record.get(), flat);
        return record.get();
    }
    // Every table derived from the 3-D wing stays the untwisted wing's and
    // stays this record's alone: a computation reading it through the
    // record then copies nothing.
    auto arcLengths = std::move(record->airfoilArcLen);
    auto curves = std::move(record->ribCurves3D);
    auto flatGrid = std::move(record->flatGrid);
    auto inflatedGrid = std::move(record->inflatedGrid);
    auto patternOversize = std::move(record->patternOversize);
    auto clothOversize = std::move(record->clothHalfOversize);
    *record = design;
    record->airfoilArcLen = std::move(arcLengths);
    record->ribCurves3D = std::move(curves);
    record->flatGrid = std::move(flatGrid);
    record->inflatedGrid = std::move(inflatedGrid);
    record->patternOversize = std::move(patternOversize);
    record->clothHalfOversize = std::move(clothOversize);
    return record.get();
}

void UntwistedWing::forget()
{
    record.reset();
}
