#include "widgets/textdraw.h"

#include "core/geomconst.h"

#include <QPainter>

#include <cmath>

void DrawDirectedText(QPainter* painter, const QString& text, QPointF P, double angle)
{
    if (!painter)
        return;
    painter->save();
    painter->translate(P);
    painter->rotate(angle);
    painter->drawText(QPointF(0, 0), text);
    painter->restore();
}

void DrawVerticalText(QPainter* painter, const QString& text, QPointF P)
{
    DrawDirectedText(painter, text, P, -90.0);
}

void DrawAngledText(QPainter* painter, const QString& text, QPointF P1, QPointF P2)
{
    const double angle = std::atan2(P2.y() - P1.y(), P2.x() - P1.x()) * 180.0 / wl::Pi;
    DrawDirectedText(painter, text, (P1 + P2) / 2, angle);
}
