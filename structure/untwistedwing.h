#pragma once

// The wing as the structure editors lay it flat. Their views draw a rib's
// airfoil and, over it, what they unfold from the 3-D wing: the flat rib with
// its mylar and rods, the front and rear mini-ribs. With the wing's twist a
// rib lies turned against its own airfoil drawing, so they unfold from the
// wing built without twist. That wing belongs to the view, not to the
// design: the design keeps the twist the user set, and a save, the 3-D view
// or an analysis meanwhile read the wing as it is.

#include <memory>

class ParaStruct;

class UntwistedWing
{
public:
    UntwistedWing();
    ~UntwistedWing();
    UntwistedWing(const UntwistedWing&) = delete;
    UntwistedWing& operator=(const UntwistedWing&) = delete;

    // A record for a view's computations: the design's values as they stand
    // now, on the 3-D wing (rib curves, cell grids, oversizes) of the design
    // built without twist. The wing is built at the first call after
    // forget() (a whole recompute of a copy); later calls keep it, since
    // the editors change what lies on the ribs, not the wing. What the
    // computations write into the record stays there.
    ParaStruct* view(const ParaStruct& design);

    // The next view() builds the wing again: at the start of an editing
    // session, after which the design may have changed.
    void forget();
    bool isBuilt() const { return record != nullptr; }

private:
    // The record view() hands out; its derived tables are those of the
    // untwisted wing, held by it alone.
    std::unique_ptr<ParaStruct> record;
};
