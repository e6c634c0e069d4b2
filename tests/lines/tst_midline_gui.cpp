// "Default lines positions <center rib>" on the shipped default design: the
// markers put on airfoil vertices at the show (a repair that outlives a
// cancel), the row order refused or allowed, a release deriving the row's
// index on every rib, accept moving the lines of the row to their new ends,
// cancel, the keys, the view, and what the table and the line fan draw.

#include <QTest>
#include <QTextDocumentFragment>
#include <QSize>
#include <QRectF>
#include <QFontMetricsF>
#include <QByteArray>
#include <QCoreApplication>
#include <QLineF>
#include <QList>
#include <QMap>
#include <QMouseEvent>
#include <QObject>
#include <QPaintDevice>
#include <QPainter>
#include <QPair>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QTextItem>
#include <QWheelEvent>

#include <QCheckBox>
#include <QPaintEngine>
#include <QPushButton>

#include <cmath>
#include <memory>

#include "core/calcul3d.h"
#include "core/transf.h"
#include "lines/linemorphing.h"
#include "lines/ui/midlinedialog.h"
#include "shell/model/installhooks.h"
#include "tests/lines/linesfixture.h"
#include "tests/common/recordimage.h"
#include "tests/common/statewait.h"

using namespace linesfixture;

namespace {

QByteArray recordBytes(const ParaStruct* d)
{
    return recordImage(*d);
}

// A paint device that keeps the texts and lines drawn on it, in the
// painter's own coordinates, with the pen of each line.
class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            pen = state.pen();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
    void drawLines(const QLineF* l, int count) override
    {
        for (int i = 0; i < count; ++i) {
            lines << l[i];
            pens << pen;
        }
    }
    Type type() const override { return QPaintEngine::User; }

    QPen pen;
    QStringList texts;
    QList<QLineF> lines;
    QList<QPen> pens;
};

class RecordingDevice : public QPaintDevice
{
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 2000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }
    mutable RecordingEngine engine;
};

} // namespace

class TestMidLineDialog : public QObject
{
    Q_OBJECT

    ParaStruct* live = nullptr;
    std::unique_ptr<MidLineDialog> dialog;

    MidLinEdit* view() const { return dialog->view(); }

