#include "apps/aerolyx/ui/myopenfile.h"

#include "core/userinteraction.h"

namespace aerolyx {

QString myOpenFile::DialogReadFromTextFile(const QString& dir)
{
    return User().openFileName(QStringLiteral("Open File in work directory"), dir, tr("Files (*.txt)"));
}

QString myOpenFile::DialogReadFromFile(const QString& dir)
{
    return User().openFileName(QStringLiteral("Open File in work directory"), dir, tr("Files (*.prg)"));
}

QString myOpenFile::DialogWriteToFile()
{
    return User().saveFileName(QStringLiteral("Save File"), QString(), tr("Files (*.prg)"));
}

} // namespace aerolyx
