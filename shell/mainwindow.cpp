#include "shell/mainwindow.h"

#include "aero/ui/apamedialog.h"
#include "aero/ui/pilotdialog.h"
#include "core/designedit.h"
#include "core/filesave.h"
#include "core/notify.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/pattspline.h"
#include "graphics/streamfile.h"
#include "core/calcul3d.h"
#include "shape/ui/datadialog.h"
#include "lines/ui/bridledialog.h"
#include "patterns/ui/dxfpreviewdialog.h"
#include "graphics/ui/designdialog.h"
#include "airfoils/ui/editairfoildialog.h"
#include "shape/ui/flatwing.h"
#include "shape/ui/frontviewdialog.h"
#include "airfoils/ui/importairfoildialog.h"
#include "shape/ui/skintdialog.h"
#include "lines/ui/linemorphdialog.h"
#include "lines/ui/midlinedialog.h"
#include "structure/ui/stripesdialog.h"
#include "shell/scaledialog.h"
#include "shell/termsdialog.h"
#include "core/userinteraction.h"
#include "widgets/uihelpers.h"
#include "structure/ui/crosslab_dialog.h"
#include "structure/ui/diagdialog.h"
#include "structure/ui/miscport_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

const char* const kTemplateName = "template.ini";
// The default design's design lines, beside it as a project's ".dsg" is
// beside its ".prg".
const char* const kTemplateLinesName = "template.dsg";
const char* const kHomePage = "https://wingloft.example.org/";

// A project name as typed: ".prg" is appended unless it already ends so.
QString completeProjectName(QString name)
{
    if (!name.endsWith(".prg"))
        name += ".prg";
    return name;
}

// The companion file of a project file: its ".prg" ending replaced.
QString companionPath(const QString& prg, const char* ending)
{
    QString path = prg;
    if (path.endsWith(".prg"))
        path.chop(4);
    return path + ending;
}

// The design lines of the default design: none when their file is missing
// or unreadable; a line that fails the check is left out.
QList<Spline> templateDesignLines(const QString& appDir)
{
    QList<Spline> lines;
    Read_Stream_File(appDir + "/" + kTemplateLinesName, [&lines](QDataStream& in) { in >> &lines; });
    QList<Spline> sound;
    for (const Spline& line : std::as_const(lines))
        if (Spline_Problem(line).isEmpty())
            sound.append(line);
    return sound;
}

// The rib bookkeeping of a design read from a file must stay within the
// per-rib tables.
bool ribBookkeepingFits(const ParaStruct& d)
{
    return (d.firstRib == 0 || d.firstRib == 1) && d.lastRib >= 1 && d.lastRib <= kMaxLastRib
        && d.lastRib == d.sideCells + d.firstRib;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    Q_INIT_RESOURCE(shell_images);
    setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint);
    glob = GetGlobClass();
    design = GetDataStruct();
    openFile = new myOpenFile(this);
}

MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------- start-up

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!initialised) {
        initialised = true;
        InitMainWindow();
    }
    // A message without a time-out hides the status labels for as long as
    // it stands.
    statusBar()->showMessage("Ready", 5000);
}

void MainWindow::InitMainWindow()
{
    InitDialogs();
    Set_Connections();
    setupWorkDirectories();
    setTemplateView();
    emit to_terms_of_use();
}

void MainWindow::InitDialogs()
{
    // Every editor of the program, made once and owned by the window, so it
    // goes with it; the menus and the toolbar only show them.
    m_DataDialog = new DataDialog(this);
    m_OverSewDataDialog = new OverSewDataDialog(this);
    m_ImportAirFoilDialog = new ImportAirFoilDialog(this);
    m_EditAirFoilDialog = new EditAirFoilDialog(this);
    m_ImportAirFoilDialog->Setup_EditAirfoil(m_EditAirFoilDialog);
    m_FlatWingDialog = new FlatWingDialog(this);
    m_FrontViewDialog = new FrontViewDialog(this);
    m_MidLineDialog = new MidLineDialog(this);
    m_LineMorphDialog = new LineMorphDialog(this);
    m_BridleDialog = new BridleDialog(this);
    m_SkintDialog = new SkintDialog(this);
    m_DiagDialog = new DiagDialog(this);
    m_ScaleDialog = new ScaleDialog(this);
    m_TermsDialog = new TermsDialog(this);
    m_ApameDialog = new ApameDialog(this);
    m_PilotDialog = new PilotDialog(this);
    m_CrossLabDialog = new CrossLabDialog(this);
    m_MiscPortDialog = new MiscPortDialog(this);
    m_DxfPreviewDialog = new DxfPreviewDialog(this);
    m_StripesDialog = new StripesDialog(this);
    m_DesignDialog = new DesignDialog(this);
    // The editors that switch the 3-D view while they are open.
    m_DiagDialog->setViewState(&openglwidget->viewState());
    m_ScaleDialog->setViewState(&openglwidget->viewState());
    // Connected once: each OK refreshes the 3-D view once.
    connect(m_CrossLabDialog, &CrossLabDialog::to_glwidget, this, &MainWindow::SetUpOpenglParam);
    connect(m_MiscPortDialog, &MiscPortDialog::toglwidget, this, &MainWindow::SetUpOpenglParam);
}

