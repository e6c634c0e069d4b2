#pragma once

// The figures of the front view of the half wing, in the view's units: the
// half span is 1000, x runs outward along the span and y downward; the
// wing's centre lies at (0, 100) and the pilot (the hang point) hangs the
// hang height below it.

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>

class ParaStruct;

struct FrontViewFigures {
    double hangY = 100.0;      // y of the hang point
    QList<QPointF> ribs;       // ribs 0 .. lastRib (frontY, frontZ)
    QPointF tipRib;            // the last rib
    // The rib farthest out (the first of equals; the centre (0, 0) without
    // any rib right of it) and from it the projected span and the height of
    // the tip below the centre, both in metres.
    QPointF outermost;
    double projectedSpan = 0.0;
    double tipHeight = 0.0;
    // Angle at the hang point between the two tip ribs (radians).
    double openAngle = 0.0;
    // The flat span laid as an arc of radius hang height around the hang
    // point, from the left tip to the right, one point per cell edge, and
    // the angle it spans at the hang point (radians); with a cell beside the
    // centre and a hang height only.
    QPolygonF circle;
    double circleAngle = 0.0;
    // The reference curve of the half wing: the centre line of a wing whose
    // rib angle grows evenly to 45 degrees at the tip (same condition).
    QPolygonF reference;
    // Whether the base line is at least as long as the flat half span.
    bool arcReachesSpan = false;
};

// Angle at the hang point (0, hangY) between the upward vertical and the
// line to p, doubled (the angle between p and its mirror image): 0 to 2 pi.
double Front_Opening_Angle(QPointF p, double hangY);

// The figures of the design's current front view (frontY, frontZ,
// frontControlPoints and frontArcLength as WingTipGeometrySetup leaves them).
FrontViewFigures Front_View_Figures(const ParaStruct& design);

// Where the ribs' numbers stand: beside each rib's ring (radius
// `ringRadius`), at the first of the places right above, right below, left
// above, left below, above and below it that neither a line drawn there
// (`lines`: the arc, the reference circle and curve), nor a ring, nor a
// number placed before it covers; a number with no such place comes back
// null. `sizes` are the numbers' boxes, one per rib.
QList<QRectF> Rib_Number_Boxes(const QList<QPointF>& ribs, const QList<QSizeF>& sizes,
                               const QList<QPolygonF>& lines, double ringRadius);
