#include <QTest>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QList>
#include <QObject>
#include <QString>

#include <QPushButton>

#include <memory>

#include "core/parastruct.h"
#include "lines/ui/linemorphdialog.h"
#include "lines/ui/midlinedialog.h"
#include "shell/mainwindow.h"
#include "structure/ui/diagdialog.h"
#include "structure/ui/stripesdialog.h"
#include "tests/common/scripteduser.h"
#include "tests/shell/shellfixture.h"
#include "tests/common/statewait.h"
#include "shell/termsdialog.h"

// The editors of the line attachment points and the straps manager: created
// once by the main window, shown maximised from the Edit menu and from the
// toolbar; the straps manager's OK has the 3-D view rebuild.
class TestAttachEditors : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    std::unique_ptr<MainWindow> w;

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

    void shownFromTheMenus_data()
    {
        QTest::addColumn<QString>("menuAction");
        QTest::addColumn<QString>("toolbarAction");
        QTest::addColumn<QString>("title");
        QTest::newRow("default line positions")
            << "actionLine_positins" << "actionVent_and_lines" << "Default lines positions <center rib>";
        QTest::newRow("line morphing")
            << "actionLine_s_morfing_closed_cells" << "actionLines_morphing" << "Lines morphing";
        QTest::newRow("straps") << "actionManage_stripes" << "actionManage_stripes_2" << "Stripes manager";
    }

    void shownFromTheMenus()
    {
        QFETCH(QString, menuAction);
        QFETCH(QString, toolbarAction);
        QFETCH(QString, title);
        const QList<QDialog*> editors = {w->findChild<MidLineDialog*>(), w->findChild<LineMorphDialog*>(),
                                         w->findChild<StripesDialog*>()};
        QDialog* dialog = nullptr;
        for (QDialog* d : editors) {
            QVERIFY(d);
            QCOMPARE(d->parent(), w.get());
            if (d->windowTitle() == title)
                dialog = d;
        }
        QVERIFY(dialog);
        QCOMPARE(w->findChildren<QDialog*>().count(dialog), 1);
        for (const QString& name : {menuAction, toolbarAction}) {
            auto* action = w->findChild<QAction*>(name);
            QVERIFY2(action, qPrintable(name));
            action->trigger();
            QVERIFY(dialog->isVisible());
            QVERIFY(dialog->windowState() & Qt::WindowMaximized);
            for (QDialog* other : editors)
                QVERIFY(other == dialog || !other->isVisible());
            dialog->hide();
        }
    }

    // The diagonal ribs editor shows the internal structure in the main
    // window's 3-D view while it is open, and gives the view back as it
    // found it when it is cancelled.
    void diagonalsEditorSwitchesTheMainView()
    {
        GlViewState& view = w->openglwidget->viewState();
        view = GlViewState();
        view.inflatedView = true;
        w->findChild<QAction*>("actionDiagonal_ribs")->trigger();
        QVERIFY(w->diagDialog()->isVisible());
        QVERIFY(view.ghostView);
        QVERIFY(view.inflatedView);
        w->diagDialog()->reject();
        QVERIFY(!w->diagDialog()->isVisible());
        QVERIFY(!view.ghostView);
        QVERIFY(view.inflatedView);
    }

    void strapsOkRebuildsThe3DView()
    {
        GlViewState& view = w->openglwidget->viewState();
        view.ghostView = true;
        view.inflatedView = true;
        w->findChild<QAction*>("actionManage_stripes_2")->trigger();
        auto* straps = w->findChild<StripesDialog*>();
        QTest::mousePress(straps->btnOK, Qt::LeftButton);
        QVERIFY(!straps->isVisible());
        QVERIFY(!view.ghostView);
        QVERIFY(!view.inflatedView);
    }
};

QTEST_MAIN(TestAttachEditors)
#include "tst_attacheditors_gui.moc"
