// Wing outline of the recompute: planform spacing, edges, front view, areas,
// metacentre and unit conversions.

#include "core/curves.h"
#include "tests/core/designfixture.h"

#include <QTest>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QVector3D>

#include <algorithm>
#include <cmath>

namespace {

double relDiff(double a, double b)
{
    return std::fabs(a - b) / std::max(std::fabs(a), std::fabs(b));
}

// Arc length of the base line against its parameter, tabulated finely by
// the trapezoid rule.
struct ArcTable {
    static constexpr int N = 20000;
    double s[N + 1];
    const double* cx;
    const double* cy;

    ArcTable(const double* x, const double* y) : cx(x), cy(y)
    {
        s[0] = 0;
        double prev = speed(0);
        for (int k = 1; k <= N; ++k) {
            const double cur = speed(double(k) / N);
            s[k] = s[k - 1] + 0.5 * (prev + cur) / N;
            prev = cur;
        }
    }
    double speed(double t) const { return std::hypot(spline_d_value(cx, t), spline_d_value(cy, t)); }
    double length() const { return s[N]; }
    // Parameter at which the arc length reaches `arc`.
    double paramAt(double arc) const
    {
        const int k = int(std::lower_bound(s, s + N + 1, arc) - s);
        if (k == 0)
            return 0;
        if (k > N)
            return 1;
        return (k - 1 + (arc - s[k - 1]) / (s[k] - s[k - 1])) / N;
    }
};

// Sum of the cells of one half wing (the centre cell counts half).
double halfSpanOfCells(const ParaStruct* d)
{
    double sum = 0;
    for (int i = 0; i < d->lastRib; ++i)
        sum += (i == 0 && d->firstRib == 1) ? d->cellWidth[i] / 2 : d->cellWidth[i];
    return sum;
}

} // namespace

