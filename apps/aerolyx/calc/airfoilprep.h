#pragma once

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QPolygonF>
#include <QString>

namespace aerolyx {

// Points of the arc-length resampling that precedes the Fourier smoothing.
constexpr int kResamplePoints = 4096;

// n points equally spaced by arc length along p, both ends of p kept.
QPolygonF Natur_Airfoil(int n, const QPolygonF& p);
// Unit x-extent, first point moved to exactly (1, 0); empty for an empty
// polygon or one without x-extent.
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

// Loads an airfoil coordinate file into the record: reading, resampling,
// normalising, Fourier smoothing to 128 points, the solver's preparation, the
// zero-lift angle and the mapping run. A file that cannot be read or whose
// outline cannot be mapped leaves the record as it was; why then receives the
// reason, for the user.
bool Load_Airfoil(myData* data, const QString& path, QString* why);
// The same for points already read; name becomes the record's foilName.
bool Load_Airfoil_Points(myData* data, const QPolygonF& points, const QString& name, QString* why);
// The mapping loop on the prepared record: iterations until the norm of the
// angle correction stops changing (at most 1001, counted in iterationCount),
// then one closing iteration. False when the map is unusable.
bool Perform_Conform_Map(myData* data);

} // namespace aerolyx
