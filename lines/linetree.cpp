#include "lines/linetree.h"

#include "core/notify.h"
#include "core/parastruct.h"
#include "core/skintension.h"
#include "core/transf.h"
#include "lines/loading.h"

#include <QDebug>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

const QString kGroupWarning = QStringLiteral(" Warning: Clear current line-grup,inconsistent bridle data ! ");
const QString kRiserWarning = QStringLiteral(" Warning: Clear and rebuild current riser,inconsistent bridle data ! ");

constexpr double kFrameReach = 3.0;   // a leaf lies on a frame cell closer than this
constexpr double kRiserReach = 5.0;   // ... on a riser frame point closer than this
constexpr double kRiserStep2D = 5.0;  // the riser editor draws its lines five times longer
// Leaves visited by one collection at most: a damaged tree whose nodes share
// children over and over must not take the program's time.
constexpr int kVisitBudget = 200000;

BridleWarning& installedWarning()
{
    static BridleWarning warning;
    return warning;
}

void warn(QPoint at, const QString& text)
{
    if (const BridleWarning& w = installedWarning())
        w(at, text);
    else
        qWarning().noquote() << text << "at" << at;
}

// Halves upward, also below zero (the editors' rounding of scene points).
// A step of a wing without a span to speak of lands beyond any scene, or
// nowhere: such a point stays at the scene's far edge (with room for the
// sums and differences the editors take), or at its origin.
int roundHalfUp(double v)
{
    constexpr double kSceneEdge = 1 << 30;
    const double r = std::floor(v + 0.5);
    if (std::isnan(r))
        return 0;
    return int(std::clamp(r, -kSceneEdge, kSceneEdge));
}

int frameNodeIndex(const QPolygon* points, QPoint pt)
{
    return points ? int(points->indexOf(pt)) : -1;
}

// Leaf collection below one node, for either kind of frame.
struct LeafCollector {
    const ParaStruct* design;
    int n;
    const QPolygon* points;
    const QPolygon* pairs;
    const BridleFrame* frame = nullptr;
    const FrameRaiser* riserFrame = nullptr;
    LeafSet2D* set2D;
    LeafSet3D* set3D;
    QList<QPoint> path;
    int budget = kVisitBudget;
    // Where the leaves hang (by point index), kept for the other nodes above
    // them while the points stay put; a leaf on no frame cell is looked up,
    // and reported, each time.
    std::vector<std::optional<QVector4D>>* known = nullptr;

    void collect(QPoint node)
    {
        if (path.contains(node))
            return;
        path.append(node);
        const QPolygon children = get_firstchilds_list(node, points, pairs);
        for (const QPoint& child : children) {
            if (--budget < 0)
                break;
            const int index = frameNodeIndex(points, child);
            if (index < n) {
                int info[3] = {-1, -1, -1};
                set2D->append(child);
                if (frame) {
                    std::optional<QVector4D>* slot =
                        known && index >= 0 && index < int(known->size()) ? &(*known)[index] : nullptr;
                    if (slot && *slot) {
                        set3D->append(**slot);
                    } else {
                        const QVector3D pos = get_PointInfo3D(design, child, n, points, *frame, info);
                        const QVector4D leaf = setup_PointInfo3D(design, child, n, points, pos, info);
                        set3D->append(leaf);
                        if (slot && info[0] >= 0)
                            *slot = leaf;
                    }
                } else {
                    const QVector3D pos = get_Raiser_PointInfo3D(design, child, n, points, riserFrame, info);
                    set3D->append(setup_Raiser_PointInfo3D(design, child, n, points, pos, info));
                }
            } else {
                collect(child);
            }
        }
        path.removeLast();
    }
};

// The walk that places the free nodes of one tree.
struct NodeWalk {
    int n;
    double t2, t3;
    QList<LineProp>* lines;
    const QPolygon* pairs;
    QPolygon* points;
    const QList<LeafSet2D>* sets2D;
    const QList<LeafSet3D>* sets3D;
    bool riser;
    QList<QPoint> path;

