#include "lines/lineplan.h"

#include "core/notify.h"
#include "core/parastruct.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>

namespace {

// The scene of the tree editors.
constexpr double kSceneWidth = 1024.0;
constexpr double kSceneHeight = 768.0;
constexpr double kFrameCentreX = 512.0;
constexpr double kFrameHalfWidth = 614.4;  // 0.6 of the scene width
constexpr double kFrameTop = 76.8;         // 0.1 of the scene height
constexpr double kFrameRowStep = 153.6 / 9; // 0.2 of the scene height in nine rows

constexpr double kVirtualLineLength = 0.05;
constexpr double kRiserLineDiameter = 0.02;

bool ribInFrame(int rib)
{
    return rib >= 0 && rib < kBridleRibs;
}

void tellGroupFull(int capacity)
{
    Notify_User(QStringLiteral(" warning: a line group holds at most %1 points and %1 lines;"
                               " the new line was not added ").arg(capacity));
}

// One list written into its store; the caller has checked the size.
template <typename List, typename Entry>
void storeList(const List& list, int& count, Entry* array)
{
    count = int(list.size());
    for (int i = 0; i < count; ++i)
        array[i] = list.at(i);
}

// One list from its store; a count outside the capacity counts as 0.
template <typename List, typename Entry>
void refill(List& list, int& count, const Entry* array)
{
    if (count < 0 || count > kLineEntries)
        count = 0;
    list.clear();
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list.append(array[i]);
}

bool nodeExists(const BridleGroup* g, int node)
{
    return node >= 0 && node < g->points.size();
}

} // namespace

// --- Addressing ---------------------------------------------------------------

int get_curr_bridle_grup(int groupIndex)
{
    switch (groupIndex) {
    case 2: return 1;
    case 3: return 2;
    case 4: return 3;
    case 5: return 4;
    case 7: return kBrakeGroupSlot;
    default: return -1;
    }
}

origRLS set_origRLS(int rib, int slot, int side, int node, bool attached)
{
    origRLS a;
    a.rib = rib;
    a.row = slot;
    a.side = side;
    a.node = node;
    a.attached = attached;
    return a;
}

int f_start_id(const ParaStruct* design)
{
    return design ? (design->cells + 1) * kLaidOutSlots : 0;
}

int f_new_id(const QList<int>& ids)
{
    return ids.isEmpty() ? 0 : ids.last() + 1;
}

int Frame_Slot_Row(int slot)
{
    return slot == kBrakeSlot ? 9 : slot + 2;
}

int Row_Attachment_Index(const ParaStruct* design, int row, int rib)
{
    if (!design || rib < 0 || rib >= kRibSlots)
        return -1;
    int index = -1;
    if (row >= 0 && row < kLineRows)
        index = design->lineIndex[row][rib];
    else if (row == 9)
        index = design->teLineIndex[rib];
    return index >= 0 && index < kAirfoilPoints ? index : -1;
}

QVector3D Row_Attachment_Point(const ParaStruct* design, int row, int rib)
{
    const int index = Row_Attachment_Index(design, row, rib);
    return index < 0 ? QVector3D(0, 0, 0) : design->ribCurves3D[rib][index];
}

// --- Frame --------------------------------------------------------------------

QPoint Frame_Point_2D(const ParaStruct* design, int rib, int slot, bool mirror)
{
    // With fewer than two cells per half the columns would divide by zero;
    // they then all stand on the centre line.
    const int span = design->lastRib - design->firstRib;
    const double dx = span > 0 ? (rib - design->firstRib) * kFrameHalfWidth / span : 0.0;
    const double x = mirror ? kFrameCentreX - dx : kFrameCentreX + dx;
    // The closed form keeps 128 for slot 2 (a running sum of the step gives 127).
    const double y = kFrameTop + (slot + 1) * kFrameRowStep;
    return QPoint(int(std::trunc(x)), int(std::trunc(y)));
}

void Layout_Frame(const ParaStruct* design, BridleFrame& frame)
{
    if (!design)
        return;
    const int first = std::max(design->firstRib, 0);
    const int last = std::min(design->lastRib, kBridleRibs - 1);
    for (int r = first; r <= last; ++r) {
        for (int s = 0; s < kLaidOutSlots; ++s) {
            FrameArr& cell = frame[r][s];
            cell.pos = Frame_Point_2D(design, r, s, false);
            cell.pos3D = Row_Attachment_Point(design, Frame_Slot_Row(s), r);
            if (r != 0) {
                cell.mirrorPos = Frame_Point_2D(design, r, s, true);
                cell.mirrorPos3D = p_SymY(cell.pos3D);
            }
        }
    }
}

