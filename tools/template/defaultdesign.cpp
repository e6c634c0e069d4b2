#include "tools/template/defaultdesign.h"

#include "core/calcul3d.h"
#include "shell/model/installhooks.h"
#include "core/designedit.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "core/billowarc.h"
#include "airfoils/foilunfold.h"
#include "geom/designcurves.h"
#include "graphics/pattspline.h"
#include "lines/linetree.h"
#include "lines/loading.h"
#include "geom/ribunfold.h"
#include "patterns/straps.h"
#include "structure/crossports.h"
#include "structure/diagonals.h"
#include "structure/holefun.h"
#include "structure/reinforcecurves.h"

#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The last rib of the narrowest wing that gets the band of design lines.
constexpr int kBandLastRib = 6;

// Share of even spacing in the airfoil point distribution.
constexpr double kEvenSpacing = 0.08;

// Line rows "O1", "O2", "A" .. "G": percent of the chord from the nose.
constexpr double kRowPercent[kLineRows] = {2, 9, 13, 33, 55, 75, 85, 92, 97};

struct FoilSpec {
    const char* name;
    double thickness;
    double camber;
    double camberPos;
};

// Root to tip: thinner and a little less cambered toward the tip.
constexpr FoilSpec kFoils[4] = {
    {"gen-root-17", 0.17, 0.025, 0.35},
    {"gen-mid-16", 0.16, 0.024, 0.35},
    {"gen-out-15", 0.15, 0.022, 0.35},
    {"gen-tip-14", 0.14, 0.020, 0.35},
};

double halfThickness(double x, double t)
{
    // Closed trailing edge: the last coefficient makes it 0 at x = 1.
    return 5 * t * (0.2969 * std::sqrt(x) - 0.1260 * x - 0.3516 * x * x + 0.2843 * x * x * x - 0.1036 * x * x * x * x);
}

double meanLine(double x, double m, double p)
{
    if (m <= 0 || p <= 0 || p >= 1)
        return 0.0;
    if (x < p)
        return m / (p * p) * (2 * p * x - x * x);
    return m / ((1 - p) * (1 - p)) * (1 - 2 * p + 2 * p * x - x * x);
}

void setPlanform(ParaStruct* d)
{
    // Plan units, y toward the trailing edge: leading edge P0..P3, trailing
    // edge P4..P7, half span from x = 60 to 1060.5.
    const QPointF P[8] = {{60, 260}, {560, 260}, {900, 285}, {1060.5, 445},
                          {60, 700}, {560, 700}, {900, 690}, {1060.5, 585}};
    d->SaveCanopyPos(P);
    // Base line: flat over the middle, curving down to the tips; its arc is
    // a little longer than the half span.
    const QPointF F[4] = {{0, 100}, {390, 100}, {700, 245}, {815, 585}};
    d->SetFNodePos(F);
}

void setGeneralData(ParaStruct* d)
{
    d->version = QStringLiteral("7.0.0.0");
    d->projectName = QStringLiteral("template");
    d->span = 11.6;
    d->hangHeight = 6.8;
    d->carabinerDistance = 0.45;
    d->legaX = 0.8;
    d->profileAlignment = 25.0;
    d->maxTwistAngle = 3.0;
    d->ribTilt = 0.0;
    for (double& s : d->ribShift)
        s = 0.0;
    const double seams[4] = {10, 20, 20, 10};
    std::copy(std::begin(seams), std::end(seams), d->seamAllowance);
    d->controlPointDiameter = 3.0;
    d->edgeTipFactor = 0.7;

    // Pilot and flight.
    d->totalWeight = 95.0;
    d->towForce = 0.0;
    d->pilotArea = 0.5;
    d->pilotCd = 0.5;
    d->ropesCd = 1.0;
    d->oswaldFactor = 0.9;
    d->pilotShiftPercent = 25.0;
    d->ropesMomentFactor = 0.0;
    d->holeEdgeFactor = 1.5;
    d->smoothModel = true;
    d->chordStationCount = 0;

    // Billow compensation, reduced toward both trailing edges.
    d->billowReductionUp = 20.0;
    d->billowReductionDown = 20.0;
    d->billowLineOffset = 0.0;
    d->billowLineOnTop = false;

    // Four line groups sharing the load; the lines themselves follow once
    // the wing is built.
    d->lineGroupCount = 4;
    const double shares[4] = {0.5, 0.3, 0.1, 0.1};
    std::copy(std::begin(shares), std::end(shares), d->lineGroupShares);
    for (int r = 0; r < kLineRows; ++r) {
        d->rowPercent[r] = kRowPercent[r];
        d->wingFlexPercent[r] = 0.0;
    }
}

void setAirfoils(ParaStruct* d)
{
    for (int k = 0; k < 4; ++k) {
        const FoilSpec& f = kFoils[k];
        d->designAirfoils[k] = Default_Design_Airfoil(f.thickness, f.camber, f.camberPos);
        d->designAirfoilNames[k] = QString::fromLatin1(f.name);
        d->positionAirfoilIndex[k] = k;
    }
}

