#pragma once

// The glide polar of wing, pilot and lines from the solver's 13 cases (angle
// of attack 0 to 12 degrees): per case the glide angle, dynamic pressure and
// trim value, then a sweep over the angle of attack in quarter degrees that
// keeps the rows of gliding flight (tow force 0 or less) or of towed flight.
//
// The trim value of a row, in mean chords: the pilot hangs (calage - 0.25)
// mean chords behind the aerodynamic centre. The pilot position conversions
// (percent of the centre chord, legaX in metres behind the centre rib's
// leading edge) are here too.

#include <QList>
#include <QPointF>
#include <QString>

class ParaStruct;
class ApameRes;

constexpr int kPolarCases = 13;  // solver cases of the glide polar
constexpr int kSpeedSlots = 100; // rows the speed polar keeps

// One row of the polar, in order of increasing angle of attack.
struct CalageClass {
    double calage = 0; // trim value, mean chords
    double alfa = 0;   // angle of attack, degrees
    double gama = 0;   // glide angle, degrees, positive descending
    double speed = 0;  // airspeed, m/s
    double vx = 0;     // horizontal speed, m/s
    double vy = 0;     // vertical speed, m/s, positive sinking
    QString ratioText; // gliding: the glide ratio; towed: vy
};

// The glide polar of one design from one set of solver results, with the
// lines counted or not: the results of a computation, which belong to it
// and to the results it was made from, not to the design. The window that
// shows a polar keeps it.
struct Polar {
    // The lines as the polar counts them, both halves: length in metres and
    // frontal area in m2; none while the lines are left out.
    double totalLineLength = 0.0;
    double ropesArea = 0.0;
    // The case tables, one entry per solver case (angle of attack 0 to 12
    // degrees): areas are coefficients times the flat area, m2.
    double aeroAlpha[kPolarCases]{};
    double aeroIndex[kPolarCases]{};
    double aeroAngle[kPolarCases]{};
    double liftArea[kPolarCases]{};
    double profileDragArea[kPolarCases]{};
    double inducedDragArea[kPolarCases]{};
    double totalDragArea[kPolarCases]{};
    double glideRatio[kPolarCases]{};
    double momentCoeff[kPolarCases]{};
    // Per case: glide angle (degrees), pitch (alpha - gama), dynamic
    // pressure (Pa), moment coefficient and trim value (mean chords).
    double polarGama[kPolarCases]{};
    double polarTheta[kPolarCases]{};
    double polarQ[kPolarCases]{};
    double polarMoment[kPolarCases]{};
    double polarSigma[kPolarCases]{};
    // The rows of the sweep, and the speed polar over them (from row 1 on;
    // the chart leaves out the first and the last value).
    QList<CalageClass> rows;
    int polarRowCount = 0;
    double polarVx[kSpeedSlots]{};
    double polarVy[kSpeedSlots]{};
};

constexpr double kGravity = 9.81;     // m/s2
constexpr double kAirDensity = 1.225; // kg/m3
constexpr double kRadToDeg = 57.29577952383886;

// Natural cubic spline through the n table points, evaluated at a clamped
// into [x[0], x[n-1]].
double f_table(int n, const double* x, const double* y, double a);
// Glide angle in radians from sin g = cos g D / L - T / W by fixed-point
// iteration (at most 11 steps, settled at 1e-6); 0 when L is 0.
double iterate_Gama(double D, double L, double W, double T);
// The glide values of a polar whose case tables are filled.
double CalculateGama(const ParaStruct& design, const Polar& polar, double alpha);            // degrees
double Calculate_Q(const ParaStruct& design, const Polar& polar, double alpha, double gama); // Pa
double Calculate_Sigma_Proc(const ParaStruct& design, const Polar& polar, double alpha, double gama, double theta,
                            double q, double cm);
double f_Veloc(double q); // m/s, 0 for q <= 0
double f_inducedDrag(const ParaStruct& design, double CL);

// Fills the case tables of the polar from the solver results (only when
// they hold 13 cases or more; otherwise the tables stay as they are).
void FromApameResToParaStruct(const ParaStruct& design, const ApameRes& res, Polar* polar);

// The pilot's distance from the centre rib's leading edge, as a fraction of
// the centre chord, for a trim value; from the aerodynamic centre the
// recompute keeps (metaCentre, at a quarter of the chord).
double calculate_displacement_shift(const ParaStruct& design, double sigma);
void calculate_legaX_from_shift(ParaStruct* design, double percent);
double calculate_shift_from_legaX(const ParaStruct* design);

// The pilot and line constants a polar starts from when the user asks for
// them: pilot area 0.45 m2, pilot drag 0.78, line drag 1.0, Oswald factor
// 1.0 and no tow force.
void Standard_Polar_Constants(ParaStruct* design);

// Index of the row with the smallest glide angle (the first of equals); 0
// for no rows.
int get_opt_gama(QList<CalageClass> rows);

// Index of the point where a line from the origin touches the curve
// (x[i], y[i]): the i (0 .. n-2, x[i] != 0) with the smallest
// |y[i]/x[i] - slope of segment i| below `bound`, the first of equals; 0 for
// n <= 1 or no candidate. A segment without width has no slope and is no
// candidate.
int Tangent_Point_Index(int n, const double* x, const double* y, double bound);
int opt_Vx(int n, const double* x, const double* y);
// Over the 13 entries, the largest x[i]/y[i] (a later equal one wins;
// entries with y[i] = 0 are left out): (i in radians as if degrees, the
// ratio); (0, -1e12) when no entry counts.
QPointF f_findTopAlfa(const double* x, const double* y);
// Of 13 angles from 0 in steps of one degree in radians, looked up on the
// case tables, the one with the smallest ratio of total drag area to lift
// area (0 where the lift area is 0; a later equal ratio wins).
double MinimalCD_CL(const Polar& polar);
// Plan position of the attachment point of line row `row` on rib `rib`: the
// rib's span position and the x of its airfoil point at the attachment
// index, scaled by the chord and moved to the rib's leading edge; (0, 0)
// when the index lies outside 0 .. 998, or row, rib or point is not there.
QPointF getLineRibPos(const ParaStruct* design, int row, int rib);

// Why the polar cannot be computed from these results and the polar's case
// tables (empty when it can): fewer than 13 cases, case angles that do not
// rise, values that are no numbers, no flying weight or no wing.
QString Polar_Input_Problem(const ParaStruct& design, const Polar& polar, const ApameRes& res);

// Builds the polar of the design from the results, counting the lines or
// not: line totals, case tables, per-case glide angle, dynamic pressure and
// trim, then the rows and the speed polar. With results it cannot use it
// leaves a polar without rows (polarRowCount 0) and returns false with the
// message for the user. The design is only read.
bool createPolar_BaseTable(const ParaStruct& design, const ApameRes& res, bool withBridleData, Polar* polar,
                           QString* message = nullptr);
