#pragma once

// "Miniribs and reinforcements": the mylar nose reinforcement, the upper and
// lower rods, and the front and rear mini-ribs with the cells that get them.
// The settings are global; the dialog shows and edits them on rib 1. Edits
// go to the live design; OK recomputes and keeps them, Cancel or closing
// the window restores the design as it was when the dialog was shown. The
// view lays the rib and its mini-ribs flat from the wing built without twist
// (structure/untwistedwing.h); the design keeps its twist.
//
// Record fields: minirib (rear position, front extents, rear cavity, the
// mylar's extents and pairs), rod1 / rod2 (upper and lower rod),
// frontRibEnabled / rearRibEnabled (the cells that get mini-ribs).

#include <QDialog>

#include <memory>

class CrossEdit;
class EditSession;
class ParaStruct;
namespace Ui {
class miscportdialog;
}

class MiscPortDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MiscPortDialog(QWidget* parent = nullptr);
    ~MiscPortDialog() override;

    Ui::miscportdialog* form() const { return ui.get(); }
    CrossEdit* editor() const;

    void setVisible(bool visible) override;
    void reject() override;

    // Record to controls; filling them is no edit.
    void initDialog();
    // The selection texts back into the cell flags.
    void setupCrossPortData();

signals:
    // The 3-D view should rebuild and repaint.
    void toglwidget();

public slots:
    void quit();
    void quit_cancel();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_tabWidget_currentChanged(int index);
    void on_startmilarSlider_valueChanged(int v);
    void on_endmilarSlider_valueChanged(int v);
    void on_resetmilarButton_pressed();
    void on_rearribposSlider_valueChanged(int v);
    void on_rearribsEdit_textChanged(const QString& text);
    void on_resetrearButton_pressed();
    void on_rearrib_cavityEdit_textChanged(const QString& text);
    void on_rearrib_cavityEdit_editingFinished();
    void on_startfrontSlider_valueChanged(int v);
    void on_endfrontSlider_valueChanged(int v);
    void on_frontribsEdit_textChanged(const QString& text);
    void on_resetfrontButton_pressed();
    void on_upSlider_valueChanged(int v);
    void on_dwSlider_valueChanged(int v);
    void on_resetrodsButton_pressed();
    void on_leftSlider_valueChanged(int v);
    void on_rightSlider_valueChanged(int v);
    void on_resetrodsButton_2_pressed();

private:
    // Every cell of the half wing selected.
    void selectAllCells(bool* flags);
    // Puts the cavity back (and says why) when the field holds no cavity.
    bool settleCavity();

    std::unique_ptr<Ui::miscportdialog> ui;
    ParaStruct* design;
    EditSession* session = nullptr;
};
