#include <QTest>
#include <QSize>
#include <QRectF>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIODevice>
#include <QJsonObject>
#include <QJsonValue>
#include <QLatin1String>
#include <QMetaObject>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QWheelEvent>

#include <QJsonArray>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QPrinter>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>

#include <memory>

#include "tests/common/dxfcheck.h"
#include "tests/common/overlap.h"
#include "core/curves.h"
#include "shape/ui/flatwing.h"
#include "tests/shape/shapefixture.h"
#include "tests/common/statewait.h"
#include "core/transf.h"

// The flat-shape editor on a realistic test wing: picking, dragging, wheel,
// keys, sliders, Cancel, and the DXF export with its printout.
class TestFlatWing : public QObject
{
    Q_OBJECT
    std::unique_ptr<FlatWingDialog> dialog;
    ParaStruct* live = nullptr;
    QTemporaryDir dir;
    ScriptedUser user;
    QStringList questions;
    bool answer = true;
    QStringList warnings;

    FlatWing* w() { return dialog->flatWing(); }

    void send(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(pos), w()->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(w(), &e);
    }
    void press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { send(QEvent::MouseButtonPress, p, b, b); }
    void move(QPoint p, Qt::MouseButtons b = Qt::LeftButton) { send(QEvent::MouseMove, p, Qt::NoButton, b); }
    void release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { send(QEvent::MouseButtonRelease, p, b, Qt::NoButton); }
    void wheel(int delta)
    {
        QWheelEvent e(QPointF(200, 200), w()->mapToGlobal(QPointF(200, 200)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w(), &e);
    }
    QPoint screenOf(int i)
    {
        return (w()->scale() * w()->controlPoints[i] + w()->translation()).toPoint();
    }

private slots:
    void init()
    {
        live = shapefixture::liveWing(34);
        live->projectName = QStringLiteral("alpha");
        GetGlobClass()->dxfDir = dir.path();
        QFile::remove(dir.filePath(QStringLiteral("flatwingshape.dxf")));
        questions.clear();
        warnings.clear();
        answer = true;
        user.onQuestion = [this](const QString& text, const QString&) {
            questions << text;
            return answer;
        };
        user.onWarning = [this](const QString&, const QString& text) { warnings << text; };
        user.onPrint = [](QPrinter*) { return false; };
        dialog = std::make_unique<FlatWingDialog>();
        dialog->resize(1400, 1000);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
    }

    void cleanup()
    {
        dialog.reset();
        user.onPrint = nullptr;
    }

    // The view draws the plan with point 4 at its origin; the design keeps
    // the points where they are (moved there, the whole wing would move by
    // a distance of the screen's size).
    void showLeavesThePlanWhereItIs()
    {
        QCOMPARE(w()->setupCount(), 1);
        const std::unique_ptr<ParaStruct> built = fixture::makeWing(34);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(live->planControlPoints[i], built->planControlPoints[i]);
        QCOMPARE(w()->controlPoints[4], live->planControlPoints[4]);
        QCOMPARE(dialog->currentRib(), 0);
    }

    void pressPicksTheFirstPointWithinTenPixels()
    {
        QPointF pts[8];
        for (int i = 0; i < 8; ++i)
            pts[i] = QPointF(100 * i, 0);
        pts[2] = QPointF(108, 0);
        QCOMPARE(set_selected_button(QPoint(104, 0), 1.0, QPointF(), pts), 1);
        QCOMPARE(set_selected_button(QPoint(300, 9), 1.0, QPointF(), pts), 3);
        QCOMPARE(set_selected_button(QPoint(300, 10), 1.0, QPointF(), pts), -1);
        QCOMPARE(set_selected_button(QPoint(650, 0), 2.0, QPointF(50, 0), pts), 3);

        press(screenOf(5));
        QCOMPARE(w()->selected(), 5);
        release(screenOf(5));
        press(QPoint(5, 5));
        QCOMPARE(w()->selected(), -1);
    }

    void dragRules_data()
    {
        QTest::addColumn<int>("point");
        QTest::addColumn<bool>("xMoves");
        QTest::addColumn<bool>("yMoves");
        QTest::newRow("leading-edge centre") << 0 << false << true;
        QTest::newRow("control point") << 1 << true << true;
        QTest::newRow("leading-edge tip") << 3 << false << true;
        QTest::newRow("trailing-edge centre") << 4 << false << false;
        QTest::newRow("trailing-edge control") << 6 << true << true;
        QTest::newRow("trailing-edge tip") << 7 << false << true;
    }

    void dragRules()
    {
        QFETCH(int, point);
        QFETCH(bool, xMoves);
        QFETCH(bool, yMoves);
        const QPointF before = w()->controlPoints[point];
        const QPoint start = screenOf(point);
        press(start);
        QCOMPARE(w()->selected(), point);
        // only every third move is handled, with the whole delta
        move(start + QPoint(3, 2));
        move(start + QPoint(6, 4));
        QCOMPARE(w()->controlPoints[point], before);
        move(start + QPoint(9, 6));
        release(start + QPoint(9, 6));
        const QPointF after = w()->controlPoints[point];
        QCOMPARE(after.x(), before.x() + (xMoves ? 9 : 0));
        QCOMPARE(after.y(), before.y() + (yMoves ? 6 : 0));
        // the next paint stores the points into the design
        w()->repaint();
        QCOMPARE(live->planControlPoints[point], after);
    }

    void dragOffAllPointsMovesNothing()
    {
        QPointF before[8];
        std::copy(w()->controlPoints, w()->controlPoints + 8, before);
        press(QPoint(3, 3));
        for (int k = 1; k <= 6; ++k)
            move(QPoint(3 + 10 * k, 3));
        release(QPoint(63, 3));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(w()->controlPoints[i], before[i]);
    }

    // At the form's size and at the screen's the plan, its labels and the
    // block of figures ("FLAT area" first) show whole below the header
    // lines and fill the view (not 60 % of a maximized window); the right
    // button fits it again after zoom and pan.
    void planFitsTheView()
    {
        for (const QSize size : {QSize(844, 608), QSize(1600, 1000), QSize(1400, 1000)}) {
            dialog->resize(size);
            QCoreApplication::processEvents();
            const QRectF drawing = w()->drawingExtent();
            QVERIFY(!drawing.isEmpty());
            const QRectF shown(w()->scale() * drawing.topLeft() + w()->translation(),
                               w()->scale() * drawing.bottomRight() + w()->translation());
            QVERIFY2(QRectF(w()->rect()).adjusted(7, 59, -7, -7).contains(shown),
                     qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                    .arg(shown.x()).arg(shown.y()).arg(shown.width()).arg(shown.height())
                                    .arg(w()->width()).arg(w()->height())));
            const QRectF area = QRectF(w()->rect()).adjusted(8, 60, -8, -8);
            QVERIFY2(shown.width() > 0.95 * area.width() || shown.height() > 0.95 * area.height(),
                     qPrintable(QStringLiteral("%1x%2 in %3x%4")
                                    .arg(shown.width()).arg(shown.height()).arg(area.width()).arg(area.height())));
        }
        const double fitted = w()->scale();
        const QPointF at = w()->translation();
        wheel(-480);
        press(QPoint(300, 300), Qt::MiddleButton);
        for (int k = 1; k <= 3; ++k)
            move(QPoint(300, 300 + 10 * k), Qt::MiddleButton);
        release(QPoint(300, 330), Qt::MiddleButton);
        QVERIFY(w()->scale() < fitted);
        press(QPoint(10, 10), Qt::RightButton);
        release(QPoint(10, 10), Qt::RightButton);
        QCOMPARE(w()->scale(), fitted);
        QCOMPARE(w()->translation(), at);
    }

