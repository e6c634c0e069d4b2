// What the two tree editors share: the scene under the pointer at any pan
// and zoom, the wheel, the hit tests on nodes and handles, the angle labels
// at branching nodes (against angles worked out by hand), the length and
// diameter dialogs, and the connection to the bridle manager.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QString>
#include <QStringLiteral>
#include <QVector3D>
#include <QWidget>

#include <cmath>

#include "lines/ui/treeview.h"
#include "tests/common/scripteduser.h"
#include "tests/lines/linesfixture.h"

namespace {

// Stands for the bridle manager, the fourth parent up of an editor.
class Manager : public QWidget
{
    Q_OBJECT
public:
    int ropes = 0;
public slots:
    void Refresh_Ropes() { ++ropes; }
};

class Emitter : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
    void fire() { emit to_refresh_ropes(); }
signals:
    void to_refresh_ropes();
};

LineProp lineTo(QVector3D q1, QVector3D q2, QPoint p1, QPoint p2)
{
    LineProp l;
    l.q1 = q1;
    l.q2 = q2;
    l.p1 = p1;
    l.p2 = p2;
    return l;
}

} // namespace

class TestTreeView : public QObject
{
    Q_OBJECT

private slots:
    void sceneUnderThePointer_data()
    {
        QTest::addColumn<QPointF>("pan");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QPoint>("widget");
        QTest::addColumn<QPoint>("scene");
        QTest::newRow("plain") << QPointF(0, 0) << 1.0 << QPoint(300, 200) << QPoint(300, 200);
        QTest::newRow("panned") << QPointF(40, -20) << 1.0 << QPoint(300, 200) << QPoint(260, 220);
        QTest::newRow("zoomed, half up") << QPointF(0, 0) << 2.0 << QPoint(301, 203) << QPoint(151, 102);
        QTest::newRow("negative half up") << QPointF(0, 0) << 2.0 << QPoint(-5, -3) << QPoint(-2, -1);
        QTest::newRow("pan taken to whole pixels") << QPointF(10.9, 0.7) << 1.0 << QPoint(100, 100) << QPoint(90, 100);
        QTest::newRow("far out") << QPointF(0, 0) << 0.05 << QPoint(51, 1) << QPoint(1020, 20);
    }
    void sceneUnderThePointer()
    {
        QFETCH(QPointF, pan);
        QFETCH(double, zoom);
        QFETCH(QPoint, widget);
        QFETCH(QPoint, scene);
        TreeView v{pan, zoom};
        QCOMPARE(v.toScene(widget), scene);
        // And back: the scene point lies within half a scene unit of the pointer.
        const QPointF back = v.toWidget(scene);
        QVERIFY(std::fabs(back.x() - widget.x()) <= zoom / 2 + 1e-9);
        QVERIFY(std::fabs(back.y() - widget.y()) <= zoom / 2 + 1e-9);
    }

    // 1.25 per eight notches, anchored at the pan; 0.05..20.
    void wheel()
    {
        TreeView v{QPointF(7, 9), 1.0};
        v.wheel(960);
        QCOMPARE(v.zoom, 1.25);
        v.wheel(-120);
        QVERIFY(std::fabs(v.zoom - 1.25 * std::pow(1.25, -0.125)) < 1e-12);
        QCOMPARE(v.pan, QPointF(7, 9));
        for (int i = 0; i < 200; ++i)
            v.wheel(960);
        QCOMPARE(v.zoom, kMaxZoom);
        for (int i = 0; i < 400; ++i)
            v.wheel(-960);
        QCOMPARE(v.zoom, kMinZoom);
    }

