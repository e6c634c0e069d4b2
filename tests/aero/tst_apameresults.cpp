// The solver results reader: the field splitter, a file as the solver
// writes it, and files the reader must refuse while keeping what it held.

#include "aero/apameres.h"
#include "tests/aero/resultwriter.h"

#include "core/parastruct.h"

#include <QTemporaryDir>
#include <QTest>
#include <QFile>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

namespace {

QString fixture(const QString& name)
{
    return qEnvironmentVariable("WL_SOURCE_DIR") + "/tests/aero/data/" + name;
}

bool sameResults(const ApameRes& a, const ApameRes& b)
{
    if (a.panelNum != b.panelNum || a.panelNumNoWake != b.panelNumNoWake || a.nodeNum != b.nodeNum ||
        a.caseNum != b.caseNum || a.nodes != b.nodes || a.normals != b.normals || a.panels.size() != b.panels.size() ||
        a.cp.size() != b.cp.size())
        return false;
    for (int k = 0; k < kResultCases; ++k) {
        if (a.cx[k] != b.cx[k] || a.cm[k] != b.cm[k] || a.clift[k] != b.clift[k] || a.alpha[k] != b.alpha[k])
            return false;
    }
    for (int k = 0; k < a.panels.size(); ++k) {
        if (std::memcmp(&a.panels[k], &b.panels[k], sizeof(PanelInfo)) != 0)
            return false;
    }
    for (int k = 0; k < a.cp.size(); ++k) {
        if (std::memcmp(&a.cp[k], &b.cp[k], sizeof(ArrDouble)) != 0)
            return false;
    }
    return true;
}

} // namespace

class TestApameResults : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString writeFile(const QStringList& lines)
    {
        const QString path = dir.filePath("wings.res");
        resultwriter::writeLines(path, lines);
        return path;
    }

