#pragma once

// The pattern writers and how they run: one table of the pattern kinds in
// the order "Export all" writes them, the preview of one kind and the
// export of all.
//
// Every writer draws through the DXF writer (acad.h): with
// GlobClass::writeDxf off it fills GlobClass::previewPath, with it on it
// writes its file into the project's output directory. The preview and the
// export set the switch; a writer runs the same in both.

#include <QFont>
#include <QList>
#include <QPainterPath>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class ParaStruct;

// What a writer draws on: the design, and the preview view's font (label
// fonts start from a copy) and size (some sheets place their pieces by it,
// in the preview and in the file alike).
struct PatternSheet {
    ParaStruct* design = nullptr;
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

// Draws one kind; returns what Finish_Export_To_Acad returned (in the
// preview always false).
using PatternWriterFn = bool (*)(const PatternSheet& sheet);

struct PatternWriter {
    PatternKind kind;
    QString fileName;
    PatternWriterFn write; // nullptr: the kind cannot be drawn yet
};

// The writers in export order: diagonal ribs, rear mini-ribs, front
// mini-ribs, straps, ribs, panels, 3-D drawing.
const QList<PatternWriter>& Pattern_Writers();
PatternWriterFn Pattern_Writer_Of(int kind);

// Why no patterns can be drawn of the design (no airfoils, too few cells for
// the sheets' layout); empty when they can.
QString Patterns_Refusal(const ParaStruct* design);

// The preview of one kind: switches the writer to preview, runs the
// diagonal model, runs the kind's writer and returns what it drew (empty for
// any other kind, for a kind without writer and for a refused design, whose
// reason goes to *refusal when given); what the writer has to say goes to
// sheet.notes. GlobClass::previewPath is left empty.
QPainterPath Preview_Pattern(const PatternSheet& sheet, int kind, QString* refusal = nullptr);

struct ExportedFile {
    QString fileName;
    bool available = false; // the kind has a writer
    bool written = false;
    int error = 0;          // the system's error number when the write failed
};

struct ExportReport {
    QString refusal;          // why nothing was written; empty when the export ran
    QString directory;        // where the files went
    QList<ExportedFile> files; // in export order
    QStringList notes;        // pieces the writers left out, and why

    bool allWritten() const;
    // What the user is told: the files written and those that were not, and
    // why, then the pieces left out of the files written.
    QString text() const;
};

// Why no pattern file can be written into the project's output directory:
// there is none (no project), or it is not there and cannot be made (the
// folder, the system's reason and advice). Makes the folder when it is
// missing; empty when the files can be written there.
QString Export_Folder_Refusal();

// Writes every pattern file into the project's output directory, in export
// order, reporting progress (0 .. 100) after each step. Refused, writing
// nothing, while no project output directory is set or when the design
// cannot have patterns. The writer switch is off again afterwards.
ExportReport Export_All_Patterns(const PatternSheet& sheet, const std::function<void(int)>& progress = {});
