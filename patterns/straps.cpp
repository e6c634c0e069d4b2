#include "patterns/straps.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "patterns/controlmarks.h"
#include "patterns/patterngeom.h"
#include "patterns/patternsheet.h"
#include "patterns/piecelabels.h"
#include "geom/sheet.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr int kCurvePoints = kAirfoilPoints - 1; // points of fill_3DFoil
constexpr int kFirstStrapRow = 2;
constexpr int kLastStrapRow = kLineRows - 1;

// Distance of two 3-D points in metres.
double metres(const ParaStruct* d, QVector3D a, QVector3D b)
{
    return d->R_X(Dist3(a, b));
}

} // namespace

QList<QVector3D> fill_3DFoil(const ParaStruct* design, int rib)
{
    QList<QVector3D> curve;
    if (rib < 0 || rib >= kRibSlots)
        return curve;
    curve.reserve(kCurvePoints);
    for (int k = 0; k < kCurvePoints; ++k)
        curve.append(design->ribCurves3D[rib][k]);
    return curve;
}

void FindStrapSegment(const ParaStruct* design, double width, int rib, int index, QVector3D point,
                      const QList<QVector3D>& curve, QVector3D* out, int* indexes, int side)
{
    const int last = int(curve.size()) - 1;
    if (last < 0)
        return;
    const QVector3D P = point;
    // The lower side starts after the nose; every rib goes by the first
    // rib's nose.
    const int n = std::min(design->noseIndex[1] + 1, last);
    // The edge point lies on the stretch from the last point outside half
    // the width to P. Where the airfoil's points stand further apart than
    // half the width, no point lies inside it: the stretch is then the one
    // from the point just before P, not a chord from the nose.
    int lo = index - 1;
    for (int j = n; j < index && j <= last; ++j) {
        if (2 * metres(design, curve.at(j), P) < width) {
            lo = j - 1;
            break;
        }
    }
    int hi = index;
    for (int j = std::max(index, 0); j <= std::min(998, last); ++j) {
        if (2 * metres(design, curve.at(j), P) > width) {
            hi = j;
            break;
        }
    }
    const int a = std::clamp(std::max(n, lo), 0, last);
    const int b = std::clamp(std::min(hi, 998), 0, last);
    QVector3D E[2];
    design->f_finePnt3(curve, P, width, a, b, E);
    out[0] = E[0];
    out[1] = P;
    out[2] = E[1];
    if (side == 2)
        for (int k = 0; k < 3; ++k)
            out[k] = p_SymY(out[k]);
    indexes[0] = -1;
    indexes[1] = index;
    indexes[2] = -1;
}

void walk_Strap_over_line(const ParaStruct* design, int rib, int index, double width, const QList<QVector3D>& curve,
                          Strap3D* strap, int mode)
{
    if (mode < 0 || mode > 2 || rib < 0 || rib >= kRibSlots)
        return;
    const int k = std::clamp(index, 0, kAirfoilPoints - 1);
    const QVector3D P = design->ribCurves3D[rib][k];
    if (mode == 0) {
        FindStrapSegment(design, width, rib, k, P, curve, strap->sideA, strap->indexA, 0);
        return;
    }
    FindStrapSegment(design, width, rib, k, P, curve, strap->sideB, strap->indexB, 1);
    if (mode == 2)
        FindStrapSegment(design, width, rib, k, P, curve, strap->sideA, strap->indexA, 2);
}

QList<Strap3D> Create_Strap_list(const ParaStruct* design)
{
    QList<Strap3D> list;
    const int lastCell = std::min(design->lastRib, kRibSlots - 1); // cells 0 .. lastCell - 1
    for (int id = 0; id < kLineRows * kRibSlots; ++id) {
        const int row = id / kRibSlots;
        const int rib = id % kRibSlots;
        if (!design->lineStrips[row][rib] || rib >= lastCell || row < kFirstStrapRow || row > kLastStrapRow)
            continue;
        const QList<QVector3D> curveA = fill_3DFoil(design, rib);
        const QList<QVector3D> curveB = fill_3DFoil(design, rib + 1);
        const double w = design->strapWidth[row - kFirstStrapRow] * 0.001;
        const bool fixed = design->strapFixed[row];
        Strap3D strap;
        strap.ribA = rib;
        strap.ribB = rib + 1;
        strap.row = row;
        strap.widthA = w * (fixed ? 1.0 : design->rib_glob_factor(rib));
        strap.widthB = w * (fixed ? 1.0 : design->rib_glob_factor(rib + 1));
        const int kA = std::clamp(design->lineIndex[row][rib], 0, kAirfoilPoints - 1);
        const int kB = std::clamp(design->lineIndex[row][rib + 1], 0, kAirfoilPoints - 1);
        strap.attachA = design->ribCurves3D[rib][kA];
        strap.attachB = design->ribCurves3D[rib + 1][kB];
        if (rib == 0 && design->centreCell) {
            // The centre cell's strap runs from the mirror image of rib 1 to rib 1.
            walk_Strap_over_line(design, 1, kB, strap.widthB, curveB, &strap, 2);
        } else {
            walk_Strap_over_line(design, rib, kA, strap.widthA, curveA, &strap, 0);
            walk_Strap_over_line(design, rib + 1, kB, strap.widthB, curveB, &strap, 1);
        }
        list.append(strap);
    }
    return list;
}

