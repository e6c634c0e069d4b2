#include "lines/ui/graphixwidget.h"
#include "widgets/widgetinteraction.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/linetree.h"
#include "widgets/uihelpers.h"

#include <QDebug>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr double kNodeReach = 7.0;    // pixels: nodes, frame cells, line ends
constexpr double kInfoReach = 8.0;    // pixels: cell information, line handles
constexpr double kDragScale = 768.0;  // pixels of vertical drag per hang height of line
constexpr double kMinDragLength = 0.005;
constexpr double kMaxDragLength = 1.0;

// A new line of a group: a tenth of the hang height, half a millimetre thick.
constexpr double kNewLineLength = 0.1;
constexpr double kNewLineDiameter = 0.0005;

enum MenuEntry {
    AddLine, RemoveUpgoing, RemoveDowngoing, SetLength, Separator1, SingleDiameter, ChildDiameters,
    FirstLevelDiameters, PointInfo, Separator2, AllDiameters, EntryCount
};

const char* const kMenuTexts[EntryCount] = {
    " 0-Add new line ? ",
    " 1-Remove upgoing lines bucket ? ",
    " 2-Remove  downgoing line ? ",
    " 3-set rope length",
    " 4________________",
    " 5-set single parent rope diam.",
    " 6-set all child rope's diam.",
    " 7-set all 1_st level rope's diam.",
    " 8-set show point info",
    " 9--------------------",
    " 10-set all rope diam.",
};

void clearLists(BridleGroup* g)
{
    g->ids.clear();
    g->points.clear();
    g->pairs.clear();
    g->lines.clear();
    g->attachments.clear();
}

void copyLists(const BridleGroup& from, BridleGroup* to)
{
    to->ids = from.ids;
    to->points = from.points;
    to->pairs = from.pairs;
    to->lines = from.lines;
    to->attachments = from.attachments;
}

void copyFrame(const BridleFrame& from, BridleFrame& to)
{
    std::copy(&from[0][0], &from[0][0] + kBridleRibs * kFrameSlots, &to[0][0]);
}

bool consistentLists(const BridleGroup& g)
{
    return g.ids.size() == g.points.size() && g.pairs.size() == g.lines.size();
}

} // namespace

// The editor's copies: about 1 MB, so they live on the heap with the editor.
struct GraphixWidget::Stores {
    BridleGroup groups[kLineGroupSlots];
    BridleGroup clipboard;
    BridleGroup work;
    BridleFrame frame{};
};

GraphixWidget::GraphixWidget(QWidget* parent)
    : TreeEditor(parent, kNodeReach, kInfoReach), m_stores(std::make_unique<Stores>())
{
    m_pendingAttachment = set_origRLS(-1, -1, -1, -1, false);

    connect(this, &QWidget::customContextMenuRequested, this, &GraphixWidget::ShowContextMenu);
    connect(this, &GraphixWidget::to_getbridledata, this, &GraphixWidget::Get_All_Bridle_Data);
    connect(this, &GraphixWidget::to_updategrupline, this, &GraphixWidget::Update_CurrentGrupLine);
    connect(this, &GraphixWidget::to_select_onegrupline, this, &GraphixWidget::Select_OneGrupLine);
    connect(this, &GraphixWidget::to_child, this, &GraphixWidget::assign_ChildNode);
    connect(this, &GraphixWidget::to_parent, this, &GraphixWidget::assign_ParentNode);
    connect(this, &GraphixWidget::to_recalc, this, &GraphixWidget::AttachToRiser_2D3D);
    connect(this, &GraphixWidget::to_clear_grup, this, &GraphixWidget::Clear_LineGrup);
    connect(this, &GraphixWidget::to_refresh_frame, this, &GraphixWidget::Refresh_Frame);
}

GraphixWidget::~GraphixWidget() = default;

const BridleGroup& GraphixWidget::workingGroup() const
{
    return m_stores->work;
}

const BridleFrame& GraphixWidget::frame() const
{
    return m_stores->frame;
}

BridleGroup& GraphixWidget::workTree()
{
    return m_stores->work;
}

// --- Activation and the line plan -------------------------------------------------

void GraphixWidget::activate_graphix_widget()
{
    emit to_getbridledata();
    if (!m_connected) {
        Connect_To_Ancestor(this, SIGNAL(to_refresh_ropes()), SLOT(Refresh_Ropes()));
        Connect_To_Ancestor(this, SIGNAL(to_set_enable_linegrups()), SLOT(setEnableLineGrups()));
        m_connected = true;
    }
    emit to_set_enable_linegrups();
}

void GraphixWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    activate_graphix_widget();
    emit to_set_enable_linegrups();
}

void GraphixWidget::Get_All_Bridle_Data()
{
    design->linesOutdated = true;
    for (int s = 0; s < kLineGroupSlots; ++s) {
        m_stores->groups[s] = design->bridle.groups[s];
        Rebuild_Group_Lists(&m_stores->groups[s]);
    }
    copyFrame(design->bridle.frame, m_stores->frame);
    m_unit2D = 0.5 * design->scrlength_100();
    m_unit3D = design->ToScreen(design->hangHeight);
    m_frameNodes = f_start_id(design);
    m_loaded = true;
    emit to_refresh_frame();
}

void GraphixWidget::Refresh_Frame()
{
    Layout_Frame(design, m_stores->frame);
    computeFrameRect();
}

void GraphixWidget::computeFrameRect()
{
    const int tip = design->lastRib;
    if (tip < 0 || tip >= kBridleRibs) {
        m_frameRect = QRect();
        return;
    }
    const BridleFrame& f = m_stores->frame;
    const int left = f[tip][0].mirrorPos.x(), right = f[tip][0].pos.x();
    const int top = f[tip][0].pos.y(), bottom = f[tip][kBrakeSlot].pos.y();
    m_frameRect = QRect(QPoint(left - 10, top - 10), QPoint(right + 9, bottom + 19));
}

void GraphixWidget::Select_OneGrupLine()
{
    BridleGroup& w = m_stores->work;
    m_currentSlot = get_curr_bridle_grup(lineSelection);
    if (m_currentSlot < 0) {
        // No group: nothing to show, and nothing an edit could store.
        clearLists(&w);
        m_rootNode = -1;
        update();
        return;
    }
    // A group selected before the line plan was ever loaded would be taken
    // from an empty store and stored over the design's group.
    if (!m_loaded)
        Get_All_Bridle_Data();
    m_frameNodes = f_start_id(design);
    copyLists(m_stores->groups[m_currentSlot], &w);
    emit to_refresh_frame();
    if (w.lines.isEmpty()) {
        Init_Line_Group(design, m_stores->frame, &w);
        m_frameNodes = f_start_id(design);
    } else {
        Reattach_Canopy_Ends(&w, m_stores->frame);
    }
    m_rootNode = find_root_index(w.pairs).x();
    if (consistentLists(w)) {
        update();
        return;
    }
    const bool clear = Break_Question(QStringLiteral(" BIP BIP unexpected error - ropes will be cleared for current line-grup"),
                                      QStringLiteral(" create them again !"));
    clearLists(&w);
    m_rootNode = -1;
    if (clear) {
        emit to_clear_grup();
        return;
    }
    // Kept: the stored group stays as it is and this editor leaves it alone
    // until it is selected again.
    m_currentSlot = -1;
    update();
}

void GraphixWidget::Clear_LineGrup()
{
    const int slot = get_curr_bridle_grup(lineSelection);
    if (slot < 0)
        return;
    m_currentSlot = slot;
    emit to_refresh_frame();
    Init_Line_Group(design, m_stores->frame, &m_stores->work);
    m_frameNodes = f_start_id(design);
    emit to_updategrupline();
    emit to_select_onegrupline();
}

void GraphixWidget::Update_CurrentGrupLine()
{
    const int slot = get_curr_bridle_grup(lineSelection);
    // The working group goes only into the slot it was loaded from.
    if (slot < 0 || slot != m_currentSlot)
        return;
    BridleGroup& s = m_stores->groups[slot];
    copyLists(m_stores->work, &s);
    Store_Group_Lists(&s);
    copyFrame(m_stores->frame, design->bridle.frame);
    design->bridle.groups[slot] = s;
}

void GraphixWidget::AttachToRiser_2D3D()
{
    BridleGroup& w = m_stores->work;
    if (m_currentSlot < 1 || w.lines.size() < 2 || w.points.isEmpty())
        return;
    m_rootNode = find_root_index(w.pairs).x();
    if (m_rootNode < 0)
        return;
    Place_Line_Group(design, m_currentSlot, &w, m_stores->frame);
    emit to_updategrupline();
}

// --- Adding and removing lines ----------------------------------------------------------

