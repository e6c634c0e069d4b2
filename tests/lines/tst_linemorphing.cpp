// The computations of the two line attachment editors on the shipped default
// design: winflex against its formula (no shift at p = 0, the full tip shift
// at p = 100, absolute value, the 999 and nose limits), snapping a plan-view
// y to the nearest lower-surface point, the cell under a span position, the
// row-order rule, the lower-surface point under a marker, and a row marker
// that has no lower-surface index.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <cmath>
#include <memory>

#include "lines/linemorphing.h"
#include "tests/lines/linesfixture.h"

using namespace linesfixture;

namespace {

// The winflex value of rib j by the formula, before rounding.
double winflexOracle(const ParaStruct& d, int row, double percent, int j)
{
    const double b = d.rowCentreIndex[row];
    const double q = double(j) / d.lastRib;
    const double shift = 0.3 * (d.rowCentreIndex[7] - d.rowCentreIndex[0]) * q * q * q;
    const double v = std::min(std::fabs(b + percent / 100 * shift), 999.0);
    return std::max<double>(d.noseIndex[j] + 1, v);
}

} // namespace

class TestLineMorphing : public QObject
{
    Q_OBJECT

    std::unique_ptr<ParaStruct> design34;
    std::unique_ptr<ParaStruct> design35;

private slots:
    void initTestCase()
    {
        design34 = defaultDesign(34);
        design35 = defaultDesign(35);
        QVERIFY(design34 && design35);
    }

