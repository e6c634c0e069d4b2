// Reading "wings.inp": every value of the main program's layout, the
// variants of spacing and number notation it may meet, and the inputs it must
// refuse with a reason rather than solve something nobody wrote.

#include "apps/panelsolver/solverinput.h"
#include "tests/panelsolver/testmesh.h"

#include <QRegularExpression>
#include <QTest>
#include <QObject>
#include <QString>
#include <QStringList>

#include <cmath>
#include <functional>

using namespace panelsolver;

namespace {

// A small wing: 3 rows of 8 stations and their wake nodes (27 nodes), 16
// surface panels and 2 wake panels.
testmesh::Mesh smallWing()
{
    testmesh::WingShape shape;
    shape.perSide = 4;
    shape.strips = 2;
    return testmesh::Rectangular_Wing(shape);
}

// The file's lines; the header has 83, the node lines follow.
QStringList fileLines(const testmesh::Mesh& mesh)
{
    return QString::fromLatin1(testmesh::Input_File(mesh)).split('\n');
}

constexpr int kFirstNodeLine = 83; // index in the list
int firstPanelLine(const testmesh::Mesh& m) { return kFirstNodeLine + int(m.nodes.size()) + 2; }

bool parse(const QString& text, SolverInput* in, std::string* why)
{
    return Parse_Solver_Input(text.toStdString(), in, why);
}

using Edit = std::function<QString(QStringList)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestSolverInput : public QObject {
    Q_OBJECT

private slots:
    void readsEveryValueOfTheLayout()
    {
        testmesh::Mesh mesh = smallWing();
        mesh.span = 12;
        mesh.area = 30;
        SolverInput in;
        std::string why;
        QVERIFY2(parse(QString::fromLatin1(testmesh::Input_File(mesh)), &in, &why), why.c_str());
        QCOMPARE(in.airspeed, 11.111111);
        QCOMPARE(in.density, 1.225);
        QCOMPARE(in.pressure, 101325.0);
        QCOMPARE(in.mach, 0.0);
        QCOMPARE(int(in.alpha.size()), 13);
        for (int c = 0; c < 13; ++c) {
            QCOMPARE(in.alpha[c], double(c));
            QCOMPARE(in.beta[c], 0.0);
        }
        QCOMPARE(in.span, 12.0);
        QCOMPARE(in.mac, 2.5);
        QCOMPARE(in.surface, 30.0);
        QCOMPARE(in.origin.x + in.origin.y + in.origin.z, 0.0);
        QCOMPARE(in.method, 0);
        QCOMPARE(in.error, 1e-7);
        QCOMPARE(in.collDist, 1e-7);
        QCOMPARE(in.farField, 5.0);
        QCOMPARE(in.collCalc, 0);
        QCOMPARE(in.velOrder, 2);
        QVERIFY(in.writeResults);
        QCOMPARE(in.nodes.size(), mesh.nodes.size());
        for (size_t k = 0; k < mesh.nodes.size(); ++k) {
            QVERIFY(std::fabs(in.nodes[k].x - mesh.nodes[k].x) <= 5e-7);
            QVERIFY(std::fabs(in.nodes[k].y - mesh.nodes[k].y) <= 5e-7);
            QVERIFY(std::fabs(in.nodes[k].z - mesh.nodes[k].z) <= 5e-7);
        }
        QCOMPARE(in.panels.size(), mesh.panels.size());
        for (size_t k = 0; k < mesh.panels.size(); ++k) {
            QCOMPARE(in.panels[k].type, mesh.panels[k].type);
            for (int c = 0; c < 4; ++c) {
                QCOMPARE(in.panels[k].nodes[c], mesh.panels[k].nodes[c]);
                QCOMPARE(in.panels[k].neighbours[c], mesh.panels[k].neighbours[c]);
            }
        }
        QCOMPARE(in.panels.back().type, int(kWakeQuad));

        QVERIFY(parse(QString::fromLatin1(testmesh::Input_File(mesh, 1)), &in, &why));
        QCOMPARE(in.velOrder, 1);
    }

    // The triangle lines of the layout: three corners, three neighbours.
    void readsTrianglePanels()
    {
        const testmesh::Mesh sphere = testmesh::Sphere(1, 4, 6);
        SolverInput in;
        std::string why;
        QVERIFY2(parse(QString::fromLatin1(testmesh::Input_File(sphere)), &in, &why), why.c_str());
        QCOMPARE(in.panels.size(), sphere.panels.size());
        QCOMPARE(in.panels.front().type, int(kSurfaceTriangle));
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(in.panels.front().nodes[c], sphere.panels.front().nodes[c]);
            QCOMPARE(in.panels.front().neighbours[c], sphere.panels.front().neighbours[c]);
        }
        QCOMPARE(in.panels.front().nodes[3], 0);
    }

