// Median times of the recompute on the default design: the whole pipeline,
// each of its steps (the last one places and loads the line plan), the share
// of the line step, what the bridle manager's OK adds (the line plan placed
// once more with empty groups made ready), and the 3-D canopy and cell-grid
// steps run alone.
//   bench_recompute [RUNS] [PROJECT]
// PROJECT defaults to "template.ini" of the application directory.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchtime.h"
#include "core/calcul3d.h"
#include "core/canopy.h"
#include "core/cellgrid.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "shell/model/installhooks.h"
#include "lines/linetree.h"
#include "structure/diagonals.h"
#include "structure/diagshape.h"

using bench::median;
using bench::medianMs;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Install_Recompute_Hooks();
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 51;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : QCoreApplication::applicationDirPath() + "/../bin/template.ini";
    auto design = std::make_unique<ParaStruct>();
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, design.get(), &reason)) {
        std::fprintf(stderr, "cannot read %s %s\n", qPrintable(path), qPrintable(reason));
        return 1;
    }
    ParaStruct* d = design.get();
    Refresh_Calculations(d);

    // Per step: the time from one step's start to the next one's.
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> steps;
    QElapsedTimer clock;
    std::string current;
    auto close = [&] {
        if (!current.empty())
            steps[current].push_back(clock.nsecsElapsed() / 1e6);
    };
    Set_Recompute_Trace([&](const char* step) {
        close();
        current = step;
        if (std::find(order.begin(), order.end(), current) == order.end())
            order.push_back(current);
        clock.restart();
    });
    const double full = medianMs(runs, [&] {
        current.clear();
        Refresh_Calculations(d);
        close();
    });
    Set_Recompute_Trace({});

    // What the bridle manager's OK adds on top of the recompute, which
    // places the line plan itself as its last step.
    const double lines = medianMs(runs, [&] { Recalculate_Line_Plan(d); });
    int lineCount = 0;
    for (const BridleGroup& g : d->bridle.groups)
        lineCount += g.lineCount;

    const double canopy = medianMs(runs, [&] { Create_Space_Canopy(d); });
    const double flat = medianMs(runs, [&] { Space_Canopy_Flat(d); });
    const double inflated = medianMs(runs, [&] { Space_Canopy_Inflated(d); });
    // What the 3-D view adds at each rebuild: every diagonal completed, the
    // cross-port holes placed in the model once for all of them.
    const double shapes = medianMs(runs, [&] {
        const HoleModel holes = Hole_Model(d);
        for (DiagonalData& g : d->diagonals) {
            DiagonalData copy = g;
            Create_Diagonal_2D3D(*d, &copy, holes);
        }
    });

    std::printf("design: %s, %d cells (median of %d runs)\n", qPrintable(path), d->cells, runs);
    std::printf("Refresh_Calculations       %6.2f ms\n", full);
    for (const std::string& s : order)
        std::printf("  %-24s %6.2f ms\n", s.c_str(), median(steps[s]));
    const double placement = median(steps["Place_Line_Plan"]);
    std::printf("the line plan (%d lines and %d riser lines placed and loaded):\n", lineCount,
                d->bridle.riserGroup.lineCount);
    std::printf("  line step: %.1f %% of the recompute\n", full > 0 ? 100 * placement / full : 0.0);
    std::printf("  Recalculate_Line_Plan    %6.2f ms (the bridle manager's OK)\n", lines);
    const double diagonals = median(steps["Generate_All_Diagonals"]);
    std::printf("  diagonal step: %d diagonals, %.1f %% of the recompute\n", int(d->diagonals.size()),
                full > 0 ? 100 * diagonals / full : 0.0);
    // A digest of what the recompute derived, so that a change meant to
    // leave the results alone can be checked against the program before it.
    std::uint64_t digest = 1469598103934665603ull;
    auto mix = [&digest](const void* data, std::size_t size) {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i)
            digest = (digest ^ p[i]) * 1099511628211ull;
    };
    Refresh_Calculations(d);
    const ParaStruct* derived = d;
    mix(&derived->ribCurves3D.values(), sizeof derived->ribCurves3D.values());
    mix(&derived->clothHalfOversize.values(), sizeof derived->clothHalfOversize.values());
    mix(&derived->patternOversize.values(), sizeof derived->patternOversize.values());
    mix(&derived->flatGrid.values(), sizeof derived->flatGrid.values());
    mix(&derived->inflatedGrid.values(), sizeof derived->inflatedGrid.values());
    for (const DiagonalData& g : d->diagonals) {
        DiagonalData copy = g;
        Create_Diagonal_2D3D(*d, &copy);
        for (const QPolygonF& hole : copy.flatHoles)
            mix(hole.constData(), hole.size() * sizeof(QPointF));
        for (const QList<QVector3D>& hole : copy.spaceHoles)
            mix(hole.constData(), hole.size() * sizeof(QVector3D));
        mix(copy.flatOutline.constData(), copy.flatOutline.size() * sizeof(QPointF));
        mix(copy.spaceOutline.constData(), copy.spaceOutline.size() * sizeof(QVector3D));
    }
    std::printf("digest of the derived data: %016llx\n", static_cast<unsigned long long>(digest));
    std::printf("alone:\n");
    std::printf("  Create_Space_Canopy      %6.2f ms\n", canopy);
    std::printf("  Space_Canopy_Flat        %6.2f ms\n", flat);
    std::printf("  Space_Canopy_Inflated    %6.2f ms\n", inflated);
    std::printf("  Create_Diagonal_2D3D     %6.2f ms (all %d diagonals)\n", shapes, int(d->diagonals.size()));
    return 0;
}
