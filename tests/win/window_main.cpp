// The tests' entry point. With --load-failure-child the executable instead
// plays the program whose window fails to load, and with --dpi-child it
// reports the window's geometry (see those tests).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

int RunLoadFailureChild();
int RunDpiChild();

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--load-failure-child") == 0) return RunLoadFailureChild();
    if (argc == 2 && std::strcmp(argv[1], "--dpi-child") == 0) return RunDpiChild();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
