#include "apps/driftline/wsuit.h"

#include "core/chartlabels.h"
#include "core/transf.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
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
    painter.save();
    transformPainter(painter);
    draw_Net(&painter);
    draw_flight(&painter);
    painter.restore();
    // The chart is an inset: drawn last, over the flight plane.
    draw_Polars(&painter);
}

QFont WSuit::netFont() const
{
    QFont f = font();
    f.setWeight(QFont::Normal);
    f.setStyle(QFont::StyleNormal);
    // Large enough to read at the window's form size, growing with it.
    f.setPixelSize(std::max(10, drawHeight / 70));
    return f;
}

QList<NetLabel> Net_Labels(QPointF origin, QSizeF extent, double xRange, double yRange, const QList<QRectF> &keepOff,
                           const std::function<double(const QString &)> &textWidth, double ascent, double lineHeight)
{
    // A distance label goes down its line (beside it, left, when the line
    // itself is taken), a height label left of its line, or along it.
    QList<QPointF> down, along{QPointF(-1.1, 0)};
    for (int k = 1; k <= 12; ++k)
        down << QPointF(0, 0.5 * k) << QPointF(-1.1, 0.5 * k);
    for (int k = 1; k <= 24; ++k)
        along << QPointF(0.25 * k, 0);
    QList<NetLabel> labels;
    QList<QRectF> taken = keepOff;
    auto place = [&](const QRectF &wanted, const QString &text, const QList<QPointF> &moves) {
        const QRectF at = Place_Labels({wanted}, moves, QRectF(), taken).first();
        if (at.isNull())
            return;
        labels.append({at, text});
        taken.append(at);
    };
    if (xRange > 0) {
        for (double X = 0; X <= xRange; X += 0.1 * xRange) {
            const QString text = fixed(X, 1);
            const int sx = int(origin.x() + extent.width() * X / xRange);
            place(QRectF(sx, int(origin.y()) - ascent, textWidth(text), lineHeight), text, down);
        }
    }
    if (yRange > 0) {
        // The origin is labelled once, by the distance axis.
        for (double Y = 0.1 * yRange; Y <= yRange; Y += 0.1 * yRange) {
            const QString text = fixed(Y, 1);
            const int sy = int(origin.y() + extent.height() * Y / yRange);
            place(QRectF(int(origin.x()), sy - ascent, textWidth(text), lineHeight), text, along);
        }
    }
    return labels;
}

QList<QRectF> Path_Cover(const QPolygonF &path)
{
    QList<QRectF> cover;
    QPointF last;
    for (const QPointF &p : path) {
        if (!cover.isEmpty() && QLineF(last, p).length() < 3)
            continue;
        cover << QRectF(p - QPointF(1.5, 1.5), QSizeF(3, 3));
        last = p;
    }
    return cover;
}

const WSuit::Overlays &WSuit::overlays() const
{
    const QSize size(drawWidth, drawHeight);
    if (overlayCache.size == size && overlayCache.glide == glide)
        return overlayCache;
    overlayCache.size = size;
    overlayCache.glide = glide;
    // The path of the whole glide with its time labels, and the fields.
    const QFontMetricsF net(netFont());
    const QPolygonF path = foreseenPath();
    const auto width = [&net](const QString &t) { return net.horizontalAdvance(t); };
    QList<QRectF> keepOff = fieldRects();
    keepOff << Path_Cover(path);
    QList<QPointF> timePoints;
    QStringList timeTexts;
    for (int i = LabelEvery; i < foreseen.size(); i += LabelEvery) {
        timePoints << planePoint(foreseen[i]);
        timeTexts << fixed(foreseen[i].time, 1);
    }
    overlayCache.times = Time_Label_Boxes(timePoints, timeTexts, QRectF(0, 0, drawWidth, drawHeight), keepOff,
                                          width, net.ascent(), net.height());
    for (const QRectF &box : overlayCache.times)
        if (!box.isNull())
            keepOff << box;
    overlayCache.labels = Net_Labels(QPointF(leftMargin, topMargin), QSizeF(drawWidth, drawHeight), x_range,
                                     y_range, keepOff,
                                     [&net](const QString &t) { return net.horizontalAdvance(t); }, net.ascent(),
                                     net.height());
    QList<QRectF> chartOff = fieldRects();
    for (const NetLabel &l : overlayCache.labels)
        chartOff << l.box;
    for (const QRectF &box : overlayCache.times)
        if (!box.isNull())
            chartOff << box;
    const QFontMetricsF chart(chartFont());
    overlayCache.chart = Polar_Inset(QSizeF(drawWidth, drawHeight), chartOff, 1.5 * chart.height(), path);
    return overlayCache;
}

