// Cross-port hole outlines and the polygon tools of the hole makers.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringLiteral>
#include <QVector3D>

#include "core/parastruct.h"
#include "tests/structure/structfixture.h"
#include "core/transf.h"
#include "structure/holefun.h"

#include <cmath>
#include <memory>

using namespace fixture;

namespace {

Triang triangle(QPointF a, QPointF b, QPointF c, int count, int rounding, int offsetMm)
{
    Triang t;
    t.corner[0] = a;
    t.corner[1] = b;
    t.corner[2] = c;
    t.holeCount = count;
    t.cornerCount = rounding;
    t.offsetMm = offsetMm;
    return t;
}

Trap band(double length, double height, int count, int rounding, int offsetMm)
{
    // Upper rear, upper front, lower front, lower rear.
    Trap t;
    t.corner[0] = QPointF(0, 0);
    t.corner[1] = QPointF(length, 0);
    t.corner[2] = QPointF(length, -height);
    t.corner[3] = QPointF(0, -height);
    t.holeCount = count;
    t.cornerCount = rounding;
    t.offsetMm = offsetMm;
    return t;
}

bool finite(const QPolygonF& p)
{
    for (const QPointF& q : p)
        if (!std::isfinite(q.x()) || !std::isfinite(q.y()))
            return false;
    return true;
}

} // namespace

class TestHoleFun : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> design = std::make_unique<ParaStruct>();

