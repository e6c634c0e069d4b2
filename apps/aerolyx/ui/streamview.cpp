#include "apps/aerolyx/ui/streamview.h"

#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/flow.h"
#include "core/transf.h"

#include <QDebug>
#include <QPainter>

#include <cmath>

namespace aerolyx {

namespace {
constexpr double kOuterRadius = 7.0;
constexpr double kRadiusStep = 7.0 / 128.0;
constexpr double kRayStep = M_PI / 128.0;
constexpr double kSearchRadius = 100.0;
constexpr double kLastValue = 3.0;
} // namespace

double P_Val(double r, double k, double psi)
{
    return (k * std::log(r) + psi) * r / ((r + 1.0) * (r - 1.0));
}

double f_Left(double r, double s, double k)
{
    return s * (r * r - 1.0) - k * r * std::log(r);
}

bool f_ascend(double r, double s, double k)
{
    return s * (r * r + 1.0) - k * r > 1e-8;
}

QList<double> Stream_Values()
{
    QList<double> values;
    double psi = 0.0, step = 0.03;
    for (;;) {
        values << psi;
        step *= 1.15;
        psi += step;
        if (psi > kLastValue)
            break;
    }
    return values;
}

void f_decision(double psi, double k, double s, double r, double* lo, double* hi)
{
    const double L = f_Left(r, s, k);
    if (f_ascend(r, s, k)) {
        if (psi * r > L)
            *lo = r;
        else
            *hi = r;
    } else {
        if (psi * r > L)
            *hi = r;
        else
            *lo = r;
    }
}

StreamTracer::StreamTracer(const myData* d, double s)
    : data(d)
    , scale(s)
    , flowAngle(Effective_Angle(d))
{
}

QPointF StreamTracer::New_Point(double r, double theta) const
{
    const QPointF p = f_conform(data, kMapCoefs, r, theta + flowAngle, data->mapShiftX, data->mapShiftY,
                                data->mapScale, data->mapCoefA, data->mapCoefB);
    return {p.x(), -p.y()};
}

QPointF StreamTracer::New_Point_Direct(double r, double theta)
{
    return {r * std::cos(theta), -r * std::sin(theta)};
}

void StreamTracer::Append(QPolygonF& line, double r, double theta) const
{
    const QPointF p = New_Point(r, theta);
    line << QPointF(scale * p.x(), scale * p.y());
}

double StreamTracer::ro_bisek(double r0, double k, double psi, double theta) const
{
    const double s = std::sin(theta);
    double lo = 1.0, hi = r0, mid = 0.5 * (lo + hi);
    for (int iteration = 1; iteration <= 101; ++iteration) {
        if (std::fabs(hi - lo) <= 1e-9) {
            if (mid > r0 || std::fabs(mid) <= 1.0) {
                qDebug() << "  stream line: radius search left its bracket";
                return 0;
            }
            return mid;
        }
        mid = 0.5 * (lo + hi);
        f_decision(psi, k, s, mid, &lo, &hi);
        if (iteration == 101) {
            qDebug() << "  stream line: radius search did not settle";
            return r0;
        }
        const double F = f_Left(mid, s, k) - psi * mid;
        if (std::fabs(F) < 1e-9)
            return mid;
    }
    return r0;
}

QPolygonF StreamTracer::Implic_UP(double k, double rMax, double psi, double dTheta, double dR) const
{
    QPolygonF line;
    double r = rMax;
    if (psi <= 0) {
        for (r = 1.0; r < rMax; r += 0.01) {
            const double s = P_Val(r, k, psi);
            if (std::fabs(s) <= 1.0)
                Append(line, r, M_PI - std::asin(s));
        }
        return line;
    }
    double theta = 0;
    if (rMax > 1.0) {
        r = rMax;
        do {
            const double s = P_Val(r, k, psi);
            if (std::fabs(s) < 1.0) {
                theta = std::asin(s);
                Append(line, r, theta);
            }
            r -= dR;
        } while (theta < M_PI / 32 && r > 1.0);
    }
    while (theta < 31.0 * M_PI / 32) {
        r = ro_bisek(kSearchRadius, k, psi, theta);
        Append(line, r, theta);
        theta += dTheta;
    }
    for (; r < rMax; r += dR) {
        const double s = P_Val(r, k, psi);
        if (std::fabs(s) <= 1.0)
            Append(line, r, M_PI - std::asin(s));
    }
    return line;
}

QPolygonF StreamTracer::Implic_DOWN(double k, double rMax, double psi, double dTheta, double dR) const
{
    QPolygonF line;
    double r = 5.0, theta = 0, thetaLast = 0;
    do {
        const double s = P_Val(r, k, psi);
        if (std::fabs(s) <= 1.0) {
            theta = std::asin(s);
            Append(line, r, theta);
            thetaLast = theta;
        }
        r -= dR;
    } while (r > 1.001 && thetaLast >= -M_PI / 32);
    while (theta > -31.0 * M_PI / 32) {
        r = ro_bisek(kSearchRadius, k, psi, theta);
        Append(line, r, theta);
        theta -= dTheta;
    }
    for (r += dR; r < rMax; r += dR) {
        const double s = P_Val(r, k, psi);
        if (std::fabs(s) <= 1.0)
            Append(line, r, M_PI - std::asin(s));
    }
    return line;
}

Wstream::Wstream(QWidget* parent)
    : QWidget(parent)
    , data(GetMyData())
{
    repaint();
}

void Wstream::Layout() const
{
    const int w = width() - 1, h = height() - 1;
    originX = int(0.5 * w);
    originY = int(0.5 * h);
    scale = 0.85 * w * 0.5;
}

QList<QPolygonF> Wstream::Stream_Lines() const
{
    QList<QPolygonF> lines;
    if (data->zeroFoil.isEmpty())
        return lines;
    Layout();
    const StreamTracer tracer(data, scale);
    const double k = Circulation(data);
    const double a = data->attackAngle * M_PI / 180.0;
    const QPointF origin(originX, originY);
    auto place = [&](const QPolygonF& line) { lines << RotateFoilPoly(data, line, a).translated(origin); };
    for (double psi : Stream_Values()) {
        place(tracer.Implic_UP(k, kOuterRadius, psi, kRayStep, kRadiusStep));
        if (psi > 0)
            place(tracer.Implic_DOWN(k, kOuterRadius, -psi, kRayStep, kRadiusStep));
    }
    return lines;
}

QPolygonF Wstream::Airfoil() const
{
    QPolygonF outline;
    if (data->zeroFoil.isEmpty())
        return outline;
    Layout();
    const double a = data->attackAngle * M_PI / 180.0;
    for (int i = 0; i < 128; ++i) {
        const QPointF p = f_conform(data, kMapCoefs, 1.0, i * M_PI / 64.0, data->mapShiftX, data->mapShiftY,
                                    data->mapScale, data->mapCoefA, data->mapCoefB);
        const QPointF t = RotFix(-a, 1.0, 0.0, QPointF(scale * p.x(), scale * p.y()));
        outline << QPointF(t.x() + originX, -t.y() + originY);
    }
    return outline;
}

void Wstream::Paint_Stream_Lines(QPainter* painter)
{
    painter->setPen(QPen(QBrush(Qt::white), 0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
    for (const QPolygonF& line : Stream_Lines())
        painter->drawPolyline(line);
    painter->setBrush(QBrush(Qt::red, Qt::SolidPattern));
    painter->setPen(QPen(QBrush(Qt::red), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawPolygon(Airfoil(), Qt::OddEvenFill);
}

void Wstream::paintEvent(QPaintEvent*)
{
    Layout();
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter.drawRect(0, 0, width() - 1, height() - 1);
    if (!data->zeroFoil.isEmpty())
        Paint_Stream_Lines(&painter);
}

} // namespace aerolyx
