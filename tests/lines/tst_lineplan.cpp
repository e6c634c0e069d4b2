// The line plan of the design record: group slots, frame nodes and ids, the
// frame layout, the stores and lists of a group, the limits of a group, the
// riser frame, and the line-index tables at the rib limit.

#include <QTest>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPolygon>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

#include <QRandomGenerator>

#include <cmath>
#include <memory>

#include "core/transf.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

namespace {

bool sameLine(const LineProp& a, const LineProp& b)
{
    return a.edge == b.edge && a.p1 == b.p1 && a.p2 == b.p2 && a.q1 == b.q1 && a.q2 == b.q2 && a.length == b.length
           && a.load == b.load && a.diameter == b.diameter;
}

bool sameAttachment(const origRLS& a, const origRLS& b)
{
    return a.attached == b.attached && a.rib == b.rib && a.row == b.row && a.side == b.side && a.node == b.node;
}

// Every count, and every entry of the five stores.
bool sameStores(const BridleGroup& a, const BridleGroup& b)
{
    if (a.idCount != b.idCount || a.pointCount != b.pointCount || a.pairCount != b.pairCount
        || a.lineCount != b.lineCount || a.attachmentCount != b.attachmentCount)
        return false;
    for (int i = 0; i < kLineEntries; ++i)
        if (a.idArray[i] != b.idArray[i] || a.pointArray[i] != b.pointArray[i] || a.pairArray[i] != b.pairArray[i]
            || !sameLine(a.lineArray[i], b.lineArray[i]) || !sameAttachment(a.attachArray[i], b.attachArray[i]))
            return false;
    return true;
}

void fillRandomly(BridleGroup* g, quint32 seed)
{
    QRandomGenerator rng(seed);
    auto count = [&rng] { return int(rng.bounded(kLineEntries + 1)); };
    g->idCount = count();
    g->pointCount = count();
    g->pairCount = count();
    g->lineCount = count();
    g->attachmentCount = count();
    for (int i = 0; i < kLineEntries; ++i) {
        g->idArray[i] = int(rng.bounded(5000));
        g->pointArray[i] = QPoint(rng.bounded(1024), rng.bounded(768));
        g->pairArray[i] = QPoint(rng.bounded(kLineEntries), rng.bounded(kLineEntries));
        LineProp& l = g->lineArray[i];
        l.edge = int(rng.bounded(100));
        l.p1 = QPoint(rng.bounded(1024), rng.bounded(768));
        l.q2 = QVector3D(float(rng.generateDouble()), 2, 3);
        l.length = rng.generateDouble();
        l.load = 10 * rng.generateDouble();
        l.diameter = 0.001 * rng.generateDouble();
        g->attachArray[i] = set_origRLS(int(rng.bounded(65)), int(rng.bounded(9)), int(rng.bounded(2)),
                                        int(rng.bounded(300)), rng.bounded(2) == 1);
    }
}

// A line known by its length alone.
LineProp lineOfLength(double length)
{
    LineProp l;
    l.length = length;
    return l;
}

} // namespace

