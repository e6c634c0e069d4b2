// Completing the diagonal ribs of the default design: tabs, allowances,
// cut-outs, mapped holes, flat and 3-D outlines.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QStringLiteral>
#include <QVector3D>

#include "core/parastruct.h"
#include "core/transf.h"
#include "tests/structure/structfixture.h"
#include "structure/diagshape.h"

#include <cmath>

using namespace fixture;

namespace {

QPolygonF tabQuad(const DiagonalData& g, int b)
{
    const QPointF* B = g.first.flatPoints;
    const QPointF* T = g.second.flatPoints;
    return QPolygonF({B[2 * b], B[2 * b + 1], T[2 * b + 1], T[2 * b]});
}

// The flat edge pieces (top, then the four tabs, with the allowance) and the
// 3-D ones of a completed diagonal, from its two edges.
QList<QPolygonF> flatPieces(const ParaStruct* d, const DiagonalData& g)
{
    const bool firstIsBottom = g.first.heightPercent < g.second.heightPercent;
    int top[8];
    Diagonal_Top_Indexes(d, firstIsBottom ? g.second.rib : g.first.rib, top);
    const double s = d->ToScreen(0.001 * d->seamAllowance[3]);
    return Create_Dia_Seg_List(d, &g, firstIsBottom ? s : -s, top, firstIsBottom ? g.flatEdgeA : g.flatEdgeB,
                               firstIsBottom ? g.flatEdgeB : g.flatEdgeA);
}

QList<QList<QVector3D>> spacePieces(const ParaStruct* d, const DiagonalData& g)
{
    const bool firstIsBottom = g.first.heightPercent < g.second.heightPercent;
    int top[8];
    Diagonal_Top_Indexes(d, firstIsBottom ? g.second.rib : g.first.rib, top);
    return Create_Dia_3D_Seg_List(d, &g, top, firstIsBottom ? g.edgeLineA : g.edgeLineB,
                                  firstIsBottom ? g.edgeLineB : g.edgeLineA);
}

double distanceToPolyline(QPointF p, const QPolygonF& line)
{
    double best = 1e300;
    for (const QPointF& q : line)
        best = std::min(best, Dist2(p, q));
    return best;
}

} // namespace

class TestDiagShape : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> d;

