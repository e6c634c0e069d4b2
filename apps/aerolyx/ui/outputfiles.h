#pragma once

// The analyser's two text files: the airfoil table (the airfoil as the
// solver sees it, in the plain two-column layout the airfoil readers take)
// and "dcppolar.txt" (the pressure view's results for the current angle).

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QString>

namespace aerolyx {

// Name of the pressure results file, written in the current directory.
inline const char* const kDcpPolarName = "dcppolar.txt";

// The airfoil table as written to path: the path, the trailing edge (1, 0),
// then the odd circle stations 1, 3, ..., 127; 66 lines.
QString Airfoil_Table_Text(const myData* data, const QString& path);
// Writes the airfoil table to path; false when the file cannot be written.
bool Write_Airfoil_Table(const myData* data, const QString& path);

// The five results of the pressure view, as "dcppolar.txt" holds them.
struct DcpResults {
    double effAngle;     // radians, from the zero-lift direction
    double cpPosition;   // centre of pressure of the whole chord
    double acPosition;   // aerodynamic centre
    double cp1Position;  // centre of pressure in front of the aerodynamic centre
    double cp2Position;  // centre of pressure behind it
};

QString Dcp_Polar_Text(const DcpResults& results);
// Writes "dcppolar.txt" into dir; false when it cannot be written.
bool Write_Dcp_Polar(const QString& dir, const DcpResults& results);

} // namespace aerolyx
