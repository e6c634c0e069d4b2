#pragma once

// The base-line editor: the front view of the half wing as one cubic Bezier
// arc of four nodes (frontControlPoints, plan units), shaped by dragging the
// nodes in FaceWidget. Every move stores the nodes into the live design and
// recomputes the wing-tip geometry; the arc item paints the rib positions,
// a reference circle around the pilot and the wing's figures.

#include <QDialog>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QList>
#include <QPointF>

#include <memory>

#include "widgets/fitsession.h"

class EditSession;
class ParaStruct;
class FaceWidget;
class fEdge;
class BezierFace;
namespace Ui {
class FrontViewDialog;
}

// A draggable node of the arc. Node 0 is pinned at (0, 100).
class fNode : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    explicit fNode(FaceWidget* view);

    void addfEdge(fEdge* edge);
    void addBezier4(BezierFace* arc);

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int nodeIndex = -1;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QList<fEdge*> edgeList;
    QList<BezierFace*> bezierList;
    FaceWidget* graph;
};

// A dashed handle line from a node to its control point, with an arrow head.
class fEdge : public QGraphicsItem
{
public:
    enum { Type = UserType + 2 };

    fEdge(fNode* source, fNode* dest);

    void adjustfEdge();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    QPointF sourcePoint;
    QPointF destPoint;

private:
    fNode* source;
    fNode* dest;
    double arrowSize = 10;
};

// The base-line arc with the figures of the wing.
class BezierFace : public QGraphicsItem
{
public:
    enum { Type = UserType + 3 };

    BezierFace(fNode* n0, fNode* n1, fNode* n2, fNode* n3);

    void Bezier4_adjust();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    QPointF points[4];
    double arcLength = 0.0;

private:
    fNode* NP0;
    fNode* NP1;
    fNode* NP2;
    fNode* NP3;
};

// The view opens with the half wing's arc, its nodes and the figures whole
// in it (widgets/fitsession.h).
class FaceWidget : public QGraphicsView
{
    Q_OBJECT

public:
    explicit FaceWidget(QWidget* parent = nullptr);

    void FaceNodesPositions();
    void scaleView(double factor);

    fNode* node(int i) const { return nodes[i]; }
    BezierFace* arc() const { return bezier; }
    fEdge* edge(int i) const { return edges[i]; }
    // The arc of the right half with its nodes, and the block of figures, in
    // scene units: what a fit shows whole.
    QRectF drawingExtent() const;

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawNetBackground(QPainter* painter);
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool fitDrawing();

    const ParaStruct* design;
    fNode* nodes[4] = {};
    fEdge* edges[2] = {};
    BezierFace* bezier = nullptr;
    FitSession fits;
};

class FrontViewDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FrontViewDialog(QWidget* parent = nullptr);
    ~FrontViewDialog() override;

    FaceWidget* faceWidget() const;

private slots:
    void on_acceptButton_pressed();
    void on_cancelButton_pressed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::FrontViewDialog> ui;
    ParaStruct* design;
    EditSession* session = nullptr;
};