void MainWindow::Set_Connections()
{
    connect(this, &MainWindow::forcedQuit, this, &MainWindow::Quit);
    connect(this, &MainWindow::fileStillOpened, this, &MainWindow::SavePreviousFile);
    connect(this, &MainWindow::refresh_GL, openglwidget, &glWidget::ReInit_GL);
    connect(this, &MainWindow::to_terms_of_use, this, &MainWindow::ReadTermsDialog);

    connect(actionNew, &QAction::triggered, this, &MainWindow::MakeNewFile);
    connect(actionOpen, &QAction::triggered, this, &MainWindow::OpenMyFile);
    connect(actionSave, &QAction::triggered, this, &MainWindow::Save_Changes);
    connect(actionSave_as, &QAction::triggered, this, &MainWindow::SaveToFile);
    connect(actionGenerate_scaled_model, &QAction::triggered, this, &MainWindow::ShowScaleDialog);
    connect(actionExit, &QAction::triggered, this, &MainWindow::Quit);

    connect(actionAbout_program, &QAction::triggered, this, &MainWindow::About);
    connect(actionHome_site, &QAction::triggered, this, &MainWindow::Home_site);
    connect(actionTerm_of_use, &QAction::triggered, this, &MainWindow::ReadTermsDialog);

    connect(actionGeneral_data_2, &QAction::triggered, this, &MainWindow::on_actionGeneral_data_triggered);
    connect(actionBase_line_face_view, &QAction::triggered, this, &MainWindow::on_actionBase_line_triggered);
    connect(action_flat_shape, &QAction::triggered, this, &MainWindow::on_actionFlat_shape_triggered);
    connect(actionLine_positins, &QAction::triggered, this, &MainWindow::on_actionVent_and_lines_triggered);
    connect(actionLine_s_morfing_closed_cells, &QAction::triggered, this,
            &MainWindow::on_actionLines_morphing_triggered);
    connect(actionAirfoils_import_morph, &QAction::triggered, this, &MainWindow::on_actionAirfoils_triggered);
    connect(actionView_pilot_s_position, &QAction::triggered, this,
            &MainWindow::on_actionPilot_position_triggered);
    connect(actionDiagonals, &QAction::triggered, this, &MainWindow::on_actionDiagonal_ribs_triggered);
    connect(actionBillow_compensation_2, &QAction::triggered, this,
            &MainWindow::on_actionBillow_compensation_triggered);
    connect(actionBridle_2, &QAction::triggered, this, &MainWindow::on_actionBridle_triggered);
    connect(actionDxf_preview_and_export, &QAction::triggered, this,
            &MainWindow::on_actionPreview_and_export_triggered);
    connect(actionCFD_analysis_2, &QAction::triggered, this, &MainWindow::on_actionCFD_analysis_triggered);
    connect(actionDesign_lower_and_upper_surface, &QAction::triggered, this,
            &MainWindow::on_actionGraphics_triggered);
}

void MainWindow::setupWorkDirectories()
{
    const QString applicationDir = QCoreApplication::applicationDirPath();
    QDir::setCurrent(applicationDir);
    appDir = QDir(applicationDir).absolutePath();
    QDir parent(appDir);
    parent.cdUp();

    workDir = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) + "/WL9work";
    projectsDir = workDir + "/Paragliders";
    airfoilsDir = workDir + "/Airfoils";

    // A new user has no work tree yet: make it, so the file dialogs open there.
    QDir().mkpath(projectsDir);
    QDir().mkpath(airfoilsDir);

    glob->appDir = appDir;
    glob->workDir = workDir;
    glob->projectsDir = projectsDir;
    glob->airfoilsDir = airfoilsDir;
    glob->appParentDir = parent.absolutePath();
}

