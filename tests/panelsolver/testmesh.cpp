#include "tests/panelsolver/testmesh.h"

#include "tests/common/foilgen.h"

#include <QFile>
#include <QMap>
#include <QStringList>

#include <cmath>

namespace testmesh {

namespace {

// Neighbours across the edges, in edge order, the empty places last.
void linkByEdges(Mesh* mesh)
{
    QMap<QPair<int, int>, QList<int>> byEdge;
    auto corners = [](const Panel& p) { return p.type == 2 ? 3 : 4; };
    for (int k = 0; k < int(mesh->panels.size()); ++k) {
        const Panel& p = mesh->panels[k];
        for (int c = 0; c < corners(p); ++c) {
            const int a = p.nodes[c], b = p.nodes[(c + 1) % corners(p)];
            if (a != b)
                byEdge[qMakePair(std::min(a, b), std::max(a, b))].append(k);
        }
    }
    for (int k = 0; k < int(mesh->panels.size()); ++k) {
        Panel& p = mesh->panels[k];
        int used = 0;
        p.neighbours = {0, 0, 0, 0};
        for (int c = 0; c < corners(p); ++c) {
            const int a = p.nodes[c], b = p.nodes[(c + 1) % corners(p)];
            for (int other : byEdge.value(qMakePair(std::min(a, b), std::max(a, b))))
                if (other != k)
                    p.neighbours[used++] = other + 1;
        }
    }
}

QString real(double v) { return QString::number(v, 'f', 6); }

} // namespace

Mesh Sphere(double radius, int nLat, int nLon)
{
    Mesh m;
    m.span = 2 * radius;
    m.area = foilgen::kPi * radius * radius;
    m.nodes.push_back({0, 0, radius}); // node 1: north pole
    for (int i = 1; i < nLat; ++i) {
        const double theta = foilgen::kPi * i / nLat;
        for (int j = 0; j < nLon; ++j) {
            const double phi = 2 * foilgen::kPi * j / nLon;
            m.nodes.push_back({radius * std::sin(theta) * std::cos(phi), radius * std::sin(theta) * std::sin(phi),
                               radius * std::cos(theta)});
        }
    }
    m.nodes.push_back({0, 0, -radius});
    const int south = int(m.nodes.size());
    auto ring = [nLon](int i, int j) { return 2 + (i - 1) * nLon + (j % nLon); }; // node of ring i
    // Counter-clockwise seen from outside: north, then eastward.
    for (int j = 0; j < nLon; ++j)
        m.panels.push_back({2, {1, ring(1, j), ring(1, j + 1), 0}, {}});
    for (int i = 1; i < nLat - 1; ++i)
        for (int j = 0; j < nLon; ++j)
            m.panels.push_back({1, {ring(i, j), ring(i + 1, j), ring(i + 1, j + 1), ring(i, j + 1)}, {}});
    for (int j = 0; j < nLon; ++j)
        m.panels.push_back({2, {ring(nLat - 1, j), south, ring(nLat - 1, j + 1), 0}, {}});
    linkByEdges(&m);
    return m;
}

namespace {

using Grid = std::vector<std::vector<Node>>; // rows across the span, stations along each

Grid wingGrid(const WingShape& s)
{
    const int n = s.perSide;
    const int J = 2 * n - 1;
    const int R = s.strips;
    // Station j: where along the chord, and on which side.
    std::vector<double> u(J + 1);
    std::vector<bool> upper(J + 1);
    for (int j = 0; j <= J; ++j) {
        // Dense about the nose and even toward the trailing edge, as the
        // main program places its stations.
        upper[j] = j <= n;
        u[j] = 1 - std::cos(0.5 * foilgen::kPi * (upper[j] ? n - j : j - n) / n);
    }
    auto camberLine = [&s](double x) {
        const double c = s.camber, p = 0.4;
        return x < p ? c / (p * p) * (2 * p * x - x * x) : c / ((1 - p) * (1 - p)) * (1 - 2 * p + 2 * p * x - x * x);
    };
    const double radius = s.arc > 0 ? 0.5 * s.span / s.arc : 0;
    Grid grid(R + 1);
    for (int i = 0; i <= R; ++i) {
        // Along the span (flat), and the bulge of the row within its cell.
        double along, bulge = 0;
        if (s.stripsPerCell > 0) {
            along = s.span * (double(i) / R - 0.5);
            bulge = s.billow * std::sin(foilgen::kPi * (i % s.stripsPerCell) / s.stripsPerCell);
        } else {
            along = -0.5 * s.span * std::cos(foilgen::kPi * i / R);
        }
        for (int j = 0; j <= J; ++j) {
            const double t = foilgen::halfThickness(u[j], s.thickness);
            const double fx = u[j] * (1 - 0.2 * bulge);
            const double fz = camberLine(u[j]) + (upper[j] ? t * (1 + bulge) : -t * (1 + 0.25 * bulge))
                              - 0.15 * bulge * std::pow(u[j], 4);
            const double x = s.chord * fx, h = s.chord * fz;
            if (radius > 0) {
                const double phi = along / radius, r = radius + h;
                grid[i].push_back({x, r * std::sin(phi), r * std::cos(phi) - radius});
            } else {
                grid[i].push_back({x, along, h});
            }
        }
    }
    return grid;
}

Node mid(const Node& a, const Node& b)
{
    return {0.5 * (a.x + b.x), 0.5 * (a.y + b.y), 0.5 * (a.z + b.z)};
}

// Every panel cut into four on its own bilinear surface: a node between
// every two along a row (the last between the last station and the first,
// across the closing panel) and a row between every two.
Grid subdivided(const Grid& coarse)
{
    Grid along;
    for (const std::vector<Node>& row : coarse) {
        std::vector<Node> r;
        for (size_t j = 0; j < row.size(); ++j) {
            r.push_back(row[j]);
            r.push_back(mid(row[j], row[(j + 1) % row.size()]));
        }
        along.push_back(r);
    }
    Grid fine;
    for (size_t i = 0; i < along.size(); ++i) {
        fine.push_back(along[i]);
        if (i + 1 < along.size()) {
            std::vector<Node> r;
            for (size_t j = 0; j < along[i].size(); ++j)
                r.push_back(mid(along[i][j], along[i + 1][j]));
            fine.push_back(r);
        }
    }
    return fine;
}

Mesh gridMesh(const Grid& grid, const WingShape& s)
{
    Mesh m;
    m.span = s.span;
    m.area = s.span * s.chord;
    const int R = int(grid.size()) - 1;
    const int J = int(grid[0].size()) - 1;
    for (const std::vector<Node>& row : grid)
        m.nodes.insert(m.nodes.end(), row.begin(), row.end());
    const int S = int(m.nodes.size());
    const double reach = s.wakeChords * m.area / m.span;
    for (int i = 0; i <= R; ++i) {
        const Node& T = m.nodes[i * (J + 1)];
        double d[3] = {1, 0, 0};
        if (s.wake == WakeShape::Bisector || s.wake == WakeShape::Crossed) {
            // The bisector of the trailing-edge wedge: from the middle of
            // stations 5 and J - 6 through the trailing edge.
            const Node& A = m.nodes[i * (J + 1) + std::min(5, J)];
            const Node& B = m.nodes[i * (J + 1) + std::max(J - 6, 0)];
            d[0] = T.x - 0.5 * (A.x + B.x), d[1] = T.y - 0.5 * (A.y + B.y), d[2] = T.z - 0.5 * (A.z + B.z);
        } else if (s.wake == WakeShape::Fanned) {
            d[1] = T.y / s.span;
            d[2] = i % 2 ? 0.2 : -0.2;
        }
        const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        Node W{T.x + d[0] / len * reach, T.y + d[1] / len * reach, T.z + d[2] / len * reach};
        if (s.wake == WakeShape::Crossed) {
            // Along the trailing edge by one and a half times the width of
            // the strips beside, to one side and the other by turns.
            const Node& P = m.nodes[std::max(i - 1, 0) * (J + 1)];
            const Node& Q = m.nodes[std::min(i + 1, R) * (J + 1)];
            const double e[3] = {Q.x - P.x, Q.y - P.y, Q.z - P.z};
            const double shift = (i % 2 ? 1.5 : -1.5) / (std::min(i + 1, R) - std::max(i - 1, 0));
            W.x += shift * e[0], W.y += shift * e[1], W.z += shift * e[2];
        }
        m.nodes.push_back(W);
    }
    auto panel = [J, R](int i, int j) { return (j < 0 || j > J || i < 0 || i > R - 1) ? 0 : i * (J + 1) + j + 1; };
    for (int i = 0; i < R; ++i)
        for (int j = 0; j <= J; ++j) {
            Panel p;
            const int jn = j < J ? j + 1 : 0;
            p.nodes = {i * (J + 1) + j + 1, (i + 1) * (J + 1) + j + 1, (i + 1) * (J + 1) + jn + 1,
                       i * (J + 1) + jn + 1};
            int used = 0;
            for (int nb : {panel(i, j - 1), panel(i + 1, j), panel(i, j + 1), panel(i - 1, j)})
                if (nb)
                    p.neighbours[used++] = nb;
            m.panels.push_back(p);
        }
    for (int i = 0; i < R; ++i)
        m.panels.push_back({10,
                            {(i + 1) * (J + 1) + 1, i * (J + 1) + 1, S + 1 + i, S + 2 + i},
                            {i * (J + 1) + 1, i * (J + 1) + J + 1, 0, 0}});
    return m;
}

} // namespace

Mesh Rectangular_Wing(const WingShape& s)
{
    return gridMesh(wingGrid(s), s);
}

Mesh Subdivided_Wing(const WingShape& s)
{
    return gridMesh(subdivided(wingGrid(s)), s);
}

QByteArray Input_File(const Mesh& mesh, int velOrder)
{
    QStringList l;
    l << "APAME input file " << "VERSION 3.0 " << "# FLOW PARAMETERS " << "       " << "# airspeed   [m/s] "
      << QString("AIRSPEED    %1 ").arg(real(11.11111111111111)) << "# air density               [kg/m^3] "
      << "DENSITY 1.225   " << "# atmospheric pressure      [Pa] " << "PRESSURE 101325 "
      << "# prandtl-glauert correction: " << "#   0-no correction " << "#   *-Mach number " << "MACH 0  "
      << "# number of cases " << "# angles of attack          [degrees] " << "# sideslip angles           [degrees] "
      << "CASE_NUM   13  " << "0 1 2 3 4 5 6 7 8 9 10 11 12   " << "0 0 0 0 0 0 0 0 0 0 0 0 0    " << "    "
      << "# REFERENCE VALUES " << "  " << "# wing span                 [m] "
      << QString("WINGSPAN    %1    ").arg(real(mesh.span)) << "# mean aerodynamic chord    [m]    "
      << QString("MAC  %1    ").arg(real(mesh.area / mesh.span)) << "  " << "# wing surface              [m^2]  "
      << QString("SURFACE %1    ").arg(real(mesh.area)) << "  " << "# reference point           [m] "
      << "ORIGIN * " << "0 0 0 " << "       " << "# SOLVER PARAMETERS " << "       " << "# singularity method: "
      << "#   0-constant source/doublet " << "#   1-constant doublet " << "METHOD 0 " << "# error "
      << "ERROR 0.0000001 " << "# collocation point depth " << "COLLDIST 0.0000001 " << "# 'far field' coefficient "
      << "FARFIELD 5 " << "# collocation point calculation: " << "#   0-approximative " << "#   1-accurate "
      << "COLLCALC 0  " << "# interpolation method/order for velocity calculations: " << "#   0-nodal "
      << "#   1-first " << "#   2-second " << QString("VELORDER %1 ").arg(velOrder) << "        " << "        "
      << "# RESULT REQUESTS " << "#   0-no    " << "#   1-yes    "
      << "# RESULTS <1> or <0> (yes or no will the result file be written)    " << "#  1 coefficients    "
      << "#  2 forces    " << "#  3 geometry    " << "#  4 velocity    " << "#  5 pressure    "
      << "#  6 center points    " << "#  7 dipole values    " << "#  8 source values    "
      << "#  9 velocity components    " << "# 10 mesh characteristics    " << "# 11 static pressure    "
      << "# 12 dynamic pressure    " << "# 13 manometer pressure    " << "RESULTS 1    "
      << "  1  1  1  1  1  1  1  1  1  1  1  1  1    " << "# 1  2  3  4  5  6  7  8  9 10 11 12 13    " << "        "
      << "        " << "# GEOMETRY    " << "# x y z                     [m]    "
      << QString("NODES %1 ").arg(mesh.nodes.size());
    for (size_t k = 0; k < mesh.nodes.size(); ++k) {
        const Node& n = mesh.nodes[k];
        l << QString(" %1   %2   %3      node ID: %4 ").arg(real(n.x), real(n.y), real(n.z)).arg(k + 1);
    }
    l << "# type node_id1 node_id2 node_id3 node_id4  elem_id1 elem_id2 elem_id3 elem_id4 "
      << QString("PANELS %1   ").arg(mesh.panels.size());
    for (size_t k = 0; k < mesh.panels.size(); ++k) {
        const Panel& p = mesh.panels[k];
        if (p.type == 1 || p.type == 10) {
            QString line(" %1    %2    %3    %4    %5    %6    %7    %8   %9  panelID: %10 ");
            line = line.arg(p.type).arg(p.nodes[0]).arg(p.nodes[1]).arg(p.nodes[2]).arg(p.nodes[3]);
            line = line.arg(p.neighbours[0]).arg(p.neighbours[1]).arg(p.neighbours[2]).arg(p.neighbours[3]);
            l << line.arg(k + 1);
        } else if (p.type == 2) {
            QString line(" %1    %2    %3    %4    %5    %6    %7      panelID: %8 ");
            line = line.arg(p.type).arg(p.nodes[0]).arg(p.nodes[1]).arg(p.nodes[2]);
            l << line.arg(p.neighbours[0]).arg(p.neighbours[1]).arg(p.neighbours[2]).arg(k + 1);
        }
    }
    l << "# end of input file";
    return l.join('\n').toLatin1();
}

namespace {

// The main program's field rules: digits, ".", "-", "E" and "+" make up the
// fields, the first separator of a run advances to the next field; fourteen
// fields kept; a line shorter than two characters only empties field 1.
void splitFields(const QString& line, QString* f)
{
    if (line.size() < 2) {
        f[1].clear();
        return;
    }
    for (int k = 0; k < 14; ++k)
        f[k].clear();
    int at = 0;
    bool inSeparator = false;
    for (QChar c : line) {
        const bool number = c.isDigit() || c == '.' || c == '-' || c == 'E' || c == '+';
        if (number) {
            inSeparator = false;
            if (at < 14)
                f[at] += c;
        } else if (!inSeparator) {
            inSeparator = true;
            ++at;
        }
    }
}

QString repaired(const QString& s)
{
    QString r = s;
    if (r.startsWith('.'))
        return r.replace(".", "0.");
    return r.replace("-.", "-0.");
}

class ResultLines
{
public:
    explicit ResultLines(const QByteArray& text)
    {
        lines_ = QString::fromLatin1(text).split('\n');
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();
        for (QString& l : lines_)
            if (l.endsWith('\r'))
                l.chop(1);
    }
    QString current() const { return at_ < lines_.size() ? lines_[at_] : QString(); }
    bool find(const QString& key)
    {
        while (!current().contains(key)) {
            if (at_ >= lines_.size())
                return false;
            ++at_;
        }
        return true;
    }
    void next(QString* f)
    {
        ++at_;
        splitFields(current(), f);
    }

private:
    QStringList lines_;
    int at_ = 0;
};

} // namespace

bool Read_Results(const QString& path, Results* r)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    if (text.isEmpty())
        return false;
    ResultLines in(text);
    QString f[14];
    const std::pair<const char*, int*> counts[] = {{"PANEL_NUM", &r->panelNum},
                                                   {"PANEL_NUM_NO_WAKE", &r->panelNumNoWake},
                                                   {"NODE_NUM", &r->nodeNum},
                                                   {"CASE_NUM", &r->caseNum}};
    for (const auto& [key, value] : counts) {
        if (!in.find(key))
            return false;
        in.next(f);
        *value = f[1].toInt();
    }
    const int cases = std::min(r->caseNum, 13);
    for (double* list : {r->alpha, r->beta}) {
        in.next(f);
        for (int c = 0; c < cases; ++c)
            list[c] = f[1 + c].toDouble();
    }
    const std::pair<const char*, double*> coefficients[] = {{"CX", r->cx}, {"CY", r->cy},       {"CZ", r->cz},
                                                            {"CL", r->cl}, {"CM", r->cm},       {"CN", r->cn},
                                                            {"CDRAG", r->cdrag}, {"CLIFT", r->clift}};
    for (const auto& [key, list] : coefficients) {
        if (!in.find(key))
            return false;
        in.next(f);
        for (int c = 0; c < cases; ++c)
            list[c] = f[1 + c].toDouble();
    }
    r->nodes.clear();
    if (!in.find("NODES"))
        return false;
    for (int k = 0; k < r->nodeNum; ++k) {
        in.next(f);
        r->nodes.append(QVector3D(f[1].toDouble(), f[2].toDouble(), f[3].toDouble()));
    }
    r->panels.clear();
    if (!in.find("PANELS"))
        return false;
    for (int k = 0; k < r->panelNum; ++k) {
        in.next(f);
        Panel p;
        p.type = f[1].toInt();
        for (int c = 0; c < 4; ++c) {
            p.nodes[c] = f[2 + c].toInt();
            p.neighbours[c] = f[6 + c].toInt();
        }
        r->panels.append(p);
    }
    r->normals.clear();
    if (!in.find("NORMAL"))
        return false;
    for (int k = 0; k < r->panelNum; ++k) {
        in.next(f);
        for (int c = 0; c < 4; ++c)
            f[c] = repaired(f[c]);
        r->normals.append(QVector3D(f[1].toDouble(), f[2].toDouble(), f[3].toDouble()));
    }
    r->cp.clear();
    if (!in.find("CP"))
        return false;
    for (int k = 0; k < r->panelNumNoWake; ++k) {
        in.next(f);
        std::array<double, 13> row{};
        for (int c = 0; c < cases; ++c) {
            const double v = f[1 + c].toDouble();
            row[c] = v >= -1.5 ? v : -1.5;
        }
        r->cp.append(row);
    }
    return true;
}

} // namespace testmesh
