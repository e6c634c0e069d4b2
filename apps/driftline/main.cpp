#include "apps/driftline/mainwindow.h"
#include "shell/ui/widgetinteraction.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Install_Widget_Interaction();
    MainWindow window;
    window.showMaximized();
    return app.exec();
}
