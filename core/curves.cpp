#include "core/curves.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

double Bn(int i, int n, double t)
{
    if (i < 0 || n < 0)
        return 0.0;
    if (n == 0)
        return i == 0 ? 1.0 : 0.0;
    return (1 - t) * Bn(i, n - 1, t) + t * Bn(i - 1, n - 1, t);
}

double d_Bn(int i, int n, double t)
{
    return n * (Bn(i - 1, n - 1, t) - Bn(i, n - 1, t));
}

namespace {

// Bn(i, n, t) for i = 0 .. 3 and n <= 3, each level of the recursion worked
// out once instead of once per path through it (the same sums, so the same
// values to the last bit).
void bernsteinRow(int n, double t, double* b)
{
    for (int i = 0; i < 4; ++i)
        b[i] = i == 0 ? 1.0 : 0.0;
    for (int m = 1; m <= n; ++m) {
        for (int i = 3; i >= 0; --i)
            b[i] = (1 - t) * b[i] + t * (i > 0 ? b[i - 1] : 0.0);
    }
}

} // namespace

double spline_value(const double* c, double t)
{
    double b[4];
    bernsteinRow(3, t, b);
    double v = 0.0;
    for (int i = 0; i < 4; ++i)
        v += b[i] * c[i];
    return v;
}

double spline_d_value(const double* c, double t)
{
    // d_Bn(i, 3, t) = 3 (Bn(i - 1, 2, t) - Bn(i, 2, t)), with Bn(-1, 2, t) = 0.
    double b[4];
    bernsteinRow(2, t, b);
    double v = 0.0;
    for (int i = 0; i < 4; ++i)
        v += 3 * ((i > 0 ? b[i - 1] : 0.0) - b[i]) * c[i];
    return v;
}

void PointToPX(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double* c)
{
    c[0] = P0.x();
    c[1] = P1.x();
    c[2] = P2.x();
    c[3] = P3.x();
}

void PointToPY(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double* c)
{
    c[0] = P0.y();
    c[1] = P1.y();
    c[2] = P2.y();
    c[3] = P3.y();
}

QPointF sp4pnt(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t)
{
    if (t <= 0)
        return P0;
    if (t >= 1)
        return P3;
    const QPointF A = P0 + (P1 - P0) * t;
    const QPointF B = P1 + (P2 - P1) * t;
    const QPointF C = P2 + (P3 - P2) * t;
    const QPointF D = A + (B - A) * t;
    const QPointF E = B + (C - B) * t;
    return D + (E - D) * t;
}

QPolygonF Bezier_2D(QPointF P0, QPointF P1, QPointF P2, int n)
{
    QPolygonF out;
    if (n <= 0)
        return out;
    // Callers rely on the point count this summation gives.
    const double step = 1.0 / n;
    for (double t = 0; t <= 1.0; t += step) {
        const QPointF A = P0 + (P1 - P0) * t;
        const QPointF B = P1 + (P2 - P1) * t;
        out.append(A + (B - A) * t);
    }
    return out;
}

QPolygonF Bezier_FourPoints(QPointF P0, QPointF P1, QPointF P2, QPointF P3)
{
    QPolygonF out;
    out.reserve(4001);
    for (double t = 0; t <= 1.0; t += 0.00025)
        out.append(sp4pnt(P0, P1, P2, P3, t));
    return out;
}

double Bis_Spline(QPointF P0, QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF P5,
                  QPointF P6, QPointF P7, char side, double s)
{
    double c[4];
    if (side == 'D')
        PointToPX(P4, P5, P6, P7, c);
    else
        PointToPX(P0, P1, P2, P3, c);
    double lo = 0, hi = 1, t = 0.5;
    // 1e-7 is reached after 24 halvings; the bound only stops a NaN target.
    for (int iter = 0; iter < 100; ++iter) {
        t = (lo + hi) / 2;
        const double X = spline_value(c, t);
        if (std::fabs(X - s) < 1e-7)
            return t;
        if (X > s)
            hi = t;
        if (X < s)
            lo = t;
        if (hi - lo <= 1e-7)
            return t;
    }
    return t;
}

double Model_UD(QPointF P0, QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF P5,
                QPointF P6, QPointF P7, char side, double s)
{
    if (side != 'U' && side != 'D') {
        qDebug() << "Model_UD(uu[],dd[],char c, x) ***  return(1)";
        return 1.0;
    }
    const double t = std::min(1.0, Bis_Spline(P0, P1, P2, P3, P4, P5, P6, P7, side, s));
    double c[4];
    if (side == 'U')
        PointToPY(P0, P1, P2, P3, c);
    else
        PointToPY(P4, P5, P6, P7, c);
    return spline_value(c, t);
}

double Model_Width_X(QPointF P0, QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF P5,
                     QPointF P6, QPointF P7, double s)
{
    return std::fabs(Model_UD(P0, P1, P2, P3, P4, P5, P6, P7, 'U', s)
                     - Model_UD(P0, P1, P2, P3, P4, P5, P6, P7, 'D', s));
}

double f_Arclen(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t)
{
    double cx[4], cy[4];
    PointToPX(P0, P1, P2, P3, cx);
    PointToPY(P0, P1, P2, P3, cy);
    const double dx = spline_d_value(cx, t);
    const double dy = spline_d_value(cy, t);
    return std::pow(dx * dx + dy * dy, 0.5);
}

