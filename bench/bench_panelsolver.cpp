// Times the panel solver on meshes of the default design's size: 34 cells
// with a centre rib and the 41 chordwise stations the main program takes for
// a nose at point 500, as the smooth model (one row per rib, 35 rows) and
// the inflated model (four strips per cell, 137 rows), 13 cases each. Prints
// the panels, the time of each phase and the total, and the lift of a few
// cases as a check.
//
//   bench_panelsolver [FILE.inp ...]   (files instead of the generated meshes)

#include "apps/panelsolver/panelsolver.h"
#include "apps/panelsolver/solverinput.h"
#include "apps/panelsolver/solverresults.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace panelsolver;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Point i of a 1000-point airfoil (unit chord): trailing edge at 0 and 999,
// over the upper side to the nose at 500 and back along the lower side; a
// 15 % thick section with 3 % camber.
void airfoilPoint(int i, double* x, double* z)
{
    const bool upper = i <= 500;
    const double u = upper ? 0.5 * (1 + std::cos(kPi * i / 500.0)) : 0.5 * (1 - std::cos(kPi * (i - 500) / 499.0));
    const double t = 0.75 * (0.2969 * std::sqrt(u) - 0.1260 * u - 0.3516 * u * u + 0.2843 * u * u * u
                             - 0.1036 * u * u * u * u);
    const double camber = u < 0.35 ? 0.03 / (0.35 * 0.35) * (0.7 * u - u * u)
                                   : 0.03 / (0.65 * 0.65) * (0.3 + 0.7 * u - u * u);
    *x = u;
    *z = camber + (upper ? t : -t);
}

// The stations the main program takes for a nose at point 500, then the
// point of the lower side that mirrors station 1.
std::vector<int> stations()
{
    std::vector<int> s = {0,   50,  120, 163, 196, 225, 250, 273, 294, 314, 332, 350, 367, 383,
                          398, 413, 427, 441, 454, 467, 480, 492, 500, 507, 513, 522, 533, 547,
                          563, 581, 601, 624, 649, 677, 706, 739, 773, 810, 848, 890};
    double x1, z1;
    airfoilPoint(s[1], &x1, &z1);
    int best = 900;
    for (int k = 900; k < 1000; ++k) {
        double x, z, xb, zb;
        airfoilPoint(k, &x, &z);
        airfoilPoint(best, &xb, &zb);
        const double d1 = std::hypot(1 - x1, z1);
        if (std::fabs(std::hypot(1 - x, z) - d1) < std::fabs(std::hypot(1 - xb, zb) - d1))
            best = k;
    }
    s.push_back(best);
    return s;
}

