// The start of the main program as the user meets it: RUNS fresh starts of
// bin/wingloft (the default design), each with a home folder of its own,
// timed from the start of the process to its main window on the display and
// to the end of its start-up work (the process idle: the window and its 3-D
// view drawn), with the resident memory then and how much of it is the
// OpenGL driver's libraries. Run it under xvfb-run.
//   bench_start [RUNS] [PROGRAM]
// PROGRAM defaults to bin/wingloft of this build; another build's program
// can be given to compare.

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/benchtime.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The program's windows may go while they are looked at.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

long windowPid(Display* display, Window w, Atom pidAtom)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after, &data)
            == Success
        && data && count == 1 && format == 32)
        pid = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return pid;
}

// True when a top-level window of process `pid` is mapped and viewable.
bool windowShown(Display* display, long pid)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    bool shown = false;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !shown; ++i) {
            XWindowAttributes a;
            if (XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable
                && windowPid(display, children[i], pidAtom) == pid)
                shown = true;
        }
        if (children)
            XFree(children);
    }
    XSync(display, False);
    return shown;
}

QByteArray procFile(long pid, const char* name)
{
    QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Processor time of the process in clock ticks.
long long cpuTicks(long pid)
{
    const QByteArray stat = procFile(pid, "stat");
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> f = stat.mid(close + 2).split(' ');
    return f.size() > 12 ? f[11].toLongLong() + f[12].toLongLong() : -1;
}

// Resident memory of the process and the part of it in the OpenGL
// driver's mappings, in MB.
void residentMb(long pid, double* all, double* driver)
{
    static const QRegularExpression gl(QStringLiteral("/dri/|libgallium|libLLVM|libGLX|libGL\\.|libglapi|"
                                                      "libEGL|libOpenGL|libGLU|libdrm|swrast"));
    long kb = 0, glKb = 0;
    bool inGl = false;
    for (const QByteArray& line : procFile(pid, "smaps").split('\n')) {
        const QByteArray first = line.left(line.indexOf(' '));
        if (first.isEmpty())
            continue;
        if (!first.endsWith(':')) { // a mapping's header: its address range and path
            inGl = gl.match(QString::fromLocal8Bit(line)).hasMatch();
            continue;
        }
        if (line.startsWith("Rss:")) {
            const long v = line.mid(4).trimmed().split(' ').value(0).toLong();
            kb += v;
            if (inGl)
                glKb += v;
        }
    }
    *all = kb / 1024.0;
    *driver = glKb / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const QString program = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                     : QCoreApplication::applicationDirPath() + "/../bin/wingloft";
    XSetErrorHandler(ignoreXErrors);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bench_start: no display (run under xvfb-run)\n");
        return 1;
    }

    std::vector<double> shownMs, readyMs, rss, driver;
    for (int k = 0; k < runs; ++k) {
        QTemporaryDir home;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const Clock::time_point t0 = Clock::now();
        p.start(program, {});
        if (!p.waitForStarted()) {
            std::fprintf(stderr, "bench_start: cannot start %s\n", qPrintable(program));
            return 1;
        }
        const long pid = long(p.processId());
        double shown = -1;
        while (shown < 0 && p.state() == QProcess::Running) {
            if (windowShown(display, pid))
                shown = msSince(t0);
            else
                QThread::msleep(2);
        }
        // Idle: no processor time used for a quarter of a second.
        long long last = cpuTicks(pid);
        double lastChange = msSince(t0);
        while (p.state() == QProcess::Running && msSince(t0) - lastChange < 250) {
            QThread::msleep(10);
            const long long now = cpuTicks(pid);
            if (now != last) {
                last = now;
                lastChange = msSince(t0);
            }
        }
        if (shown < 0 || p.state() != QProcess::Running) {
            std::fprintf(stderr, "bench_start: the program ended before its window was shown\n");
            return 1;
        }
        double all = 0, gl = 0;
        residentMb(pid, &all, &gl);
        shownMs.push_back(shown);
        readyMs.push_back(lastChange);
        rss.push_back(all);
        driver.push_back(gl);
        p.terminate();
        if (!p.waitForFinished(10000)) {
            p.kill();
            p.waitForFinished();
        }
    }
    XCloseDisplay(display);
    std::printf("wingloft start, default design, median of %d fresh starts:\n", runs);
    std::printf("  main window on the display   %7.1f ms\n", bench::median(shownMs));
    std::printf("  start-up work done (idle)    %7.1f ms\n", bench::median(readyMs));
    std::printf("  resident memory then         %7.1f MB, of which the OpenGL driver's libraries %.1f MB\n",
                bench::median(rss), bench::median(driver));
    return 0;
}