// --- Stores and lists -------------------------------------------------------------

void Rebuild_Group_Lists(BridleGroup* g)
{
    if (!g)
        return;
    refill(g->ids, g->idCount, g->idArray);
    refill(g->points, g->pointCount, g->pointArray);
    refill(g->pairs, g->pairCount, g->pairArray);
    refill(g->lines, g->lineCount, g->lineArray);
    refill(g->attachments, g->attachmentCount, g->attachArray);
}

bool Store_Group_Lists(BridleGroup* g)
{
    if (!g)
        return false;
    const qsizetype longest = std::max({g->ids.size(), g->points.size(), g->pairs.size(), g->lines.size(),
                                        g->attachments.size()});
    if (longest > kLineEntries) {
        Notify_User(QStringLiteral(" warning: a line group of more than %1 points or lines cannot be stored;"
                                   " the group was kept as it was stored before ").arg(kLineEntries));
        return false;
    }
    storeList(g->ids, g->idCount, g->idArray);
    storeList(g->points, g->pointCount, g->pointArray);
    storeList(g->pairs, g->pairCount, g->pairArray);
    storeList(g->lines, g->lineCount, g->lineArray);
    storeList(g->attachments, g->attachmentCount, g->attachArray);
    return true;
}

// --- Building a tree -------------------------------------------------------------

void Init_Line_Group(const ParaStruct* design, const BridleFrame& frame, BridleGroup* g)
{
    if (!design || !g)
        return;
    Clear_Group_Lists(g);
    const int first = std::max(design->firstRib, 0);
    const int last = std::min(design->lastRib, kBridleRibs - 1);
    int id = 0;
    for (int s = 0; s < kLaidOutSlots; ++s) {
        for (int r = first; r <= last; ++r) {
            g->ids.append(id++);
            g->points.append(frame[r][s].pos);
            if (r != 0) {
                g->ids.append(id++);
                g->points.append(frame[r][s].mirrorPos);
            }
        }
    }
}

int Add_Free_Node(BridleGroup* g, QPoint point, int capacity)
{
    if (!g)
        return -1;
    capacity = std::min(capacity, kLineEntries);
    if (g->points.size() >= capacity || g->ids.size() >= capacity) {
        tellGroupFull(capacity);
        return -1;
    }
    g->ids.append(f_new_id(g->ids));
    g->points.append(point);
    return int(g->points.size()) - 1;
}

namespace {
// A line appended with its pair (and, for a line group, its attachment).
bool appendLine(BridleGroup* g, int parent, int child, LineProp line, const origRLS* attachment, int capacity)
{
    if (!g || !nodeExists(g, parent) || !nodeExists(g, child))
        return false;
    if (g->pairs.size() >= capacity || g->lines.size() >= capacity
        || (attachment && g->attachments.size() >= capacity)) {
        tellGroupFull(capacity);
        return false;
    }
    line.edge = int(g->pairs.size());
    line.p1 = g->points.at(parent);
    line.p2 = g->points.at(child);
    g->pairs.append(QPoint(parent, child));
    g->lines.append(line);
    if (attachment)
        g->attachments.append(*attachment);
    return true;
}
} // namespace

bool Add_Group_Line(BridleGroup* g, int parent, int child, LineProp line, const origRLS& attachment,
                    int capacity)
{
    return appendLine(g, parent, child, line, &attachment, std::min(capacity, kLineEntries));
}

bool Add_Riser_Line(BridleGroup* riser, int parent, int child, LineProp line)
{
    // The project file keeps the first 600 lines of the riser tree only.
    return appendLine(riser, parent, child, line, nullptr, kStoredRiserLines);
}

