#include <QTest>
#include <QApplication>
#include <QPalette>
#include <QObject>
#include <QString>
#include <QStringList>

#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

#include <cmath>
#include <memory>

#include "core/chartlabels.h"
#include "shape/ui/datadialog.h"
#include "widgets/widgetinteraction.h"
#include "tests/common/recordimage.h"
#include "tests/common/typednumbers.h"
#include "tests/shape/shapefixture.h"

// The general data editor and the seam allowance editor on a realistic
// 34-cell test wing: rounding by the value table, the limits, the cell
// count with its rib bookkeeping, OK, Cancel and closing.
class TestDataDialog : public QObject
{
    Q_OBJECT
    ParaStruct* live = nullptr;
    ScriptedUser user;
    QStringList questions;
    bool answer = true;
    QStringList steps;

    QString cell(QTableWidget* t, int row) { return t->item(row, 1)->text(); }
    void type(QTableWidget* t, int row, const QString& text) { t->item(row, 1)->setText(text); }

private slots:
    void initTestCase()
    {
        Set_Recompute_Trace([this](const char* step) { steps << step; });
    }

    void init()
    {
        live = shapefixture::liveWing(34);
        live->span = 12.3456;
        live->hangHeight = 7.0;
        live->carabinerDistance = 0.4;
        live->totalWeight = 100;
        live->seamAllowance[0] = 12.5;
        live->seamAllowance[1] = 7;
        live->seamAllowance[2] = 10;
        live->seamAllowance[3] = 8.25;
        live->controlPointDiameter = 0.5;
        live->edgeTipFactor = 0.003;
        live->minirib.rearRibCavity = 0.7;
        live->geometryChanged = false;
        live->linesOutdated = false;
        questions.clear();
        answer = true;
        user.onQuestion = [this](const QString& t, const QString& m) {
            questions << t + "|" + m;
            return answer;
        };
        steps.clear();
    }

    void tableShowsTheDesignRoundedAndLimited()
    {
        DataDialog d;
        d.show();
        QTableWidget* t = d.tableWidget;
        QCOMPARE(t->rowCount(), 14);
        QCOMPARE(t->columnCount(), 2);
        QCOMPARE(t->item(0, 0)->text(), QString("Total span [m]    "));
        QCOMPARE(t->item(10, 0)->text(), QString("                 diagonal seam allowance [mm]   "));
        QCOMPARE(t->item(12, 0)->text(), QString("edge-tip airfoil factor [0.01 - 1.0]"));
        QVERIFY(!(t->item(0, 0)->flags() & Qt::ItemIsEditable));
        QCOMPARE(t->columnWidth(0), 260);
        QCOMPARE(t->columnWidth(1), 70);

        QCOMPARE(cell(t, 0), QString("12.35"));
        QCOMPARE(live->span, 12.35);
        QCOMPARE(cell(t, 7), QString("12.5"));
        QCOMPARE(cell(t, 8), QString("7"));
        QCOMPARE(cell(t, 10), QString("8.25"));
        QCOMPARE(cell(t, 11), QString("1.0")); // raised to the minimum
        QCOMPARE(live->controlPointDiameter, 1.0);
        QCOMPARE(cell(t, 12), QString("0.00")); // 0.003 shown with two decimals ...
        QCOMPARE(live->edgeTipFactor, 0.0);     // ... and stored as shown
        QCOMPARE(cell(t, 13), QString("0.50"));
        QCOMPARE(live->minirib.rearRibCavity, 0.5);
        QVERIFY(d.radioOrto->isChecked());

        d.okButton->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(live->span, 12.35);
        QCOMPARE(live->edgeTipFactor, 0.0025); // the limit applies again at OK
        QVERIFY(live->geometryChanged);
        QVERIFY(live->linesOutdated);
        QVERIFY(steps.contains("Setup_Wing_Airfoils"));
    }

    void cancelRestoresTheShownDesign()
    {
        DataDialog d;
        d.show();
        type(d.tableWidget, 2, "0.55");
        d.radioSlash->click();
        QCOMPARE(live->carabinerDistance, 0.55);
        QCOMPARE(live->ribTilt, 1.0);
        d.cancelButton->click();
        QVERIFY(!d.isVisible());
        QCOMPARE(live->span, 12.3456);
        QCOMPARE(live->carabinerDistance, 0.4);
        QCOMPARE(live->ribTilt, 0.0);
        QCOMPARE(live->edgeTipFactor, 0.003);
        QVERIFY(steps.isEmpty());
    }

