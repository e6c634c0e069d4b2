#include "shell/model/installhooks.h"

#include "airfoils/foilunfold.h"
#include "core/calcul3d.h"
#include "lines/linetree.h"
#include "structure/crossports.h"
#include "structure/diagonals.h"

void Install_Recompute_Hooks()
{
    Set_Rear_Range_Service(getRear_rearIndex);
    Set_Recompute_Hook(RecomputeHook::Diagonals, Generate_All_Diagonals);
    Set_Recompute_Hook(RecomputeHook::CrossPortOffsets, Refresh_Cross_Port_Offsets);
    Set_Recompute_Hook(RecomputeHook::LinePlan, Place_Line_Plan);
}
