#include <QTest>
#include <QFile>
#include <QIODevice>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <QTemporaryDir>

#include <cmath>
#include <vector>

#include "apps/splinora/foilroutines.h"

using namespace splinora;

namespace {

// Symmetric test airfoil of 12 % thickness with its maximum at 30 % chord,
// listed from the trailing edge over the upper side and back.
QPolygonF symmetricFoil(int half = 40)
{
    auto y = [](double x) {
        const double u = x < 0.3 ? (0.3 - x) / 0.3 : (x - 0.3) / 0.7;
        return 0.06 * (1.0 - u * u);
    };
    QPolygonF poly;
    for (int i = 0; i <= half; ++i) {
        const double x = 1.0 - double(i) / half;
        poly << QPointF(x, y(x));
    }
    for (int i = half - 1; i >= 0; --i) {
        const double x = 1.0 - double(i) / half;
        poly << QPointF(x, -y(x));
    }
    return poly;
}

bool samePoly(const QPolygonF& a, const QPolygonF& b, double tol = 1e-12)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].x() - b[i].x()) > tol || std::fabs(a[i].y() - b[i].y()) > tol)
            return false;
    return true;
}

} // namespace

class TestFoilRoutines : public QObject
{
    Q_OBJECT
private slots:
    void normaliseUnitChordUnchanged()
    {
        const QPolygonF foil = symmetricFoil();
        QVERIFY(samePoly(Normalize_airfoil2(foil, 1), foil));
    }

    void normaliseScaledAndShifted()
    {
        const QPolygonF foil = symmetricFoil();
        QPolygonF big;
        for (const QPointF& q : foil)
            big << QPointF(3.0 + 2.0 * q.x(), 2.0 * q.y());
        const QPolygonF n = Normalize_airfoil2(big, 1);
        QVERIFY(samePoly(n, foil, 1e-12));
        QCOMPARE(n.first(), QPointF(1, 0));
    }

    void normaliseMirrors()
    {
        const QPolygonF foil = symmetricFoil();
        const QPolygonF m = Normalize_airfoil2(foil, -1);
        QCOMPARE(m.size(), foil.size());
        for (int i = 0; i < foil.size(); ++i)
            QVERIFY(std::fabs(m[i].y() + foil[i].y()) < 1e-12);
    }

    void normaliseDropsPointsOutsideTheChord()
    {
        // Listed from the leading edge: only the points at its x survive the
        // first pass, and a second pass has no extent left: no airfoil.
        QPolygonF fromLE;
        const QPolygonF foil = symmetricFoil();
        const int nose = foil.size() / 2;
        for (int i = nose; i < foil.size(); ++i)
            fromLE << foil[i];
        for (int i = 0; i < nose; ++i)
            fromLE << foil[i];
        const QPolygonF first = Normalize_airfoil2(fromLE, 1);
        QVERIFY(!first.isEmpty());
        for (const QPointF& q : first)
            QCOMPARE(q.x(), 1.0);
        QVERIFY(Normalize_airfoil2(first, 1).isEmpty());
        QVERIFY(Normalize_airfoil2(QPolygonF(), 1).isEmpty());
    }

    void thicknessTexts()
    {
        const QPolygonF foil = symmetricFoil();
        QString St[2];
        FindThickness(&foil, St);
        QCOMPARE(St[0], QString(" Thickness: 12.00  at  30.00 %"));
        QCOMPARE(St[1], QString(" Top: at 30.00   Bottom: at: 30.00 "));
    }