    void toleratesVariants_data()
    {
        QTest::addColumn<Edit>("edit");
        const testmesh::Mesh m = smallWing();
        const int nodes = int(m.nodes.size());
        QTest::newRow("carriage returns") << Edit([](QStringList l) { return l.join("\r\n"); });
        QTest::newRow("final line feed") << Edit([](QStringList l) { return l.join('\n') + '\n'; });
        QTest::newRow("tabs and single blanks") << Edit([](QStringList l) {
            for (QString& s : l)
                s.replace(QRegularExpression("^ +"), "\t").replace(QRegularExpression("(\\d) +(-?\\d)"), "\\1\t\\2");
            return l.join('\n');
        });
        QTest::newRow("blank and comment lines in the lists") << Edit([m](QStringList l) {
            l.insert(firstPanelLine(m) + 3, "# a remark");
            l.insert(firstPanelLine(m) + 1, "");
            l.insert(kFirstNodeLine + 5, "   ");
            l.insert(kFirstNodeLine + 2, "# another");
            return l.join('\n');
        });
        QTest::newRow("reals without a leading zero") << Edit([nodes](QStringList l) {
            for (int k = kFirstNodeLine; k < kFirstNodeLine + nodes; ++k)
                l[k].replace(" 0.", " .").replace(" -0.", " -.");
            return l.join('\n');
        });
        QTest::newRow("exponents with a capital E") << Edit([m, nodes](QStringList l) {
            for (int k = 0; k < nodes; ++k) {
                const testmesh::Node& n = m.nodes[k];
                l[kFirstNodeLine + k] = QString(" %1 %2 %3 node ID: %4 ")
                                            .arg(QString::number(n.x, 'E', 8), QString::number(n.y, 'E', 8),
                                                 QString::number(n.z, 'E', 8))
                                            .arg(k + 1);
            }
            return l.join('\n');
        });
        QTest::newRow("plus signs") << Edit([nodes](QStringList l) {
            for (int k = kFirstNodeLine; k < kFirstNodeLine + nodes; ++k)
                l[k].replace(QRegularExpression(" (\\d)"), " +\\1");
            return l.join('\n');
        });
        QTest::newRow("reference point on the keyword line") << Edit([](QStringList l) {
            const int at = l.indexOf("ORIGIN * ");
            l[at] = "ORIGIN 0 0 0";
            l.removeAt(at + 1);
            return l.join('\n');
        });
        QTest::newRow("no numbering text after the values") << Edit([](QStringList l) {
            for (QString& s : l)
                s.remove(QRegularExpression("(node ID|panelID): \\d+ $"));
            return l.join('\n');
        });
        QTest::newRow("indented keywords") << Edit([](QStringList l) {
            for (QString& s : l)
                if (!s.isEmpty() && s[0].isUpper())
                    s.prepend("  ");
            return l.join('\n');
        });
    }
    void toleratesVariants()
    {
        QFETCH(Edit, edit);
        const testmesh::Mesh mesh = smallWing();
        SolverInput plain, varied;
        std::string why;
        QVERIFY(parse(QString::fromLatin1(testmesh::Input_File(mesh)), &plain, &why));
        QVERIFY2(parse(edit(fileLines(mesh)), &varied, &why), why.c_str());
        QCOMPARE(varied.alpha, plain.alpha);
        QCOMPARE(varied.surface, plain.surface);
        QCOMPARE(varied.nodes.size(), plain.nodes.size());
        for (size_t k = 0; k < plain.nodes.size(); ++k)
            QVERIFY(norm(varied.nodes[k] - plain.nodes[k]) < 1e-6); // the six decimals of the layout
        QCOMPARE(varied.panels.size(), plain.panels.size());
        for (size_t k = 0; k < plain.panels.size(); ++k)
            for (int c = 0; c < 4; ++c) {
                QCOMPARE(varied.panels[k].nodes[c], plain.panels[k].nodes[c]);
                QCOMPARE(varied.panels[k].neighbours[c], plain.panels[k].neighbours[c]);
            }
    }

