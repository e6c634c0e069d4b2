#include "core/skintension.h"

#include "core/geomconst.h"
#include "core/parastruct.h"
#include "core/transf.h"

#include <algorithm>
#include <utility>
#include <cmath>
#include <memory>
#include <optional>

static_assert(kAirfoilPoints == 1000, "the rows of Skin_Norma_Tension_Rows hold every airfoil point");

namespace {

constexpr int kLastPoint = kAirfoilPoints - 1;

int pointIndex(int j)
{
    return std::clamp(j, 0, kLastPoint);
}

bool ribSlot(int r)
{
    return r >= 0 && r < kRibSlots;
}

// v clamped into [lo, hi] taken in either order and kept on the airfoil.
int clampInto(int v, int lo, int hi)
{
    if (lo > hi)
        std::swap(lo, hi);
    return pointIndex(std::clamp(v, lo, hi));
}

// The zone borders of the skin tension: the billow editor's markers 1, 2, 4
// and 5 (skinControlIndex), held to the limits the editor gives them on
// rib 1. A record that was never edited there (or comes from a file) may
// hold any value; used unchecked they would address points beyond the airfoil.
struct SkinZones {
    int k1, k2, k4, k5;
};

SkinZones skinZones(const ParaStruct* d)
{
    const int top = pointIndex(d->topIndex[1]);
    const int nose = pointIndex(d->noseIndex[1]);
    const int bottom = pointIndex(d->bottomIndex[1]);
    const int o2 = pointIndex(d->lineIndex[1][1]);
    const int* k = d->skinControlIndex;
    return SkinZones{clampInto(k[1], top + 3, nose - 3), clampInto(k[2], o2 + 3, bottom - 3),
                     clampInto(k[4], 3, top - 3), clampInto(k[5], bottom + 3, kLastPoint - 2)};
}

// Gaussian elimination without pivoting on n rows of 5 doubles (column n
// holds the right-hand side); the solution goes to x[0 .. n - 1].
void gaussSolve(double A[][5], int n, double* x)
{
    for (int k = 0; k < n - 1; ++k) {
        for (int i = k + 1; i < n; ++i) {
            const double f = A[i][k] / A[k][k];
            A[i][k] = 0.0;
            for (int c = k + 1; c <= n; ++c)
                A[i][c] -= f * A[k][c];
        }
    }
    x[n - 1] = A[n - 1][n] / A[n - 1][n - 1];
    for (int i = n - 2; i >= 0; --i) {
        double s = A[i][n];
        for (int c = n - 1; c > i; --c)
            s -= x[c] * A[i][c];
        x[i] = s / A[i][i];
    }
}

// Fraction of the way from i0 to i1; an empty interval counts as passed.
double stepFraction(int i0, int i1, int i)
{
    if (i1 == i0)
        return 1.0;
    return double(i - i0) / double(i1 - i0);
}

double quinticStep(double y0, const double* c, double u)
{
    return y0 + u * u * u * (c[1] * u * u + c[2] * u + c[3]);
}

} // namespace

double f_Wide(const ParaStruct* d, int r, int j)
{
    if (!d || r > d->lastRib || d->lastRib < 1 || j < 0 || j > kLastPoint)
        return 0.0;
    int a = 0;
    if (r <= d->firstRib)
        a = d->firstRib;
    else if (r < d->lastRib)
        a = r;
    else
        a = d->lastRib - 1;
    if (!ribSlot(a) || !ribSlot(a + 1))
        return 0.0;
    const QVector3D& A = d->ribCurves3D[a][j];
    const QVector3D& B = d->ribCurves3D[a + 1][j];
    const float dx = A.x() - B.x();
    const float dy = A.y() - B.y();
    const float dz = A.z() - B.z();
    return norma3(dx, dy, dz);
}

double f_kapica(double s, double b)
{
    if (s > b)
        std::swap(s, b);
    // Negative lengths make no arc: no height rather than a NaN.
    const double radicand = std::max(0.0, (5 * s + 3 * b) * 3 * (b - s));
    return std::pow(radicand, 0.5) * 0.125;
}

double find_Thick(const ParaStruct* d, int r, int j)
{
    if (!d)
        return 0.0;
    r = std::max(r, 1);
    j = std::max(j, 1);
    if (r >= kRibSlots)
        return 0.0;
    const QList<Par12>& pairs = d->foilPairs[r];
    const QPolygonF& foil = d->ribAirfoils[r];
    if (pairs.isEmpty() || foil.isEmpty() || j >= pairs.size())
        return 0.0;
    const Par12& p = pairs.at(j);
    if (p.up < 0 || p.low < 0 || p.up >= foil.size() || p.low >= foil.size())
        return 0.0;
    return std::fabs(foil.at(p.up).y() - foil.at(p.low).y()) * d->chord[r];
}

