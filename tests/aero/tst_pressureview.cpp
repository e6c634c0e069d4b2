// What the pressure view draws, without GL: the colour scale against its
// formula and its telling rows, the legend against the panels, each panel in
// the colour of its own pressure, panels the results cannot place left out,
// and the camera arithmetic.

#include "aero/apameres.h"
#include "aero/pressureview.h"
#include "core/chartlabels.h"
#include "tests/aero/resultwriter.h"

#include "core/parastruct.h"

#include <QTest>
#include <QLatin1String>
#include <QRectF>
#include <QSize>
#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QVector3D>

#include <array>
#include <cmath>
#include <memory>

namespace {

std::array<double, 30> standardScale()
{
    std::array<double, 30> t{};
    LegendColors(t.data(), 30, -1.5, 1.0);
    return t;
}

} // namespace

class TestPressureView : public QObject
{
    Q_OBJECT

private slots:
    void colourOfIndex_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0") << 0 << QColor(255, 0, 0);
        QTest::newRow("1") << 1 << QColor(238, 38, 0);
        QTest::newRow("3") << 3 << QColor(206, 108, 2);
        QTest::newRow("10") << 10 << QColor(113, 255, 28);
        QTest::newRow("15") << 15 << QColor(63, 255, 63);
        QTest::newRow("20") << 20 << QColor(28, 255, 113);
        QTest::newRow("29") << 29 << QColor(0, 38, 238);
        QTest::newRow("30") << 30 << QColor(0, 0, 255);
    }
    void colourOfIndex()
    {
        QFETCH(int, index);
        QFETCH(QColor, colour);
        QCOMPARE(Index_Color(index), colour);
        // The divisor is 30 whatever scale size is passed.
        QCOMPARE(Index_iRed(7, index), colour.red());
        QCOMPARE(Index_iGreen(100, index), colour.green());
        QCOMPARE(Index_iBlue(1, index), colour.blue());
    }

    // Every index against the blend it is: (1-t)^2 red + 2t(1-t) 600 green
    // + t^2 blue, green capped.
    void colourBlend()
    {
        for (int i = 0; i <= 30; ++i) {
            const double t = i / 30.0;
            const double green = std::min(600 * 2 * t * (1 - t), 255.0);
            QVERIFY(std::fabs(Index_iRed(30, i) - 255 * (1 - t) * (1 - t)) < 1);
            QVERIFY(std::fabs(Index_iGreen(30, i) - green) < 1);
            QVERIFY(std::fabs(Index_iBlue(30, i) - 255 * t * t) < 1);
        }
    }

    void scaleValues()
    {
        const auto t = standardScale();
        QCOMPARE(t[0], -1.5);
        QCOMPARE(t[29], 1.0);
        for (int k = 1; k < 30; ++k)
            QVERIFY(std::fabs(t[k] - t[k - 1] - 2.5 / 29) < 1e-12);
    }

    void indexOfValue_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("index");
        const double step = 2.5 / 29;
        QTest::newRow("lowest") << -1.5 << 30;
        QTest::newRow("below the scale") << -7.0 << 30;
        QTest::newRow("highest") << 1.0 << 1;
        QTest::newRow("above the scale") << 1.8 << 1;
        QTest::newRow("zero") << 0.0 << 30 - 17; // entry 17 = -1.5 + 17 step = -0.0345
        QTest::newRow("near entry 5") << -1.5 + 5 * step + 0.01 << 25;
        QTest::newRow("not a number") << qQNaN() << 30;
    }
    void indexOfValue()
    {
        QFETCH(double, value);
        QFETCH(int, index);
        const auto t = standardScale();
        QCOMPARE(indexColorOfValue(30, value, t.data()), index);
    }

    // Half-way between two entries takes the lower entry, the higher index.
    void tieTakesTheLowerEntry()
    {
        const double table[3] = {0.0, 0.5, 1.0};
        QCOMPARE(indexColorOfValue(3, 0.25, table), 30);
        QCOMPARE(indexColorOfValue(3, 0.75, table), 29);
        QCOMPARE(indexColorOfValue(3, 0.9, table), 28);
    }

    void indexWithoutScale()
    {
        const auto t = standardScale();
        QCOMPARE(indexColorOfValue(0, 0.5, t.data()), 30);
        QCOMPARE(indexColorOfValue(-3, 0.5, t.data()), 30);
    }

    // The band beside a value has the colour the panels with that value get:
    // the highest value's colour at the top, the lowest's at the bottom.
    void legendMatchesPanels()
    {
        const auto t = standardScale();
        for (int band = 0; band < 30; ++band) {
            const double labelled = t[29 - band];
            QCOMPARE(Legend_Band_Index(band), indexColorOfValue(30, labelled, t.data()));
        }
        QCOMPARE(Index_Color(Legend_Band_Index(0)), QColor(238, 38, 0));
        QCOMPARE(Index_Color(Legend_Band_Index(29)), QColor(0, 0, 255));
    }

    void wheelScale()
    {
        using pressureview::Wheel_Scale;
        // The start scale 0.45 lies below the wheel's range: one notch lifts it.
        QCOMPARE(Wheel_Scale(0.45, 120), 0.5);
        QCOMPARE(Wheel_Scale(0.45, -120), 0.5);
        QCOMPARE(Wheel_Scale(0.6, 960), 2.0 / 3.0);
        QVERIFY(std::fabs(Wheel_Scale(0.55, 120) - 0.55 * std::pow(2.0, 0.125)) < 1e-12);
        QVERIFY(std::fabs(Wheel_Scale(0.6, -120) - 0.6 / std::pow(2.0, 0.125)) < 1e-12);
    }

    void modelFactor()
    {
        using pressureview::Model_Factor;
        QCOMPARE(Model_Factor(7), 0.128);
        QCOMPARE(Model_Factor(8), 0.256); // "+" once from the start
        QCOMPARE(Model_Factor(0), 0.001); // "-" seven times
        QCOMPARE(Model_Factor(-3), 0.000125);
    }

    void viewport_data()
    {
        QTest::addColumn<int>("w");
        QTest::addColumn<int>("h");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<double>("yTranslation");
        QTest::newRow("dialog view") << 920 << 340 << QRect(-50, -453, 1020, 1020) << 0.45;
        QTest::newRow("tall") << 300 << 600 << QRect(-300, -200, 900, 900) << 0.225;
        QTest::newRow("square") << 400 << 400 << QRect(-400, -533, 1200, 1200) << 0.45;
    }
    void viewport()
    {
        QFETCH(int, w);
        QFETCH(int, h);
        QFETCH(QRect, rect);
        QFETCH(double, yTranslation);
        const pressureview::Viewport v = pressureview::Pressure_Viewport(w, h);
        QCOMPARE(v.rect, rect);
        QVERIFY(std::fabs(v.yTranslation - yTranslation) < 1e-12);
    }

    // Each panel in the colour of its own pressure coefficient, edge panels
    // (fewer than four neighbours) included.
    void eachPanelItsOwnPressure()
    {
        ApameRes r = resultwriter::sampleResults(4, 5); // 20 surface panels, 4 wake panels
        const auto t = standardScale();
        for (int k = 0; k < r.cp.size(); ++k)
            for (int c = 0; c < kResultCases; ++c)
                r.cp[k].values[c] = -1.5 + 2.5 * ((k * 7 + c * 3) % 20) / 19.0;
        for (int c : {0, 7, 12}) {
            const QList<PressurePanel> list = Pressure_Panel_List(r, c, 0, 0.128, t.data());
            QCOMPARE(list.size(), qsizetype(20)); // the wake is not drawn
            for (const PressurePanel& p : list) {
                const double cp = r.cp.at(p.id - 1).values[c];
                QCOMPARE(p.colorIndex, indexColorOfValue(30, cp, t.data()));
                QCOMPARE(p.color, Index_Color(p.colorIndex));
            }
        }
        // The highest pressure takes the colour of the legend's top band.
        const QList<PressurePanel> list = Pressure_Panel_List(r, 7, 0, 0.128, t.data());
        int highest = 0;
        for (int k = 1; k < r.cp.size(); ++k)
            if (r.cp[k].values[7] > r.cp[highest].values[7])
                highest = k;
        QCOMPARE(r.cp[highest].values[7], 1.0);
        QCOMPARE(list.at(highest).color, Index_Color(Legend_Band_Index(0)));
    }

    // Corners are the named nodes scaled into drawing units with z turned
    // back into the design frame; the normal follows; a triangle has three.
    void geometry()
    {
        ApameRes r = resultwriter::sampleResults(3, 4);
        r.panels[5].type = 2;
        const auto t = standardScale();
        const double f = 0.256;
        const QList<PressurePanel> list = Pressure_Panel_List(r, 0, 0, f, t.data());
        QCOMPARE(list.size(), qsizetype(12));
        for (const PressurePanel& p : list) {
            const PanelInfo& info = r.panels.at(p.id - 1);
            QCOMPARE(p.cornerCount, info.type == 2 ? 3 : 4);
            for (int q = 0; q < p.cornerCount; ++q) {
                const QVector3D n = r.nodes.at(info.nodes[q] - 1);
                QVERIFY(qFuzzyCompare(p.corners[q], QVector3D(n.x() * f, n.y() * f, -n.z() * f)));
            }
            const QVector3D n = r.normals.at(p.id - 1);
            QCOMPARE(p.normal, QVector3D(n.x(), n.y(), -n.z()));
        }
        QCOMPARE(list.at(5).cornerCount, 3);
    }

    // Strip 2 up to station J - 1 is the green marker strip; none with J = 0.
    void markerStrip()
    {
        const int J = 4; // five stations per strip
        ApameRes r = resultwriter::sampleResults(4, J + 1);
        const auto t = standardScale();
        const QList<PressurePanel> list = Pressure_Panel_List(r, 3, J, 0.128, t.data());
        QList<int> green;
        for (const PressurePanel& p : list)
            if (p.colorIndex < 0) {
                QCOMPARE(p.color, QColor(0, 255, 0));
                green.append(p.id);
            }
        // Panels 11 to 14: strip 2, stations 0 to J - 1 (panel 10, a multiple
        // of J + 1, closes strip 1).
        QCOMPARE(green, (QList<int>{11, 12, 13, 14}));
        for (const PressurePanel& p : Pressure_Panel_List(r, 3, 0, 0.128, t.data()))
            QVERIFY(p.colorIndex > 0);
    }

    // After a partial read the panels may name nodes or normals the record
    // does not hold: those panels are left out, the others drawn.
    // The blend of three control values: its ends, a midpoint control that
    // makes it linear, the peak of the green channel, and truncation toward
    // zero; the red and blue channels are this blend of 255, 0, 0 and 0, 0,
    // 255.
    void blendOfThree_data()
    {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<double>("c");
        QTest::addColumn<double>("t");
        QTest::addColumn<int>("x");
        QTest::newRow("start") << 17.0 << 900.0 << -4.0 << 0.0 << 17;
        QTest::newRow("end") << 17.0 << 900.0 << -4.0 << 1.0 << -4;
        QTest::newRow("linear at a quarter") << 0.0 << 50.0 << 100.0 << 0.25 << 25;
        QTest::newRow("green peak") << 0.0 << 600.0 << 0.0 << 0.5 << 300;
        QTest::newRow("toward zero") << -2.5 << -2.5 << -2.5 << 0.5 << -2;
    }
    void blendOfThree()
    {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(double, c);
        QFETCH(double, t);
        QFETCH(int, x);
        QCOMPARE(calcX(QPointF(a, 1), QPointF(b, 2), QPointF(c, 3), t), x);
        for (int i = 0; i <= 30; ++i) {
            const double u = i / 30.0;
            QVERIFY(std::abs(calcX(QPointF(255, 0), QPointF(0, 0), QPointF(0, 0), u) - Index_iRed(30, i)) <= 1);
            QVERIFY(std::abs(calcX(QPointF(0, 0), QPointF(0, 0), QPointF(255, 0), u) - Index_iBlue(30, i)) <= 1);
        }
    }

    // Against the mesh numbering: panel i (J+1) + j + 1 is strip i, station j.
    void panelOfStrip()
    {
        for (int J : {1, 4, 9}) {
            for (int i = 0; i < 5; ++i) {
                for (int j = 0; j <= J; ++j) {
                    const int id = i * (J + 1) + j + 1;
                    // The closing panel (station J) carries the next strip's
                    // quotient and counts for neither.
                    for (int strip = 0; strip < 6; ++strip)
                        QCOMPARE(thisPanel(J, id, strip), j < J && strip == i);
                }
            }
        }
        QVERIFY(!thisPanel(0, 3, 3));
        QVERIFY(!thisPanel(-2, 5, 1));
    }

    void extremesOfACase()
    {
        QList<ArrDouble> list(5);
        const double values[5] = {-9, 0.3, -0.7, 0.1, 9};
        for (int e = 0; e < 5; ++e)
            list[e].values[4] = values[e];
        double out[2];
        // The first and the last entry do not count.
        ListMaxVal(4, list, out);
        QCOMPARE(out[0], -0.7);
        QCOMPARE(out[1], 0.3);
        ListMaxVal(3, list, out);
        QCOMPARE(out[0], 0.0);
        QCOMPARE(out[1], 0.0);
        for (int k : {-1, kResultCases}) {
            ListMaxVal(k, list, out);
            QCOMPARE(out[0], 1e12);
            QCOMPARE(out[1], -1e12);
        }
        ListMaxVal(4, list.mid(0, 2), out);
        QCOMPARE(out[0], 1e12);
        QCOMPARE(out[1], -1e12);
    }

    void placeInRange_data()
    {
        QTest::addColumn<double>("v");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("fraction");
        QTest::newRow("middle") << 5.0 << 0.0 << 10.0 << 0.5;
        QTest::newRow("shifted") << 12.5 << 10.0 << 20.0 << 0.25;
        QTest::newRow("beyond") << 30.0 << 10.0 << 20.0 << 2.0;
        QTest::newRow("reversed") << 2.0 << 10.0 << 0.0 << 0.8;
        QTest::newRow("no width") << 3.0 << 2.0 << 2.0 << 0.0;
        QTest::newRow("width below one") << 0.3 << 0.0 << 0.5 << 0.0;
        QTest::newRow("width just one") << 0.3 << 0.0 << 1.0 << 0.3;
    }
    void placeInRange()
    {
        QFETCH(double, v);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(double, fraction);
        const double range[2] = {lo, hi};
        QVERIFY(std::fabs(Y_Val(v, range) - fraction) < 1e-12);
    }

    // The head runs from the tip back along the shaft a quarter of its length.
    void arrow()
    {
        const QVector3D a(1, -2, 3), b(5, 6, -1);
        const QList<ColoredSegment> s = Arrow_Segments(a, b);
        QCOMPARE(s.size(), 2);
        QCOMPARE(s[0].from, a);
        QCOMPARE(s[0].to, b);
        QCOMPARE(s[0].color, QColor(255, 255, 0));
        QCOMPARE(s[1].from, b);
        QCOMPARE(s[1].color, QColor(255, 0, 0));
        QVERIFY(std::fabs((s[1].to - b).length() - (b - a).length() / 4) < 1e-5);
        QVERIFY(QVector3D::crossProduct(s[1].to - a, b - a).length() < 1e-4);
        QVERIFY(QVector3D::dotProduct(s[1].to - a, b - a) > 0);
    }

    void panelsTheResultsCannotPlace()
    {
        const auto t = standardScale();
        ApameRes noNormals = resultwriter::sampleResults(3, 4);
        noNormals.normals.clear();
        QVERIFY(Pressure_Panel_List(noNormals, 0, 0, 0.128, t.data()).isEmpty());

        ApameRes r = resultwriter::sampleResults(3, 4);
        r.panels[2].nodes[3] = r.nodes.size() + 1;
        r.panels[4].nodes[0] = 0;
        r.panels[6].nodes[1] = -7;
        r.normals.resize(10);
        QList<int> drawn;
        for (const PressurePanel& p : Pressure_Panel_List(r, 0, 0, 0.128, t.data()))
            drawn.append(p.id);
        QCOMPARE(drawn, (QList<int>{1, 2, 4, 6, 8, 9, 10}));

        // No pressure row: drawn, in no colour of the scale.
        ApameRes fewRows = resultwriter::sampleResults(3, 4);
        fewRows.cp.resize(3);
        const QList<PressurePanel> list = Pressure_Panel_List(fewRows, 0, 0, 0.128, t.data());
        QCOMPARE(list.size(), qsizetype(12));
        QCOMPARE(list.at(3).colorIndex, -1);
        QCOMPARE(list.at(2).colorIndex, indexColorOfValue(30, fewRows.cp[2].values[0], t.data()));
    }

    void tooFewPanelsAndCases()
    {
        const auto t = standardScale();
        ApameRes r = resultwriter::sampleResults(1, 4); // 4 surface panels and 1 wake panel
        QCOMPARE(r.panels.size(), qsizetype(5));
        QCOMPARE(Pressure_Panel_List(r, 0, 0, 0.128, t.data()).size(), qsizetype(4));
        r.panels.removeLast();
        QVERIFY(Pressure_Panel_List(r, 0, 0, 0.128, t.data()).isEmpty());
        // A case outside 0 .. 12 shows the nearest case.
        ApameRes s = resultwriter::sampleResults(3, 4);
        const QList<PressurePanel> high = Pressure_Panel_List(s, 40, 0, 0.128, t.data());
        const QList<PressurePanel> last = Pressure_Panel_List(s, 12, 0, 0.128, t.data());
        const QList<PressurePanel> low = Pressure_Panel_List(s, -2, 0, 0.128, t.data());
        const QList<PressurePanel> first = Pressure_Panel_List(s, 0, 0, 0.128, t.data());
        for (int k = 0; k < high.size(); ++k) {
            QCOMPARE(high[k].colorIndex, last[k].colorIndex);
            QCOMPARE(low[k].colorIndex, first[k].colorIndex);
        }
    }

    // The legend of a 40 x 340 view: 30 bands from the top value down, and
    // labels at round values that stand apart, inside the legend, each
    // reading at least 4.5:1 on every band it covers (or on its plate).
    void legendLabelsCanBeRead()
    {
        using pressureview::kScaleHigh;
        using pressureview::kScaleLow;
        using pressureview::kScaleSteps;
        double values[kScaleSteps];
        LegendColors(values, kScaleSteps, kScaleLow, kScaleHigh);
        const double textHeight = 13;
        const auto width = [](const QString& s) { return 7.0 * s.size(); };
        for (const QSize size : {QSize(40, 340), QSize(40, 900), QSize(40, 150)}) {
            const LegendScene legend = Legend_Scene(values, kScaleSteps, size, textHeight, width);
            QCOMPARE(legend.bands.size(), kScaleSteps);
            QCOMPARE(legend.bands.first().colour, Index_Color(Legend_Band_Index(0)));
            QCOMPARE(legend.bands.last().rect.bottom() + 1, kScaleSteps * (size.height() / kScaleSteps));
            QVERIFY2(legend.labels.size() >= 3, qPrintable(QString::number(legend.labels.size())));
            QList<QRectF> boxes;
            for (const LegendLabel& l : legend.labels) {
                boxes << l.box;
                QVERIFY(QRectF(0, 0, size.width(), size.height()).contains(l.box));
                // a round value, written with as few digits as its step needs
                bool ok = false;
                const double v = l.text.toDouble(&ok);
                QVERIFY2(ok && v >= kScaleLow - 1e-9 && v <= kScaleHigh + 1e-9, qPrintable(l.text));
                if (l.plate.isValid())
                    QVERIFY(Contrast_Ratio(l.colour, l.plate) >= 4.5);
                else
                    for (const LegendBand& b : legend.bands)
                        if (QRectF(b.rect).intersects(l.box))
                            QVERIFY2(Contrast_Ratio(l.colour, b.colour) >= 4.5,
                                     qPrintable(QStringLiteral("%1 on %2").arg(l.text, b.colour.name())));
            }
            QVERIFY(!Labels_Overlap(boxes));
            // labels a text height and more apart, higher values higher up
            for (int i = 1; i < legend.labels.size(); ++i) {
                QVERIFY(legend.labels[i].text.toDouble() > legend.labels[i - 1].text.toDouble());
                QVERIFY(legend.labels[i].box.center().y() < legend.labels[i - 1].box.center().y());
            }
            // the value 0 sits where the scale has it: on the band whose
            // value is nearest 0
            for (const LegendLabel& l : legend.labels) {
                if (l.text != QLatin1String("0.0") && l.text != QLatin1String("0"))
                    continue;
                const int band = int(l.box.center().y() / (size.height() / kScaleSteps));
                QCOMPARE(indexColorOfValue(kScaleSteps, 0.0, values), Legend_Band_Index(band));
            }
        }
        // the old legend wrote all 30 values into 340 pixels
        const LegendScene tight = Legend_Scene(values, kScaleSteps, QSize(40, 340), textHeight, width);
        QVERIFY(tight.labels.size() <= 15);
    }
};

QTEST_GUILESS_MAIN(TestPressureView)
#include "tst_pressureview.moc"
