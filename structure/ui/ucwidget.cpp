#include "structure/ui/ucwidget.h"

#include "core/parastruct.h"

#include <QPainter>

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

void UcWidget::paintEvent(QPaintEvent*)
{
    const ParaStruct* d = design;
    const int last = std::min(d->lastRib, kRibSlots - 1);
    if (last < 1)
        return;
    QPainter painter(this);
    const double base = 0.85 * (height() - 1);
    for (int i = 0; i <= last; ++i) {
        const QPointF p = i % 2 == 0 ? bottomPoint(d, i, base) + QPointF(0, 20)
                                     : topPoint(d, i, base) - QPointF(0, 20);
        painter.drawText(p, QString::number(i));
    }
    painter.setPen(QPen(Qt::black, 0));
    for (int i = 0; i < last; ++i) {
        painter.drawLine(topPoint(d, i, base), bottomPoint(d, i, base));
        painter.drawLine(topPoint(d, i, base), topPoint(d, i + 1, base));
        painter.drawLine(bottomPoint(d, i, base), bottomPoint(d, i + 1, base));
    }
    painter.setPen(QPen(Qt::magenta, 2));
    paintTable(&painter, d, d->diagTableD1, base);
    painter.setPen(QPen(Qt::darkRed, 2));
    paintTable(&painter, d, d->diagTableD2, base);
}
