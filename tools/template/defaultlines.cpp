// The suspension of the default design, built the way a designer builds it
// in the bridle manager: the line trees drawn onto the frame, the risers
// reset and joined to the carabiner, the line lengths chosen, and the whole
// plan placed and loaded as the manager's OK does it. Only the choice of the
// lengths is the generator's own: each line is given a share of the straight
// distance from its upper end to the attachments it carries.

#include "tools/template/defaultdesign.h"

#include "core/parastruct.h"
#include "core/skintension.h"
#include "core/transf.h"
#include "lines/lineplan.h"
#include "lines/linetree.h"
#include "lines/loading.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <vector>

namespace {

// Line rows A..D (frame slots 0..3) carry the groups L1..L4; the brakes sit
// on the trailing edge (slot 7).
constexpr int kGroupRows = 4;
// Relative row weights of A..G and the brake row (the brake row's weight
// is shown as 1 by the bridle manager).
constexpr int kLineWeights[8] = {40, 30, 20, 10, 0, 0, 0, 1};

// Main lines take this share of the way, against 1 per line above them.
constexpr double kMainLineWeight = 2.5;
// Riser lengths in metres: carabiner to the riser split, split to the
// maillons of the four risers.
constexpr double kMainRiser = 0.36;
constexpr double kRiserBranch = 0.14;

// Line diameters in metres, from the main lines up to the canopy.
constexpr double kDiameters[] = {0.0019, 0.0014, 0.0011};
constexpr double kUpperDiameter = 0.0008;
constexpr double kBrakeMainDiameter = 0.0021;

// Scene height of the roots in the tree editors.
constexpr int kRootY = 740;

// One tree as the generator builds it: node indexes into the group's point
// list, the children of every free node, and the line index of each child.
struct Tree {
    int root = -1;
    std::vector<std::vector<int>> children;   // by node index
    std::vector<int> lineOf;                   // line index ending at the node, -1 for the root
    std::vector<int> depth;                    // lines from the root down to the node
};

struct Builder {
    ParaStruct* d;
    BridleGroup* g;
    int slot;       // frame slot of the leaves
    Tree tree;
    int placeholder = 0;

    int node(int parent)
    {
        // A point of its own, far from the frame, until the placement moves it.
        const int index = Add_Free_Node(g, QPoint(-2000 - placeholder++, -2000));
        tree.children.resize(g->points.size());
        tree.lineOf.resize(g->points.size(), -1);
        tree.depth.resize(g->points.size(), 0);
        if (parent >= 0)
            join(parent, index, set_origRLS(-1, -1, -1, -1, false));
        return index;
    }

    void join(int parent, int child, const origRLS& attachment)
    {
        tree.children.resize(g->points.size());
        tree.lineOf.resize(g->points.size(), -1);
        tree.depth.resize(g->points.size(), 0);
        LineProp line;
        tree.lineOf[child] = int(g->lines.size());
        tree.depth[child] = tree.depth[parent] + 1;
        tree.children[parent].push_back(child);
        Add_Group_Line(g, parent, child, line, attachment);
    }

    // Frame node of (rib, own side) in the slot.
    int frameNode(int rib) const
    {
        return g->points.indexOf(d->bridle.frame[rib][slot].pos);
    }

    void leaf(int parent, int rib)
    {
        const int n = frameNode(rib);
        join(parent, n, set_origRLS(rib, slot, 0, n, true));
    }

    // Up to three attachments hang from one node; more are split in two
    // halves, each on a node of its own.
    void cascade(int parent, const std::vector<int>& ribs)
    {
        if (ribs.size() <= 3) {
            for (int r : ribs)
                leaf(parent, r);
            return;
        }
        const auto middle = ribs.begin() + (ribs.size() + 1) / 2;
        cascade(node(parent), std::vector<int>(ribs.begin(), middle));
        cascade(node(parent), std::vector<int>(middle, ribs.end()));
    }

