#pragma once

// Potentials of constant-strength source and doublet panels.
//
// A panel of unit strength, at a point P:
//   source   S(P) = -1/(4 pi) * integral of 1/r over the panel
//   doublet  D(P) =  1/(4 pi) * integral of n.(P - Q)/r^3 over the panel
// with n the panel's unit normal and r = |P - Q|. D tends to +1/2 just on the
// side the normal points to and to -1/2 just behind, so a doublet sheet makes
// the potential jump by its strength from back to front.

#include "apps/panelsolver/vec3.h"

namespace panelsolver {

struct PanelGeometry {
    int corners = 4;  // 3 or 4
    Vec3 p[4];        // corners, counter-clockwise seen from the normal's side
    Vec3 flat[4];     // corners projected into the panel's mean plane
    Vec3 centre;      // mean of the corners, the collocation point
    Vec3 normal;      // unit normal
    double area = 0;
    double diameter = 0; // largest distance between two corners
};

// Geometry of the panel with the given corners, in the given order. The
// normal of a quadrilateral is that of its diagonals, (p3 - p1) x (p4 - p2),
// so it suits a slightly twisted panel as well as a flat one.
PanelGeometry Make_Panel_Geometry(const Vec3* corners, int count);

// Signed solid angle of the triangle (a, b, c) seen from the origin, by van
// Oosterom and Strackee: negative when the origin lies on the side the
// triangle's normal (b - a) x (c - a) points to.
double Triangle_Solid_Angle(const Vec3& a, const Vec3& b, const Vec3& c);

// Doublet potential D(P). Near the panel it is the solid angle of the
// corner loop (two triangles, so a twisted panel closes exactly against its
// neighbours); beyond farField panel diameters a point doublet.
double Doublet_Potential(const PanelGeometry& g, const Vec3& P, double farField);

// Source potential S(P) of the flat panel in the mean plane; beyond farField
// panel diameters a point source.
double Source_Potential(const PanelGeometry& g, const Vec3& P, double farField);

} // namespace panelsolver
