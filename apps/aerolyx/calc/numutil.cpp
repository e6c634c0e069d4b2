#include "apps/aerolyx/calc/numutil.h"

#include "core/gslsetup.h"
#include "core/mygsllib.h"

#include <QDebug>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit.h>
#include <gsl/gsl_poly.h>
#include <gsl/gsl_spline.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace aerolyx {

double Uniform_Angle(int j, int m)
{
    return j * 2.0 * M_PI / (m - 1);
}

namespace {
// The design matrix of a least-squares polynomial fit on one grid, its
// balanced singular value decomposition made once; each fit on that grid
// is then the solve alone.
class FitBasis
{
public:
    FitBasis() = default;
    FitBasis(const FitBasis&) = delete;
    FitBasis& operator=(const FitBasis&) = delete;
    ~FitBasis() { Release(); }

    bool Holds(int n, int m, const double* x) const
    {
        return X && rows == n && cols == m && std::equal(grid.begin(), grid.end(), x);
    }

    bool Build(int n, int m, const double* x)
    {
        Release();
        X = gsl_matrix_alloc(size_t(n), size_t(m));
        Y = gsl_vector_alloc(size_t(n));
        C = gsl_vector_alloc(size_t(m));
        work = gsl_multifit_linear_alloc(size_t(n), size_t(m));
        if (!X || !Y || !C || !work) {
            Release();
            return false;
        }
        // The powers by repeated multiplication, as the fit of this program
        // forms them.
        for (int i = 0; i < n; ++i) {
            double v = 1.0;
            for (int j = 0; j < m; ++j) {
                gsl_matrix_set(X, size_t(i), size_t(j), v);
                v *= x[i];
            }
        }
        if (gsl_multifit_linear_bsvd(X, work) != GSL_SUCCESS) {
            Release();
            return false;
        }
        rows = n;
        cols = m;
        grid.assign(x, x + n);
        return true;
    }

    bool Fit(const double* y, double* c)
    {
        for (int i = 0; i < rows; ++i)
            gsl_vector_set(Y, size_t(i), y[i]);
        double rnorm = 0, snorm = 0;
        if (gsl_multifit_linear_solve(0.0, X, Y, C, &rnorm, &snorm, work) != GSL_SUCCESS)
            return false;
        for (int j = 0; j < cols; ++j) {
            c[j] = gsl_vector_get(C, size_t(j));
            if (!std::isfinite(c[j]))
                return false;
        }
        return true;
    }

private:
    void Release()
    {
        gsl_multifit_linear_free(work);
        gsl_vector_free(C);
        gsl_vector_free(Y);
        gsl_matrix_free(X);
        work = nullptr;
        C = Y = nullptr;
        X = nullptr;
        rows = cols = 0;
        grid.clear();
    }

    gsl_matrix* X = nullptr;
    gsl_vector* Y = nullptr;
    gsl_vector* C = nullptr;
    gsl_multifit_linear_workspace* work = nullptr;
    int rows = 0, cols = 0;
    std::vector<double> grid;
};
} // namespace

