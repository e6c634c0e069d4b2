// Numeric building blocks of the flow analyser and the preparation of an
// airfoil outline.

#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/numutil.h"

#include <QTest>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace aerolyx;

class TestAerolyxNumeric : public QObject {
    Q_OBJECT

private slots:
    void complexReciprocal()
    {
        QCOMPARE(C_inv(C_set(0, 0)), Complex(0, 0));
        QCOMPARE(C_inv(C_set(0, 2)), Complex(0, -0.5));
        const Complex z = C_mul(C_set(1, 2), C_inv(C_set(1, 2)));
        QVERIFY(std::abs(z - Complex(1, 0)) < 1e-15);
    }

    void tableRescaling()
    {
        double v[] = {0, 1, 2, 3};
        normalize_f(4, v); // entry 0 takes no part in the range
        QCOMPARE(std::vector<double>(v, v + 4), (std::vector<double>{-0.5, 0, 0.5, 1}));
        double t[] = {2, 4, 3};
        Normalize_Table(3, t);
        QCOMPARE(std::vector<double>(t, t + 3), (std::vector<double>{0, 1, 0.5}));
        double flat[] = {5, 5, 5};
        Normalize_Table(3, flat); // no spread: left alone, no division by 0
        normalize_f(3, flat);
        QCOMPARE(flat[1], 5.0);
    }

    void splineAtTheUniformAngles()
    {
        const int n = 9;
        std::vector<double> x(n), y(n), out(n, -7);
        for (int i = 0; i < n; ++i) {
            x[i] = Uniform_Angle(i, n);
            y[i] = std::sin(3 * x[i]) + i;
        }
        QVERIFY(interpSpline(n, x.data(), y.data(), out.data()));
        for (int i = 0; i < n; ++i)
            QVERIFY(std::fabs(out[i] - y[i]) < 1e-12);
        // Abscissae that do not rise are refused and the output is untouched.
        x[4] = x[3];
        std::fill(out.begin(), out.end(), -7);
        QVERIFY(!interpSpline(n, x.data(), y.data(), out.data()));
        QCOMPARE(out[0], -7.0);
    }

    void fourierSeries()
    {
        const double a[] = {3.0, 1.0};
        const double b[] = {0.0, 1.0};
        QCOMPARE(f_value(10, 1, a, b, 4), 1.5);
        // Samples of 1 + cos t + 0.5 sin 2t come back at any angle.
        const int m = 8;
        std::vector<double> y(2 * m), out(33), ca(m), cb(m);
        for (int j = 0; j < 2 * m; ++j) {
            const double t = j * M_PI / m;
            y[j] = 1 + std::cos(t) + 0.5 * std::sin(2 * t);
        }
        QVERIFY(Fourier_Proc(33, m, y.data(), out.data(), ca.data(), cb.data()));
        for (int k = 0; k < 33; ++k) {
            const double t = 2 * M_PI * k / 32;
            QVERIFY(std::fabs(out[k] - (1 + std::cos(t) + 0.5 * std::sin(2 * t))) < 1e-12);
        }
        Fourier_Skeleton(33, m, y.data(), out.data()); // the sine part goes
        for (int k = 0; k < 33; ++k)
            QVERIFY(std::fabs(out[k] - (1 + std::cos(2 * M_PI * k / 32))) < 1e-12);
        QVERIFY(!Fourier_Proc(33, 6, y.data(), out.data(), ca.data(), cb.data())); // 12 samples
    }

    // Samples at j 2pi/127 whose last repeats the first: the coefficients
    // over that period give back the series exactly.
    void periodCoefficients()
    {
        std::vector<double> y(128), a(64), b(64);
        for (int j = 0; j < 128; ++j) {
            const double t = j * 2 * M_PI / 127;
            y[j] = 0.3 + std::cos(3 * t) + 0.5 * std::sin(5 * t) - 0.25 * std::cos(63 * t);
        }
        Period_Coefficients(127, y.data(), 64, a.data(), b.data());
        for (int k = 0; k < 64; ++k) {
            const double wantA = k == 0 ? 0.6 : k == 3 ? 1.0 : k == 63 ? -0.25 : 0.0;
            QVERIFY2(std::fabs(a[k] - wantA) < 1e-12, qPrintable(QString::number(k)));
            QVERIFY2(std::fabs(b[k] - (k == 5 ? 0.5 : 0.0)) < 1e-12, qPrintable(QString::number(k)));
        }
    }

