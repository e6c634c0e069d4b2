// aerolyx's load of an airfoil file: reading, smoothing, the conformal map,
// and the figures its window shows right after.

#include "core/airfoil.h"
#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/flow.h"
#include "tests/fuzz/fuzzsupport.h"
#include "tests/fuzz/tempinput.h"

#include <cmath>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = (fuzz::quietQt(), true);
    static fuzz::TempInput file(QStringLiteral(".dat"));
    static unsigned inputs = 0;
    (void)ready;
    const QString path = file.write(data, size);

    // The smoothing the load starts with, for every input.
    const QPolygonF points = Read_All_AirfoilTypes(path, AirfoilReader::Aerolyx);
    bool finite = points.size() >= 3;
    for (const QPointF& q : points)
        finite = finite && std::isfinite(q.x()) && std::isfinite(q.y());
    if (finite) {
        const QPolygonF normal = aerolyx::Normalize_airfoil(aerolyx::Natur_Airfoil(aerolyx::kResamplePoints, points));
        if (!normal.isEmpty())
            (void)aerolyx::Finterpol(aerolyx::kFoilPoints, normal);
    }

    // The whole load runs a thousand mapping iterations, about a second
    // under the sanitizers: for the first input and then one in 128, so that
    // an input replayed on its own always takes it.
    if (inputs++ % 128 != 0)
        return 0;
    auto record = std::make_unique<aerolyx::myData>();
    QString why;
    if (!aerolyx::Load_Airfoil(record.get(), path, &why)) {
        FUZZ_REQUIRE(!why.isEmpty() && record->zeroFoil.isEmpty());
        return 0;
    }
    FUZZ_REQUIRE(record->workFoil.size() == aerolyx::kFoilPoints);
    (void)aerolyx::FindThickness(record->workFoil);
    (void)aerolyx::Circulation(record.get());
    return 0;
}
