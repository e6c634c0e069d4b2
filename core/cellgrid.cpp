#include "core/cellgrid.h"

#include "core/canopy.h"
#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "core/skintension.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSubRows = 9;

// The grids are built where the canopy step built the rib curves and the
// oversize they are made from: on the same conditions.
bool hasCells(const ParaStruct* d)
{
    return !d->ribAirfoils[0].isEmpty() && d->lastRib >= 1 && d->lastRib <= kMaxLastRib && d->firstRib >= 0
           && d->firstRib < d->lastRib;
}

// t B + (1 - t) A, each product rounded to float before the float sum.
QVector3D blend(const QVector3D& A, const QVector3D& B, double t)
{
    return QVector3D(float(t * B.x()) + float((1 - t) * A.x()), float(t * B.y()) + float((1 - t) * A.y()),
                     float(t * B.z()) + float((1 - t) * A.z()));
}

QVector3D midpoint(const QVector3D& P, const QVector3D& Q)
{
    const QVector3D s = P + Q;
    return QVector3D(float(0.5 * s.x()), float(0.5 * s.y()), float(0.5 * s.z()));
}

// Midpoint of P and Q pushed by h along n.
QVector3D pushedMidpoint(const QVector3D& P, const QVector3D& Q, const QVector3D& n, double h)
{
    const QVector3D s = P + Q;
    return QVector3D(float(h * n.x()) + float(0.5 * s.x()), float(h * n.y()) + float(0.5 * s.y()),
                     float(h * n.z()) + float(0.5 * s.z()));
}

// Bulge height of a cloth strip of straight width a and half-oversize o:
// the cap of the arc a + 2 o long, with the chord of half the arc by
// Huygens' rule. An oversize too small for an arc gives no bulge.
double capHeight(double a, double o)
{
    const double m = (2 * a + 3 * o) / 4;
    return std::sqrt(std::max(0.0, m * m - (a / 2) * (a / 2)));
}

// The two rib curves of cell r: A on its first rib (the mirror of rib 1 in
// the centre cell of an odd count), B on its second.
void cellRibs(const ParaStruct* d, int r, const QVector3D** A, const QVector3D** B, bool* mirror)
{
    *mirror = r == 0 && !d->centreRib;
    *A = d->ribCurves3D[r];
    *B = d->ribCurves3D[r + 1];
}

} // namespace

QVector3D SymNullCell(QVector3D p)
{
    return QVector3D(p.x(), -p.y(), p.z());
}

void Space_Canopy_Flat(ParaStruct* d)
{
    if (!d || !hasCells(d))
        return;
    auto& grid = d->flatGrid.values();
    for (int r = 0; r < d->lastRib; ++r) {
        const QVector3D *ribA = nullptr, *ribB = nullptr;
        bool mirror = false;
        cellRibs(d, r, &ribA, &ribB, &mirror);
        for (int j = 0; j < kAirfoilPoints; ++j) {
            const QVector3D& B = ribB[j];
            const QVector3D A = mirror ? SymNullCell(B) : ribA[j];
            for (int k = 0; k < kSubRows; ++k)
                grid[k][r][j] = blend(A, B, k * 0.125);
        }
    }
}

namespace {

inline QVector3D quadNormal(const QVector3D& A, const QVector3D& B, const QVector3D& C, const QVector3D& D)
{
    return (QVector3D::crossProduct(D - A, B - A) + QVector3D::crossProduct(C - A, D - A)).normalized();
}

} // namespace

QVector3D norm4(QVector3D A, QVector3D B, QVector3D C, QVector3D D)
{
    return quadNormal(A, B, C, D);
}

QVector3D H_C3D(QVector3D A, QVector3D B, QVector3D C, QVector3D D, double h)
{
    return pushedMidpoint(A, B, quadNormal(A, B, C, D), h);
}

QVector3D H_C3D1(QVector3D A, QVector3D B, QVector3D C, QVector3D D, double h)
{
    return pushedMidpoint(C, D, norm4(A, B, C, D), h);
}

double f_frontfac(const ParaStruct* d, int r, int a, int b, int j)
{
    if (!d || r < 0 || r >= kAirfoilSlots)
        return 1.0;
    const int nose = d->noseIndex[r];
    double base = 1.0;
    if (is_between(a, nose, j) && a != nose)
        base = double(j - nose) / double(a - nose);
    if (is_between(nose, b, j) && b != nose)
        base = double(nose - j) / double(nose - b);
    return std::pow(base, 3.0);
}

double f_rearfac(int a, int b, int j)
{
    if (is_between(0, a, j))
        return a != 0 ? double(j) / a : 0.0;
    if (is_between(b, 1000, j))
        return b != 1000 ? double(1000 - j) / (1000 - b) : 0.0;
    return 1.0;
}

bool f_rearrib_on(int a, int b, int j)
{
    return is_between(0, a, j) || is_between(b, 1000, j);
}

