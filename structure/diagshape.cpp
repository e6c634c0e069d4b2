#include "structure/diagshape.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/diagonals.h"
#include "structure/holefun.h"
#include "structure/trapmap.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTolT = 1e-7;     // bisection stops when the interval is this short
constexpr double kTolWidth = 1e-5; // metres
constexpr int kPieceSteps = 20;    // a tab piece has at most 21 samples

int rowAttach(const ParaStruct* d, int b, int rib)
{
    return d->lineIndex[b + 2][rib];
}

// One bisection for the width: `grows` tells whether the distance to the
// attachment grows with t on this side.
template <class Dist>
double bisectWidth(double lo, double hi, double w, bool grows, Dist dist)
{
    double m = lo;
    while (std::fabs(hi - lo) > kTolT) {
        m = 0.5 * (lo + hi);
        const double d = dist(m);
        if (std::fabs(d - w) < kTolWidth)
            break;
        if ((d > w) != grows)
            lo = m;
        else if (d != w)
            hi = m;
    }
    return m;
}

template <class Poly, class Point, class Eval, class Length>
bool findSegment(const ParaStruct* d, const Poly& poly, double w, Point P, double* t, double t0, Eval eval, Length len)
{
    t[0] = t[1] = 0;
    if (t0 <= 0)
        return false;
    auto dist = [&](double m) { return 2 * d->R_X(len(eval(poly, m), P)); };
    t[0] = t[1] = bisectWidth(0.0, t0, w, false, dist);
    t[1] = bisectWidth(t0, 0.999, w, true, dist);
    return true;
}

double dist2D(QPointF a, QPointF b)
{
    return Dist2(a, b);
}

double dist3D(QVector3D a, QVector3D b)
{
    return Dist3(a, b);
}

QPolygonF reversed(QPolygonF p)
{
    std::reverse(p.begin(), p.end());
    return p;
}

QList<QVector3D> reversed(QList<QVector3D> p)
{
    std::reverse(p.begin(), p.end());
    return p;
}

bool isZero(QPointF p)
{
    return std::fabs(p.x()) < 1e-12 && std::fabs(p.y()) < 1e-12;
}

double tabWidth(const ParaStruct* d, int rib)
{
    return 0.01 * d->diagBottomWidth * d->rib_glob_factor(rib);
}

} // namespace

// ------------------------------------------------------------ polylines

QPointF param_Poly2D(const QPolygonF& poly, double t)
{
    const int n = int(poly.size());
    if (n < 2)
        return QPointF(0, 0);
    if (t <= 0)
        return poly[0];
    const double x = (n - 2) * t;
    const int i = int(std::floor(x));
    if (i >= n - 1)
        return poly[n - 1];
    return poly[i] + (x - i) * (poly[i + 1] - poly[i]);
}

QVector3D param_Poly3D(const QList<QVector3D>& poly, double t)
{
    const int n = int(poly.size());
    if (n == 0)
        return QVector3D();
    if (n < 2 || t <= 0)
        return poly[0];
    const double x = (n - 2) * t;
    const int i = int(std::floor(x));
    if (i >= n - 1)
        return poly[n - 1];
    return poly[i] + float(x - i) * (poly[i + 1] - poly[i]);
}

double param_Poly2D_t_from_k(const QPolygonF& poly, int k)
{
    const int n = int(poly.size());
    if (k >= n - 1)
        return 1.0;
    if (n - 2 <= 0)
        return 0.0;
    return std::clamp(double(k) / (n - 2), 0.0, 1.0);
}

namespace {

// Index of the nearest vertex, the last of equally near ones; 0 when empty.
template <class Poly, class Point, class Length>
int nearestIndex(const Poly& poly, const Point& P, Length len)
{
    int best = 0;
    double bestD = 0;
    for (int i = 0; i < poly.size(); ++i) {
        const double d = len(poly[i], P);
        if (i == 0 || d <= bestD) {
            best = i;
            bestD = d;
        }
    }
    return best;
}

} // namespace

int near_pnt_index(const QPolygonF& poly, QPointF P)
{
    return nearestIndex(poly, P, dist2D);
}

int near_poly_pnt3d_index(const QList<QVector3D>& poly, QVector3D P)
{
    return nearestIndex(poly, P, dist3D);
}

