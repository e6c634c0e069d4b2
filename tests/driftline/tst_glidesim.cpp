#include <QTest>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringLiteral>
#include <QVector>

#include "apps/driftline/glidesim.h"
#include "apps/driftline/wsuit.h"

#include <cmath>
#include <limits>

namespace {

// The default glide of the window: 90 kg, 2.2 m2, 1 m/s, attack angle 0.
void setDefaultGlide(GlideSimulation &g)
{
    g.M = 90;
    g.S = 2.2;
    g.V0 = 1;
    g.att_angle = 0;
    g.imp_mode = false;
}

struct CountingGlide : GlideSimulation {
    int frames = 0;
    void frameDone() override { ++frames; }
};

} // namespace

class TestGlideSim : public QObject
{
    Q_OBJECT
private slots:
    void coefficientsAreTheTablesClamped_data()
    {
        QTest::addColumn<double>("att");
        QTest::addColumn<double>("cl");
        QTest::addColumn<double>("cd");
        QTest::newRow("0") << 0.0 << 0.26 << 0.05;
        QTest::newRow("20") << 20.0 << 1.4 << 0.4;
        QTest::newRow("45") << 45.0 << 2.75 << 1.95;
        QTest::newRow("below") << -7.5 << 0.26 << 0.05;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 0.26 << 0.05;
        QTest::newRow("above") << 60.0 << 2.75 << 1.95;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 2.75 << 1.95;
    }
    void coefficientsAreTheTablesClamped()
    {
        QFETCH(double, att);
        QFETCH(double, cl);
        QFETCH(double, cd);
        QCOMPARE(f_CCL(att, t_kot, t_Cl), cl);
        QCOMPARE(f_CCD(att, t_kot, t_Cd), cd);
    }

    void coefficientsAreSmoothBetweenNodes()
    {
        // A natural cubic spline: between the nodes it neither jumps nor
        // leaves the neighbourhood of the chords.
        double prev = f_CCL(0, t_kot, t_Cl);
        for (double a = 0.5; a <= 45; a += 0.5) {
            const double cl = f_CCL(a, t_kot, t_Cl);
            QVERIFY2(std::abs(cl - prev) < 0.05, qPrintable(QString::number(a)));
            prev = cl;
        }
        const double mid = f_CCD(42.5, t_kot, t_Cd);
        QVERIFY(mid > 1.14 && mid < 1.95);
    }

    void resampledCurveStopsOneStepShort()
    {
        const QVector<QPointF> cl = Inter_Poly(6, t_kot, t_Cl, 100);
        QCOMPARE(cl.size(), 100);
        QCOMPARE(cl.first(), QPointF(0, 0.26));
        // Parameter 5 - 5/100 of the index spline: just before 45 degrees.
        QVERIFY(cl.last().x() < 45 && cl.last().x() > 44);
        QVERIFY(cl.last().y() < 2.75 && cl.last().y() > 2.7);
        for (int i = 1; i < cl.size(); ++i)
            QVERIFY(cl[i].x() > cl[i - 1].x());

        double out[4] = {-1, -1, -1, -1};
        const double flat[3] = {2, 2, 2};
        const double ys[3] = {1, 2, 3};
        interpSpline(3, 4, flat, ys, out);
        QCOMPARE(out[0], -1.0);
        const double xs[3] = {0, 1, 2};
        interpSpline(3, 4, xs, ys, out);
        QCOMPARE(out[0], 1.0);
        QCOMPARE(out[2], 2.0);
        QCOMPARE(out[3], 2.5);
    }

    void impulseIsATriangle_data()
    {
        QTest::addColumn<bool>("mode");
        QTest::addColumn<double>("t1");
        QTest::addColumn<double>("t2");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("angle");
        QTest::newRow("off") << false << 0.0 << 10.0 << 5.0 << 0.0;
        QTest::newRow("at start") << true << 2.0 << 12.0 << 2.0 << 0.0;
        QTest::newRow("rising") << true << 2.0 << 12.0 << 4.5 << 10.0;
        QTest::newRow("top") << true << 2.0 << 12.0 << 7.0 << 20.0;
        QTest::newRow("falling") << true << 2.0 << 12.0 << 11.0 << 4.0;
        QTest::newRow("at end") << true << 2.0 << 12.0 << 12.0 << 0.0;
        QTest::newRow("after") << true << 2.0 << 12.0 << 30.0 << 0.0;
        QTest::newRow("not triggered") << true << 4000.0 << 0.0 << 5.0 << 0.0;
        QTest::newRow("no width") << true << 3.0 << 3.0 << 3.0 << 0.0;
    }
    void impulseIsATriangle()
    {
        QFETCH(bool, mode);
        QFETCH(double, t1);
        QFETCH(double, t2);
        QFETCH(double, t);
        QFETCH(double, angle);
        QCOMPARE(impulseAngle(mode, 20, t1, t2, t), angle);
    }

