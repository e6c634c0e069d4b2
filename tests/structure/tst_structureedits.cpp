// The widget-free rules behind the structure editors: rib-set texts, table
// cells and replication, the cross-port model of the diagonals, the plane
// view's indexes, the reinforcement curves and what the cross ports
// manager shows.

#include <QTest>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include "core/parastruct.h"
#include "core/transf.h"
#include "geom/ribunfold.h"
#include "structure/crossports.h"
#include "structure/crossportview.h"
#include "structure/diagmodel.h"
#include "structure/diagplane.h"
#include "structure/diagtables.h"
#include "structure/holefun.h"
#include "geom/reinforce.h"
#include "structure/reinforcecurves.h"
#include "tests/structure/structfixture.h"

#include <cmath>
#include <memory>

using namespace fixture;

namespace {

QList<int> flagged(const ParaStruct& d, const bool* flags)
{
    QList<int> ribs;
    for (int r = 0; r <= d.lastRib; ++r)
        if (flags[r])
            ribs << r;
    return ribs;
}

bool near(QPointF a, QPointF b, double tol)
{
    return std::fabs(a.x() - b.x()) <= tol && std::fabs(a.y() - b.y()) <= tol;
}

} // namespace

class TestStructureEdits : public QObject
{
    Q_OBJECT

private slots:
    void ribTypeTexts()
    {
        QCOMPARE(ribs_group_text(0), QString("L"));
        QCOMPARE(ribs_group_text(1), QString("I"));
        QCOMPARE(ribs_group_text(7), QString("I"));
        QCOMPARE(ribs_group_number("L"), 0);
        QCOMPARE(ribs_group_number("l"), 0);
        QCOMPARE(ribs_group_number("I"), 1);
        QCOMPARE(ribs_group_number(""), 1);
        QCOMPARE(ribs_group_number("LL"), 1);
    }

