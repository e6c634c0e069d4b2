// The analyser's window: form, start-up state, the angle of incidence from
// the slider and the edit, loading, printing through the print dialog seam.

#include "apps/aerolyx/calc/flow.h"
#include "tests/common/foilgen.h"
#include "apps/aerolyx/ui/mainwindow.h"
#include "tests/common/scripteduser.h"
#include "tests/common/xfoilrun.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QAction>
#include <QByteArray>
#include <QFileInfo>
#include <QIODevice>
#include <QLineEdit>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPolygonF>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

using namespace aerolyx;

class TestWindow : public QObject {
    Q_OBJECT
    ScriptedUser user;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    QString foil;

    QString Circulation_Text() const { return QString("%1").arg(-Circulation(GetMyData()), 0, 'f', 4); }
    // A copy for a person to look at, when asked for.
    static void Keep(const QString& path)
    {
        const QString shots = qEnvironmentVariable("AEROLYX_SHOTS");
        if (!shots.isEmpty())
            QFile::copy(path, shots + "/" + QFileInfo(path).fileName());
    }
    void Type_Angle(const QString& text)
    {
        w->attangleEdit->setText(text);
        emit w->attangleEdit->editingFinished();
    }

private slots:
    void initTestCase()
    {
        foil = foilgen::writeFile(dir.path(), "naca2412.dat",
                                              foilgen::plainTable(foilgen::naca4({0.02, 0.4, 0.12, true}, 81)));
        w = std::make_unique<MainWindow>();
        w->resize(1000, 800);
    }

    void startUpState()
    {
        QCOMPARE(w->currentFileLabel->text(), QString("empty"));
        QCOMPARE(w->thicknessEdit->text(), QString("0.0"));
        QCOMPARE(w->nonliftangleEdit->text(), QString("0.0"));
        QCOMPARE(w->attangleEdit->text(), QString("0.00"));
        QCOMPARE(w->circulationEdit->text(), QString("0.0000"));
        QCOMPARE(GetMyData()->gridDensity, 2.5);
        QCOMPARE(w->Load_Count(), 0);
        QVERIFY(w->windowTitle().startsWith(" Aerolyx "));
        QCOMPARE(w->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(w->angleSlider->minimum(), -200);
        QCOMPARE(w->angleSlider->maximum(), 200);
        for (QLineEdit* e : {w->thicknessEdit, w->nonliftangleEdit, w->circulationEdit, w->attangleEdit})
            QCOMPARE(e->maxLength(), 12);
        QVERIFY(!w->attangleEdit->isReadOnly() && w->circulationEdit->isReadOnly());

        const QStringList titles{"C. map", "Pressure", "stream lines", "V polar", "C p polar", "CL,Cm polars", "Map functions"};
        QCOMPARE(w->tabWidget->count(), titles.size());
        for (int i = 0; i < titles.size(); ++i)
            QCOMPARE(w->tabWidget->tabText(i), titles[i]);
        QCOMPARE(w->tabWidget->currentIndex(), 0);
        QCOMPARE(w->menuMenu->title(), QString("Files"));
        QCOMPARE(w->menuAbout->title(), QString("About"));
        QCOMPARE(w->menuPrint->title(), QString("Save"));
        QCOMPARE(w->actionSave_aifroil_table->text(), QString("save aifroil table"));
    }

    // The panel's texts sit in boxes of fixed size, measured for Times New
    // Roman: it or the face with its metrics is used, and every text fits
    // its box whole.
    void panelTextsFit()
    {
        const QStringList metricTwins{"Times New Roman", "Liberation Serif"};
        for (QLabel* label : w->frame->findChildren<QLabel*>()) {
            if (label == w->currentFileLabel)
                continue;
            QVERIFY2(metricTwins.contains(QFontInfo(label->font()).family()), qPrintable(QFontInfo(label->font()).family()));
            const QFontMetrics m(label->font());
            const QRect box = label->contentsRect();
            const QRect needed = label->wordWrap() ? m.boundingRect(box, Qt::TextWordWrap, label->text())
                                                   : m.boundingRect(label->text());
            QVERIFY2(needed.width() <= box.width() && m.height() <= box.height()
                         && (!label->wordWrap() || needed.height() <= box.height()),
                     qPrintable(QString("\"%1\" needs %2 x %3, has %4 x %5").arg(label->text()).arg(needed.width())
                                    .arg(needed.height()).arg(box.width()).arg(box.height())));
        }
        for (QPushButton* button : w->frame->findChildren<QPushButton*>()) {
            const QFontMetrics m(button->font());
            QVERIFY2(m.horizontalAdvance(button->text()) + 8 <= button->width(), qPrintable(button->text()));
        }
    }

    void nothingToRecalculateBeforeALoad()
    {
        QTest::mousePress(w->conmapButton, Qt::LeftButton);
        QVERIFY(GetMyData()->zeroFoil.isEmpty());
        QCOMPARE(GetMyData()->iterationCount, 0);
        QTest::mouseRelease(w->conmapButton, Qt::LeftButton);
    }

    void angleFromTheEdit_data()
    {
        QTest::addColumn<int>("sliderBefore");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("angle");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("slider");
        QTest::newRow("clamped above") << 0 << "25" << 20.0 << "20.00" << 200;
        QTest::newRow("clamped, slider already there") << 200 << "25" << 20.0 << "25" << 200;
        QTest::newRow("clamped below") << 0 << "-30" << -20.0 << "-20.00" << -200;
        QTest::newRow("letters, slider elsewhere") << 10 << "abc" << 0.0 << "0.00" << 0;
        QTest::newRow("letters, slider at 0") << 0 << "abc" << 0.0 << "abc" << 0;
        QTest::newRow("comma is not a decimal point") << 0 << "1,5" << 0.0 << "1,5" << 0;
        QTest::newRow("slider takes a tenth") << 10 << "5.55" << 5.5 << "5.50" << 55;
        QTest::newRow("slider already there") << 55 << "5.55" << double(5.55f) << "5.55" << 55;
        QTest::newRow("truncates toward zero") << 0 << "-0.05" << double(-0.05f) << "-0.05" << 0;
    }

    void angleFromTheEdit()
    {
        QFETCH(int, sliderBefore);
        QFETCH(QString, typed);
        QFETCH(double, angle);
        QFETCH(QString, text);
        QFETCH(int, slider);
        w->angleSlider->setValue(sliderBefore);
        Type_Angle(typed);
        QCOMPARE(w->Incidence(), angle);
        QCOMPARE(GetMyData()->attackAngle, angle);
        QCOMPARE(w->attangleEdit->text(), text);
        QCOMPARE(w->angleSlider->value(), slider);
        QCOMPARE(w->circulationEdit->text(), Circulation_Text());
    }

    void angleFromTheSlider_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("lowest") << -200 << "-20.00";
        QTest::newRow("one step") << 1 << "0.10";
        QTest::newRow("highest") << 200 << "20.00";
    }

