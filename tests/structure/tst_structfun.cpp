// Curve and index helpers of the structure, and the reinforcement curves.

#include <QTest>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

#include "core/parastruct.h"
#include "geom/reinforce.h"
#include "structure/structfun.h"


#include <cmath>
#include <memory>

class TestStructFun : public QObject
{
    Q_OBJECT

private slots:
    void bezierSamplers()
    {
        const QPointF P[3] = {{0, 0}, {1, 2}, {2, 0}};
        const QPolygonF one = make_bezier_3(1, P);
        QCOMPARE(one.size(), 3);
        QCOMPARE(one[0], P[0]);
        // B(t) = (2t, 4t(1 - t)) for these points.
        for (int k = 0; k < 3; ++k) {
            const double t = 0.999 / 2 * k;
            QVERIFY(std::fabs(one[k].x() - 2 * t) < 1e-12 && std::fabs(one[k].y() - 4 * t * (1 - t)) < 1e-12);
        }
        for (int m : {6, 8, 30})
            QCOMPARE(make_bezier_3(m, P).size(), 3 * m);
        QVERIFY(make_bezier_3(0, P).isEmpty());
        const QVector3D Q[3] = {{0, 0, 0}, {1, 2, 3}, {2, 0, 6}};
        const QList<QVector3D> two = make_3Dbezier_3(2, Q);
        QCOMPARE(two.size(), 2);
        QCOMPARE(two[0], Q[0]);
        QVERIFY((two[1] - QVector3D(2 * 0.999f, 4 * 0.999f * 0.001f, 6 * 0.999f)).length() < 1e-4);
        QCOMPARE(make_3Dbezier_3(60, Q).size(), 60);
    }

    void roundHoleOfATriangle()
    {
        Triang t;
        t.corner[0] = QPointF(0, 0);
        t.corner[1] = QPointF(30, 0);
        t.corner[2] = QPointF(0, 30);
        t.offset = 2;
        const QPolygonF c = create_Ellipse_Tri(50, t);
        QCOMPARE(c.size(), 50);
        const QPointF centre(10, 9);
        const double r = 0.45 * std::min({std::hypot(10, 9), std::hypot(20, 9), std::hypot(10, 21)}) - 2;
        for (const QPointF& p : c)
            QVERIFY(std::fabs(std::hypot(p.x() - centre.x(), p.y() - centre.y()) - r) < 1e-9);
        QVERIFY(create_Ellipse_Tri(0, t).isEmpty());
        // A web wider than the triangle leaves a point, not a circle turned
        // inside out.
        t.offset = 100;
        for (const QPointF& p : create_Ellipse_Tri(50, t))
            QVERIFY(std::hypot(p.x() - 10, p.y() + 40) < 1e-9);
    }

    void middleTopPointSearch()
    {
        // x falls from 1 at index 0 to 0 at the nose 100, then rises again.
        QPolygonF foil;
        for (int i = 0; i <= 200; ++i)
            foil.append(QPointF(std::fabs(100 - i) / 100.0, i <= 100 ? 0.1 : -0.1));
        const int m = middleTopPoint(foil, 100, 130, 170); // x 0.3 and 0.7: mean 0.5
        QVERIFY(std::fabs(foil[m].x() - 0.5) < 0.02);
        QCOMPARE(middleTopPoint(foil, 100, -1, 170), 0);
        QCOMPARE(middleTopPoint(foil, 100, 130, 201), 0);
        QCOMPARE(middleTopPoint(foil, 17, 130, 170), 0); // range 10 .. 12 too short
    }

    void lineIndexAndIds()
    {
        auto d = std::make_unique<ParaStruct>();
        d->lineIndex[3][5] = 640;
        d->lineIndex[6][5] = 640;
        QCOMPARE(getLineIndex(d.get(), 640, 5), 3);
        QCOMPARE(getLineIndex(d.get(), 0, 5), -1);
        QCOMPARE(getLineIndex(d.get(), 641, 5), -1);
        QCOMPARE(getLineIndex(d.get(), 640, 70), -1);
        QCOMPARE(f_LineID(f_LineRibID(3, 7)), 3);
        QCOMPARE(f_RibID(f_LineRibID(3, 7)), 7);
        QCOMPARE(f_LineID(-1), -1);
        QCOMPARE(f_RibID(-1), -1);
    }

    void lambdaMuRoundTrip_data()
    {
        QTest::addColumn<QPointF>("Q");
        QTest::newRow("inside") << QPointF(0.3, 0.2);
        QTest::newRow("beyond the chord") << QPointF(0.8, -0.4);
        QTest::newRow("vertical chord direction") << QPointF(-0.2, 0.5);
    }
    void lambdaMuRoundTrip()
    {
        QFETCH(QPointF, Q);
        const QPointF P0(1, 0.1), P1(0, 0), P2(0.9, -0.1);
        const double l = f_lam(P0, P1, P2, Q);
        const double m = f_mi(P0, P1, P2, Q, l);
        const QPointF back = fun_T(P0, P1, P2, l, m);
        QVERIFY(std::hypot(back.x() - Q.x(), back.y() - Q.y()) < 1e-9);
    }

    void lambdaMuEdges()
    {
        const QPointF P0(1, 0), P1(0, 0), P2(1, 1);
        QCOMPARE(fun_T(P0, P1, P2, 0.25, 1), QPointF(1, 0.25));
        QCOMPARE(fun_T(P0, P1, P2, 0.25, 0), P1);
        QCOMPARE(f_lam(P0, P1, P2, QPointF(0.5, 0)), 0.0);   // on the line P1 -> P0
        QCOMPARE(f_lam(P0, P1, P2, QPointF(0, 1)), 0.0);     // parallel to P0 -> P2
        // P2.x = P0.x: lambda from the y difference.
        QCOMPARE(f_lam(P0, P1, P2, QPointF(2, 1)), 0.5);
        QCOMPARE(f_mi(P0, P1, P2, P1, 0.3), 0.0);
        QCOMPARE(f_mi(QPointF(0, 0), QPointF(0, 0), QPointF(0, 0), QPointF(3, 3), 0.5), 1.0);
    }

    void threePointSpline()
    {
        const QPointF a(0, 0), b(1, 1), c(2, 0);
        const QPolygonF three = Spline3pnt(a, b, c, 3);
        QCOMPARE(three.size(), 2);
        QCOMPARE(three[0], a);
        QVERIFY(std::hypot(three[1].x() - 1, three[1].y() - 1) < 1e-12);
        const QPolygonF eleven = Spline3pnt(a, b, c, 11);
        QCOMPARE(eleven.size(), 11);
        QVERIFY(std::hypot(eleven.last().x() - 2, eleven.last().y()) < 1e-6);
        for (const QPointF& p : Spline3pnt(QPointF(0, 0), QPointF(1, 2), QPointF(3, 6), 20))
            QVERIFY(std::fabs(p.y() - 2 * p.x()) < 1e-9);
    }
};

QTEST_APPLESS_MAIN(TestStructFun)
#include "tst_structfun.moc"
