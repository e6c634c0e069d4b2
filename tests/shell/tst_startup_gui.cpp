#include <QTest>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>

#include "shell/runguard.h"
#include "tests/common/statewait.h"
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
        const QString home = useFreshHome();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home);
        // A start that got past the guard shows its window and then makes the
        // work tree on the desktop.
        const QString workTree = home + "/Desktop/WL9work";
        const auto exists = [&] { return QFileInfo::exists(workTree); };

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, {});
        QVERIFY(first.waitForStarted(-1));
        QVERIFY2(Runs_Until(first, exists), "the first start ended before its window showed");

        // Made again only by a copy that runs: the second one must not.
        QVERIFY(QDir(workTree).removeRecursively());
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program, {});
        QVERIFY(second.waitForStarted(-1));
        const bool secondRan = Runs_Until(second, exists);
        const bool secondEnded = second.state() == QProcess::NotRunning;
        if (!secondEnded)
            second.kill();
        second.waitForFinished(-1);
        QVERIFY2(!secondRan, "a second copy showed its window");
        QVERIFY2(secondEnded, "a second copy neither ended nor showed its window");
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // A crashed first instance leaves the segment behind; the next start runs.
        first.kill();
        first.waitForFinished(-1);
        QProcess third;
        third.setProcessEnvironment(env);
        third.start(program, {});
        QVERIFY(third.waitForStarted(-1));
        const bool thirdRan = Runs_Until(third, exists);
        third.kill();
        third.waitForFinished(-1);
        QVERIFY2(thirdRan, "the start after a crashed one did not show its window");
    }

};

QTEST_GUILESS_MAIN(TestStartUp)
#include "tst_startup_gui.moc"
