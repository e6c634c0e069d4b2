#pragma once

// The editor of one cross-port group in the cross ports manager: the work
// rib (the half wing's first rib) at drawing scale, the inner outline at the
// edge offset, the group's base shapes with their holes, and the share of
// the rib that stays solid. A click selects a base shape; the manager's
// boxes then set its values.
//
// Record fields: crossPortHoles / crossPortOffset / crossPortCorner (the
// values applied next), crossPorts (the base shapes), holeEdgeFactor (edge
// offset, mm). The values the boxes show and the working set the holes are
// cut from are the editor's own.

#include <QList>
#include <QPoint>
#include <QPolygonF>
#include <QRectF>
#include <QWidget>

#include <memory>

#include "structure/crossports.h"

class ParaStruct;
class UntwistedWing;

class CrossLab : public QWidget
{
    Q_OBJECT

public:
    explicit CrossLab(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(512, 384); }

    // Shows group g with the values of its first shape.
    void Set_Index_Type(int group);
    // The value becomes the current one and goes to the selected shape.
    void set_n_holes(int v);
    void set_n_offset(int v);
    void set_n_corner(int v);
    void setObjectPosition();
    // The group rebuilt on the new edge offset; every shape takes the
    // current values.
    void Apply_EdgeOffset();
    // The values the boxes show: those of the selected shape, or of the
    // group's first shape when none is selected.
    void Load_Own_Values();

    void Get_Crossport_grup();
    void setWorkFoil(int rib);
    void setup_CurrentGrup(bool reset);
    void set_cross_port_Param();
    void SelectPointRegion();
    double Solid_Area() const;

    int groupType() const { return group; }
    int selectedShape() const { return selected; }
    double zoomFactor() const { return zoom; }
    QPointF pan() const { return QPointF(panX, panY); }
    const QPolygonF& airfoil() const { return foil; }
    const QPolygonF& innerOutline() const { return workFoil; }
    const QList<QPolygonF>& holePolygons() const { return holes; }
    // The values the manager's boxes show: hole count, web width, rounding
    // of the selected shape (k = 0..2).
    int shownValue(int k) const { return k >= 0 && k < 3 ? shown[k] : 0; }
    const HoleLayout& shownLayout() const { return layout; }
    // The front or rear mini-rib of the work rib's cell (groups 2 and 3).
    const QPolygonF& miniribShape() const { return miniribOutline; }
    // The wing the mini-rib outlines are unfolded from (built without
    // twist); the manager gives its four editors one, and forgets it when
    // an editing session starts.
    void setFlatWing(std::shared_ptr<UntwistedWing> flat) { wing = std::move(flat); }
    // Where a point of the drawing lies on the widget.
    QPointF toScreen(QPointF p) const { return QPointF(panX, panY) + zoom * p; }
    // The rib with its letters and marks, in drawing units: the view shows
    // it whole and centred at a show, a resize and the right button.
    QRectF drawingExtent() const;

signals:
    void to_setupboxes();

public slots:
    void Reset_Whole_Group();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Centres the rib in the view; with fitZoom also at the zoom that fits.
    void homeView(bool fitZoom);
    // The holes and the mini-rib outline of the group as it stands.
    void rebuildView();
    void takeShownValues(int slot);

    ParaStruct* data;
    std::shared_ptr<UntwistedWing> wing;
    int group = -1;
    double zoom = 1.0;
    bool zoomChosen = false; // by the wheel, since the last right click
    bool dragging = false;
    int workRib = 0;
    double viewScale = 1024;
    double viewHeight = 768;
    double panX = 0;
    double panY = 384;
    QPoint lastMouse;
    int selected = -1;
    QPolygonF foil;
    QPolygonF workFoil;
    QList<QPolygonF> holes;
    QPolygonF miniribOutline;
    // The layout shown: the design's base shapes with this editor's working
    // set.
    HoleLayout layout;
    // The values the boxes show (hole count, web width, rounding).
    int shown[3]{};
};
