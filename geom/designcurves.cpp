#include "geom/designcurves.h"

#include "core/curves.h"
#include "core/parastruct.h"
#include "core/transf.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

namespace {

// A sampling step from a line read from a file must not ask for millions of
// points: a line across the whole wing needs a few thousand.
constexpr double kSmallestStep = 1.0 / 65536;
constexpr double kStepOfNoLength = 0.00390625;
constexpr int kLastIndex = kAirfoilPoints - 1;

// The last rib of the half wing, within the tables; 0 for a design without
// cells.
int tipRib(const ParaStruct* design)
{
    return std::clamp(design->lastRib, 0, kMaxLastRib);
}

int rowIndex(const ParaStruct* design, int row, int rib)
{
    return std::clamp(design->lineIndex[row][std::clamp(rib, 0, kRibSlots - 1)], 0, kLastIndex);
}

bool usable(double v)
{
    return std::isfinite(v) && std::abs(v) < 1e9;
}

} // namespace

double dt_SplineT(const ParaStruct* design, const Spline* line)
{
    const int n = std::clamp(line->pointCount, 0, kSplinePoints);
    double L = 0;
    for (int i = 1; i < n; ++i)
        L += Dist2(line->points[i - 1], line->points[i]);
    if (!(L > 0))
        return kStepOfNoLength;
    const double dt = 6.283185306 / (1000 * design->R_X(L));
    if (!std::isfinite(dt) || dt <= 0)
        return kStepOfNoLength;
    return std::max(dt, kSmallestStep);
}

void SetKnotVector(Spline* line, int m)
{
    if (m < 4 || m + 4 > kSplineKnots) {
        line->knotCount = 0;
        return;
    }
    line->knotCount = m + 4;
    for (int i = 0; i < 4; ++i) {
        line->knots[i] = 0.0;
        line->knots[m + i] = 1.0;
    }
    for (int j = 1; j <= m - 4; ++j)
        line->knots[3 + j] = double(j) / (m - 3);
}

namespace {

double fraction(double num, double den)
{
    if (den == 0)
        return num == 0 ? 1.0 : 0.0;
    return num / den;
}

} // namespace

double N_B(const Spline* line, int i, int p, double t)
{
    const double* k = line->knots;
    if (i < 0 || i + p + 1 >= kSplineKnots)
        return 0.0;
    if (p == 0)
        return k[i] <= t && t < k[i + 1] ? 1.0 : 0.0;
    const double a = fraction(t - k[i], k[i + p] - k[i]);
    const double b = fraction(k[i + p + 1] - t, k[i + p + 1] - k[i + 1]);
    return a * N_B(line, i, p - 1, t) + b * N_B(line, i + 1, p - 1, t);
}

QPointF B_spline_value(const Spline* line, double t)
{
    const int m = std::clamp(line->bsplineCount, 0, kSplinePoints);
    if (m == 0)
        return QPointF();
    // The half-open spans give every basis function 0 at the clamped end;
    // the curve ends on its last control point there.
    if (t >= 1.0)
        return line->bsplinePoints[m - 1];
    QPointF sum(0, 0);
    for (int i = 0; i < m; ++i) {
        const double w = N_B(line, i, 3, t);
        if (w != 0)
            sum += w * line->bsplinePoints[i];
    }
    return sum;
}

void Calc1Spline(const ParaStruct* design, Spline* line)
{
    const double dt = dt_SplineT(design, line);
    const QPointF P0 = line->points[0], P1 = line->points[1];
    for (double t = 0; t < 1; t += dt)
        line->curve.append((1 - t) * P0 + t * P1);
    line->curve.append(P1);
    line->bsplineCount = 2;
}

void Calc2Spline(const ParaStruct* design, Spline* line)
{
    const double dt = dt_SplineT(design, line);
    const QPointF P0 = line->points[0], P1 = line->points[1], P2 = line->points[2];
    const QPointF C = 2 * P1 - (P0 + P2) / 2;
    line->curve.append(P0);
    for (double t = 0; t < 1; t += dt)
        line->curve.append((1 - t) * (1 - t) * P0 + 2 * t * (1 - t) * C + t * t * P2);
    line->curve.append(P2);
    line->bsplineCount = 3;
}

void Calc3Spline(const ParaStruct* design, Spline* line)
{
    const int m = line->bsplineCount;
    SetKnotVector(line, m);
    if (line->knotCount == 0)
        return;
    const double dt = dt_SplineT(design, line);
    for (double t = 0; t <= 1; t += dt)
        line->curve.append(B_spline_value(line, t));
}

