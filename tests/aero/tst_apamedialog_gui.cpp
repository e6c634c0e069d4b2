// The CFD analysis window under Xvfb: the pressure view drawn by Mesa from a
// results file (legend colours on the mesh, the case slider, the highest
// pressure in the legend's top colour), RECALCULATE with the real solver
// and with one that fails, and what showing the window does and no longer
// does to the design.

#include "aero/apameinput.h"
#include "aero/apameres.h"
#include "aero/polar.h"
#include "aero/pressureview.h"
#include "aero/ui/apamedialog.h"
#include "aero/ui/apameprogress.h"
#include "aero/ui/glapamewidget.h"
#include "aero/ui/pilotdialog.h"
#include "aero/ui/sideviewwidget.h"
#include "aero/ui/wpolar.h"
#include "tests/common/projectfields.h"
#include "tests/common/statewait.h"
#include "tests/aero/aerofixture.h"
#include "tests/aero/fakesolver.h"
#include "tests/aero/resultwriter.h"

#include "core/designedit.h"
#include "core/parastruct.h"
#include "tests/common/recordimage.h"
#include "lines/loading.h"
#include "tests/common/scripteduser.h"
#include "tests/common/typednumbers.h"
#include "tests/core/designfixture.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QSignalSpy>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QLineEdit>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMouseEvent>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringLiteral>
#include <QFileInfo>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

constexpr int kStrips = 6;   // across the span, 2 m each
constexpr int kStations = 5; // up the height, 0.6 m each

// Pressure of panel k in case c: every value of the scale once per case,
// shifted by one panel from case to case.
double pressure(int k, int c)
{
    return -1.5 + 2.5 * ((k + c) % 30) / 29.0;
}

// A flat wall of 6 x 5 panels facing forward (normal -x in the solver
// frame), from y = -6 m to 6 m and z = -3 m to 0, straight in front of the
// view's start camera.
ApameRes wallResults()
{
    ApameRes r;
    r.caseNum = kResultCases;
    for (int k = 0; k < kResultCases; ++k) {
        r.alpha[k] = k;
        r.clift[k] = 0.3 + 0.07 * k;
        r.cdrag[k] = 0.02 + 0.0005 * k * k;
        r.cm[k] = -0.1 - 0.02 * k;
    }
    for (int i = 0; i <= kStrips; ++i)
        for (int j = 0; j <= kStations; ++j)
            r.nodes.append(QVector3D(0, -6 + 2 * i, -3 + 0.6f * j));
    for (int i = 0; i < kStrips; ++i) {
        for (int j = 0; j < kStations; ++j) {
            PanelInfo p;
            p.id = i * kStations + j + 1;
            p.type = 1;
            p.nodes[0] = i * (kStations + 1) + j + 1;
            p.nodes[1] = (i + 1) * (kStations + 1) + j + 1;
            p.nodes[2] = (i + 1) * (kStations + 1) + j + 2;
            p.nodes[3] = i * (kStations + 1) + j + 2;
            r.panels.append(p);
            r.normals.append(QVector3D(-1, 0, 0));
        }
    }
    r.nodeNum = r.nodes.size();
    r.panelNum = r.panelNumNoWake = r.panels.size();
    for (int k = 0; k < r.panelNum; ++k) {
        ArrDouble a;
        for (int c = 0; c < kResultCases; ++c)
            a.values[c] = pressure(k, c);
        r.cp.append(a);
    }
    return r;
}

// Where the face view (scale 0.45, offset 0.45, sizes x 0.128, a 920 x
// 340 view seen through its 1020-pixel viewport) puts a point of the wall.
QPoint onScreen(double y, double z)
{
    const double s = 0.45, f = 0.128;
    return QPoint(int(std::lround(460 + 1020 * s * f * y)), int(std::lround(283 - 1020 * s * (0.45 + f * z))));
}

QPoint panelCentre(int id)
{
    const int i = (id - 1) / kStations;
    const int j = (id - 1) % kStations;
    return onScreen(-5 + 2 * i, -2.7 + 0.6 * j);
}

// A panel facing the light shows its colour and a little ambient light
// (0.2 x 0.2 of full white).
QColor lit(int index)
{
    const QColor c = Index_Color(index);
    auto up = [](int v) { return std::min(v + 10, 255); };
    return QColor(up(c.red()), up(c.green()), up(c.blue()));
}

bool litAs(QRgb pixel, const QColor& colour)
{
    const int tolerance = 16;
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance
           && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

// The pixels of a frame that show the wing (not the grey ground), and how
// many of them are black.
struct WingPixels {
    int all = 0;
    int black = 0;
};
WingPixels wingPixels(const QImage& image)
{
    WingPixels n;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == qRgb(160, 160, 160))
                continue;
            ++n.all;
            n.black += qRed(p) < 40 && qGreen(p) < 40 && qBlue(p) < 40;
        }
    return n;
}

