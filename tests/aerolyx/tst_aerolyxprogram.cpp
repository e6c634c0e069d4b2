// The analyser as the main program starts it: "./aerolyx" from the
// application directory, beside "wingloft", without arguments; it keeps
// running with its window until the user closes it.

#include <QDir>
#include <QProcess>
#include <QTest>
#include <QFileInfo>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/common/statewait.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// The display is shared with other tests running at the same time: one of
// their windows may close between the listing and the query of it. Xlib's
// own handler would end this test for it; such a window is simply not ours.
int windowGone(Display*, XErrorEvent*)
{
    return 0;
}

// Whether the X display shows a top-level window whose title contains the
// text. Without a window manager the programs' windows are children of the
// root window.
bool windowShown(Display* display, const char* text)
{
    const XErrorHandler previous = XSetErrorHandler(windowGone);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    bool shown = false;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        count = 0;
    for (unsigned i = 0; i < count && !shown; ++i) {
        XWindowAttributes attributes;
        XTextProperty name{};
        // The title's bytes as they are: Qt writes it in UTF-8.
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable
            && XGetWMName(display, children[i], &name) && name.value) {
            shown = QByteArray(reinterpret_cast<const char*>(name.value), int(name.nitems)).contains(text);
        }
        if (name.value)
            XFree(name.value);
    }
    if (children)
        XFree(children);
    XSync(display, False); // errors of the queries above reach our handler
    XSetErrorHandler(previous);
    return shown;
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void startsBesideTheMainProgram()
    {
        const QString appDir = qEnvironmentVariable("WL_APP_DIR");
        QVERIFY(QFileInfo(appDir + "/aerolyx").isExecutable());
        QVERIFY(QFileInfo(appDir + "/wingloft").isExecutable());
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            QSKIP("no X display to show the window on");

        QTemporaryDir home;
        QProcess process;
        process.setWorkingDirectory(appDir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("HOME", home.path());
        process.setProcessEnvironment(env);
        process.start(QDir(appDir).filePath("aerolyx"), QStringList());
        QVERIFY(process.waitForStarted(-1));
        // Its window shows, however long the start takes, and it waits for
        // the user: it is still there once the window is up.
        const bool shown = Runs_Until(process, [display] { return windowShown(display, "Aerolyx"); });
        XCloseDisplay(display);
        QVERIFY2(shown, process.readAllStandardError().constData());
        QCOMPARE(process.state(), QProcess::Running);
        process.terminate();
        QVERIFY(process.waitForFinished(-1));
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_aerolyxprogram.moc"
