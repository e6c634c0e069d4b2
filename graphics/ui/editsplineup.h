#pragma once

// The design-line editor of one surface side: the unrolled surface with its
// ribs, nose, edge row and billow line, the lines already drawn, and the
// line being edited with its control points. The left button picks a
// control point (and drags it within the design area) or, away from the
// points, stores the line; the middle button picks a line or pans up and
// down; the right button opens the menu that adds, inserts and removes
// points, removes and closes lines and snaps ends; the arrow keys move the
// picked point by one unit. Every change goes at once into the design's
// lines (graphics/splineeditor.h does the work).

#include <QPoint>
#include <QPolygonF>
#include <QWidget>

class QPainter;

#include "graphics/splineeditor.h"

class EditSplineUP : public QWidget
{
    Q_OBJECT

public:
    explicit EditSplineUP(QWidget* parent = nullptr);

    // Selects the side ('U' top, 'D' bottom) and rebuilds the lines from the
    // design. The editor keeps the side: it selects it again when shown.
    void setCurrentside(char side);

    // The background built again, after a change of the billow line.
    void Refresh_Background();

    // Whether entry m of the context menu can be chosen now.
    bool Menu_Entry_Enabled(int m) const;

    SplineEditor& editor() { return edit; }
    const QPolygonF& areaOutline() const { return area; }
    double panY() const { return pan; }
    const QPolygonF& snapMarkers() const { return markers; }

public slots:
    void Update_Spline_list();
    void Set_Current_Spline(int id);
    // Runs entry m of the context menu, opened at widget position P.
    void Action_From_Menu(QPoint P, int m);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void ShowContextMenu(QPoint pos);

private:
    QPointF toDesign(QPoint pos) const { return QPointF(pos) - QPointF(0, pan); }
    void Rebuild_Background();
    void setup_snapPoints();
    void Snap_Current_Point();
    void Move_SelectedPoint(double dx, double dy);

    // Painting only draws what the editor and the background hold.
    void Paint_Info(QPainter* painter);
    void Coor_System(QPainter* painter);
    void paintBackground(QPainter* painter);
    void Paint_Work_Spline(QPainter* painter);
    void paint_Snap_Points(QPainter* painter);

    SplineEditor edit;
    DesignBackground background;
    QPolygonF area;          // the design area of the side last built
    QPolygonF markers;       // snap markers while an end point is pressed
    QPoint lastMousePos;
    double pan = 0.0;        // vertical pan, widget = design + (0, pan)
    const int textLine = 10; // line unit of the information text
    const double scale = 1.0;
    int axisPos[2] = {0, 0}; // rib 0's x and its trailing edge's y
};
