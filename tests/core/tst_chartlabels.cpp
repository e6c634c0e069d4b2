// Chart labels: the nice-number tick rule against hand-worked axes, and the
// placing of free labels so that none covers another.

#include <QTest>

#include <QColor>
#include <QList>
#include <QPalette>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "core/chartlabels.h"

#include <cmath>
#include <limits>

class TestChartLabels : public QObject
{
    Q_OBJECT

private slots:
    void niceStep_data()
    {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("step");
        QTest::newRow("exact 1") << 1.0 << 1.0;
        QTest::newRow("exact 0.2 (stored above)") << 0.1 + 0.1 << 0.2;
        QTest::newRow("1.01 -> 2") << 1.01 << 2.0;
        QTest::newRow("2.5 -> 5") << 2.5 << 5.0;
        QTest::newRow("5.01 -> 10") << 5.01 << 10.0;
        QTest::newRow("7 -> 10") << 7.0 << 10.0;
        QTest::newRow("0.031 -> 0.05") << 0.031 << 0.05;
        QTest::newRow("0.0007 -> 0.001") << 0.0007 << 0.001;
        QTest::newRow("1234 -> 2000") << 1234.0 << 2000.0;
        QTest::newRow("zero") << 0.0 << 0.0;
        QTest::newRow("negative") << -3.0 << 0.0;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 0.0;
        QTest::newRow("nan") << std::nan("") << 0.0;
    }
    void niceStep()
    {
        QFETCH(double, minimum);
        QFETCH(double, step);
        const double got = Nice_Step(minimum);
        QVERIFY2(std::abs(got - step) <= 1e-12 * std::max(1.0, step), qPrintable(QString::number(got, 'g', 17)));
    }

    void stepsAndTexts()
    {
        QCOMPARE(Next_Nice_Step(1.0), 2.0);
        QCOMPARE(Next_Nice_Step(2.0), 5.0);
        QCOMPARE(Next_Nice_Step(5.0), 10.0);
        QVERIFY(std::abs(Next_Nice_Step(0.05) - 0.1) < 1e-15);
        QCOMPARE(Step_Decimals(10.0), 0);
        QCOMPARE(Step_Decimals(1.0), 0);
        QCOMPARE(Step_Decimals(0.5), 1);
        QCOMPARE(Step_Decimals(0.1), 1);
        QCOMPARE(Step_Decimals(0.05), 2);
        QCOMPARE(Step_Decimals(0.01), 2);
        QCOMPARE(Tick_Text(-0.0, 1), QStringLiteral("0.0"));
        QCOMPARE(Tick_Text(-0.04, 1), QStringLiteral("0.0"));
        QCOMPARE(Tick_Text(-14.0, 0), QStringLiteral("-14"));
        QCOMPARE(Tick_Text(0.30000000000000004, 1), QStringLiteral("0.3"));
    }

