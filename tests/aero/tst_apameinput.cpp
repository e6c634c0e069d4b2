// The solver input "wings.inp": byte for byte against a golden file of an
// 11-cell smooth mesh, the fixed lines against the layout typed out here,
// number formats, the trailer, and failed writes.
//
// To renew the golden file after an intended change of the layout, run the
// test with WL_WRITE_GOLDEN=1 and review the difference.

#include "aero/apameinput.h"
#include "tests/aero/aerofixture.h"

#include "core/filesave.h"
#include "core/parastruct.h"

#include <QDir>
#include <cerrno>
#include <limits>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringLiteral>

namespace {

QString goldenPath()
{
    return qEnvironmentVariable("WL_SOURCE_DIR") + "/tests/aero/data/wings_11cells_smooth.inp";
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The 83 fixed lines as the solver expects them, with the values of the
// formula wing (span 10 m, area 20 m2) and the node count put in.
QStringList fixedLines(int nodes)
{
    return {
        "APAME input file ",
        "VERSION 3.0 ",
        "# FLOW PARAMETERS ",
        "       ",
        "# airspeed   [m/s] ",
        "AIRSPEED    11.111111 ",
        "# air density               [kg/m^3] ",
        "DENSITY 1.225   ",
        "# atmospheric pressure      [Pa] ",
        "PRESSURE 101325 ",
        "# prandtl-glauert correction: ",
        "#   0-no correction ",
        "#   *-Mach number ",
        "MACH 0  ",
        "# number of cases ",
        "# angles of attack          [degrees] ",
        "# sideslip angles           [degrees] ",
        "CASE_NUM   13  ",
        "0 1 2 3 4 5 6 7 8 9 10 11 12   ",
        "0 0 0 0 0 0 0 0 0 0 0 0 0    ",
        "    ",
        "# REFERENCE VALUES ",
        "  ",
        "# wing span                 [m] ",
        "WINGSPAN    10.000000    ",
        "# mean aerodynamic chord    [m]    ",
        "MAC  2.000000    ",
        "  ",
        "# wing surface              [m^2]  ",
        "SURFACE 20.000000    ",
        "  ",
        "# reference point           [m] ",
        "ORIGIN * ",
        "0 0 0 ",
        "       ",
        "# SOLVER PARAMETERS ",
        "       ",
        "# singularity method: ",
        "#   0-constant source/doublet ",
        "#   1-constant doublet ",
        "METHOD 0 ",
        "# error ",
        "ERROR 0.0000001 ",
        "# collocation point depth ",
        "COLLDIST 0.0000001 ",
        "# 'far field' coefficient ",
        "FARFIELD 5 ",
        "# collocation point calculation: ",
        "#   0-approximative ",
        "#   1-accurate ",
        "COLLCALC 0  ",
        "# interpolation method/order for velocity calculations: ",
        "#   0-nodal ",
        "#   1-first ",
        "#   2-second ",
        "VELORDER 2 ",
        "        ",
        "        ",
        "# RESULT REQUESTS ",
        "#   0-no    ",
        "#   1-yes    ",
        "# RESULTS <1> or <0> (yes or no will the result file be written)    ",
        "#  1 coefficients    ",
        "#  2 forces    ",
        "#  3 geometry    ",
        "#  4 velocity    ",
        "#  5 pressure    ",
        "#  6 center points    ",
        "#  7 dipole values    ",
        "#  8 source values    ",
        "#  9 velocity components    ",
        "# 10 mesh characteristics    ",
        "# 11 static pressure    ",
        "# 12 dynamic pressure    ",
        "# 13 manometer pressure    ",
        "RESULTS 1    ",
        "  1  1  1  1  1  1  1  1  1  1  1  1  1    ",
        "# 1  2  3  4  5  6  7  8  9 10 11 12 13    ",
        "        ",
        "        ",
        "# GEOMETRY    ",
        "# x y z                     [m]    ",
        QStringLiteral("NODES %1 ").arg(nodes),
    };
}

struct Written {
    std::unique_ptr<ParaStruct> design;
    int stations[kChordStations]{};
    int J = 0;
    WingMeshData mesh;
    QByteArray bytes;
};

Written writeWing(int cells, bool smooth, const QString& dir)
{
    Written w;
    w.design = aerofixture::archedWing(cells);
    w.J = f_CreateIndJ(w.design.get(), w.stations);
    GlobClass glob;
    glob.dxfDir = dir;
    QString problem;
    if (!CreateApameInputFile(w.design.get(), &glob, 2, smooth, w.J, w.stations, &problem))
        qFatal("%s", qPrintable(problem));
    Build_Wing_Mesh(w.design.get(), smooth, w.J, w.stations, &w.mesh);
    w.bytes = fileBytes(dir + "/wings.inp");
    return w;
}

} // namespace

class TestApameInput : public QObject
{
    Q_OBJECT

private slots:
    void goldenSmooth11Cells()
    {
        QTemporaryDir dir;
        const Written w = writeWing(11, true, dir.path());
        if (qEnvironmentVariableIsSet("WL_WRITE_GOLDEN")) {
            QFile f(goldenPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(w.bytes);
        }
        const QByteArray golden = fileBytes(goldenPath());
        QVERIFY(!golden.isEmpty());
        QCOMPARE(w.bytes, golden);
    }

    // The golden file itself, line by line against the layout: the fixed
    // lines, one node line per node, one panel line per panel, the trailer
    // without a line feed.
    void goldenFollowsTheLayout()
    {
        QTemporaryDir dir;
        const Written w = writeWing(11, true, dir.path());
        const QByteArray golden = fileBytes(goldenPath());
        QVERIFY(!golden.contains('\r'));
        QVERIFY(golden.endsWith("\n# end of input file"));
        const QStringList lines = QString::fromLatin1(golden).split('\n');
        const int N = int(w.mesh.nodes.size());
        const int P = int(w.mesh.panels.size());
        QCOMPARE(N, 12 * (w.J + 1) + 12);
        QCOMPARE(lines.size(), 83 + N + 2 + P + 1);

        const QStringList fixed = fixedLines(N);
        for (int k = 0; k < 83; ++k)
            QCOMPARE(lines.at(k), fixed.at(k));

        const QRegularExpression node(R"(^ (-?\d+\.\d{6})   (-?\d+\.\d{6})   (-?\d+\.\d{6})      node ID: (\d+) $)");
        for (int k = 0; k < N; ++k) {
            const auto m = node.match(lines.at(83 + k));
            QVERIFY2(m.hasMatch(), qPrintable(lines.at(83 + k)));
            const NodeInfo& n = w.mesh.nodes.at(k);
            QCOMPARE(m.captured(4).toInt(), k + 1);
            QVERIFY(std::fabs(m.captured(1).toDouble() - n.x) < 6e-7);
            QVERIFY(std::fabs(m.captured(2).toDouble() - n.y) < 6e-7);
            QVERIFY(std::fabs(m.captured(3).toDouble() - n.z) < 6e-7);
        }
        QCOMPARE(lines.at(83 + N), QStringLiteral("# type node_id1 node_id2 node_id3 node_id4  elem_id1 elem_id2 "
                                                  "elem_id3 elem_id4 "));
        QCOMPARE(lines.at(84 + N), QStringLiteral("PANELS %1   ").arg(P));
        // The wake panel of strip 4: trailing-edge nodes of rows 5 and 4,
        // wake nodes of rows 4 and 5, the panels of stations 0 and J.
        const int J = w.J, R = 11, S = 12 * (J + 1);
        const int wake = R * (J + 1) + 4 + 1;
        QCOMPARE(lines.at(85 + N + wake - 1), QStringLiteral(" 10    %1    %2    %3    %4    %5    %6    0   0  panelID: %7 ")
                                                 .arg(5 * (J + 1) + 1)
                                                 .arg(4 * (J + 1) + 1)
                                                 .arg(S + 5)
                                                 .arg(S + 6)
                                                 .arg(4 * (J + 1) + 1)
                                                 .arg(4 * (J + 1) + J + 1)
                                                 .arg(wake));
        // Strip 0, station 0: two neighbours, then zeros.
        QCOMPARE(lines.at(85 + N), QStringLiteral(" 1    1    %1    %2    2    %3    2    0   0  panelID: 1 ")
                                       .arg(J + 2)
                                       .arg(J + 3)
                                       .arg(J + 2));
        QCOMPARE(lines.last(), QStringLiteral("# end of input file"));
    }

    // Read back through the file's own description: the same mesh.
    void readBack_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<bool>("smooth");
        QTest::newRow("11 smooth") << 11 << true;
        QTest::newRow("10 inflated") << 10 << false;
    }
    void readBack()
    {
        QFETCH(int, cells);
        QFETCH(bool, smooth);
        QTemporaryDir dir;
        const Written w = writeWing(cells, smooth, dir.path());
        apameinput::InputValues v;
        QString problem;
        QVERIFY2(apameinput::Read_Input_File(w.bytes, &v, &problem), qPrintable(problem));
        QCOMPARE(v.span, 10.0);
        QCOMPARE(v.mac, 2.0);
        QCOMPARE(v.surface, 20.0);
        QCOMPARE(v.velOrder, 2);
        QCOMPARE(v.nodes.size(), w.mesh.nodes.size());
        QCOMPARE(v.panels.size(), w.mesh.panels.size());
        for (int k = 0; k < v.nodes.size(); ++k) {
            QCOMPARE(v.nodes.at(k).id, k + 1);
            QVERIFY(std::fabs(v.nodes.at(k).x - w.mesh.nodes.at(k).x) < 6e-7);
            QVERIFY(std::fabs(v.nodes.at(k).z - w.mesh.nodes.at(k).z) < 6e-7);
        }
        for (int k = 0; k < v.panels.size(); ++k) {
            const PanelInfo& a = v.panels.at(k);
            const PanelInfo& b = w.mesh.panels.at(k);
            QCOMPARE(a.id, b.id);
            QCOMPARE(a.type, b.type);
            for (int c = 0; c < 4; ++c) {
                QCOMPARE(a.nodes[c], b.nodes[c]);
                QCOMPARE(a.neighbours[c], b.neighbours[c]);
            }
        }
        // A trailing line feed or a changed blank is a different file.
        QVERIFY(!apameinput::Read_Input_File(w.bytes + "\n", &v));
        QByteArray changed = w.bytes;
        changed.replace("MACH 0  \n", "MACH 0 \n");
        QVERIFY(!apameinput::Read_Input_File(changed, &v, &problem));
        QVERIFY(problem.contains("line 14"));
    }

