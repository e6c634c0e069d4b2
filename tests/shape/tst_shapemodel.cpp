// The shape computations without their editors: the pattern limits, the
// nose billow tables, the skin-tension marker ranges, the front view's
// figures and the plan outline, checked against hand-computed cases and
// closed-form geometry.

#include <QTest>
#include <QObject>
#include <QPointF>
#include <QPolygonF>

#include <cmath>
#include <limits>
#include <memory>

#include "core/parastruct.h"
#include "shape/billow.h"
#include "shape/frontview.h"
#include "shape/patternlimits.h"
#include "shape/planoutline.h"
#include "tests/core/designfixture.h"

namespace {

// Points (x0 + step * j, 0) for j = 0 .. n - 1.
QPolygonF straightOutline(int n, double step, double x0 = 0)
{
    QPolygonF p;
    for (int j = 0; j < n; ++j)
        p << QPointF(x0 + step * j, 0);
    return p;
}

bool near(double a, double b, double tolerance = 1e-9)
{
    return std::fabs(a - b) <= tolerance * (1 + std::fabs(b));
}

// A record with a front view laid by hand: half span 1000 plan units = 5 m.
std::unique_ptr<ParaStruct> frontRecord(double span, double hangHeight, int lastCell)
{
    auto d = std::make_unique<ParaStruct>();
    d->span = span;
    d->hangHeight = hangHeight;
    d->lastCell = lastCell;
    d->lastRib = 3;
    const double y[4] = {0, 300, 550, 600};
    const double z[4] = {100, 150, 400, 700};
    for (int r = 0; r < 4; ++r) {
        d->frontY[r] = y[r];
        d->frontZ[r] = z[r];
    }
    d->frontControlPoints[0] = QPointF(0, 100);
    d->frontArcLength = 1000;
    return d;
}

} // namespace

class TestShapeModel : public QObject
{
    Q_OBJECT

private slots:
    // --- pattern limits -----------------------------------------------------

    void patternLimits_data()
    {
        QTest::addColumn<double>("diameter");
        QTest::addColumn<double>("tipFactor");
        QTest::addColumn<double>("cavity");
        QTest::addColumn<double>("diameterOut");
        QTest::addColumn<double>("tipFactorOut");
        QTest::addColumn<double>("cavityOut");
        QTest::newRow("inside stays") << 4.0 << 0.7 << 0.2 << 4.0 << 0.7 << 0.2;
        QTest::newRow("at the bounds stays") << 1.0 << 0.0025 << 0.0 << 1.0 << 0.0025 << 0.0;
        QTest::newRow("upper bounds stay") << 1.0 << 1.0 << 0.5 << 1.0 << 1.0 << 0.5;
        QTest::newRow("below") << 0.5 << 0.001 << -0.1 << 1.0 << 0.0025 << 0.0;
        QTest::newRow("above") << 30.0 << 1.5 << 0.7 << 30.0 << 1.0 << 0.5;
        QTest::newRow("zero and negative") << 0.0 << -2.0 << -5.0 << 1.0 << 0.0025 << 0.0;
    }
    void patternLimits()
    {
        QFETCH(double, diameter);
        QFETCH(double, tipFactor);
        QFETCH(double, cavity);
        auto d = std::make_unique<ParaStruct>();
        d->controlPointDiameter = diameter;
        d->edgeTipFactor = tipFactor;
        d->minirib.rearRibCavity = cavity;
        const double span = d->span = 9.5;
        Apply_PatternLimits(d.get());
        QTEST(d->controlPointDiameter, "diameterOut");
        QTEST(d->edgeTipFactor, "tipFactorOut");
        QTEST(d->minirib.rearRibCavity, "cavityOut");
        QCOMPARE(d->span, span);
        Apply_PatternLimits(nullptr);
    }

    // --- nose billow ---------------------------------------------------------

