// The panel sheet of whole panels: preview and "longpatt.dxf".

#include <QTest>
#include <QFile>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1String>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>

#include <QJsonArray>
#include <QTemporaryDir>

#include "tests/common/dxfcheck.h"
#include "geom/sheet.h"
#include "core/transf.h"
#include "patterns/panelmanager.h"
#include "patterns/panelsheet.h"
#include "geom/patternfun.h"
#include "tests/patterns/patternfixture.h"
#include "patterns/patternsheet.h"
#include "patterns/seamallowance.h"
#include "patterns/cellstrip.h"
#include "tests/patterns/sewingcheck.h"

namespace {

// A coordinate as the file writes it: four decimals.
QString real(double v)
{
    return QString::number(v, 'f', 4);
}

struct Layer {
    int cut = 0;  // colour 1 LINEs (cutting line)
    int mark = 0; // colour 4 LINEs (control marks)
    QList<QPointF> cutPoints;
    QStringList texts;
    QList<double> heights;
};

QMap<QString, Layer> layersOf(const QJsonObject& dxf)
{
    QMap<QString, Layer> layers;
    for (const QJsonValue& v : dxf.value(QStringLiteral("lines")).toArray()) {
        const QJsonArray l = v.toArray();
        Layer& layer = layers[l.at(0).toString()];
        if (l.at(1).toInt() == 1) {
            ++layer.cut;
            layer.cutPoints << QPointF(l.at(2).toDouble(), l.at(3).toDouble());
        } else if (l.at(1).toInt() == 4) {
            ++layer.mark;
        }
    }
    for (const QJsonValue& v : dxf.value(QStringLiteral("texts")).toArray()) {
        const QJsonArray t = v.toArray();
        layers[t.at(0).toString()].texts << t.at(1).toString();
        layers[t.at(0).toString()].heights << t.at(4).toDouble();
    }
    return layers;
}

} // namespace

class TestPanelSheet : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;


    QJsonObject exportAndRead(const ParaStruct* d, const PatternOptions& options = {})
    {
        PatternSheet sheet = patternfixture::sheetOf(d);
        sheet.options = options;
        if (Write_Sheet(Panel_Sheet(sheet), dir.path(), QStringLiteral("longpatt.dxf")) != 0)
            return {};
        return ReadDxfWithEzdxf(dir.filePath(QStringLiteral("longpatt.dxf")));
    }

