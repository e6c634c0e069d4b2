#include "graphics/ui/editsplineup.h"
#include "widgets/widgetinteraction.h"

#include "core/parastruct.h"
#include "geom/designcurves.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

const char* const kMenuTexts[10] = {"  ",           "Add point,spline",   "Insert  point",
                                    "  ",           "Remove  point",      "Remove spline",
                                    "Reset spline   ", "Close spline curve", "  ",
                                    "SNAP to spline edges"};

QPen cosmetic(const QColor& colour, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, 0, style);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

EditSplineUP::EditSplineUP(QWidget* parent) : QWidget(parent), edit(GetDataStruct())
{
    connect(this, &QWidget::customContextMenuRequested, this, &EditSplineUP::ShowContextMenu);
    const ParaStruct* design = edit.design;
    axisPos[0] = int(design->ribSpanPos[0]);
    axisPos[1] = int(design->trailingEdgeX[0]);
}

void EditSplineUP::setCurrentside(char side)
{
    edit.Set_DesignSide(side);
    edit.Reload();
    Rebuild_Background();
    update();
}

void EditSplineUP::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    edit.Reload();
    Rebuild_Background();
    update();
}

void EditSplineUP::Rebuild_Background()
{
    background = Design_Background(edit.design, edit.side());
    if (background.side >= 0)
        area = background.areaOutline;
    markers = edit.Snap_Markers();
}

void EditSplineUP::Refresh_Background()
{
    Rebuild_Background();
    update();
}

void EditSplineUP::Update_Spline_list()
{
    edit.Update_Spline_list();
    update();
}

void EditSplineUP::Set_Current_Spline(int id)
{
    edit.Set_Current_Spline(id);
    if (id >= 0 && id < edit.lineList.size())
        update();
}

// ---------------------------------------------------------------- mouse, keys

void EditSplineUP::mousePressEvent(QMouseEvent* event)
{
    if (edit.pressPending)
        return;
    const QPoint pos = event->position().toPoint();
    edit.pressPending = true;
    lastMousePos = pos;
    if (event->button() == Qt::LeftButton) {
        edit.selectedPoint = SelectPoint(edit.workLine, pos, QPointF(0, pan));
        if (edit.selectedPoint < 0)
            edit.Update_Spline_list();
        setup_snapPoints();
    } else if (event->button() == Qt::MiddleButton && edit.currentLine < 0) {
        const int id = Select_Spline(edit.lineList, edit.side(), pos, QPointF(0, pan));
        edit.currentLine = id;
        if (id >= 0)
            edit.Set_Current_Spline(id);
    }
    update();
}

void EditSplineUP::mouseMoveEvent(QMouseEvent* event)
{
    if (!edit.pressPending)
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint before = lastMousePos;
    lastMousePos = pos;
    if ((event->buttons() & Qt::LeftButton) && edit.Point_Is_Selected()) {
        if (edit.Drag_Selected_Point(toDesign(pos), area))
            update();
    } else if (event->buttons() & Qt::MiddleButton) {
        pan += pos.y() - before.y();
        update();
    }
}

void EditSplineUP::mouseReleaseEvent(QMouseEvent*)
{
    Snap_Current_Point();
    edit.pressPending = false;
    markers.clear();
    update();
}

void EditSplineUP::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: Move_SelectedPoint(-1, 0); break;
    case Qt::Key_Right: Move_SelectedPoint(1, 0); break;
    case Qt::Key_Up: Move_SelectedPoint(0, -1); break;
    case Qt::Key_Down: Move_SelectedPoint(0, 1); break;
    default: break;
    }
}

void EditSplineUP::Move_SelectedPoint(double dx, double dy)
{
    if (edit.Move_SelectedPoint(dx, dy, area))
        update();
}

void EditSplineUP::setup_snapPoints()
{
    markers = edit.Snap_Markers();
}

void EditSplineUP::Snap_Current_Point()
{
    if (edit.Snap_Current_Point())
        update();
}

// ---------------------------------------------------------------- menu

bool EditSplineUP::Menu_Entry_Enabled(int m) const
{
    const bool line = edit.Line_Is_Current();
    const bool point = edit.Point_Is_Selected();
    switch (m) {
    case 1: return true;
    case 2: case 4: case 9: return point && line;
    case 5: case 6: case 7: return line;
    default: return false;
    }
}

void EditSplineUP::ShowContextMenu(QPoint pos)
{
    QMenu menu;
    QList<QAction*> actions;
    for (int m = 0; m < 10; ++m) {
        QAction* a = menu.addAction(QString::fromLatin1(kMenuTexts[m]));
        a->setEnabled(Menu_Entry_Enabled(m));
        actions.append(a);
    }
    QAction* chosen = Popup_Menu(&menu, mapToGlobal(pos));
    // The release of the press that opened the menu went to the menu: the
    // next press must not wait for it.
    edit.pressPending = false;
    if (chosen)
        Action_From_Menu(pos, int(actions.indexOf(chosen)));
}

