#pragma once

// The coloured panel pieces of a project and their file, the project's
// ".cnp": a Qt data stream (big-endian, no header) of a piece count and then
// the pieces, each its outline as the colouring view laid it out and its
// colour.
//
//   qint32   count of the pieces written (not trusted on reading)
//   per piece:
//     quint32  n, the points of the outline
//     n x      float64 x, float64 y
//     qint8    colour spec: 0 no colour, 1 RGB
//     quint16  alpha, red, green, blue (8-bit value x 257)
//     quint16  pad, 0
//
// Only the colours of a file are used: they colour the pieces cut from the
// current design lines by position. The outlines tell whether the file was
// written for the pieces the design has now.

#include <QColor>
#include <QDataStream>
#include <QList>
#include <QPolygonF>
#include <QString>

class ParaStruct;

struct Canopy {
    QPolygonF poly;  // outline as laid out in the colouring view
    QColor colour;   // an invalid colour is the no-colour value
};

// Most points one stored outline may have: a piece of a cell is bounded by
// two rib edges of 1000 points and a few cuts across the cell.
constexpr quint32 kMaxCanopyPiecePoints = 65536;
// Most pieces one file may hold: 63 cells of many pieces each.
constexpr int kMaxCanopyPieces = 100000;

// What a read of a ".cnp" stream found besides the pieces it gave.
struct CanopyFileReport {
    qint32 announced = 0; // the count as written
    int read = 0;         // whole pieces read
    QString problem;      // why reading stopped before the end, "" when it did not
};

// Writes the count and every piece (4 + 16 n + 11 bytes each) in list order.
// Colours are written as RGB.
QDataStream& operator<<(QDataStream& out, const QList<Canopy>& list);
// Reads the count (its value is not trusted) and then whole pieces until the
// stream ends or a piece cannot be what it says, appending them to the list.
QDataStream& operator>>(QDataStream& in, QList<Canopy>* list);
// The same, saying in *report how many pieces were read and why it stopped.
void Read_Canopy_List(QDataStream& in, QList<Canopy>* list, CanopyFileReport* report);

// One entry per polygon, in order: polygon i with colour i (the no-colour
// value where the colour list is shorter).
QList<Canopy> CreateCanopyList(const QList<QColor>& colours, const QList<QPolygonF>* polys);

// Writes the list to the file at GlobClass::cnpPath, replacing it only when
// the whole list was written. False when nothing was written: no project
// (no path), or the file could not be written.
bool WriteCanopyStream(const QList<Canopy>& list);
// The pieces of the file at GlobClass::cnpPath; empty without a path or a
// readable file. The design is not used. *report, when given, tells what the
// reading found.
QList<Canopy> ReadCanopyStream(const ParaStruct* design, CanopyFileReport* report = nullptr);

// Whether the stored pieces are the pieces laid out now, outline for outline
// up to one shift of the whole layout (the view moves its outlines when it
// pans and zooms): "" when they are, otherwise what differs, for telling the
// user that the colours were saved for other design lines. An empty file
// says nothing.
QString Canopy_Mismatch(const QList<Canopy>& stored, const QList<QPolygonF>& outlines);
