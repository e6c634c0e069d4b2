// Straps: the strap list in 3-D, the flat strap and the strap sheet
// "straps.dxf" read back with ezdxf, against the ribs' 3-D curves.

#include <QTest>
#include <QByteArray>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointF>
#include <QPolygonF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QVector3D>

#include <QTemporaryDir>

#include "core/parastruct.h"
#include "core/transf.h"
#include "patterns/patternsheet.h"
#include "patterns/straps.h"
#include "tests/patterns/dxfsheet.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

using dxfsheet::Line;
using dxfsheet::Sheet;

namespace {

const QByteArray kEmptyDrawing = "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n";

Sheet strapSheet(const ParaStruct* d, QSize view = QSize(1000, 700), QByteArray* bytes = nullptr)
{
    return dxfsheet::writeAndRead(d, &Strap_Sheet, view, nullptr, bytes);
}

// The default design without its straps (all rows proportional).
std::unique_ptr<ParaStruct> unstrappedDesign(int cells = 34)
{
    auto d = patternfixture::defaultDesign(cells);
    for (int row = 0; row < kLineRows; ++row) {
        d->strapFixed[row] = false;
        for (int rib = 0; rib < kRibSlots; ++rib)
            d->lineStrips[row][rib] = false;
    }
    return d;
}

// The default design with other straps in place of its own: row C on rib
// 3, row A (fixed width) on ribs 5 to 7, row G on rib 10.
std::unique_ptr<ParaStruct> strappedDesign(int cells = 34)
{
    auto d = unstrappedDesign(cells);
    for (int k = 0; k < 8; ++k)
        d->strapWidth[k] = 10;
    d->strapWidth[2] = 25; // row C
    d->lineStrips[4][3] = true;
    for (int r = 5; r <= 7; ++r)
        d->lineStrips[2][r] = true;
    d->strapFixed[2] = true;
    d->lineStrips[8][10] = true;
    return d;
}

double mm(const ParaStruct* d, QVector3D a, QVector3D b)
{
    return (a - b).length() * d->dxfScale;
}

} // namespace

class TestStraps : public QObject
{
    Q_OBJECT

private slots:
    // The list: grid order, the rows' widths (fixed, or scaled by the chord),
    // the attachment points on both ribs, ends half the width either side.
    void strapList()
    {
        auto d = strappedDesign();
        d->lineStrips[0][2] = true;            // row O1: no strap
        d->lineStrips[1][4] = true;            // row O2: no strap
        d->lineStrips[5][d->lastRib] = true;   // the tip rib has no cell beyond
        const QList<Strap3D> list = Create_Strap_list(d.get());
        QCOMPARE(list.size(), 5);
        QList<QPair<int, int>> order;
        for (const Strap3D& s : list)
            order << qMakePair(s.row, s.ribA);
        QCOMPARE(order, (QList<QPair<int, int>>{{2, 5}, {2, 6}, {2, 7}, {4, 3}, {8, 10}}));
        for (const Strap3D& s : list) {
            QCOMPARE(s.ribB, s.ribA + 1);
            QCOMPARE(s.attachA, d->ribCurves3D[s.ribA][d->lineIndex[s.row][s.ribA]]);
            QCOMPARE(s.attachB, d->ribCurves3D[s.ribB][d->lineIndex[s.row][s.ribB]]);
            QCOMPARE(s.sideA[1], s.attachA);
            QCOMPARE(s.sideB[1], s.attachB);
            const double w = d->strapWidth[s.row - 2];
            if (s.row == 2) {
                QCOMPARE(s.widthA, 0.001 * w);
                QCOMPARE(s.widthB, 0.001 * w);
            } else {
                QVERIFY(std::abs(s.widthA / s.widthB - d->chord[s.ribA] / d->chord[s.ribB]) < 1e-12);
                QVERIFY(std::abs(s.widthA - 0.001 * w * d->chord[s.ribA] / d->chord[d->firstRib]) < 1e-12);
            }
            // each edge point half the width from the attachment, in 3-D
            for (int k : {0, 2}) {
                QVERIFY(std::abs(mm(d.get(), s.sideA[k], s.attachA) - 500 * s.widthA) < 0.2);
                QVERIFY(std::abs(mm(d.get(), s.sideB[k], s.attachB) - 500 * s.widthB) < 0.2);
            }
        }
        QVERIFY(Create_Strap_list(unstrappedDesign(6).get()).isEmpty());
    }

    // A centre cell's strap spans the whole cell: from the mirror image of
    // rib 1 to rib 1.
    void centreCellStrap()
    {
        auto d = unstrappedDesign(35);
        d->lineStrips[3][0] = true;
        const QList<Strap3D> list = Create_Strap_list(d.get());
        QCOMPARE(list.size(), 1);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(list.first().sideA[k], p_SymY(list.first().sideB[k]));
        QCOMPARE(list.first().sideB[1], d->ribCurves3D[1][d->lineIndex[3][1]]);
    }