    // The wing's figures stand off the plan: no rib, no edge of the plan
    // and no row of line attachments runs through them, and they show
    // whole in the view, at the form's size and larger.
    void figuresStandOffThePlan()
    {
        for (const QSize size : {QSize(844, 608), QSize(1600, 1000)}) {
            dialog->resize(size);
            QCoreApplication::processEvents();
            const QRectF block = w()->summaryBlock();
            QVERIFY(!block.isEmpty());
            const QPointF* P = w()->controlPoints;
            QList<QPolygonF> drawn = {Bezier_FourPoints(P[0], P[1], P[2], P[3]),
                                      Bezier_FourPoints(P[4], P[5], P[6], P[7])};
            for (int r = live->firstRib; r <= live->lastRib; ++r)
                drawn << QPolygonF({QPointF(live->ribSpanPos[r], live->leadingEdgeX[r]),
                                    QPointF(live->ribSpanPos[r], live->trailingEdgeX[r])});
            for (const QPolygonF& line : drawn)
                QVERIFY2(!Polyline_Crosses(line, block), qPrintable(QString::number(line.first().x())));
            // Below the trailing edge stand the ribs' numbers and cell
            // widths: the figures keep three lines of them free.
            for (int r = live->firstRib; r <= live->lastRib; ++r)
                QVERIFY(block.top() > live->trailingEdgeX[r] + 3 * 13);
            const QRectF shown(w()->scale() * block.topLeft() + w()->translation(),
                               w()->scale() * block.bottomRight() + w()->translation());
            QVERIFY(QRectF(w()->rect()).contains(shown));
        }
    }

