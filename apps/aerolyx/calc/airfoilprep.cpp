#include "apps/aerolyx/calc/airfoilprep.h"

#include "core/airfoil.h"
#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/numutil.h"
#include "apps/aerolyx/calc/flow.h"
#include "core/gslsetup.h"
#include "core/mygsllib.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_spline.h>

#include <QDebug>
#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <vector>

namespace aerolyx {

QPolygonF Natur_Airfoil(int n, const QPolygonF& p)
{
    const int c = p.size();
    if (c < 1)
        return QPolygonF();
    std::vector<double> s(c);
    s[0] = 0;
    for (int i = 1; i < c; ++i)
        s[i] = s[i - 1] + std::hypot(p[i].x() - p[i - 1].x(), p[i].y() - p[i - 1].y());
    const double step = s[c - 1] / (n - 1);
    QPolygonF out;
    out.reserve(std::max(n, 2));
    out << p[0];
    int k = 0;
    for (int j = 1; j <= n - 2; ++j) {
        const double d = j * step;
        while (k < c - 2 && !(d < s[k + 1]))
            ++k;
        if (c < 2 || !(s[k] <= d && d < s[k + 1])) {
            out << p[c - 1];
            continue;
        }
        const double f = (d - s[k]) / (s[k + 1] - s[k]);
        out << p[k] + f * (p[k + 1] - p[k]);
    }
    out << p[c - 1];
    return out;
}

namespace {
// Moves both ends of the outline onto (1, 0). Each side bends towards it
// over the last quarter of the chord, by a weight rising smoothly from 0 to
// 1: an end moved alone would leave a kink that the series smoothing and
// the map turn into ripples of the speed along the last few percent. The
// thickest part of an airfoil lies ahead of that quarter and keeps its
// thickness.
void Close_Trailing_Edge(QPolygonF* p)
{
    const int n = p->size();
    if (n < 2)
        return;
    const QPointF upper = p->first() - QPointF(1.0, 0.0);
    const QPointF lower = p->last() - QPointF(1.0, 0.0);
    int nose = 0;
    for (int i = 1; i < n; ++i)
        if ((*p)[i].x() < (*p)[nose].x())
            nose = i;
    const double blend = 0.25;
    for (int i = 0; i < n; ++i) {
        const double u = std::clamp(((*p)[i].x() - (1.0 - blend)) / blend, 0.0, 1.0);
        const double w = u * u * (3.0 - 2.0 * u);
        (*p)[i] -= w * (i <= nose ? upper : lower);
    }
    p->first() = QPointF(1.0, 0.0);
    p->last() = QPointF(1.0, 0.0);
}

QPolygonF Normalize_Once(const QPolygonF& p)
{
    double hi = -1000, lo = 1000;
    for (const QPointF& q : p) {
        hi = std::max(hi, q.x());
        lo = std::min(lo, q.x());
    }
    const double chord = hi - lo;
    if (!(chord > 0) || !std::isfinite(chord))
        return QPolygonF();
    QPolygonF out;
    out.reserve(p.size());
    for (const QPointF& q : p)
        out << q / chord;
    // A blunt trailing edge has its two ends apart: the midpoint between
    // them is the trailing edge, and both ends move onto it. Putting the
    // first point there and leaving the last where it was would hang the
    // whole gap on the lower side, and the camber line would end off the
    // chord, which the zero-lift angle weighs heavily.
    const QPointF te = (out.first() + out.last()) / 2.0;
    const QPointF shift(1.0 - te.x(), -te.y());
    for (QPointF& q : out)
        q += shift;
    Close_Trailing_Edge(&out);
    return out;
}
} // namespace

QPolygonF Normalize_airfoil(const QPolygonF& p)
{
    if (p.isEmpty())
        return QPolygonF();
    return Normalize_Once(Normalize_Once(p));
}

namespace {
// Where the outline turns round the nose, between samples: a parabola
// through the least x and its two neighbours. Samples spaced evenly along
// the outline trace x as a parabola there, so its vertex is the nose even
// when no sample hits it. Gives the sample index of the nose (fractional)
// and its x.
bool Find_Nose(int n, const double* x, double* index, double* noseX)
{
    int k = 0;
    for (int i = 1; i < n; ++i)
        if (x[i] < x[k])
            k = i;
    if (k < 1 || k > n - 2)
        return false;
    const double a = x[k - 1], b = x[k], c = x[k + 1];
    const double bend = a - 2.0 * b + c;
    *index = k;
    *noseX = b;
    if (bend > 0) {
        *index = k + (a - c) / (2.0 * bend);
        *noseX = b - (c - a) * (c - a) / (8.0 * bend);
    }
    return true;
}
} // namespace

bool Fill_ArcCos(int n, const double* x, double* t)
{
    if (n < 3)
        return false;
    // The parameter measures x from the nose itself, not from the sample
    // nearest to it: the two samples that straddle a nose no sample hits
    // would otherwise share one x, get nearly equal parameters for points
    // a whole sample apart, and throw the spline through them far off the
    // outline. The side of the nose, not the order of the arc-cosines,
    // decides the half of the range a point takes.
    double nose = 0, noseX = 0;
    if (!Find_Nose(n, x, &nose, &noseX))
        return false;
    const double span = x[0] - noseX;
    if (!(span > 0))
        return false;
    t[0] = 0;
    for (int i = 1; i < n; ++i) {
        // Points a hair outside the chord (rounding, a blunt trailing edge)
        // sit at the ends of the parameter range.
        const double c = std::acos(std::clamp(2.0 * (x[i] - noseX) / span - 1.0, -1.0, 1.0));
        t[i] = i < nose ? c : i > nose ? 2.0 * M_PI - c : M_PI;
    }
    t[n - 1] = 2.0 * M_PI;
    for (int i = 1; i <= n - 2; ++i)
        if (t[i - 1] >= t[i])
            t[i] = (t[i] + t[i + 1]) / 2.0;
    // Several points at one x (a vertical trailing edge, a wiggle in the
    // file) leave runs the averaging cannot separate, or steps too small for
    // the spline to take without swinging off the outline: spread each such
    // run evenly between the values that bound it. The spline still passes
    // through the points, only their parameter moves.
    const double least = 1e-3 * 2.0 * M_PI / (n - 1);
    for (int i = 1; i < n; ++i) {
        if (t[i] - t[i - 1] >= least)
            continue;
        const int a = i - 1;
        int b = i + 1;
        while (b < n && t[b] - t[a] < least * (b - a))
            ++b;
        if (b >= n)
            return false;
        for (int j = a + 1; j < b; ++j)
            t[j] = t[a] + (t[b] - t[a]) * (j - a) / (b - a);
        i = b;
    }
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(t[i]))
            return false;
    return true;
}

