// The 3-D view's camera arithmetic and drawing lists, without a GL context.

#include <QTest>
#include <QColor>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QVector3D>

#include "core/bridledata.h"
#include "shell/glviewlists.h"
#include "core/parastruct.h"
#include "shell/model/installhooks.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "geom/patternfun.h"
#include "structure/diagonals.h"
#include "tests/common/recordimage.h"
#include "patterns/straps.h"

#include <cmath>
#include <memory>

namespace {

constexpr float ms = float(glview::kModelScale);

// A design whose grid points tell where they come from: point i of sub-row k
// of cell r lies at (i, k, r) in both grids; 3 cells, nose at 500.
std::unique_ptr<ParaStruct> indexedDesign()
{
    auto d = std::make_unique<ParaStruct>();
    d->lastRib = 3;
    d->noseIndex[1] = 500;
    for (int r = 0; r < kRibSlots; ++r)
        d->lineIndex[0][r] = d->lineIndex[1][r] = 0; // no vent openings
    for (int k = 0; k < kLineRows; ++k)
        for (int r = 0; r < 3; ++r)
            for (int i = 0; i < kAirfoilPoints; ++i) {
                d->flatGrid[k][r][i] = QVector3D(i, k, r);
                d->inflatedGrid[k][r][i] = QVector3D(i, k, r);
            }
    for (int r = 0; r <= 3; ++r)
        for (int i = 0; i < kAirfoilPoints; ++i)
            d->ribCurves3D[r][i] = QVector3D(i, 100 * r, 0);
    return d;
}

// Quads of one cell grouped by the airfoil point they start at (their c1).
QMap<int, QList<Quad6>> quadsByStart(const QList<Quad6>& list, int cell)
{
    QMap<int, QList<Quad6>> steps;
    for (const Quad6& q : list)
        if (qRound(q.c1.z() / ms) == cell)
            steps[qRound(q.c1.x() / ms)].append(q);
    return steps;
}

int pointOf(const QVector3D& c)
{
    return qRound(c.x() / ms);
}

} // namespace

