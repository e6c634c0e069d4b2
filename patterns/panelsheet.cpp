#include "patterns/panelsheet.h"

#include "airfoils/foilunfold.h"
#include "geom/designcurves.h"
#include "patterns/miniribmarks.h"
#include "patterns/controlmarks.h"
#include "core/geomconst.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "core/checkedint.h"
#include "patterns/panelmanager.h"
#include "patterns/patterngeom.h"
#include "patterns/patternsheet.h"
#include "patterns/piecelabels.h"
#include "patterns/seamallowance.h"
#include "geom/sheet.h"

#include <algorithm>
#include <cmath>
#include <memory>

PieceSheet Panel_Sheet(const PatternSheet& sheet)
{
    const ParaStruct& design = *sheet.design;
    PieceSheet out(design.dxfScale);
    QFont font = sheet.font;
    font.setWeight(QFont::Bold);
    font.setPixelSize(7);
    QList<Spline> lines;
    RecreateSplineList(&design, &lines);
    QList<WholePoly> pieces;
    UnFolder strip;
    for (int cell = 0; cell < design.lastRib; ++cell) {
        Longpattern_Manager(design, cell, &lines, sheet.options.lineSegments, &pieces, nullptr, &strip);
        Acad_longpatt_output(&out, design, cell, pieces, strip, font, sheet.options.wideSpacing);
    }
    return out;
}

void Acad_longpatt_output(PieceSheet* out, const ParaStruct& design, int cell, const QList<WholePoly>& pieces,
                          const UnFolder& strip, const QFont& font, bool wideSpacing)
{
    int sides = 16;
    const bool mirror = cell == 0 && design.centreCell;
    const double width = 1.3 * (design.ribSpanPos[2] - design.ribSpanPos[1]);
    const double X = wideSpacing ? width * 2 * cell : width * cell;
    // The mini-ribs of this cell, for the marks below.
    QList<QVector3D> miniRib;
    MiniRibFlat rear;
    if (!design.ribAirfoils[1].isEmpty())
        rear = unfold_RearFoil(design, cell, &miniRib);

    QString label;
    int n = 0;
    bool upSeen = false, vnSeen = false, lwSeen = false;
    QPointF position;
    int angle = 0;
    FinalPart fp;
    for (WholePoly piece : pieces) {
        if (piece.outline.isEmpty())
            continue;
        Setup_One_FinalPart(&design, cell, &piece, &fp);
        if (mirror) {
            fp.pureOutline = RightPartPolyMirror(strip.midLine, fp.pureOutline);
            fp.allowanceOutline = RightPartPolyMirror(strip.midLine, fp.allowanceOutline);
        }

        if (piece.name == QLatin1String("Up")) {
            if (!upSeen) {
                vnSeen = false;
                lwSeen = false;
                n = 0;
            }
            label = QStringLiteral("Up.%1.%2").arg(cell).arg(n);
            ++n;
            upSeen = true;
        } else if (piece.name == QLatin1String("VN")) {
            if (!vnSeen)
                lwSeen = false;
            label = QStringLiteral("VN.%1").arg(cell);
            vnSeen = true;
            n = 0;
        } else if (piece.name == QLatin1String("Lw")) {
            if (!lwSeen)
                n = 0;
            label = QStringLiteral("Lw.%1.%2").arg(cell).arg(n);
            ++n;
            lwSeen = true;
            sides = 3;
        }

        // With wide spacing the pieces of a cell move apart, each keeping
        // its size.
        const QPointF c = CenterPoly(&fp.allowanceOutline);
        const QPointF S = wideSpacing ? QPointF(X + c.x() / 0.45 * 0.55, -0.55 * c.y()) : QPointF(X, 0);

        if (!fp.ribMarks.isEmpty())
            Sheet_Marks(out, &design, turn_Y(fp.ribMarks).translated(S), sides, label);
        if (!fp.cutMarks.isEmpty())
            Sheet_Marks(out, &design, turn_Y(fp.cutMarks).translated(S), 8, label);
        Acad_TextPos(strip.labelLine, &fp.allowanceOutline, &angle, &position);
        // The label stands at the piece's edge where it fits inside the cut
        // line there; a narrow piece (at the tip) moves it inward.
        const int height = out->textHeight(font);
        const QPointF at = turn_F_Y_point(position) + S;
        QPolygonF cut = turn_Y(fp.allowanceOutline).translated(S);
        if (cut.size() > 2 && cut.first() != cut.last())
            cut.append(cut.first());
        const LabelWish wish{label, at, turn_F_Y_point(c) + S, angle,
                             Label_Box(at, angle, height, label, out->scale()).boundingRect().center()};
        Draw_Piece_Labels(out, Place_Piece_Labels(cut, {}, {wish}, height, out->scale()), label, font, height);
        out->sewingLine(turn_Y(fp.pureOutline).translated(S), label + QStringLiteral(".pure"), 4);
        if (!fp.allowanceOutline.isEmpty())
            out->polyline(turn_Y(fp.allowanceOutline).translated(S), label, 1);
        CalcRearRibControls(out, &design, cell, rear, S, label, strip.midLine, fp.allowanceOutline);
        CalcFrontRibControls(out, &design, cell, S, label, strip.midLine, fp.allowanceOutline);
    }
}

QPolygonF RightPartPolyMirror(const QPolygonF& mid, const QPolygonF& poly)
{
    if (mid.isEmpty() || poly.isEmpty())
        return poly;
    const double xm = mid.first().x();
    int first = -1, last = -1;
    for (int i = 0; i < poly.size(); ++i) {
        if (poly.at(i).x() <= xm) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first <= 0)
        return poly;
    QPolygonF right = poly.mid(last + 1);
    right += poly.mid(0, first);
    QPolygonF mirrored;
    mirrored.reserve(right.size());
    for (int i = right.size() - 1; i >= 0; --i)
        mirrored.append(QPointF(2 * xm - right.at(i).x(), right.at(i).y()));
    return right + mirrored;
}

void Acad_TextPos(const QPolygonF& labelLine, const QPolygonF* outline, int* angle, QPointF* position)
{
    if (outline->isEmpty())
        return;
    QPointF candidate = CenterPoly(outline);
    const QRectF box = outline->boundingRect();
    for (const QPointF& p : labelLine) {
        if (box.contains(p) && outline->containsPoint(p, Qt::OddEvenFill)) {
            candidate = p;
            break;
        }
    }
    *position = NearestPoint(outline, candidate);
    const int i = Nearest_poly_pnt_index(outline, *position);
    const int m = outline->size();
    if (i <= 1)
        *angle = f_txt_alpha(outline->at(m - 1), outline->at(std::max(m - 3, 0)));
    else
        *angle = f_txt_alpha(outline->at(i), outline->at(std::max(i - 3, 0)));
}

int f_txt_alpha(QPointF p, QPointF q)
{
    return -wl::Checked_Int(std::floor(std::atan2(q.y() - p.y(), q.x() - p.x()) * 180.0 / wl::Pi));
}
