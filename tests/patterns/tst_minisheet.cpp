// The front and rear mini-rib sheets read back with ezdxf, and the mini-rib
// marks the panel sheet draws on its pieces.

#include <QTest>
#include <QByteArray>
#include <QLatin1String>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringLiteral>

#include <QTemporaryDir>

#include "airfoils/foilunfold.h"
#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "geom/sheet.h"
#include "patterns/miniribmarks.h"
#include "patterns/minisheet.h"
#include "patterns/patternsheet.h"
#include "geom/ribunfold.h"
#include "structure/crossports.h"
#include "structure/holefun.h"
#include "tests/patterns/dxfsheet.h"
#include "tests/patterns/outlinecheck.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

using dxfsheet::Line;
using dxfsheet::Sheet;

namespace {

Sheet writeSheet(const ParaStruct* d, PatternSheetFn draw, QStringList* notes = nullptr, QByteArray* bytes = nullptr,
                 const PatternOptions& options = {})
{
    return dxfsheet::writeAndRead(d, draw, patternfixture::sheetOf(d).viewSize, notes, bytes, options);
}

// The lines of the sheet's ENTITIES section as its file has them, the
// section's end left out.
QStringList entities(const PieceSheet& sheet)
{
    QStringList lines = QString::fromUtf8(Sheet_Dxf_Bytes(sheet)).split(QStringLiteral("\r\n"));
    return lines.mid(0, lines.size() - 5);
}

// The default design with front and rear mini-ribs in every cell.
std::unique_ptr<ParaStruct> miniRibDesign(int cells = 34)
{
    auto d = patternfixture::defaultDesign(cells);
    d->minirib.frontRibStart = 12; // 60 points before the nose
    d->minirib.frontRibEnd = 8;    // 40 after it
    d->minirib.rearRibPosition = 55;
    d->minirib.rearRibCavity = 0.3;
    for (int i = 0; i < kStructSlots; ++i)
        d->frontRibEnabled[i] = d->rearRibEnabled[i] = true;
    Refresh_Calculations(d.get());
    return d;
}

// The written pieces: the colour-3 seam lines (wide spacing), one per
// mini-rib, in drawing order.
QList<QPolygonF> seamLines(const Sheet& s)
{
    QList<QPolygonF> out;
    QString layer;
    QList<Line> current;
    for (const Line& l : s.lines) {
        if (l.colour != 3)
            continue;
        if (l.layer != layer && !current.isEmpty()) {
            out << dxfsheet::chains(current);
            current.clear();
        }
        layer = l.layer;
        current << l;
    }
    if (!current.isEmpty())
        out << dxfsheet::chains(current);
    return out;
}

const QByteArray kEmptyDrawing = "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n";

} // namespace

