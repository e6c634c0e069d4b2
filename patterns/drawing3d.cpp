#include "patterns/drawing3d.h"

#include "core/canopy.h"
#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/lineplan.h"
#include "patterns/acad.h"
#include "patterns/patternsheet.h"

#include <algorithm>
#include <memory>

namespace {

const QString kCanopyLayer = QStringLiteral("Equilines");
const QString kLineLayer = QStringLiteral("Bridle");
const QString kRiserLayer = QStringLiteral("Risers");

constexpr int kStep = 10;      // airfoil points per mesh step
constexpr int kLastStart = 980; // the last step starts here (points beyond 990 unused)

// A line and its mirror image in the symmetry plane.
void bothHalves(ParaStruct* d, const QString& layer, QVector3D a, QVector3D b, int colour)
{
    WriteDxFLine3(d, a, b, layer, colour);
    WriteDxFLine3(d, p_SymY(a), p_SymY(b), layer, colour);
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

bool Wl9_Dxf(const PatternSheet& sheet)
{
    ParaStruct* d = sheet.design;
    Init_Export_To_Acad(d);
    Create_Space_Canopy(d);

    const int last = std::min(d->lastRib, kRibSlots - 1);
    for (int i = std::max(d->firstRib, 0); i < last; ++i) {
        for (int r = 0; r < kLineRows - 1; ++r) {
            const QVector3D* row = d->inflatedGrid[r][i];
            const QVector3D* next = d->inflatedGrid[r + 1][i];
            for (int k = 0; k <= kLastStart; k += kStep) {
                const QVector3D P0 = row[k], P1 = row[k + kStep], P2 = next[k], P3 = next[k + kStep];
                const QVector3D patch[4][2] = {{P0, P1}, {P1, P2}, {P2, P3}, {P3, P0}};
                for (const auto& line : patch)
                    WriteDxFLine3(d, line[0], line[1], kCanopyLayer, 5);
                for (const auto& line : patch)
                    WriteDxFLine3(d, p_SymY(line[0]), p_SymY(line[1]), kCanopyLayer, 5);
            }
        }
    }

    // Each group is some hundred kilobytes: not on the stack.
    auto group = std::make_unique<BridleGroup>();
    auto risers = std::make_unique<BridleGroup>();
    for (int slot = 1; slot < kLineGroupSlots; ++slot) {
        Get_bridle_data(d, slot, group.get(), risers.get());
        for (const LineProp& line : std::as_const(group->lines))
            bothHalves(d, kLineLayer, line.q1, line.q2, 6);
    }
    for (int i = 0; i < risers->lines.size(); ++i) {
        // A riser line without its pair is not drawn.
        if (i < risers->pairs.size() && Riser_Drawn(d->lineGroupCount, risers->pairs.at(i)))
            bothHalves(d, kRiserLayer, risers->lines.at(i).q1, risers->lines.at(i).q2, 7);
    }
    return Finish_Export_To_Acad(GetGlobClass(), QStringLiteral("Wl9_3D.dxf"));
}
