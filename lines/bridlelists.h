#pragma once

// What the bridle manager's views show, built from the design record by
// plain functions so that it can be checked without painting: the line
// table of one group (the sheet a builder cuts the lines from), the lines
// and the half canopy of the 3-D bridle window with its camera arithmetic,
// and the brake relaxation diagram.

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector3D>

#include "core/bridledata.h"

class ParaStruct;

// --- Line tables ---------------------------------------------------------------

// One line of a table: its two ends as indexes into the table's node list,
// its straight 3-D length in metres, its load (kg, as stored) and, for a
// brake line ending on the canopy, the brake relaxation of its rib (m).
struct GraphRec {
    int start = -1;
    int end = -1;
    double length = 0.0;
    double load = 0.0;
    double relax = 0.0;
};

// The table of one group: every distinct line end once, in order of first
// appearance (ends at one point share an entry), and one record per line.
struct BridleTable {
    QList<QPoint> nodes;
    QList<GraphRec> graph;
    QList<bool> onFrame;   // per node: a point of the frame (a canopy attachment)
};

// The table of `group` (its lists already rebuilt from the stores). The
// brake relaxation is read from the design's relaxFactors, which the caller
// brings up to date. Empty unless the group has a pair, no more pairs than
// lines, and nodes.
BridleTable Bridle_Table(const ParaStruct* design, const BridleGroup& group, bool brakes);

// The label written on a line: "[length] <load>" for L1..L4 with the length
// rounded to 5 mm; for a brake line "length + relaxation= [rounded sum] ",
// or "[rounded length]" when it has no relaxation.
QString Bridle_Table_Label(const GraphRec& line, bool brakes);


// The tree of a table laid out to be read. The editors' scene places a node
// a line's length from its parent, aimed at its leaves, so that on a sheet
// lines of neighbouring branches can cross. Here the frame points stay and
// every free node that has frame points below it stands over the middle of
// their span, `leafDrop` below `base` when lines run from it to the frame,
// and `levelStep` below the lowest of its free children; a wide fan goes
// lower, so that its lines run no flatter than 45 degrees, and so does a
// node whose line would run through the branch of one of its other lines.
// Each branch then keeps to the span of its own ribs, and two lines cross
// only where the rib spans of their branches interleave. Free nodes with no
// frame point below them (a line left hanging) stay where they are.
void Lay_Out_Bridle_Table(BridleTable* table, double base, double leafDrop, double levelStep);

// The labels of a table, in line order, each beside its line: turned a
// quarter (read from bottom to top) on a line steeper than 45 degrees,
// level on a flatter one. `textSizes` are the level sizes of the labels'
// texts. A label keeps below `clear` (the frame with its rib numbers stands
// above it), off every node (rings of `nodeRadius`) and off the labels
// placed before it, and where it can off the other lines too; along its
// line it takes the first free place from the frame down (lines to the
// frame) or from the middle out (other lines), on the side its line leans
// to first.
struct TableLabel {
    QRectF box;            // where the text stands, in the drawing's units
    bool turned = false;   // written upwards along a steep line
    bool placed = false;   // false: no free place; box is then its first wish
};
QList<TableLabel> Bridle_Table_Labels(const BridleTable& table, const QList<QSizeF>& textSizes, double clear,
                                      double nodeRadius);

// Point of frame slot `slot` (0..7) on `rib` in the table's drawing: rows
// 17 units apart from 93.8, the ribs spread over 614.4 units either side of
// the centre 512 (the mirrored half to the left).
QPoint Bridle_Table_Frame_Point(const ParaStruct* design, int rib, int slot, bool mirror);

// --- 3-D bridle window ------------------------------------------------------------

namespace bridle3d {

constexpr double kModelFactor = 0.0005;  // plan units -> GL units at the start
constexpr double kZoomStep = 1.27;       // one '+' or '-' on the model factor

// The model factor after `steps` net presses of '+' (negative for '-').
double Model_Factor(int steps);

} // namespace bridle3d

// One line of the current group in GL units.
struct BridleSegment {
    QVector3D a, b;
};

// One quad of the half canopy in GL units, its (not normalised) normal first.
struct CanopyQuad {
    QVector3D normal;
    QVector3D a, b, c, d;
};

// The lines of the group the bridle manager has selected (lineSelection
// 2..5, 7), from the stores of `bridle`, each end times `factor`. Empty when
// no group is selected.
QList<BridleSegment> Bridle_Group_Segments(const BridleData& bridle, int lineSelection, double factor);

// The half canopy from the flat cell grid: per cell and airfoil point one
// quad between the grid's first and last sub-row, the air intake between the
// O1 and O2 attachment indexes left open.
QList<CanopyQuad> Bridle_Canopy_Quads(const ParaStruct* design, double factor);

// --- Brake relaxation diagram --------------------------------------------------------

// The diagram in a box of w x h pixels: the middle and edge bars, one bar per
// rib from the base line, the rib numbers, the brake centre rib marked.
struct RelaxBar {
    QPointF foot;    // on the base line
    QPointF top;     // 2 x the relaxation in plan units above it
    QPointF label;   // where the rib number is written
    int rib = 0;
};
struct RelaxDiagram {
    bool valid = false;   // false: the design has no span yet; nothing is drawn
    double baseY = 0.0;
    QPointF middleFoot, middleTop, edgeFoot, edgeTop;
    double middle = 0.0, edge = 0.0;   // metres, at most 0.5
    // The two values are written reading upward from the base line, on the
    // outer side of their bars: the middle's left of the first rib's bar,
    // the edge's right of the last rib's, where no other bar stands. These
    // are the starts of their base lines (the text turned by -90 degrees).
    QPointF middleTextAt, edgeTextAt;
    QList<RelaxBar> bars;
    QPointF centre;                    // the brake centre rib on the base line
};
// The values are those of the view's last update: the middle and edge
// relaxation (m), the centre rib and the relaxation of ribs 0..count - 1.
// `ascent` and `descent` are those of the font the values are written in.
RelaxDiagram Relax_Diagram(const ParaStruct* design, double middle, double edge, int centreRib,
                           const double* relax, int count, int w, int h, double ascent, double descent);
