#include "shell/glviewlists.h"
#include "patterns/straps.h"

#include "core/bridledata.h"
#include "core/parastruct.h"
#include "geom/patternfun.h"
#include "core/transf.h"
#include "structure/crossports.h"
#include "structure/diagshape.h"
#include "structure/holefun.h"

#include <algorithm>
#include <cmath>

namespace glview {

double Wheel_Zoom(double scale, int delta)
{
    const double step = double(0.15f);
    if (delta > 0)
        scale += step * scale;
    else
        scale -= step * scale;
    return dou_between(kMinScale, kMaxScale, scale);
}

} // namespace glview

using glview::kModelScale;

namespace {

constexpr int kSubRows = 8; // quads across a cell (9 grid sub-rows)

QVector3D scaled(const QVector3D& p)
{
    return p * float(kModelScale);
}

Quad6 makeQuad(const QVector3D& a, const QVector3D& b, const QVector3D& c, const QVector3D& d,
               const QColor& color)
{
    Quad6 q;
    q.c1 = scaled(a);
    q.c2 = scaled(b);
    q.c3 = scaled(c);
    q.c4 = scaled(d);
    q.normal = QVector3D::crossProduct(q.c1 - q.c3, q.c2 - q.c4);
    q.color = color;
    return q;
}

bool validCell(const ParaStruct* d, int cell)
{
    return d && cell >= 0 && cell < kRibSlots;
}

} // namespace

void addQuadsFlat(const ParaStruct* d, QList<Quad6>* list, int cell, int start, int count,
                  QColor canopy)
{
    if (!validCell(d, cell) || !list || start < 0 || start >= kAirfoilPoints)
        return;
    const QColor color = d->billowLineOnTop && is_between(d->billowLineIndex, d->lineIndex[0][cell], start)
                             ? QColor::fromRgbF(1.0f, 0.0f, 0.5f)
                             : canopy;
    const int end = between(1, kAirfoilPoints - 2, start + count);
    for (int k = 0; k < kSubRows; ++k)
        list->append(makeQuad(d->flatGrid[k][cell][start], d->flatGrid[k][cell][end],
                              d->flatGrid[k + 1][cell][end], d->flatGrid[k + 1][cell][start], color));
}

void addQuads_inflated(const ParaStruct* d, QList<Quad6>* list, int cell, int start, int count,
                       QColor canopy)
{
    if (!validCell(d, cell) || !list || start < 0 || start >= kAirfoilPoints)
        return;
    const QColor color = d->billowLineOnTop && is_between(d->billowLineIndex, d->lineIndex[0][cell], start)
                             ? QColor::fromRgbF(1.0f, 0.0f, 0.25f)
                             : canopy;
    // The last steps close the strip at the trailing edge, point 0.
    const int end = start < kAirfoilPoints - 2 - count ? start + count : 0;
    // The mirror image draws the other half of a centre cell.
    const int first = cell == 0 && d->centreCell ? 4 : 0;
    for (int k = first; k < kSubRows; ++k)
        list->append(makeQuad(d->inflatedGrid[k][cell][start], d->inflatedGrid[k][cell][end],
                              d->inflatedGrid[k + 1][cell][end], d->inflatedGrid[k + 1][cell][start],
                              color));
}

