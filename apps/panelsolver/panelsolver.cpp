#include "apps/panelsolver/panelsolver.h"

#include "apps/panelsolver/factorise.h"
#include "apps/panelsolver/influence.h"

#include <lapacke.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <new>
#include <unordered_map>

namespace panelsolver {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// One term of a surface gradient: the doublet of a panel times a vector.
struct GradientTerm {
    int panel;
    Vec3 weight;
};

// The surface panels with their geometry and the wake sheets.
struct Model {
    std::vector<PanelGeometry> panels;     // surface panels, in input order
    std::vector<const InputPanel*> source; // their input records
    std::vector<PanelGeometry> wakes;      // from the trailing edge far downstream
    std::vector<int> wakeUpper, wakeLower; // surface panels each wake leaves
    std::vector<int> surfaceOf;            // input index -> surface panel, -1 for wakes
    double size = 0;                       // diagonal of the surface's bounding box
};

// Straight downstream: the free stream of a case without incidence or
// sideslip. One wake serves every case, as one factorisation does.
const Vec3 kDownstream(1, 0, 0);

// How far the wake reaches, in sizes of the surface: far enough that the
// vortex along its far edge no longer acts on the wing.
constexpr double kWakeReach = 100.0;

PanelGeometry inputGeometry(const SolverInput& in, const InputPanel& p, bool reversed)
{
    Vec3 corners[4];
    const int n = p.cornerCount();
    for (int c = 0; c < n; ++c)
        corners[reversed ? n - 1 - c : c] = in.nodes[p.nodes[c] - 1];
    return Make_Panel_Geometry(corners, n);
}

// A closed surface seen from inside covers the full sphere of directions:
// the doublets of all panels but one sum to -1/2 at that panel's centre when
// the normals point out, and to +1/2 when they point in. The mesh's open
// wing tips let a little through, so the sign decides, averaged over a few
// panels spread along the list.
bool facesInward(const Model& m, double farField)
{
    const int n = static_cast<int>(m.panels.size());
    const int probes = std::min(n, 9);
    double sum = 0;
    for (int q = 0; q < probes; ++q) {
        const int i = static_cast<int>((static_cast<long long>(q) * n) / probes);
        for (int k = 0; k < n; ++k)
            if (k != i)
                sum += Doublet_Potential(m.panels[k], m.panels[i].centre, farField);
    }
    return sum > 0;
}

// The normal of a surface panel at the edge nearest the segment (a, b): of
// the corner loop along that edge and across to the opposite one, which on
// a twisted panel leans with the surface there rather than with the panel's
// mean plane.
Vec3 normalAtEdge(const PanelGeometry& g, const Vec3& a, const Vec3& b)
{
    int edge = 0;
    double nearest = HUGE_VAL;
    for (int c = 0; c < g.corners; ++c) {
        const Vec3 &p = g.p[c], &q = g.p[(c + 1) % g.corners];
        const double d = std::min(norm(p - a) + norm(q - b), norm(p - b) + norm(q - a));
        if (d < nearest)
            nearest = d, edge = c;
    }
    const Vec3 &p = g.p[edge], &q = g.p[(edge + 1) % g.corners];
    Vec3 across;
    for (int c = 2; c < g.corners; ++c)
        across += g.p[(edge + c) % g.corners];
    across = across / (g.corners - 2) - (p + q) * 0.5;
    // Counter-clockwise seen from the normal's side, the panel lies to the
    // left of its edges.
    const Vec3 n = cross(q - p, across);
    const double len = norm(n);
    return len > 0 && dot(n, g.normal) > 0 ? n / len : g.normal;
}

void buildModel(const SolverInput& in, Model* m, bool* flipped)
{
    const int count = static_cast<int>(in.panels.size());
    m->surfaceOf.assign(count, -1);
    Vec3 lo(HUGE_VAL, HUGE_VAL, HUGE_VAL), hi(-HUGE_VAL, -HUGE_VAL, -HUGE_VAL);
    for (int k = 0; k < count; ++k) {
        const InputPanel& p = in.panels[k];
        if (p.isWake())
            continue;
        m->surfaceOf[k] = static_cast<int>(m->panels.size());
        m->panels.push_back(inputGeometry(in, p, false));
        m->source.push_back(&p);
        for (int c = 0; c < p.cornerCount(); ++c) {
            const Vec3& v = in.nodes[p.nodes[c] - 1];
            lo = Vec3(std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z));
            hi = Vec3(std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z));
        }
    }
    // The surface alone: the wake nodes of the input may lie anywhere.
    m->size = norm(hi - lo);
    *flipped = facesInward(*m, in.farField);
    if (*flipped)
        for (size_t k = 0; k < m->panels.size(); ++k)
            m->panels[k] = inputGeometry(in, *m->source[k], true);

    // A steady wake has no end: each wake panel runs from its trailing-edge
    // segment straight downstream, far enough that the vortex along its far
    // edge no longer acts on the wing. Its given far nodes are not used:
    // carried along its own sides, a wake panel whose sides are not quite
    // parallel turns into a twisted or crossed strip. Wake panels that share
    // a trailing-edge node stay joined.
    const double far = kWakeReach * m->size;
    for (int k = 0; k < count; ++k) {
        const InputPanel& p = in.panels[k];
        if (!p.isWake())
            continue;
        const Vec3 a = in.nodes[p.nodes[0] - 1], b = in.nodes[p.nodes[1] - 1];
        const Vec3 corners[4] = {a, b, b + kDownstream * far, a + kDownstream * far};
        const PanelGeometry w = Make_Panel_Geometry(corners, 4);
        // The wake's strength is the jump from its back to its front: the
        // doublet of the trailing-edge panel on its front side less that of
        // the other. At a trailing edge the surfaces face away from each
        // other, above and below the wake; where the edge is blunt or the
        // normals say nothing, the panels' centres tell instead.
        int upper = m->surfaceOf[p.neighbours[0] - 1], lower = m->surfaceOf[p.neighbours[1] - 1];
        const PanelGeometry &gu = m->panels[upper], &gl = m->panels[lower];
        double side = dot(normalAtEdge(gu, a, b) - normalAtEdge(gl, a, b), w.normal);
        if (std::fabs(side) < 1e-6) {
            const Vec3 edge = (a + b) * 0.5;
            side = dot(gu.centre - edge, w.normal) - dot(gl.centre - edge, w.normal);
        }
        if (side < 0)
            std::swap(upper, lower);
        m->wakes.push_back(w);
        m->wakeUpper.push_back(upper);
        m->wakeLower.push_back(lower);
    }
}

