#pragma once

#include <QList>
#include <QPointF>
#include <QVector>

// One sample of the simulated glide: the state after one step of 0.25 m of
// path. x grows in the flight direction and y downward, so dY is the height
// lost; the path angle is measured from the horizontal, positive descending.
struct Flight {
    double time = 0;   // s, at the end of the step
    double path = 0;   // m flown, 0.25 per step
    double dX = 0;     // m from the start, horizontal
    double dY = 0;     // m of height lost
    double spare = 0;  // unused
    double angle = 0;  // rad, path angle after the step
    double U = 0;      // m/s at the start of the step
    double U_end = 0;  // m/s at the end of the step
    double Ux = 0;     // m/s horizontal speed (with U)
    double Uy = 0;     // m/s sinking speed (with U)
    double Ux_end = 0; // m/s horizontal speed (with U_end)
    double Uy_end = 0; // m/s sinking speed (with U_end)
    double acc = 0;    // m/s2, change of the velocity vector over the step
    double att = 0;    // deg, attack angle used in the step
};

// Lift and drag coefficients of the suit over the attack angle in degrees.
extern const double t_kot[6];
extern const double t_Cl[6];
extern const double t_Cd[6];

// Natural cubic spline through the n points (xa, ya), at x clamped to the
// table: x not above 0 (or not a number) reads as 0, x beyond the last
// abscissa as the last abscissa.
double interpSpline1(int n, const double *xa, const double *ya, double x);
// The natural cubic spline resampled at the m abscissae xa[0] + k h,
// h = (xa[n-1] - xa[0]) / m, k = 0 .. m-1. Writes nothing when the table's
// abscissae do not increase.
void interpSpline(int n, int m, const double *xa, const double *ya, double *out);
// m points of the smooth curve through (x[i], y[i]), parametrised by the
// point index.
QVector<QPointF> Inter_Poly(int n, const double *x, const double *y, int m);

double f_CCD(double att, const double *xa, const double *ya);
double f_CCL(double att, const double *xa, const double *ya);

// Triangle rising from 0 at t1 to 1 midway and back to 0 at t2 (0 outside
// the open interval, and when t1 is not before t2).
double impulsTriangle(double t1, double t2, double t);
// The extra attack angle of the impulse at time t.
double impulseAngle(bool mode, double maxatt, double t1, double t2, double t);

// A wingsuit pilot as a point mass gliding in the vertical plane, integrated
// along the path in steps of 0.25 m.
class GlideSimulation
{
public:
    virtual ~GlideSimulation() = default;

    void set_M(double v) { M = v; }
    void set_S(double v) { S = v; }
    void set_V0(double v) { V0 = v; }
    virtual void set_att_angle(double v) { att_angle = v; }
    void set_imp_mode(bool v) { imp_mode = v; }
    void set_imp_V(double v) { imp_V = v; }
    void set_imp_tw(double v) { imp_tw = v; }
    void set_imp_maxatt(double v) { imp_maxatt = v; }

    // One run from the start up to the time limit T60 (s); rebuilds
    // flights. True when the time limit is reached, false when the path
    // reaches x_range.
    bool calculate_flight(double T60);
    // Recomputes the glide for a time limit growing by 0.075 s per frame,
    // showing every frame, up to 60 s or until the path reaches x_range.
    void animate_flight();
    // The glide the animation of the present inputs ends with, computed at
    // once; the simulation itself is left as it is.
    QList<Flight> Whole_Flight() const;

    double M = 90;           // kg
    double S = 2.2;          // m2
    double V0 = 0.1;         // m/s
    double att_angle = 0;    // deg
    bool imp_mode = false;
    double imp_V = 240;      // km/h, speed that triggers the impulse
    double imp_tw = 10;      // s, impulse width
    double imp_maxatt = 20;  // deg, largest extra attack angle
    double x_range = 1000;   // m, horizontal range and distance limit
    double y_range = 1000;   // m, vertical range of the drawing
    double anim_T = 0;       // s, time limit of the current frame
    QList<Flight> flights;
    Flight flight;

protected:
    // Called after every frame of the animation; the view repaints here.
    virtual void frameDone() {}
};
