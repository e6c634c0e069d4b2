// "Stripes manager" on the default design: switching a whole row and single
// straps, the last rib that makes no strap, the width boxes that show a
// width without writing it back, fixed and proportional widths, OK raising
// the rebuild flag and telling the main window once, cancel keeping every
// change (the manager keeps no backup), and the view's navigation.

#include <QTest>
#include <QAbstractButton>
#include <QColor>
#include <QCoreApplication>
#include <QFrame>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QWheelEvent>
#include <QWidget>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>

#include <algorithm>
#include <memory>

#include "core/transf.h"
#include "structure/structfun.h"
#include "structure/ui/stripesdialog.h"
#include "tests/structure/editorfixture.h"
#include "tests/structure/structfixture.h"
#include "tests/common/statewait.h"

// Stands in for the main window: the manager finds the slot by its name.
class MainWindowStandIn : public QWidget
{
    Q_OBJECT
public:
    int rebuilds = 0;
public slots:
    void SetUpOpenglParam() { ++rebuilds; }
};

class TestStripes : public QObject
{
    Q_OBJECT

    ParaStruct* live = nullptr;
    std::unique_ptr<MainWindowStandIn> window;
    StripesDialog* dialog = nullptr;

    StripesEdit* view() const { return dialog->view(); }
    QPoint button(int row, int rib) const
    {
        return view()->toWidget(view()->buttonPosition(f_LineRibID(row, rib))).toPoint();
    }
    void open()
    {
        dialog->show();
        WAIT_FOR_EXPOSED(dialog);
    }
    // A click on the button's indicator (a radio button takes clicks on its
    // indicator and text only).
    static void clickIndicator(QAbstractButton* b)
    {
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
    }
    void click(QPoint at, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseClick(view(), b, Qt::NoModifier, at); }
    int setEntries(int row) const
    {
        return int(std::count(std::begin(live->lineStrips[row]), std::end(live->lineStrips[row]), true));
    }

private slots:
    void initTestCase() { live = GetDataStruct(); }

    // The cases below start from the default design without its straps,
    // every row proportional.
    void init()
    {
        *live = fixture::defaultDesign();
        for (int row = 0; row < kLineRows; ++row) {
            live->strapFixed[row] = false;
            for (int rib = 0; rib < kRibSlots; ++rib)
                live->lineStrips[row][rib] = false;
        }
        window = std::make_unique<MainWindowStandIn>();
        dialog = new StripesDialog(window.get());
        dialog->resize(1400, 950);
    }

    void cleanup() { window.reset(); }

