#include "patterns/ribsheet.h"

#include "core/airfoil.h"
#include "core/parastruct.h"
#include "core/checkedint.h"
#include "patterns/controlmarks.h"
#include "patterns/patternsheet.h"
#include "patterns/piecelabels.h"
#include "patterns/ribseams.h"
#include "geom/ribunfold.h"
#include "geom/sheet.h"
#include "structure/crossports.h"
#include "structure/holefun.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr double kRightAngle = 1.5707963265;
constexpr double kMirroredTurn = 2.094395102;

// A rib whose front-view angle passes the right angle has turned past the
// horizontal: its flat outline is mirrored and runs counter-clockwise.
bool mirrored(const ParaStruct* d, int r)
{
    return d->ribAngle[r] > kRightAngle;
}

QPolygonF moved(const QPolygonF& p, QPointF T)
{
    return p.translated(T);
}

double chordRatio(const ParaStruct* d, int a, int b)
{
    a = std::clamp(a, 0, kRibSlots - 1);
    b = std::clamp(b, 0, kRibSlots - 1);
    return d->chord[b] > 0 ? d->chord[a] / d->chord[b] : 1.0;
}

} // namespace

double foil_deb(const ParaStruct* design, int r, const QPolygonF& outline)
{
    const int n = std::min<int>(outline.size(), kAirfoilPoints - 2);
    if (n <= 0)
        return 0.0;
    double lo = outline.at(0).x(), hi = lo;
    for (int k = 1; k < n; ++k) {
        lo = std::min(lo, outline.at(k).x());
        hi = std::max(hi, outline.at(k).x());
    }
    const double e = hi - lo;
    // The tip rib looks at the two ribs before it; a wing of one cell has
    // only rib 0 there.
    const double ratio = r < design->lastRib ? chordRatio(design, r, r + 1) : chordRatio(design, r - 2, r - 1);
    return e * (ratio * 1.5);
}

void Acad_FoilHoles(PieceSheet* out, const ParaStruct& design, HoleLayout* layout, int r, int x, int y,
                    const QString& layer, int ribType, const QPolygonF& outline)
{
    if (r >= design.lastRib || ribType > 1 || ribType < 0 || outline.size() < 3)
        return;
    // The hole zone lies inside the outline: to the right of a clockwise
    // outline, to the left of a mirrored one.
    const double off = design.ToScreen(0.001 * design.holeEdgeFactor);
    QPolygonF W = Poly_Off(mirrored(&design, r) ? off : -off, outline);
    W = Poly_Uncross(W);
    W = Interpolated_poly(outline.size(), &W);
    if (W.size() < 3)
        return;
    Set_Triang_Index_Values2(design, r, outline, W, layout);
    Reset_baseTri_Array(design, W, ribType, false, layout);
    Calc_current_grup_all_tribase(design, ribType, layout);
    QList<QPolygonF> holes;
    for (int k = 0; k <= 10; ++k)
        holes += Create_div_Triangles(&design, layout->baseTriangles[k], false);
    for (const QPolygonF& hole : std::as_const(holes))
        out->loop(moved(hole, QPointF(x, y)), layer, 1, true);
}

