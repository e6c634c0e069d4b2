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
#include "shell/model/installhooks.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "apps/panelsolver/panelsolver.h"
#include "apps/panelsolver/solverinput.h"

#include <cmath>
#include <memory>

namespace {

// "wings.inp" of the default design as the analysis writes it, read by the
// solver's own reader.
bool designInput(bool smooth, panelsolver::SolverInput* in, QString* problem)
{
    QFile file(qEnvironmentVariable("WL_APP_DIR") + "/template.ini");
    auto design = std::make_unique<ParaStruct>();
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, design.get(), problem))
        return false;
    Install_Recompute_Hooks();
    Refresh_Calculations(design.get());
    QTemporaryDir dir;
    int stations[kChordStations]{};
    const int J = f_CreateIndJ(design.get(), stations);
    GlobClass glob;
    glob.dxfDir = dir.path();
    if (!CreateApameInputFile(design.get(), &glob, 2, smooth, J, stations, problem))
        return false;
    std::string why;
    if (!panelsolver::Read_Solver_Input(dir.filePath("wings.inp").toStdString(), in, &why)) {
        *problem = QString::fromStdString(why);
        return false;
    }
    return true;
}

} // namespace

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
        Install_Recompute_Hooks();
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

    // The inflated mesh with its wake drawn ten mean chords along the
    // bisector of each row's trailing edge, as the analysis once wrote it
    // (at three): on the billowed trailing edge the bisector swings from row
    // to row, so that some strips cross. The solver carries the wake from
    // the trailing edge along the flow and finds the lift of the file as
    // written, telling each strip's upper side (the first station, over
    // which the stations run first) from the trailing-edge panels.
    void wakeAlongTheBisectorGivesTheSameLift()
    {
        using namespace panelsolver;
        SolverInput in;
        QString problem;
        QVERIFY2(designInput(false, &in, &problem), qPrintable(problem));
        SolverResult written, stretched;
        std::string why;
        QVERIFY2(Solve_Cases(in, &written, &why), why.c_str());
        QVERIFY(written.mirrored);
        QCOMPARE(written.unknowns, int(written.surface.size()) / 2);

        const int wakes = int(in.panels.size() - written.surface.size());
        const int S = int(in.nodes.size()) - (wakes + 1), J = S / (wakes + 1) - 1;
        int crossed = 0;
        for (int i = 0; i <= wakes; ++i) {
            const Vec3 T = in.nodes[i * (J + 1)];
            const Vec3 mid = (in.nodes[i * (J + 1) + 5] + in.nodes[i * (J + 1) + J - 6]) * 0.5;
            in.nodes[S + i] = T + (T - mid) * (10 * in.mac / norm(T - mid));
        }
        for (int i = 0; i < wakes; ++i) {
            // The far edge against the trailing edge: backwards in a crossed strip.
            const Vec3 edge = in.nodes[(i + 1) * (J + 1)] - in.nodes[i * (J + 1)];
            crossed += dot(in.nodes[S + i + 1] - in.nodes[S + i], edge) < 0 ? 1 : 0;
        }
        QVERIFY(crossed > 0);
        QVERIFY2(Solve_Cases(in, &stretched, &why), why.c_str());
        for (int c = 0; c < 13; ++c)
            QVERIFY2(std::fabs(stretched.cases[c].clift / written.cases[c].clift - 1) < 0.01,
                     qPrintable(QString("%1 deg: CL %2 as written, %3 along the bisector")
                                    .arg(c)
                                    .arg(written.cases[c].clift)
                                    .arg(stretched.cases[c].clift)));
        for (int i = 0; i < wakes; ++i) {
            QCOMPARE(stretched.surface[stretched.wakeUpper[i]], i * (J + 1));
            QCOMPARE(stretched.surface[stretched.wakeLower[i]], i * (J + 1) + J);
        }
        qInfo("%d of %d strips crossed; CL at 6 deg %.4f as written, %.4f along the bisector", crossed, wakes,
              written.cases[6].clift, stretched.cases[6].clift);
    }

    // The smooth model solved by halves and whole: the same results.
    void halfAndWholeSolvesAgree()
    {
        using namespace panelsolver;
        SolverInput in;
        QString problem;
        QVERIFY2(designInput(true, &in, &problem), qPrintable(problem));
        SolverResult half, whole;
        SolverOptions options;
        options.useSymmetry = false;
        std::string why;
        QVERIFY2(Solve_Cases(in, &half, &why), why.c_str());
        QVERIFY2(Solve_Cases(in, &whole, &why, nullptr, nullptr, options), why.c_str());
        QVERIFY(half.mirrored);
        QCOMPARE(half.unknowns, int(half.surface.size()) / 2);
        QCOMPARE(whole.unknowns, int(whole.surface.size()));
        for (int c = 0; c < 13; ++c) {
            QVERIFY(std::fabs(half.cases[c].clift - whole.cases[c].clift) <= 1e-9 * std::fabs(whole.cases[c].clift));
            QVERIFY(std::fabs(half.cases[c].cdrag - whole.cases[c].cdrag) <= 1e-9 * std::fabs(whole.cases[c].cdrag));
            QVERIFY(std::fabs(half.cases[c].cm - whole.cases[c].cm) <= 1e-9 * std::fabs(whole.cases[c].cm));
            for (size_t k = 0; k < half.surface.size(); ++k)
                QVERIFY(std::fabs(half.pressure(int(k), c) - whole.pressure(int(k), c)) <= 1e-9);
        }
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