    void walk(QPoint node, QVector3D nodePos)
    {
        if (path.contains(node))
            return;
        path.append(node);
        const QPolygon children = get_childs_id_list(node, pairs, points);
        for (const QPoint& cj : children) {
            const int c = cj.x(), j = cj.y();
            if (j < 0 || j >= lines->size() || c < 0 || c >= points->size())
                continue;
            LineProp& line = (*lines)[j];
            line.p1 = node;
            line.q1 = nodePos;
            if (c < n)
                continue;   // a canopy end stays where it was fastened
            const double length = line.length;
            const QPoint p2 = riser ? raiser_2dLine(c, node, kRiserStep2D * t2 * length, sets2D)
                                    : calculate_2dLine(c, node, t2 * length, sets2D);
            const QVector3D q2 = raiser_3dLine(c, nodePos, t3 * length, sets3D);
            (*points)[c] = p2;
            line.p2 = p2;
            line.q2 = q2;
            walk(p2, q2);
        }
        path.removeLast();
    }
};

template <typename MakeSets>
void allLeafSets(const QPolygon& points, QList<LeafSet2D>* sets2D, QList<LeafSet3D>* sets3D, MakeSets make)
{
    sets2D->clear();
    sets3D->clear();
    sets2D->reserve(points.size());
    sets3D->reserve(points.size());
    for (const QPoint& p : points) {
        LeafSet2D s2;
        LeafSet3D s3;
        make(p, &s2, &s3);
        sets2D->append(s2);
        sets3D->append(s3);
    }
}

bool consistent(const BridleGroup& g)
{
    return g.ids.size() == g.points.size() && g.pairs.size() == g.lines.size();
}

} // namespace

BridleWarning Set_Bridle_Warning(BridleWarning warning)
{
    BridleWarning previous = installedWarning();
    installedWarning() = std::move(warning);
    return previous;
}

// --- Tree structure -------------------------------------------------------------

QPoint find_root_index(const QPolygon& pairs)
{
    std::vector<int> children;
    children.reserve(pairs.size());
    for (const QPoint& p : pairs)
        children.push_back(p.y());
    std::sort(children.begin(), children.end());
    for (int i = 0; i < pairs.size(); ++i) {
        const int parent = pairs.at(i).x();
        if (!std::binary_search(children.begin(), children.end(), parent))
            return QPoint(parent, i);
    }
    return QPoint(-1, -1);
}

QPoint Riser_Root_Index(const QPolygon& pairs, int frameNodes)
{
    for (int i = 0; i < pairs.size(); ++i) {
        const int parent = pairs.at(i).x();
        if (pairs.at(i).y() < frameNodes)
            continue;
        bool child = false;
        for (const QPoint& other : pairs)
            child = child || other.y() == parent;
        if (child)
            continue;
        for (int first = 0; first < pairs.size(); ++first)
            if (pairs.at(first).x() == parent)
                return QPoint(parent, first);
    }
    return find_root_index(pairs);
}

QPolygon get_childs_id_list(QPoint node, const QPolygon* pairs, const QPolygon* points)
{
    QPolygon out;
    if (!pairs || !points)
        return out;
    for (int j = 0; j < pairs->size(); ++j) {
        const int parent = pairs->at(j).x();
        if (parent >= 0 && parent < points->size() && points->at(parent) == node)
            out.append(QPoint(pairs->at(j).y(), j));
    }
    return out;
}

QPolygon get_firstchilds_list(QPoint node, const QPolygon* points, const QPolygon* pairs)
{
    QPolygon out;
    const QPolygon children = get_childs_id_list(node, pairs, points);
    for (const QPoint& c : children)
        if (c.x() >= 0 && c.x() < points->size())
            out.append(points->at(c.x()));
    return out;
}

// --- Leaves ------------------------------------------------------------------------

