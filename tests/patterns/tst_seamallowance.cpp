// Seam allowance of the panel pieces: cutting outline, corners, trailing-edge
// flaps and control marks.

#include <QTest>
#include <QByteArray>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringLiteral>

#include "patterns/cellstrip.h"
#include "core/transf.h"
#include "tests/patterns/outlinecheck.h"
#include "patterns/panelmanager.h"
#include "tests/patterns/patternfixture.h"
#include "patterns/seamallowance.h"

using namespace outlinecheck;

namespace {

// A clockwise outline (x right, y up) along the given corners, `per` points
// per side, side k named "S k 0" (or by kinds), every point with allowance a;
// closed by repeating the first point.
QList<PntPart> polygonOutline(const QPolygonF& corners, int per, double a, const QByteArray& kinds = {})
{
    QList<PntPart> out;
    const int sides = corners.size();
    for (int k = 0; k < sides; ++k) {
        const QPointF p = corners.at(k), q = corners.at((k + 1) % sides);
        for (int i = 0; i < per; ++i) {
            PntPart pt;
            pt.point = p + (q - p) * i / double(per);
            pt.allowance = a;
            pt.kind = kinds.isEmpty() ? 'S' : kinds.at(k);
            pt.cutFrom = k;
            pt.cutTo = 0;
            out.append(pt);
        }
    }
    out.append(out.first());
    return out;
}

bool containsNear(const QPolygonF& poly, QPointF p, double tol = 1e-9)
{
    for (const QPointF& q : poly)
        if (QLineF(p, q).length() < tol)
            return true;
    return false;
}

// A point of the boundary segment of the given kind.
PntPart named(char kind)
{
    PntPart p;
    p.kind = kind;
    return p;
}

} // namespace

class TestSeamAllowance : public QObject
{
    Q_OBJECT
private slots:
    void shortSegmentsAreStraightened()
    {
        QList<QPolygonF> segs;
        QPolygonF seven, eight;
        for (int i = 0; i < 7; ++i)
            seven << QPointF(i, i * i);
        for (int i = 0; i < 8; ++i)
            eight << QPointF(i, i * i);
        segs << seven << eight;
        Repair_Segment(&segs);
        QCOMPARE(segs.at(0).size(), 20);
        QCOMPARE(segs.at(0).first(), QPointF(0, 0));
        const QPointF L(6, 36);
        QVERIFY(QLineF(segs.at(0).at(19), 0.95 * L).length() < 1e-9);
        QVERIFY(QLineF(segs.at(0).at(10), 0.5 * L).length() < 1e-9);
        QCOMPARE(segs.at(1), eight);
    }

    // Names change from A to B at point 3 and from B to C at point 12: the
    // change at 3 comes too early to start a segment.
    void segmentStarts()
    {
        QList<PntPart> o;
        for (int j = 0; j < 20; ++j)
            o << named(j < 3 ? 'A' : j < 12 ? 'B' : 'C');
        QCOMPARE(Boundary_Segments(o), (QList<int>{0, 7, 12, 19}));
        // the last point never starts a segment
        o.last().kind = 'D';
        QCOMPARE(Boundary_Segments(o), (QList<int>{0, 7, 12, 19}));
        QVERIFY(Boundary_Segments({}).isEmpty());
    }

    void flapShape()
    {
        const QPolygonF f = make_Poly(2, 1.5, QPointF(0, 0), QPointF(10, 0));
        // the chord runs along +x: its left side is +y
        QCOMPARE(f, (QPolygonF{{0, 0}, {0, 1.5}, {10, 1.5}, {10, 0}}));
        const QPolygonF g = make_Poly(32, 2.0, QPointF(4, 0), QPointF(0, 0));
        QCOMPARE(g.size(), 34);
        for (int i = 1; i <= 32; ++i)
            QVERIFY(std::abs(g.at(i).y() + 2.0) < 1e-12);
        QVERIFY(std::abs(g.at(1).x() - 4) < 1e-12 && std::abs(g.at(32).x()) < 1e-12);
    }

    void trimmingToCorners()
    {
        QPolygonF p;
        for (int i = 0; i < 10; ++i)
            p << QPointF(i, 0);
        // both corners nearest to vertex 0: unchanged
        QCOMPARE(Fine_Poly_Corners(&p, QPointF(-1, 1), QPointF(0.2, -1)), p);
        // vertex 2 becomes c1; vertex 7 and the one before it become c2
        const QPolygonF r = Fine_Poly_Corners(&p, QPointF(6.9, 0.5), QPointF(2.1, 0.5));
        QCOMPARE(r, (QPolygonF{{2.1, 0.5}, {3, 0}, {4, 0}, {5, 0}, {6.9, 0.5}}));
    }

