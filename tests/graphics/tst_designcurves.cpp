// Design-line curves and their UV mapping.

#include <QTest>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QString>

#include "core/parastruct.h"
#include "geom/designcurves.h"
#include "graphics/pieceuv.h"
#include "patterns/pieces.h"
#include "tools/template/defaultdesign.h"

#include <cmath>
#include <memory>

namespace {

Spline lineOf(const QList<QPointF>& points, int side = 0)
{
    Spline s;
    s.pointCount = points.size();
    s.degree = 3;
    s.order = 4;
    s.side = side;
    for (int i = 0; i < points.size(); ++i)
        s.points[i] = points.at(i);
    return s;
}

double polygonLength(const Spline& s)
{
    double L = 0;
    for (int i = 1; i < s.pointCount; ++i)
        L += QLineF(s.points[i - 1], s.points[i]).length();
    return L;
}

bool hasOrigin(const QPolygonF& curve)
{
    for (const QPointF& p : curve)
        if (p == QPointF(0, 0))
            return true;
    return false;
}

// The design-plane point of airfoil index i of rib k on the top side.
QPointF topPoint(const ParaStruct* d, int k, int i)
{
    return QPointF(d->ribSpanPos[k], d->trailingEdgeX[k] - d->airfoilArcLen[i][k]);
}

} // namespace

class TestDesignCurves : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> d;

