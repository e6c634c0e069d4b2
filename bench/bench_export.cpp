// Median times of "Export all" of the default design (every pattern file
// written into a scratch output directory), of each writer of the export on
// its own and of each tab's preview.
//   bench_export [RUNS] [PROJECT]
// PROJECT defaults to "template.ini" of the application directory.

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "bench/benchtime.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/designspline.h"
#include "patterns/patternsheet.h"
#include "shell/model/installhooks.h"

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
    QTemporaryDir out;
    GetGlobClass()->dxfDir = out.path();
    PatternSheet sheet;
    sheet.design = design.get();
    sheet.font = QFont(QStringLiteral("Noto Sans"), 9);
    sheet.viewSize = QSize(1600, 900);

    ExportReport report;
    const double all = bench::medianMs(runs, [&] { report = Export_All_Patterns(sheet); });
    std::printf("Export all, %d cells, median of %d: %.1f ms\n", design->cells, runs, all);
    for (const ExportedFile& f : report.files) {
        const qint64 bytes = QFileInfo(out.filePath(f.fileName)).size();
        std::printf("  %-14s %s", qPrintable(f.fileName), f.written ? "written" : f.available ? "FAILED" : "not available yet");
        if (f.written)
            std::printf(", %lld bytes", static_cast<long long>(bytes));
        std::printf("\n");
    }
    // Each writer of the export on its own, file written.
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
    // The panel sheet again with two design lines, one on each surface, that
    // cut the pieces of several cells.
    if (design->lastRib > 10) {
        auto at = [&](int side, int k, int i) {
            const double s = side == 0 ? design->airfoilArcLen[i][k]
                                       : design->airfoilArcLen[999][k] - design->airfoilArcLen[i][k];
            return QPointF(design->ribSpanPos[k], design->trailingEdgeX[k] - s);
        };
        auto line = [](int side, const QList<QPointF>& points) {
            Spline l;
            l.side = side;
            l.pointCount = points.size();
            for (int i = 0; i < points.size(); ++i)
                l.points[i] = points.at(i);
            return l;
        };
        design->designSplines = {line(0, {at(0, 5, 250), at(0, 7, 330), at(0, 10, 200)}),
                                 line(1, {at(1, 1, 850), at(1, 4, 700)})};
        const double ms = bench::medianMs(runs, [&] { Preview_Pattern(sheet, PanelPatterns); });
        std::printf("preview of longpatt.dxf with 2 design lines median: %.1f ms\n", ms);
        design->designSplines.clear();
    }
    return report.refusal.isEmpty() ? 0 : 1;
}
