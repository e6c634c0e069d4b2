#pragma once

// The 3-D drawing "Wl9_3D.dxf": the inflated canopy as a mesh of lines, the
// suspension lines of the line-group slots 1 to 5 and the risers, each for
// both halves of the wing, as 3-D LINE entities on the layers "Equilines"
// (colour 5), "Bridle" (6) and "Risers" (7). Written by "Export all" only;
// it has no preview.

#include "core/bridledata.h"

class ParaStruct;
class PieceSheet;
struct PatternSheet;

// Line-group slot `slot` (0 .. 5) and the riser group of the design's line
// plan, their lists rebuilt from the stored arrays (a count beyond the
// capacity counts as empty).
void Get_bridle_data(const ParaStruct* design, int slot, BridleGroup* group, BridleGroup* risers);

// Whether the riser line of the (parent, child) pair is drawn: the pair's
// child is at or beyond the number of line groups.
bool Riser_Drawn(int lineGroupCount, QPoint pair);

// The whole drawing of a current design (its inflated canopy as the
// recompute built it).
PieceSheet Drawing3D_Sheet(const PatternSheet& sheet);
