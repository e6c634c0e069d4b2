#include <QTest>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QIODevice>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringLiteral>
#include <QWheelEvent>

#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QLabel>
#include <QTemporaryDir>

#include <memory>

#include "tests/shape/shapefixture.h"
#include "tests/common/statewait.h"
#include "shape/ui/skintdialog.h"
#include "core/transf.h"
#include "core/billowarc.h"
#include "shape/billow.h"

// The billow-compensation editor on a realistic test wing: marker limits,
// wheel steps, selection, the log lines written at OK, Cancel, and the nose
// billow line.
class TestSkint : public QObject
{
    Q_OBJECT
    std::unique_ptr<SkintDialog> dialog;
    ParaStruct* live = nullptr;
    QTemporaryDir dir;

    SkintEdit* e() { return dialog->editor(); }

    void send(QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent ev(type, pos, e()->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(e(), &ev);
    }
    void dragMarker(int i, double toX)
    {
        const QPointF from = live->skinControlMarkers[i];
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, QPointF(toX, from.y()), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPointF(toX, from.y()), Qt::LeftButton, Qt::NoButton);
    }
    void wheel(int delta)
    {
        QWheelEvent ev(QPointF(100, 100), e()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(e(), &ev);
    }
    void showOn(int cells)
    {
        live = shapefixture::liveWing(cells);
        GetGlobClass()->dxfDir = dir.path();
        QFile::remove(dir.filePath(QStringLiteral("wingloft.log")));
        dialog = std::make_unique<SkintDialog>();
        dialog->resize(1200, 800);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
    }

private slots:
    void init() { showOn(34); }
    void cleanup() { dialog.reset(); }

    void markersStopAtTheirLimits()
    {
        dragMarker(4, e()->width());
        QCOMPARE(live->skinControlIndex[4], 3);
        QCOMPARE(live->skinControlMarkers[4].x(), e()->pos(3));
        dragMarker(5, -50);
        QCOMPARE(live->skinControlIndex[5], 997);
        dragMarker(1, e()->width());
        QCOMPARE(live->skinControlIndex[1], live->topIndex[1] + 3);
        dragMarker(3, 0);
        QCOMPARE(live->skinControlIndex[3], live->noseIndex[1] - 3);
        dragMarker(2, 0);
        QCOMPARE(live->skinControlIndex[2], live->bottomIndex[1] - 3);
    }

    void wheelSteps()
    {
        QCOMPARE(e()->wheelScale, 7.0);
        const double down[] = {3.5, 1.75, 1.0, 1.0};
        for (double expected : down) {
            wheel(-120);
            QCOMPARE(e()->wheelScale, expected);
        }
        dialog->hide();
        dialog->show();
        QCOMPARE(e()->wheelScale, 7.0);
        wheel(120);
        QCOMPARE(e()->wheelScale, 10.5);
        wheel(120);
        QCOMPARE(e()->wheelScale, 15.75);
    }

    void clickAwayClearsTheSelection()
    {
        const QPointF m2 = live->skinControlMarkers[2];
        send(QEvent::MouseButtonPress, m2, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, m2, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(e()->selectedMarker, 2);
        const int index = live->skinControlIndex[2];
        QTest::keyClick(e(), Qt::Key_Left);
        QVERIFY(live->skinControlIndex[2] > index);
        const int moved = live->skinControlIndex[2];
        send(QEvent::MouseButtonPress, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(e()->selectedMarker, 0);
        QTest::keyClick(e(), Qt::Key_Left);
        QCOMPARE(live->skinControlIndex[2], moved);
    }

    void okWritesOneLogLinePerRib_data()
    {
        QTest::addColumn<int>("cells");
        QTest::newRow("centre rib") << 34;
        QTest::newRow("centre cell") << 35;
    }

    void okWritesOneLogLinePerRib()
    {
        QFETCH(int, cells);
        dialog.reset();
        showOn(cells);
        auto* spin = dialog->findChild<QSpinBox*>(QStringLiteral("ribspinBox"));
        QCOMPARE(spin->minimum(), live->firstRib);
        QCOMPARE(spin->maximum(), live->lastRib - 1);
        // Nothing changed: OK commits no edit.
        const unsigned long long revision = live->geometryChanged.revision();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("acceptButton")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(live->geometryChanged.revision(), revision);
        QString expected;
        for (int r = live->firstRib; r <= live->lastRib; ++r)
            expected += QStringLiteral(" \n f_BCR:%1       rib:%2").arg(live->billowReduction[r], 0, 'f', 3).arg(r);
        QFile log(dir.filePath(QStringLiteral("wingloft.log")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()), expected);
    }

    void reductionsAreClampedAtShow()
    {
        dialog->hide();
        live->billowReductionUp = 120;
        live->billowReductionDown = -5;
        dialog->show();
        QCOMPARE(live->billowReductionUp, 99.0);
        QCOMPARE(live->billowReductionDown, 0.0);
        QCOMPARE(dialog->findChild<QSlider*>(QStringLiteral("reduct_slider_up_Box"))->value(), 99);
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("up_pos"))->text(), QStringLiteral("99"));
    }

    void cancelRestoresTheMarkers()
    {
        dialog->hide();
        int index[6];
        std::copy(live->skinControlIndex, live->skinControlIndex + 6, index);
        dialog->show();
        dragMarker(4, e()->width() / 2.0);
        dragMarker(5, 10);
        QVERIFY(live->skinControlIndex[5] != index[5]);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        for (int i = 0; i < 6; ++i)
            QCOMPARE(live->skinControlIndex[i], index[i]);
    }

    void noseBillowLineFollowsMarkerThree_data()
    {
        QTest::addColumn<bool>("rearHalf");
        QTest::newRow("marker 3 near the nose") << false;
        QTest::newRow("marker 3 in the rear half") << true;
    }

    void noseBillowLineFollowsMarkerThree()
    {
        QFETCH(bool, rearHalf);
        const int N = live->noseIndex[live->firstRib];
        // a stored marker may lie behind the highest point of the upper side
        const int I = rearHalf ? N / 2 - 40 : N - 60;
        live->skinControlIndex[3] = I;
        e()->Billow_Compensation();
        QCOMPARE(live->billowLineIndex, I);
        const QPolygonF F = live->ribAirfoils[1];
        const QPolygonF D = skint_dinamic(live, 1, 'D', 1.0, F);
        double a = 0, b = 0;
        for (int j = N; j >= I; --j) {
            a += Dist2(F.at(j + 1), F.at(j));
            b += Dist2(D.at(j + 1), D.at(j));
        }
        QVERIFY(std::isfinite(live->billowLineOffset));
        QVERIFY(qAbs(live->billowLineOffset - 0.5 * std::fabs(a - b)) < 1e-9 * (1 + b));
    }

    // Painting only draws: the billow line is computed when a marker or the
    // skin tension changes, not when the strip paints.
    void billowLineFollowsTheEditsNotThePainting()
    {
        live->billowLineIndex = 3;
        live->billowLineOffset = 42;
        e()->repaint();
        dialog->grab();
        QCOMPARE(live->billowLineIndex, 3);
        QCOMPARE(live->billowLineOffset, 42.0);

        dragMarker(3, live->skinControlMarkers[3].x() + 12);
        QCOMPARE(live->billowLineIndex, live->skinControlIndex[3]);
        const NoseBillow expected = Design_Nose_Billow(live);
        QCOMPARE(live->billowLineOffset, expected.lineOffset);
        QCOMPARE(e()->noseBillow().lineIndex, expected.lineIndex);

        live->billowLineOffset = 42;
        auto* slider = dialog->findChild<QSlider*>(QStringLiteral("reduct_slider_up_Box"));
        QVERIFY(slider);
        emit slider->sliderMoved(40);
        QCOMPARE(live->billowReductionUp, 40.0);
        QCOMPARE(live->billowLineOffset, Design_Nose_Billow(live).lineOffset);
        QVERIFY(live->billowLineOffset != 42.0);
    }
};

QTEST_MAIN(TestSkint)
#include "tst_skint.moc"
