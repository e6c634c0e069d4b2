#include <QApplication>
#include <QScreen>

#include "shell/mainwindow.h"
#include "shell/runguard.h"
#include "shell/shellservices.h"
#include "widgets/displaycheck.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (!Display_Available(argv[0]))
        return 1;
    // One copy per user and home folder: a second start of the same user
    // ends at once, saying why (the window it might look for can be hidden
    // or on another desktop); other users' copies run beside it.
    const QString key = userInstanceKey("..only_single_app_WLX...");
    RunGuard guard(key);
    if (!guard.tryToRun()) {
        std::fprintf(stderr, "wingloft is already running for this user and home folder: use its window.\n");
        return 0;
    }

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
