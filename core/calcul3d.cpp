// The recompute pipeline and the ParaStruct members it runs: the wing outline
// (planform, edges, front view, areas, metacentre, hanging point, rib tail
// points, unit conversions), the rib airfoils with their nose, top and bottom
// indexes and foil pairs, and the line attachment indexes.

#include "core/calcul3d.h"

#include "core/airfoil.h"
#include "core/canopy.h"
#include "core/cellgrid.h"
#include "core/curves.h"
#include "core/geomconst.h"
#include "core/mygsllib.h"
#include "core/notify.h"
#include "core/parastruct.h"
#include "core/skintension.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// ---------------------------------------------------------------------------
// Hooks of the steps: the diagonal ribs and the cross-port sizes come from
// the internal structure, the line placement from the suspension lines.

constexpr int kHooks = 3;
RecomputeStep g_hooks[kHooks] = {nullptr, nullptr, nullptr};
const char* const kHookNames[kHooks] = {"Generate_All_Diagonals", "Refresh_Cross_Port_Offsets",
                                        "Place_Line_Plan"};
RecomputeTrace g_trace;

void runHook(RecomputeHook hook, ParaStruct* design)
{
    const int k = static_cast<int>(hook);
    if (g_trace)
        g_trace(kHookNames[k]);
    g_hooks[k](design);
}

void announce(const char* name)
{
    if (g_trace)
        g_trace(name);
}

// ---------------------------------------------------------------------------
// "Airfoil not present yet": the pair lists ask for the upper partner of
// every lower-surface point, so the message would come up once per point and
// per rib. It is given once per outermost operation instead.

int g_reportDepth = 0;
bool g_missingAirfoilReported = false;

struct ReportOnce {
    ReportOnce()
    {
        if (g_reportDepth++ == 0)
            g_missingAirfoilReported = false;
    }
    ~ReportOnce() { --g_reportDepth; }
    ReportOnce(const ReportOnce&) = delete;
    ReportOnce& operator=(const ReportOnce&) = delete;
};

void reportMissingAirfoil()
{
    if (g_reportDepth > 0 && g_missingAirfoilReported)
        return;
    g_missingAirfoilReported = g_reportDepth > 0;
    Notify_User(QStringLiteral("Airfoil not present yet - IMPORT first"));
}

// The rib bookkeeping the per-rib tables can hold: the line-index steps write
// slot lastRib + 1 of 65-slot tables.
bool ribsInRange(const ParaStruct* d)
{
    return d->lastRib >= 1 && d->lastRib <= kRibSlots - 2 && d->firstRib >= 0
           && d->firstRib < d->lastRib;
}

// The two transition ribs brought into the range the rib tables allow:
// firstRib < t1 < t2 < lastRib where the wing has ribs enough, otherwise
// firstRib <= t1 <= t2 <= lastRib - 1 (positions collapse on tiny wings).
void transitionRibs(const ParaStruct* d, int* t1, int* t2)
{
    const int lo = d->firstRib;
    const int hi = std::max(d->firstRib, d->lastRib - 1);
    if (hi - lo >= 2) {
        *t1 = std::clamp(d->transitionRib1, lo + 1, hi - 1);
        *t2 = std::clamp(d->transitionRib2, *t1 + 1, hi);
    } else {
        *t1 = std::clamp(d->transitionRib1, lo, hi);
        *t2 = std::clamp(d->transitionRib2, *t1, hi);
    }
}

double px(const QPolygonF& p, int i) { return p.at(i).x(); }
double py(const QPolygonF& p, int i) { return p.at(i).y(); }

} // namespace

// ---------------------------------------------------------------------------
// Pipeline

namespace {
RearRangeService g_rearRange = nullptr;
} // namespace

RearRangeService Set_Rear_Range_Service(RearRangeService service)
{
    RearRangeService previous = g_rearRange;
    g_rearRange = service;
    return previous;
}

void Rear_Range(const ParaStruct* design, int rib, int* first, int* last)
{
    if (g_rearRange)
        g_rearRange(design, rib, first, last);
}

RecomputeStep Set_Recompute_Hook(RecomputeHook hook, RecomputeStep step)
{
    RecomputeStep& slot = g_hooks[static_cast<int>(hook)];
    RecomputeStep old = slot;
    slot = step;
    return old;
}

