// The polar window: its table for a fixture design against a golden text,
// the six chart buttons, the fields and what they store, an empty polar that
// says why (once), and printing the table.

#include "aero/apameres.h"
#include "aero/polar.h"
#include "aero/ui/grafclass.h"
#include "aero/ui/wpolar.h"
#include "tests/aero/polarfixture.h"

#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "tests/common/overlap.h"
#include "core/chartlabels.h"
#include "tests/common/printtopdf.h"
#include "core/openfile.h"
#include "shell/model/installhooks.h"
#include "tests/common/scripteduser.h"
#include "tests/common/typednumbers.h"
#include "tests/core/designfixture.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTest>

#include "tests/common/statewait.h"
#include <QApplication>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QObject>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QWheelEvent>

#include <cmath>
#include <memory>

using namespace polarfixture;

namespace {

QString goldenPath()
{
    return qEnvironmentVariable("WL_SOURCE_DIR") + "/tests/aero/data/polar_table.txt";
}

// The live design as the fixture wing, named and set up for the head block.
void useFixtureWing()
{
    ParaStruct* d = GetDataStruct();
    *d = *rectangularWing();
    d->projectName = QStringLiteral("fixture.prg");
    d->smoothModel = true;
    d->maxTwistAngle = 2.5;
    d->profileAlignment = 20;
    d->ropesMomentFactor = 0.3;
    d->projectedAspectRatio = 3.52;
    d->legaX = 0.75; // 30 % of the 2.5 m centre chord
    *GetApameClass() = syntheticResults();
    GetApameClass()->source = Analysis_Source_Of(*d); // results of this design
}

void chartWheel(QWidget* w, int delta)
{
    QWheelEvent e(QPointF(20, 20), w->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// The bounding box of the pure red pixels: the curve (the optimum text is
// red too, and moves with it).
QRect redArea(const QImage& image)
{
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    QRect area;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                area |= QRect(x, y, 1, 1);
        }
    return area;
}

} // namespace

class TestPolarWindow : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    QStringList warnings;

private slots:
    void initTestCase()
    {
        Install_Recompute_Hooks();
        user.onWarning = [this](const QString&, const QString& text) { warnings.append(text); };
    }

    void init()
    {
        warnings.clear();
        useFixtureWing();
    }

    void form()
    {
        WPolar w;
        QCOMPARE(w.windowTitle(), QStringLiteral("aerodynamics - flow analysis"));
        QCOMPARE(w.windowModality(), Qt::WindowModal);
        QCOMPARE(w.size(), QSize(1076, 710));
        QCOMPARE(w.baseTable->minimumHeight(), 614);
        QVERIFY(w.baseTable->isReadOnly());
        QCOMPARE(w.modelEdit->text(), QStringLiteral("SMOOTH"));
        QCOMPARE(w.filenamelabel->text(), QStringLiteral("fixture.prg"));
        QCOMPARE(w.pilotCdEdit->text(), QStringLiteral("0.78"));
        QCOMPARE(w.ropesCdEdit->text(), QStringLiteral("1.00"));
        QCOMPARE(w.oswaldEdit->text(), QStringLiteral("1.00"));
        QCOMPARE(w.pilotfaceEdit->text(), QStringLiteral("0.45"));
        QCOMPARE(w.totaPilotlweightEdit->text(), QStringLiteral("100.00"));
        QCOMPARE(w.pullforceEdit->text(), QStringLiteral("0.00"));
        QCOMPARE(w.sumropeslenEdit->text(), QStringLiteral("0.00"));
        QCOMPARE(w.pilotshiftprocEdit->text(), QStringLiteral(" 30.00 "));
        QVERIFY(warnings.isEmpty());
    }

