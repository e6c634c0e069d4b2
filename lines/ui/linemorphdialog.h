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
    void on_check_wfl_on_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

protected:
    void showEvent(QShowEvent* event) override;

private:
    ParaStruct* design;
    EditSession* session;
    int currentRow = 8;
    bool winflexOn = false;
};
