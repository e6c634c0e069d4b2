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
#include "patterns/acad.h"
#include "core/transf.h"
#include "patterns/panelmanager.h"
#include "patterns/panelsheet.h"
#include "tests/patterns/patternfixture.h"
#include "patterns/patternsheet.h"
#include "patterns/seamallowance.h"

namespace {

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


    QJsonObject exportAndRead(ParaStruct* d)
    {
        GlobClass* g = GetGlobClass();
        g->dxfDir = dir.path();
        g->writeDxf = true;
        const bool written = Acad_Longpatt(patternfixture::sheetOf(d));
        g->writeDxf = false;
        if (!written)
            return {};
        return ReadDxfWithEzdxf(dir.filePath(QStringLiteral("longpatt.dxf")));
    }

private slots:
    void cleanup()
    {
        GetGlobClass()->writeDxf = false;
        GetGlobClass()->previewPath = QPainterPath();
    }

    void previewDrawsAndWritesNothing()
    {
        auto d = patternfixture::defaultDesign(12);
        GetGlobClass()->dxfDir = dir.path();
        QFile::remove(dir.filePath(QStringLiteral("longpatt.dxf")));
        const QPainterPath path = Preview_Pattern(patternfixture::sheetOf(d.get()), PanelPatterns);
        QVERIFY(!path.isEmpty());
        QVERIFY(GetGlobClass()->previewPath.isEmpty());
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
    // and label, at the piece's place on the sheet.
    void exportedSheet()
    {
        auto d = patternfixture::defaultDesign();
        const QJsonObject dxf = exportAndRead(d.get());
        QVERIFY2(dxf.value(QStringLiteral("ok")).toBool(), qPrintable(dxf.value(QStringLiteral("error")).toString()));
        QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);
        QCOMPARE(dxf.value(QStringLiteral("audit_fixes")).toInt(), 0);
        const QMap<QString, Layer> layers = layersOf(dxf);
        QCOMPARE(layers.size(), 3 * d->lastRib);
        for (const QString& name : layers.keys())
            QVERIFY2(!name.endsWith(QLatin1String(".pure")), qPrintable(name));

        const double s = d->dxfScale;
        const double column = 1.3 * (d->ribSpanPos[2] - d->ribSpanPos[1]);
        const int height = qRound(7 * s);
        for (int cell : {0, 2, 16}) {
            QList<WholePoly> pieces;
            Whole_Panel_Pieces(d.get(), cell, &pieces);
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
                // the cutting line as LINEs, shifted into the cell's column, y flipped
                QCOMPARE(layer.cut, fp.allowanceOutline.size() - 1);
                for (int i = 0; i < fp.allowanceOutline.size() - 1; i += 50) {
                    const QPointF p = fp.allowanceOutline.at(i);
                    const QPointF w = layer.cutPoints.at(i);
                    QVERIFY(std::abs(w.x() - s * (p.x() + column * cell)) < 1e-3);
                    QVERIFY(std::abs(w.y() - s * (500 - p.y())) < 1e-3);
                }
                // marks: 16-gons on the rib edges of upper and nose pieces,
                // triangles on lower pieces, octagons on the cuts (n + 1 LINEs each)
                lowerSeen = lowerSeen || name == QLatin1String("Lw");
                const int ribSides = lowerSeen ? 3 : 16;
                QVERIFY(fp.ribMarks.size() > 0 && fp.cutMarks.size() > 0);
                QCOMPARE(layer.mark, fp.ribMarks.size() * (ribSides + 1) + fp.cutMarks.size() * 9);
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
        d->dxfWideSpacing = true;
        GetGlobClass()->dxfDir.clear(); // drawn, not written
        GetGlobClass()->writeDxf = true;
        Acad_Longpatt(patternfixture::sheetOf(d.get()));
        GetGlobClass()->writeDxf = false;
        // first cutting-line LINE of each layer, straight from the entity list
        QMap<QString, QPointF> firstCut;
        for (int i = 0; i + 17 < dxfList.size(); ++i) {
            if (dxfList.at(i) != QLatin1String("LINE") || dxfList.at(i + 4) != QLatin1String("1"))
                continue;
            const QString layer = dxfList.at(i + 2);
            if (!firstCut.contains(layer))
                firstCut.insert(layer, QPointF(dxfList.at(i + 6).toDouble(), dxfList.at(i + 8).toDouble()));
        }
        const double s = d->dxfScale;
        const double column = 1.3 * (d->ribSpanPos[2] - d->ribSpanPos[1]);
        QList<WholePoly> pieces;
        Whole_Panel_Pieces(d.get(), 4, &pieces);
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
        auto d = std::make_unique<ParaStruct>();
        d->cellOutlinesA[0] = QPolygonF{{10, 0}, {10, 100}};
        const QPolygonF startsLeft{{5, 0}, {15, 0}, {15, 10}, {5, 10}};
        QCOMPARE(RightPartPolyMirror(d.get(), startsLeft), startsLeft);
        const QPolygonF allRight{{12, 0}, {15, 0}, {15, 10}};
        QCOMPARE(RightPartPolyMirror(d.get(), allRight), allRight);
        // the right part of a piece, completed by its mirror image about x = 10
        const QPolygonF piece{{12, 0}, {8, 0}, {8, 10}, {14, 10}, {14, 5}};
        const QPolygonF m = RightPartPolyMirror(d.get(), piece);
        QCOMPARE(m, (QPolygonF{{14, 10}, {14, 5}, {12, 0}, {8, 0}, {6, 5}, {6, 10}}));
    }

    void labelPosition()
    {
        auto d = std::make_unique<ParaStruct>();
        d->cellOutlinesB[3] = QPolygonF{{-5, -5}, {1, 1}, {2, 2}};
        const QPolygonF square{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
        int angle = 99;
        QPointF pos(-1, -1);
        Acad_TextPos(d.get(), 3, &square, &angle, &pos);
        // (1, 1) is the first label-line point inside: nearest vertex (0, 0),
        // the last of the two equal ones, index 4; angle along 4 -> 1
        QCOMPARE(pos, QPointF(0, 0));
        QCOMPARE(angle, f_txt_alpha(QPointF(0, 0), QPointF(0, 10)));
        const QPolygonF empty;
        Acad_TextPos(d.get(), 3, &empty, &angle, &pos);
        QCOMPARE(pos, QPointF(0, 0));
    }
};

QTEST_MAIN(TestPanelSheet)
#include "tst_panelsheet.moc"
