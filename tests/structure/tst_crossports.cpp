// Cross-port base shapes on the default design: anchors, the triangle strip,
// the mini-rib bands, the working copies and the holes they give.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QStringLiteral>

#include "core/parastruct.h"
#include "tests/structure/structfixture.h"
#include "structure/crossports.h"
#include "structure/holefun.h"

#include <cmath>

using namespace fixture;

namespace {

QPolygonF ribOutline(const ParaStruct& d, int rib)
{
    // The rib airfoil at its chord in plan units: the airfoil's indexing, the
    // size of the flattened rib.
    QPolygonF out = init_Work_Airfoil(d.ribAirfoils[rib], d.chord[rib]);
    for (QPointF& p : out)
        p.setY(-p.y());
    return out;
}

QList<QPolygonF> ribHoles(const ParaStruct* d, int rib, const QPolygonF& outline)
{
    const int group = d->diagTableD1[rib].ribType;
    HoleLayout h = Hole_Layout_Of(*d);
    Set_Triang_Index_Values(*d, rib, &h);
    Reset_baseTri_Array(*d, outline, group, false, &h);
    Calc_current_grup_all_tribase(*d, group, &h);
    QList<QPolygonF> holes;
    for (int j = 0; j < 11; ++j)
        holes += Create_div_Triangles(d, h.baseTriangles[j], false);
    return holes;
}

} // namespace

