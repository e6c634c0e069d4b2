#pragma once

// The airfoil library: reading airfoil coordinate files, and the geometry
// that turns a contour read from a file into the standard airfoil of 1000
// points (trailing edge, upper side, nose, lower side, back to the trailing
// edge). No widgets: the companion programs link the readers too.

#include <QPointF>
#include <QPolygonF>
#include <QString>

// Which program's copy of the readers runs. The copies differ in two points
// only: the plain two-column reader parses in double precision in the main
// program and in single precision in the companions, and the layout scan of
// the flow analyser takes a first number of exactly 0 in the first lines as
// a plain number (the others treat it as a leading-edge line).
enum class AirfoilReader { Main, Aerolyx, Splinora };

// Capacity of the symmetric and the three-column reader, in data lines.
constexpr int kReaderLineCapacity = 1000;

// Reads an airfoil coordinate file in any of the three layouts (plain
// two-column table, half contour of a symmetric airfoil, three-column
// table); the layout is chosen from the first three data lines. Returns the
// raw contour in file units, or an empty polygon when the path is empty, the
// file cannot be opened or no layout matches.
QPolygonF Read_All_AirfoilTypes(const QString& path, AirfoilReader variant = AirfoilReader::Main);

// The companions' name for the same reader; they pass their own variant.
inline QPolygonF airfoil_Read_All(const QString& path, AirfoilReader variant)
{
    return Read_All_AirfoilTypes(path, variant);
}

// The three layout readers (they read the file again from the start).
QPolygonF Read_Symetric(const QString& path);
QPolygonF Read_Normal(const QString& path, AirfoilReader variant = AirfoilReader::Main);
QPolygonF Read_Eppler(const QString& path);

// Line cleaning: tabs become blanks, decimal commas become points, stray
// punctuation goes, and the line is trimmed.
QString clean(const QString& line);

// True when any character is a letter.
bool isLatString(const QString& s);

// Splits a cleaned line into at most three number strings (fields[0..2]);
// numbers beyond the third are ignored.
void FindNumericSubStrings(const QString& line, QString* fields);

// Gives a number written without the zero before its point that zero
// (".5" -> "0.5", "-.25" -> "-0.25").
QString Repair_NumString(const QString& s);

// Twice the signed area of the open polyline (no closing edge), summed in
// single precision; positive for a counter-clockwise contour.
double PolygonSquare(const QPolygonF& p);
