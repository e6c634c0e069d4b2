#ifndef MAINWINDOWTESTS_H
#define MAINWINDOWTESTS_H

// The tests of the main window; two test programs run halves of them side by side.

#include <QTest>
#include <QAction>
#include <QByteArray>
#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIODevice>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QBuffer>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <limits>
#include <thread>

#include "shell/mainwindow.h"
#include "tests/common/scripteduser.h"
#include "aero/apameres.h"
#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/filesave.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/pattspline.h"
#include "shell/scaledialog.h"
#include "tests/shell/shellfixture.h"
#include "shell/termsdialog.h"
#include "core/notify.h"
#include "ui_scaledialog.h"
#include "ui_termsdialog.h"
#include "tests/common/recordimage.h"
#include "tests/common/statewait.h"

namespace mwtest {

struct Asked {
    QString kind;     // "question", "prompt", "warning", "notice", "open", "save"
    QString text;
    QString more;
};

inline QDebug operator<<(QDebug d, const Asked& a)
{
    return d << a.kind << a.text << a.more;
}

// The bytes a design-line file of these lines holds.
inline QByteArray linesBytes(const QList<Spline>& lines)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << lines;
    return bytes;
}

// A project file of the record written as it stands, as a damaged file or
// one of another program holds it: Save would refuse the record.
inline bool writeUnchecked(const QString& path, const ParaStruct& record)
{
    return Save_File(path, Project_File_Bytes(record)).ok();
}

// What the user was told of a failure: the warnings and notices among all
// that was asked.
inline QList<Asked> toldOf(const QList<Asked>& asked)
{
    QList<Asked> told;
    for (const Asked& a : asked)
        if (a.kind == "warning" || a.kind == "notice")
            told << a;
    return told;
}

using Entry = QPair<QString, QString>;   // object name ("sep" for a separator), text

inline QList<Entry> entries(const QList<QAction*>& actions)
{
    QList<Entry> list;
    for (QAction* a : actions)
        list << (a->isSeparator() ? Entry("sep", QString())
                 : a->menu()      ? Entry(a->menu()->objectName(), a->text())
                                  : Entry(a->objectName(), a->text()));
    return list;
}

} // namespace mwtest

