#pragma once

// Line loads and line totals. A load is spread from a tree's top line down to
// every line by the statics of each branching node and kept in the line's
// LineProp::load (kilograms of one wing half). The totals of the whole line
// plan (length and frontal area of both halves) enter the drag of the glide
// polar.

#include <QList>
#include <QPolygon>
#include <QVector3D>

#include "core/bridledata.h"

class ParaStruct;

// A line group's load share is the part of the flying weight its riser
// carries: a number from 0 to 1. Anything else (negative, above the whole
// weight, not a number) would break the riser placement and every load below.
bool Group_Share_Valid(double share);

// lineGroupLoads from lineGroupShares and lineGroupCount: 4 groups take the
// shares as they are, 3 put L4's share on L3, 2 put L3's and L4's on L2.
void SetUpLineGrupLoadings(ParaStruct* design);

// Tensions T[0..n-1] of the n lines with unit directions d that leave a node
// loaded with F along the unit direction u; their vector sum has length F.
// A line at right angles to u, or without direction, cannot take a share:
// it gets 0 and the others share F. Returns the number of such lines.
int Calc_Loading(int n, QVector3D u, double F, const QVector3D* d, double* T);

// Spreads F from line j downward. Mode 2 stores F as line j's load and splits
// it at the line's child end; mode 1 (a line group's top) stores nothing and
// splits it among all lines leaving line j's parent end. Returns the number of
// nodes where a load could not be shared out (their loads are 0 below).
int Loading_Walk(int j, double F, QList<LineProp>* lines, const QPolygon* pairs, const QPolygon* points,
                 int mode);

// The lines of both halves together, from the stored lines of the six group
// slots (not the riser tree): the sum of each line's 3-D length in metres and
// the sum of length x diameter (its frontal area, m2), doubled.
struct LineTotals {
    double length = 0.0;
    double area = 0.0;
};
LineTotals Line_Totals(const ParaStruct* design);

// What the glide polar counts of the lines (its totalLineLength and
// ropesArea): the totals above while the analysis counts the lines
// (withBridleData), none while it leaves them out.
LineTotals getTotalBridleLength(const ParaStruct& design, bool withBridleData);
