#include "shape/ui/datadialog.h"
#include "widgets/editsession.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/parastruct.h"
#include "shape/patternlimits.h"
#include "widgets/uihelpers.h"

#include <QShowEvent>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTableWidgetItem>

#include <iterator>

namespace {

double* spanField(ParaStruct* d) { return &d->span; }
double* hangHeightField(ParaStruct* d) { return &d->hangHeight; }
double* carabinerField(ParaStruct* d) { return &d->carabinerDistance; }
double* alignmentField(ParaStruct* d) { return &d->profileAlignment; }
double* twistField(ParaStruct* d) { return &d->maxTwistAngle; }
double* weightField(ParaStruct* d) { return &d->totalWeight; }
double* towField(ParaStruct* d) { return &d->towForce; }
double* sideSeamField(ParaStruct* d) { return &d->seamAllowance[0]; }
double* frontSeamField(ParaStruct* d) { return &d->seamAllowance[1]; }
double* trailingSeamField(ParaStruct* d) { return &d->seamAllowance[2]; }
double* diagonalSeamField(ParaStruct* d) { return &d->seamAllowance[3]; }
double* controlPointField(ParaStruct* d) { return &d->controlPointDiameter; }
double* tipFactorField(ParaStruct* d) { return &d->edgeTipFactor; }
double* cavityField(ParaStruct* d) { return &d->minirib.rearRibCavity; }

// The rows of the general data table. The seam allowance editor shows the
// pattern rows (from kFirstPatternRow on) by themselves.
const ValueRow kDataRows[] = {
    {spanField, &designinput::kSpan, 'f', 2},
    {hangHeightField, &designinput::kHangHeight, 'f', 2},
    {carabinerField, &designinput::kCarabinerDistance, 'f', 2},
    {alignmentField, &designinput::kProfileAlignment, 'f', 2},
    {twistField, &designinput::kTwist, 'f', 2},
    {weightField, &designinput::kTotalWeight, 'f', 2},
    {towField, &designinput::kTowForce, 'f', 2},
    {sideSeamField, &designinput::kSeamAllowance, 'g', 6},
    {frontSeamField, &designinput::kSeamAllowance, 'g', 6},
    {trailingSeamField, &designinput::kSeamAllowance, 'g', 6},
    {diagonalSeamField, &designinput::kSeamAllowance, 'g', 6},
    {controlPointField, &designinput::kControlPointDiameter, 'f', 1},
    {tipFactorField, &designinput::kEdgeTipFactor, 'f', 2},
    {cavityField, &designinput::kRearRibCavity, 'f', 2},
};
constexpr int kDataRowCount = int(std::size(kDataRows));
constexpr int kFirstPatternRow = 7;
const ValueRow* const kPatternRows = kDataRows + kFirstPatternRow;
constexpr int kPatternRowCount = kDataRowCount - kFirstPatternRow;

QString cellText(const ValueRow& row, ParaStruct* design)
{
    return QString::number(*row.field(design), row.format, row.precision);
}

QTableWidgetItem* valueItem(QTableWidget* table, int row)
{
    QTableWidgetItem* item = table->item(row, 1);
    if (!item) {
        item = new QTableWidgetItem;
        table->setItem(row, 1, item);
    }
    return item;
}

} // namespace

void Fill_ValueTable(QTableWidget* table, const ValueRow* rows, int count, ParaStruct* design)
{
    table->setColumnWidth(0, 260);
    table->setColumnWidth(1, 70);
    // Setting a text that differs from the cell's runs the cell-change slot,
    // which stores the shown value back into the field.
    for (int r = 0; r < count && r < table->rowCount(); ++r)
        valueItem(table, r)->setText(cellText(rows[r], design));
}

void Store_ValueCell(QTableWidget* table, const ValueRow* rows, int count, int row, ParaStruct* design)
{
    if (row < 0 || row >= count)
        return;
    QTableWidgetItem* item = table->item(row, 1);
    if (!item)
        return;
    const QString typed = item->text();
    const std::optional<double> value = Input_From_Text(*rows[row].input, typed);
    if (!value) {
        const QString kept = cellText(rows[row], design);
        {
            const QSignalBlocker quiet(table);
            item->setText(kept);
        }
        Refuse_Input(*rows[row].input, typed, kept);
        return;
    }
    *rows[row].field(design) = *value;
}

