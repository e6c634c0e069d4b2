// Writes the seeds of the project harness (fuzz_project.cpp) from the default
// design as this build makes it, so that the seeds follow the design:
//   wl_project_seeds <template.ini> <folder>
// Each seed is a project file followed by the design-line stream of its
// ".dsg": "template-lines.prg" the generated "template.ini" with the
// "template.dsg" beside it, and "eight-cells-lines.prg" the same design with
// 8 cells and its lines, which recomputes and exports in a fraction of the
// time. A design that comes without lines gets three: a straight one and a
// quadratic arc on the top surface, a cubic B-spline on the bottom one.

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/designcurves.h"
#include "graphics/pattspline.h"
#include "shell/model/installhooks.h"
#include "tools/template/defaultdesign.h"

namespace {

// A line of the side through the given (rib, fraction of the design area's
// height from the trailing edge) places, recomputed as the editor would.
Spline lineThrough(const ParaStruct* d, int side, const QList<QPair<int, double>>& at)
{
    Spline s;
    s.side = side;
    s.pointCount = int(at.size());
    for (int i = 0; i < at.size(); ++i) {
        const int k = at[i].first;
        s.points[i] = QPointF(d->ribSpanPos[k], d->trailingEdgeX[k] - at[i].second * f_glob(d, side, k));
    }
    Calculate_Spline_Poly(d, &s);
    return s;
}

QList<Spline> designLines(const ParaStruct* d)
{
    const int tip = d->lastRib;
    return {lineThrough(d, 0, {{d->firstRib, 0.3}, {tip, 0.6}}),
            lineThrough(d, 0, {{1, 0.8}, {tip / 2, 0.5}, {tip - 1, 0.75}}),
            lineThrough(d, 1, {{d->firstRib, 0.2}, {tip / 3, 0.45}, {(2 * tip) / 3, 0.35}, {tip, 0.5}})};
}

// The ".dsg" bytes of the lines as the program writes them.
QByteArray linesFile(const QList<Spline>& lines)
{
    QTemporaryDir scratch;
    GetGlobClass()->dsgPath = scratch.filePath(QStringLiteral("lines.dsg"));
    QFile dsg(GetGlobClass()->dsgPath);
    if (!WriteSplineStream(lines) || !dsg.open(QIODevice::ReadOnly))
        return QByteArray();
    return dsg.readAll();
}

// The project file's bytes followed by the ".dsg" bytes (the design's own
// lines when `lines` is empty).
bool writeSeed(const QByteArray& project, QByteArray lines, const QString& path)
{
    if (lines.isEmpty()) {
        auto d = std::make_unique<ParaStruct>();
        QBuffer in;
        in.setData(project);
        in.open(QIODevice::ReadOnly);
        QString reason;
        if (!Read_Project(&in, d.get(), &reason)) {
            std::fprintf(stderr, "wl_project_seeds: the design does not read: %s\n", qPrintable(reason));
            return false;
        }
        d->Repair_Airfoils();
        Refresh_Calculations(d.get());
        lines = linesFile(designLines(d.get()));
    }
    QFile out(path);
    if (lines.isEmpty() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || out.write(project) != project.size() || out.write(lines) != lines.size() || !out.flush()) {
        std::fprintf(stderr, "wl_project_seeds: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: wl_project_seeds <template.ini> <folder>\n");
        return 2;
    }
    Install_Recompute_Hooks();
    const QFileInfo shippedInfo(QString::fromLocal8Bit(argv[1]));
    QFile shipped(shippedInfo.filePath());
    if (!shipped.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "wl_project_seeds: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile shippedLines(shippedInfo.absolutePath() + QStringLiteral("/") + shippedInfo.completeBaseName()
                       + QStringLiteral(".dsg"));
    const QByteArray lines = shippedLines.open(QIODevice::ReadOnly) ? shippedLines.readAll() : QByteArray();
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(folder.path());

    const auto small = Build_Default_Design(8);
    QBuffer smallProject;
    smallProject.open(QIODevice::WriteOnly);
    const bool ok = writeSeed(shipped.readAll(), lines, folder.filePath(QStringLiteral("template-lines.prg")))
                 && Write_Project(&smallProject, *small)
                 && writeSeed(smallProject.data(),
                              small->designSplines.isEmpty() ? QByteArray() : linesFile(small->designSplines),
                              folder.filePath(QStringLiteral("eight-cells-lines.prg")));
    return ok ? 0 : 1;
}
