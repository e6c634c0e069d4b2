// What the line-group editor draws: the header, the frame of attachment
// points, the tree with its handles and angles, the pending line and the root.

#include "lines/ui/graphixwidget.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "widgets/textdraw.h"

#include <QDebug>
#include <QPainter>

namespace {

void set_Font_Height(QPainter* painter, int points, bool bold)
{
    QFont f = painter->font();
    f.setPointSize(points);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    painter->setFont(f);
}

} // namespace

QString GraphixWidget::headerText() const
{
    return m_currentSlot < 1 ? QStringLiteral("Current grup line is not selected yet ***")
                             : QStringLiteral("Current grup line: %1").arg(m_currentSlot);
}

void GraphixWidget::paintEvent(QPaintEvent*)
{
    QFont header = m_lettering.header;
    header.setPointSize(m_lettering.headerPoints(102.4));
    QPainter painter(this);
    painter.setFont(header);
    painter.fillRect(QRect(QPoint(0, 0), QPoint(width() - 1, height() - 1)), Qt::black);
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawText(QPoint(700, 30), QStringLiteral("scale[%1]").arg(m_view.zoom, 0, 'f', 3));
    painter.drawText(QPoint(300, 30), headerText());
    m_view.apply(&painter);
    painter.save();
    if (m_currentSlot > 0) {
        Paint_Frame(&painter);
        paint_LineList(&painter);
        paint_newChildParentLine(&painter);
    }
    painter.restore();
}

void GraphixWidget::Paint_Frame(QPainter* painter)
{
    const int tip = design->lastRib;
    if (tip < 0 || tip >= kBridleRibs)
        return;
    const BridleFrame& f = frame();
    const double left = f[tip][0].mirrorPos.x(), right = f[tip][0].pos.x();
    const double centre = (left + right) / 2;
    const double top = f[tip][0].pos.y(), bottom = f[tip][kBrakeSlot].pos.y();

    set_Font_Height(painter, 11, true);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter->drawRect(m_frameRect);

    for (int s = 0; s < kLaidOutSlots; ++s) {
        const int y = f[tip][s].pos.y();
        painter->setPen(QPen(Qt::cyan));
        painter->drawText(QPoint(int(centre), y + m_lettering.letterHeight / 3), LineLetter(s + 2));
        painter->setPen(s < 4 ? QPen(Qt::red, 1, Qt::SolidLine) : Hairline_Pen(Qt::white, Qt::DotLine));
        painter->drawLine(QPoint(int(left), y), QPoint(int(right), y));
    }
    painter->setPen(Hairline_Pen(Qt::white, Qt::DashDotLine));
    painter->drawLine(QPoint(int(centre), 0), QPoint(int(centre), 768));

    set_Font_Height(painter, 6, false);
    const int first = std::max(design->firstRib, 0);
    const int numberY = int(1.1 * m_lettering.letterHeight + f[tip][kBrakeSlot].pos.y());
    for (int half = 0; half < 2; ++half) {
        for (int r = first; r <= tip; ++r) {
            if (half == 1 && r == 0)
                continue;   // the centre rib has no mirror
            const QPen ribPen = design->isLoadedRib(r) ? QPen(Qt::red, 1, Qt::SolidLine) : Hairline_Pen(Qt::white, Qt::DotLine);
            const int x = half == 0 ? f[r][0].pos.x() : f[r][0].mirrorPos.x();
            if (half == 0) {
                painter->setPen(ribPen);
                painter->drawLine(QPoint(x, int(top)), QPoint(x, int(bottom)));
            }
            painter->setPen(QPen(Qt::cyan));
            DrawVerticalText(painter, QString::number(r), QPointF(x + m_lettering.letterWidth / 3, numberY));
            for (int s = 0; s < kLaidOutSlots; ++s) {
                const QPoint q = half == 0 ? f[r][s].pos : f[r][s].mirrorPos;
                painter->setPen(QPen(Qt::lightGray, 1, Qt::SolidLine));
                painter->setBrush(Qt::NoBrush);
                painter->drawEllipse(Circle_Rect(q, 4, 3));
                painter->setPen(Hairline_Pen(Qt::white));
                painter->setBrush(Qt::white);
                painter->drawEllipse(Circle_Rect(q, 2, 1));
            }
        }
    }
    painter->setBrush(Qt::NoBrush);
}

void GraphixWidget::paint_LineList(QPainter* painter)
{
    const BridleGroup& w = workingGroup();
    if (w.pairs.size() > w.lines.size()) {
        qDebug() << " ERROR LineProp_List.size() < len !!!! ";
        return;
    }
    if (w.points.isEmpty()) {
        qDebug() << " ERROR PointList.isEmpty !!!! ";
        return;
    }
    const QPen white(Qt::white, 1, Qt::SolidLine);
    for (int i = 0; i < w.pairs.size(); ++i) {
        const int a = w.pairs.at(i).x(), b = w.pairs.at(i).y();
        if (a < 0 || b < 0 || a >= w.points.size() || b >= w.points.size())
            continue;
        const QPoint A = w.points.at(a), B = w.points.at(b);
        painter->setPen(white);
        painter->setBrush(Qt::NoBrush);
        painter->drawLine(A, B);
        painter->setBrush(Qt::green);
        painter->drawEllipse(Circle_Rect(A, 4, 3));
        painter->drawEllipse(Circle_Rect(B, 4, 3));
        if (!m_selectionIsLine && m_selection == a) {
            painter->setBrush(Qt::darkGreen);
            painter->drawEllipse(Circle_Rect(A, 6, 5));
            painter->setBrush(Qt::green);
            painter->drawEllipse(Circle_Rect(A, 4, 3));
        }
        const QPoint M(Round_Half_Up((A.x() + B.x()) / 2.0), Round_Half_Up((A.y() + B.y()) / 2.0));
        painter->setBrush(Qt::red);
        painter->drawEllipse(Circle_Rect(M, 3, 2));
    }
    painter->setBrush(Qt::NoBrush);
    paintAngles(painter);
}

void GraphixWidget::paintAngles(QPainter* painter)
{
    const BridleGroup& w = workingGroup();
    const QFont saved = painter->font();
    QFont f = saved;
    f.setWeight(QFont::Normal);
    f.setPointSize(8);
    painter->setFont(f);
    for (const AngleLabel& label : Angle_Labels(w.pairs, w.lines, m_frameNodes)) {
        if (label.column) {
            painter->setPen(Hairline_Pen(Qt::yellow));
            DrawDirectedText(painter, label.text, label.at, -90);
        } else {
            painter->setPen(Hairline_Pen(Qt::green));
            painter->drawText(label.at, label.text);
        }
    }
    painter->setFont(saved);
}

void GraphixWidget::paint_newChildParentLine(QPainter* painter)
{
    const BridleGroup& w = workingGroup();
    if (m_joinPending && m_startNode >= 0 && m_startNode < w.points.size()) {
        painter->setPen(QPen(Qt::red, 1, Qt::SolidLine));
        painter->drawLine(w.points.at(m_startNode), pointerScene());
    }
    if (m_rootNode >= 0 && m_rootNode < w.points.size()) {
        const QPoint R = w.points.at(m_rootNode);
        painter->setPen(QPen(Qt::white, 1, Qt::SolidLine));
        painter->setBrush(Qt::blue);
        painter->drawEllipse(Circle_Rect(R, 6, 5));
        painter->setBrush(Qt::green);
        painter->drawEllipse(Circle_Rect(R, 2, 1));
        painter->setBrush(Qt::NoBrush);
    }
}
