// The bridle manager's free windows on the shipped design, drawn for real:
// the 3-D window (OpenGL under Xvfb, read back with grabFramebuffer) shows
// the selected group's lines in the line colour over the lit canopy and
// nothing of them without a group; its keys zoom the model and choose the
// view presets. The 2-D window and the brake relaxation diagram draw their
// data, and the diagram draws nothing before a design exists.

#include <QTest>
#include <QLatin1Char>
#include <QRectF>
#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWheelEvent>

#include <functional>
#include <memory>

#include "lines/ui/brwidget.h"
#include "lines/ui/relaxbrakes.h"
#include "lines/ui/ropeswidget.h"
#include "core/chartlabels.h"
#include "tests/lines/linesfixture.h"
#include "tests/common/statewait.h"

using namespace linesfixture;

namespace {

bool near(QRgb p, const QColor& c, int tolerance)
{
    return qAbs(qRed(p) - c.red()) <= tolerance && qAbs(qGreen(p) - c.green()) <= tolerance
        && qAbs(qBlue(p) - c.blue()) <= tolerance;
}

int count(const QImage& image, const std::function<bool(QRgb)>& test)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixel(x, y));
    return n;
}

void key(QWidget* w, Qt::Key k, const QString& text)
{
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &e);
}

void wheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
}

void press(QWidget* w, Qt::MouseButton b)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(20, 20), w->mapToGlobal(QPointF(20, 20)), b, b, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
    QMouseEvent r(QEvent::MouseButtonRelease, QPointF(20, 20), w->mapToGlobal(QPointF(20, 20)), b, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &r);
}

} // namespace

