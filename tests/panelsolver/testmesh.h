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

// How the wake nodes of a wing lie, wakeChords chords from the trailing
// edge: along the bisector of the trailing-edge wedge (from stations 5 and
// J - 6), as the main program once wrote them; straight downstream (along
// x); fanned out (spreading across the span, every other one up and down,
// so that each strip twists); or crossed (along the bisector, then moved
// along the trailing edge by one and a half strip widths to one side and
// the other by turns, so that every other strip is a bow-tie whose far edge
// runs backwards at twice its trailing edge's width).
enum class WakeShape { Bisector, AlongX, Fanned, Crossed };

// Rectangular wing in the main program's mesh layout: rows across the span
// (y from -span/2 to span/2, denser toward the tips), stations from the
// trailing edge over the first side to the nose and back, the last station
// mirroring station 1 and the strip closing back to station 0; one wake
// panel per strip. The section is the 4-digit-series airfoil of the given
// thickness and camber (at 40 % of the chord), perSide panels on each side,
// dense about the nose; the stations run over the upper side first, so the
// normals point out of the wing.
//
// A canopy besides: the span bent into a circular arc of half angle `arc`
// (radians) seen from the front, and cells of stripsPerCell strips (rows
// even along the span) whose sections bulge toward the cell's middle by
// `billow`: thicker, the upper side more than the lower, the chord shorter
// and the trailing edge bent down, so that the trailing edge swings from
// row to row as on an inflated canopy.
struct WingShape {
    double span = 12, chord = 1.5, thickness = 0.12;
    int perSide = 16, strips = 16;
    double wakeChords = 3;
    WakeShape wake = WakeShape::Bisector;
    double camber = 0, arc = 0, billow = 0;
    int stripsPerCell = 0; // 0: no cells
};
Mesh Rectangular_Wing(const WingShape& shape);
// The same wing with every surface panel cut into four on its own bilinear
// surface (twice the strips and the stations, the same surface), and the
// wake nodes placed as the shape says from the finer rows.
Mesh Subdivided_Wing(const WingShape& shape);

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
