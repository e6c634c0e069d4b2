#pragma once

// The plan view of the half wing: the leading and trailing edge, each a
// cubic Bezier curve of four control points (planControlPoints 0-3 leading,
// 4-7 trailing edge, plan units: half span = 1000).

#include <QPointF>

class ParaStruct;

// Takes the eight control points into the design and brings what the plan
// editor shows up to date: the rib positions, chords and front view, the
// line indexes, the metacentre at a quarter chord and the area figures.
// A design without airfoils is left alone.
void Apply_PlanOutline(ParaStruct* design, const QPointF* controlPoints);

// The eight control points of the design moved as a whole so that point 4
// (the trailing edge at the centre) lies at `origin`.
void Plan_Points_At(const ParaStruct& design, QPointF origin, QPointF* points);

// The narrowest cell of the wing in centimetres, from rib 1 to the tip
// (the centre cell of an odd count is left out); 1000 for a wing without
// such a cell.
double Min_Cell_Width(const ParaStruct& design);

// Chord of the wing between the leading and trailing edge control points
// (0 and 4 at the centre, 3 and 7 at the tip) in centimetres.
double Centre_Chord(const ParaStruct& design, const QPointF* points);
double Tip_Chord(const ParaStruct& design, const QPointF* points);
