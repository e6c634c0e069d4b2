// The default-design generator takes every cell count it offers: each
// count writes a design and its design lines that File > Open reads back,
// that a recompute leaves as written, and whose rib bookkeeping is that of
// the count.

#include "core/calcul3d.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "graphics/pattspline.h"
#include "graphics/streamfile.h"
#include "shell/model/installhooks.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTemplateCells : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int offeredLow = 0, offeredHigh = 0;

private slots:
    // The counts offered are those the usage line names.
    void initTestCase()
    {
        Install_Recompute_Hooks();
        QProcess p;
        p.start(QStringLiteral(WL_TEMPLATE_PROGRAM), {});
        QVERIFY(p.waitForFinished(-1));
        const QString usage = QString::fromLocal8Bit(p.readAllStandardError());
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("--cells (\\d+)\\.\\.(\\d+)")).match(usage);
        QVERIFY2(m.hasMatch(), qPrintable(usage));
        offeredLow = m.captured(1).toInt();
        offeredHigh = m.captured(2).toInt();
        QCOMPARE(offeredLow, 2);
        QCOMPARE(offeredHigh, 120);
    }

    // Arguments the usage does not name write nothing: an option is never
    // taken for the output's name.
    void argumentsOutsideTheUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("--help") << QStringList{"--help"} << 0;
        QTest::newRow("-h") << QStringList{"-h"} << 0;
        QTest::newRow("unknown option") << QStringList{"--cell", "30", "wing.ini"} << 2;
        QTest::newRow("--cells without a count") << QStringList{"--cells"} << 2;
        QTest::newRow("--cells not a number") << QStringList{"--cells", "3x", "wing.ini"} << 2;
        QTest::newRow("count out of the offer") << QStringList{"--cells", "121", "wing.ini"} << 2;
        QTest::newRow("two outputs") << QStringList{"a.ini", "b.ini"} << 2;
        QTest::newRow("no output") << QStringList{"--cells", "20"} << 2;
    }
    void argumentsOutsideTheUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QTemporaryDir here;
        QProcess p;
        p.setWorkingDirectory(here.path());
        p.start(QStringLiteral(WL_TEMPLATE_PROGRAM), args);
        QVERIFY(p.waitForFinished(-1));
        QCOMPARE(p.exitCode(), exitCode);
        const QString said = QString::fromLocal8Bit(exitCode == 0 ? p.readAllStandardOutput() : p.readAllStandardError());
        QVERIFY2(said.startsWith(QLatin1String("usage: wl_template")), qPrintable(said));
        QCOMPARE(QDir(here.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    }

    void everyOfferedCount_data()
    {
        QTest::addColumn<int>("cells");
        for (int n = 2; n <= 120; ++n)
            QTest::addRow("%d cells", n) << n;
    }
    void everyOfferedCount()
    {
        QFETCH(int, cells);
        const QString out = dir.filePath(QStringLiteral("wing%1.ini").arg(cells));
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(WL_TEMPLATE_PROGRAM), {QStringLiteral("--cells"), QString::number(cells), out});
        QVERIFY(p.waitForFinished(-1));
        const QString said = QString::fromLocal8Bit(p.readAll());
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, qPrintable(said));

        // Read as File > Open reads it.
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        auto d = std::make_unique<ParaStruct>();
        QString reason;
        QVERIFY2(Read_Project(&file, d.get(), &reason), qPrintable(reason));
        QCOMPARE(d->cells, cells);
        // Half the wing's cells on a side, and a split centre cell when odd.
        QCOMPARE(d->firstRib, cells % 2);
        QCOMPARE(d->lastRib, cells / 2 + cells % 2);
        Refresh_Calculations(d.get());
        QCOMPARE(Project_File_Bytes(*d), fileBytes(out));

        // The design lines beside it load as Open loads them.
        QList<Spline> lines;
        QVERIFY(Read_Stream_File(dir.filePath(QStringLiteral("wing%1.dsg").arg(cells)),
                                 [&lines](QDataStream& in) { in >> &lines; }));
        QVERIFY(Test_SplineList(&lines));
    }
};

QTEST_GUILESS_MAIN(TestTemplateCells)
#include "tst_templatecells.moc"
