// What the bridle views show, without painting: the line table of a group
// (labels, lengths, loads, brake relaxation, shared nodes, the tree laid out
// without crossings and its labels placed apart), the lines and the
// half canopy of the 3-D window with its camera arithmetic, and the brake
// relaxation diagram, also for a design that has no span yet.

#include <QTest>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QSize>
#include <QString>
#include <QVector3D>

#include <cmath>
#include <memory>

#include "core/skintension.h"
#include "core/transf.h"
#include "lines/bridlelists.h"
#include "lines/loading.h"
#include "tests/lines/linesfixture.h"
#include "tests/lines/tablecheck.h"
#include "core/chartlabels.h"

using namespace linesfixture;

class TestBridleLists : public QObject
{
    Q_OBJECT

    std::unique_ptr<ParaStruct> shipped;

    ParaStruct* design()
    {
        if (!shipped) {
            Install_Recompute_Hooks();
            shipped = defaultDesign(34);
        }
        return shipped.get();
    }

private slots:
    // A table's tree laid out for reading, from trees whose scene places
    // cross: the frame points stay, every free node stands below the frame
    // and below the nodes it carries, and no two lines cross unless the ribs
    // of their branches interleave. The labels then all find a place clear
    // of one another, of the nodes and of the frame.
    void tidyTree_data()
    {
        QTest::addColumn<int>("framePoints");     // frame nodes 0 .. n-1, 36 apart on one row
        QTest::addColumn<QList<QPoint>>("free");  // free nodes n, n+1, ... where the scene put them
        QTest::addColumn<QList<QPoint>>("lines"); // (parent, child)
        // The brake fans: the first fan's node lies low and to the right,
        // beyond the second's, as the scene's steps leave it.
        QTest::newRow("two fans, the first lower")
            << 4 << QList<QPoint>{{150, 600}, {260, 420}, {140, 300}}
            << QList<QPoint>{{4, 5}, {4, 6}, {5, 0}, {5, 1}, {6, 2}, {6, 3}};
        // A line straight to the frame beside a branch several levels deep.
        QTest::newRow("leaf beside a deep branch")
            << 9 << QList<QPoint>{{250, 650}, {260, 500}, {160, 330}, {300, 420}}
            << QList<QPoint>{{9, 0}, {9, 10}, {10, 11}, {11, 1}, {11, 2}, {10, 12}, {12, 3}, {12, 4}, {12, 5},
                             {12, 6}, {12, 7}, {12, 8}};
        QTest::newRow("chain to a wide fan")
            << 8 << QList<QPoint>{{230, 700}, {230, 600}, {240, 300}}
            << QList<QPoint>{{8, 9}, {9, 10}, {10, 0}, {10, 1}, {10, 2}, {10, 3}, {10, 4}, {10, 5}, {10, 6}, {10, 7}};
        QTest::newRow("outer lines round a branch")
            << 10 << QList<QPoint>{{260, 500}, {270, 450}}
            << QList<QPoint>{{10, 0}, {10, 9}, {10, 11}, {11, 1}, {11, 2}, {11, 3}, {11, 4}, {11, 5}, {11, 6}, {11, 7},
                             {11, 8}};
    }
    void tidyTree()
    {
        QFETCH(int, framePoints);
        QFETCH(QList<QPoint>, free);
        QFETCH(QList<QPoint>, lines);
        constexpr int kRow = 212;
        constexpr double kBase = 232;
        BridleTable t;
        for (int i = 0; i < framePoints; ++i) {
            t.nodes.append(QPoint(100 + 36 * i, kRow));
            t.onFrame.append(true);
        }
        for (const QPoint& p : free) {
            t.nodes.append(p);
            t.onFrame.append(false);
        }
        for (const QPoint& l : lines) {
            GraphRec rec;
            rec.start = l.x();
            rec.end = l.y();
            t.graph.append(rec);
        }
        const BridleTable scene = t;
        Lay_Out_Bridle_Table(&t, kBase, 120, 50);
        for (int i = 0; i < framePoints; ++i)
            QCOMPARE(t.nodes[i], scene.nodes[i]);
        for (const GraphRec& rec : std::as_const(t.graph)) {
            QVERIFY(t.nodes[rec.start].y() > kBase);
            QVERIFY2(t.nodes[rec.start].y() > t.nodes[rec.end].y(),
                     qPrintable(QString("node %1 not below node %2").arg(rec.start).arg(rec.end)));
        }
        const QList<QPair<int, int>> crossing = tablecheck::crossingLines(t, kRow);
        QVERIFY2(crossing.isEmpty(), qPrintable(QString("lines %1 and %2 cross")
                                                     .arg(crossing.value(0).first)
                                                     .arg(crossing.value(0).second)));

        // Labels as long as a brake line's on the lines to the frame.
        QList<QSizeF> sizes;
        for (const GraphRec& rec : std::as_const(t.graph))
            sizes.append(t.onFrame[rec.end] ? QSizeF(105, 12) : QSizeF(36, 12));
        const QList<TableLabel> labels = Bridle_Table_Labels(t, sizes, kBase, 5);
        QCOMPARE(labels.size(), t.graph.size());
        QList<QRectF> boxes;
        for (int k = 0; k < labels.size(); ++k) {
            const TableLabel& l = labels[k];
            QVERIFY2(l.placed, qPrintable(QString("label %1 found no place").arg(k)));
            const QSizeF wanted = l.turned ? sizes[k].transposed() : sizes[k];
            QCOMPARE(l.box.size(), wanted);
            QVERIFY(l.box.top() >= kBase);
            for (const QPoint& n : std::as_const(t.nodes))
                QVERIFY2(!l.box.intersects(QRectF(n - QPointF(5, 5), QSizeF(10, 10))),
                         qPrintable(QString("label %1 covers a node").arg(k)));
            boxes.append(l.box);
        }
        QVERIFY(!Labels_Overlap(boxes));
    }

