// Median times of "Export all" of the default design (every pattern file
// written into an output directory), of each writer of the export on its own
// and of each tab's preview.
//   bench_export [RUNS] [PROJECT] [OUTDIR] [PREVIEWDIR]
// PROJECT defaults to "template.ini" of the application directory; its
// design lines are read from beside it as a project's are (".prg" -> ".dsg",
// "template.ini" -> "template.dsg"). The files of the last "Export all" stay
// in OUTDIR when one is given (it is made when missing), else they go into a
// scratch directory that is removed at the end. With PREVIEWDIR, the outline
// of each tab's preview is written there as text ("<file>.preview.txt": one
// path element a line), to compare previews of two builds.
//
// The user waits for the first export of a session too: RUNS fresh processes
// of this program (reading the design as the program does, exporting three
// times) give the medians of the first and of the
// later exports, and the export's peak memory above what the process held
// before it.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainterPath>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <vector>

#include "bench/benchtime.h"
#include "core/calcul3d.h"
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

// Resident and peak resident memory of this process in kB.
long statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray k(key);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(k))
            return line.mid(k.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Processor time of this process (user and system) in milliseconds: on a
// busy machine the wall time says more about the neighbours.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Starts the peak resident figure again from the present one.
void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

bool readDesign(const QString& path, ParaStruct* design)
{
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, design, &reason)) {
        std::fprintf(stderr, "cannot read %s %s\n", qPrintable(path), qPrintable(reason));
        return false;
    }
    GetGlobClass()->dsgPath = designLinesOf(path);
    design->designSplines = Open_Design_Lines();
    GetGlobClass()->dsgPath.clear();
    // As the program makes an opened design current.
    design->Repair_Airfoils();
    Refresh_Calculations(design);
    return true;
}

PatternSheet sheetOf(ParaStruct* design)
{
    PatternSheet sheet;
    sheet.design = design;
    sheet.font = QFont(QStringLiteral("Noto Sans"), 9);
    sheet.viewSize = QSize(1600, 900);
    return sheet;
}

// One fresh process: start-up as the program, read, export three times.
// Prints "first later extra-peak-kB".
int child(const QString& path, const QString& outDir)
{
    auto design = std::make_unique<ParaStruct>();
    if (!readDesign(path, design.get()))
        return 1;
    GetGlobClass()->dxfDir = outDir;
    const PatternSheet sheet = sheetOf(design.get());
    const long before = statusKb("VmRSS:");
    resetPeak();
    std::vector<double> ms, cpu;
    long peak = 0;
    for (int k = 0; k < 3; ++k) {
        const double c0 = cpuMs();
        ms.push_back(bench::medianMs(1, [&] { Export_All_Patterns(sheet); }));
        cpu.push_back(cpuMs() - c0);
        if (k == 0)
            peak = statusKb("VmHWM:");
    }
    std::printf("%.3f %.3f %ld %.3f %.3f\n", ms[0], bench::median({ms[1], ms[2]}), peak - before, cpu[0],
                bench::median({cpu[1], cpu[2]}));
    return 0;
}

void dumpPreview(const QString& dir, const QString& name, const QPainterPath& path)
{
    QFile f(QDir(dir).filePath(name + QStringLiteral(".preview.txt")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QTextStream out(&f);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        out << int(e.type) << ' ' << QString::number(e.x, 'f', 6) << ' ' << QString::number(e.y, 'f', 6) << '\n';
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Install_Recompute_Hooks();
    const bool isChild = argc > 1 && std::strcmp(argv[1], "--child") == 0;
    const int first = isChild ? 2 : 1;
    const int runs = argc > first ? std::max(1, atoi(argv[first])) : 11;
    const QString path = argc > first + 1 ? QString::fromLocal8Bit(argv[first + 1])
                                          : QCoreApplication::applicationDirPath() + "/../bin/template.ini";

    std::optional<QTemporaryDir> scratch;
    QString outDir;
    if (argc > first + 2) {
        outDir = QDir(QString::fromLocal8Bit(argv[first + 2])).absolutePath();
        if (!QDir().mkpath(outDir)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(outDir));
            return 1;
        }
    } else {
        scratch.emplace();
        outDir = scratch->path();
    }
    if (isChild)
        return child(path, outDir);

    // Fresh processes first, on a quiet heap.
    {
        std::vector<double> firsts, laters, peaks, firstCpus, laterCpus;
        for (int k = 0; k < runs; ++k) {
            QProcess p;
            p.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QStringLiteral("1"), path, outDir});
            p.waitForFinished(-1);
            const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
            if (p.exitCode() != 0 || f.size() != 5) {
                std::fprintf(stderr, "fresh export process failed\n");
                return 1;
            }
            firsts.push_back(f[0].toDouble());
            laters.push_back(f[1].toDouble());
            peaks.push_back(f[2].toDouble() / 1024.0);
            firstCpus.push_back(f[3].toDouble());
            laterCpus.push_back(f[4].toDouble());
        }
        std::printf("Export all in a fresh process, median of %d: first %.1f ms, later %.1f ms, "
                    "extra peak memory of the first %.1f MB\n",
                    runs, bench::median(firsts), bench::median(laters), bench::median(peaks));
        std::printf("  processor time: first %.1f ms, later %.1f ms\n", bench::median(firstCpus),
                    bench::median(laterCpus));
    }

    auto design = std::make_unique<ParaStruct>();
    if (!readDesign(path, design.get()))
        return 1;
    GetGlobClass()->dxfDir = outDir;
    const PatternSheet sheet = sheetOf(design.get());

    std::printf("%s: %d cells, %lld design lines\n", qPrintable(path), design->cells,
                static_cast<long long>(design->designSplines.size()));
    for (const PatternWriter& w : Pattern_Writers()) {
        if (!w.draw || w.kind == Drawing3D)
            continue;
        const double ms = bench::medianMs(runs, [&] { Preview_Pattern(sheet, w.kind); });
        std::printf("preview of %-14s median: %.1f ms\n", qPrintable(w.fileName), ms);
        if (argc > first + 3) {
            const QString dir = QString::fromLocal8Bit(argv[first + 3]);
            QDir().mkpath(dir);
            dumpPreview(dir, w.fileName, Preview_Pattern(sheet, w.kind));
        }
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
