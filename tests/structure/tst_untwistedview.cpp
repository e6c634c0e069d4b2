// The two structure editors that lay the wing flat (the cross ports manager
// and the mini-ribs editor) draw from the wing built without twist, while the
// design keeps the twist the user set: a save or the 3-D view meanwhile read
// the design as it is, and a window restored from the task bar (a show that
// starts no session) changes nothing.

#include <QTest>
#include <QBuffer>
#include <QByteArray>
#include <QDialog>
#include <QEvent>
#include <QList>
#include <QObject>
#include <QPolygonF>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QString>
#include <QTabWidget>
#include <QVector3D>

#include "airfoils/foilunfold.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "structure/ui/crosslab_dialog.h"
#include "structure/ui/crosslab_edit.h"
#include "structure/ui/miscport_dialog.h"
#include "structure/ui/miscport_edit.h"
#include "tests/common/scripteduser.h"
#include "tests/structure/editorfixture.h"

#include <cmath>
#include <memory>

using namespace editors;

namespace {

enum Editor { ManagerEditor, MiniribEditor };

std::unique_ptr<QDialog> makeEditor(int which)
{
    if (which == ManagerEditor)
        return std::make_unique<CrossLabDialog>();
    return std::make_unique<MiscPortDialog>();
}

QPushButton* button(QDialog* dialog, const char* name)
{
    return named<QPushButton>(dialog, name);
}

// What the window system does to a window minimised to the task bar and
// restored: a hide and a show it sends itself, no new session.
void minimiseAndRestore(QDialog* dialog)
{
    dialog->setWindowState(Qt::WindowMinimized);
    dialog->setWindowState(Qt::WindowNoState);
}

// The project file of the design, read back.
std::unique_ptr<ParaStruct> savedAndRead(const ParaStruct& d)
{
    QBuffer buffer;
    buffer.setData(Project_File_Bytes(d));
    buffer.open(QIODevice::ReadOnly);
    auto back = std::make_unique<ParaStruct>();
    if (!Read_Project(&buffer, back.get()))
        return nullptr;
    return back;
}

// The front (or rear) mini-rib of the cell at `rib` of the default design
// recomputed with the given twist, at the editors' drawing scale.
QPolygonF miniribOf(double twist, int rib, bool front)
{
    auto d = fixture::copyOfDefault();
    d->maxTwistAngle = twist;
    Refresh_Calculations(d.get());
    QList<QVector3D> outline3D;
    const MiniRibFlat mini = front ? unfold_FrontFoil(*d, rib, &outline3D) : unfold_RearFoil(*d, rib, &outline3D);
    QPolygonF drawn;
    for (const QPointF& p : mini.outline)
        drawn << p * (1024 / d->chord[rib]);
    return drawn;
}

double farthest(const QPolygonF& a, const QPolygonF& b)
{
    if (a.size() != b.size())
        return 1e9;
    double worst = 0;
    for (int i = 0; i < a.size(); ++i)
        worst = std::max(worst, std::hypot(a[i].x() - b[i].x(), a[i].y() - b[i].y()));
    return worst;
}

} // namespace

class TestUntwistedView : public QObject
{
    Q_OBJECT

    ScriptedUser user;

    void editors_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("cross ports manager") << int(ManagerEditor);
        QTest::newRow("mini-ribs editor") << int(MiniribEditor);
    }

