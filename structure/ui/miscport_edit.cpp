#include "structure/ui/miscport_edit.h"

#include "core/viewfit.h"

#include "airfoils/foilunfold.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "geom/designcurves.h"
#include "geom/ribunfold.h"
#include "structure/crossports.h"
#include "structure/holefun.h"
#include "structure/structfun.h"
#include "structure/untwistedwing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 10.0;
constexpr double kHitPixels = 10;
constexpr int kWorkRib = 1;
// Handle numbers: the mylar's points from 0, the upper rod's from 10, the
// lower rod's from 20.
constexpr int kHandleBase[3] = {0, 10, 20};

QPolygonF scaled(const QPolygonF& poly, double s)
{
    QPolygonF out;
    out.reserve(poly.size());
    for (const QPointF& p : poly)
        out.append(s * p);
    return out;
}

} // namespace

CrossEdit::CrossEdit(QWidget* parent)
    : QWidget(parent), design(GetDataStruct()), wing(std::make_unique<UntwistedWing>())
{
    setAttribute(Qt::WA_StyledBackground, true);
}

CrossEdit::~CrossEdit() = default;

void CrossEdit::Setup_MylarPoints()
{
    curves[0] = Mylar_Curve(design);
    inSpline.degree = 3;
    inSpline.order = 4;
    inSpline.knotCount = 0;
    inSpline.side = 0;
    SetupMiSpline();
}

void CrossEdit::SetupMiSpline()
{
    const ReinforceCurve& m = curves[0];
    inSpline.curve.clear();
    if (m.points.size() != 5) {
        inSpline.pointCount = 0;
        return;
    }
    inSpline.pointCount = 7;
    inSpline.points[0] = kScale * m.first;
    for (int k = 0; k < 5; ++k)
        inSpline.points[k + 1] = kScale * m.points[k];
    inSpline.points[6] = kScale * m.second;
    Calculate_Spline_Poly(design, &inSpline);
}

void CrossEdit::Update_Reinforcements()
{
    mylarSheet.clear();
    upperRodCurve.clear();
    lowerRodCurve.clear();
    const double chord = design->chord[kWorkRib];
    if (workFoil.isEmpty() || !(chord > 0))
        return;
    RibUnfolding flat;
    Unfold_AirFoil(wing->view(*design), kWorkRib, &flat);
    // The flat rib is in plan units; the drawing has the chord at its scale.
    mylarSheet = scaled(flat.mylar, kScale / chord);
    upperRodCurve = scaled(flat.rod1, kScale / chord);
    lowerRodCurve = scaled(flat.rod2, kScale / chord);
}

void CrossEdit::Setup_RodPoints()
{
    curves[1] = Upper_Rod_Curve(design);
}

void CrossEdit::Setup_Rod2Point()
{
    curves[2] = Lower_Rod_Curve(design);
}

void CrossEdit::Store_Curve(int c)
{
    switch (c) {
    case 0: Store_Mylar(design, curves[0]); SetupMiSpline(); break;
    case 1: Store_Upper_Rod(design, curves[1]); break;
    case 2: Store_Lower_Rod(design, curves[2]); break;
    default: return;
    }
    Update_Reinforcements();
}

void CrossEdit::update_milar_rods()
{
    Store_Mylar(design, curves[0]);
    Store_Upper_Rod(design, curves[1]);
    Store_Lower_Rod(design, curves[2]);
    SetupMiSpline();
    Update_Reinforcements();
}

void CrossEdit::resetMylar()
{
    Reset_Curve(&curves[0]);
    Store_Curve(0);
    repaint();
}

void CrossEdit::resetRods()
{
    Setup_RodPoints();
    Reset_Curve(&curves[1]);
    Store_Curve(1);
    repaint();
}

void CrossEdit::resetRod2()
{
    Setup_Rod2Point();
    Reset_Curve(&curves[2]);
    Store_Curve(2);
    repaint();
}

bool CrossEdit::handle(int number, int* curve, int* point) const
{
    for (int c = 0; c < 3; ++c) {
        const int k = number - kHandleBase[c];
        if (k >= 0 && k < curves[c].points.size()) {
            *curve = c;
            *point = k;
            return true;
        }
    }
    return false;
}

void CrossEdit::repaintPoints(double dx, double dy)
{
    int c = 0, k = 0;
    if (!handle(selected, &c, &k))
        return;
    // A pointer step in pixels is a step of the drawing divided by its
    // scale and the zoom.
    Move_Curve_Point(&curves[c], k, QPointF(dx, dy) / (kScale * zoomFactor));
    Store_Curve(c);
}

