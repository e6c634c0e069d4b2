// Source and doublet potentials of one panel against brute-force quadrature
// of their defining integrals, and the solid-angle identities a closed body
// must satisfy for the zero-inside condition to hold.

#include "apps/panelsolver/influence.h"

#include <QTest>
#include <QObject>
#include <QString>

#include <cmath>

using namespace panelsolver;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Midpoint rule over an m x m bilinear subdivision of a flat quadrilateral.
void quadrature(const Vec3* c, const Vec3& P, int m, double* source, double* doublet)
{
    const Vec3 n = cross(c[2] - c[0], c[3] - c[1]) / norm(cross(c[2] - c[0], c[3] - c[1]));
    auto at = [&](double u, double v) {
        return c[0] * ((1 - u) * (1 - v)) + c[1] * (u * (1 - v)) + c[2] * (u * v) + c[3] * ((1 - u) * v);
    };
    double s = 0, d = 0;
    for (int a = 0; a < m; ++a)
        for (int b = 0; b < m; ++b) {
            const double u0 = double(a) / m, u1 = double(a + 1) / m;
            const double v0 = double(b) / m, v1 = double(b + 1) / m;
            const Vec3 q00 = at(u0, v0), q10 = at(u1, v0), q11 = at(u1, v1), q01 = at(u0, v1);
            const double dA = 0.5 * norm(cross(q11 - q00, q01 - q10));
            const Vec3 Q = at(0.5 * (u0 + u1), 0.5 * (v0 + v1));
            const Vec3 r = P - Q;
            const double len = norm(r);
            s += dA / len;
            d += dA * dot(n, r) / (len * len * len);
        }
    *source = -s / (4 * kPi);
    *doublet = d / (4 * kPi);
}

// An irregular flat quadrilateral, tilted out of every coordinate plane.
struct Tilted {
    Vec3 c[4];
    Tilted()
    {
        const Vec3 flat[4] = {{0, 0, 0}, {1.2, 0.1, 0}, {1.0, 0.9, 0}, {-0.1, 0.7, 0}};
        for (int k = 0; k < 4; ++k) {
            const Vec3& p = flat[k];
            // Rotate about x by 0.4 rad, then about z by 0.7 rad, then shift.
            const Vec3 a(p.x, p.y * std::cos(0.4) - p.z * std::sin(0.4), p.y * std::sin(0.4) + p.z * std::cos(0.4));
            const Vec3 b(a.x * std::cos(0.7) - a.y * std::sin(0.7), a.x * std::sin(0.7) + a.y * std::cos(0.7), a.z);
            c[k] = b + Vec3(0.3, -0.2, 0.5);
        }
    }
};

} // namespace

class TestInfluence : public QObject {
    Q_OBJECT

private slots:
    void matchesQuadrature_data()
    {
        QTest::addColumn<double>("du");
        QTest::addColumn<double>("dv");
        QTest::addColumn<double>("h");
        // Points given by their offset from the centre in the panel's plane
        // (along the first edge and across it) and their height over it.
        QTest::newRow("just above the centre") << 0.0 << 0.0 << 0.05;
        QTest::newRow("above the centre") << 0.0 << 0.0 << 0.4;
        QTest::newRow("below the centre") << 0.1 << -0.1 << -0.4;
        QTest::newRow("above a corner") << -0.55 << -0.45 << 0.1;
        QTest::newRow("in the plane outside") << 1.3 << 0.2 << 0.0;
        QTest::newRow("beside an edge, low") << 0.0 << 0.9 << 0.02;
        QTest::newRow("one diameter off") << 1.0 << 1.0 << 0.8;
    }
    void matchesQuadrature()
    {
        QFETCH(double, du);
        QFETCH(double, dv);
        QFETCH(double, h);
        const Tilted t;
        const PanelGeometry g = Make_Panel_Geometry(t.c, 4);
        const Vec3 u = (t.c[1] - t.c[0]) / norm(t.c[1] - t.c[0]);
        const Vec3 v = cross(g.normal, u);
        const Vec3 P = g.centre + u * du + v * dv + g.normal * h;
        double s = 0, d = 0;
        quadrature(t.c, P, 400, &s, &d);
        const double exact = 1e9; // no far-field shortcut
        QVERIFY2(std::fabs(Source_Potential(g, P, exact) - s) < 2e-4 * std::fabs(s) + 1e-6,
                 qPrintable(QString("source %1, quadrature %2").arg(Source_Potential(g, P, exact)).arg(s)));
        QVERIFY2(std::fabs(Doublet_Potential(g, P, exact) - d) < 2e-4 * std::fabs(d) + 1e-5,
                 qPrintable(QString("doublet %1, quadrature %2").arg(Doublet_Potential(g, P, exact)).arg(d)));
    }

