#include "lines/ui/ropeswidget.h"

#include "core/parastruct.h"
#include "core/chartlabels.h"
#include "core/transf.h"
#include "core/viewfit.h"
#include "widgets/textdraw.h"
#include "lines/lineplan.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kStartExponent = 8.5;
constexpr double kMinExponent = 5.0;
constexpr double kExponentStep = 0.1;
// The right button puts the centre line here.
constexpr double kHomeX = 512.0;
constexpr double kHomeY = 76.8;
// A fit keeps the heading's band free and leaves room around the lines for
// their labels.
constexpr double kHeadingBand = 30.0;
constexpr double kLabelMargin = 40.0;

QPen cosmetic(const QColor& color, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(color, 0, style);
    pen.setCosmetic(true);
    return pen;
}

} // namespace

RopesWidget::RopesWidget(QWidget* parent)
    : QDialog(parent), design(GetDataStruct()), copy(std::make_unique<BridleData>()),
      fits([this] { return fitToLines(); })
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowOpacity(0.99);
    setExponent(kStartExponent);
}

RopesWidget::~RopesWidget() = default;

void RopesWidget::setExponent(double exponent)
{
    e = exponent;
    s = 0.0005 * std::pow(2.0, e + 1);
}

void RopesWidget::refreshRopes()
{
    *copy = design->bridle;
    const int slot = get_curr_bridle_grup(lineSelection);
    // With no group selected the lines shown before stay.
    if (slot >= 0) {
        BridleGroup& g = copy->groups[slot];
        Rebuild_Group_Lists(&g);
        shownLines = g.lines;
    }
    fits.drawingReady(this);
    update();
}

QRectF RopesWidget::drawingExtent() const
{
    QRectF extent;
    for (const LineProp& line : shownLines) {
        for (const QVector3D& q : {line.q1, line.q2}) {
            const double y = std::fabs(q.y());
            extent |= QRectF(QPointF(-y, q.z()), QPointF(y, q.z()));
        }
    }
    return extent;
}

bool RopesWidget::fitToLines()
{
    const QRectF extent = drawingExtent();
    if (shownLines.isEmpty() || !(extent.width() > 0))
        return false;
    const QRectF area =
        QRectF(rect()).adjusted(kLabelMargin, kHeadingBand + kLabelMargin, -kLabelMargin, -kLabelMargin);
    const ViewFit fit = Fit_In(extent, area);
    // The zoom is kept as the wheel's exponent; the wheel's far end holds.
    setExponent(std::max(kMinExponent, std::log2(fit.zoom / 0.0005) - 1));
    tx = area.center().x() - s * extent.center().x();
    ty = area.center().y() - s * extent.center().y();
    update();
    return true;
}

void RopesWidget::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fits.shown(this, event);
}

void RopesWidget::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    fits.hidden(this);
}

void RopesWidget::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    fits.resized(this);
}

void RopesWidget::transformPainter(QPainter& painter, double xscale)
{
    painter.resetTransform();
    painter.translate(tx, ty);
    painter.scale(xscale, 1.0);
}

void RopesWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(Qt::lightGray));
    QFont heading = font();
    heading.setPointSize(12);
    heading.setBold(true);
    p.setFont(heading);
    p.setPen(Qt::black);
    p.drawText(QPointF(250, 20), " Current line grup: " + GrupLineLetter(lineSelection));
    p.setFont(font());

    transformPainter(p, 1.0);
    for (const LineProp& line : shownLines) {
        const QPointF P(s * line.q1.y(), s * line.q1.z());
        const QPointF Q(s * line.q2.y(), s * line.q2.z());
        p.setPen(cosmetic(Qt::blue));
        p.setBrush(Qt::white);
        p.drawLine(P, Q);
        p.drawEllipse(P, 4, 4);
        p.drawEllipse(Q, 4, 4);
        p.setPen(Qt::black);
        const double metres = design->R_X(Dist3(line.q1, line.q2));
        DrawAngledText(&p, QString("%1[m]").arg(metres, 0, 'f', 2), P, Q);
    }
    transformPainter(p, -1.0);
    for (const LineProp& line : shownLines) {
        const QPointF P(s * line.q1.y(), s * line.q1.z());
        const QPointF Q(s * line.q2.y(), s * line.q2.z());
        p.setPen(cosmetic(Qt::black, Qt::DotLine));
        p.setBrush(Qt::red);
        p.drawLine(P, Q);
        p.drawEllipse(P, 3, 3);
        p.drawEllipse(Q, 3, 3);
    }
    p.resetTransform();
    for (const DiameterLabel& l : diameterLabels()) {
        if (!l.box.adjusted(-2, -2, 2, 2).contains(l.line)) {
            p.setPen(cosmetic(Qt::darkGray, Qt::DotLine));
            const QPointF edge(std::clamp(l.line.x(), l.box.left(), l.box.right()),
                               std::clamp(l.line.y(), l.box.top(), l.box.bottom()));
            p.drawLine(l.line, edge);
        }
        // On a plate of the ground, so that the dotted lines do not cross it.
        p.fillRect(l.box, QColor(Qt::lightGray));
        p.setPen(Qt::black);
        p.drawText(l.box, Qt::AlignCenter, l.text);
    }
}

QList<RopesWidget::DiameterLabel> RopesWidget::diameterLabels() const
{
    const QFontMetricsF metrics(font());
    QList<DiameterLabel> labels;
    QList<QRectF> wanted;
    for (const LineProp& line : shownLines) {
        // The mirrored half: the line's middle with its span side turned over.
        const QPointF M(tx - s * (line.q1.y() + line.q2.y()) / 2, ty + s * (line.q1.z() + line.q2.z()) / 2);
        const QString text = QString("<%1>").arg(line.diameter * 1000, 0, 'f', 1);
        const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
        labels.append({QRectF(M - QPointF(size.width() / 2, size.height() / 2), size), text, M});
        wanted.append(labels.last().box);
    }
    // Lines that leave one node side by side put their labels on one
    // another: each is moved to the first free place below, above or beside
    // it.
    // The line ends stay in sight.
    QList<QRectF> ends;
    for (const LineProp& line : shownLines)
        for (const QVector3D& q : {line.q1, line.q2})
            ends.append(QRectF(QPointF(tx - s * q.y(), ty + s * q.z()) - QPointF(4, 4), QSizeF(8, 8)));
    const QList<QRectF> placed = Place_Labels(wanted, Label_Moves(4), QRectF(rect()), ends);
    QList<DiameterLabel> shown;
    for (int i = 0; i < labels.size(); ++i)
        if (!placed[i].isNull())
            shown.append({placed[i], labels[i].text, labels[i].line});
    return shown;
}

void RopesWidget::wheelEvent(QWheelEvent* event)
{
    double next = e + (event->angleDelta().y() > 0 ? kExponentStep : -kExponentStep);
    if (next < kMinExponent)
        next = kMinExponent;
    setExponent(next);
    fits.userMoved();
    update();
}

void RopesWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        setExponent(kStartExponent);
        tx = kHomeX;
        ty = kHomeY;
        fits.userMoved();
        update();
    } else if (event->button() == Qt::MiddleButton) {
        lastPos = event->position().toPoint();
    }
}

void RopesWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint d = pos - lastPos;
    lastPos = pos;
    if (event->buttons() & Qt::MiddleButton) {
        tx += d.x();
        ty += d.y();
        fits.userMoved();
        update();
    } else if (event->buttons() & Qt::LeftButton) {
        update();
    }
}