private slots:
    void previewDrawsAndWritesNothing()
    {
        auto d = patternfixture::defaultDesign(12);
        GetGlobClass()->dxfDir = dir.path();
        QFile::remove(dir.filePath(QStringLiteral("longpatt.dxf")));
        const QPainterPath path = Preview_Pattern(patternfixture::sheetOf(d.get()), PanelPatterns);
        QVERIFY(!path.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("longpatt.dxf"))));
        // the cells side by side from left to right, in plan units
        const QRectF box = path.boundingRect();
        const double column = 1.3 * (d->ribSpanPos[2] - d->ribSpanPos[1]);
        QVERIFY(box.left() < 0 && box.left() > -column);
        QVERIFY(box.right() > (d->lastRib - 1) * column);
        // the 3-D drawing and unknown kinds preview an empty sheet
        QVERIFY(Preview_Pattern(patternfixture::sheetOf(d.get()), Drawing3D).isEmpty());
        QVERIFY(Preview_Pattern(patternfixture::sheetOf(d.get()), -1).isEmpty());
        QVERIFY(Preview_Pattern(patternfixture::sheetOf(d.get()), 7).isEmpty());
    }

    // The file read back by ezdxf: per piece its layer, cutting line, marks
    // and label, at the piece's place on the sheet. The default design
    // without its design lines (three pieces a cell) and without the seam
    // marks of its mini-ribs (their own test has them).
    void exportedSheet()
    {
        auto d = patternfixture::defaultDesign();
        d->designSplines.clear();
        for (int c = 0; c < kStructSlots; ++c)
            d->frontRibEnabled[c] = d->rearRibEnabled[c] = false;
        const QJsonObject dxf = exportAndRead(d.get());
        QVERIFY2(dxf.value(QStringLiteral("ok")).toBool(), qPrintable(dxf.value(QStringLiteral("error")).toString()));
        QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);
        QCOMPARE(dxf.value(QStringLiteral("audit_fixes")).toInt(), 0);
        const QMap<QString, Layer> layers = layersOf(dxf);
        // every piece on its layer, with the cell's mid-line mark on a layer
        // of its own beside it
        int pieceLayers = 0;
        for (const QString& name : layers.keys()) {
            QVERIFY2(!name.endsWith(QLatin1String(".pure")), qPrintable(name));
            if (name.endsWith(QLatin1String(".midline")))
                QVERIFY2(layers.contains(name.chopped(8)), qPrintable(name));
            else
                ++pieceLayers;
        }
        QCOMPARE(pieceLayers, 3 * d->lastRib);

        const double s = d->dxfScale;
        const double column = 1.3 * (d->ribSpanPos[2] - d->ribSpanPos[1]);
        const int height = qRound(7 * s);
        for (int cell : {0, 2, 16}) {
            QList<WholePoly> pieces;
            Longpattern_Manager(*d, cell, nullptr, true, &pieces);
            QCOMPARE(pieces.size(), 3);
            bool lowerSeen = false;
            for (int k = 0; k < 3; ++k) {
                // one piece of each name: numbered 0 where numbered
                const QString& name = pieces.at(k).name;
                const QString label = name == QLatin1String("VN") ? QStringLiteral("VN.%1").arg(cell)
                                                                  : QStringLiteral("%1.%2.0").arg(name).arg(cell);
                QVERIFY2(layers.contains(label), qPrintable(label));
                const Layer& layer = layers.value(label);
                FinalPart fp;
                Setup_One_FinalPart(d.get(), cell, &pieces[k], &fp);
                // the cutting line as LINEs, shifted into the cell's column, y
                // flipped, a point that repeats the one before it in the file
                // stepped over
                QPolygonF written;
                for (const QPointF& p : std::as_const(fp.allowanceOutline)) {
                    const QPointF w(s * (p.x() + column * cell), s * (500 - p.y()));
                    if (written.isEmpty() || real(w.x()) != real(written.last().x())
                        || real(w.y()) != real(written.last().y()))
                        written << w;
                }
                QVERIFY(written.size() > fp.allowanceOutline.size() - 10);
                QCOMPARE(layer.cut, written.size() - 1);
                for (int i = 0; i < written.size() - 1; i += 50)
                    QVERIFY(QLineF(layer.cutPoints.at(i), written.at(i)).length() < 1e-3);
                // marks: 16-gons on the rib edges of upper and nose pieces,
                // triangles on lower pieces, octagons on the cuts (n LINEs each)
                lowerSeen = lowerSeen || name == QLatin1String("Lw");
                const int ribSides = lowerSeen ? 3 : 16;
                QVERIFY(fp.ribMarks.size() > 0 && fp.cutMarks.size() > 0);
                QCOMPARE(layer.mark, fp.ribMarks.size() * ribSides + fp.cutMarks.size() * 8);
                // the label, readable at cutting size
                QCOMPARE(layer.texts, QStringList{label});
                QCOMPARE(layer.heights, QList<double>{double(height)});
            }
        }
    }

    // A wing of three cells, the fewest the sheet lays out.
    void threeCells()
    {
        auto d = patternfixture::defaultDesign(3);
        QCOMPARE(d->lastRib, 2);
        const QJsonObject dxf = exportAndRead(d.get());
        QVERIFY(dxf.value(QStringLiteral("ok")).toBool());
        QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);
        const QMap<QString, Layer> layers = layersOf(dxf);
        QVERIFY(layers.contains(QStringLiteral("Up.0.0")) && layers.contains(QStringLiteral("Lw.1.0")));
    }

    // With wide spacing the cells stand twice as far apart and every piece
    // moves by (c.x / 0.45 * 0.55, -0.55 c.y) more, c the centre of its
    // cutting outline.
    void wideSpacing()
    {
        auto d = patternfixture::defaultDesign(12);
        d->designSplines.clear();   // three pieces a cell
        PatternSheet sheet = patternfixture::sheetOf(d.get());
        sheet.options.wideSpacing = true;
        const QStringList file = QString::fromUtf8(Sheet_Dxf_Bytes(Panel_Sheet(sheet))).split(QStringLiteral("\r\n"));
        // first cutting-line LINE of each layer, straight from the file
        QMap<QString, QPointF> firstCut;
        for (int i = 0; i + 17 < file.size(); ++i) {
            if (file.at(i) != QLatin1String("LINE") || file.at(i + 4) != QLatin1String("1"))
                continue;
            const QString layer = file.at(i + 2);
            if (!firstCut.contains(layer))
                firstCut.insert(layer, QPointF(file.at(i + 6).toDouble(), file.at(i + 8).toDouble()));
        }
        const double s = d->dxfScale;
        const double column = 1.3 * (d->ribSpanPos[2] - d->ribSpanPos[1]);
        QList<WholePoly> pieces;
        Longpattern_Manager(*d, 4, nullptr, true, &pieces);
        for (int k = 0; k < 3; ++k) {
            FinalPart fp;
            Setup_One_FinalPart(d.get(), 4, &pieces[k], &fp);
            const QPointF c = CenterPoly(&fp.allowanceOutline);
            const QPointF shift(8 * column + c.x() / 0.45 * 0.55, -0.55 * c.y());
            const QString& name = pieces.at(k).name;
            const QString label = name == QLatin1String("VN") ? QStringLiteral("VN.4") : name + QStringLiteral(".4.0");
            QVERIFY(firstCut.contains(label));
            const QPointF w = firstCut.value(label);
            const QPointF p = fp.allowanceOutline.at(0);
            QVERIFY(std::abs(w.x() - s * (p.x() + shift.x())) < 1e-3);
            QVERIFY(std::abs(w.y() - s * (500 - p.y() + shift.y())) < 1e-3);
        }
    }

    // The sheet with two design lines, one on each surface, in both cut
    // modes, read back by ezdxf: the Part's labels and mark sides, no sewing
    // lines, every cutting line closed, and the pieces fit where they are
    // sewn: along a design-line cut both pieces have the same sewing edge,
    // along a rib each piece has the rib's length between the same notches.
    // The rib's contour is the flat rib that the rib sheet cuts
    // (Quick_Unfold_AirFoil), which keeps the length of the rib's 3-D seam.
    void designLineSheet_data()
    {
        QTest::addColumn<bool>("straight");
        QTest::newRow("line segments") << true;
        QTest::newRow("spline seg.") << false;
    }
    void designLineSheet()
    {
        QFETCH(bool, straight);
        using namespace sewingcheck;
        auto d = patternfixture::defaultDesign();
        d->designSplines = patternfixture::twoDesignLines(d.get());
        PatternOptions cutMode;
        cutMode.lineSegments = straight;
        const QJsonObject dxf = exportAndRead(d.get(), cutMode);
        QVERIFY2(dxf.value(QStringLiteral("ok")).toBool(), qPrintable(dxf.value(QStringLiteral("error")).toString()));
        QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);
        QCOMPARE(dxf.value(QStringLiteral("audit_fixes")).toInt(), 0);
        const QMap<QString, sewingcheck::Layer> layers = sewingcheck::layersOf(dxf);

        QStringList cell2;
        for (const QString& name : layers.keys()) {
            QVERIFY2(!name.endsWith(QLatin1String(".pure")), qPrintable(name));
            if (name.contains(QLatin1String(".2")) && !name.endsWith(QLatin1String(".midline")))
                cell2 << name;
        }
        QCOMPARE(cell2, (QStringList{"Lw.2.0", "Lw.2.1", "Up.2.0", "VN.2"}));
        // rib marks: 16-gons on the upper and nose pieces, triangles on the
        // lower ones; octagons on the cuts
        for (const QString& name : cell2) {
            QCOMPARE(layers.value(name).texts, QStringList{name});
            QMap<int, int> sides;
            for (const Mark& m : marksOf(layers.value(name)))
                ++sides[m.sides];
            const bool lower = name.startsWith(QLatin1String("Lw"));
            QVERIFY2(sides.value(lower ? 3 : 16) > 0 && sides.value(lower ? 16 : 3) == 0, qPrintable(name));
            QVERIFY2(sides.value(8) > 0, qPrintable(name));
        }

        // every cutting line one closed line
        int pieces = 0;
        for (const QString& name : layers.keys()) {
            if (name.endsWith(QLatin1String(".midline")))
                continue;
            const QPolygonF cut = chain(layers.value(name), 1);
            QVERIFY2(cut.size() > 20, qPrintable(name));
            QVERIFY2(QLineF(cut.first(), cut.last()).length() < 1e-3, qPrintable(name));
            ++pieces;
        }
        QCOMPARE(pieces, 3 * d->lastRib + 3 + 5);

        const double s = d->dxfScale;
        const double w = d->seamAllowance[0];   // mm, between pieces
        const double column = 1.3 * (d->ribSpanPos[2] - d->ribSpanPos[1]);
        // Where a point of the sheet lies on a cell's strip: the nearest
        // point of its rib edges (side 0 left, 1 right) and its distance, mm.
        QMap<int, UnFolder> strips;
        for (int cell = 1; cell <= 9; ++cell)
            Unfold_ZERO_Longpattern(*d, cell, &strips[cell]);
        auto edgeAt = [&](int cell, QPointF m, int* side, int* index) {
            const QPointF flat(m.x() / s - column * cell, 500 - m.y() / s);
            double best = 1e18;
            for (int e = 0; e < 2; ++e) {
                const QList<PntPart>& edge = e == 0 ? strips[cell].left : strips[cell].right;
                for (int j = 0; j < edge.size(); ++j) {
                    const double dist = QLineF(edge.at(j).point, flat).length();
                    if (dist < best) {
                        best = dist;
                        *side = e;
                        *index = j;
                    }
                }
            }
            return best * s;
        };

        // along the design-line cuts: the sewing lines of each piece (its
        // cutting line moved in by the seam allowance); the two pieces of a
        // seam have the same sewing edge from rib seam to rib seam. A curved
        // cut is continued straight across the oversize to its corners, along
        // a chord a few points in on either side, so the two corners of a
        // seam can stand about a millimetre apart there.
        const QList<QPair<QString, QString>> seams{{"Lw.1.0", "Lw.1.1"}, {"Lw.2.0", "Lw.2.1"}, {"Lw.3.0", "Lw.3.1"},
                                                   {"Up.5.0", "Up.5.1"}, {"Up.7.0", "Up.7.1"}, {"Up.9.0", "Up.9.1"}};
        for (const auto& seam : seams) {
            const QPolygonF P = chain(layers.value(seam.first), 1), Q = chain(layers.value(seam.second), 1);
            const auto seamAllowance = [w](QPointF) { return w; };
            const QPolygonF eP = sewingEdgeFacing(P, Q, 2 * w, w, seamAllowance);
            const QPolygonF eQ = sewingEdgeFacing(Q, P, 2 * w, w, seamAllowance);
            QVERIFY2(eP.size() > 10 && eQ.size() > 10, qPrintable(seam.first));
            const double lP = lengthOf(eP), lQ = lengthOf(eQ);
            QVERIFY2(lP > 300 && std::abs(lP - lQ) < (straight ? 0.5 : 1.5),
                     qPrintable(QString("%1 %2 %3").arg(seam.first).arg(lP).arg(lQ)));
            // one seam: the two edges end at the same points (within half a
            // millimetre each)
            const double ends = std::min(QLineF(eP.first(), eQ.first()).length() + QLineF(eP.last(), eQ.last()).length(),
                                         QLineF(eP.first(), eQ.last()).length() + QLineF(eP.last(), eQ.first()).length());
            QVERIFY2(ends < (straight ? 1.0 : 2.0), qPrintable(QString("%1 %2").arg(seam.first).arg(ends)));
        }

        // along the ribs, notch to notch: the sewing line has the length of
        // the rib between the same notches. The developed edge is the
        // sewing line (the panel is laid out as wide as its cloth, its
        // edges as long as the ribs), the cutting line the seam allowance
        // outside it; where the edge curves, the allowance adds to (or takes
        // from) the cutting line's length, taken along the developed edge.
        const double seamUnits = d->ToScreen(0.001 * w);
        auto offsetLength = [&](int cell, int side, int j1, int j2, double less) {
            // the line at the prescribed distance (less `less`) outside the
            // developed edge, the way the piece's outline runs along it
            const QList<PntPart>& edge = side == 0 ? strips[cell].left : strips[cell].right;
            QPolygonF line;
            for (int k = 0; k <= j2 - j1; ++k) {
                const int j = side == 0 ? j1 + k : j2 - k;
                const int next = side == 0 ? std::min(j + 1, 999) : std::max(j - 1, 0);
                line << uberLeft(edge.at(j).allowance - less, edge.at(j).point, edge.at(next).point);
            }
            return lengthOf(line) * s;
        };
        int measured = 0;
        for (int cell : {1, 2, 5, 7, 9}) {
            for (const QString& name : layers.keys()) {
                if (name.endsWith(QLatin1String(".midline")) || name.section(QLatin1Char('.'), 1, 1).toInt() != cell)
                    continue;
                const QPolygonF cut = chain(layers.value(name), 1);
                QMap<int, QList<QPair<int, int>>> notches; // edge side -> (index, vertex)
                for (const Mark& m : marksOf(layers.value(name))) {
                    if (m.sides != 16 && m.sides != 3)
                        continue;
                    double onLine = 0;
                    const int vertex = nearestVertex(cut, m.centre, &onLine);
                    if (onLine > 0.05)
                        continue; // a notch of a corner that was trimmed away
                    int side = 0, index = 0;
                    const double off = edgeAt(cell, m.centre, &side, &index);
                    const QList<PntPart>& edge = side == 0 ? strips[cell].left : strips[cell].right;
                    // a control point of the rib, at its prescribed distance
                    QVERIFY2(d->is_Control(index, cell + side), qPrintable(QString("%1 %2").arg(name).arg(index)));
                    QVERIFY2(std::abs(off - edge.at(index).allowance * s) < 0.05,
                             qPrintable(QString("%1 %2: %3").arg(name).arg(index).arg(off)));
                    notches[side] << qMakePair(index, vertex);
                }
                for (auto it = notches.begin(); it != notches.end(); ++it) {
                    QList<QPair<int, int>> list = it.value();
                    if (list.size() < 2)
                        continue;
                    std::sort(list.begin(), list.end());
                    const int i = list.first().second, j = list.last().second;
                    const QPolygonF ahead = stretch(cut, i, j), back = stretch(cut, j, i);
                    const QPolygonF& along = ahead.size() < back.size() ? ahead : back;
                    QCOMPARE(along.size(), list.last().first - list.first().first + 1);
                    const int j1 = list.first().first, j2 = list.last().first;
                    const int side = it.key();
                    QPolygonF flatRib;
                    Quick_Unfold_AirFoil(d.get(), cell + side, &flatRib);
                    QCOMPARE(flatRib.size(), 1000);
                    const double ribLength = lengthOf(flatRib.mid(j1, j2 - j1 + 1)) * s;
                    // the rib pattern keeps the length of the rib's seam
                    QVERIFY(std::abs(ribLength - patternfixture::ribLength(d.get(), cell + side, j1, j2) * s) < 0.1);
                    const double edgeOnly = [&] {
                        const QList<PntPart>& edge = side == 0 ? strips[cell].left : strips[cell].right;
                        double L = 0;
                        for (int j = j1 + 1; j <= j2; ++j)
                            L += QLineF(edge.at(j - 1).point, edge.at(j).point).length();
                        return L * s;
                    }();
                    // the developed edge keeps the rib's length
                    QVERIFY(std::abs(edgeOnly - ribLength) < 0.5);
                    const double sewingLine = offsetLength(cell, side, j1, j2, seamUnits);
                    QVERIFY(std::abs(sewingLine - edgeOnly) < 1e-6);
                    const double cuttingLine = offsetLength(cell, side, j1, j2, 0);
                    const double sewn = lengthOf(along) - (cuttingLine - sewingLine);
                    QVERIFY2(std::abs(sewn - ribLength) < 1.0,
                             qPrintable(QString("%1 rib %2: %3 %4").arg(name).arg(cell + it.key()).arg(sewn).arg(ribLength)));
                    ++measured;
                }
            }
        }
        QVERIFY(measured > 20);
    }

    void labelAngles_data()
    {
        QTest::addColumn<QPointF>("q");
        QTest::addColumn<int>("angle");
        QTest::newRow("up right") << QPointF(1, 1) << -45;
        QTest::newRow("left") << QPointF(-1, 0) << -180;
        QTest::newRow("down right") << QPointF(1, -0.5) << 27;
        // pi taken as 3.141592653 puts straight down just past -90 degrees
        QTest::newRow("down") << QPointF(0, -1) << 91;
        QTest::newRow("right") << QPointF(1, 0) << 0;
    }
    void labelAngles()
    {
        QFETCH(QPointF, q);
        QFETCH(int, angle);
        QCOMPARE(f_txt_alpha(QPointF(0, 0), q), angle);
    }

    void centreCellMirror()
    {
        const QPolygonF midLine{{10, 0}, {10, 100}};
        const QPolygonF startsLeft{{5, 0}, {15, 0}, {15, 10}, {5, 10}};
        QCOMPARE(RightPartPolyMirror(midLine, startsLeft), startsLeft);
        const QPolygonF allRight{{12, 0}, {15, 0}, {15, 10}};
        QCOMPARE(RightPartPolyMirror(midLine, allRight), allRight);
        QCOMPARE(RightPartPolyMirror(QPolygonF(), allRight), allRight);
        // the right part of a piece, completed by its mirror image about x = 10
        const QPolygonF piece{{12, 0}, {8, 0}, {8, 10}, {14, 10}, {14, 5}};
        const QPolygonF m = RightPartPolyMirror(midLine, piece);
        QCOMPARE(m, (QPolygonF{{14, 10}, {14, 5}, {12, 0}, {8, 0}, {6, 5}, {6, 10}}));
    }

    void labelPosition()
    {
        const QPolygonF labelLine{{-5, -5}, {1, 1}, {2, 2}};
        const QPolygonF square{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
        int angle = 99;
        QPointF pos(-1, -1);
        Acad_TextPos(labelLine, &square, &angle, &pos);
        // (1, 1) is the first label-line point inside: nearest vertex (0, 0),
        // the last of the two equal ones, index 4; angle along 4 -> 1
        QCOMPARE(pos, QPointF(0, 0));
        QCOMPARE(angle, f_txt_alpha(QPointF(0, 0), QPointF(0, 10)));
        const QPolygonF empty;
        Acad_TextPos(labelLine, &empty, &angle, &pos);
        QCOMPARE(pos, QPointF(0, 0));
    }
};

QTEST_MAIN(TestPanelSheet)
#include "tst_panelsheet.moc"
