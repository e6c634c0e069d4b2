#include <QTest>
#include <QLabel>
#include <QAction>
#include <QApplication>
#include <QColor>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>

#include <cmath>
#include <functional>

#include "core/airfoil.h"
#include "core/chartlabels.h"
#include "apps/splinora/editspline.h"
#include "apps/splinora/mainwindow.h"
#include "tests/common/statewait.h"
#include "tests/common/scripteduser.h"

using namespace splinora;

namespace {

// Symmetric 12 % airfoil with its maximum at 30 %, from the trailing edge
// over the upper side and back, written as a plain coordinate file.
void writeBackgroundFoil(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
    QTextStream out(&f);
    out << "TEST12 generated section\n";
    for (int i = 0; i <= 60; ++i) {
        const double t = M_PI * i / 60.0;
        const double x = 0.5 * (1 + std::cos(t));
        const double y = 0.6 * (0.2969 * std::sqrt(x) - 0.126 * x - 0.3516 * x * x
                                + 0.2843 * x * x * x - 0.1036 * x * x * x * x);
        out << QString::number(x, 'f', 6) << " " << QString::number(y, 'f', 6) << "\n";
    }
    for (int i = 59; i >= 0; --i) {
        const double t = M_PI * i / 60.0;
        const double x = 0.5 * (1 + std::cos(t));
        const double y = 0.6 * (0.2969 * std::sqrt(x) - 0.126 * x - 0.3516 * x * x
                                + 0.2843 * x * x * x - 0.1036 * x * x * x * x);
        out << QString::number(x, 'f', 6) << " " << QString::number(-y, 'f', 6) << "\n";
    }
}

} // namespace

