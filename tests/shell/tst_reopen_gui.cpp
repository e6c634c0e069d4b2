// A design saved right after an edit is the design saved after opening that
// file again: nothing the program derives from the design waits for an
// editor's show or for the 3-D view drawing the opened project to be brought
// up to date. The edits go through the general data editor of the main
// window; the files are read back by the project reader and compared value
// by value, and the cross-port web widths are checked against their
// definition (millimetres at the span).

#include <QTest>
#include <QAction>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTableWidget>

#include "core/openfile.h"
#include "core/parastruct.h"
#include "shape/ui/datadialog.h"
#include "shell/mainwindow.h"
#include "shell/termsdialog.h"
#include "tests/common/projectfields.h"
#include "tests/common/scripteduser.h"
#include "tests/common/statewait.h"
#include "tests/shell/shellfixture.h"
#include "ui_termsdialog.h"

#include <cmath>
#include <memory>

class TestReopen : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    QStringList fileAnswers;
    QString home;
    MainWindow* w = nullptr;

    QString projects() const { return home + "/Desktop/WL9work/Paragliders"; }

    std::unique_ptr<ParaStruct> read(const QString& path)
    {
        auto r = std::make_unique<ParaStruct>();
        if (!myOpenFile().ReadParaStream(path, r.get()))
            return nullptr;
        return r;
    }
    void saveAs(const QString& name)
    {
        fileAnswers << projects() + "/" + name;
        w->actionSave_as->trigger();
    }

private slots:
    void initTestCase()
    {
        qApp->setQuitOnLastWindowClosed(false);
        home = useFreshHome();
        QVERIFY(writeTemplate());
        auto chooser = [this](const QString&, const QString&, const QString&) {
            return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
        };
        user.onOpenFile = chooser;
        user.onSaveFile = chooser;
        user.answerQuestions(true);
        user.onSaveChanges = [](const QString&) { return UserInteraction::SaveAnswer::Discard; };
        w = new MainWindow;
        w->show();
        WAIT_FOR_EXPOSED(w);
        QTest::mouseClick(w->termsDialog()->form()->wingloftButton, Qt::LeftButton);
    }

    void cleanupTestCase() { delete w; }

    void savedAsReopened_data()
    {
        QTest::addColumn<int>("row"); // of the general data table
        QTest::addColumn<QString>("typed");
        QTest::newRow("span") << 0 << "12.00";
        QTest::newRow("hang height") << 1 << "7.25";
        QTest::newRow("edge-tip airfoil factor") << 12 << "0.40";
    }
    void savedAsReopened()
    {
        QFETCH(int, row);
        QFETCH(QString, typed);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).remove(' ');
        fileAnswers << projects() + "/" + tag;
        w->actionNew->trigger();
        QVERIFY(w->isProjectOpen());

        DataDialog* data = w->dataDialog();
        data->show();
        data->tableWidget->item(row, 1)->setText(typed);
        QTest::mouseClick(data->okButton, Qt::LeftButton);
        QVERIFY(!data->isVisible());
        saveAs(tag + "-edited");
        fileAnswers << projects() + "/" + tag + "-edited.prg";
        w->actionOpen->trigger();
        saveAs(tag + "-reopened");

        auto edited = read(projects() + "/" + tag + "-edited.prg");
        auto reopened = read(projects() + "/" + tag + "-reopened.prg");
        QVERIFY(edited && reopened);
        edited->projectName = reopened->projectName;
        const QStringList differ = projectfields::differences(*edited, *reopened);
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join('\n')));

        // Each shape's web width: its millimetres on a plan whose half span
        // is 1000 units.
        const double unitsPerMetre = 1000 / (0.5 * edited->span);
        for (const CrossPorts& g : edited->crossPorts) {
            for (const Triang& t : g.triangles)
                QVERIFY(std::fabs(t.offset - 0.001 * t.offsetMm * unitsPerMetre) < 1e-9);
            for (const Trap& t : g.traps)
                QVERIFY(std::fabs(t.offset - 0.001 * t.offsetMm * unitsPerMetre) < 1e-9);
        }
    }
};

QTEST_MAIN(TestReopen)
#include "tst_reopen_gui.moc"
