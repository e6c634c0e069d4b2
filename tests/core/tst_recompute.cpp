// The recompute as one pipeline: a run with a step of a later subsystem
// missing is refused before anything changes, and the twist is a parameter
// of a run, which the design record does not take.

#include "core/calcul3d.h"
#include "core/canopy.h"
#include "core/geomconst.h"
#include "core/parastruct.h"
#include "tests/common/recordimage.h"
#include "tests/core/designfixture.h"

#include <QTest>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector3D>

#include <cmath>
#include <memory>

namespace {

// Angle between a rib's 3-D chord (nose to trailing edge) and the x axis,
// the direction every chord has on a wing without twist.
double chordAngle(const ParaStruct& d, int rib)
{
    const QVector3D chord = d.ribCurves3D[rib][0] - d.ribCurves3D[rib][d.noseIndex[rib]];
    return std::atan2(std::hypot(double(chord.y()), double(chord.z())), double(chord.x()));
}

// The twist a rib is built with, by the wing's rule: the first rib of the
// half wing stands upright, every other at its front-view angle.
double expectedTwist(const ParaStruct& d, int rib, double twistDegrees)
{
    const double angle = rib == d.firstRib ? 0.0 : d.ribAngle[rib];
    return std::fabs(Wing_Attack(twistDegrees, angle));
}

} // namespace

class TestRecompute : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Install_Recompute_Hooks(); }

    // A program, bench or test that forgot the start-up gets no design
    // without diagonals or lines: the run is refused, naming the step, and
    // the design is left exactly as it was.
    void missingStepIsRefused_data()
    {
        QTest::addColumn<int>("missing"); // 0 .. 2: hooks; 3: the rear range service
        QTest::addColumn<QString>("named");
        QTest::newRow("diagonals") << 0 << "Generate_All_Diagonals";
        QTest::newRow("cross-port offsets") << 1 << "Refresh_Cross_Port_Offsets";
        QTest::newRow("line plan") << 2 << "Place_Line_Plan";
        QTest::newRow("rear mini-rib range") << 3 << "Rear_Range";
    }
    void missingStepIsRefused()
    {
        QFETCH(int, missing);
        QFETCH(QString, named);
        auto d = fixture::makeWing(34);
        d->span += 0.5; // an edit the run would carry through
        const QByteArray before = recordImage(*d);

        const RecomputeHook hooks[3] = {RecomputeHook::Diagonals, RecomputeHook::CrossPortOffsets,
                                        RecomputeHook::LinePlan};
        RecomputeStep removedStep = nullptr;
        RearRangeService removedService = nullptr;
        if (missing < 3)
            removedStep = Set_Recompute_Hook(hooks[missing], nullptr);
        else
            removedService = Set_Rear_Range_Service(nullptr);
        QStringList ran;
        const RecomputeTrace trace = Set_Recompute_Trace([&ran](const char* step) { ran << step; });

        QString message;
        try {
            Refresh_Calculations(d.get());
        } catch (const MissingRecomputeStep& e) {
            message = QString::fromStdString(e.what());
        }
        const QStringList reported = Missing_Recompute_Steps();

        Set_Recompute_Trace(trace);
        if (missing < 3)
            Set_Recompute_Hook(hooks[missing], removedStep);
        else
            Set_Rear_Range_Service(removedService);

        QVERIFY2(message.contains(named), qPrintable(message));
        QVERIFY2(message.contains("Install_Recompute_Hooks"), qPrintable(message));
        QCOMPARE(reported, QStringList{named});
        QVERIFY(ran.isEmpty());
        QVERIFY(recordImage(*d) == before);
        // Installed again, the same run goes through.
        QVERIFY(Missing_Recompute_Steps().isEmpty());
        Refresh_Calculations(d.get());
        QVERIFY(recordImage(*d) != before);
    }

    // The twist of a run: every rib's chord turned by the wing's rule for
    // that twist, the front view's twisted leading edge too, while the
    // design keeps the twist it holds; every step runs.
    void twistIsAParameterOfTheRun_data()
    {
        QTest::addColumn<bool>("given");
        QTest::addColumn<double>("twist");
        QTest::newRow("the design's own") << false << 0.0;
        QTest::newRow("none") << true << 0.0;
        QTest::newRow("another") << true << 6.5;
    }
    void twistIsAParameterOfTheRun()
    {
        QFETCH(bool, given);
        QFETCH(double, twist);
        auto d = fixture::makeWing(34);
        d->maxTwistAngle = 4.0;
        RecomputeParams params;
        if (given)
            params.twist = twist;
        const double built = given ? twist : d->maxTwistAngle;
        QStringList ran;
        const RecomputeTrace trace = Set_Recompute_Trace([&ran](const char* step) { ran << step; });
        Refresh_Calculations(d.get(), params);
        Set_Recompute_Trace(trace);

        QCOMPARE(ran.size(), 15);
        QCOMPARE(d->maxTwistAngle, 4.0);
        for (int r = d->firstRib; r <= d->lastRib; ++r) {
            const double expected = expectedTwist(*d, r, built);
            QVERIFY2(std::fabs(chordAngle(*d, r) - expected) < 1e-5,
                     qPrintable(QStringLiteral("rib %1: %2 against %3").arg(r).arg(chordAngle(*d, r)).arg(expected)));
            const double leadingEdge =
                (d->frontZ[r] - d->frontZ[0]) * std::tan(built * wl::Pi / 180) + d->leadingEdgeX[0];
            QVERIFY(std::fabs(d->twistedLeadingEdgeX[r] - leadingEdge) < 1e-9);
        }
        // Outer ribs are turned for a twist, none is without.
        QCOMPARE(chordAngle(*d, d->lastRib - 1) > 0.01, built != 0.0);
    }
};

QTEST_APPLESS_MAIN(TestRecompute)
#include "tst_recompute.moc"
