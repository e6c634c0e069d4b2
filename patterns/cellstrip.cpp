#include "patterns/cellstrip.h"

#include "core/billowarc.h"
#include "core/cellgrid.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "patterns/patterngeom.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLastIndex = kAirfoilPoints - 1;

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

} // namespace

void Unfold_ZERO_Longpattern(ParaStruct* design, int cell, UnFolder* strip)
{
    if (!design || !strip || cell < 0 || cell + 1 >= kRibSlots)
        return;
    const bool centre = isCentre(design, cell);
    const QVector3D* ribA = design->ribCurves3D[cell];
    const QVector3D* ribB = design->ribCurves3D[cell + 1];
    auto A = [&](int j) { return centre ? SymNullCell(ribB[j]) : ribA[j]; };
    auto B = [&](int j) { return ribB[j]; };
    const int leftRib = cell;
    const int rightRib = cell + 1;

    QList<PntPart> L, R, M;
    L.reserve(kAirfoilPoints);
    R.reserve(kAirfoilPoints);
    if (centre)
        M.reserve(kAirfoilPoints);

    auto addLeft = [&](QPointF p, int j) {
        if (centre) {
            M.append(Insert_TP7(design, p, 0, j, design->patternOversize[0][j], 'L'));
            L.append(Insert_TP7(design, p, 0, j, design->patternOversize[1][j], 'L'));
        } else {
            L.append(Insert_TP7(design, p, leftRib, j, design->patternOversize[leftRib][j], 'L'));
        }
    };
    auto addRight = [&](QPointF p, int j) {
        R.append(Insert_TP7(design, p, rightRib, j, design->patternOversize[rightRib][j], 'R'));
    };

    addLeft(QPointF(0, 0), 0);
    addRight(QPointF(Dist3(A(0), B(0)), 0), 0);
    for (int j = 1; j < kAirfoilPoints; ++j) {
        const QPointF pL = L.last().point;
        const QPointF pR = R.last().point;
        const QVector3D Ap = A(j - 1), Bp = B(j - 1), Ac = A(j), Bc = B(j);
        const double base = Dist3(Ap, Bp);
        const QPointF left = unfold_Pnt(pL, pR, base, Dist3(Bp, Ac), Dist3(Ap, Ac));
        const QPointF right = unfold_Pnt(pL, pR, base, Dist3(Bp, Bc), Dist3(Ap, Bc));
        addLeft(left, j);
        addRight(right, j);
    }

    strip->cell = cell;
    strip->left = L;
    strip->right = R;
    if (!M.isEmpty())
        strip->mirrored = M;
    Setup_Inter_Rib(design, cell, L, R);
}

void Setup_Inter_Rib(ParaStruct* design, int cell, const QList<PntPart>& left, const QList<PntPart>& right)
{
    if (!design || cell < 0 || cell >= kStructSlots)
        return;
    const int n = std::min(left.size(), right.size());
    QPolygonF mid, label;
    mid.reserve(n);
    label.reserve(n);
    for (int k = 0; k < n; ++k) {
        const QPointF l = left.at(k).point, r = right.at(k).point;
        mid.append((l + r) / 2);
        label.append(0.9 * l + 0.1 * r);
    }
    design->cellOutlinesA[cell] = mid;
    design->cellOutlinesB[cell] = label;
}

QList<int> Start_Split_Indexes(ParaStruct* design, int cell, bool rightRib)
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

void Generate_4Start_Polygons(ParaStruct* design, int cell, UnFolder* strip, QList<WholePoly>* pieces)
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

LRTBclass Create_LRTB_Group(ParaStruct* design, int cell, int k, const UnFolder* strip,
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

void Insert_BillowPoly(ParaStruct* design, const UnFolder& strip, LRTBclass* group, int cell, int leftIndex,
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