    void heightTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("height");
        QTest::newRow("150") << "150" << 100;
        QTest::newRow("-5") << "-5" << 0;
        QTest::newRow("x") << "x" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("70") << "70" << 70;
        QTest::newRow("decimal") << "50.5" << 0;
    }

    void heightTexts()
    {
        QFETCH(QString, text);
        QFETCH(int, height);
        QCOMPARE(Diagonal_Height_From_Text(text), height);
    }

    void ribSetTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("ribs");
        QTest::newRow("two ribs") << "( 2,4)" << QList<int>{2, 4};
        QTest::newRow("empty number is rib 0") << "(,3)" << QList<int>{0, 3};
        QTest::newRow("no closing bracket") << "( 2,4" << QList<int>{2};
        QTest::newRow("beyond the tip") << "( 5,18,40)" << QList<int>{5};
        QTest::newRow("nothing") << "( )" << QList<int>{};
        QTest::newRow("other characters") << "(a1b,c7)" << QList<int>{1, 7};
        // A run of digits long enough to overflow a number sets no rib.
        QTest::newRow("endless digits") << "( 3,99999999999999999999999999,4294967297,6)" << QList<int>{3, 6};
    }

    void ribSetTexts()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, ribs);
        auto d = copyOfDefault();
        QCOMPARE(d->lastRib, 17);
        for (bool& f : d->rearRibEnabled)
            f = true;
        Edit_To_Bfield(d.get(), text, d->rearRibEnabled);
        QCOMPARE(flagged(*d, d->rearRibEnabled), ribs);
        // Cells beyond the half wing are left alone.
        QVERIFY(d->rearRibEnabled[18] && d->rearRibEnabled[65]);
    }

    void ribSetTextsWritten()
    {
        auto d = copyOfDefault();
        bool flags[66]{};
        QCOMPARE(Bfield_To_Edit(d.get(), flags), QString("( )"));
        flags[1] = flags[3] = flags[5] = true;
        flags[30] = true;   // beyond the tip: not written
        QCOMPARE(Bfield_To_Edit(d.get(), flags), QString("( 1,3,5)"));
        bool back[66]{};
        Edit_To_Bfield(d.get(), Bfield_To_Edit(d.get(), flags), back);
        QCOMPARE(flagged(*d, back), (QList<int>{1, 3, 5}));
    }

    void replication()
    {
        auto d = copyOfDefault();
        DiagonalRow* t = d->diagTableD1;
        t[1] = DiagonalRow{1, 0, true, 0, {}};
        t[2] = DiagonalRow{2, 100, false, 1, {}};
        const DiagonalRow last = t[17];
        Replicate_Diagonal_Table(d.get(), t, 1, 2, true);
        for (int k = 3; k <= 16; ++k) {
            QCOMPARE(t[k].heightPercent, k % 2 ? 0 : 100);
            QCOMPARE(t[k].connectNext, k % 2 == 1);
            QCOMPARE(t[k].ribType, k % 2 ? 0 : 1);
            QCOMPARE(t[k].rib, k);
        }
        QCOMPARE(t[17].heightPercent, last.heightPercent);
        QCOMPARE(t[17].connectNext, last.connectNext);

        // No period, or a pattern reaching the tip: nothing is copied, the
        // pattern is still recorded.
        auto e = copyOfDefault();
        const QByteArray before(reinterpret_cast<const char*>(e->diagTableD2), sizeof(e->diagTableD2));
        Replicate_Diagonal_Table(e.get(), e->diagTableD2, 3, 0, false);
        QCOMPARE(e->diagMask1, 3);
        QCOMPARE(e->diagMask2, 0);
        Replicate_Diagonal_Table(e.get(), e->diagTableD2, 10, 7, false);
        QCOMPARE(e->diagMask2, 7);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(e->diagTableD2), sizeof(e->diagTableD2)), before);
    }

    void defaultModel()
    {
        auto d = copyOfDefault();
        for (QPointF& p : d->diagModelPoints)
            p = QPointF(1, 2);
        d->diagModelFlags[0] = d->diagModelFlags[1] = false;
        Diagonal_Model_Default(d.get());
        QPointF apex;
        QVERIFY(Store_Diagonal_Model(d.get(), 2, 40, 1, &apex));
        const Triang& t = d->diagModelTriangle;
        QVERIFY(near(t.corner[0], QPointF(737.28, 34.56), 1e-12));
        QVERIFY(near(t.corner[1], QPointF(184.32, 34.56), 1e-12));
        QVERIFY(near(t.corner[2], QPointF(460.8, 362.88), 1e-9));
        QCOMPARE(t.offsetMm, 40);
        QCOMPARE(t.cornerCount, 2);
        QCOMPARE(t.cornerStep, 0.5);
        QCOMPARE(t.holeCount, 1);
        QCOMPARE(t.outline.size(), 3);
        QVERIFY(d->diagModelFlags[0] && d->diagModelFlags[1]);
        QCOMPARE(d->diagModelPolys.size(), 1);
        // The hole lies inside the triangle.
        QVERIFY(allInside(t.outline, d->diagModelPolys[0], 1e-6));
        const QPointF quad[4] = {{368.64, 691.2}, {552.96, 691.2}, {737.28, 34.56}, {184.32, 34.56}};
        for (int k = 0; k < 4; ++k)
            QVERIFY(near(d->diagModelOutline[k], quad[k], 1e-12));
        // The same as the generation makes of the stored model.
        const QList<QPolygonF> holes = d->diagModelPolys;
        setup_model_cross_port(d.get());
        QCOMPARE(d->diagModelPolys, holes);
    }

    void modelWithoutApex()
    {
        auto d = copyOfDefault();
        Diagonal_Model_Default(d.get());
        QPointF apex(1, 1);
        QVERIFY(Store_Diagonal_Model(d.get(), 2, 40, 2, &apex));
        const QPointF valid = apex;
        QCOMPARE(d->diagModelPolys.size(), 2);
        // Up to the top edge: the apex lines run parallel.
        Move_Model_Height(d.get(), d->diagModelPoints[5].y() - d->diagModelPoints[6].y());
        QCOMPARE(d->diagModelPoints[7].y(), d->diagModelPoints[2].y());
        QVERIFY(!Store_Diagonal_Model(d.get(), 2, 40, 2, &apex));
        QVERIFY(d->diagModelPolys.isEmpty());
        QCOMPARE(apex, valid);
        QCOMPARE(d->diagModelTriangle.corner[2], valid);
        // Lines that cross within both segments make no triangle either.
        d->diagModelPoints[6] = QPointF(600, 300);
        d->diagModelPoints[7] = QPointF(300, 300);
        QVERIFY(!Store_Diagonal_Model(d.get(), 2, 40, 2, &apex));
        QCOMPARE(apex, valid);
    }

    void planeIndexes()
    {
        auto d = copyOfDefault();
        const int nose = d->noseIndex[1];
        d->diagRowIndexA[0] = 3;
        d->diagRowIndexA[1] = nose;
        d->diagRowIndexB[0] = 995;
        d->diagRowIndexB[1] = nose - 50;
        d->diagStartIndexA = d->diagStartIndexB = 0;
        int lower[8], upper[8];
        Plane_Read_Indexes(d.get(), lower, upper);
        QCOMPARE(upper[0], 10);
        QCOMPARE(upper[1], nose - 10);
        QCOMPARE(lower[0], 990);
        QCOMPARE(lower[1], nose + 10);
        QCOMPARE(upper[4], d->diagRowIndexA[4]);
        QCOMPARE(d->diagStartIndexA, 10);
        QCOMPARE(d->diagStartIndexB, nose - 10);

        const QPolygonF foil = Plane_Work_Airfoil(d.get());
        QCOMPARE(foil.size(), 1000);
        QCOMPARE(foil[0], QPointF(921 * d->ribAirfoils[1][0].x(), -921 * d->ribAirfoils[1][0].y()));
        // A point above the upper side lands on the upper-side vertex below it.
        const int k = 300;
        const int landed = Plane_Move_Upper(d.get(), foil, foil[k] + QPointF(0.01, -25));
        QVERIFY(std::abs(landed - k) <= 1);
        // Beyond the nose: the nearest vertex, on the airfoil.
        const int beyond = Plane_Move_Upper(d.get(), foil, QPointF(-500, 0));
        QVERIFY(beyond >= 0 && beyond < 1000);
        QCOMPARE(foil[beyond].x(), foil[nose].x());

        Plane_Bottom_Width(d.get(), lower);
        for (int j = 0; j < 4; ++j) {
            QCOMPARE(lower[2 * j], d->lineIndex[2 + j][1] - d->diagTableRows[j][1]);
            QCOMPARE(lower[2 * j + 1], d->lineIndex[2 + j][1] + d->diagTableRows[j][1]);
        }
    }

    void reinforcementEnds()
    {
        auto d = copyOfDefault();
        const int nose = d->noseIndex[1];
        auto point = [&](int i) { return QPointF(d->ribAirfoils[1][i].x(), -d->ribAirfoils[1][i].y()); };
        d->minirib.mylarStart = 30;
        d->minirib.mylarEnd = 20;
        for (int k = 0; k < 5; ++k)
            d->minirib.mylarSplineA[k] = d->minirib.mylarSplineB[k] = 0;
        ReinforceCurve m = Mylar_Curve(d.get());
        QCOMPARE(m.first, point(nose - 100));
        QCOMPARE(m.second, point(nose + 66));
        QCOMPARE(m.reference, point(nose));
        QCOMPARE(m.points.size(), 5);
        // Stored zeros are used clamped.
        QCOMPARE(m.pairs[0], QPointF(0.001, 0.1));

        d->rod1.index[0] = 600;
        d->rod1.index[1] = 600;
        ReinforceCurve u = Upper_Rod_Curve(d.get());
        QCOMPARE(u.first, point(0));
        QCOMPARE(u.second, point(999));

        d->rod2.index[0] = 300;
        d->rod2.index[1] = 40;
        Set_Rod_Shape_Pair(&d->rod2, 2, QPointF(1.5, -0.5));
        const int mid = int((d->lineIndex[1][1] + d->lineIndex[2][1]) * 0.5);
        QCOMPARE(Lower_Rod_Centre(d.get()), mid);
        ReinforceCurve l = Lower_Rod_Curve(d.get());
        QCOMPARE(l.first, point(std::max(nose - 10, mid - 300)));
        QCOMPARE(l.second, point(mid + 40));
        QCOMPARE(l.reference, point(d->Find_i1up_index(1, mid)));
        QCOMPARE(l.pairs[2], QPointF(1.5, -0.5));   // the lower rod is not clamped

        // No airfoil on rib 1: curves without points, and no question asked.
        d->ribAirfoils[1].clear();
        QVERIFY(Mylar_Curve(d.get()).points.isEmpty());
        QVERIFY(Lower_Rod_Curve(d.get()).points.isEmpty());
    }

    void reinforcementMoves()
    {
        auto d = copyOfDefault();
        d->rod1.index[0] = 120;
        d->rod1.index[1] = 90;
        ReinforceCurve c = Upper_Rod_Curve(d.get());
        Reset_Curve(&c);
        for (int k = 0; k < 4; ++k) {
            QVERIFY(std::fabs(c.pairs[k].x() - 0.15 * (k + 1)) < 1e-12);
            QVERIFY(std::fabs(c.pairs[k].y() - 1) < 1e-9);
        }
        Move_Curve_Point(&c, 2, QPointF(-0.01, 0.02));
        const QPointF q = c.points[2];
        QVERIFY(near(fun_T(c.first, c.reference, c.second, c.pairs[2].x(), c.pairs[2].y()), q, 1e-12));
        Store_Upper_Rod(d.get(), c);
        QCOMPARE(Rod_Shape_Pair(d->rod1, 2), c.pairs[2]);
        // Read back, the point is where it was moved.
        QVERIFY(near(Upper_Rod_Curve(d.get()).points[2], q, 1e-12));

        d->minirib.mylarStart = 40;
        d->minirib.mylarEnd = 30;
        ReinforceCurve m = Mylar_Curve(d.get());
        Reset_Curve(&m);
        Store_Mylar(d.get(), m);
        QVERIFY(std::fabs(d->minirib.mylarSplineA[4] - 0.75) < 1e-12);
        QVERIFY(std::fabs(d->minirib.mylarSplineB[4] - 1) < 1e-9);
    }

    void crossPortView()
    {
        auto d = copyOfDefault();
        const int rib = d->firstRib;
        const QPolygonF foil = init_Work_Airfoil(d->ribAirfoils[rib], 1024);
        const QPolygonF inner = Cross_Port_Inner_Outline(d.get(), rib, 1024);
        QCOMPARE(inner.size(), foil.size());
        // The inner outline lies inside the rib, about the edge offset
        // (1.5 mm as plan units, at the view's scale) from it.
        const double offset = d->ToScreen(0.0015);
        const QPointF probe = inner[250];
        double nearest = 1e9;
        for (const QPointF& p : foil)
            nearest = std::min(nearest, std::hypot(p.x() - probe.x(), p.y() - probe.y()));
        QVERIFY2(std::fabs(nearest - offset) < 0.2 * offset, qPrintable(QString("%1 %2").arg(nearest).arg(offset)));
        QVERIFY(allInside(foil, inner.mid(20, inner.size() - 40), 1e-6));

        QVERIFY(Cross_Port_Inner_Outline(d.get(), 66, 1024).isEmpty());
        QCOMPARE(Solid_Area_Percent(foil, {}), 100.0);
        QCOMPARE(Solid_Area_Percent(QPolygonF(), {foil}), 0.0);
        // Half the rib cut away leaves half solid.
        QPolygonF half;
        for (const QPointF& p : foil)
            half << QPointF(p.x(), p.y()) * std::sqrt(0.5);
        QVERIFY(std::fabs(Solid_Area_Percent(foil, {half}) - 50) < 1e-9);

        HoleLayout layout = Hole_Layout_Of(*d);
        Set_Triang_Index_Values2(*d, rib, foil, inner, &layout);
        Reset_baseTri_Array(*d, inner, 0, false, &layout);
        Calc_current_grup_all_tribase(*d, 0, &layout);
        Keep_Hole_Layout(d.get(), layout);
        QCOMPARE(Cross_Port_Shape_Count(0), 11);
        QCOMPARE(Cross_Port_Shape_Count(3), 16);
        QCOMPARE(Cross_Port_Shape_Count(4), 0);
        for (int i = 0; i < 11; ++i) {
            const QPolygonF t = Cross_Port_Shape_Outline(d.get(), 0, i);
            QCOMPARE(Cross_Port_Shape_At(d.get(), 0, Geometric_center(t)), i);
        }
        QCOMPARE(Cross_Port_Shape_At(d.get(), 0, QPointF(-100, -100)), -1);
        const QList<QPolygonF> holes = Cross_Port_Group_Holes(d.get(), layout, 0);
        int expected = 0;
        for (int i = 0; i < 11; ++i)
            expected += std::min(d->crossPorts[0].triangles[i].holeCount, 3);
        QCOMPARE(int(holes.size()), expected);
        const double solid = Solid_Area_Percent(foil, holes);
        QVERIFY(solid > 0 && solid < 100);
    }
};

QTEST_MAIN(TestStructureEdits)
#include "tst_structureedits.moc"
