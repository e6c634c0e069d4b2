#include "patterns/acad.h"

#include "core/filesave.h"
#include "core/parastruct.h"
#include "core/checkedint.h"

#include <algorithm>

QStringList dxfEntities;
DxfLines dxfList;

QString DxfLines::at(qsizetype i) const
{
    if (i < 0 || i >= size())
        return QString();
    if (i < finished)
        return dxfEntities.at(i);
    return Close_Eof().at(i - finished);
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

namespace {
int lastWriteError = 0;
} // namespace

int Acad_Write_Error()
{
    return lastWriteError;
}

void Init_Export_To_Acad(ParaStruct*)
{
    lastWriteError = 0;
    dxfList.clear();
    Init_dxfEntities();
}

void Init_dxfEntities()
{
    dxfEntities.clear();
    dxfEntities << QStringLiteral("0") << QStringLiteral("SECTION") << QStringLiteral("2")
                << QStringLiteral("ENTITIES");
}

void WriteDxFPolyline(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour)
{
    if (GetGlobClass()->writeDxf)
        basicDXFPolygon(design, layer, polygon, colour);
    else
        MyPainterPathPoly(polygon);
}

void WriteDxFPolyGon(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour)
{
    WriteDxFPolyline(design, polygon, layer, colour);
}

void WriteDxFPolyLoop(ParaStruct* design, const QPolygonF& polygon, const QString& layer, int colour,
                      bool close)
{
    if (!GetGlobClass()->writeDxf) {
        MyPainterPathPoly(polygon);
        return;
    }
    basicDXFPolygon(design, layer, polygon, colour);
    if (close && !polygon.isEmpty())
        basicDXFLine(design, layer, polygon.last(), polygon.first(), colour);
}

void WriteDxFText(ParaStruct* design, QPointF previewPos, QPointF dxfPos, const QString& layer, int angle,
                  const QString& text, const QFont& font)
{
    if (!GetGlobClass()->writeDxf) {
        MyPainterPathText(previewPos, font, text);
        return;
    }
    const double s = design->dxfScale;
    const int h = DxfTextHeight(design, font);
    const double x = s * dxfPos.x() + text.size();
    const double y = s * dxfPos.y() - 1.3 * h;
    dxfEntities << QStringLiteral("0") << QStringLiteral("TEXT")
                << QStringLiteral("100") << QStringLiteral("AcDbEntity")
                << QStringLiteral("8") << layer
                << QStringLiteral("100") << QStringLiteral("AcDbText")
                << QStringLiteral("10") << DxfReal(x)
                << QStringLiteral("20") << DxfReal(y)
                << QStringLiteral("30") << QStringLiteral("0.0000")
                << QStringLiteral("40") << QString::number(h)
                << QStringLiteral("1") << text
                << QStringLiteral("50") << QString::number(angle)
                << QStringLiteral("100") << QStringLiteral("AcDbText");
}

namespace {
// Two coordinates as written are one value ("-0.0000" is 0 too).
bool sameReal(const QString& a, const QString& b)
{
    auto zero = [](const QString& v) { return v == QLatin1String("0.0000") || v == QLatin1String("-0.0000"); };
    return a == b || (zero(a) && zero(b));
}

void appendLine(const QString& layer, int colour, const QString& x1, const QString& y1, const QString& z1,
                const QString& x2, const QString& y2, const QString& z2)
{
    // A LINE whose ends are one point in the file cuts nothing, and cutter
    // drivers reject it.
    if (sameReal(x1, x2) && sameReal(y1, y2) && sameReal(z1, z2))
        return;
    dxfEntities << QStringLiteral("0") << QStringLiteral("LINE")
                << QStringLiteral("8") << layer
                << QStringLiteral("62") << QString::number(colour)
                << QStringLiteral("10") << x1
                << QStringLiteral("20") << y1
                << QStringLiteral("30") << z1
                << QStringLiteral("11") << x2
                << QStringLiteral("21") << y2
                << QStringLiteral("31") << z2;
}
} // namespace

void basicDXFPolygon(ParaStruct* design, const QString& layer, const QPolygonF& polygon, int colour)
{
    // Each LINE starts where the one before ended in the file; a point that
    // is the same point in the file as the one before it adds no LINE.
    const double s = design->dxfScale;
    const QString zero = QStringLiteral("0.0000");
    QString x, y;
    for (int i = 0; i < polygon.size(); ++i) {
        const QString nx = DxfReal(s * polygon.at(i).x()), ny = DxfReal(s * polygon.at(i).y());
        if (i > 0)
            appendLine(layer, colour, x, y, zero, nx, ny, zero);
        x = nx;
        y = ny;
    }
}

void basicDXFLine(ParaStruct* design, const QString& layer, QPointF a, QPointF b, int colour)
{
    const double s = design->dxfScale;
    const QString zero = QStringLiteral("0.0000");
    appendLine(layer, colour, DxfReal(s * a.x()), DxfReal(s * a.y()), zero, DxfReal(s * b.x()),
               DxfReal(s * b.y()), zero);
}

void basicDXFLine3D(ParaStruct* design, const QString& layer, QVector3D a, QVector3D b, int colour)
{
    // 3-D points are single precision: each product is rounded to float
    // before it is formatted.
    const double s = design->dxfScale;
    auto f = [s](float v) { return DxfReal(static_cast<float>(s * double(v))); };
    appendLine(layer, colour, f(a.x()), f(a.y()), f(a.z()), f(b.x()), f(b.y()), f(b.z()));
}

void WriteDxFLine3(ParaStruct* design, QVector3D a, QVector3D b, const QString& layer, int colour)
{
    basicDXFLine3D(design, layer, a, b, colour);
}

QStringList Close_Section()
{
    return {QStringLiteral("0"), QStringLiteral("ENDSEC")};
}

QStringList Close_Eof()
{
    return {QStringLiteral("0"), QStringLiteral("EOF")};
}

bool Finish_Export_To_Acad(GlobClass* glob, const QString& fileName)
{
    dxfEntities << Close_Section();
    dxfList.finish(dxfEntities.size());

    if (!glob->writeDxf)
        return false;
    // Without a project there is no output directory: write nothing rather
    // than a file in the filesystem root.
    if (glob->dxfDir.isEmpty())
        return false;

    // Every line is ASCII but a label's text: copied character by character
    // into one buffer sized in advance, without a conversion buffer per line
    // (a 3-D drawing has some two million lines); a line with other
    // characters goes in as UTF-8 and grows the buffer.
    const QStringList eof = Close_Eof();
    qsizetype size = 0;
    for (const QString& line : std::as_const(dxfEntities))
        size += line.size() + 2;
    for (const QString& line : eof)
        size += line.size() + 2;
    QByteArray bytes(size, Qt::Uninitialized);
    qsizetype at = 0;
    auto append = [&bytes, &at](const QString& line) {
        const QChar* c = line.constData();
        const qsizetype n = line.size();
        char* out = bytes.data() + at;
        char16_t all = 0;
        for (qsizetype i = 0; i < n; ++i) {
            all |= c[i].unicode();
            out[i] = char(c[i].unicode());
        }
        if (all >= 0x80) {
            const QByteArray utf8 = line.toUtf8();
            bytes.resize(bytes.size() + utf8.size() - n);
            std::copy(utf8.begin(), utf8.end(), bytes.data() + at);
            at += utf8.size();
        } else {
            at += n;
        }
        bytes[at++] = '\r';
        bytes[at++] = '\n';
    };
    for (const QString& line : std::as_const(dxfEntities))
        append(line);
    for (const QString& line : eof)
        append(line);
    // The old file is replaced only when the whole new one was written.
    lastWriteError = Save_File(glob->dxfDir + QLatin1Char('/') + fileName, bytes).code;
    return lastWriteError == 0;
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
