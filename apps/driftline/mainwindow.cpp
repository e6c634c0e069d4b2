#include "apps/driftline/mainwindow.h"

#include "core/userinteraction.h"
#include <QFont>

namespace {
QString number(double v)
{
    return QString::number(v, 'g', 6);
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setupUi(this);
    // The fields over the view and their labels sit in boxes of fixed size,
    // measured for a 9-point face as wide as Arial. The window's own font
    // never reaches them (under its style sheet the children keep the
    // application's font), and the usual face of a Linux desktop is wider:
    // the labels lost their ends. So the face with Arial's metrics is named,
    // for the labels and for the view's own texts.
    const QFont face(QStringLiteral("Liberation Sans"), 9);
    ws_widget->setFont(face);
    for (QWidget *child : ws_widget->findChildren<QWidget *>())
        child->setFont(face);
    InitMainWindow();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowContextHelpButtonHint);
    setAttribute(Qt::WA_AlwaysShowToolTips);
}

void MainWindow::InitMainWindow()
{
    M = 90;
    S = 2.2;
    V0 = 1.0;
    imp_mode = false;
    imp_V = 245;
    imp_tw = 10;
    imp_maxatt = 25;
}

void MainWindow::createStatusBar()
{
}

void MainWindow::Set_Connections()
{
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The fields take their defaults once; showing the window again (after
    // it was minimised, say) keeps what the user typed.
    if (fieldsSet)
        return;
    fieldsSet = true;

    InitMainWindow();
    ws_widget->set_imp_mode(imp_mode);
    ws_widget->set_imp_V(imp_V);
    ws_widget->set_imp_tw(imp_tw);
    ws_widget->set_imp_maxatt(imp_maxatt);
    ws_widget->set_M(M);
    ws_widget->set_S(S);
    ws_widget->set_V0(V0);

    imp_checkBox->setChecked(false);
    imp_V_Edit->setText(number(imp_V));
    imp_tw_Edit->setText(number(imp_tw));
    imp_maxatt_Edit->setText(number(imp_maxatt));
    M_Edit->setText(number(M));
    S_Edit->setText(number(S));
    V0_Edit->setText(number(V0));
    update();
}

void MainWindow::on_attSlider_valueChanged(int value)
{
    const double angle = value * 0.5;
    ws_widget->set_att_angle(angle);
    attEdit->setText(number(angle));
}

void MainWindow::on_imp_checkBox_clicked()
{
    ws_widget->set_imp_mode(imp_checkBox->isChecked());
}

void MainWindow::on_M_Edit_editingFinished()
{
    ws_widget->set_M(M_Edit->text().toDouble());
}

void MainWindow::on_S_Edit_editingFinished()
{
    ws_widget->set_S(S_Edit->text().toDouble());
}

void MainWindow::on_V0_Edit_editingFinished()
{
    ws_widget->set_V0(V0_Edit->text().toDouble());
}

void MainWindow::on_imp_V_Edit_editingFinished()
{
    ws_widget->set_imp_V(imp_V_Edit->text().toDouble());
}

void MainWindow::on_imp_tw_Edit_editingFinished()
{
    ws_widget->set_imp_tw(imp_tw_Edit->text().toDouble());
}

void MainWindow::on_imp_maxatt_Edit_editingFinished()
{
    ws_widget->set_imp_maxatt(imp_maxatt_Edit->text().toDouble());
}

void MainWindow::on_actionExit_triggered()
{
    Quit();
}

void MainWindow::Quit()
{
    close();
}

void MainWindow::on_actionAbout_triggered()
{
    User().about(QStringLiteral(" About driftline-Qt4 "),
                 QStringLiteral("driftline ver. 1.0.0 \n"
                                "Wingsuit glide simulator of the wingloft programs.\n"
                                "The glide of a point mass from fixed lift and drag tables."),
                 QString(), QImage());
}