// Panels by mirror image. The system's unknowns are one doublet per class:
// a panel and its mirror image share one, a panel on the centre plane has
// one of its own; without symmetry every panel is a class of its own.
struct Classes {
    std::vector<int> of;    // surface panel -> its class
    std::vector<int> first; // class -> its first panel, whose equation stands for the class
    bool mirrored = false;
};

Classes eachPanelAlone(int n)
{
    Classes c;
    c.of.resize(n);
    c.first.resize(n);
    for (int k = 0; k < n; ++k)
        c.of[k] = c.first[k] = k;
    return c;
}

// Nodes near a point, by cells of a grid: a point is looked for in its
// own cell and those around it. The cells are no smaller than the
// tolerance, nor so small that their numbers outgrow an integer.
class NodeFinder
{
public:
    NodeFinder(const std::vector<Vec3>& nodes, const std::vector<char>& used, double tolerance)
        : nodes_(nodes), tolerance_(tolerance)
    {
        double extent = 0;
        for (size_t k = 0; k < nodes.size(); ++k)
            if (used[k])
                extent = std::max({extent, std::fabs(nodes[k].x), std::fabs(nodes[k].y), std::fabs(nodes[k].z)});
        cell_ = std::max({2 * tolerance, 1e-12 * extent, 1e-300});
        for (size_t k = 0; k < nodes.size(); ++k)
            if (used[k])
                cells_[key(nodes[k], 0, 0, 0)].push_back(static_cast<int>(k));
    }

