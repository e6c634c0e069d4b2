// The solver program as the main program runs it: "./apame_lnx32" from the
// application directory with the case path as its one argument; its result
// file read back by the main program's keyword and field rules, and its
// refusals of bad input.

#include "apps/panelsolver/panelsolver.h"
#include "tests/panelsolver/testmesh.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QByteArray>
#include <QFileInfo>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector3D>

#include <cmath>

namespace {

struct Run {
    int exitCode = -1;
    bool crashed = true;
    QString err;
};

Run runSolver(const QStringList& args)
{
    const QString appDir = qEnvironmentVariable("WL_APP_DIR");
    QProcess p;
    p.setWorkingDirectory(appDir);
    p.start("./apame_lnx32", args);
    Run r;
    if (!p.waitForStarted(-1) || !p.waitForFinished(-1))
        return r;
    r.crashed = p.exitStatus() != QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

testmesh::Mesh smallWing()
{
    testmesh::WingShape shape;
    shape.perSide = 6;
    shape.strips = 6;
    return testmesh::Rectangular_Wing(shape);
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace

class TestSolverProgram : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(qEnvironmentVariable("WL_APP_DIR") + "/apame_lnx32").isExecutable());
    }

    void resultFileReadsCompletely()
    {
        QTemporaryDir dir;
        const testmesh::Mesh mesh = smallWing();
        const QByteArray input = testmesh::Input_File(mesh);
        QVERIFY(writeFile(dir.filePath("wings.inp"), input));
        const Run run = runSolver({dir.filePath("wings")});
        QVERIFY2(!run.crashed && run.exitCode == 0, qPrintable(run.err));
        // Progress line by line, the factorisation's too, rising to the whole.
        QVERIFY(run.err.contains("assembly 100 %"));
        QVERIFY(run.err.contains("factorisation 100 %"));
        QVERIFY(run.err.indexOf("assembly 100 %") < run.err.indexOf("factorisation 100 %"));

        QFile file(dir.filePath("wings.res"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        QVERIFY(!text.contains("nan", Qt::CaseInsensitive));
        QVERIFY(!text.contains("inf", Qt::CaseInsensitive));
        // Every line but the keywords holds numbers only, after a blank.
        const QRegularExpression keyword("^ [A-Z_]+$"), values("^( [-+]?[0-9]+(\\.[0-9]+E[-+][0-9]+)?)+$");
        const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
        for (int k = 1; k < lines.size(); ++k)
            QVERIFY2(keyword.match(lines[k]).hasMatch() || values.match(lines[k]).hasMatch(), qPrintable(lines[k]));

        testmesh::Results res;
        QVERIFY(testmesh::Read_Results(dir.filePath("wings.res"), &res));
        const int surface = int(mesh.panels.size()) - 6;
        QCOMPARE(res.panelNum, int(mesh.panels.size()));
        QCOMPARE(res.panelNumNoWake, surface);
        QCOMPARE(res.nodeNum, int(mesh.nodes.size()));
        QCOMPARE(res.caseNum, 13);
        for (int c = 0; c < 13; ++c) {
            QCOMPARE(res.alpha[c], double(c));
            QCOMPARE(res.beta[c], 0.0);
        }
        QCOMPARE(res.nodes.size(), qsizetype(mesh.nodes.size()));
        for (int k = 0; k < res.nodes.size(); ++k)
            QVERIFY(std::fabs(res.nodes[k].y() - mesh.nodes[k].y) < 1e-6);
        // The panels come back as given: the pressure view colours each
        // panel from its neighbours.
        QCOMPARE(res.panels.size(), qsizetype(mesh.panels.size()));
        for (int k = 0; k < res.panels.size(); ++k) {
            QCOMPARE(res.panels[k].type, mesh.panels[k].type);
            QCOMPARE(res.panels[k].nodes, mesh.panels[k].nodes);
            QCOMPARE(res.panels[k].neighbours, mesh.panels[k].neighbours);
        }
        QCOMPARE(res.normals.size(), qsizetype(mesh.panels.size()));
        for (const QVector3D& n : res.normals)
            QVERIFY(std::fabs(n.length() - 1) < 1e-6);
        // Panel 1 lies on the upper side at the trailing edge, the strip's
        // last panel on the lower side: their normals point up and down.
        QVERIFY(res.normals[0].z() > 0.5);
        QVERIFY(res.normals[11].z() < -0.5);
        QCOMPARE(res.cp.size(), qsizetype(surface));

        // The coefficients are those of the solver, to the digits written.
        panelsolver::SolverInput in;
        panelsolver::SolverResult direct;
        std::string why;
        QVERIFY(panelsolver::Parse_Solver_Input(input.toStdString(), &in, &why));
        QVERIFY(panelsolver::Solve_Cases(in, &direct, &why));
        for (int c = 0; c < 13; ++c) {
            QVERIFY(std::fabs(res.clift[c] - direct.cases[c].clift) < 1e-8);
            QVERIFY(std::fabs(res.cdrag[c] - direct.cases[c].cdrag) < 1e-8);
            QVERIFY(std::fabs(res.cm[c] - direct.cases[c].cm) < 1e-8);
            QVERIFY(std::fabs(res.cx[c] - direct.cases[c].cx) < 1e-8);
            QVERIFY(std::fabs(res.cz[c] - direct.cases[c].cz) < 1e-8);
            if (c > 0)
                QVERIFY(res.clift[c] > res.clift[c - 1]);
            for (int k = 0; k < surface; ++k)
                QVERIFY(std::fabs(res.cp[k][c] - std::max(-1.5, direct.pressure(k, c))) < 1e-8);
        }
    }

    void badInputIsRefused_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("reason");
        const QByteArray good = testmesh::Input_File(smallWing());
        QByteArray truncated = good.left(good.indexOf("PANELS"));
        QByteArray unknownNode = good;
        unknownNode.replace(" 1    1    13    14    2    ", " 1    1    13    999    2    ");
        QByteArray noArea = good;
        noArea.replace(" 1    1    13    14    2    ", " 1    1    1    1    1    ");
        QByteArray nan = good;
        nan.replace("-6.000000   ", "nan   ");
        QTest::newRow("no input file") << QByteArray() << "cannot open";
        QTest::newRow("truncated file") << truncated << "no PANELS";
        QTest::newRow("unknown node") << unknownNode << "names node 999";
        QTest::newRow("panel without area") << noArea << "has no area";
        QTest::newRow("nan coordinate") << nan << "not a number";
    }
    void badInputIsRefused()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        if (!input.isEmpty())
            QVERIFY(writeFile(dir.filePath("wings.inp"), input));
        // A result left from an earlier run must not pass for this one's.
        QVERIFY(writeFile(dir.filePath("wings.res"), " PANEL_NUM\n 1\n"));
        const Run run = runSolver({dir.filePath("wings")});
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("apame_lnx32: ") && run.err.count('\n') == 1 && run.err.endsWith('\n'),
                 qPrintable(run.err));
        QVERIFY2(run.err.contains(reason), qPrintable(run.err));
        QVERIFY(!QFile::exists(dir.filePath("wings.res")));
    }

    void resultsSwitchedOffWritesNoFile()
    {
        QTemporaryDir dir;
        QByteArray input = testmesh::Input_File(smallWing());
        input.replace("RESULTS 1    ", "RESULTS 0    ");
        QVERIFY(writeFile(dir.filePath("wings.inp"), input));
        const Run run = runSolver({dir.filePath("wings")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!QFile::exists(dir.filePath("wings.res")));
    }

    void withoutTheCasePathItTellsItsUse()
    {
        const Run run = runSolver({});
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.startsWith("usage: apame_lnx32 CASE"));
    }
};

QTEST_GUILESS_MAIN(TestSolverProgram)
#include "tst_solverprogram.moc"
