#pragma once

// The recompute pipeline: brings every derived member of the design record up
// to date after an edit. The wing outline, the rib airfoils, the foil pairs
// and the line attachment indexes are member functions of ParaStruct
// (declared in parastruct.h, defined in calcul3d.cpp).

#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>

class ParaStruct;

// What one run of the recompute takes besides the design.
struct RecomputeParams {
    // The twist the wing is built with, in degrees; the design's own
    // (maxTwistAngle) when empty. The structure editors lay their ribs flat
    // from a wing built without twist, while the design keeps the twist the
    // user set.
    std::optional<double> twist;
};

// Runs the fifteen steps of the recompute, always in this order:
//  1 WingTipGeometrySetup      9 Space_Canopy_Flat
//  2 Ribs_VirtualLineInd      10 Space_Canopy_Inflated
//  3 CalculateResLines        11 Generate_All_Diagonals
//  4 Create_FoilPairList      12 Refresh_Cross_Port_Offsets
//  5 Calculate_meta_Center    13 SetPUPDW
//  6 Calculate_Areas_Aspects  14 Fill_Airfoil_Arclen
//  7 Setup_Wing_Airfoils      15 Place_Line_Plan
//  8 Create_Space_Canopy
// Steps 2 to 4 use the rib airfoils of the previous run; step 7 renews them.
// Steps 1 and 8 read the twist. Step 15 comes last: the lines hang from
// everything the others compute.
// Problems are reported at most once per run through the user notifier.
// A run whose pipeline lacks a step of a later subsystem (see below) throws
// MissingRecomputeStep before any step runs.
void Refresh_Calculations(ParaStruct* design);
void Refresh_Calculations(ParaStruct* design, const RecomputeParams& params);

// Steps 11 and 12 belong to the internal structure, step 15 to the
// suspension lines, which the core does not link: each is a hook, a plain
// function on the design record, that the start-up installs
// (Install_Recompute_Hooks, shell/model/installhooks.h) together with the
// rear range service below.
enum class RecomputeHook {
    Diagonals,        // step 11: Generate_All_Diagonals
    CrossPortOffsets, // step 12: Refresh_Cross_Port_Offsets
    LinePlan,         // step 15: Place_Line_Plan
};
using RecomputeStep = void (*)(ParaStruct*);

// Installs (or, with nullptr, removes) the function of one hook; returns the
// one it replaces.
RecomputeStep Set_Recompute_Hook(RecomputeHook hook, RecomputeStep step);
RecomputeStep Recompute_Hook(RecomputeHook hook);

// A recompute without a step would leave that part of the design as it
// was, saved and exported without a word: it is refused instead. The
// message names what is missing.
class MissingRecomputeStep : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

// What is not installed: the hooked steps by the names the trace gives
// them, the rear range service as Rear_Range; empty while the pipeline is
// whole.
QStringList Missing_Recompute_Steps();

// The one service of a later subsystem the canopy code calls: the rear
// mini-rib index range of a rib (the airfoil library's mini-rib unfolding),
// which the inflated grid uses for cells with a rear mini-rib. Installed at
// start-up with the hooks; a recompute refuses to run without it. Called
// outside a recompute before it is installed, a rib has no rear range and
// the grid keeps its default (0, 1000).
using RearRangeService = void (*)(const ParaStruct* design, int rib, int* first, int* last);
RearRangeService Set_Rear_Range_Service(RearRangeService service);
void Rear_Range(const ParaStruct* design, int rib, int* first, int* last);

// Optional observer of the pipeline: called with each step's name just
// before the step runs. Returns the observer it replaces; an empty function
// removes it.
using RecomputeTrace = std::function<void(const char* step)>;
RecomputeTrace Set_Recompute_Trace(RecomputeTrace trace);

// Tilt of a rib for its plane in the 3-D wing and for unfolding, in
// radians: -atan(ribAngle / 2) when the design tilts its ribs (ribTilt > 0),
// 0 for the last rib, for untilted designs and for slots outside the tables.
double f_slashangle(const ParaStruct* design, int rib);