RecomputeStep Recompute_Hook(RecomputeHook hook)
{
    return g_hooks[static_cast<int>(hook)];
}

RecomputeTrace Set_Recompute_Trace(RecomputeTrace trace)
{
    RecomputeTrace old = std::move(g_trace);
    g_trace = std::move(trace);
    return old;
}

QStringList Missing_Recompute_Steps()
{
    QStringList missing;
    for (int k = 0; k < kHooks; ++k)
        if (!g_hooks[k])
            missing << QString::fromLatin1(kHookNames[k]);
    if (!g_rearRange)
        missing << QStringLiteral("Rear_Range");
    return missing;
}

void Refresh_Calculations(ParaStruct* design)
{
    Refresh_Calculations(design, RecomputeParams());
}

void Refresh_Calculations(ParaStruct* design, const RecomputeParams& params)
{
    if (!design)
        return;
    const QStringList missing = Missing_Recompute_Steps();
    if (!missing.isEmpty())
        throw MissingRecomputeStep(
            QStringLiteral("the recompute lacks %1, which the program installs at its start "
                           "(Install_Recompute_Hooks): without it that part of the design would stay as it was")
                .arg(missing.join(QStringLiteral(", ")))
                .toStdString());
    const double twist = params.twist.value_or(design->maxTwistAngle);
    ReportOnce once;
    // The hanging point follows the hang height and the pilot position.
    design->Set_VHanging();
    announce("WingTipGeometrySetup");
    design->WingTipGeometrySetup(twist);
    announce("Ribs_VirtualLineInd");
    design->Ribs_VirtualLineInd();
    announce("CalculateResLines");
    design->CalculateResLines();
    announce("Create_FoilPairList");
    design->Create_FoilPairList();
    announce("Calculate_meta_Center");
    design->Calculate_meta_Center(0.25);
    announce("Calculate_Areas_Aspects");
    design->Calculate_Areas_Aspects();
    announce("Setup_Wing_Airfoils");
    design->Setup_Wing_Airfoils();
    announce("Create_Space_Canopy");
    Create_Space_Canopy(design, twist);
    announce("Space_Canopy_Flat");
    Space_Canopy_Flat(design);
    announce("Space_Canopy_Inflated");
    Space_Canopy_Inflated(design);
    runHook(RecomputeHook::Diagonals, design);
    runHook(RecomputeHook::CrossPortOffsets, design);
    announce("SetPUPDW");
    design->SetPUPDW();
    announce("Fill_Airfoil_Arclen");
    design->Fill_Airfoil_Arclen();
    // How far the brake lines relax, for the views that draw them.
    Calculate_RelaxLengths(design);
    runHook(RecomputeHook::LinePlan, design);
}

// ---------------------------------------------------------------------------
// Wing outline

void ParaStruct::WingTipGeometrySetup()
{
    WingTipGeometrySetup(maxTwistAngle);
}

void ParaStruct::WingTipGeometrySetup(double twist)
{
    if (ribAirfoils[0].isEmpty())
        return;
    CalcFlatWingtip();
    CalcFrontTailCurve();
    CalculateFace(twist);
}

