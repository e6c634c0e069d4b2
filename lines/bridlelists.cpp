#include "lines/bridlelists.h"

#include "core/geomconst.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/lineplan.h"
#include "core/chartlabels.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

// --- Line tables ---------------------------------------------------------------

namespace {

constexpr double kTableCentreX = 512.0;
constexpr double kTableHalfWidth = 614.4;
constexpr double kTableFirstRowY = 93.8;
constexpr double kTableRowStep = 17.0;

int nodeOf(QList<QPoint>& nodes, QPoint p)
{
    int i = int(nodes.indexOf(p));
    if (i < 0) {
        nodes.append(p);
        i = int(nodes.size()) - 1;
    }
    return i;
}

} // namespace

BridleTable Bridle_Table(const ParaStruct* design, const BridleGroup& g, bool brakes)
{
    BridleTable table;
    if (!design || g.pairs.isEmpty() || g.pairs.size() > g.lines.size() || g.points.isEmpty())
        return table;
    const int firstFree = f_start_id(design);
    for (int k = 0; k < g.pairs.size(); ++k) {
        const QPoint pair = g.pairs.at(k);
        // A pair naming a node the group does not have draws nothing.
        if (pair.x() < 0 || pair.x() >= g.points.size() || pair.y() < 0 || pair.y() >= g.points.size())
            continue;
        GraphRec rec;
        rec.start = nodeOf(table.nodes, g.points.at(pair.x()));
        rec.end = nodeOf(table.nodes, g.points.at(pair.y()));
        table.onFrame.resize(table.nodes.size(), false);
        if (pair.x() < firstFree)
            table.onFrame[rec.start] = true;
        if (pair.y() < firstFree)
            table.onFrame[rec.end] = true;
        const LineProp& line = g.lines.at(k);
        rec.length = design->R_X(Dist3(line.q1, line.q2));
        rec.load = line.load;
        if (brakes && pair.y() < firstFree && k < g.attachments.size()) {
            const int rib = g.attachments.at(k).rib;
            if (rib >= 0 && rib < kStructSlots)
                rec.relax = design->relaxFactors[rib];
        }
        table.graph.append(rec);
    }
    return table;
}

QString Bridle_Table_Label(const GraphRec& line, bool brakes)
{
    if (!brakes)
        return QString("[%1] <%2>").arg(RouCm(line.length), 0, 'f', 3).arg(line.load, 0, 'f', 1);
    if (line.relax > 0.0)
        return QString("%1 + %2= [%3] ")
            .arg(line.length, 0, 'f', 3)
            .arg(line.relax, 0, 'f', 3)
            .arg(RouCm(line.length + line.relax), 0, 'f', 3);
    return QString("[%1]").arg(RouCm(line.length), 0, 'f', 3);
}

