#pragma once

// The design-line editor's work on the design, apart from its widget: the
// line being drawn or edited, the editor's copy of all lines, and every
// change written at once into the design's lines (designSplines). The
// widget (graphics/ui/editsplineup.h) turns mouse, keys and its menu into
// these calls and draws what they leave.
//
// Positions are in the design plane of the side being designed
// (geom/designcurves.h), the widget's pixels less its vertical pan.

#include <QLineF>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include "core/designspline.h"

class ParaStruct;

class SplineEditor
{
public:
    explicit SplineEditor(ParaStruct* design);

    // The side being designed (designSide): 0 top, 1 bottom.
    int side() const;
    // 'U' the top side (0), 'D' the bottom side (1), anything else none (-1).
    void Set_DesignSide(char side);

    // An empty new line of the side; no line current, no point selected,
    // no press pending.
    void Init_Work_Spline();
    // The editor's copy rebuilt from the design (ends of lines moved onto
    // ribs, curves recomputed) and written back: what a show or a change of
    // side does.
    void Reload();
    // Line id of the copy becomes the work line (when it exists).
    void Set_Current_Spline(int id);
    // Stores the work line (a new one of 2 or more points is added, a
    // current one replaced), publishes every line of 2 or more points as the
    // design's lines, and starts an empty new line.
    void Update_Spline_list();

    // A control point at p (x moved onto the nearest rib) after the last
    // one. False, and the line unchanged, when the line holds as many
    // points as it can; the user is told.
    bool Append_New_Point(QPointF p);
    // A point after the selected one: at p when the last point is selected,
    // otherwise halfway between `pressed` and the next point. False when no
    // point is selected or the line is full (the user is told).
    bool New_Point_Insert(QPointF p, QPointF pressed);
    // Removes the selected point and stores the line (a line left with one
    // point disappears).
    void Remove_Point();
    // Removes the current line.
    void Remove_Spline();
    // With more than 3 points the last point is put on the first one; false
    // otherwise.
    bool Close_Spline_Curve();

    // The selected point moved to q, or by (dx, dy), when the new place lies
    // within the design area; an end point's x then goes onto the nearest
    // rib. False when nothing moved.
    bool Drag_Selected_Point(QPointF q, const QPolygonF& area);
    bool Move_SelectedPoint(double dx, double dy, const QPolygonF& area);
    // The selected point put on the end of another line within reach
    // (0 < distance < 20), then the line stored. False when none is in reach.
    bool Snap_Current_Point();
    // The snap markers of the side while an end point of the current line
    // is pressed; empty otherwise.
    QPolygonF Snap_Markers() const;

    bool Line_Is_Current() const { return currentLine >= 0 && currentLine < lineList.size(); }
    bool Point_Is_Selected() const { return selectedPoint >= 0 && selectedPoint < workLine.pointCount; }
    bool Selected_Is_End() const;

    // Rebuilds linePath (Set_MyPainterPath of the side).
    void SetMyPainterPath();

    ParaStruct* design;
    int designSide = 0;      // the side the editor designs
    QList<Spline> lineList;  // the editor's copy of the lines of both sides
    Spline workLine;         // the line being drawn or edited
    int currentLine = -1;    // index in lineList of the line edited; -1 for a new line
    int selectedPoint = -1;  // selected control point of workLine; -1 for none
    bool pressPending = false; // a press was taken and its release has not come
    QPainterPath linePath;   // the stored lines of the side, as drawn

private:
    void recompute();
    // What every added or inserted point leaves the line with: the side
    // being designed, degree 3, order 4, no knots.
    void Set_WorkSpline_Parameters();
    void putPoint(int i, QPointF q);
    bool refuseFullLine();
};

// The lines of the side as one path: one sub-path per line of that side
// whose curve has 2 or more points, through its curve points in order.
QPainterPath Set_MyPainterPath(const QList<Spline>& lineList, int side);

// What the editor draws behind the lines of a side, in the design plane.
struct DesignBackground {
    int side = -1;            // 0 top, 1 bottom; -1 nothing to draw
    QString title;            // "TOP SIDE DESIGN", "BOTTOM SIDE Design"
    QRectF titleRect;
    QPolygonF trailingEdge;   // one point per rib
    QPolygonF nose;           // top side only
    QPolygonF edge;           // the O1 (top) or O2 (bottom) row
    QPolygonF areaOutline;    // edge row, then the trailing edge reversed
    QList<QLineF> ribLines;   // every rib from the edge row to the trailing edge
    bool billowShown = false; // the billow line's label is drawn
    bool billowUsed = false;  // the billow line is on (billowLineOnTop)
    QString billowLabel;      // "used " or "  Not used"
    QPointF billowLabelPos;
    QPolygonF billowLine;     // drawn only when the billow excess is not 0
};

// One point (x of rib k, table[k]) per rib, first rib to tip rib.
QPolygonF Table_to_Poly(const ParaStruct* design, const double* table);

// The background of the top side (nose, O1 row, billow line) and of the
// bottom side (O2 row).
DesignBackground Background_UP(const ParaStruct* design);
DesignBackground Background_DW(const ParaStruct* design);
// The background of side 0 (top) or 1 (bottom); another side gives side -1.
DesignBackground Design_Background(const ParaStruct* design, int side);