double Delta_Half(const ParaStruct* d, int r, int j)
{
    const double w = f_Wide(d, r, j);
    const double t = find_Thick(d, r, j);
    const double R = 0.5 * std::pow(t * t + w * w, 0.5);
    if (!(R > 0))
        return 0.0;
    const double arc = 2 * std::asin(std::min(1.0, 0.5 * w / R)) * R;
    return (arc - w) * 0.5;
}

double Theory_Kapica(const ParaStruct* d, int r, int j)
{
    const double w = f_Wide(d, r, j);
    return f_kapica(w, w + 2 * Delta_Half(d, r, j));
}

double Real_Kapica(const ParaStruct* d, int r, int j)
{
    if (!d || !ribSlot(r) || j < 0 || j > kLastPoint)
        return 0.0;
    const double w = f_Wide(d, r, j);
    // Read, not written: a table shared with a copy of the design stays so.
    return f_kapica(w, w + 2 * std::as_const(*d).clothHalfOversize[r][j]);
}

namespace {

// The parameter at which the quadratic Bezier curve with control abscissae
// x0, x1, x2 reaches x, bisected until it is as fine as a double holds it.
// A coarse stop (a thousandth) would round the parameter to steps of 1/2048,
// two of which fall between some neighbouring airfoil points and three
// between others: the oversize would rise in uneven steps.
double bezierParameter(int x0, int x1, int x2, int x)
{
    double lo = 0.0, hi = 1.0, t = 0.0;
    for (int i = 0; i < 64 && hi - lo > 1e-15; ++i) {
        t = 0.5 * (lo + hi);
        const double s = 1 - t;
        const double X = s * s * x0 + 2 * s * t * x1 + t * t * x2;
        if (X > x)
            hi = t;
        else
            lo = t;
    }
    return t;
}

double bezierValue(double y0, double y1, double y2, double t)
{
    const double s = 1 - t;
    return s * s * y0 + 2 * s * t * y1 + t * t * y2;
}

} // namespace

double find_lam(double y0, double y1, double y2, int x0, int x1, int x2, int x)
{
    return bezierValue(y0, y1, y2, bezierParameter(x0, x1, x2, x));
}

void Skin_Asc(double d, double* out)
{
    double A[3][5] = {{1, 1, 1, d, 0}, {5, 4, 3, 0, 0}, {20, 12, 6, 0, 0}};
    gaussSolve(A, 3, out + 1);
}

void Skin_desc(double d, double* out)
{
    double A[3][5] = {{1, 1, 1, -d, 0}, {20, 12, 6, 0, 0}, {5, 4, 3, 0, 0}};
    gaussSolve(A, 3, out + 1);
}

namespace {

// f_asc_ten and f_desc_ten with their coefficients solved once.
struct AscStep {
    double y0 = 0.0;
    double c[4] = {};
    int i0 = 0, i1 = 0;

    AscStep(double from, double to, int first, int last) : y0(from), i0(first), i1(last)
    {
        Skin_Asc(to - from, c);
    }
    double at(int i) const { return quinticStep(y0, c, stepFraction(i0, i1, i)); }
};

struct DescStep {
    double y0 = 0.0;
    double c[4] = {};
    int i0 = 0, i1 = 0;
    bool falls = false;

    DescStep(double from, double to, int first, int last) : y0(from), i0(first), i1(last), falls(from - to > 1e-8)
    {
        if (falls)
            Skin_desc(from - to, c);
    }
    double at(int i) const
    {
        return falls ? std::max(0.0, quinticStep(y0, c, stepFraction(i0, i1, i))) : y0;
    }
};

int skinDecision(const SkinZones& z, int L0, int L1, int j)
{
    if (is_between(z.k1, L0, j))
        return 1;
    if (is_between(0, z.k4, j))
        return 4;
    if (is_between(L1, z.k2, j))
        return 2;
    if (is_between(z.k5, kLastPoint, j))
        return 5;
    if (is_between(L0, L1, j))
        return 0;
    if (is_between(z.k1, z.k4, j))
        return 10;
    if (is_between(z.k2, z.k5, j))
        return 11;
    return 0;
}

// f_BCalongrib of one rib: the reduction toward the two trailing edges.
struct AlongRib {
    int top, bottom;
    AscStep rise;
    DescStep fall;

