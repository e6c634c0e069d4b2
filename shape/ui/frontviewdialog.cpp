#include "shape/ui/frontviewdialog.h"

#include <QFontMetricsF>
#include "widgets/editsession.h"

#include "ui_frontviewdialog.h"

#include "core/calcul3d.h"
#include "core/curves.h"
#include "core/designedit.h"
#include "core/parastruct.h"
#include "core/viewfit.h"
#include "shape/frontview.h"
#include "widgets/textdraw.h"

#include <QGraphicsScene>
#include <QKeyEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QScrollBar>
#include <QStyleOptionGraphicsItem>
#include <QWheelEvent>

#include <cmath>

namespace {
const QRectF kSceneRect(-100, 0, 1100, 1000);
constexpr double kRadToDeg = 57.29577952383886;
} // namespace

// --- Nodes ---------------------------------------------------------------

fNode::fNode(FaceWidget* view)
    : graph(view)
{
    setFlag(ItemIsFocusable);
    setFlag(ItemIsMovable);
    setFlag(ItemIsSelectable);
    setFlag(ItemSendsGeometryChanges);
    setCacheMode(DeviceCoordinateCache);
    setZValue(-1);
}

void fNode::addfEdge(fEdge* edge)
{
    edgeList << edge;
    edge->adjustfEdge();
}

void fNode::addBezier4(BezierFace* arc)
{
    bezierList << arc;
    arc->Bezier4_adjust();
}

QRectF fNode::boundingRect() const
{
    return QRectF(-12, -12, 25, 25);
}

QPainterPath fNode::shape() const
{
    QPainterPath path;
    path.addEllipse(-10, -10, 20, 20);
    return path;
}

void fNode::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::darkGray);
    painter->drawEllipse(-7, -7, 20, 20);

    QRadialGradient gradient(-3, -3, 10);
    if (isSelected()) {
        gradient.setCenter(3, 3);
        gradient.setFocalPoint(3, 3);
        gradient.setColorAt(1, QColor(Qt::yellow).lighter(200));
        gradient.setColorAt(0, QColor(Qt::red).lighter(200));
    } else {
        gradient.setColorAt(0, Qt::yellow);
        gradient.setColorAt(1, Qt::red);
    }
    painter->setBrush(gradient);
    painter->setPen(QPen(Qt::black, 0));
    painter->drawEllipse(-10, -10, 20, 20);
}

QVariant fNode::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemPositionHasChanged) {
        for (fEdge* edge : std::as_const(edgeList))
            edge->adjustfEdge();
        for (BezierFace* arc : std::as_const(bezierList))
            arc->Bezier4_adjust();
        if (nodeIndex == 0) {
            // the centre end of the arc stays on the symmetry plane
            setX(0);
            setY(100);
        }
    }
    return QGraphicsItem::itemChange(change, value);
}

void fNode::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    update();
    QGraphicsItem::mousePressEvent(event);
}

void fNode::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    update();
    QGraphicsItem::mouseReleaseEvent(event);
}

// --- Handle lines ----------------------------------------------------------

fEdge::fEdge(fNode* sourceNode, fNode* destNode)
    : source(sourceNode), dest(destNode)
{
    setAcceptedMouseButtons(Qt::NoButton);
    source->addfEdge(this);
    dest->addfEdge(this);
    adjustfEdge();
}

void fEdge::adjustfEdge()
{
    if (!source || !dest)
        return;
    const QLineF line(mapFromItem(source, 0, 0), mapFromItem(dest, 0, 0));
    const double length = line.length();
    prepareGeometryChange();
    if (length > 20.0) {
        const QPointF offset((line.dx() * 10) / length, (line.dy() * 10) / length);
        sourcePoint = line.p1() + offset;
        destPoint = line.p2() - offset;
    } else {
        sourcePoint = destPoint = line.p1();
    }
}

QRectF fEdge::boundingRect() const
{
    if (!source || !dest)
        return QRectF();
    const double extra = (1 + arrowSize) / 2.0;
    return QRectF(sourcePoint, QSizeF(destPoint.x() - sourcePoint.x(), destPoint.y() - sourcePoint.y()))
        .normalized()
        .adjusted(-extra, -extra, extra, extra);
}

