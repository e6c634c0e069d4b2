// Cloth oversize formulas, smooth steps, billow reduction, brake relaxation
// and the billow arcs.

#include "core/billowarc.h"
#include "tests/core/designfixture.h"
#include "core/geomconst.h"
#include "core/skintension.h"
#include "core/transf.h"
#include "tools/template/defaultdesign.h"

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QStringLiteral>

#include <algorithm>
#include <cmath>

namespace {

bool near(QPointF a, QPointF b, double tol)
{
    return std::fabs(a.x() - b.x()) <= tol && std::fabs(a.y() - b.y()) <= tol;
}

} // namespace

class TestSkinTension : public QObject
{
    Q_OBJECT

private slots:
    void capHeight()
    {
        QCOMPARE(f_kapica(3, 5), f_kapica(5, 3));
        QCOMPARE(f_kapica(4, 4), 0.0);
        // A half circle of radius 1: chord 2, length pi, height close to 1.
        QVERIFY(std::fabs(f_kapica(2, wl::FullPi) - 1) < 0.02);
    }

    void smoothSteps()
    {
        double c[4];
        Skin_Asc(2.0, c);
        QVERIFY(std::fabs(c[1] - 12) < 1e-9 && std::fabs(c[2] + 30) < 1e-9 && std::fabs(c[3] - 20) < 1e-9);
        Skin_desc(2.0, c);
        QVERIFY(std::fabs(c[1] + 12) < 1e-9 && std::fabs(c[2] - 30) < 1e-9 && std::fabs(c[3] + 20) < 1e-9);

        QCOMPARE(f_asc_ten(1.5, 4.0, 100, 300, 100), 1.5);
        QVERIFY(std::fabs(f_asc_ten(1.5, 4.0, 100, 300, 300) - 4.0) < 1e-12);
        QVERIFY(std::fabs(f_asc_ten(1.5, 4.0, 100, 300, 200) - 2.75) < 1e-12);
        QVERIFY(std::fabs(f_desc_ten(4.0, 1.0, 0, 10, 10) - 1.0) < 1e-12);
        for (int i : {-50, 0, 7, 500})
            QCOMPARE(f_desc_ten(0.7, 0.7, 0, 10, i), 0.7);
        // The fall never goes below 0, also beyond its interval.
        QVERIFY(f_desc_ten(1.0, 0.0, 0, 10, 12) >= 0);

        // The quadratic curve from (0, 0) over (50, 2) to (100, 0).
        QVERIFY(std::fabs(find_lam(0, 2, 0, 0, 50, 100, 50) - 1.0) < 1e-3);
        QVERIFY(std::fabs(find_lam(0, 2, 4, 0, 50, 100, 0)) < 1e-2);
        QVERIFY(std::fabs(find_lam(0, 2, 4, 0, 50, 100, 100) - 4) < 1e-2);
    }

    // The quadratic curve's value at x against the closed form: t from the
    // quadratic X(t) = x, then Y(t); exact to rounding at every x, so that
    // neighbouring points step evenly.
    void quadraticValueIsExact_data()
    {
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<QList<double>>("ys");
        QTest::newRow("rising to the trailing edge zone") << QList<int>{0, 90, 120} << QList<double>{0, 17.9, 17.2};
        QTest::newRow("falling to the lower trailing edge") << QList<int>{700, 774, 999}
                                                            << QList<double>{16.8, 17.5, 0};
        QTest::newRow("even control points") << QList<int>{0, 50, 100} << QList<double>{0, 2, 4};
    }
    void quadraticValueIsExact()
    {
        QFETCH(QList<int>, xs);
        QFETCH(QList<double>, ys);
        const double a = xs[0] - 2.0 * xs[1] + xs[2], b = 2.0 * (xs[1] - xs[0]);
        for (int x = xs[0]; x <= xs[2]; ++x) {
            const double c = xs[0] - double(x);
            const double t = std::fabs(a) < 1e-12 ? -c / b : (-b + std::sqrt(b * b - 4 * a * c)) / (2 * a);
            const double y = (1 - t) * (1 - t) * ys[0] + 2 * (1 - t) * t * ys[1] + t * t * ys[2];
            const double got = find_lam(ys[0], ys[1], ys[2], xs[0], xs[1], xs[2], x);
            QVERIFY2(std::fabs(got - y) < 1e-9, qPrintable(QStringLiteral("x %1: %2, closed form %3").arg(x).arg(got).arg(y)));
        }
    }

