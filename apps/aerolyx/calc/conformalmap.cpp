#include "apps/aerolyx/calc/conformalmap.h"

#include "core/mygsllib.h"
#include "core/transf.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace aerolyx {

namespace {
// cos(k phi) and sin(k phi) for k = 1, 2, ... by turning on from the previous
// pair: the map is evaluated at thousands of points per iteration and view,
// and a cosine and a sine per term were most of its cost. The pair is taken
// afresh every 32 terms, so rounding cannot build up.
class Harmonics {
public:
    explicit Harmonics(double phi) : phi(phi), c1(std::cos(phi)), s1(std::sin(phi)), c(c1), s(s1) {}
    double Cos() const { return c; }
    double Sin() const { return s; }
    void Next()
    {
        ++k;
        if (k % 32 == 0) {
            c = std::cos(k * phi);
            s = std::sin(k * phi);
            return;
        }
        const double next = c * c1 - s * s1;
        s = s * c1 + c * s1;
        c = next;
    }

private:
    double phi, c1, s1, c, s;
    int k = 1;
};

// Linear ramps to zero over the first and last 5 % of the correction, so the
// trailing-edge angles stay put.
void Repair_Tail_Hi(int n, double* step)
{
    step[0] = 0;
    const int m = int(n * 5 / 100.0);
    if (m < 1 || n - 1 - m < 0)
        return;
    const double a = step[m];
    step[n - 1] = 0;
    const double b = step[n - 1 - m];
    for (int k = 0; k < m; ++k) {
        step[k] = a * k / m;
        step[n - 1 - k] = b * k / m;
    }
}

double Sum_B(int h, const double* b)
{
    double s = 0;
    for (int k = 1; k < h; ++k)
        s += b[k];
    return s;
}

} // namespace

double Find_Tau(int n, const double* x, const double* y)
{
    if (n < 1)
        return 0;
    double sy = 0, sx = 0;
    for (int i = 0; i < n; ++i) {
        sy += y[i];
        sx += 1.0 - x[i];
    }
    return std::atan2(sy, sx);
}

QPolygonF RotateFoilPoly(const myData*, const QPolygonF& foil, double angle)
{
    if (!(std::fabs(angle) > 0))
        return foil;
    QPolygonF out;
    out.reserve(foil.size());
    for (const QPointF& p : foil)
        out << ::RotFix(angle, 1.0, 0.0, p);
    return out;
}

QPolygonF RotateFoilToZeroPosition(myData* data, const QPolygonF& foil)
{
    // The map takes the far flow along the x axis to zero circulation, so the
    // zero position must lay the airfoil's zero-lift line on that axis: the
    // flow angle is measured from it (alpha less the zero-lift angle).
    const double d = -NON_Lift_Angle(foil);
    data->foilTurn += d;
    return RotateFoilPoly(data, foil, d);
}

void PrepareRotateAirfoil(myData* data, const QPolygonF& foil)
{
    const int n = foil.size();
    if (n < 3 || n > kFoilPoints)
        return;
    data->foilTurn = 0;
    data->zeroFoil = RotateFoilToZeroPosition(data, foil);
    for (int i = 0; i < n; ++i)
        data->phiGrid[i] = data->theta[i] = Uniform_Angle(i, n);
    data->phiGrid[0] = data->theta[0] = 0;
    data->phiGrid[n - 1] = data->theta[n - 1] = 2 * M_PI;
    for (int i = 0; i < n; ++i) {
        data->foilX[i] = data->zeroFoil[i].x();
        data->foilY[i] = data->zeroFoil[i].y();
    }
    Poly_Fit(n, 32, data->phiGrid, data->foilX);
    Poly_Fit(n, 32, data->phiGrid, data->foilY);
    std::copy(data->foilX, data->foilX + n, data->circleX);
    std::copy(data->foilY, data->foilY + n, data->circleY);
    interpSpline(n, data->theta, data->circleX, data->circleX);
    interpSpline(n, data->theta, data->circleY, data->circleY);
    data->foilX[0] = data->foilX[n - 1];
    data->foilY[0] = data->foilY[n - 1];
    data->circleX[0] = data->circleX[n - 1];
    data->circleY[0] = data->circleY[n - 1];
}