private slots:
    void initTestCase()
    {
        design->span = 11.6;
    }

    void upperPartner_data()
    {
        QTest::addColumn<int>("nose");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("expected");
        // Airfoil: trailing edge 0, upper 1..4, nose 5, lower 6..9.
        QTest::newRow("behind upper point 1") << 5 << 8 << 1;
        QTest::newRow("same x counts as behind") << 5 << 7 << 3;
        QTest::newRow("close to the nose") << 5 << 6 << 4;
        QTest::newRow("no nose") << 0 << 8 << 0;
        QTest::newRow("trailing edge in front") << 5 << 9 << 5;
        QTest::newRow("nothing in front before the nose") << 3 << 6 << 2;
        QTest::newRow("point outside") << 5 << 12 << 5;
    }
    void upperPartner()
    {
        QFETCH(int, nose);
        QFETCH(int, low);
        QFETCH(int, expected);
        QPolygonF p({QPointF(1.0, 0), QPointF(0.8, .05), QPointF(0.6, .08), QPointF(0.4, .09), QPointF(0.2, .07),
                     QPointF(0.0, 0), QPointF(0.2, -.05), QPointF(0.4, -.06), QPointF(0.7, -.04),
                     QPointF(1.2, -.01)});
        QCOMPARE(get_UPindex(&p, nose, low), expected);
        QPolygonF empty;
        QCOMPARE(get_UPindex(&empty, 5, 3), 5);
    }

    void triangleTwoRoundedHolesKeepTheWeb()
    {
        // Base edge on y = 0 from x = 0 to 300, apex above; the cut runs from
        // (150, 0) to the apex.
        const QPointF apex(100, 200), cut(150, 0);
        const Triang base = triangle({0, 0}, {300, 0}, apex, 2, 2, 10);
        const double web = Hole_Screen_Offset(design.get(), 10);
        QVERIFY(web > 1);
        const QList<QPolygonF> holes = Create_div_Triangles(design.get(), base, false);
        QCOMPARE(holes.size(), 2);
        const QPolygonF outline({base.corner[0], base.corner[1], base.corner[2]});
        for (const QPolygonF& h : holes) {
            QCOMPARE(h.size(), 72);
            QVERIFY(shoelace(h) <= 0);
            QVERIFY(allInside(outline, h));
        }
        // Each hole keeps half the web clear of the cut on its own side.
        for (const QPointF& p : holes[0])
            QVERIFY(sideOf(cut, apex, p) >= web / 2 - 1e-9);
        for (const QPointF& p : holes[1])
            QVERIFY(sideOf(cut, apex, p) <= -web / 2 + 1e-9);
        QVERIFY(!overlap(holes[0], holes[1]));
        // The divided parts themselves stand exactly one web apart at their
        // apexes, their base edges on the base edge.
        Triang parts[3];
        divide_Triang(design.get(), base, parts);
        QVERIFY(std::fabs(sideOf(cut, apex, parts[0].corner[2]) - web / 2) < 1e-9);
        QVERIFY(std::fabs(sideOf(cut, apex, parts[1].corner[2]) + web / 2) < 1e-9);
        for (int j : {0, 1})
            for (int k : {0, 1})
                QVERIFY(std::fabs(parts[j].corner[k].y()) < 1e-9);
    }

    void triangleHoleCounts_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rounding");
        QTest::addColumn<int>("holes");
        QTest::addColumn<int>("points");
        QTest::newRow("rounding 1: circles") << 2 << 1 << 2 << 50;
        QTest::newRow("rounding 0: circles") << 1 << 0 << 1 << 50;
        QTest::newRow("count 3") << 3 << 3 << 3 << 72;
        QTest::newRow("count 5 makes 3") << 5 << 2 << 3 << 72;
        QTest::newRow("count 0") << 0 << 2 << 0 << 0;
        QTest::newRow("negative count") << -1 << 2 << 0 << 0;
    }
    void triangleHoleCounts()
    {
        QFETCH(int, count);
        QFETCH(int, rounding);
        QFETCH(int, holes);
        QFETCH(int, points);
        const Triang base = triangle({0, 0}, {300, 0}, {150, -200}, count, rounding, 10);
        const QPolygonF outline({base.corner[0], base.corner[1], base.corner[2]});
        const QList<QPolygonF> out = Create_div_Triangles(design.get(), base, true);
        QCOMPARE(out.size(), holes);
        for (int i = 0; i < out.size(); ++i) {
            QCOMPARE(out[i].size(), points);
            QVERIFY(shoelace(out[i]) <= 0);
            QVERIFY(allInside(outline, out[i]));
            for (int j = 0; j < i; ++j)
                QVERIFY(!overlap(out[i], out[j]));
        }
        QCOMPARE(Create_div_Triangles_opened(design.get(), base).size(), holes);
    }

    void circlesSurviveTheCheck()
    {
        // A tiny triangle: its circles are kept whatever their size.
        const Triang base = triangle({0, 0}, {6, 0}, {3, 5}, 2, 1, 0);
        const QList<QPolygonF> out = Create_div_Triangles(design.get(), base, true);
        QCOMPARE(out.size(), 2);
        QVERIFY(std::fabs(shoelace(out[0])) < 10);
        QVERIFY(Dist2(out[0].first(), out[0].last()) < 1e-6);
    }

    void checkDropsTinyRoundedHoles()
    {
        const QPointF V[3] = {{0, 0}, {4, 0}, {2, 3}};
        const QPolygonF kept = polygon_Around(3, V, 0.5, false);
        QCOMPARE(kept.size(), 72);
        QVERIFY(std::fabs(shoelace(kept)) < 10);
        QVERIFY(polygon_Around(3, V, 0.5, true).isEmpty());
        const QPointF big[3] = {{0, 0}, {40, 0}, {20, 30}};
        QCOMPARE(polygon_Around(3, big, 0.5, true).size(), 72);
    }

    void degenerateCornersComeBackUnchanged()
    {
        const QPointF V[4] = {{0, 0}, {0.004, 0.005}, {10, 10}, {0, 10}};
        const QPolygonF out = polygon_Around(4, V, 0.5, true);
        QCOMPARE(out, QPolygonF({V[0], V[1], V[2], V[3]}));
        // Equal first and last corners do not stop the rounding.
        const QPointF W[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 0}};
        QCOMPARE(polygon_Around(4, W, 0.5, false).size(), 72);
        // Only 3 and 4 corners are rounded.
        const QPointF F[5] = {{0, 0}, {10, 0}, {10, 10}, {5, 15}, {0, 10}};
        QVERIFY(polygon_Around(5, F, 0.5, false).isEmpty());
    }

    void trapezoidHoles()
    {
        const Trap base = band(400, 100, 3, 2, 10);
        const QPolygonF outline({base.corner[0], base.corner[1], base.corner[2], base.corner[3]});
        const QList<QPolygonF> out = Create_div_Trapez(design.get(), base, false);
        QCOMPARE(out.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(out[i].size(), 72);
            QVERIFY(shoelace(out[i]) <= 0);
            QVERIFY(allInside(outline, out[i]));
            for (int j = 0; j < i; ++j)
                QVERIFY(!overlap(out[i], out[j]));
        }
        const Trap none = band(400, 100, 0, 2, 10);
        QVERIFY(Create_div_Trapez(design.get(), none, false).isEmpty());
    }

    void widerWebNeverGivesLargerTrapezoidHoles()
    {
        // Beyond a web of about 40 mm the parts were shrunk by more than half
        // their length from each end and came back turned over and larger.
        double previous = 1e300;
        for (int offset = 10; offset <= 90; offset += 10) {
            Trap base = band(400, 100, 2, 2, offset);
            const QList<QPolygonF> out = Create_div_Trapez(design.get(), base, false);
            QCOMPARE(out.size(), 2);
            for (int j = 0; j < 2; ++j) {
                const double area = std::fabs(shoelace(out[j]));
                QVERIFY2(area <= previous + 1e-9, qPrintable(QStringLiteral("offset %1").arg(offset)));
                // Each hole stays in its own half of the band.
                for (const QPointF& p : out[j])
                    QVERIFY(p.x() >= 200 * j - 1e-9 && p.x() <= 200 * (j + 1) + 1e-9);
                QVERIFY(finite(out[j]));
            }
            previous = std::fabs(shoelace(out[1]));
        }
    }

    void shapesStartWellDefined()
    {
        Triang t;
        QCOMPARE(t.cornerCount, 1);
        QCOMPARE(t.cornerStep, 1.0);
        QCOMPARE(t.holeCount, 0);
        QCOMPARE(t.offsetMm, 0);
        QCOMPARE(t.offset, 0.0);
        QVERIFY(!t.expanded);
        Trap p = band(400, 100, 1, 0, 0);
        Trap fresh;
        QCOMPARE(fresh.cornerCount, 1);
        QCOMPARE(fresh.cornerStep, 1.0);
        p.cornerCount = fresh.cornerCount;
        const QList<QPolygonF> out = Create_div_Trapez(design.get(), p, false);
        QCOMPARE(out.size(), 1);
        QVERIFY(finite(out[0]));
    }

    void openCornerChains()
    {
        const QPointF P[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
        const QPolygonF flat = Around_Open_Trap(4, 30, P, 0.5);
        QCOMPARE(flat.size(), 180);
        QCOMPARE(flat.first(), QPointF(5, 0));
        QVERIFY(Dist2(flat.last(), QPointF(5, 10)) < 0.02);
        const QVector3D Q[4] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 1}, {0, 10, 1}};
        const QList<QVector3D> space = Around_3D_Trap(4, 60, Q, 0.5);
        QCOMPARE(space.size(), 120);
        QCOMPARE(space.first(), QVector3D(5, 0, 0));
        QVERIFY(Around_Open_Trap(2, 30, P, 0.5).isEmpty());
    }

    void offsetMovesAnAirfoilInward()
    {
        QPolygonF foil;
        for (int i = 0; i <= 40; ++i) {
            const double a = M_PI * i / 40;
            foil.append(QPointF(0.5 + 0.5 * std::cos(a), 0.1 * std::sin(a))); // upper, TE -> nose
        }
        for (int i = 1; i <= 40; ++i) {
            const double a = M_PI * i / 40;
            foil.append(QPointF(0.5 - 0.5 * std::cos(a), -0.06 * std::sin(a))); // lower, nose -> TE
        }
        const QPolygonF off = Poly_Off(0.01, foil);
        QCOMPARE(off.size(), 2 * (foil.size() - 1));
        for (int i = 10; i + 10 < off.size(); ++i)
            QVERIFY2(inside(foil, off[i]), qPrintable(QString::number(i)));
        QCOMPARE(Poly_Off(1, QPolygonF({QPointF(0, 0), QPointF(1, 0)})).size(), 2);
        QCOMPARE(Poly_Off(1, QPolygonF({QPointF(0, 0)})).size(), 0);
        // The crossed tails are cut off, and the rest is what it was.
        const QPolygonF cut = Poly_Uncross(off);
        QVERIFY(cut.size() < off.size() - 2);
        QVERIFY(off.indexOf(cut.first()) > 0);
    }

    void uncrossAndContain()
    {
        QPolygonF nine;
        for (int i = 0; i < 9; ++i)
            nine.append(QPointF(i, i % 2));
        QCOMPARE(Poly_Uncross(nine), nine.mid(0, 8));
        QVERIFY(testContain(QPolygonF({QPointF(0, 0), QPointF(1, 0), QPointF(0, 1)}), QPolygonF()));
        QVERIFY(!testContain(QPolygonF({QPointF(0, 0), QPointF(1, 0), QPointF(0, 1)}),
                             QPolygonF({QPointF(0.1, 0.1), QPointF(2, 2)})));
        QCOMPARE(poly_area(2, nine), 0.0);
        const QPolygonF square({QPointF(0, 0), QPointF(2, 0), QPointF(2, 2), QPointF(0, 2)});
        QCOMPARE(poly_area(4, square), 8.0);
        Trap t = band(2, 2, 1, 2, 0);
        QCOMPARE(OriTrap4(t), shoelace(QPolygonF({t.corner[0], t.corner[1], t.corner[2], t.corner[3]})));
    }
};

QTEST_APPLESS_MAIN(TestHoleFun)
#include "tst_holefun.moc"
