#include "geom/acad.h"

#include "core/checkedint.h"
#include "core/filesave.h"
#include "core/parastruct.h"
#include "geom/sheet.h"

#include <algorithm>

namespace {

// The drawing of the step-by-step interface: the sheet being drawn, whether
// it is finished, and its lines as last read.
struct Drawing {
    PieceSheet sheet;
    bool finished = false;
    int lastWriteError = 0;
    quint64 revision = 0;
    quint64 linesRevision = ~quint64(0);
    QStringList lines; // every line of the file, EOF included

    void changed() { ++revision; }
    const QStringList& allLines()
    {
        if (linesRevision != revision) {
            const QByteArray bytes = Sheet_Dxf_Bytes(sheet);
            lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
            if (!lines.isEmpty() && lines.last().isEmpty())
                lines.removeLast();
            linesRevision = revision;
        }
        return lines;
    }
};

Drawing& drawing()
{
    static Drawing d;
    return d;
}

PieceSheet& sheetFor(const ParaStruct* design)
{
    Drawing& d = drawing();
    d.changed();
    // The scale is the design's at every operation, as each coordinate is
    // scaled when it is drawn.
    if (d.sheet.isEmpty() && d.sheet.scale() != design->dxfScale)
        d.sheet = PieceSheet(design->dxfScale);
    return d.sheet;
}

bool previewing()
{
    return !GetGlobClass()->writeDxf;
}

} // namespace

const DxfEntityLines dxfEntities;
const DxfLines dxfList;

const QStringList& DxfEntityLines::lines() const
{
    Drawing& d = drawing();
    static QStringList entities;
    static quint64 revision = ~quint64(0);
    if (revision != d.revision) {
        const QStringList& all = d.allLines();
        // Open: without "0 ENDSEC 0 EOF"; finished: without "0 EOF".
        entities = all.mid(0, all.size() - (d.finished ? 2 : 4));
        revision = d.revision;
    }
    return entities;
}

qsizetype DxfLines::size() const
{
    return drawing().finished ? drawing().allLines().size() : 0;
}

QString DxfLines::at(qsizetype i) const
{
    if (!drawing().finished)
        return QString();
    return drawing().allLines().value(i);
}

const PieceSheet& Acad_Sheet()
{
    return drawing().sheet;
}

PieceSheet* Acad_Drawing(const ParaStruct* design)
{
    return &sheetFor(design);
}

QString DxfReal(double value)
{
    return QString::number(value, 'f', 4);
}

int DxfTextHeight(const ParaStruct* design, const QFont& font)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    // A pixel-sized label font has no point size. Its pixels are plan units
    // in the preview, so the label is as large on the cut cloth as it is
    // drawn on the piece there. A height must be positive to be a valid
    // TEXT entity.
    const double mm = font.pixelSize() > 0 ? font.pixelSize() * design->dxfScale : 1.0;
    return std::max(1, wl::Checked_Round(mm));
}

int Acad_Write_Error()
{
    return drawing().lastWriteError;
}

void Init_Export_To_Acad(ParaStruct* design)
{
    Drawing& d = drawing();
    d.lastWriteError = 0;
    d.finished = false;
    d.sheet = PieceSheet(design ? design->dxfScale : 1.0);
    d.changed();
}

void WriteDxFPolyline(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour)
{
    if (previewing())
        MyPainterPathPoly(polygon);
    else
        sheetFor(design).polyline(polygon, layer, colour);
}

void WriteDxFPolyGon(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour)
{
    WriteDxFPolyline(design, polygon, layer, colour);
}

void WriteDxFPolyLoop(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour,
                      bool close)
{
    if (previewing())
        MyPainterPathPoly(polygon);
    else
        sheetFor(design).loop(polygon, layer, colour, close);
}

void WriteDxFText(ParaStruct* design, QPointF previewPos, QPointF dxfPos, const QString& layer, int angle,
                  const QString& text, const QFont& font)
{
    if (previewing())
        MyPainterPathText(previewPos, font, text);
    else
        sheetFor(design).text(previewPos, dxfPos, layer, angle, text, font, DxfTextHeight(design, font));
}

void basicDXFPolygon(ParaStruct* design, const QString& layer, const QPolygonF& polygon, int colour)
{
    sheetFor(design).fileOnlyPolyline(polygon, layer, colour);
}

void basicDXFLine(ParaStruct* design, const QString& layer, QPointF a, QPointF b, int colour)
{
    sheetFor(design).fileOnlyLine(a, b, layer, colour);
}

void basicDXFLine3D(ParaStruct* design, const QString& layer, QVector3D a, QVector3D b, int colour)
{
    PieceSheet& s = sheetFor(design);
    s.line3D(a, b, s.layerIndex(layer), colour);
}

void WriteDxFLine3(ParaStruct* design, QVector3D a, QVector3D b, const QString& layer, int colour)
{
    basicDXFLine3D(design, layer, a, b, colour);
}

bool Finish_Export_To_Acad(GlobClass* glob, const QString& fileName)
{
    Drawing& d = drawing();
    d.finished = true;
    d.changed();
    if (!glob->writeDxf)
        return false;
    // Without a project there is no output directory: write nothing rather
    // than a file in the filesystem root.
    if (glob->dxfDir.isEmpty())
        return false;
    d.lastWriteError = Write_Sheet(d.sheet, glob->dxfDir, fileName);
    return d.lastWriteError == 0;
}

bool Finish_Sheet(GlobClass* glob, const PieceSheet& sheet, const QString& fileName)
{
    Drawing& d = drawing();
    d.lastWriteError = 0;
    d.sheet = sheet;
    if (!glob->writeDxf) {
        glob->previewPath.addPath(Sheet_Preview(sheet));
        d.finished = true;
        d.changed();
        return false;
    }
    return Finish_Export_To_Acad(glob, fileName);
}

void MyPainterPathPoly(const QPolygonF& polygon)
{
    if (polygon.size() < 2)
        return;
    GetGlobClass()->previewPath.addPath(Get_PolyPainterPath(polygon));
}

QPainterPath Get_PolyPainterPath(const QPolygonF& polygon)
{
    QPainterPath path;
    if (polygon.isEmpty())
        return path;
    path.moveTo(polygon.first());
    for (int i = 1; i < polygon.size(); ++i)
        path.lineTo(polygon.at(i));
    return path;
}

void MyPainterPathText(QPointF position, const QFont& font, const QString& text)
{
    QPainterPath path;
    path.addText(position, font, text);
    path.closeSubpath();
    GetGlobClass()->previewPath.addPath(path);
}
