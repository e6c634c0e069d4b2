#include <QApplication>

#include "apps/splinora/mainwindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    auto* window = new splinora::MainWindow(nullptr);
    window->showMaximized();
    return app.exec();
}