void Reattach_Canopy_Ends(BridleGroup* g, const BridleFrame& frame)
{
    if (!g || g->lines.size() != g->attachments.size())
        return;
    for (int i = 0; i < g->lines.size(); ++i) {
        const origRLS& a = g->attachments.at(i);
        if (!a.attached || !ribInFrame(a.rib) || a.row < 0 || a.row >= kFrameSlots)
            continue;
        const FrameArr& cell = frame[a.rib][a.row];
        const bool mirror = a.side == 1;
        LineProp& line = g->lines[i];
        line.p2 = mirror ? cell.mirrorPos : cell.pos;
        line.q2 = mirror ? cell.mirrorPos3D : cell.pos3D;
        if (a.node >= 0 && a.node < g->points.size())
            g->points[a.node] = line.p2;
    }
}

void Init_Riser_Frame(const ParaStruct* design, FrameRaiser* riserFrame, BridleGroup* riser)
{
    if (!design || !riserFrame || !riser)
        return;
    riser->ids.clear();
    riser->points.clear();
    riser->pairs.clear();
    riser->lines.clear();
    const int n = std::clamp(design->lineGroupCount, 0, kRiserFrames - 1);
    if (n == 0)
        return;
    const double step = (0.8 * kSceneWidth - 0.2 * kSceneWidth) / n;
    double x = 0.2 * kSceneWidth + step / 2;
    for (int i = 0; i < n; ++i, x += step) {
        riserFrame[i].pos = QPoint(int(x), int(0.2 * kSceneHeight));
        riserFrame[i].pos3D = design->riserTops[i];
        riser->ids.append(i);
        riser->points.append(riserFrame[i].pos);
    }
}

void Add_Riser_Virtual_Lines(const ParaStruct* design, const FrameRaiser* riserFrame, BridleGroup* riser,
                             int drop)
{
    if (!design || !riserFrame || !riser)
        return;
    const int n = std::min<int>(std::clamp(design->lineGroupCount, 0, kRiserFrames - 1), riser->points.size());
    for (int i = 0; i < n; ++i) {
        const QPoint top = riser->points.at(i);
        const int node = Add_Free_Node(riser, top + QPoint(0, drop), kStoredRiserLines);
        if (node < 0)
            return;
        LineProp line;
        line.length = kVirtualLineLength;
        line.diameter = kRiserLineDiameter;
        // The frame point within reach of the node gives the 3-D end.
        for (int j = 0; j < n; ++j) {
            if (intDist2(riserFrame[j].pos, top) < 5.0) {
                line.q2 = riserFrame[j].pos3D;
                break;
            }
        }
        Add_Riser_Line(riser, node, i, line);
    }
}

// --- Editing a tree -----------------------------------------------------------------

int Frame_Node_Index(const ParaStruct* design, int rib, int slot, int side)
{
    if (!design || slot < 0 || slot >= kLaidOutSlots || (side != 0 && side != 1))
        return -1;
    const int first = std::max(design->firstRib, 0);
    const int last = std::min(design->lastRib, kBridleRibs - 1);
    if (rib < first || rib > last || (rib == 0 && side == 1))
        return -1;
    // Nodes per rib: one on rib 0 (no mirror), two elsewhere.
    auto nodesUpTo = [](int from, int to) {   // ribs from..to - 1
        int n = 0;
        for (int r = from; r < to; ++r)
            n += r == 0 ? 1 : 2;
        return n;
    };
    const int perSlot = nodesUpTo(first, last + 1);
    return slot * perSlot + nodesUpTo(first, rib) + side;
}

namespace {
// Line i goes with its pair, its properties and its attachment.
void removeLineAt(BridleGroup* g, int i)
{
    g->pairs.removeAt(i);
    if (i < g->lines.size())
        g->lines.removeAt(i);
    if (i < g->attachments.size())
        g->attachments.removeAt(i);
}

// Removes the lines i for which `hit` says so, at most `limit` of them.
template <typename Hit>
int removeLines(BridleGroup* g, Hit hit, int limit)
{
    if (!g)
        return 0;
    int removed = 0;
    for (int i = 0; i < g->pairs.size() && removed < limit;) {
        if (!hit(g->pairs.at(i))) {
            ++i;
            continue;
        }
        removeLineAt(g, i);
        ++removed;
    }
    return removed;
}
} // namespace

int Remove_Lines_With_Parent(BridleGroup* g, int node)
{
    return removeLines(g, [node](QPoint pair) { return pair.x() == node; }, kLineEntries + 1);
}

int Remove_Lines_With_Child(BridleGroup* g, int node)
{
    return removeLines(g, [node](QPoint pair) { return pair.y() == node; }, kLineEntries + 1);
}

