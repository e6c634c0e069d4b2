#include "apps/aerolyx/ui/polarviews.h"

#include "apps/aerolyx/calc/flow.h"
#include "core/chartlabels.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>

#include <algorithm>

#include <cmath>

namespace aerolyx {

namespace {
constexpr int kAngleDivisions = 15;
constexpr double kAngleRange = 15.0;

QString Value_Label(double v)
{
    return QString("%1").arg(v, 4, 'f', 4);
}

QString Row_Text(int alpha, double c)
{
    return QString("%1         %2").arg(double(alpha), 7, 'f', 2).arg(c, 7, 'f', 4);
}
} // namespace

PolarView::PolarView(QWidget* parent, const Style& s)
    : QWidget(parent)
    , data(GetMyData())
    , style(s)
{
    // The form's style sheets paint the views' backgrounds.
    setAttribute(Qt::WA_StyledBackground);
}

void PolarView::Layout() const
{
    w = width() - 1;
    h = height() - 1;
    halfWidth = 0.5 * w;
    quarterHeight = (h / 2) * 0.5;
    originX = halfWidth;
    originY = quarterHeight;
    if (style.wholePixelOrigin) {
        originX = int(originX);
        originY = int(originY);
    }
}

void PolarView::Sweep() const
{
    values.clear();
    for (int alpha = kFirstAngle; alpha <= kLastAngle; ++alpha)
        values << Coefficient(alpha);
    rangeFactor = Range_Factor();
}

double PolarView::Range_Factor() const
{
    // A cambered airfoil's moment lies below the view's own -0.1: the
    // range grows in steps of 1, 2 and 5 until it holds every value.
    double largest = 0;
    for (double c : values)
        if (std::isfinite(c))
            largest = std::max(largest, std::fabs(c));
    double factor = 1;
    while (largest > factor * style.yRange && factor < 1e6)
        factor = Next_Nice_Step(factor);
    return factor;
}

QPointF PolarView::Point(double alpha, double c) const
{
    const double dx = halfWidth / kAngleDivisions;
    return {originX + alpha * dx, originY - quarterHeight * c / (rangeFactor * style.yRange)};
}

QStringList PolarView::Grid_Labels() const
{
    Sweep();
    const double unit = rangeFactor * style.yLabelUnit;
    QStringList labels;
    for (int j = style.yDivisions; j >= 0; --j)
        if (j % style.labelEvery == 0)
            labels << Value_Label(j * unit);
    for (int j = 0; j <= style.yDivisions; ++j)
        if (j % style.labelEvery == 0)
            labels << Value_Label(-j * unit);
    return labels;
}

QFont PolarView::Grid_Font() const
{
    QFont f = font();
    f.setPixelSize(9);
    f.setWeight(QFont::Bold);
    return f;
}

QList<PolarView::AxisLabel> PolarView::Angle_Labels() const
{
    Layout();
    const QFontMetricsF metrics(Grid_Font());
    const double dx = halfWidth / kAngleDivisions;
    // Every few degrees, as many as stand a label and a gap apart over the
    // chart's width; a label that would stick out of the view is left out.
    const AxisTicks ticks = Axis_Ticks(-kAngleDivisions, kAngleDivisions, 2 * halfWidth, 6,
                                       [&metrics](const QString& t) { return metrics.horizontalAdvance(t); });
    // The zero of the value axis is written left of the origin, on the
    // angle axis' line: angle labels keep clear of it.
    const QString zero = Value_Label(0);
    const QRectF zeroLabel(originX - 4 - metrics.horizontalAdvance(zero), originY + 4 - metrics.ascent(),
                           metrics.horizontalAdvance(zero), metrics.height());
    QList<AxisLabel> labels;
    for (int i = 0; i < ticks.values.size(); ++i) {
        const double x = originX + ticks.values[i] * dx;
        const double tw = metrics.horizontalAdvance(ticks.texts[i]);
        const QRectF box(x - tw / 2, originY + 4 + metrics.descent(), tw, metrics.height());
        if (box.left() < 0 || box.right() > w || box.adjusted(-2, 0, 2, 0).intersects(zeroLabel))
            continue;
        labels.append({box, ticks.texts[i]});
    }
    return labels;
}

QList<PolarView::AxisLabel> PolarView::Value_Labels() const
{
    const QList<AxisLabel> angles = Angle_Labels(); // lays the view out
    const QPolygonF curve = Curve();
    const QFontMetricsF metrics(Grid_Font());
    const double dy = quarterHeight / style.yDivisions;
    const double unit = rangeFactor * style.yLabelUnit;

    QList<QRectF> obstacles;
    for (const AxisLabel& a : angles)
        obstacles << a.box;
    for (int i = 0; i < curve.size(); ++i) {
        // The point's ring, and the segment to the next in small squares.
        obstacles << QRectF(curve[i] - QPointF(4, 4), QSizeF(8, 8));
        if (i + 1 == curve.size())
            break;
        const QLineF segment(curve[i], curve[i + 1]);
        const int steps = std::clamp(int(segment.length() / 3), 1, 1000);
        for (int k = 1; k < steps; ++k)
            obstacles << QRectF(segment.pointAt(double(k) / steps) - QPointF(1.5, 1.5), QSizeF(3, 3));
    }

    QList<QString> texts;
    QList<QList<QRectF>> candidates;
    for (int j = 0; j <= style.yDivisions; ++j) {
        if (j % style.labelEvery != 0)
            continue;
        for (const int side : {1, -1}) {
            if (j == 0 && side < 0)
                continue;
            const double value = side * j * unit;
            const QString text = Value_Label(value);
            const double tw = metrics.horizontalAdvance(text);
            // The top and bottom labels kept whole inside the chart.
            const double baseline = side > 0 ? std::max(originY - j * dy + 4, metrics.ascent())
                                              : std::min(originY + j * dy + 4, h / 2.0);
            const double top = baseline - metrics.ascent();
            const double th = metrics.height();
            const double lineY = side > 0 ? originY - j * dy : originY + j * dy;
            texts << text;
            // On its line beside the axis, then above or below the line
            // (clear of the rings of points on it), then a label's width
            // farther out.
            QList<QRectF> places;
            for (const double x : {originX - 4 - tw, originX + 4})
                places << QRectF(x, top, tw, th);
            for (const double x : {originX - 4 - tw, originX + 4})
                places << QRectF(x, lineY - 5 - th, tw, th) << QRectF(x, lineY + 5, tw, th);
            for (const double x : {originX - 12 - 2 * tw, originX + 12 + tw})
                places << QRectF(x, top, tw, th) << QRectF(x, lineY - 5 - th, tw, th)
                       << QRectF(x, lineY + 5, tw, th);
            candidates << places;
        }
    }
    const QRectF chart(0, 0, w, h / 2.0 + metrics.descent());
    const QList<QRectF> placed = Place_Labels_Among(
        candidates, obstacles, [&chart](int, const QRectF& box) { return !chart.contains(box); });
    QList<AxisLabel> labels;
    for (int i = 0; i < placed.size(); ++i)
        if (!placed[i].isNull())
            labels.append({placed[i], texts[i]});
    return labels;
}

QColor PolarView::Text_Colour() const
{
    // The style sheets paint the views light or dark: the texts take the
    // colour that reads on it.
    return Readable_Text_Colour(palette().color(backgroundRole()));
}

void PolarView::RasterNet(QPainter* painter)
{
    Layout();
    Sweep();
    const double dx = halfWidth / kAngleDivisions;
    const double dy = quarterHeight / style.yDivisions;
    QFont font = Grid_Font();
    painter->setFont(font);
    const QColor ink = Text_Colour();
    const QPen dotted(QBrush(ink), 0, Qt::DotLine);
    const QPen axis(QBrush(Qt::cyan), 1, Qt::SolidLine);

    for (int i = 0; i <= kAngleDivisions; ++i) {
        painter->setPen(i == 0 ? axis : dotted);
        const double offset = style.lineStep * i * dx;
        painter->drawLine(QPointF(originX + offset, 0), QPointF(originX + offset, h / 2));
        painter->drawLine(QPointF(originX - offset, 0), QPointF(originX - offset, h / 2));
    }
    painter->setPen(ink);
    for (const AxisLabel& l : Angle_Labels())
        painter->drawText(l.box, Qt::AlignCenter, l.text);
    const QFontMetricsF metrics(font);
    for (int j = 0; j <= style.yDivisions; ++j) {
        painter->setPen(j == 0 ? axis : dotted);
        for (double y : {originY - j * dy, originY + j * dy}) {
            painter->drawLine(QPointF(originX, y), QPointF(w, y));
            painter->drawLine(QPointF(originX, y), QPointF(-w, y));
        }
    }
    painter->setPen(ink);
    for (const AxisLabel& l : Value_Labels())
        painter->drawText(l.box.topLeft() + QPointF(0, metrics.ascent()), l.text);
    font.setPixelSize(12);
    painter->setFont(font);
    painter->setPen(QPen(ink, 1));
    painter->drawText(10, 15, style.title);
    painter->drawText(QPointF(w - 50, originY - 15), "alpha");
    painter->drawText(QPointF(originX + 15, style.nameY), style.name);
}

QStringList PolarView::Table_Rows() const
{
    Sweep();
    QStringList rows{style.header};
    for (int alpha = kFirstAngle; alpha <= kLastAngle; ++alpha)
        rows << Row_Text(alpha, values[alpha - kFirstAngle]);
    return rows;
}

QPolygonF PolarView::Curve() const
{
    Layout();
    Sweep();
    QPolygonF curve;
    for (int alpha = kFirstAngle; alpha <= kLastAngle; ++alpha)
        curve << Point(alpha, values[alpha - kFirstAngle]);
    return curve;
}

void PolarView::Paint_Polar(QPainter* painter)
{
    painter->setPen(QPen(Text_Colour(), 1));
    painter->setBrush(Qt::NoBrush);
    QFont font = painter->font();
    font.setPixelSize(10);
    font.setWeight(QFont::Normal);
    painter->setFont(font);
    const double tableX = 0.1 * halfWidth;
    // The table in one column, or in two side by side where the view is too
    // short for its 21 rows.
    const int rows = kLastAngle - kFirstAngle + 1;
    const int perColumn = h * 0.5 + 60 + 10 * (rows - 1) + 4 <= h ? rows : (rows + 1) / 2;
    QPolygonF curve;
    int row = 0;
    for (int column = 0; column * perColumn < rows; ++column)
        painter->drawText(QPointF(tableX + column * halfWidth, h * 0.5 + 50), style.header);
    for (int alpha = kFirstAngle; alpha <= kLastAngle; ++alpha, ++row) {
        const double c = values[alpha - kFirstAngle];
        const QPointF P = Point(alpha, c);
        curve << P;
        painter->drawEllipse(QRectF(P - QPointF(3, 3), QSizeF(6, 6)));
        painter->drawText(QPointF(tableX + (row / perColumn) * halfWidth, h * 0.5 + 60 + 10 * (row % perColumn)),
                          Row_Text(alpha, c));
    }
    painter->setPen(QPen(style.curveColour, 1));
    painter->drawPolyline(curve);
}

void PolarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (data->zeroFoil.isEmpty())
        return;
    RasterNet(&painter);
    Paint_Polar(&painter);
}

Clift::Clift(QWidget* parent)
    : PolarView(parent, {6, 0.5, 3.0, 1, 1, true, "Cl(alpha)", "CL", 15, " alpha           Cl", Qt::green})
{
    repaint();
}

double Clift::Coefficient(double alpha) const
{
    return f_Clift(data, alpha - data->zeroLiftAngle * 180.0 / M_PI);
}

Momentum::Momentum(QWidget* parent)
    : PolarView(parent,
                {10, 0.01, 0.1, 2, 5, false, "Cm0.25(alpha)", "Cm0.25", 30, " alpha           Cm", Qt::red})
{
    repaint();
}

double Momentum::Coefficient(double alpha) const
{
    return f_Moment(data, alpha * M_PI / 180.0 - data->zeroLiftAngle, 0.25);
}

} // namespace aerolyx