void ParaStruct::CalcFlatWingtip()
{
    if (ribAirfoils[0].isEmpty() || !ribsInRange(this))
        return;
    const QPointF* P = planControlPoints;
    double cx[4];
    PointToPX(P[0], P[1], P[2], P[3], cx);
    const double x0 = spline_value(cx, 0.0);
    const double x1 = spline_value(cx, 1.0);
    const double H = std::trunc(std::fabs(x1 - x0));
    const double w = 2.0 * H / cells;
    const int n = lastRib;
    const bool odd = firstRib == 1;

    // One spare slot beyond the tip: the spacing helpers may look at it.
    double pos[kRibSlots + 1];
    double width[kRibSlots + 1];
    double c[kRibSlots + 1];
    std::fill(std::begin(pos), std::end(pos), 0.0);
    std::fill(std::begin(width), std::end(width), w);
    std::fill(std::begin(c), std::end(c), 0.0);

    // Equal spacing first, to sample the chords.
    pos[0] = x0;
    if (odd) {
        pos[1] = x0 + w / 2;
        for (int i = 2; i <= n; ++i)
            pos[i] = pos[1] + (i - 1) * w;
    } else {
        for (int i = 1; i <= n; ++i)
            pos[i] = x0 + i * w;
    }
    for (int i = 0; i <= n; ++i)
        c[i] = Model_Width_X(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], pos[i]);

    // Widths: part of the half span in proportion to the chords.
    if (odd)
        RecCenterCell(sideCells, cellWidthStep, H, width, c);
    else
        RecCenterRib(n, cellWidthStep, H, width, c);

    pos[0] = x0;
    if (odd) {
        pos[1] = x0 + width[0] / 2;
        for (int i = 1; i < n; ++i)
            pos[i + 1] = pos[i] + width[i];
    } else {
        for (int i = 0; i < n; ++i)
            pos[i + 1] = pos[i] + width[i];
    }

    ApplyRibShift(n, ribShift, pos, width);

    for (int i = 0; i <= n; ++i) {
        ribSpanPos[i] = pos[i];
        cellWidth[i] = width[i];
        chord[i] = Model_Width_X(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], pos[i]);
    }
}

void ParaStruct::CalcFrontTailCurve()
{
    if (ribAirfoils[0].isEmpty() || !ribsInRange(this))
        return;
    const QPointF* P = planControlPoints;
    for (int i = 0; i <= lastRib; ++i) {
        leadingEdgeX[i] = Model_UD(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'U', ribSpanPos[i]);
        trailingEdgeX[i] = Model_UD(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'D', ribSpanPos[i]);
    }
}

void ParaStruct::CalculateFace()
{
    CalculateFace(maxTwistAngle);
}

void ParaStruct::CalculateFace(double twist)
{
    if (ribAirfoils[0].isEmpty() || !ribsInRange(this))
        return;
    const QPointF* F = frontControlPoints;
    double cx[4], cy[4];
    PointToPX(F[0], F[1], F[2], F[3], cx);
    PointToPY(F[0], F[1], F[2], F[3], cy);
    const double g = std::tan(twist * wl::Pi / 180);

    // Every rib to the tip: with an odd cell count the tip is slot
    // sideCells + 1, and the canopy places it with these entries too.
    double t0 = 0.0, s0 = 0.0;
    for (int i = 0; i <= lastRib; ++i) {
        const double s = ribSpanPos[i] - ribSpanPos[0];
        const double t = Face_Lok(F[0], F[1], F[2], F[3], s, t0, s0);
        t0 = t;
        s0 = s;
        frontY[i] = spline_value(cx, t);
        frontZ[i] = spline_value(cy, t);
        const double angle = std::atan2(spline_d_value(cy, t), spline_d_value(cx, t));
        ribAngle[i] = angle < 0 ? 0.0 : angle;
        twistedLeadingEdgeX[i] = (frontZ[i] - frontZ[0]) * g + leadingEdgeX[0];
    }

    double v[101];
    for (int k = 0; k <= 100; ++k) {
        const double dx = spline_d_value(cx, k / 100.0);
        const double dy = spline_d_value(cy, k / 100.0);
        v[k] = std::sqrt(dx * dx + dy * dy);
    }
    frontArcLength = Simpson(100, 0.01, v);
}

void ParaStruct::Calculate_meta_Center(double fraction)
{
    const double c0 = std::fabs(leadingEdgeX[0] - trailingEdgeX[0]);
    if (hangHeight <= 0 || c0 <= 0) {
        metaCentre = fraction;
        return;
    }
    if (firstRib >= lastRib || !ribsInRange(this)) {
        metaCentre = 0;
        return;
    }
    double M = 0, W = 0;
    for (int i = firstRib; i < lastRib; ++i) {
        const double c = std::fabs(leadingEdgeX[i] - trailingEdgeX[i]);
        const double sweep = std::fabs(leadingEdgeX[0] - leadingEdgeX[i]);
        const double k = std::cos(wl::Pi - ribAngle[i]) * cellWidth[i] * c;
        M += (sweep + fraction * c) * k;
        W += k;
    }
    metaCentre = W == 0 ? 0.0 : std::fabs(M / W) / c0;
}