double NON_Lift_Angle(const QPolygonF& foil)
{
    // The contour's last point repeats its first, so its samples have a
    // period of one less than their count; a cosine sum over any other period
    // would give a symmetric airfoil a camber it does not have.
    const int n = foil.size();
    const int h = n / 2;
    if (h < 2)
        return 0;
    std::vector<double> y(n), a(h), b(h);
    for (int j = 0; j < n; ++j)
        y[j] = foil[j].y();
    Period_Coefficients(n - 1, y.data(), h, a.data(), b.data());
    double alpha = 0;
    for (int k = 1; k < h; ++k)
        alpha += k * a[k];
    return 2.0 * alpha;
}

bool Suma_Theta_Hi(int n, double* theta, double* thetaStep)
{
    Repair_Tail_Hi(n, thetaStep);
    std::vector<double> next(theta, theta + n);
    for (int k = 1; k <= n - 2; ++k)
        next[k] += 0.8 * thetaStep[k];
    next[0] = 0;
    next[n - 1] = 2 * M_PI;
    for (int k = 1; k < n; ++k)
        if (!(next[k] > next[k - 1])) {
            qDebug() << "mapping: corrected circle angles stop increasing at point" << k;
            return false;
        }
    std::copy(next.begin(), next.end(), theta);
    return true;
}

double PerformIterations(myData* data, double relax, int n)
{
    if (n < 3 || n > kFoilPoints)
        return std::nan("");
    std::vector<double> cy(n), cx(n);
    if (!interpSpline(n, data->theta, data->foilY, cy.data())
        || !interpSpline(n, data->theta, data->foilX, cx.data()))
        return std::nan("");
    std::copy(cy.begin(), cy.end(), data->circleY);
    std::copy(cx.begin(), cx.end(), data->circleX);
    ConformalMappings(data, n, data->circleY);
    Calc_dx_Hi(relax, n, data->circleX, data->mapX, data->thetaStep);
    Poly_Fit(n, 11, data->phiGrid, data->thetaStep);
    if (!Suma_Theta_Hi(n, data->theta, data->thetaStep))
        return std::nan("");

    double sum = 0;
    for (int k = 0; k < n; ++k)
        sum += data->thetaStep[k] * data->thetaStep[k];
    return std::sqrt(sum);
}

void ConformalMappings(myData* data, int n, const double* y)
{
    const int h = n / 2;
    // The samples lie at the angles j 2pi/(n-1) and the last repeats the
    // first: the series over that period puts every y value at its own
    // station's angle, so the unit circle maps onto the contour itself.
    std::vector<double> a(h), b(h);
    Period_Coefficients(n - 1, y, h, a.data(), b.data());
    const double thetaLE = f_Theta_LE(h, a.data(), b.data());
    const double lambda = f_lambda(h, a.data(), b.data(), thetaLE);
    const double x0 = 1.0 - 2.0 * lambda + Sum_B(h, b.data());
    const double y0 = a[0] / 2.0;
    data->mapCoefA[0] = data->mapCoefB[0] = 0;
    if (h > 1) {
        data->mapCoefA[1] = 1.0 - b[1] / lambda;
        data->mapCoefB[1] = a[1] / lambda;
    }
    for (int k = 2; k < h; ++k) {
        data->mapCoefA[k] = -b[k] / lambda;
        data->mapCoefB[k] = a[k] / lambda;
    }
    data->mapScale = lambda;
    data->mapShiftX = x0;
    data->mapShiftY = y0;
    Map_Unit_Circle(Uniform_Harmonics(n), h, lambda, x0, y0, data->mapCoefA, data->mapCoefB, data->mapX,
                    data->mapY);
    Normalize_Table(n, data->mapX);
}

CircleHarmonics::CircleHarmonics(const std::vector<double>& angles, int terms)
    : count(int(angles.size())), terms(std::max(terms, 0)),
      table(size_t(2 * this->terms) * angles.size())
{
    for (int j = 0; j < count; ++j) {
        Harmonics h(angles[size_t(j)]);
        for (int k = 1; k <= this->terms; ++k) {
            if (k > 1)
                h.Next();
            const_cast<double*>(Cos(k))[j] = h.Cos();
            const_cast<double*>(Sin(k))[j] = h.Sin();
        }
    }
}

const CircleHarmonics& Uniform_Harmonics(int n)
{
    thread_local std::unique_ptr<CircleHarmonics> made;
    if (!made || made->Count() != std::max(n, 0)) {
        std::vector<double> angles(size_t(std::max(n, 0)));
        for (int j = 0; j < n; ++j)
            angles[size_t(j)] = Uniform_Angle(j, n);
        made = std::make_unique<CircleHarmonics>(angles, n / 2);
    }
    return *made;
}