void EditSplineUP::Action_From_Menu(QPoint P, int m)
{
    switch (m) {
    case 1:
        edit.Append_New_Point(toDesign(P));
        break;
    case 2:
        edit.New_Point_Insert(toDesign(P), toDesign(lastMousePos));
        break;
    case 4:
        edit.Remove_Point();
        break;
    case 5:
        edit.Remove_Spline();
        break;
    case 7:
        edit.Close_Spline_Curve();
        edit.Update_Spline_list();
        break;
    case 9:
        Snap_Current_Point();
        break;
    default: // 6 "Reset spline" has no action of its own
        break;
    }
    markers = edit.Snap_Markers();
    update();
}

// ---------------------------------------------------------------- painting

void EditSplineUP::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int w = width() - 1;
    const int h = height() - 1;
    QLinearGradient gradient(QPointF(0, 0), QPointF(w, h));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, edit.side() == 0 ? QColor(150, 100, 150, 100) : QColor(200, 200, 200, 200));
    painter.fillRect(QRect(0, 0, w + 1, h + 1), gradient);

    Paint_Info(&painter);

    painter.translate(0, pan);
    painter.scale(scale, scale);
    painter.save();
    Coor_System(&painter);
    paintBackground(&painter);
    Paint_Work_Spline(&painter);
    paint_Snap_Points(&painter);
    painter.setPen(cosmetic(Qt::black));
    painter.drawPath(edit.linePath);
    painter.restore();
}

void EditSplineUP::Paint_Info(QPainter* painter)
{
    // In widget coordinates, with the painter's pen.
    const int x = int(0.8 * (width() - 1));
    const SplineEditor& e = edit;
    painter->drawText(x, 6 * textLine + 10, QStringLiteral(" current point id: %1").arg(e.selectedPoint));
    painter->drawText(x, 8 * textLine + 10, QStringLiteral("  spline poly size: %1").arg(e.workLine.curve.size()));
    painter->drawText(x, 10 * textLine + 10, QStringLiteral(" scale factor: %1").arg(scale, 0, 'f', 3));
    if (e.Point_Is_Selected()) {
        const QPointF p = e.workLine.points[e.selectedPoint];
        painter->drawText(x, 12 * textLine + 10,
                          QStringLiteral("selected point: [%1 , %2]").arg(p.x(), 0, 'f', 2).arg(p.y(), 0, 'f', 2));
    }
}

void EditSplineUP::Coor_System(QPainter* painter)
{
    // Axes through rib 0's trailing edge as it was when the editor was made.
    painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter->drawLine(0, axisPos[1], width() - 1, axisPos[1]);
    painter->drawLine(axisPos[0], 0, axisPos[0], height() - 1);
}

void EditSplineUP::paintBackground(QPainter* painter)
{
    const DesignBackground& b = background;
    if (b.side != 0 && b.side != 1)
        return;
    painter->setPen(QPen(Qt::black));
    painter->drawText(b.titleRect, b.title);
    // The area is outlined with the pen of the line drawn last: the O1
    // row's red on top, the trailing edge's blue below.
    if (b.side == 0) {
        painter->setPen(QPen(Qt::blue, 3));
        painter->drawPolyline(b.trailingEdge);
        painter->setPen(QPen(Qt::black, 2, Qt::DotLine));
        painter->drawPolyline(b.nose);
        painter->setPen(QPen(Qt::red, 2));
        painter->drawPolyline(b.edge);
    } else {
        painter->setPen(cosmetic(Qt::red));
        painter->drawPolyline(b.edge);
        painter->setPen(QPen(Qt::blue, 3));
        painter->drawPolyline(b.trailingEdge);
    }
    painter->setBrush(Qt::lightGray);
    painter->drawPolygon(b.areaOutline, Qt::OddEvenFill);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(cosmetic(Qt::black, Qt::DotLine));
    painter->drawLines(b.ribLines);
    if (b.billowShown) {
        painter->setPen(b.billowUsed ? QPen(Qt::blue, 1, Qt::DotLine) : cosmetic(Qt::blue, Qt::DotLine));
        painter->drawText(b.billowLabelPos, b.billowLabel);
        painter->drawPolyline(b.billowLine);
    }
}

void EditSplineUP::Paint_Work_Spline(QPainter* painter)
{
    // Its control points, the selected one marked, its curve (recomputed
    // by every change of the line, not here).
    const SplineEditor& e = edit;
    painter->setPen(QPen(Qt::red, 1));
    for (int i = 0; i < e.workLine.pointCount && i < kSplinePoints; ++i)
        painter->drawEllipse(e.workLine.points[i], 6, 6);
    if (e.Point_Is_Selected()) {
        const QPointF p = e.workLine.points[e.selectedPoint];
        painter->setPen(Qt::NoPen);
        painter->setBrush(Qt::lightGray);
        painter->drawEllipse(p, 9, 9);
        painter->setBrush(Qt::darkGray);
        painter->drawEllipse(p, 6, 6);
        painter->setBrush(Qt::NoBrush);
    }
    painter->setPen(cosmetic(Qt::red));
    painter->drawPolyline(e.workLine.curve);
    for (int i = 0; i < e.workLine.curve.size(); i += 100)
        painter->drawEllipse(e.workLine.curve.at(i), 1, 1);
}

void EditSplineUP::paint_Snap_Points(QPainter* painter)
{
    painter->setPen(cosmetic(Qt::red));
    for (const QPointF& m : std::as_const(markers)) {
        painter->drawEllipse(m, 6, 1);
        painter->drawEllipse(m, 1, 6);
    }
}
