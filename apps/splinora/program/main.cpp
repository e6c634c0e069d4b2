#include <QApplication>

#include "mainwindow.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    auto* window = new splinora::MainWindow(nullptr);
    window->showMaximized();
    return app.exec();
}
