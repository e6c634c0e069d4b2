#include "aero/apamerun.h"

#include "aero/apameres.h"

#include "core/parastruct.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

constexpr int kStartWaitMs = 5000;
constexpr int kKillWaitMs = 1000;
constexpr int kStderrKeep = 4096;
constexpr int kTickMs = 100;

} // namespace

ApameRun::ApameRun(QObject* parent) : QObject(parent), programDir_(QDir::currentPath()) {}

ApameRun::~ApameRun()
{
    if (running_ && process_) {
        killAll();
        process_->waitForFinished(kKillWaitMs);
    }
}

void ApameRun::setProgramDir(const QString& dir)
{
    programDir_ = dir;
}

QString ApameRun::program() const
{
    return QDir(programDir_).absoluteFilePath(QLatin1String(kProgramName));
}

qint64 ApameRun::elapsedMs() const
{
    return clock_.isValid() ? clock_.elapsed() : 0;
}

bool ApameRun::start(const QString& casePath, const ParaStruct* design, GlobClass* glob, ApameRes* res)
{
    if (running_)
        return false;
    design_ = design;
    glob_ = glob;
    res_ = res;
    cancelled_ = false;
    stderr_.clear();
    pid_ = 0;
    outcome_ = ApameOutcome();
    clock_.start();
    // The design may be edited while the solver runs: the results belong
    // to the design the input was written from.
    source_ = design ? Analysis_Source_Of(*design) : AnalysisSource();

    resultsPath_ = casePath + QStringLiteral(".res");
    // The solver writes into a folder of the run's own beside the case, on
    // the same disk: the results of the run before stay where they are until
    // this run's are read and accepted, and then one rename replaces them.
    const QFileInfo caseInfo(casePath);
    runDir_ = std::make_unique<QTemporaryDir>(caseInfo.absolutePath() + QStringLiteral("/.solver-run-XXXXXX"));
    if (!runDir_->isValid()) {
        const QString why = runDir_->errorString();
        runDir_.reset();
        outcome_ = {ApameOutcome::NotStarted, 0,
                    QStringLiteral("The solver was not started: its working folder cannot be made in %1: %2.")
                        .arg(caseInfo.absolutePath(), why)};
        return false;
    }
    const QString runCase = runDir_->filePath(caseInfo.fileName());
    // The input goes with the case: a second name of the same file, or a
    // copy where the disk has no links.
    const QString input = casePath + QStringLiteral(".inp");
    if (QFile::exists(input) && ::link(QFile::encodeName(input).constData(),
                                       QFile::encodeName(runCase + QStringLiteral(".inp")).constData())
                                    != 0)
        QFile::copy(input, runCase + QStringLiteral(".inp"));
    runResults_ = runCase + QStringLiteral(".res");

    delete process_;
    process_ = new QProcess(this);
    process_->setProgram(program());
    process_->setArguments({runCase});
    // The solver's report is not read; only the end of its error output is
    // kept for the message of a failed run.
    process_->setStandardOutputFile(QProcess::nullDevice());
    // In a process group of its own, so that cancelling also ends whatever
    // the solver started.
    process_->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(process_, &QProcess::readyReadStandardError, this, [this] {
        stderr_ += process_->readAllStandardError();
        if (stderr_.size() > kStderrKeep) {
            stderr_ = stderr_.right(kStderrKeep);
            // The cut falls inside a line: its end alone would read as a
            // line of its own.
            const qsizetype lineEnd = stderr_.indexOf('\n');
            stderr_ = lineEnd < 0 ? QByteArray() : stderr_.mid(lineEnd + 1);
        }
    });
    connect(process_, &QProcess::finished, this,
            [this](int code, QProcess::ExitStatus status) { onFinished(code, status == QProcess::CrashExit); });

    process_->start(QIODevice::ReadWrite);
    if (!process_->waitForStarted(kStartWaitMs)) {
        const QString why = process_->errorString();
        process_->kill();
        process_->waitForFinished(kKillWaitMs);
        runDir_.reset();
        outcome_ = {ApameOutcome::NotStarted, 0,
                    QStringLiteral("The solver %1 could not be started: %2.").arg(program(), why)};
        return false;
    }
    pid_ = process_->processId();
    running_ = true;
    // Nothing is written to the solver's input.
    process_->closeWriteChannel();
    return true;
}

void ApameRun::killAll()
{
    if (pid_ > 0)
        ::kill(-pid_t(pid_), SIGKILL);
    if (process_)
        process_->kill();
}

void ApameRun::cancel()
{
    if (!running_)
        return;
    cancelled_ = true;
    killAll();
}

bool Is_Solver_Progress_Line(const QString& line)
{
    // The mesh summary names the threads the solver takes; a mesh that is
    // its own mirror image is solved on half the unknowns, and said so.
    static const QRegularExpression progress(QStringLiteral(
        "^(?:\\d+ surface panels, \\d+ wake panels, \\d+ cases(?:, \\d+ threads?)?"
        "|mirror-symmetric: \\d+ unknowns for \\d+ surface panels"
        "|[a-z]+(?: [a-z]+)* \\d{1,3} %|[a-z]+)$"));
    return progress.match(line.trimmed()).hasMatch();
}

