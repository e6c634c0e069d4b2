#pragma once

// The line plan of the design record (ParaStruct::bridle): how its frame,
// line groups and riser tree are addressed and kept.
//
// Frame. Slot s of the frame holds, for every rib, the attachment point of
// line row s + 2: slots 0..6 are rows "A".."G", slot 7 is the brake row at
// the trailing edge, slot 8 is never filled. A cell's 2-D point lies in the
// 1024 x 768 scene of the tree editors; its 3-D point on the rib curve in
// plan units (half span = 1000).
//
// Groups. The bridle manager names a line group by an index 2..7 (L1..L4,
// brakes = 7); the group lives in slot get_curr_bridle_grup(index) of
// bridle.groups. In a line group the first f_start_id() nodes are the frame
// nodes (slot-major, then rib, own point before mirror point; rib 0 has no
// mirror); later nodes are free (branching) nodes. In the riser tree the
// first lineGroupCount nodes are the riser frame points, node i standing for
// group L(i + 1).
//
// Stores. The fixed arrays and counts of a BridleGroup are the authoritative
// copy (the project file carries only them); every holder of a copy rebuilds
// the lists with Rebuild_Group_Lists before use and writes them back with
// Store_Group_Lists.

#include <QList>
#include <QPoint>
#include <QString>
#include <QVector3D>

#include "core/bridledata.h"

class ParaStruct;

using BridleFrame = FrameArr[kBridleRibs][kFrameSlots];

constexpr int kBrakeSlot = 7;       // frame slot of the brake row
constexpr int kBrakeGroupSlot = 5;  // group slot of the brakes
constexpr int kLaidOutSlots = 8;    // frame slots with points (0..7)

// --- Addressing -----------------------------------------------------------

// Group slot of a bridle-manager group index: 2..5 -> 1..4, 7 -> 5, else -1.
int get_curr_bridle_grup(int groupIndex);

// The attachment record of a line's child end.
origRLS set_origRLS(int rib, int slot, int side, int node, bool attached);

// Number of frame nodes of a line group: (cells + 1) x 8.
int f_start_id(const ParaStruct* design);

// Id for a new node: the last id + 1, 0 for an empty list.
int f_new_id(const QList<int>& ids);

// Line row of a frame slot: slot + 2 (slot 7, the brakes, is row 9).
int Frame_Slot_Row(int slot);

// Airfoil point index where line row `row` (0..8 "O1".."G", 9 the brake row)
// is attached on `rib`; -1 outside the tables.
int Row_Attachment_Index(const ParaStruct* design, int row, int rib);

// That attachment point on the 3-D rib curve (plan units); (0, 0, 0) outside
// the tables.
QVector3D Row_Attachment_Point(const ParaStruct* design, int row, int rib);

// --- Frame ----------------------------------------------------------------

// Scene point of frame slot `slot` (0..7) on `rib`, own side or mirrored.
QPoint Frame_Point_2D(const ParaStruct* design, int rib, int slot, bool mirror);

// Lays out slots 0..7 of ribs firstRib..lastRib: 2-D points, 3-D attachment
// points and their mirrors (rib 0 has no mirror). Slot 8 and other ribs are
// left as they are.
void Layout_Frame(const ParaStruct* design, BridleFrame& frame);

// --- Stores and lists ------------------------------------------------------

// Rebuilds the five lists from the stores. A stored count outside
// 0..1170 counts as 0 and is set to 0.
void Rebuild_Group_Lists(BridleGroup* group);

// Writes the five lists into the stores and their sizes into the counts.
// A list longer than the store is never written as an empty group: the
// group is refused (false, the user is told) and the stores stay as they were.
bool Store_Group_Lists(BridleGroup* group);

// --- Building a tree --------------------------------------------------------

// Empties the lists and adds the frame nodes of the design in their order,
// ids 0, 1, ... (the points are the frame's own-side and mirror 2-D points).
void Init_Line_Group(const ParaStruct* design, const BridleFrame& frame, BridleGroup* group);

