#pragma once

// Cell strips: the panel of a cell (the cloth between rib i and rib i + 1)
// developed into one flat strip, and its division along the chord into the
// start pieces "Up", "VN" and "Lw" that the design lines later cut further.
//
// The strip is the panel as it is cut: wider than the cell by the cloth
// half-oversize on either side (as the inflated cell's cloth runs from rib
// point to rib point), its edges the sewing lines. It is laid out from the
// two 3-D rib curves row by row: every edge step as long as the rib's (each
// edge is sewn to a rib of its own length), every row as long as the cloth
// across the cell, the steps leaving the row before at the angles they make
// with it on the cell. The seam allowance lies outside the edges. In the
// centre cell (odd cell count, cell 0) the left rib is the mirror image of
// rib 1.

#include "patterns/pieces.h"

#include <QList>
#include <QPair>
#include <QPointF>

class ParaStruct;

// One row of the strip laid out from the row before (pL, pR): the new left
// point eL from pL and the new right point eR from pR, the two `width`
// apart. The steps leave the row before at the angles a and b (from the
// direction pL -> pR, counter-clockwise), both turned outward (or inward) by
// the same angle until the row has its width; as far as they can turn when
// it cannot. The turn is the one 60 steps of bisection over the turns the
// steps can take find, each step laying the row out with the sines and
// cosines of its two angles.
QPair<QPointF, QPointF> Widened_Row(QPointF pL, QPointF pR, double eL, double eR, double a, double b, double width);

// Fills the strip of the cell with its mid-line and label line. A cell
// whose ribs are not both within the rib tables leaves the strip empty.
void Unfold_ZERO_Longpattern(const ParaStruct& design, int cell, UnFolder* strip);

// Replaces *pieces by the cell's start pieces, in order from the upper
// trailing edge: the strip must hold the developed strip of the cell.
void Generate_4Start_Polygons(const ParaStruct* design, int cell, const UnFolder* strip, QList<WholePoly>* pieces);

// The strip's mid-line (midpoints) and label line (a tenth of the way from
// the left edge to the right), over as many points as both edges have.
void Setup_Inter_Rib(UnFolder* strip);

// Boundary lists of start piece k, between split index k and k + 1 of the
// two ribs' split lists; o1 and o2 (rows O1 and O2 at the left rib) choose
// the cut allowances. Four empty lists for k beyond the last split.
LRTBclass Create_LRTB_Group(const ParaStruct* design, int cell, int k, const UnFolder* strip,
                            const QList<int>& leftSplits, const QList<int>& rightSplits, int o1, int o2);

// A straight cut from left point leftIndex to right point rightIndex in 256
// steps (257 points), into the group's bottom ('B') or top ('T').
void Insert_CutPoly(int cell, const UnFolder& strip, LRTBclass* group, int leftIndex, int rightIndex,
                    double allowance, char which, bool trailingEdge);

// A billow cut: the arc over the same two points, bulging away from the
// piece it bounds by the cell's share of the billow-line offset, resampled
// to 256 points equally spaced by arc length.
void Insert_BillowPoly(const ParaStruct* design, const UnFolder& strip, LRTBclass* group, int cell, int leftIndex,
                       int rightIndex, double allowance, bool centre, char which, bool trailingEdge);

// The split indexes of the cell's left (rib cell) and right (rib cell + 1)
// edge: 0, the billow line when it splits the upper surface, O1, O2 when it
// lies behind O1, sorted, then 999.
QList<int> Start_Split_Indexes(const ParaStruct* design, int cell, bool rightRib);
