#include <QTest>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QVector3D>

#include <cmath>
#include <memory>
#include <vector>

#include "core/curves.h"
#include "core/mygsllib.h"

namespace {

bool near(double a, double b, double tol)
{
    return std::fabs(a - b) <= tol;
}

// A front-view curve of a wing: flat at the centre, dropping at the tip.
const QPointF F0(0, 100), F1(390, 100), F2(700, 245), F3(815, 585);

// Arc length from t = 0 to t of the front-view curve, integrated finely.
double arcLength(double t)
{
    const int n = 2000;
    std::vector<double> f(n + 1);
    for (int k = 0; k <= n; ++k)
        f[k] = f_Arclen(F0, F1, F2, F3, t * k / n);
    return Simpson(n, t / n, f.data());
}

// Clamped uniform cubic B-spline with knots 0,0,0,0,1,2,...,m-3,m-3,m-3,m-3
// (m control points) evaluated at u by de Boor's algorithm.
QPointF bspline(const std::vector<QPointF>& Q, double u)
{
    const int m = int(Q.size());
    std::vector<double> U(m + 4);
    for (int i = 0; i < m + 4; ++i)
        U[i] = std::clamp(i - 3, 0, m - 3);
    int k = 3 + std::min(int(std::floor(u)), m - 4);
    k = std::max(k, 3);
    QPointF d[4];
    for (int j = 0; j < 4; ++j)
        d[j] = Q[j + k - 3];
    for (int r = 1; r <= 3; ++r)
        for (int j = 3; j >= r; --j) {
            const double alpha = (u - U[j + k - 3]) / (U[j + 1 + k - r] - U[j + k - 3]);
            d[j] = (1 - alpha) * d[j - 1] + alpha * d[j];
        }
    return d[3];
}

} // namespace

class TestCurves : public QObject
{
    Q_OBJECT
private slots:
    void bernstein_data()
    {
        QTest::addColumn<double>("t");
        QTest::newRow("0") << 0.0;
        QTest::newRow("0.3") << 0.3;
        QTest::newRow("0.5") << 0.5;
        QTest::newRow("1") << 1.0;
    }
    void bernstein()
    {
        QFETCH(double, t);
        const double ones[4] = {1, 1, 1, 1};
        const double ramp[4] = {0, 1, 2, 3};
        QVERIFY(near(spline_value(ones, t), 1, 1e-15));
        QVERIFY(near(spline_d_value(ramp, t), 3, 1e-14));
        QVERIFY(near(spline_value(ramp, t), 3 * t, 1e-14));
        QCOMPARE(Bn(4, 3, t), 0.0);
        QCOMPARE(Bn(-1, 3, t), 0.0);
        QCOMPARE(Bn(0, 0, t), 1.0);
        QVERIFY(near(Bn(1, 3, t), 3 * t * (1 - t) * (1 - t), 1e-15));
        QVERIFY(near(d_Bn(3, 3, t), 3 * t * t, 1e-15));
    }

    void decasteljau()
    {
        const QPointF P0(0, 0), P1(1, 2), P2(3, 2), P3(4, 0);
        QCOMPARE(sp4pnt(P0, P1, P2, P3, 1.5), P3);
        QCOMPARE(sp4pnt(P0, P1, P2, P3, -0.1), P0);
        double cx[4], cy[4];
        PointToPX(P0, P1, P2, P3, cx);
        PointToPY(P0, P1, P2, P3, cy);
        QCOMPARE(cx[1], 1.0);
        QCOMPARE(cy[2], 2.0);
        for (double t : {0.1, 0.5, 0.77}) {
            const QPointF p = sp4pnt(P0, P1, P2, P3, t);
            QVERIFY(near(p.x(), spline_value(cx, t), 1e-14) && near(p.y(), spline_value(cy, t), 1e-14));
        }
    }

