// The 3-D wing: rib curves, oversize tables, the flat and inflated cell
// grids and the relative cloth extension.

#include "core/canopy.h"
#include "core/cellgrid.h"
#include "tests/core/designfixture.h"
#include "core/geomconst.h"
#include "core/skintension.h"

#include <QTest>
#include <QObject>
#include <QPolygonF>
#include <QString>
#include <QVector3D>

#include <cmath>
#include <limits>

namespace {

bool finite(const QVector3D& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z());
}

double maxDiff(const QVector3D& a, const QVector3D& b)
{
    return std::max({std::fabs(a.x() - b.x()), std::fabs(a.y() - b.y()), std::fabs(a.z() - b.z())});
}

// The wing with the same symmetric airfoil on every rib.
std::unique_ptr<ParaStruct> symmetricWing(int cells)
{
    auto d = fixture::makeWing(cells, false);
    for (QPolygonF& f : d->designAirfoils)
        f = fixture::standardAirfoil(0.12, 0.0);
    Refresh_Calculations(d.get());
    Refresh_Calculations(d.get());
    return d;
}

} // namespace

class TestCanopy : public QObject
{
    Q_OBJECT

private slots:
    // Even cells, no twist, no tilt: rib 0 is its airfoil times the chord,
    // standing in the plane y = 0 with the upper side toward smaller z.
    void ribZeroIsAirfoilTimesChord()
    {
        auto d = symmetricWing(34);
        QCOMPARE(d->firstRib, 0);
        const QPolygonF& foil = d->ribAirfoils[0];
        const double c = d->chord[0];
        QVERIFY(c > 100);
        double worst = 0;
        for (int j = 0; j < kAirfoilPoints; ++j) {
            const QVector3D expected(float(c * foil[j].x()), 0.0f, float(-c * foil[j].y()));
            worst = std::max(worst, maxDiff(d->ribCurves3D[0][j], expected));
        }
        QVERIFY2(worst < 1e-3, qPrintable(QString::number(worst)));
        QCOMPARE(d->dxfScale, d->span / 1000.0 * 500.0);
    }

    // Twist turns a rib about the profile alignment point: the nose stays
    // for 0, the trailing edge for 100.
    void twistKeepsAlignmentPointFixed_data()
    {
        QTest::addColumn<double>("alignment");
        QTest::addColumn<int>("fixedPoint");
        QTest::addColumn<int>("movedPoint");
        QTest::newRow("leading edge") << 0.0 << 500 << 0;
        QTest::newRow("trailing edge") << 100.0 << 0 << 500;
    }
    void twistKeepsAlignmentPointFixed()
    {
        QFETCH(double, alignment);
        QFETCH(int, fixedPoint);
        QFETCH(int, movedPoint);
        auto d = fixture::makeWing(34);
        d->profileAlignment = alignment;
        d->maxTwistAngle = 0;
        Create_Space_Canopy(d.get());
        const int rib = d->lastRib - 1;
        QVERIFY(d->ribAngle[rib] > 0.5);
        const QVector3D fixedBefore = d->ribCurves3D[rib][fixedPoint];
        const QVector3D movedBefore = d->ribCurves3D[rib][movedPoint];
        d->maxTwistAngle = 8;
        Create_Space_Canopy(d.get());
        QVERIFY(maxDiff(d->ribCurves3D[rib][fixedPoint], fixedBefore) < 1e-3);
        QVERIFY(maxDiff(d->ribCurves3D[rib][movedPoint], movedBefore) > 1.0);
        // Rib 0 stands at angle 0: practically untwisted.
        QVERIFY(std::fabs(Wing_Attack(8, 0)) < 1e-9);
        QVERIFY(std::fabs(Wing_Attack(8, wl::HalfPi) + 8 * wl::Degree) < 1e-9);
    }

