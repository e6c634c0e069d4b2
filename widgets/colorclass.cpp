#include "widgets/colorclass.h"
#include "core/parastruct.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QIODevice>

namespace {
ColorClass* colorclass = nullptr;

constexpr int kColorsStreamVersion = 8;   // Qt 4.2
constexpr int kColorBytes = 11;           // spec byte, then five 16-bit values

// Qt's data stream copies the stored spec byte into the colour unchecked;
// a spec Qt does not define makes a colour no QColor function may touch.
// So the bytes are checked before Qt decodes them.
bool decodeColor(const QByteArray& bytes, QColor* color)
{
    if (bytes.size() != kColorBytes)
        return false;
    const qint8 spec = qint8(bytes[0]);
    if (spec < QColor::Invalid || spec > QColor::ExtendedRgb)
        return false;
    QDataStream in(bytes);
    in.setVersion(kColorsStreamVersion);
    QColor read;
    in >> read;
    if (in.status() != QDataStream::Ok)
        return false;
    *color = read;
    return true;
}

QString colorsPath()
{
    // The 3-D view reads the colours when it is first shown, which can come
    // before the main window has noted its directories.
    QString dir = GetGlobClass()->appDir;
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    return dir + "/colors.ini";
}
} // namespace

ColorClass* GetColorClass()
{
    if (!colorclass)
        colorclass = new ColorClass;
    return colorclass;
}

ColorClass Read_Colors(QIODevice* device)
{
    ColorClass read;   // both invalid
    // One byte more than a whole file: a longer file is not one we wrote.
    const QByteArray bytes = device->read(2 * kColorBytes + 1);
    if (bytes.size() == kColorBytes) {
        // Cut right after the canopy colour: the background was never
        // written and stays to the defaults.
        decodeColor(bytes, &read.canopyColor);
        return read;
    }
    if (bytes.size() != 2 * kColorBytes)
        return read;
    QColor canopy, background;
    if (decodeColor(bytes.left(kColorBytes), &canopy) && decodeColor(bytes.mid(kColorBytes), &background)) {
        read.canopyColor = canopy;
        read.backgroundColor = background;
    }
    return read;
}

void ReadColorsStream()
{
    const QString path = colorsPath();
    if (!QFile::exists(path))
        return;

    QFile file(path);
    ColorClass read;   // both invalid unless the whole file reads
    if (file.open(QIODevice::ReadOnly))
        read = Read_Colors(&file);
    ColorClass* colors = GetColorClass();
    colors->canopyColor = read.canopyColor;
    colors->backgroundColor = read.backgroundColor;
}

void WriteColorsStream()
{
    QFile file(colorsPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QDataStream out(&file);
    out.setVersion(kColorsStreamVersion);
    const ColorClass* colors = GetColorClass();
    out << colors->canopyColor << colors->backgroundColor;
    file.close();
}
