#include "shell/termsdialog.h"
#include "ui_termsdialog.h"
#include "core/parastruct.h"

TermsDialog::TermsDialog(QWidget* parent) : QDialog(parent), ui(new Ui::termsdialog)
{
    ui->setupUi(this);
}

TermsDialog::~TermsDialog()
{
    delete ui;
}

void TermsDialog::on_wingloftButton_clicked()
{
    GetGlobClass()->termsAccepted = true;
    hide();
}

void TermsDialog::on_cancelButton_clicked()
{
    GetGlobClass()->termsAccepted = false;
    hide();
}