    void angleFromTheSlider()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        w->angleSlider->setValue(0);
        w->angleSlider->setValue(value);
        QCOMPARE(w->attangleEdit->text(), text);
        QCOMPARE(GetMyData()->attackAngle, value / 10.0);
        QCOMPARE(w->circulationEdit->text(), Circulation_Text());
    }

    void failedLoadKeepsEverything()
    {
        QString why;
        QVERIFY(!w->Open_Airfoil(dir.filePath("missing.dat"), &why));
        QVERIFY(!why.isEmpty());
        QCOMPARE(w->currentFileLabel->text(), QString("empty"));
        QCOMPARE(w->Current_File(), QString("empty"));
        QCOMPARE(w->Load_Count(), 0);
        QVERIFY(GetMyData()->zeroFoil.isEmpty());
    }

    void load()
    {
        w->angleSlider->setValue(30);
        QVERIFY(w->Open_Airfoil(foil));
        const myData* d = GetMyData();
        QCOMPARE(w->Load_Count(), 1);
        QCOMPARE(w->currentFileLabel->text(), QString("naca2412.dat"));
        QCOMPARE(d->foilName, QString("naca2412.dat"));
        QCOMPARE(d->workFoil.size(), 128);
        // The window keeps the 128 points that went into the record.
        QCOMPARE(w->Foil_Poly(), d->workFoil);
        QCOMPARE(w->Resampled_Poly(), d->workFoil);
        // A load does not change the angle; the circulation follows the new
        // zero-lift angle.
        QCOMPARE(d->attackAngle, 3.0);
        QCOMPARE(w->circulationEdit->text(), Circulation_Text());
        QCOMPARE(w->nonliftangleEdit->text(), QString("%1").arg(180 * d->zeroLiftAngle / M_PI, 4, 'f', 3));
        QVERIFY(d->zeroLiftAngle < 0); // positive camber lifts at zero incidence
        QVERIFY2(w->thicknessEdit->text().toDouble() > 11.5 && w->thicknessEdit->text().toDouble() < 12.5,
                 qPrintable(w->thicknessEdit->text()));

        QTest::mousePress(w->conmapButton, Qt::LeftButton);
        QTest::mouseRelease(w->conmapButton, Qt::LeftButton);
        QVERIFY(d->iterationCount >= 1 && d->iterationCount <= 1001);
        QCOMPARE(w->cursor().shape(), Qt::ArrowCursor);
    }

    // A symmetric airfoil does not lift at zero incidence: its zero-lift
    // angle reads 0.000 whichever side of zero the last digit of the
    // computation falls on, never -0.000; the files as a formula writes
    // them and as xfoil saves them.
    void symmetricAirfoilReadsZero_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("closed trailing edge")
            << foilgen::writeFile(dir.path(), "sym_closed.dat",
                                  foilgen::plainTable(foilgen::naca4({0.0, 0.0, 0.12, true}, 81)));
        QTest::newRow("blunt trailing edge")
            << foilgen::writeFile(dir.path(), "sym_blunt.dat",
                                  foilgen::plainTable(foilgen::naca4({0.0, 0.0, 0.12, false}, 61)));
        xfoilrun::Session s;
        s.naca = "0012";
        s.points = {160, 99};
        if (!xfoilrun::program().isEmpty() && xfoilrun::run(dir.path(), s)) {
            QTest::newRow("xfoil, 160 points") << dir.filePath(xfoilrun::fileName(s, 160));
            QTest::newRow("xfoil, 99 points") << dir.filePath(xfoilrun::fileName(s, 99));
        }
    }

    void symmetricAirfoilReadsZero()
    {
        QFETCH(QString, file);
        QVERIFY(w->Open_Airfoil(file));
        QVERIFY2(std::abs(GetMyData()->zeroLiftAngle) < 1e-6, qPrintable(w->nonliftangleEdit->text()));
        QCOMPARE(w->nonliftangleEdit->text(), QString("0.000"));
        QTest::mousePress(w->conmapButton, Qt::LeftButton);
        QTest::mouseRelease(w->conmapButton, Qt::LeftButton);
        QCOMPARE(w->nonliftangleEdit->text(), QString("0.000"));
        QVERIFY(w->Open_Airfoil(foil));
    }

    // A file the analyser cannot take leaves the window and the record with
    // the airfoil before it, and says why.
    void refusedFileKeepsTheAirfoil_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("two points") << "GEN\n1.0 0.0\n0.0 0.0\n" << "too few points";
        const QPolygonF contour = foilgen::naca4({0.02, 0.4, 0.12, false}, 61);
        QTest::newRow("separate sides")
            << foilgen::separateSidesTable(foilgen::upperSide(contour), foilgen::lowerSide(contour)) << "separately";
    }

    void refusedFileKeepsTheAirfoil()
    {
        QFETCH(QString, text);
        QFETCH(QString, reason);
        const myData before = *GetMyData();
        const QStringList panel{w->currentFileLabel->text(), w->thicknessEdit->text(), w->nonliftangleEdit->text(),
                                w->circulationEdit->text()};
        const int loads = w->Load_Count();
        QString why;
        QVERIFY(!w->Open_Airfoil(foilgen::writeFile(dir.path(), "refused.dat", text), &why));
        QVERIFY2(why.contains(reason), qPrintable(why));
        QCOMPARE(w->Load_Count(), loads);
        QCOMPARE((QStringList{w->currentFileLabel->text(), w->thicknessEdit->text(), w->nonliftangleEdit->text(),
                              w->circulationEdit->text()}),
                 panel);
        const myData* d = GetMyData();
        QCOMPARE(d->foilName, before.foilName);
        QCOMPARE(d->workFoil, before.workFoil);
        QCOMPARE(d->mapScale, before.mapScale);
        QCOMPARE(d->zeroLiftAngle, before.zeroLiftAngle);
    }

    void printMenuEntries()
    {
        std::unique_ptr<QMenu> menu(w->Build_Print_Menu());
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList{"print Conformal map", "print Stream lines", "print V polar", "print Cp polar"}));
    }

    void printToPdf()
    {
        const QString pdf = dir.filePath("velocity.pdf");
        bool landscape = false, grey = false, a4 = false;
        user.onPrint = [&](QPrinter* printer) {
            landscape = printer->pageLayout().orientation() == QPageLayout::Landscape;
            grey = printer->colorMode() == QPrinter::GrayScale;
            a4 = printer->pageLayout().pageSize().id() == QPageSize::A4;
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        };
        w->PrintSelectedPage(2);
        QVERIFY(landscape && grey && a4);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.size() > 2000);
        Keep(pdf);
    }

    void cancelledPrintWritesNothing()
    {
        const QString pdf = dir.filePath("cancelled.pdf");
        user.onPrint = [&](QPrinter* printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return false;
        };
        w->PrintSelectedPage(0);
        w->Print_airfoil_table();
        QVERIFY(!QFile::exists(pdf));
    }

    void printAirfoilTable()
    {
        const QString pdf = dir.filePath("table.pdf");
        user.onPrint = [&](QPrinter* printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        };
        w->Print_airfoil_table();
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("%PDF"));
        Keep(pdf);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_aerolyxwindow.moc"
