#include "aero/ui/pilotdialog.h"

#include "aero/apameres.h"
#include "aero/polar.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/parastruct.h"

PilotDialog::PilotDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    move(0, 0);
    design = GetDataStruct();
}

void PilotDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    pilotdisplacementEdit->setText(QStringLiteral("%1").arg(calculate_shift_from_legaX(design), 4, 'f', 2));
}

void PilotDialog::on_pilotdisplacementEdit_textChanged(const QString& text)
{
    // A plain number: a decimal comma is no number here and reads as 0.
    bool ok = false;
    double percent = text.toDouble(&ok);
    if (!ok)
        percent = 0;
    design->pilotShiftPercent = percent;
    calculate_legaX_from_shift(design, percent);
    Apply_Edit(design, DesignEdit::Nothing);
    repaint();
}

void PilotDialog::on_exitButton_pressed()
{
    // The pilot hangs elsewhere; the canopy the solver saw is the same, and
    // the polar takes the new position when it is next computed.
    Apply_Edit_Keeping_Results(design, GetApameClass(), DesignEdit::Lines);
    hide();
}
