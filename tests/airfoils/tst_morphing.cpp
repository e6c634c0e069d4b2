#include <QTest>
#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QWheelEvent>

#include <cmath>
#include <memory>

#include "tests/core/designfixture.h"
#include "core/airfoil.h"
#include "core/calcul3d.h"
#include "airfoils/ui/editairfoildialog.h"
#include "core/mygsllib.h"
#include "core/parastruct.h"

namespace {

// Thickness in percent as the view writes it: " Thickness = 15.00  at  30.00 %".
double thicknessOf(const QPolygonF& p)
{
    const QString t = FindThickness(p);
    return t.section('=', 1).section("at", 0, 0).trimmed().toDouble();
}

bool allFinite(const QPolygonF& p)
{
    for (const QPointF& q : p)
        if (!std::isfinite(q.x()) || !std::isfinite(q.y()))
            return false;
    return true;
}

} // namespace

// The morph formulas, the flap, the symmetric airfoil and the dialog with its
// view, on the airfoils of the test wing.
class TestMorphing : public QObject
{
    Q_OBJECT
    ParaStruct* live = nullptr;
    QPolygonF foil;
    QStringList steps;

    void wheel(QWidget* w, int delta)
    {
        QWheelEvent e(QPointF(50, 50), w->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w, &e);
    }

private slots:
    void initTestCase()
    {
        Set_Recompute_Trace([this](const char* step) { steps << step; });
    }

    void init()
    {
        live = GetDataStruct();
        *live = *fixture::makeWing(34);
        foil = live->designAirfoils[0];
        steps.clear();
    }

    void neutralMorphKeepsTheAirfoil()
    {
        const QPolygonF m = MorphAirfoil(live, 1.0, 0.0, 0.0, 1.0, 1.0, foil);
        QCOMPARE(m, foil);
    }

