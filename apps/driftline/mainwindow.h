#pragma once

#include "ui_mainwindow.h"

#include <QMainWindow>

// The window of the glide simulator: the glide view with the input fields
// over its upper left corner.
class MainWindow : public QMainWindow, private Ui::MainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    void InitMainWindow();
    // The window has no status bar and makes no connections of its own (the
    // form connects its slots by name); both stay empty.
    void createStatusBar();
    void Set_Connections();

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void on_attSlider_valueChanged(int value);
    void on_imp_checkBox_clicked();
    void on_M_Edit_editingFinished();
    void on_S_Edit_editingFinished();
    void on_V0_Edit_editingFinished();
    void on_imp_V_Edit_editingFinished();
    void on_imp_tw_Edit_editingFinished();
    void on_imp_maxatt_Edit_editingFinished();
    void on_actionExit_triggered();
    void on_actionAbout_triggered();
    void Quit();

private:
    // Defaults of the inputs; the fields write to the view, not here.
    double M = 0;
    double S = 0;
    double V0 = 0;
    bool imp_mode = false;
    double imp_V = 0;
    double imp_tw = 0;
    double imp_maxatt = 0;
    bool fieldsSet = false;
};
