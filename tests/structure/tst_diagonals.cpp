// Diagonal tables, the generation of the diagonal list and its flattening.
// The fixture installs the recompute's diagonal step:
// Set_Recompute_Hook(RecomputeHook::Diagonals, Generate_All_Diagonals).

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QVector3D>

#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "tests/structure/structfixture.h"
#include "structure/diagonals.h"

#include <cmath>

using namespace fixture;

namespace {

// A copy of the default design whose two tables describe nothing.
std::unique_ptr<ParaStruct> blankTables()
{
    auto d = copyOfDefault();
    for (int r = 0; r < kStructSlots; ++r) {
        for (DiagonalRow* row : {&d->diagTableD1[r], &d->diagTableD2[r]}) {
            row->rib = r;
            row->heightPercent = 50;
            row->connectNext = false;
        }
    }
    return d;
}

void setRows(DiagonalRow* table, int firstRib, const QList<int>& heights, const QList<int>& connected)
{
    for (int i = 0; i < heights.size(); ++i)
        table[firstRib + i].heightPercent = heights[i];
    for (int r : connected)
        table[r].connectNext = true;
}

} // namespace

class TestDiagonals : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(Recompute_Hook(RecomputeHook::Diagonals) == nullptr);
        QVERIFY(defaultDesign().lastRib == 17);
        QVERIFY(Recompute_Hook(RecomputeHook::Diagonals) == &Generate_All_Diagonals);
    }

    void recomputeBuildsTheDefaultDiagonals()
    {
        const ParaStruct& d = defaultDesign();
        // A V under every loaded rib (1, 3, .. 15): D1 outward from the
        // bottoms of ribs 1, 3, .. 13, D2 inward from the tops of ribs 0,
        // 2, .. 14 (the centre rib takes the inner arm of rib 1); none
        // reaches the last two ribs, so rib 15 has only its inner arm.
        QCOMPARE(d.diagonals.size(), 15);
        for (int k = 0; k < 7; ++k) {
            QCOMPARE(d.diagonals[k].first.rib, 2 * k + 1);
            QCOMPARE(d.diagonals[k].first.heightPercent, 0);
            QCOMPARE(d.diagonals[k].second.rib, 2 * k + 2);
            QCOMPARE(d.diagonals[k].second.heightPercent, 100);
        }
        for (int k = 7; k < 15; ++k) {
            QCOMPARE(d.diagonals[k].first.rib, 2 * (k - 7));
            QCOMPARE(d.diagonals[k].first.heightPercent, 100);
            QCOMPARE(d.diagonals[k].second.rib, 2 * (k - 7) + 1);
            QCOMPARE(d.diagonals[k].second.heightPercent, 0);
        }
        QVERIFY(!d.diagModelPolys.isEmpty());
        QCOMPARE(d.diagModelOutline[3], d.diagModelPoints[5]);
    }

    void partOfTheExample()
    {
        // Heights of ribs 1 .. 6: 0, 50, 0, 100, 100, 0; only rib 1 connects.
        auto d = blankTables();
        setRows(d->diagTableD1, 1, {0, 50, 0, 100, 100, 0}, {1});
        Generate_All_Diagonals(d.get());
        QCOMPARE(d->diagonals.size(), 1);
        const DiagonalData& g = d->diagonals[0];
        QCOMPARE(g.first.rib, 1);
        QCOMPARE(g.first.heightPercent, 0);
        QCOMPARE(g.second.rib, 4);
        QCOMPARE(g.second.heightPercent, 100);
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(g.first.lineIndex[k], d->diagIndexTableA[k][1]);
            QCOMPARE(g.second.lineIndex[k], d->diagRowIndexA[k]);
        }
        // Edge A on the lower surface of rib 1, edge B on the upper surface
        // of rib 4, both from the trailing edge toward the nose, same length.
        const int s0 = 10, s1 = d->noseIndex[1] - 10;
        QCOMPARE(d->diagStartIndexA, s0);
        QCOMPARE(d->diagStartIndexB, s1);
        QCOMPARE(g.edgeLineB.size(), s1 - s0 + 1);
        QCOMPARE(g.edgeLineA.size(), g.edgeLineB.size());
        QCOMPARE(g.edgeLineB.first().index, s0);
        QCOMPARE(g.edgeLineB.last().index, s1);
        QCOMPARE(g.edgeLineB.first().point, d->ribCurves3D[4][s0]);
        const int l0 = g.edgeLineA.first().index;
        QVERIFY(l0 > 900);
        QVERIFY(std::fabs(d->ribAirfoils[1][l0].x() - d->ribAirfoils[1][s0].x()) < 0.01);
        QCOMPARE(g.edgeLineA.last().index, l0 - (s1 - s0));
        QCOMPARE(g.edgeLineA[5].point, d->ribCurves3D[1][l0 - 5]);
        // The flat edges start at the origin and on the x axis.
        QCOMPARE(g.flatEdgeA.first().point, QPointF(0, 0));
        QCOMPARE(g.flatEdgeB.first().point.y(), 0.0);
        QVERIFY(std::fabs(g.flatEdgeB.first().point.x() - Dist3(g.edgeLineA[0].point, g.edgeLineB[0].point)) < 1e-9);
        QCOMPARE(g.flatEdgeA.first().rib, 1);
        QCOMPARE(g.flatEdgeB.first().rib, 4);
        QCOMPARE(g.flatEdgeA.first().allowance, d->ToScreen(0.001 * d->seamAllowance[3]));
    }

    void pairing_data()
    {
        QTest::addColumn<QList<int>>("heights"); // ribs 1..
        QTest::addColumn<QList<int>>("connected");
        QTest::addColumn<QList<int>>("pairs");   // start, end, start, end ...
        QTest::newRow("top start skips its own extreme") << QList<int>{100, 100, 70, 0} << QList<int>{1} << QList<int>{1, 4};
        QTest::newRow("two starts, one partner") << QList<int>{0, 0, 100} << QList<int>{1, 2} << QList<int>{1, 3, 2, 3};
        QTest::newRow("no partner") << QList<int>{0, 0, 50} << QList<int>{1} << QList<int>{};
        QTest::newRow("start at another height") << QList<int>{30, 100} << QList<int>{1} << QList<int>{};
    }
    void pairing()
    {
        QFETCH(QList<int>, heights);
        QFETCH(QList<int>, connected);
        QFETCH(QList<int>, pairs);
        auto d = blankTables();
        setRows(d->diagTableD1, 1, heights, connected);
        Generate_All_Diagonals(d.get());
        QCOMPARE(d->diagonals.size(), pairs.size() / 2);
        for (int k = 0; k < d->diagonals.size(); ++k) {
            QCOMPARE(d->diagonals[k].first.rib, pairs[2 * k]);
            QCOMPARE(d->diagonals[k].second.rib, pairs[2 * k + 1]);
        }
    }

    void lastRibsCarryNoDiagonal()
    {
        auto d = blankTables();
        const int last = d->lastRib; // 17: starts up to 14, partners up to 15
        setRows(d->diagTableD1, last - 2, {0, 100, 100}, {last - 2});
        setRows(d->diagTableD2, last - 3, {0, 50, 50, 100}, {last - 3});
        Generate_All_Diagonals(d.get());
        QVERIFY(d->diagonals.isEmpty());
        d->diagTableD2[last - 2].heightPercent = 100;
        Generate_All_Diagonals(d.get());
        QCOMPARE(d->diagonals.size(), 1);
        QCOMPARE(d->diagonals[0].second.rib, last - 2);
    }

    void tableOneComesFirst()
    {
        auto d = blankTables();
        setRows(d->diagTableD2, 3, {100, 0}, {3});
        setRows(d->diagTableD1, 3, {0, 100}, {3});
        Generate_All_Diagonals(d.get());
        QCOMPARE(d->diagonals.size(), 2);
        QCOMPARE(d->diagonals[0].first.heightPercent, 0);   // D1
        QCOMPARE(d->diagonals[1].first.heightPercent, 100); // D2
        QCOMPARE(d->diagonals[1].first.rib, 3);
        QCOMPARE(d->diagonals[1].second.rib, 4);
        // The top-first record has its top line as edge A.
        QCOMPARE(d->diagonals[1].edgeLineA.first().index, 10);
    }

    void rowsWithoutARibTakeNoPart()
    {
        // Rows the dialog never stored name rib -1; a damaged file may name
        // any number. Such rows neither start nor end a diagonal.
        auto d = blankTables();
        setRows(d->diagTableD1, 1, {0, 100, 0, 100, 0, 100}, {1, 3, 5});
        d->diagTableD1[1].rib = -1;
        d->diagTableD1[4].rib = 70;
        d->diagTableD1[5].rib = 40;
        Generate_All_Diagonals(d.get());
        QCOMPARE(d->diagonals.size(), 1);
        QCOMPARE(d->diagonals[0].first.rib, 3);
        QCOMPARE(d->diagonals[0].second.rib, 6);
        // A new record's tables generate nothing.
        auto fresh = std::make_unique<ParaStruct>();
        QCOMPARE(fresh->diagTableD1[20].rib, -1);
        fresh->ribAirfoils[0] = d->ribAirfoils[0];
        fresh->cells = 34;
        fresh->Reset_CellsNumber();
        Generate_All_Diagonals(fresh.get());
        QVERIFY(fresh->diagonals.isEmpty());
    }

    void withoutAirfoilTheListStays()
    {
        auto d = copyOfDefault();
        const int before = int(d->diagonals.size());
        d->ribAirfoils[0].clear();
        d->diagTableD1[2].connectNext = false;
        Generate_All_Diagonals(d.get());
        QCOMPARE(d->diagonals.size(), before);
    }

    void flatteningKeepsTheEdgeLengths()
    {
        // The flat pattern must sew onto the 3-D ribs: along each edge the
        // flat distance between neighbours is the 3-D one.
        const ParaStruct& d = defaultDesign();
        double worst = 0;
        for (const DiagonalData& g : d.diagonals) {
            QCOMPARE(g.flatEdgeA.size(), g.edgeLineA.size());
            QCOMPARE(g.flatEdgeB.size(), g.edgeLineB.size());
            for (int i = 1; i < g.flatEdgeA.size(); ++i) {
                worst = std::max(worst, std::fabs(Dist2(g.flatEdgeA[i].point, g.flatEdgeA[i - 1].point)
                                                  - Dist3(g.edgeLineA[i].point, g.edgeLineA[i - 1].point)));
                worst = std::max(worst, std::fabs(Dist2(g.flatEdgeB[i].point, g.flatEdgeB[i - 1].point)
                                                  - Dist3(g.edgeLineB[i].point, g.edgeLineB[i - 1].point)));
                QCOMPARE(g.flatEdgeA[i].index, g.edgeLineA[i].index);
            }
        }
        QVERIFY2(worst < 1e-3, qPrintable(QString::number(worst)));
    }

    void flatControlsAreTheControlPoints()
    {
        const ParaStruct& d = defaultDesign();
        const DiagonalData& g = d.diagonals[0];
        QPolygonF expected;
        for (int i = 0; i < g.flatEdgeA.size(); ++i)
            for (const OrigPnt2D* p : {&g.flatEdgeA[i], &g.flatEdgeB[i]})
                if (d.is_Control(p->index, p->rib))
                    expected.append(p->point);
        QVERIFY(expected.size() >= 4);
        QCOMPARE(g.flatControls, expected);
    }

    void lists()
    {
        auto d = copyOfDefault();
        QVERIFY(create_listup(d.get(), 3, 20, 10).isEmpty());
        QVERIFY(create_listdw(d.get(), 3, 10, 20).isEmpty());
        QCOMPARE(create_listup(d.get(), 3, 10, 20).size(), 11);
        QCOMPARE(create_listdw(d.get(), 3, 20, 10).first().index, 20);
        QVERIFY(create_listup(d.get(), -1, 10, 20).isEmpty());
        QCOMPARE(create_listdw(d.get(), 3, 2, -5).size(), 3); // no point before 0
    }

    void indexLookups()
    {
        QList<OrigPnt2D> list;
        for (int i = 100; i < 110; ++i)
            list.append(OrigPnt2D{QPointF(i, 0), i, 0, 1, false});
        int idx[8] = {101, 104, 108, 300, 300, 300, 300, 300};
        QPointF out[8];
        out[3] = QPointF(-1, -1);
        set_index_tpnt(list, idx, out);
        QCOMPARE(out[0], QPointF(102, 0)); // 100, 101, 102 match: the last wins
        QCOMPARE(out[1], QPointF(105, 0));
        QCOMPARE(out[2], QPointF(109, 0));
        QCOMPARE(out[3], QPointF(-1, -1));
        QPointF untouched[8];
        untouched[0] = QPointF(7, 7);
        set_index_tpnt({}, idx, untouched);
        QCOMPARE(untouched[0], QPointF(7, 7));
        QList<OrigPnt3D> space{{QVector3D(1, 2, 3), 104}};
        QVector3D out3[8];
        set_index_3d_tpnt(space, idx, out3);
        QCOMPARE(out3[1], QVector3D(1, 2, 3));
    }

    void bottomWidthTables()
    {
        auto d = copyOfDefault();
        QCOMPARE(d->diagTableRows[0][3], 4);
        d->diagBottomWidth = 80;
        Set_All_DiagBottomWidth(d.get());
        for (int r = d->firstRib; r < d->lastRib; ++r) {
            const double fw = d->rib_glob_factor(r) * d->diagBottomWidth;
            QCOMPARE(d->diagTableRows[2][r], fw < 50 ? 0 : fw < 150 ? 1 : 2);
        }
        QCOMPARE(d->diagTableRows[2][d->lastRib], 4);
        int lower[8], upper[8];
        for (int k = 0; k < 8; ++k) {
            lower[k] = 600 + k;
            upper[k] = 300 - k;
        }
        update_Diagonal_Main(d.get(), lower, upper);
        QCOMPARE(d->diagRowIndexB[5], 605);
        QCOMPARE(d->diagRowIndexA[5], 295);
        QCOMPARE(d->diagIndexTableA[0][2], d->lineIndex[2][2] - int(d->rib_glob_factor(2) * d->diagTableRows[0][2]));
    }
};

QTEST_APPLESS_MAIN(TestDiagonals)
#include "tst_diagonals.moc"
