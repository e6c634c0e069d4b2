#pragma once

// What the two tree editors (the line-group editor and the riser editor)
// share: the view of the 1024 x 768 scene (pan and zoom), the hit tests on
// nodes and line handles, the angle labels at branching nodes, and the
// number dialogs for line lengths and diameters. No state of the editors.

#include <QColor>
#include <QFont>
#include <QList>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QVector3D>

#include <optional>

#include "core/bridledata.h"

class ParaStruct;
class QPainter;
class QWidget;

// The view: the scene shown translated by the pan offset and scaled by the zoom.
struct TreeView {
    QPointF pan;        // pixels
    double zoom = 1.0;

    // The scene point a widget point stands for: (w - pan) / zoom, the pan
    // taken to whole pixels, each coordinate rounded to the nearest integer
    // with halves upward.
    QPoint toScene(QPointF widgetPoint) const;
    // Where a scene point lies in the widget.
    QPointF toWidget(QPointF scenePoint) const;
    // One wheel turn of `delta` eighths of a degree: the zoom changes by
    // 1.25^(delta / 960) and stays within 0.05..20. The pan stays, so the
    // view grows from its pan offset, not from the pointer.
    void wheel(int delta);
    // The painter's transformation for scene coordinates.
    void apply(QPainter* painter) const;
    // A distance of `pixels` on screen in scene units.
    double reach(double pixels) const { return pixels / zoom; }
};

constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 20.0;

// The first of the first `count` points (all of them for -1) closer than
// `radius` to p (Euclidean); -1 when none.
int Node_At(const QPolygon& points, QPoint p, double radius, int count = -1);

// The point nearest to p by Manhattan length, a later one winning a tie;
// (0, 0) without points.
QPoint Nearest_Node_Point(const QPolygon& points, QPoint p);

// The midpoint handle of a line: the point a line's context menu is opened on.
struct MidPnt {
    QPoint point;
    int line = -1;
};

// One handle per line whose pair joins existing nodes, in line order, at the
// line's middle (rounded half up). Lines whose child is one of the first
// `bareChildren` nodes get none (the riser's virtual lines).
QList<MidPnt> Midpoint_Handles(const QPolygon& pairs, const QPolygon& points, int bareChildren = 0);

// The line of the first handle closer than `radius` to p (Manhattan); -1 when none.
int Handle_At(const QList<MidPnt>& handles, QPoint p, double radius);

// One angle label at a branching node (drawn in degrees, one decimal).
struct AngleLabel {
    QPoint at;      // scene point of the text
    QString text;
    bool column;    // true: between two lines to the same rib (drawn upright);
                    // false: between two lines to the same row (at the parent)
};

// One line leaving a branching node: its 3-D ends and its drawn ends.
struct AngleEntry {
    QVector3D q1, q2;
    QPoint p1, p2;
};

// Every line whose parent is node `parent`, in line order.
QList<AngleEntry> set_angles_List(const QPolygon& pairs, const QList<LineProp>& lines, int parent);

// The labels of one node's lines (none for fewer than two): the largest 3-D
// angle, seen from the first line's upper end, between two lines that end on
// the same rib column (beside the first of the two), then the largest
// between two that end on the same frame row (at the node). A pair wins
// only with a strictly larger angle; an angle of 0 gives no label.
QList<AngleLabel> calc_paint_angle(const QList<AngleEntry>& list);

// The angle labels of a tree: those of every parent of a canopy line (a
// line to one of the first `frameNodes` nodes), once per parent.
QList<AngleLabel> Angle_Labels(const QPolygon& pairs, const QList<LineProp>& lines, int frameNodes);

// A line just drawn: its child end at `childEnd` (3-D), no load yet; the
// placement gives it its parent end.
LineProp New_Tree_Line(QVector3D childEnd, double length, double diameter);

// The length dialog ("change lenght") for one line, shown in metres; the
// answer (at least 0.001 m) is stored as a fraction of the hang height,
// `unit3D` being the hang height in plan units. False, and nothing changed,
// on Cancel.
bool Ask_Line_Length(const ParaStruct* design, double unit3D, LineProp* line);

// A diameter dialog in millimetres (0..30); the answer in metres. Nothing on
// Cancel, and nothing for an answer of 0 (a line has a diameter; the user is
// told).
std::optional<double> Ask_Diameter(const QString& title, double initialMm);

// Connects `signal` of the editor to `slot` of its nearest ancestor that has
// that slot, once however often it is called (SIGNAL()/SLOT() signatures).
// Nothing when no ancestor has it.
void Connect_To_Ancestor(QWidget* editor, const char* signal, const char* slot);

// The lettering of the editors' drawings: the header font (bold, normal
// style, 10 points) and the width and height of "X" in it.
struct EditorLettering {
    QFont header;
    int letterWidth = 0;
    int letterHeight = 0;
    // The header's point size for one paint: int(span / letter width), at least 6.
    int headerPoints(double span) const;
};
EditorLettering Editor_Lettering();

// What both editors set on themselves: mouse tracking (moves without a
// button are reported), a custom context menu and the arrow cursor.
void Prepare_Tree_Editor(QWidget* editor);

// A pen one pixel wide at every zoom.
QPen Hairline_Pen(const QColor& color, Qt::PenStyle style = Qt::SolidLine);

// The rectangle (c - lo, c - lo)..(c + hi, c + hi), corners included: the
// editors' circles and dots.
QRect Circle_Rect(QPoint c, int lo, int hi);

// Halves upward, also below zero.
int Round_Half_Up(double v);
