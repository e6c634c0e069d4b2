#include <QTest>
#include <QAction>
#include <QDialog>
#include <QLatin1String>
#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>

#include "shape/ui/datadialog.h"
#include "patterns/ui/dxfpreviewdialog.h"
#include "airfoils/ui/editairfoildialog.h"
#include "shape/ui/flatwing.h"
#include "shape/ui/frontviewdialog.h"
#include "airfoils/ui/importairfoildialog.h"
#include "shell/mainwindow.h"
#include "tests/common/scripteduser.h"
#include "tests/shell/shellfixture.h"
#include "shape/ui/skintdialog.h"
#include "shell/termsdialog.h"

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
        return w->frontViewDialog();
    }

private slots:
    void initTestCase()
    {
        qApp->setQuitOnLastWindowClosed(false);
        useFreshHome();
        QVERIFY(writeTemplate());
        w = std::make_unique<MainWindow>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->termsDialog()->hide();
        w->Enable_Objects(true);
    }

    void cleanupTestCase() { w.reset(); }

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