using namespace mwtest;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qApp->setQuitOnLastWindowClosed(false);
        home = useFreshHome();
        QVERIFY(writeTemplate());
        templateBytes = fileBytes(templatePath());
        QVERIFY(!templateBytes.isEmpty());
        templateLinesBytes = fileBytes(templateLinesPath());
        QVERIFY(templateLinesBytes.size() > 4);
        auto chooser = [this](const char* kind) {
            return [this, kind](const QString& title, const QString& dir, const QString&) {
                asked << Asked{kind, title, dir};
                return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
            };
        };
        user.onOpenFile = chooser("open");
        user.onSaveFile = chooser("save");
    }

    void init()
    {
        asked.clear();
        fileAnswers.clear();
        questionAnswer = false;
        promptAnswer = UserInteraction::SaveAnswer::Cancel;
        user.onQuestion = [this](const QString& t, const QString& m) {
            asked << Asked{"question", t, m};
            return questionAnswer;
        };
        user.onSaveChanges = [this](const QString& t) {
            asked << Asked{"prompt", t, user.asked.last().text};
            return promptAnswer;
        };
        // What the computations tell the user comes without a title.
        user.onWarning = [this](const QString& t, const QString& m) {
            asked << (t.isEmpty() ? Asked{"notice", m, QString()} : Asked{"warning", t, m});
        };
        GetGlobClass()->termsAccepted = false;
        w = new MainWindow;
        readyShown = 0;
        connect(w->statusBar(), &QStatusBar::messageChanged, w, [this](const QString& m) {
            readyShown += m == QLatin1String("Ready");
        });
        w->show();
        WAIT_FOR_EXPOSED(w);
        QCoreApplication::processEvents();
    }

    void cleanup()
    {
        w->termsDialog()->hide();
        w->scaleDialog()->hide();
        delete w;
        w = nullptr;
    }

    void startUp()
    {
        QCOMPARE(w->windowTitle(), QString("WL9 (Wingloft)"));
        QVERIFY(w->termsDialog()->isVisible());
        QVERIFY(w->termsDialog()->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!w->menuActions->isEnabled());
        QVERIFY(!w->toolBar->isEnabled());
        QVERIFY(!w->openglwidget->isEnabled());
        QVERIFY(w->menuMenu->isEnabled());
        QVERIFY(w->menuAerolyx->isEnabled());
        // With the editors greyed out, the status bar says where to begin.
        QVERIFY2(statusTexts().join('|').contains("File > New"), qPrintable(statusTexts().join('|')));
        // "Ready" was shown (it may be gone again on a slow machine).
        QVERIFY(readyShown >= 1);
        QCOMPARE(w->currentFileName(), QString("template"));
        QCOMPARE(GetGlobClass()->prgPath, templatePath());
        // The default design comes with its design lines.
        QVERIFY(!GetDataStruct()->designSplines.isEmpty());
        QCOMPARE(linesBytes(GetDataStruct()->designSplines), templateLinesBytes);
        QCOMPARE(QDir::currentPath(), QCoreApplication::applicationDirPath());
        // A fresh desktop gets its work tree.
        QVERIFY(QDir(home + "/Desktop/WL9work/Paragliders").exists());
        QVERIFY(QDir(home + "/Desktop/WL9work/Airfoils").exists());
        QCOMPARE(GetGlobClass()->projectsDir, home + "/Desktop/WL9work/Paragliders");
        if (!asked.isEmpty())
            qDebug() << asked;
        QVERIFY(asked.isEmpty());

        // Showing the window again initialises nothing twice.
        TermsDialog* terms = w->termsDialog();
        terms->hide();
        w->showMinimized();
        w->showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(w->termsDialog(), terms);
        QVERIFY(!terms->isVisible());

        // "Ready" goes after a while, or when a status label comes, and the
        // status label shows; a second message of its kind replaces it.
        w->PaintStatusLabel("one");
        w->PaintStatusLabel("two");
        QVERIFY(w->statusBar()->currentMessage().isEmpty());
        QStringList labels;
        for (QLabel* l : w->statusBar()->findChildren<QLabel*>())
            if (l->isVisible())
                labels << l->text();
        QVERIFY(labels.contains("two"));
        QVERIFY(!labels.contains("one"));
    }

    void termsDialogForm()
    {
        TermsDialog* t = w->termsDialog();
        QCOMPARE(t->windowTitle(), QString("Wingloft - TERMS OF USE"));
        QVERIFY(t->styleSheet().startsWith("background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:1, y2:0"));
        QCOMPARE(t->form()->label->text(), QString("Please read the terms of use,before proceed"));
        QVERIFY(t->form()->plainTextEdit->isReadOnly());
        QVERIFY(t->form()->plainTextEdit->toPlainText().contains("10."));
        QCOMPARE(t->form()->wingloftButton->text(), QString("Accept "));
        QCOMPARE(t->form()->cancelButton->text(), QString("Cancel"));
        QVERIFY(!t->form()->wingloft_label->pixmap().isNull());

        QTest::mouseClick(t->form()->wingloftButton, Qt::LeftButton);
        QVERIFY(GetGlobClass()->termsAccepted);
        QVERIFY(!t->isVisible());
        w->actionTerm_of_use->trigger();
        QVERIFY(t->isVisible());
        QTest::mouseClick(t->form()->cancelButton, Qt::LeftButton);
        QVERIFY(!GetGlobClass()->termsAccepted);
    }

    void menusAndToolbar()
    {
        QCOMPARE(entries(w->Ui::MainWindow::menuBar->actions()),
                 (QList<Entry>{{"menuMenu", "File"}, {"menuActions", "Edit"}, {"menuHelp", "Help"},
                               {"menuAerolyx", "Edit,Create airfoils"}}));
        QCOMPARE(entries(w->menuMenu->actions()),
                 (QList<Entry>{{"actionNew", "New"}, {"sep", ""}, {"actionOpen", "Open"}, {"sep", ""},
                               {"actionSave", "Save"}, {"sep", ""}, {"actionSave_as", "Save as..."},
                               {"sep", ""}, {"sep", ""},
                               {"actionGenerate_scaled_model", "Generate scaled model"}, {"sep", ""},
                               {"sep", ""}, {"actionExit", "Exit"}}));
        QCOMPARE(entries(w->menuActions->actions()),
                 (QList<Entry>{{"sep", ""}, {"actionGeneral_data_2", "general data"},
                               {"sep", ""}, {"actionBase_line_face_view", "base line(face view)"},
                               {"sep", ""}, {"action_flat_shape", "flat shape (top view)"},
                               {"sep", ""}, {"actionLine_positins", "Line positins"},
                               {"sep", ""}, {"actionLine_s_morfing_closed_cells", "line's morfing,closed cells"},
                               {"sep", ""}, {"actionAirfoils_import_morph", "Airfoils,import,morph"},
                               {"sep", ""}, {"actionCross_ports_menu", "Cross ports"},
                               {"actionReinforcements_menu", "Reinforcements"},
                               {"sep", ""}, {"actionView_pilot_s_position", "View pilot's position"},
                               {"sep", ""}, {"actionDiagonals", "Diagonals"},
                               {"sep", ""}, {"actionBillow_compensation_2", "billow compensation"},
                               {"sep", ""}, {"actionBridle_2", "Bridle"},
                               {"sep", ""}, {"actionDxf_preview_and_export", "Dxf preview and export"},
                               {"sep", ""}, {"actionCFD_analysis_2", "CFD analysis"},
                               {"sep", ""}, {"actionDesign_lower_and_upper_surface", "Design (lower and upper surface)"},
                               {"sep", ""}, {"actionManage_stripes", "Manage straps"}}));
        QCOMPARE(entries(w->menuHelp->actions()),
                 (QList<Entry>{{"actionAbout_program", "About  program"}, {"actionHome_site", "Home  site"},
                               {"actionTerm_of_use", "Terms  of use"}}));
        QCOMPARE(entries(w->menuAerolyx->actions()),
                 (QList<Entry>{{"actionFoil_creator", "foil creator"}, {"actionFoil_analysis", "foil analysis"},
                               {"sep", ""}}));
        QCOMPARE(entries(w->toolBar->actions()),
                 (QList<Entry>{{"actionGeneral_data", "General data"}, {"actionBase_line", "Base line"},
                               {"actionFlat_shape", "Flat shape"}, {"actionVent_and_lines", "Vent and lines"},
                               {"actionLines_morphing", "Lines morphing"}, {"actionAirfoils", "Airfoils"},
                               {"actionDiagonal_ribs", "Diagonal ribs"}, {"actionReinforcements", "Reinforcements"},
                               {"actionCross_ports", "Cross-ports"}, {"actionPilot_position", "Pilot position"},
                               {"actionBillow_compensation", "Billow compensation"},
                               {"actionBridle", "Bridle manager"}, {"actionCFD_analysis", "CFD analysis"},
                               {"actionGraphics", "Graphics"}, {"sep", ""},
                               {"actionManage_stripes_2", "Manage straps"}, {"sep", ""},
                               {"actionPreview_and_export", "Preview and export"}, {"sep", ""},
                               {"actionToolTip", "mouse toolTip"}}));
        QCOMPARE(w->actionCross_ports_menu->toolTip(), QString("Cross ports"));
        QCOMPARE(w->actionManage_stripes->toolTip(), QString("Manage straps"));
        QCOMPARE(w->actionReinforcements->toolTip(), QString("Reinforcements"));
        QCOMPARE(w->actionCross_ports->toolTip(), QString("Cross-ports"));
        QVERIFY(w->actionToolTip->toolTip().contains("ROTATE"));
        QCOMPARE(w->toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
        for (QAction* a : w->findChildren<QAction*>())
            QVERIFY2(a->shortcut().isEmpty(), qPrintable(a->objectName()));
    }

    void iconsLoad()
    {
        // Toolbar action, the Edit-menu entry that shows the same editor, the icon file.
        const QList<QStringList> table = {
            {"actionGeneral_data", "actionGeneral_data_2", "General data 2.png"},
            {"actionBase_line", "actionBase_line_face_view", "Front view 2.png"},
            {"actionFlat_shape", "action_flat_shape", "Top view 2.png"},
            {"actionVent_and_lines", "actionLine_positins", "ABC lines 2.png"},
            {"actionLines_morphing", "actionLine_s_morfing_closed_cells", "winflex.png"},
            {"actionAirfoils", "actionAirfoils_import_morph", "Airfoil 2.png"},
            {"actionDiagonal_ribs", "actionDiagonals", "Diagonals 2.png"},
            {"actionReinforcements", "actionReinforcements_menu", "Misc 2.png"},
            {"actionCross_ports", "actionCross_ports_menu", "Cross ports 2.png"},
            {"actionPilot_position", "actionView_pilot_s_position", "Side view 2.png"},
            {"actionBillow_compensation", "actionBillow_compensation_2", "Billow 2.png"},
            {"actionBridle", "actionBridle_2", "Bridle 2.png"},
            {"actionCFD_analysis", "actionCFD_analysis_2", "CFD 2.png"},
            {"actionGraphics", "actionDesign_lower_and_upper_surface", "Graphic design 2.png"},
            {"actionManage_stripes_2", "actionManage_stripes", "addits.png"},
            {"actionPreview_and_export", "actionDxf_preview_and_export", "DXF 2.png"},
        };
        for (const QStringList& row : table) {
            const QImage image(":/new/prefix1/images/" + row[2]);
            QVERIFY2(!image.isNull(), qPrintable(row[2]));
            auto* tool = w->findChild<QAction*>(row[0]);
            auto* entry = w->findChild<QAction*>(row[1]);
            QVERIFY(tool && entry);
            const QImage a = tool->icon().pixmap(32, 32).toImage();
            const QImage b = entry->icon().pixmap(32, 32).toImage();
            QVERIFY(!a.isNull());
            QCOMPARE(a, b);
            QCOMPARE(a, QIcon(":/new/prefix1/images/" + row[2]).pixmap(32, 32).toImage());
        }
    }

    void newProject()
    {
        acceptTerms();
        newProjectNamed("glider");
        QCOMPARE(asked.first().kind, QString("save"));
        QCOMPARE(asked.first().text, QString("Enter New file [name.prg] and Save "));
        QCOMPARE(asked.first().more, projects());
        const QString prg = projects() + "/glider.prg";
        QCOMPARE(fileBytes(prg), templateBytes);
        QVERIFY(QDir(home + "/Desktop/WL9work/Dxfglider").exists());
        QCOMPARE(GetGlobClass()->dxfDir, home + "/Desktop/WL9work/Dxfglider");
        QCOMPARE(w->windowTitle(), QString("wingloft   WL9        Current file: glider.prg"));
        QCOMPARE(GetDataStruct()->projectName, QString("glider.prg"));
        QVERIFY(w->menuActions->isEnabled());
        QVERIFY(w->toolBar->isEnabled());
        QVERIFY(w->isProjectOpen());
        QCOMPARE(GetGlobClass()->prgPath, prg);
        QCOMPARE(GetGlobClass()->dsgPath, projects() + "/glider.dsg");
        QCOMPARE(GetGlobClass()->cnpPath, projects() + "/glider.cnp");
        // The default design's lines go with it into the new project.
        QCOMPARE(fileBytes(GetGlobClass()->dsgPath), templateLinesBytes);
        QCOMPARE(linesBytes(GetDataStruct()->designSplines), templateLinesBytes);
        QVERIFY(!QFile::exists(GetGlobClass()->cnpPath));
        QVERIFY(statusTexts().contains("new file:  glider.prg"));
        QVERIFY(!statusTexts().join('|').contains("File > New"));
    }

    void newCancelledChangesNothing()
    {
        acceptTerms();
        newProjectNamed("first");
        GetDataStruct()->span = 12.5;
        asked.clear();
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << QString();
        w->actionNew->trigger();
        QVERIFY(w->isVisible());
        QCOMPARE(GetDataStruct()->span, 12.5);
        QCOMPARE(w->windowTitle(), QString("wingloft   WL9        Current file: first.prg"));
        QVERIFY(w->isProjectOpen());
        QCOMPARE(GetGlobClass()->prgPath, projects() + "/first.prg");

        // Cancel in the save prompt stops New before the file dialog.
        asked.clear();
        promptAnswer = UserInteraction::SaveAnswer::Cancel;
        w->actionNew->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].kind, QString("prompt"));
        QCOMPARE(asked[0].text, QString("Paraglider data are (maybe) modified ?"));
        QCOMPARE(asked[0].more, QString("Do you want to save changes?"));
    }

    // Without "template.dsg" the default design has no design lines, and
    // New writes no design-line file.
    void templateWithoutDesignLines()
    {
        acceptTerms();
        QVERIFY(QFile::rename(templateLinesPath(), templateLinesPath() + ".away"));
        newProjectNamed("plain");
        QFile::rename(templateLinesPath() + ".away", templateLinesPath());
        QCOMPARE(fileBytes(projects() + "/plain.prg"), templateBytes);
        QVERIFY(GetDataStruct()->designSplines.isEmpty());
        QVERIFY(!QFile::exists(projects() + "/plain.dsg"));
        QVERIFY(w->isProjectOpen());
    }

    void newWithoutTemplateWarns()
    {
        QVERIFY(QFile::rename(templatePath(), templatePath() + ".away"));
        fileAnswers << projects() + "/orphan";
        w->actionNew->trigger();
        QFile::rename(templatePath() + ".away", templatePath());
        QVERIFY(!QFile::exists(projects() + "/orphan.prg"));
        QCOMPARE(asked.last().kind, QString("warning"));
        QVERIFY(asked.last().more.contains("template.ini"));
        QVERIFY(!w->isProjectOpen());
        QVERIFY(w->isVisible());
    }

    void openAcceptedProject()
    {
        acceptTerms();
        auto record = defaultDesign();
        record->span = 9.75;
        const QString path = projects() + "/opened.prg";
        QVERIFY(myOpenFile().WriteParaStream(path, *record));
        fileAnswers << path;
        const int rebuilds = w->openglwidget->rebuildCount();
        // The project is read and its design recomputed under the wait
        // cursor, which goes once the project is open.
        QList<int> cursors;
        const RecomputeTrace trace = Set_Recompute_Trace([&cursors](const char*) {
            const QCursor* c = QGuiApplication::overrideCursor();
            cursors << (c ? int(c->shape()) : -1);
        });
        w->actionOpen->trigger();
        Set_Recompute_Trace(trace);
        QVERIFY(!cursors.isEmpty());
        QCOMPARE(cursors.count(int(Qt::WaitCursor)), cursors.size());
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(asked.last().text, QString("Open File in work directory"));
        QCOMPARE(GetDataStruct()->span, 9.75);
        // The 3-D view rebuilt from the design and took the flag.
        QVERIFY(w->openglwidget->rebuildCount() > rebuilds);
        QVERIFY(!GetDataStruct()->geometryChanged);
        QVERIFY(GetDataStruct()->linesOutdated);
        QCOMPARE(w->windowTitle(), QString("wingloft   WL9        Current file: opened.prg"));
        QVERIFY(statusTexts().contains("  opened file:  opened.prg"));
        QVERIFY(QDir(home + "/Desktop/WL9work/Dxfopened").exists());
        QVERIFY(w->menuActions->isEnabled());

        // The same file again: the prompt, then nothing is read, and the
        // user is told why.
        GetDataStruct()->span = 3.0;
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << path;
        user.asked.clear();
        w->actionOpen->trigger();
        QCOMPARE(GetDataStruct()->span, 3.0);
        QVERIFY(w->isProjectOpen());
        QCOMPARE(user.count("information"), 1);
        QCOMPARE(user.asked.last().title, QString("Open"));
        QCOMPARE(user.asked.last().text, "This project is open already:\n" + path);
    }

    // Open compares with the project open now, not with the file read
    // last: after Save as, the file the project came from opens again; the
    // file saved as is the one open.
    void openAfterSaveAs()
    {
        acceptTerms();
        auto record = defaultDesign();
        record->span = 9.75;
        const QString geo = projects() + "/geo.prg";
        QVERIFY(myOpenFile().WriteParaStream(geo, *record));
        fileAnswers << geo;
        w->actionOpen->trigger();
        QCOMPARE(GetDataStruct()->span, 9.75);

        GetDataStruct()->span = 12.5;
        fileAnswers << projects() + "/geo12";
        w->actionSave_as->trigger();
        QCOMPARE(w->currentFileName(), projects() + "/geo12.prg");

        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << geo;
        user.asked.clear();
        w->actionOpen->trigger();
        QCOMPARE(w->currentFileName(), geo);
        QCOMPARE(GetDataStruct()->span, 9.75);
        QCOMPARE(w->windowTitle(), QString("wingloft   WL9        Current file: geo.prg"));
        QCOMPARE(user.count("information"), 0);

        // geo12.prg under another spelling of its path is the other project.
        fileAnswers << projects() + "/../Paragliders/geo12.prg";
        w->actionOpen->trigger();
        QCOMPARE(GetDataStruct()->span, 12.5);
        // ... and geo.prg, named through a link, is not open now.
        QVERIFY(QFile::link(geo, projects() + "/link-to-geo.prg"));
        fileAnswers << projects() + "/link-to-geo.prg";
        user.asked.clear();
        w->actionOpen->trigger();
        QCOMPARE(GetDataStruct()->span, 9.75);
        QCOMPARE(user.count("information"), 0);
        // geo.prg, open now through the link, is open already.
        fileAnswers << geo;
        w->actionOpen->trigger();
        QCOMPARE(user.count("information"), 1);
    }

    // Bytes after the last part of a project file: it opens, and the user
    // is told that they are not read and that a save drops them.
    void openTellsOfUnreadBytes()
    {
        acceptTerms();
        auto record = defaultDesign();
        record->span = 9.25;
        const QString path = projects() + "/padded.prg";
        QVERIFY(myOpenFile().WriteParaStream(path, *record));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::Append));
            QCOMPARE(f.write(QByteArray(4096, '\0')), qint64(4096));
        }
        fileAnswers << path;
        asked.clear();
        w->actionOpen->trigger();
        QVERIFY(w->isProjectOpen());
        QCOMPARE(GetDataStruct()->span, 9.25);
        const QList<Asked> told = toldOf(asked);
        QCOMPARE(told.size(), 1);
        QCOMPARE(told[0].text, QString("Open"));
        QVERIFY2(told[0].more.contains("holds 4,096 bytes after its last part"), qPrintable(told[0].more));
        QVERIFY2(told[0].more.contains("the next Save writes the file without them"), qPrintable(told[0].more));
    }

    void openRefusals_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("cells");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("more");
        QTest::newRow("old version") << "6.0.0.0" << 0 << "Warning ... this is an old Wingloft version ... "
                                     << "  open a right version file or a create new one ! ";
        // Ten versions later, though "7.0.0.0" is in its tag.
        QTest::newRow("later version") << "17.0.0.0" << 0
                                       << "Warning ... this file is of a newer Wingloft version ... "
                                       << "  it was saved by version 17.0.0.0: open it with that version, or a file "
                                          "of version 7.0.0.0 ! ";
        QTest::newRow("ribs beyond the tables") << "" << 200 << " *** WARNING ***"
                                                << "  Corrupted file! Please just remove it ! ";
    }
    void openRefusals()
    {
        QFETCH(QString, version);
        QFETCH(int, cells);
        QFETCH(QString, text);
        QFETCH(QString, more);
        acceptTerms();
        newProjectNamed("kept");
        GetDataStruct()->span = 11.25;
        const QString title = w->windowTitle();

        auto record = defaultDesign();
        if (!version.isEmpty())
            record->version = version;
        if (cells) {
            record->cells = cells;
            record->Reset_CellsNumber();
        }
        const QString path = projects() + "/refused.prg";
        QVERIFY(writeUnchecked(path, *record));
        asked.clear();
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << path;
        w->actionOpen->trigger();
        QCOMPARE(asked.last().kind, QString("question"));
        QCOMPARE(asked.last().text, text);
        QCOMPARE(asked.last().more, more);
        QCOMPARE(GetDataStruct()->span, 11.25);
        QCOMPARE(w->windowTitle(), title);
        QCOMPARE(GetGlobClass()->prgPath, projects() + "/kept.prg");
        QCOMPARE(w->currentFileName(), projects() + "/kept.prg");
        // The design stays the open project: leaving it still asks.
        QVERIFY(w->isProjectOpen());
    }

    // A number that is not finite is named to the user, and the open design
    // stays exactly as it was.
    void openRefusesNonFiniteNumbers()
    {
        acceptTerms();
        newProjectNamed("kept");
        GetDataStruct()->span = 11.25;
        const QString title = w->windowTitle();
        const QByteArray before = recordImage(*GetDataStruct());

        auto record = defaultDesign();
        record->span = std::numeric_limits<double>::quiet_NaN();
        const QString path = projects() + "/nan.prg";
        QVERIFY(writeUnchecked(path, *record));
        asked.clear();
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << path;
        w->actionOpen->trigger();
        QCOMPARE(asked.last().kind, QString("warning"));
        QCOMPARE(asked.last().text, QString("Open"));
        QVERIFY2(asked.last().more.contains("the field span holds nan"), qPrintable(asked.last().more));
        QVERIFY(before == recordImage(*GetDataStruct()));
        QCOMPARE(w->windowTitle(), title);
        QCOMPARE(GetGlobClass()->prgPath, projects() + "/kept.prg");
    }

    void openUnreadableKeepsProgram()
    {
        acceptTerms();
        const QString path = projects() + "/garbage.prg";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(100, '\xff'));
        f.close();
        fileAnswers << path;
        w->actionOpen->trigger();
        QVERIFY(w->isVisible());
        QVERIFY(!w->isProjectOpen());
        QCOMPARE(w->windowTitle(), QString("WL9 (Wingloft)"));
        QVERIFY(!asked.isEmpty());
    }

    void openWithTermsRefused()
    {
        QTest::mouseClick(w->termsDialog()->form()->cancelButton, Qt::LeftButton);
        w->actionOpen->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].kind, QString("question"));
        QCOMPARE(asked[0].text, QString(" Sorry,you dont't comply with theis term of use..."));
        QCOMPARE(asked[0].more, QString("program will close now"));
        QVERIFY(!w->isVisible());
    }

    void inconsistentDesignLinesStayOnDisk()
    {
        acceptTerms();
        Spline bad;
        bad.pointCount = 3;
        bad.bsplineCount = 3;
        bad.side = 2;
        const QString path = projectWithLines("lines", {bad});
        const QByteArray before = fileBytes(projects() + "/lines.dsg");
        fileAnswers << path;
        w->actionOpen->trigger();
        QCOMPARE(fileBytes(projects() + "/lines.dsg"), before);
        QVERIFY(GetDataStruct()->designSplines.isEmpty());
        QCOMPARE(asked.last().kind, QString("notice"));
        QVERIFY(w->isProjectOpen());
    }

    // A design-line file cut inside its second line: the first is loaded,
    // the user is told once that one was dropped, the file stays as it was.
    void cutDesignLinesAreReported()
    {
        acceptTerms();
        Spline line;
        line.pointCount = 3;
        line.bsplineCount = 3;
        line.degree = 3;
        line.order = 4;
        line.points[1] = QPointF(0.5, 0.25);
        const QString path = projectWithLines("cut", {line, line});
        QFile dsg(projects() + "/cut.dsg");
        QVERIFY(dsg.resize(2000));
        const QByteArray before = fileBytes(projects() + "/cut.dsg");
        asked.clear();
        fileAnswers << path;
        w->actionOpen->trigger();
        QVERIFY(w->isProjectOpen());
        QCOMPARE(GetDataStruct()->designSplines.size(), 1);
        QCOMPARE(GetDataStruct()->designSplines[0].points[1], QPointF(0.5, 0.25));
        QCOMPARE(fileBytes(projects() + "/cut.dsg"), before);
        int notices = 0;
        for (const Asked& a : asked)
            notices += a.kind == "notice";
        QCOMPARE(notices, 1);
        QVERIFY2(asked.last().text.startsWith("1 design line of this project was dropped"),
                 qPrintable(asked.last().text));
    }

    void saveAsMovesTheProject()
    {
        acceptTerms();
        newProjectNamed("alpha");
        GetGlobClass()->cnpPath = projects() + "/alpha.cnp";
        QFile cnp(GetGlobClass()->cnpPath);
        QVERIFY(cnp.open(QIODevice::WriteOnly));
        cnp.write("pieces");
        cnp.close();
        const QByteArray alphaBytes = fileBytes(projects() + "/alpha.prg");
        GetDataStruct()->span = 14.0;

        fileAnswers << projects() + "/beta";
        w->actionSave_as->trigger();
        QCOMPARE(asked.last().text, QString("Save File [as .. select a name]"));
        QCOMPARE(fileBytes(projects() + "/alpha.prg"), alphaBytes);
        QVERIFY(QFile::exists(projects() + "/beta.prg"));
        QVERIFY(QFile::exists(projects() + "/beta.dsg"));
        QCOMPARE(fileBytes(projects() + "/beta.cnp"), QByteArray("pieces"));
        QCOMPARE(w->windowTitle(), QString("wingloft   WL9        Current file: beta.prg"));
        QCOMPARE(GetGlobClass()->dxfDir, home + "/Desktop/WL9work/Dxfbeta");
        QVERIFY(QDir(GetGlobClass()->dxfDir).exists());
        QVERIFY(statusTexts().contains("saved file:  beta.prg"));

        // Save now writes beta; cancelling Save as changes nothing.
        GetDataStruct()->span = 15.0;
        w->actionSave_as->trigger();
        w->actionSave->trigger();
        auto back = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(projects() + "/beta.prg", back.get()));
        QCOMPARE(back->span, 15.0);
        QCOMPARE(fileBytes(projects() + "/alpha.prg"), alphaBytes);
    }

    void saveWithoutProjectAsksForAName()
    {
        w->actionSave->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, QString("Save File [as .. select a name]"));
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/template"));
    }

    void failedSaveIsReported()
    {
        acceptTerms();
        newProjectNamed("blocked");
        const QString prg = projects() + "/blocked.prg";
        QVERIFY(QFile::remove(prg));
        QVERIFY(QDir().mkdir(prg));   // a folder where the file should go
        const int labels = statusTexts().size();
        w->actionSave->trigger();
        QDir().rmdir(prg);
        QCOMPARE(asked.last().kind, QString("warning"));
        // The system's reason, and advice that fits it.
        QVERIFY2(asked.last().more.contains(QString::fromLocal8Bit(std::strerror(EISDIR))), qPrintable(asked.last().more));
        QVERIFY(asked.last().more.contains("A folder stands where the file should be"));
        QVERIFY(!asked.last().more.contains("Check that the folder exists"));
        QCOMPARE(statusTexts().size(), labels);

        // Leaving with a failed save does not leave.
        QVERIFY(QDir().mkdir(prg));
        promptAnswer = UserInteraction::SaveAnswer::Save;
        w->actionExit->trigger();
        QDir().rmdir(prg);
        QVERIFY(w->isVisible());
    }

    // A disk that takes the new design lines but not the new project file:
    // neither file changes, and the user reads the system's reason.
    void saveIsAllOrNothing()
    {
        acceptTerms();
        Spline line;
        line.pointCount = 3;
        line.bsplineCount = 3;
        line.degree = 3;
        line.order = 4;
        const QString prg = projectWithLines("pair", {line, line});
        const QString dsg = projects() + "/pair.dsg";
        fileAnswers << prg;
        w->actionOpen->trigger();
        QVERIFY(w->isProjectOpen());
        QCOMPARE(GetDataStruct()->designSplines.size(), 2);
        const QByteArray prgBefore = fileBytes(prg), dsgBefore = fileBytes(dsg);
        GetDataStruct()->designSplines.removeLast();
        GetDataStruct()->span = 12.75;

        struct rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 64 * 1024; // the lines fit, the design does not
        QVERIFY(dsgBefore.size() < 8 * 1024 && prgBefore.size() > 256 * 1024);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        asked.clear();
        w->actionSave->trigger();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(fileBytes(dsg), dsgBefore);
        QCOMPARE(fileBytes(prg), prgBefore);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].kind, QString("warning"));
        QVERIFY2(asked[0].more.contains("pair.prg could not be written"), qPrintable(asked[0].more));
        QVERIFY(asked[0].more.contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
        QVERIFY(asked[0].more.contains("Every file of the project on disk is as it was."));
        QCOMPARE(QDir(projects()).entryList({"*pair*"}, QDir::Files | QDir::Hidden),
                 QStringList({"pair.dsg", "pair.prg"}));

        // With room again both go.
        w->actionSave->trigger();
        QCOMPARE(fileBytes(dsg).size(), 4 + 1468);
        auto back = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(prg, back.get()));
        QCOMPARE(back->span, 12.75);
    }

    // A design that Open would refuse is not saved: Save names the field and
    // the value, and the project's files on disk stay as they were, byte for
    // byte (the design lines too), with nothing left beside them. Fixed, the
    // design saves again.
    void saveRefusesWhatOpenWouldRefuse_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("told");
        QTest::newRow("span of a toy") << 0 << "the field span holds 0.05, outside";
        QTest::newRow("no hang height") << 1 << "the field hangHeight holds 1e-300, outside";
        QTest::newRow("weight not a number") << 2 << "the field totalWeight holds nan, not a finite number";
        QTest::newRow("a line end far out") << 3 << "the field bridle.groups[1].lineArray[0].q2 holds (0, 0, 252146), outside";
    }
    void saveRefusesWhatOpenWouldRefuse()
    {
        QFETCH(int, which);
        QFETCH(QString, told);
        acceptTerms();
        Spline line;
        line.pointCount = 3;
        line.bsplineCount = 3;
        line.degree = 3;
        line.order = 4;
        const QString prg = projectWithLines("kept", {line, line});
        const QString dsg = projects() + "/kept.dsg";
        fileAnswers << prg;
        w->actionOpen->trigger();
        QVERIFY(w->isProjectOpen());
        const QByteArray prgBefore = fileBytes(prg), dsgBefore = fileBytes(dsg);
        ParaStruct* d = GetDataStruct();
        const double span = d->span;
        d->designSplines.removeLast();
        switch (which) {
        case 0: d->span = 0.05; break;
        case 1: d->hangHeight = 1e-300; break;
        case 2: d->totalWeight = std::numeric_limits<double>::quiet_NaN(); break;
        case 3: d->bridle.groups[1].lineArray[0].q2 = QVector3D(0, 0, 252146); break;
        }
        asked.clear();
        w->actionSave->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].kind, QString("warning"));
        QVERIFY2(asked[0].more.contains(told), qPrintable(asked[0].more));
        QVERIFY(asked[0].more.contains("every file of the project on disk is as it was"));
        QCOMPARE(fileBytes(prg), prgBefore);
        QCOMPARE(fileBytes(dsg), dsgBefore);
        QCOMPARE(QDir(projects()).entryList({"*kept*"}, QDir::Files | QDir::Hidden),
                 QStringList({"kept.dsg", "kept.prg"}));

        auto fixed = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(prg, fixed.get()));
        fixed->designSplines = d->designSplines;
        fixed->span = span + 0.5;
        *d = *fixed;
        w->actionSave->trigger();
        QVERIFY(fileBytes(prg) != prgBefore);
        QVERIFY(fileBytes(dsg) != dsgBefore);
        auto back = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(prg, back.get()));
        QCOMPARE(back->span, span + 0.5);
    }

    // Save as onto an earlier project: whichever file of the three fails,
    // at its write or when it replaces the old one, every file on disk is as
    // it was and the project stays where it was. One project for all the
    // cases: a failed Save as recomputes nothing.
    void failedSaveAsKeepsEveryFile()
    {
        struct Case {
            const char* name;
            QString ending;
            FileSaveStep step;
            int code;
        };
        const Case cases[] = {
            {"design, disk full", ".prg", FileSaveStep::Write, ENOSPC},
            {"design, read-only disk at the rename", ".prg", FileSaveStep::Replace, EROFS},
            {"lines, no permission", ".dsg", FileSaveStep::Write, EACCES},
            {"lines, rename fails", ".dsg", FileSaveStep::Replace, EIO},
            {"pieces, quota", ".cnp", FileSaveStep::Write, EDQUOT},
            {"pieces, rename fails", ".cnp", FileSaveStep::Replace, EROFS},
        };
        acceptTerms();
        newProjectNamed("alpha");
        auto write = [](const QString& path, const QByteArray& bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write(projects() + "/alpha.cnp", "alpha pieces");
        GetDataStruct()->span = 13.5;
        const QStringList beta = {projects() + "/beta.prg", projects() + "/beta.dsg", projects() + "/beta.cnp"};
        for (const QString& f : beta)
            write(f, "old " + f.toUtf8());
        const QStringList watched = beta + QStringList{projects() + "/alpha.prg", projects() + "/alpha.cnp"};
        QList<QByteArray> before;
        for (const QString& f : watched)
            before << fileBytes(f);
        const QString title = w->windowTitle();

        for (const Case& c : cases) {
            Set_File_Save_Fault([&c](FileSaveStep s, const QString& path) {
                return s == c.step && path.endsWith("/beta" + c.ending) ? c.code : 0;
            });
            asked.clear();
            fileAnswers << projects() + "/beta";
            w->actionSave_as->trigger();
            Set_File_Save_Fault({});

            QList<QByteArray> after;
            for (const QString& f : watched)
                after << fileBytes(f);
            QVERIFY2(after == before, c.name);
            QCOMPARE(QDir(projects()).entryList({"*beta*"}, QDir::Files | QDir::Hidden).size(), 3);
            QCOMPARE(asked.last().kind, QString("warning"));
            const QString text = asked.last().more;
            QVERIFY2(text.contains("beta" + c.ending + " could not be written"), qPrintable(text));
            QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(c.code))), qPrintable(text));
            QVERIFY2(text.contains(File_Error_Advice(c.code)), c.name);
            QVERIFY(text.contains("as it was"));
            QCOMPARE(w->currentFileName(), projects() + "/alpha.prg");
            QCOMPARE(GetGlobClass()->dsgPath, projects() + "/alpha.dsg");
            QCOMPARE(w->windowTitle(), title);
        }
    }

    // A damaged project says what the reader found; a newer one is called newer.
    void damagedProjectSaysWhy_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected"); // a pattern of the text shown
        QTest::newRow("cut short") << 0 << "warning" << "cut short \\(in part 12 of 40\\)";
        QTest::newRow("empty") << 1 << "warning" << "empty or cut short";
        QTest::newRow("newer version") << 2 << "question" << "newer";
        QTest::newRow("unreadable airfoil number") << 3 << "warning" << "designAirfoils\\[0\\] \\(point 2\\) holds";
    }
    void damagedProjectSaysWhy()
    {
        QFETCH(int, which);
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        acceptTerms();
        auto record = defaultDesign();
        record->designAirfoils[0] = QPolygonF({QPointF(1, 0), QPointF(0.5, 0.05), QPointF(0, 0)});
        if (which == 2)
            record->version = "8.0.0.0";
        if (which == 3)
            record->designAirfoils[0][2] = QPointF(0, 4e118);
        QByteArray bytes;
        {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(Write_Project(&buffer, *record));
        }
        if (which == 0)
            bytes.truncate(3000); // inside the rib tables
        if (which == 1)
            bytes.clear();
        const QString path = projects() + "/damaged.prg";
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        asked.clear();
        fileAnswers << path;
        w->actionOpen->trigger();
        QVERIFY(!w->isProjectOpen());
        QCOMPARE(asked.last().kind, kind);
        const QString text = asked.last().text + " " + asked.last().more;
        QVERIFY2(QRegularExpression(expected).match(text).hasMatch(), qPrintable(text));
        QVERIFY2(!text.contains("remove") && !text.contains("old Wingloft"), qPrintable(text));
        QCOMPARE(fileBytes(path), bytes);
    }

    // Saving again and again keeps one label for the project's messages.
    void statusBarDoesNotGrow()
    {
        acceptTerms();
        newProjectNamed("labels");
        for (int k = 0; k < 3; ++k)
            w->actionSave->trigger();
        int shown = 0;
        for (const QString& t : statusTexts())
            shown += !t.isEmpty();
        QCOMPARE(shown, 1);
        QVERIFY(statusTexts().contains("saved file:  labels.prg"));
        QVERIFY(statusTexts().size() <= 2);
    }

    // One failure of New is one message, with the system's reason.
    void failedNewIsOneMessage()
    {
        acceptTerms();
        const QString prg = projects() + "/walled.prg";
        QVERIFY(QDir().mkpath(prg)); // a folder where the file should go
        fileAnswers << projects() + "/walled";
        asked.clear();
        w->actionNew->trigger();
        QDir().rmdir(prg);
        const QList<Asked> told = toldOf(asked);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().more.contains(prg), qPrintable(told.first().more));
        QVERIFY2(told.first().more.contains(QString::fromLocal8Bit(std::strerror(EISDIR))),
                 qPrintable(told.first().more));
        QVERIFY(!w->isProjectOpen());
    }

    // A project opened or made after another starts clean: no solver
    // results of the one before taken for its own.
    void nextProjectStartsClean()
    {
        acceptTerms();
        ApameRes* results = GetApameClass();
        const ApameRes before = *results;
        auto resultsOfTheDesignShown = [results] {
            results->caseNum = 1;
            results->source = Analysis_Source_Of(*GetDataStruct());
            QVERIFY(Results_Design_Mismatch(*results, *GetDataStruct()).isEmpty());
        };

        newProjectNamed("alpha");
        resultsOfTheDesignShown();
        newProjectNamed("beta");
        QVERIFY(!Results_Design_Mismatch(*results, *GetDataStruct()).isEmpty());

        resultsOfTheDesignShown();
        const QString path = projects() + "/gamma.prg";
        QVERIFY(myOpenFile().WriteParaStream(path, *defaultDesign()));
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << path;
        w->actionOpen->trigger();
        QCOMPARE(w->currentFileName(), path);
        QVERIFY(!Results_Design_Mismatch(*results, *GetDataStruct()).isEmpty());
        *results = before;
    }

    // A project saved with the line groups of an earlier cell count: their
    // lines name cells and ribs the wing does not have. Opened, the project
    // comes without them and the user is told once which went; a save then
    // writes none of them. The file stays as it is until then.
    void openingAStaleLinePlan()
    {
        acceptTerms();
        auto stale = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(shippedTemplatePath(), stale.get()));
        QVERIFY(stale->bridle.groups[1].lineCount > 0);
        Set_Cell_Count(stale.get(), 30);
        const QString path = projects() + "/stale.prg";
        QVERIFY(myOpenFile().WriteParaStream(path, *stale));
        const QByteArray written = fileBytes(path);
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << path;
        asked.clear();
        w->actionOpen->trigger();
        QCOMPARE(w->currentFileName(), path);
        const QList<Asked> told = toldOf(asked);
        QCOMPARE(told.size(), 1);
        for (const char* name : {"L1", "L2", "L3", "L4", "L-brakes", "30 cells"})
            QVERIFY2(told.first().text.contains(name), qPrintable(told.first().text));
        for (int slot = 0; slot < kLineGroupSlots; ++slot)
            QCOMPARE(GetDataStruct()->bridle.groups[slot].lineCount, 0);
        QCOMPARE(fileBytes(path), written);

        w->actionSave->trigger();
        auto back = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(path, back.get()));
        QCOMPARE(back->cells, 30);
        for (int slot = 0; slot < kLineGroupSlots; ++slot) {
            QCOMPARE(back->bridle.groups[slot].lineCount, 0);
            for (const origRLS& a : back->bridle.groups[slot].attachArray)
                QVERIFY(!a.attached);
        }
        QCOMPARE(toldOf(asked).size(), 1);
    }

    void exitFollowsThePrompt()
    {
        acceptTerms();
        newProjectNamed("leaving");
        GetDataStruct()->span = 16.5;

        promptAnswer = UserInteraction::SaveAnswer::Cancel;
        w->actionExit->trigger();
        QVERIFY(w->isVisible());

        promptAnswer = UserInteraction::SaveAnswer::Save;
        w->close();                          // by the window frame
        QVERIFY(!w->isVisible());
        auto back = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(projects() + "/leaving.prg", back.get()));
        QCOMPARE(back->span, 16.5);

        w->show();
        asked.clear();
        GetDataStruct()->span = 17.5;
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        w->actionExit->trigger();
        QVERIFY(!w->isVisible());
        QCOMPARE(asked.size(), 1);
        QVERIFY(myOpenFile().ReadParaStream(projects() + "/leaving.prg", back.get()));
        QCOMPARE(back->span, 16.5);
    }

    void companionProgramIsAwaited()
    {
        const QString appDir = QCoreApplication::applicationDirPath();
        const QString marker = appDir + "/aerolyx.ran";
        QFile::remove(marker);
        const QString started = appDir + "/aerolyx.started";
        const QString go = appDir + "/aerolyx.go";
        QFile::remove(started);
        QFile::remove(go);
        QFile script(appDir + "/aerolyx");
        QVERIFY(script.open(QIODevice::WriteOnly));
        // Runs until the test has looked at the waiting program.
        script.write("#!/bin/sh\ntouch aerolyx.started\nwhile [ ! -e aerolyx.go ]; do sleep 0.05; done\n"
                     "echo done > aerolyx.ran\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);

        std::atomic<int> shapeSeen{-1};
        std::atomic<bool> returned{false};
        std::thread watcher([&] {
            // Once the companion runs, the GUI thread is blocked in the wait:
            // the cursor stack holds still.
            while (!QFile::exists(started) && !returned)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (const QCursor* c = QGuiApplication::overrideCursor())
                shapeSeen = c->shape();
            QFile(go).open(QIODevice::WriteOnly);
        });
        w->actionFoil_analysis->trigger();
        returned = true;
        watcher.join();
        QVERIFY(QFile::exists(marker));
        QCOMPARE(shapeSeen.load(), int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());

        QFile::remove(appDir + "/aerolyx");
        QFile::remove(started);
        QFile::remove(go);
        w->actionFoil_analysis->trigger();     // missing: returns at once
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void scaledModel()
    {
        acceptTerms();
        newProjectNamed("wing");
        ParaStruct* d = GetDataStruct();
        d->span = 10.0;
        d->hangHeight = 7.0;
        d->diagBottomWidth = 0.3;
        // The action recomputes the design: give it outline tables to take
        // a positive area from (the design has no airfoils, so the outline
        // steps leave them as they are).
        for (int i = 0; i <= d->lastRib && i < kRibSlots; ++i) {
            d->cellWidth[i] = 1000.0 / std::max(1, d->lastRib);
            d->chord[i] = 200.0;
        }
        w->actionGenerate_scaled_model->trigger();
        ScaleDialog* s = w->scaleDialog();
        QVERIFY(s->isVisible());
        QCOMPARE(s->windowTitle(), QString("Generate scaled model"));
        const double area = d->flatArea;
        QVERIFY(area > 0);
        const double span = d->span, hang = d->hangHeight, diag = d->diagBottomWidth;

        // Nothing but a positive number changes the scale. The area field
        // shows six digits, so the scale it gives is 1 to that precision.
        const double shownFactor = s->factor();
        QVERIFY(qAbs(shownFactor - 1.0) < 1e-5);
        for (const char* bad : {"-80", "0", "abc"}) {
            s->form()->squareEdit->setText(bad);
            QCOMPARE(s->factor(), shownFactor);
        }
        s->form()->squareEdit->setText(QString::number(4 * area, 'g', 17));
        QVERIFY(qAbs(s->factor() - 2.0) < 1e-5);
        QCOMPARE(s->form()->spanEdit->text(), QString::number(2 * span, 'f', 2));
        QCOMPARE(d->span, span);      // typing changes nothing yet

        const QString proposal = projects() + QString("/wing-%1.prg").arg(4 * area, 0, 'f', 0);
        fileAnswers << proposal;
        QTest::mouseClick(s->form()->okButton, Qt::LeftButton);
        QCOMPARE(asked.last().more, proposal);
        QVERIFY(!s->isVisible());

        auto copy = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(proposal, copy.get()));
        QVERIFY(qAbs(copy->span / (2 * span) - 1) < 1e-5);
        QVERIFY(qAbs(copy->hangHeight / (2 * hang) - 1) < 1e-5);
        QVERIFY(qAbs(copy->diagBottomWidth / (2 * diag) - 1) < 1e-5);
        // The open design and its path are those from before.
        QCOMPARE(d->span, span);
        QCOMPARE(d->hangHeight, hang);
        QCOMPARE(GetGlobClass()->prgPath, projects() + "/wing.prg");
    }

    // The scaled model takes an area that gives it a span and a hang height
    // a design may have (from 1 to 50 m, from 0.25 to 40 m): another text is
    // refused at OK with the range of areas, nothing is saved and the dialog
    // stays open with the last area it took.
    void scaledModelTakesOnlyAreasOfAWing()
    {
        acceptTerms();
        newProjectNamed("wing");
        ParaStruct* d = GetDataStruct();
        d->span = 10.0;
        d->hangHeight = 7.0;
        for (int i = 0; i <= d->lastRib && i < kRibSlots; ++i) {
            d->cellWidth[i] = 1000.0 / std::max(1, d->lastRib);
            d->chord[i] = 200.0;
        }
        w->actionGenerate_scaled_model->trigger();
        ScaleDialog* s = w->scaleDialog();
        const double area = d->flatArea;
        QVERIFY(area > 0);
        // Scaled by f, the span is 10 f and the hang height 7 f: f from
        // 1 / 10 to 50 / 10 (the span's bounds, tighter than the hang
        // height's 0.25 / 7 and 40 / 7), the area f^2 times.
        const double least = area / 100, most = area * 25;
        s->form()->squareEdit->setText(QString::number(4 * area, 'g', 17));
        // The field holds the digits its length allows.
        const QString taken = QString("%1").arg(s->form()->squareEdit->text().toDouble());
        const QStringList refused = {"1e300", "nan", "-80", "", QString::number(least * 0.9),
                                     QString::number(most * 1.01), QString(5000, '9')};
        for (const QString& text : refused) {
            s->form()->squareEdit->setText(text);
            QVERIFY(qAbs(s->factor() - 2.0) < 1e-5);
            asked.clear();
            QTest::mouseClick(s->form()->okButton, Qt::LeftButton);
            QCOMPARE(asked.size(), 1);
            QCOMPARE(asked[0].kind, QString("warning"));
            const QRegularExpressionMatch m =
                QRegularExpression("from (\\S+) to (\\S+) m²").match(asked[0].more);
            QVERIFY2(m.hasMatch(), qPrintable(asked[0].more));
            const double lo = m.captured(1).toDouble(), hi = m.captured(2).toDouble();
            QVERIFY2(lo >= least && lo < least * 1.01, qPrintable(m.captured(0)));
            QVERIFY2(hi <= most && hi > most * 0.99, qPrintable(m.captured(0)));
            QVERIFY(s->isVisible());
            QCOMPARE(s->form()->squareEdit->text(), taken);
        }
        QTest::mouseClick(s->form()->cancelButton, Qt::LeftButton);
    }

    // One failure of the scaled save is one message, with the system's
    // reason.
    void failedScaledSaveIsOneMessage()
    {
        acceptTerms();
        newProjectNamed("small");
        GetDataStruct()->flatArea = 10.0;
        w->actionGenerate_scaled_model->trigger();
        ScaleDialog* s = w->scaleDialog();
        s->form()->squareEdit->setText(QString::number(4 * GetDataStruct()->flatArea));
        const QString prg = projects() + "/walled-big.prg";
        QVERIFY(QDir().mkpath(prg)); // a folder where the file should go
        fileAnswers << prg;
        asked.clear();
        QTest::mouseClick(s->form()->okButton, Qt::LeftButton);
        QDir().rmdir(prg);
        const QList<Asked> told = toldOf(asked);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().more.contains(prg), qPrintable(told.first().more));
        QVERIFY2(told.first().more.contains(QString::fromLocal8Bit(std::strerror(EISDIR))),
                 qPrintable(told.first().more));
    }

    void scaledModelNameKeepsFolders()
    {
        acceptTerms();
        const QString folder = projects() + "/set.prg.d";
        QVERIFY(QDir().mkpath(folder));
        fileAnswers << folder + "/kite";
        w->actionNew->trigger();
        GetDataStruct()->flatArea = 10.0;
        w->actionGenerate_scaled_model->trigger();
        ScaleDialog* s = w->scaleDialog();
        s->form()->squareEdit->setText(QString::number(4 * GetDataStruct()->flatArea));
        fileAnswers << folder + "/kite small";
        QTest::mouseClick(s->form()->okButton, Qt::LeftButton);
        QVERIFY(asked.last().more.startsWith(folder + "/kite-"));
        QVERIFY(QFile::exists(folder + "/kite small.prg"));

        // A cancelled save dialog keeps the dialog open, the 3-D view showing
        // the scaled design inflated; Cancel restores the design and the view.
        const double span = GetDataStruct()->span;
        GlViewState& view = w->openglwidget->viewState();
        view = GlViewState();
        view.ghostView = true;
        w->actionGenerate_scaled_model->trigger();
        s->form()->squareEdit->setText(QString::number(4 * GetDataStruct()->flatArea));
        QTest::mouseClick(s->form()->okButton, Qt::LeftButton);
        QVERIFY(s->isVisible());
        QVERIFY(view.inflatedView && !view.ghostView);
        QTest::mouseClick(s->form()->cancelButton, Qt::LeftButton);
        QCOMPARE(GetDataStruct()->span, span);
        QVERIFY(!view.inflatedView && view.ghostView);
    }

