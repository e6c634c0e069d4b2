// The design dialog on the default design under a display: the side follows
// the tabs (and the tab on a new show), the grey reset asks first, the
// colour button, "Save and  Preview" saving the colours and rebuilding the
// texture once, and a picture of every tab with two coloured panels.

#include <QTest>
#include <QWidget>
#include <QColor>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "core/parastruct.h"
#include "graphics/canopyfile.h"
#include "graphics/ui/designdialog.h"
#include "tests/common/statewait.h"
#include "tests/common/scripteduser.h"
#include "tools/template/defaultdesign.h"

#include <memory>

class TestDesignDialog : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ScriptedUser> user;
    std::unique_ptr<DesignDialog> dialog;
    ParaStruct* design = nullptr;

    PieceColouring& colouring() { return dialog->patt_widget->colouring(); }

    void showFresh()
    {
        dialog->hide();
        dialog->resize(1300, 860);
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
        QCoreApplication::processEvents();
    }
    // Colours piece i by a click, as the user does: colouring on, a colour
    // chosen, a click on the piece.
    void colourPiece(int i, QColor c)
    {
        PattSpline* view = dialog->patt_widget;
        const QPolygonF& p = colouring().outlines.at(i);
        QPointF inside(-1, -1);
        const QRectF box = p.boundingRect();
        // a point of the piece, and of no piece before it, that the view shows
        for (int a = 1; a < 20 && inside.x() < 0; ++a)
            for (int b = 1; b < 20 && inside.x() < 0; ++b) {
                // The layout point under the whole pixel the click lands on.
                const QPointF aimed(box.left() + box.width() * a / 20, box.top() + box.height() * b / 20);
                const QPoint pixel =
                    (colouring().anchor + colouring().scale * (aimed - colouring().anchor)).toPoint();
                if (!view->rect().contains(pixel))
                    continue;
                const QPointF q = colouring().anchor + (QPointF(pixel) - colouring().anchor) / colouring().scale;
                bool earlier = false;
                for (int j = 0; j < i; ++j)
                    earlier = earlier || colouring().outlines.at(j).containsPoint(q, Qt::OddEvenFill);
                if (!earlier && p.containsPoint(q, Qt::OddEvenFill))
                    inside = QPointF(pixel);
            }
        QVERIFY(inside.x() >= 0);
        if (!dialog->coloring_checkBox->isChecked())
            dialog->coloring_checkBox->click();
        QVERIFY(dialog->coloring_checkBox->isChecked());
        user->onColor = [c](const QColor&, const QString&) { return c; };
        emit dialog->colorButton->pressed();
        QTest::mouseClick(view, Qt::LeftButton, {}, inside.toPoint());
    }
    Spline topLine(int k0, int k1, double f) const
    {
        Spline s;
        s.pointCount = 3;
        s.degree = 3;
        s.order = 4;
        s.side = 0;
        const int ks[3] = {k0, (k0 + k1) / 2, k1};
        for (int i = 0; i < 3; ++i) {
            const int k = ks[i];
            s.points[i] = QPointF(design->ribSpanPos[k],
                                  design->trailingEdgeX[k] - f * design->airfoilArcLen[design->lineIndex[0][k]][k]);
        }
        return s;
    }
    void shot(const QString& name)
    {
        const QString shots = qEnvironmentVariable("WL_SCREENSHOT_DIR");
        const QImage image = dialog->grab().toImage();
        QVERIFY(!image.isNull());
        if (!shots.isEmpty())
            image.save(shots + QLatin1Char('/') + name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        design = GetDataStruct();
        *design = *Build_Default_Design(34);
        GlobClass* glob = GetGlobClass();
        glob->cnpPath = dir.filePath(QStringLiteral("wing.cnp"));
        glob->dxfDir = dir.path();
        design->designSplines = {topLine(2, 12, 0.35), topLine(0, 17, 0.7)};
        user = std::make_unique<ScriptedUser>();
        dialog = std::make_unique<DesignDialog>();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Design dialog"));
        QCOMPARE(dialog->design_widget_up->editor().side(), 0);
        QCOMPARE(dialog->design_widget_down->editor().side(), 1);
        QVERIFY(!dialog->nurbswidget->isEnabled());
        showFresh();
    }

    // Each tab's editor designs its own side, whichever tab was current.
    void tabsKeepTheirSides()
    {
        dialog->tabWidget->setCurrentIndex(1);
        QCOMPARE(dialog->design_widget_down->editor().side(), 1);
        QCOMPARE(dialog->design_widget_up->editor().side(), 0);
        QCOMPARE(dialog->tabWidget->tabText(1), QStringLiteral("BOTTOM SURFACE DESIGN"));
        QCOMPARE(dialog->tabWidget->tabText(0), QStringLiteral("top surface design"));
        // No tab without a name: the preview's tab says what it holds.
        QCOMPARE(dialog->tabWidget->tabText(3), QStringLiteral("preview"));
        dialog->tabWidget->setCurrentIndex(0);
        QCOMPARE(dialog->design_widget_up->editor().side(), 0);
        QCOMPARE(dialog->design_widget_down->editor().side(), 1);
        QCOMPARE(design->designSplines.size(), 2);
    }

    // Shown again on the bottom tab, the dialog designs the bottom side:
    // lines drawn there are bottom lines.
    void bottomTabKeepsItsSideOnShow()
    {
        dialog->tabWidget->setCurrentIndex(1);
        showFresh();
        EditSplineUP* bottom = dialog->design_widget_down;
        QCOMPARE(bottom->editor().side(), 1);
        const int k = 4;
        const double te = design->trailingEdgeX[k];
        const double o2 = te - (design->airfoilArcLen[999][k] - design->airfoilArcLen[design->lineIndex[1][k]][k]);
        bottom->Action_From_Menu(QPointF(design->ribSpanPos[k], (te + o2) / 2).toPoint(), 1);
        bottom->Action_From_Menu(QPointF(design->ribSpanPos[k + 6], (te + o2) / 2).toPoint(), 1);
        bottom->Update_Spline_list();
        QCOMPARE(design->designSplines.size(), 3);
        QCOMPARE(design->designSplines.last().side, 1);
        dialog->tabWidget->setCurrentIndex(0);
        QCOMPARE(dialog->design_widget_up->editor().side(), 0);
    }

    void colourButtonOnlyWhileColouring()
    {
        dialog->tabWidget->setCurrentIndex(2);
        QVERIFY(!dialog->coloring_checkBox->isChecked());
        emit dialog->colorButton->pressed();
        QCOMPARE(user->count(QStringLiteral("color")), 0);
        dialog->coloring_checkBox->click();
        user->onColor = [](const QColor& initial, const QString& title) {
            return initial == QColor(Qt::black) && title == QLatin1String("Select  Color") ? QColor(0, 0, 255)
                                                                                         : QColor();
        };
        emit dialog->colorButton->pressed();
        QCOMPARE(dialog->chosenColour(), QColor(0, 0, 255));
        QCOMPARE(colouring().currentColour, QColor(0, 0, 255, 200));
        user->onColor = nullptr;   // cancelled: no colour
        emit dialog->colorButton->pressed();
        QVERIFY(!dialog->chosenColour().isValid());
        QVERIFY(!colouring().currentColour.isValid());
        // Colouring off saves.
        dialog->coloring_checkBox->click();
        QVERIFY(!dialog->colorButton->isEnabled());
        QVERIFY(QFile::exists(GetGlobClass()->cnpPath));
    }

    // The colour tab's labels and buttons show their whole texts with this
    // system's fonts.
    void colourTabTextsFit()
    {
        const int tab = dialog->tabWidget->currentIndex();
        dialog->tabWidget->setCurrentIndex(2);
        QCoreApplication::processEvents();
        for (const char* name : {"label_2", "pushButton", "colorButton"}) {
            auto* w = dialog->findChild<QWidget*>(name);
            QVERIFY2(w, name);
            const QString text = w->property("text").toString();
            QVERIFY2(w->fontMetrics().horizontalAdvance(text) + 4 <= w->width(), name);
        }
        dialog->tabWidget->setCurrentIndex(tab);
    }

    void greyResetAsksFirst()
    {
        dialog->tabWidget->setCurrentIndex(2);
        colourPiece(0, QColor(250, 0, 0));
        const QList<QColor> before = colouring().colours;
        user->answerQuestions(false);
        dialog->pushButton->click();
        QCOMPARE(user->all(QStringLiteral("question")),
                 QStringLiteral("overwrite existing painting with light gray color ? yes/no"));
        QCOMPARE(colouring().colours, before);
        user->answerQuestions(true);
        dialog->pushButton->click();
        QCOMPARE(colouring().colours[0], QColor(160, 165, 160, 255));
        QCOMPARE(colouring().colours.last(), QColor(160, 165, 160, 255));
    }

    // Shown twice, the dialog still rebuilds the texture once per save.
    void saveAndPreviewOnce()
    {
        showFresh();
        showFresh();
        dialog->tabWidget->setCurrentIndex(2);
        colourPiece(3, QColor(230, 40, 40));
        colourPiece(9, QColor(40, 40, 230));
        const int builds = dialog->nurbswidget->imageBuilds();
        // The texture is drawn under the wait cursor, which goes with the
        // save.
        int cursor = -1;
        const QMetaObject::Connection watch = connect(dialog.get(), &DesignDialog::set_texture, dialog.get(), [&cursor] {
            const QCursor* c = QGuiApplication::overrideCursor();
            cursor = c ? int(c->shape()) : -1;
        });
        emit dialog->saveButton->pressed();
        disconnect(watch);
        QCOMPARE(cursor, int(Qt::WaitCursor));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(dialog->nurbswidget->imageBuilds(), builds + 1);
        QVERIFY(dialog->nurbswidget->isEnabled());
        QCOMPARE(dialog->tabWidget->currentIndex(), 3);
        QVERIFY(!dialog->coloring_checkBox->isChecked());
        QVERIFY(!colouring().colouring);
        const QList<Canopy> saved = ReadCanopyStream(design);
        QCOMPARE(saved.size(), colouring().outlines.size());
        QCOMPARE(saved[3].colour, QColor(230, 40, 40, 200));
        WAIT_FOR_STATE(dialog->nurbswidget->textureReady());
    }

    // Without a project "Save and  Preview" writes no file anywhere and says
    // so; with an output directory that cannot take the image, the user is
    // told that the preview has no new texture.
    void savingWithoutProjectOrImage()
    {
        GlobClass* glob = GetGlobClass();
        const QString cnp = glob->cnpPath;
        const QString out = glob->dxfDir;
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        glob->cnpPath.clear();
        glob->dxfDir.clear();
        dialog->tabWidget->setCurrentIndex(2);
        colourPiece(2, QColor(20, 200, 20));
        const int builds = dialog->nurbswidget->imageBuilds();
        user->asked.clear();
        emit dialog->saveButton->pressed();
        QCOMPARE(user->count(QStringLiteral("warning")), 1);
        QVERIFY(user->all(QStringLiteral("warning")).contains(QStringLiteral("No project is open")));
        QCOMPARE(dialog->nurbswidget->imageBuilds(), builds);
        QVERIFY(!QFile::exists(QStringLiteral("/texture_image.png")));
        QVERIFY(!QFile::exists(QStringLiteral("texture_image.png")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), before);

        glob->cnpPath = cnp;
        glob->dxfDir = dir.filePath(QStringLiteral("gone"));
        dialog->tabWidget->setCurrentIndex(2);
        user->asked.clear();
        emit dialog->saveButton->pressed();
        const QString told = user->all(QStringLiteral("warning"));
        glob->dxfDir = out;
        // One message, titled, with the file and the system's reason.
        QCOMPARE(user->count(QStringLiteral("warning")), 1);
        QVERIFY2(told.contains(dir.filePath(QStringLiteral("gone/texture_image.png"))), qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("No such file or directory")), qPrintable(told));
        for (const AskedEntry& e : std::as_const(user->asked))
            if (e.kind == QLatin1String("warning"))
                QCOMPARE(e.title, QStringLiteral("Texture image"));
        QCOMPARE(dialog->nurbswidget->imageBuilds(), builds);
        // The same failure again is told again: the user pressed Save.
        glob->dxfDir = dir.filePath(QStringLiteral("gone"));
        user->asked.clear();
        emit dialog->saveButton->pressed();
        glob->dxfDir = out;
        QCOMPARE(user->count(QStringLiteral("warning")), 1);
        for (const AskedEntry& e : std::as_const(user->asked))
            if (e.kind == QLatin1String("warning"))
                QCOMPARE(e.title, QStringLiteral("Texture image"));
    }

    // Two coloured panels (and the grey reset undone) on every tab.
    void screenshots()
    {
        dialog->tabWidget->setCurrentIndex(2);
        QVERIFY(dialog->patt_widget->isVisible());
        const int n = colouring().outlines.size();
        QFile::remove(GetGlobClass()->cnpPath);
        dialog->patt_widget->Forget_Unsaved_Colours();
        dialog->tabWidget->setCurrentIndex(0);
        dialog->tabWidget->setCurrentIndex(2);
        QCOMPARE(colouring().outlines.size(), n);
        colourPiece(4, QColor(230, 30, 30));
        colourPiece(17, QColor(30, 60, 230));
        dialog->coloring_checkBox->click();
        shot(QStringLiteral("design-colours.png"));
        emit dialog->saveButton->pressed();
        WAIT_FOR_STATE(dialog->nurbswidget->textureReady());
        shot(QStringLiteral("design-preview.png"));
        dialog->nurbswidget->SetViewType(3);
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(dialog->nurbswidget, Qt::Key_Down);
        shot(QStringLiteral("design-preview-top.png"));
        dialog->nurbswidget->SetViewType(0);
        dialog->tabWidget->setCurrentIndex(0);
        shot(QStringLiteral("design-top.png"));
        dialog->tabWidget->setCurrentIndex(1);
        shot(QStringLiteral("design-bottom.png"));
        dialog->tabWidget->setCurrentIndex(0);
    }
};

QTEST_MAIN(TestDesignDialog)
#include "tst_designdialog_gui.moc"
