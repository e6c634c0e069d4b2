#pragma once

// Tests wait for a state (a window shown, a file written, a process gone),
// never for a time, and a wait has no bound: a state that comes at all is
// seen, however busy the machine, and no wait fails because a clock ran.
// A state that never comes is a hang, which the test runner's own time-out
// (ctest --timeout) ends; so that its log says what was awaited, a wait that
// goes on for long names its state once a minute. The notice fails nothing.

#include <QDeadlineTimer>
#include <QProcess>
#include <QtGlobal>
#include <QTest>
#include <QWindow>

namespace statewait {

// Says once a minute what a long wait is waiting for.
class LongWaitNotice
{
public:
    LongWaitNotice(const char* what, const char* file, int line) : what(what), file(file), line(line) {}
    void tick()
    {
        if (!nextNotice.hasExpired())
            return;
        qWarning("still waiting for %s (%s:%d)", what, file, line);
        nextNotice.setRemainingTime(60000);
    }

private:
    const char* what;
    const char* file;
    int line;
    QDeadlineTimer nextNotice{60000};
};

// Turns the event loop until ready() holds.
template <typename Ready>
void waitUntil(Ready ready, const char* what, const char* file, int line)
{
    LongWaitNotice notice(what, file, line);
    while (!ready()) {
        QTest::qWait(10); // one turn of the event loop, deferred deletions included
        notice.tick();
    }
}

// Equality as QCOMPARE takes it: floating-point values within its fuzz.
template <typename A, typename B>
bool same(const A& a, const B& b)
{
    return a == b;
}
inline bool same(double a, double b)
{
    return a == b || qFuzzyCompare(a, b);
}

// Whether the window of a shown widget is on the screen. (Qt's own wait for
// this gives up after five seconds, which a busy machine can take.)
template <typename Widget>
bool windowExposed(const Widget* widget)
{
    const QWindow* handle = widget->window()->windowHandle();
    return handle && handle->isExposed();
}

} // namespace statewait

// Waits, turning the event loop, until a state holds (a window gone, a file
// there, a process ended), then checks it as QVERIFY / QCOMPARE do.
#define WAIT_FOR_STATE(condition)                                                                  \
    do {                                                                                           \
        statewait::waitUntil([&] { return bool(condition); }, #condition, __FILE__, __LINE__);   \
        QVERIFY(condition);                                                                        \
    } while (false)
#define WAIT_FOR_EQUAL(actual, expected)                                                           \
    do {                                                                                           \
        statewait::waitUntil([&] { return statewait::same((actual), (expected)); },               \
                             #actual " == " #expected, __FILE__, __LINE__);                        \
        QCOMPARE(actual, expected);                                                                \
    } while (false)
// Waits until a shown widget's window is on the screen.
#define WAIT_FOR_EXPOSED(widget) WAIT_FOR_STATE(statewait::windowExposed(widget))

// Waits until ready() holds while the process runs. True once it holds;
// false when the process ended first and ready() still does not hold.
template <typename Ready>
bool Runs_Until(QProcess& process, Ready ready)
{
    statewait::LongWaitNotice notice("a state of a started program", __FILE__, __LINE__);
    while (!ready()) {
        if (process.state() == QProcess::NotRunning)
            return ready();
        process.waitForFinished(50); // one turn of the wait; ends early at the exit
        notice.tick();
    }
    return true;
}
