#pragma once

// The nose reinforcements as the mini-rib editor shows them on rib 1: the
// mylar in-spline (five inner points) and the upper and lower rods (four
// each). Each curve has two ends and a reference point on the airfoil, and
// keeps its inner points as (lambda, mu) pairs against them (reinforce.h),
// so that moving an end through its slider carries the inner points along.
//
// Points are in chord units with y turned downward (upper surface on top
// of the screen). Record fields: minirib.mylarStart / mylarEnd (mylar
// extents), minirib.mylarSplineA / mylarSplineB (its lambdas and mus),
// rod1 / rod2 (upper and lower rod: index[0] and index[1] the extents
// before and after; the pairs as the rib unfolding keeps them,
// Rod_Shape_Pair).

#include <QList>
#include <QPointF>

class ParaStruct;

struct ReinforceCurve {
    QPointF first;          // P0
    QPointF reference;      // P1
    QPointF second;         // P2
    QList<QPointF> points;  // inner control points
    QList<QPointF> pairs;   // their (lambda, mu)
};

// The curves from the record. The mylar and the upper rod hold lambda within
// [0.001, 0.999] and mu within [0.1, 3.0]; the lower rod takes its pairs as
// stored. A design without an airfoil on rib 1 gives curves without points.
ReinforceCurve Mylar_Curve(const ParaStruct* design);
ReinforceCurve Upper_Rod_Curve(const ParaStruct* design);
ReinforceCurve Lower_Rod_Curve(const ParaStruct* design);

// The lower rod's reference index on rib 1: midway between rows O2 and A.
int Lower_Rod_Centre(const ParaStruct* design);

// Inner point k (1-based) at lambda 0.15 k on the chord P0 -> P2 (mu 1).
void Reset_Curve(ReinforceCurve* curve);

// Moves inner point k by delta and renews its pair from its new place.
void Move_Curve_Point(ReinforceCurve* curve, int k, QPointF delta);

// The working pairs into the record.
void Store_Mylar(ParaStruct* design, const ReinforceCurve& curve);
void Store_Upper_Rod(ParaStruct* design, const ReinforceCurve& curve);
void Store_Lower_Rod(ParaStruct* design, const ReinforceCurve& curve);
