#include "tests/shell/mainwindowrunner.h"

int main(int argc, char** argv)
{
    return runMainWindowTests(argc, argv, kProjectTests);
}

#include "moc_mainwindowtests.cpp"
