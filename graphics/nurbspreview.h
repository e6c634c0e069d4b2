#pragma once

// What the textured 3-D preview of the graphic design draws, built without
// GL: the NURBS control net and knots of the inflated half canopy (drawn
// twice, the second time mirrored, both halves in the same texture), the
// texture image painted from the coloured pieces, its pixels as the GL
// upload takes them, and the lines of the bridle.
//
// In these names u is the chordwise and v the spanwise direction of the
// surface, not the U and V of the panels' UV space (U spanwise, 256 per
// cell; V the airfoil point index).

#include <QColor>
#include <QImage>
#include <QList>
#include <QPolygon>
#include <QString>
#include <QVector3D>

#include <memory>

class ParaStruct;
struct BridleData;

namespace nurbs {
constexpr int kChordPoints = 16;           // airfoil points taken per row
constexpr int kChordCount = kChordPoints + 2; // chordwise control points
constexpr int kSpanRows = 65 * 9;          // spanwise control rows the net holds
constexpr int kSpanKnots = 845;
constexpr int kChordKnots = 22;
constexpr int kImageSize = 2048;
constexpr double kModelScale = 0.0005;     // plan units -> view units
} // namespace nurbs

// Writes the 16 airfoil point indexes of a chordwise row (0, 32, 130, 195,
// .., 910, 998) and returns 16.
int Airfoil_points_subset(int* idx);

// Spanwise control points of a half wing of `cells` cells: 8 per cell, 4
// fewer when the centre cell is split (odd = 1); -1 for another odd value.
int numberCP_V(int odd, int cells);

// Spanwise row of sub-row `sub` (0 .. 8) of `cell`; -1 for an odd value
// other than 0 and 1 or a negative cell. A negative result is reported on
// the debug output.
int f_Value8(int odd, int cell, int sub);

// Clamped uniform cubic knots for n control points: four 0, (i - 3)/(n - 3)
// for 4 <= i < n, four 1. Returns n + 4.
int number_u_knots(int n, float* k);

// Spanwise knots of the given order for n control points: clamped uniform,
// and for order 3 every fourth interior knot doubled so that the surface
// passes through the rib rows and the middle of every cell. Returns order + n.
int number_v_knots(int odd, int order, int n, float* k);

// The points of p with y <= 998, each as (y, x): a UV outline (U, V) in the
// image's frame (V across, U down).
QPolygon turnPoly(const QPolygon& p);

// The control net and knots of one half surface.
struct NurbsSurface {
    QVector3D controlNet[nurbs::kChordCount][nurbs::kSpanRows]; // [chordwise][spanwise]
    int chordCount = 0;
    int chordOrder = 4;
    int chordKnotCount = 0;
    float chordKnots[nurbs::kChordKnots] = {};
    int spanCount = 0;
    int spanOrder = 3;
    int spanKnotCount = 0;
    float spanKnots[nurbs::kSpanKnots] = {};
};

// The net of the design's inflated half canopy (inflatedGrid), in view
// units (plan units x modelScale): per cell and sub-row the cubic spline
// through 16 airfoil points gives the 18 chordwise control points of one
// spanwise row. False, with the surface left empty (spanCount 0), when the
// design has no cells the net can hold.
bool Set_Inflated_Surface_Points(const ParaStruct* design, double modelScale, NurbsSurface* surface);

// The colour of a piece not coloured yet: a light, plain fabric colour.
QColor Uncoloured_Piece_Colour();

// The texture image: 2048 x 2048 ARGB32, transparent, each piece filled in
// its colour (Uncoloured_Piece_Colour for the no-colour value) at image point
// (V x 2048 / uvHeight, U x 2048 / uvWidth), then flipped top to bottom so
// that U = 0 lies on the bottom row. Transparent when either list is empty
// or the extent has no size.
QImage Paint_DesignImage(const QList<QPolygon>& pieces, const QList<QColor>& colours, int uvWidth,
                         int uvHeight);

// Where the texture image of the open project goes: "texture_image.png" in
// its output directory; "" while no project is open.
QString Design_Image_Path();

// Paints the image from the pieces and colours published in GlobClass and
// writes it to Design_Image_Path() as one save (core/filesave.h). False, and
// nothing written, while no project is open or when the file cannot be
// written; in the second case *problem (when given) says why, with the
// system's reason and advice, and is empty otherwise.
bool Create_DesignImage(QString* problem = nullptr);

// The image's pixels as the texture upload takes them: three bytes a pixel
// (blue, green, red; no alpha), rows from the image's bottom row up.
QByteArray Texture_BGR(const QImage& image);

// One line of the bridle in view units.
struct PreviewLine {
    QVector3D a, b;
    QColor colour;
    float width = 1.0f;
};

// The lines of line-group slots 1 .. 5 ("L1" .. "L4", the brakes red), from
// the groups' stored arrays (a stored count above the capacity counts as
// 0), each end times `scale`, width 1.
QList<PreviewLine> Preview_Bridle_Lines(const BridleData& bridle, double scale);
// The riser lines, blue and 3 wide: line i where the child node of pair i
// is at least the design's number of line groups.
QList<PreviewLine> Preview_Riser_Lines(const BridleData& bridle, int lineGroupCount, double scale);
