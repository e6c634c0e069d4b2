#include "structure/ui/diagdialog.h"

#include "ui_diagdialog.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/parastruct.h"
#include "widgets/editsession.h"
#include "structure/diagchart.h"
#include "structure/diagonals.h"
#include "structure/diagtables.h"
#include "widgets/viewstate.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kHeightRow = 1;
constexpr int kCheckRow = 2;
constexpr int kTypeRow = 3;

QTableWidgetItem* textCell(const QString& text, const QColor& colour)
{
    auto* item = new QTableWidgetItem(text);
    item->setForeground(colour);
    return item;
}

QTableWidgetItem* checkCell(const QColor& colour)
{
    auto* item = new QTableWidgetItem();
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(Qt::Unchecked);
    item->setForeground(colour);
    return item;
}

} // namespace

DiagDialog::DiagDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::DiagDialog>()), design(GetDataStruct()),
      session(new EditSession(this))
{
    ui->setupUi(this);
    for (QTableWidget* t : {ui->diagTableWidget, ui->diagTableWidget_2})
        t->horizontalHeader()->hide();
    connect(this, &DiagDialog::to_cross_port, ui->dia_crossport_widget, &DiaCrossPort::Recreate_diagonals);
    connect(this, &DiagDialog::to_dia_top, ui->dia_top_widget, &DiaTopView::Set_Bottom_Width);
    connect(ui->dia_top_widget, &DiaTopView::back_to_dialog, this, &DiagDialog::diag_has_changed);
}

DiagDialog::~DiagDialog() = default;

void DiagDialog::diag_has_changed()
{
    emit to_cross_port();
}

void DiagDialog::closeEvent(QCloseEvent* event)
{
    // Closing only hides (through reject): the edits are in the design
    // already.
    QDialog::closeEvent(event);
}

void DiagDialog::reject()
{
    if (view)
        view->ghostView = ghostFound;
    QDialog::reject();
}

void DiagDialog::showEvent(QShowEvent* event)
{
    // A window brought back from the task bar finds the dialog as it was
    // left, the 3-D view showing the internal structure.
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    // The 3-D view shows the internal structure while the plan is edited.
    if (view) {
        ghostFound = view->ghostView;
        view->ghostView = true;
    }
    columns = std::min(design->lastRib, kRibSlots - 1) + 1;
    ui->diagTableWidget->setRowCount(4);
    ui->diagTableWidget->setColumnCount(columns);
    ui->diagTableWidget_2->setRowCount(3);
    ui->diagTableWidget_2->setColumnCount(columns);
    blue = Qt::blue;
    black = Qt::black;
    QFont f = font();
    f.setPixelSize(13);
    f.setBold(true);
    setFont(f);
    const QRect x = QFontMetrics(f).boundingRect(QStringLiteral("X"));
    unit = std::max(1, x.right() - x.left());
    for (QTableWidget* t : {ui->diagTableWidget, ui->diagTableWidget_2})
        for (int r = 0; r < t->rowCount(); ++r)
            t->setRowHeight(r, 4 * unit);
    cellsBuilt = false;
    editsLive = false;
    initDialog();
    QDialog::showEvent(event);
    update();
}

void DiagDialog::initDialog()
{
    {
        const QSignalBlocker a(ui->masksizespinBox);
        const QSignalBlocker b(ui->startribpinBox);
        ui->masksizespinBox->setValue(design->diagMask2);
        ui->startribpinBox->setValue(design->diagMask1);
    }
    replicationCells = ui->masksizespinBox->value();
    replicationStart = ui->startribpinBox->value();
    buildCells();
    fillTables();
    design->diagBottomWidth = std::clamp(design->diagBottomWidth, 1.0, 99.0);
    {
        // Filling the boxes is no edit: nothing is written back through
        // their handlers.
        const QSignalBlocker w(ui->spinBottomWidth);
        const QSignalBlocker n(ui->n_Box);
        const QSignalBlocker o(ui->offsetBox);
        const QSignalBlocker c(ui->dcornerBox);
        const QSignalBlocker l(ui->lineBox_D);
        ui->spinBottomWidth->setValue(int(design->diagBottomWidth));
        const Triang& t = design->diagModelTriangle;
        ui->n_Box->setValue(t.holeCount);
        ui->offsetBox->setValue(t.offsetMm / 4);
        ui->dcornerBox->setValue(t.cornerCount);
        ui->lineBox_D->setChecked(design->diagModelFlags[0]);
    }
    ui->model_widget->Load_Model();
    ui->dia_crossport_widget->resetCurrentDiagonal();
    editsLive = true;
}

