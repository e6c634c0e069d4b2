// The 3-D view on a complete wing, drawn by Mesa under Xvfb: what reaches the
// frame buffer in the solid, wireframe, inflated and ghost views, and how the
// camera answers the mouse, the wheel and the keys.

#include <QTest>

#include "tests/common/statewait.h"
#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QList>
#include <QMatrix4x4>
#include <QRectF>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector3D>
#include <QWheelEvent>

#include <QCheckBox>
#include <QImage>
#include <QSignalSpy>

#include "core/calcul3d.h"
#include "widgets/colorclass.h"
#include "shell/glwidget.h"
#include "core/openfile.h"
#include "core/parastruct.h"

#include <algorithm>
#include <memory>

namespace {

const QColor kCanopy(230, 120, 30);
const QColor kBackground(20, 30, 60);

bool near(QRgb a, QColor b, int tolerance = 3)
{
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance
           && std::abs(qBlue(a) - b.blue()) <= tolerance;
}

// Lit canopy: the canopy's hue in any brightness.
bool canopyPixel(QRgb p)
{
    const QColor c(p);
    return c.value() > 30 && std::abs(c.hue() - kCanopy.hue()) <= 8 && c.saturation() > 150;
}

struct Counts {
    double canopy = 0;      // share of the image
    double background = 0;
    double wire = 0;        // pure blue
    double cyan = 0;        // rib patches
};

Counts count(const QImage& image)
{
    Counts c;
    const double n = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (canopyPixel(p))
                c.canopy += 1 / n;
            else if (near(p, kBackground))
                c.background += 1 / n;
            else if (qBlue(p) > 150 && qRed(p) < 40 && qGreen(p) < 40)
                c.wire += 1 / n;
            else if (qRed(p) < qGreen(p) / 2 && qGreen(p) > 100 && qBlue(p) > 100)
                c.cyan += 1 / n;
        }
    }
    return c;
}

} // namespace

class TestGlView : public QObject
{
    Q_OBJECT

    QTemporaryDir appDir;
    std::unique_ptr<glWidget> view;

    QImage frame()
    {
        return view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }

    void save(const QString& name)
    {
        // Looked at by hand when the drawing changes.
        if (qEnvironmentVariableIsSet("WL_GLVIEW_SHOTS"))
            frame().save(qEnvironmentVariable("WL_GLVIEW_SHOTS") + "/" + name + ".png");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(appDir.isValid());
        GetGlobClass()->appDir = appDir.path();
        GetColorClass()->canopyColor = kCanopy;
        GetColorClass()->backgroundColor = kBackground;
        WriteColorsStream();
        GetColorClass()->canopyColor = QColor();
        GetColorClass()->backgroundColor = QColor();

        // The default design the build puts beside the programs.
        QVERIFY(myOpenFile().ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + "/template.ini",
                                            GetDataStruct()));
        Refresh_Calculations(GetDataStruct());

