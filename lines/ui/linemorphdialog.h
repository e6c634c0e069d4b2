#pragma once

// "Lines morphing": shapes every line row over the ribs of the half wing, by
// winflex (a shift toward the trailing edge growing toward the tip), by
// dragging single points, and by closing or opening cells. The attachment
// indexes change in the design only at OK; Cancel brings the design back as
// it was when the dialog opened.

#include <QDialog>

#include "ui_linemorphdialog.h"

class EditSession;
class ParaStruct;
class QLineEdit;
class QRadioButton;

class LineMorphDialog : public QDialog, public Ui_LineMorphDialog
{
    Q_OBJECT

public:
    explicit LineMorphDialog(QWidget* parent = nullptr);

    void InitLineMorphDialog();
    void Set_Current_Line(int row);

    LineMorph* view() const { return linemorphwidget; }
    QLineEdit* winflexEdit(int row) const;
    QLineEdit* positionEdit(int row) const;
    QRadioButton* rowButton(int row) const;
    bool winflexRuns() const { return winflexOn; }

signals:
    void to_save_changes();

public slots:
    // Cancel, Escape and closing the window: the design goes back to what
    // it was when the dialog opened.
    void reject() override;

private slots:
    // One slot per row, reached by name from the form.
    void on_radio_O1_clicked();
    void on_radio_O2_clicked();
    void on_radio_A_clicked();
    void on_radio_B_clicked();
    void on_radio_C_clicked();
    void on_radio_D_clicked();
    void on_radio_E_clicked();
    void on_radio_F_clicked();
    void on_radio_G_clicked();
    void on_O1_wflEdit_editingFinished();
    void on_O2_wflEdit_editingFinished();
    void on_A_wflEdit_editingFinished();
    void on_B_wflEdit_editingFinished();
    void on_C_wflEdit_editingFinished();
    void on_D_wflEdit_editingFinished();
    void on_E_wflEdit_editingFinished();
    void on_F_wflEdit_editingFinished();
    void on_G_wflEdit_editingFinished();
    void on_posO1Edit_editingFinished();
    void on_posO2Edit_editingFinished();
    void on_posAEdit_editingFinished();
    void on_posBEdit_editingFinished();
    void on_posCEdit_editingFinished();
    void on_posDEdit_editingFinished();
    void on_posEEdit_editingFinished();
    void on_posFEdit_editingFinished();
    void on_posGEdit_editingFinished();
    void on_check_wfl_on_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void storeWinflex(int row);
    void storePosition(int row);

    ParaStruct* design;
    EditSession* session;
    int currentRow = 8;
    bool winflexOn = false;
};
