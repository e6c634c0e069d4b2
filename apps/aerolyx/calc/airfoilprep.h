#pragma once

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QPolygonF>
#include <QString>

namespace aerolyx {

// Points of the arc-length resampling that precedes the Fourier smoothing.
constexpr int kResamplePoints = 4096;

// n points equally spaced by arc length along p, both ends of p kept.
QPolygonF Natur_Airfoil(int n, const QPolygonF& p);
// Unit x-extent, the midpoint of the first and last point moved to (1, 0)
// and both ends closed onto it (a blunt trailing edge bends shut over the
// last quarter of the chord); empty for an empty polygon or one without
// x-extent.
QPolygonF Normalize_airfoil(const QPolygonF& p);
// The closed outline p resampled to n points through its Fourier series in
// the cosine parameter, normalised; empty when p cannot be parametrised.
QPolygonF Finterpol(int n, const QPolygonF& p);
// Cosine parameter of an outline traced from the trailing edge around the
// nose: 0 at the trailing edge, pi at the nose, 2 pi back at the trailing
// edge. False when it cannot be made to increase strictly.
bool Fill_ArcCos(int n, const double* x, double* t);
// Vertical extent in percent of the chord, two decimals.
QString FindThickness(const QPolygonF& p);

// Resampling variants beside the load's own chain.
// The cosine parameter of the outline's x (Fill_ArcCos); y is not used.
bool Fill_Natur_Param(int n, const double* x, const double* y, double* t);
// Replaces *p by n points taken at equal steps of its cosine parameter, from
// 0 to the last, x and y interpolated linearly; false, with *p unchanged,
// when the outline cannot be parametrised or n < 2.
bool fNatur_Airfoil(int n, QPolygonF* p);
// Every s-th point of p from the first, s = max(1, size / n), the last of
// them replaced by the first so that the outline closes.
QPolygonF Adjust_Polygon_Length(int n, const QPolygonF& p);
// The airfoil file at path thinned by Adjust_Polygon_Length and normalised;
// empty when the file yields no points.
QPolygonF airfoil_Read(int n, const QString& path);

// Text tables for inspecting outlines and series.
// One line per point: "index  x  y " with five decimals.
QString WriteAirfoilTable(const QPolygonF& p);
// "i  v[i] " for every index i < n divisible by every (every below 1 counts
// as 1); with withSum a closing " SUMA = " line with the sum of all n values.
QString WriteFftTable(int n, int every, const double* v, bool withSum);

// Loads an airfoil coordinate file into the record: reading, resampling,
// normalising, Fourier smoothing to 128 points, the solver's preparation, the
// zero-lift angle and the mapping run. A file that cannot be read or whose
// outline cannot be mapped leaves the record as it was; why then receives the
// reason, for the user.
bool Load_Airfoil(myData* data, const QString& path, QString* why);
// The same for points already read; name becomes the record's foilName.
bool Load_Airfoil_Points(myData* data, const QPolygonF& points, const QString& name, QString* why);
// Relative change of the map scale and of the lift between two iterations
// below which the mapping counts as settled.
constexpr double kSettled = 1e-7;
// Most iterations of one mapping run.
constexpr int kMaxIterations = 1001;

// The mapping loop on the prepared record: iterations until the map has
// settled (at most kMaxIterations, counted in iterationCount), then one
// closing iteration. False when the map is unusable.
bool Perform_Conform_Map(myData* data);

} // namespace aerolyx
