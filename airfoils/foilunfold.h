#pragma once

// Front and rear mini-ribs of a cell: their outlines in the middle of the
// cell (3-D, for the 3-D view) and flat (with their control marks, written
// into the design record for the rib patterns and the cross-port editors).

#include <QList>
#include <QVector3D>

class ParaStruct;

// Index range of the rear mini-rib of the cell that starts at rib r: it
// covers the upper side from the trailing edge up to *first and the lower
// side from *last to the trailing edge. Its depth is rearRibPosition percent
// of the rib's nose index. Writes nothing when the rib has no foil pairs.
void getRear_rearIndex(ParaStruct* design, int r, int* first, int* last);

// Front mini-rib of cell r: the points halfway between the two rib curves
// around the nose into out, their flat image into minirib.foils[0] and the
// control marks among them into minirib.foils[2].
void unfold_FrontFoil(ParaStruct* design, int r, QList<QVector3D>* out);

// Rear mini-rib of cell r: upper run, cavity curve and lower run on the
// middle row of the inflated cell into out; the flat outline into
// minirib.foils[3], its marks into minirib.foils[5] and their indexes into
// minirib.rearRibControls; the index range into rearFoilStart/rearFoilEnd.
void unfold_RearFoil(ParaStruct* design, int r, QList<QVector3D>* out);
