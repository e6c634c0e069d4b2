#pragma once

// What the cross ports manager shows of one group on its work rib: the rib
// in drawing units, the inner outline the holes keep their distance from,
// the holes of every base shape of the group and the share of the rib that
// stays solid. Groups 0 and 1 are triangle strips, 2 and 3 trapezoid bands
// (crossports.h).

#include <QList>
#include <QPointF>
#include <QPolygonF>

class ParaStruct;
struct HoleLayout;

// Whether the group's base shapes are triangles (groups 0, 1) rather than
// trapezoids (groups 2, 3).
bool Cross_Port_Triangles(int group);
// Base shape slots a group shows: 11 triangles or 16 trapezoids.
int Cross_Port_Shape_Count(int group);

// The rib's outline moved inward by the edge offset (holeEdgeFactor, mm, as
// plan units), its crossed tails near the trailing edge cut off, resampled
// to the airfoil's point count, in drawing units (chord = scale, y
// downward). Empty for a rib without airfoil.
QPolygonF Cross_Port_Inner_Outline(const ParaStruct* design, int rib, double scale);

// The holes of every working shape of the group in the layout
// (baseTriangles 0..10 or baseTraps 0..15), in slot order.
QList<QPolygonF> Cross_Port_Group_Holes(const ParaStruct* design, const HoleLayout& layout, int group);

// The first base shape of the group whose outline holds p (odd-even rule);
// -1 when none does.
int Cross_Port_Shape_At(const ParaStruct* design, int group, QPointF p);

// The base shape's outline rebuilt from its corners.
QPolygonF Cross_Port_Shape_Outline(const ParaStruct* design, int group, int slot);

// Percentage of the rib's area left solid by the holes; 0 for a rib of no
// area. Rib and holes run the same way round.
double Solid_Area_Percent(const QPolygonF& foil, const QList<QPolygonF>& holes);
