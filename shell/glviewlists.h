#ifndef GLVIEWLISTS_H
#define GLVIEWLISTS_H

// The drawing lists of the 3-D view and its wheel zoom, kept apart from
// the OpenGL widget so that they can be built and checked without a GL
// context. Every vertex stored here is already in GL units (plan units times
// the view's model scale) unless stated otherwise.

#include <QColor>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

#include "core/structuredata.h"
#include "lines/lineplan.h"

class ParaStruct;

namespace glview {

constexpr double kModelScale = 0.0005;  // plan units (half span 1000) -> GL units
constexpr double kMinScale = 0.1;
constexpr double kMaxScale = 10.0;
constexpr int kHoleTrimPoints = 24;     // points of a hole trim loop
constexpr int kOutlineTrimPoints = 50;  // points of a rib outline trim loop

// The zoom after one wheel step: 15 % up for a positive delta, 15 % down
// otherwise, clamped into [0.1, 10].
double Wheel_Zoom(double scale, int delta);

} // namespace glview

// One quad of the canopy surface: its (not normalised) normal, four corners
// in GL units and its colour.
struct Quad6 {
    QVector3D normal;
    QVector3D c1, c2, c3, c4;
    QColor color;
};

// The edge of a vent opening between two ribs: A, B at the opening's start,
// C, D at its end, on ribs r and r + 1. Drawn as A-C, C-D, D-B, A-B.
struct OpeningOutline {
    QVector3D A, B, C, D;
};

// Which halves of the surface the lists take.
struct SurfaceChoice {
    bool top = true;
    bool bottom = true;
};

// The surface of one half wing from the flat or the inflated cell grid:
// 8 quads per step of two airfoil points per cell, the vent openings left
// open (and their edges appended to *openings when given), the nose billow
// zone in the highlight colour.
QList<Quad6> Create_QuadList(const ParaStruct* design, bool inflated, SurfaceChoice surfaces,
                             QColor canopy, QList<OpeningOutline>* openings = nullptr);

// The 8 quads of one step starting at airfoil point `start` of cell `cell`.
void addQuadsFlat(const ParaStruct* design, QList<Quad6>* list, int cell, int start, int count,
                  QColor canopy);
void addQuads_inflated(const ParaStruct* design, QList<Quad6>* list, int cell, int start, int count,
                       QColor canopy);

// --- Lines -------------------------------------------------------------

// A line group's lists come from its stored arrays through
// Rebuild_Group_Lists (lines/lineplan.h).

// Colour of line-group slot 1 .. 4 (slot 5, the brakes, is red).
QColor Line_Group_Color(int slot);

// End of a brake line moved on along the line by its relaxation (already in
// GL units), per component in single precision.
QVector3D Brake_Line_End(QVector3D start, QVector3D end, float relax);

// Whether a riser line with the (parent, child) node pair is drawn.
bool Riser_Visible(int lineGroupCount, QPoint pair);

// --- Rib structure -----------------------------------------------------

// The list with its first point replaced by its last one (same count).
QList<QVector3D> poly3CloseCurve(QList<QVector3D> list);

// The 3-D loop of one flat cross-port hole outline of rib r: every third point
// mapped onto the rib's plane, in GL units, in reverse order. Empty for an
// outline of 24 points or fewer.
QList<QVector3D> Hole_Loop_3D(const ParaStruct* design, int rib, const QPolygonF& outline);

// Control net of a rib patch: 4 x 4 points of 3 floats, i outer, j inner.
struct Table_ctl {
    float p[4][4][3];
};
// A closed trim loop of (u, v) pairs.
struct Table_24_2 {
    float p[glview::kHoleTrimPoints][2];
};
struct Table_50_2 {
    float p[glview::kOutlineTrimPoints][2];
};

// The planar patch of rib r in GL units, square with the chord of rib 1 as
// its side, through the rib's nose; corners[0], corners[1] receive the (y, z)
// of its control points (0, 0) and (0, 3), which span the patch's v direction.
Table_ctl Rib_Patch_Net(const ParaStruct* design, int rib, QPointF* corners);

// The trim loop of a closed 24-point hole loop (GL units) on the patch whose
// u runs along x over `chordLength` and whose v runs between the corners.
// False for a loop of any other length.
bool Hole_Trim(const QList<QVector3D>& loop, double chordLength, const QPointF* corners,
               Table_24_2* out);

// The outline trim loop of a rib: points 0, 20, .. 980 of the rib curve (GL
// units) mapped like the holes, reversed and closed. False when the curve has
// fewer than 1000 points.
bool Outline_Trim(const QList<QVector3D>& curve, double chordLength, const QPointF* corners,
                  Table_50_2* out);

// --- Internal structure --------------------------------------------------

// The 3-D loops (Hole_Loop_3D) of the cross-port holes of rib r, laid out on
// its flat outline `flatRib` (airfoil point indexing) with the shapes of
// cross-port group 0 (loaded ribs) or 1 (intermediate ribs). Empty for a rib
// without outline, so that it never takes the holes of the rib before it.
// The layout is the view's own: the design is only read.
QList<QList<QVector3D>> Rib_Hole_Loops(const ParaStruct* design, int rib, int group, const QPolygonF& flatRib);

// Every generated diagonal of the design, completed (outlines, tabs, holes,
// flat and 3-D), whatever their number. The design's own list is left as the
// recompute made it, so completing again gives the same shapes.
QList<DiagonalData> Completed_Diagonals(const ParaStruct* design);

// The straps of the design (Create_Strap_list), each one closed polygon in
// GL units: its end on rib i from the nose side to the trailing-edge side,
// then its end on rib i + 1 back.
QList<QList<QVector3D>> Strap_Polygons(const ParaStruct* design);

// Twice the signed area of a (u, v) loop of n pairs (positive counter-clockwise).
double Trim_Loop_Area(const float (*p)[2], int n);
// Reverses a trim loop in place.
void Reverse_Trim_Loop(float (*p)[2], int n);

#endif
