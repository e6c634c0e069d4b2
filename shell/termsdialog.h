#ifndef TERMSDIALOG_H
#define TERMSDIALOG_H

#include <QDialog>

namespace Ui { class termsdialog; }

// The terms of use, raised at every start; the answer decides whether
// File > Open may be used in this run.
class TermsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TermsDialog(QWidget* parent = nullptr);
    ~TermsDialog() override;

    Ui::termsdialog* form() const { return ui; }

private slots:
    void on_wingloftButton_clicked();
    void on_cancelButton_clicked();

private:
    Ui::termsdialog* ui;
};

#endif
