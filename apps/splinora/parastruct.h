#pragma once

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include "apps/splinora/constants.h"

namespace splinora {

// One upper-surface point of an airfoil with its lower-surface partner.
struct Foil_Pair
{
    int i1 = 0;     // index on the upper surface
    int i2 = 0;     // index of the lower-surface point at the same chord position
    double H = 0.0; // height between them
};

// A point together with its index in its polygon (-1 for none).
struct PntStruct
{
    QPointF pnt;
    int pnt_index = -1;
};

// The spline being edited: a quadratic B-spline over a uniform, unclamped
// knot vector. Control points are in the editing area's drawing pixels.
class SplineFoil
{
public:
    SplineFoil();

    QString airfoilName;
    int num_pnt = 0;
    int num_knt = 0;
    int degree = 0;
    int order = 0;
    double b_knots[MAXNUMKNOTS];
    int b_multi_knot[MAXNUMKNOTS];
    QPointF CP[MAXNUMPOINTS];
    QPointF rd_CP[MAXNUMPOINTS];
    double startVent = 0.0; // opening start, percent of chord from the leading edge
    double endVent = 0.0;   // opening end, percent of chord
    double L_T_S = 0.0;

    // Degree 2, order 3 and a uniform knot vector over [0, 1] for num_pnt.
    void init_knots();
    // The curve sampled at t = 0.001, 0.002, ... below 1 (999 points);
    // empty without control points.
    QPolygonF make_SplinePoly() const;
};

// The document record of the program: one per process.
class ParaStruct
{
public:
    ParaStruct();
    void SetInitialValues();

    QString AirFoilName;
    QList<Foil_Pair> FoilPairList;
    int LineInd[8];
    double thickness = 0.0;
    int NoseIndex = 0;
    int TopIndexDw = 0;
    int TopIndexUp = 0;
    SplineFoil spline;
    QString pureFileName;
    QString fileName;
    QString baseAirfoilName; // path of the background airfoil file
    QPolygonF baseAirfoil;   // background airfoil, unit chord, trailing edge at (1, 0)
    QPolygonF workAirfoil;   // the spline's curve in airfoil coordinates
};

// The one document record, created on first use and never freed.
ParaStruct* GetDataStruct();

// Cox-de Boor value of basis function i of degree deg at t. A term whose
// knot span is empty counts as 0.
double deBoor(int i, int deg, const double* knot, double t);

// Point of the spline at t, divided by the sum of the basis values (the
// knot vector is not clamped). The origin when no basis function covers t.
QPointF B_spline_point(int num_pnt, int deg, const QPointF* Cp, const double* knot, double t);

double dmin(double a, double b);

} // namespace splinora
