#include "structure/ui/crosslab_dialog.h"

#include "ui_crosslab_dialog.h"

#include "core/designedit.h"
#include "core/parastruct.h"
#include "widgets/editsession.h"
#include "widgets/uihelpers.h"
#include "structure/ui/crosslab_edit.h"
#include "structure/untwistedwing.h"

#include <QCloseEvent>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr int kGroupTabs = 4;
// The division of a triangle makes at most a few holes; a band many.
constexpr int kMaxTriangleHoles = 2;
constexpr int kMaxBandHoles = 20;

} // namespace

CrossLabDialog::CrossLabDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::crosslab_dialog>()), data(GetDataStruct()),
      flatWing(std::make_shared<UntwistedWing>())
{
    ui->setupUi(this);
    session = new EditSession(this);
    connect(ui->btnOK, &QPushButton::pressed, this, &CrossLabDialog::quit);
    connect(ui->btnCancel, &QPushButton::pressed, this, &CrossLabDialog::quit_cancel);
    for (int g = 0; g < kGroupTabs; ++g) {
        connect(editor(g), &CrossLab::to_setupboxes, this, &CrossLabDialog::setupBoxes);
        editor(g)->setFlatWing(flatWing);
    }
}

CrossLabDialog::~CrossLabDialog() = default;

CrossLab* CrossLabDialog::editor(int tab) const
{
    switch (tab) {
    case 0: return ui->load_lab_widget;
    case 1: return ui->inter_lab_widget;
    case 2: return ui->front_lab_widget;
    case 3: return ui->rear_lab_widget;
    default: return nullptr;
    }
}

CrossLab* CrossLabDialog::currentEditor() const
{
    return editor(currentTab);
}

void CrossLabDialog::setVisible(bool visible)
{
    // The copy for Cancel is taken before anything is shown: the editors
    // set themselves up as they appear, before the dialog's own show. The
    // untwisted wing they unfold from is built anew for each session.
    if (visible != isVisible())
        flatWing->forget();
    if (visible && !isVisible())
        session->begin();
    QDialog::setVisible(visible);
}

void CrossLabDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is no new session.
    if (event->spontaneous())
        return;
    {
        const QSignalBlocker block(ui->edgeBox);
        ui->edgeBox->setValue(int(data->holeEdgeFactor));
    }
    for (int g = 0; g < kGroupTabs; ++g)
        editor(g)->Set_Index_Type(g);
    if (CrossLab* e = currentEditor())
        e->Set_Index_Type(currentTab);
    showValues();
}

void CrossLabDialog::limitHoleCount()
{
    ui->n_Box->setMaximum(currentTab <= 1 ? kMaxTriangleHoles : kMaxBandHoles);
}

void CrossLabDialog::showValues()
{
    const QSignalBlocker n(ui->n_Box);
    const QSignalBlocker o(ui->offsetBox);
    const QSignalBlocker c(ui->dcornerBox);
    limitHoleCount();
    const CrossLab* e = currentEditor();
    ui->n_Box->setValue(e ? e->shownValue(0) : 0);
    ui->offsetBox->setValue(e ? e->shownValue(1) : 0);
    ui->dcornerBox->setValue(e ? e->shownValue(2) : 0);
}

void CrossLabDialog::on_tabWidget_currentChanged(int index)
{
    Tab_Select(index, font(), ui->tabWidget);
    currentTab = index;
    if (CrossLab* e = currentEditor()) {
        // Each group keeps its own values: the editor shows those of its
        // own selection, not of a shape chosen on another tab.
        e->Load_Own_Values();
        e->setObjectPosition();
    }
    showValues();
}

void CrossLabDialog::on_n_Box_valueChanged(int v)
{
    limitHoleCount();
    v = std::min(v, ui->n_Box->maximum());
    if (data->crossPortCorner == 1.0 && v != 1) {
        // Round holes: one per shape.
        const QSignalBlocker block(ui->n_Box);
        ui->n_Box->setValue(1);
        v = 1;
    }
    if (CrossLab* e = currentEditor())
        e->set_n_holes(v);
}

void CrossLabDialog::on_offsetBox_valueChanged(int v)
{
    if (CrossLab* e = currentEditor())
        e->set_n_offset(v);
}

void CrossLabDialog::on_dcornerBox_valueChanged(int v)
{
    if (CrossLab* e = currentEditor())
        e->set_n_corner(v);
}

void CrossLabDialog::on_edgeBox_valueChanged(int v)
{
    data->holeEdgeFactor = v;
    if (CrossLab* e = currentEditor())
        e->Apply_EdgeOffset();
}

void CrossLabDialog::on_setupWholeGrup_pressed()
{
    if (CrossLab* e = currentEditor())
        e->Reset_Whole_Group();
    repaint();
}

void CrossLabDialog::setupBoxes()
{
    // The selected shape's values become the current ones as they are;
    // choosing a shape changes none of its values.
    const CrossLab* e = currentEditor();
    if (!e)
        return;
    data->crossPortHoles = e->shownValue(0);
    data->crossPortOffset = e->shownValue(1);
    data->crossPortCorner = e->shownValue(2) < 2 ? 1.0 : e->shownValue(2);
    showValues();
    repaint();
}

void CrossLabDialog::quit()
{
    if (session->changed())
        Apply_Edit(data, DesignEdit::Marks);
    // The session ends first: the view reads a design that shares nothing
    // with a backup.
    hide();
    emit to_glwidget();
}

void CrossLabDialog::quit_cancel()
{
    session->revert();
    hide();
}

void CrossLabDialog::reject()
{
    quit_cancel();
}

void CrossLabDialog::closeEvent(QCloseEvent* event)
{
    session->revert();
    QDialog::closeEvent(event);
}