class TestCrossPorts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(defaultDesign().lastRib > 10);
    }

    void holesOfEveryRibLieInsideAndApart()
    {
        auto d = copyOfDefault();
        int total = 0;
        for (int r = d->firstRib; r < d->lastRib; ++r) {
            const QPolygonF outline = ribOutline(*d, r);
            const QList<QPolygonF> holes = ribHoles(d.get(), r, outline);
            const int group = d->diagTableD1[r].ribType;
            int expected = 0;
            for (int j = 0; j < 11; ++j)
                expected += std::min(d->crossPorts[group].triangles[j].holeCount, 3);
            QCOMPARE(holes.size(), expected);
            QVERIFY(expected >= 8);
            for (int i = 0; i < holes.size(); ++i) {
                QCOMPARE(holes[i].size(), 72);
                QVERIFY2(allInside(outline, holes[i]), qPrintable(QStringLiteral("rib %1 hole %2").arg(r).arg(i)));
                for (int j = 0; j < i; ++j)
                    QVERIFY2(!overlap(holes[i], holes[j]),
                             qPrintable(QStringLiteral("rib %1 holes %2 %3").arg(r).arg(i).arg(j)));
            }
            total += holes.size();
        }
        QVERIFY(total > 100);
    }

    void triangleStripStandsOnTheAttachments()
    {
        auto d = copyOfDefault();
        const int r = 3;
        const QPolygonF outline = ribOutline(*d, r);
        HoleLayout h = Hole_Layout_Of(*d);
        Set_Triang_Index_Values(*d, r, &h);
        QCOMPARE(h.crossPortTriIndex[0], d->noseIndex[r]);
        for (int k = 1; k <= 6; ++k)
            QCOMPARE(h.crossPortTriIndex[k], d->lineIndex[k + 1][r]);
        // The upper anchors lie on the upper surface, above the middle of
        // their two rows.
        for (int k = 8; k <= 12; ++k) {
            const int up = h.crossPortTriIndex[k];
            const int row = k - 6;
            QVERIFY(up > 10 && up < d->noseIndex[r]);
            const double xm = 0.5 * (d->ribAirfoils[r][d->lineIndex[row][r]].x()
                                     + d->ribAirfoils[r][d->lineIndex[row + 1][r]].x());
            QVERIFY(std::fabs(d->ribAirfoils[r][up].x() - xm) < 0.01);
        }
        Reset_baseTri_Array(*d, outline, 0, false, &h);
        const Triang* tri = h.crossPorts[0].triangles;
        QCOMPARE(tri[0].corner[0], outline[d->noseIndex[r]]);
        QCOMPARE(tri[4].corner[0], outline[d->lineIndex[3][r]]); // B
        QCOMPARE(tri[4].corner[1], outline[d->lineIndex[4][r]]); // C
        QCOMPARE(tri[5].corner[2], outline[d->lineIndex[4][r]]); // odd slot: apex at C
        for (int s = 0; s < 12; ++s) {
            QVERIFY(tri[s].expanded);
            QCOMPARE(tri[s].outline.size(), 3);
        }
    }

    void resetTakesTheCurrentValues()
    {
        auto d = copyOfDefault();
        const QPolygonF a = ribOutline(*d, 2), b = ribOutline(*d, 5);
        const Triang before = d->crossPorts[1].triangles[4];
        HoleLayout h = Hole_Layout_Of(*d);
        Set_Triang_Index_Values(*d, 5, &h);
        Reset_baseTri_Array(*d, b, 1, false, &h);
        const Triang& after = h.crossPorts[1].triangles[4];
        QVERIFY(after.corner[0] != before.corner[0]);
        QCOMPARE(after.holeCount, before.holeCount);
        QCOMPARE(after.offsetMm, before.offsetMm);
        QCOMPARE(after.cornerCount, before.cornerCount);

        d->crossPortHoles = 2;
        d->crossPortOffset = 7;
        d->crossPortCorner = 3.8;
        Reset_baseTri_Array(*d, a, 1, true, &h);
        for (int s = 0; s < 12; ++s) {
            const Triang& t = h.crossPorts[1].triangles[s];
            QCOMPARE(t.holeCount, 2);
            QCOMPARE(t.offsetMm, 7);
            QCOMPARE(t.cornerCount, 3);
            QCOMPARE(t.cornerStep, 1.0 / 3);
            QCOMPARE(t.offset, Hole_Screen_Offset(d.get(), 7));
        }
    }

    void nothingToBuildOnLeavesTheGroup()
    {
        auto d = copyOfDefault();
        const Triang before = d->crossPorts[0].triangles[3];
        HoleLayout h = Hole_Layout_Of(*d);
        const QPolygonF empty;
        Reset_baseTri_Array(*d, empty, 0, true, &h);
        Reset_baseTrap_Array(*d, empty, 2, true, &h);
        QCOMPARE(h.crossPorts[0].triangles[3].corner[2], before.corner[2]);
        QCOMPARE(h.crossPorts[0].triangles[3].holeCount, before.holeCount);
        // A rib without airfoil keeps the anchors.
        const int anchor = h.crossPortTriIndex[3];
        d->ribAirfoils[4].clear();
        Set_Triang_Index_Values(*d, 4, &h);
        Set_Triang_Index_Values(*d, -1, &h);
        Set_Triang_Index_Values(*d, 80, &h);
        QCOMPARE(h.crossPortTriIndex[3], anchor);
        // A negative anchor stops before any triangle is touched.
        const QPolygonF outline = ribOutline(*d, 2);
        h.crossPortTriIndex[5] = -1;
        Reset_baseTri_Array(*d, outline, 0, true, &h);
        QCOMPARE(h.crossPorts[0].triangles[3].holeCount, before.holeCount);
        QCOMPARE(h.baseTriPoints[0], outline[h.crossPortTriIndex[0]]);
        // Groups outside 0..4 are not built.
        const HoleLayout kept = h;
        Reset_baseTri_Array(*d, outline, 5, true, &h);
        Reset_baseTrap_Array(*d, outline, -1, true, &h);
        QCOMPARE(h.baseTriPoints[1], kept.baseTriPoints[1]);
    }

    void miniribBands()
    {
        auto d = copyOfDefault();
        QPolygonF foil = d->ribAirfoils[1];
        QCOMPARE(foil.size(), 1000);
        HoleLayout h = Hole_Layout_Of(*d);
        Set_Trap_Index_Values23(*d, foil, &h);
        QCOMPARE(h.trapIndexB[0], 998);
        for (int k = 0; k < 9; ++k) {
            QVERIFY(h.trapIndexB[k] > d->noseIndex[1]);
            QVERIFY(h.trapIndexA[k] < d->noseIndex[1]);
            if (k > 0)
                QVERIFY(h.trapIndexB[k] < h.trapIndexB[k - 1]);
        }
        const QPolygonF outline = ribOutline(*d, 1);
        Reset_baseTrap_Array(*d, outline, 2, false, &h);
        const Trap* t = h.crossPorts[2].traps;
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(t[k].corner[0], t[k].corner[3]); // zero height
            QVERIFY(t[8 + k].corner[0].y() >= t[8 + k].corner[3].y()); // upper above lower
        }
        Calc_current_grup_all_trap(2, &h);
        int holes = 0;
        for (int k = 8; k < 16; ++k) {
            QVERIFY(h.baseTraps[k].expanded);
            const QPolygonF band({t[k].corner[0], t[k].corner[1], t[k].corner[2], t[k].corner[3]});
            for (const QPolygonF& hole : Create_div_Trapez(d.get(), h.baseTraps[k], false)) {
                QVERIFY(allInside(band, hole));
                ++holes;
            }
        }
        QCOMPARE(holes, 8);
        QCOMPARE(set_trap_ddw(nullptr, 500, 3), 0);
        QPolygonF empty;
        QCOMPARE(set_trap_ddw(&empty, 500, 3), 0);
        QCOMPARE(set_trap_ddw(&foil, 1200, 3), 998);
    }

    void lowerBandOfTheDiagonals()
    {
        auto d = copyOfDefault();
        d->diagIndexTableA[0][d->lastRib] = -7;
        for (int b = 0; b < 4; ++b)
            for (int r = 0; r < kStructSlots; ++r)
                d->diagTableRows[b][r] = 3 + b;
        Set_DW_Bottom_Shift(d.get());
        for (int r = d->firstRib; r < d->lastRib; ++r) {
            for (int b = 0; b < 4; ++b) {
                const int w = int(d->rib_glob_factor(r) * (3 + b));
                QCOMPARE(d->diagIndexTableA[2 * b][r], d->lineIndex[b + 2][r] - w);
                QCOMPARE(d->diagIndexTableA[2 * b + 1][r], d->lineIndex[b + 2][r] + w);
            }
            for (int k = 0; k < 8; ++k)
                QCOMPARE(d->diagIndexTableB[k][r], d->diagIndexTableA[k][r]);
        }
        QCOMPARE(d->diagIndexTableA[0][d->lastRib], -7);
    }

    void nearestPoints()
    {
        QPolygonF a({QPointF(0, 0), QPointF(5, 0), QPointF(10, 0), QPointF(5, 1)});
        QCOMPARE(Nearest_UP_PointF_index(QPointF(5, 0.5), &a), 1); // tie: the first
        QCOMPARE(Nearest_UP_PointF_index(QPointF(20000, 0), &a), -1);
        QPolygonF empty;
        QCOMPARE(Nearest_UP_PointF_index(QPointF(0, 0), &empty), -1);
        QCOMPARE(Nearest_DW_PointF_index(1, 1, &a, &a), 3);
        QCOMPARE(Nearest_DW_PointF_index(1, 3, &a, &a), -1);
        QCOMPARE(Nearest_DW_PointF_index(9, 0, &a, &a), -1);
        const QPolygonF w = init_Work_Airfoil(QPolygonF({QPointF(1, 0.1), QPointF(0, -0.2)}), 1024);
        QCOMPARE(w, QPolygonF({QPointF(1024, -102.4), QPointF(0, 204.8)}));
        QVERIFY(init_Work_Airfoil(QPolygonF(), 5).isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestCrossPorts)
#include "tst_crossports.moc"
