// The solver run with stand-in solvers: the contract (one argument, the
// application directory), results read only after a clean exit, failures
// reported with their reason, the results of the run before kept on disk
// and in the record until new ones are accepted, and a cancel that ends the
// solver and all it started. The real solver's own reports are progress.

#include "aero/apameres.h"
#include "aero/apamerun.h"
#include "tests/aero/fakesolver.h"
#include "tests/common/statewait.h"

#include "core/parastruct.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

#include <memory>

class TestApameRun : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> programs;
    std::unique_ptr<QTemporaryDir> output;
    GlobClass glob;
    std::unique_ptr<ParaStruct> design;

    QString casePath() const { return output->filePath("wings"); }

    // Results of a run before, a little different from the fixture the
    // stand-ins copy, so that they cannot be taken for new ones.
    QByteArray writeStale()
    {
        QFile fixture(fakesolver::resultsFixture());
        if (!fixture.open(QIODevice::ReadOnly))
            return QByteArray();
        const QByteArray bytes = fixture.readAll() + "\n";
        QFile stale(casePath() + ".res");
        if (!stale.open(QIODevice::WriteOnly) || stale.write(bytes) != bytes.size())
            return QByteArray();
        return bytes;
    }

    QByteArray resultsOnDisk() const
    {
        QFile f(casePath() + ".res");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }

    // What the run leaves in the output folder besides the files named.
    QStringList leftBehind(const QStringList& expected) const
    {
        QStringList left = QDir(output->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& e : expected)
            left.removeAll(e);
        return left;
    }

