#pragma once

// The line plan of the wing as the design record holds it: the attachment
// frame on the ribs, the line groups, the riser frame and the riser tree.
// Plain value types: copied member by member with the design record.

#include <QList>
#include <QPoint>
#include <QPolygon>
#include <QVector3D>

#include <algorithm>
#include <iterator>

constexpr int kBridleRibs = 65;       // rib slots of the frame
constexpr int kFrameSlots = 9;        // frame slots per rib (0..7 used, 8 spare)
constexpr int kLineGroupSlots = 6;    // line-group slots of the bridle
constexpr int kLineEntries = 1170;    // nodes or lines per group
constexpr int kStoredRiserLines = 600; // riser lines kept in the project file
constexpr int kRiserFrames = 5;

// One cell of the attachment frame, [rib][slot].
struct FrameArr {
    QPoint pos;            // 2-D point in the line-group editor
    QVector3D pos3D;       // attachment point on the 3-D rib curve, plan units
    QPoint mirrorPos;      // 2-D point of the same attachment on the other half
    QVector3D mirrorPos3D; // pos3D mirrored in y
};

// One root of a line group at the riser.
struct FrameRaiser {
    QPoint pos;
    QVector3D pos3D;
};

// One line of a tree. The parent end (p1, q1) is the end toward the root.
struct LineProp {
    int edge = 0;          // index of the line's pair when it was made; not stored
    QPoint p1;             // 2-D parent end
    QPoint p2;             // 2-D child end
    QVector3D q1;          // 3-D parent end, plan units
    QVector3D q2;          // 3-D child end, plan units
    double length = 0.1;   // fraction of the hang height
    double load = 0.0;     // kg
    double diameter = 0.0005; // m
};

// How the child end of a line is attached to the canopy.
struct origRLS {
    bool attached = false;
    int rib = 0;   // -1 when not attached
    int row = 0;   // frame slot 0..8, -1 when not attached
    int side = 0;  // 0 own point, 1 mirrored point, -1 when not attached
    int node = 0;  // child node index in the group's node list
};

// One line tree. The lists are the working form of the editors; the arrays
// and counts are the stored form from which every holder rebuilds the lists.
struct BridleGroup {
    QList<int> ids;
    int idCount = 0;
    QPolygon points;
    int pointCount = 0;
    QPolygon pairs;
    int pairCount = 0;
    QList<LineProp> lines;
    int lineCount = 0;
    QList<origRLS> attachments;
    int attachmentCount = 0;
    int idArray[kLineEntries]{};
    QPoint pointArray[kLineEntries];
    QPoint pairArray[kLineEntries];
    LineProp lineArray[kLineEntries];
    origRLS attachArray[kLineEntries];
};

struct BridleData {
    FrameArr frame[kBridleRibs][kFrameSlots];
    BridleGroup groups[kLineGroupSlots];
    FrameRaiser riserFrames[kRiserFrames];
    BridleGroup riserGroup;
};

// Empties a group's working lists (nodes, pairs, lines, attachments); the
// stores the project file carries are left as they are.
inline void Clear_Group_Lists(BridleGroup* g)
{
    g->ids.clear();
    g->points.clear();
    g->pairs.clear();
    g->lines.clear();
    g->attachments.clear();
}

// Empties a line group: no node and no line, and nothing of them left in the
// stores the project file carries. The tree editors give such a group the
// frame nodes of the wing it is next edited on.
inline void Erase_Line_Group(BridleGroup* g)
{
    if (!g)
        return;
    Clear_Group_Lists(g);
    g->idCount = g->pointCount = g->pairCount = g->lineCount = g->attachmentCount = 0;
    std::fill_n(g->idArray, std::size(g->idArray), 0);
    std::fill_n(g->pointArray, std::size(g->pointArray), QPoint());
    std::fill_n(g->pairArray, std::size(g->pairArray), QPoint());
    std::fill_n(g->lineArray, std::size(g->lineArray), LineProp());
    std::fill_n(g->attachArray, std::size(g->attachArray), origRLS());
}
