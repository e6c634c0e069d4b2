#include "apps/driftline/wsuit.h"

#include "core/transf.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {

const double Pi = 3.14159265358979323846;
const double PickDistance = 5;  // pixels, Manhattan length
const double TipAfter = 0.5;    // s: earlier samples show no tip
const int LabelEvery = 250;     // samples between two time labels

QPen makePen(Qt::GlobalColor colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(QBrush(colour, Qt::SolidPattern), width, style, Qt::SquareCap, Qt::BevelJoin);
}

QString fixed(double v, int decimals)
{
    return QStringLiteral("%1").arg(v, 3, 'f', decimals);
}

bool isFinite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

} // namespace

QString flightInfoText(const Flight &f)
{
    return QStringLiteral("time:%1 sec \n U:%2 km/h \n angle:%3 \n U-x:%4 \n U-y:%5 \n"
                          " [dX:%6; dY:%7] \n Att[deg]:%8 \n Acc/g:%9")
        .arg(fixed(f.time, 1), fixed(f.U * 3.6, 1), fixed(f.angle * 180 / Pi, 1),
             fixed(f.Ux * 3.6, 1), fixed(f.Uy * 3.6, 1), fixed(f.dX, 0), fixed(f.dY, 0),
             fixed(f.att, 1), fixed(f.acc / 9.81, 2));
}

WSuit::WSuit(QWidget *parent)
    : QWidget(parent)
{
    // Let the form's style sheet paint the background under the drawing.
    setAttribute(Qt::WA_StyledBackground);
    initWingSuitClass();
}

void WSuit::initWingSuitClass()
{
    takeExtents();
    panX = 0;
    panY = 0;
    zoom = 1;
    x_range = 1000;
    y_range = 1000;
    lastMouse = QPoint(0, 0);
}

void WSuit::takeExtents()
{
    wsRect = QRect(0, 0, width(), height());
    drawHeight = wsRect.height() - 1;
    drawWidth = wsRect.width() - 1;
    topMargin = 0.1 * drawHeight;
    leftMargin = 0.1 * drawWidth;
}

void WSuit::set_att_angle(double v)
{
    GlideSimulation::set_att_angle(v);
    repaint();
}

void WSuit::frameDone()
{
    repaint();
}

QPointF WSuit::planePoint(const Flight &f) const
{
    return QPointF(leftMargin + drawWidth * f.dX / x_range, topMargin + drawHeight * f.dY / y_range);
}

void WSuit::transformPainter(QPainter &painter)
{
    QTransform t;
    t.translate(panX, panY);
    t.scale(zoom, zoom);
    painter.setTransform(t);
}

void WSuit::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The chart, the grid and the path all lay out for the current size.
    takeExtents();
    painter.drawRect(wsRect);
    draw_Polars(&painter);
    transformPainter(painter);
    painter.save();
    draw_Net(&painter);
    draw_flight(&painter);
    painter.restore();
}

void WSuit::draw_Net(QPainter *painter)
{
    QFont font = painter->font();
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    font.setPointSize(std::max(1, drawHeight / 150));
    painter->setFont(font);
    painter->setPen(makePen(Qt::black, 0, Qt::DotLine));

    if (x_range > 0) {
        for (double X = 0; X <= x_range; X += 0.1 * x_range) {
            const int sx = int(leftMargin + drawWidth * X / x_range);
            painter->drawText(QPoint(sx, int(topMargin)), fixed(X, 1));
            painter->drawLine(sx, int(topMargin), sx, int(topMargin + drawHeight));
        }
    }
    if (y_range > 0) {
        for (double Y = 0; Y <= y_range; Y += 0.1 * y_range) {
            const int sy = int(topMargin + drawHeight * Y / y_range);
            painter->drawText(QPoint(int(leftMargin), sy), fixed(Y, 1));
            painter->drawLine(int(leftMargin), sy, int(leftMargin + drawWidth), sy);
        }
    }
    painter->drawText(QPoint(500, 25), QStringLiteral(" < painting finished >"));
}

void WSuit::draw_flight(QPainter *painter)
{
    const QPen red = makePen(Qt::red, 1);
    const QPen black = makePen(Qt::black, 0);
    QPointF p(0, 0);
    painter->setPen(red);
    for (int i = 0; i < flights.size(); ++i) {
        flight = flights.at(i);
        const QPointF q = planePoint(flight);
        // A glide with an impossible mass or area runs into numbers that
        // are no points; they are left out.
        if (!isFinite(q))
            continue;
        p = q;
        painter->drawPoint(p);
        if (i % LabelEvery == 0) {
            painter->setPen(black);
            painter->drawText(p, fixed(flight.time, 1));
            painter->setPen(red);
        }
    }
    paint_pilot(painter, p, flight.angle, att_angle);
}

void WSuit::paint_pilot(QPainter *painter, QPointF P, double theta, double alpha)
{
    const double phi = theta - alpha * Pi / 180;
    if (!std::isfinite(phi))
        return;
    const QPointF A = P + QPointF(35, 0);
    const QPointF B = rotLine(phi, P, A);
    const QPointF C = rotLine(phi + 0.13962634015954636, P, A);

    painter->setPen(makePen(Qt::black, 1));
    painter->setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter->drawPolygon(QPolygonF({P, B, C}), Qt::OddEvenFill);
    painter->drawEllipse(QRectF((B + C) / 2 - QPointF(2, 2), QSizeF(4, 4)));

    const QPointF P1 = (P + B + C) * 0.33333;
    painter->setBrush(QBrush(Qt::yellow, Qt::SolidPattern));
    painter->drawPolygon(QPolygonF({P1, B, C}), Qt::OddEvenFill);
}

