// The panel-method solver the main program starts as "./apame_lnx32 CASE":
// reads CASE.inp, solves every flow case of it, writes CASE.res. Progress
// goes to standard error line by line ("assembly 40 %", "factorisation
// 62 %"); a failure ends with exit code 1 and a one-line reason there.

#include "apps/panelsolver/factorise.h"
#include "apps/panelsolver/panelsolver.h"
#include "apps/panelsolver/solverinput.h"
#include "apps/panelsolver/solverresults.h"

#include <cstdio>
#include <exception>
#include <string>

using namespace panelsolver;

namespace {

int failWith(const std::string& resultPath, const std::string& reason)
{
    // A result file left from an earlier run would be read as the answer to
    // this input.
    std::remove(resultPath.c_str());
    std::fprintf(stderr, "apame_lnx32: %s\n", reason.c_str());
    return 1;
}

int run(const std::string& base)
{
    const std::string inputPath = base + ".inp", resultPath = base + ".res";
    SolverInput in;
    std::string why;
    if (!Read_Solver_Input(inputPath, &in, &why))
        return failWith(resultPath, inputPath + ": " + why);

    const size_t wakes = [&in] {
        size_t w = 0;
        for (const InputPanel& p : in.panels)
            w += p.isWake() ? 1 : 0;
        return w;
    }();
    const int threads = Use_Free_Cores();
    std::fprintf(stderr, "%zu surface panels, %zu wake panels, %zu cases, %d thread%s\n", in.panels.size() - wakes,
                 wakes, in.alpha.size(), threads, threads == 1 ? "" : "s");
    auto progress = [](const std::string& phase, int percent) {
        if (phase == "assembly" || phase == "factorisation")
            std::fprintf(stderr, "%s %d %%\n", phase.c_str(), percent);
        else
            std::fprintf(stderr, "%s\n", phase.c_str());
        std::fflush(stderr);
    };
    SolverResult res;
    if (!Solve_Cases(in, &res, &why, progress))
        return failWith(resultPath, why);
    if (res.mirrored)
        std::fprintf(stderr, "mirror-symmetric: %d unknowns for %zu surface panels\n", res.unknowns,
                     res.surface.size());
    if (!in.writeResults)
        return 0;
    if (!Write_Solver_Results(resultPath, in, res, &why))
        return failWith(resultPath, why);
    std::fprintf(stderr, "done\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: apame_lnx32 CASE (reads CASE.inp, writes CASE.res)\n");
        return 2;
    }
    try {
        return run(argv[1]);
    } catch (const std::bad_alloc&) {
        return failWith(std::string(argv[1]) + ".res", "not enough memory");
    } catch (const std::exception& e) {
        return failWith(std::string(argv[1]) + ".res", e.what());
    }
}