    AlongRib(const ParaStruct* d, int r)
        : top(pointIndex(d->topIndex[r])), bottom(pointIndex(d->bottomIndex[r])),
          // A reduction is a share of the oversize: 0 to 100 percent.
          rise(1 - 0.01 * std::clamp(d->billowReductionUp, 0.0, 100.0), 1.0, 0, top),
          fall(1.0, 1 - 0.01 * std::clamp(d->billowReductionDown, 0.0, 100.0), bottom, kLastPoint)
    {
    }
    double at(int j) const
    {
        double v = 1.0;
        if (j < top)
            v = rise.at(j);
        if (j > bottom)
            return fall.at(j);
        return v;
    }
};

} // namespace

double f_asc_ten(double y0, double y1, int i0, int i1, int i)
{
    return AscStep(y0, y1, i0, i1).at(i);
}

double f_desc_ten(double y0, double y1, int i0, int i1, int i)
{
    return DescStep(y0, y1, i0, i1).at(i);
}

int f_skin_decision(const ParaStruct* d, int r, int j)
{
    if (!d || !ribSlot(r))
        return 0;
    return skinDecision(skinZones(d), pointIndex(d->lineIndex[0][r]), pointIndex(d->lineIndex[1][r]), j);
}

double f_BCalongrib(const ParaStruct* d, int r, int j)
{
    if (!d || !ribSlot(r))
        return 1.0;
    return AlongRib(d, r).at(j);
}

namespace {

// What the half-oversize of every rib shares: the zone borders (taken on
// rib 1) and the Bezier parameters of the two trailing-edge zones, whose
// control abscissae are those borders; each parameter is bisected once for
// all ribs, when a rib first asks for it.
class TensionZones
{
public:
    explicit TensionZones(const ParaStruct* d)
        : z(skinZones(d)), m4((3 * z.k4) / 4), m5(z.k5 + (kLastPoint - z.k5) / 4),
          bottom1(pointIndex(d->bottomIndex[1]))
    {
    }

    const SkinZones z;
    const int m4, m5;
    const int bottom1;

    double upperTail(int j) { return cached(t4, known4, 0, m4, z.k4, j); }
    double lowerTail(int j) { return cached(t5, known5, z.k5, m5, kLastPoint, j); }

private:
    static double cached(double* t, bool* known, int x0, int x1, int x2, int j)
    {
        if (j < 0 || j > kLastPoint)
            return bezierParameter(x0, x1, x2, j);
        if (!known[j]) {
            t[j] = bezierParameter(x0, x1, x2, j);
            known[j] = true;
        }
        return t[j];
    }
    double t4[kAirfoilPoints];
    double t5[kAirfoilPoints];
    bool known4[kAirfoilPoints] = {};
    bool known5[kAirfoilPoints] = {};
};

// The half-oversize of rib r, with D(k) the theoretical half-oversize of the
// rib at point k: what does not change along the rib is worked out once,
// when a point first needs it.
template <class HalfOversize>
class RibTension
{
public:
    RibTension(const ParaStruct* d, int r, TensionZones& zones, HalfOversize D)
        : zones(zones), D(D), top(pointIndex(d->topIndex[r])), nose(pointIndex(d->noseIndex[r])),
          bottom(pointIndex(d->bottomIndex[r])), L0(pointIndex(d->lineIndex[0][r])),
          L1(pointIndex(d->lineIndex[1][r])), along(d, r), reduction(d->billowReduction[r])
    {
    }

    double at(int j)
    {
        const SkinZones& z = zones.z;
        double v = 0.0;
        switch (skinDecision(z, L0, L1, j)) {
        case 1:
            if (j <= nose) {
                if (!front)
                    front.emplace(D(top), 0.0, z.k1, nose);
                v = front->at(j);
            }
            break;
        case 2:
            if (!back)
                back.emplace(0.0, D(zones.bottom1), L1, z.k2);
            v = back->at(j);
            break;
        case 4:
            if (!upperKnown) {
                upper[0] = D(zones.m4);
                upper[1] = D(z.k4);
                upperKnown = true;
            }
            v = bezierValue(0.0, upper[0], upper[1], zones.upperTail(j));
            break;
        case 5:
            if (!lowerKnown) {
                lower[0] = D(z.k5);
                lower[1] = D(zones.m5);
                lowerKnown = true;
            }
            v = bezierValue(lower[0], lower[1], 0.0, zones.lowerTail(j));
            break;
        case 10:
            v = j < top ? D(j) : std::min(D(j), D(top));
            break;
        case 11:
            v = j > bottom ? D(j) : std::min(D(j), D(bottom));
            break;
        default:
            break;
        }
        // Cloth is never cut shorter than the straight distance.
        return std::max(0.0, along.at(j) * reduction * v);
    }

private:
    TensionZones& zones;
    HalfOversize D;
    const int top, nose, bottom, L0, L1;
    const AlongRib along;
    const double reduction;
    std::optional<AscStep> front, back;
    bool upperKnown = false, lowerKnown = false;
    double upper[2] = {0.0, 0.0}, lower[2] = {0.0, 0.0};
};

// Skin_Norma_Tension_Row with the shared zones.
void tensionRow(const ParaStruct* d, int r, TensionZones& zones, double* out)
{
    // Most points take the theoretical half-oversize of their own point and
    // of the top or bottom point: each is worked out once for the rib.
    double half[kAirfoilPoints];
    bool known[kAirfoilPoints] = {};
    auto D = [&](int k) {
        if (k < 0 || k > kLastPoint)
            return Delta_Half(d, r, k);
        if (!known[k]) {
            half[k] = Delta_Half(d, r, k);
            known[k] = true;
        }
        return half[k];
    };
    RibTension<decltype(D)> rib(d, r, zones, D);
    for (int j = 0; j < kAirfoilPoints; ++j)
        out[j] = rib.at(j);
}

} // namespace

