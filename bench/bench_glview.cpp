// Frames per second of the 3-D view drawing the default design, flat and
// inflated, solid. Each frame is drawn into the view's frame buffer and read
// back, without showing a window; a display is still needed for the GL
// context (run it under xvfb-run).
//   bench_glview [FRAMES] [WIDTHxHEIGHT]

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>

#include "core/calcul3d.h"
#include "shell/glwidget.h"
#include "core/openfile.h"
#include "core/parastruct.h"

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

    design->inflatedView = false;
    view.ReInit_GL();
    const double flat = framesPerSecond(view, frames);
    const int flatQuads = view.flatQuads().size();
    design->inflatedView = true;
    view.ReInit_GL();
    const double inflated = framesPerSecond(view, frames);
    const int infQuads = view.inflatedQuads().size();

    std::printf("3-D view, default design (%d cells), %dx%d, %d frames each\n", design->cells, width,
                height, frames);
    std::printf("  flat solid:     %7.1f frames/s  (%d quads per half)\n", flat, flatQuads);
    std::printf("  inflated solid: %7.1f frames/s  (%d quads per half)\n", inflated, infQuads);
    return 0;
}