private slots:
    void init()
    {
        d = copyOfDefault();
        QCOMPARE(d->diagonals.size(), 15);
    }

    void tabsAndHolesOfEveryDiagonal()
    {
        const int modelHoles = int(d->diagModelPolys.size());
        QCOMPARE(modelHoles, 1);
        for (int k = 0; k < d->diagonals.size(); ++k) {
            DiagonalData g = d->diagonals[k];
            Create_Diagonal_2D3D(*d, &g);
            const int rb = g.first.heightPercent < g.second.heightPercent ? g.first.rib : g.second.rib;
            const double w = 0.01 * d->diagBottomWidth * d->rib_glob_factor(rb);
            for (int b = 0; b < 4; ++b) {
                // Tab ends half the tab width (metres) from the attachment.
                const QPointF a = g.first.flatAttach[b];
                QVERIFY(a != QPointF(0, 0));
                for (int e : {2 * b, 2 * b + 1})
                    QVERIFY(std::fabs(2 * d->R_X(Dist2(g.first.flatPoints[e], a)) - w) < 1e-4);
                const QVector3D s = g.first.spaceAttach[b];
                for (int e : {2 * b, 2 * b + 1})
                    QVERIFY(std::fabs(2 * d->R_X(Dist3(g.first.spacePoints[e], s)) - w) < 1e-4);
                // The model holes lie inside their tab.
                const QPolygonF quad = tabQuad(g, b);
                QVERIFY(std::fabs(shoelace(quad)) > 100);
                for (int h = 0; h < modelHoles; ++h) {
                    const QPolygonF& hole = g.flatHoles[b * modelHoles + h];
                    QCOMPARE(hole.size(), d->diagModelPolys[h].size());
                    QVERIFY2(allInside(quad, hole), qPrintable(QStringLiteral("diagonal %1 tab %2").arg(k).arg(b)));
                }
            }
            QCOMPARE(g.flatHoles.size(), 4 * modelHoles);
            QCOMPARE(g.spaceHoles.size(), 4 * modelHoles);
            for (const QList<QVector3D>& hole : g.spaceHoles) {
                QCOMPARE(hole.size(), d->diagModelPolys[0].size() + 1);
                QCOMPARE(hole.first(), hole.last());
            }
            // The closed flat outline holds every hole.
            QVERIFY(g.flatOutline.size() > 100);
            for (const QPolygonF& hole : g.flatHoles)
                QVERIFY(allInside(g.flatOutline, hole));
            // The 3-D outline is closed by the top piece again.
            const QList<QVector3D> top = spacePieces(d.get(), g).at(0);
            QVERIFY(top.size() > 20);
            QCOMPARE(g.spaceOutline.mid(0, top.size()), top);
            QCOMPARE(g.spaceOutline.mid(g.spaceOutline.size() - top.size()), top);
            QVERIFY(!g.bottomRange3D.isEmpty());
            QVERIFY(!g.topRange3D.isEmpty());
        }
    }

    void lineDOnlyChangesTheFlatOutline()
    {
        DiagonalData on = d->diagonals[2], off = d->diagonals[2];
        Create_Diagonal_2D3D(*d, &on);
        const QList<QPolygonF> strips = flatPieces(d.get(), on);
        QCOMPARE(on.flatOutline.last(), strips[4].last());
        d->diagModelFlags[0] = false;
        Create_Diagonal_2D3D(*d, &off);
        QCOMPARE(off.flatOutline.last(), strips[3].last());
        // the last cut-out (its two rounded corners of 90 points and its
        // ends) and the line D tab are left out
        QCOMPARE(off.flatOutline.size(), on.flatOutline.size() - strips[4].size() - (2 + 2 * 90));
        QCOMPARE(off.flatHoles.size(), 4);
        QCOMPARE(off.spaceOutline, on.spaceOutline);
    }

    void allowanceLiesOutsideWhicheverEndStarts()
    {
        // Diagonal 0 starts at its bottom end (table D1), diagonal 8 at its
        // top end (table D2): the allowance of the top edge lies on the far
        // side from the bottom edge in both.
        for (int k : {0, 8}) {
            DiagonalData g = d->diagonals[k];
            Create_Diagonal_2D3D(*d, &g);
            const bool firstIsBottom = g.first.heightPercent == 0;
            QCOMPARE(firstIsBottom, k == 0);
            const QList<OrigPnt2D>& bottomEdge = firstIsBottom ? g.flatEdgeA : g.flatEdgeB;
            const QList<OrigPnt2D>& topEdge = firstIsBottom ? g.flatEdgeB : g.flatEdgeA;
            int top[8];
            Diagonal_Top_Indexes(d.get(), g.second.rib, top);
            const QPolygonF piece = Segment_FromList_UP(topEdge, top[7], top[0]);
            const QPolygonF strip = flatPieces(d.get(), g).at(0);
            QCOMPARE(strip.size(), 2 * (piece.size() - 1));
            const double s = d->ToScreen(0.001 * d->seamAllowance[3]);
            const QPolygonF bottom = polyFromList(bottomEdge);
            for (int i = 0; i + 1 < piece.size(); i += 7) {
                QVERIFY(std::fabs(Dist2(strip[2 * i], piece[i]) - s) < 1e-9);
                QVERIFY2(distanceToPolyline(strip[2 * i], bottom) > distanceToPolyline(piece[i], bottom),
                         qPrintable(QStringLiteral("diagonal %1 point %2").arg(k).arg(i)));
            }
        }
    }

    void noAllowanceRunsAlongTheEdge()
    {
        d->seamAllowance[3] = 0;
        DiagonalData g = d->diagonals[4];
        Create_Diagonal_2D3D(*d, &g);
        const QPolygonF strip = flatPieces(d.get(), g).at(1);
        QVERIFY(strip.size() > 10);
        for (int i = 1; i + 1 < strip.size(); i += 2)
            QCOMPARE(strip[i], strip[i + 1]);
    }

    void withoutModelHolesNoHoles()
    {
        d->diagModelPolys.clear();
        DiagonalData g = d->diagonals[1];
        Create_Diagonal_2D3D(*d, &g);
        QVERIFY(g.flatHoles.isEmpty());
        QVERIFY(g.spaceHoles.isEmpty());
        QVERIFY(!g.flatOutline.isEmpty());
    }

    void polylinePositions()
    {
        const QPolygonF five({QPointF(0, 0), QPointF(1, 0), QPointF(2, 0), QPointF(3, 0), QPointF(4, 0)});
        QCOMPARE(param_Poly2D(five, 1), QPointF(3, 0));
        QCOMPARE(param_Poly2D(five, 0.5), QPointF(1.5, 0));
        QCOMPARE(param_Poly2D(five, -1), QPointF(0, 0));
        QCOMPARE(param_Poly2D(QPolygonF({QPointF(5, 5)}), 0.5), QPointF(0, 0));
        QCOMPARE(param_Poly2D_t_from_k(five, 4), 1.0);
        QCOMPARE(param_Poly2D_t_from_k(five, 2), 2.0 / 3);
        QCOMPARE(param_Poly2D_from_Point(five, QPointF(2.2, 0.1)), 2.0 / 3);
        QCOMPARE(near_pnt_index(five, QPointF(1.5, 0)), 2); // ties: the later one
        QCOMPARE(near_pnt_index(QPolygonF(), QPointF(1.5, 0)), 0);
        double t[2] = {5, 5};
        QVERIFY(!find_seg2D_param(d.get(), five, 0.001, QPointF(0, 0), t));
        QCOMPARE(t[0], 0.0);
        // A tab around point 2 of a straight line: both ends at half the
        // width (metres) from it.
        QVERIFY(find_seg2D_param(d.get(), five, 2 * d->R_X(0.5), QPointF(2, 0), t));
        QVERIFY(std::fabs(d->R_X(param_Poly2D(five, t[0]).x() - 1.5)) < 1e-5);
        QVERIFY(std::fabs(d->R_X(param_Poly2D(five, t[1]).x() - 2.5)) < 1e-5);
        const QList<QVector3D> line{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
        QCOMPARE(param_Poly3D_from_Point(line, QVector3D(1, 0, 0)), 0.5);
        QCOMPARE(param_Poly3D_from_Point(line.mid(0, 3), QVector3D(1, 0, 0)), 0.0); // n - 2 <= 1
        QCOMPARE(param_Poly3D(line, 1), QVector3D(2, 0, 0));
    }

    void cutOutCorners()
    {
        const QPointF q[4] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
        const QPolygonF cut = create_Poly_Trap(q);
        QCOMPARE(cut.size(), 182);
        QCOMPARE(cut.first(), q[0]);
        QCOMPARE(cut.last(), q[3]);
        const QVector3D r[4] = {{0, 0, 0}, {0, 10, 0}, {10, 10, 1}, {10, 0, 1}};
        QCOMPARE(create_Poly_Trap3D(r).size(), 122);
        QCOMPARE(Diagon_ubermuss(2, QPolygonF({QPointF(1, 1)})), QPolygonF({QPointF(1, 1)}));
        QCOMPARE(Diagon_ubermuss(1, QPolygonF({QPointF(0, 0), QPointF(2, 0)})),
                 QPolygonF({QPointF(0, 1), QPointF(2, 1)}));
    }
};

QTEST_APPLESS_MAIN(TestDiagShape)
#include "tst_diagshape.moc"