void DiagDialog::buildCells()
{
    if (design->ribAirfoils[0].isEmpty())
        return;
    const bool live = editsLive;
    editsLive = false;
    for (int i = 0; i < columns; ++i) {
        ui->diagTableWidget->setColumnWidth(i, 5 * unit);
        ui->diagTableWidget_2->setColumnWidth(i, 5 * unit);
        ui->diagTableWidget->setItem(0, i, textCell(QString::number(i), black));
        ui->diagTableWidget->setItem(kHeightRow, i, textCell(QString::number(0), black));
        ui->diagTableWidget->setItem(kCheckRow, i, checkCell(blue));
        ui->diagTableWidget->setItem(kTypeRow, i, textCell(QString::number(0), blue));
        ui->diagTableWidget_2->setItem(0, i, textCell(QString::number(i), black));
        ui->diagTableWidget_2->setItem(kHeightRow, i, textCell(QString::number(0), black));
        ui->diagTableWidget_2->setItem(kCheckRow, i, checkCell(blue));
    }
    ui->diagTableWidget->setVerticalHeaderLabels(
        QStringLiteral("D1 Rib;H[%];connectto next rib;Rib type[L],[I]").split(QLatin1Char(';')));
    ui->diagTableWidget_2->setVerticalHeaderLabels(
        QStringLiteral("D2 Rib;H[%];connectto next rib").split(QLatin1Char(';')));
    cellsBuilt = true;
    editsLive = live;
}

void DiagDialog::fillTable(QTableWidget* table, const DiagonalRow* rows, bool withType)
{
    for (int i = 0; i < columns; ++i) {
        if (QTableWidgetItem* item = table->item(0, i))
            item->setText(QString::number(rows[i].rib));
        if (QTableWidgetItem* item = table->item(kHeightRow, i))
            item->setText(QString::number(rows[i].heightPercent));
        if (QTableWidgetItem* item = table->item(kCheckRow, i))
            item->setCheckState(rows[i].connectNext ? Qt::Checked : Qt::Unchecked);
        if (withType)
            if (QTableWidgetItem* item = table->item(kTypeRow, i))
                item->setText(ribs_group_text(rows[i].ribType));
    }
}

void DiagDialog::fillTables()
{
    if (design->ribAirfoils[0].isEmpty())
        return;
    const bool live = editsLive;
    editsLive = false;
    fillTable(ui->diagTableWidget, design->diagTableD1, true);
    fillTable(ui->diagTableWidget_2, design->diagTableD2, false);
    editsLive = live;
    refreshChart();
}

void DiagDialog::refreshChart()
{
    const QStringList notes = Diagonal_Chart_Notes(design);
    ui->skippedLabel->setText(notes.isEmpty() ? QString()
                                              : QStringLiteral("Not built (dashed in the chart): ") + notes.join(QStringLiteral("; ")));
    ui->ucwidget->update();
}

void DiagDialog::cellChanged(QTableWidget* table, DiagonalRow* rows, int row, int column)
{
    if (!editsLive || column < 0 || column >= columns)
        return;
    QTableWidgetItem* item = table->item(row, column);
    if (!item)
        return;
    DiagonalRow& r = rows[column];
    if (row == kHeightRow) {
        r.heightPercent = Diagonal_Height_From_Text(item->text());
    } else if (row == kCheckRow) {
        r.connectNext = item->checkState() == Qt::Checked;
    } else if (row == kTypeRow && table == ui->diagTableWidget) {
        r.ribType = ribs_group_number(item->text().toUpper());
        editsLive = false;
        item->setText(ribs_group_text(r.ribType));
        editsLive = true;
        update();
    }
    refreshChart();
}

