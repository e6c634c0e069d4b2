#include "core/filesave.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileSaveFault& fault()
{
    static FileSaveFault hook;
    return hook;
}

int injected(FileSaveStep step, const QString& path)
{
    return fault() ? fault()(step, path) : 0;
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// A name beside `path` that no file has yet, hidden from file choosers.
QString sideName(const QString& path, const char* kind)
{
    const QFileInfo info(path);
    return info.path() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.') + QLatin1String(kind)
         + QStringLiteral("-%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

FileWriter whole(const QByteArray& bytes)
{
    return [bytes](const FilePiece& put) { return put(bytes.constData(), bytes.size()); };
}

// Creates a new file beside `path` (permissions as the system gives a new
// file, or those of `mode` when given) and writes the content into it,
// flushed to the disk. Returns 0 or the error number; *created is the file's
// name once it exists.
int writeNew(const QString& path, const char* kind, const FileWriter& content, const mode_t* mode, QString* created)
{
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        const QString name = sideName(path, kind);
        fd = ::open(native(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            *created = name;
        else if (errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int error = 0;
    if (mode && ::fchmod(fd, *mode & 07777) != 0)
        error = errno;
    auto put = [fd](const char* data, qsizetype left) {
        while (left > 0) {
            const ssize_t n = ::write(fd, data, size_t(left));
            if (n < 0) {
                if (errno != EINTR)
                    return errno;
                continue;
            }
            data += n;
            left -= n;
        }
        return 0;
    };
    if (!error)
        error = content(put);
    // Data the disk has not taken yet can still fail here: the rename must
    // not come before it is there.
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    return error;
}

struct Entry {
    QString path;       // the file replaced (a link's target, not the link)
    bool hadOld = false;
    mode_t mode = 0;
    QString temporary;  // the new content, until it is renamed
    QString kept;       // the old content, until the save is done
    bool replaced = false;
};

// Keeps the old file under a second name: a hard link costs no space; a
// filesystem without links gets a copy.
int keepOld(Entry& e)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = sideName(e.path, "old");
        if (::link(native(e.path).constData(), native(name).constData()) == 0) {
            e.kept = name;
            return 0;
        }
        if (errno == EEXIST)
            continue;
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EMLINK && errno != EXDEV && errno != ENOSYS)
            return errno;
        break;
    }
    QFile old(e.path);
    if (!old.open(QIODevice::ReadOnly))
        return EACCES;
    const QByteArray bytes = old.readAll();
    if (old.error() != QFileDevice::NoError)
        return EIO;
    return writeNew(e.path, "old", whole(bytes), &e.mode, &e.kept);
}

void removeFile(const QString& path)
{
    if (!path.isEmpty())
        ::unlink(native(path).constData());
}

void syncFolder(const QString& path)
{
    const int fd = ::open(native(QFileInfo(path).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void Set_File_Save_Fault(FileSaveFault hook)
{
    fault() = std::move(hook);
}

struct FileSet::Data {
    QList<Entry> entries;
    FileSaveResult failed; // the first failure; the set is then dropped
    bool done = false;     // committed, or dropped after a failure
};

FileSet::FileSet() : d(std::make_unique<Data>()) {}

FileSet::~FileSet()
{
    if (!d->done)
        drop();
}

bool FileSet::failed() const
{
    return !d->failed.ok();
}

void FileSet::drop()
{
    for (Entry& e : d->entries) {
        removeFile(e.temporary);
        removeFile(e.kept);
        e.temporary.clear();
        e.kept.clear();
    }
    d->done = true;
}

FileSaveResult FileSet::add(const QString& path, const FileWriter& write)
{
    if (d->done)
        return d->failed.ok() ? FileSaveResult{path, EINVAL, QString()} : d->failed;
    auto fail = [this](const QString& at, int code) {
        d->failed.path = at;
        d->failed.code = code;
        drop();
        return d->failed;
    };
    if (path.isEmpty())
        return fail(QString(), ENOENT);
    Entry e;
    e.path = path;
    // A link is followed: the file it points to gets the new content.
    const QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        e.path = info.canonicalFilePath();
    struct stat st {};
    if (::stat(native(e.path).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return fail(path, EISDIR);
        e.hadOld = true;
        e.mode = st.st_mode;
    }
    // The new content whole on the disk; nothing replaced yet.
    int code = injected(FileSaveStep::Write, e.path);
    if (!code)
        code = writeNew(e.path, "new", write, e.hadOld ? &e.mode : nullptr, &e.temporary);
    d->entries.append(e);
    if (code)
        return fail(e.path, code);
    return FileSaveResult();
}

FileSaveResult FileSet::commit()
{
    if (d->done)
        return d->failed.ok() ? FileSaveResult{QString(), EINVAL, QString()} : d->failed;
    FileSaveResult result;
    QList<Entry>& entries = d->entries;
    auto fail = [&result](const Entry& e, int code) {
        result.path = e.path;
        result.code = code;
    };
    // The old files kept aside, still in place.
    for (Entry& e : entries) {
        if (!e.hadOld)
            continue;
        if (const int code = keepOld(e)) {
            fail(e, code);
            d->failed = result;
            drop();
            return result;
        }
    }
    // The new files take the old ones' places; a failure puts back those
    // already replaced, newest first.
    for (int k = 0; k < entries.size(); ++k) {
        Entry& e = entries[k];
        int code = injected(FileSaveStep::Replace, e.path);
        if (!code && ::rename(native(e.temporary).constData(), native(e.path).constData()) != 0)
            code = errno;
        if (!code) {
            e.replaced = true;
            e.temporary.clear();
            continue;
        }
        fail(e, code);
        // What could not be undone is told file by file, with where the old
        // content is, and the files that are as they were beside it: the
        // user has to put the set together by hand.
        QStringList stuck;
        for (int j = k - 1; j >= 0; --j) {
            Entry& done = entries[j];
            if (!done.replaced)
                continue;
            int undo = injected(FileSaveStep::Restore, done.path);
            if (!done.hadOld) {
                if (!undo && ::unlink(native(done.path).constData()) != 0)
                    undo = errno;
                if (undo) {
                    stuck << QStringLiteral("%1 holds the new content and could not be removed (%2); there was "
                                            "no such file before")
                                 .arg(done.path, File_Error_Reason(undo));
                } else {
                    done.replaced = false;
                }
                continue;
            }
            if (!undo && ::rename(native(done.kept).constData(), native(done.path).constData()) != 0)
                undo = errno;
            if (undo) {
                stuck << QStringLiteral("%1 holds the new content and could not be put back (%2); its old "
                                        "content is kept as %3")
                             .arg(done.path, File_Error_Reason(undo), done.kept);
                done.kept.clear(); // kept for the user, not removed below
            } else {
                done.kept.clear();
                done.replaced = false;
            }
        }
        if (!stuck.isEmpty()) {
            QStringList asBefore;
            for (const Entry& other : std::as_const(entries))
                if (!other.replaced)
                    asBefore << other.path;
            result.notRestored = stuck.join(QStringLiteral("; "));
            if (!asBefore.isEmpty())
                result.notRestored += QStringLiteral("; as they were: ") + asBefore.join(QStringLiteral(", "));
        }
        d->failed = result;
        drop();
        return result;
    }
    for (Entry& e : entries) {
        removeFile(e.kept);
        e.kept.clear();
        syncFolder(e.path);
    }
    d->done = true;
    return result;
}

namespace {

struct Source {
    QString path;
    FileWriter content;
};

FileSaveResult saveAll(const QList<Source>& files)
{
    FileSet set;
    for (const Source& f : files) {
        const FileSaveResult written = set.add(f.path, f.content);
        if (!written.ok())
            return written;
    }
    return set.commit();
}

} // namespace

FileSaveResult Save_Files(const QList<FileContent>& files)
{
    QList<Source> sources;
    sources.reserve(files.size());
    for (const FileContent& f : files)
        sources.append({f.path, whole(f.bytes)});
    return saveAll(sources);
}

FileSaveResult Save_File(const QString& path, const QByteArray& bytes)
{
    return saveAll({{path, whole(bytes)}});
}

FileSaveResult Save_File(const QString& path, const FileWriter& write)
{
    return saveAll({{path, write}});
}

int Make_Folder(const QString& path)
{
    if (path.isEmpty())
        return ENOENT;
    if (::mkdir(native(path).constData(), 0777) == 0)
        return 0;
    const int code = errno;
    struct stat st {};
    if (code == EEXIST && ::stat(native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return 0;
    return code;
}

QString FileSaveResult::reason() const
{
    return File_Error_Reason(code);
}

QString FileSaveResult::advice() const
{
    return File_Error_Advice(code);
}

QString File_Error_Reason(int code)
{
    if (code == 0)
        return QString();
    return QString::fromLocal8Bit(std::strerror(code));
}

QString File_Error_Advice(int code)
{
    switch (code) {
    case ENOSPC:
        return QStringLiteral("Free some space on that disk, or choose a folder on another disk.");
    case EDQUOT:
        return QStringLiteral("Your share of that disk is used up: free some of it, or choose a folder on "
                              "another disk.");
    case EACCES:
    case EPERM:
        return QStringLiteral("You may not write there: change the permissions of the folder or the file, or "
                              "choose a folder you may write in.");
    case EROFS:
        return QStringLiteral("That disk is mounted read-only: choose a folder on another disk.");
    case ENOENT:
        return QStringLiteral("The folder is not there (any more): make it again, or choose another folder.");
    case ENOTDIR:
        return QStringLiteral("A file stands where the path needs a folder: move it away, or choose another "
                              "folder.");
    case EEXIST:
        return QStringLiteral("A file of that name stands where the folder should be: move or rename it.");
    case EISDIR:
        return QStringLiteral("A folder stands where the file should be: move it away, or choose another name.");
    case EFBIG:
        return QStringLiteral("The file is larger than this system lets the program write: choose a folder on "
                              "another disk, or raise the file size limit.");
    case ENAMETOOLONG:
        return QStringLiteral("Choose a shorter name or a folder nearer the top.");
    case EIO:
        return QStringLiteral("The disk reported a fault: check the disk and its connection.");
    default:
        return QStringLiteral("Check the folder and the disk, then try again.");
    }
}
