#include "shell/shellservices.h"

#include "core/gslsetup.h"
#include "shell/model/installhooks.h"
#include "widgets/widgetinteraction.h"

void Install_Shell_Services()
{
    Gsl_Errors_Off();
    Install_Widget_Interaction();
    Install_Recompute_Hooks();
}
