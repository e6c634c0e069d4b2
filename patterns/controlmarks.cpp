#include "patterns/controlmarks.h"

#include "core/parastruct.h"

namespace {

double markDiameter(const ParaStruct* design)
{
    return design->ToScreen(0.001 * design->controlPointDiameter);
}

// The polygon writers' marks are too small to see on screen at their cutting
// size: the preview draws them six times larger.
constexpr double kPreviewEnlargement = 6;

} // namespace

void Sheet_Marks(PieceSheet* out, const ParaStruct* design, const QPolygonF& points, int n, const QString& layer)
{
    const double r = 0.6 * markDiameter(design);
    for (const QPointF& p : points)
        out->mark(p, r, kPreviewEnlargement * r, n, layer);
}

void Sheet_Marks2(PieceSheet* out, const ParaStruct* design, const QPolygonF& points, const QPolygon& sides,
                  const QString& layer)
{
    const double r = 0.6 * markDiameter(design);
    for (int k = 0; k < points.size(); ++k) {
        const bool lower = k < sides.size() && sides.at(k).y() != 0;
        out->mark(points.at(k), r, kPreviewEnlargement * r, lower ? 3 : 16, layer);
    }
}

void Sheet_Mark(PieceSheet* out, const ParaStruct* design, QPointF point, int n, const QString& layer)
{
    const double r = 0.65 * markDiameter(design);
    out->mark(point, r, r, n, layer);
}