QList<Quad6> Create_QuadList(const ParaStruct* d, bool inflated, SurfaceChoice surfaces, QColor canopy,
                             QList<OpeningOutline>* openings)
{
    QList<Quad6> list;
    if (!d)
        return list;
    const int cells = std::min(d->lastRib, kRibSlots);
    const int split = d->noseIndex[1];
    for (int r = 0; r < cells; ++r) {
        const int a = d->lineIndex[0][r];
        const int b = d->lineIndex[1][r];
        bool openingDrawn = false;
        for (int i = 0; i < kAirfoilPoints - 1; i += 2) {
            const bool shown = surfaces.top && surfaces.bottom ? true
                               : surfaces.top                  ? i <= split
                               : surfaces.bottom               ? i > split
                                                               : false;
            if (!shown)
                continue;
            if (a <= i && i < b) {
                // The vent opening: no cloth, only its edge between the two ribs.
                const bool edge = r < d->lastRib - 1 && r + 1 < kRibSlots && !(r == 0 && d->centreCell)
                                  && a >= 0 && b < kAirfoilPoints;
                if (openings && edge && !openingDrawn) {
                    openings->append({scaled(d->ribCurves3D[r][a]), scaled(d->ribCurves3D[r + 1][a]),
                                      scaled(d->ribCurves3D[r][b]), scaled(d->ribCurves3D[r + 1][b])});
                    openingDrawn = true;
                }
                continue;
            }
            const int count = a == i + 1 ? a - 1 - i : 2;
            const int start = b == i + 1 ? b : i;
            if (inflated)
                addQuads_inflated(d, &list, r, start, count, canopy);
            else
                addQuadsFlat(d, &list, r, start, count, canopy);
        }
    }
    return list;
}

// ---------------------------------------------------------------- lines

QColor Line_Group_Color(int slot)
{
    if (slot < 1 || slot > 4)
        return QColor::fromRgbF(1, 0, 0);
    const float c = 2.0f * slot / 10.0f;
    return QColor::fromRgbF(c, 1.0f - c, 1.0f);
}

QVector3D Brake_Line_End(QVector3D start, QVector3D end, float relax)
{
    return end + (end - start).normalized() * relax;
}

bool Riser_Visible(int lineGroupCount, QPoint pair)
{
    return !(lineGroupCount > pair.y());
}

// ---------------------------------------------------------------- ribs

QList<QVector3D> poly3CloseCurve(QList<QVector3D> list)
{
    if (list.size() > 1 && list.first() != list.last())
        list.first() = list.last();
    return list;
}

QList<QVector3D> Hole_Loop_3D(const ParaStruct* design, int rib, const QPolygonF& outline)
{
    QList<QVector3D> loop;
    if (outline.size() <= glview::kHoleTrimPoints)
        return loop;
    for (int i = 0; i < outline.size(); i += 3)
        loop.append(scaled(mapfoilT_2D_3D(design, rib, outline[i])));
    std::reverse(loop.begin(), loop.end());
    return loop;
}

QList<QList<QVector3D>> Rib_Hole_Loops(const ParaStruct* design, int rib, int group, const QPolygonF& flatRib)
{
    QList<QList<QVector3D>> loops;
    if (!design || rib < 0 || rib >= kRibSlots || (group != 0 && group != 1) || flatRib.isEmpty())
        return loops;
    // The view lays the holes out for itself: the design stays as it is.
    HoleLayout layout = Hole_Layout_Of(*design);
    Set_Triang_Index_Values(*design, rib, &layout);
    Reset_baseTri_Array(*design, flatRib, group, false, &layout);
    Calc_current_grup_all_tribase(*design, group, &layout);
    for (int j = 0; j < 11; ++j)
        for (const QPolygonF& hole : Create_div_Triangles(design, layout.baseTriangles[j], false)) {
            const QList<QVector3D> loop = Hole_Loop_3D(design, rib, hole);
            if (!loop.isEmpty())
                loops.append(loop);
        }
    return loops;
}

QList<DiagonalData> Completed_Diagonals(const ParaStruct* design)
{
    QList<DiagonalData> shapes;
    if (!design)
        return shapes;
    const HoleModel holes = Hole_Model(design);
    for (const DiagonalData& diagonal : design->diagonals) {
        DiagonalData copy = diagonal;
        Create_Diagonal_2D3D(*design, &copy, holes);
        shapes.append(copy);
    }
    return shapes;
}

