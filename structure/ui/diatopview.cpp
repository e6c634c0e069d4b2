#include "structure/ui/diatopview.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "core/viewfit.h"
#include "structure/diagonals.h"
#include "structure/diagplane.h"
#include "structure/structfun.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHitDistance = 10;
constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 3.0;
const QPointF kHome(40, kPlaneHeight / 4);

} // namespace

DiaTopView::DiaTopView(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    setAttribute(Qt::WA_StyledBackground, true);
}

QPointF DiaTopView::foilPoint(int i) const
{
    return i >= 0 && i < foil.size() ? foil.at(i) : QPointF();
}

QPointF DiaTopView::upperPointOnScreen(int i) const
{
    return pan + z * upperPoints[i];
}

void DiaTopView::refreshPoints()
{
    for (int i = 0; i < 8; ++i) {
        lowerPoints[i] = foilPoint(L[i]);
        upperPoints[i] = foilPoint(U[i]);
    }
}

// The view's indexes are the design's: every change is stored at once, so
// a moved point stays even when the dialog is cancelled.
void DiaTopView::commit()
{
    update_Diagonal_Main(design, L, U);
}

QRectF DiaTopView::drawingExtent() const
{
    // The airfoil with the row letters under its lower side and the marks
    // around its points.
    if (foil.isEmpty())
        return QRectF();
    return foil.boundingRect().adjusted(-12, -12, 12, 28);
}

void DiaTopView::homeView()
{
    // The whole airfoil with its letters in the view, at full size when it
    // fits (the left edge where it always was), smaller when it does not.
    z = 1.0;
    pan = kHome;
    const QRectF drawing = drawingExtent();
    const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
    if (drawing.isEmpty() || area.isEmpty())
        return;
    const ViewFit fit = Fit_In(drawing, area.adjusted(kHome.x() - 8, 0, 0, 0), 1.0, FitAlign::Left);
    z = std::max(fit.zoom, kMinZoom);
    pan = fit.offset;
}

void DiaTopView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    homeView();
}

void DiaTopView::readyView()
{
    selected = -1;
    foil = Plane_Work_Airfoil(design);
    homeView();
    Plane_Read_Indexes(design, L, U);
    startIndex = design->diagStartIndexA;
    endIndex = design->diagStartIndexB;
    refreshPoints();
    if (!foil.isEmpty())
        commit();
}

void DiaTopView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    readyView();
    update();
}

void DiaTopView::Set_Bottom_Width()
{
    Plane_Bottom_Width(design, L);
    refreshPoints();
    if (!foil.isEmpty())
        commit();
    Generate_All_Diagonals(design);
    repaint();
}

void DiaTopView::moveSelected(QPointF delta)
{
    if (selected < 0 || foil.isEmpty())
        return;
    // The pixel step is taken as a step of the model: at zoom 2 the point
    // runs twice the pointer's way.
    U[selected] = Plane_Move_Upper(design, foil, upperPoints[selected] + delta);
    upperPoints[selected] = foilPoint(U[selected]);
    commit();
}

void DiaTopView::mousePressEvent(QMouseEvent* event)
{
    if (dragging)
        return;
    dragging = true;
    lastMouse = event->pos();
    if (event->button() == Qt::LeftButton) {
        const QPointF m = (QPointF(event->pos()) - pan) / z;
        selected = -1;
        for (int i = 0; i < 8; ++i) {
            if (Dist2(m, upperPoints[i]) < kHitDistance) {
                selected = i;
                break;
            }
        }
    } else if (event->button() == Qt::RightButton) {
        homeView();
        repaint();
    }
}

void DiaTopView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging)
        return;
    const QPoint d = event->pos() - lastMouse;
    lastMouse = event->pos();
    if (event->buttons() & Qt::LeftButton) {
        if (selected < 0)
            return;
        moveSelected(d);
        repaint();
        emit back_to_dialog();
    } else if (event->buttons() & Qt::MiddleButton) {
        pan += d;
        repaint();
    }
}

void DiaTopView::mouseReleaseEvent(QMouseEvent*)
{
    dragging = false;
    emit back_to_dialog();
    repaint();
}

void DiaTopView::wheelEvent(QWheelEvent* event)
{
    z = std::clamp(z * std::pow(2.0, event->angleDelta().y() / 360.0), kMinZoom, kMaxZoom);
    repaint();
}

void DiaTopView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Left)
        moveSelected(QPointF(-1, 0));
    else if (event->key() == Qt::Key_Right)
        moveSelected(QPointF(1, 0));
    else {
        QWidget::keyPressEvent(event);
        return;
    }
    repaint();
}

void DiaTopView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(0, 0, 80, 200));
    painter.setBrush(gradient);
    painter.drawRect(rect());
    if (foil.isEmpty())
        return;

    painter.translate(pan);
    painter.scale(z, z);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0));
    for (int p = 0; p < foil.size(); ++p) {
        const int row = getLineIndex(design, p, design->firstRib);
        if (row < 0)
            continue;
        painter.drawEllipse(foil[p], 2, 4);
        painter.drawText(foil[p] + QPointF(-5, 20), LineLetter(row));
    }
    painter.setPen(QPen(Qt::red, 1));
    painter.drawPolygon(foil);

    painter.setBrush(Qt::black);
    for (const QPointF& q : lowerPoints)
        painter.drawEllipse(q, 4, 4);
    for (int i = 0; i < 8; ++i) {
        painter.setBrush(i == selected ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
        painter.drawEllipse(upperPoints[i], 8, 8);
    }

    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::black);
    const QPointF start = foilPoint(startIndex);
    const QPointF end = foilPoint(endIndex);
    painter.drawEllipse(start, 3, 6);
    painter.drawEllipse(end, 3, 6);
    painter.drawText(start, QStringLiteral("S"));
    painter.drawText(end, QStringLiteral("E"));

    painter.setPen(QPen(Qt::red, 1));
    for (int i = 0; i < 8; ++i)
        painter.drawLine(lowerPoints[i], upperPoints[i]);
    painter.setPen(QPen(Qt::red, 0));
    painter.setBrush(Qt::lightGray);
    for (int j = 0; j < 4; ++j)
        painter.drawPolygon(QPolygonF({lowerPoints[2 * j], lowerPoints[2 * j + 1], upperPoints[2 * j + 1],
                                       upperPoints[2 * j]}));
}
