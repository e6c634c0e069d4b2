#pragma once

// The flat and the inflated cell grids: for every cell of the half wing 9
// sub-rows from its first rib (0) to its second rib (8), 1000 points along
// the airfoil, built from ribCurves3D. In the flat grid the cloth runs
// straight from rib to rib; in the inflated grid it bulges outward by the
// cap height of its cloth oversize, the clothHalfOversize that
// Create_Space_Canopy derives together with ribCurves3D. With an odd number of cells cell 0 is
// the centre cell, between rib 1 and its mirror image.

#include <QVector3D>

class ParaStruct;

void Space_Canopy_Flat(ParaStruct* design);
void Space_Canopy_Inflated(ParaStruct* design);

// Unit normal of the quad A B D C.
QVector3D norm4(QVector3D A, QVector3D B, QVector3D C, QVector3D D);
// Midpoint of A and B (H_C3D) or of C and D (H_C3D1) pushed by h along
// norm4(A, B, C, D).
QVector3D H_C3D(QVector3D A, QVector3D B, QVector3D C, QVector3D D, double h);
QVector3D H_C3D1(QVector3D A, QVector3D B, QVector3D C, QVector3D D, double h);

// Fade of the cell's bulge inside a front mini-rib zone [a, b] around the
// rib's nose (0 at the nose, 1 at a and b) and inside a rear zone (0 at the
// trailing-edge points, 1 at a and b).
double f_frontfac(const ParaStruct* design, int rib, int a, int b, int j);
double f_rearfac(int a, int b, int j);
// j lies in [0, a] or in [b, 1000].
bool f_rearrib_on(int a, int b, int j);

// Mirror image across the wing's centre plane.
QVector3D SymNullCell(QVector3D p);

// Relative cloth extension across the cells at point j in percent: from the
// theoretical cap heights, and measured on the inflated grid; 0 without cells.
double Theory_RelativeExtension(int j, const ParaStruct* design);
double RelativeExtension(int j, const ParaStruct* design);
// RelativeExtension at the point where cell 1 is longest across.
double Max_Relative_Extension(const ParaStruct* design);
