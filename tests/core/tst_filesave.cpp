// Saving a set of files as one: whole files or none, the old ones back after
// any failure, and the system's reason for it.

#include <QTest>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

#include "core/filesave.h"

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

QString systemText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

class TestFileSave : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList allFiles() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        for (const QString& f : allFiles())
            QFile::remove(path(f));
        Set_File_Save_Fault({});
    }
    void cleanup() { Set_File_Save_Fault({}); }

    void writesEveryFileWhole()
    {
        put(path("a.prg"), "old design");
        QVERIFY(::chmod(QFile::encodeName(path("a.prg")).constData(), 0640) == 0);
        const QByteArray big(3 * 1024 * 1024 + 17, 'x');
        const FileSaveResult r = Save_Files({{path("a.prg"), "new design"}, {path("a.dsg"), big}, {path("a.cnp"), {}}});
        QVERIFY(r.ok());
        QCOMPARE(bytesOf(path("a.prg")), QByteArray("new design"));
        QCOMPARE(bytesOf(path("a.dsg")), big);
        QCOMPARE(bytesOf(path("a.cnp")), QByteArray());
        // The file keeps its permissions; nothing else is left beside them.
        QCOMPARE(modeOf(path("a.prg")), mode_t(0640));
        QCOMPARE(allFiles(), QStringList({"a.cnp", "a.dsg", "a.prg"}));
    }

    // Each file of the set failing in turn, at its write or at its rename:
    // every file as it was (a file that was not there is not there), no
    // temporary left, and the failing file and reason told.
    void anyFailureLeavesEveryFile_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("code");
        const char* names[3] = {"first", "second", "new"};
        const int codes[3] = {ENOSPC, EROFS, EACCES};
        for (int f = 0; f < 3; ++f)
            for (int step : {int(FileSaveStep::Write), int(FileSaveStep::Replace)})
                QTest::addRow("%s file, %s", names[f], step ? "rename" : "write") << f << step << codes[f];
    }
    void anyFailureLeavesEveryFile()
    {
        QFETCH(int, failing);
        QFETCH(int, step);
        QFETCH(int, code);
        const QStringList files = {path("p.dsg"), path("p.prg"), path("p.cnp")};
        put(files[0], "lines as saved before");
        put(files[1], "design as saved before");
        const QStringList before = allFiles();
        Set_File_Save_Fault([&](FileSaveStep s, const QString& p) {
            return int(s) == step && p == files[failing] ? code : 0;
        });
        const FileSaveResult r = Save_Files({{files[0], "new lines"}, {files[1], "new design"}, {files[2], "pieces"}});
        QVERIFY(!r.ok());
        QCOMPARE(r.code, code);
        QCOMPARE(r.path, files[failing]);
        QVERIFY(r.notRestored.isEmpty());
        QCOMPARE(r.reason(), systemText(code));
        QCOMPARE(bytesOf(files[0]), QByteArray("lines as saved before"));
        QCOMPARE(bytesOf(files[1]), QByteArray("design as saved before"));
        QVERIFY(!QFile::exists(files[2]));
        QCOMPARE(allFiles(), before);
    }

    // The last rename fails and putting back the files replaced before it
    // fails too: every file that could not be put back is named with the
    // place of its old content, which stays on the disk; the others are
    // named as they were, and are.
    void rollbackThatFails_data()
    {
        QTest::addColumn<QStringList>("stuck"); // names whose undo fails
        QTest::newRow("one file") << QStringList{"q.dsg"};
        QTest::newRow("two files") << QStringList{"q.dsg", "q.cnp"};
        QTest::newRow("a file that was not there") << QStringList{"q.new"};
    }
    void rollbackThatFails()
    {
        QFETCH(QStringList, stuck);
        const QStringList names = {"q.dsg", "q.cnp", "q.new", "q.prg"};
        const QByteArray old[4] = {"old lines", "old pieces", "", "old design"};
        for (int i = 0; i < 4; ++i)
            if (names[i] != "q.new")
                put(path(names[i]), old[i]);
        Set_File_Save_Fault([&](FileSaveStep s, const QString& p) {
            if (s == FileSaveStep::Replace && p == path("q.prg"))
                return ENOSPC;
            if (s == FileSaveStep::Restore && stuck.contains(QFileInfo(p).fileName()))
                return EIO;
            return 0;
        });
        const FileSaveResult r = Save_Files({{path("q.dsg"), "new lines"}, {path("q.cnp"), "new pieces"},
                                             {path("q.new"), "new file"}, {path("q.prg"), "new design"}});
        Set_File_Save_Fault({});
        QVERIFY(!r.ok());
        QCOMPARE(r.code, ENOSPC);
        QCOMPARE(r.path, path("q.prg"));
        QVERIFY(!r.notRestored.isEmpty());
        const QString told = r.notRestored;
        const QStringList parts = told.split("; as they were: ");
        QCOMPARE(parts.size(), 2);
        const QStringList asBefore = parts[1].split(", ");
        for (int i = 0; i < 4; ++i) {
            const QString& name = names[i];
            if (stuck.contains(name)) {
                QVERIFY2(told.contains(path(name) + " holds the new content"), qPrintable(told));
                QVERIFY2(told.contains(systemText(EIO)), qPrintable(told));
                QVERIFY(!asBefore.contains(path(name)));
                if (name == "q.new") {
                    QVERIFY2(told.contains("there was no such file before"), qPrintable(told));
                    continue;
                }
                // the old content is where the message says
                const QRegularExpression kept(QRegularExpression::escape(path(name))
                                              + " holds the new content[^;]*; its old content is kept as ([^;]+)");
                const QRegularExpressionMatch m = kept.match(told);
                QVERIFY2(m.hasMatch(), qPrintable(told));
                QCOMPARE(bytesOf(m.captured(1)), old[i]);
                QCOMPARE(bytesOf(path(name)), QByteArray("new ") + QByteArray(old[i]).mid(4));
            } else {
                QVERIFY2(asBefore.contains(path(name)), qPrintable(told));
                QCOMPARE(bytesOf(path(name)), name == "q.new" ? QByteArray("<missing>") : old[i]);
            }
        }
        // nothing else beside them but the kept old contents told of
        int keptFiles = 0;
        for (const QString& f : allFiles())
            keptFiles += names.contains(f) ? 0 : 1;
        QCOMPARE(keptFiles, int(stuck.size() - stuck.count("q.new")));
    }

    // A real write the system refuses half-way (the file size limit of the
    // process): the file that fits is not replaced either.
    void systemRefusesAWrite()
    {
        put(path("s.dsg"), "small before");
        put(path("s.prg"), "large before");
        struct rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 100 * 1024;
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const FileSaveResult r =
            Save_Files({{path("s.dsg"), QByteArray(1000, 'd')}, {path("s.prg"), QByteArray(400 * 1024, 'p')}});
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(r.code, EFBIG);
        QCOMPARE(r.path, path("s.prg"));
        QCOMPARE(bytesOf(path("s.dsg")), QByteArray("small before"));
        QCOMPARE(bytesOf(path("s.prg")), QByteArray("large before"));
        QCOMPARE(allFiles(), QStringList({"s.dsg", "s.prg"}));
    }

    // Content handed over piece by piece lands whole and in order; when the
    // system refuses a piece the writer hears why, stops, and the old file
    // stays with nothing left beside it.
    void piecesOfAStreamedSave()
    {
        auto pieces = [](int count, int* handed) {
            return [count, handed](const FilePiece& put) {
                for (int k = 0; k < count; ++k) {
                    const QByteArray piece(64 * 1024, char('a' + k % 26));
                    ++*handed;
                    if (const int code = put(piece.constData(), piece.size()))
                        return code;
                }
                return 0;
            };
        };
        QByteArray whole;
        for (int k = 0; k < 7; ++k)
            whole += QByteArray(64 * 1024, char('a' + k));
        int handed = 0;
        QVERIFY(Save_File(path("w.dxf"), pieces(7, &handed)).ok());
        QCOMPARE(bytesOf(path("w.dxf")), whole);
        QCOMPARE(handed, 7);

        struct rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 100 * 1024;
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        handed = 0;
        const FileSaveResult r = Save_File(path("w.dxf"), pieces(7, &handed));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(r.code, EFBIG);
        QCOMPARE(handed, 2);
        QCOMPARE(bytesOf(path("w.dxf")), whole);
        QCOMPARE(allFiles(), QStringList({"w.dxf"}));
    }

    // A set written file by file as its contents are made: nothing on disk
    // changes before the commit, every file after it; a set left without
    // commit, or stopped by a failed write, leaves every file as it was and
    // nothing beside them, and takes no more files.
    void setOfFilesAddedOneByOne_data()
    {
        QTest::addColumn<int>("failing"); // the file whose write fails; -1 none
        QTest::addColumn<bool>("commit");
        QTest::newRow("committed") << -1 << true;
        QTest::newRow("dropped before the commit") << -1 << false;
        QTest::newRow("second write fails") << 1 << true;
        QTest::newRow("first write fails") << 0 << true;
    }
    void setOfFilesAddedOneByOne()
    {
        QFETCH(int, failing);
        QFETCH(bool, commit);
        const QStringList files = {path("a.dxf"), path("b.dxf"), path("c.dxf")};
        put(files[0], "earlier a");
        put(files[2], "earlier c");
        const QStringList before = allFiles();
        Set_File_Save_Fault([&](FileSaveStep s, const QString& p) {
            return s == FileSaveStep::Write && failing >= 0 && p == files[failing] ? ENOSPC : 0;
        });
        auto content = [](const QByteArray& bytes) {
            return FileWriter([bytes](const FilePiece& put) { return put(bytes.constData(), bytes.size()); });
        };
        FileSaveResult last;
        {
            FileSet set;
            for (int k = 0; k < files.size(); ++k) {
                const FileSaveResult added = set.add(files[k], content("new " + QByteArray(1, char('a' + k))));
                QCOMPARE(added.ok(), failing < 0 || k < failing);
                if (k == failing) {
                    QCOMPARE(added.code, ENOSPC);
                    QCOMPARE(added.path, files[k]);
                }
                // Nothing replaced yet.
                QCOMPARE(bytesOf(files[0]), QByteArray("earlier a"));
            }
            QCOMPARE(set.failed(), failing >= 0);
            if (commit)
                last = set.commit();
        }
        if (failing < 0 && commit) {
            QVERIFY(last.ok());
            QCOMPARE(bytesOf(files[0]), QByteArray("new a"));
            QCOMPARE(bytesOf(files[1]), QByteArray("new b"));
            QCOMPARE(bytesOf(files[2]), QByteArray("new c"));
            QCOMPARE(allFiles(), QStringList({"a.dxf", "b.dxf", "c.dxf"}));
            return;
        }
        if (commit) {
            QCOMPARE(last.code, ENOSPC);
            QCOMPARE(last.path, files[failing]);
        }
        QCOMPARE(bytesOf(files[0]), QByteArray("earlier a"));
        QCOMPARE(bytesOf(files[2]), QByteArray("earlier c"));
        QCOMPARE(allFiles(), before);
    }

    void linkIsFollowed()
    {
        QVERIFY(QDir(dir.path()).mkpath("real"));
        put(path("real/target.prg"), "before");
        QVERIFY(QFile::link(path("real/target.prg"), path("link.prg")));
        QVERIFY(Save_File(path("link.prg"), "after").ok());
        QVERIFY(QFileInfo(path("link.prg")).isSymLink());
        QCOMPARE(bytesOf(path("real/target.prg")), QByteArray("after"));
    }

    void pathsThatCannotBeFiles()
    {
        QVERIFY(QDir(dir.path()).mkpath("folder.prg"));
        FileSaveResult r = Save_File(path("folder.prg"), "x");
        QCOMPARE(r.code, EISDIR);
        r = Save_File(path("no/such/folder/x.prg"), "x");
        QCOMPARE(r.code, ENOENT);
        QCOMPARE(Save_File(QString(), "x").code, ENOENT);
        put(path("plain"), "file");
        QCOMPARE(Save_File(path("plain/x.prg"), "x").code, ENOTDIR);
        QCOMPARE(allFiles(), QStringList({"plain"}));
    }

    void adviceFitsTheReason_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("advice");
        QTest::newRow("disk full") << ENOSPC << "Free some space";
        QTest::newRow("quota") << EDQUOT << "used up";
        QTest::newRow("permission") << EACCES << "permissions";
        QTest::newRow("read-only disk") << EROFS << "read-only";
        QTest::newRow("folder gone") << ENOENT << "not there";
        QTest::newRow("file in the way") << EEXIST << "A file of that name stands";
        QTest::newRow("folder in the way") << EISDIR << "A folder stands";
        QTest::newRow("size limit") << EFBIG << "larger than";
    }
    void adviceFitsTheReason()
    {
        QFETCH(int, code);
        QFETCH(QString, advice);
        QCOMPARE(File_Error_Reason(code), systemText(code));
        QVERIFY2(File_Error_Advice(code).contains(advice), qPrintable(File_Error_Advice(code)));
        QVERIFY(File_Error_Reason(0).isEmpty());
    }

    void makeFolder()
    {
        QCOMPARE(Make_Folder(path("out")), 0);
        QVERIFY(QFileInfo(path("out")).isDir());
        QCOMPARE(Make_Folder(path("out")), 0);
        put(path("blocked"), "a file");
        QCOMPARE(Make_Folder(path("blocked")), EEXIST);
        QCOMPARE(Make_Folder(path("missing/out")), ENOENT);
    }
};

QTEST_GUILESS_MAIN(TestFileSave)
#include "tst_filesave.moc"