void ParaStruct::Calculate_Areas_Aspects()
{
    if (!ribsInRange(this))
        return;
    double flat = 0, projected = 0;
    for (int i = 0; i < lastRib; ++i) {
        double half = cellWidth[i] / 2;
        if (i == 0 && firstRib == 1)
            half /= 2;   // only half of the centre cell belongs to this half wing
        const double a = half * (chord[i] + chord[i + 1]);
        flat += a;
        if (std::fabs(ribAngle[i]) < wl::HalfPi)
            projected += a * std::cos(ribAngle[i]);
    }
    const double f = (0.5 * span) / 1000;
    flatArea = 2 * f * f * flat;
    projectedArea = 2 * f * f * projected;

    // The projected half span is read at the tip rib, which is slot
    // sideCells + 1 with an odd cell count.
    const double p = (frontY[lastRib] - frontY[0]) * f;
    flatAspectRatio = flatArea != 0 ? span * span / flatArea : 0.0;
    projectedAspectRatio = projectedArea != 0 ? (2 * p) * (2 * p) / projectedArea : 0.0;
    meanChord = span != 0 ? flatArea / span : 0.0;
    const double arcWidth = 2 * std::fabs(frontY[firstRib] - frontY[lastRib]);
    arcHeightPercent = arcWidth != 0 ? std::fabs(frontZ[firstRib] - frontZ[lastRib]) * 100 / arcWidth : 0.0;
    flatteningPercent = flatArea != 0 ? 100 * (flatArea - projectedArea) / flatArea : 0.0;
}

QVector3D ParaStruct::Set_VHanging()
{
    hangingPoint = QVector3D(float(legaX), float(carabinerDistance / 2), float(-hangHeight));
    return hangingPoint;
}

void ParaStruct::SetPUPDW()
{
    if (!ribsInRange(this))
        return;
    for (int i = 0; i <= lastRib; ++i)
        ribTailPoints[i] = QPointF(ribSpanPos[i] + ribShift[i], trailingEdgeX[i]);
}

double ParaStruct::R_X(double length) const
{
    return length / 1000 * (0.5 * span);
}

double ParaStruct::ToScreen(double length) const
{
    return length * 1000 / (0.5 * span);
}

double ParaStruct::scrlength_100() const
{
    return 1000 * hangHeight / (0.5 * span);
}

double ParaStruct::rib_glob_factor(int rib) const
{
    if (rib < 0 || rib >= kRibSlots || firstRib < 0 || firstRib >= kRibSlots || chord[firstRib] == 0)
        return 0.0;
    return chord[rib] / chord[firstRib];
}

// ---------------------------------------------------------------------------
// Rib airfoils

void ParaStruct::Setup_TransitionRibs()
{
    transitionRib1 = lastRib - 4;
    transitionRib2 = lastRib - 3;
    int t1 = 0, t2 = 0;
    transitionRibs(this, &t1, &t2);
    transitionRib1 = t1;
    transitionRib2 = t2;
}

void ParaStruct::Setup_Wing_Airfoils()
{
    if (!ribsInRange(this))
        return;
    ReportOnce once;
    QPolygonF A[4];
    for (int k = 0; k < 4; ++k) {
        const int slot = positionAirfoilIndex[k];
        if (slot >= 0 && slot < 4)
            A[k] = designAirfoils[slot];
    }
    int t1 = 0, t2 = 0;
    transitionRibs(this, &t1, &t2);

    ribAirfoils[lastRib] = Edge_Tip_Airfoil(A[3], edgeTipFactor);
    Morph_Canopy_Airfoils(firstRib, t1, &A[0], &A[1]);
    Morph_Canopy_Airfoils(t1, t2, &A[1], &A[2]);
    Morph_Canopy_Airfoils(t2, lastRib - 1, &A[2], &A[3]);
    // With an odd cell count slot 0 lies in the middle of the centre cell:
    // it carries the first position's airfoil, so that the indexes the inner
    // ribs share are those of the current airfoils.
    if (firstRib == 1)
        ribAirfoils[0] = A[0];

    // What the earlier steps derived from the airfoils' shape (foil pairs,
    // the virtual line indexes and the resulting lines) was worked out on
    // the airfoils as they were before: again on the ones just made, so that
    // a recompute depends only on the design, not on the one before it.
    Create_FoilPairList();
    Ribs_VirtualLineInd();
    CalculateResLines();
}