// Editor-side data that follows from the recomputed rib airfoils: the row
// markers on rib 0's lower side, the billow-compensation markers on rib 1.
void setMarkers(ParaStruct* d)
{
    QPolygonF rib0 = d->ribAirfoils[0];
    for (int r = 0; r < kLineRows; ++r) {
        int index = -1;
        const QPointF at(40 + 5.6 * d->rowPercent[r], 0);
        d->rowMarkers[r] = d->NearPoint(at, 'D', rib0, &index);
        d->rowCentreIndex[r] = index;
    }

    const int top = d->topIndex[1];
    const int nose = d->noseIndex[1];
    const int bottom = d->bottomIndex[1];
    const int o2 = d->lineIndex[1][1];
    int* k = d->skinControlIndex;
    k[0] = 1;
    k[1] = top + (nose - top) / 10;     // falls to the nose from just behind the top
    k[2] = (o2 + 3 + bottom - 3) / 2;   // full value on the lower side from here
    k[3] = nose - (nose - top) / 4;     // nose billow line, close to the nose
    k[4] = top / 2;                     // upper side toward the trailing edge
    k[5] = (bottom + 999) / 2;          // lower side toward the trailing edge
    d->billowLineIndex = k[3];

    const QList<Par12>& pairs = d->foilPairs[1];
    const int f = d->lineIndex[7][1];
    if (f >= 0 && f < pairs.size())
        d->upControlIndex[7] = pairs.at(f).up;
}

// Chord positions of the airfoil points: the cosine rule blended with a
// share of even spacing. An airfoil imported from a coordinate file and
// resampled to 1000 points has its nose points a few hundredths of a percent
// of the chord apart; the pure cosine rule would crowd them more than ten
// times closer, and the billow editor's inflated nose would fold over between
// them.
double spacing(double cosine, double even)
{
    return (1 - kEvenSpacing) * cosine + kEvenSpacing * even;
}

// Whether the suspension is rigged to rib r: every second rib from rib 1
// out, the centre rib (rib 0) left free, and the tip rib, which takes the
// stabilo line. A wing with a centre cell has its rib 1 loaded on either
// side of it.
bool rigged(const ParaStruct* d, int r)
{
    return r >= 1 && r <= d->lastRib && (r % 2 == 1 || r == d->lastRib);
}

// Internal structure, laid out through the structure code on the recomputed
// ribs: the ribs the lines are rigged to are loaded, the others
// intermediate; a V of diagonal ribs runs from the bottom of each loaded rib
// up to its two neighbours (table D1 outward, table D2 inward, so that the
// centre rib takes the tops of the inner arms from both sides), with the
// default cross-port model in every tab; the rib groups get cross-ports
// between the line rows, the mini-rib groups in every band.
void setStructure(ParaStruct* d)
{
    const int first = d->firstRib;
    const int last = d->lastRib;
    for (int r = 0; r < kStructSlots; ++r) {
        DiagonalRow& d1 = d->diagTableD1[r];
        DiagonalRow& d2 = d->diagTableD2[r];
        d1 = d2 = DiagonalRow{};
        d1.rib = d2.rib = r <= last ? r : -1;
        const bool loaded = rigged(d, r);
        const bool inWing = r >= first && r <= last;
        d1.ribType = loaded ? 0 : 1;
        d1.heightPercent = d2.heightPercent = loaded ? 0 : 100;
        d1.connectNext = inWing && loaded;
        d2.connectNext = inWing && !loaded;
    }
    d->diagBottomWidth = 12.0;
    d->diagMask1 = first;
    d->diagMask2 = 2;

    // Tab tops on the upper surface above the rows A .. D of rib 1, 15
    // points to either side; the plane view's lower shapes 10 points to
    // either side of the rows.
    QPolygonF* rib1 = &d->ribAirfoils[1];
    const int nose = d->noseIndex[1];
    for (int b = 0; b < 4; ++b) {
        const int row = d->rowCentreIndex[b + 2];
        const int up = get_UPindex(rib1, nose, row);
        d->diagRowIndexA[2 * b] = std::clamp(up + 15, 10, nose - 10);
        d->diagRowIndexA[2 * b + 1] = std::clamp(up - 15, 10, nose - 10);
        d->diagRowIndexB[2 * b] = std::clamp(row - 10, nose + 10, 990);
        d->diagRowIndexB[2 * b + 1] = std::clamp(row + 10, nose + 10, 990);
    }
    init_Diag_StartIndex(d);
    Set_DW_Bottom_Shift(d);

    // The cross-port model's default shape: a trapeze 921.6 x 691.2 with one
    // rounded triangular hole, web 40 mm; the tab of line row D included.
    constexpr double W = 921.6, H = 691.2;
    const QPointF model[12] = {{2 * W / 5, H},      {3 * W / 5, H},      {4 * W / 5, H / 20},
                               {3 * W / 5, H / 20}, {2 * W / 5, H / 20}, {W / 5, H / 20},
                               {2 * W / 5, 253.44}, {3 * W / 5, 253.44}, {2 * W / 5, H},
                               {3 * W / 5, H},      {0.9 * W, H / 20},   {0.1 * W, H / 20}};
    std::copy(std::begin(model), std::end(model), d->diagModelPoints);
    d->diagModelFlags[0] = true;
    d->diagModelFlags[1] = true;
    Triang& t = d->diagModelTriangle;
    t.corner[0] = model[2];
    t.corner[1] = model[5];
    t.corner[2] = QPointF(460.8, 362.88);
    t.holeCount = 1;
    t.offsetMm = 40;
    t.cornerCount = 2;
    setup_model_cross_port(d);

    // Cross-ports, built on the rib the manager works on.
    d->crossPortHoles = 1;
    d->crossPortOffset = 10;
    d->crossPortCorner = 2.0;
    const QPolygonF foil = init_Work_Airfoil(d->ribAirfoils[first], 1024);
    HoleLayout layout = Hole_Layout_Of(*d);
    Set_Triang_Index_Values(*d, first, &layout);
    Set_Trap_Index_Values23(*d, foil, &layout);
    for (int g = 0; g < 2; ++g)
        Reset_baseTri_Array(*d, foil, g, true, &layout);
    for (int g = 2; g < 4; ++g)
        Reset_baseTrap_Array(*d, foil, g, true, &layout);
    Keep_Hole_Layout(d, layout);
    for (int g = 0; g < 2; ++g) {
        // None in the nose triangle, where the air comes in, and none in the
        // thin rear triangles of the loaded ribs.
        Triang* tri = d->crossPorts[g].triangles;
        tri[0].holeCount = 0;
        if (g == 0)
            tri[9].holeCount = tri[10].holeCount = 0;
    }
    for (int g = 2; g < 4; ++g) {
        for (int k = 0; k < 8; ++k)
            d->crossPorts[g].traps[k].holeCount = 0;
    }
}

