// Compiled into every test program. At the creation of the application
// object it installs
// - a scripted user that answers like a user who cancels, so that nothing in
//   a test ever opens a real message box or file dialog (tests that need
//   answers install their own ScriptedUser on top of it);
// - with a GUI application, a watchdog: a modal window that blocks the test
//   (shown while an event loop runs inside the test, as a dialog's exec()
//   does) is named, with its class and title, once a minute while it stays.
//   It fails nothing, since a solver's progress window rightly stays while
//   the solver works, however long a busy machine takes; a dialog nobody
//   answers is a hang that the test runner's time-out ends, and the log then
//   says which dialog it was. A dialog the test only shows, and works on, is
//   not watched;
// - the system's software GL driver held in memory until the process ends.
//   Qt unloads it when the last GL context goes, and LeakSanitizer then
//   cannot name the driver in its report of the driver's own leaks, so the
//   suppressions (tests/lsan.supp) could not match them.

#include "tests/common/scripteduser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>

#include <dlfcn.h>

namespace {

// The outermost object above the focus: the dialog widget itself, whose
// class name says what kind of dialog it is.
QObject* dialogObject(QWindow* window)
{
    QObject* focus = QGuiApplication::focusObject();
    QObject* top = nullptr;
    for (QObject* o = focus; o; o = o->parent())
        top = o;
    return top ? top : window;
}

class DialogWatchdog : public QObject
{
public:
    DialogWatchdog() : QObject(qApp)
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] { check(); });
        timer->start(250);
    }

private:
    void check()
    {
        QWindow* modal = QGuiApplication::modalWindow();
        // Test functions run outside any event loop; a blocking dialog runs
        // one of its own.
        if (!modal || !modal->isVisible() || QThread::currentThread()->loopLevel() < 1) {
            watched = nullptr;
            return;
        }
        if (modal != watched) {
            watched = modal;
            nextNotice.setRemainingTime(60000);
            return;
        }
        if (!nextNotice.hasExpired())
            return;
        QObject* dialog = dialogObject(modal);
        qWarning("a dialog blocks the test and nobody has answered it yet: %s \"%s\"",
                 dialog->metaObject()->className(), qPrintable(modal->title()));
        nextNotice.setRemainingTime(60000);
    }

    QPointer<QWindow> watched;
    QDeadlineTimer nextNotice;
};

void keepGlDriverLoaded()
{
    for (const char* driver : {"swrast_dri.so", "kms_swrast_dri.so"}) {
        const QByteArray path = QByteArray("/usr/lib/x86_64-linux-gnu/dri/") + driver;
        dlopen(path.constData(), RTLD_LAZY | RTLD_NODELETE);
    }
}

void installTestSupport()
{
    static ScriptedUser cancellingUser;
    keepGlDriverLoaded();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        new DialogWatchdog;
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installTestSupport)
