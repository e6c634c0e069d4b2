#include <QTest>

#include "tests/common/statewait.h"
#include <QCoreApplication>
#include <QEvent>
#include <QMessageLogContext>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QWidget>

#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPushButton>

#include <memory>

#include "shape/ui/frontviewdialog.h"
#include "shape/frontview.h"
#include "core/chartlabels.h"
#include "core/curves.h"
#include "tests/common/overlap.h"
#include <QLineF>
#include <QSizeF>
#include "tests/shape/shapefixture.h"
#include "tests/common/statewait.h"

// The base-line editor on a realistic test wing: the pinned centre node,
// dragging, keys, zoom limits, the handle lines, Cancel and accept.
class TestFrontView : public QObject
{
    Q_OBJECT
    std::unique_ptr<FrontViewDialog> dialog;
    ParaStruct* live = nullptr;

    FaceWidget* view() { return dialog->faceWidget(); }

    void drag(int node, QPointF toScene)
    {
        QWidget* vp = view()->viewport();
        const QPoint from = view()->mapFromScene(view()->node(node)->scenePos());
        const QPoint to = view()->mapFromScene(toScene);
        auto send = [vp](QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons bs) {
            QMouseEvent e(t, QPointF(p), vp->mapToGlobal(QPointF(p)), b, bs, Qt::NoModifier);
            QCoreApplication::sendEvent(vp, &e);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        for (int k = 1; k <= 4; ++k)
            send(QEvent::MouseMove, from + (to - from) * k / 4, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }

private slots:
    void init()
    {
        live = shapefixture::liveWing(34);
        dialog = std::make_unique<FrontViewDialog>();
        dialog->resize(1200, 1000);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
    }

    void cleanup() { dialog.reset(); }

    void showPlacesTheNodesFromTheDesign()
    {
        for (int i = 0; i < 4; ++i)
            QCOMPARE(view()->node(i)->pos(), live->frontControlPoints[i]);
        QCOMPARE(view()->arc()->pos(), QPointF(0, 0));
        QCOMPARE(view()->arc()->arcLength, live->frontArcLength);
    }

    void centreNodeStaysPinned()
    {
        drag(0, QPointF(300, 400));
        QCOMPARE(view()->node(0)->pos(), QPointF(0, 100));
        QCOMPARE(live->frontControlPoints[0], QPointF(0, 100));
        view()->node(0)->setPos(-50, 20);
        QCOMPARE(view()->node(0)->pos(), QPointF(0, 100));
    }

    void draggingTheTipChangesTheArc()
    {
        const double before = live->frontArcLength;
        const QPointF tip = view()->node(3)->scenePos();
        drag(3, tip + QPointF(-80, 120));
        QVERIFY(view()->node(3)->pos() != tip);
        QCOMPARE(live->frontControlPoints[3], view()->node(3)->pos());
        QVERIFY(qAbs(live->frontArcLength - before) > 1.0);
        QCOMPARE(view()->arc()->arcLength, live->frontArcLength);
        QCOMPARE(view()->arc()->points[3], view()->node(3)->pos());
    }

    void arrowKeysMoveSelectedNodes()
    {
        const QPointF p2 = view()->node(2)->pos();
        view()->node(2)->setSelected(true);
        view()->node(0)->setSelected(true);
        QTest::keyClick(view(), Qt::Key_Right);
        QTest::keyClick(view(), Qt::Key_Down);
        QCOMPARE(view()->node(2)->pos(), p2 + QPointF(1, 1));
        QCOMPARE(view()->node(0)->pos(), QPointF(0, 100));
        QCOMPARE(live->frontControlPoints[2], p2 + QPointF(1, 1));
    }

    void zoomStopsAtItsLimits()
    {
        auto unit = [this] { return view()->transform().mapRect(QRectF(0, 0, 1, 1)).width(); };
        const double start = unit();
        QTest::keyClick(view(), Qt::Key_Plus);
        QTest::keyClick(view(), Qt::Key_Minus);
        QVERIFY(qAbs(unit() - start) < 1e-12);
        for (int k = 0; k < 100; ++k)
            QTest::keyClick(view(), Qt::Key_Plus);
        QVERIFY(unit() <= 100 && unit() > 100 / 1.2);
        for (int k = 0; k < 200; ++k)
            view()->scaleView(1 / 1.2);
        QVERIFY(unit() >= 0.05 && unit() < 0.05 * 1.2);
    }

    // The editor opens with the arc, its nodes and the figures whole in the
    // view and filling it, at the form's size and maximized, not scrolled
    // to the middle of the scene; the user's zoom survives a resize, and
    // the next opening fits again.
    void opensFitted_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::newRow("form's size") << QSize(665, 542);
        QTest::newRow("maximized") << QSize(1600, 1000);
    }
    void opensFitted()
    {
        QFETCH(QSize, window);
        dialog->hide();
        dialog->resize(window);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
        auto shownWhole = [this]() {
            const QRectF drawing = view()->drawingExtent();
            // The figures block and every node are part of it.
            if (!drawing.contains(QRectF(0, 218, 400, 245)))
                return QStringLiteral("the figures are not in the drawing");
            for (int i = 0; i < 4; ++i)
                if (!drawing.contains(view()->node(i)->scenePos()))
                    return QStringLiteral("node %1 is not in the drawing").arg(i);
            const QRectF shown = view()->mapFromScene(drawing).boundingRect();
            const QRectF pane = view()->viewport()->rect();
            if (!pane.contains(shown))
                return QStringLiteral("%1,%2 %3x%4 leaves the pane %5x%6")
                    .arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())
                    .arg(pane.width()).arg(pane.height());
            if (shown.width() < 0.8 * pane.width() && shown.height() < 0.8 * pane.height())
                return QStringLiteral("%1x%2 is small in %3x%4")
                    .arg(shown.width()).arg(shown.height()).arg(pane.width()).arg(pane.height());
            return QString();
        };
        QString problem = shownWhole();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        auto unit = [this] { return view()->transform().mapRect(QRectF(0, 0, 1, 1)).width(); };
        QTest::keyClick(view(), Qt::Key_Plus);
        const double zoomed = unit();
        dialog->resize(window + QSize(100, 50));
        WAIT_FOR_EQUAL(dialog->width(), window.width() + 100);
        QCOMPARE(unit(), zoomed);
        dialog->hide();
        dialog->resize(window);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
        problem = shownWhole();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void shortHandleLinesAreNotDrawn()
    {
        fEdge* e = view()->edge(0);
        view()->node(1)->setPos(20, 100);
        QCOMPARE(e->sourcePoint, e->destPoint);
        view()->node(1)->setPos(20.5, 100);
        QCOMPARE(e->sourcePoint, QPointF(10, 100));
        QCOMPARE(e->destPoint, QPointF(10.5, 100));
    }

    void cancelRestoresTheDesignExactly()
    {
        dialog->hide();
        auto saved = std::make_unique<ParaStruct>(*live);
        dialog->show();
        drag(3, view()->node(3)->scenePos() + QPointF(-100, 50));
        drag(1, view()->node(1)->scenePos() + QPointF(30, 40));
        QVERIFY(live->frontControlPoints[3] != saved->frontControlPoints[3]);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(live->frontControlPoints[i], saved->frontControlPoints[i]);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(live->planControlPoints[i], saved->planControlPoints[i]);
        QCOMPARE(live->frontArcLength, saved->frontArcLength);
        for (int r = 0; r < kRibSlots; ++r) {
            QCOMPARE(live->frontY[r], saved->frontY[r]);
            QCOMPARE(live->frontZ[r], saved->frontZ[r]);
            QCOMPARE(live->ribAngle[r], saved->ribAngle[r]);
        }
        dialog->show();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(view()->node(i)->pos(), saved->frontControlPoints[i]);
    }

    void closingTheWindowKeepsTheEdit()
    {
        drag(3, view()->node(3)->scenePos() + QPointF(-60, 40));
        const QPointF edited = live->frontControlPoints[3];
        const double arc = live->frontArcLength;
        live->geometryChanged = false;
        dialog->close();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(live->frontControlPoints[3], edited);
        QCOMPARE(live->frontArcLength, arc);
        QVERIFY(!live->geometryChanged);
    }

    void acceptRecomputesAndRaisesTheFlags()
    {
        live->geometryChanged = false;
        live->linesOutdated = false;
        drag(2, view()->node(2)->scenePos() + QPointF(20, 20));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("acceptButton")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(live->geometryChanged);
        QVERIFY(live->linesOutdated);
    }

    void figuresOfTinyOrFlatWings_data()
    {
        QTest::addColumn<int>("cells");
        QTest::addColumn<double>("hang");
        QTest::addColumn<bool>("circle");
        QTest::newRow("two cells") << 2 << 7.0 << false;
        QTest::newRow("no hang height") << 34 << 0.0 << false;
        QTest::newRow("four cells") << 4 << 7.0 << true;
    }

    void figuresOfTinyOrFlatWings()
    {
        QFETCH(int, cells);
        QFETCH(double, hang);
        QFETCH(bool, circle);
        // no reference circle for a wing without side cells or a pilot height:
        // drawing the figures must neither divide by zero nor hang
        dialog->hide();
        live = shapefixture::liveWing(cells);
        live->hangHeight = hang;
        dialog->show();
        QImage img(800, 800, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        QStringList warnings;
        static QStringList* sink;
        sink = &warnings;
        auto old = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { *sink << m; });
        view()->scene()->render(&p);
        qInstallMessageHandler(old);
        p.end();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
        QVERIFY(std::isfinite(live->flatArea));
        // the cyan reference curve comes with the reference circle
        int cyan = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                cyan += (img.pixel(x, y) & 0xffffff) == 0x00ffff;
        QCOMPARE(cyan > 0, circle);
    }

    // Painting only draws: figures left stale in the record stay so while
    // the view paints; showing the dialog and moving the base line bring
    // them up to date (the flat area does not depend on the base line).
    void paintingLeavesTheFiguresToTheEdits()
    {
        const double area = live->flatArea;
        QVERIFY(area > 0);
        live->flatArea = -1;
        live->projectedArea = -1;
        QImage img(400, 400, QImage::Format_RGB32);
        QPainter p(&img);
        view()->scene()->render(&p);
        p.end();
        QCOMPARE(live->flatArea, -1.0);
        QCOMPARE(live->projectedArea, -1.0);

        dialog->hide();
        live->flatArea = -1;
        dialog->show();
        QVERIFY(qAbs(live->flatArea - area) < 1e-9 * area);

        live->flatArea = -1;
        live->projectedArea = -1;
        drag(2, view()->node(2)->scenePos() + QPointF(15, 25));
        QVERIFY(qAbs(live->flatArea - area) < 1e-9 * area);
        QVERIFY(live->projectedArea > 0 && live->projectedArea < live->flatArea);
    }

    // The ribs' numbers stand beside their rings, off the arc, the reference
    // circle and curve, and apart: with the base line as the design has it
    // and with its tip pulled out, which lays the arc over the circle.
    void ribNumbersKeepOffTheLines_data()
    {
        QTest::addColumn<QPointF>("tipPull");
        QTest::newRow("as designed") << QPointF(0, 0);
        QTest::newRow("tip pulled out") << QPointF(60, -40);
    }

    void ribNumbersKeepOffTheLines()
    {
        QFETCH(QPointF, tipPull);
        if (!tipPull.isNull())
            drag(3, view()->node(3)->scenePos() + tipPull);
        const FrontViewFigures f = Front_View_Figures(*live);
        QVERIFY(f.ribs.size() > 10);
        const QPointF* p = view()->arc()->points;
        const QList<QPolygonF> lines{Bezier_FourPoints(p[0], p[1], p[2], p[3]), f.circle, f.reference};
        QList<QSizeF> sizes;
        for (int r = 0; r < f.ribs.size(); ++r)
            sizes << QSizeF(r < 10 ? 7 : 14, 12);
        const QList<QRectF> boxes = Rib_Number_Boxes(f.ribs, sizes, lines, 5);
        QCOMPARE(boxes.size(), f.ribs.size());
        int placed = 0;
        for (int r = 0; r < boxes.size(); ++r) {
            if (boxes[r].isNull())
                continue;
            ++placed;
            QCOMPARE(boxes[r].size(), sizes[r]);
            for (const QPolygonF& line : lines)
                QVERIFY2(!Polyline_Crosses(line, boxes[r]), qPrintable(QString::number(r)));
            for (const QPointF& rib : f.ribs)
                QVERIFY(!boxes[r].intersects(QRectF(rib - QPointF(5, 5), QSizeF(10, 10))));
            // near its own rib
            QVERIFY(QLineF(boxes[r].center(), f.ribs[r]).length() < 30);
        }
        // Ribs 0 and 1 crowd the centre node: every other one is numbered.
        QVERIFY2(placed >= boxes.size() - 2, qPrintable(QString::number(placed)));
        QVERIFY(!Labels_Overlap(boxes));
    }
};

QTEST_MAIN(TestFrontView)
#include "tst_frontview.moc"
