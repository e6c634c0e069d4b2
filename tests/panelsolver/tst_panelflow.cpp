// The solver against flows with known answers: the sphere's exact surface
// pressure, the lift slope of a rectangular wing by Helmbold's formula, thin
// aerofoil theory's aerodynamic centre, and the symmetries and convergence a
// sound panel method shows. The meshes go through "wings.inp" as the main
// program writes it, so the parser is on the way.

#include "apps/panelsolver/panelsolver.h"
#include "tests/panelsolver/testmesh.h"

#include <QTest>
#include <QObject>
#include <QString>

#include <cmath>

using namespace panelsolver;

namespace {

constexpr double kPi = 3.14159265358979323846;

bool solve(const testmesh::Mesh& mesh, SolverInput* in, SolverResult* res, int velOrder = 2)
{
    std::string why;
    if (!Parse_Solver_Input(testmesh::Input_File(mesh, velOrder).toStdString(), in, &why)
        || !Solve_Cases(*in, res, &why)) {
        qWarning("%s", why.c_str());
        return false;
    }
    return true;
}

double helmboldSlope(double aspect) // per radian
{
    return 2 * kPi * aspect / (2 + std::sqrt(aspect * aspect + 4));
}

// A paraglider-like canopy: 8 cells over 10 m bent into an arc, cambered,
// billowed between the ribs so that the trailing edge swings from row to
// row.
testmesh::WingShape canopy()
{
    testmesh::WingShape s;
    s.span = 10;
    s.chord = 2;
    s.thickness = 0.14;
    s.camber = 0.02;
    s.arc = 0.6;
    s.billow = 0.08;
    s.stripsPerCell = 4;
    s.strips = 8 * s.stripsPerCell;
    s.perSide = 16;
    return s;
}

testmesh::WingShape subdivided(testmesh::WingShape s)
{
    s.perSide *= 2;
    s.strips *= 2;
    s.stripsPerCell *= 2;
    return s;
}

// Lift from the circulation the wake carries away (Kutta and Joukowski in
// the plane far behind the wing): CL = 2 / (V S) times the sum over the wake
// strips of the doublet jump across each (upper trailing-edge panel less
// lower) times the strip's width across the span. The upper panel of strip
// i is the mesh's station 0, the lower one its last station.
double circulationLift(const testmesh::WingShape& shape, const SolverInput& in, const SolverResult& res, int c)
{
    const int J = 2 * shape.perSide - 1;
    double sum = 0;
    for (int i = 0; i < shape.strips; ++i) {
        const int upper = i * (J + 1), lower = i * (J + 1) + J;
        const double jump = res.strength(upper, c) - res.strength(lower, c);
        const double width = in.nodes[(i + 1) * (J + 1)].y - in.nodes[i * (J + 1)].y;
        sum += jump * width;
    }
    return 2 * sum / in.surface;
}

} // namespace

class TestPanelFlow : public QObject {
    Q_OBJECT

    // The wing of aspect ratio 8, NACA 0012, once at the working size and
    // once with twice the panels each way.
    SolverInput wingIn, fineIn;
    SolverResult wing, fine;

private slots:
    void initTestCase()
    {
        testmesh::WingShape shape;
        QVERIFY(solve(testmesh::Rectangular_Wing(shape), &wingIn, &wing));
        shape.perSide *= 2;
        shape.strips *= 2;
        QVERIFY(solve(testmesh::Rectangular_Wing(shape), &fineIn, &fine));
        qInfo("CL at 5 deg: %.5f (%d panels), %.5f (%d panels); Helmbold %.5f", wing.cases[5].clift,
              int(wing.surface.size()), fine.cases[5].clift, int(fine.surface.size()),
              helmboldSlope(8) * 5 * kPi / 180);
    }

