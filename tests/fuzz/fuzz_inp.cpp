// The solver program's input "wings.inp": the parser and its checks, and,
// for an accepted mesh of a few dozen panels, the whole solve. A refused
// input always says why; an accepted one never makes the solver produce a
// number that is not finite.

#include "apps/panelsolver/panelsolver.h"
#include "apps/panelsolver/solverinput.h"
#include "tests/fuzz/fuzzsupport.h"

#include <cmath>
#include <string>

namespace {
constexpr size_t kMostPanelsSolved = 48;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    panelsolver::SolverInput in;
    std::string why;
    if (!panelsolver::Parse_Solver_Input(text, &in, &why)) {
        FUZZ_REQUIRE(!why.empty());
        return 0;
    }
    FUZZ_REQUIRE(panelsolver::Check_Solver_Input(in, &why));
    // A small mesh is solved too: a solve either fails with its reason or
    // gives finite numbers. The cost of a solve grows with the cube of the
    // panels; above a few dozen the fuzzer would spend its time solving
    // instead of reading.
    if (in.panels.size() > kMostPanelsSolved)
        return 0;
    panelsolver::SolverResult out;
    if (!panelsolver::Solve_Cases(in, &out, &why)) {
        FUZZ_REQUIRE(!why.empty());
        return 0;
    }
    for (const panelsolver::CaseResult& c : out.cases)
        FUZZ_REQUIRE(std::isfinite(c.clift) && std::isfinite(c.cdrag) && std::isfinite(c.cm));
    for (double cp : out.cp)
        FUZZ_REQUIRE(std::isfinite(cp));
    return 0;
}
