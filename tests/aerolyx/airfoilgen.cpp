#include "airfoilgen.h"

#include <QFile>
#include <QTextStream>

#include <cmath>

namespace testfoil {

namespace {
std::complex<double> Joukowski_Map(std::complex<double> z) { return z + 1.0 / z; }
}

double Joukowski::leadingEdgeX() const
{
    if (cachedLeadingEdge < 0)
        return cachedLeadingEdge;
    // The nose is the image of the circle point farthest from zeta' = 1.
    double best = 1e9;
    for (int k = 0; k <= 20000; ++k) {
        const double t = M_PI * (0.5 + k / 20000.0);
        best = std::min(best, Joukowski_Map(mu() + radius() * std::polar(1.0, t)).real());
    }
    cachedLeadingEdge = best;
    return best;
}

double Joukowski::chord() const
{
    return 2.0 - leadingEdgeX();
}

std::complex<double> Joukowski::point(double t) const
{
    const double le = leadingEdgeX();
    const std::complex<double> z = Joukowski_Map(mu() + radius() * std::polar(1.0, t));
    const std::complex<double> te(2.0, Joukowski_Map(mu() + radius()).imag());
    return 1.0 + (z - te) / (2.0 - le);
}

QPolygonF Joukowski::outline(int n) const
{
    QPolygonF poly;
    for (int k = 0; k <= n; ++k) {
        const std::complex<double> p = point(2.0 * M_PI * k / n);
        poly << QPointF(p.real(), p.imag());
    }
    poly[0] = poly[n] = QPointF(1.0, 0.0);
    return poly;
}

QPolygonF Naca4(double m, double p, double t, int n)
{
    QPolygonF upper, lower;
    for (int i = 0; i <= n; ++i) {
        const double x = (1.0 - std::cos(M_PI * i / n)) / 2.0;
        const double yt = 5.0 * t
            * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x
               - 0.1036 * x * x * x * x);
        double yc = 0, dy = 0;
        if (p > 0 && x < p) {
            yc = m / (p * p) * (2 * p * x - x * x);
            dy = 2 * m / (p * p) * (p - x);
        } else if (p > 0) {
            yc = m / ((1 - p) * (1 - p)) * ((1 - 2 * p) + 2 * p * x - x * x);
            dy = 2 * m / ((1 - p) * (1 - p)) * (p - x);
        }
        const double th = std::atan(dy);
        upper.prepend(QPointF(x - yt * std::sin(th), yc + yt * std::cos(th)));
        lower << QPointF(x + yt * std::sin(th), yc - yt * std::cos(th));
    }
    lower.removeFirst();
    return upper + lower;
}

QString Write_Table(const QString& dir, const QString& name, const QPolygonF& points, const char* format)
{
    const QString path = dir + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    QTextStream out(&file);
    out << name << "\n";
    for (const QPointF& q : points)
        out << QString::asprintf(format, q.x(), q.y()) << "\n";
    return path;
}

} // namespace testfoil
