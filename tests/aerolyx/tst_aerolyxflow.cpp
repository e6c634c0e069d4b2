// Airfoil loading, the conformal-mapping solver and the flow quantities,
// checked against the exact Joukowski solution and inviscid panel-method
// lift coefficients.

#include "tests/common/foilgen.h"
#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/flow.h"

#include <QTest>
#include <QFile>
#include <QIODevice>
#include <QLineF>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

using namespace aerolyx;

namespace {

double Degrees(double radians) { return radians * 180.0 / M_PI; }

// The exact solution: the Joukowski airfoil from the circle through zeta' = 1
// with centre (-eps, delta), normalised to chord 1 with the trailing edge at
// (1, 0), as foilgen draws it. Contour parameter t is the circle angle counted
// from the trailing edge.
struct ExactJoukowski {
    double eps = 0.1;
    double delta = 0.0;
    double chord = 0;
    double leadingEdgeX = 0;
    ExactJoukowski(double e, double d) : eps(e), delta(d)
    {
        leadingEdgeX = joukowski(nearest([this](double t) { return joukowski(t).real(); })).real();
        chord = 2.0 - leadingEdgeX;
    }
    // The contour parameter where f is least: a scan, then golden-section
    // refinement round the best sample.
    template <class F> static double nearest(F f)
    {
        const int n = 2000;
        const double h = 2 * M_PI / n;
        int best = 0;
        for (int k = 1; k < n; ++k)
            if (f(k * h) < f(best * h))
                best = k;
        double lo = (best - 1) * h, hi = (best + 1) * h;
        const double g = (std::sqrt(5.0) - 1) / 2;
        for (int k = 0; k < 60; ++k) {
            const double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
            if (f(a) < f(b))
                hi = b;
            else
                lo = a;
        }
        return (lo + hi) / 2;
    }
    std::complex<double> mu() const { return {-eps, delta}; }
    double radius() const { return std::abs(1.0 - mu()); }
    double trailingAngle() const { return std::arg(1.0 - mu()); } // the zero-lift angle
    std::complex<double> circle(double t) const { return mu() + std::polar(radius(), trailingAngle() + t); }
    std::complex<double> joukowski(double t) const { const auto z = circle(t); return z + 1.0 / z; }
    std::complex<double> point(double t) const { return 1.0 + (joukowski(t) - 2.0) / chord; }
    double scale() const { return radius() / chord; }
    // Surface pressure at contour parameter t and incidence alpha, with the
    // circulation that leaves the trailing edge smoothly (free stream 1).
    double cp(double t, double alpha) const
    {
        const std::complex<double> z = circle(t), r = z - mu(), i(0, 1);
        const double a = radius();
        const double gamma = 4.0 * M_PI * a * std::sin(alpha - trailingAngle());
        const std::complex<double> w = std::polar(1.0, -alpha) - a * a * std::polar(1.0, alpha) / (r * r)
                                     + i * gamma / (2.0 * M_PI * r);
        const double q = std::abs(w) / std::abs(1.0 - 1.0 / (z * z));
        return 1 - q * q;
    }
    double lift(double alpha) const { return 8 * M_PI * scale() * std::sin(alpha - trailingAngle()); }
    // Pitching moment about (0.25, 0), nose up positive: minus the contour
    // integral of Cp ((x - 0.25) dx + y dy), by the midpoint rule.
    double moment(double alpha) const
    {
        const int n = 4000;
        double m = 0;
        for (int k = 0; k < n; ++k) {
            const double t0 = 2 * M_PI * k / n, t1 = 2 * M_PI * (k + 1) / n;
            const std::complex<double> p0 = point(t0), p1 = point(t1), pm = point((t0 + t1) / 2);
            m -= cp((t0 + t1) / 2, alpha) * ((pm.real() - 0.25) * (p1 - p0).real() + pm.imag() * (p1 - p0).imag());
        }
        return m;
    }
};

QPolygonF Naca4(double camber, double pos, double thickness)
{
    return foilgen::naca4({camber, pos, thickness, true}, 81);
}

// Lift at the angle of incidence alpha (degrees) the way the polar view asks.
double Lift(const myData* d, double alpha) { return f_Clift(d, alpha - Degrees(d->zeroLiftAngle)); }

// Exact surface pressure of the Joukowski airfoil at incidence alpha, at the
// contour point of chordwise position x on the given side.
double Exact_Cp(const ExactJoukowski& j, double alpha, double x, bool upper)
{
    // Bisect x(t) on the side's half; the nose is near circle angle pi.
    double lo = upper ? 1e-9 : M_PI, hi = upper ? M_PI : 2 * M_PI - 1e-9;
    for (int k = 0; k < 100; ++k) {
        const double mid = (lo + hi) / 2;
        const bool beyond = j.point(mid).real() < x;
        if (beyond == upper)
            hi = mid;
        else
            lo = mid;
    }
    return j.cp((lo + hi) / 2, alpha);
}

} // namespace