    void wheelKeysAndRightButton()
    {
        const double fitted = w()->scale();
        const double fittedPan = w()->panY();
        for (int k = 0; k < 30; ++k)
            wheel(120);
        QCOMPARE(w()->scale(), 2.0);
        for (int k = 0; k < 60; ++k)
            wheel(-120);
        QCOMPARE(w()->scale(), 0.25);
        wheel(120);
        QVERIFY(qAbs(w()->scale() - 0.25 * std::pow(2.0, 0.125)) < 1e-12);

        // middle-button drag pans vertically
        press(QPoint(300, 300), Qt::MiddleButton);
        for (int k = 1; k <= 3; ++k)
            move(QPoint(300, 300 + 10 * k), Qt::MiddleButton);
        release(QPoint(300, 330), Qt::MiddleButton);
        QCOMPARE(w()->panY(), fittedPan + 30.0);

        // the right button resets zoom and pan to the fitted view
        press(QPoint(10, 10), Qt::RightButton);
        release(QPoint(10, 10), Qt::RightButton);
        QCOMPARE(w()->scale(), fitted);
        QCOMPARE(w()->panY(), fittedPan);

        const QPointF p2 = w()->controlPoints[2];
        press(screenOf(2));
        release(screenOf(2));
        QTest::keyClick(w(), Qt::Key_Left);
        QTest::keyClick(w(), Qt::Key_Down);
        QTest::keyClick(w(), Qt::Key_Down);
        QCOMPARE(w()->controlPoints[2], p2 + QPointF(-1, 2));
        const QPointF p4 = w()->controlPoints[4];
        press(screenOf(4));
        release(screenOf(4));
        QTest::keyClick(w(), Qt::Key_Up);
        QCOMPARE(w()->controlPoints[4], p4);
    }

    void offsetSliderActsOnInnerRibsOnly()
    {
        auto* spin = dialog->findChild<QSpinBox*>(QStringLiteral("ribspinBox"));
        auto* slider = dialog->findChild<QSlider*>(QStringLiteral("ribshiftSlider"));
        auto* label = dialog->findChild<QLabel*>(QStringLiteral("ribshiftlabel"));
        QCOMPARE(spin->maximum(), live->lastRib);
        const int last = live->lastRib;
        for (int rib : {0, 1, last}) {
            spin->setValue(rib);
            QMetaObject::invokeMethod(slider, "sliderMoved", Q_ARG(int, 40));
            QCOMPARE(live->ribShift[rib], 0.0);
            QCOMPARE(label->text(), QStringLiteral("0"));
        }
        spin->setValue(5);
        QMetaObject::invokeMethod(slider, "sliderMoved", Q_ARG(int, -30));
        QCOMPARE(live->ribShift[5], -30.0);
        QCOMPARE(label->text(), QStringLiteral("-30"));
    }

