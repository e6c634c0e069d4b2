#include "apps/splinora/parastruct.h"

namespace splinora {

SplineFoil::SplineFoil()
{
    for (int i = 0; i < MAXNUMKNOTS; ++i) {
        b_knots[i] = 0.0;
        b_multi_knot[i] = 0;
    }
}

void SplineFoil::init_knots()
{
    degree = DEGREE2;
    order = degree + 1;
    num_knt = num_pnt + order;
    if (num_knt > MAXNUMKNOTS)
        num_knt = MAXNUMKNOTS;
    for (int i = 0; i < num_knt; ++i) {
        b_knots[i] = double(i) / double(num_knt - 1);
        b_multi_knot[i] = 1;
    }
}

QPolygonF SplineFoil::make_SplinePoly() const
{
    QPolygonF poly;
    if (num_pnt <= 0)
        return poly;
    poly.reserve(int(F_DIV));
    // The step is added up, as the stored files and tables expect.
    for (double t = 0.001; t < 1.0; t += 1.0 / F_DIV)
        poly.append(B_spline_point(num_pnt, degree, CP, b_knots, t));
    return poly;
}

ParaStruct::ParaStruct()
{
    for (int& v : LineInd)
        v = 0;
}

void ParaStruct::SetInitialValues() {}

ParaStruct* GetDataStruct()
{
    static ParaStruct* record = new ParaStruct;
    return record;
}

double deBoor(int i, int deg, const double* knot, double t)
{
    if (deg <= 0)
        return (knot[i] <= t && t < knot[i + 1] && knot[i + 1] > knot[i]) ? 1.0 : 0.0;
    double value = 0.0;
    const double d1 = knot[i + deg] - knot[i];
    if (d1 != 0.0)
        value += (t - knot[i]) * deBoor(i, deg - 1, knot, t) / d1;
    const double d2 = knot[i + deg + 1] - knot[i + 1];
    if (d2 != 0.0)
        value += (knot[i + deg + 1] - t) * deBoor(i + 1, deg - 1, knot, t) / d2;
    return value;
}

QPointF B_spline_point(int num_pnt, int deg, const QPointF* Cp, const double* knot, double t)
{
    QPointF S(0.0, 0.0);
    double W = 0.0;
    for (int i = 0; i < num_pnt; ++i) {
        const double b = deBoor(i, deg, knot, t);
        S += b * Cp[i];
        W += b;
    }
    if (W == 0.0)
        return QPointF(0.0, 0.0);
    return S / W;
}

double dmin(double a, double b)
{
    return a < b ? a : b;
}

} // namespace splinora
