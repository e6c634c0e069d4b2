#pragma once

// Lift and pitching-moment coefficients of the airfoil over the angle of
// attack from -10 to +10 degrees: a curve over a grid and a table of the
// 21 values.

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace aerolyx {

// What the lift and the moment polar share; each twin supplies its
// coefficient and its grid.
class PolarView : public QWidget {
    Q_OBJECT
public:
    // Angles of the sweep, degrees.
    static constexpr int kFirstAngle = -10;
    static constexpr int kLastAngle = 10;

    // Coefficient at the angle of attack alpha (degrees).
    virtual double Coefficient(double alpha) const = 0;
    // The table as drawn: the header, then one row per angle.
    QStringList Table_Rows() const;
    // The curve in widget coordinates for the widget's current size.
    QPolygonF Curve() const;
    // Labels of the horizontal grid lines, from the top row down. The
    // chart's range is the view's own unless a coefficient of the sweep
    // lies beyond it: then it is 2, 5, 10 ... times as large, the least
    // that holds them all.
    QStringList Grid_Labels() const;
    // The labels of the angle axis where they are drawn: round angles as
    // many as stand apart at the view's width, each whole inside the view.
    struct AxisLabel {
        QRectF box;
        QString text;
    };
    QList<AxisLabel> Angle_Labels() const;
    // The values of the labelled grid lines where they are drawn: each on
    // its line left of the value axis, or right of it where the curve or
    // its points run through the left place (the moment's nearly level
    // curve ran through its own value), inside the chart and off the angle
    // labels; the zero once. A value with no free place is left out.
    QList<AxisLabel> Value_Labels() const;
    // The colour of the texts and the grid: black or white, whichever
    // reads on the view's background.
    QColor Text_Colour() const;

protected:
    struct Style {
        int yDivisions;
        double yLabelUnit;
        double yRange;
        int lineStep;        // degrees between vertical grid lines
        int labelEvery;      // label every this many rows
        bool wholePixelOrigin;
        const char* title;
        const char* name;
        int nameY;
        const char* header;
        Qt::GlobalColor curveColour;
    };

    PolarView(QWidget* parent, const Style& style);
    void paintEvent(QPaintEvent* e) override;

    myData* data;

private:
    void Layout() const;
    // The coefficients of the sweep and the range they need.
    void Sweep() const;
    double Range_Factor() const;
    void RasterNet(QPainter* painter);
    QFont Grid_Font() const;
    void Paint_Polar(QPainter* painter);
    QPointF Point(double alpha, double c) const;

    Style style;
    mutable int w = 0, h = 0;
    mutable double halfWidth = 0, quarterHeight = 0;
    mutable double originX = 0, originY = 0;
    // As the last sweep found them.
    mutable QList<double> values;
    mutable double rangeFactor = 1;
};

class Clift : public PolarView {
    Q_OBJECT
public:
    explicit Clift(QWidget* parent = nullptr);
    // Lift coefficient at the effective angle alpha - zero-lift angle.
    double Coefficient(double alpha) const override;
};

class Momentum : public PolarView {
    Q_OBJECT
public:
    explicit Momentum(QWidget* parent = nullptr);
    // Moment coefficient about the quarter chord.
    double Coefficient(double alpha) const override;
};

} // namespace aerolyx
