#pragma once

// The editing view of the mini-ribs and reinforcements dialog: rib 1's
// airfoil with its line attachments, the mylar in-spline and the two rods
// with their handles, the flat mylar and rod shapes, the front and rear
// mini-rib outlines and, as context, the rib's loaded-rib cross-ports. The
// user drags the inner points of the curves; every move goes into the
// design at once (reinforcecurves.h).

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QWidget>

#include "core/designspline.h"
#include "structure/reinforcecurves.h"

class ParaStruct;

class CrossEdit : public QWidget
{
    Q_OBJECT

public:
    explicit CrossEdit(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(512, 384); }

    // End and inner points of each curve from the record.
    void Setup_MylarPoints();
    void Setup_RodPoints();
    void Setup_Rod2Point();
    // Inner points evenly on the chord between the ends; the rods take their
    // ends from the sliders first.
    void resetMylar();
    void resetRods();
    void resetRod2();
    // Moves the selected handle by a pointer step in pixels.
    void repaintPoints(double dx, double dy);
    int SelectPoint(QPoint pos) const;
    // The working pairs into the design: of all three curves, or of curve
    // 0 (mylar), 1 (upper rod) or 2 (lower rod).
    void update_milar_rods();
    void Store_Curve(int curve);
    // The mylar in-spline through the mylar's ends and inner points.
    void SetupMiSpline();
    // The mini-rib outlines of rib 1 (front and rear) after a change of their
    // settings or of the canopy.
    void Update_Miniribs();
    // The flat mylar sheet and rods of rib 1 after a change of theirs.
    void Update_Reinforcements();

    double zoom() const { return zoomFactor; }
    QPointF pan() const { return panOffset; }
    // The rib with its letters and marks, in drawing pixels at zoom 1: the
    // view shows it whole and centred at a show, a resize and the right
    // button.
    QRectF drawingExtent() const;
    int selectedHandle() const { return selected; }
    const ReinforceCurve& mylar() const { return curves[0]; }
    const ReinforceCurve& upperRod() const { return curves[1]; }
    const ReinforceCurve& lowerRod() const { return curves[2]; }
    // Where a point of the drawing (chord units, y downward) lies on the widget.
    QPointF toScreen(QPointF p) const { return panOffset + zoomFactor * kScale * p; }
    const QList<QPolygonF>& holePolygons() const { return holes; }
    const Spline& mylarSpline() const { return inSpline; }
    // The flat mylar sheet and the two rod paths, at the drawing's scale.
    const QPolygonF& mylarShape() const { return mylarSheet; }
    const QPolygonF& upperRodPath() const { return upperRodCurve; }
    const QPolygonF& lowerRodPath() const { return lowerRodCurve; }
    // The outlines of rib 1's mini-ribs, at the drawing's scale.
    const QPolygonF& frontMiniRibOutline() const { return frontOutline; }
    const QPolygonF& rearMiniRibOutline() const { return rearOutline; }

    static constexpr double kScale = 1024;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Centres the rib in the view; with fitZoom also at the zoom that fits.
    void homeView(bool fitZoom);
    // Which curve and which of its points a handle number names.
    bool handle(int number, int* curve, int* point) const;
    void buildCrossPorts();

    ParaStruct* design;
    double zoomFactor = 1.0;
    bool zoomChosen = false; // by the wheel, since the last right click
    QPointF panOffset{0, 384};
    QPolygonF workFoil;
    ReinforceCurve curves[3];
    QList<QPolygonF> holes;
    QPolygonF triangles[11];
    QPointF anchors[13];
    QPolygonF frontOutline;
    QPolygonF rearOutline;
    Spline inSpline;
    QPolygonF mylarSheet;
    QPolygonF upperRodCurve;
    QPolygonF lowerRodCurve;
    int selected = -1;
    QPoint lastMouse;
    bool pressed = false;
};
