#include "patterns/drawing3d.h"

#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/lineplan.h"
#include "patterns/patternsheet.h"
#include "geom/sheet.h"

#include <QList>

#include <algorithm>
#include <memory>

namespace {


constexpr int kStep = 10;      // airfoil points per mesh step
constexpr int kLastStart = 980; // the last step starts here (points beyond 990 unused)

// A line and its mirror image in the symmetry plane.
void bothHalves(PieceSheet* out, int layer, QVector3D a, QVector3D b, int colour)
{
    out->line3D(a, b, layer, colour);
    out->line3D(p_SymY(a), p_SymY(b), layer, colour);
}

} // namespace

void Get_bridle_data(const ParaStruct* design, int slot, BridleGroup* group, BridleGroup* risers)
{
    if (slot >= 0 && slot < kLineGroupSlots) {
        *group = design->bridle.groups[slot];
        Rebuild_Group_Lists(group);
    }
    *risers = design->bridle.riserGroup;
    Rebuild_Group_Lists(risers);
}

bool Riser_Drawn(int lineGroupCount, QPoint pair)
{
    return lineGroupCount <= pair.y();
}

PieceSheet Drawing3D_Sheet(const PatternSheet& sheet)
{
    const ParaStruct* d = sheet.design;
    PieceSheet out(d->dxfScale);
    const int canopyLayer = out.layerIndex(QStringLiteral("Equilines"));
    const int lineLayer = out.layerIndex(QStringLiteral("Bridle"));
    const int riserLayer = out.layerIndex(QStringLiteral("Risers"));

    // The lines of the bridle and the risers, gathered first so that the
    // sheet is made as large as all its lines at once: growing a list of a
    // hundred thousand lines would copy it whole.
    struct Line {
        int layer, colour;
        QVector3D a, b;
    };
    QList<Line> lines;
    {
        // Each group is some hundred kilobytes: not on the stack.
        auto group = std::make_unique<BridleGroup>();
        auto risers = std::make_unique<BridleGroup>();
        for (int slot = 1; slot < kLineGroupSlots; ++slot) {
            Get_bridle_data(d, slot, group.get(), risers.get());
            for (const LineProp& line : std::as_const(group->lines))
                lines.append({lineLayer, 6, line.q1, line.q2});
        }
        for (int i = 0; i < risers->lines.size(); ++i) {
            // A riser line without its pair is not drawn.
            if (i < risers->pairs.size() && Riser_Drawn(d->lineGroupCount, risers->pairs.at(i)))
                lines.append({riserLayer, 7, risers->lines.at(i).q1, risers->lines.at(i).q2});
        }
    }

    const int first = std::max(d->firstRib, 0);
    const int last = std::min(d->lastRib, kRibSlots - 1);
    out.reserve3D(qsizetype(std::max(last - first, 0)) * (kLineRows - 1) * (kLastStart / kStep + 1) * 8
                  + 2 * lines.size());
    for (int i = first; i < last; ++i) {
        for (int r = 0; r < kLineRows - 1; ++r) {
            const QVector3D* row = d->inflatedGrid[r][i];
            const QVector3D* next = d->inflatedGrid[r + 1][i];
            for (int k = 0; k <= kLastStart; k += kStep) {
                const QVector3D P0 = row[k], P1 = row[k + kStep], P2 = next[k], P3 = next[k + kStep];
                const QVector3D patch[4][2] = {{P0, P1}, {P1, P2}, {P2, P3}, {P3, P0}};
                for (const auto& line : patch)
                    out.line3D(line[0], line[1], canopyLayer, 5);
                for (const auto& line : patch)
                    out.line3D(p_SymY(line[0]), p_SymY(line[1]), canopyLayer, 5);
            }
        }
    }

    for (const Line& line : std::as_const(lines))
        bothHalves(&out, line.layer, line.a, line.b, line.colour);
    return out;
}
