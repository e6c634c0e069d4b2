#pragma once

// "Default lines positions <center rib>": places the nine line rows on the
// centre airfoil. Every drag goes straight into the design; cancel and
// closing bring back the design as it was once the markers had been put on
// airfoil vertices at the show.

#include <QDialog>

#include "ui_midlinedialog.h"

class EditSession;
class ParaStruct;

class MidLineDialog : public QDialog, public Ui_midlinedialog
{
    Q_OBJECT

public:
    explicit MidLineDialog(QWidget* parent = nullptr);

    void initDialog();
    // The header's label and check box in the largest font that shows them
    // whole at the window's width.
    void fitHeader();
    MidLinEdit* view() const { return abcdpos_widget; }

public slots:
    void just_quit();
    // Escape and closing the window cancel as the cancel button does.
    void reject() override;

private slots:
    void on_acceptButton_pressed();
    void on_lineseq_checkBox_clicked();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ParaStruct* design;
    EditSession* session;
};
