#pragma once

// The LU factorisation of the solver's dense system, block by block so that
// the user hears how far it has come: on a mesh of a few thousand panels it
// is most of the run.

#include <functional>

namespace panelsolver {

// Factorises the n x n matrix a (column-major, leading dimension n) in place
// with partial pivoting, leaving what LAPACK's dgetrf leaves (unit lower L
// below the diagonal, U on and above it, row interchanges in pivots counted
// from 1), so that dgetrs solves with it. After each block of columns `done`
// is told the share of the work finished, in percent (the work of the
// columns left shrinks with the cube of their number). Returns dgetrf's
// info: 0, or the first zero pivot counted from 1.
int Factorise_LU(double* a, int n, int* pivots, const std::function<void(int percent)>& done = nullptr);

// The threads for this process: the cores that other work leaves free
// (`cores` less the load average, rounded), but never fewer than half of
// the cores (rounded up), and no more than `wanted`; at least 1. More
// threads than cores to spare slow the dense algebra down a little; one
// thread on a busy machine slows it down three times: the load average
// counts work that comes and goes, and the solver competes for the cores
// as well as any program does.
int Free_Cores(int cores, double load, int wanted);

// Sets the threads of the assembly (OpenMP) and of the factorisation
// (OpenBLAS) by Free_Cores for this machine's cores and its load now, never
// above what the environment set for either, and returns the larger count.
int Use_Free_Cores();

} // namespace panelsolver
