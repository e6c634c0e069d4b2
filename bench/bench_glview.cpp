// Frames per second of the 3-D view drawing the default design, flat and
// inflated, solid, and the median time an edit makes the user wait before
// the view shows it: the recompute, then the view's rebuild of its lists
// (what the main window runs after every applied edit). Each frame is drawn into the view's frame buffer and read
// back, without showing a window; a display is still needed for the GL
// context (run it under xvfb-run).
//   bench_glview [FRAMES] [WIDTHxHEIGHT]

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>

#include "bench/benchtime.h"
#include "core/calcul3d.h"
#include "shell/glwidget.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "shell/shellservices.h"

namespace {

double framesPerSecond(glWidget& view, int frames)
{
    view.grabFramebuffer(); // the first frame builds the lists
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < frames; ++i)
        view.grabFramebuffer();
    return frames / (timer.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Install_Shell_Services(); // as the program does: every step of the recompute
    const int frames = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    int width = 1024, height = 768;
    if (argc > 2)
        std::sscanf(argv[2], "%dx%d", &width, &height);

    const QString appDir = QCoreApplication::applicationDirPath() + "/../bin";
    GetGlobClass()->appDir = appDir;
    ParaStruct* design = GetDataStruct();
    if (!myOpenFile().ReadParaStream(appDir + "/template.ini", design)) {
        std::fprintf(stderr, "bench_glview: cannot read %s/template.ini\n", qPrintable(appDir));
        return 1;
    }
    Refresh_Calculations(design);

    glWidget view;
    view.resize(width, height);
    if (view.grabFramebuffer().isNull()) {
        std::fprintf(stderr, "bench_glview: no OpenGL context (run under xvfb-run)\n");
        return 1;
    }

    view.viewState().inflatedView = false;
    view.ReInit_GL();
    const double flat = framesPerSecond(view, frames);
    const int flatQuads = view.flatQuads().size();
    view.viewState().inflatedView = true;
    view.ReInit_GL();
    const double inflated = framesPerSecond(view, frames);
    const int infQuads = view.inflatedQuads().size();

    // An applied edit: the edit raises the rebuild flag, the view
    // rebuilds its lists from the new revision.
    const int edits = std::max(frames, 11);
    const double recompute = bench::medianMs(edits, [&] { Refresh_Calculations(design); });
    const double rebuild = bench::medianMs(edits, [&] {
        design->geometryChanged = true;
        view.ReInit_GL();
    });
    const double both = bench::medianMs(edits, [&] {
        Refresh_Calculations(design);
        design->geometryChanged = true;
        view.ReInit_GL();
    });

    std::printf("3-D view, default design (%d cells), %dx%d, %d frames each\n", design->cells, width,
                height, frames);
    std::printf("  flat solid:     %7.1f frames/s  (%d quads per half)\n", flat, flatQuads);
    std::printf("  inflated solid: %7.1f frames/s  (%d quads per half)\n", inflated, infQuads);
    std::printf("  an edit, median of %d (inflated view):\n", edits);
    std::printf("    Refresh_Calculations            %6.2f ms\n", recompute);
    std::printf("    the view's rebuild (ReInit_GL)  %6.2f ms\n", rebuild);
    std::printf("    both, one after the other       %6.2f ms\n", both);
    return 0;
}
