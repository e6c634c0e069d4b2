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

// The cores this process may run on that other work leaves free: `cores`
// less the load average, rounded, at least 1 and no more than `wanted`. A
// machine busy with other work runs the dense algebra slower with more
// threads than it has cores to spare.
int Free_Cores(int cores, double load, int wanted);

// Caps the threads of the assembly (OpenMP) and of the factorisation
// (OpenBLAS) at the cores this machine has free now, never above what the
// environment set for either, and returns the larger cap.
int Use_Free_Cores();

} // namespace panelsolver