    // Cp = 1 - 9/4 sin^2(theta), theta from the onset direction, at 0 and
    // 12 degrees (the second needs the x and z solutions combined).
    void sphereMatchesTheExactPressure()
    {
        SolverInput in;
        SolverResult res;
        QVERIFY(solve(testmesh::Sphere(1.0, 26, 40), &in, &res));
        QVERIFY(res.surface.size() > 950 && res.surface.size() < 1100);
        QVERIFY(!res.flipped);
        for (int c : {0, 12}) {
            const double a = c * kPi / 180;
            const Vec3 onset(std::cos(a), 0, std::sin(a));
            double worst = 0;
            int checked = 0;
            for (size_t k = 0; k < res.surface.size(); ++k) {
                const InputPanel& p = in.panels[res.surface[k]];
                Vec3 centre;
                for (int q = 0; q < p.cornerCount(); ++q)
                    centre += in.nodes[p.nodes[q] - 1];
                centre = centre / p.cornerCount();
                const Vec3 dir = centre / norm(centre);
                if (std::fabs(dir.z) > 0.966) // within 15 degrees of a pole
                    continue;
                const double cosT = dot(dir, onset);
                const double exact = 1 - 2.25 * (1 - cosT * cosT);
                worst = std::max(worst, std::fabs(res.pressure(int(k), c) - exact));
                ++checked;
            }
            qInfo("sphere at %d deg: largest Cp error %.4f over %d panels", c, worst, checked);
            QVERIFY(checked > 850);
            QVERIFY(worst < 0.05);
        }
        // A closed body in potential flow feels no force.
        for (const CaseResult& c : res.cases)
            QVERIFY(std::fabs(c.cx) + std::fabs(c.cy) + std::fabs(c.cz) < 0.02);
    }

    void wingLiftFollowsHelmbold()
    {
        const double expected = helmboldSlope(8) * 5 * kPi / 180;
        QCOMPARE(wing.cases[5].alpha, 5.0);
        QVERIFY2(std::fabs(wing.cases[5].clift / expected - 1) < 0.08,
                 qPrintable(QString("CL %1, Helmbold %2").arg(wing.cases[5].clift).arg(expected)));
        QVERIFY2(std::fabs(fine.cases[5].clift / expected - 1) < 0.08,
                 qPrintable(QString("CL %1, Helmbold %2").arg(fine.cases[5].clift).arg(expected)));
    }

    void wingLiftIsLinearInTheAngle()
    {
        const int n = int(wing.cases.size());
        QCOMPARE(n, 13);
        double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
        for (const CaseResult& c : wing.cases) {
            sx += c.alpha, sy += c.clift;
            sxx += c.alpha * c.alpha, syy += c.clift * c.clift, sxy += c.alpha * c.clift;
        }
        const double r = (n * sxy - sx * sy) / std::sqrt((n * sxx - sx * sx) * (n * syy - sy * sy));
        QVERIFY2(r > 0.999, qPrintable(QString::number(r, 'f', 6)));
        for (int c = 1; c < n; ++c)
            QVERIFY(wing.cases[c].clift > wing.cases[c - 1].clift);
    }

    void symmetricSectionHasNoLiftAtZero()
    {
        QVERIFY2(std::fabs(wing.cases[0].clift) < 1e-3, qPrintable(QString::number(wing.cases[0].clift)));
        QVERIFY(std::fabs(fine.cases[0].clift) < 1e-3);
    }

    void refinementChangesLiftLittle()
    {
        const double change = fine.cases[5].clift / wing.cases[5].clift - 1;
        QVERIFY2(std::fabs(change) < 0.02, qPrintable(QString::number(change)));
    }

    // The lift acts near the quarter chord; the moment about the leading
    // edge (the reference point) is nose-down.
    void pitchingMomentPutsTheLiftNearTheQuarterChord()
    {
        const CaseResult& c = wing.cases[5];
        const double centre = -c.cm / c.clift;
        QVERIFY2(centre > 0.2 && centre < 0.3, qPrintable(QString::number(centre)));
    }

    // Induced drag of a nearly elliptic loading, CL^2 / (pi A), from the
    // surface pressures alone.
    void dragIsTheInducedDrag()
    {
        const CaseResult& c = fine.cases[8];
        const double induced = c.clift * c.clift / (kPi * 8);
        QVERIFY2(c.cdrag > 0.7 * induced && c.cdrag < 1.3 * induced,
                 qPrintable(QString("CD %1, CL^2/(pi A) %2").arg(c.cdrag).arg(induced)));
    }

    void symmetricFlowHasNoSideForceRollOrYaw()
    {
        for (const CaseResult& c : wing.cases) {
            QVERIFY(std::fabs(c.cy) < 1e-6);
            QVERIFY(std::fabs(c.cl) < 1e-6);
            QVERIFY(std::fabs(c.cn) < 1e-6);
        }
    }

