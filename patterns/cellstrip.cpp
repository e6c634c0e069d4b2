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
#include <limits>

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

// The search of Widened_Row.
//
// Every step of the bisection asks only whether the row turned by its
// middle turn is shorter than the width. Laying the row out for each of the
// sixty steps (two sines, two cosines and a length) made the panel layout
// slow, so each step takes the first of three answers that is certain:
//  - the row's length moves by at most eL + eR per unit of turn, and its
//    rate of change by a bounded amount: what is known of the length and its
//    rate at one end of the interval can tell it for the middle;
//  - an estimate of the length by a series about a reference turn, whose
//    error is bounded;
//  - the row laid out, as the result is, near the turn that fits, where
//    neither can tell.
// Each answer is the one laying the row out gives (the bounds allow for how
// the row laid out rounds), so the turn found is the same to the last bit.
class WidenedRow
{
public:
    WidenedRow(QPointF pL, QPointF pR, double eL, double eR, double a, double b, double width)
        : pL(pL), pR(pR), eL(eL), eR(eR), a(a), b(b), width(width)
    {
        const double base = angleOf(pR - pL);
        left = base + a;
        right = base + b;
        certain = std::isfinite(pL.x()) && std::isfinite(pL.y()) && std::isfinite(pR.x()) && std::isfinite(pR.y())
                  && std::isfinite(eL) && std::isfinite(eR) && std::isfinite(left) && std::isfinite(right)
                  && std::isfinite(width) && width > 0;
        if (!certain)
            return;
        across = pR - pL;
        const double steps = std::fabs(eL) + std::fabs(eR);
        speed = steps * (1 + 1e-9);
        // What the row laid out rounds: its points to their coordinates'
        // precision and their difference, each along its axis; the steps'
        // angles, sines and cosines; and the row's length. An estimate rounds
        // about as much, and leaves off the end of its series. Each error
        // is taken twice.
        xRounding = 2 * kUnit * (std::fabs(pL.x()) + std::fabs(pR.x()) + 2 * steps + std::fabs(across.x()));
        yRounding = 2 * kUnit * (std::fabs(pL.y()) + std::fabs(pR.y()) + 2 * steps + std::fabs(across.y()));
        stepRounding = 3 * kUnit * steps * (4 + std::fabs(left) + std::fabs(right));
        turnRounding = 12 * kUnit * steps;
        seriesError = 3 * steps;
        margin = xRounding + yRounding + 14 * kUnit * width + stepRounding + turnRounding * 2 * kPi;
        // Where the row is at least half its width long, its length bends by
        // at most this much per unit of turn squared.
        bend = steps * (1 + 2 * steps / width) * (1 + 1e-9);
        // The turn that fits is mostly small.
        recentre(0);
    }

    // The row turned by t, as the panel is laid out.
    QPair<QPointF, QPointF> row(double t) const
    {
        const double l = left + t, r = right - t;
        for (const LaidOut& known : laid)
            if (known.left == l && known.right == r)
                return qMakePair(known.leftPoint, known.rightPoint);
        return qMakePair(pL + towards(l, eL), pR + towards(r, eR));
    }

    QPair<QPointF, QPointF> widened()
    {
        // Turned outward the left step runs towards pi, the right one
        // towards 0.
        const double hi = std::min(kPi - a, b);
        const double lo = std::max(-a, b - kPi);
        if (!(lo < hi))
            return row(0);
        double from = lo, to = hi;
        const Answer atTo = answer(to);
        if (atTo.side == Side::Short || atTo.side == Side::Fits)
            return row(to);
        const Answer atFrom = answer(from);
        if (atFrom.side == Side::Long || atFrom.side == Side::Fits)
            return row(from);
        // Every turn from `from` up to shortUpTo gives a short row, every
        // turn from longFrom up to `to` a long one.
        double shortUpTo = atFrom.side == Side::Short ? from + reach(atFrom) : -kUnknown;
        double longFrom = to - reach(atTo);
        int step = 0;
        while (true) {
            // The steps whose middle the known turns answer, in a loop of
            // their own that keeps its few values at hand.
            step = knownSteps(step, shortUpTo, longFrom, &from, &to);
            if (step == kSteps)
                break;
            const double t = 0.5 * (from + to);
            const Answer at = answer(t);
            if (at.side == Side::Short) {
                from = t;
                shortUpTo = std::max(shortUpTo, t + reach(at));
            } else {
                to = t;
                longFrom = std::min(longFrom, t - reach(at));
            }
            ++step;
        }
        return row(0.5 * (from + to));
    }

private:
    static constexpr int kSteps = 60;
    static constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;

