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
#include <QTemporaryDir>

#include <unistd.h>

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

    // The key is the user's and the home folder's: a copy started from
    // another home (or by another user) is no second copy.
    void keyPerUserAndHome()
    {
        const QString home = qEnvironmentVariable("HOME");
        const QString a = userInstanceKey("k");
        QVERIFY(a.startsWith("k"));
        QVERIFY(a.contains(QString::number(::getuid())));
        qputenv("HOME", "/elsewhere/home");
        const QString b = userInstanceKey("k");
        qputenv("HOME", home.toUtf8());
        QVERIFY(a != b);
        QCOMPARE(userInstanceKey("k"), a);
    }

    // Two homes, two programs: the second start runs as far as making its
    // work folders (the first show) while the first still runs.
    void otherHomeRunsBeside()
    {
        const QString program = qEnvironmentVariable("WL_APP_DIR") + "/wingloft";
        QVERIFY(QFile::exists(program));
        QTemporaryDir homeA, homeB;
        auto start = [&program](QProcess& p, const QString& home) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("HOME", home);
            env.remove("XDG_DESKTOP_DIR");
            env.remove("XDG_CONFIG_HOME");
            p.setProcessEnvironment(env);
            p.start(program, {});
        };
        // Up and past the guard: its work folders are there while it runs.
        auto upIn = [](QProcess& p, const QString& home) {
            const QString work = home + "/Desktop/WL9work/Paragliders";
            return Runs_Until(p, [&work] { return QFileInfo::exists(work); }) && p.state() != QProcess::NotRunning;
        };
        QProcess first, second;
        start(first, homeA.path());
        QVERIFY(first.waitForStarted(-1));
        const bool firstUp = upIn(first, homeA.path());
        start(second, homeB.path());
        QVERIFY(second.waitForStarted(-1));
        const bool secondUp = upIn(second, homeB.path());
        for (QProcess* p : {&first, &second}) {
            p->kill();
            p->waitForFinished(-1);
        }
        QVERIFY(firstUp);
        QVERIFY2(secondUp, "the start from another home ended without running");
    }

    // Started without a display, each program says that it needs one and
    // how to start it under a virtual one, and ends; the message of the
    // windowing library (reinstall the application, an abort) never comes.
    void withoutDisplayEachProgramSaysWhy_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("reason");
        // A display number no X server listens on here.
        int free = 90;
        while (QFileInfo::exists(QString("/tmp/.X11-unix/X%1").arg(free))
               || QFileInfo::exists(QString("/tmp/.X%1-lock").arg(free)))
            ++free;
        for (const char* program : {"wingloft", "aerolyx", "splinora", "driftline"}) {
            QTest::addRow("%s, no DISPLAY", program) << program << QString() << "DISPLAY is not set";
            QTest::addRow("%s, a display that is not there", program)
                << program << QString(":%1").arg(free) << "does not answer";
        }
    }

    void withoutDisplayEachProgramSaysWhy()
    {
        QFETCH(QString, program);
        QFETCH(QString, display);
        QFETCH(QString, reason);
        const QString path = qEnvironmentVariable("WL_APP_DIR") + "/" + program;
        QVERIFY(QFile::exists(path));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        if (!display.isEmpty())
            env.insert("DISPLAY", display);
        env.insert("HOME", useFreshHome());
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(qEnvironmentVariable("WL_APP_DIR"));
        p.start(path, {});
        QVERIFY(p.waitForStarted(-1));
        QVERIFY(p.waitForFinished(-1));
        const QString said = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY2(said.contains("needs a graphical display") && said.contains(reason), qPrintable(said));
        QVERIFY2(said.contains("xvfb-run -a " + path), qPrintable(said));
        QVERIFY2(!said.contains("einstall"), qPrintable(said));
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
        // It says why it ends, in one line: the window the user looks for
        // may be hidden behind others.
        const QString said = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(said.endsWith('\n') && said.count('\n') == 1 && said.contains("already running"),
                 qPrintable(said));
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
