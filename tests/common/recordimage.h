#pragma once

// The whole of a design record as bytes, to tell whether anything in it
// changed: the record's own bytes followed by the contents of its derived
// tables, which live outside it. Compare images of records whose padding is
// alike (the same record before and after, or records built alike).

#include <QByteArray>

#include "core/parastruct.h"

inline QByteArray recordImage(const ParaStruct& d)
{
    QByteArray image(reinterpret_cast<const char*>(&d), sizeof(ParaStruct));
    auto add = [&image](const auto& table) {
        image.append(reinterpret_cast<const char*>(&table.values()), qsizetype(sizeof(table.values())));
    };
    add(d.airfoilArcLen);
    add(d.ribCurves3D);
    add(d.flatGrid);
    add(d.inflatedGrid);
    add(d.meshGrid);
    add(d.patternOversize);
    add(d.clothHalfOversize);
    return image;
}
