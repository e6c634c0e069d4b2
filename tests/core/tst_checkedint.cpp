// Whole numbers from any double, as the pattern sheets take them.

#include <QTest>
#include <QObject>

#include <cmath>
#include <limits>

#include "core/checkedint.h"

class TestCheckedInt : public QObject
{
    Q_OBJECT
private slots:
    void conversions_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("truncated");
        QTest::addColumn<int>("rounded");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("positive") << 2.7 << 2 << 3;
        QTest::newRow("negative") << -2.7 << -2 << -3;
        QTest::newRow("half") << -2.5 << -2 << -3;
        QTest::newRow("largest held") << 1e9 << 1000000000 << 1000000000;
        QTest::newRow("a rib sheet gone wild") << 1.08e17 << 1000000000 << 1000000000;
        QTest::newRow("below") << -4.4e14 << -1000000000 << -1000000000;
        QTest::newRow("infinity") << inf << 1000000000 << 1000000000;
        QTest::newRow("minus infinity") << -inf << -1000000000 << -1000000000;
        QTest::newRow("not a number") << std::nan("") << 0 << 0;
    }
    void conversions()
    {
        QFETCH(double, x);
        QFETCH(int, truncated);
        QFETCH(int, rounded);
        QCOMPARE(wl::Checked_Int(x), truncated);
        QCOMPARE(wl::Checked_Round(x), rounded);
        // A few such values add up without leaving the int range.
        QVERIFY(qint64(wl::Checked_Int(x)) * 2 <= std::numeric_limits<int>::max());
    }
};

QTEST_GUILESS_MAIN(TestCheckedInt)
#include "tst_checkedint.moc"
