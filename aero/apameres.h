#pragma once

// The results of the outside panel solver, read from "wings.res" in the
// project output directory.
//
// The file is read line by line, section by section, each section found by
// its keyword searched forward from the current line (no rewind, so the
// keywords must come in the order of resultSections below). The line after a
// keyword carries its value(s); the numbers of a line are its fields (see
// SubStrFromLine), the first number of a line that starts with a blank being
// field 1.

#include "aero/apamemesh.h"
#include "core/designedit.h"

#include <QList>
#include <QString>
#include <QVector3D>
#include <QtGlobal>

class ParaStruct;
class GlobClass;

constexpr int kResultCases = 13; // cases the record keeps
constexpr int kLineFields = 14;  // fields of one result line

struct ArrDouble {
    double values[kResultCases]{}; // pressure coefficient of cases 0 .. 12
};

// The design a set of results was computed from: the design's revision
// (renewed by every edit of the wing, and brought back with the design when
// an editor is cancelled) and the settings of the run that the design holds
// beside it. Results belong to the design shown only while all of these
// are the same; views of results that do not say so and show nothing.
struct AnalysisSource {
    // False for results whose design is not known: none yet, or read from a
    // file this program did not see its run make.
    bool known = false;
    unsigned long long revision = 0;
    double twist = 0;     // degrees
    double alignment = 0; // percent of the chord
    bool smooth = true;   // smooth (true) or inflated model
    // The results file as it was read after the run: a later read of the
    // same, unchanged file keeps the source.
    QString file;
    qint64 fileSize = -1;
    qint64 fileModified = 0; // ms since the epoch
};

// The source a run of the design as it stands would have.
AnalysisSource Analysis_Source_Of(const ParaStruct& design);
// An unknown source that names the results file as it is now.
AnalysisSource Results_File_Identity(const QString& path);

class ApameRes;

// Empty when the results belong to the design as it stands, or when there
// are no results at all; otherwise why they do not, as a sentence for the
// user that tells how to get results of this design.
QString Results_Design_Mismatch(const ApameRes& res, const ParaStruct& design);

// Applies an edit (Apply_Edit) that leaves the canopy as it is, such as
// the pilot's position: the views rebuild, and since the solver would see
// the same wing, results that belonged to the design before still do.
void Apply_Edit_Keeping_Results(ParaStruct* design, ApameRes* res, DesignEdit what);

class ApameRes
{
public:
    int panelNum = 0;       // all panels, wake included
    int panelNumNoWake = 0; // surface panels: the rows of cp
    int nodeNum = 0;
    int caseNum = 0;
    double alpha[kResultCases]{}; // per case, degrees
    double beta[kResultCases]{};
    double cx[kResultCases]{};
    double cy[kResultCases]{};
    double cz[kResultCases]{};
    double cl[kResultCases]{}; // rolling moment
    double cm[kResultCases]{}; // pitching moment My / (q S MAC) about the origin
    double cn[kResultCases]{}; // yawing moment
    double cdrag[kResultCases]{};
    double clift[kResultCases]{};
    QList<QVector3D> nodes;
    QList<PanelInfo> panels; // id = line number within the section
    QList<QVector3D> normals;
    QList<ArrDouble> cp; // never below -1.5
    QString projectPath;
    int chartKind = 0; // the polar window's chart choice, kept between windows
    AnalysisSource source;

    bool hasResults() const { return caseNum > 0 || !panels.isEmpty(); }
};

// The one results record of the program: all zero and empty at first.
ApameRes* GetApameClass();

// Reads "wings.res" of the project output directory into the record. Only a
// complete, consistent file is taken: otherwise the result is false, the
// reason goes to *problem and the record keeps its previous results (only
// its projectPath is renewed). Results read from a file keep the record's
// source only when it is the file the source names, unchanged; otherwise
// their design is not known. Refused: a missing, unreadable or empty file,
// a section keyword that never comes, a count that is negative or does not
// match the rows that follow it, a panel naming a node or neighbour that the
// file does not hold.
bool ReadToApameClass(const ParaStruct* design, GlobClass* glob, ApameRes* res, QString* problem = nullptr);

// The same for any results file.
bool Read_Apame_Results(const QString& path, ApameRes* res, QString* problem = nullptr);

// Case-sensitive substring test.
bool KeyWordFound(const QString& keyword, const QString& line);

// Splits a line into fields[0 .. 13]: the digits, ".", "-", "E" and "+" are
// number characters, anything else separates; the first separator of each
// run starts the next field, empty. Fields beyond the line's last keep what
// they held. A line shorter than two characters empties field 1 only.
// Returns the number of fields the line reached (0 for a short line).
int SubStrFromLine(const QString& line, QString* fields);

// ".5" -> "0.5" for every "." of a text that starts with one, otherwise
// "-." -> "-0." (the solver writes reals without their leading zero).
QString Rep_NumString(QString s);

// a / b, 0 when |b| is not above 0.
double safeRatio(double a, double b);

namespace apameresult {

// The sections of the results file in the order the reader needs them:
//   count(keyword, n)                 the value line's field 1, an integer,
//   cases(keyword, n, alpha, beta)    the case count, then the alpha and beta lines,
//   coefficients(keyword, values)     one value line of one real per case,
//   nodes / panels / normals / cp     the keyword, then one row per entry.
template <class IO, class R>
void resultSections(IO& io, R& r)
{
    io.count("PANEL_NUM", r.panelNum);
    io.count("PANEL_NUM_NO_WAKE", r.panelNumNoWake);
    io.count("NODE_NUM", r.nodeNum);
    io.cases("CASE_NUM", r.caseNum, r.alpha, r.beta);
    io.coefficients("CX", r.cx);
    io.coefficients("CY", r.cy);
    io.coefficients("CZ", r.cz);
    io.coefficients("CL", r.cl);
    io.coefficients("CM", r.cm);
    io.coefficients("CN", r.cn);
    io.coefficients("CDRAG", r.cdrag);
    io.coefficients("CLIFT", r.clift);
    io.nodes("NODES", r.nodeNum, r.nodes);
    io.panels("PANELS", r.panelNum, r.panels);
    io.normals("NORMAL", r.panelNum, r.normals);
    io.cp("CP", r.panelNumNoWake, r.caseNum, r.cp);
}

} // namespace apameresult
