#include "structure/diagonals.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/crossports.h"
#include "structure/holefun.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kBottom = 0;
constexpr int kTop = 100;
constexpr int kStartIndex = 10; // diagonal ends keep this far from the trailing edge and the nose

bool validPoint(int i)
{
    return i >= 0 && i < kAirfoilPoints;
}

// The edge lines of a record from rib 1's pair list as it stands.
void edgeLines(ParaStruct* d, DiagonalData* D);

bool usableRib(const ParaStruct* d, int rib)
{
    return rib >= std::max(d->firstRib, 0) && rib < std::min(d->lastRib, kRibSlots);
}

void readTable(ParaStruct* d, const DiagonalRow* T)
{
    for (const DiagonalPlanEntry& e : Diagonal_Plan(d, T)) {
        if (!e.built)
            continue;
        DiagonalData rec;
        rec.first.rib = e.start.rib;
        rec.first.heightPercent = e.start.heightPercent;
        rec.second.rib = e.end.rib;
        rec.second.heightPercent = e.end.heightPercent;
        for (DiagonalEnd* end : {&rec.first, &rec.second}) {
            for (int k = 0; k < 8; ++k)
                end->lineIndex[k] = end->heightPercent == kBottom ? d->diagIndexTableA[k][end->rib]
                                                                  : d->diagRowIndexA[k];
        }
        edgeLines(d, &rec);
        d->diagonals.append(rec);
    }
}

} // namespace

QList<DiagonalPlanEntry> Diagonal_Plan(const ParaStruct* d, const DiagonalRow* T)
{
    QList<DiagonalPlanEntry> plan;
    const int last = std::min(d->lastRib, kStructSlots) - 1;
    const int firstStart = std::max(d->firstRib, 0);
    const int lastStart = last - 2;
    const int lastPartner = last - 1;
    for (int r = 0; r <= std::min(d->lastRib, kStructSlots - 1); ++r) {
        const DiagonalRow& row = T[r];
        if (!row.connectNext)
            continue;
        DiagonalPlanEntry e;
        e.row = r;
        e.start.rib = row.rib;
        e.start.heightPercent = row.heightPercent;
        const bool extreme = row.heightPercent == kBottom || row.heightPercent == kTop;
        if (r < firstStart) {
            e.reason = QStringLiteral("diagonals start from rib %1 on").arg(firstStart);
        } else if (r > lastStart) {
            e.reason = QStringLiteral("no diagonal starts from rib %1 outwards").arg(lastStart + 1);
        } else if (!extreme) {
            e.reason = QStringLiteral("a diagonal starts at 0 or 100 %, not at %1 %").arg(row.heightPercent);
        } else if (!usableRib(d, row.rib)) {
            e.reason = QStringLiteral("the table's rib numbers are not stored yet (OK stores them)");
        } else {
            const int other = row.heightPercent == kBottom ? kTop : kBottom;
            for (int j = r + 1; j <= lastPartner; ++j) {
                if (T[j].heightPercent == other && usableRib(d, T[j].rib)) {
                    e.built = true;
                    e.end.rib = T[j].rib;
                    e.end.heightPercent = T[j].heightPercent;
                    break;
                }
            }
            if (!e.built)
                e.reason = QStringLiteral("no rib up to %1 at %2 % to end on").arg(lastPartner).arg(other);
        }
        plan.append(e);
    }
    return plan;
}

void init_Diag_StartIndex(ParaStruct* d)
{
    d->diagStartIndexA = kStartIndex;
    d->diagStartIndexB = d->noseIndex[1] - kStartIndex;
}

void Set_All_DiagBottomWidth(ParaStruct* d)
{
    const int last = std::min(d->lastRib, kStructSlots);
    for (int b = 0; b < 4; ++b)
        for (int r = std::max(d->firstRib, 0); r < last; ++r)
            d->diagTableRows[b][r] = int(std::lround(d->rib_glob_factor(r) * 0.01 * d->diagBottomWidth));
}

void update_Diagonal_Main(ParaStruct* d, const int* lower, const int* upper)
{
    init_Diag_StartIndex(d);
    Set_DW_Bottom_Shift(d);
    for (int k = 0; k < 8; ++k) {
        d->diagRowIndexB[k] = lower[k];
        d->diagRowIndexA[k] = upper[k];
    }
}

template <class Point, class Out>
static void setIndexPoints(const QList<Point>& list, const int* idx, Out* out)
{
    for (const Point& e : list) {
        for (int k = 0; k < 8; ++k) {
            if (std::abs(e.index - idx[k]) <= 1) {
                out[k] = e.point;
                break;
            }
        }
    }
}

void set_index_tpnt(const QList<OrigPnt2D>& list, const int* idx, QPointF* out)
{
    setIndexPoints(list, idx, out);
}

void set_index_3d_tpnt(const QList<OrigPnt3D>& list, const int* idx, QVector3D* out)
{
    setIndexPoints(list, idx, out);
}

namespace {

// The diagonals are laid out on rib 1's own pair list. The design shares the
// pair lists of the ribs inboard of a transition rib (the other code reads
// those), so rib 1's own list is made for the layout and the shared one put
// back afterwards.
class RibOnePairs
{
public:
    explicit RibOnePairs(ParaStruct* d) : d(d), shared(d->foilPairs[1]) { d->Make_ParList12(1); }
    ~RibOnePairs() { d->foilPairs[1] = shared; }
    RibOnePairs(const RibOnePairs&) = delete;
    RibOnePairs& operator=(const RibOnePairs&) = delete;

private:
    ParaStruct* d;
    QList<Par12> shared;
};

} // namespace

