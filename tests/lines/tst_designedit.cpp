// An edit applied to the shipped design, and the change of its cell count.
//
// The oracles are the geometry and the record's own meaning, not the code
// that applies the edit: a line that ends on the canopy ends at the
// attachment point of its rib and row on the wing as it now is; a wing of n
// cells has n + 1 ribs across its span (the centre rib of an even count
// counted once), the outermost at the half span; the rib airfoils are
// current when a further recompute leaves them as they are; a view that
// built from the old revision sees a number it has never seen.

#include <QTest>
#include <QBuffer>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/openfile.h"
#include "core/transf.h"
#include "shell/model/installhooks.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

namespace {

// Why a line of group `slot` that ends on the canopy does not end at its
// attachment point on the wing as it is; empty when every one does.
QString offTheWing(const ParaStruct* d, int slot)
{
    BridleGroup g = d->bridle.groups[slot];
    Rebuild_Group_Lists(&g);
    const int frameNodes = f_start_id(d);
    int onCanopy = 0;
    for (int i = 0; i < g.lines.size(); ++i) {
        if (g.pairs[i].y() >= frameNodes)
            continue;
        const origRLS& a = g.attachments[i];
        QVector3D on = Row_Attachment_Point(d, Frame_Slot_Row(a.row), a.rib);
        if (a.side == 1)
            on = p_SymY(on);
        if ((g.lines[i].q2 - on).length() > 1e-3f)
            return QString("group %1 line %2 ends %3 units from its attachment on rib %4")
                .arg(slot).arg(i).arg((g.lines[i].q2 - on).length()).arg(a.rib);
        ++onCanopy;
    }
    return onCanopy > 0 ? QString() : QString("group %1 has no line on the canopy").arg(slot);
}

// The stored lines of a group: both ends and the load of each.
QByteArray groupBytes(const BridleGroup& g)
{
    QByteArray out = QByteArray::number(g.lineCount) + ':';
    for (int i = 0; i < g.lineCount && i < kLineEntries; ++i) {
        const LineProp& l = g.lineArray[i];
        for (float v : {l.q1.x(), l.q1.y(), l.q1.z(), l.q2.x(), l.q2.y(), l.q2.z()})
            out += QByteArray::number(double(v), 'g', 9) + ',';
        out += QByteArray::number(l.load, 'g', 17) + ';';
    }
    return out;
}

// Rib positions across the whole span, measured from the wing's middle, the
// centre rib of an even count once; the centre of an odd count's middle cell
// (slot 0) is no rib.
QList<double> ribsAcrossTheSpan(const ParaStruct* d)
{
    const double middle = d->ribSpanPos[0];
    QList<double> out;
    for (int i = 1; i <= d->lastRib; ++i) {
        const double x = d->ribSpanPos[i] - middle;
        out.append(x);
        out.append(-x);
    }
    if (d->cells % 2 == 0)
        out.append(0.0);
    std::sort(out.begin(), out.end());
    return out;
}


// What a recompute derives, table by table: the named tables that differ
// between two designs (empty when none does).
QStringList derivedDifferences(const ParaStruct& a, const ParaStruct& b)
{
    QStringList out;
    auto bytes = [](const auto& table) {
        return QByteArray(reinterpret_cast<const char*>(&table), qsizetype(sizeof(table)));
    };
    auto compare = [&out](const char* name, const QByteArray& x, const QByteArray& y) {
        if (x != y)
            out << name;
    };
    compare("project file", linesfixture::bytesOf(a), linesfixture::bytesOf(b));
    compare("airfoilArcLen", bytes(a.airfoilArcLen.values()), bytes(b.airfoilArcLen.values()));
    compare("ribCurves3D", bytes(a.ribCurves3D.values()), bytes(b.ribCurves3D.values()));
    compare("flatGrid", bytes(a.flatGrid.values()), bytes(b.flatGrid.values()));
    compare("inflatedGrid", bytes(a.inflatedGrid.values()), bytes(b.inflatedGrid.values()));
    compare("meshGrid", bytes(a.meshGrid.values()), bytes(b.meshGrid.values()));
    compare("patternOversize", bytes(a.patternOversize.values()), bytes(b.patternOversize.values()));
    compare("clothHalfOversize", bytes(a.clothHalfOversize.values()), bytes(b.clothHalfOversize.values()));
    compare("noseIndex", bytes(a.noseIndex), bytes(b.noseIndex));
    compare("topIndex", bytes(a.topIndex), bytes(b.topIndex));
    compare("bottomIndex", bytes(a.bottomIndex), bytes(b.bottomIndex));
    compare("dynLineIndex", bytes(a.dynLineIndex), bytes(b.dynLineIndex));
    compare("resLineIndex", bytes(a.resLineIndex), bytes(b.resLineIndex));
    compare("upControlIndex", bytes(a.upControlIndex), bytes(b.upControlIndex));
    compare("billowReduction", bytes(a.billowReduction), bytes(b.billowReduction));
    compare("outline figures",
            bytes(std::array<double, 7>{a.meanChord, a.flatArea, a.flatAspectRatio, a.projectedArea,
                                        a.projectedAspectRatio, a.metaCentre, a.frontArcLength}),
            bytes(std::array<double, 7>{b.meanChord, b.flatArea, b.flatAspectRatio, b.projectedArea,
                                        b.projectedAspectRatio, b.metaCentre, b.frontArcLength}));
    compare("teLineIndex", bytes(a.teLineIndex), bytes(b.teLineIndex));
    compare("relaxFactors", bytes(a.relaxFactors), bytes(b.relaxFactors));
    compare("ribTailPoints", bytes(a.ribTailPoints), bytes(b.ribTailPoints));
    bool sameRisers = true;
    for (int k = 0; k < 5; ++k)
        sameRisers = sameRisers && a.riserHashes[k] == b.riserHashes[k];
    if (!sameRisers)
        out << "riserHashes";
    bool sameDiagonals = a.diagonals.size() == b.diagonals.size();
    for (int k = 0; sameDiagonals && k < a.diagonals.size(); ++k) {
        const DiagonalData& x = a.diagonals[k];
        const DiagonalData& y = b.diagonals[k];
        sameDiagonals = x.first.rib == y.first.rib && x.second.rib == y.second.rib
                        && x.first.heightPercent == y.first.heightPercent
                        && x.second.heightPercent == y.second.heightPercent && x.spaceOutline == y.spaceOutline
                        && x.bottomRange3D == y.bottomRange3D && x.topRange3D == y.topRange3D
                        && x.flatOutline == y.flatOutline;
    }
    if (!sameDiagonals)
        out << "diagonals";
    for (int r = 0; r < kAirfoilSlots; ++r) {
        if (a.foilPairs[r].size() != b.foilPairs[r].size()
            || !std::equal(a.foilPairs[r].begin(), a.foilPairs[r].end(), b.foilPairs[r].begin(),
                           [](const Par12& x, const Par12& y) {
                               return x.up == y.up && x.low == y.low && x.thickness == y.thickness;
                           })) {
            out << QString("foilPairs[%1]").arg(r);
            break;
        }
    }
    return out;
}
} // namespace

