#include "lines/ui/bridledialog.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/parastruct.h"
#include "core/userinteraction.h"
#include "lines/lineplan.h"
#include "lines/loading.h"
#include "lines/ui/brwidget.h"
#include "lines/ui/ropeswidget.h"
#include "widgets/editsession.h"
#include "widgets/uihelpers.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr double kMaxRelax = 0.5;
constexpr int kBrakes = 7;   // lineSelection of the brake group

QString twoDecimals(double v)
{
    return QString("%1").arg(v, 0, 'f', 2);
}

// The share in a field's text, read as the program's number fields read (a
// decimal comma too); false when the text is no share of the load.
bool shareFromText(const QString& text, double* share)
{
    const std::optional<double> v = Input_From_Text(designinput::kLoadShare, text);
    if (!v)
        return false;
    *share = *v;
    return true;
}

} // namespace

BridleDialog::BridleDialog(QWidget* parent)
    : QDialog(parent), design(GetDataStruct())
{
    setupUi(this);
    session = new EditSession(this);
    // Views with a style-sheet ground paint it themselves.
    relaxwidget->setAttribute(Qt::WA_StyledBackground);
    br_table_widget->setAttribute(Qt::WA_StyledBackground);

    connect(this, &BridleDialog::to_getallbridledata, graphix_widget, &GraphixWidget::Get_All_Bridle_Data);
    connect(this, &BridleDialog::to_select_grupline, graphix_widget, &GraphixWidget::Select_OneGrupLine);
    connect(this, &BridleDialog::to_save_bridle, graphix_widget, &GraphixWidget::Update_CurrentGrupLine);
    connect(this, &BridleDialog::to_clear_linegrup, graphix_widget, &GraphixWidget::Clear_LineGrup);
    connect(this, &BridleDialog::to_recalc_bridle, graphix_widget, &GraphixWidget::AttachToRiser_2D3D);
    connect(this, &BridleDialog::to_copylinegrup, graphix_widget, &GraphixWidget::Copy_LineGrup);
    connect(this, &BridleDialog::to_pastelinegrup, graphix_widget, &GraphixWidget::Paste_LineGrup);
    connect(this, &BridleDialog::to_select_raiser, raiser_widget, &RaiserWidget::Select_Raiser);
    connect(this, &BridleDialog::to_reset_raiser, raiser_widget, &RaiserWidget::Reset_Raiser);
    connect(this, &BridleDialog::to_recalc_raiser, raiser_widget, &RaiserWidget::Recalculate_Raiser);
    connect(this, &BridleDialog::to_save_raiser, raiser_widget, &RaiserWidget::Save_raiser_data);
    connect(this, &BridleDialog::to_bridle_view, br_table_widget, &BridleView::getLineGrupData);

    paste_Button->setEnabled(false);
    paste_Button->hide();

    QLineEdit* shares[4] = {pL1Edit, pL2Edit, pL3Edit, pL4Edit};
    for (int k = 0; k < 4; ++k)
        connect(shares[k], &QLineEdit::editingFinished, this, [this, k] { settleShare(k); });
}

BridleDialog::~BridleDialog()
{
    delete brWidget;
}

QSize BridleDialog::windowMinimum() const
{
    const QWidget* main = parentWidget() ? parentWidget()->window() : this;
    return QSize(main->width() / 3, main->height() / 3);
}

// ---------------------------------------------------------------- show

void BridleDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is not a new editing session.
    if (event->spontaneous())
        return;
    InitBridleDialog();
    GetBridleDialogData();
    emit to_getallbridledata();
    Create_RopesWindow();
    Create_BrWindow();
    emit to_select_raiser();
    show_bridle_lengths();
}

void BridleDialog::InitBridleDialog()
{
    setSelection(0);
    design->linesOutdated = true;
    paste_Button->setEnabled(false);
    paste_Button->hide();
    {
        const QSignalBlocker block(c_Slider_Box);
        c_Slider_Box->setRange(design->firstRib, design->lastRib);
    }
    radioL1->setEnabled(true);
    radioL1->setChecked(false);
    for (QRadioButton* r : {radioL2, radioL3, radioL4, radioKmd})
        r->setEnabled(false);
    relaxwidget->relaxbrakes_Update();
    setSelection(-1);
    emit to_select_grupline();
    emit to_refresh_rrwidgets();
    {
        const QSignalBlocker block(numlines_spinBox);
        numlines_spinBox->setValue(design->lineGroupCount);
    }
    ShowActiveLineGrups(design->lineGroupCount);
    SetUpLineGrupLoadings(design);
}

