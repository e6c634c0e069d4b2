#include "aero/polar.h"

#include "aero/apameres.h"

#include "core/geomconst.h"
#include "core/mygsllib.h"
#include "core/parastruct.h"
#include "lines/loading.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCases = kPolarCases;
constexpr int kSweepSteps = 52;     // 0.0 .. 12.75 degrees
constexpr double kSweepStep = 0.25; // degrees

double weight(const ParaStruct& P)
{
    return kGravity * P.totalWeight;
}

// Chord of the centre rib in metres.
double centreChord(const ParaStruct& P)
{
    const int rib = std::clamp(P.firstRib, 0, kRibSlots - 1);
    return P.R_X(P.chord[rib]);
}

bool allFinite(const double* v)
{
    return std::all_of(v, v + kCases, [](double x) { return std::isfinite(x); });
}

} // namespace

double f_table(int n, const double* x, const double* y, double a)
{
    if (n < 1)
        return 0.0;
    return interpTable13(n, x, y, std::clamp(a, x[0], x[n - 1]));
}

double iterate_Gama(double D, double L, double W, double T)
{
    if (L == 0)
        return 0.0;
    const double k = D / L;
    const double m = T / W;
    double g = 0.0;
    double previous = 1.0;
    for (int n = 0; n < 11; ++n) {
        if (std::fabs(g - previous) <= 1e-6)
            return g;
        previous = g;
        g = std::asin(std::cos(g) * k - m);
    }
    return g;
}

double CalculateGama(const ParaStruct& P, const Polar& polar, double alpha)
{
    const double D = f_table(kCases, polar.aeroAngle, polar.totalDragArea, alpha);
    const double L = f_table(kCases, polar.aeroAngle, polar.liftArea, alpha);
    return iterate_Gama(D, L, weight(P), kGravity * P.towForce) * kRadToDeg;
}

double Calculate_Q(const ParaStruct& P, const Polar& polar, double alpha, double gama)
{
    return weight(P) * std::cos(gama * wl::Degree) / f_table(kCases, polar.aeroAngle, polar.liftArea, alpha);
}

double Calculate_Sigma_Proc(const ParaStruct& P, const Polar& polar, double alpha, double gama, double theta,
                            double q, double cm)
{
    const double Wq = weight(P) / q;
    const double Dp = P.pilotArea * P.pilotCd;
    const double Dl = polar.ropesArea * P.ropesCd;
    const double H = P.hangHeight;
    const double c = P.meanChord;
    const double a = alpha * wl::Degree;
    const double t = (gama > 0 ? theta : -theta) * wl::Degree;
    // The wing's own pitching moment over q, in m3. The solver's coefficient
    // is My / (q S MAC) about the centre rib's leading edge with S the flat
    // area and MAC the mean chord, positive nose-up; the pilot's lever
    // balances it nose-down positive. (Lift at the quarter chord alone puts
    // the pilot a quarter chord behind the leading edge.)
    const double moment = -cm * P.flatArea * c;
    return (H * Wq * std::sin(t) + H * std::cos(a) * (Dl / 3 + Dp) + moment) / (Wq * std::cos(t) - (Dl + Dp) * std::sin(a)) /
           c;
}

double f_Veloc(double q)
{
    return q <= 0 ? 0.0 : std::pow(2 * q / kAirDensity, 0.5);
}

double f_inducedDrag(const ParaStruct& P, double CL)
{
    return CL * CL / wl::Pi / (P.oswaldFactor * P.flatAspectRatio);
}

