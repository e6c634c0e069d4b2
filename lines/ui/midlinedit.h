#pragma once

// The view of the default line positions editor: the centre airfoil drawn
// at 560 units per chord with the nine line-row markers on its lower
// surface, the table of the rows' chord positions, the opening's incidence,
// the metacentre, the hang height and the fan of lines to the pilot.
// Dragging a marker moves it from vertex to vertex along the lower surface;
// unless any order is allowed the rows keep O1 < O2 < A < ... < G. Releasing
// a moved marker derives that row's attachment index on every rib again.

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QPolygonF>
#include <QWidget>

#include "core/parastruct.h"

class QPainter;

class MidLinEdit : public QWidget
{
    Q_OBJECT

public:
    explicit MidLinEdit(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(1024, 768); }

    void Set_LineSequence(bool anyOrder);
    void init_Airfoil_Poly();
    void RepairLinePoints();
    // The row whose marker the pointer (widget pixels) is on; -1 for none.
    int SelectPoint(QPoint pointer) const;
    void move_points(double dx, double dy);
    // The rows' centre indexes and percents from the markers.
    void Update_Row_Indexes();
    void Restore_View();
    // The table and the centre airfoil in drawing units: what the view
    // shows whole at its start.
    QRectF contentExtent() const;

    // State the dialog and the tests look at.
    bool anyOrder() const { return anySequence; }
    int selectedRow() const { return selected; }
    QPointF rowPoint(int row) const { return rowPoints[row]; }
    const QPolygonF& foilDrawing() const { return foil; }
    double zoomFactor() const { return zoom; }
    QPointF panOffset() const { return QPointF(panX, panY); }
    QPointF toWidget(QPointF drawing) const { return drawing * zoom + QPointF(panX, panY); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void transformPainter(QPainter& painter) const;
    void paint_widget_frame(QPainter& painter) const;
    void paintMidFoil(QPainter& painter) const;
    void Paint_ABCD_Lines(QPainter& painter) const;

    ParaStruct* design;
    QPointF rowPoints[kLineRows];
    int rowIndexCopy[kLineRows]{};
    QPoint lastPos;
    bool dragging = false;
    bool moved[kLineRows]{};
    int selected = -1;
    double zoom = 1.0;
    static constexpr int kViewHeight = 768;
    double panX = 40.0;
    double panY = kViewHeight / 4;
    QPolygonF foil;
    bool anySequence = false;
};

// The table of the rows' positions, the chord, metacentre and hang-height
// lines, the opening's incidence and the lines from rows A..F to the
// hanging point, on a painter already set to drawing units.
void pp_Line_Positions(const ParaStruct* design, QPainter* painter);
