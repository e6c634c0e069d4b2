#pragma once

#include <QPolygonF>
#include <QString>

namespace aerolyx {

// Points of the contour handed to the mapping solver, and coefficients of the
// map (half the points).
constexpr int kFoilPoints = 128;
constexpr int kMapCoefs = kFoilPoints / 2;

// Everything the analyser knows about the one airfoil under analysis. The
// main window fills it on open and when the angle changes, the solver
// prepares and iterates it, the flow quantities and the views read it.
// Angles are radians unless the name says degrees.
struct myData {
    QString foilName;     // opened file, without directory
    QPolygonF inputFoil;  // the opened airfoil resampled to 128 points
    QPolygonF workFoil;   // copy of inputFoil the solver is prepared from
    QPolygonF zeroFoil;   // workFoil turned into the zero position; empty until opened
    QPolygonF cpPoints;   // pressure-difference points of the pressure-coefficient view
    double foilTurn = 0;  // total turn of the zero position about (1, 0)
    double phiGrid[kFoilPoints] = {};   // uniform circle angles i 2pi/127
    double foilX[kFoilPoints] = {};     // smoothed zero-position contour, point i
    double foilY[kFoilPoints] = {};
    double theta[kFoilPoints] = {};     // circle angle assigned to contour point i
    double circleX[kFoilPoints] = {};   // contour as a function of the circle angle
    double circleY[kFoilPoints] = {};
    double thetaStep[kFoilPoints] = {}; // last correction of theta
    double mapX[kFoilPoints] = {};      // unit circle under the map, mapX rescaled to [0, 1]
    double mapY[kFoilPoints] = {};
    double mapScale = 0;   // lambda
    double mapShiftX = 0;  // x0
    double mapShiftY = 0;  // y0
    double mapCoefA[kMapCoefs] = {};  // real parts of the coefficients of zeta^-k
    double mapCoefB[kMapCoefs] = {};  // imaginary parts
    double attackAngle = 0;    // degrees
    double zeroLiftAngle = 0;
    int iterationCount = 0;    // iterations of the last mapping run
    double gridDensity = 0;    // map-point grid of the conformal-map view
};

// The process's one analysis record, created all zero on the first call.
myData* GetMyData();

// The effective flow angle beta = pi attackAngle / 180 - zeroLiftAngle.
double Effective_Angle(const myData* data);

} // namespace aerolyx