// The nose reinforcements, measured on rib 1 as their editor shows them: a
// mylar from about 10 % of the chord on the upper side (100 points before
// the nose) round the nose to the upper lip of the air inlet (row O1), an
// upper rod from a little further back (120 points, about 14 %) to the same
// lip, a lower rod from the lower lip (row O2) to just behind row A. The
// inner points lie as the editor's reset puts them, evenly on the chord
// between the ends.
void setReinforcements(ParaStruct* d)
{
    const int nose = d->noseIndex[1];
    const int o1 = d->lineIndex[0][1];
    const int o2 = d->lineIndex[1][1];
    const int a = d->lineIndex[2][1];
    MiniribData& m = d->minirib;
    m.mylarStart = 30;                          // 100 points before the nose
    m.mylarEnd = (o1 - nose) * 300 / 1000;      // the slider's steps of 10/3 points
    for (int k = 0; k < 5; ++k) {
        m.mylarSplineA[k] = 0.15 * (k + 1);
        m.mylarSplineB[k] = 1.0;
    }
    d->rod1.index[0] = 120;
    d->rod1.index[1] = o1 - nose;
    const int centre = Lower_Rod_Centre(d);
    d->rod2.index[0] = centre - o2;
    d->rod2.index[1] = a - centre + 15;
    for (int k = 0; k < 4; ++k) {
        Set_Rod_Shape_Pair(&d->rod1, k, QPointF(0.15 * (k + 1), 1.0));
        Set_Rod_Shape_Pair(&d->rod2, k, QPointF(0.15 * (k + 1), 1.0));
    }
}

// Mini-ribs halfway between the ribs: front ones over the nose from 100
// points before it to the lower lip of the air inlet, rear ones from the
// trailing edge forward over 30 % of the points to the nose (about the last
// quarter of the chord) with the editor's default cavity. Every cell the
// mini-rib sheets build gets them: the front sheet builds cells 1 to the tip
// cell, the rear sheet stops one cell short of the tip.
void setMiniribs(ParaStruct* d)
{
    MiniribData& m = d->minirib;
    m.frontRibStart = 20;
    m.frontRibEnd = (d->lineIndex[1][1] - d->noseIndex[1]) / 5;
    m.rearRibPosition = 30.0;
    m.rearRibCavity = 0.3;
    for (int c = 0; c < kStructSlots; ++c) {
        d->frontRibEnabled[c] = c >= 1 && c <= d->lastRib - 1;
        d->rearRibEnabled[c] = c >= 1 && c <= d->lastRib - 2;
    }
}

