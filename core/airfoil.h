#pragma once

// The airfoil library: reading airfoil coordinate files, and the geometry
// that turns a contour read from a file into the standard airfoil of 1000
// points (trailing edge, upper side, nose, lower side, back to the trailing
// edge). No widgets: the companion programs link the readers too.

#include <QPointF>
#include <QPolygonF>
#include <QString>

// Which program's copy of the readers runs. The copies differ in two points
// only: the plain two-column reader parses in double precision in the main
// program and in single precision in the companions, and the layout scan of
// the flow analyser takes a first number of exactly 0 in the first lines as
// a plain number (the others treat it as a leading-edge line).
enum class AirfoilReader { Main, Aerolyx, Splinora };

// Capacity of the symmetric and the three-column reader, in data lines.
constexpr int kReaderLineCapacity = 1000;

// Reads an airfoil coordinate file in any of the three layouts (plain
// two-column table, half contour of a symmetric airfoil, three-column
// table); the layout is chosen from the first three data lines. Returns the
// raw contour in file units, or an empty polygon when the path is empty, the
// file cannot be opened or no layout matches; why then receives the reason,
// for the user. A file that lists the two sides separately from the leading
// edge, after a line with their point counts, is such a file: no layout
// reads it as it is meant.
QPolygonF Read_All_AirfoilTypes(const QString& path, AirfoilReader variant = AirfoilReader::Main,
                                QString* why = nullptr);

// The companions' name for the same reader; they pass their own variant.
inline QPolygonF airfoil_Read_All(const QString& path, AirfoilReader variant)
{
    return Read_All_AirfoilTypes(path, variant);
}

// The three layout readers (they read the file again from the start).
QPolygonF Read_Symetric(const QString& path);
QPolygonF Read_Normal(const QString& path, AirfoilReader variant = AirfoilReader::Main);
QPolygonF Read_Eppler(const QString& path);

// Line cleaning: tabs become blanks, decimal commas become points, stray
// punctuation goes, and the line is trimmed.
QString clean(const QString& line);

// True when any character is a letter.
bool isLatString(const QString& s);

// Splits a cleaned line into at most three number strings (fields[0..2]);
// numbers beyond the third are ignored.
void FindNumericSubStrings(const QString& line, QString* fields);

// Gives a number written without the zero before its point that zero
// (".5" -> "0.5", "-.25" -> "-0.25").
QString Repair_NumString(const QString& s);

// Twice the signed area of the open polyline (no closing edge), summed in
// single precision; positive for a counter-clockwise contour.
double PolygonSquare(const QPolygonF& p);

// Number of points of the standard airfoil.
constexpr int kStandardFoilPoints = 1000;

// Resamples the contour to n points with natural cubic splines of x and y
// over the point index; samples at j / n of the index range (the last input
// point is not among them). Empty for n <= 0 and for fewer than three input
// points.
QPolygonF Interpolated_poly(int n, QPolygonF* p);

// Scales the contour to unit chord (its x extent) and moves the midpoint of
// its first and last point to (1, 0). Empty for an empty or zero-chord
// contour.
QPolygonF Normalize_airfoil_2X(QPolygonF* p);

// The contour between two exact trailing-edge points (1, 0), running
// counter-clockwise; its first point and every point at or behind
// x = 0.99999 are left out.
QPolygonF ReWrite_Airfoil(const QPolygonF& p);

// The contour re-spaced evenly along its arc length: first, up to m - 2
// interior points, last, with m = max(256, n / 2) segments.
QPolygonF NaturPntCurve(QPointF first, QPointF last, const QPolygonF& p);

// Interval of an ascending table holding t: the first i in 1 .. n-2 with
// s[i] <= t < s[i+1]; otherwise n - 1 when t lies beyond s[n-2], else 0.
int f_ind(double t, const double* s, int n);

// The standard airfoil of a contour: its first 1000 points. A shorter
// contour is reported to the user and resampled to 1000 points (one of
// fewer than three points cannot be and comes back as it is).
QPolygonF setStandFoil(QPolygonF* p);

// Screen coordinates: (x scale + dx, dy - y scale), in single precision.
QPolygonF prepareAirfoil(const QPolygonF& p, double scale, int dx, int dy);

// The tip airfoil: every y scaled by factor.
QPolygonF Edge_Tip_Airfoil(const QPolygonF& p, double factor);

// " Thickness = <vertical extent in %>  at  <its mean x position in %> %".
QString FindThickness(const QPolygonF& p);

// Length of the polyline from point i1 to point i2 (0 when i1 >= i2).
double FindArcLen(int i1, int i2, const QPolygonF& p);

// Point-by-point blend (1 - w) a + w b; empty when the sizes differ or the
// airfoils are empty.
QPolygonF f_Morph_bychord(double w, QPolygonF* a, QPolygonF* b);

// Blend of a (at position s0) and b (at s1) at position s; empty when s lies
// outside [s0, s1] or the sizes differ.
QPolygonF f_Morph_bydistance(double s0, double s1, double s, QPolygonF* a, QPolygonF* b);

// Index of the leading edge: the smallest x among the indexes n/2 up to
// 3n/4 - 1 (0 when that range is empty).
int get_nose_index(QPolygonF* p);

// The whole import of an airfoil file: read, re-space along the arc,
// resample to 1000 points, normalise and rewrite. Empty when the file gives
// fewer than three points (nothing to import); why then receives the reason,
// for the user.
QPolygonF Import_Airfoil_File(const QString& path, AirfoilReader variant = AirfoilReader::Main,
                              QString* why = nullptr);
