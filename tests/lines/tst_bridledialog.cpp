// The bridle manager on the shipped default design: Cancel and closing put
// the design back byte for byte after any edits (clearing all groups, a
// pasted group, a new number of groups, shares, weights, brakes); OK places
// and stores every group and the riser tree and raises the rebuild flags;
// after a new cell count no line of the old count comes back; showing the
// dialog changes no saved value; the sums show the
// lines' totals; the share fields read numbers as the other fields do and
// refuse what is no share; the brake centre rib stays on the wing.

#include <QTest>
#include <QBuffer>
#include <QMetaObject>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector3D>
#include <QWidget>

#include <cmath>
#include <memory>

#include "core/designedit.h"
#include "core/openfile.h"
#include "lines/loading.h"
#include "core/transf.h"
#include "lines/ui/bridledialog.h"
#include "lines/ui/brwidget.h"
#include "lines/ui/ropeswidget.h"
#include "tests/lines/linesfixture.h"
#include "tests/common/statewait.h"

using namespace linesfixture;

namespace {

// The load a line group's root passes up: the vector sum of the tensions
// of the lines leaving the root.
double rootLoad(const BridleGroup& stored)
{
    BridleGroup g = stored;
    Rebuild_Group_Lists(&g);
    const QPoint root = find_root_index(g.pairs);
    if (root.x() < 0)
        return -1;
    QVector3D sum;
    for (int j = 0; j < g.pairs.size(); ++j) {
        if (g.points[g.pairs[j].x()] != g.points[root.x()])
            continue;
        const LineProp& l = g.lines[j];
        sum += float(l.load) * (l.q2 - l.q1).normalized();
    }
    return sum.length();
}

int storedLines(const ParaStruct* d, int slot)
{
    return d->bridle.groups[slot].lineCount;
}

} // namespace

class TestBridleDialog : public QObject
{
    Q_OBJECT
    ParaStruct* design = nullptr;
    std::unique_ptr<ParaStruct> shipped;
    std::unique_ptr<QWidget> mainWindow;
    BridleDialog* dialog = nullptr;
    ScriptedUser user;
    QStringList questions;
    bool answer = true;

