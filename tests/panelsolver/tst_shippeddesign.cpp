// The analysis road on the design the build ships: the main program's mesh
// and "wings.inp" of the default design, this solver started as the main
// program starts it, and "wings.res" read back by the main program's reader.
// It needs the analysis library; without it there is nothing to test.

#include <QTest>
#include <QIODevice>
#include <QObject>
#include <QString>

#ifdef WL_WITH_AERO

#include "aero/apameinput.h"
#include "aero/apamemesh.h"
#include "aero/apameres.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

class TestShippedDesign : public QObject {
    Q_OBJECT

private slots:
    void solvesTheDefaultDesign_data()
    {
        QTest::addColumn<bool>("smooth");
        QTest::newRow("smooth model") << true;
        QTest::newRow("inflated model") << false;
    }
    void solvesTheDefaultDesign()
    {
        QFETCH(bool, smooth);
        const QString appDir = qEnvironmentVariable("WL_APP_DIR");
        QFile file(appDir + "/template.ini");
        auto design = std::make_unique<ParaStruct>();
        QString problem;
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(Read_Project(&file, design.get(), &problem), qPrintable(problem));
        Refresh_Calculations(design.get());

        QTemporaryDir dir;
        int stations[kChordStations]{};
        const int J = f_CreateIndJ(design.get(), stations);
        GlobClass glob;
        glob.dxfDir = dir.path();
        QVERIFY2(CreateApameInputFile(design.get(), &glob, 2, smooth, J, stations, &problem), qPrintable(problem));

        QProcess solver;
        solver.setWorkingDirectory(appDir);
        solver.start("./apame_lnx32", {dir.filePath("wings")});
        QVERIFY(solver.waitForFinished(-1));
        QVERIFY2(solver.exitStatus() == QProcess::NormalExit && solver.exitCode() == 0,
                 solver.readAllStandardError().constData());

        ApameRes res;
        QVERIFY2(Read_Apame_Results(dir.filePath("wings.res"), &res, &problem), qPrintable(problem));
        QCOMPARE(res.caseNum, 13);
        QVERIFY(res.panelNumNoWake > 1000);
        QCOMPARE(res.cp.size(), qsizetype(res.panelNumNoWake));
        QCOMPARE(res.normals.size(), qsizetype(res.panelNum));
        // A cambered wing: lift at 0 degrees, growing with every degree at
        // a rate below the lift slope of a flat wing of its aspect ratio by
        // Helmbold (the arc of the canopy takes a good part of it).
        const double aspect = design->span * design->span / design->flatArea;
        const double helmbold = 2 * M_PI * aspect / (2 + std::sqrt(aspect * aspect + 4)) * M_PI / 180;
        QVERIFY(res.clift[0] > 0);
        for (int c = 1; c < 13; ++c) {
            const double slope = res.clift[c] - res.clift[c - 1];
            QVERIFY2(slope > 0.5 * helmbold && slope < helmbold, qPrintable(QString::number(slope / helmbold)));
            QVERIFY(res.cdrag[c] > res.cdrag[c - 1]);
            QVERIFY(res.cm[c] < res.cm[c - 1]); // nose-down about the leading edge
        }
        QVERIFY(res.cdrag[0] > 0);
        for (const auto& row : res.cp)
            for (int c = 0; c < 13; ++c)
                QVERIFY(row.values[c] >= -1.5 && row.values[c] <= 1.0 + 1e-9);
    }
};

#else

class TestShippedDesign : public QObject {
    Q_OBJECT

private slots:
    void needsTheAnalysisLibrary() { QSKIP("the analysis library is not part of this build"); }
};

#endif

QTEST_GUILESS_MAIN(TestShippedDesign)
#include "tst_shippeddesign.moc"
