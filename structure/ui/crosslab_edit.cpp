#include "structure/ui/crosslab_edit.h"

#include "core/viewfit.h"

#include "airfoils/foilunfold.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/crossports.h"
#include "structure/crossportview.h"
#include "structure/holefun.h"
#include "structure/structfun.h"
#include "structure/untwistedwing.h"

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
// Texts and marks stand on the editor's dark background.
const QColor kInk(230, 230, 230);

} // namespace

CrossLab::CrossLab(QWidget* parent)
    : QWidget(parent), data(GetDataStruct()), wing(std::make_shared<UntwistedWing>())
{
    setAttribute(Qt::WA_StyledBackground, true);
    data->crossPortHoles = 1;
    data->crossPortOffset = 10;
    data->crossPortCorner = 2.0;
}

void CrossLab::takeShownValues(int slot)
{
    if (Cross_Port_Triangles(group)) {
        const Triang& t = data->crossPorts[group].triangles[slot];
        shown[0] = t.holeCount;
        shown[1] = t.offsetMm;
        shown[2] = t.cornerCount;
    } else {
        const Trap& t = data->crossPorts[group].traps[slot];
        shown[0] = t.holeCount;
        shown[1] = t.offsetMm;
        shown[2] = t.cornerCount;
    }
}

void CrossLab::Set_Index_Type(int g)
{
    group = g;
    selected = -1;
    Get_Crossport_grup();
    data->crossPortHoles = shown[0];
    data->crossPortOffset = shown[1];
    set_n_corner(shown[2]);
    setObjectPosition();
    setup_CurrentGrup(false);
}

void CrossLab::Get_Crossport_grup()
{
    if (group < 0 || group > 3)
        return;
    takeShownValues(0);
    setWorkFoil(workRib);
}

void CrossLab::Load_Own_Values()
{
    if (group < 0 || group > 3)
        return;
    takeShownValues(selected >= 0 ? selected : 0);
    set_n_holes(shown[0]);
    set_n_offset(shown[1]);
    set_n_corner(shown[2]);
}

void CrossLab::setWorkFoil(int rib)
{
    if (group < 0)
        return;
    foil = init_Work_Airfoil(data->ribAirfoils[rib], viewScale);
    workFoil = Cross_Port_Inner_Outline(data, rib, viewScale);
    selected = -1;
}

void CrossLab::setup_CurrentGrup(bool reset)
{
    setWorkFoil(workRib);
    Refresh_Hole_Layout(*data, &layout);
    if (Cross_Port_Triangles(group)) {
        Set_Triang_Index_Values2(*data, workRib, foil, workFoil, &layout);
        Reset_baseTri_Array(*data, workFoil, group, reset, &layout);
        Calc_current_grup_all_tribase(*data, group, &layout);
    } else if (group == 2 || group == 3) {
        // The stations are found on the airfoil itself, the bands built on
        // the inner outline.
        Set_Trap_Index_Values23(*data, foil, &layout);
        Reset_baseTrap_Array(*data, workFoil, group, reset, &layout);
        Calc_current_grup_all_trap(group, &layout);
    }
    // The manager edits the layout it shows: the design keeps it.
    Keep_Hole_Layout(data, layout);
    rebuildView();
}

void CrossLab::rebuildView()
{
    holes = Cross_Port_Group_Holes(data, layout, group);
    miniribOutline.clear();
    const double chord = workRib >= 0 && workRib < kRibSlots ? data->chord[workRib] : 0;
    if ((group == 2 || group == 3) && chord > 0 && !data->ribAirfoils[workRib].isEmpty()) {
        // Laid flat from the untwisted wing, over the rib's own airfoil.
        QList<QVector3D> outline3D;
        const ParaStruct& flat = *wing->view(*data);
        const MiniRibFlat mini =
            group == 2 ? unfold_FrontFoil(flat, workRib, &outline3D) : unfold_RearFoil(flat, workRib, &outline3D);
        const double s = viewScale / chord;
        for (const QPointF& p : mini.outline)
            miniribOutline.append(s * p);
    }
}

void CrossLab::set_cross_port_Param()
{
    if (selected < 0 || group < 0 || group > 3)
        return;
    auto apply = [this](auto& shape) {
        shape.holeCount = data->crossPortHoles;
        shape.cornerCount = int(data->crossPortCorner);
        shape.offsetMm = data->crossPortOffset;
        shape.cornerStep = Hole_Corner_Factor(shape.cornerCount);
        shape.offset = Hole_Screen_Offset(data, shape.offsetMm);
        shape.expanded = true;
    };
    // The base shapes as the design has them now (the other groups' editors
    // keep theirs there too), with this editor's working set.
    Refresh_Hole_Layout(*data, &layout);
    if (Cross_Port_Triangles(group)) {
        Triang& t = layout.crossPorts[group].triangles[selected];
        apply(t);
        t.outline = QPolygonF({t.corner[0], t.corner[1], t.corner[2]});
        Calc_current_grup_single_tribase(*data, group, selected, &layout);
    } else {
        Trap& t = layout.crossPorts[group].traps[selected];
        apply(t);
        t.outline = QPolygonF({t.corner[0], t.corner[1], t.corner[2], t.corner[3]});
        Calc_current_grup_single_trap(group, selected, &layout);
    }
    Keep_Hole_Layout(data, layout);
    rebuildView();
}

void CrossLab::set_n_holes(int v)
{
    data->crossPortHoles = v;
    set_cross_port_Param();
    repaint();
}