    // The default design's oversize toward the trailing edges changes
    // smoothly from point to point: the steps of neighbouring points change
    // gradually (their third differences are a small share of the largest
    // step), with no step now and then larger than the ones beside it.
    void oversizeStepsEvenly()
    {
        auto d = Build_Default_Design(34);
        for (int r : {0, 1, 8}) {
            for (int zone : {4, 5}) {
                QList<double> steps;
                for (int j = 1; j < kAirfoilPoints; ++j)
                    if (f_skin_decision(d.get(), r, j) == zone && f_skin_decision(d.get(), r, j - 1) == zone)
                        steps << d->clothHalfOversize[r][j] - d->clothHalfOversize[r][j - 1];
                QVERIFY(steps.size() > 10);
                double largest = 0, worst = 0;
                int at = 0;
                for (double s : std::as_const(steps))
                    largest = std::max(largest, std::fabs(s));
                for (int i = 2; i < steps.size(); ++i) {
                    const double third = std::fabs(steps[i] - 2 * steps[i - 1] + steps[i - 2]);
                    if (third > worst) {
                        worst = third;
                        at = i;
                    }
                }
                QVERIFY(largest > 0);
                QVERIFY2(worst <= 0.05 * largest,
                         qPrintable(QStringLiteral("rib %1, zone %2: steps %3, %4, %5 (largest %6)")
                                        .arg(r).arg(zone).arg(steps[at - 2]).arg(steps[at - 1]).arg(steps[at])
                                        .arg(largest)));
            }
        }
    }

    // Thickness 0 (no airfoil on the rib): the cloth is a half circle over
    // the cell width.
    void halfOversizeWithoutAirfoil()
    {
        auto d = fixture::makeWing(34);
        const int r = 5, j = 300;
        const double w = f_Wide(d.get(), r, j);
        QVERIFY(w > 10);
        QVERIFY(std::fabs(w - Dist3(d->ribCurves3D[r][j], d->ribCurves3D[r + 1][j])) < 1e-5);
        QVERIFY(Delta_Half(d.get(), r, j) > 0 && Delta_Half(d.get(), r, j) < w * (wl::HalfPi - 1) / 2);
        d->foilPairs[r].clear();
        QCOMPARE(find_Thick(d.get(), r, j), 0.0);
        QVERIFY(std::fabs(Delta_Half(d.get(), r, j) - w * (wl::FullPi / 2 - 1) / 2) < 1e-9 * w);
        // Beyond the tip there is no cell.
        QCOMPARE(f_Wide(d.get(), d->lastRib + 1, j), 0.0);
        QCOMPARE(f_Wide(d.get(), d->lastRib, j), f_Wide(d.get(), d->lastRib - 1, j));
        QCOMPARE(Delta_Half(d.get(), d->lastRib + 1, j), 0.0);
    }

    // Zones along the rib read from the upper trailing edge.
    void zones()
    {
        auto d = fixture::makeWing(34);
        const int r = 2;
        int* k = d->skinControlIndex;
        k[1] = 450;
        k[2] = 700;
        k[4] = 150;
        k[5] = 850;
        const int nose = d->noseIndex[r], L0 = d->lineIndex[0][r], L1 = d->lineIndex[1][r];
        QVERIFY(L0 < L1 && L1 < 700);
        QCOMPARE(f_skin_decision(d.get(), r, 0), 4);
        QCOMPARE(f_skin_decision(d.get(), r, 150), 4);
        QCOMPARE(f_skin_decision(d.get(), r, 300), 10);
        QCOMPARE(f_skin_decision(d.get(), r, nose), 1);
        QCOMPARE(f_skin_decision(d.get(), r, (L0 + L1) / 2), 0);
        QCOMPARE(f_skin_decision(d.get(), r, 650), 2);
        QCOMPARE(f_skin_decision(d.get(), r, 800), 11);
        QCOMPARE(f_skin_decision(d.get(), r, 999), 5);
        // The full theoretical value in the middle of each side.
        const double v = f_skin_norma_tension(d.get(), r, 300);
        QVERIFY(std::fabs(v - f_BCalongrib(d.get(), r, 300) * d->billowReduction[r]
                                  * std::min(Delta_Half(d.get(), r, 300), Delta_Half(d.get(), r, d->topIndex[r])))
                < 1e-12);
        QCOMPARE(f_skin_norma_tension(d.get(), r, nose), 0.0);
    }

