#include "structure/ui/dcrossport_edit.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "core/viewfit.h"
#include "structure/diagonals.h"
#include "structure/diagshape.h"
#include "structure/structfun.h"
#include "structure/ui/painterfont.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 3.0;
const QPointF kHome(0, 0.17 * 768);
const QPointF kSheetOrigin(512, 50);
// A fit leaves the heading line free and room around for the labels.
constexpr double kHeadingBand = 35;
constexpr double kFitMargin = 12;

// Flat points are drawn turned: the bottom edge runs down the left side.
QPointF sheet(QPointF p)
{
    return Sym_YX(p) + kSheetOrigin;
}

QPolygonF sheet(const QPolygonF& poly)
{
    QPolygonF out;
    out.reserve(poly.size());
    for (const QPointF& p : poly)
        out.append(sheet(p));
    return out;
}

} // namespace

DiaCrossPort::DiaCrossPort(QWidget* parent)
    : QWidget(parent), design(GetDataStruct()), pan(kHome), largestZoom(kMaxZoom),
      fits([this] { return fitDiagonal(); })
{
    setAttribute(Qt::WA_StyledBackground, true);
}

// The shown diagonal follows the list as it is now: a regeneration, a new
// bottom width or a new model shows at once.
void DiaCrossPort::rebuild()
{
    const int k = diagCurrent;
    showing = k >= 0 && k < design->diagonals.size() && !design->ribAirfoils[0].isEmpty();
    if (k >= 0 && k < design->diagonals.size())
        shown = design->diagonals.at(k);
    if (showing)
        Create_Diagonal_2D3D(*design, &shown);
}

void DiaCrossPort::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    rebuild();
    fits.shown(this, event);
}

void DiaCrossPort::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    fits.hidden(this);
}

void DiaCrossPort::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fits.resized(this);
}

QRectF DiaCrossPort::drawingExtent() const
{
    if (!showing)
        return QRectF();
    QRectF extent = sheet(shown.flatOutline).boundingRect();
    for (int k = 0; k < 8; ++k) {
        extent |= QRectF(sheet(shown.first.flatPoints[k]), QSizeF(0, 0));
        extent |= QRectF(sheet(shown.second.flatPoints[k]), QSizeF(0, 0));
    }
    for (const QPointF& c : shown.flatControls)
        extent |= QRectF(sheet(c), QSizeF(0, 0));
    // The tab widths are written from their points to the right and up.
    return extent.adjusted(-4, -10, 20, 4);
}

bool DiaCrossPort::fitDiagonal()
{
    const QRectF drawing = drawingExtent();
    if (drawing.isEmpty())
        return false;
    const QRectF area = QRectF(rect()).adjusted(kFitMargin, kHeadingBand, -kFitMargin, -kFitMargin);
    const ViewFit fit = Fit_In(drawing, area);
    z = std::max(fit.zoom, kMinZoom);
    largestZoom = std::max(kMaxZoom, z);
    pan = area.center() - z * drawing.center();
    update();
    return true;
}

void DiaCrossPort::set_current_diagonal(int id)
{
    if (design->diagonals.isEmpty() || id < 0)
        return;
    const int k = std::min(id, int(design->diagonals.size()) - 1);
    diagCurrent = k;
    rebuild();
    fits.drawingReady(this);
    repaint();
}

void DiaCrossPort::Recreate_diagonals()
{
    Generate_All_Diagonals(design);
    rebuild();
    fits.drawingReady(this);
    repaint();
}

void DiaCrossPort::Refresh_DiaCrossPort()
{
    diagCurrent = 0;
    rebuild();
    fits.drawingReady(this);
    repaint();
}

QStringList DiaCrossPort::tabWidthLabels() const
{
    QStringList labels;
    const QPointF* A = shown.first.flatPoints;
    for (int k = 0; k < 8; k += 2)
        labels << QString::number(1000 * design->R_X(Dist2(A[k], A[k + 1])), 'f', 0);
    return labels;
}

void DiaCrossPort::mousePressEvent(QMouseEvent* event)
{
    if (!dragging) {
        dragging = true;
        lastMouse = event->pos();
        if (event->button() == Qt::RightButton) {
            pan = kHome;
            z = 1.0;
            fits.userMoved();
        }
    }
    repaint();
}

void DiaCrossPort::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging)
        return;
    const QPoint d = event->pos() - lastMouse;
    lastMouse = event->pos();
    if (event->buttons() & Qt::MiddleButton) {
        pan += d;
        fits.userMoved();
        repaint();
    }
}

void DiaCrossPort::mouseReleaseEvent(QMouseEvent*)
{
    dragging = false;
    repaint();
}

void DiaCrossPort::wheelEvent(QWheelEvent* event)
{
    z = std::clamp(z * std::pow(2.0, event->angleDelta().y() / 360.0), kMinZoom, largestZoom);
    fits.userMoved();
    repaint();
}

void DiaCrossPort::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPointSize(10);
    font.setWeight(QFont::Normal);
    painter.setFont(font);
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(100, 0, 0, 200));
    painter.setBrush(gradient);
    painter.drawRect(rect());
    painter.drawText(QPointF(200, 25), QStringLiteral("rib: %1  [%2%]  -->  rib: %3 [%4%] ")
                                           .arg(shown.first.rib)
                                           .arg(shown.first.heightPercent)
                                           .arg(shown.second.rib)
                                           .arg(shown.second.heightPercent));
    if (!showing)
        return;

    painter.translate(pan);
    painter.scale(z, z);
    const QPointF* A = shown.first.flatPoints;
    const QPointF* B = shown.second.flatPoints;

    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    for (const QPolygonF& hole : shown.flatHoles)
        painter.drawPolygon(sheet(hole));

    for (int k = 0; k < 8; ++k) {
        painter.drawEllipse(sheet(A[k]), 1, 1);
        painter.drawEllipse(sheet(B[k]), 2, 2);
    }
    setMyFont(6, false, false, &painter);
    const QStringList widths = tabWidthLabels();
    for (int k = 0; k < 4; ++k)
        painter.drawText(sheet(A[2 * k]), widths[k]);

    painter.setPen(QPen(Qt::green, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(sheet(shown.flatOutline));

    painter.setPen(QPen(Qt::darkRed, 0, Qt::DotLine));
    for (int k = 0; k < 7; ++k)
        painter.drawPolygon(QPolygonF({sheet(A[k]), sheet(A[k + 1]), sheet(B[k + 1]), sheet(B[k])}));

    painter.setPen(QPen(Qt::blue, 1));
    for (const QPointF& c : shown.flatControls)
        painter.drawEllipse(sheet(c), 2, 2);
}