void GraphixWidget::assign_ChildNode()
{
    BridleGroup& w = m_stores->work;
    m_joinPending = false;
    m_pendingAttachment = set_origRLS(-1, -1, -1, -1, false);
    const int c = nodeUnderPointer();
    m_startNode = -1;
    if (c < 0)
        return;
    // A node has at most one line towards the root.
    for (const QPoint& pair : std::as_const(w.pairs))
        if (pair.y() == c)
            return;
    m_startNode = c;
    m_joinPending = true;
    m_startPoint = w.points.at(c);
    if (c < m_frameNodes) {
        if (frameCellAt(m_startPoint)) {
            m_pendingAttachment = set_origRLS(m_hitRib, m_hitSlot, m_hitSide, c, true);
        } else {
            m_joinPending = false;
            m_startNode = -1;
        }
    }
}

void GraphixWidget::assign_ParentNode()
{
    BridleGroup& w = m_stores->work;
    emit to_refresh_frame();
    QVector3D childEnd = design->hangingPoint;
    const QPoint p = pointerScene();
    if (m_frameRect.contains(p) || m_startNode < 0 || m_startNode >= w.points.size())
        return;
    if (intDist2(p, m_startPoint) < m_view.reach(kNodeReach))
        return;
    if (is_between(0, m_frameNodes - 1, m_startNode)) {
        if (!frameCellAt(w.points.at(m_startNode))) {
            qDebug() << " V NOT....found !!";
            return;
        }
        const FrameArr& cell = m_stores->frame[m_hitRib][m_hitSlot];
        childEnd = m_hitSide == 1 ? cell.mirrorPos3D : cell.pos3D;
    }
    int parent = Node_At(w.points, p, m_view.reach(kNodeReach));
    if (parent >= 0 && parent < m_frameNodes)
        return;   // a frame node is never a parent
    if (parent < 0)
        parent = Add_Free_Node(&w, p);
    if (parent < 0)
        return;   // the group is full; the user was told
    const LineProp line = New_Tree_Line(childEnd, kNewLineLength, kNewLineDiameter);
    if (!Add_Group_Line(&w, parent, m_startNode, line, m_pendingAttachment))
        return;
    m_joinPending = false;
    emit to_recalc();
    emit to_updategrupline();
    emit to_refresh_ropes();
}

void GraphixWidget::storeAfterEdit()
{
    emit to_recalc();
    emit to_updategrupline();
    emit to_refresh_ropes();
}

// --- Copy and paste -------------------------------------------------------------

void GraphixWidget::Copy_LineGrup()
{
    const int slot = get_curr_bridle_grup(lineSelection);
    if (slot < 0 || slot != m_currentSlot)
        return;
    m_copySlot = slot;
    copyLists(m_stores->work, &m_stores->clipboard);
}

void GraphixWidget::Paste_LineGrup()
{
    if (m_copySlot < 0)
        return;
    m_pasteSlot = get_curr_bridle_grup(lineSelection);
    if (m_pasteSlot >= 0) {
        BridleGroup& w = m_stores->work;
        copyLists(m_stores->clipboard, &w);
        Move_Pasted_Ends(design, &w, m_copySlot, m_pasteSlot);
        Reattach_Canopy_Ends(&w, m_stores->frame);
        // The brakes carry no load; the placement leaves their loads alone.
        if (m_pasteSlot == kBrakeGroupSlot)
            for (LineProp& line : w.lines)
                line.load = 0;
        m_currentSlot = m_pasteSlot;
        m_rootNode = find_root_index(w.pairs).x();
        // Placed from its new riser (or the carabiner) before it is stored.
        emit to_recalc();
        emit to_updategrupline();
        m_pasteSlot = -1;
    }
    update();
}

// --- Line properties ------------------------------------------------------------------

void GraphixWidget::SingleLineDiameterChangeAction()
{
    diameterAction(SingleDiameter);
}

void GraphixWidget::AllLineDiameterChangeAction()
{
    diameterAction(ChildDiameters);
}

void GraphixWidget::FastenRopeDiameterChangeAction()
{
    diameterAction(FirstLevelDiameters);
}

void GraphixWidget::DefaultLineDiameterChangeAction()
{
    diameterAction(AllDiameters);
}

bool GraphixWidget::diameterAction(int which)
{
    BridleGroup& w = m_stores->work;
    // Only the first-level dialog works without a selected line.
    if (which != FirstLevelDiameters && !selectedLine())
        return false;
    QString title = QStringLiteral("set rope diameter");
    double initialMm = 0;
    if (which == SingleDiameter)
        initialMm = w.lines.at(m_selection).diameter * 1000;
    else if (which == FirstLevelDiameters)
        title = QStringLiteral("set diameter");
    else if (which == AllDiameters)
        title = QStringLiteral("set default diameter for selected group line bridle?");
    const std::optional<double> diameter = Ask_Diameter(title, initialMm);
    if (!diameter)
        return false;
    const int count = std::min<int>(w.lines.size(), w.pairs.size());
    const int parent = selectedLine() && m_selection < count ? w.pairs.at(m_selection).x() : -1;
    for (int i = 0; i < count; ++i) {
        bool change = false;
        switch (which) {
        case SingleDiameter: change = i == m_selection; break;
        case ChildDiameters: change = parent >= 0 && w.pairs.at(i).x() == parent; break;
        case FirstLevelDiameters: change = w.pairs.at(i).y() < m_frameNodes; break;
        default: change = true; break;
        }
        if (change)
            w.lines[i].diameter = *diameter;
    }
    return true;
}

