// splinora's spline file ".spl", and the curve the editor draws from an
// accepted one.

#include <cmath>

#include "apps/splinora/myopenfile.h"
#include "tests/fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (fuzz::quietQt(), true);
    (void)ready;
    fuzz::Input input(data, size);
    splinora::SplineFoil spline;
    const splinora::SplineFoil before = spline;
    if (!splinora::Read_Spline_Device(input.device(), &spline)) {
        FUZZ_REQUIRE(spline.num_pnt == before.num_pnt && spline.num_knt == before.num_knt);
        return 0;
    }
    const QPolygonF curve = spline.make_SplinePoly();
    (void)splinora::Airfoil_Table_PanelText(curve);
    return 0;
}