    void runWithoutTimeOrRangeStoresNothing()
    {
        GlideSimulation g;
        setDefaultGlide(g);
        g.flights.append(Flight());
        QVERIFY(g.calculate_flight(0));
        QVERIFY(g.flights.isEmpty());
        QVERIFY(g.calculate_flight(-3));
        g.x_range = 0;
        QVERIFY(g.calculate_flight(10));
        QVERIFY(g.flights.isEmpty());
    }

    void firstStepFallsAndSpeedsUp()
    {
        GlideSimulation g;
        setDefaultGlide(g);
        QVERIFY(g.calculate_flight(0.1));
        QCOMPARE(g.flights.size(), 1);
        const Flight f = g.flights.first();
        const double k = 0.6125 * 2.2 / 90;
        const double an = 9.81 - 0.26 * k;  // level start, 1 m/s
        const double at = -0.05 * k;
        QCOMPARE(f.time, 0.25);
        QCOMPARE(f.path, 0.25);
        QCOMPARE(f.dX, 0.25);
        QCOMPARE(f.U, 1.0);
        QCOMPARE(f.att, 0.0);
        QVERIFY(qFuzzyCompare(f.dY, 0.5 * an * 0.25 * 0.25));
        QVERIFY(qFuzzyCompare(f.U_end, std::hypot(1 + at * 0.25, an * 0.25)));
        QVERIFY(f.U_end > f.U);
        QVERIFY(qFuzzyCompare(f.angle, std::atan2(an * 0.25, 1 + at * 0.25)));
        QCOMPARE(g.flight.time, f.time);
    }

    void slowStartIsRaised()
    {
        GlideSimulation g;
        setDefaultGlide(g);
        for (double v0 : {0.1, 0.0, -4.0, std::numeric_limits<double>::quiet_NaN()}) {
            g.V0 = v0;
            g.calculate_flight(0.1);
            QCOMPARE(g.flights.first().U, 0.5);
            QCOMPARE(g.flights.first().time, 0.5);
        }
    }

    void timeLimitEndsAfterTheStoredStep()
    {
        GlideSimulation g;
        setDefaultGlide(g);
        QVERIFY(g.calculate_flight(5));
        const int n = g.flights.size();
        QVERIFY(g.flights.last().time >= 5);
        QVERIFY(g.flights.at(n - 2).time < 5);
        for (int i = 0; i < n; ++i)
            QCOMPARE(g.flights.at(i).path, 0.25 * (i + 1));
    }

    void sample250OfTheDefaultGlide()
    {
        GlideSimulation g;
        setDefaultGlide(g);
        QVERIFY(g.calculate_flight(4));
        QVERIFY(g.flights.size() > 250);
        const Flight f = g.flights.at(250);
        QVERIFY(std::abs(f.time - 3.616) < 0.0005);
        QCOMPARE(flightInfoText(f),
                 QStringLiteral("time:3.6 sec \n U:123.0 km/h \n angle:79.2 \n U-x:23.1 \n"
                                " U-y:120.8 \n [dX:  9; dY: 62] \n Att[deg]:0.0 \n Acc/g:0.89"));
    }

    void animationStopsAtTheDistanceLimit()
    {
        CountingGlide g;
        setDefaultGlide(g);
        g.animate_flight();
        // The run that reached 1000 m is not shown but its samples are kept.
        QVERIFY(g.frames > 0);
        QVERIFY(g.anim_T < 60);
        QCOMPARE(g.anim_T, g.frames * 0.075);
        QVERIFY(!g.calculate_flight(g.anim_T));
        QVERIFY(g.flights.last().dX < 1000);
        QVERIFY(g.flights.last().dX > 999);
        QVERIFY(g.flights.last().time < g.anim_T);
    }

    void animationEndsAtSixtySeconds()
    {
        // At 40 degrees the suit is slow and steep: 60 s of flight stay
        // within the 1000 m.
        CountingGlide g;
        setDefaultGlide(g);
        g.att_angle = 40;
        g.animate_flight();
        QCOMPARE(g.frames, 800);
        QVERIFY(g.flights.last().time >= 59.925);
        QVERIFY(g.flights.last().dX < 1000);
    }

