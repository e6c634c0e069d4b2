// The internal structure in the 3-D view of the default design, drawn by Mesa
// under Xvfb: cross-port holes cut into the rib patches and the diagonal ribs
// between them.

#include <QTest>
#include <QColor>
#include <QObject>
#include <QRgb>
#include <QString>
#include <QStringLiteral>
#include <QTemporaryDir>

#include <QCheckBox>
#include <QImage>

#include "core/calcul3d.h"
#include "widgets/colorclass.h"
#include "shell/glwidget.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "structure/diagonals.h"
#include "tests/common/statewait.h"

#include <memory>

namespace {

const QColor kBackground(20, 30, 60);

struct Counts {
    double white = 0;  // diagonal outlines
    double green = 0;  // diagonal holes
    double cyan = 0;   // rib patches
    double yellow = 0; // straps
};

Counts count(const QImage& image)
{
    Counts c;
    const double n = double(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200)
                c.white += 1 / n;
            else if (qGreen(p) > 100 && qRed(p) < qGreen(p) / 3 && qBlue(p) < qGreen(p) / 2)
                c.green += 1 / n;
            else if (qRed(p) < qGreen(p) / 2 && qGreen(p) > 100 && qBlue(p) > 100)
                c.cyan += 1 / n;
            else if (qRed(p) > 90 && qGreen(p) > 90 && std::abs(qRed(p) - qGreen(p)) < 30
                     && qBlue(p) < 0.75 * qRed(p))
                c.yellow += 1 / n;
        }
    }
    return c;
}

} // namespace

class TestGlStructure : public QObject
{
    Q_OBJECT

    QTemporaryDir appDir;
    std::unique_ptr<glWidget> view;

    QImage frame()
    {
        return view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }

    void save(const QImage& image, const QString& name)
    {
        // Looked at by hand when the drawing changes.
        if (qEnvironmentVariableIsSet("WL_GLVIEW_SHOTS"))
            image.save(qEnvironmentVariable("WL_GLVIEW_SHOTS") + "/" + name + ".png");
    }

    void setHoles(bool on)
    {
        static int saved[2][12];
        ParaStruct* d = GetDataStruct();
        for (int g = 0; g < 2; ++g)
            for (int s = 0; s < 12; ++s) {
                int& count = d->crossPorts[g].triangles[s].holeCount;
                if (!on) {
                    saved[g][s] = count;
                    count = 0;
                } else {
                    count = saved[g][s];
                }
            }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(appDir.isValid());
        GetGlobClass()->appDir = appDir.path();
        GetColorClass()->canopyColor = QColor(230, 120, 30);
        GetColorClass()->backgroundColor = kBackground;
        WriteColorsStream();
        QVERIFY(myOpenFile().ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + "/template.ini",
                                            GetDataStruct()));
        Refresh_Calculations(GetDataStruct());
        QCOMPARE(GetDataStruct()->diagonals.size(), 15);

        view = std::make_unique<glWidget>();
        view->resize(900, 640);
        view->show();
        WAIT_FOR_EXPOSED(view.get());
        for (QCheckBox* box : view->findChildren<QCheckBox*>())
            box->setChecked(true);
        view->viewState().inflatedView = true;
        QTest::mouseClick(view->ghostIcon(), Qt::LeftButton);
        QVERIFY(view->viewState().ghostView);
    }

    void cleanupTestCase()
    {
        view.reset();
        Set_Recompute_Hook(RecomputeHook::Diagonals, nullptr);
    }

    // The diagonals in white with their holes in green, completed by the view.
    void diagonals()
    {
        QCOMPARE(view->diagonalList().size(), 15);
        QCOMPARE(GetDataStruct()->diagonals.size(), 15);
        for (const DiagonalData& g : view->diagonalList()) {
            QVERIFY(g.spaceOutline.size() > 100);
            QCOMPARE(g.spaceHoles.size(), 4);
        }
        view->setFocus();
        QTest::keyClick(view.get(), Qt::Key_B);
        const QImage image = frame();
        save(image, "structure_rear");
        const Counts c = count(image);
        QVERIFY2(c.white > 0.002, qPrintable(QString::number(c.white)));
        QVERIFY2(c.green > 0.0005, qPrintable(QString::number(c.green)));
        view->panelBox("Diags")->click();
        const Counts off = count(frame());
        QVERIFY(off.white < 0.5 * c.white);
        QVERIFY(off.green < 0.2 * c.green);
        view->panelBox("Diags")->click();
    }

    // Seen from the side the rib patches show the cross-ports as holes: more
    // of the background comes through than with the holes taken away.
    void ribHoles()
    {
        view->setFocus();
        QTest::keyClick(view.get(), Qt::Key_S);
        view->panelBox("Diags")->setChecked(false);
        const QImage withHoles = frame();
        save(withHoles, "structure_side");
        setHoles(false);
        view->ReInit_GL();
        const QImage without = frame();
        setHoles(true);
        view->ReInit_GL();
        const double holed = count(withHoles).cyan;
        const double solid = count(without).cyan;
        QVERIFY2(holed < 0.93 * solid, qPrintable(QStringLiteral("%1 %2").arg(holed).arg(solid)));
        view->panelBox("Diags")->setChecked(true);
        save(frame(), "structure_side_diagonals");
    }

    // The straps of a design with straps: one light yellow polygon each,
    // from the strap list, shown with the "Strap" box.
    void straps()
    {
        ParaStruct* d = GetDataStruct();
        for (int k = 0; k < 8; ++k)
            d->strapWidth[k] = 80; // wide enough to be seen on the whole wing
        for (int row = 2; row <= 5; ++row)
            for (int r = 0; r < d->lastRib; ++r)
                d->lineStrips[row][r] = true;
        view->panelBox("Diags")->setChecked(false);
        view->panelBox("Ribs ")->setChecked(false);
        view->ReInit_GL();
        QCOMPARE(view->strapList().size(), 4 * d->lastRib);
        for (const QList<QVector3D>& strap : view->strapList())
            QCOMPARE(strap.size(), 6);
        view->setFocus();
        QTest::keyClick(view.get(), Qt::Key_B);
        const QImage with = frame();
        save(with, "straps_rear");
        view->panelBox("Strap")->setChecked(false);
        const QImage without = frame();
        view->panelBox("Strap")->setChecked(true);
        const double shown = count(with).yellow;
        const double hidden = count(without).yellow;
        QVERIFY2(shown > 0.002 && hidden < 0.2 * shown, qPrintable(QStringLiteral("%1 %2").arg(shown).arg(hidden)));
        for (int row = 2; row <= 5; ++row)
            for (int r = 0; r < d->lastRib; ++r)
                d->lineStrips[row][r] = false;
        view->ReInit_GL();
        QVERIFY(view->strapList().isEmpty());
        view->panelBox("Diags")->setChecked(true);
        view->panelBox("Ribs ")->setChecked(true);
    }

    // Laying the holes out on every rib to draw them leaves the design as
    // it was: the project saved next is the one saved before.
    void drawingWritesNothing()
    {
        ParaStruct* design = GetDataStruct();
        const ParaStruct shown = *design;
        QVERIFY(myOpenFile().ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + "/template.ini", design));
        Refresh_Calculations(design);
        const QByteArray before = Project_File_Bytes(*design);
        view->ReInit_GL();
        frame();
        QVERIFY(Project_File_Bytes(*design) == before);
        *design = shown;
        view->ReInit_GL();
    }
};

QTEST_MAIN(TestGlStructure)
#include "tst_glstructure_gui.moc"