    // The same wing with every panel's corners in the opposite order: the
    // panels face inward, the solver turns them and finds the same flow.
    void inwardFacingMeshGivesTheSameFlow()
    {
        testmesh::Mesh mesh = testmesh::Rectangular_Wing(testmesh::WingShape());
        for (testmesh::Panel& p : mesh.panels)
            if (p.type == 1)
                std::swap(p.nodes[1], p.nodes[3]);
        SolverInput in;
        SolverResult res;
        QVERIFY(solve(mesh, &in, &res));
        QVERIFY(res.flipped);
        QVERIFY(!wing.flipped);
        for (int c : {0, 5, 12}) {
            QVERIFY2(std::fabs(res.cases[c].clift - wing.cases[c].clift) < 1e-9,
                     qPrintable(QString::number(res.cases[c].clift - wing.cases[c].clift)));
            QVERIFY(std::fabs(res.cases[c].cm - wing.cases[c].cm) < 1e-9);
            QVERIFY(std::fabs(res.cases[c].cdrag - wing.cases[c].cdrag) < 1e-9);
        }
    }

    // One strip turned inside out, as where a mesh folds over itself: the
    // solution would be nonsense everywhere, so the solver refuses it and
    // names the first panel of the strip.
    void foldedMeshIsRefused()
    {
        testmesh::Mesh mesh = testmesh::Rectangular_Wing(testmesh::WingShape());
        const int perStrip = 32;
        for (int k = 3 * perStrip; k < 4 * perStrip; ++k)
            std::swap(mesh.panels[k].nodes[1], mesh.panels[k].nodes[3]);
        SolverInput in;
        SolverResult res;
        std::string why;
        QVERIFY(Parse_Solver_Input(testmesh::Input_File(mesh).toStdString(), &in, &why));
        QVERIFY(!Solve_Cases(in, &res, &why));
        QVERIFY2(QString::fromStdString(why).startsWith(QString("panel %1 faces the other way").arg(3 * perStrip + 1)),
                 why.c_str());
    }

    // The wake is carried downstream without end, whatever length the mesh
    // gives it.
    void wakeLengthInTheMeshDoesNotMatter()
    {
        testmesh::WingShape shape;
        shape.wakeChords = 20;
        SolverInput in;
        SolverResult res;
        QVERIFY(solve(testmesh::Rectangular_Wing(shape), &in, &res));
        QVERIFY(std::fabs(res.cases[5].clift / wing.cases[5].clift - 1) < 1e-6);
    }

