#pragma once

#include <QString>

namespace splinora {

// Capacities and fixed values shared by every unit of the program.
constexpr int MAXNUMPOINTS = 30;   // control points of the spline
constexpr int MAXNUMKNOTS = 300;   // knots of the spline
constexpr int DEGREE2 = 2;         // the spline degree
constexpr int DEGREE3 = 3;
constexpr double F_DIV = 1000.0;   // the curve is sampled in steps of 1/F_DIV
constexpr int N_airfoil = 1000;
constexpr double Pi = 3.141592653; // rotation step of "R+" and "R-"
constexpr double TwoPi = 6.283185306;
constexpr int W_res = 1024;        // minimum size hint of the editing area
constexpr int H_res = 768;
constexpr int MAX_X = 1000;
constexpr int MAX_Y = 1000;
constexpr double DELTA_X = 40.0;

// The work directory's airfoil folder below the desktop directory.
inline const QString airfoilDir = QStringLiteral("/WL9work/Airfoils/");

} // namespace splinora