// Load tapes across every cell along the four line rows: A 30 mm and B
// 40 mm at the centre, narrowing with the chord; C 40 mm and D 30 mm, the
// same on every rib. Row A is the row the straps manager opens on, with its
// box at 30 mm and "proportional" before the user picks a row: so it shows
// row A as stored from the start. Rows without lines (E .. G) keep the
// smallest width the manager offers, so that every stored width is one it
// shows as it is.
void setStraps(ParaStruct* d)
{
    const int widths[kLineRows] = {30, 40, 40, 30, 30, 30, 30, 30, 30};   // rows A .. G, spare
    std::copy(std::begin(widths), std::end(widths), d->strapWidth);
    for (int row = 0; row < kLineRows; ++row) {
        const bool tape = row >= 2 && row <= 5;
        d->strapFixed[row] = row == 4 || row == 5;
        for (int rib = 0; rib < kRibSlots; ++rib)
            d->lineStrips[row][rib] = tape && rib < d->lastRib;
    }
}

// Where airfoil point i of rib k lies in the design plane of the top side.
// Short of the first rib (the symmetry plane of a wing with a centre cell)
// the surface is that of the first rib.
QPointF topDesignPoint(const ParaStruct* d, int k, int i)
{
    const int m = std::max(k, d->firstRib);
    return QPointF(d->ribSpanPos[k], d->trailingEdgeX[m] - d->airfoilArcLen[i][m]);
}

// A design line of the top side through the given points, each an airfoil
// point index at a fraction of the half span (rib 0 .. the tip rib),
// placed on the nearest rib; a point on the same rib as the one before it
// is left out. Its curve is computed as the design-line editor leaves it.
Spline topDesignLine(const ParaStruct* d, std::initializer_list<std::pair<double, int>> at)
{
    Spline s;
    s.degree = 3;
    s.order = 4;
    s.side = 0;
    int previous = -1;
    for (const auto& [fraction, index] : at) {
        const int rib = std::clamp(int(std::lround(fraction * d->lastRib)), 0, d->lastRib);
        if (rib == previous)
            continue;
        previous = rib;
        s.points[s.pointCount++] = topDesignPoint(d, rib, index);
    }
    Calculate_Spline_Poly(d, &s);
    return s;
}

} // namespace

QList<Spline> Default_Design_Lines(const ParaStruct& design)
{
    // A band across the whole upper surface from 26 % to 65 % of the chord,
    // both edges bowing a little forward over the middle of the half wing,
    // and an accent behind it rising from the trailing edge towards the tip.
    // A wing of fewer than 12 cells has too few for a band: it gets none.
    const ParaStruct* d = &design;
    if (d->lastRib < kBandLastRib)
        return {};
    return {topDesignLine(d, {{0.0, 340}, {1 / 3.0, 350}, {2 / 3.0, 340}, {1.0, 320}}),
            topDesignLine(d, {{0.0, 210}, {1 / 3.0, 220}, {2 / 3.0, 215}, {1.0, 200}}),
            topDesignLine(d, {{0.4, 120}, {0.65, 145}, {0.88, 165}})};
}