void Calculate_Spline_Poly(const ParaStruct* design, Spline* line)
{
    const int n = line->pointCount;
    if (n < 2 || n > kMaxSplineControlPoints)
        return;
    line->curve.clear();
    if (n == 2) {
        Calc1Spline(design, line);
    } else if (n == 3) {
        Calc2Spline(design, line);
    } else {
        Spliners spliner;
        const int m = spliner.CubicSpliner2D(n, line->points, line->bsplinePoints);
        line->bsplineCount = m;
        if (m > 3)
            Calc3Spline(design, line);
    }
    CalculateUVSpline(design, line);
}

int Design_Cell_Of(const ParaStruct* design, double x)
{
    const int N = tipRib(design);
    const double* pos = design->ribSpanPos;
    for (int k = 0; k < N; ++k)
        if (pos[k] <= x && x < pos[k + 1])
            return k;
    if (N > 0 && x >= pos[N])
        return N - 1;
    return 0;
}

void CalculateUVSpline(const ParaStruct* design, Spline* line)
{
    line->uvCurve.clear();
    for (const QPointF& p : std::as_const(line->curve)) {
        const QPoint uv = SplineSidePntToUV(design, line->side, Design_Cell_Of(design, p.x()), p);
        if (uv.x() >= 0 && uv.y() >= 0)
            line->uvCurve.append(uv);
    }
}

int U_X_fun(const ParaStruct* design, QPointF p)
{
    const int j = Design_Cell_Of(design, p.x());
    const double w = design->ribSpanPos[j + 1] - design->ribSpanPos[j];
    if (!(w > 0))
        return -1;
    const double U = std::round(256.0 * j + (p.x() - design->ribSpanPos[j]) / (w / 256));
    return usable(U) ? int(U) : -1;
}

double f_glob(const ParaStruct* design, int side, int k)
{
    if (side != 0 && side != 1)
        return 1.0;
    // The symmetry plane of a centre cell is no rib of its own: it has the
    // arc lengths of the first rib beside it.
    const int tip = tipRib(design);
    const int rib = std::clamp(k, std::min(std::clamp(design->firstRib, 0, 1), tip), tip);
    if (side == 0)
        return design->airfoilArcLen[rowIndex(design, 0, rib)][rib];
    return design->airfoilArcLen[kLastIndex][rib] - design->airfoilArcLen[rowIndex(design, 1, rib)][rib];
}

namespace {

// The airfoil index (with its fraction) at which the length along the
// surface of rib k, from the side's trailing edge, is the fraction v of the
// design area's height there (f_glob); beyond the last point the index runs
// on at the last step's length.
double indexAtFraction(const ParaStruct* design, int side, int k, double v)
{
    const int tip = tipRib(design);
    const int rib = std::clamp(k, std::min(std::clamp(design->firstRib, 0, 1), tip), tip);
    const double target = v * f_glob(design, side, k);
    // The length from the side's trailing edge to point i.
    const auto length = [&](int i) {
        const double a = design->airfoilArcLen[i][rib];
        return side == 0 ? a : design->airfoilArcLen[kLastIndex][rib] - a;
    };
    // Top: the length grows with the index from 0; bottom: it grows from 999
    // downward.
    const int first = side == 0 ? 0 : kLastIndex;
    const int step = side == 0 ? 1 : -1;
    int lo = 0, hi = kLastIndex; // steps along the side
    if (!(length(first + step * hi) > target)) {
        lo = hi - 1;
    } else {
        while (hi - lo > 1) {
            const int mid = (lo + hi) / 2;
            if (length(first + step * mid) <= target)
                lo = mid;
            else
                hi = mid;
        }
    }
    const double a = length(first + step * lo), b = length(first + step * hi);
    const double f = b > a ? (target - a) / (b - a) : 0.0;
    const double along = lo + f * (hi - lo);
    return side == 0 ? along : kLastIndex - along;
}

} // namespace

QPoint SplineSidePntToUV(const ParaStruct* design, int side, int k, QPointF p)
{
    const QPoint none(-1, -1);
    if (k < 0) {
        qDebug() << " RIB NOT found :" << k;
        return none;
    }
    const int N = tipRib(design);
    if (N < 1)
        return none;
    k = std::min(k, N - 1);
    const int U = U_X_fun(design, p);
    if (U < 0)
        return none;
    // The fraction across the cell's own span: the centre cell's half lies
    // between the symmetry plane and rib 1, half its cell width.
    const double span = design->ribSpanPos[k + 1] - design->ribSpanPos[k];
    if (!(span > 0))
        return none;
    const double t = (p.x() - design->ribSpanPos[k]) / span;
    const double H = (1 - t) * f_glob(design, side, k) + t * f_glob(design, side, k + 1);
    const double T = (1 - t) * design->trailingEdgeX[k] + t * design->trailingEdgeX[k + 1];
    const double v = (T - p.y()) / H;
    double V = 0;
    if (side == 0 || side == 1) {
        if (!usable(v))
            return none;
        if (v < 0) {
            // Behind the trailing edge there is no airfoil point: a point
            // less than one step behind it counts on the edge, one further
            // out has no UV image.
            V = side == 0 ? std::trunc(v * rowIndex(design, 0, k))
                          : std::trunc(kLastIndex - v * (kLastIndex - rowIndex(design, 1, k)));
        } else {
            // The line is drawn at the fraction v of the length along the
            // surface (the height of the design area); the cutter and the
            // textured preview find it by airfoil point. The points are not
            // spaced evenly along the surface, so the index of that length
            // is looked up on both ribs of the cell and taken across the
            // cell as the line's position is.
            V = std::round((1 - t) * indexAtFraction(design, side, k, v)
                           + t * indexAtFraction(design, side, k + 1, v));
        }
    }
    if (!usable(V))
        return none;
    return QPoint(U, int(V));
}

