#include "graphics/streamfile.h"

#include "core/filesave.h"

#include <QBuffer>
#include <QFile>

QByteArray Stream_File_Bytes(const std::function<void(QDataStream&)>& write, bool* ok)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    write(out);
    if (ok)
        *ok = out.status() == QDataStream::Ok;
    return bytes;
}

bool Write_Stream_File(const QString& path, const std::function<void(QDataStream&)>& write)
{
    if (path.isEmpty())
        return false;
    bool ok = false;
    const QByteArray bytes = Stream_File_Bytes(write, &ok);
    return ok && Save_File(path, bytes).ok();
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