    int height(int n) const
    {
        int h = 0;
        for (int c : tree.children[n])
            h = std::max(h, 1 + height(c));
        return h;
    }
};

// Ribs of the half wing that take lines of a row: every loaded rib between
// the centre and the tip (the centre rib itself stays free of lines), or
// every rib for the brakes, which pull on the trailing edge.
std::vector<int> rowRibs(const ParaStruct* d, int from, int to, bool everyRib = false)
{
    std::vector<int> ribs;
    for (int r = std::max(from, 1); r <= to; ++r)
        if (everyRib || d->isLoadedRib(r))
            ribs.push_back(r);
    return ribs;
}

LeafSet3D leavesOf(ParaStruct* d, BridleGroup* g, int node, LeafSet2D* points2D = nullptr)
{
    LeafSet2D s2;
    LeafSet3D s3;
    MakeLastChildSet(d, g->points.at(node), f_start_id(d), &s2, &s3, &g->points, &g->pairs, d->bridle.frame);
    if (points2D)
        *points2D = s2;
    return s3;
}

// The root's point in the editor's scene: under the middle of its
// attachments, low enough for the tree to stay clear of the frame rows.
QPoint rootPoint(ParaStruct* d, BridleGroup* g, int root)
{
    LeafSet2D s2;
    leavesOf(d, g, root, &s2);
    return QPoint(int(Center2d(s2).x()), kRootY);
}

// Lengths from the root down: each free node hangs a share of the way from
// its parent towards the attachments it carries, rounded to millimetres.
void chooseLengths(ParaStruct* d, Builder& b, QVector3D rootPos)
{
    const double t3 = d->ToScreen(d->hangHeight);
    std::vector<QVector3D> pos(b.g->points.size());
    pos[b.tree.root] = rootPos;
    std::vector<int> queue{b.tree.root};
    for (size_t k = 0; k < queue.size(); ++k) {
        const int p = queue[k];
        for (int c : b.tree.children[p]) {
            const int j = b.tree.lineOf[c];
            LineProp& line = b.g->lines[j];
            if (b.tree.children[c].empty()) {
                // A canopy end: the line is as long as its ends are apart,
                // and says so.
                const origRLS& a = b.g->attachments.at(j);
                if (!a.attached || a.rib < 0 || a.row < 0)
                    continue;
                const QVector3D end = d->bridle.frame[a.rib][a.row].pos3D;
                line.length = std::round(1000 * d->R_X((end - pos[p]).length())) / 1000 / d->hangHeight;
                line.diameter = kUpperDiameter;
                continue;
            }
            line.diameter = kDiameters[std::min<size_t>(b.tree.depth[c] - 1, std::size(kDiameters) - 1)];
            const QVector3D target = Center3d(leavesOf(d, b.g, c));
            const int h = b.height(c);
            const double w = p == b.tree.root ? kMainLineWeight : 1.0;
            const double metres = std::round(1000 * w / (w + h) * d->R_X((target - pos[p]).length())) / 1000;
            line.length = metres / d->hangHeight;
            pos[c] = nextT3d(t3 * line.length, pos[p], target);
            queue.push_back(c);
        }
    }
}

void buildGroup(ParaStruct* d, int groupSlot, Builder* b)
{
    BridleGroup* g = &d->bridle.groups[groupSlot];
    Init_Line_Group(d, d->bridle.frame, g);
    b->d = d;
    b->g = g;
    b->slot = groupSlot == kBrakeGroupSlot ? kBrakeSlot : groupSlot - 1;
    b->tree.root = b->node(-1);
    if (groupSlot == kBrakeGroupSlot) {
        // One brake line from the handle, fanning out to the trailing edge
        // from the third rib on.
        const std::vector<int> ribs = rowRibs(d, d->firstRib + 2, d->lastRib, true);
        b->cascade(b->node(b->tree.root), ribs);
    } else {
        std::vector<int> ribs = rowRibs(d, d->firstRib, d->lastRib - 1);
        if (groupSlot == 2)
            ribs.push_back(d->lastRib);   // the stabilo line goes with the B lines
        // Two main lines, each carrying one half of the row; a small wing
        // with few loaded ribs may have only one.
        const auto middle = ribs.begin() + (ribs.size() + 1) / 2;
        for (const std::vector<int>& half : {std::vector<int>(ribs.begin(), middle),
                                             std::vector<int>(middle, ribs.end())})
            if (!half.empty())
                b->cascade(b->node(b->tree.root), half);
    }
    Store_Group_Lists(g);
}

// The riser tree: the four riser tops hang on their virtual lines from the
// maillons, which hang from one split point on the main riser.
void buildRiser(ParaStruct* d)
{
    BridleGroup* riser = &d->bridle.riserGroup;
    Init_Riser_Frame(d, d->bridle.riserFrames, riser);
    Add_Riser_Virtual_Lines(d, d->bridle.riserFrames, riser);
    const int n = d->lineGroupCount;
    const int split = Add_Free_Node(riser, QPoint(-2000, -2000), kStoredRiserLines);
    const int root = Add_Free_Node(riser, QPoint(512, 620), kStoredRiserLines);
    LineProp line;
    line.diameter = 0.02;
    line.length = kRiserBranch / d->hangHeight;
    for (int i = 0; i < n; ++i)
        Add_Riser_Line(riser, split, n + i, line);
    line.length = kMainRiser / d->hangHeight;
    Add_Riser_Line(riser, root, split, line);
    Store_Group_Lists(riser);
    Place_Riser(d, riser, d->bridle.riserFrames);
    Store_Group_Lists(riser);
}

} // namespace