void make_last_child_set(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                         const QPolygon* points, const QPolygon* pairs, const BridleFrame& frame)
{
    if (!design || !set2D || !set3D || !points || !pairs)
        return;
    LeafCollector c{design, n, points, pairs, &frame, nullptr, set2D, set3D, {}};
    c.collect(node);
}

void make_raiser_LastChildSet(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                              const QPolygon* points, const QPolygon* pairs, const FrameRaiser* riserFrame)
{
    if (!design || !set2D || !set3D || !points || !pairs || !riserFrame)
        return;
    LeafCollector c{design, n, points, pairs, nullptr, riserFrame, set2D, set3D, {}};
    c.collect(node);
}

void MakeLastChildSet(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                      const QPolygon* points, const QPolygon* pairs, const BridleFrame& frame)
{
    if (!set2D || !set3D)
        return;
    set2D->clear();
    set3D->clear();
    make_last_child_set(design, node, n, set2D, set3D, points, pairs, frame);
}

void MakeRaiserLastChildSet(const ParaStruct* design, QPoint node, int n, LeafSet2D* set2D, LeafSet3D* set3D,
                            const QPolygon* points, const QPolygon* pairs, const FrameRaiser* riserFrame)
{
    if (!set2D || !set3D)
        return;
    set2D->clear();
    set3D->clear();
    make_raiser_LastChildSet(design, node, n, set2D, set3D, points, pairs, riserFrame);
}

QVector3D get_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points,
                          const BridleFrame& frame, int info[3])
{
    info[0] = info[1] = info[2] = -1;
    const int index = frameNodeIndex(points, pt);
    if (!design || index < 0 || index >= n)
        return QVector3D(0, 0, 0);
    const int first = std::max(design->firstRib, 0);
    const int last = std::min(design->lastRib, kBridleRibs - 1);
    for (int r = first; r <= last; ++r) {
        for (int s = 0; s < kFrameSlots; ++s) {
            const FrameArr& cell = frame[r][s];
            for (int side = 0; side < 2; ++side) {
                if (side == 1 && r == 0)
                    continue;   // the centre rib has no mirror
                if (intDist2(side == 0 ? cell.pos : cell.mirrorPos, pt) < kFrameReach) {
                    info[0] = r;
                    info[1] = s;
                    info[2] = side;
                    return side == 0 ? cell.pos3D : cell.mirrorPos3D;
                }
            }
        }
    }
    warn(pt, kGroupWarning);
    return QVector3D(0, 0, 0);
}

QVector4D setup_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points, QVector3D pos,
                            const int info[3])
{
    const int index = frameNodeIndex(points, pt);
    if (!design || index < 0 || index >= n) {
        warn(pt, kGroupWarning);
        return QVector4D(0, 0, 0, 1);
    }
    const int rib = info[0], slot = info[1];
    double w = 0.0;   // a leaf on no frame cell pulls no node towards the origin
    const int r = std::min(rib, design->lastRib - 1);
    if (rib >= 0 && r >= design->firstRib && r <= design->lastRib && r >= 0 && r < kRibSlots) {
        if (slot == kBrakeSlot) {
            const double k = 100 * design->relaxFactors[r] + 1;
            w = k > 0 ? 100 / k : 0.0;
        } else if (slot >= 0 && slot < kLaidOutSlots) {
            const double unit = design->chord[1] * design->cellWidth[1] * 100;
            if (unit != 0)
                w = design->cellWidth[r] * design->chord[r] * design->lineWeights[slot] / unit;
        }
    }
    return QVector4D(pos, float(w));
}