    // Corners of offset polygons by formula: a right triangle (3 segments,
    // corners without flap) and a square (4 segments).
    void cornersMeetAtTheOffsetLines_data()
    {
        QTest::addColumn<QPolygonF>("corners");
        QTest::addColumn<QPolygonF>("expected");
        const double h = 10 + std::sqrt(2.0);
        QTest::newRow("triangle") << QPolygonF{{0, 0}, {0, 10}, {10, 0}} << QPolygonF{{-1, -1}, {-1, 1 + h}, {1 + h, -1}};
        QTest::newRow("square") << QPolygonF{{0, 0}, {0, 10}, {10, 10}, {10, 0}}
                                << QPolygonF{{-1, -1}, {-1, 11}, {11, 11}, {11, -1}};
    }
    void cornersMeetAtTheOffsetLines()
    {
        QFETCH(QPolygonF, corners);
        QFETCH(QPolygonF, expected);
        WholePoly piece;
        piece.outline = polygonOutline(corners, 20, 1.0);
        auto d = patternfixture::boxCanopy(1, 10);
        FinalPart fp;
        Setup_One_FinalPart(d.get(), 4, &piece, &fp);
        QCOMPARE(fp.cell, 4);
        QCOMPARE(fp.pureOutline.size(), piece.outline.size());
        for (const QPointF& c : expected)
            QVERIFY2(containsNear(fp.allowanceOutline, c, 1e-9), qPrintable(QStringLiteral("%1 %2").arg(c.x()).arg(c.y())));
        QCOMPARE(selfCrossing(fp.allowanceOutline), qMakePair(-1, -1));
        for (int j = 0; j < piece.outline.size(); j += 3)
            QVERIFY(std::abs(distanceToOutline(piece.outline.at(j).point, fp.allowanceOutline) - 1.0) < 1e-9);
    }

