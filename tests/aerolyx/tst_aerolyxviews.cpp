// The analyser's views: zoom and pan, pens, what each view draws before and
// after an airfoil is loaded, the stream lines leaving the trailing edge, the
// chord labels of the pressure-coefficient chart and the polar tables.

#include "apps/aerolyx/calc/conformalmap.h"
#include "apps/aerolyx/ui/cpview.h"
#include "apps/aerolyx/calc/flow.h"
#include "tests/common/foilgen.h"
#include "tests/common/overlap.h"
#include "apps/aerolyx/ui/mainwindow.h"
#include "apps/aerolyx/ui/mapviews.h"
#include "apps/aerolyx/ui/plotframe.h"
#include "apps/aerolyx/ui/polarviews.h"
#include "apps/aerolyx/ui/pressureview.h"
#include "apps/aerolyx/ui/streamview.h"
#include "apps/aerolyx/ui/velocityview.h"
#include "core/chartlabels.h"

#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QMouseEvent>
#include <QObject>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QLatin1String>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>
#include <memory>

using namespace aerolyx;

namespace {

int Colour_Count(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

void Wheel(QWidget* view, int delta)
{
    QWheelEvent e(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &e);
}

void Mouse(QWidget* view, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, at, view->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &e);
}

} // namespace

class TestViews : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    myData* d = nullptr;

    void Set_Angle(double degrees)
    {
        w->attangleEdit->setText(QString::number(degrees));
        emit w->attangleEdit->editingFinished();
    }

