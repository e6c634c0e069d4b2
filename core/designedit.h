#pragma once

// How an edit reaches the design: every editor that changes the design
// record hands the change over here, so that the derived data, the rebuild
// revision the views and the analysis results compare against, and the
// flags other editors read follow the same rules whichever editor made it.

class ParaStruct;

// The rib bookkeeping of a wing of `cells` cells (both halves together).
// An odd count has a centre cell (rib 0 is its middle, rib 1 its side), an
// even count a centre rib (rib 0).
struct RibLayout {
    int firstRib = 0;  // 1 with a centre cell, 0 with a centre rib
    int sideCells = 0; // whole cells on one side beside the centre cell
    int lastRib = 0;   // the tip rib
    int lastCell = 0;  // the tip cell
    bool centreCell = false;
    bool centreRib = false;
};
RibLayout Rib_Layout(int cells);

// The cell counts the per-rib tables hold.
constexpr int kMinCells = 2;

// What an edit touched. It decides what follows:
//
//                 recompute   new revision   risers to update
//   Wing              x             x               x
//   Parts             x             x
//   Lines                           x               x
//   Marks                           x
//   Nothing           x
//
// Wing: what the lines hang from (outline, airfoils, attachment rows,
//   billow, pilot position, cell count).
// Parts: what sits in or on the wing without moving the attachment points
//   (diagonals, ports, mini-ribs, line lengths).
// Lines: the line plan, already placed by its editor.
// Marks: what is only drawn from stored values (seam allowances, stripes,
//   hole shapes); nothing derived depends on it.
// Nothing: no edit to commit (a record built by hand that no view has seen
//   yet): the derived data follow the record, and views and results keep
//   counting it as the design they know. A design read from its file is a
//   change of everything (Wing).
//
// After every edit applied here the derived data are current: a further
// recompute would derive every table as it stands. Views and editors read
// the design as they find it and recompute nothing to be sure.
enum class DesignEdit { Wing, Parts, Lines, Marks, Nothing };

// Applies an edit made to `design`: the recompute (whose last step places
// the lines on the wing as it now is) where the edit needs one, then a new
// rebuild revision for the views and results, and the flag that tells the
// riser editor the lines moved.
void Apply_Edit(ParaStruct* design, DesignEdit what);

// Gives a design being built the cell count `cells`: the rib bookkeeping,
// a rib layout of its own (no cell-width step, no rib shifts, the line
// attachment indexes reset) and the transition ribs of the new tip. Nothing
// is recomputed.
void Set_Cell_Count(ParaStruct* design, int cells);

// The user's change of the cell count, once the user has agreed to lose the
// line groups: Set_Cell_Count, every line group erased (its nodes and canopy
// ends name cells and ribs of the old count), and the edit applied as a
// change of the wing. The riser tree, which hangs from the groups' roots
// and not from the ribs, stays. Counts outside kMinCells .. kMaxCells and
// the count the design has change nothing. Returns whether the design
// changed.
bool Change_Cell_Count(ParaStruct* design, int cells);
