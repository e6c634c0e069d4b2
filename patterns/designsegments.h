#pragma once

// The design lines of one cell, turned into cuts of its flat strip.
//
// Every design line carries its curve in UV space (geom/designcurves.h):
// U 256 per cell, V the airfoil point index. The stretches of a line that lie
// in a cell's UV window (256 cell <= U <= 256 (cell + 1), 1 <= V <= 999) are
// mapped onto the cell's developed strip and replaced by a simple cut from
// rib seam to rib seam: a straight line or a parabola across the cell, or a
// parabola back to the same rib. Both ends lie on the oversew lines outside
// the rib edges, so that every cut runs across the seam allowance. In the
// centre cell of an odd cell count each cut is completed by its mirror image
// about the symmetry plane.
//
// A cell's segments are two parallel lists: the flat polyline (cell frame,
// plan units) and its UV points, point i of the one belonging to point i of
// the other.

#include "patterns/pieces.h"

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>

#include "core/designspline.h"

class ParaStruct;

// Replaces both lists by the segments of all lines for the cell, in the
// order of the lines and, within a line, of its UV curve, each cut as
// Modify_Segment cuts it. leftEdge and rightEdge are the strip's edge lists
// (1000 points each; in the centre cell the mirrored left edge).
void Create_segment_list(const ParaStruct& design, int cell, const QList<Spline>* lines, bool lineSegments,
                         const QList<PntPart>& leftEdge, const QList<PntPart>& rightEdge,
                         QList<QPolygonF>* xySegments, QList<QPolygon>* uvSegments);

// Flat position of the UV point: the point at t = (u - 256 cell) / 256 of
// the way from the left to the right edge point of index v; (0, 0) for v
// outside 1 .. 999 or beyond the edge lists.
QPointF Map_to_XY(int cell, int u, int v, const QList<PntPart>* leftEdge, const QList<PntPart>* rightEdge);

// The oversew line of a rib edge: for every edge segment its two ends moved
// outward by their own allowances (sign +1 for the left edge, -1 for the
// right edge); 2 (n - 1) points, empty for n <= 1.
QPolygonF create_oversew(const QList<PntPart>& edge, int sign);

// Replaces *xy by the cut of the segment, with as many points, paired point
// for point with *uv (unchanged): ends less than half a cell apart in U go
// back to the same rib seam on a parabola through the middle point; a
// segment across the cell becomes a straight line (lineSegments) or the
// parabola, from the seam of the rib it starts at to the other.
void Modify_Segment(bool lineSegments, int cell, const QPolygonF& leftOversew, const QPolygonF& rightOversew,
                    QPolygonF* xy, const QPolygon* uv);

// The centre cell's segments, each pair completed alike in both lists: put
// into the right half of the strip (the side of rib 1, x -> X0 + x / 2 and
// U -> U / 2 + 128) and led on from its mirror image about the symmetry line
// (x = X0, U = 128; X0 midway between the first points of the strip's two
// edges), from the mirror of its last point through the mirror of
// its first to the segment itself: 2n points in both lists. A segment
// running from rib 1 back to rib 1 only moves into the right half; the
// centre cell's pieces are made symmetric from their right halves anyway.
// The flat segments are smoothed (Smooth_PolyFit with 5 coefficients).
// MiddleCell_segments must run first: both decide from the UV points as
// they come from Create_segment_list.
void MiddleCell_segments(double X0, QList<QPolygonF>* xySegments, const QList<QPolygon>* uvSegments);
void MiddleCell_seg_UV(QList<QPolygon>* uvSegments);

// x and y each replaced by their least-squares polynomial with m
// coefficients in the point number; poly unchanged for m >= its size.
QPolygonF Smooth_PolyFit(QPolygonF poly, int m);

// Points min(a, b) .. max(a, b) (limited to the last index) in reverse
// order; poly unchanged when empty or a = b.
QPolygon reversePoly(QPolygon poly, int a, int b);

// Whether point c of a cut over [a, b] carries a control mark: with step
// (b - a) / 5, x = c (mode 1) or b - c a multiple of step within
// [a + 2 step, b - step]; every point when step is 0.
bool is_spline_cntr(int a, int b, int c, int mode);

// Point i of a design-line cut over [first, last]: kind 'S', named
// "S first last", marked unless noMarks.
PntPart Add_SplineSegment(int cell, bool noMarks, QPointF point, int first, int last, int i, int u, int v,
                          double allowance);