    void angleSearch()
    {
        const int n = 5;
        const double v[] = {0, 0.25, 0.5, 0.75, 1};
        QVERIFY(std::fabs(G_search(n, 2, 0.375, v) - 1.5 * Uniform_Angle(1, n)) < 1e-12);
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("G_search strange"));
        QCOMPARE(G_search(n, 2, 2.0, v), 0.0);
        const double flat[] = {0, 0.5, 0.5, 0.5, 1};
        QCOMPARE(G_search(n, 0, 0.5, flat), Uniform_Angle(1, n));
    }

    void cosineParameter_data()
    {
        QTest::addColumn<std::vector<double>>("x");
        QTest::addColumn<std::vector<double>>("t");
        QTest::newRow("plain") << std::vector<double>{1, 0.5, 0, 0.5, 1}
                               << std::vector<double>{0, M_PI / 2, M_PI, 3 * M_PI / 2, 2 * M_PI};
        // Three points on a flat nose, and one a hair behind the nose line.
        QTest::newRow("flat nose") << std::vector<double>{1, 0.5, 0, 0, 0, 0.5, 1}
                                   << std::vector<double>{};
        QTest::newRow("past the chord") << std::vector<double>{1, 1.0000001, 0.5, -1e-9, 0.5, 1}
                                        << std::vector<double>{};
        // Two samples straddle a nose no sample hits, one on the nose line
        // and one a rounding error behind it.
        QTest::newRow("nose between samples") << std::vector<double>{1, 0.5, 0.0016, 0, 1e-17, 0.0016, 0.5, 1}
                                              << std::vector<double>{};
    }

    void cosineParameter()
    {
        QFETCH(std::vector<double>, x);
        QFETCH(std::vector<double>, t);
        std::vector<double> out(x.size());
        QVERIFY(Fill_ArcCos(int(x.size()), x.data(), out.data()));
        for (size_t i = 1; i < out.size(); ++i)
            QVERIFY2(out[i] > out[i - 1], qPrintable(QString("at %1").arg(i)));
        QCOMPARE(out.back(), 2 * M_PI);
        for (size_t i = 0; i < t.size(); ++i)
            QVERIFY(std::fabs(out[i] - t[i]) < 1e-12);
        // Round the nose the parameter steps as the outline does: samples
        // evenly spaced along it are never squeezed to a point in t, which
        // would throw the spline through them far off the outline.
        const size_t nose = std::min_element(x.begin(), x.end()) - x.begin();
        if (nose + 2 < out.size() && nose >= 1) {
            const double across = out[nose + 1] - out[nose];
            const double before = out[nose] - out[nose - 1];
            QVERIFY2(across > 0.2 * before, qPrintable(QString("%1 after %2").arg(across).arg(before)));
        }
        std::vector<double> tooShort(2);
        QVERIFY(!Fill_ArcCos(2, x.data(), tooShort.data()));
    }

    void arcLengthResampling()
    {
        const QPolygonF p = Natur_Airfoil(4096, QPolygonF{QPointF(0, 0), QPointF(1, 0)});
        QCOMPARE(p.size(), 4096);
        QCOMPARE(p.first(), QPointF(0, 0));
        QCOMPARE(p.last(), QPointF(1, 0));
        QVERIFY(std::fabs(p[1].x() - 1.0 / 4095) < 1e-15);
        QVERIFY(std::fabs(p[2048].x() - 2048.0 / 4095) < 1e-12);
        // Repeated points (zero-length segments) are stepped over.
        const QPolygonF q = Natur_Airfoil(5, QPolygonF{QPointF(0, 0), QPointF(0, 0), QPointF(0, 2),
                                                       QPointF(0, 2), QPointF(2, 2)});
        QCOMPARE(q, (QPolygonF{QPointF(0, 0), QPointF(0, 1), QPointF(0, 2), QPointF(1, 2), QPointF(2, 2)}));
        QVERIFY(Natur_Airfoil(10, QPolygonF()).isEmpty());
    }

    void normalisation()
    {
        const QPolygonF p = Normalize_airfoil(QPolygonF{QPointF(4, 1), QPointF(0, 2), QPointF(4, 1)});
        QCOMPARE(p[0], QPointF(1, 0));
        QVERIFY(std::fabs(p[1].x() - 0.0) < 1e-15 && std::fabs(p[1].y() - 0.25) < 1e-15);
        // A blunt trailing edge: the midpoint of its ends becomes (1, 0) and
        // both ends move there, so the gap is shared by both sides.
        const QPolygonF blunt = Normalize_airfoil(QPolygonF{QPointF(3, 1.1), QPointF(1, 1.3), QPointF(3, 0.9)});
        QCOMPARE(blunt.size(), 3);
        QCOMPARE(blunt.first(), QPointF(1, 0));
        QCOMPARE(blunt.last(), QPointF(1, 0));
        QVERIFY2(std::fabs(blunt[1].x()) < 1e-15 && std::fabs(blunt[1].y() - 0.15) < 1e-15,
                 qPrintable(QString("%1 %2").arg(blunt[1].x()).arg(blunt[1].y())));
        QVERIFY(Normalize_airfoil(QPolygonF()).isEmpty());
        QVERIFY(Normalize_airfoil(QPolygonF{QPointF(1, 0), QPointF(1, 1)}).isEmpty()); // no chord
        QCOMPARE(FindThickness(QPolygonF()), QString("0.00"));
        QCOMPARE(FindThickness(QPolygonF{QPointF(1, 0), QPointF(0.3, 0.06), QPointF(0.3, -0.06)}),
                 QString("12.00"));
    }
};

QTEST_GUILESS_MAIN(TestAerolyxNumeric)
#include "tst_aerolyxnumeric.moc"
