#include "lines/ui/midlinedialog.h"

#include "core/calcul3d.h"
#include "core/designedit.h"
#include "core/parastruct.h"
#include "lines/linetree.h"
#include "widgets/editsession.h"
#include "widgets/uihelpers.h"

#include <QResizeEvent>
#include <QStyle>
#include <QTextDocumentFragment>

MidLineDialog::MidLineDialog(QWidget* parent)
    : QDialog(parent), design(GetDataStruct()), session(new EditSession(this))
{
    setupUi(this);
    connect(exitButton, &QPushButton::pressed, this, &MidLineDialog::just_quit);
    initDialog();
}

void MidLineDialog::initDialog()
{
    lineseq_checkBox->setChecked(false);
    abcdpos_widget->Set_LineSequence(false);
}

void MidLineDialog::on_lineseq_checkBox_clicked()
{
    abcdpos_widget->Set_LineSequence(lineseq_checkBox->isChecked());
}

void MidLineDialog::fitHeader()
{
    // The two lines over the view show whole at the form's width too: their
    // font shrinks to the room the window gives.
    const int room = groupBox_2->width() - label->x() - 6;
    QFont bold = font();
    bold.setBold(true);
    Fit_Caption(label, bold, QTextDocumentFragment::fromHtml(label->text()).toPlainText(), room);
    const int box = style()->pixelMetric(QStyle::PM_IndicatorWidth) + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 4;
    Fit_Caption(lineseq_checkBox, font(), lineseq_checkBox->text(), room, box);
}

void MidLineDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    fitHeader();
}

void MidLineDialog::showEvent(QShowEvent* event)
{
    // The view has put the markers on airfoil vertices before the session
    // took its copy (children are shown first): that repair outlives a
    // cancel. The rows' indexes and percents follow the markers from here
    // on, within the session.
    QDialog::showEvent(event);
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous())
        return;
    initDialog();
    abcdpos_widget->Update_Row_Indexes();
}

void MidLineDialog::on_acceptButton_pressed()
{
    if (session->changed()) {
        Apply_Edit(design, DesignEdit::Wing);
        // The lines follow their new attachment points; groups still
        // without lines get their frame nodes.
        Recalculate_Line_Plan(design);
    }
    hide();
}

void MidLineDialog::just_quit()
{
    session->revert();
    hide();
}

void MidLineDialog::reject()
{
    session->revert();
    QDialog::reject();
}
