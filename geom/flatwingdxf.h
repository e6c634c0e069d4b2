#pragma once

// The flat-shape drawing: the half wing's plan view at full scale with its
// ribs, leading and trailing edge, line rows and a header with the wing's
// figures, as a DXF sheet (sheet.h). The design must be current: the header
// gives its figures as the recompute left them.

#include <QFont>
#include <QPointF>

class ParaStruct;
class PieceSheet;

// The whole drawing on a sheet of the design's scale; size is the text size
// of the labels (the header uses twice that).
PieceSheet FlatWing_Sheet(const ParaStruct& design, const QFont& font, int size);

// Adds the whole drawing to the sheet.
void flatwing_write_dxf(PieceSheet* out, const ParaStruct& design, QFont font, int size);

// Adds the eight header lines, the first at position, each next one size
// units lower.
void write_header(PieceSheet* out, const ParaStruct& design, QPointF position, QFont font, int size);

// The file the flat-shape export writes into the project's output directory.
inline const char* FlatWingDxfFileName()
{
    return "flatwingshape.dxf";
}
