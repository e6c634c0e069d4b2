#pragma once

// The rib sheet: every rib of the half wing laid out side by side, turned so
// that its chord points down from the trailing edge, with its cut line (the
// outline with the side seam allowance), its seam line (with wide spacing),
// its label, the control marks at its line attachments and control points,
// the mylar, the two rods with their marks and seam bands, and the
// cross-port holes. Previewed or written as "ribs.dxf".
//
// Layers: "RIB.<r>" for the cut line, holes, marks and label, and the same
// with ".saw" (seam line), ".milar", ".rod_1", ".rod_2" (bands and their
// marks) and ".rod.saw" (rod paths, with wide spacing).

#include <QPolygonF>
#include <QString>

class ParaStruct;
class PieceSheet;
struct HoleLayout;
struct PatternSheet;

// The whole sheet, of a current design.
PieceSheet Rib_Sheet(const PatternSheet& sheet);

// The cross-port holes of rib r laid out on its turned flat outline and
// drawn moved by (x, y): hole group 0 on loaded ribs, 1 on intermediate ones
// (ribType), none on the tip rib and for other rib types. The hole zone lies
// the design's edge offset inside the outline. The layout is worked out in
// *layout (hole layout of the sheet, crossports.h).
void Acad_FoilHoles(PieceSheet* out, const ParaStruct& design, HoleLayout* layout, int r, int x, int y,
                    const QString& layer, int ribType, const QPolygonF& outline);

// Horizontal advance before rib r on the sheet: one and a half times the
// outline's width across (points 0 .. 997), scaled by how the chord changes
// toward the next rib (for the tip rib: between the two ribs before it).
double foil_deb(const ParaStruct* design, int r, const QPolygonF& outline);
