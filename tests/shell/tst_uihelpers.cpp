#include <QtTest>

#include <QLineEdit>
#include <QAbstractButton>
#include <QMessageBox>
#include <QPrinter>
#include <QTabWidget>

#include "modalhooks.h"
#include "shellfixture.h"
#include "uihelpers.h"

class TestUiHelpers : public QObject
{
    Q_OBJECT
private slots:
    void init() { ModalHooks::reset(); }

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

    void questionBox()
    {
        // Enter answers with the default button, Cancel.
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            auto* mb = qobject_cast<QMessageBox*>(box);
            QCOMPARE(mb->text(), QString("text"));
            QCOMPARE(mb->informativeText(), QString("more (default cancel)"));
            QCOMPARE(mb->windowTitle(), QString());
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(!Break_Question("text", "more"));

        QTimer::singleShot(0, [] {
            auto* mb = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(mb);
            QTest::mouseClick(static_cast<QWidget*>(mb->button(QMessageBox::Ok)), Qt::LeftButton);
        });
        QVERIFY(Break_Question("text", "more"));

        QTimer::singleShot(0, [] {
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        QVERIFY(!Break_Question("text", "more"));
    }

    void tabSelect()
    {
        QTabWidget tabs;
        tabs.addTab(new QWidget, "Bridle model");
        tabs.addTab(new QWidget, "Riser");
        QFont f;
        f.setBold(false);
        Tab_Select(1, f, &tabs);
        QCOMPARE(tabs.tabText(0), QString("bridle model"));
        QCOMPARE(tabs.tabText(1), QString("RISER"));
        QVERIFY(tabs.font().bold());

        QTabWidget other;
        other.addTab(new QWidget, "Aa");
        Tab_Select(5, f, &other);
        QCOMPARE(other.tabText(0), QString("aa"));
        QVERIFY(!other.font().bold());
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
        ModalHooks::printDialog = [&](QPrinter* printer, QWidget*) {
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

        ModalHooks::printDialog = [&](QPrinter* printer, QWidget*) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(dir.filePath("none.pdf"));
            return false;
        };
        Print_Widget(&w);
        QVERIFY(!QFile::exists(dir.filePath("none.pdf")));
    }

private:
    static void EXPECT_LANDSCAPE(QPrinter* printer)
    {
        QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::A4);
        QCOMPARE(printer->colorMode(), QPrinter::GrayScale);
    }
};

QTEST_MAIN(TestUiHelpers)
#include "tst_uihelpers.moc"
