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
#include <QStringList>
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

// The labels of the flight plane's grid: the distances above its top line,
// each starting at its grid line, the heights (from 100 m on) right of its
// left line, on theirs. `origin` is where the plane's top and left lines
// meet, `extent` the drawing's width and height, over which xRange and
// yRange metres run. A label that would cover something to keep off (an
// input field, the glide's path and its time labels) moves along its grid
// line until it covers nothing: a distance label down (and to the left of
// its line), a height label to the left of its line or on to the right; one
// that finds no such place nearby is left out.
struct NetLabel {
    QRectF box;
    QString text;
};
QList<NetLabel> Net_Labels(QPointF origin, QSizeF extent, double xRange, double yRange, const QList<QRectF> &keepOff,
                           const std::function<double(const QString &)> &textWidth, double ascent, double lineHeight);

// Small squares along a path on screen, a few pixels apart, for labels to
// keep off.
QList<QRectF> Path_Cover(const QPolygonF &path);

// Where the time labels of the glide stand: each wanted with its baseline on
// its point of the path, moved above or below it (or beside it) until it
// covers nothing to keep off (the path, the input fields) nor an earlier
// label, and stays inside `bounds`; a label that finds no such place comes
// back null. One box per point, in order.
QList<QRectF> Time_Label_Boxes(const QList<QPointF> &points, const QStringList &texts, const QRectF &bounds,
                               const QList<QRectF> &keepOff,
                               const std::function<double(const QString &)> &textWidth, double ascent,
                               double lineHeight);

// Where the chart stands in a view of the given size: 45 % of the width and
// 30 % of the height at the right, as high up as it can stand below what it
// must keep off (the input fields, the grid's labels) with `labelRoom`
// around its frame for its own labels, and where the glide's path does not
// run through it or its labels; where the path runs through it wherever it
// stands, where it covers the fewest points of the path.
QRectF Polar_Inset(const QSizeF &view, const QList<QRectF> &keepOff, double labelRoom, const QPolygonF &path = {});

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
    // The grid's labels as the last paint laid them out.
    QList<NetLabel> netLabels() const;
    // The time labels of the glide, one per labelled sample (null: left
    // out), as the last paint laid them out.
    QList<QRectF> timeLabels() const;
    // The path of the glide the running (or last) animation ends with, on
    // the flight plane of the last paint: the chart keeps off it.
    QPolygonF foreseenPath() const;

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
    QFont netFont() const;
    void startAnimation();
    // The grid's labels and the chart's frame, laid out again when the
    // view's size or the foreseen glide changes (not at every frame).
    struct Overlays {
        QSize size;
        int glide = -1;
        QList<NetLabel> labels;
        QList<QRectF> times;
        QRectF chart;
    };
    const Overlays &overlays() const;

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
    QList<Flight> foreseen;  // the whole glide of the running animation
    int glide = 0;           // counts the animations started
    mutable Overlays overlayCache;
};