    void doubletJumpsByOneAcrossThePanel()
    {
        const Tilted t;
        const PanelGeometry g = Make_Panel_Geometry(t.c, 4);
        QVERIFY(std::fabs(Doublet_Potential(g, g.centre + g.normal * 1e-9, 1e9) - 0.5) < 1e-7);
        QVERIFY(std::fabs(Doublet_Potential(g, g.centre - g.normal * 1e-9, 1e9) + 0.5) < 1e-7);
        // The source is continuous through the panel.
        QVERIFY(std::fabs(Source_Potential(g, g.centre + g.normal * 1e-9, 1e9)
                          - Source_Potential(g, g.centre - g.normal * 1e-9, 1e9)) < 1e-8);
    }

    void farFieldTakesOverSmoothly()
    {
        const Tilted t;
        const PanelGeometry g = Make_Panel_Geometry(t.c, 4);
        const Vec3 P = g.centre + Vec3(0.6, -0.3, 0.75) * (5.2 * g.diameter / norm(Vec3(0.6, -0.3, 0.75)));
        QVERIFY(std::fabs(Source_Potential(g, P, 5) / Source_Potential(g, P, 1e9) - 1) < 2e-3);
        QVERIFY(std::fabs(Doublet_Potential(g, P, 5) / Doublet_Potential(g, P, 1e9) - 1) < 2e-2);
    }

    // The faces of a closed body, normals out, add up to -1 at any point
    // inside and to 0 outside, also with twisted faces: a cube with one
    // corner pulled out of its three faces' planes.
    void closedBodySumsToMinusOneInside()
    {
        Vec3 v[8];
        for (int k = 0; k < 8; ++k)
            v[k] = Vec3(k & 1, (k >> 1) & 1, (k >> 2) & 1);
        v[7] = Vec3(1.25, 1.15, 1.3);
        // Corners counter-clockwise seen from outside.
        const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                 {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
        const Vec3 probes[] = {{0.5, 0.5, 0.5}, {0.9, 0.95, 0.97}, {0.05, 0.5, 0.2}, // inside
                               {1.5, 0.5, 0.5}, {-0.2, -0.3, 2}, {1.24, 1.14, 1.35}};  // outside
        for (int p = 0; p < 6; ++p) {
            double sum = 0;
            for (const auto& f : faces) {
                const Vec3 c[4] = {v[f[0]], v[f[1]], v[f[2]], v[f[3]]};
                sum += Doublet_Potential(Make_Panel_Geometry(c, 4), probes[p], 1e9);
            }
            QVERIFY2(std::fabs(sum - (p < 3 ? -1.0 : 0.0)) < 1e-12, qPrintable(QString::number(sum)));
        }
    }

    // A quadrilateral with two corners in one place is the triangle.
    void degenerateQuadrilateralIsItsTriangle()
    {
        const Vec3 tri[3] = {{0, 0, 0}, {1, 0, 0}, {0.3, 0.8, 0}};
        const Vec3 quad[4] = {tri[0], tri[1], tri[2], tri[2]};
        const PanelGeometry gt = Make_Panel_Geometry(tri, 3), gq = Make_Panel_Geometry(quad, 4);
        QCOMPARE(gq.area, gt.area);
        for (const Vec3& P : {Vec3(0.4, 0.3, 0.2), Vec3(1.5, 1, -0.3), Vec3(0.2, 0.2, 0.01)}) {
            QVERIFY(std::fabs(Doublet_Potential(gq, P, 1e9) - Doublet_Potential(gt, P, 1e9)) < 1e-12);
            QVERIFY(std::fabs(Source_Potential(gq, P, 1e9) - Source_Potential(gt, P, 1e9)) < 1e-12);
        }
    }
};

QTEST_GUILESS_MAIN(TestInfluence)
#include "tst_influence.moc"
