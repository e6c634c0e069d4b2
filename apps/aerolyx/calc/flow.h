#pragma once

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QString>

namespace aerolyx {

// Potential flow around the mapped airfoil: the uniform flow of unit speed at
// the angle beta past the unit circle, with the circulation that puts the rear
// stagnation point at zeta = 1, carried into the airfoil plane by the map.
// Speeds are ratios to the free stream, lengths are in chords. Nothing here
// writes the record.

// Contour stations: circle angles i 2pi/127; from this angle on the speed is
// taken as 0 (the last stations before the trailing edge).
constexpr double kTrailingCut = 6.13476360700999;

// |dz/dzeta| at r e^(i phi).
double f_V_XY(const myData* data, int m, double r, double phi);
// Speed at the image of r e^(i phi); 0 from phi >= 2pi (1 - 3/(2m - 1)) on.
double f_V_Pot(const myData* data, int m, double r, double phi, double beta);
// Speed far from the airfoil (r = 1e8, phi = pi/2, beta = 0).
double Free_Stream_Speed(const myData* data);
// -2 sin(beta) for the record's angle of attack.
double Circulation(const myData* data);
double f_Cp(double v, double vinf);
// The dynamic-pressure ratio (v/vinf)^2, the part f_Cp subtracts from 1.
double f_Dp(double v, double vinf);
// Pressure coefficients in two halves: stations 0..64 into x1, cp1 and
// stations 64..128 into x2, cp2 at the same indexes (arrays of 129).
void f_CP_Polar(const myData* data, double beta, double* x1, double* x2, double* cp1, double* cp2);
// Circle angles and pressure coefficients of stations 0..128 (arrays of 129).
void f_CP_foil(const myData* data, double beta, double* phi, double* cp);
// Pitching-moment coefficient about x = xref at the effective angle beta.
double f_Moment(const myData* data, double beta, double xref);
// Lift coefficient at the effective angle alphaDegrees: the pressure force
// at right angles to the stream.
double f_Clift(const myData* data, double alphaDegrees);

// Centre of pressure (chord fraction) of the contour stations with x in
// [x1, x2] at the effective angle beta; normalForce, when given, receives the
// normal-force integral. Not a number when no station lies in the range or the
// normal force vanishes, since then there is no centre of pressure.
double C_P_position(const myData* data, double beta, double x1, double x2, double* normalForce);
// Aerodynamic centre: the point among 0.2 + j 0.0015 (j = 0..66) about which
// the moment changes least between alpha -/+ 0.1 degrees.
double AC_Position(const myData* data, double alphaDegrees);
// A result value as "dcppolar.txt" writes it: three decimals, or "n/a".
QString Dcp_Value_Text(double value);

} // namespace aerolyx
