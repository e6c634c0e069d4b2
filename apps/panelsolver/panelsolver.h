#pragma once

// Low-order 3-D panel method: constant-strength sources and doublets on the
// surface panels, a zero perturbation potential inside the body (Dirichlet
// condition at the panel centres), and a flat wake sheet whose strength is
// the difference of the doublets of the two trailing-edge panels it leaves
// (the Kutta condition, folded into those panels' columns). One LU
// factorisation serves every case: the doublets are solved for unit onsets
// along x, y and z and combined per case. Surface velocities come from the
// surface gradient of the doublet strength, Cp = 1 - (v / V)^2, and forces
// and moments from the pressures over the panels.
//
// The wake leaves each trailing-edge segment a wake panel names straight
// downstream (along x, the free stream without incidence or sideslip) and
// without end; the wake nodes of the input play no part, so a wake drawn
// crossed, fanned or of any length gives the same flow. Which of its two
// trailing-edge panels lies on the wake's upper side is told from their
// normals at the edge.
//
// A mesh that is its own mirror image about the centre plane y = 0, with
// every case free of sideslip, has a flow that is too: each panel's doublet
// equals its mirror image's, and half the unknowns (half the rows, their
// columns summed in pairs) give the same solution for an eighth of the
// factorisation's work and a quarter of its memory.

#include "apps/panelsolver/solverinput.h"

#include <functional>
#include <string>
#include <vector>

namespace panelsolver {

struct CaseResult {
    double alpha = 0, beta = 0; // degrees, as given
    double cx = 0, cy = 0, cz = 0; // force / (q S), solver axes
    double cl = 0, cm = 0, cn = 0; // roll / (q S b), pitch / (q S MAC), yaw / (q S b)
    double cdrag = 0, clift = 0;   // wind axes, / (q S)
};

struct SolverResult {
    std::vector<Vec3> normals;    // one per input panel; outward on the surface
    std::vector<int> surface;     // input indexes of the surface panels, in input order
    std::vector<CaseResult> cases;
    std::vector<double> cp;       // surface panel k, case c at k * cases.size() + c
    std::vector<double> doublet;  // the same places: doublet strength per unit airspeed, m
    std::vector<int> wakeUpper;   // per wake panel in input order: the surface panel (an
    std::vector<int> wakeLower;   //   index of `surface`) on the wake's upper and lower side
    bool flipped = false;         // the mesh's panels faced inward and were turned
    int unknowns = 0;             // of the system solved: the surface panels, or fewer by symmetry
    bool mirrored = false;        // the mirror symmetry halved the system

    double pressure(int k, int c) const { return cp[static_cast<size_t>(k) * cases.size() + c]; }
    double strength(int k, int c) const { return doublet[static_cast<size_t>(k) * cases.size() + c]; }
};

struct SolverOptions {
    // Solve the half system when mesh and cases are mirror-symmetric; off,
    // the whole system is solved always.
    bool useSymmetry = true;
};

// Milliseconds spent in each phase.
struct SolverTimes {
    double geometry = 0, assembly = 0, factorisation = 0, solution = 0, velocities = 0;
};

// Told the phase and, during assembly and factorisation, the percentage
// done (of the phase's work, not of its time so far).
using SolverProgress = std::function<void(const std::string& phase, int percent)>;

// Solves every case of the input. False with a one-line reason when the input
// fails Check_Solver_Input, the machine lacks the memory for the matrix, or
// the system cannot be solved.
bool Solve_Cases(const SolverInput& in, SolverResult* out, std::string* why,
                 const SolverProgress& progress = nullptr, SolverTimes* times = nullptr,
                 const SolverOptions& options = SolverOptions());

} // namespace panelsolver
