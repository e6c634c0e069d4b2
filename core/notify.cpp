#include "notify.h"

#include <QDebug>

namespace {
UserNotifier& installedNotifier()
{
    static UserNotifier notifier;
    return notifier;
}
} // namespace

UserNotifier Set_User_Notifier(UserNotifier notifier)
{
    UserNotifier previous = installedNotifier();
    installedNotifier() = std::move(notifier);
    return previous;
}

void Notify_User(const QString& text)
{
    const UserNotifier& notifier = installedNotifier();
    if (notifier)
        notifier(text);
    else
        qWarning().noquote() << text;
}
