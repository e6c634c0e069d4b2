// The structure editors opened before any design exists (a blank record, no
// airfoils): every tab shows and paints, the mouse and the keys do nothing
// harmful, and OK or Cancel leaves a usable record.

#include <QTest>
#include <QObject>
#include <QPointF>
#include <QPushButton>
#include <QLatin1Char>
#include <QString>
#include <QStringLiteral>
#include <QTabWidget>
#include <QTableWidget>

#include "core/parastruct.h"
#include "structure/ui/crosslab_dialog.h"
#include "structure/ui/crosslab_edit.h"
#include "structure/ui/dcrossport_edit.h"
#include "structure/ui/diagdialog.h"
#include "structure/ui/diatopview.h"
#include "structure/ui/dmodelview.h"
#include "structure/ui/miscport_dialog.h"
#include "structure/ui/miscport_edit.h"
#include "tests/common/scripteduser.h"
#include "tests/structure/editorfixture.h"

#include <memory>

using namespace editors;

namespace {

// Presses, drags, wheel turns and arrow keys over the widget.
void handle(QWidget* w)
{
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton})
        drag(w, QPointF(120, 120), QPointF(150, 90), b);
    wheel(w, 120);
    wheel(w, -240);
    for (Qt::Key k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(w, k);
    w->grab();
}

// Shows every tab of the dialog and works the given widgets on it.
void everyTab(QWidget* dialog, const QList<QWidget*>& views)
{
    auto* tabs = named<QTabWidget>(dialog, "tabWidget");
    for (int t = 0; t < tabs->count(); ++t) {
        tabs->setCurrentIndex(t);
        dialog->grab();
        for (QWidget* v : views)
            if (v->isVisible())
                handle(v);
    }
}

} // namespace

class TestEditorsNoDesign : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    ParaStruct* live = nullptr;

private slots:
    void initTestCase() { Install_Recompute_Hooks(); }

    void init()
    {
        live = GetDataStruct();
        const auto blank = std::make_unique<ParaStruct>();
        *live = *blank;
        QVERIFY(live->ribAirfoils[0].isEmpty());
        QVERIFY(live->ribAirfoils[1].isEmpty());
        user.answerQuestions(true);
        user.asked.clear();
        user.texts.clear();
    }
    // Nothing to warn about: the editors draw what there is.
    void cleanup() { QVERIFY2(user.texts.isEmpty(), qPrintable(user.texts.join(QLatin1Char('\n')))); }

    void diagonalsDialog()
    {
        DiagDialog dialog;
        QVERIFY(showAt(&dialog, 1200, 900));
        // No airfoil: the tables get no cells.
        QCOMPARE(named<QTableWidget>(&dialog, "diagTableWidget")->item(0, 0), nullptr);
        everyTab(&dialog, {named<DModelView>(&dialog, "model_widget"), named<DiaTopView>(&dialog, "dia_top_widget"),
                           named<DiaCrossPort>(&dialog, "dia_crossport_widget")});
        QTest::mouseClick(named<QPushButton>(&dialog, "OkButton"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(live->diagonals.isEmpty());
    }

    void crossPortsManager()
    {
        CrossLabDialog dialog;
        QVERIFY(showAt(&dialog, 1100, 900));
        QList<QWidget*> views;
        for (int g = 0; g < 4; ++g)
            views << dialog.editor(g);
        everyTab(&dialog, views);
        named<QTabWidget>(&dialog, "tabWidget")->setCurrentIndex(2);
        QCOMPARE(dialog.editor(2)->Solid_Area(), 0.0);
        QTest::mouseClick(named<QPushButton>(&dialog, "btnOK"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    void miniribsEditor()
    {
        MiscPortDialog dialog;
        QVERIFY(showAt(&dialog, 1100, 900));
        everyTab(&dialog, {dialog.editor()});
        for (const char* reset : {"resetmilarButton", "resetrodsButton", "resetrodsButton_2"}) {
            QTest::mouseClick(named<QWidget>(&dialog, reset), Qt::LeftButton);
            dialog.grab();
        }
        QCOMPARE(user.count(QStringLiteral("question")), 3);
        QTest::mouseClick(named<QPushButton>(&dialog, "btnCancel"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(live->ribAirfoils[1].isEmpty());
    }
};

QTEST_MAIN(TestEditorsNoDesign)
#include "tst_editorsnodesign.moc"
