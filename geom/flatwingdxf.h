#pragma once

// The flat-shape drawing: the half wing's plan view at full scale with its
// ribs, leading and trailing edge, line rows and a header with the wing's
// figures, drawn through the DXF writer (acad.h).

#include <QFont>
#include <QPointF>

class ParaStruct;

// Adds the whole drawing; size is the text size of the labels (the header
// uses twice that).
void flatwing_write_dxf(ParaStruct* design, QFont font, int size);

// Adds the eight header lines, the first at position, each next one size
// units lower.
void write_header(ParaStruct* design, QPointF position, QFont font, int size);

// The file the flat-shape export writes into the project's output directory.
inline const char* FlatWingDxfFileName()
{
    return "flatwingshape.dxf";
}