    // The window is laid out: at the form's size its parts stand side by
    // side inside it, none over another; maximized, the chart and the table
    // grow with it and the window's content fills it instead of keeping to
    // its corner.
    void growsWithTheWindow()
    {
        WPolar w;
        w.resize(1076, 710);
        w.show();
        WAIT_FOR_EXPOSED(&w);
        QWidget* parts[] = {w.topWidget, w.grafclasswidget, w.baseTable, w.groupBox, w.groupBox_4, w.bottomWidget};
        auto laidOut = [&]() {
            const QRect window = w.rect();
            for (QWidget* a : parts) {
                if (!window.contains(a->geometry()))
                    return a->objectName() + " leaves the window";
                for (QWidget* b : parts)
                    if (a != b && a->geometry().intersects(b->geometry()))
                        return a->objectName() + " lies over " + b->objectName();
            }
            return QString();
        };
        QString problem = laidOut();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const QSize chart = w.grafclasswidget->size();
        const QSize table = w.baseTable->size();
        w.resize(1600, 1000);
        WAIT_FOR_EQUAL(w.width(), 1600);
        WAIT_FOR_EQUAL(w.bottomWidget->geometry().bottom() > 950, true);
        problem = laidOut();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(w.grafclasswidget->width() > chart.width() + 150);
        // the curve is drawn over the grown chart, not in its old corner
        QVERIFY(redArea(w.grafclasswidget->grab().toImage()).right() > chart.width() + 100);
        QVERIFY(w.grafclasswidget->height() > chart.height() + 150);
        QVERIFY(w.baseTable->height() > table.height() + 150);
        QVERIFY(w.baseTable->geometry().right() > 1550);
        w.close();
    }

