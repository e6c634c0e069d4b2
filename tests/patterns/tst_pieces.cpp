// Records of the flat panel pieces: point makers, cut allowances and piece
// names.

#include <QTest>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringLiteral>

#include "core/parastruct.h"
#include "patterns/pieces.h"

#include <memory>

class TestPieces : public QObject
{
    Q_OBJECT
private slots:
    void edgePoint()
    {
        auto d = std::make_unique<ParaStruct>();
        d->noseIndex[3] = 480;
        d->lineIndex[4][4] = 520;
        const PntPart left = Insert_TP7(d.get(), QPointF(1, 2), 3, 500, 0.7, 'L');
        QCOMPARE(left.uv, QPoint(768, 500));
        QCOMPARE(left.name(), QStringLiteral("L -1 -1"));
        QCOMPARE(left.rib, 3);
        QCOMPARE(left.index, 500);
        QCOMPARE(left.allowance, 0.7);
        QCOMPARE(left.point, QPointF(1, 2));
        QVERIFY(!left.control && !left.trailingEdge);
        const PntPart right = Insert_TP7(d.get(), QPointF(), 4, 500, 0, 'R');
        QCOMPARE(right.uv.x(), 1024);
        QCOMPARE(right.name(), QStringLiteral("R -1 -1"));
        // control marks at the rib's nose and its line rows
        QVERIFY(Insert_TP7(d.get(), QPointF(), 3, 480, 0, 'L').control);
        QVERIFY(Insert_TP7(d.get(), QPointF(), 4, 520, 0, 'R').control);
        QVERIFY(!Insert_TP7(d.get(), QPointF(), 3, 520, 0, 'L').control);
    }

    void cutPoint_data()
    {
        QTest::addColumn<int>("t");
        QTest::addColumn<bool>("control");
        for (int t : {0, 63, 193, 256})
            QTest::addRow("step %d", t) << t << false;
        for (int t : {64, 128, 192})
            QTest::addRow("step %d", t) << t << true;
    }
    void cutPoint()
    {
        QFETCH(int, t);
        QFETCH(bool, control);
        const PntPart p = Insert_CrossCut(2, 345, QPointF(3, 4), t, 256, 1.5, true);
        QCOMPARE(p.uv, QPoint(512 + t, 345));
        QCOMPARE(p.control, control);
        QCOMPARE(p.name(), QStringLiteral("S 0 255"));
        QCOMPARE(p.kind, 'S');
        QVERIFY(p.trailingEdge);
        QCOMPARE(p.cutFrom, 0);
        QCOMPARE(p.cutTo, 255);
        // the range stays 0 .. 255 whatever the number of steps
        QCOMPARE(Insert_CrossCut(2, 345, QPointF(), 7, 100, 0, false).name(), QStringLiteral("S 0 255"));
    }

    void lastCutStepReachesTheNextCell()
    {
        QCOMPARE(Insert_CrossCut(0, 10, QPointF(), 256, 256, 0, false).uv, QPoint(256, 10));
    }

    void quarterMarks()
    {
        QList<int> marked;
        for (int c = 0; c <= 256; ++c)
            if (is_cut_cntr(0, 256, c))
                marked << c;
        QCOMPARE(marked, (QList<int>{64, 128, 192}));
        // a range of 10: step 2, marks 2 .. 8
        QVERIFY(is_cut_cntr(0, 10, 2) && is_cut_cntr(0, 10, 8) && !is_cut_cntr(0, 10, 10) && !is_cut_cntr(0, 10, 3));
        // too short a range marks nothing instead of dividing by zero
        QVERIFY(!is_cut_cntr(0, 3, 0) && !is_cut_cntr(5, 5, 5));
    }

