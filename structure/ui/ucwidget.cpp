#include "structure/ui/ucwidget.h"

#include "core/parastruct.h"
#include "structure/diagchart.h"

#include <QPainter>

#include <algorithm>

namespace {

QColor tableColour(int table)
{
    return table == 1 ? QColor(Qt::magenta) : QColor(Qt::darkRed);
}

} // namespace

UcWidget::UcWidget(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    setAttribute(Qt::WA_StyledBackground, true);
}

void UcWidget::paintEvent(QPaintEvent*)
{
    const DiagonalChart chart = Diagonal_Chart(design, height());
    if (chart.ribLines.isEmpty())
        return;
    QPainter painter(this);
    // The numbers above the tallest ribs would start above the widget.
    const double topBaseline = painter.fontMetrics().ascent() + 1;
    for (const DiagonalChartLabel& l : chart.ribNumbers)
        painter.drawText(QPointF(l.at.x(), std::max(l.at.y(), topBaseline)), l.text);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLines(chart.ribLines);
    for (const DiagonalChartLine& l : chart.built) {
        painter.setPen(QPen(tableColour(l.table), 2));
        painter.drawLine(l.line);
    }
    for (const DiagonalChartLine& l : chart.skipped) {
        painter.setPen(QPen(tableColour(l.table), 1, Qt::DashLine));
        painter.drawLine(l.line);
    }
}