// A paraglider-like canopy: 34 cells over a flat span of 13.6 m bent into an
// arc, elliptic chords from 2.7 m, rows at the ribs or also at the quarter
// points of every cell. Nodes, surface panels and wake panels numbered as the
// main program numbers them.
SolverInput canopy(int rowsPerCell)
{
    const int cells = 34;
    const double flatSpan = 13.6, rootChord = 2.7, arcRadius = 8.0;
    const std::vector<int> st = stations();
    const int J = static_cast<int>(st.size()) - 1;
    const int R = cells * rowsPerCell; // last row index
    SolverInput in;
    in.airspeed = 11.111111;
    for (int c = 0; c < 13; ++c) {
        in.alpha.push_back(c);
        in.beta.push_back(0);
    }
    std::vector<std::vector<Vec3>> grid(R + 1);
    std::vector<double> chords(R + 1);
    double area = 0;
    for (int i = 0; i <= R; ++i) {
        const double s = flatSpan * (double(i) / R - 0.5); // along the arc
        const double e = 2 * s / flatSpan;
        const double chord = chords[i] = rootChord * std::sqrt(1 - 0.85 * e * e);
        const double phi = s / arcRadius;
        const Vec3 lead(0.3 * (rootChord - chord), arcRadius * std::sin(phi), arcRadius * (std::cos(phi) - 1));
        const Vec3 up(0, std::sin(phi), std::cos(phi)); // normal to the arc
        for (int j = 0; j <= J; ++j) {
            double x, z;
            airfoilPoint(st[j], &x, &z);
            grid[i].push_back(lead + Vec3(chord * x, 0, 0) + up * (chord * z));
        }
        if (i > 0)
            area += 0.5 * (chords[i - 1] + chord) * flatSpan / R;
    }
    in.span = flatSpan;
    in.surface = area;
    in.mac = area / flatSpan;
    for (int i = 0; i <= R; ++i)
        for (int j = 0; j <= J; ++j)
            in.nodes.push_back(grid[i][j]);
    const int S = static_cast<int>(in.nodes.size());
    for (int i = 0; i <= R; ++i) {
        const Vec3 T = grid[i][0], M = (grid[i][5] + grid[i][J - 6]) * 0.5;
        const Vec3 d = (T - M) / norm(T - M);
        in.nodes.push_back(T + d * (3 * in.mac));
    }
    auto panel = [J, R](int i, int j) { return (j < 0 || j > J || i < 0 || i > R - 1) ? 0 : i * (J + 1) + j + 1; };
    for (int i = 0; i < R; ++i)
        for (int j = 0; j <= J; ++j) {
            InputPanel p;
            const int jn = j < J ? j + 1 : 0;
            const int nodes[4] = {i * (J + 1) + j + 1, (i + 1) * (J + 1) + j + 1, (i + 1) * (J + 1) + jn + 1,
                                  i * (J + 1) + jn + 1};
            int used = 0;
            for (int nb : {panel(i, j - 1), panel(i + 1, j), panel(i, j + 1), panel(i - 1, j)})
                if (nb)
                    p.neighbours[used++] = nb;
            for (int c = 0; c < 4; ++c)
                p.nodes[c] = nodes[c];
            in.panels.push_back(p);
        }
    for (int i = 0; i < R; ++i) {
        InputPanel w;
        w.type = kWakeQuad;
        const int nodes[4] = {(i + 1) * (J + 1) + 1, i * (J + 1) + 1, S + 1 + i, S + 2 + i};
        for (int c = 0; c < 4; ++c)
            w.nodes[c] = nodes[c];
        w.neighbours[0] = i * (J + 1) + 1;
        w.neighbours[1] = i * (J + 1) + J + 1;
        in.panels.push_back(w);
    }
    return in;
}

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

bool bench(const std::string& name, const SolverInput& in)
{
    SolverResult res;
    SolverTimes t;
    std::string why, text;
    const auto start = std::chrono::steady_clock::now();
    if (!Solve_Cases(in, &res, &why, nullptr, &t) || !Format_Solver_Results(in, res, &text, &why)) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), why.c_str());
        return false;
    }
    const double total = seconds(start);
    std::printf("%-10s %7zu %6zu %9.2f %9.2f %9.2f %9.2f %9.2f   %.4f %.4f %.4f\n", name.c_str(), res.surface.size(),
                in.panels.size() - res.surface.size(), t.assembly / 1e3, t.factorisation / 1e3,
                t.solution / 1e3, (t.geometry + t.velocities) / 1e3, total, res.cases[0].clift,
                res.cases[6].clift, res.cases[12].clift);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::printf("%-10s %7s %6s %9s %9s %9s %9s %9s   %s\n", "mesh", "panels", "wake", "assembly", "factor",
                "solve", "other", "total s", "CLIFT at 0, 6, 12 deg");
    bool ok = true;
    if (argc > 1) {
        for (int k = 1; k < argc; ++k) {
            SolverInput in;
            std::string why;
            const auto start = std::chrono::steady_clock::now();
            if (!Read_Solver_Input(argv[k], &in, &why)) {
                std::fprintf(stderr, "%s: %s\n", argv[k], why.c_str());
                ok = false;
                continue;
            }
            std::printf("(read in %.2f s)\n", seconds(start));
            ok = bench(argv[k], in) && ok;
        }
        return ok ? 0 : 1;
    }
    ok = bench("smooth", canopy(1)) && ok;
    ok = bench("inflated", canopy(4)) && ok;
    return ok ? 0 : 1;
}
