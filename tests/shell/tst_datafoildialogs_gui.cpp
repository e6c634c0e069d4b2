#include <QtTest>

#include "datadialog.h"
#include "editairfoildialog.h"
#include "importairfoildialog.h"
#include "mainwindow.h"
#include "modalhooks.h"
#include "shellfixture.h"
#include "termsdialog.h"

// The main window creates the general data, airfoil and morphing dialogs
// once and shows them from the Edit menu and the toolbar.
class TestDataFoilDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qApp->setQuitOnLastWindowClosed(false);
        useFreshHome();
        QVERIFY(writeTemplate());
        ModalHooks::question = [](const QString&, const QString&) { return false; };
        ModalHooks::warning = [](const QString&, const QString&) {};
    }

    void dialogsShownFromTheMenus_data()
    {
        QTest::addColumn<QString>("menuAction");
        QTest::addColumn<QString>("toolbarAction");
        QTest::addColumn<QString>("title");
        QTest::newRow("general data") << "actionGeneral_data_2" << "actionGeneral_data" << "General data";
        QTest::newRow("airfoils") << "actionAirfoils_import_morph" << "actionAirfoils"
                                  << "Airfoil's  selection dialog";
    }

    void dialogsShownFromTheMenus()
    {
        QFETCH(QString, menuAction);
        QFETCH(QString, toolbarAction);
        QFETCH(QString, title);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.termsDialog()->hide();
        w.Enable_Objects(true);
        QDialog* dialog = title == QLatin1String("General data") ? static_cast<QDialog*>(w.dataDialog())
                                                                : static_cast<QDialog*>(w.importAirFoilDialog());
        QVERIFY(dialog);
        QVERIFY(!dialog->parent());
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        for (const QString& name : {menuAction, toolbarAction}) {
            auto* action = w.findChild<QAction*>(name);
            QVERIFY2(action, qPrintable(name));
            action->trigger();
            QVERIFY(dialog->isVisible());
            QVERIFY(!(dialog->windowState() & Qt::WindowMaximized));
            // Only this dialog opens.
            QVERIFY(!w.editAirFoilDialog()->isVisible());
            QVERIFY(w.dataDialog() == dialog || !w.dataDialog()->isVisible());
            dialog->hide();
        }
    }

    void morphingDialogIsHandedToTheAirfoilDialog()
    {
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.termsDialog()->hide();
        w.Enable_Objects(true);
        ImportAirFoilDialog* import = w.importAirFoilDialog();
        EditAirFoilDialog* morph = w.editAirFoilDialog();
        QVERIFY(morph && !morph->parent());
        w.findChild<QAction*>("actionAirfoils")->trigger();
        QTest::mouseClick(import->foil_1, Qt::LeftButton);
        import->editfoilButton->click();
        QVERIFY(morph->isVisible());
        QCOMPARE(morph->morphwidget->workingAirfoil(), import->workingAirfoil());
        QCOMPARE(morph->pos(), QPoint(0, 0));
        morph->hide();
        import->hide();
    }
};

QTEST_MAIN(TestDataFoilDialogs)
#include "tst_datafoildialogs_gui.moc"