// --- Hit tests ----------------------------------------------------------------------

int GraphixWidget::nodeUnderPointer()
{
    const QPoint p = pointerScene();
    showFrameCellInfo(p);
    return TreeEditor::nodeUnderPointer();
}

int GraphixWidget::frameNodeAt(QPoint p) const
{
    const QPolygon& points = m_stores->work.points;
    if (m_frameNodes < 1 || points.size() < m_frameNodes)
        return -1;
    return Node_At(points, p, m_view.reach(kNodeReach), m_frameNodes);
}

namespace {
// The first frame cell (ribs firstRib..lastRib, slots 0..7, own point before
// mirror) whose point `near` accepts; (rib, slot, side) or (-1, -1, -1).
template <typename Near>
void findCell(const ParaStruct* d, const BridleFrame& frame, Near near, int* rib, int* slot, int* side)
{
    *rib = *slot = *side = -1;
    const int first = std::max(d->firstRib, 0), last = std::min(d->lastRib, kBridleRibs - 1);
    for (int r = first; r <= last; ++r) {
        for (int s = 0; s < kLaidOutSlots; ++s) {
            for (int m = 0; m < 2; ++m) {
                if (m == 1 && r == 0)
                    continue;   // the centre rib has no mirror
                if (near(m == 0 ? frame[r][s].pos : frame[r][s].mirrorPos)) {
                    *rib = r;
                    *slot = s;
                    *side = m;
                    return;
                }
            }
        }
    }
}
} // namespace

bool GraphixWidget::frameCellAt(QPoint p)
{
    const double reach = m_view.reach(kNodeReach);
    findCell(design, m_stores->frame, [&](QPoint q) { return intDist2(q, p) < reach; }, &m_hitRib, &m_hitSlot,
             &m_hitSide);
    return m_hitRib >= 0;
}

bool GraphixWidget::showFrameCellInfo(QPoint p)
{
    const double reach = m_view.reach(kInfoReach);
    int rib, slot, side;
    findCell(design, m_stores->frame, [&](QPoint q) { return (q - p).manhattanLength() < reach; }, &rib, &slot, &side);
    if (rib < 0)
        return false;
    showTip(QStringLiteral(" rib: %1 line: %2   side: %3 \t\n").arg(rib).arg(LineLetter(slot + 2))
                .arg(side == 0 ? QStringLiteral("side-->") : QStringLiteral("<--side"))
            + QStringLiteral(" node is active=false"));
    return true;
}

bool GraphixWidget::lineEndUnderPointer() const
{
    const QPoint p = pointerScene();
    const double reach = m_view.reach(kNodeReach);
    for (const LineProp& l : m_stores->work.lines)
        if (intDist2(l.p2, p) < reach)
            return true;
    return false;
}

// --- Mouse ------------------------------------------------------------------------

void GraphixWidget::mousePressEvent(QMouseEvent* event)
{
    m_selection = -1;
    m_selectionIsLine = false;
    m_pointer = event->position().toPoint();
    const QPoint p = pointerScene();
    if (m_joinPending)
        emit to_parent();
    m_joinPending = false;
    m_lineEndDrag = false;
    if (!(event->buttons() & Qt::LeftButton))
        return;
    if (!m_frameRect.contains(p)) {
        m_selection = nodeUnderPointer();
    } else if (!m_stores->work.points.isEmpty() && lineEndUnderPointer() && frameCellAt(p)) {
        m_lineEndDrag = true;
        m_pressPoint = p;
    }
}

void GraphixWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint now = event->position().toPoint();
    const QPoint d = now - m_pointer;
    m_pointer = now;
    if (event->buttons() & Qt::LeftButton) {
        if (!m_lineEndDrag) {
            if (!m_selectionIsLine && isFreeNode(m_selection))
                moveSelectedNode(d.y());
        } else {
            m_dragTarget = pointerScene();
            const bool onLineEnd = !m_stores->work.points.isEmpty() && lineEndUnderPointer();
            if (!onLineEnd && frameCellAt(m_dragTarget))
                showTip(QStringLiteral("..target point hovered..!"));
        }
        emit to_recalc();
        emit to_updategrupline();
        update();
    }
    if (event->buttons() & Qt::MiddleButton) {
        m_view.pan += d;
        update();
        return;
    }
    if (m_joinPending) {
        update();
        showJoinToolTips();
    }
}

