#include "core/designedit.h"

#include "core/calcul3d.h"
#include "core/parastruct.h"

RibLayout Rib_Layout(int cells)
{
    RibLayout r;
    r.firstRib = cells % 2; // remainder with the sign of cells
    r.sideCells = (cells - r.firstRib) / 2;
    r.lastRib = r.sideCells + r.firstRib;
    r.lastCell = r.lastRib - 1;
    r.centreCell = r.firstRib == 1;
    r.centreRib = r.firstRib == 0;
    return r;
}

void Apply_Edit(ParaStruct* design, DesignEdit what)
{
    if (!design)
        return;
    const bool recompute = what == DesignEdit::Wing || what == DesignEdit::Parts || what == DesignEdit::Nothing;
    if (recompute)
        Refresh_Calculations(design);
    // The revision is renewed after the recompute: whatever a view or a
    // result reads under the new number is what the recompute left.
    if (what != DesignEdit::Nothing)
        design->geometryChanged = true;
    if (what == DesignEdit::Wing || what == DesignEdit::Lines)
        design->linesOutdated = true;
}

void Set_Cell_Count(ParaStruct* design, int cells)
{
    if (!design)
        return;
    design->cells = cells;
    design->Reset_CellsNumber();
    // Before any recompute: the rib airfoils are morphed between the
    // transition ribs, which must be those of the new tip.
    design->Setup_TransitionRibs();
}

bool Change_Cell_Count(ParaStruct* design, int cells)
{
    if (!design || cells < kMinCells || cells > kMaxCells || cells == design->cells)
        return false;
    Set_Cell_Count(design, cells);
    // Erased here, at the change the user agreed to, and not when some editor
    // is next shown: until then a save, an export or a view would carry lines
    // ending off the new ribs or on ribs the wing no longer has.
    for (BridleGroup& group : design->bridle.groups)
        Erase_Line_Group(&group);
    Apply_Edit(design, DesignEdit::Wing);
    return true;
}
