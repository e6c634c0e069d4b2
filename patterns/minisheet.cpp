#include "patterns/minisheet.h"

#include "core/airfoil.h"
#include "airfoils/foilunfold.h"
#include "core/parastruct.h"
#include "core/checkedint.h"
#include "patterns/controlmarks.h"
#include "patterns/patterngeom.h"
#include "patterns/patternsheet.h"
#include "patterns/piecelabels.h"
#include "patterns/ribseams.h"
#include "geom/ribunfold.h"
#include "geom/sheet.h"
#include "structure/crossports.h"
#include "structure/holefun.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

QFont labelFont(const PatternSheet& sheet)
{
    QFont font = sheet.font;
    font.setFamily(QStringLiteral("Times"));
    font.setPixelSize(5);
    return font;
}

double widthOf(const QPolygonF& p)
{
    if (p.isEmpty())
        return 0.0;
    const QRectF box = p.boundingRect();
    return box.width();
}

// Index of the leading edge: the point of smallest x, the first of equal
// ones; any number of points (a mini-rib outline is no standard airfoil).
int leadingEdgeIndex(const QPolygonF& p)
{
    int at = 0;
    for (int i = 1; i < p.size(); ++i)
        if (p.at(i).x() < p.at(at).x())
            at = i;
    return at;
}

// The holes of the working trapezoids 8 .. 15 of hole group g laid out on
// the rib outline.
QList<QPolygonF> trapezoidHoles(const ParaStruct& design, HoleLayout* layout, const QPolygonF& ribOutline, int g)
{
    Set_Trap_Index_Values23(design, ribOutline, layout);
    Reset_baseTrap_Array(design, ribOutline, g, false, layout);
    Calc_current_grup_all_trap(g, layout);
    QList<QPolygonF> holes;
    for (int k = 8; k < 16; ++k)
        holes += Create_div_Trapez(&design, layout->baseTraps[k], false);
    return holes;
}

QList<QPolygonF> drawHolesInside(PieceSheet* out, const QList<QPolygonF>& holes, const QPolygonF& mini, double dx,
                                 int x, int y, const QString& label)
{
    QList<QPolygonF> drawn;
    for (const QPolygonF& h : holes)
        if (testContain(mini, h.translated(dx, 0))) {
            drawn.append(h.translated(x + dx, y));
            out->loop(drawn.last(), label, 1, true);
        }
    return drawn;
}

// The label of a mini-rib (its closed cut line) where the writer puts it
// when it fits there, else as near to the middle of the piece as it fits,
// clear of the vent holes.
void drawLabel(PieceSheet* out, const QPolygonF& cut, const QList<QPolygonF>& keepOff, QPointF at,
               const QString& label, const QFont& font, int height)
{
    const LabelWish wish{label, at, at, 0, cut.boundingRect().center()};
    Draw_Piece_Labels(out, Place_Piece_Labels(cut, keepOff, {wish}, height, out->scale()), label, font, height);
}

bool designLoaded(const ParaStruct* d)
{
    return !d->ribAirfoils[0].isEmpty();
}

} // namespace

bool Setup_FrontFoilPattern(const ParaStruct& design, int cell, MiniRibFlat* front)
{
    if (!designLoaded(&design))
        return false;
    QList<QVector3D> list;
    *front = unfold_FrontFoil(design, cell, &list);
    return true;
}

bool Setup_RearFoilPattern(const ParaStruct& design, int cell, MiniRibFlat* rear)
{
    if (design.ribAirfoils[1].isEmpty())
        return false;
    QList<QVector3D> list;
    *rear = unfold_RearFoil(design, cell, &list);
    return true;
}

double deltaNose(const QPolygonF* rib, const QPolygonF* mini)
{
    if (rib->isEmpty() || mini->isEmpty())
        return 0.0;
    return mini->at(leadingEdgeIndex(*mini)).x() - rib->at(leadingEdgeIndex(*rib)).x();
}

double deltaTail(const QPolygonF& rib, const QPolygonF& mini)
{
    if (rib.isEmpty() || mini.isEmpty())
        return 0.0;
    return rib.first().x() - mini.first().x();
}

QList<QPolygonF> Acad_Front_FoilHoles(PieceSheet* out, const ParaStruct& design, HoleLayout* layout,
                                      const QPolygonF& ribOutline, const QPolygonF& frontFoil, int x, int y,
                                      const QString& label)
{
    if (ribOutline.isEmpty() || frontFoil.isEmpty())
        return {};
    const QList<QPolygonF> holes = trapezoidHoles(design, layout, ribOutline, 2);
    return drawHolesInside(out, holes, frontFoil, deltaNose(&ribOutline, &frontFoil), x, y, label);
}

