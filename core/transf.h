#pragma once

// Plane and space geometry helpers shared by every part of the program and by
// the companion programs. No state; Qt value types in, values out.
// Angles are radians unless stated. Intervals [a, b] are inclusive and accept
// their bounds in either order.

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QVector3D>

// --- Distances ------------------------------------------------------------
double norma2(double x, double y);
double norma3(double x, double y, double z);
double Dist2(QPointF A, QPointF B);
double Dist3(QVector3D A, QVector3D B);          // float difference, as double
double intDist2(QPoint A, QPoint B);
double Screen_Dist(double a, double b, double c); // b * a / c

// --- Mirror images and rotations ----------------------------------------
QVector3D p_SymY(QVector3D p);                    // (x, -y, z)
QPointF Sym_YX(QPointF p);                        // (-y, -x)
QPolygonF polygon_Sym_YX(const QPolygonF* poly);  // Sym_YX of every point
// P turned counter-clockwise by a about (cx, cy).
QPointF RotFix(double a, double cx, double cy, QPointF P);
// The same turn with the centre given as a point (spline editor's form).
QPointF RotFixP(double a, QPointF C, QPointF P);
// The same again under the name the glide simulator uses.
inline QPointF rotLine(double a, QPointF C, QPointF P) { return RotFixP(a, C, P); }

// --- Centres -------------------------------------------------------------
QPointF Center3pnt(QPointF P1, QPointF P2, QPointF P3);
QPointF Center4pnt(QPointF P1, QPointF P2, QPointF P3, QPointF P4);
QPointF CenterPoly(const QPolygonF* poly);        // (0, 0) when empty
QPointF Geometric_center(QPolygonF poly);         // (0, 0) when empty

// --- Range tests and clamps -----------------------------------------------
int between(int a, int b, int x);                 // x clamped into [a, b]
bool is_between(int a, int b, int x);
double dou_between(double a, double b, double x); // x clamped into [a, b]
// Both bounds truncated toward zero first: (0.2, 0.8) accepts only 0.
bool is_dou_between(double a, double b, double x);
// Bounds taken as they are (spline editor's form).
bool is_dbetween(double a, double b, double x);
double Sign(double x);                            // 1 for x >= 0, else -1

// --- Orientation, intersection, nearest vertex ----------------------------
// Twice the signed area of P1 P2 P3 (positive counter-clockwise).
double Otriangle(QPointF P1, QPointF P2, QPointF P3);
// Intersection of the lines P1P2 and P3P4 written to out (when not null).
// True only when the lines meet outside at least one of the two segments;
// false for a crossing within both segments and for parallel lines.
bool IntersectLines(QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF* out);
// Nearest vertex (ties go to the later vertex); P itself when none is found.
QPointF NearestPoint(const QPolygonF* poly, QPointF P);
// Index of that vertex; 0 when none is found.
int FindPolyIndex(const QPolygonF* poly, QPointF P);

// --- Pattern primitives -----------------------------------------------------
// P0 moved by d along the left normal of P0 -> P1.
QPointF uberLeft(double d, QPointF P0, QPointF P1);
// P1 moved by d along the same normal.
QPointF uberRight(double d, QPointF P0, QPointF P1);
// Third vertex of a triangle laid flat to the left of P0 -> P1 with edge
// lengths a = P0P1, b = P1Q, c = P0Q. A flat triangle puts Q on the line
// P0 P1; sides that cannot close give the nearest such point.
QPointF unfold_Pnt(QPointF P0, QPointF P1, double a, double b, double c);

// --- Section reversal -------------------------------------------------------
// Vertices min(a, b) .. max(a, b) (limited to the last index) in reverse order.
// Negative indexes count as 0.
QPolygonF reversePolyF(QPolygonF poly, int a, int b);
QList<QVector3D> reversePoly3D(QList<QVector3D> poly, int a, int b);

// --- UV mapping of the rib-trimming curves -------------------------------
double fmap_U(double a, double b);                // b / a, 0 when a is 0
double fmap_V(const QPointF* seg, QPointF P);     // |P S0| / |S1 S0| in [0, 1]

// --- Labels and rounding ----------------------------------------------------
QString LineLetter(int row);                      // "O1" .. "G", else "br"
QString GrupLineLetter(int group);                // "L1".."L4", "L-brakes", " ? "
// Length in metres rounded to 5 mm: millimetre digit 0-2 down, 3-7 to 5 mm,
// 8-9 up to the next centimetre.
double RouCm(double x);

// --- Rib spacing along the span -----------------------------------------
// Spread the half span `total` over the cells: a share p percent in
// proportion to in[], the rest equally. Both write out[0..n].
void RecCenterCell(int n, double p, double total, double* out, const double* in);
void RecCenterRib(int n, double p, double total, double* out, const double* in);
// Moves ribs 1 .. n - 1 by their shift percentages toward a neighbour and
// recomputes width[1 .. n - 1] from the positions. The last rib n stays.
void ApplyRibShift(int n, const double* shift, double* pos, double* width);