class TestDesignEdit : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> shipped;
    std::unique_ptr<ParaStruct> design;
    QStringList steps;

    int recomputes() const { return int(steps.count("WingTipGeometrySetup")); }

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        shipped = defaultDesign(34);
        QVERIFY(shipped);
        QVERIFY(linesfixture::bytesOf(*shipped).size() > 0);
        Set_Recompute_Trace([this](const char* step) { steps << step; });
    }

    void cleanupTestCase() { Set_Recompute_Trace({}); }

    void init()
    {
        design = std::make_unique<ParaStruct>(*shipped);
        design->geometryChanged = false;
        design->linesOutdated = false;
        steps.clear();
    }

    // The hang height raised by a metre, then the edit applied as each kind.
    // Where the recompute runs, every line that ends on the canopy ends on
    // the wing as it now is and the views see a revision new to them; where
    // it does not, the lines are left exactly as they were.
    void applyEdit_data()
    {
        QTest::addColumn<int>("what");
        QTest::addColumn<bool>("recompute");
        QTest::addColumn<bool>("newRevision");
        QTest::addColumn<bool>("risers");
        QTest::newRow("wing") << int(DesignEdit::Wing) << true << true << true;
        QTest::newRow("parts") << int(DesignEdit::Parts) << true << true << false;
        QTest::newRow("lines") << int(DesignEdit::Lines) << false << true << true;
        QTest::newRow("marks") << int(DesignEdit::Marks) << false << true << false;
        QTest::newRow("nothing") << int(DesignEdit::Nothing) << true << false << false;
    }

    void applyEdit()
    {
        QFETCH(int, what);
        QFETCH(bool, recompute);
        QFETCH(bool, newRevision);
        QFETCH(bool, risers);
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
            QVERIFY2(offTheWing(design.get(), slot).isEmpty(), qPrintable(offTheWing(design.get(), slot)));

        // A view that has built the design as it was, and another design
        // edited meanwhile: the new revision must be neither's.
        const unsigned long long built = design->geometryChanged.revision();
        auto other = std::make_unique<ParaStruct>(*design);
        other->geometryChanged = true;
        const unsigned long long otherRevision = other->geometryChanged.revision();

        QByteArray before[kLineGroupSlots];
        for (int s = 0; s < kLineGroupSlots; ++s)
            before[s] = groupBytes(design->bridle.groups[s]);
        design->hangHeight += 1.0;
        Apply_Edit(design.get(), DesignEdit(what));

        QCOMPARE(recomputes(), recompute ? 1 : 0);
        QCOMPARE(steps.contains("Place_Line_Plan"), recompute);
        const unsigned long long now = design->geometryChanged.revision();
        QCOMPARE(now != built && now != otherRevision, newRevision);
        QCOMPARE(bool(design->geometryChanged), newRevision);
        QCOMPARE(design->linesOutdated, risers);
        if (recompute) {
            for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
                QVERIFY2(offTheWing(design.get(), slot).isEmpty(), qPrintable(offTheWing(design.get(), slot)));
            // The hanging point went down with the hang height: the lines moved.
            QVERIFY(groupBytes(design->bridle.groups[1]) != before[1]);
        } else {
            for (int s = 0; s < kLineGroupSlots; ++s)
                QCOMPARE(groupBytes(design->bridle.groups[s]), before[s]);
        }
    }

    // A second edit gives yet another revision: a view that rebuilt after the
    // first one rebuilds again.
    void everyEditIsANewRevision()
    {
        Apply_Edit(design.get(), DesignEdit::Wing);
        const unsigned long long first = design->geometryChanged.revision();
        design->geometryChanged = false; // the view has rebuilt
        Apply_Edit(design.get(), DesignEdit::Marks);
        QVERIFY(design->geometryChanged);
        QVERIFY(design->geometryChanged.revision() != first);
    }

    // Each count from the shipped 34 cells: more and fewer, odd and even, the
    // smallest and the largest the rib tables hold.
    void changeCellCount_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("one more, odd") << 35;
        QTest::newRow("one fewer, odd") << 33;
        QTest::newRow("more, even") << 40;
        QTest::newRow("fewer, even") << 20;
        QTest::newRow("smallest, 2") << 2;
        QTest::newRow("smallest odd, 3") << 3;
        QTest::newRow("largest, 126") << 126;
        QTest::newRow("largest odd, 125") << 125;
    }

    void changeCellCount()
    {
        QFETCH(int, cells);
        // Rib shifts and a cell-width step of the old layout.
        design->ribShift[3] = 4.0;
        design->ribShift[10] = -2.5;
        design->cellWidthStep = 50;
        const unsigned long long built = design->geometryChanged.revision();

        QVERIFY(Change_Cell_Count(design.get(), cells));
        QCOMPARE(design->cells, cells);

        // The ribs across the span: one more than the cells, evenly ordered,
        // the outermost at the tips, which stay where the planform puts them.
        const QList<double> ribs = ribsAcrossTheSpan(design.get());
        QCOMPARE(ribs.size(), cells + 1);
        for (int i = 1; i < ribs.size(); ++i)
            QVERIFY2(ribs[i] > ribs[i - 1], qPrintable(QString("rib %1 at %2, rib %3 at %4")
                                                           .arg(i - 1).arg(ribs[i - 1]).arg(i).arg(ribs[i])));
        const double halfSpan = std::round(std::fabs(shipped->ribSpanPos[shipped->lastRib] - shipped->ribSpanPos[0]));
        QVERIFY2(std::fabs(ribs.last() - halfSpan) < 1e-6 * halfSpan,
                 qPrintable(QString("tip at %1, half span %2").arg(ribs.last()).arg(halfSpan)));
        QCOMPARE(design->centreCell, cells % 2 == 1);
        QCOMPARE(design->centreRib, cells % 2 == 0);

        // The layout is the new count's own: no rib shifted, no width step.
        for (int i = 0; i < kRibSlots; ++i)
            QCOMPARE(design->ribShift[i], 0.0);
        QCOMPARE(design->cellWidthStep, 0);
        // The transition ribs lie inside the new wing ...
        QVERIFY(design->transitionRib1 >= design->firstRib);
        QVERIFY(design->transitionRib2 >= design->transitionRib1);
        QVERIFY(design->transitionRib2 < std::max(design->lastRib, design->firstRib + 1));
        // ... and the rib airfoils were morphed between them: a further
        // recompute leaves them as they are.
        QPolygonF airfoils[kRibSlots];
        for (int i = 0; i <= design->lastRib; ++i)
            airfoils[i] = design->ribAirfoils[i];
        Refresh_Calculations(design.get());
        for (int i = 0; i <= design->lastRib; ++i)
            QVERIFY2(design->ribAirfoils[i] == airfoils[i], qPrintable(QString("rib %1").arg(i)));

        // The line groups, drawn on the old frame, are gone, as the user
        // agreed; the riser tree hangs from no rib and stays.
        for (int s = 0; s < kLineGroupSlots; ++s) {
            QCOMPARE(design->bridle.groups[s].lineCount, 0);
            QCOMPARE(design->bridle.groups[s].pointCount, 0);
        }
        QCOMPARE(design->bridle.riserGroup.lineCount, shipped->bridle.riserGroup.lineCount);

        // An edit of the wing: the views rebuild, the risers are to update.
        QVERIFY(design->geometryChanged);
        QVERIFY(design->geometryChanged.revision() != built);
        QVERIFY(design->linesOutdated);

        // The project file takes the new count and reads back with it.
        QBuffer file;
        file.open(QIODevice::WriteOnly);
        QVERIFY(Write_Project(&file, *design));
        file.close();
        file.open(QIODevice::ReadOnly);
        auto back = std::make_unique<ParaStruct>();
        QString why;
        QVERIFY2(Read_Project(&file, back.get(), &why), qPrintable(why));
        QCOMPARE(back->cells, cells);
        QCOMPARE(back->lastRib, design->lastRib);
    }

    // Counts the rib tables cannot hold, and the count the design has,
    // change nothing at all: no recompute, no flag, the same file.
    void refusedCounts_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("the same") << 34;
        QTest::newRow("one cell") << 1;
        QTest::newRow("none") << 0;
        QTest::newRow("negative") << -3;
        QTest::newRow("one beyond the tables") << 127;
        QTest::newRow("far beyond") << 1000;
    }

    void refusedCounts()
    {
        QFETCH(int, cells);
        const QByteArray before = linesfixture::bytesOf(*design);
        const unsigned long long revision = design->geometryChanged.revision();
        QVERIFY(!Change_Cell_Count(design.get(), cells));
        QCOMPARE(linesfixture::bytesOf(*design), before);
        QCOMPARE(recomputes(), 0);
        QVERIFY(!design->geometryChanged);
        QCOMPARE(design->geometryChanged.revision(), revision);
        QVERIFY(!design->linesOutdated);
    }

    // Back to the old count: the wing is the old wing again (the rib
    // positions and airfoils of the shipped design, which has no rib shift).
    void thereAndBackAgain()
    {
        QVERIFY(Change_Cell_Count(design.get(), 41));
        QVERIFY(Change_Cell_Count(design.get(), 34));
        design->cellWidthStep = shipped->cellWidthStep;
        Apply_Edit(design.get(), DesignEdit::Wing);
        QCOMPARE(design->lastRib, shipped->lastRib);
        for (int i = 0; i <= design->lastRib; ++i) {
            QVERIFY(std::fabs(design->ribSpanPos[i] - shipped->ribSpanPos[i]) < 1e-9);
            QVERIFY2(design->ribAirfoils[i] == shipped->ribAirfoils[i], qPrintable(QString("rib %1").arg(i)));
        }
    }

    // The rib bookkeeping of a count against the ribs one counts on a
    // drawing of the wing: with a centre rib, the ribs of a half are numbered
    // 0 (the centre) to n / 2; with a centre cell, 1 to (n + 1) / 2.
    void ribLayout_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("firstRib");
        QTest::addColumn<int>("lastRib");
        QTest::newRow("2") << 2 << 0 << 1;
        QTest::newRow("3") << 3 << 1 << 2;
        QTest::newRow("34") << 34 << 0 << 17;
        QTest::newRow("35") << 35 << 1 << 18;
        QTest::newRow("125") << 125 << 1 << 63;
        QTest::newRow("126") << 126 << 0 << 63;
    }

    void ribLayout()
    {
        QFETCH(int, cells);
        QFETCH(int, firstRib);
        QFETCH(int, lastRib);
        const RibLayout r = Rib_Layout(cells);
        QCOMPARE(r.firstRib, firstRib);
        QCOMPARE(r.lastRib, lastRib);
        QCOMPARE(r.lastCell, lastRib - 1);
        QCOMPARE(r.sideCells, lastRib - firstRib);
        QCOMPARE(r.centreCell, firstRib == 1);
        QCOMPARE(r.centreRib, firstRib == 0);
        QVERIFY(r.lastRib <= kMaxLastRib);
    }
    // A recompute reads only the design's inputs: a second one, with
    // nothing changed, derives every table again exactly as the first did,
    // for the design as read and after its cell count changed.
    void recomputeIsSettled_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("as read") << 0;
        QTest::newRow("35 cells") << 35;
        QTest::newRow("20 cells") << 20;
    }

    void recomputeIsSettled()
    {
        QFETCH(int, cells);
        QFile f(templatePath(34));
        auto d = std::make_unique<ParaStruct>();
        QVERIFY(f.open(QIODevice::ReadOnly) && Read_Project(&f, d.get()));
        if (cells > 0)
            QVERIFY(Change_Cell_Count(d.get(), cells));
        else
            Refresh_Calculations(d.get());
        const auto once = std::make_unique<ParaStruct>(*d);
        Refresh_Calculations(d.get());
        const QStringList changed = derivedDifferences(*d, *once);
        QVERIFY2(changed.isEmpty(), qPrintable("changed by a second recompute: " + changed.join(", ")));
    }

    // Every kind of edit, as the editors make it, leaves the derived data
    // current: a fresh recompute of the edited design derives every table
    // as the edit left it. (Editors and views read the design as it stands
    // and recompute nothing "to be sure".)
    void editsLeaveTheDerivedDataCurrent_data()
    {
        QTest::addColumn<QString>("edit");
        for (const char* edit : {"wing: hang height", "wing: a design airfoil", "wing: the base line",
                                 "wing: the cell count", "parts: a diagonal rib", "parts: the mini-ribs",
                                 "lines: the group shares, placed", "marks: a seam allowance", "marks: the straps",
                                 "marks: the cross-port holes", "nothing: the cell widths reset"})
            QTest::newRow(edit) << QString(edit);
    }
    void editsLeaveTheDerivedDataCurrent()
    {
        QFETCH(QString, edit);
        ParaStruct* d = design.get();
        if (edit == "wing: hang height") {
            d->hangHeight += 1.0;
            Apply_Edit(d, DesignEdit::Wing);
        } else if (edit == "wing: a design airfoil") {
            for (QPointF& p : d->designAirfoils[2])
                p.ry() *= 1.25;
            Apply_Edit(d, DesignEdit::Wing);
        } else if (edit == "wing: the base line") {
            d->frontControlPoints[2] += QPointF(20, 40);
            Apply_Edit(d, DesignEdit::Wing);
        } else if (edit == "wing: the cell count") {
            QVERIFY(Change_Cell_Count(d, 37));
        } else if (edit == "parts: a diagonal rib") {
            d->diagTableD1[6].heightPercent = 60;
            d->diagTableD1[6].connectNext = true;
            Apply_Edit(d, DesignEdit::Parts);
        } else if (edit == "parts: the mini-ribs") {
            d->minirib.rearRibPosition += 5;
            d->minirib.frontRibEnd = std::max(1, d->minirib.frontRibEnd - 2);
            Apply_Edit(d, DesignEdit::Parts);
        } else if (edit == "lines: the group shares, placed") {
            d->lineGroupShares[0] += 0.05;
            d->lineGroupShares[1] -= 0.05;
            Place_Line_Plan(d);
            Apply_Edit(d, DesignEdit::Lines);
        } else if (edit == "marks: a seam allowance") {
            d->seamAllowance[1] += 4;
            Apply_Edit(d, DesignEdit::Marks);
        } else if (edit == "marks: the straps") {
            d->strapWidth[3] += 10;
            d->lineStrips[3][4] = !d->lineStrips[3][4];
            Apply_Edit(d, DesignEdit::Marks);
        } else if (edit == "marks: the cross-port holes") {
            d->crossPortHoles += 1;
            d->crossPortOffset += 2;
            d->crossPorts[0].triangles[0].holeCount += 1;
            Apply_Edit(d, DesignEdit::Marks);
        } else {
            d->cellWidthStep = 0;
            Apply_Edit(d, DesignEdit::Nothing);
        }
        auto fresh = std::make_unique<ParaStruct>(*d);
        Refresh_Calculations(fresh.get());
        const QStringList stale = derivedDifferences(*fresh, *d);
        QVERIFY2(stale.isEmpty(), qPrintable("not current after the edit: " + stale.join(", ")));
    }
};

QTEST_MAIN(TestDesignEdit)
#include "tst_designedit.moc"