FlatStrap Unfold_Strap(const Strap3D& strap)
{
    const QVector3D* A = strap.sideA;
    const QVector3D* B = strap.sideB;
    QPointF a[3], b[3];
    a[0] = QPointF(0, 0);
    b[0] = QPointF(Dist3(A[0], B[0]), 0);
    for (int j = 0; j < 2; ++j) {
        const double base = Dist3(A[j], B[j]);
        a[j + 1] = unfold_Pnt(a[j], b[j], base, Dist3(B[j], A[j + 1]), Dist3(A[j], A[j + 1]));
        b[j + 1] = unfold_Pnt(a[j], b[j], base, Dist3(B[j], B[j + 1]), Dist3(A[j], B[j + 1]));
    }
    FlatStrap flat;
    flat.outline = {a[0], a[1], a[2], b[2], b[1], b[0], a[0]};
    flat.sideA = {a[0], a[1], a[2]};
    flat.sideB = {b[2], b[1], b[0]};
    flat.attach = {a[1], b[1]};
    return flat;
}

QPolygonF Straps_ubermuss(double allowance, const QPolygonF& sideA, const QPolygonF& sideB)
{
    if (sideA.size() < 3 || sideB.size() < 3)
        return QPolygonF();
    const QPointF a0 = sideA.at(0), a2 = sideA.at(2);
    const QPointF b2 = sideB.at(0), b0 = sideB.at(2);
    const QPointF offA1 = uberLeft(allowance, a0, a2), offA2 = uberRight(allowance, a0, a2);
    const QPointF offB1 = uberLeft(allowance, b2, b0), offB2 = uberRight(allowance, b2, b0);
    return QPolygonF{Lines_Intesection(a0, b0, offA1, offA2), Lines_Intesection(a2, b2, offA1, offA2),
                     Lines_Intesection(a2, b2, offB1, offB2), Lines_Intesection(a0, b0, offB1, offB2)};
}

PieceSheet Strap_Sheet(const PatternSheet& sheet)
{
    const ParaStruct* design = sheet.design;
    PieceSheet out(design->dxfScale);
    QFont font = sheet.font;
    font.setFamily(QStringLiteral("Times"));
    font.setPixelSize(5);
    const int height = out.textHeight(font);
    const int column = int(sheet.viewSize.width() / 15.0);
    const int line = int(sheet.viewSize.height() / 25.0);
    const double allowance = design->ToScreen(design->seamAllowance[0] * 0.001);
    const QList<Strap3D> list = Create_Strap_list(design);
    for (const Strap3D& currentStrap : list) {
        const auto [strapOutline, strapSideA, strapSideB, strapAttach] = Unfold_Strap(currentStrap);
        const QString label = QStringLiteral("Strap.%1.%2").arg(currentStrap.ribA).arg(LineLetter(currentStrap.row));
        const QPointF offset(currentStrap.ribA * column, (currentStrap.row - 1) * line);
        const QPolygonF outline = strapOutline.translated(offset);
        out.polyline(outline, label, 3);
        // The marks are drawn aside first, for the labels to keep off.
        PieceSheet marks(out.scale());
        Sheet_Marks(&marks, design, strapAttach.translated(offset), 12, label);
        out.append(marks);
        // The cutter follows a closed outline only: back to the first corner
        // along the nose-side edge.
        QPolygonF cut = Straps_ubermuss(allowance, strapSideA.translated(offset), strapSideB.translated(offset));
        if (!cut.isEmpty())
            cut.append(cut.first());
        out.polyline(cut, label, 1);
        // The side that goes toward the wing centre is named at its end on
        // rib i, the side toward the nose along its nose-side edge further
        // on; the strap's own name takes the middle between them.
        const QPointF c = Geometric_center(outline);
        const double e = strapOutline.boundingRect().width();
        const QPointF a0 = outline.first(), b0 = outline.at(5);
        const QList<LabelWish> wishes{
            {QStringLiteral("to center"), QPointF(c.x() - 0.25 * e, c.y()), c, 0, QPointF(a0.x(), c.y())},
            {QStringLiteral("to nose"), QPointF(c.x(), c.y() - 0.05 * e), c, 0, a0 + 0.8 * (b0 - a0)},
            {label, c, c, 0, c},
        };
        const QList<PlacedLabel> placed = Place_Piece_Labels(outline, Sheet_Shapes(marks), wishes, height, out.scale());
        Draw_Piece_Labels(&out, {placed.at(2), placed.at(0), placed.at(1)}, label, font, height);
    }
    return out;
}