    // The node nearest p within the tolerance, or -1.
    int find(const Vec3& p) const
    {
        int best = -1;
        double nearest = tolerance_;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dz = -1; dz <= 1; ++dz) {
                    const auto it = cells_.find(key(p, dx, dy, dz));
                    if (it == cells_.end())
                        continue;
                    for (int k : it->second) {
                        const double d = norm(nodes_[k] - p);
                        if (d <= nearest)
                            nearest = d, best = k;
                    }
                }
        return best;
    }

private:
    using Key = std::array<long long, 3>;
    struct KeyHash {
        size_t operator()(const Key& k) const
        {
            const auto u = [](long long v) { return static_cast<unsigned long long>(v); };
            return static_cast<size_t>(u(k[0]) * 73856093ULL ^ u(k[1]) * 19349663ULL ^ u(k[2]) * 83492791ULL);
        }
    };
    Key key(const Vec3& p, int dx, int dy, int dz) const
    {
        return {static_cast<long long>(std::floor(p.x / cell_)) + dx,
                static_cast<long long>(std::floor(p.y / cell_)) + dy,
                static_cast<long long>(std::floor(p.z / cell_)) + dz};
    }

    const std::vector<Vec3>& nodes_;
    double tolerance_, cell_ = 0;
    std::unordered_map<Key, std::vector<int>, KeyHash> cells_;
};

// The classes of a mesh that is its own mirror image about y = 0, with
// wakes that are too, for cases without sideslip; each panel alone
// otherwise. Nodes count as mirror images within a ten-billionth of the
// smallest panel: near enough that the half system's answer stays within
// rounding of the whole one's, and the mesh the main program writes, whose
// halves come from the same numbers, is symmetric to the last digit.
Classes mirrorClasses(const SolverInput& in, const Model& m)
{
    const int n = static_cast<int>(m.panels.size());
    Classes alone = eachPanelAlone(n);
    for (double b : in.beta)
        if (!(std::fabs(b) <= 1e-10))
            return alone;
    double smallest = HUGE_VAL;
    for (const PanelGeometry& g : m.panels)
        smallest = std::min(smallest, g.diameter);
    const double tolerance = 1e-10 * smallest;
    if (!(tolerance > 0) || !std::isfinite(tolerance))
        return alone;

    // Mirror image of every node the surface uses.
    std::vector<char> used(in.nodes.size(), 0);
    for (const InputPanel* p : m.source)
        for (int c = 0; c < p->cornerCount(); ++c)
            used[p->nodes[c] - 1] = 1;
    const NodeFinder finder(in.nodes, used, tolerance);
    std::vector<int> image(in.nodes.size(), -1);
    for (size_t k = 0; k < in.nodes.size(); ++k) {
        if (!used[k])
            continue;
        const Vec3& p = in.nodes[k];
        image[k] = finder.find(Vec3(p.x, -p.y, p.z));
        if (image[k] < 0)
            return alone;
    }

    // Mirror image of every panel: the panel on the mirror images of its
    // corners, with the same edges.
    using Edges = std::array<std::pair<int, int>, 4>;
    auto edgesOf = [](const InputPanel& p, const std::vector<int>* map) {
        Edges e{};
        const int corners = p.cornerCount();
        for (int c = 0; c < corners; ++c) {
            int a = p.nodes[c] - 1, b = p.nodes[(c + 1) % corners] - 1;
            if (map)
                a = (*map)[a], b = (*map)[b];
            e[c] = {std::min(a, b), std::max(a, b)};
        }
        for (int c = corners; c < 4; ++c)
            e[c] = {-1, -1};
        std::sort(e.begin(), e.end());
        return e;
    };
    std::map<Edges, int> byEdges;
    for (int k = 0; k < n; ++k)
        if (!byEdges.emplace(edgesOf(*m.source[k], nullptr), k).second)
            return alone; // two panels on the same corners
    std::vector<int> mirror(n, -1);
    for (int k = 0; k < n; ++k) {
        const auto it = byEdges.find(edgesOf(*m.source[k], &image));
        if (it == byEdges.end())
            return alone;
        mirror[k] = it->second;
    }
    for (int k = 0; k < n; ++k)
        if (mirror[mirror[k]] != k)
            return alone;

    // Each wake's mirror image leaves the mirror image of its trailing edge,
    // with the mirror images of its panels above and below.
    std::map<std::pair<int, int>, int> wakeAt;
    std::vector<std::pair<int, int>> edges;
    for (size_t k = 0; k < in.panels.size(); ++k) {
        const InputPanel& p = in.panels[k];
        if (!p.isWake())
            continue;
        const int a = p.nodes[0] - 1, b = p.nodes[1] - 1;
        if (!used[a] || !used[b])
            return alone;
        const std::pair<int, int> edge(std::min(a, b), std::max(a, b));
        if (!wakeAt.emplace(edge, static_cast<int>(edges.size())).second)
            return alone;
        edges.push_back(edge);
    }
    for (size_t w = 0; w < edges.size(); ++w) {
        const int a = image[edges[w].first], b = image[edges[w].second];
        const auto it = wakeAt.find({std::min(a, b), std::max(a, b)});
        if (it == wakeAt.end() || m.wakeUpper[it->second] != mirror[m.wakeUpper[w]]
            || m.wakeLower[it->second] != mirror[m.wakeLower[w]])
            return alone;
    }

    Classes c;
    c.mirrored = true;
    c.of.assign(n, -1);
    for (int k = 0; k < n; ++k) {
        if (mirror[k] < k) {
            c.of[k] = c.of[mirror[k]];
        } else {
            c.of[k] = static_cast<int>(c.first.size());
            c.first.push_back(k);
        }
    }
    return c;
}

