#ifndef RUNGUARD_H
#define RUNGUARD_H

#include <QSharedMemory>
#include <QString>
#include <QSystemSemaphore>

// Keeps a second copy of the program from running under the same key: the
// first instance holds a small shared-memory segment named after the key;
// every access to it happens under a system semaphore of the same key.
class RunGuard
{
public:
    explicit RunGuard(const QString& key);
    ~RunGuard();

    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

    bool isAnotherRunning();
    bool tryToRun();
    void release();

private:
    const QString key;
    const QString memLockKey;
    const QString sharedmemKey;

    QSharedMemory sharedMem;
    QSystemSemaphore memLock;
};

// 40-character lower-case hexadecimal SHA-1 of the UTF-8 bytes of key + salt.
QString generateKeyHash(const QString& key, const QString& salt);

// The program's key made the key of this user and home folder: a copy that
// another user (or the same user with another home) starts is no second
// copy, and the system objects of one user's key are not another's to open.
QString userInstanceKey(const QString& key);

#endif
