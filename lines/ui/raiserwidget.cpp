#include "lines/ui/raiserwidget.h"
#include "widgets/widgetinteraction.h"

#include "core/parastruct.h"
#include "core/chartlabels.h"
#include "core/transf.h"
#include "lines/linetree.h"
#include "widgets/uihelpers.h"

#include <QDebug>
#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr double kNodeReach = 10.0;      // pixels: nodes
constexpr double kInfoReach = 8.0;       // pixels: frame information, line handles
constexpr double kFrameNodeReach = 6.0;  // scene points, at every zoom
constexpr double kFramePointReach = 5.0; // scene points, at every zoom
constexpr int kVirtualDrop = 30;         // pixels below a riser frame point

// A new riser line: 5 % of the hang height, 2 cm thick.
constexpr double kNewLineLength = 0.05;
constexpr double kNewLineDiameter = 0.02;

enum MenuEntry { AddLine, RemoveUpgoing, RemoveDowngoing, SetLength, EntryCount };

const char* const kMenuTexts[EntryCount] = {
    " 0-Add new line ? ",
    " 1-Remove upgoing lines bucket ? ",
    " 2-Remove  downgoing line ? ",
    " 3-set segment length",
};

} // namespace

struct RaiserWidget::Trees {
    BridleGroup copy;   // the riser tree as last loaded or stored
    BridleGroup work;   // the tree being edited (no attachments)
};

RaiserWidget::RaiserWidget(QWidget* parent)
    : TreeEditor(parent, kNodeReach, kInfoReach), m_trees(std::make_unique<Trees>())
{
    connect(this, &QWidget::customContextMenuRequested, this, &RaiserWidget::ShowContextMenu);
    connect(this, &RaiserWidget::do_select_raiser, this, &RaiserWidget::Select_Raiser);
    connect(this, &RaiserWidget::do_recalc, this, &RaiserWidget::Recalculate_Raiser);
    connect(this, &RaiserWidget::do_save_raiser, this, &RaiserWidget::Save_raiser_data);
    connect(this, &RaiserWidget::do_resetgrup, this, &RaiserWidget::Reset_Raiser);
    connect(this, &RaiserWidget::do_child, this, &RaiserWidget::assign_ChildNode);
    connect(this, &RaiserWidget::do_parent, this, &RaiserWidget::assign_ParentNode);
}

RaiserWidget::~RaiserWidget() = default;

const BridleGroup& RaiserWidget::workingTree() const
{
    return m_trees->work;
}

BridleGroup& RaiserWidget::workTree()
{
    return m_trees->work;
}

// --- Activation, loading, storing ---------------------------------------------------

void RaiserWidget::activate_riser_widget()
{
    m_canvasWidth = 1024;
    m_canvasHeight = 768;
    if (!m_activated)
        Connect_To_Ancestor(this, SIGNAL(do_refresh_ropes()), SLOT(Refresh_Ropes()));
    m_activated = true;
    emit do_select_raiser();
    emit do_recalc();
    emit do_save_raiser();
    update();
}

void RaiserWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    activate_riser_widget();
}

bool RaiserWidget::loadRiser()
{
    m_loaded = true;
    m_unit2D = 0.5 * design->scrlength_100();
    m_unit3D = design->ToScreen(design->hangHeight);
    m_frameNodes = design->lineGroupCount;
    BridleGroup& copy = m_trees->copy;
    BridleGroup& w = m_trees->work;
    copy = design->bridle.riserGroup;
    std::copy(design->bridle.riserFrames, design->bridle.riserFrames + kRiserFrames, m_riserFrame);
    Rebuild_Group_Lists(&copy);
    w.ids = copy.ids;
    w.points = copy.points;
    w.pairs = copy.pairs;
    w.lines = copy.lines;
    w.attachments.clear();
    m_rootNode = Riser_Root_Index(w.pairs, m_frameNodes).x();
    computeFrameRect();
    if (w.ids.size() == w.points.size() && w.pairs.size() == w.lines.size()) {
        m_keptInconsistent = false;
        return true;
    }
    w.ids.clear();
    w.points.clear();
    w.pairs.clear();
    w.lines.clear();
    m_rootNode = -1;
    return false;
}

