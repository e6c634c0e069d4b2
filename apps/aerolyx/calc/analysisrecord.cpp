#include "apps/aerolyx/calc/analysisrecord.h"

#include <cmath>

namespace aerolyx {

myData* GetMyData()
{
    static myData* const record = new myData;
    return record;
}

double Effective_Angle(const myData* data)
{
    return M_PI * data->attackAngle / 180.0 - data->zeroLiftAngle;
}

} // namespace aerolyx
