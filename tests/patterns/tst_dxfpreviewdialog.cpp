// The "Preview and export" dialog on the live design, offscreen: tabs,
// previews, zoom and pan, the buttons, and "Export all" with its report.

#include <QTest>
#include <QApplication>
#include <QColor>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QLatin1String>
#include <QLineF>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QTabWidget>
#include <QWheelEvent>

#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

#include "tests/common/dxfcheck.h"
#include "tests/common/recordimage.h"
#include "geom/sheet.h"
#include "graphics/piececolouring.h"
#include "shape/ui/datadialog.h"
#include "patterns/ui/dxfpreviewdialog.h"
#include "tests/common/scripteduser.h"
#include "tests/common/statewait.h"
#include "patterns/ui/patternarea.h"
#include "tests/patterns/patternfixture.h"
#include "tests/common/statewait.h"
#include "patterns/patterngeom.h"
#include "patterns/panelsheet.h"
#include "patterns/patternsheet.h"

class TestDxfPreviewDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> out;
    std::unique_ptr<DxfPreviewDialog> dialog;
    std::unique_ptr<ScriptedUser> user;

    // What the user was told (warnings and information), in order.
    QStringList told() const
    {
        QStringList texts;
        for (const AskedEntry& e : user->asked)
            if (e.kind == QLatin1String("warning") || e.kind == QLatin1String("information"))
                texts << e.text;
        return texts;
    }
    QStringList kinds() const
    {
        QStringList k;
        for (const AskedEntry& e : user->asked)
            k << e.kind;
        return k;
    }

    QStringList outputFiles() const
    {
        return QDir(out->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    void useDesign(int cells)
    {
        *GetDataStruct() = *patternfixture::defaultDesign(cells);
    }

    void showFresh()
    {
        dialog->hide();
        dialog->resize(1000, 700);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
    }

    PatternArea* view() const { return dialog->pattwidget; }

    void sendMouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(pos), view()->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view(), &e);
    }

    void wheel(int delta)
    {
        const QPointF pos(200, 150);
        QCursor::setPos(view()->mapToGlobal(pos.toPoint()));
        QWheelEvent e(pos, view()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &e);
    }