QPolygonF Finterpol(int n, const QPolygonF& p)
{
    const int N = p.size();
    if (N < 1)
        return QPolygonF();
    const int m = N / 2;
    std::vector<double> x(N), y(N), t(N);
    for (int i = 0; i < N; ++i) {
        x[i] = p[i].x();
        y[i] = p[i].y();
    }
    x[N - 1] = x[0];
    y[N - 1] = y[0];
    if (!Fill_ArcCos(N, x.data(), t.data()))
        return QPolygonF();
    // The series below takes its N samples as one period: sampled at 2pi j/N
    // the closed outline's mirror points stay mirror images, so a symmetric
    // airfoil keeps its symmetry through the smoothing.
    if (!Spline_Period_Samples(N, t.data(), x.data(), x.data())
        || !Spline_Period_Samples(N, t.data(), y.data(), y.data()))
        return QPolygonF();
    std::vector<double> X(n), Y(n);
    if (!Fourier_Proc_XY(n, m, x.data(), y.data(), X.data(), Y.data()))
        return QPolygonF();
    QPolygonF out;
    out.reserve(n);
    for (int k = 0; k < n; ++k)
        out << QPointF(X[k], Y[k]);
    return Normalize_airfoil(out);
}

QString FindThickness(const QPolygonF& p)
{
    if (p.isEmpty())
        return QString("%1").arg(0.0, 0, 'f', 2);
    double hi = -1000, lo = 1000;
    for (const QPointF& q : p) {
        hi = std::max(hi, q.y());
        lo = std::min(lo, q.y());
    }
    return QString("%1").arg((hi - lo) * 100.0, 0, 'f', 2);
}

