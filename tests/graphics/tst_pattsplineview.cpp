// The colouring of the panel pieces on the default design, offscreen: the
// published UV outlines, clicks with colouring off and on, the grey reset,
// the ".cnp" saved and read back by position, colours kept while they are
// not saved, and what the user is told about a file for other design lines.

#include <QTest>
#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QList>
#include <QMouseEvent>
#include <QObject>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "core/parastruct.h"
#include "geom/designcurves.h"
#include "graphics/ui/pattsplineview.h"
#include "tests/common/scripteduser.h"
#include "tests/common/statewait.h"
#include "tools/template/defaultdesign.h"

#include <memory>

class TestPattSplineView : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ScriptedUser> user;
    std::unique_ptr<PattSpline> view;
    ParaStruct* design = nullptr;

    PieceColouring& model() { return view->colouring(); }

    // A widget position inside outline i and inside no outline before it.
    QPointF insideOutline(int i)
    {
        const QList<QPolygonF>& outlines = model().outlines;
        const QPolygonF& p = outlines.at(i);
        const QRectF box = p.boundingRect();
        for (int a = 1; a < 20; ++a)
            for (int b = 1; b < 20; ++b) {
                const QPointF q(box.left() + box.width() * a / 20, box.top() + box.height() * b / 20);
                bool earlier = false;
                for (int j = 0; j < i && !earlier; ++j)
                    earlier = outlines.at(j).containsPoint(q, Qt::OddEvenFill);
                if (!earlier && p.containsPoint(q, Qt::OddEvenFill))
                    return model().anchor + model().scale * (q - model().anchor);
            }
        return QPointF(-1, -1);
    }
    void click(QPointF pos, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent press(QEvent::MouseButtonPress, pos, view->mapToGlobal(pos), button, button, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, pos, view->mapToGlobal(pos), button, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(view.get(), &release);
    }
    void colourPiece(int i, QColor c)
    {
        view->SetColoring(true);
        view->SetMyColor(c);
        const QPointF at = insideOutline(i);
        QVERIFY(at.x() >= 0);
        click(at);
        view->SetColoring(false);
    }
    void showAgain()
    {
        view->hide();
        view->show();
        QCoreApplication::processEvents();
    }
    // A top design line across the whole half wing.
    Spline lineAcross() const
    {
        Spline s;
        s.pointCount = 3;
        s.degree = 3;
        s.order = 4;
        s.side = 0;
        for (int i = 0; i < 3; ++i) {
            const int k = i == 0 ? 0 : i == 1 ? design->lastRib / 2 : design->lastRib;
            s.points[i] = QPointF(design->ribSpanPos[k],
                                  design->trailingEdgeX[k] - 0.4 * design->airfoilArcLen[design->lineIndex[0][k]][k]);
        }
        return s;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        design = GetDataStruct();
        *design = *Build_Default_Design(34);
        GetGlobClass()->cnpPath = dir.filePath(QStringLiteral("wing.cnp"));
        user = std::make_unique<ScriptedUser>();
        view = std::make_unique<PattSpline>();
        view->resize(1200, 700);
        view->show();
        WAIT_FOR_EXPOSED(view.get());
    }

    void init()
    {
        design->designSplines.clear();
        QFile::remove(GetGlobClass()->cnpPath);
        view->Forget_Unsaved_Colours();
        showAgain();
        user->asked.clear();
        user->texts.clear();
    }

    // Every piece of every cell is laid out; the UV extent is the half
    // wing's: 256 per cell along the span, the airfoil indexes chordwise.
    void publishedPieces()
    {
        const GlobClass* glob = GetGlobClass();
        QVERIFY(model().outlines.size() >= 3 * design->lastRib);
        QCOMPARE(glob->uvPieces.size(), model().allPieces.size());
        QCOMPARE(model().colours.size(), model().outlines.size());
        QCOMPARE(glob->uvWidth, 256 * design->lastRib);
        QVERIFY2(glob->uvHeight >= 998 && glob->uvHeight <= 999, qPrintable(QString::number(glob->uvHeight)));
        QCOMPARE(glob->pieceColours, model().colours);
    }

    // The whole layout shows in the view, below the band of the tool-tip
    // label, and fills it on one side; also after the view was resized.
    void layoutFitsTheView()
    {
        for (const QSize size : {QSize(1200, 700), QSize(780, 480), QSize(1580, 900)}) {
            view->resize(size);
            QCoreApplication::processEvents();
            QPolygonF drawn;
            for (const QPolygonF& o : model().outlines)
                for (const QPointF& q : o)
                    drawn << model().anchor + model().scale * (q - model().anchor);
            const QRectF shown = drawn.boundingRect();
            const QRectF area = Colouring_Area(view->rect());
            QVERIFY(area.top() >= 50);
            QVERIFY2(shown.top() >= area.top() - 1e-6 && shown.bottom() <= area.bottom() + 1e-6
                         && shown.left() >= area.left() - 1e-6 && shown.right() <= area.right() + 1e-6,
                     qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                    .arg(shown.x())
                                    .arg(shown.y())
                                    .arg(shown.width())
                                    .arg(shown.height())
                                    .arg(size.width())
                                    .arg(size.height())));
            QVERIFY(shown.width() > 0.95 * area.width() || shown.height() > 0.95 * area.height());
        }
        view->resize(1200, 700);
        QCoreApplication::processEvents();
    }

    void noPieces()
    {
        const auto saved = std::make_unique<ParaStruct>(*design);
        *design = *std::make_unique<ParaStruct>();
        showAgain();
        QVERIFY(model().outlines.isEmpty());
        QVERIFY(GetGlobClass()->uvPieces.isEmpty());
        QCOMPARE(GetGlobClass()->uvWidth, -10000);
        QCOMPARE(GetGlobClass()->uvHeight, -10000);
        *design = *saved;
        showAgain();
    }

    void clickWithColouringOff()
    {
        const QList<QPolygonF> outlines = model().outlines;
        const QList<QColor> colours = model().colours;
        const QPointF anchor = model().anchor;
        view->SetMyColor(Qt::red);
        click(insideOutline(2));
        QCOMPARE(model().outlines, outlines);
        QCOMPARE(model().colours, colours);
        QCOMPARE(model().anchor, anchor);
        QVERIFY(!model().hasUnsavedColours());
    }

    void chosenColourAndGreyReset()
    {
        colourPiece(1, QColor(10, 20, 200));
        QCOMPARE(model().colours[1], QColor(10, 20, 200, 200));
        QVERIFY(!model().colours[0].isValid());
        QCOMPARE(GetGlobClass()->pieceColours[1], QColor(10, 20, 200, 200));
        view->InitGray_PolyColor();
        for (const QColor& c : model().colours)
            QCOMPARE(c, QColor(160, 165, 160, 255));
    }

    void savedColoursComeBackByPosition()
    {
        colourPiece(0, QColor(200, 0, 0));
        colourPiece(3, QColor(0, 120, 0));
        QVERIFY(view->Save_Canopy_Data());
        QVERIFY(!model().hasUnsavedColours());
        QFile file(GetGlobClass()->cnpPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // One piece per outline: its points and 4 + 11 bytes.
        qint64 bytes = 4;
        for (const QPolygonF& p : model().outlines)
            bytes += 4 + 16 * p.size() + 11;
        QCOMPARE(file.size(), bytes);
        file.close();
        const int n = model().outlines.size();
        showAgain();
        QCOMPARE(model().outlines.size(), n);
        QCOMPARE(model().colours[0], QColor(200, 0, 0, 200));
        QCOMPARE(model().colours[3], QColor(0, 120, 0, 200));
        QVERIFY(!model().colours[1].isValid());
        QVERIFY(user->texts.isEmpty());
        // Without a project nothing is written.
        const QString path = GetGlobClass()->cnpPath;
        GetGlobClass()->cnpPath.clear();
        QVERIFY(!view->Save_Canopy_Data());
        GetGlobClass()->cnpPath = path;
    }

    // Colours chosen and not saved stay while the dialog is open (a change
    // of tab shows the view again) and go when it closes.
    void unsavedColoursKeptUntilClosed()
    {
        colourPiece(2, QColor(0, 0, 250));
        showAgain();
        QCOMPARE(model().colours[2], QColor(0, 0, 250, 200));
        QVERIFY(model().hasUnsavedColours());
        view->Forget_Unsaved_Colours();
        showAgain();
        QVERIFY(!model().colours[2].isValid());
        QVERIFY(user->texts.isEmpty());
    }

    // A file saved for other design lines is told once, its colours still
    // laid on the pieces in order.
    void fileForOtherLinesIsReported()
    {
        colourPiece(0, QColor(200, 0, 0));
        QVERIFY(view->Save_Canopy_Data());
        const int before = model().outlines.size();
        design->designSplines = {lineAcross()};
        showAgain();
        QVERIFY(model().outlines.size() > before);
        QCOMPARE(user->texts.size(), 1);
        QVERIFY(user->texts[0].contains(QLatin1String("other design lines")));
        QCOMPARE(model().colours[0], QColor(200, 0, 0, 200));
        showAgain();
        QCOMPARE(user->texts.size(), 1);
        // Saved for the new lines, the file fits again.
        QVERIFY(view->Save_Canopy_Data());
        showAgain();
        QCOMPARE(user->texts.size(), 1);
        QVERIFY(view->lastNotice().isEmpty());
    }

    void damagedFileIsReported()
    {
        QVERIFY(view->Save_Canopy_Data());
        QFile file(GetGlobClass()->cnpPath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.resize(file.size() - 5);
        file.close();
        showAgain();
        QCOMPARE(user->texts.size(), 1);
        QVERIFY(user->texts[0].contains(QLatin1String("could be read")));
    }

    void zoomAndWarnings()
    {
        for (int i = 0; i < 10; ++i) {
            QWheelEvent e(QPointF(300, 300), view->mapToGlobal(QPointF(300, 300)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view.get(), &e);
        }
        QCOMPARE(model().scale, 0.1);
        QTest::keyClick(view.get(), '-');
        QCOMPARE(model().scale, 0.1 * 0.9);
        click(QPointF(50, 50), Qt::RightButton);
        QString expected = QStringLiteral("warnings   \n ");
        for (const QString& w : design->designWarnings)
            expected += w;
        QCOMPARE(view->lastWarnings(), expected);
    }
};

QTEST_MAIN(TestPattSplineView)
#include "tst_pattsplineview.moc"
