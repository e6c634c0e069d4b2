#pragma once

// A pattern sheet as a value: the pieces a pattern writer lays out, in plain
// geometry on named layers, in the order they were drawn. The DXF file and
// the on-screen preview are two readings of the same value
// (Sheet_Dxf_Bytes, Sheet_Preview), so what the user sees is what is cut.
//
// Points are plan units; the file multiplies every coordinate by the scale
// (millimetres per plan unit) the sheet was made with. Some parts are drawn
// differently on screen than on the cloth, and the sheet says so per part:
//  - a cut line closed in the file (a LINE back to its first point) is open
//    on screen;
//  - control marks are cut at their size and drawn larger on screen, where
//    they would be too small to see;
//  - a label is a TEXT entity at its cutting position in the file and its
//    glyphs at a position chosen for the screen;
//  - the sewing line of a panel is seen on screen only (the cutter follows
//    the cut line), a 3-D line is in the file only.

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QVector3D>

#include "core/filesave.h"

#include <vector>

class PieceSheet
{
public:
    struct Polyline {
        int layer = 0;
        int colour = 0;
        QPolygonF points;
        bool closedInFile = false; // a LINE from the last point back to the first follows in the file
        bool inFile = true;
        bool inPreview = true;
    };
    struct Mark {
        int layer = 0;
        QPointF centre;
        double radius = 0;        // cut size
        double previewRadius = 0; // as drawn on screen
        int sides = 0;
    };
    struct Text {
        int layer = 0;
        QPointF at;        // in the file
        QPointF previewAt; // on screen
        int angle = 0;
        int height = 1; // millimetres in the file
        QString text;
        QFont font; // on screen
    };
    struct Line3D {
        int layer = 0;
        int colour = 0;
        QVector3D a, b;
    };
    enum class Kind : unsigned char { Polyline, Mark, Text, Line3D };
    struct Item {
        Kind kind;
        int index; // into the list of its kind
    };

    explicit PieceSheet(double scale = 1.0) : dxfScale(scale) {}

    double scale() const { return dxfScale; }
    // Height in millimetres of a label in the font: the font's point size
    // when it has one, else its pixel size (plan units, as the preview shows
    // it) at the sheet's scale; at least 1.
    int textHeight(const QFont& font) const;
    // The layer names in the order they were first drawn on.
    const QStringList& layers() const { return layerNames; }
    int layerIndex(const QString& name);

    // The drawing operations. Marks are the colour 4 polygons of the cutter's
    // notches (controlmarks.h).
    void polyline(const QPolygonF& points, const QString& layer, int colour);
    void loop(const QPolygonF& points, const QString& layer, int colour, bool closedInFile);
    void sewingLine(const QPolygonF& points, const QString& layer, int colour);
    void fileOnlyLine(QPointF a, QPointF b, const QString& layer, int colour);
    void fileOnlyPolyline(const QPolygonF& points, const QString& layer, int colour);
    void mark(QPointF centre, double radius, double previewRadius, int sides, const QString& layer);
    void text(QPointF previewAt, QPointF at, const QString& layer, int angle, const QString& text,
              const QFont& font, int height);
    void line3D(QVector3D a, QVector3D b, int layer, int colour);
    void reserve3D(qsizetype lines);

    // Everything another sheet drew, after what this one holds.
    void append(const PieceSheet& other);

    bool isEmpty() const { return order.empty(); }
    const std::vector<Item>& items() const { return order; }
    const Polyline& polylineAt(int i) const { return polylines[i]; }
    const Mark& markAt(int i) const { return marks[i]; }
    const Text& textAt(int i) const { return texts[i]; }
    const Line3D& line3DAt(int i) const { return lines3D[i]; }

private:
    double dxfScale;
    QStringList layerNames;
    QHash<QString, int> layerIndexes;
    std::vector<Polyline> polylines;
    std::vector<Mark> marks;
    std::vector<Text> texts;
    std::vector<Line3D> lines3D;
    std::vector<Item> order;
};

// The ENTITIES section of the sheet's DXF drawing as written into the file:
// "0 SECTION 2 ENTITIES", the entities, "0 ENDSEC", then "0 EOF", one value a
// line, CR LF line ends, reals with four decimals, labels in UTF-8. No LINE
// has two ends that are one point in the file (cutter drivers reject it).
QByteArray Sheet_Dxf_Bytes(const PieceSheet& sheet);
// The same bytes handed to `put` a piece at a time as they are made; the
// first error number put returns (the rest is not handed on), or 0.
int Sheet_Dxf_Write(const PieceSheet& sheet, const FilePiece& put);

// Why the sheet cannot go into a file: a value the file would hold (a
// point, a mark's corner, a label's position, the scale) that is not a
// finite number, naming the first piece (layer) that holds one; empty when
// every value is finite. A cutter takes "nan" for a coordinate, or stops.
QString Sheet_File_Problem(const PieceSheet& sheet);

// Everything the sheet shows on screen, as one path.
QPainterPath Sheet_Preview(const PieceSheet& sheet);

// Writes the sheet's drawing as directory + "/" + fileName; the system's
// error number when it could not be written (an earlier file of that name is
// then left as it was), 0 when it was. A sheet with a file problem
// (Sheet_File_Problem) is not written: EDOM.
int Write_Sheet(const PieceSheet& sheet, const QString& directory, const QString& fileName);

// n-sided mark around c: its n corners on the circle of radius r from the
// +x side counter-clockwise, then the first corner once more (n + 1 points,
// n sides). Empty for n < 1.
QPolygonF cntrCirc(QPointF c, double r, int n);