bool Fill_Natur_Param(int n, const double* x, const double*, double* t)
{
    return Fill_ArcCos(n, x, t);
}

bool fNatur_Airfoil(int n, QPolygonF* p)
{
    const int c = p->size();
    if (n < 2 || c < 3)
        return false;
    const size_t room = size_t(std::max(c, n));
    std::vector<double> x(room), y(room), t(static_cast<size_t>(c));
    for (int i = 0; i < c; ++i) {
        x[size_t(i)] = (*p)[i].x();
        y[size_t(i)] = (*p)[i].y();
    }
    if (!Fill_ArcCos(c, x.data(), t.data()) || !interpol_Linear(c, n, t.data(), x.data())
        || !interpol_Linear(c, n, t.data(), y.data()))
        return false;
    QPolygonF out;
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out << QPointF(x[size_t(i)], y[size_t(i)]);
    *p = out;
    return true;
}

QPolygonF Adjust_Polygon_Length(int n, const QPolygonF& p)
{
    QPolygonF out;
    if (p.isEmpty())
        return out;
    const int s = std::max(1, n > 0 ? int(p.size()) / n : 1);
    for (int i = 0; i < p.size(); i += s)
        out << p[i];
    out.last() = out.first();
    return out;
}

QPolygonF airfoil_Read(int n, const QString& path)
{
    return Normalize_airfoil(Adjust_Polygon_Length(n, Read_All_AirfoilTypes(path, AirfoilReader::Aerolyx)));
}

QString WriteAirfoilTable(const QPolygonF& p)
{
    QString text;
    for (int i = 0; i < p.size(); ++i)
        text += QString("%1  %2  %3 \n").arg(i).arg(p[i].x(), 0, 'f', 5).arg(p[i].y(), 0, 'f', 5);
    return text;
}

QString WriteFftTable(int n, int every, const double* v, bool withSum)
{
    // A step below 1 would divide by zero; every index is written then.
    const int step = std::max(1, every);
    QString text;
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        sum += v[i];
        if (i % step == 0)
            text += QString("%1  %2 \n").arg(i).arg(v[i], 0, 'f', 5);
    }
    if (withSum)
        text += QString(" SUMA = %1 \n").arg(sum, 0, 'f', 8);
    return text;
}

namespace {

// The lift at an effective angle of 5 degrees: with the map scale, the
// measure of whether the mapping has settled.
constexpr double kProbeAngle = 5.0;
// Earlier iterations the mixing below draws on.
constexpr int kMixMemory = 8;

bool Settled(double now, double before)
{
    return std::fabs(now - before) <= kSettled * std::fabs(now);
}

// Solves the small system a x = b (m unknowns) by elimination with row
// pivoting; false when it is singular.
bool Solve_Small(std::vector<std::vector<double>> a, std::vector<double> b, std::vector<double>* x)
{
    const int m = int(b.size());
    for (int i = 0; i < m; ++i) {
        int p = i;
        for (int r = i + 1; r < m; ++r)
            if (std::fabs(a[r][i]) > std::fabs(a[p][i]))
                p = r;
        std::swap(a[i], a[p]);
        std::swap(b[i], b[p]);
        if (!(std::fabs(a[i][i]) > 0))
            return false;
        for (int r = i + 1; r < m; ++r) {
            const double f = a[r][i] / a[i][i];
            for (int c = i; c < m; ++c)
                a[r][c] -= f * a[i][c];
            b[r] -= f * b[i];
        }
    }
    x->assign(m, 0.0);
    for (int i = m - 1; i >= 0; --i) {
        double v = b[i];
        for (int c = i + 1; c < m; ++c)
            v -= a[i][c] * (*x)[c];
        (*x)[i] = v / a[i][i];
    }
    for (double v : *x)
        if (!std::isfinite(v))
            return false;
    return true;
}

// The iteration left to itself converges slowly on most airfoils (a few
// smooth waves along the contour die away by about 1 % an iteration) and not
// at all on some (a symmetric airfoil with a closed trailing edge swings
// round the nose from one iteration to the next for ever). Mixing in the
// last iterations (Anderson's method) takes, instead of the plain corrected
// angles, the combination of the recent ones whose corrections cancel best;
// it reaches the same angles, the point where the correction vanishes, in a
// few dozen iterations. A mixed result whose angles would not increase
// strictly is dropped for the plain one, and the memory starts afresh.
class Mixing {
public:
    // start: the angles an iteration began with; data->theta: the angles it
    // corrected them to, which this replaces by the mixed ones.
    void Next(myData* data, const std::vector<double>& start)
    {
        const int n = kFoilPoints;
        std::vector<double> g(data->theta, data->theta + n), f(n);
        for (int k = 0; k < n; ++k)
            f[k] = g[k] - start[k];
        corrections.push_back(f);
        results.push_back(g);
        if (int(corrections.size()) > kMixMemory + 1) {
            corrections.pop_front();
            results.pop_front();
        }
        const int m = int(corrections.size()) - 1;
        if (m < 1)
            return;
        std::vector<std::vector<double>> df(m, std::vector<double>(n)), dg(m, std::vector<double>(n));
        for (int j = 0; j < m; ++j)
            for (int k = 0; k < n; ++k) {
                df[j][k] = corrections[j + 1][k] - corrections[j][k];
                dg[j][k] = results[j + 1][k] - results[j][k];
            }
        // Least squares: the weights w that make f - df w smallest.
        std::vector<std::vector<double>> a(m, std::vector<double>(m));
        std::vector<double> b(m), w;
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j)
                a[i][j] = Dot(df[i], df[j]);
            a[i][i] *= 1.0 + 1e-10;
            b[i] = Dot(df[i], f);
        }
        if (!Solve_Small(a, b, &w))
            return Forget();
        std::vector<double> mixed(g);
        for (int k = 1; k <= n - 2; ++k)
            for (int j = 0; j < m; ++j)
                mixed[k] -= w[j] * dg[j][k];
        for (int k = 1; k < n; ++k)
            if (!(mixed[k] > mixed[k - 1]))
                return Forget();
        std::copy(mixed.begin(), mixed.end(), data->theta);
    }

