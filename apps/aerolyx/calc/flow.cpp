#include "apps/aerolyx/calc/flow.h"

#include "apps/aerolyx/calc/conformalmap.h"
#include "core/mygsllib.h"
#include "apps/aerolyx/calc/numutil.h"

#include <cmath>
#include <limits>
#include <vector>

namespace aerolyx {

namespace {

constexpr int kStations = 127;              // intervals of the contour integrals
constexpr double kStep = 2.0 * M_PI / kStations;

// The speed at the circle point zeta whose map has the derivative dz, in the
// stream e1 = e^(-i beta) with e2 = e^(i beta).
double Speed_At(Complex zeta, double dz, Complex e1, Complex e2)
{
    const Complex one = C_set(1, 0);
    const Complex q = C_inv(zeta);
    const Complex t = C_mul(e2, q);
    const Complex s = C_sub(zeta, one);
    const Complex w = C_mul(C_mul(C_sum(e1, t), q), s);
    // Where the map's derivative vanishes (the trailing edge) the flow
    // stagnates.
    if (!(dz > 0))
        return 0;
    return C_abs(w) / dz;
}

// The speed without the trailing-edge cut.
double Speed(const myData* data, int m, double r, double phi, double beta)
{
    return Speed_At(C_set_P(r, phi), f_V_XY(data, m, r, phi), C_set_P(1.0, -beta), C_set_P(1.0, beta));
}

// Stations 0..kStations + 1: the contour integrals take 0..kStations, the
// pressure tables one more.
constexpr int kStationCount = kStations + 2;

// The harmonics of the stations' circle angles, for all the map's terms.
const CircleHarmonics& Station_Harmonics()
{
    static const CircleHarmonics table = [] {
        std::vector<double> angles(kStationCount);
        for (int i = 0; i < kStationCount; ++i)
            angles[size_t(i)] = i * kStep;
        return CircleHarmonics(angles, kMapCoefs);
    }();
    return table;
}

// The speed of every station at the angle beta, 0 from kTrailingCut on: what
// Speed gives at r = 1, the map's derivative taken at all stations at once.
void Station_Speeds(const myData* data, double beta, double* v)
{
    const CircleHarmonics& at = Station_Harmonics();
    Complex dz[kStationCount];
    Df_Unit_Circle(data, at, kMapCoefs, data->mapScale, data->mapCoefA, data->mapCoefB, dz);
    const Complex e1 = C_set_P(1.0, -beta);
    const Complex e2 = C_set_P(1.0, beta);
    for (int i = 0; i < kStationCount; ++i)
        v[i] = i * kStep >= kTrailingCut
                 ? 0.0
                 : Speed_At(C_set(at.Cos(1)[i], at.Sin(1)[i]), C_abs(dz[i]), e1, e2);
}

// The first station of the trailing-edge cut.
int First_Cut()
{
    int firstCut = kStations;
    while (firstCut > 0 && (firstCut - 1) * kStep >= kTrailingCut)
        --firstCut;
    return firstCut;
}

// The speeds as the surface integrals take them: the stations next to the
// trailing edge, where the map's derivative vanishes, count as stagnation on
// both sides of it, so that the cut itself adds no lift.
void Integral_Speeds(const myData* data, double beta, double* v)
{
    Station_Speeds(data, beta, v);
    static const int firstCut = First_Cut();
    for (int i = 1; i <= kStations - firstCut; ++i)
        v[i] = 0.0;
}

} // namespace

double f_V_XY(const myData* data, int m, double r, double phi)
{
    return C_abs(Df_conform(data, m, r, phi, data->mapScale, data->mapCoefA, data->mapCoefB));
}

double f_V_Pot(const myData* data, int m, double r, double phi, double beta)
{
    if (phi >= 2.0 * M_PI * (1.0 - 3.0 / (2.0 * m - 1.0)))
        return 0;
    return Speed(data, m, r, phi, beta);
}

double Free_Stream_Speed(const myData* data)
{
    return Speed(data, kMapCoefs, 1e8, M_PI / 2, 0.0);
}

double Circulation(const myData* data)
{
    return -2.0 * std::sin(Effective_Angle(data));
}

double f_Cp(double v, double vinf)
{
    return 1.0 - f_Dp(v, vinf);
}

double f_Dp(double v, double vinf)
{
    return (v / vinf) * (v / vinf);
}

void f_CP_Polar(const myData* data, double beta, double* x1, double* x2, double* cp1, double* cp2)
{
    const double vinf = Free_Stream_Speed(data);
    double v[kStationCount];
    Station_Speeds(data, beta, v);
    for (int i = 0; i <= 128; ++i) {
        const double x = fin2_X(kMapCoefs, 1.0, i * kStep, data->mapScale, data->mapShiftX,
                                data->mapCoefA, data->mapCoefB);
        const double cp = f_Cp(v[i], vinf);
        if (i <= 64) {
            x1[i] = x;
            cp1[i] = cp;
        }
        if (i >= 64) {
            x2[i] = x;
            cp2[i] = cp;
        }
    }
}

void f_CP_foil(const myData* data, double beta, double* phi, double* cp)
{
    const double vinf = Free_Stream_Speed(data);
    double v[kStationCount];
    Station_Speeds(data, beta, v);
    for (int i = 0; i <= 128; ++i) {
        phi[i] = i * kStep;
        cp[i] = f_Cp(v[i], vinf);
    }
}

namespace {
// Slopes dx/dphi and dy/dphi of the contour at station i (1..127) by the
// central difference over the closed contour (station 127 is station 0, so
// station 128 is station 1). A one-sided difference leans every slope half a
// step towards the previous station, which gives a symmetric airfoil lift at
// zero incidence.
double Slope(const double* t, int i)
{
    const int next = i + 1 < kStations + 1 ? i + 1 : 1;
    return (t[next] - t[i - 1]) / (2.0 * kStep);
}
double Slope_X(const myData* data, int i) { return Slope(data->circleX, i); }
double Slope_Y(const myData* data, int i) { return Slope(data->circleY, i); }
} // namespace

double f_Moment(const myData* data, double beta, double xref)
{
    // The reference point lies on the chord line of the airfoil as loaded
    // (y = 0, x = xref), which the zero position carries turned by foilTurn
    // about the trailing edge. The moment takes both the normal and the
    // chordwise pressure force: about a point off the zero position's x axis
    // the chordwise force has an arm too.
    const double xr = 1.0 + (xref - 1.0) * std::cos(data->foilTurn);
    const double yr = (xref - 1.0) * std::sin(data->foilTurn);
    const double vinf = Free_Stream_Speed(data);
    double v[kStationCount];
    Integral_Speeds(data, beta, v);
    double f[kStations + 1];
    f[0] = 0;
    for (int i = 1; i <= kStations; ++i)
        f[i] = f_Cp(v[i], vinf)
             * ((data->circleX[i] - xr) * Slope_X(data, i) + (data->circleY[i] - yr) * Slope_Y(data, i));
    return -Simpson(kStations, kStep, f);
}

double f_Clift(const myData* data, double alphaDegrees)
{
    // The pressure force in the zero position's axes, then its part at right
    // angles to the stream, which comes in at beta to the zero-lift line.
    // The force across that line alone would fall short of the lift by the
    // cosine of beta (2 % at 8 degrees of a 4 % cambered section).
    const double beta = alphaDegrees * M_PI / 180.0;
    const double vinf = Free_Stream_Speed(data);
    double v[kStationCount];
    Integral_Speeds(data, beta, v);
    double fx[kStations + 1], fy[kStations + 1];
    fx[0] = fy[0] = 0;
    for (int i = 1; i <= kStations; ++i) {
        const double cp = f_Cp(v[i], vinf);
        fy[i] = Slope_X(data, i) * cp;
        fx[i] = -Slope_Y(data, i) * cp;
    }
    const double across = Simpson(kStations, kStep, fy);
    const double along = Simpson(kStations, kStep, fx);
    return across * std::cos(beta) - along * std::sin(beta);
}

double C_P_position(const myData* data, double beta, double x1, double x2, double* normalForce)
{
    const double vinf = Free_Stream_Speed(data);
    double v[kStationCount];
    Integral_Speeds(data, beta, v);
    double f1[kStations + 1], f2[kStations + 1];
    f1[0] = f2[0] = 0;
    bool any = false;
    for (int i = 1; i <= kStations; ++i) {
        f1[i] = f2[i] = 0;
        const double x = data->circleX[i];
        if (x1 <= x && x <= x2) {
            any = true;
            f1[i] = Slope_X(data, i) * f_Cp(v[i], vinf);
            f2[i] = f1[i] * x;
        }
    }
    const double force = Simpson(kStations, kStep, f1);
    if (normalForce)
        *normalForce = force;
    const double position = Simpson(kStations, kStep, f2) / force;
    if (!any || !(std::fabs(force) > 1e-6) || !std::isfinite(position))
        return std::numeric_limits<double>::quiet_NaN();
    return position;
}

double AC_Position(const myData* data, double alphaDegrees)
{
    const double lo = alphaDegrees - 0.1, hi = alphaDegrees + 0.1;
    const double d = std::fabs(hi - lo);
    const double z = data->zeroLiftAngle * 180.0 / M_PI;
    double best = 1e6, result = 0, x = 0.2;
    for (int j = 0; j < 67; ++j) {
        const double m1 = f_Moment(data, (lo - z) * M_PI / 180.0, x);
        const double m2 = f_Moment(data, (hi - z) * M_PI / 180.0, x);
        const double g = std::fabs(m2 - m1) / d;
        if (g < best) {
            best = g;
            result = x;
        }
        x += 0.0015;
    }
    return result;
}

QString Dcp_Value_Text(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("n/a");
    return QString("%1").arg(value, 0, 'f', 3);
}

} // namespace aerolyx
