#include "lines/bridlelists.h"

#include "core/geomconst.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/lineplan.h"

#include <algorithm>
#include <cmath>

// --- Line tables ---------------------------------------------------------------

namespace {

constexpr double kTableCentreX = 512.0;
constexpr double kTableHalfWidth = 614.4;
constexpr double kTableFirstRowY = 93.8;
constexpr double kTableRowStep = 17.0;
constexpr double kLabelGap = 2.0;   // between the frame and the labels below it

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

LabelPlace Bridle_Table_Label_Place(QPointF P, QPointF Q, double clear, QSizeF size)
{
    LabelPlace place;
    double angle = std::atan2(Q.y() - P.y(), Q.x() - P.x()) * 180.0 / wl::FullPi;
    if (angle > 90.0)
        angle -= 180.0;
    else if (angle < -90.0)
        angle += 180.0;
    place.angle = angle;
    const QPointF a = P.y() < Q.y() ? P : Q;   // upper end
    const QPointF b = P.y() < Q.y() ? Q : P;   // lower end
    // Above the base line is (sin, -cos) of the angle: there when that
    // side is the one the line leans to.
    const double lean = a.x() - b.x();
    place.under = lean != 0 && (std::sin(angle * wl::FullPi / 180.0) > 0) != (lean > 0);
    if (!(a.y() < clear && b.y() > clear)) {
        place.centre = (P + Q) / 2;
        return place;
    }
    // How far the label reaches up from its centre: half its width along
    // the line, its height above the line.
    const double rad = angle * wl::FullPi / 180.0;
    const double up = 0.5 * std::max(0.0, size.width()) * std::fabs(std::sin(rad))
                      + std::max(0.0, size.height()) * std::fabs(std::cos(rad));
    const double t = std::clamp((clear + kLabelGap + up - a.y()) / (b.y() - a.y()), 0.0, 1.0);
    place.centre = a + t * (b - a);
    return place;
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