void RecreateSplineList(const ParaStruct* design, QList<Spline>* out)
{
    *out = design->designSplines;
    for (Spline& line : *out) {
        const int n = line.pointCount;
        if (n >= 3 && n <= kMaxSplineControlPoints) {
            line.points[0] = Adjust_to_Near_Rib(design, line.points[0]);
            line.points[n - 1] = Adjust_to_Near_Rib(design, line.points[n - 1]);
        }
        Calculate_Spline_Poly(design, &line);
    }
}

QPointF Adjust_to_Near_Rib(const ParaStruct* design, QPointF p)
{
    const int N = tipRib(design);
    const double* pos = design->ribSpanPos;
    const double x = p.x();
    for (int k = 0; k < N; ++k) {
        if (pos[k] <= x && x < pos[k + 1]) {
            p.setX(x - pos[k] < pos[k + 1] - x ? pos[k] : pos[k + 1]);
            return p;
        }
    }
    if (x < pos[0])
        p.setX(pos[0]);
    else if (x > pos[N])
        p.setX(pos[N]);
    return p;
}

QPointF getBillowPoint(const ParaStruct* design, int k, int index)
{
    if (index < 250 || index > 750 || k < 0 || k >= kRibSlots)
        return QPointF(0, 0);
    // Where the design plane of the top side puts this airfoil point, so
    // that the billow line drawn in the editor is where the panels split.
    return QPointF(design->ribSpanPos[k], design->trailingEdgeX[k] - design->airfoilArcLen[index][k]);
}

QPolygonF fill_snap_points(const ParaStruct* design, const QList<Spline>& list, int side)
{
    QPolygonF marks;
    for (const Spline& line : list) {
        if (line.side != side || line.pointCount < 3 || line.pointCount > kSplinePoints)
            continue;
        marks.append(line.points[0]);
        marks.append(line.points[line.pointCount - 1]);
    }
    const int first = std::clamp(design->firstRib, 0, 1);
    const int N = tipRib(design);
    if (side == 0 && design->billowLineOnTop)
        for (int k = first; k < N; ++k)
            marks.append(getBillowPoint(design, k, design->billowLineIndex));
    for (int k = first; k < N; ++k)
        marks.append(design->ribTailPoints[k] - QPointF(0, 1.0));
    return marks;
}

QPointF Find_Snap_Point(const QList<Spline>& list, QPointF p)
{
    for (const Spline& line : list) {
        if (line.pointCount < 1 || line.pointCount > kSplinePoints)
            continue;
        for (const QPointF& end : {line.points[0], line.points[line.pointCount - 1]}) {
            const double d = Dist2(end, p);
            if (d > 0 && d < 20)
                return end;
        }
    }
    return QPointF(0, 0);
}

int Select_Spline(const QList<Spline>& list, int side, QPoint pos, QPointF offset)
{
    const QPointF q = QPointF(pos) - offset;
    int best = -1;
    double bestDistance = 0;
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).side != side)
            continue;
        const double d = Dist_Spline_Pnt(&list.at(i).curve, q);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best >= 0 && bestDistance < 10.0 ? best : -1;
}

int SelectPoint(const Spline& line, QPoint pos, QPointF offset)
{
    const int n = std::clamp(line.pointCount, 0, kSplinePoints);
    for (int i = 0; i < n; ++i)
        if (Dist2(QPointF(pos), line.points[i] + offset) < 8.0)
            return i;
    return -1;
}

double Dist_Spline_Pnt(const QPolygonF* poly, QPointF p)
{
    double best = 1e18;
    for (const QPointF& q : *poly)
        best = std::min(best, Dist2(q, p));
    return best;
}

bool is_InRegionPoly(const QPolygonF& poly, QPointF p)
{
    return poly.containsPoint(p, Qt::WindingFill) || poly.containsPoint(p, Qt::OddEvenFill);
}

bool Spline_Can_Take_Point(const Spline& line)
{
    return line.pointCount < kMaxSplineControlPoints;
}
