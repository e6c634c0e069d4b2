#pragma once

// The diagonal-rib sheet: every diagonal rib the diagonal model generates,
// side by side at one fifth of the preview's width apart, each with its cut
// line (the flat outline with the diagonal seam allowance), its cross-port
// holes, its label and 12-sided marks at the rib control points of its
// edges. Previewed or written as "diagon.dxf"; each diagonal on the layer
// "Dia.<first rib>.<second rib>".

#include <QPolygonF>

class PieceSheet;
struct PatternSheet;

// The whole sheet of a current design (its diagonal list as the recompute
// generated it); empty while no design is loaded.
PieceSheet Diagonal_Sheet(const PatternSheet& sheet);

// The points that lie inside the outline (odd-even or winding rule), in
// their order.
QPolygonF filter_Diag_Cntr(const QPolygonF& outline, const QPolygonF& points);
