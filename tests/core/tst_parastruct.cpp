#include <QTest>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QStringLiteral>
#include <QVector3D>

#include <memory>
#include <utility>

#include "core/parastruct.h"

class TestParaStruct : public QObject
{
    Q_OBJECT
private slots:
    void freshRecordHoldsTheDefaults()
    {
        auto d = std::make_unique<ParaStruct>();
        QCOMPARE(d->version, QStringLiteral("7.0.0.0"));
        QCOMPARE(d->cells, 34);
        QCOMPARE(d->span, 12.0);
        for (int r = 0; r < kLineRows; ++r)
            for (int i = 0; i < kRibSlots; ++i)
                QCOMPARE(d->lineIndex[r][i], 600 + 5 * r);
        const int skin[6] = {1, 101, 401, 901, 1601, 2501};
        for (int k = 0; k < 6; ++k)
            QCOMPARE(d->skinControlIndex[k], skin[k]);
        const double shares[4] = {0.5, 0.3, 0.1, 0.1};
        for (int k = 0; k < 4; ++k)
            QCOMPARE(d->lineGroupShares[k], shares[k]);
        // the constructor does not derive the bookkeeping from the cell count
        QCOMPARE(d->lastRib, 0);
        QVERIFY(d->centreRib);
        QVERIFY(!d->centreCell);
        QCOMPARE(d->leadingEdgeX[1], 100.0);
        QCOMPARE(d->leadingEdgeX[2], 0.0);
        QCOMPARE(d->trailingEdgeX[0], 200.0);
        QCOMPARE(d->diagTableD1[65].rib, -1);
        QCOMPARE(d->diagTableD2[0].rib, 0);
        QCOMPARE(d->rod1.index[1], 600);
        QCOMPARE(d->rod2.index[0], 0);
        QCOMPARE(d->reservedRecords[4].params[0], 45);
        QCOMPARE(d->minirib.rearRibCavity, 0.3);
        QCOMPARE(d->bridle.groups[5].lineArray[1169].diameter, 0.0005);
        QCOMPARE(d->strapWidth[7], 10);
        QCOMPARE(d->strapWidth[8], 0);
    }