QVector3D get_Raiser_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points,
                                 const FrameRaiser* riserFrame, int info[3])
{
    info[0] = info[1] = info[2] = -1;
    const int index = frameNodeIndex(points, pt);
    if (!design || !riserFrame || index < 0 || index >= n)
        return QVector3D(0, 0, 0);
    const int count = std::min(design->lineGroupCount, kRiserFrames);
    for (int j = 0; j < count; ++j) {
        if (intDist2(riserFrame[j].pos, pt) < kRiserReach) {
            info[0] = j;
            return riserFrame[j].pos3D;
        }
    }
    warn(pt, kGroupWarning);
    return QVector3D(0, 0, 0);
}

QVector4D setup_Raiser_PointInfo3D(const ParaStruct* design, QPoint pt, int n, const QPolygon* points,
                                   QVector3D pos, const int info[3])
{
    const int index = frameNodeIndex(points, pt);
    if (!design || index < 0 || index >= n) {
        warn(pt, kRiserWarning);
        return QVector4D(0, 0, 0, 1);
    }
    const int j = info[0];
    // A share that is no part of the weight (a damaged file) weighs nothing
    // rather than turning every position below into no number.
    const bool share = j >= 0 && j < 4 && Group_Share_Valid(design->lineGroupShares[j]);
    const double w = share && std::isfinite(design->totalWeight) ? design->lineGroupShares[j] * design->totalWeight / 100
                           : 0.0;
    return QVector4D(pos, float(w));
}

// --- Centres and steps -----------------------------------------------------------

QPointF Center2d(const LeafSet2D& set)
{
    if (set.isEmpty())
        return QPointF(0, 0);
    double x = 0, y = 0;
    for (const QPoint& p : set) {
        x += p.x();
        y += p.y();
    }
    return QPointF(roundHalfUp(x / set.size()), roundHalfUp(y / set.size()));
}

QVector3D Center3d(const LeafSet3D& set)
{
    if (set.isEmpty())
        return QVector3D(0, 0, 0);
    double W = 0, x = 0, y = 0, z = 0;
    for (const QVector4D& p : set) {
        const double w = std::max(0.0, double(p.w()));
        W += w;
        x += w * p.x();
        y += w * p.y();
        z += w * p.z();
    }
    if (W == 0)
        return set.last().toVector3D();
    return QVector3D(float(x / W), float(y / W), float(z / W));
}

QPointF nextT2d(double t, QPoint P, QPointF Q)
{
    double dx = Q.x() - P.x(), dy = Q.y() - P.y();
    const double L = std::sqrt(dx * dx + dy * dy);
    if (L > 0) {
        dx /= L;
        dy /= L;
    }
    const QPointF from = t >= 0 ? QPointF(P) : Q;
    return from + QPointF(t * dx, t * dy);
}

QVector3D nextT3d(double t, QVector3D P, QVector3D Q)
{
    const QVector3D d = Q - P;
    const double L = norma3(d.x(), d.y(), d.z());
    float ux = d.x(), uy = d.y(), uz = d.z();
    if (L > 0) {
        ux = float(d.x() / L);
        uy = float(d.y() / L);
        uz = float(d.z() / L);
    }
    const QVector3D from = t >= 0 ? P : Q;
    return QVector3D(from.x() + float(t * ux), from.y() + float(t * uy), from.z() + float(t * uz));
}

QPoint calculate_2dLine(int c, QPoint parent, double t, const QList<LeafSet2D>* sets2D)
{
    const QPointF centre = sets2D && c >= 0 && c < sets2D->size() ? Center2d(sets2D->at(c)) : QPointF(0, 0);
    const QPointF p = nextT2d(t, parent, centre);
    return QPoint(roundHalfUp(p.x()), roundHalfUp(p.y()));
}

QPoint raiser_2dLine(int c, QPoint parent, double t, const QList<LeafSet2D>* sets2D)
{
    return calculate_2dLine(c, parent, t, sets2D);
}

QVector3D raiser_3dLine(int c, QVector3D parentPos, double t, const QList<LeafSet3D>* sets3D)
{
    const QVector3D centre = sets3D && c >= 0 && c < sets3D->size() ? Center3d(sets3D->at(c)) : QVector3D(0, 0, 0);
    return nextT3d(t, parentPos, centre);
}

