#include "lines/linemorphing.h"

#include "core/parastruct.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>

namespace {

// The rib tables hold the half wing only while its last rib lies within them.
int lastTableRib(const ParaStruct* d)
{
    return std::clamp(d->lastRib, -1, kRibSlots - 1);
}

} // namespace

bool Line_Point_Plan(const ParaStruct* d, int rib, int index, QPointF* out)
{
    if (!d || rib < 0 || rib >= kRibSlots)
        return false;
    const QPolygonF& foil = d->ribAirfoils[rib];
    if (index < 0 || index >= foil.size())
        return false;
    *out = QPointF(d->ribSpanPos[rib], d->leadingEdgeX[rib] + d->chord[rib] * foil.at(index).x());
    return true;
}

void Winflex_Row(ParaStruct* d, int row, double percent, int* dynRow)
{
    if (!d || d->ribAirfoils[0].isEmpty() || row < 0 || row >= kLineRows)
        return;
    const double w = percent / 100;
    const double b = d->rowCentreIndex[row];
    for (int j = 0; j <= lastTableRib(d); ++j) {
        double v = (1 - w) * b + (b + d->f_delta_line_index(j)) * w;
        v = std::min(std::fabs(v), 999.0);
        const double x = std::max<double>(d->noseIndex[j] + 1, v);
        dynRow[j] = int(std::round(x));
        d->resLineIndex[row][j] = x;
    }
}

int Snap_Line_Index(const ParaStruct* d, int rib, double y)
{
    if (!d || rib < 0 || rib >= kRibSlots)
        return kNoLinePoint;
    const int nose = d->noseIndex[rib];
    if (nose > 998)
        return kNoLinePoint;
    const QPolygonF& foil = d->ribAirfoils[rib];
    const int last = std::min<int>(998, int(foil.size()) - 1);
    int best = kNoLinePoint;
    double bestDistance = 0;
    for (int i = std::max(nose, 0); i <= last; ++i) {
        const double distance = std::fabs(d->leadingEdgeX[rib] + d->chord[rib] * foil.at(i).x() - y);
        if (best == kNoLinePoint || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

int Cell_At(const ParaStruct* d, double x)
{
    if (!d)
        return -1;
    for (int c = std::max(d->firstRib, 0) + 1; c <= lastTableRib(d); ++c)
        if (is_dou_between(d->ribSpanPos[c - 1], d->ribSpanPos[c], x))
            return c;
    return -1;
}

bool testABCDE(const int* indexes)
{
    for (int k = 1; k < kLineRows; ++k)
        if (indexes[k - 1] >= indexes[k])
            return false;
    return true;
}

QPolygonF Centre_Foil_Drawing(const ParaStruct* d)
{
    QPolygonF foil;
    if (!d || d->firstRib < 0 || d->firstRib >= kAirfoilSlots)
        return foil;
    for (const QPointF& p : d->ribAirfoils[d->firstRib])
        foil.append(QPointF(560 * p.x() + 40, -560 * p.y()));
    return foil;
}

QPointF pointOnDwFoil(const QPolygonF& foil, int start, QPointF p)
{
    const int last = std::min<int>(994, int(foil.size()) - 2);
    for (int i = std::max(start + 5, 0); i <= last; ++i)
        if (is_dou_between(foil.at(i).x(), foil.at(i + 1).x(), p.x()))
            return QPointF(p.x(), foil.at(i).y());
    return p;
}
