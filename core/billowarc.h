#pragma once

// Billow arcs: the outward bulge of the cloth drawn over a segment. Offsets
// along the normal of a segment, the nine-point arc of a given height, and
// the inflated outline of an airfoil. The normal of P -> Q is (-sin t, cos t)
// with t the direction angle of the segment ((0, 1) when P = Q). Lengths are
// in the caller's coordinates.

#include <QPointF>
#include <QPolygonF>

class ParaStruct;

// P moved by h along the normal of P -> Q.
QPointF xuberLeft(double h, QPointF P, QPointF Q);
// Q moved by h along the normal of P -> Q.
QPointF xuberRight(double h, QPointF P, QPointF Q);
QPointF umRight(double h, QPointF P, QPointF Q);

// Nine points of the arc of height |h| over P1 P2 (by Huygens' rule for the
// arc lengths), from P1 for h >= 0 and from P2 for h < 0, into out[0..8].
void arc_8Points(double h, QPointF P1, QPointF P2, QPointF* out);
// The same arc always from P1 to P2; it bulges toward the normal of P1 -> P2
// for h > 0, away from it for h < 0 and is straight for h = 0.
QPolygonF billow_arc(double h, QPointF P1, QPointF P2);

// The outline poly (y scaled by yScale) with point k moved along the normal
// of segment k by 2.5 times, by mode: 'D' the actual cap height of the cell
// beside the rib, 'H' the theoretical half-oversize times yScale, 'R' the
// skin tension, 'T' the theoretical cap height; any other mode keeps the
// previous segment's offset. The last point stays; fewer than two points
// give the single point (0, 0).
QPolygonF skint_dinamic(const ParaStruct* design, int rib, char mode, double yScale, QPolygonF poly);