    void nodesAndHandles()
    {
        const QPolygon points{QPoint(0, 0), QPoint(10, 0), QPoint(10, 0), QPoint(20, 20)};
        QCOMPARE(Node_At(points, QPoint(3, 4), 5.0), -1);          // 5 is not below 5
        QCOMPARE(Node_At(points, QPoint(3, 3), 5.0), 0);
        QCOMPARE(Node_At(points, QPoint(9, 1), 5.0), 1);           // the first of two at one point
        QCOMPARE(Node_At(points, QPoint(19, 19), 5.0, 3), -1);     // beyond the count
        QCOMPARE(Nearest_Node_Point(points, QPoint(100, 100)), QPoint(20, 20));
        QCOMPARE(Nearest_Node_Point(points, QPoint(5, 0)), QPoint(10, 0));   // a tie: the later one
        QCOMPARE(Nearest_Node_Point(QPolygon(), QPoint(5, 0)), QPoint(0, 0));

        const QPolygon pairs{QPoint(1, 0), QPoint(3, 1), QPoint(3, 9), QPoint(2, 3)};
        const QList<MidPnt> all = Midpoint_Handles(pairs, points);
        QCOMPARE(all.size(), 3);   // the pair to node 9 has no node
        QCOMPARE(all[0].point, QPoint(5, 0));
        QCOMPARE(all[1].point, QPoint(15, 10));
        QCOMPARE(all[2].line, 3);
        QCOMPARE(all[2].point, QPoint(15, 10));
        QCOMPARE(Midpoint_Handles(pairs, points, 2).size(), 1);   // lines to nodes 0 and 1 are bare
        QCOMPARE(Handle_At(all, QPoint(18, 14), 8.0), 1);         // Manhattan 7
        QCOMPARE(Handle_At(all, QPoint(19, 14), 8.0), -1);        // Manhattan 8
    }

