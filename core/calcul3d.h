#pragma once

// The recompute pipeline: brings every derived member of the design record up
// to date after an edit. The wing outline, the rib airfoils, the foil pairs
// and the line attachment indexes are member functions of ParaStruct
// (declared in parastruct.h, defined in calcul3d.cpp).

#include <functional>

class ParaStruct;

// Runs the fourteen steps of the recompute, always in this order:
//  1 WingTipGeometrySetup      8 Create_Space_Canopy
//  2 Ribs_VirtualLineInd       9 Space_Canopy_Flat
//  3 CalculateResLines        10 Space_Canopy_Inflated
//  4 Create_FoilPairList      11 Generate_All_Diagonals
//  5 Calculate_meta_Center    12 SetPUPDW
//  6 Calculate_Areas_Aspects  13 Fill_Airfoil_Arclen
//  7 Setup_Wing_Airfoils      14 Place_Line_Plan
// Steps 2 to 4 use the rib airfoils of the previous run; step 7 renews them.
// Step 14 comes last: the lines hang from everything the others compute.
// Problems are reported at most once per run through the user notifier.
void Refresh_Calculations(ParaStruct* design);

// Steps 8 to 11 belong to the 3-D canopy and grid code and to the internal
// structure, step 14 to the suspension lines. Each is one hook: a plain
// function on the design record. Steps 8 to 10 start with
// Create_Space_Canopy, Space_Canopy_Flat and Space_Canopy_Inflated
// (canopy.h, cellgrid.h); steps 11 and 14 are empty (skipped) until the code
// that provides them installs them.
enum class RecomputeHook {
    SpaceCanopy,    // step 8:  Create_Space_Canopy
    FlatGrid,       // step 9:  Space_Canopy_Flat
    InflatedGrid,   // step 10: Space_Canopy_Inflated
    Diagonals,      // step 11: Generate_All_Diagonals
    LinePlan,       // step 14: Place_Line_Plan
};
using RecomputeStep = void (*)(ParaStruct*);

// Installs (or, with nullptr, removes) the function of one hook; returns the
// one it replaces.
RecomputeStep Set_Recompute_Hook(RecomputeHook hook, RecomputeStep step);
RecomputeStep Recompute_Hook(RecomputeHook hook);

// The one service of a later subsystem the canopy code calls: the rear
// mini-rib index range of a rib (the airfoil library's mini-rib unfolding),
// which the inflated grid uses for cells with a rear mini-rib. Installed at
// start-up with the hooks; until then a rib has no rear range and the grid
// keeps its default (0, 1000).
using RearRangeService = void (*)(const ParaStruct* design, int rib, int* first, int* last);
RearRangeService Set_Rear_Range_Service(RearRangeService service);
void Rear_Range(const ParaStruct* design, int rib, int* first, int* last);

// Optional observer of the pipeline: called with each step's name just
// before the step runs (hooked steps are named even while empty). Returns
// the observer it replaces; an empty function removes it.
using RecomputeTrace = std::function<void(const char* step)>;
RecomputeTrace Set_Recompute_Trace(RecomputeTrace trace);

// Tilt of a rib for its plane in the 3-D wing and for unfolding, in
// radians: -atan(ribAngle / 2) when the design tilts its ribs (ribTilt > 0),
// 0 for the last rib, for untilted designs and for slots outside the tables.
double f_slashangle(const ParaStruct* design, int rib);
