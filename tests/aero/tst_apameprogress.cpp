// The progress window of the solver run: the program keeps running while
// the solver works, Cancel ends it, and failures reach the user through the
// warning seam.

#include "aero/apameinput.h"
#include "aero/apameres.h"
#include "aero/ui/apameprogress.h"
#include "tests/aero/aerofixture.h"
#include "tests/aero/fakesolver.h"
#include "tests/common/statewait.h"

#include "core/parastruct.h"
#include "tests/common/scripteduser.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QFile>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {

ApameProgressDialog* shownDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<ApameProgressDialog*>(w); d && d->isVisible())
            return d;
    }
    return nullptr;
}

} // namespace

class TestApameProgress : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> programs;
    std::unique_ptr<QTemporaryDir> output;
    GlobClass glob;
    QStringList warnings;

    QString casePath() const { return output->filePath("wings"); }
    ScriptedUser user;

private slots:
    void init()
    {
        programs = std::make_unique<QTemporaryDir>();
        output = std::make_unique<QTemporaryDir>();
        glob.dxfDir = output->path();
        warnings.clear();
        user.onWarning = [this](const QString& title, const QString& text) {
            QCOMPARE(title, QStringLiteral("CFD analysis"));
            warnings.append(text);
        };
    }

    void cancelEndsTheRun()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::sleeps(casePath() + ".sleeper")));
        auto design = std::make_unique<ParaStruct>();
        ApameRes res;
        // The event loop goes on while the solver runs: the window counts the
        // seconds. Cancel is clicked once it has shown a whole one.
        const QRegularExpression elapsedText("^ \\d+ h  \\d+ m  \\d+ sec$");
        QString shownElapsed;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            ApameProgressDialog* dialog = shownDialog();
            if (!dialog || !shownElapsed.isEmpty())
                return;
            const QString text = dialog->findChild<QLabel*>("elapsedLabel")->text();
            QVERIFY2(elapsedText.match(text).hasMatch(), qPrintable(text));
            if (text == QStringLiteral(" 0 h  0 m  0 sec"))
                return;
            shownElapsed = text;
            QCOMPARE(dialog->windowTitle(), QStringLiteral("CFD analysis"));
            QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        });
        watch.start(50);
        const ApameOutcome outcome =
            Run_Solver_With_Progress(nullptr, casePath(), design.get(), &glob, &res, programs->path());
        watch.stop();
        QVERIFY(!shownElapsed.isEmpty());
        QCOMPARE(outcome.kind, ApameOutcome::Cancelled);
        QVERIFY(warnings.isEmpty());
        QVERIFY(!shownDialog());
        QVERIFY(!QFile::exists(casePath() + ".res"));
        QFile sleeper(casePath() + ".sleeper");
        QVERIFY(sleeper.open(QIODevice::ReadOnly));
        const qint64 pid = sleeper.readAll().trimmed().toLongLong();
        WAIT_FOR_STATE(!fakesolver::alive(pid));
    }

    // Closing the window is a cancel too; it stays until the solver is gone.
    void closingTheWindowCancels()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::sleeps(casePath() + ".sleeper")));
        auto design = std::make_unique<ParaStruct>();
        ApameRes res;
        // Runs in the window's own event loop, with the window shown.
        QTimer::singleShot(0, [] {
            ApameProgressDialog* dialog = shownDialog();
            QVERIFY(dialog);
            dialog->reject();
        });
        const ApameOutcome outcome =
            Run_Solver_With_Progress(nullptr, casePath(), design.get(), &glob, &res, programs->path());
        QCOMPARE(outcome.kind, ApameOutcome::Cancelled);
    }

    // The window shows the solver's last line of progress while it works.
    void showsTheSolversProgress()
    {
        QVERIFY(fakesolver::install(programs->path(),
                                    QStringLiteral("echo '120 surface panels, 10 wake panels' >&2\n"
                                                   "echo 'factorisation 62 %' >&2\n")
                                        + fakesolver::sleeps(casePath() + ".sleeper")));
        auto design = std::make_unique<ParaStruct>();
        ApameRes res;
        QString shown;
        // The fake solver prints the line before it sleeps: the poll waits
        // for it (a line that never comes is a hang, see statewait.h).
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            ApameProgressDialog* dialog = shownDialog();
            if (!dialog)
                return;
            const QString text = dialog->findChild<QLabel*>("textLabel")->text();
            if (text.contains(QStringLiteral("%"))) {
                shown = text;
                poll.stop();
                QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
            }
        });
        poll.start(50);
        const ApameOutcome outcome =
            Run_Solver_With_Progress(nullptr, casePath(), design.get(), &glob, &res, programs->path());
        QCOMPARE(outcome.kind, ApameOutcome::Cancelled);
        QCOMPARE(shown, QStringLiteral("The solver is running: factorisation 62 %"));
    }

    void failureIsReportedWithItsCode()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::exits3()));
        auto design = std::make_unique<ParaStruct>();
        ApameRes res;
        const ApameOutcome outcome =
            Run_Solver_With_Progress(nullptr, casePath(), design.get(), &glob, &res, programs->path());
        QCOMPARE(outcome.kind, ApameOutcome::Failed);
        QCOMPARE(outcome.exitCode, 3);
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains("exit code 3"), qPrintable(warnings.first()));
    }

    void missingSolverIsReported()
    {
        auto design = std::make_unique<ParaStruct>();
        ApameRes res;
        const ApameOutcome outcome =
            Run_Solver_With_Progress(nullptr, casePath(), design.get(), &glob, &res, programs->path());
        QCOMPARE(outcome.kind, ApameOutcome::NotStarted);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings.first().contains("could not be started"));
    }

    // The analysis run: the input written, the solver run on it, the
    // results read.
    void analysisRun()
    {
        // The solver's case input is the input the analysis wrote.
        QVERIFY(fakesolver::install(programs->path(), "cmp -s \"$1.inp\" '" + output->filePath("wings.inp")
                                                          + "' || exit 7\n" + fakesolver::copiesResults()));
        auto design = aerofixture::archedWing(11);
        design->chordStationCount = f_CreateIndJ(design.get(), design->chordStations);
        ApameRes res;
        const ApameOutcome outcome = Run_Apame_Analysis(nullptr, design.get(), &glob, &res, true, programs->path());
        QVERIFY2(outcome.solved(), qPrintable(outcome.message));
        QVERIFY(warnings.isEmpty());
        QCOMPARE(res.nodeNum, 6);
        apameinput::InputValues v;
        QFile input(output->filePath("wings.inp"));
        QVERIFY(input.open(QIODevice::ReadOnly));
        QVERIFY(apameinput::Read_Input_File(input.readAll(), &v));
        QCOMPARE(v.nodes.size(), 12 * (design->chordStationCount + 2));
    }

    void inputNotWrittenNothingRun()
    {
        QVERIFY(fakesolver::install(programs->path(), "touch '" + output->filePath("ran") + "'"));
        auto design = aerofixture::archedWing(11);
        design->chordStationCount = f_CreateIndJ(design.get(), design->chordStations);
        glob.dxfDir = output->filePath("missing");
        ApameRes res;
        const ApameOutcome outcome = Run_Apame_Analysis(nullptr, design.get(), &glob, &res, true, programs->path());
        QCOMPARE(outcome.kind, ApameOutcome::NotStarted);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings.first().contains("cannot be written"));
        QVERIFY(!QFile::exists(output->filePath("ran")));
    }
};

QTEST_MAIN(TestApameProgress)
#include "tst_apameprogress.moc"
