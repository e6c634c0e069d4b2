#pragma once

// Records of the internal structure held inside the design record: hole
// shapes and cross-port groups, rows of the diagonal tables, generated
// diagonal ribs, mini-rib settings and the nose rods. Plain value types.

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

// Triangular hole shape of the cross-ports.
struct Triang {
    QPointF corner[3];     // p0 -> p1 base edge, p2 apex
    QPolygonF outline;     // the corners in order; not stored
    int holeCount = 0;
    int cornerCount = 1;   // corner rounding; 1 and below make round holes
    int offsetMm = 0;      // web width between holes [mm]
    double offset = 0.0;   // offsetMm in plan units (set_offset)
    double cornerStep = 1.0; // 1 / cornerCount
    bool expanded = false;

    // offset from offsetMm with the span of the live design.
    void set_offset();
};

// Trapezoidal hole shape of the cross-ports.
struct Trap {
    QPointF corner[4];
    QPolygonF outline;
    int holeCount = 0;
    int cornerCount = 1;
    int offsetMm = 0;
    double offset = 0.0;
    double cornerStep = 1.0;
    bool expanded = false;

    void set_offset();
};

constexpr int kCrossPortGroups = 5;
constexpr int kCrossPortTriangles = 12;
constexpr int kCrossPortTraps = 16;

// One cross-port (vent-hole) group.
struct CrossPorts {
    int shapeCount = 0;
    double values[13]{};
    Triang triangles[kCrossPortTriangles];
    Trap traps[kCrossPortTraps];
};

// One row of the diagonal tables D1 and D2 (one row per rib).
struct DiagonalRow {
    int rib = 0;           // -1 = empty row
    int heightPercent = 0; // 0 bottom, 100 top
    bool connectNext = false;
    int ribType = 0;       // D1 only: 0 loaded, 1 intermediate
    int lineIndex[8]{};
};

// Upper and lower nose rod of the reinforcements.
struct NoseRod {
    QPointF controlA[2];
    QPointF controlB[2];
    int index[2]{};
};

// Mini-rib settings.
struct MiniribData {
    double rearRibPosition = 0.0; // percent of the nose index
    int frontRibStart = 0;        // units of 5 airfoil points before the nose
    int frontRibEnd = 0;          // units of 5 airfoil points after the nose
    double rearRibCavity = 0.3;
    int mylarStart = 0;
    int mylarEnd = 0;
    double mylarSplineA[5]{};
    double mylarSplineB[5]{};
};

// A flat pattern point that remembers where it came from.
struct OrigPnt2D {
    QPointF point;
    int index = 0;          // airfoil point index
    double allowance = 0.0; // seam allowance the edge was built with, plan units
    int rib = 0;
    bool control = false;   // a control point of its rib
};

// A 3-D point that remembers its airfoil point index.
struct OrigPnt3D {
    QVector3D point;
    int index = 0;
};

// One end of a generated diagonal rib.
struct DiagonalEnd {
    int rib = 0;
    int heightPercent = 0;
    int lineIndex[8]{};
    QPointF flatPoints[8];
    QPointF flatAttach[4];
    QVector3D spacePoints[8];
    QVector3D spaceAttach[4];
};

// One generated diagonal rib.
struct DiagonalData {
    DiagonalEnd first;
    DiagonalEnd second;
    QList<OrigPnt2D> flatEdgeA;
    QList<OrigPnt2D> flatEdgeB;
    QList<OrigPnt3D> edgeLineA;
    QList<OrigPnt3D> edgeLineB;
    QList<QVector3D> bottomRange3D;
    QList<QVector3D> topRange3D;
    QPolygonF flatOutline;
    QList<QVector3D> spaceOutline;
    QList<QPolygonF> flatHoles;
    QList<QList<QVector3D>> spaceHoles;
    QPolygonF flatControls;
};
