#ifndef PATTSPLINE_H
#define PATTSPLINE_H

// The design lines of a project and their file, the project's ".dsg".

#include <QDataStream>
#include <QList>
#include <QString>

#include "core/designspline.h"

// What a read of a design-line stream found besides the lines it gave.
struct SplineFileReport {
    int announced = 0;      // the count as written
    int read = 0;           // whole records read
    bool cutShort = false;  // the stream ends inside a record
};

// Writes the count and then every record (1468 bytes each) in list order.
QDataStream& operator<<(QDataStream& out, const QList<Spline>& list);
// Reads the count (its value is not trusted) and then whole records until the
// stream ends, appending them to the list; a record cut short is dropped.
QDataStream& operator>>(QDataStream& in, QList<Spline>* list);
// The same, noting the count and what was dropped in *report.
void Read_Spline_List(QDataStream& in, QList<Spline>* list, SplineFileReport* report);

// Writes the list to the file at GlobClass::dsgPath, replacing it only when
// the whole list was written. False when nothing was written (no path, or
// the file could not be written).
bool WriteSplineStream(const QList<Spline>& list);
// The bytes WriteSplineStream writes for the list.
QByteArray Spline_File_Bytes(const QList<Spline>& list);
// The design lines of the file at GlobClass::dsgPath; empty when there is no
// path or no readable file. *report, when given, tells what was dropped.
QList<Spline> ReadSplineStream(SplineFileReport* report = nullptr);
// The consistency check of a loaded list: every line has 1 to 28 control
// points and 1 to 30 B-spline points (what the record holds), a knot count
// within the knot table and a side of 0 (top) or 1 (bottom). True for an
// empty list.
bool Test_SplineList(const QList<Spline>* list);
// Why a line fails that check ("" when it passes).
QString Spline_Problem(const Spline& line);

// The design lines of a project being opened, from GlobClass::dsgPath: the
// lines read and checked. Lines the file announces but does not hold whole
// are dropped, and so is every line that fails the check (the others are
// kept); then the user is told once, through Notify_User, how many and why,
// and a copy of the file is kept beside it as ".bak". The file itself stays
// untouched until the project is saved.
QList<Spline> Open_Design_Lines();

#endif
