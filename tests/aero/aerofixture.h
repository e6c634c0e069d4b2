#pragma once

// An arched rectangular wing made by formula, for the analysis tests: a
// unit airfoil of 1000 points (nose at point 500) scaled to the chord,
// every rib standing on a circular arc in the front view, the inflated grid
// between the ribs along the same arc with the sections thickened toward
// the cell middle. The geometry the mesh should take is known exactly
// (archedPoint), independently of the mesh code.

#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "tests/core/designfixture.h"

#include <QFile>

#include <QVector3D>

#include <cmath>
#include <memory>

namespace aerofixture {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSpan = 10.0;      // m, flat span
constexpr double kChord = 2.0;      // m
constexpr double kHalfArc = 1.0;    // rad, arc angle of half the span
constexpr double kBulge = 0.05;     // thickening in the cell middle
constexpr double kMetresPerUnit = kSpan / 2 / 1000; // half span = 1000 drawing units

inline double arcRadius()
{
    return (kSpan / 2) / kHalfArc;
}

// The unit airfoil of every rib: 15 % thick, 2 % camber.
inline QPolygonF unitAirfoil()
{
    return fixture::standardAirfoil(0.15, 0.02, 500);
}

// Front-view angle of rib q (q from the centre; with an odd cell count rib 1
// lies half a cell beside the centre).
inline double ribAngle(int cells, int q)
{
    const double cellArc = 2 * kHalfArc / cells;
    return cells % 2 ? (q - 0.5) * cellArc : q * cellArc;
}

// Point (fx, fy) of the unit airfoil on the arc at angle phi, in the solver
// frame (metres, z up, x from the leading edge toward the trailing edge).
inline QVector3D archedPoint(double phi, double fx, double fy, double thicken = 0)
{
    const double r = arcRadius() + kChord * fy * (1 + thicken);
    return QVector3D(float(kChord * fx), float(r * std::sin(phi)), float(r * std::cos(phi) - arcRadius()));
}

// The same point in the design frame: drawing units, z the front-view
// height with the upper side toward smaller z.
inline QVector3D designPoint(double phi, double fx, double fy, double thicken = 0)
{
    const QVector3D p = archedPoint(phi, fx, fy, thicken);
    return QVector3D(float(p.x() / kMetresPerUnit), float(p.y() / kMetresPerUnit), float(-p.z() / kMetresPerUnit));
}

// Angle and thickening of sub-row k of cell c of the inflated grid.
inline double cellAngle(int cells, int c, int k)
{
    const double a = (cells % 2 && c == 0) ? -ribAngle(cells, 1) : ribAngle(cells, c);
    const double b = ribAngle(cells, c + 1);
    return a + (b - a) * k / 8.0;
}
inline double cellThickening(int k)
{
    return kBulge * std::sin(kPi * k / 8.0);
}

inline std::unique_ptr<ParaStruct> archedWing(int cells)
{
    auto d = std::make_unique<ParaStruct>();
    d->span = kSpan;
    d->cells = cells;
    d->Reset_CellsNumber();
    d->dxfScale = kSpan / 2;
    d->flatArea = kSpan * kChord;
    d->meanChord = kChord;
    const QPolygonF foil = unitAirfoil();
    for (int k = 0; k < 4; ++k)
        d->designAirfoils[k] = foil;
    for (int q = 0; q <= d->lastRib; ++q) {
        d->ribAirfoils[q] = foil;
        d->chord[q] = kChord / kMetresPerUnit;
        for (int p = 0; p < kAirfoilPoints; ++p)
            d->ribCurves3D[q][p] = designPoint(ribAngle(cells, q), foil[p].x(), foil[p].y());
    }
    for (int c = 0; c < d->lastRib; ++c) {
        for (int k = 0; k < kLineRows; ++k) {
            for (int p = 0; p < kAirfoilPoints; ++p)
                d->inflatedGrid[k][c][p] =
                    designPoint(cellAngle(cells, c, k), foil[p].x(), foil[p].y(), cellThickening(k));
        }
    }
    return d;
}

// The default design as the build ships it ("template.ini" in the
// application directory), recomputed; null when it cannot be read.
inline std::unique_ptr<ParaStruct> shippedDesign(QString* reason)
{
    Install_Recompute_Hooks();
    QFile f(qEnvironmentVariable("WL_APP_DIR") + "/template.ini");
    auto d = std::make_unique<ParaStruct>();
    if (!f.open(QIODevice::ReadOnly) || !Read_Project(&f, d.get(), reason))
        return nullptr;
    Refresh_Calculations(d.get());
    return d;
}

} // namespace aerofixture
