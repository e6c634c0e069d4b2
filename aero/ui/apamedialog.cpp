#include "aero/ui/apamedialog.h"

#include "aero/apameinput.h"
#include "aero/apamemesh.h"
#include "aero/apameres.h"
#include "aero/apamerun.h"
#include "aero/ui/apameprogress.h"
#include "aero/ui/wpolar.h"

#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/parastruct.h"
#include "widgets/numberfield.h"
#include "widgets/uihelpers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QWindow>
#include <QSignalBlocker>
#include <QTime>

#include <algorithm>

ApameDialog::ApameDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    design = GetDataStruct();
    glob = GetGlobClass();
    results = GetApameClass();
    // A cleared start time shows nothing rather than a stray ":00:00".
    starttimeEdit->setSpecialValueText(QStringLiteral(" "));
    // The design may be edited in other windows while this one stays open:
    // coming back from them, the pressure view checks that its results
    // still belong to the design.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (isVisible())
            apamewidget->refreshIfStale();
    });
}

void ApameDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    design->chordStationCount = f_CreateIndJ(design, design->chordStations);
    initApamedialog();
    update();
}

void ApameDialog::initApamedialog()
{
    bridle_checkBox->setChecked(true);
    withBridleData = true;
    filenamelabel->setText(glob->prgPath);
    maxtwistangleEdit->setText(QString::number(design->maxTwistAngle, 'f', 2));
    profilealignmentEdit->setText(QString::number(design->profileAlignment, 'f', 2));
    // The pilot and line constants stay as the design holds them: they are
    // part of the project.

    // The case shown is the one shown last.
    const int shown = std::clamp(apamewidget->shownCase(), 0, attackangleSlider->maximum());
    {
        const QSignalBlocker quiet(attackangleSlider);
        attackangleSlider->setValue(shown);
    }
    apamewidget->setCase(shown);
    attackanglelabel->setText(QString::number(shown));

    // Results of an earlier session are taken as this design's only when
    // the input they were solved from is the input the design gives now
    // (its derived data are current after every edit).
    if (!glob->dxfDir.isEmpty() && ReadToApameClass(design, glob, results)) {
        ShowCurrentModel();
        Adopt_Results_Of_Input(design, glob, results);
    }
    starttimeEdit->setTime(starttimeEdit->minimumTime());
    endtimeEdit->clear();
    apamewidget->reinitialize();
}

void ApameDialog::ShowCurrentModel()
{
    modelEdit->setText(design->smoothModel ? QStringLiteral("Smooth") : QStringLiteral("Inflated"));
}

void ApameDialog::on_apameButton_pressed()
{
    // The run opens its progress window while the button is held.
    apameButton->setDown(false);
    // The run takes the twist and the alignment the fields show; a field
    // holding no such value gets the design's back, the user is told, and
    // nothing runs.
    const double twistFound = design->maxTwistAngle;
    const double alignmentFound = design->profileAlignment;
    const bool twist = takeTwist();
    const bool alignment = takeAlignment();
    if (!twist || !alignment)
        return;
    apameButton->setText(QStringLiteral("...Calculating..."));
    setCursor(Qt::WaitCursor);

    design->smoothModel = !inflatedmodelRadio->isChecked();
    ShowCurrentModel();
    // The solver meshes the wing of the twist and alignment just taken: the
    // whole recompute runs on them, so that whatever hangs from the canopy
    // (the lines the drag counts among them) follows it too. Results name
    // the twist they were solved at: the revision stays, so that results of
    // this twist are its results again when the user comes back to it.
    if (design->maxTwistAngle != twistFound || design->profileAlignment != alignmentFound)
        Apply_Edit(design, DesignEdit::Nothing);

    starttimeEdit->setTime(QTime::currentTime());
    endtimeEdit->setText(QStringLiteral(" started... "));
    starttimeEdit->repaint();
    endtimeEdit->repaint();
    QElapsedTimer clock;
    clock.start();

    // The solver's failures are reported on the way; the results of the
    // last good run stay in place, and the view says so when they belong to
    // the design as it was before this run's settings.
    const ApameOutcome outcome = Run_Apame_Analysis(this, design, glob, results, design->smoothModel, solverDir);
    apamewidget->reinitialize();
    if (outcome.solved()) {
        endtimeEdit->setText(Elapsed_Time_Text(clock.elapsed()));
    } else {
        endtimeEdit->setText(outcome.kind == ApameOutcome::Cancelled ? QStringLiteral(" cancelled ")
                                                                      : QStringLiteral(" failed "));
    }
    midline_view->update();

    apameButton->setText(QStringLiteral("RECALCULATE"));
    unsetCursor();
    update();
}

void ApameDialog::on_exitButton_pressed()
{
    quit();
}

void ApameDialog::quit()
{
    // The flag asks the other views to rebuild after the run; the design
    // itself is what it was, and results that were its results stay so.
    Apply_Edit_Keeping_Results(design, results, DesignEdit::Wing);
    hide();
}

void ApameDialog::on_attackangleSlider_valueChanged(int value)
{
    apamewidget->setCase(value);
    attackanglelabel->setText(QString::number(value));
    apamewidget->reinitialize();
}

void ApameDialog::on_polarButton_pressed()
{
    polarButton->setDown(false);
    auto* window = new WPolar(this, withBridleData);
    polar = window;
    // A window that gave up while it was built (no wing to compute) is gone.
    if (window->isUsable())
        window->show();
    else
        window->deleteLater();
}

namespace {

// Takes a field's value into the design, unless the field still shows the
// design's own value: shown rounded to two decimals, it is no value the user
// set.
bool takeUnlessShown(QLineEdit* field, const DesignInput& input, double* value)
{
    const QString shown = QString::number(*value, 'f', 2);
    if (field->text() == shown)
        return true;
    return Take_Input(field, input, value, shown);
}

} // namespace

bool ApameDialog::takeTwist()
{
    return takeUnlessShown(maxtwistangleEdit, designinput::kTwist, &design->maxTwistAngle);
}

bool ApameDialog::takeAlignment()
{
    return takeUnlessShown(profilealignmentEdit, designinput::kProfileAlignment, &design->profileAlignment);
}

void ApameDialog::on_maxtwistangleEdit_editingFinished()
{
    if (!takeTwist())
        return;
    maxtwistangleEdit->setText(QString::number(design->maxTwistAngle, 'f', 2));
    // Results of another twist are no results of this design.
    apamewidget->reinitialize();
}

void ApameDialog::on_bridle_checkBox_toggled(bool checked)
{
    withBridleData = checked;
}