    // Axes worked by hand: every label is taken as a fixed number of pixels
    // per character, and the step must leave a label plus the gap between
    // neighbours, no less and not one nice step more than needed.
    void axisTicks_data()
    {
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("length");
        QTest::addColumn<double>("charWidth");
        QTest::addColumn<double>("gap");
        QTest::addColumn<double>("step");
        QTest::addColumn<QStringList>("texts");
        // -15..15 over 300 px: 10 px a degree; "-10" is 21 px + 6 gap -> 27 px -> step 5
        QTest::newRow("angles narrow") << -15.0 << 15.0 << 300.0 << 7.0 << 6.0 << 5.0
                                       << QStringList{"-15", "-10", "-5", "0", "5", "10", "15"};
        // the same over 900 px: 30 px a degree; "-15" needs 27 px -> step 1
        QTest::newRow("angles wide") << -15.0 << 15.0 << 900.0 << 7.0 << 6.0 << 1.0 << QStringList{};
        // 0..45 over 200 px: 4.44 px a unit; "40" needs 14 + 6 = 20 px -> 4.5 units -> step 5
        QTest::newRow("speeds") << 0.0 << 45.0 << 200.0 << 7.0 << 6.0 << 5.0
                                << QStringList{"0", "5", "10", "15", "20", "25", "30", "35", "40", "45"};
        // 0..1.2 over 100 px: "0.0" etc. 21 + 4 = 25 px -> 0.3 units -> step 0.5
        QTest::newRow("coefficients") << 0.0 << 1.2 << 100.0 << 7.0 << 4.0 << 0.5
                                      << QStringList{"0.0", "0.5", "1.0"};
        // a range given upside down is the same range
        QTest::newRow("reversed") << 1.2 << 0.0 << 100.0 << 7.0 << 4.0 << 0.5 << QStringList{"0.0", "0.5", "1.0"};
        // -0.1..0.1 over 400 px, 2000 px a unit: "-0.10" needs 35 + 4 px -> 0.0195 units -> step 0.02
        QTest::newRow("moments") << -0.1 << 0.1 << 400.0 << 7.0 << 4.0 << 0.02
                                 << QStringList{"-0.10", "-0.08", "-0.06", "-0.04", "-0.02", "0.00",
                                                "0.02", "0.04", "0.06", "0.08", "0.10"};
    }
    void axisTicks()
    {
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(double, length);
        QFETCH(double, charWidth);
        QFETCH(double, gap);
        QFETCH(double, step);
        QFETCH(QStringList, texts);
        const auto width = [charWidth](const QString& s) { return charWidth * s.size(); };
        const AxisTicks t = Axis_Ticks(lo, hi, length, gap, width);
        QVERIFY2(std::abs(t.step - step) < 1e-12, qPrintable(QString::number(t.step)));
        if (!texts.isEmpty())
            QCOMPARE(t.texts, texts);
        // the oracle of the rule itself: neighbouring label centres stand a
        // label and a gap apart, and half the step would not
        const double perUnit = length / std::abs(hi - lo);
        double widest = 0;
        for (const QString& s : t.texts)
            widest = std::max(widest, width(s));
        QVERIFY(t.step * perUnit >= widest + gap);
        QVERIFY(t.values.size() >= 2);
        for (int i = 1; i < t.values.size(); ++i)
            QVERIFY(std::abs(t.values[i] - t.values[i - 1] - t.step) < 1e-9);
    }

    void axisTicksWithoutRoom()
    {
        // no length, no range, no room for more than the cap
        QCOMPARE(Axis_Ticks(0, 1, 0, 5).values.size(), 0);
        QCOMPARE(Axis_Ticks(3, 3, 100, 5).values.size(), 0);
        QCOMPARE(Axis_Ticks(0, std::nan(""), 100, 5).values.size(), 0);
        // a million pixels for 0..1 would give 0.0001 steps; the cap of ten
        // ticks widens the step to 0.2 (six ticks)
        const AxisTicks capped = Axis_Ticks(0, 1, 1e6, 4, {}, 10);
        QVERIFY(std::abs(capped.step - 0.2) < 1e-12);
        QCOMPARE(capped.values.size(), 6);
    }

    // Contrast against the guidelines' published figures: black on white
    // 21:1, a colour on itself 1:1, mid grey #777 on white 4.48:1.
    void contrast()
    {
        QVERIFY(std::abs(Contrast_Ratio(Qt::black, Qt::white) - 21.0) < 1e-9);
        QVERIFY(std::abs(Contrast_Ratio(QColor(0x77, 0x77, 0x77), Qt::white) - 4.48) < 0.01);
        QVERIFY(std::abs(Contrast_Ratio(QColor(10, 200, 30), QColor(10, 200, 30)) - 1.0) < 1e-12);
        QCOMPARE(Contrast_Ratio(Qt::red, Qt::blue), Contrast_Ratio(Qt::blue, Qt::red));
        QVERIFY(std::abs(Relative_Luminance(Qt::white) - 1.0) < 1e-12);
        // the text colour chosen reads at least 4.5:1 on any ground of a
        // colour scale, from red over yellow-green to blue
        const QList<QColor> grounds{Qt::red, QColor(160, 200, 40), QColor(120, 255, 0), Qt::yellow, Qt::cyan,
                                    Qt::blue, QColor(0, 0, 80), QColor(128, 128, 128), Qt::white};
        for (const QColor& g : grounds)
            QVERIFY2(Contrast_Ratio(Readable_Text_Colour(g), g) >= 4.5, qPrintable(g.name()));
        QCOMPARE(Readable_Text_Colour(QColor(160, 200, 40)), QColor(Qt::black));
        QCOMPARE(Readable_Text_Colour(QColor(0, 0, 160)), QColor(Qt::white));
    }

