#include "recompute.h"
#include "parastruct.h"

#include <type_traits>

#if __has_include("calcul3d.h")
#include "calcul3d.h"
#define WL_HAVE_PIPELINE 1
#else
#define WL_HAVE_PIPELINE 0
#endif

namespace {
template <class T, class = void>
struct HasRepairAirfoils : std::false_type {};
template <class T>
struct HasRepairAirfoils<T, std::void_t<decltype(std::declval<T&>().Repair_Airfoils())>>
    : std::true_type {};

template <class T>
void repairAirfoils(T* design)
{
    if constexpr (HasRepairAirfoils<T>::value)
        design->Repair_Airfoils();
    else
        (void)design;
}
} // namespace

void Recompute_Design(ParaStruct* design)
{
#if WL_HAVE_PIPELINE
    Refresh_Calculations(design);
#else
    (void)design;
#endif
}

void Repair_Design_Airfoils(ParaStruct* design)
{
    repairAirfoils(design);
}
