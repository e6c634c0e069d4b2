// "Lines morphing" on the shipped default design, driven as a user drives
// it: the fields it shows (and never writes back), winflex run by a row's
// radio button with "winflex on", OK writing the attachment indexes and the
// lines following them, Cancel and closing giving the design back byte for
// byte, dragging a point, closing and opening a cell through the context
// menu, and the centre cell of an odd cell count.

#include <QTest>
#include <QAction>
#include <QByteArray>
#include <QColor>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWheelEvent>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <algorithm>
#include <memory>

#include "core/calcul3d.h"
#include "core/transf.h"
#include "lines/linemorphing.h"
#include "lines/ui/linemorphdialog.h"
#include "shell/model/installhooks.h"
#include "tests/common/scripteduser.h"
#include "tests/common/typednumbers.h"
#include "tests/lines/linesfixture.h"
#include "tests/common/recordimage.h"
#include "tests/common/statewait.h"

using namespace linesfixture;

namespace {

QByteArray recordBytes(const ParaStruct* d)
{
    return recordImage(*d);
}

} // namespace

class TestLineMorphDialog : public QObject
{
    Q_OBJECT

    ParaStruct* live = nullptr;
    std::unique_ptr<LineMorphDialog> dialog;

    LineMorph* view() const { return dialog->view(); }

