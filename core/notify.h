#pragma once

// How core code tells the user something without depending on widgets.
// By default the text goes to the warning output; the main program installs
// a notifier that shows a modal message box.

#include <QString>

#include <functional>

using UserNotifier = std::function<void(const QString& text)>;

// Installs a notifier and returns the one it replaces. An empty function
// restores the default.
UserNotifier Set_User_Notifier(UserNotifier notifier);

// Shows the text to the user through the installed notifier.
void Notify_User(const QString& text);
