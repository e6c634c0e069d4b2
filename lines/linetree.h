#pragma once

// Where the nodes of a line tree lie. From the root downward every free node
// is put at its line's length (a fraction of the hang height) from its
// parent, aimed at the load-weighted centre of the canopy attachments it
// carries in 3-D and at their plain mean in the editors' 2-D scene. The same
// walk serves the line groups (L1..L4, brakes) and the riser tree.
//
// Children are found by 2-D point: a line belongs to a node when the 2-D
// point of the line's parent node equals the node's point, so two nodes at
// one point share their children. Nodes are addressed by their index in the
// group's point list, lines by the index of their pair.
//
// A tree of a damaged file may hold cycles; every walk here stops at a node
// already on its path instead of running away.

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QString>
#include <QVector3D>
#include <QVector4D>

#include <functional>

#include "lines/lineplan.h"

class ParaStruct;

// The frame leaves below a node: their 2-D points, and the same leaves as
// weighted 3-D points (w = weight). A leaf reached twice is listed twice.
using LeafSet2D = QList<QPoint>;
using LeafSet3D = QList<QVector4D>;

// Inconsistent line data (a leaf on no frame cell, a node outside the frame
// nodes) is reported at its scene point. By default the text goes to the
// warning output; an editor installs a tool tip. Returns the previous one.
using BridleWarning = std::function<void(QPoint scenePoint, const QString& text)>;
BridleWarning Set_Bridle_Warning(BridleWarning warning);

// --- Tree structure ----------------------------------------------------------

// (root node, index of its first line): the parent of the first pair whose
// parent is nobody's child; (-1, -1) without one.
QPoint find_root_index(const QPolygon& pairs);

// The root of a riser tree whose first `frameNodes` nodes are the riser
// frame: as find_root_index, but a node that only hangs a virtual line (a
// line to a frame node) is the root only while the tree has no other lines.
// So a virtual line left hanging from nothing, after a reset or when the line
// below it went, is never taken for the carabiner's line.
QPoint Riser_Root_Index(const QPolygon& pairs, int frameNodes);

// (child node, line) of every pair whose parent lies at `node`, in pair order.
QPolygon get_childs_id_list(QPoint node, const QPolygon* pairs, const QPolygon* points);
// The 2-D points of those children.
QPolygon get_firstchilds_list(QPoint node, const QPolygon* points, const QPolygon* pairs);

// --- Leaves ------------------------------------------------------------------------

// Adds the frame leaves below `node` to both sets, walking down the tree;
// the first n nodes are frame nodes. A node on the path down is not entered
// again, so a cycle in broken data ends the walk. Line groups look leaves up
// in the frame, the riser tree in the riser frame.
void make_last_child_set(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                         const QPolygon* points, const QPolygon* pairs, const BridleFrame& frame);
void make_raiser_LastChildSet(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                              const QPolygon* points, const QPolygon* pairs, const FrameRaiser* riserFrame);

// Empties both sets, then fills them with the leaves below `node`.
void MakeLastChildSet(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                      const QPolygon* points, const QPolygon* pairs, const BridleFrame& frame);
void MakeRaiserLastChildSet(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                            const QPolygon* points, const QPolygon* pairs, const FrameRaiser* riserFrame);

// 3-D point of the frame cell within 3.0 of the leaf at `pt` (ribs firstRib..
// lastRib, slots 0..8, own point before mirror); info = (rib, slot, side).
// (0, 0, 0) and info (-1, -1, -1) when no cell is in reach or the leaf is
// not one of the first n nodes.
QVector3D get_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points,
                          const BridleFrame& frame, int info[3]);
// The leaf as a weighted point: the cell's area share times the row weight,
// or 100 / (100 x relaxation + 1) on the brake row; 0 for a leaf on no cell.
QVector4D setup_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points,
                            QVector3D pos, const int info[3]);
// Riser twins: the riser frame point within 5.0 (info[0] = its index) and
// its weight, the group's share of the flying weight.
QVector3D get_Raiser_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points,
                                 const FrameRaiser* riserFrame, int info[3]);
QVector4D setup_Raiser_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points,
                                   QVector3D pos, const int info[3]);

// --- Centres and steps -----------------------------------------------------------

// Mean of the points, each coordinate rounded half up; (0, 0) when empty.
QPointF Center2d(const LeafSet2D& set);
// Weighted centre (negative weights count as 0); with all weights 0 the last
// point, and (0, 0, 0) when empty.
QVector3D Center3d(const LeafSet3D& set);

// From P a step t towards Q; for t < 0 the point |t| before Q.
QPointF nextT2d(double t, QPoint P, QPointF Q);
// The same in 3-D, in single precision.
QVector3D nextT3d(double t, QVector3D P, QVector3D Q);

