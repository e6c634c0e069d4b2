#include "shellfixture.h"

#include "../core/designfixture.h"
#include "openfile.h"
#include "parastruct.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

QString templatePath()
{
    return QCoreApplication::applicationDirPath() + "/template.ini";
}

std::unique_ptr<ParaStruct> defaultDesign()
{
    auto record = std::make_unique<ParaStruct>();
    record->Reset_CellsNumber();
    return record;
}

bool writeTemplate()
{
    // A complete wing, so that every recompute the program runs has geometry.
    auto record = fixture::makeWing(34);
    myOpenFile file;
    return file.WriteParaStream(templatePath(), *record);
}

QString useFreshHome()
{
    static QTemporaryDir* home = nullptr;
    delete home;
    home = new QTemporaryDir;
    qputenv("HOME", home->path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DESKTOP_DIR");
    return home->path();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
