#include "mainwindowrunner.h"

int main(int argc, char** argv)
{
    return runMainWindowTests(argc, argv,
                              {"startUp", "termsDialogForm", "menusAndToolbar", "iconsLoad",
                               "openWithTermsRefused", "companionProgramIsAwaited", "scaledModel",
                               "scaledModelNameKeepsFolders", "saveWithoutProjectAsksForAName"});
}

#include "moc_mainwindowtests.cpp"