    void resetAskedAndCancelled()
    {
        auto* cells = dialog->findChild<QSlider*>(QStringLiteral("cellwidthSlider"));
        cells->setValue(40);
        QCOMPARE(live->cellWidthStep, 40);
        answer = false;
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("resetButton")), Qt::LeftButton);
        QCOMPARE(questions, QStringList{QStringLiteral("resetting value")});
        QCOMPARE(live->cellWidthStep, 40);
        QCOMPARE(cells->value(), 40);
        answer = true;
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("resetButton")), Qt::LeftButton);
        QCOMPARE(live->cellWidthStep, 0);
        QCOMPARE(cells->value(), 0);
    }

    void cancelRestoresTheDesignAsBeforeTheShow()
    {
        dialog->hide();
        auto saved = std::make_unique<ParaStruct>(*live);
        dialog->show();
        // edits: a point, the cell widths and a rib offset
        const QPoint start = screenOf(1);
        press(start);
        for (int k = 1; k <= 3; ++k)
            move(start + QPoint(0, 10 * k));
        release(start + QPoint(0, 30));
        w()->repaint();
        dialog->findChild<QSlider*>(QStringLiteral("cellwidthSlider"))->setValue(55);
        dialog->findChild<QSpinBox*>(QStringLiteral("ribspinBox"))->setValue(4);
        QMetaObject::invokeMethod(dialog->findChild<QSlider*>(QStringLiteral("ribshiftSlider")), "sliderMoved",
                                  Q_ARG(int, 25));
        QVERIFY(live->ribShift[4] != 0.0);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        for (int i = 0; i < 8; ++i)
            QCOMPARE(live->planControlPoints[i], saved->planControlPoints[i]);
        QCOMPARE(live->cellWidthStep, saved->cellWidthStep);
        for (int r = 0; r < kRibSlots; ++r)
            QCOMPARE(live->ribShift[r], saved->ribShift[r]);
        QCOMPARE(live->ribSpanPos[3], saved->ribSpanPos[3]);
    }

    void closingTheWindowRestoresToo()
    {
        dialog->hide();
        const QPointF p6 = live->planControlPoints[6];
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
        const QPointF shown6 = live->planControlPoints[6];
        const QPoint start = screenOf(6);
        press(start);
        QCOMPARE(w()->selected(), 6);
        for (int k = 1; k <= 3; ++k)
            move(start + QPoint(5 * k, 5 * k));
        release(start);
        w()->grab(); // a paint stores the points
        QVERIFY(live->planControlPoints[6] != shown6);
        dialog->close();
        QCOMPARE(live->planControlPoints[6], p6);
    }

    // OK after a change recomputes and raises the flags; OK without one
    // commits nothing.
    void okRecomputesAndRaisesTheFlags_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::newRow("a cell width step") << true;
        QTest::newRow("nothing") << false;
    }
    void okRecomputesAndRaisesTheFlags()
    {
        QFETCH(bool, changed);
        live->geometryChanged = false;
        live->linesOutdated = false;
        const unsigned long long revision = live->geometryChanged.revision();
        if (changed)
            dialog->findChild<QSlider*>("cellwidthSlider")->setValue(live->cellWidthStep + 7);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(bool(live->geometryChanged), changed);
        QCOMPARE(live->linesOutdated, changed);
        QCOMPARE(live->geometryChanged.revision() != revision, changed);
    }

    void dxfExportWritesTheFlatShape()
    {
        bool chordGraphWhilePrinting = true;
        QString pdf = dir.filePath(QStringLiteral("flat.pdf"));
        user.onPrint = [&](QPrinter* printer) {
            chordGraphWhilePrinting = w()->showChordGraph;
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        };
        QTest::mouseClick(dialog->findChild<QToolButton*>(QStringLiteral("printButton")), Qt::LeftButton);
        QCOMPARE(questions, QStringList{QStringLiteral(" Export to DXF ?")});
        QVERIFY(warnings.isEmpty());
        QVERIFY(!chordGraphWhilePrinting);
        QVERIFY(w()->showChordGraph);
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.read(4) == "%PDF");

        const QString path = dir.filePath(QStringLiteral("flatwingshape.dxf"));
        const QJsonObject r = ReadDxfWithEzdxf(path);
        QVERIFY2(r.value(QStringLiteral("ok")).toBool(), qPrintable(r.value(QStringLiteral("error")).toString()));
        QCOMPARE(r.value(QStringLiteral("audit_errors")).toInt(), 0);
        QCOMPARE(r.value(QStringLiteral("audit_fixes")).toInt(), 0);

        // header strings at point size 60, rib numbers at 30
        QStringList header;
        for (const QJsonValue& v : r.value(QStringLiteral("texts")).toArray()) {
            const QJsonArray t = v.toArray();
            const bool head = t.at(0).toString() == QLatin1String("head_text");
            QCOMPARE(t.at(4).toDouble(), head ? 60.0 : 30.0);
            if (head)
                header << t.at(1).toString();
        }
        QCOMPARE(header.size(), 8);
        QCOMPARE(header.at(0), QStringLiteral("Flat area [m2]: %1 ").arg(live->flatArea, 5, 'f', 2));
        QCOMPARE(header.at(1), QStringLiteral("Flat aspect ratio: %1 ").arg(live->flatAspectRatio, 4, 'f', 2));
        QCOMPARE(header.at(3), QStringLiteral("proj.  aspect ratio: %1 ").arg(live->projectedAspectRatio, 4, 'f', 2));
        QCOMPARE(header.at(5), QStringLiteral("Total span [m]: %1").arg(live->span, 4, 'f', 2));
        QCOMPARE(header.at(7), QStringLiteral("Aver. wing depth [m]: %1").arg(live->meanChord, 4, 'f', 2));

        // the leading and trailing edge lie on the planform's curves (0.1 mm)
        const double s = live->dxfScale;
        QVERIFY(s > 0);
        const QPointF* P = live->planControlPoints;
        const QPolygonF le = Bezier_FourPoints(P[0], P[1], P[2], P[3]);
        const QPolygonF te = Bezier_FourPoints(P[4], P[5], P[6], P[7]);
        auto distance = [](const QPolygonF& curve, QPointF q) {
            double best = 1e30;
            for (int i = 0; i + 1 < curve.size(); ++i) {
                const QPointF a = curve.at(i), b = curve.at(i + 1);
                const QPointF ab = b - a;
                const double len2 = QPointF::dotProduct(ab, ab);
                const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(q - a, ab) / len2, 0.0, 1.0) : 0.0;
                best = std::min(best, Dist2(q, a + t * ab));
            }
            return best;
        };
        int edgePoints = 0;
        for (const QJsonValue& v : r.value(QStringLiteral("lines")).toArray()) {
            const QJsonArray l = v.toArray();
            const QString layer = l.at(0).toString();
            if (layer != QLatin1String("Uy") && layer != QLatin1String("Dy"))
                continue;
            for (int end : {2, 5}) {
                const QPointF q(l.at(end).toDouble() / s, 500 - l.at(end + 1).toDouble() / s);
                const double mm = s * distance(layer == QLatin1String("Uy") ? le : te, q);
                QVERIFY2(mm < 0.1, qPrintable(QStringLiteral("%1 %2 mm").arg(layer).arg(mm)));
                ++edgePoints;
            }
        }
        QCOMPARE(edgePoints, 4 * live->lastRib - 4 * live->firstRib);
    }

    void declinedExportPrintsWithoutWriting()
    {
        answer = false;
        bool printed = false;
        user.onPrint = [&](QPrinter*) {
            printed = true;
            return false;
        };
        QTest::mouseClick(dialog->findChild<QToolButton*>(QStringLiteral("printButton")), Qt::LeftButton);
        QVERIFY(printed);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("flatwingshape.dxf"))));
    }

    void exportWithoutProjectIsReported()
    {
        GetGlobClass()->dxfDir.clear();
        w()->FlatWingShape_DXF();
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings.first().contains(QLatin1String("No project is open")));
        QVERIFY(!QFile::exists(QStringLiteral("/flatwingshape.dxf")));

        GetGlobClass()->dxfDir = dir.filePath(QStringLiteral("gone"));
        w()->FlatWingShape_DXF();
        QCOMPARE(warnings.size(), 2);
        QVERIFY(warnings.last().contains(QLatin1String("gone/flatwingshape.dxf")));
    }
};

QTEST_MAIN(TestFlatWing)
#include "tst_flatwing.moc"
