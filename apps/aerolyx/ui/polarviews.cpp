#include "apps/aerolyx/ui/polarviews.h"

#include "apps/aerolyx/calc/flow.h"

#include <QPainter>

#include <cmath>

namespace aerolyx {

namespace {
constexpr int kAngleDivisions = 15;
constexpr double kAngleRange = 15.0;

QString Angle_Label(double v)
{
    return QString("%1").arg(v, 0, 'f', 1);
}

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

QPointF PolarView::Point(double alpha, double c) const
{
    const double dx = halfWidth / kAngleDivisions;
    return {originX + alpha * dx, originY - quarterHeight * c / style.yRange};
}

QStringList PolarView::Grid_Labels() const
{
    QStringList labels;
    for (int j = style.yDivisions; j >= 0; --j)
        if (j % style.labelEvery == 0)
            labels << Value_Label(j * style.yLabelUnit);
    for (int j = 0; j <= style.yDivisions; ++j)
        if (j % style.labelEvery == 0)
            labels << Value_Label(-j * style.yLabelUnit);
    return labels;
}

void PolarView::RasterNet(QPainter* painter)
{
    Layout();
    const double dx = halfWidth / kAngleDivisions;
    const double dy = quarterHeight / style.yDivisions;
    QFont font = painter->font();
    font.setPixelSize(9);
    font.setWeight(QFont::Bold);
    painter->setFont(font);
    const QPen dotted(QBrush(Qt::black), 0, Qt::DotLine);
    const QPen axis(QBrush(Qt::cyan), 1, Qt::SolidLine);

    for (int i = 0; i <= kAngleDivisions; ++i) {
        painter->setPen(i == 0 ? axis : dotted);
        const double offset = style.lineStep * i * dx;
        painter->drawLine(QPointF(originX + offset, 0), QPointF(originX + offset, h / 2));
        painter->drawLine(QPointF(originX - offset, 0), QPointF(originX - offset, h / 2));
        if (i % 2 == 0) {
            painter->setPen(dotted);
            painter->drawText(QPointF(originX + i * dx - 5, originY + 10), Angle_Label(i * 1.0));
            painter->drawText(QPointF(originX - i * dx - 5, originY + 10), Angle_Label(-i * 1.0));
        }
    }
    for (int j = 0; j <= style.yDivisions; ++j) {
        painter->setPen(j == 0 ? axis : dotted);
        for (double y : {originY - j * dy, originY + j * dy}) {
            painter->drawLine(QPointF(originX, y), QPointF(w, y));
            painter->drawLine(QPointF(originX, y), QPointF(-w, y));
        }
        if (j % style.labelEvery == 0) {
            painter->setPen(dotted);
            painter->drawText(QPointF(originX - 30, originY - j * dy + 4), Value_Label(j * style.yLabelUnit));
            painter->drawText(QPointF(originX - 30, originY + j * dy + 4), Value_Label(-j * style.yLabelUnit));
        }
    }
    font.setPixelSize(12);
    painter->setFont(font);
    painter->setPen(QPen(Qt::black, 1));
    painter->drawText(10, 15, style.title);
    painter->drawText(QPointF(w - 50, originY - 15), "alpha");
    painter->drawText(QPointF(originX + 15, style.nameY), style.name);
}

QStringList PolarView::Table_Rows() const
{
    QStringList rows{style.header};
    for (int alpha = kFirstAngle; alpha <= kLastAngle; ++alpha)
        rows << Row_Text(alpha, Coefficient(alpha));
    return rows;
}

QPolygonF PolarView::Curve() const
{
    Layout();
    QPolygonF curve;
    for (int alpha = kFirstAngle; alpha <= kLastAngle; ++alpha)
        curve << Point(alpha, Coefficient(alpha));
    return curve;
}

void PolarView::Paint_Polar(QPainter* painter)
{
    painter->setPen(QPen(Qt::black, 1));
    painter->setBrush(Qt::NoBrush);
    QFont font = painter->font();
    font.setPixelSize(10);
    font.setWeight(QFont::Normal);
    painter->setFont(font);
    const double tableX = 0.1 * halfWidth;
    painter->drawText(QPointF(tableX, h * 0.5 + 50), style.header);
    QPolygonF curve;
    int row = 0;
    for (int alpha = kFirstAngle; alpha <= kLastAngle; ++alpha, ++row) {
        const double c = Coefficient(alpha);
        const QPointF P = Point(alpha, c);
        curve << P;
        painter->drawEllipse(QRectF(P - QPointF(3, 3), QSizeF(6, 6)));
        painter->drawText(QPointF(tableX, h * 0.5 + 60 + 10 * row), Row_Text(alpha, c));
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
