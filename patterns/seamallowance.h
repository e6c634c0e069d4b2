#pragma once

// Seam allowance of the panel pieces: from the outline of a piece (the
// sewing line) the cutting line outside it and the control marks the cutter
// notches into the cloth.
//
// The outline is split into boundary segments where the point names change
// (a stretch of a rib edge, of a cross cut, of a design-line cut). Each
// segment is offset outward by its points' own allowances, short segments
// are straightened, and neighbouring segments are trimmed or extended to
// meet at a corner; a segment on the trailing edge becomes a rectangular
// flap of the trailing-edge allowance instead.

#include "patterns/pieces.h"

#include <QList>
#include <QPointF>
#include <QPolygonF>

class ParaStruct;

struct FinalPart {
    qint32 cell = 0;
    QPolygonF pureOutline;      // sewing line: the outline's points in order
    QPolygonF allowanceOutline; // cutting line: the corner-treated offset segments in order
    QPolygonF ribMarks;         // marks on the rib edges, on the cutting line
    QPolygonF cutMarks;         // marks on the cuts, on the cutting line
};

// Fills *out for one piece; a piece without outline leaves *out as it was.
void Setup_One_FinalPart(const ParaStruct* design, int cell, WholePoly* piece, FinalPart* out);

// Appends the cutting line and the marks of one outline to *out (the caller
// clears it). An outline of two points or fewer, or of one segment, adds no
// cutting line.
void OverSew_Fun(const ParaStruct* design, int cell, QList<PntPart>* outline, FinalPart* out);

// Where the boundary segments of the outline start: at point 0 and at every
// point from 7 on whose name differs from the segment's, then the end marker
// n - 1 (the last point, lying on the first, belongs to no segment).
// Segment s covers the points starts[s] .. starts[s + 1] - 1.
QList<int> Boundary_Segments(const QList<PntPart>& outline);

// The points start .. end - 1 of the outline, each moved outward by factor
// times its allowance; with factor above 0 the marked points of segment s
// are recorded on the mark list of the segment's kind.
QPolygonF Fill_partPoly(int s, int start, int end, double factor, QList<PntPart>* outline,
                        const QList<char>& kinds, QList<QPolygonF>* ribMarks, QList<QPolygonF>* cutMarks);

void ControlsInclude(bool control, int s, QPointF p, const QList<char>& kinds, QList<QPolygonF>* ribMarks,
                     QList<QPolygonF>* cutMarks);

// Every segment of 7 points or fewer becomes 20 points on the straight line
// from its first point toward its last (the last itself not included).
void Repair_Segment(QList<QPolygonF>* segments);

// cur trimmed or extended to the corners with its neighbours; with
// trailingEdge set, instead the flap of width `flap` over cur between those
// two corners (where the neighbours' cutting lines end).
QPolygonF Over_Poly_Corners(bool trailingEdge, double flap, const QPolygonF* cur, const QPolygonF* prev,
                            const QPolygonF* next);
QPolygonF Over_Poly_Corners_1(const QPolygonF* cur, const QPolygonF* prev, const QPolygonF* next);
QPolygonF Over_Poly_Corners2(const QPolygonF* cur, const QPolygonF* other);

// poly with its ends replaced by the corner points c1 and c2: the vertex
// nearest c1 becomes c1, the vertex nearest c2 and the one before it become c2.
QPolygonF Fine_Poly_Corners(const QPolygonF* poly, QPointF c1, QPointF c2);

// A rectangular flap of width d over the chord a -> b: a, n points from a to
// b moved by d, b.
QPolygonF make_Poly(int n, double d, QPointF a, QPointF b);