int CrossEdit::SelectPoint(QPoint pos) const
{
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < curves[c].points.size(); ++k)
            if (Dist2(toScreen(curves[c].points[k]), pos) < kHitPixels)
                return kHandleBase[c] + k;
    return -1;
}

void CrossEdit::buildCrossPorts()
{
    holes.clear();
    for (QPolygonF& t : triangles)
        t.clear();
    if (workFoil.isEmpty())
        return;
    // Context only: the cross ports manager edits them, and the layout is
    // the picture's own.
    const ParaStruct& flat = *wing->view(*design);
    HoleLayout layout = Hole_Layout_Of(flat);
    Set_Triang_Index_Values(flat, kWorkRib, &layout);
    Reset_baseTri_Array(flat, workFoil, 0, false, &layout);
    Calc_current_grup_all_tribase(flat, 0, &layout);
    for (int i = 0; i < 13; ++i)
        anchors[i] = layout.baseTriPoints[i];
    for (int i = 0; i < 11; ++i) {
        const Triang& t = layout.crossPorts[0].triangles[i];
        triangles[i] = QPolygonF({t.corner[0], t.corner[1], t.corner[2]});
        holes += Create_div_Triangles(&flat, layout.baseTriangles[i], false);
    }
}

void CrossEdit::Update_Miniribs()
{
    frontOutline.clear();
    rearOutline.clear();
    const double chord = design->chord[kWorkRib];
    if (workFoil.isEmpty() || !(chord > 0))
        return;
    QList<QVector3D> outline3D;
    const ParaStruct& flat = *wing->view(*design);
    // The flat outlines are in plan units; the drawing has the chord at
    // its scale.
    frontOutline = scaled(unfold_FrontFoil(flat, kWorkRib, &outline3D).outline, kScale / chord);
    rearOutline = scaled(unfold_RearFoil(flat, kWorkRib, &outline3D).outline, kScale / chord);
}

QRectF CrossEdit::drawingExtent() const
{
    // The airfoil with its row letters and attachment marks around it.
    if (workFoil.isEmpty())
        return QRectF();
    return workFoil.boundingRect().adjusted(-12, -12, 12, 28);
}

void CrossEdit::homeView(bool fitZoom)
{
    // The whole rib in the view, clear of its edges: at the zoom the user
    // chose, or, until he chooses one, at the size that fits (at most 1).
    const QRectF drawing = drawingExtent();
    const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
    if (drawing.isEmpty() || area.isEmpty()) {
        panOffset = QPointF(0, 384);
        return;
    }
    if (fitZoom)
        zoomFactor = std::clamp(Fit_In(drawing, area, 1.0).zoom, kMinZoom, kMaxZoom);
    panOffset = area.center() - zoomFactor * drawing.center();
}

void CrossEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    homeView(!zoomChosen);
}

void CrossEdit::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar shows the view as it was left.
    if (event->spontaneous())
        return;
    zoomFactor = std::max(zoomFactor, kMinZoom);
    workFoil = init_Work_Airfoil(design->ribAirfoils[kWorkRib], kScale);
    homeView(!zoomChosen);
    buildCrossPorts();
    Setup_MylarPoints();
    Setup_RodPoints();
    Setup_Rod2Point();
    Update_Reinforcements();
    repaint();
}

void CrossEdit::mousePressEvent(QMouseEvent* event)
{
    if (pressed)
        return;
    pressed = true;
    selected = -1;
    lastMouse = event->pos();
    if (event->button() == Qt::LeftButton) {
        selected = SelectPoint(event->pos());
    } else if (event->button() == Qt::RightButton) {
        zoomChosen = false;
        homeView(true);
    }
}

void CrossEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed)
        return;
    const QPoint d = event->pos() - lastMouse;
    lastMouse = event->pos();
    if (event->buttons() & Qt::LeftButton)
        repaintPoints(d.x(), d.y());
    else if (event->buttons() & Qt::MiddleButton)
        panOffset += d;
    repaint();
}

void CrossEdit::mouseReleaseEvent(QMouseEvent*)
{
    pressed = false;
    repaint();
}

void CrossEdit::wheelEvent(QWheelEvent* event)
{
    zoomFactor = std::clamp(zoomFactor * std::pow(2.0, event->angleDelta().y() / 960.0), kMinZoom, kMaxZoom);
    zoomChosen = true;
    repaint();
}

void CrossEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: repaintPoints(-1, 0); break;
    case Qt::Key_Up: repaintPoints(0, -1); break;
    case Qt::Key_Right: repaintPoints(1, 0); break;
    case Qt::Key_Down: repaintPoints(0, 1); break;
    default: QWidget::keyPressEvent(event); return;
    }
    update();
}

void CrossEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(panOffset);
    painter.scale(zoomFactor, zoomFactor);

    // 1: line attachments and the airfoil
    painter.setPen(QPen(Qt::black, 0));
    for (int i = 0; i < workFoil.size(); ++i) {
        const int row = getLineIndex(design, i, kWorkRib);
        if (row < 0)
            continue;
        painter.drawEllipse(workFoil[i], 5, 5);
        painter.drawText(workFoil[i] + QPointF(-5, 20), LineLetter(row));
    }
    painter.setPen(QPen(Qt::red, 1));
    painter.drawPolygon(workFoil);

    // 2: the flat mylar sheet and rods of rib 1
    QPen cosmetic(Qt::black, 0);
    if (!mylarSheet.isEmpty()) {
        painter.setPen(cosmetic);
        painter.setBrush(Qt::lightGray);
        painter.drawPolygon(mylarSheet);
        painter.setBrush(Qt::NoBrush);
    }
    if (!upperRodCurve.isEmpty()) {
        painter.setPen(QPen(Qt::green, 2));
        painter.drawPolyline(upperRodCurve);
    }
    if (!lowerRodCurve.isEmpty()) {
        painter.setPen(QPen(Qt::darkGreen, 2));
        painter.drawPolyline(lowerRodCurve);
    }

    // 3, 4: the mini-rib outlines
    painter.setPen(QPen(Qt::blue, 1));
    painter.setBrush(QBrush(Qt::black, Qt::Dense4Pattern));
    if (!frontOutline.isEmpty())
        painter.drawPolygon(frontOutline);
    painter.setBrush(Qt::lightGray);
    if (!rearOutline.isEmpty())
        painter.drawPolygon(rearOutline);
    painter.setBrush(Qt::NoBrush);

    // 5: the mylar in-spline
    painter.setPen(QPen(Qt::red, 1));
    painter.drawPolyline(inSpline.curve);

    // 6: the cross-port anchors of rib 1
    QPen blue(Qt::blue, 0);
    QPen red(Qt::red, 0);
    QPen whiteDots(Qt::white, 0, Qt::DotLine);
    if (!workFoil.isEmpty()) {
        painter.setPen(blue);
        for (const QPointF& a : anchors)
            painter.drawEllipse(a, 3, 3);
        painter.setPen(red);
        for (int i = 7; i < 13; ++i)
            painter.drawEllipse(anchors[i], 5, 5);
        painter.setPen(whiteDots);
        const int links[11][2] = {{0, 1}, {7, 1}, {8, 1}, {8, 2}, {9, 2}, {9, 3},
                                  {10, 3}, {10, 4}, {11, 4}, {11, 5}, {12, 5}};
        for (const auto& l : links)
            painter.drawLine(anchors[l[0]], anchors[l[1]]);
    }

    // 7: the handles, the same size on screen at every zoom
    painter.scale(kScale, kScale);
    const double px = 1.0 / (kScale * zoomFactor);
    auto disc = [&](QPointF p, double r, const QColor& fill, const QPen& outline) {
        painter.setPen(outline);
        painter.setBrush(fill);
        painter.drawEllipse(p, r * px, r * px);
    };
    const QPen noPen(Qt::NoPen);
    for (int k = 0; k < curves[0].points.size(); ++k) {
        const bool sel = selected == kHandleBase[0] + k;
        disc(curves[0].points[k], sel ? 8 : 4, sel ? QColor(Qt::blue) : QColor(Qt::lightGray), whiteDots);
    }
    if (!curves[1].points.isEmpty()) {
        disc(curves[1].first, 9, Qt::lightGray, red);
        disc(curves[1].second, 9, Qt::lightGray, red);
    }
    for (int k = 0; k < curves[1].points.size(); ++k) {
        const bool sel = selected == kHandleBase[1] + k;
        disc(curves[1].points[k], sel ? 8 : 4, sel ? QColor(Qt::blue) : QColor(Qt::green), noPen);
    }
    if (!curves[2].points.isEmpty()) {
        disc(curves[2].first, 9, Qt::darkGray, noPen);
        disc(curves[2].second, 9, Qt::darkGray, noPen);
    }
    for (int k = 0; k < curves[2].points.size(); ++k) {
        const bool sel = selected == kHandleBase[2] + k;
        disc(curves[2].points[k], sel ? 8 : 5, sel ? QColor(Qt::blue) : QColor(Qt::magenta), noPen);
    }
    painter.scale(1 / kScale, 1 / kScale);

    // 8: the loaded-rib cross-ports of rib 1
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    for (const QPolygonF& t : triangles)
        painter.drawPolygon(t);
    painter.setPen(QPen(Qt::blue, 1, Qt::DotLine));
    for (const QPolygonF& h : holes)
        painter.drawPolygon(h);
}