// New 2-D point of child c hanging at step t from `parent`; the riser twin
// differs only in name (the riser's walk passes its longer 2-D step).
QPoint calculate_2dLine(int c, QPoint parent, double t, const QList<LeafSet2D>* sets2D);
QPoint raiser_2dLine(int c, QPoint parent, double t, const QList<LeafSet2D>* sets2D);
// New 3-D point of child c hanging at step t from parentPos.
QVector3D raiser_3dLine(int c, QVector3D parentPos, double t, const QList<LeafSet3D>* sets3D);

// --- Walks -------------------------------------------------------------------------

// Places every free node below `node` (at 2-D point node, 3-D point nodePos)
// and sets both ends of every line below it; a line to a frame node keeps its
// child end. t2 and t3 turn a line length into scene and plan units. The
// riser walk takes five times the 2-D step.
void WalkOverRoot(QPoint node, QVector3D nodePos, int n, double t2, double t3, QList<LineProp>* lines,
                  const QPolygon* pairs, QPolygon* points, const QList<LeafSet2D>* sets2D,
                  const QList<LeafSet3D>* sets3D);
void Walk_Cross_Raiser(QPoint node, QVector3D nodePos, int n, double t2, double t3, QList<LineProp>* lines,
                       const QPolygon* pairs, QPolygon* points, const QList<LeafSet2D>* sets2D,
                       const QList<LeafSet3D>* sets3D);

// --- Riser tops and roots -------------------------------------------------------

// riserTops[slot - 1] := weighted centre of riserHashes[slot] (slots 1..4).
void Raiser_Center3d(ParaStruct* design, int slot);
// Of the riser's stored lines, the first whose child node is k - 1: its
// parent end and its load; (0, 0, 0) and 0 when there is none.
QVector3D RaiserGrupLineRoot(int k, const BridleGroup& riser);
double RaiserGrupLineLoad(int k, const BridleGroup& riser);

// The hanging point of this wing half in plan units, below the wing:
// (legaX, carabinerDistance / 2, hangHeight).
QVector3D Carabiner_Point(const ParaStruct* design);

// --- Placing whole trees ---------------------------------------------------------

// What a placement did.
struct TreePlacement {
    bool placed = false;   // false: fewer than 2 lines, no node or no root
    int unsplitNodes = 0;  // nodes whose load could not be shared out (loads 0 below)
};

// Places line group `slot` (1..4 L1..L4 hanging from their riser lines and
// loaded with the riser line's load, 5 the brakes hanging from the carabiner
// without load) against `frame`; for L1..L4 then riserHashes[slot] and
// riserTops[slot - 1]. The group's lists are used as they are; nothing is
// stored.
TreePlacement Place_Line_Group(ParaStruct* design, int slot, BridleGroup* group, const BridleFrame& frame);

// Places the riser tree from the carabiner against the riser frame and
// loads it with half the flying weight. Nothing is stored.
TreePlacement Place_Riser(const ParaStruct* design, BridleGroup* riser, const FrameRaiser* riserFrame);

// What the bridle manager does on OK, on the design record itself: frame laid
// out again, canopy ends fastened to it, the riser, every line group (L1..L4
// and the brakes) and the riser again placed, loaded and stored, and the
// group loads set. Returns the number of nodes whose load could not be shared.
int Recalculate_Line_Plan(ParaStruct* design);

// The recompute's last step: the line trees follow the wing. Whenever the
// geometry they hang from changes (span, hang height, attachment rows,
// pilot position...), the riser and every line group that has lines are
// placed, loaded and stored again as on OK, so that the tables, the prints,
// the 3-D views and drawings, the polar and the project file read current
// lengths. The user's trees, lengths and diameters stay; groups without
// lines stay as stored, and so does a design without any line. A group
// drawn for another wing (Erase_Foreign_Line_Groups) is erased first, and
// the user told.
void Place_Line_Plan(ParaStruct* design);

// Whether the first f_start_id nodes of `group` are the design's frame nodes
// in their order, at the points the frame layout gives them.
bool Group_Fits_Frame(const ParaStruct* design, const BridleGroup& group);

// Whether the group (its lists rebuilt) hangs from the design's wing: its
// frame nodes are the design's (Group_Fits_Frame) and every canopy end names
// a cell the wing has: a rib firstRib..lastRib, a row A..brakes, on rib 0
// only its own side.
bool Group_On_Wing(const ParaStruct* design, const BridleGroup& group);

// Erases every line group with lines that does not hang from the design's
// wing: drawn for another number of cells, as a project written with the
// groups of an earlier count holds them, its frame nodes stand for other
// cells and its canopy ends lie off the attachment points or on ribs the
// wing no longer has. Such a group can be neither placed nor edited.
// Returns the group slots erased.
QList<int> Erase_Foreign_Line_Groups(ParaStruct* design);
