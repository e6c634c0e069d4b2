#include "apps/aerolyx/calc/airfoilprep.h"

#include "airfoils/airfoil.h"
#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/numutil.h"

#include <QFileInfo>
#include <QObject>

#include <algorithm>
#include <cmath>
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
    const QPointF shift(1.0 - out[0].x(), -out[0].y());
    for (QPointF& q : out)
        q += shift;
    out[0] = QPointF(1.0, 0.0);
    return out;
}
} // namespace

QPolygonF Normalize_airfoil(const QPolygonF& p)
{
    if (p.isEmpty())
        return QPolygonF();
    return Normalize_Once(Normalize_Once(p));
}

bool Fill_ArcCos(int n, const double* x, double* t)
{
    if (n < 2)
        return false;
    t[0] = 0;
    for (int i = 1; i < n; ++i) {
        // Points a hair outside the chord (rounding, a blunt trailing edge)
        // sit at the ends of the parameter range.
        t[i] = std::acos(std::clamp(2.0 * x[i] - 1.0, -1.0, 1.0));
        if (t[i] < t[i - 1])
            t[i] = 2.0 * M_PI - t[i];
    }
    for (int i = 1; i <= n - 2; ++i)
        if (t[i - 1] >= t[i])
            t[i] = (t[i] + t[i + 1]) / 2.0;
    // Several points at one x (a flat nose, a vertical trailing edge) leave
    // runs the averaging cannot separate: spread each run evenly between the
    // values that bound it. The spline still passes through the points, only
    // their parameter moves.
    for (int i = 1; i < n; ++i) {
        if (t[i] > t[i - 1])
            continue;
        const int a = i - 1;
        int b = i + 1;
        while (b < n && !(t[b] > t[a]))
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
    if (!interpSpline(N, t.data(), x.data(), x.data()) || !interpSpline(N, t.data(), y.data(), y.data()))
        return QPolygonF();
    std::vector<double> X(n), Y(n), a(m), b(m);
    if (!Fourier_Proc(n, m, x.data(), X.data(), a.data(), b.data())
        || !Fourier_Proc(n, m, y.data(), Y.data(), a.data(), b.data()))
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

bool Perform_Conform_Map(myData* data)
{
    if (data->zeroFoil.size() != kFoilPoints)
        return false;
    data->iterationCount = 0;
    double previous = 100.0;
    for (;;) {
        const double r = PerformIterations(data, 0.99999, kFoilPoints);
        ++data->iterationCount;
        const double d = std::fabs(r - previous);
        if (data->iterationCount >= 1001 || !(d > 1e-10))
            break;
        previous = r;
    }
    PerformIterations(data, 0.999999, kFoilPoints);
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

bool Load_Airfoil_Points(myData* data, const QPolygonF& points, const QString& name, QString* why)
{
    if (points.isEmpty())
        return Refuse(why, QObject::tr("The file holds no airfoil coordinates in a known layout."));
    for (const QPointF& q : points)
        if (!std::isfinite(q.x()) || !std::isfinite(q.y()))
            return Refuse(why, QObject::tr("The file holds a coordinate that is not a number."));

    const QPolygonF even = Natur_Airfoil(kResamplePoints, points);
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
    return Load_Airfoil_Points(data, Read_All_AirfoilTypes(path, AirfoilReader::Aerolyx),
                               info.fileName(), why);
}

} // namespace aerolyx
