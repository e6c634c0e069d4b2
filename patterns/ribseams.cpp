#include "patterns/ribseams.h"

#include "airfoils/foilunfold.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "patterns/patterngeom.h"

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

} // namespace

QPolygonF Airfoil_ubermuss(double d, const QPolygonF& outline)
{
    return chordOffsets(d, outline, true);
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
    out.append(outline.last());
    for (int j = 0; j + 1 < n; ++j) {
        if (b - 1 <= j && j <= e + n - kAirfoilPoints) {
            out.append(outline.at(j));
            continue;
        }
        out.append(uberLeft(d, outline.at(j), outline.at(j + 1)));
        out.append(uberRight(d, outline.at(j), outline.at(j + 1)));
    }
    return out;
}
