#include <QTest>
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLatin1String>
#include <QObject>
#include <QPushButton>
#include <QPoint>
#include <QSignalSpy>
#include <QSet>
#include <QString>

#include <QLabel>
#include <QStatusBar>

#include <memory>

#include "aero/ui/apamedialog.h"
#include "aero/ui/pilotdialog.h"
#include "shape/ui/datadialog.h"
#include "patterns/ui/dxfpreviewdialog.h"
#include "graphics/ui/designdialog.h"
#include "airfoils/ui/editairfoildialog.h"
#include "shape/ui/flatwing.h"
#include "shape/ui/frontviewdialog.h"
#include "airfoils/ui/importairfoildialog.h"
#include "lines/ui/bridledialog.h"
#include "shell/scaledialog.h"
#include "lines/ui/linemorphdialog.h"
#include "lines/ui/midlinedialog.h"
#include "structure/ui/stripesdialog.h"
#include "shell/mainwindow.h"
#include "tests/common/projectfields.h"
#include "tests/common/recordimage.h"
#include "tests/common/scripteduser.h"
#include "tests/shell/shellfixture.h"
#include "tests/common/statewait.h"
#include "shape/ui/skintdialog.h"
#include "shell/termsdialog.h"
#include "shell/glwidget.h"
#include "structure/ui/crosslab_dialog.h"
#include "structure/ui/diagdialog.h"
#include "structure/ui/miscport_dialog.h"
#include "core/openfile.h"
#include "core/parastruct.h"

#include <algorithm>
#include <functional>

// Runs a function when the watched widget gets its show event.
class StatusAtShow : public QObject
{
public:
    StatusAtShow(QWidget* watched, std::function<void()> f) : watched(watched), f(std::move(f))
    {
        watched->installEventFilter(this);
    }
    ~StatusAtShow() override { watched->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            f();
        return false;
    }

private:
    QWidget* watched;
    std::function<void()> f;
};

// The main window creates every editor dialog once and shows it from the
// Edit menu and from the toolbar.
class TestEditorDialogs : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    std::unique_ptr<MainWindow> w;

    QDialog* dialogTitled(const QString& title) const
    {
        if (title == QLatin1String("General data"))
            return w->dataDialog();
        if (title == QLatin1String("Airfoil's  selection dialog"))
            return w->importAirFoilDialog();
        if (title == QLatin1String("Flat shape"))
            return w->flatWingDialog();
        if (title == QLatin1String("Billow compensation"))
            return w->skintDialog();
        if (title == QLatin1String("Preview and export"))
            return w->dxfPreviewDialog();
        if (title == QLatin1String("Bridle manager"))
            return w->bridleDialog();
        if (title == QLatin1String("Diagonals dialog"))
            return w->diagDialog();
        if (title == QLatin1String("Cross ports manager"))
            return w->crossLabDialog();
        if (title == QLatin1String("Miniribs and reinforcements"))
            return w->miscPortDialog();
        if (title == QLatin1String("Design dialog"))
            return w->designDialog();
        if (title == QLatin1String("Default lines positions <center rib>"))
            return w->midLineDialog();
        if (title == QLatin1String("Lines morphing"))
            return w->lineMorphDialog();
        if (title == QLatin1String("Stripes manager"))
            return w->stripesDialog();
        return w->frontViewDialog();
    }

    // Where two record images part, for the failure message.
    static QString firstDifference(const QByteArray& a, const QByteArray& b)
    {
        QStringList at;
        for (qsizetype i = 0; i < std::min(a.size(), b.size()) && at.size() < 8; ++i)
            if (a[i] != b[i])
                at << QString::number(i);
        return "the record differs at byte " + at.join(", ") + " of " + QString::number(sizeof(ParaStruct));
    }

    QDialog* editorNamed(const QString& title) const
    {
        if (title == QLatin1String("Morphing airfoil shape"))
            return w->editAirFoilDialog();
        if (title == QLatin1String("Pilot position"))
            return w->pilotDialog();
        if (title == QLatin1String("Generate scaled model"))
            return w->scaleDialog();
        return dialogTitled(title);
    }

