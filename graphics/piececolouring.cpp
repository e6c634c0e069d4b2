#include "graphics/piececolouring.h"

#include "core/parastruct.h"
#include "core/viewfit.h"
#include "geom/designcurves.h"
#include "graphics/pieceuv.h"
#include "patterns/panelcut.h"
#include "patterns/panelmanager.h"
#include "patterns/patterngeom.h"

#include <algorithm>
#include <cmath>

PieceColouring::PieceColouring(ParaStruct* design) : design(design)
{
}

QString PieceColouring::Show(const QRect& widgetRect)
{
    scale = 0.5;
    RecreateSplineList(design, &designLineList);
    // What the colours were given for: the file's pieces, or the pieces
    // laid out when colours were chosen in this session and not saved.
    QList<Canopy> source;
    const bool keep = unsaved;
    if (keep) {
        colours = colours.mid(0, outlines.size());
        source = CreateCanopyList(colours, &outlines);
    } else {
        ReadCanopyList();
        source = canopyList;
    }
    Preview_Longpatt_Design(&designLineList);
    Auto_Zoom(widgetRect);

    QStringList notice;
    if (!keep && !fileReport.problem.isEmpty())
        notice << QStringLiteral("Only the first %1 coloured pieces of\n%2\ncould be read: %3.")
                      .arg(fileReport.read)
                      .arg(GetGlobClass()->cnpPath, fileReport.problem);
    const QString mismatch = Canopy_Mismatch(source, outlines);
    if (!mismatch.isEmpty())
        notice << QStringLiteral("The colours were %1 for other design lines: %2.\nThey are laid on the pieces "
                                 "one by one in their order; check them before saving.")
                      .arg(keep ? QStringLiteral("chosen") : QStringLiteral("saved"), mismatch);
    return notice.join(QStringLiteral("\n\n"));
}

void PieceColouring::ReadCanopyList()
{
    colours.clear();
    canopyList = ReadCanopyStream(design, &fileReport);
    for (const Canopy& c : canopyList)
        colours.append(c.colour);
}

void PieceColouring::Preview_Longpatt_Design(QList<Spline>* lines)
{
    anchor = QPointF(0, 0);
    scale = 1.0;
    previousScale = 1.0;
    allPieces.clear();
    design->designWarnings.clear();
    outlines.clear();
    const int cells = std::clamp(design->lastRib, 0, kMaxLastRib);
    // The colouring shows the pieces cut along the curves of the lines.
    const QList<CellPanels> panels = Longpattern_Cells(*design, cells, lines, false, true);
    for (int k = 0; k < cells; ++k) {
        cellPieces = panels.at(k).pieces;
        design->designWarnings += panels.at(k).slopeWarnings;
        Setup_Preview_Poly(k);
        allPieces.append(cellPieces);
    }
    generate_Texture();
    publishColours();
}

void PieceColouring::Setup_Preview_Poly(int cell)
{
    // A fresh piece has no colour: the invalid colour the name "#0000"
    // gives, equal to QColor() and stored as such in the colour file.
    QColor noColour;
    noColour.setNamedColor(QStringLiteral("#0000"));
    const double W = 1.5 * (design->ribSpanPos[2] - design->ribSpanPos[1]);
    const double N = design->cells;
    for (int j = 0; j < cellPieces.size(); ++j) {
        const QPolygonF outline = Get_Original_Poly(&cellPieces[j].outline, 1);
        if (outline.isEmpty())
            continue;
        outlines.append(turn_Y(outline).translated(W * cell, 5.1 * W * cell / (N * 0.5) - 0.1 * (j + 1)));
        colours.append(noColour);
    }
}

void PieceColouring::generate_Texture()
{
    texturePieces.clear();
    int minX = 10000, minY = 10000, maxX = 0, maxY = 0;
    for (const WholePoly& piece : allPieces) {
        const QPolygon uv = Get_UVPolyFromWholePoly(&piece, 1);
        for (const QPoint& p : uv) {
            minX = std::min(minX, p.x());
            minY = std::min(minY, p.y());
            maxX = std::max(maxX, p.x());
            maxY = std::max(maxY, p.y());
        }
        texturePieces.append(uv);
    }
    GlobClass* glob = GetGlobClass();
    glob->uvPieces = texturePieces;
    glob->uvWidth = maxX - minX;
    glob->uvHeight = maxY - minY;
}

QRectF Colouring_Area(const QRect& widgetRect)
{
    // Below the view's tool-tip label and the current colour's sample, with
    // a margin on the other sides.
    return QRectF(widgetRect).adjusted(10, 60, -10, -10);
}

void PieceColouring::Auto_Zoom(const QRect& widgetRect)
{
    anchor = QPointF(0, 0);
    QRectF bounds;
    for (const QPolygonF& o : std::as_const(outlines))
        bounds |= o.boundingRect();
    const QRectF area = Colouring_Area(widgetRect);
    if (bounds.isEmpty() || area.isEmpty())
        return;
    // The whole layout in the area: a drawn point is scale x p, so the
    // outlines move by the fit's offset in layout units.
    const ViewFit fit = Fit_In(bounds, area);
    scale = fit.zoom;
    poly_list_translate(fit.offset.x() / scale, fit.offset.y() / scale);
}

void PieceColouring::poly_list_translate(double dx, double dy)
{
    for (QPolygonF& p : outlines)
        p.translate(dx, dy);
}

void PieceColouring::Reanchor(QPointF cursor, double newScale)
{
    previousScale = scale;
    previousAnchor = anchor;
    anchor = cursor;
    scale = newScale;
    const QPointF shift = (anchor - previousAnchor) * ((scale - 1) / scale);
    poly_list_translate(shift.x(), shift.y());
}

void PieceColouring::Wheel_Zoom(QPointF cursor, int delta)
{
    double s = delta > 0 ? scale + zoomStep : scale - zoomStep;
    if (s <= zoomStep)
        s = zoomStep;
    Reanchor(cursor, s);
}

bool PieceColouring::Select_Poly(QPointF p)
{
    if (!colouring)
        return false;
    // Anchored at the cursor, the layout point under it is the cursor's.
    Reanchor(p, scale);
    for (int i = 0; i < outlines.size(); ++i) {
        if (!outlines.at(i).containsPoint(p, Qt::OddEvenFill))
            continue;
        if (i >= colours.size() || colours.at(i) == currentColour)
            return false;
        colours[i] = currentColour;
        unsaved = true;
        publishColours();
        return true;
    }
    return false;
}

void PieceColouring::SetMyColor(QColor c)
{
    currentColour = c;
    currentColour.setAlpha(200);
}

void PieceColouring::InitGray_PolyColor()
{
    const int n = std::min(outlines.size(), colours.size());
    for (int i = 0; i < n; ++i)
        colours[i] = QColor(160, 165, 160, 255);
    unsaved = true;
    publishColours();
}

bool PieceColouring::Save_Canopy_Data()
{
    canopyList = CreateCanopyList(colours, &outlines);
    if (!WriteCanopyStream(canopyList))
        return false;
    unsaved = false;
    return true;
}

void PieceColouring::publishColours()
{
    GetGlobClass()->pieceColours = colours;
}
