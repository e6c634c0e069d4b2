#pragma once

// What the analyser's views share: the analysis record they paint from, the
// zoom and pan of the four zoomable views, and the numbered pen colours.

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QPoint>
#include <QWidget>

class QPainter;

namespace aerolyx {

// Limits of the zoom: the wheel keeps the factor in [kMinWheelScale,
// kMaxScale], painting never goes below kMinPaintScale.
constexpr double kMaxScale = 8.0;
constexpr double kMinWheelScale = 0.45;
constexpr double kMinPaintScale = 0.5;

// A view that the wheel zooms, a middle-button drag pans and a left click
// resets. The painter transform is scale first, then the pan offset.
class ZoomView : public QWidget {
    Q_OBJECT
public:
    explicit ZoomView(QWidget* parent = nullptr);

    double ScaleFactor() const { return scaleFactor; }
    double XTrans() const { return xTrans; }
    double YTrans() const { return yTrans; }

public slots:
    void setXTrans() { repaint(); }
    void setYTrans() { repaint(); }

protected:
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    // Clamps the zoom to the painting minimum and applies zoom and pan.
    void Apply_Zoom(QPainter* painter);

    myData* data;
    double scaleFactor = 1.0;
    double xTrans = 0;
    double yTrans = 0;
    QPoint lastPos;
};

// Sets a solid pen of the numbered colour (1 red ... 14 dark yellow); other
// numbers leave the pen as it is.
void SetPenColor(QPainter* p, int index);

// The text of a value in fixed notation: "%1" with the given decimals.
QString Fixed(double value, int decimals, int width = 0);

} // namespace aerolyx