    // Bisection steps from `step` on while every middle lies where the turns
    // up to shortUpTo are short and those from longFrom long; the step
    // whose middle lies between, or kSteps.
    static int knownSteps(int step, double shortUpTo, double longFrom, double* from, double* to)
    {
        double f = *from, t = *to;
        for (; step < kSteps; ++step) {
            const double middle = 0.5 * (f + t);
            const bool isShort = middle <= shortUpTo, isLong = middle >= longFrom;
            if (!(isShort || isLong))
                break;
            f = isShort ? middle : f;
            t = isShort ? t : middle;
        }
        *from = f;
        *to = t;
        return step;
    }

    static constexpr double kUnknown = std::numeric_limits<double>::infinity();

    // Where the row turned by t lies against its width, as laid out, and the
    // shortest and longest the row can be.
    enum class Side : unsigned char { Short, Fits, Long, Unordered };
    struct Answer {
        Side side;
        double shortest = -kUnknown, longest = kUnknown;
        double rate = kUnknown; // the fastest the row can grow with the turn
    };

    // How far beyond a short (before a long) row the rows stay short (long)
    // for certain: the row's length moves by at most `speed` per unit of
    // turn, and where it is at least half the width long, it bends by at
    // most `bend`, from the rate it has at the answer; 0 when nothing is
    // known beyond the answer's turn itself.
    double reach(const Answer& at) const
    {
        const bool isShort = at.side == Side::Short;
        if (!isShort && at.side != Side::Long)
            return 0;
        const double room = isShort ? width - margin - at.longest : at.shortest - width - margin;
        if (!(room > 0))
            return 0;
        double reach = room / speed;
        // The row grows by at most rate + bend x / 2 per unit of turn x
        // ahead of a short row, and shrinks by at most that behind a long
        // one.
        const double bent = 2 * room / (at.rate + std::sqrt(at.rate * at.rate + 2 * bend * room));
        if (bent > reach && at.shortest - speed * bent >= 0.5 * width)
            reach = bent;
        return reach > 0 ? reach * (1 - 1e-9) : 0;
    }

    Answer answer(double t)
    {
        if (certain && !near) {
            Answer estimate = estimated(t);
            if (estimate.side == Side::Unordered && std::fabs(t - reference) > 0.125) {
                recentre(t);
                estimate = estimated(t);
            }
            if (estimate.side != Side::Unordered)
                return estimate;
            // Near the turn that fits the estimate cannot tell; nor will it
            // for the steps after.
            near = true;
        }
        return {laidOut(t)};
    }

    // The side of the row laid out.
    Side laidOut(double t)
    {
        const double l = left + t, r = right - t;
        // Rows apart by less than their angles' precision are laid out alike.
        for (const LaidOut& known : laid)
            if (known.left == l && known.right == r)
                return known.side;
        const QPointF L = pL + towards(l, eL), R = pR + towards(r, eR);
        Side side;
        const double dx = R.x() - L.x(), dy = R.y() - L.y();
        const double s = dx * dx + dy * dy, w2 = width * width;
        // The length's square tells the side unless the row lies within a few
        // units of the last place of its width.
        constexpr double guard = 1.0 / (1ull << 48);
        if (width > 0 && s < w2 * (1 - guard)) {
            side = Side::Short;
        } else if (width > 0 && s > w2 * (1 + guard)) {
            side = Side::Long;
        } else {
            const double length = QLineF(L, R).length();
            side = length < width    ? Side::Short
                   : length > width  ? Side::Long
                   : length == width ? Side::Fits
                                     : Side::Unordered;
        }
        laid[next] = {l, r, side, L, R};
        next = (next + 1) % kLaidOut;
        return side;
    }

