#include <QTest>
#include <QFont>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QVector3D>


#include <cmath>
#include <vector>

#include "core/geomconst.h"
#include "core/transf.h"

class TestTransf : public QObject
{
    Q_OBJECT
private slots:
    void distances()
    {
        QCOMPARE(norma2(3, 4), 5.0);
        QCOMPARE(norma3(2, 3, 6), 7.0);
        QCOMPARE(Dist2(QPointF(1, 1), QPointF(4, 5)), 5.0);
        QCOMPARE(intDist2(QPoint(-1, 2), QPoint(2, 6)), 5.0);
        QVERIFY(std::fabs(Dist3(QVector3D(1, 2, 3), QVector3D(3, 5, 9)) - 7.0) < 1e-6);
        QCOMPARE(Screen_Dist(2, 10, 4), 5.0);
    }

    void mirrorsAndRotation()
    {
        QCOMPARE(p_SymY(QVector3D(1, 2, 3)), QVector3D(1, -2, 3));
        QCOMPARE(Sym_YX(QPointF(1, 2)), QPointF(-2, -1));
        const QPolygonF poly{QPointF(1, 2), QPointF(3, 4)};
        QCOMPARE(polygon_Sym_YX(&poly), QPolygonF({QPointF(-2, -1), QPointF(-4, -3)}));

        // A quarter turn counter-clockwise about (1, 1).
        const QPointF r = RotFix(std::acos(0.0), 1, 1, QPointF(2, 1));
        QVERIFY(std::fabs(r.x() - 1) < 1e-12 && std::fabs(r.y() - 2) < 1e-12);
        QCOMPARE(RotFixP(0.7, QPointF(1, 1), QPointF(3, -2)), RotFix(0.7, 1, 1, QPointF(3, -2)));
        QCOMPARE(rotLine(0.7, QPointF(1, 1), QPointF(3, -2)), RotFix(0.7, 1, 1, QPointF(3, -2)));
    }

    void centres()
    {
        QCOMPARE(Center3pnt(QPointF(0, 0), QPointF(3, 0), QPointF(0, 3)), QPointF(1, 1));
        QCOMPARE(Center4pnt(QPointF(0, 0), QPointF(2, 0), QPointF(2, 2), QPointF(0, 2)), QPointF(1, 1));
        const QPolygonF empty;
        QCOMPARE(CenterPoly(&empty), QPointF(0, 0));
        QCOMPARE(Geometric_center(empty), QPointF(0, 0));
        QCOMPARE(Geometric_center(QPolygonF({QPointF(7, 8)})), QPointF(7, 8));
        const QPolygonF tri{QPointF(0, 0), QPointF(6, 0), QPointF(0, 3)};
        QCOMPARE(CenterPoly(&tri), QPointF(2, 1));
        QCOMPARE(Geometric_center(tri), QPointF(2, 1));
    }

