// The polar window's content without widgets: the table's rows against the
// glider's equilibrium, its headings in gliding and towed flight, an empty
// polar that says why, the six charts, the points a chart takes and the
// best-glide tangent against the tangent of an analytic speed polar.

#include "aero/polar.h"
#include "aero/polarview.h"
#include "tests/aero/polarfixture.h"
#include "tests/common/overlap.h"
#include "core/chartlabels.h"

#include "core/parastruct.h"

#include <QTest>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>

#include <cmath>
#include <memory>

using namespace polarfixture;

namespace {

QStringList texts(const QList<PolarTableLine>& lines)
{
    QStringList out;
    for (const PolarTableLine& l : lines)
        out << l.text;
    return out;
}

// The row lines of a table: those after separator B.
QList<PolarTableLine> rowLines(const QList<PolarTableLine>& lines)
{
    const QString separatorB = QStringLiteral("\t ") + QString(93, QLatin1Char('-'));
    int k = 0;
    while (k < lines.size() && lines[k].text != separatorB)
        ++k;
    return lines.mid(k + 1);
}

// Column values of a row line " \t%1 \t1:%2 \t%3 \t%4 \t%5 ".
QList<double> columns(const QString& line)
{
    QList<double> v;
    for (QString field : line.split('\t').mid(1)) {
        field = field.trimmed();
        if (field.startsWith(QLatin1String("1:")))
            field = field.mid(2).trimmed();
        v << field.toDouble();
    }
    return v;
}

} // namespace

class TestPolarView : public QObject
{
    Q_OBJECT

private slots:
    // Each row against the equilibrium of the glider: speed from the lift
    // that carries the weight, glide ratio 1/tan(gamma); the best row (the
    // flattest glide) is the one marked.
    void glidingRows()
    {
        auto d = rectangularWing();
        ApameRes r = syntheticResults();
        Polar p;
        QVERIFY(createPolar_BaseTable(*d, r, false, &p));
        const QList<CalageClass>& rows = p.rows;
        const QList<PolarTableLine> lines = Polar_Table_Lines(*d, p);
        const QList<PolarTableLine> rowsText = rowLines(lines);
        QCOMPARE(rowsText.size(), rows.size());
        QVERIFY(rows.size() > 30);
        const double W = 9.81 * d->totalWeight;
        int marked = -1;
        double flattest = 1e9;
        int flattestRow = -1;
        for (int k = 0; k < rows.size(); ++k) {
            const QList<double> c = columns(rowsText[k].text);
            QCOMPARE(c.size(), qsizetype(5));
            const double alfa = c[3];
            const double gama = c[2] * kDeg;
            QVERIFY(std::fabs(alfa - rows[k].alfa) < 0.005);
            // Lift area at alfa by the cases' linear lift.
            const double liftArea = (0.25 + 0.075 * std::min(alfa, 12.0)) * kS;
            const double speed = std::sqrt(2 * W * std::cos(gama) / (1.225 * liftArea)) * 3.6;
            QVERIFY2(std::fabs(c[0] - speed) < 0.02 * speed, qPrintable(rowsText[k].text));
            QVERIFY2(std::fabs(c[1] - 1 / std::tan(gama)) < 0.02 / std::tan(gama), qPrintable(rowsText[k].text));
            if (rowsText[k].best)
                marked = k;
            if (rows[k].gama < flattest) {
                flattest = rows[k].gama;
                flattestRow = k;
            }
        }
        QCOMPARE(marked, flattestRow);
        QCOMPARE(get_opt_gama(rows), flattestRow);
    }