class TestEditorGui : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir home;
    ScriptedUser user;

    // The file chooser of the next command answers with path.
    void chooseFile(const QString& path) { user.chooseFile(path); }
    // The file chooser of the next command is cancelled; *seenDir gets the
    // folder it was to start in.
    void cancelDialog(QString* seenDir)
    {
        user.onOpenFile = [seenDir](const QString&, const QString& dir, const QString&) {
            *seenDir = QDir(dir).absolutePath();
            return QString();
        };
    }
    QString airfoils;
    MainWindow* win = nullptr;
    EditSpline* area = nullptr;
    ParaStruct* p = nullptr;

    QPointF foilOf(int i) const
    {
        const QPointF cp = p->spline.CP[i];
        return QPointF((cp.x() - area->xc) / area->L_T, (area->yc - cp.y()) / area->L_T);
    }
    QPoint screenOf(int i) const
    {
        return (area->f_scale * p->spline.CP[i] + area->p_D).toPoint();
    }
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent ev(type, QPointF(pos), area->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(area, &ev);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton button)
    {
        mouse(QEvent::MouseButtonPress, from, button, button);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
        mouse(QEvent::MouseMove, to, Qt::NoButton, button);
        mouse(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }
    void wheel(int notches)
    {
        QWheelEvent ev(QPointF(100, 100), area->mapToGlobal(QPointF(100, 100)), QPoint(),
                       QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area, &ev);
    }
    void select(int i)
    {
        mouse(QEvent::MouseButtonPress, screenOf(i), Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, screenOf(i), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(area->pnt_selected, i);
    }
    void startSpline()
    {
        area->Reset_view();
        win->symetriclButton->click();
        area->repaint();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        qputenv("HOME", home.path().toLocal8Bit());
        airfoils = home.path() + "/Desktop/WL9work/Airfoils";
        QVERIFY(QDir().mkpath(airfoils));
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        win = new MainWindow(nullptr);
        win->showMaximized();
        WAIT_FOR_EXPOSED(win);
        area = win->spline_widget;
        p = GetDataStruct();
    }
    void cleanupTestCase()
    {
        delete win;
    }

    void startsEmpty()
    {
        QVERIFY(win->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(win->isMaximized());
        QCOMPARE(win->windowTitle(), QString("Splinora"));
        QCOMPARE(p->spline.num_pnt, 0);
        QVERIFY(win->tableEdit->toPlainText().isEmpty());
        QCOMPARE(win->O1Edit->text(), QString("0.00"));
        QCOMPARE(win->O2Edit->text(), QString("0.00"));
        QCOMPARE(area->rect(), area->MyRect);
        QCOMPARE(area->xc, int(area->wr * 0.1));
        QCOMPARE(area->L_T, area->wr - 2 * area->xc);
    }

    void symmetricStartingSpline()
    {
        startSpline();
        QCOMPARE(p->spline.num_pnt, 10);
        QCOMPARE(p->spline.num_knt, 13);
        const double tol = 2e-3;
        QVERIFY(QLineF(foilOf(0), QPointF(1, 0)).length() < 1e-6);
        QVERIFY(QLineF(foilOf(9), QPointF(1, 0)).length() < tol);
        QVERIFY(QLineF(foilOf(4), QPointF(0, -0.01)).length() < tol);
        QVERIFY(QLineF(foilOf(5), QPointF(0, 0.01)).length() < tol);
        QCOMPARE(p->workAirfoil.size(), 999);
    }

    void dragFollowsTheMouse()
    {
        startSpline();
        const QPointF before = p->spline.CP[2];
        const QPoint to = screenOf(2) + QPoint(6, 20);
        drag(screenOf(2), to, Qt::LeftButton);
        QVERIFY(QLineF(p->spline.CP[2], QPointF(to)).length() < 1e-6);
        QVERIFY(QLineF(p->spline.CP[2], before).length() > 15);

        // Zoomed 2x and panned: the point lands under the mouse.
        wheel(9);
        QVERIFY(std::fabs(area->f_scale - 2.0) < 1e-9);
        const QPoint start(200, 200);
        drag(start, start + QPoint(-150, -90), Qt::MiddleButton);
        QCOMPARE(area->p_D, QPointF(-150, -90));
        const QPoint s = screenOf(2);
        drag(s, s + QPoint(10, 30), Qt::LeftButton);
        QVERIFY(QLineF(p->spline.CP[2], (QPointF(s + QPoint(10, 30)) - area->p_D) / 2.0).length() < 1e-6);
        QCOMPARE(p->spline.num_pnt, 10);
    }

    void endPointsCannotBeSelected()
    {
        startSpline();
        mouse(QEvent::MouseButtonPress, screenOf(9) + QPoint(3, 3), Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, screenOf(9), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(area->pnt_selected, -1);
        select(3);
        mouse(QEvent::MouseButtonPress, screenOf(3) + QPoint(9, 0), Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, screenOf(3) + QPoint(9, 0), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(area->pnt_selected, -1);
    }

    void zoomAndPan()
    {
        startSpline();
        wheel(9);
        QVERIFY(std::fabs(area->f_scale - 2.0) < 1e-9);
        wheel(100);
        QCOMPARE(area->f_scale, 4.0);
        wheel(-300);
        QCOMPARE(area->f_scale, 0.5);
        drag(QPoint(300, 300), QPoint(340, 280), Qt::MiddleButton);
        QCOMPARE(area->p_D, QPointF(40, -20));
        // Double click restores the view.
        mouse(QEvent::MouseButtonDblClick, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, QPoint(10, 10), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(area->f_scale, 1.0);
        QCOMPARE(area->p_D, QPointF(0, 0));
    }

    void appendAndInsertWhereClicked()
    {
        startSpline();
        wheel(9);
        drag(QPoint(400, 400), QPoint(300, 350), Qt::MiddleButton);
        const QPointF pan = area->p_D;
        const double f = area->f_scale;

        // Append with nothing selected: under the mouse, even zoomed and panned.
        const QPoint click(500, 420);
        area->Action_From_Menu(click, 2);
        QCOMPARE(p->spline.num_pnt, 11);
        QVERIFY(QLineF(p->spline.CP[10], (QPointF(click) - pan) / f).length() < 1e-9);
        QCOMPARE(p->spline.num_knt, 14);

        // Insert after point 3: midway between the click and point 4.
        select(3);
        const QPointF oldNext = p->spline.CP[4];
        const QPointF oldFifth = p->spline.CP[5];
        const QPoint at = screenOf(3) + QPoint(40, -30);
        mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
        mouse(QEvent::MouseButtonRelease, at, Qt::RightButton, Qt::NoButton);
        area->Action_From_Menu(at, 3);
        QCOMPARE(p->spline.num_pnt, 12);
        QVERIFY(QLineF(p->spline.CP[4], 0.5 * ((QPointF(at) - pan) / f + oldNext)).length() < 1e-9);
        QCOMPARE(p->spline.CP[5], oldNext);
        QCOMPARE(p->spline.CP[6], oldFifth);
        QCOMPARE(area->pnt_selected, 3);

        // Append does nothing while a point other than the first is selected.
        area->Action_From_Menu(click, 2);
        QCOMPARE(p->spline.num_pnt, 12);
    }

    void capacityOfThirtyPoints()
    {
        startSpline();
        for (int i = 0; i < 25; ++i)
            area->Action_From_Menu(QPoint(300 + i, 300), 2);
        QCOMPARE(p->spline.num_pnt, MAXNUMPOINTS);
        area->repaint();
        select(5);
        area->Action_From_Menu(QPoint(350, 350), 3);
        area->pnt_selected = -1;
        area->Action_From_Menu(QPoint(350, 350), 2);
        QCOMPARE(p->spline.num_pnt, MAXNUMPOINTS);
        QCOMPARE(p->spline.num_knt, MAXNUMPOINTS + 3);

        // The menu offers neither command at the capacity.
        select(5);
        QStringList enabled;
        user.onMenu = [&enabled](const QList<QAction*>& actions) -> QAction* {
            for (QAction* a : actions)
                if (a->isEnabled())
                    enabled << a->text();
            return nullptr;
        };
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(350, 350), area->mapToGlobal(QPoint(350, 350)));
        QApplication::sendEvent(area, &ev);
        user.onMenu = nullptr;
        QVERIFY(enabled.contains("Remove selected point"));
        QVERIFY(!enabled.contains("Append point to spline"));
        QVERIFY(!enabled.contains("Insert point after selected point"));
    }

    void contextMenuRunsTheChosenEntry()
    {
        startSpline();
        select(4);
        user.onMenu = [](const QList<QAction*>& actions) { return actions.at(4); };
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(300, 300), area->mapToGlobal(QPoint(300, 300)));
        QApplication::sendEvent(area, &ev);
        user.onMenu = nullptr;
        QCOMPARE(p->spline.num_pnt, 9);
        QCOMPARE(area->pnt_selected, -1);
        // The next press is not swallowed after the menu.
        QCOMPARE(area->mousepressed, false);
    }

    void hullMakesTheCurvePassThroughThePoint()
    {
        startSpline();
        auto distance = [this](int i) {
            double best = 1e9;
            for (const QPointF& q : area->spline_poly)
                best = std::min(best, QLineF(q, p->spline.CP[i]).length());
            return best;
        };
        double knots[MAXNUMKNOTS];
        std::copy(p->spline.b_knots, p->spline.b_knots + MAXNUMKNOTS, knots);
        select(1);
        area->Toggle_Conic_Control();
        QVERIFY(std::equal(knots, knots + MAXNUMKNOTS, p->spline.b_knots));

        select(3);
        const double before = distance(3);
        QVERIFY(before > 5.0);
        area->Action_From_Menu(QPoint(0, 0), 6);
        QCOMPARE(p->spline.b_knots[5], p->spline.b_knots[4] + 0.0001);
        area->repaint();
        QVERIFY(distance(3) < 0.05 * before);

        // "Refresh knots" makes the knots uniform again.
        win->refreshButton->click();
        for (int i = 0; i < p->spline.num_knt; ++i)
            QCOMPARE(p->spline.b_knots[i], double(i) / (p->spline.num_knt - 1));
    }

    void keysMoveDeleteAndEscape()
    {
        startSpline();
        select(2);
        const QPointF cp = p->spline.CP[2];
        QTest::keyClick(area, Qt::Key_Right);
        QTest::keyClick(area, Qt::Key_Up);
        QVERIFY(QLineF(p->spline.CP[2], cp + QPointF(1, -1)).length() < 1e-6);
        QTest::keyClick(area, Qt::Key_Escape);
        QVERIFY(area->isVisible());
        QCOMPARE(area->pnt_selected, -1);
        select(2);
        QTest::keyClick(area, Qt::Key_Delete);
        QCOMPARE(p->spline.num_pnt, 9);
        QCOMPARE(area->pnt_selected, -1);
    }

    void scaleAndRotateButtons()
    {
        startSpline();
        const double y3 = foilOf(3).y();
        QTest::mousePress(win->plusButton, Qt::LeftButton);
        QTest::mouseRelease(win->plusButton, Qt::LeftButton);
        QTest::mousePress(win->plusButton, Qt::LeftButton);
        QTest::mouseRelease(win->plusButton, Qt::LeftButton);
        area->repaint();
        QVERIFY(std::fabs(foilOf(3).y() - y3 * 1.02 * 1.02) < 1e-3 * std::fabs(y3));

        startSpline();
        area->repaint();
        QPointF before[10];
        for (int i = 0; i < 10; ++i)
            before[i] = foilOf(i);
        win->rotplusButton->click();
        QVERIFY(QLineF(foilOf(5), before[5]).length() > 1e-3);
        win->rotminusButton->click();
        area->repaint();
        for (int i = 0; i < 10; ++i)
            QVERIFY(QLineF(foilOf(i), before[i]).length() < 1e-6);
    }

    void openingEditsReadBoth()
    {
        win->O2Edit->setText("30");
        win->O1Edit->setFocus();
        win->O1Edit->setText("12,5");
        QTest::keyClick(win->O1Edit, Qt::Key_Return);
        QCOMPARE(p->spline.startVent, 0.0);
        QCOMPARE(p->spline.endVent, 30.0);
        win->O1Edit->setText("10");
        QTest::keyClick(win->O1Edit, Qt::Key_Return);
        QCOMPARE(p->spline.startVent, 10.0);
    }

    void resizeKeepsTheSpline()
    {
        startSpline();
        area->repaint();
        QPointF before[10];
        for (int i = 0; i < 10; ++i)
            before[i] = foilOf(i);
        const int oldChord = area->L_T;
        const QSize oldSize = win->size();
        win->showNormal();
        win->resize(900, 700);
        WAIT_FOR_STATE(area->L_T != oldChord);
        area->repaint();
        QCOMPARE(p->spline.num_pnt, 10);
        for (int i = 0; i < 10; ++i)
            QVERIFY(QLineF(foilOf(i), before[i]).length() < 1e-6);
        win->resize(oldSize);
        WAIT_FOR_EQUAL(area->L_T, oldChord);
    }

    void splineFileThroughTheMenus()
    {
        startSpline();
        p->spline.startVent = 10.0;
        p->spline.endVent = 30.0;
        const QString path = airfoils + "/sym.spl";
        chooseFile(path);
        win->actionSave_as_spline_file->trigger();
        QCOMPARE(QFileInfo(path).size(), qint64(3404 + 2 * path.size()));
        QCOMPARE(p->spline.airfoilName, path);

        // Cancel keeps the spline; the dialog starts in the airfoil folder.
        area->Action_From_Menu(QPoint(600, 400), 2);
        QCOMPARE(p->spline.num_pnt, 11);
        QString seen;
        cancelDialog(&seen);
        win->actionOpen_foil_spline->trigger();
        QCOMPARE(seen, QDir(airfoils).absolutePath());
        QCOMPARE(p->spline.num_pnt, 11);

        // A name in capitals is not a spline file.
        QFile::copy(path, airfoils + "/CAPS.SPL");
        chooseFile(airfoils + "/CAPS.SPL");
        win->actionOpen_foil_spline->trigger();
        QCOMPARE(p->spline.num_pnt, 11);

        // Opening replaces the spline and resets the view; the opening
        // edits show the file's values.
        win->O1Edit->setText("0.00");
        win->O2Edit->setText("0.00");
        p->spline.startVent = p->spline.endVent = 0.0;
        area->f_scale = 3.0;
        chooseFile(path);
        win->actionOpen_foil_spline->trigger();
        QCOMPARE(p->spline.num_pnt, 10);
        QCOMPARE(area->f_scale, 1.0);
        QCOMPARE(area->pnt_selected, -1);
        QCOMPARE(p->spline.startVent, 10.0);
        QCOMPARE(win->O1Edit->text(), QString("10.00"));
        QCOMPARE(win->O2Edit->text(), QString("30.00"));
    }

    void airfoilTableImportsIntoTheLibrary()
    {
        startSpline();
        area->repaint();
        const QString path = airfoils + "/sym.dat";
        chooseFile(path);
        win->actionSave_as_table->trigger();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        QVERIFY(text.startsWith(path + " \t\n1.00000   0.00000 \t\n"));
        QVERIFY(text.endsWith("\n1.00000   0.00000 \t\n "));
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 1 + 1 + 92 + 1 + 1); // path, TE, curve, TE, the blank
        // Upper surface first: the first curve point lies above the chord.
        QVERIFY(lines[2].split(' ', Qt::SkipEmptyParts).at(1).toDouble() > 0);

        // The main program's reader gets the same contour back.
        const QPolygonF read = Read_All_AirfoilTypes(path, AirfoilReader::Main);
        QCOMPARE(read.size(), 94);
        const QPolygonF curve = p->workAirfoil;
        QVERIFY(PolygonSquare(curve) < 0);
        QList<QPointF> expected;
        expected << QPointF(1, 0);
        for (int i = curve.size() - 1; i > 0; i -= 9)
            if (curve[i].x() < 0.99999)
                expected << curve[i];
        expected << QPointF(1, 0);
        QCOMPARE(read.size(), expected.size());
        for (int i = 0; i < read.size(); ++i)
            QVERIFY2(QLineF(read[i], expected[i]).length() < 1e-3, qPrintable(QString::number(i)));
    }

    void backgroundAirfoilAndScreenshot()
    {
        const QString path = airfoils + "/test12.dat";
        writeBackgroundFoil(path);
        chooseFile(path);
        win->actionOpen_backround_template->trigger();
        QCOMPARE(p->baseAirfoilName, path);
        QCOMPARE(p->baseAirfoil.size(), 121);
        const QStringList rows = win->tableEdit->toPlainText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.at(0), QString(" airfoil table \t"));
        QCOMPARE(rows.at(2), QString("1.00000   0.00000 \t"));
        QCOMPARE(rows.last(), QString("1.00000   0.00000 \t"));

        startSpline();
        win->O1Edit->setText("10");
        win->O2Edit->setText("30");
        QTest::keyClick(win->O2Edit, Qt::Key_Return);
        area->repaint();
        const QImage shot = win->grab().toImage();
        shot.save(QDir::tempPath() + "/splinora_editor.png");
        const QImage img = area->grab().toImage();
        // The opening at 10 % is a dark blue line below the chord.
        const int x = area->xc + area->L_T / 10;
        const QColor c = img.pixelColor(x, area->yc + (area->H - area->yc) / 2);
        QCOMPARE(c, QColor(Qt::darkBlue));
    }

    // The lines of figures and the chart keep off the fields over the
    // area: the four lines stand whole inside the area, under the fields and
    // apart; the chart, its chord line and the background airfoil lie below
    // them; at the window's form size and maximized.
    void figuresAndChartKeepOffTheFields_data()
    {
        QTest::addColumn<bool>("maximized");
        QTest::newRow("form size") << false;
        QTest::newRow("maximized") << true;
    }

    void figuresAndChartKeepOffTheFields()
    {
        QFETCH(bool, maximized);
        const QString path = airfoils + "/test12.dat";
        writeBackgroundFoil(path);
        chooseFile(path);
        win->actionOpen_backround_template->trigger();
        startSpline();
        if (maximized) {
            win->showMaximized();
        } else {
            win->showNormal();
            win->resize(800, 600);
        }
        WAIT_FOR_STATE(area->MyRect == area->rect());
        area->repaint();

        QList<QRectF> fields;
        for (const QWidget* child : area->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            fields << QRectF(child->geometry());
        QVERIFY(fields.size() >= 5);
        const QStringList lines = area->Info_Lines();
        const QList<QRectF> boxes = area->Info_Line_Boxes();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(boxes.size(), 4);
        QVERIFY2(lines[0].contains("test12") && lines[1].contains("Bottom: at:"), qPrintable(lines.join('|')));
        QVERIFY2(lines[3].contains("Bottom: at:"), qPrintable(lines.join('|')));
        QVERIFY(!Labels_Overlap(boxes));
        const QRectF chart(area->Chart_Area());
        for (const QRectF& b : boxes) {
            QVERIFY2(QRectF(area->rect()).contains(b), qPrintable(QString::number(b.right())));
            QVERIFY(!b.intersects(chart));
            for (const QRectF& f : fields)
                QVERIFY(!b.intersects(f));
        }
        for (const QRectF& f : fields)
            QVERIFY(!f.intersects(chart));
        // The chord line and the airfoil on it, whole in the chart.
        QVERIFY(chart.contains(QPointF(area->xc, area->yc)) && chart.contains(QPointF(area->TE.x(), area->yc)));
        for (const QPointF& q : p->baseAirfoil)
            QVERIFY(chart.contains(QPointF(area->xc + q.x() * area->L_T, area->yc - q.y() * area->L_T)));

        // The scales' figures: eleven along the chord, eight up and down,
        // none over another nor over a point of either airfoil.
        const QList<ScaleLabel> scale = area->Scale_Label_Boxes();
        QCOMPARE(scale.size(), 19);
        QList<QRectF> scaleBoxes;
        for (const ScaleLabel& l : scale)
            scaleBoxes << l.box;
        QVERIFY(!Labels_Overlap(scaleBoxes));
        QCOMPARE(scale.first().text, QString("0.0"));
        const QList<QPolygonF> foils = area->Drawn_Foils();
        QVERIFY(foils.size() == 2 && foils[0].size() > 10 && foils[1].size() > 10);
        for (const ScaleLabel& l : scale)
            for (const QPolygonF& foil : foils)
                for (const QPointF& q : foil)
                    QVERIFY2(!l.box.contains(q), qPrintable(l.text));

        // With WL_SHOTS naming a folder, the picture, to look at.
        if (qEnvironmentVariableIsSet("WL_SHOTS"))
            win->grab().save(QDir(qEnvironmentVariable("WL_SHOTS"))
                                 .filePath(maximized ? "splinora-max.png" : "splinora.png"));

        // The fields' names are whole.
        for (const QLabel* label : win->findChildren<QLabel*>())
            if (label->isVisible() && !label->text().isEmpty())
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                         qPrintable(label->text()));
        win->showMaximized();
    }
};

QTEST_MAIN(TestEditorGui)
#include "tst_editor_gui.moc"