    void cellBookkeeping_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("firstRib");
        QTest::addColumn<int>("sideCells");
        QTest::addColumn<int>("lastRib");
        QTest::addColumn<int>("lastCell");
        QTest::newRow("34") << 34 << 0 << 17 << 17 << 16;
        QTest::newRow("35") << 35 << 1 << 17 << 18 << 17;
        QTest::newRow("2") << 2 << 0 << 1 << 1 << 0;
        QTest::newRow("3") << 3 << 1 << 1 << 2 << 1;
        QTest::newRow("120") << 120 << 0 << 60 << 60 << 59;
        QTest::newRow("125") << 125 << 1 << 62 << 63 << 62;
    }

    void cellBookkeeping()
    {
        QFETCH(int, cells);
        auto d = std::make_unique<ParaStruct>();
        for (int i = 0; i < kRibSlots; ++i)
            d->ribShift[i] = 7.0;
        d->cellWidthStep = 40;
        d->cells = cells;
        d->Reset_CellsNumber();
        QTEST(d->firstRib, "firstRib");
        QTEST(d->sideCells, "sideCells");
        QTEST(d->lastRib, "lastRib");
        QTEST(d->lastCell, "lastCell");
        QCOMPARE(d->centreCell, d->firstRib == 1);
        QCOMPARE(d->centreRib, d->firstRib == 0);
        QCOMPARE(d->cellWidthStep, 0);
        for (int i = 0; i < kRibSlots; ++i)
            QCOMPARE(d->ribShift[i], 0.0);
    }

    void accessorsReturnOneRecord()
    {
        QCOMPARE(GetDataStruct(), GetDataStruct());
        QCOMPARE(GetGlobClass(), GetGlobClass());
        GlobClass* g = GetGlobClass();
        QVERIFY(g->prgPath.isEmpty() && g->dxfDir.isEmpty());
        QVERIFY(!g->termsAccepted);
    }

    void copyAndBackLeavesTheRecordUnchanged()
    {
        auto live = std::make_unique<ParaStruct>();
        live->designAirfoils[2] = QPolygonF({QPointF(1, 0), QPointF(0, 0.1)});
        live->bridle.groups[3].lines.append(LineProp());
        live->bridle.groups[3].lineArray[17].load = 12.5;
        live->flatGrid[8][64][999] = QVector3D(1, 2, 3);
        live->diagonals.append(DiagonalData());
        auto backup = std::make_unique<ParaStruct>();
        *backup = *live;
        live->flatGrid[8][64][999] = QVector3D(4, 5, 6);
        live->designAirfoils[2].append(QPointF(9, 9));
        *live = *backup;
        QCOMPARE(live->flatGrid[8][64][999], QVector3D(1, 2, 3));
        QCOMPARE(live->designAirfoils[2].size(), 2);
        QCOMPARE(live->bridle.groups[3].lines.size(), 1);
        QCOMPARE(live->bridle.groups[3].lineArray[17].load, 12.5);
        QCOMPARE(live->diagonals.size(), 1);
    }

    // The tables the recompute derives are shared by copies of the record
    // until one side writes: the writer gets a table of its own, the other
    // keeps what it had; a table never written reads as zeros.
    void derivedTablesAreSharedUntilWritten()
    {
        auto live = std::make_unique<ParaStruct>();
        const ParaStruct& seen = *live;
        QCOMPARE(seen.inflatedGrid[4][20][500], QVector3D(0, 0, 0));
        QCOMPARE(seen.airfoilArcLen[999][65], 0.0);

        live->inflatedGrid[4][20][500] = QVector3D(1, 2, 3);
        live->clothHalfOversize[3][7] = 2.5;
        auto backup = std::make_unique<ParaStruct>(*live);
        QVERIFY(backup->inflatedGrid.sharedWith(live->inflatedGrid));

        // The live design recomputed: the backup still holds the old tables.
        live->inflatedGrid[4][20][500] = QVector3D(4, 5, 6);
        live->clothHalfOversize[3][7] = 3.0;
        QVERIFY(!backup->inflatedGrid.sharedWith(live->inflatedGrid));
        QCOMPARE(std::as_const(*backup).inflatedGrid[4][20][500], QVector3D(1, 2, 3));
        QCOMPARE(std::as_const(*backup).clothHalfOversize[3][7], 2.5);

        // Written back: the tables as they were, shared again.
        *live = *backup;
        QVERIFY(live->inflatedGrid.sharedWith(backup->inflatedGrid));
        QCOMPARE(seen.inflatedGrid[4][20][500], QVector3D(1, 2, 3));
        QCOMPARE(seen.clothHalfOversize[3][7], 2.5);

        // A write through the copy leaves the original alone too.
        backup->clothHalfOversize[3][7] = -1.0;
        QCOMPARE(seen.clothHalfOversize[3][7], 2.5);

        live->inflatedGrid.clear();
        QCOMPARE(seen.inflatedGrid[4][20][500], QVector3D(0, 0, 0));
        QCOMPARE(std::as_const(*backup).inflatedGrid[4][20][500], QVector3D(1, 2, 3));
    }

    void setOffsetConvertsMillimetresToPlanUnits()
    {
        GetDataStruct()->span = 10.0;
        Triang t;
        t.offsetMm = 10;
        t.set_offset();
        QCOMPARE(t.offset, 2.0);
        Trap p;
        p.offsetMm = 5;
        p.set_offset();
        QCOMPARE(p.offset, 1.0);
        QCOMPARE(p.corner[3], QPointF(0, 0));
        QVERIFY(p.outline.isEmpty());
        GetDataStruct()->span = 12.0;
    }
};

QTEST_APPLESS_MAIN(TestParaStruct)
#include "tst_parastruct.moc"