    // The sheet: labels, the seam line of 7 points, two 12-gon marks, the
    // cut line of four corners closed by 4 LINEs, three texts; on the grid of the
    // view's size; the strap as long as the 3-D path between its
    // attachments, its ends as wide as the strap.
    void sheet()
    {
        auto d = strappedDesign();
        const QSize view(1000, 700);
        const Sheet s = strapSheet(d.get(), view);
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.auditErrors, 0);
        const QList<Strap3D> list = Create_Strap_list(d.get());
        QVERIFY(s.layers().contains(QStringLiteral("Strap.3.C")));
        QCOMPARE(s.layers().size(), list.size());
        QCOMPARE(s.texts.size(), 3 * list.size());
        const double sc = d->dxfScale;
        double worst = 0;
        for (int i = 0; i < list.size(); ++i) {
            const Strap3D& strap = list.at(i);
            const QString label = QStringLiteral("Strap.%1.%2").arg(strap.ribA).arg(LineLetter(strap.row));
            const QList<Line> seam = s.on(label, 3);
            QCOMPARE(seam.size(), 6);
            const QPolygonF seamLine = dxfsheet::chains(seam).first();
            QCOMPARE(seamLine.size(), 7);
            QVERIFY(dxfsheet::closed(seamLine));
            QCOMPARE(s.on(label, 4).size(), 2 * 12);
            const QList<Line> cut = s.on(label, 1);
            QCOMPARE(cut.size(), 4);
            const QPolygonF corners = dxfsheet::chains(cut).first();
            QCOMPARE(corners.size(), 5);
            QVERIFY(dxfsheet::closed(corners));

            // a0 at the strap's place on the grid
            const QPointF at(strap.ribA * int(view.width() / 15.0), (strap.row - 1) * int(view.height() / 25.0));
            QVERIFY(QLineF(seamLine.first(), sc * at).length() < 1e-3);
            // length: the attachments as far apart as on the ribs
            const double flat = QLineF(seamLine.at(1), seamLine.at(4)).length();
            worst = std::max(worst, std::abs(flat - mm(d.get(), strap.attachA, strap.attachB)));
            // the nose-side edge is as long as in 3-D
            QVERIFY(std::abs(QLineF(seamLine.at(0), seamLine.at(5)).length() - mm(d.get(), strap.sideA[0], strap.sideB[0])) < 1e-3);
            // the ends as wide as the strap (two halves of the width)
            QVERIFY(std::abs(QLineF(seamLine.at(0), seamLine.at(1)).length() - 500 * strap.widthA) < 0.3);
            QVERIFY(std::abs(QLineF(seamLine.at(4), seamLine.at(5)).length() - 500 * strap.widthB) < 0.3);
            // the cut line: corners 0 and 3 on the nose-side edge's line, 1
            // and 2 on the other long edge's, the ends the allowance outside
            const QLineF noseEdge(seamLine.at(0), seamLine.at(5));
            const QLineF rearEdge(seamLine.at(2), seamLine.at(3));
            auto lineDistance = [](QLineF l, QPointF p) {
                const QPointF d = l.p2() - l.p1();
                return std::abs(d.x() * (p.y() - l.p1().y()) - d.y() * (p.x() - l.p1().x())) / l.length();
            };
            QVERIFY(lineDistance(noseEdge, corners.at(0)) < 1e-3 && lineDistance(noseEdge, corners.at(3)) < 1e-3);
            QVERIFY(lineDistance(rearEdge, corners.at(1)) < 1e-3 && lineDistance(rearEdge, corners.at(2)) < 1e-3);
            const double allowance = d->seamAllowance[0];
            QVERIFY(std::abs(lineDistance(QLineF(seamLine.at(0), seamLine.at(2)), corners.at(0)) - allowance) < 1e-3);
            QVERIFY(std::abs(lineDistance(QLineF(seamLine.at(3), seamLine.at(5)), corners.at(3)) - allowance) < 1e-3);
            QVERIFY(corners.at(0).x() < seamLine.at(0).x() && corners.at(3).x() > seamLine.at(5).x());

            // the three texts
            QStringList texts;
            for (const dxfsheet::Text& t : s.texts)
                if (t.layer == label)
                    texts << t.text;
            QCOMPARE(texts, (QStringList{label, "to center", "to nose"}));
        }
        qDebug() << list.size() << "straps; largest length difference" << worst << "mm";
        QVERIFY(worst < 1.0);
    }

    // No strap marked: a sheet without entities.
    void emptyGrid()
    {
        auto d = unstrappedDesign(6);
        QByteArray bytes;
        QVERIFY(strapSheet(d.get(), QSize(1000, 700), &bytes).ok);
        QCOMPARE(bytes, kEmptyDrawing);
    }

    // The flat strap: a0 at the origin, the nose-side edge on +x, the ends
    // on the left of it.
    void flatStrap()
    {
        Strap3D s;
        s.sideA[0] = QVector3D(0, 0, 0);
        s.sideA[1] = QVector3D(0, 0, 5);
        s.sideA[2] = QVector3D(0, 0, 10);
        s.sideB[0] = QVector3D(0, 30, 0);
        s.sideB[1] = QVector3D(0, 30, 6);
        s.sideB[2] = QVector3D(0, 30, 12);
        const FlatStrap f = Unfold_Strap(s);
        QCOMPARE(f.outline.size(), 7);
        QCOMPARE(f.outline.first(), QPointF(0, 0));
        QCOMPARE(f.outline.at(5), QPointF(30, 0));
        QVERIFY(QLineF(f.outline.at(1), QPointF(0, 5)).length() < 1e-5);
        QVERIFY(QLineF(f.outline.at(4), QPointF(30, 6)).length() < 1e-5);
        QVERIFY(QLineF(f.outline.at(3), QPointF(30, 12)).length() < 1e-5);
        QCOMPARE(f.attach, (QPolygonF{f.outline.at(1), f.outline.at(4)}));
        const QPolygonF cut = Straps_ubermuss(2.0, f.sideA, f.sideB);
        QCOMPARE(cut.size(), 4);
        QVERIFY(QLineF(cut.at(0), QPointF(-2, 0)).length() < 1e-5);
        QVERIFY(QLineF(cut.at(1), QPointF(-2, 10 - 2 * 2.0 / 30)).length() < 1e-4);
        QVERIFY(QLineF(cut.at(3), QPointF(32, 0)).length() < 1e-5);
    }
};

QTEST_MAIN(TestStraps)
#include "tst_straps.moc"
