#include "core/mygsllib.h"

#include "core/geomconst.h"
#include "core/gslsetup.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_fft_real.h>
#include <gsl/gsl_multifit.h>
#include <gsl/gsl_poly.h>
#include <gsl/gsl_spline.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

template <typename T, void (*Free)(T*)>
struct GslDeleter {
    void operator()(T* p) const { Free(p); }
};
using MatrixPtr = std::unique_ptr<gsl_matrix, GslDeleter<gsl_matrix, gsl_matrix_free>>;
using VectorPtr = std::unique_ptr<gsl_vector, GslDeleter<gsl_vector, gsl_vector_free>>;
using WorkspacePtr = std::unique_ptr<gsl_multifit_linear_workspace,
                                     GslDeleter<gsl_multifit_linear_workspace, gsl_multifit_linear_free>>;
using SplinePtr = std::unique_ptr<gsl_spline, GslDeleter<gsl_spline, gsl_spline_free>>;
using AccelPtr = std::unique_ptr<gsl_interp_accel, GslDeleter<gsl_interp_accel, gsl_interp_accel_free>>;

double power(double x, int j, PowerForm form)
{
    if (form == PowerForm::Pow)
        return std::pow(x, j);
    double v = 1.0;
    for (int i = 0; i < j; ++i)
        v *= x;
    return v;
}

// A natural cubic spline through the n points, or null when the table cannot
// carry one (fewer than 3 points, abscissae not strictly rising).
SplinePtr naturalSpline(int n, const double* x, const double* y)
{
    Gsl_Errors_Off();
    if (n < int(gsl_interp_type_min_size(gsl_interp_cspline)))
        return nullptr;
    SplinePtr spline(gsl_spline_alloc(gsl_interp_cspline, size_t(n)));
    if (!spline || gsl_spline_init(spline.get(), x, y, size_t(n)) != GSL_SUCCESS)
        return nullptr;
    return spline;
}

} // namespace

bool gslpolyfit(int n, int m, const double* x, const double* y, double* c, PowerForm form)
{
    Gsl_Errors_Off();
    if (m < 1)
        return false;
    std::fill(c, c + m, 0.0);
    if (n < m)
        return false;

    MatrixPtr X(gsl_matrix_alloc(size_t(n), size_t(m)));
    VectorPtr Y(gsl_vector_alloc(size_t(n)));
    VectorPtr C(gsl_vector_alloc(size_t(m)));
    MatrixPtr cov(gsl_matrix_alloc(size_t(m), size_t(m)));
    WorkspacePtr work(gsl_multifit_linear_alloc(size_t(n), size_t(m)));
    if (!X || !Y || !C || !cov || !work)
        return false;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j)
            gsl_matrix_set(X.get(), size_t(i), size_t(j), power(x[i], j, form));
        gsl_vector_set(Y.get(), size_t(i), y[i]);
    }
    double chisq = 0;
    if (gsl_multifit_linear(X.get(), Y.get(), C.get(), cov.get(), &chisq, work.get()) != GSL_SUCCESS)
        return false;
    for (int j = 0; j < m; ++j) {
        const double v = gsl_vector_get(C.get(), size_t(j));
        if (!std::isfinite(v)) {
            std::fill(c, c + m, 0.0);
            return false;
        }
        c[j] = v;
    }
    return true;
}

bool PolyFit(int n, int m, const double* x, double* y, PowerForm form)
{
    if (m < 1 || m > n)
        return false;
    std::vector<double> c(size_t(m), 0.0);
    if (!gslpolyfit(n, m, x, y, c.data(), form))
        return false;
    for (int i = 0; i < n; ++i)
        y[i] = gsl_poly_eval(c.data(), m, x[i]);
    return true;
}