    void winflex_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("centre");   // 0: the design's own centre index
        QTest::addColumn<double>("percent");
        QTest::newRow("p = 0 keeps every rib at the centre index") << 3 << 0 << 0.0;
        QTest::newRow("p = 100 shifts the tip by 0.3 (F - O1)") << 3 << 0 << 100.0;
        QTest::newRow("p = 50 halfway") << 4 << 0 << 50.0;
        QTest::newRow("G at p = 100 stops at 999") << 8 << 0 << 100.0;
        QTest::newRow("a negative value counts by its size") << 5 << -700 << 50.0;
        QTest::newRow("beyond 999, then the nose bound") << 5 << -1400 << 0.0;
        QTest::newRow("an upper-surface index goes to the point after the nose") << 5 << 100 << 30.0;
    }

    void winflex()
    {
        QFETCH(int, row);
        QFETCH(int, centre);
        QFETCH(double, percent);
        auto d = std::make_unique<ParaStruct>(*design34);
        if (centre != 0)
            d->rowCentreIndex[row] = centre;
        int dyn[kRibSlots] = {};
        const auto before = std::make_unique<ParaStruct>(*d);
        Winflex_Row(d.get(), row, percent, dyn);

        const int n = d->lastRib;
        const int b = d->rowCentreIndex[row];
        for (int j = 0; j <= n; ++j) {
            const double x = winflexOracle(*d, row, percent, j);
            QCOMPARE(dyn[j], int(std::lround(x)));
            QCOMPARE(d->resLineIndex[row][j], x);
        }
        // Only the row's fractional indexes change.
        for (int r = 0; r < kLineRows; ++r)
            for (int j = 0; j < kRibSlots; ++j)
                if (r != row || j > n)
                    QCOMPARE(d->resLineIndex[r][j], before->resLineIndex[r][j]);

        const double tipShift = 0.3 * (d->rowCentreIndex[7] - d->rowCentreIndex[0]);
        QVERIFY(tipShift > 50);
        if (percent == 0 && centre == 0)
            for (int j = 0; j <= n; ++j)
                QCOMPARE(dyn[j], b);
        if (QTest::currentDataTag() == QLatin1String("p = 100 shifts the tip by 0.3 (F - O1)")) {
            QCOMPARE(dyn[0], b);
            QCOMPARE(dyn[n] - b, int(std::lround(tipShift)));
        }
        if (row == 8 && percent == 100)
            QCOMPARE(dyn[n], 999);
        if (centre == -700)
            QCOMPARE(dyn[0], 700);
        if (centre == -1400)
            QCOMPARE(dyn[3], 999);
        if (centre == 100)
            QCOMPARE(dyn[0], d->noseIndex[0] + 1);
    }

    void winflexWithoutDesign()
    {
        auto d = std::make_unique<ParaStruct>();
        int dyn[kRibSlots] = {};
        Winflex_Row(d.get(), 3, 100, dyn);
        Winflex_Row(design34.get(), -1, 100, dyn);
        Winflex_Row(design34.get(), 9, 100, dyn);
        for (int v : dyn)
            QCOMPARE(v, 0);
    }

    // A plan-view y on a lower-surface point snaps to that point; beyond
    // the leading edge to the nose, beyond the trailing edge to 998.
    void snapping()
    {
        ParaStruct& d = *design34;
        const int rib = 6;
        const QPolygonF& foil = d.ribAirfoils[rib];
        const int nose = d.noseIndex[rib];
        for (int i : {nose + 1, nose + 40, 700, 900, 998}) {
            const double y = d.leadingEdgeX[rib] + d.chord[rib] * foil[i].x();
            QCOMPARE(Snap_Line_Index(&d, rib, y), i);
            QCOMPARE(Snap_Line_Index(&d, rib, y + 1e-9), i);
        }
        QCOMPARE(Snap_Line_Index(&d, rib, d.leadingEdgeX[rib] - 50), nose);
        QCOMPARE(Snap_Line_Index(&d, rib, d.trailingEdgeX[rib] + 50), 998);

        auto noNose = std::make_unique<ParaStruct>(d);
        noNose->noseIndex[rib] = 999;
        QCOMPARE(Snap_Line_Index(noNose.get(), rib, d.leadingEdgeX[rib] + 10), kNoLinePoint);
        QCOMPARE(Snap_Line_Index(&d, -1, 0), kNoLinePoint);
    }

    void cells()
    {
        const ParaStruct& even = *design34;
        for (int c = 1; c <= even.lastRib; ++c)
            QCOMPARE(Cell_At(&even, 0.5 * (even.ribSpanPos[c - 1] + even.ribSpanPos[c])), c);
        // Both ends count; the inner cell is found first.
        QCOMPARE(Cell_At(&even, std::trunc(even.ribSpanPos[5])), 5);
        QCOMPARE(Cell_At(&even, even.ribSpanPos[even.lastRib] + 20), -1);
        QCOMPARE(Cell_At(&even, even.ribSpanPos[0] - 20), -1);

        // The centre cell of an odd count is no cell of the half wing.
        const ParaStruct& odd = *design35;
        QCOMPARE(odd.firstRib, 1);
        QCOMPARE(Cell_At(&odd, 0.5 * (odd.ribSpanPos[0] + odd.ribSpanPos[1])), -1);
        QCOMPARE(Cell_At(&odd, 0.5 * (odd.ribSpanPos[1] + odd.ribSpanPos[2])), 2);
    }

    void rowOrder_data()
    {
        QTest::addColumn<QList<int>>("indexes");
        QTest::addColumn<bool>("inOrder");
        QTest::newRow("rising") << QList<int>{510, 530, 560, 640, 720, 800, 850, 900, 950} << true;
        QTest::newRow("A behind B") << QList<int>{510, 530, 660, 640, 720, 800, 850, 900, 950} << false;
        QTest::newRow("A equal to B") << QList<int>{510, 530, 640, 640, 720, 800, 850, 900, 950} << false;
        QTest::newRow("G before F") << QList<int>{510, 530, 560, 640, 720, 800, 850, 900, 899} << false;
    }

    void rowOrder()
    {
        QFETCH(QList<int>, indexes);
        QFETCH(bool, inOrder);
        QCOMPARE(testABCDE(indexes.constData()), inOrder);
    }

    void markerPoints()
    {
        const ParaStruct& d = *design34;
        const QPolygonF foil = Centre_Foil_Drawing(&d);
        QCOMPARE(foil.size(), d.ribAirfoils[0].size());
        QCOMPARE(foil[0], QPointF(40 + 560 * d.ribAirfoils[0][0].x(), -560 * d.ribAirfoils[0][0].y()));

        const int nose = d.noseIndex[0];
        for (double x : {0.05, 0.3, 0.8}) {
            const QPointF p(40 + 560 * x, -40);
            const QPointF q = pointOnDwFoil(foil, nose, p);
            QCOMPARE(q.x(), p.x());
            // the y of the lower-surface point just ahead of p
            int i = nose + 5;
            while (!(std::trunc(foil[i].x()) <= p.x() && p.x() <= std::trunc(foil[i + 1].x())))
                ++i;
            QCOMPARE(q.y(), foil[i].y());
            QVERIFY(q.y() > 0);   // below the chord: the lower surface
        }
        const QPointF outside(40 + 560 * 1.5, 0);
        QCOMPARE(pointOnDwFoil(foil, nose, outside), outside);
    }

    void planPoints()
    {
        const ParaStruct& d = *design34;
        QPointF p;
        QVERIFY(Line_Point_Plan(&d, 4, 999, &p));
        QCOMPARE(p, QPointF(d.ribSpanPos[4], d.leadingEdgeX[4] + d.chord[4] * d.ribAirfoils[4][999].x()));
        QVERIFY(!Line_Point_Plan(&d, 4, 1000, &p));
        QVERIFY(!Line_Point_Plan(&d, 4, -1, &p));
        QVERIFY(!Line_Point_Plan(&d, kRibSlots, 600, &p));
    }

    // A marker beyond the lower surface's x range has no index: the row
    // keeps the one it had instead of -1.
    void markerWithoutIndexKeepsTheRow()
    {
        auto d = std::make_unique<ParaStruct>(*design34);
        const int kept = d->rowCentreIndex[4];
        d->rowMarkers[4] = QPointF(40 + 560 * 1.2, 10);
        d->Setup_LineIndProc();
        QCOMPARE(d->rowCentreIndex[4], kept);
        for (int r = 0; r < kLineRows; ++r)
            QVERIFY(d->rowCentreIndex[r] > d->noseIndex[0]);
    }
};

QTEST_MAIN(TestLineMorphing)
#include "tst_linemorphing.moc"
