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

    // A wake panel must leave the trailing edge along both its sides.
    void wakeWithoutLengthIsRefused()
    {
        testmesh::Mesh mesh = testmesh::Rectangular_Wing(testmesh::WingShape());
        const int surfaceNodes = 17 * 32;
        mesh.nodes[surfaceNodes] = mesh.nodes[0]; // the wake node of row 0 on its trailing edge
        SolverInput in;
        SolverResult res;
        std::string why;
        QVERIFY(Parse_Solver_Input(testmesh::Input_File(mesh).toStdString(), &in, &why));
        QVERIFY(!Solve_Cases(in, &res, &why));
        QVERIFY2(QString::fromStdString(why).contains("does not reach behind the trailing edge"), why.c_str());
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