bool enoughMemory(size_t unknowns, size_t n, std::string* why)
{
    const double bytes = 8.0 * unknowns * unknowns + 200.0 * n;
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0 && bytes > 0.75 * double(pages) * double(pageSize)) {
        *why = "the mesh of " + std::to_string(n) + " surface panels needs "
               + std::to_string(static_cast<long long>(bytes / 1e6)) + " MB, more than this machine has";
        return false;
    }
    return true;
}

// Unit onsets the doublets are solved for: along x, y and z, or without
// sideslip in a mirror-symmetric flow along x and z only (the onset along y
// is antisymmetric, and no case needs it).
std::vector<Vec3> onsetsFor(const Classes& classes)
{
    if (classes.mirrored)
        return {Vec3(1, 0, 0), Vec3(0, 0, 1)};
    return {Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1)};
}

// Influence matrix of the classes, row-major (row r: the potentials at the
// collocation point of class r's first panel, the panels of each class
// summed in its column), and the right-hand sides of the unit onsets,
// column after column. Returns the first surface panel whose centre does not
// lie inside the rest of the surface, or -1.
//
// Inside a closed surface the doublets of all panels sum to -1. The open
// wing tips let up to half of that through for a panel at the very opening;
// a panel turned against its neighbours, where the mesh folds over itself,
// sums to about 0 and would spoil the whole solution.
int assemble(const SolverInput& in, const Model& m, const Classes& classes, const std::vector<Vec3>& onsets,
             double* A, std::vector<double>* rhs, const SolverProgress& progress)
{
    int folded = -1;
    const int n = static_cast<int>(m.panels.size());
    const int u = static_cast<int>(classes.first.size());
    const int wakes = static_cast<int>(m.wakes.size());
    const int* of = classes.of.data();
    const int steps = 10;
    for (int s = 0; s < steps; ++s) {
        const int first = static_cast<int>(static_cast<long long>(u) * s / steps);
        const int last = static_cast<int>(static_cast<long long>(u) * (s + 1) / steps);
#pragma omp parallel for schedule(dynamic, 8)
        for (int r = first; r < last; ++r) {
            const int i = classes.first[r];
            double* row = A + static_cast<size_t>(r) * u;
            std::fill(row, row + u, 0.0);
            const Vec3 x = m.panels[i].centre - m.panels[i].normal * in.collDist;
            Vec3 sources;
            double enclosed = 0;
            for (int k = 0; k < n; ++k) {
                const PanelGeometry& g = m.panels[k];
                // Just inside its own panel a doublet sheet reads half its
                // strength below the outside.
                const double d = k == i ? -0.5 : Doublet_Potential(g, x, in.farField);
                row[of[k]] += d;
                enclosed += d;
                // Zero potential inside: sum D mu = -sum S sigma, with the
                // source strength sigma = -n . onset.
                sources += g.normal * Source_Potential(g, x, in.farField);
            }
            if (enclosed > -0.4) {
#pragma omp critical
                if (folded < 0 || i < folded)
                    folded = i;
            }
            for (int w = 0; w < wakes; ++w) {
                const double d = Doublet_Potential(m.wakes[w], x, in.farField);
                row[of[m.wakeUpper[w]]] += d;
                row[of[m.wakeLower[w]]] -= d;
            }
            for (size_t o = 0; o < onsets.size(); ++o)
                (*rhs)[o * u + r] = dot(sources, onsets[o]);
        }
        if (progress)
            progress("assembly", 10 * (s + 1));
    }
    return folded;
}

