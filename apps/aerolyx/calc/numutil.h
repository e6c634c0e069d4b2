#pragma once

#include <cmath>
#include <complex>

#include "core/mygsllib.h"

namespace aerolyx {

using Complex = std::complex<double>;

// Complex numbers, by value. Inline: the flow's sums call them at every
// station of every iteration.
inline Complex C_set(double re, double im) { return Complex(re, im); }
// r e^(i a)
inline Complex C_set_P(double r, double a) { return Complex(r * std::cos(a), r * std::sin(a)); }
inline double C_abs(Complex z) { return std::sqrt(z.real() * z.real() + z.imag() * z.imag()); }
inline double C_abs2(Complex z) { return z.real() * z.real() + z.imag() * z.imag(); }
inline Complex C_sum(Complex a, Complex b) { return a + b; }
inline Complex C_sub(Complex a, Complex b) { return a - b; }
inline Complex C_mul(Complex a, Complex b)
{
    return Complex(a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real());
}
// 1/z; the reciprocal of 0 is 0 (the divisor is taken as 1e12 there).
inline Complex C_inv(Complex z)
{
    double d = C_abs2(z);
    if (!(d > 0))
        d = 1e12;
    return Complex(z.real() / d, -z.imag() / d);
}

// The uniform circle angle j 2pi/(m-1) of point j of m.
double Uniform_Angle(int j, int m);

// The shared least-squares polynomial fit, as this program forms it: the
// powers of x by repeated multiplication.
inline bool polyfit(int n, int m, const double* x, const double* y, double* c)
{
    return gslpolyfit(n, m, x, y, c, PowerForm::Multiply);
}
// y replaced by its fit, as PolyFit does. The mapping fits samples on the
// same angles at every iteration: the factorisation of the grid's design
// matrix is kept from one call to the next (per thread) and only the
// samples change; the coefficients are the ones PolyFit finds.
bool Poly_Fit(int n, int m, const double* x, double* y);

// Tables of n entries.
// out[0] = 0, out[i+1] = out[i] + |v[i+1] - v[i]|.
void f_fasc(int n, const double* v, double* out);
// Rescales v by the least and greatest of entries 1..n-1 (entry 0 is rescaled
// but not counted); a table without spread is left as it is.
void normalize_f(int n, double* v);
// Circle angle at which the table v reaches value, searched from segment
// max(i - 20, 0) on by linear interpolation; 0 when no segment holds it.
double G_search(int n, int i, double value, const double* v);
double f_tauHI(int i, const double* u, const double* v, int n);
// The angle correction of the mapping: for every inner point, relax times
// how far its angle must move so that the walked x distance of the map (xm)
// matches that of the contour (xt); step[0] = step[n-1] = 0.
void Calc_dx_Hi(double relax, int n, const double* xt, const double* xm, double* step);

// Natural cubic spline through (x[i], y[i]) (x strictly increasing),
// evaluated at the n uniform angles into out (out may be y). False, with out
// untouched, when the spline cannot be built.
bool interpSpline(int n, const double* x, const double* y, double* out);
// The same spline sampled over one period of a closed outline whose
// parameter runs from 0 to 2pi: at the n angles 2pi j/n, j = 0..n-1 (2pi
// itself is the start again). A Fourier series of n samples then puts each
// sample at its own angle.
bool Spline_Period_Samples(int n, const double* x, const double* y, double* out);

// Fourier series of the 2m samples y (2m a power of two): fills the
// coefficients a[0..m-1], b[0..m-1] and out[k], the series at angle
// 2pi k/(n-1) for k = 0..n-1. False when 2m is not a power of two.
bool Fourier_Proc(int n, int m, const double* y, double* out, double* a, double* b);
// Fourier_Proc of an outline's x and y samples, the two series summed
// together at the same angles.
bool Fourier_Proc_XY(int n, int m, const double* x, const double* y, double* outX, double* outY);
// Value of the series at angle 2pi k/(n-1).
double f_value(int n, int m, const double* a, const double* b, int k);
// Its derivative with respect to the angle there: the sum over i = 1..m-1 of
// i (b[i] cos(i t) - a[i] sin(i t)); 0 when m < 2.
double f_Dvalue(int n, int m, const double* a, const double* b, int k);
// Cosine and sine coefficients a[0..m-1], b[0..m-1] of the 2m samples y by
// the real FFT; false, with the coefficients 0, when 2m is not a power of two.
bool F_coef(int m, const double* y, double* a, double* b);
// The cosine part of the series of the 2m samples y (the camber line of an
// outline traced from the trailing edge around the nose), at n angles.
void Fourier_Skeleton(int n, int m, const double* y, double* out);
// Coefficients of the samples y[0..period-1] of one period, taken as equally
// spaced over it: a[k] = (2/period) sum y[j] cos(2pi jk/period) and b[k] the
// same with sin, for k = 0..h-1.
void Period_Coefficients(int period, const double* y, int h, double* a, double* b);
// Rescales t linearly so that its smallest entry is 0 and its largest 1; a
// table without spread is left as it is.
void Normalize_Table(int n, double* t);

} // namespace aerolyx
