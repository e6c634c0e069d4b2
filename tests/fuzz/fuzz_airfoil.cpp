// Airfoil coordinate files as every program reads them: the layout scan and
// the three readers, then the whole import to the standard airfoil.

#include <cmath>

#include "core/airfoil.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/fuzz/tempinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (fuzz::quietQt(), true);
    static fuzz::TempInput file(QStringLiteral(".dat"));
    (void)ready;
    const QString path = file.write(data, size);
    for (AirfoilReader variant : {AirfoilReader::Main, AirfoilReader::Aerolyx, AirfoilReader::Splinora}) {
        const QPolygonF foil = Import_Airfoil_File(path, variant);
        for (const QPointF& p : foil)
            FUZZ_REQUIRE(std::isfinite(p.x()) && std::isfinite(p.y()));
        if (!foil.isEmpty())
            (void)FindThickness(foil);
    }
    return 0;
}
