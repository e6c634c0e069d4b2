#pragma once

// Cross-port base shapes: the strip of eleven triangles between a rib's line
// attachment points and its upper surface (rib groups 0 and 1), the sixteen
// chordwise bands of a mini-rib (groups 2 and 3), their anchors on a given
// outline and the working copies the hole maker divides.
//
// Every user follows the same order on a working value of its own
// (HoleLayout): anchors (Set_Triang_Index_Values, Set_Triang_Index_Values2
// or Set_Trap_Index_Values23), base shapes on its own outline
// (Reset_baseTri_Array or Reset_baseTrap_Array), the working set
// (Calc_current_grup_all_tribase or Calc_current_grup_all_trap), then the
// holes of each working shape (holefun.h). The design is only read: its line
// indexes, airfoils, span and the values a reset gives (crossPortHoles,
// crossPortOffset, crossPortCorner). An editor that shows and keeps the
// layout puts what the project file stores of it into its design with
// Keep_Hole_Layout, and keeps the working shapes itself.

#include <QPointF>
#include <QPolygonF>

#include "core/structuredata.h"

class ParaStruct;

// What the hole layout works out on one outline: crossPortTriIndex (13
// triangle anchors), trapIndex[0..6] (upper midpoints between consecutive
// line rows), baseTriPoints (anchor points), trapIndexA / trapIndexB (upper
// and lower band stations), baseTrapPoints[0..2] (top, middle, bottom
// station rows), the groups' base shapes placed on the outline (crossPorts)
// and their working copies (baseTriangles[0..10], baseTraps[0..15]). The
// design keeps, under the same names, what the project file stores: the
// anchors, the band stations and the base shapes.
struct HoleLayout {
    int crossPortTriIndex[13]{};
    int trapIndex[8]{};
    QPointF baseTriPoints[13];
    int trapIndexA[9]{};
    int trapIndexB[9]{};
    QPointF baseTrapPoints[3][9];
    CrossPorts crossPorts[kCrossPortGroups];
    Triang baseTriangles[13];
    Trap baseTraps[18];
};

// The layout as the design holds it: the start of a layout of its own.
HoleLayout Hole_Layout_Of(const ParaStruct& design);
// The stored parts of the layout taken anew from the design, the working
// shapes and points left as they are.
void Refresh_Hole_Layout(const ParaStruct& design, HoleLayout* layout);
// Puts the stored parts of the layout into the design (an editor keeps what
// it shows); shapes that are as the design has them are left as they are.
void Keep_Hole_Layout(ParaStruct* design, const HoleLayout& layout);

// Anchors of the triangle strip from the rib's own airfoil indexes (for
// outlines that keep the airfoil's 1000-point indexing). Nothing for a rib
// without airfoil.
void Set_Triang_Index_Values(const ParaStruct& design, int rib, HoleLayout* layout);
// The same anchors found on the rib outline (airfoil indexing) and moved to
// the nearest points of the work outline.
void Set_Triang_Index_Values2(const ParaStruct& design, int rib, const QPolygonF& ribOutline,
                              const QPolygonF& workOutline, HoleLayout* layout);
// The nine band stations of the mini-rib trapezoids on the outline.
void Set_Trap_Index_Values23(const ParaStruct& design, const QPolygonF& outline, HoleLayout* layout);

// Builds triangle slots 0..10 of the group on the outline from the anchors;
// with `reset` every slot also takes the design's current hole values.
// Leaves the group as it was for an empty outline, a group outside 0..4 or a
// negative anchor (the anchor points before it are updated).
void Reset_baseTri_Array(const ParaStruct& design, const QPolygonF& outline, int group, bool reset,
                         HoleLayout* layout);
// Builds the sixteen trapezoids of the group on the outline from the band
// stations (slots 0..7 have zero height); `reset` as above.
void Reset_baseTrap_Array(const ParaStruct& design, const QPolygonF& outline, int group, bool reset,
                          HoleLayout* layout);

// Working copies of the group's shapes, outline rebuilt and marked valid;
// triangles also get their web width in plan units from the design's span.
void Calc_current_grup_single_tribase(const ParaStruct& design, int group, int i, HoleLayout* layout);
void Calc_current_grup_all_tribase(const ParaStruct& design, int group, HoleLayout* layout);
void Calc_current_grup_single_trap(int group, int i, HoleLayout* layout);
void Calc_current_grup_all_trap(int group, HoleLayout* layout);

// Rewrites the lower band of the diagonals (diagIndexTableA, copied into
// diagIndexTableB) for ribs firstRib .. lastRib - 1: per bottom row b (line
// rows A .. D) the attachment index less and plus the truncated
// rib_glob_factor x diagTableRows[b][rib].
void Set_DW_Bottom_Shift(ParaStruct* design);

// The web width (offset) of every base shape of the four groups in plan
// units, from its width in millimetres and the span: a step of the
// recompute, so that a new span reaches the stored shapes at once, not
// when an editor or a view next builds them.
void Refresh_Cross_Port_Offsets(ParaStruct* design);

// Lower-surface index of band station k (see crossports.cpp).
int set_trap_ddw(const QPolygonF* outline, int nose, int k);

// Index of the point of poly nearest to p, the first of equally near ones;
// -1 for an empty polygon or when none is nearer than 10000.
int Nearest_UP_PointF_index(QPointF p, const QPolygonF* poly);
// Index of the point of b nearest to a[i] among b's points n + 1 .. end (the
// lower surface behind nose index n); -1 when there are none, a[i] does not
// exist or none is nearer than 10000.
int Nearest_DW_PointF_index(int i, int n, const QPolygonF* a, const QPolygonF* b);

// An airfoil of chord 1 scaled to s drawing units with y turned downward.
QPolygonF init_Work_Airfoil(QPolygonF foil, double s);
