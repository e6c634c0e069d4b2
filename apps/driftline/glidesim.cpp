#include "apps/driftline/glidesim.h"

#include "core/gslsetup.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_spline.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

const double t_kot[6] = {0, 10, 20, 30, 40, 45};
const double t_Cl[6] = {0.26, 0.75, 1.4, 2.0, 2.51, 2.75};
const double t_Cd[6] = {0.05, 0.15, 0.4, 0.8, 1.14, 1.95};

namespace {

const double PathStep = 0.25;     // m of path per step
const double LowestSpeed = 0.5;   // m/s
const double HalfRho = 0.6125;    // half the air density, kg/m3
const double Gravity = 9.81;      // m/s2
const double KmhPerMs = 3.6;
const double FrameStep = 0.075;   // s of flight per animation frame
const double AnimationEnd = 60;   // s

// A natural cubic spline through a table; invalid when the table is not
// one GSL accepts (fewer than three points, abscissae not increasing).
class NaturalSpline
{
public:
    NaturalSpline(int n, const double *xa, const double *ya)
        : xs(xa, xa + std::max(n, 0)), ys(ya, ya + std::max(n, 0))
    {
        Gsl_Errors_Off();
        if (n < 3)
            return;
        spline = gsl_spline_alloc(gsl_interp_cspline, size_t(n));
        acc = gsl_interp_accel_alloc();
        if (spline && acc && gsl_spline_init(spline, xa, ya, size_t(n)) == GSL_SUCCESS)
            valid = true;
    }
    ~NaturalSpline()
    {
        if (spline)
            gsl_spline_free(spline);
        if (acc)
            gsl_interp_accel_free(acc);
    }
    NaturalSpline(const NaturalSpline &) = delete;
    NaturalSpline &operator=(const NaturalSpline &) = delete;

    bool isValid() const { return valid; }
    bool holds(int n, const double *xa, const double *ya) const
    {
        return size_t(n) == xs.size()
            && std::memcmp(xs.data(), xa, xs.size() * sizeof(double)) == 0
            && std::memcmp(ys.data(), ya, ys.size() * sizeof(double)) == 0;
    }
    double first() const { return xs.front(); }
    double last() const { return xs.back(); }
    // Value at x inside [first, last]; not a number when GSL refuses.
    double at(double x) const
    {
        double y = NAN;
        if (!valid || gsl_spline_eval_e(spline, x, acc, &y) != GSL_SUCCESS)
            return NAN;
        return y;
    }

private:
    std::vector<double> xs, ys;
    gsl_spline *spline = nullptr;
    gsl_interp_accel *acc = nullptr;
    bool valid = false;
};

// The glide looks up the same two tables thousands of times per run: keep
// the splines of the tables used last instead of building them every time.
const NaturalSpline &splineOf(int n, const double *xa, const double *ya)
{
    static thread_local std::vector<std::unique_ptr<NaturalSpline>> recent;
    for (const auto &s : recent)
        if (s->holds(n, xa, ya))
            return *s;
    if (recent.size() >= 4)
        recent.erase(recent.begin());
    recent.push_back(std::make_unique<NaturalSpline>(n, xa, ya));
    return *recent.back();
}

} // namespace

double interpSpline1(int n, const double *xa, const double *ya, double x)
{
    const NaturalSpline &s = splineOf(n, xa, ya);
    if (!s.isValid())
        return 0;
    if (!(x > 0))
        x = 0;
    if (x > s.last())
        x = s.last();
    if (x < s.first())
        x = s.first();
    return s.at(x);
}

void interpSpline(int n, int m, const double *xa, const double *ya, double *out)
{
    if (n < 1 || m < 1 || !(xa[n - 1] > xa[0]))
        return;
    const NaturalSpline &s = splineOf(n, xa, ya);
    if (!s.isValid())
        return;
    const double h = (xa[n - 1] - xa[0]) / m;
    for (int k = 0; k < m; ++k)
        out[k] = s.at(xa[0] + k * h);
}

