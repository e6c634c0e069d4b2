#include "apps/driftline/mainwindow.h"
#include "widgets/widgetinteraction.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Install_Widget_Interaction();
    MainWindow window;
    window.showMaximized();
    return app.exec();
}