// Neighbour of each surface panel across each of its edges (edge c runs
// from corner c to the next), or -1. Only the neighbours the input lists
// count, and never the two panels that meet at a trailing edge: the doublet
// jumps there by the wake's strength.
std::vector<std::array<int, 4>> edgeNeighbours(const SolverInput& in, const Model& m)
{
    const int n = static_cast<int>(m.panels.size());
    std::vector<std::array<int, 4>> across(n, {-1, -1, -1, -1});
    auto hasNode = [](const InputPanel& p, int node) {
        for (int c = 0; c < p.cornerCount(); ++c)
            if (p.nodes[c] == node)
                return true;
        return false;
    };
    auto trailingPair = [&m](int a, int b) {
        for (size_t w = 0; w < m.wakes.size(); ++w)
            if ((m.wakeUpper[w] == a && m.wakeLower[w] == b) || (m.wakeUpper[w] == b && m.wakeLower[w] == a))
                return true;
        return false;
    };
    for (int i = 0; i < n; ++i) {
        const InputPanel& p = *m.source[i];
        const int corners = p.cornerCount();
        for (int q = 0; q < corners; ++q) {
            const int listed = p.neighbours[q];
            if (listed < 1 || m.surfaceOf[listed - 1] < 0)
                continue;
            const int k = m.surfaceOf[listed - 1];
            if (k == i || trailingPair(i, k))
                continue;
            const InputPanel& other = *m.source[k];
            for (int c = 0; c < corners; ++c) {
                const int a = p.nodes[c], b = p.nodes[(c + 1) % corners];
                if (a != b && hasNode(other, a) && hasNode(other, b))
                    across[i][c] = k;
            }
        }
    }
    return across;
}

// Weights of the derivative at 0 of the parabola (or line) through the
// values at the abscissae s.
void derivativeWeights(const double* s, int count, double* w)
{
    if (count == 2) {
        w[0] = -1.0 / (s[1] - s[0]);
        w[1] = -w[0];
        return;
    }
    w[0] = ((0 - s[1]) + (0 - s[2])) / ((s[0] - s[1]) * (s[0] - s[2]));
    w[1] = ((0 - s[0]) + (0 - s[2])) / ((s[1] - s[0]) * (s[1] - s[2]));
    w[2] = ((0 - s[0]) + (0 - s[1])) / ((s[2] - s[0]) * (s[2] - s[1]));
}

struct Direction {
    Vec3 t;                 // unit, in the tangent plane
    int panels[3] = {-1, -1, -1};
    double weights[3] = {0, 0, 0};
    int count = 0;
};

