#include "structure/ui/dmodelview.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "core/viewfit.h"
#include "structure/diagmodel.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kHitDistance = 10;
constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 4.0;
constexpr double kPointDiameter = 18;
constexpr double kFitMargin = 10;

} // namespace

DModelView::DModelView(QWidget* parent)
    : QWidget(parent), design(GetDataStruct()), fits([this] { return fitModel(); })
{
    setAttribute(Qt::WA_StyledBackground, true);
    Load_Model();
}

void DModelView::Load_Model()
{
    const Triang& t = design->diagModelTriangle;
    corner = t.cornerCount;
    offsetMm = t.offsetMm;
    count = t.holeCount;
    // An invalid model keeps the apex it last had; a model read from a file
    // has it in its triangle.
    apexPoint = t.corner[2];
    QPointF x;
    valid = Diagonal_Model_Apex(design, &x);
    fits.drawingReady(this);
    update();
}

QRectF DModelView::drawingExtent() const
{
    const QPointF* p = design->diagModelPoints;
    QRectF extent;
    const QFontMetricsF metrics(font());
    for (int i = 0; i < 12; ++i) {
        // The ring around the point and room for its number beside it (the
        // number keeps its size whatever the zoom: a zoom near 1 is taken).
        const QString number = QStringLiteral(" %1").arg(i);
        extent |= QRectF(p[i] - QPointF(kPointDiameter / 2, kPointDiameter / 2),
                         QSizeF(kPointDiameter, kPointDiameter));
        extent |= QRectF(p[i] + QPointF(kPointDiameter / 2, -metrics.ascent()),
                         QSizeF(metrics.horizontalAdvance(number), metrics.height()));
    }
    extent |= design->diagModelTriangle.outline.boundingRect();
    if (valid) {
        extent |= QRectF(apexPoint, QSizeF(0, 0));
        for (const QPolygonF& hole : design->diagModelPolys)
            extent |= hole.boundingRect();
    }
    return extent;
}

bool DModelView::fitModel()
{
    const QRectF drawing = drawingExtent();
    if (!(drawing.width() > 0) || !(drawing.height() > 0))
        return false;
    const QRectF area = QRectF(rect()).adjusted(kFitMargin, kFitMargin, -kFitMargin, -kFitMargin);
    const ViewFit fit = Fit_In(drawing, area, kMaxZoom);
    z = std::max(fit.zoom, kMinZoom);
    pan = area.center() - z * drawing.center();
    update();
    return true;
}

void DModelView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    fits.shown(this, event);
}

void DModelView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    fits.hidden(this);
}

void DModelView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fits.resized(this);
}

void DModelView::storeModel()
{
    valid = Store_Diagonal_Model(design, corner, offsetMm, count, &apexPoint);
}

void DModelView::set_box_values(int c, int offset, int n)
{
    corner = c;
    offsetMm = 4 * offset;
    count = n;
    storeModel();
    fits.drawingReady(this);
    repaint();
}

void DModelView::set_default_diagonal()
{
    Diagonal_Model_Default(design);
    storeModel();
    fits.drawingReady(this);
    if (valid)
        repaint();
}

void DModelView::set_lines_apply(bool on)
{
    design->diagModelFlags[0] = on;
    if (valid)
        repaint();
}

void DModelView::moveHeightPoints(double, double dy)
{
    // The height points move together and only up or down; a sideways step
    // changes nothing.
    if (selected != 6 && selected != 7)
        return;
    Move_Model_Height(design, dy);
    storeModel();
}

void DModelView::mousePressEvent(QMouseEvent* event)
{
    if (dragging)
        return;
    dragging = true;
    selected = -1;
    lastMouse = event->pos();
    if (event->button() == Qt::LeftButton) {
        const QPointF m = (QPointF(event->pos()) - pan) / z;
        for (int i : {6, 7}) {
            if (Dist2(m, design->diagModelPoints[i]) < kHitDistance) {
                selected = i;
                break;
            }
        }
    } else if (event->button() == Qt::RightButton) {
        pan = QPointF();
        z = 1.0;
        fits.userMoved();
    }
    repaint();
}

void DModelView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging)
        return;
    const QPoint d = event->pos() - lastMouse;
    lastMouse = event->pos();
    if (event->buttons() & Qt::LeftButton) {
        moveHeightPoints(d.x(), d.y());
        repaint();
    } else if (event->buttons() & Qt::MiddleButton) {
        pan += d;
        fits.userMoved();
        repaint();
    }
}

void DModelView::mouseReleaseEvent(QMouseEvent*)
{
    dragging = false;
    repaint();
}

void DModelView::wheelEvent(QWheelEvent* event)
{
    z = std::clamp(z * std::pow(2.0, event->angleDelta().y() / 360.0), kMinZoom, kMaxZoom);
    fits.userMoved();
    repaint();
}

void DModelView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up: moveHeightPoints(0, -1); break;
    case Qt::Key_Down: moveHeightPoints(0, 1); break;
    case Qt::Key_Left: moveHeightPoints(-1, 0); break;
    case Qt::Key_Right: moveHeightPoints(1, 0); break;
    default: QWidget::keyPressEvent(event); return;
    }
    update();
}

void DModelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(pan);
    painter.scale(z, z);
    const QPointF* p = design->diagModelPoints;

    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    for (int i = 0; i < 12; ++i) {
        if (i == selected)
            painter.setBrush(Qt::white);
        else if (i == 6 || i == 7)
            painter.setBrush(Qt::blue);
        else
            painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(p[i], kPointDiameter / 2, kPointDiameter / 2);
    }
    painter.setBrush(Qt::NoBrush);
    // The numbers at the font's own size, whatever the zoom: beside the
    // ring, not under the line through it.
    painter.save();
    painter.resetTransform();
    painter.setPen(Qt::black);
    for (int i = 0; i < 12; ++i)
        painter.drawText(pan + z * p[i] + QPointF(z * kPointDiameter / 2, 0), QStringLiteral(" %1").arg(i));
    painter.restore();

    painter.setPen(QPen(Qt::blue, 0, Qt::DotLine));
    const int lines[7][2] = {{0, 1}, {10, 1}, {0, 11}, {0, 4}, {3, 1}, {2, 7}, {5, 6}};
    for (const auto& l : lines)
        painter.drawLine(p[l[0]], p[l[1]]);

    if (valid) {
        painter.setPen(QPen(Qt::blue, 0, Qt::DotLine));
        painter.drawLine(p[2], apexPoint);
        painter.drawLine(p[5], apexPoint);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::darkRed);
        painter.drawEllipse(apexPoint, 2, 2);
        painter.setBrush(Qt::NoBrush);
    }

    painter.setPen(QPen(Qt::black, 0));
    painter.drawPolygon(design->diagModelTriangle.outline);

    if (valid) {
        painter.setPen(QPen(Qt::red, 1));
        painter.setBrush(Qt::white);
        for (const QPolygonF& hole : design->diagModelPolys)
            painter.drawPolygon(hole);
    }
}