QList<QPolygonF> Acad_Rear_FoilHoles(PieceSheet* out, const ParaStruct& design, HoleLayout* layout,
                                     const QPolygonF& ribOutline, const QPolygonF& rearFoil, int x, int y,
                                     const QString& label)
{
    if (ribOutline.isEmpty() || rearFoil.isEmpty())
        return {};
    const QList<QPolygonF> holes = trapezoidHoles(design, layout, ribOutline, 3);
    // The rib's layout moves onto the mini-rib by the difference of their
    // trailing edges: the mini-rib's less the rib's.
    return drawHolesInside(out, holes, rearFoil, -deltaTail(ribOutline, rearFoil), x, y, label);
}

PieceSheet FrontMiniRib_Sheet(const PatternSheet& sheet)
{
    const ParaStruct& design = *sheet.design;
    PieceSheet out(design.dxfScale);
    const QFont font = labelFont(sheet);
    if (!designLoaded(&design))
        return out;
    // The hole layout of one mini-rib starts where the one before left it.
    HoleLayout layout = Hole_Layout_Of(design);
    const int height = out.textHeight(font);
    int x = sheet.viewSize.width() / 50;
    const int y = sheet.viewSize.height() / 5;
    const double allowance = design.ToScreen(design.seamAllowance[0] * 0.001);
    RibUnfolding rib;
    MiniRibFlat front;
    const int last = std::min(design.lastRib, kStructSlots - 1);
    for (int i = 1; i < last; ++i) {
        if (!design.frontRibEnabled[i])
            continue;
        const QString label = QStringLiteral("frontf.%1.%2").arg(i).arg(i + 1);
        Unfold_AirFoil(&design, i, &rib);
        Setup_FrontFoilPattern(design, i, &front);
        const QPolygonF& frontFoil = front.outline;
        if (frontFoil.size() < 2) {
            Sheet_Note(sheet, QStringLiteral("%1: the front mini-rib has no extent around the nose").arg(label));
            continue;
        }
        const QPolygonF P = frontFoil.translated(x, y);
        if (sheet.options.wideSpacing)
            out.polyline(P, label, 3);
        PieceSheet marks(out.scale());
        Sheet_Marks(&marks, &design, front.marks.translated(x, y), 12, label);
        out.append(marks);
        const QPolygonF cut = Front_Airfoil_ubermuss(allowance, P);
        out.polyline(cut, label, 1);
        const QList<QPolygonF> holes = Acad_Front_FoilHoles(&out, design, &layout, rib.outline, frontFoil, x, y, label);
        drawLabel(&out, cut, holes + Sheet_Shapes(marks), Txt_minx_center(P), label, font, height);
        x = wl::Checked_Int(x + std::round(1.3 * widthOf(frontFoil)));
    }
    return out;
}

PieceSheet RearMiniRib_Sheet(const PatternSheet& sheet)
{
    const ParaStruct& design = *sheet.design;
    PieceSheet out(design.dxfScale);
    const QFont font = labelFont(sheet);
    if (!designLoaded(&design))
        return out;
    // The hole layout of one mini-rib starts where the one before left it.
    HoleLayout layout = Hole_Layout_Of(design);
    const int height = out.textHeight(font);
    int x = sheet.viewSize.width() / 100;
    const int y = sheet.viewSize.height() / 10;
    const double allowance = design.ToScreen(design.seamAllowance[0] * 0.001);
    RibUnfolding rib;
    const int last = std::min(design.lastRib, kStructSlots - 1);
    for (int i = 1; i < last - 1; ++i) {
        if (!design.rearRibEnabled[i])
            continue;
        const QString label = QStringLiteral("Rear.%1.%2").arg(i).arg(i + 1);
        Unfold_AirFoil(&design, i, &rib);
        MiniRibFlat rear;
        Setup_RearFoilPattern(design, i, &rear);
        const QPolygonF& rearFoil = rear.outline;
        // A rear mini-rib the cell cannot have (no rear points) is left out;
        // the other cells are still drawn.
        if (rearFoil.isEmpty()) {
            Sheet_Note(sheet, QStringLiteral("%1: the cell has no rear part for its rear mini-rib").arg(label));
            continue;
        }
        const QPolygonF P = rearFoil.translated(x, y);
        if (sheet.options.wideSpacing)
            out.polyline(P, label, 3);
        PieceSheet marks(out.scale());
        Sheet_Marks(&marks, &design, rear.marks.translated(x, y), 12, label);
        out.append(marks);
        const QPolygonF cut = Rear_Airfoil_ubermuss(rear, allowance, P);
        out.polyline(cut, label, 1);
        const QList<QPolygonF> holes = Acad_Rear_FoilHoles(&out, design, &layout, rib.outline, rearFoil, x, y, label);
        drawLabel(&out, cut, holes + Sheet_Shapes(marks), Txt_maxx_center(P), label, font, height);
        x = wl::Checked_Int(x + 1.5 * widthOf(rearFoil));
    }
    return out;
}
