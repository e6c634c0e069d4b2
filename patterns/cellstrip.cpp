#include "patterns/cellstrip.h"

#include "core/billowarc.h"
#include "core/cellgrid.h"
#include "core/geomconst.h"
#include "core/parastruct.h"
#include "patterns/patterngeom.h"

#include <QLineF>
#include <QPair>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLastIndex = kAirfoilPoints - 1;
// The oversize is averaged over 2 * reach + 1 points, so many times over.
constexpr int kSmoothingReach = 4;
constexpr int kSmoothingPasses = 3;
constexpr double kPi = wl::FullPi;
// Steepest growth of the panel's oversize along its edges: the edges flare
// out by up to 30 degrees.
constexpr double kFlareSlope = 0.5;

bool isCentre(const ParaStruct* design, int cell)
{
    return cell == 0 && design->centreCell;
}

// Split indexes come from the design record; one outside the airfoil must
// not reach past the edge lists.
int onEdge(int index)
{
    return std::clamp(index, 0, kLastIndex);
}

double angleOf(QPointF v)
{
    return std::atan2(v.y(), v.x());
}

QPointF towards(double angle, double length)
{
    return QPointF(length * std::cos(angle), length * std::sin(angle));
}

// A 3-D point or direction in double precision.
struct Vec {
    double x = 0, y = 0, z = 0;
    Vec() = default;
    Vec(double x, double y, double z) : x(x), y(y), z(z) {}
    explicit Vec(QVector3D p) : x(p.x()), y(p.y()), z(p.z()) {}
    Vec operator-(Vec o) const { return Vec(x - o.x, y - o.y, z - o.z); }
    Vec operator+(Vec o) const { return Vec(x + o.x, y + o.y, z + o.z); }
    Vec operator*(double k) const { return Vec(k * x, k * y, k * z); }
    Vec operator/(double k) const { return Vec(x / k, y / k, z / k); }
    double dot(Vec o) const { return x * o.x + y * o.y + z * o.z; }
    double length() const { return std::sqrt(dot(*this)); }
};

// The angle between two directions, 0 .. pi; a right angle when one has no
// length.
double angleBetween(Vec u, Vec v)
{
    const double n = u.length() * v.length();
    if (!(n > 0))
        return kPi / 2;
    const Vec c(u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x);
    return std::atan2(c.length(), u.dot(v));
}

// One row of the widened panel laid out from the row before (pL, pR): the
// new left point eL from pL and the new right point eR from pR, the two
// `width` apart. The steps leave the row before at the angles a and b (from
// the direction pL -> pR, counter-clockwise), both turned outward (or
// inward) by the same angle until the row has its width; as far as they can
// turn when it cannot.
QPair<QPointF, QPointF> widenedRow(QPointF pL, QPointF pR, double eL, double eR, double a, double b, double width)
{
    const double base = angleOf(pR - pL);
    auto row = [&](double t) {
        return qMakePair(pL + towards(base + a + t, eL), pR + towards(base + b - t, eR));
    };
    auto wide = [&](double t) {
        const auto r = row(t);
        return QLineF(r.first, r.second).length();
    };
    // Turned outward the left step runs towards pi, the right one towards 0.
    const double hi = std::min(kPi - a, b);
    const double lo = std::max(-a, b - kPi);
    if (!(lo < hi))
        return row(0);
    double from = lo, to = hi;
    if (wide(to) <= width)
        return row(to);
    if (wide(from) >= width)
        return row(from);
    for (int k = 0; k < 60; ++k) {
        const double t = 0.5 * (from + to);
        (wide(t) < width ? from : to) = t;
    }
    return row(0.5 * (from + to));
}

} // namespace

