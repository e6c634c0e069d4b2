#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QVector3D>

#include "core/airfoil.h"
#include "core/curves.h"
#include "tests/common/foilgen.h"
#include "airfoils/foilunfold.h"
#include "structure/holefun.h"
#include "core/parastruct.h"
#include "geom/patternfun.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kChord = 200.0;

// A cell between ribs r and r + 1 standing upright side by side (x along the
// chord, z up): every point of the cell's middle lies at y = 30 + 10 r, and
// its flat image is the airfoil itself times the chord.
std::unique_ptr<ParaStruct> cellDesign(int r)
{
    auto d = std::make_unique<ParaStruct>();
    QPolygonF c = foilgen::naca4({0.0, 0.0, 0.14, true}, 301);
    const QPolygonF foil = Interpolated_poly(kStandardFoilPoints, &c);
    d->lastRib = r + 3;
    for (int rib = r; rib <= r + 1; ++rib) {
        d->ribAirfoils[rib] = foil;
        d->noseIndex[rib] = 500;
        for (int i = 0; i < kStandardFoilPoints; ++i)
            d->ribCurves3D[rib][i] = QVector3D(float(foil[i].x() * kChord), float(25 + 10 * r + 10 * (rib - r)),
                                               float(foil[i].y() * kChord));
    }
    for (int i = 0; i < kStandardFoilPoints; ++i)
        d->inflatedGrid[4][r][i] = (d->ribCurves3D[r][i] + d->ribCurves3D[r + 1][i]) / 2.0f;
    // Foil pairs: upper point k with its mirror on the lower side.
    for (int k = 0; k < kStandardFoilPoints; ++k)
        d->foilPairs[r].append(Par12{k, k == 0 ? 1000 : 1000 - k, 0.0});
    for (int row = 0; row < kLineRows; ++row)
        d->lineIndex[row][r] = -1;
    for (int& u : d->upControlIndex)
        u = -1;
    return d;
}

QPointF flatOf(const ParaStruct* d, int r, int i)
{
    return QPointF(d->ribAirfoils[r][i].x() * kChord, d->ribAirfoils[r][i].y() * kChord);
}

bool near(QPointF a, QPointF b, double tol = 1e-3)
{
    return std::abs(a.x() - b.x()) < tol && std::abs(a.y() - b.y()) < tol;
}

} // namespace