class TestBridleWindows : public QObject
{
    Q_OBJECT
    ParaStruct* design = nullptr;
    std::unique_ptr<ParaStruct> shipped;

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        shipped = defaultDesign(34);
        QVERIFY(shipped);
        design = GetDataStruct();
    }

    void init() { *design = *shipped; }

    // With WL_BRIDLE_SHOTS set, what the window showed, to look at.
    static void shot(const QImage& image, const char* name)
    {
        if (qEnvironmentVariableIsSet("WL_BRIDLE_SHOTS"))
            image.save(qEnvironmentVariable("WL_BRIDLE_SHOTS") + "/" + name + ".png");
    }

    // L1 selected: pixels of the line colour over the canopy; no group: none,
    // while the canopy (neither background nor line colour) is drawn.
    void linesOverCanopy()
    {
        BrWidget view;
        view.resize(640, 480);
        view.setLineSelection(-1);
        view.show();
        WAIT_FOR_EXPOSED(&view);
        const QColor line = BrWidget::lineColor();
        const QColor ground = view.background();
        QImage empty = view.grabFramebuffer();
        QCOMPARE(count(empty, [&](QRgb p) { return near(p, line, 3); }), 0);
        const int canopy = count(empty, [&](QRgb p) { return !near(p, ground, 3); });
        QVERIFY2(canopy > 2000, qPrintable(QString::number(canopy)));
        QVERIFY(!view.canopyQuads().isEmpty());

        view.setLineSelection(2);
        view.reinitialize();
        QImage lines = view.grabFramebuffer();
        shot(lines, "lines_face");
        QCOMPARE(view.segments().size(), design->bridle.groups[1].lineCount);
        const int linePixels = count(lines, [&](QRgb p) { return near(p, line, 3); });
        QVERIFY2(linePixels > 200, qPrintable(QString::number(linePixels)));
        // Seen from below (preset B) the lines lie in front of the canopy:
        // line pixels with canopy pixels right and left of them.
        key(&view, Qt::Key_B, "b");
        lines = view.grabFramebuffer();
        shot(lines, "lines_pilot");
        int overCanopy = 0;
        for (int y = 0; y < lines.height(); ++y)
            for (int x = 2; x < lines.width() - 2; ++x)
                if (near(lines.pixel(x, y), line, 3) && !near(lines.pixel(x - 2, y), ground, 3)
                    && !near(lines.pixel(x + 2, y), ground, 3) && !near(lines.pixel(x - 2, y), line, 3))
                    ++overCanopy;
        QVERIFY2(overCanopy > 20, qPrintable(QString::number(overCanopy)));
        view.close();
    }

    // '+' steps the model by 1.27 (the first from the start twice), '-'
    // back; F, S, B, T set the presets; the wheel scales by 1.1 and 0.9.
    void keysAndWheel()
    {
        BrWidget view;
        view.resize(400, 300);
        view.show();
        WAIT_FOR_EXPOSED(&view);
        QCOMPARE(view.modelFactor(), 0.0005);
        QCOMPARE(view.xRotation(), 4320);
        QCOMPARE(view.yRotation(), 2880);
        QCOMPARE(view.zRotation(), 1440);
        key(&view, Qt::Key_Plus, "+");
        QCOMPARE(view.modelFactor(), 0.0005 * 1.27 * 1.27);
        key(&view, Qt::Key_Minus, "-");
        key(&view, Qt::Key_Minus, "-");
        QCOMPARE(view.modelFactor(), 0.0005);
        struct Preset { Qt::Key key; const char* text; int x, z; };
        const Preset presets[] = {{Qt::Key_S, "s", 4320, 2880}, {Qt::Key_B, "b", 2880, 1440},
                                  {Qt::Key_T, "t", 0, 1440}, {Qt::Key_F, "f", 4320, 1440}};
        for (const Preset& p : presets) {
            view.setYRotation(100);
            key(&view, p.key, p.text);
            QCOMPARE(view.xRotation(), p.x);
            QCOMPARE(view.zRotation(), p.z);
            QCOMPARE(view.yRotation(), 2880);
        }
        const double scale = view.scale();
        wheel(&view, 120);
        QCOMPARE(view.scale(), scale * (1.0 + double(0.1f)));
        wheel(&view, -120);
        QCOMPARE(view.scale(), scale * (1.0 + double(0.1f)) * (1.0 - double(0.1f)));
        view.setXRotation(-16);
        QCOMPARE(view.xRotation(), 5744);
        // A left click goes back to the start framing.
        press(&view, Qt::LeftButton);
        QCOMPARE(view.scale(), 0.45);
        QCOMPARE(view.yTranslation(), 0.5);
        view.close();
    }

    // The 2-D window: the selected group's lines; with no group the lines of
    // the group shown before stay. Right button: back to the start zoom with
    // the centre line at 512; the wheel zooms out no further than e = 5.
    void ropesWindow()
    {
        RopesWidget ropes;
        ropes.resize(800, 600);
        ropes.setLineSelection(3);
        ropes.refreshRopes();
        QCOMPARE(ropes.lines().size(), design->bridle.groups[2].lineCount);
        ropes.setLineSelection(-1);
        ropes.refreshRopes();
        QCOMPARE(ropes.lines().size(), design->bridle.groups[2].lineCount);
        QCOMPARE(ropes.scale(), 0.0005 * std::pow(2.0, 9.5));
        press(&ropes, Qt::RightButton);
        QCOMPARE(ropes.translation(), QPointF(512, 76.8));
        ropes.show();
        WAIT_FOR_EXPOSED(&ropes);
        const QImage image = ropes.grab().toImage();
        QVERIFY(count(image, [](QRgb p) { return qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60; }) > 100);
        QVERIFY(count(image, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }) > 20);
        // The diameters on the mirrored half: one label per line, none on
        // another, near its line, inside the window.
        const QList<RopesWidget::DiameterLabel> labels = ropes.diameterLabels();
        QCOMPARE(labels.size(), ropes.lines().size());
        QList<QRectF> boxes;
        for (const RopesWidget::DiameterLabel& l : labels) {
            boxes << l.box;
            QVERIFY(QRectF(ropes.rect()).contains(l.box));
            QVERIFY(l.text.startsWith(QLatin1Char('<')) && l.text.endsWith(QLatin1Char('>')));
            QVERIFY(l.line.x() < 512); // the mirrored half
            const QPointF gap = l.box.center() - l.line;
            QVERIFY(std::abs(gap.y()) <= 5 * l.box.height() && std::abs(gap.x()) <= 2 * l.box.width());
        }
        QVERIFY(!Labels_Overlap(boxes));
        for (int i = 0; i < 60; ++i)
            wheel(&ropes, -120);
        QCOMPARE(ropes.zoomExponent(), 5.0);
        QVERIFY(qAbs(ropes.scale() - 0.032) < 1e-12);
        ropes.close();
    }

    // The 2-D window opens with both halves of the group whole in it, at
    // its own size and maximized: every line end of either half inside the
    // window clear of its edges and of the heading, the lines spanning most
    // of it, every diameter label shown. A resize follows until the user
    // zooms; a window closed and shown again opens fitted again.
    void ropesWindowOpensFitted_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<int>("selection");
        QTest::newRow("its own size, L1") << QSize(1024, 768) << 2;
        QTest::newRow("maximized, L1") << QSize(1600, 1000) << 2;
        QTest::newRow("its own size, brakes") << QSize(1024, 768) << 7;
        QTest::newRow("maximized, brakes") << QSize(1600, 1000) << 7;
    }
    void ropesWindowOpensFitted()
    {
        QFETCH(QSize, window);
        QFETCH(int, selection);
        RopesWidget ropes;
        ropes.resize(window);
        ropes.setLineSelection(selection);
        ropes.refreshRopes();
        ropes.show();
        WAIT_FOR_EXPOSED(&ropes);
        auto wholeAndLarge = [&ropes]() {
            const QRectF inside = QRectF(ropes.rect()).adjusted(20, 40, -20, -20);
            QRectF shown;
            for (const LineProp& l : ropes.lines())
                for (const QVector3D& q : {l.q1, l.q2})
                    for (double side : {1.0, -1.0}) {
                        const QPointF p = ropes.translation() + ropes.scale() * QPointF(side * q.y(), q.z());
                        if (!inside.contains(p))
                            return QString("a line end at %1, %2").arg(p.x()).arg(p.y());
                        shown |= QRectF(p, QSizeF(0.01, 0.01));
                    }
            if (shown.width() < 0.6 * ropes.width() && shown.height() < 0.6 * ropes.height())
                return QString("the lines span %1 x %2").arg(shown.width()).arg(shown.height());
            return QString();
        };
        QString problem = wholeAndLarge();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(ropes.diameterLabels().size(), ropes.lines().size());
        // maximized after it opened
        ropes.resize(window + QSize(-200, -150));
        WAIT_FOR_EQUAL(ropes.width(), window.width() - 200);
        problem = wholeAndLarge();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        // the user's zoom stays through a resize
        wheel(&ropes, 120);
        const double zoomed = ropes.scale();
        ropes.resize(window);
        WAIT_FOR_EQUAL(ropes.width(), window.width());
        QCOMPARE(ropes.scale(), zoomed);
        // a new session fits again
        ropes.close();
        ropes.show();
        WAIT_FOR_EXPOSED(&ropes);
        problem = wholeAndLarge();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        ropes.close();
    }

    // The diagram of the shipped design: bars, the centre rib's red disc; a
    // design without span or rib positions draws nothing at all.
    void relaxDiagram()
    {
        RelaxBrakes relax;
        relax.resize(400, 240);
        design->brakeMiddleRelax = 0.7;
        design->brakeEdgeRelax = 0.2;
        relax.relaxbrakes_Update();
        QCOMPARE(relax.middleRelax(), 0.5);
        QCOMPARE(design->relaxFactors[0], 0.5);
        QImage drawn = relax.grab().toImage();
        QVERIFY(count(drawn, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }) > 50);

        *design = *std::make_unique<ParaStruct>();   // never on the stack: 1 MB
        relax.relaxbrakes_Update();
        QImage blank = relax.grab().toImage();
        const QRgb ground = blank.pixel(0, 0);
        QCOMPARE(count(blank, [&](QRgb p) { return p != ground; }), 0);
    }
};

QTEST_MAIN(TestBridleWindows)
#include "tst_bridlewindows_gui.moc"
