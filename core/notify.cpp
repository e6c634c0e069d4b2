#include "core/notify.h"

#include "core/userinteraction.h"

void Notify_User(const QString& text)
{
    User().warning(QString(), text);
}
