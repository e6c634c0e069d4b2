#pragma once

// The chart of the polar window: one curve from a table of x and y values
// with a dotted grid, grid labels, axis captions and a title. Wheel zooms,
// middle button pans, a left click brings the start view back. On the speed
// polar the tangent from the origin marks the best glide with its speeds.
//
// Chart coordinates (u, v): u to the right, v downward; a value (u, v) is
// drawn at (offsetX + zoom W u / xRange, offsetY + zoom H v / yRange).

#include "aero/polarview.h"

#include <QFont>
#include <QLineF>
#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <QWidget>

class ParaStruct;
class QPainter;

class grafClass : public QWidget
{
    Q_OBJECT

public:
    explicit grafClass(QWidget* parent = nullptr);

    // A curve over the angle of attack (values 1 .. n-2), the glide angle
    // over the calage (all values, x labels the pilot displacements of the
    // points) and the speed polar (values 1 .. n-2, with the tangent).
    void setGrafArray(int n, const double* x, const double* y, const QString& title, const QString& xCaption,
                      const QString& yCaption, double sx, double sy, int gx, int gy);
    void setGrafFinesse(int n, const double* x, const double* y, const QString& title, const QString& xCaption,
                        const QString& yCaption, double sx, double sy, int gx, int gy);
    void setVelocityGraf(int n, const double* x, const double* y, const QString& title, const QString& xCaption,
                         const QString& yCaption, double sx, double sy, int gx, int gy);
    // One of the three, as the chart says.
    void load(const PolarChart& chart);

    void reset_grafRect();

    // State, for the window and the tests.
    const QPolygonF& chartPoints() const { return points; }
    const QString& chartTitle() const { return title; }
    double viewZoom() const { return zoom; }
    double viewOffsetX() const { return offsetX; }
    double viewOffsetY() const { return offsetY; }
    bool velocity() const { return velocityMode; }
    bool finesse() const { return finesseMode; }
    int optimumIndex() const { return optimum; }
    // The best-glide speed of the speed polar, km/h; "XXX" until there is one.
    QString getOptimumVString() const { return optimumText; }
    // What the chart shows, in its own pixels for the present zoom and pan:
    // the curve, the best-glide tangent of the speed polar (null for the
    // other charts), and where the title and the best-glide note stand.
    QPolygonF screenCurve() const;
    QLineF screenTangent() const;
    ChartTextBoxes textBoxes() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void store(ChartMode mode, int n, const double* x, const double* y, const QString& title,
               const QString& xCaption, const QString& yCaption, double sx, double sy, int gx, int gy);
    QPolygonF scalePoly(const QPolygonF& poly) const;
    void transformPainter(QPainter* painter) const;
    void drawAxes(QPainter* painter);
    void drawOptLine(QPainter* painter, const QPolygonF& screenPoints);
    QFont titleFont() const;

    const ParaStruct* design;
    QPoint lastMousePos;
    QPolygonF points;
    double xMin = 1e6, xMax = -1e6, yMin = 1e6, yMax = -1e6;
    double xRange = -2e6, yRange = -2e6;
    double viewWidth = 0, viewHeight = 0;
    QRect frameRect;
    QString title, xCaption, yCaption;
    int xGrid = 10, yGrid = 10;
    int xDecimals = 1, yDecimals = 3;
    double xScale = 1, yScale = 1;
    bool velocityMode = false;
    bool finesseMode = false;
    QList<double> xLabelValues; // the calage chart's pilot displacements of the points
    double offsetX = 0, offsetY = 0, zoom = 1;
    bool startView = true;   // not zoomed or panned since the start view: it follows the chart's size
    int charWidth = 0, charHeight = 0;
    int optimum = 0;
    QString optimumText = QStringLiteral("XXX");
};

// Draws s reading upwards, starting at p.
void vertDraw(QPainter* painter, QPointF p, const QString& s);
