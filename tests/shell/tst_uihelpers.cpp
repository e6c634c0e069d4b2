#include <QTest>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLocale>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <QLineEdit>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QLabel>
#include <QTabBar>

#include "widgets/widgetinteraction.h"
#include "tests/common/printtopdf.h"
#include "tests/common/scripteduser.h"
#include "tests/shell/shellfixture.h"
#include "widgets/textdraw.h"
#include "widgets/uihelpers.h"
#include <QImage>
#include <QTransform>

class TestUiHelpers : public QObject
{
    Q_OBJECT
    ScriptedUser user;
private slots:
    void init()
    {
        user.asked.clear();
        user.onPrint = nullptr;
    }

    void numbersFromFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "3,5" << 3.5;
        QTest::newRow("negative comma") << "-0,25" << -0.25;
        QTest::newRow("point") << "1.25" << 1.25;
        QTest::newRow("two separators") << "1.000,5" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("text") << "abc" << 0.0;
    }
    void numbersFromFields()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(QLocale::German));   // the locale must not matter
        QLineEdit edit(text);
        QCOMPARE(doubleFromEdit(&edit), value);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(CheckDoubleStr(text), QString(text).replace(',', '.'));
    }

    void questionGoesThroughTheSeam()
    {
        user.answerQuestions(true);
        QVERIFY(Break_Question("text", "more"));
        user.answerQuestions(false);
        QVERIFY(!Break_Question("text", "more"));
        QCOMPARE(user.count("question"), 2);
        QCOMPARE(user.asked[0].title, QString("text"));
        QCOMPARE(user.asked[0].text, QString("more"));
        Show_Warning("title", "message");
        QCOMPARE(user.all("warning"), QString("title message"));
    }

    // The real boxes behind the seam, inspected without being shown.
    void questionBoxDefaultsToCancel()
    {
        const auto box = WidgetInteraction::questionBox(nullptr, "text", "more");
        QCOMPARE(box->text(), QString("text"));
        QCOMPARE(box->informativeText(), QString("more (default cancel)"));
        // No box stands with an empty title bar: the program's name, or the
        // title given.
        QVERIFY(!QCoreApplication::applicationName().isEmpty());
        QCOMPARE(box->windowTitle(), QGuiApplication::applicationDisplayName());
        QCOMPARE(WidgetInteraction::boxTitle(QString()), QGuiApplication::applicationDisplayName());
        QCOMPARE(WidgetInteraction::boxTitle("  "), QGuiApplication::applicationDisplayName());
        QCOMPARE(WidgetInteraction::boxTitle("Load share"), QString("Load share"));
        QCOMPARE(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Cancel));

        const auto prompt = WidgetInteraction::savePromptBox(nullptr, "changed", "save?");
        QCOMPARE(prompt->standardButtons(), QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        QCOMPARE(static_cast<QAbstractButton*>(prompt->defaultButton()), prompt->button(QMessageBox::Save));
        QCOMPARE(prompt->informativeText(), QString("save?"));
        QCOMPARE(prompt->windowTitle(), QGuiApplication::applicationDisplayName());
    }

    void tabSelect()
    {
        QTabWidget tabs;
        auto* page = new QLabel("set light gray color");
        tabs.addTab(page, "Bridle model");
        tabs.addTab(new QWidget, "Riser");
        QFont f;
        f.setBold(false);
        Tab_Select(1, f, &tabs);
        QCOMPARE(tabs.tabText(0), QString("bridle model"));
        QCOMPARE(tabs.tabText(1), QString("RISER"));
        QVERIFY(tabs.tabBar()->font().bold());
        QVERIFY(!page->font().bold());   // the pages keep their own font

        QTabWidget other;
        other.addTab(new QWidget, "Aa");
        Tab_Select(5, f, &other);
        QCOMPARE(other.tabText(0), QString("aa"));
        QVERIFY(!other.tabBar()->font().bold());
    }

    void fileNameOfPath()
    {
        QCOMPARE(strippedName("/a/b/alpha.prg"), QString("alpha.prg"));
        QCOMPARE(strippedName("alpha.prg"), QString("alpha.prg"));
    }

    void printOnALandscapePage()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("page.pdf");
        bool asked = false;
        user.onPrint = [&](QPrinter* printer) {
            asked = true;
            EXPECT_LANDSCAPE(printer);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        };
        QWidget w;
        w.resize(400, 300);
        Print_Widget(&w);
        QVERIFY(asked);
        QVERIFY(fileBytes(pdf).startsWith("%PDF"));

        user.onPrint = [&](QPrinter* printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(dir.filePath("none.pdf"));
            return false;
        };
        Print_Widget(&w);
        QVERIFY(!QFile::exists(dir.filePath("none.pdf")));
    }

    // A drawing is printed scaled to the page and centred on its own middle,
    // whatever the size of the screen: marks at its left and right edge land
    // equally far from the page's edges (read back with poppler's pdftotext).
    void printedDrawingIsCentred()
    {
        if (!QFileInfo::exists(kPdfToText))
            QSKIP("poppler-utils is not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath("centred.pdf");
        printToPdf(user, pdf);
        Print_Drawing(QSize(2000, 300), [](QPainter* p) {
            p->drawText(QPointF(0, 150), "LEFTMARK");
            p->drawText(QRectF(1500, 140, 500, 20), Qt::AlignRight, "RIGHTMARK");
        });
        QProcess poppler;
        poppler.start(kPdfToText, {"-bbox", pdf, "-"});
        QVERIFY(poppler.waitForFinished(-1));
        const QString html = QString::fromUtf8(poppler.readAllStandardOutput());
        auto number = [&](const QString& pattern) {
            const QRegularExpressionMatch m = QRegularExpression(pattern).match(html);
            return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
        };
        const double pageWidth = number(R"re(<page width="([\d.]+)")re");
        const double left = number(R"re(xMin="([\d.]+)"[^>]*>LEFTMARK)re");
        const double right = number(R"re(xMax="([\d.]+)"[^>]*>RIGHTMARK)re");
        QVERIFY2(pageWidth > 800 && left >= 0 && right > 0, qPrintable(html));
        QVERIFY2(qAbs(left - (pageWidth - right)) < 3.0,
                 qPrintable(QString("%1 %2 %3").arg(left).arg(right).arg(pageWidth)));
    }

private:
    static void EXPECT_LANDSCAPE(QPrinter* printer)
    {
        QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::A4);
        QCOMPARE(printer->colorMode(), QPrinter::GrayScale);
    }

    void textDrawing()
    {
        QImage image(200, 200, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(20);
        painter.setFont(font);
        const QTransform before = painter.transform();
        DrawVerticalText(&painter, "WWWWWW", QPointF(100, 190));
        QCOMPARE(painter.transform(), before);
        DrawAngledText(&painter, "x", QPointF(0, 0), QPointF(10, 10));
        DrawDirectedText(&painter, "x", QPointF(0, 0), 30);
        QCOMPARE(painter.transform(), before);
        painter.end();

        // Text turned by -90 degrees runs upward from the anchor: its ink
        // is taller than wide and lies above the anchor.
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 30; x < image.width(); ++x)
                if (image.pixelColor(x, y) != Qt::white)
                    ink |= QRect(x, y, 1, 1);
        QVERIFY(!ink.isEmpty());
        QVERIFY2(ink.height() > 2 * ink.width(), qPrintable(QString("%1x%2").arg(ink.width()).arg(ink.height())));
        QVERIFY(ink.bottom() <= 190 && ink.right() <= 100);
    }
};

QTEST_MAIN(TestUiHelpers)
#include "tst_uihelpers.moc"
