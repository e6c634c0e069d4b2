#include "geom/flatwingdxf.h"

#include "geom/sheet.h"
#include "core/parastruct.h"
#include "geom/patternfun.h"
#include "core/transf.h"

#include <QPolygonF>

#include <cmath>

namespace {
QFont plainFont(QFont font, int pointSize)
{
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    font.setPointSize(pointSize);
    return font;
}

// Chord-wise position of airfoil point i of rib r as a fraction of the
// chord; 0 where the rib has no such point.
double foilX(const ParaStruct* ps, int r, int i)
{
    const QPolygonF& foil = ps->ribAirfoils[r];
    return (i >= 0 && i < foil.size()) ? foil.at(i).x() : 0.0;
}

QPolygonF lineRow(const ParaStruct* ps, int first, int last, const int* index, int stride)
{
    QPolygonF row;
    for (int r = first; r <= last; ++r) {
        const double y = ps->leadingEdgeX[r] + foilX(ps, r, index[r * stride]) * ps->chord[r];
        row << turn_F_Y_point(QPointF(ps->ribSpanPos[r], y));
    }
    return row;
}
} // namespace

PieceSheet FlatWing_Sheet(const ParaStruct& design, const QFont& font, int size)
{
    PieceSheet out(design.dxfScale);
    flatwing_write_dxf(&out, design, font, size);
    return out;
}

void flatwing_write_dxf(PieceSheet* out, const ParaStruct& design, QFont font, int size)
{
    const ParaStruct* ps = &design;
    const QFont text = plainFont(font, size);
    const int textHeight = out->textHeight(text);
    const int first = std::max(ps->firstRib, 0);
    const int last = std::min(ps->lastRib, kRibSlots - 1);
    const QString ribLayer = QStringLiteral("Flatwing");

    for (int r = first; r <= last; ++r) {
        const double X = std::round(ps->ribSpanPos[r]);
        const QPointF te = turn_F_Y_point(QPointF(X, ps->trailingEdgeX[r]));
        const QPointF le = turn_F_Y_point(QPointF(X, ps->leadingEdgeX[r]));
        out->fileOnlyLine(te, le, ribLayer, 5);
        if (r > 0)
            out->text(QPointF(0, 0), te, ribLayer, 0, QStringLiteral("r:%1").arg(r), text, textHeight);
    }

    QPolygonF leading;
    QPolygonF trailing;
    for (int r = first; r <= last; ++r) {
        leading << turn_F_Y_point(QPointF(ps->ribSpanPos[r], ps->leadingEdgeX[r]));
        trailing << turn_F_Y_point(QPointF(ps->ribSpanPos[r], ps->trailingEdgeX[r]));
    }
    out->loop(leading, QStringLiteral("Uy"), 4, false);
    const QPointF header = leading.isEmpty() ? QPointF() : QPointF(leading.last().x(), leading.first().y());
    out->loop(trailing, QStringLiteral("Dy"), 4, false);

    write_header(out, design, header, font, size);

    for (int k = 0; k < kLineRows; ++k) {
        const QPolygonF row = lineRow(ps, first, last, &ps->lineIndex[k][0], 1);
        out->polyline(row, QStringLiteral("dyn-line-%1").arg(k), 3);
        if (!row.isEmpty())
            out->text(row.first(), row.first(), ribLayer, 0, LineLetter(k), text, textHeight);
    }
    for (int k = 0; k < kLineRows; ++k) {
        const QPolygonF row = lineRow(ps, first, last, &ps->rowCentreIndex[k], 0);
        out->polyline(row, QStringLiteral("line-%1").arg(k), 1);
    }
}

void write_header(PieceSheet* out, const ParaStruct& ps, QPointF position, QFont font, int size)
{
    const QFont head = plainFont(font, 2 * size);
    const QString lines[8] = {
        QStringLiteral("Flat area [m2]: %1 ").arg(ps.flatArea, 5, 'f', 2),
        QStringLiteral("Flat aspect ratio: %1 ").arg(ps.flatAspectRatio, 4, 'f', 2),
        QStringLiteral("proj. area [m2]: %1 ").arg(ps.projectedArea, 5, 'f', 2),
        QStringLiteral("proj.  aspect ratio: %1 ").arg(ps.projectedAspectRatio, 4, 'f', 2),
        QStringLiteral("Total number of ribs: %1 ").arg(ps.cells),
        QStringLiteral("Total span [m]: %1").arg(ps.span, 4, 'f', 2),
        QStringLiteral("Span/2 [m]: %1").arg(0.5 * ps.span, 4, 'f', 2),
        QStringLiteral("Aver. wing depth [m]: %1").arg(ps.meanChord, 4, 'f', 2),
    };
    for (int k = 0; k < 8; ++k) {
        const QPointF at(position.x(), position.y() - k * size);
        out->text(position, at, QStringLiteral("head_text"), 0, lines[k], head, out->textHeight(head));
    }
}
