#include "graphics/splineeditor.h"

#include "core/notify.h"
#include "core/parastruct.h"
#include "geom/designcurves.h"

#include <algorithm>
#include <utility>
#include <cmath>

SplineEditor::SplineEditor(ParaStruct* design) : design(design)
{
    Init_Work_Spline();
}

int SplineEditor::side() const
{
    return designSide;
}

void SplineEditor::Set_DesignSide(char side)
{
    designSide = side == 'U' ? 0 : side == 'D' ? 1 : -1;
}

void SplineEditor::Init_Work_Spline()
{
    pressPending = false;
    currentLine = -1;
    selectedPoint = -1;
    workLine = Spline();
    workLine.degree = 3;
    workLine.side = side();
}

void SplineEditor::Reload()
{
    Init_Work_Spline();
    RecreateSplineList(design, &lineList);
    // The lines are shown as the design holds them: loading them is no edit.
    QList<Spline> shown;
    for (const Spline& line : std::as_const(lineList))
        if (line.pointCount > 1)
            shown.append(line);
    lineList = shown;
    SetMyPainterPath();
}

void SplineEditor::Set_Current_Spline(int id)
{
    currentLine = id;
    if (id >= 0 && id < lineList.size())
        workLine = lineList.at(id);
}

void SplineEditor::Update_Spline_list()
{
    Calculate_Spline_Poly(design, &workLine);
    if (currentLine < 0) {
        if (workLine.pointCount > 1)
            lineList.append(workLine);
    } else if (currentLine < lineList.size()) {
        lineList[currentLine] = workLine;
    }
    QList<Spline> stored;
    for (const Spline& line : lineList)
        if (line.pointCount > 1)
            stored.append(line);
    design->designSplines = stored;
    lineList = stored;
    Init_Work_Spline();
    SetMyPainterPath();
}

void SplineEditor::Set_WorkSpline_Parameters()
{
    workLine.side = side();
    workLine.degree = 3;
    workLine.order = 4;
    workLine.knotCount = 0;
}

void SplineEditor::recompute()
{
    Calculate_Spline_Poly(design, &workLine);
}

bool SplineEditor::refuseFullLine()
{
    if (Spline_Can_Take_Point(workLine))
        return false;
    Notify_User(QStringLiteral("A design line holds at most %1 control points: the point was not added.")
                    .arg(kMaxSplineControlPoints));
    return true;
}

bool SplineEditor::Append_New_Point(QPointF p)
{
    if (refuseFullLine())
        return false;
    workLine.points[workLine.pointCount] = Adjust_to_Near_Rib(design, p);
    ++workLine.pointCount;
    Set_WorkSpline_Parameters();
    recompute();
    return true;
}

bool SplineEditor::New_Point_Insert(QPointF p, QPointF pressed)
{
    if (!Point_Is_Selected())
        return false;
    if (selectedPoint == workLine.pointCount - 1)
        return Append_New_Point(p);
    if (refuseFullLine())
        return false;
    const int at = selectedPoint + 1;
    const QPointF point = (pressed + workLine.points[at]) / 2.0;
    for (int i = workLine.pointCount; i > at; --i)
        workLine.points[i] = workLine.points[i - 1];
    workLine.points[at] = point;
    ++workLine.pointCount;
    Set_WorkSpline_Parameters();
    recompute();
    return true;
}

void SplineEditor::Remove_Point()
{
    if (Point_Is_Selected()) {
        for (int i = selectedPoint; i + 1 < kSplinePoints; ++i) {
            workLine.points[i] = workLine.points[i + 1];
            workLine.bsplinePoints[i] = workLine.bsplinePoints[i + 1];
        }
        --workLine.pointCount;
        Update_Spline_list();
    }
    pressPending = false;
}

void SplineEditor::Remove_Spline()
{
    workLine.pointCount = 0;
    workLine.bsplineCount = 0;
    Update_Spline_list();
    pressPending = false;
}

bool SplineEditor::Close_Spline_Curve()
{
    if (workLine.pointCount <= 3)
        return false;
    workLine.points[workLine.pointCount - 1] = workLine.points[0];
    if (workLine.bsplineCount > 0 && workLine.bsplineCount <= kSplinePoints)
        workLine.bsplinePoints[workLine.bsplineCount - 1] = workLine.bsplinePoints[0];
    pressPending = false;
    return true;
}

bool SplineEditor::Selected_Is_End() const
{
    return Point_Is_Selected() && (selectedPoint == 0 || selectedPoint == workLine.pointCount - 1);
}

void SplineEditor::putPoint(int i, QPointF q)
{
    // The ends of a line lie on ribs: the panels are cut from rib to rib.
    if (i == 0 || i == workLine.pointCount - 1)
        q = Adjust_to_Near_Rib(design, q);
    workLine.points[i] = q;
    recompute();
}

bool SplineEditor::Drag_Selected_Point(QPointF q, const QPolygonF& area)
{
    if (!Point_Is_Selected() || !is_InRegionPoly(area, q))
        return false;
    putPoint(selectedPoint, q);
    return true;
}

