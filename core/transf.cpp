#include "core/transf.h"

#include "core/geomconst.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

// --- Distances ------------------------------------------------------------

double norma2(double x, double y)
{
    return std::pow(x * x + y * y, 0.5);
}

double norma3(double x, double y, double z)
{
    return std::pow(x * x + y * y + z * z, 0.5);
}

double Dist2(QPointF A, QPointF B)
{
    const double dx = A.x() - B.x();
    const double dy = A.y() - B.y();
    return std::pow(dx * dx + dy * dy, 0.5);
}

double Dist3(QVector3D A, QVector3D B)
{
    return double((A - B).length());
}

double intDist2(QPoint A, QPoint B)
{
    const double dx = double(A.x()) - double(B.x());
    const double dy = double(A.y()) - double(B.y());
    return std::pow(dy * dy + dx * dx, 0.5);
}

double Screen_Dist(double a, double b, double c)
{
    return b * a / c;
}

// --- Mirror images and rotations ----------------------------------------

QVector3D p_SymY(QVector3D p)
{
    return QVector3D(p.x(), -p.y(), p.z());
}

QPointF Sym_YX(QPointF p)
{
    return QPointF(-p.y(), -p.x());
}

QPolygonF polygon_Sym_YX(const QPolygonF* poly)
{
    QPolygonF out;
    if (!poly)
        return out;
    out.reserve(poly->size());
    for (const QPointF& p : *poly)
        out.append(Sym_YX(p));
    return out;
}

QPointF RotFix(double a, double cx, double cy, QPointF P)
{
    const double dx = P.x() - cx;
    const double dy = P.y() - cy;
    const double c = std::cos(a);
    const double s = std::sin(a);
    return QPointF(dx * c - dy * s + cx, dx * s + dy * c + cy);
}

QPointF RotFixP(double a, QPointF C, QPointF P)
{
    return RotFix(a, C.x(), C.y(), P);
}

// --- Centres -------------------------------------------------------------

QPointF Center3pnt(QPointF P1, QPointF P2, QPointF P3)
{
    return QPointF((P1.x() + P2.x() + P3.x()) / 3, (P1.y() + P2.y() + P3.y()) / 3);
}

QPointF Center4pnt(QPointF P1, QPointF P2, QPointF P3, QPointF P4)
{
    return QPointF((P1.x() + P2.x() + P3.x() + P4.x()) * 0.25,
                   (P1.y() + P2.y() + P3.y() + P4.y()) * 0.25);
}

static QPointF meanOf(const QPolygonF& poly)
{
    if (poly.isEmpty())
        return QPointF(0, 0);
    double sx = 0, sy = 0;
    for (const QPointF& p : poly) {
        sx += p.x();
        sy += p.y();
    }
    const double f = 1.0 / poly.size();
    return QPointF(sx * f, sy * f);
}

QPointF CenterPoly(const QPolygonF* poly)
{
    return poly ? meanOf(*poly) : QPointF(0, 0);
}

QPointF Geometric_center(QPolygonF poly)
{
    if (poly.size() == 1)
        return poly.first();
    return meanOf(poly);
}

// --- Range tests and clamps -----------------------------------------------

int between(int a, int b, int x)
{
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    if (double(x) < lo)
        return int(lo);
    if (double(x) > hi)
        return int(hi);
    return x;
}

bool is_between(int a, int b, int x)
{
    return std::min(a, b) <= x && x <= std::max(a, b);
}

double dou_between(double a, double b, double x)
{
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    if (x < lo)
        return lo;
    if (x > hi)
        return hi;
    return x;
}

bool is_dou_between(double a, double b, double x)
{
    const double lo = std::trunc(std::min(a, b));
    const double hi = std::trunc(std::max(a, b));
    return lo <= x && x <= hi;
}

bool is_dbetween(double a, double b, double x)
{
    return std::min(a, b) <= x && x <= std::max(a, b);
}

double Sign(double x)
{
    return x >= 0 ? 1.0 : -1.0;
}

// --- Orientation, intersection, nearest vertex ----------------------------

double Otriangle(QPointF P1, QPointF P2, QPointF P3)
{
    return (P2.x() - P1.x()) * (P3.y() - P1.y()) - (P2.y() - P1.y()) * (P3.x() - P1.x());
}

bool IntersectLines(QPointF P1, QPointF P2, QPointF P3, QPointF P4, QPointF* out)
{
    QPointF hit;
    const QLineF::IntersectionType type = QLineF(P1, P2).intersects(QLineF(P3, P4), &hit);
    if (out && type != QLineF::NoIntersection)
        *out = hit;
    return type == QLineF::UnboundedIntersection;
}

// Index of the nearest vertex within 1e8, ties to the later vertex; -1 if none.
static int nearestIndex(const QPolygonF* poly, QPointF P)
{
    if (!poly)
        return -1;
    double best = 1e8;
    int found = -1;
    for (int i = 0; i < poly->size(); ++i) {
        const double d = Dist2(poly->at(i), P);
        if (d <= best) {
            best = d;
            found = i;
        }
    }
    return found;
}

QPointF NearestPoint(const QPolygonF* poly, QPointF P)
{
    const int i = nearestIndex(poly, P);
    return i < 0 ? P : poly->at(i);
}

int FindPolyIndex(const QPolygonF* poly, QPointF P)
{
    return std::max(0, nearestIndex(poly, P));
}

// --- Pattern primitives -----------------------------------------------------

QPointF uberLeft(double d, QPointF P0, QPointF P1)
{
    const double a = std::atan2(P1.y() - P0.y(), P1.x() - P0.x());
    return P0 + RotFix(a, 0, 0, QPointF(0, d));
}

