// Rib airfoils, foil pairs, nose/top/bottom indexes, line attachment indexes
// and the order of the recompute steps.

#include "tests/core/designfixture.h"
#include "tests/common/scripteduser.h"

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

#include <cmath>

namespace {

// Collects what the core tells the user while it lives.
using NotifySpy = ScriptedUser;

QStringList g_calls;

void spyDiagonals(ParaStruct*) { g_calls.append(QStringLiteral("run Generate_All_Diagonals")); }
void spyLinePlan(ParaStruct*) { g_calls.append(QStringLiteral("run Place_Line_Plan")); }

QPolygonF scaledY(const QPolygonF& p, double f)
{
    QPolygonF q;
    for (const QPointF& pt : p)
        q.append(QPointF(pt.x(), f * pt.y()));
    return q;
}

void setTransitionRibs(ParaStruct* d, int t1, int t2)
{
    d->transitionRib1 = t1;
    d->transitionRib2 = t2;
}

} // namespace

class TestRibAirfoils : public QObject
{
    Q_OBJECT

private slots:
    void noseTopAndBottom_data()
    {
        QTest::addColumn<int>("nose");
        QTest::addColumn<int>("expectedNose");
        QTest::newRow("nose at 500") << 500 << 500;
        QTest::newRow("nose at 520") << 520 << 520;
        QTest::newRow("nose at 250") << 250 << 300;   // the search starts at 300
    }

    void noseTopAndBottom()
    {
        QFETCH(int, nose);
        QFETCH(int, expectedNose);
        auto d = std::make_unique<ParaStruct>();
        d->designAirfoils[0] = fixture::standardAirfoil(0.15, 0.02);
        d->ribAirfoils[4] = fixture::standardAirfoil(0.15, 0.02, nose);
        d->FindNoseTopIndex(4);
        const QPolygonF& f = d->ribAirfoils[4];
        QCOMPARE(d->noseIndex[4], expectedNose);
        int top = 0, bottom = expectedNose;
        for (int i = 0; i < expectedNose; ++i)
            if (f[i].y() > f[top].y())
                top = i;
        for (int i = expectedNose; i < 1000; ++i)
            if (f[i].y() < f[bottom].y())
                bottom = i;
        QCOMPARE(d->topIndex[4], top);
        QCOMPARE(d->bottomIndex[4], bottom);
    }

    void foilPairsPairOppositePoints()
    {
        auto d = std::make_unique<ParaStruct>();
        d->designAirfoils[0] = fixture::standardAirfoil(0.15, 0.02);
        d->ribAirfoils[2] = fixture::standardAirfoil(0.16, 0.03, 510);
        d->FindNoseTopIndex(2);
        const QPolygonF& f = d->ribAirfoils[2];
        const int n = d->noseIndex[2];
        const QList<Par12>& pairs = d->foilPairs[2];
        QCOMPARE(n, 510);
        QCOMPARE(pairs.size(), 1000);
        QCOMPARE(pairs[0].up, 0);
        QCOMPARE(pairs[0].low, 1000);
        QCOMPARE(pairs[0].thickness, 0.0);
        QCOMPARE(pairs[n].up, n);
        QCOMPARE(pairs[n].low, n);
        for (int i = 1; i < 1000; ++i) {
            const Par12& p = pairs[i];
            QCOMPARE(i < n ? p.up : p.low, i);
            QCOMPARE(p.thickness, std::fabs(f[p.up].y() - f[p.low].y()));
        }
        // An upper point pairs with the lower point just ahead of it, and a
        // lower point with the upper point just behind it.
        for (int k : {40, 250, 480}) {
            const int j = pairs[k].low;
            QVERIFY(f[j].x() < f[k].x() && f[k].x() <= f[j + 1].x());
        }
        for (int m : {530, 700, 990}) {
            const int k = pairs[m].up;
            QVERIFY(f[k].x() > f[m].x() && f[k + 1].x() <= f[m].x());
        }
    }

