#pragma once

// What the program takes from the airfoil library and the geometry core.

#include "core/airfoil.h"
#include "core/transf.h"

namespace splinora {

// The program's copy of the layout-detecting airfoil reader.
inline QPolygonF airfoil_Read_All(const QString& path)
{
    return ::airfoil_Read_All(path, AirfoilReader::Splinora);
}

} // namespace splinora