    // A start piece whose bottom cut lies on the trailing edge: four
    // segments, the trailing-edge one replaced by a flap of 34 points from
    // the end of the right edge's offset to the start of the left edge's.
    void trailingEdgeFlap()
    {
        auto d = patternfixture::boxCanopy(2, 20.0);
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 0, &strip);
        QList<WholePoly> pieces;
        Generate_4Start_Polygons(d.get(), 0, &strip, &pieces);
        WholePoly& first = pieces[0];
        QCOMPARE(Boundary_Segments(first.outline).size(), 5);
        FinalPart fp;
        Setup_One_FinalPart(d.get(), 0, &first, &fp);
        const double flap = 20.0 / 6;
        const double side = 10.0 / 6; // the side seam allowance on the rib edges
        const QPolygonF f = fp.allowanceOutline.mid(fp.allowanceOutline.size() - 34);
        QVERIFY(QLineF(f.first(), QPointF(20 + side, 0)).length() < 1e-3);
        QVERIFY(QLineF(f.last(), QPointF(-side, 0)).length() < 1e-3);
        for (int i = 1; i <= 32; ++i)
            QVERIFY(std::abs(f.at(i).y() + flap) < 1e-3);
        QVERIFY(std::abs(f.at(1).x() - 20 - side) < 1e-3 && std::abs(f.at(32).x() + side) < 1e-3);
        // the corners of the left edge lie on the trailing edge's sewing line
        QVERIFY(QLineF(fp.allowanceOutline.first(), QPointF(-side, 0)).length() < 1e-3);
        // marks: 3 on each cut (those of the flap's cut included), on the cutting line
        QCOMPARE(fp.cutMarks.size(), 6);
        QVERIFY(containsNear(fp.cutMarks, QPointF(10, strip.left.at(400).point.y() + 15.0 / 6), 1e-3));
        // the trailing-edge cut's marks stand where its offset would be: on the flap
        QVERIFY(containsNear(fp.cutMarks, QPointF(5, -flap), 1e-3));
        // The last piece's top cut at 999 gets the flap as well.
        FinalPart lastPart;
        Setup_One_FinalPart(d.get(), 0, &pieces[2], &lastPart);
        const double top = strip.left.at(999).point.y();
        int onFlap = 0;
        for (const QPointF& p : lastPart.allowanceOutline)
            onFlap += std::abs(p.y() - (top + flap)) < 1e-3;
        QCOMPARE(onFlap, 32);
    }

    // Where the rib edges meet the trailing edge at a slant, the flap stands
    // on the trailing edge between the corners of the neighbouring cutting
    // lines, and the cutting line does not fold back across itself there.
    void slantedFlapStartsAtTheCorners()
    {
        auto d = patternfixture::boxCanopy(1, 10);
        const double flap = 20.0 / 6;
        WholePoly piece;
        piece.outline = polygonOutline({{0, 0}, {-6, 30}, {26, 30}, {20, 0}}, 40, 1.0, "LSRS");
        for (int j = 120; j < piece.outline.size(); ++j) {
            piece.outline[j].trailingEdge = true;
            piece.outline[j].allowance = flap;
        }
        FinalPart fp;
        Setup_One_FinalPart(d.get(), 0, &piece, &fp);
        QCOMPARE(selfCrossing(fp.allowanceOutline), qMakePair(-1, -1));
        const QPolygonF f = fp.allowanceOutline.mid(fp.allowanceOutline.size() - 34);
        // the offset side lines x = 20 + y / 5 + 1.0198 and x = -y / 5 - 1.0198 meet y = 0 at
        const double k = std::sqrt(26.0) / 5; // 1 / cos of the slant
        QVERIFY(QLineF(f.first(), QPointF(20 + k, 0)).length() < 1e-9);
        QVERIFY(QLineF(f.last(), QPointF(-k, 0)).length() < 1e-9);
        QVERIFY(QLineF(fp.allowanceOutline.first(), f.last()).length() < 1e-9);
        for (int i = 1; i <= 32; ++i)
            QVERIFY(std::abs(f.at(i).y() + flap) < 1e-9);
        for (int x = 1; x < 20; x += 3)
            QVERIFY(std::abs(rayDistance(QPointF(x, 0), QPointF(0, -1), fp.allowanceOutline) - flap) < 1e-9);
    }

    void degenerateOutlines()
    {
        auto d = patternfixture::boxCanopy(1, 10);
        FinalPart fp;
        fp.allowanceOutline << QPointF(7, 7);
        WholePoly empty;
        Setup_One_FinalPart(d.get(), 0, &empty, &fp);
        QCOMPARE(fp.allowanceOutline, QPolygonF{QPointF(7, 7)}); // untouched
        WholePoly two;
        two.outline = polygonOutline({{0, 0}, {1, 1}}, 1, 1.0).mid(0, 2);
        Setup_One_FinalPart(d.get(), 0, &two, &fp);
        QVERIFY(fp.allowanceOutline.isEmpty());
        QCOMPARE(fp.pureOutline.size(), 2);
        // one segment: no cutting line, marks still recorded
        WholePoly one;
        one.outline = polygonOutline({{0, 0}, {0, 10}, {10, 0}}, 20, 1.0);
        for (PntPart& p : one.outline) {
            p.kind = 'S';
            p.cutFrom = 0;
            p.cutTo = 255;
        }
        one.outline[30].control = true;
        Setup_One_FinalPart(d.get(), 0, &one, &fp);
        QVERIFY(fp.allowanceOutline.isEmpty());
        QCOMPARE(fp.cutMarks.size(), 1);
    }

    // An outline of 40 boundary segments: the segment tables grow with it.
    void manySegments()
    {
        QPolygonF corners;
        for (int k = 0; k < 40; ++k) {
            const double t = -2 * M_PI * k / 40; // clockwise
            corners << QPointF(100 * std::cos(t), 100 * std::sin(t));
        }
        WholePoly piece;
        piece.outline = polygonOutline(corners, 10, 2.0);
        for (int k = 0; k < 40; ++k)
            piece.outline[10 * k + 5].control = true;
        auto d = patternfixture::boxCanopy(1, 10);
        FinalPart fp;
        Setup_One_FinalPart(d.get(), 0, &piece, &fp);
        QCOMPARE(Boundary_Segments(piece.outline).size(), 41);
        QCOMPARE(fp.cutMarks.size(), 40);
        QCOMPARE(selfCrossing(fp.allowanceOutline), qMakePair(-1, -1));
        for (int j = 0; j < piece.outline.size() - 1; j += 7)
            QVERIFY(distanceToOutline(piece.outline.at(j).point, fp.allowanceOutline) > 1.9);
        for (const QPointF& m : fp.cutMarks)
            QVERIFY(std::abs(QLineF(QPointF(0, 0), m).length() - 100 * std::cos(M_PI / 40) - 2) < 0.01 ||
                    std::abs(QLineF(QPointF(0, 0), m).length() - 102) < 1);
    }

    // On the default design every piece's cutting outline lies outside its
    // sewing outline, at the allowance of each edge (the side allowance on
    // the ribs, the front, trailing-edge or side allowance on the cuts, the
    // trailing-edge flap), within 0.1 mm, and does not cross itself.
    void defaultDesignAllowances_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<QList<int>>("cellsChecked");
        QTest::newRow("34 cells") << 34 << QList<int>{0, 5, 11, 16};
        QTest::newRow("35 cells, centre cell") << 35 << QList<int>{0, 17};
    }
    void defaultDesignAllowances()
    {
        QFETCH(int, cells);
        QFETCH(QList<int>, cellsChecked);
        auto d = patternfixture::defaultDesign(cells);
        const double mm = d->dxfScale;
        QCOMPARE(d->seamAllowance[0], 10.0);
        QCOMPARE(d->seamAllowance[1], 20.0);
        QCOMPARE(d->seamAllowance[2], 20.0);
        const double flap = d->ToScreen(0.020);
        double worst = 0;
        int checked = 0;
        for (int cell : cellsChecked) {
            QList<WholePoly> pieces;
            Longpattern_Manager(*d, cell, nullptr, true, &pieces);
            QCOMPARE(pieces.size(), 3);
            for (WholePoly& piece : pieces) {
                FinalPart fp;
                Setup_One_FinalPart(d.get(), cell, &piece, &fp);
                const QPolygonF& cut = fp.allowanceOutline;
                QVERIFY(cut.size() > 100);
                QCOMPARE(selfCrossing(cut), qMakePair(-1, -1));
                const QList<int> starts = Boundary_Segments(piece.outline);
                QCOMPARE(starts.size(), 5);
                double largest = flap;
                for (const PntPart& p : piece.outline)
                    largest = std::max(largest, p.allowance);
                for (int s = 0; s + 1 < starts.size(); ++s) {
                    const QPointF first = piece.outline.at(starts[s]).point;
                    const QPointF last = piece.outline.at(starts[s + 1] - 1).point;
                    for (int j = starts[s]; j < starts[s + 1]; j += 2) {
                        const PntPart& p = piece.outline.at(j);
                        // away from the corners the cutting line passes the edge's own offset
                        if (QLineF(p.point, first).length() < 3 * largest || QLineF(p.point, last).length() < 3 * largest)
                            continue;
                        QVERIFY(cut.containsPoint(p.point, Qt::OddEvenFill) || p.allowance == 0);
                        const double expected = p.trailingEdge ? flap : p.allowance;
                        // measured along the edge's outward normal at the point
                        const QPointF q = j + 1 < starts[s + 1] ? piece.outline.at(j + 1).point : p.point;
                        const QPointF o = j + 1 < starts[s + 1] ? p.point : piece.outline.at(j - 1).point;
                        const double len = QLineF(o, q).length();
                        if (len == 0)
                            continue;
                        const QPointF normal(-(q.y() - o.y()) / len, (q.x() - o.x()) / len);
                        const double measured = expected == 0 ? distanceToOutline(p.point, cut)
                                                              : rayDistance(p.point, normal, cut);
                        const double e = mm * std::abs(measured - expected);
                        worst = std::max(worst, e);
                        // and nowhere does the cutting line come much closer (the
                        // nearest distance falls short of the allowance only
                        // where the allowance itself changes along the edge)
                        QVERIFY(mm * (distanceToOutline(p.point, cut) - expected) > -0.5);
                        ++checked;
                        if (e >= 0.1)
                            QFAIL(qPrintable(QStringLiteral("cell %1 %2 point %3 (%4): %5 mm off")
                                                 .arg(cell).arg(piece.name).arg(j).arg(p.name()).arg(e)));
                    }
                }
            }
        }
        qInfo("%d points checked, worst %.4f mm", checked, worst);
        QVERIFY(checked > 1000);
    }
};

QTEST_MAIN(TestSeamAllowance)
#include "tst_seamallowance.moc"
