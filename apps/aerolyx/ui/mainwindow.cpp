#include "apps/aerolyx/ui/mainwindow.h"
#include "widgets/widgetinteraction.h"

#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/flow.h"
#include "apps/aerolyx/ui/foiltable.h"
#include "apps/aerolyx/ui/outputfiles.h"
#include "core/chartlabels.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QMenu>
#include "core/userinteraction.h"
#include <QPainter>
#include <QPrinter>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace aerolyx {

namespace {
constexpr double kMaxIncidence = 20.0;

QString Angle_Text(double degrees)
{
    return QString("%1").arg(degrees, 0, 'f', 2);
}

// A symmetric airfoil's zero-lift angle comes out a hair below zero: it
// reads 0.000, not -0.000.
QString Zero_Lift_Text(double radians)
{
    return Tick_Text(180.0 * radians / M_PI, 3);
}
} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , record(GetMyData())
{
    // The panel's texts are placed for Times New Roman. Where it is not
    // installed, the face with its metrics takes its place by name: any
    // other serif face is wider, and the labels lose their ends.
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    setupUi(this);
    loadCount = 0;
    InitMainWindow();
    Set_Connections();
    curFile = "empty";
    currentFileLabel->setText(curFile);
    setWindowTitle(" Aerolyx  -  airfoil flow analyser of the wingloft suite");
}

void MainWindow::InitMainWindow()
{
    setContextMenuPolicy(Qt::CustomContextMenu);
    incidence = 0;
    angleSlider->setValue(0);
    attangleEdit->setText(Angle_Text(incidence));
    record->gridDensity = 2.5;
    record->attackAngle = incidence;
    Show_Circulation();
}

void MainWindow::Set_Connections()
{
    connect(actionOpen, &QAction::triggered, this, &MainWindow::OpenAirfoilFile);
    connect(actionExit, &QAction::triggered, this, &MainWindow::Quit);
    connect(actionAbout_program, &QAction::triggered, this, &MainWindow::About);
    connect(actionSave_aifroil_table, &QAction::triggered, this, &MainWindow::Create_airfoil_table);
    connect(actionPrinttable, &QAction::triggered, this, &MainWindow::Print_airfoil_table);
    connect(this, &MainWindow::statusEvent, this, &MainWindow::InfoBarText);
    connect(this, &QWidget::customContextMenuRequested, this, &MainWindow::ShowContextMenu);
}

void MainWindow::Show_Circulation()
{
    circulationEdit->setText(QString("%1").arg(-Circulation(record), 0, 'f', 4));
}

void MainWindow::Repaint_Angle_Views()
{
    velocitywidget->update();
    potwidget->update();
    streamwidget->update();
    cpwidget->update();
}

void MainWindow::Repaint_All_Views()
{
    for (QWidget* view : std::initializer_list<QWidget*>{fftwidget, potwidget, streamwidget, velocitywidget,
                                                          cpwidget, cliftwidget_2, momentumwidget, widget})
        view->update();
}

QString MainWindow::strippedName(const QString& path)
{
    return QFileInfo(path).fileName();
}

bool MainWindow::Open_Airfoil(const QString& path, QString* why)
{
    QString reason;
    if (!Load_Airfoil(record, path, &reason)) {
        if (why)
            *why = reason;
        return false;
    }
    curFile = strippedName(path);
    currentFileLabel->setText(curFile);
    resampledPoly = record->workFoil;
    foilPoly = resampledPoly;
    nonliftangleEdit->setText(Zero_Lift_Text(record->zeroLiftAngle));
    thicknessEdit->setText(FindThickness(record->workFoil));
    // The circulation depends on the zero-lift angle of the new airfoil.
    Show_Circulation();
    ++loadCount;
    Repaint_All_Views();
    update();
    return true;
}

void MainWindow::OpenAirfoilFile()
{
    const QString dir =
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) + "/WL9work/Airfoils";
    const QString path = User().openFileName(tr("Select airfoil"), dir, "*.out *.txt *.dat *.pfl *.PFL *.DAT *.TXT");
    if (path.isEmpty())
        return;
    QString why;
    if (!Open_Airfoil(path, &why))
        User().warning(tr("Select airfoil"), tr("The airfoil \"%1\" cannot be analysed.").arg(strippedName(path))
                                                 + (why.isEmpty() ? QString() : "\n" + why));
}

void MainWindow::Quit()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (fileOpened)
        emit fileStillOpened();
    QMainWindow::closeEvent(event);
}

void MainWindow::Save_Changes()
{
    emit statusEvent(" Save_Changes");
    JustSaveFile(curFile);
}