void MainWindow::setTemplateView()
{
    const QString templatePath = appDir + "/" + kTemplateName;
    currentFile = QFileInfo(templatePath).baseName();

    auto read = std::make_unique<ParaStruct>();
    if (openFile->ReadParaStream(templatePath, read.get())) {
        *design = *read;
        design->designSplines = templateDesignLines(appDir);
        takeReadDesign();
    } else {
        // Told once the window is up, so the start is not held up by it.
        QTimer::singleShot(0, this, [templatePath] {
            Show_Warning("Wingloft", "The default design could not be read:\n" + templatePath
                                         + "\n\nNew projects cannot be made until it is in place.");
        });
    }
    glob->prgPath = templatePath;
    projectOpen = false;
    projectFileKnown = false;
    Enable_Objects(false);
    // The editors wait for a project; without a word the greyed-out window
    // does not tell a newcomer where to start. The first project's name
    // takes this place.
    PaintStatusLabel("To begin, choose File > New (or File > Open for a saved project).");
}

void MainWindow::Enable_Objects(bool on)
{
    openglwidget->setEnabled(on);
    menuActions->setEnabled(on);
    menuActions->menuAction()->setEnabled(on);
    toolBar->setEnabled(on);
}

QLabel* MainWindow::statusLabel(StatusKind kind)
{
    QLabel*& label = statusLabels[kind == StatusKind::Project ? 0 : 1];
    if (!label) {
        label = new QLabel;
        statusBar()->addWidget(label, 1);
    }
    return label;
}

void MainWindow::PaintStatusLabel(const QString& text)
{
    PaintStatusLabel(text, StatusKind::Project);
}

void MainWindow::PaintStatusLabel(const QString& text, StatusKind kind)
{
    // A label shown while a message stands would stay hidden behind it.
    statusBar()->clearMessage();
    statusLabel(kind)->setText(text);
    statusBar()->update();
}

void MainWindow::ClearStatusLabel(StatusKind kind)
{
    statusLabel(kind)->clear();
}

// ---------------------------------------------------------------- leaving

