// The glide polar from 13 synthetic solver cases, against the equilibrium
// of a glider: without tow gamma = atan(D / L), q = W cos(gamma) / L-area;
// with tow sin(gamma) = cos(gamma) D / L - T / W; the trim puts the pilot
// where the moments of wing, pilot and lines balance.

#include "aero/apameres.h"
#include "aero/polar.h"
#include "aero/polarview.h"
#include "tests/aero/aerofixture.h"
#include "tests/aero/polarfixture.h"
#include "tests/common/recordimage.h"

#include "core/parastruct.h"

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringLiteral>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace polarfixture;

double liftArea(const ApameRes& r, int k)
{
    return r.clift[k] * kS;
}

// The lines' drag area as the polar counts it.
double dragArea(const ParaStruct& d, const Polar& p, const ApameRes& r, int k)
{
    return (r.clift[k] * r.clift[k] / kPi / (kAspect * d.oswaldFactor) + 0.95 * std::fabs(r.cdrag[k])) * kS +
           d.pilotArea * d.pilotCd + p.ropesArea * d.ropesCd;
}

} // namespace

class TestPolar : public QObject
{
    Q_OBJECT

private slots:
    void caseTables()
    {
        auto d = rectangularWing();
        ApameRes r = syntheticResults();
        Polar p;
        p.ropesArea = 0.3;
        FromApameResToParaStruct(*d, r, &p);
        for (int k = 0; k < 13; ++k) {
            QCOMPARE(p.aeroAngle[k], double(k));
            QCOMPARE(p.aeroIndex[k], double(k));
            QCOMPARE(p.aeroAlpha[k], r.alpha[k]);
            QVERIFY(std::fabs(p.liftArea[k] - liftArea(r, k)) < 1e-12);
            QVERIFY(std::fabs(p.totalDragArea[k] - dragArea(*d, p, r, k)) < 1e-9);
            QVERIFY(std::fabs(p.glideRatio[k] - liftArea(r, k) / dragArea(*d, p, r, k)) < 1e-9);
            QCOMPARE(p.momentCoeff[k], r.cm[k]);
        }
        // Twelve cases are not taken over.
        ApameRes twelve = syntheticResults(0.4);
        twelve.caseNum = 12;
        twelve.clift[3] = 9;
        const double before = p.liftArea[3];
        FromApameResToParaStruct(*d, twelve, &p);
        QCOMPARE(p.liftArea[3], before);
    }

    // The line totals are renewed first: without line data no line drag.
    void lineTotalsRenewed()
    {
        auto d = rectangularWing();
        Polar p;
        p.ropesArea = 5;
        p.totalLineLength = 300;
        ApameRes r = syntheticResults();
        QVERIFY(createPolar_BaseTable(*d, r, false, &p));
        QCOMPARE(p.ropesArea, 0.0);
        QCOMPARE(p.totalLineLength, 0.0);
        QVERIFY(std::fabs(p.totalDragArea[4] - dragArea(*d, p, r, 4)) < 1e-9);
    }

    // The default design's lines add their drag area when line data is on;
    // the design is only read.
    void defaultDesignLineDrag()
    {
        QString reason;
        auto d = aerofixture::shippedDesign(&reason);
        QVERIFY2(d, qPrintable(reason));
        d->pilotArea = 0.45;
        d->pilotCd = 0.78;
        d->ropesCd = 1.0;
        const QByteArray before = recordImage(*d);
        ApameRes r = syntheticResults();
        Polar p;
        QVERIFY(createPolar_BaseTable(*d, r, true, &p));
        QCOMPARE(recordImage(*d), before);
        QVERIFY2(p.totalLineLength > 100 && p.ropesArea > 0.1, qPrintable(QString::number(p.ropesArea)));
        for (int k = 0; k < 13; ++k) {
            const double extra = p.totalDragArea[k] - p.inducedDragArea[k] - p.profileDragArea[k];
            QVERIFY(std::fabs(extra - (0.45 * 0.78 + p.ropesArea)) < 1e-12);
        }
        QVERIFY(!p.rows.isEmpty());
    }