void GraphixWidget::moveSelectedNode(int dy)
{
    BridleGroup& w = m_stores->work;
    w.points[m_selection] = pointerScene();
    for (int i = 0; i < w.pairs.size(); ++i) {
        if (w.pairs.at(i).y() != m_selection)
            continue;
        if (i < w.lines.size()) {
            double& length = w.lines[i].length;
            length = std::clamp(length - dy / kDragScale, kMinDragLength, kMaxDragLength);
        }
        break;
    }
}

void GraphixWidget::showJoinToolTips()
{
    const QPoint p = pointerScene();
    if (m_frameRect.contains(p)) {
        showFrameCellInfo(p);
        return;
    }
    m_selection = nodeUnderPointer();
    m_selectionIsLine = false;
    showTip(m_selection < m_frameNodes ? QStringLiteral(" new free point..")
                                       : QStringLiteral("point  hovered.. \n Click to join !"));
}

void GraphixWidget::mouseReleaseEvent(QMouseEvent*)
{
    m_selection = -1;
    m_selectionIsLine = false;
    if (m_joinPending)
        return;
    if (m_lineEndDrag)
        refastenLineEnds();
    m_lineEndDrag = false;
    emit to_refresh_frame();
    emit to_recalc();
    emit to_updategrupline();
    emit to_refresh_ropes();
    update();
}

void GraphixWidget::refastenLineEnds()
{
    BridleGroup& w = m_stores->work;
    const int from = frameNodeAt(m_pressPoint);
    const int to = frameNodeAt(m_dragTarget);
    // Both ends must be frame nodes on frame cells; a failed look-up moves nothing.
    if (from < 0 || to < 0 || from == to || !frameCellAt(w.points.at(to)))
        return;
    for (int i = 0; i < w.pairs.size(); ++i) {
        if (w.pairs.at(i).y() != from)
            continue;
        w.pairs[i].setY(to);
        if (i < w.lines.size())
            w.lines[i].p2 = w.points.at(to);
        if (i < w.attachments.size())
            w.attachments[i] = set_origRLS(m_hitRib, m_hitSlot, m_hitSide, to, w.attachments.at(i).attached);
    }
    Reattach_Canopy_Ends(&w, m_stores->frame);
}

// --- Context menu ----------------------------------------------------------------------

void GraphixWidget::ShowContextMenu(const QPoint& pos)
{
    if (m_joinPending) {
        m_joinPending = false;
        update();
        return;
    }
    m_pointer = pos;
    QMenu menu;
    QAction* entries[EntryCount];
    for (int i = 0; i < EntryCount; ++i) {
        entries[i] = menu.addAction(QString::fromLatin1(kMenuTexts[i]));
        entries[i]->setEnabled(i == PointInfo || i == AllDiameters);
    }
    const int line = handleUnderPointer();
    if (line >= 0) {
        m_selection = line;
        m_selectionIsLine = true;
        for (int i : {SetLength, SingleDiameter, ChildDiameters, FirstLevelDiameters})
            entries[i]->setEnabled(true);
    } else if (nodeUnderPointer() >= 0) {
        for (int i : {AddLine, RemoveUpgoing, RemoveDowngoing})
            entries[i]->setEnabled(true);
    }
    QAction* chosen = Popup_Menu(&menu, mapToGlobal(pos));
    const int entry = int(std::find(entries, entries + EntryCount, chosen) - entries);
    switch (entry) {
    case AddLine:
        m_targetPoint = nearestNode();
        emit to_child();
        break;
    case RemoveUpgoing:
    case RemoveDowngoing:
        removeAtPointer(entry == RemoveUpgoing);
        break;
    case SetLength:
        if (selectedLine() && Ask_Line_Length(design, m_unit3D, &m_stores->work.lines[m_selection])) {
            emit to_recalc();
            emit to_updategrupline();
            emit to_refresh_ropes();
        }
        break;
    case SingleDiameter:
    case ChildDiameters:
    case FirstLevelDiameters:
    case AllDiameters:
        if (diameterAction(entry)) {
            emit to_updategrupline();
            emit to_refresh_ropes();
        }
        break;
    case PointInfo:
        showFrameCellInfo(pointerScene());
        break;
    default:
        break;
    }
    update();
}
