#include "graphics/streamfile.h"

#include <QFile>
#include <QSaveFile>

bool Write_Stream_File(const QString& path, const std::function<void(QDataStream&)>& write)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    write(out);
    if (out.status() != QDataStream::Ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool Read_Stream_File(const QString& path, const std::function<void(QDataStream&)>& read)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QDataStream in(&file);
    read(in);
    return true;
}
