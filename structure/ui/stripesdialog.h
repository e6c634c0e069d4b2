#pragma once

// "Stripes manager": switches the straps along the line rows A..G per cell
// and sets each row's strap width, fixed or in proportion to the rib chord.
// Every change goes straight into the design; nothing is written back:
// cancel and closing only hide the dialog, OK raises the rebuild flag when
// the design differs from the one the dialog found.

#include <QDialog>

#include "ui_stripesdialog.h"

class EditSession;
class ParaStruct;
class QRadioButton;
class QLabel;

class StripesDialog : public QDialog, public Ui::stripes_dialog
{
    Q_OBJECT

public:
    explicit StripesDialog(QWidget* parent = nullptr);

    StripesEdit* view() const { return stripes_widget; }
    int currentLine() const { return currentRow; }
    QRadioButton* rowButton(int row) const;
    QLabel* rowLabel(int row) const;

signals:
    void toshowEditBox();
    void toshowInfoBox();
    void toglwidget();

public slots:
    void quit();
    void quit_cancel();
    void showStrapsEditBox();
    void showStrapInfo();

private slots:
    void on_radioButtonA_clicked();
    void on_radioButtonB_clicked();
    void on_radioButtonC_clicked();
    void on_radioButtonD_clicked();
    void on_radioButtonE_clicked();
    void on_radioButtonF_clicked();
    void on_radioButtonG_clicked();
    void on_fixButton_clicked();
    void on_varButton_clicked();
    void on_stripewSpinBox_valueChanged(int value);
    void on_selectLineStripsButton_pressed();
    void on_clearLineStripsButton_pressed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectRow(int row);

    ParaStruct* design;
    // The design as the dialog found it, to tell whether OK has an edit to
    // commit (Cancel keeps the edits as they are).
    EditSession* session;
    int currentRow = 2;
};
