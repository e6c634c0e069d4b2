// The "Bridle tables" sheet: the shipped design's tables printed through the
// print seam into PDF files and read back with poppler's pdftotext (one label
// per line of each group, the printed lengths adding up to half the total
// line length within the rounding); the empty sheet without a group; the
// zoom limits, node dragging and panning.

#include <QTest>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <cmath>
#include <memory>

#include "core/skintension.h"
#include "core/transf.h"
#include "lines/loading.h"
#include "lines/ui/bridleview.h"
#include "tests/common/printtopdf.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

namespace {

const char* const kPdfToText = "/usr/bin/pdftotext";

// The text of a PDF file as poppler reads it; empty when it cannot.
QString pdfText(const QString& path)
{
    QProcess p;
    p.start(kPdfToText, {"-raw", path, "-"});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct PrintedLine {
    double length = 0.0;   // the line's own length as printed
    QString text;
};

QString withoutSpaces(QString text)
{
    return text.remove(QRegularExpression(R"(\s)"));
}

// The line labels of a printed sheet: "[l] <load>" for the groups, "l + r= [s]"
// or "[l]" for the brakes. The labels run along their lines at any angle,
// and poppler breaks turned text anywhere; in content order the pieces of a
// label follow each other, so the labels are read from the text without its
// white space. Lines are shorter than 10 m: a brake line's own length has
// one digit before the point (a rib number may stand right before it).
QList<PrintedLine> printedLines(const QString& text, bool brakes)
{
    QList<PrintedLine> out;
    const QRegularExpression group(R"(\[(\d+\.\d{3})\]<(\d+\.\d)>)");
    const QRegularExpression brake(R"((\d\.\d{3})\+(\d\.\d{3})=\[(\d+\.\d{3})\]|\[(\d+\.\d{3})\])");
    auto it = (brakes ? brake : group).globalMatch(withoutSpaces(text));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        PrintedLine l;
        l.text = m.captured(0);
        l.length = m.captured(1).toDouble();
        if (brakes && m.captured(1).isEmpty())
            l.length = m.captured(4).toDouble();
        out.append(l);
    }
    return out;
}

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(100, 100), w->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

class TestBridleView : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    ParaStruct* design = nullptr;
    std::unique_ptr<ParaStruct> before;

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        auto d = defaultDesign(34);
        QVERIFY(d);
        design = GetDataStruct();
        *design = *d;
        GetGlobClass()->prgPath = "/tmp/t.prg";   // short: the heading ends before the title
        before = std::make_unique<ParaStruct>(*design);
    }

    // Each group of the shipped design printed on its own sheet: one label
    // per line; the printed (5 mm) lengths of all groups add up to half the
    // total line length within the rounding. The view leaves the lines alone.
    void printedTables()
    {
        if (!QFileInfo::exists(kPdfToText))
            QSKIP("poppler-utils is not installed");
        BridleView view;
        view.resize(1024, 768);
        // The frame is wider than the sheet: zoomed out and moved right, as
        // the user does before printing, it fits.
        wheel(&view, -120);
        wheel(&view, -120);
        mouse(&view, QEvent::MouseButtonPress, QPoint(10, 10), Qt::MiddleButton, Qt::MiddleButton);
        mouse(&view, QEvent::MouseMove, QPoint(110, 10), Qt::NoButton, Qt::MiddleButton);
        mouse(&view, QEvent::MouseButtonRelease, QPoint(110, 10), Qt::MiddleButton, Qt::NoButton);
        ScriptedUser user;
        double printedSum = 0.0;
        int printedCount = 0;
        const int selections[5] = {2, 3, 4, 5, 7};
        for (int sel : selections) {
            design->lineSelection = sel;
            view.getLineGrupData();
            const int slot = get_curr_bridle_grup(sel);
            const bool brakes = slot == kBrakeGroupSlot;
            const QString pdf = dir.filePath(QString("table%1.pdf").arg(sel));
            printToPdf(user, pdf);
            view.printPage();
            QVERIFY(QFileInfo(pdf).size() > 0);
            const QString text = pdfText(pdf);
            // poppler writes runs of spaces as one.
            const QString title = brakes ? "BRAKES TABLE: L-brakes" : "BRIDLE TABLE  group line:  " + GrupLineLetter(sel);
            const QString legend = brakes ? "last level + relaxation length dim = [mm]" : "[..dimension..mm]  <..loading..kg>";
            QVERIFY2(text.simplified().contains(title.simplified()), qPrintable(text.left(300)));
            QVERIFY(text.simplified().contains(legend.simplified()));
            QVERIFY(text.contains("[ /tmp/t.prg ]"));
            const QList<PrintedLine> lines = printedLines(text, brakes);
            QCOMPARE(lines.size(), design->bridle.groups[slot].lineCount);
            // The printed labels are those of the table, in some reading order.
            QStringList shown = view.labels();
            for (QString& s : shown)
                s = withoutSpaces(s);
            for (const PrintedLine& l : lines)
                QVERIFY2(shown.contains(l.text), qPrintable(l.text));
            for (const PrintedLine& l : lines)
                printedSum += l.length;
            printedCount += int(lines.size());
        }
        QCOMPARE(user.count("print"), 5);
        design->withBridleData = true;
        getTotalBridleLength(design);
        const double half = design->totalLineLength / 2;
        design->withBridleData = false;
        design->totalLineLength = before->totalLineLength;
        design->ropesArea = before->ropesArea;
        // The brake lines print their own length to 1 mm, the others to 5 mm.
        QVERIFY2(qAbs(printedSum - half) <= 0.0051 * printedCount,
                 qPrintable(QString("%1 vs %2 over %3 lines").arg(printedSum).arg(half).arg(printedCount)));
        QVERIFY(printedCount > 50);
        for (int slot = 0; slot < kLineGroupSlots; ++slot)
            QCOMPARE(design->bridle.groups[slot].lineCount, before->bridle.groups[slot].lineCount);
    }

    // A long project path gives up its middle and leaves the title readable.
    void longPathHeading()
    {
        if (!QFileInfo::exists(kPdfToText))
            QSKIP("poppler-utils is not installed");
        const QString saved = GetGlobClass()->prgPath;
        GetGlobClass()->prgPath = "/home/someone/Desktop/WL9work/Paragliders/a rather long project name.prg";
        BridleView view;
        view.resize(1024, 768);
        design->lineSelection = 3;
        view.getLineGrupData();
        ScriptedUser user;
        const QString pdf = dir.filePath("long.pdf");
        printToPdf(user, pdf);
        view.printPage();
        const QString text = pdfText(pdf).simplified();
        GetGlobClass()->prgPath = saved;
        QVERIFY2(text.contains("BRIDLE TABLE group line: L2"), qPrintable(text.left(300)));
        QVERIFY(text.contains("[ /home/"));
        QVERIFY(text.contains("name.prg ]"));
        QVERIFY(!text.contains("Paragliders/a rather long project name.prg"));
    }

    // Cancelled print dialog: nothing printed, nothing written.
    void printCancelled()
    {
        BridleView view;
        design->lineSelection = 2;
        view.getLineGrupData();
        ScriptedUser user;   // answers Cancel
        view.printPage();
        QCOMPARE(user.count("print"), 1);
        QCOMPARE(user.all("print"), QString("Print this page ?   "));
    }

    // A refresh with no group selected leaves the sheet empty; selecting a
    // group draws it; the labels follow the group's lines.
    void emptyWithoutGroup()
    {
        BridleView view;
        view.resize(600, 400);
        design->lineSelection = -1;
        view.getLineGrupData();
        QCOMPARE(view.groupSlot(), -1);
        QVERIFY(view.table().graph.isEmpty());
        QImage blank = view.grab().toImage();
        const QRgb ground = blank.pixel(5, 5);
        int drawn = 0;
        for (int y = 0; y < blank.height(); y += 3)
            for (int x = 0; x < blank.width(); x += 3)
                drawn += blank.pixel(x, y) != ground;
        QCOMPARE(drawn, 0);
        // Activation without a group does not refresh either.
        view.activate_widget();
        QCOMPARE(view.groupSlot(), -1);
        design->lineSelection = 4;
        view.activate_widget();
        QCOMPARE(view.groupSlot(), 3);
        QCOMPARE(view.labels().size(), design->bridle.groups[3].lineCount);
        QVERIFY(view.labels().first().startsWith('['));
        QImage sheet = view.grab().toImage();
        drawn = 0;
        for (int y = 0; y < sheet.height(); y += 3)
            for (int x = 0; x < sheet.width(); x += 3)
                drawn += sheet.pixel(x, y) != ground;
        QVERIFY(drawn > 500);
    }

    // The wheel zooms by 2^(1/8) a notch within 0.1 .. 20.
    void zoomLimits()
    {
        BridleView view;
        wheel(&view, 120);
        QVERIFY(qAbs(view.scale() - std::pow(2.0, 0.125)) < 1e-12);
        for (int i = 0; i < 100; ++i)
            wheel(&view, 120);
        QCOMPARE(view.scale(), 20.0);
        for (int i = 0; i < 200; ++i)
            wheel(&view, -120);
        QCOMPARE(view.scale(), 0.1);
    }

    // A press on a free node picks it and a move drags it by the pointer's
    // movement; a press close to a frame point picks nothing; the middle
    // button pans; a refresh puts the node back.
    void dragAndPan()
    {
        BridleView view;
        view.resize(1024, 768);
        design->lineSelection = 2;
        view.getLineGrupData();
        const BridleTable& t = view.table();
        // The root of L1: the start of the first line, below the frame.
        const QPoint root = t.nodes[t.graph[0].start];
        QVERIFY(root.y() > 230);
        mouse(&view, QEvent::MouseButtonPress, root + QPoint(2, 1), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(view.table().nodes.at(view.draggedNode()), root);
        mouse(&view, QEvent::MouseMove, root + QPoint(12, -4), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(view.table().nodes.at(view.draggedNode()), root + QPoint(10, -5));
        const int moved = view.draggedNode();
        mouse(&view, QEvent::MouseButtonRelease, root + QPoint(12, -4), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(view.draggedNode(), -1);
        QCOMPARE(view.table().nodes.at(moved), root + QPoint(10, -5));

        const QPoint frame = Bridle_Table_Frame_Point(design, design->firstRib + 3, 2, false);
        mouse(&view, QEvent::MouseButtonPress, frame + QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(view.draggedNode(), -1);
        mouse(&view, QEvent::MouseButtonRelease, frame, Qt::LeftButton, Qt::NoButton);

        mouse(&view, QEvent::MouseButtonPress, QPoint(50, 50), Qt::MiddleButton, Qt::MiddleButton);
        mouse(&view, QEvent::MouseMove, QPoint(80, 40), Qt::NoButton, Qt::MiddleButton);
        QCOMPARE(view.translation(), QPointF(30, -10));
        mouse(&view, QEvent::MouseButtonRelease, QPoint(80, 40), Qt::MiddleButton, Qt::NoButton);
        // With the view panned a press is taken back into the drawing.
        mouse(&view, QEvent::MouseButtonPress, root + QPoint(30, -10) + QPoint(10, -5), Qt::LeftButton,
              Qt::LeftButton);
        QCOMPARE(view.draggedNode(), moved);
        mouse(&view, QEvent::MouseButtonRelease, root, Qt::LeftButton, Qt::NoButton);

        view.getLineGrupData();
        QCOMPARE(view.table().nodes.at(moved), root);
        QCOMPARE(view.translation(), QPointF(30, -10));   // the pan stays
    }

    // The sheet works on its own copy: nothing of the line plan changes.
    void designUntouched()
    {
        for (int slot = 0; slot < kLineGroupSlots; ++slot) {
            const BridleGroup& a = design->bridle.groups[slot];
            const BridleGroup& b = before->bridle.groups[slot];
            QCOMPARE(a.lineCount, b.lineCount);
            for (int i = 0; i < a.lineCount; ++i) {
                QCOMPARE(a.lineArray[i].q1, b.lineArray[i].q1);
                QCOMPARE(a.lineArray[i].load, b.lineArray[i].load);
            }
        }
    }
};

QTEST_MAIN(TestBridleView)
#include "tst_bridleview.moc"