// Appends a free node at `point`; its index, or -1 when the group is full
// (the user is told). `capacity` is the number of entries the group may hold.
int Add_Free_Node(BridleGroup* group, QPoint point, int capacity = kLineEntries);

// Appends a line from `parent` down to `child` with the given properties
// (its pair index is set) and, for a line group, its attachment. False when
// the group is full (the user is told) or a node does not exist.
bool Add_Group_Line(BridleGroup* group, int parent, int child, LineProp line,
                    const origRLS& attachment, int capacity = kLineEntries);
bool Add_Riser_Line(BridleGroup* riser, int parent, int child, LineProp line);

// Fastens the canopy ends again after the frame moved: every attached line
// takes the 2-D and 3-D point of its frame cell as its child end, and its
// child node takes the 2-D point. Only when lines and attachments agree in
// number.
void Reattach_Canopy_Ends(BridleGroup* group, const BridleFrame& frame);

// The riser frame of a fresh riser tree: one point per active line group on
// the line y = 153 of the scene, its 3-D point the group's riser top, each
// its own node; the riser's lists are emptied first.
void Init_Riser_Frame(const ParaStruct* design, FrameRaiser* riserFrame, BridleGroup* riser);

// Hangs every riser frame node on a short virtual line from a new free node
// `drop` scene points below it (length 0.05, diameter 0.02).
void Add_Riser_Virtual_Lines(const ParaStruct* design, const FrameRaiser* riserFrame, BridleGroup* riser,
                             int drop = 30);

// --- Editing a tree ----------------------------------------------------------

// Index of the frame node of cell (rib, slot, side) in a group made by
// Init_Line_Group; -1 when the design has no such cell (side 1 of rib 0, a
// rib outside firstRib..lastRib, a slot outside 0..7).
int Frame_Node_Index(const ParaStruct* design, int rib, int slot, int side);

// Removing lines never removes nodes: node indexes stay valid. A removed
// line takes its pair, its LineProp and (where the group has one) its
// attachment; later lines move down by one. Each returns the number of lines
// removed.
int Remove_Lines_With_Parent(BridleGroup* group, int node);
int Remove_Lines_With_Child(BridleGroup* group, int node);
int Remove_First_Line_With_Child(BridleGroup* group, int node);

// Removes every line that hangs from `node` and, with each, everything that
// hangs from its child end up to the canopy: the whole branch above the node,
// so that no line is left without a way down to the root. Lines hang from a
// node when their parent node lies at its 2-D point (as the placement finds
// them). Nodes stay. Returns the number of lines removed.
// In the riser tree the branch ends below the riser frame: a line whose child
// is one of the first `keptFrameNodes` nodes (a virtual line, which only a
// reset changes) stays; one left hanging from nothing has no load, as after a
// reset.
int Remove_Branch(BridleGroup* group, int node, int keptFrameNodes = 0);

// After a removal: a line that holds nothing carries nothing, so it goes
// too. Starting at free node `node`: when no line hangs from it any more,
// the lines ending at it are removed and their parent nodes looked at in
// turn, down to a node that still holds a line (or the root). The first
// `frameNodes` nodes are the frame (canopy ends, riser tops): they hold what
// the tree carries, and their lines stay. Nodes stay. Returns the number of
// lines removed.
int Remove_Lines_Holding_Nothing(BridleGroup* group, int node, int frameNodes);

// Frame slot on which the canopy ends of line group `groupSlot` start: rows
// A..D for L1..L4, the brake row for the brakes; -1 for other slots.
int Group_Home_Slot(int groupSlot);

// Moves the canopy ends of a group copied from group slot `copySlot` to the
// rows of group slot `pasteSlot`: every attached end goes by the difference
// of the two groups' home rows (L1 -> L2 moves row A to row B, L1 -> brakes
// row A to the brake row), kept within rows A..brakes, and is fastened to
// the frame node of its new cell. Ends whose new cell the design does not
// have stay where they were. The caller fastens the ends to the frame again
// (Reattach_Canopy_Ends).
void Move_Pasted_Ends(const ParaStruct* design, BridleGroup* group, int copySlot, int pasteSlot);
