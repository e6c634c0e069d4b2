#include "patterns/seamallowance.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "patterns/patterngeom.h"

#include <utility>

void Setup_One_FinalPart(const ParaStruct* design, int cell, WholePoly* piece, FinalPart* out)
{
    if (!piece || !out || piece->outline.isEmpty())
        return;
    out->pureOutline.clear();
    out->allowanceOutline.clear();
    out->ribMarks.clear();
    out->cutMarks.clear();
    out->cell = cell;
    out->pureOutline = SetPolylineFromList(*piece);
    QList<PntPart> outline = piece->outline;
    OverSew_Fun(design, cell, &outline, out);
}

void OverSew_Fun(const ParaStruct* design, int, QList<PntPart>* outline, FinalPart* out)
{
    const int n = outline->size();
    if (n <= 2)
        return;
    const double flap = design->ToScreen(design->seamAllowance[2]) * 0.001;

    const QList<int> starts = Boundary_Segments(*outline);
    const int count = starts.size() - 1;
    QList<char> kinds;
    for (int s = 0; s < count; ++s)
        kinds.append(outline->at(starts.at(s)).kind);

    QList<bool> flags(count, false);
    QList<QPolygonF> offsets(count);
    QList<QPolygonF> ribMarks(count), cutMarks(count);
    for (int s = 0; s < count; ++s) {
        const int start = starts.at(s), end = starts.at(s + 1);
        flags[s] = outline->at(start).trailingEdge;
        offsets[s] = Fill_partPoly(s, start, end, 1.0, outline, kinds, &ribMarks, &cutMarks);
        // A trailing-edge segment keeps its marks but is replaced by a flap:
        // its neighbours meet its sewing line.
        if (flags.at(s))
            offsets[s] = Fill_partPoly(s, start, end, 0.0, outline, kinds, &ribMarks, &cutMarks);
    }
    Repair_Segment(&offsets);

    QList<QPolygonF> finals(count);
    auto prev = [count](int s) { return (s + count - 1) % count; };
    auto next = [count](int s) { return (s + 1) % count; };
    if (count > 3) {
        for (int s = 0; s < count; ++s)
            finals[s] = Over_Poly_Corners(flags.at(s), flap, &offsets.at(s), &offsets.at(prev(s)),
                                          &offsets.at(next(s)));
    } else if (count == 3) {
        for (int s = 0; s < count; ++s)
            finals[s] = Over_Poly_Corners_1(&offsets.at(s), &offsets.at(prev(s)), &offsets.at(next(s)));
    } else if (count == 2) {
        finals[0] = Over_Poly_Corners2(&offsets.at(0), &offsets.at(1));
        finals[1] = Over_Poly_Corners2(&offsets.at(1), &offsets.at(0));
    }
    for (int s = 0; s < count; ++s) {
        out->allowanceOutline += finals.at(s);
        out->ribMarks += ribMarks.at(s);
        out->cutMarks += cutMarks.at(s);
    }
}

QList<int> Boundary_Segments(const QList<PntPart>& outline)
{
    const int n = outline.size();
    if (n == 0)
        return {};
    // A name change before point 7 does not start a segment, so the first
    // segment always holds the points 0 to 6; the last point (where the first
    // lies) never starts one. The list grows with the outline: a piece may
    // have any number of segments.
    QList<int> starts{0};
    const PntPart* reference = &outline.at(0);
    for (int j = 1; j <= n - 2; ++j) {
        const PntPart& p = outline.at(j);
        if (!p.sameName(*reference) && j >= 7) {
            starts.append(j);
            reference = &p;
        }
    }
    starts.append(n - 1);
    return starts;
}

QPolygonF Fill_partPoly(int s, int start, int end, double factor, QList<PntPart>* outline,
                        const QList<char>& kinds, QList<QPolygonF>* ribMarks, QList<QPolygonF>* cutMarks)
{
    QPolygonF poly;
    if (start < 0 || end > outline->size() || start >= end)
        return poly;
    poly.reserve(end - start);
    for (int j = start; j <= end - 2; ++j) {
        const PntPart& p = outline->at(j);
        const QPointF q = uberLeft(factor * p.allowance, p.point, outline->at(j + 1).point);
        poly.append(q);
        if (factor > 0)
            ControlsInclude(p.control, s, q, kinds, ribMarks, cutMarks);
    }
    const int m = end - 1;
    const PntPart& last = outline->at(m);
    const QPointF before = m > 0 ? outline->at(m - 1).point : last.point;
    const QPointF q = uberRight(factor * last.allowance, before, last.point);
    poly.append(q);
    if (factor > 0)
        ControlsInclude(last.control, s, q, kinds, ribMarks, cutMarks);
    return poly;
}