void BridleDialog::GetBridleDialogData()
{
    // Filling the fields is not an edit: their change slots stay silent, so
    // showing the dialog leaves the design's values as they are.
    relaxwidget->relaxbrakes_Update();
    {
        const QSignalBlocker block(c_Slider_Box);
        c_Slider_Box->setValue(design->brakeCentreRib);
    }
    c_Slider_Box_label->setText(QString("%1").arg(design->brakeCentreRib));
    {
        const QSignalBlocker a(mrlSpinBox), b(erlSpinBox);
        mrlSpinBox->setValue(design->brakeMiddleRelax);
        erlSpinBox->setValue(design->brakeEdgeRelax);
    }
    QLineEdit* shares[4] = {pL1Edit, pL2Edit, pL3Edit, pL4Edit};
    QLineEdit* loads[4] = {L1percent, L2percent, L3percent, L4percent};
    for (int k = 0; k < 4; ++k) {
        const QSignalBlocker block(shares[k]);
        shares[k]->setText(twoDecimals(design->lineGroupShares[k]));
        loads[k]->setText(twoDecimals(design->lineGroupLoads[k]));
        settledShares[k] = design->lineGroupShares[k];
    }
    QSpinBox* weights[7] = {A_spin, B_spin, C_spin, D_spin, E_spin, F_spin, G_spin};
    for (int k = 0; k < 7; ++k) {
        const QSignalBlocker block(weights[k]);
        weights[k]->setValue(design->lineWeights[k]);
    }
    const QSignalBlocker block(H_spin);
    H_spin->setValue(1);
}

void BridleDialog::show_bridle_lengths()
{
    // The sums of the lines as they are, whether or not the analysis counts
    // them in its polar.
    const LineTotals totals = Line_Totals(design);
    sumropeslengthsEdit->setText(twoDecimals(totals.length));
    sumropessquareEdit->setText(twoDecimals(totals.area));
}

void BridleDialog::ShowActiveLineGrups(int count)
{
    radioL0->setVisible(true);
    radioL1->setEnabled(true);
    radioL1->setVisible(true);
    radioL2->setVisible(true);
    radioL3->setEnabled(false);
    radioL3->setVisible(false);
    radioL4->setEnabled(false);
    radioL4->setVisible(false);
    QString text = "NONE";
    switch (count) {
    case 2:
        text = "L1:L2";
        radioL2->setEnabled(true);
        break;
    case 3:
        text = "L1:L2:L3";
        radioL2->setEnabled(true);
        radioL3->setEnabled(true);
        radioL3->setVisible(true);
        break;
    case 4:
        text = "L1:L2:L3:L4";
        for (QRadioButton* r : {radioL2, radioL3, radioL4}) {
            r->setEnabled(true);
            r->setVisible(true);
        }
        break;
    default:
        break;
    }
    activelinegrupEdit->setText(text);
    radioL0->setChecked(true);
    for (QRadioButton* r : {radioL1, radioL2, radioL3, radioL4, radioKmd})
        r->setChecked(false);
}

// ---------------------------------------------------------------- the free windows

void BridleDialog::Create_RopesWindow()
{
    if (ropesWidget)
        return;
    ropesWidget = new RopesWidget(this);
    ropesWidget->setLineSelection(lineSelection);
    ropesWidget->setMinimumSize(windowMinimum());
    ropesWidget->setAttribute(Qt::WA_AlwaysShowToolTips);
    connect(this, &BridleDialog::to_ropes_refresh, ropesWidget, &RopesWidget::refreshRopes);
}

void BridleDialog::Create_BrWindow()
{
    if (brWidget)
        return;
    brWidget = new BrWidget(nullptr);
    brWidget->setLineSelection(lineSelection);
    // A window of its own, but not one that keeps the program running once
    // the main window is closed.
    brWidget->setAttribute(Qt::WA_QuitOnClose, false);
    brWidget->setMinimumSize(windowMinimum());
    connect(this, &BridleDialog::to_ropes_refresh, brWidget, &BrWidget::reinitialize);
    connect(this, &BridleDialog::to_refresh_rrwidgets, this, &BridleDialog::refresh_rrwidgets);
}

void BridleDialog::Refresh_Ropes()
{
    emit to_ropes_refresh();
}

void BridleDialog::refresh_rrwidgets()
{
    emit to_ropes_refresh();
    if (lineSelection >= 1)
        emit to_bridle_view();
}

void BridleDialog::on_ropeswindow_checkBox_clicked()
{
    if (!ropesWidget)
        return;
    if (ropeswindow_checkBox->isChecked())
        ropesWidget->showNormal();
    else
        ropesWidget->close();
}

