#pragma once

// The actual view of one generated diagonal rib, flat as it is cut: its
// seven trapezes between the bottom and the top edge points, its cross-port
// holes, its cutting outline, its edge and control points and the widths of
// its four bottom tabs in millimetres. The diagonal is a completed copy;
// the design's list keeps its records as the generation made them. It opens
// fitted into the pane (widgets/fitsession.h).

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include "core/structuredata.h"
#include "widgets/fitsession.h"

class ParaStruct;

class DiaCrossPort : public QWidget
{
    Q_OBJECT

public:
    explicit DiaCrossPort(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(400, 200); }

    // Shows generated diagonal id, or the last one for a larger id; nothing
    // changes for a negative id or an empty list.
    void set_current_diagonal(int id);
    // The first diagonal is the one shown from the next show on.
    void resetCurrentDiagonal() { diagCurrent = 0; }
    // The index of the diagonal shown in the design's list.
    int currentDiagonal() const { return diagCurrent; }

    double zoom() const { return z; }
    QPointF offset() const { return pan; }
    const DiagonalData& shownDiagonal() const { return shown; }
    bool hasDiagonal() const { return showing; }
    // The widths of the four bottom tabs in mm, as labelled.
    QStringList tabWidthLabels() const;
    // The shown diagonal with its marks and labels, in drawing units: what
    // a fit shows whole.
    QRectF drawingExtent() const;

public slots:
    void Recreate_diagonals();
    void Refresh_DiaCrossPort();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();
    bool fitDiagonal();

    ParaStruct* design;
    int diagCurrent = 0;
    double z = 1.0;
    QPointF pan;
    bool dragging = false;
    QPoint lastMouse;
    DiagonalData shown;
    bool showing = false;
    double largestZoom;   // the wheel's, or a fit's where that went larger
    FitSession fits;
};