// --- Walks -------------------------------------------------------------------------

namespace {
void walkTree(bool riser, QPoint node, QVector3D nodePos, int n, double t2, double t3, QList<LineProp>* lines,
              const QPolygon* pairs, QPolygon* points, const QList<LeafSet2D>* sets2D,
              const QList<LeafSet3D>* sets3D)
{
    if (!lines || !pairs || !points)
        return;
    NodeWalk w{n, t2, t3, lines, pairs, points, sets2D, sets3D, riser, {}};
    w.walk(node, nodePos);
}
} // namespace

void WalkOverRoot(QPoint node, QVector3D nodePos, int n, double t2, double t3, QList<LineProp>* lines,
                  const QPolygon* pairs, QPolygon* points, const QList<LeafSet2D>* sets2D,
                  const QList<LeafSet3D>* sets3D)
{
    walkTree(false, node, nodePos, n, t2, t3, lines, pairs, points, sets2D, sets3D);
}

void Walk_Cross_Raiser(QPoint node, QVector3D nodePos, int n, double t2, double t3, QList<LineProp>* lines,
                       const QPolygon* pairs, QPolygon* points, const QList<LeafSet2D>* sets2D,
                       const QList<LeafSet3D>* sets3D)
{
    walkTree(true, node, nodePos, n, t2, t3, lines, pairs, points, sets2D, sets3D);
}

// --- Riser tops and roots -------------------------------------------------------

void Raiser_Center3d(ParaStruct* design, int slot)
{
    if (!design || slot < 1 || slot > 4)
        return;
    design->riserTops[slot - 1] = Center3d(design->riserHashes[slot]);
}

namespace {
int riserLineOf(int k, const BridleGroup& riser)
{
    auto stored = [](int count) { return count >= 0 && count <= kLineEntries ? count : 0; };
    const int count = std::min(stored(riser.lineCount), stored(riser.pairCount));
    for (int j = 0; j < count; ++j)
        if (riser.pairArray[j].y() + 1 == k)
            return j;
    return -1;
}
} // namespace

QVector3D RaiserGrupLineRoot(int k, const BridleGroup& riser)
{
    const int j = riserLineOf(k, riser);
    return j < 0 ? QVector3D(0, 0, 0) : riser.lineArray[j].q1;
}

double RaiserGrupLineLoad(int k, const BridleGroup& riser)
{
    const int j = riserLineOf(k, riser);
    return j < 0 ? 0.0 : riser.lineArray[j].load;
}

QVector3D Carabiner_Point(const ParaStruct* d)
{
    return QVector3D(float(d->ToScreen(d->legaX)), float(d->ToScreen(0.5 * d->carabinerDistance)),
                     float(d->ToScreen(d->hangHeight)));
}

// --- Placing whole trees ---------------------------------------------------------

TreePlacement Place_Line_Group(ParaStruct* d, int slot, BridleGroup* g, const BridleFrame& frame)
{
    TreePlacement result;
    if (!d || !g || g->lines.size() < 2 || g->points.isEmpty())
        return result;
    const QPoint root = find_root_index(g->pairs);
    if (root.x() < 0 || root.x() >= g->points.size())
        return result;
    const int n = f_start_id(d);
    QList<LeafSet2D> sets2D;
    QList<LeafSet3D> sets3D;
    // Every node collects the leaves below it: each leaf is placed on the
    // frame once for all of them.
    std::vector<std::optional<QVector4D>> known(std::max(n, 0));
    allLeafSets(g->points, &sets2D, &sets3D, [&](QPoint p, LeafSet2D* s2, LeafSet3D* s3) {
        LeafCollector c{d, n, &g->points, &g->pairs, &frame, nullptr, s2, s3, {}};
        c.known = &known;
        c.collect(p);
    });

    const bool loaded = slot >= 1 && slot <= 4;
    QVector3D rootPos = Carabiner_Point(d);
    double load = 0.0;
    if (loaded) {
        rootPos = RaiserGrupLineRoot(slot, d->bridle.riserGroup);
        load = RaiserGrupLineLoad(slot, d->bridle.riserGroup);
    }
    const QPoint rootPoint = g->points.at(root.x());
    WalkOverRoot(rootPoint, rootPos, n, 0.5 * d->scrlength_100(), d->ToScreen(d->hangHeight), &g->lines,
                 &g->pairs, &g->points, &sets2D, &sets3D);
    result.placed = true;
    if (loaded) {
        result.unsplitNodes = Loading_Walk(root.y(), load, &g->lines, &g->pairs, &g->points, 1);
        LeafSet2D s2;
        MakeLastChildSet(d, rootPoint, n, &s2, &d->riserHashes[slot], &g->points, &g->pairs, frame);
        Raiser_Center3d(d, slot);
    }
    return result;
}