    void closingKeepsTheEditsWithoutRecompute()
    {
        DataDialog d;
        d.show();
        type(d.tableWidget, 5, "95");
        d.reject(); // title bar or Escape
        QVERIFY(!d.isVisible());
        QCOMPARE(live->totalWeight, 95.0);
        QCOMPARE(live->span, 12.35);
        QVERIFY(steps.isEmpty());
        QVERIFY(!live->geometryChanged);
    }

    // A value the wing cannot take is refused and the field keeps its value;
    // a decimal comma is read as a point.
    void tableRefusesWhatTheWingCannotTake_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("span letters") << 0 << "abc" << 12.35 << "12.35";
        QTest::newRow("span zero") << 0 << "0" << 12.35 << "12.35";
        QTest::newRow("span negative") << 0 << "-4" << 12.35 << "12.35";
        QTest::newRow("span comma") << 0 << "11,5" << 11.5 << "11,5";
        QTest::newRow("hang height zero") << 1 << "0.00" << 7.0 << "7.00";
        QTest::newRow("hang height empty") << 1 << "" << 7.0 << "7.00";
        QTest::newRow("weight letters") << 5 << "heavy" << 100.0 << "100.00";
        QTest::newRow("twist negative") << 4 << "-3.5" << -3.5 << "-3.5";
        QTest::newRow("seam comma") << 7 << "8,5" << 8.5 << "8,5";
        QTest::newRow("weight not a number") << 5 << "nan" << 100.0 << "100.00";
        QTest::newRow("seam infinite") << 7 << "inf" << 12.5 << "12.5";
        QTest::newRow("twist infinite") << 4 << "-inf" << 0.0 << "0.00";
        QTest::newRow("span infinite") << 0 << "infinity" << 12.35 << "12.35";
    }

    void tableRefusesWhatTheWingCannotTake()
    {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        QFETCH(QString, shown);
        DataDialog d;
        d.show();
        type(d.tableWidget, row, typed);
        const double* fields[] = {&live->span, &live->hangHeight, nullptr, nullptr, &live->maxTwistAngle,
                                  &live->totalWeight, nullptr, &live->seamAllowance[0]};
        QCOMPARE(*fields[row], stored);
        QCOMPARE(cell(d.tableWidget, row), shown);
    }

    // Typed into the general data table or the seam allowance table, a
    // number in its field's range is taken, a decimal comma too; any other
    // text is refused with a message that names the range, the cell shows
    // the value again and the design is exactly as it was. Fields: span,
    // hang height, total weight, side seam and control point diameter; in
    // the seam allowance table its rows 0, 3 and 4 and the tip factor.
    void typedTextsPerField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("seamTable");
        QTest::addColumn<int>("row");   // of the general data table
        QTest::addColumn<QString>("range");
        struct Field {
            bool seamTable;
            int row;
            const char* name;
            const char* range;
            QStringList outside;
            const char* comma;
            double commaValue;
        };
        const Field fields[] = {
            {false, 0, "span", "from 1 to 50 m", {"0.05", "0.1", "-4", "50.01"}, "11,5", 11.5},
            {false, 1, "hang height", "from 0.25 to 40 m", {"1e-300", "0", "40.5"}, "6,5", 6.5},
            {false, 5, "total weight", "from 0.1 to 1000 kg", {"0", "-80", "1000.5"}, "95,5", 95.5},
            {false, 7, "side seam", "from 0 to 100 mm", {"-1", "150"}, "12,5", 12.5},
            {false, 11, "control point diameter", "from 0 to 50 mm", {"-0.5", "51"}, "2,5", 2.5},
            {true, 7, "seam table side seam", "from 0 to 100 mm", {"-1", "100.5"}, "8,5", 8.5},
            {true, 10, "seam table diagonal seam", "from 0 to 100 mm", {"-3", "1000"}, "6,5", 6.5},
            {true, 11, "seam table control point diameter", "from 0 to 50 mm", {"-1", "60"}, "3,5", 3.5},
            {true, 12, "seam table tip factor", "from 0 to 1", {"5", "-0.1"}, "0,75", 0.75},
        };
        for (const Field& f : fields) {
            auto row = [&](const QString& what, const QString& text, bool taken, double value) {
                QTest::addRow("%s: %s", f.name, qPrintable(what)) << text << taken << value << f.seamTable << f.row
                                                                   << QString(f.range);
            };
            for (const auto& [name, text] : noFieldNumbers())
                row(name, text, false, 0.0);
            for (const QString& text : f.outside)
                row(text, text, false, 0.0);
            row("decimal comma", f.comma, true, f.commaValue);
        }
    }

    void typedTextsPerField()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(double, value);
        QFETCH(bool, seamTable);
        QFETCH(int, row);
        QFETCH(QString, range);
        double* const fields[] = {&live->span, &live->hangHeight, &live->carabinerDistance, &live->profileAlignment,
                                  &live->maxTwistAngle, &live->totalWeight, &live->towForce,
                                  &live->seamAllowance[0], &live->seamAllowance[1], &live->seamAllowance[2],
                                  &live->seamAllowance[3], &live->controlPointDiameter, &live->edgeTipFactor,
                                  &live->minirib.rearRibCavity};
        DataDialog general;
        OverSewDataDialog seams;
        QDialog* dialog = seamTable ? static_cast<QDialog*>(&seams) : &general;
        QTableWidget* table = seamTable ? seams.tableWidget : general.tableWidget;
        const int at = seamTable ? row - 7 : row;
        dialog->show();
        const QString shown = cell(table, at);
        const QByteArray before = recordImage(*live);
        user.texts.clear();
        type(table, at, text);
        if (taken) {
            QVERIFY2(user.texts.isEmpty(), qPrintable(user.texts.join('\n')));
            QCOMPARE(*fields[row], value);
            return;
        }
        const QString problem = refusalProblem(user, range, text, shown);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(cell(table, at), shown);
        QVERIFY(recordImage(*live) == before);
    }

    void firstShowOffersTheUnchangedCountHarmlessly()
    {
        DataDialog d;
        QCOMPARE(d.cellsspinBox->value(), 5);
        QCOMPARE(d.cellsspinBox->minimum(), 2);
        QCOMPARE(d.cellsspinBox->maximum(), 120);
        QVERIFY(!d.acceptButton->isEnabled());
        d.show();
        QCOMPARE(d.cellsspinBox->value(), 34);
        QVERIFY(d.acceptButton->isEnabled());
        emit d.acceptButton->pressed();
        QVERIFY(questions.isEmpty());
        QCOMPARE(live->cells, 34);
        QCOMPARE(d.firstrib_label->text(), QString("  first rib: 0"));
        QCOMPARE(d.lastrib_label->text(), QString("  last  rib: 17"));
        QCOMPARE(d.sidecells_label->text(), QString(" side cells: 17"));
        QCOMPARE(d.centercell_label->text(), QString("true-false center cell: 0"));
        QCOMPARE(d.centerrib_label->text(), QString("true-false center  rib: 1"));
    }

    void fiveCellDesignLeavesAcceptDisabled()
    {
        *live = *fixture::makeWing(5);
        DataDialog d;
        d.show();
        QVERIFY(!d.acceptButton->isEnabled());
    }

    // The disabled "accept change" reads on its button: with the programs'
    // palette its caption has 3:1 contrast or more with the button, where the
    // style's own grey all but vanished.
    void disabledAcceptStillReads()
    {
        *live = *fixture::makeWing(5);
        DataDialog d;
        d.show();
        QVERIFY(!d.acceptButton->isEnabled());
        const QPalette before = QApplication::palette();
        Install_Readable_Palette();
        QCoreApplication::processEvents();
        const QPalette p = d.acceptButton->palette();
        const double contrast = Contrast_Ratio(p.color(QPalette::Disabled, QPalette::ButtonText),
                                               p.color(QPalette::Disabled, QPalette::Button));
        QVERIFY2(contrast >= 3.0, qPrintable(QString::number(contrast)));
        QApplication::setPalette(before);
    }

    void acceptingANewCountRebuildsTheRibLayout()
    {
        DataDialog d;
        d.show();
        d.cellsspinBox->setValue(35);
        steps.clear();
        emit d.acceptButton->pressed();
        QCOMPARE(questions, QStringList{" warning ...| all existing line grups wil be erased !!"});
        QCOMPARE(live->cells, 35);
        QCOMPARE(live->firstRib, 1);
        QCOMPARE(live->sideCells, 17);
        QCOMPARE(live->lastRib, 18);
        QVERIFY(live->centreCell);
        QVERIFY(!live->centreRib);
        QCOMPARE(live->transitionRib1, 14);
        QCOMPARE(live->transitionRib2, 15);
        QVERIFY(live->geometryChanged);
        QVERIFY(live->linesOutdated);
        QVERIFY(steps.contains("Setup_Wing_Airfoils"));
        QVERIFY(!d.acceptButton->isEnabled());
        QCOMPARE(d.lastrib_label->text(), QString("  last  rib: 18"));
        QCOMPARE(d.centercell_label->text(), QString("true-false center cell: 1"));
    }

    void decliningTheQuestionChangesNothing()
    {
        answer = false;
        DataDialog d;
        d.show();
        d.cellsspinBox->setValue(40);
        emit d.acceptButton->pressed();
        QCOMPARE(questions.size(), 1);
        QCOMPARE(live->cells, 34);
        QVERIFY(d.acceptButton->isEnabled());
        QCOMPARE(d.pendingCells(), 40);
    }

    // Cancel undoes an accepted cell change, and the views rebuild from the
    // old count. (What it brings back of the line plan: tests/lines.)
    void cancelAfterACellChange()
    {
        DataDialog d;
        d.show();
        d.cellsspinBox->setValue(35);
        emit d.acceptButton->pressed();
        QCOMPARE(live->cells, 35);
        live->geometryChanged = false; // the view has rebuilt meanwhile
        d.cancelButton->click();
        QCOMPARE(live->cells, 34);
        QCOMPARE(live->lastRib, 17);
        QVERIFY(live->geometryChanged); // and rebuilds again from the old count
    }

    // Tiny wings keep their transition ribs inside the wing, so the next
    // recompute stays within the rib tables.
    void tinyWingsKeepTransitionRibsInside_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("2 cells") << 2;
        QTest::newRow("3 cells") << 3;
        QTest::newRow("4 cells") << 4;
        QTest::newRow("7 cells") << 7;
    }

    void tinyWingsKeepTransitionRibsInside()
    {
        QFETCH(int, cells);
        DataDialog d;
        d.show();
        d.cellsspinBox->setValue(cells);
        emit d.acceptButton->pressed();
        QCOMPARE(live->cells, cells);
        QVERIFY(live->transitionRib1 >= live->firstRib);
        QVERIFY(live->transitionRib2 >= live->transitionRib1);
        QVERIFY(live->transitionRib2 <= std::max(live->firstRib, live->lastRib - 1));
        d.okButton->click();
        QVERIFY(std::isfinite(live->flatArea));
    }

    void seamEditorShowsThePatternRows()
    {
        OverSewDataDialog o;
        DataDialog d;
        QCOMPARE(o.windowTitle(), QString("Seam allowance data"));
        QCOMPARE(o.tableWidget->rowCount(), 7);
        for (int r = 0; r < 7; ++r)
            QCOMPARE(o.tableWidget->item(r, 0)->text(), d.tableWidget->item(r + 7, 0)->text());
        o.show();
        QCOMPARE(cell(o.tableWidget, 0), QString("12.5"));
        QCOMPARE(cell(o.tableWidget, 1), QString("7"));
        QCOMPARE(cell(o.tableWidget, 4), QString("1.0"));
        QCOMPARE(cell(o.tableWidget, 5), QString("0.00"));
        QCOMPARE(cell(o.tableWidget, 6), QString("0.50"));
        QCOMPARE(live->span, 12.3456); // not among its rows
    }

    void seamEditorOkOnlyRaisesTheRebuildFlag()
    {
        OverSewDataDialog o;
        o.show();
        type(o.tableWidget, 5, "0.001");
        QCOMPARE(live->edgeTipFactor, 0.001);
        type(o.tableWidget, 2, "xx");
        QCOMPARE(live->seamAllowance[2], 10.0);
        type(o.tableWidget, 3, "6,5");
        QCOMPARE(live->seamAllowance[3], 6.5);
        o.okButton->click();
        QVERIFY(!o.isVisible());
        QCOMPARE(live->edgeTipFactor, 0.0025);
        QVERIFY(live->geometryChanged);
        QVERIFY(!live->linesOutdated);
        QVERIFY(steps.isEmpty());
    }

    void seamEditorCancelRestores()
    {
        OverSewDataDialog o;
        o.show();
        type(o.tableWidget, 0, "15");
        QCOMPARE(live->seamAllowance[0], 15.0);
        o.cancelButton->click();
        QCOMPARE(live->seamAllowance[0], 12.5);
        QCOMPARE(live->controlPointDiameter, 0.5);
        QVERIFY(!live->geometryChanged);
    }
};

QTEST_MAIN(TestDataDialog)
#include "tst_datadialog.moc"
