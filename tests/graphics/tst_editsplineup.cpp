// The design-line editor on the default design, offscreen: lines built from
// the menu and stored by a click, points removed and moved, lines closed,
// ends kept on ribs and snapped to other lines' ends, the limit of points,
// and the background of both sides.

#include <QTest>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QObject>
#include <QPainterPath>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include "core/parastruct.h"
#include "geom/designcurves.h"
#include "graphics/ui/editsplineup.h"
#include "tests/common/scripteduser.h"
#include "tests/common/statewait.h"
#include "tools/template/defaultdesign.h"

#include <cmath>
#include <memory>

class TestEditSplineUp : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScriptedUser> user;
    std::unique_ptr<EditSplineUP> view;
    ParaStruct* design = nullptr;

    // A point of the top design area at rib k, a fraction f of the way from
    // the trailing edge to the O1 row.
    QPointF topPoint(int k, double f) const
    {
        return QPointF(design->ribSpanPos[k],
                       design->trailingEdgeX[k] - f * design->airfoilArcLen[design->lineIndex[0][k]][k]);
    }
    QPoint widgetPos(QPointF designPoint) const
    {
        return (designPoint + QPointF(0, view->panY())).toPoint();
    }

    // Where the editor puts a point added at p: at the pixel under p, x
    // on the nearest rib.
    QPointF placed(QPointF p) const
    {
        return Adjust_to_Near_Rib(design, QPointF(widgetPos(p)) - QPointF(0, view->panY()));
    }

    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(pos), view->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &e);
    }
    void click(QPoint pos, Qt::MouseButton button)
    {
        send(QEvent::MouseButtonPress, pos, button, button);
        send(QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
    }
    void drag(QPoint from, QPoint to, Qt::MouseButton button)
    {
        send(QEvent::MouseButtonPress, from, button, button);
        send(QEvent::MouseMove, to, Qt::NoButton, button);
        send(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }
    void key(Qt::Key k)
    {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &e);
    }

    // A line of the given points through the menu, stored by a click away
    // from its points.
    void buildLine(const QList<QPointF>& points)
    {
        for (const QPointF& p : points)
            view->Action_From_Menu(widgetPos(p), 1);
        click(QPoint(5, view->height() - 5), Qt::LeftButton);
    }
    // Line i of the side made current by a middle click on its curve.
    void pickLine(int i)
    {
        const Spline& line = view->editor().lineList.at(i);
        click(widgetPos(line.curve.at(line.curve.size() / 2)), Qt::MiddleButton);
        QCOMPARE(view->editor().currentLine, i);
    }
    // Control point i of the work line selected by a left press and release.
    void pickPoint(int i)
    {
        click(widgetPos(view->editor().workLine.points[i]), Qt::LeftButton);
        QCOMPARE(view->editor().selectedPoint, i);
    }
    bool onRib(double x) const
    {
        for (int k = design->firstRib; k <= design->lastRib; ++k)
            if (x == design->ribSpanPos[k])
                return true;
        return false;
    }

private slots:
    void initTestCase()
    {
        design = GetDataStruct();
        *design = *Build_Default_Design(34);
        user = std::make_unique<ScriptedUser>();
        view = std::make_unique<EditSplineUP>();
        view->resize(1200, 700);
        view->setCurrentside('U');
        view->show();
        WAIT_FOR_EXPOSED(view.get());
    }

    void init()
    {
        if (view->panY() != 0)
            drag(QPoint(600, 660), QPoint(600, 660 - int(view->panY())), Qt::MiddleButton);
        QCOMPARE(view->panY(), 0.0);
        design->designSplines.clear();
        user->texts.clear();
        view->setCurrentside('U');
    }

    // The letters of the sides: new lines of a side carry its number.
    void sideLetters_data()
    {
        QTest::addColumn<char>("side");
        QTest::addColumn<int>("expected");
        QTest::newRow("U") << 'U' << 0;
        QTest::newRow("D") << 'D' << 1;
        QTest::newRow("u") << 'u' << -1;
        QTest::newRow("x") << 'x' << -1;
    }
    void sideLetters()
    {
        QFETCH(char, side);
        QFETCH(int, expected);
        SplineEditor editor(design);
        editor.Set_DesignSide(side);
        QCOMPARE(editor.side(), expected);
        editor.Init_Work_Spline();
        QCOMPARE(editor.workLine.side, expected);
    }

    void menuPointsBuildALine()
    {
        const QList<QPointF> points = {topPoint(3, 0.3) + QPointF(7, 0), topPoint(6, 0.5), topPoint(9, 0.4)};
        for (const QPointF& p : points)
            view->Action_From_Menu(widgetPos(p), 1);
        const Spline& work = view->editor().workLine;
        QCOMPARE(work.pointCount, 3);
        QVERIFY(design->designSplines.isEmpty());   // not stored before the click
        // Every added point goes onto the nearest rib.
        QCOMPARE(work.points[0], placed(points[0]));
        QCOMPARE(work.points[0].x(), design->ribSpanPos[3]);
        QVERIFY(!work.curve.isEmpty());
        click(QPoint(5, view->height() - 5), Qt::LeftButton);
        QCOMPARE(design->designSplines.size(), 1);
        QCOMPARE(design->designSplines[0].pointCount, 3);
        QCOMPARE(design->designSplines[0].side, 0);
        QCOMPARE(view->editor().workLine.pointCount, 0);
        QVERIFY(!user->texts.size());
    }

    void onePointLineIsDiscarded()
    {
        buildLine({topPoint(4, 0.5), topPoint(8, 0.5)});
        view->Action_From_Menu(widgetPos(topPoint(5, 0.2)), 1);
        click(QPoint(5, view->height() - 5), Qt::LeftButton);
        QCOMPARE(design->designSplines.size(), 1);
        QCOMPARE(design->designSplines[0].pointCount, 2);
    }

    void removePointAndLine()
    {
        buildLine({topPoint(2, 0.5), topPoint(5, 0.6), topPoint(8, 0.5)});
        buildLine({topPoint(10, 0.2), topPoint(13, 0.3)});
        QCOMPARE(design->designSplines.size(), 2);
        QVERIFY(!view->Menu_Entry_Enabled(4));
        pickLine(0);
        QVERIFY(view->Menu_Entry_Enabled(5) && view->Menu_Entry_Enabled(7) && !view->Menu_Entry_Enabled(4));
        pickPoint(1);
        QVERIFY(view->Menu_Entry_Enabled(2) && view->Menu_Entry_Enabled(4) && view->Menu_Entry_Enabled(9));
        view->Action_From_Menu(QPoint(), 4);
        QCOMPARE(design->designSplines[0].pointCount, 2);
        QCOMPARE(design->designSplines[0].points[1], placed(topPoint(8, 0.5)));
        // A point removed from a 2-point line removes the line.
        pickLine(0);
        pickPoint(0);
        view->Action_From_Menu(QPoint(), 4);
        QCOMPARE(design->designSplines.size(), 1);
        QCOMPARE(design->designSplines[0].points[0], placed(topPoint(10, 0.2)));
        pickLine(0);
        view->Action_From_Menu(QPoint(), 5);
        QVERIFY(design->designSplines.isEmpty());
        QCOMPARE(view->editor().lineList.size(), 0);
    }

    void closeOnlyFourOrMorePoints_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("closed");
        QTest::newRow("3 points") << 3 << false;
        QTest::newRow("4 points") << 4 << true;
        QTest::newRow("6 points") << 6 << true;
    }
    void closeOnlyFourOrMorePoints()
    {
        QFETCH(int, points);
        QFETCH(bool, closed);
        QList<QPointF> p;
        for (int i = 0; i < points; ++i)
            p << topPoint(2 + 2 * i, i % 2 ? 0.2 : 0.6);
        buildLine(p);
        pickLine(0);
        view->Action_From_Menu(QPoint(), 7);
        const Spline& line = design->designSplines.at(0);
        QCOMPARE(line.pointCount, points);
        QCOMPARE(line.points[points - 1] == line.points[0], closed);
        QCOMPARE(view->editor().currentLine, -1);
    }

    void endsStayOnRibsWhileDragging()
    {
        buildLine({topPoint(3, 0.5), topPoint(6, 0.3), topPoint(9, 0.5)});
        pickLine(0);
        // The first point dragged between two ribs stays on a rib.
        const QPointF between = (topPoint(4, 0.4) + topPoint(5, 0.4)) / 2 + QPointF(3, 0);
        drag(widgetPos(view->editor().workLine.points[0]), widgetPos(between), Qt::LeftButton);
        const Spline& work = view->editor().workLine;
        QVERIFY(onRib(work.points[0].x()));
        QCOMPARE(work.points[0].x(), design->ribSpanPos[5]);
        QCOMPARE(work.points[0].y(), double(widgetPos(between).y()));
        // An inner point moves freely; outside the area it stays.
        const QPointF free = (topPoint(6, 0.6) + topPoint(7, 0.6)) / 2;
        drag(widgetPos(work.points[1]), widgetPos(free), Qt::LeftButton);
        QCOMPARE(work.points[1], QPointF(widgetPos(free)));
        drag(widgetPos(work.points[1]), QPoint(int(free.x()), view->height() - 3), Qt::LeftButton);
        QCOMPARE(work.points[1], QPointF(widgetPos(free)));
    }

    void arrowKeysMoveOneUnitAfterPanning()
    {
        buildLine({topPoint(3, 0.5), topPoint(6, 0.3), topPoint(9, 0.5)});
        // Pan down by 40 with the middle button held on empty space.
        drag(QPoint(600, 660), QPoint(600, 700), Qt::MiddleButton);
        QCOMPARE(view->panY(), 40.0);
        pickLine(0);
        pickPoint(1);
        const QPointF before = view->editor().workLine.points[1];
        key(Qt::Key_Down);
        QCOMPARE(view->editor().workLine.points[1], before + QPointF(0, 1));
        key(Qt::Key_Left);
        key(Qt::Key_Left);
        QCOMPARE(view->editor().workLine.points[1], before + QPointF(-2, 1));
        key(Qt::Key_Up);
        QCOMPARE(view->editor().workLine.points[1], before + QPointF(-2, 0));
        // A point added with the view panned lands under the mouse.
        view->Update_Spline_list();
        const QPointF target = topPoint(12, 0.5);
        view->Action_From_Menu(widgetPos(target), 1);
        QCOMPARE(view->editor().workLine.points[0], placed(target));
        QVERIFY(std::abs(placed(target).y() - target.y()) <= 0.5);
        // Pan back for the other tests.
        drag(QPoint(600, 700), QPoint(600, 660), Qt::MiddleButton);
        QCOMPARE(view->panY(), 0.0);
    }

    void snappingWithinTwentyUnits_data()
    {
        QTest::addColumn<double>("distance");
        QTest::addColumn<bool>("snapped");
        QTest::newRow("19 units") << 19.0 << true;
        QTest::newRow("12 units") << 12.0 << true;
        QTest::newRow("21 units") << 21.0 << false;
    }
    void snappingWithinTwentyUnits()
    {
        QFETCH(double, distance);
        QFETCH(bool, snapped);
        buildLine({topPoint(2, 0.6), topPoint(5, 0.4), topPoint(8, 0.6)});
        const QPointF end = design->designSplines[0].points[2];
        buildLine({topPoint(11, 0.2), topPoint(14, 0.3), topPoint(16, 0.2)});
        pickLine(1);
        // The first point of line 1 dragged onto line 0's rib, `distance`
        // units below line 0's last point.
        const QPoint from = widgetPos(view->editor().workLine.points[0]);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(view->editor().selectedPoint, 0);
        // While an end of the current line is pressed the snap markers show.
        QVERIFY(view->snapMarkers().contains(end));
        const QPoint to = widgetPos(end + QPointF(0, distance));
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QVERIFY(view->snapMarkers().isEmpty());
        if (snapped) {
            QCOMPARE(design->designSplines[1].points[0], end);
            QCOMPARE(view->editor().currentLine, -1);
        } else {
            QCOMPARE(view->editor().workLine.points[0], QPointF(end.x(), to.y()));
        }
    }

    // An end dragged a little along its rib keeps its new place: it is not
    // pulled back to where the line's stored copy has it.
    void endDoesNotSnapToItself()
    {
        buildLine({topPoint(2, 0.6), topPoint(5, 0.4), topPoint(8, 0.6)});
        pickLine(0);
        const QPointF start = view->editor().workLine.points[0];
        const QPoint to = widgetPos(start + QPointF(0, -8));
        drag(widgetPos(start), to, Qt::LeftButton);
        QCOMPARE(view->editor().workLine.points[0], QPointF(start.x(), to.y()));
    }

    void twentyNinthPointIsRefused()
    {
        for (int i = 0; i < 28; ++i)
            view->Action_From_Menu(widgetPos(topPoint(1 + i % 16, 0.1 + 0.03 * i)), 1);
        QCOMPARE(view->editor().workLine.pointCount, 28);
        QVERIFY(user->texts.isEmpty());
        view->Action_From_Menu(widgetPos(topPoint(3, 0.5)), 1);
        QCOMPARE(view->editor().workLine.pointCount, 28);
        QCOMPARE(user->texts.size(), 1);
        QVERIFY(user->texts[0].contains(QLatin1String("28")));
        // Nor can one be inserted.
        view->Update_Spline_list();
        pickLine(0);
        pickPoint(3);
        view->Action_From_Menu(widgetPos(topPoint(3, 0.5)), 2);
        QCOMPARE(view->editor().workLine.pointCount, 28);
        QCOMPARE(user->texts.size(), 2);
        // The line of 28 points is stored and passes the check of the file.
        view->Update_Spline_list();
        QCOMPARE(design->designSplines[0].pointCount, 28);
        QCOMPARE(design->designSplines[0].bsplineCount, 30);
    }

    void insertHalfwayToTheNextPoint()
    {
        buildLine({topPoint(2, 0.6), topPoint(6, 0.4), topPoint(10, 0.6)});
        pickLine(0);
        pickPoint(0);
        const QPointF pressed = view->editor().workLine.points[0];
        const QPointF next = view->editor().workLine.points[1];
        view->Action_From_Menu(widgetPos(topPoint(4, 0.9)), 2);
        const Spline& work = view->editor().workLine;
        QCOMPARE(work.pointCount, 4);
        QCOMPARE(work.points[1], (QPointF(widgetPos(pressed)) - QPointF(0, view->panY()) + next) / 2);
        QCOMPARE(work.points[2], next);
    }

    void bottomSideAndBackground()
    {
        buildLine({topPoint(2, 0.5), topPoint(6, 0.5)});
        view->setCurrentside('D');
        QCOMPARE(view->editor().side(), 1);
        // The top line stays, but is not drawn or picked on the bottom side.
        QCOMPARE(view->editor().lineList.size(), 1);
        QVERIFY(view->editor().linePath.isEmpty());
        const int k = 7;
        const double te = design->trailingEdgeX[k];
        const double o2 = te - (design->airfoilArcLen[999][k] - design->airfoilArcLen[design->lineIndex[1][k]][k]);
        const QPolygonF& area = view->areaOutline();
        QVERIFY(area.containsPoint(QPointF(design->ribSpanPos[k], (te + o2) / 2), Qt::OddEvenFill));
        QVERIFY(!area.containsPoint(QPointF(design->ribSpanPos[k], o2 - 5), Qt::OddEvenFill));
        view->Action_From_Menu(widgetPos(QPointF(design->ribSpanPos[3], (te + o2) / 2)), 1);
        view->Action_From_Menu(widgetPos(QPointF(design->ribSpanPos[k], (te + o2) / 2)), 1);
        QCOMPARE(view->editor().workLine.side, 1);
        view->Update_Spline_list();
        QCOMPARE(design->designSplines.size(), 2);
        QCOMPARE(design->designSplines[1].side, 1);

        const DesignBackground top = Design_Background(design, 0);
        QCOMPARE(top.title, QStringLiteral("TOP SIDE DESIGN"));
        QCOMPARE(top.trailingEdge.size(), design->lastRib - design->firstRib + 1);
        QCOMPARE(top.areaOutline.size(), 2 * top.trailingEdge.size());
        QCOMPARE(Design_Background(design, 1).title, QStringLiteral("BOTTOM SIDE Design"));
        QCOMPARE(Design_Background(design, -1).side, -1);
    }

    // The stored lines of one side as one path, a line of one point left
    // out; a table of the ribs as a polyline, rib by rib.
    void linePathAndRibTables()
    {
        QList<Spline> lines(4);
        lines[0].curve = {QPointF(0, 0), QPointF(10, 0), QPointF(20, 5)};
        lines[1].side = 1;
        lines[1].curve = {QPointF(0, 1), QPointF(1, 1)};
        lines[2].curve = {QPointF(3, 3)};
        lines[3].curve = {QPointF(7, 7), QPointF(8, 9)};
        const QPainterPath path = Set_MyPainterPath(lines, 0);
        const QList<QPair<QPainterPath::ElementType, QPointF>> expected = {
            {QPainterPath::MoveToElement, QPointF(0, 0)},  {QPainterPath::LineToElement, QPointF(10, 0)},
            {QPainterPath::LineToElement, QPointF(20, 5)}, {QPainterPath::MoveToElement, QPointF(7, 7)},
            {QPainterPath::LineToElement, QPointF(8, 9)}};
        QCOMPARE(path.elementCount(), int(expected.size()));
        for (int i = 0; i < path.elementCount(); ++i) {
            QCOMPARE(path.elementAt(i).type, expected[i].first);
            QCOMPARE(QPointF(path.elementAt(i)), expected[i].second);
        }
        QCOMPARE(Set_MyPainterPath(lines, 1).elementCount(), 2);
        QVERIFY(Set_MyPainterPath(lines, 2).isEmpty());

        double table[kRibSlots];
        for (int k = 0; k < kRibSlots; ++k)
            table[k] = 100.0 + k;
        const QPolygonF poly = Table_to_Poly(design, table);
        QCOMPARE(poly.size(), design->lastRib - design->firstRib + 1);
        for (int i = 0; i < poly.size(); ++i)
            QCOMPARE(poly[i], QPointF(design->ribSpanPos[design->firstRib + i], 100.0 + design->firstRib + i));
        QCOMPARE(Background_UP(design).trailingEdge, Table_to_Poly(design, design->trailingEdgeX));
        QCOMPARE(Background_DW(design).areaOutline, Design_Background(design, 1).areaOutline);
    }

    void billowLineOfTheTopSide()
    {
        const int saved = design->billowLineIndex;
        const double excess = design->billowLineOffset;
        design->billowLineIndex = 300;
        design->billowLineOnTop = true;
        design->billowLineOffset = 0.0;
        DesignBackground b = Design_Background(design, 0);
        QVERIFY(b.billowShown);
        QCOMPARE(b.billowLabel, QStringLiteral("used "));
        QVERIFY(b.billowLine.isEmpty());   // no excess: the label only
        design->billowLineOffset = 5.0;
        design->billowLineOnTop = false;
        b = Design_Background(design, 0);
        QCOMPARE(b.billowLabel, QStringLiteral("  Not used"));
        QCOMPARE(b.billowLine.size(), design->lastRib - design->firstRib + 1);
        QCOMPARE(b.billowLine[2], getBillowPoint(design, design->firstRib + 2, 300));
        design->billowLineIndex = design->noseIndex[1] - 10;
        QVERIFY(!Design_Background(design, 0).billowShown);
        design->billowLineIndex = saved;
        design->billowLineOffset = excess;
        design->billowLineOnTop = false;
    }

    // A show rebuilds the editor's lines from the design: their ends go
    // onto ribs. The design keeps the lines as they are until one is edited.
    void showPutsEndsOnRibs()
    {
        Spline s;
        s.pointCount = 3;
        s.side = 0;
        s.degree = 3;
        s.order = 4;
        s.points[0] = topPoint(3, 0.5) + QPointF(6, 0);
        s.points[1] = topPoint(5, 0.5);
        s.points[2] = topPoint(8, 0.5) - QPointF(5, 0);
        design->designSplines = {s};
        view->hide();
        view->show();
        const Spline& shown = view->editor().lineList.at(0);
        QCOMPARE(shown.points[0].x(), design->ribSpanPos[3]);
        QCOMPARE(shown.points[2].x(), design->ribSpanPos[8]);
        QVERIFY(!shown.curve.isEmpty());
        QCOMPARE(design->designSplines[0].points[0], s.points[0]);
        QCOMPARE(design->designSplines[0].points[2], s.points[2]);
    }

    void screenshots()
    {
        buildLine({topPoint(2, 0.7), topPoint(5, 0.4), topPoint(9, 0.6), topPoint(14, 0.5)});
        pickLine(0);
        pickPoint(2);
        const QString dir = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        const QImage top = view->grab().toImage();
        QVERIFY(!top.isNull());
        if (!dir.isEmpty())
            top.save(dir + QStringLiteral("/editor-top.png"));
    }
};

QTEST_MAIN(TestEditSplineUp)
#include "tst_editsplineup.moc"
