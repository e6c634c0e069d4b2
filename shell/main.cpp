#include <QApplication>
#include <QScreen>

#include "shell/mainwindow.h"
#include "shell/runguard.h"
#include "shell/shellservices.h"

int main(int argc, char** argv)
{
    // One copy per user and home folder: a second start of the same user
    // ends at once; other users' copies run beside it.
    const QString key = userInstanceKey("..only_single_app_WLX...");
    RunGuard guard(key);
    if (!guard.tryToRun())
        return 0;

    QApplication app(argc, argv);
    Install_Shell_Services();
    MainWindow window;
    // Without a window manager nothing maximizes the window: start it at
    // the size of the screen anyway.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}