        view = std::make_unique<glWidget>();
        view->resize(640, 500);
        view->show();
        WAIT_FOR_EXPOSED(view.get());
    }

    void cleanupTestCase()
    {
        view.reset();
    }

    // A view opens with the whole scene in it, at the form's size and
    // maximized: the canopy, every line and the risers down to their ends
    // (both halves), each end projected as GL does (Qt's matrices), inside
    // the view, the scene spanning most of it. A resize follows until the
    // user moves the view.
    // At start-up the main window shows the view before the design is
    // made: the first lists built after that are its first drawing, and the
    // fit owed since the show is made then.
    void opensFitted_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("designAfterShow");
        QTest::newRow("the form's size") << QSize(640, 500) << false;
        QTest::newRow("maximized") << QSize(1580, 900) << false;
        QTest::newRow("maximized, the design made after the show") << QSize(1580, 900) << true;
    }
    void opensFitted()
    {
        QFETCH(QSize, size);
        QFETCH(bool, designAfterShow);
        ParaStruct* d = GetDataStruct();
        QList<QVector3D> ends;
        const float ms = float(glview::kModelScale);
        for (const BridleGroup* g : {&d->bridle.groups[1], &d->bridle.groups[2], &d->bridle.groups[3],
                                     &d->bridle.groups[4], &d->bridle.groups[5], &d->bridle.riserGroup})
            for (int i = 0; i < g->lineCount; ++i)
                ends << g->lineArray[i].q1 * ms << g->lineArray[i].q2 * ms;
        QVERIFY(d->bridle.riserGroup.lineCount > 0);
        for (int r = 0; r <= d->lastRib; ++r)
            for (int k : {0, 250, 500, 750, 999})
                ends << d->flatGrid[0][r][k] * ms;
        const auto made = std::make_unique<ParaStruct>(*d);
        if (designAfterShow)
            *d = ParaStruct();
        glWidget fresh;
        fresh.resize(size);
        fresh.show();
        WAIT_FOR_EXPOSED(&fresh);
        WAIT_FOR_EQUAL(fresh.size(), size);
        if (designAfterShow) {
            const int built = fresh.rebuildCount();
            *d = *made;
            d->geometryChanged = true;
            fresh.update();
            WAIT_FOR_EQUAL(fresh.rebuildCount() > built, true);
        }
        auto check = [&fresh, &ends]() {
            const ViewCamera& c = fresh.camera();
            QMatrix4x4 m;
            m.ortho(-0.5f, 0.5f, -0.5f, 0.5f, float(c.nearPlane), float(c.farPlane));
            m.scale(float(c.scale));
            m.translate(float(c.xPan), float(c.yPan), float(kCameraDepth));
            m.rotate(c.xRot / 16.0f, 1, 0, 0);
            m.rotate(c.yRot / 16.0f, 0, 1, 0);
            m.rotate(c.zRot / 16.0f, 0, 0, 1);
            const double ratio = fresh.devicePixelRatioF();
            const int w = int(fresh.width() * ratio), h = int(fresh.height() * ratio);
            const int side = 3 * std::min(w, h);
            const double vx = (w - side) / 2, vy = int((h - side) * c.lift);
            QRectF shown;
            for (const QVector3D& p : ends)
                for (float mirror : {1.0f, -1.0f}) {
                    const QVector3D ndc = m.map(QVector3D(p.x(), mirror * p.y(), p.z()));
                    const QPointF at(vx + side * (ndc.x() + 1) / 2, vy + side * (ndc.y() + 1) / 2);
                    if (!QRectF(5, 5, w - 10, h - 10).contains(at))
                        return QStringLiteral("a point at %1, %2 of %3 x %4").arg(at.x()).arg(at.y()).arg(w).arg(h);
                    shown |= QRectF(at, QSizeF(0.01, 0.01));
                }
            if (shown.width() < 0.7 * w && shown.height() < 0.7 * h)
                return QStringLiteral("the scene spans %1 x %2 of %3 x %4").arg(shown.width()).arg(shown.height()).arg(w).arg(h);
            return QString();
        };
        QString problem = check();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        fresh.resize(size - QSize(100, 60));
        WAIT_FOR_EQUAL(fresh.size(), size - QSize(100, 60));
        problem = check();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void init()
    {
        view->viewState() = GlViewState();
        for (const char* text : {"Top surf.", "Bott.surf.", "Ribs "})
            view->panelBox(text)->setChecked(true);
        view->ReInit_GL();
    }

    void panel()
    {
        const QStringList texts = {"L1  ", "L2  ", "L3  ", "L4  ", "Br  ", "Diags", "Strap",
                                   "Front", "Rear ", "Risers", "Top surf.", "Bott.surf.", "Ribs "};
        const QList<QCheckBox*> boxes = view->findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 13);
        for (const QString& t : texts) {
            QVERIFY2(view->panelBox(t), qPrintable(t));
            QVERIFY(view->panelBox(t)->isChecked());
        }
        QVERIFY(!view->inflateIcon()->pixmap().isNull());
        QVERIFY(!view->ghostIcon()->pixmap().isNull());
        QVERIFY(!view->colorIcon()->pixmap().isNull());
        QCOMPARE(view->colorIcon()->maximumSize(), QSize(25, 25));
    }

    // The colours of "colors.ini", the canopy filling a good part of the
    // default view, and both halves drawn.
    void solidView()
    {
        QCOMPARE(view->canopy(), kCanopy);
        QCOMPARE(view->background(), kBackground);
        QVERIFY(!view->flatQuads().isEmpty());
        const QImage image = frame();
        for (const QPoint corner : {QPoint(0, image.height() - 1), QPoint(image.width() - 1, image.height() - 1)})
            QVERIFY(near(image.pixel(corner), kBackground, 1));
        const Counts c = count(image);
        QVERIFY2(c.canopy > 0.02 && c.canopy < 0.8, qPrintable(QString::number(c.canopy)));
        // The mirror image: canopy on both sides of the middle.
        const QImage left = image.copy(0, 0, image.width() / 2, image.height());
        const QImage right = image.copy(image.width() / 2, 0, image.width() / 2, image.height());
        QVERIFY(count(left).canopy > 0.4 * c.canopy);
        QVERIFY(count(right).canopy > 0.4 * c.canopy);
        save("solid_default");
    }

    void surfacesOff()
    {
        const double before = count(frame()).canopy;
        view->panelBox("Top surf.")->click();
        const double upperOff = count(frame()).canopy;
        view->panelBox("Bott.surf.")->click();
        const Counts none = count(frame());
        QVERIFY(upperOff < before);
        QVERIFY(view->flatQuads().isEmpty());
        QCOMPARE(none.canopy, 0.0);
        QVERIFY(none.background > 0.95);
    }

    // W: wireframe on (blue lines, no cloth), always back to the face view;
    // W again: cloth again.
    void wireframe()
    {
        view->setFocus();
        QTest::keyClick(view.get(), Qt::Key_S);
        QCOMPARE(view->zRotation(), 2880);
        QTest::keyClick(view.get(), Qt::Key_W);
        QCOMPARE(view->viewState().glSelection, 1);
        QCOMPARE(view->xRotation(), 4320);
        QCOMPARE(view->zRotation(), 1440);
        QCOMPARE(view->yRotation(), 2880);
        const Counts wire = count(frame());
        QCOMPARE(wire.canopy, 0.0);
        QVERIFY(wire.wire > 0.005);
        save("wireframe");
        QTest::keyClick(view.get(), Qt::Key_T);
        QCOMPARE(view->viewState().glSelection, 1); // presets leave it alone
        QTest::keyClick(view.get(), Qt::Key_W, Qt::ShiftModifier);
        QCOMPARE(view->viewState().glSelection, 0);
        QVERIFY(count(frame()).canopy > 0.02);
    }

    // A letter with Ctrl, Alt or Meta is the window's (Ctrl+S), not the
    // view's: the view stays as it is and passes the key on.
    void modifiedLettersAreNotViewKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Shift+S") << int(Qt::Key_S) << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("Alt+T") << int(Qt::Key_T) << int(Qt::AltModifier);
        QTest::newRow("Ctrl+W") << int(Qt::Key_W) << int(Qt::ControlModifier);
        QTest::newRow("Meta+B") << int(Qt::Key_B) << int(Qt::MetaModifier);
    }
    void modifiedLettersAreNotViewKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        view->setFocus();
        QTest::keyClick(view.get(), Qt::Key_F);
        const int x = view->xRotation(), y = view->yRotation(), z = view->zRotation();
        const int selection = view->viewState().glSelection;

        // Not taken: the event goes on to the window that holds the view.
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
        QCoreApplication::sendEvent(view.get(), &press);
        QVERIFY(!press.isAccepted());
        QTest::keyClick(view.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(view->xRotation(), x);
        QCOMPARE(view->yRotation(), y);
        QCOMPARE(view->zRotation(), z);
        QCOMPARE(view->viewState().glSelection, selection);
        // The bare letter still turns the view.
        QTest::keyClick(view.get(), Qt::Key_S);
        QCOMPARE(view->zRotation(), 2880);
    }

    void presets_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("z");
        QTest::addColumn<QString>("name");
        QTest::newRow("F") << int(Qt::Key_F) << 4320 << 1440 << "face";
        QTest::newRow("S") << int(Qt::Key_S) << 4320 << 2880 << "side";
        QTest::newRow("B") << int(Qt::Key_B) << 2880 << 1440 << "pilot";
        QTest::newRow("T") << int(Qt::Key_T) << 0 << 1440 << "upper";
    }
    void presets()
    {
        QFETCH(int, key);
        QFETCH(int, x);
        QFETCH(int, z);
        QFETCH(QString, name);
        QTest::keyClick(view.get(), Qt::Key(key));
        QCOMPARE(view->xRotation(), x);
        QCOMPARE(view->zRotation(), z);
        QCOMPARE(view->yRotation(), 2880);
        QVERIFY(count(frame()).canopy > 0.01);
        save("preset_" + name);
    }

    void inflatedView()
    {
        QTest::keyClick(view.get(), Qt::Key_F);
        const int before = view->rebuildCount();
        QTest::mouseClick(view->inflateIcon(), Qt::LeftButton);
        QVERIFY(view->viewState().inflatedView);
        QCOMPARE(view->rebuildCount(), before + 1);
        QCOMPARE(view->inflateIcon()->maximumSize(), QSize(30, 30));
        QVERIFY(!view->inflatedQuads().isEmpty());
        QVERIFY(count(frame()).canopy > 0.02);
        save("inflated");
        QTest::mouseClick(view->inflateIcon(), Qt::LeftButton);
        QVERIFY(!view->viewState().inflatedView);
        QCOMPARE(view->inflateIcon()->maximumSize(), QSize(20, 20));
    }

    // Ghost view: no cloth whatever the inflated switch says, the rib
    // patches in cyan (seen from the side); without "Ribs " only the rib
    // curves' points.
    void ghostView()
    {
        // The zoom the shares below were taken at: the view no longer opens
        // at it, but fitted with its lines and risers.
        QMetaObject::invokeMethod(view.get(), "setScale", Q_ARG(qreal, 0.5));
        QTest::keyClick(view.get(), Qt::Key_S);
        view->viewState().inflatedView = true;
        QTest::mouseClick(view->ghostIcon(), Qt::LeftButton);
        QVERIFY(view->viewState().ghostView);
        const Counts ghost = count(frame());
        QCOMPARE(view->alpha(), 0.5);
        QCOMPARE(ghost.canopy, 0.0);
        QVERIFY2(ghost.cyan > 0.02, qPrintable(QString::number(ghost.cyan)));
        QCOMPARE(view->ribCurves().size(), GetDataStruct()->lastRib - GetDataStruct()->firstRib);
        save("ghost");
        QTest::keyClick(view.get(), Qt::Key_B);
        save("ghost_pilot");
        QTest::keyClick(view.get(), Qt::Key_S);
        view->panelBox("Ribs ")->click();
        const Counts curves = count(frame());
        QVERIFY(curves.cyan < 0.2 * ghost.cyan);
        QVERIFY(curves.background < 0.999);
        save("ghost_curves");
        QTest::mouseClick(view->ghostIcon(), Qt::LeftButton);
        QVERIFY(!view->viewState().ghostView);
        frame();
        QCOMPARE(view->alpha(), 1.0);
        QTest::keyClick(view.get(), Qt::Key_F);
    }

    void mouseAndWheel()
    {
        QSignalSpy scaleSpy(view.get(), &glWidget::ScaleChanged);
        const int before = view->rebuildCount();
        const int x = view->xRotation();
        QTest::mouseClick(view.get(), Qt::LeftButton, {}, QPoint(400, 300));
        QCOMPARE(view->rebuildCount(), before + 1);
        QCOMPARE(view->scale(), 0.45);
        QCOMPARE(view->xTranslation(), 0.0);
        QCOMPARE(view->yTranslation(), 0.5);
        QCOMPARE(view->xRotation(), x);

        // Right button turns: x from the vertical move, z from the horizontal.
        const int z = view->zRotation();
        QTest::mousePress(view.get(), Qt::RightButton, {}, QPoint(100, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(110, 120), view->mapToGlobal(QPointF(110, 120)),
                         Qt::NoButton, Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view.get(), &move);
        QTest::mouseRelease(view.get(), Qt::RightButton, {}, QPoint(110, 120));
        QCOMPARE(view->xRotation(), Normalize_Rotation(x + 60));
        QCOMPARE(view->zRotation(), Normalize_Rotation(z - 20));

        // Middle button pans by the share of the view's size.
        QTest::mousePress(view.get(), Qt::MiddleButton, {}, QPoint(100, 100));
        QMouseEvent pan(QEvent::MouseMove, QPointF(190, 170), view->mapToGlobal(QPointF(190, 170)),
                        Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view.get(), &pan);
        QTest::mouseRelease(view.get(), Qt::MiddleButton, {}, QPoint(190, 170));
        QCOMPARE(view->xTranslation(), 90.0 / view->width());
        QCOMPARE(view->yTranslation(), 0.5 - 70.0 / view->height());

        // A resize puts the pan back and keeps zoom and turn.
        view->resize(620, 500);
        WAIT_FOR_EQUAL(view->yTranslation(), 0.5);
        QCOMPARE(view->xTranslation(), 0.0);
        QCOMPARE(view->scale(), 0.45);

        scaleSpy.clear();
        QWheelEvent wheel(QPointF(200, 200), view->mapToGlobal(QPointF(200, 200)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.get(), &wheel);
        QCOMPARE(view->scale(), glview::Wheel_Zoom(0.45, -120));
        QCOMPARE(scaleSpy.size(), 1);
        view->resize(640, 500);
    }

    // A line of group 1, a brake line and a riser, each in its own colour,
    // each gone with its check box or its rule.
    void linesAndRisers()
    {
        ParaStruct* d = GetDataStruct();
        const BridleData saved = d->bridle;
        const QVector3D pilot(150, 60, 1000);
        BridleGroup& lines = d->bridle.groups[1];
        lines.lineCount = 1;
        lines.lineArray[0].q1 = pilot;
        lines.lineArray[0].q2 = d->ribCurves3D[10][700];
        BridleGroup& brakes = d->bridle.groups[5];
        brakes.lineCount = brakes.attachmentCount = 1;
        brakes.lineArray[0].q1 = pilot + QVector3D(100, 0, 0);
        brakes.lineArray[0].q2 = d->ribCurves3D[12][30];
        brakes.attachArray[0].rib = 12;
        BridleGroup& risers = d->bridle.riserGroup;
        risers.lineCount = risers.pairCount = 1;
        risers.lineArray[0].q1 = pilot;
        risers.lineArray[0].q2 = pilot + QVector3D(0, 200, -300);
        risers.pairArray[0] = QPoint(0, 5);
        d->lineGroupCount = 4;
        view->ReInit_GL();

        auto share = [this](QColor colour) {
            const QImage image = frame();
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += near(image.pixel(x, y), colour, 2);
            return n;
        };
        const QColor lineColour = QColor::fromRgbF(0.2f, 0.8f, 1.0f);
        QVERIFY(share(lineColour) > 50);
        QVERIFY(share(Qt::red) > 50);
        QVERIFY(share(Qt::magenta) > 50);
        save("lines");

        view->panelBox("L1  ")->click();
        QCOMPARE(share(lineColour), 0);
        view->panelBox("Br  ")->click();
        QCOMPARE(share(Qt::red), 0);
        risers.pairArray[0] = QPoint(0, 3); // a child below the group count: hidden
        view->ReInit_GL();
        QCOMPARE(share(Qt::magenta), 0);

        view->panelBox("L1  ")->click();
        view->panelBox("Br  ")->click();
        d->bridle = saved;
        view->ReInit_GL();
    }

    // A design beyond the tables is drawn from the lists built before.
    void designBeyondTables()
    {
        const QImage shown = frame();
        QVERIFY(count(shown).canopy > 0.01);
        const int quads = view->flatQuads().size();
        const int before = view->rebuildCount();
        ParaStruct* d = GetDataStruct();
        const int lastRib = d->lastRib;
        d->lastRib = 66;
        d->geometryChanged = true;
        view->ReInit_GL();
        QCOMPARE(view->rebuildCount(), before);
        QCOMPARE(view->flatQuads().size(), quads);
        QCOMPARE(frame(), shown);
        d->lastRib = lastRib;
    }
};

QTEST_MAIN(TestGlView)
#include "tst_glview_gui.moc"
