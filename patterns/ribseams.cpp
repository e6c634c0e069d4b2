#include "patterns/ribseams.h"

#include "airfoils/foilunfold.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "patterns/patterngeom.h"

#include <cmath>

namespace {

QPolygonF chordOffsets(double d, const QPolygonF& p, bool skipVertical)
{
    QPolygonF out;
    const int n = p.size();
    if (n < 3)
        return out;
    for (int j = 0; j < n - 6; j += 5) {
        const QPointF a = p.at(j), b = p.at(j + 4);
        if (skipVertical && a.x() == b.x())
            continue;
        out.append(uberLeft(d, a, b));
        out.append(uberRight(d, a, b));
    }
    out.append(uberRight(d, p.at(n - 3), p.at(n - 1)));
    return out;
}

QPointF unit(QPointF v)
{
    const double l = std::hypot(v.x(), v.y());
    return l > 0 ? v / l : QPointF();
}

double dot(QPointF a, QPointF b)
{
    return a.x() * b.x() + a.y() * b.y();
}

// Where the line through p along dir meets the line through q along e; p
// itself when they do not meet within `reach` of it (nearly parallel).
QPointF meet(QPointF p, QPointF dir, QPointF q, QPointF e, double reach)
{
    const double den = dir.x() * e.y() - dir.y() * e.x();
    if (std::abs(den) < 1e-12)
        return p;
    const QPointF w = q - p;
    const double t = (w.x() * e.y() - w.y() * e.x()) / den;
    const QPointF x = p + t * dir;
    return std::hypot(x.x() - p.x(), x.y() - p.y()) <= reach ? x : p;
}

} // namespace

QPolygonF Airfoil_ubermuss(double d, const QPolygonF& outline)
{
    return chordOffsets(d, outline, true);
}

QPolygonF Front_Airfoil_ubermuss(double d, const QPolygonF& outline)
{
    QPolygonF cut = Airfoil_ubermuss(d, outline);
    const int m = cut.size();
    if (m < 2)
        return cut;
    const QPointF start = outline.first(), end = outline.last();
    const QPointF along = start - end;
    if (along.isNull())
        return cut;
    // The edge where the mini-rib ends is sewn too: moved by the allowance
    // away from the nose (the side where the outline's points are not).
    QPointF mean;
    for (const QPointF& q : outline)
        mean += q;
    mean /= outline.size();
    QPointF normal = unit(QPointF(-along.y(), along.x()));
    if (dot(normal, mean - 0.5 * (start + end)) > 0)
        normal = -normal;
    const QPointF onEdge = end + std::abs(d) * normal;
    // The offset surface runs on to meet it; where it runs along it instead
    // the corner stays where the surface's offset ends.
    const double reach = 4 * std::abs(d);
    const QPointF first = meet(cut.at(0), cut.at(1) - cut.at(0), onEdge, along, reach);
    const QPointF last = meet(cut.at(m - 1), cut.at(m - 1) - cut.at(m - 2), onEdge, along, reach);
    cut[0] = first;
    cut[m - 1] = last;
    cut.append(first);
    return cut;
}

QPolygonF Rod_ubermuss(double d, const QPolygonF& rodPath)
{
    QPolygonF band = chordOffsets(d, rodPath, false);
    repair_Poly(&band);
    repair_Poly(&band);
    return band;
}

QPolygonF Rear_Airfoil_ubermuss(const MiniRibFlat& rear, double d, const QPolygonF& outline)
{
    QPolygonF out;
    const int n = outline.size();
    if (n == 0)
        return out;
    // In the rear mini-rib outline the cavity runs from the last upper point
    // (index b - 1) to the curve's end, the first lower point e, which stands
    // at e + n - 1000 (the lower run ends at point 998).
    const int b = rear.first;
    const int e = rear.last;
    for (int j = 0; j + 1 < n; ++j) {
        if (b - 1 <= j && j <= e + n - kAirfoilPoints) {
            out.append(outline.at(j));
            continue;
        }
        out.append(uberLeft(d, outline.at(j), outline.at(j + 1)));
        out.append(uberRight(d, outline.at(j), outline.at(j + 1)));
    }
    if (n < 3)
        return out;
    // At the trailing edge the two offset sides run on until they stand the
    // allowance beyond the tip, and are joined there straight across: the
    // tip keeps its allowance however sharp it is.
    const QPointF upper = unit(outline.at(0) - outline.at(1));
    const QPointF lower = unit(outline.at(n - 1) - outline.at(n - 2));
    const QPointF outward = unit(upper + lower);
    if (!outward.isNull()) {
        // The cap stands the allowance beyond the outer of the two points.
        const double beyond =
            std::max(dot(outline.at(0), outward), dot(outline.at(n - 1), outward)) + std::abs(d);
        const QPointF cap = beyond * outward;
        const QPointF across(-outward.y(), outward.x());
        const double reach = 1e3 * std::abs(d);
        if (dot(out.last(), outward) < beyond)
            out.append(meet(out.last(), lower, cap, across, reach));
        if (dot(out.first(), outward) < beyond)
            out.append(meet(out.first(), upper, cap, across, reach));
    }
    out.append(out.first());
    return out;
}
