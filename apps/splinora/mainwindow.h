#pragma once

#include <QMainWindow>
#include <QPolygonF>
#include <QString>

#include "apps/splinora/myopenfile.h"
#include "apps/splinora/parastruct.h"
#include "ui_mainwindow.h"

namespace splinora {

// The program's one window: the editing area with its openings and buttons,
// the table panel of the background airfoil, and the menus.
class MainWindow : public QMainWindow, public Ui::main_window
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    void change_O1_O2();
    void JustSaveSplineFile(const QString& filename);
    void Write_BaseTable(const QPolygonF& poly);
    void About();

    ParaStruct* p;
    myOpenFile* opf;

signals:
    void repaint_all();
    void to_repaint_opened_spline();

public slots:
    void setupEditO1_O2();

private slots:
    void on_actionOpen_backround_template_triggered();
    void on_actionOpen_foil_spline_triggered();
    void on_actionSave_as_table_triggered();
    void on_actionSave_as_spline_file_triggered();
    void on_actionExit_triggered();
    void on_actionAbout_program_triggered();
    void on_plusButton_pressed();
    void on_minusButton_pressed();
    void on_rotplusButton_clicked();
    void on_rotminusButton_clicked();
    void on_symetriclButton_clicked();
    void on_refreshButton_clicked();
    void on_O1Edit_editingFinished();
    void on_O2Edit_editingFinished();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace splinora
