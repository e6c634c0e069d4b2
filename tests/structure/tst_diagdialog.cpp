// The diagonal ribs dialog on the default design: the two tables and their
// edit rules, the replication accelerator, OK and Cancel, the bottom width,
// the cross-port model, the plane view's drags and the actual view.

#include <QTest>
#include <QCoreApplication>
#include <QSize>
#include <QRectF>
#include <QSignalSpy>
#include <QEvent>
#include <QImage>
#include <QLineF>

#include <cmath>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "core/parastruct.h"
#include "structure/diagchart.h"
#include "structure/diagmodel.h"
#include "structure/diagonals.h"
#include "structure/ui/dcrossport_edit.h"
#include "structure/ui/diagdialog.h"
#include "structure/ui/diatopview.h"
#include "structure/ui/ucwidget.h"
#include "core/chartlabels.h"
#include "core/viewfit.h"
#include "structure/ui/dmodelview.h"
#include "tests/common/scripteduser.h"
#include "tests/structure/editorfixture.h"
#include "widgets/viewstate.h"

#include <memory>

using namespace editors;

class TestDiagDialog : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    std::unique_ptr<DiagDialog> dialog;
    ParaStruct* live = nullptr;
    GlViewState view; // the main 3-D view's

    template <class T>
    T* child(const char* name) const
    {
        return named<T>(dialog.get(), name);
    }
    QTableWidget* d1() const { return child<QTableWidget>("diagTableWidget"); }
    QTableWidget* d2() const { return child<QTableWidget>("diagTableWidget_2"); }
    DModelView* model() const { return child<DModelView>("model_widget"); }
    DiaTopView* plane() const { return child<DiaTopView>("dia_top_widget"); }
    DiaCrossPort* actual() const { return child<DiaCrossPort>("dia_crossport_widget"); }
    QTabWidget* tabs() const { return child<QTabWidget>("tabWidget"); }

    void open() { QVERIFY(showAt(dialog.get(), 1200, 900)); }
    void reopen()
    {
        dialog->hide();
        open();
    }
    void typeInto(QTableWidget* t, int row, int column, const QString& text)
    {
        t->item(row, column)->setText(text);
    }

