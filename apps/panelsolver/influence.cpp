#include "apps/panelsolver/influence.h"

#include <algorithm>

namespace panelsolver {

namespace {
constexpr double kFourPi = 4.0 * 3.14159265358979323846;
}

PanelGeometry Make_Panel_Geometry(const Vec3* corners, int count)
{
    PanelGeometry g;
    g.corners = count == 3 ? 3 : 4;
    for (int k = 0; k < g.corners; ++k)
        g.p[k] = corners[k];
    Vec3 c;
    for (int k = 0; k < g.corners; ++k)
        c += g.p[k];
    g.centre = c / g.corners;
    const Vec3 n = g.corners == 4 ? cross(g.p[2] - g.p[0], g.p[3] - g.p[1])
                                  : cross(g.p[1] - g.p[0], g.p[2] - g.p[0]);
    const double twice = norm(n);
    g.area = 0.5 * twice;
    g.normal = twice > 0 ? n / twice : Vec3(0, 0, 1);
    for (int k = 0; k < g.corners; ++k) {
        g.flat[k] = g.p[k] - g.normal * dot(g.p[k] - g.centre, g.normal);
        for (int m = k + 1; m < g.corners; ++m)
            g.diameter = std::max(g.diameter, norm(g.p[m] - g.p[k]));
    }
    return g;
}

double Triangle_Solid_Angle(const Vec3& a, const Vec3& b, const Vec3& c)
{
    const double la = norm(a), lb = norm(b), lc = norm(c);
    const double num = dot(a, cross(b, c));
    const double den = la * lb * lc + dot(a, b) * lc + dot(a, c) * lb + dot(b, c) * la;
    return 2.0 * std::atan2(num, den);
}

double Doublet_Potential(const PanelGeometry& g, const Vec3& P, double farField)
{
    const Vec3 rc = P - g.centre;
    const double dist = norm(rc);
    if (dist > farField * g.diameter)
        return g.area * dot(g.normal, rc) / (kFourPi * dist * dist * dist);
    const Vec3 a = g.p[0] - P, b = g.p[1] - P, c = g.p[2] - P;
    double omega = Triangle_Solid_Angle(a, b, c);
    if (g.corners == 4)
        omega += Triangle_Solid_Angle(a, c, g.p[3] - P);
    return -omega / kFourPi;
}

double Source_Potential(const PanelGeometry& g, const Vec3& P, double farField)
{
    const Vec3 rc = P - g.centre;
    const double dist = norm(rc);
    if (dist > farField * g.diameter)
        return -g.area / (kFourPi * dist);

    // Over a flat polygon, integral of 1/r = sum over the edges of
    // d ln((r1 + r2 + l) / (r1 + r2 - l)) - |h| Omega, with d the distance
    // of P's foot from the edge line (positive inside), r1, r2 the distances
    // from P to the edge's ends, l its length, h the height of P above the
    // plane and Omega the polygon's solid angle.
    const double h = dot(rc, g.normal);
    double sum = 0;
    for (int k = 0; k < g.corners; ++k) {
        const Vec3& A = g.flat[k];
        const Vec3& B = g.flat[(k + 1) % g.corners];
        const Vec3 edge = B - A;
        const double l = norm(edge);
        if (l <= 1e-14 * g.diameter)
            continue; // a corner given twice, as at a pole
        const Vec3 outward = cross(edge / l, g.normal);
        const double d = dot(A - P, outward);
        const double r1 = norm(A - P), r2 = norm(B - P);
        const double below = r1 + r2 - l;
        if (below <= 1e-14 * l)
            continue; // P on the edge itself: d is 0
        sum += d * std::log((r1 + r2 + l) / below);
    }
    if (h != 0) {
        double omega = Triangle_Solid_Angle(g.flat[0] - P, g.flat[1] - P, g.flat[2] - P);
        if (g.corners == 4)
            omega += Triangle_Solid_Angle(g.flat[0] - P, g.flat[2] - P, g.flat[3] - P);
        sum -= std::fabs(h) * std::fabs(omega);
    }
    return -sum / kFourPi;
}

} // namespace panelsolver
