#pragma once

// Runs the outside panel solver: "apame_lnx32" from the application
// directory (the current directory), with one argument, the case path
// without extension (the output directory + "/wings"). The solver reads the
// case path + ".inp" and writes the case path + ".res".
//
// The run never blocks the calling thread: it is started and watched
// through the event loop, can be cancelled at any time (which kills the
// solver and whatever it started), and its results are read only after a
// clean exit. The solver writes into a working folder of the run's own
// beside the case ("CASE" there, with a second name of CASE.inp); its
// results replace CASE.res only once they are read and accepted, so a run
// that fails, is cancelled or writes no usable results leaves the results
// of the run before as they were, on disk and in the record, and nothing of
// its own. Results read after a clean exit carry the source of the design
// as it was at the start (Analysis_Source_Of); after any other end the
// record keeps its earlier results with their own source.

#include "aero/apameres.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ParaStruct;
class GlobClass;
class QProcess;
class QTemporaryDir;

struct ApameOutcome {
    enum Kind {
        Solved,     // clean exit, results read into the record
        NotStarted, // the solver could not be started (or its working folder not made)
        Crashed,    // the solver stopped abnormally
        Failed,     // the solver exited with a code other than 0
        NoResults,  // clean exit, but no usable results file
        Cancelled,  // the user stopped the run
    };
    Kind kind = NotStarted;
    int exitCode = 0;
    QString message; // for the user; empty when solved or cancelled

    bool solved() const { return kind == Solved; }
};

class ApameRun : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kProgramName = "apame_lnx32";

    explicit ApameRun(QObject* parent = nullptr);
    ~ApameRun() override; // a solver still running is killed

    // Where the solver program lies; the current directory unless set.
    void setProgramDir(const QString& dir);
    QString program() const;

    // Starts the solver on casePath (in the run's working folder). False
    // when it could not start; outcome() then says why and finished() is not
    // emitted. Otherwise finished() follows exactly once.
    bool start(const QString& casePath, const ParaStruct* design, GlobClass* glob, ApameRes* res);
    // Kills the solver (and its children); finished() with Cancelled follows.
    void cancel();

    bool isRunning() const { return running_; }
    qint64 elapsedMs() const;
    // The last line the solver has written to its error output so far, as
    // the program's solver reports its progress ("factorisation 62 %");
    // empty before the first.
    QString lastSaid() const;
    qint64 processId() const { return pid_; }
    const ApameOutcome& outcome() const { return outcome_; }

signals:
    void finished(const ApameOutcome& outcome);

private:
    void onFinished(int exitCode, bool crashed);
    void end(ApameOutcome::Kind kind, int exitCode, const QString& message);
    void killAll();

    QString programDir_;
    QString resultsPath_;                  // CASE.res
    std::unique_ptr<QTemporaryDir> runDir_; // where the solver works during the run
    QString runResults_;                   // CASE.res in runDir_
    const ParaStruct* design_ = nullptr;
    GlobClass* glob_ = nullptr;
    ApameRes* res_ = nullptr;
    QProcess* process_ = nullptr;
    QElapsedTimer clock_;
    qint64 pid_ = 0;
    QByteArray stderr_;
    bool running_ = false;
    bool cancelled_ = false;
    ApameOutcome outcome_;
    AnalysisSource source_;
};

// The run in one call: starts the solver and returns when it has ended,
// while the thread's event loop keeps running (windows repaint). `progress`,
// when given, is called about ten times a second with the elapsed
// milliseconds; returning false cancels the run.
ApameOutcome ApameInputExec(const QString& casePath, const ParaStruct* design, GlobClass* glob, ApameRes* res,
                            const std::function<bool(qint64 elapsedMs)>& progress = {},
                            const QString& programDir = QString());

// Elapsed time as the analysis shows it: " 1 h  2 m  5 sec".
QString Elapsed_Time_Text(qint64 ms);

// Whether a line of the solver's error output is one of its progress
// reports: the mesh summary ("1200 surface panels, 40 wake panels, 13
// cases, 4 threads"), the halved system of a mirror-symmetric mesh
// ("mirror-symmetric: 600 unknowns for 1200 surface panels"), a phase with
// its percentage ("assembly 40 %"), or a bare phase name ("solution",
// "done").
bool Is_Solver_Progress_Line(const QString& line);

// The last line of the solver's error output that is not a progress report,
// trimmed; empty when it wrote none. A solver that was killed in the middle
// of its work has no last words, and its last progress report is none.
QString Solver_Error_Line(const QByteArray& errorOutput);
