// The diagonal-rib sheet "diagon.dxf" read back with ezdxf: placement,
// labels, outlines, holes and marks; the flat edges against the ribs.

#include <QTest>
#include <QLatin1String>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QSize>
#include <QString>
#include <QStringLiteral>

#include <QTemporaryDir>

#include "core/parastruct.h"
#include "geom/sheet.h"
#include "patterns/diagsheet.h"
#include "patterns/patternsheet.h"
#include "structure/diagonals.h"
#include "structure/diagshape.h"
#include "tests/patterns/dxfsheet.h"
#include "tests/patterns/patternfixture.h"

#include <cmath>
#include <memory>

using dxfsheet::Sheet;

namespace {

Sheet diagonalSheet(const ParaStruct* d, QSize view)
{
    return dxfsheet::writeAndRead(d, &Diagonal_Sheet, view);
}

// A coordinate as the file writes it: four decimals.
QString real(double v)
{
    return QString::number(v, 'f', 4);
}

// Length of a rib's 3-D curve through the given point indexes, in mm.
double ribPath(const ParaStruct* d, int rib, const QList<OrigPnt2D>& edge)
{
    double sum = 0;
    for (int i = 1; i < edge.size(); ++i)
        sum += (d->ribCurves3D[rib][edge.at(i).index] - d->ribCurves3D[rib][edge.at(i - 1).index]).length();
    return sum * d->dxfScale;
}

double flatPath(const ParaStruct* d, const QList<OrigPnt2D>& edge)
{
    double sum = 0;
    for (int i = 1; i < edge.size(); ++i)
        sum += QLineF(edge.at(i - 1).point, edge.at(i).point).length();
    return sum * d->dxfScale;
}

} // namespace

class TestDiagSheet : public QObject
{
    Q_OBJECT

private slots:
    // Every diagonal of the default design, in list order, at one fifth of
    // the view's width further right, at y = 0 of the sheet: its cut line is
    // its flat outline moved there, closed, colour 2; its holes colour 3;
    // its label at the angle of the line between the outline's ends; its
    // marks at the control points inside the outline.
    void sheetOfTheDefaultDesign()
    {
        auto d = patternfixture::defaultDesign();
        const QSize view(1000, 700);
        const Sheet s = diagonalSheet(d.get(), view);
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.auditErrors, 0);
        const QList<DiagonalData> list = d->diagonals;
        QVERIFY(list.size() > 10);
        QCOMPARE(s.texts.size(), list.size());
        const double sc = d->dxfScale;
        int xpos = 0;
        bool sawDia34 = false;
        for (int j = 0; j < list.size(); ++j) {
            DiagonalData copy = list.at(j);
            Create_Diagonal_2D3D(*d, &copy);
            xpos = int(xpos + view.width() / 5.0);
            const QString label = QStringLiteral("Dia.%1.%2").arg(copy.first.rib).arg(copy.second.rib);
            sawDia34 = sawDia34 || label == QLatin1String("Dia.3.4");
            const dxfsheet::Text& t = s.texts.at(j);
            QCOMPARE(t.text, label);
            QCOMPARE(t.layer, label);
            const QPointF p0 = copy.flatOutline.first() + QPointF(xpos, 0);
            const QPointF pn = copy.flatOutline.last() + QPointF(xpos, 0);
            // the label along the line between the outline's ends (its box
            // inside the piece: tst_piececuts)
            QCOMPARE(t.rotation, double(int(std::atan2(p0.y() - pn.y(), p0.x() - pn.x()) * 180 / M_PI)));

            const QList<QPolygonF> outline = dxfsheet::chains(s.on(label, 2));
            QVERIFY(!outline.isEmpty());
            QPolygonF mine;
            for (const QPolygonF& c : outline)
                if (QLineF(c.first(), sc * p0).length() < 1e-3)
                    mine = c;
            // the outline closed, a point that repeats the one before it in
            // the file stepped over
            QPolygonF written;
            for (const QPointF& p : copy.flatOutline + QPolygonF{copy.flatOutline.first()}) {
                const QPointF w = sc * (p + QPointF(xpos, 0));
                if (written.isEmpty() || real(w.x()) != real(written.last().x())
                    || real(w.y()) != real(written.last().y()))
                    written << w;
            }
            QCOMPARE(mine.size(), written.size());
            for (int k = 0; k < written.size(); ++k)
                QVERIFY(QLineF(mine.at(k), written.at(k)).length() < 1e-3);
            QVERIFY(dxfsheet::closed(mine));
            int holeLines = 0;
            for (const QPolygonF& h : copy.flatHoles)
                holeLines += h.size();
            QVERIFY(s.on(label, 3).size() >= holeLines);
            const int marks = filter_Diag_Cntr(copy.flatOutline, copy.flatControls).size();
            QVERIFY(s.on(label, 4).size() >= 12 * marks);
        }
        QVERIFY(sawDia34);
    }

    // The flat edges of every diagonal, laid out from the ribs' 3-D
    // triangles, are as long as the 3-D edges along the two ribs.
    void flatEdgesKeepTheirLength()
    {
        auto d = patternfixture::defaultDesign();
        Generate_All_Diagonals(d.get());
        double worst = 0;
        int edges = 0;
        for (DiagonalData copy : d->diagonals) {
            Create_Diagonal_2D3D(*d, &copy);
            QVERIFY(copy.flatEdgeA.size() > 2 && copy.flatEdgeB.size() > 2);
            worst = std::max(worst, std::abs(flatPath(d.get(), copy.flatEdgeA) - ribPath(d.get(), copy.first.rib, copy.flatEdgeA)));
            worst = std::max(worst, std::abs(flatPath(d.get(), copy.flatEdgeB) - ribPath(d.get(), copy.second.rib, copy.flatEdgeB)));
            edges += 2;
        }
        qDebug() << edges << "edges, largest difference" << worst << "mm";
        QVERIFY(worst < 0.5);
    }

    // A control point outside the cut outline gets no mark; winding and
    // odd-even rules both count as inside.
    void controlPointsInside()
    {
        const QPolygonF square{QPointF(0, 0), QPointF(10, 0), QPointF(10, 10), QPointF(0, 10), QPointF(0, 0)};
        QCOMPARE(filter_Diag_Cntr(square, QPolygonF{QPointF(5, 5), QPointF(15, 5), QPointF(1, 9)}),
                 (QPolygonF{QPointF(5, 5), QPointF(1, 9)}));
        // a loop drawn twice round: odd-even says outside, winding inside
        const QPolygonF twice = square + square;
        QCOMPARE(filter_Diag_Cntr(twice, QPolygonF{QPointF(5, 5)}), QPolygonF{QPointF(5, 5)});
    }

    // No design: nothing is drawn.
    void noDesignNothingDrawn()
    {
        auto d = std::make_unique<ParaStruct>();
        QVERIFY(Diagonal_Sheet(patternfixture::sheetOf(d.get())).isEmpty());
    }
};

QTEST_MAIN(TestDiagSheet)
#include "tst_diagsheet.moc"
