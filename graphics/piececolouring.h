#pragma once

// The colouring of the panel pieces, apart from its widget: every cell of
// the half wing cut along the design lines, the flat outlines laid out side
// by side, a colour per outline, the view's zoom and anchor, the ".cnp" file
// of the project, and the UV outlines and colours published in GlobClass
// for the texture of the preview. The widget (graphics/ui/pattsplineview.h)
// turns the mouse into these calls and draws what they hold.
//
// A drawn point is anchor + scale x (p - anchor) for a layout point p.

#include <QColor>
#include <QList>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QRect>
#include <QRectF>
#include <QString>

#include "core/designspline.h"
#include "graphics/canopyfile.h"
#include "patterns/pieces.h"

class ParaStruct;

// Where the widget shows the pieces: its rectangle less the band at the top
// that holds the tool-tip label and the colour sample, and a margin.
QRectF Colouring_Area(const QRect& widgetRect);

class PieceColouring
{
public:
    explicit PieceColouring(ParaStruct* design);

    // What a show does: the design lines recomputed, the colours read (or,
    // while colours chosen in this session are not saved, kept), all pieces
    // cut and laid out, their UV outlines published, the view fitted to the
    // widget rectangle. Returns what the user should know about the colours
    // ("" when nothing): a file that could not be read whole, or colours
    // saved (or chosen) for other design lines, laid on the pieces by
    // position.
    QString Show(const QRect& widgetRect);

    // The colours of the file, in file order; the file's pieces in canopyList.
    void ReadCanopyList();
    // Cuts every cell along the lines and lays the pieces out; colours gets
    // one no-colour entry per outline after what it holds.
    void Preview_Longpatt_Design(QList<Spline>* lines);
    void Setup_Preview_Poly(int cell);
    // UV outline of every piece, published with its extent.
    void generate_Texture();
    // The whole layout, as large as it fits, in the widget's colouring area
    // (Colouring_Area); the anchor back at (0, 0).
    void Auto_Zoom(const QRect& widgetRect);
    void poly_list_translate(double dx, double dy);

    // The anchor moved to the cursor and the scale set, the outlines moved
    // so that the picture stays where it was.
    void Reanchor(QPointF cursor, double newScale);
    // Wheel step up (delta > 0) or down about the cursor; never below
    // zoomStep.
    void Wheel_Zoom(QPointF cursor, int delta);
    // With colouring on: the first outline under the cursor takes the
    // current colour. False when nothing changed (colouring off, no outline
    // there, or the same colour).
    bool Select_Poly(QPointF p);

    void SetMyColor(QColor c);   // the colour a click gives, alpha 200
    void SetColoring(bool on) { colouring = on; }
    void InitGray_PolyColor();   // every outline (160, 165, 160, 255)
    // Writes one piece per outline into the project's ".cnp". False when
    // nothing was written (no project, or the file could not be written).
    bool Save_Canopy_Data();
    // Colours chosen and not saved are dropped: the next show reads the file.
    void Forget_Unsaved_Colours() { unsaved = false; }
    bool hasUnsavedColours() const { return unsaved; }

    ParaStruct* design;
    QList<Spline> designLineList;
    QList<WholePoly> cellPieces;
    QList<WholePoly> allPieces;
    QList<QPolygonF> outlines;
    QList<QColor> colours;       // entry i colours outline i; may be longer
    QList<QPolygon> texturePieces;
    QList<Canopy> canopyList;
    CanopyFileReport fileReport;
    QColor currentColour;
    bool colouring = false;
    double scale = 0.5;
    double previousScale = 0.5;
    const double zoomStep = 0.1;
    QPointF anchor;
    QPointF previousAnchor;

private:
    void publishColours();
    bool unsaved = false;
};
