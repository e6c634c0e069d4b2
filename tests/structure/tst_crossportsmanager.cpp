// The cross ports manager on the default design: selection and the three
// boxes, the limits of the hole count, the edge offset, "setup  group",
// switching tabs, the protocol of OK and Cancel, and the view's mouse.

#include <QTest>
#include <QLabel>
#include <QRectF>
#include <QSignalSpy>
#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "core/parastruct.h"
#include "core/transf.h"
#include "structure/crossportview.h"
#include "structure/holefun.h"
#include "structure/ui/crosslab_dialog.h"
#include "structure/ui/crosslab_edit.h"
#include "tests/common/scripteduser.h"
#include "tests/structure/editorfixture.h"

#include <memory>

using namespace editors;

namespace {

struct Values {
    int count, offset, rounding;
    bool operator==(const Values& o) const
    {
        return count == o.count && offset == o.offset && rounding == o.rounding;
    }
};

Values valuesOf(const ParaStruct* d, int group, int slot)
{
    if (Cross_Port_Triangles(group)) {
        const Triang& t = d->crossPorts[group].triangles[slot];
        return {t.holeCount, t.offsetMm, t.cornerCount};
    }
    const Trap& t = d->crossPorts[group].traps[slot];
    return {t.holeCount, t.offsetMm, t.cornerCount};
}

QList<Values> groupValues(const ParaStruct* d, int group)
{
    QList<Values> all;
    const int n = Cross_Port_Triangles(group) ? 12 : 16;
    for (int i = 0; i < n; ++i)
        all << valuesOf(d, group, i);
    return all;
}

} // namespace

class TestCrossPortsManager : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    std::unique_ptr<CrossLabDialog> dialog;
    ParaStruct* live = nullptr;

    template <class T>
    T* child(const char* name) const
    {
        return named<T>(dialog.get(), name);
    }
    QSpinBox* nBox() const { return child<QSpinBox>("n_Box"); }
    QSpinBox* offsetBox() const { return child<QSpinBox>("offsetBox"); }
    QSpinBox* cornerBox() const { return child<QSpinBox>("dcornerBox"); }
    QSpinBox* edgeBox() const { return child<QSpinBox>("edgeBox"); }
    QTabWidget* tabs() const { return child<QTabWidget>("tabWidget"); }
    Values boxes() const { return {nBox()->value(), offsetBox()->value(), cornerBox()->value()}; }

    void open() { QVERIFY(showAt(dialog.get(), 1100, 900)); }
    // Clicks inside base shape `slot` of the tab's group.
    void clickShape(int tab, int slot)
    {
        CrossLab* e = dialog->editor(tab);
        const QPolygonF outline = Cross_Port_Shape_Outline(live, tab, slot);
        const QPointF at = e->toScreen(Geometric_center(outline));
        press(e, at);
        release(e, at);
    }