void BridleDialog::on_brwindow_checkBox_clicked()
{
    if (!brWidget)
        return;
    if (brwindow_checkBox->isChecked())
        brWidget->setVisible(true);
    else
        brWidget->close();
}

// ---------------------------------------------------------------- groups

void BridleDialog::setSelection(int selection)
{
    lineSelection = selection;
    graphix_widget->setLineSelection(selection);
    br_table_widget->setLineSelection(selection);
    if (ropesWidget)
        ropesWidget->setLineSelection(selection);
    if (brWidget)
        brWidget->setLineSelection(selection);
}

void BridleDialog::setEnableLineGrups()
{
    radioL1->setEnabled(true);
    radioL2->setEnabled(true);
    radioKmd->setEnabled(true);
    radioL3->setEnabled(design->lineGroupCount > 2);
    radioL4->setEnabled(design->lineGroupCount > 3);
}

void BridleDialog::selectGroup(int selection)
{
    setSelection(selection);
    emit to_select_grupline();
    emit to_refresh_rrwidgets();
}

void BridleDialog::on_radioL1_clicked() { selectGroup(2); }
void BridleDialog::on_radioL2_clicked() { selectGroup(3); }
void BridleDialog::on_radioL3_clicked() { selectGroup(4); }
void BridleDialog::on_radioL4_clicked() { selectGroup(5); }

void BridleDialog::on_radioKmd_clicked()
{
    setSelection(kBrakes);
    paste_Button->setEnabled(false);
    paste_Button->hide();
    emit to_select_grupline();
    emit to_refresh_rrwidgets();
}

void BridleDialog::on_tabWidget_currentChanged(int index)
{
    Tab_Select(index, font(), tabWidget);
    if (index == 0) {
        for (QRadioButton* r : {radioL1, radioL2, radioL3, radioL4, radioKmd})
            r->setEnabled(false);
    } else {
        setEnableLineGrups();
    }
    switch (index) {
    case 0:
        show_bridle_lengths();
        update();
        break;
    case 1:
        graphix_widget->activate_graphix_widget();
        break;
    case 2:
        raiser_widget->activate_riser_widget();
        emit to_select_raiser();
        break;
    case 3:
        br_table_widget->activate_widget();
        break;
    default:
        break;
    }
}

void BridleDialog::on_copy_Button_pressed()
{
    paste_Button->setEnabled(true);
    paste_Button->show();
    emit to_copylinegrup();
    paste_Button->update();
}

void BridleDialog::on_paste_Button_pressed()
{
    if (!paste_Button->isEnabled())
        return;
    emit to_pastelinegrup();
    paste_Button->setEnabled(false);
    paste_Button->hide();
}

void BridleDialog::on_clearbridleButton_pressed()
{
    QString text;
    const int s = lineSelection;
    if (s >= 2 && s <= 5)
        text = QString("  Selected bridle grup L%1  will be cleared ").arg(s - 1);
    else if (s == kBrakes)
        text = "  L-Brakes bridle grup will be cleared ";
    if (!Break_Question(text, "OK ?"))
        return;
    emit to_clear_linegrup();
    emit to_refresh_rrwidgets();
}

void BridleDialog::on_resetBridleButton_clicked()
{
    if (!Break_Question(" WARNING ...", " all existing bridle grups wil be erased !!"))
        return;
    // Selections 1 and 6 name no group and clear nothing; the loop ends on
    // the brakes.
    for (int s = 1; s <= kBrakes; ++s) {
        setSelection(s);
        emit to_clear_linegrup();
        emit to_refresh_rrwidgets();
    }
}

// ---------------------------------------------------------------- loading fields

void BridleDialog::on_numlines_spinBox_valueChanged(int count)
{
    if (count == design->lineGroupCount)
        return;
    if (!Break_Question(" warning: Riser will be cleared !", "Ok / Cancel ?"))
        return;
    design->lineGroupCount = count;
    emit to_reset_raiser();
}

void BridleDialog::storeShare(int group, const QString& text)
{
    // Half-typed text ("", "-", "1e") is no share yet: the design keeps the
    // settled one until the field holds a share again.
    double share = settledShares[group];
    shareFromText(text, &share);
    design->lineGroupShares[group] = share;
    emit to_ropes_refresh();
}

