#include "aero/apamemesh.h"

#include "core/parastruct.h"
#include "core/transf.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// Candidates of the station law: every 24th airfoil point from 5 up to 941.
constexpr int kFirstCandidate = 5;
constexpr int kCandidateStep = 24;
constexpr int kCandidateEnd = 956;

// Drawing units (half span = 1000) to metres.
double meshScale(const ParaStruct* d)
{
    return 0.001 * d->dxfScale;
}

// Grid row r from one curve of 1000 points, stations J down to 0.
void fillRow(ParaStruct* d, int r, const QVector3D* curve, double s, double yFactor, int J, const int* stations)
{
    for (int j = J; j >= 0; --j) {
        const QVector3D& p = curve[stations[j]];
        d->meshGrid[r][j] = QVector3D(float(p.x() * s), float(yFactor * p.y() * s), float(p.z() * s));
    }
}

} // namespace

int setNode(int J, int j, int i)
{
    return j + i * (J + 1) + 1;
}

double f_x(double n, double i)
{
    // An empty range has no position along it.
    return n == 0 ? 0.0 : i / n;
}

double f_y1(double a, double t)
{
    return std::sqrt(t) * a;
}

double f_y2(double b, double c, double t)
{
    return (t - c) * (t - c) * b + c;
}

int f_J_DW_Index(const ParaStruct* d, int j)
{
    const QPolygonF& P = d->designAirfoils[0];
    int best = 900;
    if (P.isEmpty() || j < 0 || j >= P.size())
        return best;
    const double d0 = Dist2(P.at(0), P.at(j));
    double bestDiff = 1000000;
    for (int k = 900; k <= 999 && k < P.size(); ++k) {
        const double diff = std::fabs(Dist2(P.at(0), P.at(k)) - d0);
        if (diff < bestDiff) {
            best = k;
            bestDiff = diff;
        }
    }
    return best;
}

int f_CreateIndJ(ParaStruct* d, int* stations)
{
    d->FindNoseTopIndex(1);
    const int m = d->noseIndex[1];
    const double b = m / 999.0;

    stations[0] = 0;
    int count = 1;
    for (int i = kFirstCandidate; i < kCandidateEnd; i += kCandidateStep) {
        const double t = f_x(999, i);
        double x;
        // The two branches meet at the nose with slopes one half and zero:
        // stations crowd about the nose and thin out toward the trailing edge.
        if (i < m)
            x = 999 * f_y1(b / std::sqrt(b), t);
        else if (i > m)
            x = 999 * f_y2(1 / (1 - b), b, t);
        else
            x = 999 * b;
        const int v = int(std::lround(x));
        if (v > stations[count - 1] + 2)
            stations[count++] = v;
    }
    const int J = count;
    stations[J] = f_J_DW_Index(d, stations[1]);
    stations[J + 1] = 0;
    return J;
}

void OneArc(ParaStruct* d, int J, const int* stations, double scale, int r, int k, int c, double yFactor)
{
    // A row, sub-row, cell or station beyond the tables writes nothing.
    if (r < 0 || r >= kMeshRows || k < 0 || k >= int(std::size(d->inflatedGrid)) || c < 0
        || c >= int(std::size(d->inflatedGrid[0])) || J < 0
        || J >= kMeshStations)
        return;
    for (int j = 0; j <= J; ++j) {
        if (stations[j] < 0 || stations[j] >= kAirfoilPoints)
            return;
    }
    fillRow(d, r, d->inflatedGrid[k][c], scale, yFactor, J, stations);
}

