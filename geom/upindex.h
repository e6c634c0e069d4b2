#pragma once

// The airfoil look-up the cross-ports are placed with. It needs no design
// record, so the airfoil library's mini-rib unfolding calls it too.

#include <QPolygonF>

// The upper-side partner of lower-side point k of an airfoil whose trailing
// edge is point 0 and whose nose is point i: the last upper point, counted
// from the trailing edge, that still lies behind point k (x at or above it).
// Returns i when the airfoil is empty, i < 1, k is not a point of it, or
// point 0 lies in front of point k; i - 1 when no upper point comes in
// front of point k before the nose.
int get_UPindex(const QPolygonF* P, int i, int k);
