#include "shell/ui/colorclass.h"
#include "core/parastruct.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>

namespace {
ColorClass* colorclass = nullptr;

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

void ReadColorsStream()
{
    const QString path = colorsPath();
    if (!QFile::exists(path))
        return;

    ColorClass read;
    QFile file(path);
    ColorClass* colors = GetColorClass();
    if (!file.open(QIODevice::ReadOnly)) {
        colors->canopyColor = QColor();
        colors->backgroundColor = QColor();
        return;
    }
    QDataStream in(&file);
    in.setVersion(8);
    in >> read.canopyColor >> read.backgroundColor;
    file.close();
    colors->canopyColor = read.canopyColor;
    colors->backgroundColor = read.backgroundColor;
}

void WriteColorsStream()
{
    QFile file(colorsPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QDataStream out(&file);
    out.setVersion(8);
    const ColorClass* colors = GetColorClass();
    out << colors->canopyColor << colors->backgroundColor;
    file.close();
}
