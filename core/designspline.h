#pragma once

// One design line of the graphic design of a surface.

#include <QPointF>
#include <QPolygon>
#include <QPolygonF>

constexpr int kSplinePoints = 30;
constexpr int kSplineKnots = 60;
// A line of 4 or more control points has 2 B-spline points more, and the
// record holds kSplinePoints of those: at most 28 control points then.
constexpr int kMaxSplineControlPoints = kSplinePoints - 2;

struct Spline {
    int pointCount = 0;
    int bsplineCount = 0;
    int knotCount = 0;
    int degree = 0;
    int order = 0;
    double knots[kSplineKnots]{};
    QPointF points[kSplinePoints];
    QPointF bsplinePoints[kSplinePoints];
    QPolygonF curve;   // the line sampled in the design plane
    QPolygon uvCurve;  // the line in the UV space of its side
    int reserved = 0;
    int side = 0;      // 0 top surface, 1 bottom surface
};
