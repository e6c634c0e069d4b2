#pragma once

// Front and rear mini-ribs of a cell: their outlines in the middle of the
// cell (3-D, for the 3-D view) and flat (with their control marks, for the
// mini-rib sheets, the panel sheet and the cross-port editors).

#include <QList>
#include <QPolygonF>
#include <QVector3D>

class ParaStruct;

// A mini-rib laid flat in the frame of its cell: its outline and its control
// marks; a rear mini-rib also keeps the airfoil indexes of its marks (as many
// as it has marks, at most six) and the index range it covers (the upper
// side from the trailing edge up to `first`, the lower side from `last`).
struct MiniRibFlat {
    QPolygonF outline;
    QPolygonF marks;
    int controls[6]{};
    int first = 0;
    int last = 0;
};

// Index range of the rear mini-rib of the cell that starts at rib r: it
// covers the upper side from the trailing edge up to *first and the lower
// side from *last to the trailing edge. Its depth is rearRibPosition percent
// of the rib's nose index. Writes nothing when the rib has no foil pairs.
void getRear_rearIndex(const ParaStruct* design, int r, int* first, int* last);

// Front mini-rib of cell r: the points halfway between the two rib curves
// around the nose into out; their flat image and the control marks among
// them.
MiniRibFlat unfold_FrontFoil(const ParaStruct& design, int r, QList<QVector3D>* out);

// Rear mini-rib of cell r: upper run, cavity curve and lower run on the
// middle row of the inflated cell into out; the flat outline, its marks with
// their indexes and the index range (which a cell without rear mini-rib
// gets too: 0 .. 999 where the rib has no rear range).
MiniRibFlat unfold_RearFoil(const ParaStruct& design, int r, QList<QVector3D>* out);