void fEdge::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QLineF line(sourcePoint, destPoint);
    if (line.length() == 0.0)
        return;
    painter->setPen(QPen(Qt::black, 0, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawLine(line);

    double angle = std::acos(line.dx() / line.length());
    if (line.dy() >= 0)
        angle = 6.283185306 - angle;
    const QPointF p1 = destPoint + QPointF(std::sin(angle - 1.047197551), std::cos(angle - 1.047197551)) * arrowSize;
    const QPointF p2 = destPoint + QPointF(std::sin(angle - 3.141592653 + 1.047197551),
                                           std::cos(angle - 3.141592653 + 1.047197551)) * arrowSize;
    painter->setBrush(Qt::black);
    painter->drawPolygon(QPolygonF() << line.p2() << p1 << p2, Qt::OddEvenFill);
}

// --- The arc ---------------------------------------------------------------

BezierFace::BezierFace(fNode* n0, fNode* n1, fNode* n2, fNode* n3)
    : NP0(n0), NP1(n1), NP2(n2), NP3(n3)
{
    setAcceptedMouseButtons(Qt::NoButton);
    n0->addBezier4(this);
    n1->addBezier4(this);
    n2->addBezier4(this);
    n3->addBezier4(this);
}

void BezierFace::Bezier4_adjust()
{
    if (!NP0 || !NP1 || !NP2 || !NP3)
        return;
    prepareGeometryChange();
    points[0] = mapFromItem(NP0, 0, 0);
    points[1] = mapFromItem(NP1, 0, 0);
    points[2] = mapFromItem(NP2, 0, 0);
    points[3] = mapFromItem(NP3, 0, 0);
    ParaStruct* design = GetDataStruct();
    design->SetFNodePos(points);
    design->WingTipGeometrySetup();
    design->Calculate_Areas_Aspects();
    arcLength = design->frontArcLength;
}

QRectF BezierFace::boundingRect() const
{
    return kSceneRect;
}

void BezierFace::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const ParaStruct* d = GetDataStruct();
    const FrontViewFigures f = Front_View_Figures(*d);
    const double H = d->hangHeight;
    const double hy = f.hangY;
    const QPointF& p0 = points[0];

    // the arc and its mirror image
    painter->setPen(QPen(Qt::red, 0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF curve = Bezier_FourPoints(points[0], points[1], points[2], points[3]);
    painter->drawPolyline(curve);
    for (QPointF& p : curve)
        p.setX(-p.x());
    painter->drawPolyline(curve);

    // the hang height and the pilot
    // Along the top of the hang line, left of it, where the view opens:
    // halfway down it stood below the fitted view.
    const QString hang = QStringLiteral(" Hang height [m]: %1").arg(H, 0, 'g', 6);
    const double hangLength = QFontMetricsF(painter->font()).horizontalAdvance(hang);
    DrawVerticalText(painter, hang, QPointF(-4, std::min(110 + hangLength, std::max(110.0, hy))));
    painter->setPen(QPen(Qt::black, 1, Qt::SolidLine));
    painter->drawEllipse(QRect(-10, int(hy - 10), 20, 20));
    painter->drawLine(QPointF(0, hy), QPointF(0, 100));

    // reference circle around the hang point and reference curve
    if (!f.circle.isEmpty()) {
        painter->drawLine(QPointF(0, hy), f.circle.last());
        painter->drawLine(QPointF(0, hy), f.circle.first());
        painter->drawPolyline(f.circle);
        painter->setPen(QPen(Qt::cyan, 2, Qt::DotLine));
        painter->drawPolyline(f.reference);
    }

    // the figures, red while the base line is shorter than the flat half span
    QFont font = painter->font();
    font.setBold(true);
    font.setItalic(true);
    font.setPointSize(10);
    painter->setFont(font);
    const QPen textPen(f.arcReachesSpan ? Qt::black : Qt::red);

    painter->setPen(textPen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(0, 218, 400, 25));
    painter->drawText(QRectF(0, 218, 400, 25), QStringLiteral("TOT.FLAT SPAN [m]: %1 ").arg(d->span, 0, 'f', 2));

    painter->drawText(QRectF(0, 350, 600, 40), QStringLiteral(" open angle [deg]:%1    Circ.angle [deg]: %2  ")
                                                   .arg(f.openAngle * kRadToDeg, 0, 'f', 2)
                                                   .arg(f.circleAngle * kRadToDeg, 0, 'f', 2));

    painter->setPen(QPen(Qt::blue, 1, Qt::DotLine));
    painter->drawLine(QPointF(0, hy), f.tipRib);
    painter->setPen(textPen);

    painter->drawText(QRectF(0, 262, 400, 25), QStringLiteral("  FLAT Area: %1    aspect ratio: %2 ")
                                                   .arg(d->flatArea, 0, 'f', 2)
                                                   .arg(d->flatAspectRatio, 0, 'f', 2));
    painter->drawText(QRectF(0, 306, 400, 25), QStringLiteral("  Proj.Area: %1  aspect ratio: %2")
                                                   .arg(d->projectedArea, 0, 'f', 2)
                                                   .arg(d->projectedAspectRatio, 0, 'f', 2));
    painter->drawText(QRectF(0, 394, 400, 25), QStringLiteral(" aver. wing depth [m]: %1").arg(d->meanChord, 4, 'f', 2));
    painter->drawText(QRectF(0, 438, 400, 25), QStringLiteral(" Flattening [%]: %1   Lobe: %2")
                                                   .arg(d->flatteningPercent, 4, 'f', 2)
                                                   .arg(d->arcHeightPercent, 4, 'f', 2));

    // the ribs
    painter->setPen(QPen(Qt::blue, 1, Qt::SolidLine));
    font.setPointSize(8);
    painter->setFont(font);
    const QFontMetricsF ribMetrics(font);
    QList<QSizeF> numberSizes;
    for (int r = 0; r < f.ribs.size(); ++r)
        numberSizes << QSizeF(ribMetrics.horizontalAdvance(QString::number(r)), ribMetrics.height());
    const QList<QRectF> numbers =
        Rib_Number_Boxes(f.ribs, numberSizes, {Bezier_FourPoints(points[0], points[1], points[2], points[3]),
                                               f.circle, f.reference},
                         5);
    for (int r = 0; r < f.ribs.size(); ++r) {
        const QPointF P = f.ribs.at(r);
        painter->drawEllipse(QRectF(P.x() - 5, P.y() - 5, 10, 10));
        painter->drawEllipse(QRectF(-P.x() - 5, P.y() - 5, 10, 10));
        if (r < numbers.size() && !numbers[r].isNull())
            painter->drawText(numbers[r].topLeft() + QPointF(0, ribMetrics.ascent()), QString::number(r));
        if (r == f.ribs.size() - 1)
            painter->drawEllipse(QRectF(P.x() - 8, P.y() - 8, 16, 16));
    }

    // projected span and height of the tip
    const double xMax = f.outermost.x();
    const double yMax = f.outermost.y();
    font.setPointSize(12);
    painter->setFont(font);
    painter->setPen(QPen(Qt::blue, 1, Qt::DashDotLine));
    painter->drawText(QRectF(0.5 * (p0.x() + xMax), p0.y(), 200, 30),
                      QStringLiteral("proj.span:%1").arg(f.projectedSpan, 0, 'f', 2));
    // (left of the line it measures, not on it)
    DrawVerticalText(painter, QStringLiteral("%1").arg(f.tipHeight, 0, 'f', 2),
                     QPointF(xMax - 4, 0.5 * (p0.y() + yMax)));
    painter->drawLine(QPointF(p0.x(), p0.y()), QPointF(xMax, p0.y()));
    painter->drawLine(QPointF(xMax, p0.y()), QPointF(xMax, yMax));
}

// --- The view ----------------------------------------------------------------

FaceWidget::FaceWidget(QWidget* parent)
    : QGraphicsView(parent), design(GetDataStruct()), fits([this] { return fitDrawing(); })
{
    auto* scene = new QGraphicsScene(this);
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    scene->setSceneRect(kSceneRect);
    setScene(scene);
    setCacheMode(CacheBackground);
    setViewportUpdateMode(BoundingRectViewportUpdate);
    setRenderHint(QPainter::Antialiasing);
    setTransformationAnchor(AnchorUnderMouse);
    setResizeAnchor(AnchorViewCenter);

    for (int i = 0; i < 4; ++i) {
        nodes[i] = new fNode(this);
        nodes[i]->nodeIndex = i;
        scene->addItem(nodes[i]);
    }
    FaceNodesPositions();
    edges[0] = new fEdge(nodes[0], nodes[1]);
    edges[1] = new fEdge(nodes[3], nodes[2]);
    bezier = new BezierFace(nodes[0], nodes[1], nodes[2], nodes[3]);
    scene->addItem(edges[0]);
    scene->addItem(edges[1]);
    scene->addItem(bezier);

    scale(0.8, 0.8);
    setMinimumSize(250, 250);
    // A scroll bar the user moves pans the view: resizes leave it alone.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QScrollBar::actionTriggered, this, [this] { fits.userMoved(); });
}

void FaceWidget::FaceNodesPositions()
{
    QPointF stored[4];
    design->GetFacePos(stored);
    const QList<QGraphicsItem*> items = scene()->items();
    for (QGraphicsItem* item : items) {
        if (item->type() != fNode::Type)
            continue;
        auto* n = static_cast<fNode*>(item);
        if (n->nodeIndex >= 0 && n->nodeIndex < 4)
            n->setPos(stored[n->nodeIndex]);
    }
    // The dialog places the nodes as it is shown, after the view itself
    // was shown.
    fits.drawingReady(this);
}

void FaceWidget::scaleView(double factor)
{
    const double width = transform().scale(factor, factor).mapRect(QRectF(0, 0, 1, 1)).width();
    if (width < 0.05 || width > 100)
        return;
    scale(factor, factor);
    fits.userMoved();
}

QRectF FaceWidget::drawingExtent() const
{
    // Node 0 and the figures written from the centre line (see
    // BezierFace::paint), then the arc and its nodes with their marks.
    QRectF extent(QPointF(-20, 80), QPointF(420, 470));
    QPointF points[4];
    for (int i = 0; i < 4; ++i) {
        points[i] = nodes[i]->pos();
        extent |= QRectF(points[i] - QPointF(20, 20), QSizeF(40, 40));
    }
    extent |= Bezier_FourPoints(points[0], points[1], points[2], points[3]).boundingRect().adjusted(-15, -15, 15, 15);
    return extent;
}

bool FaceWidget::fitDrawing()
{
    const QRectF drawing = drawingExtent();
    const QRectF area = QRectF(viewport()->rect()).adjusted(8, 8, -8, -8);
    if (drawing.isEmpty() || area.isEmpty())
        return false;
    const ViewFit fit = Fit_In(drawing, area);
    setTransform(QTransform::fromScale(fit.zoom, fit.zoom));
    centerOn(drawing.center());
    return true;
}

void FaceWidget::showEvent(QShowEvent* event)
{
    QGraphicsView::showEvent(event);
    fits.shown(this, event);
}

void FaceWidget::hideEvent(QHideEvent* event)
{
    QGraphicsView::hideEvent(event);
    fits.hidden(this);
}

void FaceWidget::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    fits.resized(this);
}

void FaceWidget::wheelEvent(QWheelEvent* event)
{
    scaleView(std::pow(2.0, event->angleDelta().y() / 960.0));
}

void FaceWidget::keyPressEvent(QKeyEvent* event)
{
    QPointF step;
    switch (event->key()) {
    case Qt::Key_Left: step = QPointF(-1, 0); break;
    case Qt::Key_Right: step = QPointF(1, 0); break;
    case Qt::Key_Up: step = QPointF(0, -1); break;
    case Qt::Key_Down: step = QPointF(0, 1); break;
    case Qt::Key_Plus: scaleView(1.2); return;
    case Qt::Key_Minus: scaleView(1 / 1.2); return;
    default: QGraphicsView::keyPressEvent(event); return;
    }
    const QList<QGraphicsItem*> selected = scene()->selectedItems();
    for (QGraphicsItem* item : selected)
        if (item->type() == fNode::Type)
            item->moveBy(step.x(), step.y());
}

void FaceWidget::drawBackground(QPainter* painter, const QRectF&)
{
    const QRectF sceneRect = this->sceneRect();
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(sceneRect);
    painter->drawLine(QLine(0, 100, 100, 100));
    painter->drawLine(QLine(0, 100, 0, 900));
    drawNetBackground(painter);
}

void FaceWidget::drawNetBackground(QPainter* painter)
{
    const double g = design->ToScreen(0.1);
    if (!(g > 0) || !std::isfinite(g))
        return;
    painter->setPen(QPen(Qt::lightGray));
    const int top = int(100 - 2 * g);
    for (double x = 0; x < 1000; x += g)
        painter->drawLine(QLine(int(x), top, int(x), 900));
    for (double y = 900; y > 50; y -= g)
        painter->drawLine(QLine(0, int(y), 1000, int(y)));
}

// --- The dialog ----------------------------------------------------------------

FrontViewDialog::FrontViewDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FrontViewDialog>()), design(GetDataStruct()), session(new EditSession(this))
{
    ui->setupUi(this);
    move(0, 0);
}

FrontViewDialog::~FrontViewDialog() = default;

FaceWidget* FrontViewDialog::faceWidget() const
{
    return ui->facegraphicsView;
}

void FrontViewDialog::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    ui->facegraphicsView->FaceNodesPositions();
    // The figures are shown as they are: nodes already in place do not move
    // and so do not recompute them.
    design->Calculate_Areas_Aspects();
    ui->facegraphicsView->viewport()->update();
    QDialog::showEvent(event);
}

void FrontViewDialog::on_acceptButton_pressed()
{
    if (session->changed())
        Apply_Edit(design, DesignEdit::Wing);
    hide();
}

void FrontViewDialog::on_cancelButton_pressed()
{
    session->revert();
    hide();
}
