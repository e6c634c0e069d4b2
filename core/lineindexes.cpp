// Line attachment indexes of the ribs: the virtual indexes at each row's
// chord position and their copy into the edited attachment table.

#include "parastruct.h"

namespace {
// Nose of a standard-order airfoil: the smallest x among the indexes n/2 up
// to 3n/4 - 1 (the first on ties); 0 when that range is empty.
int noseOf(const QPolygonF& p)
{
    const int n = int(p.size());
    int best = 0;
    bool found = false;
    for (int i = n / 2; i <= (3 * n) / 4 - 1; ++i) {
        if (!found || p[i].x() < p[best].x()) {
            best = i;
            found = true;
        }
    }
    return found ? best : 0;
}
} // namespace

void ParaStruct::Ribs_VirtualLineInd()
{
    if (designAirfoils[0].isEmpty())
        return;
    for (int i = firstRib; i <= lastRib && i < kRibSlots; ++i)
        teLineIndex[i] = 999;
    for (int r = 0; r < kLineRows; ++r) {
        for (int i = 0; i <= lastRib && i < kRibSlots; ++i) {
            const QPolygonF& foil = ribAirfoils[i];
            if (foil.isEmpty())
                continue;
            const int n = noseOf(foil);
            const int size = int(foil.size());
            const double target = foil[n].x() + (foil[0].x() - foil[n].x()) * rowPercent[r] / 100.0;
            if (n + 1 < 999 && n + 1 < size && target > foil[n + 1].x()) {
                int j = n + 1;
                while (j + 1 != 999 && j + 1 < size && target > foil[j + 1].x())
                    ++j;
                dynLineIndex[r][i] = j;
            } else {
                dynLineIndex[r][i] = 0;
            }
        }
    }
}

void ParaStruct::Reset_Dyn_LineInd()
{
    Ribs_VirtualLineInd();
    for (int r = 0; r < kLineRows; ++r)
        for (int i = 0; i <= lastRib && i < kRibSlots; ++i)
            lineIndex[r][i] = dynLineIndex[r][i];
}
