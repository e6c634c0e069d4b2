#pragma once

// The records of the flat panel pieces and the makers of their points.
//
// Cell i is the cloth between rib i and rib i + 1. Its panel is developed
// into one flat strip (cellstrip.h) in plan units: the left edge's point 0
// at the origin, the right edge's point 0 on the positive x axis, y growing
// with the airfoil point index (0 the upper trailing edge, 999 the lower).
// Every outline point also has an integer place in the UV space of the
// surface shared with the design lines and the texture: U is 256 per cell
// (the left edge of cell i at U = 256 i), V the airfoil point index.

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QtGlobal>

class ParaStruct;

// One point of a flat outline and where it came from. Consecutive points of
// one name form one boundary segment of an outline; the seam allowance
// (seamallowance.h) offsets each segment by its points' own widths.
struct PntPart {
    qint32 rib = 0;           // edge points: the rib the point comes from
    QPointF point;            // flat position, plan units
    qint32 index = 0;         // airfoil index; for a cut, where it meets the left edge
    QPoint uv;                // (U, V)
    bool control = false;     // carries a control mark
    double allowance = 0.0;   // seam allowance outside the point, plan units
    char kind = 0;            // 'L' left edge, 'R' right edge, 'S' cut
    bool trailingEdge = false; // a straight cut lying on the trailing edge
    qint32 cutFrom = 0;       // parameter range of the point's cut: -1 -1 on the edges
    qint32 cutTo = 0;

    // "kind cutFrom cutTo": points of one name lie on one boundary segment.
    QString name() const;
    // Whether the two points have one name (without making the names: a
    // point is copied and compared often, and is plain data).
    bool sameName(const PntPart& other) const
    {
        return kind == other.kind && cutFrom == other.cutFrom && cutTo == other.cutTo;
    }
};

// One flat piece of a cell.
struct WholePoly {
    qint32 cell = 0;
    qint16 piece = 0;      // start piece it comes from, 0 at the upper trailing edge
    QString name;          // "Up", "VN" (nose piece between O1 and O2) or "Lw"
    qint32 orderKey = 0;   // 500 - mean V of the outline once ordered, else 0
    QList<PntPart> outline; // closed, clockwise (x right, y up)
};

// The developed strip of one cell: 1000 points on each edge, airfoil
// indexes 0 .. 999. In the centre cell `mirrored` holds the left edge once
// more as a point of rib 0; it is empty for every other cell. The mid-line
// runs halfway between the edges (the mini-ribs are sewn on it; in the
// centre cell it is the mirror axis), the label line a tenth of the way from
// the left edge to the right (the pieces' labels go on it).
struct UnFolder {
    qint32 cell = 0;
    QList<PntPart> left;
    QList<PntPart> right;
    QList<PntPart> mirrored;
    QPolygonF midLine;
    QPolygonF labelLine;
};

// The four boundary lists of one start piece: its left and right edge points
// from the lower split index up, and the cuts across the cell at its upper
// (top) and lower (bottom) end, each from the left edge to the right.
struct LRTBclass {
    QList<PntPart> left;
    QList<PntPart> right;
    QList<PntPart> top;
    QList<PntPart> bottom;
};

// An edge point of the rib: uv (256 rib, index), marked where the index is a
// control index of the rib, named "L -1 -1" or "R -1 -1".
PntPart Insert_TP7(const ParaStruct* design, QPointF point, int rib, int index, double allowance, char kind);

// Point t of a cut across the cell in `steps` steps, meeting the left edge
// at `index`: uv (256 cell + t, index), marked at the quarter steps, named
// "S 0 255" whatever the number of steps.
PntPart Insert_CrossCut(int cell, int index, QPointF point, int t, int steps, double allowance,
                        bool trailingEdge);

// Whether step c of a cut over [a, b] carries a control mark: c a multiple of
// (b - a) / 4 within [a + step, b - step]. A range shorter than 4 marks
// nothing.
bool is_cut_cntr(int a, int b, int c);

// Allowance (plan units) of the cut at split index k of start piece i of n:
// the front seam allowance where k is the O1 index a or the O2 index b, the
// trailing-edge allowance for the first and the last piece, otherwise the
// side allowance.
double set_oversew(const ParaStruct* design, int n, int i, int k, int a, int b);

// Name of start piece `piece` counted from the upper trailing edge: "Up" for
// the upper pieces (two when the upper surface is split at the billow line),
// then "VN" for the nose piece when the opening rows differ, "Lw" after.
QString Set_PartName(int piece, int billowIndex, bool billowOn, int o1, int o2);

// The flat points of the piece's outline in order.
QPolygonF SetPolylineFromList(const WholePoly& piece);

QList<PntPart> ReverseOrderList(QList<PntPart> list);
