#include "patterns/patternsheet.h"

#include "core/calcul3d.h"
#include "core/filesave.h"
#include "core/parastruct.h"
#include "patterns/diagsheet.h"
#include "patterns/drawing3d.h"
#include "patterns/minisheet.h"
#include "patterns/panelsheet.h"
#include "patterns/ribsheet.h"
#include "geom/sheet.h"
#include "patterns/straps.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Sheets place cells by the spacing of the first cells and number pieces by
// their neighbours: below three cells there is nothing to lay out.
constexpr int kMinimumCells = 3;

QList<PatternWriter> makeWriters()
{
    // Writers of the kinds not drawn yet join this table as they are built.
    return {
        {DiagonalPatterns, QStringLiteral("diagon.dxf"), &Diagonal_Sheet},
        {RearMiniRibPatterns, QStringLiteral("rearmini.dxf"), &RearMiniRib_Sheet},
        {FrontMiniRibPatterns, QStringLiteral("frontmini.dxf"), &FrontMiniRib_Sheet},
        {StrapPatterns, QStringLiteral("straps.dxf"), &Strap_Sheet},
        {RibPatterns, QStringLiteral("ribs.dxf"), &Rib_Sheet},
        {PanelPatterns, QStringLiteral("longpatt.dxf"), &Panel_Sheet},
        {Drawing3D, QStringLiteral("Wl9_3D.dxf"), &Drawing3D_Sheet},
    };
}

} // namespace

void Sheet_Note(const PatternSheet& sheet, const QString& text)
{
    if (sheet.notes)
        sheet.notes->append(text);
}

const QList<PatternWriter>& Pattern_Writers()
{
    static const QList<PatternWriter> writers = makeWriters();
    return writers;
}

PatternSheetFn Pattern_Writer_Of(int kind)
{
    for (const PatternWriter& w : Pattern_Writers())
        if (w.kind == kind)
            return w.draw;
    return nullptr;
}

QString Patterns_Refusal(const ParaStruct* design)
{
    if (!design || design->ribAirfoils[0].isEmpty())
        return QStringLiteral("Airfoil not present yet - IMPORT first");
    if (design->cells < kMinimumCells || design->lastRib < 2 || design->lastRib > kMaxLastRib)
        return QStringLiteral("Sewing patterns need a wing of at least %1 cells.").arg(kMinimumCells);
    return QString();
}

PieceSheet Pattern_Sheet(const PatternSheet& sheet, int kind, QString* refusal)
{
    if (refusal)
        refusal->clear();
    const PatternSheetFn draw = Pattern_Writer_Of(kind);
    if (!draw)
        return PieceSheet(sheet.design ? sheet.design->dxfScale : 1.0);
    const QString why = Patterns_Refusal(sheet.design);
    if (!why.isEmpty()) {
        if (refusal)
            *refusal = why;
        return PieceSheet(sheet.design ? sheet.design->dxfScale : 1.0);
    }
    return draw(sheet);
}

QPainterPath Preview_Pattern(const PatternSheet& sheet, int kind, QString* refusal)
{
    if (kind < 0 || kind >= Drawing3D) {
        if (refusal)
            refusal->clear();
        return QPainterPath();
    }
    return Sheet_Preview(Pattern_Sheet(sheet, kind, refusal));
}

bool ExportReport::allWritten() const
{
    if (!refusal.isEmpty())
        return false;
    for (const ExportedFile& f : files)
        if (!f.written)
            return false;
    return true;
}