namespace {

// What is wrong with the internal structure: the diagonal tables must give
// one diagonal per V arm with both flat edges, each from the bottom of a
// loaded rib to the top of an intermediate one, and as many as the rule of
// the tables allows (none reaching the last two ribs).
void checkStructure(const ParaStruct& design, QStringList* problems)
{
    auto d = std::make_unique<ParaStruct>(design);
    Generate_All_Diagonals(d.get());
    // Every row from the first rib starts one arm, up to the last row whose
    // partner lies short of the last two ribs.
    const int arms = std::max(0, d->lastRib - 2 - d->firstRib);
    if (d->diagonals.size() != arms)
        problems->append(
            QStringLiteral("%1 diagonal ribs where the V arms make %2").arg(d->diagonals.size()).arg(arms));
    for (const DiagonalData& diag : d->diagonals) {
        if (diag.flatEdgeA.size() < 100 || diag.flatEdgeA.size() != diag.flatEdgeB.size())
            problems->append(QStringLiteral("diagonal from rib %1 has no flat edges").arg(diag.first.rib));
        const DiagonalEnd& bottom = diag.first.heightPercent == 0 ? diag.first : diag.second;
        const DiagonalEnd& top = diag.first.heightPercent == 0 ? diag.second : diag.first;
        if (bottom.heightPercent != 0 || top.heightPercent != 100 || !d->isLoadedRib(bottom.rib)
            || d->isLoadedRib(top.rib) || std::abs(bottom.rib - top.rib) != 1)
            problems->append(QStringLiteral("the diagonal between ribs %1 and %2 is not an arm of a V under a "
                                            "loaded rib").arg(diag.first.rib).arg(diag.second.rib));
    }
    if (d->diagModelPolys.isEmpty())
        problems->append(QStringLiteral("the cross-port model has no hole"));
}

// What is wrong with the settings the editors show: every value must lie
// within its control's range as the control shows it, so that opening an
// editor and pressing OK changes nothing. Mini-ribs, straps and design
// lines must be there and make pieces.
void checkEditorValues(const ParaStruct& design, QStringList* problems)
{
    auto fail = [problems](const QString& s) { problems->append(s); };
    auto range = [&fail](const char* what, double v, double lo, double hi) {
        if (!(v >= lo && v <= hi))
            fail(QStringLiteral("%1 %2 outside the editor's %3 .. %4").arg(QLatin1String(what)).arg(v).arg(lo).arg(hi));
    };
    const ParaStruct& d = design;
    const MiniribData& m = d.minirib;
    range("mylar up", m.mylarStart, 0, 90);
    range("mylar down", m.mylarEnd, 0, 70);
    range("front mini-rib up", m.frontRibStart, 1, 75);
    range("front mini-rib down", m.frontRibEnd, 1, 60);
    range("rear mini-rib size", m.rearRibPosition, 1, 50);
    if (m.rearRibPosition != std::trunc(m.rearRibPosition))
        fail(QStringLiteral("the rear mini-rib size is not a whole number"));
    range("rear cavity", m.rearRibCavity, 0, 0.5);
    if (QString::number(m.rearRibCavity, 'f', 2).toDouble() != m.rearRibCavity)
        fail(QStringLiteral("the rear cavity has more than two decimals"));
    for (int k = 0; k < 5; ++k) {
        range("mylar lambda", m.mylarSplineA[k], 0.001, 0.999);
        range("mylar mu", m.mylarSplineB[k], 0.1, 3.0);
    }
    for (const NoseRod* rod : {&d.rod1, &d.rod2}) {
        range("rod extent", rod->index[0], 0, 500);
        range("rod extent", rod->index[1], 0, 500);
        for (int k = 0; k < 4; ++k) {
            range("rod lambda", Rod_Shape_Pair(*rod, k).x(), 0.001, 0.999);
            range("rod mu", Rod_Shape_Pair(*rod, k).y(), 0.1, 3.0);
        }
    }
    for (int row = 2; row < kLineRows; ++row)
        range("strap width", d.strapWidth[row - 2], 30, 900);

    // Every cell marked for a mini-rib gets one, and there are some.
    int front = 0, rear = 0;
    QList<QVector3D> outline;
    for (int c = 0; c < d.lastRib; ++c) {
        if (d.frontRibEnabled[c])
            front += unfold_FrontFoil(d, c, &outline).outline.size() >= 2 ? 1 : 0;
        if (d.rearRibEnabled[c])
            rear += unfold_RearFoil(d, c, &outline).outline.size() >= 2 ? 1 : 0;
    }
    if (front < d.lastRib - 1 || rear < d.lastRib - 2)
        fail(QStringLiteral("front mini-ribs in %1 cells, rear ones in %2").arg(front).arg(rear));
    if (Create_Strap_list(&d).size() < 4 * (d.lastRib - d.firstRib))
        fail(QStringLiteral("straps missing"));

    int top = 0;
    for (const Spline& line : d.designSplines) {
        const QString problem = Spline_Problem(line);
        if (!problem.isEmpty())
            fail(QStringLiteral("a design line: ") + problem);
        top += line.side == 0 ? 1 : 0;
    }
    const int band = d.lastRib >= kBandLastRib ? 2 : 0;
    if (top < band)
        fail(QStringLiteral("%1 design lines on the upper surface where the band makes %2").arg(top).arg(band));
}

bool isFiniteValue(double v)
{
    return std::isfinite(v);
}

bool isFiniteValue(const QVector3D& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z());
}

// The billow-compensation editor's sign that the inflated nose folds over:
// the rib airfoil drawn at the editor's scale for a widget `width` pixels
// wide, inflated 2.5 times, has one of its points N - 5 .. N - 2 not right
// of its nose point N.
bool inflatedNoseFolds(ParaStruct* d, int width)
{
    const QPolygonF& foil = d->ribAirfoils[d->firstRib];
    const int N = d->noseIndex[d->firstRib];
    if (N < 5 || N >= foil.size())
        return true;
    const double S = int(0.8 * 0.95 * width) / (foil.at(0).x() - foil.at(N).x());
    QPolygonF F;
    for (const QPointF& p : foil)
        F << QPointF(p.x() * S, -p.y() * S + 270);
    const QPolygonF D = skint_dinamic(d, 1, 'D', 1.0, F);
    for (int k = N - 5; k <= N - 2; ++k)
        if (!(D.at(k).x() >= D.at(N).x() + 0.0001))
            return true;
    return false;
}

} // namespace

QPolygonF Default_Design_Airfoil(double thickness, double camber, double camberPos)
{
    QPolygonF p;
    p.reserve(kAirfoilPoints);
    // Upper side, trailing edge to nose: points 0 .. 500, cosine spaced.
    for (int i = 0; i <= 500; ++i) {
        const double x = spacing(0.5 * (1 + std::cos(kPi * i / 500)), 1 - i / 500.0);
        p.append(QPointF(x, meanLine(x, camber, camberPos) + halfThickness(x, thickness)));
    }
    // Lower side, nose to trailing edge: points 501 .. 999.
    for (int j = 1; j <= 499; ++j) {
        const double x = spacing(0.5 * (1 - std::cos(kPi * j / 499)), j / 499.0);
        p.append(QPointF(x, meanLine(x, camber, camberPos) - halfThickness(x, thickness)));
    }
    p[0] = QPointF(1, 0);
    p[500] = QPointF(0, 0);
    p[999] = QPointF(1, 0);
    return p;
}

