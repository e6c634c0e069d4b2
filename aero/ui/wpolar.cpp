#include "aero/ui/wpolar.h"

#include "aero/apameres.h"
#include "aero/polarview.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/parastruct.h"
#include "widgets/numberfield.h"
#include "widgets/uihelpers.h"
#include "core/userinteraction.h"
#include "lines/loading.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTextCursor>

#include <algorithm>

namespace {

const char* const kTitle = "aerodynamics - flow analysis";
constexpr int kTableMinimumHeight = 614;

QString twoDecimals(double v)
{
    return QStringLiteral("%1").arg(v, 0, 'f', 2);
}

} // namespace

WPolar::WPolar(QWidget* parent, bool countLines) : QDialog(parent), withBridleData(countLines)
{
    setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(printbutton, &QPushButton::clicked, this, &WPolar::PrintPolar_BaseTable);
    design = GetDataStruct();
    results = GetApameClass();
    results->chartKind = polarchart::kSpeedPolar;
    Set_Values();
    ShowCurrentModel();
    RefreshAll();
    baseTable->setMinimumHeight(kTableMinimumHeight);
}

WPolar::~WPolar() = default;

void WPolar::Set_Values()
{
    if (design->totalWeight <= 0)
        design->totalWeight = 100.0;
    if (design->flatArea == 0 && usable) {
        usable = false;
        Show_Warning(QLatin1String(kTitle),
                     QStringLiteral("Check your paraglider flat shape geometry data...program will close"));
        if (isVisible())
            close();
    }
    filenamelabel->setText(design->projectName);
    totaPilotlweightEdit->setText(twoDecimals(design->totalWeight));
    pullforceEdit->setText(twoDecimals(design->towForce));
    pilotfaceEdit->setText(twoDecimals(design->pilotArea));
    ropesCdEdit->setText(twoDecimals(design->ropesCd));
    pilotCdEdit->setText(twoDecimals(design->pilotCd));
    oswaldEdit->setText(twoDecimals(design->oswaldFactor));
    sumropeslenEdit->setText(twoDecimals(polar.totalLineLength));
    pilotshiftprocEdit->setText(QStringLiteral(" %1 ").arg(calculate_shift_from_legaX(design), 4, 'f', 2));
}

// A field holding no value of its number gets the design's value back, and
// the user is told the range.
void WPolar::Get_Values()
{
    const struct {
        QLineEdit* field;
        const DesignInput& input;
        double* value;
    } fields[] = {
        {totaPilotlweightEdit, designinput::kTotalWeight, &design->totalWeight},
        {pullforceEdit, designinput::kTowForce, &design->towForce},
        {pilotfaceEdit, designinput::kPilotArea, &design->pilotArea},
        {ropesCdEdit, designinput::kLinesCd, &design->ropesCd},
        {pilotCdEdit, designinput::kPilotCd, &design->pilotCd},
        {oswaldEdit, designinput::kOswaldFactor, &design->oswaldFactor},
    };
    for (const auto& f : fields)
        Take_Input(f.field, f.input, f.value, twoDecimals(*f.value));
    Set_Values();
}

void WPolar::ShowCurrentModel()
{
    const bool pulled = design->towForce > 0;
    if (design->smoothModel)
        modelEdit->setText(pulled ? QStringLiteral("PULLED-SMOOTH") : QStringLiteral("SMOOTH"));
    else
        modelEdit->setText(pulled ? QStringLiteral("PULLED-INFLATED") : QStringLiteral("INFLATED"));
}

void WPolar::RefreshAll()
{
    Get_Values();
    // Results of another state of the design give no polar under this
    // design's head block: the table says why in place of the rows.
    const QString mismatch = Results_Design_Mismatch(*results, *design);
    QString problem = mismatch;
    if (mismatch.isEmpty()) {
        createPolar_BaseTable(*design, *results, withBridleData, &polar, &problem);
    } else {
        const LineTotals lines = getTotalBridleLength(*design, withBridleData);
        polar.totalLineLength = lines.length;
        polar.ropesArea = lines.area;
        polar.rows.clear();
        polar.polarRowCount = 0;
    }
    // The line total as this computation found it.
    sumropeslenEdit->setText(twoDecimals(polar.totalLineLength));
    writeTable(problem);
    // Without a polar no chart: its tables hold nothing of these results.
    showChart(problem.isEmpty() ? results->chartKind : 0);
    // Told once per window; the table says it on every refresh.
    if (!problem.isEmpty() && !problemShown) {
        problemShown = true;
        Show_Warning(QLatin1String(kTitle), problem);
    }
}

