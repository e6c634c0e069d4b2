// Median times of "Export all" of the default design (every pattern file
// written into an output directory), of each writer of the export on its own
// and of each tab's preview.
//   bench_export [RUNS] [PROJECT] [OUTDIR]
// PROJECT defaults to "template.ini" of the application directory; its
// design lines are read from beside it as a project's are (".prg" -> ".dsg",
// "template.ini" -> "template.dsg"). The files of the last "Export all" stay
// in OUTDIR when one is given (it is made when missing), else they go into a
// scratch directory that is removed at the end.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <optional>

#include "bench/benchtime.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/designspline.h"
#include "graphics/pattspline.h"
#include "patterns/patternsheet.h"
#include "shell/model/installhooks.h"

namespace {

// The design-line file that goes with a project file.
QString designLinesOf(const QString& project)
{
    if (project.contains(QLatin1String(".prg")))
        return QString(project).replace(QLatin1String(".prg"), QLatin1String(".dsg"));
    const QFileInfo info(project);
    return info.absolutePath() + "/" + info.completeBaseName() + ".dsg";
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Install_Recompute_Hooks();
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 11;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : QCoreApplication::applicationDirPath() + "/../bin/template.ini";
    auto design = std::make_unique<ParaStruct>();
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, design.get(), &reason)) {
        std::fprintf(stderr, "cannot read %s %s\n", qPrintable(path), qPrintable(reason));
        return 1;
    }
    GetGlobClass()->dsgPath = designLinesOf(path);
    design->designSplines = Open_Design_Lines();
    GetGlobClass()->dsgPath.clear();

    std::optional<QTemporaryDir> scratch;
    QString outDir;
    if (argc > 3) {
        outDir = QDir(QString::fromLocal8Bit(argv[3])).absolutePath();
        if (!QDir().mkpath(outDir)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(outDir));
            return 1;
        }
    } else {
        scratch.emplace();
        outDir = scratch->path();
    }
    GetGlobClass()->dxfDir = outDir;
    PatternSheet sheet;
    sheet.design = design.get();
    sheet.font = QFont(QStringLiteral("Noto Sans"), 9);
    sheet.viewSize = QSize(1600, 900);

    std::printf("%s: %d cells, %lld design lines\n", qPrintable(path), design->cells,
                static_cast<long long>(design->designSplines.size()));
    // The single writers and previews below run on the design's own lines
    // too; the files the user keeps are those of "Export all", written last.
    for (const PatternWriter& w : Pattern_Writers()) {
        if (!w.write)
            continue;
        GetGlobClass()->writeDxf = true;
        const double ms = bench::medianMs(runs, [&] { w.write(sheet); });
        GetGlobClass()->writeDxf = false;
        std::printf("writing %-14s median: %.1f ms\n", qPrintable(w.fileName), ms);
    }
    for (const PatternWriter& w : Pattern_Writers()) {
        if (!w.write || w.kind == Drawing3D)
            continue;
        const double ms = bench::medianMs(runs, [&] { Preview_Pattern(sheet, w.kind); });
        std::printf("preview of %-14s median: %.1f ms\n", qPrintable(w.fileName), ms);
    }
    // The panel sheet without design lines, for comparison.
    {
        const QList<Spline> lines = design->designSplines;
        design->designSplines.clear();
        const double ms = bench::medianMs(runs, [&] { Preview_Pattern(sheet, PanelPatterns); });
        std::printf("preview of longpatt.dxf without design lines median: %.1f ms\n", ms);
        design->designSplines = lines;
    }

    ExportReport report;
    const double all = bench::medianMs(runs, [&] { report = Export_All_Patterns(sheet); });
    std::printf("Export all, %d cells, median of %d: %.1f ms\n", design->cells, runs, all);
    bool complete = report.refusal.isEmpty();
    for (const ExportedFile& f : report.files) {
        const qint64 bytes = QFileInfo(QDir(outDir).filePath(f.fileName)).size();
        std::printf("  %-14s %s", qPrintable(f.fileName),
                    f.written ? "written" : f.available ? "FAILED" : "not available yet");
        if (f.written)
            std::printf(", %lld bytes", static_cast<long long>(bytes));
        std::printf("\n");
        complete = complete && f.written;
    }
    for (const QString& note : report.notes)
        std::printf("  note: %s\n", qPrintable(note));
    if (!scratch)
        std::printf("files kept in %s\n", qPrintable(QDir::toNativeSeparators(outDir)));
    return complete ? 0 : 1;
}
