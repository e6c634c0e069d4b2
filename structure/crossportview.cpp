#include "structure/crossportview.h"

#include "core/airfoil.h"
#include "core/parastruct.h"
#include "structure/crossports.h"
#include "structure/holefun.h"

namespace {

constexpr int kTriangleSlots = 11;
constexpr int kTrapSlots = 16;

bool validGroup(int group)
{
    return group >= 0 && group < 4;
}

} // namespace

bool Cross_Port_Triangles(int group)
{
    return group == 0 || group == 1;
}

int Cross_Port_Shape_Count(int group)
{
    if (!validGroup(group))
        return 0;
    return Cross_Port_Triangles(group) ? kTriangleSlots : kTrapSlots;
}

QPolygonF Cross_Port_Inner_Outline(const ParaStruct* d, int rib, double scale)
{
    if (rib < 0 || rib >= kAirfoilSlots || d->ribAirfoils[rib].isEmpty() || !(scale > 0))
        return {};
    const QPolygonF& foil = d->ribAirfoils[rib];
    const double offset = d->ToScreen(d->holeEdgeFactor * 0.001) / scale;
    QPolygonF inner = Poly_Uncross(init_Work_Airfoil(Poly_Off(offset, foil), scale));
    return Interpolated_poly(int(foil.size()), &inner);
}

QList<QPolygonF> Cross_Port_Group_Holes(const ParaStruct* d, const HoleLayout& layout, int group)
{
    QList<QPolygonF> holes;
    const int n = Cross_Port_Shape_Count(group);
    for (int i = 0; i < n; ++i) {
        if (Cross_Port_Triangles(group))
            holes += Create_div_Triangles(d, layout.baseTriangles[i], false);
        else
            holes += Create_div_Trapez(d, layout.baseTraps[i], false);
    }
    return holes;
}

QPolygonF Cross_Port_Shape_Outline(const ParaStruct* d, int group, int slot)
{
    if (slot < 0 || slot >= Cross_Port_Shape_Count(group))
        return {};
    if (Cross_Port_Triangles(group)) {
        const Triang& t = d->crossPorts[group].triangles[slot];
        return QPolygonF({t.corner[0], t.corner[1], t.corner[2]});
    }
    const Trap& t = d->crossPorts[group].traps[slot];
    return QPolygonF({t.corner[0], t.corner[1], t.corner[2], t.corner[3]});
}

int Cross_Port_Shape_At(const ParaStruct* d, int group, QPointF p)
{
    const int n = Cross_Port_Shape_Count(group);
    for (int i = 0; i < n; ++i)
        if (Cross_Port_Shape_Outline(d, group, i).containsPoint(p, Qt::OddEvenFill))
            return i;
    return -1;
}

double Solid_Area_Percent(const QPolygonF& foil, const QList<QPolygonF>& holes)
{
    const double foilArea = poly_area(int(foil.size()), foil);
    if (foilArea == 0)
        return 0;
    double holesArea = 0;
    for (const QPolygonF& h : holes)
        holesArea += poly_area(int(h.size()), h);
    return 100 * (foilArea - holesArea) / foilArea;
}
