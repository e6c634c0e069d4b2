// The mini-rib marks on the panel pieces: seam lines and notches of the front
// and the rear mini-rib on the cell's mid-line, and the mid-line mark.

#include <QTest>
#include <QJsonObject>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringLiteral>

#include <QJsonArray>
#include <QTemporaryDir>

#include "airfoils/foilunfold.h"
#include "core/parastruct.h"
#include "geom/sheet.h"
#include "patterns/cellstrip.h"
#include "patterns/miniribmarks.h"
#include "patterns/panelsheet.h"
#include "patterns/panelmanager.h"
#include "geom/designcurves.h"
#include "tests/common/dxfcheck.h"
#include "tests/patterns/patternfixture.h"
#include "tests/patterns/sewingcheck.h"

#include <cmath>
#include <memory>

namespace {

struct Drawn {
    QString layer;
    int colour = 0;
    QPointF a, b;
};

// The LINE entities of the sheet as its file has them.
QList<Drawn> linesWritten(const PieceSheet& sheet)
{
    const QStringList file = QString::fromUtf8(Sheet_Dxf_Bytes(sheet)).split(QStringLiteral("\r\n"));
    QList<Drawn> out;
    for (int i = 0; i + 17 < file.size(); ++i) {
        if (file.at(i) != QLatin1String("0") || file.at(i + 1) != QLatin1String("LINE"))
            continue;
        Drawn d;
        d.layer = file.at(i + 3);
        d.colour = file.at(i + 5).toInt();
        d.a = QPointF(file.at(i + 7).toDouble(), file.at(i + 9).toDouble());
        d.b = QPointF(file.at(i + 13).toDouble(), file.at(i + 15).toDouble());
        out << d;
    }
    return out;
}

QList<Drawn> ofColour(const QList<Drawn>& lines, int colour, const QString& layer)
{
    QList<Drawn> out;
    for (const Drawn& d : lines)
        if (d.colour == colour && d.layer == layer)
            out << d;
    return out;
}

// Number of n-sided marks: n LINEs round a small circle, the last ending
// where the first began.
int marks(const QList<Drawn>& lines, int sides)
{
    int count = 0, run = 0;
    QPointF first;
    for (const Drawn& d : lines) {
        if (d.colour != 4)
            continue;
        if (run == 0)
            first = d.a;
        ++run;
        if (QLineF(d.b, first).length() < 1e-3) {
            count += run == sides;
            run = 0;
        }
    }
    return count;
}

} // namespace

class TestMiniribMarks : public QObject
{
    Q_OBJECT
    std::unique_ptr<ParaStruct> d;
    QPolygonF mid;       // the mid-line of cell 5
    QPolygonF everything; // a piece holding all of it
    const QPointF offset{100, 20};
    PieceSheet sheet;     // what the marks are drawn on

    QPointF placed(int k) const
    {
        return d->dxfScale * (QPointF(mid.at(k).x(), 500 - mid.at(k).y()) + offset);
    }

private slots:
    void initTestCase()
    {
        d = patternfixture::defaultDesign();
        UnFolder strip;
        Unfold_ZERO_Longpattern(*d, 5, &strip);
        mid = strip.midLine;
        QCOMPARE(mid.size(), 1000);
        const QRectF box = mid.boundingRect().adjusted(-5, -5, 5, 5);
        everything = QPolygonF(box);
        d->minirib.frontRibStart = 4;
        d->minirib.frontRibEnd = 6;
        d->minirib.rearRibPosition = 30;
    }

    void init() { sheet = PieceSheet(d->dxfScale); }

    // Front: the seam on the mid-line from 5 steps of 5 before the nose to
    // one short of 6 steps after it, a 12-gon at each control point of the
    // cell's rib.
    void front()
    {
        d->frontRibEnabled[5] = true;
        CalcFrontRibControls(&sheet, d.get(), 5, offset, QStringLiteral("VN.5"), mid, everything);
        const QList<Drawn> lines = linesWritten(sheet);
        const int nose = d->noseIndex[5];
        const QList<Drawn> seam = ofColour(lines, 3, QStringLiteral("VN.5"));
        QCOMPARE(seam.size(), (nose + 28) - (nose - 20));
        QVERIFY(QLineF(seam.first().a, placed(nose - 20)).length() < 1e-3);
        QVERIFY(QLineF(seam.last().b, placed(nose + 28)).length() < 1e-3);
        int controls = 0;
        for (int k = nose - 20; k <= nose + 28; ++k)
            controls += d->is_Control(k, 5);
        QVERIFY(controls > 0);
        QCOMPARE(marks(lines, 12), controls);
        // a piece away from the nose gets nothing; a cell without a front
        // mini-rib nothing either
        sheet = PieceSheet(d->dxfScale);
        CalcFrontRibControls(&sheet, d.get(), 5, offset, QStringLiteral("Up.5.0"), mid,
                             QPolygonF(QRectF(-500, -500, 1, 1)));
        d->frontRibEnabled[5] = false;
        CalcFrontRibControls(&sheet, d.get(), 5, offset, QStringLiteral("VN.5"), mid, everything);
        QVERIFY(linesWritten(sheet).isEmpty());
    }

