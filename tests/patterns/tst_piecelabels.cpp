// The labels of a piece: kept where they fit, moved and shrunk only as far
// as they must, against the room a rectangle leaves them (a formula).

#include <QTest>
#include <QLineF>
#include <QList>
#include <QPolygonF>
#include <QString>

#include <cmath>

#include "patterns/piecelabels.h"
#include "tests/patterns/outlinecheck.h"

namespace {

QPolygonF rectangle(double w, double h)
{
    return QPolygonF{QPointF(0, 0), QPointF(w, 0), QPointF(w, h), QPointF(0, h), QPointF(0, 0)};
}

bool inside(const QPolygonF& box, const QPolygonF& piece)
{
    for (const QPointF& p : box)
        if (!piece.containsPoint(p, Qt::OddEvenFill))
            return false;
    for (int i = 0; i + 1 < box.size(); ++i)
        for (int j = 0; j + 1 < piece.size(); ++j)
            if (outlinecheck::properCrossing(box.at(i), box.at(i + 1), piece.at(j), piece.at(j + 1)))
                return false;
    return true;
}

bool apart(const QPolygonF& a, const QPolygonF& b)
{
    for (const QPointF& p : a)
        if (b.containsPoint(p, Qt::OddEvenFill))
            return false;
    for (const QPointF& p : b)
        if (a.containsPoint(p, Qt::OddEvenFill))
            return false;
    for (int i = 0; i + 1 < a.size(); ++i)
        for (int j = 0; j + 1 < b.size(); ++j)
            if (outlinecheck::properCrossing(a.at(i), a.at(i + 1), b.at(j), b.at(j + 1)))
                return false;
    return true;
}

} // namespace

class TestPieceLabels : public QObject
{
    Q_OBJECT

private slots:
    // The box as the file has it: the insertion point moved by the letter
    // count and 1.3 heights down (mm at scale 2: half that in plan units),
    // as long as the height per letter, a third of the height below the
    // base line; turned about the insertion point.
    void boxOfALabel()
    {
        const QPolygonF b = Label_Box(QPointF(10, 20), 0, 6, QStringLiteral("abcd"), 2.0);
        // insertion (2 * 10 + 4, 2 * 20 - 7.8) mm = (12, 16.1) plan units
        QCOMPARE(b.size(), 5);
        QVERIFY(QLineF(b.at(0), QPointF(12, 16.1 - 1.0)).length() < 1e-9);
        QVERIFY(QLineF(b.at(2), QPointF(12 + 12, 16.1 + 3)).length() < 1e-9);
        const QPolygonF up = Label_Box(QPointF(10, 20), 90, 6, QStringLiteral("abcd"), 2.0);
        QVERIFY(QLineF(up.at(1), QPointF(12 + 1.0, 16.1 + 12)).length() < 1e-9);
    }

    // A label that fits where it is wished keeps its place and height.
    void aLabelThatFitsStays()
    {
        const QPolygonF piece = rectangle(300, 100);
        const LabelWish w{QStringLiteral("Up.3.1"), QPointF(20, 60), QPointF(1, 1), 0, QPointF(150, 50)};
        const QList<PlacedLabel> p = Place_Piece_Labels(piece, {}, {w}, 10, 1.0);
        QCOMPARE(p.size(), 1);
        QVERIFY(p.first().fits);
        QCOMPARE(p.first().at, w.at);
        QCOMPARE(p.first().previewAt, w.previewAt);
        QCOMPARE(p.first().height, 10);
        QCOMPARE(p.first().angle, 0);
    }

    // A strip too low for the label: it shrinks to fit the strip, by no
    // more than a step of the heights tried below the largest that fits
    // (n h + 2 mm long, 4/3 h + 2 mm high, 1 mm clear all round).
    void aLabelShrinksToItsStrip_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("a strap") << 360.0 << 30.0;
        QTest::newRow("a narrow strap") << 360.0 << 9.0;
        QTest::newRow("a short piece") << 60.0 << 200.0;
    }
    void aLabelShrinksToItsStrip()
    {
        QFETCH(double, width);
        QFETCH(double, height);
        const QString text = QStringLiteral("Strap.3.C");
        const QPolygonF piece = rectangle(width, height);
        const LabelWish w{text, QPointF(-50, -50), QPointF(), 0, QPointF(width / 2, height / 2)};
        const QList<PlacedLabel> p = Place_Piece_Labels(piece, {}, {w}, 29, 1.0);
        QCOMPARE(p.size(), 1);
        QVERIFY(p.first().fits);
        QVERIFY(inside(p.first().box, piece));
        const double largest = std::min({29.0, (width - 2) / text.size(), (height - 2) * 3 / 4});
        const double h = p.first().height;
        // a piece taller than long turns the label along it when that is larger
        if (p.first().angle == 0) {
            QVERIFY2(h <= largest && h >= std::floor(0.85 * largest) - 1, qPrintable(QString::number(h)));
        } else {
            QCOMPARE(p.first().angle, 90);
            QVERIFY(h > largest);
        }
    }

    // Several labels of one piece: one height, none over another or over a
    // hole, each inside.
    void labelsKeepApartAndOffHoles()
    {
        const QPolygonF piece = rectangle(400, 40);
        const QPolygonF hole{QPointF(180, 5), QPointF(220, 5), QPointF(220, 35), QPointF(180, 35), QPointF(180, 5)};
        const QList<LabelWish> wishes{
            {QStringLiteral("to center"), QPointF(), QPointF(), 0, QPointF(0, 20)},
            {QStringLiteral("to nose"), QPointF(), QPointF(), 0, QPointF(320, 0)},
            {QStringLiteral("Strap.0.A"), QPointF(), QPointF(), 0, QPointF(200, 20)},
        };
        const QList<PlacedLabel> p = Place_Piece_Labels(piece, {hole}, wishes, 29, 1.0);
        QCOMPARE(p.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(p.at(i).fits);
            QCOMPARE(p.at(i).height, p.first().height);
            QVERIFY(inside(p.at(i).box, piece));
            QVERIFY(apart(p.at(i).box, hole));
            for (int j = 0; j < i; ++j)
                QVERIFY(apart(p.at(i).box, p.at(j).box));
        }
        // each on its side: "to center" left of "to nose"
        QVERIFY(p.at(0).box.boundingRect().center().x() < p.at(1).box.boundingRect().center().x());
    }

    // No room at all (and a piece holding a value that is not a number):
    // the labels come back as wished, said not to fit.
    void noRoom()
    {
        const LabelWish w{QStringLiteral("RIB.3"), QPointF(5, 5), QPointF(5, 5), -90, QPointF(0, 0)};
        const QList<PlacedLabel> tiny = Place_Piece_Labels(rectangle(1, 1), {}, {w}, 29, 1.0);
        QCOMPARE(tiny.size(), 1);
        QVERIFY(!tiny.first().fits);
        QCOMPARE(tiny.first().at, w.at);
        QPolygonF broken = rectangle(100, 100);
        broken[2] = QPointF(std::nan(""), 3);
        const QList<PlacedLabel> nan = Place_Piece_Labels(broken, {}, {w, w}, 29, 1.0);
        QCOMPARE(nan.size(), 2);
        QVERIFY(!nan.first().fits && !nan.last().fits);
    }
};

QTEST_MAIN(TestPieceLabels)
#include "tst_piecelabels.moc"
