#pragma once

// Stream lines of the potential flow around the airfoil, traced in the
// circle plane where the stream function has a closed form and carried into
// the airfoil plane by the map.

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QWidget>

namespace aerolyx {

// Stream function of the flow around the unit circle, polar coordinates
// about its centre, theta from the free-stream direction:
// psi = (r - 1/r) sin(theta) - k ln(r).
// Sine of the angle at which the line psi crosses the circle of radius r.
double P_Val(double r, double k, double psi);
// r psi on the ray of sine s.
double f_Left(double r, double s, double k);
// True where psi grows with r on the ray of sine s.
bool f_ascend(double r, double s, double k);

// The stream-function values drawn: 0, then running sums of 0.03 1.15^j
// while they stay at or below 3.
QList<double> Stream_Values();

// Traces stream lines for one record at one drawing scale (pixels per chord).
class StreamTracer {
public:
    StreamTracer(const myData* data, double scale);

    // Angle between the real axis of the map and the free stream in the
    // circle plane: the effective angle, the same the circulation is set
    // for, so that the rear stagnation point lies at zeta = 1 and the flow
    // leaves the trailing edge.
    double Flow_Angle() const { return flowAngle; }

    // Line psi > 0 through the upper half (0 < theta < pi), from the
    // downstream far field over the body upstream; drawing units (y down),
    // scaled, not yet turned or shifted. psi <= 0 gives the dividing line
    // that leaves the front stagnation point.
    QPolygonF Implic_UP(double k, double rMax, double psi, double dTheta, double dR) const;
    // The same for a line psi < 0 through the lower half.
    QPolygonF Implic_DOWN(double k, double rMax, double psi, double dTheta, double dR) const;
    // Radius in (1, r0) at which the line psi crosses the ray theta.
    double ro_bisek(double r0, double k, double psi, double theta) const;
    // Image of the circle-plane point (r, theta) turned by the flow angle,
    // y negated, not scaled.
    QPointF New_Point(double r, double theta) const;
    // The circle-plane point (r, theta) itself, unmapped and unturned, y
    // negated.
    static QPointF New_Point_Direct(double r, double theta);

private:
    void Append(QPolygonF& line, double r, double theta) const;

    const myData* data;
    double scale;
    double flowAngle;
};

// One step of the radius search: moves the lower or the upper end of the
// bracket to r, by the slope of psi at r.
void f_decision(double psi, double k, double s, double r, double* lo, double* hi);

class Wstream : public QWidget {
    Q_OBJECT
public:
    explicit Wstream(QWidget* parent = nullptr);

    // The stream lines and the airfoil outline in widget coordinates for the
    // widget's current size; empty before an airfoil is loaded.
    QList<QPolygonF> Stream_Lines() const;
    QPolygonF Airfoil() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void Layout() const;
    void Paint_Stream_Lines(QPainter* painter);

    myData* data;
    mutable int originX = 0;
    mutable int originY = 0;
    mutable double scale = 0;
};

} // namespace aerolyx