    void glidingPolar()
    {
        auto d = rectangularWing();
        ApameRes r = syntheticResults();
        Polar p;
        QString message = "x";
        QVERIFY(createPolar_BaseTable(*d, r, false, &p, &message));
        QVERIFY(message.isEmpty());
        const QList<CalageClass>& rows = p.rows;
        const double W = 9.81 * 100;
        for (int k = 0; k < 13; ++k) {
            const double L = liftArea(r, k), D = dragArea(*d, p, r, k);
            const double gamma = std::atan(D / L);
            QVERIFY2(std::fabs(p.polarGama[k] * kDeg - gamma) < 1e-6, qPrintable(QString::number(k)));
            QVERIFY(std::fabs(p.polarTheta[k] - (k - p.polarGama[k])) < 1e-12);
            QVERIFY(std::fabs(p.polarQ[k] - W * std::cos(gamma) / L) < 1e-3);
            QCOMPARE(p.polarMoment[k], r.cm[k]);
        }
        // Rows from 1 degree in quarter degrees; the last three repeat 12.
        QCOMPARE(rows.size(), 48);
        QCOMPARE(p.polarRowCount, 48);
        QCOMPARE(rows.first().alfa, 1.0);
        QCOMPARE(rows.last().alfa, 12.75);
        for (const CalageClass& row : rows) {
            QVERIFY(row.alfa >= 1.0 && row.gama > 0);
            QVERIFY(std::fabs(row.vx - row.speed * std::cos(row.gama * kDeg)) < 1e-12);
            QVERIFY(std::fabs(row.vy - row.speed * std::sin(row.gama * kDeg)) < 1e-12);
            QCOMPARE(row.ratioText, QStringLiteral(" %1 ").arg(1 / std::tan(row.gama * kDeg), 0, 'f', 2));
        }
        for (int k = 1; k <= 12; ++k) {
            const CalageClass& row = rows.at(4 * (k - 1));
            QCOMPARE(row.alfa, double(k));
            const double L = liftArea(r, k), gamma = std::atan(dragArea(*d, p, r, k) / L);
            QVERIFY(std::fabs(row.gama * kDeg - gamma) < 1e-6);
            QVERIFY(std::fabs(row.speed - std::sqrt(2 * W * std::cos(gamma) / L / 1.225)) < 1e-4);
        }
        for (int i = 45; i < 48; ++i) {
            QCOMPARE(rows.at(i).gama, rows.at(44).gama);
            QCOMPARE(rows.at(i).speed, rows.at(44).speed);
        }
        // The best glide is the smallest glide angle.
        const int best = get_opt_gama(rows);
        for (const CalageClass& row : rows)
            QVERIFY(rows.at(best).gama <= row.gama);
    }

    void towedPolar()
    {
        auto d = rectangularWing();
        d->towForce = 30;
        ApameRes r = syntheticResults();
        Polar p;
        QVERIFY(createPolar_BaseTable(*d, r, false, &p));
        const double W = 9.81 * 100, T = 9.81 * 30;
        for (int k = 0; k < 13; ++k) {
            const double g = p.polarGama[k] * kDeg;
            QVERIFY(std::fabs(std::sin(g) - (std::cos(g) * dragArea(*d, p, r, k) / liftArea(r, k) - T / W)) < 1e-6);
        }
        QVERIFY(!p.rows.isEmpty());
        QCOMPARE(p.polarRowCount, int(p.rows.size()));
        for (const CalageClass& row : p.rows) {
            QVERIFY(row.alfa > 0.25);
            QVERIFY(row.gama <= 0);
            QVERIFY(row.vy < 0);
            QVERIFY(100 * calculate_displacement_shift(*d, row.calage) > -90);
            QCOMPARE(row.ratioText, QStringLiteral(" %1").arg(row.vy, 0, 'f', 2));
        }
        // The same wing without tow glides: no climbing rows then.
        d->towForce = 0;
        QVERIFY(createPolar_BaseTable(*d, r, false, &p));
        for (const CalageClass& row : p.rows)
            QVERIFY(row.vy > 0);
    }

