// Line loads and totals: the group shares, the split of a load at a node
// (checked against the statics of symmetric lines and against the balance of
// the pulls), the walk down a tree, a node whose load cannot be split, and
// the line totals of the analysis.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <QVector3D>

#include <QRandomGenerator>

#include <cmath>
#include <memory>

#include "core/transf.h"
#include "lines/loading.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Unit direction in the x-z plane at `degrees` from straight up (-z).
QVector3D fromUp(double degrees)
{
    const double a = degrees * kPi / 180;
    return QVector3D(float(std::sin(a)), 0, float(-std::cos(a)));
}

QVector3D pullOf(int n, const QVector3D* d, const double* T)
{
    QVector3D sum;
    for (int i = 0; i < n; ++i)
        sum += float(T[i]) * d[i];
    return sum;
}

LineProp line(QPoint p1, QPoint p2, QVector3D q1, QVector3D q2)
{
    LineProp l;
    l.p1 = p1;
    l.p2 = p2;
    l.q1 = q1;
    l.q2 = q2;
    return l;
}

// A root R hanging at (0, 0, 1000) with two lines up to A and B, 30 degrees
// either side of straight up; A holds two lines 20 degrees either side of
// the line below it, B one line at 40 degrees from straight up. 2-D points: R (0, 0), A (-1, -1), B (1, -1),
// leaves (-2, -2), (-3, -2), (3, -2).
struct Tree {
    QPolygon points{QPoint(0, 0), QPoint(-1, -1), QPoint(1, -1), QPoint(-2, -2), QPoint(-3, -2), QPoint(3, -2)};
    QPolygon pairs{QPoint(0, 1), QPoint(0, 2), QPoint(1, 3), QPoint(1, 4), QPoint(2, 5)};
    QList<LineProp> lines;
    Tree()
    {
        const QVector3D R(0, 0, 1000);
        const QVector3D A = R + 300 * fromUp(-30), B = R + 300 * fromUp(30);
        lines = {line(points[0], points[1], R, A), line(points[0], points[2], R, B),
                 line(points[1], points[3], A, A + 200 * fromUp(-50)),
                 line(points[1], points[4], A, A + 200 * fromUp(-10)),
                 line(points[2], points[5], B, B + 200 * fromUp(40))};
        for (LineProp& l : lines)
            l.load = -1;   // so that a line the walk does not reach shows
    }
};

} // namespace

