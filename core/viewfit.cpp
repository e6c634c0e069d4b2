#include "core/viewfit.h"

#include <algorithm>
#include <cmath>

ViewFit Fit_In(const QRectF& drawing, const QRectF& area, double maxZoom)
{
    return Fit_In(drawing, area, maxZoom, FitAlign::Centre);
}

ViewFit Fit_In(const QRectF& drawing, const QRectF& area, double maxZoom, FitAlign align)
{
    ViewFit fit;
    const QRectF d = drawing.normalized();
    const QRectF a = area.normalized();
    if (!(a.width() > 0) || !(a.height() > 0) || !std::isfinite(a.width()) || !std::isfinite(a.height()))
        return fit;
    double zoom = std::numeric_limits<double>::infinity();
    if (d.width() > 0)
        zoom = std::min(zoom, a.width() / d.width());
    if (d.height() > 0)
        zoom = std::min(zoom, a.height() / d.height());
    if (maxZoom > 0)
        zoom = std::min(zoom, maxZoom);
    if (!std::isfinite(zoom) || !(zoom > 0))
        zoom = 1.0;
    fit.zoom = zoom;
    // Centred by default; a kept edge puts the drawing's edge on the area's.
    const bool left = align == FitAlign::TopLeft || align == FitAlign::Left;
    const bool top = align == FitAlign::TopLeft || align == FitAlign::Top;
    const double x = left ? a.left() - zoom * d.left() : a.center().x() - zoom * d.center().x();
    const double y = top ? a.top() - zoom * d.top() : a.center().y() - zoom * d.center().y();
    fit.offset = QPointF(x, y);
    return fit;
}
