// Where the nodes of a line tree go: the root, children by 2-D point, the
// leaves with their weights, the centres and steps, and the walks of the line
// groups and of the riser tree, checked against the geometry worked out here.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QString>
#include <QStringLiteral>
#include <QVector3D>
#include <QVector4D>

#include <cmath>
#include <memory>

#include "core/skintension.h"
#include "core/transf.h"
#include "lines/loading.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

namespace {

// A wing of 12 m span and 7 m hang height with its frame laid out.
std::unique_ptr<ParaStruct> wing12()
{
    auto d = fixture::makeWing(34, false);
    d->span = 12.0;
    d->hangHeight = 7.0;
    Refresh_Calculations(d.get());
    Refresh_Calculations(d.get());
    d->Reset_Dyn_LineInd();
    for (int k = 0; k < 8; ++k)
        d->lineWeights[k] = 10 * (k + 1);
    Layout_Frame(d.get(), d->bridle.frame);
    return d;
}

// A root with two free nodes below it, each carrying two attachments of
// frame slot `slot`: ribs 2 and 4 on the first, 6 and 8 on the second.
struct SmallTree {
    BridleGroup g;
    int root = -1, a = -1, b = -1;
    int leaf(const ParaStruct* d, int rib) const { return g.points.indexOf(d->bridle.frame[rib][slot].pos); }
    int slot = 0;

    SmallTree(const ParaStruct* d, int frameSlot, double length) : slot(frameSlot)
    {
        Init_Line_Group(d, d->bridle.frame, &g);
        root = Add_Free_Node(&g, QPoint(800, 700));
        a = Add_Free_Node(&g, QPoint(-50, -50));
        b = Add_Free_Node(&g, QPoint(-60, -60));
        LineProp line;
        line.length = length;
        Add_Group_Line(&g, root, a, line, origRLS());
        Add_Group_Line(&g, root, b, line, origRLS());
        for (int rib : {2, 4})
            Add_Group_Line(&g, a, leaf(d, rib), line, set_origRLS(rib, slot, 0, leaf(d, rib), true));
        for (int rib : {6, 8})
            Add_Group_Line(&g, b, leaf(d, rib), line, set_origRLS(rib, slot, 0, leaf(d, rib), true));
        Reattach_Canopy_Ends(&g, d->bridle.frame);
    }
};

double weightOf(const ParaStruct* d, int rib, int slot)
{
    const int r = std::min(rib, d->lastRib - 1);
    if (slot == 7)
        return 100 / (100 * d->relaxFactors[r] + 1);
    return d->cellWidth[r] * d->chord[r] * d->lineWeights[slot] / (d->chord[1] * d->cellWidth[1] * 100);
}

QVector3D weightedCentre(const ParaStruct* d, int slot, std::initializer_list<int> ribs)
{
    double W = 0;
    QVector3D sum;
    for (int r : ribs) {
        const double w = weightOf(d, r, slot);
        W += w;
        sum += float(w) * d->bridle.frame[r][slot].pos3D;
    }
    return sum / float(W);
}

bool near(QVector3D a, QVector3D b, double tol)
{
    return (a - b).length() < tol;
}

} // namespace

class TestLineTree : public QObject
{
    Q_OBJECT

private slots:
    void root_data()
    {
        QTest::addColumn<QPolygon>("pairs");
        QTest::addColumn<QPoint>("root");
        QTest::newRow("no lines") << QPolygon() << QPoint(-1, -1);
        QTest::newRow("one line") << QPolygon({QPoint(5, 1)}) << QPoint(5, 0);
        QTest::newRow("chain") << QPolygon({QPoint(2, 1), QPoint(3, 2)}) << QPoint(3, 1);
        QTest::newRow("two trees: the first") << QPolygon({QPoint(4, 1), QPoint(5, 2)}) << QPoint(4, 0);
        QTest::newRow("cycle only") << QPolygon({QPoint(1, 2), QPoint(2, 1)}) << QPoint(-1, -1);
        QTest::newRow("cycle and a root") << QPolygon({QPoint(1, 2), QPoint(2, 1), QPoint(7, 1)}) << QPoint(7, 2);
        QTest::newRow("root's second line") << QPolygon({QPoint(9, 3), QPoint(8, 9), QPoint(8, 4)})
                                            << QPoint(8, 1);
    }
    void root()
    {
        QFETCH(QPolygon, pairs);
        QFETCH(QPoint, root);
        QCOMPARE(find_root_index(pairs), root);
    }