class TestOutline : public QObject
{
    Q_OBJECT

private slots:
    void equalCellsOnTheReferencePlanform_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("firstPosition");
        QTest::newRow("34 cells") << 34 << 1000.0 / 17 << 1000.0 / 17;
        QTest::newRow("35 cells") << 35 << 2000.0 / 35 << (2000.0 / 35) / 2;
    }

    void equalCellsOnTheReferencePlanform()
    {
        QFETCH(int, cells);
        QFETCH(double, width);
        QFETCH(double, firstPosition);
        auto d = fixture::makeWing(cells);
        QCOMPARE(d->cellWidthStep, 0);
        for (int i = 0; i < d->lastRib; ++i)
            QVERIFY2(std::fabs(d->cellWidth[i] - width) < 1e-9, qPrintable(QString::number(i)));
        QVERIFY(std::fabs(d->ribSpanPos[0]) < 1e-12);
        QVERIFY(std::fabs(d->ribSpanPos[1] - firstPosition) < 1e-9);
        QVERIFY(std::fabs(d->ribSpanPos[d->lastRib] - 1000.0) < 1e-9);
        for (int i = 0; i <= d->lastRib; ++i) {
            const QPointF* P = d->planControlPoints;
            const double c = Model_Width_X(P[0], P[1], P[2], P[3], P[4], P[5], P[6], P[7], d->ribSpanPos[i]);
            QCOMPARE(d->chord[i], c);
            QVERIFY(std::fabs(d->trailingEdgeX[i] - d->leadingEdgeX[i] - c) < 1e-9);
        }
    }

    void cellWidthStepKeepsTheTip_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("step");
        for (int cells : {34, 35, 7})
            for (int step : {0, 50, 99, 100})
                QTest::newRow(qPrintable(QString("%1 cells, step %2").arg(cells).arg(step))) << cells << step;
    }

    void cellWidthStepKeepsTheTip()
    {
        QFETCH(int, cells);
        QFETCH(int, step);
        auto d = fixture::makeWing(cells, false);
        d->cellWidthStep = step;
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());
        QVERIFY(std::fabs(d->ribSpanPos[d->lastRib] - 1000.0) < 1e-9);
        QVERIFY(std::fabs(halfSpanOfCells(d.get()) - 1000.0) < 1e-9);
        for (int i = 0; i < d->lastRib; ++i) {
            QVERIFY(d->cellWidth[i] > 0);
            QVERIFY(d->ribSpanPos[i + 1] > d->ribSpanPos[i]);
        }
        // The planform tapers: with a share of the span spread by chord,
        // the outer cells are narrower.
        if (step > 0)
            QVERIFY(d->cellWidth[d->lastRib - 1] < d->cellWidth[d->firstRib]);
    }

    void unitConversions()
    {
        auto d = std::make_unique<ParaStruct>();
        d->span = 10.0;
        d->hangHeight = 7.0;
        QCOMPARE(d->ToScreen(5.0), 1000.0);
        QCOMPARE(d->scrlength_100(), 1400.0);
        for (double x : {0.0, 0.37, 2.5, 123.456})
            QVERIFY(std::fabs(d->R_X(d->ToScreen(x)) - x) < 1e-12);
        d->span = 11.6;
        QVERIFY(std::fabs(d->ToScreen(d->R_X(731.25)) - 731.25) < 1e-9);

        auto wing = fixture::makeWing(35);
        QCOMPARE(wing->rib_glob_factor(wing->firstRib), 1.0);
        QVERIFY(wing->rib_glob_factor(wing->lastRib) < 1.0);
        QCOMPARE(wing->rib_glob_factor(-1), 0.0);
        QCOMPARE(wing->rib_glob_factor(kRibSlots), 0.0);
    }

    void rectangularWingArea_data()
    {
        QTest::addColumn<int>("cells");
        for (int cells : {2, 3, 34, 35, 120})
            QTest::newRow(qPrintable(QString("%1 cells").arg(cells))) << cells;
    }

    void rectangularWingArea()
    {
        QFETCH(int, cells);
        auto d = fixture::makeWing(cells, false);
        const double chord = 250;
        fixture::setRectangularPlanform(d.get(), chord);
        d->cellWidthStep = 40;
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());
        const double metresPerUnit = 0.5 * d->span / 1000;
        const double chordMetres = chord * metresPerUnit;
        QVERIFY2(relDiff(d->flatArea, d->span * chordMetres) < 1e-9,
                 qPrintable(QString("%1 vs %2").arg(d->flatArea).arg(d->span * chordMetres)));
        QVERIFY(relDiff(d->meanChord, chordMetres) < 1e-9);
        QVERIFY(relDiff(d->flatAspectRatio, d->span / chordMetres) < 1e-9);
    }

    void straightBaseLineIsFlat_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("34") << 34;
        QTest::newRow("35") << 35;
    }

    void straightBaseLineIsFlat()
    {
        QFETCH(int, cells);
        auto d = fixture::makeWing(cells, false);
        fixture::setStraightBaseLine(d.get());
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());
        for (int i = 0; i <= d->lastRib; ++i) {
            QCOMPARE(d->ribAngle[i], 0.0);
            QVERIFY(std::fabs(d->frontZ[i] - 100) < 1e-9);
            // The arc position is found by a trapezoid search of 500 steps.
            QVERIFY(std::fabs(d->frontY[i] - (d->ribSpanPos[i] - d->ribSpanPos[0])) < 0.5);
        }
        QVERIFY(d->flatArea > 0);
        QVERIFY(relDiff(d->projectedArea, d->flatArea) < 1e-12);
        QVERIFY(std::fabs(d->flatteningPercent) < 1e-9);
        QVERIFY(std::fabs(d->arcHeightPercent) < 1e-9);
        QVERIFY(relDiff(d->frontArcLength, 1200) < 1e-9);
    }

    // The ribs lie along the base line at their plan-view spacing, with the
    // tangent angle of the arc; with an odd cell count the tip too.
    void curvedBaseLineFollowsTheArc_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("34") << 34;
        QTest::newRow("35") << 35;
        QTest::newRow("9") << 9;
    }

    void curvedBaseLineFollowsTheArc()
    {
        QFETCH(int, cells);
        auto d = fixture::makeWing(cells, false);
        for (int i = 0; i < kRibSlots; ++i)
            d->frontY[i] = d->frontZ[i] = d->ribAngle[i] = 12345;
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());

        double cx[4], cy[4];
        const QPointF* F = d->frontControlPoints;
        PointToPX(F[0], F[1], F[2], F[3], cx);
        PointToPY(F[0], F[1], F[2], F[3], cy);
        const auto arc = std::make_unique<ArcTable>(cx, cy);
        QVERIFY(relDiff(d->frontArcLength, arc->length()) < 1e-4);

        for (int i = 0; i <= d->lastRib; ++i) {
            const double s = d->ribSpanPos[i] - d->ribSpanPos[0];
            const double t = arc->paramAt(s);
            const double angle = std::max(0.0, std::atan2(spline_d_value(cy, t), spline_d_value(cx, t)));
            const QString where = QString("rib %1: angle %2 vs %3").arg(i).arg(d->ribAngle[i]).arg(angle);
            QVERIFY2(std::fabs(d->ribAngle[i] - angle) < 2e-3, qPrintable(where));
            QVERIFY2(std::hypot(d->frontY[i] - spline_value(cx, t), d->frontZ[i] - spline_value(cy, t)) < 1.0,
                     qPrintable(where));
        }
        // The curve rises: positive angles, and the projected span is
        // shorter than the flat one.
        QVERIFY(d->ribAngle[d->lastRib] > 0.5);
        QVERIFY(d->projectedArea < d->flatArea);
        QVERIFY(d->flatteningPercent > 0 && d->flatteningPercent < 100);
        const double f = 0.5 * d->span / 1000;
        const double p = (d->frontY[d->lastRib] - d->frontY[0]) * f;
        QVERIFY(relDiff(d->projectedAspectRatio, 4 * p * p / d->projectedArea) < 1e-12);
        QVERIFY(d->arcHeightPercent > 0);
    }

    // A shift of +-100 % would put a rib onto its neighbour: it is refused,
    // and the cell widths follow the positions the ribs keep.
    void ribShiftWidthsFollowPositions_data()
    {
        QTest::addColumn<double>("shift");
        QTest::addColumn<bool>("moves");
        QTest::newRow("+100") << 100.0 << false;
        QTest::newRow("-100") << -100.0 << false;
        QTest::newRow("+50") << 50.0 << true;
        QTest::newRow("-30") << -30.0 << true;
    }

    void ribShiftWidthsFollowPositions()
    {
        QFETCH(double, shift);
        QFETCH(bool, moves);
        auto plain = fixture::makeWing(34);
        auto d = fixture::makeWing(34, false);
        d->ribShift[5] = shift;
        d->ribShift[d->lastRib] = 40;   // a stale value on the tip never moves it
        Refresh_Calculations(d.get());
        Refresh_Calculations(d.get());
        QCOMPARE(d->ribSpanPos[5] != plain->ribSpanPos[5], moves);
        QVERIFY(std::fabs(d->ribSpanPos[d->lastRib] - 1000.0) < 1e-9);
        for (int i = 1; i < d->lastRib; ++i)
            QVERIFY(std::fabs(d->cellWidth[i] - (d->ribSpanPos[i + 1] - d->ribSpanPos[i])) < 1e-9);
        QVERIFY(std::fabs(halfSpanOfCells(d.get()) - 1000.0) < 1e-9);
        if (!moves)
            QVERIFY(relDiff(d->flatArea, plain->flatArea) < 1e-12);
    }

    void cellCountChangeClearsEveryShift()
    {
        auto d = fixture::makeWing(34, false);
        for (int i = 0; i < kRibSlots; ++i)
            d->ribShift[i] = 25;
        d->cells = 20;
        d->Reset_CellsNumber();
        for (int i = 0; i < kRibSlots; ++i)
            QCOMPARE(d->ribShift[i], 0.0);
    }

    void metacentreHangingPointAndTailPoints()
    {
        auto d = fixture::makeWing(34);
        QVERIFY(d->metaCentre > 0.1 && d->metaCentre < 1.0);
        d->hangHeight = 0;
        d->Calculate_meta_Center(0.25);
        QCOMPARE(d->metaCentre, 0.25);

        d->legaX = 0.8;
        d->carabinerDistance = 0.45;
        d->hangHeight = 6.8;
        const QVector3D h = d->Set_VHanging();
        QCOMPARE(h, QVector3D(0.8f, 0.225f, -6.8f));
        QCOMPARE(d->hangingPoint, h);

        for (int i = 0; i <= d->lastRib; ++i)
            QCOMPARE(d->ribTailPoints[i], QPointF(d->ribSpanPos[i], d->trailingEdgeX[i]));
    }

    // A record that was never given airfoils keeps its outline tables.
    void noAirfoilNoOutline()
    {
        auto d = std::make_unique<ParaStruct>();
        d->Reset_CellsNumber();
        fixture::setReferencePlanform(d.get());
        fixture::setCurvedBaseLine(d.get());
        Refresh_Calculations(d.get());
        QCOMPARE(d->ribSpanPos[5], 0.0);
        QCOMPARE(d->leadingEdgeX[0], 100.0);
        QCOMPARE(d->frontArcLength, 0.0);
    }
};

QTEST_APPLESS_MAIN(TestOutline)
#include "tst_outline.moc"
