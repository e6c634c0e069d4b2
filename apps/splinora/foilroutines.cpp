#include "apps/splinora/foilroutines.h"

#include "core/mygsllib.h"
#include "core/userinteraction.h"
#include <QDebug>
#include <QFile>
#include <QTextEdit>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <vector>

#include "apps/splinora/shared_links.h"

namespace splinora {

QPolygonF airfoil_Read(const QString& fileName)
{
    const QPolygonF poly = airfoil_Read_All(fileName);
    return Normalize_airfoil2(Normalize_airfoil2(poly, 1), 1);
}

QPolygonF Normalize_airfoil2(const QPolygonF& poly, int rot)
{
    QPolygonF result;
    if (poly.isEmpty())
        return result;
    double xmin = 10000.0;
    double xmax = -10000.0;
    for (const QPointF& pt : poly) {
        if (pt.x() < xmin)
            xmin = pt.x();
        if (pt.x() > xmax)
            xmax = pt.x();
    }
    const double dx = xmax - xmin;
    if (!(dx > 0.0))
        return result;
    const QPointF first(poly[0].x() / dx, rot * poly[0].y() / dx);
    for (const QPointF& pt : poly) {
        const QPointF q(pt.x() / dx - first.x() + 1.0, rot * pt.y() / dx - first.y());
        if (is_dbetween(0.0, 1.0, q.x()))
            result.append(q);
    }
    return result;
}

void FindThickness(const QPolygonF* foilpoly, QString* St)
{
    double ymin = 10000.0;
    double ymax = -10000.0;
    int imin = 0;
    int imax = 0;
    for (int i = 0; i < foilpoly->size(); ++i) {
        const double y = foilpoly->at(i).y();
        if (y < ymin) {
            ymin = y;
            imin = i;
        }
        if (y > ymax) {
            ymax = y;
            imax = i;
        }
    }
    if (foilpoly->isEmpty()) {
        St[0] = St[1] = QString();
        return;
    }
    const double thickness = ymax - ymin;
    const double xTop = foilpoly->at(imax).x();
    const double xBottom = foilpoly->at(imin).x();
    St[0] = QString(" Thickness: %1  at  %2 %")
                .arg(100.0 * thickness, 0, 'f', 2)
                .arg(50.0 * (xTop + xBottom), 0, 'f', 2);
    St[1] = QString(" Top: at %1   Bottom: at: %2 ")
                .arg(100.0 * xTop, 0, 'f', 2)
                .arg(100.0 * xBottom, 0, 'f', 2);
}

} // namespace splinora

// --- Airfoil helpers kept for the editor's own use -------------------------

