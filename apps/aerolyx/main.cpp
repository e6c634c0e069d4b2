#include "core/gslsetup.h"
#include "apps/aerolyx/ui/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Gsl_Errors_Off();
    aerolyx::MainWindow window;
    window.showMaximized();
    return app.exec();
}
