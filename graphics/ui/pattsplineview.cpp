#include "graphics/ui/pattsplineview.h"

#include "core/notify.h"
#include "core/parastruct.h"
#include "widgets/uihelpers.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

// The pieces are built at every show, not at construction: the dialogs are
// made before any design is loaded, and a build would only switch the
// export's cut mode to curves (the colouring cuts along the curves).
PattSpline::PattSpline(QWidget* parent) : QWidget(parent), model(GetDataStruct())
{
}

void PattSpline::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    widgetRect = QRect(0, 0, width(), height());
    notify(model.Show(widgetRect));
    update();
}

void PattSpline::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A new size (the dialog restored or maximized) shows the whole layout
    // again.
    widgetRect = QRect(0, 0, width(), height());
    if (isVisible()) {
        model.Auto_Zoom(widgetRect);
        update();
    }
}

void PattSpline::notify(const QString& notice)
{
    // The same news about the same file is told once, after the show.
    if (notice.isEmpty() || notice == noticeGiven) {
        noticeGiven = notice;
        return;
    }
    noticeGiven = notice;
    QTimer::singleShot(0, this, [notice] { Notify_User(notice); });
}

void PattSpline::SetColoring(bool on)
{
    model.SetColoring(on);
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void PattSpline::InitGray_PolyColor()
{
    model.InitGray_PolyColor();
    update();
}

bool PattSpline::Save_Canopy_Data()
{
    if (!model.Save_Canopy_Data())
        return false;
    noticeGiven.clear();
    return true;
}

void PattSpline::Warning_Info()
{
    warningsText = QStringLiteral("warnings   \n ");
    for (const QString& w : model.design->designWarnings)
        warningsText += w;
    showToolTip(mapToGlobal(lastMousePos), warningsText);
}

// ---------------------------------------------------------------- input

void PattSpline::mousePressEvent(QMouseEvent* event)
{
    mouseSeen = true;
    lastMousePos = event->position().toPoint();
    if (event->buttons() & Qt::RightButton) {
        Warning_Info();
        update();
    }
    if (event->buttons() & Qt::LeftButton)
        model.Select_Poly(event->position());
    update();
}

void PattSpline::mouseReleaseEvent(QMouseEvent* event)
{
    mouseSeen = true;
    lastMousePos = event->position().toPoint();
    update();
}

void PattSpline::mouseMoveEvent(QMouseEvent* event)
{
    if (!mouseSeen)
        return;
    const QPoint pos = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        model.Select_Poly(event->position());
    } else {
        const QPointF motion = QPointF(pos - lastMousePos) / model.scale;
        lastMousePos = pos;
        if (event->buttons() & Qt::MiddleButton)
            model.poly_list_translate(motion.x(), motion.y());
    }
    update();
}

void PattSpline::wheelEvent(QWheelEvent* event)
{
    model.Wheel_Zoom(event->position(), event->angleDelta().y());
    update();
}

void PattSpline::keyPressEvent(QKeyEvent* event)
{
    if (event->text() == QLatin1String("+"))
        model.scale *= 1.1;
    else if (event->text() == QLatin1String("-"))
        model.scale *= 0.9;
    update();
}

// ---------------------------------------------------------------- painting

void PattSpline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::lightGray, Qt::SolidPattern));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(model.currentColour.isValid() ? model.currentColour : QColor(Qt::black)));
    painter.drawText(550, 50, QStringLiteral("current color"));
    painter.setPen(QPen(QBrush(Qt::black), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    my_polylist_paint(&painter, 0);
}

void PattSpline::my_polylist_paint(QPainter* painter, int)
{
    const QList<QPolygonF>& outlines = model.outlines;
    const QList<QColor>& colours = model.colours;
    // Every invalid colour is equal to this one: a piece without colour is
    // drawn without a brush.
    QColor noColour;
    noColour.setNamedColor(QStringLiteral("0000"));
    for (int i = 0; i < outlines.size(); ++i) {
        painter->save();
        painter->translate(model.anchor);
        painter->scale(model.scale, model.scale);
        const QColor c = i < colours.size() ? colours.at(i) : noColour;
        painter->setBrush(c == noColour ? QBrush(Qt::NoBrush) : QBrush(c, Qt::SolidPattern));
        painter->drawPolygon(outlines.at(i).translated(-model.anchor), Qt::OddEvenFill);
        painter->restore();
    }
}
