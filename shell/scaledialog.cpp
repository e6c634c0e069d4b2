#include "shell/scaledialog.h"
#include "widgets/editsession.h"
#include "ui_scaledialog.h"
#include "core/designedit.h"
#include "core/designinputs.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/calcul3d.h"
#include "widgets/numberfield.h"
#include "widgets/uihelpers.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

ScaleDialog::ScaleDialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::ScaleDialog)
    , design(GetDataStruct())
    , session(new EditSession(this))
{
    ui->setupUi(this);
    move(0, 0);
    connect(ui->okButton, &QPushButton::pressed, this, &ScaleDialog::Accept_Changes);
}

ScaleDialog::~ScaleDialog()
{
    delete ui;
}

void ScaleDialog::showEvent(QShowEvent* event)
{
    // A window restored from the task bar is shown as it was left.
    if (event->spontaneous()) {
        QDialog::showEvent(event);
        return;
    }
    ++shownCount;
    initScaleDialog();
    QDialog::showEvent(event);
}

void ScaleDialog::closeEvent(QCloseEvent* event)
{
    revert();
    QDialog::closeEvent(event);
}

void ScaleDialog::revert()
{
    session->revert();
    if (view && viewFound)
        *view = *viewFound;
    viewFound.reset();
}

void ScaleDialog::initScaleDialog()
{
    scaleFactor = 1.0;
    currentArea = newArea = design->flatArea;
    currentSpan = newSpan = design->span;
    currentHang = newHang = design->hangHeight;
    currentDiagWidth = newDiagWidth = design->diagBottomWidth;

    ui->currentspanEdit->setText(QString::number(currentSpan, 'f', 2));
    ui->spanEdit->setText(QString::number(newSpan, 'f', 2));
    ui->currenthanglengthEdit->setText(QString::number(currentHang, 'f', 2));
    ui->hanglengthEdit->setText(QString::number(newHang, 'f', 2));
    ui->currentsquareEdit->setText(QString("%1").arg(currentArea));
    ui->squareEdit->setText(QString("%1").arg(newArea));
}

namespace {

// A bound written with three digits, rounded into the range.
double inward(double bound, bool up)
{
    if (!(bound > 0) || !std::isfinite(bound))
        return bound;
    const double step = std::pow(10.0, std::floor(std::log10(bound)) - 2);
    const double r = (up ? std::ceil(bound / step) : std::floor(bound / step)) * step;
    return QString::number(r, 'g', 3).toDouble();
}

} // namespace

// The areas the model may be scaled to: those that give it a span and a hang
// height a design may have. A design without an area has none.
DesignInput ScaleDialog::areaInput() const
{
    DesignInput area{"flatArea", "flat area", "m²", {1.0, 0.0}};
    if (!(currentArea > 0.0) || !(currentSpan > 0.0) || !(currentHang > 0.0))
        return area;
    const ValueRange span = designinput::kSpan.range;
    const ValueRange hang = designinput::kHangHeight.range;
    const double least = std::max(span.lo / currentSpan, hang.lo / currentHang);
    const double most = std::min(span.hi / currentSpan, hang.hi / currentHang);
    area.range = {inward(currentArea * least * least, true), inward(currentArea * most * most, false)};
    return area;
}

void ScaleDialog::on_squareEdit_textChanged(const QString& text)
{
    if (shownCount <= 0)
        return;
    // Half-typed text gives no scale: the last one stays until OK says why.
    const std::optional<double> a = Input_From_Text(areaInput(), text);
    if (!a)
        return;
    newArea = *a;
    scaleFactor = qSqrt(*a / currentArea);
    newSpan = scaleFactor * currentSpan;
    ui->spanEdit->setText(QString::number(newSpan, 'f', 2));
    newHang = scaleFactor * currentHang;
    ui->hanglengthEdit->setText(QString::number(newHang, 'f', 2));
    update();
}

void ScaleDialog::SetScaledModelValues()
{
    newSpan = scaleFactor * currentSpan;
    design->span = newSpan;
    newHang = scaleFactor * currentHang;
    design->hangHeight = newHang;
    newDiagWidth = scaleFactor * currentDiagWidth;
    design->diagBottomWidth = newDiagWidth;
    Apply_Edit(design, DesignEdit::Wing);
    if (view) {
        if (!viewFound)
            viewFound = *view;
        view->inflatedView = true;
        view->ghostView = false;
    }
}

void ScaleDialog::Accept_Changes()
{
    if (!Settle_Input(ui->squareEdit, areaInput(), QString("%1").arg(newArea)))
        return;
    SetScaledModelValues();

    QString base = GetGlobClass()->prgPath;
    if (base.endsWith(".prg"))
        base.chop(4);
    const QString proposal = base + QString("-%1").arg(newArea, 0, 'f', 0) + ".prg";

    myOpenFile openFile;
    QString name = openFile.DialogWriteToFile(proposal);
    if (name.isEmpty())
        return;
    if (!name.endsWith(".prg"))
        name += ".prg";

    // The copy is saved under its own name; the open project keeps its path.
    const bool saved = openFile.WriteParaStream(name, *GetDataStruct(), myOpenFile::Report::Silently);
    revert();
    hide();
    if (!saved) {
        Show_Warning("Generate scaled model", "The scaled model could not be saved to\n" + name + "\n\n"
                                                  + openFile.lastSaveFailure());
    }
}

void ScaleDialog::on_cancelButton_clicked()
{
    revert();
    hide();
}
