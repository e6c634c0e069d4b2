#pragma once

// Surface speed ratio along the chord for the current angle of attack.

#include "apps/aerolyx/ui/plotframe.h"

#include <QPolygonF>
#include <QRect>

namespace aerolyx {

class velocity : public ZoomView {
    Q_OBJECT
public:
    explicit velocity(QWidget* parent = nullptr);

    // The two curves (first and second half of the contour) and the airfoil
    // sketch, in widget coordinates before zoom and pan.
    QPolygonF Upper_Curve() const;
    QPolygonF Lower_Curve() const;
    QPolygonF Sketch() const;

public slots:
    void scaleView(qreal) {}

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void Layout() const;
    void X_Net(QPainter* painter);
    void paint_airfoil(QPainter* painter);
    void Velocity_Polar(QPainter* painter);
    QPolygonF Half_Curve(int first, int last) const;

    // The layout follows the widget's size and the record's angle; every paint
    // and every curve query sets it again.
    mutable QRect netRect;
    mutable double plotWidth = 0;
    mutable double plotHeight = 0;
    mutable int x0 = 0, y0 = 0;
    mutable int dx = 0, dy = 0;
    mutable double originX = 0, originY = 0;
    mutable double beta = 0;
};

} // namespace aerolyx
