// The 3-D drawing "Wl9_3D.dxf": the canopy mesh cell by cell, both halves,
// the suspension lines and the riser rule. The file is read group code by
// group code here (its entities are plain LINEs); the export test audits it
// with ezdxf.

#include <QTest>
#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringLiteral>
#include <QVector3D>

#include <QTemporaryDir>

#include "core/parastruct.h"
#include "core/transf.h"
#include "lines/lineplan.h"
#include "geom/sheet.h"
#include "patterns/drawing3d.h"
#include "patterns/patternsheet.h"
#include "tests/patterns/patternfixture.h"

#include <memory>

namespace {

struct Line3 {
    QString layer;
    int colour = 0;
    QVector3D a, b;
};

// Every LINE of a DXF file of group-code / value line pairs.
QList<Line3> readLines(const QByteArray& bytes, bool* wellFormed)
{
    *wellFormed = bytes.endsWith("0\r\nEOF\r\n") && bytes.count('\n') == bytes.count("\r\n");
    const QList<QByteArray> v = bytes.split('\n');
    QList<Line3> lines;
    for (int i = 0; i + 1 < v.size(); i += 2) {
        if (v.at(i) != "0\r" || v.at(i + 1) != "LINE\r")
            continue;
        Line3 l;
        double c[6] = {};
        for (int j = i + 2; j + 1 < v.size() && v.at(j) != "0\r"; j += 2) {
            const int code = v.at(j).trimmed().toInt();
            const QByteArray value = v.at(j + 1).trimmed();
            if (code == 8)
                l.layer = QString::fromLatin1(value);
            else if (code == 62)
                l.colour = value.toInt();
            else if (code == 10 || code == 20 || code == 30)
                c[code / 10 - 1] = value.toDouble();
            else if (code == 11 || code == 21 || code == 31)
                c[3 + code / 10 - 1] = value.toDouble();
        }
        l.a = QVector3D(c[0], c[1], c[2]);
        l.b = QVector3D(c[3], c[4], c[5]);
        lines.append(l);
    }
    return lines;
}

// The bytes of the drawing of the design as a file has them; empty when it
// could not be written.
QByteArray drawing(const ParaStruct* d)
{
    QTemporaryDir dir;
    const bool written = Write_Sheet(Drawing3D_Sheet(patternfixture::sheetOf(d)), dir.path(),
                                     QStringLiteral("Wl9_3D.dxf")) == 0;
    QFile f(dir.filePath(QStringLiteral("Wl9_3D.dxf")));
    return written && f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// LINE entities on a layer, counted in the raw file.
int lineCount(const QByteArray& bytes, const QString& layer)
{
    return int(bytes.count("0\r\nLINE\r\n8\r\n" + layer.toLatin1() + "\r\n"));
}

QList<Line3> on(const QList<Line3>& lines, const QString& layer)
{
    QList<Line3> out;
    for (const Line3& l : lines)
        if (l.layer == layer)
            out.append(l);
    return out;
}

bool near(QVector3D a, QVector3D b)
{
    return (a - b).length() < 2e-3 * std::max(1.0f, a.length());
}

} // namespace

class TestDrawing3D : public QObject
{
    Q_OBJECT

private slots:
    // 8 lines per patch of the inflated grid (4 of this half, then the same
    // 4 mirrored), 8 sub-rows of 99 steps per cell; 34 cells draw cells 0 ..
    // 16, 35 cells 1 .. 17 and no centre cell. The small wings are checked
    // line by line against the grid.
    void canopyMesh_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<bool>("everyLine");
        QTest::newRow("34 cells") << 34 << 0 << 16 << false;
        QTest::newRow("35 cells") << 35 << 1 << 17 << false;
        QTest::newRow("8 cells") << 8 << 0 << 3 << true;
        QTest::newRow("9 cells") << 9 << 1 << 4 << true;
    }
    void canopyMesh()
    {
        QFETCH(int, cells);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(bool, everyLine);
        auto d = patternfixture::defaultDesign(cells);
        const QByteArray bytes = drawing(d.get());
        const int drawn = last - first + 1;
        QCOMPARE(lineCount(bytes, QStringLiteral("Equilines")), 8 * 8 * 99 * drawn);
        if (!everyLine)
            return;
        bool wellFormed = false;
        const QList<Line3> mesh = on(readLines(bytes, &wellFormed), QStringLiteral("Equilines"));
        QVERIFY(wellFormed);
        QCOMPARE(mesh.size(), 8 * 8 * 99 * drawn);
        const double s = d->dxfScale;
        // every patch: P0-P1, P1-P2, P2-P3, P3-P0, then mirrored
        int at = 0;
        for (int i = first; i <= last; ++i)
            for (int r = 0; r < 8; ++r)
                for (int k = 0; k <= 980; k += 10) {
                    const QVector3D P0 = d->inflatedGrid[r][i][k] * s, P1 = d->inflatedGrid[r][i][k + 10] * s;
                    const QVector3D P2 = d->inflatedGrid[r + 1][i][k] * s, P3 = d->inflatedGrid[r + 1][i][k + 10] * s;
                    const QVector3D ends[4][2] = {{P0, P1}, {P1, P2}, {P2, P3}, {P3, P0}};
                    for (int j = 0; j < 4; ++j) {
                        QCOMPARE(mesh.at(at + j).colour, 5);
                        QVERIFY(near(mesh.at(at + j).a, ends[j][0]) && near(mesh.at(at + j).b, ends[j][1]));
                        QVERIFY(near(mesh.at(at + 4 + j).a, p_SymY(ends[j][0])));
                        QVERIFY(near(mesh.at(at + 4 + j).b, p_SymY(ends[j][1])));
                    }
                    at += 8;
                }
    }

