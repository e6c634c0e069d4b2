#include "lines/ui/linemorph.h"
#include "widgets/widgetinteraction.h"

#include "core/curves.h"
#include "core/transf.h"
#include "core/viewfit.h"
#include "lines/linemorphing.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kO1 = 0;
constexpr int kO2 = 1;
constexpr double kPickDistance = 9.0;   // pixels, Manhattan

// Context-menu entries, numbered as Action_From_Menu takes them.
enum MenuEntry { kMenuTitle, kMenuClose, kMenuOpen, kMenuDots, kMenuRestore };

QPen cosmetic(const QColor& color, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(color, 0, style);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

LineMorph::LineMorph(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    connect(this, &QWidget::customContextMenuRequested, this, &LineMorph::ShowContextMenu);
    const QFontMetrics fm(font());
    labelDx = -(fm.horizontalAdvance(QStringLiteral("x")) / 2);
    labelDy = fm.boundingRect(QStringLiteral("y")).height();
}

void LineMorph::SetCurrentLine(int row)
{
    currentRow = row;
}

void LineMorph::initLineMorph()
{
    currentRow = 8;
    currentRib = -1;
    selectedButton = -1;
    selectedCell = -1;
    lastPos = QPoint(0, 0);
    firstRib = design->firstRib;
    lastRib = std::clamp(design->lastRib, 0, kRibSlots - 1);
    for (int r = 0; r < kLineRows; ++r) {
        winflexWork[r] = design->wingFlexPercent[r];
        for (int j = 0; j <= lastRib; ++j)
            dynIndex[r][j] = design->lineIndex[r][j];
    }
    design->GetCanopyPos(planPoints);
    frontCurve = Bezier_FourPoints(planPoints[0], planPoints[1], planPoints[2], planPoints[3]);
    rearCurve = Bezier_FourPoints(planPoints[4], planPoints[5], planPoints[6], planPoints[7]);
    Generate_All_LineRib_Buttons();
    Restore_View();
    update();
}

void LineMorph::Virtual_WingFlex_Lines(int row, double percent)
{
    if (design->ribAirfoils[0].isEmpty() || row < 0 || row >= kLineRows)
        return;
    currentRow = row;
    winflexWork[row] = percent;
    firstRib = design->firstRib;
    lastRib = std::clamp(design->lastRib, 0, kRibSlots - 1);
    Winflex_Row(design, row, percent, dynIndex[row]);
    Row_Points(row);
}

void LineMorph::Set_LineDyn_value(int row, int rib, double y)
{
    if (row < 0 || row >= kLineRows || rib < 0 || rib >= kRibSlots)
        return;
    dynIndex[row][rib] = Snap_Line_Index(design, rib, y);
}

void LineMorph::MoveSelectedPoint(int point, int dy)
{
    if (point < 0 || point >= kPoints)
        return;
    buttonPos[point].ry() += dy;
    Set_LineDyn_value(currentRow, currentRib, buttonPos[point].y());
    Row_Points(currentRow);
}

void LineMorph::Row_Points(int row)
{
    if (row < 0 || row >= kLineRows)
        return;
    for (int j = 0; j <= lastRib; ++j) {
        const int id = row * kRibSlots + j;
        valid[id] = Line_Point_Plan(design, j, dynIndex[row][j], &buttonPos[id]);
        rowOfPoint[id] = row;
    }
}

void LineMorph::Generate_All_LineRib_Buttons()
{
    std::fill(std::begin(valid), std::end(valid), false);
    for (int r = 0; r < kLineRows; ++r)
        Row_Points(r);
}

int LineMorph::getSelected_button(QPointF pointer) const
{
    for (int i = 0; i < kPoints; ++i) {
        if (!valid[i] || rowOfPoint[i] != currentRow)
            continue;
        const QPointF d = toWidget(buttonPos[i]) - pointer;
        if (std::fabs(d.x()) + std::fabs(d.y()) < kPickDistance)
            return i;
    }
    return -1;
}

int LineMorph::getSelected_CELL(QPoint pointer) const
{
    const double xs = std::round((pointer.x() - std::round(panX)) / zoom);
    return Cell_At(design, xs);
}

bool LineMorph::Cell_Closed(int c) const
{
    return dynIndex[kO1][c - 1] == dynIndex[kO2][c - 1];
}

void LineMorph::Close_Cell()
{
    if (selectedCell <= firstRib || selectedCell > lastRib)
        return;
    dynIndex[kO2][selectedCell - 1] = dynIndex[kO1][selectedCell - 1];
    Row_Points(kO2);
}

void LineMorph::Open_Cell()
{
    if (selectedCell <= firstRib || selectedCell > lastRib)
        return;
    // A centre index that names no airfoil point opens nothing.
    const int centre = design->rowCentreIndex[kO2];
    if (centre < 0 || centre > kNoLinePoint)
        return;
    dynIndex[kO2][selectedCell - 1] = centre;
    Row_Points(kO2);
}

void LineMorph::SaveChangesOnExit()
{
    // The rows' own places (dynLineIndex) are derived from their percents
    // by the recompute that commits the edit.
    for (int r = 0; r < kLineRows; ++r) {
        design->wingFlexPercent[r] = winflexWork[r];
        for (int j = 0; j <= lastRib; ++j)
            design->lineIndex[r][j] = dynIndex[r][j];
    }
}

// ---------------------------------------------------------------- menu

QMenu* LineMorph::Cell_Menu(int c)
{
    const QString label = QStringLiteral("cell: <%1-%2>").arg(c - 1).arg(c);
    auto* menu = new QMenu(this);
    const QString texts[] = {QStringLiteral(" close/open cells "), QStringLiteral(" Close") + label,
                             QStringLiteral(" Open ") + label, QStringLiteral(" ..............."),
                             QStringLiteral(" RESTORE VIEW   ")};
    for (int entry = kMenuTitle; entry <= kMenuRestore; ++entry) {
        QAction* action = menu->addAction(texts[entry]);
        action->setData(entry);
        action->setEnabled(entry != kMenuTitle && entry != kMenuDots);
    }
    return menu;
}

void LineMorph::ShowContextMenu(const QPoint& pos)
{
    selectedCell = getSelected_CELL(lastPos);
    if (selectedCell < 1)
        return;
    QMenu* menu = Cell_Menu(selectedCell);
    const QAction* chosen = Popup_Menu(menu, mapToGlobal(pos));
    if (chosen)
        Action_From_Menu(pos, chosen->data().toInt());
    delete menu;
    update();
}

void LineMorph::Action_From_Menu(QPoint, int entry)
{
    switch (entry) {
    case kMenuClose:
        emit to_close_cell();
        break;
    case kMenuOpen:
        emit to_open_cell();
        break;
    case kMenuRestore:
        Restore_View();
        break;
    default:
        break;
    }
    update();
}

QRectF LineMorph::planExtent() const
{
    // The plan from the leading to the trailing edge and from the centre to
    // the tip, with the row letters left of it and the rib numbers below.
    const QRectF plan = QRectF(planPoints[0], QPointF(planPoints[3].x(), planPoints[4].y())).normalized();
    if (plan.isEmpty())
        return QRectF();
    return plan.adjusted(-50, -10, 20, 30);
}

QRectF LineMorph::viewArea() const
{
    // Below the header line of the current row and point.
    return QRectF(rect()).adjusted(10, 60, -10, -10);
}

void LineMorph::Restore_View()
{
    // The whole plan in the view, every row in sight whichever is current;
    // no larger than the wheel's largest zoom.
    const QRectF plan = planExtent();
    if (plan.isEmpty() || viewArea().isEmpty()) {
        zoom = 1.0;
        panX = 0.1 * width();
        panY = -0.5 * height();
        return;
    }
    const ViewFit fit = Fit_In(plan, viewArea(), 2.0);
    zoom = fit.zoom;
    panX = fit.offset.x();
    panY = fit.offset.y();
}

void LineMorph::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The dialog restored or maximized: the plan fitted to the new size.
    Restore_View();
}