private slots:
    void initTestCase()
    {
        d = Build_Default_Design(34);
        QCOMPARE(d->lastRib, 17);
    }

    // About one point per 2 pi mm of control polygon, ending exactly on the
    // second point.
    void straightLine()
    {
        Spline s = lineOf({QPointF(200, 500), QPointF(700, 300)});
        Calculate_Spline_Poly(d.get(), &s);
        const double mm = 1000 * d->R_X(polygonLength(s));
        QCOMPARE(s.bsplineCount, 2);
        QVERIFY2(std::abs(s.curve.size() - (mm / (2 * M_PI) + 1)) <= 1.0,
                 qPrintable(QString::number(s.curve.size())));
        QCOMPARE(s.curve.first(), s.points[0]);
        QCOMPARE(s.curve.last(), s.points[1]);
        // evenly spaced on the segment, the last step cut short by the end
        const double step = QLineF(s.curve.at(0), s.curve.at(1)).length();
        for (int i = 1; i + 2 < s.curve.size(); ++i)
            QVERIFY(std::abs(QLineF(s.curve.at(i), s.curve.at(i + 1)).length() - step) < 1e-9);
    }

    void threePoints()
    {
        Spline s = lineOf({QPointF(200, 500), QPointF(400, 350), QPointF(700, 450)});
        Calculate_Spline_Poly(d.get(), &s);
        QCOMPARE(s.bsplineCount, 3);
        QCOMPARE(s.curve.at(0), s.points[0]);
        QCOMPARE(s.curve.at(1), s.points[0]);
        QCOMPARE(s.curve.last(), s.points[2]);
        // passes through the middle point at t = 0.5
        double nearest = 1e9;
        for (const QPointF& p : std::as_const(s.curve))
            nearest = std::min(nearest, QLineF(p, s.points[1]).length());
        QVERIFY(nearest < QLineF(s.curve.at(1), s.curve.at(2)).length());
    }

    // Four points: 6 B-spline points, 10 clamped uniform knots, the curve
    // through the four points at t = 0, 1/3, 2/3 and 1.
    void fourPoints()
    {
        Spline s = lineOf({QPointF(150, 500), QPointF(300, 380), QPointF(500, 420), QPointF(800, 300)});
        Calculate_Spline_Poly(d.get(), &s);
        QCOMPARE(s.bsplineCount, 6);
        QCOMPARE(s.knotCount, 10);
        const double knots[10] = {0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 1};
        for (int k = 0; k < 10; ++k)
            QVERIFY(std::abs(s.knots[k] - knots[k]) < 1e-15);
        for (int j = 0; j < 4; ++j) {
            const QPointF p = B_spline_value(&s, j / 3.0);
            QVERIFY2(QLineF(p, s.points[j]).length() < 1e-9, qPrintable(QString::number(j)));
        }
        QCOMPARE(s.curve.first(), s.points[0]);
        // no end point is added: the last sample lies within one step of it
        const double dt = dt_SplineT(d.get(), &s);
        QVERIFY(QLineF(s.curve.last(), s.points[3]).length()
                <= QLineF(B_spline_value(&s, 1 - dt), s.points[3]).length() + 1e-9);
        QVERIFY(!hasOrigin(s.curve));
        // partition of unity over the parameter range
        for (double t : {0.0, 0.1, 0.3333, 0.5, 0.9, 0.999}) {
            double sum = 0;
            for (int i = 0; i < 6; ++i)
                sum += N_B(&s, i, 3, t);
            QVERIFY(std::abs(sum - 1) < 1e-12);
        }
    }

    // A knot vector for m control points, checked against the formula.
    void knotVector_data()
    {
        QTest::addColumn<int>("m");
        for (int m : {4, 5, 9, 30})
            QTest::newRow(qPrintable(QString::number(m))) << m;
    }
    void knotVector()
    {
        QFETCH(int, m);
        Spline s;
        SetKnotVector(&s, m);
        QCOMPARE(s.knotCount, m + 4);
        for (int k = 0; k < m + 4; ++k) {
            const double expected = k < 4 ? 0.0 : k >= m ? 1.0 : double(k - 3) / (m - 3);
            QVERIFY(std::abs(s.knots[k] - expected) < 1e-15);
        }
        Spline few;
        few.knots[0] = 7;
        SetKnotVector(&few, 3);
        QCOMPARE(few.knotCount, 0);
        QCOMPARE(few.knots[0], 7.0);
    }

    // Coincident control points: no length, the step 1/256, so t reaches 1
    // exactly and the curve ends on the point, never at (0, 0).
    void coincidentPoints_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("points");
        QTest::newRow("2") << 2 << 257;
        QTest::newRow("3") << 3 << 258;
        QTest::newRow("5") << 5 << 257;
    }
    void coincidentPoints()
    {
        QFETCH(int, n);
        QFETCH(int, points);
        QList<QPointF> ps;
        for (int i = 0; i < n; ++i)
            ps << QPointF(300, 400);
        Spline s = lineOf(ps);
        QCOMPARE(dt_SplineT(d.get(), &s), 1.0 / 256);
        Calculate_Spline_Poly(d.get(), &s);
        QCOMPARE(s.curve.size(), points);
        for (const QPointF& p : std::as_const(s.curve))
            QCOMPARE(p, QPointF(300, 400));
    }

    // The record holds 30 B-spline points: 28 control points at most. A
    // longer line is left as it is instead of writing past the table.
    void controlPointLimit()
    {
        QList<QPointF> ps;
        for (int i = 0; i < kSplinePoints; ++i)
            ps << QPointF(100 + 25 * i, 400 + 10 * std::sin(i));
        Spline s = lineOf(ps.mid(0, 28));
        Calculate_Spline_Poly(d.get(), &s);
        QCOMPARE(s.bsplineCount, 30);
        QCOMPARE(s.knotCount, 34);
        QVERIFY(!s.curve.isEmpty());
        QVERIFY(!Spline_Can_Take_Point(s));
        QVERIFY(Spline_Can_Take_Point(lineOf(ps.mid(0, 27))));

        for (int n : {29, 30}) {
            Spline big = lineOf(ps.mid(0, n));
            big.bsplineCount = 7;
            big.curve << QPointF(1, 1);
            Calculate_Spline_Poly(d.get(), &big);
            QCOMPARE(big.bsplineCount, 7);
            QCOMPARE(big.curve, QPolygonF{QPointF(1, 1)});
        }
        // nor does the working copy of the design's lines touch them
        auto copy = std::make_unique<ParaStruct>(*d);
        Spline big = lineOf(ps);
        copy->designSplines = {big, lineOf(ps.mid(0, 4))};
        QList<Spline> work;
        RecreateSplineList(copy.get(), &work);
        QCOMPARE(work.size(), 2);
        QCOMPARE(work[0].points[29], big.points[29]);
        QVERIFY(work[0].curve.isEmpty());
        QVERIFY(!work[1].curve.isEmpty());
    }

    // UV of points on the rib lines, against the design's own tables.
    void uvOfPoints_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("rib");
        QTest::addColumn<int>("index");   // airfoil index the point lies at
        QTest::addColumn<int>("V");
        QTest::newRow("top, trailing edge") << 0 << 3 << 0 << 0;
        QTest::newRow("top, O1 edge") << 0 << 3 << 538 << 538;
        QTest::newRow("bottom, trailing edge") << 1 << 5 << 999 << 999;
        QTest::newRow("bottom, O2 edge") << 1 << 5 << 592 << 592;
    }
    void uvOfPoints()
    {
        QFETCH(int, side);
        QFETCH(int, rib);
        QFETCH(int, index);
        QFETCH(int, V);
        // on the rib line the cell is the rib's own (its left rib)
        const double s = side == 0 ? d->airfoilArcLen[index][rib]
                                   : d->airfoilArcLen[999][rib] - d->airfoilArcLen[index][rib];
        const QPointF p(d->ribSpanPos[rib], d->trailingEdgeX[rib] - s);
        const QPoint uv = SplineSidePntToUV(d.get(), side, Design_Cell_Of(d.get(), p.x()), p);
        QCOMPARE(uv.x(), 256 * rib);
        QCOMPARE(uv.y(), V);
    }

    // V is the airfoil point at the point's length along the surface (taken
    // on both ribs and across the cell as U is), U linear in x across the cell.
    void uvAcrossTheCell()
    {
        const int k = 6;
        const double x = d->ribSpanPos[k] + 0.25 * (d->ribSpanPos[k + 1] - d->ribSpanPos[k]);
        const double T = 0.75 * d->trailingEdgeX[k] + 0.25 * d->trailingEdgeX[k + 1];
        const double H = 0.75 * f_glob(d.get(), 0, k) + 0.25 * f_glob(d.get(), 0, k + 1);
        QCOMPARE(f_glob(d.get(), 0, k), d->airfoilArcLen[538][k]);
        QCOMPARE(f_glob(d.get(), 1, k), d->airfoilArcLen[999][k] - d->airfoilArcLen[592][k]);
        QCOMPARE(f_glob(d.get(), 2, k), 1.0);
        const QPoint uv = SplineSidePntToUV(d.get(), 0, k, QPointF(x, T - 0.4 * H));
        QCOMPARE(uv.x(), 256 * k + 64);
        // the points at 0.4 of the height on either rib, by their lengths
        auto pointAt = [this](int rib, double share) {
            const double s = share * d->airfoilArcLen[538][rib];
            int i = 0;
            while (i < 538 && d->airfoilArcLen[i + 1][rib] <= s)
                ++i;
            return i + (s - d->airfoilArcLen[i][rib]) / (d->airfoilArcLen[i + 1][rib] - d->airfoilArcLen[i][rib]);
        };
        const double expected = 0.75 * pointAt(k, 0.4) + 0.25 * pointAt(k + 1, 0.4);
        QVERIFY2(std::abs(uv.y() - expected) <= 0.5 + 1e-9, qPrintable(QString::number(expected)));
        // not in proportion to the point numbering: the points are closer
        // together toward the nose
        QVERIFY(std::abs(uv.y() - 0.4 * 538) > 5);
        const QPoint low = SplineSidePntToUV(d.get(), 1, k, QPointF(x, T - 0.4 * H));
        QCOMPARE(low.x(), 256 * k + 64);
        QCOMPARE(SplineSidePntToUV(d.get(), 0, -1, QPointF(x, T)), QPoint(-1, -1));
        // the tip rib is the outer edge of the last cell
        const QPointF tip(d->ribSpanPos[17], d->trailingEdgeX[17] - 10);
        QCOMPARE(SplineSidePntToUV(d.get(), 0, Design_Cell_Of(d.get(), tip.x()), tip).x(), 256 * 17);
        QCOMPARE(U_X_fun(d.get(), QPointF(0.5 * (d->ribSpanPos[2] + d->ribSpanPos[3]), 0)), 2 * 256 + 128);
    }

    // Behind the top side's trailing edge V turns negative: a V of -0.5
    // truncates to 0 and stays, one of -1 or less is left out.
    void behindTheTrailingEdge()
    {
        const int k = 4;
        const double H = f_glob(d.get(), 0, k);
        const double te = d->trailingEdgeX[k];
        const double x = d->ribSpanPos[k];
        QCOMPARE(SplineSidePntToUV(d.get(), 0, k, QPointF(x, te + 0.5 * H / 538)).y(), 0);
        QCOMPARE(SplineSidePntToUV(d.get(), 0, k, QPointF(x, te + 1.5 * H / 538)).y(), -1);
        Spline s = lineOf({QPointF(x + 5, te + 30), QPointF(x + 5, te - 100)});
        Calculate_Spline_Poly(d.get(), &s);
        QVERIFY(s.uvCurve.size() < s.curve.size());
        for (const QPoint& p : std::as_const(s.uvCurve))
            QVERIFY(p.y() >= 0);
    }

    // A line from the left rib across four cells on the top side: U rising
    // from 256 k to 256 (k + 4), V following the arc length.
    void uvCurveOfALine()
    {
        const QPointF a = topPoint(d.get(), 2, 200), b = topPoint(d.get(), 6, 300);
        Spline s = lineOf({a, b});
        Calculate_Spline_Poly(d.get(), &s);
        QCOMPARE(s.uvCurve.size(), s.curve.size());
        QCOMPARE(s.uvCurve.first().x(), 512);
        QCOMPARE(s.uvCurve.last().x(), 1536);
        for (int i = 1; i < s.uvCurve.size(); ++i)
            QVERIFY(s.uvCurve.at(i).x() >= s.uvCurve.at(i - 1).x());
        // drawn at the length of airfoil point 200 of rib 2 and of point 300
        // of rib 6: V is those points
        QCOMPARE(s.uvCurve.first().y(), 200);
        QVERIFY(std::abs(s.uvCurve.last().y() - 300) <= 1);
    }

    void nearestRib_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("rib");
        const double* pos = d->ribSpanPos;
        QTest::newRow("midway goes outward") << 0.5 * (pos[3] + pos[4]) << 4;
        QTest::newRow("nearer the left") << pos[3] + 1 << 3;
        QTest::newRow("nearer the right") << pos[4] - 1 << 4;
        QTest::newRow("left of rib 0") << pos[0] - 30 << 0;
        QTest::newRow("beyond the tip") << pos[17] + 30 << 17;
        QTest::newRow("on the tip") << pos[17] << 17;
    }
    void nearestRib()
    {
        QFETCH(double, x);
        QFETCH(int, rib);
        QCOMPARE(Adjust_to_Near_Rib(d.get(), QPointF(x, 123)), QPointF(d->ribSpanPos[rib], 123));
    }

    // The working copy: ends of lines of 3 or more points on the ribs, the
    // design's own list unchanged.
    void workingCopy()
    {
        auto copy = std::make_unique<ParaStruct>(*d);
        const double* pos = copy->ribSpanPos;
        const QPointF off(pos[2] + 10, 500), end(pos[5] - 12, 450);
        copy->designSplines = {lineOf({off, QPointF(pos[3], 480), end}), lineOf({off, end}, 1)};
        QList<Spline> work;
        RecreateSplineList(copy.get(), &work);
        QCOMPARE(work.size(), 2);
        QCOMPARE(work[0].points[0], QPointF(pos[2], 500));
        QCOMPARE(work[0].points[2], QPointF(pos[5], 450));
        QCOMPARE(work[1].points[0], off);
        QCOMPARE(work[1].points[1], end);
        QVERIFY(!work[0].uvCurve.isEmpty() && !work[1].uvCurve.isEmpty());
        QCOMPARE(copy->designSplines[0].points[0], off);
        QVERIFY(copy->designSplines[0].curve.isEmpty());
    }

    void snapping()
    {
        Spline a = lineOf({QPointF(100, 100), QPointF(150, 120), QPointF(200, 100)}, 0);
        Spline b = lineOf({QPointF(300, 300), QPointF(400, 300)}, 1);
        const QList<Spline> list{a, b};
        QCOMPARE(Find_Snap_Point(list, QPointF(100, 100)), QPointF(0, 0));   // distance 0
        QCOMPARE(Find_Snap_Point(list, QPointF(100, 119.9)), QPointF(100, 100));
        QCOMPARE(Find_Snap_Point(list, QPointF(100, 120)), QPointF(0, 0));   // 20 away
        QCOMPARE(Find_Snap_Point(list, QPointF(205, 100)), QPointF(200, 100));
        QCOMPARE(Find_Snap_Point(list, QPointF(410, 300)), QPointF(400, 300)); // other side
        // markers: the ends of the side's lines of 3 or more points, then
        // one unit above every rib's trailing edge
        const QPolygonF top = fill_snap_points(d.get(), list, 0);
        QCOMPARE(top.size(), 2 + 17);
        QCOMPARE(top.at(0), QPointF(100, 100));
        QCOMPARE(top.at(1), QPointF(200, 100));
        QCOMPARE(top.at(2), d->ribTailPoints[0] - QPointF(0, 1));
        QCOMPARE(fill_snap_points(d.get(), list, 1).size(), 17);
        auto billow = std::make_unique<ParaStruct>(*d);
        billow->billowLineOnTop = true;
        const QPolygonF withBillow = fill_snap_points(billow.get(), list, 0);
        QCOMPARE(withBillow.size(), 2 + 17 + 17);
        QCOMPARE(withBillow.at(2), topPoint(d.get(), 0, d->billowLineIndex));
        QCOMPARE(getBillowPoint(d.get(), 3, 249), QPointF(0, 0));
        QCOMPARE(getBillowPoint(d.get(), 3, 751), QPointF(0, 0));
    }

    void picking()
    {
        Spline a = lineOf({QPointF(100, 100), QPointF(200, 100)}, 0);
        Spline b = lineOf({QPointF(100, 105), QPointF(200, 105)}, 0);
        Spline c = lineOf({QPointF(100, 101), QPointF(200, 101)}, 1);
        for (Spline* s : {&a, &b, &c})
            Calculate_Spline_Poly(d.get(), s);
        const QList<Spline> list{a, b, c};
        const QPointF offset(10, 20);
        QCOMPARE(Select_Spline(list, 0, QPoint(110, 121), offset), 0);
        QCOMPARE(Select_Spline(list, 0, QPoint(110, 124), offset), 1);
        QCOMPARE(Select_Spline(list, 1, QPoint(110, 121), offset), 2);
        QCOMPARE(Select_Spline(list, 0, QPoint(110, 140), offset), -1);
        QCOMPARE(Select_Spline({}, 0, QPoint(110, 121), offset), -1);
        QCOMPARE(SelectPoint(a, QPoint(115, 125), offset), 0);
        QCOMPARE(SelectPoint(a, QPoint(205, 125), offset), 1);
        QCOMPARE(SelectPoint(a, QPoint(118, 120), offset), -1);
        const QPolygonF none;
        QCOMPARE(Dist_Spline_Pnt(&none, QPointF()), 1e18);
        const QPolygonF square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
        QVERIFY(is_InRegionPoly(square, QPointF(5, 5)));
        QVERIFY(!is_InRegionPoly(square, QPointF(15, 5)));
    }

    void uvOutlineOfAPiece()
    {
        WholePoly piece;
        for (int i = 0; i < 4; ++i) {
            PntPart p;
            p.uv = QPoint(256 + i, 10 * i);
            piece.outline << p;
        }
        QCOMPARE(Get_UVPolyFromWholePoly(&piece, 1), (QPolygon{{256, 0}, {257, 10}, {258, 20}, {259, 30}}));
        QCOMPARE(Get_UVPolyFromWholePoly(&piece, 0), (QPolygon{{259, 30}, {258, 20}, {257, 10}, {256, 0}}));
        WholePoly empty;
        QVERIFY(Get_UVPolyFromWholePoly(&empty, 1).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestDesignCurves)
#include "tst_designcurves.moc"
