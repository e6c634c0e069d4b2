#include <QTest>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>
#include <memory>

#include "tests/core/designfixture.h"
#include "core/airfoil.h"
#include "core/calcul3d.h"
#include "airfoils/ui/editairfoildialog.h"
#include "tests/common/foilgen.h"
#include "airfoils/ui/importairfoildialog.h"
#include "tests/common/scripteduser.h"
#include "core/notify.h"
#include "core/parastruct.h"

namespace {

// Distance of q from the polyline p.
double distanceTo(const QPolygonF& p, QPointF q)
{
    double best = 1e9;
    for (int i = 0; i + 1 < p.size(); ++i) {
        const QPointF a = p[i], b = p[i + 1];
        const QPointF ab = b - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        double t = len2 > 0 ? QPointF::dotProduct(q - a, ab) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const QPointF d = a + t * ab - q;
        best = std::min(best, std::hypot(d.x(), d.y()));
    }
    return best;
}

} // namespace

// Import, assignment, selection, transition ribs, morphing hand-off, the
// airfoil table and "apply  ok", on the 34-cell test wing with airfoil files
// generated into a work directory of the test's own.
class TestImportAirfoil : public QObject
{
    Q_OBJECT
    QTemporaryDir work;
    ParaStruct* live = nullptr;
    std::unique_ptr<ImportAirFoilDialog> dialog;
    std::unique_ptr<EditAirFoilDialog> morphDialog;
    QStringList steps;
    ScriptedUser user;
    QStringList warnings;
    QString chosen;
    QStringList asked;
    QString plainFile;

