#pragma once

// The field order of the project file, written once for both directions.
// IO is a writer (R = const ParaStruct) or a reader (R = ParaStruct) with
//   v(value)          one value in the data stream's own encoding,
//   polygon(p)        a point count followed by the points,
//   versionAccepted(tag) false stops right after the version tag,
//   stepDone(step)    false stops after the step.

#include "core/parastruct.h"

namespace projectfile {

constexpr int kStoredRibs = 65;     // rib slots kept in the file
constexpr int kOlderFileSteps = 35; // older files end after this step
constexpr int kSteps = 40;

template <class IO, class T>
void each(IO& io, T* values, int count)
{
    for (int k = 0; k < count; ++k)
        io.v(values[k]);
}

template <class IO, class L>
void lineEntry(IO& io, L& line)
{
    io.v(line.p1);
    io.v(line.p2);
    io.v(line.q1);
    io.v(line.q2);
    io.v(line.length);
    io.v(line.diameter);
    io.v(line.load);
}

template <class IO, class A>
void attachEntry(IO& io, A& a)
{
    io.v(a.attached);
    io.v(a.rib);
    io.v(a.row);
    io.v(a.side);
    io.v(a.node);
}

template <class IO, class G>
void groupLine(IO& io, G& g, int e)
{
    io.v(g.idArray[e]);
    io.v(g.pointArray[e]);
    io.v(g.pairArray[e]);
    lineEntry(io, g.lineArray[e]);
}

template <class IO, class G>
void groupHead(IO& io, G& g)
{
    io.v(g.idCount);
    io.v(g.pointCount);
    io.v(g.lineCount);
    io.v(g.pairCount);
}

template <class IO, class F>
void frameCell(IO& io, F& f)
{
    io.v(f.pos);
    io.v(f.pos3D);
    io.v(f.mirrorPos);
    io.v(f.mirrorPos3D);
}

template <class IO, class Row>
void diagonalRow(IO& io, Row& row)
{
    io.v(row.rib);
    io.v(row.connectNext);
    io.v(row.heightPercent);
    each(io, row.lineIndex, 8);
}

template <class IO, class Shape>
void holeShape(IO& io, Shape& s, int corners)
{
    io.v(s.expanded);
    io.v(s.holeCount);
    io.v(s.cornerCount);
    io.v(s.offsetMm);
    io.v(s.cornerStep);
    io.v(s.offset);
    each(io, s.corner, corners);
}

template <class IO, class Rec>
void reservedArrays(IO& io, Rec& rec)
{
    for (int j = 0; j < 24; ++j) {
        io.v(rec.pointsA[j]);
        for (int c = 0; c < 5; ++c)
            io.v(rec.table[c][j]);
        io.v(rec.pointsB[j]);
    }
}

// Runs the forty steps; stops early when io.stepDone() says so.
template <class IO, class R>
void projectSteps(IO& io, R& d)
{
    // 1
    io.v(d.version);
    if (!io.versionAccepted(d.version))
        return;
    io.v(d.projectName);
    if (!io.stepDone(1)) return;
    // 2
    io.v(d.span);
    io.v(d.cells);
    io.v(d.hangHeight);
    io.v(d.billowReductionUp);
    io.v(d.ribTilt);
    io.v(d.maxTwistAngle);
    io.v(d.carabinerDistance);
    io.v(d.minirib.rearRibPosition);
    io.v(d.reservedRecords[0].value);
    if (!io.stepDone(2)) return;
    // 3
    io.v(d.cellWidthStep);
    io.v(d.legaX);
    io.v(d.hangingPoint);
    each(io, d.seamAllowance, 4);
    if (!io.stepDone(3)) return;
    // 4
    io.v(d.reservedInt2);
    io.v(d.reservedInt3);
    io.v(d.transitionRib1);
    io.v(d.transitionRib2);
    if (!io.stepDone(4)) return;
    // 5
    io.v(d.brakeMiddleRelax);
    io.v(d.brakeEdgeRelax);
    io.v(d.holeEdgeFactor);
    io.v(d.reservedDouble6);
    io.v(d.minirib.rearRibCavity);
    io.v(d.edgeTipFactor);
    io.v(d.reservedDouble3);
    if (!io.stepDone(5)) return;
    // 6
    io.v(d.brakeCentreRib);
    io.v(d.oswaldFactor);
    io.v(d.chordStationCount);
    if (!io.stepDone(6)) return;
    // 7
    io.v(d.billowReductionDown);
    io.v(d.reservedDouble1);
    io.v(d.reservedDouble2);
    io.v(d.ropesMomentFactor);
    io.v(d.reservedDouble7);
    io.v(d.reservedDouble8);
    io.v(d.pilotArea);
    io.v(d.pilotCd);
    io.v(d.ropesCd);
    io.v(d.totalWeight);
    if (!io.stepDone(7)) return;
    // 8
    io.v(d.smoothModel);
    io.v(d.sideCells);
    io.v(d.firstRib);
    io.v(d.lastRib);
    io.v(d.lastCell);
    io.v(d.centreRib);
    io.v(d.centreCell);
    if (!io.stepDone(8)) return;
    // 9
    io.v(d.billowLineOffset);
    io.v(d.billowLineIndex);
    each(io, d.reservedRecords[0].params, 6);
    io.v(d.reservedDouble4);
    io.v(d.minirib.frontRibStart);
    io.v(d.minirib.frontRibEnd);
    io.v(d.billowLineOnTop);
    io.v(d.minirib.mylarStart);
    io.v(d.minirib.mylarEnd);
    if (!io.stepDone(9)) return;
    // 10
    io.v(d.profileAlignment);
    io.v(d.reservedDouble9);
    io.v(d.reservedDouble10);
    io.v(d.reservedDouble5);
    io.v(d.towForce);
    io.v(d.pilotShiftPercent);
    io.v(d.controlPointDiameter);
    io.v(d.lineGroupCount);
    each(io, d.reservedIntTable, 8);
    if (!io.stepDone(10)) return;
    // 11
    for (int k = 0; k < 3; ++k) {
        io.v(d.designAirfoilNames[k]);
        io.polygon(d.designAirfoils[k]);
    }
    if (!io.stepDone(11)) return;
    // 12
    for (int i = 0; i < kStoredRibs; ++i) {
        io.v(d.leadingEdgeX[i]);
        io.v(d.trailingEdgeX[i]);
        io.v(d.ribSpanPos[i]);
        io.v(d.cellWidth[i]);
        io.v(d.chord[i]);
        io.v(d.frontY[i]);
        io.v(d.frontZ[i]);
        io.v(d.twistedLeadingEdgeX[i]);
        io.v(d.ribAngle[i]);
        io.v(d.noseIndex[i]);
        io.v(d.topIndex[i]);
        io.v(d.bottomIndex[i]);
        io.v(d.reservedRibTable1[i]);
        io.v(d.reservedRibTable2[i]);
        io.v(d.reservedRibTable3[i]);
        io.v(d.reservedRibTable4[i]);
        io.v(d.reservedRibTable5[i]);
        io.v(d.reservedRibTable6[i]);
        for (int r = 0; r < kLineRows; ++r)
            io.v(d.lineIndex[r][i]);
        io.v(d.ribShift[i]);
        io.polygon(d.ribAirfoils[i]);
        diagonalRow(io, d.diagTableD1[i]);
        for (int k = 0; k < 4; ++k) {
            io.v(d.reservedRibInts1[k][i]);
            io.v(d.reservedRibInts2[k][i]);
        }
        io.v(d.frontRibEnabled[i]);
        io.v(d.rearRibEnabled[i]);
        io.v(d.reservedRibFlags[i]);
    }
    if (!io.stepDone(12)) return;
    // 13
    for (int k = 0; k < 8; ++k) {
        io.v(d.upControlMarkers[k]);
        io.v(d.upControlIndex[k]);
    }
    for (int k = 0; k < 6; ++k) {
        io.v(d.skinControlMarkers[k]);
        io.v(d.skinControlIndex[k]);
    }
    if (!io.stepDone(13)) return;
    // 14
    for (int j = 0; j < 6 * kRibSlots; ++j) {
        const int s = j / kRibSlots, i = j % kRibSlots;
        io.v(d.reservedPoints1[s][i]);
        io.v(d.reservedPointFlags1[s][i]);
        io.v(d.reservedPoints2[s][i]);
        io.v(d.reservedPointFlags2[s][i]);
    }
    if (!io.stepDone(14)) return;
    // 15
    for (int k = 0; k < 8; ++k) {
        io.v(d.strapWidth[k]);
        io.v(d.reservedFlags1[k]);
        io.v(d.reservedFlags3[k]);
        io.v(d.reservedFlags2[k]);
        for (int c = 0; c < 5; ++c) {
            io.v(d.reservedTableValues[k][c]);
            io.v(d.reservedTableNames[k][c]);
        }
    }
    if (!io.stepDone(15)) return;
    // 16
    for (int r = 0; r < kLineRows; ++r) {
        io.v(d.rowPercent[r]);
        io.v(d.rowMarkers[r]);
        io.v(d.rowCentreIndex[r]);
    }
    if (!io.stepDone(16)) return;
    // 17
    each(io, d.lineGroupShares, 4);
    for (int k = 0; k < 5; ++k) {
        io.v(d.minirib.mylarSplineA[k]);
        io.v(d.minirib.mylarSplineB[k]);
    }
    if (!io.stepDone(17)) return;
    // 18
    reservedArrays(io, d.reservedRecords[0]);
    if (!io.stepDone(18)) return;
    // 19
    for (int k = 0; k < 2; ++k) {
        io.v(d.rod1.controlA[k]);
        io.v(d.rod1.index[k]);
        io.v(d.rod1.controlB[k]);
        io.v(d.rod2.controlA[k]);
        io.v(d.rod2.index[k]);
        io.v(d.rod2.controlB[k]);
    }
    if (!io.stepDone(19)) return;
    // 20
    each(io, d.planControlPoints, 8);
    each(io, d.frontControlPoints, 4);
    each(io, d.wingFlexPercent, 9);
    each(io, d.strapFixed, 8);
    if (!io.stepDone(20)) return;
    // 21
    for (int m = 1; m < 5; ++m) {
        each(io, d.reservedRecords[m].params, 6);
        reservedArrays(io, d.reservedRecords[m]);
    }
    if (!io.stepDone(21)) return;
    // 22
    for (int i = 0; i < kStoredRibs; ++i)
        io.v(d.diagTableD1[i].ribType);
    each(io, d.crossPortTriIndex, 13);
    if (!io.stepDone(22)) return;
    // 23
    for (int g = 0; g < kCrossPortGroups; ++g) {
        each(io, d.crossPorts[g].values, 13);
        for (int t = 0; t < kCrossPortTriangles; ++t)
            holeShape(io, d.crossPorts[g].triangles[t], 3);
    }
    if (!io.stepDone(23)) return;
    // 24
    io.v(d.diagStartIndexA);
    io.v(d.diagStartIndexB);
    for (int k = 0; k < 8; ++k) {
        io.v(d.diagRowIndexA[k]);
        io.v(d.diagRowIndexB[k]);
    }
    io.v(d.diagMask1);
    io.v(d.diagMask2);
    if (!io.stepDone(24)) return;
    // 25
    for (int i = 0; i < kStoredRibs; ++i)
        diagonalRow(io, d.diagTableD2[i]);
    if (!io.stepDone(25)) return;
    // 26
    for (int k = 0; k < 9; ++k) {
        io.v(d.trapIndexA[k]);
        io.v(d.trapIndexB[k]);
    }
    if (!io.stepDone(26)) return;
    // 27
    for (int g = 0; g < kCrossPortGroups; ++g) {
        io.v(d.crossPorts[g].shapeCount);
        for (int t = 0; t < kCrossPortTraps; ++t)
            holeShape(io, d.crossPorts[g].traps[t], 4);
    }
    if (!io.stepDone(27)) return;
    // 28
    each(io, d.diagModelPoints, 12);
    each(io, d.diagModelFlags, 4);
    io.v(d.diagModelTriangle.holeCount);
    io.v(d.diagModelTriangle.offsetMm);
    io.v(d.diagModelTriangle.cornerCount);
    each(io, d.diagModelTriangle.corner, 3);
    io.v(d.diagBottomWidth);
    if (!io.stepDone(28)) return;
    // 29
    for (int i = 0; i < kStoredRibs; ++i) {
        for (int r = 0; r < 8; ++r) {
            io.v(d.diagIndexTableA[r][i]);
            io.v(d.diagIndexTableB[r][i]);
        }
    }
    if (!io.stepDone(29)) return;
    // 30
    for (int g = 0; g < kLineGroupSlots; ++g) {
        groupHead(io, d.bridle.groups[g]);
        for (int e = 0; e < kStoredRiserLines; ++e)
            groupLine(io, d.bridle.groups[g], e);
    }
    if (!io.stepDone(30)) return;
    // 31
    for (int s = 0; s < 6; ++s)
        for (int i = 0; i < kStoredRibs; ++i)
            frameCell(io, d.bridle.frame[i][s]);
    if (!io.stepDone(31)) return;
    // 32
    each(io, d.lineWeights, 7);
    if (!io.stepDone(32)) return;
    // 33
    groupHead(io, d.bridle.riserGroup);
    for (int e = 0; e < kStoredRiserLines; ++e)
        groupLine(io, d.bridle.riserGroup, e);
    if (!io.stepDone(33)) return;
    // 34
    for (int k = 0; k < kRiserFrames; ++k) {
        io.v(d.bridle.riserFrames[k].pos);
        io.v(d.bridle.riserFrames[k].pos3D);
        io.v(d.riserTops[k]);
    }
    if (!io.stepDone(34)) return;
    // 35
    for (int g = 0; g < kLineGroupSlots; ++g) {
        io.v(d.bridle.groups[g].attachmentCount);
        for (int e = 0; e < kStoredRiserLines; ++e)
            attachEntry(io, d.bridle.groups[g].attachArray[e]);
    }
    if (!io.stepDone(35)) return;
    // 36
    io.v(d.designAirfoilNames[3]);
    io.polygon(d.designAirfoils[3]);
    each(io, d.positionAirfoilIndex, 4);
    if (!io.stepDone(36)) return;
    // 37
    for (int s = 6; s < 8; ++s)
        for (int i = 0; i < kStoredRibs; ++i)
            frameCell(io, d.bridle.frame[i][s]);
    if (!io.stepDone(37)) return;
    // 38
    io.v(d.lineWeights[7]);
    io.v(d.reservedInt4);
    if (!io.stepDone(38)) return;
    // 39
    for (int g = 0; g < kLineGroupSlots; ++g) {
        for (int e = kStoredRiserLines; e < kLineEntries; ++e) {
            groupLine(io, d.bridle.groups[g], e);
            attachEntry(io, d.bridle.groups[g].attachArray[e]);
        }
    }
    if (!io.stepDone(39)) return;
    // 40
    io.v(d.strapWidth[8]);
    io.v(d.strapFixed[8]);
    for (int r = 0; r < kLineRows; ++r)
        for (int i = 0; i < kRibSlots; ++i)
            io.v(d.lineStrips[r][i]);
    io.stepDone(40);
}

} // namespace projectfile