    // A slanted rib leans its height direction by the slash (half of it on
    // the first rib of an odd count, none on rib 0) and keeps its height
    // along the base-line normal.
    void slashLeansRibPlane_data()
    {
        QTest::addColumn<int>("rib");
        QTest::addColumn<double>("lean");   // share of the slash
        QTest::newRow("rib 0") << 0 << 0.0;
        QTest::newRow("first rib") << 1 << 0.5;
        QTest::newRow("inner rib") << 5 << 1.0;
    }
    void slashLeansRibPlane()
    {
        QFETCH(int, rib);
        QFETCH(double, lean);
        auto d = fixture::makeWing(35);
        QCOMPARE(d->firstRib, 1);
        const double angle = 0.4, slash = -0.2, Y = 100;
        const double theta = wl::Pi - angle;
        const QVector3D base = SpacePnt3(d.get(), rib, 1.0, slash, theta, 0, 0);
        const QVector3D p = SpacePnt3(d.get(), rib, 1.0, slash, theta, 0, Y);
        const double dy = p.y() - base.y(), dz = p.z() - base.z();
        // The normal of the base line at a rib of this angle.
        const double ny = std::sin(angle), nz = -std::cos(angle);
        QVERIFY(std::fabs(dy * ny + dz * nz - Y) < 1e-3);
        const double leaned = std::atan2(dy * nz - dz * ny, dy * ny + dz * nz);
        QVERIFY2(std::fabs(leaned + lean * slash) < 1e-5, qPrintable(QString::number(leaned)));
    }

    // Odd count: rib 1 is built with angle 0, rib 0 with its own angle.
    void oddCountCentreCell()
    {
        auto d = fixture::makeWing(35);
        const QPolygonF& foil = d->ribAirfoils[1];
        const double c = d->chord[1];
        const float y1 = d->ribCurves3D[1][500].y();
        // Rib 1 upright: every point of it has the nose's y.
        for (int j : {0, 250, 750})
            QVERIFY(std::fabs(d->ribCurves3D[1][j].y() - y1) < 1e-3);
        QVERIFY(std::fabs(d->ribCurves3D[1][250].z() - d->ribCurves3D[1][500].z()
                          + c * (foil[250].y() - foil[500].y()))
                < 1e-3);
        // The centre cell runs from the mirror of rib 1 to rib 1.
        for (int j : {0, 400, 999}) {
            QCOMPARE(d->flatGrid[0][0][j], SymNullCell(d->ribCurves3D[1][j]));
            QCOMPARE(d->flatGrid[8][0][j], d->ribCurves3D[1][j]);
            QCOMPARE(d->inflatedGrid[0][0][j], SymNullCell(d->ribCurves3D[1][j]));
        }
    }

    // The tip row of the pattern oversize is 0, the cloth oversize repeats
    // the last cell there; there is no oversize from the nose to row O2.
    void oversizeTables()
    {
        auto d = fixture::makeWing(34);
        const int last = d->lastRib;
        const double seam = d->ToScreen(0.001 * d->seamAllowance[0]);
        double top = 0;
        for (int j = 0; j < kAirfoilPoints; ++j) {
            QCOMPARE(d->patternOversize[last][j], 0.0);
            QCOMPARE(d->clothHalfOversize[last][j], d->clothHalfOversize[last - 1][j]);
            for (int r = 0; r < last; ++r) {
                QCOMPARE(d->patternOversize[r][j], seam + d->clothHalfOversize[r][j]);
                QVERIFY(d->clothHalfOversize[r][j] >= 0);
                top = std::max(top, d->clothHalfOversize[r][j]);
            }
        }
        QVERIFY(top > 0.5);
        for (int r = 0; r < last; ++r) {
            for (int j = d->noseIndex[r]; j <= d->lineIndex[1][r]; ++j)
                QCOMPARE(d->clothHalfOversize[r][j], 0.0);
            QVERIFY(d->clothHalfOversize[r][0] < 0.02 * top);
            QVERIFY(d->clothHalfOversize[r][999] < 0.02 * top);
        }
    }

    // The oversize tables belong to the shape of the same run: a record
    // just read (reduction factors not computed yet) gets full tables from
    // its first recompute.
    void oversizeUsesThisRunsReduction()
    {
        auto d = fixture::makeWing(34);
        std::fill(std::begin(d->billowReduction), std::end(d->billowReduction), 0.0);
        std::fill(&d->clothHalfOversize[0][0], &d->clothHalfOversize[0][0] + kRibSlots * kAirfoilPoints, 0.0);
        Create_Space_Canopy(d.get());
        const int last = d->lastRib;
        QCOMPARE(d->billowReduction[last], 0.0);
        QCOMPARE(d->billowReduction[last - 1], 0.25 * d->billowReduction[0]);
        double top = 0;
        for (int r = 0; r < last; ++r) {
            QVERIFY(d->billowReduction[r] > 0);
            for (int j = 0; j < kAirfoilPoints; j += 7) {
                QCOMPARE(d->clothHalfOversize[r][j], f_skin_norma_tension(d.get(), r, j));
                top = std::max(top, d->clothHalfOversize[r][j]);
            }
        }
        QVERIFY(top > 0.5);
    }