double param_Poly2D_from_Point(const QPolygonF& poly, QPointF P)
{
    int k = -1;
    for (int i = 0; i < poly.size() && k < 0; ++i)
        if (std::fabs(poly[i].x() - P.x()) < 1e-12 && std::fabs(poly[i].y() - P.y()) < 1e-12)
            k = i;
    if (k < 0)
        k = near_pnt_index(poly, P);
    return param_Poly2D_t_from_k(poly, k);
}

double param_Poly3D_from_Point(const QList<QVector3D>& poly, QVector3D P)
{
    int k = int(poly.indexOf(P));
    if (k < 0)
        k = near_poly_pnt3d_index(poly, P);
    const int n = int(poly.size());
    if (k >= n - 1)
        return 1.0;
    if (n - 2 <= 1)
        return 0.0;
    return double(k) / (n - 2);
}

QPolygonF polyFromList(const QList<OrigPnt2D>& list)
{
    QPolygonF out;
    out.reserve(list.size());
    for (const OrigPnt2D& p : list)
        out.append(p.point);
    return out;
}

QList<QVector3D> polyFrom3DList(const QList<OrigPnt3D>& list)
{
    QList<QVector3D> out;
    out.reserve(list.size());
    for (const OrigPnt3D& p : list)
        out.append(p.point);
    return out;
}

QPolygonF Segment_FromList_UP(const QList<OrigPnt2D>& list, int a, int b)
{
    QPolygonF out;
    for (const OrigPnt2D& p : list)
        if (is_between(a, b, p.index))
            out.append(p.point);
    return out;
}

QList<QVector3D> Segment_From3DList_UP(const QList<OrigPnt3D>& list, int a, int b)
{
    QList<QVector3D> out;
    for (const OrigPnt3D& p : list)
        if (is_between(a, b, p.index))
            out.append(p.point);
    return out;
}

// ------------------------------------------------------------ tab search

bool find_seg2D_param(const ParaStruct* d, const QPolygonF& poly, double w, QPointF P, double* t)
{
    const double t0 = param_Poly2D_from_Point(poly, P);
    if (!findSegment(d, poly, w, P, t, t0, param_Poly2D, dist2D))
        return false;
    if (t[0] < t[1])
        return true;
    qDebug().noquote() << QStringLiteral(" find_seg2D_param ...ERROR.t1:%1   t2:%2")
                              .arg(t[0], 0, 'f', 4)
                              .arg(t[1], 0, 'f', 4);
    return false;
}

bool find_seg3D_param(const ParaStruct* d, const QList<QVector3D>& poly, double w, QVector3D P, double* t)
{
    const double t0 = param_Poly3D_from_Point(poly, P);
    if (!findSegment(d, poly, w, P, t, t0, param_Poly3D, dist3D))
        return false;
    return t[0] <= t[1];
}

bool is_Inside_2D_Wid(const ParaStruct* d, const QPolygonF& poly, QPointF P, double w, double t)
{
    return 2 * d->R_X(Dist2(param_Poly2D(poly, t), P)) <= w;
}

bool is_Inside_3D_Wid(const ParaStruct* d, const QList<QVector3D>& poly, QVector3D P, double w, double t)
{
    return 2 * d->R_X(Dist3(param_Poly3D(poly, t), P)) <= w;
}

void set_param_Point(const ParaStruct* d, const QPolygonF& poly, int i1, int i2, QPointF* out, double w, QPointF P)
{
    double t[2];
    if (find_seg2D_param(d, poly, w, P, t)) {
        out[i1] = param_Poly2D(poly, t[0]);
        out[i2] = param_Poly2D(poly, t[1]);
    }
}

void set_param_3d_Point(const ParaStruct* d, const QList<QVector3D>& poly, int i1, int i2, QVector3D* out, double w,
                        QVector3D P)
{
    double t[2];
    if (find_seg3D_param(d, poly, w, P, t)) {
        out[i1] = param_Poly3D(poly, t[0]);
        out[i2] = param_Poly3D(poly, t[1]);
    }
}

