#include "lines/ui/midlinedit.h"

#include "core/transf.h"
#include "core/viewfit.h"
#include "lines/linemorphing.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDrawingScale = 560.0;    // drawing units per chord
constexpr double kDrawingLE = 40.0;        // x of the leading edge
constexpr double kPickDistance = 7.0;      // drawing units
constexpr double kKeyStep = 2.0;           // pixels per Left/Right key
constexpr double kLargestFit = 2.5;        // a wide view shows the table no larger

QPen cosmetic(const QColor& color, Qt::PenStyle style)
{
    QPen pen(color, 0, style);
    pen.setCosmetic(true);
    return pen;
}

void drawBoxedText(QPainter* painter, const QRectF& box, const QPen& boxPen, const QPen& textPen,
                   const QString& text)
{
    painter->setPen(boxPen);
    painter->drawRect(box);
    painter->setPen(textPen);
    painter->drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

MidLinEdit::MidLinEdit(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
}

void MidLinEdit::Set_LineSequence(bool anyOrder)
{
    anySequence = anyOrder;
}

void MidLinEdit::init_Airfoil_Poly()
{
    foil = Centre_Foil_Drawing(design);
}

void MidLinEdit::RepairLinePoints()
{
    for (int k = 0; k < kLineRows; ++k) {
        rowPoints[k] = foil.at(FindPolyIndex(&foil, rowPoints[k]));
        design->rowMarkers[k] = rowPoints[k];
    }
}

void MidLinEdit::Update_Row_Indexes()
{
    for (int k = 0; k < kLineRows; ++k)
        design->rowMarkers[k] = rowPoints[k];
    design->Setup_LineIndProc();
}

int MidLinEdit::SelectPoint(QPoint pointer) const
{
    if (foil.isEmpty())
        return -1;
    const QPointF p((pointer.x() - panX) / zoom, (pointer.y() - panY) / zoom);
    for (int k = 0; k < kLineRows; ++k)
        if (Dist2(foil.at(FindPolyIndex(&foil, rowPoints[k])), p) < kPickDistance)
            return k;
    return -1;
}

void MidLinEdit::move_points(double dx, double dy)
{
    const int s = selected;
    if (s < 0 || s >= kLineRows || foil.isEmpty())
        return;
    const QPointF p = rowPoints[s] + QPointF(dx, dy);
    const int nose = std::clamp(design->noseIndex[std::clamp(design->firstRib, 0, kAirfoilSlots - 1)], 0, 999);
    const QPointF q = pointOnDwFoil(foil, nose, p);
    const int k = FindPolyIndex(&foil, q);
    if (k >= 998)
        return;
    const QPointF v = foil.at(k);
    const int index = design->Find_PntIndex(v, 'D', design->ribAirfoils[0]);
    // A vertex beyond the lower surface of rib 0 has no index to give the row.
    if (index < 0)
        return;
    rowIndexCopy[s] = index;
    if (!anySequence && !testABCDE(rowIndexCopy))
        return;
    rowPoints[s] = v;
    moved[s] = true;
    Update_Row_Indexes();
}

QRectF MidLinEdit::contentExtent() const
{
    // The table of row positions with its heading (x 70 .. 745 from y -180)
    // and the centre rib's airfoil below it with the row letters (the chord
    // from x 40, 560 long).
    return QRectF(QPointF(kDrawingLE - 10, -190), QPointF(70 + 75 * kLineRows + 5, 100));
}

void MidLinEdit::Restore_View()
{
    panX = 40.0;
    panY = kViewHeight / 4;
    zoom = 1.0;
    // The table and the foil whole across the view from its top, scaled
    // down in a narrow view and up in a wide one (a maximized window), the
    // lines' fan below them.
    const QRectF content = contentExtent();
    const QRectF area = QRectF(rect()).adjusted(10, 10, -10, -10);
    if (area.isEmpty())
        return;
    const ViewFit fit = Fit_In(content, area, kLargestFit, FitAlign::Top);
    zoom = fit.zoom;
    panX = fit.offset.x();
    panY = fit.offset.y();
}

void MidLinEdit::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Restore_View();
}

// ---------------------------------------------------------------- events

void MidLinEdit::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    Restore_View();
    init_Airfoil_Poly();
    for (int k = 0; k < kLineRows; ++k)
        rowPoints[k] = design->rowMarkers[k];
    if (!foil.isEmpty())
        RepairLinePoints();
    for (int k = 0; k < kLineRows; ++k)
        design->rowMarkers[k] = rowPoints[k];
    update();
}

void MidLinEdit::mousePressEvent(QMouseEvent* event)
{
    if (dragging)
        return;
    dragging = true;
    selected = -1;
    lastPos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        selected = SelectPoint(lastPos);
        std::copy(std::begin(design->rowCentreIndex), std::end(design->rowCentreIndex), rowIndexCopy);
    } else if (event->button() == Qt::RightButton) {
        Restore_View();
    }
    update();
}

void MidLinEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging)
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint d = pos - lastPos;
    if (event->buttons() & Qt::LeftButton) {
        move_points(d.x(), d.y());
        update();
    } else if (event->buttons() & Qt::MiddleButton) {
        panX += d.x();
        panY += d.y();
        update();
    }
    lastPos = pos;
}

void MidLinEdit::mouseReleaseEvent(QMouseEvent*)
{
    dragging = false;
    const int s = selected;
    if (s < 0 || s >= kLineRows || !moved[s])
        return;
    const int index = design->Find_PntIndex(design->rowMarkers[s], 'D', design->ribAirfoils[0]);
    if (index >= 0) {
        design->rowCentreIndex[s] = index;
        design->Ribs_VirtualLineInd();
        design->Create_WingFlexLines(s);
    }
    moved[s] = false;
}

void MidLinEdit::wheelEvent(QWheelEvent* event)
{
    zoom = std::clamp(zoom * std::pow(2.0, event->angleDelta().y() / 360.0), 0.5, 10.0);
    update();
}

void MidLinEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Left)
        move_points(-kKeyStep, 0);
    else if (event->key() == Qt::Key_Right)
        move_points(kKeyStep, 0);
    update();
}

// ---------------------------------------------------------------- drawing

void MidLinEdit::transformPainter(QPainter& painter) const
{
    painter.translate(panX, panY);
    painter.scale(zoom, zoom);
}

void MidLinEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint_widget_frame(painter);
    transformPainter(painter);
    painter.save();
    paintMidFoil(painter);
    Paint_ABCD_Lines(painter);
    painter.restore();
    pp_Line_Positions(design, &painter);
}

void MidLinEdit::paint_widget_frame(QPainter& painter) const
{
    QLinearGradient gradient(QPointF(0, 0), QPointF(width() - 1, height() - 1));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(0, 0, 80, 200));
    painter.fillRect(rect(), gradient);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
}

void MidLinEdit::paintMidFoil(QPainter& painter) const
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(foil);
}

void MidLinEdit::Paint_ABCD_Lines(QPainter& painter) const
{
    for (int k = 0; k < kLineRows; ++k) {
        const QPointF p = rowPoints[k];
        painter.setPen(QPen(Qt::blue, 1));
        painter.drawEllipse(p, 6 / zoom, 6 / zoom);
        if (k == selected) {
            painter.setPen(QPen(Qt::red, 2));
            painter.drawEllipse(p, 4 / zoom, 4 / zoom);
        }
        painter.drawText(p + QPointF(0, 25), LineLetter(k));
    }
}

void pp_Line_Positions(const ParaStruct* d, QPainter* painter)
{
    const QPolygonF& rib0 = d->ribAirfoils[0];
    if (rib0.isEmpty())
        return;
    const double c = d->R_X(d->chord[0]);
    const QPointF te = rib0.at(0);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(cosmetic(Qt::black, Qt::DashLine));
    painter->drawLine(QPointF(-260, 0), QPointF(kDrawingScale * te.x() + kDrawingLE + 300, -kDrawingScale * te.y()));
    painter->setPen(cosmetic(Qt::red, Qt::DashLine));
    const double meta = kDrawingLE + kDrawingScale * d->metaCentre;
    painter->drawLine(QPointF(meta, -250), QPointF(meta, 3000));
    const bool scaled = c > 0;
    const double hang = scaled ? kDrawingScale * d->hangHeight / c : 0;
    if (scaled) {
        painter->setPen(QPen(Qt::blue, 1, Qt::DashLine));
        painter->drawLine(QPointF(0, hang), QPointF(1000, hang));
    }

    const QPen black2(Qt::black, 2);
    const QPen blue2(Qt::blue, 2);
    painter->setPen(black2);
    painter->drawText(QRectF(70, -180, 600, 30), Qt::AlignLeft | Qt::AlignTop,
                      QStringLiteral("INITIAL LINES POSITIONS IN % from LE"));
    for (int k = 0; k < kLineRows; ++k) {
        const double x = 70 + 75 * k;
        drawBoxedText(painter, QRectF(x, -150, 75, 30), blue2, blue2, QStringLiteral("  %1").arg(LineLetter(k)));
        drawBoxedText(painter, QRectF(x, -120, 75, 30), blue2, black2,
                      QStringLiteral(" %1").arg(d->rowPercent[k], 4, 'f', 2) + QStringLiteral("%"));
    }

    const QPointF o1 = d->rowMarkers[0], o2 = d->rowMarkers[1];
    const double angle = std::atan2(o2.y() - o1.y(), o2.x() - o1.x()) * 180 / 3.141592653;
    painter->setPen(QPen(Qt::red, 1));
    painter->drawText(QRectF(70, -90, 375, 30), Qt::AlignLeft | Qt::AlignTop,
                      QStringLiteral("opening incidence angle: %1").arg(angle, 4, 'f', 2) + QStringLiteral(" deg"));
    if (!scaled)
        return;
    const QPointF hanging(kDrawingLE + kDrawingScale * d->legaX / c, hang);
    for (int k = 2; k <= 7; ++k)
        painter->drawLine(d->rowMarkers[k], hanging);
}