    void rangeTests_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<bool>("plain");
        // Truncated bounds 0 and 2: 2.5 lies outside although below 2.7.
        QTest::newRow("above truncated bound") << 0.5 << 2.7 << 2.5 << false << true;
        QTest::newRow("inside") << 0.5 << 2.7 << 1.5 << true << true;
        QTest::newRow("bounds 0.2..0.8 accept 0") << 0.2 << 0.8 << 0.0 << true << false;
        QTest::newRow("bounds 0.2..0.8 refuse 0.5") << 0.2 << 0.8 << 0.5 << false << true;
        QTest::newRow("reversed bounds") << 2.7 << 0.5 << 1.5 << true << true;
        QTest::newRow("negative bounds truncate toward zero") << -2.7 << -0.5 << -2.5 << false << true;
    }
    void rangeTests()
    {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, x);
        QFETCH(bool, truncated);
        QFETCH(bool, plain);
        QCOMPARE(is_dou_between(a, b, x), truncated);
        QCOMPARE(is_dbetween(a, b, x), plain);
    }

    void clamps()
    {
        QCOMPARE(between(10, 2, 12), 10);
        QCOMPARE(between(10, 2, -1), 2);
        QCOMPARE(between(2, 10, 5), 5);
        QVERIFY(is_between(10, 2, 2) && is_between(10, 2, 10) && !is_between(10, 2, 11));
        QCOMPARE(dou_between(1.0, 0.0, 1.5), 1.0);
        QCOMPARE(dou_between(1.0, 0.0, -0.5), 0.0);
        QCOMPARE(dou_between(1.0, 0.0, 0.25), 0.25);
        QCOMPARE(Sign(0.0), 1.0);
        QCOMPARE(Sign(-1e-300), -1.0);
        QCOMPARE(Otriangle(QPointF(0, 0), QPointF(1, 0), QPointF(0, 1)), 1.0);
        QCOMPARE(Otriangle(QPointF(0, 0), QPointF(0, 1), QPointF(1, 0)), -1.0);
    }

    void intersectLines_data()
    {
        QTest::addColumn<QPointF>("p1");
        QTest::addColumn<QPointF>("p2");
        QTest::addColumn<QPointF>("p3");
        QTest::addColumn<QPointF>("p4");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QPointF>("point");
        QTest::newRow("segments cross") << QPointF(0, 0) << QPointF(2, 2) << QPointF(0, 2)
                                        << QPointF(2, 0) << false << QPointF(1, 1);
        QTest::newRow("lines meet outside") << QPointF(0, 0) << QPointF(1, 0) << QPointF(3, -1)
                                            << QPointF(3, 1) << true << QPointF(3, 0);
        QTest::newRow("parallel") << QPointF(0, 0) << QPointF(1, 0) << QPointF(0, 1)
                                  << QPointF(1, 1) << false << QPointF(-7, -7);
    }
    void intersectLines()
    {
        QFETCH(QPointF, p1);
        QFETCH(QPointF, p2);
        QFETCH(QPointF, p3);
        QFETCH(QPointF, p4);
        QFETCH(bool, result);
        QFETCH(QPointF, point);
        QPointF out(-7, -7);
        QCOMPARE(IntersectLines(p1, p2, p3, p4, &out), result);
        QCOMPARE(out, point);
        QCOMPARE(IntersectLines(p1, p2, p3, p4, nullptr), result);
    }

    void nearestVertex()
    {
        // (0, 0) and (2, 0) are both at distance 1 from (1, 0): the later wins.
        const QPolygonF poly{QPointF(5, 5), QPointF(0, 0), QPointF(2, 0), QPointF(9, 9)};
        QCOMPARE(NearestPoint(&poly, QPointF(1, 0)), QPointF(2, 0));
        QCOMPARE(FindPolyIndex(&poly, QPointF(1, 0)), 2);
        QCOMPARE(FindPolyIndex(&poly, QPointF(8, 8)), 3);

        const QPolygonF empty;
        QCOMPARE(NearestPoint(&empty, QPointF(3, 4)), QPointF(3, 4));
        QCOMPARE(FindPolyIndex(&empty, QPointF(3, 4)), 0);
        const QPolygonF far{QPointF(2e8, 0)};
        QCOMPARE(NearestPoint(&far, QPointF(0, 0)), QPointF(0, 0));
        QCOMPARE(FindPolyIndex(&far, QPointF(0, 0)), 0);
    }

    void patternPrimitives()
    {
        QCOMPARE(uberLeft(2, QPointF(0, 0), QPointF(10, 0)), QPointF(0, 2));
        const QPointF r = uberRight(2, QPointF(0, 0), QPointF(10, 0));
        QVERIFY(std::fabs(r.x() - 10) < 1e-12 && std::fabs(r.y() - 2) < 1e-12);
        const QPointF l = uberLeft(1, QPointF(1, 1), QPointF(1, 5)); // heading up: left is -x
        QVERIFY(std::fabs(l.x() - 0) < 1e-12 && std::fabs(l.y() - 1) < 1e-12);
    }

    void unfoldPoint_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        QTest::addColumn<QPointF>("expected");
        // P0 = (0, 0), P1 = (a, 0) in every row.
        QTest::newRow("3-4-5 triangle") << 4.0 << 3.0 << 5.0 << QPointF(4, 3);
        // A flat triangle lies on the base line, not across it.
        QTest::newRow("flat: between P0 and P1") << 2.0 << 1.0 << 1.0 << QPointF(1, 0);
        QTest::newRow("flat: beyond P1") << 1.0 << 1.0 << 2.0 << QPointF(2, 0);
        QTest::newRow("flat: behind P0") << 1.0 << 2.0 << 1.0 << QPointF(-1, 0);
        QTest::newRow("cannot close: behind P0") << 1.0 << 5.0 << 1.0 << QPointF(-1, 0);
        QTest::newRow("cannot close: beyond P1") << 1.0 << 0.5 << 3.0 << QPointF(3, 0);
        QTest::newRow("no base: along x") << 0.0 << 1.0 << 2.0 << QPointF(2, 0);
        QTest::newRow("no base, equal sides: right angle") << 0.0 << 2.0 << 2.0 << QPointF(0, 2);
        QTest::newRow("c = 0 gives P0") << 4.0 << 3.0 << 0.0 << QPointF(0, 0);
        QTest::newRow("b = 0 gives P1") << 4.0 << 0.0 << 4.0 << QPointF(4, 0);
    }
    void unfoldPoint()
    {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        QFETCH(QPointF, expected);
        const QPointF q = unfold_Pnt(QPointF(0, 0), QPointF(a, 0), a, b, c);
        QVERIFY2(std::fabs(q.x() - expected.x()) < 1e-9 && std::fabs(q.y() - expected.y()) < 1e-9,
                 qPrintable(QString("got (%1, %2)").arg(q.x()).arg(q.y())));
    }

    void reverseSection_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QList<int>>("indexes");
        QTest::newRow("beyond the end") << 5 << 2 << QList<int>{3, 2};
        QTest::newRow("whole") << 0 << 3 << QList<int>{3, 2, 1, 0};
        QTest::newRow("one point") << 1 << 1 << QList<int>{1};
        QTest::newRow("both beyond") << 7 << 9 << QList<int>{3};
        QTest::newRow("negative start") << -2 << 1 << QList<int>{1, 0};
    }
    void reverseSection()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QList<int>, indexes);
        const QPolygonF poly{QPointF(0, 0), QPointF(1, 10), QPointF(2, 20), QPointF(3, 30)};
        const QList<QVector3D> poly3{QVector3D(0, 0, 0), QVector3D(1, 0, 0), QVector3D(2, 0, 0),
                                     QVector3D(3, 0, 0)};
        QPolygonF expected;
        QList<QVector3D> expected3;
        for (int i : indexes) {
            expected.append(poly[i]);
            expected3.append(poly3[i]);
        }
        QCOMPARE(reversePolyF(poly, a, b), expected);
        QCOMPARE(reversePoly3D(poly3, a, b), expected3);
        QCOMPARE(reversePolyF(QPolygonF(), a, b), QPolygonF());
        QCOMPARE(reversePoly3D(QList<QVector3D>(), a, b), QList<QVector3D>());
    }

    void uvMapping()
    {
        QCOMPARE(fmap_U(0, 5), 0.0);
        QCOMPARE(fmap_U(4, 2), 0.5);
        const QPointF seg[2] = {QPointF(0, 0), QPointF(10, 0)};
        QCOMPARE(fmap_V(seg, QPointF(4, 3)), 0.5);
        QCOMPARE(fmap_V(seg, QPointF(30, 0)), 1.0);
        const QPointF point[2] = {QPointF(1, 1), QPointF(1, 1)};
        QCOMPARE(fmap_V(point, QPointF(4, 3)), 0.0);
    }

    void labels()
    {
        const QStringList rows{"O1", "O2", "A", "B", "C", "D", "E", "F", "G"};
        for (int r = 0; r < rows.size(); ++r)
            QCOMPARE(LineLetter(r), rows[r]);
        QCOMPARE(LineLetter(9), QString("br"));
        QCOMPARE(LineLetter(-1), QString("br"));

        const QMap<int, QString> groups{{0, " ? "}, {1, " ? "}, {2, "L1"}, {3, "L2"}, {4, "L3"},
                                        {5, "L4"}, {6, " ? "}, {7, "L-brakes"}, {8, " ? "}};
        for (auto it = groups.begin(); it != groups.end(); ++it)
            QCOMPARE(GrupLineLetter(it.key()), it.value());
    }

    void roundToFiveMillimetres_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("rounded");
        QTest::newRow("digit 7 -> 5 mm") << 3.4567 << 3.455;
        QTest::newRow("digit 2 -> down") << 3.4521 << 3.45;
        QTest::newRow("digit 9 -> up") << 3.4589 << 3.46;
        // 1.238 is stored just below 1.238: the digit is still 8.
        QTest::newRow("1.238 -> 1.24") << 1.238 << 1.24;
        QTest::newRow("1.235 stays") << 1.235 << 1.235;
        QTest::newRow("1.233 -> 1.235") << 1.233 << 1.235;
        QTest::newRow("up across a metre") << 0.998 << 1.0;
        QTest::newRow("whole metres") << 2.0 << 2.0;
        QTest::newRow("zero") << 0.0 << 0.0;
    }
    void roundToFiveMillimetres()
    {
        QFETCH(double, length);
        QFETCH(double, rounded);
        QVERIFY2(std::fabs(RouCm(length) - rounded) < 1e-9,
                 qPrintable(QString::number(RouCm(length), 'g', 17)));
    }

    void cellWidths_data()
    {
        QTest::addColumn<bool>("centreCell");
        QTest::addColumn<double>("percent");
        QTest::newRow("centre rib, equal") << false << 0.0;
        QTest::newRow("centre rib, mixed") << false << 40.0;
        QTest::newRow("centre rib, proportional") << false << 100.0;
        QTest::newRow("centre cell, equal") << true << 0.0;
        QTest::newRow("centre cell, mixed") << true << 40.0;
        QTest::newRow("centre cell, proportional") << true << 100.0;
    }
    void cellWidths()
    {
        QFETCH(bool, centreCell);
        QFETCH(double, percent);
        const int n = 6;
        const std::vector<double> chords{2.5, 2.4, 2.2, 1.9, 1.5, 1.0, 0.6};
        std::vector<double> out(n + 2, -1.0);
        const double total = 1000;
        if (centreCell)
            RecCenterCell(n, percent, total, out.data(), chords.data());
        else
            RecCenterRib(n, percent, total, out.data(), chords.data());
        QCOMPARE(out[n + 1], -1.0); // n + 1 values only

        // The widths of the half wing add up to the half span.
        double sum = centreCell ? 0.5 * out[0] : out[0];
        for (int i = 1; i < (centreCell ? n + 1 : n); ++i)
            sum += out[i];
        QVERIFY(std::fabs(sum - total) < 1e-9);
        // The share p follows the chords, the rest is equal.
        double S = centreCell ? 0.5 * chords[0] + chords[n] : chords[0];
        for (int i = 1; i < n; ++i)
            S += chords[i];
        const double N = centreCell ? n + 0.5 : n;
        const double q = percent / 100;
        for (int i = 0; i <= n; ++i)
            QVERIFY(std::fabs(out[i] - (q * total / S * chords[i] + (1 - q) * total / N)) < 1e-9);
    }

    void cellWidthsRefuseInvalidCounts()
    {
        double in[2] = {1, 1};
        double out[2] = {-1, -1};
        RecCenterCell(-1, 50, 1000, out, in);
        RecCenterRib(0, 50, 1000, out, in);
        RecCenterRib(-3, 50, 1000, out, in);
        QCOMPARE(out[0], -1.0);
        QCOMPARE(out[1], -1.0);
        // No widths to be proportional to: the cells are equal.
        double zero[3] = {0, 0, 0};
        double equal[3];
        RecCenterRib(2, 50, 1000, equal, zero);
        QCOMPARE(equal[0], 500.0);
        QCOMPARE(equal[1], 500.0);
    }

    void ribShift_data()
    {
        QTest::addColumn<double>("shift");
        QTest::addColumn<double>("pos2");
        QTest::newRow("half toward the next rib") << 50.0 << 25.0;
        QTest::newRow("half toward the previous rib") << -50.0 << 15.0;
        QTest::newRow("onto the next rib: refused") << 100.0 << 20.0;
        QTest::newRow("onto the previous rib: refused") << -100.0 << 20.0;
        QTest::newRow("beyond: refused") << 150.0 << 20.0;
        QTest::newRow("none") << 0.0 << 20.0;
    }
    void ribShift()
    {
        QFETCH(double, shift);
        QFETCH(double, pos2);
        const int n = 4;
        // Exactly n + 1 entries: nothing beyond the tip rib may be read.
        std::vector<double> pos{0, 10, 20, 30, 40};
        std::vector<double> shifts{0, 0, shift, 0, 70};
        std::vector<double> width{5, 10, 10, 10, 99};
        ApplyRibShift(n, shifts.data(), pos.data(), width.data());
        QCOMPARE(pos[2], pos2);
        QCOMPARE(pos[4], 40.0); // the tip rib never moves
        QCOMPARE(width[0], 5.0);
        QCOMPARE(width[4], 99.0);
        // Widths always follow the positions the ribs took.
        for (int k = 1; k < n; ++k)
            QCOMPARE(width[k], pos[k + 1] - pos[k]);
    }
};

QTEST_MAIN(TestTransf)
#include "tst_transf.moc"