namespace {

// Whether two segments cross each other, ends that touch not counted.
bool segmentsCross(QPointF a, QPointF b, QPointF c, QPointF d)
{
    auto side = [](QPointF p, QPointF q, QPointF r) {
        return (q.x() - p.x()) * (r.y() - p.y()) - (q.y() - p.y()) * (r.x() - p.x());
    };
    const double d1 = side(a, b, c), d2 = side(a, b, d), d3 = side(c, d, a), d4 = side(c, d, b);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

// Lays a table's tree out from the frame down: each node once the nodes it
// carries stand. A node stands over the middle of the span of frame points
// below it, low enough for its lines and for a fan no flatter than 45
// degrees; where one of its lines would still run through the branch of
// another of its children (a line to the frame beside a deep branch), it
// goes lower until the line passes below that branch: seen from far below
// a line aims straight at its own branch. A node on a cycle of damaged data
// is not entered again.
class TreeLayout
{
public:
    TreeLayout(BridleTable* table, double base, double leafDrop, double levelStep)
        : t(*table), base(base), leafDrop(leafDrop), levelStep(levelStep)
    {
        const int n = int(t.nodes.size());
        t.onFrame.resize(n, false);
        out.resize(n);
        for (int k = 0; k < t.graph.size(); ++k) {
            const GraphRec& rec = t.graph.at(k);
            if (rec.start >= 0 && rec.start < n && rec.end >= 0 && rec.end < n && rec.start != rec.end)
                out[rec.start].append(k);
        }
        spans.resize(n);
        onPath.resize(n, false);
    }

    void run()
    {
        for (int i = 0; i < t.nodes.size(); ++i)
            place(i);
    }

private:
    struct Span {
        double lo = 0, hi = 0;
        bool known = false;   // some frame point lies below
        bool done = false;
        QList<int> lines;     // the lines of the branch below the node
    };

    void place(int n)
    {
        if (spans[n].done || onPath[n])
            return;
        onPath[n] = true;
        Span s;
        double depth = 0;
        if (t.onFrame.at(n)) {
            s.lo = s.hi = t.nodes.at(n).x();
            s.known = true;
        } else {
            for (int k : std::as_const(out[n])) {
                const int c = t.graph.at(k).end;
                place(c);
                const Span& cs = spans[c];
                if (!cs.known)
                    continue;
                s.lo = s.known ? std::min(s.lo, cs.lo) : cs.lo;
                s.hi = s.known ? std::max(s.hi, cs.hi) : cs.hi;
                s.known = true;
                s.lines.append(k);
                s.lines += cs.lines;
                const double below = t.onFrame.at(c) ? leafDrop : t.nodes.at(c).y() - base + levelStep;
                depth = std::max(depth, below);
            }
        }
        s.done = true;
        spans[n] = s;
        onPath[n] = false;
        if (t.onFrame.at(n) || !s.known)
            return;
        depth = std::max(depth, (s.hi - s.lo) / 2);
        const int x = int(std::lround((s.lo + s.hi) / 2));
        t.nodes[n] = QPoint(x, int(std::lround(base + depth)));
        // Each step a quarter of a level; a hundred levels reach past any
        // tree the frame can hold.
        for (int tries = 0; tries < 400 && crossesBranch(n); ++tries) {
            depth += levelStep / 4;
            t.nodes[n] = QPoint(x, int(std::lround(base + depth)));
        }
    }

    // Whether a line from n runs through the branch below another of its
    // lines.
    bool crossesBranch(int n) const
    {
        for (int k : out.at(n)) {
            const GraphRec& a = t.graph.at(k);
            if (!spans.at(a.end).known)
                continue;
            for (int k2 : out.at(n)) {
                const int other = t.graph.at(k2).end;
                if (k2 == k || other == a.end || !spans.at(other).known)
                    continue;
                for (int m : spans.at(other).lines) {
                    const GraphRec& b = t.graph.at(m);
                    if (b.start == a.start || b.start == a.end || b.end == a.start || b.end == a.end)
                        continue;
                    if (segmentsCross(t.nodes.at(a.start), t.nodes.at(a.end), t.nodes.at(b.start),
                                      t.nodes.at(b.end)))
                        return true;
                }
            }
        }
        return false;
    }

    BridleTable& t;
    const double base, leafDrop, levelStep;
    QList<QList<int>> out;   // the lines leaving each node
    QList<Span> spans;
    QList<bool> onPath;
};

// Whether the segment a-b passes through the rectangle.
bool segmentMeetsRect(QPointF a, QPointF b, const QRectF& r)
{
    if (r.contains(a) || r.contains(b))
        return true;
    // Clipped against the four sides in turn (Liang-Barsky).
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

constexpr double kLabelClearance = 2.0;   // between a label and its line, the frame and other labels

} // namespace

void Lay_Out_Bridle_Table(BridleTable* t, double base, double leafDrop, double levelStep)
{
    if (t)
        TreeLayout(t, base, leafDrop, levelStep).run();
}

QList<TableLabel> Bridle_Table_Labels(const BridleTable& t, const QList<QSizeF>& textSizes, double clear,
                                      double nodeRadius)
{
    QList<TableLabel> labels;
    QList<QList<QRectF>> candidates;
    QList<QRectF> obstacles;
    for (const QPoint& p : t.nodes)
        obstacles.append(QRectF(p - QPointF(nodeRadius, nodeRadius), QSizeF(2 * nodeRadius, 2 * nodeRadius)));
    QList<QLineF> lines;
    QList<bool> drawn;
    for (const GraphRec& rec : t.graph) {
        drawn.append(rec.start >= 0 && rec.end >= 0 && rec.start < t.nodes.size() && rec.end < t.nodes.size());
        lines.append(drawn.last() ? QLineF(t.nodes.at(rec.start), t.nodes.at(rec.end)) : QLineF());
    }
    for (int k = 0; k < t.graph.size(); ++k) {
        TableLabel label;
        QList<QRectF> places;
        const QSizeF text = textSizes.value(k);
        const QLineF line = lines.at(k);
        if (!drawn.at(k)) {
            labels.append(label);
            candidates.append(places);
            continue;
        }
        // Upper and lower end; the part of the line below the frame is
        // where its label can stand.
        QPointF a = line.p1().y() < line.p2().y() ? line.p1() : line.p2();
        const QPointF b = line.p1().y() < line.p2().y() ? line.p2() : line.p1();
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        const bool crossesFrame = a.y() < clear && b.y() > clear;
        if (crossesFrame)
            a = a + (clear - a.y()) / dy * (b - a);
        label.turned = std::fabs(dy) > std::fabs(dx);
        const QSizeF size = label.turned ? QSizeF(text.height(), text.width()) : text;
        // Beside the line: far enough sideways (or up and down) that the
        // line, leaning, does not reach into the box.
        const double side = label.turned
                                ? size.width() / 2 + kLabelClearance + std::fabs(dx / dy) * size.height() / 2
                                : size.height() / 2 + kLabelClearance
                                      + (dx != 0 ? std::fabs(dy / dx) * size.width() / 2 : 0);
        // The side the upper end leans to first: the lines of a fan carry
        // their labels outside it.
        const double lean = a.x() - b.x();
        const QPointF across = label.turned ? QPointF(lean < 0 ? -1 : 1, 0) : QPointF(0, -1);
        // Places along the line: from the frame down for a line to the
        // frame, else from the middle outwards, a quarter of the label's
        // length apart.
        const double along = label.turned ? size.height() : size.width();
        const double length = label.turned ? std::fabs(b.y() - a.y()) : std::fabs(dx);
        const int steps = std::max(1, int(std::ceil(length / std::max(along / 4, 1.0))));
        QList<double> at;
        if (crossesFrame) {
            for (int i = 0; i <= steps; ++i)
                at.append(double(i) / steps);
        } else {
            at.append(0.5);
            for (int i = 1; i <= steps / 2; ++i) {
                at.append(0.5 - double(i) / steps);
                at.append(0.5 + double(i) / steps);
            }
        }
        for (double sign : {1.0, -1.0}) {
            for (double f : at) {
                QPointF centre = a + f * (b - a) + sign * side * across;
                // A label turned along a line to the frame starts below the
                // frame, however the line runs.
                if (crossesFrame && label.turned)
                    centre.setY(std::max(centre.y(), clear + kLabelClearance + size.height() / 2));
                places.append(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size));
            }
        }
        label.box = places.value(0);
        labels.append(label);
        candidates.append(places);
    }
    // Nothing reaches up into the frame.
    auto aboveClear = [clear](const QRectF& r) { return r.top() < clear + kLabelClearance; };
    // First off every other line; what finds no such place may cross lines.
    const QList<QRectF> clean = Place_Labels_Among(candidates, obstacles, [&](int, const QRectF& r) {
        if (aboveClear(r))
            return true;
        for (int j = 0; j < lines.size(); ++j)
            if (drawn.at(j) && segmentMeetsRect(lines.at(j).p1(), lines.at(j).p2(), r))
                return true;
        return false;
    });
    QList<QRectF> taken = obstacles;
    QList<QList<QRectF>> rest(candidates.size());
    for (int k = 0; k < clean.size(); ++k) {
        if (clean.at(k).isNull())
            rest[k] = candidates.at(k);
        else
            taken.append(clean.at(k));
    }
    const QList<QRectF> crossing = Place_Labels_Among(rest, taken, [&](int, const QRectF& r) {
        return aboveClear(r);
    });
    for (int k = 0; k < labels.size(); ++k) {
        const QRectF r = !clean.at(k).isNull() ? clean.at(k) : crossing.at(k);
        if (!r.isNull()) {
            labels[k].box = r;
            labels[k].placed = true;
        }
    }
    return labels;
}

QPoint Bridle_Table_Frame_Point(const ParaStruct* design, int rib, int slot, bool mirror)
{
    const int span = design->lastRib - design->firstRib;
    // A wing of fewer than two cells per half has its ribs on the centre line.
    const int offset = span > 0 ? int(std::trunc((rib - design->firstRib) * kTableHalfWidth / span)) : 0;
    const int y = int(std::trunc(kTableFirstRowY + kTableRowStep * slot));
    return QPoint(int(kTableCentreX) + (mirror ? -offset : offset), y);
}

// --- 3-D bridle window ------------------------------------------------------------

namespace bridle3d {

double Model_Factor(int steps)
{
    return kModelFactor * std::pow(kZoomStep, steps + 1);
}

} // namespace bridle3d

QList<BridleSegment> Bridle_Group_Segments(const BridleData& bridle, int lineSelection, double factor)
{
    QList<BridleSegment> segments;
    const int slot = get_curr_bridle_grup(lineSelection);
    if (slot < 0)
        return segments;
    // Only the line store is needed; a count outside the store is empty.
    const BridleGroup& g = bridle.groups[slot];
    const int count = g.lineCount >= 0 && g.lineCount <= kLineEntries ? g.lineCount : 0;
    const float f = float(factor);
    segments.reserve(count);
    for (int i = 0; i < count; ++i)
        segments.append({g.lineArray[i].q1 * f, g.lineArray[i].q2 * f});
    return segments;
}

QList<CanopyQuad> Bridle_Canopy_Quads(const ParaStruct* d, double factor)
{
    QList<CanopyQuad> quads;
    if (!d)
        return quads;
    const int cells = std::min(d->lastRib, kRibSlots - 1);
    const float f = float(factor);
    constexpr int lastRow = kLineRows - 1;
    for (int r = 0; r < cells; ++r) {
        const int open = d->lineIndex[0][r];
        const int close = d->lineIndex[1][r];
        for (int k = 0; k < kAirfoilPoints - 2; ++k) {
            if (open < k && k < close)
                continue;   // the air intake
            const QVector3D A = d->flatGrid[0][r][k] * f;
            const QVector3D B = d->flatGrid[0][r][k + 1] * f;
            const QVector3D C = d->flatGrid[lastRow][r][k + 1] * f;
            const QVector3D D = d->flatGrid[lastRow][r][k] * f;
            quads.append({QVector3D::crossProduct(A - C, B - D), A, B, C, D});
        }
    }
    return quads;
}

// --- Brake relaxation diagram --------------------------------------------------------

RelaxDiagram Relax_Diagram(const ParaStruct* d, double middle, double edge, int centreRib, const double* relax,
                           int count, int w, int h, double ascent, double descent)
{
    RelaxDiagram out;
    if (!d)
        return out;
    const int n = d->lastRib;
    // Before a design exists there is neither a span to scale the bars nor a
    // span position to spread the ribs by.
    if (n < 0 || n >= kRibSlots || !(d->span > 0.0) || !(std::abs(d->ribSpanPos[n]) > 0.0))
        return out;
    out.valid = true;
    out.baseY = 0.75 * h;
    out.middle = std::min(middle, 0.5);
    out.edge = std::min(edge, 0.5);
    const double left = w / 10;
    out.middleFoot = QPointF(left, out.baseY);
    out.middleTop = QPointF(left, out.baseY - 2 * d->ToScreen(out.middle));
    out.edgeFoot = QPointF(0.9 * w, out.baseY);
    out.edgeTop = QPointF(9 * w / 10, out.baseY - 2 * d->ToScreen(out.edge));
    // Turned upward, a text's glyphs lie from `ascent` left of its base
    // line to `descent` right of it; two pixels of air to the bar.
    const double air = 2;
    out.middleTextAt = out.middleFoot - QPointF(descent + air, 0);
    out.edgeTextAt = out.edgeFoot + QPointF(ascent + air, 0);
    const double k = 0.8 * w / d->ribSpanPos[n];
    const double yb = 3 * h / 4;
    for (int i = 0; i <= n; ++i) {
        RelaxBar bar;
        bar.rib = i;
        const double x = left + k * d->ribSpanPos[i];
        bar.foot = QPointF(x, yb);
        const double r = i < count ? d->ToScreen(relax[i]) : 0.0;
        bar.top = QPointF(x, out.baseY - 2 * r);
        bar.label = QPointF(x - 10, yb + (i % 2 == 0 ? 20 : 40));
        out.bars.append(bar);
    }
    const int centre = std::clamp(centreRib, 0, n);
    out.centre = QPointF(left + k * d->ribSpanPos[centre], yb);
    return out;
}
