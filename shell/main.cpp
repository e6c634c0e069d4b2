#include <QApplication>
#include <malloc.h>
#include <QScreen>
#include <QTimer>

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

    // Design records (18 MB each: the live one, an editor's backup while it
    // is shown, a file being read) are taken straight from the system and
    // given back when freed. Left to itself the allocator raises its mmap
    // threshold after the first such free and keeps later copies in the heap
    // for good.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);

    QApplication app(argc, argv);
    Install_Shell_Services();
    MainWindow window;
    // Without a window manager nothing maximizes the window: start it at
    // the size of the screen anyway.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    // Start-up builds and drops much scratch (airfoils read and resampled,
    // lists of the first picture): hand the freed heap back once it is done.
    QTimer::singleShot(2000, [] { malloc_trim(0); });
    return app.exec();
}