    // The inflated outline is the flat one stretched by 1.25: from the nose
    // to point j the flat length is (nose - j + 1) and the inflated one 1.25
    // times that, so the relative difference is 0.2 everywhere and the
    // offset half the length the inflation adds.
    void noseBillowOfAStretchedOutline_data()
    {
        QTest::addColumn<int>("nose");
        QTest::addColumn<int>("marker");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("line");
        QTest::addColumn<double>("offset");
        QTest::newRow("marker near the nose") << 8 << 5 << 4 << 5 << 0.5 * 0.25 * 4;
        QTest::newRow("marker at the nose") << 8 << 8 << 4 << 8 << 0.5 * 0.25 * 1;
        QTest::newRow("marker behind the middle") << 8 << 2 << 7 << 2 << 0.5 * 0.25 * 7;
        QTest::newRow("marker at the trailing edge") << 8 << 0 << 9 << 0 << 0.5 * 0.25 * 9;
        QTest::newRow("marker past the nose") << 8 << 9 << 4 << -1 << 0.0;
        QTest::newRow("no marker") << 8 << -1 << 9 << -1 << 0.0;
        QTest::newRow("nose beyond the outline") << 40 << 6 << 5 << 6 << 0.5 * 0.25 * 4;
    }
    void noseBillowOfAStretchedOutline()
    {
        QFETCH(int, nose);
        QFETCH(int, marker);
        QFETCH(int, entries);
        QFETCH(int, line);
        QFETCH(double, offset);
        const QPolygonF flat = straightOutline(11, 1.0);
        const QPolygonF inflated = straightOutline(11, 1.25, 3.0);
        const NoseBillow b = Nose_Billow(flat, inflated, nose, marker);
        QCOMPARE(b.point.size(), entries);
        QCOMPARE(b.length.size(), entries);
        QCOMPARE(b.difference.size(), entries);
        const int N = std::min(nose, 9);
        for (int k = 0; k < entries; ++k) {
            QCOMPARE(b.point.at(k), N - k);
            QVERIFY(near(b.length.at(k), 1.25 * (k + 1)));
            QVERIFY(near(b.difference.at(k), 0.2));
        }
        QCOMPARE(b.lineIndex, line);
        QCOMPARE(b.found(), line >= 0);
        QVERIFY2(near(b.lineOffset, offset), qPrintable(QString::number(b.lineOffset)));
    }

    void noseBillowOfDegenerateOutlines()
    {
        const QPolygonF flat = straightOutline(11, 1.0);
        // fewer than two common points: no tables
        for (const QPolygonF& inflated : {QPolygonF(), QPolygonF{QPointF(0, 0)}}) {
            const NoseBillow b = Nose_Billow(flat, inflated, 8, 5);
            QVERIFY(b.point.isEmpty());
            QVERIFY(!b.found());
        }
        QVERIFY(!Nose_Billow(QPolygonF(), flat, 8, 5).found());
        // an inflated outline shorter than the flat one: the common points
        const NoseBillow shorter = Nose_Billow(flat, straightOutline(7, 1.25), 8, 3);
        QCOMPARE(shorter.point.first(), 5);
        QCOMPARE(shorter.lineIndex, 3);
        QVERIFY(near(shorter.lineOffset, 0.5 * 0.25 * 3));
        // an inflated outline of no length gives no difference, not a division by 0
        const NoseBillow still = Nose_Billow(flat, straightOutline(11, 0.0), 8, 5);
        QCOMPARE(still.lineIndex, 5);
        QCOMPARE(still.lineOffset, 0.0);
        QCOMPARE(still.difference.first(), 0.0);
    }

    // On the test wing the design function stores the billow line at
    // marker 3 with half the length the inflation adds (the length of the
    // inflated outline measured here point by point), and keeps the line of
    // a marker it cannot place.
    void billowCompensationOfTheTestWing()
    {
        auto d = fixture::makeWing(34);
        const int N = d->noseIndex[d->firstRib];
        d->skinControlIndex[3] = N - 60;
        const NoseBillow b = Billow_Compensation(d.get());
        QCOMPARE(d->billowLineIndex, N - 60);
        QCOMPARE(b.lineIndex, N - 60);
        QVERIFY(std::isfinite(d->billowLineOffset));
        QCOMPARE(d->billowLineOffset, b.lineOffset);
        // the inflated cloth is longer than the flat outline
        QVERIFY(b.lineLength > 0);
        double flat = 0;
        const QPolygonF& F = d->ribAirfoils[1];
        for (int j = N; j >= N - 60; --j)
            flat += std::hypot(F.at(j + 1).x() - F.at(j).x(), F.at(j + 1).y() - F.at(j).y());
        QVERIFY(b.lineLength > flat);
        QVERIFY(near(d->billowLineOffset, 0.5 * (b.lineLength - flat), 1e-9));

        d->skinControlIndex[3] = N + 10;
        const double offset = d->billowLineOffset;
        QVERIFY(!Billow_Compensation(d.get()).found());
        QCOMPARE(d->billowLineIndex, N - 60);
        QCOMPARE(d->billowLineOffset, offset);
    }

    // --- skin-tension markers -------------------------------------------------