QString ExportReport::text() const
{
    if (!refusal.isEmpty())
        return QStringLiteral("Nothing was exported. ") + refusal;
    const QString folder = QDir::toNativeSeparators(directory);
    QStringList written, missing, older, advice;
    const ExportedFile* failed = nullptr;
    for (const ExportedFile& f : files) {
        if (f.error && !failed)
            failed = &f;
        if (f.written)
            written << QStringLiteral("    ") + f.fileName;
        else if (!f.problem.isEmpty())
            missing << QStringLiteral("    %1 (%2)").arg(f.fileName, f.problem);
        else if (!f.available)
            missing << QStringLiteral("    %1 (this pattern is not available yet)").arg(f.fileName);
        if (!f.written && f.olderInFolder)
            older << f.fileName;
    }
    QString text;
    auto paragraph = [&text](const QString& more) {
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += more;
    };
    if (failed) {
        // One file that cannot be written stops the set: none is written.
        paragraph(QStringLiteral("Nothing was written into %1: %2 could not be written: %3.\n%4")
                      .arg(folder, failed->fileName, File_Error_Reason(failed->error),
                           File_Error_Advice(failed->error)));
        if (!notRestored.isEmpty())
            paragraph(QStringLiteral("Not every old file could be put back: %1.").arg(notRestored));
        else if (!older.isEmpty())
            paragraph(QStringLiteral("The files of an earlier export in that folder are as they were: %1.")
                          .arg(older.join(QStringLiteral(", "))));
    } else {
        if (!written.isEmpty())
            paragraph(QStringLiteral("Written into %1:\n").arg(folder) + written.join(QLatin1Char('\n')));
        if (!missing.isEmpty())
            paragraph(QStringLiteral("Not written into %1:\n").arg(folder) + missing.join(QLatin1Char('\n')));
        if (!older.isEmpty())
            paragraph((older.size() == 1 ? QStringLiteral("The file %1 in that folder is from an earlier export: it "
                                                          "does not belong to the files written now.")
                                         : QStringLiteral("The files %1 in that folder are from an earlier export: "
                                                          "they do not belong to the files written now."))
                          .arg(older.join(QStringLiteral(", "))));
    }
    if (!notes.isEmpty())
        paragraph(QStringLiteral("Left out:\n    ") + notes.join(QStringLiteral("\n    ")));
    return text;
}

QString Export_Folder_Refusal()
{
    const QString dir = GetGlobClass()->dxfDir;
    if (dir.isEmpty())
        return QStringLiteral("No project output directory: make or open a project first.");
    const int code = Make_Folder(dir);
    if (code == 0)
        return QString();
    return QStringLiteral("The project output folder could not be made:\n%1\n%2. %3")
        .arg(QDir::toNativeSeparators(dir), File_Error_Reason(code), File_Error_Advice(code));
}

ExportReport Export_All_Patterns(const PatternSheet& sheet, const std::function<void(int)>& progress)
{
    auto report = [&progress](int percent) {
        if (progress)
            progress(percent);
    };
    ExportReport result;
    result.directory = GetGlobClass()->dxfDir;
    // Without a project there is no output directory; nothing is written
    // anywhere else.
    result.refusal = Export_Folder_Refusal();
    if (!result.refusal.isEmpty())
        return result;
    result.refusal = Patterns_Refusal(sheet.design);
    if (!result.refusal.isEmpty())
        return result;

    const QList<PatternWriter>& writers = Pattern_Writers();
    PatternSheet writing = sheet;
    writing.notes = &result.notes;
    FileSet set;
    report(0);
    for (int i = 0; i < writers.size(); ++i) {
        const PatternWriter& w = writers.at(i);
        const bool last = i + 1 == writers.size();
        if (last) {
            report(70);
            report(80);
        }
        ExportedFile file;
        file.fileName = w.fileName;
        file.available = w.draw != nullptr;
        if (file.available && !set.failed()) {
            // One sheet at a time, written beside its file at once: the 3-D
            // drawing alone is some twenty megabytes.
            // A sheet whose numbers are not all finite is left out whole:
            // a cutter given "nan" cuts garbage or stops.
            const PieceSheet drawn = w.draw(writing);
            file.problem = Sheet_File_Problem(drawn);
            if (file.problem.isEmpty()) {
                const FileSaveResult added =
                    set.add(QDir(result.directory).filePath(w.fileName),
                            [&drawn](const FilePiece& put) { return Sheet_Dxf_Write(drawn, put); });
                file.error = added.code;
                file.written = added.ok();
            }
        }
        result.files.append(file);
        report(last ? 100 : 10 * (i + 1));
    }
    const FileSaveResult saved = set.commit();
    if (!saved.ok()) {
        result.notRestored = saved.notRestored;
        for (ExportedFile& f : result.files) {
            f.written = false;
            if (!saved.path.isEmpty() && QFileInfo(saved.path).fileName() == f.fileName && !f.error)
                f.error = saved.code;
        }
    }
    for (ExportedFile& f : result.files)
        f.olderInFolder = !f.written && QFileInfo(QDir(result.directory).filePath(f.fileName)).isFile();
    return result;
}
