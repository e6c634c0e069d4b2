#pragma once

#include "apps/driftline/glidesim.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>

class QPainter;

// The text of the tool tip that describes one sample of the glide.
QString flightInfoText(const Flight &f);

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