private:
    static double Dot(const std::vector<double>& u, const std::vector<double>& v)
    {
        double s = 0;
        for (size_t k = 0; k < u.size(); ++k)
            s += u[k] * v[k];
        return s;
    }
    void Forget()
    {
        corrections.clear();
        results.clear();
    }

    std::deque<std::vector<double>> corrections, results;
};

} // namespace

bool Perform_Conform_Map(myData* data)
{
    if (data->zeroFoil.size() != kFoilPoints)
        return false;
    const int n = kFoilPoints;
    data->iterationCount = 0;
    double scale = std::nan(""), lift = std::nan("");
    int settledRun = 0;
    Mixing mixing;
    std::vector<double> start(n);
    for (;;) {
        std::copy(data->theta, data->theta + n, start.begin());
        const double r = PerformIterations(data, 0.99999, n);
        ++data->iterationCount;
        if (!std::isfinite(r))
            break;
        // Settled when neither the size of the map nor the lift it gives
        // moves any more, relative to their values, over two iterations in
        // a row (one could be a chance meeting). The norm of the angle
        // correction is no such measure: it levels off on some airfoils.
        const double nowLift = f_Clift(data, kProbeAngle);
        settledRun = Settled(data->mapScale, scale) && Settled(nowLift, lift) ? settledRun + 1 : 0;
        scale = data->mapScale;
        lift = nowLift;
        if (settledRun >= 2)
            break;
        if (data->iterationCount >= kMaxIterations) {
            qDebug() << "mapping: not settled after" << data->iterationCount << "iterations";
            break;
        }
        mixing.Next(data, start);
    }
    PerformIterations(data, 0.999999, n);
    return std::isfinite(data->mapScale) && data->mapScale > 0 && std::isfinite(data->mapShiftX)
        && std::isfinite(data->mapShiftY);
}

namespace {
bool Refuse(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}
} // namespace

