#include <QTest>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

#include "core/parastruct.h"
#include "geom/patternfun.h"

#include <cmath>
#include <memory>

class TestPatternFun : public QObject
{
    Q_OBJECT
private slots:
    void flatImage()
    {
        const QVector3D R(5, 10, 2);
        QCOMPARE(mapfoilPnt_3D_2D(0.3, QVector3D(7, 13, 6), R), QPointF(7, 5));
        QCOMPARE(mapfoilPnt_3D_2D(0.0, QVector3D(7, 13, -2), R), QPointF(7, -5));
        QCOMPARE(mapfoilPnt_3D_2D(1.0, QVector3D(7, 14, 2), R), QPointF(7, 4)); // level with R: positive
    }

    // Back into the tilted plane of a rib and flat again gives the point.
    void miniribRoundTrip_data()
    {
        QTest::addColumn<int>("rib");
        QTest::addColumn<double>("tilt");
        QTest::newRow("rib 0 stands upright") << 0 << 0.0;
        QTest::newRow("rib 3, angle only") << 3 << 0.0;
        QTest::newRow("rib 3, tilted") << 3 << 1.0;
    }
    void miniribRoundTrip()
    {
        QFETCH(int, rib);
        QFETCH(double, tilt);
        auto d = std::make_unique<ParaStruct>();
        d->lastRib = 6;
        d->ribTilt = tilt;
        d->ribAngle[3] = 0.4;
        const QVector3D R(100, 250, 40);
        for (const QPointF q : {QPointF(20, 15), QPointF(180, -12), QPointF(50, 0)}) {
            const QVector3D p = mapfoil_minirib_T_2D_3D(d.get(), rib, q, R);
            const QPointF back = mapfoilPnt_3D_2D(0, p, R);
            QVERIFY(std::abs(back.x() - q.x()) < 1e-4 && std::abs(back.y() - q.y()) < 1e-3);
            const double psi = Psi_angle(d.get(), rib);
            if (q.y() != 0)
                QVERIFY(std::abs(std::atan2(p.z() - R.z(), R.y() - p.y()) - (q.y() > 0 ? psi : psi - M_PI)) < 1e-4);
        }
        const double expected = rib == 0 ? 1.5707963265 : 1.5707963265 - 0.4 + (tilt > 0 ? std::atan(0.2) : 0.0);
        QVERIFY(std::abs(Psi_angle(d.get(), rib) - expected) < 1e-12);
    }

    // A rib curve laid into its plane unfolds to the flat outline it was made
    // from, and its flat points map back onto the curve.
    void quickUnfold()
    {
        auto d = std::make_unique<ParaStruct>();
        d->lastRib = 6;
        d->ribAngle[3] = 0.4;
        d->noseIndex[3] = 500;
        const QVector3D R(250, 250, 40);
        QPolygonF flat;
        for (int k = 0; k < kAirfoilPoints; ++k) {
            const double x = 100 + 0.3 * std::abs(k - 500);
            flat.append(QPointF(x, k == 0 ? 0.0 : 20 * std::sin(k * M_PI / 999)));
        }
        for (int k = 0; k < kAirfoilPoints; ++k)
            d->ribCurves3D[3][k] = k == 0 ? R : mapfoil_minirib_T_2D_3D(d.get(), 3, flat[k], R);

        QPolygonF out{QPointF(1, 1)};
        Quick_Unfold_AirFoil(d.get(), 3, &out);
        QCOMPARE(out.size(), kAirfoilPoints);
        for (int k = 0; k < kAirfoilPoints; k += 37) {
            QVERIFY(std::abs(out[k].x() - flat[k].x()) < 1e-4 && std::abs(out[k].y() - flat[k].y()) < 1e-3);
            QVERIFY((mapfoilT_2D_3D(d.get(), 3, out[k]) - d->ribCurves3D[3][k]).length() < 1e-3);
        }

        // A rib without airfoil leaves the caller's outline as it was.
        d->noseIndex[3] = 0;
        QPolygonF kept{QPointF(1, 1)};
        Quick_Unfold_AirFoil(d.get(), 3, &kept);
        QCOMPARE(kept, QPolygonF{QPointF(1, 1)});
        Quick_Unfold_AirFoil(d.get(), kRibSlots, &kept);
        QCOMPARE(kept, QPolygonF{QPointF(1, 1)});
    }
};

QTEST_APPLESS_MAIN(TestPatternFun)
#include "tst_patternfun.moc"
