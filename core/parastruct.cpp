#include "core/parastruct.h"

#include "core/designedit.h"

ParaStruct::ParaStruct()
{
    // Every member starts at zero, false or empty through its initialiser;
    // then the defaults of a new design.
    SetInitialValues();
}

ParaStruct::ParaStruct(const ParaStruct&) = default;
ParaStruct& ParaStruct::operator=(const ParaStruct&) = default;
ParaStruct::~ParaStruct() = default;

void ParaStruct::SetInitialValues()
{
    version = QStringLiteral("7.0.0.0");

    for (int r = 0; r < kLineRows; ++r) {
        rowCentreIndex[r] = 600 + 5 * r;
        rowPercent[r] = 0.12 * r;
        for (int i = 0; i < kRibSlots; ++i) {
            lineIndex[r][i] = 600 + 5 * r;
            dynLineIndex[r][i] = 600 + 5 * r;
        }
    }

    rod1.index[0] = 100;
    rod1.index[1] = 600;
    const int skin[6] = {1, 101, 401, 901, 1601, 2501};
    for (int k = 0; k < 6; ++k)
        skinControlIndex[k] = skin[k];

    span = 12.0;
    cells = 34;
    hangHeight = 7.0;
    carabinerDistance = 0.7;
    profileAlignment = 25.0;

    transitionRib1 = 1;
    transitionRib2 = 65;

    seamAllowance[0] = 10.0;
    seamAllowance[1] = 20.0;
    seamAllowance[2] = 20.0;
    seamAllowance[3] = 10.0;

    reservedDouble4 = 4.5;
    centreCell = false;
    centreRib = true;

    // Placeholders until the start-up design replaces them.
    for (int i = 0; i < 2; ++i) {
        leadingEdgeX[i] = 100.0;
        trailingEdgeX[i] = 200.0;
        ribShift[i] = 0.0;
    }

    for (int k = 0; k < 8; ++k)
        strapWidth[k] = 10;

    smoothModel = true;
    edgeTipFactor = 0.5;
    holeEdgeFactor = 1.5;
    reservedDouble6 = 1.2;
    totalWeight = 105.0;
    pilotArea = 0.45;
    pilotCd = 0.5;
    ropesCd = 1.0;
    oswaldFactor = 1.0;
    pilotShiftPercent = 25.0;

    const int spareInts[8] = {0, 0, 0, 0, 90, 90, 90, 0};
    for (int k = 0; k < 8; ++k)
        reservedIntTable[k] = spareInts[k];

    diagBottomWidth = 1.0;
    for (auto& row : diagTableRows)
        for (int& v : row)
            v = 4;
    for (DiagonalRow& row : diagTableD1)
        row.rib = -1;

    controlPointDiameter = 0.006;

    lineGroupShares[0] = 0.5;
    lineGroupShares[1] = 0.3;
    lineGroupShares[2] = 0.1;
    lineGroupShares[3] = 0.1;
    lineGroupCount = 4;

    reservedDouble10 = 1.0;
    for (int s = 0; s < 6; ++s) {
        for (int i = 0; i < kRibSlots; ++i) {
            reservedPointFlags1[s][i] = true;
            reservedPointFlags2[s][i] = true;
        }
    }
}

void ParaStruct::Reset_CellsNumber()
{
    const RibLayout r = Rib_Layout(cells);
    firstRib = r.firstRib;
    sideCells = r.sideCells;
    lastRib = r.lastRib;
    lastCell = r.lastCell;
    centreCell = r.centreCell;
    centreRib = r.centreRib;

    cellWidthStep = 0;
    Reset_Dyn_LineInd();
    // Every slot: a shift kept from the old rib layout would otherwise move a
    // rib of the new one that the user never shifted.
    for (int i = 0; i < kRibSlots; ++i)
        ribShift[i] = 0.0;
}

void ParaStruct::SaveCanopyPos(const QPointF* points)
{
    for (int k = 0; k < 8; ++k)
        planControlPoints[k] = points[k];
}

void ParaStruct::GetCanopyPos(QPointF* points) const
{
    for (int k = 0; k < 8; ++k)
        points[k] = planControlPoints[k];
}

void ParaStruct::SetFNodePos(const QPointF* points)
{
    for (int k = 0; k < 4; ++k)
        frontControlPoints[k] = points[k];
}

void ParaStruct::GetFacePos(QPointF* points) const
{
    for (int k = 0; k < 4; ++k)
        points[k] = frontControlPoints[k];
}

ParaStruct* GetDataStruct()
{
    static ParaStruct* const dataStruct = new ParaStruct;
    return dataStruct;
}

GlobClass* GetGlobClass()
{
    static GlobClass* const globclass = new GlobClass;
    return globclass;
}

namespace {
double planUnitsFromMm(int mm)
{
    // millimetres -> metres -> plan units (half the span is 1000 units)
    return (mm * 0.001) * 1000.0 / (0.5 * GetDataStruct()->span);
}
} // namespace

void Triang::set_offset()
{
    offset = planUnitsFromMm(offsetMm);
}

void Trap::set_offset()
{
    offset = planUnitsFromMm(offsetMm);
}
