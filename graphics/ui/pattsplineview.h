#pragma once

// The "Texture colors" tab of the design dialog: the panel pieces of the
// half wing cut along the design lines and laid out side by side, coloured
// with the mouse. Left click or drag drops the chosen colour on a piece
// (while colouring is on), the middle button pans, the wheel zooms about the
// cursor, the right button shows the slope warnings of the cuts. The work is
// done by graphics/piececolouring.h; this widget draws it.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include "graphics/piececolouring.h"

class PattSpline : public QWidget
{
    Q_OBJECT

public:
    explicit PattSpline(QWidget* parent = nullptr);

    void SetMyColor(QColor c) { model.SetMyColor(c); }
    void SetColoring(bool on);
    void InitGray_PolyColor();
    // Writes the colours into the project's ".cnp"; false when nothing was
    // written (no project, or the file could not be written).
    bool Save_Canopy_Data();
    // Colours chosen and not saved are dropped when the dialog closes.
    void Forget_Unsaved_Colours() { model.Forget_Unsaved_Colours(); }
    void Warning_Info();

    PieceColouring& colouring() { return model; }
    // The text of the last warnings tip and of the last notice about the
    // colours, for the tests.
    const QString& lastWarnings() const { return warningsText; }
    const QString& lastNotice() const { return noticeGiven; }

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
    void notify(const QString& notice);
    void my_polylist_paint(QPainter* painter, int);

    PieceColouring model;
    QRect widgetRect;
    QPoint lastMousePos;
    bool mouseSeen = false;
    QString warningsText;
    QString noticeGiven;
};