    // The row of a rib is the point-by-point half-oversize, to the bit, in
    // every zone (the zone borders moved so that each one is wide) and on
    // every rib, the centre and tip ones included.
    void rowMatchesPoints()
    {
        auto d = fixture::makeWing(34);
        int* k = d->skinControlIndex;
        k[1] = 450;
        k[2] = 700;
        k[4] = 150;
        k[5] = 850;
        d->billowReductionUp = 30;
        d->billowReductionDown = 10;
        for (int r = 0; r <= d->lastRib; ++r) {
            double row[kAirfoilPoints];
            Skin_Norma_Tension_Row(d.get(), r, row);
            for (int j = 0; j < kAirfoilPoints; ++j)
                if (row[j] != f_skin_norma_tension(d.get(), r, j))
                    QFAIL(qPrintable(QStringLiteral("rib %1 point %2: %3 in the row, %4 alone")
                                         .arg(r).arg(j).arg(row[j], 0, 'g', 17)
                                         .arg(f_skin_norma_tension(d.get(), r, j), 0, 'g', 17)));
        }
        double none[kAirfoilPoints];
        Skin_Norma_Tension_Row(d.get(), -1, none);
        QCOMPARE(none[0], 0.0);
        QCOMPARE(none[kAirfoilPoints - 1], 0.0);
    }

    void reductionAlongRib()
    {
        auto d = fixture::makeWing(34);
        d->billowReductionUp = 40;
        d->billowReductionDown = 20;
        const int r = 3;
        QVERIFY(std::fabs(f_BCalongrib(d.get(), r, 0) - 0.6) < 1e-12);
        QCOMPARE(f_BCalongrib(d.get(), r, d->noseIndex[r]), 1.0);
        QVERIFY(std::fabs(f_BCalongrib(d.get(), r, 999) - 0.8) < 1e-12);
    }

    void billowReduction()
    {
        auto d = fixture::makeWing(35);
        const int last = d->lastRib;
        QCOMPARE(d->billowReduction[last], 0.0);
        QCOMPARE(d->billowReduction[last - 1], 0.25 * d->billowReduction[0]);
        for (int r = 0; r < last - 1; ++r)
            QVERIFY(d->billowReduction[r] > 0.5 && d->billowReduction[r] < 1.5);
    }

    void brakeRelaxation_data()
    {
        QTest::addColumn<int>("centreRib");
        QTest::addColumn<int>("expectedCentre");
        QTest::newRow("centre rib inside") << 6 << 6;
        QTest::newRow("centre rib at the tip") << 17 << 8;
        QTest::newRow("centre rib beyond") << 40 << 8;
        QTest::newRow("centre rib 0") << 0 << 8;
    }
    void brakeRelaxation()
    {
        QFETCH(int, centreRib);
        QFETCH(int, expectedCentre);
        auto d = fixture::makeWing(34, false);
        d->brakeCentreRib = centreRib;
        d->brakeMiddleRelax = 0.8;   // capped at 0.5
        d->brakeEdgeRelax = 0.1;
        d->relaxFactors[60] = 3;
        Calculate_RelaxLengths(d.get());
        QCOMPARE(d->relaxFactors[0], 0.5);
        QCOMPARE(d->relaxFactors[expectedCentre], 0.0);
        QVERIFY(std::fabs(d->relaxFactors[d->lastRib] - 0.1) < 1e-12);
        QCOMPARE(d->relaxFactors[60], 0.0);
    }

    void brakeRelaxationOneRib()
    {
        auto d = std::make_unique<ParaStruct>();
        d->lastRib = 1;
        d->brakeMiddleRelax = 0.2;
        d->brakeEdgeRelax = 0.1;
        Calculate_RelaxLengths(d.get());
        QCOMPARE(d->relaxFactors[0], 0.0);
        QVERIFY(std::isfinite(d->relaxFactors[1]));
    }

    // --- Billow arcs

    void straightArc()
    {
        const QPolygonF arc = billow_arc(0, QPointF(0, 0), QPointF(8, 0));
        QCOMPARE(arc.size(), 9);
        for (int k = 0; k < 9; ++k)
            QVERIFY(near(arc[k], QPointF(k, 0), 1e-12));
    }

