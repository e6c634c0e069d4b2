#pragma once

#include <QPolygonF>
#include <QString>

#include "apps/splinora/parastruct.h"

class QTextEdit;

namespace splinora {

// The background airfoil of a coordinate file: read with the program's
// reader, then normalised twice. Empty when the file yields no usable points.
QPolygonF airfoil_Read(const QString& fileName);

// Scales the airfoil to unit chord (y multiplied by rot), moves its first
// point to (1, 0) and keeps the points whose x lies in [0, 1]. Empty for an
// empty polygon or one without extent in x.
QPolygonF Normalize_airfoil2(const QPolygonF& poly, int rot);

// St[0]: thickness and its mean chord position, St[1]: positions of the
// highest and the lowest point, all in percent of a unit chord.
void FindThickness(const QPolygonF* foilpoly, QString* St);

} // namespace splinora

namespace splinora {

// --- Airfoil helpers kept for the editor's own use -------------------------

// The file's lines, cleaned and number-repaired like the reader does, each
// followed by a line feed; empty when the file cannot be opened.
QString FoilText_Read(const QString& fileName);

// Points from a text of "x y" lines (at most 22 characters each), then
// normalised to unit chord.
QPolygonF plainTextRead(const QString& mtext);

// One line per point, x and y with six decimals.
void FillPolygon(const QPolygonF& polygon, QTextEdit* mytext);

// The first segment of the airfoil (drawn 40 + 560 x wide) whose x range
// holds n_point's x, running forward for side 'D' and backward otherwise;
// index -1 and (0, 0) when none.
PntStruct NearPoint(const QPolygonF& polygon, QPointF n_point, char c);

// First k in 1..len-2 with s[k] <= t <= s[k+1]; len-1 above, 0 below.
int f_ind(double t, const double* s, int len);

// The first point, N - 1 points at equal arc-length steps, the first again.
QPolygonF Natur_Airfoil(int N, const QPolygonF& poly);

// The same x values with every y 0.
QPolygonF Zero_Airfoil(const QPolygonF& poly);

// Nose (smallest x among 450..549), highest and lowest point of a
// 1000-point airfoil, then the pair list.
void FindNoseTopIndex(ParaStruct* p, const QPolygonF& poly);
int FindUPIndex(int dwindex, const QPolygonF& polygon);
int FindDWIndex(int upindex, const QPolygonF& polygon);
void Create_FoilPairList(const QPolygonF& poly);

// --- Fourier series of an outline at nose-crowded angles -------------------
//
// The samples are taken as equally spaced over one period, as everywhere in
// these programs: for 2n samples y[j] the coefficients are
// a[k] = (1/n) sum y[j] cos(k j pi/n) and b[k] the same with sin, and the
// series is a[0]/2 + sum over k = 1..n-1 of (a[k] cos(k t) + b[k] sin(k t)).
// It is evaluated at the 1000 angles f_theta(k, 1000), which run from 0
// through pi (the nose of an outline traced from its trailing edge) to
// just below 2 pi and lie closest together about pi.

// Pi sqrt(sin(k Pi/N)) up to k = N/2 (halved and truncated), then
// Pi (2 - sqrt(sin((N - k) Pi/N))), with Pi = 3.141592653.
double f_theta(int k, int N);
// The series of the 2n samples in_file evaluated at f_theta(k, 1000),
// k = 0..999, into ou_file; zeros for n < 1.
void Fourier_Proc(int n, const double* in_file, double* ou_file);
// The outline closed (its last point replaced by its first), x and y each
// expanded with half the point count (truncated) as n: 1000 points, crowded
// at the nose. Empty for an empty polygon.
QPolygonF FourierInterpolationAirfoil(const QPolygonF& poly);
// The magnitude of the second derivative (with respect to the angle) of the
// series of the polygon's y values, with half the point count as n, at the
// same 1000 angles into d2_file; each value also goes to the debug output.
void Fourier_Polygon_D2(const QPolygonF& Poly, double* d2_file);

} // namespace splinora
