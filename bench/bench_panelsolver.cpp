// Times the panel solver on what the CFD dialog makes the user wait for:
// "wings.inp" of the default design (the application directory's
// "template.ini") as the dialog writes it, for the smooth and the inflated
// model, 13 cases each. The mesh is mirror-symmetric, so the solver solves
// half the system; each file is also solved whole, the two alternating in
// the same run. Prints per mode the median time of each phase and of the
// whole, the peak memory of a run in a process of its own (read, solve,
// format the results, as the solver program does), the lift of a few cases,
// and how far the half solve's results are from the whole one's. Last, the
// inflated model at twice the rows and twice the stations (four times the
// panels), solved once by halves.
//
//   bench_panelsolver [--runs N] [FILE.inp ...]   (files instead of the default design)

#include "aero/apameinput.h"
#include "aero/apamemesh.h"
#include "apps/panelsolver/factorise.h"
#include "apps/panelsolver/panelsolver.h"
#include "apps/panelsolver/solverinput.h"
#include "apps/panelsolver/solverresults.h"
#include "bench/benchtime.h"
#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "shell/model/installhooks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <spawn.h>
#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

using namespace panelsolver;

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// One run as the solver program makes it; false with the reason.
bool solveOnce(const SolverInput& in, bool useSymmetry, SolverResult* res, SolverTimes* t, double* total,
               std::string* why)
{
    SolverOptions options;
    options.useSymmetry = useSymmetry;
    std::string text;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = Solve_Cases(in, res, why, nullptr, t, options) && Format_Solver_Results(in, *res, &text, why);
    *total = seconds(start);
    return ok;
}

// Peak resident memory of this process so far, in MB: the high-water mark
// of its address space, which starts afresh at exec (unlike the resource
// usage a parent gets back, which keeps the parent's own peak).
double ownPeakMegabytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// The child that measures peak memory: reads the file, solves it in the
// mode asked for, formats the results and prints its peak.
int peakChild(const char* mode, const char* path)
{
    Use_Free_Cores();
    SolverInput in;
    SolverResult res;
    SolverTimes t;
    std::string why;
    double total = 0;
    if (!Read_Solver_Input(path, &in, &why) || !solveOnce(in, std::strcmp(mode, "half") == 0, &res, &t, &total, &why)) {
        std::fprintf(stderr, "%s: %s\n", path, why.c_str());
        return 1;
    }
    std::printf("%.1f\n", ownPeakMegabytes());
    return 0;
}

// Peak resident memory of a run in a process of its own, in MB; negative
// when it failed.
double peakMegabytes(const char* self, const char* mode, const std::string& path)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> args = {self, "--peak", mode, path};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string said;
    char buf[256];
    ssize_t got;
    while (started && (got = read(out[0], buf, sizeof buf)) > 0)
        said.append(buf, static_cast<size_t>(got));
    close(out[0]);
    int status = 0;
    if (!started || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::atof(said.c_str());
}

struct Figures {
    std::vector<double> assembly, factor, solve, other, total;
    SolverResult res;
};

void add(Figures* f, const SolverTimes& t, double total)
{
    f->assembly.push_back(t.assembly / 1e3);
    f->factor.push_back(t.factorisation / 1e3);
    f->solve.push_back(t.solution / 1e3);
    f->other.push_back((t.geometry + t.velocities) / 1e3);
    f->total.push_back(total);
}

// Largest difference of the half solve's results from the whole one's,
// relative to the largest magnitude of each kind of result.
double largestDifference(const SolverResult& a, const SolverResult& b)
{
    double worst = 0;
    auto kind = [&worst](const std::vector<double>& x, const std::vector<double>& y) {
        double scale = 0, diff = 0;
        for (size_t k = 0; k < x.size(); ++k) {
            scale = std::max(scale, std::fabs(y[k]));
            diff = std::max(diff, std::fabs(x[k] - y[k]));
        }
        worst = std::max(worst, scale > 0 ? diff / scale : diff);
    };
    for (double CaseResult::*field : {&CaseResult::cx, &CaseResult::cz, &CaseResult::cm, &CaseResult::cdrag,
                                      &CaseResult::clift}) {
        std::vector<double> x, y;
        for (size_t c = 0; c < a.cases.size(); ++c)
            x.push_back(a.cases[c].*field), y.push_back(b.cases[c].*field);
        kind(x, y);
    }
    kind(a.cp, b.cp);
    kind(a.doublet, b.doublet);
    return worst;
}