void Unfold_ZERO_Longpattern(const ParaStruct& design, int cell, UnFolder* strip)
{
    if (!strip || cell < 0 || cell + 1 >= kRibSlots)
        return;
    const bool centre = isCentre(&design, cell);
    const QVector3D* ribA = design.ribCurves3D[cell];
    const QVector3D* ribB = design.ribCurves3D[cell + 1];
    auto A = [&](int j) { return Vec(centre ? SymNullCell(ribB[j]) : ribA[j]); };
    auto B = [&](int j) { return Vec(ribB[j]); };
    const int leftRib = cell;
    const int rightRib = cell + 1;

    // The panel is cut wider than the cell by the cell's cloth half-oversize
    // on either side, across the cell from rib point to rib point, as the
    // inflated cell's cloth runs; its edges are the sewing lines, each sewn
    // to a rib of its own length, and every rib edge (the tip rib's too) has
    // the side seam allowance outside it.
    //
    // Where the oversize grows faster along the cell than the cloth can
    // flare out (near the trailing edge, where the rib points crowd), the
    // edges could not keep the ribs' lengths: the growth is held to a slope
    // the edges can follow. The oversize also comes point by point in small
    // steps, which the edges would take on as kinks: it is smoothed over a
    // few points (the ends, at the trailing edge, stay as they are).
    const double* halfOversize = design.clothHalfOversize[std::clamp(cell, 0, kRibSlots - 1)];
    QList<double> oversize(halfOversize, halfOversize + kAirfoilPoints);
    auto step = [&](int j) { return std::min((A(j) - A(j - 1)).length(), (B(j) - B(j - 1)).length()); };
    for (int j = 1; j < kAirfoilPoints; ++j)
        oversize[j] = std::min(oversize.at(j), oversize.at(j - 1) + kFlareSlope * step(j));
    for (int j = kAirfoilPoints - 2; j >= 0; --j)
        oversize[j] = std::min(oversize.at(j), oversize.at(j + 1) + kFlareSlope * step(j + 1));
    for (int pass = 0; pass < kSmoothingPasses; ++pass) {
        const QList<double> was = oversize;
        for (int j = 1; j < kLastIndex; ++j) {
            const int reach = std::min({kSmoothingReach, j, kLastIndex - j});
            double sum = 0;
            for (int k = j - reach; k <= j + reach; ++k)
                sum += was.at(k);
            oversize[j] = sum / (2 * reach + 1);
        }
    }

    // The cell widened in place: each rib point moved out along the line
    // across the cell by the oversize.
    QList<Vec> wideA, wideB;
    wideA.reserve(kAirfoilPoints);
    wideB.reserve(kAirfoilPoints);
    Vec across(0, 1, 0);
    for (int j = 0; j < kAirfoilPoints; ++j) {
        const Vec a = A(j), b = B(j);
        if ((b - a).length() > 0)
            across = (b - a) / (b - a).length();
        wideA.append(a - across * oversize.at(j));
        wideB.append(b + across * oversize.at(j));
    }

    // Laid out row by row: every edge step as long as the rib's, every row
    // as long as the cloth across the cell, the steps leaving the row before
    // at the angles they make with it on the cell (turned alike where the
    // cell does not lie flat).
    QList<QPointF> left, right;
    left.reserve(kAirfoilPoints);
    right.reserve(kAirfoilPoints);
    left.append(QPointF(0, 0));
    right.append(QPointF((wideB.first() - wideA.first()).length(), 0));
    for (int j = 1; j < kAirfoilPoints; ++j) {
        auto stepOf = [&](const QList<Vec>& wide, Vec from, Vec to) {
            const Vec w = wide.at(j) - wide.at(j - 1);
            return w.length() > 0 ? w : to - from;
        };
        const Vec rowBefore = wideB.at(j - 1) - wideA.at(j - 1);
        const double a = angleBetween(rowBefore, stepOf(wideA, A(j - 1), A(j)));
        const double b = kPi - angleBetween(rowBefore * -1.0, stepOf(wideB, B(j - 1), B(j)));
        const auto row = widenedRow(left.last(), right.last(), (A(j) - A(j - 1)).length(),
                                    (B(j) - B(j - 1)).length(), a, b, (wideB.at(j) - wideA.at(j)).length());
        left.append(row.first);
        right.append(row.second);
    }

    const double seam = design.ToScreen(0.001 * design.seamAllowance[0]);
    QList<PntPart> L, R, M;
    L.reserve(kAirfoilPoints);
    R.reserve(kAirfoilPoints);
    if (centre)
        M.reserve(kAirfoilPoints);
    for (int j = 0; j < kAirfoilPoints; ++j) {
        if (centre) {
            M.append(Insert_TP7(&design, left.at(j), 0, j, seam, 'L'));
            L.append(Insert_TP7(&design, left.at(j), 0, j, seam, 'L'));
        } else {
            L.append(Insert_TP7(&design, left.at(j), leftRib, j, seam, 'L'));
        }
        R.append(Insert_TP7(&design, right.at(j), rightRib, j, seam, 'R'));
    }

    strip->cell = cell;
    strip->left = L;
    strip->right = R;
    if (!M.isEmpty())
        strip->mirrored = M;
    Setup_Inter_Rib(strip);
}

void Setup_Inter_Rib(UnFolder* strip)
{
    const int n = std::min(strip->left.size(), strip->right.size());
    QPolygonF mid, label;
    mid.reserve(n);
    label.reserve(n);
    for (int k = 0; k < n; ++k) {
        const QPointF l = strip->left.at(k).point, r = strip->right.at(k).point;
        mid.append((l + r) / 2);
        label.append(0.9 * l + 0.1 * r);
    }
    strip->midLine = mid;
    strip->labelLine = label;
}

QList<int> Start_Split_Indexes(const ParaStruct* design, int cell, bool rightRib)
{
    const int rib = rightRib ? cell + 1 : cell;
    // Whether O2 bounds a nose piece is decided at the left rib for both.
    const bool nosePiece = design->lineIndex[0][cell] < design->lineIndex[1][cell];
    QList<int> splits{0};
    if (design->billowLineIndex > 0 && design->billowLineOnTop)
        splits.append(design->billowLineIndex);
    splits.append(design->lineIndex[0][rib]);
    if (nosePiece)
        splits.append(design->lineIndex[1][rib]);
    std::sort(splits.begin(), splits.end());
    splits.append(kLastIndex);
    return splits;
}

