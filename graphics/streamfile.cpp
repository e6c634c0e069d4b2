#include "graphics/streamfile.h"

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