private slots:
    void init()
    {
        live = liveDefault();
        dialog = std::make_unique<CrossLabDialog>();
        open();
    }
    void cleanup() { dialog.reset(); }

    void opensOnTheNumberTab()
    {
        QCOMPARE(dialog->windowTitle(), QString("Cross ports manager"));
        QCOMPARE(tabs()->currentIndex(), 4);
        QCOMPARE(tabs()->tabText(4), QString("N"));
        // The page it opens on says what to do, on lines that are not cut.
        QLabel* hint = named<QLabel>(dialog.get(), "hintLabel");
        QVERIFY(hint && hint->isVisible());
        QVERIFY(hint->text().contains("tab"));
        QVERIFY(hint->height() >= hint->heightForWidth(hint->width()));
        QVERIFY(hint->width() >= std::min(hint->fontMetrics().horizontalAdvance(hint->text()), tabs()->width() / 2));
        QCOMPARE(edgeBox()->value(), 1);
        // Showing the box is no edit: the stored edge offset keeps its half
        // millimetre.
        QCOMPARE(live->holeEdgeFactor, 1.5);
        // The design keeps its twist while the dialog is open.
        QCOMPARE(live->maxTwistAngle, fixture::defaultDesign().maxTwistAngle);
        QCOMPARE(dialog->editor(1)->groupType(), 1);
        tabs()->setCurrentIndex(0);
        QCOMPARE(tabs()->tabText(0), QString("LOADED RIBS CROSS-PORTS"));
        QCOMPARE(tabs()->tabText(1), QString("intermediate ribs cross-ports"));
        keepPicture(dialog.get(), "crossports_loaded");
        tabs()->setCurrentIndex(1);
        keepPicture(dialog.get(), "crossports_intermediate");
        tabs()->setCurrentIndex(2);
        keepPicture(dialog.get(), "crossports_front");
        tabs()->setCurrentIndex(3);
        keepPicture(dialog.get(), "crossports_rear");
        tabs()->setCurrentIndex(4);
        keepPicture(dialog.get(), "crossports_n");
    }

    void selectingShowsTheShapeAndNChangesOnlyIt()
    {
        tabs()->setCurrentIndex(0);
        live->crossPorts[0].triangles[4].holeCount = 2;
        live->crossPorts[0].triangles[4].offsetMm = 17;
        live->crossPorts[0].triangles[4].cornerCount = 3;
        const QList<Values> before = groupValues(live, 0);
        clickShape(0, 4);
        QCOMPARE(dialog->editor(0)->selectedShape(), 4);
        QCOMPARE(boxes(), (Values{2, 17, 3}));
        // Choosing the shape changed nothing.
        QCOMPARE(groupValues(live, 0), before);
        nBox()->setValue(1);
        offsetBox()->setValue(22);
        QList<Values> after = before;
        after[4] = {1, 22, 3};
        QCOMPARE(groupValues(live, 0), after);
        QCOMPARE(groupValues(live, 1), groupValues(&fixture::defaultDesign(), 1));
        // The working copy the holes are cut from follows.
        QCOMPARE(dialog->editor(0)->shownLayout().baseTriangles[4].offsetMm, 22);
        keepPicture(dialog.get(), "crossports_selected");
    }

    void holeCountLimits()
    {
        tabs()->setCurrentIndex(0);
        nBox()->setValue(5);
        QCOMPARE(nBox()->value(), 2);
        tabs()->setCurrentIndex(3);
        nBox()->setValue(15);
        QCOMPARE(nBox()->value(), 15);
        tabs()->setCurrentIndex(1);
        QCOMPARE(nBox()->maximum(), 2);
    }

    void roundingOneMakesOneHole_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("slot");
        QTest::newRow("triangles") << 0 << 2;
        QTest::newRow("bands") << 2 << 10;
    }

    void roundingOneMakesOneHole()
    {
        QFETCH(int, tab);
        QFETCH(int, slot);
        tabs()->setCurrentIndex(tab);
        clickShape(tab, slot);
        QCOMPARE(dialog->editor(tab)->selectedShape(), slot);
        cornerBox()->setValue(1);
        QCOMPARE(live->crossPortCorner, 1.0);
        nBox()->setValue(2);
        QCOMPARE(nBox()->value(), 1);
        QCOMPARE(valuesOf(live, tab, slot).count, 1);
        QCOMPARE(valuesOf(live, tab, slot).rounding, 1);
    }

    void edgeOffsetResetsEveryShape()
    {
        tabs()->setCurrentIndex(0);
        const QPolygonF inner = dialog->editor(0)->innerOutline();
        QCOMPARE(live->crossPorts[0].triangles[0].holeCount, 0);   // the nose triangle has none
        edgeBox()->setValue(11);
        QCOMPARE(live->holeEdgeFactor, 11.0);
        const Values current{live->crossPortHoles, live->crossPortOffset, int(live->crossPortCorner)};
        for (const Values& v : groupValues(live, 0))
            QCOMPARE(v, current);
        // The inner outline moved inward.
        const QPolygonF moved = dialog->editor(0)->innerOutline();
        QCOMPARE(moved.size(), inner.size());
        QVERIFY(std::fabs(poly_area(int(moved.size()), moved)) < std::fabs(poly_area(int(inner.size()), inner)));
        // The other groups keep their values.
        QCOMPARE(groupValues(live, 1), groupValues(&fixture::defaultDesign(), 1));
    }

    void setupGroupNeedsASelection()
    {
        tabs()->setCurrentIndex(1);
        const QList<Values> before = groupValues(live, 1);
        QTest::mouseClick(child<QToolButton>("setupWholeGrup"), Qt::LeftButton);
        QCOMPARE(groupValues(live, 1), before);
        clickShape(1, 3);
        offsetBox()->setValue(33);
        QTest::mouseClick(child<QToolButton>("setupWholeGrup"), Qt::LeftButton);
        QCOMPARE(dialog->editor(1)->selectedShape(), -1);
        for (const Values& v : groupValues(live, 1))
            QCOMPARE(v.offset, 33);
    }

    void eachTabKeepsItsOwnValues()
    {
        tabs()->setCurrentIndex(0);
        live->crossPorts[0].triangles[2] .offsetMm = 12;
        clickShape(0, 2);
        const Values loaded = valuesOf(live, 0, 2);
        tabs()->setCurrentIndex(2);
        live->crossPorts[2].traps[12].offsetMm = 44;
        live->crossPorts[2].traps[12].holeCount = 7;
        clickShape(2, 12);
        QCOMPARE(boxes(), valuesOf(live, 2, 12));
        // Back on the first tab (which shows its group afresh, without a
        // selection) the band's values go nowhere: the shape keeps its own,
        // and the boxes show the group's own first shape.
        tabs()->setCurrentIndex(0);
        QCOMPARE(dialog->editor(0)->selectedShape(), -1);
        QCOMPARE(valuesOf(live, 0, 2), loaded);
        QCOMPARE(boxes(), valuesOf(live, 0, 0));
        QCOMPARE(live->crossPortOffset, valuesOf(live, 0, 0).offset);
        clickShape(0, 2);
        QCOMPARE(boxes(), loaded);
    }

    void openingAGroupShowsItsFirstShape()
    {
        dialog->hide();
        live->crossPorts[2].traps[0].holeCount = 3;
        live->crossPorts[2].traps[0].offsetMm = 21;
        live->crossPorts[3].traps[0].holeCount = 9;
        live->crossPorts[3].traps[0].offsetMm = 8;
        live->crossPorts[1].triangles[0].offsetMm = 27;
        open();
        tabs()->setCurrentIndex(2);
        QCOMPARE(nBox()->value(), 3);
        QCOMPARE(offsetBox()->value(), 21);
        tabs()->setCurrentIndex(1);
        QCOMPARE(offsetBox()->value(), 27);
    }

    void cancelRestoresTheDesign_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("escape") << "escape";
        QTest::newRow("close") << "close";
    }

    void cancelRestoresTheDesign()
    {
        QFETCH(QString, how);
        const ParaStruct& original = fixture::defaultDesign();
        tabs()->setCurrentIndex(0);
        clickShape(0, 6);
        nBox()->setValue(2);
        edgeBox()->setValue(21);
        tabs()->setCurrentIndex(3);
        clickShape(3, 9);
        offsetBox()->setValue(40);
        QVERIFY(groupValues(live, 0) != groupValues(&original, 0));
        if (how == "cancel")
            QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            dialog->close();
        QVERIFY(!dialog->isVisible());
        for (int g = 0; g < 4; ++g)
            QCOMPARE(groupValues(live, g), groupValues(&original, g));
        QCOMPARE(live->holeEdgeFactor, original.holeEdgeFactor);
        QCOMPARE(live->maxTwistAngle, original.maxTwistAngle);
    }

    // Showing the dialog again after a cancelled edge offset changes nothing
    // by itself: no shape takes the current values, nothing to keep at OK.
    void showingChangesNothing()
    {
        const ParaStruct& original = fixture::defaultDesign();
        tabs()->setCurrentIndex(0);
        edgeBox()->setValue(6);
        live->crossPortHoles = 2;
        QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        open();
        QCOMPARE(live->holeEdgeFactor, 1.5);
        QCOMPARE(groupValues(live, 0), groupValues(&original, 0));
        QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton);
        QCOMPARE(groupValues(live, 0), groupValues(&original, 0));
        QCOMPARE(live->holeEdgeFactor, 1.5);
    }

    void okKeepsTheEditsAndRefreshesOnce()
    {
        QSignalSpy refresh(dialog.get(), &CrossLabDialog::to_glwidget);
        for (int shown = 0; shown < 3; ++shown) {
            QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
            open();
        }
        tabs()->setCurrentIndex(1);
        clickShape(1, 5);
        nBox()->setValue(2);
        const auto revision = live->geometryChanged.revision();
        QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(refresh.count(), 1);
        QCOMPARE(valuesOf(live, 1, 5).count, 2);
        QCOMPARE(live->maxTwistAngle, fixture::defaultDesign().maxTwistAngle);
        QVERIFY(live->geometryChanged);
        QVERIFY(live->geometryChanged.revision() != revision);
    }

    void solidAreaAndHoles()
    {
        tabs()->setCurrentIndex(0);
        CrossLab* e = dialog->editor(0);
        QVERIFY(!e->holePolygons().isEmpty());
        const double solid = e->Solid_Area();
        QVERIFY2(solid > 20 && solid < 95, qPrintable(QString::number(solid)));
        // Every hole lies inside the inner outline.
        for (const QPolygonF& h : e->holePolygons())
            QVERIFY(fixture::allInside(e->innerOutline(), h, 1e-6));
        tabs()->setCurrentIndex(3);
        QVERIFY(!dialog->editor(3)->holePolygons().isEmpty());
    }

    void miniRibsOverTheirBands()
    {
        QTest::mouseClick(child<QPushButton>("btnCancel"), Qt::LeftButton);
        live->minirib.frontRibStart = 12;
        live->minirib.frontRibEnd = 8;
        live->minirib.rearRibPosition = 30;
        open();
        QVERIFY(dialog->editor(0)->miniribShape().isEmpty());
        tabs()->setCurrentIndex(2);
        const QPolygonF front = dialog->editor(2)->miniribShape();
        QCOMPARE(int(front.size()), 5 * (12 + 8));
        // Around the nose of the rib drawn at 1024 per chord.
        for (const QPointF& p : front)
            QVERIFY(p.x() > -20 && p.x() < 0.3 * 1024);
        keepPicture(dialog.get(), "crossports_front_minirib");
        tabs()->setCurrentIndex(3);
        const QPolygonF rear = dialog->editor(3)->miniribShape();
        QVERIFY(!rear.isEmpty());
        double right = 0;
        for (const QPointF& p : rear)
            right = std::max(right, p.x());
        QVERIFY(std::fabs(right - 1024) < 30);
        keepPicture(dialog.get(), "crossports_rear_minirib");
    }

    void mouseAndWheel()
    {
        tabs()->setCurrentIndex(0);
        CrossLab* e = dialog->editor(0);
        for (int i = 0; i < 40; ++i)
            wheel(e, 120);
        QCOMPARE(e->zoomFactor(), 10.0);
        for (int i = 0; i < 80; ++i)
            wheel(e, -120);
        QCOMPARE(e->zoomFactor(), 0.5);
        const QPointF pan = e->pan();
        press(e, QPointF(50, 50), Qt::MiddleButton);
        mouse(e, QEvent::MouseMove, QPointF(80, 70), Qt::NoButton, Qt::MiddleButton);
        release(e, QPointF(80, 70), Qt::MiddleButton);
        QCOMPARE(e->pan(), pan + QPointF(30, 20));
        // The right button: the whole rib in the view again, below the
        // header line and off every edge, at the zoom that fits (at most 1).
        press(e, QPointF(5, 5), Qt::RightButton);
        release(e, QPointF(5, 5), Qt::RightButton);
        QVERIFY(e->zoomFactor() <= 1.0 && e->zoomFactor() >= 0.5);
        const QRectF d = e->drawingExtent();
        const QRectF shown(e->toScreen(d.topLeft()), e->toScreen(d.bottomRight()));
        QVERIFY(QRectF(e->rect()).adjusted(7, 29, -7, -7).contains(shown));
        QVERIFY(shown.width() > 0.95 * (e->width() - 16) || shown.height() > 0.95 * (e->height() - 38));
        // A click beside every shape selects nothing.
        press(e, QPointF(3, 3));
        release(e, QPointF(3, 3));
        QCOMPARE(e->selectedShape(), -1);
    }
};

QTEST_MAIN(TestCrossPortsManager)
#include "tst_crossportsmanager.moc"