    // The whole table of the fixture: head block, headings, every row and
    // the best one in red.
    void tableText()
    {
        WPolar w;
        const QString text = w.baseTable->toPlainText();
        if (qEnvironmentVariableIsSet("WL_WRITE_GOLDEN")) {
            QFile out(goldenPath());
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(text.toUtf8());
        }
        QFile golden(goldenPath());
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(text, QString::fromUtf8(golden.readAll()));

        // The best row, and only it, in red.
        const int best = get_opt_gama(w.rows());
        QTextDocument* doc = w.baseTable->document();
        int red = 0;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
            if (b.text().contains("1:") && b.begin() != b.end()) {
                const QColor first = b.begin().fragment().charFormat().foreground().color();
                if (first == QColor(255, 0, 0)) {
                    ++red;
                    QVERIFY(b.text().contains(QStringLiteral("\t%1 ").arg(w.rows()[best].alfa, 7, 'f', 2)));
                }
            }
        }
        QCOMPARE(red, 1);
        QCOMPARE(w.baseTable->textCursor().position(), 0);
    }

    void chartButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("points");
        QTest::newRow("Cd") << "cdButton" << 1 << "Cd" << 11;
        QTest::newRow("Cl") << "clButton" << 2 << "LIFT Cl" << 11;
        QTest::newRow("finesse(alfa)") << "cindButton" << 3 << "Finesse(alfa)" << 11;
        QTest::newRow("finnesse(calage)") << "cd_clButton" << 4 << "Finesse(calage)  " << 13;
        QTest::newRow("Cm") << "cmButton" << 5 << "MOMENT GRAPH Cm(alpha) " << 11;
        QTest::newRow("(Vy,Vx)") << "VyVxButton" << 7 << "Velocity polar" << -1;
    }
    void chartButtons()
    {
        QFETCH(QString, button);
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(int, points);
        // A new window starts with the speed polar whatever was chosen before.
        GetApameClass()->chartKind = 2;
        WPolar w;
        QCOMPARE(GetApameClass()->chartKind, 7);
        QCOMPARE(w.grafclasswidget->chartTitle(), QStringLiteral("Velocity polar"));
        w.findChild<QPushButton*>(button)->click();
        QCOMPARE(GetApameClass()->chartKind, kind);
        QCOMPARE(w.grafclasswidget->chartTitle(), title);
        const int expected = points < 0 ? int(w.rows().size()) - 2 : points;
        QCOMPARE(int(w.grafclasswidget->chartPoints().size()), expected);
        QCOMPARE(w.grafclasswidget->finesse(), kind == 4);
        QCOMPARE(w.grafclasswidget->velocity(), kind == 7);
    }

    // The speed polar: the tangent from the origin at the flattest glide.
    void speedPolarTangent()
    {
        WPolar w;
        const grafClass* chart = w.grafclasswidget;
        QVERIFY(chart->velocity());
        const QPointF touch = chart->chartPoints().at(chart->optimumIndex());
        // The flattest glide of the rows is where vy / vx is smallest.
        double best = 1e9;
        for (const QPointF& p : chart->chartPoints())
            best = std::min(best, p.y() / p.x());
        QVERIFY(std::fabs(touch.y() / touch.x() - best) < 0.002);
        QCOMPARE(chart->getOptimumVString(), QString::number(std::hypot(touch.x(), touch.y()) * 3.6, 'f', 2));
    }

    // The title and the best-glide note stand where neither the curve nor
    // the tangent runs through them, apart and inside the chart: every
    // chart, at the window's size and at a larger one.
    void chartTextsStandClear_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QSize>("size");
        for (const char* button : {"VyVxButton", "cdButton", "clButton", "cindButton", "cd_clButton", "cmButton"})
            for (const QSize size : {QSize(1076, 710), QSize(1500, 950)})
                QTest::addRow("%s, %d x %d", button, size.width(), size.height()) << QString(button) << size;
    }

    void chartTextsStandClear()
    {
        QFETCH(QString, button);
        QFETCH(QSize, size);
        WPolar w;
        w.resize(size);
        w.show();
        WAIT_FOR_EXPOSED(&w);
        w.findChild<QPushButton*>(button)->click();
        const grafClass* chart = w.grafclasswidget;
        const ChartTextBoxes texts = chart->textBoxes();
        const QLineF tangent = chart->screenTangent();
        QCOMPARE(texts.note.isNull(), tangent.isNull());
        QCOMPARE(tangent.isNull(), button != "VyVxButton");
        const QRectF frame(0, 0, chart->width(), chart->height());
        QVERIFY(!texts.xCaption.isNull() && !texts.yCaption.isNull());
        const QList<QRectF> boxes{texts.title, texts.note, texts.xCaption, texts.yCaption};
        for (const QRectF& box : boxes) {
            if (box.isNull())
                continue;
            QVERIFY(frame.contains(box));
            QVERIFY(!Polyline_Crosses(chart->screenCurve(), box));
            QVERIFY(!Polyline_Crosses(QPolygonF({tangent.p1(), tangent.p2()}), box));
        }
        QVERIFY(!Labels_Overlap(boxes));
    }

    // The wheel zooms by 2.5 % a step (in single precision, so two steps up
    // and two down do not come back to 1), a middle drag moves the chart, a
    // left click brings the start view back; the curve is drawn in red and
    // moves with the view.
    void chartZoomAndPan()
    {
        WPolar w;
        grafClass* chart = w.grafclasswidget;
        const QRect first = redArea(chart->grab().toImage());
        const double x0 = chart->viewOffsetX();
        const double y0 = chart->viewOffsetY();
        QCOMPARE(chart->viewZoom(), 1.0);
        QVERIFY(first.isValid());

        const double step = double(0.025f);
        for (int delta : {120, 120, -120, -120})
            chartWheel(chart, delta);
        const double expected = 1.0 * (1 + step) * (1 + step) * (1 - step) * (1 - step);
        QVERIFY(std::fabs(chart->viewZoom() - expected) < 1e-15);
        QVERIFY(chart->viewZoom() < 1.0);
        chartWheel(chart, 120);
        QVERIFY(std::fabs(chart->viewZoom() - expected * (1 + step)) < 1e-15);

        QTest::mousePress(chart, Qt::MiddleButton, {}, QPoint(100, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(130, 80), chart->mapToGlobal(QPointF(130, 80)), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(chart, &move);
        QTest::mouseRelease(chart, Qt::MiddleButton, {}, QPoint(130, 80));
        QCOMPARE(chart->viewOffsetX(), x0 + 30);
        QCOMPARE(chart->viewOffsetY(), y0 - 20);
        // Only the middle button pans.
        QMouseEvent free(QEvent::MouseMove, QPointF(10, 10), chart->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(chart, &free);
        QCOMPARE(chart->viewOffsetX(), x0 + 30);
        QVERIFY(redArea(chart->grab().toImage()) != first);

        QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(chart->viewZoom(), 1.0);
        QCOMPARE(chart->viewOffsetX(), x0);
        QCOMPARE(chart->viewOffsetY(), y0);
        QCOMPARE(redArea(chart->grab().toImage()), first);
    }

    // No results: head, headings and separators, no row, the reason, no
    // chart; the warning comes once however often the window refreshes.
    void emptyPolar()
    {
        *GetApameClass() = ApameRes();
        WPolar w;
        QVERIFY(w.rows().isEmpty());
        const QString text = w.baseTable->toPlainText();
        QVERIFY(text.contains(QLatin1String("P O L A R")));
        QVERIFY(text.contains(QLatin1String("displacement")));
        QVERIFY(!text.contains(QLatin1String("\t1:")));
        QCOMPARE(warnings.size(), 1);
        QVERIFY(text.contains(warnings.first()));
        QVERIFY(warnings.first().contains(QLatin1String("13")));
        QVERIFY(w.grafclasswidget->chartPoints().isEmpty());
        QVERIFY(!redArea(w.grafclasswidget->grab().toImage()).isValid());
        w.recalculatetableButton->click();
        // No chart of tables no results filled, whichever is asked for.
        for (QPushButton* chart : {w.cdButton, w.clButton, w.cindButton, w.cd_clButton, w.cmButton, w.VyVxButton}) {
            chart->click();
            QVERIFY(w.grafclasswidget->chartPoints().isEmpty());
        }
        QCOMPARE(warnings.size(), 1);
        warnings.clear();
    }

    // Results of another state of the design give no polar: the head block
    // of the design as it stands, the reason where the rows would be, no
    // chart of the case tables an earlier polar filled; told once.
    void resultsOfAnotherDesign_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("reason");
        QTest::newRow("twist") << "twist" << "twist 2.50 deg, now 6.00 deg";
        QTest::newRow("alignment") << "alignment" << "profile alignment 20.00 %, now 30.00 %";
        QTest::newRow("model") << "model" << "smooth model, now inflated";
        QTest::newRow("wing edited") << "edit" << "the wing has been changed since";
        QTest::newRow("design not known") << "unknown" << "are not known to belong to the design shown";
    }
    void resultsOfAnotherDesign()
    {
        QFETCH(QString, change);
        QFETCH(QString, reason);
        ParaStruct* d = GetDataStruct();
        auto w = std::make_unique<WPolar>();
        QVERIFY(!w->rows().isEmpty());
        w->cdButton->click();
        QVERIFY(!w->grafclasswidget->chartPoints().isEmpty());

        if (change == "twist")
            d->maxTwistAngle = 6;
        else if (change == "alignment")
            d->profileAlignment = 30;
        else if (change == "model")
            d->smoothModel = false;
        else if (change == "edit")
            d->geometryChanged = true;
        else
            GetApameClass()->source = AnalysisSource();
        for (QPushButton* chart : {w->cdButton, w->clButton, w->cindButton, w->cd_clButton, w->cmButton, w->VyVxButton}) {
            chart->click();
            QVERIFY(w->rows().isEmpty());
            QVERIFY(w->grafclasswidget->chartPoints().isEmpty());
        }
        const QString text = w->baseTable->toPlainText();
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Current twist[deg]: %1").arg(d->maxTwistAngle, 0, 'f', 2)));
        QVERIFY(!text.contains(QLatin1String("\t1:")));
        QCOMPARE(w->shownPolar().polarRowCount, 0);
        QCOMPARE(warnings.size(), 1);
        QVERIFY(warnings.first().contains(reason));
        warnings.clear();
        w.reset();

        // A new window says so as well.
        WPolar again;
        QVERIFY(again.rows().isEmpty());
        QCOMPARE(warnings.size(), 1);
        warnings.clear();
    }

    void print()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("polar.pdf");
        WPolar w;
        // Cancelled: nothing printed.
        w.printbutton->click();
        QCOMPARE(user.count("print"), 1);
        QVERIFY(!QFile::exists(pdf));
        printToPdf(user, pdf);
        w.printbutton->click();
        user.onPrint = nullptr;
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.contains("/Type /Page\n") || bytes.contains("/Type /Page "));
        // A4 portrait.
        QVERIFY(bytes.contains("/MediaBox [0 0 595.000000 842.000000]"));
    }

    // Each field takes the values of its number, read as the other number
    // fields read them (a decimal comma too). Any other text is refused when
    // the table is computed again (the Oswald factor and the displacement
    // when their field is left), with a message that names the range; the
    // field shows the design's value again and the design is as it was.
    void typedTextsPerField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("kept");
        struct Field {
            const char* name;
            const char* range;
            const char* kept;
            QStringList outside;
            const char* comma;
            double commaValue;
        };
        const Field fields[] = {
            {"weight", "from 0.1 to 1000 kg", "100.00", {"0", "-80", "1001"}, "95,5", 95.5},
            {"tow", "from 0 to 1000 kg", "0.00", {"-5", "1500"}, "25,5", 25.5},
            {"pilot area", "from 0 to 10 m²", "0.45", {"-1", "12"}, "0,6", 0.6},
            {"lines Cd", "from 0 to 3", "1.00", {"-1", "3.5"}, "1,2", 1.2},
            {"pilot Cd", "from 0 to 3", "0.78", {"-0.1", "4"}, "0,9", 0.9},
            {"Oswald", "from 0.9 to 1.4", "1.00", {"1.8", "0,5"}, "1,3", 1.3},
            {"displacement", "from -50 to 150 %", "30.00", {"-60", "200"}, "35,5", 35.5},
        };
        int k = 0;
        for (const Field& f : fields) {
            auto row = [&](const QString& what, const QString& text, bool taken, double value) {
                QTest::addRow("%s: %s", f.name, qPrintable(what))
                    << text << taken << value << k << QString(f.range) << QString(f.kept);
            };
            for (const auto& [name, text] : noFieldNumbers())
                row(name, text, false, 0.0);
            for (const QString& text : f.outside)
                row(text, text, false, 0.0);
            row("decimal comma", f.comma, true, f.commaValue);
            ++k;
        }
    }
    void typedTextsPerField()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(double, value);
        QFETCH(int, field);
        QFETCH(QString, range);
        QFETCH(QString, kept);
        ParaStruct* d = GetDataStruct();
        WPolar w;
        QLineEdit* const edits[] = {w.totaPilotlweightEdit, w.pullforceEdit, w.pilotfaceEdit, w.ropesCdEdit,
                                    w.pilotCdEdit, w.oswaldEdit, w.pilotshiftprocEdit};
        const double* const values[] = {&d->totalWeight, &d->towForce, &d->pilotArea, &d->ropesCd,
                                        &d->pilotCd, &d->oswaldFactor, &d->pilotShiftPercent};
        QLineEdit* edit = edits[field];
        // The design as a file holds it: the computed polar is no part of it.
        const QByteArray before = Project_File_Bytes(*d);
        user.texts.clear();
        edit->setText(text);
        const QString typed = edit->text();
        if (field >= 5)
            emit edit->editingFinished();
        else
            w.recalculatetableButton->click();
        if (taken) {
            QVERIFY2(user.texts.isEmpty(), qPrintable(user.texts.join('\n')));
            QCOMPARE(*values[field], value);
            return;
        }
        const QString problem = refusalProblem(user, range, typed, kept);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        warnings.clear();
        QCOMPARE(edit->text().trimmed(), kept);
        QVERIFY(Project_File_Bytes(*d) == before);
    }

    void fields()
    {
        ParaStruct* d = GetDataStruct();
        WPolar w;
        // A refresh stores the fields as they are (a decimal comma too).
        w.oswaldEdit->setText("1.3");
        w.pilotCdEdit->setText("0,9");
        w.pullforceEdit->setText("25");
        w.recalculatetableButton->click();
        QCOMPARE(d->oswaldFactor, 1.3);
        QCOMPARE(d->pilotCd, 0.9);
        QCOMPARE(d->towForce, 25.0);
        QVERIFY(w.baseTable->toPlainText().contains(QLatin1String("Vup")));
        // The standard values on request.
        w.defaultsButton->click();
        QCOMPARE(d->pilotArea, 0.45);
        QCOMPARE(d->towForce, 0.0);
        QCOMPARE(d->pilotCd, 0.78);
        QCOMPARE(d->ropesCd, 1.0);
        QCOMPARE(d->oswaldFactor, 1.0);
        QCOMPARE(w.pullforceEdit->text(), QStringLiteral("0.00"));
        QCOMPARE(w.modelEdit->text(), QStringLiteral("SMOOTH"));
        QVERIFY(w.baseTable->toPlainText().contains(QLatin1String("finesse")));
    }

    void pulledModel()
    {
        GetDataStruct()->towForce = 20;
        GetDataStruct()->smoothModel = false;
        GetApameClass()->source = Analysis_Source_Of(*GetDataStruct()); // results of the inflated model
        WPolar w;
        QCOMPARE(w.modelEdit->text(), QStringLiteral("PULLED-INFLATED"));
    }

    // The displacement field sets the pilot position and recomputes.
    void pilotDisplacement()
    {
        ParaStruct* d = GetDataStruct();
        *d = *fixture::makeWing(9);
        d->totalWeight = 100;
        GetApameClass()->source = Analysis_Source_Of(*d);
        WPolar w;
        int recomputes = 0;
        const RecomputeTrace before = Set_Recompute_Trace([&recomputes](const char* step) {
            recomputes += QByteArray(step) == "WingTipGeometrySetup";
        });
        d->linesOutdated = false;
        w.pilotshiftprocEdit->setText("30");
        emit w.pilotshiftprocEdit->editingFinished();
        Set_Recompute_Trace(before);
        QCOMPARE(recomputes, 1);
        QCOMPARE(d->pilotShiftPercent, 30.0);
        QVERIFY(std::fabs(d->legaX - d->R_X(d->chord[d->firstRib]) * 0.3) < 1e-12);
        QVERIFY(d->linesOutdated);
        QVERIFY(std::fabs(calculate_shift_from_legaX(d) - 30) < 1e-9);
    }

    // The lines hang from the pilot's new place, so a view that built the
    // design before (the 3-D view keeps the revision it built) must see a
    // new one; the canopy the solver saw is the same, so its results stay
    // the design's results.
    void pilotDisplacementRebuildsTheViewsKeepingResults()
    {
        ParaStruct* d = GetDataStruct();
        *d = *fixture::makeWing(9);
        d->totalWeight = 100;
        ApameRes* res = GetApameClass();
        const ApameRes before = *res;
        res->caseNum = kResultCases;
        res->source = Analysis_Source_Of(*d);
        QCOMPARE(Results_Design_Mismatch(*res, *d), QString());
        WPolar w;
        const unsigned long long built = d->geometryChanged.revision();
        w.pilotshiftprocEdit->setText("30");
        emit w.pilotshiftprocEdit->editingFinished();
        QVERIFY(d->geometryChanged.revision() != built);
        QCOMPARE(Results_Design_Mismatch(*res, *d), QString());
        *res = before;
    }

    void noWing()
    {
        GetDataStruct()->flatArea = 0;
        WPolar w;
        QVERIFY(!w.isUsable());
        QVERIFY(warnings.contains(QStringLiteral("Check your paraglider flat shape geometry data...program will close")));
        warnings.clear();
    }

    void cleanup() { QCOMPARE(warnings, QStringList()); }
};

QTEST_MAIN(TestPolarWindow)
#include "tst_polarwindow.moc"
