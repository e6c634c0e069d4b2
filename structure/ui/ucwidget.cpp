#include "structure/ui/ucwidget.h"

#include "core/parastruct.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace {

// The bottom and top of rib i's line on the chart.
QPointF bottomPoint(const ParaStruct* d, int i, double base)
{
    return QPointF(d->ribSpanPos[i], base);
}

QPointF topPoint(const ParaStruct* d, int i, double base)
{
    return QPointF(d->ribSpanPos[i], base - 0.35 * d->chord[i]);
}

QPointF atHeight(const ParaStruct* d, int i, double base, int percent)
{
    const QPointF b = bottomPoint(d, i, base);
    return b + percent / 100.0 * (topPoint(d, i, base) - b);
}

void paintTable(QPainter* painter, const ParaStruct* d, const DiagonalRow* table, double base)
{
    // A row that names no rib, or whose next rib is beyond the tip, has no
    // place on the chart.
    for (int k = 0; k < kRibSlots; ++k) {
        const int r = table[k].rib;
        if (!table[k].connectNext || r < 0 || r + 1 > d->lastRib || r + 1 >= kRibSlots)
            continue;
        painter->drawLine(atHeight(d, r, base, table[k].heightPercent),
                          atHeight(d, r + 1, base, table[r + 1].heightPercent));
    }
}

} // namespace

UcWidget::UcWidget(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    setAttribute(Qt::WA_StyledBackground, true);
}

namespace {

constexpr double kLabelGap = 4; // pixels between a rib's line and its number

int lastRibOf(const ParaStruct* d)
{
    return std::min(d->lastRib, kRibSlots - 1);
}

} // namespace

ViewFit UcWidget::chartFit() const
{
    const ParaStruct* d = design;
    const int last = lastRibOf(d);
    if (last < 1)
        return ViewFit();
    // The ribs on base 0, their tops above it; the numbers take a line of
    // text above and below, which the fit leaves free in pixels.
    QRectF chart;
    for (int i = 0; i <= last; ++i)
        chart |= QRectF(bottomPoint(d, i, 0), topPoint(d, i, 0)).normalized().adjusted(-0.5, 0, 0.5, 0);
    const double text = QFontMetricsF(font()).height() + kLabelGap;
    const QRectF area = QRectF(rect()).adjusted(12, 4 + text, -12, -4 - text);
    return Fit_In(chart, area, 2.0);
}

QList<UcWidget::RibLabel> UcWidget::ribLabels() const
{
    const ParaStruct* d = design;
    const int last = lastRibOf(d);
    QList<RibLabel> labels;
    if (last < 1)
        return labels;
    const ViewFit fit = chartFit();
    const QFontMetricsF metrics(font());
    for (int i = 0; i <= last; ++i) {
        const QString text = QString::number(i);
        const double w = metrics.horizontalAdvance(text);
        const double h = metrics.height();
        // Even ribs below the base, odd ones above their tops.
        const QPointF at = fit.toView(i % 2 == 0 ? bottomPoint(d, i, 0) : topPoint(d, i, 0));
        const double y = i % 2 == 0 ? at.y() + kLabelGap : at.y() - kLabelGap - h;
        labels.append({QRectF(at.x() - w / 2, y, w, h), text});
    }
    return labels;
}

void UcWidget::paintEvent(QPaintEvent*)
{
    const ParaStruct* d = design;
    const int last = lastRibOf(d);
    if (last < 1)
        return;
    QPainter painter(this);
    for (const RibLabel& l : ribLabels())
        painter.drawText(l.box, Qt::AlignCenter, l.text);
    const ViewFit fit = chartFit();
    painter.translate(fit.offset);
    painter.scale(fit.zoom, fit.zoom);
    painter.setPen(QPen(Qt::black, 0));
    for (int i = 0; i < last; ++i) {
        painter.drawLine(topPoint(d, i, 0), bottomPoint(d, i, 0));
        painter.drawLine(topPoint(d, i, 0), topPoint(d, i + 1, 0));
        painter.drawLine(bottomPoint(d, i, 0), bottomPoint(d, i + 1, 0));
    }
    painter.drawLine(topPoint(d, last, 0), bottomPoint(d, last, 0));
    QPen d1(Qt::magenta, 2);
    d1.setCosmetic(true);
    painter.setPen(d1);
    paintTable(&painter, d, d->diagTableD1, 0);
    QPen d2(Qt::darkRed, 2);
    d2.setCosmetic(true);
    painter.setPen(d2);
    paintTable(&painter, d, d->diagTableD2, 0);
}
