// Airfoil loading, the conformal-mapping solver and the flow quantities,
// checked against the exact Joukowski solution and inviscid panel-method
// lift coefficients.

#include "foilgen.h"
#include "airfoilprep.h"
#include "conformalmap.h"
#include "flow.h"

#include <QtTest>

#include <cmath>
#include <memory>

using namespace aerolyx;

namespace {

double Degrees(double radians) { return radians * 180.0 / M_PI; }

// The exact solution: the symmetric Joukowski airfoil from the circle through
// zeta' = 1 with centre -eps, normalised to chord 1 with the trailing edge at
// (1, 0), as foilgen draws it.
struct ExactJoukowski {
    double eps = 0.1;
    std::complex<double> mu() const { return {-eps, 0.0}; }
    double radius() const { return 1.0 + eps; }
    double leadingEdgeX() const { const double r = -1.0 - 2.0 * eps; return r + 1.0 / r; }
    double chord() const { return 2.0 - leadingEdgeX(); }
    std::complex<double> point(double t) const
    {
        const std::complex<double> z = mu() + radius() * std::polar(1.0, t);
        return 1.0 + (z + 1.0 / z - 2.0) / chord();
    }
};

QPolygonF Naca4(double camber, double pos, double thickness)
{
    return foilgen::naca4({camber, pos, thickness, true}, 81);
}

// Lift at the angle of incidence alpha (degrees) the way the polar view asks.
double Lift(const myData* d, double alpha) { return f_Clift(d, alpha - Degrees(d->zeroLiftAngle)); }

// Exact surface pressure of the symmetric Joukowski airfoil at incidence
// alpha, at the contour point of chordwise position x on the given side.
double Exact_Cp(const ExactJoukowski& j, double alpha, double x, bool upper)
{
    // The nose is at circle angle pi; bisect x(t) on the side's half.
    double lo = upper ? 1e-9 : M_PI, hi = upper ? M_PI : 2 * M_PI - 1e-9;
    for (int k = 0; k < 100; ++k) {
        const double mid = (lo + hi) / 2;
        const bool beyond = j.point(mid).real() < x;
        if (beyond == upper)
            hi = mid;
        else
            lo = mid;
    }
    const double t = (lo + hi) / 2;
    const double a = j.radius();
    const std::complex<double> z = j.mu() + a * std::polar(1.0, t);
    const std::complex<double> r = z - j.mu();
    const std::complex<double> i(0, 1);
    const std::complex<double> w = std::polar(1.0, -alpha) - a * a * std::polar(1.0, alpha) / (r * r)
                                 + i * 4.0 * M_PI * a * std::sin(alpha) / (2.0 * M_PI * r);
    const double q = std::abs(w) / std::abs(1.0 - 1.0 / (z * z));
    return 1 - q * q;
}

} // namespace