QString Solver_Error_Line(const QByteArray& errorOutput)
{
    const QStringList lines = QString::fromLocal8Bit(errorOutput).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QString line = it->trimmed();
        if (!line.isEmpty() && !Is_Solver_Progress_Line(line))
            return line;
    }
    return QString();
}

QString ApameRun::lastSaid() const
{
    const QStringList lines = QString::fromLocal8Bit(stderr_).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const QString line = it->trimmed();
        if (!line.isEmpty())
            return line;
    }
    return QString();
}

void ApameRun::onFinished(int exitCode, bool crashed)
{
    if (!running_)
        return;
    stderr_ += process_->readAllStandardError();
    if (cancelled_)
        return end(ApameOutcome::Cancelled, 0, QString());

    const QString last = Solver_Error_Line(stderr_);
    const QString said = last.isEmpty() ? QString() : QStringLiteral(" It said: \"%1\"").arg(last);
    if (crashed) {
        // A crashed process's exit code is the signal that ended it.
        const char* name = exitCode > 0 ? ::strsignal(exitCode) : nullptr;
        const QString how = name ? QStringLiteral(" (signal %1, %2)").arg(exitCode).arg(QString::fromLocal8Bit(name))
                                 : QString();
        return end(ApameOutcome::Crashed, exitCode,
                   QStringLiteral("The solver stopped abnormally%1; there are no new results.%2").arg(how, said));
    }
    if (exitCode != 0)
        return end(ApameOutcome::Failed, exitCode,
                   QStringLiteral("The solver ended with exit code %1; there are no new results.%2").arg(exitCode).arg(said));

    // Read into a record of its own: the results are taken only once they
    // are in place.
    ApameRes read = *res_;
    read.projectPath = glob_ ? glob_->prgPath : QString();
    QString why;
    if (!Read_Apame_Results(runResults_, &read, &why)) {
        // The run's own file is gone with its folder: the message speaks of
        // this run's results, not of a path the user cannot find.
        if (!QFile::exists(runResults_))
            why = QStringLiteral("The solver ended without writing results.");
        else
            why.replace(runResults_, QStringLiteral("of this run"));
        return end(ApameOutcome::NoResults, 0, why);
    }
    if (::rename(QFile::encodeName(runResults_).constData(), QFile::encodeName(resultsPath_).constData()) != 0) {
        const int code = errno;
        return end(ApameOutcome::NoResults, 0,
                   QStringLiteral("The results of this run could not be put in place as %1: %2.")
                       .arg(resultsPath_, QString::fromLocal8Bit(std::strerror(code))));
    }
    *res_ = read;
    const AnalysisSource file = Results_File_Identity(resultsPath_);
    res_->source = source_;
    res_->source.file = file.file;
    res_->source.fileSize = file.fileSize;
    res_->source.fileModified = file.fileModified;
    end(ApameOutcome::Solved, 0, QString());
}

void ApameRun::end(ApameOutcome::Kind kind, int exitCode, const QString& message)
{
    running_ = false;
    // Whatever a failed or cancelled run wrote goes with its folder; the
    // results of the run before stay, and the user is told so.
    runDir_.reset();
    QString text = message;
    if (kind != ApameOutcome::Solved && kind != ApameOutcome::Cancelled && QFile::exists(resultsPath_))
        text += QStringLiteral(" The results of the run before stay in %1.").arg(resultsPath_);
    outcome_ = {kind, exitCode, text};
    emit finished(outcome_);
}

ApameOutcome ApameInputExec(const QString& casePath, const ParaStruct* design, GlobClass* glob, ApameRes* res,
                            const std::function<bool(qint64)>& progress, const QString& programDir)
{
    ApameRun run;
    if (!programDir.isEmpty())
        run.setProgramDir(programDir);
    if (!run.start(casePath, design, glob, res))
        return run.outcome();

    QEventLoop loop;
    QTimer tick;
    tick.setInterval(kTickMs);
    QObject::connect(&run, &ApameRun::finished, &loop, &QEventLoop::quit);
    QObject::connect(&tick, &QTimer::timeout, &run, [&] {
        if (progress && !progress(run.elapsedMs()))
            run.cancel();
    });
    tick.start();
    if (run.isRunning())
        loop.exec();
    return run.outcome();
}

QString Elapsed_Time_Text(qint64 ms)
{
    double s = ms / 1000.0;
    const int h = int(s / 3600);
    s -= 3600.0 * h;
    const int m = int(s / 60);
    const int sec = int(s - 60.0 * m);
    return QStringLiteral(" %1 h  %2 m  %3 sec").arg(h).arg(m).arg(sec);
}
