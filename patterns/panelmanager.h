#pragma once

// The panel pieces of one cell in the order the panel sheet numbers them:
// from the upper trailing edge over the nose to the lower trailing edge.

#include "patterns/pieces.h"

#include <QList>

class ParaStruct;

// The cell's whole panels: its strip developed and divided into its start
// pieces, keyed and ordered like every piece list of a cell. Replaces
// *pieces.
void Whole_Panel_Pieces(ParaStruct* design, int cell, QList<WholePoly>* pieces);

// Key of every piece with an outline: 500 - the mean y of its outline points
// (duplicates included), rounded half away from zero.
void Set_Order_Keys(QList<WholePoly>* pieces);

// Drops the pieces without area, keeping the order of the others.
void Clean_List(QList<WholePoly>* pieces);

// The sort order: greater key first, that is smaller mean y first.
bool toAscending(const WholePoly& a, const WholePoly& b);

// Keys, drops the pieces without area and sorts the rest. Pieces of equal
// key keep their order.
void Order_Pieces(QList<WholePoly>* pieces);