class TestMiniSheet : public QObject
{
    Q_OBJECT

private slots:
    // Labels, layers and the pieces of both sheets of a wing with mini-ribs
    // in every cell: cell 0 never has one, the tip cell no rear one; each
    // piece has its seam line (wide spacing) and its cut line on its layer,
    // side by side in one row; the holes lie inside their mini-rib.
    void sheets_data()
    {
        QTest::addColumn<bool>("front");
        QTest::newRow("front") << true;
        QTest::newRow("rear") << false;
    }
    void sheets()
    {
        QFETCH(bool, front);
        auto d = miniRibDesign(12);
        const PatternSheetFn draw = front ? &FrontMiniRib_Sheet : &RearMiniRib_Sheet;
        const Sheet s = writeSheet(d.get(), draw, nullptr, nullptr, dxfsheet::wideSpacing());
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.auditErrors, 0);
        const int cells = front ? d->lastRib - 1 : d->lastRib - 2; // cells 1 ..
        QCOMPARE(s.texts.size(), cells);
        const QString prefix = front ? QStringLiteral("frontf.") : QStringLiteral("Rear.");
        QSet<QString> layers;
        for (int i = 1; i <= cells; ++i)
            layers << prefix + QStringLiteral("%1.%2").arg(i).arg(i + 1);
        QCOMPARE(s.layers(), layers);
        QVERIFY(layers.contains(front ? QStringLiteral("frontf.3.4") : QStringLiteral("Rear.3.4")));
        for (const dxfsheet::Text& t : s.texts) {
            QCOMPARE(t.text, t.layer);
            // read from below or from the right, never upside down (where
            // it stands: tst_piececuts)
            QVERIFY(t.rotation > -90 && t.rotation <= 90);
            QVERIFY(t.height > 0);
        }
        const QList<QPolygonF> seams = seamLines(s);
        QCOMPARE(seams.size(), cells);
        for (int i = 0; i < seams.size(); ++i) {
            const QRectF box = seams.at(i).boundingRect();
            if (i > 0) {
                const QRectF before = seams.at(i - 1).boundingRect();
                QVERIFY(box.left() > before.right()); // left to right, apart
                QVERIFY(box.top() < before.bottom() && box.bottom() > before.top()); // one row
            }
            const QString layer = prefix + QStringLiteral("%1.%2").arg(i + 1).arg(i + 2);
            const QList<QPolygonF> cuts = dxfsheet::chains(s.on(layer, 1));
            QVERIFY(!cuts.isEmpty());
            // The cut line (the first colour-1 chain) runs the allowance away
            // from the seam line, except along the rear mini-rib's cavity,
            // which is not sewn, and at the two corners where it closes (on
            // the front mini-rib's end edge, beyond the rear one's trailing
            // edge), which stand further out: where the two offset lines
            // meet at an angle a, the allowance / sin(a / 2) from the seam's
            // end (the front mini-rib's sides run along the chords to their
            // fifth point); at the rear one's cap one and a half allowances.
            const double allowance = d->seamAllowance[0];
            const QPolygonF& seam = seams.at(i);
            double farthest = 1.5 * allowance;
            if (front && seam.size() > 5) {
                const int n = seam.size();
                auto angle = [](QPointF o, QPointF a, QPointF b) {
                    const QLineF u(o, a), v(o, b);
                    return u.angleTo(v) > 180 ? 360 - u.angleTo(v) : u.angleTo(v);
                };
                const double a = std::min(angle(seam.first(), seam.at(4), seam.last()),
                                          angle(seam.last(), seam.at(n - 3), seam.first()));
                farthest = std::max(farthest, 1.05 * allowance / std::sin(a * M_PI / 360));
            }
            QVERIFY(dxfsheet::closed(cuts.first()));
            int onSeam = 0, corners = 0;
            for (const QPointF& p : cuts.first().mid(1)) {
                double nearest = 1e9;
                for (int k = 0; k + 1 < seam.size(); ++k)
                    nearest = std::min(nearest, outlinecheck::pointSegment(p, seam.at(k), seam.at(k + 1)));
                QVERIFY2(nearest < farthest, qPrintable(QString::number(nearest)));
                if (nearest >= 1.001 * allowance)
                    ++corners;
                if (nearest < 1e-3)
                    ++onSeam;
                else
                    QVERIFY2(nearest > 0.9 * allowance, qPrintable(QString::number(nearest)));
            }
            QVERIFY(corners <= 2);
            QCOMPARE(onSeam > 10, !front);
            // the holes, inside the mini-rib
            for (int h = 1; h < cuts.size(); ++h) {
                QVERIFY(dxfsheet::closed(cuts.at(h)));
                for (const QPointF& p : cuts.at(h))
                    QVERIFY(seam.containsPoint(p, Qt::OddEvenFill));
            }
        }
        // without wide spacing no seam lines
        const Sheet narrow = writeSheet(d.get(), draw);
        QVERIFY(narrow.ok);
        for (const Line& l : narrow.lines)
            QVERIFY(l.colour != 3);
    }

    // Small wings: no front piece with a tip rib 1 or lower, no rear piece
    // with a tip rib 2 or lower: the file's ENTITIES section is empty.
    void smallWingsGiveEmptySheets_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<bool>("frontEmpty");
        QTest::addColumn<bool>("rearEmpty");
        QTest::newRow("2 cells, tip rib 1") << 2 << true << true;
        QTest::newRow("4 cells, tip rib 2") << 4 << false << true;
        QTest::newRow("6 cells, tip rib 3") << 6 << false << false;
    }
    void smallWingsGiveEmptySheets()
    {
        QFETCH(int, cells);
        QFETCH(bool, frontEmpty);
        QFETCH(bool, rearEmpty);
        auto d = miniRibDesign(cells);
        QByteArray front, rear;
        QVERIFY(writeSheet(d.get(), &FrontMiniRib_Sheet, nullptr, &front).ok);
        QVERIFY(writeSheet(d.get(), &RearMiniRib_Sheet, nullptr, &rear).ok);
        QCOMPARE(front == kEmptyDrawing, frontEmpty);
        QCOMPARE(rear == kEmptyDrawing, rearEmpty);
    }

    // A cell whose rear mini-rib cannot be built is left out and named; the
    // cells after it are still drawn.
    void rearSheetGoesOnAfterAnEmptyCell()
    {
        auto d = miniRibDesign(12);
        d->foilPairs[3].clear(); // cell 3 has no rear range
        QStringList notes;
        const Sheet s = writeSheet(d.get(), &RearMiniRib_Sheet, &notes);
        QVERIFY(s.ok);
        QSet<QString> labels;
        for (const dxfsheet::Text& t : s.texts)
            labels << t.text;
        QVERIFY(!labels.contains(QStringLiteral("Rear.3.4")));
        QVERIFY(labels.contains(QStringLiteral("Rear.2.3")));
        QVERIFY(labels.contains(QStringLiteral("Rear.4.5")));
        QCOMPARE(labels.size(), d->lastRib - 3);
        QCOMPARE(notes.size(), 1);
        QVERIFY(notes.first().startsWith(QStringLiteral("Rear.3.4")));
    }

    // The rear mini-rib's holes are the rib's hole layout of group 3 moved
    // so that the two trailing edges coincide.
    void rearHolesFollowTheTrailingEdge()
    {
        auto d = miniRibDesign(12);
        const int cell = 3;
        for (int i = 0; i < kStructSlots; ++i)
            d->rearRibEnabled[i] = i == cell;
        RibUnfolding rib;
        Unfold_AirFoil(d.get(), cell, &rib);
        MiniRibFlat rearRib;
        QVERIFY(Setup_RearFoilPattern(*d, cell, &rearRib));
        const QPolygonF& rear = rearRib.outline;
        const double shift = rear.first().x() - rib.outline.first().x();
        QVERIFY(std::abs(shift) > 0.5); // the cell's middle ends elsewhere than the rib
        // the rib's holes, straight from the hole maker
        HoleLayout layout = Hole_Layout_Of(*d);
        Set_Trap_Index_Values23(*d, rib.outline, &layout);
        Reset_baseTrap_Array(*d, rib.outline, 3, false, &layout);
        Calc_current_grup_all_trap(3, &layout);
        QList<QPolygonF> expected;
        for (int k = 8; k < 16; ++k)
            for (const QPolygonF& h : Create_div_Trapez(d.get(), layout.baseTraps[k], false))
                if (testContain(rear, h.translated(shift, 0)))
                    expected << h.translated(shift, 0);
        QVERIFY(!expected.isEmpty());

        const Sheet s = writeSheet(d.get(), &RearMiniRib_Sheet);
        QVERIFY(s.ok);
        const QList<QPolygonF> loops = dxfsheet::chains(s.on(QStringLiteral("Rear.3.4"), 1));
        QCOMPARE(loops.size(), 1 + expected.size());
        const QPointF origin(patternfixture::sheetOf(d.get()).viewSize.width() / 100,
                             patternfixture::sheetOf(d.get()).viewSize.height() / 10);
        for (int h = 0; h < expected.size(); ++h) {
            const QPolygonF& got = loops.at(1 + h);
            const QPointF want = (expected.at(h).first() + origin) * d->dxfScale;
            QVERIFY2(QLineF(got.first(), want).length() < 1e-3, qPrintable(QString::number(h)));
        }
    }

    // Marks on a panel piece. The front mini-rib: its seam along the
    // mid-line from 5 start steps before the nose to one point short of its
    // end, 12-gons at the control points; nothing outside the piece. The
    // rear one: the ".midline" mark between its front ends, 70 points, also
    // for a cell without rear mini-rib (then to index 989).
    void marksOnPanelPieces()
    {
        auto d = miniRibDesign(12);
        const int cell = 3;
        QPolygonF mid;
        for (int k = 0; k < kAirfoilPoints; ++k)
            mid.append(QPointF(10 + 0.01 * k, k));
        const QPolygonF everything{QPointF(-1000, -1000), QPointF(1000, -1000), QPointF(1000, 2000),
                                   QPointF(-1000, 2000), QPointF(-1000, -1000)};
        const QPolygonF nothing{QPointF(500, 500), QPointF(600, 500), QPointF(600, 600), QPointF(500, 500)};

        PieceSheet sheet(d->dxfScale);
        CalcFrontRibControls(&sheet, d.get(), cell, QPointF(100, 0), QStringLiteral("Up.3.0"), mid, everything);
        const int n = d->noseIndex[cell];
        int controls = 0;
        for (int k = n - 60; k <= n + 40 - 2; ++k)
            controls += d->is_Control(k, cell) ? 1 : 0;
        auto lines = [&sheet](int colour) {
            const QStringList file = entities(sheet);
            int count = 0;
            for (int i = 0; i + 5 < file.size(); ++i)
                if (file.at(i) == QLatin1String("LINE") && file.at(i + 4) == QString::number(colour))
                    ++count;
            return count;
        };
        QCOMPARE(lines(4), 12 * controls);
        QCOMPARE(lines(3), (n + 38) - (n - 60)); // a seam of 99 points
        sheet = PieceSheet(d->dxfScale);
        CalcFrontRibControls(&sheet, d.get(), cell, QPointF(100, 0), QStringLiteral("Up.3.0"), mid, nothing);
        QCOMPARE(entities(sheet).size(), 4);

        // rear: without the cell's rear mini-rib only the mid-line mark
        MiniRibFlat rear;
        Setup_RearFoilPattern(*d, cell, &rear);
        const int u = rear.controls[2];
        d->rearRibEnabled[cell] = false;
        sheet = PieceSheet(d->dxfScale);
        CalcRearRibControls(&sheet, d.get(), cell, rear, QPointF(0, 0), QStringLiteral("Lw.3.0"), mid, everything);
        QCOMPARE(lines(3), 69);
        QCOMPARE(lines(4), 0);
        const QStringList file = entities(sheet);
        QVERIFY(file.contains(QStringLiteral("Lw.3.0.midline")));
        // the mark runs from u + 10 to 989 (mirrored: y = 500 - index)
        const double s = d->dxfScale;
        QCOMPARE(file.at(file.indexOf(QStringLiteral("20")) + 1), QString::number(s * (500 - (u + 10)), 'f', 4));
        d->rearRibEnabled[cell] = true;
        sheet = PieceSheet(d->dxfScale);
        CalcRearRibControls(&sheet, d.get(), cell, rear, QPointF(0, 0), QStringLiteral("Lw.3.0"), mid, everything);
        QCOMPARE(lines(4), 12 * 5);
    }
};

QTEST_MAIN(TestMiniSheet)
#include "tst_minisheet.moc"
