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

class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void startsBesideTheMainProgram()
    {
        const QString appDir = qEnvironmentVariable("WL_APP_DIR");
        QVERIFY(QFileInfo(appDir + "/aerolyx").isExecutable());
        QVERIFY(QFileInfo(appDir + "/wingloft").isExecutable());

        QProcess process;
        process.setWorkingDirectory(appDir);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", QDir::tempPath());
        process.setProcessEnvironment(env);
        process.start(QDir(appDir).filePath("aerolyx"), QStringList());
        QVERIFY(process.waitForStarted());
        // Still running with its window after a while: it waits for the user.
        QVERIFY2(!process.waitForFinished(2500), process.readAllStandardError().constData());
        QCOMPARE(process.state(), QProcess::Running);
        process.terminate();
        QVERIFY(process.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_aerolyxprogram.moc"