    void refuses_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("reason");
        const testmesh::Mesh m = smallWing();
        const int nodes = int(m.nodes.size());
        const int panels = firstPanelLine(m);
        auto cut = [](int keep) { return Edit([keep](QStringList l) { return l.mid(0, keep).join('\n'); }); };
        auto setLine = [](int at, QString text) {
            return Edit([at, text](QStringList l) {
                l[at] = text;
                return l.join('\n');
            });
        };
        auto replaceIn = [](int at, QString from, QString to) {
            return Edit([at, from, to](QStringList l) {
                l[at].replace(from, to);
                return l.join('\n');
            });
        };
        QTest::newRow("empty file") << Edit([](QStringList) { return QString(); }) << "no AIRSPEED";
        QTest::newRow("truncated in the header") << cut(40) << "no NODES";
        QTest::newRow("truncated in the nodes") << cut(kFirstNodeLine + 10) << "ends after 10 of 27 nodes";
        QTest::newRow("truncated in the panels") << cut(panels + 5) << "ends after 5 of 18 panels";
        QTest::newRow("truncated inside a panel line") << Edit([](QStringList l) {
            l.removeLast();
            l.last().truncate(12);
            return l.join('\n');
        }) << "expected 9 values";
        QTest::newRow("truncated inside a number") << Edit([nodes](QStringList l) {
            l = l.mid(0, kFirstNodeLine + nodes);
            l.last() = " 1.0   2.0   1.5E";
            return l.join('\n');
        }) << "not a finite number";
        QTest::newRow("panel naming a node that does not exist")
            << setLine(panels + 3, " 1    5    6    99    4    3    0    0   0  panelID: 4 ") << "names node 99";
        QTest::newRow("panel naming node 0")
            << setLine(panels + 3, " 1    0    6    7    4    3    0    0   0  panelID: 4 ") << "names node 0";
        QTest::newRow("neighbour that does not exist")
            << setLine(panels + 3, " 1    4    12    13    5    3    77    0   0  panelID: 4 ") << "neighbour 77";
        QTest::newRow("panel without area")
            << setLine(panels + 3, " 1    4    4    4    4    3    12    0   0  panelID: 4 ") << "panel 4 has no area";
        QTest::newRow("panel whose corners lie on a line") << Edit([nodes](QStringList l) {
            // Nodes 1, 2, 10, 9 (panel 1) all moved onto the x axis.
            for (int n : {1, 2, 9, 10})
                l[kFirstNodeLine + n - 1] = QString(" %1   0.000000   0.000000      node ID: %2 ").arg(0.1 * n).arg(n);
            return l.join('\n');
        }) << "panel 1 has no area";
        QTest::newRow("nan coordinate") << replaceIn(kFirstNodeLine + 4, "-6.000000", "nan") << "not a number";
        QTest::newRow("NAN coordinate") << replaceIn(kFirstNodeLine + 4, "-6.000000", "NAN") << "not a number";
        QTest::newRow("infinite coordinate") << replaceIn(kFirstNodeLine + 4, "-6.000000", "-inf") << "not a number";
        QTest::newRow("overflowing coordinate") << replaceIn(kFirstNodeLine + 4, "-6.000000", "-6.0E+999")
                                                << "not a finite number";
        QTest::newRow("lowercase exponent") << replaceIn(kFirstNodeLine + 4, "-6.000000", "-6.0e+00")
                                            << "not a number";
        QTest::newRow("two points in a number") << replaceIn(kFirstNodeLine + 4, "-6.000000", "-6.0.0")
                                                << "not a finite number";
        QTest::newRow("unknown panel type")
            << setLine(panels, " 7    1    10    11    2    2    9    0   0  panelID: 1 ") << "unknown type 7";
        QTest::newRow("negative node count") << setLine(kFirstNodeLine - 1, "NODES -3 ") << "out of range";
        QTest::newRow("node count far beyond the file") << setLine(kFirstNodeLine - 1, "NODES 500000000 ")
                                                        << "node coordinates: a value is not a number";
        QTest::newRow("wake panel leaving no surface panels") << Edit([](QStringList l) {
            l[l.size() - 2] = " 10    17    9    26    27    0    0    0   0  panelID: 18 ";
            return l.join('\n');
        }) << "wake panel 18";
        QTest::newRow("no case list") << Edit([](QStringList l) {
            l.removeAt(l.indexOf("CASE_NUM   13  "));
            return l.join('\n');
        }) << "no CASE_NUM";
        QTest::newRow("fewer angles than cases") << Edit([](QStringList l) {
            l[l.indexOf("CASE_NUM   13  ")] = "CASE_NUM   14  ";
            return l.join('\n');
        }) << "expected 14 values";
        QTest::newRow("another singularity method") << Edit([](QStringList l) {
            l[l.indexOf("METHOD 0 ")] = "METHOD 1 ";
            return l.join('\n');
        }) << "METHOD 1 is not supported";
        QTest::newRow("compressibility correction") << Edit([](QStringList l) {
            l[l.indexOf("MACH 0  ")] = "MACH 0.3  ";
            return l.join('\n');
        }) << "MACH must be 0";
        QTest::newRow("zero reference surface") << Edit([](QStringList l) {
            for (QString& s : l)
                if (s.startsWith("SURFACE"))
                    s = "SURFACE 0.000000    ";
            return l.join('\n');
        }) << "must be positive";
        QTest::newRow("empty mesh") << Edit([](QStringList l) {
            l = l.mid(0, kFirstNodeLine - 1);
            l << "NODES 0 " << "# type node_id1 node_id2 node_id3 node_id4  elem_id1 elem_id2 elem_id3 elem_id4 "
              << "PANELS 0   " << "# end of input file";
            return l.join('\n');
        }) << "no surface panels";
    }
    void refuses()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, reason);
        SolverInput in;
        std::string why;
        QVERIFY(!parse(edit(fileLines(smallWing())), &in, &why));
        const QString said = QString::fromStdString(why);
        QVERIFY2(said.contains(reason), qPrintable(said));
        QVERIFY(!said.contains('\n'));
    }

    // Syntax faults name their line, counted from 1 as an editor shows them.
    void reasonsNameTheLine()
    {
        QStringList l = fileLines(smallWing());
        l[kFirstNodeLine + 4].replace("-6.000000", "nan");
        SolverInput in;
        std::string why;
        QVERIFY(!parse(l.join('\n'), &in, &why));
        QVERIFY2(QString::fromStdString(why).startsWith(QString("line %1: ").arg(kFirstNodeLine + 5)), why.c_str());
    }

    void missingFileIsReported()
    {
        SolverInput in;
        std::string why;
        QVERIFY(!Read_Solver_Input("/nonexistent/wings.inp", &in, &why));
        QVERIFY(QString::fromStdString(why).contains("cannot open"));
    }
};

QTEST_GUILESS_MAIN(TestSolverInput)
#include "tst_solverinput.moc"