double f_tetiva(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t0, double t1)
{
    double cx[4], cy[4];
    PointToPX(P0, P1, P2, P3, cx);
    PointToPY(P0, P1, P2, P3, cy);
    const double dx = spline_value(cx, t1) - spline_value(cx, t0);
    const double dy = spline_value(cy, t1) - spline_value(cy, t0);
    return std::pow(dx * dx + dy * dy, 0.5);
}

double Fast_Face_Lok(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t0, double s)
{
    if (s <= 0)
        return 0.0;
    double t = t0;
    const double step = (1 - t0) / 200;
    for (int i = 0; i < 200; ++i) {
        if (f_tetiva(P0, P1, P2, P3, t0, t) > s)
            return t;
        t += step;
    }
    return t;
}

double Face_Lok(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double s, double t0, double s0)
{
    if (s <= 0)
        return 0.0;
    // The chord never exceeds the arc: the answer lies before tMax.
    const double tMax = std::min(1.0, Fast_Face_Lok(P0, P1, P2, P3, t0, s - s0));
    const double step = (tMax - t0) / 500;
    const double f0 = f_Arclen(P0, P1, P2, P3, t0);
    double inner = 0; // f_1 + ... + f_(k-1)
    double L = 0;
    double t = t0;
    double prev = t0;
    for (int k = 1;; ++k) {
        if (L + s0 >= s)
            return (prev + t) / 2;
        prev = t;
        if (k == 500)
            return prev;
        t += step;
        const double fk = f_Arclen(P0, P1, P2, P3, t);
        L = ((f0 + fk) / 2 + inner) * (t - t0) / k;
        inner += fk;
    }
}

// --- Interpolating cubic B-spline ---------------------------------------

void Spliners::Create_Matrix(int n)
{
    if (n < 4 || n > Capacity)
        return;
    for (int i = 0; i < n; ++i)
        std::fill(matrix[i], matrix[i] + n + 1, 0.0);
    const double sixth = 1.0 / 6.0;
    const double sevenTwelfths = 0.5833333333333334;
    matrix[0][0] = 3;
    matrix[0][1] = -1;
    matrix[1][0] = 0.25;
    matrix[1][1] = sevenTwelfths;
    matrix[1][2] = sixth;
    for (int i = 2; i <= n - 3; ++i) {
        matrix[i][i - 1] = sixth;
        matrix[i][i] = 2.0 / 3.0;
        matrix[i][i + 1] = sixth;
    }
    matrix[n - 2][n - 3] = sixth;
    matrix[n - 2][n - 2] = sevenTwelfths;
    matrix[n - 2][n - 1] = 0.25;
    matrix[n - 1][n - 2] = -1;
    matrix[n - 1][n - 1] = 3;
}

int Spliners::solveLinSystem(int n, double* x)
{
    if (n < 1 || n > Capacity)
        return 0;
    for (int k = 0; k < n - 1; ++k) {
        for (int i = k + 1; i < n; ++i) {
            const double f = -matrix[i][k] / matrix[k][k];
            if (f == 0)
                continue;
            for (int j = k + 1; j <= n; ++j)
                matrix[i][j] += f * matrix[k][j];
            matrix[i][k] = 0;
        }
    }
    back_substitute(n, x);
    return 0;
}

void Spliners::back_substitute(int n, double* x)
{
    if (n < 1 || n > Capacity)
        return;
    x[n - 1] = matrix[n - 1][n] / matrix[n - 1][n - 1];
    for (int i = n - 2; i >= 0; --i) {
        double s = matrix[i][n];
        for (int j = n - 1; j > i; --j)
            s -= x[j] * matrix[i][j];
        x[i] = s / matrix[i][i];
    }
}

void Spliners::solveCoordinate(int n, const double* rhs, double* x)
{
    Create_Matrix(n); // the solve overwrites the matrix
    for (int i = 0; i < n; ++i)
        matrix[i][n] = rhs[i];
    matrix[0][n] *= 2;
    matrix[n - 1][n] *= 2;
    solveLinSystem(n, x);
}

int Spliners::CubicSpliner2D(int n, const QPointF* in, QPointF* out)
{
    if (n < 4 || n > Capacity)
        return 0;
    double rhs[Capacity];
    for (int i = 0; i < n; ++i)
        rhs[i] = in[i].x();
    solveCoordinate(n, rhs, solution[0]);
    for (int i = 0; i < n; ++i)
        rhs[i] = in[i].y();
    solveCoordinate(n, rhs, solution[1]);
    out[0] = in[0];
    for (int k = 0; k < n; ++k)
        out[k + 1] = QPointF(solution[0][k], solution[1][k]);
    out[n + 1] = in[n - 1];
    return n + 2;
}

int Spliners::CubicSpliner3D(int n, const QVector3D* in, QVector3D* out)
{
    if (n < 4 || n > Capacity)
        return 0;
    double rhs[Capacity];
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < n; ++i)
            rhs[i] = double(in[i][c]);
        solveCoordinate(n, rhs, solution[c]);
    }
    out[0] = in[0];
    for (int k = 0; k < n; ++k)
        out[k + 1] = QVector3D(float(solution[0][k]), float(solution[1][k]), float(solution[2][k]));
    out[n + 1] = in[n - 1];
    return n + 2;
}
