#pragma once

// The plane view of the diagonal shapes (diagplane.h): rib 1's airfoil with
// the four shapes, whose upper points the user drags along the upper
// surface. Every change of the points goes into the design at once.

#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QWidget>

class ParaStruct;

class DiaTopView : public QWidget
{
    Q_OBJECT

public:
    explicit DiaTopView(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(1024, 768); }

    double zoom() const { return z; }
    QPointF offset() const { return pan; }
    int selectedPoint() const { return selected; }
    int upperIndex(int i) const { return U[i]; }
    int lowerIndex(int i) const { return L[i]; }
    // Where upper point i is drawn, in widget pixels.
    QPointF upperPointOnScreen(int i) const;
    // The airfoil with its row letters and marks, in drawing units: what
    // the view shows whole at its start, after a resize and the right button.
    QRectF drawingExtent() const;

signals:
    void back_to_dialog();

public slots:
    void Set_Bottom_Width();

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
    void readyView();
    void homeView();
    void refreshPoints();
    void commit();
    void moveSelected(QPointF delta);
    QPointF foilPoint(int i) const;

    ParaStruct* design;
    double z = 1.0;
    QPointF pan{40, 192};
    QPolygonF foil;
    int L[8]{};
    int U[8]{};
    int startIndex = 10;
    int endIndex = 0;
    QPointF lowerPoints[8];
    QPointF upperPoints[8];
    int selected = -1;
    bool dragging = false;
    QPoint lastMouse;
};
