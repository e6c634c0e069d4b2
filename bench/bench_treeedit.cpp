// Median times of what the line-group editor does while the user drags a
// node of the default design's L1 group: one mouse move (the tree placed,
// loaded and stored) and one paint of the editor; and one placement of the
// riser tree. Runs on the offscreen platform unless another is chosen.
//   bench_treeedit [RUNS] [PROJECT]
// PROJECT defaults to "template.ini" of the application directory.

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMouseEvent>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "bench/benchtime.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "lines/ui/graphixwidget.h"
#include "lines/ui/raiserwidget.h"
#include "shell/model/installhooks.h"

using bench::medianMs;

namespace {
void send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Install_Recompute_Hooks();
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 51;
    const QString path = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : QCoreApplication::applicationDirPath() + "/../bin/template.ini";
    ParaStruct* d = GetDataStruct();
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, d, &reason)) {
        std::fprintf(stderr, "cannot read %s %s\n", qPrintable(path), qPrintable(reason));
        return 1;
    }
    Refresh_Calculations(d);

    GraphixWidget g;
    g.resize(1024, 768);
    g.show();
    g.setLineSelection(2);
    g.Select_OneGrupLine();
    const BridleGroup& w = g.workingGroup();
    const int node = g.frameNodeCount() + 1;
    const QPoint at = g.widgetPoint(w.points.at(node));
    send(&g, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    const double move = medianMs(runs, [&] {
        // Up and down by a pixel: the line's length changes at every move.
        send(&g, QEvent::MouseMove, at + QPoint(0, (step++ % 2) ? 1 : -1), Qt::NoButton, Qt::LeftButton);
    });
    send(&g, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    QImage image(g.size(), QImage::Format_ARGB32);
    const double paint = medianMs(runs, [&] { g.render(&image); });

    RaiserWidget r;
    r.resize(1024, 768);
    r.show();
    const double riser = medianMs(runs, [&] { r.Recalculate_Raiser(); });

    std::printf("L1 of the default design: %d nodes, %d lines\n", int(w.points.size()), int(w.lines.size()));
    std::printf("drag move (place, load, store): %.3f ms\n", move);
    std::printf("paint of the line-group editor: %.3f ms\n", paint);
    std::printf("riser placement and store:      %.3f ms\n", riser);
    return 0;
}
