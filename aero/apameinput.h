#pragma once

// The solver's input file "wings.inp", described once for both directions.
// IO is a writer (V = const InputValues) or a reader (V = InputValues) with
//   text(line)                 a literal line, trailing blanks included,
//   real(pattern, value)       a line with one real in fixed notation, six decimals,
//   integer(pattern, value)    a line with one integer,
//   nodes(pattern, list)       the count line, then one line per node,
//   panels(pattern, list)      the count line, then one line per panel,
//   last(line)                 the closing line, without a line feed.
// Patterns hold %1 .. %10 where the numbers go; see fillPattern.

#include "aero/apamemesh.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace apameinput {

// 40 km/h.
constexpr double kAirspeed = 11.11111111111111;

struct InputValues {
    double airspeed = kAirspeed;
    double span = 0;    // m
    double mac = 0;     // mean chord of the flat wing, m
    double surface = 0; // flat area, m2
    int velOrder = 2;
    QList<NodeInfo> nodes;
    QList<PanelInfo> panels;
};

inline const char* const kNodeLine = " %1   %2   %3      node ID: %4 ";
inline const char* const kQuadLine = " %1    %2    %3    %4    %5    %6    %7    %8   %9  panelID: %10 ";
inline const char* const kTriangleLine = " %1    %2    %3    %4    %5    %6    %7      panelID: %8 ";

// The pattern with %k replaced by fields[k - 1]; a placeholder without a
// field stays as it is.
QString fillPattern(const QString& pattern, const QStringList& fields);
// The fields of a line written from the pattern: true when the line's text
// outside the placeholders is the pattern's, letter for letter.
bool matchPattern(const QString& pattern, const QString& line, QStringList* fields);

QString realText(double v);   // fixed notation, six decimals, "." as point
QString integerText(int v);

template <class IO, class V>
void inputFile(IO& io, V& v)
{
    io.text("APAME input file ");
    io.text("VERSION 3.0 ");
    io.text("# FLOW PARAMETERS ");
    io.text("       ");
    io.text("# airspeed   [m/s] ");
    io.real("AIRSPEED    %1 ", v.airspeed);
    io.text("# air density               [kg/m^3] ");
    io.text("DENSITY 1.225   ");
    io.text("# atmospheric pressure      [Pa] ");
    io.text("PRESSURE 101325 ");
    io.text("# prandtl-glauert correction: ");
    io.text("#   0-no correction ");
    io.text("#   *-Mach number ");
    io.text("MACH 0  ");
    io.text("# number of cases ");
    io.text("# angles of attack          [degrees] ");
    io.text("# sideslip angles           [degrees] ");
    io.text("CASE_NUM   13  ");
    io.text("0 1 2 3 4 5 6 7 8 9 10 11 12   ");
    io.text("0 0 0 0 0 0 0 0 0 0 0 0 0    ");
    io.text("    ");
    io.text("# REFERENCE VALUES ");
    io.text("  ");
    io.text("# wing span                 [m] ");
    io.real("WINGSPAN    %1    ", v.span);
    io.text("# mean aerodynamic chord    [m]    ");
    io.real("MAC  %1    ", v.mac);
    io.text("  ");
    io.text("# wing surface              [m^2]  ");
    io.real("SURFACE %1    ", v.surface);
    io.text("  ");
    io.text("# reference point           [m] ");
    io.text("ORIGIN * ");
    io.text("0 0 0 ");
    io.text("       ");
    io.text("# SOLVER PARAMETERS ");
    io.text("       ");
    io.text("# singularity method: ");
    io.text("#   0-constant source/doublet ");
    io.text("#   1-constant doublet ");
    io.text("METHOD 0 ");
    io.text("# error ");
    io.text("ERROR 0.0000001 ");
    io.text("# collocation point depth ");
    io.text("COLLDIST 0.0000001 ");
    io.text("# 'far field' coefficient ");
    io.text("FARFIELD 5 ");
    io.text("# collocation point calculation: ");
    io.text("#   0-approximative ");
    io.text("#   1-accurate ");
    io.text("COLLCALC 0  ");
    io.text("# interpolation method/order for velocity calculations: ");
    io.text("#   0-nodal ");
    io.text("#   1-first ");
    io.text("#   2-second ");
    io.integer("VELORDER %1 ", v.velOrder);
    io.text("        ");
    io.text("        ");
    io.text("# RESULT REQUESTS ");
    io.text("#   0-no    ");
    io.text("#   1-yes    ");
    io.text("# RESULTS <1> or <0> (yes or no will the result file be written)    ");
    io.text("#  1 coefficients    ");
    io.text("#  2 forces    ");
    io.text("#  3 geometry    ");
    io.text("#  4 velocity    ");
    io.text("#  5 pressure    ");
    io.text("#  6 center points    ");
    io.text("#  7 dipole values    ");
    io.text("#  8 source values    ");
    io.text("#  9 velocity components    ");
    io.text("# 10 mesh characteristics    ");
    io.text("# 11 static pressure    ");
    io.text("# 12 dynamic pressure    ");
    io.text("# 13 manometer pressure    ");
    io.text("RESULTS 1    ");
    io.text("  1  1  1  1  1  1  1  1  1  1  1  1  1    ");
    io.text("# 1  2  3  4  5  6  7  8  9 10 11 12 13    ");
    io.text("        ");
    io.text("        ");
    io.text("# GEOMETRY    ");
    io.text("# x y z                     [m]    ");
    io.nodes("NODES %1 ", v.nodes);
    io.text("# type node_id1 node_id2 node_id3 node_id4  elem_id1 elem_id2 elem_id3 elem_id4 ");
    io.panels("PANELS %1   ", v.panels);
    io.last("# end of input file");
}

// The line of one node, and of one panel (empty for a type that has no line;
// `position` is the panel's place in the list counted from 1).
QString nodeLine(const NodeInfo& n);
QString panelLine(const PanelInfo& p, int position);

// The file's bytes.
QByteArray Input_File_Bytes(const InputValues& values);

// Reads bytes written by Input_File_Bytes back into values; false, with the
// number and text of the first line that departs from the layout, otherwise.
bool Read_Input_File(const QByteArray& bytes, InputValues* values, QString* problem = nullptr);

} // namespace apameinput

class ApameRes;
class GlobClass;

// The order of the velocity interpolation the analysis asks the solver for.
constexpr int kApameVelOrder = 2;

// The bytes of the solver input of the design as it stands (empty, with the
// reason, when it cannot be meshed).
QByteArray Apame_Input_Bytes(ParaStruct* design, int velOrder, bool smooth, int J, const int* stations,
                             QString* problem = nullptr);

// Meshes the canopy (smooth or inflated model, J and the stations as the
// design holds them) and writes "wings.inp" into the project output
// directory. True when the whole file was written; false with the reason
// when the design cannot be meshed or the file cannot be written (an
// earlier "wings.inp" then stays as it was).
bool CreateApameInputFile(ParaStruct* design, GlobClass* glob, int velOrder, bool smooth, int J,
                          const int* stations, QString* problem = nullptr);

// Results read from the project output directory whose design is not known
// belong to the design as it stands when the solver input beside them
// ("wings.inp", not newer than the results) is the input the design gives
// now, with the model and stations it holds: they then take the design's
// source. True when the results belong to a known design afterwards. The
// design's canopy must be up to date (after the recompute).
bool Adopt_Results_Of_Input(ParaStruct* design, GlobClass* glob, ApameRes* res);
