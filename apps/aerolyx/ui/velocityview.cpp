#include "apps/aerolyx/ui/velocityview.h"

#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/flow.h"
#include "core/transf.h"

#include <QPainter>

#include <cmath>

namespace aerolyx {

velocity::velocity(QWidget* parent)
    : ZoomView(parent)
{
    repaint();
}

void velocity::Layout() const
{
    const int W = width() - 1, H = height() - 1;
    netRect = QRect(QPoint(0, 0), QPoint(W, H));
    plotWidth = 0.85 * W;
    plotHeight = 0.4 * H;
    x0 = int(0.1 * W);
    y0 = int(0.85 * H);
    dx = int((int(x0 + 0.85 * W) - x0) / 10);
    dy = int((y0 - int(y0 - 0.4 * H)) / 10);
    originX = 0.1 * W;
    originY = 0.85 * H;
    beta = Effective_Angle(data);
}

void velocity::X_Net(QPainter* painter)
{
    const int W = width() - 1;
    painter->setPen(QPen(Qt::black, 0, Qt::DotLine));
    for (int i = 0; i <= 10; ++i) {
        const int x = x0 + i * dx;
        painter->drawLine(x, 0, x, y0 + 5);
        painter->drawText(x, y0 + 30, Fixed(i / 10.0, 1));
    }
    for (int j = 0; j <= 40; ++j) {
        const int y = y0 - j * dy;
        painter->drawLine(x0, y, W, y);
        if (j % 2 == 0)
            painter->drawText(x0 - 30, y, Fixed(j / 10.0, 1));
    }
    QFont font = painter->font();
    font.setPixelSize(12);
    font.setWeight(QFont::Bold);
    painter->setFont(font);
    const int middle = int(0.85 * W / 2);
    painter->drawText(middle, 40, QString("Incidence angle: %1").arg(data->attackAngle, 0, 'f', 2));
    painter->drawText(10, 15, "V(alpha att.");
    painter->drawText(W - 50, y0 - 30, "[x/c]");
    painter->drawText(x0 + 15, 30, "[v/V]");
    painter->setPen(QPen(Qt::red, 1));
    painter->drawText(middle, 60, "________ Up side");
    painter->setPen(QPen(Qt::blue, 1));
    painter->drawText(middle, 80, "________ lower side");
}

QPolygonF velocity::Sketch() const
{
    Layout();
    QPolygonF sketch;
    const double a = M_PI * data->attackAngle / 180.0;
    for (int i = 0; i <= 128; ++i) {
        QPointF p = f_conform(data, kMapCoefs, 1.0, i * 2.0 * M_PI / 128.0, data->mapShiftX,
                              data->mapShiftY, data->mapScale, data->mapCoefA, data->mapCoefB);
        p.setY(-p.y());
        p = RotFix(a, 1.0, 0.0, p);
        sketch << QPointF(p.x() * plotWidth + originX, p.y() * plotWidth + originY);
    }
    return sketch;
}

void velocity::paint_airfoil(QPainter* painter)
{
    painter->setPen(QPen(Qt::cyan, 2));
    painter->drawPolyline(Sketch());
}

QPolygonF velocity::Half_Curve(int first, int last) const
{
    Layout();
    const double vinf = f_V_Pot(data, kMapCoefs, 1e8, M_PI / 2, 0.0);
    QPolygonF curve;
    for (int i = first; i <= last; ++i) {
        const double phi = i * 2.0 * M_PI / 127.0;
        const double x = fin2_X(kMapCoefs, 1.0, phi, data->mapScale, data->mapShiftX, data->mapCoefA,
                                data->mapCoefB);
        const double v = f_V_Pot(data, kMapCoefs, 1.0, phi, beta);
        curve << QPointF(x * plotWidth + originX, originY - v * plotHeight / vinf);
    }
    return curve;
}

QPolygonF velocity::Upper_Curve() const
{
    return Half_Curve(0, 64);
}

QPolygonF velocity::Lower_Curve() const
{
    return Half_Curve(64, 127);
}

void velocity::Velocity_Polar(QPainter* painter)
{
    painter->setPen(QPen(Qt::red, 0));
    painter->drawPolyline(Upper_Curve());
    painter->setPen(QPen(Qt::blue, 0));
    painter->drawPolyline(Lower_Curve());
}

void velocity::paintEvent(QPaintEvent*)
{
    Layout();
    QPainter painter(this);
    Apply_Zoom(&painter);
    if (data->zeroFoil.isEmpty())
        return;
    X_Net(&painter);
    paint_airfoil(&painter);
    Velocity_Polar(&painter);
}

} // namespace aerolyx
