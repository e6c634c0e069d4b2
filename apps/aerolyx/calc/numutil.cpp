#include "apps/aerolyx/calc/numutil.h"

#include "core/gslsetup.h"
#include "core/mygsllib.h"

#include <QDebug>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_spline.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace aerolyx {

Complex C_set(double re, double im) { return Complex(re, im); }
Complex C_set_P(double r, double a) { return Complex(r * std::cos(a), r * std::sin(a)); }
double C_abs(Complex z) { return std::sqrt(z.real() * z.real() + z.imag() * z.imag()); }
double C_abs2(Complex z) { return z.real() * z.real() + z.imag() * z.imag(); }
Complex C_sum(Complex a, Complex b) { return a + b; }
Complex C_sub(Complex a, Complex b) { return a - b; }

Complex C_mul(Complex a, Complex b)
{
    return Complex(a.real() * b.real() - a.imag() * b.imag(),
                   a.real() * b.imag() + a.imag() * b.real());
}

Complex C_inv(Complex z)
{
    double d = C_abs2(z);
    if (!(d > 0))
        d = 1e12;
    return Complex(z.real() / d, -z.imag() / d);
}

double Uniform_Angle(int j, int m)
{
    return j * 2.0 * M_PI / (m - 1);
}

void f_fasc(int n, const double* v, double* out)
{
    if (n < 1)
        return;
    out[0] = 0;
    for (int i = 0; i + 1 < n; ++i)
        out[i + 1] = out[i] + std::fabs(v[i + 1] - v[i]);
}

void normalize_f(int n, double* v)
{
    if (n < 1)
        return;
    double lo = 1e12;
    double hi = 0;
    for (int i = 1; i < n; ++i) {
        lo = std::min(lo, v[i]);
        hi = std::max(hi, v[i]);
    }
    const double span = hi - lo;
    if (span == 0 || !std::isfinite(span))
        return;
    for (int i = 0; i < n; ++i)
        v[i] = (v[i] - lo) / span;
}

double G_search(int n, int i, double value, const double* v)
{
    for (int j = std::max(i - 20, 0); j <= n - 2; ++j) {
        const double t0 = v[j];
        const double t1 = v[j + 1];
        const bool holds = (t1 > t0 && t0 <= value && value <= t1)
                        || (t0 > t1 && t1 <= value && value <= t0) || t0 == value;
        if (!holds)
            continue;
        const double p0 = Uniform_Angle(j, n);
        const double p1 = Uniform_Angle(j + 1, n);
        if (t1 == t0) // a flat segment is reached at its start
            return p0;
        return p1 + (value - t1) * (p1 - p0) / (t1 - t0);
    }
    qDebug() << QString("G_search strange j1:%1   dt: %2").arg(n - 1).arg(0.0, 0, 'f', 6);
    return 0;
}

double f_tauHI(int i, const double* u, const double* v, int n)
{
    return G_search(n, i, u[i], v) - Uniform_Angle(i, n);
}

void Calc_dx_Hi(double relax, int n, const double* xt, const double* xm, double* step)
{
    if (n < 2)
        return;
    std::vector<double> u(n), v(n);
    f_fasc(n, xt, u.data());
    f_fasc(n, xm, v.data());
    normalize_f(n, u.data());
    normalize_f(n, v.data());
    step[0] = 0;
    step[n - 1] = 0;
    for (int i = 1; i <= n - 2; ++i)
        step[i] = relax * f_tauHI(i, u.data(), v.data(), n);
}

namespace {
// The natural cubic spline through (x[i], y[i]) evaluated at the m angles
// 2pi j / step, j = 0..m-1, clamped to the table; out untouched on failure.
bool Spline_At_Steps(int n, const double* x, const double* y, int m, double step, double* out)
{
    Gsl_Errors_Off();
    if (n < 3)
        return false;
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || (i > 0 && !(x[i] > x[i - 1])))
            return false;
    gsl_interp_accel* acc = gsl_interp_accel_alloc();
    gsl_spline* spline = gsl_spline_alloc(gsl_interp_cspline, n);
    if (!acc || !spline) {
        gsl_spline_free(spline);
        gsl_interp_accel_free(acc);
        return false;
    }
    bool ok = gsl_spline_init(spline, x, y, n) == GSL_SUCCESS;
    std::vector<double> values(m);
    for (int j = 0; ok && j < m; ++j) {
        // The last uniform angle may round past the table's end.
        const double at = std::clamp(j * 2.0 * M_PI / step, x[0], x[n - 1]);
        ok = gsl_spline_eval_e(spline, at, acc, &values[j]) == GSL_SUCCESS;
    }
    gsl_spline_free(spline);
    gsl_interp_accel_free(acc);
    if (ok)
        std::copy(values.begin(), values.end(), out);
    return ok;
}
} // namespace

