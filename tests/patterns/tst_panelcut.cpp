// Cutting the pieces of a cell along design-line segments.

#include <QTest>
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
#include "patterns/designsegments.h"
#include "patterns/panelcut.h"
#include "patterns/panelmanager.h"
#include "patterns/patterngeom.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

namespace {

// Signed area of the closed polygon (shoelace, double precision).
double signedArea(const QPolygonF& p)
{
    double a = 0;
    for (int i = 0; i < p.size(); ++i) {
        const QPointF u = p.at(i), v = p.at((i + 1) % p.size());
        a += u.x() * v.y() - v.x() * u.y();
    }
    return a / 2;
}

// A square piece of side 10 with a vertex every unit, clockwise (x right,
// y up): left edge up, top, right edge down, bottom back to the start.
WholePoly square(int cell = 2)
{
    WholePoly w;
    w.cell = cell;
    w.piece = 1;
    w.name = QStringLiteral("Up");
    auto add = [&](double x, double y) {
        PntPart p;
        p.point = QPointF(x, y);
        p.uv = QPoint(int(256 * cell + 25.6 * x), int(10 * y));
        w.outline << p;
    };
    for (int i = 0; i <= 10; ++i)
        add(0, i);
    for (int i = 1; i <= 10; ++i)
        add(i, 10);
    for (int i = 9; i >= 0; --i)
        add(10, i);
    for (int i = 9; i >= 0; --i)
        add(i, 0);
    return w;
}

// A straight segment of n points from a to b with its UV points.
void segment(QPointF a, QPointF b, int n, int cell, QPolygonF* xy, QPolygon* uv)
{
    xy->clear();
    uv->clear();
    for (int i = 0; i < n; ++i) {
        const QPointF p = a + (b - a) * double(i) / (n - 1);
        xy->append(p);
        uv->append(QPoint(int(256 * cell + 25.6 * p.x()), int(10 * p.y())));
    }
}

QList<QPointF> pointsOf(const WholePoly& w)
{
    QList<QPointF> out;
    for (const PntPart& p : w.outline)
        out << p.point;
    return out;
}

} // namespace

class TestPanelCut : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> d;
    QList<WholePoly> start;   // cell 2 of the default design
    QPolygonF xy;             // a design-line segment across its upper piece
    QPolygon uv;