QList<NetLabel> WSuit::netLabels() const
{
    return overlays().labels;
}

QList<QRectF> WSuit::timeLabels() const
{
    return overlays().times;
}

QList<QRectF> Time_Label_Boxes(const QList<QPointF> &points, const QStringList &texts, const QRectF &bounds,
                               const QList<QRectF> &keepOff,
                               const std::function<double(const QString &)> &textWidth, double ascent,
                               double lineHeight)
{
    // Above the path first, where the text stood, then below it, then
    // behind the point (the glide runs on to the right).
    QList<QPointF> moves;
    for (int k = 1; k <= 4; ++k)
        moves << QPointF(0, -0.5 * k) << QPointF(0, 0.5 * k);
    for (int k = 1; k <= 4; ++k)
        moves << QPointF(-1, -0.5 * k) << QPointF(-1, 0.5 * k);
    QList<QRectF> boxes;
    QList<QRectF> taken = keepOff;
    for (int k = 0; k < points.size() && k < texts.size(); ++k) {
        const QPointF p = points[k];
        QRectF at;
        if (std::isfinite(p.x()) && std::isfinite(p.y()))
            at = Place_Labels({QRectF(p.x(), p.y() - ascent, textWidth(texts[k]), lineHeight)}, moves, bounds,
                              taken)
                     .first();
        boxes << at;
        if (!at.isNull())
            taken << at;
    }
    return boxes;
}

void WSuit::draw_Net(QPainter *painter)
{
    const QFont font = netFont();
    const QFontMetricsF metrics(font);
    painter->setFont(font);
    painter->setPen(makePen(Qt::black, 0, Qt::DotLine));

    if (x_range > 0) {
        for (double X = 0; X <= x_range; X += 0.1 * x_range) {
            const int sx = int(leftMargin + drawWidth * X / x_range);
            painter->drawLine(sx, int(topMargin), sx, int(topMargin + drawHeight));
        }
    }
    if (y_range > 0) {
        for (double Y = 0; Y <= y_range; Y += 0.1 * y_range) {
            const int sy = int(topMargin + drawHeight * Y / y_range);
            painter->drawLine(int(leftMargin), sy, int(leftMargin + drawWidth), sy);
        }
    }
    // Off the input fields that stand over the plane.
    for (const NetLabel &l : netLabels())
        painter->drawText(l.box.topLeft() + QPointF(0, metrics.ascent()), l.text);
    painter->drawText(QPoint(500, 25), QStringLiteral(" < painting finished >"));
}