TreePlacement Place_Riser(const ParaStruct* d, BridleGroup* riser, const FrameRaiser* riserFrame)
{
    TreePlacement result;
    if (!d || !riser || !riserFrame || riser->lines.size() < 2 || riser->points.isEmpty())
        return result;
    const int n = d->lineGroupCount;
    const QPoint root = Riser_Root_Index(riser->pairs, n);
    if (root.x() < 0 || root.x() >= riser->points.size())
        return result;
    QList<LeafSet2D> sets2D;
    QList<LeafSet3D> sets3D;
    allLeafSets(riser->points, &sets2D, &sets3D, [&](QPoint p, LeafSet2D* s2, LeafSet3D* s3) {
        MakeRaiserLastChildSet(d, p, n, s2, s3, &riser->points, &riser->pairs, riserFrame);
    });
    Walk_Cross_Raiser(riser->points.at(root.x()), Carabiner_Point(d), n, 0.5 * d->scrlength_100(),
                      d->ToScreen(d->hangHeight), &riser->lines, &riser->pairs, &riser->points, &sets2D, &sets3D);
    result.placed = true;
    result.unsplitNodes = Loading_Walk(root.y(), 0.5 * d->totalWeight, &riser->lines, &riser->pairs,
                                       &riser->points, 2);
    return result;
}

bool Group_Fits_Frame(const ParaStruct* d, const BridleGroup& g)
{
    const int n = d ? f_start_id(d) : 0;
    if (n <= 0 || g.points.size() < n)
        return false;
    const int first = std::max(d->firstRib, 0);
    const int last = std::min(d->lastRib, kBridleRibs - 1);
    int i = 0;
    for (int s = 0; s < kLaidOutSlots; ++s) {
        for (int r = first; r <= last; ++r) {
            for (int side = 0; side < (r == 0 ? 1 : 2); ++side) {
                if (i >= n || g.points.at(i) != Frame_Point_2D(d, r, s, side == 1))
                    return false;
                ++i;
            }
        }
    }
    return i == n;
}

