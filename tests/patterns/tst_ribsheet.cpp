// The rib sheet "ribs.dxf", read back with ezdxf: layers, marks, holes,
// the sewing contour against the airfoil, turned ribs, the sheet's place.

#include <QTest>
#include <QLatin1String>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringLiteral>

#include <QTemporaryDir>

#include "core/calcul3d.h"
#include "core/canopy.h"
#include "core/parastruct.h"
#include "geom/sheet.h"
#include "patterns/patternsheet.h"
#include "patterns/ribseams.h"
#include "patterns/ribsheet.h"
#include "geom/ribunfold.h"
#include "tests/patterns/dxfsheet.h"
#include "tests/patterns/outlinecheck.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

using dxfsheet::Line;
using dxfsheet::Sheet;

namespace {

// Writes the rib sheet of the design into a scratch directory and reads it
// back.
Sheet ribSheet(const ParaStruct* d, QSize view = QSize(1000, 700), const PatternOptions& options = {})
{
    return dxfsheet::writeAndRead(d, &Rib_Sheet, view, nullptr, nullptr, options);
}

// The design with both rods and a mylar.
std::unique_ptr<ParaStruct> reinforcedDesign(int cells = 34)
{
    auto d = patternfixture::defaultDesign(cells);
    d->rod1.index[0] = 80;
    d->rod1.index[1] = 120;
    d->rod2.index[0] = 30;
    d->rod2.index[1] = 40;
    d->minirib.mylarStart = 30;
    d->minirib.mylarEnd = 15;
    for (int j = 0; j < 5; ++j) {
        d->minirib.mylarSplineA[j] = (j + 1) / 6.0;
        d->minirib.mylarSplineB[j] = 0.9;
    }
    return d;
}

double loopArea(const QPolygonF& p)
{
    double a = 0;
    for (int i = 0; i + 1 < p.size(); ++i)
        a += p.at(i).x() * p.at(i + 1).y() - p.at(i + 1).x() * p.at(i).y();
    return 0.5 * a;
}

int controlCount(const ParaStruct* d, int r, int* lower)
{
    int n = 0;
    *lower = 0;
    for (int k = 0; k < kAirfoilPoints; ++k) {
        if (d->is_Control(k, r)) {
            ++n;
            if (k >= d->noseIndex[r])
                ++*lower;
        }
    }
    return n;
}

} // namespace

class TestRibSheet : public QObject
{
    Q_OBJECT

    // The default design with both rods, a mylar and wide spacing, and its
    // sheet as ezdxf reads it: most cases look at this one file.
    std::unique_ptr<ParaStruct> wide;
    Sheet wideSheet;

private slots:
    void initTestCase()
    {
        wide = reinforcedDesign();
        wideSheet = ribSheet(wide.get(), QSize(1000, 700), dxfsheet::wideSpacing());
    }

