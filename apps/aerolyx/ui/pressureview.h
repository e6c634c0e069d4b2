#pragma once

// The airfoil at the effective angle with its pressure distribution as
// needles on the contour, the chord, and the centre of pressure, the
// aerodynamic centre and the centres of pressure of the parts in front of
// and behind it.

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QPointF>
#include <QPolygonF>
#include <QWidget>

#include <limits>

namespace aerolyx {

class Wpotential : public QWidget {
    Q_OBJECT
public:
    explicit Wpotential(QWidget* parent = nullptr);

    // Recomputes the five results and the normal force for the record as it
    // is now; nothing before an airfoil is loaded. Every paint that draws an
    // airfoil does the same.
    void Compute_Results();

    // Results of the last computation (not a number before the first one, or
    // where a part of the chord carries no normal force).
    double EffAngle() const { return effAngle; }
    double CpPosition() const { return cpPosition; }
    double AcPosition() const { return acPosition; }
    double Cp1Position() const { return cp1Position; }
    double Cp2Position() const { return cp2Position; }
    double NormalForce() const { return normalForce; }

    // The contour in drawing units (y down, turned by the effective angle,
    // not shifted) for the widget's current size.
    QPolygonF Contour() const;

    // Velocity potential of the flow around the unit circle, polar
    // coordinates about its centre, k the circulation value and alpha the
    // stream direction: cos(theta - alpha) (r^2 + 1)/r + k theta, the
    // partner of the stream function (r - 1/r) sin(theta - alpha) - k ln r.
    static double potential_value(double r, double theta, double k, double alpha);
    // The circle-plane point (r, theta) itself, unmapped, y up.
    static QPointF New_Point_Direct(double r, double theta);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void Layout() const;
    void Paint_Potential(QPainter* painter);
    QPointF Chord_Point(double c, QPointF nose, QPointF tail) const;

    myData* data;
    mutable int originX = 0;
    mutable int originY = 0;
    double acPosition = std::numeric_limits<double>::quiet_NaN();
    double cpPosition = std::numeric_limits<double>::quiet_NaN();
    double cp1Position = std::numeric_limits<double>::quiet_NaN();
    double cp2Position = std::numeric_limits<double>::quiet_NaN();
    double effAngle = std::numeric_limits<double>::quiet_NaN();
    double normalForce = std::numeric_limits<double>::quiet_NaN();
    mutable double scale = 0;
};

// Unit normal of the segment from point k to k + 1, for every point; the
// last point takes the last segment's, the first two points the first's.
void calculate_airfoil_normal(int n, const QPointF* points, QPointF* normals);
// Index of the leftmost point among n/4 .. 3n/4 (exclusive); 0 if none.
int noseIndex(int n, const QPointF* points);
// Arrow of the normal force: up the screen for a positive value.
QPolygonF f_arrow(double value);
// Plus sign with arms of length size, drawn out from the centre and back.
QPolygonF f_cross(int size);

} // namespace aerolyx
