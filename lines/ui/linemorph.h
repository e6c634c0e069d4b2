#pragma once

// The plan view of the line morphing editor: the half wing with every line
// row's attachment point on every rib. Points of the current row are dragged
// along the rib (snapped to the lower surface); a context menu closes or
// opens the cell under the pointer. The view works on its own copy of the
// attachment indexes, which SaveChangesOnExit writes into the design.

#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QWidget>

#include "core/parastruct.h"

class QMenu;

class LineMorph : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPoints = kLineRows * kRibSlots;   // index = row x 65 + rib

    explicit LineMorph(QWidget* parent = nullptr);

    void SetCurrentLine(int row);
    void initLineMorph();
    void Virtual_WingFlex_Lines(int row, double percent);
    void Set_LineDyn_value(int row, int rib, double y);
    void MoveSelectedPoint(int point, int dy);
    void Generate_All_LineRib_Buttons();
    int getSelected_button(QPointF pointer) const;
    int getSelected_CELL(QPoint pointer) const;
    void Action_From_Menu(QPoint pos, int entry);
    // The context menu for a cell (entries as Action_From_Menu numbers them).
    QMenu* Cell_Menu(int cell);
    void Restore_View();

    // State the dialog and the tests look at.
    int currentLine() const { return currentRow; }
    int currentRibIndex() const { return currentRib; }
    int selection() const { return selectedButton; }
    int cell() const { return selectedCell; }
    int workIndex(int row, int rib) const { return dynIndex[row][rib]; }
    double winflexRun(int row) const { return winflexWork[row]; }
    double zoomFactor() const { return zoom; }
    QPointF panOffset() const { return QPointF(panX, panY); }
    QPointF pointPosition(int point) const { return buttonPos[point]; }
    bool pointValid(int point) const { return valid[point]; }
    // Where a plan-view point shows in the widget.
    QPointF toWidget(QPointF plan) const { return plan * zoom + QPointF(panX, panY); }
    // The plan with its row letters and rib numbers (plan units), and the
    // part of the widget the view fits it into (below the header line).
    QRectF planExtent() const;
    QRectF viewArea() const;

signals:
    void to_close_cell();
    void to_open_cell();

public slots:
    void Open_Cell();
    void Close_Cell();
    void SaveChangesOnExit();

private slots:
    void ShowContextMenu(const QPoint& pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void transformPainter(QPainter& painter) const;
    void drawCoordinates(QPainter& painter) const;
    void PaintLineMorph(QPainter& painter) const;
    void Paint_Line_Rib_Buttons(QPainter& painter) const;
    void Morphed_Lines(QPainter& painter) const;
    void Row_Points(int row);
    bool Cell_Closed(int cell) const;
    bool canMoveSelection() const;

    ParaStruct* design;
    QPoint lastPos;
    double zoom = 1.0;
    QPointF buttonPos[kPoints];
    bool valid[kPoints]{};
    int rowOfPoint[kPoints]{};
    int selectedButton = -1;
    bool dragging = false;
    double panX = 0.0;
    double panY = 0.0;
    int currentRow = 8;
    int currentRib = -1;
    int selectedCell = -1;
    int firstRib = 0;
    int lastRib = 0;
    int dynIndex[kLineRows][kRibSlots]{};
    double winflexWork[kLineRows]{};
    QPointF planPoints[8];
    QPolygonF frontCurve;
    QPolygonF rearCurve;
    double labelDx = 0.0;
    double labelDy = 0.0;
};
