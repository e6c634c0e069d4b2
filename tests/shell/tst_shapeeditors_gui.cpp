#include <QtTest>

#include "flatwing.h"
#include "frontviewdialog.h"
#include "mainwindow.h"
#include "modalhooks.h"
#include "shellfixture.h"
#include "skintdialog.h"
#include "termsdialog.h"

// The main window creates the shape editors once and shows them maximized
// from the Edit menu and the toolbar.
class TestShapeEditors : public QObject
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

    void editorsShownFromTheMenus_data()
    {
        QTest::addColumn<QString>("menuAction");
        QTest::addColumn<QString>("toolbarAction");
        QTest::addColumn<QString>("title");
        QTest::newRow("base line") << "actionBase_line_face_view" << "actionBase_line" << "Base line shape";
        QTest::newRow("flat shape") << "action_flat_shape" << "actionFlat_shape" << "Flat shape";
        QTest::newRow("billow compensation")
            << "actionBillow_compensation_2" << "actionBillow_compensation" << "Billow compensation";
    }

    void editorsShownFromTheMenus()
    {
        QFETCH(QString, menuAction);
        QFETCH(QString, toolbarAction);
        QFETCH(QString, title);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.termsDialog()->hide();
        w.Enable_Objects(true);
        QDialog* dialog = title == QLatin1String("Flat shape")            ? static_cast<QDialog*>(w.flatWingDialog())
                          : title == QLatin1String("Billow compensation") ? static_cast<QDialog*>(w.skintDialog())
                                                                          : static_cast<QDialog*>(w.frontViewDialog());
        QVERIFY(dialog);
        // the billow editor belongs to the main window, the others stand alone
        QCOMPARE(dialog->parent() == &w, title == QLatin1String("Billow compensation"));
        QCOMPARE(dialog->windowTitle(), title);
        for (const QString& name : {menuAction, toolbarAction}) {
            auto* action = w.findChild<QAction*>(name);
            QVERIFY2(action, qPrintable(name));
            action->trigger();
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->windowState() & Qt::WindowMaximized);
            dialog->hide();
        }
    }
};

QTEST_MAIN(TestShapeEditors)
#include "tst_shapeeditors_gui.moc"
