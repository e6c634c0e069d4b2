#pragma once

// What the bridle manager's views show, built from the design record by
// plain functions so that it can be checked without painting: the line
// table of one group (the sheet a builder cuts the lines from), the lines
// and the half canopy of the 3-D bridle window with its camera arithmetic,
// and the brake relaxation diagram.

#include <QList>
#include <QPoint>
#include <QPointF>
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

// Where the label of a table line from P to Q is written: centred on
// `centre`, along `angle` degrees, which is kept between -90 and 90 so that
// the label reads upright whichever way the line leans, on the side of the
// line its upper end leans to (`under`: below the text's base line, else
// above it), so that the lines of a fan carry their labels outside it. The
// top lines cross the frame (everything above `clear`) on their way to the
// canopy: the label of such a line stands on it just below the frame, where
// the lines of a fan are furthest apart, as high as a label of `size` (its
// width along the line, its height across) can stand without reaching up
// over `clear`, at most at the line's lower end. Any other line has its
// label at its middle.
struct LabelPlace {
    QPointF centre;
    double angle = 0.0;
    bool under = false;
};
LabelPlace Bridle_Table_Label_Place(QPointF P, QPointF Q, double clear, QSizeF size = QSizeF(0, 0));

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
