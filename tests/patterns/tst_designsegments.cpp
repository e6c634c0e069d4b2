// Design-line segments of a cell: UV stretches mapped onto the strip and
// shaped into cuts from rib seam to rib seam.

#include <QTest>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QStringLiteral>

#include "core/parastruct.h"
#include "core/transf.h"
#include "patterns/cellstrip.h"
#include "geom/designcurves.h"
#include "patterns/designsegments.h"
#include "tests/patterns/patternfixture.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

PntPart edgePoint(QPointF p, double allowance)
{
    PntPart e;
    e.point = p;
    e.allowance = allowance;
    return e;
}

bool isVertexOf(const QPolygonF& poly, QPointF p)
{
    for (const QPointF& q : poly)
        if (q == p)
            return true;
    return false;
}

// Distance of p from the line through a and b.
double offLine(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    return std::abs(d.x() * (p.y() - a.y()) - d.y() * (p.x() - a.x())) / std::hypot(d.x(), d.y());
}

Spline uvLine(const QPolygon& uv)
{
    Spline s;
    s.uvCurve = uv;
    return s;
}

// Length along the edge from its first point to the point of the edge
// nearest p (p projected onto the nearest edge segment).
double lengthAlongEdgeTo(const QList<PntPart>& edge, QPointF p, double* distance)
{
    double best = 1e300, at = 0, run = 0;
    for (int i = 1; i < edge.size(); ++i) {
        const QPointF a = edge.at(i - 1).point, b = edge.at(i).point;
        const QPointF ab = b - a;
        const double len2 = ab.x() * ab.x() + ab.y() * ab.y();
        double f = len2 > 0 ? ((p.x() - a.x()) * ab.x() + (p.y() - a.y()) * ab.y()) / len2 : 0;
        f = std::clamp(f, 0.0, 1.0);
        const QPointF q = a + f * ab;
        const double dist = std::hypot(p.x() - q.x(), p.y() - q.y());
        const double len = std::sqrt(len2);
        if (dist < best) {
            best = dist;
            at = run + f * len;
        }
        run += len;
    }
    *distance = best;
    return at;
}

double lengthAlongEdge(const QList<PntPart>& edge, int to)
{
    double sum = 0;
    for (int i = 1; i <= to && i < edge.size(); ++i)
        sum += QLineF(edge.at(i - 1).point, edge.at(i).point).length();
    return sum;
}

// The design-plane y values where the drawn curve crosses x.
QList<double> crossingsAt(const QPolygonF& curve, double x)
{
    QList<double> ys;
    for (int i = 1; i < curve.size(); ++i) {
        const QPointF a = curve.at(i - 1), b = curve.at(i);
        if ((a.x() - x) * (b.x() - x) <= 0 && a.x() != b.x())
            ys.append(a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y()));
        else if (a.x() == x)
            ys.append(a.y());
    }
    if (!curve.isEmpty() && curve.last().x() == x)
        ys.append(curve.last().y());
    return ys;
}

} // namespace

class TestDesignSegments : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> d;
    UnFolder strip; // cell 3 of the default design
    QPolygonF leftOversew, rightOversew;

    // A wavy UV run across cell 3 from U0 to U1 and its flat points.
    void run(int u0, int u1, int n, QPolygonF* xy, QPolygon* uv) const
    {
        xy->clear();
        uv->clear();
        for (int i = 0; i < n; ++i) {
            const int u = u0 + (u1 - u0) * i / (n - 1);
            const int v = 300 + int(20 * std::sin(i * 0.7));
            uv->append(QPoint(u, v));
            xy->append(Map_to_XY(3, u, v, &strip.left, &strip.right));
        }
    }