    void skinMarkerRanges_data()
    {
        QTest::addColumn<int>("marker");
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        // nose 500, highest point 420, lowest 600, second line row at 540
        QTest::newRow("1 upper nose zone") << 1 << 423 << 497;
        QTest::newRow("2 lower zone") << 2 << 543 << 597;
        QTest::newRow("3 billow line") << 3 << 420 << 497;
        QTest::newRow("4 upper trailing edge") << 4 << 3 << 417;
        QTest::newRow("5 lower trailing edge") << 5 << 603 << 997;
    }
    void skinMarkerRanges()
    {
        QFETCH(int, marker);
        QFETCH(int, lo);
        QFETCH(int, hi);
        auto d = std::make_unique<ParaStruct>();
        d->noseIndex[1] = 500;
        d->topIndex[1] = 420;
        d->bottomIndex[1] = 600;
        d->lineIndex[1][1] = 540;
        const IndexRange r = Skin_Marker_Range(*d, marker);
        QCOMPARE(r.lo, lo);
        QCOMPARE(r.hi, hi);
        for (int other = 1; other <= 5; ++other)
            d->skinControlIndex[other] = 1000 + other;
        d->skinControlIndex[marker] = lo - 1;
        Limit_Skin_Marker(d.get(), marker);
        QCOMPARE(d->skinControlIndex[marker], lo);
        d->skinControlIndex[marker] = hi + 1;
        Limit_Skin_Marker(d.get(), marker);
        QCOMPARE(d->skinControlIndex[marker], hi);
        d->skinControlIndex[marker] = (lo + hi) / 2;
        Limit_Skin_Marker(d.get(), marker);
        QCOMPARE(d->skinControlIndex[marker], (lo + hi) / 2);
        for (int other = 1; other <= 5; ++other)
            if (other != marker)
                QCOMPARE(d->skinControlIndex[other], 1000 + other);
        // no marker 0 or 6
        d->skinControlIndex[0] = -7;
        Limit_Skin_Marker(d.get(), 0);
        Limit_Skin_Marker(d.get(), 6);
        QCOMPARE(d->skinControlIndex[0], -7);
    }

    void chordPercent()
    {
        // x = (1 + cos(pi j / 500)) / 2 on the upper side: the middle point
        // lies at half the chord
        const QPolygonF foil = fixture::standardAirfoil(0.15, 0.02, 500);
        QVERIFY(near(Chord_Percent(foil, 500, 250), 50.0, 1e-9));
        QVERIFY(near(Chord_Percent(foil, 500, 0), 100.0));
        QVERIFY(near(Chord_Percent(foil, 500, 500), 0.0));
        QVERIFY(near(Chord_Percent(foil, 500, 999), 100.0));
        // a point the foil does not have counts as x = 0, here the nose
        QCOMPARE(Chord_Percent(foil, 500, 5000), 0.0);
        // no chord
        QCOMPARE(Chord_Percent(QPolygonF(), 500, 250), 0.0);
        QCOMPARE(Chord_Percent(straightOutline(10, 0.0), 5, 2), 0.0);
    }

    void noseFolding()
    {
        // x falls toward the nose at point 10
        QPolygonF outline;
        for (int j = 0; j <= 20; ++j)
            outline << QPointF(std::abs(j - 10), j < 10 ? 1 : -1);
        QVERIFY(!Nose_Folded(outline, 10));
        QPolygonF folded = outline;
        folded[7].setX(-0.5); // one of the four points before the nose lies ahead of it
        QVERIFY(Nose_Folded(folded, 10));
        QPolygonF touching = outline;
        touching[8].setX(0.00005); // closer than 0.0001 behind the nose
        QVERIFY(Nose_Folded(touching, 10));
        QPolygonF beyond = outline;
        beyond[4].setX(-1); // further back than the points checked
        QVERIFY(!Nose_Folded(beyond, 10));
        QVERIFY(!Nose_Folded(outline, 4));
        QVERIFY(!Nose_Folded(outline, 21));
        QVERIFY(!Nose_Folded(QPolygonF(), 10));
    }

    // --- front view ------------------------------------------------------------

    void frontFiguresOfAHandLaidWing()
    {
        // span 10 m, hang height 7 m: the hang point lies 1400 units below
        // the centre; the tip rib at (600, 700) is 800 above and 600 beside
        // it, so half the open angle is asin(0.6)
        auto d = frontRecord(10, 7, 17);
        const FrontViewFigures f = Front_View_Figures(*d);
        QVERIFY(near(f.hangY, 1500));
        QCOMPARE(f.ribs.size(), 4);
        QCOMPARE(f.tipRib, QPointF(600, 700));
        QCOMPARE(f.outermost, QPointF(600, 700));
        QVERIFY(near(f.openAngle, 2 * std::asin(0.6)));
        QVERIFY(near(f.projectedSpan, 6.0));      // 2 x 600 units x 5 m / 1000
        QVERIFY(near(f.tipHeight, -3.0));         // 600 units below the centre
        QVERIFY(f.arcReachesSpan);
        d->frontArcLength = 999;
        QVERIFY(!Front_View_Figures(*d).arcReachesSpan);
    }

