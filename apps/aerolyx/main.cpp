#include "core/gslsetup.h"
#include "apps/aerolyx/ui/mainwindow.h"
#include "widgets/displaycheck.h"
#include "widgets/widgetinteraction.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (!Display_Available(argv[0]))
        return 1;
    QApplication app(argc, argv);
    Gsl_Errors_Off();
    // Its questions carry no note about the default answer.
    Install_Widget_Interaction(WidgetInteraction::QuestionNote::None);
    aerolyx::MainWindow window;
    window.showMaximized();
    return app.exec();
}
