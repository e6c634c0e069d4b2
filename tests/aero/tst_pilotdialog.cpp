// The pilot position dialog: every keystroke that leaves a displacement in
// its field sets the pilot position and recomputes the design, a text that
// is none is refused, the side view draws the pilot where the design puts him,
// and both side views share zoom and pan with their reset.

#include "aero/apamemesh.h"
#include "aero/apameres.h"
#include "aero/polar.h"
#include "aero/ui/pilotdialog.h"
#include "aero/ui/sideviewwidget.h"

#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "tests/common/recordimage.h"
#include "tests/common/scripteduser.h"
#include "tests/common/typednumbers.h"
#include "tests/core/designfixture.h"

#include <QTest>
#include <QApplication>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringLiteral>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

// The design's recomputes, with the pilot position each one started from.
struct RecomputeLog {
    QList<double> legaX;
    RecomputeTrace before;
    RecomputeLog()
    {
        before = Set_Recompute_Trace([this](const char* step) {
            if (QByteArray(step) == "WingTipGeometrySetup")
                legaX.append(GetDataStruct()->legaX);
        });
    }
    ~RecomputeLog() { Set_Recompute_Trace(before); }
};

double centreChord()
{
    const ParaStruct* d = GetDataStruct();
    return d->R_X(d->chord[d->firstRib]);
}

void wheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(20, 20), w->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

void middleDrag(QWidget* w, QPoint from, QPoint to)
{
    QTest::mousePress(w, Qt::MiddleButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::MiddleButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::MiddleButton, {}, to);
}

