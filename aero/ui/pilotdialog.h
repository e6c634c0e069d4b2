#pragma once

// The "Pilot position" dialog: the pilot's displacement from the leading edge
// in percent of the centre chord, and a side view of the centre rib with the
// line rows, the aerodynamic centre and the pilot on his lines. It works on
// the live design: every change of the field that leaves a displacement in
// it sets the pilot position and recomputes the design at once; there is
// nothing to cancel.

#include "ui_pilotdialog.h"

#include <QDialog>

class ParaStruct;

class PilotDialog : public QDialog, public Ui::PilotDialog
{
    Q_OBJECT

public:
    explicit PilotDialog(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_pilotdisplacementEdit_textChanged(const QString& text);
    void on_pilotdisplacementEdit_editingFinished();
    void on_exitButton_pressed();

private:
    // The field's text of the design's displacement.
    QString shownShift() const;

    ParaStruct* design;
};
