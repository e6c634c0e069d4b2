#include <QTest>
#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <QBuffer>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>

#include "tests/common/scripteduser.h"
#include "apps/splinora/editspline.h"
#include "apps/splinora/myopenfile.h"
#include "apps/splinora/parastruct.h"

using namespace splinora;

namespace {

// A ten-point spline with a toggled knot and every stored field set.
void fillSpline(SplineFoil& s)
{
    s.airfoilName = "/tmp/ab.spl";
    s.num_pnt = 10;
    for (int i = 0; i < MAXNUMPOINTS; ++i) {
        s.CP[i] = QPointF(100.25 + 17 * i, 300.5 - 3 * i * i);
        s.rd_CP[i] = QPointF(-i, 0.5 * i);
    }
    s.init_knots();
    s.b_knots[6] = s.b_knots[5] + 0.0001;
    s.startVent = 10.0;
    s.endVent = 30.0;
    s.L_T_S = 812.0;
}

QByteArray streamOf(const SplineFoil& s)
{
    ParaStruct rec;
    rec.spline = s;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    out << rec;
    return bytes;
}

bool readBytes(const QByteArray& bytes, SplineFoil* s)
{
    QByteArray copy = bytes;
    QBuffer buf(&copy);
    buf.open(QIODevice::ReadOnly);
    return Read_Spline_Device(&buf, s);
}

void putInt(QByteArray& b, int offset, qint32 v)
{
    QByteArray w;
    QDataStream o(&w, QIODevice::WriteOnly);
    o << v;
    b.replace(offset, 4, w);
}

void putDouble(QByteArray& b, int offset, double v)
{
    QByteArray w;
    QDataStream o(&w, QIODevice::WriteOnly);
    o << v;
    b.replace(offset, 8, w);
}

// Offsets in a file whose name has `chars` characters.
int intOffset(int chars, int field) { return 4 + 2 * chars + 4 * field; }
int knotOffset(int chars, int k) { return 4 + 2 * chars + 16 + 8 * k; }
int pointOffset(int chars, int i) { return 4 + 2 * chars + 16 + 2400 + 32 * i; }


} // namespace

class TestSplineFile : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir tmp;

