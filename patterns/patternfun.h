#pragma once

// Small geometry functions shared by the pattern writers and views.

#include <QPointF>
#include <QPolygonF>

// The pattern drawings put the upper surface at the top: y becomes 500 - y.
QPolygonF turn_Y(QPolygonF poly);
QPointF turn_F_Y_point(QPointF p);
