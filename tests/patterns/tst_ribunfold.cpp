// The full rib unfolding: the plane mapping on the recomputed canopy, the
// control points, the mylar and the rods, and the seam-allowance outlines.

#include <QTest>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QString>
#include <QVector3D>

#include "core/calcul3d.h"
#include "airfoils/foilunfold.h"
#include "core/parastruct.h"
#include "geom/patternfun.h"
#include "patterns/ribseams.h"
#include "geom/ribunfold.h"
#include "tests/patterns/outlinecheck.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

namespace {

double dist(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// A circle of radius r about c in n points, clockwise in a y-up frame (as an
// unfolded rib runs), the last point on the first.
QPolygonF clockwiseCircle(QPointF c, double r, int n)
{
    QPolygonF p;
    for (int k = 0; k < n; ++k) {
        const double a = -2 * M_PI * k / (n - 1);
        p.append(c + r * QPointF(std::cos(a), std::sin(a)));
    }
    return p;
}

} // namespace

class TestRibUnfold : public QObject
{
    Q_OBJECT
private slots:
    // The canopy puts every rib into the plane the inverse mapping assumes:
    // a flat rib point goes back onto its 3-D point, for straight and for
    // tilted ribs, with a centre rib and with a centre cell. Rib 0 keeps the
    // y of its trailing edge.
    void canopyRoundTrip_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<bool>("tilted");
        QTest::newRow("34 cells") << 34 << false;
        QTest::newRow("35 cells") << 35 << false;
        QTest::newRow("34 cells, slash ribs") << 34 << true;
        QTest::newRow("35 cells, slash ribs") << 35 << true;
    }
    void canopyRoundTrip()
    {
        QFETCH(int, cells);
        QFETCH(bool, tilted);
        auto d = patternfixture::defaultDesign(cells);
        if (tilted) {
            d->ribTilt = 1.0;
            Refresh_Calculations(d.get());
        }
        double worst = 0;
        for (int r = 0; r <= d->lastRib; ++r) {
            const QVector3D R = d->ribCurves3D[r][0];
            const double psi = Psi_angle(d.get(), r);
            for (int k = 0; k < kAirfoilPoints; k += 7) {
                const QVector3D P = d->ribCurves3D[r][k];
                const QVector3D back = mapfoilT_2D_3D(d.get(), r, mapfoilPnt_3D_2D(psi, P, R));
                if (r == 0)
                    QCOMPARE(back.y(), R.y());
                if (r == 0 && !d->centreRib)
                    continue; // the centre cell's rib 0 is no rib of the wing
                worst = std::max(worst, double((back - P).length()));
            }
        }
        // Single precision of coordinates of some hundred plan units.
        QVERIFY2(worst < 2e-3, qPrintable(QString::number(worst)));
    }

