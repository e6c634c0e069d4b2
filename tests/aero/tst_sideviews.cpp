// The side views of the centre rib without painting: the pilot position
// view (line-row markers on the lower side, aerodynamic centre, hang
// height, pilot and his lines), the mesh-station marks, and the zoom and
// pan the two views share.

#include "aero/apamemesh.h"
#include "aero/polar.h"
#include "aero/sideviews.h"
#include "core/chartlabels.h"
#include "tests/core/designfixture.h"
#include "tools/template/defaultdesign.h"

#include "core/parastruct.h"

#include <QTest>
#include <QLineF>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// A wing of 9 cells (centre cell, first rib of the half in slot 1) with
// line-row markers at fixed chord positions on the side-view frame.
std::unique_ptr<ParaStruct> pilotWing()
{
    auto d = fixture::makeWing(9);
    const double percent[kLineRows] = {2, 9, 13, 33, 55, 75, 85, 92, 97};
    for (int r = 0; r < kLineRows; ++r)
        d->rowMarkers[r] = QPointF(40 + 5.6 * percent[r], 30 + r);
    return d;
}

} // namespace

class TestSideViews : public QObject
{
    Q_OBJECT

private slots:
    void framePoints()
    {
        QCOMPARE(Side_View_Point(QPointF(0, 0)), QPointF(40, 0));
        QCOMPARE(Side_View_Point(QPointF(1, 0.1)), QPointF(600, -56));
        const QPolygonF foil = fixture::standardAirfoil(0.15, 0.02);
        const QPolygonF drawn = Side_View_Polygon(foil);
        QCOMPARE(drawn.size(), foil.size());
        QCOMPARE(drawn.at(321), QPointF(40 + 560 * foil.at(321).x(), -560 * foil.at(321).y()));
    }

    // The lower-side point below a marker is the one the design's own
    // look-up finds, for markers all along the chord and beyond it.
    void lowerSidePointAsTheDesignFindsIt()
    {
        auto d = std::make_unique<ParaStruct>();
        const QPolygonF foil = fixture::standardAirfoil(0.17, 0.03);
        for (double x = -1500; x <= 1500; x += 7.5) {
            const QPointF marker(x, 12);
            int index = 0;
            QCOMPARE(Lower_Side_Point(marker, foil), d->NearPoint(marker, 'D', foil, &index));
        }
        // Below the nose region: the lower side lies below the chord, drawn
        // downward (positive y).
        QVERIFY(Lower_Side_Point(QPointF(40 + 560 * 0.3, 0), foil).y() > 0);
        QCOMPARE(Lower_Side_Point(QPointF(700, 0), foil), QPointF(0, 0));
        QCOMPARE(Lower_Side_Point(QPointF(200, 0), QPolygonF()), QPointF(0, 0));
    }

