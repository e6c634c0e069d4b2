#include "patterns/panelmanager.h"

#include "patterns/cellstrip.h"
#include "core/parastruct.h"
#include "patterns/designsegments.h"
#include "patterns/panelcut.h"
#include "core/transf.h"
#include "patterns/patterngeom.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <cmath>
#include <thread>
#include <vector>

void Longpattern_Manager(const ParaStruct& design, int cell, const QList<Spline>* lines, bool lineSegments,
                         QList<WholePoly>* pieces, QStringList* slopeWarnings, UnFolder* strip)
{
    if (!pieces)
        return;
    pieces->clear();
    UnFolder developed;
    Unfold_ZERO_Longpattern(design, cell, &developed);
    Generate_4Start_Polygons(&design, cell, &developed, pieces);
    if (lines && !lines->isEmpty() && !pieces->isEmpty()) {
        QList<QPolygonF> xySegments;
        QList<QPolygon> uvSegments;
        // The centre cell's segments lie between the mirrored rib 1 (as
        // points of rib 0) and rib 1.
        if (cell == 0 && design.centreCell)
            Create_segment_list(design, 0, lines, lineSegments, developed.mirrored, developed.right, &xySegments,
                                &uvSegments);
        else
            Create_segment_list(design, cell, lines, lineSegments, developed.left, developed.right, &xySegments,
                                &uvSegments);
        const int n = std::min(xySegments.size(), uvSegments.size());
        for (int r = 0; r < n; ++r) {
            check_segments_slope(design, cell, uvSegments.at(r), slopeWarnings);
            Perform_Intersections(&design, xySegments.at(r), uvSegments.at(r), pieces);
        }
    }
    Order_Pieces(pieces);
    if (strip)
        *strip = std::move(developed);
}

QList<CellPanels> Longpattern_Cells(const ParaStruct& design, int count, const QList<Spline>* lines, bool lineSegments,
                                    bool slopeCheck)
{
    QList<CellPanels> cells(std::max(count, 0));
    CellPanels* out = cells.data();
    // Each worker takes the next cell not yet taken; a cell's panels depend
    // on the design alone, which every worker only reads.
    std::atomic<int> next{0};
    auto work = [&] {
        for (int cell = next++; cell < count; cell = next++) {
            CellPanels& c = out[cell];
            Longpattern_Manager(design, cell, lines, lineSegments, &c.pieces, slopeCheck ? &c.slopeWarnings : nullptr);
        }
    };
    const int workers = std::min<int>(std::max(1u, std::thread::hardware_concurrency()), count) - 1;
    std::vector<std::thread> helpers;
    helpers.reserve(std::max(workers, 0));
    for (int k = 0; k < workers; ++k) {
        // Without another thread the ones there are do all the cells.
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return cells;
}

namespace {

// Angle from the span-wise direction of the UV step from p to q, in degrees.
double slopeAngle(QPoint p, QPoint q)
{
    const double du = std::abs(p.x() - q.x()), dv = std::abs(p.y() - q.y());
    return dv > 0 ? std::atan2(dv, du) * 180 / 3.141592653 : 0.0;
}

} // namespace

void check_segments_slope(const ParaStruct& design, int cell, const QPolygon& uvSegment, QStringList* warnings)
{
    if (!warnings || uvSegment.size() <= 30 || cell < design.firstRib)
        return;
    const int n = uvSegment.size();
    const double a1 = slopeAngle(uvSegment.at(0), uvSegment.at(20));
    const double a2 = slopeAngle(uvSegment.at(n - 1), uvSegment.at(n - 20));
    for (double a : {a1, a2})
        if (a > 85.0)
            warnings->append(QStringLiteral(" critical slope in rib:%1    angle:%2 \n").arg(cell).arg(a, 0, 'f', 0));
}

void Set_Order_Keys(QList<WholePoly>* pieces)
{
    for (WholePoly& piece : *pieces) {
        if (piece.outline.isEmpty())
            continue;
        // The chord-wise place of the piece, from the upper trailing edge
        // over the nose to the lower trailing edge: the mean V (airfoil
        // index) of its outline. The mean flat y would not do: the strip of
        // a strongly tapered cell curls round, and its lower piece can lie
        // above its nose piece on the sheet.
        double sum = 0;
        for (const PntPart& p : std::as_const(piece.outline))
            sum += p.uv.y();
        piece.orderKey = qRound(500 - sum / piece.outline.size());
    }
}

void Clean_List(QList<WholePoly>* pieces)
{
    QList<WholePoly> kept;
    kept.reserve(pieces->size());
    for (const WholePoly& piece : std::as_const(*pieces))
        if (std::abs(Poly_B_Square(SetPolylineFromList(piece))) > 0)
            kept.append(piece);
    *pieces = kept;
}

bool toAscending(const WholePoly& a, const WholePoly& b)
{
    return a.orderKey > b.orderKey;
}

void Order_Pieces(QList<WholePoly>* pieces)
{
    if (!pieces)
        return;
    Set_Order_Keys(pieces);
    Clean_List(pieces);
    // A stable sort: pieces of equal key come out the same every run.
    if (pieces->size() > 1)
        std::stable_sort(pieces->begin(), pieces->end(), toAscending);
}
