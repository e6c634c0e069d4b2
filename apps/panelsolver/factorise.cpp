#include "apps/panelsolver/factorise.h"

#include <cblas.h>
#include <lapacke.h>
#include <omp.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace panelsolver {

namespace {

// Columns per block: wide enough that the update of the columns to the
// right runs near the speed of a plain matrix product, narrow enough that
// the first block, the heaviest, is a fair step of the whole.
constexpr int kBlock = 256;

} // namespace

int Factorise_LU(double* a, int n, int* pivots, const std::function<void(int)>& done)
{
    auto at = [a, n](int row, int col) { return a + static_cast<size_t>(col) * n + row; };
    const int threads = openblas_get_num_threads();
    int info = 0, told = -1;
    for (int k = 0; k < n; k += kBlock) {
        const int kb = std::min(kBlock, n - k), rest = n - k - kb;
        // The block's columns from the diagonal down, with their pivots, in
        // one thread: split over several, the narrow column block spends
        // most of its time waiting for them (many times longer on a busy
        // machine).
        openblas_set_num_threads(1);
        const int panel = LAPACKE_dgetrf_work(LAPACK_COL_MAJOR, n - k, kb, at(k, k), n, pivots + k);
        openblas_set_num_threads(threads);
        if (panel < 0)
            return panel;
        if (panel > 0 && info == 0)
            info = panel + k;
        for (int q = k; q < k + kb; ++q)
            pivots[q] += k;
        // Its row interchanges on the columns either side.
        if (k > 0)
            LAPACKE_dlaswp_work(LAPACK_COL_MAJOR, k, a, n, k + 1, k + kb, pivots, 1);
        if (rest > 0) {
            LAPACKE_dlaswp_work(LAPACK_COL_MAJOR, rest, at(0, k + kb), n, k + 1, k + kb, pivots, 1);
            // U of the block's rows, then the rest of the matrix less L U.
            cblas_dtrsm(CblasColMajor, CblasLeft, CblasLower, CblasNoTrans, CblasUnit, kb, rest, 1.0, at(k, k), n,
                        at(k, k + kb), n);
            cblas_dgemm(CblasColMajor, CblasNoTrans, CblasNoTrans, rest, rest, kb, -1.0, at(k + kb, k), n,
                        at(k, k + kb), n, 1.0, at(k + kb, k + kb), n);
        }
        if (done) {
            const double left = double(rest) / n;
            const int percent = static_cast<int>(std::floor(100.0 * (1.0 - left * left * left)));
            if (percent != told)
                done(told = percent);
        }
    }
    return info;
}

int Free_Cores(int cores, double load, int wanted)
{
    const double spare = std::isfinite(load) ? cores - load : cores;
    const int half = (cores + 1) / 2;
    const int free = std::max(half, static_cast<int>(std::lround(std::max(1.0, spare))));
    return std::max(1, std::min(free, wanted));
}

int Use_Free_Cores()
{
    int cores = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
    cpu_set_t mine;
    if (sched_getaffinity(0, sizeof mine, &mine) == 0)
        cores = std::min(cores, CPU_COUNT(&mine));
    double load = 0;
    if (getloadavg(&load, 1) != 1)
        load = 0;
    const int assembly = Free_Cores(cores, load, omp_get_max_threads());
    const int algebra = Free_Cores(cores, load, openblas_get_num_threads());
    omp_set_num_threads(assembly);
    openblas_set_num_threads(algebra);
    return std::max(assembly, algebra);
}

} // namespace panelsolver
