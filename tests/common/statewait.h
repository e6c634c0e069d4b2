#pragma once

// Tests wait for a state (a window shown, a file written, a process gone),
// never for a time: a busy machine makes every step slower, never a test
// fail. The bound below only turns a hang into a failure with a message
// before the test runner's own time-out; nothing that works ever comes near
// it.

#include <QDeadlineTimer>
#include <QProcess>

constexpr int kStateWaitMs = 120000;

// Waits, turning the event loop, until a state holds (a window gone, a file
// there, a process ended). The bound is only the hang guard above: a state
// that comes at all comes long before it, however busy the machine.
#define WAIT_FOR_STATE(condition) QTRY_VERIFY_WITH_TIMEOUT(condition, kStateWaitMs)
#define WAIT_FOR_EQUAL(actual, expected) QTRY_COMPARE_WITH_TIMEOUT(actual, expected, kStateWaitMs)

// Waits until ready() holds while the process runs. True once it holds;
// false when the process ended first (and ready() still does not hold) or
// after kStateWaitMs.
template <typename Ready>
bool Runs_Until(QProcess& process, Ready ready)
{
    const QDeadlineTimer hang(kStateWaitMs);
    while (!ready()) {
        if (process.state() == QProcess::NotRunning)
            return ready();
        if (hang.hasExpired())
            return false;
        process.waitForFinished(50); // one turn of the wait; ends early at the exit
    }
    return true;
}
