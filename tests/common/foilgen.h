#pragma once

// Airfoil contours made by formula, and the text files airfoil tools write
// from them, for tests. Header only: include it from any test folder.
//
// Contours run the way airfoil collections list them: from the trailing edge
// over the upper side round the nose and back along the lower side
// (counter-clockwise with y up), in unit chord unless said otherwise.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>

#include <cmath>
#include <complex>

namespace foilgen {

constexpr double kPi = 3.14159265358979323846;

// Chord stations from the nose (0) to the trailing edge (1), n >= 2 of them,
// cosine-spaced (dense at both ends) or uniform.
inline QList<double> stations(int n, bool cosine = true)
{
    QList<double> x;
    for (int i = 0; i < n; ++i) {
        const double s = double(i) / double(n - 1);
        x.append(cosine ? 0.5 * (1.0 - std::cos(kPi * s)) : s);
    }
    x.last() = 1.0;
    return x;
}

// Half thickness of the 4-digit series law for thickness t (fraction of
// chord) at x; closedTe uses the coefficient that closes the trailing edge.
inline double halfThickness(double x, double t, bool closedTe = true)
{
    const double a4 = closedTe ? -0.1036 : -0.1015;
    return 5.0 * t *
           (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x + a4 * x * x * x * x);
}

// The 4-digit series airfoil "m p tt": camber m at chord position p (both
// fractions; m = 0 gives a symmetric airfoil), thickness t. perSide stations
// per side; the contour has 2 perSide - 1 points (the nose once).
struct Naca4 {
    double camber = 0.02;
    double camberPos = 0.4;
    double thickness = 0.12;
    bool closedTe = true;
};

inline QPolygonF naca4(const Naca4& f, int perSide, bool cosine = true)
{
    const QList<double> xs = stations(perSide, cosine);
    QPolygonF upper, lower;
    for (double x : xs) {
        double yc = 0.0, dyc = 0.0;
        const double m = f.camber, p = f.camberPos;
        if (m > 0.0 && p > 0.0 && p < 1.0) {
            if (x < p) {
                yc = m / (p * p) * (2.0 * p * x - x * x);
                dyc = 2.0 * m / (p * p) * (p - x);
            } else {
                yc = m / ((1.0 - p) * (1.0 - p)) * (1.0 - 2.0 * p + 2.0 * p * x - x * x);
                dyc = 2.0 * m / ((1.0 - p) * (1.0 - p)) * (p - x);
            }
        }
        const double yt = halfThickness(x, f.thickness, f.closedTe);
        const double th = std::atan(dyc);
        upper.append(QPointF(x - yt * std::sin(th), yc + yt * std::cos(th)));
        lower.append(QPointF(x + yt * std::sin(th), yc - yt * std::cos(th)));
    }
    QPolygonF c;
    for (int i = perSide - 1; i >= 0; --i)
        c.append(upper[i]);
    for (int i = 1; i < perSide; ++i)
        c.append(lower[i]);
    return c;
}

// Upper half of a symmetric 4-digit airfoil of thickness t, from the nose to
// the trailing edge (the layout of a symmetric half-contour file).
inline QPolygonF symmetricHalf(double t, int n, bool cosine = true)
{
    QPolygonF h;
    for (double x : stations(n, cosine))
        h.append(QPointF(x, halfThickness(x, t)));
    return h;
}

// Joukowski airfoil: the circle through 1 with centre (-eps, delta) mapped by
// z + 1/z; eps sets the thickness, delta the camber. n points from the cusp
// over the upper side and back to the cusp (first and last point equal),
// scaled to unit chord with the cusp at (1, 0).
inline QPolygonF joukowski(double eps, double delta, int n)
{
    using C = std::complex<double>;
    const C centre(-eps, delta);
    const double r = std::abs(C(1.0, 0.0) - centre);
    const double start = std::arg(C(1.0, 0.0) - centre);
    QList<C> z;
    for (int i = 0; i < n; ++i) {
        const double a = start + 2.0 * kPi * double(i) / double(n - 1);
        const C zeta = centre + std::polar(r, a);
        z.append(zeta + 1.0 / zeta);
    }
    double xmin = z[0].real(), xmax = z[0].real();
    for (const C& p : z) {
        xmin = std::min(xmin, p.real());
        xmax = std::max(xmax, p.real());
    }
    const double chord = xmax - xmin;
    QPolygonF c;
    for (const C& p : z)
        c.append(QPointF((p.real() - xmin) / chord, p.imag() / chord));
    c.first() = QPointF(1.0, 0.0);
    c.last() = QPointF(1.0, 0.0);
    return c;
}

// The contour with its nose point (smallest x) written twice.
inline QPolygonF withDuplicateNose(QPolygonF c)
{
    int nose = 0;
    for (int i = 1; i < c.size(); ++i)
        if (c[i].x() < c[nose].x())
            nose = i;
    c.insert(nose, c[nose]);
    return c;
}

// The contour with its first and last (trailing-edge) points written twice.
inline QPolygonF withDuplicateTe(QPolygonF c)
{
    c.prepend(c.first());
    c.append(c.last());
    return c;
}

// How the numbers of a table are written.
struct Format {
    QString name = QStringLiteral("GENERATED 2412");  // first line; empty: none
    QString separator = QStringLiteral("  ");        // between columns
    char style = 'f';                                 // 'f', or 'E' for 1.0000E+00
    int precision = 6;
    bool decimalComma = false;
    QString lineEnd = QStringLiteral("\n");
};

inline QString number(double v, const Format& f)
{
    QString s = QString::number(v, f.style, f.precision);
    if (f.decimalComma)
        s.replace(u'.', u',');
    return s;
}

inline QString row(const QList<double>& values, const Format& f)
{
    QStringList parts;
    for (double v : values)
        parts.append(number(v, f));
    return parts.join(f.separator) + f.lineEnd;
}

// Plain two-column table: name line, then one "x y" line per point.
inline QString plainTable(const QPolygonF& c, const Format& f = {})
{
    QString s;
    if (!f.name.isEmpty())
        s += f.name + f.lineEnd;
    for (const QPointF& p : c)
        s += row({p.x(), p.y()}, f);
    return s;
}

// Half contour of a symmetric airfoil: name line, a count line ("n." with a
// trailing point, as tools write it), then the half contour from the nose.
inline QString symmetricTable(const QPolygonF& half, const Format& f = {})
{
    QString s;
    if (!f.name.isEmpty())
        s += f.name + f.lineEnd;
    s += QString::number(half.size()) + QStringLiteral(".") + f.lineEnd;
    for (const QPointF& p : half)
        s += row({p.x(), p.y()}, f);
    return s;
}

// The two sides listed separately, each from the leading edge to the
// trailing edge: name line, a line with the two point counts ("61.  61."),
// then the upper side and the lower side, each after an empty line. No
// reader of the programs knows this layout.
inline QString separateSidesTable(const QPolygonF& upper, const QPolygonF& lower, const Format& f = {})
{
    QString s;
    if (!f.name.isEmpty())
        s += f.name + f.lineEnd;
    s += QStringLiteral("%1.  %2.").arg(upper.size()).arg(lower.size()) + f.lineEnd;
    for (const QPolygonF* side : {&upper, &lower}) {
        s += f.lineEnd;
        for (const QPointF& p : *side)
            s += row({p.x(), p.y()}, f);
    }
    return s;
}

// Index of the first point of least x: the nose.
inline int noseIndex(const QPolygonF& c)
{
    int nose = 0;
    for (int i = 1; i < c.size(); ++i)
        if (c[i].x() < c[nose].x())
            nose = i;
    return nose;
}

// The upper and lower side of a contour that runs from the trailing edge
// round the nose and back (as naca4 draws it), each from the nose to the
// trailing edge.
inline QPolygonF upperSide(const QPolygonF& c)
{
    QPolygonF s;
    for (int i = noseIndex(c); i >= 0; --i)
        s.append(c[i]);
    return s;
}

inline QPolygonF lowerSide(const QPolygonF& c)
{
    return c.mid(noseIndex(c));
}

// Three-column table "x y1 y2", one line per station.
inline QString threeColumnTable(const QList<double>& x, const QList<double>& y1, const QList<double>& y2,
                                const Format& f = {})
{
    QString s;
    if (!f.name.isEmpty())
        s += f.name + f.lineEnd;
    for (int i = 0; i < x.size(); ++i)
        s += row({x[i], y1[i], y2[i]}, f);
    return s;
}

// Writes bytes to dir/name and returns the path ("" when it fails).
inline QString writeFile(const QString& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    if (file.write(bytes) != bytes.size())
        return QString();
    return path;
}

inline QString writeFile(const QString& dir, const QString& name, const QString& text)
{
    return writeFile(dir, name, text.toUtf8());
}

} // namespace foilgen