    // The default design with both rods, a mylar and wide spacing: the file
    // loads and audits clean; rib 5 lies on exactly the Part's six layers;
    // every rib has its mylar; every text stands upright in the file's
    // terms (a positive height).
    void layersOfTheSheet()
    {
        const ParaStruct* d = wide.get();
        const Sheet& s = wideSheet;
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.auditErrors, 0);
        QVERIFY(s.other.isEmpty());
        QSet<QString> rib5;
        for (const QString& layer : s.layers())
            if (layer == QLatin1String("RIB.5") || layer.startsWith(QLatin1String("RIB.5.")))
                rib5.insert(layer);
        QCOMPARE(rib5, (QSet<QString>{"RIB.5", "RIB.5.saw", "RIB.5.milar", "RIB.5.rod_1", "RIB.5.rod_2",
                                      "RIB.5.rod.saw"}));
        for (int r = 0; r <= d->lastRib; ++r)
            QVERIFY(s.layers().contains(QStringLiteral("RIB.%1.milar").arg(r)));
        QCOMPARE(s.texts.size(), d->lastRib + 1);
        for (const dxfsheet::Text& t : s.texts) {
            QCOMPARE(t.layer, t.text);
            QCOMPARE(t.rotation, -90.0);
            // as high as the label font, or lower where the rib has no room
            // for it between its vent holes (tst_piececuts)
            QVERIFY(t.height >= 1 && t.height <= double(qRound(5 * d->dxfScale)));
        }
    }

    // The default design's nose rod: its pocket lies on the rib, within the
    // rib's cut line, on every rib (nothing of it stands out beyond the
    // nose or the trailing edge).
    void defaultRodStaysOnTheRib()
    {
        auto d = patternfixture::defaultDesign(34);
        QVERIFY(is_rodUP(d.get()));
        const Sheet s = ribSheet(d.get());
        QVERIFY2(s.ok, qPrintable(s.error));
        for (int r = 0; r <= d->lastRib; ++r) {
            QPolygonF cut, rod;
            for (const Line& l : s.on(QStringLiteral("RIB.%1").arg(r)))
                cut << l.a << l.b;
            for (const Line& l : s.on(QStringLiteral("RIB.%1.rod_1").arg(r)))
                rod << l.a << l.b;
            QVERIFY2(!rod.isEmpty(), qPrintable(QString::number(r)));
            const QRectF rib = cut.boundingRect();
            const QRectF pocket = rod.boundingRect();
            // a millimetre of slack for the seam offsets' rounding
            const double slack = 1.0;
            QVERIFY2(rib.adjusted(-slack, -slack, slack, slack).contains(pocket),
                     qPrintable(QStringLiteral("rib %1: pocket %2..%3 x %4..%5, rib %6..%7 x %8..%9")
                                    .arg(r)
                                    .arg(pocket.left())
                                    .arg(pocket.right())
                                    .arg(pocket.top())
                                    .arg(pocket.bottom())
                                    .arg(rib.left())
                                    .arg(rib.right())
                                    .arg(rib.top())
                                    .arg(rib.bottom())));
        }
    }

    // Without wide spacing no seam lines; without rods no rod layers;
    // without mylar extents (the mylar collapsed onto the nose) no mylar.
    void layersFollowTheSettings()
    {
        auto d = patternfixture::defaultDesign(8);
        d->rod1.index[0] = d->rod1.index[1] = 0;
        d->rod2.index[0] = d->rod2.index[1] = 0;
        d->minirib.mylarStart = d->minirib.mylarEnd = 0;
        const Sheet s = ribSheet(d.get());
        QVERIFY(s.ok);
        QCOMPARE(s.auditErrors, 0);
        for (const QString& layer : s.layers()) {
            QVERIFY2(!layer.endsWith(QLatin1String(".saw")), qPrintable(layer));
            QVERIFY2(!layer.contains(QLatin1String(".rod")), qPrintable(layer));
        }
        for (int r = 0; r <= d->lastRib; ++r) {
            QVERIFY(s.layers().contains(QStringLiteral("RIB.%1").arg(r)));
            QVERIFY(!s.layers().contains(QStringLiteral("RIB.%1.milar").arg(r)));
        }
    }

    // Control marks: a loaded rib carries a 16-gon (upper side) or a
    // triangle (lower side) and a 12-gon at every control point, an
    // intermediate rib the 12-gon only; every mark lies on a circle of 0.6
    // control-point diameters about its point, and the two marks of a point
    // share their centre.
    void controlMarks()
    {
        ParaStruct* d = wide.get();
        const Sheet& s = wideSheet;
        QVERIFY(s.ok);
        const double radius = 0.6 * d->controlPointDiameter; // mm
        int loadedRibs = 0, intermediateRibs = 0;
        for (int r = 0; r <= d->lastRib; ++r) {
            int lower = 0;
            const int n = controlCount(d, r, &lower);
            const bool loaded = d->isLoadedRib(r);
            (loaded ? loadedRibs : intermediateRibs)++;
            const QList<Line> marks = s.on(QStringLiteral("RIB.%1").arg(r), 4);
            QList<int> sizes; // LINEs per mark, in drawing order
            if (loaded)
                for (int k = 0; k < n; ++k)
                    sizes << (k < n - lower ? 16 : 3);
            for (int k = 0; k < n; ++k)
                sizes << 12;
            int total = 0;
            for (int m : sizes)
                total += m;
            QCOMPARE(marks.size(), total);
            QList<QPointF> centres;
            int at = 0;
            for (int m : sizes) {
                // a closed polygon of m sides
                QPointF c(0, 0);
                for (int j = 0; j < m; ++j)
                    c += marks.at(at + j).a;
                c /= m;
                for (int j = 0; j < m; ++j)
                    QVERIFY(std::abs(QLineF(c, marks.at(at + j).a).length() - radius) < 1e-3);
                QVERIFY(QLineF(marks.at(at + m - 1).b, marks.at(at).a).length() < 1e-3);
                centres << c;
                at += m;
            }
            if (loaded)
                for (int k = 0; k < n; ++k)
                    QVERIFY(QLineF(centres.at(k), centres.at(n + k)).length() < 1e-3);
        }
        QVERIFY(loadedRibs > 3 && intermediateRibs > 3);
    }

    // The sewing contour of every rib is its airfoil scaled to the rib's
    // chord: the same perimeter within 0.2 %. The cut line runs outside it.
    void sewingContourIsTheAirfoil_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("34 cells") << 34;
        QTest::newRow("11 cells") << 11;
    }
    void sewingContourIsTheAirfoil()
    {
        QFETCH(int, cells);
        std::unique_ptr<ParaStruct> odd;
        Sheet oddSheet;
        if (cells != 34) {
            odd = patternfixture::defaultDesign(cells);
            oddSheet = ribSheet(odd.get(), QSize(1000, 700), dxfsheet::wideSpacing());
        }
        const ParaStruct* d = odd ? odd.get() : wide.get();
        const Sheet& s = odd ? oddSheet : wideSheet;
        QVERIFY(s.ok);
        QCOMPARE(s.auditErrors, 0);
        const int first = d->centreRib ? 0 : d->firstRib;
        for (int r = first; r <= d->lastRib; ++r) {
            const QList<QPolygonF> saw = dxfsheet::chains(s.on(QStringLiteral("RIB.%1.saw").arg(r)));
            QCOMPARE(saw.size(), 1);
            QVERIFY(dxfsheet::closed(saw.first()));
            const double expected = dxfsheet::length(d->ribAirfoils[r]) * d->chord[r] * d->dxfScale;
            const double got = dxfsheet::length(saw.first());
            QVERIFY2(std::abs(got - expected) < 0.002 * expected,
                     qPrintable(QStringLiteral("rib %1: %2 mm against %3 mm").arg(r).arg(got).arg(expected)));
            // the cut line is the one closed loop of colour 1 around the contour
            const QList<QPolygonF> cuts = dxfsheet::chains(s.on(QStringLiteral("RIB.%1").arg(r), 1));
            QPolygonF cut;
            for (const QPolygonF& c : cuts)
                if (c.boundingRect().contains(saw.first().boundingRect()))
                    cut = c;
            QVERIFY(dxfsheet::closed(cut));
            for (const QPointF& p : saw.first())
                QVERIFY(cut.containsPoint(p, Qt::OddEvenFill));
        }
    }

    // Cross-port holes: none on the tip rib; on every other rib of a hole
    // group each hole lies inside the sewing contour, at least the hole edge
    // offset away from it, and clear of the line attachments.
    void holes()
    {
        const ParaStruct* d = wide.get();
        const Sheet& s = wideSheet;
        QVERIFY(s.ok);
        const int last = d->lastRib;
        const QList<QPolygonF> tip = dxfsheet::chains(s.on(QStringLiteral("RIB.%1").arg(last), 1));
        QCOMPARE(tip.size(), 1); // the cut line only
        double nearestEdge = 1e9, nearestAttachment = 1e9;
        int holes = 0;
        for (int r = 0; r < last; ++r) {
            const QPolygonF saw = dxfsheet::chains(s.on(QStringLiteral("RIB.%1.saw").arg(r))).first();
            const QList<QPolygonF> loops = dxfsheet::chains(s.on(QStringLiteral("RIB.%1").arg(r), 1));
            // the rib's line attachments in the file: the contour's points at
            // the rows' indexes
            QList<QPointF> attachments;
            for (int row = 2; row < kLineRows; ++row)
                attachments << saw.at(d->lineIndex[row][r]);
            int ribHoles = 0;
            for (const QPolygonF& loop : loops) {
                if (loop.boundingRect().contains(saw.boundingRect()))
                    continue; // the cut line
                QVERIFY(dxfsheet::closed(loop));
                ++ribHoles;
                // the stretches of the contour near the hole
                const QRectF near = loop.boundingRect().adjusted(-30, -30, 30, 30);
                QList<QLineF> edges;
                for (int k = 0; k + 1 < saw.size(); ++k)
                    if (near.contains(saw.at(k)) || near.contains(saw.at(k + 1)))
                        edges << QLineF(saw.at(k), saw.at(k + 1));
                for (const QPointF& p : loop) {
                    QVERIFY2(saw.containsPoint(p, Qt::OddEvenFill), qPrintable(QStringLiteral("rib %1").arg(r)));
                    for (const QLineF& e : std::as_const(edges))
                        nearestEdge = std::min(nearestEdge, outlinecheck::pointSegment(p, e.p1(), e.p2()));
                    for (const QPointF& a : attachments)
                        nearestAttachment = std::min(nearestAttachment, QLineF(p, a).length());
                }
            }
            QVERIFY2(ribHoles > 0, qPrintable(QStringLiteral("rib %1").arg(r)));
            holes += ribHoles;
        }
        qDebug() << holes << "holes; nearest to an edge" << nearestEdge << "mm, to a line attachment"
                 << nearestAttachment << "mm";
        QVERIFY(nearestEdge >= d->holeEdgeFactor - 1e-3);
        QVERIFY(nearestAttachment >= d->holeEdgeFactor + 0.5 * d->crossPortOffset);
    }

    // A rib turned past the horizontal (its flat outline mirrored) is turned
    // further on the sheet, its cut line still runs outside its contour and
    // its holes inside.
    void turnedRib()
    {
        auto d = patternfixture::defaultDesign(8);
        const int r = d->lastRib - 1;
        d->ribAngle[r] = 1.8;
        // The sheet draws the design as it is: its canopy follows the turn.
        Create_Space_Canopy(d.get());
        const Sheet s = ribSheet(d.get(), QSize(1000, 700), dxfsheet::wideSpacing());
        QVERIFY(s.ok);
        const QPolygonF saw = dxfsheet::chains(s.on(QStringLiteral("RIB.%1.saw").arg(r))).first();
        const QList<QPolygonF> loops = dxfsheet::chains(s.on(QStringLiteral("RIB.%1").arg(r), 1));
        QVERIFY(loops.size() > 1);
        int cuts = 0;
        for (const QPolygonF& loop : loops) {
            if (loop.boundingRect().contains(saw.boundingRect())) {
                ++cuts;
                for (const QPointF& p : saw)
                    QVERIFY(loop.containsPoint(p, Qt::OddEvenFill));
            } else {
                // holes inside, the edge offset away from the contour
                for (const QPointF& p : loop) {
                    QVERIFY(saw.containsPoint(p, Qt::OddEvenFill));
                    QVERIFY2(outlinecheck::distanceToOutline(p, saw) >= d->holeEdgeFactor - 1e-3,
                             qPrintable(QString::number(outlinecheck::distanceToOutline(p, saw))));
                }
            }
        }
        QCOMPARE(cuts, 1);
        // mirrored: the contour runs the other way round, and the chord is
        // turned by 120 degrees instead of 90 from the flat frame
        const QPolygonF normal = dxfsheet::chains(s.on(QStringLiteral("RIB.%1.saw").arg(r - 1))).first();
        QVERIFY(loopArea(saw) * loopArea(normal) < 0);
        const QPointF te = saw.first(), nose = saw.at(d->noseIndex[r]);
        const double along = std::atan2(nose.y() - te.y(), nose.x() - te.x());
        const QPointF te0 = normal.first(), nose0 = normal.at(d->noseIndex[r - 1]);
        const double along0 = std::atan2(nose0.y() - te0.y(), nose0.x() - te0.x());
        QVERIFY(std::abs(along - along0 - (2.094395102 - 1.5707963265)) < 0.15);
    }

    // The sheet's height on the page follows the preview's height, in the
    // file too.
    void sheetFollowsTheView()
    {
        auto d = patternfixture::defaultDesign(6);
        const Sheet a = ribSheet(d.get(), QSize(1000, 700));
        const Sheet b = ribSheet(d.get(), QSize(1000, 900));
        QVERIFY(a.ok && b.ok);
        QCOMPARE(a.texts.size(), b.texts.size());
        for (int i = 0; i < a.texts.size(); ++i) {
            QCOMPARE(b.texts.at(i).at.x(), a.texts.at(i).at.x());
            QVERIFY(std::abs(b.texts.at(i).at.y() - a.texts.at(i).at.y() - 40 * d->dxfScale) < 1e-3);
        }
    }

    // Small wings: three cells (a centre cell) and four cells draw every rib
    // without reading outside the tables.
    void smallWings_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("3 cells") << 3;
        QTest::newRow("4 cells") << 4;
    }
    void smallWings()
    {
        QFETCH(int, cells);
        auto d = patternfixture::defaultDesign(cells);
        const Sheet s = ribSheet(d.get());
        QVERIFY(s.ok);
        QCOMPARE(s.auditErrors, 0);
        QCOMPARE(s.texts.size(), d->lastRib + 1 - (d->centreRib ? 0 : d->firstRib));
    }
};

QTEST_MAIN(TestRibSheet)
#include "tst_ribsheet.moc"
