#include "patterns/designsegments.h"

#include "core/mygsllib.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "geom/reinforce.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kCellU = 256;
constexpr int kLastIndex = kAirfoilPoints - 1;

// The three-point curve in exactly n points, both ends included: point i of
// a cut stays paired with point i of its UV segment.
QPolygonF threePointCurve(QPointF a, QPointF m, QPointF b, int n)
{
    if (n <= 1)
        return n == 1 ? QPolygonF{a} : QPolygonF();
    QPolygonF p = Spline3pnt(a, m, b, n);
    if (p.size() > n)
        p.resize(n);
    while (p.size() < n)
        p.append(b);
    p.last() = b;
    return p;
}

void closeSegment(bool lineSegments, int cell, const QPolygonF& leftOversew, const QPolygonF& rightOversew,
                  QPolygonF* xy, QPolygon* uv, QList<QPolygonF>* xySegments, QList<QPolygon>* uvSegments)
{
    if (xy->isEmpty())
        return;
    Modify_Segment(lineSegments, cell, leftOversew, rightOversew, xy, uv);
    xySegments->append(*xy);
    uvSegments->append(*uv);
    xy->clear();
    uv->clear();
}

// How the centre cell completes a segment, decided once from its UV points
// for both lists: whether it runs backwards (U falling) and whether it is
// mirrored (all but the segments that leave rib 1 and come back to it, the
// case Modify_Segment sends to the right rib's seam).
struct CentreRule {
    bool reverse = false;
    bool mirror = true;
};

CentreRule centreRule(const QPolygon& uv)
{
    CentreRule rule;
    if (uv.isEmpty())
        return rule;
    const int u0 = uv.first().x(), u1 = uv.last().x();
    rule.reverse = u1 < u0;
    rule.mirror = !(std::abs(u0 - u1) < kCellU / 2 && std::abs(u0) >= kCellU / 2);
    return rule;
}

template <typename Poly, typename Point, typename Compress, typename Mirror>
Poly completeCentre(Poly seg, const CentreRule& rule, Compress compress, Mirror mirrorOf)
{
    if (rule.reverse)
        std::reverse(seg.begin(), seg.end());
    for (Point& p : seg)
        p = compress(p);
    if (!rule.mirror)
        return seg;
    Poly out;
    out.reserve(2 * seg.size());
    for (int i = seg.size() - 1; i >= 0; --i)
        out.append(mirrorOf(seg.at(i)));
    out += seg;
    return out;
}

} // namespace

void Create_segment_list(const ParaStruct& design, int cell, const QList<Spline>* lines, bool lineSegments,
                         const QList<PntPart>& leftEdge, const QList<PntPart>& rightEdge,
                         QList<QPolygonF>* xySegments, QList<QPolygon>* uvSegments)
{
    xySegments->clear();
    uvSegments->clear();
    if (!lines)
        return;
    const QPolygonF leftOversew = create_oversew(leftEdge, +1);
    const QPolygonF rightOversew = create_oversew(rightEdge, -1);
    const bool centre = cell == 0 && design.centreCell;
    const int uLow = kCellU * cell, uHigh = kCellU * (cell + 1);

    QPolygonF xy;
    QPolygon uv;
    for (const Spline& line : *lines) {
        for (const QPoint& p : line.uvCurve) {
            if (p.y() < 1 || p.y() > kLastIndex)
                continue; // skipped, the segment goes on
            if (uLow <= p.x() && p.x() <= uHigh) {
                xy.append(Map_to_XY(cell, p.x(), p.y(), &leftEdge, &rightEdge));
                uv.append(p);
            } else {
                closeSegment(lineSegments, cell, leftOversew, rightOversew, &xy, &uv, xySegments, uvSegments);
            }
        }
        closeSegment(lineSegments, cell, leftOversew, rightOversew, &xy, &uv, xySegments, uvSegments);
    }
    // The centre cell's symmetry line runs through the middle of the strip's
    // trailing edge.
    if (centre && !leftEdge.isEmpty() && !rightEdge.isEmpty()) {
        MiddleCell_segments(((leftEdge.first().point + rightEdge.first().point) / 2).x(), xySegments, uvSegments);
        MiddleCell_seg_UV(uvSegments);
    }
}

QPointF Map_to_XY(int cell, int u, int v, const QList<PntPart>* leftEdge, const QList<PntPart>* rightEdge)
{
    if (v < 1 || v > kLastIndex || v >= leftEdge->size() || v >= rightEdge->size())
        return QPointF(0, 0);
    const double t = (u - kCellU * cell) * 0.00390625;
    return (1 - t) * leftEdge->at(v).point + t * rightEdge->at(v).point;
}

