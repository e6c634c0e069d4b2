#include "structure/ui/miscport_dialog.h"

#include "ui_miscportdialog.h"

#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/parastruct.h"
#include "widgets/editsession.h"
#include "widgets/numberfield.h"
#include "widgets/uihelpers.h"
#include "structure/diagtables.h"
#include "structure/ui/miscport_edit.h"
#include "structure/untwistedwing.h"

#include <QCloseEvent>
#include <QShowEvent>

#include <algorithm>

MiscPortDialog::MiscPortDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::miscportdialog>()), design(GetDataStruct())
{
    ui->setupUi(this);
    session = new EditSession(this);
    connect(ui->btnOK, &QPushButton::pressed, this, &MiscPortDialog::quit);
    connect(ui->btnCancel, &QPushButton::pressed, this, &MiscPortDialog::quit_cancel);
}

MiscPortDialog::~MiscPortDialog() = default;

CrossEdit* MiscPortDialog::editor() const
{
    return ui->crossport_widget;
}

void MiscPortDialog::setVisible(bool visible)
{
    // The copy for Cancel is taken before anything is shown: the view sets
    // itself up as it appears, before the dialog's own show. The untwisted
    // wing the view unfolds from is built anew for each session.
    if (visible != isVisible())
        editor()->flatWing().forget();
    if (visible && !isVisible())
        session->begin();
    QDialog::setVisible(visible);
}

void MiscPortDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is no new session: the controls
    // keep what the user has set.
    if (event->spontaneous())
        return;
    initDialog();
    setupCrossPortData();
    editor()->Update_Miniribs();
    editor()->Update_Reinforcements();
    editor()->repaint();
}

void MiscPortDialog::initDialog()
{
    const QList<QObject*> controls = {ui->startmilarSlider, ui->endmilarSlider, ui->rearribposSlider,
                                      ui->startfrontSlider, ui->endfrontSlider, ui->upSlider,
                                      ui->dwSlider,         ui->leftSlider,    ui->rightSlider,
                                      ui->rearribsEdit,     ui->frontribsEdit, ui->rearrib_cavityEdit};
    // The sliders show what they can of the record: a value beyond a
    // slider's range stays in the design until the user moves the slider.
    for (QObject* c : controls)
        c->blockSignals(true);
    const MiniribData& m = design->minirib;
    ui->startmilarSlider->setValue(m.mylarStart);
    ui->endmilarSlider->setValue(m.mylarEnd);
    ui->rearribposSlider->setValue(int(m.rearRibPosition));
    ui->startfrontSlider->setValue(m.frontRibStart);
    ui->endfrontSlider->setValue(m.frontRibEnd);
    ui->upSlider->setValue(design->rod1.index[0]);
    ui->dwSlider->setValue(design->rod1.index[1]);
    ui->leftSlider->setValue(design->rod2.index[0]);
    ui->rightSlider->setValue(design->rod2.index[1]);
    ui->upLabel->setText(QString::number(ui->upSlider->value()));
    ui->dwLabel->setText(QString::number(ui->dwSlider->value()));
    ui->leftLabel->setText(QString::number(ui->leftSlider->value()));
    ui->rightLabel->setText(QString::number(ui->rightSlider->value()));
    ui->rearribsEdit->setText(Bfield_To_Edit(design, design->rearRibEnabled));
    ui->frontribsEdit->setText(Bfield_To_Edit(design, design->frontRibEnabled));
    ui->rearrib_cavityEdit->setText(QString::number(m.rearRibCavity, 'f', 2));
    for (QObject* c : controls)
        c->blockSignals(false);
}

void MiscPortDialog::setupCrossPortData()
{
    Edit_To_Bfield(design, ui->rearribsEdit->text(), design->rearRibEnabled);
    Edit_To_Bfield(design, ui->frontribsEdit->text(), design->frontRibEnabled);
}

void MiscPortDialog::on_tabWidget_currentChanged(int index)
{
    Tab_Select(index, font(), ui->tabWidget);
    editor()->repaint();
}

void MiscPortDialog::on_startmilarSlider_valueChanged(int v)
{
    design->minirib.mylarStart = v;
    editor()->Setup_MylarPoints();
    editor()->Store_Curve(0);
    editor()->repaint();
}

void MiscPortDialog::on_endmilarSlider_valueChanged(int v)
{
    design->minirib.mylarEnd = v;
    editor()->Setup_MylarPoints();
    editor()->Store_Curve(0);
    editor()->repaint();
}

void MiscPortDialog::on_resetmilarButton_pressed()
{
    if (Break_Question(QStringLiteral(" reset milar in-spline ?"), QStringLiteral(" Y or Cancel")))
        editor()->resetMylar();
}