    void recentre(double t)
    {
        reference = t;
        const double l = left + t, r = right - t;
        const double cl = std::cos(l), sl = std::sin(l), cr = std::cos(r), sr = std::sin(r);
        // The row turned by t + d is across + k cos d - j sin d.
        k = QPointF(eR * cr - eL * cl, eR * sr - eL * sl);
        j = QPointF(-eR * sr - eL * sl, eR * cr + eL * cl);
        turned = across + k;
    }

    // The row's length estimated about the reference turn, the side it
    // gives when it is certain, and the shortest and longest the row can be.
    Answer estimated(double t) const
    {
        const double d = t - reference;
        const double ad = std::fabs(d);
        if (!(ad <= 2))
            return {Side::Unordered};
        // 1 - cos d and sin d by their series, with what is left off.
        const double d2 = d * d;
        const double c1 =
            d2 * (1.0 / 2 - d2 * (1.0 / 24 - d2 * (1.0 / 720 - d2 * (1.0 / 40320 - d2 * (1.0 / 3628800)))));
        const double s = d * (1 - d2 * (1.0 / 6 - d2 * (1.0 / 120 - d2 * (1.0 / 5040 - d2 * (1.0 / 362880
                                                                  - d2 * (1.0 / 39916800))))));
        const double d4 = d2 * d2;
        const double series = d4 * d4 * d4 * (1.0 / 479001600 + ad / 6227020800.0);
        const double dx = turned.x() - (k.x() * c1 + j.x() * s);
        const double dy = turned.y() - (k.y() * c1 + j.y() * s);
        const double length = std::sqrt(dx * dx + dy * dy);
        // An error along an axis moves the length by its share of the row.
        const double shareX = std::min(1.0, std::fabs(dx) / length), shareY = std::min(1.0, std::fabs(dy) / length);
        const double error = xRounding * shareX + yRounding * shareY
                             + 2 * kUnit * (std::fabs(turned.x()) * shareX + std::fabs(turned.y()) * shareY)
                             + 12 * kUnit * length + stepRounding
                             + turnRounding * (std::fabs(t) + std::fabs(reference))
                             + seriesError * (series + 6 * kUnit * (c1 + ad));
        // How fast the row grows with the turn, and what that may be off by.
        const double rx = -(k.x() * s + j.x() * (1 - c1)), ry = -(k.y() * s + j.y() * (1 - c1));
        const double rate = (dx * rx + dy * ry) / length;
        const double rateError = 2 * (stepRounding + turnRounding * (std::fabs(t) + std::fabs(reference))
                                      + seriesError * (series + 8 * kUnit))
                                 + 2 * speed * error / length;
        Answer estimate{Side::Unordered, length - error, length + error, rate + rateError};
        if (!(estimate.shortest <= estimate.longest) || !(estimate.rate <= kUnknown))
            return {Side::Unordered};
        if (estimate.longest < width)
            estimate.side = Side::Short;
        else if (estimate.shortest > width)
            estimate.side = Side::Long;
        return estimate;
    }

    QPointF pL, pR;
    double eL, eR, a, b, width;
    double left = 0, right = 0; // the steps' directions before the turn
    bool certain = false;       // the estimate and the bounds hold
    bool near = false;
    QPointF across;
    double speed = kUnknown;
    double xRounding = 0, yRounding = 0, stepRounding = 0, turnRounding = 0, seriesError = 0;
    double margin = kUnknown, bend = kUnknown; // what the row laid out may be off by
    double reference = 0;
    QPointF k, j, turned;
    // The rows last laid out: near the turn that fits the bisection comes
    // back to them.
    struct LaidOut {
        double left = std::numeric_limits<double>::quiet_NaN(), right = std::numeric_limits<double>::quiet_NaN();
        Side side = Side::Unordered;
        QPointF leftPoint, rightPoint;
    };
    static constexpr int kLaidOut = 4;
    LaidOut laid[kLaidOut];
    int next = 0;
};

} // namespace

QPair<QPointF, QPointF> Widened_Row(QPointF pL, QPointF pR, double eL, double eR, double a, double b, double width)
{
    return WidenedRow(pL, pR, eL, eR, a, b, width).widened();
}

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
        const auto row = Widened_Row(left.last(), right.last(), (A(j) - A(j - 1)).length(),
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