double f_skin_norma_tension(const ParaStruct* d, int r, int j)
{
    if (!d || !ribSlot(r) || j < 0 || j > kLastPoint)
        return 0.0;
    auto zones = std::make_unique<TensionZones>(d);
    auto D = [d, r](int k) { return Delta_Half(d, r, k); };
    return RibTension<decltype(D)>(d, r, *zones, D).at(j);
}

void Skin_Norma_Tension_Row(const ParaStruct* d, int r, double* out)
{
    if (!d || !ribSlot(r)) {
        std::fill(out, out + kAirfoilPoints, 0.0);
        return;
    }
    auto zones = std::make_unique<TensionZones>(d);
    tensionRow(d, r, *zones, out);
}

void Skin_Norma_Tension_Rows(const ParaStruct* d, int count, double (*out)[kAirfoilPoints])
{
    if (!d || count <= 0)
        return;
    auto zones = std::make_unique<TensionZones>(d);
    for (int r = 0; r < count; ++r) {
        if (ribSlot(r))
            tensionRow(d, r, *zones, out[r]);
        else
            std::fill(out[r], out[r] + kAirfoilPoints, 0.0);
    }
}

void Calculate_BillowComp_Reduction(ParaStruct* d)
{
    if (!d || d->lastRib < 1 || d->lastRib >= kRibSlots)
        return;
    const int n = d->lastRib;
    QVector3D u[kRibSlots];
    QVector3D normal[kRibSlots];
    QVector3D F(0, 0, 0);
    for (int r = 0; r <= n; ++r) {
        const QVector3D dv = d->ribCurves3D[r][pointIndex(d->topIndex[r])] - d->hangingPoint;
        const double L = dv.length();
        u[r] = L > 0 ? QVector3D(float(dv.x() / L), float(dv.y() / L), float(dv.z() / L)) : QVector3D(0, 0, 0);
        const double a = d->ribAngle[r];
        normal[r] = QVector3D(0.0f, float(std::sin(a)), float(std::cos(a)));
        F += normal[r] * float(d->cellWidth[r] * d->chord[r]);
    }
    const double length = F.length();
    const double k = length > 0 ? 0.5 * d->totalWeight / length : 0.0;
    double q[kRibSlots];
    for (int r = 0; r <= n; ++r) {
        const double c = std::clamp(double(QVector3D::dotProduct(normal[r], u[r])), -1.0, 1.0);
        q[r] = std::sin(std::acos(c)) * (k * d->cellWidth[r] * d->chord[r]);
    }
    double sum = 0.0;
    for (int r = n; r >= 0; --r) {
        sum += q[r];
        d->billowReduction[r] = 1 - 0.5 * std::atan(sum) / wl::Pi;
    }
    const double tip = d->billowReduction[n];
    for (int r = 0; r <= n; ++r)
        d->billowReduction[r] /= tip;
    d->billowReduction[n] = 0.0;
    d->billowReduction[n - 1] = 0.25 * d->billowReduction[0];
}

void Calculate_RelaxLengths(ParaStruct* d)
{
    if (!d)
        return;
    const int n = d->lastRib;
    if (n > kRibSlots)
        return;
    int m = n > d->brakeCentreRib ? d->brakeCentreRib : n / 2;
    if (m <= 0)
        m = n / 2;
    const double mid = std::min(d->brakeMiddleRelax, 0.5);
    const double edge = std::min(d->brakeEdgeRelax, 0.5);
    std::fill(std::begin(d->relaxFactors), std::end(d->relaxFactors), 0.0);
    if (n < 0)
        return;
    for (int r = 0; r <= n; ++r)
        d->relaxFactors[r] = r <= m ? f_desc_ten(mid, 0.0, 0, m, r) : f_asc_ten(0.0, edge, m, n, r);
}
