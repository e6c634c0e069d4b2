#pragma once

// What the pressure view of the analysis draws, built without a GL context:
// the 30-step colour scale of the pressure coefficient, the panels of the
// solver results with their colours for one case, and the view's camera
// arithmetic. The widget (aero/ui/glapamewidget.h) only draws these lists.

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector3D>

#include "core/viewcamera.h"

#include <functional>

class ApameRes;
struct ArrDouble;

namespace pressureview {

constexpr int kScaleSteps = 30;    // values of the colour scale
constexpr int kTopIndex = 30;      // colour index divisor: 0 red .. 30 blue
constexpr double kScaleLow = -1.5; // lowest value of the scale (the solver's clamp)
constexpr double kScaleHigh = 1.0; // stagnation
constexpr double kStartScale = 0.45;
constexpr int kStartSizeExponent = 7;

// The scale after a wheel turn of `delta` eighths of a degree: times
// 2^(delta / 960), kept within 0.5 .. 2/3.
double Wheel_Scale(double scale, int delta);
// Factor from solver metres to drawing units: 0.0005 x 2^(exponent + 1).
double Model_Factor(int sizeExponent);

// The square viewport of a w x h view, three times its smaller side,
// centred across and lowered so that the wing sits in the upper part.
struct Viewport {
    QRect rect;          // x, y from the lower left corner, as GL takes them
    double yTranslation; // vertical offset of the scene that goes with it
};
Viewport Pressure_Viewport(int w, int h);

// The view starts from the front and above: straight from the front the
// panels of the upper and lower side stand edge-on and show no pressure, so
// the face view is tilted this much (30 degrees, in sixteenths) down onto
// the upper side, where a gliding wing's pressure varies most.
constexpr int kStartTilt = 480;
// Sets the camera's turns to the start view.
void Start_Turns(ViewCamera* camera);

} // namespace pressureview

// Stores n values evenly from lo to hi into table[0 .. n-1].
void LegendColors(double* table, int n, double lo, double hi);

// The colour index (1 .. 30, 30 for the lowest value) of the scale entry
// nearest v among table[0 .. n-1] (the first of equally near entries); 30
// when n < 1 or nothing is nearer than 1 000 000.
int indexColorOfValue(int n, double v, const double* table);

// The channels of colour index i: a quadratic blend of red, a strong green
// and blue, green capped at 255. The divisor is 30 whatever n is.
int Index_iRed(int n, int i);
int Index_iGreen(int n, int i);
int Index_iBlue(int n, int i);
QColor Index_Color(int i);

// The x of the quadratic blend of a, b and c at t, truncated:
// (1-t)^2 a.x + 2t(1-t) b.x + t^2 c.x.
int calcX(QPointF a, QPointF b, QPointF c, double t);

// The colour index of band k (0 at the top) of the legend: the colour of
// the value written beside it, so that legend and panels agree.
int Legend_Band_Index(int band);

// The colour legend as drawn in a view of the given size: the kScaleSteps
// bands from the highest value (top) down, each a whole number of pixels
// high, and labels at round values of the scale, centred where the value
// lies on it. As many labels as stand a text height plus a gap apart (the
// nice-number step of the scale for that room); each in black or white,
// whichever reads better on the bands behind it, on a plate of the other
// where neither reads on all of them. `textWidth` measures a label; labels
// start `margin` pixels from the left.
struct LegendBand {
    QRect rect;
    QColor colour;
};
struct LegendLabel {
    QRectF box;
    QString text;
    QColor colour;
    QColor plate; // invalid: none
};
struct LegendScene {
    QList<LegendBand> bands;
    QList<LegendLabel> labels;
};
LegendScene Legend_Scene(const double* values, int n, QSize size, double textHeight,
                         const std::function<double(const QString&)>& textWidth, double margin = 2);

// Whether panel `id` of a mesh with last station n lies in strip `strip`,
// leaving out the strip's closing panel at station n; false for n < 1.
bool thisPanel(int n, int id, int strip);

// out[0] the smallest and out[1] the largest value of case k over the
// entries 1 .. size-2 (the first and the last left out); (1e12, -1e12) for
// fewer than 3 entries or a case the entries do not hold.
void ListMaxVal(int k, const QList<ArrDouble>& list, double* out);

// Where v lies in range[0] .. range[1], as a fraction; 0 when the width of
// the range truncated to a whole number is 0.
double Y_Val(double v, const double* range);

// A line from a to b with a head: yellow a to b, then red from b back a
// quarter of the way.
struct ColoredSegment {
    QVector3D from;
    QVector3D to;
    QColor color;
};
QList<ColoredSegment> Arrow_Segments(QVector3D a, QVector3D b);

// One panel of the pressure view, in drawing units (solver metres times the
// model factor, z turned back into the design frame).
struct PressurePanel {
    int id = 0;          // panel number
    int cornerCount = 4; // 4 or 3
    QVector3D corners[4];
    QVector3D normal;
    QColor color;
    // The spanwise edges (the chordwise stations along the span) in a
    // darker shade of the panel's own colour: where the stations crowd, seen
    // from afar or at a slant, they keep the pressure's colour instead of
    // turning the wing black.
    QColor edge;
    int colorIndex = -1; // -1: the marker strip or a panel without a value
};

// The surface panels of the results (quadrilaterals and triangles; wake
// panels are not drawn), each coloured by its own pressure coefficient in
// case `caseIndex` through the scale `table`. With J > 0 the panels of
// strip 2 up to station J - 1 are the green marker strip. A panel that
// names a node or has a normal the results do not hold is left out; fewer
// than 5 panels give nothing.
QList<PressurePanel> Pressure_Panel_List(const ApameRes& res, int caseIndex, int J, double modelFactor,
                                         const double* table);