void ParaStruct::Morph_Canopy_Airfoils(int a, int b, QPolygonF* A, QPolygonF* B)
{
    if (a < 0 || b < 0 || a >= kRibSlots || b >= kRibSlots || !A || !B)
        return;
    ribAirfoils[a] = *A;
    ribAirfoils[b] = *B;
    if (a >= b)
        return;
    const double s0 = ribSpanPos[a];
    const double s1 = ribSpanPos[b];
    for (int i = a; i < b; ++i) {
        if (s1 > s0)
            ribAirfoils[i] = f_Morph_bydistance(s0, s1, ribSpanPos[i], A, B);
        else   // outline not computed yet: blend by slot
            ribAirfoils[i] = f_Morph_bychord(double(i - a) / (b - a), A, B);
    }
}

void ParaStruct::Repair_Airfoils()
{
    if (!ribsInRange(this))
        return;
    for (int i = 0; i <= lastRib; ++i) {
        QPolygonF& foil = ribAirfoils[i];
        const int count = foil.size();
        if (count == 0 || count >= kAirfoilPoints)
            continue;
        Notify_User(QStringLiteral("warning-airfoil rib:%1- has < 1000 points: %2").arg(i).arg(count)
                    + QLatin1Char('\n') + QStringLiteral("  any key to continue ..."));
        QPolygonF resampled = Interpolated_poly(kAirfoilPoints, &foil);
        QPolygonF normalised = Normalize_airfoil_2X(&resampled);
        foil = ReWrite_Airfoil(normalised);
        // The rewrite closes the contour with a second trailing-edge point;
        // a rib airfoil holds 1000 points.
        if (foil.size() > kAirfoilPoints)
            foil.resize(kAirfoilPoints);
    }
}

void ParaStruct::FindNoseTopIndex(int rib)
{
    if (rib < 0 || rib >= kAirfoilSlots)
        return;
    const QPolygonF& foil = ribAirfoils[rib];
    const int size = std::min<int>(foil.size(), kAirfoilPoints);
    if (size == 0)
        return;

    int nose = std::min(500, size - 1);
    double best = 1e6;
    for (int i = 300; i < std::min(600, size); ++i) {
        if (px(foil, i) < best) {
            best = px(foil, i);
            nose = i;
        }
    }
    int top = 0;
    double high = -100;
    for (int i = 0; i < nose; ++i) {
        if (py(foil, i) > high) {
            high = py(foil, i);
            top = i;
        }
    }
    int bottom = nose;
    double low = 100;
    for (int i = nose; i < size; ++i) {
        if (py(foil, i) < low) {
            low = py(foil, i);
            bottom = i;
        }
    }
    noseIndex[rib] = nose;
    topIndex[rib] = top;
    bottomIndex[rib] = bottom;
    Make_ParList12(rib);
}