// The sums of fin2_X and fin2_Y at r = 1, where the powers of r drop out
// exactly, each taken in the same order at every angle.
void Map_Unit_Circle(const CircleHarmonics& at, int m, double lambda, double x0, double y0,
                     const double* A, const double* B, double* x, double* y)
{
    const int n = at.Count();
    const double* c1 = at.Cos(1);
    const double* s1 = at.Sin(1);
    for (int j = 0; j < n; ++j) {
        x[j] = (1.0 + A[1]) * c1[j] + B[1] * s1[j];
        y[j] = (1.0 - A[1]) * s1[j] + B[1] * c1[j];
    }
    for (int k = 2; k < m; ++k) {
        const double* c = at.Cos(k);
        const double* s = at.Sin(k);
        const double a = A[k], b = B[k];
        for (int j = 0; j < n; ++j) {
            x[j] += a * c[j] + b * s[j];
            y[j] += b * c[j] - a * s[j];
        }
    }
    for (int j = 0; j < n; ++j) {
        x[j] = x0 + lambda * x[j];
        y[j] = y0 + lambda * y[j];
    }
}


double fin2_X(int m, double r, double phi, double lambda, double x0, const double* A, const double* B)
{
    Harmonics h(phi);
    double s = (r + A[1] / r) * h.Cos() + (B[1] / r) * h.Sin();
    double rk = 1.0 / r;
    for (int k = 2; k < m; ++k) {
        rk /= r;
        h.Next();
        s += rk * (A[k] * h.Cos() + B[k] * h.Sin());
    }
    return x0 + lambda * s;
}

double fin2_Y(int m, double r, double phi, double lambda, double y0, const double* A, const double* B)
{
    Harmonics h(phi);
    double s = (r - A[1] / r) * h.Sin() + (B[1] / r) * h.Cos();
    double rk = 1.0 / r;
    for (int k = 2; k < m; ++k) {
        rk /= r;
        h.Next();
        s += rk * (B[k] * h.Cos() - A[k] * h.Sin());
    }
    return y0 + lambda * s;
}

QPointF f_conform(const myData* data, int m, double r, double phi, double x0, double y0,
                  double lambda, const double* A, const double* B)
{
    const Complex w(fin2_X(m, r, phi, lambda, x0, A, B), fin2_Y(m, r, phi, lambda, y0, A, B));
    const Complex z = C_sum(C_set(1, 0), C_mul(C_set_P(1.0, -data->foilTurn), C_sub(w, C_set(1, 0))));
    return QPointF(z.real(), z.imag());
}

QPointF z_conform(const myData* data, int m, QPointF p, double x0, double y0, double lambda,
                  const double* A, const double* B)
{
    const double r = std::hypot(p.x(), p.y());
    const double phi = std::atan2(p.y(), p.x());
    return f_conform(data, m, r, phi, x0, y0, lambda, A, B);
}

Complex Df_conform(const myData* data, int m, double r, double phi, double lambda,
                   const double* A, const double* B)
{
    // 1 - sum k c_k zeta^-(k+1), with the powers of r taken as real numbers
    // so that far points underflow to 0 instead of overflowing.
    double re = 1.0, im = 0.0;
    double rk = 1.0 / r;
    Harmonics h(phi);
    for (int k = 1; k < m; ++k) {
        rk /= r;
        h.Next(); // the angle (k + 1) phi
        const double c = h.Cos(), s = h.Sin();
        // (A + iB)(c - i s) = (A c + B s) + i (B c - A s)
        re -= k * rk * (A[k] * c + B[k] * s);
        im -= k * rk * (B[k] * c - A[k] * s);
    }
    return C_mul(C_set_P(lambda, -data->foilTurn), C_set(re, im));
}

// The sum of Df_conform at r = 1, the same operations in the same order at
// every angle.
void Df_Unit_Circle(const myData* data, const CircleHarmonics& at, int m, double lambda,
                    const double* A, const double* B, Complex* dz)
{
    const int n = at.Count();
    std::vector<double> re(size_t(n), 1.0), im(size_t(n), 0.0);
    for (int k = 1; k < m; ++k) {
        const double* c = at.Cos(k + 1);
        const double* s = at.Sin(k + 1);
        const double a = A[k], b = B[k], weight = k;
        for (int j = 0; j < n; ++j) {
            re[size_t(j)] -= weight * (a * c[j] + b * s[j]);
            im[size_t(j)] -= weight * (b * c[j] - a * s[j]);
        }
    }
    const Complex turn = C_set_P(lambda, -data->foilTurn);
    for (int j = 0; j < n; ++j)
        dz[j] = C_mul(turn, C_set(re[size_t(j)], im[size_t(j)]));
}

