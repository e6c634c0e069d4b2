#include "shell/model/installhooks.h"

#include "airfoils/foilunfold.h"
#include "core/calcul3d.h"

void Install_Recompute_Hooks()
{
    Set_Rear_Range_Service(getRear_rearIndex);
}