class TestGlViewLists : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Install_Recompute_Hooks(); }

    void wheelZoom()
    {
        // The factor is the single-precision 0.15.
        QCOMPARE(glview::Wheel_Zoom(0.5, -120), 0.5 - 0.15000000596046448 * 0.5);
        QVERIFY(std::abs(glview::Wheel_Zoom(0.5, -120) - 0.425) < 1e-8);
        QCOMPARE(glview::Wheel_Zoom(0.5, 120), 0.5 + 0.15000000596046448 * 0.5);
        QCOMPARE(glview::Wheel_Zoom(0.5, 0), glview::Wheel_Zoom(0.5, -1)); // no delta zooms out

        double s = 0.5;
        for (int i = 0; i < 40; ++i)
            s = glview::Wheel_Zoom(s, -120);
        QCOMPARE(s, 0.1);
        for (int i = 0; i < 60; ++i)
            s = glview::Wheel_Zoom(s, 120);
        QCOMPARE(s, 10.0);
    }

    // The walk over one cell: 500 steps of 8 quads; the last flat step is
    // clamped to zero width, the last two inflated steps close at point 0.
    void surfaceSteps()
    {
        auto d = indexedDesign();
        const QColor canopy(200, 100, 50);
        const QList<Quad6> flat = Create_QuadList(d.get(), false, {}, canopy);
        QCOMPARE(flat.size(), 3 * 500 * 8);
        const auto steps = quadsByStart(flat, 1);
        QCOMPARE(steps.size(), 500);
        for (const Quad6& q : steps[996]) {
            QCOMPARE(pointOf(q.c2), 998);
            QCOMPARE(pointOf(q.c3), 998);
        }
        for (const Quad6& q : steps[998])
            QCOMPARE(pointOf(q.c2), 998);
        const Quad6 q = steps[10][3];
        QCOMPARE(q.c1, QVector3D(10, 3, 1) * ms);
        QCOMPARE(q.c2, QVector3D(12, 3, 1) * ms);
        QCOMPARE(q.c3, QVector3D(12, 4, 1) * ms);
        QCOMPARE(q.c4, QVector3D(10, 4, 1) * ms);
        QCOMPARE(q.normal, QVector3D::crossProduct(q.c1 - q.c3, q.c2 - q.c4));
        QCOMPARE(q.color, canopy);

        const auto inflated = quadsByStart(Create_QuadList(d.get(), true, {}, canopy), 1);
        QCOMPARE(pointOf(inflated[994][0].c2), 996);
        QCOMPARE(pointOf(inflated[996][0].c2), 0);
        QCOMPARE(pointOf(inflated[998][0].c2), 0);
    }

    void openings()
    {
        auto d = indexedDesign();
        // Cell 1: an opening from the odd point 101 to 121; cell 2: reversed
        // rows, no opening.
        d->lineIndex[0][1] = 101;
        d->lineIndex[1][1] = 121;
        d->lineIndex[0][2] = 300;
        d->lineIndex[1][2] = 300;
        QList<OpeningOutline> edges;
        const QList<Quad6> list = Create_QuadList(d.get(), false, {}, Qt::red, &edges);
        const auto cell1 = quadsByStart(list, 1);
        // Step 100 runs into the opening: quads of zero width.
        for (const Quad6& q : cell1[100])
            QCOMPARE(pointOf(q.c2), 100);
        for (int i = 102; i <= 120; i += 2)
            QVERIFY(!cell1.contains(i));
        QVERIFY(cell1.contains(122));
        QCOMPARE(cell1.size(), 500 - 10);
        QCOMPARE(quadsByStart(list, 2).size(), 500);

        // One edge per opening, between ribs 1 and 2; none for the last cell.
        QCOMPARE(edges.size(), 1);
        QCOMPARE(edges[0].A, QVector3D(101, 100, 0) * ms);
        QCOMPARE(edges[0].B, QVector3D(101, 200, 0) * ms);
        QCOMPARE(edges[0].C, QVector3D(121, 100, 0) * ms);
        QCOMPARE(edges[0].D, QVector3D(121, 200, 0) * ms);
        d->lineIndex[0][2] = 200;
        d->lineIndex[1][2] = 220;
        edges.clear();
        Create_QuadList(d.get(), false, {}, Qt::red, &edges);
        QCOMPARE(edges.size(), 1);

        // The rows taken as stored: an opening ending at an odd point after
        // its start (b = i + 1 with b <= a) starts its step there.
        d->lineIndex[0][2] = 400;
        d->lineIndex[1][2] = 201;
        const auto cell2 = quadsByStart(Create_QuadList(d.get(), false, {}, Qt::red), 2);
        QVERIFY(!cell2.contains(200));
        QCOMPARE(pointOf(cell2[201][0].c2), 203);
    }

    void surfaceChoice_data()
    {
        QTest::addColumn<bool>("top");
        QTest::addColumn<bool>("bottom");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("steps");
        QTest::newRow("both") << true << true << 0 << 998 << 500;
        QTest::newRow("upper side takes the nose step") << true << false << 0 << 500 << 251;
        QTest::newRow("lower side") << false << true << 502 << 998 << 249;
        QTest::newRow("neither") << false << false << -1 << -1 << 0;
    }
    void surfaceChoice()
    {
        QFETCH(bool, top);
        QFETCH(bool, bottom);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, steps);
        auto d = indexedDesign();
        const auto cell = quadsByStart(Create_QuadList(d.get(), false, {top, bottom}, Qt::red), 0);
        QCOMPARE(cell.size(), steps);
        if (steps) {
            QCOMPARE(cell.firstKey(), first);
            QCOMPARE(cell.lastKey(), last);
        }
    }

    void centreCellAndBillowZone()
    {
        auto d = indexedDesign();
        d->centreCell = true;
        const QList<Quad6> inflated = Create_QuadList(d.get(), true, {}, Qt::red);
        const auto cell0 = quadsByStart(inflated, 0);
        QCOMPARE(cell0[10].size(), 4);
        QCOMPARE(qRound(cell0[10][0].c1.y() / ms), 4); // starts at sub-row 4
        QCOMPARE(quadsByStart(inflated, 1)[10].size(), 8);
        QCOMPARE(quadsByStart(Create_QuadList(d.get(), false, {}, Qt::red), 0)[10].size(), 8);

        const QColor canopy(10, 20, 30);
        d->billowLineIndex = 600;
        d->lineIndex[0][0] = 650;
        auto colourAt = [&](bool inflatedList, int start) {
            return quadsByStart(Create_QuadList(d.get(), inflatedList, {}, canopy), 0)[start][0].color;
        };
        QCOMPARE(colourAt(false, 620), canopy); // switch off: one colour
        d->billowLineOnTop = true;
        QCOMPARE(colourAt(false, 598), canopy);
        QCOMPARE(colourAt(false, 600), QColor::fromRgbF(1.0f, 0.0f, 0.5f));
        QCOMPARE(colourAt(false, 648), QColor::fromRgbF(1.0f, 0.0f, 0.5f));
        QCOMPARE(colourAt(true, 620), QColor::fromRgbF(1.0f, 0.0f, 0.25f));
        QCOMPARE(colourAt(false, 652), canopy);
    }

    void bridleLists()
    {
        auto bridle = std::make_unique<BridleData>();
        BridleGroup& g = bridle->groups[2];
        g.lineCount = 3;
        g.lineArray[2].q2 = QVector3D(1, 2, 3);
        g.attachmentCount = 3;
        g.attachArray[1].rib = -1;
        g.pairCount = kLineEntries + 1;
        g.pairArray[0] = QPoint(1, 2);
        g.idCount = -4;
        g.pointCount = kLineEntries;
        Rebuild_Group_Lists(&g);
        QCOMPARE(g.lines.size(), 3);
        QCOMPARE(g.lines[2].q2, QVector3D(1, 2, 3));
        QCOMPARE(g.attachments[1].rib, -1);
        QCOMPARE(g.points.size(), kLineEntries);
        QVERIFY(g.pairs.isEmpty());
        QCOMPARE(g.pairCount, 0); // the holder's count is set to 0 as well
        QVERIFY(g.ids.isEmpty());
        QCOMPARE(g.idCount, 0);

        QCOMPARE(Line_Group_Color(1), QColor::fromRgbF(0.2f, 0.8f, 1.0f));
        QCOMPARE(Line_Group_Color(4), QColor::fromRgbF(0.8f, 0.2f, 1.0f));
        QCOMPARE(Line_Group_Color(5), QColor::fromRgbF(1.0f, 0.0f, 0.0f));

        // A brake line grows along itself by its relaxation.
        QCOMPARE(Brake_Line_End(QVector3D(1, 1, 0), QVector3D(1, 1, 2), 0.5f), QVector3D(1, 1, 2.5f));
        QCOMPARE(Brake_Line_End(QVector3D(0, 0, 0), QVector3D(3, 4, 0), 5.0f), QVector3D(6, 8, 0));

        // Four line groups hide the risers of children 0 .. 3.
        for (int child = 0; child < 6; ++child)
            QCOMPARE(Riser_Visible(4, QPoint(9, child)), child >= 4);
    }

    void holeLoops_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("loop");
        QTest::addColumn<bool>("trim");
        QTest::newRow("72 points") << 72 << 24 << true;
        QTest::newRow("75 points") << 75 << 25 << false;
        QTest::newRow("25 points") << 25 << 9 << false;
        QTest::newRow("24 points") << 24 << 0 << false;
    }
    void holeLoops()
    {
        QFETCH(int, points);
        QFETCH(int, loop);
        QFETCH(bool, trim);
        auto d = std::make_unique<ParaStruct>();
        d->lastRib = 4;
        d->chord[0] = d->chord[1] = 300;
        d->noseIndex[2] = 500;
        d->ribCurves3D[2][0] = QVector3D(300, 200, 0);
        d->ribCurves3D[2][500] = QVector3D(0, 200, 0);
        // A round hole in the flat rib, 10 units across, point k at angle k.
        QPolygonF outline;
        for (int k = 0; k < points; ++k) {
            const double a = 2 * M_PI * k / points;
            outline.append(QPointF(150 + 10 * std::cos(a), 5 + 10 * std::sin(a)));
        }
        const QList<QVector3D> hole = Hole_Loop_3D(d.get(), 2, outline);
        QCOMPARE(hole.size(), loop);
        if (loop) {
            // Every third point, last first; x stays, the rib stands upright.
            QCOMPARE(hole.first().x(), float(outline[3 * (loop - 1)].x() * ms));
            QCOMPARE(hole.last().x(), float(outline[0].x() * ms));
            QCOMPARE(hole.last().y(), 200 * ms);
        }
        const QList<QVector3D> closed = poly3CloseCurve(hole);
        QCOMPARE(closed.size(), hole.size());
        if (loop)
            QCOMPARE(closed.first(), hole.last());

        QPointF corners[2];
        Rib_Patch_Net(d.get(), 2, corners);
        Table_24_2 table;
        QCOMPARE(Hole_Trim(closed, d->chord[0] * glview::kModelScale, corners, &table), trim);
        if (trim) {
            // Closed, inside the patch, and running clockwise so that GLU
            // cuts it out.
            QCOMPARE(table.p[23][0], table.p[0][0]);
            QCOMPARE(table.p[23][1], table.p[0][1]);
            QVERIFY(Trim_Loop_Area(table.p, 24) < 0);
            for (const auto& uv : table.p) {
                QVERIFY(std::abs(uv[0] - 0.5f) < 0.04f);
                QVERIFY(uv[1] > 0 && uv[1] < 1);
            }
        }
    }

    // The cross-port holes of the default design's ribs: one 24-point loop
    // per rounded hole, on the rib's own plane; none for a rib without
    // outline. The view lays them out for itself: the design it draws (the
    // cross-port anchors and shapes the project file keeps among them) is as
    // it was.
    void ribHoleLoops()
    {
        auto d = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + "/template.ini", d.get()));
        Refresh_Calculations(d.get());
        const QByteArray before = recordImage(*d);
        int total = 0;
        for (int r = d->firstRib; r < d->lastRib; ++r) {
            QPolygonF flat;
            Quick_Unfold_AirFoil(d.get(), r, &flat);
            QCOMPARE(flat.size(), kAirfoilPoints);
            const int group = d->diagTableD1[r].ribType;
            const QList<QList<QVector3D>> loops = Rib_Hole_Loops(d.get(), r, group, flat);
            int expected = 0;
            for (int j = 0; j < 11; ++j)
                expected += std::min(d->crossPorts[group].triangles[j].holeCount, 3);
            QVERIFY(expected > 0);
            QCOMPARE(loops.size(), expected);
            // Within the rib's chord and near its plane (span position of the
            // rib curve's nose).
            const QVector3D nose = d->ribCurves3D[r][d->noseIndex[r]] * ms;
            const QVector3D tail = d->ribCurves3D[r][0] * ms;
            for (const QList<QVector3D>& loop : loops) {
                QCOMPARE(loop.size(), 24);
                for (const QVector3D& p : loop) {
                    QVERIFY(p.x() > std::min(nose.x(), tail.x()) && p.x() < std::max(nose.x(), tail.x()));
                    QVERIFY(std::fabs(p.y() - nose.y()) < 0.5 * (tail - nose).length());
                }
            }
            total += loops.size();
        }
        QVERIFY(total > 100);
        QVERIFY(Rib_Hole_Loops(d.get(), 3, 0, QPolygonF()).isEmpty());
        QPolygonF flat;
        Quick_Unfold_AirFoil(d.get(), 3, &flat);
        QVERIFY(Rib_Hole_Loops(d.get(), 3, 2, flat).isEmpty());
        QVERIFY(recordImage(*d) == before);
    }

    // Every generated diagonal gets its 3-D outline and holes, also when
    // there are only a few.
    void completedDiagonals()
    {
        auto d = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + "/template.ini", d.get()));
        Refresh_Calculations(d.get());
        Generate_All_Diagonals(d.get());
        QVERIFY(d->diagonals.size() > 4);
        d->diagonals = d->diagonals.mid(0, 3);
        const QList<DiagonalData> shapes = Completed_Diagonals(d.get());
        QCOMPARE(shapes.size(), 3);
        for (const DiagonalData& g : shapes) {
            QVERIFY(g.spaceOutline.size() > 100);
            QCOMPARE(g.spaceHoles.size(), 4);
            for (const QList<QVector3D>& hole : g.spaceHoles)
                QVERIFY2(hole.size() > 2, qPrintable(QString::number(hole.size())));
            QVERIFY(!g.flatOutline.isEmpty());
        }
        // Completing again gives the same shapes: the design is not changed.
        const QList<DiagonalData> again = Completed_Diagonals(d.get());
        for (int k = 0; k < shapes.size(); ++k) {
            QCOMPARE(again[k].spaceOutline, shapes[k].spaceOutline);
            QCOMPARE(again[k].spaceHoles, shapes[k].spaceHoles);
        }
    }

    // One polygon per marked strap: its end on rib i from the nose side
    // toward the trailing edge, then its end on rib i + 1 back, in GL units;
    // none without marked straps.
    void strapPolygons()
    {
        auto d = std::make_unique<ParaStruct>();
        QVERIFY(myOpenFile().ReadParaStream(qEnvironmentVariable("WL_APP_DIR") + "/template.ini", d.get()));
        Refresh_Calculations(d.get());
        QCOMPARE(Strap_Polygons(d.get()).size(), Create_Strap_list(d.get()).size());
        QVERIFY(!Strap_Polygons(d.get()).isEmpty());
        for (auto& row : d->lineStrips)
            for (bool& marked : row)
                marked = false;
        QVERIFY(Strap_Polygons(d.get()).isEmpty());
        d->lineStrips[4][3] = true;
        d->lineStrips[2][6] = true;
        const QList<QList<QVector3D>> polygons = Strap_Polygons(d.get());
        QCOMPARE(polygons.size(), 2);
        const int ribs[2] = {6, 3};
        const int rows[2] = {2, 4};
        for (int s = 0; s < 2; ++s) {
            const QList<QVector3D>& p = polygons.at(s);
            QCOMPARE(p.size(), 6);
            const int r = ribs[s];
            // the attachments, second and fifth
            QVERIFY((p.at(1) - d->ribCurves3D[r][d->lineIndex[rows[s]][r]] * ms).length() < 1e-7);
            QVERIFY((p.at(4) - d->ribCurves3D[r + 1][d->lineIndex[rows[s]][r + 1]] * ms).length() < 1e-7);
            // the end on rib i in order, the end on rib i + 1 reversed
            const Strap3D strap = Create_Strap_list(d.get()).at(s);
            for (int k = 0; k < 3; ++k) {
                QCOMPARE(p.at(k), strap.sideA[k] * ms);
                QCOMPARE(p.at(3 + k), strap.sideB[2 - k] * ms);
            }
        }
    }

    // The patch stands in the plane of its rib, through the nose, a chord
    // wide each way; the outline loop runs counter-clockwise.
    void ribPatch()
    {
        auto d = std::make_unique<ParaStruct>();
        d->chord[0] = d->chord[1] = 300;
        d->ribAngle[3] = 0.3;
        d->noseIndex[3] = 500;
        QList<QVector3D> curve;
        for (int k = 0; k < kAirfoilPoints; ++k) {
            const double x = std::abs(k - 500) * 0.5;  // 250 .. 0 .. 250
            const double t = (k < 500 ? -1 : 1) * 15 * std::sin(M_PI * x / 250);
            d->ribCurves3D[3][k] = QVector3D(x + 20, 400 - t * std::sin(0.3), 50 + t * std::cos(0.3));
            curve.append(d->ribCurves3D[3][k] * ms);
        }
        QPointF corners[2];
        const Table_ctl net = Rib_Patch_Net(d.get(), 3, corners);
        const float L = 300 * ms;
        QCOMPARE(net.p[3][0][0], L);
        QVERIFY(std::abs(QLineF(corners[0], corners[1]).length() - L) < 1e-6);
        QVERIFY(std::abs((corners[0] + corners[1]).x() / 2 - 400 * ms) < 1e-6);
        QVERIFY(std::abs((corners[0] + corners[1]).y() / 2 - 50 * ms) < 1e-6);

        Table_50_2 outline;
        QVERIFY(Outline_Trim(curve, 300 * glview::kModelScale, corners, &outline));
        QCOMPARE(outline.p[0][0], outline.p[49][0]);
        QCOMPARE(outline.p[0][1], outline.p[49][1]);
        QVERIFY(Trim_Loop_Area(outline.p, 50) > 0);
        QVERIFY(!Outline_Trim(curve.mid(0, 999), 300 * glview::kModelScale, corners, &outline));
    }
};

QTEST_APPLESS_MAIN(TestGlViewLists)
#include "tst_glviewlists.moc"