// The legend colours found on at least 40 pixels of the image.
QSet<int> legendColoursShown(const QImage& image)
{
    QHash<int, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            for (int i = 1; i <= 30; ++i)
                if (litAs(p, lit(i))) {
                    ++counts[i];
                    break;
                }
        }
    QSet<int> shown;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() >= 40)
            shown.insert(it.key());
    return shown;
}

} // namespace

class TestApameDialog : public QObject
{
    Q_OBJECT

    ScriptedUser user;
    QStringList warnings;
    std::unique_ptr<QTemporaryDir> output;
    std::unique_ptr<QTemporaryDir> programs;
    std::unique_ptr<ApameDialog> dialog;
    ParaStruct* design = nullptr;
    GlobClass* glob = nullptr;

    QImage frame() { return dialog->apamewidget->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }

    // Looked at by hand when the drawing changes.
    void save(QWidget* w, const QString& name)
    {
        if (qEnvironmentVariableIsSet("WL_AERO_SHOTS"))
            w->grab().save(qEnvironmentVariable("WL_AERO_SHOTS") + "/" + name + ".png");
    }

    bool writeResults(const ApameRes& r)
    {
        return resultwriter::writeLines(output->filePath("wings.res"), resultwriter::resultLines(r));
    }

    // Results left by a run of an earlier session on the design as it
    // stands: the solver input the design gives, then the results.
    bool writeResultsOfTheDesign(const ApameRes& r)
    {
        Refresh_Calculations(design);
        design->chordStationCount = f_CreateIndJ(design, design->chordStations);
        const QByteArray input = Apame_Input_Bytes(design, kApameVelOrder, design->smoothModel,
                                                   design->chordStationCount, design->chordStations);
        QFile f(output->filePath("wings.inp"));
        if (input.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(input) != input.size())
            return false;
        f.close();
        return writeResults(r);
    }

    // A stand-in solver that answers with the given results.
    bool installAnswering(const ApameRes& r)
    {
        const QString answer = programs->filePath("answer.res");
        return resultwriter::writeLines(answer, resultwriter::resultLines(r))
               && fakesolver::install(programs->path(), QStringLiteral("cp '%1' \"$1.res\"").arg(answer));
    }