private:
    QString projects() const { return home + "/Desktop/WL9work/Paragliders"; }

    void acceptTerms()
    {
        QTest::mouseClick(w->termsDialog()->form()->wingloftButton, Qt::LeftButton);
        QVERIFY(GetGlobClass()->termsAccepted);
    }

    // The default design as <name>.prg beside the lines as <name>.dsg; the
    // project's path.
    QString projectWithLines(const QString& name, const QList<Spline>& lines)
    {
        const QString path = projects() + "/" + name + ".prg";
        [&] { QVERIFY(myOpenFile().WriteParaStream(path, *defaultDesign())); }();
        GetGlobClass()->dsgPath = projects() + "/" + name + ".dsg";
        [&] { QVERIFY(WriteSplineStream(lines)); }();
        return path;
    }

    void newProjectNamed(const QString& name)
    {
        promptAnswer = UserInteraction::SaveAnswer::Discard;
        fileAnswers << projects() + "/" + name;
        w->actionNew->trigger();
        QVERIFY(w->isProjectOpen());
        QCOMPARE(w->currentFileName(), projects() + "/" + name + ".prg");
    }

    QStringList statusTexts() const
    {
        QStringList texts;
        for (QLabel* l : w->statusBar()->findChildren<QLabel*>())
            texts << l->text();
        return texts;
    }

    MainWindow* w = nullptr;
    QString home;
    QByteArray templateBytes;
    QByteArray templateLinesBytes;
    QList<Asked> asked;
    QStringList fileAnswers;
    bool questionAnswer = false;
    ScriptedUser user;
    int readyShown = 0;
    UserInteraction::SaveAnswer promptAnswer = UserInteraction::SaveAnswer::Cancel;
};


#endif