    // Zone borders from a record never edited in the billow editor (the
    // record's defaults reach far beyond the airfoil) are held to the
    // editor's limits.
    void skinZonesHeldToMarkerLimits()
    {
        auto d = fixture::makeWing(34);
        const int defaults[6] = {1, 101, 401, 901, 1601, 2501};
        std::copy(std::begin(defaults), std::end(defaults), d->skinControlIndex);
        auto limited = std::make_unique<ParaStruct>(*d);
        const int top = d->topIndex[1], nose = d->noseIndex[1], bottom = d->bottomIndex[1];
        int* k = limited->skinControlIndex;
        k[1] = std::clamp(k[1], top + 3, nose - 3);
        k[2] = std::clamp(k[2], d->lineIndex[1][1] + 3, bottom - 3);
        k[4] = std::clamp(k[4], 3, top - 3);
        k[5] = std::clamp(k[5], bottom + 3, 997);
        QCOMPARE(k[4], top - 3);
        QCOMPARE(k[5], 997);
        Create_Space_Canopy(d.get());
        Create_Space_Canopy(limited.get());
        for (int r = 0; r < d->lastRib; ++r)
            for (int j = 0; j < kAirfoilPoints; ++j)
                QCOMPARE(d->clothHalfOversize[r][j], limited->clothHalfOversize[r][j]);
    }

    // Reductions beyond 100 % (possible in a file) give no negative
    // oversize and no NaN in the inflated grid.
    void excessiveReductionStaysFinite()
    {
        auto d = fixture::makeWing(34);
        d->billowReductionUp = 150;
        d->billowReductionDown = 300;
        Refresh_Calculations(d.get());
        for (int r = 0; r < d->lastRib; ++r)
            for (int j = 0; j < kAirfoilPoints; ++j) {
                QVERIFY(d->clothHalfOversize[r][j] >= 0);
                for (int k = 0; k < kLineRows; ++k)
                    QVERIFY(finite(d->inflatedGrid[k][r][j]));
            }
        QVERIFY(std::isfinite(f_kapica(-2, 1)));
    }

    // Every point of the inflated grid is written, the lower trailing
    // edge included: it closes the cell without bulge.
    void inflatedTrailingEdgeWritten()
    {
        for (int cells : {34, 35}) {
            auto d = fixture::makeWing(cells);
            const float nan = std::numeric_limits<float>::quiet_NaN();
            for (int k = 0; k < kLineRows; ++k)
                for (int r = 0; r < d->lastRib; ++r)
                    d->inflatedGrid[k][r][999] = QVector3D(nan, nan, nan);
            Space_Canopy_Inflated(d.get());
            for (int k = 0; k < kLineRows; ++k)
                for (int r = 0; r < d->lastRib; ++r)
                    QCOMPARE(d->inflatedGrid[k][r][999], d->flatGrid[k][r][999]);
            QVERIFY(std::isfinite(RelativeExtension(999, d.get())));
        }
    }

    // No oversize: outside the mirrored centre cell the inflated grid is
    // the flat grid. The grid bulges by the cloth half-oversize the canopy
    // step derived.
    void zeroOversizeGivesFlatGrid()
    {
        for (int cells : {34, 35}) {
            auto d = fixture::makeWing(cells);
            auto& cloth = d->clothHalfOversize.values();
            std::fill(&cloth[0][0], &cloth[0][0] + kRibSlots * kAirfoilPoints, 0.0);
            Space_Canopy_Inflated(d.get());
            double worst = 0;
            for (int r = d->firstRib; r < d->lastRib; ++r)
                for (int k = 0; k < kLineRows; ++k)
                    for (int j = 0; j < kAirfoilPoints; ++j)
                        worst = std::max(worst, maxDiff(d->inflatedGrid[k][r][j], d->flatGrid[k][r][j])
                                                    / std::max(1.0f, d->flatGrid[k][r][j].length() / 1000));
            // 1e-4 plan units, or a float's last bit on points far out.
            QVERIFY2(worst < 1.3e-4, qPrintable(QString::number(worst)));
        }
    }