    // Rear: notches at the five control indexes of the rear unfolding, the
    // seam along its upper and its lower run, and the mid-line between its
    // front ends, resampled to 70 points.
    void rear()
    {
        QList<QVector3D> out;
        const MiniRibFlat rearRib = unfold_RearFoil(*d, 5, &out);
        const int* idx = rearRib.controls;
        const int s = std::clamp(idx[0], 0, 6), u = idx[2], e = idx[3];
        QVERIFY2(u > s && e > u, qPrintable(QString("%1 %2 %3 %4 %5").arg(idx[0]).arg(idx[1]).arg(idx[2]).arg(idx[3]).arg(idx[4])));
        d->rearRibEnabled[5] = true;
        CalcRearRibControls(&sheet, d.get(), 5, rearRib, offset, QStringLiteral("Up.5.0"), mid, everything);
        QList<Drawn> lines = linesWritten(sheet);
        QCOMPARE(marks(lines, 12), 5);
        const QList<Drawn> seam = ofColour(lines, 3, QStringLiteral("Up.5.0"));
        // one polyline through s .. u and e .. 999 (a jump between the runs)
        QCOMPARE(seam.size(), (u - s + 1) + (999 - e + 1) - 1);
        QVERIFY(QLineF(seam.first().a, placed(s)).length() < 1e-3);
        QVERIFY(QLineF(seam.last().b, placed(999)).length() < 1e-3);
        const QList<Drawn> middle = ofColour(lines, 3, QStringLiteral("Up.5.0.midline"));
        QCOMPARE(middle.size(), 69);
        QVERIFY(QLineF(middle.first().a, placed(u + 10)).length() < 1e-3);
        d->rearRibEnabled[5] = false;

        // without a rear mini-rib only the mid-line, from u + 10 to 989
        sheet = PieceSheet(d->dxfScale);
        CalcRearRibControls(&sheet, d.get(), 5, rearRib, offset, QStringLiteral("Up.5.0"), mid, everything);
        lines = linesWritten(sheet);
        QCOMPARE(marks(lines, 12), 0);
        QVERIFY(ofColour(lines, 3, QStringLiteral("Up.5.0")).isEmpty());
        QCOMPARE(ofColour(lines, 3, QStringLiteral("Up.5.0.midline")).size(), 69);
        // a piece holding two mid-line points or fewer: no mark
        sheet = PieceSheet(d->dxfScale);
        const QPolygonF tiny = QPolygonF(QRectF(mid.at(600) - QPointF(0.01, 0.01), QSizeF(0.02, 0.02)));
        CalcRearRibControls(&sheet, d.get(), 5, rearRib, offset, QStringLiteral("Lw.5.0"), mid, tiny);
        QVERIFY(linesWritten(sheet).isEmpty());
    }

    // The tip cell's mini-ribs sit on the tip cell's own mid-line in the
    // panel file, not on the mid-line of the cell beside it.
    void tipCellOnItsOwnMidLine()
    {
        auto wing = patternfixture::defaultDesign();
        const int tip = wing->lastRib - 1;
        wing->frontRibEnabled[tip] = true;
        wing->frontRibEnabled[tip - 1] = true;
        wing->minirib.frontRibStart = 6;
        wing->minirib.frontRibEnd = 6;
        QTemporaryDir dir;
        const PieceSheet panels = Panel_Sheet(patternfixture::sheetOf(wing.get()));
        QCOMPARE(Write_Sheet(panels, dir.path(), QStringLiteral("longpatt.dxf")), 0);
        const QJsonObject dxf = ReadDxfWithEzdxf(dir.filePath(QStringLiteral("longpatt.dxf")));
        QCOMPARE(dxf.value(QStringLiteral("audit_errors")).toInt(), 0);
        const auto layers = sewingcheck::layersOf(dxf);
        const double s = wing->dxfScale;
        const double column = 1.3 * (wing->ribSpanPos[2] - wing->ribSpanPos[1]);
        // The cells' mid-lines as the panel layout works them out.
        QList<Spline> designLines;
        RecreateSplineList(wing.get(), &designLines);
        for (int cell : {tip - 1, tip}) {
            QList<WholePoly> pieces;
            UnFolder strip;
            Longpattern_Manager(*wing, cell, &designLines, true, &pieces, nullptr, &strip);
            const QPolygonF own = strip.midLine;
            int seamPoints = 0;
            for (const QString& name : layers.keys()) {
                if (name.endsWith(QLatin1String(".midline")) || name.section(QLatin1Char('.'), 1, 1).toInt() != cell)
                    continue;
                for (const sewingcheck::Line& l : layers.value(name).lines) {
                    if (l.colour != 3)
                        continue;
                    const QPointF flat(l.a.x() / s - column * cell, 500 - l.a.y() / s);
                    double nearest = 1e9;
                    for (const QPointF& p : own)
                        nearest = std::min(nearest, QLineF(p, flat).length());
                    QVERIFY2(nearest * s < 0.01, qPrintable(QString("%1: %2 mm").arg(name).arg(nearest * s)));
                    ++seamPoints;
                }
            }
            QVERIFY2(seamPoints > 50, qPrintable(QString::number(cell)));
        }
    }
};

QTEST_MAIN(TestMiniribMarks)
#include "tst_miniribmarks.moc"
