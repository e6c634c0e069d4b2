#pragma once

// Fitting a drawing into a view: the zoom and offset at which the drawing's
// bounds show whole, centred, in a given area of the view. A view point is
// offset + zoom x drawing point. No widgets: the views take the numbers.

#include <QPointF>
#include <QRectF>

#include <limits>

struct ViewFit
{
    double zoom = 1.0;
    QPointF offset;

    QPointF toView(QPointF p) const { return offset + zoom * p; }
    QRectF toView(const QRectF& r) const { return QRectF(toView(r.topLeft()), toView(r.bottomRight())); }
    QPointF toDrawing(QPointF v) const { return (v - offset) / zoom; }
};

// The largest zoom, at most maxZoom, at which `drawing` fits inside `area`,
// and the offset that centres it there. A drawing without width (or height)
// is fitted by its other side; one without either keeps zoom maxZoom (1 when
// unbounded) and is centred. An empty or invalid area gives zoom 1 and no
// offset.
ViewFit Fit_In(const QRectF& drawing, const QRectF& area,
               double maxZoom = std::numeric_limits<double>::infinity());

// The same, with the drawing's left (or top, or both) edge kept at the
// area's: for views whose drawing grows from a corner.
enum class FitAlign { Centre, TopLeft, Top, Left };
ViewFit Fit_In(const QRectF& drawing, const QRectF& area, double maxZoom, FitAlign align);