// The derivative of the doublet along one grid line of a quadrilateral:
// through the panels across edges `ahead` and `behind`, and, where one of
// them is missing or a second order is wanted at the border, the next panel
// on along the same line.
bool lineDerivative(const Model& m, const std::vector<std::array<int, 4>>& across, int i, int ahead,
                    int behind, bool second, Direction* d)
{
    auto beyond = [&](int from, int k) { // the panel after k, going on from panel `from`
        if (k < 0 || m.panels[k].corners != 4)
            return -1;
        for (int c = 0; c < 4; ++c)
            if (across[k][c] == from)
                return across[k][(c + 2) % 4];
        return -1;
    };
    const int a1 = across[i][ahead], b1 = across[i][behind];
    if (a1 < 0 && b1 < 0)
        return false;
    const Vec3& ci = m.panels[i].centre;
    auto step = [&](int from, int to) { return norm(m.panels[to].centre - m.panels[from].centre); };
    double s[3];
    int idx[3];
    int count = 0;
    if (a1 >= 0 && b1 >= 0) {
        idx[0] = b1, s[0] = -step(i, b1);
        idx[1] = i, s[1] = 0;
        idx[2] = a1, s[2] = step(i, a1);
        count = 3;
        if (!second) { // first order: the central difference
            idx[1] = a1, s[1] = s[2];
            count = 2;
        }
    } else {
        const int one = a1 >= 0 ? a1 : b1;
        const double sign = a1 >= 0 ? 1.0 : -1.0;
        idx[0] = i, s[0] = 0;
        idx[1] = one, s[1] = sign * step(i, one);
        count = 2;
        const int two = second ? beyond(i, one) : -1;
        if (two >= 0 && two != i) {
            idx[2] = two, s[2] = s[1] + sign * step(one, two);
            count = 3;
        }
    }
    Vec3 t = a1 >= 0 && b1 >= 0 ? m.panels[a1].centre - m.panels[b1].centre
             : a1 >= 0          ? m.panels[a1].centre - ci
                                : ci - m.panels[b1].centre;
    const Vec3& n = m.panels[i].normal;
    t -= n * dot(t, n);
    const double len = norm(t);
    if (!(len > 0))
        return false;
    d->t = t / len;
    d->count = count;
    derivativeWeights(s, count, d->weights);
    for (int q = 0; q < count; ++q)
        d->panels[q] = idx[q];
    return true;
}

// Least-squares gradient over the edge neighbours, for triangles and for
// quadrilaterals whose grid lines are of no use.
std::vector<GradientTerm> fittedGradient(const Model& m, const std::array<int, 4>& across, int i)
{
    const PanelGeometry& g = m.panels[i];
    Vec3 u;
    for (int c = 0; c < g.corners; ++c) { // along the longest edge
        const Vec3 e = g.flat[(c + 1) % g.corners] - g.flat[c];
        if (norm(e) > norm(u))
            u = e;
    }
    u = u / norm(u);
    const Vec3 v = cross(g.normal, u);
    double a11 = 0, a12 = 0, a22 = 0;
    struct Offset {
        int k;
        double du, dv, w;
    };
    std::vector<Offset> offsets;
    for (int k : across) {
        if (k < 0)
            continue;
        const Vec3 r = m.panels[k].centre - g.centre;
        const double du = dot(r, u), dv = dot(r, v);
        const double w = 1.0 / std::max(du * du + dv * dv, 1e-300);
        offsets.push_back({k, du, dv, w});
        a11 += w * du * du, a12 += w * du * dv, a22 += w * dv * dv;
    }
    std::vector<GradientTerm> terms;
    const double det = a11 * a22 - a12 * a12;
    Vec3 self;
    if (det > 1e-12 * (a11 + a22) * (a11 + a22)) {
        for (const Offset& o : offsets) {
            const double gu = (a22 * o.du - a12 * o.dv) * o.w / det;
            const double gv = (a11 * o.dv - a12 * o.du) * o.w / det;
            const Vec3 weight = u * gu + v * gv;
            terms.push_back({o.k, weight});
            self -= weight;
        }
    } else if (!offsets.empty()) {
        // One usable direction: the difference to the nearest neighbour.
        const Offset& o = *std::max_element(offsets.begin(), offsets.end(),
                                            [](const Offset& p, const Offset& q) { return p.w < q.w; });
        const Vec3 r = u * o.du + v * o.dv;
        const Vec3 weight = r * o.w;
        terms.push_back({o.k, weight});
        self -= weight;
    }
    terms.push_back({i, self});
    return terms;
}

