#include "aero/ui/grafclass.h"

#include "core/parastruct.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// The wheel step as the chart has always taken it, in single precision.
const double kWheelStep = double(0.025f);

QPen dottedPen(const QColor& color, double width)
{
    return QPen(QBrush(color), width, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

grafClass::grafClass(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    setFont(QFont(QStringLiteral("times"), 8));
    const QFontMetrics metrics(font());
    charWidth = metrics.horizontalAdvance(QLatin1Char('X'));
    charHeight = metrics.height();
}

void grafClass::store(ChartMode mode, int n, const double* x, const double* y, const QString& t,
                      const QString& xc, const QString& yc, double sx, double sy, int gx, int gy)
{
    title = t;
    xCaption = xc;
    yCaption = yc;
    xScale = sx;
    yScale = sy;
    xGrid = gx;
    yGrid = gy;
    xDecimals = 1;
    yDecimals = Chart_Y_Decimals(mode, gy);
    velocityMode = mode == ChartMode::Velocity;
    finesseMode = mode == ChartMode::Finesse;
    points = Chart_Points(mode, n, x, y);
    calcMinMax(points, &xMin, &xMax, &yMin, &yMax);
    xRange = xMax - xMin;
    yRange = yMax - yMin;
    // Worked out here, once per chart, not on every paint.
    xLabelValues.clear();
    if (finesseMode) {
        for (const QPointF& p : points)
            xLabelValues.append(calculate_displacement_shift(*design, p.x()));
    }
    optimum = opt_Vx_poly(points);
    if (velocityMode && !points.isEmpty() && design->towForce >= 0)
        optimumText = QString::number(std::hypot(points.at(optimum).x(), points.at(optimum).y()) * 3.6, 'f', 2);
    reset_grafRect();
    repaint();
}

void grafClass::setGrafArray(int n, const double* x, const double* y, const QString& t, const QString& xc,
                             const QString& yc, double sx, double sy, int gx, int gy)
{
    store(ChartMode::Curve, n, x, y, t, xc, yc, sx, sy, gx, gy);
}

void grafClass::setGrafFinesse(int n, const double* x, const double* y, const QString& t, const QString& xc,
                               const QString& yc, double sx, double sy, int gx, int gy)
{
    store(ChartMode::Finesse, n, x, y, t, xc, yc, sx, sy, gx, gy);
}

void grafClass::setVelocityGraf(int n, const double* x, const double* y, const QString& t, const QString& xc,
                                const QString& yc, double sx, double sy, int gx, int gy)
{
    store(ChartMode::Velocity, n, x, y, t, xc, yc, sx, sy, gx, gy);
}

void grafClass::load(const PolarChart& c)
{
    store(c.mode, c.count, c.x, c.y, c.title, c.xCaption, c.yCaption, c.sx, c.sy, c.gx, c.gy);
}

void grafClass::reset_grafRect()
{
    viewWidth = width();
    viewHeight = height();
    frameRect = QRect(0, 0, int(viewWidth), int(viewHeight));
    zoom = 1;
    offsetX = viewWidth * 0.125 - xMin * viewWidth / xRange;
    offsetY = viewHeight * 0.25 - yMin * viewHeight / yRange;
    startView = true;
}

void grafClass::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A window that grows takes its chart with it, unless the user moved
    // the chart since its start view.
    if (startView)
        reset_grafRect();
}

QPolygonF grafClass::scalePoly(const QPolygonF& poly) const
{
    QPolygonF out;
    out.reserve(poly.size());
    for (const QPointF& p : poly)
        out.append(QPointF(p.x() * viewWidth / xRange, p.y() * viewHeight / yRange));
    return out;
}

void grafClass::transformPainter(QPainter* painter) const
{
    painter->translate(offsetX, offsetY);
    painter->scale(zoom, zoom);
}

QPolygonF grafClass::screenCurve() const
{
    QPolygonF curve;
    if (!(xRange > 0 && yRange > 0))
        return curve;
    for (const QPointF& p : scalePoly(points))
        curve.append(QPointF(offsetX, offsetY) + zoom * p);
    return curve;
}

QLineF grafClass::screenTangent() const
{
    if (!velocityMode || design->towForce < 0 || points.isEmpty() || !(xRange > 0 && yRange > 0))
        return QLineF();
    const QPointF touch = scalePoly({points.at(optimum)}).first();
    return QLineF(QPointF(offsetX, offsetY), QPointF(offsetX, offsetY) + zoom * touch);
}

QFont grafClass::titleFont() const
{
    QFont big(QStringLiteral("times"), 14);
    big.setWeight(QFont::Thin);
    return big;
}

ChartTextBoxes grafClass::textBoxes() const
{
    const double W = viewWidth, H = viewHeight;
    const QFontMetricsF big(titleFont()), small(font());
    const QRectF wantedTitle(W * 0.3, 4 * charWidth - big.ascent(), big.horizontalAdvance(title), big.height());
    QRectF wantedNote;
    const QLineF tangent = screenTangent();
    if (!tangent.isNull()) {
        // Centred below the point the tangent touches, inside the chart.
        const double w = small.horizontalAdvance(Optimum_Text(points.at(optimum)));
        const double x = std::clamp(tangent.p2().x() - w / 2, 0.0, std::max(0.0, W - w));
        wantedNote = QRectF(x, tangent.p2().y() + 2 * charHeight - small.ascent(), w, small.height());
    }
    // Clear of the grid values along the top, the bottom and the left, and
    // of the two axis captions.
    const double valueWidth = small.horizontalAdvance(
        QStringLiteral("%1").arg(-std::max(std::fabs(yMin), std::fabs(yMax)) * std::fabs(yScale), 0, 'f', yDecimals));
    const QRectF bounds(0, charHeight + 2, W, std::max(0.0, H - 2 * (charHeight + 2)));
    const QList<QRectF> obstacles = {QRectF(0, 0, 1.2 * charWidth + valueWidth + 2, H)};
    const QRectF wantedX(W * 0.8, H - 1.5 * charWidth - small.ascent(), small.horizontalAdvance(xCaption),
                         small.height());
    // The y caption reads upwards from its foot at (7 characters, H / 2).
    const double yLength = small.horizontalAdvance(yCaption);
    const QRectF wantedY(7 * charWidth - small.ascent(), H * 0.5 - yLength, small.height(), yLength);
    return Place_Chart_Texts(bounds, screenCurve(), tangent, obstacles, wantedTitle, wantedNote,
                             xCaption.isEmpty() ? QRectF() : wantedX, yCaption.isEmpty() ? QRectF() : wantedY);
}

// ---------------------------------------------------------------- input

void grafClass::wheelEvent(QWheelEvent* event)
{
    if (event->angleDelta().y() > 0)
        zoom += zoom * kWheelStep;
    else
        zoom -= zoom * kWheelStep;
    startView = false;
    update();
}

void grafClass::mousePressEvent(QMouseEvent* event)
{
    lastMousePos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        reset_grafRect();
        repaint();
    }
}

