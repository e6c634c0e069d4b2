#include "patterns/diagsheet.h"

#include "core/parastruct.h"
#include "core/checkedint.h"
#include "patterns/controlmarks.h"
#include "patterns/patternsheet.h"
#include "patterns/piecelabels.h"
#include "geom/sheet.h"
#include "structure/diagonals.h"
#include "structure/diagshape.h"

#include <cmath>
#include <memory>

QPolygonF filter_Diag_Cntr(const QPolygonF& outline, const QPolygonF& points)
{
    QPolygonF kept;
    for (const QPointF& p : points)
        if (outline.containsPoint(p, Qt::OddEvenFill) || outline.containsPoint(p, Qt::WindingFill))
            kept.append(p);
    return kept;
}

PieceSheet Diagonal_Sheet(const PatternSheet& sheet)
{
    const ParaStruct& design = *sheet.design;
    PieceSheet out(design.dxfScale);
    QFont font = sheet.font;
    font.setFamily(QStringLiteral("Times"));
    font.setPixelSize(5);
    if (design.ribAirfoils[0].isEmpty())
        return out;
    const int height = out.textHeight(font);
    const int w = sheet.viewSize.width();
    int xpos = 0;
    // Each record is completed on a copy: the list stays as generated.
    for (DiagonalData copy : design.diagonals) {
        xpos = int(xpos + w / 5.0);
        const QPointF T(xpos, 0);
        Create_Diagonal_2D3D(design, &copy);
        const QPolygonF& O = copy.flatOutline;
        const QString label = QStringLiteral("Dia.%1.%2").arg(copy.first.rib).arg(copy.second.rib);
        if (O.isEmpty()) {
            Sheet_Note(sheet, QStringLiteral("%1: the diagonal has no flat shape").arg(label));
            continue;
        }
        const QPointF p0 = O.first() + T, pn = O.last() + T;
        const QPointF m((p0.x() + pn.x()) * 0.5, (p0.y() + pn.y()) * 0.5 + 2.0);
        const int angle = wl::Checked_Int(std::atan2(p0.y() - pn.y(), p0.x() - pn.x()) * 57.29577952383886);
        // The label runs along the diagonal inside its outline, clear of the
        // cross-port holes and the marks (drawn aside, they follow the holes).
        PieceSheet marks(out.scale());
        Sheet_Marks(&marks, &design, filter_Diag_Cntr(O, copy.flatControls).translated(T), 12, label);
        QPolygonF cut = O.translated(T);
        if (cut.size() > 2 && cut.first() != cut.last())
            cut.append(cut.first());
        QList<QPolygonF> holes;
        for (const QPolygonF& hole : std::as_const(copy.flatHoles))
            holes.append(hole.translated(T));
        const LabelWish wish{label, m, m, angle, cut.boundingRect().center()};
        Draw_Piece_Labels(&out, Place_Piece_Labels(cut, holes + Sheet_Shapes(marks), {wish}, height, out.scale()),
                          label, font, height);
        out.loop(O.translated(T), label, 2, true);
        for (const QPolygonF& hole : std::as_const(copy.flatHoles))
            out.loop(hole.translated(T), label, 3, true);
        out.append(marks);
    }
    return out;
}
