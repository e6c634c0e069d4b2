#pragma once

// The field order of the project file, written once for both directions.
// IO is a writer (R = const ParaStruct) or a reader (R = ParaStruct) with
//   v(value)          one value in the data stream's own encoding,
//   v(value, field)   the same for a value made of floating-point numbers,
//                     which carries where it lives and its plausible range:
//                     the reader refuses a number that is not finite or lies
//                     outside the range, and names the field,
//   polygon(p, field) a point count followed by the points,
//   versionAccepted(tag) false stops right after the version tag,
//   stepDone(step)    false stops after the step.

#include "core/designinputs.h"
#include "core/parastruct.h"
#include <QString>

#include <limits>

namespace projectfile {

// The values a stored number may plausibly hold, bounds included.
using Range = ValueRange;

// The ranges of the stored numbers that are not the user's own (those are in
// core/designinputs.h): the values the recompute derives, and those the
// editors set by dragging and choosing. They are wide, so that every real
// wing (a small model, a tandem, a kite) and every file the program has
// written fits with room to spare; a value outside is damage or an edit by
// hand, which would carry through every computation into the cut patterns.
// Plan units: half the span is 1000.
constexpr Range kAnyValue{-std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::infinity()}; // kept, used by no computation
constexpr Range kPlanUnits{-1e5, 1e5};   // positions and lengths on the plan, in the views and in 3-D
constexpr Range kChordUnits{-10.0, 10.0}; // airfoil coordinates, the chord being 1
constexpr Range kMetres{-1e4, 1e4};      // the wing's and the pilot's sizes, line lengths
constexpr Range kMillimetres{-1e4, 1e4}; // seam allowances, widths and diameters on the cloth
constexpr Range kDegrees{-360.0, 360.0};
constexpr Range kPercent{-1e4, 1e4};
constexpr Range kFactor{-1e6, 1e6};      // factors, coefficients, areas, weights and forces

// What the recompute derives from the user's numbers stays inside the ranges
// the reader holds it to. The pilot hangs the hang height below the wing,
// half the carabiner distance beside the centre and within one and a half
// centre chords of the leading edge; on the plan a metre is 2000 / span
// units. The line ends and the riser lie between the wing and the pilot; a
// fifth of the plan range is left for the wing itself, whose half span is
// 1000 units and whose chord is less than that.
constexpr double kFarthestPilot = 2000 * designinput::kHangHeight.range.hi / designinput::kSpan.range.lo;
static_assert(kFarthestPilot <= 0.8 * kPlanUnits.hi, "the riser of a valid design must fit the plan range");
static_assert(designinput::kCarabinerDistance.range.hi <= designinput::kHangHeight.range.hi,
              "the carabiners lie within the pilot's reach");
// Lengths in metres (the lines, the hanging point) of anything on the plan.
static_assert(kPlanUnits.hi * designinput::kSpan.range.hi / 2000 <= kMetres.hi,
              "a length on the plan of a valid design must fit the metre range");

// Where a value lives in the record, for the reader's refusals: a member
// path holding %1, %2, %3 for the indexes in the order they were given, and
// up to two members of sub-records below it.
struct Field {
    const char* path;
    int index[3] = {-1, -1, -1};
    const char* members[2] = {nullptr, nullptr};
    Range range = kAnyValue;

    Field(const char* path) : path(path) {}
    Field(const char* path, int a) : path(path), index{a, -1, -1} {}
    Field(const char* path, int a, int b) : path(path), index{a, b, -1} {}
    Field(const char* path, Range r) : path(path), range(r) {}
    Field(const char* path, int a, Range r) : path(path), index{a, -1, -1}, range(r) {}
    Field(const char* path, int a, int b, Range r) : path(path), index{a, b, -1}, range(r) {}
    // A number the user gives: named and bounded as the editors name and
    // bound it.
    Field(const DesignInput& input) : path(input.field), range(input.range) {}

    // The same field with another range.
    Field within(Range r) const
    {
        Field f = *this;
        f.range = r;
        return f;
    }

