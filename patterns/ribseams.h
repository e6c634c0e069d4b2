#pragma once

// Seam-allowance outlines of ribs, rods and rear mini-ribs: the outline
// offset outward by the allowance d (plan units; callers convert
// millimetres with ParaStruct::ToScreen). Each segment P -> Q is moved by d
// along its left normal, so a positive d is the outside of the clockwise
// outline of an unfolded rib.

#include <QPolygonF>

struct MiniRibFlat;

// Ribs and front mini-ribs: chords p[j] -> p[j + 4] for j = 0, 5, 10, ..
// while j < n - 6 (a chord whose ends have exactly the same x is left out),
// then the chord p[n - 3] -> p[n - 1] closes it. Empty for fewer than 3
// points.
QPolygonF Airfoil_ubermuss(double d, const QPolygonF& outline);

// A front mini-rib's cut line (outline: its open arc around the nose): that
// of Airfoil_ubermuss, closed along the edge where the mini-rib ends (the
// straight line from the arc's last point to its first), moved by |d| away
// from the nose; the two offset sides run on to meet it. Closed: its last
// point is its first.
QPolygonF Front_Airfoil_ubermuss(double d, const QPolygonF& outline);

// The band around a rod path traced there and back: the same chords, none
// left out, with the local fold-backs of the offset repaired (twice).
QPolygonF Rod_ubermuss(double d, const QPolygonF& rodPath);

// A rear mini-rib (outline: the flat outline of `rear`, moved): every
// segment offset, except along the cavity (from the last upper point over
// the cavity curve to its end), which is not sewn and keeps its points; at
// the trailing edge the two offset sides run on to |d| beyond the tip and
// are joined there. Closed (its last point is its first) for 3 points or
// more; empty for an empty outline.
QPolygonF Rear_Airfoil_ubermuss(const MiniRibFlat& rear, double d, const QPolygonF& outline);