private slots:
    void initTestCase()
    {
        useDesign(8);
        dialog = std::make_unique<DxfPreviewDialog>();
    }

    void init()
    {
        // A small wing keeps the previews quick; the tests of the default
        // design's sheet and export choose it themselves.
        useDesign(8);
        out = std::make_unique<QTemporaryDir>();
        GetGlobClass()->dxfDir = out->path();
        user = std::make_unique<ScriptedUser>();
    }

    // The dialog is modal: it does not stay open between the tests.
    void cleanup()
    {
        dialog->hide();
        user.reset();
    }

    void cleanupTestCase() { dialog.reset(); }

    void formAsSpecified()
    {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Preview and export"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->minimumSize(), QSize(823, 602));
        QCOMPARE(dialog->dxf_tabWidget->count(), 8);
        QCOMPARE(dialog->dxf_tabWidget->tabShape(), QTabWidget::Triangular);
        QCOMPARE(dialog->progressBar->parentWidget()->objectName(), QStringLiteral("Tab_7"));
        QCOMPARE(dialog->radioLineseg->parentWidget()->parentWidget(), view());
        QCOMPARE(dialog->radioLineseg->text(), QStringLiteral("line segments"));
        QCOMPARE(dialog->radioSplineseg->text(), QStringLiteral("spline seg."));
        QCOMPARE(dialog->wide_spacing_on->text(), QStringLiteral("wide spacing"));
        QCOMPARE(dialog->dataButton->text(), QStringLiteral("oversew data"));
        QCOMPARE(dialog->exitButton->text(), QStringLiteral("exit"));
        QVERIFY(view()->hasMouseTracking());
        QCOMPARE(dialog->lastPreview(), 0);
        // no slot ran while the form was built: no tab title was marked yet
        QCOMPARE(dialog->dxf_tabWidget->tabText(0), QStringLiteral("Patterns"));
        QCOMPARE(dialog->dxf_tabWidget->tabText(6), QStringLiteral("Export all"));
    }

    // Showing selects the neutral tab and neither draws nor writes; the
    // view says what to choose, also when the neutral tab is chosen again
    // after a sheet was shown.
    void showWritesNothing()
    {
        showFresh();
        QCOMPARE(dialog->dxf_tabWidget->currentIndex(), 7);
        QCOMPARE(dialog->dxf_tabWidget->tabText(7), QStringLiteral("S"));
        QCOMPARE(dialog->dxf_tabWidget->tabText(0), QStringLiteral("patterns"));
        QVERIFY(view()->picture().isEmpty());
        auto darkPixels = [this] {
            const QImage shown = view()->grab().toImage();
            int dark = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    dark += shown.pixelColor(x, y).lightness() < 60;
            return dark;
        };
        QVERIFY2(darkPixels() > 50, "the hint is drawn");
        dialog->dxf_tabWidget->setCurrentIndex(RibPatterns);
        dialog->dxf_tabWidget->setCurrentIndex(7);
        QVERIFY(view()->picture().isEmpty());
        QVERIFY2(darkPixels() > 50, "the hint is drawn again");
        QVERIFY(outputFiles().isEmpty());
        QCOMPARE(dialog->progressBar->value(), 0);
        QVERIFY(told().isEmpty());
    }

    void panelTabPreviews()
    {
        useDesign(34);
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        QCOMPARE(dialog->dxf_tabWidget->tabText(0), QStringLiteral("PATTERNS"));
        QCOMPARE(dialog->dxf_tabWidget->tabText(1), QStringLiteral("ribs"));
        QVERIFY(!view()->picture().isEmpty());
        QVERIFY(outputFiles().isEmpty());
        QVERIFY(told().isEmpty());
        // the rib and diagonal sheets of the default design (it has neither
        // mini-ribs nor straps)
        for (int tab : {RibPatterns, DiagonalPatterns}) {
            dialog->dxf_tabWidget->setCurrentIndex(tab);
            QVERIFY2(!view()->picture().isEmpty(), qPrintable(dialog->dxf_tabWidget->tabText(tab)));
            QCOMPARE(dialog->lastPreview(), tab);
        }
        QVERIFY(outputFiles().isEmpty());
        QVERIFY(told().isEmpty());
    }

    void zoomAndPan()
    {
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        // The sheet opened whole; the wheel goes no lower than 0.5, or than
        // that fit where it went lower.
        const double fitted = view()->zoomFactor();
        for (int k = 0; k < 12; ++k)
            wheel(-120);
        QCOMPARE(view()->zoomFactor(), std::min(0.5, fitted));
        // right button: zoom 1 about (0, 0)
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton, Qt::RightButton);
        QCOMPARE(view()->zoomFactor(), 1.0);
        QCOMPARE(view()->zoomAnchor(), QPointF(0, 0));
        wheel(120);
        QCOMPARE(view()->zoomFactor(), 1.5);
        QCOMPARE(view()->zoomAnchor(), QPointF(200, 150));
        // left button: the picture framed by a twentieth of its height and
        // fitted into the view below the band of the cut-mode buttons, in
        // its middle
        const QRectF before = view()->picture().controlPointRect();
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
        const double m = int(before.height() / 20);
        const double z = view()->zoomFactor();
        const QRectF sheet = view()->picture().controlPointRect();
        const QRectF framed = QRectF(sheet.topLeft() * z, sheet.bottomRight() * z).adjusted(-m * z, -m * z, m * z, m * z);
        const QRectF area = QRectF(view()->rect()).adjusted(0, 36, 0, 0);
        QVERIFY(area.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(framed));
        QVERIFY(std::abs(framed.width() - area.width()) < 1e-6 || std::abs(framed.height() - area.height()) < 1e-6);
        QVERIFY(QLineF(framed.center(), area.center()).length() < 1e-6);
        QCOMPARE(view()->zoomAnchor(), QPointF(0, 0));
        // middle button: the first pan step comes with the tenth move
        const double zoom = view()->zoomFactor();
        sendMouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton, Qt::MiddleButton);
        const QPointF start = view()->picture().controlPointRect().topLeft();
        for (int k = 1; k <= 9; ++k)
            sendMouse(QEvent::MouseMove, QPoint(100 + 5 * k, 100), Qt::NoButton, Qt::MiddleButton);
        QCOMPARE(view()->picture().controlPointRect().topLeft(), start);
        sendMouse(QEvent::MouseMove, QPoint(150, 100), Qt::NoButton, Qt::MiddleButton);
        const QPointF moved = view()->picture().controlPointRect().topLeft() - start;
        QVERIFY(QLineF(moved, QPointF(50 / zoom, 0)).length() < 1e-9);
        sendMouse(QEvent::MouseButtonRelease, QPoint(150, 100), Qt::MiddleButton, Qt::NoButton);
        // without the middle button, moves do not pan
        for (int k = 1; k <= 10; ++k)
            sendMouse(QEvent::MouseMove, QPoint(150 + k, 120), Qt::NoButton, Qt::NoButton);
        QCOMPARE(view()->picture().controlPointRect().topLeft() - start, moved);
    }

    // Each tab's sheet opens whole the first time it is drawn after the
    // dialog was shown, at the form's size and in a large window alike; a
    // tab drawn before keeps the user's zoom; a click fits again, also after
    // the window was resized.
    void fitShowsTheWholeSheet_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::newRow("form's size") << QSize(823, 602);
        QTest::newRow("large") << QSize(1580, 960);
    }
    void fitShowsTheWholeSheet()
    {
        QFETCH(QSize, window);
        useDesign(34);
        dialog->hide();
        dialog->resize(window);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
        auto wholeSheetShown = [this](int tab) {
            // anchor (0, 0): a sheet point p shows at zoom x p
            const QRectF sheet = view()->picture().controlPointRect();
            const QRectF shown(sheet.topLeft() * view()->zoomFactor(), sheet.bottomRight() * view()->zoomFactor());
            const QRectF area = QRectF(view()->rect()).adjusted(0, 36, 0, 0);
            // inside, with a margin, and no postage stamp either: a side
            // spans most of the view
            return QTest::qVerify(area.contains(shown) && shown.top() > area.top() + 2
                                      && (shown.width() > 0.8 * area.width() || shown.height() > 0.8 * area.height()),
                                  "sheet shown whole", qPrintable(QStringLiteral("tab %1: %2 x %3 at %4, %5 in %6 x %7")
                                                                      .arg(tab)
                                                                      .arg(shown.width())
                                                                      .arg(shown.height())
                                                                      .arg(shown.x())
                                                                      .arg(shown.y())
                                                                      .arg(view()->width())
                                                                      .arg(view()->height())),
                                  __FILE__, __LINE__);
        };
        for (int tab : {PanelPatterns, RibPatterns, DiagonalPatterns}) {
            dialog->dxf_tabWidget->setCurrentIndex(tab);
            QVERIFY(!view()->picture().isEmpty());
            QVERIFY(wholeSheetShown(tab));
        }
        // the user's zoom stays when a tab drawn before is chosen again
        wheel(120);
        const double zoom = view()->zoomFactor();
        dialog->dxf_tabWidget->setCurrentIndex(RibPatterns);
        QCOMPARE(view()->zoomFactor(), zoom);
        // a window resized: the click's fit takes the view's new size
        dialog->resize(window + QSize(150, 40));
        WAIT_FOR_STATE(view()->width() > window.width() + 100);
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
        QVERIFY(wholeSheetShown(RibPatterns));
    }

    // The wheel zooms in steps of 0.5 down to 0.5, and below that, after a
    // fit that went lower, in halves down to the fit's zoom.
    void wheelSteps_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("delta");
        QTest::addColumn<double>("fitZoom");
        QTest::addColumn<double>("next");
        QTest::newRow("up from 1") << 1.0 << 120 << 0.0 << 1.5;
        QTest::newRow("down from 1") << 1.0 << -120 << 0.0 << 0.5;
        QTest::newRow("floor 0.5 without fit") << 0.5 << -120 << 0.0 << 0.5;
        QTest::newRow("up from 0.5") << 0.5 << 120 << 0.0 << 1.0;
        QTest::newRow("down to the fit") << 0.5 << -120 << 0.09 << 0.09;
        QTest::newRow("up from the fit") << 0.09 << 120 << 0.09 << 0.135;
        QTest::newRow("down from 0.2") << 0.2 << -120 << 0.09 << 0.1;
        QTest::newRow("fit above a step") << 1.0 << -120 << 0.8 << 0.5;
    }
    void wheelSteps()
    {
        QFETCH(double, zoom);
        QFETCH(int, delta);
        QFETCH(double, fitZoom);
        QFETCH(double, next);
        QVERIFY(std::abs(Wheel_Zoom(zoom, delta, 0.5, fitZoom) - next) < 1e-12);
    }

    // A sheet without pieces says so, in the view, instead of an empty grey
    // area; a sheet with pieces says nothing.
    void emptySheetSaysWhy()
    {
        ParaStruct* d = GetDataStruct();
        std::fill(std::begin(d->frontRibEnabled), std::end(d->frontRibEnabled), false);
        std::fill(std::begin(d->rearRibEnabled), std::end(d->rearRibEnabled), false);
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(RearMiniRibPatterns);
        QVERIFY(view()->picture().isEmpty());
        QCOMPARE(view()->emptySheetNote(), QStringLiteral("no rear mini-ribs in this design"));
        dialog->dxf_tabWidget->setCurrentIndex(FrontMiniRibPatterns);
        QVERIFY(view()->picture().isEmpty());
        QCOMPARE(view()->emptySheetNote(), QStringLiteral("no front mini-ribs in this design"));
        const QImage shown = view()->grab().toImage();
        const QString shot = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        if (!shot.isEmpty())
            dialog->grab().toImage().save(shot + QStringLiteral("/preview_empty_sheet.png"));
        int dark = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                dark += shown.pixelColor(x, y).lightness() < 60;
        QVERIFY2(dark > 50, qPrintable(QString::number(dark))); // the words are drawn
        dialog->dxf_tabWidget->setCurrentIndex(RibPatterns);
        QVERIFY(!view()->picture().isEmpty());
        QVERIFY(view()->emptySheetNote().isEmpty());
        QCOMPARE(Empty_Sheet_Text(StrapPatterns), QStringLiteral("no straps in this design"));
        QCOMPARE(Empty_Sheet_Text(Drawing3D), QString());
    }

    // Fitting an empty picture leaves the view as it is (there is nothing to
    // frame: the fit scale would be infinite).
    void fittingNothing()
    {
        for (bool& cell : GetDataStruct()->rearRibEnabled)
            cell = false;
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(RearMiniRibPatterns); // none in the design: an empty sheet
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton, Qt::RightButton);
        QVERIFY(view()->picture().isEmpty());
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(view()->zoomFactor(), 1.0);
        wheel(-120);
        QCOMPARE(view()->zoomFactor(), 0.5);
    }

    // "Export all" writes every pattern file into the project's output
    // directory and reports each; a later preview writes nothing.
    void exportAll()
    {
        useDesign(34);
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(6);
        QCOMPARE(kinds(), (QStringList{"information", "information"}));
        QCOMPARE(told().at(0), QStringLiteral(" Export ALL to DXF subdirectory press OK and wait few moments ..."));
        QVERIFY(told().at(1).contains(QStringLiteral("    longpatt.dxf")));
        QVERIFY(!told().at(1).contains(QStringLiteral("Not written")));
        QCOMPARE(dialog->progressBar->value(), 100);
        QStringList all;
        for (const PatternWriter& w : Pattern_Writers()) {
            all << w.fileName;
            QVERIFY2(told().at(1).contains(QStringLiteral("    ") + w.fileName), qPrintable(w.fileName));
        }
        QStringList files = outputFiles();
        files.sort();
        all.sort();
        QCOMPARE(files, all);
        const QString path = out->filePath(QStringLiteral("longpatt.dxf"));
        const QJsonObject dxf = ReadDxfWithEzdxf(path);
        QVERIFY(dxf.value(QStringLiteral("ok")).toBool());
        QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);

        // Dated back, so that a rewrite would show however fast it came.
        const QDateTime written = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() - 86400, Qt::UTC);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(written, QFileDevice::FileModificationTime));
        }
        const qint64 size = QFileInfo(path).size();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        QVERIFY(!view()->picture().isEmpty());
        QCOMPARE(QFileInfo(path).lastModified().toUTC(), written);
        QCOMPARE(QFileInfo(path).size(), size);
        QCOMPARE(outputFiles().size(), all.size());
    }

    // Clicking "wide spacing" on the export tab redraws the last preview;
    // the next show switches it off again.
    void wideSpacingRedrawsTheLastPreview()
    {
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        const QRectF narrow = view()->picture().boundingRect();
        dialog->dxf_tabWidget->setCurrentIndex(6);
        user->asked.clear();
        dialog->wide_spacing_on->click();
        QVERIFY(dialog->sheetOptions().wideSpacing);
        QVERIFY(view()->picture().boundingRect().width() > 1.8 * narrow.width());
        QVERIFY(told().isEmpty());
        showFresh();
        QVERIFY(!dialog->sheetOptions().wideSpacing);
        QVERIFY(!dialog->wide_spacing_on->isChecked());
    }

    // The dialog's choices are its own: choosing redraws the preview and
    // leaves the design it shows as it was, byte for byte.
    void choicesLeaveTheDesign()
    {
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(1);
        const QByteArray before = recordImage(*GetDataStruct());
        const int narrow = view()->picture().elementCount();
        dialog->wide_spacing_on->click();
        QVERIFY(view()->picture().elementCount() > narrow); // the ribs' seam lines
        QVERIFY(recordImage(*GetDataStruct()) == before);
        QTest::mouseClick(dialog->radioSplineseg, Qt::LeftButton);
        QVERIFY(recordImage(*GetDataStruct()) == before);
        QTest::mouseClick(dialog->radioLineseg, Qt::LeftButton);
        dialog->wide_spacing_on->click();
        QCOMPARE(view()->picture().elementCount(), narrow);
        QVERIFY(recordImage(*GetDataStruct()) == before);
    }

    // The cut mode the buttons show is the one "Export all" writes with, and
    // it stays as the user chose it: from one show to the next, and when the
    // design dialog's colouring (which cuts along the curves) was shown in
    // between.
    void cutModeIsTheDialogsOwn()
    {
        useDesign(34);
        ParaStruct* d = GetDataStruct();
        QVERIFY(!d->designSplines.isEmpty());
        showFresh();
        QVERIFY(dialog->radioLineseg->isChecked());

        const QString cnp = out->filePath(QStringLiteral("colours.cnp"));
        GetGlobClass()->cnpPath = cnp;
        PieceColouring(d).Show(QRect(0, 0, 1000, 600));
        GetGlobClass()->cnpPath.clear();
        showFresh();
        QVERIFY(dialog->radioLineseg->isChecked());
        QVERIFY(!dialog->radioSplineseg->isChecked());

        auto exported = [this] {
            dialog->dxf_tabWidget->setCurrentIndex(6);
            dialog->dxf_tabWidget->setCurrentIndex(7);
            QFile f(out->filePath(QStringLiteral("longpatt.dxf")));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        auto drawn = [this, d](bool lineSegments) {
            PatternSheet sheet;
            sheet.design = d;
            sheet.options.lineSegments = lineSegments;
            sheet.font = view()->font();
            sheet.viewSize = view()->size();
            return Sheet_Dxf_Bytes(Panel_Sheet(sheet));
        };
        const QByteArray straight = exported();
        QCOMPARE(straight, drawn(true));

        QTest::mouseClick(dialog->radioSplineseg, Qt::LeftButton);
        showFresh();
        QVERIFY(dialog->radioSplineseg->isChecked());
        const QByteArray curved = exported();
        QCOMPARE(curved, drawn(false));
        QVERIFY(curved != straight);
        QTest::mouseClick(dialog->radioLineseg, Qt::LeftButton);
    }

    void exitEmptiesThePreview()
    {
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        QVERIFY(!view()->picture().isEmpty());
        QTest::mouseClick(dialog->exitButton, Qt::LeftButton);
        QVERIFY(view()->picture().isEmpty());
        QVERIFY(!dialog->isVisible());
        showFresh();
        QVERIFY(view()->picture().isEmpty());
    }

    void dataButtonShowsTheSeamAllowances()
    {
        showFresh();
        QTest::mouseClick(dialog->dataButton, Qt::LeftButton);
        QVERIFY(dialog->seamAllowanceDialog()->isVisible());
        QVERIFY(!dialog->seamAllowanceDialog()->parent());
        dialog->seamAllowanceDialog()->hide();
    }

    void noProjectNothingWritten()
    {
        GetGlobClass()->dxfDir.clear();
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(6);
        QCOMPARE(kinds(), QStringList{"warning"});
        QVERIFY(told().at(0).startsWith(QStringLiteral("Nothing was exported. No project output directory")));
        QVERIFY(outputFiles().isEmpty());
    }

    void failedFileIsReported()
    {
        QVERIFY(QDir(out->path()).mkdir(QStringLiteral("longpatt.dxf")));
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(6);
        QCOMPARE(kinds(), (QStringList{"information", "warning"}));
        // The folder, the file and the system's reason; the set is not
        // written, and a folder in a file's place is no earlier file.
        QVERIFY2(told().at(1).startsWith(QStringLiteral("Nothing was written into %1: longpatt.dxf could not be "
                                                        "written: %2.")
                                             .arg(out->path(), QString::fromLocal8Bit(std::strerror(EISDIR)))),
                 qPrintable(told().at(1)));
        QVERIFY2(!told().at(1).contains(QStringLiteral("earlier")), qPrintable(told().at(1)));
    }

    // An output folder that cannot be made is told at once, with the folder
    // and the reason, before the user is asked to wait.
    void outputFolderThatCannotBeMade()
    {
        const QString blocked = out->filePath(QStringLiteral("Dxfglider"));
        QFile file(blocked);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        GetGlobClass()->dxfDir = blocked;
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(6);
        QCOMPARE(kinds(), QStringList{"warning"});
        QVERIFY2(told().at(0).contains(QStringLiteral("The project output folder could not be made:\n") + blocked),
                 qPrintable(told().at(0)));
        QVERIFY(told().at(0).contains(QString::fromLocal8Bit(std::strerror(EEXIST))));
        QVERIFY(!told().at(0).contains(QStringLiteral("make or open a project")));
        QVERIFY(QFileInfo(blocked).isFile());
    }

    void smallWingIsRefused()
    {
        useDesign(2);
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        QVERIFY(view()->picture().isEmpty());
        QCOMPARE(told(), QStringList{QStringLiteral("Sewing patterns need a wing of at least 3 cells.")});
        QCOMPARE(kinds(), QStringList{"warning"});
        user->asked.clear();
        dialog->dxf_tabWidget->setCurrentIndex(6);
        QCOMPARE(told().size(), 1);
        QVERIFY(told().at(0).contains(QStringLiteral("at least 3 cells")));
        QVERIFY(outputFiles().isEmpty());
    }

    // The panel tab shows the pieces: their outlines in dark red on the grey
    // sheet, the seam allowance between the sewing line and the cutting line
    // filled white (a band of a pixel or two with the whole sheet in view;
    // the grey sheet has no white of its own).
    void panelTabPicture()
    {
        useDesign(34);
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
        const QImage image = dialog->grab().toImage();
        const QString shot = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        if (!shot.isEmpty())
            image.save(shot + QStringLiteral("/preview_panels.png"));
        const QImage sheet = view()->grab().toImage();
        int red = 0, white = 0;
        for (int y = 0; y < sheet.height(); y += 2)
            for (int x = 0; x < sheet.width(); x += 2) {
                const QColor c = sheet.pixelColor(x, y);
                red += c.red() > 100 && c.green() < 60 && c.blue() < 60;
                white += c == Qt::white;
            }
        QVERIFY2(red > 500, qPrintable(QString::number(red)));
        QVERIFY2(white > 300, qPrintable(QString::number(white)));
    }

    // Two design lines on the default design, one on each surface: the
    // panel tab shows the pieces they cut, more outlines than without them.
    void panelTabWithDesignLines()
    {
        useDesign(34);
        GetDataStruct()->designSplines.clear();
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        const int plain = view()->picture().elementCount();
        dialog->dxf_tabWidget->setCurrentIndex(7);

        ParaStruct* d = GetDataStruct();
        d->designSplines = patternfixture::twoDesignLines(d);
        showFresh();
        dialog->dxf_tabWidget->setCurrentIndex(0);
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
        // zoomed out once: the whole sheet, both lines in view
        wheel(-120);
        const QString shot = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        if (!shot.isEmpty())
            dialog->grab().toImage().save(shot + QStringLiteral("/preview_panels_design_lines.png"));
        const int lineCuts = view()->picture().elementCount();
        QVERIFY2(lineCuts > plain, qPrintable(QString("%1 %2").arg(lineCuts).arg(plain)));
        // "spline seg.": the pieces cut along arcs instead
        const QImage lines = view()->grab().toImage();
        QTest::mouseClick(dialog->radioSplineseg, Qt::LeftButton);
        QVERIFY(!dialog->sheetOptions().lineSegments);
        dialog->dxf_tabWidget->setCurrentIndex(7);
        dialog->dxf_tabWidget->setCurrentIndex(0);
        sendMouse(QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
        wheel(-120);
        if (!shot.isEmpty())
            dialog->grab().toImage().save(shot + QStringLiteral("/preview_panels_design_arcs.png"));
        QVERIFY(view()->grab().toImage() != lines);
        QTest::mouseClick(dialog->radioLineseg, Qt::LeftButton);
        d->designSplines.clear();
    }
};

QTEST_MAIN(TestDxfPreviewDialog)
#include "tst_dxfpreviewdialog.moc"