    // The same field one level down: one index more, or a member of it.
    Field at(int k) const
    {
        Field f = *this;
        for (int& slot : f.index)
            if (slot < 0) {
                slot = k;
                break;
            }
        return f;
    }
    Field dot(const char* member) const
    {
        Field f = *this;
        f.members[f.members[0] ? 1 : 0] = member;
        return f;
    }

    QString text() const
    {
        QString t = QString::fromLatin1(path);
        for (const char* m : members)
            if (m)
                t += QLatin1Char('.') + QString::fromLatin1(m);
        for (int k : index)
            if (k >= 0)
                t = t.arg(k);
        return t;
    }
};

constexpr int kStoredRibs = 65;     // rib slots kept in the file
constexpr int kOlderFileSteps = 35; // older files end after this step
constexpr int kSteps = 40;

template <class IO, class T>
void each(IO& io, T* values, int count)
{
    for (int k = 0; k < count; ++k)
        io.v(values[k]);
}

template <class IO, class T>
void each(IO& io, T* values, int count, const Field& field)
{
    for (int k = 0; k < count; ++k)
        io.v(values[k], field.at(k));
}

template <class IO, class L>
void lineEntry(IO& io, L& line, const Field& field)
{
    io.v(line.p1);
    io.v(line.p2);
    io.v(line.q1, field.dot("q1").within(kPlanUnits));
    io.v(line.q2, field.dot("q2").within(kPlanUnits));
    io.v(line.length, field.dot("length").within(kMetres));
    io.v(line.diameter, field.dot("diameter").within(kMetres));
    io.v(line.load, field.dot("load").within(kFactor));
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
void groupLine(IO& io, G& g, int e, const Field& group)
{
    io.v(g.idArray[e]);
    io.v(g.pointArray[e]);
    io.v(g.pairArray[e]);
    lineEntry(io, g.lineArray[e], group.dot("lineArray[%2]").at(e));
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
void frameCell(IO& io, F& f, const Field& field)
{
    io.v(f.pos);
    io.v(f.pos3D, field.dot("pos3D").within(kPlanUnits));
    io.v(f.mirrorPos);
    io.v(f.mirrorPos3D, field.dot("mirrorPos3D").within(kPlanUnits));
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
void holeShape(IO& io, Shape& s, int corners, const Field& field)
{
    io.v(s.expanded);
    io.v(s.holeCount);
    io.v(s.cornerCount);
    io.v(s.offsetMm);
    io.v(s.cornerStep, field.dot("cornerStep").within(kFactor));
    io.v(s.offset, field.dot("offset").within(kPlanUnits));
    each(io, s.corner, corners, field.dot("corner[%3]").within(kPlanUnits));
}

template <class IO, class Rec>
void reservedArrays(IO& io, Rec& rec, int m)
{
    const Field field("reservedRecords[%1]", m);
    for (int j = 0; j < 24; ++j) {
        io.v(rec.pointsA[j], field.dot("pointsA[%2]").at(j));
        for (int c = 0; c < 5; ++c)
            io.v(rec.table[c][j], field.dot("table[%2][%3]").at(c).at(j));
        io.v(rec.pointsB[j], field.dot("pointsB[%2]").at(j));
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
    io.v(d.span, designinput::kSpan);
    io.v(d.cells);
    io.v(d.hangHeight, designinput::kHangHeight);
    io.v(d.billowReductionUp, {"billowReductionUp", kPercent});
    io.v(d.ribTilt, {"ribTilt", kDegrees});
    io.v(d.maxTwistAngle, designinput::kTwist);
    io.v(d.carabinerDistance, designinput::kCarabinerDistance);
    io.v(d.minirib.rearRibPosition, {"minirib.rearRibPosition", kPercent});
    io.v(d.reservedRecords[0].value, {"reservedRecords[0].value"});
    if (!io.stepDone(2)) return;
    // 3
    io.v(d.cellWidthStep);
    io.v(d.legaX, {"legaX", kMetres});
    io.v(d.hangingPoint, {"hangingPoint", kMetres});
    each(io, d.seamAllowance, 4, designinput::kSeamAllowance);
    if (!io.stepDone(3)) return;
    // 4
    io.v(d.reservedInt2);
    io.v(d.reservedInt3);
    io.v(d.transitionRib1);
    io.v(d.transitionRib2);
    if (!io.stepDone(4)) return;
    // 5
    io.v(d.brakeMiddleRelax, {"brakeMiddleRelax", kFactor});
    io.v(d.brakeEdgeRelax, {"brakeEdgeRelax", kFactor});
    io.v(d.holeEdgeFactor, {"holeEdgeFactor", kFactor});
    io.v(d.reservedDouble6, {"reservedDouble6"});
    io.v(d.minirib.rearRibCavity, designinput::kRearRibCavity);
    io.v(d.edgeTipFactor, designinput::kEdgeTipFactor);
    io.v(d.reservedDouble3, {"reservedDouble3"});
    if (!io.stepDone(5)) return;
    // 6
    io.v(d.brakeCentreRib);
    io.v(d.oswaldFactor, designinput::kOswaldFactor);
    io.v(d.chordStationCount);
    if (!io.stepDone(6)) return;
    // 7
    io.v(d.billowReductionDown, {"billowReductionDown", kPercent});
    io.v(d.reservedDouble1, {"reservedDouble1"});
    io.v(d.reservedDouble2, {"reservedDouble2"});
    io.v(d.ropesMomentFactor, {"ropesMomentFactor", kFactor});
    io.v(d.reservedDouble7, {"reservedDouble7"});
    io.v(d.reservedDouble8, {"reservedDouble8"});
    io.v(d.pilotArea, designinput::kPilotArea);
    io.v(d.pilotCd, designinput::kPilotCd);
    io.v(d.ropesCd, designinput::kLinesCd);
    io.v(d.totalWeight, designinput::kTotalWeight);
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
    io.v(d.billowLineOffset, {"billowLineOffset", kPlanUnits});
    io.v(d.billowLineIndex);
    each(io, d.reservedRecords[0].params, 6);
    io.v(d.reservedDouble4, {"reservedDouble4"});
    io.v(d.minirib.frontRibStart);
    io.v(d.minirib.frontRibEnd);
    io.v(d.billowLineOnTop);
    io.v(d.minirib.mylarStart);
    io.v(d.minirib.mylarEnd);
    if (!io.stepDone(9)) return;
    // 10
    io.v(d.profileAlignment, designinput::kProfileAlignment);
    io.v(d.reservedDouble9, {"reservedDouble9"});
    io.v(d.reservedDouble10, {"reservedDouble10"});
    io.v(d.reservedDouble5, {"reservedDouble5"});
    io.v(d.towForce, designinput::kTowForce);
    io.v(d.pilotShiftPercent, designinput::kPilotShift);
    io.v(d.controlPointDiameter, designinput::kControlPointDiameter);
    io.v(d.lineGroupCount);
    each(io, d.reservedIntTable, 8);
    if (!io.stepDone(10)) return;
    // 11
    for (int k = 0; k < 3; ++k) {
        io.v(d.designAirfoilNames[k]);
        io.polygon(d.designAirfoils[k], {"designAirfoils[%1]", k, kChordUnits});
    }
    if (!io.stepDone(11)) return;
    // 12
    for (int i = 0; i < kStoredRibs; ++i) {
        io.v(d.leadingEdgeX[i], {"leadingEdgeX[%1]", i, kPlanUnits});
        io.v(d.trailingEdgeX[i], {"trailingEdgeX[%1]", i, kPlanUnits});
        io.v(d.ribSpanPos[i], {"ribSpanPos[%1]", i, kPlanUnits});
        io.v(d.cellWidth[i], {"cellWidth[%1]", i, kPlanUnits});
        io.v(d.chord[i], {"chord[%1]", i, kPlanUnits});
        io.v(d.frontY[i], {"frontY[%1]", i, kPlanUnits});
        io.v(d.frontZ[i], {"frontZ[%1]", i, kPlanUnits});
        io.v(d.twistedLeadingEdgeX[i], {"twistedLeadingEdgeX[%1]", i, kPlanUnits});
        io.v(d.ribAngle[i], {"ribAngle[%1]", i, kDegrees});
        io.v(d.noseIndex[i]);
        io.v(d.topIndex[i]);
        io.v(d.bottomIndex[i]);
        io.v(d.reservedRibTable1[i], {"reservedRibTable1[%1]", i});
        io.v(d.reservedRibTable2[i], {"reservedRibTable2[%1]", i});
        io.v(d.reservedRibTable3[i], {"reservedRibTable3[%1]", i});
        io.v(d.reservedRibTable4[i], {"reservedRibTable4[%1]", i});
        io.v(d.reservedRibTable5[i], {"reservedRibTable5[%1]", i});
        io.v(d.reservedRibTable6[i], {"reservedRibTable6[%1]", i});
        for (int r = 0; r < kLineRows; ++r)
            io.v(d.lineIndex[r][i]);
        io.v(d.ribShift[i], {"ribShift[%1]", i, kPlanUnits});
        io.polygon(d.ribAirfoils[i], {"ribAirfoils[%1]", i, kChordUnits});
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
        io.v(d.upControlMarkers[k], {"upControlMarkers[%1]", k, kPlanUnits});
        io.v(d.upControlIndex[k]);
    }
    for (int k = 0; k < 6; ++k) {
        io.v(d.skinControlMarkers[k], {"skinControlMarkers[%1]", k, kPlanUnits});
        io.v(d.skinControlIndex[k]);
    }
    if (!io.stepDone(13)) return;
    // 14
    for (int j = 0; j < 6 * kRibSlots; ++j) {
        const int s = j / kRibSlots, i = j % kRibSlots;
        io.v(d.reservedPoints1[s][i], {"reservedPoints1[%1][%2]", s, i});
        io.v(d.reservedPointFlags1[s][i]);
        io.v(d.reservedPoints2[s][i], {"reservedPoints2[%1][%2]", s, i});
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
            io.v(d.reservedTableValues[k][c], {"reservedTableValues[%1][%2]", k, c});
            io.v(d.reservedTableNames[k][c]);
        }
    }
    if (!io.stepDone(15)) return;
    // 16
    for (int r = 0; r < kLineRows; ++r) {
        io.v(d.rowPercent[r], Field(designinput::kRowPosition).at(r));
        io.v(d.rowMarkers[r], {"rowMarkers[%1]", r, kPlanUnits});
        io.v(d.rowCentreIndex[r]);
    }
    if (!io.stepDone(16)) return;
    // 17
    each(io, d.lineGroupShares, 4, designinput::kLoadShare);
    for (int k = 0; k < 5; ++k) {
        io.v(d.minirib.mylarSplineA[k], {"minirib.mylarSplineA[%1]", k, kFactor});
        io.v(d.minirib.mylarSplineB[k], {"minirib.mylarSplineB[%1]", k, kFactor});
    }
    if (!io.stepDone(17)) return;
    // 18
    reservedArrays(io, d.reservedRecords[0], 0);
    if (!io.stepDone(18)) return;
    // 19
    for (int k = 0; k < 2; ++k) {
        io.v(d.rod1.controlA[k], {"rod1.controlA[%1]", k, kPlanUnits});
        io.v(d.rod1.index[k]);
        io.v(d.rod1.controlB[k], {"rod1.controlB[%1]", k, kPlanUnits});
        io.v(d.rod2.controlA[k], {"rod2.controlA[%1]", k, kPlanUnits});
        io.v(d.rod2.index[k]);
        io.v(d.rod2.controlB[k], {"rod2.controlB[%1]", k, kPlanUnits});
    }
    if (!io.stepDone(19)) return;
    // 20
    each(io, d.planControlPoints, 8, {"planControlPoints[%1]", kPlanUnits});
    each(io, d.frontControlPoints, 4, {"frontControlPoints[%1]", kPlanUnits});
    each(io, d.wingFlexPercent, 9, designinput::kWingFlex);
    each(io, d.strapFixed, 8);
    if (!io.stepDone(20)) return;
    // 21
    for (int m = 1; m < 5; ++m) {
        each(io, d.reservedRecords[m].params, 6);
        reservedArrays(io, d.reservedRecords[m], m);
    }
    if (!io.stepDone(21)) return;
    // 22
    for (int i = 0; i < kStoredRibs; ++i)
        io.v(d.diagTableD1[i].ribType);
    each(io, d.crossPortTriIndex, 13);
    if (!io.stepDone(22)) return;
    // 23
    for (int g = 0; g < kCrossPortGroups; ++g) {
        each(io, d.crossPorts[g].values, 13, {"crossPorts[%1].values[%2]", g, kFactor});
        for (int t = 0; t < kCrossPortTriangles; ++t)
            holeShape(io, d.crossPorts[g].triangles[t], 3, {"crossPorts[%1].triangles[%2]", g, t});
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
            holeShape(io, d.crossPorts[g].traps[t], 4, {"crossPorts[%1].traps[%2]", g, t});
    }
    if (!io.stepDone(27)) return;
    // 28
    each(io, d.diagModelPoints, 12, {"diagModelPoints[%1]", kPlanUnits});
    each(io, d.diagModelFlags, 4);
    io.v(d.diagModelTriangle.holeCount);
    io.v(d.diagModelTriangle.offsetMm);
    io.v(d.diagModelTriangle.cornerCount);
    each(io, d.diagModelTriangle.corner, 3, {"diagModelTriangle.corner[%1]", kPlanUnits});
    io.v(d.diagBottomWidth, {"diagBottomWidth", kMillimetres});
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
            groupLine(io, d.bridle.groups[g], e, {"bridle.groups[%1]", g});
    }
    if (!io.stepDone(30)) return;
    // 31
    for (int s = 0; s < 6; ++s)
        for (int i = 0; i < kStoredRibs; ++i)
            frameCell(io, d.bridle.frame[i][s], {"bridle.frame[%1][%2]", i, s});
    if (!io.stepDone(31)) return;
    // 32
    each(io, d.lineWeights, 7);
    if (!io.stepDone(32)) return;
    // 33
    groupHead(io, d.bridle.riserGroup);
    for (int e = 0; e < kStoredRiserLines; ++e)
        groupLine(io, d.bridle.riserGroup, e, {"bridle.riserGroup"});
    if (!io.stepDone(33)) return;
    // 34
    for (int k = 0; k < kRiserFrames; ++k) {
        io.v(d.bridle.riserFrames[k].pos);
        io.v(d.bridle.riserFrames[k].pos3D, {"bridle.riserFrames[%1].pos3D", k, kPlanUnits});
        io.v(d.riserTops[k], {"riserTops[%1]", k, kPlanUnits});
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
    io.polygon(d.designAirfoils[3], {"designAirfoils[3]", kChordUnits});
    each(io, d.positionAirfoilIndex, 4);
    if (!io.stepDone(36)) return;
    // 37
    for (int s = 6; s < 8; ++s)
        for (int i = 0; i < kStoredRibs; ++i)
            frameCell(io, d.bridle.frame[i][s], {"bridle.frame[%1][%2]", i, s});
    if (!io.stepDone(37)) return;
    // 38
    io.v(d.lineWeights[7]);
    io.v(d.reservedInt4);
    if (!io.stepDone(38)) return;
    // 39
    for (int g = 0; g < kLineGroupSlots; ++g) {
        for (int e = kStoredRiserLines; e < kLineEntries; ++e) {
            groupLine(io, d.bridle.groups[g], e, {"bridle.groups[%1]", g});
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
