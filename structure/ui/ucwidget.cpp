#include "structure/ui/ucwidget.h"

#include "core/parastruct.h"
#include "structure/diagchart.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace {

constexpr double kLabelGap = 4; // pixels between a rib's line and its number

QColor tableColour(int table)
{
    return table == 1 ? QColor(Qt::magenta) : QColor(Qt::darkRed);
}

QRectF chartBounds(const DiagonalChart& chart)
{
    QRectF bounds;
    for (const QLineF& l : chart.ribLines)
        bounds |= QRectF(l.p1(), l.p2()).normalized().adjusted(-0.5, 0, 0.5, 0);
    return bounds;
}

ViewFit fitChart(const DiagonalChart& chart, const QRect& widget, const QFont& font)
{
    if (chart.ribLines.isEmpty())
        return ViewFit();
    // The numbers take a line of text above and below, which the fit
    // leaves free in pixels.
    const double text = QFontMetricsF(font).height() + kLabelGap;
    const QRectF area = QRectF(widget).adjusted(12, 4 + text, -12, -4 - text);
    return Fit_In(chartBounds(chart), area, 2.0);
}

QList<UcWidget::RibLabel> labelsOf(const DiagonalChart& chart, const ViewFit& fit, const QFont& font)
{
    QList<UcWidget::RibLabel> labels;
    const QFontMetricsF metrics(font);
    for (const DiagonalChartLabel& l : chart.ribNumbers) {
        const double w = metrics.horizontalAdvance(l.text);
        const double h = metrics.height();
        const QPointF at = fit.toView(l.at);
        const double y = l.above ? at.y() - kLabelGap - h : at.y() + kLabelGap;
        labels.append({QRectF(at.x() - w / 2, y, w, h), l.text});
    }
    return labels;
}

} // namespace

UcWidget::UcWidget(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    setAttribute(Qt::WA_StyledBackground, true);
}

ViewFit UcWidget::chartFit() const
{
    return fitChart(Diagonal_Chart(design), rect(), font());
}

QList<UcWidget::RibLabel> UcWidget::ribLabels() const
{
    const DiagonalChart chart = Diagonal_Chart(design);
    return labelsOf(chart, fitChart(chart, rect(), font()), font());
}

void UcWidget::paintEvent(QPaintEvent*)
{
    const DiagonalChart chart = Diagonal_Chart(design);
    if (chart.ribLines.isEmpty())
        return;
    const ViewFit fit = fitChart(chart, rect(), font());
    QPainter painter(this);
    for (const RibLabel& l : labelsOf(chart, fit, font()))
        painter.drawText(l.box, Qt::AlignCenter, l.text);
    painter.translate(fit.offset);
    painter.scale(fit.zoom, fit.zoom);
    QPen thin(Qt::black, 0);
    painter.setPen(thin);
    painter.drawLines(chart.ribLines);
    for (const DiagonalChartLine& l : chart.built) {
        QPen pen(tableColour(l.table), 2);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(l.line);
    }
    for (const DiagonalChartLine& l : chart.skipped) {
        QPen pen(tableColour(l.table), 1, Qt::DashLine);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLine(l.line);
    }
}
