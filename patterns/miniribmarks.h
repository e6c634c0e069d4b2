#pragma once

// Where a cell's mini-ribs are sewn onto its panel pieces: the seam lines and
// control marks of the front and the rear mini-rib, and the cell's mid-line
// between the two ends of the rear mini-rib, drawn on every piece that holds
// them. The mini-ribs sit halfway between the two ribs of the cell, on the
// cell's flat mid-line (one point per airfoil index, the strip's midLine).
//
// `piece` is the piece's cutting outline in the cell frame; every point
// drawn is placed as the panel sheet places the piece: (x + offset.x,
// 500 - y + offset.y), on the piece's layer `label`.

#include <QPointF>
#include <QPolygonF>
#include <QString>

class ParaStruct;
class PieceSheet;
struct MiniRibFlat;

// The front mini-rib's seam (the mid-line points of its index range inside
// the piece, colour 3) with a 12-sided mark at each control point of the
// cell's left rib; only for a cell with a front mini-rib.
void CalcFrontRibControls(PieceSheet* out, const ParaStruct* design, int cell, QPointF offset, const QString& label,
                          const QPolygonF& midLine, const QPolygonF& piece);

// For a cell with a rear mini-rib, the marks at its five control indexes
// (those of `rear`, the rear unfolding of the cell) and its seam along the
// upper and the lower run; for every cell the mid-line between the rear
// mini-rib's front ends (10 indexes in from each), resampled to 70 points on
// the layer label + ".midline".
void CalcRearRibControls(PieceSheet* out, const ParaStruct* design, int cell, const MiniRibFlat& rear,
                         QPointF offset, const QString& label, const QPolygonF& midLine, const QPolygonF& piece);
