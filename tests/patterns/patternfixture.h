#pragma once

// Designs for the pattern tests: a box canopy of identical plane ribs side
// by side (its strips develop into exact rectangles) and the default design.

#include "core/parastruct.h"
#include "tools/template/defaultdesign.h"
#include "patterns/patternsheet.h"

#include <QPolygonF>

#include <cmath>
#include <memory>

namespace patternfixture {

// Rib curve of the box canopy: a closed airfoil-like loop of 1000 points in
// the plane y = 0, chord 100 plan units, point 0 the upper trailing edge.
inline QPolygonF boxProfile()
{
    QPolygonF p;
    for (int j = 0; j < kAirfoilPoints; ++j) {
        const double t = 2 * M_PI * j / (kAirfoilPoints - 1);
        p.append(QPointF(50 + 50 * std::cos(t), 8 * std::sin(t)));
    }
    return p;
}

// Ribs 0 .. ribs, rib r being boxProfile() at y = y0 + r w (x along the
// chord, z = the profile's height). Span 12 m (a millimetre is 1/6 plan
// unit); seam allowances 10 (side), 15 (front), 20 (trailing edge) mm; the
// opening rows O1 and O2 at 400 and 450 on every rib; no cloth oversize;
// billow line at 300, off.
inline std::unique_ptr<ParaStruct> boxCanopy(int ribs, double w, double y0 = 0.0)
{
    auto d = std::make_unique<ParaStruct>();
    d->span = 12.0;
    d->cells = 2 * ribs;
    d->firstRib = 0;
    d->lastRib = ribs;
    d->centreCell = false;
    d->centreRib = true;
    d->seamAllowance[0] = 10;
    d->seamAllowance[1] = 15;
    d->seamAllowance[2] = 20;
    d->seamAllowance[3] = 10;
    d->dxfScale = 6.0;
    const QPolygonF profile = boxProfile();
    for (int r = 0; r <= ribs; ++r) {
        d->chord[r] = 100;
        d->noseIndex[r] = 500;
        d->lineIndex[0][r] = 400;
        d->lineIndex[1][r] = 450;
        for (int j = 0; j < kAirfoilPoints; ++j)
            d->ribCurves3D[r][j] =
                QVector3D(float(profile.at(j).x()), float(y0 + r * w), float(profile.at(j).y()));
    }
    d->billowLineIndex = 300;
    d->billowLineOnTop = false;
    d->billowLineOffset = 0.0;
    return d;
}

// The shipped default design (34 cells) or its odd variant, recomputed.
inline std::unique_ptr<ParaStruct> defaultDesign(int cells = 34)
{
    return Build_Default_Design(cells);
}

// Length of the 3-D polyline of rib r from point a to point b, in double
// precision.
inline double ribLength(const ParaStruct* d, int r, int a, int b)
{
    double sum = 0;
    for (int j = a + 1; j <= b; ++j) {
        const QVector3D p = d->ribCurves3D[r][j] - d->ribCurves3D[r][j - 1];
        sum += std::sqrt(double(p.x()) * p.x() + double(p.y()) * p.y() + double(p.z()) * p.z());
    }
    return sum;
}

// The design-plane point of airfoil index i at rib k on the top (side 0) or
// bottom (side 1) surface: x on the rib, y the length along the surface from
// the side's trailing edge below the rib's trailing edge.
inline QPointF designPoint(const ParaStruct* d, int side, int k, int i)
{
    const double s = side == 0 ? d->airfoilArcLen[i][k] : d->airfoilArcLen[999][k] - d->airfoilArcLen[i][k];
    return QPointF(d->ribSpanPos[k], d->trailingEdgeX[k] - s);
}

// A design line through the given design-plane points.
inline Spline designLine(int side, const QList<QPointF>& points)
{
    Spline s;
    s.pointCount = points.size();
    s.degree = 3;
    s.order = 4;
    s.side = side;
    for (int i = 0; i < points.size() && i < kSplinePoints; ++i)
        s.points[i] = points.at(i);
    return s;
}

// Two design lines of the default design: one on the upper surface from
// rib 5 over rib 7 to rib 10, one on the lower surface from rib 1 to rib 4.
inline QList<Spline> twoDesignLines(const ParaStruct* d)
{
    return {designLine(0, {designPoint(d, 0, 5, 250), designPoint(d, 0, 7, 330), designPoint(d, 0, 10, 200)}),
            designLine(1, {designPoint(d, 1, 1, 850), designPoint(d, 1, 4, 700)})};
}

// What the writers draw on: the design, the preview view's font and a view
// size, the dialog's choices as they start.
inline PatternSheet sheetOf(const ParaStruct* d)
{
    PatternSheet s;
    s.design = d;
    s.font = QFont(QStringLiteral("Noto Sans"), 9);
    s.viewSize = QSize(1000, 700);
    return s;
}

} // namespace patternfixture
