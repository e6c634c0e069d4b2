// Median times of the recompute on the default design: the whole pipeline,
// each of its steps, and the 3-D canopy and cell-grid steps run alone.
//   bench_recompute [RUNS] [PROJECT]
// PROJECT defaults to "template.ini" of the application directory.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
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

    const double canopy = medianMs(runs, [&] { Create_Space_Canopy(d); });
    const double flat = medianMs(runs, [&] { Space_Canopy_Flat(d); });
    const double inflated = medianMs(runs, [&] { Space_Canopy_Inflated(d); });

    std::printf("design: %s, %d cells (median of %d runs)\n", qPrintable(path), d->cells, runs);
    std::printf("Refresh_Calculations       %6.2f ms\n", full);
    for (const std::string& s : order)
        std::printf("  %-24s %6.2f ms\n", s.c_str(), median(steps[s]));
    std::printf("alone:\n");
    std::printf("  Create_Space_Canopy      %6.2f ms\n", canopy);
    std::printf("  Space_Canopy_Flat        %6.2f ms\n", flat);
    std::printf("  Space_Canopy_Inflated    %6.2f ms\n", inflated);
    return 0;
}