bool interpSpline(int n, const double* x, const double* y, double* out)
{
    return Spline_At_Steps(n, x, y, n, n - 1, out);
}

bool Spline_Period_Samples(int n, const double* x, const double* y, double* out)
{
    return Spline_At_Steps(n, x, y, n, n, out);
}

namespace {
bool Is_Power_Of_Two(int v)
{
    return v > 0 && (v & (v - 1)) == 0;
}
} // namespace

bool Fourier_Proc(int n, int m, const double* y, double* out, double* a, double* b)
{
    if (m < 1 || !Is_Power_Of_Two(2 * m))
        return false;
    std::vector<double> theta(2 * m), yy(2 * m);
    Init_fu_fields(m, a, b, theta.data(), yy.data(), y, true);
    fft_test(2 * m, y, a, b);
    for (int k = 0; k < n; ++k)
        out[k] = f_value(n, m, a, b, k);
    return true;
}

double f_value(int n, int m, const double* a, const double* b, int k)
{
    return Fourier_Series_Value(m, a, b, 2.0 * M_PI * k / (n - 1));
}

double f_Dvalue(int n, int m, const double* a, const double* b, int k)
{
    return Fourier_Series_Value(m, a, b, 2.0 * M_PI * k / (n - 1), 1);
}

bool F_coef(int m, const double* y, double* a, double* b)
{
    return fft_test(2 * m, y, a, b);
}

void Fourier_Skeleton(int n, int m, const double* y, double* out)
{
    if (m < 1)
        return;
    std::vector<double> a(m + 1), b(m + 1), theta(2 * m), yy(2 * m);
    Init_fu_fields(m, a.data(), b.data(), theta.data(), yy.data(), y,
                   true);
    Proc_A_bn(m, a.data(), b.data(), theta.data(), yy.data());
    std::fill(b.begin(), b.end(), 0.0);
    for (int k = 0; k < n; ++k)
        out[k] = f_value(n, m, a.data(), b.data(), k);
}

void Period_Coefficients(int period, const double* y, int h, double* a, double* b)
{
    if (period < 1 || h < 1)
        return;
    // j k is taken modulo the period, so one table of angles serves every
    // term.
    std::vector<double> c(period), s(period);
    for (int m = 0; m < period; ++m) {
        c[m] = std::cos(2.0 * M_PI * m / period);
        s[m] = std::sin(2.0 * M_PI * m / period);
    }
    for (int k = 0; k < h; ++k) {
        double sa = 0, sb = 0;
        const int inc = k % period;
        for (int j = 0, m = 0; j < period; ++j) {
            sa += y[j] * c[m];
            sb += y[j] * s[m];
            m += inc;
            if (m >= period)
                m -= period;
        }
        a[k] = 2.0 * sa / period;
        b[k] = 2.0 * sb / period;
    }
}

void Normalize_Table(int n, double* t)
{
    if (n < 1)
        return;
    int iMax = 0, iMin = 0;
    double hi = -1000, lo = 1000;
    for (int i = 0; i < n; ++i) {
        if (t[i] > hi) { hi = t[i]; iMax = i; }
        if (t[i] < lo) { lo = t[i]; iMin = i; }
    }
    const double spread = t[iMax] - t[iMin];
    if (!(spread > 0) || !std::isfinite(spread))
        return;
    for (int i = 0; i < n; ++i)
        t[i] /= spread;
    const double shift = 1.0 - t[iMax];
    for (int i = 0; i < n; ++i)
        t[i] += shift;
    // Rounding leaves the span a hair off 1; a few passes settle it.
    for (int pass = 0; pass < 50; ++pass) {
        const double s = t[iMax] - t[iMin];
        if (std::fabs(s - 1.0) <= 1e-9 || !(s > 0))
            break;
        for (int i = 0; i < n; ++i)
            t[i] = (t[i] - (1.0 - s)) / s;
    }
}

} // namespace aerolyx
