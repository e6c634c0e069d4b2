#include "patterns/panelmanager.h"

#include "patterns/cellstrip.h"
#include "core/transf.h"
#include "patterns/patterngeom.h"

#include <algorithm>
#include <cmath>

void Whole_Panel_Pieces(ParaStruct* design, int cell, QList<WholePoly>* pieces)
{
    if (!pieces)
        return;
    pieces->clear();
    UnFolder strip;
    Unfold_ZERO_Longpattern(design, cell, &strip);
    Generate_4Start_Polygons(design, cell, &strip, pieces);
    Order_Pieces(pieces);
}

void Set_Order_Keys(QList<WholePoly>* pieces)
{
    for (WholePoly& piece : *pieces) {
        if (piece.outline.isEmpty())
            continue;
        const QPolygonF flipped = turn_Y(SetPolylineFromList(piece));
        piece.orderKey = qRound(CenterPoly(&flipped).y());
    }
}

void Clean_List(QList<WholePoly>* pieces)
{
    QList<WholePoly> kept;
    kept.reserve(pieces->size());
    for (const WholePoly& piece : std::as_const(*pieces))
        if (std::abs(Poly_B_Square(SetPolylineFromList(piece))) > 0)
            kept.append(piece);
    *pieces = kept;
}

bool toAscending(const WholePoly& a, const WholePoly& b)
{
    return a.orderKey > b.orderKey;
}

void Order_Pieces(QList<WholePoly>* pieces)
{
    if (!pieces)
        return;
    Set_Order_Keys(pieces);
    Clean_List(pieces);
    // A stable sort: pieces of equal key come out the same every run.
    if (pieces->size() > 1)
        std::stable_sort(pieces->begin(), pieces->end(), toAscending);
}