void set_param_tpnt(const ParaStruct* d, const QList<OrigPnt2D>& E, int rib, QPointF* out8, QPointF* out4, double w)
{
    for (int b = 0; b < 4; ++b)
        out4[b] = QPointF(0, 0);
    if (rib < 0 || rib >= kRibSlots)
        return;
    for (const OrigPnt2D& p : E) {
        for (int b = 0; b < 4; ++b) {
            if (p.index == rowAttach(d, b, rib) && isZero(out4[b])) {
                out4[b] = p.point;
                break;
            }
        }
    }
    const QPolygonF poly = polyFromList(E);
    for (int b = 3; b >= 0; --b)
        set_param_Point(d, poly, 2 * b + 1, 2 * b, out8, 0.01 * w, out4[b]);
}

void set_param_3d_tpnt(const ParaStruct* d, const QList<OrigPnt3D>& E, int rib, QVector3D* out8, QVector3D* out4,
                       double w)
{
    for (int b = 0; b < 4; ++b)
        out4[b] = QVector3D(0, 0, 0);
    if (rib < 0 || rib >= kRibSlots)
        return;
    for (const OrigPnt3D& p : E) {
        for (int b = 0; b < 4; ++b) {
            if (p.index == rowAttach(d, b, rib) && out4[b] == QVector3D(0, 0, 0)) {
                out4[b] = d->fine_point(rib, b + 2);
                break;
            }
        }
    }
    const QList<QVector3D> poly = polyFrom3DList(E);
    for (int b = 3; b >= 0; --b)
        set_param_3d_Point(d, poly, 2 * b + 1, 2 * b, out8, 0.01 * w, out4[b]);
}

void Get_Diag_Controls(const ParaStruct* d, const QList<OrigPnt2D>& edge, int rib, double w, const int* idx,
                       QPointF* out8, QPointF* out4, int mode)
{
    if (mode == 0)
        set_param_tpnt(d, edge, rib, out8, out4, w);
    else if (mode == 1)
        set_index_tpnt(edge, idx, out8);
}

void Get_3D_Diag_Controls(const ParaStruct* d, int mode, const QList<OrigPnt3D>& edge, int rib, double w,
                          const int* idx, QVector3D* out8, QVector3D* out4)
{
    if (mode == 0)
        set_param_3d_tpnt(d, edge, rib, out8, out4, w);
    else if (mode == 1)
        set_index_3d_tpnt(edge, idx, out8);
}

// ------------------------------------------------------------ edge pieces

namespace {

int bottomRib(const DiagonalData* D)
{
    return D->first.heightPercent > D->second.heightPercent ? D->second.rib : D->first.rib;
}

} // namespace

namespace {

// The samples of the tab around P within the tab width, at most 21.
template <class Poly, class Point, class Find, class Eval, class Inside>
Poly tabPiece(const ParaStruct* d, const DiagonalData* D, const Poly& poly, const Point& P, Find find, Eval eval,
              Inside inside)
{
    Poly out;
    const double w = tabWidth(d, bottomRib(D));
    double t[2];
    if (!find(d, poly, w, P, t) || !(t[0] < t[1]))
        return out;
    const double step = (t[1] - t[0]) / kPieceSteps;
    for (int k = 0; k <= kPieceSteps; ++k) {
        const double s = t[0] + k * step;
        if (inside(d, poly, P, w, s))
            out.append(eval(poly, s));
    }
    return out;
}

} // namespace

QPolygonF Segment_FromList_DW(const ParaStruct* d, const DiagonalData* D, const QList<OrigPnt2D>& edge, QPointF P)
{
    return tabPiece(d, D, polyFromList(edge), P, find_seg2D_param, param_Poly2D, is_Inside_2D_Wid);
}

QList<QVector3D> Segment_From3DList_DW(const ParaStruct* d, const DiagonalData* D, const QList<OrigPnt3D>& edge,
                                       QVector3D P)
{
    return tabPiece(d, D, polyFrom3DList(edge), P, find_seg3D_param, param_Poly3D, is_Inside_3D_Wid);
}

QPolygonF Diagon_ubermuss(double dd, const QPolygonF& poly)
{
    if (poly.size() < 2)
        return poly;
    QPolygonF out;
    out.reserve(2 * (poly.size() - 1));
    for (int i = 0; i + 1 < poly.size(); ++i) {
        out.append(uberLeft(dd, poly[i], poly[i + 1]));
        out.append(uberRight(dd, poly[i], poly[i + 1]));
    }
    return out;
}