namespace {

bool hasLines(const BridleGroup& g)
{
    return g.lineCount > 0 && g.lineCount <= kLineEntries;
}

bool cellOnWing(const ParaStruct* d, const origRLS& a)
{
    const int first = std::max(d->firstRib, 0);
    const int last = std::min(d->lastRib, kBridleRibs - 1);
    return a.rib >= first && a.rib <= last && a.row >= 0 && a.row < kLaidOutSlots
           && (a.side == 0 || (a.side == 1 && a.rib != 0));
}

QString groupName(int slot)
{
    if (slot == kBrakeGroupSlot)
        return GrupLineLetter(7);
    if (slot >= 1 && slot <= 4)
        return GrupLineLetter(slot + 1);
    return QStringLiteral("(unnamed, slot %1)").arg(slot);
}

void tellErased(const ParaStruct* d, const QList<int>& erased)
{
    if (erased.isEmpty())
        return;
    QStringList names;
    for (int slot : erased)
        names << groupName(slot);
    const bool one = names.size() == 1;
    Notify_User(QStringLiteral("The line %1 %2 drawn for a wing of another number of cells: %3 lines name cells"
                               " this wing of %4 cells does not have, or end off its attachment points.\n\n"
                               "%5 erased; draw %6 again in the bridle manager.")
                    .arg(one ? QStringLiteral("group ") + names.first()
                             : QStringLiteral("groups ") + names.join(QStringLiteral(", ")))
                    .arg(one ? QStringLiteral("was") : QStringLiteral("were"))
                    .arg(one ? QStringLiteral("its") : QStringLiteral("their"))
                    .arg(d->cells)
                    .arg(one ? QStringLiteral("It was") : QStringLiteral("They were"))
                    .arg(one ? QStringLiteral("it") : QStringLiteral("them")));
}

// The riser, every line group and the riser again placed, loaded and stored.
// A group without lines is made its frame nodes when `initEmpty`, otherwise
// left alone. A group drawn for another wing goes first, and the user is
// told: its node indexes name other points, its ends other ribs.
int placeLinePlan(ParaStruct* d, bool initEmpty)
{
    tellErased(d, Erase_Foreign_Line_Groups(d));
    Calculate_RelaxLengths(d);
    Layout_Frame(d, d->bridle.frame);

    auto placeRiser = [d] {
        BridleGroup& riser = d->bridle.riserGroup;
        Rebuild_Group_Lists(&riser);
        if (!consistent(riser))
            return 0;
        const TreePlacement p = Place_Riser(d, &riser, d->bridle.riserFrames);
        Store_Group_Lists(&riser);
        return p.unsplitNodes;
    };

    placeRiser();
    int unsplit = 0;
    for (int slot = 1; slot <= kBrakeGroupSlot; ++slot) {
        BridleGroup& g = d->bridle.groups[slot];
        if (!initEmpty && !hasLines(g))
            continue;
        Rebuild_Group_Lists(&g);
        if (!consistent(g)) {
            warn(QPoint(0, 0), kGroupWarning);
            continue;
        }
        if (g.lines.isEmpty()) {
            Init_Line_Group(d, d->bridle.frame, &g);
        } else {
            Reattach_Canopy_Ends(&g, d->bridle.frame);
            unsplit += Place_Line_Group(d, slot, &g, d->bridle.frame).unsplitNodes;
        }
        Store_Group_Lists(&g);
    }
    unsplit += placeRiser();
    SetUpLineGrupLoadings(d);
    return unsplit;
}

} // namespace

bool Group_On_Wing(const ParaStruct* d, const BridleGroup& g)
{
    if (!Group_Fits_Frame(d, g))
        return false;
    for (const origRLS& a : g.attachments)
        if (a.attached && !cellOnWing(d, a))
            return false;
    return true;
}

QList<int> Erase_Foreign_Line_Groups(ParaStruct* d)
{
    QList<int> erased;
    if (!d)
        return erased;
    for (int slot = 0; slot < kLineGroupSlots; ++slot) {
        BridleGroup& g = d->bridle.groups[slot];
        if (!hasLines(g))
            continue;
        Rebuild_Group_Lists(&g);
        if (Group_On_Wing(d, g))
            continue;
        Erase_Line_Group(&g);
        erased << slot;
    }
    return erased;
}

int Recalculate_Line_Plan(ParaStruct* d)
{
    if (!d)
        return 0;
    return placeLinePlan(d, true);
}

void Place_Line_Plan(ParaStruct* d)
{
    if (!d)
        return;
    bool any = hasLines(d->bridle.riserGroup);
    for (const BridleGroup& g : d->bridle.groups)
        any = any || hasLines(g);
    // A design without lines keeps its line plan exactly as stored.
    if (!any)
        return;
    placeLinePlan(d, false);
}
