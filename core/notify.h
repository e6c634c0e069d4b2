#pragma once

// How computations tell the user something: a message with one OK button,
// shown through the installed user interaction (core/userinteraction.h).

#include <QString>

void Notify_User(const QString& text);
