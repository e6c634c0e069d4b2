#include "graphics/ui/designdialog.h"

#include "core/parastruct.h"
#include "core/userinteraction.h"
#include "graphics/nurbspreview.h"
#include "widgets/uihelpers.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace {
constexpr int kTopTab = 0;
constexpr int kBottomTab = 1;
constexpr int kColourTab = 2;
constexpr int kPreviewTab = 3;
} // namespace

DesignDialog::DesignDialog(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
    colour = QColor();
    design = GetDataStruct();
    // Each editor keeps its own side.
    design_widget_down->setCurrentside('D');
    design_widget_up->setCurrentside('U');
}

void DesignDialog::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
}

void DesignDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    colorButton->setEnabled(true);
    coloring_checkBox->setChecked(false);
    patt_widget->SetColoring(false);
    checkBillowLine->setChecked(design->billowLineOnTop);
    if (!textureConnected) {
        connect(this, &DesignDialog::set_texture, nurbswidget, &NurbsWidget::Create_DesignImage);
        textureConnected = true;
    }
}

void DesignDialog::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Colours chosen and not saved are kept while the dialog is open.
    patt_widget->Forget_Unsaved_Colours();
}

void DesignDialog::on_exitButton_clicked()
{
    close();
}

void DesignDialog::on_tabWidget_currentChanged(int index)
{
    Tab_Select(index, font(), tabWidget);
    if (index == kTopTab)
        design_widget_up->setCurrentside('U');
    else if (index == kBottomTab)
        design_widget_down->setCurrentside('D');
    else if (index == kColourTab)
        patt_widget->update();
}

void DesignDialog::on_checkBillowLine_clicked()
{
    design->billowLineOnTop = checkBillowLine->isChecked();
    design_widget_up->Refresh_Background();
    update();
}

void DesignDialog::on_coloring_checkBox_clicked()
{
    const bool b = coloring_checkBox->isChecked();
    EnableColorButton(b);
    patt_widget->SetColoring(b);
}

void DesignDialog::EnableColorButton(bool b)
{
    colorButton->setEnabled(b);
    if (!b && !patt_widget->Save_Canopy_Data())
        reportUnsaved();
}

void DesignDialog::reportUnsaved()
{
    const QString path = GetGlobClass()->cnpPath;
    if (path.isEmpty())
        User().warning(windowTitle(), QStringLiteral("No project is open: the colours are kept only until this "
                                                     "dialog is closed, and no texture is made."));
    else
        User().warning(windowTitle(), QStringLiteral("The colours could not be saved to\n%1").arg(path));
}

void DesignDialog::on_colorButton_pressed()
{
    if (!coloring_checkBox->isChecked())
        return;
    colour = User().color(QColor(Qt::black), QStringLiteral("Select  Color"));
    patt_widget->SetMyColor(colour);
}

void DesignDialog::on_saveButton_pressed()
{
    // Saving the colours and drawing the texture from them take a moment.
    const WaitCursor busy;
    colorButton->setEnabled(false);
    if (!patt_widget->Save_Canopy_Data())
        reportUnsaved();
    coloring_checkBox->setChecked(false);
    patt_widget->SetColoring(false);
    emit set_texture();
    // Without a project the colours' warning has said that no texture is
    // made; with one, a texture that could not be written is told too, or
    // the preview would show the previous one as if it were new. The
    // preview has told the reason already unless it is the same failure as
    // before; one message a failure.
    const QString dir = GetGlobClass()->dxfDir;
    if (!dir.isEmpty() && !nurbswidget->imageWritten() && !nurbswidget->imageProblemTold())
        User().warning(QStringLiteral("Texture image"), nurbswidget->imageProblem().isEmpty()
                                          ? QStringLiteral("The texture image could not be written to\n%1")
                                                .arg(Design_Image_Path())
                                          : nurbswidget->imageProblem());
    nurbswidget->setEnabled(true);
    tabWidget->setCurrentIndex(kPreviewTab);
}

void DesignDialog::on_pushButton_clicked()
{
    if (Break_Question(QStringLiteral("overwrite existing painting with light gray color ?"), QStringLiteral("yes/no")))
        patt_widget->InitGray_PolyColor();
}