class TestLoading : public QObject
{
    Q_OBJECT

private slots:
    void groupShares_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<double>>("loads");
        QTest::newRow("4") << 4 << QList<double>{0.5, 0.3, 0.1, 0.1};
        QTest::newRow("3") << 3 << QList<double>{0.5, 0.3, 0.2, 0};
        QTest::newRow("2") << 2 << QList<double>{0.5, 0.5, 0, 0};
        QTest::newRow("5: unchanged") << 5 << QList<double>{9, 9, 9, 9};
        QTest::newRow("0: unchanged") << 0 << QList<double>{9, 9, 9, 9};
    }
    void groupShares()
    {
        QFETCH(int, count);
        QFETCH(QList<double>, loads);
        auto d = std::make_unique<ParaStruct>();
        const double shares[4] = {0.5, 0.3, 0.1, 0.1};
        std::copy(shares, shares + 4, d->lineGroupShares);
        std::fill(d->lineGroupLoads, d->lineGroupLoads + 4, 9.0);
        d->lineGroupCount = count;
        SetUpLineGrupLoadings(d.get());
        for (int k = 0; k < 4; ++k)
            QVERIFY2(std::fabs(d->lineGroupLoads[k] - loads[k]) < 1e-12, qPrintable(QString::number(k)));
    }

    // n lines symmetric about the load at angle a each carry F / (n cos a);
    // a single line carries F whatever its angle.
    void symmetricSplit_data()
    {
        QTest::addColumn<QList<double>>("angles");
        QTest::addColumn<double>("each");
        const double F = 100;
        QTest::newRow("two at 30 degrees") << QList<double>{-30, 30} << F / (2 * std::cos(kPi / 6));
        QTest::newRow("three at 20 degrees (a cone)") << QList<double>{20, 20, 20} << F / (3 * std::cos(kPi / 9));
        QTest::newRow("one straight") << QList<double>{0} << F;
        QTest::newRow("one at 50 degrees") << QList<double>{50} << F;
        QTest::newRow("four at 10 degrees") << QList<double>{10, 10, 10, 10} << F / (4 * std::cos(kPi / 18));
    }
    void symmetricSplit()
    {
        QFETCH(QList<double>, angles);
        QFETCH(double, each);
        const int n = int(angles.size());
        std::vector<QVector3D> d;
        for (int i = 0; i < n; ++i) {
            // Lines of a cone are spread evenly around the load's direction.
            const double a = angles[i] * kPi / 180, turn = 2 * kPi * i / n;
            d.push_back(n > 2 && angles[0] == angles[1]
                            ? QVector3D(float(std::sin(a) * std::cos(turn)), float(std::sin(a) * std::sin(turn)),
                                        float(-std::cos(a)))
                            : fromUp(angles[i]));
        }
        std::vector<double> T(n, -1);
        QCOMPARE(Calc_Loading(n, QVector3D(0, 0, -1), 100, d.data(), T.data()), 0);
        for (int i = 0; i < n; ++i)
            QVERIFY2(std::fabs(T[i] - each) < 1e-4, qPrintable(QString("%1 %2").arg(T[i]).arg(each)));
    }

    // Whatever the directions, the pulls of the lines add up to the load.
    void pullsBalanceTheLoad()
    {
        QRandomGenerator rng(11);
        for (int trial = 0; trial < 50; ++trial) {
            const int n = 2 + int(rng.bounded(5));
            const QVector3D u = QVector3D(float(rng.generateDouble() - 0.5), float(rng.generateDouble() - 0.5), -2)
                                    .normalized();
            std::vector<QVector3D> d;
            for (int i = 0; i < n; ++i)
                d.push_back((u + QVector3D(float(rng.generateDouble() - 0.5), float(rng.generateDouble() - 0.5),
                                           float(rng.generateDouble() - 0.5)))
                                .normalized());
            std::vector<double> T(n);
            Calc_Loading(n, u, 47.5, d.data(), T.data());
            QVERIFY(std::fabs(pullOf(n, d.data(), T.data()).length() - 47.5) < 1e-3);
            for (double t : T)
                QVERIFY(std::isfinite(t) && t > 0);
        }
    }

    // A line at right angles to the load, or one without direction, cannot
    // take a share: it gets 0, the others carry the load, and the node is
    // counted. Nothing infinite or undefined comes out.
    void unsplittableLines()
    {
        const QVector3D u(0, 0, -1);
        {
            const QVector3D d[3] = {fromUp(-30), fromUp(30), QVector3D(1, 0, 0)};
            double T[3];
            QCOMPARE(Calc_Loading(3, u, 100, d, T), 1);
            QCOMPARE(T[2], 0.0);
            QVERIFY(std::fabs(T[0] - 100 / (2 * std::cos(kPi / 6))) < 1e-4);
            QVERIFY(std::fabs(pullOf(3, d, T).length() - 100) < 1e-3);
        }
        {
            const QVector3D d[2] = {fromUp(10), QVector3D(0, 0, 0)};
            double T[2];
            QCOMPARE(Calc_Loading(2, u, 100, d, T), 1);
            QVERIFY(std::fabs(T[0] - 100) < 1e-4);
            QCOMPARE(T[1], 0.0);
        }
        {
            // The load's own line has no direction: nothing can be split.
            const QVector3D d[2] = {fromUp(10), fromUp(-10)};
            double T[2] = {5, 5};
            QCOMPARE(Calc_Loading(2, QVector3D(0, 0, 0), 100, d, T), 2);
            QCOMPARE(T[0], 0.0);
            QCOMPARE(T[1], 0.0);
        }
    }

    // Mode 1 shares the load among the root's lines (split by the direction
    // of the first) and stores nothing of its own; every line below carries
    // what its node passes on.
    void walkOfALineGroup()
    {
        Tree t;
        QCOMPARE(Loading_Walk(0, 20, &t.lines, &t.pairs, &t.points, 1), 0);
        // u is the first line's own direction, and the second line lies at
        // 60 degrees to it: S = d0 + 2 d1, |S| = sqrt(7), T = (1, 2) F / |S|.
        QVERIFY(std::fabs(t.lines[0].load - 20 / std::sqrt(7.0)) < 1e-4);
        QVERIFY(std::fabs(t.lines[1].load - 40 / std::sqrt(7.0)) < 1e-4);
        const QVector3D d2[2] = {(t.lines[2].q2 - t.lines[2].q1).normalized(),
                                 (t.lines[3].q2 - t.lines[3].q1).normalized()};
        const double pair[2] = {t.lines[2].load, t.lines[3].load};
        QVERIFY(std::fabs(pullOf(2, d2, pair).length() - t.lines[0].load) < 1e-3);
        QVERIFY(std::fabs(t.lines[2].load - t.lines[0].load / (2 * std::cos(kPi * 20 / 180))) < 1e-3);
        QVERIFY(std::fabs(t.lines[4].load - t.lines[1].load) < 1e-4);   // one line passes the whole load on
    }

    // Mode 2 puts the load on the line itself: a riser whose root has two
    // lines loads only the branch of the first; the other keeps its loads.
    void walkOfARiser()
    {
        Tree t;
        QCOMPARE(Loading_Walk(0, 47.5, &t.lines, &t.pairs, &t.points, 2), 0);
        QCOMPARE(t.lines[0].load, 47.5);
        QVERIFY(std::fabs(t.lines[2].load - 47.5 / (2 * std::cos(kPi * 20 / 180))) < 1e-3);
        QCOMPARE(t.lines[1].load, -1.0);
        QCOMPARE(t.lines[4].load, -1.0);
    }

    void negativeLineIndex()
    {
        Tree t;
        QTest::ignoreMessage(QtDebugMsg, " lpIndex < 0 ");
        QCOMPARE(Loading_Walk(-1, 10, &t.lines, &t.pairs, &t.points, 2), 0);
        for (const LineProp& l : t.lines)
            QCOMPARE(l.load, -1.0);
    }

    // A node whose load cannot be split loads its lines with 0 down to the
    // canopy and is counted; the rest of the tree is loaded as before.
    void unsplittableNodeInATree()
    {
        Tree t;
        t.lines[3].q2 = t.lines[3].q1 + QVector3D(0, 50, 0);   // at right angles to the line above
        QCOMPARE(Loading_Walk(0, 20, &t.lines, &t.pairs, &t.points, 1), 1);
        QCOMPARE(t.lines[3].load, 0.0);
        QVERIFY(std::fabs(t.lines[2].load - t.lines[0].load) < 1e-4);   // the one line left takes it all
        for (const LineProp& l : t.lines)
            QVERIFY(std::isfinite(l.load) && l.load >= 0);

        Tree flat;
        flat.lines[1].q2 = flat.lines[1].q1;   // a line of no length below the root
        flat.lines[4].q1 = flat.lines[1].q1;
        QCOMPARE(Loading_Walk(0, 20, &flat.lines, &flat.pairs, &flat.points, 1), 2);
        QCOMPARE(flat.lines[1].load, 0.0);
        QCOMPARE(flat.lines[4].load, 0.0);
        QVERIFY(std::fabs(flat.lines[0].load - 20) < 1e-4);
    }

    // The placement of a group reports such nodes.
    void placementMarksTheGroup()
    {
        auto d = wing(34);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int root = Add_Free_Node(&g, QPoint(800, 700));
        const int a = Add_Free_Node(&g, QPoint(-5, -5));
        LineProp l;
        l.length = 0;   // a has no length below the root
        Add_Group_Line(&g, root, a, l, origRLS());
        for (int rib : {2, 3}) {
            const int n = g.points.indexOf(d->bridle.frame[rib][0].pos);
            Add_Group_Line(&g, a, n, LineProp(), set_origRLS(rib, 0, 0, n, true));
        }
        Reattach_Canopy_Ends(&g, d->bridle.frame);
        BridleGroup& riser = d->bridle.riserGroup;
        riser.lineCount = riser.pairCount = 1;
        riser.pairArray[0] = QPoint(4, 0);
        riser.lineArray[0].q1 = QVector3D(100, 40, 1100);
        riser.lineArray[0].load = 11;
        const TreePlacement p = Place_Line_Group(d.get(), 1, &g, d->bridle.frame);
        QVERIFY(p.placed);
        QCOMPARE(p.unsplitNodes, 1);
        for (const LineProp& line : g.lines)
            QCOMPARE(line.load, 0.0);
    }

    // Both halves: twice the sum of the 3-D lengths in metres and of
    // length x diameter, over the six group slots; the riser tree, lines
    // beyond a count and damaged counts do not count.
    void totals()
    {
        auto d = std::make_unique<ParaStruct>();
        d->span = 12.0;   // 1000 units = 6 m
        BridleGroup& g0 = d->bridle.groups[0];
        g0.lineCount = 1;
        g0.lineArray[0].q1 = QVector3D(0, 0, 0);
        g0.lineArray[0].q2 = QVector3D(0, 300, 400);   // 500 units = 3 m
        g0.lineArray[0].diameter = 0.002;
        g0.lineArray[0].length = 0.9;                  // not what counts
        BridleGroup& g3 = d->bridle.groups[3];
        g3.lineCount = 1;
        g3.lineArray[0].q1 = QVector3D(10, 10, 10);
        g3.lineArray[0].q2 = QVector3D(10, 10, 210);   // 1.2 m
        g3.lineArray[0].diameter = 0.001;
        g3.lineArray[1].q2 = QVector3D(5000, 0, 0);    // beyond the count
        BridleGroup& brakes = d->bridle.groups[5];
        brakes.lineCount = 1;
        brakes.lineArray[0].q2 = QVector3D(100, 0, 0); // 0.6 m
        brakes.lineArray[0].diameter = 0.0015;
        d->bridle.riserGroup.lineCount = 1;
        d->bridle.riserGroup.lineArray[0].q2 = QVector3D(1000, 0, 0);
        d->bridle.groups[2].lineCount = 1171;
        d->bridle.groups[2].lineArray[0].q2 = QVector3D(1000, 0, 0);

        // Left out of the analysis, the lines count nothing.
        const LineTotals none = getTotalBridleLength(*d, false);
        QCOMPARE(none.length, 0.0);
        QCOMPARE(none.area, 0.0);

        const LineTotals counted = getTotalBridleLength(*d, true);
        QVERIFY(std::fabs(counted.length - 2 * (3 + 1.2 + 0.6)) < 1e-5);
        QVERIFY(std::fabs(counted.area - 2 * (3 * 0.002 + 1.2 * 0.001 + 0.6 * 0.0015)) < 1e-8);
        QCOMPARE(d->bridle.groups[2].lineCount, 1171);   // the design's lines are not changed

        auto empty = std::make_unique<ParaStruct>();
        const LineTotals nothing = getTotalBridleLength(*empty, true);
        QCOMPARE(nothing.length, 0.0);
        QCOMPARE(nothing.area, 0.0);
    }
};

QTEST_MAIN(TestLoading)
#include "tst_loading.moc"
