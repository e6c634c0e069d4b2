#include "structure/crossports.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/holefun.h"
#include "structure/structfun.h"

#include <algorithm>
#include <iterator>
#include <type_traits>
#include <cmath>

namespace {

constexpr int kStripTriangles = 11;   // slots 0..10; slot 11 is a spare
constexpr int kAnchors = 13;
constexpr int kStations = 9;
constexpr double kFarAway = 10000;    // nearest-point searches give up beyond this

// The triangle strip: slot -> anchors of p0, p1, p2. Even slots stand on the
// lower surface with the apex above, odd slots hang from the upper surface
// with the apex at an attachment point.
constexpr int kStrip[kStripTriangles][3] = {
    {0, 1, 7}, {7, 8, 1}, {1, 2, 8}, {8, 9, 2}, {2, 3, 9}, {9, 10, 3},
    {3, 4, 10}, {10, 11, 4}, {4, 5, 11}, {11, 12, 5}, {5, 6, 12},
};

bool validGroup(int group)
{
    return group >= 0 && group < kCrossPortGroups;
}

bool validRib(const ParaStruct& d, int rib)
{
    return rib >= 0 && rib < kRibSlots && !d.ribAirfoils[rib].isEmpty();
}

template <class Shape>
void applyReset(const ParaStruct& d, Shape* s, bool reset)
{
    if (reset) {
        s->holeCount = d.crossPortHoles;
        s->cornerCount = int(d.crossPortCorner);
        s->offsetMm = d.crossPortOffset;
    }
    s->cornerStep = Hole_Corner_Factor(s->cornerCount);
    s->offset = Hole_Screen_Offset(&d, s->offsetMm);
    s->expanded = true;
}

void setTriangleCorners(Triang* t, QPointF a, QPointF b, QPointF c)
{
    t->corner[0] = a;
    t->corner[1] = b;
    t->corner[2] = c;
}

void rebuildOutline(Triang* t)
{
    t->outline = QPolygonF({t->corner[0], t->corner[1], t->corner[2]});
}

void rebuildOutline(Trap* t)
{
    t->outline = QPolygonF({t->corner[0], t->corner[1], t->corner[2], t->corner[3]});
}

// The upper midpoints between consecutive line rows on the rib's airfoil.
// The search stops at rib 1's nose for every rib.
int upperMid(const ParaStruct& d, int rib, int row)
{
    return middleTopPoint(d.ribAirfoils[rib], d.noseIndex[1], d.lineIndex[row][rib], d.lineIndex[row + 1][rib]);
}

void setTriangleAnchorsFromMids(const ParaStruct& d, int rib, HoleLayout* h)
{
    h->crossPortTriIndex[0] = d.noseIndex[rib];
    // Slot 7 sits above the middle of O1 and O2; the O2-A middle is not used.
    h->crossPortTriIndex[7] = h->trapIndex[0];
    for (int j = 2; j <= 6; ++j)
        h->crossPortTriIndex[6 + j] = h->trapIndex[j];
}

template <typename T, size_t N>
void copyArray(const T (&from)[N], T (&to)[N])
{
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

bool sameShape(const Triang& a, const Triang& b)
{
    return std::equal(std::begin(a.corner), std::end(a.corner), std::begin(b.corner)) && a.outline == b.outline
           && a.holeCount == b.holeCount && a.cornerCount == b.cornerCount && a.offsetMm == b.offsetMm
           && a.offset == b.offset && a.cornerStep == b.cornerStep && a.expanded == b.expanded;
}

bool sameShape(const Trap& a, const Trap& b)
{
    return std::equal(std::begin(a.corner), std::end(a.corner), std::begin(b.corner)) && a.outline == b.outline
           && a.holeCount == b.holeCount && a.cornerCount == b.cornerCount && a.offsetMm == b.offsetMm
           && a.offset == b.offset && a.cornerStep == b.cornerStep && a.expanded == b.expanded;
}

// Shapes hold outlines shared between copies: a shape laid out again as it
// was is left as it is, so that keeping a layout writes only what changed.
template <typename Shape, size_t N>
void copyArray(const Shape (&from)[N], Shape (&to)[N], std::true_type)
{
    for (size_t i = 0; i < N; ++i)
        if (!sameShape(from[i], to[i]))
            to[i] = from[i];
}

void copyArray(const CrossPorts (&from)[kCrossPortGroups], CrossPorts (&to)[kCrossPortGroups])
{
    for (int g = 0; g < kCrossPortGroups; ++g) {
        to[g].shapeCount = from[g].shapeCount;
        std::copy(std::begin(from[g].values), std::end(from[g].values), std::begin(to[g].values));
        copyArray(from[g].triangles, to[g].triangles, std::true_type());
        copyArray(from[g].traps, to[g].traps, std::true_type());
    }
}

// The members of a layout that the design keeps (the project file stores
// them), between a design and a layout, either way.
template <typename From, typename To>
void copyLayout(const From& from, To& to)
{
    copyArray(from.crossPortTriIndex, to.crossPortTriIndex);
    copyArray(from.trapIndexA, to.trapIndexA);
    copyArray(from.trapIndexB, to.trapIndexB);
    copyArray(from.crossPorts, to.crossPorts);
}

} // namespace

HoleLayout Hole_Layout_Of(const ParaStruct& design)
{
    HoleLayout layout;
    Refresh_Hole_Layout(design, &layout);
    return layout;
}

void Refresh_Hole_Layout(const ParaStruct& design, HoleLayout* layout)
{
    copyLayout(design, *layout);
}

void Keep_Hole_Layout(ParaStruct* design, const HoleLayout& layout)
{
    copyLayout(layout, *design);
}

void Set_Triang_Index_Values(const ParaStruct& d, int rib, HoleLayout* h)
{
    if (!validRib(d, rib))
        return;
    for (int j = 0; j < 7; ++j)
        h->trapIndex[j] = upperMid(d, rib, j);
    for (int k = 1; k <= 6; ++k)
        h->crossPortTriIndex[k] = d.lineIndex[k + 1][rib];
    setTriangleAnchorsFromMids(d, rib, h);
}

void Set_Triang_Index_Values2(const ParaStruct& d, int rib, const QPolygonF& R, const QPolygonF& W,
                              HoleLayout* h)
{
    if (!validRib(d, rib) || R.isEmpty() || W.isEmpty())
        return;
    for (int j = 0; j < 7; ++j) {
        const int m = upperMid(d, rib, j);
        h->trapIndex[j] = m < R.size() ? Nearest_UP_PointF_index(R.at(m), &W) : -1;
    }
    for (int k = 1; k <= 6; ++k)
        h->crossPortTriIndex[k] = Nearest_DW_PointF_index(d.lineIndex[k + 1][rib], d.noseIndex[1], &R, &W);
    setTriangleAnchorsFromMids(d, rib, h);
}

int set_trap_ddw(const QPolygonF* O, int nose, int k)
{
    if (!O || O->isEmpty() || nose < 0)
        return 0;
    const int n = int(O->size());
    if (nose >= n)
        return n - 2;
    const double xn = O->at(nose).x();
    const double step = (O->at(0).x() - xn) / 8;
    const double target = (k + 0.25) * step;
    if (!(target > 0))
        return nose;
    for (int j = nose + 1; j < n; ++j)
        if (O->at(j).x() - xn >= target)
            return j;
    return n - 2;
}

void Set_Trap_Index_Values23(const ParaStruct& d, const QPolygonF& O, HoleLayout* h)
{
    const int nose = d.noseIndex[1];
    for (int k = 0; k < kStations; ++k) {
        const int L = set_trap_ddw(&O, nose, k);
        h->trapIndexB[8 - k] = L;
        h->trapIndexA[8 - k] = get_UPindex(&O, nose, L);
    }
}

void Reset_baseTri_Array(const ParaStruct& d, const QPolygonF& O, int group, bool reset, HoleLayout* h)
{
    if (O.isEmpty() || !validGroup(group))
        return;
    const int n = int(O.size());
    for (int i = 0; i < kAnchors; ++i) {
        const int idx = h->crossPortTriIndex[i];
        if (idx < 0)
            return;
        h->baseTriPoints[i] = O.at(std::min(idx, n - 1));
    }
    const QPointF* Q = h->baseTriPoints;
    Triang* tri = h->crossPorts[group].triangles;
    for (int s = 0; s < kStripTriangles; ++s)
        setTriangleCorners(&tri[s], Q[kStrip[s][0]], Q[kStrip[s][1]], Q[kStrip[s][2]]);
    for (int s = 0; s < kCrossPortTriangles; ++s) {
        applyReset(d, &tri[s], reset);
        rebuildOutline(&tri[s]);
    }
}

void Reset_baseTrap_Array(const ParaStruct& d, const QPolygonF& O, int group, bool reset, HoleLayout* h)
{
    if (O.isEmpty() || !validGroup(group))
        return;
    const int n = int(O.size());
    QPointF* top = h->baseTrapPoints[0];
    QPointF* middle = h->baseTrapPoints[1];
    QPointF* bottom = h->baseTrapPoints[2];
    for (int i = 0; i < kStations; ++i) {
        top[i] = middle[i] = O.at(std::clamp(h->trapIndexA[i], 0, n - 1));
        bottom[i] = O.at(std::clamp(h->trapIndexB[i], 0, n - 1));
    }
    Trap* trap = h->crossPorts[group].traps;
    for (int k = 0; k < 8; ++k) {
        // Slots 0..7 have both long edges on the upper surface: no hole.
        trap[k].corner[0] = top[k];
        trap[k].corner[1] = top[k + 1];
        trap[k].corner[2] = middle[k + 1];
        trap[k].corner[3] = middle[k];
        // Upper rear, upper front, lower front, lower rear of band k.
        trap[8 + k].corner[0] = middle[k];
        trap[8 + k].corner[1] = middle[k + 1];
        trap[8 + k].corner[2] = bottom[k + 1];
        trap[8 + k].corner[3] = bottom[k];
    }
    for (int s = 0; s < kCrossPortTraps; ++s) {
        applyReset(d, &trap[s], reset);
        rebuildOutline(&trap[s]);
    }
}

void Calc_current_grup_single_tribase(const ParaStruct& d, int group, int i, HoleLayout* h)
{
    if (!validGroup(group) || i < 0 || i >= kCrossPortTriangles)
        return;
    Triang t = h->crossPorts[group].triangles[i];
    rebuildOutline(&t);
    t.offset = Hole_Screen_Offset(&d, t.offsetMm);
    t.expanded = true;
    h->baseTriangles[i] = t;
}

void Calc_current_grup_all_tribase(const ParaStruct& d, int group, HoleLayout* h)
{
    for (int i = 0; i < kStripTriangles; ++i)
        Calc_current_grup_single_tribase(d, group, i, h);
}

void Calc_current_grup_single_trap(int group, int i, HoleLayout* h)
{
    if (!validGroup(group) || i < 0 || i >= kCrossPortTraps)
        return;
    Trap t = h->crossPorts[group].traps[i];
    rebuildOutline(&t);
    t.expanded = true;
    h->baseTraps[i] = t;
}

void Calc_current_grup_all_trap(int group, HoleLayout* h)
{
    for (int i = 0; i < kCrossPortTraps; ++i)
        Calc_current_grup_single_trap(group, i, h);
}

void Set_DW_Bottom_Shift(ParaStruct* d)
{
    if (!d)
        return;
    const int last = std::min(d->lastRib, kRibSlots);
    for (int b = 0; b < 4; ++b) {
        for (int r = std::max(d->firstRib, 0); r < last; ++r) {
            const int w = int(std::trunc(d->rib_glob_factor(r) * d->diagTableRows[b][r]));
            const int a = d->lineIndex[b + 2][r];
            d->diagIndexTableA[2 * b][r] = d->diagIndexTableB[2 * b][r] = a - w;
            d->diagIndexTableA[2 * b + 1][r] = d->diagIndexTableB[2 * b + 1][r] = a + w;
        }
    }
}

int Nearest_UP_PointF_index(QPointF p, const QPolygonF* poly)
{
    if (!poly)
        return -1;
    int best = -1;
    double bestD = kFarAway;
    for (int i = 0; i < poly->size(); ++i) {
        const double d = Dist2(p, poly->at(i));
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

int Nearest_DW_PointF_index(int i, int n, const QPolygonF* a, const QPolygonF* b)
{
    if (!a || !b || i < 0 || i >= a->size() || n + 1 >= b->size())
        return -1;
    const QPointF p = a->at(i);
    int best = -1;
    double bestD = kFarAway;
    for (int k = std::max(n + 1, 0); k < b->size(); ++k) {
        const double d = Dist2(p, b->at(k));
        if (d < bestD) {
            bestD = d;
            best = k;
        }
    }
    return best;
}

QPolygonF init_Work_Airfoil(QPolygonF foil, double s)
{
    QPolygonF out;
    out.reserve(foil.size());
    for (const QPointF& p : foil)
        out.append(QPointF(p.x() * s, -p.y() * s));
    return out;
}

void Refresh_Cross_Port_Offsets(ParaStruct* d)
{
    if (!d)
        return;
    for (CrossPorts& g : d->crossPorts) {
        for (Triang& t : g.triangles)
            t.offset = Hole_Screen_Offset(d, t.offsetMm);
        for (Trap& t : g.traps)
            t.offset = Hole_Screen_Offset(d, t.offsetMm);
    }
}