private slots:
    void initTestCase()
    {
        d = patternfixture::defaultDesign();
        Unfold_ZERO_Longpattern(*d, 3, &strip);
        QCOMPARE(strip.left.size(), 1000);
        leftOversew = create_oversew(strip.left, +1);
        rightOversew = create_oversew(strip.right, -1);
    }

    void mapToXY()
    {
        const QPointF L = strip.left.at(400).point, R = strip.right.at(400).point;
        QCOMPARE(Map_to_XY(3, 768, 400, &strip.left, &strip.right), L);
        QCOMPARE(Map_to_XY(3, 1024, 400, &strip.left, &strip.right), R);
        const QPointF mid = Map_to_XY(3, 896, 400, &strip.left, &strip.right);
        QVERIFY(QLineF(mid, (L + R) / 2).length() < 1e-12);
        QCOMPARE(Map_to_XY(3, 896, 0, &strip.left, &strip.right), QPointF(0, 0));
        QCOMPARE(Map_to_XY(3, 896, 1000, &strip.left, &strip.right), QPointF(0, 0));
    }

    void oversew()
    {
        const QList<PntPart> two{edgePoint({0, 0}, 2), edgePoint({0, 10}, 3)};
        QCOMPARE(create_oversew(two, +1), (QPolygonF{{-2, 0}, {-3, 10}}));
        const QPolygonF right = create_oversew(two, -1);
        QVERIFY(QLineF(right.at(0), QPointF(2, 0)).length() < 1e-12);
        QVERIFY(QLineF(right.at(1), QPointF(3, 10)).length() < 1e-12);
        const QList<PntPart> bare{edgePoint({0, 0}, 0), edgePoint({1, 5}, 0), edgePoint({2, 9}, 0)};
        QCOMPARE(create_oversew(bare, +1), (QPolygonF{{0, 0}, {1, 5}, {1, 5}, {2, 9}}));
        QVERIFY(create_oversew(two.mid(0, 1), +1).isEmpty());
        // the strip's oversew lines lie outside it, at the edge allowances
        QCOMPARE(leftOversew.size(), 2 * 999);
        QVERIFY(leftOversew.at(800).x() < strip.left.at(400).point.x());
        QVERIFY(rightOversew.at(800).x() > strip.right.at(400).point.x());
        QVERIFY(std::abs(QLineF(leftOversew.at(0), strip.left.at(0).point).length() - strip.left.at(0).allowance)
                < 1e-9);
    }

    // Across the cell: from the left rib's oversew line to the right one's,
    // straight and evenly spaced, or the parabola through the middle point.
    void acrossTheCell_data()
    {
        QTest::addColumn<bool>("straight");
        QTest::addColumn<bool>("reversed");
        QTest::newRow("line segments") << true << false;
        QTest::newRow("spline seg.") << false << false;
        QTest::newRow("line segments, right to left") << true << true;
        QTest::newRow("spline seg., right to left") << false << true;
    }
    void acrossTheCell()
    {
        QFETCH(bool, straight);
        QFETCH(bool, reversed);
        QPolygonF xy;
        QPolygon uv;
        run(reversed ? 1024 : 768, reversed ? 768 : 1024, 21, &xy, &uv);
        const QPolygon uvBefore = uv;
        const QPointF M = xy.at(10);
        Modify_Segment(straight, 3, leftOversew, rightOversew, &xy, &uv);
        QCOMPARE(uv, uvBefore);
        QCOMPARE(xy.size(), 21);
        QVERIFY(isVertexOf(reversed ? rightOversew : leftOversew, xy.first()));
        QVERIFY(isVertexOf(reversed ? leftOversew : rightOversew, xy.last()));
        if (straight) {
            const double step = QLineF(xy.at(0), xy.at(1)).length();
            for (int i = 1; i < 21; ++i) {
                QVERIFY(std::abs(QLineF(xy.at(i - 1), xy.at(i)).length() - step) < 1e-9);
                QVERIFY(offLine(xy.at(i), xy.first(), xy.last()) < 1e-9);
            }
        } else {
            QVERIFY(QLineF(xy.at(10), M).length() < 1e-9);
        }
    }

    // Ends less than half a cell apart in U go back to the seam of the rib
    // nearer (in U) to the first point, on a parabola through the middle
    // point, in either mode; half a cell or more carries on to the other rib.
    void backToTheSameRib_data()
    {
        QTest::addColumn<int>("u0");
        QTest::addColumn<int>("u1");
        QTest::addColumn<int>("startSide"); // 0 left, 1 right
        QTest::addColumn<int>("endSide");
        QTest::newRow("near the left rib") << 768 + 20 << 768 + 120 << 0 << 0;
        QTest::newRow("near the right rib") << 768 + 200 << 768 + 100 << 1 << 1;
        QTest::newRow("to the middle and on") << 768 << 768 + 128 << 0 << 1;
        QTest::newRow("just short of the middle") << 768 << 768 + 127 << 0 << 0;
    }
    void backToTheSameRib()
    {
        QFETCH(int, u0);
        QFETCH(int, u1);
        QFETCH(int, startSide);
        QFETCH(int, endSide);
        for (bool straight : {true, false}) {
            QPolygonF xy;
            QPolygon uv;
            run(u0, u1, 15, &xy, &uv);
            const QPointF M = xy.at(7);
            Modify_Segment(straight, 3, leftOversew, rightOversew, &xy, &uv);
            QCOMPARE(xy.size(), 15);
            QVERIFY(isVertexOf(startSide == 0 ? leftOversew : rightOversew, xy.first()));
            QVERIFY(isVertexOf(endSide == 0 ? leftOversew : rightOversew, xy.last()));
            if (startSide == endSide)
                QVERIFY(QLineF(xy.at(7), M).length() < 1e-9);
        }
    }

    void segmentsOfTheCell()
    {
        QList<QPolygonF> xy;
        QList<QPolygon> uv;
        // leaves cell 3 and comes back: two segments; a point at V = 0 in a
        // run is skipped and the run goes on
        const Spline wander = uvLine({{700, 300}, {800, 300}, {850, 0}, {900, 300}, {1100, 300}, {950, 310},
                                      {700, 310}});
        const Spline single = uvLine({{600, 500}, {1000, 500}, {1100, 500}});
        const QList<Spline> lines{wander, single};
        Create_segment_list(*d, 3, &lines, true, strip.left, strip.right, &xy, &uv);
        QCOMPARE(xy.size(), 3);
        QCOMPARE(uv.size(), 3);
        QCOMPARE(uv.at(0), (QPolygon{{800, 300}, {900, 300}}));
        QCOMPARE(uv.at(1), (QPolygon{{950, 310}}));
        QCOMPARE(uv.at(2), (QPolygon{{1000, 500}}));
        for (int s = 0; s < 3; ++s)
            QCOMPARE(xy.at(s).size(), uv.at(s).size());
        // a two-point segment is its two snapped ends; a single point goes
        // onto the seam of the rib nearer in U
        QVERIFY(isVertexOf(leftOversew, xy.at(0).first()) && isVertexOf(leftOversew, xy.at(0).last()));
        QVERIFY(isVertexOf(rightOversew, xy.at(1).first()));
        QVERIFY(isVertexOf(rightOversew, xy.at(2).first()));
    }

    // A point on the rib line belongs to both cells.
    void pointOnTheRib()
    {
        UnFolder next;
        Unfold_ZERO_Longpattern(*d, 4, &next);
        const QList<Spline> lines{uvLine({{900, 200}, {1024, 200}, {1100, 200}})};
        QList<QPolygonF> xy;
        QList<QPolygon> uv;
        Create_segment_list(*d, 3, &lines, true, strip.left, strip.right, &xy, &uv);
        QCOMPARE(uv, (QList<QPolygon>{{{900, 200}, {1024, 200}}}));
        Create_segment_list(*d, 4, &lines, true, next.left, next.right, &xy, &uv);
        QCOMPARE(uv, (QList<QPolygon>{{{1024, 200}, {1100, 200}}}));
        // the lines of cell 3 stay as they were
        Unfold_ZERO_Longpattern(*d, 3, &strip);
    }

    void smoothing()
    {
        QPolygonF wiggly;
        for (int i = 0; i < 40; ++i)
            wiggly << QPointF(i + 0.3 * std::sin(i), 2 * i + 0.5 * std::cos(3 * i));
        const QPolygonF line = Smooth_PolyFit(wiggly, 2);
        QCOMPARE(line.size(), 40);
        for (const QPointF& p : line)
            QVERIFY(offLine(p, line.first(), line.last()) < 1e-9);
        QCOMPARE(Smooth_PolyFit(wiggly.mid(0, 5), 5), wiggly.mid(0, 5));
        QCOMPARE(Smooth_PolyFit(wiggly.mid(0, 3), 5), wiggly.mid(0, 3));
        // a quartic in the point number is its own fit
        QPolygonF quartic;
        for (int i = 0; i < 30; ++i)
            quartic << QPointF(0.001 * std::pow(i, 4) - i, 3 + 0.5 * i * i);
        const QPolygonF fit = Smooth_PolyFit(quartic, 5);
        for (int i = 0; i < 30; ++i)
            QVERIFY(QLineF(fit.at(i), quartic.at(i)).length() < 1e-6);
    }

    void marks_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QList<int>>("marked");
        QTest::newRow("0 .. 50") << 0 << 50 << QList<int>{20, 30, 40};
        QTest::newRow("13 .. 63") << 13 << 63 << QList<int>{40, 50};
        QTest::newRow("10 .. 60") << 10 << 60 << QList<int>{30, 40, 50};
        QTest::newRow("0 .. 4") << 0 << 4 << QList<int>{0, 1, 2, 3, 4};
    }
    void marks()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QList<int>, marked);
        QList<int> got;
        for (int i = a; i <= b; ++i)
            if (is_spline_cntr(a, b, i, 1))
                got << i;
        QCOMPARE(got, marked);
    }

    void integerReversal()
    {
        const QPolygon p{{1, 1}, {2, 2}, {3, 3}, {4, 4}};
        QCOMPARE(reversePoly(p, 0, 3), (QPolygon{{4, 4}, {3, 3}, {2, 2}, {1, 1}}));
        QCOMPARE(reversePoly(p, 2, 1), (QPolygon{{3, 3}, {2, 2}}));
        QCOMPARE(reversePoly(p, 1, 9), (QPolygon{{4, 4}, {3, 3}, {2, 2}}));
        QCOMPARE(reversePoly(p, 2, 2), p);
        QCOMPARE(reversePoly(QPolygon(), 0, 3), QPolygon());
    }

    void cutPoint()
    {
        const PntPart p = Add_SplineSegment(5, false, QPointF(1, 2), 10, 60, 30, 1300, 420, 1.5);
        QCOMPARE(p.rib, 5);
        QCOMPARE(p.point, QPointF(1, 2));
        QCOMPARE(p.index, 420);
        QCOMPARE(p.uv, QPoint(1300, 420));
        QVERIFY(p.control);
        QCOMPARE(p.allowance, 1.5);
        QCOMPARE(p.kind, 'S');
        QVERIFY(!p.trailingEdge);
        QCOMPARE(p.cutFrom, 10);
        QCOMPARE(p.cutTo, 60);
        QCOMPARE(p.name(), QStringLiteral("S 10 60"));
        QVERIFY(!Add_SplineSegment(0, true, QPointF(), 10, 60, 30, 100, 420, 1.5).control);
        QVERIFY(!Add_SplineSegment(5, false, QPointF(), 10, 60, 35, 100, 420, 1.5).control);
    }

    // The default design's lines are cut where they are drawn: where a cut
    // meets a rib edge of its panel, its length along that sewn edge from
    // the trailing edge, as a share of the edge's length to the edge row,
    // is the share of the design area's height at which the drawn curve
    // crosses the rib. Measured on the developed edges themselves (each as
    // long as its rib), so within about one airfoil point's spacing.
    void cutWhereDrawn()
    {
        auto w = patternfixture::defaultDesign();
        QList<Spline> lines;
        RecreateSplineList(w.get(), &lines);
        int upper = 0;
        for (const Spline& l : std::as_const(lines))
            upper += l.side == 0 ? 1 : 0;
        QVERIFY(upper >= 3);
        int ends = 0;
        double worst = 0;
        for (int li = 0; li < lines.size(); ++li) {
            const Spline& line = lines.at(li);
            if (line.side != 0)
                continue;
            const QList<Spline> one{line};
            for (int cell = w->firstRib; cell < w->lastRib; ++cell) {
                UnFolder cellStrip;
                Unfold_ZERO_Longpattern(*w, cell, &cellStrip);
                QList<QPolygonF> xy;
                QList<QPolygon> uv;
                Create_segment_list(*w, cell, &one, false, cellStrip.left, cellStrip.right, &xy, &uv);
                for (const QPolygonF& seg : std::as_const(xy)) {
                    for (const QPointF end : {seg.first(), seg.last()}) {
                        double dl = 0, dr = 0;
                        const double al = lengthAlongEdgeTo(cellStrip.left, end, &dl);
                        const double ar = lengthAlongEdgeTo(cellStrip.right, end, &dr);
                        const bool left = dl < dr;
                        const int rib = left ? cell : cell + 1;
                        const QList<PntPart>& edge = left ? cellStrip.left : cellStrip.right;
                        const double edgeRow = lengthAlongEdge(edge, w->lineIndex[0][rib]);
                        const double cut = (left ? al : ar) / edgeRow;
                        // the step between airfoil points there
                        const int near = std::clamp(int(std::lround(cut * w->lineIndex[0][rib])), 1, 998);
                        const double spacing = std::max(QLineF(edge.at(near - 1).point, edge.at(near).point).length(),
                                                        QLineF(edge.at(near).point, edge.at(near + 1).point).length());
                        // a line that ends inside a cell is led to the nearer
                        // seam: that end is drawn nowhere on the rib
                        const QList<double> crossings = crossingsAt(line.curve, w->ribSpanPos[rib]);
                        if (crossings.isEmpty())
                            continue;
                        double nearest = 1e300;
                        for (double y : crossings) {
                            const double drawn = (w->trailingEdgeX[rib] - y) / f_glob(w.get(), 0, rib);
                            nearest = std::min(nearest, std::abs(drawn - cut) * edgeRow);
                        }
                        QVERIFY2(nearest <= spacing + 1.0,
                                 qPrintable(QStringLiteral("line %1, rib %2: cut %3 from where it is drawn "
                                                           "(points %4 apart)")
                                                .arg(li).arg(rib).arg(nearest).arg(spacing)));
                        worst = std::max(worst, nearest);
                        ++ends;
                    }
                }
            }
        }
        QVERIFY(ends > 20);
        qInfo("%d cut ends, the farthest %.2f from where the line is drawn", ends, worst);
    }

    // The centre cell of an odd cell count: a segment across its half from
    // the symmetry plane to rib 1 becomes a curve symmetric about the
    // symmetry line across the whole cell, its UV points running from U = 0
    // through 128 to 256; both lists alike, point for point.
    void centreCell()
    {
        auto odd = patternfixture::defaultDesign(35);
        QVERIFY(odd->centreCell);
        UnFolder c;
        Unfold_ZERO_Longpattern(*odd, 0, &c);
        QCOMPARE(c.mirrored.size(), 1000);
        const double X0 = c.midLine.first().x();
        for (bool straight : {true, false}) {
            QPolygon across;
            for (int i = 0; i <= 32; ++i)
                across << QPoint(8 * i, 300 + 2 * i);
            const QPolygon back{{250, 600}, {230, 610}, {210, 620}, {230, 630}, {250, 640}};
            const QList<Spline> lines{uvLine(across), uvLine(back)};
            QList<QPolygonF> xy;
            QList<QPolygon> uv;
            Create_segment_list(*odd, 0, &lines, straight, c.mirrored, c.right, &xy, &uv);
            QCOMPARE(xy.size(), 2);
            QCOMPARE(uv.size(), 2);
            const QPolygonF& f = xy.at(0);
            const QPolygon& u = uv.at(0);
            QCOMPARE(f.size(), 2 * 33);
            QCOMPARE(u.size(), f.size());
            QCOMPARE(u.first().x(), 0);
            QCOMPARE(u.at(32).x(), 128);
            QCOMPARE(u.last().x(), 256);
            for (int i = 0; i < u.size(); ++i) {
                const int j = u.size() - 1 - i;
                QCOMPARE(u.at(i).x(), 256 - u.at(j).x());
                QCOMPARE(u.at(i).y(), u.at(j).y());
                QVERIFY(std::abs(f.at(i).x() + f.at(j).x() - 2 * X0) < 1e-6);
                QVERIFY(std::abs(f.at(i).y() - f.at(j).y()) < 1e-6);
            }
            // from the mirrored rib 1's seam to rib 1's seam
            QVERIFY(f.first().x() < c.mirrored.at(300).point.x());
            QVERIFY(f.last().x() > c.right.at(300).point.x());
            // a segment from rib 1 back to rib 1 stays in the right half,
            // unmirrored in both lists
            QCOMPARE(xy.at(1).size(), 5);
            QCOMPARE(uv.at(1), (QPolygon{{253, 600}, {243, 610}, {233, 620}, {243, 630}, {253, 640}}));
            for (const QPointF& p : xy.at(1))
                QVERIFY(p.x() > X0);
        }
    }
};

QTEST_MAIN(TestDesignSegments)
#include "tst_designsegments.moc"
