#pragma once

// Labels a chart can be read by: the tick values of an axis chosen from the
// room the axis has (steps of 1, 2 or 5 times a power of ten, as wide apart
// as the widest label needs), and the placing of free labels so that none
// covers another. No widgets: the caller measures its texts (a width per
// text, in the units of the axis length) and draws what is returned.

#include <QColor>
#include <QList>
#include <QPalette>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>

// The smallest step of the form 1, 2 or 5 times a power of ten that is at
// least `minimum`; 0 when minimum is not a positive finite number.
double Nice_Step(double minimum);

// The next larger step of that form: 1 -> 2 -> 5 -> 10.
double Next_Nice_Step(double step);

// Decimals that write every multiple of the step exactly: 0 for steps of 1
// and more, 1 for 0.5, 0.2, 0.1, 2 for 0.05 .. 0.01, ...
int Step_Decimals(double step);

// The text of a tick value with the given decimals; never "-0".
QString Tick_Text(double value, int decimals);

struct AxisTicks
{
    double step = 0;      // 0: no tick fits (or the range is empty)
    int decimals = 0;
    QList<double> values; // multiples of step in [lo, hi], ascending
    QStringList texts;    // values written with decimals
};

// Ticks for the range [lo, hi] drawn over `length` (pixels): the smallest
// nice step at which neighbouring labels stand at least their own extent
// plus `gap` apart. `extent` gives a label's extent along the axis (its
// width on a horizontal axis, the font's height on a vertical one); by
// default every label counts as `gap` wide. At most `maxTicks` ticks.
AxisTicks Axis_Ticks(double lo, double hi, double length, double gap,
                     const std::function<double(const QString&)>& extent = {}, int maxTicks = 50);

// Free labels placed one by one, in list order: each at its wanted
// rectangle, or else moved by the first of `moves` at which it overlaps no
// label placed before it (nor leaves `bounds`, when bounds is valid). A move
// (mx, my) shifts a label by mx times its own width and my times its own
// height. A label that finds no such place is left out: its rectangle comes
// back null.
// Labels also keep off the `obstacles` (the marks of a drawing).
QList<QRectF> Place_Labels(const QList<QRectF>& wanted, const QList<QPointF>& moves,
                           const QRectF& bounds = QRectF(), const QList<QRectF>& obstacles = {});

// The same for labels whose places are not one shape moved about (labels
// along the lines of a drawing): each label takes the first of its own
// candidate rectangles that overlaps no label placed before it, no obstacle,
// and that `refused` (when given: the label's index and the rectangle) does
// not turn down. A label none of whose candidates fits comes back null.
QList<QRectF> Place_Labels_Among(const QList<QList<QRectF>>& candidates, const QList<QRectF>& obstacles = {},
                                 const std::function<bool(int, const QRectF&)>& refused = {});

// Moves that try a label below and above its place by one to `steps` times
// its height, then beside it by one width.
QList<QPointF> Label_Moves(int steps = 3);

// True when any two of the non-null rectangles overlap.
bool Labels_Overlap(const QList<QRectF>& rects);

// Contrast of text and ground, as the accessibility guidelines measure it:
// the relative luminance of an sRGB colour (0 black .. 1 white), and the
// ratio (L1 + 0.05) / (L2 + 0.05) of the lighter to the darker, from 1 (no
// contrast) to 21 (black on white). Body text wants 4.5 or more.
double Relative_Luminance(const QColor& c);
double Contrast_Ratio(const QColor& a, const QColor& b);

// Black or white, whichever reads better on the ground.
QColor Readable_Text_Colour(const QColor& ground);

// The palette with its disabled texts made readable: where a disabled text
// colour (button text on button, window text on window, text on base) has
// less than `minimum` contrast with its ground, it is moved toward black or
// white until it has; it stays below the active text's contrast, so that
// disabled still looks disabled. Other colours are kept.
QPalette Readable_Disabled_Palette(QPalette palette, double minimum = 3.0);