class TestLinePlan : public QObject
{
    Q_OBJECT

private slots:
    void groupSlots_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("slot");
        QTest::newRow("L1") << 2 << 1;
        QTest::newRow("L2") << 3 << 2;
        QTest::newRow("L3") << 4 << 3;
        QTest::newRow("L4") << 5 << 4;
        QTest::newRow("none between") << 6 << -1;
        QTest::newRow("brakes") << 7 << 5;
        QTest::newRow("no selection") << -1 << -1;
        QTest::newRow("start-up value") << 0 << -1;
        QTest::newRow("beyond") << 8 << -1;
        QTest::newRow("one") << 1 << -1;
    }
    void groupSlots()
    {
        QFETCH(int, index);
        QFETCH(int, slot);
        QCOMPARE(get_curr_bridle_grup(index), slot);
    }

    void smallRecords()
    {
        const origRLS a = set_origRLS(3, 7, 1, 42, true);
        QVERIFY(a.attached);
        QCOMPARE(a.rib, 3);
        QCOMPARE(a.row, 7);
        QCOMPARE(a.side, 1);
        QCOMPARE(a.node, 42);
        QCOMPARE(f_new_id({}), 0);
        QCOMPARE(f_new_id({0, 1, 2, 279}), 280);
        QCOMPARE(f_new_id({5, 3}), 4);   // the last id, not the largest
        QCOMPARE(Frame_Slot_Row(0), 2);
        QCOMPARE(Frame_Slot_Row(6), 8);
        QCOMPARE(Frame_Slot_Row(7), 9);
    }

    // (cells + 1) x 8 frame nodes, the number a group starts with, in the
    // order slot, rib, own point before the mirror point.
    void frameNodes_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("count");
        QTest::newRow("34 cells") << 34 << 280;
        QTest::newRow("35 cells") << 35 << 288;
    }
    void frameNodes()
    {
        QFETCH(int, cells);
        QFETCH(int, count);
        auto d = wing(cells);
        QCOMPARE(f_start_id(d.get()), count);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        QCOMPARE(g.points.size(), count);
        QCOMPARE(g.ids.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(g.ids[i], i);
        int k = 0;
        for (int s = 0; s < 8; ++s) {
            for (int r = d->firstRib; r <= d->lastRib; ++r) {
                QCOMPARE(g.points[k++], d->bridle.frame[r][s].pos);
                if (r != 0)
                    QCOMPARE(g.points[k++], d->bridle.frame[r][s].mirrorPos);
            }
        }
        QCOMPARE(Add_Free_Node(&g, QPoint(500, 600)), count);
        QCOMPARE(g.ids.last(), count);

        // The index of every cell's node, and none for cells the design lacks.
        for (int s = 0; s < 8; ++s) {
            for (int r = d->firstRib; r <= d->lastRib; ++r) {
                QCOMPARE(g.points[Frame_Node_Index(d.get(), r, s, 0)], d->bridle.frame[r][s].pos);
                if (r != 0)
                    QCOMPARE(g.points[Frame_Node_Index(d.get(), r, s, 1)], d->bridle.frame[r][s].mirrorPos);
            }
        }
        QCOMPARE(Frame_Node_Index(d.get(), d->lastRib, 7, 1), count - 1);
        QCOMPARE(Frame_Node_Index(d.get(), 0, 0, 1), -1);
        QCOMPARE(Frame_Node_Index(d.get(), d->lastRib + 1, 0, 0), -1);
        QCOMPARE(Frame_Node_Index(d.get(), d->firstRib - 1, 0, 0), -1);
        QCOMPARE(Frame_Node_Index(d.get(), 3, 8, 0), -1);
        QCOMPARE(Frame_Node_Index(d.get(), 3, 0, 2), -1);
    }

    // Lines go, nodes stay; later lines, their properties and attachments
    // move down together.
    void removingLines()
    {
        auto d = wing(34);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int x = Add_Free_Node(&g, QPoint(500, 400));
        const int y = Add_Free_Node(&g, QPoint(600, 400));
        const int r = Add_Free_Node(&g, QPoint(550, 600));
        Add_Group_Line(&g, x, 1, lineOfLength(0.1), set_origRLS(0, 0, 1, 1, true));
        Add_Group_Line(&g, x, 2, lineOfLength(0.2), set_origRLS(1, 0, 0, 2, true));
        Add_Group_Line(&g, r, x, lineOfLength(0.3), origRLS());
        Add_Group_Line(&g, y, 5, lineOfLength(0.4), set_origRLS(2, 0, 1, 5, true));
        Add_Group_Line(&g, r, y, lineOfLength(0.5), origRLS());
        const qsizetype nodes = g.points.size();

        QCOMPARE(Remove_Lines_With_Parent(&g, x), 2);
        QCOMPARE(g.pairs, QPolygon({QPoint(r, x), QPoint(y, 5), QPoint(r, y)}));
        QCOMPARE(g.lines[1].length, 0.4);
        QCOMPARE(g.attachments[1].node, 5);
        QCOMPARE(g.points.size(), nodes);
        QCOMPARE(Remove_Lines_With_Parent(&g, x), 0);

        Add_Group_Line(&g, x, 5, lineOfLength(0.6), set_origRLS(2, 0, 1, 5, true));
        QCOMPARE(Remove_First_Line_With_Child(&g, 5), 1);
        QCOMPARE(g.pairs, QPolygon({QPoint(r, x), QPoint(r, y), QPoint(x, 5)}));
        QCOMPARE(g.lines[2].length, 0.6);
        QCOMPARE(Remove_Lines_With_Child(&g, y), 1);
        QCOMPARE(g.pairs, QPolygon({QPoint(r, x), QPoint(x, 5)}));
        QCOMPARE(g.lines.size(), 2);
        QCOMPARE(g.attachments.size(), 2);
        QCOMPARE(g.ids.size(), nodes);
        // The riser tree has no attachments: its lines go alone.
        BridleGroup riser;
        riser.points = {QPoint(0, 0), QPoint(1, 1)};
        riser.pairs = {QPoint(1, 0), QPoint(1, 0)};
        riser.lines = {lineOfLength(0.1), lineOfLength(0.2)};
        QCOMPARE(Remove_Lines_With_Child(&riser, 0), 2);
        QVERIFY(riser.lines.isEmpty());
    }

    // A branch goes whole: every line above the node, by the points the
    // placement finds children by (a node sharing the point shares the
    // branch); the rest of the tree, its properties and attachments stay in
    // order; a cycle of damaged data ends the walk.
    void removingBranches()
    {
        auto d = wing(34);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int x = Add_Free_Node(&g, QPoint(500, 400));
        const int y = Add_Free_Node(&g, QPoint(600, 400));
        const int m = Add_Free_Node(&g, QPoint(550, 500));
        const int r = Add_Free_Node(&g, QPoint(550, 600));
        Add_Group_Line(&g, x, 1, lineOfLength(0.1), set_origRLS(0, 0, 1, 1, true));
        Add_Group_Line(&g, x, 2, lineOfLength(0.2), set_origRLS(1, 0, 0, 2, true));
        Add_Group_Line(&g, m, x, lineOfLength(0.3), origRLS());
        Add_Group_Line(&g, y, 5, lineOfLength(0.4), set_origRLS(2, 0, 1, 5, true));
        Add_Group_Line(&g, m, y, lineOfLength(0.5), origRLS());
        Add_Group_Line(&g, r, m, lineOfLength(0.6), origRLS());
        Add_Group_Line(&g, r, 7, lineOfLength(0.7), set_origRLS(3, 0, 1, 7, true));
        const BridleGroup whole = g;

        // Above m: its two lines and the three above them.
        QCOMPARE(Remove_Branch(&g, m), 5);
        QCOMPARE(g.pairs, QPolygon({QPoint(r, m), QPoint(r, 7)}));
        QCOMPARE(g.lines[1].length, 0.7);
        QCOMPARE(g.attachments[1].node, 7);
        QCOMPARE(g.points.size(), whole.points.size());
        QCOMPARE(Remove_Branch(&g, m), 0);
        // A frame node carries nothing.
        g = whole;
        QCOMPARE(Remove_Branch(&g, 1), 0);
        // A second node at x's point shares x's branch.
        const int twin = Add_Free_Node(&g, g.points[x]);
        QCOMPARE(Remove_Branch(&g, twin), 2);
        QCOMPARE(g.pairs.size(), whole.pairs.size() - 2);
        // x and y hanging from each other: the walk ends.
        g = whole;
        Add_Group_Line(&g, x, y, lineOfLength(0.8), origRLS());
        Add_Group_Line(&g, y, x, lineOfLength(0.9), origRLS());
        QCOMPARE(Remove_Branch(&g, x), 5);
        QCOMPARE(g.pairs, QPolygon({QPoint(m, x), QPoint(m, y), QPoint(r, m), QPoint(r, 7)}));
        QCOMPARE(Remove_Branch(nullptr, 0), 0);
        QCOMPARE(Remove_Branch(&g, -1), 0);
    }

    // In the riser tree a branch ends at the riser frame: the virtual lines
    // (to frame nodes 0..2) stay, and those left hanging from nothing lose
    // their load; one still hanging keeps it.
    void removingRiserBranches()
    {
        BridleGroup g;
        const QPoint at[] = {{300, 150}, {500, 150}, {700, 150}, {300, 180}, {500, 180},
                             {700, 180}, {400, 400}, {550, 500}, {550, 600}};
        for (int i = 0; i < 9; ++i) {
            g.ids.append(i);
            g.points.append(at[i]);
        }
        const QPolygon pairs({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2), QPoint(6, 3), QPoint(6, 4), QPoint(7, 6),
                              QPoint(7, 5), QPoint(8, 7)});
        for (int i = 0; i < pairs.size(); ++i) {
            LineProp l;
            l.load = 10.0 + i;
            g.pairs.append(pairs[i]);
            g.lines.append(l);
        }
        const BridleGroup whole = g;
        // Above 7: the lines to 6 and 5 and the two above 6.
        QCOMPARE(Remove_Branch(&g, 7, 3), 4);
        QCOMPARE(g.pairs, QPolygon({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2), QPoint(8, 7)}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(g.lines[i].load, 0.0);
        QCOMPARE(g.lines[3].load, 17.0);
        // Above 6 only: the third group still hangs from the tree.
        g = whole;
        QCOMPARE(Remove_Branch(&g, 6, 3), 2);
        QCOMPARE(g.pairs, QPolygon({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2), QPoint(7, 6), QPoint(7, 5),
                                    QPoint(8, 7)}));
        QCOMPARE(g.lines[0].load, 0.0);
        QCOMPARE(g.lines[1].load, 0.0);
        QCOMPARE(g.lines[2].load, 12.0);
        // A virtual node carries only its virtual line: nothing goes.
        g = whole;
        QCOMPARE(Remove_Branch(&g, 3, 3), 0);
        QCOMPARE(g.pairs, whole.pairs);
        QCOMPARE(g.lines[0].load, 10.0);
        // Without a frame to keep, the virtual lines go with the branch.
        g = whole;
        QCOMPARE(Remove_Branch(&g, 6, 0), 4);
    }

    // After a removal a line that holds nothing goes, and so do the lines
    // below it that then hold nothing, down to a node that still holds a
    // line. On the tree r -> m -> {x -> {1, 2}, y -> 5}, r -> 7: for each
    // node named in turn, the branch above it is removed (where `branch`),
    // then what holds nothing below it.
    void removingLinesHoldingNothing_data()
    {
        QTest::addColumn<QStringList>("nodes");
        QTest::addColumn<bool>("branch");
        QTest::addColumn<QList<int>>("left");   // lines: 0 x-1, 1 x-2, 2 m-x, 3 y-5, 4 m-y, 5 r-m, 6 r-7
        QTest::newRow("x: its line; m still holds y") << QStringList{"x"} << true << QList<int>{3, 4, 5, 6};
        QTest::newRow("y: its line; m still holds x") << QStringList{"y"} << true << QList<int>{0, 1, 2, 5, 6};
        QTest::newRow("x, then y: down to r, which holds 7") << QStringList{"x", "y"} << true << QList<int>{6};
        QTest::newRow("m: its line to r") << QStringList{"m"} << true << QList<int>{6};
        QTest::newRow("r: the root has no line down") << QStringList{"r"} << true << QList<int>{};
        QTest::newRow("x still holds its ends") << QStringList{"x"} << false << QList<int>{0, 1, 2, 3, 4, 5, 6};
        QTest::newRow("a frame node holds the canopy") << QStringList{"frame"} << false
                                                       << QList<int>{0, 1, 2, 3, 4, 5, 6};
        QTest::newRow("no such node") << QStringList{"none"} << false << QList<int>{0, 1, 2, 3, 4, 5, 6};
    }
    void removingLinesHoldingNothing()
    {
        QFETCH(QStringList, nodes);
        QFETCH(bool, branch);
        QFETCH(QList<int>, left);
        auto d = wing(34);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int n = int(g.points.size());
        QMap<QString, int> node{{"frame", 1}, {"none", -1}};
        node["x"] = Add_Free_Node(&g, QPoint(500, 400));
        node["y"] = Add_Free_Node(&g, QPoint(600, 400));
        node["m"] = Add_Free_Node(&g, QPoint(550, 500));
        node["r"] = Add_Free_Node(&g, QPoint(550, 600));
        // Line i has length 0.1 x (i + 1).
        Add_Group_Line(&g, node["x"], 1, lineOfLength(0.1), set_origRLS(0, 0, 1, 1, true));
        Add_Group_Line(&g, node["x"], 2, lineOfLength(0.2), set_origRLS(1, 0, 0, 2, true));
        Add_Group_Line(&g, node["m"], node["x"], lineOfLength(0.3), origRLS());
        Add_Group_Line(&g, node["y"], 5, lineOfLength(0.4), set_origRLS(2, 0, 1, 5, true));
        Add_Group_Line(&g, node["m"], node["y"], lineOfLength(0.5), origRLS());
        Add_Group_Line(&g, node["r"], node["m"], lineOfLength(0.6), origRLS());
        Add_Group_Line(&g, node["r"], 7, lineOfLength(0.7), set_origRLS(3, 0, 1, 7, true));
        const BridleGroup whole = g;
        for (const QString& name : nodes) {
            if (branch)
                Remove_Branch(&g, node[name]);
            const int before = int(g.lines.size());
            const int removed = Remove_Lines_Holding_Nothing(&g, node[name], n);
            QCOMPARE(removed, before - int(g.lines.size()));
        }
        QList<int> kept;
        for (const LineProp& l : std::as_const(g.lines))
            kept << int(std::lround(l.length * 10)) - 1;
        QCOMPARE(kept, left);
        // Attachments went with their lines; nodes stay.
        QCOMPARE(g.attachments.size(), g.lines.size());
        for (int i = 0; i < g.lines.size(); ++i)
            QVERIFY(sameAttachment(g.attachments[i], whole.attachments[kept[i]]));
        QCOMPARE(g.points.size(), whole.points.size());
    }

    // Lines end at a node by its point: a second node at x's point shares
    // x's fate. In the riser tree a node that hangs a virtual line (to a
    // riser frame node) holds that group's load and keeps its line. A cycle
    // of damaged data ends the walk.
    void linesHoldingNothingEdgeCases()
    {
        auto d = wing(34);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int n = int(g.points.size());
        const int x = Add_Free_Node(&g, QPoint(500, 400));
        const int twin = Add_Free_Node(&g, QPoint(500, 400));
        const int r = Add_Free_Node(&g, QPoint(550, 600));
        Add_Group_Line(&g, r, x, lineOfLength(0.1), origRLS());
        Add_Group_Line(&g, r, twin, lineOfLength(0.2), origRLS());
        Add_Group_Line(&g, r, 7, lineOfLength(0.3), set_origRLS(3, 0, 1, 7, true));
        QCOMPARE(Remove_Lines_Holding_Nothing(&g, x, n), 2);
        QCOMPARE(g.pairs, QPolygon({QPoint(r, 7)}));

        BridleGroup riser;
        const QPoint at[] = {{300, 150}, {500, 150}, {300, 180}, {500, 180}, {400, 400}, {400, 500}};
        for (int i = 0; i < 6; ++i) {
            riser.ids.append(i);
            riser.points.append(at[i]);
        }
        riser.pairs = QPolygon({QPoint(2, 0), QPoint(3, 1), QPoint(4, 2), QPoint(5, 4), QPoint(5, 3)});
        riser.lines = {lineOfLength(0.1), lineOfLength(0.2), lineOfLength(0.3), lineOfLength(0.4),
                       lineOfLength(0.5)};
        QCOMPARE(Remove_Lines_Holding_Nothing(&riser, 2, 2), 0);
        QCOMPARE(Remove_Lines_Holding_Nothing(&riser, 4, 2), 0);
        QCOMPARE(riser.pairs.size(), 5);

        BridleGroup loop;
        loop.points = {QPoint(0, 0), QPoint(10, 10), QPoint(20, 20)};
        loop.pairs = QPolygon({QPoint(1, 2), QPoint(2, 1)});
        loop.lines = {lineOfLength(0.1), lineOfLength(0.2)};
        QCOMPARE(Remove_Lines_Holding_Nothing(&loop, 1, 1), 0);
        loop.pairs = QPolygon({QPoint(2, 1)});
        loop.lines = {lineOfLength(0.1)};
        QCOMPARE(Remove_Lines_Holding_Nothing(&loop, 1, 1), 1);
        QCOMPARE(Remove_Lines_Holding_Nothing(nullptr, 0, 0), 0);
    }

    // A pasted group's canopy ends move by the difference of the groups'
    // home rows (the brakes live on the brake row) and are fastened to the
    // frame nodes of their new cells.
    void pastedEnds_data()
    {
        QTest::addColumn<int>("copySlot");
        QTest::addColumn<int>("pasteSlot");
        QTest::addColumn<int>("fromRow");
        QTest::addColumn<int>("toRow");
        QTest::newRow("L1 -> L2") << 1 << 2 << 0 << 1;
        QTest::newRow("L3 -> L1") << 3 << 1 << 2 << 0;
        QTest::newRow("L1 -> brakes") << 1 << 5 << 0 << 7;
        QTest::newRow("L1 row B -> brakes") << 1 << 5 << 1 << 7;
        QTest::newRow("brakes -> L2") << 5 << 2 << 7 << 1;
        QTest::newRow("L4 row G -> brakes") << 4 << 5 << 6 << 7;
        QTest::newRow("L1 -> L1") << 1 << 1 << 0 << 0;
    }
    void pastedEnds()
    {
        QFETCH(int, copySlot);
        QFETCH(int, pasteSlot);
        QFETCH(int, fromRow);
        QFETCH(int, toRow);
        auto d = wing(35);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int x = Add_Free_Node(&g, QPoint(500, 400));
        const int r = Add_Free_Node(&g, QPoint(500, 600));
        const int own = Frame_Node_Index(d.get(), 4, fromRow, 0);
        const int mirror = Frame_Node_Index(d.get(), 1, fromRow, 1);
        Add_Group_Line(&g, x, own, LineProp(), set_origRLS(4, fromRow, 0, own, true));
        Add_Group_Line(&g, x, mirror, LineProp(), set_origRLS(1, fromRow, 1, mirror, true));
        Add_Group_Line(&g, r, x, LineProp(), set_origRLS(-1, -1, -1, -1, false));
        Move_Pasted_Ends(d.get(), &g, copySlot, pasteSlot);
        QCOMPARE(g.attachments[0].row, toRow);
        QCOMPARE(g.attachments[1].row, toRow);
        QCOMPARE(g.attachments[0].node, Frame_Node_Index(d.get(), 4, toRow, 0));
        QCOMPARE(g.pairs[1].y(), Frame_Node_Index(d.get(), 1, toRow, 1));
        QCOMPARE(g.attachments[2].row, -1);
        QCOMPARE(g.pairs[2], QPoint(r, x));
        Reattach_Canopy_Ends(&g, d->bridle.frame);
        QCOMPARE(g.lines[0].q2, d->bridle.frame[4][toRow].pos3D);
        QCOMPARE(g.lines[1].p2, d->bridle.frame[1][toRow].mirrorPos);
        // Every frame node still stands on its own cell.
        for (int s = 0; s < 8; ++s)
            QCOMPARE(g.points[Frame_Node_Index(d.get(), 4, s, 0)], d->bridle.frame[4][s].pos);
    }

    void frameLayout34()
    {
        auto d = wing(34);
        const int rows[8] = {93, 110, 128, 145, 162, 179, 196, 213};
        for (int s = 0; s < 8; ++s) {
            for (int r = 0; r <= 17; ++r) {
                const FrameArr& c = d->bridle.frame[r][s];
                QCOMPARE(c.pos, QPoint(512 + int(std::trunc(r * 614.4 / 17)), rows[s]));
                const int index = s == 7 ? d->teLineIndex[r] : d->lineIndex[s + 2][r];
                QCOMPARE(c.pos3D, d->ribCurves3D[r][index]);
                if (r == 0) {
                    QCOMPARE(c.mirrorPos, QPoint(0, 0));
                    QCOMPARE(c.mirrorPos3D, QVector3D(0, 0, 0));
                } else {
                    QCOMPARE(c.mirrorPos, QPoint(int(std::trunc(512 - r * 614.4 / 17)), rows[s]));
                    QCOMPARE(c.mirrorPos3D, QVector3D(c.pos3D.x(), -c.pos3D.y(), c.pos3D.z()));
                }
            }
        }
        QCOMPARE(d->bridle.frame[17][0].pos.x(), 1126);
        QCOMPARE(d->bridle.frame[17][0].mirrorPos.x(), -102);
        QCOMPARE(d->teLineIndex[5], 999);   // the brake row sits on the trailing edge
        for (int r = 0; r < kBridleRibs; ++r)
            QCOMPARE(d->bridle.frame[r][8].pos, QPoint(0, 0));
        QCOMPARE(d->bridle.frame[18][0].pos, QPoint(0, 0));   // beyond the tip
    }

    // With an odd cell count rib 1 stands on the centre line on both sides;
    // a search by point finds its own-side node first.
    void frameLayout35()
    {
        auto d = wing(35);
        QCOMPARE(d->firstRib, 1);
        QCOMPARE(d->lastRib, 18);
        for (int s = 0; s < 8; ++s) {
            QCOMPARE(d->bridle.frame[1][s].pos.x(), 512);
            QCOMPARE(d->bridle.frame[1][s].mirrorPos.x(), 512);
            QCOMPARE(d->bridle.frame[18][s].pos.x(), 1126);
        }
        QCOMPARE(d->bridle.frame[0][0].pos, QPoint(0, 0));   // slot 0 of the centre cell is no rib of the frame
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const QPoint p = d->bridle.frame[1][0].pos;
        QCOMPARE(g.points.indexOf(p), 0);
        QCOMPARE(g.points.at(1), p);
        int info[3];
        QCOMPARE(get_PointInfo3D(d.get(), p, f_start_id(d.get()), &g.points, d->bridle.frame, info),
                 d->bridle.frame[1][0].pos3D);
        QCOMPARE(info[2], 0);
    }

    void attachmentLookups()
    {
        auto d = wing(34);
        QCOMPARE(Row_Attachment_Index(d.get(), 4, 3), d->lineIndex[4][3]);
        QCOMPARE(Row_Attachment_Index(d.get(), 9, 3), 999);
        QCOMPARE(Row_Attachment_Index(d.get(), 10, 3), -1);
        QCOMPARE(Row_Attachment_Index(d.get(), 2, 65), -1);
        QCOMPARE(Row_Attachment_Index(d.get(), -1, 0), -1);
        d->lineIndex[3][2] = 1200;   // a value no table holds
        QCOMPARE(Row_Attachment_Index(d.get(), 3, 2), -1);
        QCOMPARE(Row_Attachment_Point(d.get(), 3, 2), QVector3D(0, 0, 0));
        QCOMPARE(Row_Attachment_Point(d.get(), 4, 7), d->ribCurves3D[7][d->lineIndex[4][7]]);
    }

    // A stored count above the store, or below zero, gives an empty list and
    // the count 0, for each of the five lists (the line list included).
    void damagedCountsReadAsEmpty_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("count");
        for (int w = 0; w < 5; ++w) {
            QTest::addRow("list %d, 1171", w) << w << 1171;
            QTest::addRow("list %d, -3", w) << w << -3;
        }
        QTest::newRow("line count far beyond") << 3 << 2000000000;
    }
    void damagedCountsReadAsEmpty()
    {
        QFETCH(int, which);
        QFETCH(int, count);
        auto g = std::make_unique<BridleGroup>();
        fillRandomly(g.get(), 7);
        g->idCount = g->pointCount = g->pairCount = g->lineCount = g->attachmentCount = 5;
        int* counts[5] = {&g->idCount, &g->pointCount, &g->pairCount, &g->lineCount, &g->attachmentCount};
        *counts[which] = count;
        Rebuild_Group_Lists(g.get());
        const qsizetype sizes[5] = {g->ids.size(), g->points.size(), g->pairs.size(), g->lines.size(),
                                    g->attachments.size()};
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(sizes[k], k == which ? 0 : 5);
            QCOMPARE(*counts[k], k == which ? 0 : 5);
        }
        QCOMPARE(g->lines.isEmpty(), which == 3);
        if (which != 3)
            QVERIFY(sameLine(g->lines[4], g->lineArray[4]));
    }

    // Stores -> lists -> stores gives the same stores, entries beyond the
    // counts included.
    void storeListStore()
    {
        for (quint32 seed : {1u, 2u, 3u}) {
            auto g = std::make_unique<BridleGroup>();
            fillRandomly(g.get(), seed);
            auto before = std::make_unique<BridleGroup>(*g);
            Rebuild_Group_Lists(g.get());
            QCOMPARE(g->lines.size(), g->lineCount);
            QVERIFY(Store_Group_Lists(g.get()));
            QVERIFY(sameStores(*g, *before));
        }
        // At capacity.
        auto full = std::make_unique<BridleGroup>();
        fillRandomly(full.get(), 9);
        full->idCount = full->pointCount = full->pairCount = full->lineCount = full->attachmentCount = kLineEntries;
        auto copy = std::make_unique<BridleGroup>(*full);
        Rebuild_Group_Lists(full.get());
        QVERIFY(Store_Group_Lists(full.get()));
        QVERIFY(sameStores(*full, *copy));
    }

    // A full group refuses a new node or line and says so; a list grown
    // beyond the store is never stored as an empty group.
    void fullGroupRefusesMore()
    {
        auto d = wing(34);
        auto g = std::make_unique<BridleGroup>();
        Init_Line_Group(d.get(), d->bridle.frame, g.get());
        const int root = Add_Free_Node(g.get(), QPoint(700, 700));
        QVERIFY(root >= 0);
        while (g->points.size() < kLineEntries)
            QVERIFY(Add_Free_Node(g.get(), QPoint(-int(g->points.size()), 900)) >= 0);
        NotifySpy spy;
        QCOMPARE(Add_Free_Node(g.get(), QPoint(1, 1)), -1);
        QCOMPARE(g->points.size(), kLineEntries);
        QCOMPARE(spy.texts.size(), 1);
        QVERIFY(spy.texts[0].contains(QStringLiteral("1170")));

        for (int i = 0; i < kLineEntries; ++i)
            QVERIFY(Add_Group_Line(g.get(), root, i == root ? 0 : i, LineProp(), set_origRLS(-1, -1, -1, -1, false)));
        QCOMPARE(spy.texts.size(), 1);
        QVERIFY(!Add_Group_Line(g.get(), root, 5, LineProp(), set_origRLS(-1, -1, -1, -1, false)));
        QCOMPARE(g->lines.size(), kLineEntries);
        QCOMPARE(g->pairs.size(), kLineEntries);
        QCOMPARE(spy.texts.size(), 2);
        QVERIFY(Store_Group_Lists(g.get()));
        QCOMPARE(g->lineCount, kLineEntries);

        // Grown beyond the store by other means: the stored group stays.
        auto stored = std::make_unique<BridleGroup>(*g);
        g->lines.append(LineProp());
        g->pairs.append(QPoint(root, 1));
        QVERIFY(!Store_Group_Lists(g.get()));
        QCOMPARE(spy.texts.size(), 3);
        QVERIFY(sameStores(*g, *stored));
        QCOMPARE(g->lineCount, kLineEntries);

        // A line to a node that does not exist is not made.
        QVERIFY(!Add_Group_Line(stored.get(), root, kLineEntries + 3, LineProp(), origRLS()));
    }

    void newLineTakesItsEnds()
    {
        auto d = wing(34);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int a = Add_Free_Node(&g, QPoint(700, 500));
        const int b = Add_Free_Node(&g, QPoint(710, 400));
        QVERIFY(Add_Group_Line(&g, a, b, LineProp(), origRLS()));
        QVERIFY(Add_Group_Line(&g, b, 3, LineProp(), set_origRLS(1, 0, 1, 3, true)));
        QCOMPARE(g.pairs, QPolygon({QPoint(a, b), QPoint(b, 3)}));
        QCOMPARE(g.lines[1].edge, 1);
        QCOMPARE(g.lines[1].p1, QPoint(710, 400));
        QCOMPARE(g.lines[1].p2, g.points[3]);
        QCOMPARE(g.lines[1].length, 0.1);
        QCOMPARE(g.lines[1].diameter, 0.0005);
        QCOMPARE(g.lines[1].load, 0.0);
        QVERIFY(g.attachments[1].attached);
    }

    // After the frame moved, attached line ends and their nodes follow it.
    void canopyEndsFollowTheFrame()
    {
        auto d = wing(34);
        BridleGroup g;
        Init_Line_Group(d.get(), d->bridle.frame, &g);
        const int node = g.points.indexOf(d->bridle.frame[4][2].mirrorPos);
        const int free = Add_Free_Node(&g, QPoint(600, 600));
        QVERIFY(Add_Group_Line(&g, free, node, LineProp(), set_origRLS(4, 2, 1, node, true)));
        QVERIFY(Add_Group_Line(&g, free, 0, LineProp(), origRLS()));
        d->bridle.frame[4][2].mirrorPos = QPoint(300, 140);
        d->bridle.frame[4][2].mirrorPos3D = QVector3D(1, 2, 3);
        Reattach_Canopy_Ends(&g, d->bridle.frame);
        QCOMPARE(g.lines[0].p2, QPoint(300, 140));
        QCOMPARE(g.lines[0].q2, QVector3D(1, 2, 3));
        QCOMPARE(g.points[node], QPoint(300, 140));
        QCOMPARE(g.lines[1].q2, QVector3D(0, 0, 0));   // not attached: left alone
        // Lines and attachments out of step: nothing is touched.
        g.attachments.removeLast();
        d->bridle.frame[4][2].mirrorPos = QPoint(1, 1);
        Reattach_Canopy_Ends(&g, d->bridle.frame);
        QCOMPARE(g.lines[0].p2, QPoint(300, 140));
    }

    // Three groups: frame points at x 307, 512 and 716 on y 153, virtual
    // nodes 30 below, virtual lines 0.05 long and 0.02 thick.
    void riserFrame()
    {
        auto d = wing(34);
        d->lineGroupCount = 3;
        for (int i = 0; i < 5; ++i)
            d->riserTops[i] = QVector3D(10 * i, 20, 30);
        BridleGroup riser;
        riser.lines.append(LineProp());   // cleared by the reset
        Init_Riser_Frame(d.get(), d->bridle.riserFrames, &riser);
        Add_Riser_Virtual_Lines(d.get(), d->bridle.riserFrames, &riser);
        const int xs[3] = {307, 512, 716};
        QCOMPARE(riser.points.size(), 6);
        QCOMPARE(riser.ids, QList<int>({0, 1, 2, 3, 4, 5}));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(d->bridle.riserFrames[i].pos, QPoint(xs[i], 153));
            QCOMPARE(d->bridle.riserFrames[i].pos3D, QVector3D(10 * i, 20, 30));
            QCOMPARE(riser.points[i], QPoint(xs[i], 153));
            QCOMPARE(riser.points[3 + i], QPoint(xs[i], 183));
            QCOMPARE(riser.pairs[i], QPoint(3 + i, i));
            QCOMPARE(riser.lines[i].length, 0.05);
            QCOMPARE(riser.lines[i].diameter, 0.02);
            QCOMPARE(riser.lines[i].q2, QVector3D(10 * i, 20, 30));
        }
        QCOMPARE(riser.lines.size(), 3);
        QVERIFY(riser.attachments.isEmpty());
    }

    // The project file keeps 600 riser lines: the riser tree holds no more.
    void riserHoldsWhatTheFileKeeps()
    {
        BridleGroup riser;
        riser.ids = {0, 1};
        riser.points = {QPoint(0, 0), QPoint(1, 1)};
        NotifySpy spy;
        for (int i = 0; i < kStoredRiserLines; ++i)
            QVERIFY(Add_Riser_Line(&riser, 1, 0, LineProp()));
        QVERIFY(!Add_Riser_Line(&riser, 1, 0, LineProp()));
        QCOMPARE(riser.lines.size(), kStoredRiserLines);
        QCOMPARE(spy.texts.size(), 1);
    }

    // The line-index steps write the slot beyond the tip rib. At the largest
    // wing the file accepts that is the tables' last slot; whatever a record
    // claims, nothing is written past the tables (the members after them
    // keep their values).
    void lineIndexTablesAtTheRibLimit()
    {
        auto d = fixture::makeWing(126);
        QCOMPARE(d->lastRib, 63);
        d->wingFlexPercent[8] = 50;
        const int sentinel = 555;
        for (int tip : {63, 64, 65}) {
            d->lastRib = tip;
            d->dynLineIndex[0][0] = sentinel;   // follows resLineIndex[8][64]
            d->teLineIndex[0] = sentinel;       // follows lineIndex[8][64]
            d->resLineIndex[8][64] = -1;
            d->lineIndex[8][64] = -1;
            d->CalculateResLines();
            d->Create_WingFlexLines(8);
            QCOMPARE(d->dynLineIndex[0][0], sentinel);
            QCOMPARE(d->teLineIndex[0], sentinel);
            if (tip == 63) {
                QVERIFY(d->resLineIndex[8][64] > d->noseIndex[64]);
                QVERIFY(d->lineIndex[8][64] > d->noseIndex[64]);
            }
        }
        d->lastRib = 63;
        Layout_Frame(d.get(), d->bridle.frame);
        QCOMPARE(d->bridle.frame[63][0].pos.x(), 1126);
    }
};

QTEST_MAIN(TestLinePlan)
#include "tst_lineplan.moc"