bool SplineEditor::Move_SelectedPoint(double dx, double dy, const QPolygonF& area)
{
    if (!Point_Is_Selected())
        return false;
    return Drag_Selected_Point(workLine.points[selectedPoint] + QPointF(dx, dy), area);
}

bool SplineEditor::Snap_Current_Point()
{
    if (!Point_Is_Selected())
        return false;
    // An end snaps to the ends of the other lines: the line's own stored
    // copy would pull a slightly moved end back where it was.
    QList<Spline> others = lineList;
    if (Line_Is_Current())
        others.removeAt(currentLine);
    const QPointF p = Find_Snap_Point(others, workLine.points[selectedPoint]);
    if (std::abs(p.x()) < 1e-12 && std::abs(p.y()) < 1e-12)
        return false;
    workLine.points[selectedPoint] = p;
    Update_Spline_list();
    return true;
}

QPolygonF SplineEditor::Snap_Markers() const
{
    if (!pressPending || !Line_Is_Current() || !Selected_Is_End())
        return QPolygonF();
    return fill_snap_points(design, lineList, side());
}

void SplineEditor::SetMyPainterPath()
{
    linePath = Set_MyPainterPath(lineList, side());
}

QPainterPath Set_MyPainterPath(const QList<Spline>& lineList, int side)
{
    QPainterPath path;
    for (const Spline& line : lineList) {
        if (line.side != side || line.curve.size() < 2)
            continue;
        path.moveTo(line.curve.first());
        for (int i = 1; i < line.curve.size(); ++i)
            path.lineTo(line.curve.at(i));
    }
    return path;
}

// ---------------------------------------------------------------- background

namespace {

int indexAt(int index)
{
    return std::clamp(index, 0, kAirfoilPoints - 1);
}

int firstRibOf(const ParaStruct* d)
{
    return std::clamp(d->firstRib, 0, 1);
}

int lastRibOf(const ParaStruct* d)
{
    return std::clamp(d->lastRib, 0, kMaxLastRib);
}

// What both sides share, around the side's edge row (its y on every rib):
// the title, the trailing edge, the ribs from the edge row to the trailing
// edge and the design area between the two.
template <typename EdgeY>
DesignBackground sideBackground(const ParaStruct* d, int side, const QString& title, EdgeY edgeY)
{
    DesignBackground b;
    b.side = side;
    b.title = title;
    b.titleRect = QRectF(d->ribSpanPos[0], d->trailingEdgeX[0], 400, 80);
    b.trailingEdge = Table_to_Poly(d, d->trailingEdgeX);
    for (int k = firstRibOf(d); k <= lastRibOf(d); ++k) {
        const double x = d->ribSpanPos[k];
        const double edge = edgeY(k);
        b.edge.append(QPointF(x, edge));
        b.ribLines.append(QLineF(x, edge, x, d->trailingEdgeX[k]));
    }
    b.areaOutline = b.edge;
    for (int i = b.trailingEdge.size() - 1; i >= 0; --i)
        b.areaOutline.append(b.trailingEdge.at(i));
    return b;
}

} // namespace

QPolygonF Table_to_Poly(const ParaStruct* d, const double* table)
{
    QPolygonF poly;
    for (int k = firstRibOf(d); k <= lastRibOf(d); ++k)
        poly.append(QPointF(d->ribSpanPos[k], table[k]));
    return poly;
}

DesignBackground Background_UP(const ParaStruct* d)
{
    // The top side runs from the trailing edge over the O1 row.
    DesignBackground b = sideBackground(d, 0, QStringLiteral("TOP SIDE DESIGN"), [d](int k) {
        return d->trailingEdgeX[k] - d->airfoilArcLen[indexAt(d->lineIndex[0][k])][k];
    });
    for (int k = firstRibOf(d); k <= lastRibOf(d); ++k)
        b.nose.append(QPointF(d->ribSpanPos[k], d->trailingEdgeX[k] - d->airfoilArcLen[indexAt(d->noseIndex[k])][k]));

    if (d->billowLineIndex < d->noseIndex[1] - 10) {
        b.billowShown = true;
        b.billowUsed = d->billowLineOnTop;
        b.billowLabel = b.billowUsed ? QStringLiteral("used ") : QStringLiteral("  Not used");
        b.billowLabelPos = QPointF(d->ribSpanPos[0], getBillowPoint(d, 0, d->billowLineIndex).y());
        if (d->billowLineOffset != 0.0)
            for (int k = firstRibOf(d); k <= lastRibOf(d); ++k)
                b.billowLine.append(getBillowPoint(d, k, d->billowLineIndex));
    }
    return b;
}

DesignBackground Background_DW(const ParaStruct* d)
{
    // The bottom side's arc length counts from the lower trailing edge, up
    // to the O2 row.
    return sideBackground(d, 1, QStringLiteral("BOTTOM SIDE Design"), [d](int k) {
        return d->trailingEdgeX[k]
             - (d->airfoilArcLen[kAirfoilPoints - 1][k] - d->airfoilArcLen[indexAt(d->lineIndex[1][k])][k]);
    });
}

DesignBackground Design_Background(const ParaStruct* d, int side)
{
    if (side == 0)
        return Background_UP(d);
    if (side == 1)
        return Background_DW(d);
    return DesignBackground();
}