private slots:
    void initTestCase()
    {
        qApp->setQuitOnLastWindowClosed(false);
        useFreshHome();
        QVERIFY(writeTemplate());
        w = std::make_unique<MainWindow>();
        w->show();
        WAIT_FOR_EXPOSED(w.get());
        w->termsDialog()->hide();
        w->Enable_Objects(true);
    }

    void cleanupTestCase() { w.reset(); }

    // Twenty editors, made once at the first show, each its own dialog
    // owned by the window.
    void everyEditorMadeOnce()
    {
        const QList<QDialog*> editors = {
            w->dataDialog(),        static_cast<QDialog*>(w->overSewDataDialog()),
            w->importAirFoilDialog(), w->editAirFoilDialog(), w->flatWingDialog(), w->frontViewDialog(),
            w->midLineDialog(),     w->lineMorphDialog(),  w->bridleDialog(),   w->skintDialog(),
            w->diagDialog(),        static_cast<QDialog*>(w->scaleDialog()), w->termsDialog(),
            w->apameDialog(),       w->pilotDialog(),      w->crossLabDialog(), w->miscPortDialog(),
            w->dxfPreviewDialog(),  w->stripesDialog(),    w->designDialog()};
        QSet<QObject*> distinct;
        for (QDialog* d : editors) {
            QVERIFY(d);
            QCOMPARE(static_cast<QObject*>(d)->parent(), static_cast<QObject*>(w.get()));
            distinct.insert(d);
        }
        QCOMPARE(distinct.size(), 20);
    }

    void shownFromTheMenus_data()
    {
        QTest::addColumn<QString>("menuAction");
        QTest::addColumn<QString>("toolbarAction");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("applicationModal");
        QTest::newRow("general data")
            << "actionGeneral_data_2" << "actionGeneral_data" << "General data" << false << true;
        QTest::newRow("airfoils") << "actionAirfoils_import_morph" << "actionAirfoils"
                                  << "Airfoil's  selection dialog" << false << true;
        QTest::newRow("base line")
            << "actionBase_line_face_view" << "actionBase_line" << "Base line shape" << true << false;
        QTest::newRow("flat shape") << "action_flat_shape" << "actionFlat_shape" << "Flat shape" << true << false;
        QTest::newRow("billow compensation") << "actionBillow_compensation_2" << "actionBillow_compensation"
                                             << "Billow compensation" << true << false;
        QTest::newRow("preview and export") << "actionDxf_preview_and_export" << "actionPreview_and_export"
                                            << "Preview and export" << true << true;
        QTest::newRow("bridle") << "actionBridle_2" << "actionBridle" << "Bridle manager" << true << false;
        QTest::newRow("diagonal ribs")
            << "actionDiagonals" << "actionDiagonal_ribs" << "Diagonals dialog" << true << true;
        QTest::newRow("cross ports")
            << "actionCross_ports_menu" << "actionCross_ports" << "Cross ports manager" << true << true;
        QTest::newRow("reinforcements") << "actionReinforcements_menu" << "actionReinforcements"
                                        << "Miniribs and reinforcements" << true << true;
        QTest::newRow("graphic design") << "actionDesign_lower_and_upper_surface" << "actionGraphics"
                                        << "Design dialog" << true << true;
        QTest::newRow("line positions") << "actionLine_positins" << "actionVent_and_lines"
                                        << "Default lines positions <center rib>" << true << true;
        QTest::newRow("lines morphing") << "actionLine_s_morfing_closed_cells" << "actionLines_morphing"
                                        << "Lines morphing" << true << true;
        QTest::newRow("straps") << "actionManage_stripes" << "actionManage_stripes_2" << "Stripes manager" << true
                                << true;
    }

    void shownFromTheMenus()
    {
        QFETCH(QString, menuAction);
        QFETCH(QString, toolbarAction);
        QFETCH(QString, title);
        QFETCH(bool, maximized);
        QFETCH(bool, applicationModal);
        QDialog* dialog = dialogTitled(title);
        QVERIFY(dialog);
        QCOMPARE(dialog->parent(), w.get());
        QCOMPARE(dialog->windowTitle(), title);
        if (applicationModal)
            QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        for (const QString& name : {menuAction, toolbarAction}) {
            auto* action = w->findChild<QAction*>(name);
            QVERIFY2(action, qPrintable(name));
            action->trigger();
            QVERIFY(dialog->isVisible());
            QCOMPARE(bool(dialog->windowState() & Qt::WindowMaximized), maximized);
            // Only this dialog opens.
            QVERIFY(!w->editAirFoilDialog()->isVisible());
            for (QDialog* other : {static_cast<QDialog*>(w->dataDialog()),
                                   static_cast<QDialog*>(w->importAirFoilDialog())})
                QVERIFY(other == dialog || !other->isVisible());
            dialog->hide();
        }
    }

    // An editor minimised to the task bar and restored is no new editing
    // session: the design stays as the user left it, byte for byte.
    void restoredEditorWritesNothing_data() { shownFromTheMenus_data(); }
    void restoredEditorWritesNothing()
    {
        QFETCH(QString, menuAction);
        QFETCH(QString, title);
        QDialog* dialog = dialogTitled(title);
        w->findChild<QAction*>(menuAction)->trigger();
        WAIT_FOR_EXPOSED(dialog);
        const Qt::WindowStates shown = dialog->windowState();
        const QByteArray before = recordImage(*GetDataStruct());
        dialog->setWindowState(Qt::WindowMinimized);
        dialog->setWindowState(shown);
        QVERIFY(dialog->isVisible());
        const bool unchanged = recordImage(*GetDataStruct()) == before;
        dialog->hide();
        QVERIFY(unchanged);
    }

    // An editor shown and closed without an edit leaves the design as it
    // found it: every byte of the record and of its derived tables, and the
    // project file Save would write. Values an editor rounds or snaps to show
    // them stay in the editor; OK without an edit commits nothing (a new
    // revision would tell the views and the analysis results the design
    // changed).
    void closedEditorWritesNothing_data()
    {
        QTest::addColumn<QString>("show");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QString>("button"); // empty: the window's close
        const struct {
            const char* show;
            const char* editor;
            QStringList buttons;
        } editors[] = {
            {"actionGeneral_data", "General data", {"okButton", "cancelButton"}},
            {"actionAirfoils", "Airfoil's  selection dialog", {"okButton"}},
            {"editfoilButton", "Morphing airfoil shape", {"exitButton"}},
            {"actionBase_line", "Base line shape", {"acceptButton", "cancelButton"}},
            {"actionFlat_shape", "Flat shape", {"Ok", "Cancel"}},
            {"actionBillow_compensation", "Billow compensation", {"acceptButton", "cancelButton"}},
            {"actionPreview_and_export", "Preview and export", {"exitButton"}},
            {"actionBridle", "Bridle manager", {"okButton", "cancelButton"}},
            {"actionDiagonal_ribs", "Diagonals dialog", {"OkButton", "CancelButton"}},
            {"actionCross_ports", "Cross ports manager", {"btnOK", "btnCancel"}},
            {"actionReinforcements", "Miniribs and reinforcements", {"btnOK", "btnCancel"}},
            {"actionGraphics", "Design dialog", {"exitButton"}},
            {"actionVent_and_lines", "Default lines positions <center rib>", {"acceptButton", "exitButton"}},
            {"actionLines_morphing", "Lines morphing", {"Ok", "Cancel"}},
            {"actionManage_stripes_2", "Stripes manager", {"btnOK", "btnCancel"}},
            {"actionPilot_position", "Pilot position", {"exitButton"}},
            // Its OK saves a scaled copy, no edit of the design.
            {"actionGenerate_scaled_model", "Generate scaled model", {"cancelButton"}},
        };
        for (const auto& e : editors)
            for (const QString& button : e.buttons + QStringList{QString()})
                QTest::addRow("%s, %s", e.editor, button.isEmpty() ? "window closed" : qPrintable(button))
                    << e.show << e.editor << button;
    }

    void closedEditorWritesNothing()
    {
        QFETCH(QString, show);
        QFETCH(QString, editor);
        QFETCH(QString, button);
        QDialog* dialog = editorNamed(editor);
        QVERIFY2(dialog, qPrintable(editor));
        // The 3-D view takes the rebuild flag of a change before this one.
        w->openglwidget->grabFramebuffer();
        const ParaStruct& design = *GetDataStruct();
        const QByteArray record = recordImage(design);
        const QByteArray file = Project_File_Bytes(design);
        QVERIFY(!file.isEmpty());
        // (No copy of the record: one would share its derived tables.)
        const QList<projectfields::Stored> found = projectfields::of(design);
        if (show == QLatin1String("editfoilButton")) {
            w->findChild<QAction*>("actionAirfoils")->trigger();
            QTest::mouseClick(w->importAirFoilDialog()->foil_1, Qt::LeftButton);
            w->importAirFoilDialog()->editfoilButton->click();
        } else {
            auto* action = w->findChild<QAction*>(show);
            QVERIFY2(action, qPrintable(show));
            action->trigger();
        }
        QVERIFY(dialog->isVisible());
        WAIT_FOR_EXPOSED(dialog);
        if (button.isEmpty()) {
            dialog->close();
        } else {
            QAbstractButton* b = nullptr;
            if (auto* box = dialog->findChild<QDialogButtonBox*>(); box && (button == "Ok" || button == "Cancel"))
                b = box->button(button == "Ok" ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
            else
                b = dialog->findChild<QPushButton*>(button);
            QVERIFY2(b, qPrintable(button));
            QTest::mouseClick(b, Qt::LeftButton);
        }
        const bool closed = !dialog->isVisible();
        dialog->hide();
        w->importAirFoilDialog()->hide();
        QVERIFY(closed);
        QVERIFY2(Project_File_Bytes(design) == file,
                 qPrintable(projectfields::differences(found, projectfields::of(design)).join('\n')));
        QVERIFY2(recordImage(design) == record, qPrintable(firstDifference(recordImage(design), record)));
    }

    // "CFD analysis" asks first; only OK shows the window, with a word in
    // the status bar.
    void cfdAnalysisAfterAQuestion()
    {
        ApameDialog* cfd = w->apameDialog();
        QVERIFY(cfd && cfd->parent() == w.get());
        QCOMPARE(cfd->windowTitle(), QStringLiteral("CFD analysis"));
        for (const char* name : {"actionCFD_analysis", "actionCFD_analysis_2"}) {
            user.asked.clear();
            user.answerQuestions(false);
            w->findChild<QAction*>(name)->trigger();
            QCOMPARE(user.count("question"), 1);
            QCOMPARE(user.asked.first().title, QStringLiteral(" loading CFD and previous solution takes some time"));
            QCOMPARE(user.asked.first().text, QStringLiteral(" ...cancel or wait a moment ?  "));
            QVERIFY(!cfd->isVisible());
            user.answerQuestions(true);
            // The message stands while the dialog loads (in its show) and is
            // gone once the dialog is up.
            bool said = false;
            StatusAtShow watch(cfd, [&] {
                for (QLabel* label : w->statusBar()->findChildren<QLabel*>())
                    said = said || label->text() == QLatin1String(" ...loading CFD ....");
            });
            w->findChild<QAction*>(name)->trigger();
            QVERIFY(cfd->isVisible());
            QVERIFY(!(cfd->windowState() & Qt::WindowMaximized));
            QVERIFY(cfd->windowModality() == Qt::NonModal);
            QVERIFY(said);
            for (QLabel* label : w->statusBar()->findChildren<QLabel*>())
                QVERIFY(!label->text().contains("loading CFD"));
            cfd->hide();
        }
        user.onQuestion = nullptr;
    }

    void pilotPosition()
    {
        PilotDialog* pilot = w->pilotDialog();
        QVERIFY(pilot && pilot->parent() == w.get());
        for (const char* name : {"actionPilot_position", "actionView_pilot_s_position"}) {
            w->findChild<QAction*>(name)->trigger();
            QVERIFY(pilot->isVisible());
            QCOMPARE(pilot->windowTitle(), QStringLiteral("Pilot position"));
            QVERIFY(!(pilot->windowState() & Qt::WindowMaximized));
            pilot->hide();
        }
    }

    // The structure editors' OK refreshes the 3-D view once, however often
    // the dialog was shown before; the view builds its lists once for it.
    void structureEditorsRefreshTheViewOnce_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("cross ports") << "actionCross_ports";
        QTest::newRow("reinforcements") << "actionReinforcements";
    }

    void structureEditorsRefreshTheViewOnce()
    {
        QFETCH(QString, action);
        auto* show = w->findChild<QAction*>(action);
        QDialog* dialog = action == "actionCross_ports" ? static_cast<QDialog*>(w->crossLabDialog())
                                                        : static_cast<QDialog*>(w->miscPortDialog());
        const double twist = 3.0;
        GetDataStruct()->maxTwistAngle = twist;
        for (int shown = 0; shown < 3; ++shown) {
            show->trigger();
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        }
        QCOMPARE(GetDataStruct()->maxTwistAngle, twist);
        QSignalSpy refresh(w.get(), &MainWindow::refresh_GL);
        show->trigger();
        WAIT_FOR_EXPOSED(dialog);
        QCOMPARE(GetDataStruct()->maxTwistAngle, twist);
        const int rebuilds = w->openglwidget->rebuildCount();
        QTest::mouseClick(dialog->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(refresh.count(), 1);
        QCOMPARE(GetDataStruct()->maxTwistAngle, twist);
        WAIT_FOR_EXPOSED(w.get());
        w->openglwidget->grabFramebuffer();
        QCOMPARE(w->openglwidget->rebuildCount(), rebuilds + 1);
    }

    void morphingDialogIsHandedToTheAirfoilDialog()
    {
        ImportAirFoilDialog* import = w->importAirFoilDialog();
        EditAirFoilDialog* morph = w->editAirFoilDialog();
        QVERIFY(morph && morph->parent() == w.get());
        w->findChild<QAction*>("actionAirfoils")->trigger();
        QTest::mouseClick(import->foil_1, Qt::LeftButton);
        import->editfoilButton->click();
        QVERIFY(morph->isVisible());
        QCOMPARE(morph->morphwidget->workingAirfoil(), import->workingAirfoil());
        QCOMPARE(morph->pos(), QPoint(0, 0));
        morph->hide();
        import->hide();
    }
};

QTEST_MAIN(TestEditorDialogs)
#include "tst_editordialogs_gui.moc"
