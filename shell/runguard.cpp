#include "shell/runguard.h"

#include <QCryptographicHash>
#include <QDir>

#include <unistd.h>

QString generateKeyHash(const QString& key, const QString& salt)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(key.toUtf8());
    hash.addData(salt.toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

QString userInstanceKey(const QString& key)
{
    return key + QStringLiteral(" uid %1 home %2").arg(::getuid()).arg(QDir::homePath());
}

RunGuard::RunGuard(const QString& key)
    : key(key)
    , memLockKey(generateKeyHash(key, "_memLockKey"))
    , sharedmemKey(generateKeyHash(key, "_sharedmemKey"))
    , sharedMem(sharedmemKey)
    , memLock(memLockKey, 1, QSystemSemaphore::Open)
{
    // A segment left behind by an instance that died is cleaned up here: on
    // Unix the last detach of a segment whose creator is gone removes it.
    memLock.acquire();
    {
        QSharedMemory fix(sharedmemKey);
        fix.attach();
    }
    memLock.release();
}

RunGuard::~RunGuard()
{
    release();
}

bool RunGuard::isAnotherRunning()
{
    if (sharedMem.isAttached())
        return false;

    memLock.acquire();
    const bool isRunning = sharedMem.attach();
    if (isRunning)
        sharedMem.detach();
    memLock.release();

    return isRunning;
}

bool RunGuard::tryToRun()
{
    if (isAnotherRunning())
        return false;

    memLock.acquire();
    const bool result = sharedMem.create(8);
    memLock.release();
    if (!result) {
        release();
        return false;
    }
    return true;
}

void RunGuard::release()
{
    memLock.acquire();
    if (sharedMem.isAttached())
        sharedMem.detach();
    memLock.release();
}
