// The panel manager: the pieces of a cell, cut along the design lines, keyed
// and ordered.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "core/parastruct.h"
#include "core/transf.h"
#include "geom/designcurves.h"
#include "patterns/panelmanager.h"
#include "patterns/patterngeom.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

namespace {

QStringList namesOf(const QList<WholePoly>& pieces)
{
    QStringList names;
    for (const WholePoly& w : pieces)
        names << w.name;
    return names;
}

double meanV(const WholePoly& w)
{
    double sum = 0;
    for (const PntPart& p : w.outline)
        sum += p.uv.y();
    return sum / w.outline.size();
}

// Signed area of the closed outline (shoelace, double precision).
double areaOf(const WholePoly& w)
{
    const QPolygonF p = SetPolylineFromList(w);
    double a = 0;
    for (int i = 0; i < p.size(); ++i) {
        const QPointF u = p.at(i), v = p.at((i + 1) % p.size());
        a += u.x() * v.y() - v.x() * u.y();
    }
    return a / 2;
}

double meanY(const WholePoly& w)
{
    const QPolygonF p = SetPolylineFromList(w);
    return CenterPoly(&p).y();
}

WholePoly pieceOf(const QPolygonF& points, const QString& name)
{
    WholePoly w;
    w.name = name;
    for (const QPointF& q : points) {
        PntPart p;
        p.point = q;
        p.uv = QPoint(int(q.x()), int(q.y()));
        w.outline << p;
    }
    return w;
}

} // namespace

class TestPanelManager : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> d;

    QList<Spline> linesOf(ParaStruct* design, const QList<Spline>& lines)
    {
        design->designSplines = lines;
        QList<Spline> work;
        RecreateSplineList(design, &work);
        return work;
    }