private slots:
    void initTestCase()
    {
        w = std::make_unique<MainWindow>();
        w->resize(1200, 850);
        w->show();
        d = GetMyData();
    }

    void viewsStayBlankBeforeALoad()
    {
        // Analysis views draw nothing of the analysis: one colour only.
        for (QWidget* view : std::initializer_list<QWidget*>{w->velocitywidget, w->cpwidget, w->cliftwidget_2,
                                                              w->momentumwidget, w->streamwidget, w->potwidget}) {
            view->resize(600, 400);
            QCOMPARE(Colour_Count(view->grab().toImage()), 1);
        }
        // The pressure view keeps no results yet.
        QVERIFY(std::isnan(w->potwidget->CpPosition()));
        QVERIFY(w->widget->Curves().isEmpty());
    }

    void zoomAndPan()
    {
        velocity view;
        view.resize(400, 300);
        Wheel(&view, 120);
        QVERIFY(std::fabs(view.ScaleFactor() - std::pow(2.0, 1.0 / 8)) < 1e-12);
        for (int i = 0; i < 40; ++i)
            Wheel(&view, 120);
        QCOMPARE(view.ScaleFactor(), kMaxScale);
        for (int i = 0; i < 80; ++i)
            Wheel(&view, -120);
        QCOMPARE(view.ScaleFactor(), kMinWheelScale);
        view.grab(); // painting never goes below 0.5
        QCOMPARE(view.ScaleFactor(), kMinPaintScale);

        Mouse(&view, QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton, Qt::MiddleButton);
        Mouse(&view, QEvent::MouseMove, QPoint(110, 100), Qt::NoButton, Qt::MiddleButton);
        QCOMPARE(view.XTrans(), 5.0);
        QCOMPARE(view.YTrans(), 0.0);
        // A right click changes nothing; a left click restores the view.
        Mouse(&view, QEvent::MouseButtonPress, QPoint(50, 50), Qt::RightButton, Qt::RightButton);
        QCOMPARE(view.XTrans(), 5.0);
        QCOMPARE(view.ScaleFactor(), kMinPaintScale);
        Mouse(&view, QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(view.ScaleFactor(), 1.0);
        QCOMPARE(view.XTrans(), 0.0);
        QCOMPARE(view.YTrans(), 0.0);
    }

    void penColours()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        QPainter p(&image);
        const QPen before(Qt::darkGreen, 7);
        for (int index : {0, 15, -1}) {
            p.setPen(before);
            SetPenColor(&p, index);
            QCOMPARE(p.pen(), before);
        }
        SetPenColor(&p, 9);
        QCOMPARE(p.pen().color(), QColor(Qt::darkBlue));
        QCOMPARE(p.pen().widthF(), 2.0);
        SetPenColor(&p, 3);
        QCOMPARE(p.pen().color(), QColor(Qt::cyan));
        QCOMPARE(p.pen().widthF(), 1.0);
        SetPenColor(&p, 13);
        QCOMPARE(p.pen().color(), QColor(Qt::green));
        QCOMPARE(p.pen().capStyle(), Qt::SquareCap);
        QCOMPARE(p.pen().joinStyle(), Qt::BevelJoin);
    }

    void load()
    {
        const QString foil = foilgen::writeFile(dir.path(), "naca4412.dat",
                                              foilgen::plainTable(foilgen::naca4({0.04, 0.4, 0.12, true}, 81)));
        QVERIFY(w->Open_Airfoil(foil));
        Set_Angle(5);
    }

    void everyTabShowsItsPlot()
    {
        const QByteArray shots = qgetenv("AEROLYX_SHOTS");
        for (int i = 0; i < w->tabWidget->count(); ++i) {
            w->tabWidget->setCurrentIndex(i);
            QCoreApplication::processEvents();
            const QImage image = w->tabWidget->currentWidget()->grab().toImage();
            if (!shots.isEmpty())
                image.save(QString("%1/tab%2.png").arg(QString::fromLocal8Bit(shots)).arg(i));
            QVERIFY2(Colour_Count(image) > 2, qPrintable(w->tabWidget->tabText(i)));
            // No tab without a name.
            QVERIFY2(!w->tabWidget->tabText(i).trimmed().isEmpty(), qPrintable(QString::number(i)));
        }
        if (!shots.isEmpty())
            w->grab().save(QString::fromLocal8Bit(shots) + "/window.png");
    }

    void conformalMapView()
    {
        // 40 by 14 circle-plane grid points, less those inside the circle.
        const QPolygonF grid = w->fftwidget->Mapped_Grid();
        QVERIFY(grid.size() > 400 && grid.size() < 560);
        const QPolygonF camber = SkeletonPoly(d, d->inputFoil);
        QCOMPARE(camber.size(), 64);
        // NACA 4412: the camber line peaks near 4 % at 40 % chord.
        double top = 0;
        for (const QPointF& p : camber)
            top = std::max(top, p.y());
        QVERIFY2(top > 0.03 && top < 0.05, qPrintable(QString::number(top)));
        const QList<QPolygonF> curves = w->widget->Curves();
        QCOMPARE(curves.size(), 8);
        for (const QPolygonF& c : curves)
            QCOMPARE(c.size(), 128);
        QCOMPARE(curves[7].last().y(), 1.0); // theta runs to a full turn
    }

    void velocityCurves()
    {
        const QPolygonF upper = w->velocitywidget->Upper_Curve();
        const QPolygonF lower = w->velocitywidget->Lower_Curve();
        QCOMPARE(upper.size(), 65);
        QCOMPARE(lower.size(), 64);
        QCOMPARE(upper.last(), lower.first());
        QCOMPARE(w->velocitywidget->Sketch().size(), 129);
    }

    void pressureCoefficientChart()
    {
        w->tabWidget->setCurrentIndex(4);
        w->cpwidget->grab();
        QCOMPARE(w->cpwidget->Upper_Curve().size(), 50);
        QCOMPARE(w->cpwidget->Lower_Curve().size(), 48);
        QCOMPARE(w->cpwidget->Outline().size(), 129);
        const int nose = f_nose_index(w->cpwidget->Outline());
        QVERIFY(nose > 50 && nose < 80);
        QVERIFY(w->cpwidget->Difference_Curve().size() <= nose - 2);
        QVERIFY(!d->cpPoints.isEmpty());
        // Lift: the lower side pushes harder than the upper side over most of
        // the chord.
        int positive = 0;
        for (const QPointF& p : d->cpPoints)
            positive += p.y() > 0;
        QVERIFY(positive > d->cpPoints.size() * 3 / 4);
    }

    void chordLabelsRunOverTheChord()
    {
        QCOMPARE(cpCoef::Chord_Label(0), QString("0.00"));
        QCOMPARE(cpCoef::Chord_Label(15), QString("1.00"));
        for (int i = 1; i <= 15; ++i)
            QVERIFY(cpCoef::Chord_Label(i).toDouble() > cpCoef::Chord_Label(i - 1).toDouble());
    }

    // The chord labels stand apart from what the chart explains: off the
    // Cp = 0 line, the airfoil drawn on it and the three curves, at small
    // and large incidence and at the sizes the window gives the chart.
    void chordLabelsStandClearOfTheCurves_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<QSize>("size");
        for (double angle : {0.0, 5.0, 12.0})
            for (const QSize size : {QSize(800, 470), QSize(1560, 720)})
                QTest::addRow("%g degrees, %d x %d", angle, size.width(), size.height()) << angle << size;
    }

    void chordLabelsStandClearOfTheCurves()
    {
        QFETCH(double, angle);
        QFETCH(QSize, size);
        Set_Angle(angle);
        w->tabWidget->setCurrentIndex(4);
        cpCoef* chart = w->cpwidget;
        chart->resize(size);
        chart->grab();
        const QList<QRectF> boxes = chart->Chord_Label_Boxes();
        QCOMPARE(boxes.size(), 16);
        QVERIFY(!Labels_Overlap(boxes));
        const double zeroLine = 0.5 * (size.height() - 1);
        for (int i = 0; i < boxes.size(); ++i) {
            const QRectF& b = boxes[i];
            const QString which = cpCoef::Chord_Label(i);
            QVERIFY2(QRectF(0, 0, size.width(), size.height()).contains(b), qPrintable(which));
            QVERIFY2(b.top() > zeroLine || b.bottom() < zeroLine, qPrintable(which));
            for (const QPolygonF* curve : {&chart->Outline(), &chart->Upper_Curve(), &chart->Lower_Curve(),
                                           &chart->Difference_Curve()})
                QVERIFY2(!Polyline_Crosses(*curve, b), qPrintable(which));
        }
        // The title, the Cp axis' name and the legend, too: off the curves,
        // the chord labels and each other, inside the view.
        const QList<QRectF> texts = chart->Text_Boxes();
        QCOMPARE(texts.size(), 3);
        for (const QRectF& t : texts) {
            QVERIFY(QRectF(0, 0, size.width(), size.height()).contains(t));
            for (const QPolygonF* curve : {&chart->Outline(), &chart->Upper_Curve(), &chart->Lower_Curve(),
                                           &chart->Difference_Curve()})
                QVERIFY(!Polyline_Crosses(*curve, t));
        }
        QVERIFY(!Labels_Overlap(texts + boxes));
        Set_Angle(5);
    }

    void streamLines()
    {
        const QList<double> values = Stream_Values();
        QCOMPARE(values.size(), 19);
        QCOMPARE(values.first(), 0.0);
        QVERIFY(values.last() <= 3.0);
        QVERIFY(values.last() + 0.03 * std::pow(1.15, 19) > 3.0);
        const QList<QPolygonF> lines = w->streamwidget->Stream_Lines();
        QCOMPARE(lines.size(), 37);
        for (const QPolygonF& line : lines)
            QVERIFY(line.size() > 20);
        QCOMPARE(w->streamwidget->Airfoil().size(), 128);
    }

    void streamLinesLeaveTheTrailingEdge_data()
    {
        QTest::addColumn<double>("angle");
        QTest::newRow("0 degrees") << 0.0;
        QTest::newRow("5 degrees") << 5.0;
        QTest::newRow("-8 degrees") << -8.0;
    }

    void streamLinesLeaveTheTrailingEdge()
    {
        // The rear stagnation point of the circle flow, where the stream
        // function's radial slope vanishes on the circle, must map onto the
        // trailing edge: then the dividing stream line leaves the airfoil
        // there, as the circulation demands.
        QFETCH(double, angle);
        Set_Angle(angle);
        const StreamTracer tracer(d, 1.0);
        const double k = Circulation(d);
        const double rear = std::asin(k / 2);
        const QPointF stagnation = tracer.New_Point(1.0, rear);
        const QPointF edge = f_conform(d, kMapCoefs, 1.0, 0.0, d->mapShiftX, d->mapShiftY, d->mapScale, d->mapCoefA,
                                       d->mapCoefB);
        QVERIFY2(QLineF(stagnation, QPointF(edge.x(), -edge.y())).length() < 1e-9,
                 qPrintable(QString("%1 %2").arg(stagnation.x()).arg(stagnation.y())));
        // ... and the surface speed there is zero in the flow quantities too.
        QVERIFY(std::fabs(f_V_Pot(d, kMapCoefs, 1.0, 1e-9, Effective_Angle(d))) < 1e-3);
        Set_Angle(5);
    }

    void pressureView()
    {
        w->tabWidget->setCurrentIndex(1);
        w->potwidget->grab();
        const double ac = w->potwidget->AcPosition();
        const double j = (ac - 0.2) / 0.0015;
        QVERIFY(std::fabs(j - std::round(j)) < 1e-6 && j >= 0 && j <= 66);
        QCOMPARE(w->potwidget->EffAngle(), Effective_Angle(d));
        QVERIFY(w->potwidget->CpPosition() > 0 && w->potwidget->CpPosition() < 1);
        QVERIFY(w->potwidget->NormalForce() != 0);
        const QPolygonF contour = w->potwidget->Contour();
        QCOMPARE(contour.size(), 128);
        const int nose = noseIndex(128, contour.constData());
        QVERIFY(nose >= 32 && nose < 96);
    }

    void pressureShapes()
    {
        QCOMPARE(f_arrow(1.0)[4], QPointF(0, -22));
        QCOMPARE(f_arrow(0.0)[4], QPointF(0, 22));
        QCOMPARE(f_cross(10).size(), 9);
        // Normals of a counter-clockwise square point inward on the screen.
        const QPointF square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
        QPointF normals[4];
        calculate_airfoil_normal(4, square, normals);
        QVERIFY(QLineF(normals[0], QPointF(0, -1)).length() < 1e-12);
        QCOMPARE(normals[1], normals[0]);
        QCOMPARE(normals[3], normals[2]);
    }

    void polarTables_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("lift") << 0 << " alpha           Cl"
                              << QStringList{"3.0000", "2.5000", "2.0000", "1.5000", "1.0000", "0.5000", "0.0000",
                                             "0.0000", "-0.5000", "-1.0000", "-1.5000", "-2.0000", "-2.5000",
                                             "-3.0000"};
        // The 4412's moment reaches beyond 0.1: the range is 0.2.
        QTest::newRow("moment") << 1 << " alpha           Cm"
                                << QStringList{"0.2000", "0.1000", "0.0000", "0.0000", "-0.1000", "-0.2000"};
    }

    void polarTables()
    {
        QFETCH(int, which);
        QFETCH(QString, header);
        QFETCH(QStringList, labels);
        PolarView* view = which == 0 ? static_cast<PolarView*>(w->cliftwidget_2) : w->momentumwidget;
        const QStringList rows = view->Table_Rows();
        QCOMPARE(rows.size(), 22);
        QCOMPARE(rows[0], header);
        for (int n = 0; n < 21; ++n) {
            const int alpha = n - 10;
            const double c = which == 0 ? f_Clift(d, alpha - d->zeroLiftAngle * 180 / M_PI)
                                        : f_Moment(d, alpha * M_PI / 180 - d->zeroLiftAngle, 0.25);
            QCOMPARE(rows[n + 1], QString::asprintf("%7.2f         %7.4f", double(alpha), c));
        }
        QCOMPARE(view->Grid_Labels(), labels);
        QCOMPARE(view->Curve().size(), 21);
    }

    // The angle axis of both polar charts at the sizes the window gives
    // them: round angles, none running into the next, none cut at the
    // view's edge, the zero among them; the texts read on the light lift
    // chart and on the dark moment chart alike.
    void polarAxisLabelsCanBeRead()
    {
        for (PolarView* view : {static_cast<PolarView*>(w->cliftwidget_2), static_cast<PolarView*>(w->momentumwidget)}) {
            for (const int width : {400, 560, 1100}) {
                view->resize(width, 470);
                const QList<PolarView::AxisLabel> labels = view->Angle_Labels();
                QVERIFY2(labels.size() >= 5, qPrintable(QString::number(labels.size())));
                QList<QRectF> boxes;
                bool zero = false;
                for (const PolarView::AxisLabel& l : labels) {
                    boxes << l.box.adjusted(-2, 0, 2, 0); // and a little air between them
                    QVERIFY2(l.box.left() >= 0 && l.box.right() <= width - 1, qPrintable(l.text));
                    bool ok = false;
                    const double v = l.text.toDouble(&ok);
                    QVERIFY(ok && std::abs(v) <= 15 && v == std::round(v));
                    zero = zero || l.text == QLatin1String("0");
                }
                QVERIFY(zero);
                QVERIFY2(!Labels_Overlap(boxes), qPrintable(QString::number(width)));
            }
            const QColor ground = view->palette().color(view->backgroundRole());
            QVERIFY2(Contrast_Ratio(view->Text_Colour(), ground) >= 4.5, qPrintable(ground.name()));
        }
    }

    // The charts' value ranges hold the whole sweep: a cambered airfoil's
    // moment (about -0.12 for the 4415, xfoil gives -0.11 to -0.13) stays
    // inside the moment chart, whose range grows to 0.2; where the values
    // fit, the ranges stay 0.1 and 3.
    void polarRangesHoldTheSweep_data()
    {
        QTest::addColumn<double>("camber");
        QTest::addColumn<double>("thickness");
        QTest::addColumn<QString>("liftTop");
        QTest::addColumn<QString>("momentTop");
        QTest::newRow("0012") << 0.0 << 0.12 << "3.0000" << "0.1000";
        QTest::newRow("2412") << 0.02 << 0.12 << "3.0000" << "0.1000";
        QTest::newRow("4415") << 0.04 << 0.15 << "3.0000" << "0.2000";
        QTest::newRow("6409") << 0.06 << 0.09 << "3.0000" << "0.2000";
    }

    void polarRangesHoldTheSweep()
    {
        QFETCH(double, camber);
        QFETCH(double, thickness);
        QFETCH(QString, liftTop);
        QFETCH(QString, momentTop);
        const QString foil = foilgen::writeFile(dir.path(), "range.dat",
                                                foilgen::plainTable(foilgen::naca4({camber, 0.4, thickness, true}, 81)));
        QVERIFY(w->Open_Airfoil(foil));
        for (PolarView* view : {static_cast<PolarView*>(w->cliftwidget_2), static_cast<PolarView*>(w->momentumwidget)}) {
            view->resize(560, 470);
            const QStringList labels = view->Grid_Labels();
            QCOMPARE(labels.first(), view == w->momentumwidget ? momentTop : liftTop);
            double largest = 0;
            for (int alpha = -10; alpha <= 10; ++alpha)
                largest = std::max(largest, std::abs(view->Coefficient(alpha)));
            QVERIFY2(labels.first().toDouble() >= largest, qPrintable(QString::number(largest)));
            QCOMPARE(labels.last(), "-" + labels.first());
            // Every point on the grid, which spans a quarter of the height
            // above and below the origin.
            const int h = view->height() - 1;
            for (const QPointF& p : view->Curve())
                QVERIFY2(p.y() >= 0 && p.y() <= h / 2, qPrintable(QString::number(p.y())));

            // The grid's values: every one written once, none where the
            // curve or its points run, none over another or an angle,
            // whole inside the chart.
            for (const int width : {400, 560, 1100}) {
                view->resize(width, 470);
                const QList<PolarView::AxisLabel> values = view->Value_Labels();
                QStringList texts;
                QList<QRectF> boxes;
                for (const PolarView::AxisLabel& l : values) {
                    texts << l.text;
                    boxes << l.box;
                    QVERIFY2(!Polyline_Crosses(view->Curve(), l.box), qPrintable(l.text));
                    for (const QPointF& p : view->Curve())
                        QVERIFY2(!l.box.intersects(QRectF(p - QPointF(3, 3), QSizeF(6, 6))), qPrintable(l.text));
                    QVERIFY2(QRectF(0, 0, width, 470).contains(l.box), qPrintable(l.text));
                }
                QStringList expected = labels;
                expected.removeOne(QStringLiteral("0.0000")); // (the zero row is written once)
                QCOMPARE(texts.size(), expected.size());
                for (const QString& t : expected)
                    QVERIFY2(texts.contains(t), qPrintable(t));
                for (const PolarView::AxisLabel& a : view->Angle_Labels())
                    boxes << a.box;
                QVERIFY(!Labels_Overlap(boxes));
            }
            view->resize(560, 470);
        }
        QVERIFY(w->Open_Airfoil(dir.filePath("naca4412.dat")));
        Set_Angle(5);
    }

    void liftGrowsWithIncidence()
    {
        const QPolygonF curve = w->cliftwidget_2->Curve();
        // Higher lift lies higher on the screen.
        for (int i = 1; i < curve.size(); ++i)
            QVERIFY(curve[i].y() < curve[i - 1].y());
        const double perDegree = (w->cliftwidget_2->Coefficient(5) - w->cliftwidget_2->Coefficient(-5)) / 10;
        QVERIFY2(perDegree > 0.09 && perDegree < 0.14, qPrintable(QString::number(perDegree)));
    }
};

QTEST_MAIN(TestViews)
#include "tst_aerolyxviews.moc"
