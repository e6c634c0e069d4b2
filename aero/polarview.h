#pragma once

// What the polar window shows, built without widgets: the lines of its text
// table (the "Base Angle Table"), the data of its six charts, and the
// geometry of the chart: which points a chart takes, their extents and the
// best-glide tangent of the speed polar.

#include "aero/polar.h"

#include <QLineF>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class ParaStruct;

// One paragraph of the table; the best row of a gliding polar is marked.
struct PolarTableLine {
    QString text;
    bool best = false;
};

// The table of the polar's rows: head block, headings, one line per row.
// With no rows, `emptyReason` (or, when that is empty, why no sweep value
// was kept) stands where the rows would be.
QList<PolarTableLine> Polar_Table_Lines(const ParaStruct& design, const Polar& polar,
                                        const QString& emptyReason = QString());

// The six charts of the window.
enum class ChartMode { Curve, Finesse, Velocity };

struct PolarChart {
    ChartMode mode = ChartMode::Curve;
    int count = 0; // values of x and y
    const double* x = nullptr;
    const double* y = nullptr;
    QString title, xCaption, yCaption;
    double sx = 1, sy = 1; // factors of the grid labels
    int gx = 10, gy = 10;  // grid divisions
};

namespace polarchart {
constexpr int kDrag = 1;
constexpr int kLift = 2;
constexpr int kGlideOverAlpha = 3;
constexpr int kGlideOverCalage = 4;
constexpr int kMoment = 5;
constexpr int kSpeedPolar = 7;
} // namespace polarchart

// The chart of kind 1, 2, 3, 4, 5 or 7 over the polar's tables (which it
// points into); false for any other kind (no chart).
bool Polar_Chart(const ParaStruct& design, const Polar& polar, int kind, PolarChart* chart);

// The points a chart draws, in chart coordinates (u right, v down): a curve
// or the speed polar leave out the first and the last value (none for n <=
// 2); the glide angle over the calage takes all. Curves store v = -y (larger
// values higher up), the speed polar v = y (more sink lower down).
QPolygonF Chart_Points(ChartMode mode, int n, const double* x, const double* y);
// Decimals of the y labels for gy grid divisions.
int Chart_Y_Decimals(ChartMode mode, int gy);
// Extremes of a polygon (1e6 / -1e6 for an empty one).
void calcMinMax(const QPolygonF& points, double* xMin, double* xMax, double* yMin, double* yMax);
// Index of the point where a line from the origin touches the curve: the i
// (0 .. count-2, u(i) != 0) with the smallest |v(i)/u(i) - slope of segment
// i|, the first of equals; 0 for fewer than 2 points or no candidate.
int opt_Vx_poly(const QPolygonF& points);
// The best-glide text of the speed polar at point (vx, vy).
QString Optimum_Text(QPointF point);

// Where a chart writes its axis captions, its title and its note (the best
// glide of the speed polar), in the chart's pixels: each at the wanted
// rectangle when nothing runs through it, else at the nearest place inside
// `bounds` where neither the curve, nor the tangent, nor an obstacle (the
// grid's values), nor a text placed before it lies. The captions come
// first: the x caption moves along the foot of the chart (or up), the y
// caption, which reads upwards, along the left side (or to the right). The
// title keeps to its line at the top and moves along it (or a line down);
// the note stays near the point it tells of. A text that finds no such
// place stays where it is wanted; a null text is none.
struct ChartTextBoxes {
    QRectF title;
    QRectF note;
    QRectF xCaption;
    QRectF yCaption; // the box of the upright text
};
ChartTextBoxes Place_Chart_Texts(const QRectF& bounds, const QPolygonF& curve, const QLineF& tangent,
                                 const QList<QRectF>& obstacles, const QRectF& title, const QRectF& note,
                                 const QRectF& xCaption = QRectF(), const QRectF& yCaption = QRectF());