void printRow(const char* name, size_t panels, int unknowns, const char* mode, const Figures& f, double peak)
{
    using bench::median;
    std::printf("%-24s %7zu %8d %-5s %8.2f %8.2f %8.2f %8.2f %8.2f %8.0f   %.4f %.4f %.4f\n", name, panels,
                unknowns, mode, median(f.assembly), median(f.factor), median(f.solve), median(f.other),
                median(f.total), peak, f.res.cases[0].clift, f.res.cases[6].clift, f.res.cases[12].clift);
}

bool benchInput(const char* self, const std::string& name, const std::string& path, int runs, bool wholeToo)
{
    SolverInput in;
    std::string why;
    if (!Read_Solver_Input(path, &in, &why)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), why.c_str());
        return false;
    }
    Figures half, whole;
    for (int r = 0; r < runs; ++r) {
        for (bool symmetric : {true, false}) {
            if (!symmetric && !wholeToo)
                continue;
            Figures& f = symmetric ? half : whole;
            SolverTimes t;
            double total = 0;
            if (!solveOnce(in, symmetric, &f.res, &t, &total, &why)) {
                std::fprintf(stderr, "%s: %s\n", name.c_str(), why.c_str());
                return false;
            }
            add(&f, t, total);
        }
    }
    const size_t panels = half.res.surface.size();
    printRow(name.c_str(), panels, half.res.unknowns, half.res.mirrored ? "half" : "whole", half,
             peakMegabytes(self, "half", path));
    if (!wholeToo)
        return true;
    printRow("", panels, whole.res.unknowns, "whole", whole, peakMegabytes(self, "whole", path));
    std::printf("%-24s whole / half: assembly %.2fx, factorisation %.2fx, total %.2fx; results differ by %.1e\n", "",
                bench::median(whole.assembly) / bench::median(half.assembly),
                bench::median(whole.factor) / bench::median(half.factor),
                bench::median(whole.total) / bench::median(half.total), largestDifference(half.res, whole.res));
    return true;
}

// The default design as the CFD dialog prepares it for a run.
std::unique_ptr<ParaStruct> defaultDesign(QString* why)
{
    auto d = std::make_unique<ParaStruct>();
    QFile file(QCoreApplication::applicationDirPath() + "/../bin/template.ini");
    if (!file.open(QIODevice::ReadOnly) || !Read_Project(&file, d.get(), why)) {
        *why = file.fileName() + ": " + (why->isEmpty() ? file.errorString() : *why);
        return nullptr;
    }
    Refresh_Calculations(d.get());
    d->chordStationCount = f_CreateIndJ(d.get(), d->chordStations);
    return d;
}

