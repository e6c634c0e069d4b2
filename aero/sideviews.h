#pragma once

// The two side views of the centre rib, built without painting: the pilot
// position view (airfoil, line rows, aerodynamic centre, hang height, pilot
// and the lines down to him) and the mesh-station view of the analysis
// (airfoil and the chordwise stations of the solver mesh).
//
// Both use one frame: a point (x, y) of an airfoil normalised to chord 1
// stands at (40 + 560 x, -560 y), the leading edge at x = 40, y downward on
// the screen; 560 units are the chord of rib slot 0. The line-row markers of
// the design are stored in this frame.

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <functional>

class ParaStruct;

namespace sideview {

constexpr double kLeadingEdge = 40; // x of the leading edge in the frame
constexpr double kChordUnits = 560; // length of the chord in the frame
constexpr int kMarkedRows = 8;      // rows "O1" .. "F" get markers
constexpr int kFirstPilotRow = 2;   // lines to the pilot from rows "A" ..
constexpr int kLastPilotRow = 7;    // .. "F"
constexpr int kMaxStationMarks = 70;

// Zoom and pan of a side view, the same for both views.
struct Camera {
    static constexpr double kStartZoom = 0.5;
    static constexpr double kStartPanY = 192;
    double zoom = kStartZoom;
    double panX = 0;
    double panY = kStartPanY;

    void reset() { *this = Camera(); }
    // One wheel turn of `delta` eighths of a degree: times 2^(delta / 960),
    // kept within 0.25 .. 8.
    void wheel(int delta);
    // A drag of (dx, dy) pixels, added to the translation in scaled units.
    void pan(double dx, double dy);
    // Scale by the zoom, then translate by the pan.
    QTransform transform() const;
};

} // namespace sideview

// Point (x, y) of a normalised airfoil in the side-view frame, and a whole
// airfoil.
QPointF Side_View_Point(QPointF p);
QPolygonF Side_View_Polygon(const QPolygonF& airfoil);

// The point of the airfoil's lower side below a line-row marker: the first
// segment i whose frame x range holds the marker's x (an x beyond +-1000
// counts as 0) gives (x, -560 y_i), y beyond +-500 counting as 0; (0, 0)
// when there is none.
QPointF Lower_Side_Point(QPointF marker, const QPolygonF& airfoil);

// What the pilot position view draws.
struct PilotScene {
    bool empty = true;   // no airfoil on rib slot 0: nothing is drawn
    QPolygonF airfoil;   // the centre rib's airfoil
    struct Marker {
        QPointF at;      // on the lower side of rib 0's airfoil
        QString letter;
    };
    QList<Marker> rows;  // rows "O1" .. "F"
    QLineF chordLine;    // extended 300 units beyond both edges
    bool pilotShown = false; // false without a chord on rib slot 0
    double centreX = 0;  // aerodynamic centre
    double pilotX = 0;
    double pilotY = 0;   // hang height at half scale
    QList<QLineF> pilotLines; // rows "A" .. "F" to the pilot
    QString centreText;
    QPointF centreTextAt;
    QString shiftText;
    QPointF shiftTextAt;
};

// Reads the design only: the aerodynamic centre is the design's as the last
// recompute left it.
PilotScene Pilot_Side_Scene(const ParaStruct* design);

// Where the row letters of the scene stand, in the frame, one box a row:
// centred under its marker, or, where rows lie closer than their letters
// are wide (O2 and A, a few per cent of the chord apart), moved a line or
// more down (or up, or aside) until it covers no letter before it and no
// marker. `textWidth` measures a letter and `textHeight` is the height of
// a line, both in frame units (the view draws the letters in the frame).
QList<QRectF> Row_Label_Boxes(const PilotScene& scene, const std::function<double(const QString&)>& textWidth,
                              double textHeight);

// The airfoil points at the station entries 0 .. J + 1 of `stations` (the
// last one the terminating 0), in the side-view frame; entries outside the
// airfoil are left out, at most 70 points. Nothing for J + 1 < 0.
QPolygonF Mesh_Station_Points(const QPolygonF& airfoil, const int* stations, int J);

// 1 when j is one of the station entries 0 .. J + 1 of the design's
// chordStations (J its count, the last entry the terminating 0), else 0;
// 0 at once for J + 1 < 0. Entries beyond the list's 70 are not read.
int find_Nj(const ParaStruct* design, int j);
