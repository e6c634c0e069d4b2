#include <QTest>
#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "tests/common/scripteduser.h"
#include "core/parastruct.h"
#include "graphics/pattspline.h"
#include "core/notify.h"

namespace {

Spline makeLine(int points, int side, double seed)
{
    Spline s;
    s.pointCount = points;
    s.bsplineCount = points >= 4 ? points + 2 : points;
    s.knotCount = points >= 4 ? s.bsplineCount + 4 : 0;
    s.degree = 3;
    s.order = 4;
    s.reserved = int(seed * 7) + 1;
    s.side = side;
    for (int k = 0; k < kSplineKnots; ++k)
        s.knots[k] = seed + k * 0.125;
    for (int i = 0; i < kSplinePoints; ++i) {   // unused slots too: all are stored
        s.points[i] = QPointF(seed + i, -seed * i);
        s.bsplinePoints[i] = QPointF(seed * 0.5 + i, seed + 2 * i);
    }
    s.curve << QPointF(1, 2) << QPointF(3, 4);
    s.uvCurve << QPoint(5, 6);
    return s;
}

QByteArray streamed(const QList<Spline>& list)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << list;
    return bytes;
}

QList<Spline> parsed(const QByteArray& bytes)
{
    QList<Spline> list;
    QDataStream in(bytes);
    in >> &list;
    return list;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray int32(qint32 v)
{
    QByteArray b;
    QDataStream(&b, QIODevice::WriteOnly) << v;
    return b;
}

} // namespace