bool interpol_Cubic(int n, int m, const double* x, double* y)
{
    if (m < 1)
        return false;
    SplinePtr spline = naturalSpline(n, x, y); // keeps its own copy of the table
    AccelPtr acc(gsl_interp_accel_alloc());
    if (!spline || !acc)
        return false;
    const double step = x[n - 1] / m;
    std::vector<double> out(static_cast<size_t>(m));
    for (int i = 0; i < m; ++i) {
        const double v = std::clamp(i * step, x[0], x[n - 1]);
        if (gsl_spline_eval_e(spline.get(), v, acc.get(), &out[size_t(i)]) != GSL_SUCCESS)
            return false;
    }
    std::copy(out.begin(), out.end(), y);
    return true;
}

double interpTable13(int n, const double* x, const double* y, double v)
{
    SplinePtr spline = naturalSpline(n, x, y);
    AccelPtr acc(gsl_interp_accel_alloc());
    if (!spline || !acc || std::isnan(v))
        return 0.0;
    double out = 0.0;
    if (gsl_spline_eval_e(spline.get(), std::clamp(v, x[0], x[n - 1]), acc.get(), &out) != GSL_SUCCESS)
        return 0.0;
    return out;
}

bool fft_test(int n, const double* in, double* a, double* b)
{
    Gsl_Errors_Off();
    if (n < 1)
        return false;
    const int half = n / 2;
    std::fill(a, a + half, 0.0);
    std::fill(b, b + half, 0.0);
    if ((n & (n - 1)) != 0)
        return false;
    std::vector<double> data(in, in + n);
    if (gsl_fft_real_radix2_transform(data.data(), 1, size_t(n)) != GSL_SUCCESS)
        return false;
    // Half-complex layout: data[k] = Re(X_k) for k <= n / 2, data[n - k] =
    // Im(X_k) for 0 < k < n / 2. X_0 is real: it has no sine term.
    for (int k = 0; k < half; ++k)
        a[k] = 2.0 * data[size_t(k)] / n;
    for (int k = 1; k < half; ++k)
        b[k] = -2.0 * data[size_t(n - k)] / n;
    return true;
}

double Simpson(int n, double h, const double* f)
{
    if (n < 0)
        return 0.0;
    if (n < 1)
        return (f[0] + f[n]) * h / 3;
    double sum = f[0] + f[n];
    for (int i = 1; i < n; ++i)
        sum += (i % 2 ? 4.0 : 2.0) * f[i];
    return sum * h / 3;
}

void Init_fu_fields(int n, double* a, double* b, double* theta, double* y, const double* src,
                    bool fullPi)
{
    const double pi = fullPi ? wl::FullPi : wl::Pi;
    for (int k = 0; k < n; ++k) {
        a[k] = 0.0;
        b[k] = 0.0;
    }
    for (int i = 0; i < 2 * n; ++i) {
        theta[i] = i * pi / n;
        y[i] = src[i];
    }
}

double fSum_yn_cos(int n, const double* theta, const double* y, int k)
{
    double s = 0.0;
    for (int i = 0; i < 2 * n; ++i)
        s += y[i] * std::cos(k * theta[i]);
    return s;
}

double fSum_yn_sin(int n, const double* theta, const double* y, int k)
{
    double s = 0.0;
    for (int i = 0; i < 2 * n; ++i)
        s += y[i] * std::sin(k * theta[i]);
    return s;
}

void Proc_A_bn(int n, double* a, double* b, const double* theta, const double* y)
{
    if (n < 1) {
        if (n == 0)
            a[0] = 0.0;
        return;
    }
    for (int k = 0; k <= n; ++k)
        a[k] = fSum_yn_cos(n, theta, y, k) / n;
    for (int k = 1; k < n; ++k)
        b[k] = fSum_yn_sin(n, theta, y, k) / n;
}

double f_k_value(int n, const double* a, const double* b, int j)
{
    const double theta = 2 * j * wl::Pi / 1000.0;
    double s = 0.0;
    for (int k = 1; k <= n - 2; ++k)
        s += a[k] * std::cos(k * theta) + b[k] * std::sin(k * theta);
    // The closing term is taken at one fixed angle, the same for every point.
    const double e = n >= 1 ? a[n - 1] * std::cos(2 * n * wl::Pi / 1000.0) : 0.0;
    return s + (a[0] + e) * 0.5;
}

