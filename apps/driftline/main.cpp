#include "apps/driftline/mainwindow.h"
#include "widgets/displaycheck.h"
#include "widgets/widgetinteraction.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!Display_Available(argv[0]))
        return 1;
    QApplication app(argc, argv);
    Install_Widget_Interaction();
    MainWindow window;
    window.showMaximized();
    return app.exec();
}
