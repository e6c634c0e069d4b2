#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QString>

#include "ui_mainwindow.h"

class ApameDialog;
class QLabel;
class BridleDialog;
class CrossLabDialog;
class DataDialog;
class DiagDialog;
class EditAirFoilDialog;
class FlatWingDialog;
class FrontViewDialog;
class GlobClass;
class ImportAirFoilDialog;
class LineMorphDialog;
class MidLineDialog;
class StripesDialog;
class MiscPortDialog;
class OverSewDataDialog;
class PilotDialog;
class SkintDialog;
class ParaStruct;
class ScaleDialog;
class DxfPreviewDialog;
class DesignDialog;
class TermsDialog;
class myOpenFile;

// The main window of wingloft: the 3-D view in the middle, the menus and the
// toolbar that show the editor dialogs, and the project life cycle.
class MainWindow : public QMainWindow, public Ui::MainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    void InitMainWindow();
    void InitDialogs();
    void Set_Connections();
    void setupWorkDirectories();
    void setTemplateView();
    void Enable_Objects(bool on);

    bool JustSaveFile(const QString& path);
    // The kinds of status-bar message: each has one label, whose text the
    // next message of its kind replaces.
    enum class StatusKind { Project, Work };
    void PaintStatusLabel(const QString& text, StatusKind kind);
    void ClearStatusLabel(StatusKind kind);
    void MakeDxfDirectory();
    // Brings a design just read from its project file up to date.
    void takeReadDesign();
    void mainwidget_show();
    void QtProgLauncher(const QString& name);

    // State a caller (and the tests) may look at.
    bool isProjectOpen() const { return projectOpen; }
    QString currentFileName() const { return currentFile; }
    QString outputDir() const { return dxfDir; }
    TermsDialog* termsDialog() const { return m_TermsDialog; }
    ScaleDialog* scaleDialog() const { return m_ScaleDialog; }
    DxfPreviewDialog* dxfPreviewDialog() const { return m_DxfPreviewDialog; }
    DesignDialog* designDialog() const { return m_DesignDialog; }
    FlatWingDialog* flatWingDialog() const { return m_FlatWingDialog; }
    FrontViewDialog* frontViewDialog() const { return m_FrontViewDialog; }
    DataDialog* dataDialog() const { return m_DataDialog; }
    ImportAirFoilDialog* importAirFoilDialog() const { return m_ImportAirFoilDialog; }
    EditAirFoilDialog* editAirFoilDialog() const { return m_EditAirFoilDialog; }
    SkintDialog* skintDialog() const { return m_SkintDialog; }
    ApameDialog* apameDialog() const { return m_ApameDialog; }
    PilotDialog* pilotDialog() const { return m_PilotDialog; }
    BridleDialog* bridleDialog() const { return m_BridleDialog; }
    DiagDialog* diagDialog() const { return m_DiagDialog; }
    CrossLabDialog* crossLabDialog() const { return m_CrossLabDialog; }
    MiscPortDialog* miscPortDialog() const { return m_MiscPortDialog; }
    MidLineDialog* midLineDialog() const { return m_MidLineDialog; }
    LineMorphDialog* lineMorphDialog() const { return m_LineMorphDialog; }
    StripesDialog* stripesDialog() const { return m_StripesDialog; }
    OverSewDataDialog* overSewDataDialog() const { return m_OverSewDataDialog; }

signals:
    void fileStillOpened();
    void forcedQuit();
    void refresh_GL();
    void to_terms_of_use();

public slots:
    void Quit();
    void PaintStatusLabel(const QString& text);
    void ReadTermsDialog();
    void ShowScaleDialog();
    void About();
    void Home_site();
    void SetUpOpenglParam();
    void MakeNewFile();
    void OpenMyFile();
    void SaveToFile();
    void Save_Changes();
    void SavePreviousFile();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_actionGeneral_data_triggered();
    void on_actionBase_line_triggered();
    void on_actionFlat_shape_triggered();
    void on_actionVent_and_lines_triggered();
    void on_actionLines_morphing_triggered();
    void on_actionAirfoils_triggered();
    void on_actionDiagonal_ribs_triggered();
    void on_actionReinforcements_triggered();
    void on_actionReinforcements_menu_triggered();
    void on_actionCross_ports_triggered();
    void on_actionCross_ports_menu_triggered();
    void on_actionPilot_position_triggered();
    void on_actionBillow_compensation_triggered();
    void on_actionBridle_triggered();
    void on_actionCFD_analysis_triggered();
    void on_actionGraphics_triggered();
    void on_actionManage_stripes_triggered();
    void on_actionManage_stripes_2_triggered();
    void on_actionPreview_and_export_triggered();
    void on_actionFoil_analysis_triggered();
    void on_actionFoil_creator_triggered();

private:
    // Offers to save the open project before it is left; false when the user
    // chose to stay (Cancel, or a save that failed).
    bool leaveProject();
    // The three paths of the file set of a project file.
    void setProjectPaths(const QString& prg);
    bool hasProjectFile() const;
    // Writes the design to prg, its design lines to GlobClass::dsgPath and,
    // when cnpSource is given, a copy of that coloured-pieces file to
    // GlobClass::cnpPath, as one save: all of them or none.
    bool saveProject(const QString& prg, const QString& cnpSource);
    // The open refusals in words.
    void explainRefusal(const QString& path);
    // Whether path names the project file open now.
    bool isOpenNow(const QString& path) const;
    QLabel* statusLabel(StatusKind kind);

    myOpenFile* openFile = nullptr;
    QString currentFile;
    QString appDir;
    QString workDir;
    QString projectsDir;
    QString airfoilsDir;
    QString dxfDir;
    bool projectOpen = false;
    ParaStruct* design = nullptr;
    GlobClass* glob = nullptr;

    // Editor dialogs, created once at the first show and kept for the run.
    FlatWingDialog* m_FlatWingDialog = nullptr;
    DataDialog* m_DataDialog = nullptr;
    OverSewDataDialog* m_OverSewDataDialog = nullptr;
    ImportAirFoilDialog* m_ImportAirFoilDialog = nullptr;
    EditAirFoilDialog* m_EditAirFoilDialog = nullptr;
    FrontViewDialog* m_FrontViewDialog = nullptr;
    SkintDialog* m_SkintDialog = nullptr;
    MidLineDialog* m_MidLineDialog = nullptr;
    LineMorphDialog* m_LineMorphDialog = nullptr;
    StripesDialog* m_StripesDialog = nullptr;
    ScaleDialog* m_ScaleDialog = nullptr;
    DxfPreviewDialog* m_DxfPreviewDialog = nullptr;
    BridleDialog* m_BridleDialog = nullptr;
    DesignDialog* m_DesignDialog = nullptr;
    TermsDialog* m_TermsDialog = nullptr;
    ApameDialog* m_ApameDialog = nullptr;
    PilotDialog* m_PilotDialog = nullptr;
    DiagDialog* m_DiagDialog = nullptr;
    CrossLabDialog* m_CrossLabDialog = nullptr;
    MiscPortDialog* m_MiscPortDialog = nullptr;

    QLabel* statusLabels[2] = {nullptr, nullptr};

    bool initialised = false;
    bool projectFileKnown = false;   // currentFile names a real project file
    bool leaveAllowed = true;        // answer of the last save prompt
    bool closingConfirmed = false;   // Quit asked already; the close needs no prompt
};

#endif
