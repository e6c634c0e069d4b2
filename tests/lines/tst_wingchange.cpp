// The lines follow the wing. The shipped design's span and hang height are
// changed as the general data editor changes them (its table and OK), or by
// a plain recompute after an edit of the design record; then every line is
// checked against the wing as it now is, and everything that reads lines
// is checked to read those: the bridle tables (on screen and printed), the
// 3-D bridle window, the 3-D drawing "Wl9_3D.dxf" (read with ezdxf), the
// totals of the polar and the project file. A design without lines keeps
// its line plan as stored. A new cell count, and a project saved with the
// groups of an earlier count, leave no line of the old count anywhere.
//
// The oracle is the geometry itself: a line hanging from a free node is its
// length times the hang height long, a line ending on the canopy ends at
// the attachment point of its rib and row, the riser starts at the hanging
// point below the wing, and each group hangs from its riser line.

#include <QTest>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/openfile.h"
#include "core/transf.h"
#include "lines/bridlelists.h"
#include "lines/loading.h"
#include "lines/ui/bridledialog.h"
#include "geom/sheet.h"
#include "lines/ui/bridleview.h"
#include "patterns/drawing3d.h"
#include "patterns/patternsheet.h"
#include "shape/ui/datadialog.h"
#include "shell/model/installhooks.h"
#include "tests/common/dxfcheck.h"
#include "tests/common/printtopdf.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