private slots:
    void initTestCase()
    {
        d = patternfixture::defaultDesign();
    }

    // No design lines: every cell gives its start pieces, upper piece first,
    // then the nose piece, then the lower one; in the tapered cells near the
    // tip too, whose strips curl round so far that the lower piece lies
    // above the nose piece in the flat.
    void withoutLines()
    {
        const QList<Spline> none;
        for (int cell = 0; cell < d->lastRib; ++cell) {
            QList<WholePoly> pieces;
            Longpattern_Manager(*d, cell, &none, true, &pieces);
            QCOMPARE(namesOf(pieces), (QStringList{"Up", "VN", "Lw"}));
            for (int k = 1; k < pieces.size(); ++k)
                QVERIFY(pieces.at(k - 1).orderKey > pieces.at(k).orderKey);
            for (const WholePoly& w : pieces)
                QCOMPARE(w.orderKey, qRound(500 - meanV(w)));
        }
    }

    // One line across cell 3 of the upper surface splits its upper piece in
    // two; the part nearer the trailing edge comes first. The cells beside
    // it, which the line only touches on their ribs, stay whole.
    void oneLineAcrossCell3()
    {
        const QList<Spline> lines = linesOf(
            d.get(), {patternfixture::designLine(0, {patternfixture::designPoint(d.get(), 0, 3, 200),
                                                     patternfixture::designPoint(d.get(), 0, 4, 260)})});
        QList<WholePoly> pieces;
        Longpattern_Manager(*d, 3, &lines, true, &pieces);
        QCOMPARE(namesOf(pieces), (QStringList{"Up", "Up", "VN", "Lw"}));
        QVERIFY(meanY(pieces.at(0)) < meanY(pieces.at(1)));
        QCOMPARE(pieces.at(0).piece, pieces.at(1).piece);
        for (int cell : {2, 4}) {
            Longpattern_Manager(*d, cell, &lines, true, &pieces);
            QCOMPARE(namesOf(pieces), (QStringList{"Up", "VN", "Lw"}));
        }
        // the two parts make up the whole upper piece
        QList<WholePoly> whole;
        Longpattern_Manager(*d, 3, nullptr, true, &whole);
        Longpattern_Manager(*d, 3, &lines, true, &pieces);
        const double parts = areaOf(pieces.at(0)) + areaOf(pieces.at(1));
        const double all = areaOf(whole.at(0));
        QVERIFY2(std::abs(parts - all) < 1e-9 * std::abs(all), qPrintable(QString("%1 %2").arg(parts).arg(all)));
    }

    // The cells worked out side by side are the cells worked out one by one,
    // each in its place, with the warnings of the slope check of each: here
    // a design whose lines meet the ribs steeply in a few cells, in both cut
    // modes.
    void cellsSideBySide()
    {
        QList<Spline> lines = linesOf(
            d.get(), {patternfixture::designLine(0, {patternfixture::designPoint(d.get(), 0, 1, 100),
                                                     patternfixture::designPoint(d.get(), 0, 3, 400),
                                                     patternfixture::designPoint(d.get(), 0, 6, 150)}),
                      patternfixture::designLine(1, {patternfixture::designPoint(d.get(), 1, 2, 800),
                                                     patternfixture::designPoint(d.get(), 1, 5, 900)})});
        QPolygon steep;
        for (int k = 0; k < 60; ++k)
            steep << QPoint(256 * 5 + 128, 200 + 10 * k);
        Spline down;
        down.uvCurve = steep;
        lines.append(down);
        for (const bool lineSegments : {true, false}) {
            const QList<CellPanels> cells = Longpattern_Cells(*d, d->lastRib, &lines, lineSegments, true);
            QCOMPARE(cells.size(), d->lastRib);
            int warned = 0;
            for (int cell = 0; cell < d->lastRib; ++cell) {
                QList<WholePoly> pieces;
                QStringList warnings;
                Longpattern_Manager(*d, cell, &lines, lineSegments, &pieces, &warnings);
                QCOMPARE(cells.at(cell).slopeWarnings, warnings);
                warned += warnings.size();
                QCOMPARE(cells.at(cell).pieces.size(), pieces.size());
                for (int k = 0; k < pieces.size(); ++k) {
                    QCOMPARE(cells.at(cell).pieces.at(k).name, pieces.at(k).name);
                    QCOMPARE(cells.at(cell).pieces.at(k).orderKey, pieces.at(k).orderKey);
                    QCOMPARE(SetPolylineFromList(cells.at(cell).pieces.at(k)), SetPolylineFromList(pieces.at(k)));
                }
            }
            QVERIFY(warned > 0);
        }
        QVERIFY(Longpattern_Cells(*d, 0, &lines, true, true).isEmpty());
    }

    // Two runs for the same cell and design give the same pieces and keys.
    void repeatable()
    {
        const QList<Spline> lines = linesOf(
            d.get(), {patternfixture::designLine(0, {patternfixture::designPoint(d.get(), 0, 1, 100),
                                                     patternfixture::designPoint(d.get(), 0, 3, 400),
                                                     patternfixture::designPoint(d.get(), 0, 6, 150)}),
                      patternfixture::designLine(1, {patternfixture::designPoint(d.get(), 1, 2, 800),
                                                     patternfixture::designPoint(d.get(), 1, 5, 900)})});
        for (int cell : {2, 4}) {
            QList<WholePoly> a, b;
            Longpattern_Manager(*d, cell, &lines, true, &a);
            Longpattern_Manager(*d, cell, &lines, true, &b);
            QVERIFY(a.size() > 3);
            QCOMPARE(a.size(), b.size());
            for (int k = 0; k < a.size(); ++k) {
                QCOMPARE(a.at(k).name, b.at(k).name);
                QCOMPARE(a.at(k).orderKey, b.at(k).orderKey);
                QCOMPARE(SetPolylineFromList(a.at(k)), SetPolylineFromList(b.at(k)));
            }
        }
    }

    // A segment of more than 30 points whose first 21 run along V meets the
    // rib at 90 degrees: warned when the check is on.
    void slopeWarning()
    {
        QPolygon steep;
        for (int i = 0; i <= 20; ++i)
            steep << QPoint(1280, 300 + 5 * i);
        for (int i = 1; i <= 10; ++i)
            steep << QPoint(1280 + 10 * i, 400);
        QCOMPARE(steep.size(), 31);
        d->designWarnings.clear();
        check_segments_slope(*d, 5, steep, &d->designWarnings);
        QCOMPARE(d->designWarnings, QList<QString>{" critical slope in rib:5    angle:90 \n"});
        // the same at its end
        QPolygon back(steep.rbegin(), steep.rend());
        d->designWarnings.clear();
        check_segments_slope(*d, 5, back, &d->designWarnings);
        QCOMPARE(d->designWarnings, QList<QString>{" critical slope in rib:5    angle:90 \n"});
        // 30 points, the check off: nothing
        d->designWarnings.clear();
        check_segments_slope(*d, 5, steep.mid(0, 30), &d->designWarnings);
        check_segments_slope(*d, 5, steep, nullptr);
        QVERIFY(d->designWarnings.isEmpty());
        // a gentle slope: nothing
        QPolygon gentle;
        for (int i = 0; i < 40; ++i)
            gentle << QPoint(1280 + 6 * i, 300 + 5 * i);
        check_segments_slope(*d, 5, gentle, &d->designWarnings);
        QVERIFY(d->designWarnings.isEmpty());
        // the centre cell of an odd cell count is not checked
        auto odd = patternfixture::defaultDesign(35);
        check_segments_slope(*odd, 0, steep, &odd->designWarnings);
        QVERIFY(odd->designWarnings.isEmpty());
        check_segments_slope(*odd, 1, steep, &odd->designWarnings);
        QCOMPARE(odd->designWarnings.size(), 1);
    }

    // The centre cell: a line across its half is mirrored, and the parts are
    // symmetric about the symmetry line.
    void centreCell()
    {
        auto odd = patternfixture::defaultDesign(35);
        const QList<Spline> lines = linesOf(
            odd.get(), {patternfixture::designLine(0, {QPointF(odd->ribSpanPos[0], patternfixture::designPoint(odd.get(), 0, 1, 250).y()),
                                                       patternfixture::designPoint(odd.get(), 0, 1, 250)})});
        QList<WholePoly> pieces;
        UnFolder strip;
        Longpattern_Manager(*odd, 0, &lines, true, &pieces, nullptr, &strip);
        QCOMPARE(namesOf(pieces), (QStringList{"Up", "Up", "VN", "Lw"}));
        const double X0 = strip.midLine.first().x();
        for (int k = 0; k < 2; ++k) {
            const QPolygonF p = SetPolylineFromList(pieces.at(k));
            const QRectF box = p.boundingRect();
            QVERIFY2(std::abs(box.left() + box.right() - 2 * X0) < 0.5,
                     qPrintable(QString("%1 %2 %3").arg(box.left()).arg(box.right()).arg(X0)));
        }
    }

    void cleaning()
    {
        QList<WholePoly> pieces{pieceOf({{0, 0}, {0, 2}, {2, 2}, {2, 0}, {0, 0}}, "A"),
                                pieceOf({{0, 0}, {1, 1}, {2, 2}}, "flat"),
                                pieceOf({{5, 5}}, "point"),
                                pieceOf({}, "empty"),
                                pieceOf({{0, 5}, {0, 6}, {1, 6}, {0, 5}}, "B")};
        Clean_List(&pieces);
        QCOMPARE(namesOf(pieces), (QStringList{"A", "B"}));
        // ordered by mean V, the piece nearer the upper trailing edge first
        Order_Pieces(&pieces);
        QCOMPARE(namesOf(pieces), (QStringList{"A", "B"}));
        QVERIFY(toAscending(pieces.at(0), pieces.at(1)));
        QVERIFY(!toAscending(pieces.at(1), pieces.at(0)));
    }
};

QTEST_MAIN(TestPanelManager)
#include "tst_panelmanager.moc"
