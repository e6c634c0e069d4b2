// The "Bridle tables" sheet: the shipped design's tables printed through the
// print seam into PDF files and read back with poppler's pdftotext (one label
// per line of each group, the printed lengths adding up to half the total
// line length within the rounding; the whole sheet on the page whatever the
// zoom); the empty sheet without a group; the zoom limits, node dragging and
// panning.

#include <QTest>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRectF>
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
#include "tests/lines/tablecheck.h"

using namespace linesfixture;

namespace {

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

// Every word poppler finds on the first page of a PDF with its box, in
// points; false when the file cannot be read.
struct PdfWord {
    QString text;
    QRectF box;
};
bool pdfWords(const QString& pdf, QList<PdfWord>* words, QSizeF* page)
{
    QProcess p;
    p.start(kPdfToText, {"-bbox", pdf, "-"});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return false;
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    const QRegularExpressionMatch size =
        QRegularExpression(R"re(<page width="([\d.]+)" height="([\d.]+)")re").match(html);
    if (!size.hasMatch())
        return false;
    *page = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    auto it = QRegularExpression(
                  R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re")
                  .globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch w = it.next();
        words->append({w.captured(5), QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                                             QPointF(w.captured(3).toDouble(), w.captured(4).toDouble()))});
    }
    return true;
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
        // Zoomed out and moved right on the screen: the print is the same
        // whole sheet.
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
            view.setLineSelection(sel);
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
            const QString legend = brakes ? "last level: length + relaxation = [length to cut, m]" : "[..length..m]  <..loading..kg>";
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
        const double half = getTotalBridleLength(*design, true).length / 2;
        // The brake lines print their own length to 1 mm, the others to 5 mm.
        QVERIFY2(qAbs(printedSum - half) <= 0.0051 * printedCount,
                 qPrintable(QString("%1 vs %2 over %3 lines").arg(printedSum).arg(half).arg(printedCount)));
        QVERIFY(printedCount > 50);
        for (int slot = 0; slot < kLineGroupSlots; ++slot)
            QCOMPARE(design->bridle.groups[slot].lineCount, before->bridle.groups[slot].lineCount);
    }

    // The printed table holds the whole sheet on the page, whatever the
    // window's size, zoom and panning: every rib number of the frame, every
    // line label, nothing beyond the page and no label over a rib number
    // (poppler's word boxes); the legend names the units the numbers are in.
    void printFitsThePage_data()
    {
        QTest::addColumn<int>("selection");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<int>("notches");   // wheel notches: 2^(1/8) each
        QTest::addColumn<QPoint>("pan");
        QTest::newRow("L1, small window") << 2 << QSize(800, 600) << 0 << QPoint(0, 0);
        QTest::newRow("L1, as the tab shows it") << 2 << QSize(1024, 768) << 0 << QPoint(0, 0);
        QTest::newRow("L2, zoomed in and panned") << 3 << QSize(1024, 768) << 16 << QPoint(-300, -200);
        QTest::newRow("brakes, zoomed out") << 7 << QSize(1024, 768) << -12 << QPoint(400, 0);
    }
    void printFitsThePage()
    {
        QFETCH(int, selection);
        QFETCH(QSize, window);
        QFETCH(int, notches);
        QFETCH(QPoint, pan);
        if (!QFileInfo::exists(kPdfToText))
            QSKIP("poppler-utils is not installed");
        BridleView view;
        view.resize(window);
        for (int i = 0; i < std::abs(notches); ++i)
            wheel(&view, notches > 0 ? 120 : -120);
        mouse(&view, QEvent::MouseButtonPress, QPoint(500, 500), Qt::MiddleButton, Qt::MiddleButton);
        mouse(&view, QEvent::MouseMove, QPoint(500, 500) + pan, Qt::NoButton, Qt::MiddleButton);
        mouse(&view, QEvent::MouseButtonRelease, QPoint(500, 500) + pan, Qt::MiddleButton, Qt::NoButton);
        view.setLineSelection(selection);
        view.getLineGrupData();
        const bool brakes = selection == 7;
        ScriptedUser user;
        const QString pdf = dir.filePath(QString("fit%1.pdf").arg(QTest::currentDataTag()).replace(' ', '_'));
        printToPdf(user, pdf);
        view.printPage();

        // Every word with its box, and the page's size.
        QProcess p;
        p.start(kPdfToText, {"-bbox", pdf, "-"});
        QVERIFY(p.waitForFinished(-1) && p.exitCode() == 0);
        const QString html = QString::fromUtf8(p.readAllStandardOutput());
        const QRegularExpressionMatch page =
            QRegularExpression(R"re(<page width="([\d.]+)" height="([\d.]+)")re").match(html);
        QVERIFY(page.hasMatch());
        const double width = page.captured(1).toDouble(), height = page.captured(2).toDouble();
        QVERIFY(width > height);   // A4 landscape
        QStringList words;
        QList<QRectF> boxes;
        auto it = QRegularExpression(
                      R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re")
                      .globalMatch(html);
        while (it.hasNext()) {
            const QRegularExpressionMatch w = it.next();
            const double x0 = w.captured(1).toDouble(), y0 = w.captured(2).toDouble();
            const double x1 = w.captured(3).toDouble(), y1 = w.captured(4).toDouble();
            QVERIFY2(x0 >= 0 && y0 >= 0 && x1 <= width && y1 <= height,
                     qPrintable(QString("\"%1\" at %2,%3 .. %4,%5 on a page of %6 x %7")
                                    .arg(w.captured(5)).arg(x0).arg(y0).arg(x1).arg(y1).arg(width).arg(height)));
            words << w.captured(5);
            boxes << QRectF(QPointF(x0, y0), QPointF(x1, y1));
        }
        // The rib numbers stand upright on one row, each a word; no label
        // runs over them.
        QMap<int, int> rows;   // top of a rib number's box -> how many
        for (int i = 0; i < words.size(); ++i)
            if (QRegularExpression(R"(^\d+$)").match(words[i]).hasMatch() && words[i].toInt() <= design->lastRib)
                ++rows[qRound(boxes[i].top())];
        int row = -1;
        for (auto r = rows.cbegin(); r != rows.cend(); ++r)
            if (r.value() > design->lastRib - design->firstRib)
                row = r.key();
        QVERIFY2(row >= 0, qPrintable(QString("no row of rib numbers among %1").arg(words.join(' '))));
        for (int r = design->firstRib; r <= design->lastRib; ++r) {
            int at = -1;
            for (int i = 0; i < words.size(); ++i)
                if (words[i] == QString::number(r) && qRound(boxes[i].top()) == row)
                    at = i;
            QVERIFY2(at >= 0, qPrintable(QString("rib %1 is not printed").arg(r)));
            for (int i = 0; i < words.size(); ++i)
                QVERIFY2(i == at || !boxes[i].adjusted(0.2, 0.2, -0.2, -0.2).intersects(boxes[at]),
                         qPrintable(QString("\"%1\" runs over rib %2").arg(words[i]).arg(r)));
        }
        const QString text = pdfText(pdf);
        QCOMPARE(printedLines(text, brakes).size(), design->bridle.groups[get_curr_bridle_grup(selection)].lineCount);
        // The legend: lengths in metres, loads in kilograms.
        const QString legend = text.simplified();
        QVERIFY(!legend.contains("mm]"));
        QVERIFY(legend.contains(brakes ? "[length to cut, m]" : "[..length..m] <..loading..kg>"));
    }

    // The printed table is the cut list of the lines: every line's label is
    // on the page, and no word on it covers another (poppler's word boxes
    // read back from the PDF). The tree's lines cross only where the ribs
    // their branches hold interleave. Every group of both shipped designs.
    void printedTableReadable_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("selection");
        for (int cells : {34, 35})
            for (int sel : {2, 3, 4, 5, 7})
                QTest::addRow("%d cells, %s", cells, qPrintable(GrupLineLetter(sel))) << cells << sel;
    }
    void printedTableReadable()
    {
        QFETCH(int, cells);
        QFETCH(int, selection);
        if (!QFileInfo::exists(kPdfToText))
            QSKIP("poppler-utils is not installed");
        const auto shipped = defaultDesign(cells);
        QVERIFY(shipped);
        const auto saved = std::make_unique<ParaStruct>(*design);
        struct Restore {
            ParaStruct* into;
            const ParaStruct& from;
            ~Restore() { *into = from; }
        } restore{design, *saved};
        *design = *shipped;
        BridleView view;
        view.setLineSelection(selection);
        view.resize(1024, 768);
        view.getLineGrupData();
        QVERIFY(!view.table().graph.isEmpty());
        ScriptedUser user;
        const QString pdf = dir.filePath(QString("readable-%1-%2.pdf").arg(cells).arg(selection));
        printToPdf(user, pdf);
        view.printPage();

        QList<PdfWord> words;
        QSizeF page;
        QVERIFY(pdfWords(pdf, &words, &page));
        for (int i = 0; i < words.size(); ++i)
            for (int j = i + 1; j < words.size(); ++j)
                QVERIFY2(!words[i].box.adjusted(0.1, 0.1, -0.1, -0.1).intersects(words[j].box),
                         qPrintable(QString("\"%1\" and \"%2\" cover each other at %3, %4 pt")
                                        .arg(words[i].text, words[j].text)
                                        .arg(words[i].box.left(), 0, 'f', 1)
                                        .arg(words[i].box.top(), 0, 'f', 1)));
        const QString text = withoutSpaces(pdfText(pdf));
        for (const QString& label : view.labels())
            QVERIFY2(text.contains(withoutSpaces(label)), qPrintable(label + " is not on the page"));

        // The lines as drawn.
        const int frameBottom = Bridle_Table_Frame_Point(design, design->lastRib, 7, false).y();
        const QList<QPair<int, int>> crossing = tablecheck::crossingLines(view.table(), frameBottom);
        QVERIFY2(crossing.isEmpty(), qPrintable(QString("lines %1 and %2 cross")
                                                     .arg(crossing.value(0).first)
                                                     .arg(crossing.value(0).second)));
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
        view.setLineSelection(3);
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
        view.setLineSelection(2);
        view.getLineGrupData();
        ScriptedUser user;   // answers Cancel
        view.printPage();
        QCOMPARE(user.count("print"), 1);
        QCOMPARE(user.all("print"), QString("Print this page ?   "));
    }

    // A refresh with no group selected draws no table: one line in the
    // middle of the sheet says where to choose a group; selecting a group
    // draws it; the labels follow the group's lines.
    void emptyWithoutGroup()
    {
        BridleView view;
        view.resize(600, 400);
        view.setLineSelection(-1);
        view.getLineGrupData();
        QCOMPARE(view.groupSlot(), -1);
        QVERIFY(view.table().graph.isEmpty());
        QImage blank = view.grab().toImage();
        const QRgb ground = blank.pixel(5, 5);
        int drawn = 0;
        int top = blank.height(), bottom = -1;
        for (int y = 0; y < blank.height(); ++y)
            for (int x = 0; x < blank.width(); ++x)
                if (blank.pixel(x, y) != ground) {
                    ++drawn;
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        QVERIFY(drawn > 0);
        QVERIFY2(bottom - top < 2 * view.fontMetrics().height(), qPrintable(QString("%1 .. %2").arg(top).arg(bottom)));
        QVERIFY(top > blank.height() / 3 && bottom < 2 * blank.height() / 3);
        // Activation without a group does not refresh either.
        view.activate_widget();
        QCOMPARE(view.groupSlot(), -1);
        view.setLineSelection(4);
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
        view.setLineSelection(2);
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
