#ifndef SHELLSERVICES_H
#define SHELLSERVICES_H

// Hands the core the main program's ways of talking to the user: the message
// box for its notices and the file dialogs of the project life cycle. Also
// switches GSL's aborting error handler off. Called once at start-up.
void Install_Shell_Services();

#endif
