#include <QTest>
#include <QObject>
#include <QPointF>
#include <QPolygonF>

#include <cmath>

#include "apps/splinora/parastruct.h"

using namespace splinora;

namespace {

double distToLine(QPointF a, QPointF b, QPointF q)
{
    const QPointF d = b - a;
    const double cross = d.x() * (q.y() - a.y()) - d.y() * (q.x() - a.x());
    return std::fabs(cross) / std::hypot(d.x(), d.y());
}

bool near(QPointF a, QPointF b, double tol = 1e-9)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y()) <= tol;
}

} // namespace

class TestBSpline : public QObject
{
    Q_OBJECT
private slots:
    void uniformKnots_data()
    {
        QTest::addColumn<int>("points");
        QTest::newRow("empty") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("ten") << 10;
        QTest::newRow("capacity") << MAXNUMPOINTS;
    }
    void uniformKnots()
    {
        QFETCH(int, points);
        SplineFoil s;
        s.num_pnt = points;
        s.b_knots[5] = 0.77; // a toggled knot is forgotten
        s.init_knots();
        QCOMPARE(s.degree, 2);
        QCOMPARE(s.order, 3);
        QCOMPARE(s.num_knt, points + 3);
        for (int i = 0; i < s.num_knt; ++i) {
            QCOMPARE(s.b_knots[i], double(i) / double(s.num_knt - 1));
            QCOMPARE(s.b_multi_knot[i], 1);
        }
        QCOMPARE(s.b_knots[0], 0.0);
        QCOMPARE(s.b_knots[s.num_knt - 1], 1.0);
    }

    void tenPointCurve()
    {
        SplineFoil s;
        s.num_pnt = 10;
        for (int i = 0; i < 10; ++i)
            s.CP[i] = QPointF(100 + 30 * i, 200 + 40 * std::sin(i));
        s.init_knots();
        const QPolygonF c = s.make_SplinePoly();
        QCOMPARE(c.size(), 999);
        QVERIFY(near(c.first(), s.CP[0]));
        QVERIFY(near(c.last(), s.CP[9]));
        // Unclamped knots: the ends are flat, so a run of samples sits on
        // the first and the last control point (t < 1/12 and t >= 11/12).
        int atStart = 0, atEnd = 0;
        for (const QPointF& q : c) {
            atStart += near(q, s.CP[0]);
            atEnd += near(q, s.CP[9]);
        }
        QCOMPARE(atStart, 83);
        QCOMPARE(atEnd, 83);
        // In the middle the curve joins the midpoints of the control legs.
        const QPointF mid34 = 0.5 * (s.CP[3] + s.CP[4]);
        double best = 1e9;
        for (const QPointF& q : c)
            best = std::min(best, std::hypot(q.x() - mid34.x(), q.y() - mid34.y()));
        QVERIFY(best < 0.5);
    }

    void oneAndTwoPoints()
    {
        SplineFoil s;
        s.num_pnt = 1;
        s.CP[0] = QPointF(12.5, -3.0);
        s.init_knots();
        QCOMPARE(s.num_knt, 4);
        const QPolygonF one = s.make_SplinePoly();
        QCOMPARE(one.size(), 999);
        for (const QPointF& q : one)
            QVERIFY(near(q, s.CP[0]));

        s.num_pnt = 2;
        s.CP[1] = QPointF(112.5, 47.0);
        s.init_knots();
        const QPolygonF two = s.make_SplinePoly();
        QCOMPARE(two.size(), 999);
        for (const QPointF& q : two) {
            QVERIFY(distToLine(s.CP[0], s.CP[1], q) < 1e-9);
            QVERIFY(q.x() >= 12.5 - 1e-9 && q.x() <= 112.5 + 1e-9);
        }
        QVERIFY(near(two.first(), s.CP[0]));
        QVERIFY(near(two.last(), s.CP[1]));
    }

    void collinearPointsStayOnTheLine()
    {
        SplineFoil s;
        s.num_pnt = 7;
        for (int i = 0; i < 7; ++i)
            s.CP[i] = QPointF(10 + 20 * i, 5 - 7 * i);
        s.init_knots();
        for (const QPointF& q : s.make_SplinePoly())
            QVERIFY(distToLine(s.CP[0], s.CP[6], q) < 1e-9);
    }

    void emptySplineHasNoCurve()
    {
        SplineFoil s;
        QVERIFY(s.make_SplinePoly().isEmpty());
        s.num_pnt = -4;
        QVERIFY(s.make_SplinePoly().isEmpty());
    }

    void repeatedKnotsAreSafe()
    {
        // Knots from a file may repeat: the empty spans count as 0, never 0/0.
        double knots[6] = {0.0, 0.0, 0.0, 1.0, 1.0, 1.0};
        const QPointF cp[3] = {QPointF(0, 0), QPointF(1, 2), QPointF(2, 0)};
        for (double t = 0.0; t < 1.0; t += 0.05) {
            const QPointF q = B_spline_point(3, 2, cp, knots, t);
            QVERIFY(std::isfinite(q.x()) && std::isfinite(q.y()));
        }
        // Clamped quadratic Bezier: B(0.5) = 0.25 P0 + 0.5 P1 + 0.25 P2.
        QVERIFY(near(B_spline_point(3, 2, cp, knots, 0.5), QPointF(1.0, 1.0)));
        // All knots equal: nothing covers t, the point falls back to the origin.
        double flat[6] = {0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
        QCOMPARE(B_spline_point(3, 2, cp, flat, 0.3), QPointF(0, 0));
    }

    void basisPartitionOfUnityInside()
    {
        SplineFoil s;
        s.num_pnt = 10;
        s.init_knots();
        const double h = 1.0 / 12.0;
        for (double t = 2 * h; t < 10 * h; t += 0.01) {
            double sum = 0;
            for (int i = 0; i < 10; ++i)
                sum += deBoor(i, 2, s.b_knots, t);
            QVERIFY(std::fabs(sum - 1.0) < 1e-12);
        }
        QCOMPARE(dmin(1.0, 2.0), 1.0);
        QCOMPARE(dmin(3.0, -2.0), -2.0);
    }

    void oneRecordPerProcess()
    {
        ParaStruct* a = GetDataStruct();
        QVERIFY(a != nullptr);
        QCOMPARE(GetDataStruct(), a);
        QCOMPARE(a->spline.num_pnt, 0);
        QVERIFY(a->spline.airfoilName.isNull());
        QCOMPARE(a->spline.rd_CP[29], QPointF(0, 0));
    }
};

QTEST_APPLESS_MAIN(TestBSpline)
#include "tst_bspline.moc"