private slots:
    void fields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("reached");
        QTest::newRow("leading blank") << " 12" << QStringList{"", "12"} << 2;
        QTest::newRow("leading digits") << "12 7" << QStringList{"12", "7"} << 2;
        QTest::newRow("run of separators") << " 1,  2;;3" << QStringList{"", "1", "2", "3"} << 4;
        QTest::newRow("solver reals") << " -.5E+00 0.12E-01" << QStringList{"", "-.5E+00", "0.12E-01"} << 3;
        QTest::newRow("lowercase e separates") << " 1.5e-3" << QStringList{"", "1.5", "-3"} << 3;
        QTest::newRow("keyword") << " PANELS" << QStringList{"", "E"} << 3;
        QTest::newRow("trailing blank") << " 4 " << QStringList{"", "4", ""} << 3;
    }
    void fields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QFETCH(int, reached);
        QString f[kLineFields];
        QCOMPARE(SubStrFromLine(line, f), reached);
        for (int k = 0; k < fields.size(); ++k)
            QCOMPARE(f[k], fields.at(k));
    }

    void fieldsKeptAndDropped()
    {
        QString f[kLineFields];
        SubStrFromLine(" 1 2 3 4", f);
        // A short line empties field 1 only.
        QCOMPARE(SubStrFromLine("5", f), 0);
        QCOMPARE(f[1], QString());
        QCOMPARE(f[2], QStringLiteral("2"));
        QCOMPARE(f[4], QStringLiteral("4"));
        // A line that stops early leaves the later fields as they were.
        QCOMPARE(SubStrFromLine(" 9", f), 2);
        QCOMPARE(f[1], QStringLiteral("9"));
        QCOMPARE(f[3], QStringLiteral("3"));
        // Fourteen fields are kept; the rest is dropped.
        QString line;
        for (int k = 0; k < 20; ++k)
            line += QStringLiteral(" %1").arg(k);
        QCOMPARE(SubStrFromLine(line, f), kLineFields);
        QCOMPARE(f[13], QStringLiteral("12"));
    }

    void repairedNumbers()
    {
        QCOMPARE(Rep_NumString(".5"), QStringLiteral("0.5"));
        QCOMPARE(Rep_NumString("-.25"), QStringLiteral("-0.25"));
        QCOMPARE(Rep_NumString("-.25E+01"), QStringLiteral("-0.25E+01"));
        QCOMPARE(Rep_NumString("1.5"), QStringLiteral("1.5"));
        QCOMPARE(Rep_NumString(".5.5"), QStringLiteral("0.50.5"));
        QCOMPARE(safeRatio(1, 0), 0.0);
        QCOMPARE(safeRatio(1, -4), -0.25);
        QVERIFY(KeyWordFound("CL", " CLIFT"));
        QVERIFY(!KeyWordFound("CL", " cl"));
    }

    // "wings.res" of the project output directory.
    void projectResults()
    {
        QTemporaryDir out;
        QVERIFY(QFile::copy(fixture("wings_small.res"), out.filePath("wings.res")));
        GlobClass glob;
        glob.dxfDir = out.path();
        glob.prgPath = "/designs/a.prg";
        ApameRes r;
        r.chartKind = 4;
        QString problem;
        QVERIFY2(ReadToApameClass(nullptr, &glob, &r, &problem), qPrintable(problem));
        QVERIFY(problem.isEmpty());
        QCOMPARE(r.nodeNum, 6);
        QCOMPARE(r.projectPath, QStringLiteral("/designs/a.prg"));
        QCOMPARE(r.chartKind, 4);
    }

    // A file as the solver writes it, with its other sections in between.
    void smallFixture()
    {
        ApameRes r;
        r.chartKind = 4;
        r.projectPath = "p";
        QString problem;
        QVERIFY2(Read_Apame_Results(fixture("wings_small.res"), &r, &problem), qPrintable(problem));
        QCOMPARE(r.panelNum, 3);
        QCOMPARE(r.panelNumNoWake, 2);
        QCOMPARE(r.nodeNum, 6);
        QCOMPARE(r.caseNum, 13);
        QCOMPARE(r.alpha[12], 12.0);
        QCOMPARE(r.cx[0], -0.5);  // "-.5E+00"
        QCOMPARE(r.cx[1], -0.1);
        QCOMPARE(r.cz[12], 1.3);
        QCOMPARE(r.cm[3], -0.04);
        QCOMPARE(r.cdrag[2], 0.012);
        QCOMPARE(r.clift[12], 1.16);
        QCOMPARE(r.nodes.size(), 6);
        QCOMPARE(r.nodes.at(1), QVector3D(0, -1, 0.1f));
        QCOMPARE(r.panels.size(), 3);
        const PanelInfo& w = r.panels.at(2);
        QCOMPARE(w.id, 3);
        QCOMPARE(w.type, 10);
        QCOMPARE(w.nodes[2], 5);
        QCOMPARE(w.neighbours[1], 2);
        // "-.25" and ".5" in the normals.
        QCOMPARE(r.normals.at(0), QVector3D(-0.25f, 0, 0.5f));
        QCOMPARE(r.normals.size(), 3);
        QCOMPARE(r.cp.size(), 2);
        QCOMPARE(r.cp.at(0).values[0], -1.5); // -2.7 clamped
        QCOMPARE(r.cp.at(0).values[1], -1.2);
        QCOMPARE(r.cp.at(1).values[1], -1.5);
        QCOMPARE(r.cp.at(1).values[2], -1.5);
        QCOMPARE(r.cp.at(1).values[12], 0.25);
        QCOMPARE(r.chartKind, 4);
        QCOMPARE(r.projectPath, QStringLiteral("p"));
    }

    void roundTrip()
    {
        const ApameRes written = resultwriter::sampleResults();
        ApameRes r;
        QString problem;
        QVERIFY2(Read_Apame_Results(writeFile(resultwriter::resultLines(written)), &r, &problem),
                 qPrintable(problem));
        QCOMPARE(r.nodes.size(), written.nodes.size());
        QCOMPARE(r.panels.size(), written.panels.size());
        for (int k = 0; k < kResultCases; ++k) {
            QVERIFY(std::fabs(r.clift[k] - written.clift[k]) < 1e-9);
            QVERIFY(std::fabs(r.cm[k] - written.cm[k]) < 1e-9);
        }
        for (int k = 0; k < r.cp.size(); ++k)
            QVERIFY(std::fabs(r.cp[k].values[5] - written.cp[k].values[5]) < 1e-9);
        QCOMPARE(r.normals.at(1), QVector3D(0, -0.25f, 1));
        QCOMPARE(std::memcmp(&r.panels.last(), &written.panels.last(), sizeof(PanelInfo)), 0);
    }

    void caseCounts()
    {
        ApameRes written = resultwriter::sampleResults();
        // Twelve cases: taken as they are (the polar refuses them).
        written.caseNum = 12;
        ApameRes r;
        QVERIFY(Read_Apame_Results(writeFile(resultwriter::resultLines(written)), &r));
        QCOMPARE(r.caseNum, 12);
        QCOMPARE(r.clift[11], written.clift[11]);
        QCOMPARE(r.clift[12], 0.0);
        QCOMPARE(r.cp.at(0).values[12], 0.0);
        // Fifteen cases: the first 13 are kept.
        QStringList lines = resultwriter::resultLines(resultwriter::sampleResults());
        for (QString& line : lines) {
            if (line == QStringLiteral("         13"))
                line = QStringLiteral("         15");
            else if (line.count('E') == 13)
                line += QStringLiteral(" 0.99000000E+02 0.98000000E+02");
        }
        QVERIFY(Read_Apame_Results(writeFile(lines), &r));
        QCOMPARE(r.caseNum, 15);
        QCOMPARE(r.alpha[12], 12.0);
    }

    // Refused files leave the record as it was.
    void refusedFiles_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("reason");
        const QStringList good = resultwriter::resultLines(resultwriter::sampleResults());
        auto without = [&good](const QString& keyword) {
            QStringList l = good;
            l.removeAll(" " + keyword);
            return l;
        };
        auto replaced = [&good](const QString& from, const QString& to) {
            QStringList l = good;
            l[l.indexOf(from)] = to;
            return l;
        };
        QTest::newRow("no NORMAL section") << without("NORMAL") << "no NORMAL section";
        QTest::newRow("no CLIFT section") << without("CLIFT") << "no CLIFT section";
        QTest::newRow("ends inside the nodes") << good.mid(0, good.indexOf(" NODES") + 5) << "NODES section ends after 4 of the";
        QTest::newRow("ends inside the pressures") << good.mid(0, good.size() - 6) << "CP section ends after 9 of the 12 rows";
        const ApameRes s = resultwriter::sampleResults();
        QTest::newRow("more nodes announced than written")
            << replaced(QStringLiteral(" %1").arg(s.nodeNum, 10), QStringLiteral(" %1").arg(s.nodeNum + 2, 10))
            << QStringLiteral("NODES section ends after %1 of the %2 rows the file announces").arg(s.nodeNum).arg(s.nodeNum + 2);
        QTest::newRow("negative count") << replaced(QStringLiteral(" %1").arg(s.panelNum, 10), "        -3")
                                        << "PANEL_NUM gives no count";
        QStringList badNode = good;
        const int firstPanel = good.indexOf(" PANELS") + 1;
        badNode[firstPanel].replace(QStringLiteral("          1          5"), QStringLiteral("          1        500"));
        QTest::newRow("panel names a missing node") << badNode << "panel 1 names node 500";
        QStringList noValues = good;
        noValues[good.indexOf(" CM") + 1] = " 0.1 0.2";
        QTest::newRow("too few case values") << noValues << "the line after CM holds no values";
        QTest::newRow("keywords out of order") << without("CX") + QStringList{" CX", good.at(good.indexOf(" CX") + 1)}
                                               << "no CY section";
    }
    void refusedFiles()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, reason);
        ApameRes r;
        QVERIFY(Read_Apame_Results(fixture("wings_small.res"), &r));
        const ApameRes before = r;
        QString problem;
        QVERIFY(!Read_Apame_Results(writeFile(lines), &r, &problem));
        QVERIFY2(problem.contains(reason), qPrintable(problem));
        QVERIFY(sameResults(r, before));
    }

    void missingOrEmpty()
    {
        GlobClass glob;
        glob.dxfDir = dir.filePath("nothing");
        glob.prgPath = "/designs/b.prg";
        ApameRes r;
        QVERIFY(Read_Apame_Results(fixture("wings_small.res"), &r));
        const ApameRes before = r;
        QString problem;
        QVERIFY(!ReadToApameClass(nullptr, &glob, &r, &problem));
        QVERIFY(problem.contains("does not exist"));
        QCOMPARE(r.projectPath, QStringLiteral("/designs/b.prg"));
        QVERIFY(sameResults(r, before));

        glob.dxfDir = dir.path();
        QFile empty(dir.filePath("wings.res"));
        QVERIFY(empty.open(QIODevice::WriteOnly | QIODevice::Truncate));
        empty.close();
        QVERIFY(!ReadToApameClass(nullptr, &glob, &r, &problem));
        QVERIFY(problem.contains("empty"));
        QVERIFY(sameResults(r, before));
    }

    // Numbers with a lowercase exponent split in two: the values after them
    // move one field on.
    void lowercaseExponent()
    {
        QStringList lines = resultwriter::resultLines(resultwriter::sampleResults());
        const int cx = lines.indexOf(" CX") + 1;
        lines[cx] = QStringLiteral(" 1.5e-3") + lines[cx];
        ApameRes r;
        QString problem;
        QVERIFY2(Read_Apame_Results(writeFile(lines), &r, &problem), qPrintable(problem));
        QCOMPARE(r.cx[0], 1.5);
        QCOMPARE(r.cx[1], -3.0);
        QCOMPARE(r.cx[2], resultwriter::sampleResults().cx[0]);
    }

    void theOneRecord()
    {
        ApameRes* r = GetApameClass();
        QCOMPARE(GetApameClass(), r);
        QCOMPARE(r->caseNum, 0);
        QVERIFY(r->nodes.isEmpty());
        QVERIFY(r->projectPath.isEmpty());
        QCOMPARE(r->chartKind, 0);
    }
};

QTEST_APPLESS_MAIN(TestApameResults)
#include "tst_apameresults.moc"
