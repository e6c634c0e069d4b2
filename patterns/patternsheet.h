#pragma once

// The pattern writers and how they run: one table of the pattern kinds in
// the order "Export all" writes them, the preview of one kind and the
// export of all.
//
// Every writer builds a sheet (sheet.h) from a design it only reads: the
// preview draws that sheet, the export writes it into the project's output
// directory. The design must be current (recomputed after its last edit);
// neither the preview nor the export changes it.

#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class ParaStruct;
class PieceSheet;

// The choices of the preview and export dialog, which belong to the sheets
// and never to the design: wide spacing sets the cells twice as far apart,
// spreads the pieces of a cell and draws the seam lines of ribs and
// mini-ribs; line segments cuts a design line straight across a cell
// (otherwise along its curve).
struct PatternOptions {
    bool wideSpacing = false;
    bool lineSegments = true;
};

// What a writer draws on: the design, the dialog's choices, and the preview
// view's font (label fonts start from a copy) and size (some sheets place
// their pieces by it, in the preview and in the file alike).
struct PatternSheet {
    const ParaStruct* design = nullptr;
    PatternOptions options;
    QFont font;
    QSize viewSize;
    // Where a writer says which pieces it could not draw and why (the sheet
    // goes on without them); nothing is said when null.
    QStringList* notes = nullptr;
};

// Tells the user of the sheet (through sheet.notes) about a piece left out.
void Sheet_Note(const PatternSheet& sheet, const QString& text);

// The pattern kinds; a preview tab shows the kind of its index.
enum PatternKind {
    PanelPatterns = 0,
    RibPatterns = 1,
    DiagonalPatterns = 2,
    RearMiniRibPatterns = 3,
    FrontMiniRibPatterns = 4,
    StrapPatterns = 5,
    Drawing3D = 6, // written by the export only, never previewed
};

// Builds the sheet of one kind.
using PatternSheetFn = PieceSheet (*)(const PatternSheet& sheet);

struct PatternWriter {
    PatternKind kind;
    QString fileName;
    PatternSheetFn draw; // nullptr: the kind cannot be drawn yet
};

// The writers in export order: diagonal ribs, rear mini-ribs, front
// mini-ribs, straps, ribs, panels, 3-D drawing.
const QList<PatternWriter>& Pattern_Writers();
PatternSheetFn Pattern_Writer_Of(int kind);

// Why no patterns can be drawn of the design (no airfoils, too few cells for
// the sheets' layout); empty when they can.
QString Patterns_Refusal(const ParaStruct* design);

// The sheet of one kind as the preview shows it and the export writes it:
// empty for any other kind, for a kind without writer and for a refused
// design, whose reason goes to *refusal when given; what the writer has to
// say goes to sheet.notes.
PieceSheet Pattern_Sheet(const PatternSheet& sheet, int kind, QString* refusal = nullptr);
// Its preview (the 3-D drawing has none).
QPainterPath Preview_Pattern(const PatternSheet& sheet, int kind, QString* refusal = nullptr);

struct ExportedFile {
    QString fileName;
    bool available = false; // the kind has a writer
    bool written = false;
    int error = 0;          // the system's error number when the write failed
    QString problem;        // why the sheet was not put into a file (Sheet_File_Problem)
    bool olderInFolder = false; // not written, and a file of its name from before is in the folder
};

struct ExportReport {
    QString refusal;          // why nothing was written; empty when the export ran
    QString directory;        // where the files went
    QList<ExportedFile> files; // in export order
    QStringList notes;        // pieces the writers left out, and why
    // The files go into the folder as one set: when one of them cannot be
    // written none is, and every file in the folder is as it was (unless
    // notRestored, from FileSaveResult, says otherwise).
    QString notRestored;

    bool allWritten() const;
    // What the user is told: the files written and those that were not, and
    // why, the older files of those names still in the folder, then the
    // pieces left out of the files written.
    QString text() const;
};

// Why no pattern file can be written into the project's output directory:
// there is none (no project), or it is not there and cannot be made (the
// folder, the system's reason and advice). Makes the folder when it is
// missing; empty when the files can be written there.
QString Export_Folder_Refusal();

// Writes every pattern file into the project's output directory, in export
// order, reporting progress (0 .. 100) after each step, as one set: the old
// files are replaced only when every new one was written. A sheet holding a
// value that is not a finite number is left out (its file is not written;
// the report says which piece). Refused, writing nothing, while no project
// output directory is set or when the design cannot have patterns.
ExportReport Export_All_Patterns(const PatternSheet& sheet, const std::function<void(int)>& progress = {});
