#include "patterns/ui/patternarea.h"

#include "core/parastruct.h"
#include "patterns/patterngeom.h"
#include "patterns/patternsheet.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

PatternArea::PatternArea(QWidget* parent) : QWidget(parent)
{
    design = GetDataStruct();
    glob = GetGlobClass();
    viewRect = rect();
}

void PatternArea::initPatternArea()
{
    viewRect = rect();
}

QString PatternArea::Create_Previews(int kind)
{
    PatternSheet sheet;
    sheet.design = design;
    sheet.font = font();
    sheet.viewSize = size();
    QString refusal;
    QPainterPath drawn = Preview_Pattern(sheet, kind, &refusal);
    patternPath.swap(drawn);
    repaint();
    return refusal;
}

void PatternArea::Auto_Zoom()
{
    const QRectF r = patternPath.controlPointRect();
    // Nothing drawn: nothing to fit.
    if (r.width() <= 0 && r.height() <= 0)
        return;
    const double m = int(((r.y() + r.height()) - r.y()) / 20);
    drawingRect = QRectF(r.x() - m, r.y() - m, r.width() + 2 * m, r.height() + 2 * m);
    patternPath.translate(-(r.x() - m), -(r.y() - m));
    zoom = 2 * myScale(zoomStep, &viewRect, &drawingRect);
    anchor = QPointF(0, 0);
}

QPointF PatternArea::myAnchor() const
{
    return QPointF(mapFromGlobal(QCursor::pos()));
}

void PatternArea::my_paint(QPainter* painter, const QPainterPath& path, const QPen& pen) const
{
    const QPainterPath p = path.translated(-anchor.x(), -anchor.y());
    QTransform t;
    t.translate(anchor.x(), anchor.y());
    t.scale(zoom, zoom);
    painter->setTransform(t);
    painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter->setPen(pen);
    QPainterPath filled = p;
    filled.setFillRule(Qt::OddEvenFill);
    painter->drawPath(filled);
}

void PatternArea::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::lightGray, Qt::SolidPattern));
    painter.drawRect(rect());
    QPen pen(Qt::darkRed, 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    pen.setCosmetic(true);
    my_paint(&painter, patternPath, pen);
}

void PatternArea::mousePressEvent(QMouseEvent* event)
{
    moveCount = 0;
    const Qt::MouseButtons buttons = event->buttons() | event->button();
    if (buttons & Qt::RightButton) {
        zoom = 1.0;
        anchor = QPointF(0, 0);
        update();
    }
    if (buttons & Qt::MiddleButton) {
        lastMousePos = event->position().toPoint();
        update();
    }
    if (buttons & Qt::LeftButton) {
        Auto_Zoom();
        update();
    }
}

void PatternArea::mouseMoveEvent(QMouseEvent* event)
{
    // Panning goes in steps of ten mouse events.
    if (++moveCount % 10 != 0)
        return;
    const QPoint p = event->position().toPoint();
    const QPoint q = lastMousePos;
    lastMousePos = p;
    if (!(event->buttons() & Qt::MiddleButton))
        return;
    patternPath.translate((p.x() - q.x()) / zoom, (p.y() - q.y()) / zoom);
    update();
}

void PatternArea::wheelEvent(QWheelEvent* event)
{
    lastAnchor = anchor;
    anchor = myAnchor();
    zoom += event->angleDelta().y() > 0 ? zoomStep : -zoomStep;
    if (zoom <= zoomStep)
        zoom = zoomStep;
    // Moving the anchor to the cursor leaves the picture in place; the zoom
    // then changes about the cursor.
    const double k = (zoom - 1) / zoom;
    patternPath.translate(k * (anchor.x() - lastAnchor.x()), k * (anchor.y() - lastAnchor.y()));
    update();
}

void PatternArea::showEvent(QShowEvent*) {}
