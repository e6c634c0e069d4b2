#pragma once

// The panel sheet: the panel pieces of one half wing laid out cell by cell
// with their cutting lines, control marks and labels, previewed or written
// as "longpatt.dxf". Each piece is drawn on the layer named by its label
// ("Up.3.0", "VN.3", "Lw.3.1"); the preview also shows its sewing line (layer
// label + ".pure"), which the file leaves out.

#include "patterns/pieces.h"

#include <QFont>
#include <QList>
#include <QPointF>
#include <QPolygonF>

class ParaStruct;
class PieceSheet;
struct PatternSheet;

// The whole sheet, of a current design.
PieceSheet Panel_Sheet(const PatternSheet& sheet);

// The pieces of one cell, in list order, cut from its developed strip (its
// mid-line is the mirror axis of the centre cell and carries the mini-ribs,
// its label line places the labels). With wide spacing the cells stand twice
// as far apart and the pieces of a cell are spread.
void Acad_longpatt_output(PieceSheet* out, const ParaStruct& design, int cell, const QList<WholePoly>& pieces,
                          const UnFolder& strip, const QFont& font, bool wideSpacing);

// The part of poly right of the mid-line (the x of its first point),
// completed by its mirror image; poly unchanged when none of it lies at or
// left of that line, when its first point does, or when the mid-line is
// empty.
QPolygonF RightPartPolyMirror(const QPolygonF& midLine, const QPolygonF& poly);

// Position and angle of a piece's label: at the outline vertex nearest to the
// first point of the cell's label line inside the outline, along the outline.
// Nothing is set for an empty outline.
void Acad_TextPos(const QPolygonF& labelLine, const QPolygonF* outline, int* angle, QPointF* position);

// Label angle of the direction p -> q in whole degrees, for the flipped sheet.
int f_txt_alpha(QPointF p, QPointF q);
