#include <QTest>
#include <QFont>
#include <QObject>
#include <QRgb>

#include <QImage>
#include <QPainter>

#include "shape/ui/flatwing.h"
#include "tests/shape/shapefixture.h"

// The plan-view painter drawn into an image: each switch adds its own kind
// of drawing and nothing else.
class TestPlanPainter : public QObject
{
    Q_OBJECT

    struct Counts {
        int black = 0, magenta = 0, blue = 0, cyan = 0, other = 0;
    };

    static Counts count(const QImage& img)
    {
        Counts c;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y) & 0xffffff;
                if (p == 0xffffff)
                    continue;
                if (p == 0x000000)
                    ++c.black;
                else if (p == 0xff00ff)
                    ++c.magenta;
                else if (p == 0x0000ff)
                    ++c.blue;
                else if (p == 0x00ffff)
                    ++c.cyan;
                else
                    ++c.other;
            }
        return c;
    }

    static QImage paint(ParaStruct* d, bool ribs, bool labels, bool lines, QFont* fontAfter = nullptr)
    {
        QImage img(1200, 700, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.translate(100, 100);
        QFont f = p.font();
        f.setPointSize(14);
        f.setBold(true);
        p.setFont(f);
        pp_Ribs_Globs_Lines(d, &p, ribs, labels, lines);
        if (fontAfter)
            *fontAfter = p.font();
        return img;
    }

    // Black pixels on the rib's chord line, half way from leading to trailing edge.
    static bool ribLineDrawn(const QImage& img, const ParaStruct* d, int r)
    {
        const int x = 100 + qRound(d->ribSpanPos[r]);
        const int y = 100 + int(0.5 * (d->leadingEdgeX[r] + d->trailingEdgeX[r]));
        return (img.pixel(x, y) & 0xffffff) == 0;
    }

private slots:
    void eachSwitchAddsItsOwnDrawing_data()
    {
        QTest::addColumn<bool>("ribs");
        QTest::addColumn<bool>("labels");
        QTest::addColumn<bool>("lines");
        QTest::newRow("nothing") << false << false << false;
        QTest::newRow("ribs") << true << false << false;
        QTest::newRow("labels") << false << true << false;
        QTest::newRow("lines") << false << false << true;
        QTest::newRow("ribs and labels") << true << true << false;
        QTest::newRow("all") << true << true << true;
    }

    void eachSwitchAddsItsOwnDrawing()
    {
        QFETCH(bool, ribs);
        QFETCH(bool, labels);
        QFETCH(bool, lines);
        ParaStruct* d = shapefixture::liveWing(34);
        QFont after;
        const QImage img = paint(d, ribs, labels, lines, &after);
        const Counts c = count(img);
        // the font is changed even when nothing is drawn
        QCOMPARE(after.pointSize(), 10);
        QCOMPARE(after.weight(), QFont::Normal);
        QVERIFY(!after.italic());
        if (!ribs && !labels && !lines) {
            QCOMPARE(c.black + c.magenta + c.blue + c.cyan + c.other, 0);
            return;
        }
        // quarter-chord circles and the metacentre line come with the labels
        QCOMPARE(c.magenta > 0, labels);
        QCOMPARE(c.blue > 0, labels);
        // the dynamic line rows are the only cyan
        QCOMPARE(c.cyan > 0, lines);
        // rib chords are black
        for (int r = d->firstRib; r <= d->lastRib; ++r)
            QCOMPARE(ribLineDrawn(img, d, r), ribs);
        QCOMPARE(c.black > 0, ribs || lines);
    }

    void labelsOnlyWithRibs()
    {
        // chord and cell-width labels need both switches: the labels-only
        // picture is the ribs-and-labels picture without any black
        ParaStruct* d = shapefixture::liveWing(34);
        const Counts labelsOnly = count(paint(d, false, true, false));
        const Counts ribsOnly = count(paint(d, true, false, false));
        const Counts both = count(paint(d, true, true, false));
        QCOMPARE(labelsOnly.black, 0);
        QVERIFY(both.black > ribsOnly.black);
        QCOMPARE(both.magenta, labelsOnly.magenta);
    }

    void centreCellLeavesRibZeroOut()
    {
        ParaStruct* even = shapefixture::liveWing(34);
        QCOMPARE(even->firstRib, 0);
        QVERIFY(ribLineDrawn(paint(even, true, false, false), even, 0));

        ParaStruct* odd = shapefixture::liveWing(35);
        QCOMPARE(odd->firstRib, 1);
        // rib 0 of a centre cell would stand at the symmetry plane: nothing there
        const QImage img = paint(odd, true, false, false);
        const int x = 100 + qRound(odd->ribSpanPos[0]);
        QVERIFY(qRound(odd->ribSpanPos[1]) - qRound(odd->ribSpanPos[0]) > 5);
        for (int y = 100 + int(odd->leadingEdgeX[0]); y <= 100 + int(odd->trailingEdgeX[0]); ++y)
            QCOMPARE(img.pixel(x, y) & 0xffffff, 0xffffffu);
        QVERIFY(ribLineDrawn(img, odd, 1));
    }
};

QTEST_MAIN(TestPlanPainter)
#include "tst_planpainter.moc"