void WSuit::draw_Polars(QPainter *painter)
{
    const double w = drawWidth, h = drawHeight;
    const double W = 0.45 * w, H = 0.3 * h;
    const QPointF O(0.5 * w, 0.05 * w + H);

    painter->setPen(makePen(Qt::black, 2));
    painter->drawRect(QRectF(0.5 * w, 0.05 * w, W, H));

    const QVector<QPointF> CL = Inter_Poly(6, t_kot, t_Cl, 100);
    const QVector<QPointF> CD = Inter_Poly(6, t_kot, t_Cd, 100);
    if (CL.isEmpty() || CD.size() != CL.size())
        return;
    const double angleScale = W / CL.last().x();
    const double coefScale = H / CL.last().y();

    painter->setPen(makePen(Qt::black, 0));
    for (int i = 0; i <= 20; ++i) {
        const double x = O.x() + i * 0.05 * W;
        painter->drawLine(QPointF(x, O.y()), QPointF(x, O.y() - H));
        painter->drawText(QPointF(x - 10, O.y() + 0.1 * H), fixed(2.25 * i, 1));
    }
    painter->setPen(makePen(Qt::blue, 0));
    for (int i = 0; i <= 10; ++i) {
        const double y = O.y() - i * 0.1 * H;
        painter->drawLine(QPointF(O.x(), y), QPointF(O.x() + W, y));
        painter->drawText(QPointF(O.x() - 20, y), fixed(i * 0.1 * CL.last().y(), 1));
    }

    const double legendX = O.x() - 100;
    painter->setPen(makePen(Qt::blue, 0));
    painter->drawText(QPointF(legendX, O.y() - 0.5 * H), QStringLiteral("CL"));
    painter->setPen(makePen(Qt::red, 0));
    painter->drawText(QPointF(legendX, O.y() - 0.3 * H), QStringLiteral("CD"));
    painter->setPen(makePen(Qt::cyan, 0));
    painter->drawText(QPointF(legendX, O.y() - 0.7 * H), QStringLiteral("CL/CD"));

    painter->setPen(makePen(Qt::blue, 2));
    for (const QPointF &c : CL)
        painter->drawPoint(QPointF(O.x() + c.x() * angleScale, O.y() - c.y() * coefScale));
    painter->setPen(makePen(Qt::red, 2));
    for (const QPointF &c : CD)
        painter->drawPoint(QPointF(O.x() + c.x() * angleScale, O.y() - c.y() * coefScale));

    double rMax = 0;
    for (int i = 0; i < CL.size(); ++i)
        rMax = std::max(rMax, CL[i].y() / CD[i].y());
    const double ratioScale = H / rMax;
    painter->setPen(makePen(Qt::cyan, 0));
    for (int i = 0; i <= 10; ++i)
        painter->drawText(QPointF(O.x() + 10, O.y() - i * 0.1 * H), fixed(i * 0.1 * rMax, 1));
    QPolygonF ratio;
    for (int i = 0; i < CL.size(); ++i)
        ratio << QPointF(O.x() + CL[i].x() * angleScale, O.y() - CL[i].y() / CD[i].y() * ratioScale);
    painter->setPen(makePen(Qt::cyan, 2));
    painter->drawPolyline(ratio);
}

Flight WSuit::find_flight_point()
{
    if (flights.isEmpty())
        return Flight();
    for (const Flight &f : flights) {
        const QPointF q = planePoint(f);
        if (!isFinite(q))
            continue;
        const double dx = std::trunc(q.x()) - lastMouse.x();
        const double dy = std::trunc(q.y()) - lastMouse.y();
        if (std::abs(dx) + std::abs(dy) <= PickDistance)
            return f;
    }
    return flights.first();
}

void WSuit::showInfoPnt(QPointF p, const QString &text)
{
    QToolTip::showText(mapToGlobal(p.toPoint()), text, this);
}

void WSuit::mousePressEvent(QMouseEvent *event)
{
    pressed = true;
    lastMouse = event->position().toPoint();
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons & Qt::LeftButton) {
        panX = panY = 0;
        zoom = 1;
        animate_flight();
    } else if (buttons & Qt::RightButton) {
        panX = panY = 0;
        zoom = 1;
        flight = find_flight_point();
        if (flight.time > TipAfter)
            showInfoPnt(lastMouse, flightInfoText(flight));
    }
}

void WSuit::mouseMoveEvent(QMouseEvent *event)
{
    if (!pressed)
        return;
    const QPoint pos = event->position().toPoint();
    if (event->buttons() & Qt::MiddleButton) {
        panY += pos.y() - lastMouse.y();
        repaint();
    }
    lastMouse = pos;
}

void WSuit::mouseReleaseEvent(QMouseEvent *)
{
    pressed = false;
}

void WSuit::wheelEvent(QWheelEvent *)
{
}

void WSuit::keyPressEvent(QKeyEvent *)
{
}

void WSuit::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    animate_flight();
}