    // Worked example of the trim. A wing whose force acts at xcp of the chord
    // and a pilot hanging H below with no drag of his own: the pilot must hang
    // under the force line, xcp + H tan(theta) behind the leading edge. The
    // solver's moment coefficient enters as -CM S MAC (m3, like the other
    // terms over q): -0.176 x 25 x 2.5 = -11 m3 at 6 degrees here, a lever of
    // 11 m3 / 17.5 m2 = 0.625 m, a quarter of the chord.
    void trimBalancesTheWing_data()
    {
        QTest::addColumn<double>("xcp");
        QTest::addColumn<double>("hang");
        QTest::newRow("quarter chord, pilot on the chord") << 0.25 << 0.0;
        QTest::newRow("40 %, pilot on the chord") << 0.40 << 0.0;
        QTest::newRow("quarter chord, 7 m below") << 0.25 << 7.0;
    }
    void trimBalancesTheWing()
    {
        QFETCH(double, xcp);
        QFETCH(double, hang);
        auto d = rectangularWing();
        d->hangHeight = hang;
        d->pilotArea = 0;
        d->Calculate_meta_Center(0.25);
        ApameRes r = syntheticResults(xcp);
        Polar p;
        QVERIFY(createPolar_BaseTable(*d, r, false, &p));
        for (int k = 1; k < 13; ++k) {
            const double x = xcp * kMac + hang * std::tan(p.polarTheta[k] * kDeg);
            QVERIFY2(std::fabs(p.polarSigma[k] * kMac - x) < 1e-5,
                     qPrintable(QStringLiteral("case %1: %2 m against %3 m").arg(k).arg(p.polarSigma[k] * kMac).arg(x)));
        }
        if (hang == 0) {
            // The pilot under the force: shift = xcp of the centre chord.
            QVERIFY(std::fabs(d->metaCentre - 0.25) < 1e-12);
            for (const CalageClass& row : p.rows)
                QVERIFY(std::fabs(calculate_displacement_shift(*d, row.calage) - xcp) < 1e-5);
        }
    }

    // The terms of the trim one by one: the pilot's drag acts H below the
    // wing, the lines' drag H / 3 below it.
    void trimTerms()
    {
        auto d = rectangularWing();
        Polar lines;
        lines.ropesArea = 0.4;
        const double q = 50, a = 6, gama = 5, theta = 1, cm = -0.2;
        const double Wq = 981 / q, H = 7, Dp = 0.45 * 0.78, Dl = 0.4;
        auto expected = [&](double t) {
            return (H * Wq * std::sin(t * kDeg) + H * std::cos(a * kDeg) * (Dl / 3 + Dp) - cm * kS * kMac) /
                   (Wq * std::cos(t * kDeg) - (Dl + Dp) * std::sin(a * kDeg)) / kMac;
        };
        QVERIFY(std::fabs(Calculate_Sigma_Proc(*d, lines, a, gama, theta, q, cm) - expected(theta)) < 1e-12);
        // Climbing (towed) flight turns theta round.
        const double climbing = expected(-theta);
        QVERIFY(std::fabs(Calculate_Sigma_Proc(*d, lines, a, -2, theta, q, cm) - climbing) < 1e-12);
    }

    void glideAngleIteration()
    {
        QCOMPARE(iterate_Gama(1, 0, 981, 0), 0.0);
        QVERIFY(std::fabs(iterate_Gama(1, 8, 981, 0) - std::atan(1.0 / 8)) < 1e-6);
        // Slow to settle: the eleventh value comes back as it is.
        double g = 0;
        for (int n = 0; n < 11; ++n)
            g = std::asin(std::cos(g) * 0.95);
        QCOMPARE(iterate_Gama(0.95, 1, 1, 0), g);
        QVERIFY(std::fabs(g - std::atan(0.95)) > 1e-6);
        // Drag beyond lift has no glide angle.
        QVERIFY(std::isnan(iterate_Gama(2, 1, 981, 0)));
        QCOMPARE(f_Veloc(0), 0.0);
        QCOMPARE(f_Veloc(-3), 0.0);
        QVERIFY(std::fabs(f_Veloc(49) - std::sqrt(2 * 49 / 1.225)) < 1e-12);
        const double x[13] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        double y[13];
        for (int k = 0; k < 13; ++k)
            y[k] = 3 * k + 1;
        QVERIFY(std::fabs(f_table(13, x, y, 2.5) - 8.5) < 1e-12);
        QCOMPARE(f_table(13, x, y, 14), 37.0);
        QCOMPARE(f_table(13, x, y, -2), 1.0);
    }