QString Mesh_Input_Problem(ParaStruct* d, bool smooth, int J, const int* stations)
{
    if (!d || !stations)
        return QStringLiteral("There is no design to mesh.");
    // Fewer stations than the station law ever gives: a section of a few
    // panels is no airfoil.
    if (J < 6 || J >= kMeshStations)
        return QStringLiteral("The mesh needs 7 to %1 chordwise stations; the design has %2.")
            .arg(kMeshStations)
            .arg(J + 1);
    for (int j = 0; j <= J; ++j) {
        if (stations[j] < 0 || stations[j] >= kAirfoilPoints)
            return QStringLiteral("Chordwise station %1 lies outside the airfoil (point %2).").arg(j).arg(stations[j]);
    }
    if (!(d->span > 0) || !(d->flatArea > 0))
        return QStringLiteral("The wing has no span or no area to mesh.");
    const int f = d->firstRib;
    const int Rp = d->lastRib;
    if (f < 0 || f > 1 || Rp < 1 || Rp >= kRibSlots)
        return QStringLiteral("The wing's cells cannot be meshed (%1 ribs per half).").arg(Rp);
    const int rows = smooth ? 2 * Rp + 1 - f : 8 * Rp + 1 - 4 * f;
    if (rows > kMeshRows)
        return QStringLiteral("The mesh would need %1 rows; it holds %2.").arg(rows).arg(kMeshRows);
    // The solver reads "nan" as a coordinate and solves garbage, or stops
    // after minutes: every number of its input is looked at before it runs.
    const double wake = kWakeChords * (d->flatArea / d->span);
    if (!std::isfinite(d->span) || !std::isfinite(d->flatArea) || !std::isfinite(wake)
        || !std::isfinite(meshScale(d)))
        return QStringLiteral("The wing's span (%1 m) or flat area (%2 m2) is not a finite number: the design "
                              "cannot be solved.")
            .arg(d->span)
            .arg(d->flatArea);
    const int R = smooth ? Fill_3D_SmoothModel(d, J, stations) : Fill_3D_Inflated(d, J, stations);
    auto finite = [](const QVector3D& p) { return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z()); };
    for (int i = 0; i <= R; ++i) {
        for (int j = 0; j <= J; ++j)
            if (!finite(d->meshGrid[i][j]))
                return QStringLiteral("The canopy has a point that is not a finite number (mesh row %1 of %2, "
                                      "station %3): the design cannot be solved.")
                    .arg(i + 1)
                    .arg(R + 1)
                    .arg(j);
        if (!finite(WakeNode(d, i, J)))
            return QStringLiteral("The wake behind mesh row %1 of %2 ends at a point that is not a finite number: "
                                  "the design cannot be solved.")
                .arg(i + 1)
                .arg(R + 1);
    }
    return QString();
}

int Fill_3D_SmoothModel(ParaStruct* d, int J, const int* stations)
{
    const int Rp = d->lastRib;
    const int f = d->firstRib;
    const double s = meshScale(d);
    int r = -1;
    for (int q = Rp; q >= f; --q)
        fillRow(d, ++r, d->ribCurves3D[q], s, -1.0, J, stations);
    for (int q = 1; q <= Rp; ++q)
        fillRow(d, ++r, d->ribCurves3D[q], s, 1.0, J, stations);
    return r;
}

int Fill_3D_Inflated(ParaStruct* d, int J, const int* stations)
{
    const int f = d->cells % 2;
    const int Rp = d->lastRib;
    int r = -1;
    const double s = meshScale(d);
    auto row = [&](int k, int c, double g) { OneArc(d, J, stations, s, ++r, k, c, g); };

    // Only the even sub-rows are used: every cell gives four panel strips, and
    // a rib row shared by two cells is written once.
    for (int c = Rp - 1; c >= 0; --c) {
        for (int k = 8; k >= 2; k -= 2)
            row(k, c, -1.0);
        if (c == 0 && f == 1)
            row(0, c, -1.0);
    }
    for (int c = f; c <= Rp - 1; ++c) {
        const int firstK = (f == 0 && c == 0) ? 0 : 2;
        for (int k = firstK; k <= 8; k += 2)
            row(k, c, 1.0);
    }
    return r;
}

void CreateNodeList(const ParaStruct* d, int R, int J, WingMeshData* mesh)
{
    for (int i = 0; i <= R; ++i) {
        for (int j = 0; j <= J; ++j) {
            const QVector3D& g = d->meshGrid[i][j];
            mesh->nodes.append(NodeInfo{setNode(J, j, i), j, i, g.x(), g.y(), -g.z()});
        }
    }
}

QVector3D WakeNode(const ParaStruct* d, int row, int /*J*/)
{
    // Straight downstream rather than along the bisector of the trailing
    // edge: on a billowed trailing edge the bisector swings from one row to
    // the next, and wake strips drawn along it cross each other. Along the
    // flow every wake panel is a flat parallelogram.
    const QVector3D& T = d->meshGrid[row][0];
    const double length = kWakeChords * (d->flatArea / d->span);
    return QVector3D(float(T.x() + length), T.y(), T.z());
}

void CreateWakeNodeList(const ParaStruct* d, int R, int J, int S, WingMeshData* mesh)
{
    for (int i = 0; i <= R; ++i) {
        const QVector3D W = WakeNode(d, i, J);
        mesh->nodes.append(NodeInfo{S + 1 + i, J, i, W.x(), W.y(), -W.z()});
    }
}

bool InRectangle(int x, int y, int x0, int x1, int y0, int y1)
{
    return is_between(x0, x1, x) && is_between(y0, y1, y);
}