void Space_Canopy_Inflated(ParaStruct* d)
{
    if (!d || !hasCells(d))
        return;
    const ParaStruct* in = d;
    const auto& cloth = in->clothHalfOversize.values();
    auto& grid = d->inflatedGrid.values();
    double width[kAirfoilPoints];

    for (int r = 0; r < d->lastRib; ++r) {
        const QVector3D *ribA = nullptr, *ribB = nullptr;
        bool mirror = false;
        cellRibs(in, r, &ribA, &ribB, &mirror);

        const int nose = d->noseIndex[r];
        int a = 0, b = 0;
        bool front = false;
        if (d->frontRibEnabled[r]) {
            a = int(std::trunc(nose - d->minirib.frontRibStart * 1000 / 200.0));
            b = int(std::trunc(d->minirib.frontRibEnd * 1000 / 200.0 + nose));
            front = a < nose && nose < b;
        }
        int ra = 0, rb = 1000;
        if (d->rearRibEnabled[r])
            Rear_Range(d, r, &ra, &rb);
        const bool rear = d->rearRibEnabled[r] && ra > 1;

        for (int j = 0; j < kAirfoilPoints; ++j)
            width[j] = f_Wide(d, r, j);
        // The cloth half-oversize the canopy step gave the cell.
        const double* over = cloth[r];

        for (int j = 0; j + 1 < kAirfoilPoints; ++j) {
            const bool inFront = front && is_between(a, b, j);
            const bool inRear = rear && f_rearrib_on(ra, rb, j);
            const double w0 = width[j], w1 = width[j + 1];
            const double o0 = over[j], o1 = over[j + 1];
            const double hF0 = capHeight(w0, o0), hF1 = capHeight(w1, o1);
            const double hH0 = capHeight(w0 / 2, o0 / 4), hH1 = capHeight(w1 / 2, o1 / 4);
            const double hQ0 = capHeight(w0 / 4, 0.0125 * o0);

            const QVector3D& P00 = ribA[j];
            const QVector3D& P01 = ribA[j + 1];
            const QVector3D& P10 = ribB[j];
            const QVector3D& P11 = ribB[j + 1];
            const QVector3D A = mirror ? SymNullCell(P10) : P00;
            const QVector3D B = P10;
            const QVector3D C = mirror ? SymNullCell(P11) : P01;
            const QVector3D D = P11;

            const QVector3D n = quadNormal(A, B, C, D);
            const QVector3D Q0 = pushedMidpoint(A, B, n, hF0);
            const QVector3D Q1 = pushedMidpoint(C, D, n, hF1);
            const QVector3D M0 = mirror ? P00 : midpoint(P00, P10);
            const QVector3D M1 = mirror ? P01 : midpoint(P01, P11);

            double f = 1.0;
            if (inFront)
                f = f_frontfac(d, r, a, b, j);
            if (inRear)
                f = f_rearfac(ra, rb, j);
            const QVector3D R0 = blend(M0, Q0, f);
            const QVector3D R1 = blend(M1, Q1, f);

            // H_C3D and H_C3D1 of one quad share its normal.
            const QVector3D n1 = quadNormal(A, R0, C, R1);
            const QVector3D S1 = pushedMidpoint(A, R0, n1, hH0);
            const QVector3D T1 = pushedMidpoint(C, R1, n1, hH1);
            const QVector3D n2 = quadNormal(R0, B, R1, D);
            const QVector3D S2 = pushedMidpoint(R0, B, n2, hH0);
            const QVector3D T2 = pushedMidpoint(R1, D, n2, hH1);

            const QVector3D U1 = pushedMidpoint(A, S1, quadNormal(A, S1, C, T1), hQ0);
            const QVector3D U3 = pushedMidpoint(S1, R0, quadNormal(S1, R0, T1, R1), hQ0);
            const QVector3D U5 = pushedMidpoint(R0, S2, quadNormal(R0, S2, R1, T2), hQ0);
            const QVector3D U7 = pushedMidpoint(S2, B, quadNormal(S2, B, T2, D), hQ0);

            const QVector3D row[kSubRows] = {A, U1, S1, U3, R0, U5, S2, U7, B};
            for (int k = 0; k < kSubRows; ++k)
                grid[k][r][j] = row[k];
        }

        // The lower trailing-edge point closes the cell without bulge, as
        // the oversize vanishes there.
        const int te = kAirfoilPoints - 1;
        const QVector3D& B = ribB[te];
        const QVector3D A = mirror ? SymNullCell(B) : ribA[te];
        for (int k = 0; k < kSubRows; ++k)
            grid[k][r][te] = blend(A, B, k * 0.125);
    }
}

double Theory_RelativeExtension(int j, const ParaStruct* d)
{
    if (!d)
        return 0.0;
    double W = 0.0, E = 0.0;
    for (int r = std::max(d->firstRib, 0); r < std::min(d->lastRib, kRibSlots - 1); ++r) {
        const double w = f_Wide(d, r, j);
        const double k = Theory_Kapica(d, r, j);
        const double m = std::pow(0.25 * w * w + k * k, 0.5);
        W += w;
        E += (8 * m - w) / 2.95;
    }
    // No cells, no extension.
    return W > 0 ? 100 * (E - W) / W : 0.0;
}

namespace {

double inflatedLength(const ParaStruct* d, int r, int j)
{
    double L = 0.0;
    for (int k = 0; k + 1 < kSubRows; ++k)
        L += Dist3(d->inflatedGrid[k][r][j], d->inflatedGrid[k + 1][r][j]);
    return L;
}

} // namespace

double RelativeExtension(int j, const ParaStruct* d)
{
    if (!d || j < 0 || j >= kAirfoilPoints)
        return 0.0;
    double L = 0.0, S = 0.0;
    for (int r = std::max(d->firstRib, 0); r < std::min(d->lastRib, kRibSlots - 1); ++r) {
        L += inflatedLength(d, r, j);
        S += Dist3(d->inflatedGrid[0][r][j], d->inflatedGrid[8][r][j]);
    }
    return S > 0 ? std::fabs(L - S) / S * 100 : 0.0;
}

double Max_Relative_Extension(const ParaStruct* d)
{
    // Cell 1 must be a cell of this wing.
    if (!d || d->lastRib < 2)
        return 0.0;
    int best = 0;
    double longest = 0.0;
    for (int j = 0; j < kAirfoilPoints; ++j) {
        const double L = inflatedLength(d, 1, j);
        if (L > longest) {
            longest = L;
            best = j;
        }
    }
    return RelativeExtension(best, d);
}