std::unique_ptr<ParaStruct> Build_Default_Design(int cells)
{
    Install_Recompute_Hooks();
    auto d = std::make_unique<ParaStruct>();
    setGeneralData(d.get());
    setAirfoils(d.get());
    Set_Cell_Count(d.get(), cells);
    d->cellWidthStep = 50;   // cells narrow toward the tip with the chord
    setPlanform(d.get());
    d->brakeCentreRib = d->lastRib / 2;
    d->brakeMiddleRelax = 0.15;
    d->brakeEdgeRelax = 0.05;
    d->Set_VHanging();

    // The first run makes the rib airfoils the outline steps start from; the
    // second places them on the outline. Then the line rows and markers are
    // taken from the rib airfoils, and a last run brings everything derived
    // from them up to date.
    Refresh_Calculations(d.get());
    Refresh_Calculations(d.get());
    d->Reset_Dyn_LineInd();
    Refresh_Calculations(d.get());
    setMarkers(d.get());
    setStructure(d.get());
    setReinforcements(d.get());
    setMiniribs(d.get());
    setStraps(d.get());
    Refresh_Calculations(d.get());
    Build_Default_Lines(d.get());
    d->designSplines = Default_Design_Lines(*d);
    return d;
}

QStringList Check_Default_Design(const ParaStruct& design)
{
    QStringList problems;
    auto fail = [&problems](const QString& s) { problems.append(s); };
    const ParaStruct& d = design;
    const int last = d.lastRib;
    if (last < 1 || last > kMaxLastRib || d.firstRib < 0 || d.firstRib >= last) {
        fail(QStringLiteral("rib bookkeeping: firstRib %1, lastRib %2").arg(d.firstRib).arg(last));
        return problems;
    }

    auto point = [&fail](const QString& what, int v) {
        if (v < 0 || v > 999)
            fail(QStringLiteral("%1 = %2 is not an airfoil point").arg(what).arg(v));
    };
    for (int k = 0; k < 4; ++k) {
        const QPolygonF& f = d.designAirfoils[k];
        if (f.size() != kAirfoilPoints || f[500] != QPointF(0, 0) || d.designAirfoilNames[k].isEmpty())
            fail(QStringLiteral("design airfoil %1 is not a standard airfoil").arg(k));
        if (d.positionAirfoilIndex[k] < 0 || d.positionAirfoilIndex[k] > 3)
            fail(QStringLiteral("airfoil position %1").arg(k));
    }
    for (int r = 0; r <= last; ++r) {
        if (d.ribAirfoils[r].size() != kAirfoilPoints)
            fail(QStringLiteral("rib %1 has no standard airfoil").arg(r));
        point(QStringLiteral("noseIndex[%1]").arg(r), d.noseIndex[r]);
        point(QStringLiteral("topIndex[%1]").arg(r), d.topIndex[r]);
        point(QStringLiteral("bottomIndex[%1]").arg(r), d.bottomIndex[r]);
        point(QStringLiteral("teLineIndex[%1]").arg(r), d.teLineIndex[r]);
        for (int row = 0; row < kLineRows; ++row) {
            const int v = d.lineIndex[row][r];
            if (v <= d.noseIndex[r] || v > 998)
                fail(QStringLiteral("lineIndex[%1][%2] = %3 is not on the lower side").arg(row).arg(r).arg(v));
            if (row > 0 && v <= d.lineIndex[row - 1][r])
                fail(QStringLiteral("line rows %1 and %2 of rib %3 are out of order").arg(row - 1).arg(row).arg(r));
            if (d.dynLineIndex[row][r] != v)
                fail(QStringLiteral("dynLineIndex[%1][%2] differs from lineIndex").arg(row).arg(r));
        }
    }
    for (int row = 0; row < kLineRows; ++row) {
        for (int r = 0; r < kRibSlots; ++r) {
            point(QStringLiteral("lineIndex[%1][%2]").arg(row).arg(r), d.lineIndex[row][r]);
            point(QStringLiteral("dynLineIndex[%1][%2]").arg(row).arg(r), d.dynLineIndex[row][r]);
        }
        point(QStringLiteral("rowCentreIndex[%1]").arg(row), d.rowCentreIndex[row]);
        if (row > 0 && d.rowPercent[row] <= d.rowPercent[row - 1])
            fail(QStringLiteral("rowPercent is not increasing at row %1").arg(row));
    }
    for (int k = 0; k < 8; ++k)
        point(QStringLiteral("upControlIndex[%1]").arg(k), d.upControlIndex[k]);
    for (int k = 0; k < 6; ++k)
        point(QStringLiteral("skinControlIndex[%1]").arg(k), d.skinControlIndex[k]);
    for (int k = 0; k < 2; ++k) {
        point(QStringLiteral("rod1.index[%1]").arg(k), d.rod1.index[k]);
        point(QStringLiteral("rod2.index[%1]").arg(k), d.rod2.index[k]);
    }
    point(QStringLiteral("billowLineIndex"), d.billowLineIndex);

    // The billow editor's marker limits on rib 1.
    const int top = d.topIndex[1], nose = d.noseIndex[1], bottom = d.bottomIndex[1], o2 = d.lineIndex[1][1];
    const int* k = d.skinControlIndex;
    if (k[1] < top + 3 || k[1] > nose - 3 || k[2] < o2 + 3 || k[2] > bottom - 3 || k[3] < top
        || k[3] > nose - 3 || k[4] < 3 || k[4] > top - 3 || k[5] < bottom + 3 || k[5] > 997)
        fail(QStringLiteral("a billow-compensation marker lies outside its limits"));
    if (d.billowReductionUp < 0 || d.billowReductionUp > 99 || d.billowReductionDown < 0
        || d.billowReductionDown > 99)
        fail(QStringLiteral("billow reductions outside 0 .. 99"));

    if (d.transitionRib1 < d.firstRib || d.transitionRib1 > d.transitionRib2 || d.transitionRib2 >= last)
        fail(QStringLiteral("transition ribs %1, %2").arg(d.transitionRib1).arg(d.transitionRib2));
    if (d.brakeCentreRib < 0 || d.brakeCentreRib > last)
        fail(QStringLiteral("brake centre rib %1").arg(d.brakeCentreRib));

    // Numbers everywhere the recompute writes.
    for (int r = 0; r <= last; ++r) {
        const double values[] = {d.ribSpanPos[r], d.cellWidth[r], d.chord[r], d.leadingEdgeX[r],
                                 d.trailingEdgeX[r], d.frontY[r], d.frontZ[r], d.ribAngle[r],
                                 d.billowReduction[r]};
        for (double v : values)
            if (!isFiniteValue(v))
                fail(QStringLiteral("rib %1: outline value not a number").arg(r));
        for (int j = 0; j < kAirfoilPoints; ++j) {
            if (!isFiniteValue(d.ribCurves3D[r][j]) || !isFiniteValue(d.patternOversize[r][j])
                || !isFiniteValue(d.clothHalfOversize[r][j])) {
                fail(QStringLiteral("rib %1 point %2: 3-D value not a number").arg(r).arg(j));
                break;
            }
            if (r < last) {
                bool ok = true;
                for (int s = 0; s < kLineRows; ++s)
                    ok = ok && isFiniteValue(d.flatGrid[s][r][j]) && isFiniteValue(d.inflatedGrid[s][r][j]);
                if (!ok) {
                    fail(QStringLiteral("cell %1 point %2: grid value not a number").arg(r).arg(j));
                    break;
                }
            }
        }
    }

    checkStructure(d, &problems);
    checkEditorValues(d, &problems);

    // A further recompute changes nothing.
    auto again = std::make_unique<ParaStruct>(d);
    Refresh_Calculations(again.get());
    if (Project_File_Bytes(*again) != Project_File_Bytes(d))
        fail(QStringLiteral("a further recompute changes the stored design"));
    for (int r = 0; r <= last; ++r) {
        bool same = std::equal(d.ribCurves3D[r], d.ribCurves3D[r] + kAirfoilPoints, again->ribCurves3D[r])
                    && std::equal(d.clothHalfOversize[r], d.clothHalfOversize[r] + kAirfoilPoints,
                                  again->clothHalfOversize[r]);
        for (int s = 0; s < kLineRows && r < last; ++s)
            same = same && std::equal(d.inflatedGrid[s][r], d.inflatedGrid[s][r] + kAirfoilPoints,
                                      again->inflatedGrid[s][r]);
        if (!same)
            fail(QStringLiteral("a further recompute changes the 3-D wing at rib %1").arg(r));
    }

    problems += Check_Default_Lines(d);
    return problems;
}

