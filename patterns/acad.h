#pragma once

// The DXF writer: the one output channel of every pattern writer.
//
// A writer calls Init_Export_To_Acad, then any number of drawing operations,
// then Finish_Export_To_Acad with its file name. GlobClass::writeDxf decides
// what the drawing operations do: off, outlines and text glyphs go into
// GlobClass::previewPath for the on-screen preview; on, they become LINE and
// TEXT entities of an ASCII DXF drawing (ENTITIES section only, millimetres,
// CR LF line ends), which the finish step writes into the project's output
// directory GlobClass::dxfDir. Points are plan units; every coordinate written
// is multiplied by ParaStruct::dxfScale (millimetres per plan unit).

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

// The lines of the ENTITIES section being built (group codes and values,
// without line ends).
extern QStringList dxfEntities;

// All lines of the drawing last finished: the ENTITIES section (closed)
// followed by "0" "EOF". A view of dxfEntities rather than a copy: a 3-D
// drawing has some two million lines.
class DxfLines
{
public:
    qsizetype size() const { return finished < 0 ? 0 : finished + 2; }
    bool isEmpty() const { return size() == 0; }
    QString at(qsizetype i) const;
    void clear() { finished = -1; }
    // The drawing is finished: the first `entityLines` lines of dxfEntities.
    void finish(qsizetype entityLines) { finished = entityLines; }

private:
    qsizetype finished = -1;
};
extern DxfLines dxfList;

void Init_Export_To_Acad(ParaStruct* design);
void Init_dxfEntities();

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

QStringList Close_Section();
QStringList Close_Eof();

// Ends the drawing and, when writeDxf is on, writes it as
// dxfDir + "/" + fileName. Returns true only when the whole file was written.
// Nothing is written (false) in preview mode or while no output directory is
// set, so a drawing never lands outside a project's output directory; a file
// that cannot be written leaves an earlier file of the same name untouched.
bool Finish_Export_To_Acad(GlobClass* glob, const QString& fileName);
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