class TestPattSpline : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        GetGlobClass()->dsgPath = dir.filePath("wing.dsg");
        QFile::remove(GetGlobClass()->dsgPath);
    }

    void recordLayout()
    {
        const Spline s = makeLine(5, 1, 2.0);
        const QByteArray b = streamed({s});
        QCOMPARE(b.size(), 4 + 1468);
        QCOMPARE(b.left(4), int32(1));
        // reserved and side come first, then the counts.
        QCOMPARE(b.mid(4, 4), int32(s.reserved));
        QCOMPARE(b.mid(8, 4), int32(1));
        QCOMPARE(b.mid(12, 4), int32(5));
        QCOMPARE(b.mid(16, 4), int32(7));
        QCOMPARE(b.mid(20, 4), int32(11));
        // Knot 1 at 28 + 8; control point 1 and B-spline point 1 interleaved from 508.
        QDataStream in(b.mid(4 + 36, 8));
        double knot1 = 0;
        in >> knot1;
        QCOMPARE(knot1, s.knots[1]);
        QDataStream pts(b.mid(4 + 508 + 32, 32));
        QPointF p, q;
        pts >> p >> q;
        QCOMPARE(p, s.points[1]);
        QCOMPARE(q, s.bsplinePoints[1]);
    }

    void roundTripThroughFile()
    {
        const QList<Spline> lines = {makeLine(2, 0, 1.0), makeLine(7, 1, 3.5), makeLine(3, 0, -2.0)};
        QVERIFY(WriteSplineStream(lines));
        QCOMPARE(QFileInfo(GetGlobClass()->dsgPath).size(), qint64(4 + 3 * 1468));
        const QList<Spline> back = ReadSplineStream();
        QCOMPARE(back.size(), 3);
        for (int n = 0; n < 3; ++n) {
            const Spline& a = lines[n];
            const Spline& b = back[n];
            QCOMPARE(b.reserved, a.reserved);
            QCOMPARE(b.side, a.side);
            QCOMPARE(b.pointCount, a.pointCount);
            QCOMPARE(b.bsplineCount, a.bsplineCount);
            QCOMPARE(b.knotCount, a.knotCount);
            QCOMPARE(b.degree, a.degree);
            QCOMPARE(b.order, a.order);
            for (int k = 0; k < kSplineKnots; ++k)
                QCOMPARE(b.knots[k], a.knots[k]);
            for (int i = 0; i < kSplinePoints; ++i) {
                QCOMPARE(b.points[i], a.points[i]);
                QCOMPARE(b.bsplinePoints[i], a.bsplinePoints[i]);
            }
            QVERIFY(b.curve.isEmpty());     // derived curves are not stored
            QVERIFY(b.uvCurve.isEmpty());
        }
    }

    void emptyList()
    {
        QVERIFY(WriteSplineStream({}));
        QCOMPARE(QFileInfo(GetGlobClass()->dsgPath).size(), qint64(4));
        const QList<Spline> back = ReadSplineStream();
        QVERIFY(back.isEmpty());
        QVERIFY(Test_SplineList(&back));
    }

    void storedCountIsNotTrusted_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("records");
        QTest::newRow("count 3, five records") << 3 << 5;
        QTest::newRow("count 5, two records") << 5 << 2;
        QTest::newRow("count -1, one record") << -1 << 1;
        QTest::newRow("huge count, no record") << 2000000000 << 0;
    }
    void storedCountIsNotTrusted()
    {
        QFETCH(int, stored);
        QFETCH(int, records);
        QList<Spline> list;
        for (int i = 0; i < records; ++i)
            list << makeLine(4, i % 2, i);
        QByteArray b = streamed(list);
        b.replace(0, 4, int32(stored));
        QCOMPARE(parsed(b).size(), records);
    }

    void truncatedRecordIsDropped()
    {
        const QByteArray b = streamed({makeLine(4, 0, 1), makeLine(5, 1, 2)});
        const QList<Spline> back = parsed(b.left(b.size() - 100));
        QCOMPARE(back.size(), 1);
        QCOMPARE(back[0].pointCount, 4);
    }

    void noPathOrNoFile()
    {
        QVERIFY(ReadSplineStream().isEmpty());          // no file yet
        GetGlobClass()->dsgPath.clear();
        QVERIFY(!WriteSplineStream({makeLine(3, 0, 1)}));
        QVERIFY(ReadSplineStream().isEmpty());
    }

    void unwritableFileKeepsOldContent()
    {
        const QString sub = dir.filePath("locked");
        QVERIFY(QDir().mkpath(sub));
        GetGlobClass()->dsgPath = sub + "/a.dsg";
        QVERIFY(WriteSplineStream({makeLine(3, 0, 1)}));
        const QByteArray before = streamed({makeLine(3, 0, 1)});
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner);
        const bool written = WriteSplineStream({});
        QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (written)
            QSKIP("the folder stays writable (running as root)");
        QFile f(GetGlobClass()->dsgPath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    }

    void consistencyCheck_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("bspline");
        QTest::addColumn<int>("knots");
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("ok");
        QTest::newRow("two points, top") << 2 << 2 << 0 << 0 << true;
        QTest::newRow("27 points, bottom") << 27 << 29 << 33 << 1 << true;
        QTest::newRow("side 2") << 5 << 7 << 11 << 2 << false;
        QTest::newRow("side -1") << 5 << 7 << 11 << -1 << false;
        QTest::newRow("no points") << 0 << 2 << 0 << 0 << false;
        QTest::newRow("30 points") << 30 << 29 << 0 << 0 << false;
        QTest::newRow("30 B-spline points") << 28 << 30 << 34 << 0 << false;
        QTest::newRow("no B-spline points") << 3 << 0 << 0 << 0 << false;
        QTest::newRow("knot count beyond the table") << 5 << 7 << 61 << 0 << false;
        QTest::newRow("negative knot count") << 5 << 7 << -1 << 0 << false;
    }
    void consistencyCheck()
    {
        QFETCH(int, points);
        QFETCH(int, bspline);
        QFETCH(int, knots);
        QFETCH(int, side);
        QFETCH(bool, ok);
        Spline bad = makeLine(4, 0, 1);
        bad.pointCount = points;
        bad.bsplineCount = bspline;
        bad.knotCount = knots;
        bad.side = side;
        // One bad line makes the whole list fail.
        const QList<Spline> list = {makeLine(3, 1, 0), bad};
        QCOMPARE(Test_SplineList(&list), ok);
    }

    // Opening a project: what cannot be loaded is dropped, the user is told
    // once how many lines and why, and the file on disk is left alone.
    void openingDropsAndTells_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("loaded");
        QTest::addColumn<QString>("told");   // empty: nothing to tell
        const QByteArray two = streamed({makeLine(4, 0, 1), makeLine(5, 1, 2)});
        QByteArray fiveAnnounced = two;
        fiveAnnounced.replace(0, 4, int32(5));
        QByteArray oneAnnounced = streamed({makeLine(4, 0, 1), makeLine(5, 1, 2), makeLine(6, 1, 3)});
        oneAnnounced.replace(0, 4, int32(1));
        Spline bad = makeLine(3, 0, 4);
        bad.side = 2;
        const QByteArray withBad = streamed({makeLine(4, 0, 1), bad, makeLine(5, 1, 2)});

        QTest::newRow("two lines cut to 2000 bytes")
            << two.left(2000) << 1
            << "1 design line of this project was dropped: the file announces 2 design lines but ends after 1.";
        QTest::newRow("five announced, two held")
            << fiveAnnounced << 2
            << "3 design lines of this project were dropped: the file announces 5 design lines but ends after 2.";
        QTest::newRow("one announced, cut inside the third")
            << oneAnnounced.left(oneAnnounced.size() - 1) << 2
            << "1 design line of this project was dropped: the file ends inside design line 3.";
        QTest::newRow("an inconsistent line")
            << withBad << 0
            << "3 design lines of this project were dropped: design line 2 is inconsistent: its surface side is 2, "
               "neither top (0) nor bottom (1).";
        QTest::newRow("an inconsistent line, and cut")
            << withBad.left(withBad.size() - 8) << 0
            << "3 design lines of this project were dropped: design line 2 is inconsistent: its surface side is 2, "
               "neither top (0) nor bottom (1); and the file announces 3 design lines but ends after 2.";
        QTest::newRow("sound file") << two << 2 << "";
        QTest::newRow("empty list") << streamed({}) << 0 << "";
        QTest::newRow("count only, cut") << int32(1).left(3) << 0 << "";
    }
    void openingDropsAndTells()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, loaded);
        QFETCH(QString, told);
        const QString path = GetGlobClass()->dsgPath;
        QFile::remove(path + ".bak");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        ScriptedUser user;
        const QStringList& notes = user.texts;
        const QList<Spline> lines = Open_Design_Lines();

        QCOMPARE(lines.size(), loaded);
        QCOMPARE(fileBytes(path), bytes);
        if (told.isEmpty()) {
            QVERIFY(notes.isEmpty());
            QVERIFY(!QFile::exists(path + ".bak"));
            return;
        }
        QCOMPARE(notes.size(), 1);
        QVERIFY2(notes[0].startsWith(told + "\n" + path + "\n"), qPrintable(notes[0]));
        QVERIFY(notes[0].endsWith("a copy of it is kept as\n" + path + ".bak"));
        QCOMPARE(fileBytes(path + ".bak"), bytes);
    }

    void openingWithoutFileTellsNothing()
    {
        ScriptedUser user;
        QVERIFY(Open_Design_Lines().isEmpty());
        QVERIFY(user.texts.isEmpty());
    }

private:
    QTemporaryDir dir;
};

QTEST_APPLESS_MAIN(TestPattSpline)
#include "tst_pattspline.moc"
