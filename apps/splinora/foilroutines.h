#pragma once

#include <QPolygonF>
#include <QString>

namespace splinora {

// The background airfoil of a coordinate file: read with the program's
// reader, then normalised twice. Empty when the file yields no usable points.
QPolygonF airfoil_Read(const QString& fileName);

// Scales the airfoil to unit chord (y multiplied by rot), moves its first
// point to (1, 0) and keeps the points whose x lies in [0, 1]. Empty for an
// empty polygon or one without extent in x.
QPolygonF Normalize_airfoil2(const QPolygonF& poly, int rot);

// St[0]: thickness and its mean chord position, St[1]: positions of the
// highest and the lowest point, all in percent of a unit chord.
void FindThickness(const QPolygonF* foilpoly, QString* St);

} // namespace splinora