    void bezierPointCounts_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("endsAtP2");
        QTest::newRow("64 steps") << 64 << 65 << true;
        QTest::newRow("20 steps") << 20 << 20 << false;
        QTest::newRow("1 step") << 1 << 2 << true;
        QTest::newRow("no steps") << 0 << 0 << false;
        QTest::newRow("negative") << -5 << 0 << false;
    }
    void bezierPointCounts()
    {
        QFETCH(int, n);
        QFETCH(int, count);
        QFETCH(bool, endsAtP2);
        const QPointF P0(0, 0), P1(5, 10), P2(10, 0);
        const QPolygonF b = Bezier_2D(P0, P1, P2, n);
        QCOMPARE(b.size(), count);
        if (count > 0) {
            QCOMPARE(b.first(), P0);
            QCOMPARE(b.last() == P2, endsAtP2);
        }
    }

    void cubicBezierSamples()
    {
        const QPointF P0(0, 0), P1(1, 2), P2(3, 2), P3(4, 0);
        const QPolygonF b = Bezier_FourPoints(P0, P1, P2, P3);
        QCOMPARE(b.size(), 4001);
        QCOMPARE(b.first(), P0);
        QVERIFY(!(b.last().x() == P3.x() && b.last().y() == P3.y())); // t stops just short of 1
        QVERIFY(std::hypot(b.last().x() - P3.x(), b.last().y() - P3.y()) < 1e-3);
    }

    void planform()
    {
        // Leading edge y = 260 .. 445, trailing edge y = 700 .. 585, x rising.
        const QPointF P[8] = {QPointF(60, 260),   QPointF(560, 260), QPointF(900, 285),
                              QPointF(1060.5, 445), QPointF(60, 700),  QPointF(560, 700),
                              QPointF(900, 690),  QPointF(1060.5, 585)};
        QCOMPARE(Model_UD(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'X', 500), 1.0);
        QCOMPARE(Model_UD(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'u', 500), 1.0);
        QVERIFY(near(Model_UD(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'U', 60), 260, 1e-4));
        QVERIFY(near(Model_UD(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'D', 1060.5), 585, 1e-4));

        // The parameter found reproduces x.
        double cx[4];
        PointToPX(P[4], P[5], P[6], P[7], cx);
        const double t = Bis_Spline(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'D', 733.3);
        QVERIFY(near(spline_value(cx, t), 733.3, 1e-4));
        // Outside the curve the search ends at the nearer end.
        QVERIFY(Bis_Spline(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'U', -50) < 1e-6);
        QVERIFY(Bis_Spline(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'U', 5000) > 1 - 1e-6);
        // A target that is not a number still ends the search.
        const double tn = Bis_Spline(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], 'U', std::nan(""));
        QVERIFY(tn >= 0 && tn <= 1);

        // The chord is never negative, also with the two curves swapped.
        for (double s = 60; s <= 1060; s += 100) {
            const double w = Model_Width_X(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], s);
            const double ws = Model_Width_X(P[4], P[5], P[6], P[7], P[0], P[1], P[2], P[3], s);
            QVERIFY(w > 0);
            QVERIFY(near(w, ws, 1e-9));
        }
    }

    void arcLengthInverse_data()
    {
        QTest::addColumn<double>("s");
        QTest::newRow("near the centre") << 25.0;
        QTest::newRow("quarter") << 250.0;
        QTest::newRow("half") << 500.0;
        QTest::newRow("outer") << 900.0;
        QTest::newRow("near the tip") << 1000.0;
    }
    void arcLengthInverse()
    {
        QFETCH(double, s);
        const double t = Face_Lok(F0, F1, F2, F3, s, 0, 0);
        QVERIFY(t > 0 && t <= 1);
        // Resolution: the search walks in 500 steps of the parameter.
        const double tol = f_Arclen(F0, F1, F2, F3, t) * 1.0 / 500;
        QVERIFY2(near(arcLength(t), s, tol),
                 qPrintable(QString("t %1, arc %2, tol %3").arg(t).arg(arcLength(t)).arg(tol)));
    }

    void arcLengthInverseContinuesFromThePreviousRib()
    {
        // As the wing outline lays its ribs: each search starts from the
        // previous rib's parameter and arc length.
        double t0 = 0, s0 = 0;
        for (double s = 60; s <= 960; s += 60) {
            const double t = Face_Lok(F0, F1, F2, F3, s, t0, s0);
            QVERIFY(t > t0);
            const double tol = f_Arclen(F0, F1, F2, F3, t) * 1.0 / 500;
            QVERIFY2(near(arcLength(t), s, tol), qPrintable(QString("s %1").arg(s)));
            t0 = t;
            s0 = s;
        }
    }

    void arcLengthInverseEdges()
    {
        QCOMPARE(Face_Lok(F0, F1, F2, F3, 0, 0.3, 0), 0.0);
        QCOMPARE(Face_Lok(F0, F1, F2, F3, -5, 0.3, 0), 0.0);
        // s0 already reaches s: the search stays at t0.
        QCOMPARE(Face_Lok(F0, F1, F2, F3, 100, 0.3, 100), 0.3);
        QCOMPARE(Face_Lok(F0, F1, F2, F3, 100, 0.3, 150), 0.3);
        QCOMPARE(Fast_Face_Lok(F0, F1, F2, F3, 0.2, 0), 0.0);
        // The chord grows along the curve until it first exceeds s.
        const double tf = Fast_Face_Lok(F0, F1, F2, F3, 0, 300);
        QVERIFY(f_tetiva(F0, F1, F2, F3, 0, tf) > 300);
        QVERIFY(f_tetiva(F0, F1, F2, F3, 0, tf - 1.0 / 200) <= 300);
    }

    void splinePassesThroughDataPoints_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("4") << 4;
        QTest::newRow("5") << 5;
        QTest::newRow("11") << 11;
        QTest::newRow("50") << 50;
    }
    void splinePassesThroughDataPoints()
    {
        QFETCH(int, n);
        std::vector<QPointF> in(n);
        for (int i = 0; i < n; ++i)
            in[i] = QPointF(10 * i + 3 * std::sin(i), 40 * std::cos(0.7 * i) + i * i * 0.1);
        std::vector<QPointF> out(n + 2); // exactly n + 2 points
        auto s = std::make_unique<Spliners>();
        QCOMPARE(s->CubicSpliner2D(n, in.data(), out.data()), n + 2);
        QCOMPARE(out[0], in[0]);
        QCOMPARE(out[n + 1], in[n - 1]);

        // Data point j is reached at parameter j.
        for (int j = 0; j < n; ++j) {
            const QPointF p = bspline(out, j);
            QVERIFY2(near(p.x(), in[j].x(), 1e-9) && near(p.y(), in[j].y(), 1e-9),
                     qPrintable(QString("point %1: (%2, %3)").arg(j).arg(p.x()).arg(p.y())));
        }

        // Zero curvature at both ends: a second difference near an end is of
        // the order of the step, far below the curvature inside.
        const double h = 1e-4;
        auto second = [&](double u, double dir) {
            const QPointF d = bspline(out, u) - 2 * bspline(out, u + dir * h) + bspline(out, u + 2 * dir * h);
            return std::hypot(d.x(), d.y()) / (h * h);
        };
        const double inside = second((n - 1) / 2.0, 1);
        QVERIFY(inside > 1);
        QVERIFY2(second(0, 1) < 1e-2 * inside, qPrintable(QString::number(second(0, 1))));
        QVERIFY2(second(n - 1, -1) < 1e-2 * inside, qPrintable(QString::number(second(n - 1, -1))));
    }

    void splinePointCountLimits_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("3") << 3;
        QTest::newRow("0") << 0;
        QTest::newRow("51") << 51;
        QTest::newRow("500") << 500;
    }
    void splinePointCountLimits()
    {
        QFETCH(int, n);
        std::vector<QPointF> in(std::max(n, 1), QPointF(1, 1));
        std::vector<QVector3D> in3(std::max(n, 1), QVector3D(1, 1, 1));
        std::vector<QPointF> out(n + 2, QPointF(-7, -7));
        std::vector<QVector3D> out3(n + 2, QVector3D(-7, -7, -7));
        Spliners s;
        QCOMPARE(s.CubicSpliner2D(n, in.data(), out.data()), 0);
        QCOMPARE(s.CubicSpliner3D(n, in3.data(), out3.data()), 0);
        for (int i = 0; i < n + 2; ++i) {
            QCOMPARE(out[i], QPointF(-7, -7));
            QCOMPARE(out3[i], QVector3D(-7, -7, -7));
        }
    }

    void spline3DMatches2D()
    {
        const int n = 7;
        std::vector<QPointF> in(n);
        std::vector<QVector3D> in3(n);
        for (int i = 0; i < n; ++i) {
            in[i] = QPointF(i * 2.0, std::sin(i));
            in3[i] = QVector3D(float(in[i].x()), float(in[i].y()), float(i * 0.5));
        }
        std::vector<QPointF> out(n + 2);
        std::vector<QVector3D> out3(n + 2);
        Spliners s;
        QCOMPARE(s.CubicSpliner2D(n, in.data(), out.data()), n + 2);
        QCOMPARE(s.CubicSpliner3D(n, in3.data(), out3.data()), n + 2);
        for (int k = 0; k < n + 2; ++k)
            QVERIFY(near(out3[k].x(), out[k].x(), 1e-5) && near(out3[k].y(), out[k].y(), 1e-5));
        QCOMPARE(out3[0], in3[0]);
        QCOMPARE(out3[n + 1], in3[n - 1]);
    }
};

QTEST_APPLESS_MAIN(TestCurves)
#include "tst_curves.moc"
