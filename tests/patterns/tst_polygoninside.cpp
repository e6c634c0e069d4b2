// The inside of a polygon asked for many points answers as
// QPolygonF::containsPoint does, for every point: vertices, points on edges
// and at the heights of vertices, outlines open and closed, crossing
// themselves, with horizontal and nearly horizontal edges, long edges
// across the whole height, and the piece outlines of the default design
// with their cell's mid-line.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRandomGenerator>

#include "core/parastruct.h"
#include "patterns/panelmanager.h"
#include "patterns/pieces.h"
#include "patterns/polygoninside.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

namespace {

// Points to ask about: every vertex, the middle and the thirds of every
// edge, points a hair beside vertices, the heights of the vertices at the
// xs of others, and random points over the box around the polygon.
QList<QPointF> probes(const QPolygonF& polygon)
{
    QList<QPointF> out;
    const int n = int(polygon.size());
    for (int i = 0; i < n; ++i) {
        const QPointF p = polygon.at(i), q = polygon.at((i + 1) % n);
        out << p << (p + q) / 2 << p + (q - p) / 3 << p + 2 * (q - p) / 3;
        out << QPointF(std::nextafter(p.x(), -1e300), p.y()) << QPointF(std::nextafter(p.x(), 1e300), p.y())
            << QPointF(p.x(), std::nextafter(p.y(), -1e300)) << QPointF(p.x(), std::nextafter(p.y(), 1e300));
        out << QPointF(polygon.at((i * 7 + 3) % n).x(), p.y());
    }
    const QRectF box = polygon.boundingRect().adjusted(-1, -1, 1, 1);
    QRandomGenerator random(12345);
    for (int k = 0; k < 2000; ++k)
        out << QPointF(box.left() + random.generateDouble() * box.width(),
                       box.top() + random.generateDouble() * box.height());
    return out;
}

QPolygonF regular(int corners, double radius, int step = 1)
{
    QPolygonF p;
    for (int k = 0; k < corners; ++k) {
        const double phi = 2 * M_PI * ((k * step) % corners) / corners;
        p << QPointF(radius * std::cos(phi), radius * std::sin(phi));
    }
    return p;
}

// A dense closed outline like a piece's: an airfoil-like upper and lower
// curve of many points, the first point repeated at the end.
QPolygonF denseOutline(int points)
{
    QPolygonF p;
    for (int i = 0; i <= points; ++i) {
        const double t = double(i) / points;
        p << QPointF(100 * t, 12 * std::sqrt(t) * (1 - t));
    }
    for (int i = points - 1; i >= 0; --i) {
        const double t = double(i) / points;
        p << QPointF(100 * t, -5 * std::sqrt(t) * (1 - t));
    }
    p << p.first();
    return p;
}

} // namespace

class TestPolygonInside : public QObject
{
    Q_OBJECT

    static void compareAll(const QPolygonF& polygon, const QList<QPointF>& points)
    {
        const PolygonInside inside(polygon);
        for (const QPointF& p : points) {
            const bool oddEven = polygon.containsPoint(p, Qt::OddEvenFill);
            const bool winding = polygon.containsPoint(p, Qt::WindingFill);
            if (inside.containsOddEven(p) != oddEven || inside.containsWinding(p) != winding)
                QFAIL(qPrintable(QStringLiteral("(%1, %2): odd-even %3, winding %4 expected")
                                     .arg(p.x(), 0, 'g', 17)
                                     .arg(p.y(), 0, 'g', 17)
                                     .arg(oddEven)
                                     .arg(winding)));
        }
    }

private slots:
    void sameAsContainsPoint_data()
    {
        QTest::addColumn<QPolygonF>("polygon");
        QPolygonF square;
        for (int i = 0; i <= 10; ++i)
            square << QPointF(0, i);
        for (int i = 1; i <= 10; ++i)
            square << QPointF(i, 10);
        for (int i = 9; i >= 0; --i)
            square << QPointF(10, i);
        for (int i = 9; i >= 0; --i)
            square << QPointF(i, 0);
        QTest::newRow("square, a vertex every unit, closed") << square;
        QPolygonF open = square;
        open.removeLast();
        QTest::newRow("square, open") << open;
        QTest::newRow("triangle") << QPolygonF{{0, 0}, {5, 9}, {10, 1}};
        QTest::newRow("five-pointed star, the middle wound twice") << regular(5, 10, 2);
        QTest::newRow("many-sided, long edges") << regular(40, 50);
        QTest::newRow("nearly horizontal edges")
            << QPolygonF{{0, 1}, {5, 1 + 1e-13}, {10, 1}, {10, 5}, {5, 5 - 1e-13}, {0, 5}};
        QTest::newRow("last point a hair from the first")
            << QPolygonF{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {1e-14, 1e-14}};
        QTest::newRow("comb: long edges across the whole height") << [] {
            QPolygonF comb;
            for (int k = 0; k < 200; ++k)
                comb << QPointF(k, 0) << QPointF(k + 0.5, 100);
            comb << QPointF(200, -5) << QPointF(0, -5);
            return comb;
        }();
        QTest::newRow("dense outline, 1000 points a side") << denseOutline(1000);
        QTest::newRow("single point") << QPolygonF{{1, 1}};
        QTest::newRow("two points") << QPolygonF{{0, 0}, {3, 7}};
        QTest::newRow("empty") << QPolygonF();
    }

    void sameAsContainsPoint()
    {
        QFETCH(QPolygonF, polygon);
        compareAll(polygon, polygon.isEmpty() ? QList<QPointF>{{0, 0}, {1, 1}} : probes(polygon));
    }

    // The pieces of the default design's cells with the cell's mid-line, as
    // the panel sheet asks about them.
    void piecesOfTheDefaultDesign()
    {
        const std::unique_ptr<ParaStruct> d = patternfixture::defaultDesign();
        for (int cell : {0, 3, d->lastRib - 1}) {
            QList<WholePoly> pieces;
            UnFolder strip;
            Longpattern_Manager(*d, cell, nullptr, true, &pieces, nullptr, &strip);
            QVERIFY(!pieces.isEmpty());
            for (const WholePoly& piece : pieces) {
                const QPolygonF outline = SetPolylineFromList(piece);
                QList<QPointF> points = probes(outline);
                for (const QPointF& p : strip.midLine)
                    points << p;
                compareAll(outline, points);
            }
        }
    }
};

QTEST_MAIN(TestPolygonInside)
#include "tst_polygoninside.moc"