    void outermostRibIsTheFirstFarthestOut()
    {
        auto d = frontRecord(10, 7, 17);
        // the tip curls back in: the rib farthest out is rib 2
        d->frontY[3] = 500;
        d->frontY[2] = 650;
        const FrontViewFigures f = Front_View_Figures(*d);
        QCOMPARE(f.outermost, QPointF(650, 400));
        QCOMPARE(f.tipRib, QPointF(500, 700));
        QVERIFY(near(f.projectedSpan, 6.5));
        QVERIFY(near(f.tipHeight, -1.5));
    }

    // The flat span laid around the hang point at the hang height: every
    // point of the circle lies at the hang height from it, the circle runs
    // symmetrically through the centre, and the angle it spans is the flat
    // span over the hang height (arc length over radius).
    void referenceCircle_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<double>("hangHeight");
        QTest::addColumn<int>("cells");
        QTest::newRow("usual wing") << 10.0 << 7.0 << 17;
        QTest::newRow("one cell beside the centre") << 11.0 << 6.5 << 1;
        QTest::newRow("short lines: tips below the pilot") << 10.0 << 2.5 << 9;
    }
    void referenceCircle()
    {
        QFETCH(double, span);
        QFETCH(double, hangHeight);
        QFETCH(int, cells);
        auto d = frontRecord(span, hangHeight, cells);
        const FrontViewFigures f = Front_View_Figures(*d);
        const double radius = 1000 * hangHeight / (span / 2);
        QCOMPARE(f.circle.size(), 2 * cells + 1);
        for (const QPointF& p : f.circle)
            QVERIFY(near(std::hypot(p.x(), p.y() - f.hangY), radius, 1e-9));
        QVERIFY(near(f.circle.at(cells).x(), 0) && near(f.circle.at(cells).y(), 100));
        QVERIFY(near(f.circle.first().x(), -f.circle.last().x()));
        QVERIFY2(near(f.circleAngle, span / hangHeight, 1e-9),
                 qPrintable(QString("%1 rad, expected %2").arg(f.circleAngle).arg(span / hangHeight)));
    }

    // The reference curve leaves the centre level and meets the tip at 45
    // degrees: its slope is tan of an angle growing evenly along the span.
    void referenceCurve()
    {
        auto d = frontRecord(10, 7, 17);
        const FrontViewFigures f = Front_View_Figures(*d);
        QCOMPARE(f.reference.size(), 101);
        QCOMPARE(f.reference.first(), QPointF(0, 100));
        QVERIFY(near(f.reference.last().x(), 1000 * 5.0 / 7.0));
        for (int k = 1; k < f.reference.size(); ++k) {
            const QPointF a = f.reference.at(k - 1);
            const QPointF b = f.reference.at(k);
            const double slope = (b.y() - a.y()) / (b.x() - a.x());
            const double middle = (k - 0.5) / 100 * fixture::kPi / 4;
            QVERIFY2(near(slope, std::tan(middle), 1e-4), qPrintable(QString::number(k)));
        }
    }

    void noCircleWithoutCellsOrHangHeight_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<double>("hangHeight");
        QTest::addColumn<int>("cells");
        QTest::newRow("no cell beside the centre") << 10.0 << 7.0 << 0;
        QTest::newRow("no hang height") << 10.0 << 0.0 << 17;
        QTest::newRow("negative hang height") << 10.0 << -1.0 << 17;
        QTest::newRow("no span") << 0.0 << 7.0 << 17;
    }
    void noCircleWithoutCellsOrHangHeight()
    {
        QFETCH(double, span);
        QFETCH(double, hangHeight);
        QFETCH(int, cells);
        auto d = frontRecord(span, hangHeight, cells);
        const FrontViewFigures f = Front_View_Figures(*d);
        QVERIFY(f.circle.isEmpty());
        QVERIFY(f.reference.isEmpty());
        QCOMPARE(f.circleAngle, 0.0);
        QVERIFY(std::isfinite(f.hangY) && std::isfinite(f.openAngle));
        QVERIFY(std::isfinite(f.projectedSpan) && std::isfinite(f.tipHeight));
    }

    void openingAngle_data()
    {
        QTest::addColumn<QPointF>("p");
        QTest::addColumn<double>("angle");
        QTest::newRow("straight above") << QPointF(0, 100) << 0.0;
        QTest::newRow("45 degrees") << QPointF(300, 200) << fixture::kPi / 2;
        QTest::newRow("level with the hang point") << QPointF(-300, 500) << fixture::kPi;
        QTest::newRow("below the hang point") << QPointF(300, 800) << 1.5 * fixture::kPi;
        QTest::newRow("straight below") << QPointF(0, 900) << 2 * fixture::kPi;
    }
    void openingAngle()
    {
        QFETCH(QPointF, p);
        QFETCH(double, angle);
        QVERIFY2(near(Front_Opening_Angle(p, 500), angle), qPrintable(QString::number(Front_Opening_Angle(p, 500))));
    }

    // A flat, straight base line at least as long as the half span puts
    // every rib on the centre's level: the projected span is the flat one.
    void straightBaseLineProjectsTheFlatSpan()
    {
        auto d = fixture::makeWing(34, false);
        fixture::setStraightBaseLine(d.get());
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());
        const FrontViewFigures f = Front_View_Figures(*d);
        QVERIFY2(near(f.projectedSpan, d->span, 1e-3), qPrintable(QString::number(f.projectedSpan)));
        QVERIFY(near(f.tipHeight, 0, 1e-9));
        QVERIFY(f.arcReachesSpan);
        // hang height 7 m under a 10 m wing: the tips 5 m beside, 7 m above
        QVERIFY(near(f.openAngle, 2 * std::atan2(5.0, 7.0), 1e-3));
    }

    // --- plan outline --------------------------------------------------------

    void minCellWidth()
    {
        auto d = std::make_unique<ParaStruct>();
        d->span = 10;
        d->lastRib = 4;
        const double pos[5] = {0, 100, 300, 450, 1000};
        for (int r = 0; r < 5; ++r)
            d->ribSpanPos[r] = pos[r];
        // cells from rib 1: 200, 150 and 550 units of 5 mm; the centre cell
        // (100 units) is left out
        QVERIFY(near(Min_Cell_Width(*d), 75.0));
        d->lastRib = 1;
        QCOMPARE(Min_Cell_Width(*d), 1000.0);
    }

    void chordsAndPlacement()
    {
        auto d = std::make_unique<ParaStruct>();
        d->span = 10;
        const QPointF P[8] = {{0, 100}, {400, 100}, {800, 130}, {1000, 250},
                              {0, 400}, {400, 400}, {800, 380}, {1000, 320}};
        QVERIFY(near(Centre_Chord(*d, P), 150.0));   // 300 units
        QVERIFY(near(Tip_Chord(*d, P), 35.0));       // 70 units
        d->SaveCanopyPos(P);
        QPointF placed[8];
        Plan_Points_At(*d, QPointF(60, 650), placed);
        QCOMPARE(placed[4], QPointF(60, 650));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(placed[i] - P[i], QPointF(60, 250));
        // the design keeps its points
        QPointF stored[8];
        d->GetCanopyPos(stored);
        QCOMPARE(stored[3], P[3]);
    }

    // A rectangular half wing of chord 300 units (1.5 m at 10 m span) has
    // the flat area span x chord and the aspect ratio span / chord.
    void planOutlineRecomputesTheFigures()
    {
        auto d = fixture::makeWing(34);
        const QPointF P[8] = {{0, 100},   {333.5, 100}, {667, 100}, {1000.5, 100},
                              {0, 400},   {333.5, 400}, {667, 400}, {1000.5, 400}};
        Apply_PlanOutline(d.get(), P);
        QPointF stored[8];
        d->GetCanopyPos(stored);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(stored[i], P[i]);
        QVERIFY2(near(d->flatArea, 15.0, 2e-3), qPrintable(QString::number(d->flatArea)));
        QVERIFY2(near(d->flatAspectRatio, 10 / 1.5, 2e-3), qPrintable(QString::number(d->flatAspectRatio)));
        QVERIFY(near(d->meanChord, 1.5, 2e-3));

        // without airfoils nothing is taken
        auto empty = std::make_unique<ParaStruct>();
        const QPointF before = empty->planControlPoints[2];
        Apply_PlanOutline(empty.get(), P);
        QCOMPARE(empty->planControlPoints[2], before);
        Apply_PlanOutline(nullptr, P);
        Apply_PlanOutline(d.get(), nullptr);
    }
};

QTEST_MAIN(TestShapeModel)
#include "tst_shapemodel.moc"
