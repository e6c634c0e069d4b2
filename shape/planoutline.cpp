#include "shape/planoutline.h"

#include "core/parastruct.h"

#include <algorithm>
#include <cmath>

void Apply_PlanOutline(ParaStruct* design, const QPointF* controlPoints)
{
    if (!design || !controlPoints || design->ribAirfoils[0].isEmpty())
        return;
    design->SaveCanopyPos(controlPoints);
    design->WingTipGeometrySetup();
    design->Ribs_VirtualLineInd();
    design->Calculate_meta_Center(0.25);
    design->Calculate_Areas_Aspects();
}

void Plan_Points_At(const ParaStruct& design, QPointF origin, QPointF* points)
{
    design.GetCanopyPos(points);
    const QPointF d = origin - points[4];
    for (int i = 0; i < 8; ++i)
        points[i] += d;
}

double Min_Cell_Width(const ParaStruct& design)
{
    double smallest = 1000;
    for (int i = 1; i <= design.lastRib - 1 && i + 1 < kRibSlots; ++i)
        smallest = std::min(smallest, 100 * design.R_X(design.ribSpanPos[i + 1] - design.ribSpanPos[i]));
    return smallest;
}

double Centre_Chord(const ParaStruct& design, const QPointF* points)
{
    return 100 * design.R_X(std::fabs(points[4].y() - points[0].y()));
}

double Tip_Chord(const ParaStruct& design, const QPointF* points)
{
    return 100 * design.R_X(std::fabs(points[7].y() - points[3].y()));
}
