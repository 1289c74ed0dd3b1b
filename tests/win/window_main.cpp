// The tests' entry point. With --load-failure-child the executable instead
// plays the program whose window fails to load (see the load failure test).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

int RunLoadFailureChild();

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--load-failure-child") == 0) return RunLoadFailureChild();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
