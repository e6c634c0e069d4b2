#include "structure/reinforcecurves.h"

#include "core/parastruct.h"
#include "geom/ribunfold.h"
#include "geom/reinforce.h"

#include <algorithm>

namespace {

constexpr int kMylarPoints = 5;
constexpr int kRodPoints = 4;
constexpr int kLastPoint = kAirfoilPoints - 1;
// The lower rod never starts closer to the nose than this.
constexpr int kLowerRodNoseGap = 10;

bool hasRibOne(const ParaStruct* d)
{
    const int nose = d->noseIndex[1];
    return d->ribAirfoils[1].size() == kAirfoilPoints && nose > 0 && nose < kLastPoint;
}

// Point i of rib 1 with y turned downward.
QPointF foilPoint(const ParaStruct* d, int i)
{
    const QPointF p = d->ribAirfoils[1].at(std::clamp(i, 0, kLastPoint));
    return QPointF(p.x(), -p.y());
}

ReinforceCurve curveFrom(const ParaStruct* d, int a, int ref, int b, const QList<QPointF>& pairs, bool clamp)
{
    ReinforceCurve c;
    c.first = foilPoint(d, a);
    c.reference = foilPoint(d, ref);
    c.second = foilPoint(d, b);
    for (QPointF pair : pairs) {
        if (clamp)
            pair = QPointF(std::clamp(pair.x(), 0.001, 0.999), std::clamp(pair.y(), 0.1, 3.0));
        c.pairs.append(pair);
        c.points.append(fun_T(c.first, c.reference, c.second, pair.x(), pair.y()));
    }
    return c;
}

QList<QPointF> rodPairs(const NoseRod& rod)
{
    QList<QPointF> pairs;
    for (int k = 0; k < kRodPoints; ++k)
        pairs.append(Rod_Shape_Pair(rod, k));
    return pairs;
}

void storeRod(NoseRod* rod, const ReinforceCurve& c)
{
    for (int k = 0; k < kRodPoints && k < c.pairs.size(); ++k)
        Set_Rod_Shape_Pair(rod, k, c.pairs[k]);
}

} // namespace

int Lower_Rod_Centre(const ParaStruct* d)
{
    return int((d->lineIndex[1][1] + d->lineIndex[2][1]) * 0.5);
}

ReinforceCurve Mylar_Curve(const ParaStruct* d)
{
    if (!hasRibOne(d))
        return {};
    const int nose = d->noseIndex[1];
    QList<QPointF> pairs;
    for (int k = 0; k < kMylarPoints; ++k)
        pairs.append(QPointF(d->minirib.mylarSplineA[k], d->minirib.mylarSplineB[k]));
    return curveFrom(d, nose - (d->minirib.mylarStart * 1000) / 300, nose,
                     (d->minirib.mylarEnd * 1000) / 300 + nose, pairs, true);
}

ReinforceCurve Upper_Rod_Curve(const ParaStruct* d)
{
    if (!hasRibOne(d))
        return {};
    const int nose = d->noseIndex[1];
    const int a = std::min(std::max(nose - d->rod1.index[0], 0), nose);
    const int b = std::min(std::max(nose, nose + d->rod1.index[1]), kLastPoint);
    return curveFrom(d, a, nose, b, rodPairs(d->rod1), true);
}

ReinforceCurve Lower_Rod_Curve(const ParaStruct* d)
{
    if (!hasRibOne(d))
        return {};
    const int nose = d->noseIndex[1];
    const int m = std::clamp(Lower_Rod_Centre(d), 0, kLastPoint);
    const int a = std::max(nose - kLowerRodNoseGap, m - d->rod2.index[0]);
    const int b = std::min(m + d->rod2.index[1], kLastPoint);
    return curveFrom(d, a, d->Find_i1up_index(1, m), b, rodPairs(d->rod2), false);
}

void Reset_Curve(ReinforceCurve* c)
{
    for (int i = 0; i < c->points.size(); ++i) {
        const double lambda = 0.15 * (i + 1);
        const QPointF q = (1 - lambda) * c->first + lambda * c->second;
        c->points[i] = q;
        c->pairs[i] = QPointF(lambda, f_mi(c->first, c->reference, c->second, q, lambda));
    }
}

void Move_Curve_Point(ReinforceCurve* c, int k, QPointF delta)
{
    if (k < 0 || k >= c->points.size())
        return;
    const QPointF q = c->points[k] + delta;
    const double lambda = f_lam(c->first, c->reference, c->second, q);
    c->points[k] = q;
    c->pairs[k] = QPointF(lambda, f_mi(c->first, c->reference, c->second, q, lambda));
}

void Store_Mylar(ParaStruct* d, const ReinforceCurve& c)
{
    for (int k = 0; k < kMylarPoints && k < c.pairs.size(); ++k) {
        d->minirib.mylarSplineA[k] = c.pairs[k].x();
        d->minirib.mylarSplineB[k] = c.pairs[k].y();
    }
}

void Store_Upper_Rod(ParaStruct* d, const ReinforceCurve& c)
{
    storeRod(&d->rod1, c);
}

void Store_Lower_Rod(ParaStruct* d, const ReinforceCurve& c)
{
    storeRod(&d->rod2, c);
}