void CrossLab::set_n_offset(int v)
{
    data->crossPortOffset = v;
    set_cross_port_Param();
    repaint();
}

void CrossLab::set_n_corner(int v)
{
    // A rounding below 2 makes round holes.
    data->crossPortCorner = v < 2 ? 1.0 : v;
    set_cross_port_Param();
    repaint();
}

void CrossLab::setObjectPosition()
{
    homeView(!zoomChosen);
}

QRectF CrossLab::drawingExtent() const
{
    // The rib with its row letters and attachment marks around it.
    if (foil.isEmpty())
        return QRectF();
    return foil.boundingRect().adjusted(-12, -12, 12, 28);
}

void CrossLab::homeView(bool fitZoom)
{
    // The whole rib in the view below the header line, clear of its edges:
    // at the zoom the user chose, or, until he chooses one, at the size that
    // fits (at most 1).
    const QRectF drawing = drawingExtent();
    const QRectF area = QRectF(rect()).adjusted(8, 30, -8, -8);
    if (drawing.isEmpty() || area.isEmpty()) {
        panX = 0;
        panY = viewHeight / 2;
        return;
    }
    if (fitZoom)
        zoom = std::clamp(Fit_In(drawing, area, 1.0).zoom, kMinZoom, kMaxZoom);
    const QPointF pan = area.center() - zoom * drawing.center();
    panX = pan.x();
    panY = pan.y();
}

void CrossLab::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    homeView(!zoomChosen);
}

void CrossLab::Apply_EdgeOffset()
{
    setup_CurrentGrup(true);
    repaint();
}

void CrossLab::Reset_Whole_Group()
{
    if (selected < 0)
        return;
    setup_CurrentGrup(true);
    repaint();
}

void CrossLab::SelectPointRegion()
{
    const QPointF p((lastMouse.x() - panX) / zoom, (lastMouse.y() - panY) / zoom);
    const int slot = Cross_Port_Shape_At(data, group, p);
    if (slot < 0)
        return;
    selected = slot;
    takeShownValues(slot);
    emit to_setupboxes();
}

double CrossLab::Solid_Area() const
{
    return Solid_Area_Percent(foil, holes);
}

void CrossLab::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar keeps the selected shape and the
    // values in the boxes.
    if (event->spontaneous())
        return;
    zoom = std::max(zoom, kMinZoom);
    viewScale = 1024;
    viewHeight = 768;
    selected = -1;
    workRib = data->firstRib;
    setup_CurrentGrup(false);
    homeView(!zoomChosen);
    emit to_setupboxes();
    repaint();
}

void CrossLab::mousePressEvent(QMouseEvent* event)
{
    selected = -1;
    if (dragging)
        return;
    dragging = true;
    lastMouse = event->pos();
    if (event->button() == Qt::LeftButton) {
        SelectPointRegion();
        repaint();
    } else if (event->button() == Qt::RightButton) {
        zoomChosen = false;
        homeView(true);
        repaint();
    }
}

void CrossLab::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging)
        return;
    if (event->buttons() & Qt::MiddleButton) {
        panX += event->pos().x() - lastMouse.x();
        panY += event->pos().y() - lastMouse.y();
    }
    lastMouse = event->pos();
    repaint();
}

void CrossLab::mouseReleaseEvent(QMouseEvent*)
{
    dragging = false;
    repaint();
}

void CrossLab::wheelEvent(QWheelEvent* event)
{
    zoom = std::clamp(zoom * std::pow(2.0, event->angleDelta().y() / 960.0), kMinZoom, kMaxZoom);
    zoomChosen = true;
    repaint();
}

void CrossLab::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kInk);
    painter.drawText(QPointF(20, 20), QStringLiteral("cross port grup: %1    %solid area: %2")
                                          .arg(group)
                                          .arg(Solid_Area(), 0, 'f', 2));
    painter.drawText(QPointF(int(2 * viewScale / 3), 20), QStringLiteral("WORKING RIB: %1").arg(workRib));

    painter.translate(panX, panY);
    painter.scale(zoom, zoom);
    for (int i = 0; i < foil.size(); ++i) {
        const int row = getLineIndex(data, i, workRib);
        if (row < 0)
            continue;
        painter.drawEllipse(foil[i], 5, 5);
        painter.drawText(foil[i] + QPointF(-5, 20), LineLetter(row));
    }
    painter.setPen(QPen(Qt::yellow, 2));
    painter.drawPolygon(foil);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::white);
    painter.drawPolygon(workFoil);

    if (!miniribOutline.isEmpty()) {
        painter.setPen(QPen(Qt::darkRed, 2));
        painter.setBrush(Qt::lightGray);
        painter.drawPolygon(miniribOutline);
    }

    QPen dotted(Qt::black, 0, Qt::DotLine);
    dotted.setCosmetic(true);
    painter.setPen(dotted);
    for (int i = 0; i < Cross_Port_Shape_Count(group); ++i) {
        painter.setBrush(i == selected ? QBrush(Qt::darkGray) : QBrush(Qt::NoBrush));
        painter.drawPolygon(Cross_Port_Shape_Outline(data, group, i));
    }
    QPen blue(Qt::blue, 0);
    blue.setCosmetic(true);
    painter.setPen(blue);
    painter.setBrush(Qt::lightGray);
    for (const QPolygonF& hole : holes)
        painter.drawPolygon(hole);
}
