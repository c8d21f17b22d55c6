#include <gtest/gtest.h>

#include "Application.h"

#include "TestSupport.h"

// One main for every test program: it either runs a registered child (a second process
// a test started) or the tests. A QApplication exists for both, as in the programs.
int main(int argc, char** argv) {
    // Tests never need a display, also when CTest lists them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    plat::Application app(argc, argv);
    int exitCode = 0;
    if (RunChildIfAsked(argc, argv, exitCode)) return exitCode;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
