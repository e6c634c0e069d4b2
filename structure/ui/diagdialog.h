#pragma once

// "Diagonals dialog": the plan of the half wing's diagonal ribs in two
// tables (D1, D2; one column per rib) with the chart of the plan, the
// replication accelerator, the cross-port model of a diagonal, the plane
// view of the diagonal shapes with the bottom width, the actual view of each
// generated diagonal, and a help text.
//
// The dialog works on the live design: every edit is in the design at once
// and Cancel only hides. OK stores the tables with their rib numbers and,
// when the design differs from the one the dialog found, recomputes it. While the dialog is open the main
// 3-D view shows the internal structure (ghost view); OK leaves it off,
// Cancel and closing bring back the view the dialog found.

#include <QColor>
#include <QDialog>

#include <memory>

class EditSession;
class ParaStruct;
class QTableWidget;
struct GlViewState;
struct DiagonalRow;
namespace Ui {
class DiagDialog;
}

class DiagDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DiagDialog(QWidget* parent = nullptr);
    ~DiagDialog() override;

    Ui::DiagDialog* form() const { return ui.get(); }
    // The main 3-D view's state, which the dialog switches to the ghost
    // view while it is open (none: the dialog switches nothing).
    void setViewState(GlViewState* state) { view = state; }
    // Row height and column width of the tables are 4 and 5 of this unit.
    int sizeUnit() const { return unit; }

signals:
    void to_cross_port();
    void to_dia_top();

public slots:
    void diag_has_changed();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_startribpinBox_valueChanged(int v);
    void on_masksizespinBox_valueChanged(int v);
    void on_maskButton_pressed();
    void on_mask2Button_pressed();
    void on_diagTableWidget_cellChanged(int row, int column);
    void on_diagTableWidget_2_cellChanged(int row, int column);
    void on_spinBottomWidth_valueChanged(int v);
    void on_n_Box_valueChanged(int);
    void on_offsetBox_valueChanged(int);
    void on_dcornerBox_valueChanged(int);
    void on_default_Button_pressed();
    void on_lineBox_D_clicked(bool checked);
    void on_dia_spinBox_valueChanged(int v);
    void on_OkButton_pressed();
    void on_CancelButton_pressed();

private:
    void initDialog();
    void buildCells();
    void fillTables();
    void fillTable(QTableWidget* table, const DiagonalRow* rows, bool withType);
    void storeTables();
    void cellChanged(QTableWidget* table, DiagonalRow* rows, int row, int column);
    void modelBoxesChanged();
    // Repaints the chart and writes why the dashed connections build nothing.
    void refreshChart();

    std::unique_ptr<Ui::DiagDialog> ui;
    ParaStruct* design;
    // The design as the dialog found it, to tell whether OK has an edit to
    // commit (Cancel keeps the edits as they are).
    EditSession* session;
    int columns = 0;
    int unit = 8;
    QColor blue = Qt::blue;
    QColor black = Qt::black;
    GlViewState* view = nullptr;
    bool ghostFound = false; // the 3-D view's ghost mode when the dialog opened
    bool cellsBuilt = false;
    bool editsLive = false;
    int replicationStart = 0;
    int replicationCells = 0;
};
