// Mapping of points between quadrilaterals.

#include <QTest>
#include <QObject>
#include <QPointF>
#include <QVector3D>

#include "structure/trapmap.h"

#include <cmath>

namespace {

QPointF bilinear(const QPointF* q, double l, double m)
{
    return (1 - l) * (1 - m) * q[0] + l * (1 - m) * q[1] + l * m * q[2] + (1 - l) * m * q[3];
}

} // namespace

class TestTrapMap : public QObject
{
    Q_OBJECT

private slots:
    void unitSquare()
    {
        const QPointF src[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        const QPointF P(0.3, 0.7);
        QVERIFY(std::fabs(lam4_fun(src, P) - 0.3) < 1e-5);
        QVERIFY(std::fabs(mi4_fun(src, P) - 0.7) < 1e-5);
        const QPointF dst[4] = {{10, 0}, {20, 5}, {25, 30}, {5, 25}};
        const QPointF expected = 0.21 * dst[0] + 0.09 * dst[1] + 0.21 * dst[2] + 0.49 * dst[3];
        const QPointF got = mapTrapPnt(P, src, dst);
        QVERIFY(std::hypot(got.x() - expected.x(), got.y() - expected.y()) < 1e-3);
    }

    void parametersOfAGeneralQuad_data()
    {
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("m");
        QTest::newRow("middle") << 0.5 << 0.5;
        QTest::newRow("near q1") << 0.9 << 0.05;
        QTest::newRow("near q3") << 0.1 << 0.93;
        QTest::newRow("off centre") << 0.37 << 0.61;
    }
    void parametersOfAGeneralQuad()
    {
        QFETCH(double, l);
        QFETCH(double, m);
        // The model trapeze of the diagonals: narrow bottom, wide top, y down.
        const QPointF q[4] = {{368.64, 691.2}, {552.96, 691.2}, {737.28, 34.56}, {184.32, 34.56}};
        const QPointF P = bilinear(q, l, m);
        QVERIFY(std::fabs(lam4_fun(q, P) - l) < 2e-5);
        QVERIFY(std::fabs(mi4_fun(q, P) - m) < 2e-5);
        // Into a twisted 3-D tab: the same parameters there.
        const QVector3D d[4] = {{0, 0, 0}, {50, 0, 10}, {60, 40, 30}, {-5, 45, 20}};
        const QVector3D expected = float((1 - l) * (1 - m)) * d[0] + float(l * (1 - m)) * d[1]
                                   + float(l * m) * d[2] + float((1 - l) * m) * d[3];
        QVERIFY((mapTrap3DPnt(P, q, d) - expected).length() < 5e-3);
    }

    void outsideAndCorners()
    {
        const QPointF src[4] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}};
        const QPointF dst[4] = {{100, 100}, {200, 100}, {200, 150}, {100, 160}};
        QCOMPARE(mapTrapPnt(QPointF(5, 1), src, dst), dst[0]);
        QCOMPARE(lam4_fun(src, QPointF(-1, 1)), 0.0);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(mapTrapPnt(src[k] + QPointF(0.00005, 0), src, dst), dst[k]);
        const QVector3D d3[4] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 1, 1}};
        QCOMPARE(mapTrap3DPnt(src[2], src, d3), d3[2]);
        QCOMPARE(mapTrap3DPnt(QPointF(9, 9), src, d3), d3[0]);
    }

    // A place found once carries the point into every tab exactly where the
    // search for that tab alone puts it: inside, on a corner and outside.
    void placeFoundOnceServesEveryTab()
    {
        const QPointF src[4] = {{368.64, 691.2}, {552.96, 691.2}, {737.28, 34.56}, {184.32, 34.56}};
        const QPointF points[] = {{460, 400}, {300, 100}, src[1], {0, 0}, {700, 60}};
        const QPointF flat[][4] = {{{0, 0}, {3, 0}, {4, 9}, {-1, 9}}, {{10, 10}, {12, 11}, {11, 20}, {8, 18}}};
        const QVector3D space[][4] = {{{0, 0, 0}, {50, 0, 10}, {60, 40, 30}, {-5, 45, 20}},
                                      {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 1, 1}}};
        for (const QPointF& P : points) {
            const TrapWeights at = Trap_Weights(P, src);
            for (const auto& dst : flat)
                QCOMPARE(mapTrapPnt(at, dst), mapTrapPnt(P, src, dst));
            for (const auto& dst : space)
                QCOMPARE(mapTrap3DPnt(at, dst), mapTrap3DPnt(P, src, dst));
        }
    }
};

QTEST_APPLESS_MAIN(TestTrapMap)
#include "tst_trapmap.moc"