static void fourierSeries(int n, const double* src, double* out, bool cosineOnly)
{
    if (n < 0)
        n = 0;
    std::vector<double> a(size_t(n) + 1, 0.0), b(size_t(n) + 1, 0.0);
    std::vector<double> theta(size_t(2 * n) + 1), y(size_t(2 * n) + 1);
    Init_fu_fields(n, a.data(), b.data(), theta.data(), y.data(), src);
    Proc_A_bn(n, a.data(), b.data(), theta.data(), y.data());
    if (cosineOnly)
        std::fill(b.begin(), b.end(), 0.0);
    for (int j = 0; j < 1000; ++j)
        out[j] = f_k_value(n, a.data(), b.data(), j);
}

void Fourier_Proc(int n, const double* src, double* out)
{
    fourierSeries(n, src, out, false);
}

void Fourier_Cos_Proc(int n, const double* src, double* out)
{
    fourierSeries(n, src, out, true);
}

QPolygonF Fourier_Contour(const QPolygonF& poly, FourierFit fit)
{
    const int N = int(poly.size());
    if (N == 0)
        return QPolygonF();
    if (N == 1) // nothing to fit: the single point stands for the whole contour
        return QPolygonF(1000, poly.first());

    // Scratch sized by the input: any number of points is accepted.
    std::vector<double> x(static_cast<size_t>(N)), y(static_cast<size_t>(N));
    for (int i = 0; i < N - 1; ++i) {
        x[size_t(i)] = poly[i].x();
        y[size_t(i)] = poly[i].y();
    }
    x[size_t(N - 1)] = x[0]; // close the contour
    y[size_t(N - 1)] = y[0];

    std::vector<double> X(1000), Y(1000);
    fit(N / 2, x.data(), X.data());
    fit(N / 2, y.data(), Y.data());
    QPolygonF out;
    out.reserve(1000);
    for (int j = 0; j < 1000; ++j)
        out.append(QPointF(X[size_t(j)], Y[size_t(j)]));
    return out;
}

QPolygonF FourierInterpolationAirfoil(const QPolygonF& poly)
{
    return Fourier_Contour(poly, &Fourier_Proc);
}

double Fourier_Series_Value(int m, const double* a, const double* b, double t, int derivative)
{
    // cos(i t) and sin(i t) by turning on from the previous term: long series
    // at many angles cost a cosine and a sine per term otherwise. Every 64
    // terms the pair is taken afresh, so rounding cannot build up.
    const double c1 = std::cos(t), s1 = std::sin(t);
    double c = 1.0, sn = 0.0;
    double v = derivative == 0 ? a[0] / 2.0 : 0.0;
    for (int i = 1; i < m; ++i) {
        if (i % 64 == 0) {
            c = std::cos(i * t);
            sn = std::sin(i * t);
        } else {
            const double next = c * c1 - sn * s1;
            sn = sn * c1 + c * s1;
            c = next;
        }
        if (derivative == 0) {
            v += a[i] * c;
            v += b[i] * sn;
        } else if (derivative == 1) {
            v += i * (b[i] * c - a[i] * sn);
        } else {
            v -= double(i) * i * (a[i] * c + b[i] * sn);
        }
    }
    return v;
}

bool interpol_Linear(int n, int m, const double* x, double* y)
{
    if (n < 1 || m < 2)
        return false;
    for (int i = 1; i < n; ++i)
        if (x[i] < x[i - 1])
            return false;
    const std::vector<double> v(y, y + n);
    const double last = x[n - 1];
    int k = 0;
    for (int i = 0; i < m; ++i) {
        const double t = i * last / (m - 1);
        while (k < n - 2 && t > x[k + 1])
            ++k;
        if (n == 1 || t <= x[0]) {
            y[i] = v[0];
        } else if (t >= x[n - 1]) {
            y[i] = v[size_t(n - 1)];
        } else {
            const double span = x[k + 1] - x[k];
            y[i] = span > 0 ? v[size_t(k)] + (t - x[k]) / span * (v[size_t(k + 1)] - v[size_t(k)]) : v[size_t(k)];
        }
    }
    return true;
}
