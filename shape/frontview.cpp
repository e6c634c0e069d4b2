#include "shape/frontview.h"

#include "core/geomconst.h"
#include "core/parastruct.h"

#include <algorithm>
#include <cmath>

double Front_Opening_Angle(QPointF p, double hangY)
{
    // Measured from the upward vertical, so that a point below the hang
    // point gives more than a right angle.
    return 2 * std::atan2(std::fabs(p.x()), hangY - p.y());
}

FrontViewFigures Front_View_Figures(const ParaStruct& d)
{
    FrontViewFigures f;
    const double half = d.span / 2;
    const double H = d.hangHeight;
    const int N = d.lastCell;
    const int lastRib = std::clamp(d.lastRib, 0, kRibSlots - 1);
    f.hangY = half != 0 ? 100 + 1000 * H / half : 100.0;

    const QPointF p0 = d.frontControlPoints[0];
    double xMax = 0;
    double yMax = 0;
    for (int r = 0; r <= lastRib; ++r) {
        const QPointF P(d.frontY[r], d.frontZ[r]);
        f.ribs.append(P);
        if (P.x() > xMax) {
            xMax = P.x();
            yMax = P.y();
        }
    }
    f.tipRib = f.ribs.last();
    f.outermost = QPointF(xMax, yMax);
    f.projectedSpan = 2 * d.R_X(xMax - p0.x());
    f.tipHeight = d.R_X(p0.y() - yMax);
    f.openAngle = Front_Opening_Angle(f.tipRib, f.hangY);
    f.arcReachesSpan = d.R_X(d.frontArcLength) >= half;

    if (N >= 1 && H > 0 && half > 0) {
        for (int i = -N; i <= N; ++i) {
            const double a = i * (half / H) / N;
            f.circle << QPointF(1000 * H * std::sin(a) / half, 1000 * (H - H * std::cos(a)) / half + 100);
        }
        f.circleAngle = Front_Opening_Angle(f.circle.last(), f.hangY);

        const double c = 45 * wl::Pi / 180;
        for (int k = 0; k <= 100; ++k) {
            const double t = k * half / 100;
            f.reference << QPointF(1000 * t / H, 100 - 1000 * (half / c) * std::log(std::cos(c * t / half)) / H);
        }
    }
    return f;
}