void MainWindow::Quit()
{
    if (!leaveProject())
        return;
    closingConfirmed = true;
    close();
    closingConfirmed = false;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!closingConfirmed && !leaveProject()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool MainWindow::leaveProject()
{
    if (!projectOpen)
        return true;
    leaveAllowed = true;
    emit fileStillOpened();
    return leaveAllowed;
}

void MainWindow::SavePreviousFile()
{
    const QString text = "Paraglider data are (maybe) modified ?";
    const QString informative = "Do you want to save changes?";
    switch (User().saveChanges(text, informative)) {
    case UserInteraction::SaveAnswer::Save:
        // A project that could not be saved is not left.
        leaveAllowed = hasProjectFile() ? JustSaveFile(currentFile) : false;
        break;
    case UserInteraction::SaveAnswer::Discard:
        leaveAllowed = true;
        break;
    default:
        leaveAllowed = false;
        break;
    }
}

// ---------------------------------------------------------------- saving

bool MainWindow::hasProjectFile() const
{
    return projectFileKnown && !currentFile.isEmpty();
}

void MainWindow::setProjectPaths(const QString& prg)
{
    glob->prgPath = prg;
    glob->dsgPath = companionPath(prg, ".dsg");
    glob->cnpPath = companionPath(prg, ".cnp");
}

bool MainWindow::JustSaveFile(const QString& path)
{
    return saveProject(path, QString());
}

bool MainWindow::saveProject(const QString& path, const QString& cnpSource)
{
    if (path.isEmpty())
        return false;
    // What could not be opened again is not saved: the files on disk stay
    // the last ones that open.
    QString refusal;
    const QByteArray record = Checked_Project_File_Bytes(*design, &refusal);
    if (record.isEmpty()) {
        Show_Warning("Save", "The project could not be saved:\n" + path + "\n\nThe design could not be opened again "
                                 "from the file: " + refusal + ".\n\nNothing was written; every file of the project "
                                 "on disk is as it was.");
        return false;
    }
    // The project file last: of the renames that replace the old files it is
    // the one that makes the saved design the project's.
    QList<FileContent> files;
    files.append({glob->dsgPath, Spline_File_Bytes(design->designSplines)});
    if (!cnpSource.isEmpty()) {
        QFile pieces(cnpSource);
        if (pieces.open(QIODevice::ReadOnly))
            files.append({glob->cnpPath, pieces.readAll()});
        else
            Show_Warning("Save as", "The coloured pieces could not be copied to\n" + glob->cnpPath + "\n\n"
                                        + cnpSource + " cannot be read: " + pieces.errorString() + ".");
    }
    files.append({path, record});

    const FileSaveResult result = Save_Files(files);
    if (!result.ok()) {
        QString text = "The project could not be saved: " + strippedName(result.path) + " could not be written.\n"
                     + result.path + "\n\n" + result.reason() + ". " + result.advice();
        if (result.notRestored.isEmpty())
            text += "\n\nEvery file of the project on disk is as it was.";
        else
            text += "\n\nNot every old file could be put back: " + result.notRestored + ".";
        Show_Warning("Save", text);
        return false;
    }
    currentFile = path;
    glob->prgPath = path;
    PaintStatusLabel("saved file:  " + strippedName(path));
    return true;
}

void MainWindow::Save_Changes()
{
    // Before any project exists there is no file to save to: ask for one.
    if (!hasProjectFile()) {
        SaveToFile();
        return;
    }
    JustSaveFile(currentFile);
}

void MainWindow::SaveToFile()
{
    QString name = openFile->DialogWriteToFile(projectsDir);
    if (name.isEmpty())
        return;
    name = completeProjectName(name);

    const QString oldPrg = glob->prgPath, oldDsg = glob->dsgPath, oldCnp = glob->cnpPath;
    const QString oldFile = currentFile;
    setProjectPaths(name);
    currentFile = name;
    // The coloured pieces go with the design under the new name, in the
    // same save.
    const bool movePieces = !oldCnp.isEmpty() && oldCnp != glob->cnpPath && QFile::exists(oldCnp);
    if (!saveProject(name, movePieces ? oldCnp : QString())) {
        glob->prgPath = oldPrg;
        glob->dsgPath = oldDsg;
        glob->cnpPath = oldCnp;
        currentFile = oldFile;
        return;
    }
    projectFileKnown = true;
    // Output of the new project goes to its own folder.
    MakeDxfDirectory();
    mainwidget_show();
}

void MainWindow::MakeDxfDirectory()
{
    dxfDir = workDir + "/Dxf" + QFileInfo(currentFile).baseName();
    // A folder that cannot be made is told when something is to be written
    // into it, with the reason.
    Make_Folder(dxfDir);
    glob->dxfDir = dxfDir;
}

// ---------------------------------------------------------------- new, open

void MainWindow::MakeNewFile()
{
    if (!leaveProject())
        return;

    QString name = openFile->DialogNewFile(projectsDir);
    if (name.isEmpty())
        return;
    name = completeProjectName(name);

    const QString templatePath = appDir + "/" + kTemplateName;
    auto fresh = std::make_unique<ParaStruct>();
    if (!openFile->ReadParaStream(templatePath, fresh.get())) {
        Show_Warning("New", "The default design could not be read:\n" + templatePath
                                + "\n\nNo new project was made.");
        return;
    }

    const QList<Spline> lines = templateDesignLines(appDir);
    fresh->designSplines = lines;

    auto previous = std::make_unique<ParaStruct>(*design);
    *design = *fresh;
    if (!openFile->WriteParaStream(name, *design, myOpenFile::Report::Silently)) {
        *design = *previous;
        Show_Warning("New", "The new project could not be written:\n" + name + "\n\n"
                                + openFile->lastSaveFailure());
        return;
    }
    previous.reset();
    fresh.reset();

    Apply_Edit(design, DesignEdit::Wing);
    setProjectPaths(name);
    // The default design's lines go into the new project's file set with the
    // design, so that the project reads back as it was made.
    if (!lines.isEmpty() && !WriteSplineStream(lines))
        Show_Warning("New", "The design lines of the new project could not be written:\n" + glob->dsgPath);

    auto readBack = std::make_unique<ParaStruct>();
    if (openFile->ReadParaStream(name, readBack.get())) {
        *design = *readBack;
        design->designSplines = lines;
        takeReadDesign();
        currentFile = name;
        projectFileKnown = true;
        Enable_Objects(true);
        PaintStatusLabel("new file:  " + strippedName(name));
        MakeDxfDirectory();
        projectOpen = true;
    } else {
        Show_Warning("New", "The new project could not be read back:\n" + name);
    }
    mainwidget_show();
}

void MainWindow::OpenMyFile()
{
    if (!glob->termsAccepted) {
        Break_Question(" Sorry,you dont't comply with theis term of use...", "program will close now");
        emit forcedQuit();
        return;
    }
    if (!leaveProject())
        return;

    const QString name = openFile->DialogReadFromFile(projectsDir);
    if (name.isEmpty())
        return;
    // The project open now is not read over itself; any other file is
    // opened, also one that was open before a Save as.
    if (isOpenNow(name)) {
        User().information("Open", "This project is open already:\n" + QDir::toNativeSeparators(name));
        return;
    }

    auto read = std::make_unique<ParaStruct>();
    // Reading the project and recomputing its design take a moment.
    const WaitCursor busy;
    // The refusals of Open are explained below in the program's own words.
    const bool accepted = openFile->ReadParaStream(name, read.get(), myOpenFile::Report::Silently);
    if (!accepted) {
        explainRefusal(name);
        return;
    }
    if (!ribBookkeepingFits(*read)) {
        Show_Warning("Open", "The project could not be opened:\n" + name
                                 + "\n\nIts rib bookkeeping does not fit the design tables.");
        return;
    }

    *design = *read;
    read.reset();
    setProjectPaths(name);
    currentFile = name;
    projectFileKnown = true;
    Enable_Objects(true);
    PaintStatusLabel("  opened file:  " + strippedName(name));
    MakeDxfDirectory();
    projectOpen = true;

    // Lines that cannot be loaded are dropped and the user is told; the file
    // stays as it is until the project is saved.
    design->designSplines = Open_Design_Lines();
    takeReadDesign();
    mainwidget_show();
    if (const qint64 unread = openFile->lastUnreadBytes(); unread > 0)
        Show_Warning("Open", "The project file " + QDir::toNativeSeparators(name) + " holds "
                                 + QLocale(QLocale::English).toString(unread)
                                 + " bytes after its last part, which this program does not read.\n\nThe project "
                                   "is open without them; the next Save writes the file without them. Keep a copy "
                                   "of the file if they matter.");
}

bool MainWindow::isOpenNow(const QString& path) const
{
    if (!hasProjectFile())
        return false;
    const QFileInfo asked(path), open(currentFile);
    const QString a = asked.canonicalFilePath(), b = open.canonicalFilePath();
    if (!a.isEmpty() && !b.isEmpty())
        return a == b;
    return asked.absoluteFilePath() == open.absoluteFilePath();
}

void MainWindow::explainRefusal(const QString& path)
{
    switch (openFile->lastReadStatus()) {
    case myOpenFile::EmptyPath:
    case myOpenFile::FileMissing:
        return;
    case myOpenFile::WrongVersion:
        if (Version_Tag_Is_Newer(openFile->lastVersionTag()))
            Break_Question("Warning ... this file is of a newer Wingloft version ... ",
                           "  it was saved by version " + openFile->lastVersionTag().left(40)
                               + ": open it with that version, or a file of version 7.0.0.0 ! ");
        else
            Break_Question("Warning ... this is an old Wingloft version ... ",
                           "  open a right version file or a create new one ! ");
        return;
    case myOpenFile::TooManyRibs:
        Break_Question(" *** WARNING ***", "  Corrupted file! Please just remove it ! ");
        return;
    default:
        break;
    }
    const QString why = openFile->lastError();
    QString advice;
    if (openFile->lastReadStatus() == myOpenFile::CannotOpen)
        advice = "Check that you may read the file.";
    else if (why.contains("cut short") || why.contains("empty"))
        advice = "A copy or a transfer that was interrupted leaves a file cut short: copy the file again from "
                 "where it came, or open an earlier copy of it.";
    else
        advice = "The file was damaged or changed outside the program: open an earlier copy of it.";
    Show_Warning("Open", "The project could not be opened:\n" + path + "\n\nIt cannot be read: " + why + ".\n\n"
                             + advice + "\nThe file stays as it is.");
}

void MainWindow::takeReadDesign()
{
    // A file holds the design's inputs alone: the derived data follow them
    // here. Another project is a change of everything, with a revision of
    // its own, so that nothing built or computed from the project before
    // (the views, solver results, the risers) is taken for this one's.
    design->Repair_Airfoils();
    Apply_Edit(design, DesignEdit::Wing);
}

void MainWindow::mainwidget_show()
{
    design->projectName = strippedName(currentFile);
    setWindowTitle("wingloft   WL9        Current file: " + design->projectName);
    openglwidget->viewState().inflatedView = false;
    openglwidget->viewState().ghostView = false;
    emit refresh_GL();
}

// ---------------------------------------------------------------- services

void MainWindow::ReadTermsDialog()
{
    m_TermsDialog->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                  | Qt::WindowSystemMenuHint | Qt::WindowStaysOnTopHint);
    m_TermsDialog->showNormal();
}

