#include "widgets/displaycheck.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <xcb/xcb.h>

#include <cstdio>

namespace {

// Why no window can be opened; empty when one can.
QString missingDisplay()
{
    // The platform as Qt reads it: a list tried in turn, each with options
    // after a colon.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM").split(';').first().split(':').first().trimmed();
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (platform.startsWith("wayland"))
        return wayland ? QString() : QStringLiteral("WAYLAND_DISPLAY is not set");
    if (!platform.isEmpty() && platform != "xcb")
        return QString(); // a platform without a display, or one Qt reports on itself
    if (platform.isEmpty() && wayland)
        return QString();
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("DISPLAY is not set");
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers ? QString()
                   : QStringLiteral("the X display \"%1\" that DISPLAY names does not answer")
                         .arg(QString::fromLocal8Bit(display));
}

} // namespace

bool Display_Available(const char* program)
{
    const QString why = missingDisplay();
    if (why.isEmpty())
        return true;
    const QString name = QString::fromLocal8Bit(program ? program : "");
    std::fprintf(stderr,
                 "%s needs a graphical display, and there is none: %s.\n"
                 "Start it on a desktop, or without one under a virtual display:  xvfb-run -a %s\n",
                 qPrintable(name), qPrintable(why), qPrintable(name));
    return false;
}
