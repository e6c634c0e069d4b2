#pragma once

// The solver's result file, "wings.res", as the main program reads it: each
// keyword on a line of its own, its values on the line after (a list of them
// on as many lines as it counts), every line starting with a blank so that
// the first value is the line's field 1, reals as "-1.23456789E+00" (never a
// lowercase e, never "nan" or "inf"). The keywords come in the order the
// main program searches for them, and no other line contains one.

#include "apps/panelsolver/panelsolver.h"
#include "apps/panelsolver/solverinput.h"

#include <string>

namespace panelsolver {

// The text of the result file. False, with the reason, when a value to be
// written is not a finite number.
bool Format_Solver_Results(const SolverInput& in, const SolverResult& res, std::string* text, std::string* why);

// Writes the text above to `path`, through a temporary file beside it so that
// a reader never meets a half-written file.
bool Write_Solver_Results(const std::string& path, const SolverInput& in, const SolverResult& res,
                          std::string* why);

} // namespace panelsolver
