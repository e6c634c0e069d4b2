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

constexpr double kGravity = 9.81;     // m/s2
constexpr double kAirDensity = 1.225; // kg/m3
constexpr double kRadToDeg = 57.29577952383886;

// Natural cubic spline through the n table points, evaluated at a clamped
// into [x[0], x[n-1]].
double f_table(int n, const double* x, const double* y, double a);
// Glide angle in radians from sin g = cos g D / L - T / W by fixed-point
// iteration (at most 11 steps, settled at 1e-6); 0 when L is 0.
double iterate_Gama(double D, double L, double W, double T);
double CalculateGama(ParaStruct* design, double alpha);             // degrees
double Calculate_Q(ParaStruct* design, double alpha, double gama);  // Pa
double Calculate_Sigma_Proc(ParaStruct* design, double alpha, double gama, double theta, double q, double cm);
double f_Veloc(double q);                                           // m/s, 0 for q <= 0
double f_inducedDrag(ParaStruct* design, double CL);

// Fills the case tables of the design record from the solver results (only
// when they hold 13 cases or more).
void FromApameResToParaStruct(ParaStruct* design, ApameRes* res);

// The pilot's distance from the centre rib's leading edge, as a fraction of
// the centre chord, for a trim value.
double calculate_displacement_shift(ParaStruct* design, double sigma);
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
double MinimalCD_CL(ParaStruct* design);
// Plan position of the attachment point of line row `row` on rib `rib`: the
// rib's span position and the x of its airfoil point at the attachment
// index, scaled by the chord and moved to the rib's leading edge; (0, 0)
// when the index lies outside 0 .. 998, or row, rib or point is not there.
QPointF getLineRibPos(const ParaStruct* design, int row, int rib);

// Why the polar cannot be computed from these results and the design's case
// tables (empty when it can): fewer than 13 cases, case angles that do not
// rise, values that are no numbers, no flying weight or no wing.
QString Polar_Input_Problem(ParaStruct* design, ApameRes* res);

// Builds the polar: line totals, case tables, per-case glide angle, dynamic
// pressure and trim, then the rows. With results it cannot use it leaves an
// empty polar (no rows, polarRowCount 0) and returns false with the message
// for the user.
bool createPolar_BaseTable(ParaStruct* design, ApameRes* res, QList<CalageClass>* polarRows,
                           QString* message = nullptr);