    // The riser's root with three frame nodes (0..2) hanging on virtual
    // lines from 3..5: a node that only hangs a virtual line is the root
    // only while there are no other lines.
    void riserRoot_data()
    {
        QTest::addColumn<QPolygon>("pairs");
        QTest::addColumn<QPoint>("root");
        const QPolygon virtualLines({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2)});
        QTest::newRow("no lines") << QPolygon() << QPoint(-1, -1);
        QTest::newRow("after a reset") << virtualLines << QPoint(3, 0);
        QTest::newRow("joined")
            << QPolygon(virtualLines + QPolygon({QPoint(6, 3), QPoint(6, 4), QPoint(7, 6), QPoint(7, 5)}))
            << QPoint(7, 5);
        QTest::newRow("first two loose")
            << QPolygon(virtualLines + QPolygon({QPoint(7, 5), QPoint(8, 7)})) << QPoint(8, 4);
        QTest::newRow("the root hangs a virtual line first")
            << QPolygon(virtualLines + QPolygon({QPoint(3, 6), QPoint(6, 4)})) << QPoint(3, 0);
    }
    void riserRoot()
    {
        QFETCH(QPolygon, pairs);
        QFETCH(QPoint, root);
        QCOMPARE(Riser_Root_Index(pairs, 3), root);
        // Without a frame it is the plain root.
        QCOMPARE(Riser_Root_Index(pairs, 0), find_root_index(pairs));
    }

    // Children are found by the 2-D point of the parent: two nodes at one
    // point share their children.
    void childrenByPoint()
    {
        const QPoint A(10, 10), B(20, 5), C(30, 5), D(25, 0);
        const QPolygon points{A, B, C, D, A};
        const QPolygon pairs{QPoint(0, 1), QPoint(4, 2), QPoint(1, 3), QPoint(7, 3)};
        QCOMPARE(get_childs_id_list(A, &pairs, &points), QPolygon({QPoint(1, 0), QPoint(2, 1)}));
        QCOMPARE(get_firstchilds_list(A, &points, &pairs), QPolygon({B, C}));
        QCOMPARE(get_childs_id_list(B, &pairs, &points), QPolygon({QPoint(3, 2)}));   // the pair from node 7 has no node
        QVERIFY(get_childs_id_list(D, &pairs, &points).isEmpty());
    }

    void centre2D_data()
    {
        QTest::addColumn<QList<QPoint>>("points");
        QTest::addColumn<QPointF>("centre");
        QTest::newRow("empty") << QList<QPoint>() << QPointF(0, 0);
        QTest::newRow("half up") << QList<QPoint>{{0, 0}, {1, 3}} << QPointF(1, 2);
        QTest::newRow("negative half up") << QList<QPoint>{{-3, -1}, {-2, -2}} << QPointF(-2, -1);
        QTest::newRow("thirds") << QList<QPoint>{{0, 0}, {1, 0}, {1, 0}} << QPointF(1, 0);
        QTest::newRow("below half") << QList<QPoint>{{0, 0}, {0, 0}, {1, -1}} << QPointF(0, 0);
    }
    void centre2D()
    {
        QFETCH(QList<QPoint>, points);
        QFETCH(QPointF, centre);
        QCOMPARE(Center2d(points), centre);
    }

    void centre3D_data()
    {
        QTest::addColumn<QList<QVector4D>>("points");
        QTest::addColumn<QVector3D>("centre");
        QTest::newRow("empty") << QList<QVector4D>() << QVector3D(0, 0, 0);
        QTest::newRow("weighted") << QList<QVector4D>{{0, 0, 0, 1}, {10, 20, 0, 3}} << QVector3D(7.5f, 15, 0);
        QTest::newRow("negative weight counts 0") << QList<QVector4D>{{0, 0, 0, -5}, {10, 0, 4, 1}}
                                                  << QVector3D(10, 0, 4);
        QTest::newRow("all 0: the last") << QList<QVector4D>{{1, 2, 3, 0}, {4, 5, 6, 0}} << QVector3D(4, 5, 6);
        QTest::newRow("all negative: the last") << QList<QVector4D>{{4, 5, 6, -1}, {1, 2, 3, -2}}
                                                << QVector3D(1, 2, 3);
    }
    void centre3D()
    {
        QFETCH(QList<QVector4D>, points);
        QFETCH(QVector3D, centre);
        QVERIFY(near(Center3d(points), centre, 1e-5));
    }

    // A step toward the target; a negative step lands before the target.
    void steps()
    {
        QCOMPARE(nextT2d(10, QPoint(0, 0), QPointF(30, 40)), QPointF(6, 8));
        QCOMPARE(nextT2d(-10, QPoint(0, 0), QPointF(30, 40)), QPointF(24, 32));
        QCOMPARE(nextT2d(60, QPoint(0, 0), QPointF(30, 40)), QPointF(36, 48));   // beyond the target
        QCOMPARE(nextT2d(5, QPoint(3, 3), QPointF(3, 3)), QPointF(3, 3));
        QVERIFY(near(nextT3d(10, QVector3D(0, 0, 0), QVector3D(0, 30, 40)), QVector3D(0, 6, 8), 1e-5));
        QVERIFY(near(nextT3d(-10, QVector3D(0, 0, 0), QVector3D(0, 30, 40)), QVector3D(0, 24, 32), 1e-5));
        QVERIFY(near(nextT3d(-2, QVector3D(1, 1, 1), QVector3D(1, 1, 1)), QVector3D(1, 1, 1), 1e-6));
        QCOMPARE(calculate_2dLine(0, QPoint(0, 0), 10, nullptr), QPoint(0, 0));   // no leaves: towards the origin
        const QList<LeafSet2D> sets{{QPoint(0, 100)}};
        QCOMPARE(calculate_2dLine(0, QPoint(0, 0), 10.5, &sets), QPoint(0, 11));
        QCOMPARE(calculate_2dLine(0, QPoint(0, 0), -10.5, &sets), QPoint(0, 90));
    }

    // A step no scene holds (the hang height of a wing of no span, in plan
    // units): the point stays at the scene's edge, where the editors' sums
    // of points still fit an int; one that is not a number stays at the
    // origin.
    void stepsBeyondTheScene_data()
    {
        QTest::addColumn<double>("t");
        QTest::addColumn<QPoint>("expected");
        const int edge = 1 << 30;
        QTest::newRow("far down") << 1.8e303 << QPoint(0, edge);
        QTest::newRow("far up") << -1.8e303 << QPoint(0, -edge);
        QTest::newRow("just past an int") << 3e9 << QPoint(0, edge);
        QTest::newRow("infinite") << double(INFINITY) << QPoint(0, edge);
        QTest::newRow("not a number") << double(NAN) << QPoint(0, 0);
    }
    void stepsBeyondTheScene()
    {
        QFETCH(double, t);
        QFETCH(QPoint, expected);
        const QList<LeafSet2D> sets{{QPoint(0, 100)}};
        const QPoint p = calculate_2dLine(0, QPoint(0, 0), t, &sets);
        QCOMPARE(p, expected);
    }

    // Length 0.1, hang height 7 m, span 12 m: the child hangs 116.67 units
    // (0.7 m) from its parent in 3-D, aimed at the weighted centre of its
    // attachments, 58 points from it in the group drawing and 292 in the
    // riser drawing.
    void childAtItsLength()
    {
        auto d = wing12();
        QVERIFY(std::fabs(d->ToScreen(d->hangHeight) - 7000.0 / 6) < 1e-9);
        SmallTree t(d.get(), 2, 0.1);
        QVERIFY(Place_Line_Group(d.get(), kBrakeGroupSlot, &t.g, d->bridle.frame).placed);
        const QVector3D root = Carabiner_Point(d.get());
        QVERIFY(near(root, QVector3D(0, float(d->ToScreen(0.5 * d->carabinerDistance)), float(7000.0 / 6)), 1e-3));
        const LineProp& l = t.g.lines[0];
        QCOMPARE(l.q1, root);
        QVERIFY2(std::fabs((l.q2 - l.q1).length() - 116.67) < 0.01, qPrintable(QString::number((l.q2 - l.q1).length())));
        const QVector3D aim = weightedCentre(d.get(), 2, {2, 4});
        QVERIFY(near((l.q2 - l.q1).normalized(), (aim - root).normalized(), 1e-5));
        QCOMPARE(t.g.points[t.a], l.p2);
        QVERIFY(std::fabs(intDist2(l.p2, l.p1) - 58.33) < 1.0);
        // The second level starts where the first one ended.
        QCOMPARE(t.g.lines[2].q1, l.q2);
        QCOMPARE(t.g.lines[2].p1, l.p2);

        BridleGroup riser = t.g;
        QList<LeafSet2D> s2{{}, {QPoint(800, 0)}};
        QList<LeafSet3D> s3{{}, {}};
        riser.points = {QPoint(800, 700), QPoint(-5, -5)};
        riser.pairs = {QPoint(0, 1)};
        riser.lines = {LineProp()};
        Walk_Cross_Raiser(QPoint(800, 700), root, 0, 0.5 * d->scrlength_100(), d->ToScreen(7), &riser.lines,
                          &riser.pairs, &riser.points, &s2, &s3);
        QCOMPARE(riser.points[1], QPoint(800, 700 - 292));
    }

    // Leaves weighted 0 aim the node at the last of them; a node without
    // leaves is aimed at the origin, in 2-D and in 3-D.
    void zeroWeightsAndNoLeaves()
    {
        auto d = wing12();
        std::fill(std::begin(d->lineWeights), std::end(d->lineWeights), 0);
        SmallTree t(d.get(), 1, 0.2);
        const int loose = Add_Free_Node(&t.g, QPoint(-70, -70));
        QVERIFY(Add_Group_Line(&t.g, t.root, loose, LineProp(), origRLS()));
        QVERIFY(Place_Line_Group(d.get(), kBrakeGroupSlot, &t.g, d->bridle.frame).placed);
        const QVector3D root = Carabiner_Point(d.get());
        const QVector3D last = d->bridle.frame[4][1].pos3D;
        QVERIFY(near((t.g.lines[0].q2 - root).normalized(), (last - root).normalized(), 1e-5));
        const QVector3D toOrigin = t.g.lines[4 + 2].q2;   // the line to the loose node, after the four leaves
        QCOMPARE(t.g.pairs[6].y(), loose);
        QVERIFY(near((toOrigin - root).normalized(), (-root).normalized(), 1e-5));
        const QPointF towards = QPointF(t.g.points[loose] - QPoint(800, 700));
        QVERIFY(std::fabs(towards.x() / towards.y() - 800.0 / 700.0) < 0.05);
    }

    // A negative length puts the child |t| before the target instead of
    // beyond the parent.
    void negativeLength()
    {
        auto d = wing12();
        SmallTree t(d.get(), 0, -0.05);
        Place_Line_Group(d.get(), kBrakeGroupSlot, &t.g, d->bridle.frame);
        const QVector3D aim = weightedCentre(d.get(), 0, {6, 8});
        const QVector3D root = Carabiner_Point(d.get());
        const QVector3D expected = aim - float(0.05 * 7000.0 / 6) * (aim - root).normalized();
        QVERIFY(near(t.g.lines[1].q2, expected, 0.01));
    }

    // The weight of a leaf: the cell's share of the area times the row
    // weight; on the tip rib the inner cell's; on the brake row the inverse
    // relaxation; no weight on no cell; weight 1 for a node beyond the frame nodes.
    void leafWeights()
    {
        auto d = wing12();
        d->brakeMiddleRelax = 0.2;
        d->brakeCentreRib = 8;
        Calculate_RelaxLengths(d.get());
        Layout_Frame(d.get(), d->bridle.frame);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int n = f_start_id(d.get());
        int info[3];
        for (int slot : {0, 3, 7}) {
            for (int rib : {1, 5, d->lastRib}) {
                const QPoint p = d->bridle.frame[rib][slot].pos;
                const QVector3D pos = get_PointInfo3D(d.get(), p, n, &g.points, d->bridle.frame, info);
                QCOMPARE(info[0], rib);
                QCOMPARE(info[1], slot);
                const QVector4D w = setup_PointInfo3D(d.get(), p, n, &g.points, pos, info);
                QVERIFY(std::fabs(w.w() - weightOf(d.get(), rib, slot)) < 1e-5 * weightOf(d.get(), rib, slot));
                QCOMPARE(w.toVector3D(), d->bridle.frame[rib][slot].pos3D);
            }
        }
        QVERIFY(weightOf(d.get(), 1, 7) < 50);   // a relaxed brake line pulls less
        const QPoint mirror = d->bridle.frame[3][2].mirrorPos;
        QCOMPARE(get_PointInfo3D(d.get(), mirror, n, &g.points, d->bridle.frame, info),
                 d->bridle.frame[3][2].mirrorPos3D);
        QCOMPARE(info[2], 1);

        WarningSpy spy;
        g.points[10] = QPoint(3, 3);   // a frame node that left its cell
        QCOMPARE(get_PointInfo3D(d.get(), QPoint(3, 3), n, &g.points, d->bridle.frame, info), QVector3D(0, 0, 0));
        QCOMPARE(info[0], -1);
        QCOMPARE(setup_PointInfo3D(d.get(), QPoint(3, 3), n, &g.points, QVector3D(0, 0, 0), info).w(), 0.0f);
        QCOMPARE(spy.texts.size(), 1);
        QCOMPARE(spy.points[0], QPoint(3, 3));
        QVERIFY(spy.texts[0].contains(QStringLiteral("inconsistent bridle data")));
        const int free = Add_Free_Node(&g, QPoint(5, 900));
        QCOMPARE(setup_PointInfo3D(d.get(), g.points[free], n, &g.points, QVector3D(1, 1, 1), info),
                 QVector4D(0, 0, 0, 1));
        QCOMPARE(spy.texts.size(), 2);
    }

    // The walk down adds the leaves below a node to what the sets hold; the
    // collection of a node empties them first. The root carries the leaves of
    // both its children, each with its own frame point and weight.
    void leafCollections()
    {
        auto d = wing12();
        const int slot = 3;
        SmallTree t(d.get(), slot, 0.1);
        const int n = f_start_id(d.get());
        const QPolygon* pts = &t.g.points;
        const QPolygon* prs = &t.g.pairs;
        LeafSet2D s2{QPoint(1, 2)};
        LeafSet3D s3{QVector4D(1, 2, 3, 4)};
        make_last_child_set(d.get(), pts->at(t.a), n, &s2, &s3, pts, prs, d->bridle.frame);
        make_last_child_set(d.get(), pts->at(t.b), n, &s2, &s3, pts, prs, d->bridle.frame);
        QCOMPARE(s2.size(), 5);
        QCOMPARE(s3.size(), 5);
        QCOMPARE(s2.first(), QPoint(1, 2));
        QCOMPARE(s3.first(), QVector4D(1, 2, 3, 4));
        int k = 1;
        for (int rib : {2, 4, 6, 8}) {
            QCOMPARE(s2[k], d->bridle.frame[rib][slot].pos);
            QCOMPARE(s3[k].toVector3D(), d->bridle.frame[rib][slot].pos3D);
            QVERIFY(std::fabs(s3[k].w() - weightOf(d.get(), rib, slot)) < 1e-5 * weightOf(d.get(), rib, slot));
            ++k;
        }
        LeafSet2D root2{QPoint(7, 7)};
        LeafSet3D root3{QVector4D()};
        MakeLastChildSet(d.get(), pts->at(t.root), n, &root2, &root3, pts, prs, d->bridle.frame);
        QCOMPARE(root2, s2.mid(1));
        QCOMPARE(root3, s3.mid(1));
        QVERIFY(near(Center3d(root3), weightedCentre(d.get(), slot, {2, 4, 6, 8}), 1e-3));
    }

    // A line to a frame node keeps its lower end; only its upper end moves.
    void canopyEndsStay()
    {
        auto d = wing12();
        SmallTree t(d.get(), 1, 0.15);
        t.g.lines[2].q2 = QVector3D(1, 2, 3);
        t.g.lines[2].p2 = QPoint(4, 5);
        t.g.lines[2].load = 3.5;
        t.g.lines[2].diameter = 0.002;
        t.g.lines[2].edge = 17;
        Place_Line_Group(d.get(), kBrakeGroupSlot, &t.g, d->bridle.frame);
        const LineProp& l = t.g.lines[2];
        QCOMPARE(l.q2, QVector3D(1, 2, 3));
        QCOMPARE(l.p2, QPoint(4, 5));
        QCOMPARE(l.load, 3.5);   // brakes take no load
        QCOMPARE(l.diameter, 0.002);
        QCOMPARE(l.edge, 17);
        QCOMPARE(l.q1, t.g.lines[0].q2);
        QCOMPARE(l.p1, t.g.points[t.a]);
    }

    // A group L1..L4 whose riser frame point has no riser line yet hangs
    // from the origin and carries nothing; its attachments give its riser top.
    void groupWithoutRiserLine()
    {
        auto d = wing12();
        SmallTree t(d.get(), 0, 0.3);
        const TreePlacement p = Place_Line_Group(d.get(), 1, &t.g, d->bridle.frame);
        QVERIFY(p.placed);
        QCOMPARE(p.unsplitNodes, 0);
        QCOMPARE(t.g.lines[0].q1, QVector3D(0, 0, 0));
        for (const LineProp& l : t.g.lines)
            QCOMPARE(l.load, 0.0);
        QCOMPARE(d->riserHashes[1].size(), 4);
        QVERIFY(near(d->riserTops[0], weightedCentre(d.get(), 0, {2, 4, 6, 8}), 1e-3));
    }

    // With a riser line ending at the group's riser frame point the group
    // hangs from its upper end and carries its load.
    void groupHangsFromItsRiser()
    {
        auto d = wing12();
        SmallTree t(d.get(), 1, 0.3);
        BridleGroup& riser = d->bridle.riserGroup;
        riser.lineCount = riser.pairCount = 2;
        riser.pairArray[0] = QPoint(6, 0);
        riser.pairArray[1] = QPoint(7, 1);
        riser.lineArray[1].q1 = QVector3D(100, 50, 1000);
        riser.lineArray[1].load = 12.0;
        Place_Line_Group(d.get(), 2, &t.g, d->bridle.frame);
        QCOMPARE(t.g.lines[0].q1, QVector3D(100, 50, 1000));
        QCOMPARE(t.g.lines[1].q1, QVector3D(100, 50, 1000));
        // The two top lines share the load: their pulls add up to it.
        QVector3D pull;
        for (int k : {0, 1})
            pull += float(t.g.lines[k].load) * (t.g.lines[k].q2 - t.g.lines[k].q1).normalized();
        QVERIFY(t.g.lines[0].load > 5 && t.g.lines[1].load > 5);
        QVERIFY(std::fabs(pull.length() - 12.0) < 1e-4);
        QCOMPARE(RaiserGrupLineLoad(2, riser), 12.0);
        QCOMPARE(RaiserGrupLineRoot(3, riser), QVector3D(0, 0, 0));   // no line ends at node 2
        QCOMPARE(RaiserGrupLineLoad(3, riser), 0.0);
        riser.lineCount = 5000;   // a damaged count counts as no lines
        QCOMPARE(RaiserGrupLineLoad(2, riser), 0.0);
    }

    // The riser tree hangs from the carabiner, aims at the riser tops
    // weighted by the group shares, and carries half the flying weight.
    void riserTree()
    {
        auto d = wing12();
        d->lineGroupCount = 2;
        d->totalWeight = 100;
        d->lineGroupShares[0] = 0.75;
        d->lineGroupShares[1] = 0.25;
        d->riserTops[0] = QVector3D(100, 300, 100);
        d->riserTops[1] = QVector3D(300, 300, 100);
        BridleGroup riser;
        Init_Riser_Frame(d.get(), d->bridle.riserFrames, &riser);
        Add_Riser_Virtual_Lines(d.get(), d->bridle.riserFrames, &riser);
        const int split = Add_Free_Node(&riser, QPoint(-9, -9));
        const int root = Add_Free_Node(&riser, QPoint(512, 600));
        LineProp line;
        line.length = 0.02;
        QVERIFY(Add_Riser_Line(&riser, split, 2, line));
        QVERIFY(Add_Riser_Line(&riser, split, 3, line));
        line.length = 0.05;
        QVERIFY(Add_Riser_Line(&riser, root, split, line));
        const TreePlacement p = Place_Riser(d.get(), &riser, d->bridle.riserFrames);
        QVERIFY(p.placed);
        const QVector3D carabiner = Carabiner_Point(d.get());
        const QVector3D aim(150, 300, 100);
        const LineProp& main = riser.lines[4];
        QCOMPARE(main.q1, carabiner);
        QVERIFY(near(main.q2, carabiner + float(0.05 * 7000.0 / 6) * (aim - carabiner).normalized(), 0.01));
        QCOMPARE(main.load, 50.0);
        // The virtual lines end at the riser tops and carry their branch's load.
        QCOMPARE(riser.lines[0].q2, d->riserTops[0]);
        QVERIFY(std::fabs(riser.lines[0].load - riser.lines[2].load) < 1e-5);
        QVERIFY(std::fabs(riser.lines[1].load - riser.lines[3].load) < 1e-5);
        QVERIFY(std::fabs(riser.lines[2].load + riser.lines[3].load - 50.0) < 0.5);

        // The split's leaves are the two riser tops, weighted by their share
        // of the flying weight, added after what the sets held.
        LeafSet2D s2{QPoint(1, 1)};
        LeafSet3D s3{QVector4D()};
        make_raiser_LastChildSet(d.get(), riser.points[split], d->lineGroupCount, &s2, &s3, &riser.points,
                                 &riser.pairs, d->bridle.riserFrames);
        QCOMPARE(s3.size(), 3);
        QCOMPARE(s2.size(), 3);
        QCOMPARE(s3[1], QVector4D(d->riserTops[0], 0.75f));
        QCOMPARE(s3[2], QVector4D(d->riserTops[1], 0.25f));
    }

    // Trees of a damaged file may close on themselves: the walks stop.
    void cyclesEndTheWalk()
    {
        auto d = wing12();
        d->lineGroupCount = 1;
        BridleGroup riser;
        riser.ids = {0, 1, 2, 3};
        riser.points = {QPoint(400, 153), QPoint(500, 500), QPoint(510, 400), QPoint(520, 300)};
        riser.pairs = {QPoint(1, 2), QPoint(2, 3), QPoint(3, 2), QPoint(3, 0)};
        riser.lines = {LineProp(), LineProp(), LineProp(), LineProp()};
        WarningSpy spy;   // the riser frame was never laid out
        QVERIFY(Place_Riser(d.get(), &riser, d->bridle.riserFrames).placed);
        QVERIFY(!spy.texts.isEmpty());
        for (const LineProp& l : riser.lines)
            QVERIFY(std::isfinite(l.load));

        // A line of no length puts the child on its parent's point.
        SmallTree t(d.get(), 0, 0.0);
        QVERIFY(Place_Line_Group(d.get(), kBrakeGroupSlot, &t.g, d->bridle.frame).placed);
        QCOMPARE(t.g.points[t.a], t.g.points[t.root]);
    }

    // Fewer than two lines, no node or no root: nothing is placed.
    void nothingToPlace()
    {
        auto d = wing12();
        BridleGroup g;
        QVERIFY(!Place_Line_Group(d.get(), 1, &g, d->bridle.frame).placed);
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int a = Add_Free_Node(&g, QPoint(600, 600));
        const int b = Add_Free_Node(&g, QPoint(600, 500));
        Add_Group_Line(&g, a, b, LineProp(), origRLS());
        QVERIFY(!Place_Line_Group(d.get(), 1, &g, d->bridle.frame).placed);
        Add_Group_Line(&g, b, a, LineProp(), origRLS());
        QVERIFY(!Place_Line_Group(d.get(), 1, &g, d->bridle.frame).placed);
        QCOMPARE(g.points[b], QPoint(600, 500));
    }
};

QTEST_MAIN(TestLineTree)
#include "tst_linetree.moc"