void RaiserWidget::reportInconsistent() const
{
    const BridleGroup& c = m_trees->copy;
    qDebug().noquote() << "....... not consistent QList data ! clear all lists !!";
    qDebug().noquote() << "id_PointList.size()" << c.ids.size();
    qDebug().noquote() << "PointList.size()" << c.points.size();
    qDebug().noquote() << "LineProp_List.size()" << c.lines.size();
    qDebug().noquote() << "graphixList.size()" << c.pairs.size();
}

void RaiserWidget::Select_Raiser()
{
    if (loadRiser() || m_keptInconsistent) {
        update();
        return;
    }
    // Reported once; the reset asks without loading the same tree again.
    reportInconsistent();
    m_resetAfterFailedLoad = true;
    emit do_resetgrup();
    m_resetAfterFailedLoad = false;
}

void RaiserWidget::Reset_Raiser()
{
    bool loaded = true;
    if (!m_resetAfterFailedLoad) {
        loaded = loadRiser();
        if (!loaded && !m_keptInconsistent)
            reportInconsistent();
    } else {
        loaded = false;
    }
    if (!Break_Question(QStringLiteral("Reinitialize raisers shape"), QStringLiteral("OK ?"))) {
        // A tree that failed to load stays in the design as it is.
        if (!loaded)
            m_keptInconsistent = true;
        update();
        return;
    }
    m_keptInconsistent = false;
    Init_Raiser_Frame();
    add_2virtualLines();
    m_rootNode = Riser_Root_Index(m_trees->work.pairs, m_frameNodes).x();
    computeFrameRect();
    emit do_save_raiser();
    update();
}

void RaiserWidget::Init_Raiser_Frame()
{
    Init_Riser_Frame(design, m_riserFrame, &m_trees->work);
    m_frameNodes = design->lineGroupCount;
}

void RaiserWidget::add_2virtualLines()
{
    Add_Riser_Virtual_Lines(design, m_riserFrame, &m_trees->work, Round_Half_Up(kVirtualDrop / m_view.zoom));
}

void RaiserWidget::Recalculate_Raiser()
{
    BridleGroup& w = m_trees->work;
    if (!Place_Riser(design, &w, m_riserFrame).placed)
        return;
    m_rootNode = Riser_Root_Index(w.pairs, m_frameNodes).x();
    emit do_save_raiser();
}

void RaiserWidget::Save_raiser_data()
{
    // Nothing loaded yet means nothing edited: the design's tree stays.
    if (m_keptInconsistent || !m_loaded)
        return;
    BridleGroup& copy = m_trees->copy;
    const BridleGroup& w = m_trees->work;
    copy.ids = w.ids;
    copy.points = w.points;
    copy.pairs = w.pairs;
    copy.lines = w.lines;
    Store_Group_Lists(&copy);
    design->bridle.riserGroup = copy;
    std::copy(m_riserFrame, m_riserFrame + kRiserFrames, design->bridle.riserFrames);
}

void RaiserWidget::computeFrameRect()
{
    QPolygon points;
    for (int i = 0; i < std::min(design->lineGroupCount, kRiserFrames); ++i)
        points.append(m_riserFrame[i].pos);
    m_frameRect = points.isEmpty() ? QRect() : points.boundingRect().adjusted(-10, -10, 10, 10);
}

// --- Adding and removing lines -------------------------------------------------------

void RaiserWidget::assign_ChildNode()
{
    m_joinPending = false;
    m_startNode = nodeUnderPointer();
    m_joinPending = m_startNode >= 0;
}

