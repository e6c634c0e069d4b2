#pragma once

// Meshes for the solver tests, and the solver's two files as the main
// program writes and reads them: "wings.inp" line for line in its layout,
// and "wings.res" read by the main program's keyword and field rules.

#include <QList>
#include <QString>
#include <QVector3D>

#include <array>
#include <vector>

namespace testmesh {

struct Node {
    double x = 0, y = 0, z = 0;
};

struct Panel {
    int type = 1;                     // 1 surface, 2 triangle, 10 wake
    std::array<int, 4> nodes{};       // from 1
    std::array<int, 4> neighbours{};  // from 1, 0 for none
};

struct Mesh {
    std::vector<Node> nodes;
    std::vector<Panel> panels;
    double span = 1, area = 1; // reference values: MAC = area / span
};

// Lat-long sphere about the origin: nLat bands of nLon panels, triangles at
// the poles (on the z axis), outward normals, neighbours across every edge.
Mesh Sphere(double radius, int nLat, int nLon);

// Rectangular wing in the main program's mesh layout: rows across the span
// (y from -span/2 to span/2, denser toward the tips), stations from the
// trailing edge over the first side to the nose and back, the last station
// mirroring station 1 and the strip closing back to station 0; one wake
// panel per strip, reaching wakeChords chords behind the trailing edge. The
// section is the symmetric 4-digit-series airfoil of the given thickness,
// perSide panels on each side, dense about the nose; the stations run over
// the upper side first, so the normals point out of the wing.
struct WingShape {
    double span = 12, chord = 1.5, thickness = 0.12;
    int perSide = 16, strips = 16;
    double wakeChords = 3;
};
Mesh Rectangular_Wing(const WingShape& shape);

// The text of "wings.inp" for the mesh, with the airspeed, reference values,
// 13 cases of 0..12 degrees and settings the main program writes.
QByteArray Input_File(const Mesh& mesh, int velOrder = 2);

// "wings.res" as the main program reads it.
struct Results {
    int panelNum = 0, panelNumNoWake = 0, nodeNum = 0, caseNum = 0;
    double alpha[13] = {}, beta[13] = {};
    double cx[13] = {}, cy[13] = {}, cz[13] = {}, cl[13] = {}, cm[13] = {}, cn[13] = {};
    double cdrag[13] = {}, clift[13] = {};
    QList<QVector3D> nodes;
    QList<Panel> panels;
    QList<QVector3D> normals;
    QList<std::array<double, 13>> cp;
};
// True after a complete read; false when the file is missing or empty or
// ends before a keyword.
bool Read_Results(const QString& path, Results* res);

} // namespace testmesh
