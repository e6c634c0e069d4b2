#include "apps/aerolyx/ui/pressureview.h"

#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/calc/flow.h"
#include "core/transf.h"

#include <QPainter>

#include <cmath>

namespace aerolyx {

namespace {
constexpr int kContourPoints = 128;
constexpr int kFirstNeedle = 5;
constexpr int kLastNeedle = 122;
constexpr double kNeedleLength = 50.0; // pixels per unit of |cp|

QPen Solid(Qt::GlobalColor colour, double width)
{
    return QPen(QBrush(colour), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}
} // namespace

Wpotential::Wpotential(QWidget* parent)
    : QWidget(parent)
    , data(GetMyData())
{
    repaint();
}

void Wpotential::Layout() const
{
    const int w = width() - 1, h = height() - 1;
    originX = int(0.1 * w);
    originY = int(0.5 * h);
    scale = 0.85 * w * 0.9;
}

void Wpotential::Compute_Results()
{
    if (data->zeroFoil.isEmpty())
        return;
    effAngle = Effective_Angle(data);
    cpPosition = C_P_position(data, effAngle, 0.0, 1.0, &normalForce);
    acPosition = AC_Position(data, data->attackAngle);
    cp1Position = C_P_position(data, effAngle, 0.0, acPosition, nullptr);
    cp2Position = C_P_position(data, effAngle, acPosition, 1.0, nullptr);
}

double Wpotential::potential_value(double r, double theta, double k, double alpha)
{
    // The circulation term is +k theta: the conjugate of the stream
    // function's -k ln r (the stream-line view's), so that both describe one
    // flow.
    return std::cos(theta - alpha) * (r * r + 1.0) / r + k * theta;
}

QPointF Wpotential::New_Point_Direct(double r, double theta)
{
    return {r * std::cos(theta), r * std::sin(theta)};
}

QPolygonF Wpotential::Contour() const
{
    Layout();
    const double beta = Effective_Angle(data);
    QPolygonF p;
    for (int i = 0; i < kContourPoints; ++i) {
        const QPointF m = f_conform(data, kMapCoefs, 1.0, i * M_PI / 64.0, data->mapShiftX, data->mapShiftY,
                                    data->mapScale, data->mapCoefA, data->mapCoefB);
        const QPointF t = RotFix(-beta, 1.0, 0.0, QPointF(scale * m.x(), scale * m.y()));
        p << QPointF(t.x(), -t.y());
    }
    return p;
}

QPointF Wpotential::Chord_Point(double c, QPointF nose, QPointF tail) const
{
    return (1.0 - c) * nose + c * tail;
}

void Wpotential::Paint_Potential(QPainter* painter)
{
    const double beta = Effective_Angle(data);
    double angles[129], cp[129];
    f_CP_foil(data, beta, angles, cp);

    const QPolygonF p = Contour();
    const QPointF origin(originX, originY);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(Solid(Qt::blue, 3));
    painter->drawPolygon(p.translated(origin), Qt::OddEvenFill);

    QPointF normals[kContourPoints];
    calculate_airfoil_normal(kContourPoints, p.constData(), normals);
    for (int k = kFirstNeedle; k <= kLastNeedle; ++k) {
        const double c = cp[k];
        const QPointF P = p[k] + origin;
        const QPointF E = p[k] - kNeedleLength * std::fabs(c) * normals[k] + origin;
        // Each circle takes the pen of the needle before it.
        if (c < 0) {
            painter->drawEllipse(E, 2.0, 2.0);
            painter->setPen(Solid(Qt::green, 1));
        } else {
            painter->drawEllipse(P, 2.0, 2.0);
            painter->setPen(Solid(Qt::yellow, 1));
        }
        painter->drawLine(P, E);
    }

    const QPointF N = p[noseIndex(kContourPoints, p.constData())] + origin;
    const QPointF T = p[0] + origin;
    painter->setPen(QPen(QBrush(Qt::magenta), 0, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawLine(N, T);

    Compute_Results();
    const bool hasCp = std::isfinite(cpPosition);
    const bool hasAc = std::isfinite(acPosition);
    painter->setPen(Solid(Qt::green, 1));
    painter->drawText(originX, 20, "C.P. = " + Dcp_Value_Text(cpPosition));
    if (hasCp) {
        painter->setBrush(QBrush(Qt::green, Qt::SolidPattern));
        painter->drawPolygon(f_arrow(normalForce).translated(Chord_Point(cpPosition, N, T)), Qt::OddEvenFill);
    }

    const QPolygonF cross = f_cross(10);
    painter->setPen(Solid(Qt::yellow, 2));
    painter->setBrush(QBrush(Qt::yellow, Qt::SolidPattern));
    if (hasAc)
        painter->drawEllipse(Chord_Point(acPosition, N, T), 10.0, 10.0);
    painter->drawText(originX, 40, "A.C. = " + Dcp_Value_Text(acPosition));
    if (hasAc) {
        painter->setPen(Solid(Qt::black, 2));
        painter->drawPolygon(cross.translated(Chord_Point(acPosition, N, T)), Qt::OddEvenFill);
    }

    painter->setPen(Solid(Qt::red, 1));
    painter->drawText(originX + 100, 20, "C1.P. = " + Dcp_Value_Text(cp1Position));
    if (std::isfinite(cp1Position)) {
        painter->setPen(Solid(Qt::red, 2));
        painter->drawPolygon(cross.translated(Chord_Point(cp1Position, N, T)), Qt::OddEvenFill);
    }

    painter->setPen(Solid(Qt::cyan, 1));
    painter->drawText(originX + 200, 20, "C2.P. = " + Dcp_Value_Text(cp2Position));
    if (std::isfinite(cp2Position)) {
        painter->setPen(Solid(Qt::cyan, 2));
        painter->drawPolygon(cross.translated(Chord_Point(cp2Position, N, T)), Qt::OddEvenFill);
    }
}

void Wpotential::paintEvent(QPaintEvent*)
{
    Layout();
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter.drawRect(0, 0, width() - 1, height() - 1);
    if (!data->zeroFoil.isEmpty())
        Paint_Potential(&painter);
}

void calculate_airfoil_normal(int n, const QPointF* p, QPointF* normals)
{
    if (n < 2)
        return;
    for (int k = 0; k + 1 < n; ++k) {
        const double phi = std::atan2(p[k + 1].y() - p[k].y(), p[k + 1].x() - p[k].x());
        normals[k] = QPointF(std::sin(phi), -std::cos(phi));
    }
    normals[n - 1] = normals[n - 2];
    normals[1] = normals[0];
}

int noseIndex(int n, const QPointF* points)
{
    int index = 0;
    double least = 1000;
    for (int i = n / 4; i < 0.75 * n; ++i) {
        if (points[i].x() < least) {
            least = points[i].x();
            index = i;
        }
    }
    return index;
}

QPolygonF f_arrow(double value)
{
    const double a = value > 0 ? -22 : 22;
    const double b = value > 0 ? -15 : 15;
    return QPolygonF({{-4, 0}, {4, 0}, {4, b}, {6, b}, {0, a}, {-6, b}, {-4, b}, {-4, 0}});
}

QPolygonF f_cross(int s)
{
    const QPointF o(0, 0);
    return QPolygonF({o, QPointF(s, 0), o, QPointF(0, s), o, QPointF(-s, 0), o, QPointF(0, -s), o});
}

} // namespace aerolyx
