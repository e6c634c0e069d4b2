// The textured preview under a display: the first half of the default
// design's canopy in the texture's colour, the mirrored half plain, the
// lines; the camera; no image without a project.

#include <QTest>

#include "tests/common/statewait.h"
#include <QColor>
#include <QFile>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>

#include "core/parastruct.h"
#include "graphics/ui/nurbswidget.h"
#include "tools/template/defaultdesign.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

bool isRed(const QColor& p)
{
    return p.red() > 60 && p.green() < p.red() / 4 && p.blue() < p.red() / 4;
}

bool isBackground(const QColor& p, const QColor& background)
{
    return std::abs(p.red() - background.red()) + std::abs(p.green() - background.green())
               + std::abs(p.blue() - background.blue())
        <= 6;
}

} // namespace

class TestNurbsWidget : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    ParaStruct* design = nullptr;

    // One red piece over the whole UV space of the half wing.
    void publishRedCanopy()
    {
        GlobClass* glob = GetGlobClass();
        const int u = 256 * design->lastRib;
        glob->uvPieces = {QPolygon({QPoint(0, 0), QPoint(u, 0), QPoint(u, 998), QPoint(0, 998)})};
        glob->pieceColours = {QColor(255, 0, 0, 200)};
        glob->uvWidth = u;
        glob->uvHeight = 998;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        design = GetDataStruct();
        *design = *Build_Default_Design(34);
    }

    // The image is made only into a project's output directory.
    void imageOnlyWithProject()
    {
        GetGlobClass()->dxfDir.clear();
        publishRedCanopy();
        NurbsWidget noProject;
        QCOMPARE(noProject.imageBuilds(), 0);
        GetGlobClass()->dxfDir = dir.path();
        NurbsWidget withProject;
        QCOMPARE(withProject.imageBuilds(), 1);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("texture_image.png"))));
    }

    void texturedFirstHalfPlainMirror()
    {
        GetGlobClass()->dxfDir = dir.path();
        publishRedCanopy();
        // Without the brakes, the only red lines.
        const int brakes = design->bridle.groups[5].lineCount;
        design->bridle.groups[5].lineCount = 0;
        NurbsWidget view;
        view.resize(800, 600);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY_WITH_TIMEOUT(view.textureReady(), kStateWaitMs);
        QCOMPARE(view.surface().spanCount, 136);
        QVERIFY(!view.bridleLines().isEmpty());
        QVERIFY(!view.riserLines().isEmpty());
        design->bridle.groups[5].lineCount = brakes;
        const QImage image = view.grabFramebuffer();
        QVERIFY(view.textureReady());
        const QString shots = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            image.save(shots + QStringLiteral("/nurbs-red.png"));
        // The face view is symmetric: every red pixel of the textured half
        // has its mirror image across the middle column in the plain half,
        // where the surface is drawn without the texture.
        const int w = image.width();
        const QColor background = QColor(Qt::lightGray);
        int redLeft = 0, redRight = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < w; ++x)
                if (isRed(image.pixelColor(x, y)))
                    ++(x < w / 2 ? redLeft : redRight);
        const bool rightTextured = redRight > redLeft;
        int red = 0, mirroredPlain = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = rightTextured ? w / 2 : 0; x < (rightTextured ? w : w / 2); ++x) {
                if (!isRed(image.pixelColor(x, y)))
                    continue;
                ++red;
                // Within two pixels: the halves are rasterised apart.
                bool plain = false;
                for (int dx = -2; dx <= 2 && !plain; ++dx) {
                    const int mx = std::clamp(w - 1 - x + dx, 0, w - 1);
                    const QColor m = image.pixelColor(mx, y);
                    plain = !isRed(m) && !isBackground(m, background);
                }
                mirroredPlain += plain;
            }
        QVERIFY2(red > 10000, qPrintable(QStringLiteral("%1 red").arg(red)));
        QVERIFY2(mirroredPlain > 0.9 * red, qPrintable(QStringLiteral("%1 of %2").arg(mirroredPlain).arg(red)));
    }

    void cameraWrapsAndRestores()
    {
        NurbsWidget view;
        QCOMPARE(view.xRotation(), 4320);   // -1440 stored as 4320
        QCOMPARE(view.zRotation(), 1440);
        QCOMPARE(view.yRotation(), 2880);
        view.setXRotation(5761);
        QCOMPARE(view.xRotation(), 1);
        view.setXRotation(5760);
        QCOMPARE(view.xRotation(), 5760);
        QSignalSpy scaled(&view, &NurbsWidget::ScaleChanged);
        view.setScale(0.9);
        QCOMPARE(scaled.size(), 1);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTest::mouseClick(&view, Qt::LeftButton);
        QCOMPARE(view.scale(), 0.45f);
        QCOMPARE(view.yTranslation(), 0.5);
        QCOMPARE(view.xTranslation(), 0.0);
        QTest::keyClick(&view, Qt::Key_S);
        QCOMPARE(view.zRotation(), 2880);
        QSignalSpy moved(&view, &NurbsWidget::yTranslationChanged);
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(view.xTranslation(), 0.1 * 400 / 300);
        QCOMPARE(moved.size(), 1);
    }
};

QTEST_MAIN(TestNurbsWidget)
#include "tst_nurbswidget_gui.moc"