void MainWindow::About()
{
    User().about(
        "About  program", "<b>Wingloft WL9</b> - paraglider and kite design",
        "Version 9.0 (project files 7.0.0.0)<br>"
        "Shape, airfoils, lines and bridle, internal structure, graphic design, "
        "panel-method analysis and DXF sewing patterns.<br><br>"
        "Written by the Wingloft developers, 2024.<br>"
        "Home page: <a href=\"" + QString(kHomePage) + "\">" + QString(kHomePage) + "</a><br>"
        "Companion programs: aerolyx (airfoil flow), splinora (spline airfoils).",
        QImage(":/new/prefix1/images/wingloft_logo.png").scaledToWidth(320, Qt::SmoothTransformation));
}

void MainWindow::Home_site()
{
    QDesktopServices::openUrl(QUrl(kHomePage));
}

void MainWindow::QtProgLauncher(const QString& name)
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QProcess process;
    process.start("./" + name, QStringList(), QIODevice::ReadWrite);
    process.waitForFinished(-1);
    QApplication::restoreOverrideCursor();
}

void MainWindow::ShowScaleDialog()
{
    m_ScaleDialog->showNormal();
}

void MainWindow::SetUpOpenglParam()
{
    openglwidget->viewState().inflatedView = false;
    openglwidget->viewState().ghostView = false;
    emit refresh_GL();
}