private slots:
    void init()
    {
        programs = std::make_unique<QTemporaryDir>();
        output = std::make_unique<QTemporaryDir>();
        glob.dxfDir = output->path();
        glob.prgPath = "/designs/run.prg";
        design = std::make_unique<ParaStruct>();
    }

    void solverWritesResults()
    {
        const QByteArray stale = writeStale();
        QVERIFY(!stale.isEmpty());
        QVERIFY(fakesolver::install(programs->path(), fakesolver::copiesResults(programs->filePath("args"))));
        ApameRes res;
        res.chartKind = 3;
        QList<qint64> ticks;
        const ApameOutcome outcome = ApameInputExec(
            casePath(), design.get(), &glob, &res,
            [&ticks](qint64 ms) {
                ticks.append(ms);
                return true;
            },
            programs->path());
        QVERIFY2(outcome.solved(), qPrintable(outcome.message));
        QVERIFY(outcome.message.isEmpty());
        QCOMPARE(res.nodeNum, 6);
        QCOMPARE(res.cp.size(), 2);
        QCOMPARE(res.projectPath, glob.prgPath);
        QCOMPARE(res.chartKind, 3);
        // One argument, a case path named as ours in a folder of the run's
        // own beside it; the solver runs in our directory.
        QFile args(programs->filePath("args"));
        QVERIFY(args.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLocal8Bit(args.readAll()).split('\n');
        QCOMPARE(lines.at(0), QStringLiteral("1"));
        const QFileInfo runCase(lines.at(1));
        QCOMPARE(runCase.fileName(), QStringLiteral("wings"));
        QCOMPARE(QFileInfo(runCase.path()).absolutePath(), output->path());
        QCOMPARE(lines.at(2), QDir::currentPath());
        // The new results took the place of the old ones; the run's folder
        // is gone.
        QFile fixture(fakesolver::resultsFixture());
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        QCOMPARE(resultsOnDisk(), fixture.readAll());
        QCOMPARE(res.source.file, QFileInfo(casePath() + ".res").absoluteFilePath());
        QCOMPARE(leftBehind({"wings.res"}), QStringList());
    }

    // "./apame_lnx32" from the current directory, as the program starts it.
    void programFromTheCurrentDirectory()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::copiesResults()));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(programs->path()));
        ApameRun run;
        QCOMPARE(run.program(), programs->filePath("apame_lnx32"));
        ApameRes res;
        const ApameOutcome outcome = ApameInputExec(casePath(), design.get(), &glob, &res);
        QDir::setCurrent(before);
        QVERIFY2(outcome.solved(), qPrintable(outcome.message));
    }

    void exitCodeIsReported()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::exits3()));
        const QByteArray stale = writeStale();
        ApameRes res;
        const ApameOutcome outcome = ApameInputExec(casePath(), design.get(), &glob, &res, {}, programs->path());
        QCOMPARE(outcome.kind, ApameOutcome::Failed);
        QCOMPARE(outcome.exitCode, 3);
        QVERIFY2(outcome.message.contains("exit code 3"), qPrintable(outcome.message));
        QVERIFY(outcome.message.contains("bad input: no NODES section"));
        // The results of the run before stay, on disk as they were, and are
        // not read as new.
        QCOMPARE(resultsOnDisk(), stale);
        QCOMPARE(res.nodeNum, 0);
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        const QString fixture = fakesolver::resultsFixture();
        QTest::newRow("crash") << "kill -SEGV $$" << int(ApameOutcome::Crashed) << "stopped abnormally";
        QTest::newRow("crash after writing results") << "cp '" + fixture + "' \"$1.res\"\nkill -SEGV $$"
                                                     << int(ApameOutcome::Crashed) << "stopped abnormally";
        QTest::newRow("no results") << "exit 0" << int(ApameOutcome::NoResults) << "without writing results";
        QTest::newRow("empty results") << ": > \"$1.res\"" << int(ApameOutcome::NoResults)
                                       << "The solver results of this run are empty.";
        QTest::newRow("partial results") << "head -n 40 '" + fixture + "' > \"$1.res\""
                                         << int(ApameOutcome::NoResults) << "NODES section ends after 1 of the 6 rows";
        QTest::newRow("not executable") << "" << int(ApameOutcome::NotStarted) << "could not be started";
    }
    void failuresAreReported()
    {
        QFETCH(QString, body);
        QFETCH(int, kind);
        QFETCH(QString, message);
        QVERIFY(fakesolver::install(programs->path(), body));
        if (kind == ApameOutcome::NotStarted)
            QFile(programs->filePath("apame_lnx32")).setPermissions(QFile::ReadOwner);
        const QByteArray stale = writeStale();
        ApameRes res;
        QVERIFY(Read_Apame_Results(fakesolver::resultsFixture(), &res));
        res.nodes[0] = QVector3D(7, 7, 7);
        const ApameOutcome outcome = ApameInputExec(casePath(), design.get(), &glob, &res, {}, programs->path());
        QCOMPARE(int(outcome.kind), kind);
        QVERIFY2(outcome.message.contains(message), qPrintable(outcome.message));
        // The record keeps the results it had, the disk the file it had,
        // and the user is told that it does.
        QCOMPARE(res.nodes.at(0), QVector3D(7, 7, 7));
        QCOMPARE(resultsOnDisk(), stale);
        if (kind != ApameOutcome::NotStarted)
            QVERIFY2(outcome.message.endsWith(QStringLiteral("The results of the run before stay in %1.")
                                                  .arg(casePath() + ".res")),
                     qPrintable(outcome.message));
        QCOMPARE(leftBehind({"wings.res"}), QStringList());
    }

    // A solver that dies has no last words: its progress reports are not
    // quoted as if they were, only a line that tells of an error is.
    void onlyErrorLinesAreQuoted_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected"); // in the message
        QTest::addColumn<QString>("quoted");   // the quoted line; empty: nothing quoted
        const QString head = "echo '1200 surface panels, 40 wake panels, 13 cases' >&2\n";
        QTest::newRow("killed in the assembly")
            << head + "echo 'assembly 10 %' >&2\necho 'assembly 40 %' >&2\nkill -KILL $$" << int(ApameOutcome::Crashed)
            << "signal 9" << "";
        QTest::newRow("killed in the factorisation")
            << head + "echo 'assembly 100 %' >&2\necho 'factorisation 40 %' >&2\nkill -KILL $$"
            << int(ApameOutcome::Crashed) << "stopped abnormally" << "";
        QTest::newRow("killed after a phase name")
            << head + "echo 'factorisation' >&2\necho 'solution' >&2\nkill -TERM $$" << int(ApameOutcome::Crashed)
            << "signal 15" << "";
        QTest::newRow("killed after the mesh summary") << head + "kill -KILL $$" << int(ApameOutcome::Crashed)
                                                       << "stopped abnormally" << "";
        // The summary as the solver prints it names its threads.
        QTest::newRow("killed after the summary of one thread")
            << "echo '4920 surface panels, 120 wake panels, 13 cases, 1 thread' >&2\nkill -KILL $$"
            << int(ApameOutcome::Crashed) << "stopped abnormally" << "";
        QTest::newRow("killed after the summary of four threads")
            << "echo '4920 surface panels, 120 wake panels, 13 cases, 4 threads' >&2\necho 'assembly 30 %' >&2\n"
               "kill -TERM $$"
            << int(ApameOutcome::Crashed) << "signal 15" << "";
        QTest::newRow("killed after the mirror report")
            << head + "echo 'velocities' >&2\necho 'mirror-symmetric: 600 unknowns for 1200 surface panels' >&2\n"
                      "kill -KILL $$"
            << int(ApameOutcome::Crashed) << "stopped abnormally" << "";
        // More progress than the run keeps: the cut through a line leaves no
        // piece of it to be taken for a line of its own.
        QTest::newRow("long progress")
            << head + "i=0\nwhile [ $i -lt 700 ]; do echo \"assembly $((i % 100)) %\" >&2; i=$((i+1)); done\nkill -KILL $$"
            << int(ApameOutcome::Crashed) << "stopped abnormally" << "";
        QTest::newRow("aborted with a reason")
            << head + "echo 'assembly 40 %' >&2\necho 'free(): invalid pointer' >&2\nkill -ABRT $$"
            << int(ApameOutcome::Crashed) << "signal 6" << "free(): invalid pointer";
        QTest::newRow("failed with a reason")
            << head + "echo 'assembly 100 %' >&2\necho 'apame_lnx32: not enough memory' >&2\nexit 1"
            << int(ApameOutcome::Failed) << "exit code 1" << "apame_lnx32: not enough memory";
        QTest::newRow("failed after progress only")
            << head + "echo 'assembly 100 %' >&2\necho 'velocities' >&2\nexit 1" << int(ApameOutcome::Failed)
            << "exit code 1" << "";
    }
    void onlyErrorLinesAreQuoted()
    {
        QFETCH(QString, body);
        QFETCH(int, kind);
        QFETCH(QString, expected);
        QFETCH(QString, quoted);
        QVERIFY(fakesolver::install(programs->path(), body));
        ApameRes res;
        const ApameOutcome outcome = ApameInputExec(casePath(), design.get(), &glob, &res, {}, programs->path());
        QCOMPARE(int(outcome.kind), kind);
        QVERIFY2(outcome.message.contains(expected), qPrintable(outcome.message));
        if (quoted.isEmpty()) {
            QVERIFY2(!outcome.message.contains("said"), qPrintable(outcome.message));
            QVERIFY2(!outcome.message.contains('"'), qPrintable(outcome.message));
        } else {
            QVERIFY2(outcome.message.endsWith(QStringLiteral(" It said: \"%1\"").arg(quoted)), qPrintable(outcome.message));
        }
    }

    void missingSolver()
    {
        ApameRun run;
        run.setProgramDir(programs->path());
        ApameRes res;
        QSignalSpy finished(&run, &ApameRun::finished);
        QVERIFY(!run.start(casePath(), design.get(), &glob, &res));
        QCOMPARE(run.outcome().kind, ApameOutcome::NotStarted);
        QVERIFY(run.outcome().message.contains(programs->filePath("apame_lnx32")));
        QVERIFY(!run.isRunning());
        QCoreApplication::processEvents(); // a queued signal would come now
        QCOMPARE(finished.count(), 0);
    }

    // A solver that would not end on its own, and started a child of its
    // own, is ended with its child by the cancel, and leaves no results.
    void cancelEndsTheSolverAndItsChildren()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::sleeps(casePath() + ".sleeper")));
        const QByteArray stale = writeStale();
        ApameRes res;
        int calls = 0;
        qint64 last = -1;
        bool increasing = true;
        const ApameOutcome outcome = ApameInputExec(
            casePath(), design.get(), &glob, &res,
            [&](qint64 ms) {
                increasing = increasing && ms > last;
                last = ms;
                // Cancelled once the solver has started its child and the
                // progress has been reported a few times.
                return ++calls < 4 || !QFile::exists(casePath() + ".sleeper");
            },
            programs->path());
        QVERIFY(calls >= 4);
        QVERIFY(increasing);
        QCOMPARE(outcome.kind, ApameOutcome::Cancelled);
        QVERIFY(outcome.message.isEmpty());
        QCOMPARE(resultsOnDisk(), stale);
        QCOMPARE(leftBehind({"wings.res", "wings.sleeper"}), QStringList());
        QFile sleeper(casePath() + ".sleeper");
        QVERIFY(sleeper.open(QIODevice::ReadOnly));
        const qint64 pid = sleeper.readAll().trimmed().toLongLong();
        QVERIFY(pid > 0);
        WAIT_FOR_STATE(!fakesolver::alive(pid));
    }

    // The run object itself: finished once, the process number known while
    // it runs, and a second start refused meanwhile.
    void runObject()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::sleeps(casePath() + ".sleeper")));
        ApameRun run;
        run.setProgramDir(programs->path());
        ApameRes res;
        QSignalSpy finished(&run, &ApameRun::finished);
        QVERIFY(run.start(casePath(), design.get(), &glob, &res));
        QVERIFY(run.isRunning());
        const qint64 pid = run.processId();
        QVERIFY(fakesolver::alive(pid));
        QVERIFY(!run.start(casePath(), design.get(), &glob, &res));
        WAIT_FOR_STATE(QFile::exists(casePath() + ".sleeper"));
        run.cancel();
        WAIT_FOR_EQUAL(finished.count(), 1);
        QCOMPARE(run.outcome().kind, ApameOutcome::Cancelled);
        QVERIFY(!fakesolver::alive(pid));
        run.cancel(); // nothing to cancel any more
        QCoreApplication::processEvents();
        QCOMPARE(finished.count(), 1);
    }

    // Destroying a run that is still going ends the solver.
    void destroyedWhileRunning()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::sleeps(casePath() + ".sleeper")));
        ApameRes res;
        qint64 pid = 0;
        {
            ApameRun run;
            run.setProgramDir(programs->path());
            QVERIFY(run.start(casePath(), design.get(), &glob, &res));
            pid = run.processId();
            WAIT_FOR_STATE(QFile::exists(casePath() + ".sleeper"));
        }
        WAIT_FOR_STATE(!fakesolver::alive(pid));
        QFile sleeper(casePath() + ".sleeper");
        QVERIFY(sleeper.open(QIODevice::ReadOnly));
        const qint64 child = sleeper.readAll().trimmed().toLongLong();
        WAIT_FOR_STATE(!fakesolver::alive(child));
    }

    // What the solver of the build writes to its error output on a good
    // run is progress, every line of it: killed at any point, it has no
    // last words to quote.
    void realSolverReportsProgressOnly_data()
    {
        QTest::addColumn<QString>("input");
        QTest::newRow("two strips") << "two-strips-18-panels";
        QTest::newRow("mirror-symmetric wing") << "wings_11cells_smooth";
    }
    void realSolverReportsProgressOnly()
    {
        QFETCH(QString, input);
        const QString solver = qEnvironmentVariable("WL_APP_DIR") + "/apame_lnx32";
        QVERIFY(QFile::exists(solver));
        QVERIFY(QFile::copy(qEnvironmentVariable("WL_SOURCE_DIR") + "/tests/fuzz/corpus/inp/" + input + ".inp",
                            casePath() + ".inp"));
        QProcess p;
        p.start(solver, {casePath()});
        QVERIFY(p.waitForFinished(-1));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray said = p.readAllStandardError();
        const QStringList lines = QString::fromLocal8Bit(said).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 3);
        for (const QString& line : lines)
            QVERIFY2(Is_Solver_Progress_Line(line), qPrintable(line));
        QCOMPARE(Solver_Error_Line(said), QString());
    }

    void elapsedText_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << " 0 h  0 m  0 sec";
        QTest::newRow("1 h 2 m 5.4 s") << qint64(3725400) << " 1 h  2 m  5 sec";
        QTest::newRow("59.99 s") << qint64(59990) << " 0 h  0 m  59 sec";
        QTest::newRow("one minute") << qint64(60000) << " 0 h  1 m  0 sec";
    }
    void elapsedText()
    {
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(Elapsed_Time_Text(ms), text);
    }
};

QTEST_GUILESS_MAIN(TestApameRun)
#include "tst_apamerun.moc"