QStringList Check_Default_Figures(const ParaStruct& design)
{
    QStringList problems;
    auto fail = [&problems](const QString& s) { problems.append(s); };
    const ParaStruct& d = design;
    auto range = [&fail](const char* what, double v, double lo, double hi) {
        if (!(v >= lo && v <= hi))
            fail(QStringLiteral("%1 %2 outside %3 .. %4").arg(QLatin1String(what)).arg(v).arg(lo).arg(hi));
    };
    range("flat area", d.flatArea, 24, 27);
    range("flat aspect ratio", d.flatAspectRatio, 5, 5.6);
    range("projected aspect ratio", d.projectedAspectRatio, 3.6, 4.4);
    range("flattening", d.flatteningPercent, 10, 18);

    range("total line length (m)", Line_Totals(&d).length, 250, 450);
    // Risers that hang nearly parallel share the weight without adding to
    // it: the loads of the line groups come to the flying weight.
    double groups = 0;
    for (int k = 1; k <= d.lineGroupCount; ++k)
        groups += RaiserGrupLineLoad(k, d.bridle.riserGroup);
    range("weight carried by the line groups (kg)", 2 * groups, 0.99 * d.totalWeight, 1.01 * d.totalWeight);

    auto again = std::make_unique<ParaStruct>(d);
    Refresh_Calculations(again.get());
    for (int width = 600; width <= 2600; width += 200)
        if (inflatedNoseFolds(again.get(), width))
            fail(QStringLiteral("the billow editor shows the inflated nose folded over at width %1").arg(width));
    return problems;
}