void WPolar::writeTable(const QString& emptyReason)
{
    tableFont = QFont(QStringLiteral("Arial"), 9, QFont::Normal);
    baseTable->setTabStopDistance(7 * QFontMetrics(tableFont).horizontalAdvance(QLatin1Char('X')));
    baseTable->setFont(tableFont);
    baseTable->clear();
    baseTable->setAlignment(Qt::AlignLeft);
    baseTable->setTextColor(Qt::black);
    for (const PolarTableLine& line : Polar_Table_Lines(*design, polar, emptyReason)) {
        if (line.best) {
            baseTable->setTextColor(QColor(255, 0, 0));
            baseTable->append(line.text);
            baseTable->setTextColor(Qt::black);
        } else {
            baseTable->append(line.text);
        }
    }
    baseTable->setAlignment(Qt::AlignLeft);
    // The head block first in view.
    baseTable->moveCursor(QTextCursor::Start);
    baseTable->ensureCursorVisible();
}

void WPolar::showChart(int kind)
{
    PolarChart chart;
    if (Polar_Chart(*design, polar, kind, &chart)) {
        grafclasswidget->load(chart);
    } else {
        // No chart: none of the polar's tables, whatever results they
        // were filled from, is drawn.
        chart = PolarChart();
        chart.title = QStringLiteral("no polar of the design shown: see the table");
        grafclasswidget->load(chart);
    }
}

void WPolar::PrintPolar_BaseTable()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!User().print(&printer, QStringLiteral("Print the polar table")))
        return;
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setColorMode(QPrinter::GrayScale);
    baseTable->document()->print(&printer);
}

// ---------------------------------------------------------------- slots

void WPolar::on_cdButton_clicked()
{
    results->chartKind = polarchart::kDrag;
    RefreshAll();
}

void WPolar::on_clButton_clicked()
{
    results->chartKind = polarchart::kLift;
    RefreshAll();
}

void WPolar::on_cindButton_clicked()
{
    results->chartKind = polarchart::kGlideOverAlpha;
    RefreshAll();
}

void WPolar::on_cd_clButton_clicked()
{
    results->chartKind = polarchart::kGlideOverCalage;
    RefreshAll();
}

void WPolar::on_cmButton_clicked()
{
    results->chartKind = polarchart::kMoment;
    RefreshAll();
}

void WPolar::on_VyVxButton_clicked()
{
    results->chartKind = polarchart::kSpeedPolar;
    RefreshAll();
}

void WPolar::on_recalculatetableButton_pressed()
{
    RefreshAll();
}

void WPolar::on_exitButton_pressed()
{
    Get_Values();
    close();
}

void WPolar::on_oswaldEdit_editingFinished()
{
    Take_Input(oswaldEdit, designinput::kOswaldFactor, &design->oswaldFactor, twoDecimals(design->oswaldFactor));
    Set_Values();
}

void WPolar::on_pilotshiftprocEdit_editingFinished()
{
    double p = 0.0;
    if (!Take_Input(pilotshiftprocEdit, designinput::kPilotShift, &p,
                    QStringLiteral(" %1 ").arg(calculate_shift_from_legaX(design), 4, 'f', 2)))
        return;
    calculate_legaX_from_shift(design, p);
    design->pilotShiftPercent = p;
    // The lines hang from the pilot's new place; the canopy the solver saw
    // is the same.
    Apply_Edit_Keeping_Results(design, GetApameClass(), DesignEdit::Wing);
    update();
}

void WPolar::on_defaultsButton_clicked()
{
    Standard_Polar_Constants(design);
    Set_Values();
    ShowCurrentModel();
    RefreshAll();
}
