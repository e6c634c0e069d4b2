#pragma once

// The step-by-step drawing interface over a pattern sheet (sheet.h), for the
// drawings that are still made one operation at a time (the flat-shape
// drawing) and for callers that drive single operations.
//
// A caller calls Init_Export_To_Acad, then any number of drawing operations,
// then Finish_Export_To_Acad with its file name. GlobClass::writeDxf decides
// what the drawing operations do: off, outlines and text glyphs go into
// GlobClass::previewPath for the on-screen preview; on, they are added to
// the sheet being drawn, which the finish step writes into the project's
// output directory GlobClass::dxfDir as an ASCII DXF drawing (ENTITIES
// section only, millimetres, CR LF line ends). Points are plan units; every
// coordinate written is multiplied by ParaStruct::dxfScale (millimetres per
// plan unit). The pattern writers build their sheets as values instead
// (patternsheet.h).

#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QVector3D>

class ParaStruct;
class GlobClass;
class PieceSheet;

// The lines of the drawing being built (group codes and values, without
// line ends): the ENTITIES section, closed once the drawing is finished.
// Read from the sheet as the file would have it.
class DxfEntityLines
{
public:
    qsizetype size() const { return lines().size(); }
    QString at(qsizetype i) const { return lines().value(i); }
    qsizetype count(const QString& value) const { return lines().count(value); }
    bool contains(const QString& value) const { return lines().contains(value); }
    qsizetype indexOf(const QString& value) const { return lines().indexOf(value); }
    QStringList mid(qsizetype from, qsizetype n = -1) const { return lines().mid(from, n); }

private:
    const QStringList& lines() const;
};
extern const DxfEntityLines dxfEntities;

// All lines of the drawing last finished: the ENTITIES section (closed)
// followed by "0" "EOF"; none before the first one is finished.
class DxfLines
{
public:
    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype i) const;
};
extern const DxfLines dxfList;

// The sheet being drawn; Acad_Drawing hands it out to draw on with the
// sheet's own operations (once per operation: it notes the change).
const PieceSheet& Acad_Sheet();
PieceSheet* Acad_Drawing(const ParaStruct* design);

void Init_Export_To_Acad(ParaStruct* design);

// Open polyline: one LINE per pair of consecutive distinct points, or one
// open preview sub-path. WriteDxFPolyGon is the same operation.
void WriteDxFPolyline(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour);
void WriteDxFPolyGon(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour);
// As WriteDxFPolyline; with close set, a LINE from the last point back to
// the first follows in the file (the preview outline stays open).
void WriteDxFPolyLoop(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour,
                      bool close);
// A label: in the preview at previewPos in the given font, in the file as a
// TEXT entity at dxfPos, DxfTextHeight high.
void WriteDxFText(ParaStruct* design, QPointF previewPos, QPointF dxfPos, const QString& layer, int angle,
                  const QString& text, const QFont& font);

// Entity writers that ignore the preview switch. None writes a LINE whose
// two ends are the same point in the file: a polyline steps over a point
// that repeats the one before it, a single line of no length is left out.
void basicDXFPolygon(ParaStruct* design, const QString& layer, const QPolygonF& polygon, int colour);
void basicDXFLine(ParaStruct* design, const QString& layer, QPointF a, QPointF b, int colour);
void basicDXFLine3D(ParaStruct* design, const QString& layer, QVector3D a, QVector3D b, int colour);
void WriteDxFLine3(ParaStruct* design, QVector3D a, QVector3D b, const QString& layer, int colour);

// Ends the drawing and, when writeDxf is on, writes it as
// dxfDir + "/" + fileName. Returns true only when the whole file was written.
// Nothing is written (false) in preview mode or while no output directory is
// set, so a drawing never lands outside a project's output directory; a file
// that cannot be written leaves an earlier file of the same name untouched.
bool Finish_Export_To_Acad(GlobClass* glob, const QString& fileName);
// The same for a whole sheet made as a value: it becomes the drawing last
// finished; in preview mode its preview is added to GlobClass::previewPath.
bool Finish_Sheet(GlobClass* glob, const PieceSheet& sheet, const QString& fileName);
// The system's error number of the last file write that failed since
// Init_Export_To_Acad (errno); 0 when none did.
int Acad_Write_Error();

// Preview geometry.
void MyPainterPathPoly(const QPolygonF& polygon);
QPainterPath Get_PolyPainterPath(const QPolygonF& polygon);
void MyPainterPathText(QPointF position, const QFont& font, const QString& text);

// Number formats of the file: reals with exactly four decimals.
QString DxfReal(double value);

// Height of a TEXT entity in millimetres: the font's point size when it has
// one, else its pixel size times the drawing scale (at least 1).
int DxfTextHeight(const ParaStruct* design, const QFont& font);
