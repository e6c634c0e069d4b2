// The FreeFem++ script of a rib section: byte for byte against a golden
// script, its parts, and Debian's FreeFem++ meshing it (the mesh area must
// be the outline less the holes).
//
// To renew the golden script after an intended change, run the test with
// WL_WRITE_GOLDEN=1 and review the difference.

#include "aero/freefem.h"

#include "core/parastruct.h"
#include "tests/core/designfixture.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringLiteral>

#include <cmath>
#include <memory>

namespace {

constexpr double kFactor = 1024; // the cross-port editor's drawing factor

QString goldenPath()
{
    return qEnvironmentVariable("WL_SOURCE_DIR") + "/tests/aero/data/rib_section.edp";
}

// A point of the chord-1 section as the editor holds it: scaled, y down.
QPointF editorPoint(double x, double y)
{
    return QPointF(x * kFactor, -y * kFactor);
}

QPolygonF ellipse(double cx, double cy, double rx, double ry, int n)
{
    QPolygonF p;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * fixture::kPi * i / n;
        p.append(QPointF(cx + rx * std::cos(t), cy + ry * std::sin(t)));
    }
    return p;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QPolygonF toEditor(const QPolygonF& chordUnits)
{
    QPolygonF p;
    for (const QPointF& q : chordUnits)
        p.append(editorPoint(q.x(), q.y()));
    return p;
}

double area(const QPolygonF& p)
{
    double a = 0;
    for (int i = 0; i < p.size(); ++i) {
        const QPointF& u = p[i];
        const QPointF& v = p[(i + 1) % p.size()];
        a += u.x() * v.y() - v.x() * u.y();
    }
    return std::fabs(a) / 2;
}

struct Section {
    std::unique_ptr<ParaStruct> design = std::make_unique<ParaStruct>();
    QPolygonF airfoil = fixture::standardAirfoil(0.15, 0.03);
    QPolygonF workFoil = toEditor(airfoil);
    // Holes run the way the outline runs, as the editor draws them; the
    // second has too few points to be one.
    QList<QPolygonF> holesInChord = {ellipse(0.3, 0.02, 0.08, 0.035, 16),
                                     QPolygonF({QPointF(0.5, 0), QPointF(0.51, 0), QPointF(0.5, 0.01)}),
                                     ellipse(0.55, 0.015, 0.1, 0.03, 20)};
    QList<QPolygonF> holes;

    Section()
    {
        for (const QPolygonF& h : holesInChord)
            holes.append(toEditor(h));
        const int rows[4] = {600, 650, 750, 999}; // "A" .. "D"; 999 is no line
        for (int r = 0; r < 4; ++r)
            design->lineIndex[2 + r][1] = rows[r];
    }
};

} // namespace

class TestFreeFem : public QObject
{
    Q_OBJECT

private slots:
    void golden()
    {
        Section s;
        QTemporaryDir dir;
        QVERIFY(WriteFreeFemInput(s.design.get(), s.workFoil, s.holes, dir.filePath("rib.edp")));
        const QByteArray written = fileBytes(dir.filePath("rib.edp"));
        if (qEnvironmentVariableIsSet("WL_WRITE_GOLDEN")) {
            QFile g(goldenPath());
            QVERIFY(g.open(QIODevice::WriteOnly));
            g.write(written);
        }
        QCOMPARE(written, fileBytes(goldenPath()));
    }

    void scriptParts()
    {
        Section s;
        const QString script = FreeFem_Script(s.design.get(), s.workFoil, s.holes);
        QVERIFY(script.startsWith("///WINGLOFT5 freefem++ input file \n int lA =75; \nint lB =81; \nint lC =93; \n"
                                  "int lD =124; \n  \nint nn =125; \nreal[int] pX(125); \nreal[int] pY(125); \n"
                                  "pX[0] = 1.000000; \npY[0] = 0.000000; \npX[1] = "));
        // Every eighth point at chord 1 with y up; sample 124 is overwritten
        // by sample 0.
        const QPointF p = s.airfoil[8 * 60];
        QVERIFY(script.contains(QStringLiteral("pX[60] = %1; \npY[60] = %2; \n")
                                    .arg(p.x(), 0, 'f', 6)
                                    .arg(p.y(), 0, 'f', 6)));
        QVERIFY(script.contains("pY[124] = "));
        QVERIFY(!script.contains("pX[125]"));
        QVERIFY(script.contains("pX[nn-1] = pX[0] ; \npY[nn-1] = pY[0] ; \nint segmLen =4; \n border segmA(t=0, segmLen)"
                                "  { x = pX[lA+t]; y = pY[lA+t]; label = t;  } \n"));
        QVERIFY(script.contains("label = t;  } \n \n///   lines fasten points \n \n border pA(t=0, 2*pi)  "
                                "{ x = pX[lA]+0.001*cos(t); y = pY[lA]+0.05*sin(t); label = t;  } \n"));
        QVERIFY(script.contains("label = i+1; \n} \n /// end polygon border \n  \n \nint hn0 = 16; \n \n"
                                "real[int] hX0(16); \nreal[int] hY0(16);  \n \n"));
        // Holes reversed, y up again: the first hole point is the last one.
        const QPointF h = s.holesInChord[0].last();
        QVERIFY(script.contains(QStringLiteral("hX0[0] = %1; \nhY0[0] = %2; \n").arg(h.x(), 0, 'f', 6).arg(h.y(), 0, 'f', 6)));
        // The three-point hole is left out and the next keeps its number.
        QVERIFY(!script.contains("hn1"));
        QVERIFY(script.contains("int hn2 = 20; \n"));
        QVERIFY(script.endsWith(" \n  /// end holes  \n \nmesh Tstart = buildmesh(airfoil(nn)+ C0(15)+ C2(19)); \n "
                                "plot(Tstart,wait=1); \n \nplot(Tstart,pA(12),pB(12),pC(12),pD(12),wait=1); \n \n"));
    }