    void importFile(const QString& path)
    {
        chosen = path;
        emit dialog->importButton->pressed();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.isValid());
        QVERIFY(QDir(work.path()).mkpath("Airfoils"));
        GetGlobClass()->workDir = work.path();
        foilgen::Naca4 f;
        f.thickness = 0.15;
        plainFile = foilgen::writeFile(work.path() + "/Airfoils", "gen2415.dat",
                                       foilgen::plainTable(foilgen::naca4(f, 81)));
        QVERIFY(!plainFile.isEmpty());
        Set_Recompute_Trace([this](const char* step) { steps << step; });
    }

    void init()
    {
        live = GetDataStruct();
        *live = *fixture::makeWing(34);
        for (int k = 0; k < 4; ++k)
            live->designAirfoilNames[k] = QString("design %1").arg(k);
        steps.clear();
        warnings.clear();
        asked.clear();
        user.onOpenFile = [this](const QString& caption, const QString& dir, const QString& filter) {
            asked << caption + "|" + dir + "|" + filter;
            return chosen;
        };
        user.onSaveFile = user.onOpenFile;
        // The dialog's own warnings carry a title; what the airfoil library
        // tells the user on the way (no title) is not counted here.
        user.onWarning = [this](const QString& t, const QString& m) {
            if (!t.isEmpty())
                warnings << t + "|" + m;
        };
        morphDialog = std::make_unique<EditAirFoilDialog>();
        dialog = std::make_unique<ImportAirFoilDialog>();
        dialog->Setup_EditAirfoil(morphDialog.get());
        dialog->show();
    }

    void cleanup()
    {
        dialog.reset();
        morphDialog.reset();
    }

    void formAsItStarts()
    {
        QCOMPARE(dialog->windowTitle(), QString("Airfoil's  selection dialog"));
        QVERIFY(dialog->isSizeGripEnabled());
        QVERIFY(!dialog->workgroupBox->isEnabled());
        QCOMPARE(dialog->as_p0->toolTip(), QString("set this airfoil as main airfoil"));
        QCOMPARE(dialog->as_p3->toolTip(), QString("set as edge-tip foil"));
        QCOMPARE(dialog->transrib2_spinBox->minimum(), 1);
        QCOMPARE(dialog->index3_spinBox->maximum(), 3);
        QCOMPARE(dialog->foil_2->slot(), 2);
        QCOMPARE(dialog->foil_2->airfoil(), live->designAirfoils[2]);
        QCOMPARE(dialog->workingName(), QString("*"));
    }

    void importAssignSaveAndReadBack()
    {
        importFile(plainFile);
        QCOMPARE(asked.value(0), "Select airfoil|" + work.path() + "/Airfoils|Files (*.txt *.dat)");
        QVERIFY(dialog->workgroupBox->isEnabled());
        const QPolygonF imported = Import_Airfoil_File(plainFile);
        QCOMPARE(dialog->workingAirfoil(), imported);
        QCOMPARE(dialog->foil_work->airfoil(), imported);
        QCOMPARE(dialog->foil_work->slot(), 9);
        QCOMPARE(dialog->foil_work->label(), QString("imported"));
        QCOMPARE(dialog->workingName(), QString("gen2415.dat"));

        dialog->as_p0->click();
        QCOMPARE(live->designAirfoils[0].size(), 1000);
        QCOMPARE(live->designAirfoils[0], imported.mid(0, 1000));
        QCOMPARE(live->designAirfoilNames[0], QString("gen2415.dat"));
        QCOMPARE(dialog->foil_0->airfoil(), live->designAirfoils[0]);
        QVERIFY(steps.isEmpty()); // nothing recomputed before "apply  ok"

        chosen = work.path() + "/saved.txt";
        dialog->saveButton->click();
        QCOMPARE(asked.value(1), QString("Save File as||Files (airfoil.txt *.out *.txt *.dat)"));
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.last(), QByteArray()); // the text ends with its last line
        QCOMPARE(lines.size(), 1 + 1 + 102);
        QCOMPARE(lines[0], (chosen + " \t").toUtf8());
        QCOMPARE(lines[1], QByteArray("1.00000   0.00000 \t"));
        QCOMPARE(lines[102], QByteArray("1.00000   0.00000 \t"));
        const QRegularExpression row("^-?\\d\\.\\d{5}   -?\\d\\.\\d{5} \\t$");
        for (int i = 1; i <= 102; ++i)
            QVERIFY2(row.match(QString::fromLatin1(lines[i])).hasMatch(), lines[i].constData());
        QCOMPARE(lines[2], QString("%1   %2 \t").arg(imported[1].x(), 7, 'f', 5).arg(imported[1].y(), 7, 'f', 5).toLatin1());

        const QPolygonF back = Import_Airfoil_File(chosen);
        QVERIFY(back.size() >= 1000);
        // The table keeps every tenth point: apart from the nose, where the
        // chords between samples cut the curve by about a thousandth, the
        // airfoil comes back within 1e-3 of the chord.
        double worst = 0, worstAwayFromNose = 0, sum = 0;
        for (const QPointF& q : back) {
            const double d = distanceTo(imported, q);
            worst = std::max(worst, d);
            if (q.x() > 0.02)
                worstAwayFromNose = std::max(worstAwayFromNose, d);
            sum += d;
        }
        QVERIFY2(worstAwayFromNose < 1e-3, qPrintable(QString::number(worstAwayFromNose)));
        QVERIFY2(worst < 2e-3, qPrintable(QString::number(worst)));
        QVERIFY2(sum / back.size() < 5e-4, qPrintable(QString::number(sum / back.size())));
    }

    void fileWithoutAContourImportsNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no numbers") << "no airfoil here\n" << "known layout";
        QTest::newRow("two points") << "GEN\n1.0 0.0\n0.0 0.0\n" << "three";
        // The sides listed separately from the leading edge after their
        // counts: the counts are no point and the file no half contour.
        const QPolygonF contour = foilgen::naca4({0.02, 0.4, 0.12, false}, 61);
        QTest::newRow("separate sides")
            << foilgen::separateSidesTable(foilgen::upperSide(contour), foilgen::lowerSide(contour)) << "separately";
    }

    void fileWithoutAContourImportsNothing()
    {
        QFETCH(QString, text);
        QFETCH(QString, reason);
        importFile(plainFile);
        const QPolygonF before = dialog->workingAirfoil();
        const QString junk = foilgen::writeFile(work.path() + "/Airfoils", "junk.dat", text);
        importFile(junk);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings[0].contains("nothing imported: junk.dat"));
        QVERIFY2(warnings[0].contains(reason), qPrintable(warnings[0]));
        QCOMPARE(dialog->workingAirfoil(), before);
        QCOMPARE(dialog->workingName(), QString("gen2415.dat"));
    }

    void cancelledImportEnablesTheWorkGroupOnly()
    {
        emit morphDialog->to_workfoil(live->designAirfoils[1]);
        QCOMPARE(dialog->morphedResult(), live->designAirfoils[1]);
        importFile(QString());
        QVERIFY(dialog->workgroupBox->isEnabled());
        QVERIFY(dialog->morphedResult().isEmpty());
        QVERIFY(dialog->workingAirfoil().isEmpty());
        dialog->as_p1->click(); // nothing to assign
        QCOMPARE(live->designAirfoils[1], fixture::standardAirfoil(0.16, 0.025));
        QCOMPARE(live->designAirfoilNames[1], QString("design 1"));
    }

    void clickingAPreviewSelectsItsAirfoil()
    {
        QTest::mouseClick(dialog->foil_2, Qt::LeftButton);
        QCOMPARE(dialog->selectedAirfoil(), 2);
        QVERIFY(dialog->workgroupBox->isEnabled());
        QCOMPARE(dialog->workingAirfoil(), live->designAirfoils[2]);
        QCOMPARE(dialog->foil_work->airfoil(), live->designAirfoils[2]);
        QCOMPARE(dialog->workingName(), QString("*"));

        // A preview that never had an airfoil selects design airfoil 0.
        Airfarea empty;
        connect(&empty, &Airfarea::to_selectfoil, dialog.get(), &ImportAirFoilDialog::SelectFoil);
        QTest::mouseClick(&empty, Qt::LeftButton);
        QCOMPARE(dialog->selectedAirfoil(), 0);
        QCOMPARE(dialog->workingAirfoil(), live->designAirfoils[0]);
        // The work view ignores clicks.
        QTest::mouseClick(dialog->foil_work, Qt::LeftButton);
        QCOMPARE(dialog->selectedAirfoil(), 0);
    }

    // The transition ribs stay behind the first rib and ahead of position 3
    // (the last rib - 1), also when typed far beyond the wing.
    void transitionRibsStayInsideTheWing_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("tr1");
        QTest::addColumn<int>("tr2");
        QTest::addColumn<int>("want1");
        QTest::addColumn<int>("want2");
        QTest::newRow("34 cells, in range") << 34 << 5 << 9 << 5 << 9;
        QTest::newRow("34 cells, tr1 at 0") << 34 << 0 << 9 << 1 << 9;
        QTest::newRow("35 cells, tr1 at 0") << 35 << 0 << 9 << 2 << 9;
        QTest::newRow("34 cells, tr2 below tr1") << 34 << 8 << 3 << 8 << 9;
        QTest::newRow("34 cells, tr1 at 120") << 34 << 120 << 120 << 15 << 16;
        QTest::newRow("34 cells, tr2 at 120") << 34 << 5 << 120 << 5 << 16;
        QTest::newRow("5 cells") << 5 << 40 << 60 << 2 << 2;
        QTest::newRow("8 cells") << 8 << 40 << 60 << 2 << 3;
        QTest::newRow("2 cells") << 2 << 40 << 60 << 0 << 0;
    }

    void transitionRibsStayInsideTheWing()
    {
        QFETCH(int, cells);
        QFETCH(int, tr1);
        QFETCH(int, tr2);
        QFETCH(int, want1);
        QFETCH(int, want2);
        *live = *fixture::makeWing(cells);
        dialog->hide();
        dialog->show();
        dialog->transrib1_spinBox->setValue(tr1);
        dialog->transrib2_spinBox->setValue(tr2);
        QCOMPARE(live->transitionRib1, want1);
        QCOMPARE(live->transitionRib2, want2);
        QCOMPARE(dialog->transrib1_spinBox->value(), want1);
        emit dialog->okButton->pressed();
        QVERIFY(steps.contains("Setup_Wing_Airfoils"));
    }

    void airfoilIndexesGoToThePositions()
    {
        dialog->index1_spinBox->setValue(3);
        QCOMPARE(live->positionAirfoilIndex[1], 3);
        dialog->hide();
        live->positionAirfoilIndex[2] = 0;
        dialog->show();
        QCOMPARE(dialog->index2_spinBox->value(), 0);
        QCOMPARE(dialog->index1_spinBox->value(), 3);
    }

    void morphingResultIsAssignedUnderTheWorkingName()
    {
        importFile(plainFile);
        const QPolygonF before = dialog->workingAirfoil();
        dialog->editfoilButton->click();
        QVERIFY(morphDialog->isVisible());
        QCOMPARE(morphDialog->morphwidget->workingAirfoil(), before);
        morphDialog->verticalSlider->setValue(50);
        const QPolygonF morphed = dialog->morphedResult();
        QCOMPARE(morphed, MorphAirfoil(live, 1.5, 0, 0, 1, 1, before));
        dialog->foil_work->grab();
        QCOMPARE(dialog->foil_work->airfoil(), morphed); // the work view shows the result

        chosen = work.path() + "/premorph.txt";
        dialog->saveButton->click();
        QCOMPARE(Import_Airfoil_File(chosen).size(), Import_Airfoil_File(plainFile).size());
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines[2], QString("%1   %2 \t").arg(before[1].x(), 7, 'f', 5).arg(before[1].y(), 7, 'f', 5).toLatin1());

        dialog->as_p2->click();
        QCOMPARE(live->designAirfoils[2], morphed.mid(0, 1000));
        QCOMPARE(live->designAirfoilNames[2], QString("gen2415.dat"));
        QCOMPARE(dialog->workingAirfoil(), morphed);
    }

    void applyRecomputesTheRibAirfoils()
    {
        const int rib = live->firstRib;
        const QPolygonF oldRib = live->ribAirfoils[rib];
        for (int k = 0; k < kLineRows; ++k) {
            const QPointF p = oldRib[100 * k + 50];
            live->rowMarkers[k] = QPointF(40 + 560 * p.x(), -560 * p.y());
        }
        importFile(plainFile);
        dialog->as_p0->click();
        live->geometryChanged = false;
        live->linesOutdated = false;
        emit dialog->okButton->pressed();
        for (int k = 0; k < kLineRows; ++k)
            QCOMPARE(live->rowCentreIndex[k], 100 * k + 50); // found on the rib airfoil before the recompute
        QVERIFY(steps.contains("Setup_Wing_Airfoils"));
        QVERIFY(live->ribAirfoils[rib] != oldRib);
        QVERIFY(std::abs(live->ribAirfoils[rib][250].y() - live->designAirfoils[0][250].y()) < 1e-9);
        QVERIFY(live->geometryChanged);
        QVERIFY(live->linesOutdated);
        QVERIFY(!dialog->isVisible());
        QVERIFY(dialog->workingAirfoil().isEmpty());
        QVERIFY(dialog->foil_work->airfoil().isEmpty());
    }

    void showStartsWithoutWorkingAirfoil()
    {
        importFile(plainFile);
        dialog->hide();
        emit morphDialog->to_workfoil(live->designAirfoils[3]);
        dialog->show();
        QVERIFY(dialog->morphedResult().isEmpty());
        QVERIFY(dialog->workingAirfoil().isEmpty());
        QCOMPARE(dialog->workingName(), QString("*"));
        QVERIFY(dialog->workgroupBox->isEnabled()); // stays enabled

        // Saving now writes the two trailing-edge lines only.
        chosen = work.path() + "/empty.txt";
        dialog->saveButton->click();
        QFile file(chosen);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (chosen + " \t\n1.00000   0.00000 \t\n1.00000   0.00000 \t\n").toUtf8());
    }

    void unwritableTableIsReported()
    {
        importFile(plainFile);
        chosen = work.path() + "/no/such/dir/t.txt";
        dialog->saveButton->click();
        QCOMPARE(warnings.size(), 1);
        QVERIFY(!QFile::exists(chosen));
    }
};

QTEST_MAIN(TestImportAirfoil)
#include "tst_importairfoil.moc"
