#include "apps/splinora/mainwindow.h"

#include <QCloseEvent>
#include "core/userinteraction.h"

#include "apps/splinora/editspline.h"
#include "apps/splinora/foilroutines.h"

namespace splinora {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::WindowFlags())
{
    setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    opf = new myOpenFile(this);
    p = GetDataStruct();
    connect(this, SIGNAL(repaint_all()), spline_widget, SLOT(repaint()));
    connect(this, &MainWindow::to_repaint_opened_spline, spline_widget,
            &EditSpline::repaint_opened_spline);
}

void MainWindow::on_actionOpen_backround_template_triggered()
{
    const QString path = opf->DialogReadFromFile();
    if (path.isEmpty())
        return;
    p->baseAirfoilName = path;
    p->baseAirfoil = airfoil_Read(path);
    Write_BaseTable(p->baseAirfoil);
    emit repaint_all();
}

void MainWindow::on_actionOpen_foil_spline_triggered()
{
    // The current spline stays until another one has been read.
    const QString path = opf->DialogReadSplineFromFile();
    if (path.isEmpty() || !path.contains(".spl"))
        return;
    if (opf->ReadParaStream(path)) {
        spline_widget->Reset_view();
        // The edits show the file's openings, so that editing one of them
        // does not overwrite the other with stale text.
        setupEditO1_O2();
        emit to_repaint_opened_spline();
    }
}

void MainWindow::on_actionSave_as_table_triggered()
{
    spline_widget->Save_airfoil_table(opf->DialogWriteToFile());
}

void MainWindow::on_actionSave_as_spline_file_triggered()
{
    JustSaveSplineFile(opf->DialogWriteSplineToFile());
}

void MainWindow::on_actionExit_triggered()
{
    close();
}

void MainWindow::on_actionAbout_program_triggered()
{
    About();
}

void MainWindow::on_plusButton_pressed()
{
    spline_widget->ScaleFoil(+1.0);
}

void MainWindow::on_minusButton_pressed()
{
    spline_widget->ScaleFoil(-1.0);
}

void MainWindow::on_rotplusButton_clicked()
{
    spline_widget->RotateSpline(0.5 * Pi / 360.0);
    emit repaint_all();
}

void MainWindow::on_rotminusButton_clicked()
{
    spline_widget->RotateSpline(-0.5 * Pi / 360.0);
    emit repaint_all();
}

void MainWindow::on_symetriclButton_clicked()
{
    spline_widget->Generate_symetric_spline();
    emit repaint_all();
}

void MainWindow::on_refreshButton_clicked()
{
    p->spline.init_knots();
    spline_widget->repaint();
}

void MainWindow::on_O1Edit_editingFinished()
{
    change_O1_O2();
}

void MainWindow::on_O2Edit_editingFinished()
{
    change_O1_O2();
}

void MainWindow::change_O1_O2()
{
    p->spline.startVent = O1Edit->text().toDouble();
    p->spline.endVent = O2Edit->text().toDouble();
}

void MainWindow::setupEditO1_O2()
{
    O1Edit->setText(QString("%1").arg(p->spline.startVent, 0, 'f', 2));
    O2Edit->setText(QString("%1").arg(p->spline.endVent, 0, 'f', 2));
}

void MainWindow::JustSaveSplineFile(const QString& filename)
{
    if (filename.isEmpty())
        return;
    p->spline.airfoilName = filename;
    opf->WriteParaStream(filename);
}

void MainWindow::Write_BaseTable(const QPolygonF& poly)
{
    tableEdit->clear();
    tableEdit->setPlainText(Airfoil_Table_PanelText(poly));
    tableEdit->update();
}

void MainWindow::About()
{
    User().about(" About Splinora ver 1.0 -Qt4 ",
                 "Splinora ver.1.0 \n"
                 "Edits an airfoil as one B-spline over a background airfoil.",
                 QString(), QImage());
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The editing area takes its new frame and keeps the spline.
    spline_widget->Update_geometry();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
}

} // namespace splinora
