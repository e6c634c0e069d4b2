#include "patterns/ui/dxfpreviewdialog.h"

#include "core/calcul3d.h"
#include "core/parastruct.h"
#include "core/userinteraction.h"
#include "shape/ui/datadialog.h"
#include "patterns/patternsheet.h"
#include "widgets/uihelpers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShowEvent>

namespace {

constexpr int kExportTab = 6;
constexpr int kNeutralTab = 7;

const QString kTitle = QStringLiteral("Preview and export");

} // namespace

DxfPreviewDialog::DxfPreviewDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    design = GetDataStruct();
    glob = GetGlobClass();
    overSew = std::make_unique<OverSewDataDialog>(nullptr);
    currentPreview = 0;
}

DxfPreviewDialog::~DxfPreviewDialog() = default;

void DxfPreviewDialog::closeEvent(QCloseEvent*)
{
    // Closing the window only hides it.
}

void DxfPreviewDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    initDxfPreviewDialog();
}

void DxfPreviewDialog::initDxfPreviewDialog()
{
    pattwidget->initPatternArea();
    progressBar->setValue(0);
    options.wideSpacing = false;
    wide_spacing_on->setChecked(false);
    // The buttons show the cut mode the previews and the export will use.
    radioLineseg->setChecked(options.lineSegments);
    radioSplineseg->setChecked(!options.lineSegments);
    dxf_tabWidget->setCurrentIndex(kNeutralTab);
}

void DxfPreviewDialog::on_dxf_tabWidget_currentChanged(int index)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Tab_Select(index, font(), dxf_tabWidget);
    QString refusal;
    if (index >= 0 && index < kExportTab) {
        refusal = pattwidget->Create_Previews(index, options);
        currentPreview = index;
    } else if (index == kExportTab) {
        QApplication::restoreOverrideCursor();
        Export_To_DXF();
        return;
    } else if (index == kNeutralTab) {
        // The neutral tab shows no sheet: the view says what to choose.
        pattwidget->Create_Previews(-1);
    }
    QApplication::restoreOverrideCursor();
    if (!refusal.isEmpty())
        User().warning(kTitle, refusal);
}

void DxfPreviewDialog::preview(int kind)
{
    const QString refusal = pattwidget->Create_Previews(kind, options);
    if (!refusal.isEmpty())
        User().warning(kTitle, refusal);
}

void DxfPreviewDialog::Export_To_DXF()
{
    PatternSheet sheet;
    sheet.design = design;
    sheet.options = options;
    sheet.font = pattwidget->font();
    sheet.viewSize = pattwidget->size();

    // Refused exports say why at once, before the user is asked to wait.
    if (!Export_Folder_Refusal().isEmpty() || !Patterns_Refusal(design).isEmpty()) {
        User().warning(kTitle, Export_All_Patterns(sheet).text());
        return;
    }
    User().information(kTitle, QStringLiteral(" Export ALL to DXF subdirectory press OK and wait few moments ..."));

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ExportReport report = Export_All_Patterns(sheet, [this](int percent) {
        progressBar->setValue(percent);
        progressBar->repaint();
    });
    QApplication::restoreOverrideCursor();
    setCursor(Qt::ArrowCursor);
    // Every file is named: those written, and those that were not and why.
    bool failed = false;
    for (const ExportedFile& f : report.files)
        failed = failed || (f.available && !f.written);
    if (failed || !report.refusal.isEmpty())
        User().warning(kTitle, report.text());
    else
        User().information(kTitle, report.text());
}

void DxfPreviewDialog::on_exitButton_pressed()
{
    pattwidget->Create_Previews(-1);
    hide();
}

void DxfPreviewDialog::on_wide_spacing_on_clicked()
{
    options.wideSpacing = wide_spacing_on->isChecked();
    preview(currentPreview);
}

void DxfPreviewDialog::on_radioLineseg_clicked()
{
    options.lineSegments = true;
    preview(currentPreview);
}

void DxfPreviewDialog::on_radioSplineseg_clicked()
{
    options.lineSegments = false;
    preview(currentPreview);
}

void DxfPreviewDialog::on_dataButton_pressed()
{
    overSew->show();
}
