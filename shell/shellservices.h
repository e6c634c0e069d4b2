#pragma once

// The main program's start-up services, installed once in main before the
// main window exists: the widget user interaction, the recompute hooks of
// the later subsystems, and GSL's aborting error handler switched off.
void Install_Shell_Services();
