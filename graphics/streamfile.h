#pragma once

// The design's own data files (".dsg", ".cnp"): read when they are there,
// and written through a save file: the file on disk is replaced only when the whole stream was written,
// so that a full disk or a failed write never leaves half a file behind.

#include <QByteArray>
#include <QDataStream>
#include <QString>

#include <functional>

// The bytes `write` puts on a stream, as Write_Stream_File writes them;
// *ok (when given) is false when the stream failed.
QByteArray Stream_File_Bytes(const std::function<void(QDataStream&)>& write, bool* ok = nullptr);

// Writes `write`'s stream into path. False, and the old file (if any) left
// as it was, when the path is empty, the file cannot be opened, or the
// stream failed.
bool Write_Stream_File(const QString& path, const std::function<void(QDataStream&)>& write);

// Runs `read` on a stream of the file at path. False, and `read` not run,
// when the path is empty or the file is missing or cannot be opened.
bool Read_Stream_File(const QString& path, const std::function<void(QDataStream&)>& read);