void Generate_All_Diagonals(ParaStruct* d)
{
    if (!d || d->ribAirfoils[0].isEmpty())
        return;
    d->diagonals.clear();
    const RibOnePairs ribOne(d);
    Read_DiagData1(d);
    Read_DiagData2(d);
    Unfold_All_Diagonals(d);
    setup_model_cross_port(d);
}

void Read_DiagData1(ParaStruct* d)
{
    readTable(d, d->diagTableD1);
}

void Read_DiagData2(ParaStruct* d)
{
    readTable(d, d->diagTableD2);
}

QList<OrigPnt3D> create_listup(const ParaStruct* d, int rib, int from, int to)
{
    QList<OrigPnt3D> out;
    if (rib < 0 || rib >= kRibSlots)
        return out;
    for (int i = from; i <= to; ++i)
        if (validPoint(i))
            out.append(OrigPnt3D{d->ribCurves3D[rib][i], i});
    return out;
}

QList<OrigPnt3D> create_listdw(const ParaStruct* d, int rib, int from, int to)
{
    QList<OrigPnt3D> out;
    if (rib < 0 || rib >= kRibSlots)
        return out;
    for (int i = from; i >= to; --i)
        if (validPoint(i))
            out.append(OrigPnt3D{d->ribCurves3D[rib][i], i});
    return out;
}

void Create_Pnt_3D_List(ParaStruct* d, DiagonalData* D)
{
    const RibOnePairs ribOne(d);
    edgeLines(d, D);
}

namespace {

void edgeLines(ParaStruct* d, DiagonalData* D)
{
    init_Diag_StartIndex(d);
    const int s0 = d->diagStartIndexA;
    const int s1 = d->diagStartIndexB;
    // Every rib uses rib 1's index positions: the lower line starts at the
    // lower point paired with upper point s0 (same chord position) and has
    // as many points as the upper line.
    const QList<Par12>& pairs = d->foilPairs[1];
    QList<OrigPnt3D> top, bottom;
    const bool firstIsBottom = D->first.heightPercent <= D->second.heightPercent;
    const DiagonalEnd& low = firstIsBottom ? D->first : D->second;
    const DiagonalEnd& high = firstIsBottom ? D->second : D->first;
    if (s0 >= 0 && s0 < pairs.size() && s1 >= s0) {
        const int l0 = pairs.at(s0).low;
        const int l1 = l0 - (s1 - s0);
        top = create_listup(d, high.rib, s0, s1);
        bottom = create_listdw(d, low.rib, l0, l1);
    }
    D->edgeLineA = firstIsBottom ? bottom : top;
    D->edgeLineB = firstIsBottom ? top : bottom;
}

} // namespace

OrigPnt2D Insert_OrigPnt2D(const ParaStruct* d, QPointF p, int index, int rib, double allowance)
{
    return OrigPnt2D{p, index, allowance, rib, d->is_Control(index, rib)};
}

void Unfold_One_Diagonal(const ParaStruct* d, DiagonalData* D)
{
    const QList<OrigPnt3D>& A = D->edgeLineA;
    const QList<OrigPnt3D>& B = D->edgeLineB;
    if (A.isEmpty() || B.isEmpty())
        return;
    const double s = d->ToScreen(0.001 * d->seamAllowance[3]);
    const int n = int(std::min(A.size(), B.size()));
    QList<OrigPnt2D> L, R;
    L.reserve(n);
    R.reserve(n);
    auto add = [&](QList<OrigPnt2D>& list, QPointF p, int index, int rib) {
        list.append(Insert_OrigPnt2D(d, p, index, rib, s));
        if (list.last().control)
            D->flatControls.append(p);
    };
    add(L, QPointF(0, 0), A[0].index, D->first.rib);
    add(R, QPointF(Dist3(A[0].point, B[0].point), 0), B[0].index, D->second.rib);
    for (int i = 1; i < n; ++i) {
        const QPointF PL = L.last().point;
        const QPointF PR = R.last().point;
        const QVector3D Ap = A[i - 1].point;
        const QVector3D Bp = B[i - 1].point;
        const double base = Dist3(Ap, Bp);
        const QPointF a = unfold_Pnt(PL, PR, base, Dist3(Bp, A[i].point), Dist3(Ap, A[i].point));
        const QPointF b = unfold_Pnt(PL, PR, base, Dist3(Bp, B[i].point), Dist3(Ap, B[i].point));
        add(L, a, A[i].index, D->first.rib);
        add(R, b, B[i].index, D->second.rib);
    }
    D->flatEdgeA = L;
    D->flatEdgeB = R;
}

void Unfold_All_Diagonals(ParaStruct* d)
{
    const int count = int(d->diagonals.size());
    for (int k = 0; k < count; ++k) {
        DiagonalData copy = d->diagonals.at(k);
        copy.flatControls.clear();
        Unfold_One_Diagonal(d, &copy);
        d->diagonals[k] = copy;
    }
}

void setup_model_cross_port(ParaStruct* d)
{
    d->diagModelPolys.clear();
    Triang& t = d->diagModelTriangle;
    t.outline = QPolygonF({t.corner[0], t.corner[1], t.corner[2]});
    t.cornerStep = Hole_Corner_Factor(t.cornerCount);
    t.offset = Hole_Screen_Offset(d, t.offsetMm);
    d->diagModelPolys += Create_div_Triangles_opened(d, t);
    d->diagModelOutline[0] = d->diagModelPoints[0];
    d->diagModelOutline[1] = d->diagModelPoints[1];
    d->diagModelOutline[2] = d->diagModelPoints[2];
    d->diagModelOutline[3] = d->diagModelPoints[5];
}
