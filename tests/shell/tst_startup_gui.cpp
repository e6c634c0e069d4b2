#include <QTest>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>

#include "shell/runguard.h"
#include "tests/shell/shellfixture.h"

// The single-instance guard, in this process and between real starts of the
// program.
class TestStartUp : public QObject
{
    Q_OBJECT
private slots:
    void keyHash()
    {
        const QString a = generateKeyHash("key", "_memLockKey");
        QCOMPARE(a.size(), 40);
        QVERIFY(QRegularExpression("^[0-9a-f]{40}$").match(a).hasMatch());
        QCOMPARE(a, QString(QCryptographicHash::hash("key_memLockKey", QCryptographicHash::Sha1).toHex()));
        QVERIFY(a != generateKeyHash("key", "_sharedmemKey"));
    }

    void guardInProcess()
    {
        const QString key = "wingloft test " + QString::number(QCoreApplication::applicationPid());
        RunGuard first(key);
        QVERIFY(!first.isAnotherRunning());
        QVERIFY(first.tryToRun());
        QVERIFY(!first.isAnotherRunning());   // its own segment does not count
        {
            RunGuard second(key);
            QVERIFY(second.isAnotherRunning());
            QVERIFY(!second.tryToRun());
        }
        first.release();
        RunGuard third(key);
        QVERIFY(third.tryToRun());
    }

    void secondStartExitsAtOnce()
    {
        const QString program = qEnvironmentVariable("WL_APP_DIR") + "/wingloft";
        QVERIFY(QFile::exists(program));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", useFreshHome());

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, {});
        QVERIFY(first.waitForStarted());
        QVERIFY(!first.waitForFinished(2500));   // the first start stays up

        QProcess second;
        second.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        second.start(program, {});
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);

        // A crashed first instance leaves the segment behind; the next start runs.
        first.kill();
        first.waitForFinished();
        QProcess third;
        third.setProcessEnvironment(env);
        third.start(program, {});
        QVERIFY(third.waitForStarted());
        QVERIFY(!third.waitForFinished(2500));
        third.kill();
        third.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup_gui.moc"