bool Poly_Fit(int n, int m, const double* x, double* y)
{
    Gsl_Errors_Off();
    if (m < 1 || m > n)
        return false;
    // The preparation fits one degree, every iteration another, on the
    // same grid: a basis for each.
    thread_local FitBasis bases[2];
    thread_local int older = 0;
    FitBasis* basis = nullptr;
    for (FitBasis& b : bases)
        if (b.Holds(n, m, x))
            basis = &b;
    if (!basis) {
        basis = &bases[older];
        older = 1 - older;
        if (!basis->Build(n, m, x))
            return false;
    }
    std::vector<double> c(size_t(m), 0.0);
    if (!basis || !basis->Fit(y, c.data()))
        return false;
    for (int i = 0; i < n; ++i)
        y[i] = gsl_poly_eval(c.data(), m, x[i]);
    return true;
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
//
// One analysis builds splines of a few sizes, the resampled outline's of
// some thousand points among them, again and again: the spline, its
// accelerator and the values are kept per size and per thread and built
// anew in place. Allocated and freed each time, their tens of kilobytes
// made the heap grow and shrink at every call, and a good part of an
// analysis was the system faulting the same pages in again.
class SplineWorkspace
{
public:
    SplineWorkspace() = default;
    SplineWorkspace(const SplineWorkspace&) = delete;
    SplineWorkspace& operator=(const SplineWorkspace&) = delete;
    ~SplineWorkspace()
    {
        gsl_spline_free(spline);
        gsl_interp_accel_free(acc);
    }
    bool Ready(int n, int m)
    {
        if (!acc)
            acc = gsl_interp_accel_alloc();
        if (!spline || size != n) {
            gsl_spline_free(spline);
            spline = gsl_spline_alloc(gsl_interp_cspline, size_t(n));
            size = spline ? n : 0;
        }
        if (acc)
            gsl_interp_accel_reset(acc);
        values.resize(size_t(m));
        return acc && spline;
    }
    gsl_interp_accel* acc = nullptr;
    gsl_spline* spline = nullptr;
    std::vector<double> values;

private:
    int size = 0;
};

bool Spline_At_Steps(int n, const double* x, const double* y, int m, double step, double* out)
{
    Gsl_Errors_Off();
    if (n < 3)
        return false;
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || (i > 0 && !(x[i] > x[i - 1])))
            return false;
    // A few sizes are in use (the resampled outline, the mapped contour);
    // an odd one now and then must not make the table grow for ever.
    thread_local std::map<int, SplineWorkspace> bySize;
    if (bySize.size() > 4 && bySize.find(n) == bySize.end())
        bySize.clear();
    SplineWorkspace& work = bySize[n];
    if (!work.Ready(n, m))
        return false;
    bool ok = gsl_spline_init(work.spline, x, y, n) == GSL_SUCCESS;
    for (int j = 0; ok && j < m; ++j) {
        // The last uniform angle may round past the table's end.
        const double at = std::clamp(j * 2.0 * M_PI / step, x[0], x[n - 1]);
        ok = gsl_spline_eval_e(work.spline, at, work.acc, &work.values[size_t(j)]) == GSL_SUCCESS;
    }
    if (ok)
        std::copy(work.values.begin(), work.values.begin() + m, out);
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

namespace {
// f_value at every k = 0..n-1 for one or two series: the same operations
// per angle as the series' value at one angle (cos and sin of i t by turning
// on from the previous term, afresh every 64 terms), taken term by term for
// all angles together so that the compiler can work on several angles at
// once. Thousands of terms at a hundred angles were the largest part of the
// smoothing; the series of an outline's two coordinates share the angles,
// and so the turning on.
template <int Sets>
void Series_At_Angles(int n, int m, const double* const* a, const double* const* b, double* const* out)
{
    if (n < 1)
        return;
    std::vector<double> t(n), c1(n), s1(n), c(n, 1.0), s(n, 0.0), v(static_cast<size_t>(Sets * n));
    for (int k = 0; k < n; ++k) {
        t[k] = 2.0 * M_PI * k / (n - 1);
        c1[k] = std::cos(t[k]);
        s1[k] = std::sin(t[k]);
        for (int set = 0; set < Sets; ++set)
            v[size_t(set * n + k)] = a[set][0] / 2.0;
    }
    for (int i = 1; i < m; ++i) {
        if (i % 64 == 0) {
            for (int k = 0; k < n; ++k) {
                c[k] = std::cos(i * t[k]);
                s[k] = std::sin(i * t[k]);
            }
        } else {
            for (int k = 0; k < n; ++k) {
                const double next = c[k] * c1[k] - s[k] * s1[k];
                s[k] = s[k] * c1[k] + c[k] * s1[k];
                c[k] = next;
            }
        }
        for (int set = 0; set < Sets; ++set) {
            const double ai = a[set][i], bi = b[set][i];
            double* w = v.data() + size_t(set * n);
            for (int k = 0; k < n; ++k) {
                w[k] += ai * c[k];
                w[k] += bi * s[k];
            }
        }
    }
    for (int set = 0; set < Sets; ++set)
        std::copy(v.begin() + set * n, v.begin() + (set + 1) * n, out[set]);
}
} // namespace

bool Fourier_Proc(int n, int m, const double* y, double* out, double* a, double* b)
{
    if (m < 1 || !Is_Power_Of_Two(2 * m))
        return false;
    fft_test(2 * m, y, a, b);
    Series_At_Angles<1>(n, m, &a, &b, &out);
    return true;
}

bool Fourier_Proc_XY(int n, int m, const double* x, const double* y, double* outX, double* outY)
{
    if (m < 1 || !Is_Power_Of_Two(2 * m))
        return false;
    const size_t h = static_cast<size_t>(m);
    std::vector<double> ax(h), bx(h), ay(h), by(h);
    fft_test(2 * m, x, ax.data(), bx.data());
    fft_test(2 * m, y, ay.data(), by.data());
    const double* a[2] = {ax.data(), ay.data()};
    const double* b[2] = {bx.data(), by.data()};
    double* out[2] = {outX, outY};
    Series_At_Angles<2>(n, m, a, b, out);
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

namespace {
// The sums of the terms k0..k0 + count - 1 (count <= 4) side by side: each
// term's sums run over j in order, as one term alone would take them, and
// the four terms' chains of additions overlap.
void Period_Terms(int period, const double* y, const double* c, const double* s, int k0, int count,
                  double* a, double* b)
{
    double sa[4] = {}, sb[4] = {};
    int inc[4] = {}, m[4] = {};
    for (int q = 0; q < 4; ++q)
        inc[q] = (k0 + std::min(q, count - 1)) % period;
    for (int j = 0; j < period; ++j) {
        for (int q = 0; q < 4; ++q) {
            sa[q] += y[j] * c[m[q]];
            sb[q] += y[j] * s[m[q]];
            m[q] += inc[q];
            if (m[q] >= period)
                m[q] -= period;
        }
    }
    for (int q = 0; q < count; ++q) {
        a[k0 + q] = 2.0 * sa[q] / period;
        b[k0 + q] = 2.0 * sb[q] / period;
    }
}
} // namespace

void Period_Coefficients(int period, const double* y, int h, double* a, double* b)
{
    if (period < 1 || h < 1)
        return;
    // j k is taken modulo the period, so one table of angles serves every
    // term. The mapping takes the coefficients over the same period at
    // every iteration: the table is kept (per thread) for the last period.
    thread_local int tablePeriod = 0;
    thread_local std::vector<double> c, s;
    if (tablePeriod != period) {
        c.resize(size_t(period));
        s.resize(size_t(period));
        for (int m = 0; m < period; ++m) {
            c[size_t(m)] = std::cos(2.0 * M_PI * m / period);
            s[size_t(m)] = std::sin(2.0 * M_PI * m / period);
        }
        tablePeriod = period;
    }
    for (int k = 0; k < h; k += 4)
        Period_Terms(period, y, c.data(), s.data(), k, std::min(4, h - k), a, b);
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
