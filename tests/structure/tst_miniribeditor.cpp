// The mini-ribs and reinforcements editor on the default design: what
// showing it writes (nothing), the handles and their (lambda, mu) pairs,
// the resets, the cell selections, the twist, OK and Cancel.

#include <QTest>
#include <QRectF>
#include <QLineF>
#include <QSignalSpy>
#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QPointF>
#include <QString>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

#include "core/parastruct.h"
#include "geom/ribunfold.h"
#include "structure/diagtables.h"
#include "geom/reinforce.h"
#include "structure/ui/miscport_dialog.h"
#include "structure/ui/miscport_edit.h"
#include "tests/common/scripteduser.h"
#include "tests/structure/editorfixture.h"
#include "tests/common/recordimage.h"

#include <algorithm>
#include <cstring>
#include <memory>

using namespace editors;

namespace {

QByteArray bytesOf(const ParaStruct* d)
{
    return recordImage(*d);
}

bool near(QPointF a, QPointF b, double tol = 1e-9)
{
    return std::fabs(a.x() - b.x()) <= tol && std::fabs(a.y() - b.y()) <= tol;
}

} // namespace

class TestMiniribEditor : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    std::unique_ptr<MiscPortDialog> dialog;
    ParaStruct* live = nullptr;

    template <class T>
    T* child(const char* name) const
    {
        return named<T>(dialog.get(), name);
    }
    CrossEdit* view() const { return dialog->editor(); }
    QTabWidget* tabs() const { return child<QTabWidget>("tabWidget"); }

    // A design with reinforcements to edit.
    void giveReinforcements(ParaStruct* d)
    {
        d->minirib.mylarStart = 30;
        d->minirib.mylarEnd = 20;
        for (int k = 0; k < 5; ++k) {
            d->minirib.mylarSplineA[k] = 0.15 * (k + 1);
            d->minirib.mylarSplineB[k] = 0.8;
        }
        d->rod1.index[0] = 120;
        d->rod1.index[1] = 80;
        d->rod2.index[0] = 60;
        d->rod2.index[1] = 90;
        for (int k = 0; k < 4; ++k) {
            Set_Rod_Shape_Pair(&d->rod1, k, QPointF(0.2 * (k + 1), 0.9));
            Set_Rod_Shape_Pair(&d->rod2, k, QPointF(0.2 * (k + 1), 0.7));
        }
        d->minirib.frontRibStart = 12;
        d->minirib.frontRibEnd = 8;
        d->minirib.rearRibPosition = 30;
        for (int c = 0; c < kStructSlots; ++c)
            d->frontRibEnabled[c] = d->rearRibEnabled[c] = c >= 2 && c < 6;
    }
    void open() { QVERIFY(showAt(dialog.get(), 1100, 900)); }
    void dragHandle(QPointF point, QPointF by)
    {
        const QPointF at = view()->toScreen(point);
        press(view(), at);
        mouse(view(), QEvent::MouseMove, at + by, Qt::NoButton, Qt::LeftButton);
        release(view(), at + by);
    }