    void form()
    {
        QCOMPARE(dialog->windowTitle(), QString("Stripes manager"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->currentLine(), 2);
        QVERIFY(dialog->radioButtonA->isChecked());
        QVERIFY(dialog->varButton->isChecked());
        QCOMPARE(dialog->stripewSpinBox->minimum(), 30);
        QCOMPARE(dialog->stripewSpinBox->maximum(), 900);
        QCOMPARE(dialog->stripewSpinBox->singleStep(), 10);
        QCOMPARE(dialog->lineLetterLabel->text(), QString("???"));
        QCOMPARE(dialog->selectLineStripsButton->text(), QString("toggle selected line"));
        QCOMPARE(dialog->clearLineStripsButton->text(), QString("clear all lines"));
        QCOMPARE(dialog->btnOK->text(), QString("Ok"));
        QCOMPARE(dialog->btnCancel->text(), QString("cancel"));
        QVERIFY(dialog->frame_3->toolTip().contains("toggle selected line"));
        for (int row = 2; row < kLineRows; ++row) {
            QCOMPARE(dialog->rowButton(row)->text(), LineLetter(row));
            QCOMPARE(dialog->rowLabel(row)->text(), QString("0"));
        }
        QCOMPARE(view()->minimumSizeHint(), QSize(512, 384));
    }

    // Each row button reaches its own slot by name, and only that one: one
    // click makes its row current and fills the boxes once.
    void rowButtonsSelectTheirRow()
    {
        open();
        QSignalSpy edits(dialog, &StripesDialog::toshowEditBox);
        QSignalSpy infos(dialog, &StripesDialog::toshowInfoBox);
        for (int row = 2; row < kLineRows; ++row) {
            clickIndicator(dialog->rowButton(row));
            QCOMPARE(dialog->currentLine(), row);
            QCOMPARE(dialog->lineLetterLabel->text(), LineLetter(row));
            QCOMPARE(edits.count(), row - 1);
            QCOMPARE(infos.count(), row - 1);
        }
    }

    // "toggle selected line" sets all 65 entries of the row, or clears them
    // all when its rib-0 entry is set; the straps end one rib before the tip.
    void toggleARow()
    {
        open();
        const int n = live->lastRib;
        clickIndicator(dialog->rowButton(4));
        QCOMPARE(dialog->currentLine(), 4);
        QCOMPARE(dialog->lineLetterLabel->text(), QString("C"));
        live->lineStrips[4][7] = true;
        QTest::mousePress(dialog->selectLineStripsButton, Qt::LeftButton);
        QCOMPARE(setEntries(4), kRibSlots);
        QVERIFY(view()->lastToggleState());
        for (int row : {0, 1, 2, 3, 5, 6, 7, 8})
            QCOMPARE(setEntries(row), 0);

        const QList<QLineF> straps = view()->Strap_Lines();
        QCOMPARE(straps.size(), n);
        for (int rib = 0; rib < n; ++rib)
            QVERIFY(straps.contains(QLineF(view()->buttonPosition(f_LineRibID(4, rib)),
                                           view()->buttonPosition(f_LineRibID(4, rib + 1)))));
        for (const QLineF& s : straps)
            QVERIFY(s.p1() != view()->buttonPosition(f_LineRibID(4, n)));

        QTest::mouseRelease(dialog->selectLineStripsButton, Qt::LeftButton);
        QTest::mousePress(dialog->selectLineStripsButton, Qt::LeftButton);
        QCOMPARE(setEntries(4), 0);
        QVERIFY(view()->Strap_Lines().isEmpty());
        QTest::mouseRelease(dialog->selectLineStripsButton, Qt::LeftButton);

        live->lineStrips[6][0] = true;
        live->lineStrips[6][40] = true;
        clickIndicator(dialog->rowButton(6));
        QTest::mousePress(dialog->selectLineStripsButton, Qt::LeftButton);
        QCOMPARE(setEntries(6), 0);
        QTest::mouseRelease(dialog->selectLineStripsButton, Qt::LeftButton);

        live->lineStrips[3][2] = live->lineStrips[8][9] = true;
        QTest::mousePress(dialog->clearLineStripsButton, Qt::LeftButton);
        for (int row = 0; row < kLineRows; ++row)
            QCOMPARE(setEntries(row), 0);
    }

    // A click on a button switches its strap and makes its row current; a
    // click beside every button only clears the current button.
    void singleStraps()
    {
        open();
        const int n = live->lastRib;
        click(button(3, 5) + QPoint(4, 3));
        QVERIFY(live->lineStrips[3][5]);
        QCOMPARE(view()->selection(), f_LineRibID(3, 5));
        QCOMPARE(view()->currentLine(), 3);
        QCOMPARE(view()->currentRibIndex(), 5);
        QVERIFY(view()->Strap_Lines().isEmpty());   // the current button draws no band

        click(QPoint(5, view()->height() - 5));
        QCOMPARE(view()->selection(), -1);
        QCOMPARE(view()->currentLine(), -1);
        QVERIFY(live->lineStrips[3][5]);
        QCOMPARE(view()->Strap_Lines(), QList<QLineF>({QLineF(view()->buttonPosition(f_LineRibID(3, 5)),
                                                              view()->buttonPosition(f_LineRibID(3, 6)))}));
        // The band is drawn in dark red between the two buttons.
        const QPointF mid = 0.5 * (view()->toWidget(view()->buttonPosition(f_LineRibID(3, 5)))
                                   + view()->toWidget(view()->buttonPosition(f_LineRibID(3, 6))));
        QCOMPARE(QColor(view()->grab().toImage().pixel(mid.toPoint() + QPoint(0, 2))), QColor(Qt::darkRed));

        // The tip rib's button switches but makes no strap.
        click(button(3, n));
        QVERIFY(live->lineStrips[3][n]);
        click(QPoint(5, view()->height() - 5));
        QCOMPARE(view()->Strap_Lines().size(), 1);

        // O1 and O2 buttons switch their entries too (they make no strap).
        click(button(0, 4));
        QVERIFY(live->lineStrips[0][4]);
        QCOMPARE(view()->currentLine(), 0);
        click(button(3, 5));
        QVERIFY(!live->lineStrips[3][5]);
    }

    // Choosing a row shows its width (limited to the box) and writes
    // nothing back; only a width the user sets is stored.
    void widths()
    {
        open();
        live->strapWidth[1] = 10;
        live->strapWidth[2] = 1200;
        live->strapFixed[3] = true;
        clickIndicator(dialog->rowButton(3));
        QCOMPARE(dialog->stripewSpinBox->value(), 30);
        QVERIFY(dialog->fixButton->isChecked());
        QCOMPARE(dialog->rowLabel(3)->text(), QString(" width [mm]: 10      Fixed  "));
        QCOMPARE(dialog->rowLabel(4)->text(), QString(" width [mm]: 1200      Proport. "));
        clickIndicator(dialog->rowButton(4));
        QCOMPARE(dialog->stripewSpinBox->value(), 900);
        QVERIFY(dialog->varButton->isChecked());
        clickIndicator(dialog->rowButton(3));
        QCOMPARE(live->strapWidth[1], 10);
        QCOMPARE(live->strapWidth[2], 1200);

        dialog->stripewSpinBox->stepUp();
        QCOMPARE(live->strapWidth[1], 40);
        QCOMPARE(dialog->rowLabel(3)->text(), QString(" width [mm]: 40      Fixed  "));
        clickIndicator(dialog->varButton);
        QVERIFY(!live->strapFixed[3]);
        clickIndicator(dialog->fixButton);
        QVERIFY(live->strapFixed[3]);
        QCOMPARE(live->strapWidth[2], 1200);
    }

    // The default design as it is shipped: every row's box, mode and
    // summary show the stored values as they stand, from the first show on,
    // its straps are drawn, and looking at every row and pressing OK
    // changes none of it.
    void defaultDesignShownAsStored()
    {
        *live = fixture::defaultDesign();
        const ParaStruct& shipped = fixture::defaultDesign();
        open();
        int marked = 0;
        for (int row = 2; row < kLineRows; ++row)
            for (int rib = 0; rib < live->lastRib; ++rib)
                marked += live->lineStrips[row][rib] ? 1 : 0;
        QVERIFY(marked > 0);
        QCOMPARE(view()->Strap_Lines().size(), marked);
        // Before a row is picked the boxes show the form's values, for row
        // A, the row that is checked: they are row A's.
        QVERIFY(dialog->radioButtonA->isChecked());
        QCOMPARE(dialog->stripewSpinBox->value(), shipped.strapWidth[0]);
        QCOMPARE(dialog->varButton->isChecked(), !shipped.strapFixed[2]);
        editors::keepPicture(dialog, "straps_default_design");
        for (int row = 2; row < kLineRows; ++row) {
            clickIndicator(dialog->rowButton(row));
            const int width = shipped.strapWidth[row - 2];
            QCOMPARE(dialog->stripewSpinBox->value(), width);
            QCOMPARE(dialog->fixButton->isChecked(), shipped.strapFixed[row]);
            QCOMPARE(dialog->varButton->isChecked(), !shipped.strapFixed[row]);
            QCOMPARE(dialog->rowLabel(row)->text(),
                     QString(" width [mm]: %1     %2 ").arg(width).arg(shipped.strapFixed[row] ? " Fixed " : " Proport."));
        }
        QTest::mousePress(dialog->btnOK, Qt::LeftButton);
        QVERIFY(std::equal(std::begin(live->strapWidth), std::end(live->strapWidth), std::begin(shipped.strapWidth)));
        QVERIFY(std::equal(std::begin(live->strapFixed), std::end(live->strapFixed), std::begin(shipped.strapFixed)));
        for (int row = 0; row < kLineRows; ++row)
            QVERIFY(std::equal(std::begin(live->lineStrips[row]), std::end(live->lineStrips[row]),
                               std::begin(shipped.lineStrips[row])));
    }

    // OK raises the rebuild flag and has the main window rebuild its view,
    // once per OK however often the manager was shown; cancel and closing
    // only hide it and keep the changes.
    void okAndCancel()
    {
        open();
        click(button(5, 3));
        const auto revision = live->geometryChanged.revision();
        QTest::mousePress(dialog->btnOK, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(live->geometryChanged);
        QVERIFY(live->geometryChanged.revision() != revision);
        QCOMPARE(window->rebuilds, 1);
        QVERIFY(live->lineStrips[5][3]);

        open();
        open();
        click(button(5, 4));
        QTest::mousePress(dialog->btnCancel, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(live->lineStrips[5][4]);
        QCOMPARE(window->rebuilds, 1);

        open();
        click(button(5, 6));
        dialog->close();
        QVERIFY(!dialog->isVisible());
        QVERIFY(live->lineStrips[5][6]);
        open();
        QTest::mousePress(dialog->btnOK, Qt::LeftButton);
        QCOMPARE(window->rebuilds, 2);
    }

    // The view follows a change of the cell count at its next show.
    void newCellCount()
    {
        open();
        QVERIFY(view()->buttonExists(f_LineRibID(2, 17)));
        QVERIFY(!view()->buttonExists(f_LineRibID(2, 18)));
        dialog->hide();
        live->cells = 40;
        live->Reset_CellsNumber();
        Refresh_Calculations(live);
        open();
        QVERIFY(view()->buttonExists(f_LineRibID(2, 20)));
        QVERIFY(!view()->buttonExists(f_LineRibID(2, 21)));
    }

    void navigation()
    {
        open();
        QCOMPARE(view()->panOffset(), QPointF(0, -view()->height() / 2.0));
        QWheelEvent up(QPointF(100, 100), view()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 960),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view(), &up);
        QCOMPARE(view()->zoomFactor(), 2.0);
        for (int i = 0; i < 4; ++i)
            QCoreApplication::sendEvent(view(), &up);
        QCOMPARE(view()->zoomFactor(), 10.0);
        QTest::mousePress(view(), Qt::MiddleButton, Qt::NoModifier, QPoint(200, 200));
        QMouseEvent move(QEvent::MouseMove, QPoint(220, 230), view()->mapToGlobal(QPoint(220, 230)), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
        QTest::mouseRelease(view(), Qt::MiddleButton, Qt::NoModifier, QPoint(220, 230));
        QCOMPARE(view()->panOffset(), QPointF(20, 30 - view()->height() / 2.0));
        click(QPoint(10, 10), Qt::RightButton);
        QCOMPARE(view()->zoomFactor(), 1.0);
        QCOMPARE(view()->panOffset(), QPointF(0, -view()->height() / 2.0));
    }
};

QTEST_MAIN(TestStripes)
#include "tst_stripes_gui.moc"
