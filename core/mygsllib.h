#pragma once

// Numeric helpers: least-squares polynomial fit, cubic-spline resampling and
// look-up, a real FFT, the Simpson integral and a Fourier-series fit of a
// closed curve sampled at 1000 points. No state; arrays belong to the caller.
// Input the routines cannot handle is refused with the documented result
// instead of aborting.

#include <QPolygonF>

// How the polynomial fit forms the powers x^j of its design matrix: with
// pow() (main program) or by repeated multiplication (flow analyser).
enum class PowerForm { Pow, Multiply };

// Least-squares fit of c[0] + c[1] x + ... + c[m-1] x^(m-1) to the n points.
// Writes c[0..m-1]; for m < 1, n < m or a failed fit all written entries are
// 0 and the result is false.
bool gslpolyfit(int n, int m, const double* x, const double* y, double* c,
                PowerForm form = PowerForm::Pow);

// Replaces y[0..n-1] by the fitted polynomial with m coefficients evaluated
// at x[i]. Leaves y unchanged and returns false when the fit is refused
// (m < 1 or m > n) or fails.
bool PolyFit(int n, int m, const double* x, double* y, PowerForm form = PowerForm::Pow);

// Resamples in place: y[i], i < m, becomes the natural cubic spline through
// the n points (x ascending, x[0] = 0) at i * x[n-1] / m. y must hold
// max(n, m) values. Leaves y unchanged and returns false for fewer than 3
// points, m < 1 or abscissae that do not strictly rise.
bool interpol_Cubic(int n, int m, const double* x, double* y);

// Natural cubic spline through the n points evaluated at v, v clamped into
// [x[0], x[n-1]]. 0 when the table has fewer than 3 points or its abscissae
// do not strictly rise.
double interpTable13(int n, const double* x, const double* y, double v);

// Cosine and sine coefficients of n real samples (n a power of two):
// a[k] = 2 Re(X_k) / n for k < n / 2, b[k] = -2 Im(X_k) / n, b[0] = 0.
// For any other n >= 2 the n / 2 entries of a and b are 0 and the result is
// false.
bool fft_test(int n, const double* in, double* a, double* b);

// Composite Simpson integral of f[0..n] at spacing h; (f[0] + f[n]) h / 3
// for n = 0 and 0 for negative n.
double Simpson(int n, double h, const double* f);

// Fourier series of 2n samples on [0, 2 pi). a and b hold n + 1 values,
// theta and y 2n values. The flow analyser takes pi at full precision.
void Init_fu_fields(int n, double* a, double* b, double* theta, double* y, const double* src,
                    bool fullPi = false);
double fSum_yn_cos(int n, const double* theta, const double* y, int k);
double fSum_yn_sin(int n, const double* theta, const double* y, int k);
void Proc_A_bn(int n, double* a, double* b, const double* theta, const double* y);
// Value of the series at point j of 1000.
double f_k_value(int n, const double* a, const double* b, int j);
// Fit of the 2n samples src, out[0..999] the series at 1000 points.
void Fourier_Proc(int n, const double* src, double* out);
// The same with every sine coefficient 0.
void Fourier_Cos_Proc(int n, const double* src, double* out);

// Closed contour re-sampled at 1000 points through its Fourier series; empty
// for an empty polygon.
QPolygonF FourierInterpolationAirfoil(const QPolygonF& poly);

// A fit of 2n samples into 1000 values, of the form of Fourier_Proc.
using FourierFit = void (*)(int n, const double* src, double* out);
// The contour closed (its last point replaced by its first), x and y each
// expanded by fit with half the point count as n: 1000 points. Empty for an
// empty polygon; a single point stands for the whole contour.
QPolygonF Fourier_Contour(const QPolygonF& poly, FourierFit fit);

// The series a[0]/2 + sum over i = 1..m-1 of (a[i] cos(i t) + b[i] sin(i t)),
// or its first or second derivative with respect to t (derivative 1 or 2);
// a[0]/2 (0 for a derivative) when m < 2.
double Fourier_Series_Value(int m, const double* a, const double* b, double t, int derivative = 0);

// Linear interpolation of y over the n ascending abscissae x, evaluated at
// the m values i x[n-1] / (m-1), i = 0..m-1, written back into y (which must
// hold max(n, m) values). Values before x[0] take y[0]. Leaves y unchanged and
// returns false for n < 1, m < 2 or abscissae that fall.
bool interpol_Linear(int n, int m, const double* x, double* y);