void WSuit::draw_flight(QPainter *painter)
{
    const QPen red = makePen(Qt::red, 1);
    const QPen black = makePen(Qt::black, 0);
    const QList<QRectF> times = timeLabels();
    const qreal ascent = QFontMetricsF(painter->font()).ascent();
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
        // (the start, time 0, lies on the plane's labelled origin)
        const int label = i / LabelEvery - 1;
        if (i % LabelEvery == 0 && label >= 0 && label < times.size() && !times[label].isNull()) {
            painter->setPen(black);
            painter->drawText(times[label].topLeft() + QPointF(0, ascent), fixed(flight.time, 1));
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

QRectF Polar_Inset(const QSizeF &view, const QList<QRectF> &keepOff, double labelRoom, const QPolygonF &path)
{
    const double w = view.width(), h = view.height();
    QRectF chart(0.5 * w, 0.05 * w, 0.45 * w, 0.3 * h);
    const auto withLabels = [labelRoom](const QRectF &c) {
        return c.adjusted(-labelRoom, -labelRoom, labelRoom, labelRoom);
    };
    // Below everything it must keep off that stands over its column.
    const QRectF column(withLabels(chart).left(), 0, withLabels(chart).width(), h);
    double top = chart.top();
    for (const QRectF &f : keepOff)
        if (f.intersects(column) && f.top() < withLabels(chart).bottom())
            top = std::max(top, f.bottom() + labelRoom);
    chart.moveTop(top);
    // Then down the column, a label's room at a time, to the first place
    // the glide does not pass (the angle labels below it stay in the view).
    const double lowest = h - 1.5 * labelRoom - chart.height();
    QRectF best = chart;
    int fewest = -1;
    for (double y = top; y <= lowest + 1e-9 && fewest != 0; y += labelRoom) {
        QRectF c = chart;
        c.moveTop(y);
        const QRectF around = withLabels(c);
        if (std::any_of(keepOff.begin(), keepOff.end(), [&around](const QRectF &f) { return f.intersects(around); }))
            continue;
        const int covered = int(std::count_if(path.begin(), path.end(),
                                               [&around](const QPointF &p) { return around.contains(p); }));
        if (fewest < 0 || covered < fewest) {
            fewest = covered;
            best = c;
        }
    }
    best.setBottom(std::min(best.bottom(), h - 1.5 * labelRoom));
    return best;
}

PolarChart Polar_Chart(const QRectF &chart, const QVector<QPointF> &CL, const QVector<QPointF> &CD,
                       const std::function<double(const QString &)> &textWidth, double textHeight)
{
    PolarChart c;
    c.frame = chart;
    if (CL.isEmpty() || CD.size() != CL.size() || !(chart.width() > 0) || !(chart.height() > 0))
        return c;
    const double angleMax = CL.last().x();
    const double clMax = CL.last().y();
    double rMax = 0;
    for (int i = 0; i < CL.size(); ++i)
        rMax = std::max(rMax, CL[i].y() / CD[i].y());
    if (!(angleMax > 0) || !(clMax > 0) || !(rMax > 0) || !std::isfinite(rMax))
        return c;
    const QPointF O = chart.bottomLeft();
    const double W = chart.width(), H = chart.height();
    auto at = [&](double angle, double value, double top) {
        return QPointF(O.x() + angle / angleMax * W, O.y() - value / top * H);
    };
    // The angle axis: round angles, a label's width and a gap apart.
    const AxisTicks angles = Axis_Ticks(0, angleMax, W, 8, textWidth);
    for (int i = 0; i < angles.values.size(); ++i) {
        const double x = at(angles.values[i], 0, 1).x();
        const double tw = textWidth(angles.texts[i]);
        c.verticals.append(x);
        c.angleLabels.append({QRectF(x - tw / 2, O.y() + 3, tw, textHeight), angles.texts[i]});
    }
    // Lift on the left of the frame, glide ratio on its right: round values
    // a text height and a gap apart.
    const auto height = [textHeight](const QString &) { return textHeight; };
    const AxisTicks lifts = Axis_Ticks(0, clMax, H, 0.5 * textHeight, height);
    for (int i = 0; i < lifts.values.size(); ++i) {
        const double y = at(0, lifts.values[i], clMax).y();
        const double tw = textWidth(lifts.texts[i]);
        c.horizontals.append(y);
        c.liftLabels.append({QRectF(O.x() - 4 - tw, y - textHeight / 2, tw, textHeight), lifts.texts[i]});
    }
    const AxisTicks ratios = Axis_Ticks(0, rMax, H, 0.5 * textHeight, height);
    for (int i = 0; i < ratios.values.size(); ++i) {
        const double y = at(0, ratios.values[i], rMax).y();
        c.ratioLabels.append(
            {QRectF(O.x() + W + 4, y - textHeight / 2, textWidth(ratios.texts[i]), textHeight), ratios.texts[i]});
    }
    for (int i = 0; i < CL.size(); ++i) {
        c.lift << at(CL[i].x(), CL[i].y(), clMax);
        c.drag << at(CD[i].x(), CD[i].y(), clMax);
        c.ratio << at(CL[i].x(), CL[i].y() / CD[i].y(), rMax);
    }
    return c;
}

QList<QRectF> WSuit::fieldRects() const
{
    QList<QRectF> rects;
    for (const QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            rects.append(QRectF(child->geometry()));
    return rects;
}

QPolygonF WSuit::foreseenPath() const
{
    QPolygonF path;
    for (const Flight &f : foreseen) {
        const QPointF p = planePoint(f);
        if (isFinite(p))
            path << p;
    }
    return path;
}

PolarChart WSuit::polarChart() const
{
    const QFontMetricsF metrics(chartFont());
    const QRectF frame = overlays().chart;
    return Polar_Chart(frame, Inter_Poly(6, t_kot, t_Cl, 100), Inter_Poly(6, t_kot, t_Cd, 100),
                       [&metrics](const QString &t) { return metrics.horizontalAdvance(t); }, metrics.height());
}

QFont WSuit::chartFont() const
{
    QFont f = font();
    f.setWeight(QFont::Normal);
    f.setStyle(QFont::StyleNormal);
    f.setPixelSize(11);
    return f;
}

void WSuit::draw_Polars(QPainter *painter)
{
    const PolarChart c = polarChart();
    // A white ground, so that the chart's lines and texts read over the
    // flight plane's grid.
    painter->setPen(makePen(Qt::black, 2));
    painter->setBrush(Qt::white);
    painter->drawRect(c.frame);
    painter->setBrush(Qt::NoBrush);
    if (c.lift.isEmpty())
        return;
    painter->setFont(chartFont());

    painter->setPen(makePen(Qt::black, 0));
    for (double x : c.verticals)
        painter->drawLine(QPointF(x, c.frame.bottom()), QPointF(x, c.frame.top()));
    for (const ChartLabel &l : c.angleLabels)
        painter->drawText(l.box, Qt::AlignCenter, l.text);
    painter->setPen(makePen(Qt::blue, 0));
    for (double y : c.horizontals)
        painter->drawLine(QPointF(c.frame.left(), y), QPointF(c.frame.right(), y));
    for (const ChartLabel &l : c.liftLabels)
        painter->drawText(l.box, Qt::AlignRight | Qt::AlignVCenter, l.text);
    // Cyan does not read on the view's grey-green: the glide ratio's values
    // are written in its darker shade.
    painter->setPen(makePen(Qt::darkCyan, 0));
    for (const ChartLabel &l : c.ratioLabels)
        painter->drawText(l.box, Qt::AlignLeft | Qt::AlignVCenter, l.text);

    painter->setPen(makePen(Qt::blue, 2));
    for (const QPointF &p : c.lift)
        painter->drawPoint(p);
    painter->setPen(makePen(Qt::red, 2));
    for (const QPointF &p : c.drag)
        painter->drawPoint(p);
    painter->setPen(makePen(Qt::cyan, 2));
    painter->drawPolyline(c.ratio);

    // The legend in a box of its own at the lower right, where the curves
    // leave room.
    const QFontMetricsF metrics(chartFont());
    const QString names[3] = {QStringLiteral("CL"), QStringLiteral("CD"), QStringLiteral("CL/CD")};
    const Qt::GlobalColor colours[3] = {Qt::blue, Qt::red, Qt::darkCyan};
    double width = 0;
    for (const QString &n : names)
        width += metrics.horizontalAdvance(n) + 10;
    QRectF legend(c.frame.right() - width - 8, c.frame.bottom() - metrics.height() - 8, width + 4,
                  metrics.height() + 4);
    painter->setPen(makePen(Qt::black, 0));
    painter->setBrush(Qt::white);
    painter->drawRect(legend);
    painter->setBrush(Qt::NoBrush);
    double x = legend.left() + 6;
    for (int i = 0; i < 3; ++i) {
        painter->setPen(makePen(colours[i], 0));
        painter->drawText(QPointF(x, legend.top() + 2 + metrics.ascent()), names[i]);
        x += metrics.horizontalAdvance(names[i]) + 10;
    }
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
        startAnimation();
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
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    startAnimation();
}

void WSuit::startAnimation()
{
    // The chart takes its place from the whole glide, before the path
    // grows into it frame by frame.
    foreseen = Whole_Flight();
    ++glide;
    animate_flight();
}