void RaiserWidget::assign_ParentNode()
{
    BridleGroup& w = m_trees->work;
    const QPoint p = pointerScene();
    if (m_frameRect.contains(p) || m_startNode < 0 || m_startNode >= w.points.size())
        return;
    QVector3D childEnd(0, 0, 0);
    if (m_startNode < m_frameNodes) {
        const int f = riserFramePointNear(w.points.at(m_startNode));
        if (f >= 0)
            childEnd = m_riserFrame[f].pos3D;
    }
    int parent = nodeUnderPointer();
    // A line needs two ends, and the riser frame points hang only on their virtual lines.
    if (parent == m_startNode || (parent >= 0 && parent < m_frameNodes))
        return;
    if (parent < 0)
        parent = Add_Free_Node(&w, p, kStoredRiserLines);
    if (parent < 0)
        return;
    const LineProp line = New_Tree_Line(childEnd, kNewLineLength, kNewLineDiameter);
    if (!Add_Riser_Line(&w, parent, m_startNode, line))
        return;
    m_joinPending = false;
    storeAfterEdit();
}

void RaiserWidget::storeAfterEdit()
{
    emit do_recalc();
    emit do_save_raiser();
    emit do_refresh_ropes();
}

// --- Hit tests ---------------------------------------------------------------------

int RaiserWidget::frameNodeAt(QPoint p) const
{
    const BridleGroup& w = m_trees->work;
    if (m_frameNodes < 1 || w.points.size() < m_frameNodes)
        return -1;
    return Node_At(w.points, p, kFrameNodeReach, m_frameNodes);
}

int RaiserWidget::riserFramePointNear(QPoint p) const
{
    for (int i = 0; i < std::min(design->lineGroupCount, kRiserFrames); ++i)
        if (intDist2(m_riserFrame[i].pos, p) < kFramePointReach)
            return i;
    return -1;
}

void RaiserWidget::showHoverToolTips()
{
    const QPoint p = pointerScene();
    if (m_frameRect.contains(p)) {
        const double reach = m_view.reach(kInfoReach);
        for (int i = 0; i < std::min(design->lineGroupCount, kRiserFrames); ++i) {
            if ((m_riserFrame[i].pos - p).manhattanLength() < reach) {
                showTip(QStringLiteral(" line: %1 ").arg(LineLetter(i + 2)));
                return;
            }
        }
        return;
    }
    if (!m_joinPending)
        return;
    m_selection = nodeUnderPointer();
    m_selectionIsLine = false;
    showTip(m_selection < 0 ? QStringLiteral(" new free point ?")
                            : QStringLiteral(" point  hoovered.. \n Release mouse to join !"));
}

// --- Mouse and menu -------------------------------------------------------------------

void RaiserWidget::mousePressEvent(QMouseEvent* event)
{
    m_selection = -1;
    m_selectionIsLine = false;
    m_pointer = event->position().toPoint();
    if (m_joinPending)
        emit do_parent();
    m_joinPending = false;
    if (event->buttons() & Qt::LeftButton)
        m_selection = nodeUnderPointer();
}

void RaiserWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint now = event->position().toPoint();
    const QPoint d = now - m_pointer;
    m_pointer = now;
    if ((event->buttons() & Qt::LeftButton) && !m_selectionIsLine && isFreeNode(m_selection)) {
        m_trees->work.points[m_selection] = pointerScene();
        update();
    }
    if (event->buttons() & Qt::MiddleButton) {
        m_view.pan += d;
        update();
    }
    if (event->buttons() == Qt::NoButton) {
        if (m_joinPending)
            update();
        showHoverToolTips();
    }
}

void RaiserWidget::mouseReleaseEvent(QMouseEvent*)
{
    m_selection = -1;
    m_selectionIsLine = false;
    emit do_recalc();
    emit do_save_raiser();
    update();
}