void grafClass::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->buttons() & Qt::MiddleButton) {
        offsetX += pos.x() - lastMousePos.x();
        offsetY += pos.y() - lastMousePos.y();
        startView = false;
        repaint();
    }
    lastMousePos = pos;
}

// ---------------------------------------------------------------- paint

void grafClass::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(frameRect, Qt::lightGray);
    painter.drawRect(frameRect);
    drawAxes(&painter);
    // A chart without extent has nothing to draw but its frame.
    if (!(xRange > 0 && yRange > 0))
        return;
    const QPolygonF screenPoints = scalePoly(points);
    painter.save();
    transformPainter(&painter);
    painter.setPen(QPen(QBrush(Qt::red), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawPolyline(screenPoints);
    if (velocityMode && design->towForce >= 0)
        drawOptLine(&painter, screenPoints);
    painter.restore();
    // The note in the chart's own pixels, where neither the curve nor the
    // tangent runs through it.
    const QRectF note = textBoxes().note;
    if (!note.isNull() && !points.isEmpty()) {
        painter.setFont(font());
        painter.setPen(Qt::red);
        painter.drawText(note, Qt::AlignLeft | Qt::AlignVCenter, Optimum_Text(points.at(optimum)));
    }
}

void grafClass::drawAxes(QPainter* painter)
{
    const double W = viewWidth;
    const double H = viewHeight;
    if (xRange > 0 && yRange > 0) {
        const QPen gridPen = dottedPen(Qt::white, 0);
        const QPen axisPen = dottedPen(Qt::blue, 2);
        const double xStep = xRange / xGrid;
        int i = 0;
        for (double u = xMin; u <= xMax; u += xStep, ++i) {
            const double X = zoom * W * u / xRange + offsetX;
            painter->setPen(gridPen);
            painter->drawLine(QPointF(X, 0), QPointF(X, H));
            double value = u * xScale;
            if (finesseMode)
                value = i < xLabelValues.size() ? xLabelValues.at(i) * xScale : qQNaN();
            const QString label = QStringLiteral("%1").arg(value, 0, 'f', xDecimals);
            painter->setPen(Qt::blue);
            painter->drawText(QPointF(X - charWidth / 2, charHeight), label);
            painter->drawText(QPointF(X - charWidth / 2, H), label);
        }
        if (velocityMode) {
            painter->setPen(axisPen);
            painter->drawLine(QPointF(offsetX, 0), QPointF(offsetX, H));
        }
        const double yStep = yRange / yGrid;
        const double ySign = velocityMode ? 1.0 : -1.0;
        for (double v = yMin; v <= yMax + yStep / 2; v += yStep) {
            const double Y = zoom * H * v / yRange + offsetY;
            painter->setPen(gridPen);
            painter->drawLine(QPointF(0, Y), QPointF(W, Y));
            painter->setPen(Qt::blue);
            painter->drawText(QPointF(charWidth * 1.2, Y + charHeight / 2),
                              QStringLiteral("%1").arg(ySign * v * yScale, 0, 'f', yDecimals));
        }
    }
    painter->setPen(dottedPen(Qt::blue, 2));
    painter->drawLine(QPointF(0, offsetY), QPointF(W, offsetY));
    painter->setPen(Qt::blue);
    const ChartTextBoxes texts = textBoxes();
    const double ascent = QFontMetricsF(painter->font()).ascent();
    if (!texts.yCaption.isNull())
        vertDraw(painter, QPointF(texts.yCaption.left() + ascent, texts.yCaption.bottom()), yCaption);
    if (!texts.xCaption.isNull())
        painter->drawText(texts.xCaption.topLeft() + QPointF(0, ascent), xCaption);
    const QFont big = titleFont();
    painter->setFont(big);
    painter->drawText(texts.title.topLeft() + QPointF(0, QFontMetricsF(big).ascent()), title);
}

void grafClass::drawOptLine(QPainter* painter, const QPolygonF& screenPoints)
{
    if (points.isEmpty())
        return;
    painter->setPen(QPen(QBrush(Qt::black), 2, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawLine(QPointF(0, 0), screenPoints.at(optimum));
}

void vertDraw(QPainter* painter, QPointF p, const QString& s)
{
    painter->rotate(-90);
    painter->drawText(QPointF(-p.y(), p.x()), s);
    painter->rotate(90);
}
