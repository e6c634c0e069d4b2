#include "structure/ui/stripes_edit.h"

#include "core/curves.h"
#include "core/transf.h"
#include "structure/structfun.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFirstStrapRow = 2;         // rows A..G carry straps
constexpr double kHitDistance = 9.0;      // pixels, Manhattan

QPen cosmetic(const QColor& color, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(color, 0, style);
    pen.setCosmetic(true);
    return pen;
}

// The plan-view point of airfoil point `index` on rib `rib`.
bool planPoint(const ParaStruct* d, int rib, int index, QPointF* out)
{
    const QPolygonF& foil = d->ribAirfoils[rib];
    if (index < 0 || index >= foil.size())
        return false;
    *out = QPointF(d->ribSpanPos[rib], d->leadingEdgeX[rib] + foil.at(index).x() * d->chord[rib]);
    return true;
}

} // namespace

StripesEdit::StripesEdit(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    const QFontMetrics fm(font());
    textDx = fm.horizontalAdvance(QStringLiteral("x")) / 2.0;
    textDy = fm.boundingRect(QStringLiteral("y")).height();
}

void StripesEdit::Restore_View()
{
    zoom = 1.0;
    pan = QPointF(0, -height() / 2.0);
}

void StripesEdit::init_LineRibs()
{
    selectedButton = currentRow = currentRib = -1;
    Restore_View();
    design->GetCanopyPos(planPoints);
    firstRib = std::clamp(design->firstRib, 0, kRibSlots - 1);
    lastRib = std::clamp(design->lastRib, 0, kRibSlots - 1);
    frontCurve = Bezier_FourPoints(planPoints[0], planPoints[1], planPoints[2], planPoints[3]);
    rearCurve = Bezier_FourPoints(planPoints[4], planPoints[5], planPoints[6], planPoints[7]);
    Generate_All_LineRib_Buttons();
    update();
}

void StripesEdit::Generate_All_LineRib_Buttons()
{
    std::fill(std::begin(exists), std::end(exists), false);
    for (int row = 0; row < kLineRows; ++row)
        for (int rib = 0; rib <= lastRib; ++rib) {
            const int id = f_LineRibID(row, rib);
            exists[id] = planPoint(design, rib, design->lineIndex[row][rib], &buttonPos[id]);
        }
}

int StripesEdit::Select_button_id(QPointF at)
{
    for (int id = 0; id < kButtons; ++id) {
        if (!exists[id])
            continue;
        const QPointF d = toWidget(buttonPos[id]) - at;
        if (std::fabs(d.x()) + std::fabs(d.y()) < kHitDistance) {
            bool& strip = design->lineStrips[f_LineID(id)][f_RibID(id)];
            strip = !strip;
            return id;
        }
    }
    return -1;
}

void StripesEdit::ToggleLineStrip(int row)
{
    if (row < 0 || row >= kLineRows)
        return;
    rowToggleState = !design->lineStrips[row][0];
    std::fill(std::begin(design->lineStrips[row]), std::end(design->lineStrips[row]), rowToggleState);
    update();
}

void StripesEdit::ClearAllLineStrips()
{
    for (bool(&row)[kRibSlots] : design->lineStrips)
        std::fill(std::begin(row), std::end(row), false);
    Generate_All_LineRib_Buttons();
    update();
}

QList<QLineF> StripesEdit::Strap_Lines() const
{
    QList<QLineF> lines;
    for (int row = kFirstStrapRow; row < kLineRows; ++row)
        for (int rib = 0; rib < lastRib; ++rib) {
            const int id = f_LineRibID(row, rib);
            if (exists[id] && exists[id + 1] && id != selectedButton && design->lineStrips[row][rib])
                lines.append(QLineF(buttonPos[id], buttonPos[id + 1]));
        }
    return lines;
}

// ---------------------------------------------------------------- events

void StripesEdit::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    update();
}

void StripesEdit::mousePressEvent(QMouseEvent* event)
{
    if (pressed)
        return;
    pressed = true;
    selectedButton = currentRow = currentRib = -1;
    lastPos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        selectedButton = Select_button_id(event->position());
        currentRow = f_LineID(selectedButton);
        currentRib = f_RibID(selectedButton);
    } else if (event->button() == Qt::RightButton) {
        Restore_View();
    }
    update();
}

void StripesEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed)
        return;
    const QPoint pos = event->position().toPoint();
    const QPoint d = pos - lastPos;
    lastPos = pos;
    if (event->buttons() & Qt::MiddleButton) {
        pan += d;
        update();
    }
}

void StripesEdit::mouseReleaseEvent(QMouseEvent*)
{
    pressed = false;
    update();
}

void StripesEdit::wheelEvent(QWheelEvent* event)
{
    zoom = std::clamp(zoom * std::pow(2.0, event->angleDelta().y() / 960.0), 0.5, 10.0);
    update();
}

// ---------------------------------------------------------------- drawing

QPolygonF StripesEdit::Row_Line(int row) const
{
    QPolygonF line;
    for (int rib = firstRib; rib <= lastRib; ++rib)
        if (exists[f_LineRibID(row, rib)])
            line.append(buttonPos[f_LineRibID(row, rib)]);
    return line;
}

QPolygonF StripesEdit::Reference_Line(int index) const
{
    QPolygonF line;
    QPointF p;
    for (int rib = firstRib; rib <= lastRib; ++rib)
        if (planPoint(design, rib, index, &p))
            line.append(p);
    return line;
}

void StripesEdit::paintEvent(QPaintEvent*)
{
    if (design->ribAirfoils[0].isEmpty())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::darkYellow);
    painter.drawText(QPointF(300, 25),
                     QStringLiteral(" current Line:%1  Rib:%2 ").arg(currentRow).arg(currentRib));
    painter.translate(pan);
    painter.scale(zoom, zoom);

    // frame and flat shape
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(QRectF(QPointF(int(planPoints[0].x()), int(planPoints[0].y())),
                            QPointF(int(planPoints[3].x()), int(planPoints[4].y()))));
    QFont f = painter.font();
    f.setBold(true);
    f.setPointSize(10);
    painter.setFont(f);
    painter.setPen(cosmetic(Qt::red));
    painter.drawPolyline(frontCurve);
    painter.drawPolyline(rearCurve);
    painter.drawLine(QPointF(0, planPoints[4].y()), QPointF(1000, planPoints[4].y()));

    // straps under their buttons
    painter.setPen(QPen(Qt::darkRed, 8));
    for (const QLineF& strap : Strap_Lines())
        painter.drawLine(strap);
    for (int row = kFirstStrapRow; row < kLineRows; ++row)
        for (int rib = 0; rib <= lastRib; ++rib) {
            const int id = f_LineRibID(row, rib);
            if (!exists[id])
                continue;
            if (id == selectedButton) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::red);
                painter.drawEllipse(buttonPos[id], 8, 8);
                painter.setBrush(Qt::white);
                painter.drawEllipse(buttonPos[id], 3, 3);
            } else {
                painter.setPen(cosmetic(Qt::white));
                painter.setBrush(design->lineStrips[row][rib] ? QBrush(Qt::cyan) : QBrush(Qt::NoBrush));
                painter.drawEllipse(buttonPos[id], 6, 6);
            }
        }
    painter.setBrush(Qt::NoBrush);

    // ribs, the line-carrying ones blue
    for (int rib = firstRib; rib <= lastRib; ++rib) {
        const double x = std::round(design->ribSpanPos[rib]);
        painter.setPen(design->isLoadedRib(rib) ? QPen(Qt::blue, 2) : cosmetic(Qt::black));
        painter.drawLine(QPointF(x, design->leadingEdgeX[rib]), QPointF(x, design->trailingEdgeX[rib]));
        if (rib > 0)
            painter.drawText(QPointF(x - textDx, design->trailingEdgeX[rib] + textDy), QString::number(rib));
    }

    // rows and their reference lines
    for (int row = 0; row < kLineRows; ++row) {
        const QPolygonF line = Row_Line(row);
        painter.setPen(QPen(row == currentRow ? Qt::red : Qt::white, 1));
        painter.drawPolyline(line);
        if (!line.isEmpty())
            painter.drawText(line.first() - QPointF(40, 0), LineLetter(row));
    }
    painter.setPen(cosmetic(Qt::cyan, Qt::DotLine));
    for (int row = 0; row < kLineRows; ++row)
        painter.drawPolyline(Reference_Line(design->rowCentreIndex[row]));
}