private slots:
    void initTestCase()
    {
        d = patternfixture::defaultDesign();
        Longpattern_Manager(*d, 2, nullptr, true, &start);
        QCOMPARE(start.size(), 3);
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 2, &strip);
        QPolygon curve;
        for (int u = 500; u <= 780; u += 4)
            curve << QPoint(u, 200 + (u - 500) / 8);
        Spline line;
        line.uvCurve = curve;
        const QList<Spline> lines{line};
        QList<QPolygonF> xys;
        QList<QPolygon> uvs;
        Create_segment_list(*d, 2, &lines, true, strip.left, strip.right, &xys, &uvs);
        QCOMPARE(xys.size(), 1);
        xy = xys.first();
        uv = uvs.first();
    }

    // The piece the segment crosses is replaced at its place by the part on
    // the side of the lower airfoil indexes, then the other; both keep name,
    // cell and piece number, share the cut points and add up to the piece.
    void splitInPlace()
    {
        QList<WholePoly> pieces = start;
        Perform_Intersections(d.get(), xy, uv, &pieces);
        QCOMPARE(pieces.size(), 4);
        const WholePoly& down = pieces.at(0);
        const WholePoly& up = pieces.at(1);
        for (const WholePoly* w : {&down, &up}) {
            QCOMPARE(w->name, start.at(0).name);
            QCOMPARE(w->cell, 2);
            QCOMPARE(w->piece, start.at(0).piece);
        }
        QCOMPARE(pieces.at(2).name, QStringLiteral("VN"));
        QCOMPARE(pieces.at(3).name, QStringLiteral("Lw"));
        QCOMPARE(pointsOf(pieces.at(2)), pointsOf(start.at(1)));
        const QPolygonF parent = SetPolylineFromList(start.at(0));
        const QPolygonF a = SetPolylineFromList(down), b = SetPolylineFromList(up);
        QVERIFY(std::abs(signedArea(a) + signedArea(b) - signedArea(parent)) < 1e-6 * std::abs(signedArea(parent)));
        // both clockwise like the piece
        QVERIFY(signedArea(a) < 0 && signedArea(b) < 0 && signedArea(parent) < 0);
        // the down part holds the start of the left edge (index 0), the up
        // part the top cut (at O1)
        QCOMPARE(down.outline.first().point, start.at(0).outline.first().point);
        bool topCut = false;
        for (const PntPart& p : up.outline)
            topCut = topCut || (p.kind == 'S' && p.index == d->lineIndex[0][2] && p.cutTo == 255);
        QVERIFY(topCut);
        // the cut points: the segment's inside points, forward in the down
        // part and backward in the up part
        QList<PntPart> fwd, bwd;
        for (const PntPart& p : down.outline)
            if (p.kind == 'S' && p.name() != QLatin1String("S 0 255"))
                fwd << p;
        for (const PntPart& p : up.outline)
            if (p.kind == 'S' && p.name() != QLatin1String("S 0 255"))
                bwd << p;
        QVERIFY(fwd.size() > 10);
        QCOMPARE(fwd.size(), bwd.size());
        const int first = fwd.first().cutFrom, last = fwd.first().cutTo;
        QCOMPARE(fwd.size(), last - first + 1);
        for (int i = 0; i < fwd.size(); ++i) {
            QCOMPARE(fwd.at(i).point, xy.at(first + i));
            QCOMPARE(fwd.at(i).uv, uv.at(first + i));
            QCOMPARE(bwd.at(i).point, fwd.at(fwd.size() - 1 - i).point);
            QCOMPARE(fwd.at(i).control, is_spline_cntr(first, last, first + i, 1));
        }
        // 10 mm on this wing's span
        QVERIFY(std::abs(fwd.first().allowance - d->ToScreen(0.010)) < 1e-12);
        QVERIFY(CenterPoly(&a).y() < CenterPoly(&b).y());
    }

    // The same segment run the other way gives the same outlines in the same
    // order; only the cut's parameter range follows the reversed indexes.
    void reversedSegment()
    {
        QList<WholePoly> ahead = start, back = start;
        Perform_Intersections(d.get(), xy, uv, &ahead);
        QPolygonF rxy(xy.rbegin(), xy.rend());
        QPolygon ruv(uv.rbegin(), uv.rend());
        Perform_Intersections(d.get(), rxy, ruv, &back);
        QCOMPARE(back.size(), ahead.size());
        for (int k = 0; k < ahead.size(); ++k)
            QCOMPARE(pointsOf(back.at(k)), pointsOf(ahead.at(k)));
        const int n = xy.size();
        const PntPart* cutA = nullptr;
        const PntPart* cutB = nullptr;
        for (const PntPart& p : ahead.at(0).outline)
            if (!cutA && p.kind == 'S' && p.name() != QLatin1String("S 0 255"))
                cutA = &p;
        for (const PntPart& p : back.at(0).outline)
            if (!cutB && p.kind == 'S' && p.name() != QLatin1String("S 0 255"))
                cutB = &p;
        QVERIFY(cutA && cutB);
        QCOMPARE(cutB->cutFrom, n - 1 - cutA->cutTo);
        QCOMPARE(cutB->cutTo, n - 1 - cutA->cutFrom);
    }

    // Each segment cuts what the segments before it left: a second segment
    // splits only the parts it enters; one that enters nothing changes
    // nothing.
    void segmentsOneAfterTheOther()
    {
        QList<WholePoly> pieces = start;
        Perform_Intersections(d.get(), xy, uv, &pieces);
        const QList<WholePoly> once = pieces;
        QPolygonF outside;
        QPolygon outsideUV;
        segment(QPointF(-500, -500), QPointF(-400, -500), 20, 2, &outside, &outsideUV);
        Perform_Intersections(d.get(), outside, outsideUV, &pieces);
        QCOMPARE(pieces.size(), once.size());
        for (int k = 0; k < once.size(); ++k)
            QCOMPARE(pointsOf(pieces.at(k)), pointsOf(once.at(k)));
        // a cut below the first one, inside the down part only
        QPolygonF low = xy;
        for (QPointF& p : low)
            p.ry() -= 40;
        Perform_Intersections(d.get(), low, uv, &pieces);
        QCOMPARE(pieces.size(), 5);
        QCOMPARE(pointsOf(pieces.at(2)), pointsOf(once.at(1)));
        QCOMPARE(pointsOf(pieces.at(3)), pointsOf(once.at(2)));
    }

    // In, out and in again: one cut from the first to the last inside point,
    // two parts.
    void reentering()
    {
        QPolygonF zig;
        QPolygon zigUV;
        for (int i = 0; i <= 40; ++i) {
            const double x = -1 + 12.0 * i / 40;
            const double y = x > 4 && x < 6 ? 12 : 5;
            zig << QPointF(x, y);
            zigUV << QPoint(512 + int(25.6 * x), int(10 * y));
        }
        QList<WholePoly> pieces{square()};
        Perform_Intersections(d.get(), zig, zigUV, &pieces);
        QCOMPARE(pieces.size(), 2);
        QPoint crossing[2];
        Find_Intersection_Index(SetPolylineFromList(square()), zig, crossing);
        QCOMPARE(crossing[0].x(), 4);   // x = 0.2
        QCOMPARE(crossing[1].x(), 36);  // x = 9.8
        QCOMPARE(crossing[0].y(), 5);   // (0, 5)
        QCOMPARE(crossing[1].y(), 25);  // (10, 5)
    }

    void crossingOfNothing()
    {
        QPoint crossing[2] = {QPoint(7, 7), QPoint(7, 7)};
        QPolygonF one{{5, 5}};
        Find_Intersection_Index(SetPolylineFromList(square()), one, crossing);
        QCOMPARE(crossing[0], QPoint(-1, -1));
        QCOMPARE(crossing[1], QPoint(-1, -1));
        QPolygonF away{{20, 20}, {30, 30}};
        Find_Intersection_Index(SetPolylineFromList(square()), away, crossing);
        QCOMPARE(crossing[1], QPoint(-1, -1));
    }

    // A segment with one point inside would leave two parts without area:
    // the piece stays whole.
    void touchingAtOnePoint()
    {
        QPolygonF xy1{{-2, 3}, {0.5, 5}, {-2, 7}};
        QPolygon uv1{{500, 30}, {525, 50}, {500, 70}};
        QList<WholePoly> pieces{square()};
        Perform_Intersections(d.get(), xy1, uv1, &pieces);
        QCOMPARE(pieces.size(), 1);
        QCOMPARE(pointsOf(pieces.at(0)), pointsOf(square()));
    }

    // Cut marks: on the multiples of (b - a) / 5 from a + 2 steps to b - one
    // step; every point of a short cut; none in the centre cell.
    void cutMarks()
    {
        // 71 points 0.198 apart from x = -1.93: points 10 (x = 0.05) to 60
        // (x = 9.95) lie inside
        QPolygonF s;
        QPolygon suv;
        segment(QPointF(-1.93, 4), QPointF(-1.93 + 70 * 0.198, 4), 71, 2, &s, &suv);
        QPoint crossing[2];
        Find_Intersection_Index(SetPolylineFromList(square()), s, crossing);
        QCOMPARE(crossing[0].x(), 10);
        QCOMPARE(crossing[1].x(), 60);
        const WholePoly down = Down_Out_wholePoly(d.get(), s, suv, square(), crossing);
        QList<int> marked;
        int i = 10;
        for (const PntPart& p : down.outline) {
            if (p.kind != 'S')
                continue;
            if (p.control)
                marked << i;
            ++i;
        }
        QCOMPARE(i, 61);
        QCOMPARE(marked, (QList<int>{30, 40, 50}));
        auto odd = std::make_unique<ParaStruct>(*d);
        odd->centreCell = true;
        const WholePoly centre = Down_Out_wholePoly(odd.get(), s, suv, square(0), crossing);
        for (const PntPart& p : centre.outline)
            QVERIFY(!p.control || p.kind != 'S');
        // a cut of fewer than 5 steps marks every point
        QPolygonF shortCut{{-1, 4}, {2, 4}, {5, 4}, {8, 4}, {11, 4}};
        QPolygon shortUV{{486, 40}, {563, 40}, {640, 40}, {716, 40}, {793, 40}};
        Find_Intersection_Index(SetPolylineFromList(square()), shortCut, crossing);
        for (const PntPart& p : Upper_Out_wholePoly(d.get(), shortCut, shortUV, square(), crossing).outline)
            if (p.kind == 'S')
                QVERIFY(p.control);
    }

    // The allowance of every cut point: 10 mm on a wing of 12 m span, half
    // span 1000 plan units.
    void cutAllowance()
    {
        auto w = std::make_unique<ParaStruct>();
        w->span = 12;
        w->seamAllowance[0] = 10;
        QPolygonF s;
        QPolygon suv;
        segment(QPointF(-1, 4), QPointF(11, 4), 13, 2, &s, &suv);
        QPoint crossing[2];
        Find_Intersection_Index(SetPolylineFromList(square()), s, crossing);
        for (const PntPart& p : Down_Out_wholePoly(w.get(), s, suv, square(), crossing).outline)
            if (p.kind == 'S')
                QVERIFY(std::abs(p.allowance - 10.0 / 6) < 1e-12);
    }

    void originalPoly()
    {
        QList<PntPart> list;
        for (int i = 0; i < 4; ++i) {
            PntPart p;
            p.point = QPointF(i, i * i);
            list << p;
        }
        QCOMPARE(Get_Original_Poly(&list, 1), (QPolygonF{{0, 0}, {1, 1}, {2, 4}, {3, 9}}));
        QCOMPARE(Get_Original_Poly(&list, 0), (QPolygonF{{3, 9}, {2, 4}, {1, 1}, {0, 0}}));
        const QList<PntPart> none;
        QVERIFY(Get_Original_Poly(&none, 1).isEmpty());
    }
};

QTEST_MAIN(TestPanelCut)
#include "tst_panelcut.moc"