private slots:
    void init()
    {
        live = liveDefault();
        view = GlViewState();
        dialog = std::make_unique<DiagDialog>();
        dialog->setViewState(&view);
        open();
    }
    void cleanup() { dialog.reset(); }

    void opensWithOneColumnPerRib()
    {
        QCOMPARE(live->lastRib, 17);
        QCOMPARE(d1()->columnCount(), 18);
        QCOMPARE(d2()->columnCount(), 18);
        QCOMPARE(d1()->rowCount(), 4);
        QCOMPARE(d2()->rowCount(), 3);
        QCOMPARE(d1()->verticalHeaderItem(2)->text(), QString("connectto next rib"));
        QCOMPARE(d1()->verticalHeaderItem(3)->text(), QString("Rib type[L],[I]"));
        QCOMPARE(d2()->verticalHeaderItem(0)->text(), QString("D2 Rib"));
        for (int i = 0; i < 18; ++i) {
            QCOMPARE(d1()->item(0, i)->text(), QString::number(live->diagTableD1[i].rib));
            QCOMPARE(d1()->item(1, i)->text(), QString::number(live->diagTableD1[i].heightPercent));
            QCOMPARE(d1()->item(2, i)->checkState() == Qt::Checked, live->diagTableD1[i].connectNext);
            QCOMPARE(d1()->item(3, i)->text(), live->diagTableD1[i].ribType == 0 ? QString("L") : QString("I"));
            QCOMPARE(d2()->item(1, i)->text(), QString::number(live->diagTableD2[i].heightPercent));
        }
        QCOMPARE(d1()->rowHeight(0), 4 * dialog->sizeUnit());
        QCOMPARE(d1()->columnWidth(5), 5 * dialog->sizeUnit());
        QVERIFY(view.ghostView);
        QCOMPARE(actual()->currentDiagonal(), 0);
        QCOMPARE(child<QSpinBox>("spinBottomWidth")->value(), int(live->diagBottomWidth));
        QCOMPARE(child<QSpinBox>("offsetBox")->value(), live->diagModelTriangle.offsetMm / 4);
        QCOMPARE(child<QSpinBox>("masksizespinBox")->value(), live->diagMask2);
        keepPicture(dialog.get(), "diagonals_plan");
    }

    void heightCellsAreClamped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("above") << "150" << 100;
        QTest::newRow("below") << "-5" << 0;
        QTest::newRow("no number") << "x" << 0;
        QTest::newRow("inside") << "42" << 42;
    }

    void heightCellsAreClamped()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        typeInto(d1(), 1, 4, typed);
        QCOMPARE(live->diagTableD1[4].heightPercent, stored);
        QCOMPARE(d1()->item(1, 4)->text(), typed);   // the cell keeps what was typed
        typeInto(d2(), 1, 6, typed);
        QCOMPARE(live->diagTableD2[6].heightPercent, stored);
        // Row 0 names the rib; typing there stores nothing.
        typeInto(d1(), 0, 4, "9");
        QCOMPARE(live->diagTableD1[4].rib, 4);
    }

    void ribTypeCells_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("shown");
        QTest::newRow("lower-case l") << "l" << 0 << "L";
        QTest::newRow("L") << "L" << 0 << "L";
        QTest::newRow("other letter") << "q" << 1 << "I";
        QTest::newRow("empty") << "" << 1 << "I";
    }

    void ribTypeCells()
    {
        QFETCH(QString, typed);
        QFETCH(int, type);
        QFETCH(QString, shown);
        typeInto(d1(), 3, 3, typed);
        QCOMPARE(live->diagTableD1[3].ribType, type);
        QCOMPARE(d1()->item(3, 3)->text(), shown);
    }

    void cancelKeepsEdits()
    {
        QVERIFY(!live->diagTableD1[4].connectNext);
        d1()->item(2, 4)->setCheckState(Qt::Checked);
        QVERIFY(live->diagTableD1[4].connectNext);
        QTest::mouseClick(child<QPushButton>("CancelButton"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(live->diagTableD1[4].connectNext);
        open();
        QCOMPARE(d1()->item(2, 4)->checkState(), Qt::Checked);
    }

    // The main view turns to its ghost mode while the plan is edited; Cancel,
    // Escape and the window's close button bring back the view the dialog
    // found, OK leaves the canopy shown.
    void leavingBringsBackTheViewItFound_data()
    {
        QTest::addColumn<bool>("ghostBefore");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ghostAfter");
        for (bool before : {false, true}) {
            const char* was = before ? "ghost view on" : "canopy shown";
            for (const char* how : {"Cancel", "Escape", "close"})
                QTest::addRow("%s, %s", was, how) << before << QString(how) << before;
            QTest::addRow("%s, OK", was) << before << QString("OK") << false;
        }
    }

    void leavingBringsBackTheViewItFound()
    {
        QFETCH(bool, ghostBefore);
        QFETCH(QString, how);
        QFETCH(bool, ghostAfter);
        dialog->hide();
        view.ghostView = ghostBefore;
        open();
        QVERIFY(view.ghostView);
        if (how == "Cancel")
            QTest::mouseClick(child<QPushButton>("CancelButton"), Qt::LeftButton);
        else if (how == "Escape")
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else if (how == "close")
            QVERIFY(dialog->close());
        else
            QTest::mouseClick(child<QPushButton>("OkButton"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(view.ghostView, ghostAfter);
    }

    void replicationRepeatsThePattern()
    {
        // A pattern of period 2 from rib 1 that the default design lacks.
        live->diagTableD1[1] = DiagonalRow{1, 0, true, 0, {}};
        live->diagTableD1[2] = DiagonalRow{2, 100, false, 1, {}};
        const DiagonalRow before17 = live->diagTableD1[17];
        for (int k = 3; k < 17; ++k)
            live->diagTableD1[k].rib = 40 + k;   // rib numbers are not copied
        child<QSpinBox>("startribpinBox")->setValue(1);
        child<QSpinBox>("masksizespinBox")->setValue(2);
        QTest::mouseClick(child<QToolButton>("maskButton"), Qt::LeftButton);
        for (int k = 3; k <= 16; ++k) {
            const DiagonalRow& from = live->diagTableD1[k % 2 == 1 ? 1 : 2];
            QCOMPARE(live->diagTableD1[k].heightPercent, from.heightPercent);
            QCOMPARE(live->diagTableD1[k].connectNext, from.connectNext);
            QCOMPARE(live->diagTableD1[k].ribType, from.ribType);
            QCOMPARE(live->diagTableD1[k].rib, 40 + k);
            QCOMPARE(d1()->item(1, k)->text(), QString::number(from.heightPercent));
        }
        QCOMPARE(live->diagTableD1[17].heightPercent, before17.heightPercent);
        QCOMPARE(live->diagTableD1[17].connectNext, before17.connectNext);
        QCOMPARE(live->diagMask1, 1);
        QCOMPARE(live->diagMask2, 2);

        // "A2" repeats table D2 alone, without rib types.
        const int type5 = live->diagTableD1[5].ribType;
        live->diagTableD2[1].heightPercent = 100;
        live->diagTableD2[1].connectNext = true;
        live->diagTableD2[2].heightPercent = 0;
        live->diagTableD2[2].connectNext = false;
        QTest::mouseClick(child<QToolButton>("mask2Button"), Qt::LeftButton);
        QCOMPARE(live->diagTableD2[5].heightPercent, 100);
        QVERIFY(live->diagTableD2[5].connectNext);
        QCOMPARE(live->diagTableD2[6].heightPercent, 0);
        QCOMPARE(live->diagTableD1[5].ribType, type5);
    }

    void okStoresTheRibNumbersAndRecomputes()
    {
        for (int i = 0; i < 66; ++i)
            live->diagTableD1[i].rib = live->diagTableD2[i].rib = -1;
        // Without the rib numbers no row can start a diagonal.
        Generate_All_Diagonals(live);
        QVERIFY(live->diagonals.isEmpty());
        typeInto(d1(), 1, 7, "100");
        const auto revision = live->geometryChanged.revision();
        QTest::mouseClick(child<QPushButton>("OkButton"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        for (int i = 0; i < 18; ++i) {
            QCOMPARE(live->diagTableD1[i].rib, i);
            QCOMPARE(live->diagTableD2[i].rib, i);
        }
        QCOMPARE(live->diagTableD1[7].heightPercent, 100);
        QCOMPARE(live->diagTableD1[18].rib, -1);   // beyond the columns: untouched
        QVERIFY(!view.ghostView);
        // Recomputed: the diagonals are there again.
        QVERIFY(!live->diagonals.isEmpty());
        QVERIFY(live->geometryChanged.revision() != revision);
    }

    void bottomWidthRebuildsTheBands()
    {
        const int lowerBefore = plane()->lowerIndex(0);
        tabs()->setCurrentIndex(2);
        child<QSpinBox>("spinBottomWidth")->setValue(40);
        QCOMPARE(live->diagBottomWidth, 40.0);
        for (int r = live->firstRib; r < live->lastRib; ++r)
            QCOMPARE(live->diagTableRows[1][r], int(std::lround(live->rib_glob_factor(r) * 0.4)));
        // The plane view's lower points follow rib 1's band.
        const int a = live->lineIndex[2][1];
        QCOMPARE(plane()->lowerIndex(0), a - live->diagTableRows[0][1]);
        QCOMPARE(live->diagRowIndexB[0], plane()->lowerIndex(0));
        Q_UNUSED(lowerBefore);
    }

    void storedBottomWidthIsClampedOnOpening_data()
    {
        QTest::addColumn<double>("stored");
        QTest::addColumn<double>("kept");
        QTest::newRow("too wide") << 150.0 << 99.0;
        QTest::newRow("too narrow") << 0.5 << 1.0;
    }

    void storedBottomWidthIsClampedOnOpening()
    {
        QFETCH(double, stored);
        QFETCH(double, kept);
        dialog->hide();
        live->diagBottomWidth = stored;
        const int rows = live->diagTableRows[0][3];
        open();
        QCOMPARE(live->diagBottomWidth, kept);
        QCOMPARE(child<QSpinBox>("spinBottomWidth")->value(), int(kept));
        // Only a change of the box recomputes the band widths.
        QCOMPARE(live->diagTableRows[0][3], rows);
    }

    void defaultShape()
    {
        tabs()->setCurrentIndex(1);
        for (QPointF& p : live->diagModelPoints)
            p += QPointF(13, -7);
        live->diagModelFlags[0] = live->diagModelFlags[1] = false;
        QTest::mouseClick(child<QToolButton>("default_Button"), Qt::LeftButton);
        dialog->grab();
        const Triang& t = live->diagModelTriangle;
        QCOMPARE(t.corner[0], QPointF(737.28, 34.56));
        QCOMPARE(t.corner[1], QPointF(184.32, 34.56));
        QVERIFY(std::fabs(t.corner[2].x() - 460.8) < 1e-9);
        QVERIFY(std::fabs(t.corner[2].y() - 362.88) < 1e-9);
        QCOMPARE(child<QSpinBox>("n_Box")->value(), 1);
        QCOMPARE(child<QSpinBox>("offsetBox")->value(), 10);
        QCOMPARE(child<QSpinBox>("dcornerBox")->value(), 2);
        QCOMPARE(t.offsetMm, 40);
        QCOMPARE(t.cornerCount, 2);
        QCOMPARE(t.holeCount, 1);
        QVERIFY(live->diagModelFlags[0] && live->diagModelFlags[1]);
        QVERIFY(child<QCheckBox>("lineBox_D")->isChecked());
        QCOMPARE(live->diagModelPolys.size(), 1);
        QCOMPARE(live->diagModelOutline[3], live->diagModelPoints[5]);
        keepPicture(dialog.get(), "diagonals_model");
    }

    void offsetBoxHoldsAQuarterOfTheWeb()
    {
        tabs()->setCurrentIndex(1);
        child<QSpinBox>("offsetBox")->setValue(25);
        QCOMPARE(live->diagModelTriangle.offsetMm, 100);
        reopen();
        QCOMPARE(child<QSpinBox>("offsetBox")->value(), 25);
        QCOMPARE(live->diagModelTriangle.offsetMm, 100);
    }

    void heightPointsMoveTogetherAndOnlyUpOrDown()
    {
        tabs()->setCurrentIndex(1);
        QTest::mouseClick(child<QToolButton>("default_Button"), Qt::LeftButton);
        DModelView* v = model();
        const QPointF p6 = live->diagModelPoints[6];
        const QPointF p7 = live->diagModelPoints[7];
        const QPointF at = v->offset() + v->zoom() * p7;
        drag(v, at, at + QPointF(40, 0));
        QCOMPARE(live->diagModelPoints[6], p6);
        QCOMPARE(live->diagModelPoints[7], p7);
        // Pixels are taken as model units, whatever the zoom.
        drag(v, at, at + QPointF(0, -30));
        QCOMPARE(live->diagModelPoints[6], p6 + QPointF(0, -30));
        QCOMPARE(live->diagModelPoints[7], p7 + QPointF(0, -30));
        QTest::keyClick(v, Qt::Key_Down);
        QCOMPARE(live->diagModelPoints[6].y(), p6.y() - 29);
        QVERIFY(v->modelValid());

        // Raised to the top edge the apex lines run parallel: no model.
        const QPointF apex = live->diagModelTriangle.corner[2];
        const double top = live->diagModelPoints[5].y();
        QCOMPARE(top, 34.56);
        live->diagModelPoints[6].setY(top + 1);
        live->diagModelPoints[7].setY(top + 1);
        QTest::keyClick(v, Qt::Key_Up);
        QCOMPARE(live->diagModelPoints[7].y(), top);
        QVERIFY(!v->modelValid());
        QVERIFY(live->diagModelPolys.isEmpty());
        QCOMPARE(live->diagModelTriangle.corner[2], apex);
        keepPicture(v, "diagonals_model_invalid");

        press(v, QPointF(5, 5), Qt::RightButton);
        release(v, QPointF(5, 5), Qt::RightButton);
        QCOMPARE(v->zoom(), 1.0);
        wheel(v, 120 * 30);
        QCOMPARE(v->zoom(), 4.0);
    }

    void dragInThePlaneViewWritesTheUpperIndex()
    {
        tabs()->setCurrentIndex(2);
        DiaTopView* v = plane();
        QCOMPARE(v->zoom(), 1.0);
        const int before = v->upperIndex(2);
        const QPointF from = v->upperPointOnScreen(2);
        const int diagonals = int(live->diagonals.size());
        QSignalSpy changed(v, &DiaTopView::back_to_dialog);
        drag(v, from, from + QPointF(-40, 0));
        QVERIFY(changed.count() >= 2);
        QVERIFY(v->upperIndex(2) != before);
        QCOMPARE(live->diagRowIndexA[2], v->upperIndex(2));
        // Toward the nose along the upper side: higher indexes.
        QVERIFY(v->upperIndex(2) > before);
        QCOMPARE(int(live->diagonals.size()), diagonals);
        // Left and Right keys step the selected point.
        const int dragged = v->upperIndex(2);
        press(v, v->upperPointOnScreen(2));
        release(v, v->upperPointOnScreen(2));
        QTest::keyClick(v, Qt::Key_Right);
        QVERIFY(live->diagRowIndexA[2] <= dragged);
        keepPicture(dialog.get(), "diagonals_plane_view");

        // Dragged beyond the nose the point stays on the airfoil.
        press(v, v->upperPointOnScreen(2));
        mouse(v, QEvent::MouseMove, v->upperPointOnScreen(2) + QPointF(-2000, 0), Qt::NoButton, Qt::LeftButton);
        release(v, v->upperPointOnScreen(2));
        QVERIFY(v->upperIndex(2) >= 0 && v->upperIndex(2) < 1000);
        // Shown again, the indexes are held to the upper side once more.
        reopen();
        tabs()->setCurrentIndex(2);
        QVERIFY(plane()->upperIndex(2) <= live->noseIndex[1] - 10);
        QCOMPARE(live->diagRowIndexA[2], plane()->upperIndex(2));
    }

    void diagonalIdWrapsToTheLastDiagonal()
    {
        tabs()->setCurrentIndex(2);
        QSpinBox* id = child<QSpinBox>("dia_spinBox");
        QCOMPARE(id->value(), 0);
        const int count = int(live->diagonals.size());
        QVERIFY(count > 2);
        id->stepDown();
        QCOMPARE(id->value(), 99);
        QCOMPARE(actual()->currentDiagonal(), count - 1);
        DiaCrossPort* v = actual();
        QVERIFY(v->hasDiagonal());
        QCOMPARE(v->shownDiagonal().first.rib, live->diagonals.last().first.rib);
        QCOMPARE(v->shownDiagonal().second.rib, live->diagonals.last().second.rib);
        QVERIFY(!v->shownDiagonal().flatOutline.isEmpty());
        // The model's holes are in all four tabs.
        QCOMPARE(v->shownDiagonal().flatHoles.size(), 4 * live->diagModelPolys.size());
        id->setValue(1);
        QCOMPARE(actual()->currentDiagonal(), 1);
        keepPicture(dialog.get(), "diagonals_actual_view");
        // The tab widths read the bottom width at the bottom end's rib.
        const DiagonalData& shown = v->shownDiagonal();
        const int rb = shown.first.heightPercent < shown.second.heightPercent ? shown.first.rib : shown.second.rib;
        const double expected = 10 * live->diagBottomWidth * live->rib_glob_factor(rb);
        for (const QString& mm : v->tabWidthLabels())
            QVERIFY2(std::fabs(mm.toDouble() - expected) < 0.03 * expected + 1, qPrintable(mm));
        // A right click resets the view, a left click changes nothing.
        press(v, QPointF(10, 10), Qt::RightButton);
        release(v, QPointF(10, 10), Qt::RightButton);
        QCOMPARE(v->zoom(), 1.0);
        QCOMPARE(v->offset(), QPointF(0, 0.17 * 768));
        wheel(v, 360);
        QCOMPARE(v->zoom(), 2.0);
        press(v, QPointF(10, 10));
        release(v, QPointF(10, 10));
        QCOMPARE(v->zoom(), 2.0);
    }

    // The chart draws the diagonals the design gets, each from its start rib
    // to its partner, and nothing solid where none is built: on the default
    // design none starts from rib 15 outwards, though the plan connects ribs
    // 15-16 (D1) and 16-17 (D2). Those are dashed and their reason written
    // (the tip rib's connection, to no rib, too).
    void chartShowsWhatIsBuilt()
    {
        Generate_All_Diagonals(live);
        QCOMPARE(live->diagonals.size(), 15);
        auto* chartWidget = child<UcWidget>("ucwidget");
        const DiagonalChart chart = Diagonal_Chart(live);
        // Where the chart puts a point at p % of rib i: in plan units on a
        // base at 0, the rib 0.35 of its chord high (upward on screen).
        auto at = [&](int i, int p) {
            return QPointF(live->ribSpanPos[i], -p / 100.0 * 0.35 * live->chord[i]);
        };
        QCOMPARE(chart.built.size(), live->diagonals.size());
        for (int k = 0; k < live->diagonals.size(); ++k) {
            const DiagonalData& d = live->diagonals.at(k);
            const QLineF line = chart.built.at(k).line;
            QCOMPARE(line.p1(), at(d.first.rib, d.first.heightPercent));
            QCOMPARE(line.p2(), at(d.second.rib, d.second.heightPercent));
            QCOMPARE(chart.built.at(k).table, k < 7 ? 1 : 2);
            QVERIFY(d.first.rib < 15 && d.second.rib <= 15);
        }
        QCOMPARE(chart.skipped.size(), 2);
        QCOMPARE(chart.skipped.at(0).line, QLineF(at(15, 0), at(16, 100)));
        QCOMPARE(chart.skipped.at(1).line, QLineF(at(16, 100), at(17, 0)));
        QCOMPARE(chart.notes,
                 QStringList{"no diagonal starts from rib 15 outwards (D1 rib 15, D1 rib 17, D2 rib 16)"});

        // On screen: the built ones solid in their table's colour, the
        // skipped ones broken.
        const QImage image = chartWidget->grab().toImage();
        keepPicture(chartWidget, "diagonals_chart");
        const ViewFit fit = chartWidget->chartFit();
        auto share = [&](const QLineF& line, QColor colour) {
            int hits = 0, samples = 0;
            const QLineF shown(fit.toView(line.p1()), fit.toView(line.p2()));
            for (double t = 0.15; t <= 0.85; t += 0.01, ++samples) {
                // The pixel that holds the point.
                const QPointF q = shown.pointAt(t);
                const QPoint p(int(std::floor(q.x())), int(std::floor(q.y())));
                hits += image.pixelColor(p) == colour ? 1 : 0;
            }
            return double(hits) / samples;
        };
        for (const DiagonalChartLine& l : chart.built)
            QVERIFY2(share(l.line, l.table == 1 ? QColor(Qt::magenta) : QColor(Qt::darkRed)) > 0.95,
                     qPrintable(QString::number(l.line.x1())));
        const double d1Outer = share(QLineF(at(15, 0), at(16, 100)), Qt::magenta);
        const double d2Outer = share(QLineF(at(16, 100), at(17, 0)), Qt::darkRed);
        QVERIFY2(d1Outer > 0.15 && d1Outer < 0.85, qPrintable(QString::number(d1Outer)));
        QVERIFY2(d2Outer > 0.15 && d2Outer < 0.85, qPrintable(QString::number(d2Outer)));
        // Under the chart, in words.
        const QLabel* why = child<QLabel>("skippedLabel");
        QCOMPARE(why->text(), "Not built (dashed in the chart): " + chart.notes.first());
        // An edit that leaves a connection without a diagonal is told at once.
        typeInto(d1(), 1, 3, "50");
        QVERIFY2(why->text().contains("a diagonal starts at 0 or 100 %, not at 50 % (D1 rib 3)"), qPrintable(why->text()));
        keepPicture(dialog.get(), "diagonals_plan_edited");
        dialog->resize(1033, 836);
        keepPicture(dialog.get(), "diagonals_plan_form_size");
    }

    // Every kind of connected row that builds nothing says why.
    void chartTellsWhyARowBuildsNothing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("rib");
        QTest::addColumn<QString>("reason");
        QTest::newRow("between the extremes") << 5 << 50 << 5 << "a diagonal starts at 0 or 100 %, not at 50 %";
        QTest::newRow("rib number not stored") << 5 << 0 << -1
                                               << "the table's rib numbers are not stored yet (OK stores them)";
        QTest::newRow("next to the tip") << 16 << 100 << 16 << "no diagonal starts from rib 15 outwards";
    }
    void chartTellsWhyARowBuildsNothing()
    {
        QFETCH(int, row);
        QFETCH(int, height);
        QFETCH(int, rib);
        QFETCH(QString, reason);
        for (int k = 0; k < kStructSlots; ++k)
            live->diagTableD1[k].connectNext = live->diagTableD2[k].connectNext = false;
        live->diagTableD1[row] = DiagonalRow{rib, height, true, 0, {}};
        live->diagTableD1[row + 1].heightPercent = 100 - height;
        const QList<DiagonalPlanEntry> plan = Diagonal_Plan(live, live->diagTableD1);
        QCOMPARE(plan.size(), 1);
        QVERIFY(!plan.first().built);
        QCOMPARE(plan.first().reason, reason);
        const DiagonalChart chart = Diagonal_Chart(live);
        QVERIFY(chart.built.isEmpty());
        QCOMPARE(chart.skipped.size(), 1);
        QCOMPARE(chart.notes, QStringList{QStringLiteral("%1 (D1 rib %2)").arg(reason).arg(row)});
        // The generation agrees.
        Generate_All_Diagonals(live);
        QVERIFY(live->diagonals.isEmpty());
    }

    void chartSkipsRowsWithoutANextRib()
    {
        // A connection on a row never stored by OK, and one on the tip rib.
        live->diagTableD1[40].rib = -1;
        live->diagTableD1[40].connectNext = true;
        live->diagTableD2[live->lastRib].connectNext = true;
        live->diagTableD2[live->lastRib].rib = live->lastRib;
        QVERIFY(!child<QWidget>("ucwidget")->grab().isNull());
    }

    // At the form's size and at the screen's, the plan chart shows every
    // rib and every rib number whole, odd numbers above the tops included,
    // none on another; the plane view shows its airfoil with the row
    // letters whole; the cross-port model and the flat diagonal open whole
    // in their panes and fill them (point numbers readable, not a quarter
    // of the pane).
    void chartsFitTheFormsSize()
    {
        for (const QSize size : {QSize(1033, 836), QSize(1600, 1000)}) {
            QVERIFY(showAt(dialog.get(), size.width(), size.height()));
            tabs()->setCurrentIndex(0);
            QCoreApplication::processEvents();
            auto* chart = child<UcWidget>("ucwidget");
            const QRectF view(chart->rect());
            QList<QRectF> boxes;
            for (const UcWidget::RibLabel& l : chart->ribLabels()) {
                boxes << l.box;
                QVERIFY2(view.contains(l.box), qPrintable(QStringLiteral("rib %1 at %2 x %3")
                                                               .arg(l.text).arg(size.width()).arg(size.height())));
            }
            QCOMPARE(boxes.size(), live->lastRib + 1);
            QVERIFY(!Labels_Overlap(boxes));
            const ViewFit fit = chart->chartFit();
            for (int i = 0; i <= live->lastRib; ++i) {
                const QPointF base = fit.toView(QPointF(live->ribSpanPos[i], 0));
                const QPointF top = fit.toView(QPointF(live->ribSpanPos[i], -0.35 * live->chord[i]));
                QVERIFY(view.contains(base) && view.contains(top));
            }

            tabs()->setCurrentIndex(2);
            QCoreApplication::processEvents();
            DiaTopView* v = plane();
            const QRectF drawing = v->drawingExtent();
            QVERIFY(!drawing.isEmpty());
            const QRectF shown(v->offset() + v->zoom() * drawing.topLeft(),
                               v->offset() + v->zoom() * drawing.bottomRight());
            QVERIFY2(QRectF(v->rect()).contains(shown),
                     qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                    .arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())
                                    .arg(v->width()).arg(v->height())));

            auto filled = [](const QWidget* pane, QPointF offset, double zoom, const QRectF& drawing) {
                const QRectF shown(offset + zoom * drawing.topLeft(), offset + zoom * drawing.bottomRight());
                const QString where = QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                          .arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())
                                          .arg(pane->width()).arg(pane->height());
                if (drawing.isEmpty() || !QRectF(pane->rect()).adjusted(5, 5, -5, -5).contains(shown))
                    return QStringLiteral("not whole: ") + where;
                if (shown.width() < 0.8 * pane->width() && shown.height() < 0.8 * pane->height())
                    return QStringLiteral("too small: ") + where;
                return QString();
            };
            DiaCrossPort* flat = actual();
            QString problem = filled(flat, flat->offset(), flat->zoom(), flat->drawingExtent());
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            tabs()->setCurrentIndex(1);
            QCoreApplication::processEvents();
            DModelView* m = model();
            problem = filled(m, m->offset(), m->zoom(), m->drawingExtent());
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
        }
        open();
    }

    void tipTab()
    {
        tabs()->setCurrentIndex(3);
        const QString help = child<QLabel>("label_4")->text();
        QVERIFY(help.contains("diagonal plane view:"));
        QVERIFY(help.contains("- choose number of ports,offset, height etc... or default"));
        keepPicture(dialog.get(), "diagonals_tip");
    }
};

QTEST_MAIN(TestDiagDialog)
#include "tst_diagdialog.moc"
