#pragma once

// The "Bridle tables" sheet of the bridle manager: the current line group
// drawn as a printable table, the cut list of its lines. A heading, the
// frame of line attachment points of both wing halves, the group's tree
// laid out so that its branches do not cross (Lay_Out_Bridle_Table), and on
// every line its length rounded to 5 mm and its load (brake lines: the
// length plus the brake relaxation), written beside the line where it
// covers no other label and, for the lines that cross the frame, below it;
// the rib numbers stand above the frame. Nodes may be dragged to tidy the
// sheet further; the view never changes the design's lines, it works on its
// own copy. Printed, the whole table is fitted to the page, whatever the
// zoom. Without a chosen group the sheet says where to choose one.

#include <QFont>
#include <QFontMetricsF>
#include <QPoint>
#include <QWidget>

#include <memory>

#include "core/bridledata.h"
#include "lines/bridlelists.h"

class ParaStruct;
class QPainter;

class BridleView : public QWidget
{
    Q_OBJECT

public:
    explicit BridleView(QWidget* parent = nullptr);
    ~BridleView() override;

    QSize minimumSizeHint() const override { return QSize(400, 200); }

    // What the sheet shows (for the manager and the tests).
    int groupSlot() const { return slot; }
    const BridleTable& table() const { return current; }
    double scale() const { return s; }
    QPointF translation() const { return QPointF(tx, ty); }
    int draggedNode() const { return dragged; }
    // The labels written on the lines, in line order, and where they stand
    // in the drawing.
    QStringList labels() const;
    const QList<TableLabel>& labelPlaces() const { return places; }
    // What the sheet says while it has no group to show.
    static QString emptyHint();

    // The group the bridle manager has selected (its lineSelection: 2..5
    // L1..L4, 7 the brakes, anything else none).
    void setLineSelection(int selection) { lineSelection = selection; }

public slots:
    // Takes the line plan from the design and the group of lineSelection.
    void getLineGrupData();
    // The tab was chosen.
    void activate_widget();
    void ShowContextMenu(const QPoint& pos);
    // Prints the whole sheet fitted to the page (not the zoomed screen).
    void printPage();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool nearFramePoint(QPoint p) const;
    void paintSheet(QPainter& painter);
    void paintHeading(QPainter& painter) const;
    // Frame, lines and labels in the drawing's own units.
    void paintDrawing(QPainter& painter) const;
    // What paintDrawing covers, in the drawing's units: the frame with its
    // rib numbers, and every line, line end and label.
    QRectF drawingExtent() const;
    QRectF frameExtent() const;
    // The labels stand below this line of the drawing where their lines
    // reach below it: below the frame.
    double labelsBelow() const;
    // The tree laid out and the labels placed again, after a new table or a
    // dragged node.
    void layOut();
    void placeLabels();
    static QFont labelFont();

    ParaStruct* design;
    int lineSelection = 0;
    std::unique_ptr<BridleData> copy;
    int slot = -1;
    BridleTable current;
    QList<TableLabel> places;
    double s = 1.0;
    double tx = 0.0, ty = 0.0;
    int dragged = -1;
    QPoint lastPos;
};