bool BridleDialog::settleShare(int group)
{
    QLineEdit* shares[4] = {pL1Edit, pL2Edit, pL3Edit, pL4Edit};
    QLineEdit* field = shares[group];
    double share = 0.0;
    if (shareFromText(field->text(), &share)) {
        // The design holds what was typed; a field the user left alone shows
        // the share rounded and the design keeps it unrounded.
        settledShares[group] = design->lineGroupShares[group];
        return true;
    }
    const QString typed = field->text();
    const double kept = settledShares[group];
    design->lineGroupShares[group] = kept;
    {
        // Put back first: the message box takes the focus, which ends the
        // editing once more.
        const QSignalBlocker block(field);
        field->setText(twoDecimals(kept));
    }
    User().warning(QStringLiteral("Load share"),
                   QStringLiteral("The share of L%1 is the part of the flying weight its riser carries, a number "
                                  "from 0 to 1 (for example 0.3 or 0,3); \"%2\" is not one.\nL%1 keeps %3.")
                       .arg(group + 1)
                       .arg(typed.trimmed())
                       .arg(twoDecimals(kept)));
    emit to_ropes_refresh();
    return false;
}

void BridleDialog::on_pL1Edit_textChanged(const QString& text) { storeShare(0, text); }
void BridleDialog::on_pL2Edit_textChanged(const QString& text) { storeShare(1, text); }
void BridleDialog::on_pL3Edit_textChanged(const QString& text) { storeShare(2, text); }
void BridleDialog::on_pL4Edit_textChanged(const QString& text) { storeShare(3, text); }

void BridleDialog::storeWeight(int row, int value)
{
    design->lineWeights[row] = value;
}

void BridleDialog::on_A_spin_valueChanged(int value) { storeWeight(0, value); }
void BridleDialog::on_B_spin_valueChanged(int value) { storeWeight(1, value); }
void BridleDialog::on_C_spin_valueChanged(int value) { storeWeight(2, value); }
void BridleDialog::on_D_spin_valueChanged(int value) { storeWeight(3, value); }
void BridleDialog::on_E_spin_valueChanged(int value) { storeWeight(4, value); }
void BridleDialog::on_F_spin_valueChanged(int value) { storeWeight(5, value); }
void BridleDialog::on_G_spin_valueChanged(int value) { storeWeight(6, value); }
void BridleDialog::on_H_spin_valueChanged(int value) { storeWeight(7, value); }

void BridleDialog::on_c_Slider_Box_sliderMoved(int position)
{
    design->brakeCentreRib = std::min(position, design->lastRib);
    relaxwidget->relaxbrakes_Update();
    {
        const QSignalBlocker block(c_Slider_Box);
        c_Slider_Box->setValue(design->brakeCentreRib);
    }
    c_Slider_Box_label->setText(QString("%1").arg(design->brakeCentreRib));
    emit to_ropes_refresh();
}

void BridleDialog::on_mrlSpinBox_valueChanged(double value)
{
    design->brakeMiddleRelax = std::min(value, kMaxRelax);
    relaxwidget->relaxbrakes_Update();
    emit to_ropes_refresh();
}

void BridleDialog::on_erlSpinBox_valueChanged(double value)
{
    design->brakeEdgeRelax = std::min(value, kMaxRelax);
    relaxwidget->relaxbrakes_Update();
    emit to_ropes_refresh();
}

// ---------------------------------------------------------------- risers, OK, Cancel

void BridleDialog::on_attachButton_pressed()
{
    tabWidget->setCurrentIndex(2);
}

void BridleDialog::on_resetButton_clicked()
{
    emit to_reset_raiser();
}

void BridleDialog::Attach_RaiserToLines()
{
    // Selection 6 names no group and does nothing.
    for (int s = 2; s <= kBrakes; ++s) {
        setSelection(s);
        emit to_select_grupline();
        emit to_recalc_bridle();
        emit to_save_bridle();
    }
    emit to_select_raiser();
    emit to_recalc_raiser();
    emit to_save_raiser();
}

void BridleDialog::Refresh_Risers()
{
    raiser_widget->activate_riser_widget();
    Attach_RaiserToLines();
}

void BridleDialog::on_okButton_pressed()
{
    // A share field still holding no share is put back (and the user told)
    // before anything is placed from the shares.
    for (int k = 0; k < 4; ++k)
        settleShare(k);
    Refresh_Risers();
    // The groups are stored again from the editor; stored as they were,
    // the design is the one the dialog found, to the byte.
    if (session->changed())
        Apply_Edit(design, DesignEdit::Lines);
    else
        session->revert();
    hide();
}

void BridleDialog::on_cancelButton_pressed()
{
    session->revert();
    hide();
}

void BridleDialog::reject()
{
    // Escape cancels like the cancel button.
    session->revert();
    QDialog::reject();
}

void BridleDialog::closeEvent(QCloseEvent* event)
{
    session->revert();
    QDialog::closeEvent(event);
}