    // Disabled texts made readable on light and dark palettes alike, still
    // fainter than the active texts; readable ones are kept as they are.
    void readableDisabledTexts_data()
    {
        QTest::addColumn<QColor>("ground");
        QTest::addColumn<QColor>("disabledText");
        QTest::addColumn<QColor>("activeText");
        QTest::newRow("grey on grey") << QColor(239, 239, 239) << QColor(190, 190, 190) << QColor(Qt::black);
        QTest::newRow("invisible") << QColor(200, 200, 200) << QColor(200, 200, 200) << QColor(Qt::black);
        QTest::newRow("dark theme") << QColor(50, 50, 50) << QColor(70, 70, 70) << QColor(Qt::white);
        QTest::newRow("already readable") << QColor(239, 239, 239) << QColor(110, 110, 110) << QColor(Qt::black);
    }
    void readableDisabledTexts()
    {
        QFETCH(QColor, ground);
        QFETCH(QColor, disabledText);
        QFETCH(QColor, activeText);
        QPalette p;
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(g, QPalette::Button, ground);
            p.setColor(g, QPalette::Window, ground);
            p.setColor(g, QPalette::Base, ground);
            const QColor text = g == QPalette::Disabled ? disabledText : activeText;
            p.setColor(g, QPalette::ButtonText, text);
            p.setColor(g, QPalette::WindowText, text);
            p.setColor(g, QPalette::Text, text);
        }
        const QPalette r = Readable_Disabled_Palette(p);
        for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text}) {
            const QColor d = r.color(QPalette::Disabled, role);
            const double c = Contrast_Ratio(d, ground);
            QVERIFY2(c >= 3.0, qPrintable(QStringLiteral("%1 on %2: %3").arg(d.name(), ground.name()).arg(c)));
            QVERIFY(c < Contrast_Ratio(activeText, ground));
            if (Contrast_Ratio(disabledText, ground) >= 3.0)
                QCOMPARE(d, disabledText);
            QCOMPARE(r.color(QPalette::Active, role), activeText);
        }
    }

    // Labels meant for the same spot: each finds a place of its own, or is
    // left out, and none covers another.
    void placeLabels()
    {
        const QRectF box(100, 100, 40, 12);
        const QList<QRectF> wanted{box, box, box, box, box.translated(200, 0)};
        const QList<QRectF> placed = Place_Labels(wanted, Label_Moves(3));
        QCOMPARE(placed.size(), wanted.size());
        QCOMPARE(placed[0], box);
        QCOMPARE(placed[1], box.translated(0, 12));
        QCOMPARE(placed[2], box.translated(0, -12));
        QCOMPARE(placed[3], box.translated(0, 24));
        QCOMPARE(placed[4], wanted[4]);
        QVERIFY(!Labels_Overlap(placed));
        QVERIFY(Labels_Overlap(wanted));

        // a mark in the way: the label moves off it too
        const QList<QRectF> offMark = Place_Labels({box}, Label_Moves(3), QRectF(), {QRectF(110, 104, 6, 6)});
        QCOMPARE(offMark[0], box.translated(0, 12));

        // inside bounds only; a label with no free place is left out
        const QRectF bounds(90, 95, 60, 30);
        const QList<QRectF> crowded = Place_Labels({box, box, box, box}, Label_Moves(3), bounds);
        QCOMPARE(crowded[0], box);
        QVERIFY(!crowded[1].isNull());
        QVERIFY(bounds.contains(crowded[1]));
        int left = 0;
        for (const QRectF& r : crowded)
            left += r.isNull();
        QVERIFY(left >= 1);
        QVERIFY(!Labels_Overlap(crowded));
    }
};

QTEST_MAIN(TestChartLabels)
#include "tst_chartlabels.moc"