namespace {

BridleGroup listsOf(const BridleGroup& stored)
{
    BridleGroup g = stored;
    Rebuild_Group_Lists(&g);
    return g;
}

double metres(const ParaStruct* d, QVector3D a, QVector3D b)
{
    return d->R_X(double((b - a).length()));
}

// Why the lines of group `slot` do not hang from the wing as it is; empty
// when they do.
QString misplaced(const ParaStruct* d, int slot)
{
    const BridleGroup g = listsOf(d->bridle.groups[slot]);
    const int n = f_start_id(d);
    for (int i = 0; i < g.lines.size(); ++i) {
        const LineProp& l = g.lines[i];
        const int child = g.pairs[i].y();
        if (child >= n) {
            const double want = l.length * d->hangHeight;
            if (std::fabs(metres(d, l.q1, l.q2) - want) > 1e-4 * d->hangHeight)
                return QString("group %1 line %2: %3 m long, its length makes %4 m")
                    .arg(slot).arg(i).arg(metres(d, l.q1, l.q2)).arg(want);
        } else {
            const origRLS& a = g.attachments[i];
            QVector3D on = Row_Attachment_Point(d, Frame_Slot_Row(a.row), a.rib);
            if (a.side == 1)
                on = p_SymY(on);
            if ((l.q2 - on).length() > 1e-3f)
                return QString("group %1 line %2 ends %3 units from its attachment on rib %4")
                    .arg(slot).arg(i).arg((l.q2 - on).length()).arg(a.rib);
        }
    }
    // The group hangs from its riser line (the brakes from the hanging point).
    const QPoint root = find_root_index(g.pairs);
    if (root.y() >= 0) {
        const QVector3D top = slot <= 4 ? RaiserGrupLineRoot(slot, d->bridle.riserGroup) : Carabiner_Point(d);
        if ((g.lines[root.y()].q1 - top).length() > 1e-3f)
            return QString("group %1 does not hang from its riser").arg(slot);
    }
    return QString();
}

QString riserMisplaced(const ParaStruct* d)
{
    const BridleGroup r = listsOf(d->bridle.riserGroup);
    const QPoint root = find_root_index(r.pairs);
    if (root.y() < 0)
        return "the riser has no root";
    if ((r.lines[root.y()].q1 - Carabiner_Point(d)).length() > 1e-3f)
        return "the riser does not start at the hanging point";
    for (int i = 0; i < r.lines.size(); ++i) {
        if (r.pairs[i].y() < d->lineGroupCount)
            continue;   // a line to a riser frame point keeps its end
        const double want = r.lines[i].length * d->hangHeight;
        if (std::fabs(metres(d, r.lines[i].q1, r.lines[i].q2) - want) > 1e-4 * d->hangHeight)
            return QString("riser line %1 is not its length").arg(i);
    }
    return QString();
}

// Both halves' line length, summed here from the lines of groups 0..5.
double twiceTheLines(const ParaStruct* d)
{
    double sum = 0;
    for (int slot = 0; slot < kLineGroupSlots; ++slot) {
        const BridleGroup g = listsOf(d->bridle.groups[slot]);
        for (const LineProp& l : g.lines)
            sum += metres(d, l.q1, l.q2);
    }
    return 2 * sum;
}

int linesIn(const ParaStruct* d)
{
    int n = 0;
    for (int slot = 1; slot < kLineGroupSlots; ++slot)
        n += d->bridle.groups[slot].lineCount;
    return n;
}

QByteArray groupBytes(const ParaStruct& d)
{
    QByteArray out;
    for (const BridleGroup& g : d.bridle.groups) {
        out += QByteArray::number(g.lineCount);
        for (int i = 0; i < g.lineCount; ++i) {
            const LineProp& l = g.lineArray[i];
            for (float v : {l.q1.x(), l.q1.y(), l.q1.z(), l.q2.x(), l.q2.y(), l.q2.z()})
                out += QByteArray::number(double(v), 'g', 9) + ',';
            out += QByteArray::number(l.load, 'g', 12) + ';';
        }
    }
    return out;
}

// Why the bridle lines of "Wl9_3D.dxf" written from `d` (read back with
// ezdxf) are not the lines the groups 1..5 of `file` hold, both halves, in
// drawing units; empty when they are.
QString drawnNotDesigned(ParaStruct* d, const ParaStruct& file)
{
    QTemporaryDir out;
    PatternSheet sheet;
    sheet.design = d;
    if (Write_Sheet(Drawing3D_Sheet(sheet), out.path(), QStringLiteral("Wl9_3D.dxf")) != 0)
        return "Wl9_3D.dxf was not written";
    const QJsonObject dxf = ReadDxfWithEzdxf(QDir(out.path()).filePath("Wl9_3D.dxf"));
    if (!dxf.value("ok").toBool())
        return dxf.value("error").toString();
    QList<double> drawn, lines;
    for (const QJsonValue& v : dxf.value("lines").toArray()) {
        const QJsonArray l = v.toArray();
        if (l.at(0).toString() != "Bridle")
            continue;
        const QVector3D a(l.at(2).toDouble(), l.at(3).toDouble(), l.at(4).toDouble());
        const QVector3D b(l.at(5).toDouble(), l.at(6).toDouble(), l.at(7).toDouble());
        drawn << d->R_X((b - a).length() / d->dxfScale);
    }
    for (int slot = 1; slot < kLineGroupSlots; ++slot)
        for (const LineProp& l : listsOf(file.bridle.groups[slot]).lines)
            lines << metres(d, l.q1, l.q2) << metres(d, l.q1, l.q2);
    std::sort(drawn.begin(), drawn.end());
    std::sort(lines.begin(), lines.end());
    if (drawn.size() != lines.size())
        return QString("%1 bridle lines drawn, %2 designed").arg(drawn.size()).arg(lines.size());
    for (int i = 0; i < drawn.size(); ++i)
        if (std::fabs(drawn[i] - lines[i]) >= 1e-4)
            return QString("%1 m drawn, %2 m designed").arg(drawn[i]).arg(lines[i]);
    return QString();
}

// Why the line groups a project file holds do not hang from the wing `d`
// (the design the file was written from): a stored attachment, anywhere in
// the stores the file carries, naming a rib or a row the wing does not
// have, or a canopy end off its attachment point; empty when none does.
QString offTheNewWing(const ParaStruct* d, const ParaStruct& file)
{
    for (int slot = 0; slot < kLineGroupSlots; ++slot) {
        const BridleGroup& stored = file.bridle.groups[slot];
        for (int e = 0; e < kLineEntries; ++e) {
            const origRLS& a = stored.attachArray[e];
            if (a.attached && (a.rib < d->firstRib || a.rib > d->lastRib || a.row < 0 || a.row > kBrakeSlot))
                return QString("group %1 entry %2 is attached to rib %3, row %4 of a wing of ribs %5..%6")
                    .arg(slot).arg(e).arg(a.rib).arg(a.row).arg(d->firstRib).arg(d->lastRib);
        }
        const BridleGroup g = listsOf(stored);
        for (int i = 0; i < g.lines.size() && i < g.attachments.size(); ++i) {
            const origRLS& a = g.attachments[i];
            if (!a.attached)
                continue;
            QVector3D on = Row_Attachment_Point(d, Frame_Slot_Row(a.row), a.rib);
            if (a.side == 1)
                on = p_SymY(on);
            if ((g.lines[i].q2 - on).length() > 1e-3f)
                return QString("group %1 line %2 ends %3 m off its attachment on rib %4")
                    .arg(slot).arg(i).arg(metres(d, g.lines[i].q2, on)).arg(a.rib);
        }
    }
    return QString();
}

std::unique_ptr<ParaStruct> readBack(const QByteArray& bytes)
{
    auto read = std::make_unique<ParaStruct>();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return Read_Project(&buffer, read.get()) ? std::move(read) : nullptr;
}

} // namespace