    // Every line of the line-group slots 1 to 5 (the brakes too) and both
    // halves; slot 0 is not drawn.
    void lines()
    {
        auto d = patternfixture::defaultDesign(12);
        int expected = 0;
        for (int slot = 1; slot <= 5; ++slot) {
            BridleGroup g = d->bridle.groups[slot];
            Rebuild_Group_Lists(&g);
            expected += 2 * g.lines.size();
        }
        QVERIFY(expected >= 50);
        const QByteArray bytes = drawing(d.get());
        QCOMPARE(lineCount(bytes, QStringLiteral("Bridle")), expected);
        bool wellFormed = false;
        const QList<Line3> bridle = on(readLines(bytes, &wellFormed), QStringLiteral("Bridle"));
        QCOMPARE(bridle.size(), expected);
        for (int i = 0; i + 1 < bridle.size(); i += 2) {
            QCOMPARE(bridle.at(i).colour, 6);
            QVERIFY(near(bridle.at(i + 1).a, p_SymY(bridle.at(i).a)));
        }
        // a slot whose stored count is beyond the capacity draws nothing
        const int brakes = [&] {
            BridleGroup g = d->bridle.groups[5];
            Rebuild_Group_Lists(&g);
            return int(g.lines.size());
        }();
        QVERIFY(brakes > 0);
        d->bridle.groups[5].lineCount = kLineEntries + 1;
        QCOMPARE(lineCount(drawing(d.get()), QStringLiteral("Bridle")), expected - 2 * brakes);
    }

    // A riser line is drawn when the child of its pair is at or beyond the
    // number of line groups: with 3 groups, child 2 is not drawn, child 3 is;
    // a line without a pair is not drawn.
    void riserRule()
    {
        auto d = patternfixture::defaultDesign(6);
        d->lineGroupCount = 3;
        BridleGroup& risers = d->bridle.riserGroup;
        risers.lineCount = 3;
        risers.pairCount = 2;
        risers.pairArray[0] = QPoint(0, 2);
        risers.pairArray[1] = QPoint(0, 3);
        for (int i = 0; i < 3; ++i) {
            risers.lineArray[i].q1 = QVector3D(10 * i, 20, -300);
            risers.lineArray[i].q2 = QVector3D(10 * i, 40, -100);
        }
        bool wellFormed = false;
        const QList<Line3> drawn = on(readLines(drawing(d.get()), &wellFormed), QStringLiteral("Risers"));
        QCOMPARE(drawn.size(), 2);
        QCOMPARE(drawn.at(0).colour, 7);
        QVERIFY(near(drawn.at(0).a, QVector3D(10, 20, -300) * d->dxfScale));
        QVERIFY(near(drawn.at(1).a, QVector3D(10, -20, -300) * d->dxfScale));
        QVERIFY(!Riser_Drawn(3, QPoint(0, 2)));
        QVERIFY(Riser_Drawn(3, QPoint(0, 3)));
    }
};

QTEST_MAIN(TestDrawing3D)
#include "tst_drawing3d.moc"
