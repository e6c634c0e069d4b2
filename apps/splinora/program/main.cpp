#include <QApplication>

#include "apps/splinora/mainwindow.h"
#include "widgets/displaycheck.h"
#include "widgets/widgetinteraction.h"

int main(int argc, char* argv[])
{
    if (!Display_Available(argv[0]))
        return 1;
    QApplication app(argc, argv);
    Install_Widget_Interaction();
    auto* window = new splinora::MainWindow(nullptr);
    window->showMaximized();
    return app.exec();
}
