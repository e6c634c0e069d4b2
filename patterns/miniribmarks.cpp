#include "patterns/miniribmarks.h"

#include "airfoils/foilunfold.h"
#include "core/airfoil.h"
#include "core/parastruct.h"
#include "patterns/controlmarks.h"
#include "patterns/polygoninside.h"
#include "geom/patternfun.h"
#include "geom/sheet.h"

#include <algorithm>

namespace {

constexpr int kLastIndex = kAirfoilPoints - 1;

bool holds(const PolygonInside& piece, const QPolygonF& midLine, int k)
{
    return k >= 0 && k < midLine.size() && piece.containsOddEven(midLine.at(k));
}

QPointF placed(QPointF p, QPointF offset)
{
    return turn_F_Y_point(p) + offset;
}

bool inRange(int k, int a, int b)
{
    return std::min(a, b) <= k && k <= std::max(a, b);
}

} // namespace

void CalcFrontRibControls(PieceSheet* out, const ParaStruct* design, int cell, QPointF offset, const QString& label,
                          const QPolygonF& midLine, const QPolygonF& piece)
{
    if (cell < 0 || cell >= kStructSlots || !design->frontRibEnabled[cell])
        return;
    const int n = design->noseIndex[std::min(cell, kAirfoilSlots - 1)];
    const int from = n - 5 * design->minirib.frontRibStart;
    const int to = n + 5 * design->minirib.frontRibEnd - 2;
    const PolygonInside inside(piece);
    QPolygonF seam;
    for (int k = from; k <= to; ++k) {
        if (!holds(inside, midLine, k))
            continue;
        const QPointF q = placed(midLine.at(k), offset);
        seam.append(q);
        if (design->is_Control(k, cell))
            Sheet_Mark(out, design, q, 12, label);
    }
    out->polyline(seam, label, 3);
}

void CalcRearRibControls(PieceSheet* out, const ParaStruct* design, int cell, const MiniRibFlat& rear,
                         QPointF offset, const QString& label, const QPolygonF& midLine, const QPolygonF& piece)
{
    const int* idx = rear.controls;
    const int s = std::clamp(std::clamp(idx[0], 0, 6), 0, kLastIndex);
    const int u = std::clamp(idx[2], 0, kLastIndex);
    int e = std::clamp(idx[3], 0, kLastIndex);
    const bool sewn = cell >= 0 && cell < kStructSlots && design->rearRibEnabled[cell];
    const PolygonInside inside(piece);
    if (sewn) {
        for (int c = 0; c < 5; ++c) {
            const int k = c == 0 ? s : std::clamp(idx[c], 0, kLastIndex);
            if (holds(inside, midLine, k))
                Sheet_Mark(out, design, placed(midLine.at(k), offset), 12, label);
        }
        QPolygonF seam;
        for (int k = 0; k < midLine.size(); ++k)
            if ((inRange(k, s, u) || inRange(k, e, kLastIndex)) && holds(inside, midLine, k))
                seam.append(placed(midLine.at(k), offset));
        out->polyline(seam, label, 3);
    } else {
        e = kLastIndex;
    }

    QPolygonF mid;
    for (int k = 0; k < midLine.size(); ++k)
        if (inRange(k, u + 10, e - 10) && holds(inside, midLine, k))
            mid.append(placed(midLine.at(k), offset));
    if (mid.size() > 2) {
        const QPolygonF even = Interpolated_poly(70, &mid);
        out->polyline(even, label + QStringLiteral(".midline"), 3);
    }
}