    void referenceLines()
    {
        apameinput::InputValues v;
        v.span = 12;
        v.mac = 30.0 / 12;
        v.surface = 30;
        const QStringList lines = QString::fromLatin1(apameinput::Input_File_Bytes(v)).split('\n');
        QCOMPARE(lines.at(24), QStringLiteral("WINGSPAN    12.000000    "));
        QCOMPARE(lines.at(26), QStringLiteral("MAC  2.500000    "));
        QCOMPARE(lines.at(29), QStringLiteral("SURFACE 30.000000    "));
        // An empty mesh: no node lines, the panel header and no panels.
        QCOMPARE(lines.mid(82), QStringList({"NODES 0 ",
                                             "# type node_id1 node_id2 node_id3 node_id4  elem_id1 elem_id2 elem_id3 "
                                             "elem_id4 ",
                                             "PANELS 0   ", "# end of input file"}));
    }

    void numberAndPanelLines()
    {
        NodeInfo n{7, 0, 0, -1.25f, 0.5f, -0.0625f};
        QCOMPARE(apameinput::nodeLine(n), QStringLiteral(" -1.250000   0.500000   -0.062500      node ID: 7 "));
        PanelInfo quad{3, 1, {1, 2, 3, 4}, {5, 6, 0, 0}};
        QCOMPARE(apameinput::panelLine(quad, 3), QStringLiteral(" 1    1    2    3    4    5    6    0   0  panelID: 3 "));
        PanelInfo tri{9, 2, {11, 12, 13, 0}, {21, 22, 23, 0}};
        QCOMPARE(apameinput::panelLine(tri, 9), QStringLiteral(" 2    11    12    13    21    22    23      panelID: 9 "));
        // A panel kind the solver has no line for still counts.
        apameinput::InputValues v;
        v.panels = {quad, PanelInfo{4, 5, {}, {}}, tri};
        const QString text = QString::fromLatin1(apameinput::Input_File_Bytes(v));
        QVERIFY(text.contains("PANELS 3   \n 1    1    2    3    4    5    6    0   0  panelID: 1 \n 2    11"));
        QVERIFY(text.contains("panelID: 3 \n# end of input file"));
    }