class TestWingChange : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> shipped;
    ParaStruct* design = nullptr;
    QTemporaryDir dir;

    // The general data editor: the two values typed into its table, OK.
    void typeGeneralData(double span, double hang)
    {
        DataDialog d;
        d.show();
        d.tableWidget->item(0, 1)->setText(QString::number(span, 'f', 2));
        d.tableWidget->item(1, 1)->setText(QString::number(hang, 'f', 2));
        d.okButton->click();
    }

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        shipped = defaultDesign(34);
        QVERIFY(shipped);
        design = GetDataStruct();
        GetGlobClass()->prgPath = "/tmp/wing.prg";
    }

    void init()
    {
        *design = *shipped;
    }

    // The shipped design hangs from its own wing.
    void shippedLinesAreCurrent()
    {
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
            QVERIFY2(misplaced(design, slot).isEmpty(), qPrintable(misplaced(design, slot)));
        QVERIFY(linesIn(design) > 50);
    }

    // Span and hang height changed by the editor's table and OK, or set on
    // the record and recomputed: every line hangs from the new wing at once.
    void linesFollowTheWing_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<bool>("editor");
        QTest::addColumn<double>("span");
        QTest::addColumn<double>("hang");
        QTest::newRow("general data: span and hang height") << 34 << true << 12.0 << 7.2;
        QTest::newRow("general data: hang height") << 34 << true << shipped->span << 7.2;
        QTest::newRow("general data: span") << 34 << true << 12.0 << shipped->hangHeight;
        QTest::newRow("recompute: shorter wing") << 34 << false << 10.5 << 6.2;
        QTest::newRow("recompute: 35 cells") << 35 << false << 12.5 << 7.4;
    }
    void linesFollowTheWing()
    {
        QFETCH(int, cells);
        QFETCH(bool, editor);
        QFETCH(double, span);
        QFETCH(double, hang);
        if (cells != 34) {
            auto other = defaultDesign(cells);
            QVERIFY(other);
            *design = *other;
            QCOMPARE(design->cells, cells);
            QVERIFY(linesIn(design) > 50);
        }
        const double before = twiceTheLines(design);
        if (editor) {
            typeGeneralData(span, hang);
        } else {
            design->span = span;
            design->hangHeight = hang;
            Refresh_Calculations(design);
        }
        QCOMPARE(design->span, span);
        QCOMPARE(design->hangHeight, hang);
        QVERIFY2(riserMisplaced(design).isEmpty(), qPrintable(riserMisplaced(design)));
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
            QVERIFY2(misplaced(design, slot).isEmpty(), qPrintable(misplaced(design, slot)));
        QVERIFY(std::fabs(twiceTheLines(design) - before) > 1.0);
        // The loads follow too: each group passes its riser line's load on.
        for (int k = 1; k <= design->lineGroupCount; ++k) {
            const BridleGroup g = listsOf(design->bridle.groups[k]);
            const QPoint root = find_root_index(g.pairs);
            QVector3D sum;
            for (int j = 0; j < g.pairs.size(); ++j)
                if (g.points[g.pairs[j].x()] == g.points[root.x()])
                    sum += float(g.lines[j].load) * (g.lines[j].q2 - g.lines[j].q1).normalized();
            const double riserLoad = RaiserGrupLineLoad(k, design->bridle.riserGroup);
            QVERIFY(std::fabs(sum.length() - riserLoad) < 1e-3 * riserLoad);
        }
    }

    // After the editor's OK every reader of lines reads the new lines:
    // the table (as it was before only the bridle manager's OK gave it),
    // the 3-D window, the 3-D drawing, the polar's totals, the project file
    // and the printed table.
    void everyReaderReadsTheNewLines()
    {
        typeGeneralData(12.0, 7.2);
        QVERIFY(misplaced(design, 1).isEmpty());

        // The L1 table, and the same table once the bridle manager's OK has
        // placed every group again.
        BridleView view;
        view.setLineSelection(2);
        view.resize(1024, 768);
        view.getLineGrupData();
        const QStringList labels = view.labels();
        QCOMPARE(labels.size(), design->bridle.groups[1].lineCount);
        const BridleGroup l1 = listsOf(design->bridle.groups[1]);
        for (int i = 0; i < l1.lines.size(); ++i)
            QVERIFY(std::fabs(view.table().graph[i].length - metres(design, l1.lines[i].q1, l1.lines[i].q2)) < 1e-9);
        {
            ScriptedUser user;
            user.answerQuestions(true);
            QWidget main;
            main.resize(1200, 900);
            BridleDialog manager(&main);
            manager.show();
            QMetaObject::invokeMethod(&manager, "on_okButton_pressed");
        }
        view.getLineGrupData();
        QCOMPARE(view.labels(), labels);

        // The 3-D bridle window's lines.
        const QList<BridleSegment> segments = Bridle_Group_Segments(design->bridle, 2, 1.0);
        QCOMPARE(segments.size(), l1.lines.size());
        for (int i = 0; i < segments.size(); ++i)
            QVERIFY(segments[i].a == l1.lines[i].q1 && segments[i].b == l1.lines[i].q2);

        // The polar's totals.
        const double total = getTotalBridleLength(*design, true).length;
        QVERIFY(std::fabs(total - twiceTheLines(design)) < 1e-6 * total);

        // The project file.
        auto read = std::make_unique<ParaStruct>();
        QBuffer buffer;
        buffer.setData(bytesOf(*design));
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(Read_Project(&buffer, read.get()));
        read->span = design->span;   // what R_X needs
        QCOMPARE(read->hangHeight, 7.2);
        QCOMPARE(groupBytes(*read), groupBytes(*design));

        // The 3-D drawing: its bridle lines are the lines of groups 1..5.
        const QString drawing = drawnNotDesigned(design, *design);
        QVERIFY2(drawing.isEmpty(), qPrintable(drawing));

        // The printed table holds the labels of the table.
        if (!QFileInfo::exists(kPdfToText))
            QSKIP("poppler-utils is not installed");
        ScriptedUser user;
        const QString pdf = dir.filePath("l1.pdf");
        printToPdf(user, pdf);
        view.printPage();
        QString text = pdfText(pdf);
        text.remove(QRegularExpression(R"(\s)"));
        for (QString label : labels)
            QVERIFY2(text.contains(label.remove(' ')), qPrintable(label));
    }

    // A design without a line keeps its line plan as stored: the recompute
    // gives the project file it gives without the line step.
    void designWithoutLinesUntouched()
    {
        auto with = wing(34);
        with->hangHeight += 0.4;
        for (int slot = 0; slot < kLineGroupSlots; ++slot)
            QCOMPARE(with->bridle.groups[slot].lineCount, 0);
        auto without = std::make_unique<ParaStruct>(*with);
        Refresh_Calculations(with.get());
        const RecomputeStep step = Set_Recompute_Hook(RecomputeHook::LinePlan, [](ParaStruct*) {});
        Refresh_Calculations(without.get());
        Set_Recompute_Hook(RecomputeHook::LinePlan, step);
        QVERIFY(step == &Place_Line_Plan);
        QCOMPARE(bytesOf(*with), bytesOf(*without));
    }

    // A new cell count, made through the model or through the general data
    // editor with the user agreeing to lose the line groups, then saved at
    // once: the file read back holds no line of the old count. Every canopy
    // end sits on its attachment point, no stored attachment names a rib the
    // wing no longer has, and the totals and "Wl9_3D.dxf" hold exactly the
    // lines of the file. The riser still hangs from the hanging point. A
    // user who declines keeps the count and every line.
    void newCellCountLeavesNoOldLine_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<bool>("editor");
        QTest::addColumn<bool>("agree");
        QTest::newRow("model: 34 -> 30") << 30 << false << true;
        QTest::newRow("model: 34 -> 40") << 40 << false << true;
        QTest::newRow("general data: 34 -> 30") << 30 << true << true;
        QTest::newRow("general data: 34 -> 40") << 40 << true << true;
        QTest::newRow("general data: 34 -> 35") << 35 << true << true;
        QTest::newRow("general data: declined") << 30 << true << false;
    }
    void newCellCountLeavesNoOldLine()
    {
        QFETCH(int, cells);
        QFETCH(bool, editor);
        QFETCH(bool, agree);
        const QByteArray before = groupBytes(*design);
        if (editor) {
            ScriptedUser user;
            user.answerQuestions(agree);
            DataDialog d;
            d.show();
            d.cellsspinBox->setValue(cells);
            QMetaObject::invokeMethod(&d, "on_acceptButton_pressed");
            QCOMPARE(user.all("question"), QString(" warning ...  all existing line grups wil be erased !!"));
            d.okButton->click();
            QCOMPARE(user.count("warning"), 0);
        } else {
            QVERIFY(Change_Cell_Count(design, cells));
        }
        if (!agree) {
            QCOMPARE(design->cells, 34);
            QCOMPARE(groupBytes(*design), before);
            return;
        }
        QCOMPARE(design->cells, cells);

        const auto file = readBack(bytesOf(*design));
        QVERIFY(file);
        QCOMPARE(file->cells, cells);
        const QString off = offTheNewWing(design, *file);
        QVERIFY2(off.isEmpty(), qPrintable(off));
        const double total = getTotalBridleLength(*file, true).length;
        QVERIFY(std::fabs(total - twiceTheLines(file.get())) <= 1e-9 * total);
        const QString drawing = drawnNotDesigned(design, *file);
        QVERIFY2(drawing.isEmpty(), qPrintable(drawing));
        QVERIFY2(riserMisplaced(design).isEmpty(), qPrintable(riserMisplaced(design)));
    }

    // A project saved with the groups of an earlier cell count (the design
    // as it was before the count changed, written with the new count): read
    // and recomputed as Open does, the groups go and the user is told once;
    // the file written then holds none of their lines.
    void staleProjectIsNotCarriedOn()
    {
        auto stale = std::make_unique<ParaStruct>(*shipped);
        Set_Cell_Count(stale.get(), 30);
        const auto opened = readBack(bytesOf(*stale));
        QVERIFY(opened);
        QCOMPARE(linesIn(opened.get()), linesIn(shipped.get()));
        ScriptedUser user;
        Refresh_Calculations(opened.get());
        QCOMPARE(user.count("warning"), 1);
        for (const char* name : {"L1", "L2", "L3", "L4", "L-brakes", "30 cells"})
            QVERIFY2(user.texts.first().contains(name), qPrintable(user.texts.first()));
        Refresh_Calculations(opened.get());
        QCOMPARE(user.count("warning"), 1);
        const auto saved = readBack(bytesOf(*opened));
        QVERIFY(saved);
        const QString off = offTheNewWing(opened.get(), *saved);
        QVERIFY2(off.isEmpty(), qPrintable(off));
        QCOMPARE(linesIn(saved.get()), 0);
        QCOMPARE(saved->bridle.riserGroup.lineCount, shipped->bridle.riserGroup.lineCount);
    }

    // Which groups hang from no wing of theirs: drawn for another cell
    // count (their frame nodes stand for other cells), or a canopy end on a
    // rib, a row or a side the wing does not have. Those are erased, and
    // only those; a group without lines is left as it is.
    void foreignGroupsAreErased_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("slot");      // the group given a bad canopy end, or -1
        QTest::addColumn<int>("rib");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("lines");    // the groups keep their lines
        QTest::addColumn<QList<int>>("erased");
        const QList<int> all{1, 2, 3, 4, 5};
        QTest::newRow("as shipped") << 34 << -1 << 0 << 0 << 0 << true << QList<int>{};
        QTest::newRow("drawn for 34 cells, 30 now") << 30 << -1 << 0 << 0 << 0 << true << all;
        QTest::newRow("drawn for 34 cells, 40 now") << 40 << -1 << 0 << 0 << 0 << true << all;
        QTest::newRow("drawn for 34 cells, 35 now") << 35 << -1 << 0 << 0 << 0 << true << all;
        QTest::newRow("L2 on rib 19 of 17") << 34 << 2 << 19 << 1 << 0 << true << QList<int>{2};
        QTest::newRow("brakes on row 8") << 34 << 5 << 9 << 8 << 0 << true << QList<int>{5};
        QTest::newRow("L3 on the mirror of rib 0") << 34 << 3 << 0 << 2 << 1 << true << QList<int>{3};
        QTest::newRow("only frame nodes of 34 cells") << 30 << -1 << 0 << 0 << 0 << false << QList<int>{};
    }
    void foreignGroupsAreErased()
    {
        QFETCH(int, cells);
        QFETCH(int, slot);
        QFETCH(int, rib);
        QFETCH(int, row);
        QFETCH(int, side);
        QFETCH(bool, lines);
        QFETCH(QList<int>, erased);
        if (cells != 34)
            Set_Cell_Count(design, cells);
        if (slot >= 0) {
            BridleGroup& g = design->bridle.groups[slot];
            for (int e = 0; e < g.attachmentCount; ++e) {
                if (g.attachArray[e].attached) {
                    g.attachArray[e].rib = rib;
                    g.attachArray[e].row = row;
                    g.attachArray[e].side = side;
                    break;
                }
            }
        }
        if (!lines)
            for (BridleGroup& g : design->bridle.groups)
                g.lineCount = g.pairCount = g.attachmentCount = 0;
        const auto before = std::make_unique<ParaStruct>(*design);
        QCOMPARE(Erase_Foreign_Line_Groups(design), erased);
        for (int s = 0; s < kLineGroupSlots; ++s) {
            const BridleGroup& g = design->bridle.groups[s];
            if (erased.contains(s)) {
                QCOMPARE(g.lineCount, 0);
                QCOMPARE(g.pointCount, 0);
            } else {
                QCOMPARE(g.lineCount, before->bridle.groups[s].lineCount);
                QCOMPARE(g.pointCount, before->bridle.groups[s].pointCount);
            }
        }
        QCOMPARE(design->bridle.riserGroup.lineCount, before->bridle.riserGroup.lineCount);
    }

    // Cancel in the general data editor after a new cell count: the old
    // count comes back with its lines, hanging from the wing as before.
    void cancelledCellCountBringsTheLinesBack()
    {
        const QByteArray before = groupBytes(*design);
        ScriptedUser user;
        user.answerQuestions(true);
        DataDialog d;
        d.show();
        d.cellsspinBox->setValue(30);
        QMetaObject::invokeMethod(&d, "on_acceptButton_pressed");
        QCOMPARE(linesIn(design), 0);
        d.cancelButton->click();
        QCOMPARE(design->cells, 34);
        QCOMPARE(groupBytes(*design), before);
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
            QVERIFY2(misplaced(design, slot).isEmpty(), qPrintable(misplaced(design, slot)));
        QCOMPARE(user.count("warning"), 0);
    }
};

QTEST_MAIN(TestWingChange)
#include "tst_wingchange.moc"