void Generate_4Start_Polygons(const ParaStruct* design, int cell, const UnFolder* strip, QList<WholePoly>* pieces)
{
    if (!pieces)
        return;
    pieces->clear();
    if (!design || !strip || cell < 0 || cell + 1 >= kRibSlots)
        return;
    const int o1 = design->lineIndex[0][cell];
    const int o2 = design->lineIndex[1][cell];
    const QList<int> left = Start_Split_Indexes(design, cell, false);
    const QList<int> right = Start_Split_Indexes(design, cell, true);
    for (int k = 0; k + 1 < left.size(); ++k) {
        const LRTBclass group = Create_LRTB_Group(design, cell, k, strip, left, right, o1, o2);
        WholePoly piece;
        piece.cell = cell;
        piece.piece = qint16(k);
        piece.name = Set_PartName(k, design->billowLineIndex, design->billowLineOnTop, o1, o2);
        piece.orderKey = 0;
        piece.outline = group.left;
        piece.outline += group.top;
        piece.outline += ReverseOrderList(group.right);
        piece.outline += ReverseOrderList(group.bottom);
        pieces->append(piece);
    }
}

LRTBclass Create_LRTB_Group(const ParaStruct* design, int cell, int k, const UnFolder* strip,
                            const QList<int>& leftSplits, const QList<int>& rightSplits, int o1, int o2)
{
    LRTBclass group;
    if (!design || !strip || k < 0 || k + 1 >= leftSplits.size() || k + 1 >= rightSplits.size())
        return group;
    if (strip->left.size() < kAirfoilPoints || strip->right.size() < kAirfoilPoints)
        return group;
    const int s = onEdge(leftSplits.at(k)), sR = onEdge(rightSplits.at(k));
    int e = onEdge(leftSplits.at(k + 1)), eR = onEdge(rightSplits.at(k + 1));
    const int n = leftSplits.size() - 1;
    const bool centre = isCentre(design, cell);
    const int billow = design->billowLineIndex;
    const double sideAllowance = design->ToScreen(0.001 * design->seamAllowance[0]);

    auto cut = [&](int at, int atR, char which, bool trailingEdge) {
        // The billow cut follows the index, not the switch: an opening row
        // lying on the billow line is cut as a billow cut too.
        if (billow > 0 && at == billow)
            Insert_BillowPoly(design, *strip, &group, cell, at, atR, sideAllowance, centre, which, false);
        else
            Insert_CutPoly(cell, *strip, &group, at, atR, set_oversew(design, n, k, at, o1, o2), which,
                           trailingEdge);
    };
    cut(s, sR, 'B', s == 0 || s == kLastIndex);
    cut(e, eR, 'T', e == kLastIndex);

    // A piece only one point long gets edges long enough for its corners.
    if (std::abs(e - s) <= 1)
        e = std::min(e + 8, kLastIndex);
    if (std::abs(eR - sR) <= 1)
        eR = std::min(eR + 8, kLastIndex);
    group.left = strip->left.mid(s, e - s + 1);
    group.right = strip->right.mid(sR, eR - sR + 1);
    return group;
}

void Insert_CutPoly(int cell, const UnFolder& strip, LRTBclass* group, int leftIndex, int rightIndex,
                    double allowance, char which, bool trailingEdge)
{
    QList<PntPart>* target = which == 'B' ? &group->bottom : which == 'T' ? &group->top : nullptr;
    if (!target)
        return;
    target->clear();
    const QPointF P = strip.left.at(onEdge(leftIndex)).point;
    const QPointF Q = strip.right.at(onEdge(rightIndex)).point;
    target->reserve(257);
    for (int t = 0; t <= 256; ++t)
        target->append(Insert_CrossCut(cell, leftIndex, P + (Q - P) * t / 256.0, t, 256, allowance, trailingEdge));
}

void Insert_BillowPoly(const ParaStruct* design, const UnFolder& strip, LRTBclass* group, int cell, int leftIndex,
                       int rightIndex, double allowance, bool centre, char which, bool trailingEdge)
{
    QList<PntPart>* target = which == 'B' ? &group->bottom : which == 'T' ? &group->top : nullptr;
    if (!target)
        return;
    const double ref = design->chord[1];
    const double x = ref != 0 ? design->chord[cell] * design->billowLineOffset / ref : 0.0;
    const QPointF Q = strip.right.at(onEdge(rightIndex)).point;
    // In the centre cell the left edge is the mirror of the right one, so the
    // arc starts at the mirror of its own end.
    const QPointF P = strip.left.at(onEdge(centre ? rightIndex : leftIndex)).point;
    const QPolygonF arc = billow_arc(which == 'T' ? x : -x, P, Q);
    const QPolygonF even = Natur_Param(256, &arc);
    target->clear();
    target->reserve(even.size());
    for (int t = 0; t < even.size(); ++t)
        target->append(Insert_CrossCut(cell, leftIndex, even.at(t), t, 256, allowance, trailingEdge));
}
