#pragma once

// The 3-D wing: every rib airfoil scaled by its chord, twisted, tilted when
// the design slants its ribs, and placed on the front-view arc, giving one
// 3-D curve of 1000 points per rib (ribCurves3D), together with the cloth
// oversize tables of the pattern unfolding. Plan units (half span = 1000);
// x along the chord from rib 0's leading edge, y across the span from rib 0,
// z the front-view height (the upper side toward smaller z).

#include <QPolygonF>
#include <QVector3D>

class ParaStruct;

// Builds ribCurves3D of ribs 0 .. lastRib, the billow reduction factors and
// then, with those, patternOversize and clothHalfOversize. dxfScale is set
// first, also when rib 0 has no airfoil (nothing else is built then). The
// ribs are twisted by the design's maxTwistAngle, or by `twist` (degrees)
// where it is given.
void Create_Space_Canopy(ParaStruct* design);
void Create_Space_Canopy(ParaStruct* design, double twist);

// Places the chord-scaled airfoil point (X, Y) of the rib in 3-D; `slash` is
// the rib's tilt, theta = pi - the rib's front-view angle.
QVector3D SpacePnt3(const ParaStruct* design, int rib, double scale, double slash, double theta, double X,
                    double Y);

// Twist of a rib in radians: 0 at front-view angle 0, -twistDeg (in radians)
// at 90 degrees.
double Wing_Attack(double twistDeg, double ribAngle);

// The polygon turned counter-clockwise by angle about the profile alignment
// point (profileAlignment percent of the unit chord, 0).
QPolygonF RotatePoly(const ParaStruct* design, double angle, QPolygonF* poly);

// Pattern half-oversize: the side seam allowance plus the cloth half-oversize.
double f_uberPatt(const ParaStruct* design, int rib, int point);
// Cloth half-oversize without seam allowance.
double f_uberNull(const ParaStruct* design, int rib, int point);
