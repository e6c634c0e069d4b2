#pragma once

// The two views of the conformal mapping itself: the airfoil plane with the
// mapped grid, and the solver's tables over the circle angle.

#include "apps/aerolyx/ui/plotframe.h"

#include <QPolygonF>

namespace aerolyx {

// The airfoil plane: the loaded airfoil, its camber line, the contour the
// map reproduces and the images of a grid of circle-plane points.
class fft2Widget : public ZoomView {
    Q_OBJECT
public:
    explicit fft2Widget(QWidget* parent = nullptr);

    void scaleView(qreal) {}
    // Screen position of the airfoil-plane point p.
    QPointF To_Screen(QPointF p) const;
    // The circle-plane grid points outside the unit circle, mapped.
    QPolygonF Mapped_Grid() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void fft_Net(QPainter* painter);
    void Paint_Airfoil(QPainter* painter, const QPolygonF& poly, int colour);
    void paintPoints(QPainter* painter, QPointF p, int colour);
};

// The solver's tables as curves over the circle angle from 0 to 2 pi.
class xxtWidget : public ZoomView {
    Q_OBJECT
public:
    explicit xxtWidget(QWidget* parent = nullptr);

    void scaleView(qreal) {}
    // The eight curves, in drawing order, in (angle, value) coordinates; empty
    // before an airfoil is loaded.
    QList<QPolygonF> Curves() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void X_Net(QPainter* painter);
    void Paint_X(QPainter* painter, const QPolygonF& poly, int colour);
};

// The camber line of a closed outline: the first half of the outline's
// cosine (even) part.
QPolygonF SkeletonPoly(const myData* data, const QPolygonF& poly);

} // namespace aerolyx