// The surface gradient of the doublet at every surface panel as weights of
// the panels' doublets. Quadrilaterals difference along their two grid lines
// (second order with VELORDER 2), the rest fit a plane to their neighbours.
std::vector<std::vector<GradientTerm>> gradientStencils(const SolverInput& in, const Model& m)
{
    const auto across = edgeNeighbours(in, m);
    const int n = static_cast<int>(m.panels.size());
    const bool second = in.velOrder == 2;
    std::vector<std::vector<GradientTerm>> stencils(n);
    for (int i = 0; i < n; ++i) {
        std::vector<GradientTerm>& terms = stencils[i];
        if (m.panels[i].corners == 4) {
            Direction d1, d2;
            const bool has1 = lineDerivative(m, across, i, 2, 0, second, &d1);
            const bool has2 = lineDerivative(m, across, i, 1, 3, second, &d2);
            const double c = has1 && has2 ? dot(d1.t, d2.t) : 0.0;
            if (has1 && has2 && std::fabs(c) < 0.95) {
                // g . t1 = d1 and g . t2 = d2 through the dual basis.
                const Vec3 e1 = (d1.t - d2.t * c) / (1 - c * c);
                const Vec3 e2 = (d2.t - d1.t * c) / (1 - c * c);
                for (int q = 0; q < d1.count; ++q)
                    terms.push_back({d1.panels[q], e1 * d1.weights[q]});
                for (int q = 0; q < d2.count; ++q)
                    terms.push_back({d2.panels[q], e2 * d2.weights[q]});
                continue;
            }
            if ((has1 || has2) && !(has1 && has2)) {
                const Direction& d = has1 ? d1 : d2;
                for (int q = 0; q < d.count; ++q)
                    terms.push_back({d.panels[q], d.t * d.weights[q]});
                continue;
            }
        }
        terms = fittedGradient(m, across[i], i);
    }
    return stencils;
}

} // namespace