void MiscPortDialog::on_rearribposSlider_valueChanged(int v)
{
    design->minirib.rearRibPosition = v;
    editor()->Update_Miniribs();
    editor()->repaint();
}

void MiscPortDialog::on_rearribsEdit_textChanged(const QString& text)
{
    Edit_To_Bfield(design, text, design->rearRibEnabled);
}

void MiscPortDialog::selectAllCells(bool* flags)
{
    const int last = std::min(design->lastRib, kStructSlots - 1);
    for (int r = 0; r <= last; ++r)
        flags[r] = r < last;
}

void MiscPortDialog::on_resetrearButton_pressed()
{
    if (!Break_Question(QStringLiteral("resetting value"), QStringLiteral("are you going to do this ?")))
        return;
    selectAllCells(design->rearRibEnabled);
    design->minirib.rearRibPosition = 0;
    ui->rearribsEdit->setText(Bfield_To_Edit(design, design->rearRibEnabled));
    editor()->Update_Miniribs();
    editor()->repaint();
}

// The cavity follows the field as it is typed; a text that is no cavity
// (half typed, or outside its range) leaves the last one in place until the
// editing ends, which puts that one back and says why.
void MiscPortDialog::on_rearrib_cavityEdit_textChanged(const QString& text)
{
    const std::optional<double> cavity = Input_From_Text(designinput::kRearRibCavity, text);
    if (!cavity)
        return;
    design->minirib.rearRibCavity = *cavity;
    editor()->Update_Miniribs();
    editor()->repaint();
}

bool MiscPortDialog::settleCavity()
{
    return Settle_Input(ui->rearrib_cavityEdit, designinput::kRearRibCavity,
                        QString::number(design->minirib.rearRibCavity, 'f', 2));
}

void MiscPortDialog::on_rearrib_cavityEdit_editingFinished()
{
    settleCavity();
}

void MiscPortDialog::on_startfrontSlider_valueChanged(int v)
{
    design->minirib.frontRibStart = v;
    editor()->Update_Miniribs();
    editor()->repaint();
}

void MiscPortDialog::on_endfrontSlider_valueChanged(int v)
{
    design->minirib.frontRibEnd = v;
    editor()->Update_Miniribs();
    editor()->repaint();
}

void MiscPortDialog::on_frontribsEdit_textChanged(const QString& text)
{
    Edit_To_Bfield(design, text, design->frontRibEnabled);
}

void MiscPortDialog::on_resetfrontButton_pressed()
{
    if (!Break_Question(QStringLiteral("resetting value"), QStringLiteral("are you going to do this ?")))
        return;
    selectAllCells(design->frontRibEnabled);
    ui->frontribsEdit->setText(Bfield_To_Edit(design, design->frontRibEnabled));
    editor()->repaint();
}

void MiscPortDialog::on_upSlider_valueChanged(int v)
{
    design->rod1.index[0] = v;
    ui->upLabel->setText(QString::number(v));
    editor()->Setup_RodPoints();
    editor()->Store_Curve(1);
    editor()->repaint();
}

void MiscPortDialog::on_dwSlider_valueChanged(int v)
{
    design->rod1.index[1] = v;
    ui->dwLabel->setText(QString::number(v));
    editor()->Setup_RodPoints();
    editor()->Store_Curve(1);
    editor()->repaint();
}

void MiscPortDialog::on_resetrodsButton_pressed()
{
    if (Break_Question(QStringLiteral("reset rod position"), QStringLiteral(" Ok or Cancel ?")))
        editor()->resetRods();
}

void MiscPortDialog::on_leftSlider_valueChanged(int v)
{
    design->rod2.index[0] = v;
    ui->leftLabel->setText(QString::number(v));
    editor()->Setup_Rod2Point();
    editor()->Store_Curve(2);
    editor()->repaint();
}

void MiscPortDialog::on_rightSlider_valueChanged(int v)
{
    design->rod2.index[1] = v;
    ui->rightLabel->setText(QString::number(v));
    editor()->Setup_Rod2Point();
    editor()->Store_Curve(2);
    editor()->repaint();
}

void MiscPortDialog::on_resetrodsButton_2_pressed()
{
    if (Break_Question(QStringLiteral("reset rod position"), QStringLiteral(" Ok or Cancel ?")))
        editor()->resetRod2();
}

void MiscPortDialog::quit()
{
    settleCavity();
    if (session->changed())
        Apply_Edit(design, DesignEdit::Parts);
    // The session ends first: the view reads a design that shares nothing
    // with a backup.
    hide();
    emit toglwidget();
}

void MiscPortDialog::quit_cancel()
{
    session->revert();
    hide();
}

void MiscPortDialog::reject()
{
    quit_cancel();
}

void MiscPortDialog::closeEvent(QCloseEvent* event)
{
    session->revert();
    QDialog::closeEvent(event);
}
