#pragma once

// The " 2D" window of the bridle manager: the current line group seen from
// the front. The right half carries every line's length, the mirrored left
// half every line's diameter. It follows the group selection and every
// change of the lines or of the loading fields. Both halves open fitted
// into the window (widgets/fitsession.h).

#include <QDialog>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>

#include "core/bridledata.h"
#include "widgets/fitsession.h"

class ParaStruct;

class RopesWidget : public QDialog
{
    Q_OBJECT

public:
    explicit RopesWidget(QWidget* parent = nullptr);
    ~RopesWidget() override;

    QSize sizeHint() const override { return QSize(1024, 768); }
    QSize minimumSizeHint() const override { return QSize(400, 400); }

    // The view and what it shows (for the manager and the tests).
    double zoomExponent() const { return e; }
    double scale() const { return s; }
    QPointF translation() const { return QPointF(tx, ty); }
    const QList<LineProp>& lines() const { return shownLines; }
    // The diameter labels of the mirrored half where they are drawn (widget
    // coordinates): each at its line's middle, or moved clear of the labels
    // placed before it, a leader pointing back to the line; none covers
    // another. A label with no free place nearby is left out.
    struct DiameterLabel {
        QRectF box;
        QString text;
        QPointF line; // the middle of its mirrored line
    };
    QList<DiameterLabel> diameterLabels() const;
    // The group the bridle manager has selected (its lineSelection: 2..5
    // L1..L4, 7 the brakes, anything else none).
    void setLineSelection(int selection) { lineSelection = selection; }

public slots:
    void refreshRopes();
    void transformPainter(QPainter& painter, double xscale);

    // The group's lines, both halves, in the window's plan units (y across,
    // z down): what a fit shows whole.
    QRectF drawingExtent() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setExponent(double exponent);
    bool fitToLines();

    const ParaStruct* design;
    int lineSelection = 0;
    std::unique_ptr<BridleData> copy;
    QList<LineProp> shownLines;
    double e = 8.5;
    double s = 0.0;
    double tx = 0.0, ty = 0.0;
    QPoint lastPos;
    FitSession fits;
};
