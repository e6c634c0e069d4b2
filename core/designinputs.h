#pragma once

// The numbers a user gives the design, and the values each may take: one
// table that every door asks. The editors refuse a typed value outside it,
// the project reader refuses a file holding one, and Save refuses to write a
// design Open would refuse (core/projectsteps.h names these ranges for the
// fields of the file, core/openfile.h checks them both ways).
//
// The ranges hold every real wing, from a small model to a tandem or a kite,
// and nothing that is not a wing: a span or hang height of zero, or of
// 1e-300, would put the pilot at a distance no number holds. They are also
// what keeps the values the recompute derives and stores (the riser, the
// line ends, their lengths) inside the ranges the reader accepts for those:
// the bounds of the derived values follow from these (core/projectsteps.h
// checks that at compile time), so that no design built from valid inputs is
// refused when it is read again.

#include <QString>

#include <optional>

// The values a number may take, bounds included.
struct ValueRange {
    double lo;
    double hi;
    constexpr bool holds(double x) const { return x >= lo && x <= hi; }
};

// One number a user gives the design.
struct DesignInput {
    const char* field; // where it lives in the record, as the reader names it ("seamAllowance[%1]")
    const char* name;  // in the user's words, after "the"
    const char* unit;  // written after a value ("m", "%"); empty for a plain number
    ValueRange range;
};

namespace designinput {

// The plan drawing puts half the span at 1000 units, so every length in
// metres reaches the plan multiplied by 2000 / span: the shortest span sets
// how far the pilot can hang below the wing on the plan.
inline constexpr DesignInput kSpan{"span", "span", "m", {1.0, 50.0}};
inline constexpr DesignInput kHangHeight{"hangHeight", "hang height", "m", {0.25, 40.0}};
inline constexpr DesignInput kCarabinerDistance{"carabinerDistance", "carabiner distance", "m", {0.0, 5.0}};
inline constexpr DesignInput kProfileAlignment{"profileAlignment", "profile alignment point", "%", {0.0, 100.0}};
// The analysis meshes wings of this twist at most, either way.
inline constexpr DesignInput kTwist{"maxTwistAngle", "twist angle", "degrees", {-12.0, 12.0}};
inline constexpr DesignInput kTotalWeight{"totalWeight", "total weight", "kg", {0.1, 1000.0}};
inline constexpr DesignInput kTowForce{"towForce", "tow force", "kg", {0.0, 1000.0}};
inline constexpr DesignInput kSeamAllowance{"seamAllowance[%1]", "seam allowance", "mm", {0.0, 100.0}};
// The editors raise a diameter below kControlPointDiameterLeast to it;
// smaller ones are kept as a file holds them (a new record starts at 0.006).
inline constexpr DesignInput kControlPointDiameter{"controlPointDiameter", "control point diameter", "mm",
                                                   {0.0, 50.0}};
inline constexpr double kControlPointDiameterLeast = 1.0;
// The editors bring the factor to kEdgeTipFactorLeast at least; a factor
// shown with two decimals is stored as shown, 0 included.
inline constexpr DesignInput kEdgeTipFactor{"edgeTipFactor", "edge-tip airfoil factor", "", {0.0, 1.0}};
inline constexpr double kEdgeTipFactorLeast = 0.0025;
inline constexpr DesignInput kRearRibCavity{"minirib.rearRibCavity", "rear rib cavity", "", {0.0, 0.5}};
inline constexpr DesignInput kWingFlex{"wingFlexPercent[%1]", "winflex", "%", {-100.0, 100.0}};
// Derived from the row markers by the recompute; the line morphing editor
// shows it without taking it from the user.
inline constexpr DesignInput kRowPosition{"rowPercent[%1]", "line row position", "%", {-1e4, 1e4}};
// Measured from the leading edge, in percent of the centre chord.
inline constexpr DesignInput kPilotShift{"pilotShiftPercent", "pilot displacement", "%", {-50.0, 150.0}};
inline constexpr DesignInput kPilotArea{"pilotArea", "pilot's cross area", "m²", {0.0, 10.0}};
inline constexpr DesignInput kPilotCd{"pilotCd", "pilot's drag coefficient", "", {0.0, 3.0}};
inline constexpr DesignInput kLinesCd{"ropesCd", "lines' drag coefficient", "", {0.0, 3.0}};
inline constexpr DesignInput kOswaldFactor{"oswaldFactor", "Oswald factor", "", {0.9, 1.4}};
// The part of the flying weight a riser carries.
inline constexpr DesignInput kLoadShare{"lineGroupShares[%1]", "load share", "", {0.0, 1.0}};

} // namespace designinput

// The value with the fewest digits that reads back as exactly this number,
// in fixed notation for everyday sizes ("10000.000000000002", "0.05") and
// with an exponent for the very large and small ("1e+300", "2e+07"); "nan",
// "inf" and "-inf" for the others. The float form gives the digits of the
// float, not of its double.
QString Shortest_Number(double x);
QString Shortest_Number(float x);

// The number in a typed text, read as every number field of the programs
// reads: blanks around it are ignored, a decimal comma is a point, and the
// system's language plays no part. Nothing when the text is no finite number
// ("", "abc", "1,2,3", "nan", "inf", "1e400", a row of 5000 nines).
std::optional<double> Number_From_Text(const QString& text);

// The value a text gives the input: nothing unless it is a number in the
// input's range.
std::optional<double> Input_From_Text(const DesignInput& input, const QString& text);

// "from 1 to 50 m"
QString Input_Range_Text(const DesignInput& input);

// What the user is told when the text is no value of the input: the range,
// the text (cut short when long), and `kept`, the value the field keeps.
QString Input_Refusal_Title(const DesignInput& input);
QString Input_Refusal_Text(const DesignInput& input, const QString& typed, const QString& kept);

// Tells the user so, through the installed user interaction.
void Refuse_Input(const DesignInput& input, const QString& typed, const QString& kept);
