#include "patterns/scratchloan.h"

#include "core/parastruct.h"

#include <algorithm>
#include <iterator>

// Every value of the record the routines write while a sheet is drawn.
struct ScratchValues {
    MiniribData minirib;
    QPolygonF cellOutlinesA[kStructSlots];
    QPolygonF cellOutlinesB[kStructSlots];
    CrossPorts crossPorts[kCrossPortGroups];
    int crossPortTriIndex[13];
    Triang baseTriangles[13];
    int trapIndex[8];
    QPointF baseTriPoints[13];
    int trapIndexA[9];
    int trapIndexB[9];
    QPointF baseTrapPoints[3][9];
    Trap baseTraps[18];
    QList<QPolygonF> diagModelPolys;
    QList<QPolygonF> diagCutOuts;
    QList<QPolygonF> diagSeamStrips;
    QList<QList<QVector3D>> diagSegments3D;
};

namespace {

template <typename T, size_t N>
void copyArray(const T (&from)[N], T (&to)[N])
{
    std::copy(std::begin(from), std::end(from), std::begin(to));
}

template <typename From, typename To>
void exchange(From& from, To& to)
{
    to.minirib = from.minirib;
    copyArray(from.cellOutlinesA, to.cellOutlinesA);
    copyArray(from.cellOutlinesB, to.cellOutlinesB);
    copyArray(from.crossPorts, to.crossPorts);
    copyArray(from.crossPortTriIndex, to.crossPortTriIndex);
    copyArray(from.baseTriangles, to.baseTriangles);
    copyArray(from.trapIndex, to.trapIndex);
    copyArray(from.baseTriPoints, to.baseTriPoints);
    copyArray(from.trapIndexA, to.trapIndexA);
    copyArray(from.trapIndexB, to.trapIndexB);
    for (int g = 0; g < 3; ++g)
        copyArray(from.baseTrapPoints[g], to.baseTrapPoints[g]);
    copyArray(from.baseTraps, to.baseTraps);
    to.diagModelPolys = from.diagModelPolys;
    to.diagCutOuts = from.diagCutOuts;
    to.diagSeamStrips = from.diagSeamStrips;
    to.diagSegments3D = from.diagSegments3D;
}

} // namespace

ScratchLoan::ScratchLoan(const ParaStruct* design)
    : record(const_cast<ParaStruct*>(design)), saved(new ScratchValues)
{
    exchange(*record, *saved);
}

ScratchLoan::~ScratchLoan()
{
    exchange(*saved, *record);
    delete saved;
}
