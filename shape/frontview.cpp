#include "shape/frontview.h"

#include "core/geomconst.h"
#include "core/chartlabels.h"
#include "core/parastruct.h"
#include <QLineF>

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

QList<QRectF> Rib_Number_Boxes(const QList<QPointF>& ribs, const QList<QSizeF>& sizes,
                               const QList<QPolygonF>& lines, double ringRadius)
{
    QList<QRectF> obstacles;
    for (const QPointF& p : ribs)
        obstacles << QRectF(p - QPointF(ringRadius, ringRadius), QSizeF(2 * ringRadius, 2 * ringRadius));
    for (const QPolygonF& line : lines) {
        for (int i = 1; i < line.size(); ++i) {
            const QLineF segment(line[i - 1], line[i]);
            const int steps = std::clamp(int(segment.length() / 3), 1, 2000);
            for (int k = 0; k <= steps; ++k)
                obstacles << QRectF(segment.pointAt(double(k) / steps) - QPointF(1.5, 1.5), QSizeF(3, 3));
        }
    }
    QList<QList<QRectF>> candidates;
    const double gap = ringRadius + 1;
    for (int r = 0; r < ribs.size() && r < sizes.size(); ++r) {
        const QPointF p = ribs[r];
        const double w = sizes[r].width(), h = sizes[r].height();
        candidates << QList<QRectF>{QRectF(p.x() + gap, p.y() - gap - h, w, h), QRectF(p.x() + gap, p.y() + gap, w, h),
                                    QRectF(p.x() - gap - w, p.y() - gap - h, w, h),
                                    QRectF(p.x() - gap - w, p.y() + gap, w, h),
                                    QRectF(p.x() - w / 2, p.y() - gap - h, w, h),
                                    QRectF(p.x() - w / 2, p.y() + gap, w, h)};
    }
    return Place_Labels_Among(candidates, obstacles);
}
