#include "core/billowarc.h"

#include "core/skintension.h"
#include "core/transf.h"

#include <cmath>

namespace {

QPointF normal(QPointF P, QPointF Q)
{
    const double t = std::atan2(Q.y() - P.y(), Q.x() - P.x());
    return QPointF(-std::sin(t), std::cos(t));
}

// The point at height h above the middle of P Q, on its normal.
QPointF apex(double h, QPointF P, QPointF Q)
{
    return 0.5 * (umRight(h, P, Q) + xuberLeft(h, P, Q));
}

} // namespace

QPointF xuberLeft(double h, QPointF P, QPointF Q)
{
    return P + h * normal(P, Q);
}

QPointF xuberRight(double h, QPointF P, QPointF Q)
{
    return Q + h * normal(P, Q);
}

QPointF umRight(double h, QPointF P, QPointF Q)
{
    return xuberRight(h, P, Q);
}

void arc_8Points(double h, QPointF P1, QPointF P2, QPointF* out)
{
    if (!out)
        return;
    const QPointF A = h < 0 ? P2 : P1;
    const QPointF B = h < 0 ? P1 : P2;
    const double a = std::fabs(h);
    const QPointF M = apex(a, A, B);
    const double d = Dist2(A, B);
    const double s = std::pow(d * d / 4 + a * a, 0.5);
    const double L = (2 * s - d) / 3 + 2 * s;
    const double h2 = f_kapica(s, L / 2);
    const QPointF Q1 = apex(h2, A, M);
    const QPointF Q3 = apex(h2, M, B);
    const double h3 = f_kapica(std::pow(s * s / 4 + h2 * h2, 0.5), L / 4);
    out[0] = A;
    out[1] = apex(h3, A, Q1);
    out[2] = Q1;
    out[3] = apex(h3, Q1, M);
    out[4] = M;
    out[5] = apex(h3, M, Q3);
    out[6] = Q3;
    out[7] = apex(h3, Q3, B);
    out[8] = B;
}

QPolygonF billow_arc(double h, QPointF P1, QPointF P2)
{
    QPointF out[9];
    arc_8Points(h, P1, P2, out);
    QPolygonF arc;
    arc.reserve(9);
    for (int k = 0; k < 9; ++k)
        arc.append(h < 0 ? out[8 - k] : out[k]);
    return arc;
}

QPolygonF skint_dinamic(const ParaStruct* design, int rib, char mode, double yScale, QPolygonF poly)
{
    QPolygonF out;
    if (poly.size() < 2) {
        out.append(QPointF(0, 0));
        return out;
    }
    out.reserve(poly.size());
    double g = 0.0;
    QPointF B;
    for (int k = 0; k + 1 < poly.size(); ++k) {
        const QPointF A(poly.at(k).x(), yScale * poly.at(k).y());
        B = QPointF(poly.at(k + 1).x(), yScale * poly.at(k + 1).y());
        switch (mode) {
        case 'D':
            g = Real_Kapica(design, rib, k);
            break;
        case 'H':
            g = Delta_Half(design, rib, k) * yScale;
            break;
        case 'R':
            g = f_skin_norma_tension(design, rib, k);
            break;
        case 'T':
            g = Theory_Kapica(design, rib, k);
            break;
        default:
            break;
        }
        out.append(xuberLeft(2.5 * g, A, B));
    }
    out.append(B);
    return out;
}
