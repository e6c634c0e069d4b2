#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <cmath>
#include <vector>

#include "core/geomconst.h"
#include "core/mygsllib.h"

namespace {
bool near(double a, double b, double tol)
{
    return std::fabs(a - b) <= tol;
}
} // namespace

class TestNumeric : public QObject
{
    Q_OBJECT
private slots:
    void simpson_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("h");
        QTest::addColumn<QList<double>>("f");
        QTest::addColumn<double>("expected");
        QTest::newRow("constant, two intervals") << 2 << 0.5 << QList<double>{1, 1, 1} << 1.0;
        QTest::newRow("ramp") << 4 << 1.0 << QList<double>{0, 1, 2, 3, 4} << 8.0;
        // x^3 on [0, 2] is integrated exactly: 4.
        QTest::newRow("cubic exact") << 4 << 0.5 << QList<double>{0, 0.125, 1, 3.375, 8} << 4.0;
        QTest::newRow("no interval") << 0 << 3.0 << QList<double>{2} << 4.0;
        QTest::newRow("negative count") << -1 << 3.0 << QList<double>{2} << 0.0;
    }
    void simpson()
    {
        QFETCH(int, n);
        QFETCH(double, h);
        QFETCH(QList<double>, f);
        QFETCH(double, expected);
        // Exactly the samples the count names: a read beyond them is caught.
        std::vector<double> samples(f.begin(), f.end());
        QVERIFY(near(Simpson(n, h, samples.data()), expected, 1e-12));
    }

    void cubicResampleSamplesBeforeTheLastAbscissa()
    {
        const int n = 8;
        std::vector<double> x(n), y(n);
        for (int i = 0; i < n; ++i) {
            x[i] = i;
            y[i] = 3 - 2 * x[i]; // a natural spline reproduces a straight line
        }
        QVERIFY(interpol_Cubic(n, n, x.data(), y.data()));
        for (int i = 0; i < n; ++i)
            QVERIFY(near(y[i], 3 - 2 * (i * (n - 1.0) / n), 1e-12));

        // More samples than points: y holds max(n, m) values.
        const int m = 20;
        std::vector<double> yy(m);
        for (int i = 0; i < n; ++i)
            yy[i] = 3 - 2 * x[i];
        QVERIFY(interpol_Cubic(n, m, x.data(), yy.data()));
        for (int i = 0; i < m; ++i)
            QVERIFY(near(yy[i], 3 - 2 * (i * (n - 1.0) / m), 1e-12));
    }

    void cubicResampleRefusesBadTables_data()
    {
        QTest::addColumn<QList<double>>("x");
        QTest::addColumn<int>("m");
        QTest::newRow("two points") << QList<double>{0, 1} << 5;
        QTest::newRow("falling abscissae") << QList<double>{0, 2, 1, 3} << 4;
        QTest::newRow("repeated abscissa") << QList<double>{0, 1, 1, 3} << 4;
        QTest::newRow("no samples") << QList<double>{0, 1, 2, 3} << 0;
    }
    void cubicResampleRefusesBadTables()
    {
        QFETCH(QList<double>, x);
        QFETCH(int, m);
        const int n = int(x.size());
        std::vector<double> xs(x.begin(), x.end());
        std::vector<double> y(std::max(n, m), 7.0);
        QVERIFY(!interpol_Cubic(n, m, xs.data(), y.data()));
        for (double v : y)
            QCOMPARE(v, 7.0);
        if (m > 0) // the table itself cannot carry a spline
            QCOMPARE(interpTable13(n, xs.data(), y.data(), 1.5), 0.0);
    }

    void tableLookup()
    {
        const double x[5] = {0, 1, 2, 3, 4};
        const double y[5] = {1, 3, 5, 7, 9};
        QVERIFY(near(interpTable13(5, x, y, 2.5), 6, 1e-12));
        // Outside the table the argument is clamped to its ends.
        QVERIFY(near(interpTable13(5, x, y, -3), 1, 1e-12));
        QVERIFY(near(interpTable13(5, x, y, 40), 9, 1e-12));
    }

    void fftRecoversKnownCoefficients()
    {
        const int n = 64;
        const double pi = wl::FullPi;
        std::vector<double> in(n);
        for (int j = 0; j < n; ++j) {
            const double t = 2 * pi * j / n;
            in[j] = 1.5 + 0.75 * std::cos(t) - 2 * std::sin(3 * t) + 0.25 * std::cos(7 * t)
                    + 0.5 * std::sin(31 * t);
        }
        const std::vector<double> copy = in;
        std::vector<double> a(n / 2, 99), b(n / 2, 99);
        QVERIFY(fft_test(n, in.data(), a.data(), b.data()));
        QCOMPARE(in, copy);
        for (int k = 0; k < n / 2; ++k) {
            const double ea = k == 0 ? 3.0 : k == 1 ? 0.75 : k == 7 ? 0.25 : 0.0;
            const double eb = k == 3 ? -2.0 : k == 31 ? 0.5 : 0.0;
            QVERIFY2(near(a[k], ea, 1e-12), qPrintable(QString("a[%1] = %2").arg(k).arg(a[k])));
            QVERIFY2(near(b[k], eb, 1e-12), qPrintable(QString("b[%1] = %2").arg(k).arg(b[k])));
        }
        QCOMPARE(b[0], 0.0);
    }

    void fftOfConstant()
    {
        std::vector<double> in(16, 2.5), a(8, 9), b(8, 9);
        QVERIFY(fft_test(16, in.data(), a.data(), b.data()));
        QVERIFY(near(a[0], 5.0, 1e-12));
        for (int k = 1; k < 8; ++k)
            QVERIFY(near(a[k], 0, 1e-12) && near(b[k], 0, 1e-12));
        QCOMPARE(b[0], 0.0);
    }

    void fftRefusesOtherLengths_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("six") << 6;
        QTest::newRow("one hundred") << 100;
        QTest::newRow("zero") << 0;
    }
    void fftRefusesOtherLengths()
    {
        QFETCH(int, n);
        std::vector<double> in(std::max(n, 1), 1.0);
        std::vector<double> a(std::max(n / 2, 1), 9), b(std::max(n / 2, 1), 9);
        QVERIFY(!fft_test(n, in.data(), a.data(), b.data()));
        for (int k = 0; k < n / 2; ++k)
            QVERIFY(a[k] == 0 && b[k] == 0);
    }

    void polyFitRecoversExactPolynomial_data()
    {
        QTest::addColumn<int>("form");
        QTest::newRow("powers") << int(PowerForm::Pow);
        QTest::newRow("repeated multiplication") << int(PowerForm::Multiply);
    }
    void polyFitRecoversExactPolynomial()
    {
        QFETCH(int, form);
        const PowerForm f = PowerForm(form);
        const double coeff[4] = {0.5, -2.0, 0.25, 1.5};
        const int n = 12;
        std::vector<double> x(n), y(n);
        for (int i = 0; i < n; ++i) {
            x[i] = -1.3 + 0.27 * i;
            y[i] = coeff[0] + coeff[1] * x[i] + coeff[2] * x[i] * x[i] + coeff[3] * std::pow(x[i], 3);
        }
        std::vector<double> c(4);
        QVERIFY(gslpolyfit(n, 4, x.data(), y.data(), c.data(), f));
        for (int j = 0; j < 4; ++j)
            QVERIFY(near(c[j], coeff[j], 1e-10));

        const std::vector<double> exact = y;
        QVERIFY(PolyFit(n, 4, x.data(), y.data(), f));
        for (int i = 0; i < n; ++i)
            QVERIFY(near(y[i], exact[i], 1e-10));

        // A straight line through noisy-free points of a cubic is a least-
        // squares line: the residuals sum to zero.
        std::vector<double> line = exact;
        QVERIFY(PolyFit(n, 2, x.data(), line.data(), f));
        double residual = 0;
        for (int i = 0; i < n; ++i)
            residual += exact[i] - line[i];
        QVERIFY(near(residual, 0, 1e-9));
    }

    void polyFitRefusesMoreCoefficientsThanPoints()
    {
        const double x[3] = {0, 1, 2};
        double y[3] = {1, 4, 2};
        QVERIFY(!PolyFit(3, 5, x, y));
        QVERIFY(!PolyFit(3, 0, x, y));
        QCOMPARE(y[0], 1.0);
        QCOMPARE(y[1], 4.0);
        QCOMPARE(y[2], 2.0);
        std::vector<double> c(5, 9);
        QVERIFY(!gslpolyfit(3, 5, x, y, c.data()));
        for (double v : c)
            QCOMPARE(v, 0.0);
        // As many coefficients as points: the polynomial interpolates.
        QVERIFY(PolyFit(3, 3, x, y));
        QVERIFY(near(y[0], 1, 1e-10) && near(y[1], 4, 1e-10) && near(y[2], 2, 1e-10));
    }

    void fourierSeriesOfKnownSamples()
    {
        const int n = 8;
        const double pi = wl::Pi;
        std::vector<double> src(2 * n);
        for (int i = 0; i < 2 * n; ++i) {
            const double t = i * pi / n;
            src[i] = 1 + std::cos(t) + 0.5 * std::sin(2 * t);
        }
        std::vector<double> out(1000), cosOnly(1000);
        Fourier_Proc(n, src.data(), out.data());
        Fourier_Cos_Proc(n, src.data(), cosOnly.data());
        for (int j = 0; j < 1000; j += 37) {
            const double t = 2 * j * pi / 1000.0;
            QVERIFY(near(out[j], 1 + std::cos(t) + 0.5 * std::sin(2 * t), 1e-8));
            QVERIFY(near(cosOnly[j], 1 + std::cos(t), 1e-8));
        }
    }

    void fourierCoefficients()
    {
        const int n = 4;
        std::vector<double> a(n + 1, 9), b(n + 1, 9), theta(2 * n), y(2 * n);
        std::vector<double> src{1, 2, 3, 4, 5, 6, 7, 8};
        Init_fu_fields(n, a.data(), b.data(), theta.data(), y.data(), src.data());
        for (int k = 0; k < n; ++k)
            QVERIFY(a[k] == 0 && b[k] == 0);
        QCOMPARE(theta[1], wl::Pi / n);
        QCOMPARE(y, src);
        Proc_A_bn(n, a.data(), b.data(), theta.data(), y.data());
        QCOMPARE(b[0], 0.0);
        QVERIFY(near(a[0], 36.0 / n, 1e-12)); // twice the mean
        QVERIFY(near(a[n], (1 - 2 + 3 - 4 + 5 - 6 + 7 - 8) / double(n), 1e-7));

        // The flow analyser's variant takes pi at full precision.
        Init_fu_fields(n, a.data(), b.data(), theta.data(), y.data(), src.data(), true);
        QCOMPARE(theta[1], wl::FullPi / n);
    }

    void airfoilInterpolationSizes_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("7") << 7;
        QTest::newRow("1000") << 1000;
        QTest::newRow("1001") << 1001;
        QTest::newRow("1002") << 1002;
        QTest::newRow("1600") << 1600; // beyond a fixed 1002-value scratch
    }
    void airfoilInterpolationSizes()
    {
        QFETCH(int, points);
        QPolygonF poly;
        for (int i = 0; i < points; ++i) {
            const double t = 2 * wl::FullPi * i / points;
            poly.append(QPointF(0.5 + 0.5 * std::cos(t), 0.06 * std::sin(t)));
        }
        const QPolygonF out = FourierInterpolationAirfoil(poly);
        QCOMPARE(out.size(), 1000);
        for (const QPointF& p : out)
            QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
        if (points == 1)
            QCOMPARE(out[500], poly[0]);
        QVERIFY(FourierInterpolationAirfoil(QPolygonF()).isEmpty());
    }

    void airfoilInterpolationFollowsTheContour()
    {
        // A smooth closed contour of 1000 points comes back close to itself.
        QPolygonF poly;
        for (int i = 0; i < 1000; ++i) {
            const double t = 2 * wl::FullPi * i / 999;
            poly.append(QPointF(0.5 + 0.5 * std::cos(t), 0.06 * std::sin(t) + 0.02 * std::sin(2 * t)));
        }
        const QPolygonF out = FourierInterpolationAirfoil(poly);
        QCOMPARE(out.size(), 1000);
        for (int j = 100; j < 900; j += 50) {
            const double t = 2 * wl::FullPi * j / 1000;
            const QPointF e(0.5 + 0.5 * std::cos(t), 0.06 * std::sin(t) + 0.02 * std::sin(2 * t));
            QVERIFY2(near(out[j].x(), e.x(), 5e-3) && near(out[j].y(), e.y(), 5e-3),
                     qPrintable(QString("%1: (%2, %3)").arg(j).arg(out[j].x()).arg(out[j].y())));
        }
    }
};

QTEST_APPLESS_MAIN(TestNumeric)
#include "tst_mygsllib.moc"
