#include "lines/loading.h"

#include "core/designinputs.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/linetree.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Below this |cos| between a line and the load it shares the split would
// give a line the load times 1 / |cos|: a line at right angles takes none.
constexpr double kSplitLimit = 1e-6;

QVector3D direction(const LineProp& line)
{
    return (line.q2 - line.q1).normalized();
}

struct LoadWalk {
    QList<LineProp>* lines;
    const QPolygon* pairs;
    const QPolygon* points;
    QList<QPoint> path;   // 2-D points of the nodes being split, to stop at a cycle
    int unsplit = 0;

    void spread(int j, double F, int mode)
    {
        if (j < 0) {
            qDebug() << " lpIndex < 0 ";
            return;
        }
        if (j >= lines->size())
            return;
        LineProp& line = (*lines)[j];
        if (mode == 2)
            line.load = F;
        const QPoint node = mode == 2 ? line.p2 : line.p1;
        const QVector3D u = direction(line);
        const QPolygon children = get_childs_id_list(node, pairs, points);
        if (children.isEmpty() || path.contains(node))
            return;
        std::vector<QVector3D> d;
        std::vector<int> index;
        for (const QPoint& c : children) {
            if (c.y() < lines->size()) {
                d.push_back(direction(lines->at(c.y())));
                index.push_back(c.y());
            }
        }
        std::vector<double> T(d.size(), 0.0);
        if (Calc_Loading(int(d.size()), u, F, d.data(), T.data()) > 0)
            ++unsplit;
        path.append(node);
        for (size_t k = 0; k < index.size(); ++k)
            spread(index[k], T[k], 2);
        path.removeLast();
    }
};

} // namespace

bool Group_Share_Valid(double share)
{
    return designinput::kLoadShare.range.holds(share);
}

void SetUpLineGrupLoadings(ParaStruct* d)
{
    if (!d)
        return;
    const double* s = d->lineGroupShares;
    double* L = d->lineGroupLoads;
    switch (d->lineGroupCount) {
    case 4:
        std::copy(s, s + 4, L);
        break;
    case 3:
        L[0] = s[0];
        L[1] = s[1];
        L[2] = s[2] + s[3];
        L[3] = 0;
        break;
    case 2:
        L[0] = s[0];
        L[1] = s[1] + s[2] + s[3];
        L[2] = 0;
        L[3] = 0;
        break;
    default:
        break;
    }
}

int Calc_Loading(int n, QVector3D u, double F, const QVector3D* d, double* T)
{
    if (n <= 0 || !d || !T)
        return 0;
    int unshared = 0;
    std::vector<float> cosine(n, 0.0f);
    float Sx = 0, Sy = 0, Sz = 0;
    for (int i = 0; i < n; ++i) {
        cosine[i] = QVector3D::dotProduct(u, d[i]);
        if (!(std::fabs(cosine[i]) > kSplitLimit)) {
            ++unshared;
            continue;
        }
        Sx += float(d[i].x() / cosine[i]);
        Sy += float(d[i].y() / cosine[i]);
        Sz += float(d[i].z() / cosine[i]);
    }
    const double S = norma3(Sx, Sy, Sz);
    const double Fs = S > 0 ? F / S : 0.0;
    for (int i = 0; i < n; ++i)
        T[i] = std::fabs(cosine[i]) > kSplitLimit && S > 0 ? Fs / std::fabs(cosine[i]) : 0.0;
    return unshared;
}

int Loading_Walk(int j, double F, QList<LineProp>* lines, const QPolygon* pairs, const QPolygon* points, int mode)
{
    if (!lines || !pairs || !points)
        return 0;
    LoadWalk walk{lines, pairs, points, {}, 0};
    walk.spread(j, F, mode);
    return walk.unsplit;
}

LineTotals Line_Totals(const ParaStruct* d)
{
    LineTotals totals;
    if (!d)
        return totals;
    for (const BridleGroup& g : d->bridle.groups) {
        const int count = g.lineCount >= 0 && g.lineCount <= kLineEntries ? g.lineCount : 0;
        for (int i = 0; i < count; ++i) {
            const LineProp& line = g.lineArray[i];
            const double L = d->R_X(Dist3(line.q2, line.q1));
            totals.length += L;
            totals.area += L * line.diameter;
        }
    }
    totals.length *= 2;
    totals.area *= 2;
    return totals;
}

LineTotals getTotalBridleLength(const ParaStruct& d, bool withBridleData)
{
    return withBridleData ? Line_Totals(&d) : LineTotals();
}
