#pragma once

// The panel mesh of the whole canopy (both halves) for the outside panel
// solver: a grid of spanwise rows by chordwise stations, quadrilateral
// surface panels with their neighbours, and one row of wake panels leaving
// the trailing edge.
//
// Rows run from the tip of the mirrored half over the centre to the other
// tip; stations run from the trailing edge (airfoil point 0) over the upper
// side round the nose and back along the lower side; each strip of panels
// closes from the last station back to station 0 across the trailing edge.
// Numbers are 1-based, with J the last station and R the last row:
//   surface node (row i, station j)   i (J+1) + j + 1
//   wake node of row i                S + 1 + i,  S = (R+1)(J+1)
//   surface panel (strip i, station j) i (J+1) + j + 1
//   wake panel of strip i             R (J+1) + i + 1
// Node coordinates are in metres in the solver's frame: the grid's x and y,
// and its z negated (the canopy's upper side lies toward smaller z).

#include <QList>
#include <QString>
#include <QVector3D>

class ParaStruct;

struct NodeInfo {
    int id = 0;         // 1-based node number
    int chordIndex = 0; // station j
    int rowIndex = 0;   // row i
    float x = 0;
    float y = 0;
    float z = 0;
};

// One panel; a triangle (type 2) uses the first three entries of each array.
struct PanelInfo {
    int id = 0;   // 1-based panel number
    int type = 0; // 1 surface quadrilateral, 10 wake panel, 2 triangle
    int nodes[4]{};
    int neighbours[4]{}; // panel numbers, 0 where there is none
};

struct WingMeshData {
    QList<NodeInfo> nodes;
    QList<PanelInfo> panels;
    int panelCounter = 0; // number of the last panel appended
};

constexpr int kMeshRows = 650;    // rows of the design's node grid
constexpr int kMeshStations = 50; // stations of one grid row
constexpr int kWakeChords = 3;    // wake length in mean chords

// Chordwise stations laid out about the nose of rib 1: dense at the nose,
// sparse toward the trailing edge, the last one mirroring station 1 on the
// lower side. Fills stations[0 .. J] and a terminating 0 (room for 70) and
// returns J, the index of the last station.
int f_CreateIndJ(ParaStruct* design, int* stations);
// The point among 900 .. 999 of the first design airfoil whose distance from
// the trailing edge is nearest that of point j (the first of equals).
int f_J_DW_Index(const ParaStruct* design, int j);
// The pieces of the station law: the position i / n along a range of n
// (0 for n = 0), the branch before the nose sqrt(t) a, and the one after it
// (t - c)^2 b + c.
double f_x(double n, double i);
double f_y1(double a, double t);
double f_y2(double b, double c, double t);

// Why the design cannot be meshed with these stations (empty when it can):
// station indexes outside the airfoil, a station count the grid cannot hold
// or too few for a section, a rib count beyond the tables, no span or area,
// a reference value or a point of the mesh or its wake that is not a finite
// number. Fills the mesh grid from the chosen model to look at its points.
QString Mesh_Input_Problem(ParaStruct* design, bool smooth, int J, const int* stations);

// Fill meshGrid rows 0 .. R with stations 0 .. J and return R (-1 for none):
// one row per rib (smooth), or four rows per cell from the inflated grid.
int Fill_3D_SmoothModel(ParaStruct* design, int J, const int* stations);
int Fill_3D_Inflated(ParaStruct* design, int J, const int* stations);

// Grid row r, stations J down to 0, from sub-row k of cell c of the
// inflated grid: x and z times scale, y times scale x yFactor. A row,
// sub-row, cell, station count or station beyond the tables writes nothing.
void OneArc(ParaStruct* design, int J, const int* stations, double scale, int r, int k, int c, double yFactor);

// Number of the surface node at station j of row i.
int setNode(int J, int j, int i);

void CreateNodeList(const ParaStruct* design, int R, int J, WingMeshData* mesh);
void CreateWakeNodeList(const ParaStruct* design, int R, int J, int S, WingMeshData* mesh);
// Three mean chords behind row's trailing edge, straight downstream (along
// x); design frame, metres. J is not used.
QVector3D WakeNode(const ParaStruct* design, int row, int J);
void CreateSurfPanels(int R, int J, int S, WingMeshData* mesh);
void CreateWakePanels(int R, int J, int S, int N, WingMeshData* mesh);

// Neighbour look-ups of the panel grid (stations 0 .. J, strips 0 .. R - 1).
bool InRectangle(int x, int y, int x0, int x1, int y0, int y1);
// The number of surface panel (strip i, station j), 0 outside the grid;
// the four neighbour look-ups are this one under the name of the side they
// look to.
int getSurfPanel(int J, int R, int j, int i);
int TopNeighbour(int J, int R, int j, int i);
int BottomNeighbour(int J, int R, int j, int i);
int LeftNeighbour(int J, int R, int S, int j, int i);
int RightNeighbour(int J, int R, int S, int j, int i);
// The panels beside surface panel (strip i, station j), in the order
// station j - 1, strip i + 1, station j + 1, strip i - 1; those outside the
// grid are left out and the rest of out[] is 0. No wrap across the trailing
// edge.
void fillNeighbour(int J, int R, int S, int j, int i, int out[4]);

// Triangles closing the wing tips (type 2), not part of a solver run's mesh.
// SetupSidePanels fills the triangle of tip row c: for c > 0 the nodes at
// stations 0, J and 1 of row c beside the panels of strip c - 1 at stations
// J, 1 and 0; for c = 0 nodes and neighbours (1, 2, J + 1). side is not
// used. CreateSidePanels appends the triangles of rows 0 and R with the next
// panel numbers.
void SetupSidePanels(int J, int side, int c, PanelInfo* panel);
void CreateSidePanels(int R, int J, WingMeshData* mesh);

// The whole mesh of one run: grid rows from the chosen model, surface and
// wake nodes, surface and wake panels. Returns R. The caller checks the
// input with Mesh_Input_Problem first.
int Build_Wing_Mesh(ParaStruct* design, bool smooth, int J, const int* stations, WingMeshData* mesh);