void ParaStruct::Make_ParList12(int rib)
{
    if (rib < 0 || rib >= kAirfoilSlots)
        return;
    const QPolygonF& foil = ribAirfoils[rib];
    const int size = std::min<int>(foil.size(), kAirfoilPoints);
    const int n = noseIndex[rib];
    if (size == 0 || n < 0 || n >= size)
        return;
    ReportOnce once;
    const bool noDesign = designAirfoils[0].isEmpty();

    // Each point's partner on the other side is the point before the first
    // one (walking away from the nose) that reaches its x. Instead of a walk
    // per point: the running minimum (upper side, from the trailing edge)
    // and maximum (lower side, behind the nose) of x only ever fall and
    // rise, and the first point reaching x is the first where they reach
    // it, found by bisection.
    const QPointF* P = foil.constData();
    const auto first = std::find_if(P, P + size, [](const QPointF& p) { return std::isnan(p.x()); });
    const bool ordered = first == P + size; // a NaN would stop every walk, not order it
    // lowest[i]: least x of points 1 .. i (i < n); highest[i - n - 2]:
    // greatest x of points n + 2 .. i.
    double lowest[kAirfoilPoints];
    double highest[kAirfoilPoints];
    const int highCount = std::max(0, size - (n + 2));
    if (ordered && !noDesign) {
        for (int i = 1; i < n; ++i)
            lowest[i] = i == 1 ? P[1].x() : std::min(lowest[i - 1], P[i].x());
        for (int i = n + 2; i < size; ++i)
            highest[i - (n + 2)] = i == n + 2 ? P[i].x() : std::max(highest[i - (n + 3)], P[i].x());
    }
    // The last lower-side point j >= n + 1 before the first one with x >= X.
    auto lowerPartner = [&](double X) {
        return n + 1 + int(std::lower_bound(highest, highest + highCount, X) - highest);
    };
    // The last upper-side point k <= n - 1 before the first one (from 1)
    // with x <= X.
    auto upperPartner = [&](double X) {
        if (n <= 1)
            return 0;
        return int(std::lower_bound(lowest + 1, lowest + n, X, std::greater<double>()) - (lowest + 1));
    };

    QList<Par12>& pairs = foilPairs[rib];
    pairs.clear();
    pairs.reserve(size);
    pairs.append(Par12{0, 1000, 0.0});
    for (int k = 1; k < n; ++k) {
        int j = n + 1;
        if (j < size && !noDesign && px(foil, k) > px(foil, j)) {
            if (ordered) {
                j = lowerPartner(px(foil, k));
            } else {
                while (j + 1 < size && px(foil, k) > px(foil, j + 1))
                    ++j;
            }
        } else {
            j = 0;
        }
        pairs.append(Par12{k, j, std::fabs(py(foil, k) - py(foil, j))});
    }
    if (n > 0)
        pairs.append(Par12{n, n, 0.0});
    for (int m = n + 1; m < size; ++m) {
        int up = 0;
        if (ordered && !noDesign && n > 0) {
            const double x = P[m].x();
            up = P[0].x() <= x ? 0 : upperPartner(x);
        } else {
            up = Find_i1up_index(rib, m);
        }
        pairs.append(Par12{up, m, std::fabs(py(foil, up) - py(foil, m))});
    }
}

int ParaStruct::Find_i1up_index(int rib, int low) const
{
    if (designAirfoils[0].isEmpty()) {
        reportMissingAirfoil();
        return 0;
    }
    if (rib < 0 || rib >= kAirfoilSlots)
        return 0;
    const QPolygonF& foil = ribAirfoils[rib];
    const int size = foil.size();
    const int n = noseIndex[rib];
    if (low < 0 || low >= size || n <= 0 || n >= size)
        return 0;
    const double x = px(foil, low);
    if (px(foil, 0) <= x)
        return 0;
    int k = 0;
    while (k < n - 1 && px(foil, k + 1) > x)
        ++k;
    return k;
}

void ParaStruct::Create_FoilPairList()
{
    if (!ribsInRange(this))
        return;
    ReportOnce once;
    int t = 0, t2 = 0;
    transitionRibs(this, &t, &t2);

    auto share = [this](int from, int to) {
        noseIndex[to] = noseIndex[from];
        topIndex[to] = topIndex[from];
        bottomIndex[to] = bottomIndex[from];
        foilPairs[to] = foilPairs[from];
    };
    FindNoseTopIndex(0);
    for (int s = 1; s < t; ++s)
        share(0, s);
    FindNoseTopIndex(t);
    for (int s = t + 1; s <= lastRib; ++s)
        share(t, s);

    const QList<Par12>& rib1 = foilPairs[1];
    for (int r = 0; r < 7; ++r) {
        const int i = lineIndex[r][1];
        if (i >= 0 && i < rib1.size())
            upControlIndex[r] = rib1.at(i).up;
    }
}

void ParaStruct::poly_ArcLen(QPolygonF airfoil, int rib)
{
    if (rib < 0 || rib >= kRibSlots)
        return;
    const int size = std::min<int>(airfoil.size(), kAirfoilPoints);
    airfoilArcLen[0][rib] = 0;
    double sum = 0;
    for (int j = 1; j < size; ++j) {
        sum += Dist2(airfoil.at(j - 1), airfoil.at(j));
        airfoilArcLen[j][rib] = chord[rib] * sum;
    }
}

