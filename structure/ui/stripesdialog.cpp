#include "structure/ui/stripesdialog.h"

#include "core/designedit.h"
#include "core/parastruct.h"
#include "widgets/editsession.h"
#include "core/transf.h"

#include <QSignalBlocker>

namespace {

constexpr int kFirstStrapRow = 2;   // "A"

} // namespace

StripesDialog::StripesDialog(QWidget* parent)
    : QDialog(parent), design(GetDataStruct()), session(new EditSession(this))
{
    setupUi(this);
    connect(btnOK, &QPushButton::pressed, this, &StripesDialog::quit);
    connect(btnCancel, &QPushButton::pressed, this, &StripesDialog::quit_cancel);
    connect(this, &StripesDialog::toshowEditBox, this, &StripesDialog::showStrapsEditBox);
    connect(this, &StripesDialog::toshowInfoBox, this, &StripesDialog::showStrapInfo);
    // The main window rebuilds its 3-D view on this; the dialog does not
    // know the window's class, only the slot's name.
    if (parent && parent->metaObject()->indexOfSlot("SetUpOpenglParam()") >= 0)
        connect(this, SIGNAL(toglwidget()), parent, SLOT(SetUpOpenglParam()));
}

void StripesDialog::selectRow(int row)
{
    currentRow = row;
    emit toshowInfoBox();
    emit toshowEditBox();
}

void StripesDialog::on_radioButtonA_clicked() { selectRow(2); }
void StripesDialog::on_radioButtonB_clicked() { selectRow(3); }
void StripesDialog::on_radioButtonC_clicked() { selectRow(4); }
void StripesDialog::on_radioButtonD_clicked() { selectRow(5); }
void StripesDialog::on_radioButtonE_clicked() { selectRow(6); }
void StripesDialog::on_radioButtonF_clicked() { selectRow(7); }
void StripesDialog::on_radioButtonG_clicked() { selectRow(8); }

QRadioButton* StripesDialog::rowButton(int row) const
{
    return findChild<QRadioButton*>(QStringLiteral("radioButton") + LineLetter(row));
}

QLabel* StripesDialog::rowLabel(int row) const
{
    return findChild<QLabel*>(QStringLiteral("wlabel") + LineLetter(row));
}

void StripesDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    stripes_widget->init_LineRibs();
}

void StripesDialog::showStrapsEditBox()
{
    // Showing a width writes nothing back: a stored width outside the box's
    // range stays as it is until the user sets one.
    {
        const QSignalBlocker blocker(stripewSpinBox);
        stripewSpinBox->setValue(design->strapWidth[currentRow - kFirstStrapRow]);
    }
    const bool fixed = design->strapFixed[currentRow];
    fixButton->setChecked(fixed);
    varButton->setChecked(!fixed);
    lineLetterLabel->setText(LineLetter(currentRow));
}

void StripesDialog::showStrapInfo()
{
    for (int row = kFirstStrapRow; row < kLineRows; ++row)
        rowLabel(row)->setText(QStringLiteral(" width [mm]: %1     %2 ")
                                   .arg(design->strapWidth[row - kFirstStrapRow])
                                   .arg(design->strapFixed[row] ? QStringLiteral(" Fixed ")
                                                                : QStringLiteral(" Proport.")));
}

void StripesDialog::on_fixButton_clicked()
{
    design->strapFixed[currentRow] = true;
    emit toshowInfoBox();
}

void StripesDialog::on_varButton_clicked()
{
    design->strapFixed[currentRow] = false;
    emit toshowInfoBox();
}

void StripesDialog::on_stripewSpinBox_valueChanged(int value)
{
    design->strapWidth[currentRow - kFirstStrapRow] = value;
    emit toshowInfoBox();
}

void StripesDialog::on_selectLineStripsButton_pressed()
{
    stripes_widget->ToggleLineStrip(currentRow);
}

void StripesDialog::on_clearLineStripsButton_pressed()
{
    stripes_widget->ClearAllLineStrips();
}

void StripesDialog::quit()
{
    if (session->changed())
        Apply_Edit(design, DesignEdit::Marks);
    // The session ends first: the view reads a design that shares nothing
    // with a backup.
    hide();
    emit toglwidget();
}

void StripesDialog::quit_cancel()
{
    hide();
}