void DiagDialog::on_diagTableWidget_cellChanged(int row, int column)
{
    cellChanged(ui->diagTableWidget, design->diagTableD1, row, column);
}

void DiagDialog::on_diagTableWidget_2_cellChanged(int row, int column)
{
    cellChanged(ui->diagTableWidget_2, design->diagTableD2, row, column);
}

void DiagDialog::storeTables()
{
    if (!cellsBuilt)
        return;
    auto store = [this](QTableWidget* table, DiagonalRow* rows, bool withType) {
        for (int i = 0; i < columns; ++i) {
            const QTableWidgetItem* h = table->item(kHeightRow, i);
            const QTableWidgetItem* c = table->item(kCheckRow, i);
            if (!h || !c)
                continue;
            rows[i].rib = i;
            rows[i].heightPercent = Diagonal_Height_From_Text(h->text());
            rows[i].connectNext = c->checkState() == Qt::Checked;
            if (withType)
                if (const QTableWidgetItem* t = table->item(kTypeRow, i))
                    rows[i].ribType = ribs_group_number(t->text().toUpper());
        }
    };
    store(ui->diagTableWidget, design->diagTableD1, true);
    store(ui->diagTableWidget_2, design->diagTableD2, false);
}

void DiagDialog::on_startribpinBox_valueChanged(int v)
{
    replicationStart = v;
}

void DiagDialog::on_masksizespinBox_valueChanged(int v)
{
    replicationCells = v;
}

void DiagDialog::on_maskButton_pressed()
{
    Replicate_Diagonal_Table(design, design->diagTableD1, replicationStart, replicationCells, true);
    fillTables();
    update();
}

void DiagDialog::on_mask2Button_pressed()
{
    Replicate_Diagonal_Table(design, design->diagTableD2, replicationStart, replicationCells, false);
    fillTables();
    update();
}

void DiagDialog::on_spinBottomWidth_valueChanged(int v)
{
    const int w = std::max(v, 1);
    design->diagBottomWidth = w;
    if (ui->spinBottomWidth->value() != w) {
        const QSignalBlocker block(ui->spinBottomWidth);
        ui->spinBottomWidth->setValue(w);
    }
    Set_All_DiagBottomWidth(design);
    emit to_dia_top();
    emit to_cross_port();
}

void DiagDialog::modelBoxesChanged()
{
    ui->model_widget->set_box_values(ui->dcornerBox->value(), ui->offsetBox->value(), ui->n_Box->value());
}

void DiagDialog::on_n_Box_valueChanged(int)
{
    modelBoxesChanged();
}

void DiagDialog::on_offsetBox_valueChanged(int)
{
    modelBoxesChanged();
}

void DiagDialog::on_dcornerBox_valueChanged(int)
{
    modelBoxesChanged();
}

void DiagDialog::on_default_Button_pressed()
{
    ui->model_widget->set_default_diagonal();
    {
        const QSignalBlocker n(ui->n_Box);
        const QSignalBlocker o(ui->offsetBox);
        const QSignalBlocker c(ui->dcornerBox);
        ui->n_Box->setValue(1);
        ui->offsetBox->setValue(10);
        ui->dcornerBox->setValue(2);
    }
    ui->lineBox_D->setChecked(design->diagModelFlags[0]);
    update();
    ui->model_widget->set_box_values(2, 10, 1);
}

void DiagDialog::on_lineBox_D_clicked(bool checked)
{
    ui->model_widget->set_lines_apply(checked);
}

void DiagDialog::on_dia_spinBox_valueChanged(int v)
{
    ui->dia_crossport_widget->set_current_diagonal(v);
}

void DiagDialog::on_OkButton_pressed()
{
    storeTables();
    if (view)
        view->ghostView = false;
    // The 3-D view shows the new diagonals when it next draws.
    if (session->changed())
        Apply_Edit(design, DesignEdit::Parts);
    hide();
}

void DiagDialog::on_CancelButton_pressed()
{
    reject();
}
