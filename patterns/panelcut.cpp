#include "patterns/panelcut.h"

#include "core/parastruct.h"
#include "patterns/designsegments.h"
#include "patterns/patterngeom.h"
#include "patterns/polygoninside.h"

#include <algorithm>

namespace {

void appendRange(QList<PntPart>* out, const QList<PntPart>& outline, int from, int to)
{
    for (int i = from; i <= to; ++i)
        out->append(outline.at(i));
}

// One part of the piece: the part on the side of the lower airfoil indexes
// (down) or of the higher ones.
WholePoly splitPart(const ParaStruct* design, const QPolygonF& xy, const QPolygon& uv, const WholePoly& piece,
                    const QPoint crossing[2], bool down)
{
    WholePoly part;
    part.cell = piece.cell;
    part.piece = piece.piece;
    part.name = piece.name;
    part.orderKey = piece.orderKey;
    const int n = xy.size();
    const int m = piece.outline.size() - 1;
    if (n == 0 || m < 0)
        return part;
    const int firstInside = crossing[0].x(), entryVertex = crossing[0].y();
    const int lastInside = crossing[1].x(), exitVertex = crossing[1].y();
    const int a = std::clamp(firstInside, 0, n - 1);
    const int b = std::clamp(lastInside, 0, n - 1);
    if (b <= a)
        return part;
    const bool noMarks = piece.cell == 0 && design->centreCell;
    const double w = design->ToScreen(design->seamAllowance[0] * 0.001);
    const int e = std::clamp(entryVertex, 0, m);
    const int x = std::clamp(exitVertex, 0, m);

    auto cutPoint = [&](int i) {
        const QPoint p = i < uv.size() ? uv.at(i) : QPoint();
        return Add_SplineSegment(piece.cell, noMarks, xy.at(i), a, b, i, p.x(), p.y(), w);
    };
    QList<PntPart> forward, backward;
    for (int i = a; i <= b; ++i)
        forward.append(cutPoint(i));
    for (int i = b; i >= a; --i)
        backward.append(forward.at(i - a));

    const QPoint ua = a < uv.size() ? uv.at(a) : QPoint();
    const QPoint ub = b < uv.size() ? uv.at(b) : QPoint();
    const bool decreasing = ua.x() > ub.x();
    const QList<PntPart>& O = piece.outline;
    QList<PntPart>& out = part.outline;
    // Which outline stretches and which direction of the cut make each part;
    // both keep the piece's clockwise sense.
    if (!decreasing && e <= x) {
        if (down) {
            appendRange(&out, O, 0, e);
            out += forward;
            appendRange(&out, O, x, m);
        } else {
            appendRange(&out, O, e, x);
            out += backward;
        }
    } else if (!decreasing) {
        if (down) {
            out += forward;
            appendRange(&out, O, x, e);
        } else {
            appendRange(&out, O, 0, x);
            out += backward;
            appendRange(&out, O, e, m);
        }
    } else if (e <= x) {
        if (down) {
            out += backward;
            appendRange(&out, O, e, x);
        } else {
            appendRange(&out, O, 0, e);
            out += forward;
            appendRange(&out, O, x, m);
        }
    } else {
        if (down) {
            appendRange(&out, O, 0, x);
            out += backward;
            appendRange(&out, O, e, m);
        } else {
            appendRange(&out, O, x, e);
            out += forward;
        }
    }
    // Outlines are closed by their first point repeated, as the start pieces
    // are: the seam allowance takes the last point for that repetition, and
    // would otherwise drop the last point of the cut.
    if (!out.isEmpty() && out.last().point != out.first().point)
        out.append(out.first());
    return part;
}

} // namespace

void Perform_Intersections(const ParaStruct* design, const QPolygonF& xy, const QPolygon& uv, QList<WholePoly>* pieces)
{
    QList<WholePoly> result;
    result.reserve(pieces->size() + 1);
    for (const WholePoly& piece : std::as_const(*pieces)) {
        const QPolygonF outline = SetPolylineFromList(piece);
        QPoint crossing[2];
        Find_Intersection_Index(outline, xy, crossing);
        const int firstInside = crossing[0].x(), entryVertex = crossing[0].y();
        const int lastInside = crossing[1].x(), exitVertex = crossing[1].y();
        const bool enters = firstInside >= 0 && entryVertex >= 0 && lastInside >= 0 && exitVertex >= 0;
        // A segment that only touches the piece at one point would leave two
        // parts without area, and the piece would be lost: it stays whole.
        if (!enters || lastInside <= firstInside) {
            result.append(piece);
            continue;
        }
        result.append(Down_Out_wholePoly(design, xy, uv, piece, crossing));
        result.append(Upper_Out_wholePoly(design, xy, uv, piece, crossing));
    }
    *pieces = result;
}

void Find_Intersection_Index(const QPolygonF& outline, const QPolygonF& xy, QPoint crossing[2])
{
    crossing[0] = QPoint(-1, -1);
    crossing[1] = QPoint(-1, -1);
    if (outline.size() < 2 || xy.size() < 2)
        return;
    // Inside by either rule is inside by the winding rule: an odd winding
    // number is not zero.
    const PolygonInside inside(outline);
    int firstInside = -1;
    for (int i = 0; i < xy.size() && firstInside < 0; ++i)
        if (inside.containsWinding(xy.at(i)))
            firstInside = i;
    if (firstInside < 0)
        return;
    const int entryVertex = Nearest_poly_pnt_index(&outline, xy.at(firstInside));
    int lastInside = firstInside;
    for (int i = xy.size() - 1; i > firstInside; --i) {
        if (inside.containsWinding(xy.at(i))) {
            lastInside = i;
            break;
        }
    }
    const int exitVertex = Nearest_poly_pnt_index(&outline, xy.at(lastInside));
    crossing[0] = QPoint(firstInside, entryVertex);
    crossing[1] = QPoint(lastInside, exitVertex);
}

bool is_InsideBorder(const QPolygonF& outline, QPointF point)
{
    return outline.containsPoint(point, Qt::WindingFill) || outline.containsPoint(point, Qt::OddEvenFill);
}

WholePoly Down_Out_wholePoly(const ParaStruct* design, const QPolygonF& xy, const QPolygon& uv, const WholePoly& piece,
                             const QPoint crossing[2])
{
    return splitPart(design, xy, uv, piece, crossing, true);
}

WholePoly Upper_Out_wholePoly(const ParaStruct* design, const QPolygonF& xy, const QPolygon& uv, const WholePoly& piece,
                              const QPoint crossing[2])
{
    return splitPart(design, xy, uv, piece, crossing, false);
}

QPolygonF Get_Original_Poly(const QList<PntPart>* list, int dir)
{
    QPolygonF poly;
    if (!list)
        return poly;
    poly.reserve(list->size());
    if (dir > 0) {
        for (const PntPart& p : *list)
            poly.append(p.point);
    } else {
        for (int i = list->size() - 1; i >= 0; --i)
            poly.append(list->at(i).point);
    }
    return poly;
}
