#pragma once

// The plan view of the straps manager: the half wing with a button at every
// line row's attachment point on every rib. A click on a button switches
// the strap that runs from that rib to the next along the row; set straps
// show as dark red bands between the buttons of rows A..G.

#include <QLineF>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QWidget>

#include "core/parastruct.h"

class StripesEdit : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kButtons = kLineRows * kRibSlots;   // id = row x 65 + rib

    explicit StripesEdit(QWidget* parent = nullptr);

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(512, 384); }

    void init_LineRibs();
    void Generate_All_LineRib_Buttons();
    // Switches the strap of the button under the press (widget pixels) and
    // gives its id; -1 when no button is hit.
    int Select_button_id(QPointF pressed);
    void ToggleLineStrip(int row);
    void ClearAllLineStrips();

    // The strap bands the view draws (from button to next button).
    QList<QLineF> Strap_Lines() const;

    // State the dialog and the tests look at.
    int selection() const { return selectedButton; }
    int currentLine() const { return currentRow; }
    int currentRibIndex() const { return currentRib; }
    bool buttonExists(int id) const { return exists[id]; }
    QPointF buttonPosition(int id) const { return buttonPos[id]; }
    bool lastToggleState() const { return rowToggleState; }
    double zoomFactor() const { return zoom; }
    QPointF panOffset() const { return pan; }
    QPointF toWidget(QPointF plan) const { return plan * zoom + pan; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Restore_View();
    QPolygonF Row_Line(int row) const;
    QPolygonF Reference_Line(int index) const;

    ParaStruct* design;
    QPointF buttonPos[kButtons];
    bool exists[kButtons]{};
    int selectedButton = -1;
    int currentRow = -1;
    int currentRib = -1;
    double zoom = 1.0;
    QPointF pan;
    QPoint lastPos;
    bool pressed = false;
    int firstRib = 0;
    int lastRib = 0;
    QPointF planPoints[8];
    QPolygonF frontCurve;
    QPolygonF rearCurve;
    bool rowToggleState = false;
    double textDx = 0.0;
    double textDy = 0.0;
};
