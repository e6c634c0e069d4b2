#pragma once

// The cross-port model of the diagonals on its own tab of the diagonal ribs
// dialog: the twelve model points, the hole triangle and its holes. The user
// raises or lowers the two height points (p6, p7) together; each change and
// each new box value goes into the design at once (diagmodel.h). The model
// opens fitted into the pane (widgets/fitsession.h).

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include "widgets/fitsession.h"

class ParaStruct;

class DModelView : public QWidget
{
    Q_OBJECT

public:
    explicit DModelView(QWidget* parent = nullptr);

    // The corner rounding, the offset box value (the web width is four times
    // it, in mm) and the division count; the model is stored again.
    void set_box_values(int corner, int offset, int count);
    // The default model, stored with the current box values.
    void set_default_diagonal();
    // "line D on/off".
    void set_lines_apply(bool on);
    // Takes the box values and the last apex from the design, as the dialog
    // opens; nothing is written.
    void Load_Model();

    double zoom() const { return z; }
    QPointF offset() const { return pan; }
    int selectedPoint() const { return selected; }
    bool modelValid() const { return valid; }
    QPointF apex() const { return apexPoint; }
    // The model's points with their marks and numbers, the triangle and its
    // holes, in drawing units: what a fit shows whole.
    QRectF drawingExtent() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool fitModel();
    void moveHeightPoints(double dx, double dy);
    void storeModel();

    ParaStruct* design;
    double z = 0.5;
    QPointF pan;
    bool dragging = false;
    QPoint lastMouse;
    int selected = -1;
    int corner = 1;
    int offsetMm = 0;
    int count = 1;
    bool valid = false;
    QPointF apexPoint;
    FitSession fits;
};