bool Solve_Cases(const SolverInput& in, SolverResult* out, std::string* why, const SolverProgress& progress,
                 SolverTimes* times, const SolverOptions& options)
{
    if (!Check_Solver_Input(in, why))
        return false;
    SolverTimes local;
    SolverTimes& t = times ? *times : local;

    auto start = Clock::now();
    Model m;
    bool flipped = false;
    buildModel(in, &m, &flipped);
    const int n = static_cast<int>(m.panels.size());
    const Classes classes = options.useSymmetry ? mirrorClasses(in, m) : eachPanelAlone(n);
    const int u = static_cast<int>(classes.first.size());
    const std::vector<Vec3> onsets = onsetsFor(classes);
    const int columns = static_cast<int>(onsets.size());
    if (!enoughMemory(u, n, why))
        return false;
    t.geometry = msSince(start);

    start = Clock::now();
    // Not cleared here: the assembly's threads clear their own rows, so
    // the fresh pages are touched in parallel.
    std::unique_ptr<double[]> A;
    std::vector<double> rhs;
    std::vector<lapack_int> pivots;
    try {
        A.reset(new double[static_cast<size_t>(u) * u]);
        rhs.assign(static_cast<size_t>(columns) * u, 0.0);
        pivots.assign(u, 0);
    } catch (const std::bad_alloc&) {
        *why = "not enough memory for the matrix of " + std::to_string(n) + " surface panels";
        return false;
    }
    const int folded = assemble(in, m, classes, onsets, A.get(), &rhs, progress);
    t.assembly = msSince(start);
    if (folded >= 0) {
        const long long number = m.source[folded] - in.panels.data() + 1;
        *why = "panel " + std::to_string(number)
               + " faces the other way from the rest of the surface: the mesh folds over itself";
        return false;
    }

    // The buffer read column by column is the transpose: factor it and
    // solve with the transpose of that.
    if (progress)
        progress("factorisation", 0);
    start = Clock::now();
    int info = Factorise_LU(A.get(), u, pivots.data(), [&progress](int percent) {
        if (progress && percent > 0)
            progress("factorisation", percent);
    });
    t.factorisation = msSince(start);
    if (info != 0) {
        *why = info > 0 ? "the system of equations is singular (is the mesh closed and consistent?)"
                        : "the factorisation failed";
        return false;
    }
    if (progress)
        progress("solution", 0);
    start = Clock::now();
    info = LAPACKE_dgetrs(LAPACK_COL_MAJOR, 'T', u, columns, A.get(), u, pivots.data(), rhs.data(), u);
    t.solution = msSince(start);
    if (info != 0 || !std::all_of(rhs.begin(), rhs.end(), [](double v) { return std::isfinite(v); })) {
        *why = "the system of equations could not be solved";
        return false;
    }
    A.reset();

    // The doublet of every panel for each unit onset along x, y and z.
    std::vector<double> mu[3];
    for (int d = 0; d < 3; ++d)
        mu[d].assign(n, 0.0);
    for (int o = 0; o < columns; ++o) {
        const int d = onsets[o].x != 0 ? 0 : onsets[o].y != 0 ? 1 : 2;
        for (int k = 0; k < n; ++k)
            mu[d][k] = rhs[static_cast<size_t>(o) * u + classes.of[k]];
    }

    if (progress)
        progress("velocities", 0);
    start = Clock::now();
    const auto stencils = gradientStencils(in, m);
    // Gradient of the doublet for each unit onset.
    std::vector<Vec3> grad[3];
    for (int d = 0; d < 3; ++d) {
        grad[d].assign(n, Vec3());
        for (int i = 0; i < n; ++i)
            for (const GradientTerm& term : stencils[i])
                grad[d][i] += term.weight * mu[d][term.panel];
    }

    SolverResult r;
    r.flipped = flipped;
    r.unknowns = u;
    r.mirrored = classes.mirrored;
    r.wakeUpper = m.wakeUpper;
    r.wakeLower = m.wakeLower;
    r.normals.resize(in.panels.size());
    int wake = 0;
    for (size_t k = 0; k < in.panels.size(); ++k) {
        const int s = m.surfaceOf[k];
        if (s >= 0) {
            r.normals[k] = m.panels[s].normal;
            r.surface.push_back(static_cast<int>(k));
        } else {
            r.normals[k] = m.wakes[wake++].normal;
        }
    }
    const int caseCount = static_cast<int>(in.alpha.size());
    r.cases.resize(caseCount);
    r.cp.assign(static_cast<size_t>(n) * caseCount, 0.0);
    r.doublet.assign(static_cast<size_t>(n) * caseCount, 0.0);
    for (int c = 0; c < caseCount; ++c) {
        const double a = in.alpha[c] * kDegree, b = in.beta[c] * kDegree;
        const Vec3 onset(std::cos(a) * std::cos(b), std::sin(b), std::sin(a) * std::cos(b));
        Vec3 force, moment;
        for (int i = 0; i < n; ++i) {
            const PanelGeometry& g = m.panels[i];
            const Vec3 gradient = grad[0][i] * onset.x + grad[1][i] * onset.y + grad[2][i] * onset.z;
            Vec3 v = onset - g.normal * dot(onset, g.normal) + gradient;
            v -= g.normal * dot(v, g.normal);
            const double cp = 1.0 - dot(v, v);
            r.cp[static_cast<size_t>(i) * caseCount + c] = cp;
            r.doublet[static_cast<size_t>(i) * caseCount + c] = mu[0][i] * onset.x + mu[1][i] * onset.y + mu[2][i] * onset.z;
            const Vec3 f = g.normal * (-cp * g.area);
            force += f;
            moment += cross(g.centre - in.origin, f);
        }
        CaseResult& cr = r.cases[c];
        cr.alpha = in.alpha[c];
        cr.beta = in.beta[c];
        const double S = in.surface;
        cr.cx = force.x / S;
        cr.cy = force.y / S;
        cr.cz = force.z / S;
        cr.cl = moment.x / (S * in.span);
        cr.cm = moment.y / (S * in.mac);
        cr.cn = moment.z / (S * in.span);
        cr.cdrag = dot(force, onset) / S;
        cr.clift = (-force.x * std::sin(a) + force.z * std::cos(a)) / S;
    }
    t.velocities = msSince(start);
    const bool finite = std::all_of(r.cp.begin(), r.cp.end(), [](double v) { return std::isfinite(v); });
    if (!finite) {
        *why = "the surface velocities are not finite numbers";
        return false;
    }
    *out = std::move(r);
    return true;
}

} // namespace panelsolver