QPointF uberRight(double d, QPointF P0, QPointF P1)
{
    const double a = std::atan2(P1.y() - P0.y(), P1.x() - P0.x());
    return P0 + RotFix(a, 0, 0, QPointF(Dist2(P0, P1), d));
}

QPointF unfold_Pnt(QPointF P0, QPointF P1, double a, double b, double c)
{
    if (c == 0)
        return P0;
    if (b == 0)
        return P1;
    const double cosine = (c * c + a * a - b * b) / (2 * a * c);
    // A flat triangle (|cos| = 1) has its third corner on the base line, and
    // one whose sides cannot close is laid out as nearly as it can: the
    // cosine is held to [-1, 1]. Only a triangle without base and with equal
    // sides (0 / 0) has no direction at all; it stands at a right angle.
    const double angle = std::isnan(cosine) ? std::acos(0.0) : std::acos(std::clamp(cosine, -1.0, 1.0));
    const double phi = std::atan2(P1.y() - P0.y(), P1.x() - P0.x()) + angle;
    return P0 + QPointF(c * std::cos(phi), c * std::sin(phi));
}

// --- Section reversal -------------------------------------------------------

template <typename List>
static List reversedSection(const List& poly, int a, int b)
{
    const int n = int(poly.size());
    if (n == 0)
        return poly;
    const int lo = std::clamp(std::min(a, b), 0, n - 1);
    const int hi = std::clamp(std::max(a, b), 0, n - 1);
    List out;
    out.reserve(hi - lo + 1);
    for (int i = hi; i >= lo; --i)
        out.append(poly.at(i));
    return out;
}

QPolygonF reversePolyF(QPolygonF poly, int a, int b)
{
    return reversedSection(poly, a, b);
}

QList<QVector3D> reversePoly3D(QList<QVector3D> poly, int a, int b)
{
    return reversedSection(poly, a, b);
}

// --- UV mapping of the rib-trimming curves -------------------------------

double fmap_U(double a, double b)
{
    return a == 0 ? 0.0 : b / a;
}

double fmap_V(const QPointF* seg, QPointF P)
{
    const double len = Dist2(seg[1], seg[0]);
    if (len == 0)
        return 0.0;
    return dou_between(0.0, 1.0, Dist2(P, seg[0]) / len);
}

// --- Labels and rounding ----------------------------------------------------

QString LineLetter(int row)
{
    static const char* const letters[] = {"O1", "O2", "A", "B", "C", "D", "E", "F", "G"};
    if (row >= 0 && row < 9)
        return QString::fromLatin1(letters[row]);
    return QStringLiteral("br");
}

QString GrupLineLetter(int group)
{
    switch (group) {
    case 2: return QStringLiteral("L1");
    case 3: return QStringLiteral("L2");
    case 4: return QStringLiteral("L3");
    case 5: return QStringLiteral("L4");
    case 7: return QStringLiteral("L-brakes");
    default: return QStringLiteral(" ? ");
    }
}

double RouCm(double x)
{
    // Work in whole millimetres rounded to the nearest: the digit must not
    // depend on how the decimal value happens to be stored (1.238 is
    // 1.23799999... in binary and still has the millimetre digit 8).
    const long long mm = std::llround(x * 1000.0);
    long long cm = mm / 10;
    long long digit = mm % 10;
    if (digit < 0) { // floor toward minus infinity for negative lengths
        digit += 10;
        cm -= 1;
    }
    const double base = double(cm) / 100.0;
    if (digit >= 8)
        return base + 0.01;
    if (digit >= 3)
        return base + 0.005;
    return base;
}

// --- Rib spacing along the span -----------------------------------------

// out[i] = in[i] (k - m) + c with k = total / S, m = (1 - p / 100) k and
// c = S m / N: a share p percent proportional to in[], the rest equal.
static void spreadWidths(int n, double p, double total, double S, double N, double* out,
                         const double* in)
{
    if (S == 0) { // no widths to be proportional to: all equal
        for (int i = 0; i <= n; ++i)
            out[i] = total / N;
        return;
    }
    const double k = total / S;
    const double m = (1 - p / 100) * k;
    const double c = S * m / N;
    for (int i = 0; i <= n; ++i)
        out[i] = in[i] * (k - m) + c;
}

void RecCenterCell(int n, double p, double total, double* out, const double* in)
{
    if (n < 0)
        return;
    double S = 0.5 * in[0];
    for (int i = 1; i <= n; ++i)
        S += in[i];
    spreadWidths(n, p, total, S, n + 0.5, out, in);
}

void RecCenterRib(int n, double p, double total, double* out, const double* in)
{
    if (n < 1) // no cell to spread over
        return;
    double S = 0;
    for (int i = 0; i < n; ++i)
        S += in[i];
    spreadWidths(n, p, total, S, n, out, in);
}

void ApplyRibShift(int n, const double* shift, double* pos, double* width)
{
    // Rib n is the tip: it has no next rib to move toward and never moves.
    for (int i = 1; i < n; ++i) {
        const double s = shift[i];
        if (s == 0)
            continue;
        const double prev = pos[i - 1];
        const double next = pos[i + 1];
        const double cand = s > 0 ? next - (next - pos[i]) * (100 - s) / 100
                                  : prev - (prev - pos[i]) * (-100 - s) / -100;
        if (prev < cand && cand < next)
            pos[i] = cand;
    }
    // Widths follow the positions the ribs actually took.
    for (int k = 1; k < n; ++k)
        width[k] = pos[k + 1] - pos[k];
}