    // The eight outputs of one rib against their definitions.
    void unfoldOutputs()
    {
        auto d = patternfixture::defaultDesign();
        const int r = 5;
        d->rod1.index[0] = 80;
        d->rod1.index[1] = 120;
        d->rod2.index[0] = 30;
        d->rod2.index[1] = 40;
        d->minirib.mylarStart = 30; // 100 points before the nose
        d->minirib.mylarEnd = 15;   // 50 after it
        for (int j = 0; j < 5; ++j) {
            d->minirib.mylarSplineA[j] = (j + 1) / 6.0;
            d->minirib.mylarSplineB[j] = 0.8;
        }
        RibUnfolding u;
        Unfold_AirFoil(d.get(), r, &u);
        const int n = d->noseIndex[r];

        QPolygonF quick;
        Quick_Unfold_AirFoil(d.get(), r, &quick);
        QCOMPARE(u.outline, quick);
        QCOMPARE(u.outline.first(), QPointF(d->ribCurves3D[r][0].x(), 0));

        // Control points: every control index, in order, with its side.
        QList<int> expected;
        for (int k = 0; k < kAirfoilPoints; ++k)
            if (d->is_Control(k, r))
                expected << k;
        QCOMPARE(u.controls.size(), expected.size());
        QCOMPARE(u.controlSides.size(), expected.size());
        QVERIFY(expected.contains(n));
        for (int j = 0; j < expected.size(); ++j) {
            const int k = expected.at(j);
            QCOMPARE(u.controlSides.at(j), QPoint(k, k >= n ? 1 : 0));
            QCOMPARE(u.controls.at(j), u.outline.at(k));
        }

        // Mylar: the outline strictly between n - 100 and n + 50, then the
        // spline edge from the lower end back to the upper end.
        const int stretch = (n + 50) - (n - 100) - 1;
        QVERIFY(u.mylar.size() > stretch + 2);
        QCOMPARE(u.mylar.first(), u.outline.at(n - 99));
        QCOMPARE(u.mylar.at(stretch - 1), u.outline.at(n + 49));
        QVERIFY(dist(u.mylar.last(), u.outline.at(n - 100)) < 1e-9);
        QVERIFY(dist(u.mylar.at(stretch), u.outline.at(n + 50)) < 0.05 * dist(u.outline.at(n - 100), u.outline.at(n + 50)));

        // Nose rod: hook (50), the points strictly between n - 80 and n + 120,
        // hook (50), then the same backwards.
        const int section1 = 199;
        QCOMPARE(u.rod1.size(), 2 * (50 + section1 + 50));
        for (int j = 0; j < u.rod1.size() / 2; ++j)
            QCOMPARE(u.rod1.at(j), u.rod1.at(u.rod1.size() - 1 - j));
        QCOMPARE(u.rod1.at(49), u.outline.at(n - 80));     // hook 1 ends on the rod's start
        QCOMPARE(u.rod1.at(50), u.outline.at(n - 79));
        QCOMPARE(u.rod1.at(50 + section1), u.outline.at(n + 120)); // hook 2 starts on its end
        for (const QPointF& c : u.rod1Controls)
            QVERIFY(u.rod1.contains(c));

        // Lower rod: around the middle of rows O2 and A, on the lower side.
        const int m = (d->lineIndex[1][r] + d->lineIndex[2][r]) / 2;
        const int section2 = std::min(m + 40, 999) - std::max(n - 1, m - 30) - 1;
        QCOMPARE(u.rod2.size(), 2 * (100 + section2));
        QCOMPARE(u.rod2.at(50), u.outline.at(std::max(n - 1, m - 30) + 1));
    }

    // Both mylar extents 0: the outline stretch is empty and the spline edge
    // is its seven control points collapsed at the nose.
    void mylarCollapsesAtTheNose()
    {
        auto d = patternfixture::defaultDesign();
        d->minirib.mylarStart = 0;
        d->minirib.mylarEnd = 0;
        RibUnfolding u;
        Unfold_AirFoil(d.get(), 3, &u);
        const QPointF nose = u.outline.at(d->noseIndex[3]);
        QVERIFY(!u.mylar.isEmpty());
        QCOMPARE(u.mylar.size(), Insert_MilarSpline(d.get(), 3).size());
        for (const QPointF& p : u.mylar)
            QVERIFY(dist(p, nose) < 1e-9);
    }

