#pragma once

// The project file ".prg": the design record as a Qt data stream (version 12,
// big-endian, doubles), its writer and reader, the project file dialogs and
// the append-only log file of the project's output directory.

#include <QByteArray>
#include <QObject>
#include <QString>

#include "core/filesave.h"

class QDataStream;
class QIODevice;
class ParaStruct;

// Writes the project file fields of the design, all forty steps.
QDataStream& operator<<(QDataStream& stream, const ParaStruct& design);

// Reads the project file fields into the design. A version tag other than
// "7.0.0.0" (compared as a version), a file cut short, a number that is not
// finite, or stored values that do not fit the record leave the stream's
// status other than Ok; the design then holds whatever was read up to that
// point, so read into a record of its own.
QDataStream& operator>>(QDataStream& stream, ParaStruct& design);

// Writes the design to the device as one project file; false when the stream
// reports an error.
bool Write_Project(QIODevice* device, const ParaStruct& design);

// The bytes of the project file of the design; empty when the stream fails.
QByteArray Project_File_Bytes(const ParaStruct& design);

// The bytes Save writes: the project file of the design, read back as Open
// reads it (the same steps, ranges and checks). Empty when Open would refuse
// them; *refusal (when given) then says why, naming the field.
QByteArray Checked_Project_File_Bytes(const ParaStruct& design, QString* refusal);

// Whether a version tag names a later version of the project file than the
// one this program reads and writes ("8.0.0.0", "17.0.0.0"); false for an
// earlier one and for a tag that is not a version number ("WL 8.0").
bool Version_Tag_Is_Newer(const QString& tag);

// Reads one project file from the device into a fresh record and checks it;
// only an accepted file replaces *into. On refusal *into is untouched and
// *reason (when given) says why.
bool Read_Project(QIODevice* device, ParaStruct* into, QString* reason = nullptr);

class myOpenFile : public QObject
{
public:
    // NotFinite: a field holds NaN or an infinity; OutOfRange: a number far
    // outside what any wing has; the reason names the field. TooManyRibs: the
    // wing has more ribs on a side than the record holds.
    enum ReadStatus { ReadOk, EmptyPath, FileMissing, CannotOpen, WrongVersion, Corrupt, NotFinite, OutOfRange,
                      TooManyRibs };

    explicit myOpenFile(QObject* parent = nullptr);
    ~myOpenFile() override;

    // Writes the live design (GetDataStruct) or the given one to path. A
    // design that Open would refuse is not written at all; otherwise the old
    // file is replaced only when the whole new file was written. A failure
    // is told to the user with its reason; lastSaveFailure() keeps it (and
    // lastSaveError() the system's reason of a failed write).
    bool WriteParaStream(const QString& path);
    bool WriteParaStream(const QString& path, const ParaStruct& design);
    // The same, telling nobody: the caller tells the failure in its own
    // words, with lastSaveFailure(), so that one failure is one
    // message.
    enum class Report { Silently };
    bool WriteParaStream(const QString& path, const ParaStruct& design, Report);

    // Reads the project file at path into *into (the live design, or a record
    // of the caller's own). A missing file gives false silently; any other
    // refusal tells the user the path and the reason and leaves *into as it was.
    bool ReadParaStream(const QString& path, ParaStruct* into);
    // The same, telling nobody: the caller explains a refusal in its own
    // words (lastMessage() holds what would have been shown).
    bool ReadParaStream(const QString& path, ParaStruct* into, Report);

    ReadStatus lastReadStatus() const { return readStatus; }
    // The version tag of the file last read (also of a refused one).
    QString lastVersionTag() const { return versionTag; }
    // The bytes after the last part of the file last read: this program
    // does not read them, and a save does not write them.
    qint64 lastUnreadBytes() const { return unreadBytes; }
    const FileSaveResult& lastSaveError() const { return saveError; }
    // Why the last save failed, in words, with advice where there is some.
    QString lastSaveFailure() const;
    QString lastError() const { return error; }
    QString lastMessage() const { return message; }

    static QString DialogReadFromFile(const QString& dir);
    static QString DialogWriteToFile(const QString& dir);
    static QString DialogNewFile(const QString& dir);

private:
    ReadStatus readStatus = ReadOk;
    QString versionTag;
    qint64 unreadBytes = 0;
    FileSaveResult saveError;
    QString saveRefusal;
    QString error;
    QString message;
};

// Appends " \n" and the text to "wingloft.log" in the project's output
// directory (GlobClass::dxfDir). Nothing happens when it cannot be opened.
void WriteLogFile(const QString& text);
