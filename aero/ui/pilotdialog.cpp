#include "aero/ui/pilotdialog.h"

#include "aero/apameres.h"
#include "aero/polar.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/parastruct.h"
#include "widgets/numberfield.h"

#include <QSignalBlocker>

PilotDialog::PilotDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    move(0, 0);
    design = GetDataStruct();
}

void PilotDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    // Showing the displacement (rounded to the field's two decimals) is no
    // move of the pilot.
    const QSignalBlocker quiet(pilotdisplacementEdit);
    pilotdisplacementEdit->setText(shownShift());
}

QString PilotDialog::shownShift() const
{
    return QStringLiteral("%1").arg(calculate_shift_from_legaX(design), 4, 'f', 2);
}

// Every keystroke that leaves a displacement in the field moves the pilot;
// half-typed text ("", "-", "1e") leaves him where he is until the editing
// ends, which puts his displacement back and says why.
void PilotDialog::on_pilotdisplacementEdit_textChanged(const QString& text)
{
    const std::optional<double> percent = Input_From_Text(designinput::kPilotShift, text);
    if (!percent)
        return;
    design->pilotShiftPercent = *percent;
    calculate_legaX_from_shift(design, *percent);
    // The pilot hangs elsewhere; the canopy the solver saw is the same, and
    // the polar takes the new position when it is next computed.
    Apply_Edit_Keeping_Results(design, GetApameClass(), DesignEdit::Wing);
    repaint();
}

void PilotDialog::on_pilotdisplacementEdit_editingFinished()
{
    Settle_Input(pilotdisplacementEdit, designinput::kPilotShift, shownShift());
}

void PilotDialog::on_exitButton_pressed()
{
    // Each displacement typed was applied as it was typed: exit commits
    // nothing more.
    Settle_Input(pilotdisplacementEdit, designinput::kPilotShift, shownShift());
    hide();
}