private slots:
    void initTestCase()
    {
        QVERIFY(tmp.isValid());
    }

    void roundTripWithExactSize()
    {
        QDir::setCurrent(tmp.path());
        const QString path = "abcdef.spl"; // 10 characters
        ParaStruct* p = GetDataStruct();
        fillSpline(p->spline);
        p->spline.airfoilName = path;
        const SplineFoil saved = p->spline;

        myOpenFile opf(nullptr);
        QVERIFY(opf.WriteParaStream(path));
        QCOMPARE(QFileInfo(path).size(), qint64(3404 + 2 * 10));

        p->spline = SplineFoil();
        QVERIFY(opf.ReadParaStream(path));
        const SplineFoil& r = p->spline;
        QCOMPARE(r.airfoilName, path);
        QCOMPARE(r.num_pnt, 10);
        QCOMPARE(r.num_knt, 13);
        QCOMPARE(r.degree, 2);
        QCOMPARE(r.order, 3);
        for (int k = 0; k < MAXNUMKNOTS; ++k)
            QCOMPARE(r.b_knots[k], saved.b_knots[k]);
        for (int i = 0; i < MAXNUMPOINTS; ++i) {
            QCOMPARE(r.CP[i], saved.CP[i]);
            QCOMPARE(r.rd_CP[i], saved.rd_CP[i]);
        }
        QCOMPARE(r.startVent, 10.0);
        QCOMPARE(r.endVent, 30.0);
        QCOMPARE(r.L_T_S, 812.0);
        QCOMPARE(opf.WriteParaStream(QString()), false);
        QCOMPARE(opf.ReadParaStream(QString()), false);
    }

    void layoutIsFixed()
    {
        SplineFoil s;
        fillSpline(s);
        s.airfoilName = "ab";
        const QByteArray b = streamOf(s);
        QCOMPARE(b.size(), 3404 + 4);
        // Name: byte count, then big-endian UTF-16.
        QCOMPARE(b.left(8), QByteArray::fromHex("00000004" "00610062"));
        QCOMPARE(b.mid(intOffset(2, 0), 16), QByteArray::fromHex("0000000a" "0000000d" "00000002" "00000003"));
        // All 300 knots follow, the unused ones included.
        QCOMPARE(b.mid(knotOffset(2, 12), 8), QByteArray::fromHex("3ff0000000000000")); // 1.0
        QCOMPARE(b.mid(knotOffset(2, 299), 8), QByteArray(8, '\0'));
        // Points interleaved: CP.x, CP.y, rd_CP.x, rd_CP.y.
        QByteArray cp1;
        QDataStream o(&cp1, QIODevice::WriteOnly);
        o << 117.25 << 297.5 << -1.0 << 0.5;
        QCOMPARE(b.mid(pointOffset(2, 1), 32), cp1);
        QByteArray tail;
        QDataStream t(&tail, QIODevice::WriteOnly);
        t << 10.0 << 30.0 << 812.0;
        QCOMPARE(b.right(24), tail);

        // A record that never had a name writes a null string.
        SplineFoil fresh;
        const QByteArray f = streamOf(fresh);
        QCOMPARE(f.size(), 3404);
        QCOMPARE(f.left(4), QByteArray::fromHex("ffffffff"));
        SplineFoil back;
        back.airfoilName = "x";
        QVERIFY(readBytes(f, &back));
        QVERIFY(back.airfoilName.isNull());
        QCOMPARE(back.num_pnt, 0);
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        SplineFoil s;
        fillSpline(s);
        s.airfoilName = "ab";
        const QByteArray good = streamOf(s);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("name only") << good.left(8);
        QTest::newRow("short by one") << good.left(good.size() - 1);
        QTest::newRow("half") << good.left(good.size() / 2);
        QTest::newRow("trailing data") << good + QByteArray("x");
        QByteArray b = good;
        putInt(b, intOffset(2, 0), 31);
        QTest::newRow("31 points") << b;
        b = good;
        putInt(b, intOffset(2, 0), 31);
        putInt(b, intOffset(2, 1), 34);
        QTest::newRow("31 points with their knots") << b;
        b = good;
        putInt(b, intOffset(2, 0), -1);
        QTest::newRow("negative count") << b;
        b = good;
        putInt(b, intOffset(2, 1), 301);
        QTest::newRow("301 knots") << b;
        b = good;
        putInt(b, intOffset(2, 1), 12);
        QTest::newRow("knot count off") << b;
        b = good;
        putInt(b, intOffset(2, 2), 40);
        putInt(b, intOffset(2, 3), 41);
        putInt(b, intOffset(2, 1), 50);
        QTest::newRow("degree 40") << b;
        b = good;
        putDouble(b, knotOffset(2, 4), 0.9);
        QTest::newRow("decreasing knots") << b;
        b = good;
        putDouble(b, knotOffset(2, 12), 2.0);
        QTest::newRow("knot beyond 1") << b;
        b = good;
        putDouble(b, pointOffset(2, 3), std::nan(""));
        QTest::newRow("NaN control point") << b;
        b = good;
        putDouble(b, pointOffset(2, 4) + 8, -3e7);
        QTest::newRow("point far off screen") << b;
        b = good;
        putDouble(b, good.size() - 24, HUGE_VAL);
        QTest::newRow("infinite opening") << b;
        b = good;
        putInt(b, 0, 3);
        QTest::newRow("odd name length") << b;
        b = good;
        putInt(b, 0, 0x7ffffff0);
        QTest::newRow("huge name length") << b;
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        SplineFoil live;
        fillSpline(live);
        live.airfoilName = "live";
        const QByteArray before = streamOf(live);
        QVERIFY(!readBytes(bytes, &live));
        QCOMPARE(streamOf(live), before);
    }

    void refusalKeepsTheLiveSpline()
    {
        // Through the file reader: a corrupt file warns and changes nothing.
        const QString path = tmp.filePath("broken.spl");
        SplineFoil s;
        fillSpline(s);
        QByteArray bytes = streamOf(s);
        putInt(bytes, intOffset(11, 0), 200);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();

        ParaStruct* p = GetDataStruct();
        fillSpline(p->spline);
        p->spline.num_pnt = 4;
        p->spline.init_knots();
        const QByteArray before = streamOf(p->spline);
        myOpenFile opf(nullptr);
        ScriptedUser user;
        QVERIFY(!opf.ReadParaStream(path));
        QCOMPARE(streamOf(p->spline), before);
        QVERIFY(!opf.ReadParaStream(tmp.filePath("missing.spl")));
        QCOMPARE(streamOf(p->spline), before);
        QCOMPARE(user.texts.size(), 2);
        QVERIFY(user.texts[0].contains("damaged or not a spline file"));
        QVERIFY(user.texts[1].contains("file is missing"));
    }

    void fuzzedStreamsNeverCrash()
    {
        SplineFoil s;
        fillSpline(s);
        const QByteArray good = streamOf(s);
        QRandomGenerator rng(20240611);
        int accepted = 0;
        // Accepted splines are also drawn, as the editor would after opening.
        EditSpline area;
        area.resize(800, 600);
        ParaStruct* p = GetDataStruct();
        for (int round = 0; round < 3000; ++round) {
            QByteArray b = good;
            const int kind = rng.bounded(4);
            if (kind == 0) {
                b.truncate(rng.bounded(b.size() + 1));
            } else if (kind == 1) {
                for (int k = 0, n = 1 + rng.bounded(8); k < n; ++k)
                    b[rng.bounded(b.size())] = char(rng.bounded(256));
            } else if (kind == 2) {
                // Hit the header and counts, where damage matters most.
                for (int k = 0, n = 1 + rng.bounded(4); k < n; ++k)
                    b[rng.bounded(40)] = char(rng.bounded(256));
            } else {
                b = b.left(rng.bounded(b.size())) + b.mid(rng.bounded(b.size()));
            }
            SplineFoil r;
            if (!readBytes(b, &r))
                continue;
            ++accepted;
            QVERIFY(r.num_pnt >= 0 && r.num_pnt <= MAXNUMPOINTS);
            QVERIFY(r.num_knt >= 0 && r.num_knt <= MAXNUMKNOTS);
            const QPolygonF c = r.make_SplinePoly();
            QCOMPARE(c.size(), r.num_pnt > 0 ? 999 : 0);
            if (accepted <= 60) {
                p->spline = r;
                area.repaint_opened_spline();
                (void)area.grab();
            }
        }
        QVERIFY(accepted > 0);
    }

    void tableFileFormat()
    {
        const QPolygonF ccw({QPointF(1, 0), QPointF(0.8, 0.05), QPointF(0.6, 0.08), QPointF(0.4, 0.09),
                             QPointF(0.2, 0.07), QPointF(0, 0), QPointF(0.2, -0.03), QPointF(0.4, -0.04),
                             QPointF(0.6, -0.03), QPointF(0.8, -0.02), QPointF(0.999995, -0.0001),
                             QPointF(1, 0)});
        QCOMPARE(Airfoil_Table_FileText("/w/t.dat", ccw),
                 QString("/w/t.dat \t\n"
                         "1.00000   0.00000 \t\n"
                         "0.80000   0.05000 \t\n"
                         "1.00000   0.00000 \t\n"
                         " "));
        QPolygonF cw = ccw;
        std::reverse(cw.begin(), cw.end());
        // Clockwise: from the end backwards in steps of nine (11 skipped, then 2).
        QCOMPARE(Airfoil_Table_FileText("t", cw),
                 QString("t \t\n"
                         "1.00000   0.00000 \t\n"
                         "0.80000   -0.02000 \t\n"
                         "1.00000   0.00000 \t\n"
                         " "));
        QCOMPARE(Airfoil_Table_PanelText(cw),
                 QString(" airfoil table \t\n \t\n"
                         "1.00000   0.00000 \t\n"
                         "0.80000   0.05000 \t\n0.60000   0.08000 \t\n0.40000   0.09000 \t\n"
                         "0.20000   0.07000 \t\n0.00000   0.00000 \t\n0.20000   -0.03000 \t\n"
                         "0.40000   -0.04000 \t\n0.60000   -0.03000 \t\n0.80000   -0.02000 \t\n"
                         "1.00000   0.00000 \t\n"));
        // Wider numbers are not cut: a negative value takes eight characters.
        QCOMPARE(Airfoil_Table_PanelText(QPolygonF({QPointF(0, 0), QPointF(-12.5, -0.25)})),
                 QString(" airfoil table \t\n \t\n1.00000   0.00000 \t\n"
                         "-12.50000   -0.25000 \t\n1.00000   0.00000 \t\n"));
    }
};

QTEST_MAIN(TestSplineFile)
#include "tst_splinefile.moc"
