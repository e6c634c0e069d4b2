#include "lines/ui/relaxbrakes.h"

#include "core/skintension.h"
#include "lines/bridlelists.h"

#include <QFontMetricsF>

#include <algorithm>

void drawVerticalText(QPainter* painter, float angle, QPointF point, const QString& text)
{
    painter->save();
    painter->translate(point);
    painter->rotate(angle);
    painter->drawText(QPointF(0, 0), text);
    painter->restore();
}

RelaxBrakes::RelaxBrakes(QWidget* parent) : QWidget(parent), design(GetDataStruct()) {}

void RelaxBrakes::relaxbrakes_Update()
{
    middle = std::min(design->brakeMiddleRelax, 0.5);
    edge = std::min(design->brakeEdgeRelax, 0.5);
    centre = design->brakeCentreRib;
    Calculate_RelaxLengths(design);
    count = std::clamp(design->lastRib + 1, 0, kStructSlots);
    std::copy(design->relaxFactors, design->relaxFactors + count, relax);
    update();
}

void RelaxBrakes::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintRelaxBrakes(&painter, width(), height());
}

void RelaxBrakes::PaintRelaxBrakes(QPainter* p, int w, int h)
{
    const QFontMetricsF metrics(p->font());
    const RelaxDiagram d =
        Relax_Diagram(design, middle, edge, centre, relax, count, w, h, metrics.ascent(), metrics.descent());
    // Without a design there is nothing to scale the diagram by.
    if (!d.valid)
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(QPen(Qt::black, 0));
    p->setBrush(Qt::NoBrush);
    p->drawRect(QRect(0, 0, w - 1, h - 1));
    p->drawLine(QPointF(w / 10, d.baseY), QPointF(0.9 * w, d.baseY));
    p->drawLine(d.middleFoot, d.middleTop);
    p->drawLine(d.edgeFoot, d.edgeTop);
    drawVerticalText(p, -90, d.middleTextAt, QString(" %1").arg(d.middle, 0, 'f', 2));
    drawVerticalText(p, -90, d.edgeTextAt, QString(" %1").arg(d.edge, 0, 'f', 2));
    for (const RelaxBar& bar : d.bars) {
        p->drawEllipse(bar.foot, 1, 1);
        p->drawEllipse(bar.top, 1, 1);
        p->drawLine(bar.foot, bar.top);
        p->drawText(bar.label, QString("%1").arg(bar.rib));
    }
    p->setBrush(Qt::red);
    p->drawEllipse(d.centre, 8, 8);
    p->restore();
}