    // The wake leaves the trailing edge along the flow whatever shape the
    // mesh gives it: written along the bisector of the trailing edge (as
    // the main program once did), stretched along those sides, fanned out
    // and twisted, crossed into bow-ties, collapsed onto the trailing edge,
    // or along x. The sides of each strip come from its trailing-edge
    // panels: station 0 is the upper one.
    void wakeShapeDoesNotChangeTheLift_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<double>("chords");
        QTest::addColumn<bool>("collapsed");
        using W = testmesh::WakeShape;
        QTest::newRow("as written, 3 chords") << int(W::Bisector) << 3.0 << false;
        QTest::newRow("stretched to 10 chords") << int(W::Bisector) << 10.0 << false;
        QTest::newRow("stretched to 300 chords") << int(W::Bisector) << 300.0 << false;
        QTest::newRow("fanned") << int(W::Fanned) << 3.0 << false;
        QTest::newRow("crossed") << int(W::Crossed) << 3.0 << false;
        QTest::newRow("one node on its trailing edge") << int(W::Bisector) << 3.0 << true;
        QTest::newRow("along x, 3 chords") << int(W::AlongX) << 3.0 << false;
    }
    void wakeShapeDoesNotChangeTheLift()
    {
        QFETCH(int, shape);
        QFETCH(double, chords);
        QFETCH(bool, collapsed);
        testmesh::WingShape along = canopy();
        along.wake = testmesh::WakeShape::AlongX;
        SolverInput refIn;
        SolverResult ref;
        QVERIFY(solve(testmesh::Rectangular_Wing(along), &refIn, &ref));

        testmesh::WingShape s = canopy();
        s.wake = testmesh::WakeShape(shape);
        s.wakeChords = chords;
        testmesh::Mesh mesh = testmesh::Rectangular_Wing(s);
        const int J = 2 * s.perSide - 1, S = (s.strips + 1) * (J + 1);
        if (collapsed)
            mesh.nodes[S + s.strips / 2] = mesh.nodes[(s.strips / 2) * (J + 1)];
        SolverInput in;
        SolverResult res;
        QVERIFY(solve(mesh, &in, &res));
        for (int c = 0; c < 13; ++c) {
            const double change = res.cases[c].clift / ref.cases[c].clift - 1;
            QVERIFY2(std::fabs(change) < 0.01, qPrintable(QString("%1 deg: CL %2, along x %3")
                                                              .arg(c)
                                                              .arg(res.cases[c].clift)
                                                              .arg(ref.cases[c].clift)));
        }
        qInfo("CL at 6 deg %.4f (along x %.4f)", res.cases[6].clift, ref.cases[6].clift);
    }

    // The lift the pressures give is the lift of the circulation the wake
    // carries away, on a billowed canopy at every angle; and it stays put
    // when every panel is cut into four on its own surface. Where only the
    // camber lifts (0 and 1 degree) the change is a little larger.
    void billowedCanopyLiftIsConsistent()
    {
        SolverInput in, fineIn;
        SolverResult res, fineRes;
        QVERIFY(solve(testmesh::Rectangular_Wing(canopy()), &in, &res));
        QVERIFY(solve(testmesh::Subdivided_Wing(canopy()), &fineIn, &fineRes));
        QCOMPARE(fineRes.surface.size(), 4 * res.surface.size());
        for (int c = 0; c < 13; ++c) {
            const double cl = res.cases[c].clift, fine = fineRes.cases[c].clift;
            QVERIFY2(cl > 0.1, qPrintable(QString::number(cl)));
            QVERIFY2(std::fabs(fine / cl - 1) < (c < 2 ? 0.03 : 0.02),
                     qPrintable(QString("%1 deg: CL %2, subdivided %3").arg(c).arg(cl).arg(fine)));
            for (bool finer : {false, true}) {
                const SolverResult& result = finer ? fineRes : res;
                const testmesh::WingShape shape = finer ? subdivided(canopy()) : canopy();
                const double circulation = circulationLift(shape, finer ? fineIn : in, result, c);
                QVERIFY2(std::fabs(circulation / result.cases[c].clift - 1) < 0.04,
                         qPrintable(QString("%1 deg: CL %2, from the circulation %3")
                                        .arg(c)
                                        .arg(result.cases[c].clift)
                                        .arg(circulation)));
            }
        }
        qInfo("CL at 6 deg %.4f, subdivided %.4f; from the circulation %.4f and %.4f", res.cases[6].clift,
              fineRes.cases[6].clift, circulationLift(canopy(), in, res, 6),
              circulationLift(subdivided(canopy()), fineIn, fineRes, 6));
    }

    // The solver tells each wake strip's upper side from its trailing-edge
    // panels (station 0 lies above), whatever the wake nodes say.
    void wakeSidesComeFromTheTrailingEdge_data()
    {
        QTest::addColumn<int>("shape");
        QTest::newRow("as written") << int(testmesh::WakeShape::Bisector);
        QTest::newRow("crossed") << int(testmesh::WakeShape::Crossed);
        QTest::newRow("fanned") << int(testmesh::WakeShape::Fanned);
    }
    void wakeSidesComeFromTheTrailingEdge()
    {
        QFETCH(int, shape);
        testmesh::WingShape s = canopy();
        s.wake = testmesh::WakeShape(shape);
        SolverInput in;
        SolverResult res;
        QVERIFY(solve(testmesh::Rectangular_Wing(s), &in, &res));
        const int J = 2 * s.perSide - 1;
        QCOMPARE(int(res.wakeUpper.size()), s.strips);
        for (int i = 0; i < s.strips; ++i) {
            QCOMPARE(res.surface[res.wakeUpper[i]], i * (J + 1));
            QCOMPARE(res.surface[res.wakeLower[i]], i * (J + 1) + J);
        }
    }

    // A mirror-symmetric mesh without sideslip is solved by halves, with
    // the results of the whole system; the same mesh with one node moved,
    // or with a case in sideslip, is solved whole.
    void symmetricMeshIsSolvedByHalves()
    {
        const testmesh::Mesh mesh = testmesh::Rectangular_Wing(canopy());
        SolverInput in;
        std::string why;
        QVERIFY(Parse_Solver_Input(testmesh::Input_File(mesh).toStdString(), &in, &why));
        SolverResult half, whole;
        SolverOptions options;
        QVERIFY(Solve_Cases(in, &half, &why));
        options.useSymmetry = false;
        QVERIFY(Solve_Cases(in, &whole, &why, nullptr, nullptr, options));
        const int n = int(half.surface.size());
        QVERIFY(half.mirrored);
        QCOMPARE(half.unknowns, n / 2);
        QVERIFY(!whole.mirrored);
        QCOMPARE(whole.unknowns, n);
        auto close = [](double a, double b, double scale) { return std::fabs(a - b) <= 1e-9 * scale; };
        for (int c = 0; c < 13; ++c) {
            const CaseResult &h = half.cases[c], &w = whole.cases[c];
            for (double CaseResult::*f : {&CaseResult::cx, &CaseResult::cz, &CaseResult::cm, &CaseResult::cdrag,
                                          &CaseResult::clift})
                QVERIFY2(close(h.*f, w.*f, std::fabs(w.*f)),
                         qPrintable(QString("case %1: %2 against %3").arg(c).arg(h.*f, 0, 'g', 15).arg(w.*f, 0, 'g', 15)));
            for (int k = 0; k < n; ++k) {
                QVERIFY(close(half.pressure(k, c), whole.pressure(k, c), 1.0));
                QVERIFY(close(half.strength(k, c), whole.strength(k, c), in.mac));
            }
        }

        // One node of the upper side moved by a millimetre.
        SolverInput moved = in;
        moved.nodes[3 * (2 * canopy().perSide) + 7].z += 0.001;
        SolverResult res;
        QVERIFY(Solve_Cases(moved, &res, &why));
        QVERIFY(!res.mirrored);
        QCOMPARE(res.unknowns, n);

        SolverInput sideslip = in;
        sideslip.beta[12] = 2;
        QVERIFY(Solve_Cases(sideslip, &res, &why));
        QVERIFY(!res.mirrored);
        QCOMPARE(res.unknowns, n);
        QVERIFY(std::fabs(res.cases[12].cy) > 1e-4);
        QVERIFY(close(res.cases[11].clift, whole.cases[11].clift, whole.cases[11].clift));
    }

    // With a centre cell, the strip across the centre plane is its own
    // mirror image: one unknown of its own per panel.
    void panelsOnTheCentrePlaneStandAlone()
    {
        testmesh::WingShape s = canopy();
        s.stripsPerCell = 3;
        s.strips = 7 * s.stripsPerCell;
        testmesh::Mesh mesh = testmesh::Rectangular_Wing(s);
        SolverInput in;
        std::string why;
        QVERIFY(Parse_Solver_Input(testmesh::Input_File(mesh).toStdString(), &in, &why));
        SolverResult half, whole;
        SolverOptions options;
        options.useSymmetry = false;
        QVERIFY(Solve_Cases(in, &half, &why));
        QVERIFY(Solve_Cases(in, &whole, &why, nullptr, nullptr, options));
        const int n = int(half.surface.size()), perStrip = 2 * s.perSide;
        QVERIFY(half.mirrored);
        QCOMPARE(half.unknowns, (n + perStrip) / 2);
        for (int c : {0, 6, 12})
            QVERIFY(std::fabs(half.cases[c].clift - whole.cases[c].clift) <= 1e-9 * whole.cases[c].clift);
    }

    // First-order surface velocities agree with the second-order ones.
    void velocityOrderChangesLittle()
    {
        SolverInput in;
        SolverResult res;
        testmesh::WingShape shape;
        QVERIFY(solve(testmesh::Rectangular_Wing(shape), &in, &res, 1));
        const double change = res.cases[5].clift / wing.cases[5].clift - 1;
        QVERIFY2(std::fabs(change) < 0.03, qPrintable(QString::number(change)));
    }
};

QTEST_GUILESS_MAIN(TestPanelFlow)
#include "tst_panelflow.moc"