QString Default_Design_Figures(const ParaStruct& d)
{
    QString s;
    QTextStream out(&s);
    const double m = 0.5 * d.span / 1000;   // metres per plan unit
    out << QStringLiteral("cells                  %1 (ribs %2 .. %3 of the half wing)\n")
               .arg(d.cells).arg(d.firstRib).arg(d.lastRib);
    out << QStringLiteral("span                   %1 m\n").arg(d.span, 0, 'f', 2);
    out << QStringLiteral("flat area              %1 m2\n").arg(d.flatArea, 0, 'f', 2);
    out << QStringLiteral("flat aspect ratio      %1\n").arg(d.flatAspectRatio, 0, 'f', 2);
    out << QStringLiteral("projected area         %1 m2\n").arg(d.projectedArea, 0, 'f', 2);
    out << QStringLiteral("projected aspect ratio %1\n").arg(d.projectedAspectRatio, 0, 'f', 2);
    out << QStringLiteral("flattening             %1 %\n").arg(d.flatteningPercent, 0, 'f', 1);
    out << QStringLiteral("arc height             %1 %\n").arg(d.arcHeightPercent, 0, 'f', 1);
    out << QStringLiteral("root chord / tip chord %1 m / %2 m\n")
               .arg(d.chord[d.firstRib] * m, 0, 'f', 2)
               .arg(d.chord[d.lastRib] * m, 0, 'f', 2);
    out << QStringLiteral("tip rib angle          %1 deg\n").arg(d.ribAngle[d.lastRib] * 180 / kPi, 0, 'f', 1);
    out << QStringLiteral("line rows, % of chord  ");
    for (int r = 0; r < kLineRows; ++r)
        out << QStringLiteral("%1 %2  ").arg(LineLetter(r)).arg(d.rowPercent[r]);
    out << "\n";
    out << QStringLiteral("total weight           %1 kg, hang height %2 m\n").arg(d.totalWeight).arg(d.hangHeight);
    const LineTotals lines = Line_Totals(&d);
    int count = 0;
    for (const BridleGroup& g : d.bridle.groups)
        count += g.lineCount;
    out << QStringLiteral("lines                  %1 per half wing, %2 m in all, %3 m2 frontal area\n")
               .arg(count).arg(lines.length, 0, 'f', 1).arg(lines.area, 0, 'f', 3);
    out << QStringLiteral("loaded ribs           ");
    for (int r = d.firstRib; r <= d.lastRib; ++r)
        if (d.isLoadedRib(r))
            out << " " << r;
    auto diagonals = std::make_unique<ParaStruct>(d);
    Generate_All_Diagonals(diagonals.get());
    out << QStringLiteral("; %1 diagonal ribs\n").arg(diagonals->diagonals.size());
    auto cellsOf = [&d](const bool* flags) {
        QStringList c;
        for (int k = 0; k < d.lastRib; ++k)
            if (flags[k])
                c << QString::number(k);
        return c.isEmpty() ? QStringLiteral("none") : c.first() + QStringLiteral(" .. ") + c.last();
    };
    out << QStringLiteral("mini-ribs              front in cells %1 (%2 points before the nose to %3 after), "
                          "rear in cells %4 (%5 %, cavity %6)\n")
               .arg(cellsOf(d.frontRibEnabled)).arg(5 * d.minirib.frontRibStart).arg(5 * d.minirib.frontRibEnd)
               .arg(cellsOf(d.rearRibEnabled)).arg(d.minirib.rearRibPosition).arg(d.minirib.rearRibCavity, 0, 'f', 2);
    int straps = 0;
    for (int row = 2; row < kLineRows; ++row)
        for (int rib = 0; rib < d.lastRib; ++rib)
            straps += d.lineStrips[row][rib] ? 1 : 0;
    out << QStringLiteral("straps                 %1; widths A .. D %2, %3, %4, %5 mm\n")
               .arg(straps).arg(d.strapWidth[0]).arg(d.strapWidth[1]).arg(d.strapWidth[2]).arg(d.strapWidth[3]);
    int top = 0;
    for (const Spline& line : d.designSplines)
        top += line.side == 0 ? 1 : 0;
    out << QStringLiteral("design lines           %1 on the upper surface, %2 on the lower\n")
               .arg(top).arg(d.designSplines.size() - top);
    return s;
}
