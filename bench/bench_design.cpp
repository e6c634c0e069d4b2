// Median times of what the design dialog makes the user wait for on the
// default design with two design lines on the top side: the colouring tab's
// show (every cell cut along the lines and laid out, the UV outlines
// published), the texture image painted and written, and the preview's
// control net and texture bytes.
//   bench_design [RUNS] [PROJECT]
// PROJECT defaults to "template.ini" of the application directory.

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "bench/benchtime.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/nurbspreview.h"
#include "graphics/piececolouring.h"
#include "shell/model/installhooks.h"

namespace {

// A line across the top side from rib k0 to rib k1, at a fraction f of the
// way from the trailing edge to the O1 row.
Spline topLine(const ParaStruct* d, int k0, int k1, double f)
{
    Spline s;
    s.pointCount = 3;
    s.degree = 3;
    s.order = 4;
    s.side = 0;
    const int ks[3] = {k0, (k0 + k1) / 2, k1};
    for (int i = 0; i < 3; ++i) {
        const int k = ks[i];
        s.points[i] = QPointF(d->ribSpanPos[k], d->trailingEdgeX[k] - f * d->airfoilArcLen[d->lineIndex[0][k]][k]);
    }
    return s;
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
    ParaStruct* design = GetDataStruct();
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, design, &reason)) {
        std::fprintf(stderr, "cannot read %s %s\n", qPrintable(path), qPrintable(reason));
        return 1;
    }
    Refresh_Calculations(design);
    const int last = design->lastRib;
    design->designSplines = {topLine(design, 1, last / 2, 0.35), topLine(design, 0, last, 0.7)};
    QTemporaryDir out;
    GlobClass* glob = GetGlobClass();
    glob->dxfDir = out.path();
    glob->cnpPath = out.filePath(QStringLiteral("bench.cnp"));

    PieceColouring colouring(design);
    const QRect view(0, 0, 1260, 720);
    const double show = bench::medianMs(runs, [&] { colouring.Show(view); });
    std::printf("colouring tab shown, %d cells, %lld pieces, median of %d: %.1f ms\n", design->cells,
                static_cast<long long>(colouring.outlines.size()), runs, show);
    for (int i = 0; i < colouring.colours.size(); i += 3)
        colouring.colours[i] = QColor(200, 30, 30, 200);
    glob->pieceColours = colouring.colours;

    const double save = bench::medianMs(runs, [&] { colouring.Save_Canopy_Data(); });
    std::printf(".cnp written, %lld bytes, median: %.1f ms\n",
                static_cast<long long>(QFileInfo(glob->cnpPath).size()), save);
    const double image = bench::medianMs(runs, [&] { Create_DesignImage(); });
    std::printf("texture image painted and written, %lld bytes, median: %.1f ms\n",
                static_cast<long long>(QFileInfo(Design_Image_Path()).size()), image);
    auto surface = std::make_unique<NurbsSurface>();
    const double net = bench::medianMs(runs, [&] { Set_Inflated_Surface_Points(design, nurbs::kModelScale,
                                                                               surface.get()); });
    std::printf("control net, %d x %d, median: %.2f ms\n", surface->chordCount, surface->spanCount, net);
    QImage loaded(Design_Image_Path());
    const double bytes = bench::medianMs(runs, [&] {
        loaded = QImage(Design_Image_Path());
        Texture_BGR(loaded);
    });
    std::printf("texture image read and turned into upload bytes, median: %.1f ms\n", bytes);
    return 0;
}
