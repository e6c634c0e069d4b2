#include "structure/diagplane.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/crossports.h"
#include "structure/diagonals.h"

#include <algorithm>

namespace {

constexpr int kEndGap = 10;   // upper points keep this far from the ends
constexpr int kLowerEnd = 990;
constexpr int kSearchGap = 5;

bool hasRibOne(const ParaStruct* d)
{
    return d->ribAirfoils[1].size() == kAirfoilPoints && d->noseIndex[1] > 2 * kEndGap
        && d->noseIndex[1] + kEndGap < kLowerEnd;
}

} // namespace

QPolygonF Plane_Work_Airfoil(const ParaStruct* d)
{
    return init_Work_Airfoil(d->ribAirfoils[1], kPlaneScale);
}

void Plane_Read_Indexes(ParaStruct* d, int* lower, int* upper)
{
    init_Diag_StartIndex(d);
    const bool clamp = hasRibOne(d);
    const int nose = d->noseIndex[1];
    for (int i = 0; i < 8; ++i) {
        upper[i] = d->diagRowIndexA[i];
        lower[i] = d->diagRowIndexB[i];
        if (clamp) {
            upper[i] = std::clamp(upper[i], kEndGap, nose - kEndGap);
            lower[i] = std::clamp(lower[i], nose + kEndGap, kLowerEnd);
        }
    }
}

int Plane_Move_Upper(const ParaStruct* d, const QPolygonF& foil, QPointF p)
{
    QPointF target = p;
    const int end = std::min(d->noseIndex[1] - kSearchGap, int(foil.size()) - 1);
    for (int i = kSearchGap; i < end; ++i) {
        const double a = foil[i].x();
        const double b = foil[i + 1].x();
        if (p.x() >= std::min(a, b) && p.x() <= std::max(a, b)) {
            target = QPointF(p.x(), foil[i].y());
            break;
        }
    }
    return FindPolyIndex(&foil, target);
}

void Plane_Bottom_Width(const ParaStruct* d, int* lower)
{
    for (int j = 0; j < 4; ++j) {
        const int a = d->lineIndex[2 + j][1];
        const int w = d->diagTableRows[j][1];
        lower[2 * j] = a - w;
        lower[2 * j + 1] = a + w;
    }
}
