#pragma once

// Text drawn turned about its anchor, for the labels of the editors' plan
// and front views. The painter's transform is left as it was.

#include <QPointF>
#include <QString>

class QPainter;

// The text's baseline starts at P and runs at `angle` degrees (clockwise on
// the screen, y pointing down); -90 runs upward.
void DrawDirectedText(QPainter* painter, const QString& text, QPointF P, double angle);
// Upward from P.
void DrawVerticalText(QPainter* painter, const QString& text, QPointF P);
// Along the line from P1 to P2, starting at its middle.
void DrawAngledText(QPainter* painter, const QString& text, QPointF P1, QPointF P2);
