// Small geometry functions of the pattern sheets and views.

#include <QTest>
#include <QLineF>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <QString>

#include "patterns/patterngeom.h"

namespace {
bool near(QPointF a, QPointF b, double tol = 1e-9)
{
    return std::abs(a.x() - b.x()) <= tol && std::abs(a.y() - b.y()) <= tol;
}
} // namespace

class TestPatternGeom : public QObject
{
    Q_OBJECT
private slots:
    void sheetFlip()
    {
        QCOMPARE(turn_Y(QPolygonF{QPointF(10, 120)}), QPolygonF{QPointF(10, 380)});
        QCOMPARE(turn_F_Y_point(QPointF(10, 620)), QPointF(10, -120));
    }

    void doubledArea_data()
    {
        QTest::addColumn<QPolygonF>("poly");
        QTest::addColumn<double>("value");
        QTest::newRow("closed square") << QPolygonF{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}} << 200.0;
        // Without the closing pair the open triangle (area 50) does not give
        // twice its area: the sum runs only to the last point.
        QTest::newRow("open triangle") << QPolygonF{{10, 0}, {10, 10}, {0, 10}} << 200.0;
        QTest::newRow("clockwise square") << QPolygonF{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}} << 200.0;
        QTest::newRow("one point") << QPolygonF{{3, 4}} << 0.0;
        QTest::newRow("empty") << QPolygonF() << 0.0;
        QTest::newRow("there and back") << QPolygonF{{0, 0}, {5, 5}, {0, 0}} << 0.0;
    }
    void doubledArea()
    {
        QFETCH(QPolygonF, poly);
        QFETCH(double, value);
        QCOMPARE(Poly_B_Square(poly), value);
    }

    void fitScale_data()
    {
        QTest::addColumn<double>("floor");
        QTest::addColumn<QRect>("view");
        QTest::addColumn<QRectF>("drawing");
        QTest::addColumn<double>("scale");
        // QRect(0, 0, 801, 601) has right 800 and bottom 600
        QTest::newRow("fits at 2") << 0.1 << QRect(0, 0, 801, 601) << QRectF(0, 0, 400, 300) << 1.8;
        QTest::newRow("floor above the fit") << 3.0 << QRect(0, 0, 801, 601) << QRectF(0, 0, 400, 300) << 3.24;
        QTest::newRow("height limits") << 0.1 << QRect(0, 0, 801, 601) << QRectF(-50, -50, 100, 600) << 0.9;
        QTest::newRow("floor equal to the fit") << 2.0 << QRect(0, 0, 801, 601) << QRectF(0, 0, 400, 300) << 2.16;
    }
    void fitScale()
    {
        QFETCH(double, floor);
        QFETCH(QRect, view);
        QFETCH(QRectF, drawing);
        QFETCH(double, scale);
        QVERIFY(std::abs(myScale(floor, &view, &drawing) - scale) < 1e-12);
    }

    void labelAnchors()
    {
        QCOMPARE(Txt_maxx_center({{0, 0}, {50, 5}, {50, 9}}), QPointF(40, 5));
        QCOMPARE(Txt_minx_center({{0, 0}, {50, 5}, {-3, 9}, {-3, 1}}), QPointF(-3, 9));
        QCOMPARE(Txt_minx_center({{7, 8}}), QPointF(7, 8));
        QCOMPARE(Txt_maxx_center({{7, 8}}), QPointF(7, 8));
        // Beyond the search bounds the first point is kept.
        QCOMPARE(Txt_minx_center({{2e6, 1}, {3e6, 2}}), QPointF(2e6, 1));
        QCOMPARE(Txt_maxx_center({{-2e6, 1}, {-3e6, 2}}), QPointF(-2e6, 1));
        QCOMPARE(Txt_minx_center(QPolygonF()), QPointF());
    }

    void lineIntersection()
    {
        QCOMPARE(Lines_Intesection({0, 0}, {1, 1}, {0, 2}, {2, 0}), QPointF(1, 1));
        // unbounded: the lines meet beyond both segments
        QCOMPARE(Lines_Intesection({0, 0}, {1, 0}, {5, 1}, {5, 2}), QPointF(5, 0));
        // parallel: the first point
        QCOMPARE(Lines_Intesection({3, 4}, {5, 4}, {0, 1}, {9, 1}), QPointF(3, 4));
    }

    void arcLengthResampling()
    {
        const QPolygonF l{{0, 0}, {1, 0}, {1, 1}};
        const QPolygonF r = Natur_Param(5, &l);
        const QPolygonF expected{{0, 0}, {0.5, 0}, {1, 0}, {1, 0.5}, {1, 1}};
        QCOMPARE(r.size(), 5);
        for (int i = 0; i < 5; ++i)
            QVERIFY2(near(r.at(i), expected.at(i), 1e-12), qPrintable(QString::number(i)));
        QCOMPARE(Natur_Param(1, &l), QPolygonF{QPointF(0, 0)});
        const QPolygonF empty;
        QVERIFY(Natur_Param(7, &empty).isEmpty());

        // A quarter circle of 200 unevenly spaced points comes out in 256
        // equal steps.
        QPolygonF arc;
        for (int k = 0; k < 200; ++k) {
            const double t = M_PI / 2 * (k / 199.0) * (k / 199.0);
            arc.append(QPointF(10 * std::cos(t), 10 * std::sin(t)));
        }
        const QPolygonF even = Natur_Param(256, &arc);
        QCOMPARE(even.size(), 256);
        QVERIFY(near(even.last(), arc.last(), 1e-9));
        double lo = 1e9, hi = 0;
        for (int i = 1; i < even.size(); ++i) {
            const double d = QLineF(even.at(i - 1), even.at(i)).length();
            lo = std::min(lo, d);
            hi = std::max(hi, d);
        }
        QVERIFY(hi - lo < 1e-5);

        // A repeated point does not divide by zero.
        const QPolygonF dup{{0, 0}, {1, 0}, {1, 0}, {2, 0}};
        for (const QPointF& p : Natur_Param(9, &dup))
            QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
    }

    void intervalIndex_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("index");
        QTest::newRow("below") << -1.0 << 0;
        QTest::newRow("first interval") << 0.5 << 0;
        QTest::newRow("at t1") << 1.0 << 1;
        QTest::newRow("inside") << 2.5 << 2;
        QTest::newRow("at the end") << 3.0 << 3;
        QTest::newRow("beyond") << 5.0 << 3;
    }
    void intervalIndex()
    {
        QFETCH(double, x);
        QFETCH(int, index);
        const double t[4] = {0, 1, 2, 3};
        QCOMPARE(f_indx(x, t, 4), index);
    }

    void intervalIndexOfTwo()
    {
        const double t[2] = {0, 1};
        QCOMPARE(f_indx(0.0, t, 2), 0);
        QCOMPARE(f_indx(0.3, t, 2), 1);
    }

    void foldBackRepair()
    {
        // Points 4 and 5 swapped: the fold-back between 3 and 6 is smoothed.
        QPolygonF p{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {5, 0}, {4, 0}, {6, 0}, {7, 0}, {8, 0}};
        const QPolygonF r = repair_Poly(&p);
        QCOMPARE(r, p);
        QCOMPARE(p.at(4), QPointF(4, 0)); // (3 + 5) / 2
        QCOMPARE(p.at(5), QPointF(5, 0)); // (4 + 6) / 2
        QCOMPARE(p.mid(0, 4), (QPolygonF{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
        QCOMPARE(p.last(), QPointF(8, 0));

        QPolygonF small{{0, 0}, {5, 0}, {1, 0}, {2, 0}, {9, 0}, {3, 0}};
        const QPolygonF before = small;
        repair_Poly(&small);
        QCOMPARE(small, before);
    }

    void nearestVertex()
    {
        const QPolygonF p{{0, 0}, {10, 0}, {10, 10}, {0, 0}};
        QCOMPARE(Nearest_poly_pnt_index(&p, QPointF(9, 1)), 1);
        // equally near: the highest index
        QCOMPARE(Nearest_poly_pnt_index(&p, QPointF(0, 0)), 3);
        QCOMPARE(Nearest_poly_pnt_index(&p, QPointF(5, 5)), 3);
        const QPolygonF empty;
        QCOMPARE(Nearest_poly_pnt_index(&empty, QPointF(1, 1)), -1);
    }
};

QTEST_MAIN(TestPatternGeom)
#include "tst_patterngeom.moc"
