#pragma once

// Unfolding of ribs and mini-ribs into the flat: the plane of a rib in the
// 3-D wing and the mapping of points between that plane and the flat
// pattern.

#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

class ParaStruct;

// Angle of the plane of rib i against the horizontal, in radians: the rib's
// front-view angle and its tilt taken off a right angle (a right angle for
// rib 0), as the canopy builds the rib: the first rib of a wing with a centre
// cell stands upright, leant by half its tilt.
double Psi_angle(const ParaStruct* design, int i);

// Flat image of a 3-D point against the reference point R: x stays, y is the
// distance from R in the y-z plane, negative below R. The angle is not used.
QPointF mapfoilPnt_3D_2D(double psi, QVector3D P, QVector3D R);

// A flat mini-rib point mapped back into the plane of rib i through R.
QVector3D mapfoil_minirib_T_2D_3D(const ParaStruct* design, int i, QPointF Q, QVector3D R);

// A flat rib point mapped back into the plane of rib i through the rib's
// trailing edge (point 0 of its 3-D curve). A rib slot outside the tables
// maps through the origin.
QVector3D mapfoilT_2D_3D(const ParaStruct* design, int i, QPointF Q);

// The flat image of rib i: every point of its 3-D curve against its trailing
// edge, in index order. A rib without airfoil (nose index 0) or a slot outside
// the tables leaves out untouched.
void Quick_Unfold_AirFoil(const ParaStruct* design, int i, QPolygonF* out);

// The pattern drawings put the upper surface at the top: y becomes 500 - y.
QPolygonF turn_Y(QPolygonF poly);
QPointF turn_F_Y_point(QPointF p);