class TestAerolyxFlow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    ExactJoukowski jouk;
    std::unique_ptr<myData> joukowski, naca0012, naca4412;

    std::unique_ptr<myData> Load(const QString& name, const QPolygonF& points)
    {
        auto d = std::make_unique<myData>();
        QString why;
        const bool ok = Load_Airfoil(d.get(), foilgen::writeFile(dir.path(), name, foilgen::plainTable(points)), &why);
        if (!ok)
            qWarning() << name << why;
        return ok ? std::move(d) : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        joukowski = Load("joukowski.dat", foilgen::joukowski(0.1, 0.0, 161));
        naca0012 = Load("naca0012.dat", Naca4(0, 0, 0.12));
        naca4412 = Load("naca4412.dat", Naca4(0.04, 0.4, 0.12));
        QVERIFY(joukowski && naca0012 && naca4412);
    }

    void emptyRecord()
    {
        const myData* d = GetMyData();
        QCOMPARE(GetMyData(), d);
        QVERIFY(d->zeroFoil.isEmpty() && d->workFoil.isEmpty());
        QCOMPARE(d->mapScale, 0.0);
        QCOMPARE(d->mapCoefA[1], 0.0);
    }

    void loadedRecord()
    {
        const myData* d = joukowski.get();
        QCOMPARE(d->foilName, QString("joukowski.dat"));
        QCOMPARE(d->workFoil.size(), 128);
        QCOMPARE(d->inputFoil, d->workFoil);
        QCOMPARE(d->workFoil.first(), QPointF(1, 0));
        QVERIFY(QLineF(d->workFoil.first(), d->workFoil.last()).length() < 1e-9);
        QVERIFY(d->iterationCount >= 1 && d->iterationCount <= 1001);
        QCOMPARE(d->theta[0], 0.0);
        QCOMPARE(d->theta[127], 2 * M_PI);
        QCOMPARE(d->thetaStep[0], 0.0);
        QCOMPARE(d->thetaStep[127], 0.0);
        for (int k = 1; k < 6; ++k) { // linear ramps at both ends
            QVERIFY(std::fabs(d->thetaStep[k] - d->thetaStep[6] * k / 6) < 1e-15);
            QVERIFY(std::fabs(d->thetaStep[127 - k] - d->thetaStep[121] * k / 6) < 1e-15);
        }
        for (int k = 1; k < 128; ++k)
            QVERIFY(d->theta[k] > d->theta[k - 1]);
        const QPolygonF contour = Main_Conform_Polygon(d, kMapCoefs, 1.0, d->mapShiftX, d->mapShiftY,
                                                       d->mapScale, d->mapCoefA, d->mapCoefB);
        QCOMPARE(contour.size(), 128);
        QVERIFY(QLineF(contour.first(), contour.last()).length() < 1e-9);
        const QPolygonF back = RotateFoilPoly(d, d->zeroFoil, -d->foilTurn);
        for (int k = 0; k < 128; ++k)
            QVERIFY(QLineF(back[k], d->workFoil[k]).length() < 1e-12);
        QCOMPARE(FindThickness(d->workFoil), QString("%1").arg(
            [&] { double lo = 1, hi = -1; for (QPointF p : d->workFoil) { lo = std::min(lo, p.y()); hi = std::max(hi, p.y()); } return (hi - lo) * 100; }(), 0, 'f', 2));
    }

    void openingTwiceGivesTheSameMap()
    {
        auto again = std::make_unique<myData>(*naca0012);
        QString why;
        QVERIFY(Load_Airfoil(again.get(), dir.path() + "/joukowski.dat", &why));
        QCOMPARE(again->foilTurn, joukowski->foilTurn);
        QCOMPARE(again->mapScale, joukowski->mapScale);
        QCOMPARE(again->iterationCount, joukowski->iterationCount);
        QVERIFY(std::equal(again->theta, again->theta + 128, joukowski->theta));
        QVERIFY(std::equal(again->mapCoefB, again->mapCoefB + 64, joukowski->mapCoefB));
    }

    // A contour symmetric about y = 0 has no turn and no zero-lift angle,
    // whatever its period.
    void symmetricContour()
    {
        QPolygonF foil(128);
        for (int k = 0; k <= 63; ++k) {
            const std::complex<double> p = jouk.point(2 * M_PI * k / 127);
            foil[k] = QPointF(p.real(), p.imag());
            foil[127 - k] = QPointF(p.real(), -p.imag());
        }
        foil[0] = foil[127] = QPointF(1, 0);
        QVERIFY(std::fabs(NON_Lift_Angle(foil)) < 1e-12);
        auto d = std::make_unique<myData>();
        PrepareRotateAirfoil(d.get(), foil);
        QVERIFY(std::fabs(d->foilTurn) < 1e-12);
        QCOMPARE(d->zeroFoil.size(), 128);
    }

    void exactJoukowskiSolution()
    {
        const myData* d = joukowski.get();
        QVERIFY2(d->iterationCount < 1001, "the mapping converges");
        const double scale = jouk.radius() / jouk.chord();
        QVERIFY2(std::fabs(d->mapScale / scale - 1) < 0.002, qPrintable(QString::number(d->mapScale)));
        QVERIFY(std::fabs(Degrees(d->zeroLiftAngle)) < 0.05);

        const double alpha = 4 * M_PI / 180;
        // Compare where the speed is taken: at the map's image of each
        // station.
        double x1[129], x2[129], cp1[129], cp2[129];
        f_CP_Polar(d, alpha - d->zeroLiftAngle, x1, x2, cp1, cp2);
        int compared = 0;
        double worst = 0;
        for (int i = 1; i < 124; ++i) {
            const double x = i <= 64 ? x1[i] : x2[i];
            const double cp = i <= 64 ? cp1[i] : cp2[i];
            if (x < 0.05 || x > 0.95)
                continue;
            ++compared;
            worst = std::max(worst, std::fabs(cp - Exact_Cp(jouk, alpha, x, i < 64)));
        }
        QVERIFY(compared > 80);
        QVERIFY2(worst < 0.03, qPrintable(QString("worst Cp difference %1").arg(worst)));

        const double exact = 8 * M_PI * scale * std::sin(alpha);
        QVERIFY2(std::fabs(Lift(d, 4) / exact - 1) < 0.03, qPrintable(QString::number(Lift(d, 4))));
    }

    // A symmetric airfoil carries no lift and no moment at zero incidence.
    void symmetricAirfoilAtZeroIncidence()
    {
        for (const myData* d : {joukowski.get(), naca0012.get()}) {
            QVERIFY(std::fabs(Degrees(d->zeroLiftAngle)) < 0.05);
            QVERIFY2(std::fabs(Lift(d, 0)) < 0.002, qPrintable(QString::number(Lift(d, 0))));
            QVERIFY(std::fabs(Lift(d, -4) + Lift(d, 4)) < 0.004);
            QVERIFY(std::fabs(f_Moment(d, 0.0, 0.25)) < 0.005);
        }
    }

    void panelMethodReference_data()
    {
        // Inviscid panel method, xfoil 6.99 (Debian package), on the same
        // generated files (161 points, cosine spacing, closed trailing edge).
        QTest::addColumn<int>("foil");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("lift");
        QTest::newRow("0012 at 2") << 12 << 2.0 << 0.2414;
        QTest::newRow("0012 at 4") << 12 << 4.0 << 0.4826;
        QTest::newRow("0012 at 8") << 12 << 8.0 << 0.9628;
        QTest::newRow("4412 at 0") << 4412 << 0.0 << 0.5182;
        QTest::newRow("4412 at 2") << 4412 << 2.0 << 0.7594;
        QTest::newRow("4412 at 4") << 4412 << 4.0 << 0.9996;
        QTest::newRow("4412 at 8") << 4412 << 8.0 << 1.4762;
    }

    void panelMethodReference()
    {
        QFETCH(int, foil);
        QFETCH(double, alpha);
        QFETCH(double, lift);
        const double cl = Lift(foil == 12 ? naca0012.get() : naca4412.get(), alpha);
        QVERIFY2(std::fabs(cl / lift - 1) < 0.05, qPrintable(QString("CL %1").arg(cl)));
    }

    // Files the chain cannot take are refused with a reason and leave the
    // record as it was; a flat nose (two points at one x) loads.
    void awkwardFiles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("loads");
        QString flatNose = "flat nose\n";
        for (QPointF p : foilgen::naca4({0, 0, 0.12, true}, 41)) {
            flatNose += QString::asprintf("%.6f %.6f\n", p.x(), p.y());
            if (p.x() == 0 && p.y() == 0) // a second nose point at the same x
                flatNose += "0.000000 -0.001000\n";
        }
        QTest::newRow("flat nose") << flatNose << true;
        foilgen::Format exponentFormat;
        exponentFormat.style = 'E';
        const QString exponent = foilgen::plainTable(foilgen::naca4({0, 0, 0.12, true}, 41), exponentFormat);
        QTest::newRow("exponent notation") << exponent << true;
        QTest::newRow("letters only") << "no numbers here\nat all\n" << false;
        QTest::newRow("one point") << "1.0 0.0\n1.0 0.0\n1.0 0.0\n" << false;
        QTest::newRow("vertical line") << "1.0 0.0\n1.0 0.5\n1.0 -0.5\n1.0 0.0\n" << false;
        QString noseFirst = "nose first\n";
        const QPolygonF naca = foilgen::naca4({0, 0, 0.12, true}, 41);
        for (int k = 0; k < naca.size(); ++k) {
            const QPointF p = naca[(k + 40) % (naca.size() - 1)];
            noseFirst += QString::asprintf("%.6f %.6f\n", p.x(), p.y());
        }
        QTest::newRow("nose first") << noseFirst << false;
    }

    void awkwardFiles()
    {
        QFETCH(QString, text);
        QFETCH(bool, loads);
        const QString path = dir.path() + "/awkward.dat";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toLatin1());
        file.close();
        auto d = std::make_unique<myData>(*naca0012);
        QString why;
        QCOMPARE(Load_Airfoil(d.get(), path, &why), loads);
        if (loads) {
            QCOMPARE(d->foilName, QString("awkward.dat"));
            QVERIFY(d->mapScale > 0.2 && d->mapScale < 0.35);
        } else {
            QVERIFY(!why.isEmpty());
            QCOMPARE(d->foilName, naca0012->foilName);
            QCOMPARE(d->mapScale, naca0012->mapScale);
            QCOMPARE(d->workFoil, naca0012->workFoil);
        }
        QVERIFY(!Load_Airfoil(d.get(), dir.path() + "/missing.dat", &why));
        QVERIFY(!why.isEmpty());
    }

    void pressureAndSpeed()
    {
        const myData* d = naca4412.get();
        QVERIFY(std::fabs(f_V_Pot(d, 64, 1e8, M_PI / 2, 0.0) * d->mapScale - 1) < 1e-6);
        QCOMPARE(f_V_Pot(d, 64, 1.0, kTrailingCut, 0.1), 0.0);
        QCOMPARE(f_Cp(2.0, 2.0), 0.0);
        QCOMPARE(f_Cp(0.0, 2.0), 1.0);
        double phi[129], cp[129];
        f_CP_foil(d, 0.1, phi, cp);
        for (int i = 0; i < 129; ++i)
            QVERIFY(cp[i] <= 1.0);
        for (int i = 124; i < 129; ++i)
            QCOMPARE(cp[i], 1.0);
        double x1[129], x2[129], cp1[129], cp2[129];
        f_CP_Polar(d, 0.1, x1, x2, cp1, cp2);
        QCOMPARE(cp1[64], cp2[64]);
        QCOMPARE(cp1[10], cp[10]);
        QCOMPARE(cp2[100], cp[100]);
        auto at = std::make_unique<myData>(*d);
        at->attackAngle = Degrees(at->zeroLiftAngle);
        QVERIFY(std::fabs(Circulation(at.get())) < 1e-15);
    }

    void centreOfPressure()
    {
        const myData* d = naca0012.get();
        double force = 0;
        const double cp = C_P_position(d, 4 * M_PI / 180, 0.0, 1.0, &force);
        QVERIFY(force > 0.3);
        QVERIFY2(cp > 0.2 && cp < 0.3, qPrintable(QString::number(cp)));
        QCOMPARE(Dcp_Value_Text(cp), QString::number(cp, 'f', 3));
        // At zero lift, or over a range holding no station, there is no
        // centre of pressure: no quotient of nothing by nothing is shown.
        QVERIFY(std::isnan(C_P_position(d, 0.3, 2.0, 3.0, &force)));
        QCOMPARE(Dcp_Value_Text(C_P_position(d, 0.3, 2.0, 3.0, nullptr)), QString("n/a"));
        const double ac = AC_Position(d, 4.0);
        const int j = int(std::lround((ac - 0.2) / 0.0015));
        QVERIFY(j >= 0 && j <= 66 && std::fabs(ac - (0.2 + j * 0.0015)) < 1e-12);
    }
};

QTEST_GUILESS_MAIN(TestAerolyxFlow)
#include "tst_aerolyxflow.moc"
