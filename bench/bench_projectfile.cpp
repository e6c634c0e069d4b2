// Median times of writing and reading a full-size project file and of
// copying the design record, as the editors do when they open.

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench/benchtime.h"
#include "core/designedit.h"
#include "core/openfile.h"
#include "core/parastruct.h"

using bench::medianMs;

namespace {
// A design with every airfoil slot filled, as a real project has.
std::unique_ptr<ParaStruct> fullDesign()
{
    auto d = std::make_unique<ParaStruct>();
    Set_Cell_Count(d.get(), 40);
    QPolygonF foil;
    for (int i = 0; i < kAirfoilPoints; ++i)
        foil.append(QPointF(i / 999.0, 0.001 * (i % 17)));
    for (QPolygonF& p : d->designAirfoils)
        p = foil;
    for (int i = 0; i < kRibSlots; ++i)
        d->ribAirfoils[i] = foil;
    return d;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.prg"));
    auto design = fullDesign();
    myOpenFile files;

    const double write = medianMs(runs, [&] { files.WriteParaStream(path, *design); });
    auto target = std::make_unique<ParaStruct>();
    const double read = medianMs(runs, [&] { files.ReadParaStream(path, target.get()); });
    const double copy = medianMs(runs, [&] { *target = *design; });
    const double fresh = medianMs(runs, [&] { auto r = std::make_unique<ParaStruct>(); });

    std::printf("record size          %8.1f MB\n", sizeof(ParaStruct) / 1e6);
    std::printf("project file size    %8.1f kB\n", QFileInfo(path).size() / 1e3);
    std::printf("write project file   %8.2f ms (median of %d)\n", write, runs);
    std::printf("read project file    %8.2f ms\n", read);
    std::printf("copy the record      %8.2f ms\n", copy);
    std::printf("construct a record   %8.2f ms\n", fresh);
    return 0;
}