    void scaleSetsTheThickness_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("flat") << 0.0;
        QTest::newRow("double") << 2.0;
        QTest::newRow("fourfold") << 4.0;
        QTest::newRow("upside down") << -1.0;
    }

    void scaleSetsTheThickness()
    {
        QFETCH(double, scale);
        const QPolygonF m = MorphAirfoil(live, scale, 0.0, 0.0, 1.0, 1.0, foil);
        QCOMPARE(m.size(), foil.size());
        QVERIFY(std::abs(thicknessOf(m) - std::abs(scale) * thicknessOf(foil)) <= 0.01 * thicknessOf(foil) + 0.01);
        const int top = 250; // a point of the upper side
        QCOMPARE(m[top].y(), foil[top].y() * scale);
    }

    void movingTheTopPointsKeepsNoseAndTrailingEdge()
    {
        const QPolygonF m = MorphAirfoil(live, 1.0, 0.5, -0.3, 1.0, 1.0, foil);
        const int nose = get_nose_index(&foil);
        QCOMPARE(m.first(), foil.first());
        QCOMPARE(m.last(), foil.last());
        QCOMPARE(m[nose].x(), foil[nose].x());
        // x^1.5 moves the upper points forward, x^0.7 the lower ones back.
        QVERIFY(m[200].x() < foil[200].x());
        QVERIFY(m[800].x() > foil[800].x());
        QCOMPARE(m[200].y(), foil[200].y());
    }

    // The rear blending zone ends at the last point when "O2" sits there.
    void openingRowOnTheLastPointGivesNoNaN_data()
    {
        QTest::addColumn<int>("o1");
        QTest::addColumn<int>("o2");
        QTest::newRow("O2 on the last point") << 600 << 999;
        QTest::newRow("O2 beyond the airfoil") << 600 << 1200;
        QTest::newRow("O1 equal to O2") << 700 << 700;
    }

    void openingRowOnTheLastPointGivesNoNaN()
    {
        QFETCH(int, o1);
        QFETCH(int, o2);
        live->lineIndex[0][1] = o1;
        live->lineIndex[1][1] = o2;
        const QPolygonF m = MorphAirfoil(live, 1.5, 0.0, 0.0, 0.8, 1.2, foil);
        QVERIFY(allFinite(m));
        QCOMPARE(m.last().y(), 0.0);
    }

    void lowerZonesBlendBetweenTheOpeningRows()
    {
        live->lineIndex[0][1] = 600;
        live->lineIndex[1][1] = 700;
        const QPolygonF m = MorphAirfoil(live, 1.0, 0.0, 0.0, 0.5, 1.5, foil);
        QCOMPARE(m[550].y(), foil[550].y() * 0.5);
        QCOMPARE(m[650].y(), foil[650].y() * 1.0);
        QCOMPARE(m[700].y(), foil[700].y() * 1.5);
        QCOMPARE(m[999].y(), foil[999].y());
        QCOMPARE(m[100].y(), foil[100].y());
    }

    void flapBendsTheRearPart()
    {
        QCOMPARE(make_flaps_poly(25, 0, foil), foil);
        // Hinge at 100 % of the chord: no point lies behind it.
        QCOMPARE(make_flaps_poly(0, 40, foil), foil);

        const QPolygonF f = make_flaps_poly(25, 40, foil);
        const double d = 40 / 1000.0;
        QCOMPARE(f.first().y(), foil.first().y() + d / std::sqrt(2.0));
        QCOMPARE(f.last().y(), foil.last().y() + d / std::sqrt(2.0));
        const int b = find_B_index(1000, 25, foil);
        QVERIFY(b > 800 && b < 1000);
        int a = 0;
        while (foil[a + 1].x() > 0.75)
            ++a;
        QCOMPARE(b, 1000 - a);
        QCOMPARE(f[a], foil[a]); // the hinge stays
        QCOMPARE(f[500], foil[500]);
        QCOMPARE(find_B_index(1000, 200, foil), 1000); // hinge ahead of the nose
    }

    void symmetricAirfoilKeepsTheThickness()
    {
        const QPolygonF s = CreateSymetricAirfoil(1000, foil);
        QCOMPARE(s.size(), 1000);
        QVERIFY(allFinite(s));
        double ymax = -1, ymin = 1;
        for (const QPointF& q : s) {
            ymax = std::max(ymax, q.y());
            ymin = std::min(ymin, q.y());
        }
        QVERIFY(std::abs(ymax + ymin) < 0.002);
        QVERIFY(std::abs(thicknessOf(s) - thicknessOf(foil)) < 0.05 * thicknessOf(foil));
        QCOMPARE(CreateSymetricAirfoil(1000, QPolygonF()), QPolygonF());
    }

    void dialogWithoutAnAirfoilDoesNothing()
    {
        EditAirFoilDialog d;
        QSignalSpy handed(&d, &EditAirFoilDialog::to_workfoil);
        QCOMPARE(d.windowTitle(), QString("Morphing airfoil shape"));
        d.show();
        d.verticalSlider->setValue(100);
        d.topupSlider->setValue(20);
        d.symetricButton->click();
        d.morphwidget->grab();
        QCOMPARE(d.FactorLabel->text(), QString("0"));
        QVERIFY(d.morphwidget->morphedAirfoil().isEmpty());
        QCOMPARE(handed.count(), 0);
    }

    // Every result goes to the airfoil dialog as it is made.
    void slidersMorphAndHandTheResultOver()
    {
        EditAirFoilDialog d;
        QSignalSpy handed(&d, &EditAirFoilDialog::to_workfoil);
        auto last = [&handed] { return handed.last().at(0).value<QPolygonF>(); };
        d.Transfer_WorkingFoil(foil);
        d.show();
        d.resize(1100, 800);
        QCOMPARE(d.morphwidget->name(), QString(" morphing work-airfoil "));
        QCOMPARE(last(), foil); // sliders at 0

        d.verticalSlider->setValue(100);
        QCOMPARE(d.FactorLabel->text(), QString("100"));
        QCOMPARE(d.morphwidget->factor(), 2.0);
        QVERIFY(std::abs(thicknessOf(last()) / thicknessOf(foil) - 2.0) < 0.02);

        d.verticalSlider->setValue(300);
        QVERIFY(std::abs(thicknessOf(last()) / thicknessOf(foil) - 4.0) < 0.04);

        d.topupSlider->setValue(-40);
        QCOMPARE(d.topupLabel->text(), QString("-40"));
        QCOMPARE(d.morphwidget->topUp(), -0.4);
        d.topdownSlider->setValue(30);
        QCOMPARE(d.morphwidget->topDown(), 0.3);
        QCOMPARE(d.morphwidget->morphedAirfoil(), MorphAirfoil(live, 4.0, -0.4, 0.3, 1, 1, foil));
        QCOMPARE(last(), d.morphwidget->morphedAirfoil());

        // Showing again starts from neutral sliders.
        d.hide();
        d.show();
        QCOMPARE(d.verticalSlider->value(), 0);
        QCOMPARE(d.topupSlider->value(), 0);
        QCOMPARE(d.flapspinBox->value(), 25);
        QCOMPARE(d.morphwidget->morphedAirfoil(), foil);
    }

    void flapFollowsTheCheckBoxAtTheNextChange()
    {
        EditAirFoilDialog d;
        d.Transfer_WorkingFoil(foil);
        d.show();
        d.flapSlider->setValue(50);
        QCOMPARE(d.flapsliderLabel->text(), QString("50"));
        QCOMPARE(d.morphwidget->morphedAirfoil(), foil); // no flap yet
        d.hasflapcheckBox->click();
        QCOMPARE(d.morphwidget->morphedAirfoil(), foil); // still none
        d.flapspinBox->setValue(30);
        QCOMPARE(d.morphwidget->morphedAirfoil(), make_flaps_poly(30, 50, foil));
    }

    void symmetricButtonStartsFromTheTransferredAirfoil()
    {
        EditAirFoilDialog d;
        d.Transfer_WorkingFoil(foil);
        d.show();
        d.symetricButton->click();
        const QPolygonF once = d.morphwidget->workingAirfoil();
        d.symetricButton->click();
        QCOMPARE(d.morphwidget->workingAirfoil(), once);
        QCOMPARE(once, FourierInterpolationAirfoil(CreateSymetricAirfoil(1000, foil)));
        QCOMPARE(d.morphwidget->morphedAirfoil(), once);
    }

    void viewZoomAndRestore()
    {
        EditAirFoilDialog d;
        d.Transfer_WorkingFoil(foil);
        d.show();
        EditAirFoilArea* v = d.morphwidget;
        wheel(v, 120);
        QCOMPARE(v->zoom(), std::pow(2.0, 1.0 / 8.0));
        for (int i = 0; i < 40; ++i)
            wheel(v, 120);
        QCOMPARE(v->zoom(), 8.0);
        for (int i = 0; i < 80; ++i)
            wheel(v, -120);
        QCOMPARE(v->zoom(), 0.5);
        QTest::mousePress(v, Qt::MiddleButton, Qt::NoModifier, QPoint(100, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(130, 90), v->mapToGlobal(QPointF(130, 90)), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v, &move);
        QTest::mouseRelease(v, Qt::MiddleButton, Qt::NoModifier, QPoint(130, 90));
        QCOMPARE(v->pan(), QPointF(30, -10));
        QTest::mousePress(v, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(v->zoom(), 1.0);
        QCOMPARE(v->pan(), QPointF(0, 0));
        QTest::mouseRelease(v, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    }

    // The morphed airfoil goes to the airfoil dialog; applying it is that
    // dialog's step: exit recomputes nothing and raises no flag.
    void exitLeavesTheDesign()
    {
        EditAirFoilDialog d;
        d.Transfer_WorkingFoil(foil);
        d.show();
        live->geometryChanged = false;
        live->linesOutdated = false;
        const unsigned long long revision = live->geometryChanged.revision();
        const QPolygonF before = live->designAirfoils[0];
        d.verticalSlider->setValue(50);
        steps.clear();
        emit d.exitButton->pressed();
        QVERIFY(!d.isVisible());
        QVERIFY(steps.isEmpty());
        QVERIFY(!live->geometryChanged);
        QVERIFY(!live->linesOutdated);
        QCOMPARE(live->geometryChanged.revision(), revision);
        QCOMPARE(live->designAirfoils[0], before);
    }
};

QTEST_MAIN(TestMorphing)
#include "tst_morphing.moc"