void FromApameResToParaStruct(const ParaStruct& P, const ApameRes& res, Polar* polar)
{
    if (res.caseNum < kCases)
        return;
    const double S = P.flatArea;
    const double E = P.pilotArea * P.pilotCd + polar->ropesArea * P.ropesCd;
    for (int k = 0; k < kCases; ++k) {
        polar->aeroAlpha[k] = res.alpha[k];
        polar->aeroIndex[k] = k;
        polar->aeroAngle[k] = k;
        polar->momentCoeff[k] = res.cm[k];
        polar->liftArea[k] = res.clift[k] * S;
        polar->profileDragArea[k] = 0.95 * std::fabs(res.cdrag[k]) * S;
        polar->inducedDragArea[k] = f_inducedDrag(P, res.clift[k]) * S;
        polar->totalDragArea[k] = polar->inducedDragArea[k] + polar->profileDragArea[k] + E;
        polar->glideRatio[k] =
            std::fabs(polar->totalDragArea[k]) > 0 ? polar->liftArea[k] / polar->totalDragArea[k] : 0.0;
    }
}

double calculate_displacement_shift(const ParaStruct& P, double sigma)
{
    const double Cr = centreChord(P);
    if (Cr == 0)
        return 0.0;
    return (P.metaCentre * Cr + (sigma - 0.25) * P.meanChord) / Cr;
}

void calculate_legaX_from_shift(ParaStruct* P, double percent)
{
    P->legaX = centreChord(*P) * percent / 100;
}

double calculate_shift_from_legaX(const ParaStruct* P)
{
    const double Cr = centreChord(*P);
    return Cr == 0 ? 0.0 : 100 * P->legaX / Cr;
}

void Standard_Polar_Constants(ParaStruct* P)
{
    P->pilotArea = 0.45;
    P->towForce = 0;
    P->ropesCd = 1.0;
    P->pilotCd = 0.78;
    P->oswaldFactor = 1.0;
}

int get_opt_gama(QList<CalageClass> rows)
{
    double least = 200.0;
    int best = 0;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.at(i).gama < least) {
            least = rows.at(i).gama;
            best = i;
        }
    }
    return best;
}

int Tangent_Point_Index(int n, const double* x, const double* y, double bound)
{
    double least = bound;
    int found = 0;
    for (int i = 0; i + 1 < n; ++i) {
        if (x[i] == 0 || x[i + 1] == x[i])
            continue;
        const double d = std::fabs(y[i] / x[i] - (y[i + 1] - y[i]) / (x[i + 1] - x[i]));
        if (d < least) {
            least = d;
            found = i;
        }
    }
    return found;
}

int opt_Vx(int n, const double* x, const double* y)
{
    return Tangent_Point_Index(n, x, y, 1e12);
}

QPointF f_findTopAlfa(const double* x, const double* y)
{
    double top = -1e12;
    int index = 0;
    for (int i = 0; i < kCases; ++i) {
        if (y[i] == 0)
            continue;
        const double r = x[i] / y[i];
        if (r >= top) {
            top = r;
            index = i;
        }
    }
    return QPointF(index * wl::Degree, top);
}

double MinimalCD_CL(const Polar& polar)
{
    double least = 1000;
    double best = 0;
    for (int k = 0; k < kCases; ++k) {
        const double s = k * wl::Degree;
        const double lift = f_table(kCases, polar.aeroAngle, polar.liftArea, s);
        const double ratio = lift == 0 ? 0.0 : f_table(kCases, polar.aeroAngle, polar.totalDragArea, s) / lift;
        if (ratio <= least) {
            least = ratio;
            best = s;
        }
    }
    return best;
}

QPointF getLineRibPos(const ParaStruct* P, int row, int rib)
{
    if (row < 0 || row >= kLineRows || rib < 0 || rib >= kRibSlots)
        return QPointF(0, 0);
    const int index = P->lineIndex[row][rib];
    const QPolygonF& foil = P->ribAirfoils[rib];
    if (index < 0 || index > 998 || index >= foil.size())
        return QPointF(0, 0);
    return QPointF(P->ribSpanPos[rib], foil.at(index).x() * P->chord[rib] + P->leadingEdgeX[rib]);
}