void ParaStruct::Fill_Airfoil_Arclen()
{
    if (!ribsInRange(this))
        return;
    for (int rib = firstRib; rib <= lastRib; ++rib)
        poly_ArcLen(ribAirfoils[rib], rib);
}

// ---------------------------------------------------------------------------
// Line attachment indexes

void ParaStruct::Ribs_VirtualLineInd()
{
    if (designAirfoils[0].isEmpty() || !ribsInRange(this))
        return;
    for (int i = firstRib; i <= lastRib; ++i)
        teLineIndex[i] = 999;
    for (int i = 0; i <= lastRib; ++i) {
        QPolygonF& foil = ribAirfoils[i];
        if (foil.isEmpty())
            continue;
        const int last = std::min<int>(foil.size(), kAirfoilPoints) - 1;   // 999 for a full airfoil
        const int n = get_nose_index(&foil);
        if (n < 0 || n > last)
            continue;
        for (int r = 0; r < kLineRows; ++r) {
            const double target = px(foil, n) + (px(foil, 0) - px(foil, n)) * rowPercent[r] / 100;
            if (n + 1 < last && target > px(foil, n + 1)) {
                int j = n + 1;
                while (j + 1 < last && target > px(foil, j + 1))
                    ++j;
                dynLineIndex[r][i] = j;
            } else {
                dynLineIndex[r][i] = 0;
            }
        }
    }
}

void ParaStruct::Reset_Dyn_LineInd()
{
    Ribs_VirtualLineInd();
    const int last = std::clamp(lastRib, 0, kRibSlots - 1);
    for (int r = 0; r < kLineRows; ++r)
        for (int i = 0; i <= last; ++i)
            lineIndex[r][i] = dynLineIndex[r][i];
}

double ParaStruct::f_delta_line_index(int rib) const
{
    if (lastRib > 65 || lastRib <= 0)
        return 0.0;
    const double q = double(rib) / lastRib;
    return q * q * q * 0.3 * (rowCentreIndex[7] - rowCentreIndex[0]);
}

void ParaStruct::CalculateResLines()
{
    if (ribAirfoils[0].isEmpty() || !ribsInRange(this))
        return;
    // The slot beyond the tip rib belongs to the tables only while the tip
    // is not their last slot.
    const int end = std::min(lastRib + 1, kRibSlots - 1);
    for (int r = 0; r < kLineRows; ++r) {
        const double p = 0.01 * wingFlexPercent[r];
        for (int i = 0; i <= end; ++i) {
            const double d = dynLineIndex[r][i];
            const double v = (d + f_delta_line_index(i)) * p + (1 - p) * d;
            resLineIndex[r][i] = std::max<double>(noseIndex[i] + 1, std::min(std::fabs(v), 999.0));
        }
    }
}

void ParaStruct::Create_WingFlexLines(int row)
{
    if (ribAirfoils[0].isEmpty() || row < 0 || row >= kLineRows || !ribsInRange(this))
        return;
    const double p = 0.01 * wingFlexPercent[row];
    const int end = std::min(lastRib + 1, kRibSlots - 1);
    for (int i = 0; i <= end; ++i) {
        const double d = dynLineIndex[row][i];
        const double v = (d + f_delta_line_index(i)) * p + (1 - p) * d;
        const int index = std::max(noseIndex[i] + 1, std::min(int(std::trunc(std::fabs(v))), 999));
        lineIndex[row][i] = index;
        resLineIndex[row][i] = index;
    }
}

void ParaStruct::Setup_LineIndProc()
{
    const QPolygonF& foil = ribAirfoils[0];
    if (foil.isEmpty())
        return;
    const double te = px(foil, 0);
    for (int r = 0; r < kLineRows; ++r) {
        // A marker beyond the lower surface's x range has no index: the row
        // keeps the one it had, -1 would later be read as an airfoil point.
        const int index = Find_PntIndex(rowMarkers[r], 'D', foil);
        if (index >= 0)
            rowCentreIndex[r] = index;
        if (te != 0)
            rowPercent[r] = (rowMarkers[r].x() - 40) * 100 / (560 * te);
    }
}

