#include "shell/scaledialog.h"
#include "widgets/editsession.h"
#include "ui_scaledialog.h"
#include "core/designedit.h"
#include "core/filesave.h"
#include "core/openfile.h"
#include "core/parastruct.h"
#include "core/calcul3d.h"
#include "widgets/uihelpers.h"

#include <QtMath>

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

void ScaleDialog::on_squareEdit_textChanged(const QString& text)
{
    if (shownCount <= 0)
        return;
    const double a = text.toDouble();
    // Only a positive area of a design with a positive area gives a scale.
    if (!(a > 0.0) || !(currentArea > 0.0))
        return;
    newArea = a;
    scaleFactor = qSqrt(a / currentArea);
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
    Apply_Edit(design, DesignEdit::Nothing);
    if (view) {
        if (!viewFound)
            viewFound = *view;
        view->inflatedView = true;
        view->ghostView = false;
    }
}

void ScaleDialog::Accept_Changes()
{
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
        const FileSaveResult& failed = openFile.lastSaveError();
        Show_Warning("Generate scaled model", "The scaled model could not be saved to\n" + name + "\n\n"
                                                  + failed.reason() + ". " + failed.advice());
    }
}

void ScaleDialog::on_cancelButton_clicked()
{
    revert();
    hide();
}