    void failedWriteIsReported()
    {
        QTemporaryDir dir;
        auto d = aerofixture::archedWing(11);
        int stations[kChordStations];
        const int J = f_CreateIndJ(d.get(), stations);
        GlobClass glob;
        QString problem;
        glob.dxfDir = dir.path() + "/missing";
        QVERIFY(!CreateApameInputFile(d.get(), &glob, 2, true, J, stations, &problem));
        QVERIFY2(problem.contains(dir.path() + "/missing/wings.inp"), qPrintable(problem));
        // The output "directory" is a file.
        QFile blocker(dir.path() + "/file");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        glob.dxfDir = blocker.fileName();
        QVERIFY(!CreateApameInputFile(d.get(), &glob, 2, true, J, stations, &problem));
        QVERIFY(!problem.isEmpty());
        // No output directory at all.
        glob.dxfDir.clear();
        QVERIFY(!CreateApameInputFile(d.get(), &glob, 2, true, J, stations, &problem));
        // Stations the grid cannot hold: nothing is written.
        glob.dxfDir = dir.path();
        QVERIFY(!CreateApameInputFile(d.get(), &glob, 2, true, 60, stations, &problem));
        QVERIFY(!QFile::exists(dir.path() + "/wings.inp"));
        // An earlier input is replaced whole.
        QVERIFY(CreateApameInputFile(d.get(), &glob, 2, true, J, stations, &problem));
        const QByteArray first = fileBytes(dir.path() + "/wings.inp");
        QVERIFY(CreateApameInputFile(d.get(), &glob, 1, true, J, stations, &problem));
        QByteArray second = fileBytes(dir.path() + "/wings.inp");
        QCOMPARE(second.size(), first.size());
        QVERIFY(second.contains("VELORDER 1 \n"));
    }
    // A write that the disk refuses (full): the user reads the system's
    // reason and advice that fits it, and the input written before stays.
    void refusedWriteTellsTheReason_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("code");
        QTest::newRow("disk full while writing") << int(FileSaveStep::Write) << ENOSPC;
        QTest::newRow("read-only disk at the rename") << int(FileSaveStep::Replace) << EROFS;
    }
    void refusedWriteTellsTheReason()
    {
        QFETCH(int, step);
        QFETCH(int, code);
        QTemporaryDir dir;
        auto d = aerofixture::archedWing(11);
        int stations[kChordStations];
        const int J = f_CreateIndJ(d.get(), stations);
        GlobClass glob;
        glob.dxfDir = dir.path();
        QString problem;
        QVERIFY(CreateApameInputFile(d.get(), &glob, 2, true, J, stations, &problem));
        const QString path = dir.path() + "/wings.inp";
        const QByteArray before = fileBytes(path);
        Set_File_Save_Fault([&](FileSaveStep s, const QString& p) {
            return int(s) == step && p == path ? code : 0;
        });
        const bool written = CreateApameInputFile(d.get(), &glob, 1, true, J, stations, &problem);
        Set_File_Save_Fault({});
        QVERIFY(!written);
        QVERIFY2(problem.contains(path), qPrintable(problem));
        QVERIFY2(problem.contains(File_Error_Reason(code)), qPrintable(problem));
        QVERIFY2(problem.contains(File_Error_Advice(code)), qPrintable(problem));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"wings.inp"});
    }

    // A number that is not finite anywhere the solver would read it: the
    // input is refused before anything is written, the earlier input stays,
    // and the reason says so. A value the chosen model does not read is no
    // reason; the input then holds finite numbers only.
    void nonFiniteInputIsRefused_data()
    {
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<bool>("smooth");
        QTest::addColumn<bool>("refused");
        QTest::newRow("rib point, smooth model") << "rib" << true << true;
        QTest::newRow("rib point, inflated model") << "rib" << false << false;
        QTest::newRow("cell grid point, inflated model") << "grid" << false << true;
        QTest::newRow("cell grid point, smooth model") << "grid" << true << false;
        QTest::newRow("infinite span") << "span" << true << true;
        QTest::newRow("infinite area") << "area" << false << true;
        // Finite in the design, beyond single precision once in metres.
        QTest::newRow("scale beyond a float") << "scale" << true << true;
    }
    void nonFiniteInputIsRefused()
    {
        QFETCH(QString, spoil);
        QFETCH(bool, smooth);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        auto d = aerofixture::archedWing(11);
        int stations[kChordStations];
        const int J = f_CreateIndJ(d.get(), stations);
        GlobClass glob;
        glob.dxfDir = dir.path();
        QString problem;
        QVERIFY(CreateApameInputFile(d.get(), &glob, 2, smooth, J, stations, &problem));
        const QString path = dir.path() + "/wings.inp";
        const QByteArray before = fileBytes(path);

        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        if (spoil == "rib")
            d->ribCurves3D[3][stations[5]].setZ(nan);
        else if (spoil == "grid")
            d->inflatedGrid[4][2][stations[J - 2]].setX(-inf);
        else if (spoil == "span")
            d->span = double(inf);
        else if (spoil == "area")
            d->flatArea = double(inf);
        else if (spoil == "scale")
            d->dxfScale = 1e300;
        const bool written = CreateApameInputFile(d.get(), &glob, 1, smooth, J, stations, &problem);
        QCOMPARE(written, !refused);
        const QByteArray after = fileBytes(path);
        if (refused) {
            QVERIFY2(problem.contains("not a finite number"), qPrintable(problem));
            QCOMPARE(after, before);
            QVERIFY(Apame_Input_Bytes(d.get(), 1, smooth, J, stations).isEmpty());
        } else {
            QVERIFY(after.contains("VELORDER 1 \n"));
        }
        for (const QByteArray& word : after.simplified().split(' ')) {
            const QByteArray w = word.toLower();
            QVERIFY2(!w.contains("nan") && !w.contains("inf"), word.constData());
        }
    }
};

QTEST_APPLESS_MAIN(TestApameInput)
#include "tst_apameinput.moc"
