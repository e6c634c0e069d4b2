#pragma once

// Cubic Bezier curves of the wing outlines (plan view: upper curve P0..P3 =
// leading edge 'U', lower curve P4..P7 = trailing edge 'D'; front view: one
// curve), their arc length and its inverse, and the interpolating cubic
// B-spline solver of the graphic design. No state.

#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

// Bernstein polynomial B(i, n) at t and its derivative.
double Bn(int i, int n, double t);
double d_Bn(int i, int n, double t);
// Cubic Bezier of the four coefficients c[0..3] and its derivative.
double spline_value(const double* c, double t);
double spline_d_value(const double* c, double t);
// The x (resp. y) coordinates of four points as coefficients.
void PointToPX(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double* c);
void PointToPY(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double* c);

// Point of the cubic Bezier at t (de Casteljau); P0 for t <= 0, P3 for t >= 1.
QPointF sp4pnt(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t);
// Quadratic Bezier sampled while t <= 1, t growing by repeated addition of
// 1/n: n = 64 gives 65 points ending at P2, n = 20 gives 20 points ending
// before P2. Empty for n <= 0.
QPolygonF Bezier_2D(QPointF P0, QPointF P1, QPointF P2, int n);
// Cubic Bezier sampled in steps of 0.00025: 4001 points, the last just
// before t = 1.
QPolygonF Bezier_FourPoints(QPointF P0, QPointF P1, QPointF P2, QPointF P3);

// Parameter at which the chosen plan-view curve's x equals s (bisection; x
// must rise along the curve).
double Bis_Spline(QPointF P0, QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF P5,
                  QPointF P6, QPointF P7, char side, double s);
// y of the chosen curve at x = s; 1.0 for a side other than 'U' or 'D'.
double Model_UD(QPointF P0, QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF P5,
                QPointF P6, QPointF P7, char side, double s);
// Chord of the plan view at span position s (never negative).
double Model_Width_X(QPointF P0, QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF P5,
                     QPointF P6, QPointF P7, double s);

// Speed |C'(t)| of the cubic Bezier.
double f_Arclen(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t);
// Chord length between the curve points at t0 and t1.
double f_tetiva(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t0, double t1);
// Coarse parameter at which the chord from t0 first exceeds s.
double Fast_Face_Lok(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double t0, double s);
// Parameter at which the arc length from the curve start reaches s,
// continuing from t0 where it was s0.
double Face_Lok(QPointF P0, QPointF P1, QPointF P2, QPointF P3, double s, double t0, double s0);

// Control points of the interpolating cubic B-spline through 4 to 50 data
// points (clamped ends, zero curvature at both ends). Small enough to live on
// the stack.
class Spliners
{
public:
    static constexpr int Capacity = 50;

    // Writes the n + 2 control points to out and returns n + 2; returns 0 and
    // writes nothing for fewer than 4 or more than Capacity points.
    int CubicSpliner2D(int n, const QPointF* in, QPointF* out);
    int CubicSpliner3D(int n, const QVector3D* in, QVector3D* out);

    // Fills the band matrix for n unknowns (nothing outside 4 .. Capacity).
    void Create_Matrix(int n);
    // Solves the matrix with its right-hand side in column n into x[0..n-1]
    // by elimination without pivoting; returns 0.
    int solveLinSystem(int n, double* x);
    void back_substitute(int n, double* x);

    double matrix[Capacity][Capacity + 1] = {};

private:
    // Solves one coordinate: rhs[0..n-1] are the data values.
    void solveCoordinate(int n, const double* rhs, double* x);
    double solution[3][Capacity] = {};
};