QList<QList<QVector3D>> Strap_Polygons(const ParaStruct* design)
{
    QList<QList<QVector3D>> polygons;
    if (!design || design->lastRib < 1 || design->lastRib > kRibSlots - 1)
        return polygons;
    const float ms = float(kModelScale);
    for (const Strap3D& strap : Create_Strap_list(design)) {
        QList<QVector3D> polygon;
        for (int k = 0; k < 3; ++k)
            polygon.append(strap.sideA[k] * ms);
        for (int k = 2; k >= 0; --k)
            polygon.append(strap.sideB[k] * ms);
        polygons.append(polygon);
    }
    return polygons;
}

Table_ctl Rib_Patch_Net(const ParaStruct* d, int rib, QPointF* corners)
{
    Table_ctl net{};
    if (!d || rib < 0 || rib >= kRibSlots)
        return net;
    const double L = d->chord[1] * kModelScale;
    const double a = d->ribAngle[rib];
    const QVector3D P = d->ribCurves3D[rib][between(0, kAirfoilPoints - 1, d->noseIndex[rib])];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            const double gx = i * L / 3;
            const double gz = (j - 1.5) * L / 3;
            net.p[i][j][0] = float(gx);
            net.p[i][j][1] = float(P.y() * kModelScale + gz * std::sin(-a));
            net.p[i][j][2] = float(gz * std::cos(a) + P.z() * kModelScale);
        }
    if (corners) {
        corners[0] = QPointF(net.p[0][0][1], net.p[0][0][2]);
        corners[1] = QPointF(net.p[0][3][1], net.p[0][3][2]);
    }
    return net;
}

double Trim_Loop_Area(const float (*p)[2], int n)
{
    double area = 0;
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        area += double(p[i][0]) * p[j][1] - double(p[j][0]) * p[i][1];
    }
    return area;
}

void Reverse_Trim_Loop(float (*p)[2], int n)
{
    for (int i = 0, j = n - 1; i < j; ++i, --j) {
        std::swap(p[i][0], p[j][0]);
        std::swap(p[i][1], p[j][1]);
    }
}

namespace {
void mapTrim(const QVector3D& h, double chordLength, const QPointF* corners, float* uv)
{
    // A rib reaching behind the patch stays on its edge: GLU wants the trim
    // loops inside the parameter square.
    uv[0] = float(dou_between(0.0, 1.0, fmap_U(chordLength, h.x())));
    uv[1] = float(fmap_V(corners, QPointF(h.y(), h.z())));
}
} // namespace

// GLU keeps the part of the patch to the left of each trim loop: the outline
// runs counter-clockwise and the holes clockwise in (u, v), whichever way the
// rib's points happen to run.
bool Hole_Trim(const QList<QVector3D>& loop, double chordLength, const QPointF* corners, Table_24_2* out)
{
    if (loop.size() != glview::kHoleTrimPoints || !out)
        return false;
    for (int i = 0; i < glview::kHoleTrimPoints; ++i)
        mapTrim(loop[i], chordLength, corners, out->p[i]);
    out->p[23][0] = out->p[0][0];
    out->p[23][1] = out->p[0][1];
    if (Trim_Loop_Area(out->p, glview::kHoleTrimPoints) > 0)
        Reverse_Trim_Loop(out->p, glview::kHoleTrimPoints);
    return true;
}

bool Outline_Trim(const QList<QVector3D>& curve, double chordLength, const QPointF* corners, Table_50_2* out)
{
    if (curve.size() < kAirfoilPoints || !out)
        return false;
    const int n = glview::kOutlineTrimPoints;
    for (int k = 0; k < n; ++k)
        mapTrim(curve[20 * k], chordLength, corners, out->p[n - 1 - k]);
    out->p[0][0] = out->p[n - 1][0];
    out->p[0][1] = out->p[n - 1][1];
    if (Trim_Loop_Area(out->p, n) < 0)
        Reverse_Trim_Loop(out->p, n);
    return true;
}
