#include "lines/ui/linemorphdialog.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/linetree.h"
#include "widgets/editsession.h"
#include "widgets/numberfield.h"

namespace {

// How the fields show a percent: one decimal, at least four characters.
QString percentText(double value)
{
    return QStringLiteral("%1").arg(value, 4, 'f', 1);
}

} // namespace

LineMorphDialog::LineMorphDialog(QWidget* parent)
    : QDialog(parent), design(GetDataStruct()), session(new EditSession(this))
{
    setupUi(this);
    connect(this, &LineMorphDialog::to_save_changes, linemorphwidget, &LineMorph::SaveChangesOnExit);
    connect(linemorphwidget, &LineMorph::to_close_cell, linemorphwidget, &LineMorph::Close_Cell);
    connect(linemorphwidget, &LineMorph::to_open_cell, linemorphwidget, &LineMorph::Open_Cell);
    check_wfl_on->setChecked(false);
}

QLineEdit* LineMorphDialog::winflexEdit(int row) const
{
    return findChild<QLineEdit*>(LineLetter(row) + QStringLiteral("_wflEdit"));
}

QLineEdit* LineMorphDialog::positionEdit(int row) const
{
    return findChild<QLineEdit*>(QStringLiteral("pos") + LineLetter(row) + QStringLiteral("Edit"));
}

QRadioButton* LineMorphDialog::rowButton(int row) const
{
    return findChild<QRadioButton*>(QStringLiteral("radio_") + LineLetter(row));
}

void LineMorphDialog::InitLineMorphDialog()
{
    linemorphwidget->SetCurrentLine(currentRow);
    for (int row = 0; row < kLineRows; ++row) {
        winflexEdit(row)->setText(percentText(design->wingFlexPercent[row]));
        positionEdit(row)->setText(percentText(design->rowPercent[row]));
    }
}

void LineMorphDialog::Set_Current_Line(int row)
{
    currentRow = row;
    linemorphwidget->SetCurrentLine(row);
    if (winflexOn)
        linemorphwidget->Virtual_WingFlex_Lines(row, design->wingFlexPercent[row]);
    linemorphwidget->update();
}

void LineMorphDialog::on_radio_O1_clicked() { Set_Current_Line(0); }
void LineMorphDialog::on_radio_O2_clicked() { Set_Current_Line(1); }
void LineMorphDialog::on_radio_A_clicked() { Set_Current_Line(2); }
void LineMorphDialog::on_radio_B_clicked() { Set_Current_Line(3); }
void LineMorphDialog::on_radio_C_clicked() { Set_Current_Line(4); }
void LineMorphDialog::on_radio_D_clicked() { Set_Current_Line(5); }
void LineMorphDialog::on_radio_E_clicked() { Set_Current_Line(6); }
void LineMorphDialog::on_radio_F_clicked() { Set_Current_Line(7); }
void LineMorphDialog::on_radio_G_clicked() { Set_Current_Line(8); }

void LineMorphDialog::on_O1_wflEdit_editingFinished() { storeWinflex(0); }
void LineMorphDialog::on_O2_wflEdit_editingFinished() { storeWinflex(1); }
void LineMorphDialog::on_A_wflEdit_editingFinished() { storeWinflex(2); }
void LineMorphDialog::on_B_wflEdit_editingFinished() { storeWinflex(3); }
void LineMorphDialog::on_C_wflEdit_editingFinished() { storeWinflex(4); }
void LineMorphDialog::on_D_wflEdit_editingFinished() { storeWinflex(5); }
void LineMorphDialog::on_E_wflEdit_editingFinished() { storeWinflex(6); }
void LineMorphDialog::on_F_wflEdit_editingFinished() { storeWinflex(7); }
void LineMorphDialog::on_G_wflEdit_editingFinished() { storeWinflex(8); }

void LineMorphDialog::on_posO1Edit_editingFinished() { storePosition(0); }
void LineMorphDialog::on_posO2Edit_editingFinished() { storePosition(1); }
void LineMorphDialog::on_posAEdit_editingFinished() { storePosition(2); }
void LineMorphDialog::on_posBEdit_editingFinished() { storePosition(3); }
void LineMorphDialog::on_posCEdit_editingFinished() { storePosition(4); }
void LineMorphDialog::on_posDEdit_editingFinished() { storePosition(5); }
void LineMorphDialog::on_posEEdit_editingFinished() { storePosition(6); }
void LineMorphDialog::on_posFEdit_editingFinished() { storePosition(7); }
void LineMorphDialog::on_posGEdit_editingFinished() { storePosition(8); }

// The field is read as every number field reads (a decimal comma too); a
// text that is no winflex percent is refused and the row keeps its percent.
// Storing does not run winflex.
void LineMorphDialog::storeWinflex(int row)
{
    double* percent = &design->wingFlexPercent[row];
    Take_Input(winflexEdit(row), designinput::kWingFlex, percent, percentText(*percent));
}

// The position fields only show the rows' percents to one decimal. Writing
// that text back whenever a field loses focus would round the design's
// percent, so the field stores only a text that no longer shows the stored
// value (a read-only field never does).
void LineMorphDialog::storePosition(int row)
{
    double* percent = &design->rowPercent[row];
    if (positionEdit(row)->text() != percentText(*percent))
        Take_Input(positionEdit(row), designinput::kRowPosition, percent, percentText(*percent));
}

void LineMorphDialog::on_check_wfl_on_clicked()
{
    winflexOn = check_wfl_on->isChecked();
}

void LineMorphDialog::showEvent(QShowEvent* event)
{
    // The session has taken its copy of the design already (it sees the
    // show first), so Cancel also undoes what the show computes here.
    QDialog::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    Set_Current_Line(8);
    InitLineMorphDialog();
    linemorphwidget->initLineMorph();
}

void LineMorphDialog::on_buttonBox_accepted()
{
    emit to_save_changes();
    if (session->changed()) {
        Apply_Edit(design, DesignEdit::Parts);
        // The lines follow their new attachment points; groups still
        // without lines get their frame nodes.
        Recalculate_Line_Plan(design);
    }
    hide();
}

void LineMorphDialog::on_buttonBox_rejected()
{
    reject();
}

void LineMorphDialog::reject()
{
    session->revert();
    QDialog::reject();
}
