#include "shellservices.h"

#include "gslsetup.h"
#include "notify.h"
#include "openfile.h"

#include <QFileDialog>
#include <QMessageBox>

void Install_Shell_Services()
{
    Gsl_Errors_Off();

    Set_User_Notifier([](const QString& text) {
        QMessageBox box;
        box.setText(text);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    });

    Set_File_Dialog([](QWidget* parent, FileDialogKind kind, const QString& title, const QString& dir,
                       const QString& filter) {
        if (kind == FileDialogKind::Open)
            return QFileDialog::getOpenFileName(parent, title, dir, filter);
        return QFileDialog::getSaveFileName(parent, title, dir, filter);
    });
}