class TestFoilUnfold : public QObject
{
    Q_OBJECT
private slots:
    void frontMiniRib_data()
    {
        QTest::addColumn<int>("nose");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("around the nose") << 500 << 10 << 12 << 450 << 560;
        QTest::newRow("empty") << 500 << 0 << 0 << 0 << 0;
        QTest::newRow("clamped behind") << 749 << 0 << 60 << 749 << 1000;
        QTest::newRow("clamped in front") << 300 << 75 << 2 << 0 << 310;
    }
    void frontMiniRib()
    {
        QFETCH(int, nose);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, from);
        QFETCH(int, to);
        const int r = 2;
        auto d = cellDesign(r);
        d->noseIndex[r] = nose;
        d->minirib.frontRibStart = start;
        d->minirib.frontRibEnd = end;
        d->lineIndex[3][r] = std::min(from + 7, 999);
        QList<QVector3D> out{QVector3D(1, 2, 3)};
        const MiniRibFlat front = unfold_FrontFoil(*d, r, &out);
        const QPolygonF& outline = front.outline;
        QCOMPARE(int(out.size()), to - from);
        QCOMPARE(int(outline.size()), to - from);
        for (int i = from; i < to; ++i) {
            QVERIFY(near(outline[i - from], flatOf(d.get(), r, i)));
            QVERIFY(std::abs(out[i - from].y() - (30.0f + 10 * r)) < 1e-4);
        }
        // Marks: the nose and the line row, where they fall inside the range.
        QPolygonF expected;
        for (int i = from; i < to; ++i)
            if (i == nose || i == d->lineIndex[3][r])
                expected.append(outline[i - from]);
        QCOMPARE(front.marks, expected);
    }

    void rearMiniRib_data()
    {
        QTest::addColumn<double>("cavity");
        QTest::newRow("straight front edge") << 0.0;
        QTest::newRow("default cavity") << 0.3;
        QTest::newRow("deepest cavity") << 0.5;
    }
    void rearMiniRib()
    {
        QFETCH(double, cavity);
        const int r = 1;
        auto d = cellDesign(r);
        d->minirib.rearRibPosition = 20; // pair 100 of the nose index 500
        d->minirib.rearRibCavity = cavity;
        QList<QVector3D> out;
        const MiniRibFlat rear = unfold_RearFoil(*d, r, &out);
        const int last = 900 - 2;
        const int first = get_UPindex(&d->ribAirfoils[r], 500, last) + 2;
        QVERIFY(first > 90 && first < 110);
        QCOMPARE(rear.first, first);
        QCOMPARE(rear.last, last);
        int f = -1, l = -1;
        getRear_rearIndex(d.get(), r, &f, &l);
        QCOMPARE(f, first);
        QCOMPARE(l, last);

        const QPolygonF& outline = rear.outline;
        QCOMPARE(outline.size(), out.size() + 2);
        QCOMPARE(int(outline.size()), first + 1 + 61 + 1 + (999 - last));
        QVERIFY(near(outline[0], flatOf(d.get(), r, 0)));
        QCOMPARE(outline[first], outline[first - 1]);       // P twice
        QCOMPARE(outline[first + 62], outline[first + 63]); // E twice
        QVERIFY(near(outline.last(), flatOf(d.get(), r, 998)));

        // The cavity points are the inner points of the quadratic curve, and
        // their 3-D points lie in the middle plane of the cell.
        const QPointF P = outline[first], E = outline[first + 62], A = outline[0];
        const QPointF M = (P + E) / 2.0;
        const QPolygonF B = Bezier_2D(P, M + cavity * (A - M), E, 64);
        for (int j = 2; j <= 62; ++j) {
            QCOMPARE(outline[first + j - 1], B[j]);
            const QVector3D q = out[first + j - 2];
            QVERIFY(std::abs(q.y() - (30.0f + 10 * r)) < 1e-3);
            QVERIFY(near(mapfoilPnt_3D_2D(0, q, (d->ribCurves3D[r][0] + d->ribCurves3D[r + 1][0]) / 2.0f), B[j]));
        }
        if (cavity == 0.0) { // a straight chord from P to E
            const QPointF mid = outline[first + 31];
            QVERIFY(std::abs((E - P).x() * (mid - P).y() - (E - P).y() * (mid - P).x()) < 1e-6);
        }

        const int controls[5] = {0, first / 2, first - 1, last, (last + 1000) / 2};
        QCOMPARE(rear.marks.size(), 5);
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(rear.controls[k], controls[k]);
            QVERIFY(near(rear.marks[k], flatOf(d.get(), r, controls[k])));
        }
    }

    void rearEdgeCases()
    {
        const int r = 1;
        QList<QVector3D> out;

        // No depth: the whole airfoil counts as no rear mini-rib.
        auto d = cellDesign(r);
        d->minirib.rearRibPosition = 0;
        MiniRibFlat rear = unfold_RearFoil(*d, r, &out);
        QCOMPARE(rear.first, 0);
        QCOMPARE(rear.last, 999);
        QVERIFY(out.isEmpty() && rear.outline.isEmpty() && rear.marks.isEmpty());

        // The last cell: indexes given, outputs empty.
        d->minirib.rearRibPosition = 20;
        d->lastRib = r;
        rear = unfold_RearFoil(*d, r, &out);
        QCOMPARE(rear.last, 898);
        QVERIFY(out.isEmpty() && rear.outline.isEmpty());

        // No foil pairs: no range, nothing written by the index search.
        d = cellDesign(r);
        d->minirib.rearRibPosition = 20;
        d->foilPairs[r].clear();
        int f = 7, l = 8;
        getRear_rearIndex(d.get(), r, &f, &l);
        QCOMPARE(f, 7);
        QCOMPARE(l, 8);
        rear = unfold_RearFoil(*d, r, &out);
        QVERIFY(out.isEmpty() && rear.outline.isEmpty());

        // A pair without lower partner gives no rear mini-rib.
        d = cellDesign(r);
        d->minirib.rearRibPosition = 20;
        d->foilPairs[r][100].low = 0;
        rear = unfold_RearFoil(*d, r, &out);
        QCOMPARE(rear.first, 0);
        QVERIFY(out.isEmpty());

        // first = 2: points 0 and 1 are marks, point 1 once.
        d = cellDesign(r);
        d->minirib.rearRibPosition = 20;
        d->ribAirfoils[r][1].setX(0.5);
        rear = unfold_RearFoil(*d, r, &out);
        QCOMPARE(rear.first, 2);
        QCOMPARE(rear.controls[0], 0);
        QCOMPARE(rear.controls[1], 1);
        QCOMPARE(rear.controls[2], 898);
        QCOMPARE(rear.marks.size(), 4);
        QCOMPARE(rear.outline.size(), out.size() + 2);
    }

    // With a centre cell, cell 0 unfolds against rib 1's trailing edge moved
    // onto the symmetry plane.
    void centreCell()
    {
        auto d = cellDesign(0);
        d->centreCell = true;
        d->minirib.rearRibPosition = 20;
        QList<QVector3D> out;
        const MiniRibFlat rear = unfold_RearFoil(*d, 0, &out);
        const QVector3D te = d->ribCurves3D[1][0];
        const QVector3D origin(te.x(), 0.0f, te.z());
        QCOMPARE(rear.outline[0], mapfoilPnt_3D_2D(0, d->inflatedGrid[4][0][0], origin));
        QVERIFY(std::abs(rear.outline[0].y() - 30.0) < 1e-3);
    }
};

QTEST_APPLESS_MAIN(TestFoilUnfold)
#include "tst_foilunfold.moc"
