#include "apps/aerolyx/ui/mapviews.h"

#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/numutil.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>
#include <vector>

namespace aerolyx {

namespace {
constexpr double kGridLimitX = 4.0;
constexpr double kGridLimitY = 4.0 / 3.0;
} // namespace

fft2Widget::fft2Widget(QWidget* parent)
    : ZoomView(parent)
{
}

QPointF fft2Widget::To_Screen(QPointF p) const
{
    const double W = width() - 1, H = height() - 1;
    return {0.1 * W + 0.7 * W * p.x(), 0.5 * H - 0.7 * W * p.y()};
}

QPolygonF fft2Widget::Mapped_Grid() const
{
    QPolygonF points;
    const double step = data->gridDensity > 0 ? 0.5 / data->gridDensity : 0.2;
    for (double x = -kGridLimitX; x < kGridLimitX; x += step) {
        for (double y = -kGridLimitY; y < kGridLimitY; y += step) {
            if (x * x + y * y > 1.0)
                points << z_conform(data, kMapCoefs, QPointF(x, y), data->mapShiftX, data->mapShiftY,
                                    data->mapScale, data->mapCoefA, data->mapCoefB);
        }
    }
    return points;
}

void fft2Widget::fft_Net(QPainter* painter)
{
    const int W = width() - 1, H = height() - 1;
    painter->setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter->setPen(QPen(Qt::black, 0));
    painter->drawRect(0, 0, W, H);
    painter->setBrush(Qt::NoBrush);
    // The axes in a grey that shows on the black ground.
    painter->setPen(QPen(Qt::darkGray, 0));
    const int x0 = int(0.1 * W), y0 = int(0.5 * H);
    painter->drawLine(x0, 0, x0, H);
    painter->drawLine(0, y0, W, y0);
}

void fft2Widget::Paint_Airfoil(QPainter* painter, const QPolygonF& poly, int colour)
{
    if (poly.isEmpty())
        return;
    SetPenColor(painter, colour);
    const int every = std::max(1, int(std::lround(poly.size() / 64.0)));
    QPolygonF line;
    for (int i = 0; i < poly.size(); ++i) {
        const QPointF s = To_Screen(poly[i]);
        line << s;
        if (i % every == 0)
            painter->drawPoint(s);
    }
    painter->drawPolyline(line);
}

void fft2Widget::paintPoints(QPainter* painter, QPointF p, int colour)
{
    SetPenColor(painter, colour);
    painter->drawPoint(To_Screen(p));
}

void fft2Widget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Apply_Zoom(&painter);
    fft_Net(&painter);
    if (!data->zeroFoil.isEmpty())
        Paint_Airfoil(&painter, RotateFoilPoly(data, data->zeroFoil, -data->foilTurn), 2);
    Paint_Airfoil(&painter, data->inputFoil, 5);
    Paint_Airfoil(&painter, SkeletonPoly(data, data->inputFoil), 9);
    const QPolygonF contour = Main_Conform_Polygon(data, kMapCoefs, 1.0, data->mapShiftX, data->mapShiftY,
                                                   data->mapScale, data->mapCoefA, data->mapCoefB);
    if (!contour.isEmpty())
        Paint_Airfoil(&painter, contour, 2);
    SetPenColor(&painter, 3);
    for (const QPointF& p : Mapped_Grid())
        painter.drawPoint(To_Screen(p));
}

QPolygonF SkeletonPoly(const myData*, const QPolygonF& poly)
{
    const int n = poly.size();
    const int h = n / 2;
    // The series needs a power-of-two sample count.
    if (h < 1 || (n & (n - 1)) != 0)
        return {};
    std::vector<double> x(n), y(n), cx(n), cy(n);
    for (int i = 0; i < n; ++i) {
        x[i] = poly[i].x();
        y[i] = poly[i].y();
    }
    Fourier_Skeleton(n, h, x.data(), cx.data());
    Fourier_Skeleton(n, h, y.data(), cy.data());
    QPolygonF camber;
    for (int i = 0; i < h; ++i)
        camber << QPointF(cx[i], cy[i]);
    return camber;
}

xxtWidget::xxtWidget(QWidget* parent)
    : ZoomView(parent)
{
}

void xxtWidget::X_Net(QPainter* painter)
{
    const int W = width() - 1, H = height() - 1;
    QLinearGradient gradient(0, 0, W, H);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(200, 0, 0, 100));
    painter->fillRect(QRect(0, 0, W, H), gradient);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::black, 0));
    painter->drawRect(0, 0, W, H);

    const int x0 = int(0.1 * W), y0 = int(0.85 * H);
    const int x2pi = int(0.85 * W + x0), y1 = int(y0 - 0.75 * H);
    painter->drawLine(x0, 0, x0, H);
    painter->drawLine(x2pi, 0, x2pi, H);
    painter->drawText(x2pi, y0 + 20, "2Pi");
    painter->setPen(QPen(Qt::gray, 0, Qt::DotLine));
    const int xpi = (x0 + x2pi) / 2;
    painter->drawLine(xpi, 0, xpi, H);
    painter->setPen(QPen(Qt::gray, 0)); // a dotted pen drops the text
    painter->drawText(xpi, y0 + 20, "Pi");
    painter->setPen(QPen(Qt::black, 0));
    painter->drawText(x0 - 20, y1, "1.0");
    painter->drawText(x0 - 20, y0, "0.0");
    painter->drawLine(0, y0, W, y0);
    painter->drawLine(0, y1, W, y1);
}

void xxtWidget::Paint_X(QPainter* painter, const QPolygonF& poly, int colour)
{
    if (poly.isEmpty())
        return;
    SetPenColor(painter, colour);
    const double W = width() - 1, H = height() - 1;
    QPolygonF line;
    for (const QPointF& p : poly) {
        const QPointF s(0.1 * W + 0.85 * W / (2.0 * M_PI) * p.x(), 0.85 * H - 0.75 * H * p.y());
        line << s;
        painter->drawEllipse(QRectF(s.x() - 1, s.y() - 1, 2, 2));
    }
    painter->drawPolyline(line);
}

QList<QPolygonF> xxtWidget::Curves() const
{
    if (data->workFoil.isEmpty())
        return {};
    double walkedY[kFoilPoints], walkedMapY[kFoilPoints];
    f_fasc(kFoilPoints, data->circleY, walkedY);
    f_fasc(kFoilPoints, data->mapY, walkedMapY);
    return {Table_to_Polygon(kFoilPoints, data->foilX, 1.0),
            Table_to_Polygon(kFoilPoints, data->circleX, 1.0),
            Table_to_Polygon(kFoilPoints, data->mapX, 1.0),
            Table_to_Polygon(kFoilPoints, walkedY, 0.5),
            Table_to_Polygon(kFoilPoints, walkedMapY, 0.5),
            Table_to_Polygon(kFoilPoints, data->circleY, 0.5),
            Table_to_Polygon(kFoilPoints, data->thetaStep, 1.0),
            Table_to_Polygon(kFoilPoints, data->theta, 2.0 * M_PI)};
}

void xxtWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Apply_Zoom(&painter);
    X_Net(&painter);
    static const int colours[] = {6, 1, 3, 5, 3, 5, 9, 6};
    const QList<QPolygonF> curves = Curves();
    for (int i = 0; i < curves.size(); ++i)
        Paint_X(&painter, curves[i], colours[i]);
}

} // namespace aerolyx
