#include "structure/diagmodel.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/holefun.h"

void Diagonal_Model_Default(ParaStruct* d)
{
    constexpr double W = kModelWidth;
    constexpr double H = kModelHeight;
    // The height points lie a third of the way down from the top edge.
    const double height = (2.0 / 3.0) * (H / 20) + (1.0 / 3.0) * H;
    const QPointF points[12] = {{2 * W / 5, H},      {3 * W / 5, H},      {4 * W / 5, H / 20},
                                {3 * W / 5, H / 20}, {2 * W / 5, H / 20}, {W / 5, H / 20},
                                {2 * W / 5, height}, {3 * W / 5, height}, {2 * W / 5, H},
                                {3 * W / 5, H},      {0.9 * W, H / 20},   {0.1 * W, H / 20}};
    for (int i = 0; i < 12; ++i)
        d->diagModelPoints[i] = points[i];
    d->diagModelFlags[0] = true;
    d->diagModelFlags[1] = true;
}

void Move_Model_Height(ParaStruct* d, double dy)
{
    d->diagModelPoints[6].ry() += dy;
    d->diagModelPoints[7].ry() += dy;
}

bool Diagonal_Model_Apex(const ParaStruct* d, QPointF* apex)
{
    const QPointF* p = d->diagModelPoints;
    return IntersectLines(p[5], p[6], p[2], p[7], apex);
}

bool Store_Diagonal_Model(ParaStruct* d, int corner, int offsetMm, int count, QPointF* apex)
{
    QPointF x;
    const bool valid = Diagonal_Model_Apex(d, &x);
    if (valid)
        *apex = x;
    const QPointF* p = d->diagModelPoints;
    Triang& t = d->diagModelTriangle;
    t.corner[0] = p[2];
    t.corner[1] = p[5];
    t.corner[2] = *apex;
    t.outline = QPolygonF({t.corner[0], t.corner[1], t.corner[2]});
    t.holeCount = count;
    t.cornerCount = corner;
    t.offsetMm = offsetMm;
    t.cornerStep = Hole_Corner_Factor(corner);
    t.offset = Hole_Screen_Offset(d, offsetMm);
    d->diagModelPolys = valid ? Create_div_Triangles_opened(d, t) : QList<QPolygonF>();
    d->diagModelOutline[0] = p[0];
    d->diagModelOutline[1] = p[1];
    d->diagModelOutline[2] = p[2];
    d->diagModelOutline[3] = p[5];
    return valid;
}
