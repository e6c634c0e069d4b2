#ifndef PATTSPLINE_H
#define PATTSPLINE_H

// The design lines of a project and their file, the project's ".dsg".

#include <QDataStream>
#include <QList>

#include "core/designspline.h"

// Writes the count and then every record (1468 bytes each) in list order.
QDataStream& operator<<(QDataStream& out, const QList<Spline>& list);
// Reads the count (its value is not trusted) and then whole records until the
// stream ends, appending them to the list; a record cut short is dropped.
QDataStream& operator>>(QDataStream& in, QList<Spline>* list);

// Writes the list to the file at GlobClass::dsgPath, replacing it only when
// the whole list was written. False when nothing was written (no path, or
// the file could not be written).
bool WriteSplineStream(const QList<Spline>& list);
// The design lines of the file at GlobClass::dsgPath; empty when there is no
// path or no readable file.
QList<Spline> ReadSplineStream();
// The consistency check of a loaded list: every line has 1 to 29 control
// points, 1 to 29 B-spline points, a knot count within the knot table and a
// side of 0 (top) or 1 (bottom). True for an empty list.
bool Test_SplineList(const QList<Spline>* list);

#endif