    // Presses RECALCULATE with a solver that runs until it is stopped, and
    // stops it from its progress window once it has started.
    void recalculateAndCancel()
    {
        QVERIFY(fakesolver::install(programs->path(), fakesolver::sleeps(output->filePath("wings.sleeper"))));
        const QString sleeper = output->filePath("wings.sleeper");
        QFile::remove(sleeper);
        bool cancelled = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<ApameProgressDialog*>(w);
                if (progress && progress->isVisible() && QFile::exists(sleeper) && !cancelled) {
                    cancelled = true;
                    QTest::mouseClick(progress->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
                }
            }
        });
        poll.start(20);
        dialog->apameButton->click();
        QVERIFY(cancelled);
        QCOMPARE(dialog->endtimeEdit->text(), QStringLiteral(" cancelled "));
    }

    void typeTwist(const QString& text)
    {
        dialog->maxtwistangleEdit->setText(text);
        emit dialog->maxtwistangleEdit->editingFinished();
    }

    // The polar window opened from the dialog: its table, and whether it
    // has rows and a chart.
    struct PolarSeen {
        QString table;
        qsizetype rows = 0;
        qsizetype chartPoints = 0;
        QStringList warnings;
        bool shown = false;
        bool closed = false;
    };
    PolarSeen openPolar(const QString& shot = QString())
    {
        dialog->polarButton->click();
        QPointer<WPolar> polar = dialog->polarWindow();
        PolarSeen seen;
        if (!polar)
            return seen;
        statewait::waitUntil([&polar] { return !polar || statewait::windowExposed(polar.data()); },
                             "the polar window on screen", __FILE__, __LINE__);
        seen.shown = bool(polar);
        if (!polar)
            return seen;
        seen.table = polar->baseTable->toPlainText();
        seen.rows = polar->rows().size();
        seen.chartPoints = polar->grafclasswidget->chartPoints().size();
        if (!shot.isEmpty())
            save(polar, shot);
        polar->exitButton->click();
        statewait::waitUntil([&polar] { return !polar; }, "the polar window gone", __FILE__, __LINE__);
        seen.closed = true;
        // A window that has no polar tells why once, as its table does.
        seen.warnings = warnings;
        warnings.clear();
        return seen;
    }

    void showDialog()
    {
        dialog->show();
        WAIT_FOR_EXPOSED(dialog.get());
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        user.onWarning = [this](const QString&, const QString& text) { warnings.append(text); };
        design = GetDataStruct();
        glob = GetGlobClass();
    }

    void init()
    {
        warnings.clear();
        output = std::make_unique<QTemporaryDir>();
        programs = std::make_unique<QTemporaryDir>();
        *design = *fixture::makeWing(8);
        *GetApameClass() = ApameRes();
        glob->dxfDir = output->path();
        glob->prgPath = output->filePath("wing.prg");
        dialog = std::make_unique<ApameDialog>();
        dialog->setSolverDir(programs->path());
    }

    void cleanup()
    {
        dialog.reset();
        QCOMPARE(warnings, QStringList());
    }

    void form()
    {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("CFD analysis"));
        QCOMPARE(dialog->minimumSize(), QSize(1000, 700));
        QCOMPARE(dialog->legendwidget->size(), QSize(40, 340));
        QCOMPARE(dialog->apamewidget->size(), QSize(920, 340));
        QCOMPARE(dialog->attackangleSlider->maximum(), 12);
        QCOMPARE(dialog->apameButton->text(), QStringLiteral("RECALCULATE"));
        QCOMPARE(dialog->filenamelabel->text(), QStringLiteral("* * * * * * * * * * * * * "));
        showDialog();
        QCOMPARE(dialog->filenamelabel->text(), glob->prgPath);
        QCOMPARE(dialog->groupBox->width(), 980);
        QCOMPARE(dialog->midline_view->width(), 550);
        // The time fields start empty.
        QCOMPARE(dialog->starttimeEdit->text().trimmed(), QString());
        QCOMPARE(dialog->endtimeEdit->text(), QString());
        // No results yet: the model field stays as it was.
        QCOMPARE(dialog->modelEdit->text(), QStringLiteral("****"));
        // The stations of the current design, as the station view shows them.
        int stations[kChordStations]{};
        QCOMPARE(design->chordStationCount, f_CreateIndJ(design, stations));
    }

    // The mesh in the colours of the scale; the slider picks the case; the
    // highest pressure shows in the colour of the legend's top band.
    void pressureView()
    {
        const ApameRes wall = wallResults();
        design->smoothModel = true;
        QVERIFY(writeResultsOfTheDesign(wall));
        showDialog();
        QCOMPARE(dialog->apamewidget->noticeText(), QString());
        QCOMPARE(dialog->modelEdit->text(), QStringLiteral("Smooth"));
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(30));
        // The wall stands straight in front of the face view.
        dialog->apamewidget->setXRotation(4320);

        const QImage case0 = frame();
        if (qEnvironmentVariableIsSet("WL_AERO_SHOTS"))
            case0.save(qEnvironmentVariable("WL_AERO_SHOTS") + "/wall_frame.png");
        QCOMPARE(case0.size(), QSize(920, 340));
        QVERIFY2(legendColoursShown(case0).size() >= 20, qPrintable(QString::number(legendColoursShown(case0).size())));
        // Panel 30 holds the highest pressure of case 0.
        QVERIFY(litAs(case0.pixel(panelCentre(30)), lit(1)));

        dialog->attackangleSlider->setValue(7);
        QCOMPARE(dialog->apamewidget->shownCase(), 7);
        QCOMPARE(dialog->attackanglelabel->text(), QStringLiteral("7"));
        const QImage case7 = frame();
        QVERIFY(case7 != case0);
        // The scale: -1.5 to 1.0 in 30 steps.
        double scale[30];
        for (int k = 0; k < 30; ++k)
            scale[k] = -1.5 + k * 2.5 / 29;
        for (int k = 0; k < 30; ++k)
            QVERIFY(std::fabs(dialog->apamewidget->legendScale()[k] - scale[k]) < 1e-15);
        for (const PressurePanel& p : dialog->apamewidget->panels())
            QCOMPARE(p.colorIndex, indexColorOfValue(30, pressure(p.id - 1, 7), scale));
        // In case 7 panel 23 holds the highest pressure, 1.0.
        QCOMPARE(pressure(22, 7), 1.0);
        // (sampled beside the labels, which stand at the legend's left)
        const QColor top = dialog->legendwidget->grab().toImage().pixelColor(37, 5);
        QCOMPARE(top, Index_Color(1));
        QVERIFY(litAs(case7.pixel(panelCentre(23)), lit(1)));
        // The lowest, -1.5, in the bottom band's pure blue.
        QCOMPARE(pressure(23, 7), -1.5);
        QVERIFY(litAs(case7.pixel(panelCentre(24)), lit(30)));
        const QImage legend = dialog->legendwidget->grab().toImage();
        QCOMPARE(legend.pixelColor(37, 29 * (340 / 30) + 5), Index_Color(30));
        // The labels: round values that stand apart, not one per band.
        const LegendScene drawn = dialog->legendwidget->scene();
        QVERIFY(drawn.labels.size() >= 5 && drawn.labels.size() <= 15);
        for (const LegendLabel& l : drawn.labels)
            QVERIFY2(l.box.right() < 37, qPrintable(l.text));
        save(dialog.get(), "cfd_wall");

        // Shown again, the window shows the case it showed last.
        dialog->hide();
        showDialog();
        QCOMPARE(dialog->attackangleSlider->value(), 7);
        QCOMPARE(dialog->apamewidget->shownCase(), 7);
        for (const PressurePanel& p : dialog->apamewidget->panels())
            QCOMPARE(p.colorIndex, indexColorOfValue(30, pressure(p.id - 1, 7), scale));
    }

    // The polar window counts the lines' drag as the line-data box says
    // when it is opened: the length and frontal area of both halves' lines,
    // or none.
    void polarCountsTheLinesAsTheBoxSays()
    {
        QString reason;
        auto shipped = aerofixture::shippedDesign(&reason);
        QVERIFY2(shipped, qPrintable(reason));
        *design = *shipped;
        QVERIFY(installAnswering(wallResults()));
        showDialog();
        dialog->apameButton->click();
        const LineTotals lines = Line_Totals(design);
        QVERIFY(lines.length > 100 && lines.area > 0);
        for (bool counted : {true, false}) {
            dialog->bridle_checkBox->setChecked(counted);
            dialog->polarButton->click();
            QPointer<WPolar> polar = dialog->polarWindow();
            QVERIFY(polar);
            QVERIFY(!polar->rows().isEmpty());
            QCOMPARE(polar->sumropeslenEdit->text(), QString::number(counted ? lines.length : 0.0, 'f', 2));
            QCOMPARE(polar->shownPolar().ropesArea, counted ? lines.area : 0.0);
            polar->close();
            WAIT_FOR_STATE(!polar);
        }
    }

    // Showing the window takes the design's pilot and line constants as
    // they are; the line-drag switch comes back on.
    void showKeepsTheDesignsValues()
    {
        design->towForce = 20;
        design->pilotArea = 0.6;
        design->pilotCd = 0.5;
        design->ropesCd = 1.3;
        design->oswaldFactor = 1.2;
        design->maxTwistAngle = 4.25;
        design->profileAlignment = 117.5;
        showDialog();
        QCOMPARE(dialog->maxtwistangleEdit->text(), QStringLiteral("4.25"));
        QCOMPARE(dialog->profilealignmentEdit->text(), QStringLiteral("117.50"));
        // The widest value the field shows fits in it.
        const QLineEdit* axis = dialog->profilealignmentEdit;
        QVERIFY2(axis->fontMetrics().horizontalAdvance(axis->text()) + 8 <= axis->width(),
                 qPrintable(QString::number(axis->width())));
        QCOMPARE(design->towForce, 20.0);
        QCOMPARE(design->pilotArea, 0.6);
        QCOMPARE(design->pilotCd, 0.5);
        QCOMPARE(design->ropesCd, 1.3);
        QCOMPARE(design->oswaldFactor, 1.2);
        QVERIFY(dialog->countsLines());
        dialog->bridle_checkBox->setChecked(false);
        QVERIFY(!dialog->countsLines());
        dialog->exitButton->click();
        QVERIFY(!dialog->isVisible());
        showDialog();
        QVERIFY(dialog->bridle_checkBox->isChecked());
        QVERIFY(dialog->countsLines());
    }

    // The twist field takes -12 to 12 degrees, read as the other number
    // fields read it (a decimal comma too); any other text is refused with
    // a message naming the range, and the field shows the design's twist
    // again, the design as it was.
    void twistField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<double>("stored");
        addNoFieldNumberRows();
        QTest::newRow("above the limit") << "15" << false << 0.0;
        QTest::newRow("below the limit") << "-12.5" << false << 0.0;
        QTest::newRow("at the limit") << "12" << true << 12.0;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("decimal comma") << "4,5" << true << 4.5;
    }
    void twistField()
    {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        QFETCH(double, stored);
        design->maxTwistAngle = 1.5;
        showDialog();
        const QByteArray before = recordImage(*design);
        user.texts.clear();
        typeTwist(text);
        if (taken) {
            QCOMPARE(design->maxTwistAngle, stored);
            QCOMPARE(dialog->maxtwistangleEdit->text(), QString::number(stored, 'f', 2));
            return;
        }
        const QString problem = refusalProblem(user, "from -12 to 12 degrees", text, "1.50");
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        warnings.clear();
        QCOMPARE(dialog->maxtwistangleEdit->text(), QStringLiteral("1.50"));
        QVERIFY(recordImage(*design) == before);
    }

    // RECALCULATE with a text in the twist or the alignment field that is
    // none of its values says so, puts the design's value back and runs
    // nothing: no solver input is written, the design stays as it was.
    void recalculateTakesOnlyValues_data()
    {
        QTest::addColumn<bool>("twist");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("kept");
        QTest::newRow("twist nan") << true << "nan" << "from -12 to 12 degrees" << "1.50";
        QTest::newRow("twist -inf") << true << "-inf" << "from -12 to 12 degrees" << "1.50";
        QTest::newRow("twist beyond") << true << "13" << "from -12 to 12 degrees" << "1.50";
        QTest::newRow("alignment ahead") << false << "-5" << "from 0 to 100 %" << "25.00";
        QTest::newRow("alignment 1e300") << false << "1e300" << "from 0 to 100 %" << "25.00";
        QTest::newRow("alignment letters") << false << "abc" << "from 0 to 100 %" << "25.00";
    }
    void recalculateTakesOnlyValues()
    {
        QFETCH(bool, twist);
        QFETCH(QString, text);
        QFETCH(QString, range);
        QFETCH(QString, kept);
        QVERIFY(installAnswering(wallResults()));
        design->maxTwistAngle = 1.5;
        design->profileAlignment = 25;
        showDialog();
        const QByteArray before = recordImage(*design);
        QLineEdit* field = twist ? dialog->maxtwistangleEdit : dialog->profilealignmentEdit;
        field->setText(text);
        user.texts.clear();
        dialog->apameButton->click();
        const QString problem = refusalProblem(user, range, text, kept);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        warnings.clear();
        QCOMPARE(field->text(), kept);
        QVERIFY(!QFile::exists(output->filePath("wings.inp")));
        QCOMPARE(dialog->endtimeEdit->text(), QString());
        QVERIFY(recordImage(*design) == before);
    }

    // The real solver on a small wing: the view and the time fields follow.
    void recalculateWithTheSolver()
    {
        dialog->setSolverDir(qEnvironmentVariable("WL_APP_DIR"));
        showDialog();
        dialog->maxtwistangleEdit->setText("2");
        // The twist axis is taken as typed, a decimal comma too.
        dialog->profilealignmentEdit->setText("12,5");
        dialog->inflatedmodelRadio->setChecked(false);
        dialog->flatmodelRadio->setChecked(true);
        QVERIFY(dialog->apamewidget->panels().isEmpty());
        const QImage before = frame();
        dialog->apameButton->click();

        const ApameRes* res = GetApameClass();
        QCOMPARE(res->caseNum, 13);
        QVERIFY(res->panelNumNoWake > 100);
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(res->panelNumNoWake));
        QVERIFY(design->smoothModel);
        QCOMPARE(design->maxTwistAngle, 2.0);
        QCOMPARE(design->profileAlignment, 12.5);
        QCOMPARE(dialog->modelEdit->text(), QStringLiteral("Smooth"));
        QCOMPARE(dialog->apameButton->text(), QStringLiteral("RECALCULATE"));
        // The run's times, however long it took: the start shown (the field
        // was cleared before), the time it took in place of " started... ".
        const QString elapsed = dialog->endtimeEdit->text();
        QVERIFY2(QRegularExpression("^ \\d+ h  \\d+ m  \\d+ sec$").match(elapsed).hasMatch(), qPrintable(elapsed));
        QCOMPARE(dialog->starttimeEdit->text(), dialog->starttimeEdit->time().toString("HH:mm:ss"));
        QVERIFY(frame() != before);
        // At the start the view looks from the front and above: the wing
        // shows its upper side, twice the area it shows edge-on
        // straight from the front, in colour: the panels' edges do not
        // hide it (next to no pixel of the wing is black).
        const QImage start = frame();
        if (qEnvironmentVariableIsSet("WL_AERO_SHOTS"))
            start.save(qEnvironmentVariable("WL_AERO_SHOTS") + "/small_wing_start.png");
        const WingPixels seen = wingPixels(start);
        const int startTurn = dialog->apamewidget->xRotation();
        dialog->apamewidget->setXRotation(4320);
        const WingPixels face = wingPixels(frame());
        dialog->apamewidget->setXRotation(startTurn);
        QVERIFY2(seen.all > 2 * face.all, qPrintable(QStringLiteral("%1 pixels, %2 from the front").arg(seen.all).arg(face.all)));
        QVERIFY2(seen.black * 20 < seen.all, qPrintable(QStringLiteral("%1 of %2 pixels black").arg(seen.black).arg(seen.all)));
        // Seen from below, the lower side in the colours of the scale.
        dialog->apamewidget->setXRotation(2880);
        const QImage after = frame();
        if (qEnvironmentVariableIsSet("WL_AERO_SHOTS"))
            after.save(qEnvironmentVariable("WL_AERO_SHOTS") + "/small_wing_below.png");
        QVERIFY2(legendColoursShown(after).size() >= 5, qPrintable(QString::number(legendColoursShown(after).size())));
        QVERIFY(QFile::exists(output->filePath("wings.inp")));
        // Shown again: the run's results are read back, the times cleared.
        dialog->hide();
        showDialog();
        QCOMPARE(dialog->starttimeEdit->text().trimmed(), QString());
        QCOMPARE(dialog->endtimeEdit->text(), QString());
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(res->panelNumNoWake));
    }

    // A solver that fails is reported; the results of the run before stay.
    void failingSolverKeepsTheResults()
    {
        QVERIFY(writeResultsOfTheDesign(wallResults()));
        QVERIFY(fakesolver::install(programs->path(), fakesolver::exits3()));
        showDialog();
        const QList<PressurePanel> shown = dialog->apamewidget->panels();
        QCOMPARE(shown.size(), qsizetype(30));
        const QImage before = frame();
        dialog->apameButton->click();
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains("exit code 3"), qPrintable(warnings.first()));
        warnings.clear();
        QCOMPARE(dialog->endtimeEdit->text(), QStringLiteral(" failed "));
        QCOMPARE(GetApameClass()->panelNum, 30);
        QCOMPARE(GetApameClass()->cp.at(22).values[7], 1.0);
        QCOMPARE(dialog->apamewidget->panels().size(), shown.size());
        QCOMPARE(frame(), before);
        QCOMPARE(dialog->apameButton->text(), QStringLiteral("RECALCULATE"));
    }

    // RECALCULATE builds the wing of the twist and alignment typed in, the
    // whole of it: whatever hangs from the canopy (the lines among them,
    // which the line drag counts) follows, as the recompute of the design
    // with those values gives it.
    void runRecomputesTheWholeWing()
    {
        QString reason;
        auto shipped = aerofixture::shippedDesign(&reason);
        QVERIFY2(shipped, qPrintable(reason));
        *design = *shipped;
        QVERIFY(fakesolver::install(programs->path(), fakesolver::exits3()));
        showDialog();
        dialog->maxtwistangleEdit->setText("6");
        dialog->profilealignmentEdit->setText("40");
        QStringList ran;
        const RecomputeTrace trace = Set_Recompute_Trace([&ran](const char* step) { ran << step; });
        dialog->apameButton->click();
        Set_Recompute_Trace(trace);
        warnings.clear();
        QCOMPARE(ran.count("Place_Line_Plan"), 1);

        auto recomputed = std::make_unique<ParaStruct>(*design);
        QCOMPARE(recomputed->maxTwistAngle, 6.0);
        QCOMPARE(recomputed->profileAlignment, 40.0);
        Refresh_Calculations(recomputed.get());
        const QStringList differ = projectfields::differences(*design, *recomputed);
        QVERIFY2(differ.isEmpty(), qPrintable(differ.join('\n')));
    }

    // Results belong to the design they were computed from. A run at twist
    // 3, the twist set to 8: the next run cancelled, or failed, leaves the
    // twist-3 results, which the pressure view and the polar window no
    // longer show under the twist-8 design; back at twist 3 they are its
    // results again.
    void resultsOfAnotherTwistAreNotShown()
    {
        QVERIFY(installAnswering(wallResults()));
        showDialog();
        typeTwist("3");
        dialog->apameButton->click();
        QCOMPARE(GetApameClass()->panelNum, 30);
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(30));
        QCOMPARE(dialog->apamewidget->noticeText(), QString());
        const PolarSeen atThree = openPolar();
        QVERIFY(atThree.shown && atThree.closed);
        QVERIFY(atThree.rows > 0);
        QVERIFY(atThree.table.contains("Current twist[deg]: 3.00"));

        typeTwist("8");
        QVERIFY(dialog->apamewidget->panels().isEmpty());
        const QString stale = "The solver results were computed for an earlier state of the design "
                              "(twist 3.00 deg, now 8.00 deg).";
        QVERIFY2(dialog->apamewidget->noticeText().startsWith(stale), qPrintable(dialog->apamewidget->noticeText()));

        recalculateAndCancel();
        QCOMPARE(GetApameClass()->panelNum, 30); // the twist-3 results are kept
        QVERIFY(dialog->apamewidget->panels().isEmpty());
        QVERIFY(dialog->apamewidget->noticeText().startsWith(stale));
        QVERIFY(dialog->apamewidget->findChild<QLabel*>("resultsNotice")->isVisible());
        save(dialog.get(), "cfd_dialog_after_cancel");
        const PolarSeen afterCancel = openPolar("polar_after_cancel");
        QVERIFY(afterCancel.shown && afterCancel.closed);
        QCOMPARE(afterCancel.rows, qsizetype(0));
        QCOMPARE(afterCancel.chartPoints, qsizetype(0));
        QVERIFY(afterCancel.table.contains("Current twist[deg]: 8.00"));
        QVERIFY2(afterCancel.table.contains(stale), qPrintable(afterCancel.table));
        QCOMPARE(afterCancel.warnings.size(), 1);
        QVERIFY(afterCancel.warnings.first().startsWith(stale));
        // No row of the twist-3 polar under the twist-8 head.
        QVERIFY(!afterCancel.table.contains("\t1:"));

        QVERIFY(fakesolver::install(programs->path(), fakesolver::exits3()));
        dialog->apameButton->click();
        QCOMPARE(warnings.size(), 1);
        warnings.clear();
        QCOMPARE(dialog->endtimeEdit->text(), QStringLiteral(" failed "));
        QVERIFY(dialog->apamewidget->panels().isEmpty());
        QVERIFY(dialog->apamewidget->noticeText().startsWith(stale));
        QCOMPARE(openPolar().rows, qsizetype(0));

        typeTwist("3");
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(30));
        QCOMPARE(dialog->apamewidget->noticeText(), QString());
        QCOMPARE(openPolar().rows, atThree.rows);
    }

    // The run's other settings are part of the design the results belong
    // to: a cancelled run with the other model leaves results of the smooth
    // one.
    void resultsOfAnotherModelAreNotShown()
    {
        QVERIFY(installAnswering(wallResults()));
        showDialog();
        dialog->flatmodelRadio->setChecked(true);
        dialog->apameButton->click();
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(30));
        dialog->inflatedmodelRadio->setChecked(true);
        recalculateAndCancel();
        QVERIFY(!design->smoothModel);
        QVERIFY(dialog->apamewidget->panels().isEmpty());
        QVERIFY2(dialog->apamewidget->noticeText().contains("smooth model, now inflated"),
                 qPrintable(dialog->apamewidget->noticeText()));
    }

    // Exit and show again: the run's results are still the design's. An
    // edit of the wing meanwhile (an editor's OK renews the revision) makes
    // them an earlier state's; an editor cancelled brings back the design
    // they belong to.
    void resultsFollowTheDesignBetweenShows()
    {
        QVERIFY(installAnswering(wallResults()));
        showDialog();
        dialog->apameButton->click();
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(30));
        dialog->exitButton->click();
        showDialog();
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(30));
        QVERIFY(openPolar().rows > 0);

        dialog->exitButton->click();
        const auto before = std::make_unique<ParaStruct>(*design);
        design->span *= 1.05;
        design->geometryChanged = true;
        showDialog();
        QVERIFY(dialog->apamewidget->panels().isEmpty());
        QVERIFY2(dialog->apamewidget->noticeText().contains("the wing has been changed since"),
                 qPrintable(dialog->apamewidget->noticeText()));
        const PolarSeen edited = openPolar();
        QCOMPARE(edited.rows, qsizetype(0));
        QVERIFY(edited.table.contains("the wing has been changed since"));

        dialog->exitButton->click();
        *design = *before; // as an editor's Cancel does
        showDialog();
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(30));
    }

    // Results found in the project folder at the first show belong to the
    // design only when the solver input beside them is the design's.
    void resultsOfAnEarlierSession_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("shown");
        QTest::newRow("input of the design") << "design" << true;
        QTest::newRow("no input") << "none" << false;
        QTest::newRow("input of another twist") << "other twist" << false;
        QTest::newRow("input written after the results") << "newer" << false;
    }
    void resultsOfAnEarlierSession()
    {
        QFETCH(QString, input);
        QFETCH(bool, shown);
        design->maxTwistAngle = 4;
        if (input == "other twist")
            design->maxTwistAngle = 5;
        Apply_Edit(design, DesignEdit::Nothing);
        QVERIFY(writeResultsOfTheDesign(wallResults()));
        design->maxTwistAngle = 4;
        Apply_Edit(design, DesignEdit::Nothing);
        QFile inp(output->filePath("wings.inp"));
        if (input == "none")
            QVERIFY(inp.remove());
        if (input == "newer") {
            QVERIFY(inp.open(QIODevice::ReadWrite));
            const QDateTime results = QFileInfo(output->filePath("wings.res")).lastModified();
            QVERIFY(inp.setFileTime(results.addSecs(60), QFileDevice::FileModificationTime));
            inp.close();
        }
        showDialog();
        QCOMPARE(GetApameClass()->panelNum, 30);
        QCOMPARE(dialog->apamewidget->panels().size(), qsizetype(shown ? 30 : 0));
        if (shown) {
            QCOMPARE(dialog->apamewidget->noticeText(), QString());
        } else {
            QVERIFY2(dialog->apamewidget->noticeText().contains("are not known to belong to the design shown"),
                     qPrintable(dialog->apamewidget->noticeText()));
            QCOMPARE(openPolar().rows, qsizetype(0));
        }
    }

    void exitRaisesTheFlags()
    {
        showDialog();
        design->geometryChanged = false;
        design->linesOutdated = false;
        dialog->exitButton->click();
        QVERIFY(design->geometryChanged);
        QVERIFY(design->linesOutdated);
        QVERIFY(!dialog->isVisible());
    }

    // Every press opens a polar window over the dialog; closing it ends it.
    void polarWindows()
    {
        QVERIFY(writeResultsOfTheDesign(wallResults()));
        showDialog();
        dialog->polarButton->click();
        QPointer<WPolar> first = dialog->polarWindow();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->parent(), dialog.get());
        QCOMPARE(first->windowModality(), Qt::WindowModal);
        QVERIFY(!first->rows().isEmpty());
        first->exitButton->click();
        WAIT_FOR_STATE(!first);
        QVERIFY(!dialog->polarWindow());
    }

    void viewCamera()
    {
        showDialog();
        GLApameWidget* view = dialog->apamewidget;
        // From the front, tilted 30 degrees down onto the upper side.
        QCOMPARE(view->xRotation(), 4320 + 480);
        QCOMPARE(view->yRotation(), 2880);
        QCOMPARE(view->zRotation(), 1440);
        QVERIFY(std::fabs(view->scale() - 0.45) < 1e-6);
        QVERIFY(std::fabs(view->yTranslation() - 0.45) < 1e-6);
        // Right-button drag turns.
        QTest::mousePress(view, Qt::RightButton, {}, QPoint(100, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(110, 105), view->mapToGlobal(QPointF(110, 105)), Qt::NoButton,
                         Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(110, 105));
        QCOMPARE(view->xRotation(), 4815);
        QCOMPARE(view->zRotation(), 1420);
        // Middle-button drag moves up and down.
        QTest::mousePress(view, Qt::MiddleButton, {}, QPoint(100, 100));
        QMouseEvent drag(QEvent::MouseMove, QPointF(100, 134), view->mapToGlobal(QPointF(100, 134)), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(view, &drag);
        QTest::mouseRelease(view, Qt::MiddleButton, {}, QPoint(100, 134));
        QVERIFY(std::fabs(view->yTranslation() - (0.45 - 34 * 1.75 / 340)) < 1e-6);
        QVERIFY(!QApplication::overrideCursor());
        // Wheel within 0.5 .. 2/3; a left click brings the start back.
        QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 960), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QVERIFY(std::fabs(view->scale() - 2.0 / 3.0) < 1e-6);
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(std::fabs(view->scale() - 0.45) < 1e-6);
        QVERIFY(std::fabs(view->yTranslation() - 0.45) < 1e-6);
        // "+" doubles the mesh, "-" halves it.
        QTest::keyClick(view, Qt::Key_Plus);
        QCOMPARE(view->modelFactor(), 0.256);
        for (int k = 0; k < 8; ++k)
            QTest::keyClick(view, Qt::Key_Minus);
        QCOMPARE(view->modelFactor(), 0.001);
        // No sideways offset: the view tells what it is given and keeps
        // its place.
        QSignalSpy sideways(view, &GLApameWidget::xTranslationChanged);
        const double up = view->yTranslation();
        view->setXTranslation(0.3f);
        QCOMPARE(sideways.size(), 1);
        QCOMPARE(sideways.at(0).at(0).toFloat(), 0.3f);
        QCOMPARE(view->yTranslation(), up);
    }

    // The default design after a run of the real solver: what the user sees
    // first, against the pictures of the windows.
    void defaultDesignAfterARun()
    {
        QString reason;
        auto shipped = aerofixture::shippedDesign(&reason);
        QVERIFY2(shipped, qPrintable(reason));
        *design = *shipped;
        design->projectName = QStringLiteral("template");
        dialog->setSolverDir(qEnvironmentVariable("WL_APP_DIR"));
        showDialog();
        dialog->apameButton->click();
        const ApameRes* res = GetApameClass();
        QCOMPARE(res->caseNum, 13);
        dialog->attackangleSlider->setValue(6);
        // The stagnation line along the nose takes the top colour.
        double highest = -10;
        int at = -1;
        for (int k = 0; k < res->cp.size(); ++k)
            if (res->cp[k].values[6] > highest) {
                highest = res->cp[k].values[6];
                at = k + 1;
            }
        QVERIFY(highest > 0.96);
        bool found = false;
        for (const PressurePanel& p : dialog->apamewidget->panels())
            if (p.id == at) {
                QCOMPARE(p.color, Index_Color(Legend_Band_Index(0)));
                found = true;
            }
        QVERIFY(found);
        save(dialog.get(), "cfd_dialog");
        save(dialog->midline_view, "station_view");
        dialog->apamewidget->setXRotation(2880);
        save(dialog.get(), "cfd_dialog_below");
        // From above, moved down into the view: the suction over the nose.
        dialog->apamewidget->setXRotation(0);
        GLApameWidget* view = dialog->apamewidget;
        QTest::mousePress(view, Qt::MiddleButton, {}, QPoint(100, 100));
        QMouseEvent drag(QEvent::MouseMove, QPointF(100, 200), view->mapToGlobal(QPointF(100, 200)), Qt::NoButton,
                         Qt::MiddleButton, Qt::NoModifier);
        QApplication::sendEvent(view, &drag);
        QTest::mouseRelease(view, Qt::MiddleButton, {}, QPoint(100, 200));
        save(dialog.get(), "cfd_dialog_above");
        QVERIFY2(legendColoursShown(frame()).size() >= 8, qPrintable(QString::number(legendColoursShown(frame()).size())));
        // The station view close up.
        QWheelEvent wheel(QPointF(50, 50), dialog->midline_view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 1440),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(dialog->midline_view, &wheel);
        save(dialog->midline_view, "station_view_zoomed");

        dialog->polarButton->click();
        WPolar* polar = dialog->polarWindow();
        QVERIFY(polar);
        QVERIFY(!polar->rows().isEmpty());
        const QList<std::pair<QPushButton*, QString>> charts = {
            {polar->VyVxButton, "polar_speed"}, {polar->cdButton, "polar_cd"},     {polar->clButton, "polar_cl"},
            {polar->cindButton, "polar_glide_alpha"}, {polar->cd_clButton, "polar_glide_calage"},
            {polar->cmButton, "polar_cm"}};
        for (const auto& [button, name] : charts) {
            button->click();
            QVERIFY(!polar->grafclasswidget->chartPoints().isEmpty());
            save(polar, name);
        }
        polar->close();

        PilotDialog pilot;
        pilot.show();
        WAIT_FOR_EXPOSED(&pilot);
        save(&pilot, "pilot_dialog");
        pilot.hide();
    }
};

QTEST_MAIN(TestApameDialog)
#include "tst_apamedialog_gui.moc"