    void open()
    {
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
    }
    QPoint marker(int row) const { return view()->toWidget(view()->rowPoint(row)).toPoint(); }
    // A left drag of the row's marker by dx pixels, released or not.
    void dragRow(int row, int dx, bool release = true)
    {
        const QPoint from = marker(row);
        QTest::mousePress(view(), Qt::LeftButton, Qt::NoModifier, from);
        QCOMPARE(view()->selectedRow(), row);
        const QPoint to = from + QPoint(dx, 0);
        QMouseEvent move(QEvent::MouseMove, to, view()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
        if (release)
            QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, to);
    }
    // The lines of groups L1..L4 fastened to row A, by (rib, side).
    QMap<QPair<int, int>, QVector3D> rowALineEnds() const
    {
        QMap<QPair<int, int>, QVector3D> ends;
        for (int slot = 1; slot <= 4; ++slot) {
            BridleGroup g = live->bridle.groups[slot];
            Rebuild_Group_Lists(&g);
            for (int i = 0; i < g.lines.size(); ++i) {
                const origRLS& a = g.attachments[i];
                if (a.attached && a.row == 0)
                    ends.insert({a.rib, a.side}, g.lines[i].q2);
            }
        }
        return ends;
    }
    // The lower-surface index of row r on a rib follows the row's percent of
    // that rib's own chord: the point just ahead of the target x.
    void checkRowOnEveryRib(int row)
    {
        for (int j = 0; j <= live->lastRib; ++j) {
            const QPolygonF& f = live->ribAirfoils[j];
            const int n = live->noseIndex[j];
            const double target = f[n].x() + (f[0].x() - f[n].x()) * live->rowPercent[row] / 100;
            const int i = live->lineIndex[row][j];
            QVERIFY2(f[i + 1].x() >= target && (i <= n + 1 || f[i].x() < target),
                     qPrintable(QString("rib %1 index %2").arg(j).arg(i)));
        }
    }

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        live = GetDataStruct();
    }

    void init()
    {
        auto d = defaultDesign(34);
        QVERIFY(d);
        *live = *d;
        dialog = std::make_unique<MidLineDialog>();
        dialog->resize(1200, 900);
    }

    void cleanup() { dialog.reset(); }

    void form()
    {
        QCOMPARE(dialog->windowTitle(), QString("Default lines positions <center rib>"));
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog->exitButton->text(), QString("cancel"));
        QCOMPARE(dialog->acceptButton->text(), QString("accept"));
        QCOMPARE(view()->sizeHint(), QSize(1024, 768));
        QVERIFY(!dialog->lineseq_checkBox->isChecked());
        // The rule and the switch show their whole texts.
        for (QWidget* w : {static_cast<QWidget*>(dialog->label), static_cast<QWidget*>(dialog->lineseq_checkBox)})
            QVERIFY2(w->sizeHint().width() <= w->width(), qPrintable(w->objectName() + QString(" %1").arg(w->sizeHint().width())));
    }

    // The show puts every marker on its nearest airfoil vertex; cancel keeps
    // that repair and gives back everything else.
    void showPutsMarkersOnVertices()
    {
        live->rowMarkers[3] += QPointF(3.3, 2.1);
        const auto before = std::make_unique<ParaStruct>(*live);
        open();
        const QPolygonF& foil = view()->foilDrawing();
        for (int k = 0; k < kLineRows; ++k) {
            QVERIFY(foil.contains(view()->rowPoint(k)));
            QCOMPARE(live->rowMarkers[k], view()->rowPoint(k));
            QVERIFY(Dist2(view()->rowPoint(k), before->rowMarkers[k]) < 5);
        }
        dialog->exitButton->click();
        QVERIFY(!dialog->isVisible());
        for (int k = 0; k < kLineRows; ++k) {
            QCOMPARE(live->rowMarkers[k], view()->rowPoint(k));
            QCOMPARE(live->rowPercent[k], before->rowPercent[k]);
            QCOMPARE(live->rowCentreIndex[k], before->rowCentreIndex[k]);
        }
    }

    void rowOrder()
    {
        open();
        const double a = view()->rowPoint(2).x();
        const int behindB = int(view()->rowPoint(3).x() - a) + 15;
        dragRow(2, behindB);
        QCOMPARE(view()->rowPoint(2).x(), a);
        QVERIFY(live->rowCentreIndex[2] < live->rowCentreIndex[3]);

        QTest::mouseClick(dialog->lineseq_checkBox, Qt::LeftButton);
        QVERIFY(view()->anyOrder());
        dragRow(2, behindB);
        QVERIFY(view()->rowPoint(2).x() > view()->rowPoint(3).x());
        QVERIFY(live->rowCentreIndex[2] > live->rowCentreIndex[3]);

        // A new show clears the option again.
        dialog->exitButton->click();
        open();
        QVERIFY(!dialog->lineseq_checkBox->isChecked());
        QVERIFY(!view()->anyOrder());
    }

    // Releasing a moved marker derives the row's centre index and its index
    // on every rib; the other rows stay.
    void releaseDerivesTheRow()
    {
        open();
        const auto before = std::make_unique<ParaStruct>(*live);
        dragRow(2, 28, false);
        QCOMPARE(live->lineIndex[2][5], before->lineIndex[2][5]);   // not before the release
        QTest::mouseRelease(view(), Qt::LeftButton, Qt::NoModifier, marker(2));
        QCOMPARE(live->rowCentreIndex[2], live->Find_PntIndex(live->rowMarkers[2], 'D', live->ribAirfoils[0]));
        QVERIFY(std::fabs(live->rowPercent[2] - before->rowPercent[2] - 5) < 0.3);
        QVERIFY(live->lineIndex[2][5] > before->lineIndex[2][5]);
        checkRowOnEveryRib(2);
        for (int r = 0; r < kLineRows; ++r)
            for (int j = 0; j < kRibSlots; ++j)
                if (r != 2)
                    QCOMPARE(live->lineIndex[r][j], before->lineIndex[r][j]);
    }

    // Moving row A back by 5 % of the chord and accepting: the lines of row
    // A end at the new attachment points.
    void acceptMovesTheLines()
    {
        open();
        const auto before = rowALineEnds();
        QVERIFY(before.size() >= 8);   // every loaded rib of the half wing
        for (auto it = before.begin(); it != before.end(); ++it) {
            const QVector3D at = Row_Attachment_Point(live, 2, it.key().first);
            QVERIFY((it.value() - (it.key().second == 1 ? p_SymY(at) : at)).length() < 1e-3);
        }
        const auto revision = live->geometryChanged.revision();
        live->linesOutdated = false;
        dragRow(2, 28);
        QTest::mousePress(dialog->acceptButton, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(live->geometryChanged);
        QVERIFY(live->geometryChanged.revision() != revision);
        QVERIFY(live->linesOutdated);

        const auto after = rowALineEnds();
        QCOMPARE(after.keys(), before.keys());
        for (auto it = after.begin(); it != after.end(); ++it) {
            const int rib = it.key().first;
            const QVector3D at = Row_Attachment_Point(live, 2, rib);
            QVERIFY((it.value() - (it.key().second == 1 ? p_SymY(at) : at)).length() < 1e-3);
            // 5 % of the rib's chord further back
            const double moved = (it.value() - before.value(it.key())).length() / live->chord[rib];
            QVERIFY2(moved > 0.04 && moved < 0.06, qPrintable(QString("rib %1: %2").arg(rib).arg(moved)));
        }
    }

    // The markers lie on the centre airfoil (rib 1 with an odd cell count),
    // the indexes come from rib 0's: a marker beyond rib 0's lower surface
    // has no index and is not moved there, even in any order.
    void markerWithoutIndexStays()
    {
        auto d = defaultDesign(35);
        QVERIFY(d);
        *live = *d;
        for (QPointF& p : live->ribAirfoils[0])
            p.rx() *= 0.9;
        open();
        QTest::mouseClick(dialog->lineseq_checkBox, Qt::LeftButton);
        const QPointF g = view()->rowPoint(8);
        const int index = live->rowCentreIndex[8];
        QVERIFY(g.x() > 40 + 560 * 0.9);
        dragRow(8, 3);
        QCOMPARE(view()->rowPoint(8), g);
        QCOMPARE(live->rowCentreIndex[8], index);
        QVERIFY(index >= 0);
        dragRow(8, -80);
        QVERIFY(view()->rowPoint(8).x() < g.x() - 70);
        QCOMPARE(live->rowCentreIndex[8], live->Find_PntIndex(live->rowMarkers[8], 'D', live->ribAirfoils[0]));
        QVERIFY(live->rowCentreIndex[8] > 0);
        dialog->exitButton->click();
    }

    void cancelGivesTheDesignBack()
    {
        open();
        dialog->exitButton->click();   // the markers are on vertices from here on
        const QByteArray before = recordBytes(live);
        open();
        dragRow(4, -20);
        dragRow(6, 12);
        QTest::keyClick(view(), Qt::Key_Right);
        dialog->exitButton->click();
        QVERIFY(recordBytes(live) == before);

        open();
        dragRow(4, -20);
        dialog->close();
        QVERIFY(recordBytes(live) == before);
    }

    // Left and Right move the selected marker by two pixels; the row's ribs
    // follow at the next release with that row selected.
    void keys()
    {
        open();
        const auto before = std::make_unique<ParaStruct>(*live);
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, marker(5));
        QCOMPARE(view()->selectedRow(), 5);
        const double x = view()->rowPoint(5).x();
        QTest::keyClick(view(), Qt::Key_Right);
        QTest::keyClick(view(), Qt::Key_Right);
        QVERIFY(view()->rowPoint(5).x() > x);
        QCOMPARE(live->lineIndex[5][3], before->lineIndex[5][3]);
        QTest::mouseClick(view(), Qt::LeftButton, Qt::NoModifier, marker(5));
        checkRowOnEveryRib(5);
        QVERIFY(live->rowCentreIndex[5] > before->rowCentreIndex[5]);
        QTest::keyClick(view(), Qt::Key_Left);
        QVERIFY(view()->rowPoint(5).x() < x + 4);
    }

    // At the form's size the table and the airfoil show whole across the
    // view, and the header's two lines whole in the window; at a large size
    // (maximized) they fill the view's width instead of 60 % of it.
    void fitsTheFormsSize()
    {
        for (const QSize size : {QSize(538, 642), QSize(1200, 900), QSize(1600, 1000)}) {
            dialog->resize(size);
            open();
            QCoreApplication::processEvents();
            const QRectF content = view()->contentExtent();
            const QRectF shown(view()->toWidget(content.topLeft()), view()->toWidget(content.bottomRight()));
            QVERIFY2(QRectF(view()->rect()).contains(shown),
                     qPrintable(QStringLiteral("%1: %2..%3").arg(size.width()).arg(shown.left()).arg(shown.right())));
            if (size.width() >= 1000)
                QVERIFY2(shown.width() > 0.9 * view()->width() || shown.height() > 0.9 * view()->height(),
                         qPrintable(QStringLiteral("%1 wide in %2").arg(shown.width()).arg(view()->width())));
            else
                QVERIFY(view()->zoomFactor() >= 0.5 && view()->zoomFactor() < 1.0);
            // the header's texts are not cut
            const QFontMetricsF label(dialog->label->font());
            const int room = dialog->groupBox_2->width() - dialog->label->x();
            QVERIFY(label.horizontalAdvance(QTextDocumentFragment::fromHtml(dialog->label->text()).toPlainText())
                    <= room);
            const QFontMetricsF box(dialog->lineseq_checkBox->font());
            QVERIFY(box.horizontalAdvance(dialog->lineseq_checkBox->text()) + 16 <= room);
            QVERIFY(dialog->label->font().pointSize() >= 7);
            dialog->hide();
        }
        dialog->resize(1200, 900);
    }

    void navigation()
    {
        open();
        const double fitted = view()->zoomFactor();
        const QPointF home = view()->panOffset();
        QWheelEvent up(QPointF(100, 100), view()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 360),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view(), &up);
        QCOMPARE(view()->zoomFactor(), 2 * fitted);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::sendEvent(view(), &up);
        QCOMPARE(view()->zoomFactor(), 10.0);
        QTest::mousePress(view(), Qt::MiddleButton, Qt::NoModifier, QPoint(200, 200));
        QMouseEvent move(QEvent::MouseMove, QPoint(230, 190), view()->mapToGlobal(QPoint(230, 190)), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &move);
        QTest::mouseRelease(view(), Qt::MiddleButton, Qt::NoModifier, QPoint(230, 190));
        QCOMPARE(view()->panOffset(), home + QPointF(30, -10));
        QTest::mouseClick(view(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(view()->zoomFactor(), fitted);
        QCOMPARE(view()->panOffset(), home);
    }

    // A window restored from the task bar starts no session: the record,
    // the markers where the user put them, the order option and the zoom
    // stay as they were.
    void restoredWindowWritesNothing()
    {
        open();
        QTest::mouseClick(dialog->lineseq_checkBox, Qt::LeftButton);
        dragRow(2, int(view()->rowPoint(3).x() - view()->rowPoint(2).x()) + 15);
        QWheelEvent up(QPointF(100, 100), view()->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 360),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view(), &up);
        const double zoom = view()->zoomFactor();
        const QPointF pan = view()->panOffset();
        const QByteArray before = recordBytes(live);
        dialog->setWindowState(Qt::WindowMinimized);
        dialog->setWindowState(Qt::WindowNoState);
        QVERIFY(dialog->isVisible());
        QVERIFY(recordBytes(live) == before);
        QVERIFY(dialog->lineseq_checkBox->isChecked());
        QVERIFY(view()->anyOrder());
        QCOMPARE(view()->zoomFactor(), zoom);
        QCOMPARE(view()->panOffset(), pan);
    }

    // The table shows every row's percent with two decimals; the fan runs
    // from rows A..F to the hanging point.
    void tableAndFan()
    {
        live->rowPercent[4] = 55.0349;
        RecordingDevice device;
        {
            QPainter painter(&device);
            pp_Line_Positions(live, &painter);
        }
        const QStringList& texts = device.engine.texts;
        QVERIFY(texts.contains("INITIAL LINES POSITIONS IN % from LE"));
        QVERIFY(texts.contains(" 55.03%"));
        for (int k = 0; k < kLineRows; ++k) {
            QVERIFY(texts.contains("  " + LineLetter(k)));
            QVERIFY2(texts.contains(QString(" %1%").arg(live->rowPercent[k], 4, 'f', 2)), qPrintable(LineLetter(k)));
        }
        const QPointF o1 = live->rowMarkers[0], o2 = live->rowMarkers[1];
        const double angle = std::atan2(o2.y() - o1.y(), o2.x() - o1.x()) * 180 / M_PI;
        QVERIFY(texts.contains(QString("opening incidence angle: %1 deg").arg(angle, 4, 'f', 2)));

        const double c = live->R_X(live->chord[0]);
        const QPointF hanging(40 + 560 * live->legaX / c, 560 * live->hangHeight / c);
        QList<QPointF> fanStarts;
        for (int i = 0; i < device.engine.lines.size(); ++i)
            if (device.engine.lines[i].p2() == hanging && device.engine.pens[i].color() == Qt::red)
                fanStarts << device.engine.lines[i].p1();
        QCOMPARE(fanStarts.size(), 6);
        for (int k = 2; k <= 7; ++k)
            QVERIFY(fanStarts.contains(live->rowMarkers[k]));
        QVERIFY(!fanStarts.contains(live->rowMarkers[8]));
    }
};

QTEST_MAIN(TestMidLineDialog)
#include "tst_midline_gui.moc"
