#pragma once

// What a program with windows checks before it makes its application
// object: without a display Qt ends the program with a message that asks
// to reinstall it, which sends the user the wrong way.

// True when the program can open its windows: an X display that answers,
// a Wayland display, or a platform set in QT_QPA_PLATFORM that needs
// none (offscreen, vnc, ...). Otherwise false, after telling on standard
// error that a display is needed and how to start `program` (as it was
// started, argv[0]) under a virtual one.
bool Display_Available(const char* program);