    void headings()
    {
        auto d = rectangularWing();
        d->smoothModel = false;
        ApameRes r = syntheticResults();
        Polar p;
        createPolar_BaseTable(*d, r, false, &p);
        QStringList t = texts(Polar_Table_Lines(*d, p));
        QCOMPARE(t[0], QStringLiteral("\n \t   P O L A R    T A B L E  \t model:  INFLATED  "));
        const QString blank(8, ' ');
        QVERIFY(t.contains(" \t" + blank + " \t " + blank + " \t" + blank + " \t" + blank + " \tPilot "));
        QVERIFY(t.contains(QStringLiteral(" \tSpeed   \t finesse \tgama    \t AoA     \tdisplacement ")));
        QVERIFY(t.contains(QStringLiteral(" \t[km/h]  \t 1:X     \t[deg]   \t[deg]   \tfrom LE[%] ")));

        // Towed flight: the climb in the second column, no row marked.
        d->towForce = 30;
        d->smoothModel = true;
        createPolar_BaseTable(*d, r, false, &p);
        const QList<CalageClass>& rows = p.rows;
        QVERIFY(!rows.isEmpty());
        const QList<PolarTableLine> towed = Polar_Table_Lines(*d, p);
        t = texts(towed);
        QCOMPARE(t[0], QStringLiteral("\n \t   P O L A R    T A B L E  \t model:  SMOOTH "));
        QVERIFY(t.contains(QStringLiteral(" \tSpeed   \t Vup     \tgama    \t AoA     \tdisplacement ")));
        QVERIFY(t.contains(QStringLiteral(" \t[km/h]  \t [m/s]   \t[deg]   \t[deg]   \tfrom LE[%] ")));
        QVERIFY(t.contains(QStringLiteral("\n\t PULL force [N]: 294.30")));
        const QList<PolarTableLine> towedRows = rowLines(towed);
        for (int k = 0; k < towedRows.size(); ++k) {
            QVERIFY(!towedRows[k].best);
            QVERIFY(towedRows[k].text.contains(QStringLiteral("\t1: %1 \t").arg(rows[k].vy, 0, 'f', 2)));
        }
    }

    // The speed polar's tables take the rows from row 1 on.
    void speedPolarTables()
    {
        auto d = rectangularWing();
        ApameRes r = syntheticResults();
        Polar p;
        p.polarVx[0] = -123;
        createPolar_BaseTable(*d, r, false, &p);
        const QList<CalageClass>& rows = p.rows;
        QVERIFY(rows.size() > 30);
        QCOMPARE(p.polarRowCount, int(rows.size()));
        QCOMPARE(p.polarVx[0], -123.0);
        for (int k = 1; k < rows.size(); ++k) {
            QCOMPARE(p.polarVx[k], rows[k].vx);
            QCOMPARE(p.polarVy[k], rows[k].vy);
        }
    }

    // No rows: head, headings and separators, then why.
    void emptyPolarSaysWhy()
    {
        auto d = rectangularWing();
        ApameRes none;
        Polar p;
        QString problem;
        QVERIFY(!createPolar_BaseTable(*d, none, false, &p, &problem));
        const QList<PolarTableLine> lines = Polar_Table_Lines(*d, p, problem);
        QCOMPARE(p.polarRowCount, 0);
        const QList<PolarTableLine> after = rowLines(lines);
        QCOMPARE(after.size(), qsizetype(1));
        QCOMPARE(after[0].text, QStringLiteral("\t ") + problem);
        QVERIFY(problem.contains(QLatin1String("13")));
        QCOMPARE(lines.size(), qsizetype(20));

        // Results the polar takes, but no value gives a glide: said as well.
        ApameRes r = syntheticResults();
        d->towForce = 500;
        QVERIFY(createPolar_BaseTable(*d, r, false, &p, &problem));
        QVERIFY(p.rows.isEmpty());
        const QList<PolarTableLine> towed = rowLines(Polar_Table_Lines(*d, p, problem));
        QCOMPARE(towed.size(), qsizetype(1));
        QVERIFY(towed[0].text.contains(QLatin1String("tow line")));
    }

    void standardConstants()
    {
        auto d = rectangularWing();
        d->pilotArea = 0.6;
        d->towForce = 40;
        d->pilotCd = 0.5;
        d->ropesCd = 1.3;
        d->oswaldFactor = 1.2;
        d->totalWeight = 95;
        Standard_Polar_Constants(d.get());
        QCOMPARE(d->pilotArea, 0.45);
        QCOMPARE(d->towForce, 0.0);
        QCOMPARE(d->pilotCd, 0.78);
        QCOMPARE(d->ropesCd, 1.0);
        QCOMPARE(d->oswaldFactor, 1.0);
        QCOMPARE(d->totalWeight, 95.0);
    }

