#pragma once

// The pattern preview: paints the sheet of one pattern kind, with zoom (the
// wheel, around the cursor), a fit of the whole sheet to the view (left
// button), a reset (right button) and panning (middle button, one step every
// tenth mouse move). Each kind's sheet is fitted the first time it is drawn
// after the dialog was shown; later the zoom and anchor stay when another
// kind is chosen. A sheet without pieces says why; before any kind is chosen
// the view says what to choose. The
// sheets themselves are drawn by the pattern writers (patterns/patternsheet.h)
// in plan units; the view only holds and paints what they drew.

#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSet>
#include <QString>
#include <QWidget>

#include "patterns/patternsheet.h"

class GlobClass;
class ParaStruct;
class QMouseEvent;
class QPainter;
class QPaintEvent;
class QShowEvent;
class QWheelEvent;

// What an empty sheet of pattern kind 0 .. 5 says: that the design has no
// such pieces ("no straps in this design"); empty for any other kind.
QString Empty_Sheet_Text(int kind);

// The zoom after a wheel step: up (delta > 0) or down by `step`, or by half
// the zoom while the zoom is below one step; never below the smaller of
// `step` and the zoom of the last fit (0: no fit yet).
double Wheel_Zoom(double zoom, int delta, double step, double fitZoom);

class PatternArea : public QWidget
{
    Q_OBJECT

public:
    explicit PatternArea(QWidget* parent = nullptr);

    // Takes the view's rectangle, the frame of the automatic fit.
    void initPatternArea();
    // Draws the sheet of pattern kind 0 .. 5 with the dialog's choices; any
    // other kind empties the view. Returns why the design has no patterns,
    // empty when it has.
    QString Create_Previews(int kind, const PatternOptions& options = {});
    // Fits the picture into the view.
    void Auto_Zoom();
    // The cursor's position in the view.
    QPointF myAnchor() const;
    // Paints a path under the view's zoom about its anchor.
    void my_paint(QPainter* painter, const QPainterPath& path, const QPen& pen) const;

    const QPainterPath& picture() const { return patternPath; }
    // What the view says instead of an empty sheet; empty while it shows
    // pieces (or no kind was chosen).
    const QString& emptySheetNote() const { return emptyNote; }
    double zoomFactor() const { return zoom; }
    // What the view says before a kind is chosen.
    static QString chooseHint();
    QPointF zoomAnchor() const { return anchor; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    const ParaStruct* design = nullptr;
    GlobClass* glob = nullptr;
    QPainterPath patternPath; // what is shown, plan units
    double zoom = 1.0;
    double zoomStep = 0.5;    // per wheel notch; also the smallest zoom, unless a fit went below
    double fitZoom = 0.0;     // zoom of the last fit; 0 before the first
    QPointF anchor;           // fixed point of the zoom, view coordinates
    QPointF lastAnchor;
    QPoint lastMousePos;
    int moveCount = 0;        // mouse moves since the last press
    QRectF drawingRect;       // framed box of the last fit
    QRect viewRect;
    QString emptyNote;
    bool kindShown = false;   // a sheet of a pattern kind (or its note) is on the view
    QSet<int> fittedKinds;    // kinds fitted since the dialog was shown
};