    void pilotScene()
    {
        auto d = pilotWing();
        QCOMPARE(d->firstRib, 1);
        d->metaCentre = 0.3;
        d->hangHeight = 6.5;
        const double c0 = d->R_X(d->chord[0]);
        const double cr = d->R_X(d->chord[1]);
        calculate_legaX_from_shift(d.get(), 25);
        const PilotScene s = Pilot_Side_Scene(d.get());
        QVERIFY(!s.empty);
        QVERIFY(s.pilotShown);
        QCOMPARE(s.airfoil, Side_View_Polygon(d->ribAirfoils[1]));

        // Rows "O1" .. "F" on the lower side of rib 0; never "G".
        QCOMPARE(s.rows.size(), qsizetype(8));
        const QStringList letters = {"O1", "O2", "A", "B", "C", "D", "E", "F"};
        for (int r = 0; r < 8; ++r) {
            QCOMPARE(s.rows[r].letter, letters[r]);
            QCOMPARE(s.rows[r].at, Lower_Side_Point(d->rowMarkers[r], d->ribAirfoils[0]));
            QCOMPARE(s.rows[r].at.x(), d->rowMarkers[r].x());
        }

        // 560 units are the chord of rib slot 0.
        QVERIFY(std::fabs(s.pilotX - (40 + 560 * 0.25 * cr / c0)) < 1e-9);
        QVERIFY(std::fabs(s.pilotY - 560 * 0.5 * 6.5 / c0) < 1e-9);
        QVERIFY(std::fabs(s.centreX - (40 + 560 * 0.3 * cr / c0)) < 1e-9);
        QCOMPARE(s.pilotLines.size(), qsizetype(6));
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(s.pilotLines[k].p1(), d->rowMarkers[k + 2]);
            QCOMPARE(s.pilotLines[k].p2(), QPointF(s.pilotX, s.pilotY));
        }
        const QPointF te = d->ribAirfoils[0].first();
        QCOMPARE(s.chordLine, QLineF(-260, 0, 40 + 560 * te.x() + 300, -560 * te.y()));
        QCOMPARE(s.centreText, QStringLiteral("Aerodynamic center: 30.00 %"));
        // The centre's text stands above the section (upwards is -y), its
        // baseline clear of the highest point, not on the chord line.
        QCOMPARE(s.centreTextAt.x(), std::trunc(s.centreX));
        for (const QPointF& p : s.airfoil)
            QVERIFY(s.centreTextAt.y() < p.y() - 2);
        QCOMPARE(s.shiftText, QStringLiteral("  Calage-pilot's displacement from LE: 25.00 [%]"));
        // The displacement's text stands below the pilot, where the lines,
        // which end at the pilot, do not run.
        QCOMPARE(s.shiftTextAt.x(), 0.0);
        QVERIFY(s.shiftTextAt.y() > s.pilotY + 20);
        for (const QLineF& l : s.pilotLines)
            QVERIFY(std::max(l.p1().y(), l.p2().y()) <= s.pilotY);
    }

    // The row letters under the markers stand apart where rows lie close
    // (O2 and A a few per cent of the chord apart), near their markers and
    // on none of them: the fixture's rows and the default design's.
    void rowLettersStandApart_data()
    {
        QTest::addColumn<bool>("shipped");
        QTest::addColumn<double>("aBehindO2"); // per cent of the chord; 0: as the design has it
        QTest::newRow("fixture") << false << 0.0;
        QTest::newRow("A one per cent behind O2") << false << 1.0;
        QTest::newRow("default design") << true << 0.0;
    }

    void rowLettersStandApart()
    {
        QFETCH(bool, shipped);
        QFETCH(double, aBehindO2);
        const std::unique_ptr<ParaStruct> d = shipped ? Build_Default_Design() : pilotWing();
        if (aBehindO2 > 0)
            d->rowMarkers[2] = d->rowMarkers[1] + QPointF(5.6 * aBehindO2, 0);
        const PilotScene s = Pilot_Side_Scene(d.get());
        QVERIFY(!s.empty);
        // The view's face, 20 pixels bold: about 14 units a letter, 23 a line.
        const double line = 23;
        const QList<QRectF> boxes = Row_Label_Boxes(s, [](const QString& t) { return 14.0 * t.size(); }, line);
        QCOMPARE(boxes.size(), s.rows.size());
        QVERIFY(!Labels_Overlap(boxes));
        for (int r = 0; r < boxes.size(); ++r) {
            const QPointF at = s.rows[r].at;
            QVERIFY2(!boxes[r].isNull(), qPrintable(s.rows[r].letter));
            QVERIFY2(QLineF(boxes[r].center(), at).length() < 4 * line, qPrintable(s.rows[r].letter));
            for (const PilotScene::Marker& m : s.rows)
                QVERIFY2(!boxes[r].intersects(QRectF(m.at - QPointF(4, 4), QSizeF(8, 8))),
                         qPrintable(s.rows[r].letter + " on " + m.letter));
        }
    }

    // A row beyond the lower side's reach is marked at the frame's origin.
    void rowBeyondTheChord()
    {
        auto d = pilotWing();
        d->rowMarkers[4] = QPointF(40 + 560 * 1.2, 0);
        d->rowMarkers[5] = QPointF(2000, 0);
        const PilotScene s = Pilot_Side_Scene(d.get());
        QCOMPARE(s.rows[4].at, QPointF(0, 0));
        QCOMPARE(s.rows[5].at, QPointF(0, 0));
        QVERIFY(s.rows[3].at != QPointF(0, 0));
    }

    void sceneWithoutWing()
    {
        auto empty = std::make_unique<ParaStruct>();
        QVERIFY(Pilot_Side_Scene(empty.get()).empty);
        // Airfoils but no chord: the rib and its rows, no pilot.
        auto d = pilotWing();
        d->chord[0] = 0;
        const PilotScene s = Pilot_Side_Scene(d.get());
        QVERIFY(!s.empty);
        QVERIFY(!s.pilotShown);
        QCOMPARE(s.rows.size(), qsizetype(8));
        QVERIFY(s.pilotLines.isEmpty());
    }

    void stationMarks()
    {
        const QPolygonF foil = fixture::standardAirfoil(0.15, 0.02);
        int stations[kChordStations]{};
        // A list as the mesh lays it out: trailing edge over the nose and
        // back, closed by the terminating 0.
        auto d = fixture::makeWing(8);
        const int J = f_CreateIndJ(d.get(), stations);
        QVERIFY(J > 10);
        const QPolygonF marks = Mesh_Station_Points(foil, stations, J);
        QCOMPARE(marks.size(), qsizetype(J + 2));
        QCOMPARE(marks.first(), Side_View_Point(foil.at(0)));
        QCOMPARE(marks.last(), Side_View_Point(foil.at(0)));
        for (int k = 0; k <= J; ++k)
            QCOMPARE(marks.at(k), Side_View_Point(foil.at(stations[k])));
    }

    void stationMarkEdges()
    {
        const QPolygonF foil = fixture::standardAirfoil(0.15, 0.02);
        int s[kChordStations]{};
        QVERIFY(Mesh_Station_Points(foil, s, -2).isEmpty());
        // J = -1: the one entry 0.
        QCOMPARE(Mesh_Station_Points(foil, s, -1).size(), qsizetype(1));
        // Entries outside the airfoil are left out without shifting the others.
        s[0] = 10;
        s[1] = 1000;
        s[2] = -4;
        s[3] = 500;
        s[4] = 999;
        const QPolygonF marks = Mesh_Station_Points(foil, s, 3);
        QCOMPARE(marks, (QPolygonF{Side_View_Point(foil[10]), Side_View_Point(foil[500]), Side_View_Point(foil[999])}));
        // No airfoil, no marks.
        QVERIFY(Mesh_Station_Points(QPolygonF(), s, 3).isEmpty());
        // A count beyond the list reads no further than its 70 entries.
        int full[kChordStations];
        for (int k = 0; k < kChordStations; ++k)
            full[k] = k;
        QCOMPARE(Mesh_Station_Points(foil, full, 500).size(), qsizetype(kChordStations));
    }

    // Membership in the station list as the mesh lays it out, and the ends
    // of the count.
    void stationMembership()
    {
        auto d = fixture::makeWing(8);
        d->chordStationCount = f_CreateIndJ(d.get(), d->chordStations);
        const int J = d->chordStationCount;
        QVERIFY(J > 10);
        int found = 0;
        for (int j = -1; j <= 1000; ++j) {
            const bool listed = std::find(d->chordStations, d->chordStations + J + 2, j) != d->chordStations + J + 2;
            QCOMPARE(find_Nj(d.get(), j), listed ? 1 : 0);
            found += listed;
        }
        // The stations are distinct; the terminating 0 repeats station 0.
        QCOMPARE(found, J + 1);
        // J + 1 < 0: nothing, not even the first entry.
        d->chordStationCount = -2;
        QCOMPARE(find_Nj(d.get(), 0), 0);
        d->chordStationCount = -1;
        QCOMPARE(find_Nj(d.get(), 0), 1);
        QCOMPARE(find_Nj(d.get(), d->chordStations[1]), 0);
        // A count beyond the list reads its 70 entries and no further.
        for (int k = 0; k < kChordStations; ++k)
            d->chordStations[k] = 100 + k;
        d->chordStationCount = 500;
        QCOMPARE(find_Nj(d.get(), 100 + kChordStations - 1), 1);
        QCOMPARE(find_Nj(d.get(), 100 + kChordStations), 0);
    }

    void camera()
    {
        sideview::Camera c;
        QCOMPARE(c.zoom, 0.5);
        QCOMPARE(c.panX, 0.0);
        QCOMPARE(c.panY, 192.0);
        c.wheel(960);
        QCOMPARE(c.zoom, 1.0);
        c.wheel(-120);
        QVERIFY(std::fabs(c.zoom - std::pow(2.0, -0.125)) < 1e-12);
        for (int k = 0; k < 40; ++k)
            c.wheel(960);
        QCOMPARE(c.zoom, 8.0);
        for (int k = 0; k < 80; ++k)
            c.wheel(-960);
        QCOMPARE(c.zoom, 0.25);
        c.pan(10, -4);
        c.pan(3, 1);
        QCOMPARE(c.panX, 13.0);
        QCOMPARE(c.panY, 189.0);
        // Scale by the zoom, then translate: p lands at zoom (p + pan).
        c.zoom = 2;
        QCOMPARE(c.transform().map(QPointF(5, 7)), QPointF(2 * (5 + 13), 2 * (7 + 189)));
        c.reset();
        QCOMPARE(c.zoom, 0.5);
        QCOMPARE(c.panX, 0.0);
        QCOMPARE(c.panY, 192.0);
    }
};

QTEST_GUILESS_MAIN(TestSideViews)
#include "tst_sideviews.moc"