bool nearColour(const QColor& a, const QColor& b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

class TestPilotDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<PilotDialog> dialog;

private slots:
    void init()
    {
        *GetDataStruct() = *fixture::makeWing(9);
        calculate_legaX_from_shift(GetDataStruct(), 25);
        dialog = std::make_unique<PilotDialog>();
    }

    void cleanup() { dialog.reset(); }

    void form()
    {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Pilot position"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->minimumSize(), QSize(610, 700));
        QCOMPARE(dialog->maximumSize(), QSize(610, 700));
        QVERIFY(dialog->toolTip().contains(QLatin1String("If the hanging position (Pilot displacement from LE in %)")));
        QCOMPARE(dialog->label->text(), QStringLiteral("Pilot disp. from LE [%] = calage  "));
        QCOMPARE(dialog->exitButton->text(), QStringLiteral("exit"));
        QCOMPARE(dialog->pos(), QPoint(0, 0));
    }

    // Showing shows the current displacement, rounded, and writes nothing:
    // the pilot stays where he hangs, to the last bit, and nothing is
    // recomputed.
    void showWritesNothing()
    {
        GetDataStruct()->legaX = centreChord() * 0.312549;
        const QByteArray before = recordImage(*GetDataStruct());
        RecomputeLog log;
        dialog->show();
        QCOMPARE(dialog->pilotdisplacementEdit->text(), QStringLiteral("31.25"));
        QCOMPARE(log.legaX.size(), 0);
        QVERIFY(recordImage(*GetDataStruct()) == before);
        dialog->hide();
    }

    // "2", then "5": two recomputes, at 2 % and at 25 %.
    void everyKeystrokeRecomputes()
    {
        ParaStruct* d = GetDataStruct();
        dialog->show();
        dialog->pilotdisplacementEdit->clear();
        RecomputeLog log;
        QTest::keyClick(dialog->pilotdisplacementEdit, Qt::Key_2);
        QTest::keyClick(dialog->pilotdisplacementEdit, Qt::Key_5);
        QCOMPARE(log.legaX.size(), 2);
        QVERIFY(std::fabs(log.legaX[0] - centreChord() * 0.02) < 1e-12);
        QVERIFY(std::fabs(log.legaX[1] - centreChord() * 0.25) < 1e-12);
        QCOMPARE(d->pilotShiftPercent, 25.0);
        QVERIFY(std::fabs(d->legaX - centreChord() * 0.25) < 1e-12);
        dialog->hide();
    }

    // A displacement from -50 % to 150 % of the centre chord moves the pilot
    // as it is typed, read as the other number fields read it (a decimal
    // comma too). Any other text leaves him where he was; when the editing
    // ends the field shows his displacement again and the user is told the
    // range, the design exactly as it was.
    void typedTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<double>("percent");
        addNoFieldNumberRows();
        QTest::newRow("decimal comma") << "25,5" << true << 25.5;
        QTest::newRow("half, decimal comma") << "0,5" << true << 0.5;
        QTest::newRow("decimal point") << "25.5" << true << 25.5;
        QTest::newRow("negative") << "-12" << true << -12.0;
        QTest::newRow("beyond the chord") << "140" << true << 140.0;
        QTest::newRow("far ahead") << "-60" << false << 0.0;
        QTest::newRow("far behind") << "200" << false << 0.0;
    }
    void typedTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(double, percent);
        ScriptedUser user;
        ParaStruct* d = GetDataStruct();
        dialog->show();
        dialog->pilotdisplacementEdit->setText("7");
        const QByteArray before = recordImage(*d);
        dialog->pilotdisplacementEdit->setText(text);
        emit dialog->pilotdisplacementEdit->editingFinished();
        if (taken) {
            QVERIFY2(user.texts.isEmpty(), qPrintable(user.texts.join('\n')));
            QCOMPARE(d->pilotShiftPercent, percent);
            QVERIFY(std::fabs(d->legaX - centreChord() * percent / 100) < 1e-12);
        } else {
            const QString typed = text.left(dialog->pilotdisplacementEdit->maxLength());
            const QString problem = refusalProblem(user, "from -50 to 150 %", typed, "7.00");
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            QCOMPARE(dialog->pilotdisplacementEdit->text(), QStringLiteral("7.00"));
            QVERIFY(recordImage(*d) == before);
        }
        dialog->hide();
    }

    // A moved pilot raises the flags (the views rebuild, the risers follow);
    // the dialog closed or left without a move raises none.
    void aMoveRaisesTheFlags()
    {
        ParaStruct* d = GetDataStruct();
        for (const bool exit : {false, true}) {
            dialog->show();
            d->geometryChanged = false;
            d->linesOutdated = false;
            const unsigned long long revision = d->geometryChanged.revision();
            if (exit)
                QTest::mouseClick(dialog->exitButton, Qt::LeftButton);
            else
                dialog->close(); // the frame only hides
            QVERIFY(!dialog->isVisible());
            QVERIFY(!d->geometryChanged);
            QVERIFY(!d->linesOutdated);
            QCOMPARE(d->geometryChanged.revision(), revision);
        }
        dialog->show();
        dialog->pilotdisplacementEdit->setText("33");
        QTest::mouseClick(dialog->exitButton, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(d->geometryChanged);
        QVERIFY(d->linesOutdated);
    }

    // Moving the pilot leaves the canopy the solver saw: results of the
    // design stay its results; results of another state stay another's.
    void exitKeepsTheResultsOfTheDesign()
    {
        ParaStruct* d = GetDataStruct();
        ApameRes* res = GetApameClass();
        const ApameRes before = *res;
        res->caseNum = kResultCases;
        res->source = Analysis_Source_Of(*d);
        dialog->show();
        dialog->pilotdisplacementEdit->setText("35");
        QTest::mouseClick(dialog->exitButton, Qt::LeftButton);
        QCOMPARE(Results_Design_Mismatch(*res, *d), QString());

        res->source.twist = d->maxTwistAngle + 1;
        dialog->show();
        dialog->pilotdisplacementEdit->setText("36");
        QTest::mouseClick(dialog->exitButton, Qt::LeftButton);
        QVERIFY(Results_Design_Mismatch(*res, *d).contains("the wing has been changed since"));
        *res = before;
    }

    // The pilot is drawn where the design puts him: at the start view a
    // frame point p lands at 0.5 (p + (0, 192)).
    void pilotDrawnAtHisPlace()
    {
        ParaStruct* d = GetDataStruct();
        d->hangHeight = 2.0;
        dialog->show();
        dialog->pilotdisplacementEdit->setText("30");
        MidLineView* view = dialog->pilotwidget;
        const QImage image = view->grab().toImage();
        const double c0 = d->R_X(d->chord[0]);
        const double pX = 40 + 560 * d->legaX / c0;
        const double pY = 560 * 0.5 * d->hangHeight / c0;
        auto screen = [](double x, double y) { return QPoint(int(0.5 * x), int(0.5 * (y + 192))); };
        QVERIFY(nearColour(image.pixelColor(screen(pX + 5, pY)), Qt::red));
        QVERIFY(nearColour(image.pixelColor(screen(pX - 10, pY)), Qt::black));
        // The airfoil's grey inside, the gradient's white corner.
        QVERIFY(nearColour(image.pixelColor(screen(40 + 560 * 0.5, -20)), Qt::gray, 20));
        QVERIFY(nearColour(image.pixelColor(1, 1), Qt::white, 8));
        dialog->hide();
    }

    // Both side views: wheel within 0.25 .. 8, middle-button pan, and a left
    // click anywhere brings the start view back.
    void zoomAndPan_data()
    {
        QTest::addColumn<bool>("stations");
        QTest::newRow("pilot view") << false;
        QTest::newRow("station view") << true;
    }
    void zoomAndPan()
    {
        QFETCH(bool, stations);
        ApameCross cross;
        cross.resize(550, 280);
        SideViewWidget* view = stations ? static_cast<SideViewWidget*>(&cross) : dialog->pilotwidget;
        wheel(view, 960);
        QCOMPARE(view->zoom(), 1.0);
        for (int k = 0; k < 10; ++k)
            wheel(view, 960);
        QCOMPARE(view->zoom(), 8.0);
        middleDrag(view, QPoint(10, 10), QPoint(40, 5));
        QCOMPARE(view->panX(), 30.0);
        QCOMPARE(view->panY(), 187.0);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(200, 100));
        QCOMPARE(view->zoom(), 0.5);
        QCOMPARE(view->panX(), 0.0);
        QCOMPARE(view->panY(), 192.0);
        for (int k = 0; k < 20; ++k)
            wheel(view, -960);
        QCOMPARE(view->zoom(), 0.25);
    }

    // Both side views keep the half's first rib at the frame's chord, y
    // downward, without the leading-edge offset: the frame less its 40.
    void workAirfoil()
    {
        const ParaStruct* d = GetDataStruct();
        const QPolygonF& foil = d->ribAirfoils[d->firstRib];
        QVERIFY(foil.size() > 100);
        ApameCross cross;
        for (SideViewWidget* view : {static_cast<SideViewWidget*>(&cross), static_cast<SideViewWidget*>(dialog->pilotwidget)}) {
            QVERIFY(view->workAirfoilPoints().isEmpty());
            for (int twice = 0; twice < 2; ++twice) {
                view->init_Work_Airfoil(3.0);
                const QPolygonF& w = view->workAirfoilPoints();
                QCOMPARE(w.size(), foil.size());
                for (int k = 0; k < foil.size(); ++k)
                    QVERIFY((w[k] + QPointF(40, 0) - Side_View_Point(foil[k])).manhattanLength() < 1e-9);
            }
        }
    }

    // The station view: the rib's outline and the stations of the mesh.
    void stationView()
    {
        ParaStruct* d = GetDataStruct();
        d->chordStationCount = f_CreateIndJ(d, d->chordStations);
        ApameCross cross;
        cross.resize(550, 280);
        const QImage image = cross.grab().toImage();
        int blue = 0, lightGrey = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
                lightGrey += c == QColor(Qt::lightGray);
            }
        QVERIFY2(blue > 200, qPrintable(QString::number(blue)));
        QVERIFY2(lightGrey > 5000, qPrintable(QString::number(lightGrey)));
        // Without stations the outline alone.
        d->chordStationCount = -2;
        const QImage bare = cross.grab().toImage();
        int bareGrey = 0;
        for (int y = 0; y < bare.height(); ++y)
            for (int x = 0; x < bare.width(); ++x)
                bareGrey += bare.pixelColor(x, y) == QColor(Qt::lightGray);
        QCOMPARE(bareGrey, 0);
    }
};

QTEST_MAIN(TestPilotDialog)
#include "tst_pilotdialog.moc"
