// The riser editor worked as a user works it: the reset of a three-group
// riser (frame and virtual lines where the layout puts them), joining the
// virtual lines to one root that carries half the flying weight, the menu's
// entries, the length dialog, a cancelled reset, a stored riser that cannot
// be right (reported once, kept on Cancel), and Cancel of the bridle
// manager's edit session.

#include <QTest>
#include <QBuffer>
#include <QCoreApplication>
#include <QLatin1String>
#include <QRectF>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QToolTip>
#include <QWidget>

#include <cmath>
#include <memory>

#include "core/chartlabels.h"
#include "core/transf.h"
#include "lines/linetree.h"
#include "lines/ui/raiserwidget.h"
#include "widgets/editsession.h"
#include "tests/lines/editorfixture.h"

using namespace linesfixture;
using namespace editorfixture;

namespace {

enum Entry { AddLine = 0, RemoveUp = 1, RemoveDown = 2, SetLength = 3 };

struct Editor {
    std::unique_ptr<RaiserWidget> w = std::make_unique<RaiserWidget>();
    ParaStruct* live;

    explicit Editor(const ParaStruct& design) : live(makeLive(design))
    {
        w->resize(1024, 768);
        w->show();
    }
    const BridleGroup& tree() const { return w->workingTree(); }
    QPoint node(int i) const { return tree().points.at(i); }
    void addLine(QPoint from, QPoint to)
    {
        QVERIFY(menuAt(*w, from, AddLine).opened);
        QVERIFY(w->joinPending());
        press(w.get(), w->widgetPoint(to));
        release(w.get(), w->widgetPoint(to));
    }
    MenuSeen menu(QPoint scene, int choose = -1) { return menuAt(*w, scene, choose); }
};

// Messages of the debug output while it lives.
struct DebugSpy {
    static QStringList& texts()
    {
        static QStringList t;
        return t;
    }
    QtMessageHandler previous;
    DebugSpy()
    {
        texts().clear();
        previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtDebugMsg)
                texts() << text;
        });
    }
    ~DebugSpy() { qInstallMessageHandler(previous); }
    int count(const QString& part) const
    {
        int n = 0;
        for (const QString& t : texts())
            n += t.contains(part);
        return n;
    }
};

// The shipped design with a riser of three groups, reset (OK).
std::unique_ptr<Editor> resetThree(const ParaStruct& design, ScriptedUser& user)
{
    auto e = std::make_unique<Editor>(design);
    e->live->lineGroupCount = 3;
    user.answerQuestions(true);
    e->w->Reset_Raiser();
    user.onQuestion = nullptr;
    return e;
}

} // namespace

