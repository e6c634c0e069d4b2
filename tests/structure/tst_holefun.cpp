#include <QtTest>

#include "structure/holefun.h"

class TestHoleFun : public QObject
{
    Q_OBJECT
private slots:
    void upperPartner_data()
    {
        QTest::addColumn<int>("nose");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("expected");
        // Airfoil: trailing edge 0, upper 1..4, nose 5, lower 6..9.
        QTest::newRow("behind upper point 1") << 5 << 8 << 1;
        QTest::newRow("same x counts as behind") << 5 << 7 << 3;
        QTest::newRow("close to the nose") << 5 << 6 << 4;
        QTest::newRow("no nose") << 0 << 8 << 0;
        QTest::newRow("trailing edge in front") << 5 << 9 << 5;
        QTest::newRow("nothing in front before the nose") << 3 << 6 << 2;
        QTest::newRow("point outside") << 5 << 12 << 5;
    }
    void upperPartner()
    {
        QFETCH(int, nose);
        QFETCH(int, low);
        QFETCH(int, expected);
        QPolygonF p({QPointF(1.0, 0), QPointF(0.8, .05), QPointF(0.6, .08), QPointF(0.4, .09), QPointF(0.2, .07),
                     QPointF(0.0, 0), QPointF(0.2, -.05), QPointF(0.4, -.06), QPointF(0.7, -.04),
                     QPointF(1.2, -.01)});
        QCOMPARE(get_UPindex(&p, nose, low), expected);
        QPolygonF empty;
        QCOMPARE(get_UPindex(&empty, 5, 3), 5);
    }
};

QTEST_APPLESS_MAIN(TestHoleFun)
#include "tst_holefun.moc"
