#include "apps/aerolyx/ui/plotframe.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace aerolyx {

ZoomView::ZoomView(QWidget* parent)
    : QWidget(parent)
    , data(GetMyData())
{
    // The form's style sheets paint the views' backgrounds.
    setAttribute(Qt::WA_StyledBackground);
}

void ZoomView::wheelEvent(QWheelEvent* e)
{
    scaleFactor *= std::pow(2.0, e->angleDelta().y() / 960.0);
    scaleFactor = std::clamp(scaleFactor, kMinWheelScale, kMaxScale);
    repaint();
}

void ZoomView::mousePressEvent(QMouseEvent* e)
{
    lastPos = e->pos();
    if (e->buttons() & Qt::LeftButton) {
        scaleFactor = 1.0;
        xTrans = yTrans = 0;
        repaint();
    }
}

void ZoomView::mouseMoveEvent(QMouseEvent* e)
{
    if (e->buttons() & Qt::MiddleButton) {
        setCursor(Qt::OpenHandCursor);
        xTrans += 0.5 * (e->pos().x() - lastPos.x());
        yTrans += 0.5 * (e->pos().y() - lastPos.y());
        repaint();
    }
    lastPos = e->pos();
    setCursor(Qt::ArrowCursor);
}

void ZoomView::Apply_Zoom(QPainter* painter)
{
    scaleFactor = std::max(scaleFactor, kMinPaintScale);
    painter->scale(scaleFactor, scaleFactor);
    painter->translate(xTrans, yTrans);
}

void SetPenColor(QPainter* p, int index)
{
    struct Entry {
        Qt::GlobalColor colour;
        int width;
    };
    static const Entry table[] = {
        {Qt::red, 0},      {Qt::blue, 0},        {Qt::cyan, 1},     {Qt::gray, 0},
        {Qt::magenta, 0},  {Qt::black, 1},       {Qt::yellow, 0},   {Qt::darkRed, 0},
        {Qt::darkBlue, 2}, {Qt::darkCyan, 0},    {Qt::darkGray, 0}, {Qt::darkMagenta, 0},
        {Qt::green, 0},    {Qt::darkYellow, 0},
    };
    if (index < 1 || index > 14)
        return;
    const Entry& e = table[index - 1];
    p->setPen(QPen(QBrush(e.colour, Qt::SolidPattern), e.width, Qt::SolidLine, Qt::SquareCap,
                   Qt::BevelJoin));
}

QString Fixed(double value, int decimals, int width)
{
    return QString("%1").arg(value, width, 'f', decimals);
}

} // namespace aerolyx
