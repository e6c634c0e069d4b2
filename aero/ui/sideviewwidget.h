#pragma once

// The two side views of the centre rib: MidLineView, the pilot position view
// of the pilot dialog, and ApameCross, the mesh-station view of the CFD
// dialog. They share zoom and pan (wheel zooms, middle button pans, a left
// click brings the start view back) and differ in what they paint, which
// comes ready from aero/sideviews.h.

#include "aero/sideviews.h"

#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <QWidget>

class ParaStruct;
class QPainter;

class SideViewWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SideViewWidget(QWidget* parent = nullptr);

    double zoom() const { return camera.zoom; }
    double panX() const { return camera.panX; }
    double panY() const { return camera.panY; }

    // Scale by the zoom, then translate by the pan, replacing any earlier
    // transform.
    void transformPainter(QPainter& painter) const;

    // The airfoil of the half's first rib at the frame's chord, y downward,
    // without the leading-edge offset; the argument is not used.
    void init_Work_Airfoil(double);
    const QPolygonF& workAirfoilPoints() const { return workAirfoil; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // Fills the widget from white at the top left to `corner` at the bottom
    // right.
    void paintBackground(QPainter& painter, const QColor& corner) const;

    const ParaStruct* design;
    QPoint lastPos;
    sideview::Camera camera;
    QRect xLabelRect; // bounding rectangles of "x" and "y" in the view's first font
    QRect yLabelRect;
    QPolygonF workAirfoil;
};

// The centre rib with the line rows, the aerodynamic centre, the hang
// height and the pilot on his lines.
class MidLineView : public SideViewWidget
{
    Q_OBJECT

public:
    explicit MidLineView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintAirfoil(QPainter* painter, const PilotScene& scene);
    void drawCrossview(QPainter* painter, const PilotScene& scene);
};

// The pilot part of the side view.
void pilot_Position(const PilotScene& scene, QPainter* painter);

// The first rib of the half with the chordwise stations of the solver mesh.
class ApameCross : public SideViewWidget
{
    Q_OBJECT

public:
    explicit ApameCross(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintAirfoil(QPainter* painter);
};