QPointF ParaStruct::NearPoint(QPointF p, char side, QPolygonF airfoil, int* index)
{
    double x = p.x();
    if (std::fabs(x) > 1000)
        x = 0;
    if (index)
        *index = -1;
    if (airfoil.isEmpty())
        return QPointF(0, 0);
    for (int i = 0; i + 1 < airfoil.size(); ++i) {
        const double a = 560 * px(airfoil, i) + 40;
        const double b = 560 * px(airfoil, i + 1) + 40;
        const bool match = side == 'D' ? (a <= x && x <= b) : (b <= x && x <= a);
        if (match) {
            double Y = -560 * py(airfoil, i);
            if (std::fabs(Y) > 500)
                Y = 0;
            if (index)
                *index = i;
            return QPointF(x, Y);
        }
    }
    if (ribsInRange(this))
        for (int i = firstRib; i <= lastRib; ++i)
            teLineIndex[i] = 999;
    return QPointF(0, 0);
}

int ParaStruct::Find_PntIndex(QPointF p, char side, QPolygonF airfoil)
{
    int index = -1;
    NearPoint(p, side, airfoil, &index);
    return index;
}

QVector3D ParaStruct::fine_point(int rib, int row) const
{
    if (rib < 0 || rib >= kRibSlots || row < 0 || row >= kLineRows)
        return QVector3D(0, 0, 0);
    const double v = resLineIndex[row][rib];
    const double k = std::floor(v);
    if (!(k >= 0 && k <= 998))
        return QVector3D(0, 0, 0);
    const int i = int(k);
    const double f = v - k;
    const QVector3D& a = ribCurves3D[rib][i];
    const QVector3D& b = ribCurves3D[rib][i + 1];
    return QVector3D(float(a.x() * (1 - f) + b.x() * f), float(a.y() * (1 - f) + b.y() * f),
                     float(a.z() * (1 - f) + b.z() * f));
}

void ParaStruct::f_finePnt3(QList<QVector3D> list, QVector3D P, double length, int a, int b,
                            QVector3D* out) const
{
    if (!out || a < 0 || b < 0 || a >= list.size() || b >= list.size())
        return;
    out[0] = list.at(a);
    out[1] = list.at(b);
    auto metres = [this](QVector3D q, QVector3D r) { return Dist3(q, r) / 1000 * 0.5 * span; };
    double bestA = 1e300, bestB = 1e300;
    for (int k = 0; k < 100; ++k) {
        const float t = float(k / 100.0);
        const QVector3D qa = list.at(a) * (1 - t) + P * t;
        const double da = std::fabs(2 * metres(qa, P) - length);
        if (da <= bestA) {
            bestA = da;
            out[0] = qa;
        }
        const QVector3D qb = P * (1 - t) + list.at(b) * t;
        const double db = std::fabs(2 * metres(qb, P) - length);
        if (db <= bestB) {
            bestB = db;
            out[1] = qb;
        }
    }
}

bool ParaStruct::is_UpDwControl(int index, int rib) const
{
    if (index < 0 || rib < 0 || rib >= kRibSlots)
        return false;
    for (int k = 0; k < 8; ++k)
        if (upControlIndex[k] == index)
            return true;
    for (int r = 0; r < kLineRows; ++r)
        if (lineIndex[r][rib] == index)
            return true;
    return false;
}

bool ParaStruct::is_Control(int index, int rib) const
{
    if (rib < 0 || rib >= kRibSlots)
        return false;
    return index == noseIndex[rib] || is_UpDwControl(index, rib);
}

bool ParaStruct::is_diag_ctnr(int, int) const
{
    return false;
}

bool ParaStruct::isLoadedRib(int rib) const
{
    if (rib < 0 || rib >= kStructSlots)
        return false;
    return diagTableD1[rib].ribType == 0;
}

double f_slashangle(const ParaStruct* design, int rib)
{
    if (!design || rib < 0 || rib >= kRibSlots)
        return 0.0;
    if (design->ribTilt > 0 && rib != design->lastRib)
        return -std::atan(0.5 * design->ribAngle[rib]);
    return 0.0;
}