    // The whole glide, known before the animation runs, is the one the
    // animation ends with (to the last frame's 0.075 s): the distance limit
    // and the time limit alike; the simulation itself is left alone.
    void wholeFlightIsWhereTheAnimationEnds_data()
    {
        QTest::addColumn<double>("angle");
        QTest::newRow("to the distance limit") << 0.0;
        QTest::newRow("to the time limit") << 40.0;
    }

    void wholeFlightIsWhereTheAnimationEnds()
    {
        QFETCH(double, angle);
        CountingGlide g;
        setDefaultGlide(g);
        g.att_angle = angle;
        const QList<Flight> whole = g.Whole_Flight();
        QVERIFY(g.flights.isEmpty());
        QCOMPARE(g.frames, 0);
        g.animate_flight();
        QVERIFY(whole.size() >= g.flights.size());
        for (int i = 0; i < g.flights.size(); ++i)
            QCOMPARE(whole[i].dY, g.flights[i].dY);
        QVERIFY(whole.last().time - g.flights.last().time < 0.075);
    }

    void impulseFollowsTheTriangle()
    {
        GlideSimulation g;
        setDefaultGlide(g);
        g.att_angle = 5;
        g.imp_mode = true;
        g.imp_V = 0;  // triggered in the first step
        g.imp_tw = 6;
        g.imp_maxatt = 12;
        QVERIFY(g.calculate_flight(10));
        double top = 0, start = 0;
        for (const Flight &f : g.flights) {
            // The attack angle belongs to the time at the start of the step.
            double expected = 5;
            if (start > 0 && start < 6)
                expected += start <= 3 ? 12 * start / 3 : 12 * (6 - start) / 3;
            QVERIFY2(std::abs(f.att - expected) < 1e-9, qPrintable(QString::number(start)));
            top = std::max(top, f.att);
            start = f.time;
        }
        QVERIFY(top > 16.9 && top <= 17);
        QCOMPARE(g.flights.first().att, 5.0);
        QCOMPARE(g.flights.last().att, 5.0);

        g.imp_tw = 0;
        g.calculate_flight(10);
        for (const Flight &f : g.flights)
            QCOMPARE(f.att, 5.0);
    }

    void impulseWaitsForTheTriggerSpeed()
    {
        GlideSimulation g;
        setDefaultGlide(g);
        g.imp_mode = true;
        g.imp_V = 100;  // km/h
        g.imp_tw = 4;
        g.imp_maxatt = 10;
        QVERIFY(g.calculate_flight(12));
        int first = -1;
        for (int i = 0; i < g.flights.size(); ++i)
            if (g.flights[i].att > 0) {
                first = i;
                break;
            }
        QVERIFY(first > 0);
        // The impulse starts at the first step that begins at 100 km/h.
        QVERIFY(g.flights[first - 1].U * 3.6 >= 100);
        QVERIFY(g.flights[first - 2].U * 3.6 < 100);
    }

    void steadyGlideIsTheAnalyticOne_data()
    {
        QTest::addColumn<double>("att");
        QTest::newRow("0") << 0.0;
        QTest::newRow("10") << 10.0;
        QTest::newRow("20") << 20.0;
        QTest::newRow("32.5") << 32.5;
        QTest::newRow("45") << 45.0;
    }
    void steadyGlideIsTheAnalyticOne()
    {
        QFETCH(double, att);
        GlideSimulation g;
        setDefaultGlide(g);
        g.att_angle = att;
        g.x_range = 1e9;
        QVERIFY(g.calculate_flight(400));
        const Flight f = g.flights.last();
        const double cl = f_CCL(att, t_kot, t_Cl);
        const double cd = f_CCD(att, t_kot, t_Cd);
        const double gamma = std::atan(cd / cl);
        const double speed = std::sqrt(2 * 90 * 9.81 * std::cos(gamma) / (1.225 * 2.2 * cl));
        QVERIFY2(std::abs(f.angle - gamma) < 1e-3,
                 qPrintable(QString("%1 against %2").arg(f.angle).arg(gamma)));
        QVERIFY2(std::abs(f.U_end - speed) < 1e-3,
                 qPrintable(QString("%1 against %2").arg(f.U_end).arg(speed)));
        QVERIFY(f.acc < 1e-3);
    }

    void noMassStillEnds()
    {
        // An infinite force factor makes the samples numbers no more, but
        // the run ends all the same.
        GlideSimulation g;
        setDefaultGlide(g);
        g.M = 0;
        QVERIFY(g.calculate_flight(5));
        QVERIFY(!g.flights.isEmpty());
        QVERIFY(!std::isfinite(g.flights.last().U_end));
    }
};

QTEST_MAIN(TestGlideSim)
#include "tst_glidesim.moc"
