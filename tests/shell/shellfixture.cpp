#include "tests/shell/shellfixture.h"

#include "core/parastruct.h"
#include "shell/model/installhooks.h"

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

QString shippedTemplatePath()
{
    return qEnvironmentVariable("WL_APP_DIR") + "/template.ini";
}

QString templateLinesPath()
{
    return QCoreApplication::applicationDirPath() + "/template.dsg";
}

bool writeTemplate()
{
    // The default design the build puts beside the programs, with its
    // design lines.
    QFile::remove(templatePath());
    QFile::remove(templateLinesPath());
    return QFile::copy(shippedTemplatePath(), templatePath())
           && QFile::copy(qEnvironmentVariable("WL_APP_DIR") + "/template.dsg", templateLinesPath());
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

// The main program installs the recompute hooks in main; these tests build
// its windows without it.
Q_COREAPP_STARTUP_FUNCTION(Install_Recompute_Hooks)
