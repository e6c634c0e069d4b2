#pragma once

// "Cross ports manager": the hole parameters of the four cross-port groups
// (loaded ribs, intermediate ribs, front and rear mini-ribs), one editor tab
// per group. Edits go to the live design; OK keeps them, Cancel or closing
// the window restores the design as it was when the dialog was shown. The
// mini-rib outlines are laid flat from the wing built without twist
// (structure/untwistedwing.h); the design keeps its twist.

#include <QDialog>

#include <memory>

class CrossLab;
class UntwistedWing;
class EditSession;
class ParaStruct;
namespace Ui {
class crosslab_dialog;
}

class CrossLabDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CrossLabDialog(QWidget* parent = nullptr);
    ~CrossLabDialog() override;

    Ui::crosslab_dialog* form() const { return ui.get(); }
    // The editor of group tab 0..3.
    CrossLab* editor(int tab) const;
    int currentTabIndex() const { return currentTab; }

    void setVisible(bool visible) override;
    void reject() override;

signals:
    // The 3-D view should rebuild and repaint.
    void to_glwidget();

public slots:
    void quit();
    void quit_cancel();
    void setupBoxes();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_tabWidget_currentChanged(int index);
    void on_n_Box_valueChanged(int v);
    void on_offsetBox_valueChanged(int v);
    void on_dcornerBox_valueChanged(int v);
    void on_setupWholeGrup_pressed();
    void on_edgeBox_valueChanged(int v);

private:
    CrossLab* currentEditor() const;
    // The boxes show the shown values; filling them is no edit.
    void showValues();
    void limitHoleCount();

    std::unique_ptr<Ui::crosslab_dialog> ui;
    ParaStruct* data;
    EditSession* session = nullptr;
    int currentTab = -1;
    std::shared_ptr<UntwistedWing> flatWing;
};