    // The rod sections: where they start and end around the nose and on the
    // lower side.
    void rodSections_data()
    {
        QTest::addColumn<int>("up");
        QTest::addColumn<int>("down");
        QTest::addColumn<int>("first"); // relative to the nose
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("defined");
        QTest::newRow("around the nose") << 50 << 60 << -49 << 59 << true;
        QTest::newRow("ends before the nose") << 50 << 0 << -49 << -1 << true;
        QTest::newRow("starts after the nose") << 0 << 60 << 1 << 59 << true;
        QTest::newRow("none") << 0 << 0 << 1 << 0 << false;
    }
    void rodSections()
    {
        QFETCH(int, up);
        QFETCH(int, down);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, defined);
        auto d = patternfixture::defaultDesign(6);
        d->rod1.index[0] = up;
        d->rod1.index[1] = down;
        QCOMPARE(is_rodUP(d.get()), defined);
        const int n = d->noseIndex[2];
        QList<int> on;
        for (int k = 0; k < kAirfoilPoints; ++k)
            if (is_rodUPSection(d.get(), k, 2))
                on << k - n;
        if (!defined) {
            QVERIFY(on.isEmpty());
            RibUnfolding u;
            Unfold_AirFoil(d.get(), 2, &u);
            QCOMPARE(u.rod1.size(), 200); // only the two hooks, there and back
            return;
        }
        QCOMPARE(on.first(), first);
        QCOMPARE(on.last(), last);
        QCOMPARE(on.size(), last - first + 1);
    }

    // The lower rod never reaches the upper side, however far it extends.
    void lowerRodStaysBelow()
    {
        auto d = patternfixture::defaultDesign(6);
        d->rod2.index[0] = 500;
        d->rod2.index[1] = 500;
        QVERIFY(is_rodDW(d.get()));
        const int n = d->noseIndex[2];
        int first = -1, last = -1;
        for (int k = 0; k < kAirfoilPoints; ++k) {
            if (is_rodDWSection(d.get(), k, 2)) {
                if (first < 0)
                    first = k;
                last = k;
            }
        }
        QCOMPARE(first, n);
        QCOMPARE(last, 998);
        d->rod2.index[0] = d->rod2.index[1] = 0;
        QVERIFY(!is_rodDW(d.get()));
        for (int k = 0; k < kAirfoilPoints; ++k)
            QVERIFY(!is_rodDWSection(d.get(), k, 2));
    }

    // A rib without airfoil is not unfolded: every output keeps what the
    // caller had in it.
    void ribWithoutAirfoilKeepsOutputs()
    {
        auto d = patternfixture::defaultDesign(6);
        d->noseIndex[2] = 0;
        RibUnfolding u;
        u.outline = {QPointF(1, 2)};
        u.controlSides = {QPoint(3, 4)};
        u.mylar = {QPointF(5, 6)};
        u.rod2Controls = {QPointF(7, 8)};
        Unfold_AirFoil(d.get(), 2, &u);
        QCOMPARE(u.outline, QPolygonF{QPointF(1, 2)});
        QCOMPARE(u.controlSides, QPolygon{QPoint(3, 4)});
        QCOMPARE(u.mylar, QPolygonF{QPointF(5, 6)});
        QCOMPARE(u.rod2Controls, QPolygonF{QPointF(7, 8)});
        Unfold_AirFoil(d.get(), kRibSlots, &u);
        QCOMPARE(u.outline, QPolygonF{QPointF(1, 2)});
    }

    // The rib allowance lies outside a clockwise outline, the allowance away
    // from it up to the sag of the chords it is built on.
    void ribAllowanceIsOutside()
    {
        const QPolygonF circle = clockwiseCircle(QPointF(0, 0), 100, kAirfoilPoints);
        const double d = 2.0;
        const QPolygonF cut = Airfoil_ubermuss(d, circle);
        // chords j -> j + 4 for j = 0, 5, .. < 994: 199 chords, two points each, and the closing point
        QCOMPARE(cut.size(), 2 * 199 + 1);
        const double sag = 100 * (1 - std::cos(4 * M_PI / (kAirfoilPoints - 1)));
        for (const QPointF& p : cut) {
            const double off = std::hypot(p.x(), p.y()) - 100;
            QVERIFY2(off > d - sag - 1e-9 && off < d + 1e-9, qPrintable(QString::number(off)));
        }
        QVERIFY(Airfoil_ubermuss(d, QPolygonF{QPointF(0, 0), QPointF(1, 1)}).isEmpty());

        // A chord that runs exactly vertical is left out.
        QPolygonF steps;
        for (int k = 0; k < 20; ++k)
            steps.append(QPointF(k < 5 ? 0.0 : k, k));
        QCOMPARE(Airfoil_ubermuss(d, steps).size(), 2 * 3 - 2 + 1);
    }

    // A front mini-rib (an arc around the nose) is cut along the edge where
    // it ends too: its cut line closes there, the allowance behind the
    // straight edge between the arc's ends, and the whole arc lies inside
    // it, its ends the allowance in.
    void frontMiniRibCutCloses_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("deep") << 300 << 700;
        QTest::newRow("short") << 420 << 600;
        QTest::newRow("lopsided") << 350 << 520;
    }
    void frontMiniRibCutCloses()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        const QPolygonF circle = clockwiseCircle(QPointF(0, 0), 100, kAirfoilPoints);
        const QPolygonF arc = circle.mid(from, to - from + 1);
        const double d = 2.0;
        const QPolygonF cut = Front_Airfoil_ubermuss(d, arc);
        QCOMPARE(cut.last(), cut.first());
        // the open offset arc, its two end points moved onto the edge
        QCOMPARE(cut.size(), Airfoil_ubermuss(d, arc).size() + 1);
        const QLineF edge(arc.last(), arc.first());
        const QPointF normal = QPointF(edge.dy(), -edge.dx()) / edge.length();
        for (const QPointF& end : {cut.first(), cut.at(cut.size() - 2)}) {
            // the allowance behind the edge, on the side away from the nose
            const double behind = QPointF::dotProduct(end - arc.first(), normal);
            QVERIFY2(std::abs(std::abs(behind) - d) < 1e-9, qPrintable(QString::number(behind)));
            const double nose = QPointF::dotProduct(QPointF(-100, 0) - arc.first(), normal);
            QVERIFY(behind * nose < 0);
        }
        // the chords the allowance is built on, and the joins between them,
        // span up to eight points of the arc (the last chord two, the join
        // before it up to six)
        const double sag = 100 * (1 - std::cos(8 * M_PI / (kAirfoilPoints - 1)));
        for (const QPointF& p : arc) {
            QVERIFY(cut.containsPoint(p, Qt::OddEvenFill));
            QVERIFY2(outlinecheck::distanceToOutline(p, cut) > d - sag - 1e-9,
                     qPrintable(QStringLiteral("(%1, %2) %3 from the cut line")
                                    .arg(p.x())
                                    .arg(p.y())
                                    .arg(outlinecheck::distanceToOutline(p, cut))));
        }
        QCOMPARE(outlinecheck::selfCrossing(cut).first, -1);
    }

    // The rod band runs at the allowance around a straight path on both sides.
    void rodBandSurroundsThePath()
    {
        QPolygonF path;
        for (int k = 0; k < 60; ++k)
            path.append(QPointF(k, 0));
        QPolygonF back = path;
        std::reverse(back.begin(), back.end());
        const QPolygonF band = Rod_ubermuss(1.5, path + back);
        QCOMPARE(band.size(), 2 * 23 + 1);
        int above = 0, below = 0;
        for (const QPointF& p : band) {
            QVERIFY(std::abs(std::abs(p.y()) - 1.5) < 1e-9);
            (p.y() > 0 ? above : below)++;
        }
        QVERIFY(above > 10 && below > 10);
    }

    // The rear mini-rib's cavity keeps its points; everything else is offset.
    void rearAllowanceSparesTheCavity()
    {
        MiniRibFlat rear;
        rear.first = 6; // b: upper points 0 .. 5
        rear.last = 990;  // e: lower points 990 .. 998
        // 6 upper points, the last of them again, two inner cavity points,
        // the cavity's end e, then 9 lower points from e on: the cavity's end
        // stands at index e + n - 1000.
        QPolygonF p;
        for (int k = 0; k < 6; ++k)
            p.append(QPointF(100 - 10 * k, -5));
        p << QPointF(50, -5) << QPointF(45, -3) << QPointF(43, 0) << QPointF(50, 5);
        for (int k = 0; k < 9; ++k)
            p.append(QPointF(50 + 6 * k, 5));
        const int n = p.size();
        QCOMPARE(n, 19);
        const int cavityEnd = 990 + n - 1000; // 9, the first lower point
        QCOMPARE(p.at(cavityEnd), QPointF(50, 5));
        const QPolygonF out = Rear_Airfoil_ubermuss(rear, 1.0, p);
        // copied: j = b - 1 .. e + n - 1000, offset: the other n - 1 - 5
        // segments, then two corners beyond the trailing edge and the first
        // point again
        QCOMPARE(out.size(), 5 + 2 * (n - 1 - 5) + 2 + 1);
        QCOMPARE(out.last(), out.first());
        for (int j = 5; j <= cavityEnd; ++j)
            QVERIFY(out.contains(p.at(j)));
        // No point of the cut line on the seam line at the trailing edge:
        // the tip (100, -5) upper, (98, 5) lower; the sides are offset by 1.
        QVERIFY(!out.contains(p.first()) && !out.contains(p.last()));
        QVERIFY(Rear_Airfoil_ubermuss(rear, 1.0, QPolygonF()).isEmpty());
    }

    // The cut line of a rear mini-rib closes around its trailing edge with
    // the allowance all round the tip, however sharp: every point of the
    // seam's two trailing-edge points stays at least the allowance inside
    // it (distance to the closed cut line, an independent measure).
    void rearAllowanceRoundsTheTip_data()
    {
        QTest::addColumn<double>("halfAngle"); // of the trailing edge, degrees
        QTest::newRow("blunt") << 30.0;
        QTest::newRow("thin") << 8.0;
        QTest::newRow("sharp") << 2.0;
    }
    void rearAllowanceRoundsTheTip()
    {
        QFETCH(double, halfAngle);
        const double t = std::tan(halfAngle * M_PI / 180.0);
        MiniRibFlat rear;
        rear.first = 21; // upper 0 .. 20
        rear.last = 980; // lower 980 .. 998
        // A wedge with its tip at (200, 0), turned as the sheets have it
        // (upper side toward -y): the upper side from the tip forward, a
        // cavity straight across at x = 0, the lower side back to one step
        // short of the tip.
        QPolygonF p;
        for (int k = 0; k <= 20; ++k)
            p.append(QPointF(200 - 10 * k, -t * 10 * k));
        for (int k = 0; k <= 19; ++k)
            p.append(QPointF(10 * k, t * (200 - 10 * k)));
        QCOMPARE(p.size(), 41);
        const QPolygonF cut = Rear_Airfoil_ubermuss(rear, 3.0, p);
        QVERIFY(cut.size() > 4);
        QCOMPARE(cut.last(), cut.first());
        for (const QPointF& tip : {p.first(), p.last()}) {
            QVERIFY(cut.containsPoint(tip, Qt::OddEvenFill));
            QVERIFY2(outlinecheck::distanceToOutline(tip, cut) > 3.0 - 1e-6,
                     qPrintable(QString::number(outlinecheck::distanceToOutline(tip, cut))));
        }
    }

    void polygonOperations()
    {
        QCOMPARE(turn_I_Y(QPolygon{QPoint(3, 0), QPoint(4, 1000), QPoint(5, 250)}),
                 (QPolygon{QPoint(3, 1000), QPoint(4, 0), QPoint(5, 750)}));
        QVERIFY(turn_I_Y(QPolygon()).isEmpty());
        const QPolygonF r = Rotate_Poly(M_PI / 2, QPointF(1, 1), QPolygonF{QPointF(2, 1), QPointF(1, 3)});
        QVERIFY(dist(r.at(0), QPointF(1, 2)) < 1e-12);
        QVERIFY(dist(r.at(1), QPointF(-1, 1)) < 1e-12);
    }

    // The rod shape pairs sit with the extent of their end in the record.
    void rodShapePairs()
    {
        NoseRod rod;
        for (int k = 0; k < 4; ++k)
            Set_Rod_Shape_Pair(&rod, k, QPointF(0.1 * (k + 1), k + 1));
        QCOMPARE(rod.controlA[0], QPointF(0.1, 1));
        QCOMPARE(rod.controlB[0], QPointF(0.2, 2));
        QCOMPARE(rod.controlA[1], QPointF(0.30000000000000004, 3));
        QCOMPARE(rod.controlB[1], QPointF(0.4, 4));
        for (int k = 0; k < 4; ++k)
            QCOMPARE(Rod_Shape_Pair(rod, k), QPointF(0.1 * (k + 1), k + 1));
    }
};

QTEST_APPLESS_MAIN(TestRibUnfold)
#include "tst_ribunfold.moc"
