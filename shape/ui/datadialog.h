#pragma once

// The general data editor (span, hang height, weights, seam allowances, rib
// style and the number of cells) and the seam allowance editor, which shows
// the pattern rows of the same value table on their own.
//
// Both follow the editing protocol: a backup of the design is taken when the
// dialog is shown; edits go straight into the live design; Cancel copies the
// backup back; OK applies the limits and raises the rebuild flags. Closing
// the window only hides it.

#include <QDialog>

#include <memory>

#include "ui_datadialog.h"
#include "ui_oversewdatadialog.h"

class GlobClass;
class EditSession;
struct DesignInput;
class ParaStruct;
class QShowEvent;
class QTableWidget;

// One row of a value table: which field of the design it edits, the values
// it takes, and how the field is written into the cell.
struct ValueRow {
    double* (*field)(ParaStruct*);
    const DesignInput* input;
    char format;   // 'f' fixed point, 'g' shortest general form
    int precision; // decimals ('f') or significant digits ('g')
};

// Fills column 1 of the table from the rows; every cell whose text changes
// stores its shown value back (so the fields are rounded as displayed).
void Fill_ValueTable(QTableWidget* table, const ValueRow* rows, int count, ParaStruct* design);

// Takes the text of column 1 of the row into its field. A text that is no
// value of the row's input (no number, or outside its range) is refused: the
// cell shows the field's value again, the field keeps it, and the user is
// told the range. A decimal comma is accepted.
void Store_ValueCell(QTableWidget* table, const ValueRow* rows, int count, int row, ParaStruct* design);

class DataDialog : public QDialog, public Ui::DataDialog
{
    Q_OBJECT

public:
    explicit DataDialog(QWidget* parent = nullptr);
    ~DataDialog() override;

    void initDataDialog();
    void setLabelValues();
    void GetPanelData();

    int pendingCells() const { return newCells; }

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_tableWidget_cellChanged(int row, int column);
    void on_radioOrto_clicked();
    void on_radioSlash_clicked();
    void on_cellsspinBox_valueChanged(int value);
    void on_acceptButton_pressed();
    void on_okButton_clicked();
    void on_cancelButton_clicked();

private:
    ParaStruct* design = nullptr;
    EditSession* session = nullptr;
    int newCells = 0;
    // Whether a new cell count was accepted since the dialog was shown.
    bool cellsAccepted = false;
};

class OverSewDataDialog : public QDialog, public Ui::OverSewDataDialog
{
    Q_OBJECT

public:
    explicit OverSewDataDialog(QWidget* parent = nullptr);
    ~OverSewDataDialog() override;

    void initOverSewDataDialog();
    void GetPanelData();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_tableWidget_cellChanged(int row, int column);
    void on_okButton_clicked();
    void on_cancelButton_clicked();

private:
    ParaStruct* design = nullptr;
    EditSession* session = nullptr;
    GlobClass* glob = nullptr;
};