void Build_Default_Lines(ParaStruct* d)
{
    std::copy(std::begin(kLineWeights), std::end(kLineWeights), d->lineWeights);
    Calculate_RelaxLengths(d);
    Layout_Frame(d, d->bridle.frame);
    for (BridleGroup& g : d->bridle.groups)
        g = BridleGroup();
    d->bridle.riserGroup = BridleGroup();

    // The trees first: their attachments give the riser tops.
    Builder builders[kBrakeGroupSlot + 1];
    for (int slot = 1; slot <= kBrakeGroupSlot; ++slot) {
        Builder& b = builders[slot];
        buildGroup(d, slot, &b);
        if (slot <= kGroupRows) {
            d->riserHashes[slot] = leavesOf(d, b.g, b.tree.root);
            Raiser_Center3d(d, slot);
        }
    }
    buildRiser(d);

    // Then the lengths, from where each tree hangs.
    for (int slot = 1; slot <= kBrakeGroupSlot; ++slot) {
        Builder& b = builders[slot];
        const bool brakes = slot == kBrakeGroupSlot;
        const QVector3D top = brakes ? Carabiner_Point(d) : RaiserGrupLineRoot(slot, d->bridle.riserGroup);
        chooseLengths(d, b, top);
        if (brakes)
            b.g->lines[b.tree.lineOf[b.tree.children[b.tree.root].front()]].diameter = kBrakeMainDiameter;
        b.g->points[b.tree.root] = rootPoint(d, b.g, b.tree.root);
        Store_Group_Lists(b.g);
    }
    Recalculate_Line_Plan(d);
}

