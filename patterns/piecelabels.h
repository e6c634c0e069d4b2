#pragma once

// The labels of one pattern piece, placed so that the cutter writes each of
// them on the piece it names: inside the piece's outline, off its holes and
// off each other. A label that fits where its writer put it stays there, as
// large as it was; one that does not moves to the nearest place where it
// fits, and shrinks (and turns along the piece) only where it must.
//
// A label's box is taken as the file holds it (Sheet_Dxf_Bytes moves the
// TEXT's insertion point by its letter count and 1.3 heights) and as wide as
// its height per letter, from a third of its height below the base line to
// its height above it: as much as any font the cutter may take needs.

#include <QFont>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QString>

class PieceSheet;

struct LabelWish {
    QString text;
    QPointF at;    // where the writer puts it (the file position of PieceSheet::text), plan units
    QPointF previewAt; // and where the preview shows it while it stays there
    int angle = 0; // degrees, counter-clockwise
    QPointF near;  // where its box should stand, as near as it can, when it has to move
};

struct PlacedLabel {
    QString text;
    QPointF at;
    QPointF previewAt;
    int angle = 0;
    int height = 1;  // millimetres
    QPolygonF box;   // plan units, closed
    bool fits = false; // false: nowhere on the piece, left as wished
};

// The box of a label written at `at` (plan units, as PieceSheet::text
// takes it), closed, in plan units.
QPolygonF Label_Box(QPointF at, int angle, int height, const QString& text, double scale);

// The labels of one piece: `piece` is the outline they stay in, `holes`
// what they keep off; `height` the height they are wished at (mm), `scale`
// the sheet's millimetres per plan unit. When every label fits as wished
// they are returned so; otherwise all of them are placed anew, in order, at
// one height, the largest at which all fit, along the first wish's angle or
// else along the piece's long axis.
QList<PlacedLabel> Place_Piece_Labels(const QPolygonF& piece, const QList<QPolygonF>& holes,
                                      const QList<LabelWish>& wishes, int height, double scale);

// The shapes a sheet holds, for labels to keep off: every line drawn (into
// the file or not) and every mark at its cut size.
QList<QPolygonF> Sheet_Shapes(const PieceSheet& sheet);

// Writes the labels on the layer, in the font of the preview made as large
// as the label where it had to shrink.
void Draw_Piece_Labels(PieceSheet* out, const QList<PlacedLabel>& labels, const QString& layer, const QFont& font,
                       int height);