// ---------------------------------------------------------------- input

bool LineMorph::canMoveSelection() const
{
    return selectedButton >= 0 && currentRib >= firstRib;
}

void LineMorph::mousePressEvent(QMouseEvent* event)
{
    dragging = true;
    selectedButton = -1;
    lastPos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        selectedButton = getSelected_button(event->position());
        currentRib = selectedButton >= 0 ? selectedButton % kRibSlots : -1;
    }
    update();
}

void LineMorph::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging)
        return;
    const QPoint pos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        if (selectedButton < 0)
            return;
        if (canMoveSelection())
            MoveSelectedPoint(selectedButton, pos.y() - lastPos.y());
    } else if (event->buttons() & Qt::MiddleButton) {
        panX += pos.x() - lastPos.x();
        panY += pos.y() - lastPos.y();
    }
    lastPos = pos;
    update();
}

void LineMorph::mouseReleaseEvent(QMouseEvent*)
{
    dragging = false;
    update();
}

void LineMorph::wheelEvent(QWheelEvent* event)
{
    zoom = std::clamp(zoom * std::pow(2.0, event->angleDelta().y() / 960.0), 0.25, 2.0);
    update();
}

void LineMorph::keyPressEvent(QKeyEvent* event)
{
    if (canMoveSelection()) {
        if (event->key() == Qt::Key_Up)
            MoveSelectedPoint(selectedButton, -1);
        else if (event->key() == Qt::Key_Down)
            MoveSelectedPoint(selectedButton, 1);
    }
    update();
}

