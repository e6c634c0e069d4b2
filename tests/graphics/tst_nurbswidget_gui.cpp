// The textured preview under a display: both halves of the default
// design's canopy in the texture's colours, the lines; the camera; no image
// without a project.

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

    // Without a texture image (no project, nothing saved) the view says how
    // to make one, in a line at its top; with the texture it says nothing.
    void withoutTextureSaysHow()
    {
        GetGlobClass()->dxfDir.clear();
        NurbsWidget view;
        view.resize(800, 600);
        view.show();
        WAIT_FOR_EXPOSED(&view);
        const QImage image = view.grabFramebuffer();
        QVERIFY(!view.textureReady());
        auto textRows = [](const QImage& shot) {
            // Rows of the top band that hold dark text on the light ground.
            int rows = 0;
            for (int y = 0; y < 60; ++y) {
                int dark = 0;
                for (int x = 0; x < shot.width(); ++x)
                    dark += shot.pixelColor(x, y).lightness() < 80;
                rows += dark > 3;
            }
            return rows;
        };
        QVERIFY2(textRows(image) >= 6, qPrintable(QString::number(textRows(image))));

        GetGlobClass()->dxfDir = dir.path();
        publishRedCanopy();
        NurbsWidget textured;
        textured.resize(800, 600);
        textured.show();
        WAIT_FOR_EXPOSED(&textured);
        WAIT_FOR_STATE(textured.textureReady());
        QCOMPARE(textRows(textured.grabFramebuffer()), 0);
    }

    // Both halves carry the texture: the face view is symmetric, and every
    // red pixel of one half has a red mirror image in the other.
    void bothHalvesTextured()
    {
        GetGlobClass()->dxfDir = dir.path();
        publishRedCanopy();
        // Without the brakes, the only red lines.
        const int brakes = design->bridle.groups[5].lineCount;
        design->bridle.groups[5].lineCount = 0;
        NurbsWidget view;
        view.resize(800, 600);
        view.show();
        WAIT_FOR_EXPOSED(&view);
        WAIT_FOR_STATE(view.textureReady());
        QCOMPARE(view.surface().spanCount, 136);
        QVERIFY(!view.bridleLines().isEmpty());
        QVERIFY(!view.riserLines().isEmpty());
        design->bridle.groups[5].lineCount = brakes;
        const QImage image = view.grabFramebuffer();
        QVERIFY(view.textureReady());
        const QString shots = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            image.save(shots + QStringLiteral("/nurbs-red.png"));
        const int w = image.width();
        int redLeft = 0, redRight = 0, mirrored = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < w; ++x) {
                if (!isRed(image.pixelColor(x, y)))
                    continue;
                ++(x < w / 2 ? redLeft : redRight);
                if (x >= w / 2)
                    continue;
                // Within two pixels: the halves are rasterised apart.
                bool red = false;
                for (int dx = -2; dx <= 2 && !red; ++dx)
                    red = isRed(image.pixelColor(std::clamp(w - 1 - x + dx, 0, w - 1), y));
                mirrored += red;
            }
        QVERIFY2(redLeft > 10000 && redRight > 10000, qPrintable(QStringLiteral("%1 %2").arg(redLeft).arg(redRight)));
        QVERIFY2(mirrored > 0.9 * redLeft, qPrintable(QStringLiteral("%1 of %2").arg(mirrored).arg(redLeft)));
        QVERIFY(std::abs(redLeft - redRight) < 0.1 * redLeft);
    }

    // Nothing coloured yet: the canopy shows light, not black, on both sides.
    void uncolouredCanopyIsLight()
    {
        GetGlobClass()->dxfDir = dir.path();
        GlobClass* glob = GetGlobClass();
        const int u = 256 * design->lastRib;
        glob->uvPieces = {QPolygon({QPoint(0, 0), QPoint(u, 0), QPoint(u, 998), QPoint(0, 998)})};
        glob->pieceColours = {QColor()};
        glob->uvWidth = u;
        glob->uvHeight = 998;
        NurbsWidget view;
        view.resize(800, 600);
        view.show();
        WAIT_FOR_EXPOSED(&view);
        WAIT_FOR_STATE(view.textureReady());
        const QImage image = view.grabFramebuffer();
        const QString shots = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            image.save(shots + QStringLiteral("/nurbs-uncoloured.png"));
        // Pixels of the canopy: neither the background nor a line colour;
        // the black ones are few on either side.
        const QColor background = QColor(Qt::lightGray);
        const int w = image.width();
        int canopy[2] = {0, 0}, black[2] = {0, 0};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < w; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (isBackground(c, background))
                    continue;
                const int side = x < w / 2 ? 0 : 1;
                const bool grey = std::abs(c.red() - c.green()) < 40 && std::abs(c.green() - c.blue()) < 60;
                if (!grey)
                    continue;
                ++canopy[side];
                black[side] += c.lightness() < 40;
            }
        for (int side : {0, 1}) {
            QVERIFY2(canopy[side] > 5000, qPrintable(QString::number(canopy[side])));
            QVERIFY2(black[side] < 0.2 * canopy[side],
                     qPrintable(QStringLiteral("side %1: %2 black of %3").arg(side).arg(black[side]).arg(canopy[side])));
        }
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
        WAIT_FOR_EXPOSED(&view);
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