QStringList Check_Default_Lines(const ParaStruct& design)
{
    QStringList problems;
    auto fail = [&problems](const QString& s) { problems.append(s); };
    const ParaStruct& d = design;
    const int n = f_start_id(&d);

    for (int slot = 1; slot <= kBrakeGroupSlot; ++slot) {
        BridleGroup g = d.bridle.groups[slot];
        Rebuild_Group_Lists(&g);
        const QString name = GrupLineLetter(slot == kBrakeGroupSlot ? 7 : slot + 1);
        if (g.lines.size() < 2 || g.pairs.size() != g.lines.size() || g.points.size() != g.ids.size()
            || g.attachments.size() != g.lines.size() || g.points.size() < n)
            fail(QStringLiteral("group %1: lists do not match").arg(name));
        for (int i = 0; i < g.lines.size(); ++i) {
            const LineProp& line = g.lines.at(i);
            const double metres = d.R_X(Dist3(line.q1, line.q2));
            if (line.q1.isNull() || line.q2.isNull() || !(metres >= 0.05 && metres <= 9.0))
                fail(QStringLiteral("group %1 line %2: %3 m long").arg(name).arg(i).arg(metres));
            if (!std::isfinite(line.load) || line.load < 0)
                fail(QStringLiteral("group %1 line %2: load %3").arg(name).arg(i).arg(line.load));
            if (!(line.diameter > 0))
                fail(QStringLiteral("group %1 line %2: no diameter").arg(name).arg(i));
        }
        // Children are found by 2-D point: free nodes must not share one, nor
        // lie on a frame cell.
        for (int k = n; k < g.points.size(); ++k) {
            for (int m = 0; m < g.points.size(); ++m) {
                if (m != k && intDist2(g.points.at(k), g.points.at(m)) < 3.0) {
                    fail(QStringLiteral("group %1: node %2 lies on node %3").arg(name).arg(k).arg(m));
                    break;
                }
            }
        }
    }

    // The ribs the line groups hang from are those marked loaded, and only
    // those: the rib patterns and the diagonals follow the marks.
    bool attached[kRibSlots] = {};
    for (int slot = 1; slot <= d.lineGroupCount; ++slot) {
        BridleGroup g = d.bridle.groups[slot];
        Rebuild_Group_Lists(&g);
        for (const origRLS& a : g.attachments)
            if (a.attached && a.rib >= 0 && a.rib < kRibSlots)
                attached[a.rib] = true;
    }
    for (int r = d.firstRib; r <= d.lastRib; ++r)
        if (attached[r] != d.isLoadedRib(r))
            fail(QStringLiteral("rib %1 is marked %2 but %3 lines").arg(r)
                     .arg(d.isLoadedRib(r) ? QStringLiteral("loaded") : QStringLiteral("intermediate"))
                     .arg(attached[r] ? QStringLiteral("carries") : QStringLiteral("carries no")));

    const BridleGroup& riser = d.bridle.riserGroup;
    const int top = riser.lineCount - 1;
    if (top < 0 || std::fabs(2 * riser.lineArray[top].load - d.totalWeight) > 1e-9)
        fail(QStringLiteral("the main risers do not carry the flying weight"));
    double groups = 0;
    for (int k = 1; k <= d.lineGroupCount; ++k)
        groups += RaiserGrupLineLoad(k, riser);
    if (std::fabs(2 * groups - d.totalWeight) > 0.01 * d.totalWeight)
        fail(QStringLiteral("the line groups carry %1 kg of %2 kg").arg(2 * groups).arg(d.totalWeight));

    const double length = Line_Totals(&d).length;
    if (!(length >= 250 && length <= 450))
        fail(QStringLiteral("total line length %1 m").arg(length));

    // The bridle manager's OK on the shipped design moves nothing.
    auto again = std::make_unique<ParaStruct>(d);
    if (Recalculate_Line_Plan(again.get()) != 0)
        fail(QStringLiteral("a node cannot share its load"));
    for (int g = 0; g <= kLineGroupSlots; ++g) {
        const BridleGroup& a = g < kLineGroupSlots ? d.bridle.groups[g] : d.bridle.riserGroup;
        const BridleGroup& b = g < kLineGroupSlots ? again->bridle.groups[g] : again->bridle.riserGroup;
        bool same = a.lineCount == b.lineCount && a.pointCount == b.pointCount;
        for (int i = 0; same && i < a.lineCount; ++i)
            same = a.lineArray[i].q1 == b.lineArray[i].q1 && a.lineArray[i].q2 == b.lineArray[i].q2
                   && a.lineArray[i].load == b.lineArray[i].load && a.pointArray[i] == b.pointArray[i];
        for (int i = 0; same && i < a.pointCount; ++i)
            same = a.pointArray[i] == b.pointArray[i];
        if (!same)
            fail(QStringLiteral("the bridle manager's OK moves the lines of group slot %1").arg(g));
    }
    return problems;
}