class TestRaiserWidget : public QObject
{
    Q_OBJECT

private slots:
    // The shipped riser: four lines leave the split side by side. Every
    // line's length label is drawn, none on another, each within a few
    // label heights of its line's middle, all inside the view.
    void lengthLabelsStandApart()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        Editor e(*d);
        QCoreApplication::processEvents();
        const BridleGroup& t = e.tree();
        int lines = 0;
        for (const QPoint& pair : t.pairs)
            lines += pair.y() >= e.w->frameNodeCount();
        QVERIFY(lines >= 5);
        const QList<RaiserWidget::LengthLabel> labels = e.w->lengthLabels();
        QCOMPARE(labels.size(), lines);
        QList<QRectF> boxes;
        for (const RaiserWidget::LengthLabel& l : labels) {
            boxes << l.box;
            QVERIFY(QRectF(e.w->rect()).contains(l.box));
            QVERIFY(l.text.endsWith(QLatin1String("[m]")));
            const QPointF gap = l.box.center() - l.line;
            QVERIFY2(std::abs(gap.y()) <= 5 * l.box.height() && std::abs(gap.x()) <= 2 * l.box.width(),
                     qPrintable(l.text));
        }
        QVERIFY(!Labels_Overlap(boxes));
    }

    // Three groups: frame points at x 307, 512, 716 on y 153, each hanging
    // by a virtual line (0.05 long, 0.02 thick) on a node 30 lower.
    void resetThreeGroups()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        ScriptedUser user;
        auto e = resetThree(*d, user);
        QCOMPARE(user.all("question"), QStringLiteral("Reinitialize raisers shape OK ?"));
        const int xs[3] = {307, 512, 716};
        const BridleGroup& t = e->tree();
        QCOMPARE(t.points.size(), 6);
        QCOMPARE(t.ids, QList<int>({0, 1, 2, 3, 4, 5}));
        QCOMPARE(t.lines.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(e->w->riserFrame()[i].pos, QPoint(xs[i], 153));
            QCOMPARE(e->w->riserFrame()[i].pos3D, e->live->riserTops[i]);
            QCOMPARE(t.points[i], QPoint(xs[i], 153));
            QCOMPARE(t.points[3 + i], QPoint(xs[i], 183));
            QCOMPARE(t.pairs[i], QPoint(3 + i, i));
            QCOMPARE(t.lines[i].length, 0.05);
            QCOMPARE(t.lines[i].diameter, 0.02);
            QCOMPARE(t.lines[i].q2, e->live->riserTops[i]);
        }
        QCOMPARE(e->w->frameNodeCount(), 3);
        QCOMPARE(e->w->frameRect(), QRect(QPoint(297, 143), QPoint(726, 163)));
        // Stored with the riser frame.
        QCOMPARE(e->live->bridle.riserGroup.lineCount, 3);
        QCOMPARE(e->live->bridle.riserGroup.pointCount, 6);
        QCOMPARE(e->live->bridle.riserFrames[2].pos, QPoint(716, 153));
        QCOMPARE(e->w->headerText(), QStringLiteral("scale: 1.000  .RAISER MODEL. edit mode ON \n "));
    }

    // The virtual lines joined through one free node: that node is the
    // root, and its first line carries half the flying weight.
    void joinAndRecalculate()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        ScriptedUser user;
        auto e = resetThree(*d, user);
        e->addLine(e->node(3), QPoint(512, 450));
        const int root = 6;
        e->addLine(e->node(4), e->node(root));
        e->addLine(e->node(5), e->node(root));
        const BridleGroup& t = e->tree();
        QCOMPARE(t.pairs.mid(3), QPolygon({QPoint(root, 3), QPoint(root, 4), QPoint(root, 5)}));
        QCOMPARE(e->w->rootNode(), root);
        QCOMPARE(t.lines[3].length, 0.05);
        QCOMPARE(t.lines[3].diameter, 0.02);
        QCOMPARE(t.lines[3].load, 0.5 * e->live->totalWeight);
        QCOMPARE(t.lines[3].q1, Carabiner_Point(e->live));
        // Stored: the groups hang on the lower ends of their virtual lines.
        const BridleGroup& stored = e->live->bridle.riserGroup;
        QCOMPARE(stored.lineCount, 6);
        QCOMPARE(stored.lineArray[3].load, 0.5 * e->live->totalWeight);
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(RaiserGrupLineRoot(k, stored), t.lines[k - 1].q1);
        // A press on the start node itself makes no line.
        e->addLine(e->node(3), e->node(3));
        QCOMPARE(e->tree().lines.size(), 6);
    }

    void contextMenu_data()
    {
        QTest::addColumn<int>("where");   // 0 riser frame node, 1 virtual node, 2 virtual line, 3 line handle, 4 empty
        QTest::addColumn<QList<bool>>("enabled");
        QTest::newRow("riser frame node") << 0 << QList<bool>{false, false, false, false};
        QTest::newRow("free node") << 1 << QList<bool>{true, true, true, false};
        QTest::newRow("virtual line") << 2 << QList<bool>{false, false, false, false};
        QTest::newRow("line handle") << 3 << QList<bool>{false, false, false, true};
        QTest::newRow("nothing") << 4 << QList<bool>{false, false, false, false};
    }
    void contextMenu()
    {
        QFETCH(int, where);
        QFETCH(QList<bool>, enabled);
        auto d = defaultDesign(34);
        QVERIFY(d);
        ScriptedUser user;
        auto e = resetThree(*d, user);
        e->addLine(e->node(3), QPoint(512, 450));
        const QPoint handle((e->node(3) + e->node(6)) / 2);
        const QPoint points[] = {e->node(0), e->node(4), QPoint(512, 168), handle, QPoint(100, 700)};
        const MenuSeen seen = e->menu(points[where]);
        QCOMPARE(seen.texts, QStringList({" 0-Add new line ? ", " 1-Remove upgoing lines bucket ? ",
                                          " 2-Remove  downgoing line ? ", " 3-set segment length"}));
        QCOMPARE(seen.enabled, enabled);
    }

    // Length through the handle's menu; Cancel changes nothing; the removals.
    void editLines()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        ScriptedUser user;
        auto e = resetThree(*d, user);
        e->addLine(e->node(3), QPoint(512, 450));
        e->addLine(e->node(4), e->node(6));
        e->addLine(e->node(5), e->node(6));
        e->addLine(e->node(6), QPoint(512, 600));
        QCOMPARE(e->w->rootNode(), 7);
        const QByteArray before = projectBytes(*e->live);
        auto handle = [&e](int line) {
            const QPoint pair = e->tree().pairs[line];
            return (e->node(pair.x()) + e->node(pair.y())) / 2;
        };
        e->menu(handle(3), SetLength);
        QCOMPARE(user.all("number"), QStringLiteral("change lenght length [m]:"));
        QCOMPARE(projectBytes(*e->live), before);
        user.onNumber = [](const QString&, const QString&, double) { return std::optional<double>(0.7); };
        e->menu(handle(3), SetLength);
        const double unit = e->live->ToScreen(e->live->hangHeight);
        QVERIFY(std::fabs(e->live->R_X(unit * e->live->bridle.riserGroup.lineArray[3].length) - 0.7) < 1e-12);
        QVERIFY(std::fabs(e->live->R_X(Dist3(e->tree().lines[3].q1, e->tree().lines[3].q2)) - 0.7) < 1e-3);

        user.answerQuestions(true);
        const qsizetype nodes = e->tree().points.size();
        // The lines to 3, 4 and 5, and 6's own line, which then holds nothing.
        e->menu(e->node(6), RemoveUp);
        QCOMPARE(e->tree().pairs, QPolygon({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2)}));
        e->menu(e->node(6), RemoveDown);
        QCOMPARE(e->tree().pairs, QPolygon({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2)}));
        QCOMPARE(e->tree().points.size(), nodes);
        QCOMPARE(e->live->bridle.riserGroup.pairCount, 3);
    }

    // A removed line takes everything that hangs from it down to the riser
    // frame's virtual lines, which stay as after a reset: hanging from
    // nothing and without load. On a tree of three levels (node 6 joins the
    // first two groups, 7 joins 6 and the third, 8 is the carabiner),
    // "downgoing" on 6 removes its line to 7 and the two above it;
    // "upgoing" removes the two above it and with them 6's line to 7, which
    // would hold nothing. Either way the carabiner stays the root, every
    // other line hangs from it, and the first two groups, no longer joined,
    // take no load from a tree that is gone. On node 3, which hangs the
    // first group's virtual line, "downgoing" takes its line to 6 (6 still
    // holds the second group) and "upgoing" nothing.
    void removingTakesTheBranch_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("node");
        QTest::addColumn<QPolygon>("pairs");
        QTest::addColumn<QList<int>>("unloaded");   // groups without load
        const QPolygon gone6({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2), QPoint(7, 5), QPoint(8, 7)});
        QTest::newRow("downgoing on 6") << int(RemoveDown) << 6 << gone6 << QList<int>{1, 2};
        QTest::newRow("upgoing on 6") << int(RemoveUp) << 6 << gone6 << QList<int>{1, 2};
        QTest::newRow("downgoing on 3")
            << int(RemoveDown) << 3
            << QPolygon({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2), QPoint(6, 4), QPoint(7, 6), QPoint(7, 5),
                         QPoint(8, 7)})
            << QList<int>{1};
        QTest::newRow("upgoing on 3")
            << int(RemoveUp) << 3
            << QPolygon({QPoint(3, 0), QPoint(4, 1), QPoint(5, 2), QPoint(6, 3), QPoint(6, 4), QPoint(7, 6),
                         QPoint(7, 5), QPoint(8, 7)})
            << QList<int>{};
    }
    void removingTakesTheBranch()
    {
        QFETCH(int, entry);
        QFETCH(int, node);
        QFETCH(QPolygon, pairs);
        QFETCH(QList<int>, unloaded);
        auto d = defaultDesign(34);
        QVERIFY(d);
        ScriptedUser user;
        auto e = resetThree(*d, user);
        e->addLine(e->node(3), QPoint(400, 450));
        e->addLine(e->node(4), e->node(6));
        e->addLine(e->node(6), QPoint(512, 600));
        e->addLine(e->node(5), e->node(7));
        e->addLine(e->node(7), QPoint(512, 700));
        QCOMPARE(e->tree().pairs.size(), 8);
        QCOMPARE(e->w->rootNode(), 8);
        const double half = 0.5 * e->live->totalWeight;
        for (int k = 1; k <= 3; ++k)
            QVERIFY(RaiserGrupLineLoad(k, e->live->bridle.riserGroup) > 0);

        user.answerQuestions(true);
        e->menu(e->node(node), entry);
        const BridleGroup& t = e->tree();
        QCOMPARE(t.pairs, pairs);
        QCOMPARE(e->w->rootNode(), 8);
        // Every line but the virtual ones hangs from the carabiner.
        QList<int> reached, open{8};
        while (!open.isEmpty()) {
            const int at = open.takeLast();
            for (int i = 0; i < t.pairs.size(); ++i)
                if (t.pairs[i].x() == at && !reached.contains(i)) {
                    reached << i;
                    open << t.pairs[i].y();
                }
        }
        for (int i = 0; i < t.pairs.size(); ++i)
            QVERIFY2(reached.contains(i) || t.pairs[i].y() < 3, qPrintable(QString::number(i)));

        // The design holds that tree: the carabiner's line with half the
        // flying weight, the groups still joined loaded through it, the
        // others not.
        const BridleGroup& stored = e->live->bridle.riserGroup;
        QCOMPARE(stored.lineCount, int(t.lines.size()));
        QCOMPARE(stored.lineArray[t.pairs.indexOf(QPoint(8, 7))].load, half);
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(RaiserGrupLineLoad(k, stored) > 0, !unloaded.contains(k));
        auto read = std::make_unique<ParaStruct>();
        QBuffer file;
        file.setData(projectBytes(*e->live));
        file.open(QIODevice::ReadOnly);
        QVERIFY(Read_Project(&file, read.get()));
        QCOMPARE(read->bridle.riserGroup.lineCount, int(t.lines.size()));
        QCOMPARE(read->bridle.riserGroup.pairArray[t.lines.size() - 1], QPoint(8, 7));
    }

    // A cancelled reset leaves the tree as loaded.
    void cancelledReset()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        Editor e(*d);
        const QByteArray before = projectBytes(*e.live);
        const BridleGroup loaded = e.tree();
        ScriptedUser user;
        e.live->lineGroupCount = 3;
        e.w->Reset_Raiser();
        QCOMPARE(user.count("question"), 1);
        QCOMPARE(e.tree().pairs, loaded.pairs);
        QCOMPARE(e.tree().points, loaded.points);
        e.live->lineGroupCount = d->lineGroupCount;
        QCOMPARE(projectBytes(*e.live), before);
    }

    // Dragging a free node moves it while the button is held; the release
    // places the tree again. Hover tips over the riser frame points.
    void dragAndTips()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        Editor e(*d);
        const int free = e.w->frameNodeCount();   // the first virtual node
        const QPoint placed = e.node(free);
        press(e.w.get(), e.w->widgetPoint(placed));
        moveTo(e.w.get(), e.w->widgetPoint(placed + QPoint(40, 30)), Qt::LeftButton);
        QCOMPARE(e.node(free), placed + QPoint(40, 30));
        release(e.w.get(), e.w->widgetPoint(placed + QPoint(40, 30)));
        QCOMPARE(e.node(free), placed);
        moveTo(e.w.get(), e.w->widgetPoint(e.w->riserFrame()[1].pos + QPoint(3, 2)));
        QCOMPARE(QToolTip::text(), QStringLiteral(" line: B "));
    }

    // A stored riser whose lists disagree: reported once, asked once; Cancel
    // keeps it in the design and nothing stores over it; an explicit reset
    // asks again and OK replaces it.
    void inconsistentRiser()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        d->bridle.riserGroup.pointCount -= 1;
        DebugSpy debug;
        ScriptedUser user;
        Editor e(*d);
        const QByteArray before = projectBytes(*e.live);
        QCOMPARE(user.count("question"), 1);
        QCOMPARE(user.asked[0].title, QStringLiteral("Reinitialize raisers shape"));
        QCOMPARE(debug.count("not consistent QList data"), 1);
        QCOMPARE(debug.count("PointList.size()"), 2);   // with "id_PointList.size()"
        QVERIFY(e.tree().points.isEmpty());
        e.w->Select_Raiser();
        e.w->activate_riser_widget();
        e.w->Save_raiser_data();
        QCOMPARE(user.count("question"), 1);
        QCOMPARE(debug.count("not consistent QList data"), 1);
        QCOMPARE(projectBytes(*e.live), before);

        user.answerQuestions(true);
        e.w->Reset_Raiser();
        QCOMPARE(user.count("question"), 2);
        QCOMPARE(e.tree().lines.size(), e.live->lineGroupCount);
        QCOMPARE(e.live->bridle.riserGroup.pointCount, 2 * e.live->lineGroupCount);
        QCOMPARE(e.live->bridle.riserGroup.idCount, 2 * e.live->lineGroupCount);
    }

    // A store before anything was loaded leaves the design's tree alone.
    void storedBeforeLoaded()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        ParaStruct* live = makeLive(*d);
        const QByteArray before = projectBytes(*live);
        RaiserWidget r;
        r.Recalculate_Raiser();
        r.Save_raiser_data();
        QCOMPARE(projectBytes(*live), before);
    }

    // The bridle manager's Cancel after edits: the design as it was.
    void cancelRestoresTheDesign()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        ParaStruct* live = makeLive(*d);
        const QByteArray before = projectBytes(*live);
        QWidget host;
        EditSession session(&host, live);
        session.begin();
        ScriptedUser user;
        auto e = resetThree(*d, user);
        e->addLine(e->node(3), QPoint(512, 450));
        e->addLine(e->node(4), e->node(6));
        wheel(e->w.get(), 480);
        QVERIFY(projectBytes(*live) != before);
        session.revert();
        session.end();
        QCOMPARE(projectBytes(*live), before);
    }

    // The drawing: the header, the riser frame band with its blue points,
    // the virtual lines, the root mark.
    void drawing()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        ScriptedUser user;
        auto e = resetThree(*d, user);
        e->addLine(e->node(3), QPoint(512, 450));
        e->addLine(e->node(4), e->node(6));
        e->addLine(e->node(5), e->node(6));
        const QImage image = e->w->grab().toImage();
        QCOMPARE(image.pixelColor(5, 700), QColor(Qt::black));
        QCOMPARE(image.pixelColor(e->w->riserFrame()[1].pos + QPoint(30, -7)), QColor(Qt::blue));   // the frame band
        QCOMPARE(image.pixelColor(e->node(6) + QPoint(7, 0)), QColor(Qt::blue));   // the root mark
        // The virtual line between frame point and node is drawn.
        int light = 0;
        for (int y = 160; y < 178; ++y)
            light += image.pixelColor(512, y).lightness() > 100;
        QVERIFY(light > 0);
    }
};

QTEST_MAIN(TestRaiserWidget)
#include "tst_raiserwidget.moc"