    void showDialog()
    {
        dialog->showMaximized();
        WAIT_FOR_EXPOSED(dialog);
    }

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        shipped = defaultDesign(34);
        QVERIFY(shipped);
        design = GetDataStruct();
        mainWindow = std::make_unique<QWidget>();
        mainWindow->resize(1200, 900);
        dialog = new BridleDialog(mainWindow.get());
        user.onQuestion = [this](const QString& t, const QString& m) {
            questions << t + "|" + m;
            return answer;
        };
    }

    void init()
    {
        *design = *shipped;
        questions.clear();
        answer = true;
    }

    void cleanup()
    {
        if (dialog->isVisible())
            QMetaObject::invokeMethod(dialog, "on_cancelButton_pressed");
    }

    // Cancel after clearing every group, a paste, a new group count (which
    // resets the riser), share, weight and brake edits: the design is the
    // one from before the show, byte for byte; closing the window likewise.
    void cancelRestoresDesign_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("cancel") << false;
        QTest::newRow("close") << true;
    }
    void cancelRestoresDesign()
    {
        QFETCH(bool, close);
        design->lineGroupShares[0] = 0.127;   // not a two-decimal value
        const QByteArray before = bytesOf(*design);
        showDialog();
        dialog->tabWidget->setCurrentIndex(1);
        dialog->radioL1->click();
        QCOMPARE(dialog->selection(), 2);
        QMetaObject::invokeMethod(dialog, "on_copy_Button_pressed");
        QVERIFY(dialog->paste_Button->isEnabled());
        dialog->radioL2->click();
        QMetaObject::invokeMethod(dialog, "on_paste_Button_pressed");
        QVERIFY(!dialog->paste_Button->isEnabled());
        QCOMPARE(storedLines(design, 2), storedLines(design, 1));
        dialog->numlines_spinBox->setValue(3);
        QCOMPARE(design->lineGroupCount, 3);
        QVERIFY(questions.join('\n').contains(" warning: Riser will be cleared !|Ok / Cancel ?"));
        dialog->pL1Edit->setText("0.61");
        dialog->pL3Edit->setText("0.2");
        QCOMPARE(design->lineGroupShares[0], 0.61);
        dialog->C_spin->setValue(17);
        QCOMPARE(design->lineWeights[2], 17);
        dialog->mrlSpinBox->setValue(0.25);
        QCOMPARE(design->brakeMiddleRelax, 0.25);
        QMetaObject::invokeMethod(dialog, "on_resetBridleButton_clicked");
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
            QCOMPARE(storedLines(design, slot), 0);
        QCOMPARE(dialog->selection(), 7);
        QVERIFY(bytesOf(*design) != before);

        if (close)
            dialog->close();
        else
            QMetaObject::invokeMethod(dialog, "on_cancelButton_pressed");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(bytesOf(*design), before);
    }

    // OK after an edit (here of the flying weight): every group and the riser
    // placed and stored again, the brakes selected, the rebuild flags raised,
    // no full recompute; each group root passes up the load of its riser
    // line. (OK without an edit leaves the design as it was: the editor
    // dialogs' test of the main window holds that.)
    void okStoresEverything()
    {
        showDialog();
        design->totalWeight += 10;
        int counts[kLineGroupSlots];
        for (int s = 0; s < kLineGroupSlots; ++s)
            counts[s] = storedLines(design, s);
        const unsigned long long revision = design->geometryChanged.revision();
        design->geometryChanged = false;
        design->linesOutdated = false;
        QStringList steps;
        Set_Recompute_Trace([&steps](const char* step) { steps << step; });
        QMetaObject::invokeMethod(dialog, "on_okButton_pressed");
        Set_Recompute_Trace({});
        QVERIFY(!dialog->isVisible());
        QVERIFY(steps.isEmpty());
        QCOMPARE(dialog->selection(), 7);
        QVERIFY(design->geometryChanged);
        QVERIFY(design->geometryChanged.revision() != revision);
        QVERIFY(design->linesOutdated);
        for (int s = 0; s < kLineGroupSlots; ++s)
            QCOMPARE(storedLines(design, s), counts[s]);
        for (int k = 1; k <= design->lineGroupCount; ++k) {
            const double riserLoad = RaiserGrupLineLoad(k, design->bridle.riserGroup);
            QVERIFY(riserLoad > 1.0);
            QVERIFY2(qAbs(rootLoad(design->bridle.groups[k]) - riserLoad) < 1e-3 * riserLoad,
                     qPrintable(QString("L%1: %2 vs %3").arg(k).arg(rootLoad(design->bridle.groups[k])).arg(riserLoad)));
        }
        // The riser's top line carries half the flying weight.
        double top = 0;
        const BridleGroup& riser = design->bridle.riserGroup;
        const QPoint root = find_root_index(QPolygon(QList<QPoint>(riser.pairArray, riser.pairArray + riser.pairCount)));
        QVERIFY(root.y() >= 0);
        top = riser.lineArray[root.y()].load;
        QVERIFY(qAbs(top - 0.5 * design->totalWeight) < 1e-9);
    }

    // After a new cell count the manager finds the groups of the old count
    // gone: it shows them empty on the new frame, and neither Cancel nor a
    // second show brings an old line back; OK stores the new frame nodes.
    void afterANewCellCount()
    {
        QVERIFY(Change_Cell_Count(design, 30));
        showDialog();
        for (int slot = 0; slot < kLineGroupSlots; ++slot)
            QCOMPARE(storedLines(design, slot), 0);
        QVERIFY(questions.isEmpty());
        QMetaObject::invokeMethod(dialog, "on_cancelButton_pressed");
        for (int slot = 0; slot < kLineGroupSlots; ++slot)
            QCOMPARE(storedLines(design, slot), 0);

        showDialog();
        QMetaObject::invokeMethod(dialog, "on_okButton_pressed");
        for (int slot = 0; slot < kLineGroupSlots; ++slot)
            QCOMPARE(storedLines(design, slot), 0);
        // 31 ribs, the centre rib without a mirror: 8 x 31 frame nodes.
        for (int slot = 1; slot <= kBrakeGroupSlot; ++slot)
            QCOMPARE(design->bridle.groups[slot].pointCount, 8 * 31);
    }

    // Showing the dialog fills its fields without storing them back: a share
    // of 0.127 shows 0.13 and stays 0.127, the H weight shows 1 and the
    // stored one stays, a brake relaxation of 0.1234 m stays.
    void showingChangesNothing()
    {
        design->lineGroupShares[0] = 0.127;
        design->lineWeights[7] = 42;
        design->brakeMiddleRelax = 0.1234;
        design->brakeCentreRib = 5;
        showDialog();
        QCOMPARE(dialog->pL1Edit->text(), QString("0.13"));
        QCOMPARE(design->lineGroupShares[0], 0.127);
        QCOMPARE(dialog->H_spin->value(), 1);
        QCOMPARE(design->lineWeights[7], 42);
        QCOMPARE(design->brakeMiddleRelax, 0.1234);
        QCOMPARE(dialog->c_Slider_Box->value(), 5);
        QCOMPARE(dialog->c_Slider_Box_label->text(), QString("5"));
        QCOMPARE(dialog->L1percent->text(), QString("%1").arg(design->lineGroupLoads[0], 0, 'f', 2));
        QCOMPARE(dialog->activelinegrupEdit->text(), QString("L1:L2:L3:L4"));
        QVERIFY(dialog->radioL0->isChecked());
        QCOMPARE(dialog->selection(), -1);
        // Four active groups: all four buttons shown and enabled.
        QVERIFY(dialog->radioL4->isEnabled() && !dialog->radioL4->isHidden());
        QVERIFY(!dialog->paste_Button->isVisible());
    }

    // The sums of the Loading tab are those of the lines whether or not the
    // analysis counts them: both halves' line length, the length the polar
    // counts when the analysis counts the lines, and the frontal area.
    void totalsOfTheLines()
    {
        double length = 0, area = 0;
        for (int slot = 0; slot < kLineGroupSlots; ++slot) {
            BridleGroup g = design->bridle.groups[slot];
            Rebuild_Group_Lists(&g);
            for (const LineProp& l : g.lines) {
                const double metres = design->R_X(double((l.q2 - l.q1).length()));
                length += metres;
                area += metres * l.diameter;
            }
        }
        showDialog();
        QCOMPARE(dialog->sumropeslengthsEdit->text(), QString::number(2 * length, 'f', 2));
        QCOMPARE(dialog->sumropessquareEdit->text(), QString::number(2 * area, 'f', 2));
        QVERIFY(2 * length > 100);
        QCOMPARE(dialog->sumropeslengthsEdit->text(),
                 QString::number(getTotalBridleLength(*design, true).length, 'f', 2));
        // Back on the tab after another one: the same sums.
        dialog->tabWidget->setCurrentIndex(3);
        dialog->tabWidget->setCurrentIndex(0);
        QCOMPARE(dialog->sumropeslengthsEdit->text(), QString::number(2 * length, 'f', 2));
    }

    // Typed shares, read as the program's other number fields read them (a
    // decimal comma too). A text that is no share of the load (negative,
    // above 1, no number) never reaches the design: the design keeps its
    // share while it is typed; leaving the field or OK tells the
    // user and puts the share back. After OK and Save every line of the
    // file is a finite line with a finite load.
    void shareParsing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("leave");      // the field left before OK
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("share");    // stored when accepted
        QTest::newRow("point") << "0.35" << true << true << 0.35;
        QTest::newRow("decimal comma") << "0,5" << true << true << 0.5;
        QTest::newRow("blanks around") << " 0.4 " << false << true << 0.4;
        QTest::newRow("exponent") << "2e-1" << true << true << 0.2;
        QTest::newRow("none") << "0" << true << true << 0.0;
        QTest::newRow("all") << "1" << false << true << 1.0;
        QTest::newRow("1e300, OK") << "1e300" << false << false << 0.0;
        QTest::newRow("1e300, Return") << "1e300" << true << false << 0.0;
        QTest::newRow("above the whole") << "1.5" << true << false << 0.0;
        QTest::newRow("negative") << "-0.5" << false << false << 0.0;
        QTest::newRow("nan") << "nan" << true << false << 0.0;
        QTest::newRow("inf") << "inf" << false << false << 0.0;
        QTest::newRow("1e400") << "1e400" << true << false << 0.0;
        QTest::newRow("empty") << "" << true << false << 0.0;
        QTest::newRow("text") << "abc" << false << false << 0.0;
        QTest::newRow("two commas") << "0,1,2" << true << false << 0.0;
    }
    void shareParsing()
    {
        QFETCH(QString, text);
        QFETCH(bool, leave);
        QFETCH(bool, accepted);
        QFETCH(double, share);
        const double before = design->lineGroupShares[2];
        QCOMPARE(before, 0.1);
        showDialog();
        user.texts.clear();
        dialog->pL3Edit->setText(text);
        QCOMPARE(design->lineGroupShares[2], accepted ? share : before);
        if (leave)
            emit dialog->pL3Edit->editingFinished();   // Return, or the focus moved on
        QMetaObject::invokeMethod(dialog, "on_okButton_pressed");
        QVERIFY(!dialog->isVisible());
        if (accepted) {
            QVERIFY2(user.texts.isEmpty(), qPrintable(user.texts.join('\n')));
            QCOMPARE(design->lineGroupShares[2], share);
        } else {
            QCOMPARE(user.texts.size(), 1);
            QVERIFY2(user.texts[0].contains("L3") && user.texts[0].contains('"' + text.trimmed() + '"'),
                     qPrintable(user.texts[0]));
            QCOMPARE(design->lineGroupShares[2], before);
            QCOMPARE(dialog->pL3Edit->text(), QString("0.10"));
        }

        // Saved and read back: every line and load a number.
        auto read = std::make_unique<ParaStruct>();
        QBuffer file;
        file.setData(bytesOf(*design));
        file.open(QIODevice::ReadOnly);
        QVERIFY(Read_Project(&file, read.get()));
        QCOMPARE(read->lineGroupShares[2], design->lineGroupShares[2]);
        int lines = 0;
        for (const BridleGroup& g : read->bridle.groups) {
            for (int i = 0; i < g.lineCount; ++i) {
                const LineProp& l = g.lineArray[i];
                for (float v : {l.q1.x(), l.q1.y(), l.q1.z(), l.q2.x(), l.q2.y(), l.q2.z()})
                    QVERIFY(std::isfinite(v));
                QVERIFY(std::isfinite(l.load) && l.load >= 0);
                ++lines;
            }
        }
        QVERIFY(lines > 50);
        const LineTotals totals = Line_Totals(read.get());
        QVERIFY(std::isfinite(totals.length) && totals.length > 100);
    }

    // Dragging the slider stores the centre rib, never beyond the tip; a
    // click on its track moves the slider only.
    void brakeCentreRib()
    {
        showDialog();
        QCOMPARE(dialog->c_Slider_Box->minimum(), design->firstRib);
        QCOMPARE(dialog->c_Slider_Box->maximum(), design->lastRib);
        QMetaObject::invokeMethod(dialog, "on_c_Slider_Box_sliderMoved", Q_ARG(int, 99));
        QCOMPARE(design->brakeCentreRib, design->lastRib);
        QCOMPARE(dialog->c_Slider_Box_label->text(), QString::number(design->lastRib));
        QMetaObject::invokeMethod(dialog, "on_c_Slider_Box_sliderMoved", Q_ARG(int, 4));
        QCOMPARE(design->brakeCentreRib, 4);
        QCOMPARE(dialog->relaxwidget->centreRib(), 4);
        dialog->c_Slider_Box->setValue(9);
        QCOMPARE(design->brakeCentreRib, 4);
        dialog->erlSpinBox->setValue(0.5);
        QCOMPARE(design->brakeEdgeRelax, 0.5);
        QCOMPARE(design->relaxFactors[design->lastRib], 0.5);
    }

    // A group count whose question is cancelled is not stored; the box keeps
    // the new value until the next show puts it back.
    void groupCountCancelled()
    {
        answer = false;
        showDialog();
        dialog->numlines_spinBox->setValue(2);
        QCOMPARE(design->lineGroupCount, 4);
        QCOMPARE(dialog->numlines_spinBox->value(), 2);
        QMetaObject::invokeMethod(dialog, "on_cancelButton_pressed");
        showDialog();
        QCOMPARE(dialog->numlines_spinBox->value(), 4);
    }

    // The group buttons select the group for the editor, the tables and the
    // two windows; "BR" hides the paste button; "clear grup" names the group.
    void groupSelection()
    {
        showDialog();
        dialog->tabWidget->setCurrentIndex(3);
        QVERIFY(dialog->radioL3->isEnabled());
        dialog->radioL3->click();
        QCOMPARE(dialog->selection(), 4);
        QCOMPARE(dialog->br_table_widget->groupSlot(), 3);
        QCOMPARE(dialog->ropesWindow()->lines().size(), storedLines(design, 3));
        QCOMPARE(dialog->graphix_widget->currentSlot(), 3);
        QMetaObject::invokeMethod(dialog, "on_copy_Button_pressed");
        QVERIFY(dialog->paste_Button->isEnabled());
        dialog->radioKmd->click();
        QCOMPARE(dialog->selection(), 7);
        QVERIFY(!dialog->paste_Button->isEnabled());
        QCOMPARE(dialog->br_table_widget->groupSlot(), kBrakeGroupSlot);
        answer = false;
        QMetaObject::invokeMethod(dialog, "on_clearbridleButton_pressed");
        QVERIFY(questions.last().startsWith("  L-Brakes bridle grup will be cleared |OK ?"));
        QVERIFY(storedLines(design, kBrakeGroupSlot) > 0);
        dialog->radioL1->click();
        QMetaObject::invokeMethod(dialog, "on_clearbridleButton_pressed");
        QCOMPARE(questions.last(), QString("  Selected bridle grup L1  will be cleared |OK ?"));
        answer = true;
        QMetaObject::invokeMethod(dialog, "on_clearbridleButton_pressed");
        QCOMPARE(storedLines(design, 1), 0);
        QCOMPARE(dialog->br_table_widget->table().graph.size(), 0);
        // The tab titles mark the current one.
        QCOMPARE(dialog->tabWidget->tabText(3), QString("BRIDLE TABLES"));
        QCOMPARE(dialog->tabWidget->tabText(0), QString("loading "));
    }

    // The free windows exist from the first show, hidden until ticked, and
    // stay open after OK or Cancel.
    void freeWindows()
    {
        showDialog();
        QVERIFY(dialog->ropesWindow() && dialog->brWindow());
        QVERIFY(!dialog->ropesWindow()->isVisible());
        QCOMPARE(dialog->brWindow()->windowTitle(), QString(" 3D canopy "));
        QVERIFY(!dialog->brWindow()->parent());
        QVERIFY(!dialog->brWindow()->testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(dialog->ropesWindow()->minimumSize(), QSize(400, 300));
        dialog->ropeswindow_checkBox->click();
        QVERIFY(dialog->ropesWindow()->isVisible());
        QMetaObject::invokeMethod(dialog, "on_cancelButton_pressed");
        QVERIFY(dialog->ropesWindow()->isVisible());
        dialog->ropeswindow_checkBox->click();
        QVERIFY(!dialog->ropesWindow()->isVisible());
    }
};

QTEST_MAIN(TestBridleDialog)
#include "tst_bridledialog.moc"
