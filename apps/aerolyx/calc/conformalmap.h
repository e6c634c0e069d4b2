#pragma once

#include "apps/aerolyx/calc/analysisrecord.h"
#include "apps/aerolyx/calc/numutil.h"

#include <QPointF>
#include <QPolygonF>

#include <vector>

namespace aerolyx {

// Preparation and iteration of the map from the exterior of the unit circle
// onto the exterior of the airfoil. The map is a Laurent series with
// kMapCoefs coefficients; zeta = 1 goes to the trailing edge.

// Turns foil into the zero position and initialises every table of the
// record; nothing for an empty foil or one with more than kFoilPoints points.
void PrepareRotateAirfoil(myData* data, const QPolygonF& foil);
// foil turned about (1, 0) so that its zero-lift line (NON_Lift_Angle) lies
// along the x axis; the turn is added to foilTurn.
QPolygonF RotateFoilToZeroPosition(myData* data, const QPolygonF& foil);
// foil with every point turned by angle about (1, 0); the record is not used.
QPolygonF RotateFoilPoly(const myData* data, const QPolygonF& foil, double angle);
// The angle that turns the mean of the points onto y = 0 through (1, 0).
double Find_Tau(int n, const double* x, const double* y);
// Zero-lift angle (radians) of a closed contour whose last point repeats the
// first, from the camber part of its y coordinates.
double NON_Lift_Angle(const QPolygonF& foil);

// One iteration with relaxation relax; returns the norm of the angle
// correction. When the corrected angles would no longer increase, or the
// contour cannot be interpolated, the record keeps the map of this call's
// start angles, theta is not changed and the result is not a number.
double PerformIterations(myData* data, double relax, int n);
// Applies the correction: ramps thetaStep to zero over the first and last
// 5 % of the points, then moves theta[1..n-2] by 0.8 thetaStep and pins
// theta[0] = 0 and theta[n-1] = 2 pi. False, with theta unchanged, when the
// corrected angles would stop increasing.
bool Suma_Theta_Hi(int n, double* theta, double* thetaStep);
// The map whose unit-circle image has exactly the n y values.
void ConformalMappings(myData* data, int n, const double* y);

// The map and its derivative at circle points.
QPointF f_conform(const myData* data, int m, double r, double phi, double x0, double y0,
                  double lambda, const double* A, const double* B);
QPointF z_conform(const myData* data, int m, QPointF p, double x0, double y0, double lambda,
                  const double* A, const double* B);
Complex Df_conform(const myData* data, int m, double r, double phi, double lambda,
                   const double* A, const double* B);
// Real and imaginary part of the unturned map.
double fin2_X(int m, double r, double phi, double lambda, double x0, const double* A, const double* B);
double fin2_Y(int m, double r, double phi, double lambda, double y0, const double* A, const double* B);
// cos(k phi) and sin(k phi), k = 1..terms, at fixed circle angles, exactly as
// the map's sums at one angle turn them on from term to term, stored term by
// term. The mapping and the flow evaluate the map at the same stations of
// the unit circle again and again: their harmonics are taken once, and a sum
// over the terms then runs over all stations together.
class CircleHarmonics {
public:
    CircleHarmonics(const std::vector<double>& angles, int terms);
    int Count() const { return count; }
    int Terms() const { return terms; }
    const double* Cos(int k) const { return table.data() + size_t(2 * (k - 1)) * size_t(count); }
    const double* Sin(int k) const { return Cos(k) + count; }

private:
    int count = 0, terms = 0;
    std::vector<double> table;
};
// The harmonics of the n uniform circle angles Uniform_Angle(j, n), terms
// 1..n/2; made once per thread and n.
const CircleHarmonics& Uniform_Harmonics(int n);
// fin2_X and fin2_Y with m coefficients on the unit circle at every angle of
// the table (which must hold m - 1 terms), into x and y.
void Map_Unit_Circle(const CircleHarmonics& at, int m, double lambda, double x0, double y0,
                     const double* A, const double* B, double* x, double* y);
// Df_conform with m coefficients on the unit circle at every angle of the
// table (which must hold m terms), into dz.
void Df_Unit_Circle(const myData* data, const CircleHarmonics& at, int m, double lambda,
                    const double* A, const double* B, Complex* dz);

// The 128 images of the circle points of radius r at k 2pi/127.
QPolygonF Main_Conform_Polygon(const myData* data, int m, double r, double x0, double y0,
                               double lambda, const double* A, const double* B);
// The points (j 2pi/(n-1), t[j]/scale).
QPolygonF Table_to_Polygon(int n, const double* t, double scale);

// Fourier sums on the coefficients a, b of the y samples (h coefficients).
double fvalX(int h, const double* a, const double* b, double x0, double lambda, double theta);
double f2valX(int h, const double* a, const double* b, double theta);
double f_lambda(int h, const double* a, const double* b, double theta);
double minNoseTheta(int h, const double* a, const double* b, double lambda, double x0, double theta);
double f_Theta_LE(int h, const double* a, const double* b);

} // namespace aerolyx
