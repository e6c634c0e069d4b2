// The lines follow the wing. The shipped design's span and hang height are
// changed as the general data editor changes them (its table and OK), or by
// a plain recompute after an edit of the design record; then every line is
// checked against the wing as it now is, and everything that reads lines
// is checked to read those: the bridle tables (on screen and printed), the
// 3-D bridle window, the 3-D drawing "Wl9_3D.dxf" (read with ezdxf), the
// totals of the polar and the project file. A design without lines and a
// design whose groups wait for their reset (new cell count) keep their
// line plan as stored.
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
        GetGlobClass()->lineGroupsReset = false;
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
        design->lineSelection = 2;
        BridleView view;
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
        design->lineSelection = 2;
        view.getLineGrupData();
        QCOMPARE(view.labels(), labels);

        // The 3-D bridle window's lines.
        const QList<BridleSegment> segments = Bridle_Group_Segments(design->bridle, 2, 1.0);
        QCOMPARE(segments.size(), l1.lines.size());
        for (int i = 0; i < segments.size(); ++i)
            QVERIFY(segments[i].a == l1.lines[i].q1 && segments[i].b == l1.lines[i].q2);

        // The polar's totals.
        design->withBridleData = true;
        getTotalBridleLength(design);
        QVERIFY(std::fabs(design->totalLineLength - twiceTheLines(design)) < 1e-6 * design->totalLineLength);

        // The project file.
        auto read = std::make_unique<ParaStruct>();
        QBuffer buffer;
        buffer.setData(bytesOf(*design));
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(Read_Project(&buffer, read.get()));
        read->span = design->span;   // what R_X needs
        QCOMPARE(read->hangHeight, 7.2);
        QCOMPARE(groupBytes(*read), groupBytes(*design));

        // The 3-D drawing: its bridle lines are the lines of groups 1..5,
        // both halves, in drawing units.
        QTemporaryDir out;
        PatternSheet sheet;
        sheet.design = design;
        QCOMPARE(Write_Sheet(Drawing3D_Sheet(sheet), out.path(), QStringLiteral("Wl9_3D.dxf")), 0);
        const QJsonObject dxf = ReadDxfWithEzdxf(QDir(out.path()).filePath("Wl9_3D.dxf"));
        QVERIFY2(dxf.value("ok").toBool(), qPrintable(dxf.value("error").toString()));
        QList<double> drawn, lines;
        for (const QJsonValue& v : dxf.value("lines").toArray()) {
            const QJsonArray l = v.toArray();
            if (l.at(0).toString() != "Bridle")
                continue;
            const QVector3D a(l.at(2).toDouble(), l.at(3).toDouble(), l.at(4).toDouble());
            const QVector3D b(l.at(5).toDouble(), l.at(6).toDouble(), l.at(7).toDouble());
            drawn << design->R_X((b - a).length() / design->dxfScale);
        }
        for (int slot = 1; slot < kLineGroupSlots; ++slot)
            for (const LineProp& l : listsOf(design->bridle.groups[slot]).lines)
                lines << metres(design, l.q1, l.q2) << metres(design, l.q1, l.q2);
        std::sort(drawn.begin(), drawn.end());
        std::sort(lines.begin(), lines.end());
        QCOMPARE(drawn.size(), lines.size());
        for (int i = 0; i < drawn.size(); ++i)
            QVERIFY2(std::fabs(drawn[i] - lines[i]) < 1e-4,
                     qPrintable(QString("%1 drawn, %2 designed").arg(drawn[i]).arg(lines[i])));

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
        const RecomputeStep step = Set_Recompute_Hook(RecomputeHook::LinePlan, nullptr);
        Refresh_Calculations(without.get());
        Set_Recompute_Hook(RecomputeHook::LinePlan, step);
        QVERIFY(step == &Place_Line_Plan);
        QCOMPARE(bytesOf(*with), bytesOf(*without));
    }

    // A new cell count: the groups were drawn for the old frame and wait for
    // their reset; the recompute leaves them as they are.
    void groupsOfAnotherFrameWait()
    {
        const QByteArray before = groupBytes(*design);
        ScriptedUser user;
        user.answerQuestions(true);
        DataDialog d;
        d.show();
        d.cellsspinBox->setValue(36);
        QMetaObject::invokeMethod(&d, "on_acceptButton_pressed");
        QCOMPARE(design->cells, 36);
        QVERIFY(GetGlobClass()->lineGroupsReset);
        QCOMPARE(groupBytes(*design), before);
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
            QVERIFY(!Group_Fits_Frame(design, listsOf(design->bridle.groups[slot])));
        d.okButton->click();
        QCOMPARE(groupBytes(*design), before);
    }
};

QTEST_MAIN(TestWingChange)
#include "tst_wingchange.moc"