    // A point's partner is the point before the first one, walking away from
    // the nose on the other side, that reaches its x - also where x runs
    // back and forth (a wavy or roughly digitised airfoil) or stands still.
    void foilPairsOnUnevenAirfoils_data()
    {
        QTest::addColumn<double>("wave");   // amplitude of a ripple in x
        QTest::addColumn<int>("flatFrom");  // points from here on share their x in runs of 7
        QTest::newRow("smooth") << 0.0 << 1000;
        QTest::newRow("rippled") << 0.004 << 1000;
        QTest::newRow("steps in x") << 0.0 << 0;
        QTest::newRow("rippled steps") << 0.002 << 300;
    }

    void foilPairsOnUnevenAirfoils()
    {
        QFETCH(double, wave);
        QFETCH(int, flatFrom);
        auto d = std::make_unique<ParaStruct>();
        d->designAirfoils[0] = fixture::standardAirfoil(0.15, 0.02);
        QPolygonF f = fixture::standardAirfoil(0.16, 0.03, 490);
        for (int i = 1; i + 1 < f.size(); ++i) {
            QPointF& p = f[i];
            p.setX(p.x() + wave * std::sin(i * 0.9));
            if (i >= flatFrom)
                p.setX(f[i - i % 7].x());
        }
        d->ribAirfoils[2] = f;
        d->FindNoseTopIndex(2);
        const int n = d->noseIndex[2];
        const QList<Par12>& pairs = d->foilPairs[2];
        QCOMPARE(pairs.size(), 1000);
        for (int k = 1; k < n; ++k) {
            int low = 0;
            if (f[k].x() > f[n + 1].x()) {
                low = n + 1;
                while (low + 1 < 1000 && f[k].x() > f[low + 1].x())
                    ++low;
            }
            QCOMPARE(pairs[k].up, k);
            QCOMPARE(pairs[k].low, low);
        }
        for (int m = n + 1; m < 1000; ++m) {
            int up = 0;
            if (f[0].x() > f[m].x()) {
                while (up < n - 1 && f[up + 1].x() > f[m].x())
                    ++up;
            }
            QCOMPARE(pairs[m].low, m);
            QCOMPARE(pairs[m].up, up);
            QCOMPARE(pairs[m].up, d->Find_i1up_index(2, m));
        }
    }

    // Ribs inboard of the first transition rib share slot 0's indexes, the
    // others those of the transition rib.
    void indexesAreSharedAroundTheTransitionRib()
    {
        auto d = fixture::makeWing(34, false);
        d->designAirfoils[0] = fixture::standardAirfoil(0.17, 0.03, 510);
        d->designAirfoils[1] = fixture::standardAirfoil(0.16, 0.02, 490);
        setTransitionRibs(d.get(), 5, 9);
        Refresh_Calculations(d.get());
        for (int i = 0; i <= d->lastRib; ++i) {
            QCOMPARE(d->noseIndex[i], i < 5 ? 510 : 490);
            const int from = i < 5 ? 0 : 5;
            QCOMPARE(d->topIndex[i], d->topIndex[from]);
            QCOMPARE(d->bottomIndex[i], d->bottomIndex[from]);
            QCOMPARE(d->foilPairs[i].size(), 1000);
            QCOMPARE(d->foilPairs[i][300].low, d->foilPairs[from][300].low);
        }
        // upControlIndex: the upper points opposite rib 1's attachments.
        for (int r = 0; r < 7; ++r)
            QCOMPARE(d->upControlIndex[r], d->foilPairs[1][d->lineIndex[r][1]].up);
    }

