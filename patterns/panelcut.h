#pragma once

// Cutting the panel pieces of a cell along one design-line segment.
//
// The cut does not intersect the segment with the piece's edges: it takes
// the first and the last point of the segment inside the piece and joins the
// segment to the outline at the outline vertices nearest to those two. The
// outlines are dense (every airfoil point along the rib edges, 256 steps on
// a cross cut) and the segment's ends lie on the oversew lines outside the
// strip, so those vertices lie next to where the segment crosses the edges.
// A split piece is replaced, at its place in the list, by its part on the
// side of the lower airfoil indexes (with the bottom cut) and then its part
// on the side of the higher ones; both keep the parent's name, cell and
// piece number, and the clockwise sense of its outline; like every piece
// outline, each part is closed by its first point repeated at its end.

#include "patterns/pieces.h"

#include <QList>
#include <QPoint>
#include <QPolygon>
#include <QPolygonF>

class ParaStruct;

// Splits every piece the segment (xy, uv) enters; the others stay as they
// are, in order. A segment with a single point inside a piece leaves that
// piece whole.
void Perform_Intersections(const ParaStruct* design, const QPolygonF& xy, const QPolygon& uv, QList<WholePoly>* pieces);

// crossing[0] = (firstInside, entryVertex): the first point of xy inside
// the outline and the outline vertex nearest to it; crossing[1] =
// (lastInside, exitVertex): the last point inside and its nearest vertex.
// All four -1 when the segment does not enter, or when the outline or xy
// has fewer than 2 points.
void Find_Intersection_Index(const QPolygonF& outline, const QPolygonF& xy, QPoint crossing[2]);

// Inside by the winding rule or by the odd-even rule.
bool is_InsideBorder(const QPolygonF& outline, QPointF point);

// The two parts of the piece along the segment (see Perform_Intersections);
// an empty outline when the segment has no two points inside.
WholePoly Down_Out_wholePoly(const ParaStruct* design, const QPolygonF& xy, const QPolygon& uv, const WholePoly& piece,
                             const QPoint crossing[2]);
WholePoly Upper_Out_wholePoly(const ParaStruct* design, const QPolygonF& xy, const QPolygon& uv, const WholePoly& piece,
                              const QPoint crossing[2]);

// The points of the list in order (dir > 0) or reversed; not closed.
QPolygonF Get_Original_Poly(const QList<PntPart>* list, int dir);
