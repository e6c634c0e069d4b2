#pragma once

// Whole numbers from computed coordinates. Converting a double beyond the
// range of int (or NaN) to int is undefined behaviour: a damaged design or a
// degenerate piece must not turn a sheet's layout into garbage or worse.

#include <cmath>

namespace wl {

// Far beyond any position on a sheet, in plan units or pixels, and far
// enough inside the int range that the sum of a few such values stays in it.
constexpr double kIntLimit = 1e9;

// x truncated toward zero as int(x) does, held within +-kIntLimit; NaN gives 0.
inline int Checked_Int(double x)
{
    if (std::isnan(x))
        return 0;
    if (x > kIntLimit)
        return int(kIntLimit);
    if (x < -kIntLimit)
        return -int(kIntLimit);
    return int(x);
}

// x rounded to the nearest whole number (halves away from zero), held as
// Checked_Int holds it.
inline int Checked_Round(double x)
{
    return Checked_Int(std::round(x));
}

} // namespace wl