    void ribAirfoilsBlendTheDesignAirfoils_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("34") << 34;
        QTest::newRow("35") << 35;
    }

    void ribAirfoilsBlendTheDesignAirfoils()
    {
        QFETCH(int, cells);
        auto d = fixture::makeWing(cells);
        const int t1 = d->transitionRib1, t2 = d->transitionRib2;
        const QPolygonF* A = d->designAirfoils;
        QVERIFY(d->firstRib < t1 && t1 < t2 && t2 < d->lastRib);
        QCOMPARE(d->ribAirfoils[d->firstRib], A[0]);
        QCOMPARE(d->ribAirfoils[t1], A[1]);
        QCOMPARE(d->ribAirfoils[t2], A[2]);
        QCOMPARE(d->ribAirfoils[d->lastRib - 1], A[3]);
        QCOMPARE(d->ribAirfoils[d->lastRib], scaledY(A[3], 0.7));
        // With a centre cell, slot 0 carries the first position's airfoil.
        QCOMPARE(d->ribAirfoils[0], A[0]);

        const int mid = (d->firstRib + t1) / 2 + 1;
        QVERIFY(mid > d->firstRib && mid < t1);
        const double w = (d->ribSpanPos[mid] - d->ribSpanPos[d->firstRib])
                         / (d->ribSpanPos[t1] - d->ribSpanPos[d->firstRib]);
        const QPolygonF& r = d->ribAirfoils[mid];
        QCOMPARE(r.size(), 1000);
        for (int i = 0; i < 1000; i += 37) {
            QVERIFY(std::fabs(r[i].x() - ((1 - w) * A[0][i].x() + w * A[1][i].x())) < 1e-12);
            QVERIFY(std::fabs(r[i].y() - ((1 - w) * A[0][i].y() + w * A[1][i].y())) < 1e-12);
        }
    }

    // With a centre cell the airfoil of slot 0 follows the design airfoils,
    // and so do the indexes the inner ribs share with it.
    void centreCellSlotFollowsNewAirfoils()
    {
        auto d = fixture::makeWing(35);
        QCOMPARE(d->noseIndex[0], 500);
        d->designAirfoils[0] = fixture::standardAirfoil(0.18, 0.03, 515);
        Refresh_Calculations(d.get());
        QCOMPARE(d->ribAirfoils[0], d->designAirfoils[0]);
        for (int i = 0; i < d->transitionRib1; ++i)
            QCOMPARE(d->noseIndex[i], 515);

        // A file whose slot 0 is empty still computes.
        auto e = fixture::makeWing(35, false);
        Refresh_Calculations(e.get());
        QVERIFY(!e->ribAirfoils[0].isEmpty());
        Refresh_Calculations(e.get());
        QVERIFY(std::fabs(e->ribSpanPos[e->lastRib] - 1000.0) < 1e-9);
    }

    // Without a first design airfoil the pair lists cannot be built; the user
    // hears about it once, not once per airfoil point.
    void missingDesignAirfoilIsReportedOnce()
    {
        auto d = fixture::makeWing(34);
        d->designAirfoils[0] = QPolygonF();
        d->positionAirfoilIndex[0] = 1;
        NotifySpy spy;
        Refresh_Calculations(d.get());
        QCOMPARE(spy.texts, QStringList{QStringLiteral("Airfoil not present yet - IMPORT first")});
        QCOMPARE(d->foilPairs[3].size(), 1000);
        QCOMPARE(d->foilPairs[3][700].up, 0);

        spy.texts.clear();
        d->Make_ParList12(3);
        QCOMPARE(spy.texts.size(), 1);
        spy.texts.clear();
        QCOMPARE(d->Find_i1up_index(3, 700), 0);
        QCOMPARE(spy.texts.size(), 1);
    }

    void transitionRibsFromTheCellCount_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("t1");
        QTest::addColumn<int>("t2");
        QTest::newRow("34") << 34 << 13 << 14;
        QTest::newRow("35") << 35 << 14 << 15;
        QTest::newRow("120") << 120 << 56 << 57;
        QTest::newRow("10") << 10 << 1 << 2;
        QTest::newRow("8") << 8 << 1 << 2;     // lastRib - 4 would be the centre rib
        QTest::newRow("7") << 7 << 2 << 3;
        QTest::newRow("6") << 6 << 1 << 2;
        QTest::newRow("5") << 5 << 1 << 1;
        QTest::newRow("3") << 3 << 1 << 1;
        QTest::newRow("2") << 2 << 0 << 0;
    }

    void transitionRibsFromTheCellCount()
    {
        QFETCH(int, cells);
        auto d = std::make_unique<ParaStruct>();
        d->cells = cells;
        d->Reset_CellsNumber();
        d->Setup_TransitionRibs();
        QTEST(d->transitionRib1, "t1");
        QTEST(d->transitionRib2, "t2");
    }

    // Small wings and transition ribs anywhere in the spin boxes' range run
    // the whole pipeline inside the tables.
    void smallWingsAndTransitionLimits_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("t1");
        QTest::addColumn<int>("t2");
        for (int cells = 2; cells <= 7; ++cells) {
            const int setup = cells / 2 + cells % 2 - 4;   // what lastRib - 4 gives
            QTest::newRow(qPrintable(QString("%1 cells, 0/1").arg(cells))) << cells << 0 << 1;
            QTest::newRow(qPrintable(QString("%1 cells, 120/120").arg(cells))) << cells << 120 << 120;
            QTest::newRow(qPrintable(QString("%1 cells, %2/%3").arg(cells).arg(setup).arg(setup + 1)))
                << cells << setup << setup + 1;
        }
        QTest::newRow("34 cells, 120/1") << 34 << 120 << 1;
        QTest::newRow("34 cells, -5/65") << 34 << -5 << 65;
    }

    void smallWingsAndTransitionLimits()
    {
        QFETCH(int, cells);
        QFETCH(int, t1);
        QFETCH(int, t2);
        auto d = fixture::makeWing(cells, false);
        setTransitionRibs(d.get(), t1, t2);
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());
        d->Reset_Dyn_LineInd();
        Refresh_Calculations(d.get());
        for (int i = 0; i <= d->lastRib; ++i) {
            QCOMPARE(d->ribAirfoils[i].size(), 1000);
            QVERIFY(d->noseIndex[i] >= 300 && d->noseIndex[i] < 600);
            QCOMPARE(d->foilPairs[i].size(), 1000);
            QVERIFY(d->ribSpanPos[i] >= 0 && d->ribSpanPos[i] <= 1000.0 + 1e-9);
            for (int r = 0; r < kLineRows; ++r)
                QVERIFY(d->resLineIndex[r][i] > d->noseIndex[i] && d->resLineIndex[r][i] <= 999);
        }
        QVERIFY(d->flatArea > 0);
    }

    void rowAtAChordPercentage()
    {
        auto d = fixture::makeWing(34);
        d->rowPercent[3] = 25;
        d->Ribs_VirtualLineInd();
        for (int i : {0, 7, d->lastRib}) {
            const QPolygonF& f = d->ribAirfoils[i];
            QCOMPARE(f[0].x(), 1.0);
            const int j = d->dynLineIndex[3][i];
            QVERIFY2(j > d->noseIndex[i] && f[j].x() < 0.25 && f[j + 1].x() >= 0.25, qPrintable(QString::number(j)));
            QCOMPARE(d->teLineIndex[i], 999);
        }
        d->Reset_Dyn_LineInd();
        QCOMPARE(d->lineIndex[3][7], d->dynLineIndex[3][7]);
    }

    void wingFlexMovesRowsTowardTheTrailingEdge()
    {
        auto d = fixture::makeWing(34);
        d->rowCentreIndex[0] = 520;
        d->rowCentreIndex[7] = 940;
        const int n = d->lastRib;
        QCOMPARE(d->f_delta_line_index(0), 0.0);
        QVERIFY(std::fabs(d->f_delta_line_index(n) - 0.3 * 420) < 1e-12);

        d->dynLineIndex[2][3] = 400;   // below the nose: lifted to nose + 1
        d->CalculateResLines();
        for (int i = 0; i <= n + 1; ++i)
            QCOMPARE(d->resLineIndex[4][i], double(std::max(d->dynLineIndex[4][i], d->noseIndex[i] + 1)));
        QCOMPARE(d->resLineIndex[2][3], double(d->noseIndex[3] + 1));

        d->wingFlexPercent[4] = 100;
        d->CalculateResLines();
        const double expected = d->dynLineIndex[4][n] + 0.3 * 420;
        QVERIFY(std::fabs(d->resLineIndex[4][n] - std::min(expected, 999.0)) < 1e-9);
        d->Create_WingFlexLines(4);
        QCOMPARE(d->lineIndex[4][n], int(std::min(expected, 999.0)));
        QCOMPARE(d->resLineIndex[4][n], double(d->lineIndex[4][n]));
    }

    void shortRibAirfoilsAreRepaired()
    {
        auto d = fixture::makeWing(34);
        QPolygonF shortFoil;
        for (int i = 0; i < 1000; i += 2)
            shortFoil.append(d->ribAirfoils[3][i]);
        d->ribAirfoils[3] = shortFoil;
        d->ribAirfoils[6] = QPolygonF();
        NotifySpy spy;
        d->Repair_Airfoils();
        QCOMPARE(spy.texts.size(), 1);
        QVERIFY(spy.texts[0].startsWith(QStringLiteral("warning-airfoil rib:3- has < 1000 points: 500")));
        QCOMPARE(d->ribAirfoils[3].size(), 1000);
        QCOMPARE(d->ribAirfoils[3][0], QPointF(1, 0));
        QVERIFY(d->ribAirfoils[6].isEmpty());
    }

    void editorPointsOnTheAirfoil()
    {
        auto d = fixture::makeWing(34);
        const QPolygonF f = d->ribAirfoils[0];
        int index = 0;
        const QPointF lower = d->NearPoint(QPointF(40 + 560 * 0.3, 0), 'D', f, &index);
        QVERIFY(index > 500 && f[index].x() <= 0.3 && 0.3 <= f[index + 1].x());
        QCOMPARE(lower, QPointF(40 + 560 * 0.3, -560 * f[index].y()));
        const int upper = d->Find_PntIndex(QPointF(40 + 560 * 0.3, 0), 'U', f);
        QVERIFY(upper < 500 && f[upper + 1].x() <= 0.3 && 0.3 <= f[upper].x());

        d->teLineIndex[4] = 0;
        QCOMPARE(d->NearPoint(QPointF(40 + 560 * 1.5, 0), 'D', f, &index), QPointF(0, 0));
        QCOMPARE(index, -1);
        QCOMPARE(d->teLineIndex[4], 999);
        QCOMPARE(d->Find_PntIndex(QPointF(300, 0), 'D', QPolygonF()), -1);

        // Row markers placed at chord percentages give those percentages back.
        for (int r = 0; r < kLineRows; ++r) {
            const double x = (r + 1) * 0.1;
            d->rowMarkers[r] = QPointF(40 + 560 * x, 0);
        }
        d->Setup_LineIndProc();
        for (int r = 0; r < kLineRows; ++r) {
            QVERIFY(std::fabs(d->rowPercent[r] - (r + 1) * 10) < 1e-9);
            QCOMPARE(d->rowCentreIndex[r], d->Find_PntIndex(d->rowMarkers[r], 'D', f));
        }
    }

    void controlsAndLinePoints()
    {
        auto d = fixture::makeWing(34);
        const int rib = 4;
        QVERIFY(d->is_Control(d->noseIndex[rib], rib));
        QVERIFY(d->is_Control(d->lineIndex[2][rib], rib));
        QVERIFY(d->is_UpDwControl(d->upControlIndex[3], rib));
        QVERIFY(!d->is_UpDwControl(-1, rib));
        QVERIFY(!d->is_diag_ctnr(3, 4));
        QVERIFY(d->isLoadedRib(rib));

        d->ribCurves3D[rib][10] = QVector3D(0, 0, 0);
        d->ribCurves3D[rib][11] = QVector3D(4, 8, -4);
        d->resLineIndex[2][rib] = 10.25;
        QCOMPARE(d->fine_point(rib, 2), QVector3D(1, 2, -1));
        d->resLineIndex[2][rib] = 999;
        QCOMPARE(d->fine_point(rib, 2), QVector3D(0, 0, 0));

        // A strap of 1 m centred on P between two points 2000 plan units
        // apart (10 m span: 1 unit = 5 mm): 100 units either side.
        const QList<QVector3D> list{QVector3D(0, -1000, 0), QVector3D(0, 1000, 0)};
        QVector3D out[2];
        d->f_finePnt3(list, QVector3D(0, 0, 0), 1.0, 0, 1, out);
        QVERIFY(std::fabs(out[0].y() + 100) < 1e-3 && std::fabs(out[1].y() - 100) < 1e-3);
    }

    void airfoilArcLengths()
    {
        auto d = fixture::makeWing(35);
        for (int rib : {d->firstRib, 9, d->lastRib}) {
            const QPolygonF& f = d->ribAirfoils[rib];
            double sum = 0;
            QCOMPARE(d->airfoilArcLen[0][rib], 0.0);
            for (int j = 1; j < 1000; ++j) {
                sum += std::hypot(f[j].x() - f[j - 1].x(), f[j].y() - f[j - 1].y());
                QVERIFY(std::fabs(d->airfoilArcLen[j][rib] - d->chord[rib] * sum) < 1e-9 * d->chord[rib]);
            }
        }
    }

    // The recompute runs its fifteen steps in a fixed order; the hooked
    // steps run where they are named.
    void stepsRunInOrder()
    {
        g_calls.clear();
        QStringList names;
        const RecomputeTrace previousTrace = Set_Recompute_Trace([&names](const char* step) {
            names.append(QString::fromLatin1(step));
            g_calls.append(QString::fromLatin1(step));
        });
        auto d = fixture::makeWing(34, false);
        const RecomputeStep previous[2] = {
            Set_Recompute_Hook(RecomputeHook::Diagonals, spyDiagonals),
            Set_Recompute_Hook(RecomputeHook::LinePlan, spyLinePlan),
        };
        Refresh_Calculations(d.get());

        const QStringList expected{
            "WingTipGeometrySetup", "Ribs_VirtualLineInd", "CalculateResLines", "Create_FoilPairList",
            "Calculate_meta_Center", "Calculate_Areas_Aspects", "Setup_Wing_Airfoils", "Create_Space_Canopy",
            "Space_Canopy_Flat", "Space_Canopy_Inflated", "Generate_All_Diagonals", "Refresh_Cross_Port_Offsets",
            "SetPUPDW", "Fill_Airfoil_Arclen", "Place_Line_Plan"};
        QCOMPARE(names, expected);
        for (const char* hooked : {"Generate_All_Diagonals", "Place_Line_Plan"}) {
            const int at = g_calls.indexOf(QString::fromLatin1(hooked));
            QCOMPARE(g_calls.value(at + 1), QStringLiteral("run ") + hooked);
        }

        QVERIFY(Recompute_Hook(RecomputeHook::Diagonals) == &spyDiagonals);
        Set_Recompute_Hook(RecomputeHook::Diagonals, previous[0]);
        Set_Recompute_Hook(RecomputeHook::LinePlan, previous[1]);
        Set_Recompute_Trace(previousTrace);
        g_calls.clear();
        Refresh_Calculations(d.get());
        QVERIFY(g_calls.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestRibAirfoils)
#include "tst_ribairfoils.moc"
