// Writes the seeds of the project harness (fuzz_project.cpp) from the default
// design as this build makes it, so that the seeds follow the design:
//   wl_project_seeds <template.ini> <folder>
// Each seed is a project file followed by the design-line stream of its
// ".dsg": "template-lines.prg" the generated "template.ini" with the
// "template.dsg" beside it, and "eight-cells-lines.prg" the same design with
// 8 cells and its lines, which recomputes and exports in a fraction of the
// time. A design that comes without lines gets three: a straight one and a
// quadratic arc on the top surface, a cubic B-spline on the bottom one.
// Beside them "edge-<field>-past.prg": the 8-cell design with one stored
// number just past the bound of the range the reader accepts for it, and
// for a few fields "edge-<field>-at.prg" with the bound itself (see
// edgeValues below); and "flat-<case>.prg", the 8-cell design without a
// span to speak of, whose recompute divides by nothing.

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string_view>
#include <utility>
#include <memory>

#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/projectsteps.h"
#include "geom/designcurves.h"
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

// One stored number of the design set to a value at the edge of what the
// reader accepts: `at` the bound itself (read, recomputed and exported: the
// writers' conversions meet the largest numbers an accepted file carries),
// and the next number past it (refused, with the field named).
struct EdgeValue {
    const char* name;
    double bound;
    std::function<void(ParaStruct*, double)> set;
    bool exported = false; // the accepted value is a seed too
};

QList<EdgeValue> edgeValues()
{
    using namespace projectfile;
    return {
        {"airfoil-y-high", kChordUnits.hi, [](ParaStruct* d, double v) { d->ribAirfoils[2][300].setY(v); }, true},
        {"design-airfoil-y-low", kChordUnits.lo, [](ParaStruct* d, double v) { d->designAirfoils[0][150].setY(v); }, true},
        {"chord-high", kPlanUnits.hi, [](ParaStruct* d, double v) { d->chord[3] = v; }},
        {"span-position-low", kPlanUnits.lo, [](ParaStruct* d, double v) { d->ribSpanPos[4] = v; }},
        {"cell-width-high", kPlanUnits.hi, [](ParaStruct* d, double v) { d->cellWidth[1] = v; }},
        {"trailing-edge-high", kPlanUnits.hi, [](ParaStruct* d, double v) { d->trailingEdgeX[5] = v; }},
        {"span-high", designinput::kSpan.range.hi, [](ParaStruct* d, double v) { d->span = v; }},
        {"hang-height-low", designinput::kHangHeight.range.lo, [](ParaStruct* d, double v) { d->hangHeight = v; }},
        {"seam-allowance-high", designinput::kSeamAllowance.range.hi, [](ParaStruct* d, double v) { d->seamAllowance[0] = v; }, true},
        {"diagonal-width-high", kMillimetres.hi, [](ParaStruct* d, double v) { d->diagBottomWidth = v; }, true},
        {"rib-angle-high", kDegrees.hi, [](ParaStruct* d, double v) { d->ribAngle[2] = v; }},
        {"twist-low", designinput::kTwist.range.lo, [](ParaStruct* d, double v) { d->maxTwistAngle = v; }},
        {"weight-high", designinput::kTotalWeight.range.hi, [](ParaStruct* d, double v) { d->totalWeight = v; }},
        {"billow-offset-high", kPlanUnits.hi, [](ParaStruct* d, double v) { d->billowLineOffset = v; }},
    };
}

// The seeds of every edge value beside the design's own seed, with its lines.
bool writeEdgeSeeds(const ParaStruct& design, const QByteArray& lines, const QDir& folder)
{
    for (const EdgeValue& e : edgeValues()) {
        const double past = std::nextafter(e.bound, e.bound > 0 ? HUGE_VAL : -HUGE_VAL);
        for (const auto& [kind, value] : {std::pair<const char*, double>{"at", e.bound}, {"past", past}}) {
            // An accepted seed is recomputed and exported in every replay:
            // only those that reach the pattern writers' conversions at a
            // bearable cost (a wing of 10 km takes minutes).
            const QString name = QStringLiteral("edge-%1-%2.prg").arg(QLatin1String(e.name), QLatin1String(kind));
            if (std::string_view(kind) == "at" && !e.exported) {
                QFile::remove(folder.filePath(name)); // one an earlier build wrote
                continue;
            }
            auto variant = std::make_unique<ParaStruct>(design);
            e.set(variant.get(), value);
            QBuffer project;
            project.open(QIODevice::WriteOnly);
            if (!Write_Project(&project, *variant) || !writeSeed(project.data(), lines, folder.filePath(name)))
                return false;
        }
    }
    return true;
}

// A wing of no span (0, or 1e-300 m): within the reader's ranges, and
// every length derived from it is 0 or not a number.
bool writeFlatSeeds(const ParaStruct& design, const QByteArray& lines, const QDir& folder)
{
    for (const auto& [name, span] : {std::pair<const char*, double>{"span-zero", 0.0}, {"span-tiny", 1e-300}}) {
        auto variant = std::make_unique<ParaStruct>(design);
        variant->span = span;
        QBuffer project;
        project.open(QIODevice::WriteOnly);
        if (!Write_Project(&project, *variant)
            || !writeSeed(project.data(), lines, folder.filePath(QStringLiteral("flat-%1.prg").arg(QLatin1String(name)))))
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
    const QByteArray smallLines = linesFile(small->designSplines.isEmpty() ? designLines(small.get())
                                                                            : small->designSplines);
    const bool ok = writeSeed(shipped.readAll(), lines, folder.filePath(QStringLiteral("template-lines.prg")))
                 && Write_Project(&smallProject, *small)
                 && writeSeed(smallProject.data(), smallLines, folder.filePath(QStringLiteral("eight-cells-lines.prg")))
                 && writeEdgeSeeds(*small, smallLines, folder) && writeFlatSeeds(*small, smallLines, folder);
    return ok ? 0 : 1;
}
