#pragma once

// The solver's input: flow cases, reference values, solver settings and the
// panel mesh, as the main program writes them into "wings.inp".

#include "apps/panelsolver/vec3.h"

#include <string>
#include <vector>

namespace panelsolver {

enum PanelType { kSurfaceQuad = 1, kSurfaceTriangle = 2, kWakeQuad = 10 };

struct InputPanel {
    int type = kSurfaceQuad;
    int nodes[4] = {0, 0, 0, 0};      // node numbers from 1; a triangle uses three
    int neighbours[4] = {0, 0, 0, 0}; // panel numbers from 1, 0 for none

    int cornerCount() const { return type == kSurfaceTriangle ? 3 : 4; }
    bool isWake() const { return type == kWakeQuad; }
};

struct SolverInput {
    double airspeed = 0;       // m/s
    double density = 1.225;    // kg/m3
    double pressure = 101325;  // Pa
    double mach = 0;           // 0: no compressibility correction
    std::vector<double> alpha; // angle of attack of each case, degrees
    std::vector<double> beta;  // sideslip of each case, degrees
    double span = 0;           // m, reference for the roll and yaw moments
    double mac = 0;            // m, reference for the pitching moment
    double surface = 0;        // m2, reference for every coefficient
    Vec3 origin;               // m, moment reference point
    int method = 0;            // 0: constant source/doublet
    double error = 1e-7;
    double collDist = 1e-7;    // m, depth of the collocation points
    double farField = 5;       // panel diameters beyond which a panel acts as a point
    int collCalc = 0;
    int velOrder = 2;          // 2: second order surface velocities, otherwise first
    bool writeResults = true;  // RESULTS 0 asks for no result file
    std::vector<Vec3> nodes;
    std::vector<InputPanel> panels;
};

// Parses and checks the text of an input file. False, with a one-line reason
// that names the line where one applies, when the text is not a complete and
// valid input; `in` is then unspecified.
bool Parse_Solver_Input(const std::string& text, SolverInput* in, std::string* why);

// Reads the file at `path` and parses it as above.
bool Read_Solver_Input(const std::string& path, SolverInput* in, std::string* why);

// The checks the parser applies to what it read: settings within what the
// solver supports, positive reference values, every panel naming nodes and
// neighbours that exist, no surface panel without area, every wake panel
// leaving two surface panels along a trailing-edge segment (its first two
// nodes) that lies across the flow. Exposed for inputs built in memory.
bool Check_Solver_Input(const SolverInput& in, std::string* why);

} // namespace panelsolver
