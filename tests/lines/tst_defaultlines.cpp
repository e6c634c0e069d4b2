// The suspension of the shipped default design (34 cells and its 35-cell
// twin) as File > Open reads it: lines with both ends and realistic lengths,
// loads that add up to the flying weight, a total like a real wing's, an OK
// of the bridle manager that moves nothing; and the project file of a design
// with lines: saved and opened again byte for byte, a damaged line store
// refused with the live design left as it was.

#include <QTest>
#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QObject>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <QStringLiteral>

#include <QBuffer>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

#include "core/transf.h"
#include "lines/loading.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

class TestDefaultLines : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void designs_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("34 cells") << 34;
        QTest::newRow("35 cells") << 35;
    }

    // Every line of the four groups and the brakes has both ends, 0.05 m to
    // 9 m apart; its canopy end lies on its frame cell.
    void linesHaveBothEnds_data() { designs_data(); }
    void linesHaveBothEnds()
    {
        QFETCH(int, cells);
        auto d = defaultDesign(cells);
        QVERIFY(d);
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot) {
            BridleGroup g = d->bridle.groups[slot];
            Rebuild_Group_Lists(&g);
            QVERIFY(g.lines.size() >= 12);
            QCOMPARE(g.attachments.size(), g.lines.size());
            int canopyEnds = 0;
            for (int i = 0; i < g.lines.size(); ++i) {
                const LineProp& l = g.lines[i];
                const double metres = d->R_X(Dist3(l.q1, l.q2));
                QVERIFY2(metres >= 0.05 && metres <= 9.0, qPrintable(QString("%1 %2: %3").arg(slot).arg(i).arg(metres)));
                QVERIFY(!l.q1.isNull() && !l.q2.isNull());
                const origRLS& a = g.attachments[i];
                if (a.attached) {
                    ++canopyEnds;
                    QCOMPARE(a.row, slot == kBrakeGroupSlot ? kBrakeSlot : slot - 1);
                    QCOMPARE(l.q2, d->bridle.frame[a.rib][a.row].pos3D);
                    QCOMPARE(l.p2, d->bridle.frame[a.rib][a.row].pos);
                    QCOMPARE(g.pairs[i].y(), a.node);
                }
            }
            QVERIFY(canopyEnds >= 8);
        }
        // The groups hang from their risers, the brakes from the carabiner.
        for (int k = 1; k <= 4; ++k) {
            BridleGroup g = d->bridle.groups[k];
            Rebuild_Group_Lists(&g);
            const QPoint root = find_root_index(g.pairs);
            QCOMPARE(g.lines[root.y()].q1, RaiserGrupLineRoot(k, d->bridle.riserGroup));
        }
        QCOMPARE(d->bridle.groups[kBrakeGroupSlot].lineArray[0].q1, Carabiner_Point(d.get()));
        // Not stored: the recompute takes the groups' loads from their
        // shares, four groups as they are.
        QCOMPARE(d->lineGroupCount, 4);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(d->lineGroupLoads[k], d->lineGroupShares[k]);
    }

    // Half the flying weight on each main riser; the line groups take it
    // between them; every load a finite number, none negative, none on the brakes.
    void loadsAddUpToTheFlyingWeight_data() { designs_data(); }
    void loadsAddUpToTheFlyingWeight()
    {
        QFETCH(int, cells);
        auto d = defaultDesign(cells);
        QVERIFY(d);
        const BridleGroup& riser = d->bridle.riserGroup;
        const LineProp& main = riser.lineArray[find_root_index(QPolygon(riser.pairArray, riser.pairArray + riser.pairCount)).y()];
        QCOMPARE(2 * main.load, d->totalWeight);
        double groups = 0;
        for (int k = 1; k <= d->lineGroupCount; ++k) {
            const double load = RaiserGrupLineLoad(k, riser);
            QVERIFY(load > 0.1 * d->totalWeight / 2);
            groups += load;
        }
        QVERIFY2(std::fabs(2 * groups - d->totalWeight) < 0.01 * d->totalWeight, qPrintable(QString::number(2 * groups)));
        for (int slot = 0; slot < kLineGroupSlots; ++slot) {
            const BridleGroup& g = d->bridle.groups[slot];
            for (int i = 0; i < g.lineCount; ++i) {
                const double load = g.lineArray[i].load;
                QVERIFY(std::isfinite(load) && load >= 0);
                if (slot == kBrakeGroupSlot)
                    QCOMPARE(load, 0.0);
            }
        }
    }

    // About 250 to 450 m of line for a 25 m2 wing of 34 cells and four rows.
    void totalLikeARealWing_data() { designs_data(); }
    void totalLikeARealWing()
    {
        QFETCH(int, cells);
        auto d = defaultDesign(cells);
        QVERIFY(d);
        QVERIFY(d->flatArea > 24 && d->flatArea < 27);
        QCOMPARE(getTotalBridleLength(*d, false).length, 0.0);   // while the analysis leaves the lines out
        const LineTotals lines = getTotalBridleLength(*d, true);
        QVERIFY2(lines.length > 250 && lines.length < 450, qPrintable(QString::number(lines.length)));
        // Lines of 0.8 to 2.1 mm.
        QVERIFY(lines.area > 0.0008 * lines.length && lines.area < 0.0021 * lines.length);
    }

    // OK in the bridle manager of the unchanged design moves nothing.
    void placementIsSettled_data() { designs_data(); }
    void placementIsSettled()
    {
        QFETCH(int, cells);
        auto d = defaultDesign(cells);
        QVERIFY(d);
        const QByteArray before = bytesOf(*d);
        QCOMPARE(Recalculate_Line_Plan(d.get()), 0);
        QCOMPARE(bytesOf(*d), before);
    }

    // The project file of a design with lines: written and read again it is
    // the same file, byte for byte, also after an edit of the lines.
    void projectRoundTrip()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        QCOMPARE(bytesOf(*d), fileBytes(templatePath(34)));
        d->bridle.groups[2].lineArray[0].length *= 1.1;
        d->bridle.groups[5].lineArray[3].diameter = 0.0012;
        QCOMPARE(Recalculate_Line_Plan(d.get()), 0);
        const QString path = dir.filePath(QStringLiteral("lines.prg"));
        myOpenFile files;
        QVERIFY(files.WriteParaStream(path, *d));
        auto read = std::make_unique<ParaStruct>();
        QVERIFY(files.ReadParaStream(path, read.get()));
        QCOMPARE(bytesOf(*read), fileBytes(path));
        QCOMPARE(bytesOf(*read), bytesOf(*d));
        BridleGroup g = read->bridle.groups[2];
        Rebuild_Group_Lists(&g);
        QCOMPARE(g.lines.size(), d->bridle.groups[2].lineCount);
        QCOMPARE(g.lines[0].q2, d->bridle.groups[2].lineArray[0].q2);
        const QString again = dir.filePath(QStringLiteral("again.prg"));
        QVERIFY(files.WriteParaStream(again, *read));
        QCOMPARE(fileBytes(again), fileBytes(path));
    }

    // A file whose line store cannot be right is refused with the reason;
    // the live design stays as it was.
    void damagedLineStoreRefused_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("reason");
        QTest::newRow("line count beyond the store") << 0 << "line group count";
        QTest::newRow("negative pair count") << 1 << "line group count";
        QTest::newRow("line to a node beyond the store") << 2 << "joins nodes";
        QTest::newRow("attachment beyond the frame") << 3 << "frame slot of a line attachment";
        QTest::newRow("riser count beyond the store") << 4 << "line group count";
    }
    void damagedLineStoreRefused()
    {
        QFETCH(int, which);
        QFETCH(QString, reason);
        auto bad = defaultDesign(34);
        QVERIFY(bad);
        switch (which) {
        case 0: bad->bridle.groups[2].lineCount = kLineEntries + 1; break;
        case 1: bad->bridle.groups[4].pairCount = -2; break;
        case 2: bad->bridle.groups[1].pairArray[3] = QPoint(5, 4000); break;
        case 3: bad->bridle.groups[5].attachArray[0].row = 9; break;
        case 4: bad->bridle.riserGroup.pointCount = 5000; break;
        }
        const QString path = dir.filePath(QStringLiteral("bad.prg"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytesOf(*bad));
        out.close();

        auto live = defaultDesign(34);
        QVERIFY(live);
        const QByteArray before = bytesOf(*live);
        NotifySpy spy;
        myOpenFile files;
        QVERIFY(!files.ReadParaStream(path, live.get()));
        QCOMPARE(files.lastReadStatus(), myOpenFile::Corrupt);
        QVERIFY2(files.lastError().contains(reason), qPrintable(files.lastError()));
        QCOMPARE(spy.texts.size(), 1);
        QVERIFY(spy.texts[0].contains(reason));
        QCOMPARE(bytesOf(*live), before);
    }
};

QTEST_MAIN(TestDefaultLines)
#include "tst_defaultlines.moc"