namespace splinora {

namespace {

void airfoilMissing()
{
    User().warning(QStringLiteral("Airfoil"), "Airfoil not present yet - IMPORT first");
}

constexpr int lastFoilIndex = N_airfoil - 1;

} // namespace

QString FoilText_Read(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream in(&file);
    QString text;
    while (!in.atEnd())
        text += Repair_NumString(clean(in.readLine())) + "\n";
    return text;
}

QPolygonF plainTextRead(const QString& mtext)
{
    QPolygonF poly;
    const QStringList lines = mtext.split('\n');
    for (QString line : lines) {
        line = line.left(22);
        if (line.isEmpty())
            continue;
        QString xs, ys;
        bool second = false;
        for (int i = line.startsWith(' ') ? 1 : 0; i < line.size() - 1; ++i) {
            QChar ch = line[i];
            if (ch == ',')
                ch = '.';
            const bool numeric = ch.isDigit() || ch == '.' || ch == '-';
            if (!numeric) {
                second = true;
                continue;
            }
            (second ? ys : xs) += ch;
        }
        poly << QPointF(xs.toFloat(), ys.toFloat());
    }
    return Normalize_airfoil2(poly, 1);
}

void FillPolygon(const QPolygonF& polygon, QTextEdit* mytext)
{
    mytext->clear();
    for (const QPointF& pt : polygon)
        mytext->append(QString("%1  %2").arg(pt.x(), 0, 'f', 6).arg(pt.y(), 0, 'f', 6));
}

PntStruct NearPoint(const QPolygonF& polygon, QPointF n_point, char c)
{
    PntStruct result;
    result.pnt = QPointF(0, 0);
    result.pnt_index = -1;
    const double x = std::fabs(n_point.x()) > 1000 ? 0.0 : n_point.x();
    for (int i = 0; i < polygon.size() - 2; ++i) {
        double a = DELTA_X + 560 * polygon[i].x();
        double b = DELTA_X + 560 * polygon[i + 1].x();
        if (c != 'D')
            std::swap(a, b);
        if (a <= x && x <= b) {
            double y = -560 * polygon[i].y();
            if (std::fabs(y) > 500)
                y = 0;
            result.pnt = QPointF(x, y);
            result.pnt_index = i;
            return result;
        }
    }
    return result;
}

int f_ind(double t, const double* s, int len)
{
    for (int k = 1; k <= len - 2; ++k)
        if (s[k] <= t && t <= s[k + 1])
            return k;
    if (len >= 2 && t > s[len - 2])
        return len - 1;
    return 0;
}

QPolygonF Natur_Airfoil(int N, const QPolygonF& poly)
{
    QPolygonF result;
    if (poly.isEmpty() || N < 1)
        return result;
    const int n = poly.size();
    std::vector<double> s(n, 0.0);
    for (int i = 1; i < n; ++i)
        s[i] = s[i - 1] + QLineF(poly[i - 1], poly[i]).length();
    result << poly[0];
    for (int j = 1; j < N; ++j) {
        const double t = s[n - 1] * j / N;
        int k = f_ind(t, s.data(), n);
        if (k >= n - 1)
            k = n - 2;
        if (k < 0 || n < 2) {
            result << poly[0];
            continue;
        }
        const double span = s[k + 1] - s[k];
        const double f = span > 0 ? (t - s[k]) / span : 0.0;
        result << poly[k] + f * (poly[k + 1] - poly[k]);
    }
    result << poly[0];
    return result;
}

QPolygonF Zero_Airfoil(const QPolygonF& poly)
{
    QPolygonF result;
    for (const QPointF& pt : poly)
        result << QPointF(pt.x(), 0.0);
    return result;
}

void FindNoseTopIndex(ParaStruct* p, const QPolygonF& poly)
{
    if (poly.isEmpty()) {
        airfoilMissing();
        p->NoseIndex = 500;
        return;
    }
    const int last = std::min<int>(poly.size() - 1, lastFoilIndex);
    int nose = std::min(450, last);
    for (int i = nose; i <= std::min(549, last); ++i)
        if (poly[i].x() < poly[nose].x())
            nose = i;
    p->NoseIndex = nose;
    int up = 0;
    for (int i = 0; i < nose; ++i)
        if (poly[i].y() > poly[up].y())
            up = i;
    p->TopIndexUp = up;
    int dw = nose;
    for (int i = nose; i <= last; ++i)
        if (poly[i].y() < poly[dw].y())
            dw = i;
    p->TopIndexDw = dw;
    Create_FoilPairList(poly);
}

int FindUPIndex(int dwindex, const QPolygonF& polygon)
{
    if (polygon.isEmpty()) {
        airfoilMissing();
        return 0;
    }
    if (dwindex < 0 || dwindex >= polygon.size())
        return 0;
    const int nose = std::min<int>(GetDataStruct()->NoseIndex, polygon.size());
    const double x = polygon[dwindex].x();
    int k = 0;
    while (k < nose && polygon[k].x() > x)
        ++k;
    return k > 0 ? k - 1 : 0;
}

int FindDWIndex(int upindex, const QPolygonF& polygon)
{
    if (polygon.isEmpty()) {
        airfoilMissing();
        return upindex;
    }
    if (upindex < 0 || upindex >= polygon.size())
        return 0;
    const int nose = std::max(0, GetDataStruct()->NoseIndex);
    const int last = std::min<int>(polygon.size() - 1, lastFoilIndex);
    const double x = polygon[upindex].x();
    int k = nose;
    while (k <= last && polygon[k].x() < x)
        ++k;
    return k > nose ? k - 1 : 0;
}

void Create_FoilPairList(const QPolygonF& poly)
{
    ParaStruct* p = GetDataStruct();
    p->FoilPairList.clear();
    p->FoilPairList.append(Foil_Pair{0, N_airfoil, 0.0});
    const int nose = p->NoseIndex;
    const int last = std::min<int>(poly.size() - 1, lastFoilIndex);
    for (int i = 1; i < nose && i <= last; ++i) {
        const int j = FindDWIndex(i, poly);
        p->FoilPairList.append(Foil_Pair{i, j, poly[i].y() - poly[j].y()});
    }
    p->FoilPairList.append(Foil_Pair{nose, nose, 0.0});
    for (int j = nose + 1; j <= last; ++j) {
        const int i = FindUPIndex(j, poly);
        p->FoilPairList.append(Foil_Pair{i, j, poly[i].y() - poly[j].y()});
    }
}

double f_theta(int k, int N)
{
    const double Pi = 3.141592653;
    if (k <= N / 2)
        return Pi * std::sqrt(std::sin(k * Pi / N));
    return Pi * (2.0 - std::sqrt(std::sin((N - k) * Pi / N)));
}

namespace {

constexpr int kSeriesPoints = 1000;

// Coefficients a[0..n], b[0..n] of the 2n samples y (the core's fit, with pi
// at full precision so that a sampled harmonic comes back exactly), then
// out[k] = the series or its derivative at f_theta(k, 1000).
void Series_At_Theta(int n, const double* y, int derivative, double* out)
{
    if (n < 1) {
        std::fill(out, out + kSeriesPoints, 0.0);
        return;
    }
    std::vector<double> a(size_t(n) + 1, 0.0), b(size_t(n) + 1, 0.0), theta(size_t(2 * n)), yy(size_t(2 * n));
    Init_fu_fields(n, a.data(), b.data(), theta.data(), yy.data(), y, true);
    Proc_A_bn(n, a.data(), b.data(), theta.data(), yy.data());
    for (int k = 0; k < kSeriesPoints; ++k)
        out[k] = Fourier_Series_Value(n, a.data(), b.data(), f_theta(k, kSeriesPoints), derivative);
}

} // namespace

void Fourier_Proc(int n, const double* in_file, double* ou_file)
{
    Series_At_Theta(n, in_file, 0, ou_file);
}

QPolygonF FourierInterpolationAirfoil(const QPolygonF& poly)
{
    return Fourier_Contour(poly, &splinora::Fourier_Proc);
}

void Fourier_Polygon_D2(const QPolygonF& Poly, double* d2_file)
{
    const int n = int(Poly.size()) / 2;
    std::vector<double> y(size_t(2 * n));
    for (int j = 0; j < 2 * n; ++j)
        y[size_t(j)] = Poly[j].y();
    Series_At_Theta(n, y.data(), 2, d2_file);
    for (int k = 0; k < kSeriesPoints; ++k) {
        d2_file[k] = std::fabs(d2_file[k]);
        qDebug().noquote() << QString("%1    d2: %2").arg(k).arg(d2_file[k] * 1e7, 0, 'f', 5);
    }
}

} // namespace splinora