QList<QPolygonF> Create_Dia_Seg_List(const ParaStruct* d, const DiagonalData* D, double sigma, const int* top,
                                     const QList<OrigPnt2D>& bottomEdge, const QList<OrigPnt2D>& topEdge)
{
    QList<QPolygonF> strips;
    strips.append(Diagon_ubermuss(-sigma, Segment_FromList_UP(topEdge, top[7], top[0])));
    for (int b = 0; b < 4; ++b)
        strips.append(
            Diagon_ubermuss(-sigma, reversed(Segment_FromList_DW(d, D, bottomEdge, D->first.flatAttach[b]))));
    return strips;
}

QList<QList<QVector3D>> Create_Dia_3D_Seg_List(const ParaStruct* d, const DiagonalData* D, const int* top,
                                               const QList<OrigPnt3D>& bottomLine, const QList<OrigPnt3D>& topLine)
{
    QList<QList<QVector3D>> pieces;
    pieces.append(Segment_From3DList_UP(topLine, top[7], top[0]));
    for (int b = 0; b < 4; ++b)
        pieces.append(reversed(Segment_From3DList_DW(d, D, bottomLine, D->first.spaceAttach[b])));
    return pieces;
}

// ------------------------------------------------------------ cut-outs and holes

QPolygonF create_Poly_Trap(const QPointF* q)
{
    QPolygonF out;
    out.append(q[0]);
    out += Around_Open_Trap(4, 30, q, 0.5);
    out.append(q[3]);
    return out;
}

QList<QVector3D> create_Poly_Trap3D(const QVector3D* q)
{
    QList<QVector3D> out;
    out.append(q[0]);
    out += Around_3D_Trap(4, 60, q, 0.5);
    out.append(q[3]);
    return out;
}

HoleModel Hole_Model(const ParaStruct* d)
{
    HoleModel model;
    if (!d)
        return model;
    for (const QPolygonF& hole : d->diagModelPolys) {
        QList<TrapWeights> places;
        places.reserve(hole.size());
        for (const QPointF& p : hole)
            places.append(Trap_Weights(p, d->diagModelOutline));
        model.append(places);
    }
    return model;
}

QList<QPolygonF> create_wHList_PolyList(const HoleModel& holes, const QPointF* q)
{
    QList<QPolygonF> out;
    for (const QList<TrapWeights>& hole : holes) {
        QPolygonF mapped;
        mapped.reserve(hole.size());
        for (const TrapWeights& p : hole)
            mapped.append(mapTrapPnt(p, q));
        out.append(mapped);
    }
    return out;
}

QList<QList<QVector3D>> create_wHList_Poly3DList(const HoleModel& holes, const QVector3D* q)
{
    // Closed loops: the 3-D view draws each list as one line strip.
    QList<QList<QVector3D>> out;
    for (const QList<TrapWeights>& hole : holes) {
        QList<QVector3D> mapped;
        mapped.reserve(hole.size() + 1);
        for (const TrapWeights& p : hole)
            mapped.append(mapTrap3DPnt(p, q));
        if (!mapped.isEmpty())
            mapped.append(mapped.first());
        out.append(mapped);
    }
    return out;
}

QList<QPolygonF> create_wHList_PolyList(const ParaStruct* d, const QPointF* q)
{
    return create_wHList_PolyList(Hole_Model(d), q);
}

QList<QList<QVector3D>> create_wHList_Poly3DList(const ParaStruct* d, const QVector3D* q)
{
    return create_wHList_Poly3DList(Hole_Model(d), q);
}

void Diagonal_Top_Indexes(const ParaStruct* d, int rib, int* top)
{
    for (int j = 0; j < 8; ++j) {
        const int row = j / 2 + 2;
        const int shift = rib >= 0 && rib < kRibSlots ? d->lineIndex[row][rib] - d->rowCentreIndex[row] : 0;
        top[j] = d->diagRowIndexA[j] - shift;
    }
}

// ------------------------------------------------------------ one diagonal

void Create_Diagonal_2D3D(const ParaStruct& design, DiagonalData* D)
{
    if (!D)
        return;
    Create_Diagonal_2D3D(design, D, Hole_Model(&design));
}