    // The label of a line: rounded to 5 mm (millimetre digit 0-2 down, 3-7 to
    // 5 mm, 8-9 up), the load to 0.1 kg; the brake form adds the relaxation.
    void labels_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("load");
        QTest::addColumn<double>("relax");
        QTest::addColumn<bool>("brakes");
        QTest::addColumn<QString>("label");
        QTest::newRow("to 5 mm") << 3.4567 << 12.34 << 0.0 << false << "[3.455] <12.3>";
        QTest::newRow("down") << 1.232 << 0.0 << 0.0 << false << "[1.230] <0.0>";
        QTest::newRow("up a centimetre") << 1.238 << 7.06 << 0.0 << false << "[1.240] <7.1>";
        QTest::newRow("9 mm up over a metre") << 0.999 << 1.0 << 0.0 << false << "[1.000] <1.0>";
        QTest::newRow("groups never show relaxation") << 2.0 << 3.0 << 0.2 << false << "[2.000] <3.0>";
        QTest::newRow("brake with relaxation") << 2.1234 << 0.0 << 0.05 << true << "2.123 + 0.050= [2.175] ";
        QTest::newRow("brake sum rounded") << 1.5 << 0.0 << 0.0379 << true << "1.500 + 0.038= [1.540] ";
        QTest::newRow("brake without relaxation") << 2.1234 << 0.0 << 0.0 << true << "[2.125]";
    }
    void labels()
    {
        QFETCH(double, length);
        QFETCH(double, load);
        QFETCH(double, relax);
        QFETCH(bool, brakes);
        QFETCH(QString, label);
        GraphRec rec;
        rec.length = length;
        rec.load = load;
        rec.relax = relax;
        QCOMPARE(Bridle_Table_Label(rec, brakes), label);
    }

    // The table's rows lie 17 units apart from 93.8 (truncated), the ribs
    // spread over 614.4 units either side of 512.
    void framePoints()
    {
        ParaStruct* d = design();
        const int rows[8] = {93, 110, 127, 144, 161, 178, 195, 212};
        for (int s = 0; s < 8; ++s)
            QCOMPARE(Bridle_Table_Frame_Point(d, d->lastRib, s, false).y(), rows[s]);
        QCOMPARE(Bridle_Table_Frame_Point(d, d->firstRib, 0, false).x(), 512);
        QCOMPARE(Bridle_Table_Frame_Point(d, d->lastRib, 0, false).x(), 1126);
        QCOMPARE(Bridle_Table_Frame_Point(d, d->lastRib, 0, true).x(), 512 - 614);
        const int r = d->firstRib + 5;
        const int off = int(std::trunc(5 * 614.4 / (d->lastRib - d->firstRib)));
        QCOMPARE(Bridle_Table_Frame_Point(d, r, 3, true), QPoint(512 - off, 144));
    }

    // Every line of the shipped design's groups is one record, its length
    // the straight 3-D distance in metres and its load as stored; the lengths
    // of all groups add up to half the total line length.
    void defaultDesignTables()
    {
        ParaStruct* d = design();
        Calculate_RelaxLengths(d);
        double sum = 0.0;
        for (int slot = 0; slot <= kBrakeGroupSlot; ++slot) {
            BridleGroup g = d->bridle.groups[slot];
            Rebuild_Group_Lists(&g);
            const BridleTable t = Bridle_Table(d, g, slot == kBrakeGroupSlot);
            QCOMPARE(t.graph.size(), g.lines.size());
            for (int k = 0; k < t.graph.size(); ++k) {
                const GraphRec& rec = t.graph[k];
                const LineProp& line = g.lines[k];
                QCOMPARE(t.nodes[rec.start], g.points[g.pairs[k].x()]);
                QCOMPARE(t.nodes[rec.end], g.points[g.pairs[k].y()]);
                QCOMPARE(rec.length, d->R_X(Dist3(line.q1, line.q2)));
                QCOMPARE(rec.load, line.load);
                sum += rec.length;
            }
            // Every distinct end point once.
            QSet<QPoint> ends;
            for (const QPoint& pair : std::as_const(g.pairs)) {
                ends.insert(g.points[pair.x()]);
                ends.insert(g.points[pair.y()]);
            }
            QCOMPARE(t.nodes.size(), ends.size());
        }
        QVERIFY(sum > 100.0);
        QVERIFY(qAbs(sum - getTotalBridleLength(*d, true).length / 2) < 1e-9 * sum);
    }

    // A brake line that ends on the canopy carries the relaxation of its
    // rib; a line between two free nodes, and every line of L1, none.
    void brakeRelaxation()
    {
        ParaStruct* d = design();
        d->brakeMiddleRelax = 0.12;
        d->brakeEdgeRelax = 0.3;
        d->brakeCentreRib = 8;
        Calculate_RelaxLengths(d);
        BridleGroup g = d->bridle.groups[kBrakeGroupSlot];
        Rebuild_Group_Lists(&g);
        const BridleTable t = Bridle_Table(d, g, true);
        const int firstFree = f_start_id(d);
        int canopy = 0, free = 0;
        for (int k = 0; k < t.graph.size(); ++k) {
            if (g.pairs[k].y() < firstFree) {
                ++canopy;
                QCOMPARE(t.graph[k].relax, d->relaxFactors[g.attachments[k].rib]);
            } else {
                ++free;
                QCOMPARE(t.graph[k].relax, 0.0);
            }
        }
        QVERIFY(canopy > 0 && free > 0);
        // The tip rib's brake line is let out by the edge value.
        bool tip = false;
        for (int k = 0; k < t.graph.size(); ++k)
            if (g.pairs[k].y() < firstFree && g.attachments[k].rib == d->lastRib) {
                QVERIFY(qAbs(t.graph[k].relax - 0.3) < 1e-12);
                tip = true;
            }
        QVERIFY(tip);
        BridleGroup l1 = d->bridle.groups[1];
        Rebuild_Group_Lists(&l1);
        for (const GraphRec& rec : Bridle_Table(d, l1, false).graph)
            QCOMPARE(rec.relax, 0.0);
    }

    // Two lines meeting at one point share one node; a group without lines,
    // or with more pairs than lines, gives an empty table.
    void sharedNodesAndEmptyTables()
    {
        ParaStruct* d = design();
        BridleGroup g;
        Init_Line_Group(d, d->bridle.frame, &g);
        QVERIFY(Bridle_Table(d, g, false).graph.isEmpty());
        const int top = Add_Free_Node(&g, QPoint(500, 400));
        const int mid = Add_Free_Node(&g, QPoint(520, 300));
        const int twin = Add_Free_Node(&g, QPoint(520, 300));   // same point as mid
        QVERIFY(Add_Group_Line(&g, top, mid, LineProp(), origRLS()));
        QVERIFY(Add_Group_Line(&g, twin, 0, LineProp(), origRLS()));
        const BridleTable t = Bridle_Table(d, g, false);
        QCOMPARE(t.graph.size(), 2);
        QCOMPARE(t.nodes.size(), 3);
        QCOMPARE(t.graph[0].end, t.graph[1].start);
        g.lines.removeLast();
        QVERIFY(Bridle_Table(d, g, false).graph.isEmpty());
    }

    // '+' from the start multiplies the model by 1.27 twice, '-' from the
    // start leaves it.
    void zoomSteps()
    {
        QCOMPARE(bridle3d::Model_Factor(1), 0.0005 * 1.27 * 1.27);
        QCOMPARE(bridle3d::Model_Factor(-1), 0.0005);
        QCOMPARE(bridle3d::Model_Factor(2), 0.0005 * 1.27 * 1.27 * 1.27);
    }

    // The 3-D lines are those of the selected group, scaled; none without a
    // group (selection -1 or 6) or with a damaged line count.
    void groupSegments()
    {
        ParaStruct* d = design();
        const BridleData& b = d->bridle;
        QVERIFY(Bridle_Group_Segments(b, -1, 0.0005).isEmpty());
        QVERIFY(Bridle_Group_Segments(b, 6, 0.0005).isEmpty());
        for (int sel : {2, 3, 4, 5, 7}) {
            const int slot = get_curr_bridle_grup(sel);
            const QList<BridleSegment> s = Bridle_Group_Segments(b, sel, 0.001);
            QCOMPARE(s.size(), b.groups[slot].lineCount);
            QVERIFY(!s.isEmpty());
            QCOMPARE(s[0].a, b.groups[slot].lineArray[0].q1 * 0.001f);
            QCOMPARE(s.last().b, b.groups[slot].lineArray[s.size() - 1].q2 * 0.001f);
        }
        auto damaged = std::make_unique<BridleData>(b);
        damaged->groups[1].lineCount = kLineEntries + 1;
        QVERIFY(Bridle_Group_Segments(*damaged, 2, 0.001).isEmpty());
    }

    // One quad per airfoil point step of every cell, the air intake left
    // open; a closed cell (O1 at O2) has no opening. Corners come from the
    // first and last sub-row of the flat grid; the normal is (A - C) x (B - D).
    void canopyQuads()
    {
        auto d = std::make_unique<ParaStruct>(*design());
        int expected = 0;
        for (int r = 0; r < d->lastRib; ++r) {
            const int open = d->lineIndex[0][r], close = d->lineIndex[1][r];
            expected += 998 - std::max(0, std::min(close, 998) - std::max(open + 1, 0));
        }
        QList<CanopyQuad> q = Bridle_Canopy_Quads(d.get(), 0.0005);
        QCOMPARE(q.size(), expected);
        QVERIFY(expected < d->lastRib * 998);   // the default design has intakes
        const CanopyQuad& first = q.first();
        const QVector3D A = d->flatGrid[0][0][0] * 0.0005f, B = d->flatGrid[0][0][1] * 0.0005f;
        const QVector3D C = d->flatGrid[8][0][1] * 0.0005f, D = d->flatGrid[8][0][0] * 0.0005f;
        QCOMPARE(first.a, A);
        QCOMPARE(first.c, C);
        QCOMPARE(first.normal, QVector3D::crossProduct(A - C, B - D));
        for (int r = 0; r < d->lastRib; ++r)
            d->lineIndex[1][r] = d->lineIndex[0][r];
        QCOMPARE(Bridle_Canopy_Quads(d.get(), 0.0005).size(), d->lastRib * 998);
    }

    // The diagram: one bar per rib at its span position, the middle and edge
    // bars twice their (at most 0.5 m) relaxation high, the centre rib marked.
    void relaxDiagram()
    {
        ParaStruct* d = design();
        double relax[kStructSlots];
        for (int i = 0; i < kStructSlots; ++i)
            relax[i] = 0.01 * i;
        const int w = 400, h = 240;
        const RelaxDiagram g = Relax_Diagram(d, 0.2, 0.9, 10, relax, d->lastRib + 1, w, h, 11, 3);
        QVERIFY(g.valid);
        QCOMPARE(g.bars.size(), d->lastRib + 1);
        QCOMPARE(g.baseY, 180.0);
        QCOMPARE(g.middle, 0.2);
        QCOMPARE(g.edge, 0.5);
        QCOMPARE(g.middleTop.y(), 180.0 - 2 * d->ToScreen(0.2));
        QCOMPARE(g.edgeTop.y(), 180.0 - 2 * d->ToScreen(0.5));
        const double k = 0.8 * w / d->ribSpanPos[d->lastRib];
        QCOMPARE(g.bars.last().foot.x(), 40 + k * d->ribSpanPos[d->lastRib]);
        QCOMPARE(g.bars[7].top.y(), 180.0 - 2 * d->ToScreen(0.07));
        QCOMPARE(g.bars[7].label, QPointF(g.bars[7].foot.x() - 10, 220));
        QCOMPARE(g.bars[6].label.y(), 200.0);
        QCOMPARE(g.centre, QPointF(40 + k * d->ribSpanPos[10], 180));
    }

    // The middle and edge values, written upward beside their bars, cover
    // no rib's bar (the edge bar stands where the last rib's does) and stay
    // in the box, at the sizes the bridle manager gives it.
    void relaxValuesStandApart_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<double>("ascent");
        QTest::addColumn<double>("descent");
        QTest::newRow("form") << QSize(318, 238) << 11.0 << 3.0;
        QTest::newRow("maximized") << QSize(700, 420) << 11.0 << 3.0;
        QTest::newRow("large font") << QSize(318, 238) << 15.0 << 4.0;
    }

    void relaxValuesStandApart()
    {
        QFETCH(QSize, size);
        QFETCH(double, ascent);
        QFETCH(double, descent);
        ParaStruct* d = design();
        double relax[kStructSlots];
        for (int i = 0; i < kStructSlots; ++i)
            relax[i] = 0.01 * i;
        const RelaxDiagram g =
            Relax_Diagram(d, 0.15, 0.05, 8, relax, d->lastRib + 1, size.width(), size.height(), ascent, descent);
        QVERIFY(g.valid);
        // " 0.15" read upward: its glyphs span ascent + descent across the
        // base line and the text's width (here 40 pixels) up from its start.
        for (const QPointF at : {g.middleTextAt, g.edgeTextAt}) {
            const QRectF glyphs(at.x() - ascent, at.y() - 40, ascent + descent, 40);
            QVERIFY2(QRectF(0, 0, size.width(), size.height()).contains(glyphs), qPrintable(QString::number(at.x())));
            for (const RelaxBar& bar : g.bars)
                QVERIFY2(bar.foot.x() < glyphs.left() || bar.foot.x() > glyphs.right(),
                         qPrintable(QString("the bar of rib %1").arg(bar.rib)));
        }
    }

    // Before a design exists (no span, no rib positions) the diagram has
    // nothing to be scaled by: it is not drawn, and no division by zero
    // reaches the drawing.
    void relaxDiagramWithoutDesign()
    {
        auto empty = std::make_unique<ParaStruct>();
        double relax[kStructSlots]{};
        QVERIFY(!Relax_Diagram(empty.get(), 0.1, 0.1, 0, relax, 1, 400, 240, 11, 3).valid);
        auto noSpan = std::make_unique<ParaStruct>(*design());
        noSpan->span = 0;
        QVERIFY(!Relax_Diagram(noSpan.get(), 0.1, 0.1, 0, relax, 1, 400, 240, 11, 3).valid);
        QVERIFY(!Relax_Diagram(nullptr, 0.1, 0.1, 0, relax, 1, 400, 240, 11, 3).valid);
    }
};

QTEST_MAIN(TestBridleLists)
#include "tst_bridlelists.moc"
