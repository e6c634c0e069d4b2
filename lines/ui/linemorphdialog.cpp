#include "lines/ui/linemorphdialog.h"

#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/linetree.h"
#include "shell/ui/editsession.h"


LineMorphDialog::LineMorphDialog(QWidget* parent)
    : QDialog(parent), design(GetDataStruct()), session(new EditSession(this))
{
    setupUi(this);
    connect(this, &LineMorphDialog::to_save_changes, linemorphwidget, &LineMorph::SaveChangesOnExit);
    connect(linemorphwidget, &LineMorph::to_close_cell, linemorphwidget, &LineMorph::Close_Cell);
    connect(linemorphwidget, &LineMorph::to_open_cell, linemorphwidget, &LineMorph::Open_Cell);
    for (int row = 0; row < kLineRows; ++row) {
        connect(rowButton(row), &QRadioButton::clicked, this, [this, row] { Set_Current_Line(row); });
        // The field is read as a plain number: a decimal comma, like any
        // text that is no number, stores 0. Storing does not run winflex.
        connect(winflexEdit(row), &QLineEdit::editingFinished, this,
                [this, row] { design->wingFlexPercent[row] = winflexEdit(row)->text().toDouble(); });
    }
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
    // The position fields only show the rows' percents; being read-only
    // they never write the rounded text back.
    for (int row = 0; row < kLineRows; ++row) {
        winflexEdit(row)->setText(QStringLiteral("%1").arg(design->wingFlexPercent[row], 4, 'f', 1));
        positionEdit(row)->setText(QStringLiteral("%1").arg(design->rowPercent[row], 4, 'f', 1));
    }
}

void LineMorphDialog::Set_Current_Line(int row)
{
    currentRow = row;
    design->lineSelection = row;
    linemorphwidget->SetCurrentLine(row);
    if (winflexOn)
        linemorphwidget->Virtual_WingFlex_Lines(row, design->wingFlexPercent[row]);
    linemorphwidget->update();
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
    Set_Current_Line(8);
    InitLineMorphDialog();
    linemorphwidget->initLineMorph();
}

void LineMorphDialog::on_buttonBox_accepted()
{
    emit to_save_changes();
    Refresh_Calculations(design);
    // The lines follow their new attachment points.
    Recalculate_Line_Plan(design);
    design->geometryChanged = true;
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