class TestAerolyxFlow : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    ExactJoukowski jouk{0.1, 0.0};
    ExactJoukowski camberedJouk{0.1, 0.08};
    std::unique_ptr<myData> joukowski, camberedJoukowski, naca0012, naca4412;

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
        camberedJoukowski = Load("camberedjoukowski.dat", foilgen::joukowski(0.1, 0.08, 161));
        naca0012 = Load("naca0012.dat", Naca4(0, 0, 0.12));
        naca4412 = Load("naca4412.dat", Naca4(0.04, 0.4, 0.12));
        QVERIFY(joukowski && camberedJoukowski && naca0012 && naca4412);
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
        // The map reproduces the exact contour and its scale: its image of
        // each station lies on the exact airfoil.
        QVERIFY2(std::fabs(d->mapScale / jouk.scale() - 1) < 2e-4, qPrintable(QString::number(d->mapScale)));
        QVERIFY(std::fabs(Degrees(d->zeroLiftAngle)) < 0.05);
        double off = 0;
        for (int i = 0; i < 127; ++i) {
            const double phi = i * 2 * M_PI / 127;
            const std::complex<double> p(fin2_X(64, 1, phi, d->mapScale, d->mapShiftX, d->mapCoefA, d->mapCoefB),
                                         fin2_Y(64, 1, phi, d->mapScale, d->mapShiftY, d->mapCoefA, d->mapCoefB));
            const double t = ExactJoukowski::nearest([&](double u) { return std::abs(jouk.point(u) - p); });
            off = std::max(off, std::abs(jouk.point(t) - p));
        }
        QVERIFY2(off < 5e-4, qPrintable(QString("map image off the contour by %1").arg(off)));

        const double alpha = 4 * M_PI / 180;
        // Compare where the speed is taken: at the map's image of each
        // station. Round the nose, 128 stations resolve the suction peak less
        // well, so there the tolerance is wider.
        double x1[129], x2[129], cp1[129], cp2[129];
        f_CP_Polar(d, alpha - d->zeroLiftAngle, x1, x2, cp1, cp2);
        int compared = 0;
        double worst = 0, worstNose = 0;
        for (int i = 1; i < 124; ++i) {
            const double x = i <= 64 ? x1[i] : x2[i];
            const double cp = i <= 64 ? cp1[i] : cp2[i];
            if (x > 0.95)
                continue;
            const double diff = std::fabs(cp - Exact_Cp(jouk, alpha, x, i < 64));
            if (x < 0.05) {
                worstNose = std::max(worstNose, diff);
                continue;
            }
            ++compared;
            worst = std::max(worst, diff);
        }
        QVERIFY(compared > 80);
        QVERIFY2(worst < 0.01, qPrintable(QString("worst Cp difference %1").arg(worst)));
        QVERIFY2(worstNose < 0.03, qPrintable(QString("worst Cp difference at the nose %1").arg(worstNose)));

        QVERIFY2(std::fabs(Lift(d, 4) / jouk.lift(alpha) - 1) < 0.01, qPrintable(QString::number(Lift(d, 4))));
        for (double a : {0.0, 4.0, 8.0})
            QVERIFY2(std::fabs(f_Moment(d, a * M_PI / 180 - d->zeroLiftAngle, 0.25) - jouk.moment(a * M_PI / 180)) < 0.003,
                     qPrintable(QString("Cm at %1").arg(a)));
    }

    // The cambered section: the zero position lays the zero-lift line on the
    // x axis, so the flow angle is measured from it and the moment about the
    // quarter chord is that of the exact flow. The lift is the pressure force
    // at right angles to the stream, not across the zero-lift line (which
    // would fall short by the cosine of the flow angle, 2 % at 8 degrees).
    void exactCamberedJoukowski()
    {
        const myData* d = camberedJoukowski.get();
        const double zeroLift = Degrees(camberedJouk.trailingAngle());
        QVERIFY2(std::fabs(Degrees(d->zeroLiftAngle) - zeroLift) < 0.05, qPrintable(QString::number(Degrees(d->zeroLiftAngle))));
        QCOMPARE(d->foilTurn, -d->zeroLiftAngle);
        QVERIFY(std::fabs(d->mapScale / camberedJouk.scale() - 1) < 0.005);
        for (double a : {-4.0, 0.0, 4.0, 8.0}) {
            const double alpha = a * M_PI / 180;
            const double cm = f_Moment(d, alpha - d->zeroLiftAngle, 0.25);
            const double exact = camberedJouk.moment(alpha);
            QVERIFY2(std::fabs(cm - exact) < 0.003, qPrintable(QString("Cm %1, exact %2 at %3").arg(cm).arg(exact).arg(a)));
            const double lift = camberedJouk.lift(alpha);
            QVERIFY2(std::fabs(Lift(d, a) - lift) < 0.005,
                     qPrintable(QString("CL %1, exact %2 at %3").arg(Lift(d, a)).arg(lift).arg(a)));
        }
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
        // generated files (161 points, cosine spacing, closed trailing edge);
        // moment about the quarter chord.
        QTest::addColumn<int>("foil");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<double>("lift");
        QTest::addColumn<double>("moment");
        QTest::newRow("0012 at 2") << 12 << 2.0 << 0.2416 << -0.0028;
        QTest::newRow("0012 at 4") << 12 << 4.0 << 0.4829 << -0.0056;
        QTest::newRow("0012 at 8") << 12 << 8.0 << 0.9634 << -0.0110;
        QTest::newRow("4412 at -4") << 4412 << -4.0 << 0.0258 << -0.1051;
        QTest::newRow("4412 at 0") << 4412 << 0.0 << 0.5098 << -0.1112;
        QTest::newRow("4412 at 2") << 4412 << 2.0 << 0.7510 << -0.1145;
        QTest::newRow("4412 at 4") << 4412 << 4.0 << 0.9913 << -0.1178;
        QTest::newRow("4412 at 8") << 4412 << 8.0 << 1.4679 << -0.1248;
    }

    void panelMethodReference()
    {
        QFETCH(int, foil);
        QFETCH(double, alpha);
        QFETCH(double, lift);
        QFETCH(double, moment);
        const myData* d = foil == 12 ? naca0012.get() : naca4412.get();
        const double cl = Lift(d, alpha);
        QVERIFY2(std::fabs(cl - lift) < 0.05 * std::max(std::fabs(lift), 0.5), qPrintable(QString("CL %1").arg(cl)));
        const double cm = f_Moment(d, alpha * M_PI / 180 - d->zeroLiftAngle, 0.25);
        QVERIFY2(std::fabs(cm - moment) < 0.005, qPrintable(QString("Cm %1").arg(cm)));
    }

    // A symmetric section stays symmetric whatever the number of points of
    // its file and whether its trailing edge is closed: no zero-lift angle,
    // its thickness, no lift at zero incidence, and the mapping settles.
    void symmetricSectionAtAnyPointCount_data()
    {
        QTest::addColumn<int>("perSide");
        QTest::addColumn<bool>("closed");
        for (int perSide : {18, 31, 50, 51, 80, 81, 126, 200})
            for (bool closed : {true, false})
                QTest::addRow("%d points, %s", 2 * perSide - 1, closed ? "closed" : "blunt") << perSide << closed;
    }

    void symmetricSectionAtAnyPointCount()
    {
        QFETCH(int, perSide);
        QFETCH(bool, closed);
        const QPolygonF points = foilgen::naca4({0, 0, 0.12, closed}, perSide);
        const std::unique_ptr<myData> d = Load("sym.dat", points);
        QVERIFY(d);
        QVERIFY2(std::fabs(Degrees(d->zeroLiftAngle)) < 0.01, qPrintable(QString::number(Degrees(d->zeroLiftAngle))));
        double lo = 1, hi = -1;
        for (const QPointF& p : points) {
            lo = std::min(lo, p.y());
            hi = std::max(hi, p.y());
        }
        const double thickness = FindThickness(d->workFoil).toDouble();
        QVERIFY2(std::fabs(thickness - (hi - lo) * 100) < 0.1, qPrintable(QString::number(thickness)));
        QVERIFY2(std::fabs(Lift(d.get(), 0)) < 0.005, qPrintable(QString::number(Lift(d.get(), 0))));
        QVERIFY2(std::fabs(Lift(d.get(), 4) - 0.4829) < 0.03 * 0.4829, qPrintable(QString::number(Lift(d.get(), 4))));
        QVERIFY2(d->iterationCount < 100, qPrintable(QString::number(d->iterationCount)));
    }

    // A blunt trailing edge is closed smoothly: the pressure along the last
    // stations is as even as that of the same section with a closed edge,
    // with no ripple where the ends were moved together.
    void bluntTrailingEdgeClosesSmoothly()
    {
        const auto roughness = [](const myData* d) {
            double x1[129], x2[129], cp1[129], cp2[129];
            f_CP_Polar(d, 4 * M_PI / 180 - d->zeroLiftAngle, x1, x2, cp1, cp2);
            double r = 0;
            for (int i = 4; i < 40; ++i) // upper side, from the trailing edge
                r += std::fabs(cp1[i + 1] - 2 * cp1[i] + cp1[i - 1]);
            for (int i = 92; i < 122; ++i) // lower side, up to the trailing edge
                r += std::fabs(cp2[i + 1] - 2 * cp2[i] + cp2[i - 1]);
            return r;
        };
        const std::unique_ptr<myData> blunt = Load("blunt.dat", foilgen::naca4({0.02, 0.4, 0.12, false}, 81));
        const std::unique_ptr<myData> closed = Load("closed.dat", foilgen::naca4({0.02, 0.4, 0.12, true}, 81));
        QVERIFY(blunt && closed);
        QVERIFY2(roughness(blunt.get()) < 1.5 * roughness(closed.get()),
                 qPrintable(QString("%1 against %2").arg(roughness(blunt.get())).arg(roughness(closed.get()))));
        QCOMPARE(blunt->workFoil.first(), QPointF(1, 0));
        QVERIFY(QLineF(blunt->workFoil.last(), QPointF(1, 0)).length() < 1e-9);
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
        QTest::newRow("two points") << "two points\n1.0 0.0\n0.0 0.0\n" << false;
        // The sides listed separately from the leading edge after their
        // counts would read as a symmetric half contour.
        const QPolygonF cambered = foilgen::naca4({0.02, 0.4, 0.12, false}, 61);
        QTest::newRow("separate sides")
            << foilgen::separateSidesTable(foilgen::upperSide(cambered), foilgen::lowerSide(cambered)) << false;
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
            if (QString(QTest::currentDataTag()) == "separate sides")
                QVERIFY2(why.contains("separately"), qPrintable(why));
            QCOMPARE(d->foilName, naca0012->foilName);
            QCOMPARE(d->mapScale, naca0012->mapScale);
            QCOMPARE(d->workFoil, naca0012->workFoil);
        }
        QVERIFY(!Load_Airfoil(d.get(), dir.path() + "/missing.dat", &why));
        QVERIFY(!why.isEmpty());
    }

    // The map's series, summed term by term in complex numbers: the
    // evaluation that turns its harmonics on from one to the next agrees.
    void mapAgainstItsSeries()
    {
        const myData* d = naca4412.get();
        using C = std::complex<double>;
        for (double r : {1.0, 1.3, 4.0})
            for (double phi : {0.0, 0.7, 2.9, M_PI, 4.4, 6.2}) {
                const C zeta = std::polar(r, phi);
                C w = zeta, dw = 1.0;
                for (int k = 1; k < kMapCoefs; ++k) {
                    const C c(d->mapCoefA[k], d->mapCoefB[k]);
                    w += c * std::pow(zeta, -k);
                    dw -= double(k) * c * std::pow(zeta, -(k + 1));
                }
                w = C(d->mapShiftX, d->mapShiftY) + d->mapScale * w;
                const double x = fin2_X(kMapCoefs, r, phi, d->mapScale, d->mapShiftX, d->mapCoefA, d->mapCoefB);
                const double y = fin2_Y(kMapCoefs, r, phi, d->mapScale, d->mapShiftY, d->mapCoefA, d->mapCoefB);
                QVERIFY(std::abs(C(x, y) - w) < 1e-12);
                const C turned = std::polar(d->mapScale, -d->foilTurn) * dw;
                QVERIFY(std::abs(Df_conform(d, kMapCoefs, r, phi, d->mapScale, d->mapCoefA, d->mapCoefB) - turned) < 1e-12);
            }
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