private slots:
    void init()
    {
        live = liveDefault();
        giveReinforcements(live);
        user.onQuestion = {};
        user.asked.clear();
        dialog = std::make_unique<MiscPortDialog>();
        open();
    }
    void cleanup() { dialog.reset(); }

    void opensOnTheRearTab()
    {
        QCOMPARE(dialog->windowTitle(), QString("Miniribs and reinforcements"));
        QCOMPARE(tabs()->currentIndex(), 1);
        QCOMPARE(tabs()->tabText(1), QString("Rear minribs"));
        QCOMPARE(child<QSlider>("startmilarSlider")->value(), 30);
        QCOMPARE(child<QSlider>("upSlider")->value(), 120);
        QCOMPARE(child<QLabel>("upLabel")->text(), QString("120"));
        QCOMPARE(child<QLineEdit>("rearribsEdit")->text(), QString("( 2,3,4,5)"));
        QCOMPARE(child<QLineEdit>("rearrib_cavityEdit")->text(), QString("0.30"));
        QCOMPARE(live->maxTwistAngle, 0.0);
        QCOMPARE(view()->mylar().points.size(), 5);
        QCOMPARE(view()->upperRod().points.size(), 4);
        QCOMPARE(view()->lowerRod().points.size(), 4);
        QCOMPARE(view()->holePolygons().isEmpty(), false);
        keepPicture(dialog.get(), "miniribs_rear");
        const char* names[] = {"miniribs_milar", "miniribs_rear", "miniribs_front", "miniribs_upper", "miniribs_lower"};
        for (int t = 0; t < 5; ++t) {
            tabs()->setCurrentIndex(t);
            keepPicture(dialog.get(), names[t]);
        }
    }

    // The default design as it is shipped: every slider, field and handle
    // shows the stored value as it stands (no slider limits it, no pair is
    // clamped), both mini-ribs are drawn on rib 1, and OK leaves every
    // setting as it was.
    void defaultDesignShownAsStored()
    {
        dialog.reset();
        live = liveDefault();
        const ParaStruct& shipped = fixture::defaultDesign();
        dialog = std::make_unique<MiscPortDialog>();
        open();
        const MiniribData& m = shipped.minirib;
        QCOMPARE(child<QSlider>("startmilarSlider")->value(), m.mylarStart);
        QCOMPARE(child<QSlider>("endmilarSlider")->value(), m.mylarEnd);
        QCOMPARE(child<QSlider>("rearribposSlider")->value(), m.rearRibPosition);
        QCOMPARE(child<QSlider>("startfrontSlider")->value(), m.frontRibStart);
        QCOMPARE(child<QSlider>("endfrontSlider")->value(), m.frontRibEnd);
        QCOMPARE(child<QSlider>("upSlider")->value(), shipped.rod1.index[0]);
        QCOMPARE(child<QSlider>("dwSlider")->value(), shipped.rod1.index[1]);
        QCOMPARE(child<QSlider>("leftSlider")->value(), shipped.rod2.index[0]);
        QCOMPARE(child<QSlider>("rightSlider")->value(), shipped.rod2.index[1]);
        QCOMPARE(child<QLineEdit>("rearrib_cavityEdit")->text().toDouble(), m.rearRibCavity);
        QCOMPARE(child<QLineEdit>("frontribsEdit")->text(), Bfield_To_Edit(&shipped, shipped.frontRibEnabled));
        QCOMPARE(child<QLineEdit>("rearribsEdit")->text(), Bfield_To_Edit(&shipped, shipped.rearRibEnabled));
        for (int k = 0; k < 5; ++k)
            QCOMPARE(view()->mylar().pairs.at(k), QPointF(m.mylarSplineA[k], m.mylarSplineB[k]));
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(view()->upperRod().pairs.at(k), Rod_Shape_Pair(shipped.rod1, k));
            QCOMPARE(view()->lowerRod().pairs.at(k), Rod_Shape_Pair(shipped.rod2, k));
        }
        QVERIFY(view()->frontMiniRibOutline().size() > 10);
        QVERIFY(view()->rearMiniRibOutline().size() > 10);
        QVERIFY(!view()->mylarShape().isEmpty());
        QVERIFY(!view()->upperRodPath().isEmpty() && !view()->lowerRodPath().isEmpty());
        keepPicture(dialog.get(), "miniribs_default_design");

        QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton);
        const MiniribData& after = live->minirib;
        QCOMPARE(after.mylarStart, m.mylarStart);
        QCOMPARE(after.mylarEnd, m.mylarEnd);
        QCOMPARE(after.frontRibStart, m.frontRibStart);
        QCOMPARE(after.frontRibEnd, m.frontRibEnd);
        QCOMPARE(after.rearRibPosition, m.rearRibPosition);
        QCOMPARE(after.rearRibCavity, m.rearRibCavity);
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(after.mylarSplineA[k], m.mylarSplineA[k]);
            QCOMPARE(after.mylarSplineB[k], m.mylarSplineB[k]);
        }
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&live->rod1), sizeof(NoseRod)),
                 QByteArray(reinterpret_cast<const char*>(&shipped.rod1), sizeof(NoseRod)));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&live->rod2), sizeof(NoseRod)),
                 QByteArray(reinterpret_cast<const char*>(&shipped.rod2), sizeof(NoseRod)));
        QVERIFY(std::equal(std::begin(live->frontRibEnabled), std::end(live->frontRibEnabled),
                           std::begin(shipped.frontRibEnabled)));
        QVERIFY(std::equal(std::begin(live->rearRibEnabled), std::end(live->rearRibEnabled),
                           std::begin(shipped.rearRibEnabled)));
        QCOMPARE(live->maxTwistAngle, shipped.maxTwistAngle);
    }

    // Values beyond a slider's range, a fractional rear position and a
    // cavity of three decimals stay as stored unless the user edits them.
    void showingWritesNothing()
    {
        QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        live->rod1.index[1] = 600;
        live->minirib.rearRibPosition = 12.7;
        live->minirib.rearRibCavity = 0.333;
        open();
        QCOMPARE(child<QSlider>("dwSlider")->value(), 500);
        QCOMPARE(child<QLineEdit>("rearrib_cavityEdit")->text(), QString("0.33"));
        QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton);
        QCOMPARE(live->rod1.index[1], 600);
        QCOMPARE(live->minirib.rearRibPosition, 12.7);
        QCOMPARE(live->minirib.rearRibCavity, 0.333);
        // Moved by the user, the slider's value is stored.
        open();
        child<QSlider>("dwSlider")->setValue(450);
        QCOMPARE(live->rod1.index[1], 450);
        child<QLineEdit>("rearrib_cavityEdit")->setText("0,25");
        QCOMPARE(live->minirib.rearRibCavity, 0.25);
    }

    void rodResetAsksFirst()
    {
        user.answerQuestions(false);
        QTest::mouseClick(child<QPushButton>("resetrodsButton"), Qt::LeftButton);
        QCOMPARE(user.count("question"), 1);
        QCOMPARE(user.asked.last().title, QString("reset rod position"));
        QCOMPARE(user.asked.last().text, QString(" Ok or Cancel ?"));
        QCOMPARE(Rod_Shape_Pair(live->rod1, 0), QPointF(0.2, 0.9));

        user.answerQuestions(true);
        QTest::mouseClick(child<QPushButton>("resetrodsButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>("resetrodsButton_2"), Qt::LeftButton);
        for (int k = 0; k < 4; ++k) {
            for (const NoseRod* rod : {&live->rod1, &live->rod2}) {
                const QPointF pair = Rod_Shape_Pair(*rod, k);
                QVERIFY(std::fabs(pair.x() - 0.15 * (k + 1)) < 1e-12);
                QVERIFY(std::fabs(pair.y() - 1.0) < 1e-9);
            }
            // On the chord between the ends.
            const ReinforceCurve& c = view()->upperRod();
            QVERIFY(near(c.points[k], (1 - 0.15 * (k + 1)) * c.first + 0.15 * (k + 1) * c.second));
        }
        QCOMPARE(live->minirib.mylarSplineB[0], 0.8);   // the mylar is not a rod
        user.answerQuestions(true);
        QTest::mouseClick(child<QToolButton>("resetmilarButton"), Qt::LeftButton);
        QCOMPARE(user.asked.last().title, QString(" reset milar in-spline ?"));
        QCOMPARE(user.asked.last().text, QString(" Y or Cancel"));
        QVERIFY(std::fabs(live->minirib.mylarSplineA[4] - 0.75) < 1e-12);
        QVERIFY(std::fabs(live->minirib.mylarSplineB[4] - 1.0) < 1e-9);
    }

    void draggingAHandleChangesItsPair()
    {
        const ReinforceCurve before = view()->upperRod();
        dragHandle(before.points[1], QPointF(20, -12));
        QCOMPARE(view()->selectedHandle(), 11);
        const ReinforceCurve& after = view()->upperRod();
        const QPointF moved = before.points[1] + QPointF(20, -12) / (1024 * view()->zoom());
        QVERIFY(near(after.points[1], moved, 1e-12));
        const QPointF pair = Rod_Shape_Pair(live->rod1, 1);
        QVERIFY(pair != QPointF(0.4, 0.9));
        // The stored pair gives the point back.
        QVERIFY(near(fun_T(after.first, after.reference, after.second, pair.x(), pair.y()), moved, 1e-9));
        // The other points keep theirs.
        QCOMPARE(Rod_Shape_Pair(live->rod1, 0), QPointF(0.2, 0.9));

        // Keys move the selected handle one pixel.
        QTest::keyClick(view(), Qt::Key_Down);
        QVERIFY(near(view()->upperRod().points[1], moved + QPointF(0, 1.0 / 1024), 1e-12));

        // The lower rod takes a pair past its reference point as it is.
        const ReinforceCurve lower = view()->lowerRod();
        const QPointF beyond = lower.reference + 1.5 * (lower.reference - lower.points[3]);
        dragHandle(lower.points[3], (beyond - lower.points[3]) * 1024 * view()->zoom());
        QCOMPARE(view()->selectedHandle(), 23);
        QVERIFY(Rod_Shape_Pair(live->rod2, 3).y() < 0);
        // A mylar handle.
        const ReinforceCurve mylar = view()->mylar();
        dragHandle(mylar.points[2], QPointF(-15, 0));
        QCOMPARE(view()->selectedHandle(), 2);
        QVERIFY(live->minirib.mylarSplineA[2] != 0.45 || live->minirib.mylarSplineB[2] != 0.8);
    }

    void mylarWithoutExtentSitsOnTheNose()
    {
        child<QSlider>("startmilarSlider")->setValue(0);
        child<QSlider>("endmilarSlider")->setValue(0);
        const ReinforceCurve& m = view()->mylar();
        QCOMPARE(m.first, m.reference);
        QCOMPARE(m.second, m.reference);
        for (const QPointF& p : m.points)
            QVERIFY(near(p, m.reference));
    }

    void cellSelections()
    {
        tabs()->setCurrentIndex(1);
        child<QLineEdit>("rearribsEdit")->setText("( 1,2,5)");
        for (int c = 0; c <= live->lastRib; ++c)
            QCOMPARE(live->rearRibEnabled[c], c == 1 || c == 2 || c == 5);
        user.answerQuestions(true);
        QTest::mouseClick(child<QPushButton>("resetrearButton"), Qt::LeftButton);
        QCOMPARE(user.asked.last().title, QString("resetting value"));
        QCOMPARE(user.asked.last().text, QString("are you going to do this ?"));
        for (int c = 0; c < live->lastRib; ++c)
            QVERIFY(live->rearRibEnabled[c]);
        QCOMPARE(live->minirib.rearRibPosition, 0.0);
        tabs()->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>("resetfrontButton"), Qt::LeftButton);
        for (int c = 0; c < live->lastRib; ++c)
            QVERIFY(live->frontRibEnabled[c]);
        QCOMPARE(live->minirib.frontRibStart, 12);
        QCOMPARE(live->minirib.frontRibEnd, 8);
    }

    void cancelRestoresEverything_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("escape") << "escape";
        QTest::newRow("close") << "close";
    }

    void cancelRestoresEverything()
    {
        QFETCH(QString, how);
        QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        const QByteArray before = bytesOf(live);
        const double twist = live->maxTwistAngle;
        QCOMPARE(twist, 3.0);
        open();
        QCOMPARE(live->maxTwistAngle, 0.0);
        child<QSlider>("upSlider")->setValue(300);
        child<QSlider>("rearribposSlider")->setValue(40);
        child<QLineEdit>("frontribsEdit")->setText("( 7)");
        dragHandle(view()->mylar().points[0], QPointF(10, 10));
        if (how == "cancel")
            QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            dialog->close();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(live->maxTwistAngle, twist);
        QVERIFY(bytesOf(live) == before);
    }

    void okRecomputesWithTheTwistAndRefreshesOnce()
    {
        QSignalSpy refresh(dialog.get(), &MiscPortDialog::toglwidget);
        child<QSlider>("upSlider")->setValue(300);
        const auto revision = live->geometryChanged.revision();
        QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(refresh.count(), 1);
        QCOMPARE(live->rod1.index[0], 300);
        QCOMPARE(live->maxTwistAngle, 3.0);
        QVERIFY(live->geometryChanged);
        QVERIFY(live->geometryChanged.revision() != revision);
        // Recomputed with the twist back: the canopy is the default design's.
        const ParaStruct& original = fixture::defaultDesign();
        QCOMPARE(live->ribCurves3D[5][300], original.ribCurves3D[5][300]);
    }

    // The view shows the whole rib centred, clear of every edge; the zoom the
    // user chose stays to the next show, the pan does not; the right button
    // brings back the zoom that fits.
    void zoomStaysPanDoesNot()
    {
        const auto centred = [this] {
            const QRectF d = view()->drawingExtent();
            const QPointF c = view()->pan() + view()->zoom() * d.center();
            return QLineF(c, QRectF(view()->rect()).adjusted(8, 8, -8, -8).center()).length() < 1e-6;
        };
        const double fitted = view()->zoom();
        QVERIFY(centred());
        const QRectF shown(view()->pan() + fitted * view()->drawingExtent().topLeft(),
                           view()->pan() + fitted * view()->drawingExtent().bottomRight());
        QVERIFY(QRectF(view()->rect()).contains(shown));
        QVERIFY(shown.left() >= 8); // the nose off the left edge
        wheel(view(), 960);
        const double zoom = view()->zoom();
        QCOMPARE(zoom, 2.0 * fitted);
        const QPointF pan = view()->pan();
        press(view(), QPointF(100, 100), Qt::MiddleButton);
        mouse(view(), QEvent::MouseMove, QPointF(140, 90), Qt::NoButton, Qt::MiddleButton);
        release(view(), QPointF(140, 90), Qt::MiddleButton);
        QCOMPARE(view()->pan(), pan + QPointF(40, -10));
        QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        open();
        QCOMPARE(view()->zoom(), zoom);
        QVERIFY(centred());
        for (int i = 0; i < 30; ++i)
            wheel(view(), 960);
        QCOMPARE(view()->zoom(), 10.0);
        press(view(), QPointF(5, 5), Qt::RightButton);
        release(view(), QPointF(5, 5), Qt::RightButton);
        QCOMPARE(view()->zoom(), fitted);
        QVERIFY(centred());
    }
};

QTEST_MAIN(TestMiniribEditor)
#include "tst_miniribeditor.moc"
