#pragma once

#include "apps/driftline/glidesim.h"

#include <QFont>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QVector>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

class QPainter;

// The text of the tool tip that describes one sample of the glide.
QString flightInfoText(const Flight &f);

// The polar chart over the glide: its frame, grid lines, labels and curves
// in view coordinates.
struct ChartLabel {
    QRectF box;
    QString text;
};
struct PolarChart {
    QRectF frame;
    QList<double> verticals;     // x of the grid lines at the labelled angles
    QList<double> horizontals;   // y of the grid lines at the labelled lift values
    QList<ChartLabel> angleLabels, liftLabels, ratioLabels;
    QPolygonF lift, drag, ratio;
};

// Where the chart stands in a view of the given size: the upper right, 45 %
// of the width and 30 % of the height, moved down below the input fields
// that stand over it or its labels (`labelRoom` around the frame).
QRectF Polar_Inset(const QSizeF &view, const QList<QRectF> &fields, double labelRoom);

// The chart in `frame` for the lift and drag tables (x: angle of attack):
// angle labels below the frame, lift values to its left and glide-ratio
// values to its right, each at round steps chosen from the room the frame
// gives (a label and a gap apart). Empty but for the frame when the tables
// are empty or do not match.
PolarChart Polar_Chart(const QRectF &frame, const QVector<QPointF> &CL, const QVector<QPointF> &CD,
                       const std::function<double(const QString &)> &textWidth, double textHeight);

// The glide view: the polar chart of the suit, the grid of the flight plane,
// the simulated path and the pilot figure at its end. A left click replays
// the animation, a right click shows the data of the path point under the
// mouse, a middle drag moves the flight plane up and down.
class WSuit : public QWidget, public GlideSimulation
{
    Q_OBJECT
public:
    explicit WSuit(QWidget *parent = nullptr);

    void set_att_angle(double v) override;

    void initWingSuitClass();
    Flight find_flight_point();
    void showInfoPnt(QPointF p, const QString &text);

    // Screen point of a sample on the unpanned flight plane of the last paint.
    QPointF planePoint(const Flight &f) const;
    // The polar chart as the last paint laid it out.
    PolarChart polarChart() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void frameDone() override;

private:
    void transformPainter(QPainter &painter);
    void takeExtents();
    void draw_Net(QPainter *painter);
    void draw_flight(QPainter *painter);
    void paint_pilot(QPainter *painter, QPointF P, double theta, double alpha);
    void draw_Polars(QPainter *painter);
    QList<QRectF> fieldRects() const;
    QFont chartFont() const;

    QRect wsRect;           // (0, 0, width, height) of the last paint
    int drawHeight = 0;     // height less 1
    int drawWidth = 0;      // width less 1
    double topMargin = 0;
    double leftMargin = 0;
    QPoint lastMouse;
    bool pressed = false;
    double panY = 0;
    double panX = 0;
    double zoom = 1;
};
