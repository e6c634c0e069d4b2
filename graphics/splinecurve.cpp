#include "graphics/splinecurve.h"

#include "core/curves.h"
#include "core/parastruct.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kTwoPi = 6.283185306;

// Highest rib slot whose cell (rib k to k + 1) the tables hold.
int lastCellOf(const ParaStruct* d)
{
    return std::clamp(d->lastRib, 1, kRibSlots - 1) - 1;
}

// t growing by repeated addition of dt from 0: the sampling of every curve
// kind, so that the number of points follows from the step alone.
template <typename Point>
void sample(double dt, bool includeOne, Point point)
{
    if (!(dt > 0))
        dt = 1.0 / 256;
    for (double t = 0; includeOne ? t <= 1 : t < 1; t += dt)
        point(t);
}

// An integer V from a real one, or -1 where the value is no number an
// airfoil index could be.
int truncatedIndex(double v)
{
    if (!std::isfinite(v) || v < -1e6 || v > 1e6)
        return -1;
    return int(std::trunc(v));
}

} // namespace

double dt_SplineT(const ParaStruct* design, const Spline* line)
{
    double L = 0;
    const int n = std::clamp(line->pointCount, 0, kSplinePoints);
    for (int i = 1; i < n; ++i)
        L += std::hypot(line->points[i].x() - line->points[i - 1].x(), line->points[i].y() - line->points[i - 1].y());
    const double mm = 1000 * design->R_X(L);
    return L > 0 && mm > 0 ? kTwoPi / mm : 0.00390625;
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

double N_B(const Spline* line, int i, int p, double t)
{
    const double* k = line->knots;
    if (p == 0)
        return k[i] <= t && t < k[i + 1] ? 1.0 : 0.0;
    auto fraction = [](double num, double den) {
        if (den == 0)
            return num == 0 ? 1.0 : 0.0;
        return num / den;
    };
    const double a = fraction(t - k[i], k[i + p] - k[i]);
    const double b = fraction(k[i + p + 1] - t, k[i + p + 1] - k[i + 1]);
    return a * N_B(line, i, p - 1, t) + b * N_B(line, i + 1, p - 1, t);
}

QPointF B_spline_value(const Spline* line, double t)
{
    const int m = line->bsplineCount;
    // Every basis function of the half-open rule is 0 at the last knot: the
    // curve ends on its last control point there.
    if (t >= 1)
        return line->bsplinePoints[m - 1];
    QPointF sum(0, 0);
    for (int i = 0; i < m; ++i) {
        const double n = N_B(line, i, 3, t);
        if (n != 0)
            sum += n * line->bsplinePoints[i];
    }
    return sum;
}

void Calc1Spline(const ParaStruct* design, Spline* line)
{
    const QPointF P0 = line->points[0], P1 = line->points[1];
    sample(dt_SplineT(design, line), false, [&](double t) { line->curve.append((1 - t) * P0 + t * P1); });
    line->curve.append(P1);
    line->bsplineCount = 2;
}

void Calc2Spline(const ParaStruct* design, Spline* line)
{
    const QPointF P0 = line->points[0], P1 = line->points[1], P2 = line->points[2];
    const QPointF C = 2 * P1 - (P0 + P2) / 2;
    line->curve.append(P0);
    sample(dt_SplineT(design, line), false, [&](double t) {
        line->curve.append((1 - t) * (1 - t) * P0 + 2 * t * (1 - t) * C + t * t * P2);
    });
    line->curve.append(P2);
    line->bsplineCount = 3;
}

void Calc3Spline(const ParaStruct* design, Spline* line)
{
    const int m = line->bsplineCount;
    SetKnotVector(line, m);
    if (m < 4 || line->knotCount == 0)
        return;
    sample(dt_SplineT(design, line), true, [&](double t) { line->curve.append(B_spline_value(line, t)); });
}

void Calculate_Spline_Poly(ParaStruct* design, Spline* line)
{
    const int n = line->pointCount;
    // A line of more points than its B-spline table can take is left alone
    // rather than written past the table.
    if (n < 2 || n > kSplinePoints - 2)
        return;
    line->curve.clear();
    if (n == 2) {
        Calc1Spline(design, line);
    } else if (n == 3) {
        Calc2Spline(design, line);
    } else {
        Spliners solver;
        const int m = solver.CubicSpliner2D(n, line->points, line->bsplinePoints);
        line->bsplineCount = m;
        if (m > 3)
            Calc3Spline(design, line);
    }
    CalculateUVSpline(design, line);
}

int Spline_Cell_Of(const ParaStruct* design, double x)
{
    const int last = lastCellOf(design);
    for (int k = 0; k <= last; ++k)
        if (design->ribSpanPos[k] <= x && x < design->ribSpanPos[k + 1])
            return k;
    return x >= design->ribSpanPos[last + 1] ? last : 0;
}

void CalculateUVSpline(ParaStruct* design, Spline* line)
{
    line->uvCurve.clear();
    for (const QPointF& p : std::as_const(line->curve)) {
        const QPoint uv = SplineSidePntToUV(design, line->side, Spline_Cell_Of(design, p.x()), p);
        if (uv.y() >= 0)
            line->uvCurve.append(uv);
    }
}

int U_X_fun(const ParaStruct* design, QPointF p)
{
    const int j = Spline_Cell_Of(design, p.x());
    const double w = design->ribSpanPos[j + 1] - design->ribSpanPos[j];
    if (!(w > 0))
        return -1;
    const double u = 256.0 * j + (p.x() - design->ribSpanPos[j]) / (w / 256);
    if (!std::isfinite(u) || u < 0 || u > std::numeric_limits<int>::max() / 2)
        return -1;
    return int(std::round(u));
}

double f_glob(const ParaStruct* design, int side, int k)
{
    if (k < 0 || k >= kStructSlots)
        return 0.0;
    if (side == 0)
        return design->airfoilArcLen[std::clamp(design->lineIndex[0][std::min(k, kRibSlots - 1)], 0, 999)][k];
    if (side == 1) {
        const int o2 = std::clamp(design->lineIndex[1][std::min(k, kRibSlots - 1)], 0, 999);
        return design->airfoilArcLen[999][k] - design->airfoilArcLen[o2][k];
    }
    return 1.0;
}

QPoint SplineSidePntToUV(const ParaStruct* design, int side, int k, QPointF p)
{
    if (k < 0 || k + 1 >= kRibSlots) {
        qDebug() << " RIB NOT found :" << k;
        return QPoint(-1, -1);
    }
    const int U = U_X_fun(design, p);
    if (U < 0)
        return QPoint(-1, -1);
    const double width = design->cellWidth[k];
    if (!(width != 0))
        return QPoint(-1, -1);
    const double t = (p.x() - design->ribSpanPos[k]) / width;
    const double H = (1 - t) * f_glob(design, side, k) + t * f_glob(design, side, k + 1);
    const double T = (1 - t) * design->trailingEdgeX[k] + t * design->trailingEdgeX[k + 1];
    if (!(H != 0))
        return QPoint(-1, -1);
    const double v = (T - p.y()) / H;
    int V = 0;
    if (side == 0)
        V = truncatedIndex(v * design->lineIndex[0][k]);
    else if (side == 1)
        V = truncatedIndex(999 - v * (999 - design->lineIndex[1][k]));
    return QPoint(U, V);
}