    void cutAllowance_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("k");
        QTest::addColumn<double>("mm");
        // a = 400 (O1), b = 450 (O2); side 10, front 15, trailing edge 20
        QTest::newRow("trailing edge, first piece") << 3 << 0 << 0 << 20.0;
        QTest::newRow("trailing edge, last piece") << 3 << 2 << 999 << 20.0;
        QTest::newRow("O1 of the first piece") << 3 << 0 << 400 << 15.0;
        QTest::newRow("O2 of the last piece") << 3 << 2 << 450 << 15.0;
        QTest::newRow("billow line between") << 4 << 1 << 300 << 10.0;
        QTest::newRow("billow line, first piece") << 4 << 0 << 300 << 20.0;
    }
    void cutAllowance()
    {
        QFETCH(int, n);
        QFETCH(int, i);
        QFETCH(int, k);
        QFETCH(double, mm);
        auto d = std::make_unique<ParaStruct>();
        d->span = 12.0;
        d->seamAllowance[0] = 10;
        d->seamAllowance[1] = 15;
        d->seamAllowance[2] = 20;
        const double units = set_oversew(d.get(), n, i, k, 400, 450);
        QVERIFY(std::abs(units - mm * 1000 / 6 / 1000) < 1e-12);
        if (mm == 20.0)
            QVERIFY(std::abs(units - 3.333) < 0.001);
    }

    void pieceNames_data()
    {
        QTest::addColumn<int>("piece");
        QTest::addColumn<int>("billow");
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("o1");
        QTest::addColumn<int>("o2");
        QTest::addColumn<QString>("name");
        QTest::newRow("nose piece after two upper pieces") << 2 << 120 << true << 400 << 450 << "VN";
        QTest::newRow("no nose piece when O1 = O2") << 2 << 120 << true << 400 << 400 << "Lw";
        QTest::newRow("billow index 0 counts as none") << 1 << 0 << true << 400 << 450 << "VN";
        QTest::newRow("billow line off") << 1 << 120 << false << 400 << 450 << "VN";
        QTest::newRow("second upper piece") << 1 << 120 << true << 400 << 450 << "Up";
        QTest::newRow("first piece") << 0 << 0 << false << 400 << 450 << "Up";
        QTest::newRow("lower piece") << 2 << 0 << false << 400 << 450 << "Lw";
        QTest::newRow("O1 behind O2") << 1 << 0 << false << 450 << 400 << "VN";
        QTest::newRow("negative number") << -1 << 0 << false << 400 << 450 << "Up";
        QTest::newRow("last of four") << 3 << 120 << true << 400 << 450 << "Lw";
    }
    void pieceNames()
    {
        QFETCH(int, piece);
        QFETCH(int, billow);
        QFETCH(bool, on);
        QFETCH(int, o1);
        QFETCH(int, o2);
        QFETCH(QString, name);
        QCOMPARE(Set_PartName(piece, billow, on, o1, o2), name);
    }

    void listsAndCopies()
    {
        WholePoly a;
        a.name = QStringLiteral("Up");
        for (int k = 0; k < 4; ++k)
            a.outline << Insert_CrossCut(0, 0, QPointF(k, 2 * k), k, 256, 0, false);
        QCOMPARE(SetPolylineFromList(a), (QPolygonF{{0, 0}, {1, 2}, {2, 4}, {3, 6}}));
        QVERIFY(SetPolylineFromList(WholePoly()).isEmpty());
        const QList<PntPart> r = ReverseOrderList(a.outline);
        QCOMPARE(r.first().point, QPointF(3, 6));
        QCOMPARE(r.last().point, QPointF(0, 0));
        QVERIFY(ReverseOrderList({}).isEmpty());

        WholePoly b = a;
        b.outline[0].point = QPointF(9, 9);
        b.outline.removeLast();
        QCOMPARE(a.outline.size(), 4);
        QCOMPARE(a.outline.first().point, QPointF(0, 0));
        UnFolder s;
        s.left = a.outline;
        UnFolder t = s;
        t.left.clear();
        QCOMPARE(s.left.size(), 4);
    }
};

QTEST_MAIN(TestPieces)
#include "tst_pieces.moc"