QPolygonF Main_Conform_Polygon(const myData* data, int m, double r, double x0, double y0,
                               double lambda, const double* A, const double* B)
{
    QPolygonF poly;
    poly.reserve(kFoilPoints);
    for (int k = 0; k < kFoilPoints; ++k)
        poly << f_conform(data, m, r, Uniform_Angle(k, kFoilPoints), x0, y0, lambda, A, B);
    return poly;
}

QPolygonF Table_to_Polygon(int n, const double* t, double scale)
{
    QPolygonF poly;
    poly.reserve(n);
    for (int j = 0; j < n; ++j)
        poly << QPointF(Uniform_Angle(j, n), t[j] / scale);
    return poly;
}

double f2valX(int h, const double* a, const double* b, double theta)
{
    double s = 0;
    Harmonics t(theta);
    for (int k = 1; k < h; ++k, t.Next())
        s += a[k] * t.Sin() - b[k] * t.Cos();
    return s;
}

namespace {
// fvalX and f_lambda from the series' part f2valX at theta, with sumB the
// sum of b[1..h-1].
double X_From(double series, double x0, double lambda, double theta)
{
    return x0 + 2.0 * lambda * std::cos(theta) + series;
}
double Lambda_From(double series, double sumB, double theta)
{
    return (series + 1.0 + sumB) * 0.5 / (1.0 - std::cos(theta));
}
// The angles near the nose among which minNoseTheta seeks the least x.
constexpr int kNoseAngles = 40;
double Nose_Angle(int k)
{
    return 2.827433388230814 + k * 0.015707963267948977;
}
} // namespace

double fvalX(int h, const double* a, const double* b, double x0, double lambda, double theta)
{
    return X_From(f2valX(h, a, b, theta), x0, lambda, theta);
}

double f_lambda(int h, const double* a, const double* b, double theta)
{
    return Lambda_From(f2valX(h, a, b, theta), Sum_B(h, b), theta);
}

double minNoseTheta(int h, const double* a, const double* b, double lambda, double x0, double theta)
{
    double best = theta;
    double least = fvalX(h, a, b, x0, lambda, theta);
    for (int k = 0; k < kNoseAngles; ++k) {
        const double t = Nose_Angle(k);
        const double v = fvalX(h, a, b, x0, lambda, t);
        if (v < least) {
            least = v;
            best = t;
        }
    }
    return best;
}

double f_Theta_LE(int h, const double* a, const double* b)
{
    // minNoseTheta and f_lambda pass after pass. The angle is pi or one of
    // the nose angles, and the series' part of x at those depends on the
    // coefficients alone: it is summed once for all passes, the passes only
    // move x0 and lambda.
    // The harmonics of those angles are fixed too (kept per thread).
    const int start = kNoseAngles;
    double angle[kNoseAngles + 1], series[kNoseAngles + 1];
    for (int k = 0; k < kNoseAngles; ++k)
        angle[k] = Nose_Angle(k);
    angle[start] = M_PI;
    thread_local std::unique_ptr<CircleHarmonics> harmonics;
    if (!harmonics || harmonics->Terms() < h - 1)
        harmonics = std::make_unique<CircleHarmonics>(std::vector<double>(angle, angle + start + 1), h - 1);
    // f2valX at every angle, its terms in the same order.
    std::fill(series, series + start + 1, 0.0);
    for (int k = 1; k < h; ++k) {
        const double* c = harmonics->Cos(k);
        const double* s = harmonics->Sin(k);
        for (int j = 0; j <= start; ++j)
            series[j] += a[k] * s[j] - b[k] * c[j];
    }
    const double sumB = Sum_B(h, b);
    int at = start;
    for (int pass = 0; pass < 100; ++pass) {
        double lambda = Lambda_From(series[at], sumB, angle[at]);
        double x0 = 1.0 - 2.0 * lambda + sumB;
        int best = at;
        double least = X_From(series[at], x0, lambda, angle[at]);
        for (int k = 0; k < kNoseAngles; ++k) {
            const double v = X_From(series[k], x0, lambda, angle[k]);
            if (v < least) {
                least = v;
                best = k;
            }
        }
        at = best;
        lambda = Lambda_From(series[at], sumB, angle[at]);
        x0 = 1.0 - 2.0 * lambda + sumB;
        if (std::fabs(X_From(series[at], x0, lambda, angle[at])) < 1e-10)
            return angle[at];
    }
    qDebug() << " Strange return *theta :" << angle[at] * 180.0 / M_PI;
    return angle[at];
}

} // namespace aerolyx
