#include "aero/sideviews.h"

#include "aero/polar.h"

#include "core/chartlabels.h"
#include "core/parastruct.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>

namespace sideview {

void Camera::wheel(int delta)
{
    zoom = std::clamp(std::pow(2.0, delta / 960.0) * zoom, 0.25, 8.0);
}

void Camera::pan(double dx, double dy)
{
    panX += dx;
    panY += dy;
}

QTransform Camera::transform() const
{
    QTransform t;
    t.scale(zoom, zoom);
    t.translate(panX, panY);
    return t;
}

} // namespace sideview

using namespace sideview;

QPointF Side_View_Point(QPointF p)
{
    return QPointF(kLeadingEdge + kChordUnits * p.x(), -kChordUnits * p.y());
}

QPolygonF Side_View_Polygon(const QPolygonF& airfoil)
{
    QPolygonF out;
    out.reserve(airfoil.size());
    for (const QPointF& p : airfoil)
        out.append(Side_View_Point(p));
    return out;
}

QPointF Lower_Side_Point(QPointF marker, const QPolygonF& airfoil)
{
    double x = marker.x();
    if (std::fabs(x) > 1000)
        x = 0;
    for (int i = 0; i + 1 < airfoil.size(); ++i) {
        const double a = Side_View_Point(airfoil.at(i)).x();
        const double b = Side_View_Point(airfoil.at(i + 1)).x();
        if (a <= x && x <= b) {
            double y = -kChordUnits * airfoil.at(i).y();
            if (std::fabs(y) > 500)
                y = 0;
            return QPointF(x, y);
        }
    }
    return QPointF(0, 0);
}

PilotScene Pilot_Side_Scene(const ParaStruct* d)
{
    PilotScene s;
    if (d->ribAirfoils[0].isEmpty())
        return s;
    s.empty = false;
    const int centre = std::clamp(d->firstRib, 0, kRibSlots - 1);
    s.airfoil = Side_View_Polygon(d->ribAirfoils[centre]);
    for (int r = 0; r < kMarkedRows; ++r)
        s.rows.append({Lower_Side_Point(d->rowMarkers[r], d->ribAirfoils[0]), LineLetter(r)});

    const QPointF te = d->ribAirfoils[0].first();
    s.chordLine = QLineF(-260, 0, kLeadingEdge + kChordUnits * te.x() + 300, -kChordUnits * te.y());

    // Lengths in metres are drawn against the chord of rib slot 0.
    const double c0 = d->R_X(d->chord[0]);
    if (!(c0 > 0) || !std::isfinite(c0))
        return s;
    s.pilotShown = true;
    auto units = [c0](double metres) { return Screen_Dist(metres, kChordUnits, c0); };
    s.centreX = kLeadingEdge + units(d->R_X(d->chord[centre] * d->metaCentre));
    s.pilotY = units(0.5 * d->hangHeight);
    s.pilotX = kLeadingEdge + units(d->legaX);
    for (int r = kFirstPilotRow; r <= kLastPilotRow; ++r)
        s.pilotLines.append(QLineF(d->rowMarkers[r], QPointF(s.pilotX, s.pilotY)));
    s.centreText = QStringLiteral("Aerodynamic center: %1 %").arg(d->metaCentre * 100, 4, 'f', 2);
    // Above the airfoil: on the chord line it was written over the section
    // it marks, with the chord line through it.
    double top = 0;
    for (const QPointF& p : s.airfoil)
        if (std::isfinite(p.y()))
            top = std::min(top, p.y());
    s.centreTextAt = QPointF(std::trunc(s.centreX), std::floor(top) - 6);
    s.shiftText = QStringLiteral("  Calage-pilot's displacement from LE: %1 [%]")
                      .arg(calculate_shift_from_legaX(d), 4, 'f', 2);
    // Under the pilot, where no line runs: two thirds of the way down the
    // lines crossed it.
    s.shiftTextAt = QPointF(0, std::trunc(s.pilotY) + 40);
    return s;
}

QList<QRectF> Row_Label_Boxes(const PilotScene& scene, const std::function<double(const QString&)>& textWidth,
                              double textHeight)
{
    constexpr double kMarkerRadius = 4;
    QList<QRectF> wanted, markers;
    for (const PilotScene::Marker& m : scene.rows) {
        const double w = textWidth(m.letter);
        wanted << QRectF(m.at.x() - w / 2, m.at.y() + kMarkerRadius + 1, w, textHeight);
        markers << QRectF(m.at - QPointF(kMarkerRadius, kMarkerRadius), QSizeF(2, 2) * kMarkerRadius);
    }
    return Place_Labels(wanted, Label_Moves(), QRectF(), markers);
}

QPolygonF Mesh_Station_Points(const QPolygonF& airfoil, const int* stations, int J)
{
    QPolygonF out;
    const int last = std::min(J + 1, kMaxStationMarks - 1);
    for (int k = 0; k <= last; ++k) {
        const int s = stations[k];
        if (s >= 0 && s < airfoil.size())
            out.append(Side_View_Point(airfoil.at(s)));
    }
    return out;
}

int find_Nj(const ParaStruct* d, int j)
{
    const int last = std::min(d->chordStationCount + 1, kChordStations - 1);
    for (int k = 0; k <= last; ++k) {
        if (d->chordStations[k] == j)
            return 1;
    }
    return 0;
}