int Remove_First_Line_With_Child(BridleGroup* g, int node)
{
    return removeLines(g, [node](QPoint pair) { return pair.y() == node; }, 1);
}

int Remove_Branch(BridleGroup* g, int node, int keptFrameNodes)
{
    if (!g || node < 0 || node >= g->points.size())
        return 0;
    QList<bool> doomed(g->pairs.size(), false);
    QList<QPoint> visited;
    QList<QPoint> open{g->points.at(node)};
    while (!open.isEmpty()) {
        const QPoint at = open.takeLast();
        if (visited.contains(at))
            continue;   // a cycle in broken data
        visited.append(at);
        for (int i = 0; i < g->pairs.size(); ++i) {
            const QPoint pair = g->pairs.at(i);
            if (doomed.at(i) || pair.x() < 0 || pair.x() >= g->points.size() || g->points.at(pair.x()) != at
                || (pair.y() >= 0 && pair.y() < keptFrameNodes))
                continue;
            doomed[i] = true;
            if (pair.y() >= 0 && pair.y() < g->points.size())
                open.append(g->points.at(pair.y()));
        }
    }
    int removed = 0;
    for (int i = int(g->pairs.size()) - 1; i >= 0; --i) {
        if (!doomed.at(i))
            continue;
        removeLineAt(g, i);
        ++removed;
    }
    // A kept line now hanging from nothing carries nothing: its group would
    // otherwise go on taking the load of a tree that is gone.
    for (int i = 0; i < g->pairs.size() && i < g->lines.size(); ++i) {
        const int parent = g->pairs.at(i).x();
        if (g->pairs.at(i).y() < 0 || g->pairs.at(i).y() >= keptFrameNodes)
            continue;
        bool hangs = false;
        for (const QPoint& other : std::as_const(g->pairs))
            hangs = hangs || other.y() == parent;
        if (!hangs)
            g->lines[i].load = 0;
    }
    return removed;
}

int Remove_Lines_Holding_Nothing(BridleGroup* g, int node, int frameNodes)
{
    if (!g)
        return 0;
    auto exists = [g](int i) { return i >= 0 && i < g->points.size(); };
    int removed = 0;
    QList<QPoint> seen;   // a cycle in broken data ends the walk
    QList<int> open{node};
    while (!open.isEmpty()) {
        const int at = open.takeLast();
        if (!exists(at) || at < frameNodes)
            continue;
        // Lines hang from a node, and end at it, by its 2-D point, as the
        // placement finds them: a node sharing the point shares its lines.
        const QPoint point = g->points.at(at);
        if (seen.contains(point))
            continue;
        seen.append(point);
        bool holds = false;
        for (const QPoint& pair : std::as_const(g->pairs))
            holds = holds || (exists(pair.x()) && g->points.at(pair.x()) == point);
        if (holds)
            continue;
        for (int i = int(g->pairs.size()) - 1; i >= 0; --i) {
            const QPoint pair = g->pairs.at(i);
            if (!exists(pair.y()) || pair.y() < frameNodes || g->points.at(pair.y()) != point)
                continue;
            open.append(pair.x());
            removeLineAt(g, i);
            ++removed;
        }
    }
    return removed;
}

int Group_Home_Slot(int groupSlot)
{
    if (groupSlot >= 1 && groupSlot <= 4)
        return groupSlot - 1;
    return groupSlot == kBrakeGroupSlot ? kBrakeSlot : -1;
}

void Move_Pasted_Ends(const ParaStruct* design, BridleGroup* g, int copySlot, int pasteSlot)
{
    const int from = Group_Home_Slot(copySlot), to = Group_Home_Slot(pasteSlot);
    if (!design || !g || from < 0 || to < 0)
        return;
    const int shift = to - from;
    for (int i = 0; i < g->attachments.size(); ++i) {
        origRLS& a = g->attachments[i];
        if (a.row < 0)
            continue;
        const int slot = std::clamp(a.row + shift, 0, kBrakeSlot);
        const int node = Frame_Node_Index(design, a.rib, slot, a.side);
        if (node < 0 || node >= g->points.size())
            continue;
        a.row = slot;
        if (a.attached) {
            a.node = node;
            if (i < g->pairs.size())
                g->pairs[i].setY(node);
        }
    }
}
