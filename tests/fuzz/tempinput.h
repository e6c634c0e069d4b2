#pragma once

// For readers that take a path: the input written to one temporary file,
// rewritten for every input.

#include <QString>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

namespace fuzz {

class TempInput
{
public:
    explicit TempInput(const QString& suffix) : file(QStringLiteral("/tmp/wlfuzz-XXXXXX") + suffix)
    {
        file.open();
    }
    // Writes the input and returns the file's path.
    QString write(const uint8_t* data, size_t size)
    {
        file.resize(0);
        file.seek(0);
        file.write(reinterpret_cast<const char*>(data), qint64(size));
        file.flush();
        return file.fileName();
    }

private:
    QTemporaryFile file;
};

} // namespace fuzz