    void arcOverTwo_data()
    {
        QTest::addColumn<double>("h");
        QTest::newRow("up") << 1.0;
        QTest::newRow("down") << -1.0;
    }
    void arcOverTwo()
    {
        QFETCH(double, h);
        const QPointF expected[9] = {{0, 0},       {0.09, 0.38}, {0.31, 0.69}, {0.62, 0.91}, {1, 1},
                                     {1.38, 0.91}, {1.69, 0.69}, {1.91, 0.38}, {2, 0}};
        const QPolygonF arc = billow_arc(h, QPointF(0, 0), QPointF(2, 0));
        QCOMPARE(arc.size(), 9);
        for (int k = 0; k < 9; ++k) {
            QVERIFY2(near(arc[k], QPointF(expected[k].x(), h * expected[k].y()), 0.0051),
                     qPrintable(QStringLiteral("%1: %2 %3").arg(k).arg(arc[k].x()).arg(arc[k].y())));
            const double radius = std::hypot(arc[k].x() - 1, arc[k].y());
            QVERIFY(std::fabs(radius - 1) < 0.02);
        }
    }

    // Opposite heights give mirror images across the segment, both from P1.
    void arcMirror()
    {
        const QPointF P1(1, 2), P2(4, 6);
        const QPolygonF up = billow_arc(0.7, P1, P2);
        const QPolygonF down = billow_arc(-0.7, P1, P2);
        QCOMPARE(up.first(), P1);
        QCOMPARE(down.first(), P1);
        QVERIFY(near(up.last(), P2, 1e-12) && near(down.last(), P2, 1e-12));
        const QPointF dir = (P2 - P1) / 5.0;
        for (int k = 0; k < 9; ++k) {
            const QPointF a = up[k] - P1, b = down[k] - P1;
            const double along = a.x() * dir.x() + a.y() * dir.y();
            const double across = -a.x() * dir.y() + a.y() * dir.x();
            QVERIFY(std::fabs(along - (b.x() * dir.x() + b.y() * dir.y())) < 1e-9);
            QVERIFY(std::fabs(across + (-b.x() * dir.y() + b.y() * dir.x())) < 1e-9);
        }
        // Left of P1 -> P2 for positive heights.
        QVERIFY(-(up[4] - P1).x() * dir.y() + (up[4] - P1).y() * dir.x() > 0.69);
        QCOMPARE(xuberLeft(2, QPointF(1, 1), QPointF(1, 1)), QPointF(1, 3));
        QCOMPARE(umRight(1, QPointF(0, 0), QPointF(3, 0)), xuberRight(1, QPointF(0, 0), QPointF(3, 0)));
    }

    void inflatedOutline()
    {
        auto d = fixture::makeWing(34);
        QPolygonF foil = d->ribAirfoils[1];
        // y scaled by -1: screen coordinates, as the billow editor draws.
        const QPolygonF out = skint_dinamic(d.get(), 1, 'D', -1.0, foil);
        QCOMPARE(out.size(), 1000);
        QCOMPARE(out.last(), QPointF(foil.last().x(), -foil.last().y()));
        // Where the cell has oversize the outline moves outward: up on the
        // screen on the upper side, down on the lower side.
        const int top = d->topIndex[1], bottom = d->bottomIndex[1];
        QVERIFY(Real_Kapica(d.get(), 1, top) > 0 && Real_Kapica(d.get(), 1, bottom) > 0);
        QVERIFY(out[top].y() < -foil[top].y() - 0.1 * Real_Kapica(d.get(), 1, top));
        QVERIFY(out[bottom].y() > -foil[bottom].y() + 0.1 * Real_Kapica(d.get(), 1, bottom));
        QCOMPARE(out[d->noseIndex[1] + 5], QPointF(foil[d->noseIndex[1] + 5].x(), -foil[d->noseIndex[1] + 5].y()));
        // An unknown mode keeps the offset of the segment before.
        QPolygonF line;
        for (int k = 0; k < 5; ++k)
            line.append(QPointF(k, 0));
        const QPolygonF flat = skint_dinamic(d.get(), 1, 'x', 1.0, line);
        QCOMPARE(flat, line);
        QCOMPARE(skint_dinamic(d.get(), 1, 'D', 1.0, QPolygonF{QPointF(3, 3)}), QPolygonF{QPointF(0, 0)});
    }
};

QTEST_APPLESS_MAIN(TestSkinTension)
#include "tst_skintension.moc"