// ---------------------------------------------------------------- drawing

void LineMorph::transformPainter(QPainter& painter) const
{
    painter.translate(panX, panY);
    painter.scale(zoom, zoom);
}

void LineMorph::paintEvent(QPaintEvent*)
{
    if (design->ribAirfoils[0].isEmpty())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // The painter's default black pen would not show on the black ground.
    painter.setPen(Qt::white);
    painter.drawText(QPointF(int(0.3 * width()), 50), QStringLiteral(" current Line:%1  Rib:%2  button:%3")
                                                          .arg(currentRow)
                                                          .arg(currentRib)
                                                          .arg(selectedButton));
    transformPainter(painter);
    painter.save();
    drawCoordinates(painter);
    PaintLineMorph(painter);
    Paint_Line_Rib_Buttons(painter);
    Morphed_Lines(painter);
    painter.restore();
}

void LineMorph::drawCoordinates(QPainter& painter) const
{
    const int x0 = int(planPoints[0].x()), x1 = int(planPoints[3].x());
    const int y0 = int(planPoints[0].y()), y1 = int(planPoints[4].y());
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(x0, y0), QPointF(x1, y1)));
    painter.setPen(cosmetic(Qt::green));
    painter.setBrush(Qt::green);
    for (int c = std::max(firstRib, 0) + 1; c <= lastRib; ++c)
        if (Cell_Closed(c))
            painter.drawRect(QRectF(QPointF(design->ribSpanPos[c - 1], y0), QPointF(design->ribSpanPos[c], y1)));
    painter.setBrush(Qt::NoBrush);
}

void LineMorph::PaintLineMorph(QPainter& painter) const
{
    QFont f = painter.font();
    f.setBold(true);
    f.setItalic(false);
    f.setPointSize(10);
    painter.setFont(f);
    painter.setPen(cosmetic(Qt::red));
    painter.drawPolyline(frontCurve);
    painter.drawPolyline(rearCurve);
    const int y = int(planPoints[4].y());
    painter.drawLine(QPointF(0, y), QPointF(1000, y));
}

void LineMorph::Paint_Line_Rib_Buttons(QPainter& painter) const
{
    painter.setPen(cosmetic(Qt::white));
    for (int j = 0; j <= lastRib; ++j) {
        const int id = currentRow * kRibSlots + j;
        if (currentRow < 0 || currentRow >= kLineRows || !valid[id])
            continue;
        if (id == selectedButton) {
            painter.setBrush(Qt::red);
            painter.drawEllipse(buttonPos[id], 7, 7);
            painter.setBrush(Qt::white);
            painter.drawEllipse(buttonPos[id], 2, 2);
        } else {
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(buttonPos[id], 5, 5);
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void LineMorph::Morphed_Lines(QPainter& painter) const
{
    for (int j = 0; j <= lastRib; ++j) {
        const double x = std::round(design->ribSpanPos[j]);
        painter.drawLine(QPointF(x, design->trailingEdgeX[j]), QPointF(x, design->leadingEdgeX[j]));
        if (j >= 1)
            painter.drawText(QPointF(x + labelDx, design->trailingEdgeX[j] + labelDy), QString::number(j));
    }
    for (int r = 0; r < kLineRows; ++r) {
        painter.setPen(QPen(Qt::white, 1));
        if (valid[r * kRibSlots])
            painter.drawText(buttonPos[r * kRibSlots] - QPointF(40, 0), LineLetter(r));
        QPolygonF row;
        for (int j = 0; j <= lastRib; ++j)
            if (valid[r * kRibSlots + j])
                row.append(buttonPos[r * kRibSlots + j]);
        painter.setPen(QPen(r == currentRow ? Qt::red : Qt::white, 1));
        painter.drawPolyline(row);
    }
    painter.setPen(cosmetic(Qt::cyan, Qt::DotLine));
    for (int r = 0; r < kLineRows; ++r) {
        QPolygonF reference;
        QPointF p;
        for (int j = 0; j <= lastRib; ++j)
            if (Line_Point_Plan(design, j, design->rowCentreIndex[r], &p))
                reference.append(p);
        painter.drawPolyline(reference);
    }
}