QPolygonF create_oversew(const QList<PntPart>& edge, int sign)
{
    QPolygonF line;
    const int n = edge.size();
    if (n <= 1)
        return line;
    line.reserve(2 * (n - 1));
    for (int i = 1; i < n; ++i) {
        const PntPart& P = edge.at(i - 1);
        const PntPart& Q = edge.at(i);
        line.append(uberLeft(sign * P.allowance, P.point, Q.point));
        line.append(uberRight(sign * Q.allowance, P.point, Q.point));
    }
    return line;
}

void Modify_Segment(bool lineSegments, int cell, const QPolygonF& leftOversew, const QPolygonF& rightOversew,
                    QPolygonF* xy, const QPolygon* uv)
{
    const int n = xy->size();
    if (n == 0 || uv->isEmpty())
        return;
    const int u0 = uv->first().x(), u1 = uv->last().x();
    const QPointF P0 = xy->first(), P1 = xy->last();
    const QPointF M = xy->at(n / 2);
    if (std::abs(u0 - u1) < kCellU / 2) {
        const QPolygonF& side = std::abs(u0 - kCellU * cell) < kCellU / 2 ? leftOversew : rightOversew;
        *xy = threePointCurve(NearestPoint(&side, P0), M, NearestPoint(&side, P1), n);
        return;
    }
    const QPolygonF& from = u1 > u0 ? leftOversew : rightOversew;
    const QPolygonF& to = u1 > u0 ? rightOversew : leftOversew;
    const QPointF A = NearestPoint(&from, P0), B = NearestPoint(&to, P1);
    *xy = threePointCurve(A, lineSegments ? (A + B) / 2 : M, B, n);
}

void MiddleCell_segments(double X0, QList<QPolygonF>* xySegments, const QList<QPolygon>* uvSegments)
{
    QList<QPolygonF> done;
    done.reserve(xySegments->size());
    for (int s = 0; s < xySegments->size(); ++s) {
        const CentreRule rule = s < uvSegments->size() ? centreRule(uvSegments->at(s)) : CentreRule();
        const QPolygonF full = completeCentre<QPolygonF, QPointF>(
            xySegments->at(s), rule, [X0](QPointF p) { return QPointF(X0 + p.x() / 2, p.y()); },
            [X0](QPointF p) { return QPointF(2 * X0 - p.x(), p.y()); });
        done.append(Smooth_PolyFit(full, 5));
    }
    *xySegments = done;
}

void MiddleCell_seg_UV(QList<QPolygon>* uvSegments)
{
    QList<QPolygon> done;
    done.reserve(uvSegments->size());
    for (const QPolygon& seg : std::as_const(*uvSegments)) {
        done.append(completeCentre<QPolygon, QPoint>(
            seg, centreRule(seg), [](QPoint p) { return QPoint(p.x() / 2 + kCellU / 2, p.y()); },
            [](QPoint p) { return QPoint(kCellU - p.x(), p.y()); }));
    }
    *uvSegments = done;
}

QPolygonF Smooth_PolyFit(QPolygonF poly, int m)
{
    const int n = poly.size();
    if (m >= n || m < 1)
        return poly;
    // The fit over the point number, taken on [0, 1] for a well-conditioned
    // system: the same polynomial values.
    std::vector<double> t(n), x(n), y(n);
    for (int i = 0; i < n; ++i) {
        t[i] = double(i) / (n - 1);
        x[i] = poly.at(i).x();
        y[i] = poly.at(i).y();
    }
    if (!PolyFit(n, m, t.data(), x.data()) || !PolyFit(n, m, t.data(), y.data()))
        return poly;
    for (int i = 0; i < n; ++i)
        poly[i] = QPointF(x[i], y[i]);
    return poly;
}

QPolygon reversePoly(QPolygon poly, int a, int b)
{
    if (poly.isEmpty() || a == b)
        return poly;
    const int last = poly.size() - 1;
    const int lo = std::clamp(std::min(a, b), 0, last);
    const int hi = std::clamp(std::max(a, b), 0, last);
    QPolygon out;
    out.reserve(hi - lo + 1);
    for (int i = hi; i >= lo; --i)
        out.append(poly.at(i));
    return out;
}

bool is_spline_cntr(int a, int b, int c, int mode)
{
    const int step = (b - a) / 5;
    if (step == 0)
        return true;
    const int x = mode == 1 ? c : b - c;
    return x % step == 0 && a + 2 * step <= x && x <= b - step;
}

PntPart Add_SplineSegment(int cell, bool noMarks, QPointF point, int first, int last, int i, int u, int v,
                          double allowance)
{
    PntPart p;
    p.rib = cell;
    p.point = point;
    p.index = v;
    p.uv = QPoint(u, v);
    p.control = noMarks ? false : is_spline_cntr(first, last, i, 1);
    p.allowance = allowance;
    p.kind = 'S';
    p.trailingEdge = false;
    p.cutFrom = first;
    p.cutTo = last;
    return p;
}
