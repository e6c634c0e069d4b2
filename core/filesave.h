#pragma once

// Writing files so that a failure never leaves a file half written, nor a set
// of files that belong together (a project's ".prg" and ".dsg") part new and
// part old.
//
// Every file of a save is first written whole into a temporary file beside
// it and flushed to the disk; only when all of them are written are the old
// files replaced, one rename each. The renames of several files cannot be
// one atomic step: the old files are kept under a second name (a hard link,
// or a copy where the filesystem has none) until every rename is done, and
// when a rename fails those already made are undone, so the files on disk
// are the old ones again.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// One file of a save: where it goes and its whole content.
struct FileContent {
    QString path;
    QByteArray bytes;
};

// The outcome of a save. `code` is the system's error number (errno) of the
// step that failed, 0 when every file was written.
struct FileSaveResult {
    QString path;    // the file whose write failed
    int code = 0;
    // Set when undoing a failed save failed too: every file that could not
    // be put back (it holds the new content; where its old content is kept,
    // and the system's reason), then the files of the save that are as they
    // were. Empty when every file is as it was.
    QString notRestored;

    bool ok() const { return code == 0; }
    // The system's reason in words ("no space is left on the device") and
    // advice that fits it ("Free some space on that disk ...").
    QString reason() const;
    QString advice() const;
};

// Writes the files as one save; see above. On failure every file on disk is
// as it was (unless notRestored says otherwise), and no temporary is left.
FileSaveResult Save_Files(const QList<FileContent>& files);
FileSaveResult Save_File(const QString& path, const QByteArray& bytes);

// Content handed over piece by piece as it is made, for a file too large to
// be held whole first: the writer gives the pieces in order to `put`, which
// returns 0 or the error number of its write; the writer stops at the first
// error and returns it, 0 when every piece went in.
using FilePiece = std::function<int(const char* data, qsizetype size)>;
using FileWriter = std::function<int(const FilePiece& put)>;
// One file saved as Save_File saves it, its content from the writer.
FileSaveResult Save_File(const QString& path, const FileWriter& write);

// A set saved as Save_Files saves it, for files too large to be held
// together: each file's new content is written beside it when it is added,
// and commit() replaces the old files by all of them. After the first
// failure (of add or commit) every file on disk is as it was (unless
// notRestored says otherwise) and the set takes nothing more. A set that is
// dropped without commit leaves every file as it was and no temporary.
class FileSet
{
public:
    FileSet();
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    FileSaveResult add(const QString& path, const FileWriter& write);
    FileSaveResult commit();
    bool failed() const;

private:
    void drop();
    struct Data;
    std::unique_ptr<Data> d;
};

// Makes the folder at path (its parent must be there) unless a folder is
// there already. 0, or the system's error number: EEXIST when a file of that
// name stands there.
int Make_Folder(const QString& path);

// The reason and the advice for a system error number of a file write.
QString File_Error_Reason(int code);
QString File_Error_Advice(int code);

// A test seam: called before each file's temporary is written (Write),
// before it replaces the file (Replace), and before a replaced file is put
// back after a later failure (Restore); a non-zero error number makes that
// step fail as the system would have failed it. An empty function removes it.
enum class FileSaveStep { Write, Replace, Restore };
using FileSaveFault = std::function<int(FileSaveStep step, const QString& path)>;
void Set_File_Save_Fault(FileSaveFault fault);