void RaiserWidget::ShowContextMenu(const QPoint& pos)
{
    m_pointer = pos;
    QMenu menu;
    QAction* entries[EntryCount];
    for (int i = 0; i < EntryCount; ++i) {
        entries[i] = menu.addAction(QString::fromLatin1(kMenuTexts[i]));
        entries[i]->setEnabled(false);
    }
    const int line = handleUnderPointer();
    if (line >= 0) {
        m_selection = line;
        m_selectionIsLine = true;
        entries[SetLength]->setEnabled(true);
    } else if (isFreeNode(nodeUnderPointer())) {
        for (int i : {AddLine, RemoveUpgoing, RemoveDowngoing})
            entries[i]->setEnabled(true);
    }
    QAction* chosen = Popup_Menu(&menu, mapToGlobal(pos));
    const int entry = int(std::find(entries, entries + EntryCount, chosen) - entries);
    switch (entry) {
    case AddLine:
        m_targetPoint = nearestNode();
        emit do_child();
        break;
    case RemoveUpgoing:
    case RemoveDowngoing:
        removeAtPointer(entry == RemoveUpgoing);
        break;
    case SetLength:
        if (selectedLine() && Ask_Line_Length(design, m_unit3D, &m_trees->work.lines[m_selection]))
            storeAfterEdit();
        break;
    default:
        break;
    }
    update();
}

// --- Drawing ---------------------------------------------------------------------------

QString RaiserWidget::headerText() const
{
    return QStringLiteral("scale: %1  .RAISER MODEL. %2").arg(m_view.zoom, 0, 'f', 3).arg(QStringLiteral("edit mode ON \n "));
}

void RaiserWidget::paintEvent(QPaintEvent*)
{
    m_canvasWidth = 1024;
    m_canvasHeight = 768;
    QFont header = m_lettering.header;
    header.setPointSize(m_lettering.headerPoints(0.1 * m_canvasWidth));
    QPainter painter(this);
    painter.setFont(header);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawText(QPoint(400, 30), headerText());
    if (design->linesOutdated)
        painter.drawText(QPoint(400, 60), QStringLiteral(" exit with OK = just update risers !!!"));
    m_view.apply(&painter);
    paintRiserFrame(&painter);
    paintLines(&painter);
    paintPendingLineAndRoot(&painter);
    paintLengthLabels(&painter);
}

void RaiserWidget::paintRiserFrame(QPainter* painter)
{
    QFont f = painter->font();
    f.setWeight(QFont::Normal);
    f.setStyle(QFont::StyleNormal);
    f.setPointSize(10);
    painter->setFont(f);
    painter->setBrush(Qt::blue);
    painter->setPen(Hairline_Pen(Qt::white, Qt::DotLine));
    if (!m_frameRect.isNull())
        painter->drawRect(m_frameRect);
    for (int i = 0; i < std::min(design->lineGroupCount, kRiserFrames); ++i) {
        const QPoint q = m_riserFrame[i].pos;
        painter->drawText(QPoint(q.x() - m_lettering.letterWidth / 3, q.y() + m_lettering.letterHeight), QStringLiteral("L-%1").arg(i + 1));
        painter->drawEllipse(Circle_Rect(q, 6, 5));
    }
    painter->setBrush(Qt::NoBrush);
}

void RaiserWidget::paintLines(QPainter* painter)
{
    const BridleGroup& w = m_trees->work;
    if (w.pairs.isEmpty() || w.pairs.size() > w.lines.size())
        return;
    for (int i = 0; i < w.pairs.size(); ++i) {
        const int a = w.pairs.at(i).x(), b = w.pairs.at(i).y();
        if (a < 0 || b < 0 || a >= w.points.size() || b >= w.points.size())
            continue;
        const QPoint A = w.points.at(a), B = w.points.at(b);
        if (b < m_frameNodes) {
            // A virtual line: the riser frame point hangs on it.
            painter->setPen(Hairline_Pen(Qt::white, Qt::DashDotLine));
            painter->drawLine(A, B);
            painter->setBrush(Qt::green);
            painter->drawEllipse(Circle_Rect(A, 5, 4));
            painter->drawEllipse(Circle_Rect(B, 5, 4));
            painter->setBrush(Qt::NoBrush);
            continue;
        }
        painter->setPen(QPen(Qt::white, 2, Qt::SolidLine));
        painter->drawLine(A, B);
        painter->setBrush(Qt::green);
        painter->drawEllipse(Circle_Rect(A, 5, 4));
        painter->drawEllipse(Circle_Rect(B, 5, 4));
        painter->setBrush(Qt::blue);
        painter->drawEllipse(Circle_Rect(A, 3, 2));
        painter->drawEllipse(Circle_Rect(B, 3, 2));
        const QPoint M(Round_Half_Up((A.x() + B.x()) / 2.0), Round_Half_Up((A.y() + B.y()) / 2.0));
        painter->setBrush(Qt::red);
        painter->drawEllipse(Circle_Rect(M, 3, 2));
        painter->setBrush(Qt::NoBrush);
    }
}

