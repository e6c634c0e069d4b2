#include "aero/ui/sideviewwidget.h"

#include "core/parastruct.h"
#include "structure/crossports.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

SideViewWidget::SideViewWidget(QWidget* parent) : QWidget(parent), design(GetDataStruct())
{
    QFont f = font();
    f.setPixelSize(20);
    f.setWeight(QFont::Bold);
    setFont(f);
    const QFontMetrics metrics(f);
    xLabelRect = metrics.boundingRect(tr("x"));
    yLabelRect = metrics.boundingRect(tr("y"));
    update();
}

void SideViewWidget::transformPainter(QPainter& painter) const
{
    painter.setTransform(camera.transform());
}

void SideViewWidget::init_Work_Airfoil(double)
{
    const int rib = std::clamp(design->firstRib, 0, kAirfoilSlots - 1);
    workAirfoil = ::init_Work_Airfoil(design->ribAirfoils[rib], sideview::kChordUnits);
}

void SideViewWidget::paintBackground(QPainter& painter, const QColor& corner) const
{
    QLinearGradient gradient(QPointF(0, 0), QPointF(width() - 1, height() - 1));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, corner);
    painter.fillRect(rect(), gradient);
}

void SideViewWidget::mousePressEvent(QMouseEvent* event)
{
    lastPos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        camera.reset();
        update();
    }
}

void SideViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->buttons() & Qt::MiddleButton) {
        camera.pan(pos.x() - lastPos.x(), pos.y() - lastPos.y());
        update();
    }
    lastPos = pos;
}

void SideViewWidget::wheelEvent(QWheelEvent* event)
{
    camera.wheel(event->angleDelta().y());
    update();
}

// ---------------------------------------------------------------- pilot view

MidLineView::MidLineView(QWidget* parent) : SideViewWidget(parent) {}

void MidLineView::paintEvent(QPaintEvent*)
{
    const PilotScene scene = Pilot_Side_Scene(design);
    if (scene.empty)
        return;
    QPainter painter(this);
    paintBackground(painter, QColor(200, 200, 200));
    painter.save();
    transformPainter(painter);
    PaintAirfoil(&painter, scene);
    drawCrossview(&painter, scene);
    painter.restore();
}

void MidLineView::PaintAirfoil(QPainter* painter, const PilotScene& scene)
{
    painter->setPen(QPen(Qt::black, 2));
    painter->setBrush(QBrush(Qt::gray, Qt::SolidPattern));
    painter->drawPolygon(scene.airfoil, Qt::OddEvenFill);
}

void MidLineView::drawCrossview(QPainter* painter, const PilotScene& scene)
{
    const QFontMetricsF metrics(font());
    const QList<QRectF> labels = Row_Label_Boxes(
        scene, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }, metrics.height());
    for (int r = 0; r < scene.rows.size(); ++r) {
        const PilotScene::Marker& m = scene.rows[r];
        painter->setPen(QPen(Qt::red, 0));
        painter->drawEllipse(m.at, 4, 4);
        if (labels.value(r).isNull())
            continue;
        painter->setPen(QPen(Qt::black, 0));
        painter->drawText(labels[r], Qt::AlignCenter, m.letter);
    }
    pilot_Position(scene, painter);
}

void pilot_Position(const PilotScene& scene, QPainter* painter)
{
    painter->setPen(QPen(Qt::black, 0, Qt::DotLine));
    painter->drawLine(scene.chordLine);
    painter->setPen(Qt::black);
    painter->drawText(QPointF(10, 0), QStringLiteral("LE"));
    if (!scene.pilotShown)
        return;
    painter->setPen(QPen(Qt::red, 1, Qt::DotLine));
    painter->drawLine(QLineF(scene.centreX, -250, scene.centreX, 3000));
    painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter->drawLine(QLineF(sideview::kLeadingEdge, -250, sideview::kLeadingEdge, 3000));
    painter->setPen(QPen(Qt::red, 1, Qt::DotLine));
    painter->drawLine(QLineF(0, scene.pilotY, 1000, scene.pilotY));
    painter->setPen(QPen(Qt::blue, 1, Qt::DotLine));
    for (const QLineF& line : scene.pilotLines)
        painter->drawLine(line);

    painter->setPen(QPen(Qt::blue, 0, Qt::SolidLine));
    painter->setBrush(Qt::black);
    painter->drawEllipse(QPointF(scene.pilotX, scene.pilotY), 15, 9);
    painter->setBrush(Qt::red);
    painter->drawEllipse(QPointF(scene.pilotX + 5, scene.pilotY), 8, 4);
    painter->setBrush(Qt::NoBrush);

    painter->setPen(Qt::blue);
    painter->drawText(scene.centreTextAt, scene.centreText);
    painter->drawText(scene.shiftTextAt, scene.shiftText);
}

// ---------------------------------------------------------------- stations

ApameCross::ApameCross(QWidget* parent) : SideViewWidget(parent) {}

void ApameCross::paintEvent(QPaintEvent*)
{
    if (design->ribAirfoils[0].isEmpty())
        return;
    QPainter painter(this);
    paintBackground(painter, QColor(200, 100, 100));
    painter.save();
    transformPainter(painter);
    PaintAirfoil(&painter);
    painter.restore();
}

void ApameCross::PaintAirfoil(QPainter* painter)
{
    const QPolygonF& airfoil = design->ribAirfoils[std::clamp(design->firstRib, 0, kRibSlots - 1)];
    painter->setPen(QPen(Qt::black, 0));
    painter->setBrush(Qt::NoBrush);
    painter->drawPolygon(Side_View_Polygon(airfoil), Qt::OddEvenFill);

    const QPolygonF stations = Mesh_Station_Points(airfoil, design->chordStations, design->chordStationCount);
    if (stations.isEmpty())
        return;
    painter->setPen(QPen(Qt::blue, 0));
    painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));
    for (int i = 0; i + 1 < stations.size(); ++i) {
        painter->drawLine(stations.at(i), stations.at(i + 1));
        painter->drawEllipse(stations.at(i), 2, 2);
    }
    painter->drawEllipse(stations.last(), 2, 2);
    painter->setBrush(QBrush(Qt::lightGray, Qt::SolidPattern));
    painter->drawPolygon(stations, Qt::OddEvenFill);
}
