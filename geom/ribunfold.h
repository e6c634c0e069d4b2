#pragma once

// The full unfolding of a rib: its flat outline (the plane mapping of
// geom/patternfun.h), its control points with the side of the airfoil
// each lies on, and the nose reinforcements in the flat rib frame: the mylar
// sheet (a band along the nose closed by a spline edge) and the two rods (a
// nose rod and a lower rod), each a stretch of the rib outline with a hook
// at both ends. Also the two small polygon operations of the rib sheets.
//
// Flat rib frame: x is the 3-D x (along the chord), y the signed distance
// from the rib's trailing edge in the rib's cross plane (negative on the
// upper side for ribs whose plane has not turned past the horizontal), so
// the outline runs clockwise in airfoil index order. Plan units.

#include <QPointF>
#include <QPolygon>
#include <QPolygonF>

#include "geom/patternfun.h"

class ParaStruct;
struct NoseRod;

// The eight outputs of the full unfolding, in their order.
struct RibUnfolding {
    QPolygonF outline;      // the flat images of all 1000 rib points
    QPolygonF controls;     // every control point of the rib, in index order
    QPolygon controlSides;  // per control point (index, 1 on the lower side nose included, else 0)
    QPolygonF mylar;        // closed: outline stretch along the nose, then the spline edge back
    QPolygonF rod1;         // nose rod: its path there and back
    QPolygonF rod1Controls;
    QPolygonF rod2;         // lower rod: its path there and back
    QPolygonF rod2Controls;
};

// Shape pair k (0 .. 3) of a rod's four hook points: x the position t along
// the chord of the rod's ends, y the weight w pulling toward the rod's pull
// point (below 1) or away from it. The pairs of the rod's start (pairs 0, 1)
// and of its end (pairs 2, 3) are stored with the extent of that end.
QPointF Rod_Shape_Pair(const NoseRod& rod, int k);
void Set_Rod_Shape_Pair(NoseRod* rod, int k, QPointF pair);

// Whether the nose rod (rod1) / the lower rod (rod2) is defined at all.
bool is_rodUP(const ParaStruct* design);
bool is_rodDW(const ParaStruct* design);
// Whether airfoil point k of rib i lies on the nose rod: strictly between
// the nose less rod1.index[0] and the nose plus rod1.index[1].
bool is_rodUPSection(const ParaStruct* design, int k, int i);
// Whether it lies on the lower rod: strictly between max(nose - 1, m - left)
// and min(m + right, 999), m the midpoint of line rows O2 and A.
bool is_rodDWSection(const ParaStruct* design, int k, int i);

// The mylar's inner edge: the cubic spline from the point mylar-up before the
// nose over five shaping points to the point mylar-down after it.
QPolygonF Insert_MilarSpline(const ParaStruct* design, int i);
// A rod path: hook, the section's points, hook (two hooks of 50 points).
QPolygonF Insert_Rod1_Splines(const ParaStruct* design, int i, const QPolygonF& section);
QPolygonF Insert_Rod2_Splines(const ParaStruct* design, int i, const QPolygonF& section);

// Unfolds rib i into the eight outputs. A rib without airfoil (nose index 0)
// or a slot outside the tables leaves every output as it was.
void Unfold_AirFoil(const ParaStruct* design, int i, QPolygonF* outline, QPolygonF* controls, QPolygon* controlSides,
                    QPolygonF* mylar, QPolygonF* rod1, QPolygonF* rod1Controls, QPolygonF* rod2,
                    QPolygonF* rod2Controls);
void Unfold_AirFoil(const ParaStruct* design, int i, RibUnfolding* out);

// Every point turned counter-clockwise by angle (radians) about centre.
QPolygonF Rotate_Poly(double angle, QPointF centre, const QPolygonF& poly);
// (x, y) -> (x, 1000 - y): the V of UV outlines runs over the 1000 airfoil
// indexes.
QPolygon turn_I_Y(const QPolygon& poly);