    // A front mini-rib fades the middle bulge toward the nose.
    void frontZoneFadesBulge()
    {
        auto d = fixture::makeWing(34);
        const int r = 3, nose = d->noseIndex[r], j = nose - 20;
        QVERIFY(d->clothHalfOversize[r][j] > 0);
        const QVector3D mid = d->inflatedGrid[4][r][j];
        const QVector3D plain = (d->ribCurves3D[r][j] + d->ribCurves3D[r + 1][j]) * 0.5f;
        d->frontRibEnabled[r] = true;
        d->minirib.frontRibStart = 10;   // 50 points before the nose
        d->minirib.frontRibEnd = 10;
        Space_Canopy_Inflated(d.get());
        const double f = f_frontfac(d.get(), r, nose - 50, nose + 50, j);
        QVERIFY(std::fabs(f - std::pow(20.0 / 50.0, 3)) < 1e-12);
        const QVector3D faded = d->inflatedGrid[4][r][j];
        QVERIFY(std::fabs((faded - plain).length() - f * (mid - plain).length()) < 1e-3);
        QVERIFY(maxDiff(d->inflatedGrid[4][r][nose], plain) < 1e-3 || d->clothHalfOversize[r][nose] == 0);
    }

    void fadeFactors()
    {
        auto w = fixture::makeWing(34, false);
        ParaStruct* d = w.get();
        d->noseIndex[2] = 500;
        QCOMPARE(f_frontfac(d, 2, 450, 550, 500), 0.0);
        QCOMPARE(f_frontfac(d, 2, 450, 550, 450), 1.0);
        QCOMPARE(f_frontfac(d, 2, 450, 550, 550), 1.0);
        QCOMPARE(f_frontfac(d, 2, 450, 550, 525), 0.125);
        QCOMPARE(f_rearfac(100, 900, 50), 0.5);
        QCOMPARE(f_rearfac(100, 900, 950), 0.5);
        QCOMPARE(f_rearfac(100, 900, 500), 1.0);
        QVERIFY(f_rearrib_on(100, 900, 0) && f_rearrib_on(100, 900, 1000) && !f_rearrib_on(100, 900, 101));
    }

    // Without cells there is no extension (not a NaN) and nothing to build.
    void noCells()
    {
        auto d = fixture::makeWing(34);
        d->firstRib = d->lastRib;
        QCOMPARE(Theory_RelativeExtension(300, d.get()), 0.0);
        QCOMPARE(RelativeExtension(300, d.get()), 0.0);
        d->lastRib = 0;
        d->firstRib = 0;
        Create_Space_Canopy(d.get());
        Space_Canopy_Flat(d.get());
        Space_Canopy_Inflated(d.get());
        QCOMPARE(Max_Relative_Extension(d.get()), 0.0);
        auto empty = std::make_unique<ParaStruct>();
        empty->span = 8;
        Create_Space_Canopy(empty.get());
        QCOMPARE(empty->dxfScale, 4.0);   // half the span in metres
    }

    // A recompute of a computed wing changes nothing.
    void recomputeIsIdempotent()
    {
        auto d = fixture::makeWing(35);
        Refresh_Calculations(d.get());   // with the line indexes the fixture set last
        auto again = std::make_unique<ParaStruct>(*d);
        Refresh_Calculations(again.get());
        for (int r = 0; r <= d->lastRib; ++r) {
            QVERIFY(std::equal(d->ribCurves3D[r], d->ribCurves3D[r] + kAirfoilPoints, again->ribCurves3D[r]));
            QVERIFY(std::equal(d->patternOversize[r], d->patternOversize[r] + kAirfoilPoints,
                               again->patternOversize[r]));
        }
        for (int k = 0; k < kLineRows; ++k)
            for (int r = 0; r < d->lastRib; ++r)
                QVERIFY(std::equal(d->inflatedGrid[k][r], d->inflatedGrid[k][r] + kAirfoilPoints,
                                   again->inflatedGrid[k][r]));
    }
};

QTEST_APPLESS_MAIN(TestCanopy)
#include "tst_canopy.moc"