PieceSheet Rib_Sheet(const PatternSheet& sheet)
{
    const ParaStruct& design = *sheet.design;
    PieceSheet out(design.dxfScale);
    // The hole layout of one rib starts where the rib before left it.
    HoleLayout layout = Hole_Layout_Of(design);
    QFont font = sheet.font;
    font.setFamily(QStringLiteral("Times"));
    font.setPixelSize(5);
    const int height = out.textHeight(font);
    const double allowance = design.ToScreen(0.001 * design.seamAllowance[0]);
    const int ypos = int(0.2 * sheet.viewSize.height());
    const bool wideSpacing = sheet.options.wideSpacing;

    const int first = design.centreRib ? 0 : design.firstRib;
    const int last = std::min(design.lastRib, kRibSlots - 1);
    const bool rod1 = is_rodUP(&design);
    const bool rod2 = is_rodDW(&design);
    int xpos = 0;
    // The unfolded shapes of the rib being laid out.
    QPolygonF ribOutline, ribControls, ribMylar, ribRod1, ribRod1Controls, ribRod2, ribRod2Controls;
    QPolygon ribControlSides;
    for (int r = first; r <= last; ++r) {
        // A rib without airfoil has nothing to lay out (and must not take the
        // shapes of the rib before it).
        if (design.noseIndex[r] <= 0)
            continue;
        Unfold_AirFoil(&design, r, &ribOutline, &ribControls, &ribControlSides, &ribMylar, &ribRod1,
                       &ribRod1Controls, &ribRod2, &ribRod2Controls);
        // Without its extents the mylar collapses onto the nose point: there
        // is nothing to cut.
        const QRectF mylarBox = ribMylar.boundingRect();
        const bool hasMylar = mylarBox.width() > 0 || mylarBox.height() > 0;

        const double a = mirrored(&design, r) ? kMirroredTurn : kRightAngle;
        const QPointF c = ribOutline.first();
        for (QPolygonF* p :
             {&ribOutline, &ribControls, &ribMylar, &ribRod1, &ribRod1Controls, &ribRod2, &ribRod2Controls})
            *p = Rotate_Poly(a, c, *p);

        xpos = wl::Checked_Int(xpos + foil_deb(&design, r, ribOutline));
        if (r == last && last > 0)
            xpos = wl::Checked_Int((1 + 1.0 / last) * xpos);
        const QPointF T(xpos, ypos);
        const QString label = QStringLiteral("RIB.%1").arg(r);

        if (wideSpacing)
            out.loop(moved(ribOutline, T), label + QStringLiteral(".saw"), 3, true);
        // What lies on the rib (its marks, mylar and rods, then after its cut
        // line its vent holes) is drawn first aside, so that the label can
        // keep off all of it; it goes into the sheet after the label, in its
        // order.
        const double d = mirrored(&design, r) ? -allowance : allowance;
        const QPolygonF cut = moved(Airfoil_ubermuss(d, ribOutline), T);
        PieceSheet onRib(out.scale());
        if (design.isLoadedRib(r))
            Sheet_Marks2(&onRib, &design, moved(ribControls, T), ribControlSides, label);
        Sheet_Marks(&onRib, &design, moved(ribControls, T), 12, label);
        if (hasMylar)
            onRib.loop(moved(ribMylar, T), label + QStringLiteral(".milar"), 2, true);
        auto rod = [&](const QPolygonF& path, const QPolygonF& marks, const QString& suffix) {
            Sheet_Marks(&onRib, &design, moved(marks, T), 3, label + suffix);
            if (wideSpacing)
                onRib.loop(moved(path, T), label + QStringLiteral(".rod.saw"), 2, true);
            onRib.loop(moved(Rod_ubermuss(allowance, path), T), label + suffix, 2, true);
        };
        if (rod1)
            rod(ribRod1, ribRod1Controls, QStringLiteral(".rod_1"));
        if (rod2)
            rod(ribRod2, ribRod2Controls, QStringLiteral(".rod_2"));
        PieceSheet holes(out.scale());
        Acad_FoilHoles(&holes, design, &layout, r, xpos, ypos, label, design.diagTableD1[r].ribType, ribOutline);
        // The label runs down from the trailing edge where the rib is thick
        // enough there, else where it fits.
        const QPointF p = ribOutline.first() + T;
        QPolygonF piece = cut;
        if (piece.size() > 2)
            piece.append(piece.first());
        const LabelWish wish{label, p, p, -90, piece.boundingRect().center()};
        Draw_Piece_Labels(&out, Place_Piece_Labels(piece, Sheet_Shapes(onRib) + Sheet_Shapes(holes), {wish}, height,
                                                   out.scale()),
                          label, font, height);
        out.append(onRib);
        out.loop(cut, label, 1, true);
        out.append(holes);
    }
    return out;
}
