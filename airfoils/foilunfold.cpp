#include "airfoils/foilunfold.h"

#include "core/curves.h"
#include "geom/upindex.h"
#include "core/parastruct.h"
#include "geom/patternfun.h"
#include "core/transf.h"

#include <algorithm>

namespace {

constexpr int kMiddleRow = 4; // sub-row of the inflated grid in the middle of the cell

// Midpoint as the wing model forms it: sums in single precision, halved in
// double precision, stored in single precision.
QVector3D midpoint(const QVector3D& a, const QVector3D& b)
{
    const float x = a.x() + b.x();
    const float y = a.y() + b.y();
    const float z = a.z() + b.z();
    return QVector3D(float(double(x) / 2.0), float(double(y) / 2.0), float(double(z) / 2.0));
}

// Origin of the flat frame of cell r: the midpoint of the two trailing edges.
QVector3D cellOrigin(const ParaStruct* d, int r)
{
    return midpoint(d->ribCurves3D[r][0], d->ribCurves3D[r + 1][0]);
}

QPointF flat(const QVector3D& p, const QVector3D& origin)
{
    return mapfoilPnt_3D_2D(0.0, p, origin);
}

bool isCell(int r)
{
    return r >= 0 && r + 1 < kRibSlots;
}

} // namespace

void getRear_rearIndex(const ParaStruct* design, int r, int* first, int* last)
{
    if (!design || !first || !last || r < 0 || r >= kAirfoilSlots)
        return;
    const QList<Par12>& pairs = design->foilPairs[r];
    if (pairs.isEmpty())
        return;
    const int k = int(0.01 * design->minirib.rearRibPosition * design->noseIndex[r]);
    // A depth beyond the pair list, or a pair without a lower partner, gives
    // no rear mini-rib either.
    const int low = k > 0 && k < pairs.size() ? pairs[k].low - 2 : -1;
    if (k <= 0 || low < 0 || low >= kAirfoilPoints) {
        *last = kAirfoilPoints - 1;
        *first = 0;
        return;
    }
    *last = low;
    *first = get_UPindex(&design->ribAirfoils[r], design->noseIndex[r], low) + 2;
}

MiniRibFlat unfold_FrontFoil(const ParaStruct& design, int r, QList<QVector3D>* out)
{
    MiniRibFlat front;
    if (!out)
        return front;
    out->clear();
    if (!isCell(r))
        return front;
    const MiniribData& m = design.minirib;
    const int nose = design.noseIndex[r];
    // The range stays within the airfoil's points whatever the settings.
    const int from = std::max(nose - 5 * m.frontRibStart, 0);
    const int to = std::min(nose + 5 * m.frontRibEnd, kAirfoilPoints); // excluded
    const QVector3D origin = cellOrigin(&design, r);
    for (int i = from; i < to; ++i) {
        const QVector3D M = midpoint(design.ribCurves3D[r][i], design.ribCurves3D[r + 1][i]);
        out->append(M);
        const QPointF q = flat(M, origin);
        front.outline.append(q);
        if (design.is_Control(i, r))
            front.marks.append(q);
    }
    return front;
}

MiniRibFlat unfold_RearFoil(const ParaStruct& design, int r, QList<QVector3D>* out)
{
    MiniRibFlat rear;
    if (!out)
        return rear;
    out->clear();

    // Without foil pairs there is no range: the values of "no rear mini-rib".
    int first = 0, last = kAirfoilPoints - 1;
    getRear_rearIndex(&design, r, &first, &last);
    rear.first = first;
    rear.last = last;
    if (first <= 1 || r >= design.lastRib || !isCell(r))
        return rear;
    first = std::min(first, kAirfoilPoints);
    last = std::clamp(last, 0, kAirfoilPoints - 1);

    QVector3D origin = cellOrigin(&design, r);
    if (r == 0 && design.centreCell) {
        const QVector3D te = design.ribCurves3D[1][0];
        origin = midpoint(te, p_SymY(te));
    }
    const QVector3D* middle = design.inflatedGrid[kMiddleRow][r];
    QPolygonF& outline = rear.outline;
    int control = 0;
    auto mark = [&](const QPointF& q, int i) {
        rear.marks.append(q);
        if (control < 6)
            rear.controls[control++] = i;
    };

    // Upper side from the trailing edge.
    for (int i = 0; i < first; ++i) {
        out->append(middle[i]);
        const QPointF q = flat(middle[i], origin);
        outline.append(q);
        if (i == 0 || i == first / 2 || i == first - 1)
            mark(q, i);
    }

    // Front edge: a quadratic curve from the upper to the lower end, bent
    // towards the trailing edge by the cavity.
    const QPointF P = outline.last();
    const QPointF E = flat(middle[last], origin);
    const QPointF A = outline.first();
    const QPointF M = (P + E) / 2.0;
    const QPointF C = M + design.minirib.rearRibCavity * (A - M);
    outline.append(P);
    const QPolygonF B = Bezier_2D(P, C, E, 64);
    for (int j = 2; j <= B.size() - 3; ++j) {
        outline.append(B[j]);
        out->append(mapfoil_minirib_T_2D_3D(&design, r, B[j], origin));
    }
    outline.append(E);

    // Lower side back to the trailing edge (point 999 is left out).
    for (int i = last; i <= kAirfoilPoints - 2; ++i) {
        out->append(middle[i]);
        const QPointF q = flat(middle[i], origin);
        outline.append(q);
        if (i == last || i == (last + kAirfoilPoints) / 2)
            mark(q, i);
    }
    return rear;
}