    // Two lines from one parent to one rib column meet at the angle of their
    // 3-D directions, labelled upright midway along the first; two to one
    // row at the parent; other lines give no label.
    void angleLabels()
    {
        const QVector3D o(10, 10, 10);
        const QPoint parent(500, 400);
        QList<LineProp> lines;
        // 0 and 1: the same rib column (x 600): 90 degrees.
        lines << lineTo(o, o + QVector3D(5, 0, 0), parent, QPoint(600, 93));
        lines << lineTo(o, o + QVector3D(0, 3, 0), parent, QPoint(600, 110));
        // 2: the same row as 0 (y 93): 60 degrees to 0, 90 to 1 (other row).
        lines << lineTo(o, o + QVector3D(1, float(std::sqrt(3.0)), 0), parent, QPoint(640, 93));
        // 3: a line above, from another parent to a free node: no label.
        lines << lineTo(QVector3D(), o, QPoint(500, 600), parent);
        const QPolygon pairs{QPoint(7, 0), QPoint(7, 1), QPoint(7, 2), QPoint(8, 7)};
        const QList<AngleLabel> labels = Angle_Labels(pairs, lines, 5);
        QCOMPARE(labels.size(), 2);
        QVERIFY(labels[0].column);
        QCOMPARE(labels[0].text, QStringLiteral("  90.0"));
        QCOMPARE(labels[0].at, QPoint(550, 247));   // (500 + 600) / 2, (400 + 93) / 2 rounded half up
        QVERIFY(!labels[1].column);
        QCOMPARE(labels[1].text, QStringLiteral("   60.0"));
        QCOMPARE(labels[1].at, parent);

        // The list of one node holds its lines in order; the labels come from
        // it alone. Of two equal angles the first pair keeps the label.
        const QList<AngleEntry> list = set_angles_List(pairs, lines, 7);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[1].p2, QPoint(600, 110));
        QCOMPARE(list[2].q2, lines[2].q2);
        QCOMPARE(set_angles_List(pairs, lines, 8).size(), 1);
        QCOMPARE(calc_paint_angle(list.mid(0, 1)).size(), 0);
        QList<AngleEntry> tie = list.mid(0, 2);
        tie << AngleEntry{o, o + QVector3D(0, 0, 4), QPoint(510, 410), QPoint(600, 120)};
        const QList<AngleLabel> tied = calc_paint_angle(tie);
        QCOMPARE(tied.size(), 1);
        QCOMPARE(tied[0].text, QStringLiteral("  90.0"));
        QCOMPARE(tied[0].at, QPoint(550, 247));
        // A single canopy line and parallel lines give none.
        QCOMPARE(Angle_Labels(QPolygon{QPoint(7, 0)}, lines.mid(0, 1), 5).size(), 0);
        lines[1].q2 = lines[0].q2 * 2 - o;
        QCOMPARE(Angle_Labels(pairs.mid(0, 2), lines.mid(0, 2), 5).size(), 0);
    }

    // The length in metres: 0 becomes a millimetre; Cancel changes nothing.
    void lengthDialog()
    {
        auto d = linesfixture::wing(34);
        const double unit = d->ToScreen(d->hangHeight);
        LineProp line;
        line.length = 0.25;
        ScriptedUser user;
        double shown = -1;
        user.onNumber = [&shown](const QString&, const QString&, double value) {
            shown = value;
            return std::optional<double>(1.4);
        };
        QVERIFY(Ask_Line_Length(d.get(), unit, &line));
        QCOMPARE(user.all("number"), QStringLiteral("change lenght length [m]:"));
        QVERIFY(std::fabs(shown - 0.25 * d->hangHeight) < 1e-9);
        QVERIFY(std::fabs(line.length - 1.4 / d->hangHeight) < 1e-12);
        user.onNumber = [](const QString&, const QString&, double) { return std::optional<double>(0.0); };
        QVERIFY(Ask_Line_Length(d.get(), unit, &line));
        QVERIFY(std::fabs(d->R_X(unit * line.length) - 0.001) < 1e-12);
        user.onNumber = nullptr;
        const double kept = line.length;
        QVERIFY(!Ask_Line_Length(d.get(), unit, &line));
        QCOMPARE(line.length, kept);
    }

    void diameterDialog_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<double>("answer");
        QTest::addColumn<double>("metres");   // -1: nothing
        QTest::addColumn<int>("warnings");
        QTest::newRow("1.5 mm") << false << 1.5 << 0.0015 << 0;
        QTest::newRow("cancel") << true << 0.0 << -1.0 << 0;
        QTest::newRow("zero refused") << false << 0.0 << -1.0 << 1;
    }
    void diameterDialog()
    {
        QFETCH(bool, cancel);
        QFETCH(double, answer);
        QFETCH(double, metres);
        QFETCH(int, warnings);
        ScriptedUser user;
        if (!cancel)
            user.onNumber = [answer](const QString&, const QString&, double) { return std::optional<double>(answer); };
        const std::optional<double> d = Ask_Diameter(QStringLiteral("set diameter"), 0);
        QCOMPARE(d.has_value(), metres >= 0);
        if (d)
            QCOMPARE(*d, metres);
        QCOMPARE(user.count("warning"), warnings);
        QCOMPARE(user.all("number"), QStringLiteral("set diameter diameter [mm]:"));
    }

    // Connected to the nearest ancestor with the slot, once however often asked.
    void ancestorConnection()
    {
        Manager manager;
        auto* tabs = new QWidget(&manager);
        auto* stack = new QWidget(tabs);
        auto* page = new QWidget(stack);
        auto* editor = new Emitter(page);
        for (int i = 0; i < 3; ++i)
            Connect_To_Ancestor(editor, SIGNAL(to_refresh_ropes()), SLOT(Refresh_Ropes()));
        editor->fire();
        QCOMPARE(manager.ropes, 1);
        Emitter alone;
        Connect_To_Ancestor(&alone, SIGNAL(to_refresh_ropes()), SLOT(Refresh_Ropes()));
        alone.fire();
        QCOMPARE(manager.ropes, 1);
    }
};

QTEST_MAIN(TestTreeView)
#include "tst_treeview.moc"