namespace {
// A file's points are samples of a smooth outline. Joined by straight lines,
// a coarse file (a few dozen points) loses the round of its nose and its
// camber between the points, and lift and zero-lift angle then depend on how
// many points the file has. A natural cubic spline through the points, over
// the length along them, gives the curve between; the arc-length resampling
// then walks that curve. Repeated points are dropped first; a file the
// spline cannot take is walked as it is.
QPolygonF Smooth_Outline(const QPolygonF& p)
{
    QPolygonF q;
    for (const QPointF& v : p)
        if (q.isEmpty() || v != q.last())
            q << v;
    const int n = q.size();
    if (n < 4)
        return p;
    std::vector<double> s(n), x(n), y(n);
    for (int i = 0; i < n; ++i) {
        x[i] = q[i].x();
        y[i] = q[i].y();
        s[i] = i ? s[i - 1] + std::hypot(x[i] - x[i - 1], y[i] - y[i - 1]) : 0.0;
        if (i && !(s[i] > s[i - 1]))
            return p;
    }
    // Dense files need no curve between their points.
    const int between = std::clamp(65536 / n, 1, 16);
    if (between == 1)
        return p;
    Gsl_Errors_Off();
    gsl_spline* sx = gsl_spline_alloc(gsl_interp_cspline, n);
    gsl_spline* sy = gsl_spline_alloc(gsl_interp_cspline, n);
    gsl_interp_accel* acc = gsl_interp_accel_alloc();
    QPolygonF out;
    if (sx && sy && acc && gsl_spline_init(sx, s.data(), x.data(), n) == GSL_SUCCESS
        && gsl_spline_init(sy, s.data(), y.data(), n) == GSL_SUCCESS) {
        out.reserve((n - 1) * between + 1);
        for (int i = 0; i + 1 < n; ++i) {
            out << q[i];
            for (int k = 1; k < between; ++k) {
                const double t = s[i] + (s[i + 1] - s[i]) * k / between;
                out << QPointF(gsl_spline_eval(sx, t, acc), gsl_spline_eval(sy, t, acc));
            }
        }
        out << q.last();
    }
    gsl_spline_free(sx);
    gsl_spline_free(sy);
    gsl_interp_accel_free(acc);
    for (const QPointF& v : out)
        if (!std::isfinite(v.x()) || !std::isfinite(v.y()))
            return p;
    return out.isEmpty() ? p : out;
}
} // namespace

bool Load_Airfoil_Points(myData* data, const QPolygonF& points, const QString& name, QString* why)
{
    if (points.isEmpty())
        return Refuse(why, QObject::tr("The file holds no airfoil coordinates in a known layout."));
    for (const QPointF& q : points)
        if (!std::isfinite(q.x()) || !std::isfinite(q.y()))
            return Refuse(why, QObject::tr("The file holds a coordinate that is not a number."));

    const QPolygonF even = Natur_Airfoil(kResamplePoints, Smooth_Outline(points));
    const QPolygonF normal = Normalize_airfoil(even);
    if (points.size() < 3 || normal.isEmpty())
        return Refuse(why, QObject::tr("The airfoil has too few points or no length along x."));
    // The cosine parameter needs the outline to start at the trailing edge,
    // the point of largest x.
    double maxX = -1000;
    for (const QPointF& q : normal)
        maxX = std::max(maxX, q.x());
    if (maxX - 1.0 > 0.01)
        return Refuse(why, QObject::tr("The outline does not start at the trailing edge."));
    const QPolygonF foil = Finterpol(kFoilPoints, normal);
    if (foil.size() != kFoilPoints)
        return Refuse(why, QObject::tr("The outline does not run from the trailing edge around the nose "
                                       "and back, so it cannot be mapped."));

    // Work on a copy so that a refused airfoil leaves the record untouched.
    auto next = std::make_unique<myData>(*data);
    next->workFoil = foil;
    next->inputFoil = foil;
    next->foilName = name;
    PrepareRotateAirfoil(next.get(), next->workFoil);
    next->zeroLiftAngle = NON_Lift_Angle(next->workFoil);
    if (!Perform_Conform_Map(next.get()))
        return Refuse(why, QObject::tr("The conformal mapping of this airfoil failed."));
    *data = *next;
    return true;
}

bool Load_Airfoil(myData* data, const QString& path, QString* why)
{
    QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return Refuse(why, QObject::tr("The file cannot be opened."));
    QString reason;
    const QPolygonF points = Read_All_AirfoilTypes(path, AirfoilReader::Aerolyx, &reason);
    if (points.isEmpty() && !reason.isEmpty())
        return Refuse(why, reason);
    return Load_Airfoil_Points(data, points, info.fileName(), why);
}

} // namespace aerolyx