// ---------------------------------------------------------------- actions
// The editors of the later subsystems are shown from here once they exist.

void MainWindow::on_actionGeneral_data_triggered()
{
    m_DataDialog->show();
}

void MainWindow::on_actionBase_line_triggered()
{
    m_FrontViewDialog->showMaximized();
}

void MainWindow::on_actionFlat_shape_triggered()
{
    m_FlatWingDialog->showMaximized();
}

void MainWindow::on_actionVent_and_lines_triggered()
{
    m_MidLineDialog->showMaximized();
}

void MainWindow::on_actionLines_morphing_triggered()
{
    m_LineMorphDialog->showMaximized();
}

void MainWindow::on_actionAirfoils_triggered()
{
    m_ImportAirFoilDialog->showNormal();
}

void MainWindow::on_actionDiagonal_ribs_triggered()
{
    m_DiagDialog->showMaximized();
}

void MainWindow::on_actionReinforcements_triggered() { on_actionReinforcements_menu_triggered(); }
void MainWindow::on_actionReinforcements_menu_triggered()
{
    m_MiscPortDialog->showMaximized();
}

void MainWindow::on_actionCross_ports_triggered() { on_actionCross_ports_menu_triggered(); }
void MainWindow::on_actionCross_ports_menu_triggered()
{
    m_CrossLabDialog->showMaximized();
}

void MainWindow::on_actionPilot_position_triggered()
{
    m_PilotDialog->showNormal();
}
void MainWindow::on_actionBillow_compensation_triggered()
{
    m_SkintDialog->showMaximized();
}
void MainWindow::on_actionBridle_triggered()
{
    m_BridleDialog->showMaximized();
}
void MainWindow::on_actionCFD_analysis_triggered()
{
    if (!Break_Question(" loading CFD and previous solution takes some time", " ...cancel or wait a moment ?  "))
        return;
    // The message stands while the dialog loads the model and its solution
    // (in its show), holding up the event loop: painted at once, and gone
    // when the dialog is up.
    PaintStatusLabel(" ...loading CFD ....", StatusKind::Work);
    statusBar()->repaint();
    m_ApameDialog->showNormal();
    ClearStatusLabel(StatusKind::Work);
}
void MainWindow::on_actionGraphics_triggered()
{
    m_DesignDialog->showMaximized();
}
void MainWindow::on_actionManage_stripes_triggered() { on_actionManage_stripes_2_triggered(); }
void MainWindow::on_actionManage_stripes_2_triggered()
{
    m_StripesDialog->showMaximized();
}
void MainWindow::on_actionPreview_and_export_triggered()
{
    m_DxfPreviewDialog->showMaximized();
}

void MainWindow::on_actionFoil_analysis_triggered()
{
    QtProgLauncher("aerolyx");
}

void MainWindow::on_actionFoil_creator_triggered()
{
    QtProgLauncher("splinora");
}