    void bestGlide_data()
    {
        QTest::addColumn<QList<double>>("gamas");
        QTest::addColumn<int>("best");
        QTest::newRow("none") << QList<double>{} << 0;
        QTest::newRow("first of equals") << QList<double>{5, 3, 3, 4} << 1;
        QTest::newRow("all above 200") << QList<double>{250, 300} << 0;
        QTest::newRow("last") << QList<double>{9, 8, 7} << 2;
    }
    void bestGlide()
    {
        QFETCH(QList<double>, gamas);
        QFETCH(int, best);
        QList<CalageClass> rows;
        for (double g : gamas) {
            CalageClass row;
            row.gama = g;
            rows.append(row);
        }
        QCOMPARE(get_opt_gama(rows), best);
    }

    void pilotPosition_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("centre rib") << 10;
        QTest::newRow("centre cell") << 11;
    }
    void pilotPosition()
    {
        QFETCH(int, cells);
        auto d = rectangularWing();
        d->cells = cells;
        d->Reset_CellsNumber();
        d->chord[0] = 999; // a centre cell has no rib 0
        d->chord[1] = 480;
        for (double percent : {37.5, -12.0, 0.0, 140.0}) {
            calculate_legaX_from_shift(d.get(), percent);
            QVERIFY(std::fabs(d->legaX - d->R_X(d->chord[d->firstRib]) * percent / 100) < 1e-12);
            QVERIFY(std::fabs(calculate_shift_from_legaX(d.get()) - percent) < 1e-9);
        }
    }

    // No results yet, or results the polar cannot use: an empty polar and a
    // message, never a spline through tables that do not rise.
    // The tangent from the origin to y = 1 + x^2 touches at x = 1; the chart
    // runs the same search on its polygon (with its own bound).
    void tangentFromTheOrigin()
    {
        std::vector<double> x, y;
        QPolygonF polygon;
        for (int i = 0; i <= 2000; ++i) {
            x.push_back(0.2 + i * 1e-3);
            y.push_back(1 + x.back() * x.back());
            polygon << QPointF(x.back(), y.back());
        }
        const int n = int(x.size());
        const int k = opt_Vx(n, x.data(), y.data());
        QVERIFY2(std::fabs(x[k] - 1) < 2e-3, qPrintable(QString::number(x[k])));
        QCOMPARE(opt_Vx_poly(polygon), k);
        // No points, one point, a point on the axis, a segment without width,
        // and differences no smaller than the bound.
        QCOMPARE(opt_Vx(0, x.data(), y.data()), 0);
        QCOMPARE(opt_Vx(1, x.data(), y.data()), 0);
        const double ax[3] = {0, 2, 2}, ay[3] = {1, 3, 5};
        QCOMPARE(opt_Vx(3, ax, ay), 0);
        const double bx[4] = {1, 1, 2, 3}, by[4] = {1, 9, 4, 6};
        QCOMPARE(opt_Vx(4, bx, by), 2);
        const double cx[3] = {1, 2, 3}, cy[3] = {0, 1e13, 0};
        QCOMPARE(Tangent_Point_Index(3, cx, cy, 1e12), 0);
        QCOMPARE(opt_Vx(3, cx, cy), 0);
    }

    void topRatio_data()
    {
        QTest::addColumn<QList<double>>("x");
        QTest::addColumn<QList<double>>("y");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("ratio");
        QList<double> ten(13, 10), peaked, ones(13, 1), flat(13, 2), zeroAtTop;
        for (int i = 0; i < 13; ++i) {
            peaked << 1 + (i - 7) * (i - 7);
            zeroAtTop << (i == 4 ? 0.0 : 1 + (i - 4) * (i - 4));
        }
        QTest::newRow("best at 7") << ten << peaked << 7 << 10.0;
        QTest::newRow("equal ratios: the last") << flat << ones << 12 << 2.0;
        QTest::newRow("no drag at 4: left out") << ten << zeroAtTop << 5 << 5.0;
        QTest::newRow("no drag at all") << ten << QList<double>(13, 0) << 0 << -1e12;
    }
    void topRatio()
    {
        QFETCH(QList<double>, x);
        QFETCH(QList<double>, y);
        QFETCH(int, index);
        QFETCH(double, ratio);
        const QPointF top = f_findTopAlfa(x.constData(), y.constData());
        QCOMPARE(top.x(), index * 3.141592653 / 180);
        QCOMPARE(top.y(), ratio);
    }

    // Tables linear in the angle, which the natural spline reproduces: the
    // ratio falls, rises, or is 0 throughout (the last sample wins).
    void minimalDragOverLift_data()
    {
        QTest::addColumn<double>("drag0");
        QTest::addColumn<double>("dragSlope");
        QTest::addColumn<double>("lift");
        QTest::addColumn<int>("sample");
        QTest::newRow("falling ratio") << 2.0 << -0.1 << 1.0 << 12;
        QTest::newRow("rising ratio") << 1.0 << 0.5 << 2.0 << 0;
        QTest::newRow("no drag") << 0.0 << 0.0 << 1.0 << 12;
        QTest::newRow("no lift") << 1.0 << 0.5 << 0.0 << 12;
    }
    void minimalDragOverLift()
    {
        QFETCH(double, drag0);
        QFETCH(double, dragSlope);
        QFETCH(double, lift);
        QFETCH(int, sample);
        Polar p;
        for (int k = 0; k < 13; ++k) {
            p.aeroAngle[k] = k;
            p.liftArea[k] = lift;
            p.totalDragArea[k] = drag0 + dragSlope * k;
        }
        QCOMPARE(MinimalCD_CL(p), sample * 0.017453292516666667);
    }

    void lineAttachmentInPlan()
    {
        auto d = rectangularWing();
        d->ribAirfoils[2] = aerofixture::unitAirfoil();
        d->ribSpanPos[2] = 400;
        struct Case {
            int row, rib, index;
            bool found;
        };
        const Case cases[] = {{3, 2, 250, true}, {0, 2, 0, true}, {8, 2, 998, true}, {3, 2, 999, false},
                              {3, 2, -1, false}, {3, 3, 250, false}, {9, 2, 250, false}, {3, 65, 250, false}};
        for (const Case& c : cases) {
            if (c.row >= 0 && c.row < kLineRows && c.rib < kRibSlots)
                d->lineIndex[c.row][c.rib] = c.index;
            const QPointF p = getLineRibPos(d.get(), c.row, c.rib);
            const QPointF expected =
                c.found ? QPointF(400, d->ribAirfoils[2].at(c.index).x() * 500 + 100) : QPointF(0, 0);
            QCOMPARE(p, expected);
        }
        // Point 250 of the upper side lies behind the leading edge, within
        // the chord.
        d->lineIndex[3][2] = 250;
        const double x = getLineRibPos(d.get(), 3, 2).y();
        QVERIFY(x > 100 && x < 600);
    }

    void polarWithoutUsableResults_data()
    {
        QTest::addColumn<int>("cases");
        QTest::addColumn<double>("lift3");
        QTest::addColumn<double>("weight");
        QTest::addColumn<QString>("message");
        QTest::newRow("before any results") << 0 << 0.5 << 100.0 << "there are 0";
        QTest::newRow("twelve cases") << 12 << 0.5 << 100.0 << "there are 12";
        QTest::newRow("lift no number") << 13 << std::nan("") << 100.0 << "no numbers";
        QTest::newRow("no weight") << 13 << 0.5 << 0.0 << "flying weight";
    }
    void polarWithoutUsableResults()
    {
        QFETCH(int, cases);
        QFETCH(double, lift3);
        QFETCH(double, weight);
        QFETCH(QString, message);
        auto d = rectangularWing();
        d->totalWeight = weight;
        Polar p;
        p.polarRowCount = 17;
        p.rows = {CalageClass()};
        ApameRes r = cases ? syntheticResults() : ApameRes();
        r.caseNum = cases;
        r.clift[3] = lift3;
        QString text;
        QVERIFY(!createPolar_BaseTable(*d, r, false, &p, &text));
        QVERIFY(p.rows.isEmpty());
        QCOMPARE(p.polarRowCount, 0);
        QVERIFY2(text.contains(message), qPrintable(text));
        QVERIFY(Polar_Input_Problem(*d, p, r).contains(message));
    }
};

QTEST_APPLESS_MAIN(TestPolar)
#include "tst_polar.moc"
