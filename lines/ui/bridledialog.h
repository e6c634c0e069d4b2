#pragma once

// The "Bridle manager": the one window in which the whole suspension is built
// and checked. Five tabs: the loading set-up (number of line groups, their
// load shares, the line-row weights, the brake relaxation), the tree editor
// of one line group, the riser tree editor, the printable line tables and a
// page of tips. Beside them two free windows follow the current group: the
// " 2D" front view (RopesWidget) and the " 3D" canopy (BrWidget).
//
// The dialog edits the live design and is only the conductor: it holds the
// group selection (lineSelection, handed to its editors and views) and the
// loading fields and drives the editors and views through its signals. Showing it takes the
// edit session's copy of the design and then recomputes the design; Cancel
// and closing the window put the copy back; OK places and stores every line
// group and the riser tree again and raises the design's rebuild flags,
// without a full recompute.
//
// The share fields read numbers as the other fields of the program do (a
// decimal comma too). A field that holds no share of the load (negative,
// above 1, no number) never reaches the design: while it is typed the
// design keeps the share it had, and when the field is left, or at OK, the
// user is told and the field shows that share again.

#include <QDialog>

#include "ui_bridledialog.h"

class BrWidget;
class EditSession;
class ParaStruct;
class RopesWidget;

class BridleDialog : public QDialog, public Ui::bridledialog
{
    Q_OBJECT

public:
    explicit BridleDialog(QWidget* parent = nullptr);
    ~BridleDialog() override;

    // The two free windows (null until the first show).
    RopesWidget* ropesWindow() const { return ropesWidget; }
    BrWidget* brWindow() const { return brWidget; }
    // The group selected: 2..5 L1..L4, 7 the brakes; 0 and -1 none.
    int selection() const { return lineSelection; }

signals:
    void to_getallbridledata();
    void to_select_grupline();
    void to_save_bridle();
    void to_clear_linegrup();
    void to_recalc_bridle();
    void to_copylinegrup();
    void to_pastelinegrup();
    void to_select_raiser();
    void to_reset_raiser();
    void to_recalc_raiser();
    void to_save_raiser();
    void to_bridle_view();
    void to_ropes_refresh();
    void to_refresh_rrwidgets();

public slots:
    void Refresh_Ropes();
    void setEnableLineGrups();
    void refresh_rrwidgets();
    void ShowActiveLineGrups(int count);
    void Create_RopesWindow();
    void Create_BrWindow();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_tabWidget_currentChanged(int index);
    void on_radioL1_clicked();
    void on_radioL2_clicked();
    void on_radioL3_clicked();
    void on_radioL4_clicked();
    void on_radioKmd_clicked();
    void on_numlines_spinBox_valueChanged(int count);
    void on_pL1Edit_textChanged(const QString& text);
    void on_pL2Edit_textChanged(const QString& text);
    void on_pL3Edit_textChanged(const QString& text);
    void on_pL4Edit_textChanged(const QString& text);
    void on_A_spin_valueChanged(int value);
    void on_B_spin_valueChanged(int value);
    void on_C_spin_valueChanged(int value);
    void on_D_spin_valueChanged(int value);
    void on_E_spin_valueChanged(int value);
    void on_F_spin_valueChanged(int value);
    void on_G_spin_valueChanged(int value);
    void on_H_spin_valueChanged(int value);
    void on_c_Slider_Box_sliderMoved(int position);
    void on_mrlSpinBox_valueChanged(double value);
    void on_erlSpinBox_valueChanged(double value);
    void on_resetBridleButton_clicked();
    void on_copy_Button_pressed();
    void on_paste_Button_pressed();
    void on_clearbridleButton_pressed();
    void on_ropeswindow_checkBox_clicked();
    void on_brwindow_checkBox_clicked();
    void on_attachButton_pressed();
    void on_resetButton_clicked();
    void on_okButton_pressed();
    void on_cancelButton_pressed();

private:
    void InitBridleDialog();
    void GetBridleDialogData();
    void show_bridle_lengths();
    void Attach_RaiserToLines();
    void Refresh_Risers();
    void selectGroup(int selection);
    void setSelection(int selection);
    void storeShare(int group, const QString& text);
    bool settleShare(int group);
    void storeWeight(int row, int value);
    QSize windowMinimum() const;

    ParaStruct* design;
    EditSession* session;
    RopesWidget* ropesWidget = nullptr;
    BrWidget* brWidget = nullptr;   // a window of its own, without parent
    int lineSelection = 0;
    // The shares as they were when their fields were last settled: what a
    // field that holds no share gives back.
    double settledShares[4] = {};
};
