#pragma once

// Control marks: the small polygons the pattern sheets draw at control
// points (line attachments, the nose, the quarter points of cuts), for the
// cutter to notch. Their size follows the design's control-point diameter;
// in the preview the marks of the polygon writers are drawn six times larger
// so that they can be seen.

#include <QPolygon>
#include <QPolygonF>
#include <QString>

#include "geom/sheet.h" // cntrCirc, the shape of a mark

class ParaStruct;

// An n-sided mark at every point (radius 0.6 x the diameter), colour 4.
void Sheet_Marks(PieceSheet* out, const ParaStruct* design, const QPolygonF& points, int n, const QString& layer);
// A triangle where the point's side pair has a y other than 0 (lower side),
// else a 16-gon, at every point; sides holds one pair per point.
void Sheet_Marks2(PieceSheet* out, const ParaStruct* design, const QPolygonF& points, const QPolygon& sides,
                  const QString& layer);
// One n-sided mark (radius 0.65 x the diameter), the same size in the preview.
void Sheet_Mark(PieceSheet* out, const ParaStruct* design, QPointF point, int n, const QString& layer);
