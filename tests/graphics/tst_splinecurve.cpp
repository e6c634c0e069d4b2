// Curves of design lines: the sampling step, the three curve kinds, the
// clamped knots and the UV image.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include "core/parastruct.h"
#include "geom/designcurves.h"
#include "tools/template/defaultdesign.h"

#include <cmath>
#include <memory>

namespace {

Spline lineOf(const QList<QPointF>& points, int side = 0)
{
    Spline s;
    s.pointCount = points.size();
    for (int i = 0; i < points.size(); ++i)
        s.points[i] = points.at(i);
    s.side = side;
    return s;
}

double dist(QPointF a, QPointF b)
{
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

} // namespace

class TestSplineCurve : public QObject
{
    Q_OBJECT

    std::unique_ptr<ParaStruct> design = Build_Default_Design(34);

private slots:
    // A straight line of L mm has about L / 2 pi + 1 points and ends on its
    // second point.
    void twoPoints()
    {
        Spline s = lineOf({QPointF(100, 300), QPointF(400, 700)});
        Calculate_Spline_Poly(design.get(), &s);
        const double mm = 1000 * design->R_X(500);
        QCOMPARE(s.bsplineCount, 2);
        QCOMPARE(s.curve.size(), int(std::ceil(mm / 6.283185306)) + 1);
        QCOMPARE(s.curve.first(), QPointF(100, 300));
        QCOMPARE(s.curve.last(), QPointF(400, 700));
    }

    void threePoints()
    {
        Spline s = lineOf({QPointF(100, 300), QPointF(250, 400), QPointF(400, 300)});
        Calculate_Spline_Poly(design.get(), &s);
        QCOMPARE(s.bsplineCount, 3);
        QCOMPARE(s.curve.at(0), s.curve.at(1)); // P0 twice
        QCOMPARE(s.curve.first(), QPointF(100, 300));
        QCOMPARE(s.curve.last(), QPointF(400, 300));
        // through the middle point at t = 0.5
        double best = 1e9;
        for (const QPointF& p : s.curve)
            best = std::min(best, dist(p, QPointF(250, 400)));
        QVERIFY(best < 0.5);
    }

    // Four points: six B-spline points on clamped uniform knots, through the
    // four points at t = 0, 1/3, 2/3 and 1.
    void fourPoints()
    {
        const QList<QPointF> P{QPointF(100, 300), QPointF(200, 420), QPointF(300, 380), QPointF(420, 500)};
        Spline s = lineOf(P);
        Calculate_Spline_Poly(design.get(), &s);
        QCOMPARE(s.bsplineCount, 6);
        QCOMPARE(s.knotCount, 10);
        const double knots[10] = {0, 0, 0, 0, 1.0 / 3, 2.0 / 3, 1, 1, 1, 1};
        for (int i = 0; i < 10; ++i)
            QVERIFY(std::abs(s.knots[i] - knots[i]) < 1e-15);
        for (int j = 0; j < 4; ++j)
            QVERIFY2(dist(B_spline_value(&s, j / 3.0), P.at(j)) < 1e-9, qPrintable(QString::number(j)));
        QCOMPARE(s.curve.first(), P.first());
        QVERIFY(dist(s.curve.last(), P.last()) < 2.0);
        // Partition of unity inside the knot span.
        double sum = 0;
        for (int i = 0; i < 6; ++i)
            sum += N_B(&s, i, 3, 0.45);
        QVERIFY(std::abs(sum - 1) < 1e-12);
    }

    // Coincident points: no length, the step 1/256, t reaches 1 exactly and
    // ends on the last point; no stray origin point.
    void coincidentPoints()
    {
        Spline s = lineOf({QPointF(5, 7), QPointF(5, 7), QPointF(5, 7), QPointF(5, 7), QPointF(5, 7)});
        QCOMPARE(dt_SplineT(design.get(), &s), 1.0 / 256);
        Calculate_Spline_Poly(design.get(), &s);
        QCOMPARE(s.curve.size(), 257);
        for (const QPointF& p : s.curve)
            QVERIFY(dist(p, QPointF(5, 7)) < 1e-9);
    }

    // A line too long for its B-spline table is left alone.
    void tooManyPoints()
    {
        QList<QPointF> P;
        for (int i = 0; i < 29; ++i)
            P << QPointF(100 + 10 * i, 300 + (i % 3));
        Spline s = lineOf(P);
        s.curve = {QPointF(1, 1)};
        Calculate_Spline_Poly(design.get(), &s);
        QCOMPARE(s.curve, QPolygonF{QPointF(1, 1)});
        P.removeLast();
        s = lineOf(P);
        Calculate_Spline_Poly(design.get(), &s);
        QCOMPARE(s.bsplineCount, 30);
        QVERIFY(s.curve.size() > 29);
    }

    // UV: the middle of cell 3 at the trailing edge: U = 3.5 x 256, V = 0 on
    // top and 999 below; at the O1 edge V is O1 of the cell's left rib.
    void uvOfPoints()
    {
        const ParaStruct* d = design.get();
        const double x = d->ribSpanPos[3] + 0.5 * d->cellWidth[3];
        const double te = 0.5 * (d->trailingEdgeX[3] + d->trailingEdgeX[4]);
        QCOMPARE(U_X_fun(d, QPointF(x, 0)), 3 * 256 + 128);
        QCOMPARE(SplineSidePntToUV(d, 0, 3, QPointF(x, te)), QPoint(3 * 256 + 128, 0));
        QCOMPARE(SplineSidePntToUV(d, 1, 3, QPointF(x, te)), QPoint(3 * 256 + 128, 999));
        const double h = 0.5 * (f_glob(d, 0, 3) + f_glob(d, 0, 4));
        const QPoint edge = SplineSidePntToUV(d, 0, 3, QPointF(x, te - h));
        QVERIFY(std::abs(edge.y() - d->lineIndex[0][3]) <= 1);
        QCOMPARE(SplineSidePntToUV(d, 0, -1, QPointF(x, te)), QPoint(-1, -1));
        // left of rib 0 U is negative, and the point has no UV
        QVERIFY(U_X_fun(d, QPointF(d->ribSpanPos[0] - 10, 0)) < 0);
        QCOMPARE(SplineSidePntToUV(d, 0, 0, QPointF(d->ribSpanPos[0] - 10, te)), QPoint(-1, -1));
        // the tip rib is the outer edge of the last cell
        QCOMPARE(U_X_fun(d, QPointF(d->ribSpanPos[d->lastRib], 0)), 256 * d->lastRib);
    }
};

QTEST_APPLESS_MAIN(TestSplineCurve)
#include "tst_splinecurve.moc"
