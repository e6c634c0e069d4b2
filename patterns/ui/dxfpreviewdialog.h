#pragma once

// The "Preview and export" window: one pattern kind at a time in the
// preview, the cut mode of the design lines, wide spacing, the seam
// allowance data, and "Export all", which writes every pattern file into the
// project's output directory and reports each.

#include <QDialog>

#include <memory>

#include "patterns/patternsheet.h"
#include "ui_dxfpreviewdialog.h"

class GlobClass;
class OverSewDataDialog;
class ParaStruct;
class QCloseEvent;
class QShowEvent;

class DxfPreviewDialog : public QDialog, public Ui::dxfpreviewdialog
{
    Q_OBJECT

public:
    explicit DxfPreviewDialog(QWidget* parent = nullptr);
    ~DxfPreviewDialog() override;

    void initDxfPreviewDialog();
    void Export_To_DXF();

    int lastPreview() const { return currentPreview; }
    // The choices the previews and the export draw with.
    const PatternOptions& sheetOptions() const { return options; }
    OverSewDataDialog* seamAllowanceDialog() const { return overSew.get(); }

signals:
    void to_close_pattwidget();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void on_dxf_tabWidget_currentChanged(int index);
    void on_exitButton_pressed();
    void on_wide_spacing_on_clicked();
    void on_dataButton_pressed();
    void on_radioLineseg_clicked();
    void on_radioSplineseg_clicked();

private:
    // Previews the kind and tells the user when the design has no patterns.
    void preview(int kind);

    ParaStruct* design = nullptr;
    GlobClass* glob = nullptr;
    std::unique_ptr<OverSewDataDialog> overSew;
    int currentPreview = 0; // pattern kind of the last preview tab chosen
    // Wide spacing starts off at every show; the cut mode stays as the user
    // last chose it.
    PatternOptions options;
};
