// The coloured-pieces file ".cnp": its bytes read back by Python's struct
// module, the reader's bounds on what a file says, and the check of a file
// against the pieces laid out now.

#include <QTest>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "core/parastruct.h"
#include "graphics/canopyfile.h"

#include <cstdio>
#include <cstring>

namespace {

QList<Canopy> parsed(const QByteArray& bytes, CanopyFileReport* report = nullptr)
{
    QList<Canopy> list;
    QDataStream in(bytes);
    Read_Canopy_List(in, &list, report);
    return list;
}

QByteArray bigEndian(qint64 v, int bytes)
{
    QByteArray b;
    for (int k = bytes - 1; k >= 0; --k)
        b.append(char((v >> (8 * k)) & 0xff));
    return b;
}

// A piece by hand: n points (as written) followed by `points` real ones,
// then an RGB colour.
QByteArray pieceBytes(quint32 n, int points, int spec = 1)
{
    QByteArray b = bigEndian(n, 4);
    QByteArray p;
    QDataStream out(&p, QIODevice::WriteOnly);
    for (int j = 0; j < points; ++j)
        out << double(j) << double(-j);
    b += p;
    b += bigEndian(spec, 1);
    for (int c : {0xc8c8, 0x0a0a, 0x1414, 0x1e1e, 0})
        b += bigEndian(c, 2);
    return b;
}

QList<Canopy> twoPieces()
{
    QPolygonF a;
    a << QPointF(1.5, -2.25) << QPointF(100, 0.125) << QPointF(-3, 1e-3);
    QPolygonF b;
    b << QPointF(7, 8) << QPointF(9, 10);
    return {Canopy{a, QColor()}, Canopy{b, QColor(10, 20, 30, 200)}, Canopy{QPolygonF(), QColor(160, 165, 160)}};
}

const char* const kPythonReader = R"(
import struct, sys
data = open(sys.argv[1], 'rb').read()
(count,) = struct.unpack_from('>i', data, 0)
pos = 4
out = ['count %d' % count]
while pos < len(data):
    (n,) = struct.unpack_from('>I', data, pos); pos += 4
    pts = struct.unpack_from('>%dd' % (2 * n), data, pos); pos += 16 * n
    spec, a, r, g, b, pad = struct.unpack_from('>b5H', data, pos); pos += 11
    out.append('n %d pts %s spec %d argb %d %d %d %d pad %d' %
               (n, ' '.join(repr(v) for v in pts), spec, a, r, g, b, pad))
out.append('end %d of %d' % (pos, len(data)))
print('\n'.join(out))
)";

} // namespace

class TestCanopyFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path() const { return dir.filePath(QStringLiteral("wing.cnp")); }

    void writeFile(const QByteArray& bytes)
    {
        QFile f(path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        GetGlobClass()->cnpPath = path();
        QFile::remove(path());
    }

    // The bytes as an outside reader sees them: the layout of the format,
    // nothing more and nothing less.
    void bytesReadByPython()
    {
        QVERIFY(WriteCanopyStream(twoPieces()));
        QFile f(path());
        QCOMPARE(f.size(), 4 + (4 + 16 * 3 + 11) + (4 + 16 * 2 + 11) + (4 + 11));
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(kPythonReader), path()});
        QVERIFY(python.waitForFinished(-1));
        QCOMPARE(python.exitCode(), 0);
        const QStringList lines = QString::fromLatin1(python.readAllStandardOutput()).trimmed().split('\n');
        const QStringList expected = {
            "count 3",
            "n 3 pts 1.5 -2.25 100.0 0.125 -3.0 0.001 spec 0 argb 65535 0 0 0 pad 0",
            "n 2 pts 7.0 8.0 9.0 10.0 spec 1 argb 51400 2570 5140 7710 pad 0",
            "n 0 pts  spec 1 argb 65535 41120 42405 41120 pad 0",
            QStringLiteral("end %1 of %1").arg(f.size()),
        };
        QCOMPARE(lines, expected);
    }

    void roundTrip()
    {
        const QList<Canopy> written = twoPieces();
        QVERIFY(WriteCanopyStream(written));
        CanopyFileReport report;
        const QList<Canopy> read = ReadCanopyStream(nullptr, &report);
        QCOMPARE(read.size(), written.size());
        for (int i = 0; i < read.size(); ++i) {
            QCOMPARE(read[i].poly, written[i].poly);
            QCOMPARE(read[i].colour, written[i].colour);
        }
        QVERIFY(!read[0].colour.isValid());
        QCOMPARE(read[2].colour, QColor(160, 165, 160, 255));
        QCOMPARE(report.read, 3);
        QVERIFY(report.problem.isEmpty());
    }

    // The count says nothing: the pieces that follow count.
    void countIsNotTrusted_data()
    {
        QTest::addColumn<int>("announced");
        QTest::addColumn<int>("pieces");
        QTest::newRow("fewer announced") << 1 << 3;
        QTest::newRow("more announced") << 5 << 2;
        QTest::newRow("negative") << -7 << 2;
        QTest::newRow("none follow") << 4 << 0;
    }
    void countIsNotTrusted()
    {
        QFETCH(int, announced);
        QFETCH(int, pieces);
        QByteArray b = bigEndian(announced, 4);
        for (int i = 0; i < pieces; ++i)
            b += pieceBytes(2, 2);
        CanopyFileReport report;
        const QList<Canopy> read = parsed(b, &report);
        QCOMPARE(read.size(), pieces);
        QCOMPARE(report.announced, announced);
        QVERIFY(report.problem.isEmpty());
        if (pieces > 0)
            QCOMPARE(read[0].colour, QColor(10, 20, 30, 200));
    }

    // A piece that cannot be what it says ends the reading there; the whole
    // pieces before it stay.
    void badPieceStopsReading_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("cut in the points") << pieceBytes(3, 3).left(4 + 20);
        QTest::newRow("cut in the colour") << pieceBytes(2, 2).left(4 + 32 + 5);
        QTest::newRow("half a count") << bigEndian(0, 2);
        QTest::newRow("count beyond the bytes") << pieceBytes(5, 4);
        QTest::newRow("huge count") << pieceBytes(0x7FFFFFF0u, 2);
        QTest::newRow("count at the cap") << pieceBytes(kMaxCanopyPiecePoints + 1, 2);
        QTest::newRow("unknown colour kind") << pieceBytes(2, 2, 7);
    }
    void badPieceStopsReading()
    {
        QFETCH(QByteArray, tail);
        // Whatever would follow a bad piece is not read: its bytes cannot be
        // told from the bad piece's.
        const QByteArray b = bigEndian(3, 4) + pieceBytes(2, 2) + pieceBytes(1, 1) + tail;
        CanopyFileReport report;
        const QList<Canopy> read = parsed(b, &report);
        QCOMPARE(read.size(), 2);
        QCOMPARE(report.read, 2);
        QVERIFY(!report.problem.isEmpty());
        QCOMPARE(read[1].poly.size(), 1);
    }

    void emptyAndMissing()
    {
        CanopyFileReport report;
        QVERIFY(ReadCanopyStream(nullptr, &report).isEmpty());   // no file
        writeFile(QByteArray());
        QVERIFY(ReadCanopyStream(nullptr, &report).isEmpty());
        QVERIFY(!report.problem.isEmpty());                      // not even a count
        writeFile(bigEndian(0, 4));
        QVERIFY(ReadCanopyStream(nullptr, &report).isEmpty());
        QVERIFY(report.problem.isEmpty());
    }

    // Without a project there is no file to write; a failed write keeps the
    // file that was there.
    void writesOnlyIntoTheProject()
    {
        GetGlobClass()->cnpPath.clear();
        QVERIFY(!WriteCanopyStream(twoPieces()));
        QVERIFY(ReadCanopyStream(nullptr).isEmpty());
        GetGlobClass()->cnpPath = dir.filePath(QStringLiteral("no such folder/wing.cnp"));
        QVERIFY(!WriteCanopyStream(twoPieces()));
        QVERIFY(!QFile::exists(GetGlobClass()->cnpPath));
    }

    void canopyListByPosition()
    {
        QList<QPolygonF> polys = {QPolygonF({QPointF(0, 0)}), QPolygonF({QPointF(1, 1)}), QPolygonF()};
        const QList<Canopy> list = CreateCanopyList({Qt::red, Qt::green, Qt::blue, Qt::white}, &polys);
        QCOMPARE(list.size(), 3);
        QCOMPARE(list[1].colour, QColor(Qt::green));
        QCOMPARE(list[2].poly, QPolygonF());
        // A shorter colour list leaves the rest without colour.
        QVERIFY(!CreateCanopyList({Qt::red}, &polys)[2].colour.isValid());
    }

    void mismatchOfTheLayout()
    {
        QList<QPolygonF> now = {QPolygonF({QPointF(0, 0), QPointF(10, 0), QPointF(10, 5)}),
                                QPolygonF({QPointF(20, 0), QPointF(30, 4)})};
        QList<Canopy> stored;
        for (const QPolygonF& p : now)
            stored.append(Canopy{p.translated(-33.5, 12.25), QColor(Qt::red)});
        // The same pieces moved as the view moves them.
        QVERIFY(Canopy_Mismatch(stored, now).isEmpty());
        QVERIFY(Canopy_Mismatch({}, now).isEmpty());
        // Another number of pieces, another outline.
        QVERIFY(Canopy_Mismatch(stored.mid(0, 1), now).contains(QLatin1String("1 pieces")));
        QList<Canopy> moved = stored;
        moved[1].poly[1] += QPointF(0, 0.5);
        QVERIFY(Canopy_Mismatch(moved, now).contains(QLatin1String("piece 2")));
        moved = stored;
        moved[0].poly.removeLast();
        QVERIFY(!Canopy_Mismatch(moved, now).isEmpty());
    }

    // A count that would need gigabytes is refused by a reader that cannot
    // take more than a gigabyte of address space (under AddressSanitizer,
    // which needs its own address space, by a cap on one allocation).
    void hugeCountWithinLimitedMemory()
    {
        writeFile(bigEndian(1, 4) + pieceBytes(0x7FFFFFF0u, 1) + pieceBytes(2, 2));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
#if defined(__SANITIZE_ADDRESS__) || defined(WL_SANITIZED)
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   QStringLiteral("detect_leaks=0:allocator_may_return_null=0:max_allocation_size_mb=1000:"
                                  "hard_rss_limit_mb=1000"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--read-cnp"), path()});
#else
        child.setProcessEnvironment(env);
        child.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), QStringLiteral("ulimit -v 1000000 && exec \"$0\" --read-cnp \"$1\""),
                     QCoreApplication::applicationFilePath(), path()});
#endif
        QVERIFY(child.waitForFinished(-1));
        const QByteArray out = child.readAllStandardOutput();
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QVERIFY2(out.startsWith("pieces 0 problem piece 1 says it has 2147483632 points"), out.constData());
    }
};

// The child of hugeCountWithinLimitedMemory reads the file and says what it
// found, without an application object.
int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--read-cnp") == 0) {
        GetGlobClass()->cnpPath = QString::fromLocal8Bit(argv[2]);
        CanopyFileReport report;
        const QList<Canopy> list = ReadCanopyStream(nullptr, &report);
        std::printf("pieces %d problem %s\n", int(list.size()), report.problem.toLocal8Bit().constData());
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestCanopyFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_canopyfile.moc"
