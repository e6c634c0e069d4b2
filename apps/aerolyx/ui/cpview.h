#pragma once

// Pressure coefficient along the chord, upper side, lower side and their
// difference, over the airfoil at the angle of attack; Cp grows downward.

#include "apps/aerolyx/ui/plotframe.h"

#include <QList>
#include <QPolygonF>
#include <QRectF>

namespace aerolyx {

class cpCoef : public ZoomView {
    Q_OBJECT
public:
    explicit cpCoef(QWidget* parent = nullptr);

    // What the last paint drew, in chart coordinates before zoom and pan.
    const QPolygonF& Upper_Curve() const { return upperCurve; }
    const QPolygonF& Lower_Curve() const { return lowerCurve; }
    const QPolygonF& Difference_Curve() const { return differenceCurve; }
    const QPolygonF& Outline() const { return outline; }
    // Label of the vertical grid line i (0..15) along the chord.
    static QString Chord_Label(int i);
    // Where the chord labels stand, in chart coordinates for the view's
    // size: along the lower edge, under their grid lines, away from the
    // Cp = 0 line and the airfoil drawn on it.
    QList<QRectF> Chord_Label_Boxes() const;
    // The chart's texts: its title, the name of the Cp axis and the legend
    // of the three curves (one box for its three lines). Each at its place
    // along the top when the curves of the last paint leave it free, else
    // farther along the top or down in the rows below Cp = 2, above the
    // chord labels; a text with no free place stays where it is wanted.
    enum { TitleText, CpText, LegendText };
    QList<QRectF> Text_Boxes() const;

public slots:
    void scaleView(qreal) {}

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void Raster_Net(QPainter* painter);
    void paint_airfoil(QPainter* painter);
    void CP_Polar(QPainter* painter);
    void Paint_Texts(QPainter* painter);
    QPointF Chart(double x, double cp) const;

    QPolygonF upperCurve;
    QPolygonF lowerCurve;
    QPolygonF outline;
    QPolygonF differenceCurve;
    int rectW = 0, rectH = 0;
    double chartWidth = 0;
    double halfHeight = 0;
    double leftMargin = 0;
    double middle = 0;
    double yLabelStep = 0.5;
    double cpSpan = 2.5;
    double flowAngle = 0;
};

// Index of the point of least |x| among points 3 .. n-4; 0 for fewer than 7.
int f_nose_index(const QPolygonF& p);
// The point on the far side of the nose that lies just before the x of point i.
int Find_i2_index(const QPolygonF& p, int nose, int i);
// The mirror rule toward the start of p: the last upper-side point from 1
// on, before the nose, whose x still lies beyond that of point i; 0 when
// point 1 does not, i itself for the nose.
int Find_i1_index(const QPolygonF& p, int nose, int i);

} // namespace aerolyx
