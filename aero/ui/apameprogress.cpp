#include "aero/ui/apameprogress.h"

#include "aero/apameinput.h"

#include "core/parastruct.h"
#include "widgets/uihelpers.h"

#include <QDir>

namespace {

constexpr int kTickMs = 200;
constexpr int kTextWidth = 300; // pixels, within the window's width
const char* const kTitle = "CFD analysis";

} // namespace

ApameProgressDialog::ApameProgressDialog(ApameRun* run, QWidget* parent) : QDialog(parent), run_(run)
{
    setupUi(this);
    setWindowModality(Qt::WindowModal);
    connect(run_, &ApameRun::finished, this, [this] { done(QDialog::Accepted); });
    connect(&tick_, &QTimer::timeout, this, &ApameProgressDialog::showElapsed);
    tick_.start(kTickMs);
    showElapsed();
}

void ApameProgressDialog::showElapsed()
{
    elapsedLabel->setText(Elapsed_Time_Text(run_->elapsedMs()));
    // What the solver last said of its progress, while it is not being
    // stopped; a long line is cut rather than widening the window.
    const QString said = run_->lastSaid();
    if (cancelButton->isEnabled() && !said.isEmpty())
        textLabel->setText(textLabel->fontMetrics().elidedText(tr("The solver is running: %1").arg(said),
                                                               Qt::ElideRight, kTextWidth));
}

void ApameProgressDialog::on_cancelButton_clicked()
{
    cancelButton->setEnabled(false);
    textLabel->setText(tr("Stopping the solver..."));
    run_->cancel();
}

void ApameProgressDialog::reject()
{
    if (run_->isRunning())
        on_cancelButton_clicked();
    else
        QDialog::reject();
}

ApameOutcome Run_Solver_With_Progress(QWidget* parent, const QString& casePath, const ParaStruct* design, GlobClass* glob,
                                      ApameRes* res, const QString& programDir)
{
    ApameRun run;
    if (!programDir.isEmpty())
        run.setProgramDir(programDir);
    if (run.start(casePath, design, glob, res)) {
        ApameProgressDialog dialog(&run, parent);
        // The solver may have ended before the window could show.
        if (run.isRunning())
            dialog.exec();
    }
    const ApameOutcome outcome = run.outcome();
    if (!outcome.solved() && outcome.kind != ApameOutcome::Cancelled)
        Show_Warning(QLatin1String(kTitle), outcome.message);
    return outcome;
}

ApameOutcome Run_Apame_Analysis(QWidget* parent, ParaStruct* design, GlobClass* glob, ApameRes* res, bool smooth,
                                const QString& programDir)
{
    QString why;
    if (!CreateApameInputFile(design, glob, kApameVelOrder, smooth, design->chordStationCount, design->chordStations, &why)) {
        Show_Warning(QLatin1String(kTitle), why);
        return {ApameOutcome::NotStarted, 0, why};
    }
    return Run_Solver_With_Progress(parent, QDir(glob->dxfDir).filePath(QStringLiteral("wings")), design, glob, res,
                                    programDir);
}