void ControlsInclude(bool control, int s, QPointF p, const QList<char>& kinds, QList<QPolygonF>* ribMarks,
                     QList<QPolygonF>* cutMarks)
{
    if (!control || s < 0 || s >= kinds.size())
        return;
    const char kind = kinds.at(s);
    if ((kind == 'L' || kind == 'R') && s < ribMarks->size())
        (*ribMarks)[s].append(p);
    else if (kind == 'S' && s < cutMarks->size())
        (*cutMarks)[s].append(p);
}

void Repair_Segment(QList<QPolygonF>* segments)
{
    for (QPolygonF& seg : *segments) {
        if (seg.isEmpty() || seg.size() > 7)
            continue;
        const QPointF F = seg.first(), L = seg.last();
        QPolygonF straight;
        straight.reserve(20);
        double t = 0.0;
        for (int i = 0; i < 20; ++i, t += 0.05)
            straight.append(F * (1 - t) + L * t);
        seg = straight;
    }
}

QPolygonF Over_Poly_Corners(bool trailingEdge, double flap, const QPolygonF* cur, const QPolygonF* prev,
                            const QPolygonF* next)
{
    if (!trailingEdge)
        return Over_Poly_Corners_1(cur, prev, next);
    const int m = cur->size(), mp = prev->size(), mn = next->size();
    if (m <= 5 || mp <= 5 || mn <= 5) {
        if (mp == 0 || mn == 0)
            return *cur;
        return make_Poly(32, flap, prev->last(), next->first());
    }
    // The flap stands on the trailing edge between the corners where the
    // neighbours' cutting lines meet it, so that the cutting line runs on
    // from them without a step. Hung between the neighbours' offset ends, it
    // would stand askew wherever a rib edge meets the trailing edge at a
    // slant, and the cutting line would fold back across itself there.
    const QPointF a = Lines_Intesection(prev->at(mp - 3), prev->at(mp - 6), cur->at(2), cur->at(5));
    const QPointF b = Lines_Intesection(cur->at(m - 3), cur->at(m - 6), next->at(2), next->at(5));
    return make_Poly(32, flap, a, b);
}

QPolygonF Over_Poly_Corners_1(const QPolygonF* cur, const QPolygonF* prev, const QPolygonF* next)
{
    const int m = cur->size(), mp = prev->size(), mn = next->size();
    if (m <= 5 || mp <= 5 || mn <= 5)
        return *cur;
    const QPointF c1 = Lines_Intesection(prev->at(mp - 3), prev->at(mp - 6), cur->at(2), cur->at(5));
    const QPointF c2 = Lines_Intesection(cur->at(m - 3), cur->at(m - 6), next->at(2), next->at(5));
    return Fine_Poly_Corners(cur, c1, c2);
}

QPolygonF Over_Poly_Corners2(const QPolygonF* cur, const QPolygonF* other)
{
    return Over_Poly_Corners_1(cur, other, other);
}

QPolygonF Fine_Poly_Corners(const QPolygonF* poly, QPointF c1, QPointF c2)
{
    int i1 = FindPolyIndex(poly, c1);
    int i2 = FindPolyIndex(poly, c2);
    if (i1 > i2) {
        std::swap(i1, i2);
        std::swap(c1, c2);
    }
    if (i2 < 1)
        return *poly;
    QPolygonF out;
    out.reserve(i2 - i1 + 1);
    out.append(c1);
    for (int i = i1 + 1; i <= i2 - 2; ++i)
        out.append(poly->at(i));
    out.append(c2);
    return out;
}

QPolygonF make_Poly(int n, double d, QPointF a, QPointF b)
{
    const QPointF r = uberRight(d, a, b);
    const QPointF l = uberLeft(d, a, b);
    QPolygonF out;
    out.reserve(n + 2);
    out.append(a);
    for (int i = 0; i < n; ++i)
        out.append(n > 1 ? l + (r - l) * i / double(n - 1) : l);
    out.append(b);
    return out;
}