QString Polar_Input_Problem(const ParaStruct& P, const Polar& polar, const ApameRes& res)
{
    if (res.caseNum < kCases)
        return QStringLiteral("The glide polar needs solver results for the 13 angles of attack 0 to 12 degrees; "
                              "there are %1. Run the analysis first.")
            .arg(res.caseNum);
    for (int k = 1; k < kCases; ++k) {
        if (!(polar.aeroAngle[k] > polar.aeroAngle[k - 1]))
            return QStringLiteral("The angles of attack of the solver cases do not rise.");
    }
    if (!allFinite(polar.liftArea) || !allFinite(polar.totalDragArea) || !allFinite(polar.momentCoeff))
        return QStringLiteral("The solver results give lift or drag values that are no numbers.");
    if (!(P.totalWeight > 0))
        return QStringLiteral("The glide polar needs a flying weight above 0 kg.");
    if (!(P.meanChord > 0) || centreChord(P) == 0)
        return QStringLiteral("The glide polar needs a wing with a chord.");
    return QString();
}

bool createPolar_BaseTable(const ParaStruct& P, const ApameRes& res, bool withBridleData, Polar* polar,
                           QString* message)
{
    const LineTotals lines = getTotalBridleLength(P, withBridleData);
    polar->totalLineLength = lines.length;
    polar->ropesArea = lines.area;
    FromApameResToParaStruct(P, res, polar);
    polar->rows.clear();
    polar->polarRowCount = 0;

    // Before the first complete results the case tables cannot carry a spline.
    const QString why = Polar_Input_Problem(P, *polar, res);
    if (message)
        *message = why;
    if (!why.isEmpty())
        return false;

    for (int k = 0; k < kCases; ++k) {
        const double alpha = polar->aeroAngle[k];
        polar->polarGama[k] = CalculateGama(P, *polar, alpha);
        polar->polarTheta[k] = alpha - polar->polarGama[k];
        polar->polarQ[k] = Calculate_Q(P, *polar, alpha, polar->polarGama[k]);
        polar->polarMoment[k] = polar->momentCoeff[k];
        polar->polarSigma[k] = Calculate_Sigma_Proc(P, *polar, alpha, polar->polarGama[k], polar->polarTheta[k],
                                                    polar->polarQ[k], polar->polarMoment[k]);
    }

    const bool towed = P.towForce > 0;
    for (int i = 0; i < kSweepSteps; ++i) {
        const double a = i * kSweepStep;
        const double sigma = f_table(kCases, polar->aeroAngle, polar->polarSigma, a);
        const double gama = f_table(kCases, polar->aeroAngle, polar->polarGama, a);
        const double speed = f_Veloc(f_table(kCases, polar->aeroAngle, polar->polarQ, a));
        const double shift = calculate_displacement_shift(P, sigma);
        if (towed ? !(a > 0.25 && gama <= 0 && 100 * shift > -90.0) : !(a >= 1.0 && gama > 0))
            continue;
        CalageClass row;
        row.calage = sigma;
        row.alfa = a;
        row.gama = gama;
        row.speed = speed;
        row.vx = speed * std::cos(gama * wl::Degree);
        row.vy = speed * std::sin(gama * wl::Degree);
        // Towed flight keeps only climbing rows.
        if (towed && !(row.vy < 0))
            continue;
        row.ratioText = towed ? QStringLiteral(" %1").arg(row.vy, 0, 'f', 2)
                              : QStringLiteral(" %1 ").arg(1 / std::tan(gama * wl::Degree), 0, 'f', 2);
        polar->rows.append(row);
    }
    polar->polarRowCount = int(polar->rows.size());
    // The speed polar from row 1 on: the chart leaves the first value out.
    for (int k = 1; k < polar->rows.size() && k < kSpeedSlots; ++k) {
        polar->polarVx[k] = polar->rows.at(k).vx;
        polar->polarVy[k] = polar->rows.at(k).vy;
    }
    return true;
}