void Create_Diagonal_2D3D(const ParaStruct& design, DiagonalData* D, const HoleModel& holes)
{
    if (!D)
        return;
    const ParaStruct* d = &design;
    const bool firstIsBottom = D->first.heightPercent < D->second.heightPercent;
    const int rb = firstIsBottom ? D->first.rib : D->second.rib;
    const int rt = firstIsBottom ? D->second.rib : D->first.rib;
    const QList<OrigPnt2D>& Fb = firstIsBottom ? D->flatEdgeA : D->flatEdgeB;
    const QList<OrigPnt2D>& Ft = firstIsBottom ? D->flatEdgeB : D->flatEdgeA;
    const QList<OrigPnt3D>& Lb = firstIsBottom ? D->edgeLineA : D->edgeLineB;
    const QList<OrigPnt3D>& Lt = firstIsBottom ? D->edgeLineB : D->edgeLineA;
    const double W = d->diagBottomWidth;
    const double s = d->ToScreen(0.001 * d->seamAllowance[3]);
    const double sigma = firstIsBottom ? s : -s;
    int topB[8], topT[8];
    Diagonal_Top_Indexes(d, rb, topB);
    Diagonal_Top_Indexes(d, rt, topT);

    // Flat.
    Get_Diag_Controls(d, Fb, rb, d->rib_glob_factor(rb) * W, topB, D->first.flatPoints, D->first.flatAttach, 0);
    Get_Diag_Controls(d, Ft, rt, 0, topT, D->second.flatPoints, nullptr, 1);
    const QList<QPolygonF> strip = Create_Dia_Seg_List(d, D, sigma, topT, Fb, Ft);
    const QPointF* B = D->first.flatPoints;
    const QPointF* T = D->second.flatPoints;
    D->flatHoles.clear();
    QList<QPolygonF> cutOuts;
    for (int b = 0; b < 4; ++b) {
        const QPointF tab[4] = {B[2 * b], B[2 * b + 1], T[2 * b + 1], T[2 * b]};
        D->flatHoles += create_wHList_PolyList(holes, tab);
    }
    for (int b = 0; b < 3; ++b) {
        const QPointF cut[4] = {B[2 * b + 2], T[2 * b + 2], T[2 * b + 1], B[2 * b + 1]};
        cutOuts.append(create_Poly_Trap(cut));
    }
    QPolygonF outline = strip[0] + strip[1];
    for (int b = 0; b < 2; ++b)
        outline += reversed(cutOuts[b]) + strip[b + 2];
    if (d->diagModelFlags[0])
        outline += reversed(cutOuts[2]) + strip[4];
    D->flatOutline = outline;

    // 3-D.
    Get_3D_Diag_Controls(d, 0, Lb, rb, d->rib_glob_factor(rb) * W, topB, D->first.spacePoints,
                         D->first.spaceAttach);
    Get_3D_Diag_Controls(d, 1, Lt, rt, 0, topT, D->second.spacePoints, nullptr);
    const QList<QList<QVector3D>> piece = Create_Dia_3D_Seg_List(d, D, topT, Lb, Lt);
    if (rb >= 0 && rb < kRibSlots)
        D->bottomRange3D = Segment_From3DList_UP(Lb, d->diagIndexTableA[7][rb], d->diagIndexTableA[0][rb]);
    D->topRange3D = Segment_From3DList_UP(Lt, topT[7], topT[0]);
    const QVector3D* S = D->first.spacePoints;
    const QVector3D* U = D->second.spacePoints;
    D->spaceHoles.clear();
    QList<QList<QVector3D>> cuts;
    for (int b = 0; b < 4; ++b) {
        const QVector3D tab[4] = {S[2 * b], S[2 * b + 1], U[2 * b + 1], U[2 * b]};
        D->spaceHoles += create_wHList_Poly3DList(holes, tab);
    }
    for (int b = 0; b < 3; ++b) {
        const QVector3D cut[4] = {S[2 * b + 2], U[2 * b + 2], U[2 * b + 1], S[2 * b + 1]};
        cuts.append(create_Poly_Trap3D(cut));
    }
    QList<QVector3D> space = piece[0] + piece[1];
    for (int b = 0; b < 3; ++b)
        space += reversed(cuts[b]) + piece[b + 2];
    space += piece[0];
    D->spaceOutline = space;
}