void MainWindow::JustSaveFile(const QString& name)
{
    emit statusEvent(" Just  Save  File");
    if (name.isEmpty())
        return;
    curFile = name;
    currentFileLabel->setText(strippedName(name));
}

void MainWindow::About()
{
    User().about(tr("About"),
                 tr("Aerolyx\n\nPotential flow around one airfoil: the airfoil is mapped conformally "
                    "onto a circle, and velocity, stream lines, pressure, lift and moment follow "
                    "for any angle of incidence.\n\nPart of the wingloft suite."),
                 QString(), QImage());
}

bool MainWindow::Save_Airfoil_Table(const QString& path)
{
    return Write_Airfoil_Table(record, path);
}

void MainWindow::Create_airfoil_table()
{
    const QString path = User().saveFileName(tr("Save File as"), QString(), tr("Files (*.dat)"));
    Save_Airfoil_Table(path);
}

bool MainWindow::Save_Dcp_Polar(const QString& dir)
{
    if (loadCount < 1)
        return false;
    // The results for the angle as it is now, whether or not the pressure
    // tab has been shown since it changed.
    potwidget->Compute_Results();
    const DcpResults results{potwidget->EffAngle(), potwidget->CpPosition(), potwidget->AcPosition(),
                             potwidget->Cp1Position(), potwidget->Cp2Position()};
    return Write_Dcp_Polar(dir, results);
}

void MainWindow::on_dcpButton_pressed()
{
    Save_Dcp_Polar(QDir::currentPath());
}

void MainWindow::on_conmapButton_pressed()
{
    if (loadCount < 1)
        return;
    setCursor(Qt::WaitCursor);
    Perform_Conform_Map(record);
    nonliftangleEdit->setText(Zero_Lift_Text(record->zeroLiftAngle));
    setCursor(Qt::ArrowCursor);
    Repaint_All_Views();
}

void MainWindow::on_angleSlider_valueChanged(int value)
{
    incidence = value / 10.0;
    record->attackAngle = incidence;
    attangleEdit->setText(Angle_Text(incidence));
    Show_Circulation();
    Repaint_Angle_Views();
}

void MainWindow::on_angleSlider_sliderReleased()
{
    Repaint_Angle_Views();
}

void MainWindow::on_attangleEdit_editingFinished()
{
    bool ok = false;
    const float typed = attangleEdit->text().toFloat(&ok);
    const double value = std::clamp(ok ? double(typed) : 0.0, -kMaxIncidence, kMaxIncidence);
    incidence = value;
    record->attackAngle = incidence;
    Show_Circulation();
    // A slider that moves rewrites the angle with its own tenth of a degree.
    const int position = int(10 * incidence);
    angleSlider->setValue(position);
    angleSlider->setSliderPosition(position);
    Repaint_Angle_Views();
}

void MainWindow::on_tabWidget_currentChanged(int index)
{
    if (loadCount < 1)
        return;
    if (QWidget* page = tabWidget->widget(index)) {
        page->update();
        for (QWidget* view : page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            view->update();
    }
}

QMenu* MainWindow::Build_Print_Menu()
{
    auto* menu = new QMenu(this);
    const char* entries[] = {"print Conformal map", "print Stream lines", "print V polar", "print Cp polar"};
    for (int k = 0; k < 4; ++k)
        menu->addAction(tr(entries[k]), this, [this, k] { PrintSelectedPage(k); });
    return menu;
}

void MainWindow::ShowContextMenu(const QPoint& pos)
{
    QMenu* menu = Build_Print_Menu();
    Popup_Menu(menu, mapToGlobal(pos));
    menu->deleteLater();
}

bool MainWindow::Run_Print_Dialog(QPrinter* printer)
{
    return User().print(printer, tr("Print Document"));
}

void MainWindow::PrintSelectedPage(int page)
{
    QWidget* const views[] = {fftwidget, streamwidget, velocitywidget, cpwidget};
    if (page < 0 || page > 3)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setColorMode(QPrinter::GrayScale);
    if (!Run_Print_Dialog(&printer))
        return;
    const QPixmap pixmap = views[page]->grab();
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QRect target(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
    // The source has the window's size: the view lands in the upper left.
    painter.drawPixmap(target, pixmap, QRect(0, 0, width(), height()));
    painter.end();
}

void MainWindow::Print_airfoil_table()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!Run_Print_Dialog(&printer))
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    const QSizeF page = printer.pageRect(QPrinter::DevicePixel).size();
    FoilTable::Foil_Table(&painter, record, page.width() - 1, page.height() - 1);
    painter.end();
}

} // namespace aerolyx
