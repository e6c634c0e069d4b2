#pragma once

// The analyser's one window: the panel with the airfoil's name, the angle of
// incidence, thickness, zero-lift angle and circulation, and the tabs of the
// views.

#include "apps/aerolyx/calc/analysisrecord.h"
#include "ui_mainwindow.h"

#include <QMainWindow>

#include <functional>

class QMenu;
class QPrinter;

namespace aerolyx {

class MainWindow : public QMainWindow, public Ui::MainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Loads the airfoil file at path and maps it; false, with the record and
    // the panel as they were and the reason in why, when it cannot be used.
    bool Open_Airfoil(const QString& path, QString* why = nullptr);
    // Writes the airfoil table to path.
    bool Save_Airfoil_Table(const QString& path);
    // Writes "dcppolar.txt" into dir with the pressure view's results for the
    // current angle; nothing before an airfoil is loaded.
    bool Save_Dcp_Polar(const QString& dir);
    // The pop-up menu of a right click: one entry per printable view.
    QMenu* Build_Print_Menu();
    // Prints view page (0 map, 1 stream lines, 2 velocity, 3 pressure
    // coefficient) after the print dialog.
    void PrintSelectedPage(int page);

    int Load_Count() const { return loadCount; }
    double Incidence() const { return incidence; }
    const QString& Current_File() const { return curFile; }
    // The airfoil of the last completed load, as it went into the record.
    const QPolygonF& Foil_Poly() const { return foilPoly; }
    const QPolygonF& Resampled_Poly() const { return resampledPoly; }

    // Saving is not part of the analyser: these only announce themselves on
    // statusEvent and take over the file name; no file is written.
    void Save_Changes();
    void JustSaveFile(const QString& name);

signals:
    void statusEvent(const QString& text);
    // For a host that keeps the analyser open beside a file of its own;
    // nothing here connects to them.
    void fileStillOpened();
    void refreshOpengl();

protected:
    void closeEvent(QCloseEvent* event) override;

public slots:
    void OpenAirfoilFile();
    void Quit();
    void About();
    void Create_airfoil_table();
    void Print_airfoil_table();
    void InfoBarText(const QString&) {}
    void ShowContextMenu(const QPoint& pos);

    void on_conmapButton_pressed();
    void on_dcpButton_pressed();
    void on_angleSlider_valueChanged(int value);
    void on_angleSlider_sliderReleased();
    void on_attangleEdit_editingFinished();
    void on_tabWidget_currentChanged(int index);

private:
    void InitMainWindow();
    void Set_Connections();
    void Show_Circulation();
    void Repaint_Angle_Views();
    void Repaint_All_Views();
    bool Run_Print_Dialog(QPrinter* printer);
    static QString strippedName(const QString& path);

    QString curFile;
    QPolygonF foilPoly;       // the airfoil of the last completed load
    QPolygonF resampledPoly;  // the same 128 points, the resampling's result
    myData* record;
    bool fileOpened = false;  // no file stays open in the analyser
    double incidence = 0;
    int loadCount = 0;
};

} // namespace aerolyx