    void load(int cells)
    {
        auto d = defaultDesign(cells);
        QVERIFY(d);
        *live = *d;
    }
    void open()
    {
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
    }
    QPoint at(int row, int rib) const
    {
        return view()->toWidget(view()->pointPosition(row * kRibSlots + rib)).toPoint();
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, view()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
        QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, to);
    }
    void setField(QLineEdit* edit, const QString& text)
    {
        edit->setText(text);
        emit edit->editingFinished();
    }
    void press(QDialogButtonBox::StandardButton which)
    {
        dialog->buttonBox->button(which)->click();
    }
    // Asks for the context menu at the pointer x of the cell's middle, picks
    // menu entry `downs` steps down (0: none, the menu is closed) and gives
    // the entry texts and whether a menu came up at all.
    QStringList cellMenu(int cell, int downs, bool* shown)
    {
        const double x = 0.5 * (live->ribSpanPos[cell - 1] + live->ribSpanPos[cell]);
        const QPoint p = view()->toWidget(QPointF(x, live->leadingEdgeX[0] + 30)).toPoint();
        QTest::mousePress(view(), Qt::RightButton, Qt::NoModifier, p);
        QTest::mouseRelease(view(), Qt::RightButton, Qt::NoModifier, p);
        QStringList texts;
        *shown = false;
        // `downs` steps down the menu pass over the entries that cannot be
        // chosen, as the arrow keys do.
        const auto choose = [&](const QList<QAction*>& actions) -> QAction* {
            *shown = true;
            int step = 0;
            QAction* chosen = nullptr;
            for (QAction* a : actions) {
                texts << a->text() + (a->isEnabled() ? "" : " [disabled]");
                if (a->isEnabled() && !a->isSeparator() && ++step == downs && !chosen)
                    chosen = a;
            }
            return chosen;
        };
        QContextMenuEvent event(QContextMenuEvent::Mouse, p, view()->mapToGlobal(p));
        withMenuChoice(choose, [&] { QCoreApplication::sendEvent(view(), &event); });
        return texts;
    }

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        live = GetDataStruct();
    }

    void init()
    {
        load(34);
        dialog = std::make_unique<LineMorphDialog>();
        dialog->resize(1400, 950);
    }

    void cleanup() { dialog.reset(); }

    void form()
    {
        QCOMPARE(dialog->windowTitle(), QString("Lines morphing"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->minimumSize(), QSize(769, 600));
        QVERIFY(dialog->rowButton(8)->isChecked());
        QVERIFY(!dialog->check_wfl_on->isChecked());
        QVERIFY(dialog->check_wfl_on->sizeHint().width() <= dialog->check_wfl_on->width());
        QCOMPARE(view()->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(view()->focusPolicy(), Qt::StrongFocus);
        for (int r = 0; r < kLineRows; ++r) {
            QCOMPARE(dialog->rowButton(r)->text(), LineLetter(r));
            QVERIFY(dialog->positionEdit(r)->isReadOnly());
            QVERIFY(!dialog->winflexEdit(r)->isReadOnly());
            QCOMPARE(dialog->winflexEdit(r)->maxLength(), 10);
        }
    }

    // The fields show one decimal; leaving a position field writes nothing.
    void fieldsShowTheRows()
    {
        live->rowPercent[2] = 12.97;
        live->wingFlexPercent[3] = 7.4;
        open();
        QCOMPARE(dialog->positionEdit(2)->text(), QString("13.0"));
        QCOMPARE(dialog->positionEdit(0)->text(), QString(" 2.0"));
        QCOMPARE(dialog->winflexEdit(3)->text(), QString(" 7.4"));
        emit dialog->positionEdit(2)->editingFinished();
        QCOMPARE(live->rowPercent[2], 12.97);
        QCOMPARE(view()->currentLine(), 8);
    }

    // Every row's radio button and fields reach their own slot by name (a
    // slot without its control is reported while the form is set up), and
    // a position field stores only a text that differs from what it shows.
    void everyRowReachesItsSlots()
    {
        static QStringList unmatched;
        unmatched.clear();
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
            if (m.contains("No matching signal"))
                unmatched << m;
        });
        dialog = std::make_unique<LineMorphDialog>();
        qInstallMessageHandler(previous);
        QVERIFY2(unmatched.isEmpty(), qPrintable(unmatched.join('\n')));
        open();
        for (int r = 0; r < kLineRows; ++r) {
            QTest::mouseClick(dialog->rowButton(r), Qt::LeftButton);
            QCOMPARE(view()->currentLine(), r);
            setField(dialog->winflexEdit(r), QString::number(10 + r));
            QCOMPARE(live->wingFlexPercent[r], 10.0 + r);
            live->rowPercent[r] = 40.04 + r;
            setField(dialog->positionEdit(r), QString("%1").arg(40.04 + r, 4, 'f', 1));
            QCOMPARE(live->rowPercent[r], 40.04 + r);
            setField(dialog->positionEdit(r), QString::number(20 + r));
            QCOMPARE(live->rowPercent[r], 20.0 + r);
        }
    }

    // A winflex field takes a percent from -100 to 100 as the other number
    // fields read it (a decimal comma too); any other text is refused with
    // a message naming the range, the field shows the row's percent again
    // and the design is exactly as it was.
    void winflexFieldsTakeTheirPercents_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<double>("stored");
        addNoFieldNumberRows();
        QTest::newRow("number") << "12.5" << true << 12.5;
        QTest::newRow("decimal comma") << "1,5" << true << 1.5;
        QTest::newRow("half, decimal comma") << "0,5" << true << 0.5;
        QTest::newRow("negative") << "-20" << true << -20.0;
        QTest::newRow("beyond the whole") << "150" << false << 0.0;
        QTest::newRow("beyond the whole back") << "-100.5" << false << 0.0;
    }

    void winflexFieldsTakeTheirPercents()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(double, stored);
        ScriptedUser user;
        live->wingFlexPercent[4] = 7.0;
        open();
        const ParaStruct* d = live;
        const int before = view()->workIndex(4, d->lastRib);
        const QByteArray record = recordBytes(live);
        setField(dialog->winflexEdit(4), text);
        // storing runs no winflex
        QCOMPARE(view()->workIndex(4, d->lastRib), before);
        if (taken) {
            QVERIFY2(user.texts.isEmpty(), qPrintable(user.texts.join('\n')));
            QCOMPARE(live->wingFlexPercent[4], stored);
            return;
        }
        // The field holds at most its maximum length of what was typed.
        const QString typed = text.left(dialog->winflexEdit(4)->maxLength());
        const QString problem = refusalProblem(user, "from -100 to 100 %", typed, " 7.0");
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(dialog->winflexEdit(4)->text(), QString(" 7.0"));
        QVERIFY(recordBytes(live) == record);
    }

    // With "winflex on" a row's radio button runs winflex with the row's
    // percent; OK writes the view's indexes and the percents last run, the
    // virtual indexes from the fractional ones, recomputes, moves the lines
    // to their new ends and raises the rebuild flag.
    void winflexAndOk()
    {
        open();
        const int n = live->lastRib;
        const int b = live->rowCentreIndex[3];
        const int tip = int(std::lround(0.3 * (live->rowCentreIndex[7] - live->rowCentreIndex[0])));
        setField(dialog->winflexEdit(3), "100");
        QTest::mouseClick(dialog->rowButton(3), Qt::LeftButton);
        QCOMPARE(view()->workIndex(3, n), live->lineIndex[3][n]);   // not on yet: nothing ran
        QTest::mouseClick(dialog->check_wfl_on, Qt::LeftButton);
        QVERIFY(dialog->winflexRuns());
        QTest::mouseClick(dialog->rowButton(3), Qt::LeftButton);
        QCOMPARE(view()->currentLine(), 3);
        QCOMPARE(view()->workIndex(3, 0), b);
        QCOMPARE(view()->workIndex(3, n), b + tip);
        QVERIFY(live->lineIndex[3][n] != b + tip);   // the design waits for OK

        // A percent typed but not run is replaced by the one last run.
        setField(dialog->winflexEdit(4), "40");

        // Saving writes the rows the user moved; the rows' own places stay
        // as the recompute derived them.
        int derived[kRibSlots];
        std::copy(live->dynLineIndex[3], live->dynLineIndex[3] + kRibSlots, derived);
        view()->SaveChangesOnExit();
        for (int j = 0; j <= n; ++j) {
            QCOMPARE(live->lineIndex[3][j], view()->workIndex(3, j));
            QCOMPARE(live->dynLineIndex[3][j], derived[j]);
        }

        QStringList steps;
        const RecomputeTrace previous = Set_Recompute_Trace([&](const char* s) { steps << s; });
        const auto revision = live->geometryChanged.revision();
        const bool outdated = live->linesOutdated;
        press(QDialogButtonBox::Ok);
        Set_Recompute_Trace(previous);
        QVERIFY(!dialog->isVisible());
        QVERIFY(steps.contains("Setup_Wing_Airfoils"));
        QVERIFY(live->geometryChanged);
        QVERIFY(live->geometryChanged.revision() != revision);
        QCOMPARE(live->linesOutdated, outdated);
        QCOMPARE(live->lineIndex[3][n], b + tip);
        QCOMPARE(live->wingFlexPercent[3], 100.0);
        QCOMPARE(live->wingFlexPercent[4], 0.0);

        // The B lines end at the row's new points.
        int moved = 0;
        for (int slot = 1; slot <= 4; ++slot) {
            BridleGroup g = live->bridle.groups[slot];
            Rebuild_Group_Lists(&g);
            for (int i = 0; i < g.lines.size(); ++i) {
                const origRLS& a = g.attachments[i];
                if (!a.attached || a.row != 1)
                    continue;
                const QVector3D end = Row_Attachment_Point(live, 3, a.rib);
                QVERIFY((g.lines[i].q2 - (a.side == 1 ? p_SymY(end) : end)).length() < 1e-3);
                moved += a.rib == n;
            }
        }
        QVERIFY(moved > 0);
    }

    // Cancel and closing the window give the design back byte for byte,
    // also what the show computed (winflex on G with "winflex on").
    void cancelRestores_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("cancel") << false;
        QTest::newRow("closing the window") << true;
    }

    void cancelRestores()
    {
        QFETCH(bool, byClosing);
        open();
        QTest::mouseClick(dialog->check_wfl_on, Qt::LeftButton);
        press(QDialogButtonBox::Cancel);
        QVERIFY(!dialog->isVisible());

        live->wingFlexPercent[8] = 40;
        const QByteArray before = recordBytes(live);
        const double tipBefore = live->resLineIndex[8][live->lastRib];
        open();
        QVERIFY(live->resLineIndex[8][live->lastRib] != tipBefore);   // the show ran winflex on G
        setField(dialog->winflexEdit(2), "25");
        QTest::mouseClick(dialog->rowButton(2), Qt::LeftButton);
        drag(at(2, 6), at(2, 6) + QPoint(0, 25));
        if (byClosing)
            dialog->close();
        else
            press(QDialogButtonBox::Cancel);
        QVERIFY(!dialog->isVisible());
        QVERIFY(recordBytes(live) == before);
    }

    // A point of the current row follows the pointer along its rib, snapped
    // to the lower surface; the design changes only at OK.
    void dragSnapsToTheRib()
    {
        open();
        const int rib = 5;
        const int id = 8 * kRibSlots + rib;
        const int stored = live->lineIndex[8][rib];
        const double y = view()->pointPosition(id).y();
        QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, at(8, rib) + QPoint(3, -2));
        QCOMPARE(view()->selection(), id);
        QCOMPARE(view()->currentRibIndex(), rib);
        QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, at(8, rib));
        drag(at(8, rib), at(8, rib) + QPoint(7, -30));
        QCOMPARE(view()->workIndex(8, rib), Snap_Line_Index(live, rib, y - 30));
        QVERIFY(view()->workIndex(8, rib) < stored);
        QCOMPARE(live->lineIndex[8][rib], stored);
        // Key Down moves by one plan unit.
        const double now = view()->pointPosition(id).y();
        QTest::keyClick(view(), Qt::Key_Down);
        QCOMPARE(view()->workIndex(8, rib), Snap_Line_Index(live, rib, now + 1));
        // Only points of the current row are picked.
        QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, at(3, rib));
        QCOMPARE(view()->selection(), -1);
        QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, at(3, rib));
    }

    void closeAndOpenACell()
    {
        open();
        const int cell = 4;
        bool shown = false;
        const QStringList texts = cellMenu(cell, 1, &shown);
        QVERIFY(shown);
        QCOMPARE(texts, QStringList({" close/open cells  [disabled]", " Closecell: <3-4>", " Open cell: <3-4>",
                                     " ............... [disabled]", " RESTORE VIEW   "}));
        QCOMPARE(view()->cell(), cell);
        QCOMPARE(view()->workIndex(1, cell - 1), view()->workIndex(0, cell - 1));
        QVERIFY(live->lineIndex[1][cell - 1] != live->lineIndex[0][cell - 1]);

        // The closed cell shows as a green band.
        const double x = 0.5 * (live->ribSpanPos[cell - 1] + live->ribSpanPos[cell]);
        const double y = 0.5 * (view()->pointPosition(4 * kRibSlots).y() + view()->pointPosition(5 * kRibSlots).y());
        const QImage image = view()->grab().toImage();
        QCOMPARE(QColor(image.pixel(view()->toWidget(QPointF(x, y)).toPoint())), QColor(Qt::green));

        cellMenu(cell, 2, &shown);
        QCOMPARE(view()->workIndex(1, cell - 1), live->rowCentreIndex[1]);
        cellMenu(cell, 1, &shown);
        press(QDialogButtonBox::Ok);
        QCOMPARE(live->lineIndex[1][cell - 1], live->lineIndex[0][cell - 1]);
        QVERIFY(live->lineIndex[1][cell] != live->lineIndex[0][cell]);
    }

    // With an odd cell count the centre cell has no menu and rib 0's points
    // stay where they are.
    void oddCellCount()
    {
        load(35);
        QCOMPARE(live->firstRib, 1);
        open();
        bool shown = true;
        cellMenu(1, 1, &shown);
        QVERIFY(!shown);
        QCOMPARE(view()->cell(), -1);
        cellMenu(2, 0, &shown);
        QVERIFY(shown);

        const int atRib0 = view()->workIndex(8, 0);
        drag(at(8, 0), at(8, 0) + QPoint(0, -30));
        QCOMPARE(view()->selection(), 8 * kRibSlots);
        QCOMPARE(view()->workIndex(8, 0), atRib0);
        QTest::keyClick(view(), Qt::Key_Up);
        QCOMPARE(view()->workIndex(8, 0), atRib0);

        const int atRib1 = view()->workIndex(8, 1);
        drag(at(8, 1), at(8, 1) + QPoint(0, -30));
        QVERIFY(view()->workIndex(8, 1) != atRib1);
    }

    // The status line (current row, rib and button) is readable on the
    // black ground.
    void statusLineShows()
    {
        open();
        // Pan the drawing out of sight: only the status line is left.
        const QPoint from(200, 300), to(200, 300 + 4 * view()->height());
        QTest::mousePress(view(), Qt::MiddleButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, view()->mapToGlobal(to), Qt::NoButton, Qt::MiddleButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
        QTest::mouseRelease(view(), Qt::MiddleButton, Qt::NoModifier, to);
        const QImage image = view()->grab().toImage();
        const int x0 = int(0.3 * view()->width());
        int light = 0;
        for (int y = 30; y <= 55; ++y)
            for (int x = x0; x < std::min(x0 + 300, image.width()); ++x)
                light += qGray(image.pixel(x, y)) > 128;
        QVERIFY2(light > 20, qPrintable(QString::number(light)));
    }

    // At the form's size and larger, every row's points, whichever row is
    // current, and the plan with its letters and rib numbers show whole in
    // the view below its header line.
    void planFitsTheView()
    {
        for (const QSize size : {QSize(769, 600), QSize(1400, 950), QSize(1600, 1000)}) {
            dialog->resize(size);
            open();
            QCoreApplication::processEvents();
            dialog->radio_G->click();
            QCOMPARE(view()->currentLine(), 8);
            const QRectF area = view()->viewArea();
            QVERIFY(area.top() >= 55);
            const QRectF plan = view()->planExtent();
            const QRectF shown(view()->toWidget(plan.topLeft()), view()->toWidget(plan.bottomRight()));
            QVERIFY2(area.adjusted(-1, -1, 1, 1).contains(shown),
                     qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
            for (int row = 0; row < kLineRows; ++row)
                for (int rib = 0; rib <= live->lastRib; ++rib) {
                    const int id = row * kRibSlots + rib;
                    if (view()->pointValid(id))
                        QVERIFY2(area.contains(view()->toWidget(view()->pointPosition(id))),
                                 qPrintable(QStringLiteral("row %1 rib %2 at %3 x %4").arg(row).arg(rib)
                                                .arg(size.width()).arg(size.height())));
                }
            dialog->hide();
        }
        dialog->resize(1400, 950);
    }

    void navigation()
    {
        open();
        const double fitted = view()->zoomFactor();
        const QPointF pan = view()->panOffset();
        QVERIFY(fitted > 0.25 && fitted <= 2.0);
        QWheelEvent up(QPointF(100, 100), view()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 960),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view(), &up);
        QCOMPARE(view()->zoomFactor(), 2.0);
        QCoreApplication::sendEvent(view(), &up);
        QCOMPARE(view()->zoomFactor(), 2.0);
        bool shown = false;
        cellMenu(3, 3, &shown);   // " RESTORE VIEW   ", past the dotted entry
        QCOMPARE(view()->zoomFactor(), fitted);
        QCOMPARE(view()->panOffset(), pan);
    }
};

QTEST_MAIN(TestLineMorphDialog)
#include "tst_linemorph_gui.moc"