    void holesBlockWithoutHoles()
    {
        QCOMPARE(importHoles({}, 1024.0), QStringLiteral(" \n \n  /// end holes  \n \nmesh Tstart = buildmesh(airfoil(nn)); \n "
                                                         "plot(Tstart,wait=1); \n \nplot(Tstart,pA(12),pB(12),pC(12),pD(12),"
                                                         "wait=1); \n \n"));
    }

    void smallPiecesAndRefusals()
    {
        Section s;
        for (int r = 0; r < 4; ++r)
            s.design->lineIndex[2 + r][1] = r * 2 + 1; // 1, 3, 5, 7: all sample 0
        QVERIFY(FreeFem_Script(s.design.get(), s.workFoil, {}).contains("int lA =0; \nint lB =0; \nint lC =0; \nint lD =0; \n"));
        // 1001 points: 125 samples, none beyond the arrays.
        QPolygonF longer = s.workFoil;
        longer.append(longer.first());
        const QString script = FreeFem_Script(s.design.get(), longer, {});
        QVERIFY(script.contains("int nn =125; \n"));
        QVERIFY(!script.contains("pX[125]"));
        // No chord to scale by, or too few points: nothing is written.
        QTemporaryDir dir;
        QPolygonF behind = s.workFoil;
        behind.translate(-2 * kFactor, 0);
        QVERIFY(!WriteFreeFemInput(s.design.get(), behind, {}, dir.filePath("a.edp")));
        QVERIFY(!WriteFreeFemInput(s.design.get(), s.workFoil.mid(0, 15), {}, dir.filePath("a.edp")));
        QVERIFY(!QFile::exists(dir.filePath("a.edp")));
        QVERIFY(!WriteFreeFemInput(s.design.get(), s.workFoil, {}, dir.filePath("missing/a.edp")));
        QCOMPARE(InsertString_Integer("n", 12), QStringLiteral("n  12 "));
        QCOMPARE(InsertString_Double("v", -0.5), QStringLiteral("v  -0.500000 "));
        QVERIFY(importZukovski().startsWith("border a(t=0,2*pi) { x=5*cos(t);  y=5*sin(t); };   \n"));
        QVERIFY(importZukovski().endsWith("ZVh cp = -dx(psi)^2 - dy(psi)^2;  \n"));
    }

    // Debian's FreeFem++ meshes the golden script: a normal end, and a mesh
    // area of the sampled outline less the two holes.
    void freeFemMeshesTheSection()
    {
        // Debian's FreeFem++, which the set-up installs; another one on the
        // PATH only where that is missing.
        const QString freefem = QFileInfo::exists("/usr/bin/FreeFem++-nw")
            ? QStringLiteral("/usr/bin/FreeFem++-nw") : QStandardPaths::findExecutable("FreeFem++-nw");
        if (freefem.isEmpty())
            QSKIP("FreeFem++-nw is not installed (Debian package freefem++)");
        Section s;
        QTemporaryDir dir;
        const QString path = dir.filePath("rib.edp");
        QVERIFY(WriteFreeFemInput(s.design.get(), s.workFoil, s.holes, path));
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        f.write("cout << \"AREA \" << int2d(Tstart)(1.) << endl;\n");
        f.close();

        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.setWorkingDirectory(dir.path());
        run.start(freefem, {"-nw", "-v", "1", path});
        QVERIFY(run.waitForFinished(-1));
        const QString output = QString::fromLocal8Bit(run.readAll());
        QCOMPARE(run.exitCode(), 0);
        QVERIFY2(output.contains("Normal End"), qPrintable(output.right(2000)));
        const auto m = QRegularExpression(R"(^AREA ([-+.\deE]+)$)", QRegularExpression::MultilineOption).match(output);
        QVERIFY2(m.hasMatch(), qPrintable(output.right(2000)));
        const double meshed = m.captured(1).toDouble();

        QPolygonF outline;
        for (int k = 0; k < 124; ++k)
            outline.append(s.airfoil[8 * k]);
        const double expected = area(outline) - area(s.holesInChord[0]) - area(s.holesInChord[2]);
        QVERIFY2(std::fabs(meshed - expected) < 0.02 * expected,
                 qPrintable(QStringLiteral("%1 against %2").arg(meshed).arg(expected)));
    }
};

QTEST_APPLESS_MAIN(TestFreeFem)
#include "tst_freefem.moc"