QFont RaiserWidget::labelFont() const
{
    QFont f = m_lettering.header;
    f.setWeight(QFont::Normal);
    f.setStyle(QFont::StyleNormal);
    f.setPointSize(10);
    return f;
}

QList<RaiserWidget::LengthLabel> RaiserWidget::lengthLabels() const
{
    const BridleGroup& w = m_trees->work;
    QList<LengthLabel> labels;
    if (w.pairs.isEmpty() || w.pairs.size() > w.lines.size())
        return labels;
    const QFontMetricsF metrics(labelFont());
    QList<QRectF> wanted;
    for (int i = 0; i < w.pairs.size(); ++i) {
        const int a = w.pairs.at(i).x(), b = w.pairs.at(i).y();
        // The virtual lines of the frame carry no length.
        if (a < 0 || b < 0 || a >= w.points.size() || b >= w.points.size() || b < m_frameNodes)
            continue;
        const QPointF M = m_view.toWidget(QPointF(w.points.at(a) + w.points.at(b)) / 2);
        const QString text = QStringLiteral("%1[m]").arg(design->R_X(m_unit3D * w.lines.at(i).length), 0, 'f', 2);
        const QSizeF size(metrics.horizontalAdvance(text) + 4, metrics.height());
        labels.append({QRectF(M + QPointF(6, -size.height() / 2), size), text, M});
        wanted.append(labels.last().box);
    }
    // Lines that meet at a split put their labels on one another: each is
    // moved to the first free place below, above or beside it.
    // The nodes stay in sight.
    QList<QRectF> nodes;
    for (const QPoint& p : w.points)
        nodes.append(QRectF(m_view.toWidget(QPointF(p)) - QPointF(6, 6), QSizeF(12, 12)));
    const QList<QRectF> placed = Place_Labels(wanted, Label_Moves(4), QRectF(rect()), nodes);
    QList<LengthLabel> shown;
    for (int i = 0; i < labels.size(); ++i)
        if (!placed[i].isNull())
            shown.append({placed[i], labels[i].text, labels[i].line});
    return shown;
}

void RaiserWidget::paintLengthLabels(QPainter* painter) const
{
    painter->save();
    painter->resetTransform();
    painter->setFont(labelFont());
    for (const LengthLabel& l : lengthLabels()) {
        // A label moved off its line points back to it.
        if (!l.box.adjusted(-8, -2, 2, 2).contains(l.line)) {
            painter->setPen(QPen(QColor(255, 255, 255, 140), 1, Qt::DotLine));
            const QPointF edge(std::clamp(l.line.x(), l.box.left(), l.box.right()),
                               std::clamp(l.line.y(), l.box.top(), l.box.bottom()));
            painter->drawLine(l.line, edge);
        }
        // On a dark plate, so that the lines behind do not cross the text.
        painter->fillRect(l.box, QColor(0, 0, 0, 210));
        painter->setPen(Qt::white);
        painter->drawText(l.box, Qt::AlignCenter, l.text);
    }
    painter->restore();
}

void RaiserWidget::paintPendingLineAndRoot(QPainter* painter)
{
    const BridleGroup& w = m_trees->work;
    if (m_joinPending && m_startNode >= 0 && m_startNode < w.points.size()) {
        painter->setPen(QPen(Qt::red, 1, Qt::SolidLine));
        painter->drawLine(w.points.at(m_startNode), pointerScene());
    }
    if (m_rootNode >= 0 && m_rootNode < w.points.size()) {
        painter->setPen(QPen(Qt::white, 1, Qt::SolidLine));
        painter->setBrush(Qt::blue);
        painter->drawEllipse(Circle_Rect(w.points.at(m_rootNode), 10, 9));
        painter->setBrush(Qt::NoBrush);
    }
}