// ---------------------------------------------------------------- general data

DataDialog::DataDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    design = GetDataStruct();
    session = new EditSession(this);
}

DataDialog::~DataDialog() = default;

void DataDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is not a new editing session.
    if (event->spontaneous())
        return;
    cellsAccepted = false;
    initDataDialog();
    setLabelValues();
}

void DataDialog::initDataDialog()
{
    acceptButton->setEnabled(false);
    Apply_PatternLimits(design);
    Fill_ValueTable(tableWidget, kDataRows, kDataRowCount, design);
    if (design->ribTilt <= 0.0)
        radioOrto->setChecked(true);
    else
        radioSlash->setChecked(true);
    cellsspinBox->setValue(design->cells);
}

void DataDialog::setLabelValues()
{
    firstrib_label->setText(QString("  first rib: %1").arg(design->firstRib));
    lastrib_label->setText(QString("  last  rib: %1").arg(design->lastRib));
    sidecells_label->setText(QString(" side cells: %1").arg(design->sideCells));
    centercell_label->setText(QString("true-false center cell: %1").arg(design->centreCell ? 1 : 0));
    centerrib_label->setText(QString("true-false center  rib: %1").arg(design->centreRib ? 1 : 0));
}

void DataDialog::GetPanelData()
{
    design->ribTilt = radioOrto->isChecked() ? 0.0 : 1.0;
    Apply_PatternLimits(design);
}

void DataDialog::on_tableWidget_cellChanged(int row, int)
{
    Store_ValueCell(tableWidget, kDataRows, kDataRowCount, row, design);
}

void DataDialog::on_radioOrto_clicked()
{
    design->ribTilt = 0.0;
}

void DataDialog::on_radioSlash_clicked()
{
    design->ribTilt = 1.0;
}

void DataDialog::on_cellsspinBox_valueChanged(int value)
{
    newCells = value;
    acceptButton->setEnabled(true);
}

void DataDialog::on_acceptButton_pressed()
{
    if (newCells == design->cells)
        return;
    if (!Break_Question(" warning ...", " all existing line grups wil be erased !!"))
        return;
    if (Change_Cell_Count(design, newCells))
        cellsAccepted = true;
    acceptButton->setEnabled(false);
    setLabelValues();
}

void DataDialog::on_okButton_clicked()
{
    GetPanelData();
    if (session->changed())
        Apply_Edit(design, DesignEdit::Wing);
    hide();
}

void DataDialog::on_cancelButton_clicked()
{
    // The copy holds the line groups of the old count with the old count.
    session->revert();
    // The views may have rebuilt from the cell count that is now undone.
    if (cellsAccepted)
        Apply_Edit(design, DesignEdit::Wing);
    hide();
}

// ---------------------------------------------------------------- seam allowances

OverSewDataDialog::OverSewDataDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    design = GetDataStruct();
    glob = GetGlobClass();
    session = new EditSession(this);
}

OverSewDataDialog::~OverSewDataDialog() = default;

void OverSewDataDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    initOverSewDataDialog();
}

void OverSewDataDialog::initOverSewDataDialog()
{
    Apply_PatternLimits(design);
    Fill_ValueTable(tableWidget, kPatternRows, kPatternRowCount, design);
}

void OverSewDataDialog::GetPanelData()
{
    Apply_PatternLimits(design);
}

void OverSewDataDialog::on_tableWidget_cellChanged(int row, int)
{
    Store_ValueCell(tableWidget, kPatternRows, kPatternRowCount, row, design);
}

void OverSewDataDialog::on_okButton_clicked()
{
    GetPanelData();
    Apply_Edit(design, DesignEdit::Marks);
    hide();
}

void OverSewDataDialog::on_cancelButton_clicked()
{
    session->revert();
    hide();
}