int getSurfPanel(int J, int R, int j, int i)
{
    // Panels are numbered like the node at their first corner.
    return InRectangle(j, i, 0, J, 0, R - 1) ? setNode(J, j, i) : 0;
}

int TopNeighbour(int J, int R, int j, int i)
{
    return getSurfPanel(J, R, j, i);
}

int BottomNeighbour(int J, int R, int j, int i)
{
    return getSurfPanel(J, R, j, i);
}

int LeftNeighbour(int J, int R, int /*S*/, int j, int i)
{
    return getSurfPanel(J, R, j, i);
}

int RightNeighbour(int J, int R, int /*S*/, int j, int i)
{
    return getSurfPanel(J, R, j, i);
}

void fillNeighbour(int J, int R, int S, int j, int i, int out[4])
{
    const int candidates[4] = {LeftNeighbour(J, R, S, j - 1, i), TopNeighbour(J, R, j, i + 1),
                               RightNeighbour(J, R, S, j + 1, i), BottomNeighbour(J, R, j, i - 1)};
    int n = 0;
    for (int c : candidates) {
        if (c != 0)
            out[n++] = c;
    }
    while (n < 4)
        out[n++] = 0;
}

void CreateSurfPanels(int R, int J, int S, WingMeshData* mesh)
{
    for (int k = 0; k < S && k < mesh->nodes.size(); ++k) {
        const NodeInfo& node = mesh->nodes.at(k);
        const int i = node.rowIndex;
        const int j = node.chordIndex;
        if (i >= R)
            continue;
        PanelInfo p;
        p.id = ++mesh->panelCounter;
        p.type = 1;
        const int next = j < J ? j + 1 : 0; // the last panel closes across the trailing edge
        p.nodes[0] = setNode(J, j, i);
        p.nodes[1] = setNode(J, j, i + 1);
        p.nodes[2] = setNode(J, next, i + 1);
        p.nodes[3] = setNode(J, next, i);
        fillNeighbour(J, R, S, j, i, p.neighbours);
        mesh->panels.append(p);
    }
}

void SetupSidePanels(int J, int /*side*/, int c, PanelInfo* panel)
{
    panel->type = 2;
    if (c > 0) {
        // The tip row's nodes at stations 0, J and 1, beside the panels of
        // the last strip at stations J, 1 and 0.
        const int row = c * (J + 1);
        const int strip = (c - 1) * (J + 1);
        const int nodes[3] = {row + 1, row + J + 1, row + 2};
        const int neighbours[3] = {strip + J + 1, strip + 2, strip + 1};
        std::copy(nodes, nodes + 3, panel->nodes);
        std::copy(neighbours, neighbours + 3, panel->neighbours);
    } else {
        const int first[3] = {1, 2, J + 1};
        std::copy(first, first + 3, panel->nodes);
        std::copy(first, first + 3, panel->neighbours);
    }
    panel->nodes[3] = panel->neighbours[3] = 0;
}

void CreateSidePanels(int R, int J, WingMeshData* mesh)
{
    PanelInfo first;
    first.id = ++mesh->panelCounter;
    SetupSidePanels(J, 0, 0, &first);
    mesh->panels.append(first);
    PanelInfo last;
    last.id = ++mesh->panelCounter;
    SetupSidePanels(J, 0, R, &last);
    mesh->panels.append(last);
}

void CreateWakePanels(int R, int J, int S, int N, WingMeshData* mesh)
{
    for (int k = S; k <= N - 2 && k < mesh->nodes.size(); ++k) {
        const int i = mesh->nodes.at(k).rowIndex;
        PanelInfo p;
        p.id = ++mesh->panelCounter;
        p.type = 10;
        p.nodes[0] = setNode(J, 0, i + 1);
        p.nodes[1] = setNode(J, 0, i);
        p.nodes[2] = S + 1 + i;
        p.nodes[3] = S + 2 + i;
        p.neighbours[0] = setNode(J, 0, i);
        p.neighbours[1] = setNode(J, J, i);
        mesh->panels.append(p);
    }
    Q_UNUSED(R);
}

int Build_Wing_Mesh(ParaStruct* d, bool smooth, int J, const int* stations, WingMeshData* mesh)
{
    const int R = smooth ? Fill_3D_SmoothModel(d, J, stations) : Fill_3D_Inflated(d, J, stations);
    const int S = (R + 1) * (J + 1);
    *mesh = WingMeshData();
    CreateNodeList(d, R, J, mesh);
    CreateWakeNodeList(d, R, J, S, mesh);
    const int N = int(mesh->nodes.size());
    CreateSurfPanels(R, J, S, mesh);
    CreateWakePanels(R, J, S, N, mesh);
    return R;
}