    void charts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("xCaption");
        QTest::addColumn<QString>("yCaption");
        QTest::addColumn<double>("sx");
        QTest::addColumn<double>("sy");
        QTest::addColumn<int>("gx");
        const int curve = int(ChartMode::Curve);
        QTest::newRow("drag") << 1 << curve << "Cd" << "angle of attack [deg]" << "Cd" << 1.0 << 1 / kS << 10;
        QTest::newRow("lift") << 2 << curve << "LIFT Cl" << "angle of attack [deg]" << "Cl" << 1.0 << 1 / kS << 10;
        QTest::newRow("glide over alpha") << 3 << curve << "Finesse(alfa)" << "alfa[deg] " << "gama[deg]" << 1.0
                                          << 1.0 << 10;
        QTest::newRow("glide over calage") << 4 << int(ChartMode::Finesse) << "Finesse(calage)  " << "calage[%]"
                                           << "gama[deg] " << 100.0 << 1.0 << 10;
        QTest::newRow("moment") << 5 << curve << "MOMENT GRAPH Cm(alpha) " << "angle of attack [deg]" << "Cm" << 1.0
                                << 1.0 << 10;
        QTest::newRow("speed polar") << 7 << int(ChartMode::Velocity) << "Velocity polar" << "Vx[m/sec]"
                                     << "Vy[m/sec]" << 1.0 << 1.0 << 5;
    }
    void charts()
    {
        QFETCH(int, kind);
        QFETCH(int, mode);
        QFETCH(QString, title);
        QFETCH(QString, xCaption);
        QFETCH(QString, yCaption);
        QFETCH(double, sx);
        QFETCH(double, sy);
        QFETCH(int, gx);
        auto d = rectangularWing();
        Polar p;
        p.polarRowCount = 17;
        PolarChart c;
        QVERIFY(Polar_Chart(*d, p, kind, &c));
        QCOMPARE(int(c.mode), mode);
        QCOMPARE(c.title, title);
        QCOMPARE(c.xCaption, xCaption);
        QCOMPARE(c.yCaption, yCaption);
        QCOMPARE(c.sx, sx);
        QVERIFY(std::fabs(c.sy - sy) < 1e-15);
        QCOMPARE(c.gx, gx);
        QCOMPARE(c.gy, 10);
        const double* ys[] = {nullptr, p.profileDragArea, p.liftArea, p.polarGama, p.polarGama, p.momentCoeff,
                              nullptr, p.polarVy};
        QCOMPARE(c.y, ys[kind]);
        QCOMPARE(c.x, kind == 4 ? p.polarSigma : kind == 7 ? p.polarVx : p.aeroAngle);
        QCOMPARE(c.count, kind == 7 ? 17 : 13);
    }

    void noChartForOtherKinds()
    {
        auto d = rectangularWing();
        const Polar p;
        PolarChart c;
        for (int kind : {0, 6, 8, -1})
            QVERIFY(!Polar_Chart(*d, p, kind, &c));
    }

    void chartPoints()
    {
        double x[13], y[13];
        for (int i = 0; i < 13; ++i) {
            x[i] = i;
            y[i] = 0.1 * i * i;
        }
        const QPolygonF curve = Chart_Points(ChartMode::Curve, 13, x, y);
        QCOMPARE(curve.size(), qsizetype(11));
        QCOMPARE(curve.first(), QPointF(1, -0.1));
        QCOMPARE(curve.last(), QPointF(11, -12.1));
        const QPolygonF all = Chart_Points(ChartMode::Finesse, 13, x, y);
        QCOMPARE(all.size(), qsizetype(13));
        QCOMPARE(all.first(), QPointF(0, 0));
        const QPolygonF speed = Chart_Points(ChartMode::Velocity, 13, x, y);
        QCOMPARE(speed.size(), qsizetype(11));
        QCOMPARE(speed.first(), QPointF(1, 0.1));
        for (int n : {0, 1, 2}) {
            QVERIFY(Chart_Points(ChartMode::Curve, n, x, y).isEmpty());
            QVERIFY(Chart_Points(ChartMode::Velocity, n, x, y).isEmpty());
        }
        QCOMPARE(Chart_Points(ChartMode::Velocity, 3, x, y).size(), qsizetype(1));

        double xMin, xMax, yMin, yMax;
        calcMinMax(curve, &xMin, &xMax, &yMin, &yMax);
        QCOMPARE(xMin, 1.0);
        QCOMPARE(xMax, 11.0);
        QCOMPARE(yMin, -12.1);
        QCOMPARE(yMax, -0.1);
        calcMinMax(QPolygonF(), &xMin, &xMax, &yMin, &yMax);
        QCOMPARE(xMin, 1e6);
        QCOMPARE(xMax, -1e6);
        QCOMPARE(yMin, 1e6);
        QCOMPARE(yMax, -1e6);
    }

    void yDecimals()
    {
        QCOMPARE(Chart_Y_Decimals(ChartMode::Curve, 10), 3);
        QCOMPARE(Chart_Y_Decimals(ChartMode::Velocity, 10), 3);
        QCOMPARE(Chart_Y_Decimals(ChartMode::Finesse, 10), 2);
        QCOMPARE(Chart_Y_Decimals(ChartMode::Curve, 30), 3);
        QCOMPARE(Chart_Y_Decimals(ChartMode::Curve, 40), 4);
        QCOMPARE(Chart_Y_Decimals(ChartMode::Finesse, 20), 2);
        QCOMPARE(Chart_Y_Decimals(ChartMode::Finesse, 30), 3);
    }

    // The sink vy = 1 + a (vx - c)^2 touches the line from the origin at
    // vx = sqrt((1 + a c^2) / a).
    void bestGlideTangent()
    {
        const double a = 0.02, c = 8;
        QPolygonF polar;
        for (double vx = 6; vx <= 16; vx += 0.05)
            polar.append(QPointF(vx, 1 + a * (vx - c) * (vx - c)));
        const int k = opt_Vx_poly(polar);
        QVERIFY2(std::fabs(polar[k].x() - std::sqrt((1 + a * c * c) / a)) < 0.1, qPrintable(QString::number(polar[k].x())));
        QCOMPARE(opt_Vx_poly(QPolygonF()), 0);
        QCOMPARE(opt_Vx_poly(QPolygonF{QPointF(3, 1)}), 0);
        // Points on the vertical axis are no candidates.
        QCOMPARE(opt_Vx_poly(QPolygonF{QPointF(0, 1), QPointF(0, 2)}), 0);
        QCOMPARE(Optimum_Text(QPointF(3, 4)),
                 QStringLiteral("(canopy optimum Vx:3.00 m/s; Vy:4.00 m/s)  result V= 18.00 km/h"));
    }

    // The axis captions keep off the curve: a curve through the foot of the
    // chart, where the x caption is wanted, or up the left side, where the
    // y caption is, moves the caption to a clear place inside the chart;
    // the title and the note then keep off the captions.
    void captionsKeepOffTheCurve_data()
    {
        QTest::addColumn<QPolygonF>("curve");
        const QRectF bounds(0, 20, 800, 560);
        QTest::newRow("through the x caption") << QPolygonF{{100, 300}, {660, 565}, {790, 570}};
        QTest::newRow("along the foot") << QPolygonF{{0, 555}, {800, 555}};
        QTest::newRow("up the left side") << QPolygonF{{70, 580}, {75, 20}};
        QTest::newRow("clear of both") << QPolygonF{{300, 100}, {500, 200}};
    }

    void captionsKeepOffTheCurve()
    {
        QFETCH(QPolygonF, curve);
        const QRectF bounds(0, 20, 800, 560);
        const QRectF wantedX(640, 555, 60, 14), wantedY(60, 220, 14, 80);
        const QRectF title(240, 25, 200, 20), note(400, 300, 150, 14);
        const QRectF values(0, 0, 50, 600);
        const ChartTextBoxes t =
            Place_Chart_Texts(bounds, curve, QLineF(), {values}, title, note, wantedX, wantedY);
        const QList<QRectF> boxes{t.xCaption, t.yCaption, t.title, t.note};
        for (const QRectF& box : boxes) {
            QVERIFY(!box.isNull());
            QVERIFY(bounds.contains(box));
            QVERIFY(!Polyline_Crosses(curve, box));
            QVERIFY(!box.intersects(values));
        }
        QVERIFY(!Labels_Overlap(boxes));
        QCOMPARE(t.xCaption.size(), wantedX.size());
        QCOMPARE(t.yCaption.size(), wantedY.size());
        // A caption nothing runs through stays where it is wanted.
        if (!Polyline_Crosses(curve, wantedX))
            QCOMPARE(t.xCaption, wantedX);
        if (!Polyline_Crosses(curve, wantedY))
            QCOMPARE(t.yCaption, wantedY);
        // No caption asked, none placed.
        QVERIFY(Place_Chart_Texts(bounds, curve, QLineF(), {}, title, note).xCaption.isNull());
    }
};

QTEST_GUILESS_MAIN(TestPolarView)
#include "tst_polarview.moc"