// The inflated model at every sub-row of the cell grid (eight strips a
// cell) and a station between every two of the dialog's, numbered and
// closed as the program's mesh, with its wake.
QByteArray refinedInflated(ParaStruct* d)
{
    const int J0 = d->chordStationCount;
    std::vector<int> stations;
    for (int j = 0; j <= J0; ++j) {
        stations.push_back(d->chordStations[j]);
        const int next = j < J0 ? d->chordStations[j + 1] : kAirfoilPoints - 1;
        stations.push_back((d->chordStations[j] + next) / 2);
    }
    const int J = static_cast<int>(stations.size()) - 1;
    const double s = 0.001 * d->dxfScale;
    const int f = d->cells % 2, Rp = d->lastRib;
    std::vector<std::vector<QVector3D>> rows;
    auto row = [&](int k, int c, double g) {
        std::vector<QVector3D> r;
        for (int st : stations) {
            const QVector3D& p = d->inflatedGrid[k][c][st];
            r.emplace_back(float(p.x() * s), float(g * p.y() * s), float(p.z() * s));
        }
        rows.push_back(r);
    };
    for (int c = Rp - 1; c >= 0; --c) {
        for (int k = 8; k >= 1; --k)
            row(k, c, -1.0);
        if (c == 0 && f == 1)
            row(0, c, -1.0);
    }
    for (int c = f; c <= Rp - 1; ++c)
        for (int k = (f == 0 && c == 0) ? 0 : 1; k <= 8; ++k)
            row(k, c, 1.0);
    const int R = static_cast<int>(rows.size()) - 1;
    const int S = (R + 1) * (J + 1);
    WingMeshData mesh;
    for (int i = 0; i <= R; ++i)
        for (int j = 0; j <= J; ++j)
            mesh.nodes.append(NodeInfo{setNode(J, j, i), j, i, rows[i][j].x(), rows[i][j].y(), -rows[i][j].z()});
    const float reach = float(kWakeChords * d->flatArea / d->span);
    for (int i = 0; i <= R; ++i)
        mesh.nodes.append(NodeInfo{S + 1 + i, J, i, rows[i][0].x() + reach, rows[i][0].y(), -rows[i][0].z()});
    CreateSurfPanels(R, J, S, &mesh);
    CreateWakePanels(R, J, S, int(mesh.nodes.size()), &mesh);
    apameinput::InputValues values;
    values.span = d->span;
    values.mac = d->flatArea / d->span;
    values.surface = d->flatArea;
    values.nodes = mesh.nodes;
    values.panels = mesh.panels;
    return apameinput::Input_File_Bytes(values);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--peak") == 0)
        return peakChild(argv[2], argv[3]);
    QCoreApplication app(argc, argv);
    int runs = 5;
    std::vector<std::string> files;
    for (int k = 1; k < argc; ++k) {
        if (std::strcmp(argv[k], "--runs") == 0 && k + 1 < argc)
            runs = std::max(1, std::atoi(argv[++k]));
        else
            files.push_back(argv[k]);
    }
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    const int threads = Use_Free_Cores();
    std::printf("%d thread%s (the cores the machine has free), medians of %d runs, times in s, peak memory in MB\n",
                threads, threads == 1 ? "" : "s", runs);
    std::printf("%-24s %7s %8s %-5s %8s %8s %8s %8s %8s %8s   %s\n", "input", "panels", "unknowns", "mode",
                "assembly", "factor", "solve", "other", "total", "peak", "CLIFT at 0, 6, 12 deg");
    bool ok = true;
    if (!files.empty()) {
        for (const std::string& f : files)
            ok = benchInput(self.c_str(), f, f, runs, true) && ok;
        return ok ? 0 : 1;
    }

    Install_Recompute_Hooks();
    QString why;
    std::unique_ptr<ParaStruct> design = defaultDesign(&why);
    QTemporaryDir dir;
    if (!design || !dir.isValid()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    GlobClass glob;
    for (bool smooth : {true, false}) {
        glob.dxfDir = dir.filePath(smooth ? "smooth" : "inflated");
        QDir().mkpath(glob.dxfDir);
        if (!CreateApameInputFile(design.get(), &glob, 2, smooth, design->chordStationCount, design->chordStations,
                                  &why)) {
            std::fprintf(stderr, "%s\n", qPrintable(why));
            return 1;
        }
        const std::string path = QDir(glob.dxfDir).filePath("wings.inp").toStdString();
        ok = benchInput(self.c_str(), smooth ? "default design, smooth" : "default design, inflated", path, runs, true)
             && ok;
    }
    const QString refined = dir.filePath("refined.inp");
    QFile out(refined);
    const QByteArray bytes = refinedInflated(design.get());
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(refined));
        return 1;
    }
    out.close();
    ok = benchInput(self.c_str(), "inflated, rows and stations x2", refined.toStdString(), 1, false) && ok;
    return ok ? 0 : 1;
}
