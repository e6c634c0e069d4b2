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
// The sheet previewed or written as the step-by-step interface does it
// (acad.h); returns whether the file was written (false in the preview).
bool Acad_Longpatt(const PatternSheet& sheet);

// The pieces of one cell, in list order. The design is a working copy: the
// piece geometry keeps scratch in it.
void Acad_longpatt_output(PieceSheet* out, ParaStruct* design, int cell, const QList<WholePoly>& pieces,
                          const QFont& font);

// The part of poly right of the centre cell's mid-line, completed by its
// mirror image; poly unchanged when none of it lies at or left of that line
// or when its first point does.
QPolygonF RightPartPolyMirror(const ParaStruct* design, const QPolygonF& poly);

// Position and angle of a piece's label: at the outline vertex nearest to the
// first point of the cell's label line inside the outline, along the outline.
// Nothing is set for an empty outline.
void Acad_TextPos(const ParaStruct* design, int cell, const QPolygonF* outline, int* angle, QPointF* position);

// Label angle of the direction p -> q in whole degrees, for the flipped sheet.
int f_txt_alpha(QPointF p, QPointF q);