QVector<QPointF> Inter_Poly(int n, const double *x, const double *y, int m)
{
    if (n < 2 || m < 1)
        return {};
    std::vector<double> p(static_cast<size_t>(n));
    std::vector<double> outX(static_cast<size_t>(m), 0.0), outY(static_cast<size_t>(m), 0.0);
    for (int i = 0; i < n; ++i)
        p[size_t(i)] = i;
    interpSpline(n, m, p.data(), x, outX.data());
    interpSpline(n, m, p.data(), y, outY.data());
    QVector<QPointF> points;
    points.reserve(m);
    for (int k = 0; k < m; ++k)
        points.append(QPointF(outX[size_t(k)], outY[size_t(k)]));
    return points;
}

double f_CCD(double att, const double *xa, const double *ya)
{
    return interpSpline1(6, xa, ya, att);
}

double f_CCL(double att, const double *xa, const double *ya)
{
    return interpSpline1(6, xa, ya, att);
}

double impulsTriangle(double t1, double t2, double t)
{
    if (!(t1 < t2) || !(t1 < t && t < t2))
        return 0;
    const double mid = (t1 + t2) / 2;
    if (t <= mid)
        return (t - t1) / (mid - t1);
    return (t2 - t) / (t2 - mid);
}

double impulseAngle(bool mode, double maxatt, double t1, double t2, double t)
{
    if (!mode)
        return 0;
    const double f = impulsTriangle(t1, t2, t);
    return f == 0 ? 0 : maxatt * f;
}

bool GlideSimulation::calculate_flight(double T60)
{
    flights.clear();
    const double k = HalfRho * S / M;
    double v = V0 >= LowestSpeed ? V0 : LowestSpeed;

    if (!(T60 > 0) || !(x_range > 0))
        return true;

    double t = 0, s = 0, x = 0, y = 0, theta = 0;
    double cosT = 1, sinT = 0;
    bool triggered = false;
    double t1 = 4000, t2 = 0;

    for (;;) {
        if (imp_mode && !triggered && KmhPerMs * v >= imp_V) {
            triggered = true;
            t1 = t;
            t2 = t + imp_tw;
        }
        const double alpha = att_angle + impulseAngle(imp_mode, imp_maxatt, t1, t2, t);
        const double q = v * v * k;
        const double cd = f_CCD(alpha, t_kot, t_Cd);
        const double at = Gravity * sinT - cd * q;
        const double cl = f_CCL(alpha, t_kot, t_Cl);

        const double dt = PathStep / v;
        s += PathStep;
        t += dt;

        // Normal acceleration, toward the ground side of the path.
        const double an = Gravity * cosT - cl * q;
        const double xn = x + PathStep * cosT - 0.5 * sinT * an * dt * dt;
        const double yn = y + PathStep * sinT + 0.5 * cosT * an * dt * dt;
        if (xn >= x_range)
            return false;

        const double dTheta = std::atan2(an * dt, v + at * dt);
        theta += dTheta;
        const double vn = (v + at * dt) / std::cos(dTheta);

        Flight f;
        f.time = t;
        f.path = s;
        f.dX = xn;
        f.dY = yn;
        f.angle = theta;
        f.U = v;
        f.U_end = vn;
        f.Ux = 4 * (xn - x) * v;
        f.Uy = 4 * (yn - y) * v;
        f.Ux_end = 4 * (xn - x) * vn;
        f.Uy_end = 4 * (yn - y) * vn;
        const double dux = f.Ux_end - f.Ux, duy = f.Uy_end - f.Uy;
        f.acc = std::sqrt(dux * dux + duy * duy) / dt;
        f.att = alpha;
        flight = f;
        flights.append(f);

        if (!(T60 > t))
            return true;

        sinT = std::sin(theta);
        cosT = std::cos(theta);
        x = xn;
        y = yn;
        v = vn;
    }
}

QList<Flight> GlideSimulation::Whole_Flight() const
{
    GlideSimulation run(*this);
    run.calculate_flight(AnimationEnd);
    return run.flights;
}

void GlideSimulation::animate_flight()
{
    anim_T = 0;
    for (;;) {
        if (!calculate_flight(anim_T))
            return;
        anim_T += FrameStep;
        frameDone();
        if (!(anim_T < AnimationEnd))
            return;
    }
}