private slots:
    void init()
    {
        liveDefault();
        QCOMPARE(GetDataStruct()->maxTwistAngle, 3.0);
    }

    // Shown, minimised and restored, OK: the design keeps the user's twist
    // for good, and what the user set before the restore stays.
    void restoredWindowKeepsTheDesign_data() { editors_data(); }
    void restoredWindowKeepsTheDesign()
    {
        QFETCH(int, which);
        ParaStruct* live = GetDataStruct();
        auto dialog = makeEditor(which);
        QVERIFY(showAt(dialog.get(), 1100, 900));
        if (which == ManagerEditor) {
            named<QTabWidget>(dialog.get(), "tabWidget")->setCurrentIndex(0);
            named<QSpinBox>(dialog.get(), "edgeBox")->setValue(6);
        } else {
            named<QSlider>(dialog.get(), "upSlider")->setValue(300);
        }
        minimiseAndRestore(dialog.get());
        QVERIFY(dialog->isVisible());
        QTest::mouseClick(button(dialog.get(), "btnOK"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(live->maxTwistAngle, 3.0);
        if (which == ManagerEditor)
            QCOMPARE(live->holeEdgeFactor, 6.0);
        else
            QCOMPARE(live->rod1.index[0], 300);
        // The next session starts from that design.
        QVERIFY(showAt(dialog.get(), 1100, 900));
        QTest::mouseClick(button(dialog.get(), "btnCancel"), Qt::LeftButton);
        QCOMPARE(live->maxTwistAngle, 3.0);
    }

    // While the editor is open, the design is the one the user made: its
    // project file holds the twist, its 3-D wing is the twisted one.
    void openEditorLeavesTheDesignAsItIs_data() { editors_data(); }
    void openEditorLeavesTheDesignAsItIs()
    {
        QFETCH(int, which);
        const ParaStruct* live = GetDataStruct();
        const ParaStruct& shipped = fixture::defaultDesign();
        auto dialog = makeEditor(which);
        QVERIFY(showAt(dialog.get(), 1100, 900));
        minimiseAndRestore(dialog.get());
        auto saved = savedAndRead(*live);
        QVERIFY(saved);
        QCOMPARE(saved->maxTwistAngle, 3.0);
        const int tip = live->lastRib - 1;
        for (int point : {0, 250, 500, 750})
            QCOMPARE(live->ribCurves3D[tip][point], shipped.ribCurves3D[tip][point]);
        QTest::mouseClick(button(dialog.get(), "btnCancel"), Qt::LeftButton);
    }

    // The mini-ribs the editors draw are those of the wing without twist,
    // which differ from the twisted wing's.
    void miniribsDrawnWithoutTwist_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<bool>("front");
        QTest::newRow("cross ports manager, front") << int(ManagerEditor) << true;
        QTest::newRow("cross ports manager, rear") << int(ManagerEditor) << false;
        QTest::newRow("mini-ribs editor, front") << int(MiniribEditor) << true;
        QTest::newRow("mini-ribs editor, rear") << int(MiniribEditor) << false;
    }
    void miniribsDrawnWithoutTwist()
    {
        QFETCH(int, which);
        QFETCH(bool, front);
        auto dialog = makeEditor(which);
        QVERIFY(showAt(dialog.get(), 1100, 900));
        QPolygonF drawn;
        int rib = 1;
        if (which == ManagerEditor) {
            auto* manager = static_cast<CrossLabDialog*>(dialog.get());
            named<QTabWidget>(dialog.get(), "tabWidget")->setCurrentIndex(front ? 2 : 3);
            drawn = manager->editor(front ? 2 : 3)->miniribShape();
            rib = GetDataStruct()->firstRib;
        } else {
            CrossEdit* view = static_cast<MiscPortDialog*>(dialog.get())->editor();
            drawn = front ? view->frontMiniribShape() : view->rearMiniribShape();
        }
        QVERIFY(drawn.size() > 10);
        const QPolygonF untwisted = miniribOf(0.0, rib, front);
        const QPolygonF twisted = miniribOf(3.0, rib, front);
        QVERIFY2(farthest(drawn, untwisted) < 1e-6, qPrintable(QString::number(farthest(drawn, untwisted))));
        QVERIFY(farthest(drawn, twisted) > 0.1);
        QTest::mouseClick(button(dialog.get(), "btnCancel"), Qt::LeftButton);
    }
};

QTEST_MAIN(TestUntwistedView)
#include "tst_untwistedview.moc"
