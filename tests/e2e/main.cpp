// The end-to-end test executable. Besides the tests it serves as the second
// process that holds the clipboard open (--hold-clipboard=NAME).
#include <windows.h>

#include <shellapi.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/clipboard_access.h"
#include "tests/e2e/program.h"

int main(int argc, char** argv) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        const std::wstring argument = arguments[i];
        const std::wstring hold = e2e::kHoldClipboardArgument;
        const std::wstring program = L"--program=";
        if (argument.starts_with(hold)) {
            const int result = e2e::HoldClipboard(argument.substr(hold.size()));
            LocalFree(arguments);
            return result;
        }
        if (argument.starts_with(program)) e2e::SetProgramPath(argument.substr(program.size()));
    }
    if (arguments != nullptr) LocalFree(arguments);

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