    void segmentIndex_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<int>("expected");
        QTest::newRow("below") << -1.0 << 0;
        QTest::newRow("first segment excluded") << 0.5 << 0;
        QTest::newRow("on a knot, first match") << 2.0 << 1;
        QTest::newRow("inside") << 2.5 << 2;
        QTest::newRow("last end") << 4.0 << 3;
        QTest::newRow("beyond") << 9.0 << 4;
    }
    void segmentIndex()
    {
        QFETCH(double, t);
        QFETCH(int, expected);
        const double s[5] = {0.0, 1.0, 2.0, 3.0, 4.0};
        QCOMPARE(f_ind(t, s, 5), expected);
    }

    void arcLengthResampling()
    {
        // A unit square walked once: 8 equal steps land on corners and midpoints.
        const QPolygonF square({QPointF(0, 0), QPointF(1, 0), QPointF(1, 1), QPointF(0, 1), QPointF(0, 0)});
        const QPolygonF r = Natur_Airfoil(8, square);
        QCOMPARE(r.size(), 9);
        const QPolygonF want({QPointF(0, 0), QPointF(0.5, 0), QPointF(1, 0), QPointF(1, 0.5), QPointF(1, 1),
                              QPointF(0.5, 1), QPointF(0, 1), QPointF(0, 0.5), QPointF(0, 0)});
        QVERIFY(samePoly(r, want, 1e-12));
        QVERIFY(Natur_Airfoil(8, QPolygonF()).isEmpty());
        QCOMPARE(Zero_Airfoil(square).at(2), QPointF(1, 0));
    }

    void nearPointOnTheSideView()
    {
        const QPolygonF foil = symmetricFoil(); // upper side first, x falling
        // Upper side runs backwards in x: any side but 'D' finds it.
        PntStruct up = NearPoint(foil, QPointF(40 + 560 * 0.3, 0), 'U');
        QVERIFY(up.pnt_index >= 0 && up.pnt_index < foil.size() / 2);
        QCOMPARE(up.pnt.x(), 40 + 560 * 0.3);
        QCOMPARE(up.pnt.y(), -560 * foil[up.pnt_index].y());
        PntStruct dw = NearPoint(foil, QPointF(40 + 560 * 0.3, 0), 'D');
        QVERIFY(dw.pnt_index >= foil.size() / 2);
        PntStruct none = NearPoint(foil, QPointF(2000, 0), 'D');
        QCOMPARE(none.pnt_index, -1);
        QCOMPARE(none.pnt, QPointF(0, 0));
        QCOMPARE(NearPoint(QPolygonF(), QPointF(100, 0), 'D').pnt_index, -1);
    }

    void pointsFromText()
    {
        const QPolygonF poly = plainTextRead(" 2,0 0.0 \n1.0 0.2 \n0.0 0.0 \n\n1.0 -0.2 \n2.0 0.0 \n");
        const QPolygonF want({QPointF(1, 0), QPointF(0.5, 0.1), QPointF(0, 0), QPointF(0.5, -0.1), QPointF(1, 0)});
        QVERIFY(samePoly(poly, want, 1e-7));
    }

    void noseTopAndPairs()
    {
        // 1000 points: upper side 0..499 from the trailing edge, nose at 500.
        QPolygonF foil;
        for (int i = 0; i < 1000; ++i) {
            const double t = 2 * M_PI * i / 1000.0;
            foil << QPointF(0.5 + 0.5 * std::cos(t), 0.1 * std::sin(t));
        }
        ParaStruct* p = GetDataStruct();
        FindNoseTopIndex(p, foil);
        QCOMPARE(p->NoseIndex, 500);
        QCOMPARE(p->TopIndexUp, 250);
        QCOMPARE(p->TopIndexDw, 750);
        QCOMPARE(p->FoilPairList.size(), 1 + 499 + 1 + 499);
        QCOMPARE(p->FoilPairList.at(0).i2, 1000);
        const Foil_Pair top = p->FoilPairList.at(250);
        QCOMPARE(top.i1, 250);
        QVERIFY(std::abs(top.i2 - 750) <= 1);
        QVERIFY(std::fabs(top.H - 0.2) < 1e-3);
        QCOMPARE(p->FoilPairList.at(500).i1, 500);
        QCOMPARE(p->FoilPairList.at(500).i2, 500);
    }

    void readBackgroundAirfoil()
    {
        // A plain two-column file with a header, chord 200 shifted by 50.
        QTemporaryDir dir;
        const QString path = dir.filePath("sym12.dat");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream out(&f);
        out << "SYM12 test section\n";
        const QPolygonF foil = symmetricFoil();
        for (const QPointF& q : foil)
            out << QString::number(50 + 200 * q.x(), 'f', 6) << "  " << QString::number(200 * q.y(), 'f', 6) << "\n";
        f.close();
        const QPolygonF read = airfoil_Read(path);
        QVERIFY(samePoly(read, foil, 1e-6));
        QVERIFY(airfoil_Read(dir.filePath("none.dat")).isEmpty());
    }

    // The angles run from 0 over pi at k = N/2 to just below 2 pi, rising,
    // symmetric about pi, and closest together about pi (the nose).
    void nosePackedAngles()
    {
        const double Pi = 3.141592653;
        QCOMPARE(f_theta(0, 1000), 0.0);
        QCOMPARE(f_theta(500, 1000), Pi);
        QVERIFY(std::fabs(f_theta(999, 1000) - Pi * (2 - std::sqrt(std::sin(Pi / 1000)))) < 1e-15);
        QCOMPARE(f_theta(3, 7), Pi * std::sqrt(std::sin(3 * Pi / 7))); // the half is truncated
        QCOMPARE(f_theta(4, 7), Pi * (2 - std::sqrt(std::sin(3 * Pi / 7))));
        for (int k = 1; k < 1000; ++k) {
            QVERIFY(f_theta(k, 1000) > f_theta(k - 1, 1000));
            QVERIFY(std::fabs(f_theta(k, 1000) + f_theta(1000 - k, 1000) - 2 * Pi) < 1e-12);
        }
        QVERIFY(f_theta(501, 1000) - f_theta(500, 1000) < 0.01 * (f_theta(1, 1000) - f_theta(0, 1000)));
    }

    // 2n samples of a constant, or of one harmonic below n, equally spaced
    // over one period: the series gives the function back at every angle.
    void seriesReturnsSampledHarmonics_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("harmonic"); // 0: the constant 0.7
        QTest::addColumn<bool>("sine");
        QTest::newRow("constant") << 8 << 0 << false;
        QTest::newRow("cos t") << 8 << 1 << false;
        QTest::newRow("cos 5t") << 8 << 5 << false;
        QTest::newRow("sin 3t") << 8 << 3 << true;
        QTest::newRow("cos 40t of 500") << 500 << 40 << false;
        QTest::newRow("constant of 1") << 1 << 0 << false;
    }

    void seriesReturnsSampledHarmonics()
    {
        QFETCH(int, n);
        QFETCH(int, harmonic);
        QFETCH(bool, sine);
        const auto f = [&](double t) {
            return harmonic == 0 ? 0.7 : sine ? std::sin(harmonic * t) : std::cos(harmonic * t);
        };
        std::vector<double> in(size_t(2 * n)), out(1000), d2(1000);
        QPolygonF poly;
        for (int j = 0; j < 2 * n; ++j) {
            in[size_t(j)] = f(j * M_PI / n);
            poly << QPointF(j, in[size_t(j)]);
        }
        Fourier_Proc(n, in.data(), out.data());
        QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        Fourier_Polygon_D2(poly, d2.data());
        qInstallMessageHandler(previous);
        for (int k = 0; k < 1000; ++k) {
            const double t = f_theta(k, 1000);
            QVERIFY2(std::fabs(out[size_t(k)] - f(t)) < 1e-12, qPrintable(QString("k %1").arg(k)));
            // The second derivative of the harmonic is -harmonic^2 times it.
            QVERIFY2(std::fabs(d2[size_t(k)] - harmonic * harmonic * std::fabs(f(t))) < 1e-9 * (1 + harmonic * harmonic),
                     qPrintable(QString("k %1").arg(k)));
        }
    }

    void seriesOfNoSamples()
    {
        std::vector<double> out(1000, 5.0);
        Fourier_Proc(0, nullptr, out.data());
        QCOMPARE(out[0], 0.0);
        QCOMPARE(out[999], 0.0);
    }

    void secondDerivativeIsLogged()
    {
        QPolygonF poly;
        for (int j = 0; j < 8; ++j)
            poly << QPointF(j, std::cos(j * M_PI / 4));
        std::vector<double> d2(1000);
        static QStringList lines;
        lines.clear();
        QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { lines << text; });
        Fourier_Polygon_D2(poly, d2.data());
        qInstallMessageHandler(previous);
        QCOMPARE(lines.size(), 1000);
        QCOMPARE(lines[0], QString("0    d2: %1").arg(1e7, 0, 'f', 5)); // cos t at 0: |-1|
        QCOMPARE(lines[500], QString("500    d2: %1").arg(d2[500] * 1e7, 0, 'f', 5));
    }

    // A closed circle listed at equal angles: the expansion puts the 1000
    // points on the same circle at the nose-packed angles.
    void contourExpansionFollowsTheCircle()
    {
        const int m = 50;
        QPolygonF circle;
        for (int j = 0; j <= 2 * m; ++j) // the last point repeats the first
            circle << QPointF(0.5 + 0.5 * std::cos(j * M_PI / m), 0.3 * std::sin(j * M_PI / m));
        const QPolygonF r = FourierInterpolationAirfoil(circle);
        QCOMPARE(r.size(), 1000);
        for (int k = 0; k < 1000; ++k) {
            const double t = f_theta(k, 1000);
            QVERIFY2(std::hypot(r[k].x() - 0.5 - 0.5 * std::cos(t), r[k].y() - 0.3 * std::sin(t)) < 1e-12,
                     qPrintable(QString("k %1").arg(k)));
        }
        QVERIFY(FourierInterpolationAirfoil(QPolygonF()).isEmpty());
        QCOMPARE(FourierInterpolationAirfoil(QPolygonF{QPointF(0.2, 0.1)}).size(), 1000);
        // An airfoil keeps its extent and its nose at the middle point.
        const QPolygonF foil = FourierInterpolationAirfoil(symmetricFoil(100));
        QVERIFY(std::fabs(foil[0].x() - 1.0) < 0.01 && std::fabs(foil[500].x()) < 0.01);
    }
};

QTEST_APPLESS_MAIN(TestFoilRoutines)
#include "tst_foilroutines.moc"
